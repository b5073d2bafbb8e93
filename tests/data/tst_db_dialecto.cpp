// ORACLE_Dicc, the cutting of a script into Oracle's steps and SS_TSinonimos as pure text rules.
#include "Entorno.h"
#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "data/ado/servidores/Oracle.h"
#include "suite/ErrorRT.h"

#include <QTest>

class TstDbDialecto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void oracle_data();
    void oracle();
    void oracleFallos_data();
    void oracleFallos();
    void oracleScript_data();
    void oracleScript();
    void sinonimos_data();
    void sinonimos();
};

void TstDbDialecto::init()
{
    gDB.Reiniciar();
    gConfidencialidad = true;
}

void TstDbDialecto::cleanup()
{
    gDB.Reiniciar();
    gConfidencialidad = false;
    FijarNombreEjecutable({});
}

void TstDbDialecto::oracle_data()
{
    QTest::addColumn<QString>("cadena");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("resultado");

    const QString ora = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=X;");
    const QString sql = QStringLiteral("PROVIDER=SQLOLEDB;Server=S;");
    QTest::newRow("SQL Server sin cambios") << sql << "SELECT TOP 1 LEN(x) FROM [T]" << "SELECT TOP 1 LEN(x) FROM [T]";
    QTest::newRow("SQL Server, len") << sql << "len" << "len";
    QTest::newRow("una palabra len") << ora << "len" << "LENGTH";
    QTest::newRow("LEN( sin blanco delante") << ora << "LEN(Nombre)" << "LEN(Nombre)";
    QTest::newRow("TOP con WHERE y ORDER BY") << ora << "SELECT TOP 1 IdCuenta FROM MA_CUENTAS WHERE Imputable = 1 ORDER BY IdCuenta"
                                              << "SELECT  IdCuenta FROM MA_CUENTAS WHERE Imputable = 1    AND ROWNUM <= 1  ORDER BY IdCuenta";
    QTest::newRow("TOP solo") << ora << "SELECT TOP 10 * FROM MA_CUENTAS" << "SELECT  * FROM MA_CUENTAS  WHERE ROWNUM <= 10  ";
    QTest::newRow("TOP con GROUP BY") << ora << "SELECT TOP 5 A, COUNT(*) FROM T GROUP BY A"
                                      << "SELECT  A, COUNT(*) FROM T    WHERE ROWNUM <= 5  GROUP BY A ";
    QTest::newRow("LEN con blancos") << ora << "SELECT LEN (a), LEN(b) FROM T" << "SELECT LENGTH(a), LENGTH(b) FROM T";
    QTest::newRow("corchetes") << ora << "SELECT [Cuenta Madre] FROM T" << "SELECT \"Cuenta Madre\" FROM T";
    QTest::newRow("fecha dos veces") << ora << "SELECT * FROM T WHERE F >= '25/12/2026' AND G <= '25/12/2026'"
                                     << "SELECT * FROM T WHERE F >= TO_DATE('25/12/2026','DD/MM/YYYY') AND G <= TO_DATE('25/12/2026','DD/MM/YYYY')";
    QTest::newRow("texto que no es fecha") << ora << "SELECT * FROM T WHERE A = 'abc'" << "SELECT * FROM T WHERE A = 'abc'";
    QTest::newRow("CHARINDEX") << ora << "SELECT CHARINDEX('.', A) FROM T" << "SELECT InStr('.', A) FROM T";
    QTest::newRow("CONVERT 103") << ora << "SELECT CONVERT(NVARCHAR, F, 103), CONVERT(INT, B) FROM T"
                                 << "SELECT TO_CHAR( F, 'DD/MM/YYYY'), TO_NUMBER( B) FROM T";
    QTest::newRow("vacío es nulo") << ora << "SELECT * FROM T WHERE A = '' AND B=''" << "SELECT * FROM T WHERE A  IS NULL  AND B IS NULL ";
    QTest::newRow("vacío antes del WHERE") << ora << "SELECT A = '' FROM T WHERE B = ''"
                                           << "SELECT A = '' FROM T WHERE B  IS NULL ";
    QTest::newRow("SUBSTRING e ISNULL") << ora << "SELECT SUBSTRING(A,1,2), ISNULL(B,0) FROM T"
                                        << "SELECT SUBSTR(A,1,2), NVL(B,0) FROM T";
}

void TstDbDialecto::oracle()
{
    QFETCH(QString, cadena);
    QFETCH(QString, valor);
    QFETCH(QString, resultado);
    EntornoPrueba e; // dd/MM/yyyy dates
    gDB.gConnString = cadena;
    QCOMPARE(gDB.ORACLE_Dicc(valor), resultado);
}

