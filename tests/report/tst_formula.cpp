// The report printer's formulas: selection formulas read into a tree and written as SQL with
// parameters, and the heading formulas "Nombre = 'valor'".
#include "report/Formula.h"
#include "report/Maquetador.h"
#include "suite/ErrorRT.h"

#include <QTest>

using namespace reporte;

class TstFormula : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void validas_data();
    void validas();
    void invalidas_data();
    void invalidas();
    void sql_data();
    void sql();
    void patronLike_data();
    void patronLike();
    void encabezados_data();
    void encabezados();
};

void TstFormula::validas_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("arbol");
    QTest::newRow("la del editor para el código 1")
        << "TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) >= '1'  AND TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) <= '1' "
        << "(Y (>= (TrimLeft (TrimRight {MA_CUENTAS_CCDIST.CODIGO})) '1') (<= (TrimLeft (TrimRight {MA_CUENTAS_CCDIST.CODIGO})) '1'))";
    QTest::newRow("AND antes que OR") << "{T.A} = 1 OR {T.B} <> 2 and {T.C} < 3"
                                      << "(O (= {T.A} 1) (Y (<> {T.B} 2) (< {T.C} 3)))";
    QTest::newRow("paréntesis y NOT") << "not ({T.A} > 1.5 OR {T.B} <= 'x')"
                                      << "(NO (O (> {T.A} 1.5) (<= {T.B} 'x')))";
    QTest::newRow("LIKE") << "Trim({T.A}) LIKE 'A*'" << "(LIKE (Trim {T.A}) 'A*')";
    QTest::newRow("comilla doblada dentro del texto") << "{T.A} = 'L''Étoile'" << "(= {T.A} 'L''Étoile')";
    QTest::newRow("comillas dobles") << "{T.A} = \"Dijo \"\"sí\"\"\"" << "(= {T.A} 'Dijo \"sí\"')";
    QTest::newRow("una comilla simple entre dobles") << "{T.A} = \"L'Étoile\"" << "(= {T.A} 'L''Étoile')";
    QTest::newRow("nombres sin distinguir mayúsculas") << "uppercase({t.a}) = lowercase('X')"
                                                      << "(= (UpperCase {t.a}) (LowerCase 'X'))";
    QTest::newRow("blancos dentro de las llaves") << "{ T . A } >= ''" << "(>= {T.A} '')";
}

void TstFormula::validas()
{
    QFETCH(QString, formula);
    QFETCH(QString, arbol);
    const auto n = LeerFormula(formula);
    QVERIFY(n);
    QCOMPARE(Describir(*n), arbol);
}

void TstFormula::invalidas_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("comilla sin cerrar") << "{T.A} = 'abc" << "falta cerrar la comilla del texto (posición 9)";
    QTest::newRow("comilla del valor rompe el texto") << "{T.A} = 'L'Étoile'" << "falta cerrar la comilla del texto (posición 18)";
    QTest::newRow("llave sin cerrar") << "{T.A = 1" << "falta la llave de cierre del campo (posición 1)";
    QTest::newRow("campo sin tabla") << "{CODIGO} = 1" << "el campo {CODIGO} debe escribirse {TABLA.CAMPO}";
    QTest::newRow("falta el valor") << "{T.A} >= " << "se esperaba un campo, un texto o un número y se encontró el final";
    QTest::newRow("paréntesis sin cerrar") << "({T.A} = 1" << "falta «)» para el paréntesis de la posición 1";
    QTest::newRow("función desconocida") << "Mid({T.A}) = 'x'" << "«Mid» no es una función conocida";
    QTest::newRow("un valor solo no es condición") << "{T.A}" << "la fórmula no es una condición";
    QTest::newRow("AND entre valores") << "{T.A} AND {T.B}" << "AND debe unir condiciones";
    QTest::newRow("LIKE sin texto") << "{T.A} LIKE {T.B}" << "LIKE debe ir seguido de un texto entre comillas";
    QTest::newRow("carácter extraño") << "{T.A} = 1; DROP TABLE T" << "el carácter «;» no se admite";
    QTest::newRow("comparación encadenada") << "{T.A} = 1 = 2" << "sobra «=»";
}

