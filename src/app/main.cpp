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

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    PrepararSinVentana(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Prorrata"));
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setWindowIcon(IconoVela()); // the windows that get no icon of their own
    suite::TraducirTextosDeQt();

    QStringList argumentos = app.arguments().mid(1);
    // --medir-arranque: print when the window is shown and the peak memory, then end.
    const bool medir = argumentos.removeAll(QStringLiteral("--medir-arranque")) > 0;
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
    form.Form_Load(argumentos.join(u' '));
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
