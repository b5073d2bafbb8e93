#include "ServidorPrueba.h"

#include <QProcess>
#include <QStringList>

bool cluster(const QString& accion)
{
    QStringList args{QStringLiteral(GUION_PG), accion, qEnvironmentVariable("VL_PG_CARPETA")};
    if (accion == QLatin1String("reanudar"))
        args << qEnvironmentVariable("VL_PG_PRUEBA").section(u':', 1, 1);
    return QProcess::execute(QStringLiteral("bash"), args) == 0;
}
