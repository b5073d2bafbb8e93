// The editor of cost-centre distribution tables. Started by the suite's menu with a command
// line such as: prorrata "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;"
#include "ReporteSinVentana.h"
#include "distribution/BuscadorConsultas.h"
#include "distribution/frmProrrata.h"
#include "report/ImpresoraReportes.h"
#include "startup/Estilos.h"
#include "login/frmAcceso.h"
#include "suite/Formularios.h"
#include "suite/Reportes.h"

#include "data/PromptAcceso.h"
#include "suite/CodigosSalida.h"
#include "suite/Regional.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

const char Ayuda[] =
    "Uso: prorrata [OPCIONES] [\"LINEA DE COMANDOS DEL SISTEMA\"]\n"
    "Editor de tablas de distribución de centros de costo de ORBE VELA.\n"
    "\n"
    "La línea de comandos del sistema nombra el servidor, la base, el usuario y otros valores:\n"
    "  prorrata \"@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;\"\n"
    "\n"
    "Opciones:\n"
    "  --acceso                 abre el formulario de acceso (conexiones registradas) en lugar\n"
    "                           de conectarse con la línea de comandos; así lo inicia el menú\n"
    "  --reporte CODIGO --pdf ARCHIVO\n"
    "                           escribe el reporte de la tabla CODIGO en ARCHIVO, sin ventanas\n"
    "  --medir-arranque         muestra cuándo aparece la ventana y la memoria, y termina\n"
    "  -h, --help               muestra esta ayuda y termina\n"
    "  -V, --version            muestra la versión y termina\n"
    "\n"
    "Archivos (el primero que exista):\n"
    "  servidores.ini, cn000pr.ini, consultas.vlx: $XDG_CONFIG_HOME/prorrata (~/.config/prorrata),\n"
    "    prorrata/ en cada carpeta de $XDG_CONFIG_DIRS (/etc/xdg), /etc/prorrata, la carpeta del\n"
    "    programa; VL_SERVIDORES nombra otro registro de servidores.\n"
    "  BASES.TXT (conexiones registradas): ~/.config/prorrata\n"
    "  VLERR.LOG (errores): ~/.local/state/prorrata\n"
    "  Bases SQLite creadas por prorrata-empresa: ~/.local/share/prorrata\n"
    "\n"
    "Estado de salida: 0 al cerrar normalmente; 1 cuando no se pudo abrir la conexión, el\n"
    "usuario no quiso seguir o el reporte no se escribió. Ver prorrata(1).\n";

// The suite's command line for what the login form accepted.
QString LineaDeAcceso(const DatosAcceso& d)
{
    QString servidor = d.servidor;
    if (d.plataforma > 0 && !servidor.startsWith(u'#'))
        servidor.prepend(u'#');
    return QStringLiteral("@Server=%1; @DbName=%2; @Usuario=%3; orbe@ ;").arg(servidor, d.base, d.usuario);
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before the application object: no display is needed for them.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Ayuda, stdout);
            return suite::SalidaNormal;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-V") == 0) {
            std::printf("prorrata %s\n", PRORRATA_VERSION);
            return suite::SalidaNormal;
        }
    }
    PrepararSinVentana(argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(suite::LocalePrograma());
    QApplication::setApplicationName(QStringLiteral("Prorrata"));
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setWindowIcon(IconoVela()); // the windows that get no icon of their own
    suite::TraducirTextosDeQt();

    QStringList argumentos = app.arguments().mid(1);
    // --medir-arranque: print when the window is shown and the peak memory, then end.
    const bool medir = argumentos.removeAll(QStringLiteral("--medir-arranque")) > 0;
    // --acceso: the login form first, unless a command line names the connection.
    const bool acceso = argumentos.removeAll(QStringLiteral("--acceso")) > 0;
    // --reporte CODIGO --pdf ARCHIVO: the table's report written to the file, no window.
    const auto sinVentana = LeerOpcionesReporte(argumentos);
    reporte::ImpresoraReportes impresora;
    suite::FijarImpresoraReportes(&impresora);

    if (!sinVentana)
        InstalarPromptAcceso(); // a failed first connection offers the login form
    frmProrrata form;
    form.FijarBuscador(BuscadorConsultas());
    if (sinVentana)
        return ReporteSinVentana(form, *sinVentana, argumentos.join(u' '), impresora);
    QString linea = argumentos.join(u' ');
    if (acceso && linea.trimmed().isEmpty()) {
        const std::optional<DatosAcceso> datos = PromptAcceso().Pedir(DatosAcceso{});
        if (!datos)
            return suite::SalidaSinConexion;
        linea = LineaDeAcceso(*datos);
    }
    form.Form_Load(linea);
    form.show();
    if (medir) {
        QTimer::singleShot(0, &form, [] {
            rusage uso{};
            getrusage(RUSAGE_SELF, &uso);
            std::printf("ventana %lld ms-epoch, memoria maxima %ld KB\n",
                        static_cast<long long>(QDateTime::currentMSecsSinceEpoch()), uso.ru_maxrss);
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    return app.exec();
}
