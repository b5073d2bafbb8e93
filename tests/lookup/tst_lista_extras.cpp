// The list lookup's extras for the suite's tables, on the demo company's articles: stock
// colours, price-list titles, the quantity keys, the F12 shortage report and "N&uevo".
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "Modales.h"
#include "data/Sesion.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using Pasos = std::function<void(Lib_FrmCons3&)>;
using suite::Moneda;

const QString Articulos = QStringLiteral("SELECT IdArticulo, Descripcion, PuntoPedido, Stock FROM STK_MA_ARTICULOS ORDER BY IdArticulo");
const QString ConCantidad =
    QStringLiteral("SELECT IdArticulo, Descripcion, 0 AS [**Cantidad**] FROM STK_MA_ARTICULOS ORDER BY IdArticulo");

struct Empresa : GDBPrueba {
    // Stock levels in colour (red in the low byte) and the price lists' names.
    Empresa()
    {
        const char* const claves[][2] = {{"MostrarStockenConsultas", "SI"}, {"Stk_Nivel1", "32768"},  {"Stk_Nivel2", "8388608"},
                                         {"Stk_Nivel3", "33023"},           {"Stk_Nivel4", "255"},    {"NOM_PCLASE1", "Lista minorista"},
                                         {"NOM_PCLASE2", "Lista mayorista"}};
        for (const auto& c : claves)
            configurar(QString::fromLatin1(c[0]), QString::fromLatin1(c[1]));
    }
    static void ejecutar(QString s)
    {
        long n = 0;
        gDB.EjecutaConsultaSQL(s, n);
    }
    static void configurar(const QString& clave, const QString& valor)
    {
        ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = '%1'").arg(clave));
        if (!valor.isNull())
            ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('%1', '%2')").arg(clave, valor));
    }
};

void alAbrir(const Pasos& pasos) { alAbrirModal<Lib_FrmCons3>(pasos); }

void buscar(Lib_ClsCons3& m, const QString& sql, const Pasos& pasos)
{
    alAbrir(pasos);
    QString campo, where;
    m.ConsultaSearch(sql, nullptr, {}, campo, where);
}

// Selects the row whose first column is `codigo` and gives the list the focus.
void irA(Lib_FrmCons3& d, const QString& codigo)
{
    d.CmbSearch[0]->setFocus();
    d.CmbSearch[0]->clear();
    QTest::keyClicks(d.CmbSearch[0], codigo);
    QTest::keyClick(d.CmbSearch[0], Qt::Key_Down);
}

QString colorDe(const Lib_FrmCons3& d, int fila)
{
    const QVariant c = d.modelo()->data(d.modelo()->index(fila, 1), Qt::ForegroundRole);
    return c.isValid() ? c.value<QColor>().name() : QStringLiteral("-");
}

} // namespace

class TstListaExtras : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nivelStock_data();
    void nivelStock();
    void colores_data();
    void colores();
    void titulosDePrecio();
    void cantidades_data();
    void cantidades();
    void cantidadesSinFilaNiColumna();
    void faltante_data();
    void faltante();
    void faltanteFallido();
    void programaMantenimiento_data();
    void programaMantenimiento();
    void nuevo();
};

void TstListaExtras::nivelStock_data()
{
    QTest::addColumn<int>("puntoPedido");
    QTest::addColumn<int>("stock");
    QTest::addColumn<int>("nivel");
    QTest::newRow("sin punto de pedido, con stock") << 0 << 5 << 1;
    QTest::newRow("sobre el punto de pedido") << 10 << 12 << 2;
    QTest::newRow("bajo el punto de pedido") << 10 << 3 << 3;
    QTest::newRow("en el punto de pedido") << 10 << 10 << 4;
    QTest::newRow("sin punto de pedido ni stock") << 0 << 0 << 4;
}

void TstListaExtras::nivelStock()
{
    QFETCH(int, puntoPedido);
    QFETCH(int, stock);
    QTEST(Lib_FrmCons3::NivelStock(Moneda::desdeEntero(puntoPedido), Moneda::desdeEntero(stock)), "nivel");
}

