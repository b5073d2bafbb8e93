// prorrata-sql on the demo company: rows as tab-separated text, errors on standard error.
#include "EmpresaPrueba.h"
#include "ServidorPrueba.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <unistd.h>

namespace {
// A value the server's own client reads on the company database.
QString psql(const QString& sql)
{
    const QString servidor = qEnvironmentVariable("VL_PG_PRUEBA");
    QProcess p;
    p.start(QStringLiteral("/usr/lib/postgresql/15/bin/psql"),
            {QStringLiteral("-qAt"), QStringLiteral("-h"), servidor.section(u':', 0, 0), QStringLiteral("-p"),
             servidor.section(u':', 1, 1), QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"),
             QStringLiteral("empresa_demo"), QStringLiteral("-c"), sql});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
} // namespace

class TstConsola : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void consulta();
    void errores();
    void comandoPorEntrada();
    void loteQueNoTermina_data();
    void loteQueNoTermina();
    void usuario_data();
    void usuario();
    void enlacePerdido();
    void sinEscritura_data();
    void sinEscritura();
    void crearDemoSinClave();

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

void TstConsola::usuario_data()
{
    // The confidential accounts that a query finds, as the user of the connection text.
    QTest::addColumn<QString>("linea");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("todas"); // false: none of them
    const QString ana = QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;");
    const QString contar = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Confidencial = 1");
    QTest::newRow("ANA") << ana << contar.arg(QStringLiteral("MA_CUENTAS")) << false;
    QTest::newRow("ANA, entre corchetes") << ana << contar.arg(QStringLiteral("[ma_cuentas]")) << false;
    QTest::newRow("ANA, dbo. y salto de línea") << ana << contar.arg(QStringLiteral("\ndbo.MA_CUENTAS")) << false;
    QTest::newRow("ANA, el nombre al final")
        << ana << QStringLiteral("SELECT COUNT(*) FROM (SELECT Confidencial FROM MA_CUENTAS) c WHERE Confidencial = 1") << false;
    QTest::newRow("ANA, tras otra sentencia")
        << ana << QStringLiteral("SET NOCOUNT ON; ") + contar.arg(QStringLiteral("MA_CUENTAS")) << false;
    QTest::newRow("sin usuario") << QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;") << contar.arg(QStringLiteral("MA_CUENTAS")) << false;
    QTest::newRow("usuario que la empresa no tiene")
        << QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=NADIE;") << contar.arg(QStringLiteral("MA_CUENTAS")) << false;
    QTest::newRow("ADMIN") << QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; @UsuarioLogeado=ADMIN;")
                           << contar.arg(QStringLiteral("MA_CUENTAS")) << true;
}

void TstConsola::usuario()
{
    QFETCH(QString, linea);
    QFETCH(QString, sql);
    QFETCH(bool, todas);
    EmpresaPrueba e;
    auto cn = e.conectar();
    const int confidenciales = EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE Confidencial = 1")).toInt();
    QVERIFY(confidenciales > 0);
    const auto s = correr(e, {linea, sql});
    QVERIFY2(s.codigo == 0, qPrintable(s.err));
    const QString visto = s.out.section(u'\n', 1, 1);
    QVERIFY2(visto == QString::number(todas ? confidenciales : 0), qPrintable(s.out + s.err));

    // The marker that reaches the table itself is the program's, not the user's.
    if (!todas) {
        const auto marcada = correr(e, {linea, QStringLiteral("SELECT COUNT(*) FROM @Admin_MA_CUENTAS WHERE Confidencial = 1")});
        QCOMPARE(marcada.codigo, 1);
        QVERIFY2(marcada.err.contains(QStringLiteral("@Admin_")), qPrintable(marcada.err));
        QVERIFY(marcada.out.isEmpty());
    }
}

void TstConsola::enlacePerdido()
{
    if (PeculiaridadesDelMotor().basesEnArchivos || qEnvironmentVariableIsEmpty("VL_PG_CARPETA"))
        QSKIP("hace falta el servidor PostgreSQL de prueba (VL_PG_CARPETA)");
    // The server stops while the console's save runs and does not come back: the run ends
    // with status 3 and says why; nothing was stored.
    EmpresaPrueba e;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VL_SERVIDORES"), e.ruta(QStringLiteral("servidores.ini")));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PRORRATA_SQL), {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ADMIN;"),
                                           QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'Perdida' WHERE CODIGO = '11' "
                                                          "AND (SELECT 1 FROM pg_sleep(4)) = 1")});
    QElapsedTimer reloj;
    reloj.start();
    while (psql(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE query LIKE '%pg_sleep(4)%' AND pid <> pg_backend_pid()")) != u'1'
           && reloj.elapsed() < 20000)
        QThread::msleep(50);
    QVERIFY(cluster(QStringLiteral("detener")));
    const bool termino = p.waitForFinished(60000);
    QVERIFY(cluster(QStringLiteral("reanudar")));
    QVERIFY(termino);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), 3);
    QVERIFY2(err.contains(QStringLiteral("Se perdió la conexión con el servidor DEMO y no se recuperó")), qPrintable(err));
    QVERIFY2(!err.contains(QStringLiteral("filas afectadas")), qPrintable(err));
    QCOMPARE(psql(QStringLiteral("SELECT descripcion FROM ta_ccosto WHERE codigo = '11'")), QStringLiteral("Contabilidad"));
}

