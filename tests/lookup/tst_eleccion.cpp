// The lookups return what the user chose, and only that: the chosen row survives any sort,
// a date order survives F5, a typed text that matches nothing chooses nothing, the list says
// when it is cut at its row limit and which F5 filters are in force, and option lists keep
// the caller's order. Driven with real keys and clicks over a demo company.
#include "ConsultasVlx.h"
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "Modales.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {

const QString Cuentas = QStringLiteral("MA_CUENTAS");
const QString Centros = QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO");

struct Empresa : GDBPrueba {
    static void ejecutar(QString s)
    {
        long n = 0;
        gDB.EjecutaConsultaSQL(s, n);
    }
    // Dated rows for the date order.
    static void fechas()
    {
        ejecutar(QStringLiteral("CREATE TABLE P_FECHAS (CODIGO varchar(4) NOT NULL, FECHA datetime NULL)"));
        const char* const filas[][2] = {{"AA", "20260301"}, {"AB", "20250115"}, {"B", "20260210"}, {"AC", "20250601"}};
        for (const auto& f : filas)
            ejecutar(QStringLiteral("INSERT INTO P_FECHAS (CODIGO, FECHA) VALUES ('%1', '%2')").arg(QLatin1String(f[0]), QLatin1String(f[1])));
    }
    static void configurar(const QString& clave, const QString& valor)
    {
        ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = '%1'").arg(clave));
        ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('%1', '%2')").arg(clave, valor));
    }
};

// A search as the editor asks it: the value of CODIGO comes back.
template <typename D>
void buscar(Lib_ClsCons3& m, const QString& sql, const std::function<void(D&)>& pasos, bool marcas = false,
            const QString& clave = {})
{
    alAbrirModal<D>(pasos);
    m.Checks = marcas;
    m.CampoDevuelto = QStringLiteral("CODIGO");
    QString campo;
    QString where = sql == Cuentas ? QStringLiteral("TITULO=0") : QString();
    m.ConsultaSearch(sql, nullptr, clave, campo, where, {}, std::is_same_v<D, Lib_FrmCons3Tree>);
}

QLineEdit* caja(Lib_FrmCons3& d, const QString& titulo)
{
    const int c = d.IndiceColumna(titulo) - 1;
    return c >= 0 ? d.CmbSearch[c] : nullptr;
}

QStringList columna(const Lib_FrmCons3& d, const QString& titulo)
{
    QStringList l;
    const int c = d.IndiceColumna(titulo) - 1;
    for (int f = 0; c >= 0 && f < d.modelo()->rowCount(); ++f)
        l << d.modelo()->celda(f, c);
    return l;
}

// A click on a column's title, scrolled into view first as the user would.
void clicEnTitulo(Lib_FrmCons3& d, const QString& titulo)
{
    QHeaderView* h = d.ListView1->horizontalHeader();
    const int c = d.IndiceColumna(titulo) - 1;
    QVERIFY2(c >= 0, qPrintable(titulo));
    if (h->sectionViewportPosition(c) < 0 || h->sectionViewportPosition(c) + 10 > h->viewport()->width())
        d.ListView1->horizontalScrollBar()->setValue(h->sectionPosition(c));
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + 5, h->height() / 2));
}

// The status line under the title, when shown.
QString estado(const QWidget& d)
{
    const auto* l = d.findChild<QLabel*>(QStringLiteral("lblEstado"));
    return l && l->isVisible() ? l->text() : QString();
}

} // namespace

class TstEleccion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ordenConservaLaEleccion_data();
    void ordenConservaLaEleccion();
    void f5TrasOrdenPorFecha_data();
    void f5TrasOrdenPorFecha();
    void sinCoincidencia_data();
    void sinCoincidencia();
    void limiteDeFilas_data();
    void limiteDeFilas();
    void filtrosALaVista();
    void opcionesEnSuOrden();
};

