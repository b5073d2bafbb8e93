#include "suite/Equipo.h"

#include <QDir>
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
    const QString carpeta = QDir::tempPath();
    QDir().mkpath(carpeta);
    return carpeta;
}

} // namespace suite
