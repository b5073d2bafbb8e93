#pragma once
// The demo company: creates the suite's company and statistics databases on a server of the
// registry and fills them with a Spanish chart of accounts, hierarchical cost centres,
// distribution tables, configuration, users and menu tasks. It scales to given numbers of
// accounts and cost centres for benchmarks.

#include <QString>

namespace ado {
class Connection;
}

namespace demo {

inline constexpr char ServidorDemo[] = "DEMO";
inline constexpr char BaseDemo[] = "EMPRESA_DEMO";
inline constexpr char BaseEstadisticas[] = "VL_ESTADISTICAS";

struct Tamanio {
    int cuentas = 0; // postable accounts added to the demo chart
    int centros = 0; // cost centres added to the demo ones
};

// Writes a registry of servers with one server: the embedded engine, whose databases lie in
// `carpeta`, or the PostgreSQL server named by VL_PG_PRUEBA ("host:port", administrator
// postgres/postgres) when VL_MOTOR_PRUEBA is "PostgreSQL". Returns its path.
QString EscribirRegistro(const QString& carpeta, const QString& servidor = QString::fromLatin1(ServidorDemo));

// The registry entry ("[SERVIDOR]" and its keys) of a server of MotorDePrueba(): SQLite
// files in `carpeta` (written as given), or the PostgreSQL server of VL_PG_PRUEBA.
QString EntradaRegistro(const QString& servidor, const QString& carpeta);

// Puts `entrada` in the registry at `ruta` in place of that server's section, or at the end;
// other sections and comments stay. A new file (and its missing folders) is readable by its
// owner only; an existing file keeps its permissions.
void AnotarEnRegistro(const QString& ruta, const QString& servidor, const QString& entrada);

// True when the database of a registered server can be opened.
bool ExisteBase(const QString& servidor, const QString& base);

// A company on a registered server: the schema, the demo rows when `conDemo`, and the
// statistics database when the server has none yet. An existing company database is an
// error unless `reemplazar`; an existing statistics database is kept.
void CrearEmpresa(const QString& servidor, const QString& base, bool conDemo, bool reemplazar, const Tamanio& t = {});

// Creates an empty database on a registered server. Fails when it already exists, unless
// reemplazar (a server database is dropped first).
void CrearBase(const QString& servidor, const QString& base, bool reemplazar = false);

// Runs one of the project's schema scripts (":/esquema/empresa.sql", ...) on a connection.
void AplicarEsquema(ado::Connection& cn, const QString& recurso);

// The demo rows of the company database; extra accounts and centres when asked.
void CargarEmpresa(ado::Connection& cn, const Tamanio& t = {});
void CargarEstadisticas(ado::Connection& cn);

// The connection string the suite writes for a server and database (login and password
// are the database name).
QString CadenaConexion(const QString& servidor, const QString& base);

// The whole demo: registry in `carpeta`, company and statistics databases filled.
// Returns the registry's path.
QString CrearDemo(const QString& carpeta, const Tamanio& t = {}, const QString& base = QString::fromLatin1(BaseDemo));

// The engine the tests and tools use: "PostgreSQL" when VL_MOTOR_PRUEBA says so, else "SQLite".
QString MotorDePrueba();

} // namespace demo
