#include "data/ado/sqlite/Manijas.h"

#include <QFile>
#include <sqlite3.h>

namespace ado::sqlite {

void CerrarConexion::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

void FinalizarSentencia::operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }

Conexion AbrirConexion(const QString& archivo, int modos, int* codigo)
{
    sqlite3* db = nullptr;
    *codigo = sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, modos, nullptr);
    return Conexion(db);
}

Sentencia PrepararSentencia(sqlite3* db, const char* sql, const char* fin, const char** resto, int* codigo)
{
    sqlite3_stmt* st = nullptr;
    *codigo = sqlite3_prepare_v2(db, sql, int(fin - sql), &st, resto);
    return Sentencia(st);
}

} // namespace ado::sqlite
