#pragma once
// A cursor over a result the server has sent whole: the connection stays free for other
// statements while the caller reads, and values are converted as they are read.

#include "data/ado/Motor.h"
#include "data/ado/postgresql/Manijas.h"
#include "data/ado/postgresql/Tipos.h"

#include <memory>

namespace ado::postgresql {

// Takes the result with its columns as the engine described them.
std::unique_ptr<Cursor> CrearCursor(Respuesta r, std::vector<Columna> columnas, std::vector<TipoColumna> tipos);

} // namespace ado::postgresql
