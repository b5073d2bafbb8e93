#pragma once
// ODBC diagnostic records as categories of the shared error mapping. Records from the
// PostgreSQL driver carry the server's SQLSTATE and are classified as the native engine does.

#include "data/ado/Errores.h"

namespace ado::odbc {

struct Registro {
    QString sqlState;
    long nativo = 0;
    QString mensaje;
};

// conectada: the record comes from a statement of an open connection, not from opening it.
Diagnostico Clasificar(const Registro& r, bool conectada, bool postgres);

} // namespace ado::odbc
