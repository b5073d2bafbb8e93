// The distribution store on the demo company: statements, save and reload, delete,
// assignment, account lookup, quotes, a failed save, two workstations saving at once, and a
// save made while another workstation's transaction is open.
#include "DialogosGuionados.h"
#include "Puestos.h"
#include "GDBPrueba.h"
#include "data/ado/servidores/PostgreSQL.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/Progreso.h"
#include "suite/Regional.h"

#include <QFile>
#include <QTest>
#include <QThread>
#include <atomic>
#include <unistd.h>

using Lineas = std::vector<std::pair<QString, QString>>;

namespace {
QString lineasDe(const QString& codigo)
{
    ado::Recordset rs = gDB.gCnn.Execute(AlmacenDistribucion::SentenciaLineas(codigo));
    QStringList l;
    for (; !rs.EOF_(); rs.MoveNext())
        l << rs.Fields(QStringLiteral("CCOSTO")).Value().toString() + u'=' + rs.Fields(QStringLiteral("PORCENTAJE")).Value().toString();
    return l.join(u' ');
}
int valor(const QString& sql) { return EmpresaPrueba::valor(gDB.gCnn, sql).toInt(); }
} // namespace

class TstAlmacen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sentencias_data();
    void sentencias();
    void grabarYCargar();
    void grillaVacia();
    void borrar();
    void asignarYQuitar();
    void buscarCuenta_data();
    void buscarCuenta();
    void comillas();
    void grabacionFallida();
    void sinEscritura_data();
    void sinEscritura();
    void dosPuestos();
    void grabarConHuella();
    void mientrasOtroPuestoEscribe_data();
    void mientrasOtroPuestoEscribe();
    void init();
    void cleanupTestCase();

private:
    // gDB on one company for the rows of buscarCuenta, which only read it; let go before any
    // other test builds its own (on a server it would replace this one).
    std::unique_ptr<GDBPrueba> compartida_;
};

void TstAlmacen::init()
{
    if (qstrcmp(QTest::currentTestFunction(), "buscarCuenta") != 0)
        cleanupTestCase();
}

void TstAlmacen::cleanupTestCase() { compartida_.reset(); }

