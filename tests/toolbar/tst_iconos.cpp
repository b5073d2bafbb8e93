// The command bar's icon files: names and variants, drawing into the item box, the fall-back
// to the base picture, and the image folder.
#include "toolbar/ModUtilVelaBar.h"
#include "toolbar/UtilVela.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A picture of one colour, written in the format its name says.
QString escribirImagen(const QString& ruta, QSize tam, QColor color)
{
    QImage img(tam, QImage::Format_ARGB32);
    img.fill(color);
    QDir().mkpath(QFileInfo(ruta).path());
    if (!img.save(ruta))
        qFatal("no se pudo escribir %s", qPrintable(ruta));
    return ruta;
}

void escribirBytes(const QString& ruta, const QByteArray& datos)
{
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("no se pudo escribir %s", qPrintable(ruta));
    f.write(datos);
}

QColor colorEn(QWidget* w, QPoint p) { return w->grab().toImage().pixelColor(p); }

// A shown horizontal bar with the editor's sizes, the program's folder fixed to `programa`.
struct Barra {
    UtilVela b;
    explicit Barra(const QString& programa)
    {
        ModUtilVelaBar::FijarCarpetaPrograma(programa);
        b.ApplyColorStyle(2);
        b.ItemHeight(600);
        b.resize(1100, 70);
        b.show();
    }
    ~Barra() { ModUtilVelaBar::FijarCarpetaPrograma({}); }
};

const QColor Rojo(200, 30, 30), Verde(30, 200, 30), Azul(30, 30, 200);

} // namespace

class TstIconos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nombres_data();
    void nombres();
    void variantes_data();
    void variantes();
    void ajuste_data();
    void ajuste();
    void caidas_data();
    void caidas();
    void otrosFormatos();
    void carpetas();
    void agregarBuscaArchivos();
    void sinRedibujar();
    void encimaConElRaton_data();
    void encimaConElRaton();
    void paletaMayorQueLaCaja_data();
    void paletaMayorQueLaCaja();
};

void TstIconos::nombres_data()
{
    QTest::addColumn<QStringList>("archivos");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("esperados"); // IconFile, IconOverFile, IconDisFile (names)
    QTest::newRow("los tres") << QStringList{"NUEVO.png", "NUEVO_over.png", "NUEVO_dis.png"} << "NUEVO"
                              << QStringList{"NUEVO.png", "NUEVO_over.png", "NUEVO_dis.png"};
    QTest::newRow("tag Nuevo busca NUEVO") << QStringList{"NUEVO.png", "NUEVO_over.png"} << "Nuevo"
                                           << QStringList{"NUEVO.png", "NUEVO_over.png", ""};
    QTest::newRow("nombres en minúsculas, como Windows los halla")
        << QStringList{"grabar.png", "Grabar_Dis.png"} << "GRABAR" << QStringList{"grabar.png", "", "Grabar_Dis.png"};
    QTest::newRow("variante escrita en mayúsculas") << QStringList{"NUEVO_OVER.PNG"} << "NUEVO"
                                                               << QStringList{"", "NUEVO_OVER.PNG", ""};
    QTest::newRow("sin archivos") << QStringList{} << "NUEVO" << QStringList{"", "", ""};
    QTest::newRow("otra extensión no cuenta") << QStringList{"NUEVO.bmp"} << "NUEVO" << QStringList{"", "", ""};
}

void TstIconos::nombres()
{
    QFETCH(QStringList, archivos);
    QFETCH(QString, tag);
    QFETCH(QStringList, esperados);
    QTemporaryDir dir;
    for (const QString& a : archivos)
        escribirImagen(dir.filePath(a), {8, 8}, Rojo);
    const QString F = ModUtilVelaBar::WithSlash(dir.path());
    const QString T = tag.toUpper();
    const auto nombre = [](const QString& ruta) { return ruta.isEmpty() ? QString() : QFileInfo(ruta).fileName(); };
    QCOMPARE((QStringList{nombre(UtilVela::IconFilePath(F, T)), nombre(UtilVela::IconVariantPath(F, T, QStringLiteral("OVER"))),
                          nombre(UtilVela::IconVariantPath(F, T, QStringLiteral("dis")))}),
             esperados);
    QVERIFY(UtilVela::IconFilePath(QString(), T).isEmpty());
    QVERIFY(UtilVela::IconFilePath(F, QString()).isEmpty());
}

