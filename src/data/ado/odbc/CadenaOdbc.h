#pragma once
// ODBC connection strings: a server the registry does not list is a SQL Server, reached with
// the FreeTDS driver; a registry entry with Motor=ODBC names its own driver ("Driver") or
// data source ("Dsn"), with "Servidor" and "Puerto" when the driver needs them.

#include <QMap>
#include <QString>

namespace ado::odbc {

QString CadenaSqlServer(const QString& servidor, const QString& base, const QString& usuario, const QString& clave,
                        const QString& driver = QStringLiteral("FreeTDS"));
QString CadenaRegistro(const QMap<QString, QString>& registro, const QString& base, const QString& usuario,
                       const QString& clave);

} // namespace ado::odbc
