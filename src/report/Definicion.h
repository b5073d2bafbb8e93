#pragma once
// Report definitions: one UTF-8 text file per report (NAME.rpt in the reports folder) that
// says what to read, how to group it, which columns to print and which heading formulas
// the headings show. Sections in brackets hold "key = value" lines, read in order (a key
// may repeat); lines starting with ";" are comments. Fields are written {TABLA.CAMPO};
// heading texts may name heading formulas as {@Nombre}. Cells of a line are separated by
// "|". See resources/reportes/RP_CCDIST.rpt.
//
//   [reporte]   papel = A4 | Carta | Oficio;  orientacion = vertical | horizontal
//   [encabezado] empresa = text;  linea = text (repeats);  titulo = text
//   [datos]     tabla = T;  unir = {T2.C} = {T.C} (a left join, repeats);  orden = {T.C}, ...
//   [grupo]     campo = {T.C};  rotulo = text with fields;  dato = caption | {T.C} [| format]
//   [columnas]  columna = caption | {T.C} | width % [| format];  total = caption | {T.C} [| suffix]
//   [detalle]   titulo = text;  tabla = T;  enlace = {T.C} = {grouping field};  orden = ...;
//               columna = ... (as above);  vacio = text when no row matches (repeatable section)
//   [pie]       firma = caption (repeats)
//
// Formats: texto (default), moneda (the suite's amounts, right-aligned), porcentaje (right-aligned,
// with every decimal the value has beyond the suite's), sino ("Sí"/"No").

#include <QList>
#include <QString>
#include <QStringList>

namespace reporte {

// The error number of a definition that cannot be found or read.
inline constexpr long ErrorEnDefinicion = 20507;

struct Campo {
    QString tabla;
    QString campo;
    bool operator==(const Campo& o) const
    {
        return tabla.compare(o.tabla, Qt::CaseInsensitive) == 0 && campo.compare(o.campo, Qt::CaseInsensitive) == 0;
    }
    QString texto() const { return u'{' + tabla + u'.' + campo + u'}'; }
};

enum class Formato { Texto, Moneda, Porcentaje, SiNo };

struct Dato {
    QString rotulo;
    Campo campo;
    Formato formato = Formato::Texto;
};

struct Columna {
    QString titulo;
    Campo campo;
    double ancho = 0; // share of the line's width, in percent
    Formato formato = Formato::Texto;
};

struct Total {
    QString rotulo;
    Campo campo;     // a column's field, summed
    QString sufijo;  // written after the sum ("%")
};

struct Union {
    Campo campo;     // of the joined table
    Campo con;       // of a table already in the query
};

struct Detalle {
    QString titulo;
    QString tabla;
    Campo enlace;    // of the detail table, equal to the grouping field
    QList<Campo> orden;
    QList<Columna> columnas;
    QString vacio;
};

struct Definicion {
    QString nombre;
    QString papel = QStringLiteral("A4");
    bool horizontal = false;

    QString empresa;
    QStringList lineas;
    QString titulo;

    QString tabla;
    QList<Union> uniones;
    QList<Campo> orden;

    Campo grupo;
    QString rotulo;
    QList<Dato> datos;

    QList<Columna> columnas;
    QList<Total> totales;
    QList<Detalle> detalles;
    QStringList firmas;

    // The tables of the main query: the table and those joined to it.
    QStringList tablas() const;
};

// The fields a text names as {TABLA.CAMPO}, in order.
QList<Campo> CamposDeTexto(const QString& texto);

// Reads a definition from its text; `origen` names it in messages. Raises
// suite::ErrorEjecucion (ErrorEnDefinicion) naming the line that is wrong.
Definicion LeerDefinicion(const QString& texto, const QString& origen);

// The definition NAME.rpt of the reports folder (suite::CarpetaReportes).
Definicion CargarDefinicion(const QString& nombre);

} // namespace reporte
