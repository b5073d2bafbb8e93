// The command bar's colour style resolved from cn000pr.ini, its stored properties written and
// read back, and the file they are kept in.
#include "suite/Ini.h"
#include "toolbar/BolsaPropiedades.h"
#include "toolbar/ModUtilVelaBar.h"
#include "toolbar/UtilVela.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The suite INI folder with a cn000pr.ini (none when the text is null), the Windows user,
// the computer and the database of the environment; all restored when it goes.
class Contexto {
public:
    explicit Contexto(const QString& ini, const QByteArray& usuario = "juan", const QByteArray& equipo = "PC1",
                      const QByteArray& base = "Contab")
    {
        if (!ini.isNull()) {
            QFile f(dir_.filePath(QStringLiteral("cn000pr.ini")));
            f.open(QIODevice::WriteOnly);
            f.write(ini.toUtf8());
        }
        suite::FijarCarpetaIni(dir_.path());
        ModUtilVelaBar::FijarCarpetaPrograma(dir_.path());
        qputenv("USERNAME", usuario);
        qputenv("COMPUTERNAME", equipo);
        qputenv("KTX_DBNAME", base);
    }
    ~Contexto()
    {
        suite::FijarCarpetaIni({});
        ModUtilVelaBar::FijarCarpetaPrograma({});
        for (const char* v : {"USERNAME", "COMPUTERNAME", "KTX_DBNAME"})
            qunsetenv(v);
    }
    QString carpeta() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

QString ini(const char* texto) { return QString::fromUtf8(texto); }

} // namespace

class TstPropiedadesVela : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resolverEstilo_data();
    void resolverEstilo();
    void mapeo_data();
    void mapeo();
    void lineaDeComandos_data();
    void lineaDeComandos();
    void escribirEstilo();
    void estiloVSCode();
    void idaYVuelta();
    void lecturas_data();
    void lecturas();
    void archivo_data();
    void archivo();
    void guardarConservaOtrasSecciones();
    void controlNuevo();
};

void TstPropiedadesVela::resolverEstilo_data()
{
    QTest::addColumn<QString>("contenido");
    QTest::addColumn<QString>("usuarioContexto"); // the bar's ContextUserName
    QTest::addColumn<int>("estilo");
    QTest::newRow("sin INI: el componente da 0, azul") << QString() << "" << 1;
    QTest::newRow("JUANStyles 3") << ini("[JUANStyles]\nStyles=3\n") << "" << 4;
    QTest::newRow("PC1|JUAN_CONTAB antes que CONTAB_CONTAB")
        << ini("[CONTAB_CONTABStyles]\nStyles=4\n[PC1|JUAN_CONTABStyles]\nStyles=2\n") << "" << 3;
    QTest::newRow("CONTAB_CONTAB: la base dos veces") << ini("[JUAN_CONTABStyles]\nStyles=\n[CONTAB_CONTABStyles]\nStyles=1\n") << "" << 2;
    QTest::newRow("candidata con 150 no vale: la siguiente")
        << ini("[JUANStyles]\nStyles=150\n[PC1|JUANStyles]\nStyles=0\n") << "" << 1;
    QTest::newRow("MISCSTYLES sin candidata, 150: estilo 2") << ini("[MISCSTYLES]\nStyles=150\n") << "" << 2;
    QTest::newRow("MISCSTYLES sin clave: el componente")
        << ini("[MISCSTYLES]\nOtra=1\n[JUANStyles]\nStyles=2\n") << "ana" << 3;
    QTest::newRow("vacío en todo: UtilVelaBar_CONTAB")
        << ini("[JUANStyles]\nStyles=\n[UtilVelaBar_CONTAB]\nEstilo=3\n") << "" << 4;
    QTest::newRow("vacío y sin UtilVelaBar: 4, estilo 5") << ini("[JUANStyles]\nStyles=\n") << "" << 5;
    QTest::newRow("texto: vale 0") << ini("[JUANStyles]\nStyles=abc\n") << "" << 1;
    QTest::newRow("2.5: mitades al par") << ini("[JUANStyles]\nStyles=2.5\n") << "" << 3;
    QTest::newRow("3.5: mitades al par") << ini("[JUANStyles]\nStyles=3.5\n") << "" << 5;
    QTest::newRow("usuario del contexto") << ini("[JUANStyles]\nStyles=3\n[ANAStyles]\nStyles=2\n") << "ana" << 3;
}

