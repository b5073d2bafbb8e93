#include "data/ado/servidores/SQLite.h"

namespace ado::sqlite {

namespace {

QString citado(const QString& id) { return tsql::Citado(id); }

tsql::Reglas reglas()
{
    tsql::Reglas r;
    r.isnull = QStringLiteral("IFNULL");
    r.ahora = QStringLiteral("DATETIME('now','localtime')");
    r.identidad = QStringLiteral("LAST_INSERT_ROWID()");
    r.trasLiteral = QStringLiteral(" COLLATE VL");
    r.sumar = QStringLiteral("VL_SUMAR");
    r.identificador = citado;
    r.charindex = tsql::CharindexCon(QStringLiteral("INSTR"));
    r.convertir = tsql::ConvertirCon({QStringLiteral("CAST(%1 AS TEXT)"), QStringLiteral("STRFTIME('%d/%m/%Y',%1)"),
                                      QStringLiteral("CAST(%1 AS INTEGER)"), QStringLiteral("DATETIME(%1)"),
                                      QStringLiteral("(SUBSTR(%1,7,4)||'-'||SUBSTR(%1,4,2)||'-'||SUBSTR(%1,1,2))"),
                                      QStringLiteral("CAST(%1 AS REAL)")});
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
    thread_local tsql::MemoriaTraducciones memoria(r);
    return memoria.traducir(tsql);
}

} // namespace ado::sqlite