void TstListaExtras::colores_data()
{
    QTest::addColumn<QString>("muestraStock");
    QTest::addColumn<QString>("nivel3");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("colores"); // A001..A006
    const QString verde = QStringLiteral("#008000"), azul = QStringLiteral("#000080"), naranja = QStringLiteral("#ff8000"),
                  rojo = QStringLiteral("#ff0000"), no = QStringLiteral("-");
    QTest::newRow("SI") << QStringLiteral("SI") << QStringLiteral("33023") << Articulos
                        << QStringList{verde, azul, naranja, rojo, rojo, azul};
    QTest::newRow("si, hexadecimal") << QStringLiteral(" si ") << QStringLiteral("&H80FF&") << Articulos
                                     << QStringList{verde, azul, naranja, rojo, rojo, azul};
    QTest::newRow("nivel sin color") << QStringLiteral("SI") << QString() << Articulos << QStringList{verde, azul, no, rojo, rojo, azul};
    QTest::newRow("NO") << QStringLiteral("NO") << QStringLiteral("33023") << Articulos << QStringList{no, no, no, no, no, no};
    QTest::newRow("sin columna de stock") << QStringLiteral("SI") << QStringLiteral("33023")
                                          << QStringLiteral("SELECT IdArticulo, Descripcion, PuntoPedido FROM STK_MA_ARTICULOS ORDER BY IdArticulo")
                                          << QStringList{no, no, no, no, no, no};
}

void TstListaExtras::colores()
{
    // With "MostrarStockenConsultas" at SI, each article row takes its stock level's colour.
    QFETCH(QString, muestraStock);
    QFETCH(QString, nivel3);
    QFETCH(QString, sql);
    Empresa e;
    Empresa::configurar(QStringLiteral("MostrarStockenConsultas"), muestraStock);
    Empresa::configurar(QStringLiteral("Stk_Nivel3"), nivel3);
    Lib_ClsCons3 m;
    QStringList colores;
    buscar(m, sql, [&](Lib_FrmCons3& d) {
        QVERIFY(d.EsArticulos);
        for (int f = 0; f < d.modelo()->rowCount(); ++f)
            colores << colorDe(d, f);
    });
    QTEST(colores, "colores");
}

void TstListaExtras::titulosDePrecio()
{
    // Article views name their price columns after the price lists; a list without a name
    // keeps the field's; other statements keep their field names.
    Empresa e;
    Empresa::configurar(QStringLiteral("NOM_PCLASE2"), QString());
    Lib_ClsCons3 m;
    QStringList titulos;
    alAbrir([&](Lib_FrmCons3& d) { titulos = d.modelo()->titulos(); });
    QString campo, where;
    m.ConsultaSearch(QStringLiteral("STK_MA_ARTICULOS"), nullptr, {}, campo, where);
    // (The field names of a view come in lower case from PostgreSQL.)
    QCOMPARE(titulos.join(u',').toLower(), QStringLiteral("precio2,lista minorista,stock,puntopedido,descripcion,idarticulo"));
    QCOMPARE(titulos.value(1), QStringLiteral("Lista minorista"));
    buscar(m, QStringLiteral("SELECT CODIGO AS PRECIO1, DESCRIPCION FROM TA_CCOSTO"), [&](Lib_FrmCons3& d) {
        QCOMPARE(d.modelo()->titulos().join(u','), QStringLiteral("PRECIO1,DESCRIPCION"));
    });
}

void TstListaExtras::cantidades_data()
{
    QTest::addColumn<QStringList>("teclas"); // ins, del, shift+ins:answer (answer "!" cancels)
    QTest::addColumn<QString>("cantidad");
    QTest::addColumn<bool>("marcada");
    QTest::addColumn<int>("mensajes");
    QTest::newRow("Insert dos veces") << QStringList{"ins", "ins"} << QStringLiteral("2,0") << true << 0;
    QTest::newRow("Delete sobre 1,0") << QStringList{"ins", "del"} << QStringLiteral("0,00") << false << 0;
    QTest::newRow("Delete sobre 2,0") << QStringList{"ins", "ins", "del"} << QStringLiteral("1,0") << true << 0;
    QTest::newRow("Delete sobre nada") << QStringList{"del"} << QStringLiteral("0,00") << false << 0;
    QTest::newRow("Shift+Insert") << QStringList{"shift+ins:3,5"} << QStringLiteral("3,50") << true << 0;
    QTest::newRow("Shift+Insert y luego Insert") << QStringList{"shift+ins:3,5", "ins"} << QStringLiteral("4,5") << true << 0;
    QTest::newRow("Shift+Insert con cero") << QStringList{"ins", "shift+ins:0"} << QStringLiteral("0,00") << false << 0;
    QTest::newRow("Shift+Insert vacío") << QStringList{"ins", "shift+ins:"} << QStringLiteral("0,00") << false << 0;
    QTest::newRow("Shift+Insert cancelado") << QStringList{"ins", "shift+ins:!"} << QStringLiteral("1,0") << true << 0;
    QTest::newRow("Shift+Insert con letras") << QStringList{"ins", "shift+ins:tres"} << QStringLiteral("1,0") << true << 1;
}

