// The list lookup dialog driven with real keys over a demo company: F5 searches (their
// statements and the rows they bring), incremental search, sorting, check boxes, saved
// widths, accept and cancel; and the option lists on the same dialog.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "Modales.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using Pasos = std::function<void(Lib_FrmCons3&)>;

struct Empresa : GDBPrueba {
    Empresa()
    {
        ejecutar(QStringLiteral("CREATE TABLE P_CUENTAS (CODIGO varchar(10) NOT NULL, NOMBRE varchar(30) NULL, TITULO bit NOT NULL)"));
        const char* const filas[][3] = {
            {"1", "Caja chica", "0"},      {"2", "Caja en dolares", "0"}, {"3", "Banco Nacion", "0"},
            {"4", "O'Brien proveedores", "0"}, {"5", "Cajas", "1"},       {"6", "Bancos del exterior", "0"},
        };
        for (const auto& f : filas)
            ejecutar(QStringLiteral("INSERT INTO P_CUENTAS (CODIGO, NOMBRE, TITULO) VALUES ('%1', '%2', %3)")
                         .arg(QString::fromUtf8(f[0]), QString::fromUtf8(f[1]).replace(u'\'', QStringLiteral("''")),
                              QString::fromUtf8(f[2])));
    }
    static void ejecutar(QString s)
    {
        long n = 0;
        gDB.EjecutaConsultaSQL(s, n);
    }
};

void alAbrir(const Pasos& pasos) { alAbrirModal<Lib_FrmCons3>(pasos); }

// A search of the engine with the given request, the dialog driven by `pasos`.
void buscar(Lib_ClsCons3& m, const QString& sql, QString where, const Pasos& pasos, const QString& valoresDefault = {})
{
    alAbrir(pasos);
    QString campo;
    m.ConsultaSearch(sql, nullptr, {}, campo, where, {}, false, valoresDefault);
}

QStringList columna(const Lib_FrmCons3& d, int c)
{
    QStringList l;
    for (int f = 0; f < d.modelo()->rowCount(); ++f)
        l << d.modelo()->celda(f, c);
    return l;
}

QString actual(const Lib_FrmCons3& d, int c)
{
    const QModelIndex i = d.ListView1->currentIndex();
    return i.isValid() ? d.modelo()->celda(i.row(), c) : QString();
}

} // namespace

class TstLista : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void f5_data();
    void f5();
    void nuevaBusqueda();
    void incremental();
    void tecleoEnLaLista();
    void aceptarYCancelar();
    void marcas();
    void ordenPorTitulo();
    void anchosGuardados();
    void ordenPorFecha();
    void sentenciaFallida();
    void opciones();
};

