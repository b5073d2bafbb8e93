#pragma once
// SQLite's declared types as ADO field types, values read from a statement into variants,
// and variants bound as parameters.

#include "data/ado/Motor.h"

#include <QVariant>
#include <vector>

struct sqlite3_stmt;

namespace ado::sqlite {

struct TipoColumna {
    int tipo = -1;     // -1: from the stored value
    long tamanio = 0;
    int escala = 0;
};

// The ADO type of a declared column type ("varchar(60)", "money", ...).
TipoColumna TipoDe(const char* declarado);
// Column i of the current row as a variant of the column's type (Null an invalid variant).
QVariant ValorDe(sqlite3_stmt* st, int i, const TipoColumna& t);
// The type of a computed column, from the values it holds.
void DeducirTipo(Columna& c, const Filas& filas, size_t i);
// Binds a variant as parameter i (from 1).
void Enlazar(sqlite3_stmt* st, int i, const QVariant& v);
// Names, declared types and origins of a statement's columns.
void Describir(sqlite3_stmt* st, std::vector<Columna>& columnas, std::vector<TipoColumna>& tipos);

} // namespace ado::sqlite
