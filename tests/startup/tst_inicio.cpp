// Start-up from the suite's command line: the grammar, the values it leaves, configuration,
// the user's defaults, the access log, the statistics connection and starting programs.
#include "suite/CodigosSalida.h"
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "startup/CNStuffContable.h"
#include "suite/Ini.h"
#include "suite/Reportes.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
class Variable {
public:
    Variable(const char* n, const QByteArray& v) : n_(n), antes_(qgetenv(n)), habia_(qEnvironmentVariableIsSet(n)) { qputenv(n, v); }
    ~Variable() { habia_ ? qputenv(n_, antes_) : qunsetenv(n_); }

private:
    const char* n_;
    QByteArray antes_;
    bool habia_;
};

const QString LineaDemo = QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;");

// A demo company with start-up values reset and the program named "prorrata".
struct Arranque : GDBPrueba {
    Arranque() : GDBPrueba(false)
    {
        ReiniciarCNStuffContable();
        FijarNombreEjecutable(QStringLiteral("prorrata"));
        suite::FijarCarpetaIni(carpeta());
        suite::FijarTerminador([](int c) { throw suite::ProgramaTerminado{c}; });
    }
    ~Arranque()
    {
        ReiniciarCNStuffContable();
        suite::FijarCarpetaIni({});
        suite::FijarTerminador({});
    }
    QVariant unValor(const QString& sql) { auto cn = conectar(); return EmpresaPrueba::valor(*cn, sql); }
};
} // namespace

class TstInicio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gramatica_data();
    void gramatica();
    void arranqueCompleto();
    void sinFilaDeTimeOut();
    void sinBaseDeEstadisticas();
    void sinLineaDeComandos();
    void usuarioVacioYComillas();
    void configuracion();
    void clavesConTextoHostil_data();
    void clavesConTextoHostil();
    void tablaDeConfiguracionAusente();
    void ejecutarPrograma();
};

void TstInicio::gramatica_data()
{
    QTest::addColumn<QString>("linea");
    QTest::addColumn<QStringList>("valores"); // server, dbname, usuario, usuarioLogeado, caja, menu, adicional

    auto fila = [](const char* n, const char* linea, QStringList v) { QTest::newRow(n) << QString::fromUtf8(linea) << v; };
    fila("la del sistema", " ; @server=SRV; @dbname=EMPRESA; @usuario=PEDRO; @Password=x; @ParametroAdicional=P1; orbe@ ;",
         {"SRV", "EMPRESA", "PEDRO", "", "", "", "P1"});
    fila("blancos e iguales", "@server = SRV ; @dbname=EMPRESA;", {"SRV", "EMPRESA", "", "", "", "", ""});
    fila("sin igual y en mayúsculas", "@SERVER SRV01;@DBNAME E1;", {"SRV01", "E1", "", "", "", "", ""});
    fila("todo igual se quita", "@Server==S=R=V;", {"SRV", "", "", "", "", "", ""});
    fila("último sin punto y coma", "@Server=SRV; @DbName=EMPRESA", {"SRV", "", "", "", "", "", ""});
    fila("logeado vacío antes que usuario", "@UsuarioLogeado=; @Usuario=PEDRO;", {"", "", "PEDRO", "", "", "", ""});
    fila("usuario antes que logeado", "@Usuario=PEDRO; @UsuarioLogeado=ANA; @Caja=3;", {"", "", "PEDRO", "ANA", "3", "", ""});
    fila("menú y caja", "@Menu=CON05; @Caja= 2 ;", {"", "", "", "", "2", "CON05", ""});
    fila("primera aparición", "@Server=A; @Server=B;", {"A", "", "", "", "", "", ""});
    fila("vacía", "", {"", "", "", "", "", "", ""});
    fila("basura", "@@;;==@Server", {"", "", "", "", "", "", ""});
}

void TstInicio::gramatica()
{
    QFETCH(QString, linea);
    QFETCH(QStringList, valores);
    const QStringList tokens{"@Server", "@DbName", "@Usuario", "@UsuarioLogeado", "@Caja", "@Menu", "@ParametroAdicional"};
    QStringList vistos;
    for (const QString& t : tokens)
        vistos << ValorToken(linea, t);
    QCOMPARE(vistos, valores);
}

