// DB_Dll's table helpers: the statements they build, what they find, SQL literals, type
// classes, name helpers, schema checks and the error log of the class.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "suite/Moneda.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <functional>

using namespace ado;

Q_DECLARE_METATYPE(std::function<void()>)

class TstDbAyudas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sentencias_data();
    void sentencias();
    void busquedas();
    void erroresDeBusqueda();
    void maximosYMinimos();
    void sqlValue_data();
    void sqlValue();
    void clasesYNombres();
    void esquema();
    void tratamientoErrores();
    void init();
    void cleanupTestCase();

private:
    // gDB on one company for the calls that only read it, built at the first row; let go
    // before any other company is built (on a server it would replace this one).
    std::unique_ptr<GDBPrueba> compartida_;
};

void TstDbAyudas::init()
{
    if (qstrcmp(QTest::currentTestFunction(), "sentencias") != 0)
        cleanupTestCase();
}

void TstDbAyudas::cleanupTestCase() { compartida_.reset(); }

void TstDbAyudas::sentencias_data()
{
    QTest::addColumn<std::function<void()>>("llamada");
    QTest::addColumn<QString>("sentencia");
    QTest::addColumn<bool>("cambia"); // the call changes the database: it gets a company of its own
    auto fila = [](const char* n, std::function<void()> f, const char* s, bool cambia = false) {
        QTest::newRow(n) << f << QString::fromUtf8(s) << cambia;
    };
    auto& g = gDB;
    fila("existe, texto", [&] { g.ExisteEnTabla("MA_CUENTAS_CCDIST", "   1", "Codigo", nullptr, 8); },
         "SELECT TOP 1  * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='1'");
    fila("existe, comilla doblada", [&] { g.ExisteEnTabla("ta_usuarios", " O'Brien ", "nombre", nullptr, 8); },
         "SELECT TOP 1  * FROM ta_usuarios with(nolock)  WHERE LTRIM(RTRIM(nombre)) ='O''Brien'");
    fila("existe, fecha", [&] { g.ExisteEnTabla("Control_Acceso", " '2026-12-10' ", "Ingreso", nullptr, 7); },
         "SELECT TOP 1 * FROM Control_Acceso with(nolock)  WHERE Ingreso = '2026-12-10' ");
    fila("existe, número", [&] { g.ExisteEnTabla("MA_CUENTAS_CCDIST", " 12abc", "ID", nullptr, 3); },
         "SELECT TOP 1 * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE ID = 12");
    fila("existe, número decimal", [&] { g.ExisteEnTabla("MA_CUENTAS_CCDIST", "0.5", "PORCENTAJE", nullptr, 5); },
         "SELECT TOP 1 * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE PORCENTAJE = .5");
    fila("existe, otro tipo", [&] { g.ExisteEnTabla("MA_CUENTAS_CCDIST", "ID", "ID", nullptr, 11); },
         "SELECT TOP 1 * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE ID = ID");
    fila("existe, condición", [&] { g.ExisteEnTabla("MA_CUENTAS", "x", "y", nullptr, 8, "TITULO = 0"); },
         "SELECT TOP 1 * FROM SS_MA_CUENTAS with(nolock)  WHERE TITULO = 0");
    fila("existe, condición con WHERE", [&] { g.ExisteEnTabla("TA_CCOSTO t", "", "", nullptr, 8, " WHERE t.CODIGO = '1'"); },
         "SELECT TOP 1 * FROM TA_CCOSTO t with(nolock)   WHERE t.CODIGO = '1'");
    fila("existe sin sinónimos, texto", [&] { g.ExisteEnTablaST("MA_CUENTAS", " 1 ", "Codigo", nullptr, 8); },
         "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Codigo =' 1 '");
    fila("existe sin sinónimos, condición", [&] { g.ExisteEnTablaST("MA_CUENTAS", "", "", nullptr, 8, "TITULO = 1"); },
         "SELECT * FROM MA_CUENTAS with(nolock)   WHERE TITULO = 1");
    fila("datos, texto recortado", [&] { g.DatosTabla("TA_CCOSTO", " 11 ", "DESCRIPCION", "CODIGO", 8); },
         "SELECT TOP 1 * FROM TA_CCOSTO with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='11' ");
    fila("datos, texto sin recortar y condición", [&] { g.DatosTabla("TA_CCOSTO", "11", "DESCRIPCION", "CODIGO", "'", "CODIGO <> ''", false); },
         "SELECT TOP 1 * FROM TA_CCOSTO with(nolock)  WHERE CODIGO ='11'  AND CODIGO <> ''");
    fila("datos, número", [&] { g.DatosTabla("MA_CUENTAS_CCDIST", "3", "CCOSTO", "ID", 4); },
         "SELECT TOP 1 * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE ID = 3");
    fila("máximo", [&] { g.BuscaMaximo("MA_CUENTAS_CCDIST", "ID", {}, QStringLiteral(" CODIGO = '   2' ")); },
         "SELECT MAX(ID) AS MAYOR FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   2'");
    fila("mínimo", [&] { g.BuscaMinimo("MA_CUENTAS_CCDIST", "PORCENTAJE"); },
         "SELECT MIN(PORCENTAJE) AS MENOR FROM MA_CUENTAS_CCDIST  with(nolock) ");
    fila("último código", [&] { g.BuscaUltimoCodigo("TA_CCOSTO", "CODIGO", {}, "  "); },
         "SELECT MAX(CODIGO) AS MAYOR FROM TA_CCOSTO");
    fila("agregar campo", [&] { g.AddField("MA_CUENTAS", "Importe", "money", false, QStringLiteral("0")); },
         "ALTER TABLE dbo.MA_CUENTAS ADD Importe money Not Null  CONSTRAINT DF_MA_CUENTAS_Importe DEFAULT (0)", true);
    fila("agregar campo nulo", [&] { g.AddField("TA_CCOSTO", "Nota", "varchar(20)", true); },
         "ALTER TABLE dbo.TA_CCOSTO ADD Nota varchar(20) Null ", true);
}

