// The ADO-shaped layer on real SQLite files: connections, recordsets, errors as ADO gives
// them, updatable recordsets, transactions and schemas.
#include "EmpresaPrueba.h"
#include "data/ado/CadenaConexion.h"
#include "suite/ErrorRT.h"
#include "suite/Moneda.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <tuple>
#include <functional>

using namespace ado;

namespace {
// The error number an operation raises (0 when it raises none).
long errorDe(const std::function<void()>& f, QString* descripcion = nullptr)
{
    try {
        f();
    } catch (const suite::ErrorEjecucion& e) {
        if (descripcion)
            *descripcion = e.error().Description;
        return e.error().Number;
    }
    return 0;
}

// The file is open in this process (Linux: a descriptor of /proc/self/fd points at it).
bool abiertoEnElProceso(const QString& archivo)
{
    const QString buscado = QFileInfo(archivo).canonicalFilePath();
    for (QDirIterator it(QStringLiteral("/proc/self/fd"), QDir::System | QDir::Files); it.hasNext();)
        if (it.nextFileInfo().symLinkTarget() == buscado)
            return true;
    return false;
}
} // namespace

class TstAdo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cadenaConexion_data();
    void cadenaConexion();
    void aperturaFallida_data();
    void aperturaFallida();
    void registroDeLaDemo();
    void registroInservible_data();
    void registroInservible();
    void puertoDelServidor();
    void baseFueraDeLaCarpeta_data();
    void baseFueraDeLaCarpeta();
    void estadosYErroresDeAdo();
    void erroresDelMotor_data();
    void erroresDelMotor();
    void masEntreTextos_data();
    void masEntreTextos();
    void caracterNulo_data();
    void caracterNulo();
    void tiposYTamanios_data();
    void tiposYTamanios();
    void valores();
    void recorrido();
    void filasPorBloque_data();
    void filasPorBloque();
    void cursorAMedioLeer_data();
    void cursorAMedioLeer();
    void cerrarAMedioLeer_data();
    void cerrarAMedioLeer();
    void consultaQueFallaAlEmpezar();
    void actualizable();
    void filaCambiadaPorOtro();
    void transacciones();
    void confirmarTrasUnError();
    void esquemas();
    void baseDeDatosPorDefecto();
    void esperaAlOtroPuesto();
    void init();
    void cleanupTestCase();

private:
    // One company for the rows of the tests that leave it as they found it, built at the first
    // row; let go before any other test builds its own (on a server it would replace this one).
    Connection& compartida(int cuentasExtra = 0);
    std::unique_ptr<EmpresaPrueba> empresa_;
    int cuentasExtra_ = 0;
    std::unique_ptr<Connection> cn_;
};

void TstAdo::init()
{
    const char* f = QTest::currentTestFunction();
    for (const char* compartidas : {"erroresDelMotor", "tiposYTamanios", "filasPorBloque", "cursorAMedioLeer"})
        if (qstrcmp(f, compartidas) == 0)
            return;
    cleanupTestCase();
}

void TstAdo::cleanupTestCase()
{
    cn_.reset();
    empresa_.reset();
}

Connection& TstAdo::compartida(int cuentasExtra)
{
    if (cn_ && cuentasExtra_ != cuentasExtra)
        cleanupTestCase();
    if (!cn_) {
        cuentasExtra_ = cuentasExtra;
        empresa_ = std::make_unique<EmpresaPrueba>(cuentasExtra);
        cn_ = empresa_->conectar();
    }
    return *cn_;
}

void TstAdo::cadenaConexion_data()
{
    QTest::addColumn<QString>("cadena");
    QTest::addColumn<QStringList>("esperado"); // provider, server, database, login, password, time-out
    QTest::newRow("la del sistema") << "PROVIDER=SQLOLEDB;Server=SRV\\INST;Database =CONTA;UId=CONTA;Pwd=CONTA;Connect Timeout=5;"
                                    << QStringList{"SQLOLEDB", "SRV\\INST", "CONTA", "CONTA", "CONTA", "5"};
    QTest::newRow("Oracle") << "Provider=OraOLEDB.Oracle.1;Data Source=ALIAS;User Id=U;Password=P;"
                            << QStringList{"OraOLEDB.Oracle.1", "ALIAS", "", "U", "P", ""};
    QTest::newRow("blancos, mayúsculas y comillas") << "  server = 'MI SERVIDOR' ; INITIAL CATALOG= Base ;pwd=\"a;b\""
                                                    << QStringList{"", "MI SERVIDOR", "Base", "", "\"a", ""};
    QTest::newRow("primera aparición") << "Server=A;Server=B;Database=X" << QStringList{"", "A", "X", "", "", ""};
    QTest::newRow("vacía") << "" << QStringList{"", "", "", "", "", ""};
}

void TstAdo::cadenaConexion()
{
    QFETCH(QString, cadena);
    QFETCH(QStringList, esperado);
    const DestinoConexion d = InterpretarCadena(cadena);
    const QStringList visto{d.proveedor, d.servidor, d.base, d.usuario, d.clave,
                            d.tiempoConexion ? QString::number(*d.tiempoConexion) : QString()};
    QCOMPARE(visto, esperado);
}

void TstAdo::aperturaFallida_data()
{
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("archivo"); // contents of a file put in place of the database
    QTest::addColumn<QString>("texto");   // part of the message
    QTest::addColumn<int>("nativo");

    QTest::newRow("servidor no registrado") << "SRV01" << "EMPRESA_DEMO" << "" << "ODBC" << 17;
    QTest::newRow("base inexistente") << "DEMO" << "EMPRESA_X" << "" << "EMPRESA_X" << 4060;
    QTest::newRow("archivo que no es base") << "DEMO" << "ROTA" << "esto no es una base de datos" << "ROTA" << 4060;
    QTest::newRow("sin base") << "DEMO" << "" << "" << "solicitada" << 4060;
}

