#pragma once
// T-SQL to PostgreSQL. Identifiers behave as on SQL Server: unquoted ones fold to lower case
// and bracketed or quoted ones are written in lower case. Text columns are citext domains
// (vl_varchar_N, vl_char_N) that compare without regard to letter case and refuse values
// longer than N; literals next to a comparison lose their trailing blanks.

#include "data/ado/Dialecto.h"

namespace ado::postgresql {

std::vector<tsql::SentenciaTraducida> TraducirLote(const QString& tsql);
QString Citar(const QString& id);

} // namespace ado::postgresql
