// T-SQL on SQLite: the batch splitter, application locks, and every kind of statement the
// program sends, each run on a real demo company database (one for all the statements that
// only read, one of its own for each that changes it).
#include "EmpresaPrueba.h"
#include "data/ado/TSQL.h"
#include "suite/ErrorRT.h"
#include "data/ado/servidores/PostgreSQL.h"
#include "data/ado/servidores/SQLite.h"

#include <QTest>

using namespace ado;

class TstTsql : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dividir_data();
    void dividir();
    void literalesIntactos();
    void textoSinCerrar();
    void anidamiento();
    void memoriaTraducciones();
    void bloqueos_data();
    void bloqueos();
    void bloqueosEnPostgres();
    void lecturas_data();
    void lecturas();
    void arbolDeFamilias();
    void cambios_data();
    void cambios();
    void cleanupTestCase();

private:
    // The demo company of the statements that only read it, built at its first use; let go
    // before any other company is built (on a server it would replace this one).
    Connection& compartida();
    void soltarCompartida();
    // Runs the row's statement on cn and checks what it gives.
    void comprobar(Connection& cn);

    std::unique_ptr<EmpresaPrueba> empresa_;
    std::unique_ptr<Connection> cn_;
};

namespace {

void columnas()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("filas");       // -1: not a query
    QTest::addColumn<QString>("primero"); // first column of the first row; "<nulo>" for Null
    QTest::addColumn<int>("afectados");   // -2: not checked
}

void consulta(const char* nombre, const QString& sql, int filas, const QString& primero)
{
    QTest::newRow(nombre) << sql << filas << primero << -2;
}

void comando(const char* nombre, const QString& sql, int afectados)
{
    QTest::newRow(nombre) << sql << -1 << QString() << afectados;
}

} // namespace

void TstTsql::dividir_data()
{
    QTest::addColumn<QString>("lote");
    QTest::addColumn<QStringList>("sentencias");

    QTest::newRow("lote de grabación con CRLF")
        << "BEGIN TRANSACTION\r\nDELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'\r\nINSERT INTO T (A) VALUES('x')\r\n"
           "INSERT INTO T (A) VALUES('y')\r\n"
        << QStringList{"BEGIN TRANSACTION", "DELETE MA_CUENTAS_CCDIST WHERE CODIGO='   1'",
                       "INSERT INTO T (A) VALUES('x')", "INSERT INTO T (A) VALUES('y')"};
    QTest::newRow("punto y coma") << "SELECT 1; SELECT 2;" << QStringList{"SELECT 1", "SELECT 2"};
    QTest::newRow("dos SELECT sin separador") << "SELECT a FROM t\nSELECT b FROM u" << QStringList{"SELECT a FROM t", "SELECT b FROM u"};
    QTest::newRow("INSERT con SELECT") << "INSERT INTO t (a) SELECT b FROM c" << QStringList{"INSERT INTO t (a) SELECT b FROM c"};
    QTest::newRow("UPDATE con SET") << "UPDATE t SET a = 1 WHERE b = 'x'" << QStringList{"UPDATE t SET a = 1 WHERE b = 'x'"};
    QTest::newRow("UNION") << "SELECT a FROM t UNION SELECT b FROM u" << QStringList{"SELECT a FROM t UNION SELECT b FROM u"};
    QTest::newRow("vista") << "CREATE VIEW v AS SELECT * FROM t" << QStringList{"CREATE VIEW v AS SELECT * FROM t"};
    QTest::newRow("subconsulta") << "SELECT * FROM t WHERE x IN (SELECT y FROM u)" << QStringList{"SELECT * FROM t WHERE x IN (SELECT y FROM u)"};
    QTest::newRow("ON DELETE") << "CREATE TABLE t (a int REFERENCES u(b) ON DELETE CASCADE)"
                               << QStringList{"CREATE TABLE t (a int REFERENCES u(b) ON DELETE CASCADE)"};
    QTest::newRow("GO en su línea") << "SET NOCOUNT ON\r\nGO\r\nSELECT 1\r\nGO" << QStringList{"SET NOCOUNT ON", "SELECT 1"};
    QTest::newRow("palabras en literales y comentarios") << "SELECT /* DELETE */ 'DELETE x; GO' AS t -- UPDATE y\n"
                                                         << QStringList{"SELECT /* DELETE */ 'DELETE x; GO' AS t"};
    QTest::newRow("ALTER y SELECT") << "ALTER TABLE t ADD a int\r\nSELECT a FROM t" << QStringList{"ALTER TABLE t ADD a int", "SELECT a FROM t"};
    QTest::newRow("INSERT VALUES y SELECT") << "INSERT INTO t VALUES (1)\nSELECT @@IDENTITY" << QStringList{"INSERT INTO t VALUES (1)", "SELECT @@IDENTITY"};
    QTest::newRow("WITH") << "WITH c AS (SELECT 1 AS x) SELECT x FROM c" << QStringList{"WITH c AS (SELECT 1 AS x) SELECT x FROM c"};
    QTest::newRow("BEGIN y COMMIT") << "BEGIN TRAN\nUPDATE t SET a=1\nCOMMIT TRAN" << QStringList{"BEGIN TRAN", "UPDATE t SET a=1", "COMMIT TRAN"};
    QTest::newRow("vacío") << "  \r\n " << QStringList{};
}

