#include "distribution/ComandosHoja.h"

#include "distribution/ArchivoCsv.h"

#include "distribution/EditorComun.h"
#include "distribution/GrillaLineas.h"
#include "distribution/PlanillaCsv.h"
#include "distribution/Reparto.h"
#include "distribution/frmProrrata.h"

#include "startup/CNStuffContable.h"
#include "suite/DialogoArchivo.h"
#include "suite/Dialogos.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <array>

using namespace editor;

// The amount typed split among the lines with a cost centre, in the currency format; what a
// table below 100 % leaves is shown apart. Nothing of it is stored.
void ComandosHoja::ActualizarReparto()
{
    const suite::Regional& r = suite::RegionalActual();
    const QString texto = f.txtImporte->text().trimmed();
    f.MsFlexGrid1->setColumnHidden(frmProrrata::ColImporte, texto.isEmpty());
    for (int fila = 0; fila < f.MsFlexGrid1->rowCount(); ++fila)
        if (f.MsFlexGrid1->item(fila, frmProrrata::ColImporte))
            f.grilla_->fijarCelda(fila, frmProrrata::ColImporte, QString());
    f.lblSinDistribuir->clear();
    if (texto.isEmpty())
        return;
    const auto importe = suite::Moneda::leer(texto, r.decimal, r.miles);
    if (!importe) {
        f.lblSinDistribuir->setText(titulo("El importe no es un número"));
        return;
    }
    std::vector<int> filas;
    std::vector<suite::Moneda> porcentajes;
    for (int fila = 0; fila < f.MsFlexGrid1->rowCount(); ++fila)
        if (!f.grilla_->celda(fila, 1).trimmed().isEmpty()) {
            filas.push_back(fila);
            porcentajes.push_back(suite::ValorNumerico(f.grilla_->celda(fila, 3)));
        }
    const auto reparto = RepartirImporte(*importe, porcentajes, r.digitos);
    if (!reparto) {
        f.lblSinDistribuir->setText(titulo("Los porcentajes superan el 100 %: no se reparte"));
        return;
    }
    const auto moneda = [&](suite::Moneda m) {
        bool miles = true;
        short ancho = 0;
        return FmtMoneda(m.texto(r.decimal), 0, miles, ancho);
    };
    for (size_t i = 0; i < filas.size(); ++i)
        f.grilla_->fijarCelda(filas[i], frmProrrata::ColImporte, moneda(reparto->importes[i]));
    f.lblSinDistribuir->setText(titulo("Sin distribuir: ") + moneda(reparto->sinDistribuir));
}

// Enter in the amount: written in the currency format, and back to the lines.
void ComandosHoja::confirmarImporte()
{
    const suite::Regional& r = suite::RegionalActual();
    const QString texto = f.txtImporte->text().trimmed();
    if (!texto.isEmpty()) {
        const auto importe = suite::Moneda::leer(texto, r.decimal, r.miles);
        if (!importe) {
            f.error(titulo("Debe ingresar un importe numérico"));
            f.txtImporte->setFocus();
            f.txtImporte->selectAll();
            return;
        }
        bool miles = true;
        short ancho = 0;
        f.txtImporte->setText(FmtMoneda(importe->texto(r.decimal), 0, miles, ancho));
    }
    f.MsFlexGrid1->setFocus();
}

