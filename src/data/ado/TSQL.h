#pragma once
// T-SQL text as tokens: the lexer and the batch splitter that the engines' dialect steps
// share. Tokens keep their exact text, so joining them gives the original back; string
// literals and comments are single tokens and are never looked into.

#include <QString>
#include <vector>

namespace ado::tsql {

enum class Tipo {
    Blanco,      // blanks, tabs and line breaks
    Comentario,  // -- to end of line, or /* */
    Palabra,     // identifier or keyword, also @variable, @@function, #temp
    Corchetes,   // [quoted identifier]
    Comillas,    // "quoted identifier"
    Cadena,      // 'literal' or N'literal'
    Numero,
    Simbolo,     // operators and punctuation: ( ) , . = <> <= >= != + - * / % ;
};

struct Token {
    Tipo tipo;
    QString texto;

    bool es(const char* palabra) const; // a word equal to palabra, letter case ignored
    bool esSimbolo(char c) const { return tipo == Tipo::Simbolo && texto.size() == 1 && texto[0] == QChar(c); }
    bool significativo() const { return tipo != Tipo::Blanco && tipo != Tipo::Comentario; }
    // A quoted token ([x], "x", 'x') whose closing character is missing.
    bool sinCerrar() const;
    // The identifier without its quoting ([x] and "x" give x).
    QString identificador() const;
};

using Tokens = std::vector<Token>;

Tokens Tokenizar(const QString& sql);
QString Unir(const Tokens& tokens);

// Splits a batch into statements: at ";", at "GO" on a line of its own, and where a new
// statement starts without a separator, as T-SQL allows (a line "BEGIN TRANSACTION" then a
// DELETE then INSERTs). Statements come without their separators, blanks around trimmed;
// empty ones are dropped.
std::vector<Tokens> DividirLote(const Tokens& tokens);

// Index of the next significant token at or after i (tokens.size() when none).
size_t Siguiente(const Tokens& t, size_t i);
// Index of the token closing the parenthesis opened at i (tokens.size() when unbalanced).
size_t CierreParentesis(const Tokens& t, size_t i);

// What a batch does to explicit transactions (BEGIN TRAN[SACTION], COMMIT, ROLLBACK as
// statements; words inside literals and comments do not count).
struct EfectoTransaccion {
    bool empieza = false; // begins one
    bool empiezaPrimero = false; // its first statement is that BEGIN
    int abiertas = 0;     // begun and left open at its end
    bool termina = false; // ends one it did not begin (a COMMIT or ROLLBACK of an earlier batch)
    bool confirma = false; // holds a COMMIT or ROLLBACK anywhere
};
EfectoTransaccion EfectoEnTransacciones(const QString& sql);

} // namespace ado::tsql
