#include "data/ado/sqlite/Tipos.h"

#include "data/ado/Constantes.h"
#include "suite/Moneda.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <sqlite3.h>

namespace ado::sqlite {

namespace {

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

} // namespace

TipoColumna TipoDe(const char* declarado)
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


QVariant ValorDe(sqlite3_stmt* st, int i, const TipoColumna& t)
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
void DeducirTipo(Columna& c, const Filas& filas, size_t i)
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

void Enlazar(sqlite3_stmt* st, int i, const QVariant& v)
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
void Describir(sqlite3_stmt* st, std::vector<Columna>& columnas, std::vector<TipoColumna>& tipos)
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
        tipos[size_t(i)] = TipoDe(sqlite3_column_decltype(st, i));
        c.tipo = tipos[size_t(i)].tipo;
        c.tamanio = tipos[size_t(i)].tamanio;
    }
}

} // namespace ado::sqlite
