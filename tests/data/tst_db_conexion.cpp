// DB_Dll's connections: the strings it builds, the administrator check, the failure dialog
// and the login prompt, the already-open retry.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "data/Sesion.h"

#include <QTest>

class TstDbConexion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cadenas_data();
    void cadenas();
    void administrador_data();
    void administrador();
    void sinTablaDeUsuarios();
    void dialogoDeFalla();
    void siYLuegoAcceso();
    void siYAccesoCancelado();
    void yaAbierta();
};

void TstDbConexion::cadenas_data()
{
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("dada");
    QTest::addColumn<QString>("cadena");

    QTest::newRow("SQL Server") << "SRV" << "" << ""
                                << "PROVIDER=SQLOLEDB;Server=SRV;Database =CONTA;UId=CONTA;Pwd=CONTA;Connect Timeout=5;";
    QTest::newRow("con gExtended") << "SRV\\INST" << "Application Name=Prorrata;" << "   "
                                   << "PROVIDER=SQLOLEDB;Server=SRV\\INST;Database =CONTA;UId=CONTA;Pwd=CONTA;Connect Timeout=5;"
                                      "Application Name=Prorrata;";
    QTest::newRow("Oracle") << "#ORA" << "x=1;" << ""
                            << "Provider=OraOLEDB.Oracle.1;Data Source=CONTA;User Id=CONTA;Password=CONTA;";
    QTest::newRow("tiempo ya indicado") << "SRV;connect timeout=9" << "" << ""
                                        << "PROVIDER=SQLOLEDB;Server=SRV;connect timeout=9;Database =CONTA;UId=CONTA;Pwd=CONTA;";
    QTest::newRow("cadena dada sin tocar") << "SRV" << "x=1;" << "Server=OTRO;Database=B;" << "Server=OTRO;Database=B;";
}

void TstDbConexion::cadenas()
{
    QFETCH(QString, servidor);
    QFETCH(QString, extra);
    QFETCH(QString, dada);
    QFETCH(QString, cadena);
    GDBPrueba g(false);
    gDB.gServidor = servidor;
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("CONTA");
    gDB.gExtended = extra;
    gDB.OpenServerADODB(false, 3, dada, true, false); // no such server: fails silently
    QCOMPARE(gDB.gConnString, cadena);
    QVERIFY(!gDB.gOpenFlag);
    QCOMPARE(gDB.gProveedor, QStringLiteral("SQLOLEDB"));
}

void TstDbConexion::administrador_data()
{
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("valor"); // Administrador stored for ANA before opening; empty: as the demo has it
    QTest::addColumn<bool>("esAdmin");
    QTest::newRow("administrador") << "ADMIN" << "" << true;
    QTest::newRow("usuario común") << "ANA" << "" << false;
    QTest::newRow("usuario con blancos y otro caso") << " admin " << "" << true;
    QTest::newRow("usuario inexistente") << "NADIE" << "" << false;
    QTest::newRow("valor 2 no es 1") << "ANA" << "2" << false;
}

void TstDbConexion::administrador()
{
    QFETCH(QString, usuario);
    QFETCH(QString, valor);
    QFETCH(bool, esAdmin);
    GDBPrueba g(false);
    if (!valor.isEmpty()) {
        auto cn = g.conectar();
        cn->Execute(QStringLiteral("UPDATE ta_usuarios SET Administrador = %1 WHERE nombre = 'ANA'").arg(valor));
    }
    g.abrir(usuario);
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(gDB.gEsAdmin, esAdmin);
    QCOMPARE(gDB.gCnn.DefaultDatabase(), QStringLiteral("EMPRESA_DEMO"));
}

void TstDbConexion::sinTablaDeUsuarios()
{
    // A database without TA_USUARIOS leaves gEsAdmin as it was.
    GDBPrueba g(false);
    for (bool antes : {true, false}) {
        gDB.Reiniciar();
        gDB.gEsAdmin = antes;
        gDB.gServidor = QStringLiteral("DEMO");
        gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("VL_ESTADISTICAS");
        gDB.OpenServerADODB(false, 3, QString(), true, true);
        QVERIFY(gDB.gOpenFlag);
        QCOMPARE(gDB.gEsAdmin, antes);
    }
}

