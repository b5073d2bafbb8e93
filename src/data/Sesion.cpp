#include "data/Sesion.h"

#include "suite/SuiteUtil.h"

#include <QCoreApplication>
#include <QFileInfo>

QString gUsuarioLogeado;
QString gPassWordLogeado;
bool gConfidencialidad = false;

namespace {
QString& nombreFijado()
{
    static QString n;
    return n;
}
QString& carpetaFijada()
{
    static QString c;
    return c;
}
} // namespace

QString NombreEjecutable()
{
    if (!nombreFijado().isEmpty())
        return nombreFijado();
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void FijarNombreEjecutable(const QString& nombre) { nombreFijado() = nombre; }

QString CarpetaAplicacion()
{
    return suite::CarpetaConBarra(carpetaFijada().isEmpty() ? QCoreApplication::applicationDirPath() : carpetaFijada());
}

void FijarCarpetaAplicacion(const QString& carpeta) { carpetaFijada() = carpeta; }