void TstIconos::variantes_data()
{
    QTest::addColumn<bool>("conDis");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QColor>("color");
    QTest::newRow("normal") << true << "normal" << "GRABAR.png" << Rojo;
    QTest::newRow("ratón encima") << true << "encima" << "GRABAR_over.png" << Verde;
    QTest::newRow("activo tras el clic") << true << "activo" << "GRABAR_over.png" << Verde;
    QTest::newRow("deshabilitado") << true << "deshabilitado" << "GRABAR_dis.png" << Azul;
    QTest::newRow("barra deshabilitada") << true << "barra" << "GRABAR_dis.png" << Azul;
    // Without its _dis picture a disabled item shows its normal one, dimmed over the box.
    QTest::newRow("deshabilitado sin _dis") << false << "deshabilitado" << "GRABAR.png"
                                            << QColor((200 * 4 + 36 * 6) / 10, (30 * 4 + 36 * 6) / 10, (30 * 4 + 36 * 6) / 10);
}

void TstIconos::variantes()
{
    QFETCH(bool, conDis);
    QFETCH(QString, estado);
    QFETCH(QString, archivo);
    QFETCH(QColor, color);
    QTemporaryDir dir;
    escribirImagen(dir.filePath("img_menu/GRABAR.png"), {20, 20}, Rojo);
    escribirImagen(dir.filePath("img_menu/GRABAR_over.png"), {20, 20}, Verde);
    if (conDis)
        escribirImagen(dir.filePath("img_menu/GRABAR_dis.png"), {20, 20}, Azul);
    Barra barra(dir.path());
    UtilVela& b = barra.b;
    b.RefreshIcons();
    const int i = b.FindItem(QStringLiteral("GRABAR"));
    QVERIFY(b.HasFileIcon(i));
    if (estado == QLatin1String("encima"))
        b.SetHover(i);
    else if (estado == QLatin1String("activo"))
        b.SetActive(QStringLiteral("GRABAR"));
    else if (estado == QLatin1String("deshabilitado"))
        b.SetItemEnabled(QStringLiteral("GRABAR"), false);
    else if (estado == QLatin1String("barra"))
        b.Enabled(false);
    QCOMPARE(QFileInfo(b.DrawnFile(i)).fileName(), archivo);
    QCOMPARE(QFileInfo(b.IconFileForState(i)).fileName(), conDis || estado != QLatin1String("deshabilitado") ? archivo : QString("GRABAR.png"));
    const QColor visto = colorEn(b.ImgIcon(i), b.IconoDibujado(i).center());
    QVERIFY2(qAbs(visto.red() - color.red()) <= 2 && qAbs(visto.green() - color.green()) <= 2 && qAbs(visto.blue() - color.blue()) <= 2,
             qPrintable(visto.name()));
    QCOMPARE(b.DrawnTint(i), estado == QLatin1String("deshabilitado") || estado == QLatin1String("barra")
                                 ? UtilVela::RGB(105, 105, 105) : UtilVela::RGB(255, 255, 255));
}

void TstIconos::ajuste_data()
{
    QTest::addColumn<QSize>("imagen");
    QTest::addColumn<int>("iconPx");
    QTest::addColumn<QSize>("dibujado");
    QTest::newRow("16 x 16 no se agranda") << QSize(16, 16) << 42 << QSize(16, 16);
    QTest::newRow("128 x 64 a 42 x 21") << QSize(128, 64) << 42 << QSize(42, 21);
    QTest::newRow("42 x 42 se ajusta a la caja de 40") << QSize(42, 42) << 42 << QSize(40, 40);
    QTest::newRow("alta: 64 x 128 cabe en la caja") << QSize(64, 128) << 42 << QSize(20, 40);
    QTest::newRow("IconPx 24") << QSize(48, 48) << 24 << QSize(24, 24);
}

void TstIconos::ajuste()
{
    QFETCH(QSize, imagen);
    QFETCH(int, iconPx);
    QFETCH(QSize, dibujado);
    QTemporaryDir dir;
    escribirImagen(dir.filePath("img_menu/NUEVO.png"), imagen, Rojo);
    Barra barra(dir.path());
    UtilVela& b = barra.b;
    b.IconPx(iconPx);
    b.RefreshIcons();
    const QSize caja = b.ImgIcon(0)->size();
    QCOMPARE(caja, QSize(56, 40)); // 840 x 600 twips
    const QRect r = b.IconoDibujado(0);
    QCOMPARE(r.size(), dibujado);
    QCOMPARE(r.topLeft(), QPoint((caja.width() - dibujado.width()) / 2, (caja.height() - dibujado.height()) / 2));
    // Drawn where it says, and nothing of it outside.
    QCOMPARE(colorEn(b.ImgIcon(0), r.center()), Rojo);
    QCOMPARE(colorEn(b.ImgIcon(0), QPoint(r.left() - 1, r.center().y())), QColor(42, 42, 42));
}

