#pragma once
// The shared module of the accounting suite's programs: error log and dialog, number
// formatting and small shared routines.

#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "suite/ErrorRT.h"
#include "suite/Moneda.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// Decimals the suite is configured with; FmtMoneda's decimals -1 take it.
extern int gDecimalesSuite;

// ---- Start-up values ------------------------------------------------------------------
extern QString gClavePuesto;        // "COMPUTER|USER", upper-cased
extern bool gFlatToolbars;          // "FlatToolbars" of CN000p.INI
extern QString gParametroAdicional;
extern QString gMenu;
extern QString gCaja;
extern QString gDSN;                // connection text for the report printer

// The values start-up gives the lookup engine, read by it when it is created.
struct ValoresConsulta {
    QString gConnString;
    bool gUsarMascarasConsultas = false;
    QString gRutaMascaraConsultas;
};
extern ValoresConsulta gValoresConsulta;

// ---- Configuration --------------------------------------------------------------------
extern QString gTablaConfiguracion; // "TA_CONFIGURACION" when blank
extern DB_Dll gEstadisticas;        // the statistics database VL_ESTADISTICAS
extern short gTimeOut;              // its "TimeOut"; 45 when absent, zero or unreadable

// ---- The signed-on user's defaults ----------------------------------------------------
extern bool gEscribeSoloMayusculas;
extern bool gBloqueoActivo;
extern QString gPeriodo;
extern QString gUNegocio;           // width 4; "   1" when empty

// Back to the state before start-up (tests).
void ReiniciarCNStuffContable();

// Reads the command line, opens gDB, sets up the lookup engine's values, reads the user's
// defaults, logs the access and opens the statistics connection. Ends the program when no
// connection could be opened.
void IniciarSesion(const QString& lineaComandos);

// Starts another program of the suite (Programa from its 7th character, in the application
// folder) with the current connection values; PID receives its process id.
void EjecutarPrograma(const QString& Programa, const QString& ParametroAdicional, qint64& PID);
// The argument text EjecutarPrograma passes.
QString ArgumentosPrograma(const QString& ParametroAdicional);

QString Cfg(const QString& clave, QString& valorAux);
QString CfgVL(const QString& clave, QString& valorAux);
void GrabaCfgVL(const QString& clave, const QVariant& valor, const QString& valorAux, bool politicaNegocio,
                const QString& grupo, bool recortar);
void ConectarEstadisticas();

void IniContable();
void ControlAcceso(const QString& formulario);

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
// A stored percentage as shown: the decimals FmtMoneda gives at least, and every further one
// the value has (up to four), so that what is shown reads back as what is stored.
QString FmtPorcentaje(suite::Moneda valor);

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

// ---- Record selection for the report printer -------------------------------------------
// One condition: the field between two values (either may be empty), joined to the
// conditions before it by Operador ("AND" when empty, or "OR").
struct FiltroSeleccion {
    QString Desde;
    QString Hasta;
    QString Campo;        // "{TABLA.CAMPO}"
    short Tipo = 129;     // ADO data type of the field
    short NoTrim = 0;     // non-zero: the field is compared without trimming it
    QString Operador;
};

// The selection formula of the conditions, or an empty text with the reason in error: a
// from-value greater than its to-value, or an operator other than AND and OR.
QString ArmarSeleccion(const QList<FiltroSeleccion>& filtros, QString* error = nullptr);
