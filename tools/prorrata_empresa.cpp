// prorrata-empresa: creates a company of the suite (the demo company, or an empty one) with
// its statistics database, as SQLite files in the user's data folder or on a PostgreSQL
// server, and writes the server's entry in the user's registry of servers. Run with --help.
// The administrator (postgres) password is taken from PGPASSWORD or ~/.pgpass, or asked for
// on the terminal; it is never written.
#include "ConsultasVlx.h"
#include "Demo.h"

#include "data/ado/CadenaConexion.h"
#include "suite/Carpetas.h"
#include "suite/CodigosSalida.h"
#include "suite/ErrorRT.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

const char Ayuda[] =
    "Uso: prorrata-empresa [OPCIONES]\n"
    "Crea una empresa para prorrata: la de demostración (predeterminada) o una vacía, con su base\n"
    "de estadísticas (VL_ESTADISTICAS, cuando el servidor no la tiene), y anota el servidor en el\n"
    "registro de servidores del usuario. Después, prorrata --acceso (o el menú) la abre.\n"
    "\n"
    "Opciones:\n"
    "  --vacia                  una empresa vacía (solo las tablas) en lugar de la demostración\n"
    "  --base NOMBRE            nombre de la base de la empresa (EMPRESA_DEMO)\n"
    "  --servidor NOMBRE        nombre del servidor en el registro (DEMO)\n"
    "  --carpeta CARPETA        carpeta de las bases SQLite ($XDG_DATA_HOME/prorrata,\n"
    "                           ~/.local/share/prorrata)\n"
    "  --postgresql HOST:PUERTO en un servidor PostgreSQL en lugar de archivos SQLite; la clave del\n"
    "                           administrador postgres sale de PGPASSWORD, ~/.pgpass o la terminal\n"
    "  --registro ARCHIVO       registro de servidores a escribir (VL_SERVIDORES, o\n"
    "                           ~/.config/prorrata/servidores.ini)\n"
    "  --reemplazar             borra y crea de nuevo una base de la empresa que ya existe\n"
    "  --cuentas N, --centros N cuentas y centros de costo adicionales (pruebas de volumen)\n"
    "  --consultas ARCHIVO      solo escribe las definiciones de consultas (consultas.vlx)\n"
    "  -h, --help               muestra esta ayuda y termina\n"
    "  -V, --version            muestra la versión y termina\n"
    "\n"
    "Forma anterior, para el árbol de compilación y las pruebas de rendimiento:\n"
    "  prorrata-empresa CARPETA [OPCIONES]   registro, bases y consultas.vlx en CARPETA\n"
    "\n"
    "Las bases SQLite y el registro se crean legibles solo por su dueño. Una base existente no se\n"
    "toca sin --reemplazar. Estado de salida: 0 creada; 1 error; 2 uso incorrecto.\n"
    "Ver prorrata-empresa(1).\n";

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

int usoIncorrecto(const QString& motivo)
{
    std::fprintf(stderr, "prorrata-empresa: %s\nMás información: prorrata-empresa --help\n", qUtf8Printable(motivo));
    return suite::SalidaUsoIncorrecto;
}

// What the command line asks for.
struct Opciones {
    demo::Tamanio t;
    QString base = QString::fromLatin1(demo::BaseDemo);
    QString servidor = QString::fromLatin1(demo::ServidorDemo);
    QString carpeta = suite::CarpetaDatosUsuario();
    QString registro;
    QString consultas;
    QString postgresql;
    bool vacia = false;
    bool reemplazar = false;
};