void TstAlmacen::sentencias_data()
{
    QTest::addColumn<QString>("hecha");
    QTest::addColumn<QString>("esperada");
    EntornoPrueba e;
    AlmacenDistribucion a;
    QTest::newRow("líneas de una tabla") << AlmacenDistribucion::SentenciaLineas("1") << "SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1' ORDER BY ID";
    QTest::newRow("cuentas de una tabla") << AlmacenDistribucion::SentenciaCuentas(" 12 ") << "SELECT CODIGO,DESCRIPCION FROM MA_CUENTAS WHERE CC_DIST='  12' ORDER BY CODIGO";
    QTest::newRow("grabar, sin la línea vacía") << a.LoteGrabar("1", "Gastos", "Prorrateo", true, {{"11", "40,5"}, {" ", "9"}, {"12", "59,5"}})
                       << "BEGIN TRANSACTION\r\n"
                          "EXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:   1', @LockMode='Exclusive', @LockOwner='Transaction'\r\n"
                          "DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'\r\n"
                          "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) VALUES('   1','Gastos','Prorrateo','11',40.5,1)\r\n"
                          "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) VALUES('   1','Gastos','Prorrateo','12',59.5,1)\r\n";
    QTest::newRow("borrar") << AlmacenDistribucion::LoteBorrar("7")
                       << "BEGIN TRANSACTION\r\n"
                          "EXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:   7', @LockMode='Exclusive', @LockOwner='Transaction'\r\n"
                          "UPDATE MA_CUENTAS SET CC_DIST=NULL WHERE CC_DIST='   7'\r\nDELETE MA_CUENTAS_CCDIST WHERE CODIGO='   7'";
    QTest::newRow("bloqueo de una tabla, en mayúsculas") << AlmacenDistribucion::SentenciaBloqueo("b'1 ")
                       << "EXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST: B''1', @LockMode='Exclusive', @LockOwner='Transaction'";
    planilla::TablaPlanilla siete{"7", "Siete", "", true, {{"11", suite::Moneda::desdeEntero(100), 2}}, 2};
    planilla::TablaPlanilla tres{"3", "Tres", "", false, {{"12", suite::Moneda::desdeEntero(100), 3}}, 3};
    QTest::newRow("importación: los bloqueos primero") << a.LoteGrabarTablas({siete, tres})
                       << "BEGIN TRANSACTION\r\n"
                          "EXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:   7', @LockMode='Exclusive', @LockOwner='Transaction'\r\n"
                          "EXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:   3', @LockMode='Exclusive', @LockOwner='Transaction'\r\n"
                          "DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   7'\r\n"
                          "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) VALUES('   7','Siete','','11',100,1)\r\n"
                          "DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   3'\r\n"
                          "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) VALUES('   3','Tres','','12',100,0)\r\n";
    QTest::newRow("asignar cuenta") << AlmacenDistribucion::SentenciaAsignar("5.1.01.003", "2") << "UPDATE MA_CUENTAS SET CC_DIST ='   2' WHERE CODIGO ='5.1.01.003'";
    QTest::newRow("desasignar cuenta") << AlmacenDistribucion::SentenciaDesasignar("5.1.01.003") << "UPDATE MA_CUENTAS SET CC_DIST=NULL WHERE CODIGO='5.1.01.003'";
    QTest::newRow("tabla grabada") << AlmacenDistribucion::SentenciaGrabada("3") << "SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO='   3'";
    QTest::newRow("líneas dentro de la grabación")
        << AlmacenDistribucion::SentenciaLineasBloqueadas("3")
        << "SELECT * FROM MA_CUENTAS_CCDIST WITH (UPDLOCK, HOLDLOCK) WHERE CODIGO='   3' ORDER BY ID";
    QTest::newRow("planilla de una tabla") << AlmacenDistribucion::SentenciaPlanilla(" 3")
                       << "SELECT CODIGO,NOMBRE,CONCEPTO,PIDECONFIRMACION,CCOSTO,PORCENTAJE FROM MA_CUENTAS_CCDIST WHERE CODIGO='   3' ORDER BY CODIGO,ID";
    QTest::newRow("planilla de todas") << AlmacenDistribucion::SentenciaPlanilla("")
                       << "SELECT CODIGO,NOMBRE,CONCEPTO,PIDECONFIRMACION,CCOSTO,PORCENTAJE FROM MA_CUENTAS_CCDIST ORDER BY CODIGO,ID";
    QTest::newRow("lista de tablas") << AlmacenDistribucion::SentenciaTablas() << "SELECT CODIGO,NOMBRE,CONCEPTO FROM MA_CUENTAS_CCDIST GROUP BY CODIGO,NOMBRE,CONCEPTO ORDER BY CODIGO";
}

void TstAlmacen::sentencias()
{
    QFETCH(QString, hecha);
    QFETCH(QString, esperada);
    QCOMPARE(hecha, esperada);
}