void TstTsql::dividir()
{
    QFETCH(QString, lote);
    QFETCH(QStringList, sentencias);
    QStringList vistas;
    for (const auto& s : tsql::DividirLote(tsql::Tokenizar(lote)))
        vistas << tsql::Unir(s);
    QCOMPARE(vistas, sentencias);
}

void TstTsql::literalesIntactos()
{
    // Tokens join back to the very text, and nothing inside literals or comments changes.
    const QString texto = QStringLiteral("SELECT /* dbo.[z] */ 'it''s TOP 5 with(nolock) dbo.x [y] ISNULL(' AS t -- LEN(x)\n");
    QCOMPARE(tsql::Unir(tsql::Tokenizar(texto)), texto);
    const auto s = sqlite::TraducirLote(texto);
    QCOMPARE(int(s.size()), 1);
    QVERIFY(s[0].sql.contains(QStringLiteral("'it''s TOP 5 with(nolock) dbo.x [y] ISNULL('")));
    QVERIFY(s[0].sql.contains(QStringLiteral("/* dbo.[z] */")));
}

void TstTsql::textoSinCerrar()
{
    // Batches the dialect cannot read whole are refused, never half run: a text left open
    // (where compared literals lose their trailing blanks, "<> '" became "<> ''" and deleted
    // rows), and a BEGIN TRANSACTION followed by words that start no statement (they were
    // dropped with no error, the batch reported done).
    soltarCompartida();
    EmpresaPrueba empresa;
    auto cn = empresa.conectar();
    const QString cuenta = QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO");
    const int antes = EmpresaPrueba::valor(*cn, cuenta).toInt();
    QVERIFY(antes > 0);
    const std::pair<QString, QString> casos[] = {
        {QStringLiteral("DELETE TA_CCOSTO WHERE DESCRIPCION <> '"), QStringLiteral("Falta cerrar el texto entre comillas simples")},
        {QStringLiteral("DELETE TA_CCOSTO WHERE DESCRIPCION <> 'x  "), QStringLiteral("Falta cerrar el texto entre comillas simples")},
        {QStringLiteral("BEGIN TRANSACTION\nDJLETE TA_CCOSTO WHERE CODIGO <> ''\nCOMMIT TRANSACTION"), QString()},
    };
    for (const auto& [sql, mensaje] : casos) {
        try {
            cn->Execute(sql);
            QFAIL(qPrintable(sql));
        } catch (const suite::ErrorEjecucion& e) {
            QVERIFY2(e.error().Description.contains(mensaje), qPrintable(e.error().Description));
        }
    }
    QCOMPARE(EmpresaPrueba::valor(*cn, cuenta).toInt(), antes);
}

void TstTsql::anidamiento()
{
    // Parentheses nested deeper than the translation walks are SQL Server's error 191, not a
    // stack overflow that ends the program; a depth the program uses runs.
    const auto anidada = [](int n) { return QStringLiteral("SELECT ") + QString(n, u'(') + u'1' + QString(n, u')'); };
    QCOMPARE(EmpresaPrueba::valor(compartida(), anidada(40)).toInt(), 1);
    for (const int n : {tsql::MaximoAnidamiento + 1, 50000}) {
        try {
            compartida().Execute(anidada(n));
            QFAIL("sin error");
        } catch (const suite::ErrorEjecucion& e) {
            QVERIFY2(e.error().Description.contains(QStringLiteral("anidada a demasiada profundidad")),
                     qPrintable(e.error().Description));
        }
    }
}

