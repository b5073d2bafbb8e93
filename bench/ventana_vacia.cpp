// The baseline of start-up: an empty Qt Widgets main window, shown, timed as the editor's
// --medir-arranque times its own, then the program ends.
#include <QApplication>
#include <QDateTime>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow ventana;
    ventana.show();
    QTimer::singleShot(0, &ventana, [] {
        rusage uso{};
        getrusage(RUSAGE_SELF, &uso);
        std::printf("ventana %lld ms-epoch, memoria maxima %ld KB\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                    uso.ru_maxrss);
        QApplication::quit();
    });
    return app.exec();
}
