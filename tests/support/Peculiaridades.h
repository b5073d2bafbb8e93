#pragma once
// What the engine under test does its own way, declared once per engine (VL_MOTOR_PRUEBA:
// SQLite, PostgreSQL, or ODBC to the same PostgreSQL server). Tests ask for a quirk by its
// name, never for the engine.

struct Peculiaridades {
    bool basesEnArchivos;           // each database is a file of the server's folder
    bool likeConClases;             // LIKE takes [...] character classes
    bool clavesSinBlancosFinales;   // trailing blanks of stored key values do not count
    bool rollbackSinTransaccion;    // a ROLLBACK without a transaction is an error (3903)
    bool baseFaltanteEsLogin;       // a missing database fails as its login does (18456)
    bool errorAnulaTransaccion;     // a failed statement aborts the open transaction: the
                                    // statements after it fail and its COMMIT keeps nothing
    bool controladorConRegistros;   // the driver as the system registers it logs to /tmp
    bool unEscritorALaVez;          // one write transaction at a time in the whole database
};

// The quirks of the engine the tests run on.
const Peculiaridades& PeculiaridadesDelMotor();
