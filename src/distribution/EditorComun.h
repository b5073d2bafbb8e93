#pragma once
// Small helpers shared by the editor's parts (the form, its grid, its pages and commands).

#include "suite/Formularios.h"

#include <QString>
#include <QVariant>
#include <QWidget>

namespace editor {

constexpr int TwipsPorPixel = 15;
inline const char* const PropTag = "Tag";

inline QString titulo(const char* t) { return QString::fromUtf8(t); }

inline QString dataField(const QWidget* w) { return w ? w->property(suite::PropDataField).toString() : QString(); }
inline QString tag(const QWidget* w) { return w ? w->property(PropTag).toString() : QString(); }

inline QString numeroDeLinea(int fila) { return QString::number(fila + 1); }

} // namespace editor