void TstDbAyudas::sentencias()
{
    QFETCH(std::function<void()>, llamada);
    QFETCH(QString, sentencia);
    QFETCH(bool, cambia);
    std::unique_ptr<GDBPrueba> propia;
    if (cambia) {
        cleanupTestCase();
        propia = std::make_unique<GDBPrueba>();
    } else if (!compartida_) {
        compartida_ = std::make_unique<GDBPrueba>();
    }
    GDBPrueba& g = cambia ? *propia : *compartida_;
    g.enviadas(); // only what this call sends
    DialogosGuionados d;
    llamada();
    QCOMPARE(g.enviadas(), QStringList{sentencia});
    QCOMPARE(gDB.gCnn.Errors().Count(), 0); // and each one ran on the database
}

void TstDbAyudas::busquedas()
{
    GDBPrueba g;
    gDB.gCnn.Execute(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES (' 98', 'Con blanco')"));
    // Both sides trimmed: found; without trimming the leading blank differs.
    QVERIFY(gDB.ExisteEnTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("98  "), QStringLiteral("CODIGO"), nullptr, 8));
    QVERIFY(!gDB.ExisteEnTablaST(QStringLiteral("TA_CCOSTO"), QStringLiteral("98  "), QStringLiteral("CODIGO"), nullptr, 8));
    QVERIFY(!gDB.ExisteEnTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("999"), QStringLiteral("CODIGO"), nullptr, 8));

    // With a recordset it stays open on the row found.
    Recordset rs;
    QVERIFY(gDB.ExisteEnTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("211"), QStringLiteral("CODIGO"), &rs, 8));
    QCOMPARE(rs.Fields(QStringLiteral("Descripcion")).Value().toString(), QStringLiteral("Ventas zona norte"));
    // A second lookup on the same recordset closes the first.
    QVERIFY(!gDB.ExisteEnTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("888"), QStringLiteral("CODIGO"), &rs, 8));
    QVERIFY(rs.EOF_());
    rs.Close();

    // A quote is searched for as typed, and cannot change the statement.
    gDB.gCnn.Execute(QStringLiteral("INSERT INTO ta_usuarios (nombre, Administrador) VALUES ('O''BRIEN', 0)"));
    QVERIFY(gDB.ExisteEnTabla(QStringLiteral("ta_usuarios"), QStringLiteral("o'brien"), QStringLiteral("nombre"), nullptr, 8));
    QVERIFY(!gDB.ExisteEnTabla(QStringLiteral("ta_usuarios"), QStringLiteral("x' OR '1'='1"), QStringLiteral("nombre"), nullptr, 8));
    QCOMPARE(gDB.DatosTabla(QStringLiteral("ta_usuarios"), QStringLiteral("O'Brien"), QStringLiteral("Administrador"),
                            QStringLiteral("nombre"), 8).toString(),
             QStringLiteral("0"));

    QCOMPARE(gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("211"), QStringLiteral("DESCRIPCION"),
                            QStringLiteral("CODIGO"), 8),
             QVariant(QStringLiteral("Ventas zona norte")));
    // Not found: an empty text, not Null.
    const QVariant nada = gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("999"), QStringLiteral("DESCRIPCION"),
                                         QStringLiteral("CODIGO"), 8);
    QVERIFY(nada.isValid());
    QCOMPARE(nada.toString(), QString());
    // A Null column reads as "".
    QCOMPARE(gDB.DatosTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1"), QStringLiteral("CC_DIST"),
                            QStringLiteral("Codigo"), 8),
             QVariant(QString()));
}

