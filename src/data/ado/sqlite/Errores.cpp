#include "data/ado/sqlite/Errores.h"

#include "data/ado/servidores/SQLite.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace ado::sqlite {

Diagnostico Clasificar(int codigo, const QString& mensaje)
{
    Diagnostico d{Categoria::Otro, mensaje, QStringLiteral("42000"), 0, {}};
    switch (codigo & 0xff) {
    case SQLITE_CONSTRAINT: {
        static const QRegularExpression largo(QStringLiteral("%1(.+)__(.+)$").arg(QLatin1String(PrefijoLargo)));
        const auto m = largo.match(mensaje);
        if (codigo == SQLITE_CONSTRAINT_CHECK && m.hasMatch()) {
            d.categoria = Categoria::Truncado;
            d.datos = QStringList{m.captured(1), m.captured(2)};
        } else if (codigo == SQLITE_CONSTRAINT_PRIMARYKEY || codigo == SQLITE_CONSTRAINT_UNIQUE) {
            d.categoria = Categoria::ClaveDuplicada;
        } else if (codigo == SQLITE_CONSTRAINT_NOTNULL) {
            d.categoria = Categoria::NuloNoAdmitido;
        } else {
            d.categoria = Categoria::Restriccion;
        }
        break;
    }
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_INTERRUPT: d.categoria = Categoria::TiempoBloqueo; break;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_CANTOPEN: d.categoria = Categoria::AccesoPerdido; break;
    case SQLITE_FULL: d.categoria = Categoria::DiscoLleno; break;
    case SQLITE_READONLY: d.categoria = Categoria::SoloLectura; break;
    case SQLITE_NOMEM:
    case SQLITE_TOOBIG: d.categoria = Categoria::SinRecursos; break;
    default:
        if (mensaje.startsWith(QLatin1String("no such table")) || mensaje.startsWith(QLatin1String("no such view")))
            d.categoria = Categoria::TablaInexistente;
        else if (mensaje.startsWith(QLatin1String("no such column")))
            d.categoria = Categoria::ColumnaInexistente;
        else if (mensaje.contains(QLatin1String("syntax error")) || mensaje.startsWith(QLatin1String("incomplete input")))
            d.categoria = Categoria::Sintaxis;
        else if (mensaje.contains(QLatin1String("no transaction is active")))
            d.categoria = Categoria::SinTransaccion;
        break;
    }
    return d;
}

// The engine's failure as ADO reports it: numbers, SQLSTATE and native error.
FalloMotor FalloSqlite(sqlite3* db, int codigo)
{
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(codigo));
    return FalloDe(Clasificar(codigo, msg));
}

} // namespace ado::sqlite
