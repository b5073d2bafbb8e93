// Skins and the program's icon: the skin chosen from cn000pr.ini, the engine that reads our
// style sheets, the five skins themselves, and the form's icon.
#include "data/Sesion.h"
#include "login/frmAcceso.h"
#include "startup/CNStuffContable.h"
#include "startup/Estilos.h"
#include "startup/SkinFramework.h"
#include "suite/Ini.h"
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The skin files of the source tree as the program's folder, a temporary INI folder and the
// Windows user juan; all undone when it goes.
class Entorno {
public:
    explicit Entorno(const QString& ini = QString())
    {
        if (!ini.isNull()) {
            QFile f(dir_.filePath(QStringLiteral("cn000pr.ini")));
            f.open(QIODevice::WriteOnly);
            f.write(ini.toUtf8());
        }
        suite::FijarCarpetaIni(dir_.path());
        FijarCarpetaAplicacion(QStringLiteral(CARPETA_RECURSOS));
        qputenv("USERNAME", "juan");
    }
    ~Entorno()
    {
        SkinFramework1().Quitar();
        suite::FijarCarpetaIni({});
        FijarCarpetaAplicacion({});
        qunsetenv("USERNAME");
    }
    QString carpeta() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// WCAG contrast ratio of two colours.
double contraste(const QColor& a, const QColor& b)
{
    const auto luz = [](const QColor& c) {
        const auto canal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
    };
    const double la = luz(a), lb = luz(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const char* const Pieles[] = {"Styles/Vista.cjstyles", "Styles/WinXP.Luna.cjstyles", "Styles/WinXP.Royale.cjstyles",
                              "Styles/iTunes/Normalitunes.ini", "Styles/Office2007.cjstyles"};

} // namespace

// A form of the suite's MDI type, which keeps its bars as they are.
class FRMMDI : public QWidget {
    Q_OBJECT
};

class TstEstilos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tabla_data();
    void tabla();
    void hojaDeEstilo();
    void pielesLegibles();
    void estiloQueFalta();
    void barraConPiel();
    void cabeceraDelAcceso();
    void icono();
    void iconoDeArchivo();
};

void TstEstilos::tabla_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QString>("nombreIni");
    QTest::newRow("sin entrada: 1, Vista") << QString() << 1 << "Styles/Vista.cjstyles" << "";
    QTest::newRow("otra sección no cuenta") << "[ANAStyles]\nStyles=3\n" << 1 << "Styles/Vista.cjstyles" << "";
    QTest::newRow("2 WinXP.Luna") << "[JUANStyles]\nStyles=2\n" << 2 << "Styles/WinXP.Luna.cjstyles" << "";
    QTest::newRow("3 WinXP.Royale") << "[juanstyles]\nstyles= 3 \n" << 3 << "Styles/WinXP.Royale.cjstyles" << "";
    QTest::newRow("4 iTunes con Normalitunes.ini") << "[JUANStyles]\nStyles=4\n" << 4 << "Styles/iTunes" << "Normalitunes.ini";
    QTest::newRow("7 Office2007") << "[JUANStyles]\nStyles=7\n" << 7 << "Styles/Office2007.cjstyles" << "";
    QTest::newRow("0 Office2007") << "[JUANStyles]\nStyles=0\n" << 0 << "Styles/Office2007.cjstyles" << "";
    QTest::newRow("2.5: mitades al par") << "[JUANStyles]\nStyles=2.5\n" << 2 << "Styles/WinXP.Luna.cjstyles" << "";
    QTest::newRow("texto: 0, Office2007") << "[JUANStyles]\nStyles=azul\n" << 0 << "Styles/Office2007.cjstyles" << "";
}

void TstEstilos::tabla()
{
    QFETCH(QString, ini);
    QFETCH(int, estilo);
    QFETCH(QString, archivo);
    QFETCH(QString, nombreIni);
    Entorno e(ini);
    QWidget form;
    AplicarEstilo(&form);
    QCOMPARE(int(gEstilo), estilo);
    const SkinFramework& motor = SkinFramework1();
    QCOMPARE(motor.Archivo(), QStringLiteral(CARPETA_RECURSOS "/") + archivo);
    QCOMPARE(motor.NombreIni(), nombreIni);
    QVERIFY(motor.ApplyOptions() & 1);
    // Every window of the program wears it: the form, and a dialog opened later.
    QVERIFY(!motor.Reglas().isEmpty());
    QCOMPARE(qApp->styleSheet(), motor.Reglas());
    QCOMPARE(form.palette().color(QPalette::Window), motor.Paleta().color(QPalette::Window));
    QWidget despues;
    QCOMPARE(despues.palette().color(QPalette::Window), motor.Paleta().color(QPalette::Window));
}

