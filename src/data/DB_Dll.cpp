#include "data/DB_Dll.h"

#include "data/DB_DllTexto.h"
#include "data/PromptAcceso.h"
#include "data/VentanaReconexion.h"
#include "data/Sesion.h"
#include "data/ado/servidores/Oracle.h"
#include "data/ado/TSQL.h"
#include "suite/CodigosSalida.h"
#include "suite/Dialogos.h"
#include "suite/Regional.h"
#include "suite/RegistroErrores.h"
#include "suite/Reloj.h"
#include "suite/SuiteUtil.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <QDate>
#include <QFile>

DB_Dll gDB;

namespace {
// The prompt while none is installed: it answers cancel.
class PromptCancela : public IPromptAcceso {
public:
    std::optional<DatosAcceso> Pedir(const DatosAcceso&) override { return std::nullopt; }
};
IPromptAcceso*& promptInstalado()
{
    static IPromptAcceso* p = nullptr;
    return p;
}
} // namespace

IPromptAcceso& PromptAcceso()
{
    static PromptCancela cancela;
    return promptInstalado() ? *promptInstalado() : cancela;
}

void FijarPromptAcceso(IPromptAcceso* prompt) { promptInstalado() = prompt; }

using namespace db_dll;
using suite::ErrorRT;

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

constexpr long SinConexion = -2147221503;      // &H80040001
const QString MensajeTransaccionPerdida = QStringLiteral(
    "Se perdió la conexión con el servidor durante una transacción: el servidor la deshizo y no se guardó "
    "ninguno de sus cambios. Vuelva a intentarlo cuando la conexión esté restablecida.");
constexpr long TablaInexistente = -2147217865; // &H80040E37

} // namespace

// ---- Object ---------------------------------------------------------------------------

void DB_Dll::Reiniciar()
{
    if (gCnn.State() == ado::adStateOpen)
        gCnn.Close();
    gCnn.Errors().Clear();
    gCnn.ConnectionString(QString());
    CmdDlg = suite::DialogoArchivo();
    gOpenFlag = false;
    gIgnoraPassWord = QVariant();
    glrcs = ado::Recordset();
    gCursorLocation = QVariant();
    gProveedor.clear();
    gDsn.clear();
    gServidor.clear();
    gDBName.clear();
    gUsuario.clear();
    gEsAdmin = false;
    gUserPassWord.clear();
    gConnString.clear();
    gExtended.clear();
    gLogErr.clear();
    ParametrosSQL = false;
    gVLTimeOut = 0;
    contadorAbrir_ = contadorAsegurar_ = 0;
    preguntando_ = false;
    transaccion_ = false;
    silencioso_ = fallaSilenciosa_ = false;
}

// ---- Connections ----------------------------------------------------------------------

void DB_Dll::ArmarCadena()
{
    if (gServidor.contains(u'#')) {
        gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + gDBName + QStringLiteral(";User Id=")
            + gUsuario + QStringLiteral(";Password=") + gUserPassWord + QStringLiteral(";");
        return;
    }
    gConnString = QStringLiteral("PROVIDER=") + pSQLOLEDB + QStringLiteral(";") + QStringLiteral("Server=") + gServidor
        + QStringLiteral(";") + QStringLiteral("Database =") + gDBName + QStringLiteral(";") + QStringLiteral("UId=")
        + gUsuario + QStringLiteral(";") + QStringLiteral("Pwd=") + gUserPassWord + QStringLiteral(";");
    if (!contiene(gConnString, QStringLiteral("Connect Timeout=")))
        gConnString += QStringLiteral("Connect Timeout=5;");
    gConnString += gExtended;
}

