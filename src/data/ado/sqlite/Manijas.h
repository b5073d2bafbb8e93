#pragma once
// Owners of the sqlite3 C handles, taken the moment the library hands one out.

#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace ado::sqlite {

struct CerrarConexion {
    void operator()(sqlite3* db) const; // sqlite3_close_v2
};
struct FinalizarSentencia {
    void operator()(sqlite3_stmt* st) const;
};

using Conexion = std::unique_ptr<sqlite3, CerrarConexion>;
using Sentencia = std::unique_ptr<sqlite3_stmt, FinalizarSentencia>;

// A database file opened with sqlite3_open_v2; *codigo receives its result. A failed opening
// also gives a handle (it holds the reason), or none when memory ran out.
Conexion AbrirConexion(const QString& archivo, int modos, int* codigo);

// The first statement of [sql, fin); *resto points past it. Null with SQLITE_OK in *codigo
// when only blanks or comments are left.
Sentencia PrepararSentencia(sqlite3* db, const char* sql, const char* fin, const char** resto, int* codigo);

} // namespace ado::sqlite
