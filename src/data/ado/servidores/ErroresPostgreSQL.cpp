#include "data/ado/servidores/ErroresPostgreSQL.h"

#include <QRegularExpression>

namespace ado::postgresql {

Diagnostico Clasificar(const QString& sqlState, const QString& mensaje)
{
    Diagnostico d{Categoria::Otro, mensaje, sqlState, 0, {}};
    const auto es = [&](const char* s) { return sqlState == QLatin1String(s); };
    if (sqlState.startsWith(QLatin1String("08")) || es("57P01") || es("57P02") || es("57P03")) {
        d.categoria = Categoria::EnlacePerdido;
    } else if (es("42P01")) {
        d.categoria = Categoria::TablaInexistente;
    } else if (es("42703")) {
        d.categoria = Categoria::ColumnaInexistente;
    } else if (es("42601")) {
        d.categoria = Categoria::Sintaxis;
    } else if (es("22001") || (es("23514") && mensaje.contains(QLatin1String("vl_largo")))) {
        // The check of our text domains names the length: vl_varchar_60.
        static const QRegularExpression dominio(QStringLiteral("vl_(?:var)?char_(\\d+)"));
        d.categoria = Categoria::Truncado;
        if (const auto m = dominio.match(mensaje); m.hasMatch())
            d.datos = QStringList{m.captured(1)};
    } else if (es("23505")) {
        d.categoria = Categoria::ClaveDuplicada;
    } else if (es("23502")) {
        d.categoria = Categoria::NuloNoAdmitido;
    } else if (sqlState.startsWith(QLatin1String("23"))) {
        d.categoria = Categoria::Restriccion;
    } else if (es("57014") || es("55P03")) {
        d.categoria = Categoria::TiempoBloqueo;
    } else if (es("40P01")) {
        d.categoria = Categoria::Interbloqueo;
    }
    return d;
}

Categoria CategoriaApertura(const QString& mensaje)
{
    if (mensaje.contains(QLatin1String("does not exist")) && mensaje.contains(QLatin1String("database")))
        return Categoria::BaseInexistente;
    if (mensaje.contains(QLatin1String("password authentication failed")) || mensaje.contains(QLatin1String("no password supplied"))
        || mensaje.contains(QLatin1String("role")))
        return Categoria::InicioSesion;
    return Categoria::SinServidor;
}

} // namespace ado::postgresql
