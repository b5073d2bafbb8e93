// The T-SQL lexer and the batch splitter: the tokens give the text back exactly, and the
// statements keep every string literal of the batch, whole and in order.
#include "Fuzz.h"

#include "data/ado/TSQL.h"

#include <QStringList>

using namespace ado::tsql;

ENTRADA_FUZZ
{
    const QString sql = fuzz::Texto(datos, largo);
    const Tokens tokens = Tokenizar(sql);
    EXIGIR(Unir(tokens) == sql, sql);
    QStringList literales;
    for (size_t i = 0; i < tokens.size(); ++i) {
        EXIGIR(!tokens[i].texto.isEmpty(), sql);
        if (tokens[i].tipo == Tipo::Cadena)
            literales << tokens[i].texto;
        if (tokens[i].esSimbolo('(')) {
            const size_t c = CierreParentesis(tokens, i);
            EXIGIR(c > i && c <= tokens.size(), sql);
        }
        EXIGIR(Siguiente(tokens, i) >= i && Siguiente(tokens, i) <= tokens.size(), sql);
    }
    QStringList enSentencias;
    for (const Tokens& s : DividirLote(tokens)) {
        EXIGIR(!s.empty(), sql);
        for (const Token& t : s)
            if (t.tipo == Tipo::Cadena)
                enSentencias << t.texto;
    }
    EXIGIR(enSentencias == literales, sql + QStringLiteral("\n-> ") + enSentencias.join(u'|'));
    EfectoEnTransacciones(sql);
    return 0;
}
