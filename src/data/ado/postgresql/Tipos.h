#pragma once
// A libpq result's values: as text, and as the ADO type of their column.

#include "data/ado/servidores/TiposPostgreSQL.h"

#include <QString>
#include <QVariant>

struct pg_result;

namespace ado::postgresql {

// A value of a result as text, and as the column's type.
QString TextoDe(const pg_result* r, int fila, int col);
QVariant ValorDe(const pg_result* r, int fila, int col, const TipoColumna& t, unsigned oid);

} // namespace ado::postgresql
