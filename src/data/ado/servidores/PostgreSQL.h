#pragma once
// T-SQL to PostgreSQL. Identifiers behave as on SQL Server: unquoted ones fold to lower case
// and bracketed or quoted ones are written in lower case. Text columns are citext domains
// (vl_varchar_N, vl_char_N) that compare without regard to letter case and refuse values
// longer than N; literals next to a comparison lose their trailing blanks.

#include "data/ado/servidores/Dialecto.h"

namespace ado::postgresql {

std::vector<tsql::SentenciaTraducida> TraducirLote(const QString& tsql);
QString Citar(const QString& id);
// The columns a translated CREATE TABLE declared with capitals keep that spelling as their
// comment: the statements that write it.
QStringList ComentariosDeNombres(const QString& sql);

// What a translated statement needs created first: on the first definition of a session the
// citext extension, the vl_ domains and the citext trims; the vl_varchar_N / vl_char_N
// domains it names. Empty for statements that define nothing.
QStringList Preparacion(const QString& sql, bool primeraDefinicion);

// The advisory lock an explicit transaction takes, so that writers queue as on SQL Server.
QString BloqueoDeTransaccion();

} // namespace ado::postgresql
