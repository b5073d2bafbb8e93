#pragma once
// Saving a CSV file the editor writes: the save dialog started in the user's documents folder,
// and the file written aside and put in place whole.

#include <QByteArray>
#include <QString>
#include <optional>

namespace archivo_csv {

// The path the user chose for `nombre` ("tablas.csv"), with ".csv" added when it has no
// suffix; none when cancelled.
std::optional<QString> PedirRuta(const QString& titulo, const QString& nombre);

// Writes the whole file or nothing: a failure leaves any earlier file as it was and is shown
// with the file's name. False then.
bool Escribir(const QString& ruta, const QByteArray& contenido);

} // namespace archivo_csv
