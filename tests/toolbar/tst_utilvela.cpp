// The command bar: items, the property family, keys and clicks, layout geometry and painting.
#include "suite/Ini.h"
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <stdexcept>

namespace {
// Records the click texts; optionally throws from the handler.
struct Oyente {
    QStringList clicks;
    QList<QPair<QString, bool>> marcas;
    bool lanzar = false;
    explicit Oyente(UtilVela& b)
    {
        QObject::connect(&b, &UtilVela::click, [this](QString& t) {
            clicks << t;
            if (lanzar)
                throw std::runtime_error("falla del anfitrión");
        });
        QObject::connect(&b, &UtilVela::CheckClick, [this](const QString& c, bool e) { marcas << qMakePair(c, e); });
    }
};

QColor colorEn(QWidget* w, QPoint p) { return w->grab().toImage().pixelColor(p); }

// Contrast ratio of two colours as WCAG defines it (1 to 21).
double contraste(const QColor& a, const QColor& b)
{
    const auto lum = [](const QColor& c) {
        const auto canal = [](int v) {
            const double x = v / 255.0;
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * canal(c.red()) + 0.7152 * canal(c.green()) + 0.0722 * canal(c.blue());
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pixel of a drawn label that stands out most from its background (its corner).
QColor textoDibujado(QLabel* l)
{
    const QImage img = l->grab().toImage();
    const QColor fondo = img.pixelColor(0, 0);
    QColor mejor = fondo;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (contraste(img.pixelColor(x, y), fondo) > contraste(mejor, fondo))
                mejor = img.pixelColor(x, y);
    return mejor;
}

// Twips placed on whole pixels: within half a pixel of the value asked.
#define CERCA(real, esperado) QVERIFY2(qAbs((real) - (esperado)) <= 7.5, qPrintable(QString::number(real)))
} // namespace

class TstUtilVela : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tablas();
    void agregar();
    void capacidad();
    void familiaDePropiedades_data();
    void familiaDePropiedades();
    void teclas_data();
    void teclas();
    void clicsYMarcas();
    void estadosDeItems();
    void memoriaDeTitulos();
    void propiedadesConPiso();
    void geometriaVertical();
    void geometriaHorizontal();
    void pintura();
    void insignia_data();
    void insignia();
    void tituloAjustado();
    void activoHastaQueSeVaElFoco();
    void fuenteDeTitulos_data();
    void fuenteDeTitulos();
    void textosDeshabilitadosLegibles_data();
    void textosDeshabilitadosLegibles();
};

void TstUtilVela::tablas()
{
    UtilVela b;
    QCOMPARE(b.ItemCount(), 19);
    QCOMPARE(b.Capacity(), 18);
    QStringList visibles;
    for (int i = 0; i < b.ItemCount(); ++i)
        if (b.ItemVisible(b.ItemTag(i)))
            visibles << b.ItemTag(i);
    QCOMPARE(visibles, (QStringList{"NUEVO", "BORRAR", "REPORTE", "CONSULTAR", "CANCELAR", "GRABAR", "CERRAR"}));
    QCOMPARE(b.ItemCaption(12), QStringLiteral("Unidad de Negocio"));
    QCOMPARE(b.ItemToolTip(5), QStringLiteral("Cancelar edicion en curso"));
    QCOMPARE(b.ItemCaption(11), QStringLiteral("Caja"));
    for (int i = 0; i < 19; ++i)
        QCOMPARE(UtilVela::BaseIconIndex(b.ItemTag(i)), i); // slot order is base-picture order
    QCOMPARE(UtilVela::BaseIconIndex(QStringLiteral(" procesar con i.a. ")), 14);
    QCOMPARE(UtilVela::BaseIconIndex(QStringLiteral("FILES")), -1);
    QCOMPARE(b.FindItem(QStringLiteral("UNIDAD DE NEGOCIO")), -1); // aliases are for pictures only

    b.LoadDefaultItemsReportes();
    QCOMPARE(b.ItemCount(), 5);
    QStringList r;
    for (int i = 0; i < 5; ++i)
        r << b.ItemTag(i) + u'/' + b.ItemCaption(i) + u'/' + (b.ItemVisible(b.ItemTag(i)) ? u'v' : u'-');
    QCOMPARE(r, (QStringList{"PANTALLA/Pantalla/v", "IMPRESORA/Impresora/v", "CONSULTAR/Consultar/v", "COMPARTIR/Compartir/v",
                             "CERRAR/Cerrar/v"}));

    b.LoadVSCodeSample();
    QCOMPARE(b.ItemCount(), 6);
    QCOMPARE(b.ItemTag(2), QStringLiteral("GIT"));
    QCOMPARE(b.ItemCaption(2), QStringLiteral("Source"));
    QCOMPARE(b.ItemToolTip(2), QStringLiteral("Control de codigo"));
    QVERIFY(!b.ItemCheckable(QStringLiteral("AI")));
}

void TstUtilVela::agregar()
{
    UtilVela b;
    QVERIFY(!b.AddItem(QStringLiteral("  "), QStringLiteral("x")));
    QCOMPARE(b.ItemCount(), 19);
    // An existing tag updates that slot, shows it again, keeps its state.
    b.SetItemEnabled(QStringLiteral("PLANILLA"), false);
    b.SetItemBadge(QStringLiteral("planilla"), 4);
    QVERIFY(b.AddItem(QStringLiteral(" planilla "), QStringLiteral("Hoja"), QStringLiteral("  ")));
    QCOMPARE(b.ItemCount(), 19);
    QCOMPARE(b.FindItem(QStringLiteral("PLANILLA")), 4);
    QCOMPARE(b.ItemCaption(4), QStringLiteral("Hoja"));
    QCOMPARE(b.ItemToolTip(4), QStringLiteral("Hoja")); // blank tooltip: the caption
    QVERIFY(b.ItemVisible(QStringLiteral("PLANILLA")));
    QVERIFY(!b.ItemEnabled(QStringLiteral("PLANILLA")));
    QCOMPARE(b.BadgeCount(4), 4L);
    QVERIFY(b.AddItem(QStringLiteral("Nuevo2"), QStringLiteral("Otro"), QString(), true));
    QCOMPARE(b.ItemCount(), 20);
    QVERIFY(b.ItemCheckable(QStringLiteral("NUEVO2")));
    QVERIFY(!b.SetItemIcon(QStringLiteral("NUEVO"), QStringLiteral("x.png")));
}

void TstUtilVela::capacidad()
{
    UtilVela b;
    b.SetItemEnabled(QStringLiteral("GRABAR"), false);
    b.AddItem(QStringLiteral("X19"), QStringLiteral("x"));
    QCOMPARE(b.Capacity(), 37); // the 20th item
    for (int i = 20; i < 38; ++i)
        b.AddItem(QStringLiteral("X%1").arg(i), QStringLiteral("x"));
    QCOMPARE(b.ItemCount(), 38);
    QCOMPARE(b.Capacity(), 37);
    b.AddItem(QStringLiteral("X38"), QStringLiteral("x"));
    QCOMPARE(b.Capacity(), 75); // the 39th
    QCOMPARE(b.FindItem(QStringLiteral("GRABAR")), 6);
    QVERIFY(!b.ItemEnabled(QStringLiteral("GRABAR")));
    QVERIFY(b.PicItem(75) != nullptr);
}

void TstUtilVela::familiaDePropiedades_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QVariant>("leido");   // on a fresh bar
    QTest::addColumn<QVariant>("escrito"); // written, then read back
    QTest::addColumn<QVariant>("final");
    QTest::newRow("NuevoVisible") << "NuevoVisible" << QVariant(true) << QVariant(false) << QVariant(false);
    QTest::newRow("PlanillaVisible") << "PlanillaVisible" << QVariant(false) << QVariant(1) << QVariant(true);
    QTest::newRow("GrabarEnabled") << "GrabarEnabled" << QVariant(true) << QVariant(false) << QVariant(false);
    QTest::newRow("ConsultaEnabled") << "ConsultaEnabled" << QVariant(true) << QVariant(false) << QVariant(false);
    QTest::newRow("CajaEnabled, sin ítem") << "CajaEnabled" << QVariant(false) << QVariant(true) << QVariant(false);
    QTest::newRow("CausVisible, sin ítem") << "CausVisible" << QVariant(false) << QVariant(true) << QVariant(false);
    QTest::newRow("nombre desconocido") << "OtroEnabled" << QVariant() << QVariant(true) << QVariant();
}

void TstUtilVela::familiaDePropiedades()
{
    QFETCH(QString, nombre);
    QFETCH(QVariant, leido);
    QFETCH(QVariant, escrito);
    QFETCH(QVariant, final);
    UtilVela b;
    b.ClearItems();
    QCOMPARE(b.PropiedadItem(nombre), leido); // an empty bar loads the standard table first
    QCOMPARE(b.ItemCount(), leido.isValid() ? 19 : 0);
    b.PropiedadItem(nombre, escrito);
    QCOMPARE(b.PropiedadItem(nombre), final);
    // The two names of the look-up item are one item.
    b.ConsultaEnabled(false);
    QCOMPARE(b.consultarEnabled(), QVariant(false));
    b.consultarVisible(false);
    QCOMPARE(b.ConsultaVisible(), QVariant(false));
}

void TstUtilVela::teclas_data()
{
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QStringList>("apagados"); // items disabled first
    QTest::addColumn<QStringList>("ocultos");  // items hidden first
    QTest::addColumn<QString>("click");        // empty: nothing raised
    QTest::newRow("Esc") << 27 << QStringList{} << QStringList{} << "CANCELAR";
    QTest::newRow("F2") << 113 << QStringList{} << QStringList{} << "GRABAR";
    QTest::newRow("F3") << 114 << QStringList{} << QStringList{} << "NUEVO";
    QTest::newRow("F4") << 115 << QStringList{} << QStringList{} << "REPORTE";
    QTest::newRow("F5") << 116 << QStringList{} << QStringList{} << "CONSULTAR";
    QTest::newRow("F6 planilla oculta") << 117 << QStringList{} << QStringList{} << "";
    QTest::newRow("F10") << 121 << QStringList{} << QStringList{} << "BORRAR";
    QTest::newRow("F2 grabar apagado") << 113 << QStringList{"GRABAR"} << QStringList{} << "";
    QTest::newRow("Esc sin cancelar: cerrar") << 27 << QStringList{"CANCELAR"} << QStringList{} << "CERRAR";
    QTest::newRow("Esc sin cancelar ni cerrar") << 27 << QStringList{"CANCELAR"} << QStringList{"CERRAR"} << "";
    QTest::newRow("otra tecla") << 65 << QStringList{} << QStringList{} << "";
}

void TstUtilVela::teclas()
{
    QFETCH(int, tecla);
    QFETCH(QStringList, apagados);
    QFETCH(QStringList, ocultos);
    QFETCH(QString, click);
    UtilVela b;
    Oyente o(b);
    for (const QString& t : apagados)
        b.SetItemEnabled(t, false);
    for (const QString& t : ocultos)
        b.SetItemVisible(t, false);
    b.Enabled(false); // keys do not look at the control's Enabled
    b.KeyAnalisis(tecla);
    QCOMPARE(o.clicks, click.isEmpty() ? QStringList{} : QStringList{click});
    QCOMPARE(b.ActiveIndex(), -1);
    QCOMPARE(UtilVela::CodigoTecla(Qt::Key_F2), 113);
    QCOMPARE(UtilVela::CodigoTecla(Qt::Key_Escape), 27);
}

void TstUtilVela::clicsYMarcas()
{
    UtilVela b;
    b.resize(1200, 80);
    Oyente o(b);
    b.SetItemVisible(QStringLiteral("UNIDADNEGOCIO"), true);
    b.SetItemVisible(QStringLiteral("IMPRESORA"), true);
    // A real mouse click on the item's box raises its caption as stored.
    QTest::mouseClick(b.PicItem(12), Qt::LeftButton);
    QCOMPARE(o.clicks, QStringList{QStringLiteral("Unidad de Negocio")});
    QCOMPARE(b.ActiveIndex(), 12);
    // A press dragged off the item and released over another runs nothing.
    const QPoint sobreOtro = b.PicItem(12)->mapFromGlobal(b.PicItem(0)->mapToGlobal(b.PicItem(0)->rect().center()));
    QTest::mousePress(b.PicItem(12), Qt::LeftButton);
    QTest::mouseRelease(b.PicItem(12), Qt::LeftButton, {}, sobreOtro);
    QCOMPARE(o.clicks.size(), 1);

    // IMPRESORA is checkable on a fresh control: CheckClick comes first, toggling.
    QTest::mouseClick(b.LblText(16), Qt::LeftButton);
    QTest::mouseClick(b.PicItem(16), Qt::LeftButton);
    QCOMPARE(o.marcas, (QList<QPair<QString, bool>>{{"Impresora", true}, {"Impresora", false}}));
    QCOMPARE(o.clicks.size(), 3);

    // The host's errors are swallowed for mouse clicks only.
    o.lanzar = true;
    b.ItemClicked(0);
    bool propagado = false;
    try {
        b.KeyAnalisis(113);
    } catch (const std::exception&) {
        propagado = true;
    }
    QVERIFY(propagado);
    o.lanzar = false;

    // Disabled control: no clicks, no hover.
    o.clicks.clear();
    b.Enabled(false);
    b.ItemClicked(0);
    b.SetHover(0);
    QVERIFY(o.clicks.isEmpty());
    QCOMPARE(b.HoverIndex(), -1);
    b.Enabled(true);
    b.SetHover(3);
    QCOMPARE(b.HoverIndex(), 3);
    b.SetHover(40);
    QCOMPARE(b.HoverIndex(), -1);
    // A disabled item does not react.
    b.SetItemEnabled(QStringLiteral("NUEVO"), false);
    b.ItemClicked(0);
    QVERIFY(o.clicks.isEmpty());
}

void TstUtilVela::estadosDeItems()
{
    UtilVela b;
    b.SetItemBadge(QStringLiteral("NUEVO"), -5);
    QCOMPARE(b.BadgeCount(0), 0L);
    b.SetItemAttention(QStringLiteral("NUEVO"), true, -1);
    QVERIFY(b.ItemAttention(QStringLiteral("nuevo")));
    QVERIFY(b.ItemAviso(QStringLiteral("NUEVO")));
    QVERIFY(!b.ItemAttention(QStringLiteral("NADA")));
    b.SetActive(QStringLiteral("GRABAR"));
    QCOMPARE(b.ActiveIndex(), 6);
    b.SetItemVisible(QStringLiteral("GRABAR"), false);
    QCOMPARE(b.ActiveIndex(), -1);
    b.SetActive(QStringLiteral("PLANILLA")); // hidden: nothing
    QCOMPARE(b.ActiveIndex(), -1);

    b.SetItemChecked(QStringLiteral("NUEVO"), true); // not checkable: nothing
    QVERIFY(!b.ItemChecked(QStringLiteral("NUEVO")));
    QVERIFY(b.ItemCheckable(QStringLiteral("IMPRESORA")));
    QVERIFY(!b.ItemCheckable(QStringLiteral("COMPARTIR")));
    b.CompartirChecked(true); // not checkable: nothing at all
    QVERIFY(!b.CompartirChecked());
    b.ImpresoraChecked(true);
    QVERIFY(b.ItemChecked(QStringLiteral("IMPRESORA")));
    b.ImpresoraCheckable(false); // also clears checked
    QVERIFY(!b.ImpresoraChecked());
    b.SetItemCheckable(QStringLiteral("NUEVO"), true);
    b.SetItemChecked(QStringLiteral("NUEVO"), true);
    QVERIFY(b.ItemChecked(QStringLiteral("NUEVO")));
    b.SetItemCheckable(QStringLiteral("NUEVO"), false);
    QVERIFY(!b.ItemChecked(QStringLiteral("NUEVO")));
}

void TstUtilVela::memoriaDeTitulos()
{
    // After the report table, one standard load shows the report captions in slots 0..4.
    UtilVela b;
    b.LoadDefaultItemsReportes();
    b.LoadDefaultItems();
    QCOMPARE(b.ItemTag(0), QStringLiteral("NUEVO"));
    QCOMPARE(b.ItemCaption(0), QStringLiteral("Pantalla"));
    QCOMPARE(b.ItemCaption(4), QStringLiteral("Cerrar"));
    QCOMPARE(b.ItemCaption(5), QStringLiteral("Cancelar"));
    b.LoadDefaultItems();
    QCOMPARE(b.ItemCaption(0), QStringLiteral("Nuevo"));
}

void TstUtilVela::propiedadesConPiso()
{
    UtilVela b;
    b.ItemHeight(300);
    QCOMPARE(b.ItemHeight(), 480.0);
    b.ItemGap(-500);
    QCOMPARE(b.ItemGap(), -300.0);
    b.GroupGap(-10);
    QCOMPARE(b.GroupGap(), 0.0);
    b.IconPx(0);
    QCOMPARE(b.IconPx(), 42);
    const double antes = b.IconSize();
    b.IconSize(0);
    QCOMPARE(b.IconSize(), antes);
    b.GroupBreakTag(QStringLiteral(" grabar "));
    QCOMPARE(b.GroupBreakTag(), QStringLiteral("GRABAR"));
    QVERIFY(b.AutoOrientacion());
    b.Horizontal(false);
    QVERIFY(!b.AutoOrientacion());
}

void TstUtilVela::geometriaVertical()
{
    UtilVela b;
    const double tpp = b.PixelsToTwips(1);
    QCOMPARE(tpp, 15.0); // offscreen screens are 96 dpi
    // 3000 twips high, three visible items of 600: the gap is 0, each step 400 + ItemGap.
    b.resize(int(1000 / tpp), int(3000 / tpp));
    b.ItemHeight(600);
    for (const char* t : {"NUEVO", "BORRAR", "REPORTE", "CONSULTAR"})
        b.SetItemVisible(QString::fromLatin1(t), false);
    QVERIFY(!b.EsHorizontal());
    auto topTw = [&](int i) { return b.PicItem(i)->y() * tpp; };
    QCOMPARE(b.PicItem(5)->x() * tpp, 120.0);
    CERCA(topTw(5), 90.0);
    CERCA(topTw(6), 90.0 + 600 + 400);
    CERCA(topTw(7), 90.0 + 2 * (600 + 400));
    b.ItemGap(60);
    CERCA(topTw(6), 90.0 + 600 + 460);
    // One visible item: the gap stays 20 (nothing to compare with, the first is at 90).
    b.SetItemVisible(QStringLiteral("GRABAR"), false);
    b.SetItemVisible(QStringLiteral("CERRAR"), false);
    CERCA(topTw(5), 90.0);
    // Separator area right of 1020 twips.
    b.resize(int(1500 / tpp), int(3000 / tpp));
    const QColor separador = colorEn(&b, QPoint(int(1300 / tpp), 5));
    QCOMPARE(separador, QColor(70, 70, 70)); // the background (42, 42, 42), 28 lighter
}

void TstUtilVela::geometriaHorizontal()
{
    UtilVela b;
    const double tpp = b.PixelsToTwips(1);
    b.resize(int(12000 / tpp), int(1200 / tpp)); // wider than tall
    QVERIFY(b.EsHorizontal());
    auto leftTw = [&](int i) { return b.PicItem(i)->x() * tpp; };
    QCOMPARE(leftTw(0), 120.0);
    CERCA(b.PicItem(0)->y() * tpp, -50.0); // TopOffset - 60
    CERCA(leftTw(1), 120.0 + 840 + 120);
    QCOMPARE(b.PicItem(0)->width() * tpp, 840.0);
    // Group gap after GRABAR.
    b.GroupBreakTag(QStringLiteral("grabar"));
    const double sinGrupo = leftTw(7);
    b.GroupGap(300);
    CERCA(leftTw(7), sinGrupo + 300);
    CERCA(leftTw(6), leftTw(5) + 960);
    // Horizontal false switches automatic orientation off; the bar turns vertical.
    b.Horizontal(false);
    QVERIFY(!b.EsHorizontal());
    QCOMPARE(leftTw(0), 120.0);
}

void TstUtilVela::pintura()
{
    UtilVela b;
    b.ApplyColorStyle(2);
    b.resize(1000, 90);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    const long fondo = UtilVela::RGB(42, 42, 42);
    QCOMPARE(b.NormalBackColor(), fondo);

    // A disabled item: box 6 darker, grey caption.
    b.SetItemEnabled(QStringLiteral("BORRAR"), false);
    QCOMPARE(colorEn(b.PicItem(1), QPoint(2, 2)), QColor(36, 36, 36));
    QCOMPARE(colorEn(b.PicItem(0), QPoint(2, 2)), QColor(42, 42, 42));
    QCOMPARE(b.LblText(1)->palette().color(QPalette::WindowText), QColor(138, 138, 138));
    QCOMPARE(b.LblText(0)->palette().color(QPalette::WindowText), QColor(Qt::white));

    b.SetItemBadge(QStringLiteral("NUEVO"), 7);
    QCOMPARE(b.LblBadge(0)->palette().color(QPalette::Window), QColor(0, 120, 215));

    // The attention mark with a count colours the badge; without a count it is a dot.
    b.SetItemAttention(QStringLiteral("NUEVO"), true, UtilVela::RGB(220, 64, 64));
    QCOMPARE(b.LblBadge(0)->palette().color(QPalette::Window), QColor(220, 64, 64));
    b.SetItemAttention(QStringLiteral("REPORTE"), true);
    const double tpp = b.PixelsToTwips(1);
    const QPoint centroPunto(int((840 - 98) / tpp), int(98 / tpp));
    QCOMPARE(colorEn(b.PicItem(2), centroPunto), QColor(220, 64, 64));
    QVERIFY(!b.LblBadge(2)->isVisible());

    // Check mark: white tick when checked, a faint one when not.
    b.SetItemVisible(QStringLiteral("IMPRESORA"), true);
    const QPoint enTilde(int((840 - 244 + 84) / tpp), int((14 + 166) / tpp));
    const QColor sinMarcar = colorEn(b.PicItem(16), enTilde);
    b.SetItemChecked(QStringLiteral("IMPRESORA"), true);
    const QColor marcado = colorEn(b.PicItem(16), enTilde);
    QVERIFY2(marcado.lightness() > 200, qPrintable(marcado.name()));
    QVERIFY2(sinMarcar.lightness() < marcado.lightness(), qPrintable(sinMarcar.name()));

    // Style 5: the active item is 20 darker; style 1 colours.
    b.ApplyColorStyle(5);
    b.SetActive(QStringLiteral("GRABAR"));
    QCOMPARE(colorEn(b.PicItem(6), QPoint(2, 2)), QColor(102, 102, 102)); // (122, 122, 122), 20 darker
    b.ApplyColorStyle(1);
    QCOMPARE(colorEn(b.PicItem(6), QPoint(2, 2)), QColor(96, 138, 204));
    b.ApplyColorStyle(9);
    QCOMPARE(b.Estilo(), 2);
}

void TstUtilVela::insignia_data()
{
    QTest::addColumn<long>("cuenta");
    QTest::addColumn<QString>("texto"); // empty: hidden
    QTest::newRow("cero") << 0L << "";
    QTest::newRow("siete") << 7L << "7";
    QTest::newRow("noventa y nueve") << 99L << "99";
    QTest::newRow("cien") << 100L << "99+";
    QTest::newRow("ciento cincuenta") << 150L << "99+";
}

void TstUtilVela::insignia()
{
    QFETCH(long, cuenta);
    QFETCH(QString, texto);
    UtilVela b;
    b.resize(1000, 90);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.SetItemBadge(QStringLiteral("NUEVO"), cuenta);
    QCOMPARE(b.LblBadge(0)->text(), texto);
    QCOMPARE(b.LblBadge(0)->isVisible(), cuenta > 0);
}

void TstUtilVela::tituloAjustado()
{
    UtilVela b;
    const double ancho = 820;
    QCOMPARE(b.FitCaption(0, QStringLiteral("  Nuevo  "), ancho), QStringLiteral("Nuevo"));
    const QString largo = b.FitCaption(12, QStringLiteral("Unidad de Negocio con nombre larguísimo"), ancho);
    QVERIFY(largo.endsWith(QStringLiteral("...")));
    QVERIFY(QStringLiteral("Unidad de Negocio con nombre larguísimo").startsWith(largo.chopped(3)));
    QCOMPARE(b.FitCaption(0, QStringLiteral("W"), 1), QStringLiteral("..."));
    QCOMPARE(b.FitCaption(0, QStringLiteral("\r\n"), ancho), QString());
    // Captions never break: blanks become no-break spaces.
    QCOMPARE(b.LblText(5)->text(), QStringLiteral("Cancelar"));
    b.SetItemVisible(QStringLiteral("UNIDADNEGOCIO"), true);
    QVERIFY(!b.LblText(12)->text().contains(u' '));
}

void TstUtilVela::activoHastaQueSeVaElFoco()
{
    // The bar takes no focus; its active item lasts until the focus moves on.
    QWidget ventana;
    auto* b = new UtilVela(&ventana);
    b->resize(1200, 80);
    auto* campo = new QLineEdit(&ventana);
    auto* otro = new QLineEdit(&ventana);
    campo->move(0, 100);
    otro->move(0, 140);
    ventana.show();
    QApplication::setActiveWindow(&ventana);
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    campo->setFocus();
    QTest::mouseClick(b->PicItem(0), Qt::LeftButton);
    QCOMPARE(b->ActiveIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(campo));
    otro->setFocus();
    QCOMPARE(b->ActiveIndex(), -1);
    QCOMPARE(b->HoverIndex(), -1);
}

void TstUtilVela::fuenteDeTitulos_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("familia");
    const QString deLaAplicacion = QApplication::font().family();
    QTest::newRow("del usuario y la base") << QStringLiteral("[ANA_EMPRESAFont]\r\nFont= DejaVu Sans \r\n") << QStringLiteral("DejaVu Sans");
    QTest::newRow("otra seccion: Segoe UI, que aqui falta") << QStringLiteral("[LUIS_EMPRESAFont]\r\nFont=DejaVu Sans\r\n") << deLaAplicacion;
    QTest::newRow("fuente que no esta instalada") << QStringLiteral("[ANA_EMPRESAFont]\r\nFont=Fuente Inexistente\r\n") << deLaAplicacion;
}

