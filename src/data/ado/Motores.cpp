#include "data/ado/Motor.h"

#include "data/ado/odbc/MotorOdbc.h"
#include "data/ado/postgresql/MotorPostgres.h"
#include "data/ado/sqlite/MotorSqlite.h"

namespace ado {

std::unique_ptr<Motor> CrearMotor(const QString& nombre)
{
    const QString n = nombre.trimmed().toLower();
    if (n == QLatin1String("sqlite"))
        return std::make_unique<sqlite::MotorSqlite>();
    if (n == QLatin1String("postgresql"))
        return std::make_unique<postgresql::MotorPostgres>();
    if (n == QLatin1String("odbc") || n == QLatin1String("sqlserver"))
        return std::make_unique<odbc::MotorOdbc>();
    return nullptr;
}

} // namespace ado
