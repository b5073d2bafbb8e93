// Distribution tables as CSV: what is written, what is read back (from this program or a
// spreadsheet), and every fault of a file reported with its row.
#include "distribution/PlanillaCsv.h"
#include "suite/Regional.h"

#include <QStringEncoder>
#include <QTest>

using planilla::TablaPlanilla;

namespace {

bool centroDemo(const QString& c)
{
    static const QStringList centros{"1", "11", "12", "13", "2", "21", "211", "212", "22", "3", "31", "311", "312", "32"};
    return centros.contains(c.trimmed(), Qt::CaseInsensitive);
}

// A table as one line of text: code|name|concept|flag|centre=percentage ...
QString resumen(const TablaPlanilla& t)
{
    QStringList l;
    for (const auto& linea : t.lineas)
        l << linea.centro + u'=' + linea.porcentaje.texto(u',');
    return QStringList{t.codigo, t.nombre, t.concepto, t.pideConfirmacion ? "1" : "0", l.join(u' ')}.join(u'|');
}

QStringList resumenes(const std::vector<TablaPlanilla>& tablas)
{
    QStringList r;
    for (const auto& t : tablas)
        r << resumen(t);
    return r;
}

const char* const Encabezado = "CODIGO;NOMBRE;CONCEPTO;PIDECONFIRMACION;CCOSTO;PORCENTAJE\r\n";

} // namespace

class TstPlanilla : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void escribir();
    void idaYVuelta();
    void formulas();
    void leer_data();
    void leer();
    void errores_data();
    void errores();
    void mensaje();
};

void TstPlanilla::initTestCase() { suite::FijarRegional({u',', u'.', 2, QStringLiteral("dd/MM/yyyy")}); }

void TstPlanilla::escribir()
{
    TablaPlanilla t{"3", "Producción", "Mantenimiento; consumos", false, {}, 0};
    t.lineas = {{"311", *suite::Moneda::leer("33,33", u',', u'.'), 0}, {"32", *suite::Moneda::leer("33,3334", u',', u'.'), 0}};
    TablaPlanilla u{"12", "Dijo \"hola\"", "", true, {{"11", suite::Moneda::desdeEntero(100), 0}}, 0};
    const QByteArray esperado = QByteArray("\xEF\xBB\xBF") + Encabezado
        + QStringLiteral("3;Producción;\"Mantenimiento; consumos\";0;311;33,33\r\n"
                         "3;Producción;\"Mantenimiento; consumos\";0;32;33,3334\r\n"
                         "12;\"Dijo \"\"hola\"\"\";;1;11;100\r\n")
              .toUtf8();
    QCOMPARE(planilla::Escribir({t, u}, u','), esperado);
}

void TstPlanilla::idaYVuelta()
{
    TablaPlanilla t{"A1", "  L'Étoile, sucursal ", "Línea 1\nLínea 2", true, {}, 0};
    t.lineas = {{"1", *suite::Moneda::leer("12,5", u',', u'.'), 0}, {"211", *suite::Moneda::leer("87,5", u',', u'.'), 0}};
    TablaPlanilla u{"2", "Comercial", "Gastos de ventas", false, {{"212", *suite::Moneda::leer("0,0001", u',', u'.'), 0}}, 0};
    const planilla::Lectura l = planilla::Leer(planilla::Escribir({t, u}, u','), centroDemo);
    QCOMPARE(l.errores, QStringList());
    QCOMPARE(resumenes(l.tablas), resumenes({t, u}));
    QCOMPARE(l.filas, 3);
}

void TstPlanilla::formulas()
{
    // Names a spreadsheet would run as formulas go out as text and come back as they were.
    TablaPlanilla t{"7", "=HIPERVINCULO(\"http://x\")", "@SUMA(A1)", false, {{"11", suite::Moneda::desdeEntero(100), 0}}, 0};
    TablaPlanilla u{"8", "-Gastos", "'Nota", false, {{"12", suite::Moneda::desdeEntero(100), 0}}, 0};
    const QByteArray escrito = planilla::Escribir({t, u}, u',');
    QVERIFY(escrito.contains("7;\"'=HIPERVINCULO(\"\"http://x\"\")\";'@SUMA(A1);"));
    QVERIFY(escrito.contains("8;'-Gastos;'Nota;"));
    const planilla::Lectura l = planilla::Leer(escrito, centroDemo);
    QCOMPARE(l.errores, QStringList());
    QCOMPARE(resumenes(l.tablas), resumenes({t, u}));
}

