#pragma once
// The data-access object of the suite's programs: holds the connection, runs statements and
// scripts, translates SQL for Oracle, redirects confidential tables to their restricted
// views, and offers the table helpers. One instance, gDB, serves the whole program.

#include "data/ado/Ado.h"
#include "suite/DialogoArchivo.h"
#include "suite/ErrorRT.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace ado::tsql {
struct EfectoTransaccion;
}

class DB_Dll {
public:
    // ---- Public fields -------------------------------------------------------------------
    suite::DialogoArchivo CmdDlg;
    bool gOpenFlag = false;
    QVariant gIgnoraPassWord;
    ado::Connection gCnn;
    ado::Recordset glrcs;
    QVariant gCursorLocation;
    QString gProveedor;
    QString gDsn;
    QString gServidor;
    QString gDBName;
    QString gUsuario;
    bool gEsAdmin = false;
    QString gUserPassWord;
    QString gConnString;
    QString gExtended;
    QString gLogErr;
    bool ParametrosSQL = false;
    short gVLTimeOut = 0;

    static inline const QString pSQLOLEDB = QStringLiteral("SQLOLEDB");
    static inline const QString pJETOLEDB40 = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
    static inline const QString pJETOLEDB35 = QStringLiteral("Microsoft.Jet.OLEDB.3.51");
    static inline const QString pORACLE = QStringLiteral("OraOLEDB.Oracle.1");

    // Back to a fresh object: fields empty, connection closed (for tests and re-login).
    void Reiniciar();

    // ---- Connections ---------------------------------------------------------------------
    void OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString, bool ValidaAdmin,
                         bool MuestraError);
    // The user is marked as an administrator in the company's user table (TA_USUARIOS); an
    // unlisted user is not.
    bool EsAdministrador(const QString& usuario);
    // Opens the database file named by gDBName (a picker asks for it when empty): an Access
    // file (read only, through MDB Tools) or a SQLite file.
    void OpenLocalADODB(const QString& ConnString, const QString& CadenaID, const QString& CadenaPWD);

    // ---- Statements ----------------------------------------------------------------------
    void EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected, ado::Recordset* Lrcs = nullptr);
    void EjecutaConsultaRSQL(QString& SentenciaSQL, long& RecordsAffected, ado::Recordset* Lrcs = nullptr);
    void AbrirRecordset(QString& SentenciaSQL, ado::Recordset& Lrcs, ado::Connection* Conexionactiva = nullptr,
                        int CursorType = ado::adOpenForwardOnly, int LockType = ado::adLockReadOnly, long Options = -1,
                        bool ConvOracle = false);
    void CierraRecordset(ado::Recordset* LrcsTemp);
    void QConsulta(const QString&, const QString&, const QString&, const QString&, const QString&, const QString&) {}
    void QGridConsulta(const QString&, const QString&, const QString&, const QString&, const QString&) {}

    // ---- Dialects and synonyms -----------------------------------------------------------
    QString SS_TSinonimos(const QString& SentenciaSQL) const;
    QString ORACLE_Dicc(const QString& Valor) const;

    // ---- Reconnection --------------------------------------------------------------------
    bool AsegurarConexion();
    bool ReintentaConectar();
    // A transaction begun through EjecutaConsultaSQL or EjecutaConsultaRSQL is in progress.
    bool TransaccionPendiente() const { return transaccion_; }

    // ---- Table helpers -------------------------------------------------------------------
    bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                       ado::Recordset* Lrcs = nullptr, const QVariant& Tipodato = {}, const QString& Condicion = {},
                       bool SoloLectura = true);
    bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                         ado::Recordset* Lrcs = nullptr, const QVariant& Tipodato = {}, const QString& Condicion = {},
                         bool SoloLectura = true);
    QVariant DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                        const QString& Campo, const QVariant& Tipodato = {}, const QString& Condicion = {},
                        bool UsaTrim = true, bool IgnoraError = false);
    QVariant BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const QVariant& Tipo = {},
                         const std::optional<QString>& Condicion = std::nullopt);
    QVariant BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const QVariant& Tipo = {},
                         const std::optional<QString>& Condicion = std::nullopt);
    QVariant BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const QVariant& Tipo,
                               const QString& Condicion);
    QString SQLValue(const QVariant& Valor, const QString& Tipo) const;
    QString SQLValue2(const QVariant& Valor, const QString& Tipo) const { return SQLValue(Valor, Tipo); }

    static bool adodate(int Qtype);
    static bool ADOText(int Qtype);
    static bool ADONumeric(int Qtype);
    static bool ADOCurrency(int Qtype);
    static bool ADOBoolean(int Qtype);
    static QString ADOComilla(int Qtype);

    static QString stSTF(QString& rsName, int rnPart);
    static QString AddBrackets(const QString& rObjName);
    static QString StripBrackets(const QString& rsObjName);
    static QString StripOwner(QString& rsTblName);
    static QString StripConnect(const QString& rsTblName);
    static QString StripFileName(const QString& rsFileName);

    void AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                  const std::optional<QString>& ValorDefault = std::nullopt);
    bool ExisteTablaDB(const QString& Tabla);
    bool ExisteCampoDB(const QString& Tabla, const QString& Campo);
    bool VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo = {},
                    bool PermiteNulos = true, const std::optional<QString>& ValorDefault = std::nullopt);

    // The error log TratamientoErrores writes: this file when set, else VLERR.LOG in
    // suite::CarpetaRegistroErrores (the user's state folder), as AvisoError does.
    QString ArchivoErrores() const { return gLogErr; }
    void ArchivoErrores(const QString& ruta) { gLogErr = ruta; }
    int TratamientoErrores(const suite::ErrorRT& error, std::optional<int> estilo = std::nullopt,
                           const QString& rutina = {});

    // The errors that the last EjecutaConsultaSQL or EjecutaConsultaRSQL cleared from the
    // connection's collection (a truncation of a single statement), for tools that report
    // every error.
    const std::vector<ado::Error>& ErroresDescartados() const { return descartados_; }