void TstInicio::arranqueCompleto()
{
    Arranque a;
    Variable equipo("COMPUTERNAME", "puesto1");
    Variable usuario("USERNAME", "ana");
    a.escribir(QStringLiteral("CN000p.INI"), "[PUESTO1|ANA]\r\nFlatToolbars=0\r\n");
    DialogosGuionados d; // nothing to ask
    IniciarSesion(LineaDemo + QStringLiteral(" @Password=otra;"));

    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(gClavePuesto, QStringLiteral("PUESTO1|ANA"));
    QVERIFY(!gFlatToolbars);
    QCOMPARE(gUsuarioLogeado, QStringLiteral("ANA"));
    QCOMPARE(gDB.gUserPassWord, QStringLiteral("EMPRESA_DEMO")); // @Password changes nothing
    QCOMPARE(gDB.gCnn.CommandTimeout(), 360);
    QCOMPARE(gDB.gCnn.DefaultDatabase(), QStringLiteral("EMPRESA_DEMO"));
    QVERIFY(!gDB.gEsAdmin);
    QCOMPARE(gDSN, QStringLiteral("DSN=EMPRESA_DEMO; UID=EMPRESA_DEMO; PWD=EMPRESA_DEMO"));
    QCOMPARE(suite::CarpetaReportesActual(), a.carpeta() + u'/');
    QCOMPARE(gValoresConsulta.gConnString, gDB.gConnString);
    QVERIFY(gValoresConsulta.gUsarMascarasConsultas);
    QCOMPARE(gValoresConsulta.gRutaMascaraConsultas, a.carpeta() + QStringLiteral("/consultas.vlx"));

    // The user's defaults.
    QCOMPARE(gPeriodo, QStringLiteral("2026"));
    QCOMPARE(gUNegocio, QStringLiteral("   1"));
    QVERIFY(gConfidencialidad);
    QVERIFY(!gEscribeSoloMayusculas);
    QVERIFY(!gBloqueoActivo);

    // The access row.
    auto cn = a.conectar();
    ado::Recordset rs = cn->Execute(QStringLiteral("SELECT * FROM Control_Acceso"));
    QVERIFY(!rs.EOF_());
    QCOMPARE(rs.Fields(QStringLiteral("Maquina")).Value().toString(), QStringLiteral("PUESTO1"));
    QCOMPARE(rs.Fields(QStringLiteral("Usuario")).Value().toString(), QStringLiteral("ANA"));
    QCOMPARE(rs.Fields(QStringLiteral("Formulario")).Value().toString(), QString());
    QCOMPARE(rs.Fields(QStringLiteral("Tarea")).Value().toString(), QStringLiteral("TABLAS DE DISTRIBUCIÓN DE CENTROS DE COSTOS"));
    QCOMPARE(rs.Fields(QStringLiteral("Ingreso")).Value().toDateTime(), QDateTime(QDate(2026, 8, 12), QTime(18, 4)));
    QCOMPARE(rs.Fields(QStringLiteral("NombreUsuario")).Value().toString(), QStringLiteral("ANA"));

    // The statistics connection.
    QCOMPARE(gTimeOut, short(30));
    QCOMPARE(gEstadisticas.gCnn.DefaultDatabase(), QStringLiteral("VL_ESTADISTICAS"));
    QCOMPARE(gEstadisticas.gServidor, QStringLiteral("DEMO"));
}

