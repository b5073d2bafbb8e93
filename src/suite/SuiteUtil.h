#pragma once
// General operations of the suite utility component.

#include "suite/ErrorRT.h"
#include "suite/Moneda.h"

#include <QString>
#include <QVariant>
#include <optional>

class QWidget;

namespace suite {

// The folder path ending in a separator ("/" added unless it ends in "/" or "\").
// An empty path stays empty (the current folder).
QString CarpetaConBarra(const QString& carpeta);

// The text without any of the given characters.
QString QuitarCaracteres(const QString& texto, QChar c1, QChar c2 = QChar());

// Every occurrence of viejo replaced by nuevo: ReemplazarTexto matches letter case exactly,
// ReemplazarTodo ignores it.
QString ReemplazarTexto(const QString& texto, const QString& viejo, const QString& nuevo);
QString ReemplazarTodo(const QString& texto, const QString& viejo, const QString& nuevo);

// Words separated by blanks, tabs or line breaks (an empty text has none).
int ContarPalabras(const QString& texto);

// The trimmed code right-aligned with blanks to the width ("1", 4 -> "   1"). Without a width
// the code is only trimmed; a code longer than the width is kept whole.
QString FormatoCodigo(const QString& codigo, int ancho = 0);

// The value; Null (or an invalid variant) gives "".
QVariant SinNulo(const QVariant& valor);

// A value as the suite writes it as text: numbers with the regional decimal separator,
// dates in the regional short form, Null as "".
QString TextoVariant(const QVariant& valor);
// The same text as a view: of the value itself when it holds text (no copy), else of apoyo.
QStringView VistaTexto(const QVariant& valor, QString& apoyo);

// Sign, digits and the regional separators into a currency value; empty, non-numeric or
// out-of-range text gives 0.
Moneda ValorNumerico(const QString& texto);

// The text right-aligned with blanks to the width; a longer text is kept whole.
QString Rellenar(const QString& texto, int ancho);

// Shows the error (number and description) with Abort, Retry and Ignore and the critical
// icon, or the given style. Answers 4 retry, 5 go on with the next step, others leave.
int DialogoError(const ErrorRT& error, std::optional<int> estilo = std::nullopt,
                 const QString& rutina = {});

// Makes a form ready for display: the application's font and icon, and the window kept
// inside the screen; centrar also centres it over its parent or the screen.
void PrepararForm(QWidget* form, bool centrar = true);

// An encoded text with no comma and no line break; DecodificaTexto gives back the original.
// Text that was never encoded decodes to itself.
QString CodificaTexto(const QString& texto);
QString DecodificaTexto(const QString& codificado);

} // namespace suite
