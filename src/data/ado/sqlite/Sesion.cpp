#include "data/ado/sqlite/Sesion.h"

#include "data/ado/Constantes.h"
#include "data/ado/sqlite/Dialecto.h"
#include "data/ado/sqlite/Errores.h"
#include "data/ado/sqlite/FuncionesVL.h"
#include "suite/Ini.h"
#include "suite/Moneda.h"

#include <QDateTime>
#include <algorithm>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace ado::sqlite {

namespace {

// ---- Types ------------------------------------------------------------------------------

struct TipoColumna {
    int tipo = -1;     // -1: from the stored value
    long tamanio = 0;
    int escala = 0;
};

TipoColumna tipoDe(const char* declarado)
{
    TipoColumna t;
    if (!declarado)
        return t;
    static const QRegularExpression forma(QStringLiteral("^\\s*([A-Za-z_ ]+?)\\s*(?:\\(\\s*(\\w+)\\s*(?:,\\s*(\\d+)\\s*)?\\))?\\s*$"));
    const auto m = forma.match(QString::fromUtf8(declarado));
    if (!m.hasMatch())
        return t;
    const QString nombre = m.captured(1).toLower();
    const QString n = m.captured(2).toLower();
    const bool maximo = n == QLatin1String("max");
    const long largo = n.toLong();
    t.escala = m.captured(3).toInt();
    struct Fila { const char* nombre; int tipo; long tamanio; };
    static const Fila fijos[] = {
        {"int", adInteger, 4}, {"integer", adInteger, 4}, {"smallint", adSmallInt, 2},
        {"tinyint", adUnsignedTinyInt, 1}, {"bigint", adBigInt, 8}, {"bit", adBoolean, 2},
        {"money", adCurrency, 8}, {"smallmoney", adCurrency, 8}, {"float", adDouble, 8}, {"real", adSingle, 4},
        {"double", adDouble, 8}, {"datetime", adDBTimeStamp, 16}, {"smalldatetime", adDBTimeStamp, 16},
        {"datetime2", adDBTimeStamp, 16}, {"date", adDBDate, 6}, {"time", adDBTime, 6},
        {"uniqueidentifier", adGUID, 16}, {"text", adLongVarChar, 2147483647L},
        {"ntext", adLongVarWChar, 1073741823L}, {"image", adLongVarBinary, 2147483647L},
        {"numeric", adNumeric, 19}, {"decimal", adNumeric, 19},
    };
    for (const Fila& f : fijos) {
        if (nombre == QLatin1String(f.nombre)) {
            t.tipo = f.tipo;
            t.tamanio = f.tamanio;
            if (f.tipo == adNumeric && m.captured(2).isEmpty())
                t.escala = 0;
            return t;
        }
    }
    struct Variable { const char* nombre; int tipo; int tipoMax; long tamanioMax; };
    static const Variable variables[] = {
        {"char", adChar, adLongVarChar, 2147483647L}, {"nchar", adWChar, adLongVarWChar, 1073741823L},
        {"varchar", adVarChar, adLongVarChar, 2147483647L}, {"nvarchar", adVarWChar, adLongVarWChar, 1073741823L},
        {"varbinary", adVarBinary, adLongVarBinary, 2147483647L}, {"binary", adBinary, adLongVarBinary, 2147483647L},
    };
    for (const Variable& v : variables) {
        if (nombre == QLatin1String(v.nombre)) {
            t.tipo = maximo ? v.tipoMax : v.tipo;
            t.tamanio = maximo ? v.tamanioMax : (largo > 0 ? largo : 1);
            return t;
        }
    }
    t.tipo = adVarChar;
    t.tamanio = 255;
    return t;
}

QDateTime leerFecha(const QString& s)
{
    for (const char* f : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm",
                          "yyyy-MM-dd"}) {
        const QDateTime d = QDateTime::fromString(s, QLatin1String(f));
        if (d.isValid())
            return d;
    }
    return {};
}