void TstAlmacen::grabarYCargar()
{
    GDBPrueba g;
    DialogosGuionados d;
    AlmacenDistribucion a;
    // Lines only on grid rows 3 and 7.
    Lineas grilla(8);
    grilla[2] = {"211", "70"};
    grilla[6] = {"212", "30"};
    QVERIFY(a.Grabar("9", "Zonas", "Por zona", true, grilla));
    QCOMPARE(lineasDe("9"), QStringLiteral("211=70 212=30"));
    TablaDistribucion t = a.Cargar("9");
    QCOMPARE(t.nombre, QStringLiteral("Zonas"));
    QCOMPARE(t.concepto, QStringLiteral("Por zona"));
    QVERIFY(t.pideConfirmacion);
    QCOMPARE(int(t.lineas.size()), 2);
    QCOMPARE(t.lineas[0].centro, QStringLiteral("211"));
    QCOMPARE(t.lineas[0].descripcion, QStringLiteral("Ventas zona norte"));
    QCOMPARE(t.lineas[0].porcentaje, QStringLiteral("70,00"));
    QCOMPARE(t.lineas[1].porcentaje, QStringLiteral("30,00"));
    QVERIFY(t.cuentas.empty());

    // Saved again without the check box; a NULL flag reads back cleared.
    QVERIFY(a.Grabar("9", "Zonas", "Por zona", false, {{"211", "33,33"}, {"212", "66,67"}}));
    QVERIFY(!a.Cargar("9").pideConfirmacion);
    gDB.gCnn.Execute(QStringLiteral("UPDATE MA_CUENTAS_CCDIST SET PIDECONFIRMACION = NULL WHERE CODIGO = '   9'"));
    t = a.Cargar("9");
    QVERIFY(!t.pideConfirmacion);
    QCOMPARE(t.lineas[0].porcentaje, QStringLiteral("33,33"));

    // A demo table with its accounts, in code order; the progress display is closed after.
    t = a.Cargar("1");
    QCOMPARE(int(t.lineas.size()), 5);
    QCOMPARE(int(t.cuentas.size()), 3);
    QCOMPARE(t.cuentas.codigo(0), QStringLiteral("5.1.01.003"));
    QCOMPARE(t.cuentas.descripcion(0), QStringLiteral("Alquileres"));
    QVERIFY(!suite::Progreso::instancia().activo());
    QVERIFY(a.ExisteTabla(" 1"));
    QVERIFY(a.TablaGrabada("1"));
    QVERIFY(!a.ExisteTabla("77"));
    QVERIFY(!a.TablaGrabada("77"));
    QVERIFY(d.vistos().isEmpty());
}

void TstAlmacen::grillaVacia()
{
    GDBPrueba g;
    DialogosGuionados d;
    d.responder(suite::vbOK);
    AlmacenDistribucion a;
    g.enviadas();
    QVERIFY(!a.Grabar("1", "x", "y", false, Lineas(50, {"  ", "10"})));
    QCOMPARE(d.ultimo().texto, AlmacenDistribucion::MensajeSinLineas);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al Usuario"));
    QCOMPARE(d.ultimo().estilo, 64);
    QVERIFY(g.enviadas().isEmpty()); // not even the delete
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1'")), 5);
}

void TstAlmacen::borrar()
{
    GDBPrueba g;
    DialogosGuionados d;
    AlmacenDistribucion a;
    d.responder(suite::vbNo);
    QCOMPARE(a.Borrar("1"), AlmacenDistribucion::Borrado::Cancelado);
    QCOMPARE(d.ultimo().texto, QStringLiteral("¿Desea eliminar la Tabla de Distribución de Centros de Costos Código:   1 ?\n"
                                              "Se desafectarán las cuentas asignadas a dicha tabla.\nConfirma?"));
    QCOMPARE(d.ultimo().estilo, 4 + 32);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Atención"));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CC_DIST='   1'")), 3);

    d.responder(suite::vbYes);
    QCOMPARE(a.Borrar("1"), AlmacenDistribucion::Borrado::Hecho);
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CC_DIST='   1'")), 0);
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1'")), 0);
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CC_DIST='   2'")), 2); // others untouched
}

void TstAlmacen::asignarYQuitar()
{
    GDBPrueba g;
    AlmacenDistribucion a;
    a.Asignar(QStringLiteral("5.1.01.006"), QStringLiteral("2"));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo='5.1.01.006'")).toString(),
             QStringLiteral("   2"));
    a.Desasignar(QStringLiteral("5.1.01.003")); // it pointed to table 1
    QVERIFY(!EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo='5.1.01.003'")).isValid());
    QCOMPARE(int(a.Cargar("2").cuentas.size()), 3);

    // Several at once: all, or none when one was taken by another table since it was checked.
    DialogosGuionados d;
    QVERIFY(a.AsignarVarias({QStringLiteral("1.1.01.001"), QStringLiteral("1.1.01.002")}, QStringLiteral("2")));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CC_DIST='   2'")), 5);
    d.responder(suite::vbOK);
    QVERIFY(!a.AsignarVarias({QStringLiteral("1.1.02.001"), QStringLiteral("5.1.01.004")}, QStringLiteral("2")));
    QCOMPARE(d.ultimo().texto, AlmacenDistribucion::MensajeCuentasTomadas);
    QVERIFY(!EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo='1.1.02.001'")).isValid());
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo='5.1.01.004'")).toString(),
             QStringLiteral("   1"));
}

