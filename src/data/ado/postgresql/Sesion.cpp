#include "data/ado/postgresql/Sesion.h"

#include "data/ado/postgresql/Cursor.h"

#include "data/ado/Constantes.h"
#include "data/ado/servidores/PostgreSQL.h"
#include "data/ado/servidores/ErroresPostgreSQL.h"
#include "data/ado/postgresql/Tipos.h"

#include <QDateTime>
#include <QRegularExpression>
#include <libpq-fe.h>

namespace ado::postgresql {

namespace {

// "?" parameters into $1, $2... outside quotes.
QString numerar(const QString& sql)
{
    QString r;
    int n = 0;
    QChar comilla;
    for (QChar c : sql) {
        if (!comilla.isNull()) {
            if (c == comilla)
                comilla = QChar();
        } else if (c == u'\'' || c == u'"') {
            comilla = c;
        } else if (c == u'?') {
            r += u'$' + QString::number(++n);
            continue;
        }
        r += c;
    }
    return r;
}

QString campo(const PGresult* r, int codigo)
{
    const char* c = PQresultErrorField(r, codigo);
    return c ? QString::fromUtf8(c) : QString();
}

} // namespace

MotorPostgres::MotorPostgres() = default;
MotorPostgres::~MotorPostgres() { cerrar(); }

bool MotorPostgres::abierto() const { return cn_ && PQstatus(cn_.get()) == CONNECTION_OK; }

QString MotorPostgres::citar(const QString& id) const { return Citar(id); }

QString MotorPostgres::CadenaLibpq(const QMap<QString, QString>& registro, const QString& base, const QString& usuario,
                                   const QString& clave, int tiempo)
{
    auto valor = [](const QString& v) { return u'\'' + QString(v).replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'")) + u'\''; };
    QStringList partes;
    partes << QStringLiteral("host=") + valor(registro.value(QStringLiteral("servidor"), QStringLiteral("127.0.0.1")));
    if (registro.contains(QStringLiteral("puerto")))
        partes << QStringLiteral("port=") + valor(registro.value(QStringLiteral("puerto")));
    partes << QStringLiteral("dbname=") + valor(base.trimmed().toLower()) << QStringLiteral("user=") + valor(usuario.trimmed().toLower());
    if (!clave.isEmpty()) // without one libpq takes PGPASSWORD or ~/.pgpass
        partes << QStringLiteral("password=") + valor(clave);
    partes << QStringLiteral("connect_timeout=%1").arg(std::max(2, tiempo))
           << QStringLiteral("application_name='prorrata'") << QStringLiteral("client_encoding='UTF8'");
    return partes.join(u' ');
}

namespace {
// Why the administrator's connection failed, in words a user can act on, and libpq's own.
QString falloAdministrador(const QMap<QString, QString>& registro, const QString& admin, PGconn* cn)
{
    const QString msg = QString::fromUtf8(PQerrorMessage(cn)).trimmed();
    const QString servidor = registro.value(QStringLiteral("servidor"), QStringLiteral("127.0.0.1")) + u':'
        + registro.value(QStringLiteral("puerto"), QStringLiteral("5432"));
    if (msg.contains(QLatin1String("no password supplied")) || msg.contains(QLatin1String("password authentication failed")))
        return QStringLiteral("El servidor PostgreSQL %1 pide la clave del administrador %2 y no se le dio una clave válida: "
                              "póngala en la variable PGPASSWORD o en ~/.pgpass, o escríbala cuando prorrata-empresa la pida en la "
                              "terminal. (%3)")
            .arg(servidor, admin, msg);
    return QStringLiteral("No se pudo conectar como administrador %1 al servidor PostgreSQL %2: %3").arg(admin, servidor, msg);
}
} // namespace

bool MotorPostgres::CrearBase(const QMap<QString, QString>& registro, const QString& base, bool reemplazar, QString* error)
{
    const QString admin = registro.value(QStringLiteral("administrador"), QStringLiteral("postgres"));
    auto falla = [&](const QString& texto) {
        if (error)
            *error = texto;
        return false;
    };
    Conexion cn = Conectar(CadenaLibpq(registro, QStringLiteral("postgres"), admin, QString(), 10));
    if (PQstatus(cn.get()) != CONNECTION_OK)
        return falla(falloAdministrador(registro, admin, cn.get()));
    const QString nombre = base.trimmed().toLower();
    auto literal = [&](const QString& v) {
        char* e = PQescapeLiteral(cn.get(), v.toUtf8().constData(), size_t(v.toUtf8().size()));
        const QString r = QString::fromUtf8(e);
        PQfreemem(e);
        return r;
    };
    QStringList pasos;
    if (reemplazar)
        pasos << QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(Citar(nombre));
    pasos << QStringLiteral("DO $$ BEGIN CREATE ROLE %1 LOGIN PASSWORD %2; EXCEPTION WHEN duplicate_object THEN NULL; END $$")
                 .arg(Citar(nombre), literal(base.trimmed()))
          << QStringLiteral("CREATE DATABASE %1 OWNER %1 ENCODING 'UTF8' TEMPLATE template0").arg(Citar(nombre));
    for (const QString& paso : pasos) {
        const Respuesta r(PQexec(cn.get(), paso.toUtf8().constData()));
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            return falla(QString::fromUtf8(PQresultErrorMessage(r.get())).trimmed());
    }
    // The suite's logins reach each other's databases, as on the suite's SQL Server.
    cn = Conectar(CadenaLibpq(registro, nombre, admin, QString(), 10));
    if (PQstatus(cn.get()) != CONNECTION_OK)
        return falla(falloAdministrador(registro, admin, cn.get()));
    for (const char* privilegios : {"TABLES", "SEQUENCES", "FUNCTIONS"}) {
        const QString s = QStringLiteral("ALTER DEFAULT PRIVILEGES FOR ROLE %1 IN SCHEMA public GRANT ALL ON %2 TO PUBLIC")
                              .arg(Citar(nombre), QLatin1String(privilegios));
        const Respuesta r(PQexec(cn.get(), s.toUtf8().constData()));
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            return falla(QString::fromUtf8(PQresultErrorMessage(r.get())).trimmed());
    }
    return true;
}

bool MotorPostgres::BorrarBase(const QMap<QString, QString>& registro, const QString& base, QString* error)
{
    const QString admin = registro.value(QStringLiteral("administrador"), QStringLiteral("postgres"));
    const Conexion cn = Conectar(CadenaLibpq(registro, QStringLiteral("postgres"), admin, QString(), 10));
    if (PQstatus(cn.get()) != CONNECTION_OK) {
        if (error)
            *error = falloAdministrador(registro, admin, cn.get());
        return false;
    }
    const QString s = QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(Citar(base.trimmed()));
    const Respuesta r(PQexec(cn.get(), s.toUtf8().constData()));
    const bool ok = PQresultStatus(r.get()) == PGRES_COMMAND_OK;
    if (!ok && error)
        *error = QString::fromUtf8(PQerrorMessage(cn.get())).trimmed();
    return ok;
}

void MotorPostgres::abrir(const ParametrosConexion& p)
{
    cerrar();
    const QString cadena = CadenaLibpq(p.registro, p.base, p.usuario.isEmpty() ? p.base : p.usuario,
                                       p.clave.isEmpty() ? p.base : p.clave, p.tiempoConexion);
    Conexion cn = Conectar(cadena);
    if (PQstatus(cn.get()) != CONNECTION_OK) {
        const QString msg = QString::fromUtf8(PQerrorMessage(cn.get())).trimmed();
        const Categoria c = CategoriaApertura(msg);
        const QString dato = c == Categoria::BaseInexistente ? p.base.trimmed() : c == Categoria::InicioSesion ? p.usuario : p.servidor;
        throw FalloMotor({ErrorDe({c, msg, {}, 0, {dato}})});
    }
    cn_ = std::move(cn);
    PQsetClientEncoding(cn_.get(), "UTF8");
    base_ = p.base.trimmed();
    servidor_ = p.servidor.trimmed();
    comando("SET client_min_messages = warning");
    comando("SET datestyle = 'ISO, DMY'");
    fijarTiempoComando(tiempoSeg_);
}

void MotorPostgres::cerrar()
{
    cn_.reset();
    dominios_.clear();
    nombresTabla_.clear();
    declarados_.clear();
    preparada_ = false;
}

void MotorPostgres::comando(const char* sql)
{
    Respuesta{PQexec(cn_.get(), sql)};
}

void MotorPostgres::fijarTiempoComando(int segundos)
{
    tiempoSeg_ = segundos;
    if (abierto()) {
        const QByteArray s = QStringLiteral("SET statement_timeout = %1").arg(segundos > 0 ? segundos * 1000 : 0).toUtf8();
        comando(s.constData());
    }
}

void MotorPostgres::fallar(Respuesta r)
{
    const QString estado = campo(r.get(), PG_DIAG_SQLSTATE);
    QString msg = r ? campo(r.get(), PG_DIAG_MESSAGE_PRIMARY) : QString();
    if (msg.isEmpty())
        msg = QString::fromUtf8(PQerrorMessage(cn_.get())).trimmed();
    Diagnostico d = Clasificar(estado, msg);
    if (!cn_ || PQstatus(cn_.get()) != CONNECTION_OK)
        d.categoria = Categoria::EnlacePerdido;
    if (EsEnlacePerdido(d.categoria)) {
        d.datos = QStringList{servidor_};
        cerrar();
    }
    throw FalloDe(d);
}

// The extension, domains and functions a definition needs, created before it.
void MotorPostgres::asegurarTipos(const QString& sql)
{
    const QStringList previas = Preparacion(sql, !preparada_);
    if (previas.isEmpty())
        return;
    for (const QString& p : previas) {
        Respuesta r(PQexec(cn_.get(), p.toUtf8().constData()));
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            fallar(std::move(r));
    }
    preparada_ = true;
}

void MotorPostgres::describir(const PGresult* r, std::vector<Columna>& columnas, std::vector<TipoColumna>& tipos)
{
    const int n = PQnfields(r);
    columnas.resize(size_t(n));
    tipos.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        Columna& c = columnas[size_t(i)];
        c.nombre = QString::fromUtf8(PQfname(r, i));
        const Oid tabla = PQftable(r, i);
        QString dominio;
        if (tabla != InvalidOid) {
            if (!dominios_.contains(tabla)) {
                // One look at the catalog per table: its name and its columns' declared types.
                const QByteArray q = QStringLiteral("SELECT c.relname, a.attnum, t.typname, col_description(c.oid, a.attnum) FROM pg_class c "
                                                    "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 "
                                                    "JOIN pg_type t ON t.oid = a.atttypid WHERE c.oid = %1")
                                         .arg(tabla)
                                         .toUtf8();
                const Respuesta cat(PQexec(cn_.get(), q.constData()));
                QHash<int, QString> porColumna;
                if (PQresultStatus(cat.get()) == PGRES_TUPLES_OK) {
                    for (int f = 0; f < PQntuples(cat.get()); ++f) {
                        nombresTabla_.insert(tabla, TextoDe(cat.get(), f, 0));
                        porColumna.insert(std::atoi(PQgetvalue(cat.get(), f, 1)), TextoDe(cat.get(), f, 2));
                        if (!PQgetisnull(cat.get(), f, 3))
                            declarados_[tabla].insert(std::atoi(PQgetvalue(cat.get(), f, 1)), TextoDe(cat.get(), f, 3));
                    }
                }
                dominios_.insert(tabla, porColumna);
            }
            dominio = dominios_.value(tabla).value(PQftablecol(r, i));
            c.tablaBase = nombresTabla_.value(tabla);
            c.columnaBase = c.nombre;
        }
        c.nombre = NombreComoSqlServer(consulta_, c.nombre, declarados_.value(tabla).value(PQftablecol(r, i)));
        tipos[size_t(i)] = TipoDe(dominio, PQftype(r, i), PQfmod(r, i));
        if (tabla == InvalidOid && PQftype(r, i) == OidInt8) {
            // COUNT(*) and the like are int on SQL Server: so here while the values fit.
            bool cabe = true;
            for (int f = 0; f < PQntuples(r) && cabe; ++f)
                cabe = PQgetisnull(r, f, i) || std::llabs(std::atoll(PQgetvalue(r, f, i))) <= 2147483647LL;
            if (cabe)
                tipos[size_t(i)] = {adInteger, 4, 0, false};
        }
        c.tipo = tipos[size_t(i)].tipo;
        c.tamanio = tipos[size_t(i)].tamanio;
        if (c.tamanio == 0) { // a computed text: as long as its longest value
            long largo = 1;
            for (int f = 0; f < PQntuples(r); ++f)
                largo = std::max<long>(largo, long(TextoDe(r, f, i).size()));
            c.tamanio = largo;
        }
    }
}

