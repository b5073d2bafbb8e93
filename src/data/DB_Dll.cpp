#include "data/DB_Dll.h"

#include "data/PromptAcceso.h"
#include "data/Sesion.h"
#include "data/ado/TSQL.h"
#include "suite/Dialogos.h"
#include "suite/Regional.h"
#include "suite/RegistroErrores.h"
#include "suite/Reloj.h"
#include "suite/SuiteUtil.h"

#include <QCoreApplication>
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

using suite::ErrorRT;

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

constexpr long SinConexion = -2147221503;      // &H80040001
constexpr long TablaInexistente = -2147217865; // &H80040E37

bool contiene(const QString& s, const QString& sub) { return s.contains(sub, Qt::CaseInsensitive); }

// Every occurrence replaced, letter case ignored.
QString reemplazar(QString s, const QString& viejo, const QString& nuevo)
{
    return s.replace(viejo, nuevo, Qt::CaseInsensitive);
}

// 1-based position of sub in s at or after `desde`, letter case ignored; 0 when absent.
qsizetype instr(const QString& s, const QString& sub, qsizetype desde = 1)
{
    if (desde < 1)
        desde = 1;
    const qsizetype p = s.indexOf(sub, desde - 1, Qt::CaseInsensitive);
    return p < 0 ? 0 : p + 1;
}

// Quotes doubled: a quote typed by the user is searched for or stored as typed.
QString comillas(const QString& texto) { return QString(texto).replace(u'\'', QStringLiteral("''")); }

// The number at the start of a text, as the suite reads it (decimal point, blanks between
// digits ignored), written with a decimal point.
QString numeroDe(const QString& v)
{
    QString limpio;
    qsizetype i = 0;
    while (i < v.size() && v[i].isSpace())
        ++i;
    if (i < v.size() && (v[i] == u'-' || v[i] == u'+'))
        limpio += v[i++];
    bool punto = false;
    for (; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c.isDigit())
            limpio += c;
        else if (c == u'.' && !punto)
            limpio += c, punto = true;
        else if (c != u' ' && c != u'\t')
            break;
    }
    bool ok = false;
    const double d = limpio.toDouble(&ok);
    QString r = QString::number(ok ? d : 0.0, 'g', 15);
    if (r.startsWith(QLatin1String("0.")))
        r.remove(0, 1);
    else if (r.startsWith(QLatin1String("-0.")))
        r.remove(1, 1);
    return r.trimmed();
}

// Tipodato values of the row helpers (the type numbers of text, date and numbers).
constexpr int DatoTexto = ado::adBSTR;   // 8
constexpr int DatoFecha = ado::adDate;   // 7
constexpr int DatoEntero = ado::adInteger; // 3
constexpr int DatoSimple = ado::adSingle;  // 4
constexpr int DatoDoble = ado::adDouble;   // 5

// Tipodato as the row helpers read it: one of the values above, another number, or -1.
int tipoDato(const QVariant& t, bool comillaEsTexto)
{
    if (!t.isValid() || t.isNull())
        return -1;
    if (t.typeId() == QMetaType::QString && t.toString() == QLatin1String("'"))
        return comillaEsTexto ? DatoTexto : -1;
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok ? n : -1;
}

// The comparison of the row lookups for dates, numbers and any other type (text is each
// helper's own): C = V for a date, C = N(V) for a number, C = V as given otherwise.
QString comparacion(int tipo, const QString& campo, const QString& valor)
{
    switch (tipo) {
    case DatoFecha: return campo + QStringLiteral(" = ") + valor.trimmed() + QStringLiteral(" ");
    case DatoEntero:
    case DatoSimple:
    case DatoDoble: return campo + QStringLiteral(" = ") + numeroDe(valor);
    default: return campo + QStringLiteral(" = ") + valor;
    }
}

// The text comparison of the row lookups: trimmed on both sides, or as given.
QString igualTexto(const QString& campo, const QString& valor, bool recortar)
{
    if (recortar)
        return QStringLiteral("LTRIM(RTRIM(") + campo + QStringLiteral(")) ='") + comillas(valor.trimmed()) + QStringLiteral("'");
    return campo + QStringLiteral(" ='") + comillas(valor) + QStringLiteral("'");
}

// A caller's condition after the table name: WHERE added unless the condition has one.
QString conCondicion(const QString& condicion)
{
    return (contiene(condicion, QStringLiteral(" WHERE ")) ? QStringLiteral(" ") : QStringLiteral(" WHERE ")) + condicion;
}

