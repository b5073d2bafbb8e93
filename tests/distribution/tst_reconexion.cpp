// A link that drops in the middle of a session: the step repeats once the connection is back,
// silently at first, then with the user's consent (the operator's question, the reconnection
// window and its two buttons); a transaction never continues on a new connection. The server
// cases run on the test command's PostgreSQL cluster (natively and through ODBC), which they
// stop and restart; the rest also on SQLite.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "ServidorPrueba.h"
#include "data/frmReconectar.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/CodigosSalida.h"
#include "suite/ErrorRT.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {
// SQL of the server's own (a trigger), run by its client on the company database.
bool psql(const QString& sql)
{
    const QString servidor = qEnvironmentVariable("VL_PG_PRUEBA");
    return QProcess::execute(QStringLiteral("/usr/lib/postgresql/15/bin/psql"),
                             {QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                              servidor.section(u':', 0, 0), QStringLiteral("-p"), servidor.section(u':', 1, 1), QStringLiteral("-U"),
                              QStringLiteral("postgres"), QStringLiteral("-d"), QStringLiteral("empresa_demo"), QStringLiteral("-c"), sql})
        == 0;
}

bool conServidor() { return !PeculiaridadesDelMotor().basesEnArchivos && !qEnvironmentVariableIsEmpty("VL_PG_CARPETA"); }

// Lines of a table read on a connection of their own (what another workstation sees).
QString lineasDe(const EmpresaPrueba& e, const QString& codigo)
{
    auto cn = e.conectar();
    ado::Recordset rs = cn->Execute(AlmacenDistribucion::SentenciaLineas(codigo));
    QStringList l;
    for (; !rs.EOF_(); rs.MoveNext())
        l << rs.Fields(QStringLiteral("CCOSTO")).Value().toString().trimmed() + u'='
                + rs.Fields(QStringLiteral("PORCENTAJE")).Value().toString();
    return l.join(u' ');
}

long ejecutar(const QString& sql)
{
    QString s = sql;
    long n = 0;
    gDB.EjecutaConsultaSQL(s, n);
    return gDB.gCnn.Errors().Count() == 0 ? n : -99;
}

// The program's end, caught: the test goes on after it.
struct FinCapturado {
    FinCapturado() { suite::FijarTerminador([](int c) { throw suite::ProgramaTerminado{c}; }); }
    ~FinCapturado() { suite::FijarTerminador({}); }
};

int versiones() { return EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST_HIST")).toInt(); }

frmReconectar* ventana() { return dynamic_cast<frmReconectar*>(&VentanaReconexionPredeterminada()); }

const QString PreguntaOperador = QStringLiteral(
    "\r\n\r\n\r\nSe perdio la conexion con la base de datos EMPRESA_DEMO\r\n Servidor DEMO\r\n\r\n"
    "Elija SI para reintentar conectarse\r\nElija NO para cerrar la aplicacion\r\n\r\n\r\n");
} // namespace

class TstReconexion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cadenaSinTiempo();
    void errorQueNoEsEnlace();
    void ignoraErrorSinDialogos();
    void servidorDeVuelta();
    void servidorCaido_data();
    void servidorCaido();
    void ventanaReconexion_data();
    void ventanaReconexion();
    void transaccionCortada();
    void loteCortadoUnaVez();
    void loteEnteroCortado();
    void loteConBeginTardio();
    void cleanup();
};

void TstReconexion::cleanup()
{
    if (conServidor())
        cluster(QStringLiteral("reanudar")); // already running: nothing happens
}

void TstReconexion::cadenaSinTiempo()
{
    GDBPrueba g;
    const QString guardada = QString(gDB.gConnString).remove(
        QRegularExpression(QStringLiteral(";?\\s*Connect Timeout\\s*=\\s*\\d+"), QRegularExpression::CaseInsensitiveOption));
    QVERIFY(!guardada.contains(QLatin1String("Connect Timeout"), Qt::CaseInsensitive));
    gDB.gConnString = guardada;
    gDB.gCnn.CommandTimeout(360);
    QVERIFY(gDB.ReintentaConectar());
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(gDB.gCnn.ConnectionString(), guardada + QStringLiteral(";Connect Timeout=5"));
    QCOMPARE(gDB.gConnString, guardada);
    QCOMPARE(gDB.gCnn.ConnectionTimeout(), 5);
    QCOMPARE(gDB.gCnn.CommandTimeout(), 360); // the session's own time-out is kept
}

