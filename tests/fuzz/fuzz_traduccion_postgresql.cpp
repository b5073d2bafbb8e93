// T-SQL to PostgreSQL (see Traduccion.h).
#include "Traduccion.h"

#include "data/ado/servidores/PostgreSQL.h"

ENTRADA_FUZZ
{
    fuzz::ComprobarTraduccion(datos, largo, [](const QString& s) { return ado::postgresql::TraducirLote(s); },
                              {QStringLiteral("'DD/MM/YYYY'")});
    return 0;
}
