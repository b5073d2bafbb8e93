// crear_demo CARPETA [--cuentas N] [--centros N] [--base NOMBRE] [--postgresql HOST:PUERTO]
// Creates the registry of servers and the demo company's databases in CARPETA, or on a
// PostgreSQL server with the registry in CARPETA. The administrator (postgres) password is
// taken from PGPASSWORD or ~/.pgpass, or asked for on the terminal; it is never written.
#include "Demo.h"

#include "data/ado/CadenaConexion.h"
#include "suite/ErrorRT.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {
// The administrator's password, read from the terminal without echo, for libpq.
void pedirClaveAdministrador(const QString& servidor)
{
    const QString pgpass = qEnvironmentVariable("PGPASSFILE", QDir::home().filePath(QStringLiteral(".pgpass")));
    if (!qEnvironmentVariableIsEmpty("PGPASSWORD") || QFileInfo::exists(pgpass) || !isatty(STDIN_FILENO))
        return;
    std::fprintf(stderr, "Clave del administrador postgres de %s: ", qPrintable(servidor));
    termios antes{};
    const bool terminal = tcgetattr(STDIN_FILENO, &antes) == 0;
    if (terminal) {
        termios sinEco = antes;
        sinEco.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &sinEco);
    }
    std::string clave;
    std::getline(std::cin, clave);
    if (terminal)
        tcsetattr(STDIN_FILENO, TCSANOW, &antes);
    std::fprintf(stderr, "\n");
    qputenv("PGPASSWORD", QByteArray::fromStdString(clave));
}
} // namespace

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
            pedirClaveAdministrador(args[i + 1]);
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