void TstDbAyudas::erroresDeBusqueda()
{
    GDBPrueba g;
    DialogosGuionados d;
    // Errors ignored: no dialog at all, an empty text.
    QCOMPARE(gDB.DatosTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("B"), 8,
                            QString(), true, true),
             QVariant(QString()));
    QCOMPARE(gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("11"), QStringLiteral("NO_EXISTE"),
                            QStringLiteral("CODIGO"), 8, QString(), true, true),
             QVariant(QString()));
    QVERIFY(d.vistos().isEmpty());

    // Otherwise the general message: Abort leaves with an empty value.
    d.responder(suite::vbAbort);
    QVERIFY(!gDB.DatosTabla(QStringLiteral("TA_CCOSTO"), QStringLiteral("11"), QStringLiteral("NO_EXISTE"),
                            QStringLiteral("CODIGO"), 8)
                 .isValid());
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al Operador"));
    QCOMPARE(d.ultimo().estilo, 18);
    QVERIFY(d.ultimo().texto.contains(QStringLiteral("NO_EXISTE")));

    // A lookup on a missing table: Retry repeats, Ignore goes on with false.
    d.responder(suite::vbRetry).responder(suite::vbIgnore);
    QVERIFY(!gDB.ExisteEnTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("1"), QStringLiteral("A"), nullptr, 8));
    QCOMPARE(d.vistos().size(), 3);
    QCOMPARE(g.enviadas().size(), 3 + 2);
}

void TstDbAyudas::maximosYMinimos()
{
    GDBPrueba g;
    QCOMPARE(gDB.BuscaMaximo(QStringLiteral("MA_CUENTAS_CCDIST"), QStringLiteral("ID")), QVariant(10.0));
    QCOMPARE(gDB.BuscaMaximo(QStringLiteral("TA_CCOSTO"), QStringLiteral("CODIGO"), 7), QVariant(QStringLiteral("32")));
    QVERIFY(!gDB.BuscaMaximo(QStringLiteral("Control_Acceso"), QStringLiteral("ID")).isValid()); // empty, not 0
    QVERIFY(!gDB.BuscaMinimo(QStringLiteral("Control_Acceso"), QStringLiteral("ID")).isValid());
    QCOMPARE(gDB.BuscaMinimo(QStringLiteral("MA_CUENTAS_CCDIST"), QStringLiteral("PORCENTAJE"), {},
                             QStringLiteral("CODIGO = '   3'")),
             QVariant(33.33));
    QCOMPARE(gDB.BuscaUltimoCodigo(QStringLiteral("MA_CUENTAS_CCDIST"), QStringLiteral("ID"), {}, QStringLiteral("CODIGO = '   1'")),
             QVariant(5.0));
}