void TstAlmacen::buscarCuenta_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("opcionalPrimero");
    QTest::addColumn<bool>("hallada");
    QTest::addColumn<QString>("cuenta");
    QTest::addColumn<bool>("opcional");
    QTest::newRow("por el código") << "5.1.01.003" << false << true << "5.1.01.003" << false;
    QTest::newRow("por el código opcional") << "5101003" << false << true << "5.1.01.003" << true;
    QTest::newRow("opcional primero") << "5101004" << true << true << "5.1.01.004" << true;
    QTest::newRow("opcional primero, luego el código") << "5.1.01.004" << true << true << "5.1.01.004" << true;
    QTest::newRow("inexistente") << "9.9.99" << false << false << "9.9.99" << false;
    QTest::newRow("confidencial para este usuario") << "5.4.01.001" << false << false << "5.4.01.001" << false;
    QTest::newRow("la marca escrita es solo texto") << "5.4.01.001@admin_" << false << false << "5.4.01.001@admin_" << false;
    QTest::newRow("la marca escrita, opcional primero") << "5401001@ADMIN_" << true << false << "5401001@ADMIN_" << true;
}

void TstAlmacen::buscarCuenta()
{
    QFETCH(QString, texto);
    QFETCH(bool, opcionalPrimero);
    QFETCH(bool, hallada);
    QFETCH(QString, cuenta);
    QFETCH(bool, opcional);
    if (!compartida_)
        compartida_ = std::make_unique<GDBPrueba>();
    ado::Recordset rs;
    QString buscada = texto;
    bool comoOpcional = opcionalPrimero;
    QCOMPARE(BuscarCuenta(buscada, rs, true, comoOpcional), hallada);
    QCOMPARE(buscada, cuenta);
    QCOMPARE(comoOpcional, opcional);
    if (hallada)
        QCOMPARE(rs.Fields(QStringLiteral("Codigo")).Value().toString(), buscada);
}

void TstAlmacen::comillas()
{
    GDBPrueba g;
    DialogosGuionados d;
    AlmacenDistribucion a;
    gDB.gCnn.Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('O''1', 'Centro con comilla')\r\n"
                                    "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('D''1', 'Cuenta con comilla')"));
    QVERIFY(a.Grabar("5", "D'Angelo", "Gastos 'varios'", false, {{"O'1", "100"}}));
    TablaDistribucion t = a.Cargar("5");
    QCOMPARE(t.nombre, QStringLiteral("D'Angelo"));
    QCOMPARE(t.concepto, QStringLiteral("Gastos 'varios'"));
    QCOMPARE(t.lineas[0].centro, QStringLiteral("O'1"));
    QCOMPARE(t.lineas[0].descripcion, QStringLiteral("Centro con comilla"));
    ado::Recordset rs;
    QVERIFY(a.ExisteCentro(QStringLiteral("O'1"), &rs));
    QCOMPARE(rs.Fields(QStringLiteral("Descripcion")).Value().toString(), QStringLiteral("Centro con comilla"));
    rs.Close();
    a.Asignar(QStringLiteral("D'1"), QStringLiteral("5"));
    QCOMPARE(int(a.Cargar("5").cuentas.size()), 1);
    QString cuenta = QStringLiteral("D'1");
    bool opcional = false;
    QVERIFY(BuscarCuenta(cuenta, rs, true, opcional));
    QVERIFY(d.vistos().isEmpty());
}

