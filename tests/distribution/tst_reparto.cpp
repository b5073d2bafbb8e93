// The split of an amount among a table's lines, to the cent.
#include "distribution/Reparto.h"

#include <QTest>

using suite::Moneda;

namespace {
Moneda m(const QString& t) { return *Moneda::leer(t, u',', u'.'); }
std::vector<Moneda> lista(const QStringList& l)
{
    std::vector<Moneda> v;
    for (const QString& t : l)
        v.push_back(m(t));
    return v;
}
} // namespace

class TstReparto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void repartir_data();
    void repartir();
    void sumaExacta_data();
    void sumaExacta();
};

void TstReparto::repartir_data()
{
    // Each row: the amount, the percentages, the currency's decimals, the shares expected
    // (none: no split) and what stays undistributed.
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QStringList>("porcentajes");
    QTest::addColumn<int>("decimales");
    QTest::addColumn<QStringList>("partes");
    QTest::addColumn<QString>("sinDistribuir");
    const QStringList tercios{"33,33", "33,33", "33,34"};
    const QStringList quintos{"20", "20", "20", "20", "20"};
    QTest::newRow("100,00 en 33,33 / 33,33 / 33,34") << "100" << tercios << 2 << QStringList{"33,33", "33,33", "33,34"} << "0";
    QTest::newRow("10,00: el centavo a la mayor fracción") << "10" << tercios << 2 << QStringList{"3,33", "3,33", "3,34"} << "0";
    QTest::newRow("100,00 en tercios de cuatro decimales")
        << "100" << QStringList{"33,3333", "33,3333", "33,3334"} << 2 << QStringList{"33,33", "33,33", "33,34"} << "0";
    QTest::newRow("0,01 en cinco líneas: empate a la primera") << "0,01" << quintos << 2 << QStringList{"0,01", "0", "0", "0", "0"} << "0";
    QTest::newRow("0,04 en cinco líneas") << "0,04" << quintos << 2 << QStringList{"0,01", "0,01", "0,01", "0,01", "0"} << "0";
    QTest::newRow("importe negativo") << "-100" << tercios << 2 << QStringList{"-33,33", "-33,33", "-33,34"} << "0";
    QTest::newRow("-0,01 en cinco líneas") << "-0,01" << quintos << 2 << QStringList{"-0,01", "0", "0", "0", "0"} << "0";
    QTest::newRow("tabla al 90 %") << "100" << QStringList{"50", "40"} << 2 << QStringList{"50", "40"} << "10";
    QTest::newRow("tabla al 90 % con empate") << "10,01" << QStringList{"45", "45"} << 2 << QStringList{"4,51", "4,50"} << "1";
    QTest::newRow("importe con milésimos, redondeado") << "100,005" << QStringList{"50", "50"} << 2 << QStringList{"50,01", "50"} << "0";
    QTest::newRow("moneda sin decimales") << "100" << tercios << 0 << QStringList{"33", "33", "34"} << "0";
    QTest::newRow("importe enorme") << "900000000000" << tercios << 2
                                    << QStringList{"299970000000", "299970000000", "300060000000"} << "0";
    QTest::newRow("sin líneas") << "100" << QStringList{} << 2 << QStringList{} << "100";
    QTest::newRow("más del 100 %") << "100" << QStringList{"60", "50"} << 2 << QStringList{"-"} << "";
    QTest::newRow("porcentaje negativo") << "100" << QStringList{"110", "-10"} << 2 << QStringList{"-"} << "";
}

void TstReparto::repartir()
{
    QFETCH(QString, importe);
    QFETCH(QStringList, porcentajes);
    QFETCH(int, decimales);
    QFETCH(QStringList, partes);
    QFETCH(QString, sinDistribuir);
    const auto r = RepartirImporte(m(importe), lista(porcentajes), decimales);
    if (partes == QStringList{"-"}) {
        QVERIFY(!r);
        return;
    }
    QVERIFY(r);
    QStringList hechas;
    for (Moneda p : r->importes)
        hechas << p.texto(u',');
    QStringList esperadas;
    for (const QString& p : partes)
        esperadas << m(p).texto(u',');
    QCOMPARE(hechas, esperadas);
    QCOMPARE(r->sinDistribuir.texto(u','), m(sinDistribuir).texto(u','));
}

void TstReparto::sumaExacta_data()
{
    QTest::addColumn<QStringList>("porcentajes");
    QTest::newRow("tercios") << QStringList{"33,33", "33,33", "33,34"};
    QTest::newRow("séptimos") << QStringList{"14,2857", "14,2857", "14,2857", "14,2857", "14,2857", "14,2857", "14,2858"};
    QTest::newRow("demo, tabla 1") << QStringList{"30", "20", "10", "25", "15"};
    QTest::newRow("al 90 %") << QStringList{"45", "30", "15"};
}

// Every amount from -20,00 to 20,00: the shares and what is left add up to the amount, and
// each share is within a cent of its exact part.
void TstReparto::sumaExacta()
{
    QFETCH(QStringList, porcentajes);
    const std::vector<Moneda> p = lista(porcentajes);
    for (int64_t centavos = -2000; centavos <= 2000; ++centavos) {
        const Moneda importe = Moneda::desdeUnidades(centavos * 100);
        const auto r = RepartirImporte(importe, p, 2);
        QVERIFY(r);
        Moneda suma = r->sinDistribuir;
        for (size_t i = 0; i < p.size(); ++i) {
            suma += r->importes[i];
            // exact part in ten-thousandths of a cent: importe * p / 100
            const int64_t exacta = centavos * p[i].unidades(); // cents * 10^-6
            const int64_t dada = r->importes[i].unidades() / 100 * 1000000;
            QVERIFY2(std::abs(dada - exacta) < 1000000, qPrintable(QStringLiteral("%1 línea %2").arg(centavos).arg(i)));
        }
        QCOMPARE(suma, importe);
    }
}

QTEST_APPLESS_MAIN(TstReparto)
#include "tst_reparto.moc"
