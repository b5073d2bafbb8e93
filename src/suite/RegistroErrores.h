#pragma once
// The error log "VLERR.LOG": one line per reported error with date, time, routine, message
// and the operator's answer, each ended by CR LF.

#include <QDateTime>
#include <QString>
#include <memory>

class QFile;

namespace suite {

inline constexpr char NombreRegistroErrores[] = "VLERR.LOG";

// The folder of VLERR.LOG, with a trailing separator, for every routine that writes it: TMP
// when TEMP is set and TMP is not blank, else the user's state folder
// (~/.local/state/prorrata), created readable by its owner only.
QString CarpetaRegistroErrores();

// "Reintentar", "Ignorar", "Abortar", "Cancelar", "Sí", "No"; empty for other answers.
QString PalabraRespuesta(int respuesta);

// "Ha ocurrido el Siguiente Error (n) description", trimmed.
QString MensajeError(long numero, const QString& descripcion);

// mm-dd-yyyy hh:mm:ss Rutina: - name Mensaje message Respondió : answer (no line end).
QString LineaRegistro(const QDateTime& cuando, const QString& rutina, const QString& mensaje, int respuesta);

// Opens the log for appending, creating it when missing (readable by its owner only);
// raises error 75 when it cannot.
std::unique_ptr<QFile> AbrirRegistro(const QString& ruta);
void EscribirLinea(QFile& registro, const QString& linea);

} // namespace suite
