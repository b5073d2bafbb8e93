// FmtMoneda, ExisteArchivo, the suite's date and time patterns.
#include "Entorno.h"
#include "startup/CNStuffContable.h"

#include <QFile>
#include <QTest>

class TstFmtMoneda : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fmtMoneda_data();
    void fmtMoneda();
    void anchoTopado();
    void existeArchivo();
    void fechaYHora();
};

void TstFmtMoneda::fmtMoneda_data()
{
    QTest::addColumn<QString>("valor");
    QTest::addColumn<int>("decimales");
    QTest::addColumn<bool>("miles");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("-1 toma los dígitos regionales") << "12,5" << -1 << false << 0 << "12,50";
    QTest::newRow("0 toma los dígitos regionales") << "12,5" << 0 << false << 0 << "12,50";
    QTest::newRow("-2 sin decimales ni separador") << "1234,6" << -2 << false << 0 << "1235";
    QTest::newRow("-3 sin tocar") << " 12.5x " << -3 << true << 10 << " 12.5x ";
    QTest::newRow("tres decimales redondea") << "2,0005" << 3 << false << 0 << "2,001";
    QTest::newRow("mitad negativa") << "-2,005" << 2 << false << 0 << "-2,01";
    QTest::newRow("miles") << "1234567,891" << 2 << true << 0 << "1.234.567,89";
    QTest::newRow("miles sin decimales") << "1234567" << -2 << true << 0 << "1.234.567";
    QTest::newRow("ancho") << "5" << -1 << false << 8 << "    5,00";
    QTest::newRow("no numérico es cero") << "abc" << -1 << false << 0 << "0,00";
    QTest::newRow("vacío es cero") << "" << -2 << false << 0 << "0";
    QTest::newRow("total de 100") << "100" << -1 << false << 0 << "100,00";
}

void TstFmtMoneda::fmtMoneda()
{
    QFETCH(QString, valor);
    QFETCH(int, decimales);
    QFETCH(bool, miles);
    QFETCH(int, ancho);
    QFETCH(QString, esperado);
    EntornoPrueba e;
    short a = short(ancho);
    QCOMPARE(FmtMoneda(valor, decimales, miles, a), esperado);
    QCOMPARE(a, short(ancho));
}

void TstFmtMoneda::anchoTopado()
{
    EntornoPrueba e;
    bool miles = false;
    short ancho = 40;
    const QString r = FmtMoneda(QStringLiteral("7"), -1, miles, ancho);
    QCOMPARE(ancho, short(25));
    QCOMPARE(r, QString(21, u' ') + QStringLiteral("7,00"));
}

void TstFmtMoneda::existeArchivo()
{
    EntornoPrueba e;
    const QString ruta = e.escribir(QStringLiteral("a.txt"), "x");
    QFile abierto(ruta);
    QVERIFY(abierto.open(QIODevice::ReadOnly)); // opened elsewhere for reading
    QVERIFY(ExisteArchivo(ruta));
    QVERIFY(!ExisteArchivo(e.ruta(QStringLiteral("falta.txt"))));
    QVERIFY(!ExisteArchivo(QString()));
}

void TstFmtMoneda::fechaYHora()
{
    QCOMPARE(FormatoFecha(), QStringLiteral("dd/mm/yy"));
    QCOMPARE(FormatoHora(), QStringLiteral("hh:mm"));
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5, 4));
    QCOMPARE(FormatoSuite(t, FormatoFecha() + u' ' + FormatoHora()), QStringLiteral("07/03/26 09:05"));
    QCOMPARE(FormatoSuite(t, QStringLiteral("mm-dd-yyyy hh:nn:ss")), QStringLiteral("03-07-2026 09:05:04"));
    QCOMPARE(FormatoSuite(t, QStringLiteral("d/m/yyyy")), QStringLiteral("7/3/2026"));
}

QTEST_GUILESS_MAIN(TstFmtMoneda)
#include "tst_fmtmoneda.moc"
