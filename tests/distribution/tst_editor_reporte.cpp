// REPORTE (F4) on the demo company: the editor hands the table to the report printer, which
// writes RP_CCDIST as a PDF; the PDF is read back as text with pdftotext.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "report/ImpresoraReportes.h"
#include "suite/Reportes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Reporte : EditorPrueba {
    reporte::ImpresoraReportes impresora;
    QString pdf = ruta(QStringLiteral("tabla.pdf"));

    Reporte()
    {
        suite::CarpetaReportes(QStringLiteral(CARPETA_REPORTES));
        suite::FijarImpresoraReportes(&impresora);
        suite::FijarDestinoReportes({pdf});
    }
    ~Reporte()
    {
        suite::FijarImpresoraReportes(nullptr);
        suite::FijarDestinoReportes({});
    }
    // The PDF's text, each line with its runs of blanks made one.
    QString texto() const
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                                              QStringLiteral("-")});
        if (!p.waitForFinished(20000) || p.exitCode() != 0)
            return QStringLiteral("(pdftotext falló: %1)").arg(QString::fromUtf8(p.readAllStandardError()));
        QStringList lineas;
        for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
            if (!l.trimmed().isEmpty())
                lineas << l.simplified();
        return lineas.join(u'\n');
    }
    void sql(const QString& s) { gDB.gCnn.Execute(s); }
};

// The lines of table 1 as the page shows them.
const QStringList Tabla1{
    "Tabla de Distribución de Centros de Costos",
    "Tabla 1 · Gastos de estructura",
    "Concepto: Prorrateo de gastos generales",
    "Debe completarse el 100 %: Sí",
    "C. Costo Descripción Porcentaje",
    "11 Contabilidad 30,00",
    "12 Finanzas 20,00",
    "13 Recursos humanos 10,00",
    "21 Ventas 25,00",
    "31 Planta Córdoba 15,00",
    "Total 100,00 %",
    "Cuentas asignadas (3)",
    "Cuenta Descripción",
    "5.1.01.003 Alquileres",
    "5.1.01.004 Energía eléctrica",
    "5.1.01.005 Teléfono e internet",
    "Preparó Revisó Aprobó",
};

void contieneEnOrden(const QString& texto, const QStringList& lineas)
{
    const QStringList todas = texto.split(u'\n');
    qsizetype desde = 0;
    for (const QString& l : lineas) {
        const qsizetype i = todas.indexOf(l, desde);
        QVERIFY2(i >= 0, qPrintable(QStringLiteral("falta «%1» en:\n%2").arg(l, texto)));
        desde = i + 1;
    }
}

} // namespace

class TstEditorReporte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tablaUno();
    void codigoVacioImprimeTodas();
    void cuatroDecimales();
    void encabezados_data();
    void encabezados();
    void seleccionEnElMotor_data();
    void seleccionEnElMotor();
    void errores_data();
    void errores();
    void nombreSugerido();
};

void TstEditorReporte::tablaUno()
{
    Reporte e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    e.tecla(Qt::Key_F4);
    QVERIFY(QFileInfo::exists(e.pdf));
    const QString t = e.texto();
    QVERIFY2(t.startsWith(QStringLiteral("Comercial Andina S.A. Fecha: 12/08/2026\nAv. Corrientes 1234 5º B Hora: 18:04\n"
                                         "Buenos Aires\n")),
             qPrintable(t));
    contieneEnOrden(t, Tabla1);
    QVERIFY2(t.endsWith(QStringLiteral("RP_CCDIST · EMPRESA_DEMO · Usuario ANA Página 1 de 1")), qPrintable(t));
    QVERIFY(!t.contains(QStringLiteral("Tabla 2")));
    QVERIFY(d.vistos().isEmpty());
}

void TstEditorReporte::codigoVacioImprimeTodas()
{
    Reporte e;
    DialogosGuionados d;
    e.tecla(Qt::Key_F4);
    const QString t = e.texto();
    contieneEnOrden(t, {"Tabla 1 · Gastos de estructura", "Total 100,00 %", "Cuentas asignadas (3)", "Tabla 2 · Comercial",
                        "211 Ventas zona norte 60,00", "212 Ventas zona sur 40,00", "Total 100,00 %", "Cuentas asignadas (2)",
                        "Tabla 3 · Producción", "Debe completarse el 100 %: No", "32 Depósito central 33,34",
                        "Total 100,00 %", "5.3.01.001 Mantenimiento de planta", "Preparó Revisó Aprobó"});
}