void TstPlanilla::leer_data()
{
    QTest::addColumn<QByteArray>("archivo");
    QTest::addColumn<QStringList>("tablas");
    const QStringList gastos{"1|Gastos|Prorrateo, mensual|0|11=30,5 12=69,5"};
    QTest::newRow("punto y coma, UTF-8 sin marca")
        << QByteArray(Encabezado) + QStringLiteral("1;Gastos;Prorrateo, mensual;0;11;30,5\r\n1;Gastos;Prorrateo, mensual;0;12;69,5\r\n").toUtf8()
        << gastos;
    QTest::newRow("comas, decimales entre comillas, filas siguientes sin cabecera")
        << QByteArray("CODIGO,NOMBRE,CONCEPTO,PIDECONFIRMACION,CCOSTO,PORCENTAJE\n1,Gastos,\"Prorrateo, mensual\",0,11,\"30,5\"\n1,,,,12,\"69,5\"\n")
        << gastos;
    QTest::newRow("Windows-1252")
        << QByteArray(Encabezado) + QByteArray("7;Caf\xE9 y t\xE9;A\xF1o;0;311;100\r\n")
        << QStringList{"7|Café y té|Año|0|311=100"};
    QTest::newRow("punto decimal y signo de porcentaje")
        << QByteArray(Encabezado) + QByteArray("3;P;C;1;311;33.33%\r\n3;P;C;1;312;33,33 %\r\n3;P;C;1;32;33.34\r\n")
        << QStringList{"3|P|C|1|311=33,33 312=33,33 32=33,34"};
    QTest::newRow("columnas en otro orden, sin nombre ni concepto")
        << QStringLiteral("Porcentaje;C. Costo;Código\n50;11;7\n50;12;7\n").toUtf8() << QStringList{"7|||0|11=50 12=50"};
    QTest::newRow("filas en blanco, tablas mezcladas, código en minúsculas")
        << QByteArray(Encabezado) + QByteArray("a1;X;;0;11;10\r\n;;;;;\r\n\r\n2;Y;;0;21;40\r\nA1;;;;12;20\r\n")
        << QStringList{"a1|X||0|11=10 12=20", "2|Y||0|21=40"};
}

void TstPlanilla::leer()
{
    QFETCH(QByteArray, archivo);
    QFETCH(QStringList, tablas);
    const planilla::Lectura l = planilla::Leer(archivo, centroDemo);
    QCOMPARE(l.errores, QStringList());
    QCOMPARE(resumenes(l.tablas), tablas);
}