void TstIconos::caidas_data()
{
    QTest::addColumn<QByteArray>("normal"); // "BUENO": a good picture
    QTest::addColumn<QByteArray>("encima");
    QTest::addColumn<bool>("conArchivo");    // the item keeps a file icon while hovered
    QTest::addColumn<QString>("rastro");
    QByteArray truncado;
    {
        QImage img(30, 30, QImage::Format_RGB32);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                img.setPixel(x, y, qRgb(x * 8, y * 8, (x * y) & 255));
        QBuffer buf(&truncado);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        truncado.truncate(truncado.size() / 2);
    }
    QTest::newRow("PNG que no es imagen") << QByteArray("esto no es un PNG") << QByteArray("BUENO") << false
                                          << "Tag=NUEVO ERROR al cargar PNG: ";
    QTest::newRow("PNG cortado a la mitad") << truncado << QByteArray("BUENO") << false << "Tag=NUEVO ERROR al cargar PNG: ";
    QTest::newRow("vacío") << QByteArray("") << QByteArray("BUENO") << false << "Tag=NUEVO ERROR al cargar PNG: ";
    QTest::newRow("_over dañado: el normal") << QByteArray("BUENO") << QByteArray("basura") << true << "Tag=NUEVO PNG cargado: ";
}

void TstIconos::caidas()
{
    QFETCH(QByteArray, normal);
    QFETCH(QByteArray, encima);
    QFETCH(bool, conArchivo);
    QFETCH(QString, rastro);
    QTemporaryDir dir;
    const QString n = dir.filePath("img_menu/NUEVO.png"), o = dir.filePath("img_menu/NUEVO_over.png");
    normal == "BUENO" ? (void)escribirImagen(n, {20, 20}, Rojo) : escribirBytes(n, normal);
    encima == "BUENO" ? (void)escribirImagen(o, {20, 20}, Verde) : escribirBytes(o, encima);
    Barra barra(dir.path());
    UtilVela& b = barra.b;
    b.ClearItems();
    b.AddItem(QStringLiteral("NUEVO"), QStringLiteral("Nuevo"));
    b.SetHover(0);
    QCOMPARE(b.HasFileIcon(0), conArchivo);
    QVERIFY2(b.UltimoRastro().startsWith(rastro), qPrintable(b.UltimoRastro()));
    if (conArchivo) {
        QCOMPARE(QFileInfo(b.DrawnFile(0)).fileName(), QStringLiteral("NUEVO.png"));
        QCOMPARE(colorEn(b.ImgIcon(0), b.IconoDibujado(0).center()), Rojo);
    } else {
        // The base picture is back in the box, as on a bar without files, and nothing covers it.
        QVERIFY(!b.ImgIcon(0)->isVisible());
        const QImage caja = b.PicItem(0)->grab().toImage();
        int claros = 0; // the base picture's white strokes
        for (int y = 0; y < caja.height(); ++y)
            for (int x = 0; x < caja.width(); ++x)
                claros += caja.pixelColor(x, y).lightness() > 150 ? 1 : 0;
        QVERIFY2(claros > 40, qPrintable(QString::number(claros)));
        QCOMPARE(caja, [&] {
            QTemporaryDir sinArchivos;
            ModUtilVelaBar::FijarCarpetaPrograma(sinArchivos.path());
            UtilVela otra;
            otra.ApplyColorStyle(2);
            otra.ItemHeight(600);
            otra.resize(1100, 70);
            otra.show();
            otra.ClearItems();
            otra.AddItem(QStringLiteral("NUEVO"), QStringLiteral("Nuevo"));
            otra.SetHover(0);
            ModUtilVelaBar::FijarCarpetaPrograma(dir.path());
            return otra.PicItem(0)->grab().toImage();
        }());
    }
}