Respuesta MotorPostgres::correr(const QString& sql, const std::vector<QVariant>* parametros)
{
    if (!abierto())
        throw FalloDe(Categoria::ConexionCerrada);
    asegurarTipos(sql);
    consulta_ = sql;
    Respuesta r;
    if (parametros) {
        std::vector<QByteArray> textos;
        std::vector<const char*> valores;
        textos.reserve(parametros->size());
        for (const QVariant& v : *parametros) {
            if (!v.isValid() || v.isNull()) {
                textos.emplace_back();
                valores.push_back(nullptr);
            } else {
                textos.push_back(TextoParametro(v).toUtf8());
                if (textos.back().contains('\0')) // libpq would cut the value there
                    throw FalloMotor({ErrorMotor{err::ErrorEnComando, tsql::MensajeCaracterNulo, QStringLiteral("22021"), 0}});
                valores.push_back(textos.back().constData());
            }
        }
        r.reset(PQexecParams(cn_.get(), numerar(sql).toUtf8().constData(), int(valores.size()), nullptr, valores.data(), nullptr,
                         nullptr, 0));
    } else {
        r.reset(PQexec(cn_.get(), sql.toUtf8().constData()));
    }
    const ExecStatusType s = PQresultStatus(r.get());
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK && s != PGRES_EMPTY_QUERY)
        fallar(std::move(r));
    return r;
}

