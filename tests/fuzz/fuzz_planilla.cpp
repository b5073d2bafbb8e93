// The CSV sheet of distribution tables: a file that reads without errors, written back with
// either decimal separator, reads back as the same tables.
#include "Fuzz.h"

#include "distribution/PlanillaCsv.h"

namespace {

bool iguales(const std::vector<planilla::TablaPlanilla>& a, const std::vector<planilla::TablaPlanilla>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto &x = a[i], &y = b[i];
        if (x.codigo != y.codigo || x.nombre != y.nombre || x.concepto != y.concepto
            || x.pideConfirmacion != y.pideConfirmacion || x.lineas.size() != y.lineas.size())
            return false;
        for (size_t j = 0; j < x.lineas.size(); ++j)
            if (x.lineas[j].centro != y.lineas[j].centro || x.lineas[j].porcentaje != y.lineas[j].porcentaje)
                return false;
    }
    return true;
}

} // namespace

ENTRADA_FUZZ
{
    const auto existe = [](const QString& c) { return !c.trimmed().isEmpty() && !c.contains(u'X'); };
    const QByteArray archivo = fuzz::Bytes(datos, largo);
    const planilla::Lectura l = planilla::Leer(archivo, existe);
    planilla::MensajeErrores(l.errores);
    if (!l.errores.isEmpty())
        return 0;
    for (const QChar decimal : {QChar(u','), QChar(u'.')}) {
        const QByteArray escrito = planilla::Escribir(l.tablas, decimal);
        const planilla::Lectura otra = planilla::Leer(escrito, existe);
        EXIGIR(otra.errores.isEmpty() && iguales(l.tablas, otra.tablas),
               QString::fromUtf8(archivo) + QStringLiteral("\n-> ") + QString::fromUtf8(escrito) + QStringLiteral("\n")
                   + otra.errores.join(u'\n'));
    }
    return 0;
}
