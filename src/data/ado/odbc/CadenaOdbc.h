#pragma once
// ODBC connection strings: a server the registry does not list is a SQL Server, reached with
// the FreeTDS driver; a registry entry with Motor=ODBC names its own driver ("Driver") or
// data source ("Dsn"), with "Servidor" and "Puerto" when the driver needs them.

#include <QMap>
#include <QString>
#include <optional>

namespace ado::odbc {

QString CadenaSqlServer(const QString& servidor, const QString& base, const QString& usuario, const QString& clave,
                        const QString& driver = QStringLiteral("FreeTDS"));
// For the PostgreSQL driver the string also turns its communication and debug logs off
// (unless the entry, or the data source it names, sets them) and makes a failed statement
// abort the open transaction.
QString CadenaRegistro(const QMap<QString, QString>& registro, const QString& base, const QString& usuario,
                       const QString& clave);

// The entry names the PostgreSQL driver, or a data source that uses it.
bool ControladorPostgres(const QMap<QString, QString>& registro);

// A key of a data source in odbc.ini (the user's or the system's); nullopt when not set.
std::optional<QString> ValorDsn(const QString& dsn, const QString& clave);

} // namespace ado::odbc
