#include "data/ado/odbc/Sesion.h"

#include "data/ado/Constantes.h"
#include "data/ado/odbc/CadenaOdbc.h"
#include "data/ado/odbc/Errores.h"
#include "data/ado/odbc/Manijas.h"
#include "data/ado/servidores/Servidor.h"
#include "data/ado/odbc/Tipos.h"
#include "data/ado/servidores/PostgreSQL.h"
#include "data/ado/servidores/TiposPostgreSQL.h"
#include "suite/Moneda.h"

#include "data/ado/CadenaConexion.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <mutex>
#include <pwd.h>
#include <sql.h>
#include <sqlext.h>
#include <unistd.h>

namespace ado::odbc {

namespace {


// The PostgreSQL driver counts its connections with logs on and off; when none is left it
// goes back to the driver-wide setting (Debian's registration: CommLog=1) and writes to
// /tmp/psqlodbc_<program>_<user><pid>.log, a name anyone can foresee in a shared folder. An
// opening that fails after the driver read its options is counted and never uncounted, so
// one such opening with the logs off, early in the process, keeps them off for its whole
// life: the port "-" fails in the client library before any network work. Its handles are
// kept, so that the driver stays loaded with its count. Once per driver (or data source).
void ApagarRegistrosPsql(const QString& controlador)
{
    static std::mutex m;
    static QSet<QString> hechos;
    std::lock_guard l(m);
    if (hechos.contains(controlador))
        return;
    hechos.insert(controlador);
    SQLHENV env = SQL_NULL_HANDLE;
    SQLHDBC dbc = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)))
        return;
    std::u16string c = Ancho(controlador + QStringLiteral("Server=127.0.0.1;Port=-;CommLog=0;Debug=0;"));
    SQLDriverConnectW(dbc, nullptr, Puntero(c), SQLSMALLINT(c.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
}

} // namespace

// Parameters bound as wide text; the buffers live as long as the statement runs.
struct Enlazados {
    std::vector<std::u16string> valores;
    std::vector<SQLLEN> largos;
};

// One connection's handles, released in the reverse order: disconnected, the connection, the
// environment.
struct MotorOdbc::Manijas {
    Entorno env = NuevoEntorno();
    Conexion dbc = NuevaConexion(env.get());
    Enlace enlace;        // once connected
    bool perdida = false; // the link is gone
};

MotorOdbc::MotorOdbc() : turno_(std::make_shared<Turno>())
{
    turno_->consultar = [this](const QString& sql) {
        SQLRETURN r = SQL_SUCCESS;
        Enlazados sinParametros;
        return enviar(sql, nullptr, sinParametros, r);
    };
    turno_->fallar = [this](SQLHSTMT st) { fallar(SQL_HANDLE_STMT, st); };
}

// A cursor still reading goes to memory before the handles go.
MotorOdbc::~MotorOdbc() { cerrar(); }

bool MotorOdbc::abierto() const { return h_ && h_->enlace && !h_->perdida; }