void TstAdo::aperturaFallida()
{
    QFETCH(QString, servidor);
    QFETCH(QString, base);
    QFETCH(QString, archivo);
    QFETCH(QString, texto);
    QFETCH(int, nativo);

    if (!archivo.isEmpty() && !PeculiaridadesDelMotor().basesEnArchivos)
        QSKIP("sin archivos en un servidor");
    // A database that is not there has no login either.
    if (PeculiaridadesDelMotor().baseFaltanteEsLogin && servidor == QLatin1String("DEMO"))
        nativo = 18456, texto = QString();
    EmpresaPrueba empresa;
    if (!archivo.isEmpty())
        empresa.escribir(base + QStringLiteral(".db"), archivo.toUtf8().repeated(200));
    Connection cn;
    QString descripcion;
    const long n = errorDe([&] { cn.Open(empresa.cadena(base).replace(QStringLiteral("DEMO"), servidor)); }, &descripcion);
    QCOMPARE(n, err::Fallo);
    QVERIFY2(descripcion.contains(texto), qPrintable(descripcion));
    QCOMPARE(cn.State(), int(adStateClosed));
    QVERIFY(cn.Errors().Count() >= 1); // ODBC keeps every diagnostic record of the driver
    QCOMPARE(cn.Errors().Item(0).NativeError, long(nativo));
    // A mistyped database is never created.
    if (archivo.isEmpty() && servidor == QLatin1String("DEMO"))
        QVERIFY(!QFile::exists(empresa.ruta(base + QStringLiteral(".db"))));
}

