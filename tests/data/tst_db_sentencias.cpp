// DB_Dll's statements: preparation and the "@Admin_" marker, errors left for the caller,
// the truncation rule, the script runner of Oracle connections, recordsets and their closing.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "data/Sesion.h"

#include <QFile>
#include <QTest>

using namespace ado;

namespace {
int cuenta(const QString& sql) { return EmpresaPrueba::valor(gDB.gCnn, sql).toInt(); }
} // namespace

class TstDbSentencias : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void preparacion_data();
    void preparacion();
    void textoDelUsuario_data();
    void textoDelUsuario();
    void erroresParaElLlamador();
    void loteConValorLargo_data();
    void loteConValorLargo();
    void recordsetDelLote();
    void guionOracle_data();
    void guionOracle();
    void abrirRecordsetConError();
    void abrirRecordsetSinConexion();
    void cierraRecordset();
    void consultaR();
};

void TstDbSentencias::preparacion_data()
{
    QTest::addColumn<QString>("sentencia");
    QTest::addColumn<QString>("preparada");
    QTest::newRow("marca quitada") << "UPDATE @Admin_MA_CUENTAS SET Nivel = Nivel WHERE Codigo = '1'"
                                   << "UPDATE MA_CUENTAS SET Nivel = Nivel WHERE Codigo = '1'";
    QTest::newRow("marca en cualquier caso") << "UPDATE @ADMIN_MA_CUENTAS SET Nivel = 1 WHERE 1=0"
                                             << "UPDATE MA_CUENTAS SET Nivel = 1 WHERE 1=0";
    QTest::newRow("comandos sin sinónimos") << "UPDATE MA_CUENTAS SET Nivel = Nivel WHERE 1=0"
                                            << "UPDATE MA_CUENTAS SET Nivel = Nivel WHERE 1=0";
    QTest::newRow("CREATE y DROP pasan por los sinónimos")
        << "DROP VIEW V_X\r\nCREATE VIEW V_X AS SELECT Codigo FROM MA_CUENTAS WHERE 1=0"
        << "DROP VIEW V_X\r\nCREATE VIEW V_X AS SELECT Codigo FROM SS_MA_CUENTAS WHERE 1=0";
    QTest::newRow("CREATE, DROP y DELETE quedan") << "DROP VIEW V_X\r\nCREATE VIEW V_X AS SELECT Codigo FROM MA_CUENTAS WHERE 1=0\r\nDELETE TA_TAREAS WHERE 1=0"
                                                  << "DROP VIEW V_X\r\nCREATE VIEW V_X AS SELECT Codigo FROM MA_CUENTAS WHERE 1=0\r\nDELETE TA_TAREAS WHERE 1=0";
}

void TstDbSentencias::preparacion()
{
    QFETCH(QString, sentencia);
    QFETCH(QString, preparada);
    GDBPrueba g;
    g.prompt.respuestas.clear();
    gDB.gCnn.Execute(QStringLiteral("CREATE VIEW V_X AS SELECT 1 AS A"));
    g.enviadas();
    long n = 0;
    QString s = sentencia;
    gDB.EjecutaConsultaSQL(s, n);
    QCOMPARE(s, preparada); // the caller's text is rewritten
    QCOMPARE(g.enviadas(), QStringList{preparada});
    QCOMPARE(gDB.gCnn.Errors().Count(), 0);
}

void TstDbSentencias::textoDelUsuario_data()
{
    // For ANA, who is not an administrator: the marker and the synonyms belong to the
    // statement's own words; text in literals, quoted names and comments is never rewritten
    // and never opens the confidential accounts (5.4.01.001).
    QTest::addColumn<QString>("escritura"); // through EjecutaConsultaSQL, when given
    QTest::addColumn<QString>("consulta");  // through AbrirRecordset
    QTest::addColumn<QString>("esperado");  // first value of the first row; empty: no row
    QTest::newRow("marca en el código escrito")
        << "" << "SELECT Codigo FROM MA_CUENTAS WHERE Codigo LIKE '5.4.01.001%' OR Codigo = '1.1.01.002@admin_'" << "";
    QTest::newRow("marca en un comentario") << "" << "SELECT Codigo FROM MA_CUENTAS /* @Admin_ */ WHERE Codigo = '5.4.01.001'" << "";
    QTest::newRow("marca en un nombre entre corchetes")
        << "" << "SELECT Codigo AS [x@Admin_] FROM MA_CUENTAS WHERE Codigo = '5.4.01.001'" << "";
    QTest::newRow("marca propia junto a una escrita")
        << "" << "SELECT Descripcion FROM @Admin_MA_CUENTAS WHERE Codigo = '5.4.01.001' AND Descripcion <> '@Admin_'"
        << "Honorarios del directorio";
    QTest::newRow("marca guardada tal cual") << "UPDATE TA_CCOSTO SET DESCRIPCION = '@Admin_Tabla' WHERE CODIGO = '11'"
                                             << "SELECT DESCRIPCION FROM TA_CCOSTO WHERE CODIGO = '11'" << "@Admin_Tabla";
    QTest::newRow("CREATE y DROP en el texto guardado")
        << "UPDATE TA_CCOSTO SET DESCRIPCION = 'CREATE o DROP de MA_CUENTAS x' WHERE CODIGO = '11'"
        << "SELECT DESCRIPCION FROM TA_CCOSTO WHERE CODIGO = '11'" << "CREATE o DROP de MA_CUENTAS x";
    QTest::newRow("tabla nombrada en el texto buscado")
        << "UPDATE TA_CCOSTO SET DESCRIPCION = 'ver MA_CUENTAS (nota)' WHERE CODIGO = '11'"
        << "SELECT CODIGO FROM TA_CCOSTO WHERE DESCRIPCION = 'ver MA_CUENTAS (nota)'" << "11";
}

