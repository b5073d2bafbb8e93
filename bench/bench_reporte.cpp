// The distribution report of a table with 50 lines and 10,000 assigned accounts written as a
// PDF file: the whole call, its two halves (reading the rows, laying out and writing the
// pages), and beside them the sqlite3 C API running the same statements on the same file.
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/Ado.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/AlmacenDistribucion.h"
#include "report/ImpresoraReportes.h"
#include "startup/CNStuffContable.h"
#include "suite/Regional.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Lineas = 50;
constexpr int Cuentas = 10000;
const QString Codigo = QStringLiteral("50");

struct Datos {
    QTemporaryDir dir;
    QString archivo;
    QString pdf;
    suite::PedidoReporte pedido;
    Datos()
    {
        demo::CrearDemo(dir.path(), demo::Tamanio{Cuentas, Lineas});
        archivo = QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db"));
        pdf = QDir(dir.path()).filePath(QStringLiteral("tabla.pdf"));
        gDB.gServidor = QString::fromLatin1(demo::ServidorDemo);
        gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
        gDB.OpenServerADODB(false, 3, QString(), false, false);
        std::vector<std::pair<QString, QString>> lineas;
        ado::Recordset rs = gDB.gCnn.Execute(QStringLiteral("SELECT TOP %1 CODIGO FROM TA_CCOSTO ORDER BY CODIGO DESC").arg(Lineas));
        for (; !rs.EOF_(); rs.MoveNext())
            lineas.emplace_back(rs.Fields(0).Value().toString(), QStringLiteral("2"));
        AlmacenDistribucion(gDB).Grabar(Codigo, QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, lineas);
        gDB.gCnn.Execute(QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST = '  50' WHERE Codigo LIKE '6.%'"));
        suite::CarpetaReportes(QStringLiteral(CARPETA_REPORTES));
        gDecimalesSuite = 2;
        const QString f = QStringLiteral("TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO}))");
        pedido = {QStringLiteral("RP_CCDIST"),
                  {},
                  f + QStringLiteral(" >= '50'  AND ") + f + QStringLiteral(" <= '50' "),
                  QStringLiteral("DSN=EMPRESA_DEMO; UID=EMPRESA_DEMO; PWD=EMPRESA_DEMO"),
                  {QStringLiteral("NombreEmpresa = 'Comercial Andina S.A.'"), QStringLiteral("Direccion = 'Av. Corrientes 1234 5º B'"),
                   QStringLiteral("Localidad = 'Buenos Aires'"), QStringLiteral("NomRep = 'Tabla de Distribución de Centros de Costos'")},
                  {}};
    }
};

Datos& datos()
{
    static Datos d;
    return d;
}

void ReportePdf(benchmark::State& state)
{
    reporte::ImpresoraReportes impresora;
    for (auto _ : state)
        impresora.Imprimir(datos().pedido, {datos().pdf});
    const reporte::ReporteListo r = reporte::Preparar(datos().pedido);
    state.counters["cuentas"] = double(r.datos.detalles[0].filas.size());
    state.counters["lineas"] = double(r.datos.principal.filas.size());
    state.counters["KB"] = double(QFileInfo(datos().pdf).size()) / 1024;
}

void ReporteLeerDatos(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(reporte::Preparar(datos().pedido));
}

void ReporteEscribirPdf(benchmark::State& state)
{
    const reporte::ReporteListo r = reporte::Preparar(datos().pedido);
    for (auto _ : state)
        reporte::EscribirPdf(r, datos().pdf);
}

// The same statements, with the same parameters, through the sqlite3 C API.
void Directo(benchmark::State& state)
{
    ado::Connection cn;
    cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
    const reporte::Definicion d = reporte::CargarDefinicion(datos().pedido.nombre);
    const auto seleccion = reporte::LeerFormula(datos().pedido.seleccion);
    const reporte::Consultas c = reporte::ArmarConsultas(d, seleccion.get(), *cn.motor(), [](const QString& t) { return t; });
    std::vector<QByteArray> sentencias{c.principal.toUtf8()};
    for (const QString& s : c.detalles)
        sentencias.push_back(s.toUtf8());
    std::vector<QByteArray> parametros;
    for (const QVariant& p : c.parametros)
        parametros.push_back(p.toString().toUtf8());

    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(datos().archivo).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    ado::sqlite::MotorSqlite::Preparar(db, 30000);
    size_t filas = 0;
    for (auto _ : state) {
        filas = 0;
        for (const QByteArray& s : sentencias) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr);
            for (int i = 0; i < int(parametros.size()); ++i)
                sqlite3_bind_text(st, i + 1, parametros[size_t(i)].constData(), -1, SQLITE_STATIC);
            while (sqlite3_step(st) == SQLITE_ROW) {
                ++filas;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    benchmark::DoNotOptimize(sqlite3_column_text(st, i));
            }
            sqlite3_finalize(st);
        }
    }
    state.counters["filas"] = double(filas);
    sqlite3_close(db);
}

} // namespace

BENCHMARK(ReportePdf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ReporteLeerDatos)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ReporteEscribirPdf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Directo)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    suite::Regional r;
    suite::FijarRegional(r);
    datos();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
