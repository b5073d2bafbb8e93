#pragma once
// BASES.TXT, the connections registered on this workstation: one per line, five
// comma-separated fields (name, database, login, encoded password, server). A field may be
// enclosed in double quotes (a doubled quote inside stands for one); blanks around a field
// do not count. New entries go to the user's copy in the configuration folder; a file in
// the application folder (where earlier versions kept it) is still read, before the user's.

#include <QList>
#include <QString>
#include <QStringList>

struct RegistroBase {
    QString nombre;
    QString base;
    QString login;
    QString clave;    // as stored (encoded)
    QString servidor; // possibly "SERVER:PORT", "#" in front for Oracle
};

// The records of the text: lines with fewer than five fields are left out, fields after
// the fifth are ignored. Lines end with CR LF, a lone CR or a lone LF.
QList<RegistroBase> LeerRegistros(const QString& texto);

// One line as AgregaBase writes it, without its line break: each field trimmed, quoted when
// it holds a comma, a double quote or a line break.
QString LineaRegistro(const QStringList& campos);

// "DATABASE / SERVER": both trimmed and upper-cased, the server cut before its first ":".
QString NombreRegistro(const QString& base, const QString& servidor);

// The user's copy: $XDG_CONFIG_HOME/prorrata/BASES.TXT (or ~/.config/prorrata).
QString RutaBasesUsuario();
// The file new entries go to: the user's copy (nothing is written beside the program).
QString RutaBases();
// Every file that is read, in order; only those that exist.
QStringList RutasBasesLeidas();
// True when some BASES.TXT can be read.
bool ExisteArchivoBases();

// The records of every file read, in order.
QList<RegistroBase> LeerBases();

// Appends one registered connection to RutaBases(): the server with "#" in front when
// oracle is set and "/suffix:" after it when the suffix is not empty, the password encoded.
// The new line ends with CR LF and is preceded by a lone CR when the file's last line has
// no break. A missing file is created readable by its owner only. Raises error 75 when the
// file cannot be written.
void AgregaBase(const QString& nombre, const QString& base, const QString& login, const QString& clave,
                const QString& servidor, const QString& sufijo, bool& oracle);
