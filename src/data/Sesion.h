#pragma once
// Values of the signed-on session that the data layer reads and the start-up fills: the
// application user, the password typed in the login form, the confidentiality setting and
// the running program's name.

#include <QString>

extern QString gUsuarioLogeado;
extern QString gPassWordLogeado;
extern bool gConfidencialidad;

// The executable's name without folder or extension ("prorrata"); tests may fix it.
QString NombreEjecutable();
void FijarNombreEjecutable(const QString& nombre); // empty: the real one again

// The program's folder with a trailing separator; tests may fix it.
QString CarpetaAplicacion();
void FijarCarpetaAplicacion(const QString& carpeta);