void TstEditorReporte::cuatroDecimales()
{
    // Percentages stored with four decimals print as stored, and their total is exact.
    Reporte e;
    DialogosGuionados d;
    for (const char* l : {"'311',33.3333", "'312',33.3333", "'32',33.3334"})
        e.sql(QStringLiteral("INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) "
                             "VALUES('   9','Tercios','Partes iguales',")
              + QString::fromLatin1(l) + QStringLiteral(",1)"));
    e.abrir(QStringLiteral("9"));
    e.tecla(Qt::Key_F4);
    contieneEnOrden(e.texto(), {"Tabla 9 · Tercios", "311 Línea de envasado 33,3333", "312 Mantenimiento 33,3333",
                                "32 Depósito central 33,3334", "Total 100,00 %"});
}

void TstEditorReporte::encabezados_data()
{
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("lineas");
    const QString titulo = QStringLiteral("NomRep = 'Tabla de Distribución de Centros de Costos'");
    QTest::newRow("la empresa de la demo")
        << QString()
        << QStringList{"NombreEmpresa = 'Comercial Andina S.A.'", "Direccion = 'Av. Corrientes 1234 5º B'", "Localidad = 'Buenos Aires'",
                       titulo}
        << QStringList{"Comercial Andina S.A. Fecha: 12/08/2026", "Av. Corrientes 1234 5º B Hora: 18:04", "Buenos Aires"};
    QTest::newRow("sin la clave PISO")
        << "DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'PISO'"
        << QStringList{"NombreEmpresa = 'Comercial Andina S.A.'", "Direccion = 'Av. Corrientes 1234  '", "Localidad = 'Buenos Aires'",
                       titulo}
        << QStringList{"Comercial Andina S.A. Fecha: 12/08/2026", "Av. Corrientes 1234 Hora: 18:04", "Buenos Aires"};
    QTest::newRow("un apóstrofo en el nombre")
        << "UPDATE TA_CONFIGURACION SET VALOR = 'L''Étoile' WHERE CLAVE = 'NOMBRE'"
        << QStringList{"NombreEmpresa = 'L'Étoile'", "Direccion = 'Av. Corrientes 1234 5º B'", "Localidad = 'Buenos Aires'", titulo}
        << QStringList{"L'Étoile Fecha: 12/08/2026", "Av. Corrientes 1234 5º B Hora: 18:04", "Buenos Aires"};
}

void TstEditorReporte::encabezados()
{
    QFETCH(QString, cambio);
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, lineas);
    Reporte e;
    DialogosGuionados d;
    if (!cambio.isEmpty())
        e.sql(cambio);
    QCOMPARE(frmProrrata::FormulasReporte(), formulas);
    e.abrir(QStringLiteral("1"));
    e.tecla(Qt::Key_F4);
    const QString t = e.texto();
    QVERIFY2(t.startsWith(lineas.join(u'\n') + u'\n'), qPrintable(t));
}

void TstEditorReporte::seleccionEnElMotor_data()
{
    // Formulas run on the engine under test: the tables they select, and how many accounts
    // each one lists.
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("tablas");
    QTest::addColumn<QString>("cuentas");
    QTest::newRow("vacía: todas") << "" << "1 2 3" << "3 2 1";
    QTest::newRow("la del editor para el código 2")
        << "TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) >= '2'  AND TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) <= '2' "
        << "2" << "2";
    QTest::newRow("LIKE sin distinguir mayúsculas") << "{MA_CUENTAS_CCDIST.NOMBRE} LIKE 'gastos*'" << "1" << "3";
    QTest::newRow("LIKE sobre la tabla unida") << "{TA_CCOSTO.DESCRIPCION} LIKE '*zona?sur'" << "2" << "2";
    QTest::newRow("el % del valor es literal") << "{MA_CUENTAS_CCDIST.NOMBRE} LIKE '%*'" << "" << "";
    QTest::newRow("OR") << "Trim({MA_CUENTAS_CCDIST.CODIGO}) = '1' OR Trim({MA_CUENTAS_CCDIST.CODIGO}) = '3'" << "1 3" << "3 1";
    QTest::newRow("NOT") << "NOT (Trim({MA_CUENTAS_CCDIST.CODIGO}) = '1')" << "2 3" << "2 1";
    QTest::newRow("comillas y punto y coma como texto")
        << "{MA_CUENTAS_CCDIST.NOMBRE} = 'x''); DELETE FROM MA_CUENTAS_CCDIST; --'" << "" << "";
    QTest::newRow("acentos") << "UpperCase({MA_CUENTAS_CCDIST.NOMBRE}) = 'PRODUCCIÓN'" << "3" << "1";
}

