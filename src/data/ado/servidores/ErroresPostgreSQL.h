#pragma once
// PostgreSQL's SQLSTATEs and messages as categories of the shared error mapping, for every
// engine that reaches a PostgreSQL server (libpq, ODBC).

#include "data/ado/Errores.h"

namespace ado::postgresql {

// A failed statement: the server's SQLSTATE and primary message.
Diagnostico Clasificar(const QString& sqlState, const QString& mensaje);

// A connection the server refused, from its message: no such database, login refused, or
// (anything else) no server.
Categoria CategoriaApertura(const QString& mensaje);

} // namespace ado::postgresql
