#pragma once
// The server at the other end, and what a statement sent to it is written in: the dialect
// of the database (named by the driver's DBMS name), not of the engine that carries it.
// SQL Server gets T-SQL as written; PostgreSQL and SQLite get their own rules.

#include <QString>
#include <vector>

namespace ado::servidores {

enum class Dialecto { SqlServer, PostgreSQL, SQLite };

Dialecto DialectoDe(const QString& nombreDbms);
// The batch's statements in the dialect. acciones receives 0 for a statement, 1 begin,
// 2 commit, 3 roll back, 4 an application lock (the statement is the resource's name).
std::vector<QString> Traducir(Dialecto d, const QString& tsql, std::vector<int>* acciones);
// An identifier quoted the dialect's way.
QString Citar(Dialecto d, const QString& id);

} // namespace ado::servidores
