#include "data/ado/odbc/Manijas.h"

#include <sql.h>
#include <sqlext.h>

namespace ado::odbc {

void LiberarEntorno::operator()(void* env) const { SQLFreeHandle(SQL_HANDLE_ENV, env); }
void LiberarConexion::operator()(void* dbc) const { SQLFreeHandle(SQL_HANDLE_DBC, dbc); }
void LiberarSentencia::operator()(void* st) const { SQLFreeHandle(SQL_HANDLE_STMT, st); }

void Desconectar::operator()(void* dbc) const { SQLDisconnect(dbc); }

Entorno NuevoEntorno()
{
    SQLHENV env = SQL_NULL_HENV;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    Entorno e(env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return e;
}

Conexion NuevaConexion(void* env)
{
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    return Conexion(dbc);
}

Sentencia NuevaSentencia(void* dbc)
{
    SQLHSTMT st = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
    return Sentencia(st);
}

} // namespace ado::odbc
