#include "Fuzz.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace fuzz {

namespace {
struct Archivo {
    QString ruta = QDir::tempPath() + QStringLiteral("/prorrata-fuzz-%1").arg(getpid());
    ~Archivo() { QFile::remove(ruta); }
};
} // namespace

QString EnArchivo(const QByteArray& contenido)
{
    static Archivo a;
    QFile f(a.ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contenido) != contenido.size())
        Incumplida("se puede escribir el archivo temporal", a.ruta);
    return a.ruta;
}

} // namespace fuzz
