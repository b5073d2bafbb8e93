#pragma once
// The record-selection formulas of the report printer: field references in braces
// ({TABLA.CAMPO}), texts in single or double quotes (a quote doubled inside stands for
// itself), numbers, the functions TrimLeft, TrimRight, Trim, UpperCase and LowerCase,
// comparisons (= <> < > <= >=), LIKE with "*" and "?" as wildcards, NOT, AND and OR
// (letter case ignored). A formula is read into a syntax tree and turned into a WHERE
// condition whose values travel as parameters, never inside the SQL text.

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace reporte {

// The error number of a formula the printer does not accept.
inline constexpr long ErrorEnFormula = 20515;

struct Nodo {
    enum class Tipo { Campo, Texto, Numero, Funcion, Comparacion, Like, Y, O, No };
    Tipo tipo;
    QString valor;   // Texto: the text; Numero: its digits; Funcion: its name; Comparacion: the operator
    QString tabla;   // Campo
    QString campo;   // Campo
    int posicion = 0; // where it starts in the formula, from 1
    std::vector<std::unique_ptr<Nodo>> hijos;

    bool esCondicion() const;
};

// The tree of a formula; nullptr for an empty (or blank) formula, which selects every record.
// A formula it does not accept raises suite::ErrorEjecucion (ErrorEnFormula) with a Spanish
// description that says what is wrong and where.
std::unique_ptr<Nodo> LeerFormula(const QString& formula);

// The tree written back in prefix form, for tests and messages:
// (Y (>= (TrimLeft {T.C}) '1') (LIKE {T.D} 'A*')).
QString Describir(const Nodo& n);

// Every field the tree names, in order of appearance.
void CamposDe(const Nodo& n, std::vector<const Nodo*>& campos);

struct CondicionSql {
    QString sql;                    // with "?" where each parameter goes
    std::vector<QVariant> parametros;
};

// The condition in SQL. `columna` gives the SQL text of a field (and raises when the report
// does not know it).
CondicionSql ComoSql(const Nodo& n, const std::function<QString(const QString& tabla, const QString& campo)>& columna);

// A LIKE pattern with "*" and "?" as wildcards, turned into SQL's "%" and "_" with every
// other special character escaped by "\".
QString PatronLike(const QString& comodines);

} // namespace reporte
