// Many workstations saving distribution tables on one PostgreSQL server (VL_PG_PRUEBA="host:port",
// administrator postgres, its password in PGPASSWORD). Run on demand:
//
//   bench_puestos [--rondas N] [--veces N] [--lineas N] [--odbc]
//
// 1. Throughput: 1, 4 and 16 processes each saving its own table (--lineas lines) --veces
//    times through the store, beside as many psql processes sending the very statements the
//    engine sends (locks included) and psql sending the saves without any lock, in the same
//    rounds; saves per second, min and median of the rounds. --odbc adds the store through
//    the server's ODBC driver.
// 2. One table: 4 processes saving table 1 250 times each with their own lines, while this
//    process reads the table over and over: every reading must show one save whole (0 mixed),
//    and every save must be reported done (0 lost).
// 3. A long import: the time of a save of another table alone, and while another process
//    imports 2,000 tables in one transaction.
#include "Demo.h"
#include "data/DB_Dll.h"
#include "data/ado/Ado.h"
#include "data/ado/servidores/PostgreSQL.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/Dialogos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Lineas = std::vector<std::pair<QString, QString>>;

// The letter that marks a client's centres (a centre has at most 4 characters).
QChar marcaDe(int numero) { return QChar(u'A' + numero % 26); }

// A table of n lines (up to 100) whose percentages add up to 100, its centres marked by
// the client's letter.
Lineas lineasDe(int n, int numero)
{
    Lineas l;
    for (int i = 0; i < n; ++i)
        l.emplace_back(marcaDe(numero) + QStringLiteral("%1").arg(i, 2, 10, QChar(u'0')),
                       i == 0 ? QString::number(100 - (n - 1)) : QStringLiteral("1"));
    return l;
}

QString nombreDe(int puesto, int vez) { return QStringLiteral("P%1 #%2").arg(puesto).arg(vez); }

// Dialogs of a workstation without a user: counted, answered "no".
class SinDialogos : public suite::IDialogos {
public:
    int vistos = 0;
    int MsgBox(const QString& texto, int, const QString&) override
    {
        ++vistos;
        std::fprintf(stderr, "%s\n", qPrintable(texto));
        return suite::vbNo;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> AbrirArchivo(const QString&, const QString&) override { return std::nullopt; }
};

void abrir(DB_Dll& db, const QString& servidor)
{
    db.gServidor = servidor;
    db.gDBName = db.gUsuario = db.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
    db.OpenServerADODB(false, 3, QString(), false, false);
}

// ---- The processes a run starts ------------------------------------------------------------

// --puesto SERVIDOR CODIGO VECES LINEAS NUMERO: saves the table VECES times; prints the
// saves done and the median milliseconds of one.
int puesto(const QStringList& a)
{
    SinDialogos sin;
    suite::FijarDialogos(&sin);
    DB_Dll db;
    abrir(db, a[0]);
    if (!db.gOpenFlag)
        return 2;
    AlmacenDistribucion almacen(db);
    const int veces = a[2].toInt(), numero = a[4].toInt();
    int hechas = 0;
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < veces; ++i) {
        t.start();
        if (almacen.Grabar(a[1], nombreDe(numero, i), QStringLiteral("banco"), true, lineasDe(a[3].toInt(), numero)))
            ++hechas;
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%d %.2f\n", hechas, ms[ms.size() / 2]);
    return hechas == veces && sin.vistos == 0 ? 0 : 1;
}

// --importar SERVIDOR TABLAS: one import of that many tables (codes 5000 on), 5 lines each.
int importar(const QStringList& a)
{
    SinDialogos sin;
    suite::FijarDialogos(&sin);
    DB_Dll db;
    abrir(db, a[0]);
    std::vector<planilla::TablaPlanilla> tablas;
    for (int i = 0; i < a[1].toInt(); ++i) {
        planilla::TablaPlanilla t{QString::number(5000 + i), QStringLiteral("Importada"), QString(), false, {}, 0};
        for (int l = 0; l < 5; ++l)
            t.lineas.push_back({QStringLiteral("I%1").arg(l), suite::Moneda::desdeEntero(20), 0});
        tablas.push_back(std::move(t));
    }
    QElapsedTimer t;
    t.start();
    const bool ok = AlmacenDistribucion(db).GrabarTablas(tablas);
    std::printf("%lld\n", t.elapsed());
    return ok ? 0 : 1;
}

// ---- The parent ---------------------------------------------------------------------------

struct Lado {
    QString nombre;
    std::vector<double> porSegundo;
};

QString programa;
QString pgHost, pgPuerto;

QProcess* iniciar(const QString& exe, const QStringList& args, const QString& clave = {})
{
    auto* p = new QProcess;
    if (!clave.isEmpty()) {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("PGPASSWORD"), clave);
        p->setProcessEnvironment(e);
    }
    p->start(exe, args);
    return p;
}

