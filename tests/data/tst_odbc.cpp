// ODBC: the connection strings for the suite's SQL Server (FreeTDS) and for registry
// entries, and the dialect chosen by the database at the other end.
#include "Demo.h"
#include "EmpresaPrueba.h"
#include "data/ado/odbc/CadenaOdbc.h"
#include "data/ado/odbc/Sesion.h"
#include "suite/ErrorRT.h"

#include <QFile>
#include <QTest>

using namespace ado;

class TstOdbc : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sqlServer_data();
    void sqlServer();
    void registro_data();
    void registro();
    void servidorNoListado();
    void oracleSinRegistro();
    void dialectoPorDbms();
    void cursorDelServidor_data();
    void cursorDelServidor();
};

void TstOdbc::sqlServer_data()
{
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<QString>("cadena");
    const QString resto = QStringLiteral("Database=CONTA;UID=CONTA;PWD=CONTA;TDS_Version=7.4;ClientCharset=UTF-8;");
    QTest::newRow("servidor") << "SRV01" << "Driver={FreeTDS};Server=SRV01;Port=1433;" + resto;
    QTest::newRow("instancia") << "SRV01\\ORBEVELA" << "Driver={FreeTDS};Server=SRV01\\ORBEVELA;" + resto;
    QTest::newRow("puerto") << " 10.0.0.5,1435 " << "Driver={FreeTDS};Server=10.0.0.5;Port=1435;" + resto;
    // The port is a value like the others: it cannot add attributes to the string.
    // A "port" that is no number leaves the whole text as the server's name, quoted: it adds no attribute.
    QTest::newRow("puerto con atributos") << "SRV01,1433;UID=sa" << "Driver={FreeTDS};Server={SRV01,1433;UID=sa};Port=1433;" + resto;
}

void TstOdbc::sqlServer()
{
    QFETCH(QString, servidor);
    QFETCH(QString, cadena);
    QCOMPARE(odbc::CadenaSqlServer(servidor, QStringLiteral("CONTA"), QStringLiteral("CONTA"), QStringLiteral("CONTA")), cadena);
}

void TstOdbc::registro_data()
{
    QTest::addColumn<QStringList>("claves"); // key=value pairs of the entry
    QTest::addColumn<QString>("clave");      // the password
    QTest::addColumn<QString>("odbcIni");    // the user's data sources
    QTest::addColumn<QString>("cadena");
    QTest::newRow("controlador de PostgreSQL")
        << QStringList{"motor=ODBC", "driver=PostgreSQL Unicode", "servidor=db1", "puerto=5432"} << "EMPRESA" << ""
        << "Driver={PostgreSQL Unicode};Server=db1;Port=5432;Database=empresa;UID=empresa;PWD=EMPRESA;CommLog=0;Debug=0;Protocol=7.4-0;";
    QTest::newRow("registro pedido en la entrada")
        << QStringList{"motor=ODBC", "driver=PostgreSQL Unicode", "servidor=db1", "commlog=1"} << "EMPRESA" << ""
        << "Driver={PostgreSQL Unicode};Server=db1;Database=empresa;UID=empresa;PWD=EMPRESA;CommLog=1;Debug=0;Protocol=7.4-0;";
    QTest::newRow("origen de datos de PostgreSQL")
        << QStringList{"motor=ODBC", "dsn=PG_CONTA"} << "EMPRESA" << "[PG_CONTA]\nDriver=PostgreSQL Unicode\nServername=db1\n"
        << "DSN=PG_CONTA;Database=EMPRESA;UID=EMPRESA;PWD=EMPRESA;CommLog=0;Debug=0;Protocol=7.4-0;";
    QTest::newRow("origen de datos que pide el registro")
        << QStringList{"motor=ODBC", "dsn=PG_REGISTRO"} << "EMPRESA" << "[PG_REGISTRO]\nDriver=PostgreSQL Unicode\nCommLog=1\n"
        << "DSN=PG_REGISTRO;Database=EMPRESA;UID=EMPRESA;PWD=EMPRESA;Debug=0;Protocol=7.4-0;";
    QTest::newRow("origen de datos de Oracle") << QStringList{"motor=ODBC", "dsn=ORA_CONTA"} << "EMPRESA" << ""
                                               << "DSN=ORA_CONTA;Database=EMPRESA;UID=EMPRESA;PWD=EMPRESA;";
    QTest::newRow("clave con punto y coma") << QStringList{"motor=ODBC", "driver=FreeTDS", "servidor=srv"} << "a;b}" << ""
                                            << "Driver={FreeTDS};Server=srv;Database=EMPRESA;UID=EMPRESA;PWD={a;b}}};";
}

