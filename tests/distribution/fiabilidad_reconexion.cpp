// Reliability of a save when the server goes away: N saves of a 50-line table on the test
// PostgreSQL cluster, each with the server stopped (immediate shutdown) at a random moment
// and started again. Counts tables left half-saved and saves reported as done that were lost.
// Run on demand, not under ctest, with the cluster of scripts/pg_prueba.sh in DIR on PORT:
//   VL_PG_PRUEBA=127.0.0.1:PORT VL_PG_CARPETA=DIR PGPASSWORD=postgres VL_MOTOR_PRUEBA=PostgreSQL
//   QT_QPA_PLATFORM=offscreen build/tests/distribution/fiabilidad_reconexion [N [--editor|--consola]]
// (VL_MOTOR_PRUEBA=ODBC: through the PostgreSQL ODBC driver.) --consola sends the save as one
// batch (BEGIN, DELETE, INSERTs, COMMIT) through prorrata-sql; done means exit status 0.
// --matar: the console's save as with --consola, but the server is left alone and the console
// is killed (SIGKILL) instead: a third of the rounds at a random moment of its run, a third
// as soon as the company file's journal is written anew (SQLite, no VL_MOTOR_PRUEBA: the
// save's transaction is open), a third left to end. Each round also checks the file's integrity.
//   QT_QPA_PLATFORM=offscreen build/tests/distribution/fiabilidad_reconexion 1000 --matar
#include "EmpresaPrueba.h"
#include "GDBPrueba.h"
#include "ServidorPrueba.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/Dialogos.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <atomic>
#include <cstdio>
#include <csignal>
#include <QElapsedTimer>
#include <QFile>
#include <tuple>
#include <optional>
#include <sys/stat.h>
#include <map>
#include <thread>