void TstEleccion::ordenConservaLaEleccion_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("definicion"); // the demo's consultas.vlx (by code), as the program runs
    QTest::addColumn<bool>("marcas");
    QTest::addColumn<QString>("eleccion"); // "Titulo:text" typed in that box, or "clic:code" on its row
    QTest::addColumn<QStringList>("titulos"); // clicked in order
    QTest::addColumn<QStringList>("esperado");

    const QString rodados = QStringLiteral("1.2.01.001");
    QTest::newRow("como el editor: Rod, Descripcion") << Cuentas << true << false << QStringLiteral("Descripcion:Rod") << QStringList{"Descripcion"}
                                                      << QStringList{rodados};
    QTest::newRow("tecleo, Descripcion descendente")
        << Cuentas << false << false << QStringLiteral("Descripcion:Rod") << QStringList{"Descripcion", "Descripcion"} << QStringList{rodados};
    QTest::newRow("tecleo, Codigo descendente")
        << Cuentas << false << false << QStringLiteral("Codigo:5.1.01.002") << QStringList{"Codigo", "Codigo"} << QStringList{"5.1.01.002"};
    QTest::newRow("clic en la fila") << Cuentas << false << false << QStringLiteral("clic:2.1.01.001") << QStringList{"Codigo"}
                                     << QStringList{"2.1.01.001"};
    // A date column is ordered by the database: the list is read again.
    const QString fechas = QStringLiteral("SELECT CODIGO,FECHA FROM P_FECHAS");
    QTest::newRow("fecha") << fechas << false << false << QStringLiteral("CODIGO:AC") << QStringList{"FECHA"} << QStringList{"AC"};
    QTest::newRow("marca y fecha") << fechas << false << true << QStringLiteral("CODIGO:AA") << QStringList{"FECHA"} << QStringList{"AA"};
    QTest::newRow("marca y orden") << Cuentas << false << true << QStringLiteral("Descripcion:Rod") << QStringList{"Codigo"}
                                        << QStringList{rodados};
}

void TstEleccion::ordenConservaLaEleccion()
{
    // The highlighted row is the same record after any sort, and a check mark stays on its
    // record: Enter returns it.
    QFETCH(QString, sql);
    QFETCH(bool, definicion);
    QFETCH(bool, marcas);
    QFETCH(QString, eleccion);
    QFETCH(QStringList, titulos);
    QFETCH(QStringList, esperado);
    Empresa e;
    Empresa::fechas();
    Lib_ClsCons3 m;
    if (definicion) {
        m.gRutaMascaraConsultas = e.ruta(QStringLiteral("consultas.vlx"));
        demo::EscribirConsultas(m.gRutaMascaraConsultas, {demo::ConsultaCuentas()});
        m.gUsarMascarasConsultas = true;
    }
    QString resaltada;
    buscar<Lib_FrmCons3>(m, sql, [&](Lib_FrmCons3& d) {
        const QString como = eleccion.section(u':', 0, 0);
        const QString texto = eleccion.section(u':', 1);
        if (como == QLatin1String("clic")) {
            const int f = int(columna(d, QStringLiteral("Codigo")).indexOf(texto));
            QVERIFY(f >= 0);
            const QModelIndex i = d.modelo()->index(f, d.IndiceColumna(QStringLiteral("Codigo")) - 1);
            d.ListView1->scrollTo(i);
            QTest::mouseClick(d.ListView1->viewport(), Qt::LeftButton, {}, d.ListView1->visualRect(i).center());
        } else {
            QLineEdit* c = caja(d, como);
            QVERIFY(c);
            c->setFocus();
            QTest::keyClicks(c, texto);
            QTest::keyClick(c, Qt::Key_Down); // into the list, on the found row
        }
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.ListView1));
        if (marcas)
            QTest::keyClick(d.ListView1, Qt::Key_Space);
        for (const QString& t : titulos)
            clicEnTitulo(d, t);
        const QModelIndexList sel = d.ListView1->selectionModel()->selectedRows();
        QCOMPARE(sel.size(), 1);
        resaltada = d.modelo()->celda(sel.front().row(), d.IndiceColumna(QStringLiteral("Codigo")) - 1);
        QTest::keyClick(d.ListView1, Qt::Key_Return);
    }, marcas);
    QCOMPARE(resaltada, esperado.front());
    QVERIFY(m.Valores);
    QCOMPARE(marcas ? *m.Valores : QStringList{m.ValorDevuelto.toString()}, esperado);
}

