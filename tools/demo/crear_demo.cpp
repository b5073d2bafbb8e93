// crear_demo CARPETA [--cuentas N] [--centros N] [--base NOMBRE] [--postgresql HOST:PUERTO]
// Creates the registry of servers and the demo company's databases in CARPETA, or on a
// PostgreSQL server (administrator postgres/postgres) with the registry in CARPETA.
#include "Demo.h"

#include "data/ado/CadenaConexion.h"
#include "suite/ErrorRT.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first().startsWith(u'-')) {
        std::fprintf(stderr, "uso: crear_demo CARPETA [--cuentas N] [--centros N] [--base NOMBRE] [--postgresql HOST:PUERTO]\n");
        return 2;
    }
    demo::Tamanio t;
    QString base = QString::fromLatin1(demo::BaseDemo);
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--cuentas"))
            t.cuentas = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--centros"))
            t.centros = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--base"))
            base = args[i + 1];
        else if (args[i] == QLatin1String("--postgresql")) {
            qputenv("VL_MOTOR_PRUEBA", "PostgreSQL");
            qputenv("VL_PG_PRUEBA", args[i + 1].toUtf8());
        }
    }
    QElapsedTimer reloj;
    reloj.start();
    try {
        const QString registro = demo::CrearDemo(args.first(), t, base);
        std::printf("Empresa de demostración creada en %s (%lld ms). Registro de servidores: %s\n",
                    qPrintable(args.first()), static_cast<long long>(reloj.elapsed()), qPrintable(registro));
    } catch (const suite::ErrorEjecucion& e) {
        std::fprintf(stderr, "No se pudo crear la demostración: %s\n", qPrintable(e.error().Description));
        return 1;
    }
    return 0;
}
