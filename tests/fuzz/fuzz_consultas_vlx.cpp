// consultas.vlx, records of fixed length: looked up by the table of its first record (which
// must then be found, or said to be damaged) and by a name no record has.
#include "Fuzz.h"

#include "lookup/Lib_ClsCons3.h"
#include "suite/Ansi.h"
#include "suite/SuiteUtil.h"

ENTRADA_FUZZ
{
    const QByteArray bytes = fuzz::Bytes(datos, largo);
    const QString archivo = fuzz::EnArchivo(bytes);
    const QString primera = suite::QuitarCaracteres(suite::DeAnsi(bytes.mid(100, 100)), QChar(0), QChar(255)).trimmed();
    QString problema;
    const auto d = BuscarDefinicion(archivo, primera, &problema);
    // The first record's table is found whole, or its record is named as damaged.
    if (bytes.size() >= 700)
        EXIGIR((d && d->tabla.compare(primera, Qt::CaseInsensitive) == 0) || !problema.isEmpty(), primera);
    BuscarDefinicion(archivo, QStringLiteral("NINGUNA TABLA"));
    return 0;
}