void TstEleccion::f5TrasOrdenPorFecha_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("todas");     // after the click on FECHA
    QTest::addColumn<QStringList>("busquedas"); // "box:text", one F5 each
    QTest::addColumn<QStringList>("codigos");   // in date order

    const QStringList todas{"AB", "AC", "B", "AA"};
    const QStringList a{QStringLiteral("0:A")};
    QTest::newRow("sin where") << QStringLiteral("SELECT CODIGO,FECHA FROM P_FECHAS") << todas << a << QStringList{"AB", "AC", "AA"};
    QTest::newRow("con where") << QStringLiteral("SELECT CODIGO,FECHA FROM P_FECHAS WHERE CODIGO<>'AC'") << QStringList{"AB", "B", "AA"}
                               << a << QStringList{"AB", "AA"};
    QTest::newRow("group by") << QStringLiteral("SELECT CODIGO,FECHA FROM P_FECHAS GROUP BY CODIGO,FECHA") << todas << a
                              << QStringList{"AB", "AC", "AA"};
    QTest::newRow("dos busquedas") << QStringLiteral("SELECT CODIGO,FECHA FROM P_FECHAS") << todas << QStringList{"0:A", "0:AA"}
                                   << QStringList{"AA"};
}

void TstEleccion::f5TrasOrdenPorFecha()
{
    // After a click on a date title, F5 filters and the rows stay in date order.
    QFETCH(QString, sql);
    QFETCH(QStringList, todas);
    QFETCH(QStringList, busquedas);
    QFETCH(QStringList, codigos);
    Empresa e;
    Empresa::fechas();
    DialogosGuionados dlg; // no error may show
    Lib_ClsCons3 m;
    QStringList vistos;
    buscar<Lib_FrmCons3>(m, sql, [&](Lib_FrmCons3& d) {
        clicEnTitulo(d, QStringLiteral("FECHA"));
        QCOMPARE(columna(d, QStringLiteral("CODIGO")), todas);
        for (const QString& b : busquedas) {
            QLineEdit* c = d.CmbSearch[b.section(u':', 0, 0).toInt()];
            c->setFocus();
            QTest::keyClicks(c, b.section(u':', 1));
            QTest::keyClick(c, Qt::Key_F5);
        }
        vistos = columna(d, QStringLiteral("CODIGO"));
        QVERIFY2(d.Sql.trimmed().endsWith(QLatin1String("order by FECHA")), qPrintable(d.Sql));
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    });
    QVERIFY2(dlg.vistos().isEmpty(), dlg.vistos().isEmpty() ? "" : qPrintable(dlg.ultimo().texto));
    QCOMPARE(vistos, codigos);
    QCOMPARE(m.ValorDevuelto.toString(), codigos.front());
}

void TstEleccion::sinCoincidencia_data()
{
    QTest::addColumn<bool>("arbol");
    QTest::addColumn<QString>("clave"); // the engine's initial search text
    QTest::addColumn<QString>("titulo"); // the box typed in (the list)
    QTest::addColumn<QString>("texto");

    QTest::newRow("lista, codigo") << false << QString() << QStringLiteral("Codigo") << QStringLiteral("1.2.9");
    QTest::newRow("lista, descripcion") << false << QString() << QStringLiteral("Descripcion") << QStringLiteral("Rodx");
    QTest::newRow("lista, clave inicial") << false << QStringLiteral("9.9") << QString() << QString();
    QTest::newRow("arbol") << true << QString() << QString() << QStringLiteral("219");
}