void MotorPostgres::tomarFilas(const pg_result* r, Resultado& acum)
{
    acum.conFilas = true;
    std::vector<TipoColumna> tipos;
    describir(r, acum.columnas, tipos);
    acum.filas.fijarColumnas(acum.columnas.size());
    for (int f = 0; f < PQntuples(r); ++f) {
        QVariant* fila = acum.filas.nueva();
        for (int c = 0; c < int(tipos.size()); ++c)
            fila[c] = ValorDe(r, f, c, tipos[size_t(c)], PQftype(r, c));
    }
}

Resultado MotorPostgres::ejecutar(const QString& tsql)
{
    Resultado acum;
    const auto lote = TraducirLote(tsql);
    for (size_t i = 0; i < lote.size(); ++i) {
        const auto& s = lote[i];
        switch (s.accion) {
        case tsql::Accion::Iniciar: iniciar(tsql::RecursosSiguientes(lote, i)); break;
        case tsql::Accion::Bloquear: correr(BloqueoDeRecursos(QStringList{s.sql} + tsql::RecursosSiguientes(lote, i)), nullptr); break;
        case tsql::Accion::Confirmar: confirmarTransaccion(); break;
        case tsql::Accion::Deshacer: deshacerTransaccion(); break;
        case tsql::Accion::Sentencia: {
            const Respuesta r = correr(s.sql, nullptr);
            for (const QString& c : ComentariosDeNombres(s.sql))
                correr(c, nullptr);
            if (PQresultStatus(r.get()) == PGRES_TUPLES_OK) {
                if (!acum.conFilas)
                    tomarFilas(r.get(), acum);
            } else {
                const char* n = PQcmdTuples(r.get());
                if (n && *n)
                    acum.afectados = std::max(acum.afectados, 0L) + std::atol(n);
            }
            break;
        }
        }
    }
    return acum;
}