void TstPropiedadesVela::resolverEstilo()
{
    QFETCH(QString, contenido);
    QFETCH(QString, usuarioContexto);
    QFETCH(int, estilo);
    Contexto c(contenido);
    QCOMPARE(ModUtilVelaBar::ResolveStyle(usuarioContexto, QString()), estilo);
    UtilVela b;
    b.ContextUserName(usuarioContexto);
    QCOMPARE(b.Estilo(), estilo);
}

void TstPropiedadesVela::mapeo_data()
{
    QTest::addColumn<double>("suite");
    QTest::addColumn<int>("barra");
    const std::pair<double, int> casos[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 2}, {-1, 2}, {99, 2}};
    for (const auto& [s, b] : casos)
        QTest::addRow("%g", s) << s << b;
}

void TstPropiedadesVela::mapeo()
{
    QFETCH(double, suite);
    QFETCH(int, barra);
    QCOMPARE(ModUtilVelaBar::MapSuiteStyle(suite), barra);
}

void TstPropiedadesVela::lineaDeComandos_data()
{
    QTest::addColumn<QString>("linea");
    QTest::addColumn<QString>("valor");
    QTest::newRow("entre comillas") << "@Server=S1; @dbname = \"Mi Base\" ; @Usuario=ANA;" << "Mi Base";
    QTest::newRow("token en mayúsculas") << "@Server=S1; @DBNAME=Contab;" << "Contab";
    QTest::newRow("sin punto y coma") << "@DbName=EMPRESA" << "EMPRESA";
    QTest::newRow("sin igual") << "@DbName EMPRESA;" << "";
    QTest::newRow("sin token") << "@Server=S1;" << "";
    QTest::newRow("una comilla sola queda") << "@DbName=\";" << "\"";
}

void TstPropiedadesVela::lineaDeComandos()
{
    QFETCH(QString, linea);
    QFETCH(QString, valor);
    QCOMPARE(ModUtilVelaBar::CommandLineValue(QStringLiteral("@dbname"), linea), valor);
}

void TstPropiedadesVela::escribirEstilo()
{
    Contexto c(ini("[JUANStyles]\nStyles=2\n[ANA_CONTABStyles]\nStyles=4\n"));
    UtilVela b;
    QSignalSpy cambios(&b, &UtilVela::PropertyChanged);
    // Writing a number resolves the style again: the user's style, not the number given.
    b.Estilo(4);
    QCOMPARE(b.Estilo(), 3);
    QCOMPARE(b.NormalBackColor(), UtilVela::RGB(160, 155, 135));
    b.Theme(1);
    QCOMPARE(b.Theme(), 3);
    b.ContextUserName(QStringLiteral("  ana "));
    QCOMPARE(b.ContextUserName(), QStringLiteral("ana"));
    QCOMPARE(b.Estilo(), 5);
    b.ContextDbName(QStringLiteral("OTRA"));
    QCOMPARE(b.Estilo(), 3); // no candidate for ANA and OTRA: the first Styles section, JUAN's
    QCOMPARE(cambios.count(), 4);
    QCOMPARE(cambios.at(3).at(0).toString(), QStringLiteral("ContextDbName"));
}

void TstPropiedadesVela::estiloVSCode()
{
    Contexto c{QString()};
    UtilVela b;
    b.ApplyColorStyle(3);
    b.Horizontal(true);
    b.IconPx(20);
    b.EstiloVSCode(true);
    QVERIFY(!b.Horizontal());
    QCOMPARE(b.IconPx(), 42);
    QCOMPARE(b.ItemHeight(), 520.0);
    QCOMPARE(b.NormalBackColor(), UtilVela::RGB(52, 52, 52));
    QCOMPARE(b.ActiveBarColor(), UtilVela::RGB(255, 255, 255));
    QCOMPARE(b.Estilo(), 3);
    b.AplicarEstiloVSCode(false, 16);
    QCOMPARE(b.ItemHeight(), 600.0);
    QCOMPARE(b.IconPx(), 42);
    b.EstiloVSCode(false); // does not undo the look
    QCOMPARE(b.NormalBackColor(), UtilVela::RGB(52, 52, 52));
}

