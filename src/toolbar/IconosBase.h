#pragma once
// The command bar's 19 base pictures, drawn by the program itself: new, delete, report,
// look up, sheet, cancel, save, close, customer, order, delivery note, cash, business unit,
// import, AI, screen, printer, share, settings.

#include <QPixmap>

namespace toolbar {

inline constexpr int CantidadIconosBase = 19;

// Base picture `indice` (0..18) at `lado` pixels, white strokes on a transparent ground.
QPixmap IconoBase(int indice, int lado);

} // namespace toolbar
