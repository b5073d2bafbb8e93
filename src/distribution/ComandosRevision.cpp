#include "distribution/ComandosRevision.h"

#include "distribution/ComandosHoja.h"
#include "distribution/EditorComun.h"
#include "distribution/GrillaLineas.h"
#include "distribution/HistorialDistribucion.h"
#include "distribution/VerificacionDistribucion.h"
#include "distribution/frmHistorial.h"
#include "distribution/frmProrrata.h"
#include "distribution/frmVerificar.h"

#include "startup/CNStuffContable.h"
#include "suite/Dialogos.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>

using namespace editor;

void ComandosRevision::Historial()
{
    if (!f.editando_ || f.codigoAbierto_.trimmed().isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<VersionTabla> versiones = HistorialDistribucion().Versiones(f.codigoAbierto_);
    QApplication::restoreOverrideCursor();
    frmHistorial d(f.codigoAbierto_, std::move(versiones), true, &f);
    if (d.exec() == QDialog::Accepted && d.elegida())
        Restaurar(*d.elegida(), d.descripcionElegida());
}

// The version's table in the form, as edits not saved: F2 saves it through the same checks,
// Cancelar drops it. The table stays the one loaded, so a save still finds out whether
// another workstation changed it meanwhile.
void ComandosRevision::Restaurar(const EstadoTabla& e, const QString& descripcion)
{
    if (!f.editando_ || !e.existe())
        return;
    if (f.HayCambios()
        && suite::MsgBox(titulo("La tabla tiene cambios sin grabar. ¿Desea reemplazarlos con la ") + descripcion + u'?',
                         suite::vbYesNo + suite::vbQuestion + suite::vbDefaultButton2, titulo("Atención"))
            != suite::vbYes)
        return;
    f.grilla_->ocultarEdicion();
    f.grilla_->olvidarEdicion();
    f.grilla_->MsFlex_Inicializa();
    f.txtFields[2]->setText(e.nombre);
    f.txtFields[1]->setText(e.concepto);
    f.ChkPideConf->setChecked(e.pideConfirmacion);
    while (f.MsFlexGrid1->rowCount() < int(e.lineas.size()))
        f.MsFlexGrid1->insertRow(f.MsFlexGrid1->rowCount());
    for (int i = 0; i < int(e.lineas.size()); ++i) {
        const auto& [centro, porcentaje] = e.lineas[size_t(i)];
        f.grilla_->fijarCelda(i, 0, numeroDeLinea(i));
        f.grilla_->fijarCelda(i, 1, centro);
        f.grilla_->fijarCelda(i, 2, f.almacen_.DescripcionCentro(centro));
        f.grilla_->fijarCelda(i, 3, FmtPorcentaje(porcentaje));
    }
    f.grilla_->actualizarTotal();
    f.hoja_->ActualizarReparto();
    f.motivo_ = {QStringLiteral("RESTAURAR"), descripcion};
    f.SSTab1->setCurrentIndex(0);
    f.MsFlexGrid1->setFocus();
}

void ComandosRevision::Verificar()
{
    std::vector<Hallazgo> hallazgos;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool completa = VerificacionDistribucion().Verificar(hallazgos);
    QApplication::restoreOverrideCursor();
    frmVerificar d(std::move(hallazgos), completa, &f);
    if (d.exec() == QDialog::Accepted && !d.tablaElegida().isEmpty())
        AbrirTabla(d.tablaElegida());
}

void ComandosRevision::AbrirTabla(const QString& codigo)
{
    if (f.editando_ && AlmacenDistribucion::Codigo(codigo) == f.codigoAbierto_)
        return; // already open, with whatever edits it has
    f.txtFields[0]->setText(codigo.trimmed());
    f.txtFields[0]->setFocus();
    f.teclaDeCampo(f.txtFields[0], Qt::Key_Return);
}
