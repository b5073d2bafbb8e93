// The command bar's icons on a screen scaled 2x: FILE@2x.png beside an icon file is drawn at
// the screen's pixels, so the icon stays sharp; without it the 40-pixel file is used.
#include "toolbar/ModUtilVelaBar.h"
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A checkerboard of one-pixel cells: any resampling blends them.
QImage tablero(int lado, QColor a, QColor b)
{
    QImage img(lado, lado, QImage::Format_ARGB32);
    for (int y = 0; y < lado; ++y)
        for (int x = 0; x < lado; ++x)
            img.setPixelColor(x, y, (x + y) % 2 ? a : b);
    return img;
}

const QColor Rojo(200, 30, 30), Azul(30, 30, 200), Verde(30, 200, 30);

} // namespace

class TstIconos2x : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nitidos_data();
    void nitidos();
};

void TstIconos2x::nitidos_data()
{
    QTest::addColumn<bool>("conDoble");
    QTest::addColumn<bool>("habilitado");
    QTest::newRow("TAG@2x.png") << true << true;
    QTest::newRow("TAG_dis@2x.png") << true << false;
    QTest::newRow("sin @2x: el de 40 pixeles") << false << true;
}

void TstIconos2x::nitidos()
{
    QFETCH(bool, conDoble);
    QFETCH(bool, habilitado);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("img_menu"));
    for (const char* variante : {"", "_dis"}) {
        const QString base = dir.filePath(QStringLiteral("img_menu/NUEVO%1").arg(QLatin1String(variante)));
        QImage normal(40, 40, QImage::Format_ARGB32);
        normal.fill(Verde);
        QVERIFY(normal.save(base + QStringLiteral(".png")));
        if (conDoble)
            QVERIFY(tablero(80, *variante ? Azul : Rojo, Verde).save(base + QStringLiteral("@2x.png")));
    }
    ModUtilVelaBar::FijarCarpetaPrograma(dir.path());
    {
        UtilVela b;
        b.ApplyColorStyle(2);
        b.ItemHeight(600);
        b.resize(1100, 70);
        b.show();
        QCOMPARE(b.devicePixelRatioF(), 2.0);
        b.AddItem(QStringLiteral("NUEVO"), QStringLiteral("Nuevo"));
        b.SetItemEnabled(QStringLiteral("NUEVO"), habilitado);
        b.RefreshIcons();
        const QRect r = b.IconoDibujado(0);
        QCOMPARE(r.size(), QSize(40, 40)); // the same place and size in the box
        // The item's file stays the one the naming rules give.
        QCOMPARE(QFileInfo(b.IconFileForState(0)).fileName(), habilitado ? QStringLiteral("NUEVO.png") : QStringLiteral("NUEVO_dis.png"));
        const QImage pantalla = b.ImgIcon(0)->grab().toImage();
        QCOMPARE(pantalla.devicePixelRatio(), 2.0);
        const QPoint p = r.center() * 2;
        if (conDoble) {
            // Every screen pixel is the drawing's own pixel: the cells are not blended.
            const QColor propio = habilitado ? Rojo : Azul;
            for (int d = 0; d < 4; ++d) {
                const QPoint q = p + QPoint(d, 0);
                QCOMPARE(pantalla.pixelColor(q), (q - r.topLeft() * 2).x() % 2 == (q - r.topLeft() * 2).y() % 2 ? Verde : propio);
            }
        } else if (habilitado) {
            QCOMPARE(pantalla.pixelColor(p), Verde);
        }
    }
    ModUtilVelaBar::FijarCarpetaPrograma({});
}

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TstIconos2x t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_iconos_2x.moc"