void TstDbDialecto::oracleFallos_data()
{
    // Unpaired quotes and a TOP without a body raise an error to the caller.
    QTest::addColumn<QString>("mala");
    QTest::newRow("comilla sin pareja") << "SELECT * FROM T WHERE A = 'abc";
    QTest::newRow("TOP sin cuerpo") << "SELECT * FROM T TOP 5";
}

void TstDbDialecto::oracleFallos()
{
    QFETCH(QString, mala);
    gDB.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;");
    long numero = 0;
    try {
        gDB.ORACLE_Dicc(mala);
    } catch (const suite::ErrorEjecucion& e) {
        numero = e.error().Number;
    }
    QCOMPARE(numero, 5L);
}

void TstDbDialecto::oracleScript_data()
{
    // Steps written as B (begin), C (commit), R (roll back) or the statement's text, joined by |.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("pasos");
    QTest::newRow("transacción con GO") << "BEGIN TRANSACTION\r\nINSERT INTO T VALUES (1)\r\nGO\r\nUPDATE T SET A = 2\r\nCOMMIT TRANSACTION"
                                        << "B|INSERT INTO T VALUES (1)|UPDATE T SET A = 2|C";
    QTest::newRow("NOCOUNT y minúsculas") << "SET NOCOUNT ON delete from T where A = 1 rollback trans SET NOCOUNT OFF"
                                          << "delete from T where A = 1|R";
    QTest::newRow("bloqueo de aplicación fuera")
        << "BEGIN TRANSACTION\nEXEC sp_getapplock @Resource = 'X', @LockMode = 'Exclusive'\nINSERT INTO T VALUES (1)\nCOMMIT TRANSACTION"
        << "B|INSERT INTO T VALUES (1)|C";
    // Text before the first key word (here the blanks SET NOCOUNT ON leaves) is not carried
    // into the first statement, nor the next key word's first letters with it.
    QTest::newRow("texto antes de la primera sentencia") << "SET NOCOUNT ON\r\nBEGIN TRANSACTION\r\nDELETE FROM T\r\nCOMMIT TRANSACTION"
                                                         << "B|DELETE FROM T|C";
    QTest::newRow("líneas con GO entre sentencias") << "BEGIN TRANSACTION\r\nGO\r\nINSERT INTO T VALUES (1)\r\nGO\r\nCOMMIT TRANSACTION"
                                                    << "B|INSERT INTO T VALUES (1)|C";
    QTest::newRow("solo SET NOCOUNT ON") << "SET NOCOUNT ON" << "";
    QTest::newRow("sin palabras clave") << "SELECT * FROM T" << "";
    QTest::newRow("IF NOT EXISTS y GRANT") << "IF NOT EXISTS (SELECT 1) GRANT SELECT ON T TO X"
                                           << "IF NOT EXISTS (SELECT 1)|GRANT SELECT ON T TO X";
}

void TstDbDialecto::oracleScript()
{
    QFETCH(QString, script);
    QFETCH(QString, pasos);
    QStringList vistos;
    for (const ado::oracle::PasoScript& p : ado::oracle::DividirScript(script)) {
        switch (p.paso) {
        case ado::oracle::Paso::Empezar: vistos << QStringLiteral("B"); break;
        case ado::oracle::Paso::Confirmar: vistos << QStringLiteral("C"); break;
        case ado::oracle::Paso::Deshacer: vistos << QStringLiteral("R"); break;
        case ado::oracle::Paso::Sentencia: vistos << p.texto; break;
        }
    }
    QCOMPARE(vistos.join(u'|'), pasos);
}