void TstEstilos::hojaDeEstilo()
{
    const SkinFramework::Hoja h = SkinFramework::LeerHoja(QStringLiteral(
        "/* @falso: #000000; no es un color */\n"
        "@fondo: #102030;\n"
        "@fondo-claro: #aabbcc;\n"
        "@paleta-Window: @fondo;\n"
        "@paleta-Inventado: #ffffff;\n"
        "@paleta-Text: no-es-color;\n"
        "QLineEdit { background: @fondo-claro; border: 1px solid @fondo; color: @falso; }\n"));
    QCOMPARE(h.reglas, QStringLiteral("QLineEdit { background: #aabbcc; border: 1px solid #102030; color: @falso; }"));
    QCOMPARE(h.roles, QStringList{QStringLiteral("Window")});
    QCOMPARE(h.paleta.color(QPalette::Window), QColor(0x10, 0x20, 0x30));
}

void TstEstilos::pielesLegibles()
{
    QSet<QRgb> fondos;
    QSet<QString> reglas;
    for (const char* piel : Pieles) {
        bool ok = false;
        const QString texto = suite::LeerTextoSuite(QStringLiteral(CARPETA_RECURSOS "/") + QLatin1String(piel), &ok);
        QVERIFY2(ok, piel);
        const SkinFramework::Hoja h = SkinFramework::LeerHoja(texto);
        QVERIFY2(!h.reglas.contains(u'@'), piel); // every colour named is defined
        for (const char* rol : {"Window", "WindowText", "Base", "Text", "Button", "ButtonText", "Highlight", "HighlightedText"})
            QVERIFY2(h.roles.contains(QLatin1String(rol)), qPrintable(QStringLiteral("%1 sin %2").arg(piel, rol)));
        const QPalette& p = h.paleta;
        const std::pair<QPalette::ColorRole, QPalette::ColorRole> pares[] = {
            {QPalette::WindowText, QPalette::Window}, {QPalette::Text, QPalette::Base},
            {QPalette::ButtonText, QPalette::Button}, {QPalette::HighlightedText, QPalette::Highlight},
            {QPalette::Text, QPalette::AlternateBase}};
        for (const auto& [letra, fondo] : pares) {
            const double c = contraste(p.color(letra), p.color(fondo));
            QVERIFY2(c >= 4.5, qPrintable(QStringLiteral("%1: contraste %2 entre %3 y %4").arg(piel).arg(c)
                                              .arg(p.color(letra).name(), p.color(fondo).name())));
        }
        fondos.insert(p.color(QPalette::Window).rgb());
        reglas.insert(h.reglas);
    }
    QCOMPARE(fondos.size(), 5); // five looks, not one in five names
    QCOMPARE(reglas.size(), 5);
}

void TstEstilos::estiloQueFalta()
{
    Entorno e(QStringLiteral("[JUANStyles]\nStyles=2\n"));
    QWidget form;
    AplicarEstilo(&form);
    const QString reglas = qApp->styleSheet();
    QVERIFY(!reglas.isEmpty());
    // A program folder without the skins: the look stays, nothing is raised.
    QTemporaryDir vacia;
    FijarCarpetaAplicacion(vacia.path());
    QWidget otro;
    AplicarEstilo(&otro);
    QCOMPARE(int(gEstilo), 2);
    QVERIFY2(SkinFramework1().Error().contains(QStringLiteral("WinXP.Luna.cjstyles")), qPrintable(SkinFramework1().Error()));
    QCOMPARE(qApp->styleSheet(), reglas);
    // The iTunes folder without its INI-named sheet.
    QDir(vacia.path()).mkpath(QStringLiteral("Styles/iTunes"));
    QVERIFY(!SkinFramework1().LoadSkin(vacia.filePath(QStringLiteral("Styles/iTunes")), QStringLiteral("Normalitunes.ini")));
    QVERIFY(!SkinFramework1().LoadSkin(vacia.filePath(QStringLiteral("Styles/iTunes")), QString()));
}