void TstLista::f5_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("contiene");
    QTest::addColumn<QStringList>("busquedas"); // "box:text", one F5 each
    QTest::addColumn<QString>("esperada");
    QTest::addColumn<QStringList>("codigos");

    const QString cuentas = QStringLiteral("P_CUENTAS");
    QTest::newRow("prefijo") << cuentas << QStringLiteral("TITULO=0") << false << QStringList{QStringLiteral("1:caja")}
                             << QStringLiteral(" SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)   and NOMBRE like 'caja%' ORDER BY NOMBRE")
                             << QStringList{QStringLiteral("1"), QStringLiteral("2")};
    QTest::newRow("asterisco") << cuentas << QStringLiteral("TITULO=0") << false << QStringList{QStringLiteral("1:ca*d")}
                               << QStringLiteral(" SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)   and NOMBRE like 'ca%d%' ORDER BY NOMBRE")
                               << QStringList{QStringLiteral("2")};
    QTest::newRow("contiene") << cuentas << QStringLiteral("TITULO=0") << true << QStringList{QStringLiteral("1:caja dol")}
                              << QStringLiteral(" SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)   and NOMBRE like '%caja%dol%' ORDER BY NOMBRE")
                              << QStringList{QStringLiteral("2")};
    QTest::newRow("comilla") << cuentas << QStringLiteral("TITULO=0") << false << QStringList{QStringLiteral("1:o'brien")}
                             << QStringLiteral(" SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)   and NOMBRE like 'o''brien%' ORDER BY NOMBRE")
                             << QStringList{QStringLiteral("4")};
    QTest::newRow("comilla, contiene") << cuentas << QStringLiteral("TITULO=0") << true << QStringList{QStringLiteral("1:'bri")}
                                       << QStringLiteral(" SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)   and NOMBRE like '%''bri%' ORDER BY NOMBRE")
                                       << QStringList{QStringLiteral("4")};
    QTest::newRow("acumuladas") << cuentas << QStringLiteral("TITULO=0") << false << QStringList{QStringLiteral("1:ban"), QStringLiteral("2:6")}
                                << QStringLiteral("  SELECT TOP 1000 TITULO,NOMBRE,CODIGO FROM P_CUENTAS WHERE   (TITULO=0)   and NOMBRE like 'ban%'  and CODIGO like '6%' ORDER BY NOMBRE")
                                << QStringList{QStringLiteral("6")};
    QTest::newRow("sin order ni group") << QStringLiteral("SELECT CODIGO,NOMBRE FROM P_CUENTAS") << QString() << false
                                        << QStringList{QStringLiteral("1:b")}
                                        << QStringLiteral(" SELECT CODIGO,NOMBRE FROM P_CUENTAS where NOMBRE like 'b%' ")
                                        << QStringList{QStringLiteral("3"), QStringLiteral("6")};
    QTest::newRow("group by y order by")
        << QStringLiteral("SELECT CODIGO,NOMBRE,CONCEPTO FROM MA_CUENTAS_CCDIST GROUP BY CODIGO,NOMBRE,CONCEPTO ORDER BY CODIGO") << QString()
        << false << QStringList{QStringLiteral("1:com")}
        << QStringLiteral(" SELECT CODIGO,NOMBRE,CONCEPTO FROM MA_CUENTAS_CCDIST  where NOMBRE like 'com%' GROUP BY CODIGO,NOMBRE,CONCEPTO ORDER BY CODIGO")
        << QStringList{QStringLiteral("2")};
}

void TstLista::f5()
{
    QFETCH(QString, sql);
    QFETCH(QString, where);
    QFETCH(bool, contiene);
    QFETCH(QStringList, busquedas);
    QFETCH(QStringList, codigos);

    Empresa e;
    if (contiene)
        Empresa::ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('UsaConsultaLike', 'si')"));
    Lib_ClsCons3 m;
    QString sentencia;
    QStringList vistos;
    buscar(m, sql, where, [&](Lib_FrmCons3& d) {
        for (const QString& b : busquedas) {
            QLineEdit* caja = d.CmbSearch[b.section(u':', 0, 0).toInt()];
            caja->setFocus();
            QTest::keyClicks(caja, b.section(u':', 1));
            QTest::keyClick(caja, Qt::Key_F5);
            QVERIFY(caja->text().isEmpty());
        }
        // The load puts one blank in front of the statement it runs.
        sentencia = d.Sql.mid(1);
        const int c = d.IndiceColumna(QStringLiteral("CODIGO")) - 1;
        vistos = columna(d, c);
    });
    QTEST(sentencia, "esperada");
    vistos.sort();
    QCOMPARE(vistos, codigos);
}

void TstLista::nuevaBusqueda()
{
    // "&Nueva Busqueda" goes back to the lookup's first statement and its rows.
    Empresa e;
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("P_CUENTAS"), QStringLiteral("TITULO=0"), [&](Lib_FrmCons3& d) {
        const QString primera = d.Sql;
        QTest::keyClicks(d.CmbSearch[1], QStringLiteral("caja"));
        QTest::keyClick(d.CmbSearch[1], Qt::Key_F5);
        QCOMPARE(d.modelo()->rowCount(), 2);
        QTest::mouseClick(d.CmdNueva, Qt::LeftButton);
        QCOMPARE(d.Sql, u' ' + primera);
        QCOMPARE(d.modelo()->rowCount(), 5);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.CmbSearch[0]));
    });
}