QVariant valorDe(sqlite3_stmt* st, int i, const TipoColumna& t)
{
    const int clase = sqlite3_column_type(st, i);
    if (clase == SQLITE_NULL)
        return {};
    auto texto = [&] {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
    };
    switch (t.tipo) {
    case adInteger:
    case adSmallInt:
    case adUnsignedTinyInt:
    case adTinyInt:
        return int(sqlite3_column_int64(st, i));
    case adBigInt:
        return qlonglong(sqlite3_column_int64(st, i));
    case adBoolean:
        return sqlite3_column_int64(st, i) != 0;
    case adCurrency:
    case adNumeric:
        if (t.tipo == adNumeric && t.escala > suite::Moneda::Decimales)
            return sqlite3_column_double(st, i);
        if (clase == SQLITE_INTEGER)
            return QVariant::fromValue(suite::Moneda::desdeEntero(sqlite3_column_int64(st, i)));
        if (auto m = suite::Moneda::desdeDouble(sqlite3_column_double(st, i)))
            return QVariant::fromValue(*m);
        return sqlite3_column_double(st, i);
    case adDouble:
    case adSingle:
        return sqlite3_column_double(st, i);
    case adDBTimeStamp:
    case adDBDate:
    case adDBTime:
        if (clase == SQLITE_TEXT) {
            const QString s = texto();
            const QDateTime d = leerFecha(s);
            if (!d.isValid())
                return s;
            if (t.tipo == adDBDate)
                return d.date();
            return d;
        }
        break;
    case adBinary:
    case adVarBinary:
    case adLongVarBinary:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i));
    default:
        break;
    }
    switch (clase) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(st, i);
        if (t.tipo == -1 && v >= INT32_MIN && v <= INT32_MAX)
            return int(v);
        if (t.tipo == -1)
            return qlonglong(v);
        return texto();
    }
    case SQLITE_FLOAT:
        return t.tipo == -1 ? QVariant(sqlite3_column_double(st, i)) : QVariant(texto());
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i));
    default:
        return texto();
    }
}

// The type of a computed column, from the values it holds.
void deducirTipo(Columna& c, const Filas& filas, size_t i)
{
    int tipo = adVarChar;
    long largo = 0;
    bool visto = false;
    for (size_t f = 0; f < filas.size(); ++f) {
        const QVariant& v = filas[f][i];
        if (!v.isValid())
            continue;
        switch (v.typeId()) {
        case QMetaType::Int: tipo = visto && tipo != adInteger ? tipo : adInteger; break;
        case QMetaType::LongLong: tipo = adBigInt; break;
        case QMetaType::Double: tipo = adDouble; break;
        case QMetaType::QByteArray: tipo = adVarBinary; largo = std::max<long>(largo, long(v.toByteArray().size())); break;
        default: tipo = adVarChar; largo = std::max<long>(largo, long(v.toString().size())); break;
        }
        visto = true;
    }
    c.tipo = tipo;
    switch (tipo) {
    case adInteger: c.tamanio = 4; break;
    case adBigInt:
    case adDouble: c.tamanio = 8; break;
    default: c.tamanio = std::max<long>(largo, 1); break;
    }
}