void TstAlmacen::grabacionFallida()
{
    GDBPrueba g;
    DialogosGuionados d;
    d.responder(suite::vbOK);
    AlmacenDistribucion a;
    const QString antes = lineasDe("1");
    QVERIFY(!a.Grabar("1", QString(61, u'n'), "c", true, {{"11", "50"}, {"12", "50"}}));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("ATENCIÓN"));
    QCOMPARE(d.ultimo().estilo, 16);
    QVERIFY2(d.ultimo().texto.contains(QStringLiteral("truncarían")), qPrintable(d.ultimo().texto));
    QCOMPARE(lineasDe("1"), antes);
    // The connection is usable afterwards: no transaction left open.
    QVERIFY(a.Grabar("1", "n", "c", true, {{"11", "100"}}));
    QCOMPARE(lineasDe("1"), QStringLiteral("11=100"));
    // A connection closed before a save (the link gone since) is opened again first: nothing
    // of the save had run, so it goes through on the new one, without a question.
    gDB.gCnn.Close();
    QVERIFY(a.Grabar("1", "n", "c", true, {{"12", "100"}}));
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(lineasDe("1"), QStringLiteral("12=100"));
    QCOMPARE(d.vistos().size(), 1); // the truncation's message only
}

void TstAlmacen::sinEscritura_data()
{
    QTest::addColumn<bool>("lleno"); // else read-only
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("disco lleno") << true << "no queda espacio en el disco";
    QTest::newRow("archivo de sólo lectura") << false << "es de sólo lectura";
}

