// The lookup engine's statements, built from a table name, a definition file or a whole
// statement, on a demo company.
#include "ConsultasVlx.h"
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "lookup/Lib_ClsCons3.h"

#include <QFile>
#include <QTest>

namespace {
// Definition files of the cases.
enum class Archivo { Ninguno, Demo, Propio, Inexistente };

struct Registros {
    QList<demo::DefinicionConsulta> lista;
    char relleno = ' ';
};

demo::DefinicionConsulta def(const char* tabla, const char* columnas, const char* condicion = "")
{
    return {QStringLiteral("prueba"), QString::fromUtf8(tabla), QString::fromUtf8(columnas), QString::fromUtf8(condicion)};
}

struct Empresa : GDBPrueba {
    Empresa()
    {
        long n = 0;
        QString s = QStringLiteral("CREATE TABLE P_CUENTAS (CODIGO varchar(10) NOT NULL, NOMBRE varchar(30) NULL, TITULO bit NOT NULL)");
        gDB.EjecutaConsultaSQL(s, n);
        s = QStringLiteral("CREATE TABLE P_DETALLE (ID int NOT NULL, CODIGO varchar(4) NOT NULL, DETALLE varchar(30) NULL)");
        gDB.EjecutaConsultaSQL(s, n);
    }
    void configurar(const QString& clave, const QString& valor)
    {
        long n = 0;
        QString s = QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = '%1'").arg(clave);
        gDB.EjecutaConsultaSQL(s, n);
        s = QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('%1', '%2')").arg(clave, valor);
        gDB.EjecutaConsultaSQL(s, n);
    }
};
} // namespace

Q_DECLARE_METATYPE(Archivo)
Q_DECLARE_METATYPE(Registros)

class TstConsulta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sentencia_data();
    void sentencia();
    void columnaUnica();
    void definiciones();
    void definicionDaniada_data();
    void definicionDaniada();
};

