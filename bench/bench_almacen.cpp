// The distribution store: saving a 50-line table, and loading a table with 50 lines and
// 10,000 assigned accounts (progress display shown), each beside the sqlite3 C API running
// the same statements on the same file.
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/sqlite/Dialecto.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/Dialogos.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Lineas = 50;
constexpr int Cuentas = 10000;
const QString CodigoGrande = QStringLiteral("50");

struct Datos {
    QTemporaryDir dir;
    QString archivo;
    std::vector<std::pair<QString, QString>> lineas;
    Datos()
    {
        demo::CrearDemo(dir.path(), demo::Tamanio{Cuentas, Lineas});
        archivo = QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db"));
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
        ado::Recordset rs = cn.Execute(QStringLiteral("SELECT TOP %1 CODIGO FROM TA_CCOSTO ORDER BY CODIGO DESC").arg(Lineas));
        for (; !rs.EOF_(); rs.MoveNext())
            lineas.emplace_back(rs.Fields(0).Value().toString(), QStringLiteral("2"));
        cn.Execute(QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST = '  50' WHERE Codigo LIKE '6.%'"));
        gDB.gServidor = QString::fromLatin1(demo::ServidorDemo);
        gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
        gDB.gEsAdmin = true;
        gDB.OpenServerADODB(false, 3, QString(), false, false);
        AlmacenDistribucion(gDB).Grabar(CodigoGrande, QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, lineas);
    }
};

Datos& datos()
{
    static Datos d;
    return d;
}

sqlite3* abrirDirecto()
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(datos().archivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    ado::sqlite::MotorSqlite::Preparar(db, 30000);
    return db;
}

void ejecutarDirecto(sqlite3* db, const QString& tsql)
{
    for (const auto& s : ado::sqlite::TraducirLote(tsql)) {
        const char* sql = s.accion == ado::sqlite::Accion::Iniciar ? "BEGIN IMMEDIATE"
            : s.accion == ado::sqlite::Accion::Confirmar           ? "COMMIT"
            : s.accion == ado::sqlite::Accion::Deshacer            ? "ROLLBACK"
                                                                   : nullptr;
        const QByteArray texto = sql ? QByteArray(sql) : s.sql.toUtf8();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, texto.constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                benchmark::DoNotOptimize(sqlite3_column_text(st, i));
        }
        sqlite3_finalize(st);
    }
}

void GrabarAlmacen(benchmark::State& state)
{
    AlmacenDistribucion a(gDB);
    for (auto _ : state)
        a.Grabar(CodigoGrande, QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, datos().lineas);
}

void GrabarDirecto(benchmark::State& state)
{
    sqlite3* db = abrirDirecto();
    const QString lote = AlmacenDistribucion(gDB).LoteGrabar(CodigoGrande, QStringLiteral("Grande"), QStringLiteral("50 líneas"),
                                                             true, datos().lineas);
    for (auto _ : state) {
        ejecutarDirecto(db, lote);
        ejecutarDirecto(db, QStringLiteral("COMMIT TRANSACTION"));
    }
    sqlite3_close(db);
}

void CargarAlmacen(benchmark::State& state)
{
    AlmacenDistribucion a(gDB);
    size_t cuentas = 0;
    for (auto _ : state)
        cuentas = a.Cargar(CodigoGrande).cuentas.size();
    state.counters["cuentas"] = double(cuentas);
}

void CargarDirecto(benchmark::State& state)
{
    sqlite3* db = abrirDirecto();
    for (auto _ : state) {
        ejecutarDirecto(db, AlmacenDistribucion::SentenciaLineas(CodigoGrande));
        for (const auto& l : datos().lineas)
            ejecutarDirecto(db, QStringLiteral("SELECT TOP 1 * FROM TA_CCOSTO with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='%1' ")
                                    .arg(l.first));
        ejecutarDirecto(db, AlmacenDistribucion::SentenciaCuentas(CodigoGrande));
    }
    sqlite3_close(db);
}

} // namespace

BENCHMARK(GrabarAlmacen)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(GrabarDirecto)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(CargarAlmacen)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(CargarDirecto)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    datos();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
