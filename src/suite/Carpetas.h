#pragma once
// Where the program's files live, after the XDG base directories. Configuration is looked
// for in the user's folder, then the system folders, then the program's folder; what the
// program writes goes to the user's folders only, created readable by the owner alone.

#include <QString>
#include <QStringList>

namespace suite {

// The user's own folders for this program: $XDG_CONFIG_HOME/prorrata (~/.config/prorrata),
// $XDG_DATA_HOME/prorrata (~/.local/share/prorrata), $XDG_STATE_HOME/prorrata
// (~/.local/state/prorrata). Only the path: nothing is created.
QString CarpetaConfiguracionUsuario();
QString CarpetaDatosUsuario();
QString CarpetaEstadoUsuario();

// The system folder an administrator edits for every user.
inline constexpr char CarpetaConfiguracionSistema[] = "/etc/prorrata";

// The folders a configuration file is looked for in, in order: the user's, prorrata/ in each
// folder of $XDG_CONFIG_DIRS (/etc/xdg when unset), /etc/prorrata, the program's folder.
QStringList CarpetasConfiguracion();

// The first of those folders holding `nombre` (compared without regard to case); empty when
// none does.
QString BuscarConfiguracion(const QString& nombre);

// Creates the folder (and its parents) when missing, the new ones readable by the owner
// only. False when it cannot be created.
bool CrearCarpetaPropia(const QString& carpeta);

} // namespace suite