void TstLista::incremental()
{
    // Typing selects the first row, in the list's order, whose cell starts with the text;
    // no match leaves nothing selected; an emptied box goes back to the first row.
    Empresa e;
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("P_CUENTAS"), QStringLiteral("TITULO=0"), [&](Lib_FrmCons3& d) {
        QCOMPARE(columna(d, 1), QStringList({QStringLiteral("Banco Nacion"), QStringLiteral("Bancos del exterior"), QStringLiteral("Caja chica"),
                                             QStringLiteral("Caja en dolares"), QStringLiteral("O'Brien proveedores")}));
        QLineEdit* nombre = d.CmbSearch[1];
        nombre->setFocus();
        QCOMPARE(nombre->styleSheet().contains(QStringLiteral("#00FFFF")), true);
        QTest::keyClicks(nombre, QStringLiteral("caja e"));
        QCOMPARE(actual(d, 2), QStringLiteral("2"));
        QTest::keyClicks(nombre, QStringLiteral("x"));
        QCOMPARE(actual(d, 2), QString());
        QTest::keyClick(nombre, Qt::Key_Backspace);
        QCOMPARE(actual(d, 2), QStringLiteral("2"));
        QLineEdit* codigo = d.CmbSearch[2];
        codigo->setFocus();
        QCOMPARE(nombre->styleSheet().contains(QStringLiteral("#FFFFFF")), true);
        QTest::keyClicks(codigo, QStringLiteral("6"));
        QCOMPARE(actual(d, 1), QStringLiteral("Bancos del exterior"));
        QTest::keyClick(codigo, Qt::Key_Backspace);
        QCOMPARE(actual(d, 1), QStringLiteral("Banco Nacion"));
        QTest::keyClick(codigo, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.ListView1));
    });
}

void TstLista::tecleoEnLaLista()
{
    // Typing with the list focused goes on in the last search box.
    Empresa e;
    Lib_ClsCons3 m;
    m.CampoDevuelto = QStringLiteral("CODIGO");
    buscar(m, QStringLiteral("P_CUENTAS"), QStringLiteral("TITULO=0"), [&](Lib_FrmCons3& d) {
        d.CmbSearch[1]->setFocus();
        QTest::keyClick(d.CmbSearch[1], Qt::Key_Down);
        QTest::keyClicks(d.ListView1, QStringLiteral("ca"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.CmbSearch[1]));
        QCOMPARE(d.CmbSearch[1]->text(), QStringLiteral("ca"));
        QCOMPARE(actual(d, 2), QStringLiteral("1"));
        QTest::keyClick(d.CmbSearch[1], Qt::Key_Down);
        QTest::keyClick(d.ListView1, Qt::Key_Down);
        QTest::keyClick(d.ListView1, Qt::Key_Return);
    });
    QCOMPARE(m.ValorDevuelto.toString(), QStringLiteral("2"));
}

void TstLista::aceptarYCancelar()
{
    Empresa e;
    Lib_ClsCons3 m;
    struct Caso {
        const char* nombre;
        Pasos pasos;
        const char* valor;
        bool conValores;
    };
    const Caso casos[] = {
        {"Enter en la caja", [](Lib_FrmCons3& d) {
             QTest::keyClicks(d.CmbSearch[1], QStringLiteral("o"));
             QTest::keyClick(d.CmbSearch[1], Qt::Key_Return);
         }, "4", true},
        {"doble clic", [](Lib_FrmCons3& d) {
             const QRect r = d.ListView1->visualRect(d.modelo()->index(1, 1));
             QTest::mouseClick(d.ListView1->viewport(), Qt::LeftButton, {}, r.center());
             QTest::mouseDClick(d.ListView1->viewport(), Qt::LeftButton, {}, r.center());
         }, "6", true},
        {"Escape", [](Lib_FrmCons3& d) { QTest::keyClick(d.CmbSearch[0], Qt::Key_Escape); }, "", false},
        {"Cancelar", [](Lib_FrmCons3& d) { QTest::mouseClick(d.cmdCancelar, Qt::LeftButton); }, "", false},
    };
    for (const Caso& c : casos) {
        m.CampoDevuelto = QStringLiteral("codigo");
        buscar(m, QStringLiteral("P_CUENTAS"), QStringLiteral("TITULO=0"), c.pasos);
        QVERIFY2(m.ValorDevuelto.toString() == QString::fromUtf8(c.valor), c.nombre);
        QVERIFY2(m.Valores.has_value() == c.conValores, c.nombre);
        QVERIFY2(m.CampoDevuelto.isEmpty() && !m.Checks, c.nombre);
    }
}

