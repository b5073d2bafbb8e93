#include "data/ado/sqlite/Dialecto.h"

namespace ado::sqlite {

namespace {

QString citado(const QString& id) { return u'"' + QString(id).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

tsql::Reglas reglas()
{
    tsql::Reglas r;
    r.isnull = QStringLiteral("IFNULL");
    r.ahora = QStringLiteral("DATETIME('now','localtime')");
    r.identidad = QStringLiteral("LAST_INSERT_ROWID()");
    r.trasLiteral = QStringLiteral(" COLLATE VL");
    r.sumar = QStringLiteral("VL_SUMAR");
    r.identificador = citado;
    r.charindex = [](const QString& en, const QString& buscado, const std::optional<QString>& desde) {
        if (!desde)
            return QStringLiteral("INSTR(%1,%2)").arg(en, buscado);
        const QString inst = QStringLiteral("INSTR(SUBSTR(%1,%2),%3)").arg(en, *desde, buscado);
        return QStringLiteral("(CASE WHEN %1>0 THEN %1+(%2)-1 ELSE 0 END)").arg(inst, *desde);
    };
    r.convertir = [](const QString& tipo, const QString& valor, bool estilo103) {
        static const QStringList textos{"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT"};
        static const QStringList enteros{"INT", "INTEGER", "SMALLINT", "BIGINT", "TINYINT", "BIT"};
        static const QStringList fechas{"DATETIME", "DATE", "SMALLDATETIME"};
        if (textos.contains(tipo))
            return (estilo103 ? QStringLiteral("STRFTIME('%d/%m/%Y',%1)") : QStringLiteral("CAST(%1 AS TEXT)")).arg(valor);
        if (enteros.contains(tipo))
            return QStringLiteral("CAST(%1 AS INTEGER)").arg(valor);
        if (fechas.contains(tipo))
            return (estilo103 ? QStringLiteral("(SUBSTR(%1,7,4)||'-'||SUBSTR(%1,4,2)||'-'||SUBSTR(%1,1,2))")
                              : QStringLiteral("DATETIME(%1)"))
                .arg(valor);
        return QStringLiteral("CAST(%1 AS REAL)").arg(valor);
    };
    r.columna = [](const tsql::DefinicionColumna& d) {
        QString s = citado(d.nombre) + u' ' + (d.identidad ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT") : d.tipoEscrito);
        if (!d.resto.isEmpty())
            s += u' ' + d.resto;
        if (d.texto) {
            s += QStringLiteral(" COLLATE VL");
            if (d.largo)
                s += QStringLiteral(" CONSTRAINT \"%1%2__%3\" CHECK (LENGTH(%4) <= %5)")
                         .arg(QLatin1String(PrefijoLargo), d.tabla, d.nombre, citado(d.nombre))
                         .arg(*d.largo);
        }
        return s;
    };
    return r;
}

} // namespace

std::vector<SentenciaSqlite> TraducirLote(const QString& tsql)
{
    static const tsql::Reglas r = reglas();
    return tsql::TraducirLote(tsql, r);
}

} // namespace ado::sqlite
