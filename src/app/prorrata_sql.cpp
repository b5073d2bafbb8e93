// prorrata-sql: runs one T-SQL batch on a company database and prints what it returns.
//
//   prorrata-sql "@Server=DEMO; @DbName=EMPRESA_DEMO;" "SELECT * FROM TA_CCOSTO"
//   echo "UPDATE ..." | prorrata-sql "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA;"
//
// Rows go to standard output as tab-separated text with a header line. An error prints its
// number, native error and description on standard error and the exit status is 1; so does a
// batch that leaves a transaction open (it is rolled back). A link to the server lost and not
// recovered ends it with status 3 (suite::SalidaEnlacePerdido). The user of the connection
// text sees what the program shows that user.
#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "data/VentanaReconexion.h"
#include "data/ado/TSQL.h"
#include "startup/CNStuffContable.h"
#include "suite/CodigosSalida.h"
#include "suite/Dialogos.h"
#include "suite/ErrorRT.h"
#include "suite/SuiteUtil.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

// Dialogs of a program without a user at the screen: print them and answer "no".
class DialogosConsola : public suite::IDialogos {
public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override
    {
        QTextStream(stderr) << titulo.trimmed() << ": " << texto << Qt::endl;
        return suite::RespuestaSinOperador(estilo);
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> AbrirArchivo(const QString&, const QString&) override { return std::nullopt; }
};

// Rows as UTF-8 lines written in large blocks; tabs and line breaks inside a value become
// blanks so that each row stays one line.
class Salida {
public:
    ~Salida() { vaciar(); }
    void campo(const QString& texto, bool primero)
    {
        if (buffer_.capacity() == 0)
            buffer_.reserve(1 << 17);
        if (!primero)
            buffer_.append('\t');
        const qsizetype inicio = buffer_.size();
        // ASCII text goes in as it is; anything else through the UTF-8 encoder.
        const QChar* d = texto.constData();
        const qsizetype n = texto.size();
        buffer_.resize(inicio + n);
        char* destino = buffer_.data() + inicio;
        qsizetype k = 0;
        for (; k < n && d[k].unicode() < 0x80; ++k)
            destino[k] = blanco(char(d[k].unicode()));
        if (k == n)
            return;
        buffer_.resize(inicio);
        buffer_.append(texto.toUtf8());
        for (qsizetype j = inicio; j < buffer_.size(); ++j)
            buffer_[j] = blanco(buffer_[j]);
    }
    void finDeLinea()
    {
        buffer_.append('\n');
        if (buffer_.size() >= 1 << 16)
            vaciar();
    }

private:
    static char blanco(char c) { return c == '\t' || c == '\n' || c == '\r' ? ' ' : c; }
    void vaciar()
    {
        std::fwrite(buffer_.constData(), 1, size_t(buffer_.size()), stdout);
        buffer_.resize(0); // keeps the block: no allocation per write
    }
    QByteArray buffer_;
};

void imprimir(ado::Recordset& rs)
{
    Salida out;
    const int n = rs.FieldCount();
    std::vector<ado::Field> campos;
    for (int i = 0; i < n; ++i) {
        campos.push_back(rs.Fields(i));
        out.campo(campos.back().Name(), i == 0);
    }
    out.finDeLinea();
    for (; !rs.EOF_(); rs.MoveNext()) {
        for (int i = 0; i < n; ++i) {
            const QVariant& v = campos[size_t(i)].Value();
            out.campo(v.typeId() == QMetaType::QString ? *static_cast<const QString*>(v.constData()) : suite::TextoVariant(v),
                      i == 0);
        }
        out.finDeLinea();
    }
}

void informar(const ado::Error& e)
{
    QTextStream(stderr) << "Error " << e.Number << " (nativo " << e.NativeError << "): " << e.Description << Qt::endl;
}

// Every error of the connection, also those the data-access object clears for its callers.
int informarErrores()
{
    ado::Errors& errores = gDB.gCnn.Errors();
    for (const ado::Error& e : gDB.ErroresDescartados())
        informar(e);
    for (int i = 0; i < errores.Count(); ++i)
        informar(errores.Item(i));
    return errores.Count() + int(gDB.ErroresDescartados().size()) > 0 ? 1 : 0;
}

// For a user who is no administrator: every name of a confidential table becomes its
// restricted view (whatever its quoting or spacing), as the program's own statements read
// them. A batch that carries the "@Admin_" marker, or runs text as SQL (EXEC, EXECUTE, DO),
// could reach the tables themselves: refused, with the reason.
std::optional<QString> restringir(const QString& sql, QString& motivo)
{
    if (sql.contains(QLatin1String("@Admin_"), Qt::CaseInsensitive)) {
        motivo = QStringLiteral("el marcador @Admin_ no está permitido para el usuario %1").arg(gUsuarioLogeado);
        return std::nullopt;
    }
    static const std::pair<const char*, const char*> sinonimos[] = {
        {"MA_CUENTAS", "SS_MA_CUENTAS"},         {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
        {"MV_ASIENTOS", "SS_MV_ASIENTOS"},       {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
        {"V_TA_CAJAS", "SS_V_TA_CAJAS"},         {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
        {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
    };
    namespace t = ado::tsql;
    t::Tokens tokens = t::Tokenizar(sql);
    bool inicio = true; // at the start of a statement
    for (t::Token& k : tokens) {
        if (!k.significativo())
            continue;
        if (k.tipo == t::Tipo::Palabra
            && (k.es("EXEC") || k.es("EXECUTE") || k.es("sp_executesql") || (inicio && k.es("DO")))) {
            motivo = QStringLiteral("%1 no está permitido para el usuario %2").arg(k.texto.toUpper(), gUsuarioLogeado);
            return std::nullopt;
        }
        inicio = k.esSimbolo(';');
        if (k.tipo != t::Tipo::Palabra && k.tipo != t::Tipo::Corchetes && k.tipo != t::Tipo::Comillas)
            continue;
        const QString nombre = k.identificador();
        for (const auto& [tabla, vista] : sinonimos) {
            if (nombre.compare(QLatin1String(tabla), Qt::CaseInsensitive) != 0)
                continue;
            if (qstrcmp(tabla, "MV_ASIENTOS") != 0 || gConfidencialidad)
                k = {t::Tipo::Palabra, QString::fromLatin1(vista)};
            break;
        }
    }
    return t::Unir(tokens);
}

} // namespace

// This program's dialogs are printed; with this definition the Qt ones, and Qt's GUI
// libraries, are never linked in.
suite::IDialogos& suite::DialogosPredeterminados()
{
    static DialogosConsola consola;
    return consola;
}

// No window either for the reconnection attempts: they are reported on the error output.
namespace {
class ReconexionConsola : public IVentanaReconexion {
public:
    void Mostrar(const QString& mensaje) override { QTextStream(stderr) << mensaje << Qt::endl; }
    void Avance(int, bool) override {}
    bool Cancelar() const override { return false; }
    bool Reintentar() const override { return false; }
    void Cerrar() override {}
};
} // namespace

IVentanaReconexion& VentanaReconexionPredeterminada()
{
    static ReconexionConsola consola;
    return consola;
}

namespace {
const char Ayuda[] =
    "Uso: prorrata-sql \"@Server=SERVIDOR; @DbName=BASE;\" [SENTENCIAS]\n"
    "Ejecuta un lote T-SQL en una base de una empresa y muestra lo que devuelve.\n"
    "Sin SENTENCIAS, el lote se lee de la entrada estándar.\n"
    "\n"
    "  prorrata-sql \"@Server=DEMO; @DbName=EMPRESA_DEMO;\" \"SELECT * FROM TA_CCOSTO\"\n"
    "  echo \"UPDATE ...\" | prorrata-sql \"@Server=DEMO; @DbName=EMPRESA_DEMO;\"\n"
    "\n"
    "Las filas salen por la salida estándar separadas por tabuladores, con una línea de títulos.\n"
    "El servidor se busca en el registro de servidores (servidores.ini, ver prorrata(1)).\n"
    "\n"
    "Opciones:\n"
    "  -h, --help      muestra esta ayuda y termina\n"
    "  -V, --version   muestra la versión y termina\n"
    "\n"
    "Estado de salida: 0 correcto; 1 error de la base (o un lote que deja una transacción\n"
    "abierta, que se deshace); 2 uso incorrecto. Ver prorrata-sql(1).\n";
// The batch: after the connection text on the command line, or else on standard input.
QString leerLote(const QStringList& args)
{
    QString sql = args.mid(1).join(u' ');
    if (sql.trimmed().isEmpty()) {
        QFile entrada;
        entrada.open(stdin, QIODevice::ReadOnly);
        sql = QString::fromUtf8(entrada.readAll());
    }
    return sql;
}

// Opens the company of the connection text as its user; false (said) when it cannot.
bool abrirBase(const QString& linea)
{
    const QString base = ValorToken(linea, QStringLiteral("@DbName"));
    gDB.gServidor = ValorToken(linea, QStringLiteral("@Server"));
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = base;
    const QString usuario = ValorToken(linea, QStringLiteral("@Usuario"));
    const QString usuarioLogeado = ValorToken(linea, QStringLiteral("@UsuarioLogeado"));
    gUsuarioLogeado = usuarioLogeado.isEmpty() ? usuario : usuarioLogeado;
    gDB.OpenServerADODB(false, ado::adUseClient, QString(), false, false);
    if (!gDB.gOpenFlag) {
        if (informarErrores() == 0)
            QTextStream(stderr) << "No se pudo abrir la base " << base << " en " << gDB.gServidor << Qt::endl;
        return false;
    }
    // The user's rules, as the program applies them: confidential tables through their
    // restricted views unless the user is an administrator (without a user, or with one the
    // company does not list, the restricted views).
    gDB.gEsAdmin = gDB.ExisteTablaDB(QStringLiteral("TA_USUARIOS")) && gDB.EsAdministrador(gUsuarioLogeado);
    IniContable();
    return true;
}

// A query: its rows to standard output.
int ejecutarConsulta(QString& sql)
{
    ado::Recordset rs;
    gDB.AbrirRecordset(sql, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    if (rs.State() != ado::adStateOpen)
        return std::max(informarErrores(), 1);
    imprimir(rs);
    return 0;
}

// Any other batch: the rows it returns, else the count of rows it changed.
int ejecutarLote(QString& sql)
{
    long afectados = 0;
    ado::Recordset rs;
    gDB.EjecutaConsultaSQL(sql, afectados, &rs);
    const bool sinCerrar = ado::tsql::EfectoEnTransacciones(sql).abiertas > 0;
    const int falla = informarErrores();
    if (sinCerrar) {
        QString deshacer = QStringLiteral("ROLLBACK TRANSACTION");
        long n = 0;
        gDB.EjecutaConsultaSQL(deshacer, n);
        QTextStream(stderr) << "El lote abre una transacción y no la confirma (falta COMMIT TRANSACTION): "
                               "no se grabó nada."
                            << Qt::endl;
        return 1;
    }
    if (falla != 0)
        return 1;
    if (rs.State() == ado::adStateOpen)
        imprimir(rs);
    else if (afectados >= 0)
        QTextStream(stderr) << afectados << " filas afectadas" << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))) {
        std::fputs(Ayuda, stdout);
        return suite::SalidaNormal;
    }
    if (!args.isEmpty() && (args.first() == QLatin1String("--version") || args.first() == QLatin1String("-V"))) {
        std::printf("prorrata-sql %s\n", PRORRATA_VERSION);
        return suite::SalidaNormal;
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "uso: prorrata-sql \"@Server=SERVIDOR; @DbName=BASE;\" [SENTENCIAS]\n"
                             "Más información: prorrata-sql --help\n");
        return suite::SalidaUsoIncorrecto;
    }
    QString sql = leerLote(args);

    // A run that ends because its link was lost and not recovered says so.
    suite::FijarTerminador([](int codigo) {
        if (codigo == suite::SalidaEnlacePerdido)
            QTextStream(stderr) << "Se perdió la conexión con el servidor " << gDB.gServidor
                                << " y no se recuperó: el lote no terminó y lo que no llegó a confirmarse no quedó grabado "
                                   "(salida "
                                << codigo << ")." << Qt::endl;
    });

    if (!abrirBase(args.first()))
        return 1;

    if (!gDB.gEsAdmin) {
        QString motivo;
        const auto restringida = restringir(sql, motivo);
        if (!restringida) {
            QTextStream(stderr) << "No se ejecutó el lote: " << motivo << '.' << Qt::endl;
            return 1;
        }
        sql = *restringida;
    }

    const QString primera = sql.trimmed().section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
    if (primera.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0
        || primera.compare(QLatin1String("WITH"), Qt::CaseInsensitive) == 0)
        return ejecutarConsulta(sql);
    return ejecutarLote(sql);
}