void TstAdo::registroDeLaDemo()
{
    // The registry the company tool writes: readable by its owner only, and no password in it.
    EmpresaPrueba empresa;
    const QString registro = empresa.ruta(QStringLiteral("servidores.ini"));
    QCOMPARE(QFile::permissions(registro) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile f(registro);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray texto = f.readAll();
    QVERIFY2(!texto.toLower().contains("clave") && !texto.toLower().contains("pwd"), texto.constData());
    // The company's files too: its database and its lookup definitions.
    QStringList archivos{QStringLiteral("consultas.vlx")};
    if (PeculiaridadesDelMotor().basesEnArchivos)
        archivos << QStringLiteral("EMPRESA_DEMO.db") << QStringLiteral("VL_ESTADISTICAS.db");
    for (const QString& a : archivos)
        QVERIFY2((QFile::permissions(empresa.ruta(a)) & 0x7077) == (QFileDevice::ReadOwner | QFileDevice::WriteOwner), qPrintable(a));
}

void TstAdo::registroInservible_data()
{
    QTest::addColumn<QByteArray>("contenido"); // of servidores.ini; "<carpeta>": a folder in its place
    QTest::addColumn<QString>("problema");     // part of the message
    QTest::newRow("vacío") << QByteArray() << "está vacío";
    QTest::newRow("solo comentarios") << QByteArray("; servidores\r\n\r\n") << "está vacío";
    QTest::newRow("basura binaria") << QByteArray("\x7f" "ELF\x02\x01\x00\x00garbage", 15) << "la línea 1";
    QTest::newRow("clave sin sección") << QByteArray("Motor=SQLite\n[DEMO]\nCarpeta=.\n") << "la línea 1";
    QTest::newRow("línea sin igual") << QByteArray("[DEMO]\nMotor=SQLite\nCarpeta .\n") << "la línea 3";
    QTest::newRow("carpeta") << QByteArray("<carpeta>") << "es una carpeta";
}

void TstAdo::registroInservible()
{
    // A registry that cannot be used is never read as "no server listed" (SQL Server through
    // FreeTDS): the error names the file and what is wrong with it.
    QFETCH(QByteArray, contenido);
    QFETCH(QString, problema);
    EmpresaPrueba empresa;
    const QString registro = empresa.ruta(QStringLiteral("servidores.ini"));
    QVERIFY(QFile::remove(registro));
    if (contenido == "<carpeta>")
        QVERIFY(QDir().mkdir(registro));
    else
        empresa.escribir(QStringLiteral("servidores.ini"), contenido);
    FijarRegistroServidores(registro);
    Connection cn;
    QString descripcion;
    QCOMPARE(errorDe([&] { cn.Open(empresa.cadena()); }, &descripcion), err::Fallo);
    QVERIFY2(descripcion.contains(registro) && descripcion.contains(problema), qPrintable(descripcion));
    QCOMPARE(cn.State(), int(adStateClosed));
}

void TstAdo::puertoDelServidor()
{
    // A port written after the server's name ("DEMO:PORT", "DEMO,PORT") is where the listed
    // server listens, over the registry's Puerto; a Puerto or Motor that cannot be used is
    // refused with the file and the line that hold it.
    EmpresaPrueba empresa;
    const QString registro = empresa.ruta(QStringLiteral("servidores.ini"));
    QFile f(registro);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QString texto = QString::fromUtf8(f.readAll());
    f.close();
    const QString puerto = qEnvironmentVariable("VL_PG_PRUEBA").section(u':', 1, 1);
    if (!PeculiaridadesDelMotor().basesEnArchivos) {
        texto.replace(QStringLiteral("Puerto=") + puerto, QStringLiteral("Puerto=1"));
        for (const QString& servidor : {QStringLiteral("DEMO:") + puerto, QStringLiteral("DEMO,") + puerto, QStringLiteral("demo : ") + puerto}) {
            empresa.escribir(QStringLiteral("servidores.ini"), texto.toUtf8());
            Connection cn;
            cn.Open(empresa.cadena().replace(QStringLiteral("Server=DEMO"), QStringLiteral("Server=") + servidor));
            QCOMPARE(cn.State(), int(adStateOpen));
        }
        Connection cn; // the registry's wrong port, with none after the name
        QCOMPARE(errorDe([&] { cn.Open(empresa.cadena()); }), err::Fallo);
    }
    texto += QStringLiteral("\n[MALO]\nMotor=PostgreSQL\nServidor=127.0.0.1\nPuerto=54x32\n[RARO]\nMotor=Oracle8\n"
                            "[SINCONTROLADOR]\nMotor=ODBC\nDriver=Controlador Inexistente\n");
    empresa.escribir(QStringLiteral("servidores.ini"), texto.toUtf8());
    const int lineaPuerto = int(texto.left(texto.indexOf(QStringLiteral("Puerto=54x32"))).count(u'\n')) + 1;
    const int lineaMotor = int(texto.left(texto.indexOf(QStringLiteral("Motor=Oracle8"))).count(u'\n')) + 1;
    const int lineaDriver = int(texto.left(texto.indexOf(QStringLiteral("Driver=Controlador"))).count(u'\n')) + 1;
    for (const auto& [servidor, linea, valor] : {std::tuple{QStringLiteral("MALO"), lineaPuerto, QStringLiteral("54x32")},
                                                  std::tuple{QStringLiteral("RARO"), lineaMotor, QStringLiteral("Oracle8")},
                                                  std::tuple{QStringLiteral("SINCONTROLADOR"), lineaDriver,
                                                             QStringLiteral("Controlador Inexistente")}}) {
        Connection cn;
        QString descripcion;
        QVERIFY(errorDe([&] { cn.Open(empresa.cadena().replace(QStringLiteral("Server=DEMO"), QStringLiteral("Server=") + servidor)); },
                        &descripcion)
                != 0);
        QVERIFY2(descripcion.contains(QStringLiteral("%1, línea %2").arg(registro).arg(linea)) && descripcion.contains(valor),
                 qPrintable(descripcion));
    }
}

void TstAdo::baseFueraDeLaCarpeta_data()
{
    QTest::addColumn<QString>("base");
    QTest::newRow("subcarpeta") << "otra/EMPRESA_DEMO";
    QTest::newRow("carpeta de arriba") << "../%1/EMPRESA_DEMO";
    QTest::newRow("ruta absoluta") << "%2/EMPRESA_DEMO";
    QTest::newRow("barra invertida") << "otra\\EMPRESA_DEMO";
    QTest::newRow("punto al principio") << "./EMPRESA_DEMO";
}

void TstAdo::baseFueraDeLaCarpeta()
{
    // A file-based server opens only the files of its folder, whatever the database name says.
    QFETCH(QString, base);
    if (!PeculiaridadesDelMotor().basesEnArchivos)
        QSKIP("sin archivos en un servidor");
    EmpresaPrueba empresa;
    QVERIFY(QDir(empresa.carpeta()).mkdir(QStringLiteral("otra")));
    QVERIFY(QFile::copy(empresa.ruta(QStringLiteral("EMPRESA_DEMO.db")), empresa.ruta(QStringLiteral("otra/EMPRESA_DEMO.db"))));
    QVERIFY(QFile::copy(empresa.ruta(QStringLiteral("EMPRESA_DEMO.db")), empresa.ruta(QStringLiteral("otra\\EMPRESA_DEMO.db"))));
    base = base.arg(QFileInfo(empresa.carpeta()).fileName(), empresa.carpeta());
    Connection cn;
    QString descripcion;
    QCOMPARE(errorDe([&] { cn.Open(empresa.cadena(base)); }, &descripcion), err::Fallo);
    QVERIFY2(descripcion.contains(QStringLiteral("nombre simple")), qPrintable(descripcion));
    QCOMPARE(cn.Errors().Item(0).NativeError, 4060L);
    QCOMPARE(cn.State(), int(adStateClosed));
}

void TstAdo::estadosYErroresDeAdo()
{
    EmpresaPrueba empresa;
    Connection cn;
    QCOMPARE(cn.State(), int(adStateClosed));
    QCOMPARE(errorDe([&] { cn.Execute(QStringLiteral("SELECT 1")); }), err::ConexionNoValida);
    QCOMPARE(errorDe([&] { cn.Close(); }), err::ObjetoCerrado);
    QCOMPARE(errorDe([&] { cn.BeginTrans(); }), err::ObjetoCerrado);

    cn.Open(empresa.cadena());
    QCOMPARE(cn.State(), int(adStateOpen));
    QCOMPARE(errorDe([&] { cn.Open(empresa.cadena()); }), err::ObjetoAbierto);
    QCOMPARE(errorDe([&] { cn.ConnectionString(QStringLiteral("x")); }), err::ObjetoAbierto);
    QCOMPARE(cn.ConnectionString(), empresa.cadena());

    Recordset rs;
    QCOMPARE(errorDe([&] { rs.Fields(0); }), err::ObjetoCerrado);
    QCOMPARE(errorDe([&] { rs.Close(); }), err::ObjetoCerrado);
    rs.Open(QStringLiteral("SELECT * FROM TA_CCOSTO WHERE CODIGO = 'nada'"), &cn, adOpenForwardOnly, adLockReadOnly);
    QVERIFY(rs.BOF() && rs.EOF_());
    QCOMPARE(errorDe([&] { rs.Fields(QStringLiteral("DESCRIPCION")).Value(); }), err::SinRegistroActual);
    QCOMPARE(errorDe([&] { rs.Fields(QStringLiteral("NoExiste")); }), err::ElementoNoEncontrado);
    QCOMPARE(errorDe([&] { rs.Fields(7); }), err::ElementoNoEncontrado);
    QCOMPARE(errorDe([&] { rs.MoveNext(); }), err::SinRegistroActual);
    QCOMPARE(errorDe([&] { rs.Open(QStringLiteral("SELECT 1"), &cn); }), err::ObjetoAbierto);
    QCOMPARE(errorDe([&] { rs.AddNew(); }), err::NoAdmitido); // read-only
    rs.Close();
    QCOMPARE(errorDe([&] { cn.Errors().Item(0); }), err::ElementoNoEncontrado);

    // A command opened as a recordset leaves it closed.
    rs.Open(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = DESCRIPCION WHERE CODIGO = '1'"), &cn);
    QCOMPARE(rs.State(), int(adStateClosed));

    cn.Close();
    QCOMPARE(cn.State(), int(adStateClosed));
    QCOMPARE(errorDe([&] { rs.Open(QStringLiteral("SELECT 1"), &cn); }), err::ConexionNoValida);
}

void TstAdo::erroresDelMotor_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<long>("numero");
    QTest::addColumn<long>("nativo");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("texto"); // part of the description
    QTest::newRow("tabla inexistente") << "SELECT * FROM NO_EXISTE" << long(err::ErrorEnComando) << 208L << "42S02" << "NO_EXISTE";
    QTest::newRow("columna inexistente") << "SELECT NoExiste FROM TA_CCOSTO" << long(err::ErrorEnComando) << 207L << "42S22" << "NoExiste";
    QTest::newRow("sintaxis") << "SELEC * FROM TA_CCOSTO" << long(err::ErrorEnComando) << 102L << "42000" << "syntax";
    QTest::newRow("clave repetida") << "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('11', 'Repetido')" << long(err::Integridad)
                                    << 2627L << "23000" << "UNIQUE";
    QTest::newRow("nulo en columna obligatoria") << "INSERT INTO TA_CCOSTO (CODIGO) VALUES ('99')" << long(err::Integridad) << 515L
                                                 << "23000" << "null";
    QTest::newRow("texto largo") << "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('12345', 'Largo')" << long(err::Truncado)
                                 << 8152L << "22001" << "truncarían";
    QTest::newRow("ROLLBACK sin transacción") << "ROLLBACK TRANSACTION" << long(err::ErrorEnComando) << 3903L << "25000"
                                              << "transaction";
}

void TstAdo::erroresDelMotor()
{
    QFETCH(QString, sql);
    QFETCH(long, numero);
    QFETCH(long, nativo);
    QFETCH(QString, estado);
    QFETCH(QString, texto);
    if (!PeculiaridadesDelMotor().rollbackSinTransaccion && sql.startsWith(QLatin1String("ROLLBACK")))
        QSKIP("un ROLLBACK sin transacción es solo un aviso en este motor");
    Connection* cn = &compartida();
    QString descripcion;
    QCOMPARE(errorDe([&] { cn->Execute(sql); }, &descripcion), numero);
    QVERIFY2(descripcion.contains(texto, Qt::CaseInsensitive), qPrintable(descripcion));
    QCOMPARE(cn->Errors().Count(), 1);
    const Error& e = cn->Errors().Item(0);
    QCOMPARE(e.Number, numero);
    QCOMPARE(e.NativeError, nativo);
    QCOMPARE(e.SQLState, estado);
    QCOMPARE(e.Description, descripcion);
    QCOMPARE(e.Source, cn->motor()->origen());
    // The collection keeps them until the next statement, which clears it; nothing changed.
    cn->Execute(QStringLiteral("SELECT 1"));
    QCOMPARE(cn->Errors().Count(), 0);
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 14);
    cn->Errors().Clear();
}