void TstPropiedadesVela::idaYVuelta()
{
    Contexto c(ini("[JUANStyles]\nStyles=3\n[OrbeGestion]\nPathSistema=/opt/orbe\n"));
    UtilVela a;
    a.ItemHeight(650);
    a.ItemGap(45);
    a.TopOffset(200);
    a.GroupGap(300);
    a.GroupBreakTag(QStringLiteral("grabar"));
    a.IconPx(36);
    a.ShowCaptions(false);
    a.Horizontal(true);
    a.ApplyColorStyle(2);
    a.ImageFolder(QStringLiteral("/no/se/lee"));
    a.DebugMode(true);
    a.ImpresoraChecked(true);
    a.CompartirCheckable(true);
    a.SetItemVisible(QStringLiteral("PLANILLA"), true);
    a.SetItemEnabled(QStringLiteral("GRABAR"), false);
    a.SetItemVisible(QStringLiteral("CONSULTAR"), false);
    BolsaPropiedades bolsa;
    a.WriteProperties(bolsa);
    const QString ruta = c.carpeta() + QStringLiteral("/frmPrueba.propiedades");
    QVERIFY(bolsa.Guardar(ruta, QStringLiteral("UtilVela1")));

    const BolsaPropiedades leida = BolsaPropiedades::Cargar(ruta, QStringLiteral("utilvela1"));
    QCOMPARE(leida.Avisos(), QStringList());
    // Values equal to their write default are left out; the stems are always there.
    QVERIFY(!leida.Contiene(QStringLiteral("Enabled")));
    QVERIFY(leida.Contiene(QStringLiteral("ActiveBarColor"))); // style 2's bar colour is not white
    QVERIFY(leida.Contiene(QStringLiteral("consultarVisible")));
    QVERIFY(leida.Contiene(QStringLiteral("CausEnabled")));

    UtilVela b;
    b.ReadProperties(leida);
    QCOMPARE(b.ItemHeight(), 650.0);
    QCOMPARE(b.ItemGap(), 45.0);
    QCOMPARE(b.TopOffset(), 200.0);
    QCOMPARE(b.GroupGap(), 300.0);
    QCOMPARE(b.GroupBreakTag(), QStringLiteral("GRABAR"));
    QCOMPARE(b.IconPx(), 36);
    QCOMPARE(b.IconSize(), b.PixelsToTwips(36));
    QVERIFY(!b.ShowCaptions());
    QVERIFY(b.Horizontal());
    QVERIFY(!b.AutoOrientacion());
    QVERIFY(b.DebugMode());
    QVERIFY(b.ImpresoraChecked());
    QVERIFY(b.CompartirCheckable());
    QVERIFY(b.ItemVisible(QStringLiteral("PLANILLA")));
    QVERIFY(!b.ItemEnabled(QStringLiteral("GRABAR")));
    QVERIFY(!b.ItemVisible(QStringLiteral("CONSULTAR")));
    QVERIFY(b.ItemVisible(QStringLiteral("NUEVO")));
    // The style is the INI's (3 gives 4), never the stored number or colours; the image folder
    // comes from PathSistema.
    QCOMPARE(b.Estilo(), 4);
    QCOMPARE(b.NormalBackColor(), UtilVela::RGB(135, 133, 150));
    QCOMPARE(b.ImageFolder(), QStringLiteral("/opt/orbe/img_menu/"));

    // 520 is the write default: it comes back as 600.
    a.ItemHeight(520);
    BolsaPropiedades otra;
    a.WriteProperties(otra);
    UtilVela d;
    d.ReadProperties(otra);
    QCOMPARE(d.ItemHeight(), 600.0);
}