void TstIconos::otrosFormatos()
{
    QTemporaryDir dir;
    const QImage bmp = UtilVela::LoadPictureFile(escribirImagen(dir.filePath("a.bmp"), {12, 10}, Azul));
    QCOMPARE(bmp.size(), QSize(12, 10));
    QCOMPARE(bmp.pixelColor(3, 3), Azul);
    // Named .png, written as JPEG: read by its content.
    escribirImagen(dir.filePath("b.jpg"), {16, 16}, Verde);
    QFile::rename(dir.filePath("b.jpg"), dir.filePath("b.png"));
    QCOMPARE(UtilVela::LoadPictureFile(dir.filePath("b.png")).size(), QSize(16, 16));
    const QImage ico = UtilVela::LoadPictureFile(escribirImagen(dir.filePath("c.ico"), {32, 32}, Rojo));
    QCOMPARE(ico.size(), QSize(32, 32));
    escribirBytes(dir.filePath("d.bmp"), "BM no es un mapa de bits");
    QVERIFY(UtilVela::LoadPictureFile(dir.filePath("d.bmp")).isNull());
    QVERIFY(UtilVela::LoadPictureFile(dir.filePath("no_existe.gif")).isNull());
}

void TstIconos::carpetas()
{
    QTemporaryDir programa, propia;
    escribirImagen(programa.filePath("imagenes/img_menu/NUEVO.png"), {10, 10}, Verde);
    escribirImagen(propia.filePath("NUEVO.png"), {10, 10}, Rojo);
    Barra barra(programa.path());
    UtilVela& b = barra.b;
    QSignalSpy cambios(&b, &UtilVela::PropertyChanged);

    // The folder set is stored with a separator and used while it exists.
    b.ImageFolder(QStringLiteral("  ") + propia.path() + QStringLiteral("  "));
    QCOMPARE(b.ImageFolder(), propia.path() + u'/');
    QCOMPARE(b.ResolveImageFolder(), propia.path() + u'/');
    QCOMPARE(b.IconFile(0), propia.filePath("NUEVO.png"));
    QCOMPARE(cambios.count(), 1);
    QCOMPARE(cambios.at(0).at(0).toString(), QStringLiteral("ImageFolder"));

    // A folder that does not exist: the program's own, imagenes/img_menu here.
    b.ImageFolder(propia.filePath("no_existe"));
    QCOMPARE(b.ImageFolder(), propia.filePath("no_existe/"));
    QCOMPARE(b.ResolveImageFolder(), programa.filePath("imagenes/img_menu/"));
    QCOMPARE(b.IconFile(0), programa.filePath("imagenes/img_menu/NUEVO.png"));

    // img_menu comes before imagenes/img_menu; LoadIconsFromFolder marks nothing changed.
    escribirImagen(programa.filePath("img_menu/NUEVO.png"), {10, 10}, Azul);
    b.LoadIconsFromFolder(QString());
    QCOMPARE(b.ImageFolder(), QString());
    QCOMPARE(b.IconFile(0), programa.filePath("img_menu/NUEVO.png"));
    QCOMPARE(cambios.count(), 2);

    // No image folder at all: the program's folder itself.
    QTemporaryDir vacio;
    ModUtilVelaBar::FijarCarpetaPrograma(vacio.path());
    QCOMPARE(b.ResolveImageFolder(), vacio.path() + u'/');
    ModUtilVelaBar::FijarCarpetaPrograma(vacio.filePath("nada"));
    QCOMPARE(b.ResolveImageFolder(), vacio.filePath("nada/img_menu/"));
}

void TstIconos::agregarBuscaArchivos()
{
    QTemporaryDir dir;
    escribirImagen(dir.filePath("img_menu/FILES.png"), {24, 24}, Verde);
    Barra barra(dir.path());
    UtilVela& b = barra.b;
    QVERIFY(b.AddItem(QStringLiteral("files"), QStringLiteral("Archivos")));
    const int i = b.FindItem(QStringLiteral("FILES"));
    QVERIFY(b.HasFileIcon(i));
    QCOMPARE(b.IconFile(i), dir.filePath("img_menu/FILES.png"));
    QCOMPARE(b.IconoDibujado(i).size(), QSize(24, 24));
    // An item without files keeps its base picture.
    QVERIFY(b.AddItem(QStringLiteral("Otro"), QStringLiteral("Otro")));
    QVERIFY(!b.HasFileIcon(b.FindItem(QStringLiteral("OTRO"))));
    QCOMPARE(b.UltimoRastro(), QStringLiteral("Tag=Otro sin PNG. Se usa icono base."));
}

