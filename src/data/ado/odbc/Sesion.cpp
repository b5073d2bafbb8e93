#include "data/ado/odbc/Sesion.h"

#include "data/ado/Constantes.h"
#include "data/ado/odbc/CadenaOdbc.h"
#include "data/ado/odbc/Errores.h"
#include "data/ado/odbc/Manijas.h"
#include "data/ado/postgresql/Dialecto.h"
#include "data/ado/postgresql/Sesion.h"
#include "data/ado/sqlite/Dialecto.h"
#include "suite/Moneda.h"

#include "data/ado/CadenaConexion.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <mutex>
#include <pwd.h>
#include <sql.h>
#include <sqlext.h>
#include <unistd.h>

namespace ado::odbc {

namespace {

std::u16string utf16(const QString& s) { return s.toStdU16String(); }
SQLWCHAR* w(std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }
QString deW(const SQLWCHAR* p, qsizetype n) { return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n); }

struct TipoColumna {
    int tipo;
    long tamanio;
    int escala;
    SQLSMALLINT tipoSql;
};

// ADO's type for an ODBC column.
TipoColumna tipoDe(SQLSMALLINT t, SQLULEN tam, SQLSMALLINT decimales)
{
    switch (t) {
    case SQL_CHAR:
    case SQL_WCHAR: return {adChar, long(tam), 0, t};
    case SQL_VARCHAR:
    case SQL_WVARCHAR: return {tam > 8000 || tam == 0 ? adLongVarChar : adVarChar, long(tam), 0, t};
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR: return {adLongVarChar, long(tam), 0, t};
    case SQL_BIT: return {adBoolean, 2, 0, t};
    case SQL_TINYINT: return {adUnsignedTinyInt, 1, 0, t};
    case SQL_SMALLINT: return {adSmallInt, 2, 0, t};
    case SQL_INTEGER: return {adInteger, 4, 0, t};
    case SQL_BIGINT: return {adBigInt, 8, 0, t};
    case SQL_REAL: return {adSingle, 4, 0, t};
    case SQL_FLOAT:
    case SQL_DOUBLE: return {adDouble, 8, 0, t};
    case SQL_DECIMAL:
    case SQL_NUMERIC: return {adNumeric, 19, decimales, t};
    case SQL_TYPE_DATE: return {adDBDate, 6, 0, t};
    case SQL_TYPE_TIMESTAMP: return {adDBTimeStamp, 16, 0, t};
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return {adLongVarBinary, long(tam), 0, t};
    default: return {adVarChar, long(tam), 0, t};
    }
}

QVariant valorDe(const QString& s, const TipoColumna& c)
{
    switch (c.tipo) {
    case adBoolean: return s == QLatin1String("1") || s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    case adInteger:
    case adSmallInt:
    case adUnsignedTinyInt: return s.toInt();
    case adBigInt: return s.toLongLong();
    case adNumeric:
    case adCurrency:
        if (c.escala <= suite::Moneda::Decimales)
            if (auto m = suite::Moneda::leer(s, u'.', QChar()))
                return QVariant::fromValue(*m);
        return s.toDouble();
    case adDouble:
    case adSingle: return s.toDouble();
    case adDBTimeStamp: {
        QDateTime d = QDateTime::fromString(s.left(23), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (!d.isValid())
            d = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return d.isValid() ? QVariant(d) : QVariant(s);
    }
    case adDBDate: return QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    default: return s;
    }
}

bool ok(SQLRETURN r) { return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO; }

// The PostgreSQL driver keeps its logs per process: when the process's last connection closes
// (or fails to open) it goes back to the driver-wide setting (Debian's registration:
// CommLog=1) and writes one line to /tmp/psqlodbc_[<program>_]<user><pid>.log. While no
// connection of this process asked for the logs, that file holds nothing anyone wanted and is
// removed.
class RegistrosPsql {
public:
    void abierta(bool conRegistro)
    {
        std::lock_guard l(m_);
        ++abiertas_;
        pedidos_ = pedidos_ || conRegistro;
    }
    void cerrada()
    {
        std::lock_guard l(m_);
        if (--abiertas_ > 0 || pedidos_)
            return;
        const passwd* u = ::getpwuid(::geteuid());
        const QString propio = QStringLiteral("_*%1%2.log").arg(QString::fromLocal8Bit(u ? u->pw_name : ""))
                                   .arg(QCoreApplication::applicationPid());
        const QDir tmp(QStringLiteral("/tmp"));
        for (const QString& f : tmp.entryList({QStringLiteral("psqlodbc") + propio, QStringLiteral("mylog") + propio}, QDir::Files))
            QFile::remove(tmp.filePath(f));
    }

private:
    std::mutex m_;
    int abiertas_ = 0;
    bool pedidos_ = false;
};

RegistrosPsql& registrosPsql()
{
    static auto* r = new RegistrosPsql; // never destroyed: connections may close at exit
    return *r;
}

struct CerrarRegistros {
    void operator()(RegistrosPsql* r) const { r->cerrada(); }
};

} // namespace

// One connection's handles, released in the reverse order: disconnected, the connection, the
// environment, and last the PostgreSQL driver's logs tidied.
struct MotorOdbc::Manijas {
    std::unique_ptr<RegistrosPsql, CerrarRegistros> registros; // with the PostgreSQL driver
    Entorno env = NuevoEntorno();
    Conexion dbc = NuevaConexion(env.get());
    Enlace enlace;        // once connected
    bool perdida = false; // the link is gone
};

MotorOdbc::MotorOdbc() = default;
MotorOdbc::~MotorOdbc() = default;

bool MotorOdbc::abierto() const { return h_ && h_->enlace && !h_->perdida; }

QString MotorOdbc::citar(const QString& id) const
{
    switch (dialecto_) {
    case Dialecto::PostgreSQL: return postgresql::Citar(id);
    case Dialecto::SqlServer: return u'[' + QString(id).replace(u']', QStringLiteral("]]")) + u']';
    case Dialecto::SQLite: break;
    }
    return u'"' + QString(id).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

FalloMotor MotorOdbc::fallo(short tipoManija, void* manija, bool conectada) const
{
    // Every diagnostic record is an error of its own, as ADO keeps them.
    std::vector<ErrorMotor> errores;
    bool perdido = false;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR estado[6] = {};
        SQLINTEGER nativo = 0;
        SQLWCHAR texto[2048] = {};
        SQLSMALLINT largo = 0;
        if (!ok(SQLGetDiagRecW(tipoManija, manija, i, estado, &nativo, texto, SQLSMALLINT(std::size(texto)), &largo)))
            break;
        const Registro r{deW(estado, 5), long(nativo), deW(texto, std::min<qsizetype>(largo, qsizetype(std::size(texto)) - 1))};
        Diagnostico d = Clasificar(r, conectada, dialecto_ == Dialecto::PostgreSQL);
        if (d.categoria == Categoria::SinServidor)
            d.datos = QStringList{destino_.servidor + QStringLiteral(" (ODBC)")};
        else if (d.categoria == Categoria::BaseInexistente)
            d.datos = QStringList{destino_.base};
        else if (d.categoria == Categoria::InicioSesion)
            d.datos = QStringList{destino_.usuario};
        perdido = perdido || EsEnlacePerdido(d.categoria);
        errores.push_back(ErrorDe(d));
    }
    if (errores.empty())
        errores.push_back({err::Fallo, QStringLiteral("Error del controlador ODBC."), QStringLiteral("HY000"), 0});
    return FalloMotor(std::move(errores), perdido);
}

void MotorOdbc::fallar(short tipoManija, void* manija)
{
    FalloMotor f = fallo(tipoManija, manija, h_->enlace != nullptr);
    // A lost link keeps its handles until the next cerrar() or abrir(): the failing
    // statement's own handle is released first, on the way out, and that needs its connection.
    if (f.enlacePerdido)
        h_->perdida = true;
    throw f;
}

void MotorOdbc::abrir(const ParametrosConexion& p)
{
    cerrar();
    auto h = std::make_unique<Manijas>();
    SQLSetConnectAttr(h->dbc.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(std::max(1, p.tiempoConexion))), 0);
    const QString usuario = p.usuario.isEmpty() ? p.base : p.usuario;
    const QString clave = p.clave.isEmpty() ? p.base : p.clave;
    destino_ = {p.servidor, p.base.trimmed(), usuario};
    const bool listado = p.registro.value(QStringLiteral("motor")).compare(QLatin1String("ODBC"), Qt::CaseInsensitive) == 0;
    const QString cadena = listado ? CadenaRegistro(p.registro, p.base, usuario, clave)
                                   : CadenaSqlServer(p.servidor, p.base, usuario, clave); // SQL Server through FreeTDS
    if (listado && ControladorPostgres(p.registro)) {
        const auto claves = LeerCadenaConexion(cadena);
        registrosPsql().abierta(claves.value(QStringLiteral("commlog")) != QLatin1String("0")
                                || claves.value(QStringLiteral("debug")) != QLatin1String("0"));
        h->registros.reset(&registrosPsql());
    }
    std::u16string c = utf16(cadena);
    const SQLRETURN r = SQLDriverConnectW(h->dbc.get(), nullptr, w(c), SQLSMALLINT(c.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!ok(r))
        throw fallo(SQL_HANDLE_DBC, h->dbc.get(), false); // the handles go with h (a failed opening also leaves the driver's line)
    h->enlace.reset(h->dbc.get());
    h_ = std::move(h);
    base_ = p.base.trimmed();
    SQLWCHAR nombre[128] = {};
    SQLSMALLINT largo = 0;
    SQLGetInfoW(h_->dbc.get(), SQL_DBMS_NAME, nombre, sizeof(nombre), &largo);
    dbms_ = deW(nombre, largo / qsizetype(sizeof(SQLWCHAR)));
    if (dbms_.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
        dialecto_ = Dialecto::PostgreSQL;
    else if (dbms_.contains(QLatin1String("SQLite"), Qt::CaseInsensitive))
        dialecto_ = Dialecto::SQLite;
    else
        dialecto_ = Dialecto::SqlServer;
    fijarTiempoComando(tiempoSeg_);
}

void MotorOdbc::cerrar()
{
    h_.reset();
    preparada_ = false;
    enTransaccion_ = false;
}

void MotorOdbc::fijarTiempoComando(int segundos)
{
    tiempoSeg_ = segundos;
    if (abierto() && dialecto_ == Dialecto::PostgreSQL) {
        Resultado r;
        correr(QStringLiteral("SET statement_timeout = %1").arg(segundos > 0 ? segundos * 1000 : 0), nullptr, r);
    }
}

// The batch's statements in the dialect of the database at the other end. acciones receives
// 0 for a statement, 1 begin, 2 commit, 3 roll back.
std::vector<QString> MotorOdbc::traducir(const QString& tsql, std::vector<int>* acciones)
{
    std::vector<QString> r;
    if (dialecto_ == Dialecto::SqlServer) { // T-SQL goes as written
        r.push_back(tsql);
        acciones->push_back(0);
        return r;
    }
    const auto lote = dialecto_ == Dialecto::PostgreSQL ? postgresql::TraducirLote(tsql) : sqlite::TraducirLote(tsql);
    for (const auto& s : lote) {
        r.push_back(s.sql);
        acciones->push_back(int(s.accion));
    }
    return r;
}

void MotorOdbc::correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acum)
{
    if (!abierto())
        throw FalloDe(Categoria::ConexionCerrada);
    if (dialecto_ == Dialecto::PostgreSQL) {
        const QStringList previas = postgresql::Preparacion(sql, !preparada_);
        if (!previas.isEmpty()) {
            preparada_ = true;
            for (const QString& p : previas) {
                Resultado nada;
                correr(p, nullptr, nada);
            }
        }
    }
    const Sentencia sentencia = NuevaSentencia(h_->dbc.get());
    SQLHSTMT st = sentencia.get();
    std::u16string texto = utf16(sql);
    std::vector<std::u16string> valores;
    std::vector<SQLLEN> largos;
    if (parametros) {
        valores.reserve(parametros->size());
        largos.reserve(parametros->size());
        for (size_t i = 0; i < parametros->size(); ++i) {
            const QVariant& v = (*parametros)[i];
            const bool nulo = !v.isValid() || v.isNull();
            valores.push_back(nulo ? std::u16string() : utf16(TextoParametro(v)));
            largos.push_back(nulo ? SQL_NULL_DATA : SQLLEN(valores.back().size() * sizeof(char16_t)));
            SQLBindParameter(st, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                             std::max<SQLULEN>(1, valores.back().size()), 0, w(valores.back()), 0, &largos.back());
        }
    }
    SQLRETURN r = SQLExecDirectW(st, w(texto), SQLINTEGER(texto.size()));
    if (r == SQL_NO_DATA)
        return;
    if (!ok(r))
        fallar(SQL_HANDLE_STMT, st);
    do {
        SQLSMALLINT ncol = 0;
        SQLNumResultCols(st, &ncol);
        if (ncol == 0) {
            SQLLEN n = -1;
            SQLRowCount(st, &n);
            if (n >= 0)
                acum.afectados = std::max(acum.afectados, 0L) + long(n);
            continue;
        }
        const bool capturar = !acum.conFilas;
        std::vector<TipoColumna> tipos(static_cast<size_t>(ncol));
        if (capturar) {
            acum.conFilas = true;
            acum.columnas.resize(size_t(ncol));
            acum.filas.fijarColumnas(size_t(ncol));
            for (SQLSMALLINT i = 0; i < ncol; ++i) {
                SQLWCHAR nombre[256] = {};
                SQLSMALLINT largo = 0, tipo = 0, decimales = 0, nulos = 0;
                SQLULEN tam = 0;
                SQLDescribeColW(st, SQLUSMALLINT(i + 1), nombre, 256, &largo, &tipo, &tam, &decimales, &nulos);
                tipos[size_t(i)] = tipoDe(tipo, tam, decimales);
                Columna& c = acum.columnas[size_t(i)];
                c.nombre = deW(nombre, largo);
                c.columnaBase = c.nombre;
                SQLWCHAR tabla[256] = {};
                SQLSMALLINT lt = 0;
                if (ok(SQLColAttributeW(st, SQLUSMALLINT(i + 1), SQL_DESC_BASE_TABLE_NAME, tabla, sizeof(tabla), &lt, nullptr)))
                    c.tablaBase = deW(tabla, lt / qsizetype(sizeof(SQLWCHAR)));
                // Our own column types (PostgreSQL's vl_ domains) say more than the driver's mapping.
                if (dialecto_ == Dialecto::PostgreSQL && !c.tablaBase.isEmpty() && !enCatalogo_) {
                    SQLWCHAR base[256] = {};
                    SQLSMALLINT lb = 0;
                    if (ok(SQLColAttributeW(st, SQLUSMALLINT(i + 1), SQL_DESC_BASE_COLUMN_NAME, base, sizeof(base), &lb, nullptr)) && lb > 0)
                        c.columnaBase = deW(base, lb / qsizetype(sizeof(SQLWCHAR)));
                    const QString tipoBase = tipoDeCatalogo(c.tablaBase, c.columnaBase);
                    if (tipoBase.startsWith(QLatin1String("vl_"))) {
                        const auto t = postgresql::TipoDe(tipoBase, 0, -1);
                        tipos[size_t(i)].tipo = t.tipo;
                        tipos[size_t(i)].tamanio = t.tamanio;
                        tipos[size_t(i)].escala = t.escala;
                    }
                }
                c.tipo = tipos[size_t(i)].tipo;
                c.tamanio = tipos[size_t(i)].tamanio;
            }
        }
        while (ok(r = SQLFetch(st))) {
            if (!capturar)
                continue;
            QVariant* fila = acum.filas.nueva();
            for (SQLSMALLINT i = 0; i < ncol; ++i) {
                // Text in pieces, as long as it is.
                QString valor;
                SQLLEN indicador = 0;
                SQLWCHAR trozo[1024];
                bool nulo = false;
                for (;;) {
                    const SQLRETURN g = SQLGetData(st, SQLUSMALLINT(i + 1), SQL_C_WCHAR, trozo, sizeof(trozo), &indicador);
                    if (g == SQL_NO_DATA)
                        break;
                    if (!ok(g))
                        fallar(SQL_HANDLE_STMT, st);
                    if (indicador == SQL_NULL_DATA) {
                        nulo = true;
                        break;
                    }
                    const qsizetype enTrozo = (indicador == SQL_NO_TOTAL || indicador >= SQLLEN(sizeof(trozo)))
                        ? qsizetype(std::size(trozo)) - 1
                        : qsizetype(indicador / SQLLEN(sizeof(SQLWCHAR)));
                    valor += deW(trozo, enTrozo);
                    if (g == SQL_SUCCESS)
                        break;
                }
                fila[i] = nulo ? QVariant() : valorDe(valor, tipos[size_t(i)]);
            }
        }
        if (r != SQL_NO_DATA)
            fallar(SQL_HANDLE_STMT, st);
        if (capturar) { // computed COUNT(*) and the like are int, as on SQL Server, while the values fit
            for (size_t c = 0; c < acum.columnas.size(); ++c) {
                if (acum.columnas[c].tipo != adBigInt || !acum.columnas[c].tablaBase.isEmpty())
                    continue;
                bool cabe = true;
                for (size_t f = 0; f < acum.filas.size() && cabe; ++f)
                    cabe = !acum.filas[f][c].isValid() || std::llabs(acum.filas[f][c].toLongLong()) <= 2147483647LL;
                if (!cabe)
                    continue;
                acum.columnas[c].tipo = adInteger;
                acum.columnas[c].tamanio = 4;
                for (size_t f = 0; f < acum.filas.size(); ++f)
                    if (acum.filas[f][c].isValid())
                        acum.filas[f][c] = acum.filas[f][c].toInt();
            }
        }
    } while (ok(r = SQLMoreResults(st)));
}

QString MotorOdbc::tipoDeCatalogo(const QString& tabla, const QString& columna)
{
    const QString clave = tabla.toLower();
    if (!catalogo_.contains(clave)) {
        enCatalogo_ = true; // the catalog's own columns are not looked up
        struct Fin {
            bool& b;
            ~Fin() { b = false; }
        } fin{enCatalogo_};
        Resultado r;
        const std::vector<QVariant> p{clave};
        correr(QStringLiteral("SELECT column_name, COALESCE(domain_name, udt_name) FROM information_schema.columns "
                              "WHERE table_schema = 'public' AND table_name = ?"),
               &p, r);
        QHash<QString, QString> tipos;
        for (size_t f = 0; f < r.filas.size(); ++f)
            tipos.insert(r.filas[f][0].toString().toLower(), r.filas[f][1].toString());
        catalogo_.insert(clave, tipos);
    }
    return catalogo_.value(clave).value(columna.toLower());
}

Resultado MotorOdbc::ejecutar(const QString& tsql)
{
    Resultado acum;
    std::vector<int> acciones;
    const std::vector<QString> sentencias = traducir(tsql, &acciones);
    for (size_t i = 0; i < sentencias.size(); ++i) {
        switch (tsql::Accion(acciones[i])) {
        case tsql::Accion::Iniciar: iniciarTransaccion(); break;
        case tsql::Accion::Confirmar: confirmarTransaccion(); break;
        case tsql::Accion::Deshacer: deshacerTransaccion(); break;
        case tsql::Accion::Sentencia: correr(sentencias[i], nullptr, acum); break;
        }
    }
    return acum;
}

std::unique_ptr<Cursor> MotorOdbc::abrirCursor(const QString& tsql)
{
    // A single query is read whole and handed out row by row, as a forward-only recordset.
    std::vector<int> acciones;
    const std::vector<QString> sentencias = abierto() ? traducir(tsql, &acciones) : std::vector<QString>{};
    if (sentencias.size() != 1 || acciones.front() != int(tsql::Accion::Sentencia))
        return nullptr;
    const QString sql = sentencias.front().trimmed();
    if (!sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) && !sql.startsWith(QLatin1String("WITH"), Qt::CaseInsensitive))
        return nullptr;
    Resultado r;
    correr(sql, nullptr, r);
    if (!r.conFilas)
        return nullptr;
    return std::make_unique<CursorEnMemoria>(std::move(r));
}