void TstConsola::sinEscritura_data()
{
    QTest::addColumn<bool>("lleno"); // else read-only
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("disco lleno") << true << "no queda espacio en el disco";
    QTest::newRow("archivo de sólo lectura") << false << "es de sólo lectura";
}

// A batch on a company file that cannot grow or cannot be written: exit status 1 with a
// Spanish message, nothing of the batch kept, the file sound; the next run writes again.
void TstConsola::sinEscritura()
{
    if (!PeculiaridadesDelMotor().basesEnArchivos)
        QSKIP("un archivo de empresa del motor incorporado");
    QFETCH(bool, lleno);
    QFETCH(QString, mensaje);
    EmpresaPrueba e;
    const QString archivo = e.ruta(QStringLiteral("EMPRESA_DEMO.db"));
    QString cambios = QStringLiteral("BEGIN TRANSACTION\n");
    for (int k = 0; k < 300; ++k)
        cambios += QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('Z%1', '%2')\n").arg(k).arg(QString(60, u'd'));
    cambios += QStringLiteral("COMMIT TRANSACTION\n");
    QString previo;
    if (lleno) {
        auto cn = e.conectar();
        previo = QStringLiteral("PRAGMA max_page_count = %1\n").arg(EmpresaPrueba::valor(*cn, QStringLiteral("PRAGMA page_count")).toInt());
    } else {
        QVERIFY(QFile::setPermissions(archivo, QFileDevice::ReadOwner));
        if (::geteuid() == 0) // the file's mode does not bind root: the engine is told instead
            previo = QStringLiteral("PRAGMA query_only = ON\n");
    }
    const QStringList linea{QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;")};
    const auto s = correr(e, linea, (previo + cambios).toUtf8());
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.err.contains(mensaje), qPrintable(s.err));
    QVERIFY(QFile::setPermissions(archivo, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    {
        auto cn = e.conectar();
        QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 14);
        QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    }
    QCOMPARE(correr(e, linea, cambios.toUtf8()).codigo, 0);
    auto cn = e.conectar();
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 314);
}

void TstConsola::crearDemoSinClave()
{
    if (qEnvironmentVariableIsEmpty("VL_PG_PRUEBA"))
        QSKIP("hace falta el servidor PostgreSQL de prueba (VL_PG_PRUEBA)");
    // The server asks for the administrator's password and none was given: the message says
    // where to give it, with libpq's own words after it.
    EntornoPrueba e;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PGPASSWORD"));
    env.insert(QStringLiteral("HOME"), e.carpeta());
    env.insert(QStringLiteral("PGPASSFILE"), e.ruta(QStringLiteral("no.pgpass")));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CREAR_DEMO), {e.ruta(QStringLiteral("demo")), QStringLiteral("--postgresql"), qEnvironmentVariable("VL_PG_PRUEBA")});
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(err.contains(QStringLiteral("pide la clave del administrador postgres")) && err.contains(QStringLiteral("PGPASSWORD"))
                 && err.contains(QStringLiteral("fe_sendauth")),
             qPrintable(err));
}

QTEST_GUILESS_MAIN(TstConsola)
#include "tst_consola.moc"
