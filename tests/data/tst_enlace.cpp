// A server that goes away in the middle of a session: the next statement fails as a lost
// link (native error 11, the connection closed), and once the server is back the connection
// opens again. The messages of the server's failures (lost, lock held, deadlock) are the same
// through libpq and through ODBC. Runs on the test command's PostgreSQL cluster, which it
// stops and restarts.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "ServidorPrueba.h"
#include "suite/ErrorRT.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <pwd.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {
// The first error of a statement, as the caller finds it on the connection.
struct Visto {
    long numero = 0;
    long nativo = 0;
    QString estado;
    QString texto;
    bool cerrada = false;
};

Visto ejecutar(ado::Connection& cn, const QString& sql)
{
    Visto v;
    try {
        cn.Execute(sql);
    } catch (const suite::ErrorEjecucion&) {
        const ado::Error& e = cn.Errors().Item(0);
        v = {e.Number, e.NativeError, e.SQLState, e.Description};
    }
    v.cerrada = cn.State() == ado::adStateClosed;
    return v;
}

enum class Caso { ServidorDetenido, BloqueoRetenido, Interbloqueo };
} // namespace

Q_DECLARE_METATYPE(Caso)

class TstEnlace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (PeculiaridadesDelMotor().basesEnArchivos || qEnvironmentVariableIsEmpty("VL_PG_CARPETA"))
            QSKIP("hace falta el servidor PostgreSQL de prueba (VL_PG_CARPETA)");
    }
    void servidorDetenido();
    void mensajes_data();
    void mensajes();
    void sinRegistrosDelControlador();
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

    // Through DB_Dll, with the server back, the statement opens the connection again and runs.
    QString s = QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = DESCRIPCION WHERE 1=0");
    long n = 0;
    gDB.EjecutaConsultaSQL(s, n);
    QCOMPARE(gDB.gCnn.Errors().Count(), 0);
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));

    // With the server back, the stored string opens the connection again.
    QVERIFY(gDB.ReintentaConectar());
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 14);
}

void TstEnlace::mensajes_data()
{
    QTest::addColumn<Caso>("caso");
    QTest::addColumn<long>("numero");
    QTest::addColumn<long>("nativo");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("texto"); // how the description begins
    QTest::addColumn<bool>("cerrada");

    const QString bloqueo = QStringLiteral("Se ha superado el tiempo de espera de la solicitud de bloqueo (");
    QTest::newRow("servidor detenido") << Caso::ServidorDetenido << ado::err::Fallo << ado::err::NativoEnlacePerdido << "08S01"
                                       << "Se perdió la conexión con el servidor DEMO" << true;
    QTest::newRow("bloqueo retenido") << Caso::BloqueoRetenido << ado::err::TiempoAgotado << 1222L << "HYT00" << bloqueo << false;
    QTest::newRow("interbloqueo") << Caso::Interbloqueo << ado::err::TiempoAgotado << 1222L << "HYT00" << bloqueo << false;
}

void TstEnlace::mensajes()
{
    QFETCH(Caso, caso);
    QFETCH(long, numero);
    QFETCH(long, nativo);
    QFETCH(QString, estado);
    QFETCH(QString, texto);
    QFETCH(bool, cerrada);

    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    auto otra = empresa.conectar();
    Visto v;
    switch (caso) {
    case Caso::ServidorDetenido: {
        QVERIFY(cluster(QStringLiteral("detener")));
        v = ejecutar(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO"));
        QVERIFY(cluster(QStringLiteral("reanudar")));
        break;
    }
    case Caso::BloqueoRetenido:
        otra->Execute(QStringLiteral("BEGIN TRANSACTION\r\nUPDATE TA_CCOSTO SET DESCRIPCION = 'Otra' WHERE CODIGO = '1'"));
        cn->CommandTimeout(1);
        v = ejecutar(*cn, QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'Esta' WHERE CODIGO = '1'"));
        otra->Execute(QStringLiteral("ROLLBACK TRANSACTION"));
        break;
    case Caso::Interbloqueo: {
        // Each takes one lock and then waits for the other's: the server fails one of them.
        Visto delOtro;
        std::thread hilo([&] {
            delOtro = ejecutar(*otra, QStringLiteral("SELECT pg_advisory_xact_lock(2), pg_sleep(0.5), pg_advisory_xact_lock(1)"));
        });
        v = ejecutar(*cn, QStringLiteral("SELECT pg_advisory_xact_lock(1), pg_sleep(0.5), pg_advisory_xact_lock(2)"));
        hilo.join();
        QVERIFY2((v.numero == 0) != (delOtro.numero == 0), qPrintable(v.texto + u' ' + delOtro.texto));
        if (v.numero == 0)
            v = delOtro;
        break;
    }
    }
    QCOMPARE(v.numero, numero);
    QCOMPARE(v.nativo, nativo);
    QCOMPARE(v.estado, estado);
    QVERIFY2(v.texto.startsWith(texto), qPrintable(v.texto));
    QVERIFY2(v.texto.size() > texto.size() + 2, qPrintable(v.texto)); // the server's own words follow
    if (cerrada) // libpq's lines about the lost link, on one line
        QVERIFY2(!v.texto.contains(u'\n'), qPrintable(v.texto));
    QCOMPARE(v.cerrada, cerrada);
}

void TstEnlace::sinRegistrosDelControlador()
{
    // The PostgreSQL ODBC driver as Debian registers it logs to /tmp under a name anyone can
    // foresee: no such file is ever created, not even for a moment (inotify sees each one).
    if (!PeculiaridadesDelMotor().controladorConRegistros)
        QSKIP("solamente por ODBC");
    const int vigia = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(vigia >= 0);
    QVERIFY(inotify_add_watch(vigia, "/tmp", IN_CREATE | IN_MOVED_TO) >= 0);
    {
        EmpresaPrueba empresa;
        auto cn = empresa.conectar();
        QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 14);
        cn->Close();
        auto otra = empresa.conectar(); // closed again when the test ends
        otra->Close();
        // An opening that fails is the process's last connection too.
        ado::Connection mala;
        QVERIFY_THROWS_EXCEPTION(suite::ErrorEjecucion, mala.Open(empresa.cadena(QStringLiteral("NO_EXISTE"))));
    }
    // The driver names them after the program, the user and the process.
    const passwd* u = ::getpwuid(::geteuid());
    const QString propio = QStringLiteral("%1%2.log").arg(QString::fromLocal8Bit(u ? u->pw_name : "")).arg(QCoreApplication::applicationPid());
    QStringList creados;
    alignas(inotify_event) char buffer[1 << 14];
    for (ssize_t n; (n = ::read(vigia, buffer, sizeof(buffer))) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            const QString nombre = e->len ? QString::fromLocal8Bit(e->name) : QString();
            if ((nombre.startsWith(QLatin1String("psqlodbc")) || nombre.startsWith(QLatin1String("mylog"))) && nombre.endsWith(propio))
                creados << nombre;
            p += sizeof(inotify_event) + e->len;
        }
    }
    ::close(vigia);
    QVERIFY2(creados.isEmpty(), qPrintable(creados.join(u' ')));
}

QTEST_GUILESS_MAIN(TstEnlace)
#include "tst_enlace.moc"
