#include "data/ado/postgresql/Tipos.h"

#include "suite/Moneda.h"

#include <QDateTime>
#include <cstdlib>
#include <libpq-fe.h>

namespace ado::postgresql {

QString TextoDe(const PGresult* r, int fila, int col)
{
    return QString::fromUtf8(PQgetvalue(r, fila, col), PQgetlength(r, fila, col));
}

QVariant ValorDe(const PGresult* r, int fila, int col, const TipoColumna& t, unsigned oid)
{
    if (PQgetisnull(r, fila, col))
        return {};
    const char* v = PQgetvalue(r, fila, col);
    switch (t.tipo) {
    case adBoolean:
        return oid == OidBool ? QVariant(v[0] == 't') : QVariant(std::atoi(v) != 0);
    case adInteger:
    case adSmallInt:
    case adUnsignedTinyInt:
        return std::atoi(v);
    case adBigInt:
        return qlonglong(std::atoll(v));
    case adCurrency:
    case adNumeric:
        if (t.tipo == adNumeric && t.escala > suite::Moneda::Decimales)
            return std::atof(v);
        if (auto m = suite::Moneda::leer(QString::fromLatin1(v), u'.', QChar()))
            return QVariant::fromValue(*m);
        return std::atof(v);
    case adDouble:
    case adSingle:
        return std::atof(v);
    case adDBTimeStamp: {
        const QString s = TextoDe(r, fila, col);
        QDateTime d = QDateTime::fromString(s.left(23), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (!d.isValid())
            d = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return d.isValid() ? QVariant(d) : QVariant(s);
    }
    case adDBDate:
        return QDate::fromString(TextoDe(r, fila, col), QStringLiteral("yyyy-MM-dd"));
    case adVarBinary:
    case adLongVarBinary: {
        size_t n = 0;
        unsigned char* b = PQunescapeBytea(reinterpret_cast<const unsigned char*>(v), &n);
        const QByteArray a(reinterpret_cast<const char*>(b), qsizetype(n));
        PQfreemem(b);
        return a;
    }
    default:
        return TextoDe(r, fila, col);
    }
}

} // namespace ado::postgresql