void TstListaExtras::cantidades()
{
    // The quantity keys work on the selected row's "**Cantidad**" cell and its check mark;
    // the checked articles come back.
    QFETCH(QStringList, teclas);
    QFETCH(int, mensajes);
    Empresa e;
    DialogosGuionados dlg;
    Lib_ClsCons3 m;
    m.UsaCantidades = true;
    m.Checks = true;
    m.CampoDevuelto = QStringLiteral("IdArticulo");
    QString cantidad;
    bool marcada = false;
    buscar(m, ConCantidad, [&](Lib_FrmCons3& d) {
        const int c = d.IndiceColumna(Lib_FrmCons3::TituloCantidad()) - 1;
        QCOMPARE(c, 2);
        irA(d, QStringLiteral("A002"));
        for (const QString& t : teclas) {
            if (t == QLatin1String("ins")) {
                QTest::keyClick(d.ListView1, Qt::Key_Insert);
            } else if (t == QLatin1String("del")) {
                QTest::keyClick(d.ListView1, Qt::Key_Delete);
            } else {
                const QString respuesta = t.section(u':', 1);
                dlg.escribir(respuesta == QLatin1String("!") ? std::nullopt : std::optional<QString>(respuesta));
                if (respuesta == QLatin1String("tres"))
                    dlg.responder(suite::vbOK);
                QTest::keyClick(d.ListView1, Qt::Key_Insert, Qt::ShiftModifier);
                QCOMPARE(dlg.vistos()[dlg.vistos().size() - (respuesta == QLatin1String("tres") ? 2 : 1)].titulo,
                         QStringLiteral("Carga de Datos"));
            }
        }
        const int fila = d.ListView1->currentIndex().row();
        cantidad = d.modelo()->celda(fila, c);
        marcada = d.modelo()->marcada(fila);
        QTest::keyClick(d.ListView1, Qt::Key_Return);
    });
    QTEST(cantidad, "cantidad");
    QTEST(marcada, "marcada");
    int vistosMensajes = 0;
    for (const DialogoVisto& v : dlg.vistos())
        vistosMensajes += v.tipo == DialogoVisto::Mensaje;
    QCOMPARE(vistosMensajes, mensajes);
    QVERIFY(m.Valores);
    QCOMPARE(*m.Valores, marcada ? QStringList{QStringLiteral("A002")} : QStringList());
}

void TstListaExtras::cantidadesSinFilaNiColumna()
{
    // Without UsaCantidades the keys do nothing; without a selected row or a quantity
    // column they end in the error dialog and nothing changes.
    Empresa e;
    DialogosGuionados dlg;
    Lib_ClsCons3 m;
    buscar(m, ConCantidad, [&](Lib_FrmCons3& d) {
        irA(d, QStringLiteral("A001"));
        QTest::keyClick(d.ListView1, Qt::Key_Insert);
        QCOMPARE(d.modelo()->celda(0, 2), QStringLiteral("0"));
        QCOMPARE(dlg.vistos().size(), 0);
    });
    m.UsaCantidades = true;
    buscar(m, ConCantidad, [&](Lib_FrmCons3& d) {
        irA(d, QStringLiteral("A001"));
        d.ListView1->setCurrentIndex({});
        dlg.responder(suite::vbIgnore);
        QTest::keyClick(d.ListView1, Qt::Key_Insert);
        QVERIFY(dlg.ultimo().titulo.contains(QStringLiteral("ListView1_KeyDown")));
        QCOMPARE(d.modelo()->celda(0, 2), QStringLiteral("0"));
    });
    buscar(m, Articulos, [&](Lib_FrmCons3& d) {
        irA(d, QStringLiteral("A001"));
        dlg.responder(suite::vbIgnore);
        QTest::keyClick(d.ListView1, Qt::Key_Delete);
        QVERIFY(dlg.ultimo().texto.contains(Lib_FrmCons3::TituloCantidad()));
    });
    QCOMPARE(dlg.vistos().size(), 2);
}