void TstInicio::sinFilaDeTimeOut()
{
    Arranque a;
    {
        auto cn = std::make_unique<ado::Connection>();
        cn->Open(a.cadena(QStringLiteral("VL_ESTADISTICAS")));
        cn->Execute(QStringLiteral("DELETE TA_CONFIGURACION WHERE Clave = 'TIMEOUT'"));
    }
    DialogosGuionados d;
    IniciarSesion(LineaDemo);
    QCOMPARE(gTimeOut, short(45));
    ado::Connection cn;
    cn.Open(a.cadena(QStringLiteral("VL_ESTADISTICAS")));
    ado::Recordset rs = cn.Execute(QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE Clave = 'TimeOut'"));
    QVERIFY(!rs.EOF_());
    QCOMPARE(rs.Fields(QStringLiteral("Clave")).Value().toString(), QStringLiteral("TIMEOUT"));
    QCOMPARE(rs.Fields(QStringLiteral("Valor")).Value().toString(), QStringLiteral("0"));
    QCOMPARE(rs.Fields(QStringLiteral("Grupo")).Value().toString(), QStringLiteral("BaseDeDatos"));
}

void TstInicio::sinBaseDeEstadisticas()
{
    Arranque a;
    QVERIFY(a.borrarBase(QStringLiteral("VL_ESTADISTICAS")));
    DialogosGuionados d; // no message
    IniciarSesion(LineaDemo);
    QVERIFY(gDB.gOpenFlag);
    QCOMPARE(gTimeOut, short(45));
    QVERIFY(!gEstadisticas.gOpenFlag);
}

void TstInicio::sinLineaDeComandos()
{
    // No command line: the connection-failure dialog; No ends the program.
    Arranque a;
    DialogosGuionados d;
    d.responder(suite::vbNo);
    int codigo = -1;
    try {
        IniciarSesion(QString());
    } catch (const suite::ProgramaTerminado& t) {
        codigo = t.codigo;
    }
    QCOMPARE(codigo, int(suite::SalidaSinConexion)); // a failed start is no success for the caller
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
    QVERIFY(d.ultimo().texto.contains(QStringLiteral("Numero de Error: -2147467259")));
    QVERIFY(d.ultimo().texto.endsWith(QStringLiteral(" - Desea Intentarlo Nuevamente??? ")));
}

void TstInicio::usuarioVacioYComillas()
{
    {
        // Neither user token: the database name is logged as the user.
        Arranque a;
        DialogosGuionados d;
        IniciarSesion(QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO;"));
        QCOMPARE(gUsuarioLogeado, QStringLiteral("EMPRESA_DEMO"));
        QCOMPARE(a.unValor(QStringLiteral("SELECT NombreUsuario FROM Control_Acceso")).toString(), QStringLiteral("EMPRESA_DEMO"));
        QCOMPARE(a.unValor(QStringLiteral("SELECT Tarea FROM Control_Acceso")).toString(), QString());
    }
    {
        // A quote in the user's name finds the user's task and business unit.
        Arranque a;
        auto cn = a.conectar();
        cn->Execute(QStringLiteral("INSERT INTO ta_usuarios (nombre, Administrador, UNegocio) VALUES ('O''BRIEN', 0, '7')\r\n"
                                   "INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('O''BRIEN', 'CON05')"));
        DialogosGuionados d;
        IniciarSesion(QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @UsuarioLogeado=O'Brien;"));
        QCOMPARE(gUNegocio, QStringLiteral("   7"));
        QCOMPARE(a.unValor(QStringLiteral("SELECT Tarea FROM Control_Acceso")).toString(),
                 QStringLiteral("TABLAS DE DISTRIBUCIÓN DE CENTROS DE COSTOS"));
    }
}

void TstInicio::configuracion()
{
    Arranque a;
    a.abrir();
    gEstadisticas.gServidor = QStringLiteral("DEMO");
    gEstadisticas.gDBName = gEstadisticas.gUsuario = gEstadisticas.gUserPassWord = QStringLiteral("VL_ESTADISTICAS");
    gEstadisticas.OpenServerADODB(false, 3, QString(), true, false);
    auto cn = a.conectar();
    cn->Execute(QStringLiteral("UPDATE TA_CONFIGURACION SET Valor = NULL, valoraux = 'aux' WHERE Clave = 'CALLE'\r\n"
                               "UPDATE TA_CONFIGURACION SET Valor = 'si' WHERE Clave = 'ESCRIBE_SOLO_MAYUSCULAS'"));
    QString aux = QStringLiteral("previo");
    QCOMPARE(Cfg(QStringLiteral("NO_EXISTE"), aux), QStringLiteral(" "));
    QCOMPARE(aux, QString());
    QCOMPARE(Cfg(QStringLiteral(" calle "), aux), QString());
    QCOMPARE(aux, QStringLiteral("aux"));
    IniContable();
    QVERIFY(gEscribeSoloMayusculas);

    QCOMPARE(CfgVL(QStringLiteral("theme"), aux), QStringLiteral("2"));
    GrabaCfgVL(QStringLiteral("THEME"), 3, QString(), false, QStringLiteral("GENERAL"), true);
    QCOMPARE(CfgVL(QStringLiteral("THEME"), aux), QStringLiteral("3"));
    gEstadisticas.gCnn.Execute(QStringLiteral("DELETE TA_CONFIGURACION WHERE Clave = 'THEME'"));
    QCOMPARE(CfgVL(QStringLiteral("THEME"), aux), QStringLiteral("1"));
    GrabaCfgVL(QStringLiteral(" timeout "), QStringLiteral(" 60 "), QStringLiteral(" nota "), true, QStringLiteral("BaseDeDatos"), true);
    // The key is looked for as given (with its blanks), and stored trimmed and upper-cased.
    ado::Recordset rs = gEstadisticas.gCnn.Execute(QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE Grupo = 'BaseDeDatos'"));
    QCOMPARE(rs.Fields(QStringLiteral("Clave")).Value().toString(), QStringLiteral("TIMEOUT"));
    QCOMPARE(rs.Fields(QStringLiteral("Valor")).Value().toString(), QStringLiteral("60"));
    QCOMPARE(rs.Fields(QStringLiteral("valoraux")).Value().toString(), QStringLiteral("nota"));
    QCOMPARE(rs.Fields(QStringLiteral("PoliticaNegocio")).Value().toBool(), true);
}

void TstInicio::clavesConTextoHostil_data()
{
    QTest::addColumn<QString>("clave");
    QTest::newRow("comilla") << "O'HIGGINS";
    QTest::newRow("comilla que cierra el literal") << "X' OR CLAVE <> '";
    QTest::newRow("marca de administrador") << "@ADMIN_CLAVE";
    QTest::newRow("tabla confidencial") << "VER MA_CUENTAS AQUI";
}

void TstInicio::clavesConTextoHostil()
{
    // For ANA, who is not an administrator: the key is found and stored exactly as given, and
    // no error dialog opens.
    QFETCH(QString, clave);
    Arranque a;
    a.abrir();
    QVERIFY(!gDB.gEsAdmin);
    gEstadisticas.gServidor = QStringLiteral("DEMO");
    gEstadisticas.gDBName = gEstadisticas.gUsuario = gEstadisticas.gUserPassWord = QStringLiteral("VL_ESTADISTICAS");
    gEstadisticas.OpenServerADODB(false, 3, QString(), true, false);
    DialogosGuionados d;
    QString aux;
    QCOMPARE(Cfg(clave, aux), QStringLiteral(" "));
    QCOMPARE(CfgVL(clave, aux), QStringLiteral(" "));

    ado::Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION"), &gDB.gCnn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.AddNew();
    rs.Fields(QStringLiteral("Clave")) = clave;
    rs.Fields(QStringLiteral("Valor")) = QStringLiteral("de la empresa");
    rs.Fields(QStringLiteral("valoraux")) = QStringLiteral("aux");
    rs.Update();
    rs.Close();
    QCOMPARE(Cfg(clave, aux), QStringLiteral("de la empresa"));
    QCOMPARE(aux, QStringLiteral("aux"));

    GrabaCfgVL(clave, QStringLiteral("uno"), QString(), false, QStringLiteral("PRUEBA"), true);
    GrabaCfgVL(clave, QStringLiteral("dos"), QStringLiteral("nota"), false, QStringLiteral("PRUEBA"), true);
    QCOMPARE(CfgVL(clave, aux), QStringLiteral("dos"));
    QCOMPARE(aux, QStringLiteral("nota"));
    QCOMPARE(EmpresaPrueba::valor(gEstadisticas.gCnn, QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE Grupo = 'PRUEBA'"))
                 .toInt(),
             1);
    QVERIFY(d.vistos().isEmpty());
}

void TstInicio::tablaDeConfiguracionAusente()
{
    // A missing configuration table: the error dialog of the query, then the value reads as a blank.
    Arranque a;
    a.abrir();
    gDB.gCnn.Execute(QStringLiteral("DROP TABLE TA_CONFIGURACION"));
    DialogosGuionados d;
    d.responder(suite::vbAbort);
    QString aux;
    QCOMPARE(Cfg(QStringLiteral("PERIODO"), aux), QStringLiteral(" "));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al operador - AbrirRecordset"));
}

void TstInicio::ejecutarPrograma()
{
    Arranque a;
    a.abrir();
    QCOMPARE(ArgumentosPrograma(QStringLiteral("X1")),
             QStringLiteral(" ; @server=DEMO; @dbname=EMPRESA_DEMO; @usuario=EMPRESA_DEMO; @Password=EMPRESA_DEMO; "
                            "@ParametroAdicional=X1; orbe@ ;"));

    // A program of the suite in the application folder gets the command line.
    const QString salida = a.ruta(QStringLiteral("args.txt"));
    const QString guion = a.escribir(QStringLiteral("V_TA_TABLAS"), QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(salida).toUtf8());
    QFile::setPermissions(guion, QFile::permissions(guion) | QFile::ExeOwner);
    qint64 pid = -1;
    EjecutarPrograma(QStringLiteral("SHELL:V_TA_TABLAS"), QStringLiteral("X1"), pid);
    QVERIFY(pid > 0);
    QTRY_VERIFY(QFile::exists(salida) && QFileInfo(salida).size() > 0);
    QFile f(salida);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()).trimmed(), ArgumentosPrograma(QStringLiteral("X1")).trimmed());

    DialogosGuionados d;
    d.responder(suite::vbOK);
    EjecutarPrograma(QStringLiteral("SHELL:NO_EXISTE"), QString(), pid);
    QCOMPARE(pid, 0);
    QCOMPARE(d.ultimo().texto, QStringLiteral("Opcion no Implementada!\rComuniquese con su proveedor de sistemas"));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Atención"));
    QCOMPARE(d.ultimo().estilo, 16);
}

QTEST_GUILESS_MAIN(TstInicio)
#include "tst_inicio.moc"
