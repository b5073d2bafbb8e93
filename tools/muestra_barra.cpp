// muestra_barra CARPETA: draws the command bar in its two colour styles to PNG files, with
// one item disabled, one with a badge and one with the attention mark, for a look at it.
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(carpeta);
    for (int estilo : {2, 1}) {
        UtilVela b;
        b.ApplyColorStyle(estilo);
        b.ItemHeight(600);
        b.IconSize(630);
        b.resize(760, 75);
        b.SetItemEnabled(QStringLiteral("BORRAR"), false);
        b.SetItemBadge(QStringLiteral("CONSULTAR"), 7);
        b.SetItemAttention(QStringLiteral("GRABAR"), true);
        b.show();
        app.processEvents();
        const QString ruta = QDir(carpeta).filePath(QStringLiteral("barra_estilo%1.png").arg(estilo));
        b.grab().save(ruta);
        std::printf("%s\n", qPrintable(ruta));
    }
    return 0;
}