QString MotorOdbc::citar(const QString& id) const { return servidores::Citar(dialecto_, id); }

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
        if (!Exito(SQLGetDiagRecW(tipoManija, manija, i, estado, &nativo, texto, SQLSMALLINT(std::size(texto)), &largo)))
            break;
        const Registro r{DeAncho(estado, 5), long(nativo), DeAncho(texto, std::min<qsizetype>(largo, qsizetype(std::size(texto)) - 1))};
        Diagnostico d = Clasificar(r, conectada, dialecto_ == Dialecto::PostgreSQL);
        if (d.categoria == Categoria::SinServidor || d.categoria == Categoria::EnlacePerdido || d.categoria == Categoria::AccesoPerdido)
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
        const QString dsn = p.registro.value(QStringLiteral("dsn"));
        ApagarRegistrosPsql(dsn.isEmpty() ? QStringLiteral("Driver={%1};").arg(p.registro.value(QStringLiteral("driver")))
                                          : QStringLiteral("DSN=%1;").arg(dsn));
    }
    std::u16string c = Ancho(cadena);
    const SQLRETURN r = SQLDriverConnectW(h->dbc.get(), nullptr, Puntero(c), SQLSMALLINT(c.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!Exito(r)) {
        FalloMotor f = fallo(SQL_HANDLE_DBC, h->dbc.get(), false); // the handles go with h
        // A driver or data source the registry names and this workstation lacks: which, and
        // where it is written, before the driver manager's own words.
        const auto sinControlador = [](const ErrorMotor& e) {
            return e.sqlState == QLatin1String("IM002") || e.sqlState == QLatin1String("IM003")
                || e.descripcion.contains(QLatin1String("Can't open lib"));
        };
        if (listado && !f.errores.empty() && sinControlador(f.errores.front())) {
            const bool conDsn = p.registro.contains(QStringLiteral("dsn"));
            const QString clave = conDsn ? QStringLiteral("DSN") : QStringLiteral("Driver");
            QString seccion = p.servidor;
            if (!BuscarServidor(seccion))
                seccion = SepararPuerto(p.servidor).nombre;
            f.errores.front().descripcion = QStringLiteral("%1 «%2» del servidor %3 no está instalado en este equipo (%4): %5")
                                                .arg(conDsn ? QStringLiteral("El origen de datos ODBC") : QStringLiteral("El controlador ODBC"),
                                                     p.registro.value(clave.toLower(), QStringLiteral("FreeTDS")), seccion,
                                                     UbicacionEnRegistro(seccion, clave), f.errores.front().descripcion);
        }
        throw f;
    }
    h->enlace.reset(h->dbc.get());
    h_ = std::move(h);
    base_ = p.base.trimmed();
    SQLWCHAR nombre[128] = {};
    SQLSMALLINT largo = 0;
    SQLGetInfoW(h_->dbc.get(), SQL_DBMS_NAME, nombre, sizeof(nombre), &largo);
    dbms_ = DeAncho(nombre, largo / qsizetype(sizeof(SQLWCHAR)));
    dialecto_ = servidores::DialectoDe(dbms_);
    fijarTiempoComando(tiempoSeg_);
}

