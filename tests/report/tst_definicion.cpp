// Report definitions: the shipped RP_CCDIST as the printer reads it, and definitions that
// are refused with the line that is wrong.
#include "report/Definicion.h"
#include "suite/ErrorRT.h"
#include "suite/Reportes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace reporte;

class TstDefinicion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rpCcdist();
    void invalidas_data();
    void invalidas();
    void noEncontrada_data();
    void noEncontrada();
};

void TstDefinicion::rpCcdist()
{
    suite::CarpetaReportes(QStringLiteral(CARPETA_REPORTES));
    const Definicion d = CargarDefinicion(QStringLiteral(" RP_CCDIST "));
    QCOMPARE(d.nombre, QStringLiteral("RP_CCDIST"));
    QCOMPARE(d.papel, QStringLiteral("A4"));
    QCOMPARE(d.empresa, QStringLiteral("{@NombreEmpresa}"));
    QCOMPARE(d.lineas, (QStringList{QStringLiteral("{@Direccion}"), QStringLiteral("{@Localidad}")}));
    QCOMPARE(d.titulo, QStringLiteral("{@NomRep}"));
    QCOMPARE(d.tablas(), (QStringList{QStringLiteral("MA_CUENTAS_CCDIST"), QStringLiteral("TA_CCOSTO")}));
    QCOMPARE(d.grupo.texto(), QStringLiteral("{MA_CUENTAS_CCDIST.CODIGO}"));
    QCOMPARE(d.columnas.size(), 3);
    QCOMPARE(d.columnas[2].formato, Formato::Porcentaje);
    QCOMPARE(d.totales.size(), 1);
    QCOMPARE(d.totales[0].sufijo, QStringLiteral("%"));
    QCOMPARE(d.detalles.size(), 1);
    QCOMPARE(d.detalles[0].enlace.texto(), QStringLiteral("{MA_CUENTAS.CC_DIST}"));
    QCOMPARE(d.firmas, (QStringList{QStringLiteral("Preparó"), QStringLiteral("Revisó"), QStringLiteral("Aprobó")}));
}

void TstDefinicion::invalidas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("motivo");
    const QString base = QStringLiteral("[datos]\ntabla = T\n[columnas]\ncolumna = A | {T.A} | 50\n");
    QTest::newRow("sin tabla") << "[columnas]\ncolumna = A | {T.A} | 50\n" << "línea 3: falta la tabla de [datos]";
    QTest::newRow("sin columnas") << "[datos]\ntabla = T\n" << "falta al menos una columna";
    QTest::newRow("sección desconocida") << base + "[formulas]\n" << "línea 5: sección desconocida [formulas]";
    QTest::newRow("clave desconocida") << base + "titulo = X\n" << "línea 5: clave desconocida «titulo» en [columnas]";
    QTest::newRow("línea sin sección") << "tabla = T\n" << "línea 1: la línea está fuera de toda sección";
    QTest::newRow("campo mal escrito") << base + "columna = B | T.B | 50\n" << "línea 5: se esperaba un campo {TABLA.CAMPO}";
    QTest::newRow("tabla con SQL") << "[datos]\ntabla = T; DROP TABLE T\n" << "línea 2: «T; DROP TABLE T» no es un nombre de tabla";
    QTest::newRow("ancho fuera de rango") << base + "columna = B | {T.B} | 0\n" << "línea 5: el ancho «0» debe ser un porcentaje";
    QTest::newRow("formato desconocido") << base + "columna = B | {T.B} | 10 | fecha\n" << "formato desconocido «fecha»";
    QTest::newRow("campo de otra tabla") << base + "columna = B | {U.B} | 10\n" << "el campo {U.B} es de una tabla que [datos] no lee";
    QTest::newRow("total sin su columna") << base + "total = Total | {T.B}\n" << "el total de {T.B} debe ir bajo una de las columnas";
    QTest::newRow("detalle sin grupo") << base + "[detalle]\ntabla = D\nenlace = {D.X} = {T.A}\ncolumna = X | {D.X} | 10\n"
                                       << "el enlace debe igualar un campo del detalle con el campo del grupo";
}

void TstDefinicion::invalidas()
{
    QFETCH(QString, texto);
    QFETCH(QString, motivo);
    try {
        LeerDefinicion(texto, QStringLiteral("PRUEBA"));
        QFAIL("la definición fue aceptada");
    } catch (const suite::ErrorEjecucion& e) {
        QCOMPARE(e.error().Number, ErrorEnDefinicion);
        QVERIFY2(e.error().Description.startsWith(QStringLiteral("La definición de reporte PRUEBA no es válida, línea ")),
                 qPrintable(e.error().Description));
        QVERIFY2(e.error().Description.contains(motivo), qPrintable(e.error().Description));
    }
}

void TstDefinicion::noEncontrada_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("no existe") << "RP_NADA" << "No se encuentra la definición del reporte RP_NADA";
    QTest::newRow("un camino no es un nombre") << "../RP_CCDIST" << "«../RP_CCDIST» no es un nombre de reporte.";
    QTest::newRow("vacío") << "" << "«» no es un nombre de reporte.";
}

void TstDefinicion::noEncontrada()
{
    QFETCH(QString, nombre);
    QFETCH(QString, motivo);
    QTemporaryDir vacia;
    suite::CarpetaReportes(vacia.path() + QStringLiteral("/reportes"));
    try {
        CargarDefinicion(nombre);
        QFAIL("se encontró una definición");
    } catch (const suite::ErrorEjecucion& e) {
        QCOMPARE(e.error().Number, ErrorEnDefinicion);
        QVERIFY2(e.error().Description.startsWith(motivo), qPrintable(e.error().Description));
    }
}

QTEST_GUILESS_MAIN(TstDefinicion)
#include "tst_definicion.moc"