Resultado MotorPostgres::ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros)
{
    Resultado acum;
    const Respuesta r = correr(sql, &parametros);
    if (PQresultStatus(r.get()) == PGRES_TUPLES_OK) {
        tomarFilas(r.get(), acum);
        return acum;
    }
    const char* n = PQcmdTuples(r.get());
    if (n && *n)
        acum.afectados = std::atol(n);
    return acum;
}

std::unique_ptr<Cursor> MotorPostgres::abrirCursor(const QString& tsql)
{
    if (!abierto())
        return nullptr;
    const auto lote = TraducirLote(tsql);
    if (lote.size() != 1 || lote.front().accion != tsql::Accion::Sentencia)
        return nullptr;
    const QString sql = lote.front().sql.trimmed();
    if (!sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) && !sql.startsWith(QLatin1String("WITH"), Qt::CaseInsensitive)
        && !sql.startsWith(QLatin1String("VALUES"), Qt::CaseInsensitive))
        return nullptr;
    Respuesta r = correr(lote.front().sql, nullptr);
    if (PQresultStatus(r.get()) != PGRES_TUPLES_OK)
        return nullptr;
    std::vector<Columna> columnas;
    std::vector<TipoColumna> tipos;
    describir(r.get(), columnas, tipos);
    return CrearCursor(std::move(r), std::move(columnas), std::move(tipos));
}

