#include "data/ado/Motor.h"

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
    return nullptr;
}

} // namespace ado