void TstAdo::masEntreTextos_data()
{
    // T-SQL's "+": texts are joined, numbers added; a text with a number is read as a number.
    QTest::addColumn<QString>("expresion");
    QTest::addColumn<QVariant>("valor"); // invalid: the statement fails
    QTest::newRow("dos literales") << "'a' + 'b'" << QVariant(QStringLiteral("ab"));
    QTest::newRow("columnas y literales") << "DESCRIPCION + ' (' + CODIGO + ')'" << QVariant(QStringLiteral("Administración (11)"));
    QTest::newRow("función y CASE") << "LTRIM('  x') + CASE WHEN 1 = 1 THEN 'y' ELSE 'z' END + 'w'" << QVariant(QStringLiteral("xyw"));
    QTest::newRow("entre paréntesis") << "('<' + CODIGO) + '>'" << QVariant(QStringLiteral("<11>"));
    QTest::newRow("con NULL") << "'a' + NULL" << QVariant();
    QTest::newRow("texto numérico y número") << "'5' + 1" << QVariant(6);
    QTest::newRow("número y texto numérico") << "2 * 3 + '4'" << QVariant(10);
    QTest::newRow("números") << "1 + 2 * 3 - 4" << QVariant(3);
    QTest::newRow("texto no numérico y número") << "'a' + 1" << QVariant(QStringLiteral("<error>"));
}

void TstAdo::masEntreTextos()
{
    QFETCH(QString, expresion);
    QFETCH(QVariant, valor);
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    cn->Execute(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'Administración' WHERE CODIGO = '11'"));
    const QString sql = QStringLiteral("SELECT ") + expresion + QStringLiteral(" AS R FROM TA_CCOSTO WHERE CODIGO = '11'");
    if (valor.toString() == QLatin1String("<error>")) {
        QVERIFY(errorDe([&] { cn->Execute(sql); }) != 0);
        return;
    }
    QVariant v;
    QCOMPARE(errorDe([&] { v = EmpresaPrueba::valor(*cn, sql); }), 0L);
    QCOMPARE(v.isNull(), valor.isNull());
    if (!valor.isNull())
        QCOMPARE(v.toString(), valor.toString());
}

void TstAdo::caracterNulo_data()
{
    QTest::addColumn<QString>("sql");
    const QString nulo = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("valor grabado") << "UPDATE TA_CCOSTO SET DESCRIPCION = '" + nulo + "' WHERE CODIGO = '11'";
    QTest::newRow("valor buscado") << "SELECT * FROM TA_CCOSTO WHERE DESCRIPCION = '" + nulo + "'";
}

void TstAdo::caracterNulo()
{
    // A NUL character typed or pasted by the user: a clear message, and nothing changes.
    QFETCH(QString, sql);
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    QString descripcion;
    QCOMPARE(errorDe([&] { cn->Execute(sql); }, &descripcion), err::ErrorEnComando);
    QVERIFY2(descripcion.startsWith(QStringLiteral("El texto contiene un carácter nulo")), qPrintable(descripcion));
    QCOMPARE(cn->Errors().Count(), 1);
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT DESCRIPCION FROM TA_CCOSTO WHERE CODIGO = '11'")).toString().contains(QChar(0)),
             false);
}