void TstReconexion::errorQueNoEsEnlace()
{
    // A statement error is reported as always, without any attempt to reconnect: the
    // statement is sent once.
    GDBPrueba g;
    DialogosGuionados d;
    d.responder(suite::vbCancel);
    g.enviadas();
    QString s = QStringLiteral("SELECT * FROM TABLA_QUE_NO_EXISTE");
    ado::Recordset rs;
    gDB.AbrirRecordset(s, rs);
    QCOMPARE(d.vistos().size(), 1);
    QVERIFY(!d.ultimo().titulo.contains(QLatin1String("Conexión")));
    QCOMPARE(g.enviadas().size(), 1);
    QVERIFY(gDB.gOpenFlag);
}

void TstReconexion::ignoraErrorSinDialogos()
{
    // DatosTabla that ignores errors shows nothing on an unreachable database, not even the
    // lost-link question, and answers an empty value.
    GDBPrueba g;
    DialogosGuionados d; // any dialog fails the test
    gDB.gCnn.Close();
    if (conServidor()) {
        QVERIFY(cluster(QStringLiteral("detener")));
    } else {
        gDB.gConnString = g.cadena(QStringLiteral("BASE_QUE_NO_EXISTE"));
    }
    const QVariant v = gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("11"), QStringLiteral("DESCRIPCION"),
                                      QStringLiteral("CODIGO"), 8, QString(), true, true);
    QCOMPARE(v.toString(), QString());
    QCOMPARE(d.vistos().size(), 0);
}

void TstReconexion::servidorDeVuelta()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    // The server went away and came back before the program noticed: the user sees nothing;
    // a write, a lookup and a read all repeat their step on a new connection.
    GDBPrueba g;
    DialogosGuionados d;
    QVERIFY(cluster(QStringLiteral("detener")));
    QVERIFY(cluster(QStringLiteral("reanudar")));
    QCOMPARE(ejecutar(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION='Administración central' WHERE CODIGO='11'")), 1L);
    QVERIFY(gDB.gOpenFlag);

    QVERIFY(cluster(QStringLiteral("detener")));
    QVERIFY(cluster(QStringLiteral("reanudar")));
    QVERIFY(gDB.ExisteEnTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("11"), QStringLiteral("CODIGO"), nullptr, 8));

    QVERIFY(cluster(QStringLiteral("detener")));
    QVERIFY(cluster(QStringLiteral("reanudar")));
    QCOMPARE(gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("11"), QStringLiteral("DESCRIPCION"), QStringLiteral("CODIGO"), 8)
                 .toString()
                 .trimmed(),
             QStringLiteral("Administración central"));
    QCOMPARE(d.vistos().size(), 0);
}

void TstReconexion::servidorCaido_data()
{
    QTest::addColumn<int>("respuesta");
    QTest::newRow("No cierra el programa") << int(suite::vbNo);
    QTest::newRow("Sí, con el servidor de vuelta, sigue") << int(suite::vbYes);
}

