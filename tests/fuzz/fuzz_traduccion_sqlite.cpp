// T-SQL to SQLite (see Traduccion.h).
#include "Traduccion.h"

#include "data/ado/servidores/SQLite.h"

ENTRADA_FUZZ
{
    fuzz::ComprobarTraduccion(datos, largo, [](const QString& s) { return ado::sqlite::TraducirLote(s); },
                              {QStringLiteral("'now'"), QStringLiteral("'localtime'"), QStringLiteral("'%d/%m/%Y'"),
                               QStringLiteral("'-'")});
    return 0;
}
