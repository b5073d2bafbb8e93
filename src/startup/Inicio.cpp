// Start-up from the suite's command line, and starting other programs of the suite.
#include "startup/CNStuffContable.h"

#include "suite/Dialogos.h"
#include "suite/Equipo.h"
#include "suite/Ini.h"
#include "suite/Reportes.h"
#include "suite/SuiteUtil.h"

#include <QProcess>

QString gClavePuesto;
bool gFlatToolbars = false;
QString gParametroAdicional;
QString gMenu;
QString gCaja;
QString gDSN;
ValoresConsulta gValoresConsulta;

void IniciarSesion(const QString& linea)
{
    const QString carpeta = CarpetaAplicacion();
    // Error 5 (a value cut short) and 3265 without a database error go on; any other error
    // ends the start-up silently.
    suite::Rutina r([](const suite::ErrorRT& e) {
        if (e.Number == 5 || (e.Number == 3265 && gDB.gCnn.Errors().Count() == 0))
            return suite::Rutina::Seguir;
        return int(suite::vbCancel);
    });
    r([&] { gClavePuesto = suite::NombreEquipo().toUpper() + u'|' + suite::NombreUsuarioWindows().toUpper(); })
     ([&] {
         const QString plano = suite::LeerIni(QStringLiteral("CN000p.INI"), gClavePuesto, QStringLiteral("FlatToolbars"),
                                              QStringLiteral("1"));
         gFlatToolbars = suite::ValorNumerico(plano) != suite::Moneda();
     });

    if (!gDB.gOpenFlag) {
        QString servidor, base, usuario, usuarioLogeado;
        r([&] { gParametroAdicional = ValorToken(linea, QStringLiteral("@ParametroAdicional")); })
         ([&] { gMenu = ValorToken(linea, QStringLiteral("@Menu")); })
         ([&] { servidor = ValorToken(linea, QStringLiteral("@Server")); })
         ([&] { base = ValorToken(linea, QStringLiteral("@DbName")); })
         ([&] { usuario = ValorToken(linea, QStringLiteral("@Usuario")); })
         ([&] { usuarioLogeado = ValorToken(linea, QStringLiteral("@UsuarioLogeado")); })
         ([&] { gUsuarioLogeado = usuarioLogeado.isEmpty() ? usuario : usuarioLogeado; })
         ([&] { gCaja = ValorToken(linea, QStringLiteral("@Caja")); })
         ([&] { gDB.gUsuario = base; })
         ([&] { gDB.gDBName = base; })
         ([&] { gDB.gUserPassWord = base; })
         ([&] { gDB.gServidor = servidor; })
         ([&] {
             gDB.OpenServerADODB(false, 3, QString(), true, true);
             if (!gDB.gOpenFlag)
                 suite::TerminarPrograma(suite::SalidaSinConexion);
         })
         ([&] { gDB.gCnn.CommandTimeout(360); })
         ([&] { gDB.gCnn.DefaultDatabase(gDB.gDBName); });
    }
    r([&] { gDSN = QStringLiteral("DSN=") + gDB.gDBName + QStringLiteral("; UID=") + gDB.gUsuario + QStringLiteral("; PWD=")
                   + gDB.gUserPassWord; })
     ([&] { suite::CarpetaReportes(carpeta); })
     ([&] {
         gValoresConsulta.gConnString = gDB.gConnString;
         gValoresConsulta.gUsarMascarasConsultas = true;
         gValoresConsulta.gRutaMascaraConsultas = carpeta + QStringLiteral("consultas.vlx");
     })
     ([&] { IniContable(); })
     ([&] { ControlAcceso(QString()); })
     ([&] { ConectarEstadisticas(); });
}

QString ArgumentosPrograma(const QString& ParametroAdicional)
{
    return QStringLiteral(" ; @server=") + gDB.gServidor + QStringLiteral("; @dbname=") + gDB.gDBName
        + QStringLiteral("; @usuario=") + gDB.gUsuario + QStringLiteral("; @Password=") + gDB.gUserPassWord
        + QStringLiteral("; @ParametroAdicional=") + ParametroAdicional + QStringLiteral("; orbe@ ;");
}

void EjecutarPrograma(const QString& Programa, const QString& ParametroAdicional, qint64& PID)
{
    PID = 0;
    const QString programa = CarpetaAplicacion() + Programa.mid(6);
    if (!QProcess::startDetached(programa, {ArgumentosPrograma(ParametroAdicional)}, CarpetaAplicacion(), &PID))
        PID = 0;
    if (PID == 0)
        suite::MsgBox(QStringLiteral("Opcion no Implementada!\rComuniquese con su proveedor de sistemas"), suite::vbCritical,
                      QStringLiteral("Atención"));
}
