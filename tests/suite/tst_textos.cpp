// Text operations of the suite utility component.
#include "Entorno.h"
#include "suite/SuiteUtil.h"

#include <QTest>

using namespace suite;

class TstTextos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatoCodigo_data();
    void formatoCodigo();
    void valorNumerico_data();
    void valorNumerico();
    void codificaTexto_data();
    void codificaTexto();
    void decodificaTextoSinCodificar();
    void operacionesDeTexto();
};

void TstTextos::formatoCodigo_data()
{
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("ancho 4") << "1" << 4 << "   1";
    QTest::newRow("recorta antes") << "  12 " << 4 << "  12";
    QTest::newRow("justo") << "1234" << 4 << "1234";
    QTest::newRow("más largo se conserva") << "12345" << 4 << "12345";
    QTest::newRow("sin ancho solo recorta") << " ABC " << 0 << "ABC";
    QTest::newRow("vacío") << "" << 4 << "    ";
}

void TstTextos::formatoCodigo()
{
    QFETCH(QString, codigo);
    QFETCH(int, ancho);
    QFETCH(QString, esperado);
    QCOMPARE(FormatoCodigo(codigo, ancho), esperado);
}

void TstTextos::valorNumerico_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<qint64>("unidades");
    QTest::newRow("coma") << "12,5" << qint64(125000);
    QTest::newRow("miles") << "1.234,56" << qint64(12345600);
    QTest::newRow("negativo") << "-0,01" << qint64(-100);
    QTest::newRow("vacío") << "" << qint64(0);
    QTest::newRow("texto") << "abc" << qint64(0);
    QTest::newRow("desborde") << "99999999999999999999" << qint64(0);
}

void TstTextos::valorNumerico()
{
    EntornoPrueba entorno;
    QFETCH(QString, texto);
    QFETCH(qint64, unidades);
    QCOMPARE(ValorNumerico(texto).unidades(), unidades);
}

void TstTextos::codificaTexto_data()
{
    QTest::addColumn<QString>("texto");
    QTest::newRow("vacío") << "";
    QTest::newRow("acentos") << "Contraseña Año ÁÉÍÓÚ €";
    QTest::newRow("comas y comillas") << "a,b,'c',\"d\"";
    QTest::newRow("saltos") << "uno\r\ndos\nres\rcuatro";
    QTest::newRow("marca propia") << "~00ff";
    QTest::newRow("emoji") << QString::fromUtf8("clave 🔑");
}

void TstTextos::codificaTexto()
{
    QFETCH(QString, texto);
    const QString c = CodificaTexto(texto);
    QVERIFY(!c.contains(u','));
    QVERIFY(!c.contains(u'\n'));
    QVERIFY(!c.contains(u'\r'));
    if (!texto.isEmpty())
        QVERIFY(c != texto);
    QCOMPARE(DecodificaTexto(c), texto);
}

void TstTextos::decodificaTextoSinCodificar()
{
    // Files written before the encoding hold plain text: it reads back unchanged.
    QCOMPARE(DecodificaTexto(QStringLiteral("EMPRESA1")), QStringLiteral("EMPRESA1"));
    QCOMPARE(DecodificaTexto(QStringLiteral("~no es hex")), QStringLiteral("~no es hex"));
}

void TstTextos::operacionesDeTexto()
{
    QCOMPARE(CarpetaConBarra(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
    QCOMPARE(CarpetaConBarra(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
    QCOMPARE(CarpetaConBarra(QStringLiteral("C:\\VL\\")), QStringLiteral("C:\\VL\\"));

    const QString sucio = QStringLiteral("A") + QChar(0) + QStringLiteral("B") + QChar(255) + QStringLiteral("C");
    QCOMPARE(QuitarCaracteres(sucio, QChar(0), QChar(255)), QStringLiteral("ABC"));
    QCOMPARE(QuitarCaracteres(QStringLiteral("@Server=SRV=01"), u'='), QStringLiteral("@ServerSRV01"));

    QCOMPARE(ReemplazarTexto(QStringLiteral("1,5,x"), QStringLiteral(","), QStringLiteral(".")), QStringLiteral("1.5.x"));
    QCOMPARE(ReemplazarTexto(QStringLiteral("Aa"), QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("Ab"));
    QCOMPARE(ReemplazarTodo(QStringLiteral("from v_ma_articulos join V_MA_ARTICULOS"), QStringLiteral("V_MA_ARTICULOS"),
                            QStringLiteral("VT_MA_ARTICULOS")),
             QStringLiteral("from VT_MA_ARTICULOS join VT_MA_ARTICULOS"));

    QCOMPARE(ContarPalabras(QString()), 0);
    QCOMPARE(ContarPalabras(QStringLiteral("LEN(Nombre)")), 1);
    QCOMPARE(ContarPalabras(QStringLiteral("  SELECT *\r\nFROM\tT ")), 4);

    QCOMPARE(SinNulo(QVariant()).toString(), QString());
    QCOMPARE(SinNulo(QVariant(QMetaType::fromType<QString>())).toString(), QString());
    QCOMPARE(SinNulo(QVariant(42)).toInt(), 42);

    QCOMPARE(Rellenar(QStringLiteral("12,50"), 8), QStringLiteral("   12,50"));
    QCOMPARE(Rellenar(QStringLiteral("12,50"), 2), QStringLiteral("12,50"));
}

QTEST_GUILESS_MAIN(TstTextos)
#include "tst_textos.moc"
