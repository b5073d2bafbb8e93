#pragma once
// SQLite's result codes and messages as categories of the shared error mapping.

#include "data/ado/Errores.h"

struct sqlite3;

namespace ado::sqlite {

// An extended result code with the connection's message.
Diagnostico Clasificar(int codigo, const QString& mensaje);

// The failure of a call as ADO reports it, with the connection's message (or the code's
// own text without a connection).
FalloMotor FalloSqlite(sqlite3* db, int codigo);

} // namespace ado::sqlite
