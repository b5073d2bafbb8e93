#pragma once
// ModUtilVelaBar: the command bar's INI lookups. The colour style is resolved for the current
// user and database from the suite INI file "cn000pr.ini" (sections whose names end in
// "Styles"), then from the suite utility component's reading, then from "UtilVelaBar_DB".

#include <QString>

namespace ModUtilVelaBar {

// The program's folder: where the image folders are looked for. Tests can fix it (an empty
// text restores the program's own folder).
QString CarpetaPrograma();
void FijarCarpetaPrograma(const QString& carpeta);

// GetPrivateProfileString's rules: the stored text of the key, the default when the file,
// section or key is missing or the stored text is empty. A bare file name is looked for in
// the suite's INI folder.
QString IniValue(const QString& file, const QString& section, const QString& key, const QString& def);
QString IniPath(const QString& file);
// The trimmed folder with a separator at its end ("" stays "").
QString WithSlash(const QString& text);

// The user and database the style is resolved for when the bar names none: the Windows user
// (USERNAME, else the login name) and the database of the command line or of KTX_DBNAME,
// GDBNAME or DBNAME; "DEFAULT" when there is none.
QString ContextUser();
QString ContextDatabase();

// The value of a token in the process's command line ("@DbName=EMPRESA;"), or in the given
// one: after the token, "=", up to the next ";", trimmed and without surrounding double
// quotes. Empty when the token is absent or not followed by "=".
QString CommandLineValue(const QString& token);
QString CommandLineValue(const QString& token, const QString& linea);

// The suite style number (0..99) under key "Styles" of the section, -1 when it holds none.
int StyleInSection(const QString& file, const QString& section);
// The first section of the file whose name ends in "STYLES" (any letter case).
QString FirstStylesSection(const QString& file);
// USERStyles, COMPUTER|USERStyles, USER_DBStyles, COMPUTER|USER_DBStyles, DB_DBStyles: the
// first holding a valid number; else the file's first "Styles" section, whatever it holds.
QString FindStylesSection(const QString& file, const QString& user, const QString& database);
// The bar's style (1..5) for the user and database (empty: the context's).
int ResolveStyle(const QString& user, const QString& database);
// The suite's numbers 0..4 as the bar's 1..5; anything else is 2.
int MapSuiteStyle(double n);

// The number at the start of a text as VB's Val reads it ("3abc" 3, "abc" 0), and that number
// rounded to an integer with halves to even.
double Val(const QString& texto);
double Redondear(double v);

} // namespace ModUtilVelaBar
