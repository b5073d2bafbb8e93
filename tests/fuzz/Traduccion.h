#pragma once
// What every dialect's translation must keep: it raises nothing but the layer's own failure
// (FalloMotor), and the translated statements hold every string literal of the batch (its
// session statements SET, USE and PRINT aside), as
// written (an N'' literal without its N; trailing blanks aside, which a dialect may drop
// where SQL Server ignores them), and no literal of their own beyond the dialect's fixed ones.

#include "Fuzz.h"

#include "data/ado/servidores/Dialecto.h"
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
    // An expression the dialect writes twice (CHARINDEX from a position, CONVERT style 103)
    // repeats its literals: each one must come out at least as often as it went in.
    // SET, USE and PRINT are SQL Server's session statements, which the dialects leave out.
    QStringList entrada;
    for (const auto& s : ado::tsql::DividirLote(ado::tsql::Tokenizar(tsql))) {
        const auto& p = s[ado::tsql::Siguiente(s, 0)];
        if (!p.es("SET") && !p.es("USE") && !p.es("PRINT"))
            entrada << Literales(ado::tsql::Unir(s));
    }
    QStringList salida;
    QString traducido;
    for (const auto& s : lote) {
        if (s.accion != ado::tsql::Accion::Sentencia)
            continue;
        traducido += s.sql + QStringLiteral("\n");
        salida << Literales(s.sql);
    }
    QStringList faltan, sobran;
    for (const QString& l : entrada)
        if (entrada.count(l) > salida.count(l) && !faltan.contains(l))
            faltan << l;
    for (const QString& l : salida)
        if (!entrada.contains(l) && !propios.contains(l))
            sobran << l;
    EXIGIR(faltan.isEmpty() && sobran.isEmpty(),
           tsql + QStringLiteral("\n=> ") + traducido + QStringLiteral("faltan: ") + faltan.join(u'|')
               + QStringLiteral(" sobran: ") + sobran.join(u'|'));
}

} // namespace fuzz