void TstIconos::sinRedibujar()
{
    QTemporaryDir dir;
    for (const char* t : {"NUEVO", "BORRAR", "REPORTE"})
        escribirImagen(dir.filePath(QStringLiteral("img_menu/%1.png").arg(QLatin1String(t))), {20, 20}, Rojo);
    escribirImagen(dir.filePath("img_menu/NUEVO_over.png"), {20, 20}, Verde);
    Barra barra(dir.path());
    UtilVela& b = barra.b;
    b.RefreshIcons();
    const int leidos = b.DibujosDeArchivo();
    QCOMPARE(leidos, 3);
    // Repaints, a relayout and a colour change draw nothing again.
    b.LayoutItems();
    b.RefreshItem(1);
    b.ApplyColorStyle(4);
    b.SetItemBadge(QStringLiteral("BORRAR"), 3);
    QCOMPARE(b.DibujosDeArchivo(), leidos);
    // The hovered variant and back: two drawings.
    b.SetHover(0);
    b.SetHover(-1);
    QCOMPARE(b.DibujosDeArchivo(), leidos + 2);
    // A new size draws again.
    b.IconPx(16);
    QCOMPARE(b.DibujosDeArchivo(), leidos + 5);
    QCOMPARE(b.IconoDibujado(0).size(), QSize(16, 16));
}

void TstIconos::encimaConElRaton_data()
{
    QTest::addColumn<QString>("destino"); // where the mouse goes after resting on NUEVO's icon
    QTest::addColumn<bool>("nuevoDeshabilitado");
    QTest::addColumn<int>("encima");       // HoverIndex afterwards
    QTest::addColumn<QColor>("colorNuevo"); // NUEVO's drawn picture afterwards
    QTest::newRow("icono del item") << "icono nuevo" << false << 0 << Verde;
    QTest::newRow("titulo del item") << "titulo nuevo" << false << 0 << Verde;
    QTest::newRow("otro item con archivo") << "icono grabar" << false << 1 << Rojo;
    QTest::newRow("item sin archivo (su caja)") << "caja reporte" << false << 2 << Rojo;
    QTest::newRow("fondo de la barra") << "barra" << false << -1 << Rojo;
    QTest::newRow("item deshabilitado") << "icono nuevo" << true << -1 << Rojo;
}

void TstIconos::encimaConElRaton()
{
    // The pointer moved by the window system (QTest::mouseMove moves the cursor), as a user does.
    QFETCH(QString, destino);
    QFETCH(bool, nuevoDeshabilitado);
    QFETCH(int, encima);
    QFETCH(QColor, colorNuevo);
    QTemporaryDir dir;
    escribirImagen(dir.filePath("img_menu/NUEVO.png"), {20, 20}, Rojo);
    escribirImagen(dir.filePath("img_menu/NUEVO_over.png"), {20, 20}, Verde);
    escribirImagen(dir.filePath("img_menu/GRABAR.png"), {20, 20}, Rojo);
    escribirImagen(dir.filePath("img_menu/GRABAR_over.png"), {20, 20}, Verde);
    Barra barra(dir.path());
    UtilVela& b = barra.b;
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.ClearItems();
    for (const char* t : {"NUEVO", "GRABAR", "REPORTE"})
        b.AddItem(QLatin1String(t), QLatin1String(t));
    QVERIFY(b.HasFileIcon(0) && b.HasFileIcon(1) && !b.HasFileIcon(2));

    QTest::mouseMove(&b, QPoint(b.width() - 4, 4));
    QTest::mouseMove(b.ImgIcon(0));
    QTRY_COMPARE(b.HoverIndex(), 0); // under a real X server the pointer's events come later
    QCOMPARE(QFileInfo(b.DrawnFile(0)).fileName(), QStringLiteral("NUEVO_over.png"));

    if (nuevoDeshabilitado)
        b.SetItemEnabled(QStringLiteral("NUEVO"), false);
    QWidget* w = destino == QLatin1String("icono nuevo")    ? b.ImgIcon(0)
                 : destino == QLatin1String("titulo nuevo") ? b.LblText(0)
                 : destino == QLatin1String("icono grabar") ? b.ImgIcon(1)
                 : destino == QLatin1String("caja reporte") ? b.PicItem(2)
                                                            : static_cast<QWidget*>(&b);
    // Two moves inside the target, as a real pointer sends them.
    const QPoint punto = w == &b ? QPoint(b.width() - 4, 4) : w->rect().center();
    QTest::mouseMove(w, punto - QPoint(1, 1));
    QTest::mouseMove(w, punto);
    QCOMPARE(b.childAt(w->mapTo(&b, punto)), w == &b ? nullptr : w);
    QTRY_COMPARE(b.HoverIndex(), encima);
    if (!nuevoDeshabilitado)
        QCOMPARE(colorEn(b.ImgIcon(0), b.IconoDibujado(0).center()), colorNuevo);
}