void TstFormula::invalidas()
{
    QFETCH(QString, formula);
    QFETCH(QString, motivo);
    try {
        LeerFormula(formula);
        QFAIL("la fórmula fue aceptada");
    } catch (const suite::ErrorEjecucion& e) {
        QCOMPARE(e.error().Number, ErrorEnFormula);
        QVERIFY2(e.error().Description.startsWith(QStringLiteral("La fórmula de selección no es válida: ")), qPrintable(e.error().Description));
        QVERIFY2(e.error().Description.contains(motivo), qPrintable(e.error().Description));
        QVERIFY(e.error().Description.endsWith(formula.trimmed()));
    }
}

void TstFormula::sql_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("parametros");
    QTest::newRow("la del editor")
        << "TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) >= '1'  AND TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) <= '1' "
        << "((LTRIM(RTRIM(<MA_CUENTAS_CCDIST.CODIGO>)) >= ?) AND (LTRIM(RTRIM(<MA_CUENTAS_CCDIST.CODIGO>)) <= ?))"
        << QVariantList{QStringLiteral("1"), QStringLiteral("1")};
    QTest::newRow("el texto nunca entra en la sentencia")
        << "{T.A} = 'x''); DELETE FROM T; --'" << "(<T.A> = ?)" << QVariantList{QStringLiteral("x'); DELETE FROM T; --")};
    QTest::newRow("números") << "{T.A} > 10 OR NOT {T.B} < 2.5" << "((<T.A> > ?) OR (NOT (<T.B> < ?)))"
                             << QVariantList{10LL, 2.5};
    QTest::newRow("LIKE sin distinguir mayúsculas") << "Trim({T.A}) LIKE 'a*_%'"
                                                     << "(UPPER(LTRIM(RTRIM(<T.A>))) LIKE UPPER(?) ESCAPE '\\')"
                                                     << QVariantList{QStringLiteral("a%\\_\\%")};
}

void TstFormula::sql()
{
    QFETCH(QString, formula);
    QFETCH(QString, sql);
    QFETCH(QVariantList, parametros);
    const auto n = LeerFormula(formula);
    const CondicionSql c = ComoSql(*n, [](const QString& t, const QString& c) { return u'<' + t + u'.' + c + u'>'; });
    QCOMPARE(c.sql, sql);
    QCOMPARE(QVariantList(c.parametros.begin(), c.parametros.end()), parametros);
}

void TstFormula::patronLike_data()
{
    QTest::addColumn<QString>("comodines");
    QTest::addColumn<QString>("patron");
    QTest::newRow("asterisco y signo de pregunta") << "A*B?" << "A%B_";
    QTest::newRow("los comodines de SQL quedan literales") << "50%_[x]\\" << "50\\%\\_\\[x]\\\\";
}

void TstFormula::patronLike()
{
    QFETCH(QString, comodines);
    QFETCH(QString, patron);
    QCOMPARE(PatronLike(comodines), patron);
}

void TstFormula::encabezados_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("valor");
    QTest::newRow("la del editor") << "NombreEmpresa = 'Comercial Andina S.A.'" << "nombreempresa" << "Comercial Andina S.A.";
    QTest::newRow("apóstrofo tal como se escribió") << "NombreEmpresa = 'L'Étoile'" << "nombreempresa" << "L'Étoile";
    QTest::newRow("blancos dentro de las comillas") << "Direccion = 'Av. Corrientes 1234  '" << "direccion"
                                                    << "Av. Corrientes 1234  ";
    QTest::newRow("un blanco por una clave que falta") << "Localidad = ' '" << "localidad" << " ";
    QTest::newRow("comillas dobles") << "NomRep = \"Tabla 'A'\"" << "nomrep" << "Tabla 'A'";
    QTest::newRow("sin comillas") << "Copias = 2 " << "copias" << "2";
    QTest::newRow("comilla sin cerrar") << "NomRep = 'Tabla" << "nomrep" << "Tabla";
}

void TstFormula::encabezados()
{
    QFETCH(QString, formula);
    QFETCH(QString, nombre);
    QFETCH(QString, valor);
    const auto m = LeerFormulasEncabezado({formula, QString(), QStringLiteral("sin signo igual")});
    QCOMPARE(m.keys(), QStringList{nombre});
    QCOMPARE(m.value(nombre), valor);
}

QTEST_GUILESS_MAIN(TstFormula)
#include "tst_formula.moc"
