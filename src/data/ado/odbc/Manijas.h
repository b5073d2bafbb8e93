#pragma once
// Owners of the ODBC handles, taken the moment the driver manager hands one out.

#include <memory>

namespace ado::odbc {

// SQLFreeHandle of each kind.
struct LiberarEntorno {
    void operator()(void* env) const;
};
struct LiberarConexion {
    void operator()(void* dbc) const;
};
struct LiberarSentencia {
    void operator()(void* st) const;
};
struct Desconectar {
    void operator()(void* dbc) const; // SQLDisconnect; the handle itself stays
};

using Entorno = std::unique_ptr<void, LiberarEntorno>;
using Conexion = std::unique_ptr<void, LiberarConexion>;
using Sentencia = std::unique_ptr<void, LiberarSentencia>;
using Enlace = std::unique_ptr<void, Desconectar>; // a Conexion while it is connected

// An ODBC 3 environment, a connection handle of it, a statement handle of a connection.
Entorno NuevoEntorno();
Conexion NuevaConexion(void* env);
Sentencia NuevaSentencia(void* dbc);

} // namespace ado::odbc
