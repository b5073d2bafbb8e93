#pragma once
// The exit status of the suite's programs, in one place.

namespace suite {

enum CodigoSalida : int {
    SalidaNormal = 0,
    // The program ended without doing its work: the connection could not be opened, or the
    // user declined to go on (answered no to trying again, cancelled the login form).
    SalidaSinConexion = 1,
    // The command line was not understood.
    SalidaUsoIncorrecto = 2,
    // The link to the server was lost and not recovered: what was under way may not be stored.
    SalidaEnlacePerdido = 3,
};

} // namespace suite
