// The signed-on user's defaults and the access log.
#include "startup/CNStuffContable.h"

#include "suite/Equipo.h"
#include "suite/Reloj.h"
#include "suite/SuiteUtil.h"

bool gEscribeSoloMayusculas = false;
bool gBloqueoActivo = false;
QString gPeriodo;
QString gUNegocio;

namespace {
bool esSi(const QString& v) { return v.trimmed().compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0; }
} // namespace

void IniContable()
{
    QString aux;
    suite::Rutina r = suite::Rutina::conDialogoError(QStringLiteral("IniContable"));
    r([&] { gEscribeSoloMayusculas = esSi(Cfg(QStringLiteral("ESCRIBE_SOLO_MAYUSCULAS"), aux)); })
     ([&] { gBloqueoActivo = esSi(Cfg(QStringLiteral("SS_BloqueoActivo"), aux)); })
     ([&] { gPeriodo = Cfg(QStringLiteral("PERIODO"), aux); })
     ([&] {
         const QVariant u = gDB.DatosTabla(QStringLiteral("ta_usuarios"), gUsuarioLogeado, QStringLiteral("UNegocio"),
                                           QStringLiteral("nombre"), 8);
         gUNegocio = suite::FormatoCodigo(suite::TextoVariant(suite::SinNulo(u)), 4);
     })
     ([&] { gConfidencialidad = esSi(Cfg(QStringLiteral("SS_CONFIDENCIALIDAD"), aux)); })
     ([&] {
         if (gUNegocio.trimmed().isEmpty())
             gUNegocio = QStringLiteral("   1");
     });
}

void ControlAcceso(const QString& formulario)
{
    suite::Rutina r([](const suite::ErrorRT&) { return suite::Rutina::Seguir; });
    ado::Recordset rs;
    QString tarea;
    const QString programa = NombreEjecutable();
    r([&] {
        if (gUsuarioLogeado.isEmpty())
            gUsuarioLogeado = gDB.gUsuario;
    })
     ([&] {
         // The user's name has its quotes doubled: a name like O'Brien finds its tasks.
         QString s = QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre ")
             + QStringLiteral(" FROM TA_TAREAS INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave ")
             + QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + QString(gUsuarioLogeado).replace(u'\'', QStringLiteral("''"))
             + QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") + programa + QStringLiteral("%')");
         gDB.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
     })
     ([&] {
         if (rs.State() == ado::adStateOpen && !rs.EOF_())
             tarea = suite::TextoVariant(suite::SinNulo(rs.Fields(QStringLiteral("Nombre")).Value()));
         else if (programa.compare(QLatin1String("CN000PR"), Qt::CaseInsensitive) == 0)
             tarea = QStringLiteral("Menu Principal");
     })
     ([&] { gDB.CierraRecordset(&rs); })
     ([&] { rs.Open(QStringLiteral("Select top 1 * from Control_Acceso"), &gDB.gCnn, ado::adOpenDynamic, ado::adLockOptimistic); })
     ([&] { rs.AddNew(); })
     ([&] { rs.Fields(QStringLiteral("Maquina")) = suite::NombreEquipo().trimmed().toUpper(); })
     ([&] { rs.Fields(QStringLiteral("Usuario")) = suite::NombreUsuarioWindows().trimmed().toUpper(); })
     ([&] { rs.Fields(QStringLiteral("Formulario")) = formulario.trimmed().toUpper(); })
     ([&] { rs.Fields(QStringLiteral("Tarea")) = tarea.trimmed().toUpper(); })
     ([&] { rs.Fields(QStringLiteral("Ingreso")) = FormatoSuite(suite::Ahora(), FormatoFecha() + u' ' + FormatoHora()); })
     ([&] { rs.Fields(QStringLiteral("NombreUsuario")) = gUsuarioLogeado; })
     ([&] { rs.Update(); })
     ([&] {
         if (rs.State() != ado::adStateClosed)
             rs.Close();
     });
}

void ReiniciarCNStuffContable()
{
    gClavePuesto.clear();
    gFlatToolbars = false;
    gParametroAdicional.clear();
    gMenu.clear();
    gCaja.clear();
    gDSN.clear();
    gValoresConsulta = ValoresConsulta();
    gTablaConfiguracion.clear();
    gEstadisticas.Reiniciar();
    gTimeOut = 45;
    gEscribeSoloMayusculas = false;
    gBloqueoActivo = false;
    gPeriodo.clear();
    gUNegocio.clear();
}