void TstTsql::memoriaTraducciones()
{
    // Kept translations are the fresh ones, whatever was kept or forgotten in between; a text
    // that fails keeps failing; a long batch is translated whole.
    tsql::Reglas r;
    r.trasLiteral = QStringLiteral(" COLLATE VL");
    r.identificador = [](const QString& id) { return tsql::Citado(id); };
    tsql::MemoriaTraducciones memoria(r);
    auto igual = [](const std::vector<tsql::SentenciaTraducida>& a, const std::vector<tsql::SentenciaTraducida>& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
                   return x.accion == y.accion && x.sql == y.sql;
               });
    };
    for (int vuelta = 0; vuelta < 2; ++vuelta)
        for (int i = 0; i < tsql::MemoriaTraducciones::MaximoLotes + 10; ++i) {
            const QString t = QStringLiteral("SELECT TOP 1 * FROM dbo.[T%1] WHERE A='x'\nBEGIN TRAN").arg(i);
            QVERIFY(igual(memoria.traducir(t), tsql::TraducirLote(t, r)));
        }
    const QString nulo = QStringLiteral("SELECT 'a") + QChar(0) + QStringLiteral("'");
    for (int vuelta = 0; vuelta < 2; ++vuelta)
        QVERIFY_THROWS_EXCEPTION(ado::FalloMotor, memoria.traducir(nulo));
    QString largo;
    for (int i = 0; i < 100; ++i)
        largo += QStringLiteral("UPDATE T SET A='%1' WHERE B=%1\r\n").arg(i);
    QVERIFY(largo.size() > tsql::MemoriaTraducciones::MaximoLargo);
    QCOMPARE(memoria.traducir(largo).size(), size_t(100));
    QVERIFY(igual(memoria.traducir(largo), tsql::TraducirLote(largo, r)));
    // Another long batch after it is translated anew, one that fails fails every time, and
    // the first one comes back right after them.
    const QString otro = QString(largo).replace(QStringLiteral("UPDATE T"), QStringLiteral("UPDATE U"));
    QVERIFY(igual(memoria.traducir(otro), tsql::TraducirLote(otro, r)));
    const QString largoNulo = largo + nulo;
    for (int vuelta = 0; vuelta < 2; ++vuelta)
        QVERIFY_THROWS_EXCEPTION(ado::FalloMotor, memoria.traducir(largoNulo));
    QVERIFY(igual(memoria.traducir(largo), tsql::TraducirLote(largo, r)));
}

void TstTsql::bloqueos_data()
{
    QTest::addColumn<QString>("lote");
    QTest::addColumn<QStringList>("acciones"); // "iniciar", "sentencia", "bloquear <resource>"
    QTest::addColumn<QString>("sinBloqueos");

    QTest::newRow("grabación de una tabla")
        << "BEGIN TRANSACTION\r\nEXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:   1', @LockMode='Exclusive', "
           "@LockOwner='Transaction'\r\nDELETE T WHERE A='1'\r\n"
        << QStringList{"iniciar", "bloquear MA_CUENTAS_CCDIST:   1", "sentencia"} << "BEGIN TRANSACTION\r\nDELETE T WHERE A='1'";
    QTest::newRow("EXECUTE, dbo., N'' y minúsculas") << "execute dbo.sp_getapplock @resource = N'tabla a  ', @lockmode = 'exclusive'"
                                                    << QStringList{"bloquear TABLA A"} << "";
    QTest::newRow("comillas dobladas y parámetros por posición") << "EXEC sp_getapplock 'b''1', 'Exclusive', 'Transaction', 5000"
                                                                 << QStringList{"bloquear B'1"} << "";
    QTest::newRow("de la sesión") << "EXEC sp_getapplock @Resource='x', @LockMode='Exclusive', @LockOwner='Session'"
                                  << QStringList{"sentencia"} << "EXEC sp_getapplock @Resource='x', @LockMode='Exclusive', @LockOwner='Session'";
    QTest::newRow("compartido") << "EXEC sp_getapplock @Resource='x', @LockMode='Shared'" << QStringList{"sentencia"}
                                << "EXEC sp_getapplock @Resource='x', @LockMode='Shared'";
    QTest::newRow("recurso en una variable") << "EXEC sp_getapplock @Resource=@r, @LockMode='Exclusive'" << QStringList{"sentencia"}
                                             << "EXEC sp_getapplock @Resource=@r, @LockMode='Exclusive'";
    QTest::newRow("otro procedimiento") << "EXEC sp_who 'Exclusive';\nSELECT 1" << QStringList{"sentencia", "sentencia"}
                                        << "EXEC sp_who 'Exclusive';\nSELECT 1";
}

