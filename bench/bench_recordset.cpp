// Opening a recordset on 100,000 accounts and reading every field, and a short look-up: the
// ADO-shaped layer beside the sqlite3 C API doing the same on the same file.
#include "Demo.h"
#include "data/ado/Ado.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <string>

namespace {

constexpr int Cuentas = 100000;
const char* const Consulta = "SELECT * FROM MA_CUENTAS";

struct Demo {
    QTemporaryDir dir;
    QString archivo;
    Demo()
    {
        demo::CrearDemo(dir.path(), demo::Tamanio{Cuentas, 0});
        archivo = QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db"));
    }
};

Demo& demoCompartida()
{
    static Demo d;
    return d;
}

void CapaAdo(benchmark::State& state)
{
    Demo& d = demoCompartida();
    ado::Connection cn;
    cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
    long filas = 0;
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open(QString::fromLatin1(Consulta), &cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        const int n = rs.FieldCount();
        filas = 0;
        for (; !rs.EOF_(); rs.MoveNext()) {
            for (int i = 0; i < n; ++i)
                benchmark::DoNotOptimize(rs.Fields(i).Value());
            ++filas;
        }
        rs.Close();
    }
    state.counters["filas"] = double(filas);
    (void)d;
}

// The raw engine: prepare, step, and take every column in its own type (text copied out).
void Sqlite3Directo(benchmark::State& state)
{
    Demo& d = demoCompartida();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(d.archivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    ado::sqlite::MotorSqlite::Preparar(db, 30000);
    long filas = 0;
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, Consulta, -1, &st, nullptr);
        const int n = sqlite3_column_count(st);
        filas = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER: benchmark::DoNotOptimize(sqlite3_column_int64(st, i)); break;
                case SQLITE_FLOAT: benchmark::DoNotOptimize(sqlite3_column_double(st, i)); break;
                case SQLITE_NULL: break;
                default: {
                    std::string s(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), size_t(sqlite3_column_bytes(st, i)));
                    benchmark::DoNotOptimize(s);
                }
                }
            }
            ++filas;
        }
        sqlite3_finalize(st);
    }
    state.counters["filas"] = double(filas);
    sqlite3_close(db);
}

// A short look-up the program repeats (does the centre exist?): the layer, which translates
// it from T-SQL (kept after the first time), beside the raw engine running its translation.
const char* const Busqueda = "SELECT TOP 1  * FROM TA_CCOSTO with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='211'";

void BusquedaCapa(benchmark::State& state)
{
    demoCompartida();
    ado::Connection cn;
    cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open(QString::fromLatin1(Busqueda), &cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        benchmark::DoNotOptimize(rs.EOF_());
        rs.Close();
    }
}

void BusquedaDirecta(benchmark::State& state)
{
    Demo& d = demoCompartida();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(d.archivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    ado::sqlite::MotorSqlite::Preparar(db, 30000);
    const QByteArray sql = ado::sqlite::TraducirLote(QString::fromLatin1(Busqueda)).front().sql.toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

} // namespace

BENCHMARK(CapaAdo)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Sqlite3Directo)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BusquedaCapa)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BusquedaDirecta)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