// A company file that cannot grow or cannot be written: the save fails with a Spanish
// message, the previous lines stay whole, and once the file can be written again the next
// save goes through on the same session.
void TstAlmacen::sinEscritura()
{
    if (!PeculiaridadesDelMotor().basesEnArchivos)
        QSKIP("a company file of the embedded engine");
    QFETCH(bool, lleno);
    QFETCH(QString, mensaje);
    GDBPrueba g;
    const QString archivo = g.ruta(QStringLiteral("EMPRESA_DEMO.db"));
    QVERIFY(QFile::exists(archivo));
    const QString antes = lineasDe("1");
    const auto pragma = [](const QString& sentencia) {
        long n = 0;
        QString s = sentencia;
        gDB.EjecutaConsultaSQL(s, n);
        return gDB.gCnn.Errors().Count() == 0;
    };
    // The file's mode does not bind root: there the engine is told to refuse writes instead.
    const bool root = ::geteuid() == 0;
    if (lleno) {
        // Not one page more than the file has now.
        QVERIFY(pragma(QStringLiteral("PRAGMA max_page_count = ")
                       + EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("PRAGMA page_count")).toString()));
    } else {
        QVERIFY(QFile::setPermissions(archivo, QFileDevice::ReadOwner));
        if (root)
            QVERIFY(pragma(QStringLiteral("PRAGMA query_only = ON")));
        else
            gDB.gCnn.Close(); // opened again, read-only, by the save
    }
    Lineas muchas;
    for (int k = 0; k < 400; ++k)
        muchas.push_back({k % 2 ? "11" : "12", "0,25"});
    DialogosGuionados d;
    d.responder(suite::vbOK);
    AlmacenDistribucion a;
    QVERIFY(!a.Grabar("1", "Sin lugar", "c", true, muchas));
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("ATENCIÓN"));
    QVERIFY2(d.ultimo().texto.contains(mensaje), qPrintable(d.ultimo().texto));
    QCOMPARE(lineasDe("1"), antes);

    if (lleno) {
        QVERIFY(pragma(QStringLiteral("PRAGMA max_page_count = 1073741823")));
    } else {
        QVERIFY(QFile::setPermissions(archivo, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        if (root)
            QVERIFY(pragma(QStringLiteral("PRAGMA query_only = OFF")));
        else
            gDB.gCnn.Close();
    }
    QVERIFY(a.Grabar("1", "Con lugar", "c", true, muchas));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1' AND NOMBRE='Con lugar'")), 400);
    QCOMPARE(d.vistos().size(), 1);
}

void TstAlmacen::dosPuestos()
{
    // Two workstations save the same table over and over at the same time: the table always
    // ends with one complete set of lines.
    GDBPrueba g;
    SinDialogos sin;
    const Lineas juegos[] = {{{"11", "30"}, {"12", "20"}, {"13", "10"}, {"21", "25"}, {"31", "15"}}, {{"211", "60"}, {"212", "40"}}};
    std::atomic<int> fallos{0};
    QVERIFY(enDosPuestos(sin, [&](DB_Dll& db, int puesto) {
        AlmacenDistribucion a(db);
        for (int i = 0; i < 40; ++i)
            if (!a.Grabar("1", puesto == 0 ? "A" : "B", "concurrente", true, juegos[puesto]))
                ++fallos;
    }, 60000));
    QCOMPARE(fallos.load(), 0);
    QCOMPARE(sin.vistos.load(), 0);
    const QString final = lineasDe("1");
    QVERIFY2(final == QStringLiteral("11=30 12=20 13=10 21=25 31=15") || final == QStringLiteral("211=60 212=40"), qPrintable(final));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(DISTINCT NOMBRE) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1'")), 1);
}

// A save that expects the table as it was loaded writes nothing when another workstation
// (its own connection) saved or deleted it meanwhile, and tells what it holds now.
void TstAlmacen::grabarConHuella()
{
    GDBPrueba g;
    DialogosGuionados d;
    DB_Dll otro;
    abrirPuesto(otro);
    AlmacenDistribucion aqui, alla(otro);
    const Lineas nuestras{{"311", "50"}, {"32", "50"}};
    const QByteArray cargada = aqui.Cargar("3").huella;
    QCOMPARE(cargada, aqui.Huella("3"));
    QVERIFY(!cargada.isEmpty());
    QVERIFY(aqui.Huella("8").isEmpty());

    // Another workstation changes a percentage in its fourth decimal.
    QVERIFY(alla.Grabar("3", "Producción", "Mantenimiento y consumos", false, {{"311", "33,3301"}, {"312", "33,33"}, {"32", "33,3399"}}));
    const QString deAlla = lineasDe("3");
    QByteArray actual;
    QCOMPARE(aqui.Grabar("3", "Nuestra", "", false, nuestras, cargada, actual), AlmacenDistribucion::Grabado::Cambiada);
    QCOMPARE(lineasDe("3"), deAlla);
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE NOMBRE='Nuestra'")), 0);
    QCOMPARE(actual, alla.Huella("3"));

    // Agreeing to what is there now, the save goes through and hands back the new checksum.
    QByteArray escrita;
    QCOMPARE(aqui.Grabar("3", "Nuestra", "", false, nuestras, actual, escrita), AlmacenDistribucion::Grabado::Hecho);
    QCOMPARE(escrita, alla.Huella("3"));
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE NOMBRE='Nuestra'")), 2);

    // A new table (nothing expected) whose code another workstation took meanwhile.
    QVERIFY(alla.Grabar("8", "Ocho", "", false, {{"11", "100"}}));
    QCOMPARE(aqui.Grabar("8", "Nuestra", "", false, nuestras, QByteArray(), actual), AlmacenDistribucion::Grabado::Cambiada);
    QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   8' AND NOMBRE='Ocho'")), 1);
    QCOMPARE(d.vistos().size(), 0);
}

void TstAlmacen::mientrasOtroPuestoEscribe_data()
{
    QTest::addColumn<QString>("abierta"); // the transaction another workstation holds open
    QTest::addColumn<QString>("codigo");  // the table saved here meanwhile
    QTest::addColumn<bool>("espera");     // the save waits for the other's COMMIT

    QTest::newRow("grabación de la misma tabla") << "grabar 1" << "1" << true;
    QTest::newRow("grabación de otra tabla") << "grabar 1" << "2" << false;
    QTest::newRow("borrado de la misma tabla") << "borrar 1" << "1" << true;
    QTest::newRow("borrado de otra tabla") << "borrar 1" << "2" << false;
    QTest::newRow("importación que la trae") << "importar" << "150" << true;
    QTest::newRow("importación que no la trae") << "importar" << "2" << false;
    // Past that many tables a transaction holds the whole database, as any other write does.
    QTest::newRow("bloqueo de más tablas que el máximo") << "bloquear muchas" << "2" << true;
    QTest::newRow("asignación de varias cuentas") << "asignar" << "2" << true;
}

// A workstation saves a table while another workstation's transaction is open: it goes
// through at once when that transaction holds other tables, and waits for its end when it
// holds the same table or the whole database (on engines with one writer at a time, always).
// Either way each table ends with one workstation's lines, whole.
void TstAlmacen::mientrasOtroPuestoEscribe()
{
    QFETCH(QString, abierta);
    QFETCH(QString, codigo);
    QFETCH(bool, espera);
    GDBPrueba g;
    SinDialogos sin;
    suite::FijarDialogos(&sin);
    DB_Dll otro;
    abrirPuesto(otro);
    AlmacenDistribucion alla(otro);
    std::vector<planilla::TablaPlanilla> importadas;
    for (int c = 100; c < 300; ++c)
        importadas.push_back({QString::number(c), "Importada", "", false, {{"12", suite::Moneda::desdeEntero(100), 2}}, 2});
    QString lote;
    if (abierta == QLatin1String("grabar 1")) {
        lote = alla.LoteGrabar("1", "Allá", "", false, {{"211", "60"}, {"212", "40"}});
    } else if (abierta == QLatin1String("borrar 1")) {
        lote = AlmacenDistribucion::LoteBorrar("1");
    } else if (abierta == QLatin1String("importar")) {
        lote = alla.LoteGrabarTablas(importadas);
    } else if (abierta == QLatin1String("bloquear muchas")) {
        lote = QStringLiteral("BEGIN TRANSACTION\r\n");
        for (int c = 0; c <= ado::postgresql::MaximoRecursos; ++c)
            lote += AlmacenDistribucion::SentenciaBloqueo(QString::number(1000 + c)) + QStringLiteral("\r\n");
    } else {
        lote = QStringLiteral("BEGIN TRANSACTION\r\n") + AlmacenDistribucion::SentenciaAsignar("5.1.01.003", "1");
    }
    long n = 0;
    otro.EjecutaConsultaSQL(lote, n);
    QCOMPARE(otro.gCnn.Errors().Count(), 0);

    std::atomic<bool> grabada{false};
    std::unique_ptr<QThread> aqui(QThread::create([&] {
        DB_Dll db;
        abrirPuesto(db);
        grabada = AlmacenDistribucion(db).Grabar(codigo, "Aquí", "", false, {{"11", "100"}});
    }));
    // However the checks below end, the other transaction ends and the save is waited for.
    struct Fin {
        DB_Dll& otro;
        QThread& aqui;
        bool abierta = true;
        void confirmar()
        {
            QString commit = QStringLiteral("COMMIT TRANSACTION");
            long m = 0;
            otro.EjecutaConsultaSQL(commit, m);
            abierta = false;
        }
        ~Fin()
        {
            if (abierta)
                confirmar();
            aqui.wait();
        }
    } fin{otro, *aqui};
    aqui->start();
    if (espera || PeculiaridadesDelMotor().unEscritorALaVez)
        QVERIFY2(!aqui->wait(1000), "no esperó a la transacción del otro puesto");
    else
        QVERIFY2(aqui->wait(20000), "esperó a la transacción del otro puesto");
    fin.confirmar();
    QCOMPARE(otro.gCnn.Errors().Count(), 0);
    QVERIFY(aqui->wait(60000));
    suite::FijarDialogos(nullptr);
    QVERIFY(grabada);
    QCOMPARE(sin.vistos.load(), 0);
    QCOMPARE(lineasDe(codigo), QStringLiteral("11=100"));
    if (abierta == QLatin1String("grabar 1") && codigo != QLatin1String("1"))
        QCOMPARE(lineasDe("1"), QStringLiteral("211=60 212=40"));
    if (abierta == QLatin1String("importar"))
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE NOMBRE='Importada'")), 200 - (codigo == QLatin1String("150")));
}

QTEST_MAIN(TstAlmacen)
#include "tst_almacen.moc"