Resultado MotorOdbc::ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros)
{
    Resultado acum;
    correr(sql, &parametros, acum);
    return acum;
}

void MotorOdbc::iniciarTransaccion()
{
    Resultado r;
    if (dialecto_ == Dialecto::PostgreSQL) {
        correr(QStringLiteral("BEGIN"), nullptr, r);
        correr(postgresql::BloqueoDeTransaccion(), nullptr, r);
    } else {
        correr(dialecto_ == Dialecto::SqlServer ? QStringLiteral("BEGIN TRANSACTION") : QStringLiteral("BEGIN IMMEDIATE"), nullptr, r);
    }
}

void MotorOdbc::confirmarTransaccion()
{
    Resultado r;
    correr(dialecto_ == Dialecto::SqlServer ? QStringLiteral("COMMIT TRANSACTION") : QStringLiteral("COMMIT"), nullptr, r);
}

void MotorOdbc::deshacerTransaccion()
{
    Resultado r;
    correr(dialecto_ == Dialecto::SqlServer ? QStringLiteral("ROLLBACK TRANSACTION") : QStringLiteral("ROLLBACK"), nullptr, r);
}

std::vector<TablaEsquema> MotorOdbc::tablas()
{
    if (!abierto())
        throw FalloDe(Categoria::ConexionCerrada);
    const Sentencia sentencia = NuevaSentencia(h_->dbc.get());
    SQLHSTMT st = sentencia.get();
    std::u16string tipos = utf16(QStringLiteral("TABLE,VIEW"));
    std::vector<TablaEsquema> t;
    if (!ok(SQLTablesW(st, nullptr, 0, nullptr, 0, nullptr, 0, w(tipos), SQLSMALLINT(tipos.size()))))
        fallar(SQL_HANDLE_STMT, st);
    SQLWCHAR nombre[256], tipo[64];
    SQLLEN ln = 0, lt = 0;
    SQLBindCol(st, 3, SQL_C_WCHAR, nombre, sizeof(nombre), &ln);
    SQLBindCol(st, 4, SQL_C_WCHAR, tipo, sizeof(tipo), &lt);
    while (ok(SQLFetch(st))) {
        const QString n = deW(nombre, ln / qsizetype(sizeof(SQLWCHAR)));
        if (n.startsWith(QLatin1String("sqlite_")) || n.startsWith(QLatin1String("pg_")))
            continue;
        t.push_back({n, deW(tipo, lt / qsizetype(sizeof(SQLWCHAR))).contains(QLatin1String("VIEW")) ? QStringLiteral("VIEW")
                                                                                                     : QStringLiteral("TABLE")});
    }
    return t;
}