void enlazar(sqlite3_stmt* st, int i, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    if (v.canConvert<suite::Moneda>() && v.metaType() == QMetaType::fromType<suite::Moneda>()) {
        sqlite3_bind_double(st, i, v.value<suite::Moneda>().aDouble());
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool: sqlite3_bind_int(st, i, v.toBool() ? 1 : 0); return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long: sqlite3_bind_int64(st, i, v.toLongLong()); return;
    case QMetaType::Double:
    case QMetaType::Float: sqlite3_bind_double(st, i, v.toDouble()); return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime: {
        const QByteArray b = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDate: {
        const QByteArray b = v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray b = v.toString().toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

// Names, declared types and origins of a statement's columns.
void describir(sqlite3_stmt* st, std::vector<Columna>& columnas, std::vector<TipoColumna>& tipos)
{
    const int n = sqlite3_column_count(st);
    columnas.resize(size_t(n));
    tipos.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        Columna& c = columnas[size_t(i)];
        c.nombre = QString::fromUtf8(sqlite3_column_name(st, i));
        if (const char* t = sqlite3_column_table_name(st, i))
            c.tablaBase = QString::fromUtf8(t);
        if (const char* o = sqlite3_column_origin_name(st, i))
            c.columnaBase = QString::fromUtf8(o);
        tipos[size_t(i)] = tipoDe(sqlite3_column_decltype(st, i));
        c.tipo = tipos[size_t(i)].tipo;
        c.tamanio = tipos[size_t(i)].tamanio;
    }
}

FalloMotor falloDe(sqlite3* db, int codigo);

class CursorSqlite : public Cursor {
public:
    CursorSqlite(sqlite3* db, Sentencia st)
        : db_(db), st_(std::move(st))
    {
        describir(st_.get(), columnas_, tipos_);
        paso();
        // Computed columns take the type of their first value.
        for (size_t i = 0; i < tipos_.size(); ++i) {
            if (tipos_[i].tipo != -1)
                continue;
            Columna& c = columnas_[i];
            switch (hayFila_ ? sqlite3_column_type(st_.get(), int(i)) : SQLITE_NULL) {
            case SQLITE_INTEGER: c.tipo = adInteger; c.tamanio = 4; break;
            case SQLITE_FLOAT: c.tipo = adDouble; c.tamanio = 8; break;
            case SQLITE_BLOB: c.tipo = adVarBinary; c.tamanio = std::max(1, sqlite3_column_bytes(st_.get(), int(i))); break;
            default: c.tipo = adVarChar; c.tamanio = hayFila_ ? std::max(1, sqlite3_column_bytes(st_.get(), int(i))) : 1; break;
            }
        }
        pendiente_ = true;
    }
    const std::vector<Columna>& columnas() const override { return columnas_; }

    bool siguiente() override
    {
        if (pendiente_)
            pendiente_ = false;
        else if (hayFila_)
            paso();
        return hayFila_;
    }

    QVariant valor(int i) const override { return valorDe(st_.get(), i, tipos_[size_t(i)]); }

    void leer(int i, QVariant& destino) const override
    {
        // Values go into the storage `destino` already has where they can (same type, not shared).
        const int clase = sqlite3_column_type(st_.get(), i);
        const int t = tipos_[size_t(i)].tipo;
        if (clase == SQLITE_NULL) {
            if (destino.isValid())
                destino = QVariant();
            return;
        }
        switch (t) {
        case adInteger:
        case adSmallInt:
        case adUnsignedTinyInt:
        case adTinyInt:
            destino.setValue(int(sqlite3_column_int64(st_.get(), i)));
            return;
        case adBoolean:
            destino.setValue(sqlite3_column_int64(st_.get(), i) != 0);
            return;
        case -1:
        case adVarChar:
        case adChar:
        case adVarWChar:
        case adWChar:
        case adLongVarChar:
        case adLongVarWChar:
            if (clase == SQLITE_TEXT) {
                const char* texto = reinterpret_cast<const char*>(sqlite3_column_text(st_.get(), i));
                const int largo = sqlite3_column_bytes(st_.get(), i);
                if (LeerTextoAscii(texto, largo, destino))
                    return;
                if (destino.typeId() == QMetaType::QString) { // a new string in the same variant
                    *static_cast<QString*>(destino.data()) = QString::fromUtf8(texto, largo);
                    return;
                }
            }
            break;
        default:
            break;
        }
        destino = valorDe(st_.get(), i, tipos_[size_t(i)]);
    }

    void reiniciar() override
    {
        sqlite3_reset(st_.get());
        paso();
        pendiente_ = true;
    }

private:
    void paso()
    {
        const int rc = sqlite3_step(st_.get());
        if (rc == SQLITE_ROW) {
            hayFila_ = true;
            return;
        }
        hayFila_ = false;
        if (rc != SQLITE_DONE)
            throw falloDe(db_, sqlite3_extended_errcode(db_));
    }

    sqlite3* db_;
    Sentencia st_;
    std::vector<Columna> columnas_;
    std::vector<TipoColumna> tipos_;
    bool hayFila_ = false;
    bool pendiente_ = false; // the row stepped to is not handed out yet
};

} // namespace

MotorSqlite::MotorSqlite() = default;

MotorSqlite::~MotorSqlite() { cerrar(); }

QString MotorSqlite::origen() const { return QStringLiteral("Proveedor SQLite"); }

QString MotorSqlite::ArchivoDe(const QString& carpeta, const QString& base)
{
    return suite::BuscarArchivoSinCaso(carpeta, base.trimmed() + QStringLiteral(".db"));
}

bool MotorSqlite::NombreSimple(const QString& base)
{
    const QString n = base.trimmed();
    return !n.startsWith(u'.') && !n.contains(u'/') && !n.contains(u'\\') && !n.contains(u':') && !n.contains(QChar(0));
}

bool MotorSqlite::CrearArchivo(const QString& ruta, QString* error)
{
    if (QFileInfo::exists(ruta)) {
        if (error)
            *error = QStringLiteral("El archivo %1 ya existe.").arg(ruta);
        return false;
    }
    int rc = SQLITE_OK;
    const Conexion db = AbrirConexion(ruta, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &rc);
    // Writing the header makes the file a database at once.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db.get(), "PRAGMA user_version=1", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && error)
        *error = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc));
    return rc == SQLITE_OK;
}