void TstDbAyudas::sqlValue_data()
{
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("literal");
    QTest::newRow("coma regional a punto") << QVariant(QStringLiteral("1234,5")) << "@" << "1234.5";
    QTest::newRow("número de coma flotante") << QVariant(12.25) << "@" << "12.25";
    QTest::newRow("moneda") << QVariant::fromValue(suite::Moneda::desdeUnidades(333300)) << "@" << "33.33";
    QTest::newRow("nulo numérico") << QVariant() << "@" << "0";
    QTest::newRow("nulo texto") << QVariant() << "'" << "NULL";
    QTest::newRow("texto") << QVariant(QStringLiteral("Gastos")) << "'" << "'Gastos'";
    QTest::newRow("comilla doblada") << QVariant(QStringLiteral("D'Angelo")) << "'" << "'D''Angelo'";
    QTest::newRow("sin tipo") << QVariant(7) << "" << "7";
    QTest::newRow("no numérico") << QVariant(QStringLiteral("abc")) << "@" << "0";
}

void TstDbAyudas::sqlValue()
{
    QFETCH(QVariant, valor);
    QFETCH(QString, tipo);
    QFETCH(QString, literal);
    EntornoPrueba e;
    QCOMPARE(gDB.SQLValue(valor, tipo), literal);
    QCOMPARE(gDB.SQLValue2(valor, tipo), literal);
}

void TstDbAyudas::clasesYNombres()
{
    for (int t : {7, 133, 134, 135, 137, 64})
        QVERIFY(DB_Dll::adodate(t) && !DB_Dll::ADOText(t) && DB_Dll::ADOComilla(t) == QLatin1String("'"));
    for (int t : {8, 129, 130, 200, 201, 202, 203})
        QVERIFY(DB_Dll::ADOText(t) && DB_Dll::ADOComilla(t) == QLatin1String("'"));
    for (int t : {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131})
        QVERIFY(DB_Dll::ADONumeric(t) && DB_Dll::ADOComilla(t).isEmpty());
    QVERIFY(DB_Dll::ADOCurrency(6) && !DB_Dll::ADONumeric(6));
    QVERIFY(DB_Dll::ADOBoolean(11) && !DB_Dll::ADOBoolean(3));

    QString uno = QStringLiteral("dbo.Tabla");
    QCOMPARE(DB_Dll::stSTF(uno, 0), QStringLiteral("dbo"));
    QCOMPARE(DB_Dll::stSTF(uno, 1), QStringLiteral("Tabla"));
    QString dos = QStringLiteral("base.dbo.Tabla");
    QCOMPARE(DB_Dll::stSTF(dos, 0), QStringLiteral("dbo.Tabla"));
    QCOMPARE(dos, QStringLiteral("dbo.Tabla")); // written back
    QString sin = QStringLiteral("Tabla");
    QCOMPARE(DB_Dll::stSTF(sin, 1), QStringLiteral("Tabla"));
    QCOMPARE(DB_Dll::AddBrackets(QStringLiteral("Cuenta Madre")), QStringLiteral("[Cuenta Madre]"));
    QCOMPARE(DB_Dll::AddBrackets(QStringLiteral("[Cuenta Madre]")), QStringLiteral("[Cuenta Madre]"));
    QCOMPARE(DB_Dll::AddBrackets(QStringLiteral("Cuenta")), QStringLiteral("Cuenta"));
    QCOMPARE(DB_Dll::StripBrackets(QStringLiteral("[Cuenta Madre]")), QStringLiteral("Cuenta Madre"));
    QCOMPARE(DB_Dll::StripConnect(QStringLiteral("Tabla -> Otra")), QStringLiteral("Tabla"));
    QCOMPARE(DB_Dll::StripConnect(QStringLiteral("Tabla")), QStringLiteral("Tabla"));
    QCOMPARE(DB_Dll::StripFileName(QStringLiteral("C:\\VL\\datos.mdb")), QStringLiteral("C:\\VL"));
    QCOMPARE(DB_Dll::StripFileName(QStringLiteral("/srv/vl/datos.mdb")), QStringLiteral("/srv/vl"));
    QCOMPARE(DB_Dll::StripFileName(QStringLiteral("datos.mdb")), QString());
}