void TstConsulta::sentencia_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("opcional");
    QTest::addColumn<Archivo>("archivo");
    QTest::addColumn<Registros>("registros");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("esperada");
    QTest::addColumn<QString>("campoFinal");
    QTest::addColumn<QString>("whereFinal");

    const Registros nada;
    auto fila = [&](const char* nombre, const char* sql, const char* where, const char* campo, const char* opcional,
                    Archivo a, const Registros& r, const char* top, const char* esperada, const char* campoFinal,
                    const char* whereFinal) {
        QTest::newRow(nombre) << QString::fromUtf8(sql) << QString::fromUtf8(where) << QString::fromUtf8(campo)
                              << QString::fromUtf8(opcional) << a << r << QString::fromUtf8(top) << QString::fromUtf8(esperada)
                              << QString::fromUtf8(campoFinal) << QString::fromUtf8(whereFinal);
    };

    // A whole statement.
    fila("sentencia sin condición", "SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO", "", "", "", Archivo::Demo, nada, "",
         "SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO", "", "");
    fila("sentencia con condición", "SELECT CODIGO FROM MA_CUENTAS", "TITULO=0", "", "", Archivo::Demo, nada, "",
         "SELECT CODIGO FROM MA_CUENTAS WHERE  (TITULO=0) ", "", " WHERE  (TITULO=0) ");
    fila("condición de un carácter", "SELECT CODIGO FROM TA_CCOSTO", "1", "", "", Archivo::Ninguno, nada, "",
         "SELECT CODIGO FROM TA_CCOSTO WHERE 1", "", " WHERE 1");
    fila("condición entre paréntesis", "SELECT CODIGO FROM TA_CCOSTO", "(A=1)", "", "", Archivo::Ninguno, nada, "",
         "SELECT CODIGO FROM TA_CCOSTO WHERE (A=1)", "", " WHERE (A=1)");
    fila("condición con WHERE", "SELECT CODIGO FROM TA_CCOSTO", "(A=1) where B=2", "", "", Archivo::Ninguno, nada, "",
         "SELECT CODIGO FROM TA_CCOSTO(A=1) where B=2", "", "(A=1) where B=2");
    fila("vista de artículos", "select * from V_MA_ARTICULOS", "", "", "", Archivo::Ninguno, nada, "50",
         "select * from VT_MA_ARTICULOS", "", "");
    fila("sentencia opcional con SELECT", "SELECT CODIGO FROM TA_CCOSTO", "", "", "SELECT 1", Archivo::Ninguno, nada, "",
         "SELECT CODIGO FROM TA_CCOSTO", "", "");

    // The table's own columns.
    fila("columnas de la tabla", "P_CUENTAS", "TITULO=0", "", "", Archivo::Ninguno, nada, "",
         "SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)  ORDER BY NOMBRE", "NOMBRE", " (TITULO=0) ");
    fila("TopConsArt 50", "P_CUENTAS", "TITULO=0", "", "", Archivo::Ninguno, nada, "50",
         "SELECT TOP 50 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)  ORDER BY NOMBRE", "NOMBRE", " (TITULO=0) ");
    fila("TopConsArt 0", "P_CUENTAS", "", "", "", Archivo::Ninguno, nada, "0",
         "SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS  ORDER BY NOMBRE", "NOMBRE", "");
    fila("campo del llamador reemplazado", "P_CUENTAS", "", "CODIGO", "", Archivo::Ninguno, nada, "",
         "SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS  ORDER BY NOMBRE", "NOMBRE", "");
    fila("ID salteado", "P_DETALLE", "", "", "", Archivo::Ninguno, nada, "",
         "SELECT TOP 1000 DETALLE,CODIGO FROM P_DETALLE  ORDER BY DETALLE", "DETALLE", "");
    fila("sentencia opcional", "P_DETALLE", "A=1", "", "SELECT CODIGO FROM P_DETALLE", Archivo::Ninguno, nada, "",
         "SELECT CODIGO FROM P_DETALLE", "", " (A=1) ");
    fila("vista con columnas fijas", "V_TA_Unidad", "", "X", "", Archivo::Ninguno, nada, "",
         "SELECT TOP 1000 Descripcion,IdUnidad FROM V_TA_Unidad  ORDER BY IdUnidad", "IdUnidad", "");

    // The definition file.
    fila("definición de la demo", "MA_CUENTAS", "TITULO=0", "", "", Archivo::Demo, nada, "",
         "SELECT TOP 1000 Codigo,Descripcion FROM MA_CUENTAS  with(nolock)  WHERE  (TITULO=0)  ORDER BY Codigo", "Codigo",
         " (TITULO=0) ");
    fila("definición: sentencia opcional ignorada", "MA_CUENTAS", "", "", "SELECT 1", Archivo::Demo, nada, "",
         "SELECT TOP 1000 Codigo,Descripcion FROM MA_CUENTAS  with(nolock)  ORDER BY Codigo", "Codigo", "");
    fila("definición entre barras", "P_CUENTAS", "", "", "", Archivo::Propio, Registros{{def("P_CUENTAS", "|CODIGO|NOMBRE|")}}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM P_CUENTAS  with(nolock)  ORDER BY CODIGO", "CODIGO", "");
    fila("definición con comas", "p_cuentas", "", "", "", Archivo::Propio, Registros{{def("OTRA", "A|B"), def("P_CUENTAS", "NOMBRE,CODIGO")}},
         "", "SELECT TOP 1000 NOMBRE,CODIGO FROM P_CUENTAS  with(nolock)  ORDER BY NOMBRE", "NOMBRE", "");
    fila("relleno NUL", "P_CUENTAS", "", "", "", Archivo::Propio, Registros{{def("P_CUENTAS", "|CODIGO|NOMBRE|")}, '\0'}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM P_CUENTAS  with(nolock)  ORDER BY CODIGO", "CODIGO", "");
    fila("relleno 255", "P_CUENTAS", "", "", "", Archivo::Propio, Registros{{def("P_CUENTAS", "|CODIGO|NOMBRE|")}, '\xff'}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM P_CUENTAS  with(nolock)  ORDER BY CODIGO", "CODIGO", "");
    fila("campo del llamador", "P_CUENTAS", "", "NOMBRE", "", Archivo::Propio, Registros{{def("P_CUENTAS", "CODIGO|NOMBRE")}}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM P_CUENTAS  with(nolock)  ORDER BY NOMBRE", "NOMBRE", "");
    fila("condición guardada", "P_CUENTAS", "NOMBRE='x'", "", "", Archivo::Propio,
         Registros{{def("P_CUENTAS", "CODIGO|NOMBRE", "TITULO = 0")}}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM P_CUENTAS  with(nolock)  WHERE TITULO = 0 ORDER BY CODIGO", "CODIGO", " (NOMBRE='x') ");
    fila("clientes: condición por defecto", "VT_CLIENTES", "", "", "", Archivo::Propio, Registros{{def("VT_CLIENTES", "CODIGO|NOMBRE")}}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM VT_CLIENTES  with(nolock)  WHERE Dada_De_Baja = 0 ORDER BY CODIGO", "CODIGO", "");
    fila("clientes con condición", "VT_CLIENTES", "ZONA=1", "", "", Archivo::Propio, Registros{{def("VT_CLIENTES", "CODIGO|NOMBRE")}}, "",
         "SELECT TOP 1000 CODIGO,NOMBRE FROM VT_CLIENTES  with(nolock)  WHERE  (ZONA=1)  ORDER BY CODIGO", "CODIGO", " (ZONA=1) ");
    fila("artículos", "V_MA_ARTICULOS", "", "", "", Archivo::Propio, Registros{{def("V_MA_ARTICULOS", "IDARTICULO|DESCRIPCION", "STOCK > 0")}}, "",
         "SELECT TOP 1000 IDARTICULO,DESCRIPCION FROM VT_MA_ARTICULOS  with(nolock)  WHERE STOCK > 0 ORDER BY IDARTICULO", "IDARTICULO", "");
    fila("sin registro: columnas de la tabla", "P_DETALLE", "", "", "", Archivo::Propio, Registros{{def("OTRA", "A|B")}}, "",
         "SELECT TOP 1000 DETALLE,CODIGO FROM P_DETALLE  ORDER BY DETALLE", "DETALLE", "");
    fila("archivo inexistente", "P_DETALLE", "", "", "", Archivo::Inexistente, nada, "",
         "SELECT TOP 1000 DETALLE,CODIGO FROM P_DETALLE  ORDER BY DETALLE", "DETALLE", "");
}

void TstConsulta::sentencia()
{
    QFETCH(QString, sql);
    QFETCH(QString, where);
    QFETCH(QString, campo);
    QFETCH(QString, opcional);
    QFETCH(Archivo, archivo);
    QFETCH(Registros, registros);
    QFETCH(QString, top);

    Empresa e;
    if (!top.isEmpty())
        e.configurar(QStringLiteral("TopConsArt"), top);
    Lib_ClsCons3 m;
    m.gUsarMascarasConsultas = archivo != Archivo::Ninguno;
    m.gRutaMascaraConsultas = e.ruta(archivo == Archivo::Demo ? QStringLiteral("consultas.vlx") : QStringLiteral("propio.vlx"));
    if (archivo == Archivo::Propio)
        demo::EscribirConsultas(m.gRutaMascaraConsultas, registros.lista, registros.relleno);

    const QString s = m.ArmarSentencia(sql, campo, where, opcional);
    QTEST(s, "esperada");
    QTEST(campo, "campoFinal");
    QTEST(where, "whereFinal");
}

void TstConsulta::columnaUnica()
{
    // A definition with one column and no search column: the message, no statement, and the
    // one-shot requests kept.
    Empresa e;
    DialogosGuionados d;
    d.responder(suite::vbOK);
    Lib_ClsCons3 m;
    m.gUsarMascarasConsultas = true;
    m.gRutaMascaraConsultas = e.ruta(QStringLiteral("propio.vlx"));
    demo::EscribirConsultas(m.gRutaMascaraConsultas, {def("P_CUENTAS", "|CODIGO|")});
    m.Checks = true;
    m.CampoDevuelto = QStringLiteral("CODIGO");
    QString campo, where;
    m.ConsultaSearch(QStringLiteral("P_CUENTAS"), nullptr, {}, campo, where);
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().texto, QStringLiteral("Debe configurar la consulta para esta tabla"));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al operador"));
    QCOMPARE(d.ultimo().estilo, int(suite::vbInformation));
    QVERIFY(m.Checks);
    QCOMPARE(m.CampoDevuelto, QStringLiteral("CODIGO"));
}

void TstConsulta::definiciones()
{
    // Records are found by table name whatever their order; Windows-1252 text is read back.
    EntornoPrueba e;
    const QString ruta = e.ruta(QStringLiteral("c.vlx"));
    demo::EscribirConsultas(ruta, {def("UNO", "A|B"), def("AÑOS", "AÑO|DESCRIPCIÓN", "TIPO='€'")});
    QFile f(ruta);
    QCOMPARE(f.size(), 2 * 1202);
    const auto d = BuscarDefinicion(ruta, QStringLiteral(" años "));
    QVERIFY(d);
    QCOMPARE(d->tabla, QStringLiteral("AÑOS"));
    QCOMPARE(d->columnas, QStringLiteral("AÑO|DESCRIPCIÓN"));
    QCOMPARE(d->condicion, QStringLiteral("TIPO='€'"));
    QVERIFY(!BuscarDefinicion(ruta, QStringLiteral("DOS")));
    QVERIFY(!BuscarDefinicion(e.ruta(QStringLiteral("no.vlx")), QStringLiteral("UNO")));
}

void TstConsulta::definicionDaniada_data()
{
    // A damaged record of consultas.vlx is named in one message (the file, the record, what is
    // wrong) and the lookup shows the table's own columns instead of failing in the server.
    QTest::addColumn<QByteArray>("cambio"); // "cortar": the file cut inside the record
    QTest::addColumn<QString>("columnas");
    QTest::addColumn<QString>("problema");
    QTest::newRow("registro cortado") << QByteArray("cortar") << "CODIGO|NOMBRE" << "el registro 2 (la consulta de P_CUENTAS, desde el byte 1202) está cortado: tiene 800 bytes de 1202";
    QTest::newRow("caracteres de control") << QByteArray() << QStringLiteral("CODIGO|NOM\x01" "BRE") << "el registro 2 (la consulta de P_CUENTAS, desde el byte 1202) tiene caracteres de control en sus campos";
    QTest::newRow("columna que la tabla no tiene") << QByteArray() << "CODIGO|NOMBER"
                                                   << "el registro 2 (la consulta de P_CUENTAS) nombra la columna NOMBER, que la tabla no tiene";
}

void TstConsulta::definicionDaniada()
{
    QFETCH(QByteArray, cambio);
    QFETCH(QString, columnas);
    QFETCH(QString, problema);
    Empresa e;
    DialogosGuionados d;
    d.responder(suite::vbOK);
    Lib_ClsCons3 m;
    m.gUsarMascarasConsultas = true;
    m.gRutaMascaraConsultas = e.ruta(QStringLiteral("propio.vlx"));
    demo::EscribirConsultas(m.gRutaMascaraConsultas, {def("OTRA", "A|B"), def("P_CUENTAS", columnas.toUtf8().constData())});
    if (cambio == "cortar")
        QVERIFY(QFile::resize(m.gRutaMascaraConsultas, 1202 + 800));
    QString campo, where;
    const QString s = m.ArmarSentencia(QStringLiteral("P_CUENTAS"), campo, where, {});
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al operador"));
    QCOMPARE(d.ultimo().texto, QStringLiteral("El archivo de consultas %1 está dañado: %2. Se muestran las columnas de la tabla.")
                                   .arg(m.gRutaMascaraConsultas, problema));
    QVERIFY2(s.contains(QStringLiteral("FROM P_CUENTAS")) && s.contains(QStringLiteral("NOMBRE")) && !s.contains(QStringLiteral("NOMBER")),
             qPrintable(s));
}

QTEST_MAIN(TstConsulta)
#include "tst_consulta.moc"