void TstDbSentencias::textoDelUsuario()
{
    QFETCH(QString, escritura);
    QFETCH(QString, consulta);
    QFETCH(QString, esperado);
    GDBPrueba g;
    DialogosGuionados d;
    QVERIFY(!gDB.gEsAdmin);
    long n = 0;
    if (!escritura.isEmpty()) {
        gDB.EjecutaConsultaSQL(escritura, n);
        QCOMPARE(gDB.gCnn.Errors().Count(), 0);
        QCOMPARE(n, 1L);
    }
    Recordset rs;
    gDB.AbrirRecordset(consulta, rs);
    QVERIFY(d.vistos().isEmpty());
    QCOMPARE(rs.EOF_() ? QString() : rs.Fields(0).Value().toString(), esperado);
    gDB.CierraRecordset(&rs);
}

void TstDbSentencias::erroresParaElLlamador()
{
    GDBPrueba g;
    DialogosGuionados d; // nothing is shown
    long n = 0;
    // A failing batch leaves its error for the caller, who rolls back.
    QString lote = QStringLiteral("BEGIN TRANSACTION\r\nDELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'\r\n"
                                  "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) "
                                  "VALUES('   1','n','c','99999',100,1)\r\n");
    gDB.EjecutaConsultaSQL(lote, n);
    QCOMPARE(gDB.gCnn.Errors().Count(), 1);
    QCOMPARE(gDB.gCnn.Errors().Item(0).NativeError, long(err::NativoTruncado)); // kept: the batch says TRANS
    QString deshacer = QStringLiteral("ROLLBACK TRANSACTION");
    gDB.EjecutaConsultaSQL(deshacer, n);
    QCOMPARE(cuenta(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1'")), 5);

    // Truncation outside a transaction is cleared; other errors stay.
    QString largo = QStringLiteral("UPDATE TA_CCOSTO SET CODIGO = '123456' WHERE CODIGO = '11'");
    gDB.EjecutaConsultaSQL(largo, n);
    QCOMPARE(gDB.gCnn.Errors().Count(), 0);
    QString mala = QStringLiteral("UPDATE NO_EXISTE SET A = 1");
    gDB.EjecutaConsultaSQL(mala, n);
    QCOMPARE(gDB.gCnn.Errors().Count(), 1);
    QCOMPARE(gDB.gCnn.Errors().Item(0).NativeError, 208L);
    QVERIFY(d.vistos().isEmpty());
}

void TstDbSentencias::loteConValorLargo_data()
{
    // A value too long for its column in a batch without a transaction.
    QTest::addColumn<QStringList>("codigos"); // one INSERT into TA_CCOSTO each; "LARGO" is too long
    QTest::addColumn<bool>("error");          // the truncation error stays for the caller
    QTest::addColumn<QStringList>("grabados");
    QTest::newRow("una sola sentencia: nada cambió, se descarta") << QStringList{"LARGO"} << false << QStringList{};
    QTest::newRow("la del medio") << QStringList{"71", "LARGO", "73"} << true << QStringList{"71"};
    QTest::newRow("la primera") << QStringList{"LARGO", "72"} << true << QStringList{};
    QTest::newRow("la última") << QStringList{"71", "72", "LARGO"} << true << QStringList{"71", "72"};
}

void TstDbSentencias::loteConValorLargo()
{
    QFETCH(QStringList, codigos);
    QFETCH(bool, error);
    QFETCH(QStringList, grabados);
    GDBPrueba g;
    DialogosGuionados d;
    QString lote;
    for (const QString& c : codigos)
        lote += QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('%1', 'Centro %1')\r\n")
                    .arg(c == QLatin1String("LARGO") ? QStringLiteral("12345") : c);
    long n = 0;
    gDB.EjecutaConsultaSQL(lote, n);
    QCOMPARE(gDB.gCnn.Errors().Count() > 0, error);
    if (error)
        QCOMPARE(gDB.gCnn.Errors().Item(0).NativeError, long(err::NativoTruncado));
    // The batch stops at the failing statement.
    QStringList hay;
    Recordset rs = gDB.gCnn.Execute(QStringLiteral("SELECT CODIGO FROM TA_CCOSTO WHERE CODIGO IN ('71', '72', '73') ORDER BY CODIGO"));
    for (; !rs.EOF_(); rs.MoveNext())
        hay << rs.Fields(0).Value().toString();
    QCOMPARE(hay, grabados);
    QVERIFY(d.vistos().isEmpty());
}

void TstDbSentencias::recordsetDelLote()
{
    GDBPrueba g;
    long n = -7;
    Recordset rs;
    QString s = QStringLiteral("SELECT CODIGO FROM TA_CCOSTO WHERE CODIGO = '211'");
    gDB.EjecutaConsultaSQL(s, n, &rs);
    QCOMPARE(rs.State(), int(adStateOpen));
    QCOMPARE(rs.Fields(0).Value().toString(), QStringLiteral("211"));
    QString u = QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = DESCRIPCION WHERE CODIGO LIKE '2%'");
    gDB.EjecutaConsultaSQL(u, n);
    QCOMPARE(n, 5L);
}

void TstDbSentencias::guionOracle_data()
{
    QTest::addColumn<QString>("guion");
    QTest::addColumn<long>("afectados");  // starting from 10
    QTest::addColumn<int>("filas");       // rows of TA_TAREAS afterwards (3 in the demo)
    QTest::addColumn<QStringList>("enviadas");

    QTest::newRow("transacción con GO") << "BEGIN TRANSACTION\r\nGO\r\nINSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('PEDRO', 'CON05')\r\nGO\r\nCOMMIT TRANSACTION"
                                        << 11L << 4 << QStringList{"INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('PEDRO', 'CON05')"};
    QTest::newRow("deshecha") << "BEGIN TRANS INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('PEDRO', 'CON05') ROLLBACK TRANS"
                              << 11L << 3 << QStringList{"INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('PEDRO', 'CON05')"};
    QTest::newRow("con el bloqueo de una tabla")
        << "BEGIN TRANSACTION\r\nEXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:   1', @LockMode='Exclusive', @LockOwner='Transaction'\r\n"
           "INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('PEDRO', 'CON05')\r\nCOMMIT TRANSACTION"
        << 11L << 4 << QStringList{"INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('PEDRO', 'CON05')"};
    QTest::newRow("solo SET NOCOUNT") << "SET NOCOUNT ON" << 10L << 3 << QStringList{};
    QTest::newRow("SELECT suelto no se ejecuta") << "SELECT * FROM TA_TAREAS" << 10L << 3 << QStringList{};
    QTest::newRow("dos sentencias") << "DELETE FROM TA_TAREAS WHERE USUARIO = 'LUIS' UPDATE TA_TAREAS SET TAREA = 'CON01' WHERE USUARIO = 'ANA'"
                                    << 12L << 2
                                    << QStringList{"DELETE FROM TA_TAREAS WHERE USUARIO = 'LUIS'", "UPDATE TA_TAREAS SET TAREA = 'CON01' WHERE USUARIO = 'ANA'"};
}

void TstDbSentencias::guionOracle()
{
    QFETCH(QString, guion);
    QFETCH(long, afectados);
    QFETCH(int, filas);
    QFETCH(QStringList, enviadas);
    // A server whose name says ORACLE runs every statement through the script runner.
    GDBPrueba g(false);
    QFile registro(g.ruta(QStringLiteral("servidores.ini")));
    QVERIFY(registro.open(QIODevice::ReadWrite));
    const QByteArray demo = registro.readAll();
    registro.write(demo.mid(demo.indexOf("[DEMO]")).replace("[DEMO]", "[ORACLE_PRUEBA]")); // the same server, another name
    registro.close();
    gDB.gServidor = QStringLiteral("ORACLE_PRUEBA");
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("EMPRESA_DEMO");
    gDB.OpenServerADODB(false, 3, QString(), false, false);
    QVERIFY(gDB.gOpenFlag);
    QStringList vistas;
    gDB.gCnn.WillExecute = [&](const QString& s) { vistas << s; };

    long n = 10;
    QString s = guion;
    gDB.EjecutaConsultaSQL(s, n);
    QCOMPARE(gDB.gCnn.Errors().Count(), 0);
    QCOMPARE(vistas, enviadas);
    QCOMPARE(n, afectados);
    gDB.gCnn.WillExecute = nullptr;
    QCOMPARE(cuenta(QStringLiteral("SELECT COUNT(*) FROM TA_TAREAS")), filas);
}

void TstDbSentencias::abrirRecordsetConError()
{
    GDBPrueba g;
    DialogosGuionados d;
    d.responder(suite::vbRetry).responder(suite::vbIgnore);
    Recordset rs;
    QString s = QStringLiteral("SELECT * FROM NO_EXISTE");
    gDB.AbrirRecordset(s, rs, nullptr, adOpenForwardOnly, adLockReadOnly, -1, true);
    QCOMPARE(d.vistos().size(), 2); // retried once, then ignored
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al operador - AbrirRecordset"));
    QCOMPARE(d.ultimo().estilo, 18);
    QVERIFY(d.ultimo().texto.contains(QStringLiteral("NO_EXISTE"), Qt::CaseInsensitive));
    QCOMPARE(rs.State(), int(adStateClosed));
    QCOMPARE(g.enviadas().size(), 2);

    // Synonyms apply to the caller's text; @Admin_ reaches the table itself.
    gDB.gEsAdmin = false;
    QString c = QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Codigo = '5.4.01.001'");
    gDB.AbrirRecordset(c, rs);
    QCOMPARE(c, QStringLiteral("SELECT Codigo FROM SS_MA_CUENTAS WHERE Codigo = '5.4.01.001'"));
    QVERIFY(rs.EOF_());
    QString a = QStringLiteral("SELECT Codigo FROM @Admin_MA_CUENTAS WHERE Codigo = '5.4.01.001'");
    gDB.AbrirRecordset(a, rs);
    QVERIFY(!rs.EOF_());
    gDB.CierraRecordset(&rs);
    QCOMPARE(rs.State(), int(adStateClosed));
}

void TstDbSentencias::abrirRecordsetSinConexion()
{
    // A closed connection is reopened with the stored string before the query.
    GDBPrueba g;
    gDB.gCnn.Close();
    Recordset rs;
    QString s = QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO");
    gDB.AbrirRecordset(s, rs);
    QCOMPARE(rs.Fields(0).Value().toInt(), 14);
    QVERIFY(gDB.gOpenFlag);
}

void TstDbSentencias::cierraRecordset()
{
    GDBPrueba g;
    DialogosGuionados d;
    // Closing in the middle of an edit cancels it and closes, silently.
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE CLAVE = 'PERIODO'"), &gDB.gCnn, adOpenDynamic, adLockOptimistic);
    rs.Fields(QStringLiteral("Valor")) = QStringLiteral("1999");
    gDB.CierraRecordset(&rs);
    QCOMPARE(rs.State(), int(adStateClosed));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT Valor FROM TA_CONFIGURACION WHERE CLAVE = 'PERIODO'")).toString(),
             QStringLiteral("2026"));
    gDB.CierraRecordset(&rs); // already closed: nothing
    QVERIFY(d.vistos().isEmpty());

    // No recordset at all goes to the error log and dialog.
    gDB.ArchivoErrores(g.ruta(QStringLiteral("errores.log")));
    d.responder(suite::vbIgnore);
    gDB.CierraRecordset(nullptr);
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("DB_Dll - CierraRecordset Aviso al operador!!! - 5 "));
    QVERIFY(QFile::exists(g.ruta(QStringLiteral("errores.log"))));
}

void TstDbSentencias::consultaR()
{
    GDBPrueba g;
    DialogosGuionados d;
    long n = 0;
    // Known provider errors are not shown; others are.
    QString mala = QStringLiteral("UPDATE NO_EXISTE SET A = 1");
    gDB.EjecutaConsultaRSQL(mala, n);
    QVERIFY(d.vistos().isEmpty());
    QCOMPARE(gDB.gCnn.Errors().Count(), 1);
    d.responder(suite::vbOK);
    QString tiempo = QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'x' WHERE CODIGO = '1'");
    auto otro = g.conectar();
    otro->Execute(QStringLiteral("BEGIN TRANSACTION\r\nUPDATE TA_CCOSTO SET DESCRIPCION = 'y' WHERE CODIGO = '1'"));
    gDB.gCnn.CommandTimeout(1);
    gDB.EjecutaConsultaRSQL(tiempo, n);
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al operador!!!"));
    QCOMPARE(d.ultimo().estilo, 16);
    otro->Execute(QStringLiteral("ROLLBACK TRANSACTION"));
}

QTEST_GUILESS_MAIN(TstDbSentencias)
#include "tst_db_sentencias.moc"