void TstEstilos::barraConPiel()
{
    // The command bar keeps its own colours under every skin.
    for (int estilo : {1, 2, 3, 4, 7}) {
        Entorno e(QStringLiteral("[JUANStyles]\nStyles=%1\n").arg(estilo));
        QWidget form;
        auto* barra = new UtilVela(&form);
        barra->ApplyColorStyle(1);
        barra->resize(900, 70);
        AplicarEstilo(&form);
        form.resize(900, 70);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(barra->PicItem(0)->grab().toImage().pixelColor(2, 2), QColor(96, 138, 204));
        const QImage titulo = barra->LblText(0)->grab().toImage();
        QCOMPARE(titulo.pixelColor(1, 1), QColor(96, 138, 204));
        QCOMPARE(barra->LblText(0)->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
}

void TstEstilos::cabeceraDelAcceso()
{
    // The login form's heading band stays navy with white letters under every skin.
    for (int estilo : {1, 3, 4, 7}) {
        Entorno e(QStringLiteral("[JUANStyles]\nStyles=%1\n").arg(estilo));
        frmAcceso f;
        AplicarEstilo(&f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QImage titulo = f.findChild<QWidget*>(QStringLiteral("cabecera"))->grab().toImage();
        QCOMPARE(titulo.pixelColor(1, 1), QColor(0x1f, 0x3a, 0x5f));
        int blancos = 0;
        for (int y = 0; y < titulo.height(); ++y)
            for (int x = 0; x < titulo.width(); ++x)
                blancos += titulo.pixelColor(x, y).lightness() > 220 ? 1 : 0;
        QVERIFY2(blancos > 30, qPrintable(QString::number(blancos)));
    }
}

void TstEstilos::icono()
{
    QWidget form;
    auto* barra = new QWidget(&form);
    barra->setObjectName(QStringLiteral("UtilVela1"));
    barra->setProperty("StyleBar", false);
    auto* otra = new QWidget(&form);
    otra->setObjectName(QStringLiteral("TBarRep1"));
    gFlatToolbars = true;
    AsignarIcono(&form);
    const QList<QSize> tamanos = form.windowIcon().availableSizes();
    for (int lado : {16, 32, 48, 256})
        QVERIFY2(tamanos.contains(QSize(lado, lado)), qPrintable(QString::number(lado)));
    QCOMPARE(barra->property("StyleBar"), QVariant(true));
    QVERIFY(!otra->property("StyleBar").isValid()); // no such property: left alone
    FRMMDI mdi;
    auto* suya = new QWidget(&mdi);
    suya->setObjectName(QStringLiteral("UtilVela1"));
    suya->setProperty("StyleBar", false);
    AsignarIcono(&mdi);
    QCOMPARE(suya->property("StyleBar"), QVariant(false));
    QVERIFY(!mdi.windowIcon().availableSizes().isEmpty());
    gFlatToolbars = false;
}

void TstEstilos::iconoDeArchivo()
{
    QTemporaryDir dir;
    const QString antes = QDir::currentPath();
    QDir::setCurrent(dir.path());
    // Without the resource: vela.ico of the current folder.
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(QColor(10, 120, 200));
    QVERIFY(img.save(dir.filePath(QStringLiteral("vela.ico")), "ICO"));
    QWidget form;
    AsignarIcono(&form, QStringLiteral(":/NO_ESTA"));
    QCOMPARE(form.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    // Neither: the icon it had.
    QFile::remove(dir.filePath(QStringLiteral("vela.ico")));
    QPixmap propio(20, 20);
    propio.fill(Qt::red);
    QWidget otro;
    otro.setWindowIcon(QIcon(propio));
    AsignarIcono(&otro, QStringLiteral(":/NO_ESTA"));
    QCOMPARE(otro.windowIcon().availableSizes(), QList<QSize>{QSize(20, 20)});
    // A vela.ico that is no picture changes nothing either.
    QFile basura(dir.filePath(QStringLiteral("vela.ico")));
    QVERIFY(basura.open(QIODevice::WriteOnly));
    basura.write("no es un icono");
    basura.close();
    AsignarIcono(&otro, QStringLiteral(":/NO_ESTA"));
    QCOMPARE(otro.windowIcon().availableSizes(), QList<QSize>{QSize(20, 20)});
    QDir::setCurrent(antes);
}

QTEST_MAIN(TstEstilos)
#include "tst_estilos.moc"