// Waits for every process; false when one failed. Its output goes to `salidas`.
bool esperar(std::vector<QProcess*>& ps, QStringList* salidas = nullptr)
{
    bool ok = true;
    for (QProcess* p : ps) {
        p->waitForFinished(-1);
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
            ok = false;
            std::fprintf(stderr, "%s: %s\n", qPrintable(p->program()), p->readAllStandardError().constData());
        }
        if (salidas)
            *salidas << QString::fromUtf8(p->readAllStandardOutput()).trimmed();
        delete p;
    }
    ps.clear();
    return ok;
}

// The statements the PostgreSQL engine sends for one save of the store, one a line, ending
// in ";" as psql reads them; without the lock statements when sinBloqueos.
QString guionPsql(const QString& codigo, int lineas, int numero, int veces, bool sinBloqueos)
{
    DB_Dll nadie; // SQLValue only
    AlmacenDistribucion a(nadie);
    QString g;
    for (int i = 0; i < veces; ++i) {
        const QString lote = a.LoteGrabar(codigo, nombreDe(numero, i), QStringLiteral("banco"), true,
                                          lineasDe(lineas, numero));
        const auto traducido = ado::postgresql::TraducirLote(lote);
        for (size_t k = 0; k < traducido.size(); ++k) {
            const auto& s = traducido[k];
            switch (s.accion) {
            case ado::tsql::Accion::Iniciar: {
                g += QStringLiteral("BEGIN;\n");
                const QStringList bloqueos = ado::postgresql::BloqueosDeTransaccion(ado::tsql::RecursosSiguientes(traducido, k));
                if (!sinBloqueos)
                    for (const QString& b : bloqueos)
                        g += b + QStringLiteral(";\n");
                break;
            }
            case ado::tsql::Accion::Sentencia: g += s.sql + QStringLiteral(";\n"); break;
            case ado::tsql::Accion::Bloquear:
            case ado::tsql::Accion::Confirmar:
            case ado::tsql::Accion::Deshacer: break; // not in a save's batch
            }
        }
        g += QStringLiteral("COMMIT;\n");
    }
    return g;
}