void TstPropiedadesVela::lecturas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("propiedad");
    QTest::addColumn<QVariant>("valor");
    QTest::newRow("ItemGap 30 solo: 0") << "ItemGap = 30" << "ItemGap" << QVariant(0.0);
    QTest::newRow("ItemGap 12") << "ItemGap = 12" << "ItemGap" << QVariant(12.0);
    QTest::newRow("SeparacionBotones 45") << "SeparacionBotones = 45\nItemGap = 12" << "ItemGap" << QVariant(45.0);
    QTest::newRow("ButtonGap gana") << "ButtonGap = 5\nSeparacionBotones = 45" << "ItemGap" << QVariant(5.0);
    QTest::newRow("gap hasta -300") << "ButtonGap = -500" << "ItemGap" << QVariant(-300.0);
    QTest::newRow("ItemHeight sin piso") << "ItemHeight = 300" << "ItemHeight" << QVariant(300.0);
    QTest::newRow("TopBotones") << "TopBotones = 200" << "TopOffset" << QVariant(200.0);
    QTest::newRow("TopOffset antes que TopBotones") << "TopBotones = 200\nTopOffset = 90" << "TopOffset" << QVariant(90.0);
    QTest::newRow("ConTitulo sobre ShowCaptions") << "ShowCaptions = False\nConTitulo = True" << "ShowCaptions" << QVariant(true);
    QTest::newRow("MostrarTitulo") << "MostrarTitulo = 0" << "ShowCaptions" << QVariant(false);
    QTest::newRow("ModoHorizontal") << "ModoHorizontal = -1\nAutoOrientacion = False" << "Horizontal" << QVariant(true);
    QTest::newRow("IconSize da IconPx") << "IconSize = 600" << "IconPx" << QVariant(40);
    QTest::newRow("TamanoIcono sobre IconPx") << "IconPx = 30\nTamanoIcono = 24" << "IconPx" << QVariant(24);
    QTest::newRow("TamanoIcono 0: 42") << "TamanoIcono = 0" << "IconPx" << QVariant(42);
    QTest::newRow("GroupBreakTag") << "GroupBreakTag = \" grabar \"" << "GroupBreakTag" << QVariant(QStringLiteral("GRABAR"));
    QTest::newRow("nombres sin mayúsculas") << "itemheight = 700" << "ItemHeight" << QVariant(700.0);
    QTest::newRow("CajaVisible no crea CAJA") << "CajaVisible = True" << "CAJA" << QVariant(-1);
    QTest::newRow("consultar escrito, Consultar leído") << "consultarVisible = False" << "CONSULTAR" << QVariant(false);
    QTest::newRow("colores guardados no se leen") << "NormalBackColor = &H2A2A2A" << "NormalBackColor"
                                                  << QVariant(qint64(UtilVela::RGB(96, 138, 204)));
}

void TstPropiedadesVela::lecturas()
{
    QFETCH(QString, texto);
    QFETCH(QString, propiedad);
    QFETCH(QVariant, valor);
    Contexto c{QString()};
    const BolsaPropiedades bolsa = BolsaPropiedades::DesdeTexto(QStringLiteral("[UtilVela1]\n") + texto, QStringLiteral("UtilVela1"));
    QCOMPARE(bolsa.Avisos(), QStringList());
    UtilVela b;
    b.ReadProperties(bolsa);
    QVariant visto;
    if (propiedad == QLatin1String("ItemGap"))
        visto = b.ItemGap();
    else if (propiedad == QLatin1String("ItemHeight"))
        visto = b.ItemHeight();
    else if (propiedad == QLatin1String("TopOffset"))
        visto = b.TopOffset();
    else if (propiedad == QLatin1String("ShowCaptions"))
        visto = b.ShowCaptions();
    else if (propiedad == QLatin1String("Horizontal"))
        visto = b.Horizontal();
    else if (propiedad == QLatin1String("IconPx"))
        visto = b.IconPx();
    else if (propiedad == QLatin1String("GroupBreakTag"))
        visto = b.GroupBreakTag();
    else if (propiedad == QLatin1String("CAJA"))
        visto = b.FindItem(QStringLiteral("CAJA"));
    else if (propiedad == QLatin1String("CONSULTAR"))
        visto = b.ItemVisible(QStringLiteral("CONSULTAR"));
    else if (propiedad == QLatin1String("NormalBackColor"))
        visto = qint64(b.NormalBackColor());
    QCOMPARE(visto, valor);
}