void TstTsql::bloqueos()
{
    QFETCH(QString, lote);
    QFETCH(QStringList, acciones);
    QFETCH(QString, sinBloqueos);
    QStringList vistas;
    for (const auto& s : sqlite::TraducirLote(lote)) {
        switch (s.accion) {
        case tsql::Accion::Iniciar: vistas << QStringLiteral("iniciar"); break;
        case tsql::Accion::Bloquear: vistas << QStringLiteral("bloquear ") + s.sql; break;
        case tsql::Accion::Sentencia: vistas << QStringLiteral("sentencia"); break;
        case tsql::Accion::Confirmar:
        case tsql::Accion::Deshacer: vistas << QStringLiteral("fin"); break;
        }
    }
    QCOMPARE(vistas, acciones);
    QCOMPARE(tsql::SinBloqueos(lote), sinBloqueos);
}

void TstTsql::bloqueosEnPostgres()
{
    // What a transaction locks after its BEGIN: the database alone, or the database shared
    // and each resource in one order, named once.
    using postgresql::BloqueosDeTransaccion;
    QCOMPARE(BloqueosDeTransaccion({}), QStringList{"SELECT pg_advisory_xact_lock(20261210)"});
    QCOMPARE(BloqueosDeTransaccion({"D'1"}),
             QStringList{"SELECT pg_advisory_xact_lock_shared(20261210), pg_advisory_xact_lock(hashtextextended('D''1', 0))"});
    QCOMPARE(BloqueosDeTransaccion({"B", "A", "B"}),
             (QStringList{"SELECT pg_advisory_xact_lock_shared(20261210)",
                          "SELECT count(pg_advisory_xact_lock(hashtextextended(r, 0))) FROM unnest(ARRAY['A','B']) AS r"}));
    QStringList muchos;
    for (int i = 0; i <= postgresql::MaximoRecursos; ++i)
        muchos << QString::number(i);
    QCOMPARE(BloqueosDeTransaccion(muchos), QStringList{"SELECT pg_advisory_xact_lock(20261210)"});
    muchos.removeLast();
    QCOMPARE(BloqueosDeTransaccion(muchos).size(), 2);
    QCOMPARE(postgresql::BloqueoDeRecursos({"B"}), QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended('B', 0))"));
}