void TstPlanilla::errores_data()
{
    QTest::addColumn<QByteArray>("archivo");
    QTest::addColumn<QStringList>("errores");
    const QByteArray e(Encabezado);
    QTest::newRow("centro inexistente, porcentaje no numérico, más del 100 %, código largo")
        << e + QByteArray("1;G;;0;99;10\r\n1;G;;0;11;abc\r\n2;H;;0;21;60\r\n2;H;;0;22;50\r\n12345;I;;0;31;10\r\n")
        << QStringList{"Fila 2: el centro de costo «99» no existe.", "Fila 3: el porcentaje «abc» no es un número.",
                       "Fila 5: la tabla 2 suma 110,00 %; no puede superar el 100 %.",
                       "Fila 6: el código «12345» tiene más de 4 caracteres."};
    QTest::newRow("centro largo, porcentaje negativo o con cinco decimales, falta el porcentaje")
        << e + QByteArray("1;G;;0;31111;10\r\n1;G;;0;11;-5\r\n1;G;;0;12;1,00001\r\n1;G;;0;13;\r\n")
        << QStringList{"Fila 2: el centro de costo «31111» tiene más de 4 caracteres.", "Fila 3: el porcentaje «-5» es negativo.",
                       "Fila 4: el porcentaje «1,00001» tiene más de 4 decimales.", "Fila 5: falta el porcentaje."};
    QTest::newRow("filas que no concuerdan")
        << e + QByteArray("1;G;C;0;11;10\r\n1;Otro;C;0;12;10\r\n1;G;C;1;11;10\r\n")
        << QStringList{"Fila 3: la tabla 1 tiene otro nombre en la fila 2.",
                       "Fila 4: la tabla 1 tiene otro valor de PIDECONFIRMACION en la fila 2.",
                       "Fila 4: el centro de costo 11 ya figura en la tabla 1 (fila 2)."};
    QTest::newRow("sin pedir confirmación y por debajo del 100 %")
        << e + QByteArray("1;G;;1;11;60\r\n1;G;;1;12;30\r\n")
        << QStringList{"Fila 2: la tabla 1 no pide confirmación y suma 90,00 %; debe completar el 100 %."};
    QTest::newRow("faltan el código, el centro, columnas; marca desconocida")
        << e + QByteArray(";G;;0;11;10\r\n1;G;;0;;10\r\n1;G;;0\r\n1;G;;X;11;10\r\n")
        << QStringList{"Fila 2: falta el código de la tabla.", "Fila 3: falta el centro de costo.",
                       "Fila 4: tiene 4 columnas y el encabezado 6.",
                       "Fila 5: la columna PIDECONFIRMACION vale «X»; se esperaba 1 o 0."};
    QTest::newRow("un salto de línea dentro de un campo cuenta en las filas")
        << e + QByteArray("1;G;\"dos\r\nrenglones\";0;11;10\r\n1;G;\"dos\r\nrenglones\";0;99;10\r\n")
        << QStringList{"Fila 4: el centro de costo «99» no existe."};
    QTest::newRow("caracteres de control en los campos")
        << e + QByteArrayLiteral("1;G;;0;11;10\x00" "0\r\n2;G\x00H;;0;12;10\r\n3;G;C\x1b;0;13;10\r\n4\x07;G;;0;21;10\r\n"
                                 "5;G;\"con\ttab\";0;22;10\r\n6;G;;0;2\t2;10\r\n")
        << QStringList{"Fila 2: la columna PORCENTAJE tiene un carácter de control (U+0000), que no puede ir en un campo.",
                       "Fila 3: la columna NOMBRE tiene un carácter de control (U+0000), que no puede ir en un campo.",
                       "Fila 4: la columna CONCEPTO tiene un carácter de control (U+001B), que no puede ir en un campo.",
                       "Fila 5: la columna CODIGO tiene un carácter de control (U+0007), que no puede ir en un campo.",
                       "Fila 7: la columna CCOSTO tiene un carácter de control (U+0009), que no puede ir en un campo.",
                       "Fila 7: el centro de costo «2\t2» no existe."};
    QTest::newRow("comillas sin cerrar") << e + QByteArray("1;\"G;;0;11;10\r\n1;G;;0;12;10\r\n")
                                         << QStringList{"Fila 2: unas comillas abiertas no se cierran."};
    QTest::newRow("falta una columna en el encabezado")
        << QByteArray("CODIGO;NOMBRE;CCOSTO\r\n1;G;11\r\n")
        << QStringList{"Fila 1: falta la columna PORCENTAJE en el encabezado (se esperaba: "
                       "CODIGO;NOMBRE;CONCEPTO;PIDECONFIRMACION;CCOSTO;PORCENTAJE)."};
    QTest::newRow("archivo vacío") << QByteArray("\xEF\xBB\xBF \r\n") << QStringList{"El archivo está vacío."};
    QTest::newRow("solo el encabezado")
        << e << QStringList{"El archivo no tiene filas con líneas de tablas (después del encabezado)."};
}

void TstPlanilla::errores()
{
    QFETCH(QByteArray, archivo);
    QFETCH(QStringList, errores);
    const planilla::Lectura l = planilla::Leer(archivo, centroDemo);
    QCOMPARE(l.errores, errores);
    QVERIFY(l.tablas.empty()); // nothing to save from a file with faults
}

void TstPlanilla::mensaje()
{
    QStringList muchos;
    for (int i = 2; i <= 20; ++i)
        muchos << QStringLiteral("Fila %1: falta el centro de costo.").arg(i);
    const QString m = planilla::MensajeErrores(muchos, 3);
    QCOMPARE(m, QStringLiteral("No se importó nada: el archivo tiene 19 errores.\n\nFila 2: falta el centro de costo.\n"
                               "Fila 3: falta el centro de costo.\nFila 4: falta el centro de costo.\n... y 16 más."));
    QCOMPARE(planilla::MensajeErrores({"Fila 2: x."}), QStringLiteral("No se importó nada: el archivo tiene un error.\n\nFila 2: x."));
}

QTEST_APPLESS_MAIN(TstPlanilla)
#include "tst_planilla.moc"