// A new table with the open one's name, concept, flag and lines under the next free code,
// in editing and not saved. The accounts stay with their table.
void ComandosHoja::Copiar()
{
    if (!f.editando_ || !f.grilla_->confirmarEdicion())
        return;
    const QString origen = f.codigoAbierto_.trimmed();
    if (f.HayCambios()) {
        const QString pregunta = titulo("La tabla ") + origen + titulo(" tiene cambios sin grabar. La copia los lleva; la tabla ")
            + origen + titulo(" queda como está grabada.") + QStringLiteral("\n") + titulo("¿Desea copiarla?");
        if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbQuestion, titulo("Atención")) != suite::vbYes)
            return;
    }
    const QString nuevo = f.almacen_.SiguienteCodigo();
    if (nuevo.isEmpty()) {
        f.error(titulo("No queda ningún código libre de cuatro dígitos para la copia."));
        return;
    }
    const QString nombre = f.txtFields[2]->text(), concepto = f.txtFields[1]->text();
    const bool pide = f.ChkPideConf->isChecked();
    std::vector<std::array<QString, 3>> lineas;
    for (int fila = 0; fila < f.MsFlexGrid1->rowCount(); ++fila)
        if (!f.grilla_->celda(fila, 1).trimmed().isEmpty() || !f.grilla_->celda(fila, 3).trimmed().isEmpty())
            lineas.push_back({f.grilla_->celda(fila, 1), f.grilla_->celda(fila, 2), f.grilla_->celda(fila, 3)});

    f.Limpiar();
    f.txtFields[0]->setText(nuevo);
    f.ModoEdicion(true);
    f.recordarAbierta(true); // an empty new table: the copied lines are changes not yet saved
    f.motivo_ = {QStringLiteral("COPIAR"), titulo("copia de la tabla ") + origen};
    f.txtFields[2]->setText(nombre);
    f.txtFields[1]->setText(concepto);
    f.ChkPideConf->setChecked(pide);
    while (f.MsFlexGrid1->rowCount() < int(lineas.size()))
        f.MsFlexGrid1->insertRow(f.MsFlexGrid1->rowCount());
    for (int i = 0; i < int(lineas.size()); ++i)
        for (int c = 0; c < 3; ++c)
            f.grilla_->fijarCelda(i, c + 1, lineas[size_t(i)][size_t(c)]);
    f.grilla_->actualizarTotal();
    f.txtFields[2]->setFocus();
    f.txtFields[2]->selectAll();
}


// The open table (when the user says so) or every table, as stored, to a CSV file.
void ComandosHoja::Exportar()
{
    QString codigo;
    if (f.editando_ && !f.abiertaNueva_ && !f.codigoAbierto_.trimmed().isEmpty()) {
        QString pregunta = titulo("¿Desea exportar sólo la tabla Código: ") + f.codigoAbierto_.trimmed() + QStringLiteral("?\n\n")
            + titulo("Sí: sólo esta tabla.") + QStringLiteral("\n") + titulo("No: todas las tablas.");
        if (f.HayCambios())
            pregunta += QStringLiteral("\n\n") + titulo("Se exporta lo grabado: los cambios sin grabar no se incluyen.");
        const int r = suite::MsgBox(pregunta, suite::vbYesNoCancel + suite::vbQuestion, titulo("Exportar a planilla"));
        if (r != suite::vbYes && r != suite::vbNo)
            return;
        if (r == suite::vbYes)
            codigo = f.codigoAbierto_;
    }
    const std::vector<planilla::TablaPlanilla> tablas = f.almacen_.TablasParaPlanilla(codigo);
    if (tablas.empty()) {
        suite::MsgBox(titulo("No hay tablas de distribución grabadas para exportar."), suite::vbInformation,
                      QStringLiteral("Aviso al Usuario"));
        return;
    }
    const auto ruta = archivo_csv::PedirRuta(titulo("Exportar a planilla CSV"),
                                             codigo.isEmpty() ? QStringLiteral("tablas_distribucion.csv")
                                                              : QStringLiteral("tabla_distribucion_") + codigo.trimmed() + QStringLiteral(".csv"));
    if (!ruta || !archivo_csv::Escribir(*ruta, planilla::Escribir(tablas, suite::RegionalActual().decimal)))
        return;
    size_t lineas = 0;
    for (const planilla::TablaPlanilla& t : tablas)
        lineas += t.lineas.size();
    suite::MsgBox(QStringLiteral("Se exportaron %1 y %2 a\n").arg(tablas.size() == 1 ? titulo("1 tabla") : QStringLiteral("%1 tablas").arg(tablas.size()),
                                                                   lineas == 1 ? titulo("1 línea") : titulo("%1 líneas").arg(lineas))
                      + QDir::toNativeSeparators(*ruta),
                  suite::vbInformation, QStringLiteral("Aviso al Usuario"));
}