void TstAdo::tiposYTamanios_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<long>("tamanio");
    auto fila = [](const char* sql, const char* campo, int tipo, long tamanio) {
        QTest::addRow("%s", campo) << QString::fromUtf8(sql) << QString::fromUtf8(campo) << tipo << tamanio;
    };
    fila("SELECT * FROM MA_CUENTAS_CCDIST", "ID", adInteger, 4);
    fila("SELECT * FROM MA_CUENTAS_CCDIST", "codigo", adVarChar, 4);
    fila("SELECT * FROM MA_CUENTAS_CCDIST", "NOMBRE", adVarChar, 60);
    fila("SELECT * FROM MA_CUENTAS_CCDIST", "PORCENTAJE", adNumeric, 19);
    fila("SELECT * FROM MA_CUENTAS_CCDIST", "PIDECONFIRMACION", adInteger, 4);
    fila("SELECT * FROM MA_CUENTAS", "TITULO", adBoolean, 2);
    fila("SELECT * FROM Control_Acceso", "Ingreso", adDBTimeStamp, 16);
    fila("SELECT * FROM MV_ASIENTOS", "Importe", adCurrency, 8);
    fila("SELECT * FROM TA_CONFIGURACION", "Valor", adVarChar, 255);
    fila("SELECT COUNT(*) AS N FROM MA_CUENTAS", "N", adInteger, 4);
    fila("SELECT Codigo AS C FROM SS_MA_CUENTAS", "C", adVarChar, 20);
}

void TstAdo::tiposYTamanios()
{
    QFETCH(QString, sql);
    QFETCH(QString, campo);
    QFETCH(int, tipo);
    QFETCH(long, tamanio);
    Recordset rs = compartida().Execute(sql);
    const Field f = rs.Fields(campo);
    QCOMPARE(f.Type(), tipo);
    QCOMPARE(f.DefinedSize(), tamanio);
}