// A statement split into its own text and the runs that belong to the data or to the
// reader: string literals, quoted identifiers and comments. The marker and the synonym rules
// search and replace only in the statement's own text.
class TextoPropio {
public:
    explicit TextoPropio(const QString& sentencia)
    {
        using ado::tsql::Tipo;
        for (const ado::tsql::Token& k : ado::tsql::Tokenizar(sentencia)) {
            const bool propio = k.tipo != Tipo::Cadena && k.tipo != Tipo::Corchetes && k.tipo != Tipo::Comillas
                && k.tipo != Tipo::Comentario;
            if (!tramos_.empty() && tramos_.back().propio && propio)
                tramos_.back().texto += k.texto;
            else
                tramos_.push_back({k.texto, propio});
        }
    }
    bool contiene(const QString& sub) const
    {
        return std::any_of(tramos_.begin(), tramos_.end(),
                           [&](const Tramo& t) { return t.propio && t.texto.contains(sub, Qt::CaseInsensitive); });
    }
    TextoPropio& reemplazar(const QString& viejo, const QString& nuevo)
    {
        for (Tramo& t : tramos_)
            if (t.propio)
                t.texto.replace(viejo, nuevo, Qt::CaseInsensitive);
        return *this;
    }
    QString texto() const
    {
        QString r;
        for (const Tramo& t : tramos_)
            r += t.texto;
        return r;
    }

private:
    struct Tramo {
        QString texto;
        bool propio;
    };
    std::vector<Tramo> tramos_;
};

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
                if (!MuestraError) {
                    gEsAdmin = true;
                } else {
                    const QVariant v = DatosTabla(QStringLiteral("ta_usuarios"), gUsuarioLogeado, QStringLiteral("Administrador"),
                                                  QStringLiteral("nombre"), DatoTexto, QString(), true, false);
                    gEsAdmin = suite::ValorNumerico(suite::TextoVariant(v)) == suite::Moneda::desdeEntero(1);
                }
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

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected, ado::Recordset* Lrcs)
{
    descartados_.clear();
    PrepararSentencia(SentenciaSQL);
    short intentos = 0;
    for (;;) {
        try {
            if (conexionOracle()) {
                EjecutaScript(SentenciaSQL, RecordsAffected);
            } else {
                ado::Recordset rs = gCnn.Execute(SentenciaSQL, &RecordsAffected, -1);
                if (Lrcs)
                    *Lrcs = std::move(rs);
            }
            descartarTruncado(SentenciaSQL, false);
            return;
        } catch (const std::exception&) {
            ado::Errors& errores = gDB.gCnn.Errors();
            if (errores.Count() > 0 && !contiene(SentenciaSQL, QStringLiteral("TRANS"))) {
                if (errores.Item(0).NativeError == ado::err::NativoEnlacePerdido) {
                    if (RecuperarEnlace(SentenciaSQL, intentos))
                        continue;
                    return;
                }
                descartarTruncado(SentenciaSQL, true);
            }
            return; // absorbed: the caller reads the connection's errors
        }
    }
}

