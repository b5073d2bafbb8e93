#pragma once
// A forward-only cursor over one SQLite statement: rows are stepped as they are read, as a
// server cursor hands them out. It owns its statement; a failure of its first step (thrown
// from here) finalizes it.

#include "data/ado/Motor.h"
#include "data/ado/sqlite/Manijas.h"

#include <memory>

namespace ado::sqlite {

std::unique_ptr<Cursor> CrearCursor(sqlite3* db, Sentencia st);

} // namespace ado::sqlite
