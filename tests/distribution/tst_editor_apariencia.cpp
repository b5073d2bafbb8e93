// The editor's looks: its command bar restored from the properties stored beside the program,
// the colour style and icons of the bar, the skin and the window's icon.
#include "GDBPrueba.h"
#include "distribution/frmProrrata.h"
#include "startup/CNStuffContable.h"
#include "startup/SkinFramework.h"
#include "suite/Ini.h"
#include "toolbar/ModUtilVelaBar.h"
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace {

const QString Linea = QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;");

// The demo company, its folder as the program's, the INI folder and the Windows user ana.
struct Apariencia : GDBPrueba {
    Apariencia() : GDBPrueba(false)
    {
        ReiniciarCNStuffContable();
        FijarNombreEjecutable(QStringLiteral("prorrata"));
        suite::FijarCarpetaIni(carpeta());
        ModUtilVelaBar::FijarCarpetaPrograma(carpeta());
        qputenv("USERNAME", "ana");
    }
    ~Apariencia()
    {
        SkinFramework1().Quitar();
        ReiniciarCNStuffContable();
        suite::FijarCarpetaIni({});
        ModUtilVelaBar::FijarCarpetaPrograma({});
        qunsetenv("USERNAME");
    }
    void copiar(const QString& desde, const QString& nombre)
    {
        QDir().mkpath(QFileInfo(QDir(carpeta()).filePath(nombre)).path());
        QVERIFY(QFile::copy(desde, QDir(carpeta()).filePath(nombre)));
    }
    void escribir(const QString& nombre, const QByteArray& datos)
    {
        QFile f(QDir(carpeta()).filePath(nombre));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(datos);
    }
};

QStringList visibles(const UtilVela& b)
{
    QStringList v;
    for (int i = 0; i < b.ItemCount(); ++i)
        if (b.ItemVisible(b.ItemTag(i)))
            v << b.ItemTag(i);
    return v;
}

} // namespace

class TstEditorApariencia : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void barraGuardada();
    void archivoDaniado();
    void avisosConSuLinea();
    void pielEIcono();
};

void TstEditorApariencia::barraGuardada()
{
    Apariencia a;
    a.copiar(QStringLiteral(CARPETA_RECURSOS "/formularios/frmProrrata.propiedades"), QStringLiteral("frmProrrata.propiedades"));
    a.escribir(QStringLiteral("cn000pr.ini"), "[ANAStyles]\r\nStyles=3\r\n");
    QImage png(42, 42, QImage::Format_ARGB32);
    png.fill(QColor(250, 200, 0));
    QDir(a.carpeta()).mkpath(QStringLiteral("img_menu"));
    QVERIFY(png.save(QDir(a.carpeta()).filePath(QStringLiteral("img_menu/GRABAR.png"))));
    frmProrrata f;
    const UtilVela& b = *f.UtilVela1;
    QCOMPARE(b.ItemHeight(), 600.0);
    QCOMPARE(b.IconPx(), 42);
    QCOMPARE(visibles(b), (QStringList{"NUEVO", "BORRAR", "REPORTE", "CONSULTAR", "PLANILLA", "CANCELAR", "GRABAR", "CERRAR", "IMPORTAR", "COPIAR", "HISTORIAL", "VERIFICAR"}));
    QVERIFY(b.ItemEnabled(QStringLiteral("PLANILLA")));
    // The style is the user's in cn000pr.ini (3 is the bar's 4), not the stored dark colours.
    QCOMPARE(b.Estilo(), 4);
    QCOMPARE(b.NormalBackColor(), UtilVela::RGB(135, 133, 150));
    // The icon files of the program's img_menu, the base pictures for the others.
    QCOMPARE(b.ImageFolder(), a.carpeta() + QStringLiteral("/img_menu/"));
    QVERIFY(b.HasFileIcon(b.FindItem(QStringLiteral("GRABAR"))));
    QVERIFY(!b.HasFileIcon(b.FindItem(QStringLiteral("NUEVO"))));
}

void TstEditorApariencia::archivoDaniado()
{
    Apariencia a;
    a.escribir(QStringLiteral("frmProrrata.propiedades"), QByteArray("\0\1\2\3 basura", 12));
    frmProrrata f;
    const UtilVela& b = *f.UtilVela1;
    QCOMPARE(b.ItemHeight(), 600.0);
    QCOMPARE(b.IconPx(), 32);
    QCOMPARE(b.Estilo(), 1); // nothing set: the blue style
    QCOMPARE(visibles(b), (QStringList{"NUEVO", "BORRAR", "REPORTE", "CONSULTAR", "PLANILLA", "CANCELAR", "GRABAR", "CERRAR", "IMPORTAR", "COPIAR", "HISTORIAL", "VERIFICAR"}));
    // The form works as ever.
    f.Form_Load(Linea);
    QVERIFY(gDB.gOpenFlag);
    QVERIFY(b.ItemEnabled(QStringLiteral("NUEVO")));
}

void TstEditorApariencia::avisosConSuLinea()
{
    // Every stored value that does not read is written on standard error with its line, also
    // those found while the bar reads them.
    Apariencia a;
    a.escribir(QStringLiteral("frmProrrata.propiedades"), "; barra\n[UtilVela1]\nItemHeight = mucho\nHorizontal = quizas\nbasura\n");
    QTemporaryFile salida;
    QVERIFY(salida.open());
    std::fflush(stderr);
    const int antes = ::dup(2);
    ::dup2(salida.handle(), 2);
    {
        frmProrrata f;
        QCOMPARE(f.UtilVela1->ItemHeight(), 600.0);
    }
    std::fflush(stderr);
    ::dup2(antes, 2);
    ::close(antes);
    salida.seek(0);
    const QString texto = QString::fromUtf8(salida.readAll());
    for (const char* esperado : {"línea 3: el valor de ItemHeight (mucho)", "línea 4: el valor de Horizontal (quizas)",
                                 "línea 5: se esperaba Nombre = valor"})
        QVERIFY2(texto.contains(QString::fromUtf8(esperado)), qPrintable(texto));
}

void TstEditorApariencia::pielEIcono()
{
    Apariencia a;
    for (QDirIterator it(QStringLiteral(CARPETA_RECURSOS "/Styles"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString ruta = it.next();
        a.copiar(ruta, QStringLiteral("Styles/") + QDir(QStringLiteral(CARPETA_RECURSOS "/Styles")).relativeFilePath(ruta));
    }
    a.escribir(QStringLiteral("cn000pr.ini"), "[ANAStyles]\r\nStyles=4\r\n");
    frmProrrata f;
    f.Form_Load(Linea);
    QVERIFY(SkinFramework1().Archivo().endsWith(QStringLiteral("Styles/iTunes")));
    QCOMPARE(qApp->styleSheet(), SkinFramework1().Reglas());
    QCOMPARE(f.txtFields[0]->palette().color(QPalette::Text), SkinFramework1().Paleta().color(QPalette::Text));
    QVERIFY(f.windowIcon().availableSizes().contains(QSize(48, 48)));
}

QTEST_MAIN(TstEditorApariencia)
#include "tst_editor_apariencia.moc"
