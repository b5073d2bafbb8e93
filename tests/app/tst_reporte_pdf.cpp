// prorrata --reporte CODIGO --pdf ARCHIVO: the table's report written without a window; exit
// status 1 and the reason on standard error when it cannot be written.
#include "EmpresaPrueba.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <optional>

namespace {

const QString Linea = QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;");

struct Salida {
    int codigo;
    QString err;
};

Salida correr(const EmpresaPrueba& e, const QStringList& args, const std::optional<QString>& lang = std::nullopt)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (lang) { // the locale from LANG alone; an empty text: no locale variable at all
        for (const char* v : {"LANG", "LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QLatin1String(v));
        if (!lang->isEmpty())
            env.insert(QStringLiteral("LANG"), *lang);
    }
    env.insert(QStringLiteral("VL_SERVIDORES"), e.ruta(QStringLiteral("servidores.ini")));
    env.insert(QStringLiteral("TEMP"), e.carpeta());
    env.insert(QStringLiteral("TMP"), e.carpeta());
    env.insert(QStringLiteral("VL_CARPETA_INI"), e.carpeta());
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the program needs no display of its own
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PRORRATA), args);
    if (!p.waitForFinished(30000))
        return {-1, QStringLiteral("no terminó")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, QString::fromUtf8(p.readAllStandardError())};
}

QString textoPdf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

class TstReportePdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escribeElPdf();
    void fallas_data();
    void fallas();
    void fechaRegional_data();
    void fechaRegional();
};

void TstReportePdf::escribeElPdf()
{
    EmpresaPrueba e;
    const QString pdf = e.ruta(QStringLiteral("tabla 2.pdf"));
    const Salida s = correr(e, {QStringLiteral("--reporte"), QStringLiteral("2"), QStringLiteral("--pdf"), pdf, Linea});
    QVERIFY2(s.codigo == 0, qPrintable(s.err));
    const QString t = textoPdf(pdf);
    QVERIFY2(t.contains(QStringLiteral("Tabla 2 · Comercial")), qPrintable(t));
    QVERIFY2(t.contains(QStringLiteral("Ventas zona norte")), qPrintable(t));
    QVERIFY(!t.contains(QStringLiteral("Gastos de estructura")));
}

void TstReportePdf::fallas_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mensaje");
    const QString pdf = QStringLiteral("PDF");
    QTest::newRow("falta --pdf") << QStringList{"--reporte", "1", Linea} << "Uso: prorrata --reporte CODIGO --pdf ARCHIVO";
    QTest::newRow("falta el código") << QStringList{"--pdf", pdf, "--reporte"} << "Uso: prorrata --reporte CODIGO --pdf ARCHIVO";
    QTest::newRow("base que no existe")
        << QStringList{"--reporte", "1", "--pdf", pdf, "@Server=DEMO; @DbName=NO_EXISTE; @Usuario=ANA; orbe@ ;"}
        << "No se pudo abrir la conexión; el reporte no se escribió.";
    QTest::newRow("carpeta que no existe")
        << QStringList{"--reporte", "1", "--pdf", "no/existe/tabla.pdf", Linea} << "El reporte no se escribió en no/existe/tabla.pdf";
}

void TstReportePdf::fallas()
{
    QFETCH(QStringList, args);
    QFETCH(QString, mensaje);
    EmpresaPrueba e;
    const QString pdf = e.ruta(QStringLiteral("tabla.pdf"));
    args.replaceInStrings(QStringLiteral("PDF"), pdf);
    const Salida s = correr(e, args);
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.err.contains(mensaje), qPrintable(s.err));
    QVERIFY(!QFileInfo::exists(pdf));
}

void TstReportePdf::fechaRegional_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("fecha"); // the pattern of the heading's date
    const QString argentina = QStringLiteral("Fecha: \\d{1,2}/\\d{1,2}/\\d{4}");
    QTest::newRow("sin LANG") << QString() << argentina;
    QTest::newRow("C") << "C" << argentina;
    QTest::newRow("POSIX") << "POSIX" << argentina;
    QTest::newRow("C.UTF-8") << "C.UTF-8" << argentina;
    QTest::newRow("de_DE.UTF-8: el del sistema") << "de_DE.UTF-8" << "Fecha: \\d{2}\\.\\d{2}\\.\\d{4}";
}

// The C locale gives English dates ("11 Dec 2026"); the suite's formats are Spanish
// (Argentina) then. A locale the system names is kept.
void TstReportePdf::fechaRegional()
{
    QFETCH(QString, lang);
    QFETCH(QString, fecha);
    EmpresaPrueba e;
    const QString pdf = e.ruta(QStringLiteral("tabla.pdf"));
    const Salida s = correr(e, {QStringLiteral("--reporte"), QStringLiteral("2"), QStringLiteral("--pdf"), pdf, Linea}, lang);
    QVERIFY2(s.codigo == 0, qPrintable(s.err));
    const QString t = textoPdf(pdf);
    QVERIFY2(QRegularExpression(fecha).match(t).hasMatch(), qPrintable(t.left(300)));
}

QTEST_GUILESS_MAIN(TstReportePdf)
#include "tst_reporte_pdf.moc"
