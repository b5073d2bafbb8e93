#pragma once
// Search and replace with letter case ignored, as the suite's text rules write them
// (InStr's 1-based positions, Replace over every occurrence).

#include <QString>

namespace ado::texto {

inline bool contiene(const QString& s, const QString& sub) { return s.contains(sub, Qt::CaseInsensitive); }

// Every occurrence replaced, letter case ignored.
inline QString reemplazar(QString s, const QString& viejo, const QString& nuevo)
{
    return s.replace(viejo, nuevo, Qt::CaseInsensitive);
}

// 1-based position of sub in s at or after `desde`, letter case ignored; 0 when absent.
inline qsizetype instr(const QString& s, const QString& sub, qsizetype desde = 1)
{
    if (desde < 1)
        desde = 1;
    const qsizetype p = s.indexOf(sub, desde - 1, Qt::CaseInsensitive);
    return p < 0 ? 0 : p + 1;
}

} // namespace ado::texto
