// Selection formulas: a formula reads into a tree or is refused with the printer's own error;
// its SQL condition carries every value as a parameter, never inside the text.
#include "Fuzz.h"

#include "report/Formula.h"
#include "suite/ErrorRT.h"

ENTRADA_FUZZ
{
    const QString formula = fuzz::Texto(datos, largo);
    std::unique_ptr<reporte::Nodo> arbol;
    try {
        arbol = reporte::LeerFormula(formula);
    } catch (const suite::ErrorEjecucion& e) {
        EXIGIR(e.error().Number == reporte::ErrorEnFormula, formula + QStringLiteral(" -> ") + e.error().Description);
        return 0;
    }
    if (!arbol)
        return 0;
    reporte::Describir(*arbol);
    std::vector<const reporte::Nodo*> campos;
    reporte::CamposDe(*arbol, campos);
    try {
        const auto c = reporte::ComoSql(*arbol, [](const QString&, const QString&) { return QStringLiteral("c"); });
        EXIGIR(!QString(c.sql).remove(QStringLiteral("ESCAPE '\\'")).contains(u'\''), formula + QStringLiteral(" -> ") + c.sql);
        EXIGIR(c.sql.count(u'?') == qsizetype(c.parametros.size()), formula + QStringLiteral(" -> ") + c.sql);
    } catch (const suite::ErrorEjecucion&) {
    }
    return 0;
}