void TstOdbc::registro()
{
    QFETCH(QStringList, claves);
    QFETCH(QString, clave);
    QFETCH(QString, odbcIni);
    QFETCH(QString, cadena);
    QMap<QString, QString> entrada;
    for (const QString& c : claves)
        entrada.insert(c.section(u'=', 0, 0), c.section(u'=', 1));
    // The data sources of this row only.
    EntornoPrueba e;
    const QByteArray antes = qgetenv("ODBCINI");
    qputenv("ODBCINI", e.escribir(QStringLiteral("odbc.ini"), odbcIni.toUtf8()).toLocal8Bit());
    const QString hecha = odbc::CadenaRegistro(entrada, QStringLiteral("EMPRESA"), QStringLiteral("EMPRESA"), clave);
    antes.isNull() ? qunsetenv("ODBCINI") : qputenv("ODBCINI", antes);
    QCOMPARE(hecha, cadena);
}

void TstOdbc::servidorNoListado()
{
    // A server the registry does not list goes to SQL Server through FreeTDS; none is here.
    EmpresaPrueba e;
    Connection cn;
    long numero = 0;
    try {
        cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =CONTA;UId=CONTA;Pwd=CONTA;Connect Timeout=5;"));
    } catch (const suite::ErrorEjecucion& err) {
        numero = err.error().Number;
    }
    QCOMPARE(numero, err::Fallo);
    QCOMPARE(cn.State(), int(adStateClosed));
    QVERIFY(cn.Errors().Count() >= 1);
    QCOMPARE(cn.Errors().Item(0).NativeError, 17L);
    QVERIFY2(cn.Errors().Item(0).Description.contains(QStringLiteral("ODBC")), qPrintable(cn.Errors().Item(0).Description));
}

