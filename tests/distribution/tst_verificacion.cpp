// The consistency check: each kind of fault found on a demo company damaged by hand (and
// nothing on the demo as it comes), the list as CSV and printed, and a finding opening its
// table in the editor.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "Modales.h"
#include "distribution/VerificacionDistribucion.h"
#include "distribution/frmVerificar.h"

#include <QLabel>
#include <QPdfWriter>
#include <QPushButton>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {
void ejecutar(const QString& sql)
{
    QString s = sql;
    long n = 0;
    gDB.EjecutaConsultaSQL(s, n);
    QVERIFY2(gDB.gCnn.Errors().Count() == 0, qPrintable(sql));
}

QStringList comoTexto(const std::vector<Hallazgo>& h)
{
    QStringList l;
    for (const Hallazgo& x : h)
        l << QStringLiteral("%1|%2|%3").arg(x.problema, x.tabla, x.detalle);
    return l;
}

const QString Linea = QStringLiteral("INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) VALUES");

} // namespace

class TstVerificacion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hallazgos_data();
    void hallazgos();
    void csvEImpresion();
    void abrirTabla();
};

void TstVerificacion::hallazgos_data()
{
    QTest::addColumn<QStringList>("danos");
    QTest::addColumn<QStringList>("esperados");
    QTest::newRow("la demo como viene") << QStringList{} << QStringList{};
    QTest::newRow("no suma 100 %") << QStringList{QStringLiteral("UPDATE MA_CUENTAS_CCDIST SET PIDECONFIRMACION=1, PORCENTAJE=PORCENTAJE*0.5 WHERE CODIGO='   1'")}
                                   << QStringList{QStringLiteral("No suma 100 %|1|Suma 50,00 % y debe completar el 100 %")};
    QTest::newRow("sin marca, cualquier total")
        << QStringList{QStringLiteral("UPDATE MA_CUENTAS_CCDIST SET PIDECONFIRMACION=0, PORCENTAJE=PORCENTAJE*0.5 WHERE CODIGO='   1'")}
        << QStringList{};
    QTest::newRow("centro inexistente, cuatro decimales")
        << QStringList{Linea + QStringLiteral("('  40','Cuarenta','','999',99.9999,0)"), Linea + QStringLiteral("('  40','Cuarenta','','11',0.0001,0)")}
        << QStringList{QStringLiteral("Centro de costo inexistente|40|Línea 1: centro 999 (99,9999 %)")};
    QTest::newRow("cuenta de una tabla que no existe")
        << QStringList{QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST='  77' WHERE CODIGO IN (SELECT MIN(CODIGO) FROM MA_CUENTAS WHERE CC_DIST IS NULL)")}
        << QStringList{QStringLiteral("Cuenta asignada a una tabla inexistente|77|Cuenta")};
    QTest::newRow("tabla sin líneas") << QStringList{Linea + QStringLiteral("('  55','Vacía','','',0,0)"), Linea + QStringLiteral("('  55','Vacía','',' ',0,0)")}
                                      << QStringList{QStringLiteral("Tabla sin líneas|55|Ninguna de sus 2 filas tiene centro de costo")};
    QTest::newRow("centro repetido, en minúsculas y con blancos")
        << QStringList{Linea + QStringLiteral("('  56','Rep','','ab',40,1)"), Linea + QStringLiteral("('  56','Rep','','11',20,1)"),
                       Linea + QStringLiteral("('  56','Rep',' ','AB ',40,1)")}
        << QStringList{QStringLiteral("Centro de costo inexistente|56|Línea 1: centro ab (40,00 %)"),
                       QStringLiteral("Centro de costo inexistente|56|Línea 3: centro AB (40,00 %)"),
                       QStringLiteral("Centro de costo repetido|56|Centro AB en las líneas 1 y 3")};
    QTest::newRow("porcentajes fuera de 0 a 100")
        << QStringList{Linea + QStringLiteral("('  57','Fuera','','11',120,0)"), Linea + QStringLiteral("('  57','Fuera','','12',-20,0)")}
        << QStringList{QStringLiteral("Porcentaje fuera de 0 a 100|57|Línea 1: centro 11, 120,00 %"),
                       QStringLiteral("Porcentaje fuera de 0 a 100|57|Línea 2: centro 12, -20,00 %")};
}

void TstVerificacion::hallazgos()
{
    QFETCH(QStringList, danos);
    QFETCH(QStringList, esperados);
    GDBPrueba g;
    DialogosGuionados d;
    for (const QString& s : danos)
        ejecutar(s);
    std::vector<Hallazgo> h;
    QVERIFY(VerificacionDistribucion().Verificar(h));
    QStringList vistos = comoTexto(h);
    // An account's detail names it; the row checks its start.
    for (QString& v : vistos)
        if (v.startsWith(VerificacionDistribucion::ProblemaCuenta))
            v = v.section(u'|', 0, 1) + u'|' + v.section(u'|', 2).section(u' ', 0, 0);
    QCOMPARE(vistos, esperados);
    QCOMPARE(d.vistos().size(), 0);
}

void TstVerificacion::csvEImpresion()
{
    GDBPrueba g;
    DialogosGuionados d;
    ejecutar(Linea + QStringLiteral("('  58','=Nombre; \"raro\"','','999',100,1)"));
    std::vector<Hallazgo> h;
    QVERIFY(VerificacionDistribucion().Verificar(h));
    frmVerificar f(h, true);
    QCOMPARE(f.lblResumen->text(), QStringLiteral("Se encontró 1 problema en 1 tabla."));
    QCOMPARE(f.Csv(), QByteArray("\xEF\xBB\xBF"
                                 "Problema;Tabla;Nombre;Detalle\r\n"
                                 "Centro de costo inexistente;58;\"'=Nombre; \"\"raro\"\"\";L\xC3\xADnea 1: centro 999 (100,00 %)\r\n"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("v.pdf"));
    {
        QPdfWriter w(pdf);
        f.Imprimir(w);
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString texto = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    QVERIFY2(texto.contains(QStringLiteral("de las Tablas de Distribución")), qPrintable(texto));
    QVERIFY2(texto.contains(QStringLiteral("Línea 1: centro 999 (100,00 %)")), qPrintable(texto));

    frmVerificar vacio({}, true);
    QCOMPARE(vacio.lblResumen->text(), QStringLiteral("No se encontraron problemas en las tablas de distribución."));
    QVERIFY(!vacio.cmdExportar->isEnabled());
}

// F12 lists the findings; Enter on one opens its table in the editor.
void TstVerificacion::abrirTabla()
{
    EditorPrueba e;
    DialogosGuionados d;
    ejecutar(QStringLiteral("UPDATE MA_CUENTAS_CCDIST SET PIDECONFIRMACION=1, PORCENTAJE=PORCENTAJE*0.5 WHERE CODIGO='   3'"));
    QStringList vistos;
    alAbrirModal<frmVerificar>([&](frmVerificar& v) {
        vistos << v.windowTitle() << QString::number(v.lstHallazgos->topLevelItemCount());
        QTest::keyClick(v.lstHallazgos, Qt::Key_Return);
    });
    e.tecla(Qt::Key_F12);
    QTRY_VERIFY(!vistos.isEmpty());
    QCOMPARE(vistos, (QStringList{QStringLiteral("Verificación de las Tablas de Distribución"), "1"}));
    QCOMPARE(e.f.txtFields[0]->text().trimmed(), QStringLiteral("3"));
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Producción"));
    QVERIFY(!e.f.MsFlexGrid1->item(0, 1)->text().isEmpty());
    QCOMPARE(d.vistos().size(), 0);
}

QTEST_MAIN(TstVerificacion)
#include "tst_verificacion.moc"
