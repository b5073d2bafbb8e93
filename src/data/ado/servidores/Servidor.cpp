#include "data/ado/servidores/Servidor.h"

#include "data/ado/servidores/Dialecto.h"
#include "data/ado/servidores/PostgreSQL.h"
#include "data/ado/servidores/SQLite.h"

namespace ado::servidores {

Dialecto DialectoDe(const QString& nombreDbms)
{
    if (nombreDbms.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
        return Dialecto::PostgreSQL;
    if (nombreDbms.contains(QLatin1String("SQLite"), Qt::CaseInsensitive))
        return Dialecto::SQLite;
    return Dialecto::SqlServer;
}

std::vector<QString> Traducir(Dialecto d, const QString& tsql, std::vector<int>* acciones)
{
    std::vector<QString> r;
    if (d == Dialecto::SqlServer) { // T-SQL goes as written
        r.push_back(tsql);
        acciones->push_back(0);
        return r;
    }
    const auto lote = d == Dialecto::PostgreSQL ? postgresql::TraducirLote(tsql) : sqlite::TraducirLote(tsql);
    for (const auto& s : lote) {
        r.push_back(s.sql);
        acciones->push_back(int(s.accion));
    }
    return r;
}

QString Citar(Dialecto d, const QString& id)
{
    switch (d) {
    case Dialecto::PostgreSQL: return postgresql::Citar(id);
    case Dialecto::SqlServer: return tsql::Citado(id, u'[', u']');
    case Dialecto::SQLite: break;
    }
    return tsql::Citado(id);
}

} // namespace ado::servidores