void TstDbConexion::dialogoDeFalla()
{
    GDBPrueba g(false);
    FijarNombreEjecutable(QStringLiteral("prorrata"));
    gDB.gServidor = QStringLiteral("DEMO");
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("NO_EXISTE");
    DialogosGuionados d;
    d.responder(suite::vbNo);
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    QVERIFY(!gDB.gOpenFlag);
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
    QCOMPARE(d.ultimo().estilo, 4 + 16);
    const ado::Error& e = gDB.gCnn.Errors().Item(0);
    const QString esperado = QStringLiteral(" Estado de Sql: ") + e.SQLState + QStringLiteral("\rNumero de Error: -2147467259\rDescripcion: ")
        + e.Description + QStringLiteral("\rCodigo Nativo: ") + QString::number(e.NativeError)
        + QStringLiteral("\r\r\nNombre de Proceso: prorrata\r\r\n\r\n"
                         "1. Verifique el Usuario, contraseña y base de datos\r\n"
                         "2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la instancia, por ejemplo : "
                         "DEMO\\ORBEVELA\r\n"
                         "3. Verifique si el inicio de sesion para el usuario NO_EXISTE existe\r\n\r\n\r\n"
                         " - Desea Intentarlo Nuevamente??? ");
    QCOMPARE(d.ultimo().texto, esperado);
    QVERIFY(g.prompt.vistos.isEmpty());
}

void TstDbConexion::siYLuegoAcceso()
{
    // Yes shows the login form pre-filled; what it accepts is used and the open succeeds.
    GDBPrueba g(false);
    gUsuarioLogeado = QStringLiteral("ANA");
    gPassWordLogeado = QStringLiteral("secreta");
    gDB.gServidor = QStringLiteral("DEMO");
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("MAL_ESCRITA");
    g.prompt.respuestas << DatosAcceso{QStringLiteral("EMPRESA_DEMO"), QStringLiteral("DEMO"), QStringLiteral("ANA"), {}, 0};
    DialogosGuionados d;
    d.responder(suite::vbYes);
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
    QCOMPARE(g.prompt.vistos.size(), 1);
    QCOMPARE(g.prompt.vistos[0].base, QStringLiteral("MAL_ESCRITA"));
    QCOMPARE(g.prompt.vistos[0].usuario, QStringLiteral("ANA"));
    QCOMPARE(g.prompt.vistos[0].clave, QStringLiteral("secreta"));
    QCOMPARE(gDB.gDBName, QStringLiteral("EMPRESA_DEMO"));
    QCOMPARE(gDB.gUsuario, QStringLiteral("EMPRESA_DEMO"));
    QCOMPARE(gDB.gUserPassWord, QStringLiteral("EMPRESA_DEMO"));
    QCOMPARE(gDB.gConnString,
             QStringLiteral("PROVIDER=SQLOLEDB;Server=DEMO;Database =EMPRESA_DEMO;UId=EMPRESA_DEMO;Pwd=EMPRESA_DEMO;Connect Timeout=5;"));
}

void TstDbConexion::siYAccesoCancelado()
{
    GDBPrueba g(false);
    gDB.gServidor = QStringLiteral("NINGUNO");
    DialogosGuionados d;
    d.responder(suite::vbYes);
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    QVERIFY(!gDB.gOpenFlag);
    QCOMPARE(g.prompt.vistos.size(), 1);
    QCOMPARE(d.vistos().size(), 1); // no further attempt
}

void TstDbConexion::yaAbierta()
{
    // Opening an open connection closes it and opens it again once, without a message.
    GDBPrueba g;
    QVERIFY(gDB.gOpenFlag);
    gDB.OpenServerADODB(false, 3, QString(), true, false);
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
}

QTEST_GUILESS_MAIN(TstDbConexion)
#include "tst_db_conexion.moc"
