// BASES.TXT: each record read, written back as AgregaBase writes it, reads back the same.
#include "Fuzz.h"

#include "login/Bases.h"

ENTRADA_FUZZ
{
    const QString texto = fuzz::Texto(datos, largo);
    for (const RegistroBase& r : LeerRegistros(texto)) {
        const QStringList campos{r.nombre, r.base, r.login, r.clave, r.servidor};
        const QString linea = LineaRegistro(campos);
        const auto otra = LeerRegistros(linea);
        EXIGIR(otra.size() == 1, linea);
        const QStringList leidos{otra[0].nombre, otra[0].base, otra[0].login, otra[0].clave, otra[0].servidor};
        QStringList esperados;
        for (const QString& c : campos)
            esperados << c.trimmed();
        EXIGIR(leidos == esperados, linea + QStringLiteral(" -> ") + leidos.join(u'|'));
    }
    return 0;
}