void TstListaExtras::faltante_data()
{
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<QString>("usuario"); // the application user; empty: the database login
    QTest::addColumn<int>("respuesta");
    QTest::newRow("con apóstrofo") << QStringLiteral("A006") << QStringLiteral("ANA") << int(suite::vbYes);
    QTest::newRow("sin usuario de la aplicación") << QStringLiteral("A003") << QString() << int(suite::vbYes);
    QTest::newRow("respondido No") << QStringLiteral("A003") << QStringLiteral("ANA") << int(suite::vbNo);
}

void TstListaExtras::faltante()
{
    // F12 asks, and on Yes writes the shortage with the article's code fitted to 25, its name
    // as it is (apostrophe included), the time and the user.
    QFETCH(QString, articulo);
    QFETCH(QString, usuario);
    QFETCH(int, respuesta);
    Empresa e;
    gUsuarioLogeado = usuario;
    DialogosGuionados dlg;
    dlg.responder(respuesta);
    Lib_ClsCons3 m;
    QString descripcion;
    buscar(m, Articulos, [&](Lib_FrmCons3& d) {
        irA(d, articulo);
        descripcion = d.modelo()->celda(d.ListView1->currentIndex().row(), 1);
        QTest::keyClick(d.ListView1, Qt::Key_F12);
        QVERIFY(d.isVisible());
    });
    QCOMPARE(dlg.vistos().size(), 1);
    QCOMPARE(dlg.ultimo().titulo, QStringLiteral("Atención!"));
    QCOMPARE(dlg.ultimo().texto, QStringLiteral("Desea informar el articulo ") + articulo + u' ' + descripcion
                                     + QStringLiteral("\ncomo un faltante de stock?"));
    QCOMPARE(dlg.ultimo().estilo, suite::vbYesNo + suite::vbQuestion);
    auto cn = e.conectar();
    ado::Recordset rs = cn->Execute(QStringLiteral("SELECT FechaHora, IdArticulo, Descripcion, Usuario FROM V_MV_FALTANTES"));
    QStringList filas;
    for (; !rs.EOF_(); rs.MoveNext())
        filas << QStringList{rs.Fields(0).Value().toString(), rs.Fields(1).Value().toString(), rs.Fields(2).Value().toString(),
                             rs.Fields(3).Value().toString()}
                     .join(u'|');
    const QString quien = usuario.isEmpty() ? gDB.gUsuario : usuario;
    QCOMPARE(filas, respuesta == suite::vbYes ? QStringList{QStringLiteral("12/08/2026 18:04:11|") + QString(21, u' ') + articulo + u'|'
                                                            + descripcion + u'|' + quien}
                                              : QStringList());
}

void TstListaExtras::faltanteFallido()
{
    // A shortage the database refuses (a code longer than its column) is reported, not lost
    // in silence; F12 on a lookup that is not of articles does nothing.
    Empresa e;
    DialogosGuionados dlg;
    dlg.responder(suite::vbYes).responder(suite::vbOK);
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("SELECT 'ARTICULO-CON-CODIGO-MUY-LARGO' AS idarticulo, Descripcion FROM STK_MA_ARTICULOS"),
           [&](Lib_FrmCons3& d) {
               irA(d, QStringLiteral("ART"));
               QTest::keyClick(d.ListView1, Qt::Key_F12);
           });
    QCOMPARE(dlg.vistos().size(), 2);
    QVERIFY(dlg.ultimo().texto.startsWith(QStringLiteral("No se pudo informar el faltante del articulo ARTICULO-CON-CODIGO-MUY-LARGO")));
    QCOMPARE(EmpresaPrueba::valor(*e.conectar(), QStringLiteral("SELECT COUNT(*) FROM V_MV_FALTANTES")).toInt(), 0);
    buscar(m, QStringLiteral("SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO"), [&](Lib_FrmCons3& d) {
        irA(d, QStringLiteral("1"));
        QTest::keyClick(d.ListView1, Qt::Key_F12);
    });
    QCOMPARE(dlg.vistos().size(), 2);
}