namespace {

// Bit depth and colour type from a PNG file's header.
QPair<int, int> cabeceraPng(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {-1, -1};
    const QByteArray d = f.read(26);
    return d.size() == 26 ? qMakePair(int(quint8(d[24])), int(quint8(d[25]))) : qMakePair(-1, -1);
}

} // namespace

void TstIconos::paletaMayorQueLaCaja_data()
{
    QTest::addColumn<int>("formato");     // QImage::Format written
    QTest::addColumn<int>("bits");        // bit depth in the PNG
    QTest::addColumn<QSize>("tam");
    QTest::addColumn<QColor>("izquierda"); // palette entry of the left half; alpha 0: transparent
    QTest::addColumn<QColor>("derecha");
    QTest::newRow("1 bit, rojo y azul") << int(QImage::Format_Mono) << 1 << QSize(100, 100) << Rojo << Azul;
    QTest::newRow("1 bit, ancho, verde y blanco") << int(QImage::Format_Mono) << 1 << QSize(160, 80) << Verde << QColor(Qt::white);
    QTest::newRow("1 bit, transparente y azul") << int(QImage::Format_Mono) << 1 << QSize(96, 96) << QColor(0, 0, 0, 0) << Azul;
    QTest::newRow("8 bits de paleta") << int(QImage::Format_Indexed8) << 8 << QSize(100, 100) << Rojo << Verde;
}

void TstIconos::paletaMayorQueLaCaja()
{
    QFETCH(int, formato);
    QFETCH(int, bits);
    QFETCH(QSize, tam);
    QFETCH(QColor, izquierda);
    QFETCH(QColor, derecha);
    QTemporaryDir dir;
    QImage img(tam, QImage::Format(formato));
    img.setColorCount(2);
    img.setColor(0, izquierda.rgba());
    img.setColor(1, derecha.rgba());
    img.fill(0);
    for (int y = 0; y < tam.height(); ++y)
        for (int x = tam.width() / 2; x < tam.width(); ++x)
            img.setPixel(x, y, 1);
    const QString ruta = dir.filePath("img_menu/GRABAR.png");
    QDir().mkpath(QFileInfo(ruta).path());
    QVERIFY(img.save(ruta));
    QCOMPARE(cabeceraPng(ruta), qMakePair(bits, 3)); // a palette PNG with that depth

    Barra barra(dir.path());
    UtilVela& b = barra.b;
    b.RefreshIcons();
    const int i = b.FindItem(QStringLiteral("GRABAR"));
    QVERIFY(b.HasFileIcon(i));
    const QRect r = b.IconoDibujado(i);
    const QSize caja = QSize(b.IconPx(), b.IconPx()).boundedTo(b.ImgIcon(i)->size());
    QCOMPARE(r.size(), tam.scaled(caja, Qt::KeepAspectRatio)); // shrunk into the box
    const QColor fondo = UtilVela::ColorQt(b.NormalBackColor());
    const QImage visto = b.ImgIcon(i)->grab().toImage();
    // Each half is its palette colour throughout (the item's colour where it is transparent),
    // away from the blended middle column.
    int distintos = 0;
    QString primero;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const int medio = r.left() + r.width() / 2;
            if (qAbs(x - medio) <= 2)
                continue;
            QColor esperado = x < medio ? izquierda : derecha;
            if (esperado.alpha() == 0)
                esperado = fondo;
            const QColor c = visto.pixelColor(x, y);
            if (qAbs(c.red() - esperado.red()) > 6 || qAbs(c.green() - esperado.green()) > 6 || qAbs(c.blue() - esperado.blue()) > 6) {
                if (distintos++ == 0)
                    primero = QStringLiteral("(%1,%2) %3 en vez de %4").arg(x).arg(y).arg(c.name(), esperado.name());
            }
        }
    QVERIFY2(distintos == 0, qPrintable(QString::number(distintos) + QStringLiteral(" pixeles; ") + primero));
}

QTEST_MAIN(TstIconos)
#include "tst_iconos.moc"
