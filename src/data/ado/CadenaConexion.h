#pragma once
// Connection strings with ADO's rules, and the registry of servers that says which engine
// serves a server name.

#include <QMap>
#include <QString>
#include <optional>

namespace ado {

// "key=value;" pairs: keys trimmed and in lower case, values trimmed (quotes around a value
// removed); the first occurrence of a key wins. Pieces without "=" are ignored.
QMap<QString, QString> LeerCadenaConexion(const QString& cadena);

struct DestinoConexion {
    QString proveedor;
    QString servidor;
    QString base;
    QString usuario;
    QString clave;
    std::optional<int> tiempoConexion;
};

// Provider, server (Server, Data Source, Address), database (Database, Initial Catalog),
// login (UId, User Id, User) and password (Pwd, Password), and Connect Timeout.
DestinoConexion InterpretarCadena(const QString& cadena);

// A server name with its port: "HOST:PORT" or "HOST,PORT" (SQL Server's form), also after
// "HOST\INSTANCE". Without a port (or with text after the separator that is no number)
// the name is returned whole and the port empty.
struct ServidorPuerto {
    QString nombre;
    QString puerto;
};
ServidorPuerto SepararPuerto(const QString& servidor);

// The registry of servers: an INI file whose sections are server names and whose keys name
// the engine ("Motor") and its parameters. A relative "Carpeta" is taken from the registry's
// folder. Where it lies: the path fixed here, else VL_SERVIDORES, else the first
// "servidores.ini" that lists a server in the configuration folders (the user's, the XDG
// system folders, /etc/prorrata, the program's folder: suite::CarpetasConfiguracion).
QString RutaRegistroServidores();
void FijarRegistroServidores(const QString& ruta); // empty: back to the rule above

// What makes the registry file unusable (a folder, unreadable, empty, a line that is
// neither a section nor a key=value); nullopt when it is usable or does not exist.
std::optional<QString> ProblemaRegistroServidores();

// The entry of a server (name compared without regard to case); nullopt when not listed.
std::optional<QMap<QString, QString>> BuscarServidor(const QString& servidor);

// Where a key of a server's entry is written: "FILE, línea N" (the file alone when the line
// is not found), for messages about a value that cannot be used.
QString UbicacionEnRegistro(const QString& servidor, const QString& clave);

} // namespace ado
