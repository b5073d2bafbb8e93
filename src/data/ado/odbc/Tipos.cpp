#include "data/ado/odbc/Tipos.h"

#include "data/ado/Constantes.h"
#include "suite/Moneda.h"

#include <QDateTime>

namespace ado::odbc {

TipoColumna TipoDe(SQLSMALLINT t, SQLULEN tam, SQLSMALLINT decimales)
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

QVariant ValorDe(const QString& s, const TipoColumna& c)
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

} // namespace ado::odbc
