// The suite's command line: each token's value ends at its ";" and carries no "=".
#include "Fuzz.h"

#include "startup/CNStuffContable.h"

ENTRADA_FUZZ
{
    const QString linea = fuzz::Texto(datos, largo);
    for (const char* token : {"@Server", "@DbName", "@Usuario", "@Password", "@UsuarioLogeado", "@Caja", "@Menu",
                              "@ParametroAdicional"}) {
        const QString v = ValorToken(linea, QString::fromLatin1(token));
        EXIGIR(!v.contains(u';') && !v.contains(u'=') && v == v.trimmed(), linea + QStringLiteral(" -> ") + v);
    }
    return 0;
}