void MotorPostgres::iniciarTransaccion() { iniciar({}); }

void MotorPostgres::iniciar(const QStringList& recursos)
{
    // Explicit transactions take advisory locks, as a writer on SQL Server waits for another:
    // two workstations saving one table at once queue instead of mixing their lines.
    correr(QStringLiteral("BEGIN"), nullptr);
    for (const QString& bloqueo : BloqueosDeTransaccion(recursos))
        correr(bloqueo, nullptr);
}

void MotorPostgres::confirmarTransaccion() { correr(QStringLiteral("COMMIT"), nullptr); }

void MotorPostgres::deshacerTransaccion() { correr(QStringLiteral("ROLLBACK"), nullptr); }

std::vector<TablaEsquema> MotorPostgres::tablas()
{
    const Respuesta r = correr(QStringLiteral("SELECT table_name, table_type FROM information_schema.tables "
                                               "WHERE table_schema = 'public' ORDER BY table_name"),
                               nullptr);
    std::vector<TablaEsquema> t;
    for (int f = 0; f < PQntuples(r.get()); ++f)
        t.push_back({TextoDe(r.get(), f, 0), TextoDe(r.get(), f, 1) == QLatin1String("VIEW") ? QStringLiteral("VIEW") : QStringLiteral("TABLE")});
    return t;
}

std::vector<ColumnaEsquema> MotorPostgres::columnas(const QString& tabla)
{
    QString sql = QStringLiteral("SELECT c.table_name, c.column_name, c.ordinal_position, c.is_nullable, "
                                 "COALESCE(c.domain_name, c.udt_name), t.oid, c.character_maximum_length "
                                 "FROM information_schema.columns c JOIN pg_type t ON t.typname = c.udt_name "
                                 "WHERE c.table_schema = 'public'");
    std::vector<QVariant> p;
    if (!tabla.isEmpty()) {
        sql += QStringLiteral(" AND c.table_name = ?");
        p.push_back(tabla.trimmed().toLower());
    }
    sql += QStringLiteral(" ORDER BY c.table_name, c.ordinal_position");
    const Respuesta r = correr(sql, &p);
    std::vector<ColumnaEsquema> c;
    for (int f = 0; f < PQntuples(r.get()); ++f) {
        const int largo = PQgetisnull(r.get(), f, 6) ? -1 : std::atoi(PQgetvalue(r.get(), f, 6));
        const TipoColumna t = TipoDe(TextoDe(r.get(), f, 4), unsigned(std::atol(PQgetvalue(r.get(), f, 5))), largo >= 0 ? largo + 4 : -1);
        c.push_back({TextoDe(r.get(), f, 0), TextoDe(r.get(), f, 1), std::atoi(PQgetvalue(r.get(), f, 2)), t.tipo, t.tamanio,
                     TextoDe(r.get(), f, 3) == QLatin1String("YES")});
    }
    return c;
}

} // namespace ado::postgresql