void informar(const Lado& l, int clientes, double referencia)
{
    std::vector<double> v = l.porSegundo;
    std::sort(v.begin(), v.end());
    const double med = v[v.size() / 2];
    std::printf("  %-28s %2d clientes: min %7.1f  mediana %7.1f grabaciones/s", qPrintable(l.nombre), clientes, v.front(), med);
    if (referencia > 0)
        std::printf("  (%.2fx psql)", med / referencia);
    std::printf("\n");
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int principal(int rondas, int veces, int lineas, bool odbc)
{
    QTemporaryDir dir;
    const QString registro = demo::CrearDemo(dir.path());
    {
        QFile f(registro);
        f.open(QIODevice::Append);
        f.write(QStringLiteral("[DEMO_ODBC]\nMotor=ODBC\nDriver=PostgreSQL Unicode\nServidor=%1\nPuerto=%2\n").arg(pgHost, pgPuerto).toUtf8());
    }
    qputenv("VL_SERVIDORES", registro.toLocal8Bit());
    const QString base = QString::fromLatin1(demo::BaseDemo);
    const QStringList psql{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                           QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("-h"), pgHost, QStringLiteral("-p"), pgPuerto,
                           QStringLiteral("-U"), base.toLower(), QStringLiteral("-d"), base.toLower()};

    std::printf("1. Cada cliente graba su propia tabla de %d líneas %d veces (procesos enteros, %d rondas)\n", lineas, veces, rondas);
    for (int clientes : {1, 4, 16}) {
        std::vector<QString> guiones[2];
        for (int c = 0; c < clientes; ++c)
            for (int sin = 0; sin < 2; ++sin) {
                const QString ruta = dir.filePath(QStringLiteral("guion_%1_%2.sql").arg(c).arg(sin));
                QFile f(ruta);
                f.open(QIODevice::WriteOnly);
                f.write(guionPsql(QString::number(1000 + c), lineas, c, veces, sin == 1).toUtf8());
                guiones[sin].push_back(ruta);
            }
        std::vector<Lado> lados{{QStringLiteral("prorrata (libpq)"), {}}, {QStringLiteral("psql, mismas sentencias"), {}},
                                {QStringLiteral("psql, sin bloqueos"), {}}};
        if (odbc)
            lados.push_back({QStringLiteral("prorrata (ODBC)"), {}});
        for (int r = 0; r < rondas; ++r) {
            for (size_t l = 0; l < lados.size(); ++l) {
                std::vector<QProcess*> ps;
                QElapsedTimer t;
                t.start();
                for (int c = 0; c < clientes; ++c) {
                    if (l == 0 || l == 3)
                        ps.push_back(iniciar(programa, {QStringLiteral("--puesto"), l == 0 ? QStringLiteral("DEMO") : QStringLiteral("DEMO_ODBC"),
                                                        QString::number(1000 + c), QString::number(veces), QString::number(lineas),
                                                        QString::number(c)}));
                    else
                        ps.push_back(iniciar(QStringLiteral("psql"), psql + QStringList{QStringLiteral("-f"), guiones[l - 1][size_t(c)]}, base));
                }
                if (!esperar(ps))
                    return 1;
                lados[l].porSegundo.push_back(double(clientes) * veces / (double(t.nsecsElapsed()) / 1e9));
            }
        }
        const double ref = mediana(lados[1].porSegundo);
        for (const Lado& l : lados)
            informar(l, clientes, &l == &lados[1] ? 0 : ref);
    }

    std::printf("2. Cuatro clientes graban la tabla 1 250 veces cada uno, con sus propias líneas\n");
    {
        std::vector<QProcess*> ps;
        for (int c = 0; c < 4; ++c)
            ps.push_back(iniciar(programa, {QStringLiteral("--puesto"), QStringLiteral("DEMO"), QStringLiteral("1"), QStringLiteral("250"),
                                            QString::number(lineas), QString::number(c)}));
        // Meanwhile: every reading shows one save whole.
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), base));
        int lecturas = 0, mezcladas = 0;
        const auto corriendo = [&] {
            return std::any_of(ps.begin(), ps.end(), [](QProcess* p) { return p->state() != QProcess::NotRunning; });
        };
        // A reading is mixed when its lines are not all of one save: one name, the centres of
        // that name's client, as many lines as a save writes.
        const auto mezclada = [&] {
            ado::Recordset rs = cn.Execute(AlmacenDistribucion::SentenciaLineas(QStringLiteral("1")));
            QString nombre;
            QChar marca;
            int n = 0;
            bool mezcla = false;
            for (; !rs.EOF_(); rs.MoveNext(), ++n) {
                const QString este = rs.Fields(QStringLiteral("NOMBRE")).Value().toString();
                const QString centro = rs.Fields(QStringLiteral("CCOSTO")).Value().toString();
                if (n == 0) {
                    nombre = este;
                    if (nombre.startsWith(u'P'))
                        marca = marcaDe(nombre.mid(1, nombre.indexOf(u' ') - 1).toInt());
                }
                mezcla = mezcla || este != nombre || (!marca.isNull() && !centro.startsWith(marca));
            }
            return mezcla || (!marca.isNull() && n != lineas);
        };
        while (corriendo()) {
            QCoreApplication::processEvents();
            ++lecturas;
            mezcladas += mezclada();
        }
        QStringList salidas;
        const bool ok = esperar(ps, &salidas);
        int hechas = 0;
        for (const QString& s : salidas)
            hechas += s.section(u' ', 0, 0).toInt();
        ++lecturas;
        mezcladas += mezclada();
        std::printf("  %d grabaciones hechas de 1000 (%d perdidas); %d lecturas durante y al final, %d mezcladas%s\n", hechas, 1000 - hechas,
                    lecturas, mezcladas, ok ? "" : "; algún cliente falló");
    }

    std::printf("3. Una grabación de otra tabla (%d líneas), sola y durante una importación de 2.000 tablas\n", lineas);
    {
        const auto grabaciones = [&](int n) {
            std::vector<QProcess*> ps{iniciar(programa, {QStringLiteral("--puesto"), QStringLiteral("DEMO"), QStringLiteral("900"),
                                                         QString::number(n), QString::number(lineas), QStringLiteral("99")})};
            QStringList s;
            esperar(ps, &s);
            return s.value(0).section(u' ', 1, 1).toDouble();
        };
        std::vector<double> sola, durante;
        for (int r = 0; r < rondas; ++r) {
            sola.push_back(grabaciones(20));
            std::vector<QProcess*> imp{iniciar(programa, {QStringLiteral("--importar"), QStringLiteral("DEMO"), QStringLiteral("2000")})};
            QThread::msleep(300); // the import under way: its locks taken, its statements running
            durante.push_back(grabaciones(20));
            const bool seguia = imp.front()->state() != QProcess::NotRunning;
            QStringList s;
            esperar(imp, &s);
            std::printf("  ronda %d: sola %.1f ms, durante la importación %.1f ms (mediana de 20); importación %s ms%s\n", r + 1,
                        sola.back(), durante.back(), qPrintable(s.value(0)), seguia ? "" : " (ya había terminado: ronda no válida)");
        }
        std::printf("  mediana de las rondas: sola %.1f ms, durante %.1f ms\n", mediana(sola), mediana(durante));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--puesto"))
        return puesto(args.mid(1));
    if (args.value(0) == QLatin1String("--importar"))
        return importar(args.mid(1));
    const QString pg = qEnvironmentVariable("VL_PG_PRUEBA");
    if (pg.isEmpty()) {
        std::fprintf(stderr, "Falta VL_PG_PRUEBA=\"host:puerto\" de un servidor PostgreSQL (administrador postgres, su clave en "
                             "PGPASSWORD).\n");
        return 1;
    }
    pgHost = pg.section(u':', 0, 0);
    pgPuerto = pg.section(u':', 1, 1);
    qputenv("VL_MOTOR_PRUEBA", "PostgreSQL");
    programa = app.applicationFilePath();
    int rondas = 3, veces = 100, lineas = 50;
    bool odbc = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--rondas"))
            rondas = args.value(++i).toInt();
        else if (args[i] == QLatin1String("--veces"))
            veces = args.value(++i).toInt();
        else if (args[i] == QLatin1String("--lineas"))
            lineas = args.value(++i).toInt();
        else if (args[i] == QLatin1String("--odbc"))
            odbc = true;
    }
    return principal(std::max(1, rondas), std::max(1, veces), std::max(2, lineas), odbc);
}
