// prorrata-sql on the demo company: rows as tab-separated text, errors on standard error.
#include "EmpresaPrueba.h"

#include <QProcess>
#include <QTest>

class TstConsola : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void consulta();
    void errores();
    void comandoPorEntrada();
    void loteQueNoTermina_data();
    void loteQueNoTermina();

private:
    struct Salida {
        int codigo;
        QString out, err;
    };
    Salida correr(const EmpresaPrueba& e, const QStringList& args, const QByteArray& entrada = {});
};

TstConsola::Salida TstConsola::correr(const EmpresaPrueba& e, const QStringList& args, const QByteArray& entrada)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VL_SERVIDORES"), e.ruta(QStringLiteral("servidores.ini")));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PRORRATA_SQL), args);
    p.write(entrada);
    p.closeWriteChannel();
    p.waitForFinished(20000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void TstConsola::consulta()
{
    EmpresaPrueba e;
    const auto s = correr(e, {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;"),
                              QStringLiteral("SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO WHERE CODIGO LIKE '21%' ORDER BY CODIGO")});
    QCOMPARE(s.codigo, 0);
    const QString cabecera = s.out.section(u'\n', 0, 0);
    QCOMPARE(cabecera, QStringLiteral("CODIGO\tDESCRIPCION")); // as the select list spells them
    QCOMPARE(s.out.mid(cabecera.size()), QStringLiteral("\n21\tVentas\n211\tVentas zona norte\n212\tVentas zona sur\n"));

    // Tabs and line breaks inside a value become blanks, so a row stays one line; accents
    // come out in UTF-8.
    const auto cambio = correr(e, {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;"),
                                   QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'Zona\tnorte\r\nde Córdoba' WHERE CODIGO = '211'")});
    QCOMPARE(cambio.codigo, 0);
    const auto r = correr(e, {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;"),
                              QStringLiteral("SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO WHERE CODIGO = '211'")});
    QCOMPARE(r.out.section(u'\n', 1), QStringLiteral("211\tZona norte  de Córdoba\n"));
}

void TstConsola::errores()
{
    EmpresaPrueba e;
    const auto mala = correr(e, {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;"), QStringLiteral("SELECT * FROM NO_EXISTE")});
    QCOMPARE(mala.codigo, 1);
    QVERIFY2(mala.err.contains(QStringLiteral("Error -2147217900 (nativo 208)")), qPrintable(mala.err));
    const auto base = correr(e, {QStringLiteral("@Server=DEMO; @DbName=OTRA;"), QStringLiteral("SELECT 1")});
    QCOMPARE(base.codigo, 1);
    // No such database (4060), or on a server no login of that name either (18456).
    QVERIFY2(base.err.contains(QStringLiteral("nativo 4060")) || base.err.contains(QStringLiteral("nativo 18456")), qPrintable(base.err));
}

void TstConsola::comandoPorEntrada()
{
    EmpresaPrueba e;
    const auto s = correr(e, {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;")},
                          "UPDATE TA_CCOSTO SET DESCRIPCION = 'Ventas' WHERE CODIGO LIKE '21%'");
    QCOMPARE(s.codigo, 0);
    QVERIFY(s.err.contains(QStringLiteral("3 filas afectadas")));
    auto cn = e.conectar();
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO WHERE DESCRIPCION = 'VENTAS'")).toInt(), 3);
}

void TstConsola::loteQueNoTermina_data()
{
    // Batches that must not pass for done: exit status 1, the reason on standard error, and
    // TA_CCOSTO (14 rows) as it was.
    QTest::addColumn<QString>("lote");
    QTest::addColumn<QString>("mensaje");
    const QString largo = QString(61, u'x');
    QTest::newRow("corchete sin cerrar") << "SELECT [CODIGO FROM TA_CCOSTO" << "corchetes";
    QTest::newRow("comillas dobles sin cerrar") << "UPDATE TA_CCOSTO SET \"DESCRIPCION = 'x'" << "comillas dobles";
    QTest::newRow("transacción sin confirmar")
        << "BEGIN TRANSACTION\nDELETE TA_CCOSTO WHERE CODIGO LIKE '2%'\nINSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('99', 'n')"
        << "no la confirma";
    QTest::newRow("valor demasiado largo en una sentencia")
        << "UPDATE TA_CCOSTO SET DESCRIPCION = '" + largo + "' WHERE CODIGO = '11'" << "nativo 8152";
    QTest::newRow("valor demasiado largo en medio del lote")
        << "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('97', 'a')\n"
           "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('98', '" + largo + "')\n"
           "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('99', 'c')\n"
           "DELETE TA_CCOSTO WHERE CODIGO = '97'"
        << "nativo 8152";
}

void TstConsola::loteQueNoTermina()
{
    QFETCH(QString, lote);
    QFETCH(QString, mensaje);
    EmpresaPrueba e;
    const auto s = correr(e, {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;")}, lote.toUtf8());
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.err.contains(mensaje), qPrintable(s.err));
    QVERIFY2(!s.err.contains(QStringLiteral("filas afectadas")), qPrintable(s.err));
    auto cn = e.conectar();
    const int filas = EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO WHERE CODIGO <> '97'")).toInt();
    QCOMPARE(filas, 14);
}

QTEST_GUILESS_MAIN(TstConsola)
#include "tst_consola.moc"