void TstEleccion::sinCoincidencia()
{
    // A typed text no row starts with leaves nothing highlighted, says so, and Enter
    // chooses nothing.
    QFETCH(bool, arbol);
    QFETCH(QString, clave);
    QFETCH(QString, titulo);
    QFETCH(QString, texto);
    Empresa e;
    Lib_ClsCons3 m;
    QString aviso;
    bool resaltado = true;
    if (arbol) {
        buscar<Lib_FrmCons3Tree>(m, Centros, [&](Lib_FrmCons3Tree& d) {
            QTest::keyClicks(d.CmbSearch, texto);
            resaltado = d.TreeV->selectionModel()->hasSelection();
            aviso = estado(d);
            QTest::keyClick(d.CmbSearch, Qt::Key_Return);
        });
    } else {
        buscar<Lib_FrmCons3>(m, Cuentas, [&](Lib_FrmCons3& d) {
            if (!titulo.isEmpty()) {
                QLineEdit* c = caja(d, titulo);
                QVERIFY(c);
                c->setFocus();
                QTest::keyClicks(c, texto);
            }
            resaltado = d.ListView1->selectionModel()->hasSelection();
            aviso = estado(d);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }, false, clave);
    }
    QVERIFY(!resaltado);
    QVERIFY2(aviso.contains(u'«' + (texto.isEmpty() ? clave : texto) + u'»'), qPrintable(aviso));
    QCOMPARE(m.ValorDevuelto.toString(), QString());
}

void TstEleccion::limiteDeFilas_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("f5");    // F5 text in the Codigo box; empty for none
    QTest::addColumn<bool>("cortada");

    QTest::newRow("5") << QStringLiteral("5") << QString() << true;
    QTest::newRow("5, F5 que deja menos") << QStringLiteral("5") << QStringLiteral("1.1") << false;
    QTest::newRow("1000 por omision") << QString() << QString() << false;
}

void TstEleccion::limiteDeFilas()
{
    // A list cut at "TopConsArt" says so; one that holds every row says nothing.
    QFETCH(QString, top);
    QFETCH(QString, f5);
    QFETCH(bool, cortada);
    Empresa e;
    if (!top.isEmpty())
        Empresa::configurar(QStringLiteral("TopConsArt"), top);
    Lib_ClsCons3 m;
    QString aviso;
    int filas = 0;
    buscar<Lib_FrmCons3>(m, Cuentas, [&](Lib_FrmCons3& d) {
        if (!f5.isEmpty()) {
            QLineEdit* c = caja(d, QStringLiteral("Codigo"));
            QVERIFY(c);
            c->setFocus();
            QTest::keyClicks(c, f5);
            QTest::keyClick(c, Qt::Key_F5);
        }
        filas = d.modelo()->rowCount();
        aviso = estado(d);
        // The status line takes its room from the list, not from the boxes or buttons.
        QVERIFY(d.ListView1->mapTo(&d, QPoint(0, d.ListView1->height())).y() <= d.Frame1->y());
        if (const auto* l = d.findChild<QLabel*>(QStringLiteral("lblEstado")); l && l->isVisible())
            QVERIFY(l->geometry().bottom() < d.picFields->y());
    });
    const QString dice = QStringLiteral("Se muestran sólo las primeras %1 filas").arg(top);
    QCOMPARE(aviso.contains(dice), cortada);
    if (!cortada)
        QVERIFY2(!aviso.contains(QStringLiteral("primeras")), qPrintable(aviso));
    QVERIFY(filas > 0);
}

