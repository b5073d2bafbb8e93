// muestra_barra CARPETA [IMAGENES]: draws the command bar in its five colour styles, as the
// editor's row and as a column, to PNG files, with the item under the mouse, one item
// disabled, one with a badge and one with the attention mark, for a look at it. With an image
// folder the items show its icon files; without one, the base pictures.
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <cstdio>

namespace {

void dibujarBarra(UtilVela& b, const QString& imagenes, QSize tam, const QString& ruta)
{
    b.ItemHeight(600);
    b.IconSize(630);
    b.resize(tam);
    b.SetItemEnabled(QStringLiteral("BORRAR"), false);
    b.SetItemBadge(QStringLiteral("CONSULTAR"), 7);
    b.SetItemAttention(QStringLiteral("GRABAR"), true);
    b.show();
    if (!imagenes.isEmpty())
        b.LoadIconsFromFolder(imagenes);
    QApplication::processEvents();
    // The mouse over the first item, as the window system delivers it: to the topmost part there.
    const QPoint centro = b.PicItem(0)->geometry().center();
    if (QWidget* debajo = b.childAt(centro)) {
        const QPointF local = debajo->mapFrom(&b, centro);
        QMouseEvent mover(QEvent::MouseMove, local, debajo->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(debajo, &mover);
    }
    QApplication::processEvents();
    b.grab().save(ruta);
    std::printf("%s\n", qPrintable(ruta));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString imagenes = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(carpeta);
    for (int estilo = 1; estilo <= 5; ++estilo) {
        UtilVela fila;
        fila.ApplyColorStyle(estilo);
        dibujarBarra(fila, imagenes, {760, 66}, QDir(carpeta).filePath(QStringLiteral("barra_estilo%1.png").arg(estilo)));
        UtilVela columna;
        columna.ApplyColorStyle(estilo);
        dibujarBarra(columna, imagenes, {80, 640}, QDir(carpeta).filePath(QStringLiteral("columna_estilo%1.png").arg(estilo)));
    }
    return 0;
}
