// T-SQL's "+" joins two texts and adds numbers; engines whose "+" only adds get it as a call
// of their own function, which decides by the values' types. The statement is seen as a tree
// of parenthesised groups so that a group counts as one operand.
#include "data/ado/servidores/Sumas.h"

#include <optional>

namespace ado::tsql {

namespace {

struct Nodo {
    Token k;                    // the token, or "(" of a group
    bool grupo = false;
    std::vector<Nodo> dentro;   // a group's contents
    std::optional<Token> cierre; // a group's ")"
};
using Nodos = std::vector<Nodo>;

Nodos arbol(const Tokens& t, size_t& i, bool enGrupo)
{
    Nodos r;
    while (i < t.size()) {
        const Token& k = t[i];
        if (k.esSimbolo(')') && enGrupo)
            return r;
        ++i;
        if (!k.esSimbolo('(')) {
            r.push_back(Nodo{k, false, {}, {}});
            continue;
        }
        Nodo g{k, true, arbol(t, i, true), {}};
        if (i < t.size())
            g.cierre = t[i++];
        r.push_back(std::move(g));
    }
    return r;
}

void aplanar(const Nodos& nodos, Tokens& out)
{
    for (const Nodo& n : nodos) {
        out.push_back(n.k);
        if (n.grupo) {
            aplanar(n.dentro, out);
            if (n.cierre)
                out.push_back(*n.cierre);
        }
    }
}

bool esClave(const Token& k)
{
    static const char* const claves[] = {"SELECT", "FROM",  "WHERE", "AND",    "OR",    "NOT",    "AS",     "ON",    "IN",
                                         "IS",     "LIKE",  "BETWEEN", "THEN", "ELSE",  "WHEN",   "END",    "CASE",  "SET",
                                         "VALUES", "ORDER", "BY",    "GROUP",  "HAVING", "DISTINCT", "TOP", "UNION", "ALL",
                                         "INTO",   "JOIN",  "LEFT",  "RIGHT",  "INNER", "OUTER",  "CROSS",  "FULL",  "EXISTS",
                                         "ESCAPE", "COLLATE", "ASC", "DESC",   "WITH",  "UPDATE", "DELETE", "INSERT", "LIMIT"};
    if (k.tipo != Tipo::Palabra)
        return false;
    for (const char* c : claves)
        if (k.es(c))
            return true;
    return false;
}

bool esNombre(const Nodo& n)
{
    return !n.grupo && ((n.k.tipo == Tipo::Palabra && !esClave(n.k)) || n.k.tipo == Tipo::Corchetes || n.k.tipo == Tipo::Comillas);
}

bool esOperador(const Nodo& n, const char* ops)
{
    if (n.grupo || n.k.tipo != Tipo::Simbolo || n.k.texto.size() != 1)
        return false;
    for (const char* o = ops; *o; ++o)
        if (n.k.texto[0] == QChar(*o))
            return true;
    return false;
}

constexpr size_t Ninguno = size_t(-1);

size_t anterior(const Nodos& n, size_t i)
{
    while (i > 0) {
        --i;
        if (n[i].grupo || n[i].k.significativo())
            return i;
    }
    return Ninguno;
}

size_t siguiente(const Nodos& n, size_t i)
{
    for (; i < n.size(); ++i)
        if (n[i].grupo || n[i].k.significativo())
            return i;
    return Ninguno;
}

// The first node of the operand that ends at j; Ninguno when j ends none.
size_t inicioOperando(const Nodos& n, size_t j)
{
    if (j == Ninguno)
        return Ninguno;
    const Nodo& x = n[j];
    if (x.grupo) {
        const size_t p = anterior(n, j);
        return p != Ninguno && n[p].k.tipo == Tipo::Palabra && esNombre(n[p]) ? p : j; // a function's call
    }
    if (x.k.es("END")) {
        int nivel = 0;
        for (size_t i = j + 1; i-- > 0;) {
            if (n[i].k.es("END"))
                ++nivel;
            else if (n[i].k.es("CASE") && --nivel == 0)
                return i;
        }
        return Ninguno;
    }
    if (x.k.tipo == Tipo::Cadena || x.k.tipo == Tipo::Numero)
        return j;
    if (!esNombre(x))
        return Ninguno;
    size_t inicio = j;
    for (;;) { // a.b.c
        const size_t punto = anterior(n, inicio);
        if (punto == Ninguno || !esOperador(n[punto], "."))
            return inicio;
        const size_t nombre = anterior(n, punto);
        if (nombre == Ninguno || !esNombre(n[nombre]))
            return inicio;
        inicio = nombre;
    }
}

// The last node of the operand that starts at j; Ninguno when none starts there.
size_t finOperando(const Nodos& n, size_t j)
{
    if (j == Ninguno)
        return Ninguno;
    const Nodo& x = n[j];
    if (x.grupo || x.k.tipo == Tipo::Cadena || x.k.tipo == Tipo::Numero)
        return j;
    if (x.k.es("CASE")) {
        int nivel = 0;
        for (size_t i = j; i < n.size(); ++i) {
            if (n[i].k.es("CASE"))
                ++nivel;
            else if (n[i].k.es("END") && --nivel == 0)
                return i;
        }
        return Ninguno;
    }
    if (!esNombre(x))
        return Ninguno;
    size_t fin = j;
    for (;;) {
        const size_t sig = siguiente(n, fin + 1);
        if (sig != Ninguno && n[sig].grupo && fin == j && x.k.tipo == Tipo::Palabra)
            return sig; // a function's call
        if (sig == Ninguno || !esOperador(n[sig], "."))
            return fin;
        const size_t nombre = siguiente(n, sig + 1);
        if (nombre == Ninguno || !esNombre(n[nombre]))
            return fin;
        fin = nombre;
    }
}

// A "+" at i joins two operands (it is not a sign).
bool binario(const Nodos& n, size_t i) { return esOperador(n[i], "+") && inicioOperando(n, anterior(n, i)) != Ninguno; }

void sumas(Nodos& n, const QString& funcion)
{
    for (Nodo& x : n)
        if (x.grupo)
            sumas(x.dentro, funcion);
    for (size_t i = 0; i < n.size(); ++i) {
        if (!binario(n, i))
            continue;
        // The chain of operands joined by + - * / % around this "+", signs included.
        size_t desde = inicioOperando(n, anterior(n, i));
        for (;;) {
            size_t op = anterior(n, desde);
            if (op != Ninguno && esOperador(n[op], "+-") && inicioOperando(n, anterior(n, op)) == Ninguno) {
                desde = op; // a sign
                op = anterior(n, desde);
            }
            if (op == Ninguno || !esOperador(n[op], "+-*/%"))
                break;
            const size_t previo = inicioOperando(n, anterior(n, op));
            if (previo == Ninguno)
                break;
            desde = previo;
        }
        size_t hasta = i;
        bool completa = false;
        for (;;) {
            size_t inicio = siguiente(n, hasta + 1);
            if (inicio != Ninguno && esOperador(n[inicio], "+-"))
                inicio = siguiente(n, inicio + 1); // a sign
            const size_t fin = finOperando(n, inicio);
            if (fin == Ninguno)
                break;
            hasta = fin;
            completa = true;
            const size_t op = siguiente(n, hasta + 1);
            if (op == Ninguno || !esOperador(n[op], "+-*/%"))
                break;
            hasta = op;
            completa = false;
        }
        if (!completa) // "x +" with nothing after: left as written
            continue;
        // Terms are the runs between binary + and -; each "+" becomes a call, from the left.
        Nodos acumulado, termino;
        char pendiente = 0;
        auto cerrarTermino = [&] {
            while (!termino.empty() && !termino.back().grupo && !termino.back().k.significativo())
                termino.pop_back();
            if (pendiente == '+') {
                Nodo llamada{Token{Tipo::Simbolo, QStringLiteral("(")}, true, {}, Token{Tipo::Simbolo, QStringLiteral(")")}};
                llamada.dentro = std::move(acumulado);
                llamada.dentro.push_back(Nodo{Token{Tipo::Simbolo, QStringLiteral(",")}, false, {}, {}});
                llamada.dentro.push_back(Nodo{Token{Tipo::Blanco, QStringLiteral(" ")}, false, {}, {}});
                llamada.dentro.insert(llamada.dentro.end(), termino.begin(), termino.end());
                acumulado = Nodos{Nodo{Token{Tipo::Palabra, funcion}, false, {}, {}}, std::move(llamada)};
            } else {
                if (pendiente == '-')
                    acumulado.push_back(Nodo{Token{Tipo::Simbolo, QStringLiteral("-")}, false, {}, {}});
                acumulado.insert(acumulado.end(), termino.begin(), termino.end());
            }
            termino.clear();
        };
        for (size_t j = desde; j <= hasta; ++j) {
            if (esOperador(n[j], "+-") && j != desde && inicioOperando(n, anterior(n, j)) != Ninguno
                && anterior(n, j) >= desde) {
                cerrarTermino();
                pendiente = char(n[j].k.texto[0].toLatin1());
                continue;
            }
            if (termino.empty() && !n[j].grupo && !n[j].k.significativo())
                continue;
            termino.push_back(n[j]);
        }
        cerrarTermino();
        n.erase(n.begin() + qsizetype(desde), n.begin() + qsizetype(hasta) + 1);
        n.insert(n.begin() + qsizetype(desde), acumulado.begin(), acumulado.end());
        i = desde + acumulado.size() - 1;
    }
}

} // namespace

Tokens ConSumas(const Tokens& t, const QString& funcion)
{
    size_t i = 0;
    Nodos n = arbol(t, i, false);
    sumas(n, funcion);
    Tokens out;
    aplanar(n, out);
    return out;
}

} // namespace ado::tsql
