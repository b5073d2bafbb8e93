#pragma once
// INI files with the Windows rules: sections and keys compared without regard to case,
// the first match wins, a missing file, section or key gives the default. Files are read
// as UTF-8 (or UTF-16 with its mark) and as Windows-1252 when they are not valid UTF-8.

#include <QMap>
#include <QString>
#include <optional>

namespace suite {

QString LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                const QString& porDefecto);

// Every key of the first section of that name, keys in lower case (first match wins);
// nullopt when the file cannot be read or has no such section.
std::optional<QMap<QString, QString>> LeerSeccionIni(const QString& archivo, const QString& seccion);

// Where a bare INI file name is looked for: only in the folder fixed here or named by
// VL_CARPETA_INI when either is set; else the first configuration folder holding it
// (suite::CarpetasConfiguracion: the user's, the system's, the application folder).
// CarpetaIni is the fixed folder, VL_CARPETA_INI or the application folder. Tests and
// callers can fix it (an empty text restores the rule).
QString CarpetaIni();
QString RutaIni(const QString& nombre);
void FijarCarpetaIni(const QString& carpeta);

// The path of a file in a folder, matching its name without regard to case
// (the folder & name as given when no file matches).
QString BuscarArchivoSinCaso(const QString& carpeta, const QString& nombre);

// The text of a file decoded as above; empty, with *ok false, when it cannot be read.
QString LeerTextoSuite(const QString& ruta, bool* ok = nullptr);

} // namespace suite
