// Opening a table with 50 lines and 10,000 (or the second argument's) assigned accounts in the editor, list filled and
// progress display shown: the time of each opening and the program's peak resident memory.
// Beside it, the sqlite3 C API running the same statements on the same file. Then 1,000
// accounts chosen together in one multiple lookup, assigned to table 1 (checks and save).
// With VL_MOTOR_PRUEBA=PostgreSQL and VL_PG_PRUEBA=host:port the company is on that server.
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/frmProrrata.h"
#include "startup/CNStuffContable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double directo(const QString& archivo, const QStringList& centros)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    ado::sqlite::MotorSqlite::Preparar(db, 30000);
    auto correr = [&](const QString& tsql) {
        for (const auto& s : ado::sqlite::TraducirLote(tsql)) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, s.sql.toUtf8().constData(), -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    sqlite3_column_text(st, i);
            sqlite3_finalize(st);
        }
    };
    QElapsedTimer t;
    t.start();
    correr(QStringLiteral("SELECT TOP 1  * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='50'"));
    correr(AlmacenDistribucion::SentenciaLineas(QStringLiteral("50")));
    for (const QString& c : centros)
        correr(QStringLiteral("SELECT TOP 1 * FROM TA_CCOSTO with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='%1' ").arg(c));
    correr(AlmacenDistribucion::SentenciaCuentas(QStringLiteral("50")));
    const double ms = t.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int tamanio = argc > 2 ? std::max(2000, atoi(argv[2])) : 10000; // accounts of the company
    demo::CrearDemo(dir.path(), demo::Tamanio{tamanio, 50});
    QStringList centros;
    {
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
        ado::Recordset rs = cn.Execute(QStringLiteral("SELECT TOP 50 CODIGO FROM TA_CCOSTO ORDER BY CODIGO DESC"));
        for (; !rs.EOF_(); rs.MoveNext())
            centros << rs.Fields(0).Value().toString();
        cn.Execute(QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST = '  50' WHERE Codigo LIKE '6.%'"));
    }
    frmProrrata form;
    form.Form_Load(QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ADMIN; orbe@ ;"));
    std::vector<std::pair<QString, QString>> lineas;
    for (const QString& c : centros)
        lineas.emplace_back(c, QStringLiteral("2"));
    AlmacenDistribucion().Grabar(QStringLiteral("50"), QStringLiteral("Grande"), QStringLiteral("50 líneas"), true, lineas);
    form.show();
    app.processEvents();
    // The peak from here on: the editor's, without the company's creation above.
    QFile picos(QStringLiteral("/proc/self/clear_refs"));
    if (picos.open(QIODevice::WriteOnly))
        picos.write("5");
    picos.close();

    const int veces = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    std::vector<double> editor, crudo;
    int cuentas = 0;
    for (int i = 0; i < veces; ++i) {
        form.txtFields[0]->setText(QStringLiteral("50"));
        QElapsedTimer t;
        t.start();
        form.ValidarCampo(form.txtFields[0]); // the code confirmed: look up, reset, load
        app.processEvents();
        editor.push_back(t.nsecsElapsed() / 1e6);
        cuentas = form.mdlCuentas->rowCount();
        crudo.push_back(directo(QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db")), centros));
    }
    // 1,000 accounts of table 50 freed, chosen together, assigned to table 1, freed again.
    QStringList libres;
    {
        ado::Recordset rs = gDB.gCnn.Execute(QStringLiteral("SELECT TOP 1000 Codigo FROM MA_CUENTAS WHERE CC_DIST = '  50' "
                                                            "AND TITULO = 0 ORDER BY Codigo DESC"));
        for (; !rs.EOF_(); rs.MoveNext())
            libres << rs.Fields(0).Value().toString();
    }
    const QString enLista = QStringLiteral("('") + libres.join(QStringLiteral("','")) + QStringLiteral("')");
    const QString liberar = QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST = NULL WHERE Codigo IN ") + enLista;
    gDB.gCnn.Execute(liberar);
    std::vector<double> asignar;
    int asignadas = 0;
    for (int i = 0; i < std::max(1, veces / 3); ++i) {
        form.txtFields[0]->setText(QStringLiteral("1"));
        form.ValidarCampo(form.txtFields[0]);
        app.processEvents();
        form.SSTab1->setCurrentIndex(1);
        const int antes = form.mdlCuentas->rowCount();
        QElapsedTimer t;
        t.start();
        form.AgregarVarias(libres);
        asignar.push_back(t.nsecsElapsed() / 1e6);
        asignadas = form.mdlCuentas->rowCount() - antes;
        gDB.gCnn.Execute(liberar);
    }
    std::printf("asignar %d cuentas elegidas juntas: mediana %.1f ms, mínimo %.1f ms\n", asignadas, mediana(asignar),
                *std::min_element(asignar.begin(), asignar.end()));

    double picoEditor = 0;
    QFile estado(QStringLiteral("/proc/self/status"));
    if (estado.open(QIODevice::ReadOnly))
        for (const QByteArray& l : estado.readAll().split('\n'))
            if (l.startsWith("VmHWM:"))
                picoEditor = l.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    std::printf("memoria máxima desde la ventana abierta: %.1f MB\n", picoEditor);
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("abrir la tabla (50 líneas, %d cuentas): editor mediana %.1f ms; sqlite3 directo mediana %.1f ms; "
                "memoria máxima %.1f MB (%d corridas)\n",
                cuentas, mediana(editor), mediana(crudo), uso.ru_maxrss / 1024.0, veces);
    return 0;
}
