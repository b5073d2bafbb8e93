#pragma once
// What the list and tree lookup dialogs share: the engine's inputs and the results it reads
// after the dialog hides, the status line under the title, the button row (Aceptar,
// Cancelar, Nueva Busqueda) and cancelling; and the helpers both use.

#include "suite/ErrorRT.h"

#include <QDialog>
#include <QStringList>
#include <QVariant>
#include <optional>

class QLabel;
class QPushButton;
class QWidget;

// Twips (the suite's unit of form sizes and saved widths) to pixels and back, on the
// screen's horizontal resolution.
int TwipsAPixeles(double twips);
double PixelesATwips(int pixeles);

namespace consulta {

inline bool contiene(const QString& texto, const QString& buscado) { return texto.contains(buscado, Qt::CaseInsensitive); }
// A field's value as the lookups show it.
QString textoCampo(const QVariant& v);
// Errors of the load sequence go to the error dialog: Retry repeats the step, Ignore goes on.
suite::Rutina rutinaConAviso(const QString& nombre);

} // namespace consulta

class DialogoConsulta : public QDialog {
    Q_OBJECT
public:
    // ---- Set by the engine; results read after the dialog hides -------------------------
    QString Sql;
    QString CampoDevuelto;
    bool CheckBoxes = false;
    QVariant ValorDevuelto;
    std::optional<QStringList> Valores;
    const QStringList* CmpsDevueltos = nullptr;

    // Controls, named as the forms name them.
    QLabel* lblEstado = nullptr;  // under the title: the filters in force, a text nothing starts with
    QWidget* picFields = nullptr;
    QWidget* Frame1 = nullptr;
    QPushButton* CmdAceptar = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* CmdNueva = nullptr;

protected:
    explicit DialogoConsulta(QWidget* parent) : QDialog(parent) {}

    void reject() override { Cancelar(); } // Escape and the close box cancel
    virtual void Aceptar() = 0;
    virtual void NuevaBusqueda() = 0;
    // Nothing chosen: the results are cleared and the dialog hides.
    void Cancelar();

    // lblEstado, hidden until it has something to say.
    void crearEstado();
    // Frame1 with Aceptar (the default button), Cancelar and Nueva Busqueda.
    void crearBotones();
    // The status line of the filters in force; empty when there are none.
    QString lineaDeFiltros() const;

    QString SqlInicial, SqlBase, SqlCola;
    QStringList filtros_;       // the F5 conditions in force, as the user wrote them
    QString sinCoincidencia_;   // typed text nothing starts with
};
