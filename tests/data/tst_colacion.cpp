// Text comparisons as on SQL Server's default collation: letter case and trailing blanks
// ignored, accents kept, LIKE with its character classes, lengths checked.
#include "EmpresaPrueba.h"
#include "suite/ErrorRT.h"

#include <QTest>

using namespace ado;

class TstColacion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void comparaciones_data();
    void comparaciones();
    void claveRepetida_data();
    void claveRepetida();
    void largoEnCaracteres();

private:
    std::unique_ptr<EmpresaPrueba> empresa_;
    std::unique_ptr<Connection> cn_;
};

void TstColacion::initTestCase()
{
    empresa_ = std::make_unique<EmpresaPrueba>();
    cn_ = empresa_->conectar();
    cn_->Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('x1', 'beta')\r\n"
                                "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('x2', 'Alfa')\r\n"
                                "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('x3', 'alfa2')\r\n"
                                "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('x4', '100% real')"));
}

void TstColacion::cleanupTestCase()
{
    cn_.reset();
    empresa_.reset();
}

void TstColacion::comparaciones_data()
{
    QTest::addColumn<QString>("condicion");
    QTest::addColumn<QString>("codigos"); // the codes found, in order

    QTest::newRow("igual sin caso") << "DESCRIPCION = 'contabilidad'" << "11";
    QTest::newRow("blancos finales ignorados") << "DESCRIPCION = 'Contabilidad   '" << "11";
    QTest::newRow("blancos iniciales cuentan") << "DESCRIPCION = '  Contabilidad'" << "";
    QTest::newRow("acento y mayúsculas") << "DESCRIPCION = 'ADMINISTRACIÓN'" << "1";
    QTest::newRow("acento cuenta") << "DESCRIPCION = 'Administracion'" << "";
    QTest::newRow("expresión contra literal") << "LTRIM(RTRIM(DESCRIPCION)) = 'FINANZAS'" << "12";
    QTest::newRow("distinto") << "CODIGO LIKE 'x%' AND DESCRIPCION <> 'BETA'" << "x2,x3,x4";
    QTest::newRow("orden sin caso") << "CODIGO LIKE 'X%' AND DESCRIPCION < 'b'" << "x2,x3,x4";
    QTest::newRow("like sin caso") << "DESCRIPCION LIKE 'ventas%'" << "21,211,212";
    QTest::newRow("like en medio") << "DESCRIPCION LIKE '%ZONA%'" << "211,212";
    QTest::newRow("like con clase") << "DESCRIPCION LIKE 'Ventas zona [ns]%'" << "211,212";
    QTest::newRow("like con clase negada") << "DESCRIPCION LIKE 'Ventas zona [^n]%'" << "212";
    QTest::newRow("like con rango") << "CODIGO LIKE 'x[2-3]'" << "x2,x3";
    QTest::newRow("like un carácter") << "DESCRIPCION LIKE 'producci_n'" << "3";
    QTest::newRow("like con acento y caso") << "DESCRIPCION LIKE 'PRODUCCIÓN'" << "3";
    QTest::newRow("like con escape") << "DESCRIPCION LIKE '100!%%' ESCAPE '!'" << "x4";
    QTest::newRow("like comodín literal") << "DESCRIPCION LIKE '100[%]%'" << "x4";
    QTest::newRow("mayúsculas con acentos") << "UPPER(DESCRIPCION) = 'PRODUCCIÓN' AND UPPER('ñandú') = 'ÑANDÚ'" << "3";
    QTest::newRow("IN sin caso") << "DESCRIPCION IN ('marketing', 'FINANZAS')" << "12,22";
}

void TstColacion::comparaciones()
{
    QFETCH(QString, condicion);
    QFETCH(QString, codigos);
    if (!PeculiaridadesDelMotor().likeConClases && condicion.contains(QStringLiteral("LIKE")) && condicion.contains(u'['))
        QSKIP("LIKE sin clases de caracteres en este motor");
    Recordset rs = cn_->Execute(QStringLiteral("SELECT CODIGO FROM TA_CCOSTO WHERE %1 ORDER BY DESCRIPCION, CODIGO").arg(condicion));
    QStringList vistos;
    for (; !rs.EOF_(); rs.MoveNext())
        vistos << rs.Fields(0).Value().toString();
    vistos.sort();
    QCOMPARE(vistos.join(u','), codigos);
}

void TstColacion::claveRepetida_data()
{
    // Keys differing only in letter case or trailing blanks are the same key.
    QTest::addColumn<QString>("repetido"); // after '1a'
    QTest::newRow("mayúsculas") << "'1A'";
    QTest::newRow("blancos finales") << "'1a '";
}

void TstColacion::claveRepetida()
{
    QFETCH(QString, repetido);
    // Trailing blanks of stored values count on some engines (literals compared lose theirs).
    if (repetido.endsWith(QLatin1String(" '")) && !PeculiaridadesDelMotor().clavesSinBlancosFinales)
        QSKIP("los blancos finales de los valores guardados cuentan en este motor");
    long numero = 0;
    try {
        cn_->Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('1a', 'x')"));
        cn_->Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES (%1, 'y')").arg(repetido));
    } catch (const suite::ErrorEjecucion& e) {
        numero = e.error().Number;
    }
    cn_->Execute(QStringLiteral("DELETE TA_CCOSTO WHERE CODIGO = '1a'"));
    QCOMPARE(numero, err::Integridad);
}

void TstColacion::largoEnCaracteres()
{
    // Lengths count characters: four letters with accents fit a varchar(4), five do not.
    cn_->Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('ÑÁÉÍ', 'acentos')"));
    long numero = 0;
    try {
        cn_->Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('ÑÁÉÍÓ', 'acentos')"));
    } catch (const suite::ErrorEjecucion& e) {
        numero = e.error().Number;
    }
    QCOMPARE(numero, err::Truncado);
    QCOMPARE(EmpresaPrueba::valor(*cn_, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO WHERE DESCRIPCION = 'acentos'")).toInt(), 1);
}

QTEST_GUILESS_MAIN(TstColacion)
#include "tst_colacion.moc"
