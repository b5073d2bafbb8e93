#pragma once
// One mapping of database failures onto what ADO reports. Each engine classifies its native
// codes (SQLite result codes, SQLSTATE, ODBC diagnostics) into a category; ErrorDe turns a
// category into the ADO number, SQLSTATE, SQL Server native code and Spanish text.

#include "data/ado/Motor.h"

#include <QString>
#include <QStringList>

namespace ado {

enum class Categoria {
    ConexionCerrada,    // a statement on a connection that is not open
    EnlacePerdido,      // the server went away
    AccesoPerdido,      // the database file went away or cannot be read
    SinServidor,        // no server answers when opening; datos: the server
    BaseInexistente,    // datos: the database
    InicioSesion,       // login refused; datos: the login
    TablaInexistente,
    ColumnaInexistente,
    Sintaxis,
    Truncado,           // datos: table and column, or the column's length, or nothing
    ClaveDuplicada,
    NuloNoAdmitido,
    Restriccion,        // other constraints (foreign key, check)
    TiempoBloqueo,      // lock or statement time-out
    Interbloqueo,       // deadlock; the server chose this statement to fail
    SinTransaccion,     // COMMIT or ROLLBACK without a transaction
    SoloLectura,
    DiscoLleno,
    SinRecursos,        // out of memory, value too big
    Otro,               // none of the above: the engine's own SQLSTATE and code
};

// A native failure as an engine classified it.
struct Diagnostico {
    Categoria categoria = Categoria::Otro;
    QString texto;      // the engine's own message
    QString sqlState;   // the engine's SQLSTATE, kept for Otro
    long nativo = 0;    // the engine's native code, kept for Otro and Restriccion
    QStringList datos;  // what the message names (see the categories)
};

ErrorMotor ErrorDe(const Diagnostico& d);

// The link is gone: the engine closes and the caller may reconnect.
bool EsEnlacePerdido(Categoria c);

// The failure as the engine throws it.
FalloMotor FalloDe(const Diagnostico& d);
FalloMotor FalloDe(Categoria c); // without a message of the engine's

} // namespace ado