void TstListaExtras::programaMantenimiento_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("programa");
    QTest::addColumn<QString>("parametro");
    QTest::newRow("rubros") << QStringLiteral(" v_ta_rubros ") << QStringLiteral("SHELL:V_TA_TABLAS") << QStringLiteral("v_ta_rubros");
    QTest::newRow("unidades") << QStringLiteral("V_TA_UNIDAD") << QStringLiteral("SHELL:V_TA_TABLAS") << QStringLiteral("V_TA_UNIDAD");
    QTest::newRow("clientes") << QStringLiteral("VT_CLIENTES") << QStringLiteral("SHELL:V_MA_CLIENTES") << QStringLiteral("1");
    QTest::newRow("proveedores") << QStringLiteral("vt_proveedores") << QStringLiteral("SHELL:V_MA_CLIENTES") << QStringLiteral("0");
    QTest::newRow("técnicos") << QStringLiteral("V_TA_TECNICOS") << QStringLiteral("SHELL:V_TA_Tecnicos") << QString();
    QTest::newRow("vendedores") << QStringLiteral("V_TA_VENDEDORES") << QStringLiteral("SHELL:V_TA_VENDEDORES") << QString();
    QTest::newRow("artículos") << QStringLiteral("V_MA_ARTICULOS") << QStringLiteral("SHELL:V_MA_ARTICULOS") << QString();
    QTest::newRow("artículos T") << QStringLiteral("VT_MA_ARTICULOS") << QStringLiteral("SHELL:V_MA_ARTICULOS") << QString();
    QTest::newRow("otra") << QStringLiteral("MA_CUENTAS") << QStringLiteral("SHELL:V_TA_TABLAS") << QStringLiteral("MA_CUENTAS");
}

void TstListaExtras::programaMantenimiento()
{
    QFETCH(QString, tabla);
    const Lib_FrmCons3::Mantenimiento p = Lib_FrmCons3::ProgramaMantenimiento(tabla);
    QTEST(p.programa, "programa");
    QTEST(p.parametro, "parametro");
}

void TstListaExtras::nuevo()
{
    // "N&uevo" on the account lookup starts the table maintenance program with MA_CUENTAS;
    // the dialog stays open with its rows. The real launcher says when there is no program.
    Empresa e;
    DialogosGuionados dlg;
    Lib_ClsCons3 m;
    QStringList lanzados;
    QString campo, where = QStringLiteral("TITULO=0");
    alAbrir([&](Lib_FrmCons3& d) {
        QVERIFY(d.CmdNuevo->isVisible());
        QCOMPARE(d.CmdNuevo->text(), QStringLiteral("N&uevo"));
        d.Lanzador = [&](const QString& programa, const QString& parametro, qint64& pid) {
            lanzados << programa + u'|' + parametro + u'|' + QString::number(pid);
        };
        const int filas = d.modelo()->rowCount();
        QTest::mouseClick(d.CmdNuevo, Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(d.modelo()->rowCount(), filas);
    });
    m.ConsultaSearch(QStringLiteral("MA_CUENTAS"), nullptr, {}, campo, where);
    QCOMPARE(lanzados, QStringList{QStringLiteral("SHELL:V_TA_TABLAS|MA_CUENTAS|0")});

    dlg.responder(suite::vbOK);
    buscar(m, QStringLiteral("SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO"), [&](Lib_FrmCons3& d) {
        QTest::mouseClick(d.CmdNuevo, Qt::LeftButton);
        QVERIFY(d.isVisible());
    });
    QCOMPARE(dlg.vistos().size(), 1);
    QVERIFY(dlg.ultimo().texto.startsWith(QStringLiteral("Opcion no Implementada!")));
}

QTEST_MAIN(TstListaExtras)
#include "tst_lista_extras.moc"
