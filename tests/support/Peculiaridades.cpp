#include "Peculiaridades.h"

#include "Demo.h"

namespace {

constexpr Peculiaridades Sqlite{
    .basesEnArchivos = true,
    .likeConClases = true,
    .clavesSinBlancosFinales = true,
    .rollbackSinTransaccion = true,
    .baseFaltanteEsLogin = false,
    .errorAnulaTransaccion = false,
    .controladorConRegistros = false,
    .unEscritorALaVez = true,
};

// The login is the database's name, so a database that is not there has no login either; a
// ROLLBACK without a transaction is only a warning.
constexpr Peculiaridades Postgres{
    .basesEnArchivos = false,
    .likeConClases = false,
    .clavesSinBlancosFinales = false,
    .rollbackSinTransaccion = false,
    .baseFaltanteEsLogin = true,
    .errorAnulaTransaccion = true,
    .controladorConRegistros = false,
    .unEscritorALaVez = false,
};

// The PostgreSQL server through its ODBC driver.
constexpr Peculiaridades Odbc = [] {
    Peculiaridades p = Postgres;
    p.controladorConRegistros = true;
    return p;
}();

} // namespace

const Peculiaridades& PeculiaridadesDelMotor()
{
    static const Peculiaridades& p = [] () -> const Peculiaridades& {
        const QString motor = demo::MotorDePrueba();
        if (motor == QLatin1String("ODBC"))
            return Odbc;
        if (motor == QLatin1String("PostgreSQL"))
            return Postgres;
        return Sqlite;
    }();
    return p;
}
