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

// The advisory locks an explicit transaction takes after its BEGIN, so that writers queue as
// on SQL Server. A transaction that names the resources it writes (sp_getapplock right after
// its BEGIN) holds the database's lock shared and each resource's lock exclusively: those of
// different resources run side by side, two of one resource queue. Any other holds the
// database's lock exclusively and waits for all of them, as every writer did before; so
// does one naming more than MaximoRecursos (the server's lock table has room for about 64
// locks a connection). Resources are locked in one order, so two transactions never hold
// each other's.
QStringList BloqueosDeTransaccion(const QStringList& recursos);
// The locks of resources named later in a transaction.
QString BloqueoDeRecursos(const QStringList& recursos);
inline constexpr qsizetype MaximoRecursos = 2048;

} // namespace ado::postgresql
