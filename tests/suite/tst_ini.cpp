#include "Entorno.h"
#include "suite/Ini.h"

#include <QStringEncoder>
#include <QTest>

using suite::LeerIni;

class TstIni : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reglas_data();
    void reglas();
    void codificaciones_data();
    void codificaciones();
    void nombreSinRutaNiCaso();
};

static const QByteArray Suite =
    "; comentario\r\n"
    "[PUESTO1|ANA]\r\n"
    "FlatToolbars=0\r\n"
    "  Styles =  4  \r\n"
    "styles=9\r\n"
    "Citado=\"con blancos \"\r\n"
    "Vacio=\r\n"
    ";Comentada=1\r\n"
    "[Otra]\r\n"
    "Styles=2\r\n"
    "[puesto1|ana]\r\n"
    "Solo2=si\r\n";

void TstIni::reglas_data()
{
    QTest::addColumn<QString>("seccion");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("valor") << "PUESTO1|ANA" << "FlatToolbars" << "0";
    QTest::newRow("sección y clave sin caso, blancos fuera") << "puesto1|ana" << "STYLES" << "4";
    QTest::newRow("otra sección") << "OTRA" << "Styles" << "2";
    QTest::newRow("comillas quitadas") << "PUESTO1|ANA" << "Citado" << "con blancos ";
    QTest::newRow("valor vacío no es ausente") << "PUESTO1|ANA" << "Vacio" << "";
    QTest::newRow("comentario no cuenta") << "PUESTO1|ANA" << "Comentada" << "def";
    QTest::newRow("clave ausente") << "PUESTO1|ANA" << "Nada" << "def";
    QTest::newRow("sección ausente") << "NADIE" << "Styles" << "def";
    QTest::newRow("solo la primera sección de un nombre") << "PUESTO1|ANA" << "Solo2" << "def";
}

void TstIni::reglas()
{
    QFETCH(QString, seccion);
    QFETCH(QString, clave);
    QFETCH(QString, esperado);
    EntornoPrueba e;
    const QString ruta = e.escribir(QStringLiteral("CN000p.INI"), Suite);
    QCOMPARE(LeerIni(ruta, seccion, clave, QStringLiteral("def")), esperado);
    QCOMPARE(LeerIni(e.ruta(QStringLiteral("falta.ini")), seccion, clave, QStringLiteral("def")),
             QStringLiteral("def"));
}

void TstIni::codificaciones_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString texto = QStringLiteral("[Empresa]\r\nNombre=Año Ñandú €\r\n");
    QStringEncoder cp1252("windows-1252");
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("utf-8") << texto.toUtf8();
    QTest::newRow("utf-8 con marca") << QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
    QTest::newRow("windows-1252") << QByteArray(cp1252(texto));
    QTest::newRow("utf-16 con marca") << QByteArray(utf16(texto));
}

void TstIni::codificaciones()
{
    QFETCH(QByteArray, bytes);
    EntornoPrueba e;
    const QString ruta = e.escribir(QStringLiteral("x.ini"), bytes);
    QCOMPARE(LeerIni(ruta, QStringLiteral("empresa"), QStringLiteral("nombre"), {}), QStringLiteral("Año Ñandú €"));
}

void TstIni::nombreSinRutaNiCaso()
{
    // A bare name is looked for in the INI folder, whatever the letter case on disk.
    EntornoPrueba e;
    e.escribir(QStringLiteral("cn000pr.INI"), "[ANAStyles]\nStyles=3\n");
    suite::FijarCarpetaIni(e.carpeta());
    QCOMPARE(LeerIni(QStringLiteral("CN000PR.ini"), QStringLiteral("ANAStyles"), QStringLiteral("Styles"), QStringLiteral("1")),
             QStringLiteral("3"));
    suite::FijarCarpetaIni({});
}

QTEST_GUILESS_MAIN(TstIni)
#include "tst_ini.moc"
