#include "data/ado/postgresql/Manijas.h"

#include <libpq-fe.h>

namespace ado::postgresql {

namespace {
void sinAvisos(void*, const char*) {} // the server's notices are not the user's business
} // namespace

void CerrarConexion::operator()(pg_conn* cn) const { PQfinish(cn); }

void LiberarRespuesta::operator()(pg_result* r) const { PQclear(r); }

Conexion Conectar(const QString& cadena)
{
    Conexion cn(PQconnectdb(cadena.toUtf8().constData()));
    PQsetNoticeProcessor(cn.get(), sinAvisos, nullptr);
    return cn;
}

} // namespace ado::postgresql