void DB_Dll::PedirParametros()
{
    DatosAcceso inicial;
    inicial.base = gDBName;
    inicial.servidor = gServidor;
    inicial.usuario = gUsuarioLogeado;
    inicial.clave = gPassWordLogeado;
    inicial.plataforma = 0;
    const std::optional<DatosAcceso> r = PromptAcceso().Pedir(inicial);
    if (!r) {
        gOpenFlag = false;
        return;
    }
    gOpenFlag = true;
    gDBName = r->base;
    gUsuario = r->base;
    gUserPassWord = r->base;
    gServidor = r->servidor;
    if (r->plataforma > 0) {
        gProveedor = pORACLE;
        if (!gServidor.contains(u'#'))
            gServidor = u'#' + gServidor;
    } else {
        gProveedor = pSQLOLEDB;
    }
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString, bool ValidaAdmin,
                             bool MuestraError)
{
    gOpenFlag = true;
    bool abiertaReintentada = false;
    if (gProveedor.isEmpty())
        gProveedor = pSQLOLEDB;

    int paso = 2;
    for (;;) {
        try {
            switch (paso) {
            case 2:
                if (ConnString.trimmed().isEmpty())
                    ArmarCadena();
                else
                    gConnString = ConnString;
                paso = 3;
                [[fallthrough]];
            case 3:
                if (PideParametrosSQL) {
                    PedirParametros();
                    if (!gOpenFlag)
                        return;
                    ArmarCadena();
                }
                paso = 4;
                [[fallthrough]];
            case 4:
                gCnn.ConnectionTimeout(3);
                gCnn.CursorLocation(int(lCursor));
                gCnn.Open(gConnString, QString(), QString(), -1);
                paso = 5;
                [[fallthrough]];
            case 5:
                if (!ValidaAdmin) {
                    gEsAdmin = true;
                    return;
                }
                paso = 6;
                [[fallthrough]];
            case 6:
                if (gDBName.trimmed().isEmpty())
                    return;
                gCnn.DefaultDatabase(gDBName);
                paso = 7;
                [[fallthrough]];
            case 7:
                if (!gDB.ExisteTablaDB(QStringLiteral("TA_USUARIOS")))
                    return;
                paso = 8;
                [[fallthrough]];
            case 8:
                gEsAdmin = !MuestraError || EsAdministrador(gUsuarioLogeado);
                return;
            }
            return;
        } catch (const suite::ErrorEjecucion& ex) {
            if (!reintentarApertura(ex.error(), MuestraError, abiertaReintentada))
                return;
            // the failing step once more
        }
    }
}

bool DB_Dll::EsAdministrador(const QString& usuario)
{
    const QVariant v = DatosTabla(QStringLiteral("ta_usuarios"), usuario, QStringLiteral("Administrador"), QStringLiteral("nombre"),
                                  DatoTexto, QString(), true, false);
    return suite::ValorNumerico(suite::TextoVariant(v)) == suite::Moneda::desdeEntero(1);
}

