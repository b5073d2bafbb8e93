#include "distribution/BuscadorConsultas.h"

#include "lookup/Lib_ClsCons3.h"

Buscador BuscadorConsultas()
{
    return [](const ConsultaPedida& p) -> std::optional<QStringList> {
        Lib_ClsCons3& motor = gConsultas();
        if (p.multiple)
            motor.Checks = true;
        motor.CampoDevuelto = QStringLiteral("CODIGO");
        QString campo;
        QString where = p.where;
        motor.ConsultaSearch(p.sql, nullptr, {}, campo, where, {}, p.arbol, {});
        if (!motor.Valores)
            return std::nullopt;
        if (p.multiple)
            return *motor.Valores;
        const QString v = motor.ValorDevuelto.toString().trimmed();
        if (v.isEmpty())
            return std::nullopt;
        return QStringList{v};
    };
}
