#include "distribution/PaginaCuentas.h"

#include "distribution/EditorComun.h"
#include "distribution/GrillaLineas.h"
#include "distribution/ModeloCuentas.h"
#include "distribution/frmProrrata.h"

#include "suite/Dialogos.h"
#include "suite/SuiteUtil.h"
#include "toolbar/UtilVela.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

using namespace editor;

// Page 1: the accounts assigned to the table.
QWidget* PaginaCuentas::construirPaginaCuentas()
{
    auto* pagina1 = new QWidget;
    auto* capa1 = new QGridLayout(pagina1);
    auto* encabezado1 = new QLabel(titulo("     Asignación en el Plan de Cuentas"), pagina1);
    encabezado1->setStyleSheet(QStringLiteral("font-weight: bold;"));
    capa1->addWidget(encabezado1, 0, 0, 1, 4);
    capa1->addWidget(f.etiqueta("Cuenta....:", f.txtFields[3]), 1, 0);
    f.txtFields[3]->setFixedWidth(160);
    capa1->addWidget(f.txtFields[3], 1, 1);
    lblCuenta = new QLabel(QStringLiteral("..."), pagina1);
    capa1->addWidget(lblCuenta, 1, 2);
    cmdAgregar = new QPushButton(titulo("Agregar la Cuenta Seleccionada"), pagina1);
    cmdQuitar = new QPushButton(titulo("Quitar la Cuenta Selecconada"), pagina1);
    chkMultiple = new QCheckBox(titulo("Ingreso múltiple"), pagina1);
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdAgregar);
    botones->addWidget(cmdQuitar);
    botones->addSpacing(12);
    botones->addWidget(chkMultiple);
    botones->addStretch(1);
    capa1->addLayout(botones, 2, 1, 1, 2);
    ListView1 = new QTreeView(pagina1);
    mdlCuentas = new ModeloCuentas(ListView1);
    ListView1->setModel(mdlCuentas);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true); // rows are measured once, not 100,000 times
    ListView1->setSortingEnabled(false);
    ListView1->setAlternatingRowColors(true);
    ListView1->header()->setSectionsClickable(true);
    capa1->addWidget(ListView1, 3, 0, 1, 3);
    capa1->setColumnStretch(2, 1);
    return pagina1;
}

void PaginaCuentas::ordenarPor(int columna)
{
    ordenAscendente_ = columna == ordenColumna_ ? !ordenAscendente_ : true;
    ordenColumna_ = columna;
    mdlCuentas->sort(columna, ordenAscendente_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void PaginaCuentas::Agregar()
{
    f.ControlActual = f.txtFields[3];
    f.ValidarCampo(f.txtFields[3]);
    if (f.HayError)
        return;
    f.almacen_.Asignar(f.txtFields[3]->text(), f.txtFields[0]->text());
    mdlCuentas->agregar({{f.txtFields[3]->text(), lblCuenta->text().trimmed()}});
    f.txtFields[3]->clear();
    lblCuenta->setText(QStringLiteral("..."));
    f.txtFields[3]->setFocus();
}

// Accounts chosen together: each is checked as if typed (a refused one says why and is left
// out), then all those that pass are assigned in one transaction, or none.
void PaginaCuentas::AgregarVarias(const QStringList& elegidas)
{
    f.ControlActual = f.txtFields[3];
    QStringList cuentas;
    std::vector<ModeloCuentas::Cuenta> filas;
    f.setUpdatesEnabled(false); // one repaint at the end, not one per account
    for (const QString& elegida : elegidas) {
        f.txtFields[3]->setText(elegida.trimmed());
        f.ValidarCampo(f.txtFields[3]);
        if (f.HayError)
            continue;
        cuentas << f.txtFields[3]->text();
        filas.emplace_back(f.txtFields[3]->text(), lblCuenta->text().trimmed());
    }
    f.setUpdatesEnabled(true);
    if (!cuentas.isEmpty() && f.almacen_.AsignarVarias(cuentas, f.txtFields[0]->text()))
        mdlCuentas->agregar(std::move(filas));
    f.txtFields[3]->clear();
    lblCuenta->setText(QStringLiteral("..."));
    f.txtFields[3]->setFocus();
}

void PaginaCuentas::Quitar()
{
    const QModelIndex fila = ListView1->currentIndex();
    if (mdlCuentas->rowCount() == 0 || !fila.isValid())
        return;
    const QString cuenta = mdlCuentas->cuenta(fila.row()).first;
    if (cuenta.trimmed().isEmpty())
        return;
    const QString pregunta = titulo("Está seguro de quitar la cuenta (") + cuenta
        + titulo(") de la tabla de distribución de Centros de Costos código: ") + f.Codigo() + QStringLiteral(" ? ");
    if (suite::MsgBox(pregunta, suite::vbQuestion + suite::vbYesNo, titulo("Atención")) != suite::vbYes)
        return;
    f.almacen_.Desasignar(cuenta);
    mdlCuentas->quitar(fila.row());
}

void PaginaCuentas::cambioDePagina(int pagina)
{
    if (f.cambiandoPagina_)
        return;
    suite::Rutina r([](const suite::ErrorRT&) { return suite::Rutina::Seguir; });
    r([&] {
        if (pagina == 0) {
            f.UtilVela1->GrabarEnabled(true);
            f.paginaAnterior_ = 0;
            return;
        }
        // Accounts are stored as they are assigned, so the table they go to is saved first, with
        // any edit still unsaved: a later Cancelar would otherwise drop the edit and keep them.
        // On a table opened from the store, a cell being edited is confirmed first (before the
        // query below lets its focus change be handled): one that does not pass keeps the lines
        // in front. A new table's edit is confirmed by the save it is asked for.
        const bool abiertaGrabada = !f.abiertaNueva_ && f.Codigo() == f.codigoAbierto_;
        if (abiertaGrabada && !f.grilla_->confirmarEdicion()) {
            f.cambiandoPagina_ = true;
            f.SSTab1->setCurrentIndex(0);
            f.cambiandoPagina_ = false;
            f.txtEdit->setFocus(); // the edit is not left again: its message is not repeated
            return;
        }
        const bool grabada = f.almacen_.TablaGrabada(f.txtFields[0]->text());
        if (!grabada || f.HayCambios()) {
            const QString motivo = grabada
                ? titulo("La Tabla de Distribución tiene cambios sin grabar y las cuentas se asignan en el momento.")
                : titulo("No se puede realizar la asignación de Cuentas sin haber grabado la Tabla de Distribución.");
            const QString pregunta = motivo + QStringLiteral("\n") + titulo("¿Desea guardar la información en este momento?");
            const bool guardar = suite::MsgBox(pregunta, suite::vbQuestion + suite::vbYesNo, titulo("Atención")) == suite::vbYes;
            if (guardar) {
                // The same checks as the save command: the lines as they will be stored.
                f.Validando = true;
                if (f.grilla_->confirmarEdicion() && f.ValidarTodo()) {
                    f.Grabar();
                    if (!f.HayError)
                        f.recordarAbierta(false);
                } else {
                    f.HayError = true;
                }
                f.Validando = false;
            }
            if (!guardar || f.HayError) {
                // Accounts go only to a saved table: back to the lines, with Grabar on.
                f.cambiandoPagina_ = true;
                f.SSTab1->setCurrentIndex(0);
                f.cambiandoPagina_ = false;
                f.UtilVela1->GrabarEnabled(true);
                return;
            }
        }
        f.UtilVela1->GrabarEnabled(false);
        f.txtFields[3]->setFocus();
        f.paginaAnterior_ = 1;
    });
}
