#pragma once
// The shared module of the accounting suite's programs: error log and dialog, number
// formatting and small shared routines.

#include "suite/ErrorRT.h"

#include <QDateTime>
#include <QString>
#include <optional>

// Decimals the suite is configured with; FmtMoneda's decimals -1 take it.
extern int gDecimalesSuite;

// Shows the error with its source, routine and the given buttons (default 18: Abort, Retry
// and Ignore with the critical icon), appends a line to VLERR.LOG in the temporary folder
// and returns the answer; 0 without showing anything when the error number is 0.
// Raises the error of the log file when it cannot be opened.
int AvisoError(const suite::ErrorRT& error, std::optional<int> botones = std::nullopt,
               const QString& rutina = {});

// The folder AvisoError writes its log in: TMP when TEMP is set, else the temporary folder.
QString CarpetaRegistroErrores();

// Formats an amount or percentage given as text.
// decimales: -3 returns the text as it is, -1 the suite's decimals, 0 the regional
// fractional digits, -2 none, any other that many. miles groups thousands. A width above 0
// (capped at 25, written back) right-aligns the result.
QString FmtMoneda(const QString& valor, int decimales, bool& miles, short& ancho);
QString FmtMoneda(const QString& valor, int decimales = -1);

// True when the file can be opened for reading.
bool ExisteArchivo(const QString& ruta);

QString FormatoFecha(); // "dd/mm/yy"
QString FormatoHora();  // "hh:mm"

// A date and time formatted with the suite's pattern letters: d, dd, m, mm (minutes right
// after an hour), yy, yyyy, h, hh, n, nn, s, ss; other characters are copied.
QString FormatoSuite(const QDateTime& cuando, const QString& patron);

// The value of a command-line token ("@Server", "@DbName"...): the text after the token's
// first occurrence up to the next ";", every "=" removed, trimmed. Empty when the token is
// absent or no ";" follows it. An occurrence followed by a letter or digit is part of a
// longer token ("@Usuario" in "@UsuarioLogeado") and does not count.
QString ValorToken(const QString& lineaComandos, const QString& token);
