#pragma once
// The desktop launcher of a connection: a freedesktop desktop entry in the user's desktop
// folder that starts the program with the suite's command line.

#include <QString>
#include <QStringList>

// The user's desktop folder: XDG_DESKTOP_DIR of user-dirs.dirs (as xdg-user-dir DESKTOP
// reads it), or ~/Desktop.
QString CarpetaEscritorio();

// The command line the launcher passes (the password token always empty).
QString ArgumentosAccesoDirecto(const QString& servidor, const QString& base, const QString& usuario);

// One argument of an Exec key: quoted when it holds a reserved character, '"', '`', '$'
// and '\' escaped inside the quotes, '%' doubled, and the string escapes of the file
// (a backslash doubled, line breaks and tabs as \n, \r, \t) applied last.
QString ArgumentoExec(const QString& argumento);

// The icon the launcher names: the program's icon file beside it, else the installed
// theme icon "prorrata".
QString IconoPrograma();

// The whole desktop entry.
QString EntradaEscritorio(const QString& nombre, const QString& programa, const QStringList& argumentos,
                          const QString& icono);
