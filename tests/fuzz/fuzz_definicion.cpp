// Report definitions: a definition reads or is refused with the printer's own error.
#include "Fuzz.h"

#include "report/Definicion.h"
#include "suite/ErrorRT.h"

ENTRADA_FUZZ
{
    const QString texto = fuzz::Texto(datos, largo);
    reporte::CamposDeTexto(texto);
    try {
        const reporte::Definicion d = reporte::LeerDefinicion(texto, QStringLiteral("FUZZ.rpt"));
        d.tablas();
    } catch (const suite::ErrorEjecucion& e) {
        EXIGIR(!e.error().Description.isEmpty(), texto);
    }
    return 0;
}