void TstAdo::valores()
{
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    Recordset rs = cn->Execute(QStringLiteral("SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   3' ORDER BY ID"));
    const QVariant p = rs.Fields(QStringLiteral("PORCENTAJE")).Value();
    QCOMPARE(p.metaType(), QMetaType::fromType<suite::Moneda>());
    QCOMPARE(p.value<suite::Moneda>(), suite::Moneda::desdeUnidades(333300));
    QCOMPARE(p.toString(), QStringLiteral("33,33")); // regional decimal comma
    QCOMPARE(rs.Fields(QStringLiteral("PIDECONFIRMACION")).Value().toInt(), 0);
    QCOMPARE(rs.Fields(QStringLiteral("NOMBRE")).Value().toString(), QStringLiteral("Producción"));

    // Currency read back and added gives exactly 100.
    suite::Moneda total;
    for (; !rs.EOF_(); rs.MoveNext())
        total += rs.Fields(QStringLiteral("PORCENTAJE")).Value().value<suite::Moneda>();
    QCOMPARE(total, suite::Moneda::desdeEntero(100));

    const QVariant nulo = EmpresaPrueba::valor(*cn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo = '1'"));
    QVERIFY(!nulo.isValid());
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT TITULO FROM MA_CUENTAS WHERE Codigo = '1'")).toBool(), true);
}

void TstAdo::recorrido()
{
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    const QString sql = QStringLiteral("SELECT CODIGO FROM TA_CCOSTO WHERE CODIGO LIKE '2%' ORDER BY CODIGO");
    auto leer = [](Recordset& rs) {
        QStringList vistos;
        for (; !rs.EOF_(); rs.MoveNext())
            vistos << rs.Fields(0).Value().toString();
        return vistos.join(u',');
    };

    // Forward-only and read-only: read as it moves, as ADO's server cursor.
    Recordset adelante;
    adelante.Open(sql, cn.get(), adOpenForwardOnly, adLockReadOnly);
    QVERIFY(!adelante.BOF() && !adelante.EOF_());
    QCOMPARE(adelante.RecordCount(), -1L);
    QCOMPARE(adelante.Fields(0).Name(), QStringLiteral("CODIGO")); // as the select list spells it
    QCOMPARE(adelante.FieldCount(), 1);
    QCOMPARE(leer(adelante), QStringLiteral("2,21,211,212,22"));
    QCOMPARE(errorDe([&] { adelante.MovePrevious(); }), err::NoAdmitido);
    adelante.MoveFirst(); // runs the query again
    QCOMPARE(adelante.Fields(0).Value().toString(), QStringLiteral("2"));
    adelante.Close();
    // Without a select list to follow, names are spelled as the table declares them.
    Recordset todos;
    todos.Open(QStringLiteral("SELECT * FROM MA_CUENTAS"), cn.get(), adOpenForwardOnly, adLockReadOnly);
    QCOMPARE(todos.Fields(0).Name() + u',' + todos.Fields(1).Name(), QStringLiteral("Codigo,Descripcion"));
    todos.Close();

    // Static: every row held, moves both ways.
    Recordset estatico;
    estatico.Open(sql, cn.get(), adOpenStatic, adLockReadOnly);
    QCOMPARE(estatico.RecordCount(), 5L);
    QCOMPARE(leer(estatico), QStringLiteral("2,21,211,212,22"));
    estatico.MoveLast();
    QCOMPARE(estatico.Fields(0).Value().toString(), QStringLiteral("22"));
    estatico.MovePrevious();
    QCOMPARE(estatico.Fields(0).Value().toString(), QStringLiteral("212"));
    estatico.MoveFirst();
    QCOMPARE(estatico.Fields(0).Value().toString(), QStringLiteral("2"));

    // A value kept by the caller stays as it was when the recordset moves on.
    Recordset rs = cn->Execute(sql);
    const QVariant guardado = rs.Fields(0).Value();
    rs.MoveNext();
    QCOMPARE(guardado.toString(), QStringLiteral("2"));
    QCOMPARE(rs.Fields(0).Value().toString(), QStringLiteral("21"));
}

namespace {
// The demo's extra accounts (6.1.000001, 6.1.000002...), the first n of them.
QStringList cuentasAdicionales(int n)
{
    QStringList c;
    for (int i = 1; i <= n; ++i)
        c << QStringLiteral("6.1.%1").arg(i, 6, 10, QChar(u'0'));
    return c;
}

const QString CuentasAdicionales = QStringLiteral("SELECT Codigo, Descripcion FROM MA_CUENTAS WHERE Codigo LIKE '6.%' ORDER BY Codigo");

// Up to n more rows of a forward-only recordset: their codes, each checked beside its description.
QStringList leerCodigos(Recordset& rs, int n = -1)
{
    QStringList vistos;
    for (; !rs.EOF_() && n != 0; rs.MoveNext(), --n) {
        const QString codigo = rs.Fields(0).Value().toString();
        if (rs.Fields(1).Value().toString() != QStringLiteral("Cuenta adicional %1").arg(codigo.mid(4).toInt()))
            return {QStringLiteral("fila mezclada: ") + codigo};
        vistos << codigo;
    }
    return vistos;
}
} // namespace

void TstAdo::filasPorBloque_data()
{
    // ODBC fetches rows 256 at a time: results around the ends of its blocks.
    QTest::addColumn<int>("filas");
    for (int n : {0, 1, 255, 256, 257, 512, 513})
        QTest::addRow("%d filas", n) << n;
}

void TstAdo::filasPorBloque()
{
    QFETCH(int, filas);
    Connection& cn = compartida(600);
    const QString sql = filas ? QStringLiteral("SELECT TOP %1 Codigo, Descripcion FROM MA_CUENTAS WHERE Codigo LIKE '6.%' "
                                               "ORDER BY Codigo").arg(filas)
                              : QStringLiteral("SELECT Codigo, Descripcion FROM MA_CUENTAS WHERE Codigo = 'no hay'");
    Recordset rs;
    rs.Open(sql, &cn, adOpenForwardOnly, adLockReadOnly);
    QCOMPARE(rs.BOF(), filas == 0);
    QCOMPARE(rs.EOF_(), filas == 0);
    QCOMPARE(rs.FieldCount(), 2);
    QCOMPARE(leerCodigos(rs), cuentasAdicionales(filas));
    QVERIFY(rs.EOF_());
    QCOMPARE(errorDe([&] { rs.MoveNext(); }), err::SinRegistroActual);
    // Read to the end and run again: the same rows.
    rs.MoveFirst();
    QCOMPARE(leerCodigos(rs), cuentasAdicionales(filas));
    rs.Close();
}

void TstAdo::cursorAMedioLeer_data()
{
    // A forward-only recordset left part read while the connection runs something else: the
    // rest of its rows are all there, in order, and so are the other statement's.
    QTest::addColumn<QString>("otra");
    QTest::addColumn<int>("leidas"); // rows read before it
    for (int leidas : {1, 255, 256, 300}) {
        for (const char* otra : {"consulta", "cursor", "orden", "transacción", "esquema", "cerrar"})
            QTest::addRow("%s tras %d filas", otra, leidas) << QString::fromUtf8(otra) << leidas;
    }
}

void TstAdo::cursorAMedioLeer()
{
    QFETCH(QString, otra);
    QFETCH(int, leidas);
    Connection& cn = compartida(600);
    const QStringList todas = cuentasAdicionales(600);
    Recordset rs;
    rs.Open(CuentasAdicionales, &cn, adOpenForwardOnly, adLockReadOnly);
    QStringList vistas = leerCodigos(rs, leidas);
    QCOMPARE(vistas, todas.mid(0, leidas));
    if (otra == QLatin1String("consulta")) {
        QCOMPARE(EmpresaPrueba::valor(cn, QStringLiteral("SELECT Descripcion FROM MA_CUENTAS WHERE Codigo = '6.1.000600'")).toString(),
                 QStringLiteral("Cuenta adicional 600"));
    } else if (otra == QLatin1String("cursor")) {
        // Another one left part read too; both go on to their ends.
        Recordset segundo;
        segundo.Open(CuentasAdicionales, &cn, adOpenForwardOnly, adLockReadOnly);
        QStringList delSegundo = leerCodigos(segundo, 3);
        vistas += leerCodigos(rs, 10);
        delSegundo += leerCodigos(segundo);
        QCOMPARE(delSegundo, todas);
    } else if (otra == QLatin1String("orden")) {
        long afectadas = 0;
        cn.Execute(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = DESCRIPCION WHERE CODIGO LIKE '1%'"), &afectadas);
        QVERIFY(afectadas > 0);
    } else if (otra == QLatin1String("transacción")) {
        cn.BeginTrans();
        cn.Execute(QStringLiteral("DELETE FROM MA_CUENTAS WHERE Codigo LIKE '6.%'"));
        QCOMPARE(EmpresaPrueba::valor(cn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE Codigo LIKE '6.%'")).toInt(), 0);
        cn.RollbackTrans();
    } else if (otra == QLatin1String("esquema")) {
        Recordset tablas = cn.OpenSchema(adSchemaTables);
        QVERIFY(!tablas.EOF_());
    } else {
        cn.Close();
    }
    vistas += leerCodigos(rs);
    QCOMPARE(vistas, todas);
    QVERIFY(rs.EOF_());
    if (cn.State() != adStateOpen) { // the rows stayed; the next row of the suite reconnects
        rs.Close();
        cleanupTestCase();
        return;
    }
    rs.MoveFirst(); // runs again
    QCOMPARE(leerCodigos(rs, 2), todas.mid(0, 2));
    rs.Close();
    QCOMPARE(EmpresaPrueba::valor(cn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE Codigo LIKE '6.%'")).toInt(), 600);
}

void TstAdo::cerrarAMedioLeer_data()
{
    QTest::addColumn<bool>("cerrado"); // closed, else let go unclosed
    QTest::newRow("Close") << true;
    QTest::newRow("destruido") << false;
}

void TstAdo::cerrarAMedioLeer()
{
    // A recordset closed part read frees the connection for what comes next.
    QFETCH(bool, cerrado);
    EmpresaPrueba empresa(600);
    auto cn = empresa.conectar();
    {
        Recordset rs;
        rs.Open(CuentasAdicionales, cn.get(), adOpenForwardOnly, adLockReadOnly);
        QCOMPARE(leerCodigos(rs, 300).size(), 300);
        if (cerrado)
            rs.Close();
    }
    cn->BeginTrans();
    long afectadas = 0;
    cn->Execute(QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = Descripcion WHERE Codigo LIKE '6.%'"), &afectadas);
    cn->CommitTrans();
    QCOMPARE(afectadas, 600L);
    Recordset rs;
    rs.Open(CuentasAdicionales, cn.get(), adOpenForwardOnly, adLockReadOnly);
    QCOMPARE(leerCodigos(rs), cuentasAdicionales(600));
}

void TstAdo::consultaQueFallaAlEmpezar()
{
    // A forward-only query that fails on its first row leaves nothing open: once the
    // connection closes, the file is free.
    if (!PeculiaridadesDelMotor().basesEnArchivos)
        QSKIP("sin archivos en un servidor");
#ifndef Q_OS_LINUX
    QSKIP("los archivos abiertos se ven en /proc");
#endif
    EmpresaPrueba empresa;
    const QString archivo = empresa.ruta(QStringLiteral("EMPRESA_DEMO.db"));
    auto cn = empresa.conectar();
    QVERIFY(abiertoEnElProceso(archivo));
    Recordset rs;
    QCOMPARE(errorDe([&] {
                 rs.Open(QStringLiteral("SELECT ABS(-9223372036854775808)"), cn.get(), adOpenForwardOnly, adLockReadOnly);
             }),
             err::ErrorEnComando);
    QCOMPARE(cn->State(), int(adStateOpen));
    cn->Close();
    QVERIFY(!abiertoEnElProceso(archivo));
}

void TstAdo::actualizable()
{
    EmpresaPrueba empresa; // regional short date dd/MM/yyyy
    auto cn = empresa.conectar();

    // A new row, as the access log writes it.
    Recordset rs;
    rs.Open(QStringLiteral("Select top 1 * from Control_Acceso"), cn.get(), adOpenDynamic, adLockOptimistic);
    rs.AddNew();
    rs.Fields(QStringLiteral("Maquina")) = QStringLiteral("PUESTO1");
    rs.Fields(QStringLiteral("Usuario")) = QStringLiteral("ANA");
    rs.Fields(QStringLiteral("Ingreso")) = QStringLiteral("10/12/26 09:30");
    rs.Fields(QStringLiteral("NombreUsuario")) = QStringLiteral("O'Brien");
    QCOMPARE(rs.EditMode(), int(adEditAdd));
    rs.Update();
    QCOMPARE(rs.EditMode(), int(adEditNone));
    rs.Close();
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")).toInt(), 1);
    Recordset leido = cn->Execute(QStringLiteral("SELECT * FROM Control_Acceso"));
    QCOMPARE(leido.Fields(QStringLiteral("Ingreso")).Value().toDateTime(), QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    QCOMPARE(leido.Fields(QStringLiteral("NombreUsuario")).Value().toString(), QStringLiteral("O'Brien"));

    // An existing row changed, as the configuration writer does.
    rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'PERIODO'"), cn.get(), adOpenDynamic,
            adLockOptimistic);
    rs.Fields(QStringLiteral("Valor")) = QStringLiteral("2027");
    QCOMPARE(rs.EditMode(), int(adEditInProgress));
    QCOMPARE(errorDe([&] { rs.Close(); }), err::NoPermitidoEnContexto);
    rs.Update();
    rs.Close();
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'PERIODO'")).toString(),
             QStringLiteral("2027"));

    // CancelUpdate drops the change; a value too long fails as truncation and stores nothing.
    rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE CLAVE = 'PERIODO'"), cn.get(), adOpenDynamic, adLockOptimistic);
    rs.Fields(QStringLiteral("Valor")) = QStringLiteral("1999");
    rs.CancelUpdate();
    rs.Fields(QStringLiteral("Grupo")) = QString(31, u'x');
    QCOMPARE(errorDe([&] { rs.Update(); }), err::Truncado);
    QCOMPARE(cn->Errors().Item(0).NativeError, long(err::NativoTruncado));
    rs.CancelUpdate();
    rs.Close();
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'PERIODO'")).toString(),
             QStringLiteral("2027"));
}

void TstAdo::filaCambiadaPorOtro()
{
    // Optimistic locking: the row changed under us is not overwritten.
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    auto otro = empresa.conectar();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE CLAVE = 'NOMBRE'"), cn.get(), adOpenDynamic, adLockOptimistic);
    otro->Execute(QStringLiteral("UPDATE TA_CONFIGURACION SET Valor = 'Otra S.A.' WHERE Clave = 'NOMBRE'"));
    rs.Fields(QStringLiteral("Valor")) = QStringLiteral("Mía S.A.");
    QCOMPARE(errorDe([&] { rs.Update(); }), err::FilaNoEncontrada);
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'NOMBRE'")).toString(),
             QStringLiteral("Otra S.A."));
}

void TstAdo::transacciones()
{
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    auto cuenta = [&] { return EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST")).toInt(); };
    const int antes = cuenta();

    cn->BeginTrans();
    cn->Execute(QStringLiteral("DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'"));
    QCOMPARE(cuenta(), antes - 5);
    cn->RollbackTrans();
    QCOMPARE(cuenta(), antes);

    // A failing statement inside a batch transaction leaves it open for the caller to roll back.
    const QString lote = QStringLiteral("BEGIN TRANSACTION\r\nDELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'\r\n"
                                        "INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) "
                                        "VALUES('   1','Un nombre demasiado largo para la columna que lo guarda, más de sesenta','c','11',100,1)\r\n");
    QCOMPARE(errorDe([&] { cn->Execute(lote); }), err::Truncado);
    QCOMPARE(cn->Errors().Count(), 1);
    cn->Execute(QStringLiteral("ROLLBACK TRANSACTION"));
    QCOMPARE(cuenta(), antes);

    cn->Execute(QStringLiteral("BEGIN TRANSACTION\r\nDELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'"));
    cn->Execute(QStringLiteral("COMMIT TRANSACTION"));
    QCOMPARE(cuenta(), antes - 5);
}

void TstAdo::confirmarTrasUnError()
{
    // A caller that sends COMMIT after a failed statement, without looking at the errors.
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    auto cuenta = [&] { return EmpresaPrueba::valor(*cn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST")).toInt(); };
    const int antes = cuenta();
    const QString lote = QStringLiteral("BEGIN TRANSACTION\r\nDELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'\r\n"
                                        "INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('11', 'Repetido')\r\n");
    QCOMPARE(errorDe([&] { cn->Execute(lote); }), err::Integridad);
    const long siguiente = errorDe([&] { cn->Execute(QStringLiteral("DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   2'")); });
    cn->Execute(QStringLiteral("COMMIT TRANSACTION"));
    if (PeculiaridadesDelMotor().errorAnulaTransaccion) {
        QCOMPARE(siguiente, err::ErrorEnComando);
        QCOMPARE(cuenta(), antes);
    } else {
        QCOMPARE(siguiente, 0L);
        QCOMPARE(cuenta(), antes - 7);
    }
    // The transaction is over either way: the connection commits on its own again.
    cn->Execute(QStringLiteral("DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   3'"));
    auto otra = empresa.conectar();
    QCOMPARE(EmpresaPrueba::valor(*otra, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST WHERE CODIGO='   3'")).toInt(), 0);
}

void TstAdo::esquemas()
{
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    auto filas = [](Recordset rs, const QString& campo) {
        QStringList l;
        for (; !rs.EOF_(); rs.MoveNext())
            l << rs.Fields(campo).Value().toString().toUpper();
        return l;
    };
    const QStringList tablas = filas(cn->OpenSchema(adSchemaTables), QStringLiteral("TABLE_NAME"));
    QVERIFY(tablas.contains(QStringLiteral("MA_CUENTAS_CCDIST")));
    QVERIFY(tablas.contains(QStringLiteral("SS_MA_CUENTAS")));
    QVERIFY(!tablas.contains(QStringLiteral("SQLITE_SEQUENCE")));
    QCOMPARE(filas(cn->OpenSchema(adSchemaTables, {QVariant(), QVariant(), QStringLiteral("ta_usuarios")}),
                   QStringLiteral("TABLE_TYPE")),
             QStringList{QStringLiteral("TABLE")});

    Recordset columnas = cn->OpenSchema(adSchemaColumns, {QStringLiteral("empresa_demo"), QVariant(), QStringLiteral("ma_cuentas_ccdist")});
    QCOMPARE(filas(std::move(columnas), QStringLiteral("COLUMN_NAME")),
             (QStringList{"ID", "CODIGO", "NOMBRE", "CONCEPTO", "CCOSTO", "PORCENTAJE", "PIDECONFIRMACION"}));
    Recordset una = cn->OpenSchema(adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("MA_CUENTAS"), QStringLiteral("cc_dist")});
    QCOMPARE(una.RecordCount(), 1L);
    QCOMPARE(una.Fields(QStringLiteral("DATA_TYPE")).Value().toInt(), int(adVarChar));
    QCOMPARE(una.Fields(QStringLiteral("CHARACTER_MAXIMUM_LENGTH")).Value().toInt(), 4);
    // Another catalog has no rows here.
    QCOMPARE(cn->OpenSchema(adSchemaColumns, {QStringLiteral("OTRA"), QVariant(), QStringLiteral("MA_CUENTAS")}).RecordCount(), 0L);
    QCOMPARE(errorDe([&] { cn->OpenSchema(99); }), err::NoAdmitido);
}

void TstAdo::baseDeDatosPorDefecto()
{
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    cn->DefaultDatabase(QStringLiteral("empresa_demo")); // the same, in other letters: nothing changes
    QCOMPARE(cn->DefaultDatabase().toUpper(), QStringLiteral("EMPRESA_DEMO"));
    QCOMPARE(errorDe([&] { cn->DefaultDatabase(QStringLiteral("NO_EXISTE")); }), err::Fallo);
    QCOMPARE(cn->State(), int(adStateOpen)); // still on the company
    QCOMPARE(cn->DefaultDatabase().toUpper(), QStringLiteral("EMPRESA_DEMO"));
    cn->DefaultDatabase(QStringLiteral("VL_ESTADISTICAS"));
    QCOMPARE(EmpresaPrueba::valor(*cn, QStringLiteral("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'TimeOut'")).toString(),
             QStringLiteral("30"));
}

void TstAdo::esperaAlOtroPuesto()
{
    // Two programs on one file wait for each other instead of failing at once.
    EmpresaPrueba empresa;
    auto uno = empresa.conectar();
    auto dos = empresa.conectar();
    dos->CommandTimeout(1);
    uno->Execute(QStringLiteral("BEGIN TRANSACTION\r\nUPDATE TA_CCOSTO SET DESCRIPCION = 'Uno' WHERE CODIGO = '1'"));
    QElapsedTimer t;
    t.start();
    QCOMPARE(errorDe([&] { dos->Execute(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'Dos' WHERE CODIGO = '1'")); }),
             err::TiempoAgotado);
    QVERIFY(t.elapsed() >= 900); // it waited for the other one
    uno->Execute(QStringLiteral("COMMIT TRANSACTION"));
    dos->Execute(QStringLiteral("UPDATE TA_CCOSTO SET DESCRIPCION = 'Dos' WHERE CODIGO = '1'"));
    QCOMPARE(EmpresaPrueba::valor(*uno, QStringLiteral("SELECT DESCRIPCION FROM TA_CCOSTO WHERE CODIGO = '1'")).toString(),
             QStringLiteral("Dos"));
}

QTEST_GUILESS_MAIN(TstAdo)
#include "tst_ado.moc"
