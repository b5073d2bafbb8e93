#include "suite/Moneda.h"

#include <QTest>

using suite::Moneda;

Q_DECLARE_METATYPE(std::optional<qint64>)

class TstMoneda : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leer_data();
    void leer();
    void redondearYFormatear_data();
    void redondearYFormatear();
    void texto_data();
    void texto();
    void sumasExactas();
    void desdeDouble();
};

// Units are ten-thousandths; nullopt is "not a number".
void TstMoneda::leer_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<std::optional<qint64>>("unidades");

    auto fila = [](const char* nombre, const char* texto, const char* dec, std::optional<qint64> u) {
        QTest::newRow(nombre) << QString::fromUtf8(texto) << QString::fromUtf8(dec) << u;
    };
    fila("coma decimal", "12,5", ",", 125000);
    fila("miles y decimales", "1.234.567,89", ",", 12345678900);
    fila("punto es miles con coma decimal", "12.5", ",", 1250000);
    fila("punto decimal", "1,234.5", ".", 12345000);
    fila("signo menos y blancos", "  - 3,25 ", ",", -32500);
    fila("signo más", "+7", ",", 70000);
    fila("solo decimales", ",5", ",", 5000);
    fila("quinto decimal redondea", "0,00005", ",", 1);
    fila("quinto decimal negativo", "-0,00005", ",", -1);
    fila("cuarto decimal baja", "0,000049999", ",", 0);
    fila("máximo", "922337203685477,5807", ",", std::numeric_limits<qint64>::max());
    fila("desborde", "922337203685477,5808", ",", std::nullopt);
    fila("vacío", "", ",", std::nullopt);
    fila("solo signo", "-", ",", std::nullopt);
    fila("letras", "12a", ",", std::nullopt);
    fila("dos decimales", "1,2,3", ",", std::nullopt);
    fila("porcentaje con símbolo", "12 %", ",", std::nullopt);
}

void TstMoneda::leer()
{
    QFETCH(QString, texto);
    QFETCH(QString, decimal);
    QFETCH(std::optional<qint64>, unidades);
    const QChar miles = decimal == QStringLiteral(",") ? QChar(u'.') : QChar(u',');
    const auto m = Moneda::leer(texto, decimal.front(), miles);
    QCOMPARE(m.has_value(), unidades.has_value());
    if (m)
        QCOMPARE(m->unidades(), *unidades);
}

void TstMoneda::redondearYFormatear_data()
{
    QTest::addColumn<qint64>("unidades");
    QTest::addColumn<int>("decimales");
    QTest::addColumn<bool>("miles");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("dos decimales") << qint64(125000) << 2 << false << "12,50";
    QTest::newRow("medio hacia arriba") << qint64(12350) << 2 << false << "1,24";    // 1,235
    QTest::newRow("bajo la mitad") << qint64(12349) << 2 << false << "1,23";
    QTest::newRow("medio negativo") << qint64(-12350) << 2 << false << "-1,24";      // -1,235
    QTest::newRow("sin decimales") << qint64(12346000) << 0 << false << "1235";     // 1234,6
    QTest::newRow("cero negativo") << qint64(-40) << 2 << false << "0,00";
    QTest::newRow("miles") << qint64(12345678900) << 2 << true << "1.234.567,89";
    QTest::newRow("miles exactos") << qint64(1000000000) << 0 << true << "100.000";
    QTest::newRow("más decimales que cuatro") << qint64(15000) << 6 << false << "1,500000";
}

void TstMoneda::redondearYFormatear()
{
    QFETCH(qint64, unidades);
    QFETCH(int, decimales);
    QFETCH(bool, miles);
    QFETCH(QString, esperado);
    QCOMPARE(Moneda::desdeUnidades(unidades).formatear(decimales, u',', miles ? QChar(u'.') : QChar()), esperado);
}

// Every stored decimal, no trailing zeros, no separator for a whole number; read back equal.
void TstMoneda::texto_data()
{
    QTest::addColumn<qint64>("unidades");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("cero") << qint64(0) << "," << "0";
    QTest::newRow("entero") << qint64(1000000) << "," << "100";
    QTest::newRow("ceros finales") << qint64(123400) << "," << "12,34";
    QTest::newRow("cuatro decimales") << qint64(333333) << "," << "33,3333";
    QTest::newRow("punto") << qint64(5) << "." << "0.0005";
    QTest::newRow("negativo menor que uno") << qint64(-5000) << "," << "-0,5";
    QTest::newRow("negativo entero") << qint64(-10000) << "," << "-1";
    QTest::newRow("máximo") << std::numeric_limits<qint64>::max() << "," << "922337203685477,5807";
    QTest::newRow("mínimo") << std::numeric_limits<qint64>::min() << "," << "-922337203685477,5808";
}

void TstMoneda::texto()
{
    QFETCH(qint64, unidades);
    QFETCH(QString, decimal);
    QFETCH(QString, esperado);
    const Moneda m = Moneda::desdeUnidades(unidades);
    QCOMPARE(m.texto(decimal.front()), esperado);
    if (unidades != std::numeric_limits<qint64>::min()) // one past the largest that reads back
        QCOMPARE(Moneda::leer(esperado, decimal.front(), QChar())->unidades(), unidades);
}

void TstMoneda::sumasExactas()
{
    const auto a = *Moneda::leer(QStringLiteral("33,33"), u',', u'.');
    const auto b = *Moneda::leer(QStringLiteral("33,34"), u',', u'.');
    QCOMPARE(a + a + b, Moneda::desdeEntero(100));
    // Ten times 0,1 is exactly 1, unlike binary floating point.
    Moneda total;
    for (int i = 0; i < 10; ++i)
        total += Moneda::desdeUnidades(1000);
    QCOMPARE(total, Moneda::desdeEntero(1));
    QVERIFY(Moneda::desdeEntero(90) < Moneda::desdeEntero(100));
    QCOMPARE(Moneda::desdeUnidades(125000).redondear(0), Moneda::desdeEntero(13));
    QCOMPARE(Moneda::desdeUnidades(-125000).redondear(0), Moneda::desdeEntero(-13));
}

void TstMoneda::desdeDouble()
{
    QCOMPARE(Moneda::desdeDouble(0.1 + 0.2)->unidades(), qint64(3000));
    QCOMPARE(Moneda::desdeDouble(-2.5)->unidades(), qint64(-25000));
    QVERIFY(!Moneda::desdeDouble(1e300));
    QVERIFY(!Moneda::desdeDouble(std::numeric_limits<double>::quiet_NaN()));
}

QTEST_GUILESS_MAIN(TstMoneda)
#include "tst_moneda.moc"
