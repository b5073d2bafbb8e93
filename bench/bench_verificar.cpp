// The consistency check on 2,000 tables of 5 lines and 100,000 accounts, every account
// assigned (a few to tables that do not exist, a few lines damaged), beside the sqlite3 C API
// running the same three statements, translated before the timing loop, on the same file.
// Also a 50-line save with the history on, beside the same save without it.
#include "Directo.h"
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/CadenaConexion.h"
#include "distribution/AlmacenDistribucion.h"
#include "distribution/VerificacionDistribucion.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Tablas = 2000, LineasPorTabla = 5, Cuentas = 100000;

struct Datos {
    QTemporaryDir dir;
    QString archivo;
    size_t hallazgos = 0;
    Datos()
    {
        demo::CrearDemo(dir.path(), demo::Tamanio{Cuentas, 200});
        archivo = QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db"));
        Directo raw(archivo);
        std::vector<QByteArray> centros;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, "SELECT CODIGO FROM TA_CCOSTO ORDER BY CODIGO", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            centros.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_exec(raw.db, "BEGIN; DELETE FROM MA_CUENTAS_CCDIST;", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(raw.db,
                           "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) "
                           "VALUES (printf('%4d', ?1), 'Tabla ' || ?1, 'Concepto', ?2, ?3, 1)",
                           -1, &st, nullptr);
        for (int t = 1; t <= Tablas; ++t)
            for (int l = 0; l < LineasPorTabla; ++l) {
                sqlite3_bind_int(st, 1, t);
                // Every 100th table names a centre that does not exist on its last line.
                const QByteArray centro = t % 100 == 0 && l == LineasPorTabla - 1 ? QByteArray("ZZZ")
                                                                                   : centros[size_t(t * LineasPorTabla + l) % centros.size()];
                sqlite3_bind_text(st, 2, centro.constData(), int(centro.size()), SQLITE_TRANSIENT);
                sqlite3_bind_double(st, 3, t % 50 == 0 ? 19.0 : 20.0);
                sqlite3_step(st);
                sqlite3_reset(st);
            }
        sqlite3_finalize(st);
        sqlite3_exec(raw.db,
                     "UPDATE MA_CUENTAS SET CC_DIST = printf('%4d', 1 + (rowid % 2010)); COMMIT;", nullptr, nullptr, nullptr);
        ado::FijarRegistroServidores(QDir(dir.path()).filePath(QStringLiteral("servidores.ini")));
        gDB.gServidor = QString::fromLatin1(demo::ServidorDemo);
        gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
        gDB.gEsAdmin = true;
        gDB.OpenServerADODB(false, 3, QString(), false, false);
    }
};

Datos& datos()
{
    static Datos d;
    return d;
}

void VerificarAlmacen(benchmark::State& state)
{
    Datos& d = datos();
    std::vector<Hallazgo> h;
    for (auto _ : state)
        VerificacionDistribucion(gDB).Verificar(h);
    d.hallazgos = h.size();
    state.counters["hallazgos"] = double(h.size());
}

void VerificarDirecto(benchmark::State& state)
{
    const Datos& d = datos();
    Directo raw(d.archivo);
    std::vector<QByteArray> sentencias;
    for (const QString& s : {VerificacionDistribucion::SentenciaCentros(), VerificacionDistribucion::SentenciaLineas(),
                             VerificacionDistribucion::SentenciaCuentas()})
        for (QByteArray& t : Traducir(s))
            sentencias.push_back(std::move(t));
    for (auto _ : state)
        ejecutarDirecto(raw.db, sentencias);
}

// A save of 50 lines, with and without its version recorded.
void Grabar(benchmark::State& state)
{
    datos();
    AlmacenDistribucion a(gDB);
    QString error;
    if (state.range(0) && !a.PrepararHistorial(error))
        state.SkipWithError(qPrintable(error));
    std::vector<std::pair<QString, QString>> lineas;
    for (int i = 0; i < 50; ++i)
        lineas.emplace_back(QStringLiteral("%1").arg(11 + i % 3), QStringLiteral("2"));
    for (auto _ : state)
        a.Grabar(QStringLiteral("1"), QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, lineas);
}

} // namespace

BENCHMARK(VerificarAlmacen)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(VerificarDirecto)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Grabar)->ArgName("historial")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