void TstLista::marcas()
{
    // Space checks a row, "&Marcar" inverts every mark; the default values come up checked
    // only after a reload.
    Empresa e;
    Lib_ClsCons3 m;
    m.Checks = true;
    m.CampoDevuelto = QStringLiteral("CODIGO");
    buscar(m, QStringLiteral("P_CUENTAS"), QStringLiteral("TITULO=0"), [&](Lib_FrmCons3& d) {
        QVERIFY(d.CmdTodos->isVisible());
        for (int f = 0; f < d.modelo()->rowCount(); ++f)
            QVERIFY(!d.modelo()->marcada(f));
        QTest::keyClick(d.CmbSearch[2], Qt::Key_F5);
        QCOMPARE(d.modelo()->marcada(0), true);  // 3
        QCOMPARE(d.modelo()->marcada(1), false); // 6
        QCOMPARE(d.modelo()->marcada(2), true);  // 1
        QTest::mouseClick(d.CmdTodos, Qt::LeftButton);
        QTest::keyClick(d.CmbSearch[2], Qt::Key_Down);
        QTest::keyClick(d.ListView1, Qt::Key_Space);
        QTest::keyClick(d.ListView1, Qt::Key_Return);
    }, QStringLiteral("1,3"));
    QVERIFY(m.Valores);
    QCOMPARE(*m.Valores, QStringList({QStringLiteral("3"), QStringLiteral("6"), QStringLiteral("2"), QStringLiteral("4")}));
    QVERIFY(!m.Checks);
}

void TstLista::ordenPorTitulo()
{
    // A statement without ORDER BY: the list sorts itself; each click on a title sorts by it,
    // a second click the other way.
    Empresa e;
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("SELECT CODIGO,NOMBRE FROM P_CUENTAS WHERE TITULO=0"), {}, [&](Lib_FrmCons3& d) {
        QCOMPARE(columna(d, 0), QStringList({"1", "2", "3", "4", "6"}));
        QHeaderView* h = d.ListView1->horizontalHeader();
        auto clic = [&](int c) {
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + 5, h->height() / 2));
        };
        clic(1);
        QCOMPARE(columna(d, 0), QStringList({"3", "6", "1", "2", "4"}));
        clic(1);
        QCOMPARE(columna(d, 0), QStringList({"4", "2", "1", "6", "3"}));
        clic(0);
        QCOMPARE(columna(d, 0), QStringList({"1", "2", "3", "4", "6"}));
        clic(0);
        QCOMPARE(columna(d, 0), QStringList({"6", "4", "3", "2", "1"}));
        QTest::keyClicks(d.CmbSearch[0], QStringLiteral("3"));
        QCOMPARE(actual(d, 1), QStringLiteral("Banco Nacion"));
    });
}

void TstLista::anchosGuardados()
{
    // CONSULTASLEN.VLX in the program's folder: the last line for the table wins; missing
    // widths leave the computed ones.
    Empresa e;
    Lib_ClsCons3 m;
    auto anchos = [&] {
        QList<int> a;
        buscar(m, QStringLiteral("P_CUENTAS"), QStringLiteral("TITULO=0"), [&](Lib_FrmCons3& d) {
            for (int c = 0; c < 3; ++c) {
                a << d.ListView1->columnWidth(c);
                QCOMPARE(d.CmbSearch[c]->width(), a.back() - 1);
            }
        });
        return a;
    };
    const QList<int> calculados = anchos();
    e.escribir(QStringLiteral("CONSULTASLEN.VLX"),
               "\"P_CUENTAS\",\"100|200|\"\r\n\"OTRA\",\"50|\"\r\n\"p_cuentas\",\"1440|2880|\"\r\n");
    QCOMPARE(anchos(), QList<int>({TwipsAPixeles(1440), TwipsAPixeles(2880), calculados[2]}));
}

void TstLista::ordenPorFecha()
{
    // A date column's title asks the database for that order: the list stops sorting itself
    // and the statement is left as it was.
    Empresa e;
    Empresa::ejecutar(QStringLiteral("CREATE TABLE P_FECHAS (CODIGO varchar(4) NOT NULL, FECHA datetime NULL)"));
    Empresa::ejecutar(QStringLiteral("INSERT INTO P_FECHAS (CODIGO, FECHA) VALUES ('A', '20260301')"));
    Empresa::ejecutar(QStringLiteral("INSERT INTO P_FECHAS (CODIGO, FECHA) VALUES ('B', '20250115')"));
    Empresa::ejecutar(QStringLiteral("INSERT INTO P_FECHAS (CODIGO, FECHA) VALUES ('C', '20260210')"));
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("SELECT CODIGO,FECHA FROM P_FECHAS"), {}, [&](Lib_FrmCons3& d) {
        QCOMPARE(columna(d, 0), QStringList({"A", "B", "C"}));
        const QString antes = d.Sql;
        QHeaderView* h = d.ListView1->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
        QCOMPARE(columna(d, 0), QStringList({"B", "C", "A"}));
        QCOMPARE(d.Sql, antes);
        QCOMPARE(d.SqlBase, QStringLiteral(" ") + antes + QStringLiteral(" order by FECHA"));
        QVERIFY(!d.OrdenarPorLwv);
    });
}

