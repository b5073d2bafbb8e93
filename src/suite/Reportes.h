#pragma once
// Where the suite's report printer finds its report definitions.

#include <QString>

namespace suite {

inline QString& CarpetaReportesActual()
{
    static QString carpeta;
    return carpeta;
}
inline void CarpetaReportes(const QString& carpeta) { CarpetaReportesActual() = carpeta; }

} // namespace suite
