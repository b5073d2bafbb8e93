// The distribution store: saving a 50-line table, and loading a table with 50 lines and
// 10,000 or 100,000 assigned accounts (progress display shown), each beside the sqlite3 C API
// running the same statements, translated before the timing loop, on the same file.
#include "Directo.h"
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/Dialogos.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace {

constexpr int Lineas = 50;
const QString CodigoGrande = QStringLiteral("50");

// A demo company of a given size whose table 50 has 50 lines and every account assigned.
struct Datos {
    QTemporaryDir dir;
    QString archivo;
    std::vector<std::pair<QString, QString>> lineas;
    explicit Datos(int cuentas)
    {
        demo::CrearDemo(dir.path(), demo::Tamanio{cuentas, Lineas});
        archivo = QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db"));
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
        ado::Recordset rs = cn.Execute(QStringLiteral("SELECT TOP %1 CODIGO FROM TA_CCOSTO ORDER BY CODIGO DESC").arg(Lineas));
        for (; !rs.EOF_(); rs.MoveNext())
            lineas.emplace_back(rs.Fields(0).Value().toString(), QStringLiteral("2"));
        cn.Execute(QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST = '  50'"));
    }
};

// gDB is connected to the company of the size asked for.
Datos& datos(int cuentas)
{
    static std::map<int, std::unique_ptr<Datos>> porTamanio;
    static int conectada = 0;
    auto& d = porTamanio[cuentas];
    if (!d)
        d = std::make_unique<Datos>(cuentas);
    if (conectada != cuentas) {
        ado::FijarRegistroServidores(QDir(d->dir.path()).filePath(QStringLiteral("servidores.ini")));
        gDB.gServidor = QString::fromLatin1(demo::ServidorDemo);
        gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
        gDB.gEsAdmin = true;
        gDB.OpenServerADODB(false, 3, QString(), false, false);
        AlmacenDistribucion(gDB).Grabar(CodigoGrande, QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, d->lineas);
        conectada = cuentas;
    }
    return *d;
}

void GrabarAlmacen(benchmark::State& state)
{
    const Datos& d = datos(10000);
    AlmacenDistribucion a(gDB);
    for (auto _ : state)
        a.Grabar(CodigoGrande, QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, d.lineas);
}

void GrabarDirecto(benchmark::State& state)
{
    const Datos& d = datos(10000);
    Directo raw(d.archivo);
    const auto lote = Traducir(AlmacenDistribucion(gDB).LoteGrabar(CodigoGrande, QStringLiteral("Grande"),
                                                                   QStringLiteral("50 líneas"), true, d.lineas));
    const auto commit = Traducir(QStringLiteral("COMMIT TRANSACTION"));
    for (auto _ : state) {
        ejecutarDirecto(raw.db, lote);
        ejecutarDirecto(raw.db, commit);
    }
}

void CargarAlmacen(benchmark::State& state)
{
    datos(int(state.range(0)));
    AlmacenDistribucion a(gDB);
    size_t cuentas = 0;
    for (auto _ : state)
        cuentas = a.Cargar(CodigoGrande).cuentas.size();
    state.counters["cuentas"] = double(cuentas);
}

// The statements the store's load runs: its lines, the centres' descriptions, its accounts.
void CargarDirecto(benchmark::State& state)
{
    const Datos& d = datos(int(state.range(0)));
    Directo raw(d.archivo);
    std::vector<QByteArray> sentencias = Traducir(AlmacenDistribucion::SentenciaLineas(CodigoGrande));
    for (QByteArray& t : Traducir(AlmacenDistribucion::SentenciaDescripciones(CodigoGrande)))
        sentencias.push_back(std::move(t));
    for (QByteArray& t : Traducir(AlmacenDistribucion::SentenciaCuentas(CodigoGrande)))
        sentencias.push_back(std::move(t));
    for (auto _ : state)
        ejecutarDirecto(raw.db, sentencias);
}

} // namespace

BENCHMARK(GrabarAlmacen)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(GrabarDirecto)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(CargarAlmacen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(CargarDirecto)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    // Freed result memory stays with the process, as in a long-running editor: otherwise each
    // load pays the page faults of growing the heap again that the raw side, keeping nothing,
    // never pays.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
