#include "data/ado/odbc/Errores.h"

#include "data/ado/Constantes.h"
#include "data/ado/servidores/ErroresPostgreSQL.h"

namespace ado::odbc {

namespace {
bool enlaceCaido(const Registro& r)
{
    const auto dice = [&](const char* s) { return r.mensaje.contains(QLatin1String(s), Qt::CaseInsensitive); };
    return r.sqlState.startsWith(QLatin1String("08")) || r.sqlState.startsWith(QLatin1String("57P0"))
        || dice("connection has been lost") || dice("communication link") || dice("server closed the connection")
        || dice("no connection to the server");
}

bool inicioRechazado(const Registro& r)
{
    return r.sqlState == QLatin1String("28000") || r.sqlState == QLatin1String("28P01") || r.nativo == 18456
        || r.mensaje.contains(QLatin1String("password authentication failed")) || r.mensaje.contains(QLatin1String("no password supplied"));
}

bool sinBase(const Registro& r)
{
    return r.mensaje.contains(QLatin1String("does not exist")) && r.mensaje.contains(QLatin1String("database"));
}
} // namespace

Diagnostico Clasificar(const Registro& r, bool conectada, bool postgres)
{
    Diagnostico d{Categoria::Otro, r.mensaje, r.sqlState, r.nativo, {}};
    if (!conectada && inicioRechazado(r)) {
        d.categoria = Categoria::InicioSesion;
    } else if (!conectada && sinBase(r)) {
        d.categoria = Categoria::BaseInexistente;
    } else if (enlaceCaido(r)) {
        d.categoria = conectada ? Categoria::EnlacePerdido : Categoria::SinServidor;
    } else if (r.sqlState == QLatin1String("HYT00")) {
        d.categoria = Categoria::TiempoBloqueo;
    } else if (postgres) {
        // The driver's native numbers are its own; the server's SQLSTATE says what happened.
        d = postgresql::Clasificar(r.sqlState, r.mensaje);
    } else {
        const auto es = [&](const char* s) { return r.sqlState == QLatin1String(s); };
        if (es("22001") || r.nativo == err::NativoTruncado)
            d.categoria = Categoria::Truncado;
        else if (r.nativo == 2627 || r.nativo == 2601)
            d.categoria = Categoria::ClaveDuplicada;
        else if (r.nativo == 515)
            d.categoria = Categoria::NuloNoAdmitido;
        else if (r.sqlState.startsWith(QLatin1String("23")))
            d.categoria = Categoria::Restriccion;
        else if (es("42S02"))
            d.categoria = Categoria::TablaInexistente;
        else if (es("42S22"))
            d.categoria = Categoria::ColumnaInexistente;
        else if (sinBase(r))
            d.categoria = Categoria::BaseInexistente;
        else if (inicioRechazado(r))
            d.categoria = Categoria::InicioSesion;
    }
    return d;
}

} // namespace ado::odbc
