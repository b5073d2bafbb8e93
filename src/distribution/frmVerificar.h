#pragma once
// The findings of the consistency check in one list, sortable, exported to CSV or printed; a
// double click (or Enter) on one opens its table in the editor.

#include "distribution/VerificacionDistribucion.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTreeWidget;

class frmVerificar : public QDialog {
    Q_OBJECT
public:
    static inline const QString Titulo = QStringLiteral("Verificación de las Tablas de Distribución");

    frmVerificar(std::vector<Hallazgo> hallazgos, bool completa, QWidget* parent = nullptr);

    // The code of the table chosen to open (the dialog accepted), else empty.
    QString tablaElegida() const { return elegida_; }

    // The list as it is sorted now, as CSV (header and rows) or printed on a device.
    QByteArray Csv() const;
    void Imprimir(QPagedPaintDevice& dispositivo) const;
    void Exportar();

    QTreeWidget* lstHallazgos = nullptr;
    QLabel* lblResumen = nullptr;
    QPushButton* cmdAbrir = nullptr;
    QPushButton* cmdExportar = nullptr;
    QPushButton* cmdImprimir = nullptr;
    QPushButton* cmdCerrar = nullptr;

private:
    std::vector<QStringList> filas() const;
    void abrir();

    QString resumen_;
    QString elegida_;
};