void TstLista::sentenciaFallida()
{
    // A statement the database refuses: its error is shown, the list opens empty and a new
    // search is still possible.
    Empresa e;
    DialogosGuionados dlg;
    dlg.responder(suite::vbAbort);
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("SELECT CODIGO FROM P_NO_EXISTE"), {}, [&](Lib_FrmCons3& d) {
        QCOMPARE(dlg.vistos().size(), 1);
        QVERIFY(dlg.ultimo().texto.contains(QStringLiteral("P_NO_EXISTE"), Qt::CaseInsensitive));
        QCOMPARE(d.modelo()->rowCount(), 0);
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Escape);
    });
    QVERIFY(!m.Valores);
}

void TstLista::opciones()
{
    Empresa e;
    Lib_ClsCons3 m;
    // Both calling forms give the same rows; the checked texts come back.
    QStringList vistas;
    alAbrir([&](Lib_FrmCons3& d) {
        for (int f = 0; f < d.modelo()->rowCount(); ++f)
            vistas << d.modelo()->celda(f, 0) + (d.modelo()->marcada(f) ? QStringLiteral("+") : QString());
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    });
    QCOMPARE(m.CheckOpciones(QStringLiteral("Columnas"), QStringLiteral("1Uno"), QStringLiteral("0Dos")), QString());
    QCOMPARE(vistas, QStringList({QStringLiteral("Uno+"), QStringLiteral("Dos")}));
    QCOMPARE(*m.Valores, QStringList{QStringLiteral("Uno")});
    alAbrir([&](Lib_FrmCons3& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Columnas"));
        QVERIFY(!d.CmdNueva->isVisible());
        QTest::mouseClick(d.CmdTodos, Qt::LeftButton);
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    });
    m.CheckOpciones(QStringLiteral("Columnas"), QStringList{QStringLiteral("1Uno"), QStringLiteral("0Dos")});
    QCOMPARE(*m.Valores, QStringList{QStringLiteral("Dos")});

    // A single choice: the chosen text, or "" when closed without one.
    alAbrir([](Lib_FrmCons3& d) {
        // Too narrow for both buttons: they share half the width, Cancelar at the right.
        QCOMPARE(d.cmdCancelar->width(), d.CmdAceptar->width());
        QVERIFY(d.CmdAceptar->width() < d.CmdNueva->width());
        QVERIFY(d.cmdCancelar->x() > d.CmdAceptar->x());
        QTest::keyClicks(d.CmbSearch[0], QStringLiteral("pe"));
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    });
    QCOMPARE(m.MenuOpciones(QStringLiteral("Moneda"), QStringLiteral("Dólares"), QStringLiteral("Pesos")), QStringLiteral("Pesos"));
    alAbrir([](Lib_FrmCons3& d) { QTest::keyClick(d.CmbSearch[0], Qt::Key_Escape); });
    QCOMPARE(m.MenuOpciones(QStringLiteral("Moneda"), QStringList{QStringLiteral("Dólares")}), QString());

    // A file's lines; a missing file gives its message and no dialog.
    const QString ruta = e.escribir(QStringLiteral("lineas.txt"), "primera\nsegunda\n");
    alAbrir([](Lib_FrmCons3& d) {
        QTest::keyClicks(d.CmbSearch[0], QStringLiteral("s"));
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    });
    QCOMPARE(m.ConsultaDesdeArchivo(QStringLiteral("Archivo"), ruta), QStringLiteral("segunda"));
    DialogosGuionados dlg;
    dlg.responder(suite::vbOK);
    const QString falta = e.ruta(QStringLiteral("falta.txt"));
    QCOMPARE(m.ConsultaDesdeArchivo(QStringLiteral("Archivo"), falta), QString());
    QCOMPARE(dlg.ultimo().texto, QStringLiteral("No existe el archivo ") + falta + QStringLiteral(" que desea consultar consulta "));
}

QTEST_MAIN(TstLista)
#include "tst_lista.moc"
