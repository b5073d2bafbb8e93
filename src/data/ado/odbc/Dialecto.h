#pragma once
// What a statement sent through ODBC is written in: the dialect of the database at the other
// end (the driver's DBMS name), not of the engine that carries it. SQL Server gets T-SQL as
// written; PostgreSQL and SQLite get the rules of their own engines.

#include <QString>
#include <vector>

namespace ado::odbc {

enum class Dialecto { SqlServer, PostgreSQL, SQLite };

Dialecto DialectoDe(const QString& nombreDbms);
// The batch's statements in the dialect. acciones receives 0 for a statement, 1 begin,
// 2 commit, 3 roll back, 4 an application lock (the statement is the resource's name).
std::vector<QString> Traducir(Dialecto d, const QString& tsql, std::vector<int>* acciones);
// An identifier quoted the dialect's way.
QString Citar(Dialecto d, const QString& id);

} // namespace ado::odbc