void TstReconexion::servidorCaido()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    QFETCH(int, respuesta);
    // The server stays down: after the silent attempts the operator is asked.
    GDBPrueba g;
    DialogosGuionados d;
    FinCapturado fin;
    QVERIFY(cluster(QStringLiteral("detener")));
    d.responder(respuesta, [&] {
        if (respuesta == suite::vbYes)
            QVERIFY(cluster(QStringLiteral("reanudar")));
    });
    bool terminado = false;
    long n = 0;
    try {
        n = ejecutar(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION='Ventas' WHERE CODIGO='12'"));
    } catch (const suite::ProgramaTerminado& t) {
        terminado = true;
        QCOMPARE(t.codigo, int(suite::SalidaEnlacePerdido)); // an end that is no success
    }
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("AVISO AL OPERADOR"));
    QCOMPARE(d.ultimo().texto, PreguntaOperador);
    QCOMPARE(d.ultimo().estilo, int(suite::vbYesNo + suite::vbCritical));
    QCOMPARE(terminado, respuesta == suite::vbNo);
    if (respuesta == suite::vbYes) {
        QCOMPARE(n, 1L);
        QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT DESCRIPCION FROM TA_CCOSTO WHERE CODIGO='12'")).toString().trimmed(),
                 QStringLiteral("Ventas"));
    }
}

void TstReconexion::ventanaReconexion_data()
{
    QTest::addColumn<bool>("servidorVuelve");
    QTest::newRow("el servidor vuelve durante la serie") << true;
    QTest::newRow("Reintentar y Cerrar Sistema") << false;
}

void TstReconexion::ventanaReconexion()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    QFETCH(bool, servidorVuelve);
    // A read finds the server down: two silent attempts, then the question; Yes opens the
    // reconnection window, whose series of attempts go on until the server is back or the
    // user closes the program.
    GDBPrueba g;
    DialogosGuionados d;
    FinCapturado fin;
    QVERIFY(cluster(QStringLiteral("detener")));
    d.responder(suite::vbYes);

    QStringList visto;
    int series = 0;
    int ultimoAvance = -1;
    bool reanudado = false;
    QTimer mirar;
    mirar.setInterval(40);
    connect(&mirar, &QTimer::timeout, this, [&] {
        frmReconectar* v = ventana();
        if (!v || !v->isVisible())
            return;
        const int avance = v->prgIntentos->value();
        if (avance < ultimoAvance || (ultimoAvance < 0 && avance > 0))
            ++series;
        if (avance != ultimoAvance)
            visto << QStringLiteral("%1%2").arg(avance).arg(v->CmdReintentar->isEnabled() ? QStringLiteral("+") : QString());
        ultimoAvance = avance;
        if (servidorVuelve && avance >= 20 && !reanudado) {
            reanudado = cluster(QStringLiteral("reanudar"));
            QVERIFY(reanudado);
        } else if (!servidorVuelve && v->CmdReintentar->isEnabled() && series == 1) {
            v->CmdReintentar->click();
        } else if (!servidorVuelve && series == 2 && avance >= 20) {
            v->cmdCancelar->click();
        }
    });
    mirar.start();

    QString s = QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO");
    ado::Recordset rs;
    bool terminado = false;
    try {
        gDB.AbrirRecordset(s, rs);
    } catch (const suite::ProgramaTerminado& t) {
        terminado = true;
        QCOMPARE(t.codigo, int(suite::SalidaEnlacePerdido));
    }
    mirar.stop();
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Conexión a la base de datos"));
    QCOMPARE(d.ultimo().texto, QStringLiteral("SE PERDIÓ LA CONEXION CON EL SERVIDOR. (DEMO) \r\n\r\n¿Querés que intentemos "
                                              "reconectar (Sí) \r\no cerrar la aplicación (No)?"));
    frmReconectar* v = ventana();
    QVERIFY(v);
    QVERIFY(!v->isVisible());
    QCOMPARE(v->lblMensaje->text(), QStringLiteral("Intentando reconectar con el servidor...\r\nAbrirRecordset"));
    QCOMPARE(v->windowTitle(), QStringLiteral("Intentando reconectar con el servidor") + QChar(0x2026));
    QCOMPARE(terminado, !servidorVuelve);
    if (servidorVuelve) {
        QVERIFY2(rs.State() == ado::adStateOpen, qPrintable(visto.join(u' ')));
        QCOMPARE(rs.Fields(0).Value().toInt(), 14);
    } else {
        // Reintentar is enabled only on the tenth attempt, and starts the next series at once.
        QCOMPARE(series, 2);
        QVERIFY2(visto.contains(QStringLiteral("100+")), qPrintable(visto.join(u' ')));
        QVERIFY2(!visto.contains(QStringLiteral("90+")) && visto.contains(QStringLiteral("10")), qPrintable(visto.join(u' ')));
    }
}

