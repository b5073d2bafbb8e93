#include "data/ado/servidores/TiposPostgreSQL.h"

#include <QRegularExpression>

namespace ado::postgresql {

TipoColumna TipoDe(const QString& nombre, unsigned oid, int modificador)
{
    TipoColumna t;
    static const QRegularExpression texto(QStringLiteral("^vl_(var)?char_(\\d+)$"));
    if (const auto m = texto.match(nombre); m.hasMatch()) {
        t.tipo = m.captured(1).isEmpty() ? adChar : adVarChar;
        t.tamanio = m.captured(2).toLong();
        return t;
    }
    if (nombre == QLatin1String("vl_bit"))
        return {adBoolean, 2, 0, true};
    if (nombre == QLatin1String("vl_tinyint"))
        return {adUnsignedTinyInt, 1, 0, false};
    if (nombre == QLatin1String("vl_money"))
        return {adCurrency, 8, 4, false};
    if (nombre == QLatin1String("citext"))
        return {adLongVarChar, 2147483647L, 0, false};
    switch (oid) {
    case OidBool: return {adBoolean, 2, 0, false};
    case OidInt2: return {adSmallInt, 2, 0, false};
    case OidInt4: return {adInteger, 4, 0, false};
    case OidInt8: return {adBigInt, 8, 0, false};
    case OidFloat4: return {adSingle, 4, 0, false};
    case OidFloat8: return {adDouble, 8, 0, false};
    case OidNumeric: return {adNumeric, 19, modificador >= 4 ? ((modificador - 4) & 0xffff) : 4, false};
    case OidDate: return {adDBDate, 6, 0, false};
    case OidTimestamp:
    case OidTimestamptz: return {adDBTimeStamp, 16, 0, false};
    case OidBytea: return {adLongVarBinary, 2147483647L, 0, false};
    case OidVarchar: return {adVarChar, modificador >= 4 ? modificador - 4 : 8000, 0, false};
    case OidBpchar: return {adChar, modificador >= 4 ? modificador - 4 : 1, 0, false};
    default: return {adVarChar, 0, 0, false};
    }
}

QString NombreComoSqlServer(const QString& sql, const QString& nombre, const QString& declarado)
{
    // Unquoted names come back folded to lower case: the spelling of the select list (up to
    // its FROM), else the declared one, as SQL Server gives them.
    if (nombre != nombre.toLower())
        return nombre;
    static const QRegularExpression from(QStringLiteral("\\bFROM\\b"), QRegularExpression::CaseInsensitiveOption);
    const auto f = from.match(sql);
    const QString lista = f.hasMatch() ? sql.left(f.capturedStart()) : sql;
    const QRegularExpression escrito(QStringLiteral("(?<![\\w\".])") + QRegularExpression::escape(nombre) + QStringLiteral("(?![\\w\"])"),
                                     QRegularExpression::CaseInsensitiveOption);
    if (const auto m = escrito.match(lista); m.hasMatch())
        return m.captured(0);
    if (declarado.compare(nombre, Qt::CaseInsensitive) == 0)
        return declarado;
    return nombre;
}

} // namespace ado::postgresql