void TstOdbc::oracleSinRegistro()
{
    EmpresaPrueba e;
    Connection cn;
    QString texto;
    try {
        cn.Open(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=CONTA;User Id=CONTA;Password=CONTA;"));
    } catch (const suite::ErrorEjecucion& err) {
        texto = err.error().Description;
    }
    QVERIFY2(texto.contains(QStringLiteral("Oracle")) && texto.contains(QStringLiteral("CONTA")), qPrintable(texto));
}

void TstOdbc::dialectoPorDbms()
{
    // The SQLite ODBC driver on a demo file: the DBMS name chooses SQLite's dialect (TOP is
    // rewritten), though the engine that carries it is ODBC.
    EmpresaPrueba e;
    if (!PeculiaridadesDelMotor().basesEnArchivos)
        QSKIP("un archivo SQLite solamente");
    odbc::MotorOdbc m;
    ParametrosConexion p;
    p.servidor = QStringLiteral("ODBC_SQLITE");
    p.base = e.ruta(QStringLiteral("EMPRESA_DEMO.db"));
    p.registro = {{QStringLiteral("motor"), QStringLiteral("ODBC")}, {QStringLiteral("driver"), QStringLiteral("SQLite3")}};
    try {
        m.abrir(p);
    } catch (const FalloMotor& f) {
        QSKIP(qPrintable(QStringLiteral("sin el controlador ODBC de SQLite: ") + f.errores.front().descripcion));
    }
    QCOMPARE(m.dialecto(), odbc::MotorOdbc::Dialecto::SQLite);
    const Resultado r = m.ejecutar(QStringLiteral("SELECT TOP 2 Nivel FROM dbo.[MA_CUENTAS] with(nolock) WHERE Nivel = 4"));
    QCOMPARE(int(r.filas.size()), 2);
}

void TstOdbc::cursorDelServidor_data()
{
    // The PostgreSQL driver reading through a server cursor, 100 rows at a time (UseDeclareFetch),
    // as SQL Server's drivers read: a result still pending holds the connection. A forward-only
    // recordset left part read while the connection runs something else.
    QTest::addColumn<QString>("otra");
    QTest::addColumn<int>("leidas");  // rows read before it
    QTest::addColumn<int>("fallida"); // the row whose value fails (a division by zero), 0 for none
    for (int leidas : {150, 256, 257}) {
        QTest::addRow("transacción tras %d filas", leidas) << "transacción" << leidas << 0;
        QTest::addRow("otro cursor tras %d filas", leidas) << "cursor" << leidas << 0;
        QTest::addRow("cerrar tras %d filas", leidas) << "cerrar" << leidas << 0;
    }
    QTest::newRow("error sin otra sentencia") << "" << 0 << 400;
    QTest::newRow("error leído en memoria") << "transacción" << 10 << 400;
}

void TstOdbc::cursorDelServidor()
{
    QFETCH(QString, otra);
    QFETCH(int, leidas);
    QFETCH(int, fallida);
    if (demo::MotorDePrueba() != QLatin1String("ODBC"))
        QSKIP("con el servidor PostgreSQL de las pruebas por ODBC");
    EmpresaPrueba e(600);
    const QString pg = qEnvironmentVariable("VL_PG_PRUEBA");
    const QByteArray antes = qgetenv("ODBCINI");
    qputenv("ODBCINI", e.escribir(QStringLiteral("odbc.ini"),
                                  QStringLiteral("[PG_CURSOR]\nDriver=PostgreSQL Unicode\nServername=%1\nPort=%2\n"
                                                 "UseDeclareFetch=1\nFetch=100\n")
                                      .arg(pg.section(u':', 0, 0), pg.section(u':', 1, 1))
                                      .toUtf8())
                           .toLocal8Bit());
    struct Restaurar {
        QByteArray antes;
        ~Restaurar() { antes.isNull() ? qunsetenv("ODBCINI") : qputenv("ODBCINI", antes); }
    } restaurar{antes};
    QFile registro(e.ruta(QStringLiteral("servidores.ini")));
    QVERIFY(registro.open(QIODevice::Append));
    registro.write("[PG_CURSOR]\nMotor=ODBC\nDSN=PG_CURSOR\nDriver=PostgreSQL Unicode\n"); // the driver: names in lower case
    registro.close();
    Connection cn;
    cn.Open(demo::CadenaConexion(QStringLiteral("PG_CURSOR"), QString::fromLatin1(demo::BaseDemo)));

    // The extra accounts in the order they were stored; one of them may fail.
    QStringList todas;
    for (int i = 1; i <= 600; ++i)
        todas << QStringLiteral("6.1.%1").arg(i, 6, 10, QChar(u'0'));
    const QString sql = QStringLiteral("SELECT Codigo, 1 / (CASE WHEN Codigo = '6.1.%1' THEN 0 ELSE 1 END) AS Uno FROM MA_CUENTAS "
                                       "WHERE Codigo LIKE '6.%'")
                            .arg(fallida, 6, 10, QChar(u'0'));
    Recordset rs;
    rs.Open(sql, &cn, adOpenForwardOnly, adLockReadOnly);
    QStringList vistas;
    QString error;
    auto leer = [&](int n) {
        try {
            for (; !rs.EOF_() && n != 0; rs.MoveNext(), --n)
                vistas << rs.Fields(0).Value().toString();
        } catch (const suite::ErrorEjecucion& x) {
            error = x.error().Description;
        }
    };
    leer(leidas);
    if (otra == QLatin1String("transacción")) {
        cn.BeginTrans();
        cn.Execute(QStringLiteral("DELETE FROM MA_CUENTAS WHERE Codigo LIKE '6.%'"));
        cn.RollbackTrans();
    } else if (otra == QLatin1String("cursor")) {
        Recordset segundo;
        segundo.Open(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Codigo LIKE '6.%' ORDER BY Codigo"), &cn, adOpenForwardOnly,
                     adLockReadOnly);
        QStringList delSegundo;
        for (int n = 0; n < 300; ++n, segundo.MoveNext())
            delSegundo << segundo.Fields(0).Value().toString();
        leer(5);
        for (; !segundo.EOF_(); segundo.MoveNext())
            delSegundo << segundo.Fields(0).Value().toString();
        QCOMPARE(delSegundo, todas);
    } else if (otra == QLatin1String("cerrar")) {
        cn.Close();
    }
    leer(-1);
    if (fallida) {
        // The rows before the failure, then the server's error, as the caller sees any other.
        QVERIFY2(error.contains(QStringLiteral("division by zero")), qPrintable(error));
        QVERIFY(vistas.size() < fallida);
        QCOMPARE(vistas, todas.mid(0, vistas.size()));
        QVERIFY(rs.EOF_());
        QCOMPARE(cn.Errors().Count(), 1);
    } else {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(vistas, todas);
    }
    // (after a failed fetch the driver's own transaction of the cursor is left aborted)
    if (cn.State() == adStateOpen && !fallida)
        QCOMPARE(EmpresaPrueba::valor(cn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE Codigo LIKE '6.%'")).toInt(), 600);
}

QTEST_GUILESS_MAIN(TstOdbc)
#include "tst_odbc.moc"