void TstTsql::lecturas_data()
{
    columnas();

    // The distribution store.
    consulta("líneas de una tabla", "SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO='   1' ORDER BY ID", 5, "1");
    consulta("cuentas de una tabla", "SELECT CODIGO,DESCRIPCION FROM MA_CUENTAS WHERE CC_DIST='   1' ORDER BY CODIGO", 3, "5.1.01.003");
    consulta("existe la tabla", "SELECT TOP 1  * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='1'", 1, "1");
    consulta("existe el centro", "SELECT TOP 1  * FROM TA_CCOSTO with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='211'", 1, "211");
    consulta("cuenta por código", "SELECT * FROM MA_CUENTAS WHERE Codigo =  '5.1.01.003'", 1, "5.1.01.003");
    consulta("cuenta por código opcional", "SELECT * FROM MA_CUENTAS WHERE CodigoOpcional =  '5101003'", 1, "5.1.01.003");
    consulta("tabla grabada", "SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO='   3'", 3, "8");
    consulta("lista de tablas", "SELECT CODIGO,NOMBRE,CONCEPTO FROM MA_CUENTAS_CCDIST GROUP BY CODIGO,NOMBRE,CONCEPTO ORDER BY CODIGO", 3, "   1");
    // Configuration and access log.
    consulta("configuración", "SELECT VALOR, valoraux FROM TA_CONFIGURACION WHERE CLAVE = 'PERIODO'", 1, "2026");
    consulta("configuración sin caso", "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'nombre'", 1, "Comercial Andina S.A.");
    consulta("tareas del usuario, blanco al final",
             "SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM TA_TAREAS INNER JOIN TA_MENU ON "
             "TA_TAREAS.TAREA = TA_MENU.Clave  WHERE (TA_TAREAS.USUARIO = 'ANA ') AND (TA_MENU.Proceso LIKE '%prorrata%')",
             1, "ANA");
    consulta("registro de accesos vacío", "Select top 1 * from Control_Acceso", 0, QString());
    consulta("datos del usuario", "SELECT TOP 1 * FROM ta_usuarios with(nolock)  WHERE LTRIM(RTRIM(nombre)) ='ana' ", 1, "ANA");
    // Table helpers.
    consulta("existe por número", "SELECT TOP 1 * FROM MA_CUENTAS_CCDIST with(nolock)  WHERE ID = 1", 1, "1");
    consulta("existe sin TOP", "SELECT * FROM TA_CCOSTO with(nolock)   WHERE CODIGO ='11'", 1, "11");
    consulta("existe con condición", "SELECT TOP 1 * FROM MA_CUENTAS with(nolock)  WHERE TITULO = 0 AND Codigo LIKE '5%'", 1, "5.1.01.001");
    consulta("máximo", "SELECT MAX(ID) AS MAYOR FROM MA_CUENTAS_CCDIST WHERE CODIGO = '   2'", 1, "7");
    consulta("máximo de tabla vacía", "SELECT MAX(ID) AS MAYOR FROM Control_Acceso", 1, "<nulo>");
    consulta("mínimo", "SELECT MIN(PORCENTAJE) AS MENOR FROM MA_CUENTAS_CCDIST  with(nolock)  WHERE CODIGO='   1'", 1, "10");
    // Lookups.
    consulta("centros de costo", "SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO", 14, "1");
    consulta("columnas de la tabla", "select top 1 * from MA_CUENTAS", 1, "1");
    consulta("lista armada", "SELECT TOP 1000 Descripcion,TITULO,Codigo FROM MA_CUENTAS WHERE   (TITULO=0)  ORDER BY Descripcion", 23, "Alquileres");
    consulta("búsqueda con like", "SELECT CODIGO,DESCRIPCION FROM MA_CUENTAS WHERE DESCRIPCION like 'ENERG%' ", 1, "5.1.01.004");
    consulta("posición", "SELECT TOP 1  * FROM MA_POSICIONES with(nolock)  WHERE LTRIM(RTRIM(IDPOSICION)) ='0101'", 1, "0101");
    consulta("vista restringida", "SELECT Codigo FROM SS_MA_CUENTAS WHERE Codigo = '5.4.01.001'", 0, QString());
    consulta("tabla sin restricción", "SELECT Codigo FROM MA_CUENTAS WHERE Codigo = '5.4.01.001'", 1, "5.4.01.001");
    // Functions and constructs of T-SQL.
    consulta("CHARINDEX", "SELECT CHARINDEX('.', Codigo) FROM MA_CUENTAS WHERE Codigo = '5.1.01.003'", 1, "2");
    consulta("CHARINDEX desde", "SELECT CHARINDEX('.', Codigo, 3) FROM MA_CUENTAS WHERE Codigo = '5.1.01.003'", 1, "4");
    consulta("CHARINDEX sin hallar", "SELECT CHARINDEX('x', Codigo, 3) FROM MA_CUENTAS WHERE Codigo = '5.1.01.003'", 1, "0");
    consulta("ISNULL", "SELECT ISNULL(CodigoOpcional, 'sin') FROM MA_CUENTAS WHERE Codigo = '1'", 1, "sin");
    consulta("LEN sin blancos finales", "SELECT LEN('abc   ')", 1, "3");
    consulta("SUBSTRING", "SELECT SUBSTRING(Codigo, 3, 2) FROM MA_CUENTAS WHERE Codigo = '5.1.01.003'", 1, "1.");
    consulta("CONVERT a INT", "SELECT CONVERT(INT, '42')", 1, "42");
    consulta("CONVERT a NVARCHAR", "SELECT CONVERT(NVARCHAR, 12)", 1, "12");
    consulta("CONVERT con estilo 103", "SELECT CONVERT(NVARCHAR, CONVERT(DATETIME, '25/12/2026', 103), 103)", 1, "25/12/2026");
    consulta("GETDATE", "SELECT CASE WHEN GETDATE() > '2000-01-01' THEN 1 ELSE 0 END", 1, "1");
    consulta("corchetes, dbo y pistas", "SELECT COUNT(*) FROM dbo.[MA_CUENTAS] WITH (NOLOCK, ROWLOCK) WHERE [TITULO] = 1", 1, "24");
    consulta("TOP entre paréntesis", "SELECT TOP (2) Codigo FROM MA_CUENTAS ORDER BY Codigo DESC", 2, "5.4.01.001");
    consulta("DISTINCT TOP", "SELECT DISTINCT TOP 2 CC_DIST FROM MA_CUENTAS WHERE CC_DIST IS NOT NULL ORDER BY CC_DIST", 2, "   1");
    consulta("literal N", "SELECT N'Año' AS t", 1, "Año");
}