void TstReconexion::transaccionCortada()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    // The link drops between the DELETE and the INSERTs of a save, every time (the server
    // ends the session from a trigger): the whole batch is tried again on new connections,
    // never its rest alone; then the save fails and the table keeps its lines. Once the cause
    // is gone the next save goes through.
    GDBPrueba g;
    QVERIFY(psql(QStringLiteral(
        "CREATE TABLE cortar_enlace (n int); INSERT INTO cortar_enlace VALUES (1); GRANT SELECT ON cortar_enlace TO PUBLIC;"
        "CREATE FUNCTION cortar_enlace() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF EXISTS (SELECT 1 FROM cortar_enlace) THEN PERFORM pg_terminate_backend(pg_backend_pid()); "
        "PERFORM pg_sleep(1); END IF; RETURN NULL; END $$;"
        "CREATE TRIGGER cortar AFTER DELETE ON ma_cuentas_ccdist FOR EACH STATEMENT EXECUTE FUNCTION cortar_enlace();")));
    const QString antes = lineasDe(g, QStringLiteral("1"));
    QVERIFY(!antes.isEmpty());
    AlmacenDistribucion a;
    QString error;
    QVERIFY2(a.PrepararHistorial(error), qPrintable(error));
    DialogosGuionados d;
    d.responder(suite::vbOK);
    QVERIFY(!a.Grabar(QStringLiteral("1"), QStringLiteral("Cortada"), QStringLiteral("c"), true, {{"11", "60"}, {"12", "40"}}));
    QCOMPARE(versiones(), 0); // no history for a save that did not happen
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("ATENCIÓN"));
    QCOMPARE(lineasDe(g, QStringLiteral("1")), antes);
    QVERIFY2(d.ultimo().texto.contains(QStringLiteral("Se perdió la conexión")), qPrintable(d.ultimo().texto));
    QVERIFY(!gDB.TransaccionPendiente());

    QVERIFY(psql(QStringLiteral("DELETE FROM cortar_enlace")));
    QVERIFY(a.Grabar(QStringLiteral("1"), QStringLiteral("Entera"), QStringLiteral("c"), true, {{"11", "60"}, {"12", "40"}}));
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(lineasDe(g, QStringLiteral("1")), QStringLiteral("11=60 12=40"));
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(versiones(), 1);
}

void TstReconexion::loteCortadoUnaVez()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    // The link drops once inside a batch that begins its own transaction: the server undid
    // all of it, so the whole batch runs again on a new connection and the save goes through
    // without a word. A sequence counts the cuts (it is not undone with the transaction).
    GDBPrueba g;
    QVERIFY(psql(QStringLiteral(
        "CREATE SEQUENCE cortes; GRANT USAGE ON cortes TO PUBLIC;"
        "CREATE FUNCTION cortar_una_vez() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF nextval('cortes') = 1 THEN PERFORM pg_terminate_backend(pg_backend_pid()); "
        "PERFORM pg_sleep(1); END IF; RETURN NULL; END $$;"
        "CREATE TRIGGER cortar AFTER DELETE ON ma_cuentas_ccdist FOR EACH STATEMENT EXECUTE FUNCTION cortar_una_vez();")));
    AlmacenDistribucion a;
    QString error;
    QVERIFY2(a.PrepararHistorial(error), qPrintable(error));
    DialogosGuionados d;
    QVERIFY(a.Grabar(QStringLiteral("1"), QStringLiteral("Repetida"), QStringLiteral("c"), true, {{"11", "70"}, {"12", "30"}}));
    QCOMPARE(d.vistos().size(), 0);
    QCOMPARE(versiones(), 1); // the batch ran twice, the server kept it once
    QCOMPARE(lineasDe(g, QStringLiteral("1")), QStringLiteral("11=70 12=30"));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE NOMBRE='Repetida'")).toInt(), 2);
    QVERIFY(!gDB.TransaccionPendiente());
}

