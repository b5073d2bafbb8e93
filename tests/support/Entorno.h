#pragma once
// Test surroundings: regional settings with decimal comma, thousands point and two digits,
// a fixed clock, and a temporary folder; all restored when the object goes.

#include <QDateTime>
#include <QTemporaryDir>

class EntornoPrueba {
public:
    explicit EntornoPrueba(const QDateTime& reloj = QDateTime(QDate(2026, 8, 12), QTime(18, 4, 11)));
    ~EntornoPrueba();

    QString carpeta() const { return dir_.path(); }
    QString ruta(const QString& nombre) const { return dir_.filePath(nombre); }
    // Writes bytes to a file in the temporary folder and returns its path.
    QString escribir(const QString& nombre, const QByteArray& contenido) const;

private:
    QTemporaryDir dir_;
};