void TstUtilVela::fuenteDeTitulos()
{
    QFETCH(QString, ini);
    QFETCH(QString, familia);
    QTemporaryDir carpeta;
    QFile f(carpeta.filePath(QStringLiteral("cn000pr.ini")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini.toUtf8());
    f.close();
    suite::FijarCarpetaIni(carpeta.path());
    qputenv("USERNAME", "ana");
    qputenv("KTX_DBNAME", "Empresa");
    UtilVela b;
    suite::FijarCarpetaIni(QString());
    qunsetenv("USERNAME");
    qunsetenv("KTX_DBNAME");
    QCOMPARE(b.LblText(0)->font().family(), familia);
    QCOMPARE(b.LblText(17)->font().family(), familia);
}

void TstUtilVela::textosDeshabilitadosLegibles_data()
{
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QColor>("barra"); // the style's colour, unchanged
    QTest::newRow("estilo 1, azul") << 1 << QColor(96, 138, 204);
    QTest::newRow("estilo 2, oscuro") << 2 << QColor(42, 42, 42);
    QTest::newRow("estilo 3, arena") << 3 << QColor(160, 155, 135);
    QTest::newRow("estilo 4, lila") << 4 << QColor(135, 133, 150);
    QTest::newRow("estilo 5, gris") << 5 << QColor(122, 122, 122);
}

void TstUtilVela::textosDeshabilitadosLegibles()
{
    // A disabled item's caption, and its badge, read at 3:1 at least against what is behind
    // them, as drawn; the bar keeps its style's colours.
    QFETCH(int, estilo);
    QFETCH(QColor, barra);
    UtilVela b;
    b.ApplyColorStyle(estilo);
    b.ItemHeight(600);
    b.resize(1000, 90);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.SetItemEnabled(QStringLiteral("BORRAR"), false);
    b.SetItemBadge(QStringLiteral("BORRAR"), 7);
    QCOMPARE(UtilVela::ColorQt(b.NormalBackColor()), barra);
    QCOMPARE(b.grab().toImage().pixelColor(b.width() - 2, 2), barra);
    const QColor item = UtilVela::ColorQt(UtilVela::ShadeColor(b.NormalBackColor(), -6));
    QCOMPARE(colorEn(b.PicItem(1), QPoint(2, 2)), item);

    QLabel* titulo = b.LblText(1);
    QCOMPARE(colorEn(titulo, QPoint(1, 1)), item);
    const QColor usado = titulo->palette().color(QPalette::WindowText);
    const QColor dibujado = textoDibujado(titulo);
    for (const auto& [nombre, valor] : {std::pair{"titulo contra el item", contraste(usado, item)},
                                        std::pair{"titulo contra la barra", contraste(usado, barra)},
                                        std::pair{"titulo dibujado", contraste(dibujado, item)}})
        QVERIFY2(valor >= 3.0, qPrintable(QStringLiteral("%1: %2 (%3 sobre %4)").arg(QLatin1String(nombre)).arg(valor, 0, 'f', 2).arg(usado.name(), item.name())));
    // Still told apart from an enabled caption, which keeps its white.
    QCOMPARE(b.LblText(0)->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY2(contraste(usado, Qt::white) >= 1.5, qPrintable(usado.name()));

    QLabel* insignia = b.LblBadge(1);
    QVERIFY(insignia->isVisible());
    const double cInsignia = contraste(insignia->palette().color(QPalette::WindowText), insignia->palette().color(QPalette::Window));
    QVERIFY2(cInsignia >= 3.0, qPrintable(QString::number(cInsignia, 'f', 2)));
    QVERIFY2(contraste(textoDibujado(insignia), colorEn(insignia, QPoint(1, 1))) >= 3.0, qPrintable(textoDibujado(insignia).name()));
}

QTEST_MAIN(TstUtilVela)
#include "tst_utilvela.moc"