void TstDbAyudas::esquema()
{
    GDBPrueba g;
    QVERIFY(gDB.ExisteTablaDB(QStringLiteral(" ma_cuentas_ccdist ")));
    QVERIFY(!gDB.ExisteTablaDB(QStringLiteral("MA_X")));
    QVERIFY(gDB.ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("cc_dist")));
    QVERIFY(!gDB.ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("Importe")));
    QVERIFY(gDB.VerCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("Importe"), true, QStringLiteral("money"), false,
                           QStringLiteral("0")));
    QVERIFY(gDB.ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("Importe")));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT Importe FROM MA_CUENTAS WHERE Codigo = '1'")).toString(),
             QStringLiteral("0"));
    QVERIFY(gDB.VerCampoDB(QStringLiteral("NO_EXISTE"), QStringLiteral("X"), true, QStringLiteral("int"))); // nothing added
    gDB.gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
    QVERIFY(gDB.ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("Inventado")));
}

void TstDbAyudas::tratamientoErrores()
{
    GDBPrueba g(false);
    DialogosGuionados d;
    const suite::ErrorRT e{3265, QStringLiteral("Item cannot be found."), QStringLiteral("ADODB.Fields")};
    // The log goes to the user's state folder; the program's folder (the fixture's) gets none.
    const QByteArray estadoAntes = qgetenv("XDG_STATE_HOME"), tempAntes = qgetenv("TEMP");
    qputenv("XDG_STATE_HOME", QFile::encodeName(g.ruta(QStringLiteral("estado"))));
    qunsetenv("TEMP");
    const auto restaurar = qScopeGuard([&] {
        qputenv("XDG_STATE_HOME", estadoAntes);
        if (!tempAntes.isEmpty())
            qputenv("TEMP", tempAntes);
    });
    const QString enEstado = g.ruta(QStringLiteral("estado/prorrata/VLERR.LOG"));

    // Number 0: nothing shown, no file touched.
    QCOMPARE(gDB.TratamientoErrores(suite::ErrorRT{0, {}, {}}, std::nullopt, QStringLiteral("x")), 0);
    QVERIFY(!QFile::exists(enEstado));

    d.responder(suite::vbIgnore);
    QCOMPARE(gDB.TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos")), int(suite::vbIgnore));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("ADODB.Fields - VerificaCampos Aviso al operador!!! - 5 "));
    QCOMPARE(d.ultimo().estilo, 18);
    QVERIFY(!QFile::exists(g.ruta(QStringLiteral("VLERR.LOG"))));
    QFile log(enEstado);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(log.readAll()),
             QStringLiteral("08-12-2026 18:04:11 Rutina: - VerificaCampos Mensaje Ha ocurrido el Siguiente Error (3265) "
                            "Item cannot be found. Respondió : Ignorar\r\n"));

    // ArchivoErrores names the file; one that cannot be written is no failure.
    gDB.ArchivoErrores(g.ruta(QStringLiteral("otro.log")));
    d.responder(suite::vbRetry);
    QCOMPARE(gDB.TratamientoErrores(e, suite::vbRetryCancel, QString()), int(suite::vbRetry));
    QCOMPARE(d.ultimo().estilo, 5);
    QVERIFY(QFile::exists(g.ruta(QStringLiteral("otro.log"))));
    gDB.ArchivoErrores(g.ruta(QStringLiteral("no/existe/otro.log")));
    d.responder(suite::vbAbort);
    QCOMPARE(gDB.TratamientoErrores(e), int(suite::vbAbort));
}

QTEST_GUILESS_MAIN(TstDbAyudas)
#include "tst_db_ayudas.moc"
