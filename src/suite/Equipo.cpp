#include "suite/Equipo.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace suite {

namespace {
QString entorno(const char* nombre)
{
    return qEnvironmentVariable(nombre).trimmed();
}
} // namespace

QString NombreEquipo()
{
    QString n = entorno("COMPUTERNAME");
    if (n.isEmpty())
        n = QSysInfo::machineHostName();
    return n;
}

QString NombreUsuarioWindows()
{
    QString n = entorno("USERNAME");
    if (n.isEmpty())
        n = entorno("USER");
    if (n.isEmpty()) {
        if (const passwd* pw = getpwuid(geteuid()))
            n = QString::fromLocal8Bit(pw->pw_name);
    }
    return n;
}

QString CarpetaTemporal()
{
    // The user's own folders: TMPDIR when the user sets one, else the session's runtime
    // folder, else the state folder (~/.local/state/prorrata); never a folder shared with
    // other users.
    QString carpeta = entorno("TMPDIR");
    if (carpeta.isEmpty())
        carpeta = entorno("XDG_RUNTIME_DIR");
    if (carpeta.isEmpty()) {
        QString estado = entorno("XDG_STATE_HOME");
        if (estado.isEmpty())
            estado = QDir::home().filePath(QStringLiteral(".local/state"));
        carpeta = QDir(estado).filePath(QStringLiteral("prorrata"));
    }
    if (!QDir(carpeta).exists() && QDir().mkpath(carpeta))
        QFile::setPermissions(carpeta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return carpeta;
}

} // namespace suite