void MotorOdbc::cerrar()
{
    liberarCursor();
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

namespace {

void enlazar(SQLHSTMT st, const std::vector<QVariant>& parametros, Enlazados& e)
{
    e.valores.reserve(parametros.size()); // the driver keeps pointers into them
    e.largos.reserve(parametros.size());
    for (size_t i = 0; i < parametros.size(); ++i) {
        const QVariant& v = parametros[i];
        const bool nulo = !v.isValid() || v.isNull();
        e.valores.push_back(nulo ? std::u16string() : Ancho(TextoParametro(v)));
        e.largos.push_back(nulo ? SQL_NULL_DATA : SQLLEN(e.valores.back().size() * sizeof(char16_t)));
        SQLBindParameter(st, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                         std::max<SQLULEN>(1, e.valores.back().size()), 0, Puntero(e.valores.back()), 0, &e.largos.back());
    }
}

// Computed COUNT(*) and the like are int, as on SQL Server, while the values fit.
void enterosComoSqlServer(Resultado& acum)
{
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

} // namespace

Sentencia MotorOdbc::enviar(const QString& sql, const std::vector<QVariant>* parametros, Enlazados& enlazados, SQLRETURN& r)
{
    liberarCursor();
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
    Sentencia sentencia = NuevaSentencia(h_->dbc.get());
    SQLHSTMT st = sentencia.get();
    if (parametros)
        enlazar(st, *parametros, enlazados);
    std::u16string texto = Ancho(sql);
    r = SQLExecDirectW(st, Puntero(texto), SQLINTEGER(texto.size()));
    if (r != SQL_NO_DATA && !Exito(r))
        fallar(SQL_HANDLE_STMT, st);
    return sentencia;
}

void MotorOdbc::correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acum)
{
    SQLRETURN r = SQL_SUCCESS;
    Enlazados enlazados; // declared before the statement, so they outlive it
    const Sentencia sentencia = enviar(sql, parametros, enlazados, r);
    if (r != SQL_NO_DATA)
        leerResultados(sql, sentencia.get(), acum);
}

void MotorOdbc::leerResultados(const QString& sql, SQLHSTMT st, Resultado& acum)
{
    SQLRETURN r;
    do {
        SQLSMALLINT ncol = 0;
        SQLNumResultCols(st, &ncol);
        if (ncol == 0) {
            SQLLEN n = -1;
            SQLRowCount(st, &n);
            if (n >= 0)
                acum.afectados = std::max(acum.afectados, 0L) + long(n);
        } else if (acum.conFilas) { // only the first row set is kept
            leerPasado(st);
        } else {
            const std::vector<TipoColumna> tipos = describir(sql, st, ncol, acum);
            Lector(st, tipos, acum.columnas, [this](SQLHSTMT s) { fallar(SQL_HANDLE_STMT, s); }).volcar(acum.filas);
            enterosComoSqlServer(acum);
        }
    } while (Exito(r = SQLMoreResults(st)));
}

void MotorOdbc::leerPasado(SQLHSTMT st)
{
    SQLRETURN r;
    while (Exito(r = SQLFetch(st))) {
    }
    if (r != SQL_NO_DATA)
        fallar(SQL_HANDLE_STMT, st);
}

void MotorOdbc::liberarCursor()
{
    if (turno_ && turno_->activo)
        turno_->activo->aMemoria();
}

// The row set's columns: names (on PostgreSQL as SQL Server spells them), ADO types and sizes,
// base tables.
std::vector<TipoColumna> MotorOdbc::describir(const QString& sql, SQLHSTMT st, SQLSMALLINT ncol, Resultado& acum)
{
    std::vector<TipoColumna> tipos(static_cast<size_t>(ncol));
    acum.conFilas = true;
    acum.columnas.resize(size_t(ncol));
    acum.filas.fijarColumnas(size_t(ncol));
    for (SQLSMALLINT i = 0; i < ncol; ++i) {
        SQLWCHAR nombre[256] = {};
        SQLSMALLINT largo = 0, tipo = 0, decimales = 0, nulos = 0;
        SQLULEN tam = 0;
        SQLDescribeColW(st, SQLUSMALLINT(i + 1), nombre, 256, &largo, &tipo, &tam, &decimales, &nulos);
        tipos[size_t(i)] = TipoDe(tipo, tam, decimales);
        ColumnaCatalogo declarado;
        Columna& c = acum.columnas[size_t(i)];
        c.nombre = DeAncho(nombre, largo);
        c.columnaBase = c.nombre;
        SQLWCHAR tabla[256] = {};
        SQLSMALLINT lt = 0;
        if (Exito(SQLColAttributeW(st, SQLUSMALLINT(i + 1), SQL_DESC_BASE_TABLE_NAME, tabla, sizeof(tabla), &lt, nullptr)))
            c.tablaBase = DeAncho(tabla, lt / qsizetype(sizeof(SQLWCHAR)));
        // Our own column types (PostgreSQL's vl_ domains) say more than the driver's mapping.
        if (dialecto_ == Dialecto::PostgreSQL && !c.tablaBase.isEmpty() && !enCatalogo_) {
            SQLWCHAR base[256] = {};
            SQLSMALLINT lb = 0;
            if (Exito(SQLColAttributeW(st, SQLUSMALLINT(i + 1), SQL_DESC_BASE_COLUMN_NAME, base, sizeof(base), &lb, nullptr)) && lb > 0)
                c.columnaBase = DeAncho(base, lb / qsizetype(sizeof(SQLWCHAR)));
            declarado = catalogoDe(c.tablaBase, c.columnaBase);
            const QString& tipoBase = declarado.tipo;
            if (tipoBase.startsWith(QLatin1String("vl_"))) {
                const auto t = postgresql::TipoDe(tipoBase, 0, -1);
                tipos[size_t(i)].tipo = t.tipo;
                tipos[size_t(i)].tamanio = t.tamanio;
                tipos[size_t(i)].escala = t.escala;
            }
        }
        if (dialecto_ == Dialecto::PostgreSQL && !enCatalogo_)
            c.nombre = postgresql::NombreComoSqlServer(sql, c.nombre, declarado.declarado);
        c.tipo = tipos[size_t(i)].tipo;
        c.tamanio = tipos[size_t(i)].tamanio;
    }
    return tipos;
}

MotorOdbc::ColumnaCatalogo MotorOdbc::catalogoDe(const QString& tabla, const QString& columna)
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
        correr(QStringLiteral("SELECT column_name, COALESCE(domain_name, udt_name), "
                              "col_description((quote_ident(table_schema) || '.' || quote_ident(table_name))::regclass, "
                              "ordinal_position::int) FROM information_schema.columns "
                              "WHERE table_schema = 'public' AND table_name = ?"),
               &p, r);
        QHash<QString, ColumnaCatalogo> columnas;
        for (size_t f = 0; f < r.filas.size(); ++f)
            columnas.insert(r.filas[f][0].toString().toLower(), {r.filas[f][1].toString(), r.filas[f][2].toString()});
        catalogo_.insert(clave, columnas);
    }
    return catalogo_.value(clave).value(columna.toLower());
}

