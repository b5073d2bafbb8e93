#pragma once
// What every dialect's translation must keep: it raises nothing but the layer's own failure
// (FalloMotor), and the translated statements hold every string literal of the batch, as
// written (an N'' literal without its N; trailing blanks aside, which a dialect may drop
// where SQL Server ignores them), and no literal of their own beyond the dialect's fixed ones.

#include "Fuzz.h"

#include "data/ado/Dialecto.h"
#include "data/ado/Motor.h"

#include <QStringList>
#include <algorithm>
#include <functional>

namespace fuzz {

inline QStringList Literales(const QString& sql)
{
    QStringList r;
    for (const auto& t : ado::tsql::Tokenizar(sql)) {
        if (t.tipo != ado::tsql::Tipo::Cadena)
            continue;
        QString s = t.texto.startsWith(u'N') || t.texto.startsWith(u'n') ? t.texto.mid(1) : t.texto;
        while (s.endsWith(u'\'') && s.size() > 2 && s[s.size() - 2] == u' ')
            s.remove(s.size() - 2, 1);
        r << s;
    }
    return r;
}

inline void ComprobarTraduccion(const uint8_t* datos, size_t largo,
                                const std::function<std::vector<ado::tsql::SentenciaTraducida>(const QString&)>& traducir,
                                const QStringList& propios)
{
    const QString tsql = Texto(datos, largo);
    std::vector<ado::tsql::SentenciaTraducida> lote;
    try {
        lote = traducir(tsql);
    } catch (const ado::FalloMotor&) {
        return;
    }
    QStringList faltan = Literales(tsql);
    QStringList sobran;
    QString traducido;
    for (const auto& s : lote) {
        if (s.accion != ado::tsql::Accion::Sentencia)
            continue;
        traducido += s.sql + QStringLiteral("\n");
        for (const QString& l : Literales(s.sql)) {
            if (!faltan.removeOne(l) && !propios.contains(l))
                sobran << l;
        }
    }
    EXIGIR(faltan.isEmpty() && sobran.isEmpty(),
           tsql + QStringLiteral("\n=> ") + traducido + QStringLiteral("faltan: ") + faltan.join(u'|')
               + QStringLiteral(" sobran: ") + sobran.join(u'|'));
}

} // namespace fuzz
