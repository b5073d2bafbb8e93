// consultas.vlx, records of fixed length: looked up by the table of its first record (which
// must then be found) and by a name no record has.
#include "Fuzz.h"

#include "lookup/Lib_ClsCons3.h"
#include "suite/Ansi.h"
#include "suite/SuiteUtil.h"

ENTRADA_FUZZ
{
    const QByteArray bytes = fuzz::Bytes(datos, largo);
    const QString archivo = fuzz::EnArchivo(bytes);
    const QString primera = suite::QuitarCaracteres(suite::DeAnsi(bytes.mid(100, 100)), QChar(0), QChar(255)).trimmed();
    const auto d = BuscarDefinicion(archivo, primera);
    if (bytes.size() >= 700)
        EXIGIR(d && d->tabla.compare(primera, Qt::CaseInsensitive) == 0, primera);
    BuscarDefinicion(archivo, QStringLiteral("NINGUNA TABLA"));
    return 0;
}
