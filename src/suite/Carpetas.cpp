#include "suite/Carpetas.h"

#include "suite/Ini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace suite {

namespace {
// An XDG variable's folder, or the default under the home folder when it is unset, empty or
// relative (the XDG base directory rules say to ignore such values).
QString baseXdg(const char* variable, const char* predeterminada)
{
    const QString v = qEnvironmentVariable(variable);
    if (!v.isEmpty() && QDir::isAbsolutePath(v))
        return QDir::cleanPath(v);
    return QDir::home().filePath(QString::fromLatin1(predeterminada));
}
const QString Programa = QStringLiteral("prorrata");
} // namespace

QString CarpetaConfiguracionUsuario() { return QDir(baseXdg("XDG_CONFIG_HOME", ".config")).filePath(Programa); }
QString CarpetaDatosUsuario() { return QDir(baseXdg("XDG_DATA_HOME", ".local/share")).filePath(Programa); }
QString CarpetaEstadoUsuario() { return QDir(baseXdg("XDG_STATE_HOME", ".local/state")).filePath(Programa); }

QStringList CarpetasConfiguracion()
{
    QStringList r{CarpetaConfiguracionUsuario()};
    QString sistema = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (sistema.isEmpty())
        sistema = QStringLiteral("/etc/xdg");
    for (const QString& d : sistema.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(d))
            r << QDir(QDir::cleanPath(d)).filePath(Programa);
    }
    r << QString::fromLatin1(CarpetaConfiguracionSistema);
    const QString programa = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!programa.isEmpty())
        r << QDir::cleanPath(programa);
    r.removeDuplicates();
    return r;
}

QString BuscarConfiguracion(const QString& nombre)
{
    for (const QString& carpeta : CarpetasConfiguracion()) {
        const QString ruta = BuscarArchivoSinCaso(carpeta, nombre);
        if (QFileInfo(ruta).isFile())
            return ruta;
    }
    return {};
}

bool CrearCarpetaPropia(const QString& carpeta)
{
    const QString destino = QDir::cleanPath(QDir().absoluteFilePath(carpeta));
    if (QFileInfo(destino).isDir())
        return true;
    // Each missing level is created owner-only, as XDG asks for its folders.
    QStringList faltan;
    for (QString d = destino; !d.isEmpty() && !QFileInfo::exists(d); d = QFileInfo(d).path()) {
        faltan.prepend(d);
        if (QFileInfo(d).path() == d)
            break;
    }
    for (const QString& d : faltan) {
        if (!QDir().mkdir(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
            && !QFileInfo(d).isDir())
            return false;
    }
    return QFileInfo(destino).isDir();
}

} // namespace suite
