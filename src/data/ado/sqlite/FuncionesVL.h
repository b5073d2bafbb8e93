#pragma once
// SQL Server's text rules for SQLite: the collation VL (letter case and trailing blanks
// ignored), LIKE with [sets] and without regard to case, UPPER and LOWER beyond ASCII, and
// VL_SUMAR, T-SQL's "+" (texts joined, numbers added). Used by the engine and by the
// loadable extension that lets other SQLite tools open the company files.

struct sqlite3;

namespace ado::sqlite {

// Registers all of them on a connection; SQLITE_OK or SQLite's error code.
int RegistrarFuncionesVL(sqlite3* db);

} // namespace ado::sqlite
