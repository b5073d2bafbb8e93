#pragma once
// Writes lookup-definition files ("consultas.vlx": 1202-byte records, Windows-1252) for the
// demo company and test fixtures. The program only reads them.

#include <QList>
#include <QString>

namespace demo {

struct DefinicionConsulta {
    QString texto;     // free text, not read by the program
    QString tabla;     // the table or view the record describes
    QString columnas;  // names separated by "|" (or ",")
    QString condicion; // without WHERE, or blank
};

inline constexpr int LargoRegistroConsulta = 1202;

// Fields are padded with blanks; relleno pads them with another byte (0 or 255) instead.
void EscribirConsultas(const QString& ruta, const QList<DefinicionConsulta>& registros, char relleno = ' ');

// The demo company's one record: MA_CUENTAS by code and description.
DefinicionConsulta ConsultaCuentas();

} // namespace demo
