#pragma once
// Form helpers over Qt widgets.

#include <QChar>
#include <QList>
#include <QString>

class QWidget;

namespace suite {

// Dynamic property holding the data field a control is bound to.
inline constexpr char PropDataField[] = "DataField";
// Dynamic property: when true, LimpiarForm leaves the control as it is.
inline constexpr char PropConservar[] = "ConservarAlLimpiar";
// Dynamic property: when true, FiltrarTecla lets only numeric input through.
inline constexpr char PropNumerico[] = "Numerico";

// Index of the control whose DataField equals the name (letter case ignored); -1 if none.
int IndiceControl(const QString& campo, const QList<QWidget*>& controles);

// Empties the form's input controls (line and text edits, check boxes, editable combo
// boxes, spin boxes), except those marked with PropConservar. Mode 1 is the only mode.
void LimpiarForm(QWidget* form, int modo = 1);

// True for the keys that confirm a field (Enter and Return).
bool EsTeclaAvance(int tecla);

// Moves the focus from the focused widget (or from `desde` while no window is active, as
// when a progress display was just up) to the next enabled, visible control that takes the
// focus with Tab. Returns false when there is nothing to move from.
bool AvanzarFoco(int tecla, QWidget* desde = nullptr);

// The character to keep for an edit box, QChar() to drop it. Control characters pass.
// Boxes marked PropNumerico take digits, sign and separators, and turn "." or "," into the
// regional decimal separator; other boxes take every printable character.
QChar FiltrarTecla(const QWidget* editor, QChar c);

// Qt's own texts (the edit menus, the standard buttons) in Spanish, from the translations
// installed with Qt. False when they are not there: the texts stay in English.
bool TraducirTextosDeQt();

} // namespace suite
