#pragma once
// T-SQL to SQLite. Text columns get the VL collation (letter case and trailing blanks
// ignored) and a length check that fails as SQL Server's truncation error does; literals in
// data statements carry the VL collation, so that LTRIM(RTRIM(col)) = 'x' compares the same.

#include "data/ado/servidores/Dialecto.h"

namespace ado::sqlite {

// Prefix of the constraints that check a text column's length.
inline constexpr char PrefijoLargo[] = "CK_LARGO__";

using tsql::Accion;
using SentenciaSqlite = tsql::SentenciaTraducida;

std::vector<SentenciaSqlite> TraducirLote(const QString& tsql);

} // namespace ado::sqlite