private:
    void ArmarCadena();
    // After a failed step of OpenServerADODB: true to run that step again (the connection
    // closed and opened once more, or new parameters given); false leaves, gOpenFlag telling.
    bool reintentarApertura(const suite::ErrorRT& e, bool MuestraError, bool& abiertaReintentada);
    // Clears gDB's truncation error of a single statement outside a transaction (one or two
    // records after a run, any number after a failure); a batch of several statements keeps
    // it, so that a batch stopped part way never looks done.
    bool descartarTruncado(const QString& sentencia, bool trasFallo);
    void PedirParametros();
    void PrepararSentencia(QString& s) const;
    void EjecutaScript(QString& script, long& RecordsAffected);
    static QString DescartaSentencia(QString& sentencia);
    bool conexionOracle() const;

    // The lost-connection decision: 0 not a lost link (or a question already on screen),
    // 1 reconnected (repeat the step), 2 the user chose to close.
    int ConexionPerdida(long numero, short& contador, const QString& rutina);
    // Series of attempts in the reconnection window until the link is back (true) or the
    // user presses "Cerrar Sistema" (false).
    bool MuestraReconexion(short intentos, const QString& mensaje);
    // The per-call recovery of a lost link: true to repeat the failing step, false to give up.
    // A "No" to its question ends the program.
    enum class Recuperacion { Sentencia, Datos, Existe };
    bool RecuperarEnlace(Recuperacion llamada, short& intentos);
    // A statement that cannot run because the link was lost inside its transaction: the error
    // goes into the collection (the server undid the transaction).
    void transaccionPerdida();
    // Before a statement: false (the lost-transaction error given) when the statement would
    // run the rest of a transaction whose link was lost, or end it.
    bool transaccionViva(const ado::tsql::EfectoTransaccion& efecto);
    // After it: the transaction state the statement leaves (corrio: it ran without error).
    void trasSentencia(const ado::tsql::EfectoTransaccion& efecto, bool corrio);
    // The last failure was a lost link: the engine said so, or the connection is closed.
    bool enlacePerdido() const;

    // ExisteEnTabla and ExisteEnTablaST: one lookup, with or without synonyms and Oracle.
    bool buscarFila(const QString& sentencia, ado::Recordset* Lrcs, bool SoloLectura, bool traducir);
    // The general error message of the lookups: Abort, Retry or Ignore titled "Aviso al Operador".
    int avisoGeneral(const suite::ErrorRT& e);

    bool silencioso_ = false;      // DatosTabla asked to ignore errors: AbrirRecordset shows nothing
    bool fallaSilenciosa_ = false; // ... and tells it that it failed
    short contadorAbrir_ = 0;
    short contadorAsegurar_ = 0;
    bool preguntando_ = false;
    // An explicit transaction was begun through this object and not yet ended. While it is,
    // a lost link is never recovered: reopening would run the rest of it outside it.
    bool transaccion_ = false;
    std::vector<ado::Error> descartados_;
};

extern DB_Dll gDB;
