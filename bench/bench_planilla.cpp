// The CSV sheet of tables: reading and checking a file of 2,000 tables with 5 lines each
// (10,000 rows), importing it in one transaction through the store, and exporting every
// table, beside the sqlite3 C API running the same statements (translated before the timing)
// on the same file.
#include "Directo.h"
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/AlmacenDistribucion.h"
#include "distribution/PlanillaCsv.h"
#include "suite/Regional.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Tablas = 2000;
constexpr int LineasPorTabla = 5;

struct Datos {
    QTemporaryDir dir;
    QString archivo;
    QByteArray planilla;
    std::vector<planilla::TablaPlanilla> tablas;
    QSet<QString> centros;
    Datos()
    {
        demo::CrearDemo(dir.path(), demo::Tamanio{});
        archivo = QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db"));
        ado::FijarRegistroServidores(QDir(dir.path()).filePath(QStringLiteral("servidores.ini")));
        gDB.gServidor = QString::fromLatin1(demo::ServidorDemo);
        gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
        gDB.gEsAdmin = true;
        gDB.OpenServerADODB(false, 3, QString(), false, false);
        AlmacenDistribucion a(gDB);
        centros = a.Centros();
        const QStringList elegidos{"11", "12", "13", "21", "31"};
        for (int t = 0; t < Tablas; ++t) {
            planilla::TablaPlanilla tabla;
            tabla.codigo = QString::number(100 + t);
            tabla.nombre = QStringLiteral("Tabla %1; \"importada\"").arg(t);
            tabla.concepto = QStringLiteral("Prorrateo número %1").arg(t);
            for (int l = 0; l < LineasPorTabla; ++l)
                tabla.lineas.push_back({elegidos[l], suite::Moneda::desdeEntero(20), 0});
            tablas.push_back(std::move(tabla));
        }
        planilla = planilla::Escribir(tablas, suite::RegionalActual().decimal);
        a.GrabarTablas(tablas);
    }
};

Datos& datos()
{
    static Datos d;
    return d;
}

void LeerPlanilla(benchmark::State& state)
{
    const Datos& d = datos();
    size_t filas = 0;
    for (auto _ : state)
        filas = size_t(planilla::Leer(d.planilla, [&](const QString& c) { return d.centros.contains(c.trimmed().toUpper()); }).filas);
    state.counters["filas"] = double(filas);
}

void ImportarAlmacen(benchmark::State& state)
{
    const Datos& d = datos();
    AlmacenDistribucion a(gDB);
    for (auto _ : state)
        a.GrabarTablas(d.tablas);
}

// The same batch the import sends, and its commit.
void ImportarDirecto(benchmark::State& state)
{
    const Datos& d = datos();
    Directo raw(d.archivo);
    const QChar decimal = suite::RegionalActual().decimal;
    QString lote = QStringLiteral("BEGIN TRANSACTION\r\n");
    AlmacenDistribucion a(gDB);
    for (const auto& t : d.tablas) {
        std::vector<std::pair<QString, QString>> lineas;
        for (const auto& l : t.lineas)
            lineas.emplace_back(l.centro, l.porcentaje.texto(decimal));
        lote += a.SentenciasGrabar(t.codigo, t.nombre, t.concepto, t.pideConfirmacion, lineas);
    }
    const auto sentencias = Traducir(lote + QStringLiteral("COMMIT TRANSACTION"));
    for (auto _ : state)
        ejecutarDirecto(raw.db, sentencias);
}

void ExportarAlmacen(benchmark::State& state)
{
    datos();
    AlmacenDistribucion a(gDB);
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = planilla::Escribir(a.TablasParaPlanilla(QString()), suite::RegionalActual().decimal).size();
    state.counters["bytes"] = double(bytes);
}

void ExportarDirecto(benchmark::State& state)
{
    Directo raw(datos().archivo);
    const auto sentencias = Traducir(AlmacenDistribucion::SentenciaPlanilla(QString()));
    for (auto _ : state)
        ejecutarDirecto(raw.db, sentencias);
}

} // namespace

BENCHMARK(LeerPlanilla)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ImportarAlmacen)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ImportarDirecto)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ExportarAlmacen)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ExportarDirecto)->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
