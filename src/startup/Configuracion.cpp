// Configuration values of the company and statistics databases.
#include "startup/CNStuffContable.h"

#include "suite/SuiteUtil.h"

QString gTablaConfiguracion;
DB_Dll gEstadisticas;
short gTimeOut = 45;

namespace {

QString tablaConfiguracion()
{
    if (gTablaConfiguracion.trimmed().isEmpty())
        gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    return gTablaConfiguracion;
}

// Value and auxiliary value of the first row, or " " and "" without one.
void leerValor(DB_Dll& db, ado::Recordset& rs, QString& resultado, QString& valorAux)
{
    if (rs.State() != ado::adStateOpen || rs.EOF_()) {
        resultado = QStringLiteral(" ");
        valorAux.clear();
        return;
    }
    resultado = suite::TextoVariant(suite::SinNulo(rs.Fields(QStringLiteral("Valor")).Value()));
    valorAux = suite::TextoVariant(suite::SinNulo(rs.Fields(QStringLiteral("ValorAux")).Value()));
    (void)db;
}

// A key as a literal's text: its quotes doubled.
QString literal(const QString& clave) { return QString(clave).replace(u'\'', QStringLiteral("''")); }

} // namespace

QString Cfg(const QString& clave, QString& valorAux)
{
    QString s = QStringLiteral("SELECT VALOR, valoraux FROM ") + tablaConfiguracion() + QStringLiteral(" WHERE CLAVE = '")
        + literal(clave.trimmed()) + QStringLiteral("'");
    if (clave.trimmed().compare(QLatin1String("[FECHA HASTA]"), Qt::CaseInsensitive) == 0
        || clave.trimmed().compare(QLatin1String("[FECHA DESDE]"), Qt::CaseInsensitive) == 0)
        s = s.toUpper();
    QString resultado;
    ado::Recordset rs;
    suite::Rutina r([](const suite::ErrorRT& e) {
        return suite::DialogoError(e, std::nullopt, QStringLiteral("Cfg")) == suite::vbIgnore ? suite::Rutina::Seguir
                                                                                               : int(suite::vbCancel);
    });
    r([&] { gDB.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly); })
     ([&] { leerValor(gDB, rs, resultado, valorAux); })
     ([&] { gDB.CierraRecordset(&rs); });
    return r.abandonada() ? QString() : resultado;
}

QString CfgVL(const QString& clave, QString& valorAux)
{
    QString s = QStringLiteral("SELECT VALOR, valoraux FROM ") + tablaConfiguracion()
        + QStringLiteral(" with(nolock)  WHERE CLAVE = '") + literal(clave) + QStringLiteral("'");
    QString resultado;
    ado::Recordset rs;
    suite::Rutina r([](const suite::ErrorRT& e) {
        return AvisoError(e, std::nullopt, QStringLiteral("CfgVL")) == suite::vbIgnore ? suite::Rutina::Seguir
                                                                                       : int(suite::vbCancel);
    });
    r([&] { gEstadisticas.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly); })
     ([&] { leerValor(gEstadisticas, rs, resultado, valorAux); })
     ([&] {
         if (clave.trimmed().compare(QLatin1String("THEME"), Qt::CaseInsensitive) == 0 && resultado.trimmed().isEmpty())
             resultado = QStringLiteral("1");
     })
     ([&] { gEstadisticas.CierraRecordset(&rs); });
    if (r.abandonada()) {
        if (rs.State() != ado::adStateClosed)
            gEstadisticas.CierraRecordset(&rs);
        return QString();
    }
    return resultado;
}

void GrabaCfgVL(const QString& clave, const QVariant& valor, const QString& valorAux, bool politicaNegocio,
                const QString& grupo, bool recortar)
{
    ado::Recordset rs;
    suite::Rutina r([](const suite::ErrorRT&) { return suite::Rutina::Seguir; });
    r([&] {
        rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = '") + literal(clave) + QStringLiteral("'"),
                &gEstadisticas.gCnn, ado::adOpenDynamic, ado::adLockOptimistic);
    })
     ([&] {
         if (rs.EOF_())
             rs.AddNew();
         else
             rs.MoveFirst();
     })
     ([&] { rs.Fields(QStringLiteral("Grupo")) = suite::SinNulo(grupo); })
     ([&] { rs.Fields(QStringLiteral("Clave")) = suite::SinNulo(clave.trimmed().toUpper()); })
     ([&] {
         QVariant v = suite::SinNulo(valor);
         if (recortar)
             v = suite::TextoVariant(v).trimmed();
         rs.Fields(QStringLiteral("Valor")) = v;
     })
     ([&] { rs.Fields(QStringLiteral("PoliticaNegocio")) = suite::SinNulo(politicaNegocio); })
     ([&] {
         if (!valorAux.trimmed().isEmpty())
             rs.Fields(QStringLiteral("valoraux")) = valorAux.trimmed();
     })
     ([&] { rs.Update(); })
     ([&] { rs.Close(); });
}

void ConectarEstadisticas()
{
    suite::Rutina r([](const suite::ErrorRT&) { return suite::Rutina::Seguir; });
    const QString base = QStringLiteral("VL_ESTADISTICAS");
    bool abierta = false;
    r([&] { gTimeOut = 45; })
     ([&] {
         if (gEstadisticas.gCnn.State() == ado::adStateOpen)
             gEstadisticas.gCnn.Close();
     })
     ([&] {
         gEstadisticas.gProveedor = DB_Dll::pSQLOLEDB;
         gEstadisticas.gServidor = gDB.gServidor;
         gEstadisticas.gDBName = gEstadisticas.gUsuario = gEstadisticas.gUserPassWord = base;
     })
     ([&] { gEstadisticas.OpenServerADODB(false, 3, QString(), true, false); })
     ([&] { abierta = gEstadisticas.gOpenFlag && gEstadisticas.gCnn.State() == ado::adStateOpen; });
    if (abierta) {
        r([&] { gEstadisticas.gCnn.DefaultDatabase(base); })
         ([&] {
             QString aux;
             gTimeOut = short(suite::ValorNumerico(CfgVL(QStringLiteral("TimeOut"), aux)).redondear(0).unidades()
                              / suite::Moneda::Escala);
         })
         ([&] {
             if (gTimeOut == 0)
                 GrabaCfgVL(QStringLiteral("TimeOut"), int(gTimeOut), QString(), false, QStringLiteral("BaseDeDatos"), true);
         });
    }
    r([&] {
        if (gTimeOut == 0)
            gTimeOut = 45;
    });
}
