#pragma once
// Distribution tables as a CSV file that spreadsheets open: a header line, then one row per
// line of a table (its code, name, concept and flag repeated on each). Written as UTF-8 with
// its byte-order mark, ';' between fields and the regional decimal separator. Read back from
// that, or from what a spreadsheet saves: ';' or ',' between fields, UTF-8 or Windows-1252,
// a decimal point or comma. No database here: the store reads and writes the tables.

#include "suite/Moneda.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace planilla {

struct LineaPlanilla {
    QString centro;
    suite::Moneda porcentaje;
    int fila = 0; // row of the file it came from (the header is row 1)
};

struct TablaPlanilla {
    QString codigo; // as typed, without the blanks of the code form
    QString nombre;
    QString concepto;
    bool pideConfirmacion = false;
    std::vector<LineaPlanilla> lineas;
    int fila = 0; // row of its first line
};

// Column titles, in the order they are written.
const QStringList& Encabezado();

// Longest values the tables hold.
inline constexpr int LargoCodigo = 4;
inline constexpr int LargoCentro = 4;
inline constexpr int LargoTexto = 60; // name and concept

QByteArray Escribir(const std::vector<TablaPlanilla>& tablas, QChar decimal);
// Any list in the same form: a header line, then its rows.
QByteArray EscribirFilas(const QStringList& encabezado, const std::vector<QStringList>& filas);

struct Lectura {
    std::vector<TablaPlanilla> tablas; // in the order they first appear
    QStringList errores;               // each names its row; nothing is usable when not empty
    int filas = 0;                     // rows with a line
};

// Checks every row: the columns, the code and centre lengths, that the centre exists, the
// percentage, each table's total against 100 %, and that a table's rows agree.
Lectura Leer(const QByteArray& archivo, const std::function<bool(const QString&)>& centroExiste);

// The errors as one message; a long list is cut after `maximo` with how many more there are.
QString MensajeErrores(const QStringList& errores, int maximo = 15);

} // namespace planilla
