#pragma once
// The workstation: computer name, user name and a writable temporary folder.

#include <QString>

namespace suite {

QString NombreEquipo();          // COMPUTERNAME when set, else the host name
QString NombreUsuarioWindows();  // USERNAME when set, else the login name
QString CarpetaTemporal();       // the user's own: TMPDIR, XDG_RUNTIME_DIR or ~/.local/state/prorrata

} // namespace suite