void TstEleccion::filtrosALaVista()
{
    // The F5 filters in force show under the title; "&Nueva Busqueda" drops them, in the list
    // and in the tree.
    Empresa e;
    Lib_ClsCons3 m;
    buscar<Lib_FrmCons3>(m, Cuentas, [&](Lib_FrmCons3& d) {
        const int todas = d.modelo()->rowCount();
        QCOMPARE(estado(d), QString());
        QLineEdit* desc = caja(d, QStringLiteral("Descripcion"));
        QLineEdit* cod = caja(d, QStringLiteral("Codigo"));
        QVERIFY(desc && cod);
        desc->setFocus();
        QTest::keyClicks(desc, QStringLiteral("ca"));
        QTest::keyClick(desc, Qt::Key_F5);
        cod->setFocus();
        QTest::keyClicks(cod, QStringLiteral("1"));
        QTest::keyClick(cod, Qt::Key_F5);
        QCOMPARE(columna(d, QStringLiteral("Codigo")), QStringList{"1.1.01.001"});
        const QString aviso = estado(d);
        QVERIFY2(aviso.contains(QStringLiteral("Descripcion comienza con «ca»"), Qt::CaseInsensitive)
                     && aviso.contains(QStringLiteral("Codigo comienza con «1»"), Qt::CaseInsensitive),
                 qPrintable(aviso));
        QTest::mouseClick(d.CmdNueva, Qt::LeftButton);
        QCOMPARE(estado(d), QString());
        QCOMPARE(d.modelo()->rowCount(), todas);
    });
    buscar<Lib_FrmCons3Tree>(m, Centros, [&](Lib_FrmCons3Tree& d) {
        const int todos = d.modelo()->arbol().cantidad();
        QTest::keyClicks(d.CmbSearch, QStringLiteral("zona"));
        QTest::keyClick(d.CmbSearch, Qt::Key_F5);
        QCOMPARE(d.modelo()->arbol().cantidad(), 3); // the root, 211 and 212
        QVERIFY2(estado(d).contains(QStringLiteral("«zona»")), qPrintable(estado(d)));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("sur"));
        QTest::keyClick(d.CmbSearch, Qt::Key_F5);
        QCOMPARE(d.modelo()->arbol().cantidad(), 2);
        QTest::mouseClick(d.CmdNueva, Qt::LeftButton);
        QCOMPARE(d.modelo()->arbol().cantidad(), todos);
        QCOMPARE(estado(d), QString());
        QTest::keyClicks(d.CmbSearch, QStringLiteral("31"));
        QTest::keyClick(d.CmbSearch, Qt::Key_Return);
    });
    QCOMPARE(m.ValorDevuelto.toString(), QStringLiteral("31"));
}

void TstEleccion::opcionesEnSuOrden()
{
    // Option lists show their options in the caller's order.
    Empresa e;
    Lib_ClsCons3 m;
    QStringList vistas;
    auto ver = [&](Lib_FrmCons3& d) {
        vistas.clear();
        for (int f = 0; f < d.modelo()->rowCount(); ++f)
            vistas << d.modelo()->celda(f, 0) + (d.modelo()->marcada(f) ? QStringLiteral("+") : QString());
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    };
    alAbrirModal<Lib_FrmCons3>(ver);
    QCOMPARE(m.MenuOpciones(QStringLiteral("Moneda"), QStringLiteral("Pesos"), QStringLiteral("Dólares"), QStringLiteral("Euros")),
             QStringLiteral("Pesos"));
    QCOMPARE(vistas, QStringList({QStringLiteral("Pesos"), QStringLiteral("Dólares"), QStringLiteral("Euros")}));
    alAbrirModal<Lib_FrmCons3>(ver);
    m.CheckOpciones(QStringLiteral("Columnas"), QStringList{QStringLiteral("1Uno"), QStringLiteral("0Dos"), QStringLiteral("1Tres")});
    QCOMPARE(vistas, QStringList({QStringLiteral("Uno+"), QStringLiteral("Dos"), QStringLiteral("Tres+")}));
    QCOMPARE(*m.Valores, QStringList({QStringLiteral("Uno"), QStringLiteral("Tres")}));
}

QTEST_MAIN(TstEleccion)
#include "tst_eleccion.moc"