// The options after the folder of the older form; an exit status when they are not understood.
std::optional<int> leerOpciones(const QStringList& args, Opciones& o)
{
    o.registro = qEnvironmentVariable("VL_SERVIDORES");
    if (o.registro.isEmpty())
        o.registro = QDir(suite::CarpetaConfiguracionUsuario()).filePath(QStringLiteral("servidores.ini"));
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--vacia")) {
            o.vacia = true;
            continue;
        }
        if (a == QLatin1String("--reemplazar")) {
            o.reemplazar = true;
            continue;
        }
        static const QStringList conValor{"--base", "--servidor", "--carpeta", "--postgresql", "--registro",
                                          "--cuentas", "--centros", "--consultas"};
        if (!conValor.contains(a))
            return usoIncorrecto(QStringLiteral("opción desconocida: %1").arg(a));
        if (i + 1 >= args.size() || args[i + 1].isEmpty())
            return usoIncorrecto(QStringLiteral("falta el valor de %1").arg(a));
        const QString v = args[++i];
        bool ok = true;
        if (a == QLatin1String("--base"))
            o.base = v;
        else if (a == QLatin1String("--servidor"))
            o.servidor = v;
        else if (a == QLatin1String("--carpeta"))
            o.carpeta = QFileInfo(v).absoluteFilePath();
        else if (a == QLatin1String("--postgresql"))
            o.postgresql = v;
        else if (a == QLatin1String("--registro"))
            o.registro = QFileInfo(v).absoluteFilePath();
        else if (a == QLatin1String("--cuentas"))
            o.t.cuentas = v.toInt(&ok);
        else if (a == QLatin1String("--centros"))
            o.t.centros = v.toInt(&ok);
        else
            o.consultas = v;
        if (!ok)
            return usoIncorrecto(QStringLiteral("%1 espera un número: %2").arg(a, v));
    }
    if (o.servidor.contains(u'[') || o.servidor.contains(u']') || o.servidor.trimmed().isEmpty())
        return usoIncorrecto(QStringLiteral("nombre de servidor no válido: %1").arg(o.servidor));
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(Ayuda, stdout);
        return suite::SalidaNormal;
    }
    if (args.contains(QLatin1String("--version")) || args.contains(QLatin1String("-V"))) {
        std::printf("prorrata-empresa %s\n", PRORRATA_VERSION);
        return suite::SalidaNormal;
    }

    // The older form: a folder first, holding the registry and the databases.
    QString carpetaUnica;
    if (!args.isEmpty() && !args.first().startsWith(u'-'))
        carpetaUnica = args.takeFirst();

    Opciones o;
    if (const auto salida = leerOpciones(args, o))
        return *salida;

    QElapsedTimer reloj;
    reloj.start();
    try {
        if (!o.consultas.isEmpty()) {
            demo::EscribirConsultas(o.consultas, {demo::ConsultaCuentas()});
            return suite::SalidaNormal;
        }
        if (!o.postgresql.isEmpty()) {
            qputenv("VL_MOTOR_PRUEBA", "PostgreSQL");
            qputenv("VL_PG_PRUEBA", o.postgresql.toUtf8());
            pedirClaveAdministrador(o.postgresql);
        }
        if (!carpetaUnica.isEmpty()) {
            if (o.vacia || o.servidor != QLatin1String(demo::ServidorDemo))
                return usoIncorrecto(QStringLiteral("con una CARPETA se crea solo la demostración del servidor DEMO"));
            if (!o.reemplazar && QFileInfo::exists(QDir(carpetaUnica).filePath(o.base + QStringLiteral(".db"))))
                return usoIncorrecto(QStringLiteral("la base %1 ya existe en %2 (--reemplazar la crea de nuevo)")
                                         .arg(o.base, carpetaUnica));
            const QString escrito = demo::CrearDemo(carpetaUnica, o.t, o.base);
            std::printf("Empresa de demostración creada en %s (%lld ms). Registro de servidores: %s\n",
                        qPrintable(carpetaUnica), static_cast<long long>(reloj.elapsed()), qPrintable(escrito));
            return suite::SalidaNormal;
        }
        if (o.postgresql.isEmpty() && !suite::CrearCarpetaPropia(o.carpeta))
            suite::Lanzar(75, QStringLiteral("No se puede crear la carpeta %1").arg(o.carpeta), QStringLiteral("demo"));
        demo::AnotarEnRegistro(o.registro, o.servidor, demo::EntradaRegistro(o.servidor, o.carpeta));
        ado::FijarRegistroServidores(o.registro);
        demo::CrearEmpresa(o.servidor, o.base, !o.vacia, o.reemplazar, o.t);
        std::printf("%s %s creada en el servidor %s (%s) en %lld ms.\nRegistro de servidores: %s\n"
                    "Para abrirla: prorrata --acceso (base %s, servidor %s)\n",
                    o.vacia ? "Empresa vacía" : "Empresa de demostración", qPrintable(o.base), qPrintable(o.servidor),
                    qPrintable(o.postgresql.isEmpty() ? o.carpeta : o.postgresql), static_cast<long long>(reloj.elapsed()),
                    qPrintable(o.registro), qPrintable(o.base), qPrintable(o.servidor));
    } catch (const suite::ErrorEjecucion& e) {
        std::fprintf(stderr, "No se pudo crear la empresa: %s\n", qPrintable(e.error().Description));
        return suite::SalidaSinConexion;
    }
    return suite::SalidaNormal;
}