void TstTsql::lecturas() { comprobar(compartida()); }

void TstTsql::cambios_data()
{
    columnas();
    // The distribution store.
    comando("asignar cuenta", "UPDATE MA_CUENTAS SET CC_DIST ='   2' WHERE CODIGO ='5.1.01.006'", 1);
    comando("desasignar cuenta", "UPDATE MA_CUENTAS SET CC_DIST=NULL WHERE CODIGO='5.1.01.003'", 1);
    // Table helpers.
    consulta("agregar campo y leerlo",
             "ALTER TABLE dbo.MA_CUENTAS ADD Importe money Not Null  CONSTRAINT DF_MA_CUENTAS_Importe DEFAULT (0)\r\n"
             "SELECT TOP 1 Importe FROM MA_CUENTAS",
             1, "0");
    // Lookups.
    comando("faltante", "INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('10/12/2026 12:00:00','   A1','Artículo','ANA')", 1);
    // Functions and constructs of T-SQL.
    comando("DELETE sin FROM", "DELETE TA_TAREAS WHERE USUARIO = 'LUIS'", 1);
    consulta("identidad", "INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('X', 'Y')\r\nSELECT @@IDENTITY", 1, "11");
}

void TstTsql::cambios()
{
    soltarCompartida();
    EmpresaPrueba empresa;
    comprobar(*empresa.conectar());
}

void TstTsql::cleanupTestCase() { soltarCompartida(); }

void TstTsql::soltarCompartida()
{
    cn_.reset();
    empresa_.reset();
}

Connection& TstTsql::compartida()
{
    if (!cn_) {
        empresa_ = std::make_unique<EmpresaPrueba>();
        cn_ = empresa_->conectar();
    }
    return *cn_;
}

void TstTsql::comprobar(Connection& cn)
{
    QFETCH(QString, sql);
    QFETCH(int, filas);
    QFETCH(QString, primero);
    QFETCH(int, afectados);

    long n = -5;
    Recordset rs;
    try {
        rs = cn.Execute(sql, &n);
    } catch (const suite::ErrorEjecucion& e) {
        QFAIL(qPrintable(QStringLiteral("%1 — %2").arg(e.error().Description, sql)));
    }
    if (afectados != -2)
        QCOMPARE(n, long(afectados));
    if (filas < 0) {
        QCOMPARE(rs.State(), int(adStateClosed));
        return;
    }
    QCOMPARE(rs.State(), int(adStateOpen));
    QString valor;
    int vistas = 0;
    for (; !rs.EOF_(); rs.MoveNext()) {
        const QVariant& v = rs.Fields(0).Value();
        if (vistas++ == 0)
            valor = v.isValid() ? v.toString() : QStringLiteral("<nulo>");
    }
    QCOMPARE(vistas, filas);
    if (filas > 0)
        QCOMPARE(valor, primero);
}

void TstTsql::arbolDeFamilias()
{
    // The family tree query: each family with its nearest shorter family before it.
    Recordset rs = compartida().Execute(QStringLiteral(
        "SELECT     TOP 100 PERCENT IdFamilia, Descripcion, (SELECT     TOP 1 idfamilia FROM v_ta_familias a   "
        " Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < Len(LTrim(RTrim(b.IdFamilia)))) "
        " ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia"));
    QStringList pares;
    for (; !rs.EOF_(); rs.MoveNext())
        pares << rs.Fields(QStringLiteral("IdFamilia")).Value().toString() + u'>'
                + (rs.Fields(QStringLiteral("relative")).Value().isValid() ? rs.Fields(QStringLiteral("RELATIVE")).Value().toString()
                                                                          : QStringLiteral("-"));
    QCOMPARE(pares.join(u' '), QStringLiteral("1>- 11>1 12>1 2>- 21>2 22>2"));
}

QTEST_GUILESS_MAIN(TstTsql)
#include "tst_tsql.moc"