namespace {

// The question after a failed connection, from the connection's first error.
QString mensajeFalloConexion(const ado::Error& a)
{
    return QStringLiteral(" Estado de Sql: ") + a.SQLState + CR + QStringLiteral("Numero de Error: ")
        + QString::number(a.Number) + CR + QStringLiteral("Descripcion: ") + a.Description + CR
        + QStringLiteral("Codigo Nativo: ") + QString::number(a.NativeError) + CR + CRLF
        + QStringLiteral("Nombre de Proceso: ") + NombreEjecutable() + CR + CRLF + CRLF
        + QStringLiteral("1. Verifique el Usuario, contraseña y base de datos") + CRLF
        + QStringLiteral("2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la instancia, "
                         "por ejemplo : ")
        + gDB.gServidor + QStringLiteral("\\ORBEVELA") + CRLF
        + QStringLiteral("3. Verifique si el inicio de sesion para el usuario ") + gDB.gUsuario
        + QStringLiteral(" existe") + CRLF + CRLF + CRLF + QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

} // namespace

bool DB_Dll::reintentarApertura(const ErrorRT& e, bool MuestraError, bool& abiertaReintentada)
{
    const bool conErroresAdo = gCnn.Errors().Count() > 0;
    if (e.Number == ado::err::ObjetoAbierto && (!MuestraError || !conErroresAdo)) {
        if (abiertaReintentada) {
            gOpenFlag = false;
            return false;
        }
        abiertaReintentada = true;
        try {
            gCnn.Close();
        } catch (const suite::ErrorEjecucion&) {
        }
        return true;
    }
    if (!MuestraError) {
        gOpenFlag = false;
        return false;
    }
    if (!conErroresAdo) {
        suite::MsgBox(e.Description, suite::vbOKOnly);
        return false;
    }
    if (suite::MsgBox(mensajeFalloConexion(gCnn.Errors().Item(0)), suite::vbYesNo + suite::vbCritical,
                      QStringLiteral(" Error de Conexion a Base de Datos"))
        != suite::vbYes) {
        gOpenFlag = false;
        return false;
    }
    gCnn.Errors().Clear();
    PedirParametros();
    if (!gOpenFlag)
        return false;
    ArmarCadena();
    return true;
}

// ---- Statements -----------------------------------------------------------------------

void DB_Dll::PrepararSentencia(QString& s) const
{
    const QString marca = QStringLiteral("@Admin_");
    // Without the marker, and without CREATE and DROP, the text goes as it is: the tokens
    // would only be joined back into it (a long batch saves its tokenizing).
    if (!s.contains(marca, Qt::CaseInsensitive)
        && !(s.contains(QLatin1String("CREATE"), Qt::CaseInsensitive) && s.contains(QLatin1String("DROP"), Qt::CaseInsensitive)))
        return;
    TextoPropio t(s);
    if (t.contiene(QStringLiteral("CREATE")) && t.contiene(QStringLiteral("DROP"))) {
        if (t.contiene(marca))
            s = t.reemplazar(marca, QString()).texto();
        else if (!t.contiene(QStringLiteral("DELETE")))
            s = SS_TSinonimos(s);
        return;
    }
    s = t.reemplazar(marca, QString()).texto();
}

bool DB_Dll::descartarTruncado(const QString& sentencia, bool trasFallo)
{
    ado::Errors& errores = gDB.gCnn.Errors();
    if (errores.Count() == 0 || (!trasFallo && errores.Count() > 2) || contiene(sentencia, QStringLiteral("TRANS"))
        || errores.Item(0).NativeError != ado::err::NativoTruncado)
        return false;
    if (ado::tsql::DividirLote(ado::tsql::Tokenizar(sentencia)).size() > 1)
        return false;
    for (int i = 0; i < errores.Count(); ++i)
        descartados_.push_back(errores.Item(i));
    errores.Clear();
    return true;
}

bool DB_Dll::conexionOracle() const { return contiene(gCnn.ConnectionString(), QStringLiteral("ORACLE")); }

void DB_Dll::transaccionPerdida()
{
    gOpenFlag = false;
    gCnn.Errors().Clear();
    gCnn.Errors().Agregar(ado::Error{ado::err::Fallo, MensajeTransaccionPerdida, QStringLiteral("DB_Dll"), QStringLiteral("08S01"),
                                     ado::err::NativoEnlacePerdido});
}

bool DB_Dll::transaccionViva(const ado::tsql::EfectoTransaccion& efecto)
{
    if (gCnn.State() == ado::adStateOpen || !((transaccion_ && !efecto.empieza) || efecto.termina))
        return true;
    // The link went while a transaction was open: the server undid it. Neither the rest of
    // it nor its COMMIT may run on a new connection.
    if (efecto.termina)
        transaccion_ = false;
    transaccionPerdida();
    return false;
}

void DB_Dll::trasSentencia(const ado::tsql::EfectoTransaccion& efecto, bool corrio)
{
    if (corrio && (efecto.empieza || efecto.termina))
        transaccion_ = efecto.abiertas > 0;
    else if (!corrio && efecto.termina)
        transaccion_ = false;
}

bool DB_Dll::enlacePerdido() const
{
    const ado::Errors& errores = gCnn.Errors();
    return (errores.Count() > 0 && errores.Item(0).NativeError == ado::err::NativoEnlacePerdido)
        || gCnn.State() != ado::adStateOpen;
}

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected, ado::Recordset* Lrcs)
{
    descartados_.clear();
    PrepararSentencia(SentenciaSQL);
    const ado::tsql::EfectoTransaccion efecto = ado::tsql::EfectoEnTransacciones(SentenciaSQL);
    const bool enTransaccion = transaccion_ && !efecto.empieza; // runs inside one begun earlier
    const bool conTrans = contiene(SentenciaSQL, QStringLiteral("TRANS"));
    // A batch whose first statement begins its own transaction, outside any other, and that
    // ends none: when the link drops the server undoes all of it, so the whole batch may run
    // again on a new connection. Statements before a later BEGIN were kept: never again.
    const bool previa = transaccion_;
    const bool repetibleEntero = efecto.empiezaPrimero && !efecto.confirma && !previa;
    short intentos = 0;
    for (;;) {
        const bool cerrada = gCnn.State() != ado::adStateOpen;
        if (!transaccionViva(efecto))
            return;
        if (efecto.empieza)
            transaccion_ = true; // from here on the caller ends it with COMMIT or ROLLBACK
        try {
            if (conexionOracle()) {
                EjecutaScript(SentenciaSQL, RecordsAffected);
            } else {
                ado::Recordset rs = gCnn.Execute(SentenciaSQL, &RecordsAffected, -1);
                if (Lrcs)
                    *Lrcs = std::move(rs);
            }
            trasSentencia(efecto, true);
            descartarTruncado(SentenciaSQL, false);
            return;
        } catch (const std::exception&) {
            trasSentencia(efecto, false);
            ado::Errors& errores = gDB.gCnn.Errors();
            if (errores.Count() == 0) {
                // Raised before reaching the engine (a closed connection): it goes into the
                // collection too, which is where callers look before committing.
                const ErrorRT e = suite::ErrorActual();
                errores.Agregar(ado::Error{e.Number, e.Description, e.Source, QString(), 0});
            }
            const bool perdido = enlacePerdido();
            // Never begun, or undone whole by the server; also one the batch would have ended
            // itself: nothing of it is left for a later COMMIT.
            if ((cerrada && efecto.empieza) || (perdido && repetibleEntero)
                || (perdido && efecto.empieza && efecto.abiertas == 0 && !previa))
                transaccion_ = false;
            if (gCnn.State() != ado::adStateOpen)
                gOpenFlag = false;
            // A lost link is recovered and the statement repeated only outside transactions:
            // a statement of no transaction, or a batch that begins its own and was undone
            // whole (or never ran: the connection was closed before it).
            if (perdido && !enTransaccion && (!conTrans || cerrada || repetibleEntero)) {
                const std::vector<ado::Error> vistos = errores.Lista();
                if (RecuperarEnlace(Recuperacion::Sentencia, intentos))
                    continue;
                errores.Clear(); // given up: the caller still finds why
                for (const ado::Error& e : vistos)
                    errores.Agregar(e);
                return;
            }
            if (!conTrans)
                descartarTruncado(SentenciaSQL, true);
            return; // absorbed: the caller reads the connection's errors
        }
    }
}

