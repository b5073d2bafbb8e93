// A server that goes away in the middle of a session: the next statement fails as a lost
// link (native error 11, the connection closed), and once the server is back the connection
// opens again. Runs on the test command's PostgreSQL cluster, which it stops and restarts.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "suite/ErrorRT.h"

#include <QProcess>
#include <QTest>

namespace {
bool cluster(const QString& accion)
{
    QStringList args{QStringLiteral(GUION_PG), accion, qEnvironmentVariable("VL_PG_CARPETA")};
    if (accion == QLatin1String("reanudar"))
        args << qEnvironmentVariable("VL_PG_PRUEBA").section(u':', 1, 1);
    return QProcess::execute(QStringLiteral("bash"), args) == 0;
}
} // namespace

class TstEnlace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (PeculiaridadesDelMotor().basesEnArchivos || qEnvironmentVariableIsEmpty("VL_PG_CARPETA"))
            QSKIP("hace falta el servidor PostgreSQL de prueba (VL_PG_CARPETA)");
    }
    void servidorDetenido();
};

void TstEnlace::servidorDetenido()
{
    GDBPrueba g;
    QVERIFY(gDB.gOpenFlag);
    QVERIFY(cluster(QStringLiteral("detener")));

    long numero = 0;
    try {
        gDB.gCnn.Execute(QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO"));
    } catch (const suite::ErrorEjecucion& e) {
        numero = e.error().Number;
    }
    const bool reanudado = cluster(QStringLiteral("reanudar"));
    QVERIFY(reanudado);
    QVERIFY2(numero == ado::err::Fallo, qPrintable(gDB.gCnn.Errors().Item(0).SQLState + u' ' + gDB.gCnn.Errors().Item(0).Description));
    QCOMPARE(gDB.gCnn.Errors().Item(0).NativeError, long(ado::err::NativoEnlacePerdido));
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateClosed));

    // The statement through DB_Dll leaves the same error for the caller (no call recovers
    // the link).
    QString s = QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = DESCRIPCION WHERE 1=0");
    long n = 0;
    gDB.EjecutaConsultaSQL(s, n);
    QCOMPARE(gDB.gCnn.Errors().Item(0).NativeError, long(ado::err::NativoEnlacePerdido));

    // With the server back, the stored string opens the connection again.
    QVERIFY(gDB.ReintentaConectar());
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 14);
}

QTEST_GUILESS_MAIN(TstEnlace)
#include "tst_enlace.moc"