std::vector<ColumnaEsquema> MotorOdbc::columnas(const QString& tabla)
{
    std::vector<ColumnaEsquema> c;
    for (const TablaEsquema& t : tablas()) {
        if (!tabla.isEmpty() && t.nombre.compare(tabla, Qt::CaseInsensitive) != 0)
            continue;
        const Sentencia sentencia = NuevaSentencia(h_->dbc.get());
        SQLHSTMT st = sentencia.get();
        std::u16string nombreTabla = utf16(t.nombre);
        if (!ok(SQLColumnsW(st, nullptr, 0, nullptr, 0, w(nombreTabla), SQLSMALLINT(nombreTabla.size()), nullptr, 0)))
            fallar(SQL_HANDLE_STMT, st);
        SQLWCHAR columna[256];
        SQLSMALLINT tipo = 0, decimales = 0, nulos = 0;
        SQLINTEGER tam = 0;
        SQLINTEGER posicion = 0;
        SQLLEN lc = 0, lt = 0, ls = 0, ld = 0, ln = 0, lp = 0;
        SQLBindCol(st, 4, SQL_C_WCHAR, columna, sizeof(columna), &lc);
        SQLBindCol(st, 5, SQL_C_SSHORT, &tipo, 0, &lt);
        SQLBindCol(st, 7, SQL_C_SLONG, &tam, 0, &ls);
        SQLBindCol(st, 9, SQL_C_SSHORT, &decimales, 0, &ld);
        SQLBindCol(st, 11, SQL_C_SSHORT, &nulos, 0, &ln);
        SQLBindCol(st, 17, SQL_C_SLONG, &posicion, 0, &lp);
        while (ok(SQLFetch(st))) {
            TipoColumna x = tipoDe(tipo, SQLULEN(std::max<SQLINTEGER>(0, tam)), decimales);
            const QString nombre = deW(columna, lc / qsizetype(sizeof(SQLWCHAR)));
            if (dialecto_ == Dialecto::PostgreSQL) {
                const QString declarado = tipoDeCatalogo(t.nombre, nombre);
                if (declarado.startsWith(QLatin1String("vl_"))) {
                    const auto d = postgresql::TipoDe(declarado, 0, -1);
                    x.tipo = d.tipo;
                    x.tamanio = d.tamanio;
                }
            }
            c.push_back({t.nombre, deW(columna, lc / qsizetype(sizeof(SQLWCHAR))), int(posicion), x.tipo, x.tamanio, nulos != SQL_NO_NULLS});
        }
    }
    return c;
}

} // namespace ado::odbc