void DB_Dll::EjecutaConsultaRSQL(QString& SentenciaSQL, long& RecordsAffected, ado::Recordset* Lrcs)
{
    descartados_.clear();
    PrepararSentencia(SentenciaSQL);
    const ado::tsql::EfectoTransaccion efecto = ado::tsql::EfectoEnTransacciones(SentenciaSQL);
    if (!transaccionViva(efecto)) {
        suite::MsgBox(MensajeTransaccionPerdida, suite::vbCritical, QStringLiteral("Aviso al operador!!!"));
        return;
    }
    const bool previa = transaccion_;
    if (efecto.empieza)
        transaccion_ = true;
    try {
        if (conexionOracle()) {
            EjecutaScript(SentenciaSQL, RecordsAffected);
        } else {
            if (!AsegurarConexion()) {
                transaccion_ = previa; // the batch never ran: it began nothing
                suite::MsgBox(QStringLiteral("No hay conexión con el servidor. Intentá de nuevo en unos segundos."),
                              suite::vbExclamation);
                return;
            }
            ado::Recordset rs = gCnn.Execute(SentenciaSQL, &RecordsAffected, -1);
            if (Lrcs)
                *Lrcs = std::move(rs);
        }
        trasSentencia(efecto, true);
        descartarTruncado(SentenciaSQL, false);
    } catch (const std::exception&) {
        trasSentencia(efecto, false);
        if (efecto.empieza && efecto.abiertas == 0 && !previa && enlacePerdido())
            transaccion_ = false; // the server undid the batch's own transaction
        const ErrorRT e = suite::ErrorActual();
        if (descartarTruncado(SentenciaSQL, true))
            return;
        const bool conocido = e.Number == ado::err::Fallo || e.Number == ado::err::ErrorEnComando
            || e.Number == TablaInexistente || e.Number == ado::err::Integridad;
        if (!conocido && !contiene(SentenciaSQL, QStringLiteral("TRANS")))
            suite::MsgBox(e.Description, suite::vbCritical, QStringLiteral("Aviso al operador!!!"));
    }
}

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, ado::Recordset& Lrcs, ado::Connection* Conexionactiva, int CursorType,
                            int LockType, long Options, bool ConvOracle)
{
    ado::Connection* activa = nullptr;
    QString fuente;
    suite::Rutina r([&](const ErrorRT& e) {
        if (silencioso_) { // a caller that ignores errors sees no dialog, not even the lost-link question
            fallaSilenciosa_ = true;
            return int(suite::vbCancel);
        }
        const int decision = ConexionPerdida(e.Number, contadorAbrir_, QStringLiteral("AbrirRecordset"));
        if (decision == 1)
            return suite::Rutina::Repetir;
        if (decision == 2)
            suite::TerminarPrograma(suite::SalidaEnlacePerdido);
        return suite::DialogoError(e, std::nullopt, QStringLiteral("AbrirRecordset"));
    });
    r([&] { CierraRecordset(&Lrcs); })
     ([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); })
     ([&] {
         if (!AsegurarConexion())
             suite::Lanzar(SinConexion, QStringLiteral("No hay conexión con la base de datos."), QStringLiteral("DB_Dll"));
     })
     ([&] { activa = Conexionactiva ? Conexionactiva : &gCnn; })
     ([&] {
         const qsizetype p = instr(gCnn.ConnectionString(), QStringLiteral("ORACLE"));
         fuente = (ConvOracle && p > 1) ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
     })
     ([&] { Lrcs.Open(fuente, activa, CursorType, LockType, Options); })
     // The user's input waits until the caller has read the rows.
     ([&] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

void DB_Dll::CierraRecordset(ado::Recordset* LrcsTemp)
{
    suite::Rutina r([&](const ErrorRT& e) {
        if (e.Number == ado::err::NoPermitidoEnContexto) {
            try {
                LrcsTemp->CancelUpdate();
            } catch (const std::exception&) {
            }
            try {
                if (LrcsTemp->State() != ado::adStateClosed)
                    LrcsTemp->Close();
            } catch (const std::exception&) {
            }
            return suite::Rutina::Seguir;
        }
        return TratamientoErrores(e, std::nullopt, QStringLiteral("CierraRecordset"));
    });
    r([&] {
        if (!LrcsTemp)
            suite::Lanzar(91, QStringLiteral("Variable de objeto o bloque With no establecido"), QStringLiteral("DB_Dll"));
        if (LrcsTemp->State() != ado::adStateClosed)
            LrcsTemp->Close();
    });
}

QString DB_Dll::DescartaSentencia(QString& sentencia)
{
    if (contiene(sentencia, QStringLiteral("SET NOCOUNT")) || contiene(sentencia, QStringLiteral("IF NOT EXIST")))
        sentencia.clear();
    return sentencia;
}

void DB_Dll::EjecutaScript(QString& script, long& RecordsAffected)
{
    for (const ado::oracle::PasoScript& paso : ado::oracle::DividirScript(script)) {
        switch (paso.paso) {
        case ado::oracle::Paso::Empezar: gCnn.BeginTrans(); break;
        case ado::oracle::Paso::Confirmar: gCnn.CommitTrans(); break;
        case ado::oracle::Paso::Deshacer: gCnn.RollbackTrans(); break;
        case ado::oracle::Paso::Sentencia: {
            QString traducida = ORACLE_Dicc(paso.texto);
            DescartaSentencia(traducida);
            if (!traducida.trimmed().isEmpty()) {
                long n = 0;
                gCnn.Execute(traducida, &n, -1);
                RecordsAffected += n;
            }
            break;
        }
        }
    }
    if (gCnn.Errors().Count() == 1 && gCnn.Errors().Item(0).Number == 265929)
        gCnn.Errors().Clear();
}

// ---- Local database files ------------------------------------------------------------

void DB_Dll::OpenLocalADODB(const QString& ConnString, const QString& CadenaID, const QString& CadenaPWD)
{
    const auto elegirArchivo = [this] {
        CmdDlg.TituloDialogo = QStringLiteral("Buscar Base de Datos");
        CmdDlg.Filtro = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");
        CmdDlg.MostrarAbrir();
        if (CmdDlg.Cancelado)
            return false;
        gDBName = CmdDlg.NombreArchivo;
        return true;
    };
    if (gDBName.trimmed().isEmpty() && !elegirArchivo())
        return;
    for (;;) {
        QString cadena = !ConnString.isEmpty() ? ConnString
                                               : QStringLiteral("PROVIDER=") + gProveedor + QStringLiteral(";Data Source =") + gDBName
                + u';' + CadenaID + u'=' + gUsuario + u';' + CadenaPWD + u'=' + gUserPassWord + u';' + gExtended;
        for (;;) {
            try {
                if (gCnn.State() == ado::adStateOpen)
                    gCnn.Close();
                gCnn.Open(cadena, QString(), QString(), -1);
                gConnString = cadena;
                return;
            } catch (const std::exception&) {
                const ErrorRT e = suite::ErrorActual();
                const QString estado = gCnn.Errors().Count() > 0 ? gCnn.Errors().Item(0).SQLState : QString();
                if (estado == QLatin1String("3024") || estado == QLatin1String("3051") || estado == QLatin1String("3044")) {
                    if (!elegirArchivo())
                        return;
                    break; // again from the start, with the file chosen
                }
                if (estado == QLatin1String("3031")) {
                    QString clave;
                    if (gIgnoraPassWord.toBool()) {
                        clave = gUserPassWord;
                    } else {
                        const auto escrita = suite::InputBox(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"));
                        if (!escrita)
                            return;
                        clave = *escrita;
                    }
                    cadena += QStringLiteral("Jet OLEDB:Database Password=") + clave + u';';
                    continue;
                }
                suite::MsgBox(QString::number(e.Number) + QStringLiteral("  ") + e.Description, suite::vbCritical);
                return;
            }
        }
        if (!ConnString.isEmpty())
            return; // a caller's own string names no file to pick again
    }
}

// ---- Reconnection ---------------------------------------------------------------------

bool DB_Dll::AsegurarConexion()
{
    for (;;) {
        try {
            if (gCnn.State() != ado::adStateOpen) {
                if (transaccion_) { // lost inside a transaction: reopening would run its rest outside it
                    gOpenFlag = false;
                    return false;
                }
                gCnn.Open(gConnString, QString(), QString(), -1);
            }
            gOpenFlag = gCnn.State() == ado::adStateOpen;
            return gOpenFlag;
        } catch (const std::exception&) {
            const ErrorRT e = suite::ErrorActual();
            if (silencioso_)
                return gOpenFlag = false;
            const int decision = ConexionPerdida(e.Number, contadorAsegurar_, QStringLiteral("AsegurarConexion"));
            if (decision == 1)
                continue;
            if (decision == 2)
                suite::TerminarPrograma(suite::SalidaEnlacePerdido);
            if (suite::DialogoError(e, std::nullopt, QStringLiteral("AsegurarConexion")) != suite::vbRetry)
                return false;
        }
    }
}

bool DB_Dll::ReintentaConectar()
{
    if (transaccion_) {
        // Closing would undo the transaction in progress, and reopening would run its rest
        // outside it: the caller fails instead.
        gOpenFlag = gCnn.State() == ado::adStateOpen;
        return false;
    }
    gOpenFlag = false;
    QString cadena = gConnString;
    try {
        if (gCnn.State() != ado::adStateClosed)
            gCnn.Close();
    } catch (const std::exception&) {
    }
    // The command time-out of the session (the start-up sets a long one) comes back once the
    // connection is open: only the attempt itself is bounded.
    const int tiempoComando = gCnn.CommandTimeout();
    try {
        if (cadena.isEmpty())
            cadena = gCnn.ConnectionString();
        if (cadena.isEmpty())
            return false;
        if (!contiene(cadena, QStringLiteral("Connect Timeout=")))
            cadena += QStringLiteral(";Connect Timeout=5");
        gCnn.ConnectionTimeout(5);
        gCnn.CommandTimeout(10);
        gCnn.Open(cadena, QString(), QString(), -1);
        gOpenFlag = gCnn.State() == ado::adStateOpen;
    } catch (const std::exception&) {
        gOpenFlag = false;
    }
    if (tiempoComando > 10 || tiempoComando == 0)
        gCnn.CommandTimeout(tiempoComando);
    return gOpenFlag;
}

int DB_Dll::ConexionPerdida(long numero, short& contador, const QString& rutina)
{
    if (numero != ado::err::Fallo && numero != ado::err::ConexionNoValida && numero != ado::err::ObjetoCerrado)
        return 0;
    if (transaccion_)
        return 0; // the operation fails: its transaction cannot be carried over to a new connection
    if (contador < 2) {
        ++contador;
        if (ReintentaConectar()) {
            contador = 0;
            return 1;
        }
    }
    if (preguntando_)
        return 0;
    preguntando_ = true;
    const int respuesta = suite::MsgBox(QStringLiteral("SE PERDIÓ LA CONEXION CON EL SERVIDOR. (") + gServidor
                                            + QStringLiteral(") ") + CRLF + CRLF + QStringLiteral("¿Querés que intentemos reconectar (Sí) ")
                                            + CRLF + QStringLiteral("o cerrar la aplicación (No)?"),
                                        suite::vbYesNo + suite::vbCritical, QStringLiteral("Conexión a la base de datos"));
    preguntando_ = false;
    if (respuesta != suite::vbYes)
        return 2;
    if (MuestraReconexion(10, rutina)) {
        contador = 0;
        return 1;
    }
    return 2;
}

namespace {
// A pause that keeps the windows answering.
void esperarAtendiendo(int ms)
{
    QEventLoop espera;
    QTimer::singleShot(ms, &espera, &QEventLoop::quit);
    espera.exec();
}
} // namespace

bool DB_Dll::MuestraReconexion(short intentos, const QString& mensaje)
{
    IVentanaReconexion& ventana = VentanaReconexion();
    bool resultado = false;
    for (;;) {
        ventana.Mostrar(QStringLiteral("Intentando reconectar con el servidor...") + CRLF + mensaje);
        QCoreApplication::processEvents();
        for (short i = 1; i <= intentos; ++i) {
            if (ventana.Cancelar() || ventana.Reintentar())
                break;
            ventana.Avance(i * 100 / intentos, i == intentos);
            QCoreApplication::processEvents();
            if (ReintentaConectar()) {
                resultado = true;
                break;
            }
            esperarAtendiendo(500);
        }
        if (ventana.Cancelar() || gOpenFlag) {
            ventana.Cerrar();
            return resultado;
        }
        intentos = 10;
    }
}

bool DB_Dll::RecuperarEnlace(Recuperacion llamada, short& intentos)
{
    if (transaccion_)
        return false;
    if (ReintentaConectar())
        return ++intentos < 3;
    for (;;) {
        if (ReintentaConectar()) {
            if (llamada != Recuperacion::Existe)
                return true;
            return ++intentos < 3;
        }
        if (llamada != Recuperacion::Existe && ++intentos < 3)
            continue;
        const QString pregunta = CRLF + CRLF + CRLF + QStringLiteral("Se perdio la conexion con la base de datos ") + gDBName + CRLF
            + QStringLiteral(" Servidor ") + gServidor + CRLF + CRLF + QStringLiteral("Elija SI para reintentar conectarse") + CRLF
            + QStringLiteral("Elija NO para cerrar la aplicacion") + CRLF + CRLF + CRLF;
        if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbCritical, QStringLiteral("AVISO AL OPERADOR")) != suite::vbYes) {
            suite::TerminarPrograma(suite::SalidaEnlacePerdido);
            return false;
        }
    }
}