void MotorSqlite::Preparar(sqlite3* db, int tiempoMs)
{
    sqlite3_busy_timeout(db, tiempoMs);
    sqlite3_extended_result_codes(db, 1);
    RegistrarFuncionesVL(db);
    sqlite3_exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);
}

void MotorSqlite::abrir(const ParametrosConexion& p)
{
    cerrar();
    const QString carpeta = p.registro.value(QStringLiteral("carpeta"));
    auto fallaApertura = [&](const QString& texto, long nativo = 4060) {
        throw FalloMotor({ErrorMotor{err::Fallo, texto, QStringLiteral("42000"), nativo}});
    };
    if (carpeta.isEmpty())
        fallaApertura(QStringLiteral("El servidor %1 no indica en el registro de servidores la carpeta de sus bases de datos (clave Carpeta).")
                          .arg(p.servidor), 17);
    if (!NombreSimple(p.base))
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\": el nombre de una base de datos es un nombre "
                                     "simple, sin carpetas ni los caracteres / \\ : ni un punto al principio.")
                          .arg(p.base.trimmed()));
    const QString archivo = ArchivoDe(carpeta, p.base);
    if (p.base.trimmed().isEmpty() || !QFileInfo(archivo).isFile())
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\" solicitada por el inicio de sesión. "
                                     "Error de inicio de sesión. (No existe el archivo %2)")
                          .arg(p.base.trimmed(), archivo));

    int rc = SQLITE_OK;
    Conexion db = AbrirConexion(archivo, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, &rc);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc));
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\" (%2): %3").arg(p.base.trimmed(), archivo, msg));
    }
    Preparar(db.get(), tiempoMs_);
    // Reading the schema tells a database from any other file.
    char* error = nullptr;
    if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(error ? error : sqlite3_errmsg(db.get()));
        sqlite3_free(error);
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\" (%2): %3").arg(p.base.trimmed(), archivo, msg));
    }
    db_ = std::move(db);
    base_ = p.base.trimmed();
}

void MotorSqlite::cerrar() { db_.reset(); }

void MotorSqlite::fijarTiempoComando(int segundos)
{
    tiempoMs_ = segundos > 0 ? segundos * 1000 : 24 * 3600 * 1000; // 0: wait without limit, as ADO
    if (db_)
        sqlite3_busy_timeout(db_.get(), tiempoMs_);
}

namespace {
// The engine's failure as ADO reports it: numbers, SQLSTATE and native error.
FalloMotor falloDe(sqlite3* db, int codigo)
{
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(codigo));
    return FalloDe(Clasificar(codigo, msg));
}
} // namespace

void MotorSqlite::fallar(int codigo)
{
    FalloMotor f = falloDe(db_.get(), codigo);
    if (f.enlacePerdido)
        cerrar();
    throw f;
}

Resultado MotorSqlite::correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acum)
{
    if (!db_)
        throw FalloDe(Categoria::ConexionCerrada);
    const QByteArray texto = sql.toUtf8();
    const char* resto = texto.constData();
    const char* fin = resto + texto.size();
    while (resto < fin) {
        int rc = SQLITE_OK;
        const Sentencia s = PrepararSentencia(db_.get(), resto, fin, &resto, &rc);
        if (rc != SQLITE_OK)
            fallar(sqlite3_extended_errcode(db_.get()));
        if (!s)
            continue; // only blanks or comments left
        if (parametros) {
            for (int i = 0; i < int(parametros->size()); ++i)
                enlazar(s.get(), i + 1, (*parametros)[size_t(i)]);
        }
        const int ncol = sqlite3_column_count(s.get());
        const bool capturar = ncol > 0 && !acum.conFilas;
        std::vector<TipoColumna> tipos;
        if (capturar) {
            acum.conFilas = true;
            describir(s.get(), acum.columnas, tipos);
            acum.filas.fijarColumnas(size_t(ncol));
        }
        const sqlite3_int64 antes = sqlite3_total_changes64(db_.get());
        const bool escribe = !sqlite3_stmt_readonly(s.get());
        int paso;
        while ((paso = sqlite3_step(s.get())) == SQLITE_ROW) {
            if (!capturar)
                continue;
            QVariant* fila = acum.filas.nueva();
            for (int i = 0; i < ncol; ++i)
                fila[i] = valorDe(s.get(), i, tipos[size_t(i)]);
        }
        if (paso != SQLITE_DONE)
            fallar(sqlite3_extended_errcode(db_.get()));
        if (capturar) {
            for (int i = 0; i < ncol; ++i)
                if (tipos[size_t(i)].tipo == -1)
                    deducirTipo(acum.columnas[size_t(i)], acum.filas, size_t(i));
        }
        if (escribe && ncol == 0) {
            const sqlite3_int64 cambios = sqlite3_total_changes64(db_.get()) - antes;
            acum.afectados = (acum.afectados < 0 ? 0 : acum.afectados) + long(cambios);
            if (cambios > 0)
                acum.ultimaIdentidad = qlonglong(sqlite3_last_insert_rowid(db_.get()));
        }
    }
    return acum;
}