void TstDbDialecto::sinonimos_data()
{
    QTest::addColumn<bool>("admin");
    QTest::addColumn<bool>("confidencial");
    QTest::addColumn<QString>("programa");
    QTest::addColumn<QString>("sentencia");
    QTest::addColumn<QString>("resultado");

    auto fila = [](const char* n, bool admin, bool conf, const char* prog, const char* s, const char* r) {
        QTest::newRow(n) << admin << conf << QString::fromLatin1(prog) << QString::fromUtf8(s) << QString::fromUtf8(r);
    };
    fila("entre blancos", false, true, "prorrata", "SELECT * FROM MA_CUENTAS WHERE 1=1", "SELECT * FROM SS_MA_CUENTAS WHERE 1=1");
    fila("al final no", false, true, "prorrata", "SELECT * FROM MA_CUENTAS", "SELECT * FROM MA_CUENTAS");
    fila("marca", false, true, "prorrata", "SELECT * FROM @Admin_MA_CUENTAS WHERE 1=1", "SELECT * FROM MA_CUENTAS WHERE 1=1");
    fila("marca en un lugar, sinónimo escrito en otro", false, true, "prorrata",
         "SELECT * FROM SS_MA_CUENTAS a, @admin_X b WHERE 1=1", "SELECT * FROM MA_CUENTAS a, X b WHERE 1=1");
    fila("minúsculas", false, true, "prorrata", "select * from ma_cuentas where 1=1", "select * from SS_MA_CUENTAS where 1=1");
    fila("formas con punto y llaves", false, true, "prorrata",
         "SELECT MA_CUENTAS.Codigo,(MA_CUENTAS.X),{MA_CUENTAS.Y} FROM (MA_CUENTAS a)",
         "SELECT SS_MA_CUENTAS.Codigo,(SS_MA_CUENTAS.X),{SS_MA_CUENTAS.Y} FROM (SS_MA_CUENTAS a)");
    fila("coma antes del punto", false, true, "prorrata", "SELECT A,V_TA_CAJAS.B FROM V_TA_CAJAS x",
         "SELECT A,SS_V_TA_CAJAS.B FROM SS_V_TA_CAJAS x");
    fila("administrador nunca", true, true, "prorrata", "SELECT * FROM @Admin_X, MA_CUENTAS WHERE 1=1",
         "SELECT * FROM X, MA_CUENTAS WHERE 1=1");
    fila("asientos sin confidencialidad", false, false, "prorrata", "SELECT * FROM MV_ASIENTOS a JOIN MA_CUENTAS c ON 1=1",
         "SELECT * FROM MV_ASIENTOS a JOIN MA_CUENTAS c ON 1=1");
    fila("asientos con confidencialidad", false, true, "prorrata", "SELECT * FROM MV_ASIENTOS a JOIN MA_CUENTAS c ON 1=1",
         "SELECT * FROM SS_MV_ASIENTOS a JOIN SS_MA_CUENTAS c ON 1=1");
    fila("depósitos en su programa", false, true, "VLVisorDep", "SELECT * FROM V_TA_DEPOSITO d", "SELECT * FROM V_TA_DEPOSITO d");
    fila("depósitos en otro", false, true, "prorrata", "SELECT * FROM V_TA_DEPOSITO d", "SELECT * FROM SS_V_TA_DEPOSITO d");
    fila("familias en VLAUX", false, true, "vlaux", "SELECT * FROM V_TA_FAMILIAS f", "SELECT * FROM V_TA_FAMILIAS f");
    fila("marca dentro de un literal", false, true, "prorrata", "SELECT * FROM MA_CUENTAS WHERE Codigo = '1.1.01.002@admin_'",
         "SELECT * FROM SS_MA_CUENTAS WHERE Codigo = '1.1.01.002@admin_'");
    fila("marca en comentario y entre comillas dobles", false, true, "prorrata",
         "SELECT \"@Admin_x\" FROM MA_CUENTAS -- @Admin_\nWHERE 1=1",
         "SELECT \"@Admin_x\" FROM SS_MA_CUENTAS -- @Admin_\nWHERE 1=1");
    fila("tabla y sinónimo dentro de literales", false, true, "prorrata",
         "SELECT * FROM @Admin_MA_CUENTAS WHERE Descripcion IN (' MA_CUENTAS ', 'SS_MA_CUENTAS', N' V_TA_CAJAS.')",
         "SELECT * FROM MA_CUENTAS WHERE Descripcion IN (' MA_CUENTAS ', 'SS_MA_CUENTAS', N' V_TA_CAJAS.')");
    fila("asientos nombrados solo en un literal", false, false, "prorrata",
         "SELECT * FROM MA_CUENTAS WHERE Descripcion = 'MV_ASIENTOS'", "SELECT * FROM SS_MA_CUENTAS WHERE Descripcion = 'MV_ASIENTOS'");
    fila("administrador: el texto queda", true, true, "prorrata", "UPDATE @Admin_X SET N = '@Admin_Tabla' WHERE 1=1",
         "UPDATE X SET N = '@Admin_Tabla' WHERE 1=1");
    fila("diario y su centro de costo", false, true, "prorrata",
         "SELECT * FROM AC_CUENTASDIARIO a, AC_CUENTASDIARIO_CCOSTO b WHERE 1=1",
         "SELECT * FROM SS_AC_CUENTASDIARIO a, SS_AC_CUENTAS_DIARIO_CCOSTO b WHERE 1=1");
}

void TstDbDialecto::sinonimos()
{
    QFETCH(bool, admin);
    QFETCH(bool, confidencial);
    QFETCH(QString, programa);
    QFETCH(QString, sentencia);
    QFETCH(QString, resultado);
    gDB.gEsAdmin = admin;
    gConfidencialidad = confidencial;
    FijarNombreEjecutable(programa);
    QCOMPARE(gDB.SS_TSinonimos(sentencia), resultado);
}

QTEST_GUILESS_MAIN(TstDbDialecto)
#include "tst_db_dialecto.moc"
