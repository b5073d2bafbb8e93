#include "distribution/ArchivoCsv.h"

#include "suite/DialogoArchivo.h"
#include "suite/Dialogos.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace archivo_csv {

std::optional<QString> PedirRuta(const QString& titulo, const QString& nombre)
{
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty() || !QDir(carpeta).exists())
        carpeta = QDir::homePath();
    suite::DialogoArchivo d;
    d.TituloDialogo = titulo;
    d.Filtro = QStringLiteral("Planillas CSV|*.csv");
    d.NombreArchivo = QDir(carpeta).filePath(nombre);
    d.MostrarGuardar();
    if (d.Cancelado || d.NombreArchivo.trimmed().isEmpty())
        return std::nullopt;
    QString ruta = d.NombreArchivo;
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".csv");
    return ruta;
}

bool Escribir(const QString& ruta, const QByteArray& contenido)
{
    QSaveFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly) && archivo.write(contenido) == contenido.size() && archivo.commit())
        return true;
    suite::MsgBox(QStringLiteral("No se pudo escribir el archivo ") + QDir::toNativeSeparators(ruta) + QStringLiteral(":\n")
                      + archivo.errorString(),
                  suite::vbCritical, QStringLiteral("ATENCIÓN"));
    return false;
}

} // namespace archivo_csv