Resultado MotorSqlite::ejecutar(const QString& tsql)
{
    Resultado acum;
    for (const SentenciaSqlite& s : TraducirLote(tsql)) {
        switch (s.accion) {
        case Accion::Iniciar: correr(QStringLiteral("BEGIN IMMEDIATE"), nullptr, acum); break;
        case Accion::Confirmar: correr(QStringLiteral("COMMIT"), nullptr, acum); break;
        case Accion::Deshacer: correr(QStringLiteral("ROLLBACK"), nullptr, acum); break;
        case Accion::Sentencia: correr(s.sql, nullptr, acum); break;
        }
    }
    return acum;
}

Resultado MotorSqlite::ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros)
{
    Resultado acum;
    return correr(sql, &parametros, acum);
}

std::unique_ptr<Cursor> MotorSqlite::abrirCursor(const QString& tsql)
{
    if (!db_)
        return nullptr;
    const std::vector<SentenciaSqlite> lote = TraducirLote(tsql);
    if (lote.size() != 1 || lote.front().accion != Accion::Sentencia)
        return nullptr;
    const QByteArray texto = lote.front().sql.toUtf8();
    const char* resto = nullptr;
    int rc = SQLITE_OK;
    Sentencia st = PrepararSentencia(db_.get(), texto.constData(), texto.constData() + texto.size(), &resto, &rc);
    if (rc != SQLITE_OK)
        fallar(sqlite3_extended_errcode(db_.get()));
    const bool unaConsulta = st && sqlite3_column_count(st.get()) > 0 && sqlite3_stmt_readonly(st.get())
        && QByteArray(resto).trimmed().isEmpty();
    if (!unaConsulta)
        return nullptr;
    try {
        return std::make_unique<CursorSqlite>(db_.get(), std::move(st));
    } catch (const FalloMotor& f) {
        if (f.enlacePerdido)
            cerrar();
        throw;
    }
}

void MotorSqlite::iniciarTransaccion()
{
    Resultado r;
    correr(QStringLiteral("BEGIN IMMEDIATE"), nullptr, r);
}

void MotorSqlite::confirmarTransaccion()
{
    Resultado r;
    correr(QStringLiteral("COMMIT"), nullptr, r);
}

void MotorSqlite::deshacerTransaccion()
{
    Resultado r;
    correr(QStringLiteral("ROLLBACK"), nullptr, r);
}

std::vector<TablaEsquema> MotorSqlite::tablas()
{
    Resultado r;
    correr(QStringLiteral("SELECT name, upper(type) FROM sqlite_master WHERE type IN ('table','view') "
                          "AND name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY name"),
           nullptr, r);
    std::vector<TablaEsquema> t;
    for (size_t i = 0; i < r.filas.size(); ++i)
        t.push_back({r.filas[i][0].toString(), r.filas[i][1].toString()});
    return t;
}

std::vector<ColumnaEsquema> MotorSqlite::columnas(const QString& tabla)
{
    std::vector<ColumnaEsquema> c;
    const std::vector<TablaEsquema> todas = tablas();
    for (const TablaEsquema& t : todas) {
        if (!tabla.isEmpty() && t.nombre.compare(tabla, Qt::CaseInsensitive) != 0)
            continue;
        Resultado r;
        const std::vector<QVariant> p{t.nombre};
        correr(QStringLiteral("SELECT cid, name, type, \"notnull\" FROM pragma_table_info(?) ORDER BY cid"), &p, r);
        for (size_t i = 0; i < r.filas.size(); ++i) {
            const auto f = r.filas[i];
            const TipoColumna tipo = tipoDe(f[2].toString().toUtf8().constData());
            c.push_back({t.nombre, f[1].toString(), f[0].toInt() + 1, tipo.tipo == -1 ? int(adVarChar) : tipo.tipo,
                         tipo.tamanio, f[3].toInt() == 0});
        }
    }
    return c;
}

} // namespace ado::sqlite