void DB_Dll::EjecutaConsultaRSQL(QString& SentenciaSQL, long& RecordsAffected, ado::Recordset* Lrcs)
{
    descartados_.clear();
    PrepararSentencia(SentenciaSQL);
    try {
        if (conexionOracle()) {
            EjecutaScript(SentenciaSQL, RecordsAffected);
        } else {
            if (!AsegurarConexion()) {
                suite::MsgBox(QStringLiteral("No hay conexión con el servidor. Intentá de nuevo en unos segundos."),
                              suite::vbExclamation);
                return;
            }
            ado::Recordset rs = gCnn.Execute(SentenciaSQL, &RecordsAffected, -1);
            if (Lrcs)
                *Lrcs = std::move(rs);
        }
        descartarTruncado(SentenciaSQL, false);
    } catch (const std::exception&) {
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
        const int decision = ConexionPerdida(e.Number, contadorAbrir_, QStringLiteral("AbrirRecordset"));
        if (decision == 1)
            return suite::Rutina::Repetir;
        if (decision == 2)
            suite::TerminarPrograma();
        if (silencioso_) {
            fallaSilenciosa_ = true;
            return int(suite::vbCancel);
        }
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
     ([&] { QCoreApplication::processEvents(); });
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
    // Normalisation, in this order.
    QString texto = script;
    const std::pair<const char*, const char*> cambios[] = {
        {"SET NOCOUNT ON", ""},
        {"SET NOCOUNT OFF", ""},
        {" GO ", " "},
        {"\r\nGO ", " "},
        {"\r\nGO ", " "},
        {"\r\nGO\r\n", " "},
        {"\r", " "},
        {"\r\n", " "},
        {"BEGIN TRANSACTION", "SET TRANSACTION"},
        {"BEGIN TRANS", "SET TRANSACTION"},
        {"COMMIT TRANSACTION", "COMMIT"},
        {"COMMIT TRANS", "COMMIT"},
        {"ROLLBACK TRANSACTION", "ROLLBACK"},
        {"ROLLBACK TRANS", "ROLLBACK"},
    };
    for (const auto& [viejo, nuevo] : cambios)
        texto = reemplazar(texto, QString::fromLatin1(viejo), QString::fromLatin1(nuevo));

    static const char* const claves[] = {"INSERT ", "DELETE ", "UPDATE ", "CREATE ", "DROP ", "ALTER ",
                                         "SET TRANSACTION", "COMMIT", "ROLLBACK", "IF NOT EXIST", "IF EXIST", "GRANT "};
    constexpr qsizetype Centinela = 1999999;
    auto buscar = [&](qsizetype& inicio, qsizetype& fin) {
        inicio = fin = Centinela;
        for (const char* c : claves) {
            const qsizetype p = instr(texto, QString::fromLatin1(c));
            if (p > 0 && p < inicio)
                inicio = p;
        }
        if (inicio == Centinela)
            return false;
        qsizetype menor = Centinela + 1;
        for (const char* c : claves) {
            const qsizetype p = instr(texto, QString::fromLatin1(c), inicio + 1);
            if (p > inicio && p < menor)
                menor = p;
        }
        if (menor <= Centinela)
            fin = menor - 1;
        return true;
    };

    qsizetype inicio = 0, fin = 0;
    while (buscar(inicio, fin)) {
        const QString sentencia = texto.mid(inicio - 1, fin).trimmed(); // fin is used as a length
        if (sentencia.compare(QLatin1String("SET TRANSACTION"), Qt::CaseInsensitive) == 0) {
            gCnn.BeginTrans();
        } else if (sentencia.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
            gCnn.CommitTrans();
        } else if (sentencia.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0) {
            gCnn.RollbackTrans();
        } else {
            QString traducida = ORACLE_Dicc(sentencia);
            DescartaSentencia(traducida);
            if (!traducida.trimmed().isEmpty()) {
                long n = 0;
                gCnn.Execute(traducida, &n, -1);
                RecordsAffected += n;
            }
        }
        texto = fin >= Centinela ? QString() : texto.mid(fin).trimmed();
    }
    if (gCnn.Errors().Count() == 1 && gCnn.Errors().Item(0).Number == 265929)
        gCnn.Errors().Clear();
}

// ---- Dialects and synonyms ------------------------------------------------------------

QString DB_Dll::SS_TSinonimos(const QString& SentenciaSQL) const
{
    TextoPropio s(SentenciaSQL);
    const QString marca = QStringLiteral("@Admin_");
    if (gEsAdmin)
        return s.reemplazar(marca, QString()).texto();
    if (s.contiene(QStringLiteral("MV_ASIENTOS")) && !gConfidencialidad)
        return s.reemplazar(marca, QString()).texto();

    auto aplicar = [&](const QString& x, const QString& sinonimo, int formas) {
        const QString antes[] = {QStringLiteral(" "), QStringLiteral("("), QStringLiteral(" "),
                                 QStringLiteral("("), QStringLiteral(","), QStringLiteral("{")};
        const QString despues[] = {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("."),
                                   QStringLiteral("."), QStringLiteral("."), QStringLiteral(".")};
        for (int f = 0; f < formas; ++f)
            s.reemplazar(antes[f] + x + despues[f], antes[f] + sinonimo + despues[f]);
    };
    aplicar(QStringLiteral("MA_CUENTAS"), QStringLiteral("SS_MA_CUENTAS"), 6);
    if (s.contiene(marca)) {
        s.reemplazar(QStringLiteral("@Admin_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
        s.reemplazar(QStringLiteral("SS_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
    }
    const QString exe = NombreEjecutable();
    auto es = [&](const char* n) { return exe.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    if (!es("VLVISORDEP") && !es("VLLISTADEP"))
        aplicar(QStringLiteral("V_TA_DEPOSITO"), QStringLiteral("SS_V_TA_DEPOSITO"), 5);
    aplicar(QStringLiteral("MV_ASIENTOS"), QStringLiteral("SS_MV_ASIENTOS"), 5);
    if (!es("VLTRANS") && !es("VLAUX"))
        aplicar(QStringLiteral("V_TA_FAMILIAS"), QStringLiteral("SS_V_TA_FAMILIAS"), 5);
    aplicar(QStringLiteral("V_TA_CAJAS"), QStringLiteral("SS_V_TA_CAJAS"), 5);
    aplicar(QStringLiteral("AC_CUENTASDIARIO"), QStringLiteral("SS_AC_CUENTASDIARIO"), 5);
    aplicar(QStringLiteral("AC_CUENTASDIARIO_CCOSTO"), QStringLiteral("SS_AC_CUENTAS_DIARIO_CCOSTO"), 5);
    return s.reemplazar(marca, QString()).texto();
}

namespace {

// A literal the user's regional settings read as a date.
std::optional<QDate> comoFecha(const QString& literal)
{
    const QString t = literal.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const QString corta = suite::RegionalActual().fechaCorta;
    QString sinSiglo = corta;
    sinSiglo.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    for (const QString& f : {corta, sinSiglo, corta + QStringLiteral(" HH:mm"), corta + QStringLiteral(" HH:mm:ss"),
                             QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-MM-dd HH:mm:ss")}) {
        const QDateTime d = QDateTime::fromString(t, f);
        if (d.isValid()) {
            QDate fecha = d.date();
            if (f == sinSiglo && fecha.year() < 1950)
                fecha = fecha.addYears(100);
            return fecha;
        }
    }
    return std::nullopt;
}

} // namespace

QString DB_Dll::ORACLE_Dicc(const QString& Valor) const
{
    if (!contiene(gConnString, QStringLiteral("ORACLE")))
        return Valor;
    if (suite::ContarPalabras(Valor) <= 1)
        return Valor.trimmed().compare(QLatin1String("LEN"), Qt::CaseInsensitive) == 0 ? QStringLiteral("LENGTH") : Valor;

    QString s = Valor;
    // Rule 1: TOP to ROWNUM.
    if (contiene(Valor, QStringLiteral("top "))) {
        const qsizetype p = instr(Valor, QStringLiteral("top"));
        const QString cabeza = Valor.left(p - 1);
        const QString resto = Valor.mid(p + 2).trimmed();
        const qsizetype blanco = resto.indexOf(u' ');
        if (blanco < 0)
            suite::Lanzar(5, QStringLiteral("Llamada a procedimiento o argumento no válido"), QStringLiteral("ORACLE_Dicc"));
        const QString n = resto.left(blanco);
        QString cuerpo = resto.mid(blanco + 1);
        QString grupo, orden;
        if (const qsizetype g = instr(Valor, QStringLiteral(" GROUP BY ")); g > 0)
            grupo = Valor.mid(g - 1);
        else if (const qsizetype o = instr(Valor, QStringLiteral("ORDER BY ")); o > 0)
            orden = Valor.mid(o - 1);
        const QString cond = (contiene(Valor, QStringLiteral(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ")
                                                                         : QStringLiteral(" WHERE ROWNUM <= "))
            + n;
        if (!grupo.trimmed().isEmpty())
            cuerpo = reemplazar(cuerpo, grupo.trimmed(), QStringLiteral(" "));
        if (!orden.trimmed().isEmpty())
            cuerpo = reemplazar(cuerpo, orden.trimmed(), QStringLiteral(" "));
        s = cabeza + u' ' + cuerpo + u' ' + cond + u' ' + grupo + u' ' + orden;
    }
    // Rule 2: LEN.
    for (const char* forma : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
        s = reemplazar(s, QString::fromLatin1(forma), QStringLiteral(" LENGTH("));
    // Rule 3: quoted identifiers.
    s.replace(u'[', u'"').replace(u']', u'"');
    // Rule 4: date literals.
    {
        QString r = s;
        qsizetype desde = 0;
        for (;;) {
            const qsizetype a = s.indexOf(u'\'', desde);
            if (a < 0)
                break;
            const qsizetype b = s.indexOf(u'\'', a + 1);
            if (b < 0)
                suite::Lanzar(5, QStringLiteral("Llamada a procedimiento o argumento no válido"), QStringLiteral("ORACLE_Dicc"));
            const QString literal = s.mid(a + 1, b - a - 1);
            if (const auto fecha = comoFecha(literal))
                r.replace(u'\'' + literal + u'\'', QStringLiteral("TO_DATE('") + fecha->toString(QStringLiteral("dd/MM/yyyy"))
                                                       + QStringLiteral("','DD/MM/YYYY')"),
                          Qt::CaseInsensitive);
            desde = b + 1;
        }
        while (contiene(r, QStringLiteral("TO_DATE(TO_DATE("))) {
            r = reemplazar(r, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
            r = reemplazar(r, QStringLiteral("'DD/MM/YYYY'),'DD/MM/YYYY')"), QStringLiteral("'DD/MM/YYYY')"));
        }
        s = r;
    }
    // Rule 5: CHARINDEX.
    s = reemplazar(s, QStringLiteral("Charindex"), QStringLiteral("InStr"));
    // Rule 6: CONVERT.
    s = reemplazar(s, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    s = reemplazar(s, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));
    // Rule 7: comparison with the empty string.
    if (contiene(s, QStringLiteral("WHERE "))) {
        for (const char* forma : {"= ''", "=''"}) {
            const qsizetype w = instr(s, QStringLiteral("WHERE ")) - 1;
            s = s.left(w) + reemplazar(s.mid(w), QString::fromLatin1(forma), QStringLiteral(" IS NULL "));
        }
    }
    // Rule 8: date style 103.
    for (qsizetype p = instr(s, QStringLiteral("103")); p > 0; p = instr(s, QStringLiteral("103"), p + 3)) {
        const qsizetype parentesis = s.lastIndexOf(u'(', p - 1);
        if (parentesis >= 0 && s.left(parentesis + 1).right(8).compare(QLatin1String("TO_CHAR("), Qt::CaseInsensitive) == 0)
            s.replace(p - 1, 3, QStringLiteral("'DD/MM/YYYY'"));
    }
    // Rules 9 and 10.
    s = reemplazar(s, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    s = reemplazar(s, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
    return s;
}

// ---- Reconnection ---------------------------------------------------------------------

bool DB_Dll::AsegurarConexion()
{
    for (;;) {
        try {
            if (gCnn.State() != ado::adStateOpen)
                gCnn.Open(gConnString, QString(), QString(), -1);
            gOpenFlag = gCnn.State() == ado::adStateOpen;
            return gOpenFlag;
        } catch (const std::exception&) {
            const ErrorRT e = suite::ErrorActual();
            const int decision = ConexionPerdida(e.Number, contadorAsegurar_, QStringLiteral("AsegurarConexion"));
            if (decision == 1)
                continue;
            if (decision == 2)
                suite::TerminarPrograma();
            if (suite::DialogoError(e, std::nullopt, QStringLiteral("AsegurarConexion")) != suite::vbRetry)
                return false;
        }
    }
}

bool DB_Dll::ReintentaConectar()
{
    gOpenFlag = false;
    QString cadena = gConnString;
    try {
        if (gCnn.State() != ado::adStateClosed)
            gCnn.Close();
    } catch (const std::exception&) {
    }
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
    return gOpenFlag;
}

int DB_Dll::ConexionPerdida(long, short&, const QString&)
{
    // No error is taken for a lost link.
    return 0;
}

bool DB_Dll::RecuperarEnlace(const QString&, short&)
{
    // A broken link is not recovered: the call gives up.
    return false;
}

// ---- Table helpers --------------------------------------------------------------------

int DB_Dll::avisoGeneral(const ErrorRT& e)
{
    return suite::MsgBox(e.Description, suite::vbAbortRetryIgnore + suite::vbCritical, QStringLiteral("Aviso al Operador"));
}

bool DB_Dll::buscarFila(const QString& sentencia, ado::Recordset* Lrcs, bool SoloLectura, bool traducir)
{
    bool resultado = false;
    QString s = sentencia;
    short intentos = 0;
    suite::Rutina r([&](const ErrorRT& e) {
        if (gDB.gCnn.Errors().Count() > 0 && gDB.gCnn.Errors().Item(0).NativeError == ado::err::NativoEnlacePerdido
            && RecuperarEnlace(s, intentos))
            return suite::Rutina::Repetir;
        return avisoGeneral(e);
    });
    r([&] {
        if (traducir)
            s = SS_TSinonimos(s);
    })([&] {
        if (Lrcs) {
            if (Lrcs->State() != ado::adStateClosed)
                Lrcs->Close();
            if (SoloLectura)
                Lrcs->Open(s, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
            else
                Lrcs->Open(s, &gCnn, Lrcs->CursorType(), Lrcs->LockType(), -1);
            resultado = !Lrcs->BOF();
            return;
        }
        ado::Recordset rs;
        rs.Open(traducir ? ORACLE_Dicc(s) : s, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
        resultado = !rs.BOF();
        rs.Close();
    });
    return resultado;
}

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, ado::Recordset* Lrcs,
                           const QVariant& Tipodato, const QString& Condicion, bool SoloLectura)
{
    QString s;
    if (!Condicion.isEmpty()) {
        s = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock) ") + conCondicion(Condicion);
    } else {
        const int tipo = tipoDato(Tipodato, false);
        if (tipo == DatoTexto)
            s = QStringLiteral("SELECT TOP 1  * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ")
                + igualTexto(Campo, ValorBuscado, true);
        else
            s = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ")
                + comparacion(tipo, Campo, ValorBuscado);
    }
    return buscarFila(s, Lrcs, SoloLectura, true);
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, ado::Recordset* Lrcs,
                             const QVariant& Tipodato, const QString& Condicion, bool SoloLectura)
{
    QString s;
    if (!Condicion.isEmpty()) {
        s = QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)  ") + conCondicion(Condicion);
    } else {
        const int tipo = tipoDato(Tipodato, false);
        s = QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)   WHERE ")
            + (tipo == DatoTexto ? igualTexto(Campo, ValorBuscado, false) : comparacion(tipo, Campo, ValorBuscado));
    }
    return buscarFila(s, Lrcs, SoloLectura, false);
}

QVariant DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                            const QString& Campo, const QVariant& Tipodato, const QString& Condicion, bool UsaTrim,
                            bool IgnoraError)
{
    QString s = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ");
    const int tipo = tipoDato(Tipodato, true);
    if (tipo == DatoTexto)
        s += igualTexto(Campo, ValorBuscado, UsaTrim) + QStringLiteral(" ");
    else if (tipo == DatoFecha)
        s += Campo + QStringLiteral(" = #") + ValorBuscado.trimmed() + QStringLiteral("# ");
    else
        s += comparacion(tipo, Campo, ValorBuscado);
    if (!Condicion.trimmed().isEmpty())
        s += QStringLiteral(" AND ") + Condicion;

    QVariant resultado;
    ado::Recordset rs;
    short intentos = 0;
    const bool silenciosoAntes = silencioso_;
    silencioso_ = IgnoraError;
    fallaSilenciosa_ = false;
    suite::Rutina r([&](const ErrorRT& e) {
        if (IgnoraError) {
            resultado = QString();
            return int(suite::vbCancel);
        }
        if (gDB.gCnn.Errors().Count() > 0 && gDB.gCnn.Errors().Item(0).NativeError == ado::err::NativoEnlacePerdido
            && RecuperarEnlace(s, intentos))
            return suite::Rutina::Repetir;
        return avisoGeneral(e);
    });
    bool seguir = true;
    r([&] { AbrirRecordset(s, rs, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true); })
     ([&] {
         if (!gOpenFlag) {
             seguir = false;
             return;
         }
         if (fallaSilenciosa_) {
             fallaSilenciosa_ = false;
             seguir = false;
             resultado = QString();
             return;
         }
         if (rs.State() != ado::adStateOpen || rs.BOF()) {
             resultado = QString();
             seguir = false;
         }
     })
     ([&] {
         if (seguir)
             resultado = suite::TextoVariant(suite::SinNulo(rs.Fields(CampoDevuelto).Value()));
     })
     ([&] {
         if (rs.State() != ado::adStateClosed)
             rs.Close();
     });
    silencioso_ = silenciosoAntes;
    return resultado;
}

QVariant DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const QVariant& Tipo,
                             const std::optional<QString>& Condicion)
{
    QString s = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (Condicion)
        s += QStringLiteral(" WHERE ") + Condicion->trimmed();
    ado::Recordset rs;
    rs.Open(s, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    if (rs.EOF_())
        return {};
    const QString v = suite::TextoVariant(suite::SinNulo(rs.Fields(QStringLiteral("MAYOR")).Value()));
    rs.Close();
    if (v.isEmpty())
        return {}; // an empty table: no maximum, not 0
    if (QueTabla.compare(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0 && v.trimmed().startsWith(u'0')) {
        const QString sinCeros = QStringLiteral(" substring(ltrim(idarticulo),1,1)<>'0'");
        const QString cond = (!Condicion || Condicion->isEmpty()) ? sinCeros : *Condicion + QStringLiteral(" and") + sinCeros;
        return BuscaMaximo(QueTabla, QStringLiteral("IdArticulo"), Tipo, cond);
    }
    if (tipoDato(Tipo, false) == DatoFecha)
        return v;
    return suite::ValorNumerico(v).aDouble();
}

QVariant DB_Dll::BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const QVariant&,
                             const std::optional<QString>& Condicion)
{
    QString s = QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla + QStringLiteral("  with(nolock) ");
    if (Condicion)
        s += QStringLiteral(" WHERE ") + Condicion->trimmed();
    ado::Recordset rs;
    rs.Open(s, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    if (rs.EOF_())
        return {};
    const QString v = suite::TextoVariant(suite::SinNulo(rs.Fields(QStringLiteral("MENOR")).Value()));
    if (v.isEmpty())
        return {};
    return suite::ValorNumerico(v).aDouble();
}

QVariant DB_Dll::BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const QVariant&, const QString& Condicion)
{
    QString s = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (!Condicion.trimmed().isEmpty())
        s += QStringLiteral(" WHERE ") + Condicion;
    ado::Recordset rs;
    rs.Open(s, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    if (rs.EOF_())
        return {};
    const QString v = suite::TextoVariant(rs.Fields(QStringLiteral("MAYOR")).Value());
    if (v.isEmpty())
        return {};
    return suite::ValorNumerico(v).aDouble();
}

QString DB_Dll::SQLValue(const QVariant& Valor, const QString& Tipo) const
{
    QString q1, q2, valor;
    const bool nulo = !Valor.isValid() || Valor.isNull();
    if (Tipo == QLatin1String("@")) {
        const QString texto = nulo ? QStringLiteral("0") : suite::TextoVariant(Valor);
        valor = suite::ReemplazarTexto(suite::ValorNumerico(texto).texto(suite::RegionalActual().decimal), QStringLiteral(","),
                                       QStringLiteral("."));
        return valor;
    }
    if (Tipo == QLatin1String("'"))
        q1 = q2 = QStringLiteral("'");
    if (nulo)
        return QStringLiteral("NULL");
    valor = suite::TextoVariant(Valor);
    if (!q1.isEmpty())
        valor = comillas(valor);
    return q1 + valor + q2;
}

bool DB_Dll::adodate(int t)
{
    using namespace ado;
    return t == adDate || t == adDBDate || t == adDBTime || t == adDBTimeStamp || t == adDBFileTime || t == adFileTime;
}

bool DB_Dll::ADOText(int t)
{
    using namespace ado;
    return t == adBSTR || t == adChar || t == adWChar || t == adVarChar || t == adLongVarChar || t == adVarWChar
        || t == adLongVarWChar;
}

bool DB_Dll::ADONumeric(int t)
{
    using namespace ado;
    switch (t) {
    case adSmallInt: case adInteger: case adSingle: case adDouble: case adDecimal: case adTinyInt: case adUnsignedTinyInt:
    case adUnsignedSmallInt: case adUnsignedInt: case adBigInt: case adUnsignedBigInt: case adNumeric: return true;
    default: return false;
    }
}

bool DB_Dll::ADOCurrency(int t) { return t == ado::adCurrency; }
bool DB_Dll::ADOBoolean(int t) { return t == ado::adBoolean; }
QString DB_Dll::ADOComilla(int t) { return adodate(t) || ADOText(t) ? QStringLiteral("'") : QString(); }

QString DB_Dll::stSTF(QString& rsName, int rnPart)
{
    const qsizetype puntos = rsName.count(u'.');
    if (puntos == 0)
        return rsName;
    if (puntos == 1) {
        const qsizetype p = rsName.indexOf(u'.');
        return rnPart != 0 ? rsName.mid(p + 1) : rsName.left(p);
    }
    return StripOwner(rsName);
}

QString DB_Dll::AddBrackets(const QString& n)
{
    return n.contains(u' ') && !n.startsWith(u'[') ? u'[' + n + u']' : n;
}

QString DB_Dll::StripBrackets(const QString& n) { return n.startsWith(u'[') ? n.mid(1, n.size() - 2) : n; }

QString DB_Dll::StripOwner(QString& n)
{
    const qsizetype p = n.indexOf(u'.');
    if (p >= 0)
        n = n.mid(p + 1);
    return n;
}

QString DB_Dll::StripConnect(const QString& n)
{
    const qsizetype p = n.indexOf(QStringLiteral("->"));
    return p >= 0 ? n.left(std::max<qsizetype>(p - 1, 0)) : n;
}

QString DB_Dll::StripFileName(const QString& n)
{
    const qsizetype p = std::max(n.lastIndexOf(u'\\'), n.lastIndexOf(u'/'));
    return p < 0 ? QString() : n.left(p);
}

void DB_Dll::AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                      const std::optional<QString>& ValorDefault)
{
    QString s = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo + u' ' + Tipo
        + (PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null "));
    if (ValorDefault)
        s += QStringLiteral(" CONSTRAINT DF_") + Tabla.trimmed() + u'_' + Campo.trimmed() + QStringLiteral(" DEFAULT (")
            + *ValorDefault + u')';
    long n = 0;
    suite::Rutina([&](const ErrorRT& e) { return TratamientoErrores(e, std::nullopt, QStringLiteral("errAddField")); })(
        [&] { EjecutaConsultaSQL(s, n); });
}

bool DB_Dll::ExisteTablaDB(const QString& Tabla)
{
    bool existe = false;
    suite::Rutina([&](const ErrorRT& e) { return TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos")); })([&] {
        ado::Recordset rs = gCnn.OpenSchema(ado::adSchemaTables);
        for (; !existe && !rs.EOF_(); rs.MoveNext())
            existe = rs.Fields(QStringLiteral("TABLE_NAME")).Value().toString().trimmed().compare(Tabla.trimmed(),
                                                                                                   Qt::CaseInsensitive) == 0;
    });
    return existe;
}

bool DB_Dll::ExisteCampoDB(const QString& Tabla, const QString& Campo)
{
    if (contiene(gDB.gProveedor, QStringLiteral("ORACLE")))
        return true;
    bool existe = false;
    suite::Rutina([&](const ErrorRT& e) { return TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos")); })([&] {
        ado::Recordset rs = gCnn.OpenSchema(ado::adSchemaColumns, {gDBName, QVariant(), Tabla, QVariant()});
        for (; !existe && !rs.EOF_(); rs.MoveNext())
            existe = rs.Fields(QStringLiteral("COLUMN_NAME")).Value().toString().trimmed().compare(Campo.trimmed(),
                                                                                                    Qt::CaseInsensitive) == 0;
    });
    return existe;
}

bool DB_Dll::VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo, bool PermiteNulos,
                        const std::optional<QString>& ValorDefault)
{
    if (ExisteTablaDB(Tabla) && !ExisteCampoDB(Tabla, Campo) && Agregar)
        AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
    return true;
}

int DB_Dll::TratamientoErrores(const ErrorRT& error, std::optional<int> estilo, const QString& rutina)
{
    if (error.Number == 0)
        return 0;
    const QString mensaje = suite::MensajeError(error.Number, error.Description);
    QString titulo = error.Source;
    if (!rutina.isEmpty())
        titulo += QStringLiteral(" - ") + rutina;
    titulo += QStringLiteral(" Aviso al operador!!! - 5 ");
    const int respuesta = suite::MsgBox(mensaje, estilo.value_or(suite::vbAbortRetryIgnore + suite::vbCritical), titulo);
    try {
        const QString ruta = gLogErr.isEmpty() ? CarpetaAplicacion() + QLatin1String(suite::NombreRegistroErrores) : gLogErr;
        const auto registro = suite::AbrirRegistro(ruta);
        suite::EscribirLinea(*registro, suite::LineaRegistro(suite::Ahora(), rutina, mensaje, respuesta));
    } catch (const std::exception&) {
        // the log is a help, never a reason to fail
    }
    return respuesta;
}