namespace {
bool arrancar() { return cluster(QStringLiteral("reanudar")); }

// The server's immediate shutdown, at once: SIGQUIT to the postmaster.
void cortar()
{
    QFile f(qEnvironmentVariable("VL_PG_CARPETA") + QStringLiteral("/datos/postmaster.pid"));
    if (!f.open(QIODevice::ReadOnly))
        return;
    const pid_t pid = pid_t(f.readLine().trimmed().toLong());
    ::kill(pid, SIGQUIT);
    while (::kill(pid, 0) == 0) // gone, with its listening socket, before it is started again
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// Every question answered Yes (reconnect), every message OK; counted.
class Respuestas : public suite::IDialogos {
public:
    std::atomic<int> vistos{0};
    int MsgBox(const QString&, int estilo, const QString&) override
    {
        ++vistos;
        return (estilo & 7) == suite::vbYesNo ? suite::vbYes : suite::vbOK;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> AbrirArchivo(const QString&, const QString&) override { return std::nullopt; }
};

QStringList lineas(const EmpresaPrueba& e)
{
    for (;;) {
        try {
            auto cn = e.conectar();
            ado::Recordset rs = cn->Execute(AlmacenDistribucion::SentenciaLineas(QStringLiteral("1")));
            QStringList l;
            for (; !rs.EOF_(); rs.MoveNext())
                l << rs.Fields(QStringLiteral("NOMBRE")).Value().toString().trimmed() + u'/'
                        + rs.Fields(QStringLiteral("CCOSTO")).Value().toString().trimmed();
            return l;
        } catch (const std::exception&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the server still starting
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100;
    // --editor: the editor's save, which checks another workstation's change inside its
    // transaction, instead of the plain one.
    const bool editor = argc > 2 && QByteArray(argv[2]) == "--editor";
    const bool matar = argc > 2 && QByteArray(argv[2]) == "--matar";
    const bool consola = matar || (argc > 2 && QByteArray(argv[2]) == "--consola");
    GDBPrueba g;
    Respuestas respuestas;
    suite::FijarDialogos(&respuestas);

    std::vector<QString> centros;
    {
        ado::Recordset rs = gDB.gCnn.Execute(QStringLiteral("SELECT CODIGO FROM TA_CCOSTO ORDER BY CODIGO"));
        for (; !rs.EOF_(); rs.MoveNext())
            centros.push_back(rs.Fields(0).Value().toString().trimmed());
    }
    AlmacenDistribucion almacen;
    // 50 lines of 2 %; centres repeat when there are fewer (the store writes what it is given).
    std::vector<std::pair<QString, QString>> juego;
    for (int k = 0; k < 50; ++k)
        juego.emplace_back(centros[size_t(k) % centros.size()], QStringLiteral("2"));
    int medias = 0, perdidas = 0, hechas = 0, fallidas = 0, fallidasGuardadas = 0;
    QStringList anterior = lineas(g);
    // The console's run of one save, its exit status (-1: it did not end normally).
    std::map<int, int> salidas;
    // With --matar: when the console is killed (microseconds after its start, or after the
    // journal appears), and what came of it.
    struct Muerte {
        bool alDiario;
        qint64 demora;
    };
    // The journal as it is now: a journal left by an earlier run stays (ignored by the engine
    // while its header is blank), so a new transaction shows as a journal written anew.
    const QByteArray diario = g.ruta(QStringLiteral("EMPRESA_DEMO.db-journal")).toLocal8Bit();
    const auto estadoDiario = [&] {
        struct stat e{};
        if (::stat(diario.constData(), &e) != 0)
            return std::tuple<qint64, qint64, qint64>{-1, 0, 0};
        return std::tuple<qint64, qint64, qint64>{qint64(e.st_ino), qint64(e.st_mtim.tv_sec), qint64(e.st_mtim.tv_nsec)};
    };
    int muertas = 0, muertasEnTransaccion = 0;
    const auto porConsola = [&](const QString& nombre, std::optional<Muerte> muerte = std::nullopt) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VL_SERVIDORES"), g.ruta(QStringLiteral("servidores.ini")));
        p.setProcessEnvironment(env);
        const auto diarioAntes = estadoDiario();
        p.start(QStringLiteral(PRORRATA_SQL), {QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ADMIN;")});
        p.write((almacen.LoteGrabar(QStringLiteral("1"), nombre, QStringLiteral("c"), true, juego) + QStringLiteral("COMMIT TRANSACTION"))
                    .toUtf8());
        p.closeWriteChannel();
        if (muerte) {
            QElapsedTimer t;
            t.start();
            if (muerte->alDiario) {
                while (estadoDiario() == diarioAntes && !p.waitForFinished(0) && t.elapsed() < 20000)
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(muerte->demora));
            if (!p.waitForFinished(0)) {
                const auto ahora = estadoDiario();
                muertasEnTransaccion += std::get<0>(ahora) >= 0 && ahora != diarioAntes;
                ++muertas;
                p.kill();
            }
        }
        p.waitForFinished(120000);
        const int codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        ++salidas[codigo];
        if (codigo != 0 && codigo != 1 && codigo != 3 && !muerte) // an end the console does not name: what it said
            std::fprintf(stderr, "\nsalida %d: %s\n", codigo, p.readAllStandardError().right(600).constData());
        return codigo == 0;
    };
    QElapsedTimer reloj;
    reloj.start();
    if (consola)
        porConsola(QStringLiteral("Medida"));
    else
        almacen.Grabar(QStringLiteral("1"), QStringLiteral("Medida"), QStringLiteral("c"), true, juego);
    salidas.clear();
    qint64 duracion = std::max<qint64>(1000, reloj.nsecsElapsed() / 1000); // microseconds
    anterior = lineas(g);
    std::printf("una grabación sin cortes: %lld us\n", static_cast<long long>(duracion));
    int integridad = 0; // rounds after which the company file was found damaged
    const auto sano = [&] {
        auto cn = g.conectar();
        return EmpresaPrueba::valor(*cn, QStringLiteral("PRAGMA integrity_check")).toString() == QLatin1String("ok");
    };
    std::fflush(stdout);
    for (int i = 1; i <= n; ++i) {
        const QByteArray huella = almacen.Huella(QStringLiteral("1")); // as the editor loaded it
        const QString nombre = QStringLiteral("Vuelta %1").arg(i);
        const qint64 demora = QRandomGenerator::global()->bounded(qint64(2 * duracion));
        std::thread corte([demora, matar] {
            if (matar)
                return;
            std::this_thread::sleep_for(std::chrono::microseconds(demora));
            cortar();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            while (!arrancar())
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
        });
        bool ok = false;
        if (matar) {
            // The run's length is taken again from each run left to end (the machine's load changes).
            if (i % 3 == 0) {
                QElapsedTimer t;
                t.start();
                ok = porConsola(nombre);
                duracion = std::max<qint64>(1000, t.nsecsElapsed() / 1000);
            } else {
                const bool alDiario = i % 3 == 1;
                ok = porConsola(nombre, Muerte{alDiario, alDiario ? QRandomGenerator::global()->bounded(qint64(3000)) : demora / 2});
            }
            if (PeculiaridadesDelMotor().basesEnArchivos && !sano())
                ++integridad;
        } else if (consola) {
            ok = porConsola(nombre);
        } else if (editor) {
            QByteArray actual;
            ok = almacen.Grabar(QStringLiteral("1"), nombre, QStringLiteral("c"), true, juego, huella, actual)
                == AlmacenDistribucion::Grabado::Hecho;
        } else {
            ok = almacen.Grabar(QStringLiteral("1"), nombre, QStringLiteral("c"), true, juego);
        }
        corte.join();
        const QStringList ahora = lineas(g);
        QStringList nuevas;
        for (const auto& [c, p] : juego)
            nuevas << nombre + u'/' + c;
        const bool esNueva = ahora == nuevas;
        const bool esAnterior = ahora == anterior;
        if (!esNueva && !esAnterior)
            ++medias;
        if (ok && !esNueva)
            ++perdidas;
        ok ? ++hechas : ++fallidas;
        if (!ok && esNueva)
            ++fallidasGuardadas;
        anterior = ahora;
        // The counts so far, for a run stopped before its end.
        std::printf("\rvuelta %d/%d: %s (hechas %d, fallidas %d, a medio grabar %d, dadas por hechas y perdidas %d)   ", i, n,
                    ok ? "grabada" : "fallida", hechas, fallidas, medias, perdidas);
        std::fflush(stdout);
    }
    std::printf("\n%d grabaciones con %s a mitad: %d informadas como hechas, %d como fallidas "
                "(%d de ellas quedaron grabadas enteras); tablas a medio grabar: %d; grabaciones dadas por hechas "
                "y perdidas: %d; diálogos: %d\n",
                n, matar ? "la consola muerta" : "el servidor detenido", hechas, fallidas, fallidasGuardadas, medias, perdidas,
                respuestas.vistos.load());
    if (matar)
        std::printf("consolas muertas con SIGKILL: %d (%d con la transacción abierta); comprobaciones de integridad "
                    "fallidas: %d\n",
                    muertas, muertasEnTransaccion, integridad);
    if (consola) {
        std::printf("estados de salida de la consola:");
        for (const auto& [codigo, veces] : salidas)
            std::printf(" %d (%d veces)", codigo, veces);
        std::printf("\n");
    }
    suite::FijarDialogos(nullptr);
    return medias == 0 && perdidas == 0 && integridad == 0 ? 0 : 1;
}