namespace {
// The server ends the session the first time a statement deletes from MA_CUENTAS_CCDIST.
bool cortarUnaVez()
{
    return psql(QStringLiteral(
        "CREATE SEQUENCE cortes; GRANT USAGE ON cortes TO PUBLIC;"
        "CREATE FUNCTION cortar_una_vez() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF nextval('cortes') = 1 THEN PERFORM pg_terminate_backend(pg_backend_pid()); "
        "PERFORM pg_sleep(1); END IF; RETURN NULL; END $$;"
        "CREATE TRIGGER cortar AFTER DELETE ON ma_cuentas_ccdist FOR EACH STATEMENT EXECUTE FUNCTION cortar_una_vez();"));
}
} // namespace

void TstReconexion::loteEnteroCortado()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    // The link drops inside a batch that begins and commits its own transaction: the server
    // undid it, and nothing of it is left open. The next read reconnects silently.
    GDBPrueba g;
    QVERIFY(cortarUnaVez());
    DialogosGuionados d; // any dialog fails the test
    const long n = ejecutar(QStringLiteral("BEGIN TRANSACTION\r\nDELETE FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   1'\r\n"
                                           "UPDATE TA_CCOSTO SET DESCRIPCION = 'Cortada' WHERE CODIGO = '11'\r\nCOMMIT TRANSACTION"));
    QCOMPARE(n, -99L);
    QCOMPARE(gDB.gCnn.Errors().Item(0).NativeError, long(ado::err::NativoEnlacePerdido));
    QVERIFY(!gDB.TransaccionPendiente());
    QCOMPARE(gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("11"), QStringLiteral("DESCRIPCION"), QStringLiteral("CODIGO"), 8)
                 .toString()
                 .trimmed(),
             QStringLiteral("Contabilidad"));
    QString s = QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   1'");
    ado::Recordset rs;
    gDB.AbrirRecordset(s, rs);
    QCOMPARE(rs.State(), int(ado::adStateOpen));
    QVERIFY(rs.Fields(0).Value().toInt() > 0);
    QCOMPARE(d.vistos().size(), 0);
}

void TstReconexion::loteConBeginTardio()
{
    if (!conServidor())
        QSKIP("hace falta el servidor PostgreSQL de prueba");
    // A batch whose BEGIN comes after a statement of its own: cut inside the transaction, it
    // is not run again (its first statement was kept), and the transaction stays lost until
    // the caller ends it.
    GDBPrueba g;
    QVERIFY(cortarUnaVez());
    DialogosGuionados d;
    const long n = ejecutar(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = DESCRIPCION + '+' WHERE CODIGO = '11'\r\n"
                                           "BEGIN TRANSACTION\r\nDELETE FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   1'"));
    QCOMPARE(n, -99L);
    QVERIFY(gDB.TransaccionPendiente());
    QCOMPARE(ejecutar(QStringLiteral("COMMIT TRANSACTION")), -99L);
    QVERIFY2(gDB.gCnn.Errors().Item(0).Description.startsWith(QStringLiteral("Se perdió la conexión con el servidor durante una transacción")),
             qPrintable(gDB.gCnn.Errors().Item(0).Description));
    QVERIFY(!gDB.TransaccionPendiente());
    QCOMPARE(EmpresaPrueba::valor(*g.conectar(), QStringLiteral("SELECT DESCRIPCION FROM TA_CCOSTO WHERE CODIGO = '11'")).toString().trimmed(),
             QStringLiteral("Contabilidad+"));
    QVERIFY(EmpresaPrueba::valor(*g.conectar(), QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   1'")).toInt() > 0);
    QCOMPARE(d.vistos().size(), 0);
}

QTEST_MAIN(TstReconexion)
#include "tst_reconexion.moc"
