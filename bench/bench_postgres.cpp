// On a PostgreSQL server (VL_PG_PRUEBA="host:port", administrator postgres, PGPASSWORD): the
// recordset on 100,000 accounts with every field read, and one small statement's round trip,
// through the data layer (native engine, and ODBC with the PostgreSQL driver) and through
// libpq doing the same in the same run; beside the ODBC walk, a plain ODBC program fetching
// the same rows as text with bound columns and row arrays.
#include "Demo.h"
#include "data/ado/Ado.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/odbc/CadenaOdbc.h"
#include "data/ado/postgresql/Sesion.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <libpq-fe.h>
#include <malloc.h>
#include <sql.h>
#include <sqlext.h>
#include <vector>
#include <string>

namespace {

QString cadena() { return demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)); }

PGconn* libpq()
{
    const auto entrada = ado::BuscarServidor(QString::fromLatin1(demo::ServidorDemo));
    const QString c = ado::postgresql::MotorPostgres::CadenaLibpq(*entrada, QString::fromLatin1(demo::BaseDemo),
                                                                  QString::fromLatin1(demo::BaseDemo), QString::fromLatin1(demo::BaseDemo), 10);
    return PQconnectdb(c.toUtf8().constData());
}

// Every field of every account, through the data layer on a server of the registry.
void leerCuentas(benchmark::State& state, const QString& servidor)
{
    ado::Connection cn;
    cn.Open(demo::CadenaConexion(servidor, QString::fromLatin1(demo::BaseDemo)));
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM MA_CUENTAS"), &cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        const int n = rs.FieldCount();
        for (; !rs.EOF_(); rs.MoveNext())
            for (int i = 0; i < n; ++i)
                benchmark::DoNotOptimize(rs.Fields(i).Value());
        rs.Close();
    }
}

void RecordsetCapa(benchmark::State& state) { leerCuentas(state, QString::fromLatin1(demo::ServidorDemo)); }

// The same server through its ODBC driver, as a registry entry with Motor=ODBC names it.
void RecordsetOdbc(benchmark::State& state) { leerCuentas(state, QStringLiteral("DEMO_ODBC")); }

void RecordsetLibpq(benchmark::State& state)
{
    PGconn* cn = libpq();
    for (auto _ : state) {
        PGresult* r = PQexec(cn, "SELECT * FROM ma_cuentas");
        const int filas = PQntuples(r), n = PQnfields(r);
        for (int f = 0; f < filas; ++f)
            for (int i = 0; i < n; ++i) {
                std::string s(PQgetvalue(r, f, i), size_t(PQgetlength(r, f, i)));
                benchmark::DoNotOptimize(s);
            }
        PQclear(r);
    }
    PQfinish(cn);
}

// A plain ODBC program: the same rows as text, columns bound, 256 rows per fetch.
void RecordsetOdbcDirecto(benchmark::State& state)
{
    const auto entrada = ado::BuscarServidor(QStringLiteral("DEMO_ODBC"));
    const QString base = QString::fromLatin1(demo::BaseDemo);
    const std::u16string c = ado::odbc::CadenaRegistro(*entrada, base, base, base).toStdU16String();
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::u16string cc = c;
    if (!SQL_SUCCEEDED(SQLDriverConnectW(dbc, nullptr, reinterpret_cast<SQLWCHAR*>(cc.data()), SQLSMALLINT(cc.size()), nullptr, 0,
                                         nullptr, SQL_DRIVER_NOPROMPT))) {
        state.SkipWithError("sin conexión ODBC");
        return;
    }
    constexpr SQLULEN Filas = 256;
    constexpr SQLLEN Ancho = 128; // characters per value, more than any column of the table
    for (auto _ : state) {
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
        SQLULEN leidas = 0;
        SQLSetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(Filas), 0);
        SQLSetStmtAttr(st, SQL_ATTR_ROWS_FETCHED_PTR, &leidas, 0);
        std::u16string sql = u"SELECT * FROM ma_cuentas";
        SQLExecDirectW(st, reinterpret_cast<SQLWCHAR*>(sql.data()), SQLINTEGER(sql.size()));
        SQLSMALLINT n = 0;
        SQLNumResultCols(st, &n);
        std::vector<std::vector<SQLWCHAR>> datos(size_t(n), std::vector<SQLWCHAR>(Filas * Ancho));
        std::vector<std::vector<SQLLEN>> largos(static_cast<size_t>(n), std::vector<SQLLEN>(Filas));
        for (SQLSMALLINT i = 0; i < n; ++i)
            SQLBindCol(st, SQLUSMALLINT(i + 1), SQL_C_WCHAR, datos[size_t(i)].data(), Ancho * SQLLEN(sizeof(SQLWCHAR)),
                       largos[size_t(i)].data());
        while (SQL_SUCCEEDED(SQLFetch(st)))
            for (SQLULEN f = 0; f < leidas; ++f)
                for (SQLSMALLINT i = 0; i < n; ++i) {
                    const SQLLEN l = largos[size_t(i)][f];
                    std::u16string v(reinterpret_cast<const char16_t*>(&datos[size_t(i)][f * Ancho]),
                                     l > 0 ? size_t(l) / sizeof(SQLWCHAR) : 0);
                    benchmark::DoNotOptimize(v);
                }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

void IdaYVueltaCapa(benchmark::State& state)
{
    ado::Connection cn;
    cn.Open(cadena());
    for (auto _ : state) {
        ado::Recordset rs = cn.Execute(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'PERIODO'"));
        benchmark::DoNotOptimize(rs.Fields(0).Value());
    }
}

void IdaYVueltaLibpq(benchmark::State& state)
{
    PGconn* cn = libpq();
    for (auto _ : state) {
        PGresult* r = PQexec(cn, "SELECT valor FROM ta_configuracion WHERE clave = 'PERIODO'");
        std::string s(PQgetvalue(r, 0, 0));
        benchmark::DoNotOptimize(s);
        PQclear(r);
    }
    PQfinish(cn);
}

} // namespace

BENCHMARK(RecordsetCapa)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(RecordsetOdbc)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(RecordsetOdbcDirecto)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(RecordsetLibpq)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(IdaYVueltaCapa)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(IdaYVueltaLibpq)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    // One memory regime for every side, whatever ran before: large results are neither handed
    // back to the system nor mapped afresh on each pass (else the first benchmark of the run
    // pays page faults that the later ones do not).
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("VL_PG_PRUEBA")) {
        std::fprintf(stderr, "Falta VL_PG_PRUEBA=\"host:puerto\" de un servidor PostgreSQL (administrador postgres, su clave en "
                             "PGPASSWORD).\n");
        return 1;
    }
    qputenv("VL_MOTOR_PRUEBA", "PostgreSQL");
    QTemporaryDir dir;
    const QString registro = demo::CrearDemo(dir.path(), demo::Tamanio{100000, 0});
    {
        QFile f(registro);
        f.open(QIODevice::Append);
        const QString pg = qEnvironmentVariable("VL_PG_PRUEBA");
        f.write(QStringLiteral("[DEMO_ODBC]\nMotor=ODBC\nDriver=PostgreSQL Unicode\nServidor=%1\nPuerto=%2\n")
                    .arg(pg.section(u':', 0, 0), pg.section(u':', 1, 1))
                    .toUtf8());
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
