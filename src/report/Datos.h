#pragma once
// The rows a report prints: its main query (grouped), and each detail's rows per group,
// read over one connection with the selection as a parameterised WHERE condition.

#include "report/Definicion.h"
#include "report/Formula.h"

#include "data/ado/Motor.h"

#include <QHash>
#include <QVariant>
#include <functional>
#include <vector>

namespace ado {
class Connection;
}

namespace reporte {

struct Rango {
    size_t inicio = 0;
    size_t fin = 0; // one past the last row
    size_t size() const { return fin - inicio; }
};

// The rows of one query and the fields of its columns.
struct Filas {
    QList<Campo> campos;
    ado::Filas filas;
    // The column of a field; -1 when the query did not read it.
    int columna(const Campo& c) const;
    const QVariant& valor(size_t fila, int columna) const { return filas[fila][size_t(columna)]; }
};

struct DatosReporte {
    Filas principal;
    std::vector<Rango> grupos;               // rows of each group, in order
    std::vector<Filas> detalles;             // one per detail of the definition
    std::vector<std::vector<Rango>> rangos;  // per detail, the rows of each group
};

// The name a table is read under in SQL (a restricted view for some users); the same name
// when nothing replaces it.
using NombreFisico = std::function<QString(const QString& tabla)>;

// The statements the report runs, with their parameters (tests and the benchmark read them).
struct Consultas {
    QString principal;
    std::vector<QString> detalles;
    std::vector<QVariant> parametros; // of every statement
};
Consultas ArmarConsultas(const Definicion& d, const Nodo* seleccion, const ado::Motor& motor, const NombreFisico& fisico);

// Runs the statements over an open connection. Raises suite::ErrorEjecucion (the
// connection's error) when the database refuses one, and ErrorEnFormula when the selection
// names a field of a table the report does not read.
DatosReporte LeerDatos(ado::Connection& cn, const Definicion& d, const Nodo* seleccion, const NombreFisico& fisico);

// A value as a key that groups rows: trimmed, letter case ignored.
QString ClaveGrupo(const QVariant& v);

} // namespace reporte
