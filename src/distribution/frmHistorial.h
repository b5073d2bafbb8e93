#pragma once
// The versions of one distribution table, newest first, with what each changed. "Restaurar"
// hands back the table as the chosen version left it, "Restaurar anterior" as it was before
// (the only way back from a delete).

#include "distribution/HistorialDistribucion.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

class frmHistorial : public QDialog {
    Q_OBJECT
public:
    frmHistorial(const QString& codigo, std::vector<VersionTabla> versiones, bool puedeRestaurar, QWidget* parent = nullptr);

    // The table chosen to restore (the dialog accepted), else none; and how to name it.
    const EstadoTabla* elegida() const { return elegida_; }
    QString descripcionElegida() const { return descripcion_; }

    QTreeWidget* lstVersiones = nullptr;
    QTreeWidget* lstCambios = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdRestaurar = nullptr;
    QPushButton* cmdAnterior = nullptr;
    QPushButton* cmdCerrar = nullptr;

private:
    void mostrarVersion();
    const VersionTabla* actual() const;

    std::vector<VersionTabla> versiones_;
    bool puedeRestaurar_;
    const EstadoTabla* elegida_ = nullptr;
    QString descripcion_;
};