Resultado MotorOdbc::ejecutar(const QString& tsql)
{
    Resultado acum;
    std::vector<int> acciones;
    const std::vector<QString> sentencias = servidores::Traducir(dialecto_, tsql, &acciones);
    // The resources of the lock statements after statement j; j moves onto the last of them.
    const auto recursosSiguientes = [&](size_t& j) {
        QStringList r;
        while (j + 1 < sentencias.size() && tsql::Accion(acciones[j + 1]) == tsql::Accion::Bloquear)
            r << sentencias[++j];
        return r;
    };
    for (size_t i = 0; i < sentencias.size(); ++i) {
        switch (tsql::Accion(acciones[i])) {
        case tsql::Accion::Iniciar: iniciar(recursosSiguientes(i)); break;
        case tsql::Accion::Bloquear: {
            const QStringList recursos = QStringList{sentencias[i]} + recursosSiguientes(i);
            if (dialecto_ == Dialecto::PostgreSQL) { // SQLite's BEGIN IMMEDIATE already holds the whole file
                Resultado nada;
                correr(postgresql::BloqueoDeRecursos(recursos), nullptr, nada);
            }
            break;
        }
        case tsql::Accion::Confirmar: confirmarTransaccion(); break;
        case tsql::Accion::Deshacer: deshacerTransaccion(); break;
        case tsql::Accion::Sentencia:
            correr(sentencias[i], nullptr, acum);
            if (dialecto_ == Dialecto::PostgreSQL)
                for (const QString& c : postgresql::ComentariosDeNombres(sentencias[i])) {
                    Resultado nada;
                    correr(c, nullptr, nada);
                }
            break;
        }
    }
    return acum;
}

std::unique_ptr<Cursor> MotorOdbc::abrirCursor(const QString& tsql)
{
    // A single query streams its rows as a forward-only recordset.
    std::vector<int> acciones;
    const std::vector<QString> sentencias = abierto() ? servidores::Traducir(dialecto_, tsql, &acciones) : std::vector<QString>{};
    if (sentencias.size() != 1 || acciones.front() != int(tsql::Accion::Sentencia))
        return nullptr;
    const QString sql = sentencias.front().trimmed();
    if (!sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) && !sql.startsWith(QLatin1String("WITH"), Qt::CaseInsensitive))
        return nullptr;
    SQLRETURN r = SQL_SUCCESS;
    Enlazados enlazados;
    Sentencia sentencia = enviar(sql, nullptr, enlazados, r);
    if (r == SQL_NO_DATA)
        return nullptr;
    SQLHSTMT st = sentencia.get();
    Resultado acum;
    SQLSMALLINT ncol = 0;
    SQLNumResultCols(st, &ncol);
    if (ncol == 0) { // no row set first: the statement's results as a batch gives them
        leerResultados(sql, st, acum);
        return acum.conFilas ? std::make_unique<CursorEnMemoria>(std::move(acum)) : nullptr;
    }
    std::vector<TipoColumna> tipos = describir(sql, st, ncol, acum);
    // Computed bigint columns are int when every value fits: those results are read whole.
    if (std::any_of(acum.columnas.begin(), acum.columnas.end(),
                    [](const Columna& c) { return c.tipo == adBigInt && c.tablaBase.isEmpty(); })) {
        Lector(st, tipos, acum.columnas, [this](SQLHSTMT s) { fallar(SQL_HANDLE_STMT, s); }).volcar(acum.filas);
        enterosComoSqlServer(acum);
        while (Exito(SQLMoreResults(st))) {
            SQLNumResultCols(st, &ncol);
            if (ncol > 0)
                leerPasado(st);
        }
        return std::make_unique<CursorEnMemoria>(std::move(acum));
    }
    return std::make_unique<CursorOdbc>(turno_, sql, std::move(acum.columnas), std::move(tipos), std::move(sentencia));
}