void TstEditorReporte::seleccionEnElMotor()
{
    QFETCH(QString, formula);
    QFETCH(QString, tablas);
    QFETCH(QString, cuentas);
    Reporte e;
    suite::PedidoReporte pedido{QStringLiteral("RP_CCDIST"), {}, formula, gDSN, {}, {}};
    const reporte::ReporteListo r = reporte::Preparar(pedido);
    QStringList codigos, asignadas;
    for (size_t g = 0; g < r.datos.grupos.size(); ++g) {
        codigos << r.datos.principal.valor(r.datos.grupos[g].inicio, 0).toString().trimmed();
        asignadas << QString::number(r.datos.rangos[0][g].size());
    }
    QCOMPARE(codigos.join(u' '), tablas);
    QCOMPARE(asignadas.join(u' '), cuentas);
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST")).toInt(), 10);
}

void TstEditorReporte::errores_data()
{
    // What cannot be printed reaches the error dialog (Abort leaves) and writes nothing.
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("fórmula que no se entiende") << "{MA_CUENTAS_CCDIST.CODIGO} >= " << CARPETA_REPORTES
                                                << "Se ha producido el error 20515:\nLa fórmula de selección no es válida: ";
    QTest::newRow("campo de otra tabla") << "{MA_CUENTAS.CODIGO} = '1'" << CARPETA_REPORTES
                                         << "La fórmula de selección nombra el campo {MA_CUENTAS.CODIGO}, que no es de las tablas";
    QTest::newRow("sin definición") << "" << "no-existe" << "Se ha producido el error 20507:\nNo se encuentra la definición del reporte RP_CCDIST";
    QTest::newRow("columna que la tabla no tiene")
        << "" << "<columna mala>"
        << "El reporte RP_CCDIST nombra la columna TA_CCOSTO.DESCRIPCIN, que la tabla TA_CCOSTO no tiene (<carpeta>/RP_CCDIST.rpt, línea 29). ";
}

void TstEditorReporte::errores()
{
    QFETCH(QString, formula);
    QFETCH(QString, carpeta);
    QFETCH(QString, mensaje);
    Reporte e;
    DialogosGuionados d;
    if (carpeta == QLatin1String("<columna mala>")) {
        // A definition with a misspelt column, in a folder of its own.
        QFile original(QStringLiteral(CARPETA_REPORTES "/RP_CCDIST.rpt"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        carpeta = QFileInfo(e.pdf).absolutePath() + QStringLiteral("/reportes");
        QVERIFY(QDir().mkpath(carpeta));
        QFile copia(carpeta + QStringLiteral("/RP_CCDIST.rpt"));
        QVERIFY(copia.open(QIODevice::WriteOnly));
        copia.write(original.readAll().replace("{TA_CCOSTO.DESCRIPCION}", "{TA_CCOSTO.DESCRIPCIN}"));
        mensaje.replace(QStringLiteral("<carpeta>"), carpeta);
    }
    suite::CarpetaReportes(carpeta);
    d.responder(suite::vbAbort);
    suite::Rutina r = suite::Rutina::conDialogoError(QStringLiteral("Imprimir"));
    r([&] {
        suite::ImprimirReporte(QStringLiteral("RP_CCDIST"), {}, formula, gDSN, frmProrrata::FormulasReporte().value(0), {}, {}, {}, {},
                               {}, {}, {});
    });
    QVERIFY(r.abandonada());
    QVERIFY2(d.ultimo().texto.contains(mensaje), qPrintable(d.ultimo().texto));
    QCOMPARE(d.ultimo().estilo, suite::vbAbortRetryIgnore + suite::vbCritical);
    QVERIFY(!QFileInfo::exists(e.pdf));
}

void TstEditorReporte::nombreSugerido()
{
    // What the preview offers as the PDF's file name.
    Reporte e;
    auto nombre = [](const QString& formula) {
        const QStringList formulas = frmProrrata::FormulasReporte();
        return reporte::NombreArchivoSugerido(reporte::Preparar({QStringLiteral("RP_CCDIST"), {}, formula, gDSN, formulas, {}}));
    };
    QCOMPARE(nombre({}), QStringLiteral("Tabla de Distribución de Centros de Costos.pdf"));
    e.sql(QStringLiteral("UPDATE MA_CUENTAS_CCDIST SET NOMBRE = 'Gastos 50/50: \"fijos\"' WHERE CODIGO = '   1'"));
    QCOMPARE(nombre(QStringLiteral("Trim({MA_CUENTAS_CCDIST.CODIGO}) = '1'")),
             QStringLiteral("Tabla de Distribución de Centros de Costos - Tabla 1 · Gastos 50-50- -fijos-.pdf"));
}

QTEST_MAIN(TstEditorReporte)
#include "tst_editor_reporte.moc"