void TstPropiedadesVela::archivo_data()
{
    QTest::addColumn<QByteArray>("contenido"); // "NADA": no file
    QTest::addColumn<QString>("aviso");
    QTest::addColumn<double>("itemHeight");
    QTest::newRow("no existe") << QByteArray("NADA") << "No se encuentra" << 600.0;
    QTest::newRow("binario") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "no es un archivo de texto" << 600.0;
    QTest::newRow("sin la sección") << QByteArray("[Otro]\nItemHeight = 900\n") << "no tiene la sección [UtilVela1]" << 600.0;
    QTest::newRow("línea sin igual: se salta") << QByteArray("[UtilVela1]\nesto no\nItemHeight = 900\n") << "línea 2" << 900.0;
    QTest::newRow("valor que no es número") << QByteArray("[UtilVela1]\nItemHeight = alto\n") << "ItemHeight (alto) no es un número" << 600.0;
    QTest::newRow("entero de 16 bits fuera de rango") << QByteArray("[UtilVela1]\nIconPx = 99999\nItemHeight = 900\n")
                                                      << "IconPx (99999)" << 900.0;
    QTest::newRow("texto sin cerrar") << QByteArray("[UtilVela1]\nGroupBreakTag = \"GRABAR\nItemHeight = 900\n")
                                      << "no es un texto entre comillas" << 900.0;
    QTest::newRow("booleano raro") << QByteArray("[UtilVela1]\nHorizontal = quizas\n") << "Verdadero o Falso" << 600.0;
}

void TstPropiedadesVela::archivo()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, aviso);
    QFETCH(double, itemHeight);
    Contexto c{QString()};
    const QString ruta = c.carpeta() + QStringLiteral("/frmProrrata.propiedades");
    if (contenido != "NADA") {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenido);
    }
    const BolsaPropiedades bolsa = BolsaPropiedades::Cargar(ruta, QStringLiteral("UtilVela1"));
    UtilVela b;
    b.ReadProperties(bolsa);
    QCOMPARE(b.ItemHeight(), itemHeight);
    QCOMPARE(b.IconPx(), 32); // the default 480 twips
    QCOMPARE(b.GroupBreakTag(), QString());
    QVERIFY(!b.Horizontal());
    QCOMPARE(b.ItemCount(), 19);
    const QString avisos = bolsa.Avisos().join(u'\n');
    QVERIFY2(avisos.contains(aviso), qPrintable(avisos));
}

void TstPropiedadesVela::guardarConservaOtrasSecciones()
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("f.propiedades"));
    {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; del formulario\n[Otro]\nA = 1\n[UtilVela1]\nItemHeight = 700\n[Tercero]\nB = \"x\"\n");
    }
    BolsaPropiedades bolsa;
    bolsa.WriteProperty(QStringLiteral("ItemHeight"), QVariant::fromValue(float(650)), QVariant::fromValue(float(520)));
    bolsa.WriteProperty(QStringLiteral("GroupBreakTag"), QStringLiteral("a \"b\""), QString());
    QVERIFY(bolsa.Guardar(ruta, QStringLiteral("UtilVela1")));
    QCOMPARE(BolsaPropiedades::Cargar(ruta, QStringLiteral("Otro")).ReadProperty(QStringLiteral("A"), 0).toInt(), 1);
    QCOMPARE(BolsaPropiedades::Cargar(ruta, QStringLiteral("Tercero")).ReadProperty(QStringLiteral("b"), QString()).toString(),
             QStringLiteral("x"));
    const BolsaPropiedades leida = BolsaPropiedades::Cargar(ruta, QStringLiteral("UtilVela1"));
    QCOMPARE(leida.ReadProperty(QStringLiteral("ItemHeight"), QVariant::fromValue(float(600))).toDouble(), 650.0);
    QCOMPARE(leida.ReadProperty(QStringLiteral("GroupBreakTag"), QString()).toString(), QStringLiteral("a \"b\""));
    // A folder in the file's place: not written, and said why.
    QString error;
    QVERIFY(!bolsa.Guardar(dir.path(), QStringLiteral("UtilVela1"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("No se puede escribir")), qPrintable(error));
}

void TstPropiedadesVela::controlNuevo()
{
    Contexto c(ini("[JUANStyles]\nStyles=4\n"));
    UtilVela b;
    b.ItemHeight(900);
    b.ImageFolder(QStringLiteral("/x"));
    b.InitProperties();
    QCOMPARE(b.Estilo(), 5);
    QCOMPARE(b.ItemHeight(), 520.0);
    QCOMPARE(b.IconPx(), 42);
    QCOMPARE(b.ImageFolder(), QString());
    QVERIFY(b.ImpresoraCheckable());
    QVERIFY(!b.CompartirCheckable());
    QCOMPARE(b.ItemCount(), 19);
}

QTEST_MAIN(TstPropiedadesVela)
#include "tst_propiedadesvela.moc"
