#pragma once
// Owners of the libpq handles, taken the moment the library hands one out.

#include <QString>
#include <memory>

struct pg_conn;
struct pg_result;

namespace ado::postgresql {

struct CerrarConexion {
    void operator()(pg_conn* cn) const; // PQfinish
};
struct LiberarRespuesta {
    void operator()(pg_result* r) const; // PQclear
};

using Conexion = std::unique_ptr<pg_conn, CerrarConexion>;
using Respuesta = std::unique_ptr<pg_result, LiberarRespuesta>; // what the server answered to one statement

// A connection through a libpq connection string, with the server's notices silenced. A
// failed connection also gives a handle (it holds the reason).
Conexion Conectar(const QString& cadena);

} // namespace ado::postgresql
