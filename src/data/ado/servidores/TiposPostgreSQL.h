#pragma once
// PostgreSQL's column types as ADO's: our own column types (the vl_ domains, citext) by name,
// the server's by OID; result names as SQL Server spells them. The same for every engine
// that reaches a PostgreSQL server (libpq, ODBC).

#include "data/ado/Constantes.h"

#include <QString>

namespace ado::postgresql {

// Server type OIDs used here.
enum : unsigned {
    OidBool = 16, OidBytea = 17, OidInt8 = 20, OidInt2 = 21, OidInt4 = 23, OidText = 25, OidFloat4 = 700,
    OidFloat8 = 701, OidBpchar = 1042, OidVarchar = 1043, OidDate = 1082, OidTimestamp = 1114, OidTimestamptz = 1184,
    OidNumeric = 1700,
};

struct TipoColumna {
    int tipo = adVarChar; // ADO DataTypeEnum
    long tamanio = 0;
    int escala = 0;
    bool logico = false; // bit stored as smallint
};

// The ADO type of a column type name of ours ("vl_varchar_60", "vl_bit"...), or of a server
// type given its OID and modifier.
TipoColumna TipoDe(const QString& nombre, unsigned oid, int modificador);

// A result column's name as SQL Server gives it: the server folds unquoted names to lower
// case; this gives the spelling of the statement's select list, else the declared one (kept
// as the column's comment), else the server's.
QString NombreComoSqlServer(const QString& sql, const QString& nombre, const QString& declarado);

} // namespace ado::postgresql