Resultado MotorOdbc::ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros)
{
    Resultado acum;
    correr(sql, &parametros, acum);
    return acum;
}

void MotorOdbc::iniciarTransaccion() { iniciar({}); }

void MotorOdbc::iniciar(const QStringList& recursos)
{
    Resultado r;
    if (dialecto_ == Dialecto::PostgreSQL) {
        correr(QStringLiteral("BEGIN"), nullptr, r);
        for (const QString& bloqueo : postgresql::BloqueosDeTransaccion(recursos))
            correr(bloqueo, nullptr, r);
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
    liberarCursor();
    if (!abierto())
        throw FalloDe(Categoria::ConexionCerrada);
    const Sentencia sentencia = NuevaSentencia(h_->dbc.get());
    SQLHSTMT st = sentencia.get();
    std::u16string tipos = Ancho(QStringLiteral("TABLE,VIEW"));
    std::vector<TablaEsquema> t;
    if (!Exito(SQLTablesW(st, nullptr, 0, nullptr, 0, nullptr, 0, Puntero(tipos), SQLSMALLINT(tipos.size()))))
        fallar(SQL_HANDLE_STMT, st);
    SQLWCHAR nombre[256], tipo[64];
    SQLLEN ln = 0, lt = 0;
    SQLBindCol(st, 3, SQL_C_WCHAR, nombre, sizeof(nombre), &ln);
    SQLBindCol(st, 4, SQL_C_WCHAR, tipo, sizeof(tipo), &lt);
    while (Exito(SQLFetch(st))) {
        const QString n = DeAncho(nombre, ln / qsizetype(sizeof(SQLWCHAR)));
        if (n.startsWith(QLatin1String("sqlite_")) || n.startsWith(QLatin1String("pg_")))
            continue;
        t.push_back({n, DeAncho(tipo, lt / qsizetype(sizeof(SQLWCHAR))).contains(QLatin1String("VIEW")) ? QStringLiteral("VIEW")
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
        std::u16string nombreTabla = Ancho(t.nombre);
        if (!Exito(SQLColumnsW(st, nullptr, 0, nullptr, 0, Puntero(nombreTabla), SQLSMALLINT(nombreTabla.size()), nullptr, 0)))
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
        while (Exito(SQLFetch(st))) {
            TipoColumna x = TipoDe(tipo, SQLULEN(std::max<SQLINTEGER>(0, tam)), decimales);
            const QString nombre = DeAncho(columna, lc / qsizetype(sizeof(SQLWCHAR)));
            if (dialecto_ == Dialecto::PostgreSQL) {
                const QString declarado = catalogoDe(t.nombre, nombre).tipo;
                if (declarado.startsWith(QLatin1String("vl_"))) {
                    const auto d = postgresql::TipoDe(declarado, 0, -1);
                    x.tipo = d.tipo;
                    x.tamanio = d.tamanio;
                }
            }
            c.push_back({t.nombre, DeAncho(columna, lc / qsizetype(sizeof(SQLWCHAR))), int(posicion), x.tipo, x.tamanio, nulos != SQL_NO_NULLS});
        }
    }
    return c;
}

} // namespace ado::odbc