// Tables from a CSV file: every row checked first, every fault listed in one message; then,
// confirmed, all saved in one transaction, or none.
void ComandosHoja::Importar()
{
    if (f.editando_)
        return;
    suite::DialogoArchivo d;
    d.TituloDialogo = titulo("Importar tablas desde una planilla CSV");
    d.Filtro = QStringLiteral("Planillas CSV|*.csv|Todos los archivos|*");
    d.MostrarAbrir();
    if (d.Cancelado || d.NombreArchivo.trimmed().isEmpty())
        return;
    const QString ruta = QDir::toNativeSeparators(d.NombreArchivo);
    constexpr qint64 Maximo = 64 * 1024 * 1024;
    QFile archivo(d.NombreArchivo);
    if (!archivo.open(QIODevice::ReadOnly)) {
        suite::MsgBox(titulo("No se pudo abrir el archivo ") + ruta + QStringLiteral(":\n") + archivo.errorString(), suite::vbCritical,
                      titulo("ATENCIÓN"));
        return;
    }
    if (archivo.size() > Maximo) {
        suite::MsgBox(titulo("El archivo ") + ruta + titulo(" es demasiado grande para una planilla de tablas (más de 64 MB)."),
                      suite::vbExclamation, QStringLiteral("Aviso al Operador"));
        return;
    }
    const QByteArray contenido = archivo.readAll();
    const QSet<QString> centros = f.almacen_.Centros();
    const planilla::Lectura lectura =
        planilla::Leer(contenido, [&](const QString& c) { return centros.contains(c.trimmed().toUpper()); });
    if (!lectura.errores.isEmpty()) {
        suite::MsgBox(planilla::MensajeErrores(lectura.errores), suite::vbExclamation, QStringLiteral("Aviso al Operador"));
        return;
    }
    const QSet<QString> existentes = f.almacen_.CodigosExistentes();
    QStringList reemplazadas;
    for (const planilla::TablaPlanilla& t : lectura.tablas)
        if (existentes.contains(AlmacenDistribucion::Codigo(t.codigo).toUpper()))
            reemplazadas << t.codigo;
    const QString cuantas = (lectura.tablas.size() == 1 ? titulo("1 tabla") : QStringLiteral("%1 tablas").arg(lectura.tablas.size()))
        + QStringLiteral(" con ") + (lectura.filas == 1 ? titulo("1 línea") : titulo("%1 líneas").arg(lectura.filas));
    QString pregunta = titulo("Se importarán ") + cuantas + titulo(" del archivo ") + ruta + QStringLiteral(".");
    if (!reemplazadas.isEmpty()) {
        constexpr int Nombradas = 20;
        QString lista = reemplazadas.mid(0, Nombradas).join(QStringLiteral(", "));
        if (reemplazadas.size() > Nombradas)
            lista += titulo(" y %1 más").arg(reemplazadas.size() - Nombradas);
        pregunta += QStringLiteral("\n") + titulo("Reemplazarán las líneas de las tablas que ya existen: ") + lista
            + titulo(" (sus cuentas asignadas se conservan).");
    }
    pregunta += QStringLiteral("\n") + titulo("¿Confirma?");
    if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbQuestion, titulo("Atención")) != suite::vbYes)
        return;
    if (f.almacen_.GrabarTablas(lectura.tablas, {QStringLiteral("IMPORTAR"), titulo("planilla ") + QFileInfo(ruta).fileName()}))
        suite::MsgBox(titulo("Se importaron ") + cuantas + QStringLiteral("."), suite::vbInformation, QStringLiteral("Aviso al Usuario"));
}

