// The tree lookup: trees built by code prefixes and the family tree, the hash build against
// the prefix rule, incremental search, F5 filters, cascading check marks, and what "&Aceptar"
// returns after looking the code up; driven with real keys over a demo company.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "Modales.h"
#include "lookup/ArbolCodigos.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {

using Pasos = std::function<void(Lib_FrmCons3Tree&)>;

const QString Centros = QStringLiteral("SELECT CODIGO,DESCRIPCION FROM P_CENTROS ORDER BY CODIGO");

struct Empresa : GDBPrueba {
    // P_CENTROS has no key: a repeated code can reach the tree.
    explicit Empresa(const QStringList& centros = {})
    {
        ejecutar(QStringLiteral("CREATE TABLE P_CENTROS (CODIGO varchar(12) NOT NULL, DESCRIPCION varchar(60) NULL)"));
        for (const QString& c : centros)
            centro(c.section(u':', 0, 0), c.section(u':', 1));
    }
    static void centro(const QString& codigo, QString descripcion = {})
    {
        if (descripcion.isEmpty())
            descripcion = QStringLiteral("Centro ") + codigo;
        ejecutar(QStringLiteral("INSERT INTO P_CENTROS (CODIGO, DESCRIPCION) VALUES ('%1', '%2')")
                     .arg(codigo, descripcion.replace(u'\'', QStringLiteral("''"))));
    }
    static void ejecutar(QString s)
    {
        long n = 0;
        gDB.EjecutaConsultaSQL(s, n);
    }
};

// "1[101[10101]] 2[201]": each node's code with its children in brackets.
QString describir(const ArbolCodigos& a, int nodo = 0)
{
    QStringList partes;
    for (int h : a.nodo(nodo).hijos) {
        const QString hijos = describir(a, h);
        partes << a.nodo(h).codigo + (hijos.isEmpty() ? QString() : u'[' + hijos + u']');
    }
    return partes.join(u' ');
}

void alAbrir(const Pasos& pasos) { alAbrirModal<Lib_FrmCons3Tree>(pasos); }

// A tree search of the engine, the dialog driven by `pasos`.
void buscar(Lib_ClsCons3& m, const QString& sql, const Pasos& pasos)
{
    alAbrir(pasos);
    QString campo, where;
    m.ConsultaSearch(sql, nullptr, {}, campo, where, {}, true);
}

QString actual(const Lib_FrmCons3Tree& d)
{
    const int n = ModeloArbol::nodoDe(d.TreeV->currentIndex());
    return n < 0 ? QStringLiteral("<ninguno>") : d.modelo()->arbol().texto(n);
}

// Clicks the check box of a node, as the user does.
void clicEnMarca(Lib_FrmCons3Tree& d, const QString& codigo)
{
    const QModelIndex i = d.modelo()->indiceDe(d.modelo()->arbol().buscarCodigo(codigo));
    d.TreeV->scrollTo(i);
    d.TreeV->setCurrentIndex(i);
    QTest::keyClick(d.TreeV, Qt::Key_Space);
}

} // namespace

Q_DECLARE_METATYPE(Pasos)

class TstArbol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prefijos_data();
    void prefijos();
    void igualQueLaReglaDePrefijos();
    void familias();
    void repetidos();
    void unaSolaColumna();
    void incremental();
    void busqueda_data();
    void busqueda();
    void filtroF5_data();
    void filtroF5();
    void nuevaBusqueda();
    void marcasEnCascada();
    void aceptar_data();
    void aceptar();
    void aceptarVarios();
};

void TstArbol::prefijos_data()
{
    QTest::addColumn<QStringList>("centros");
    QTest::addColumn<QString>("arbol");
    QTest::newRow("centros anidados") << QStringList{"1", "101", "10101", "2", "201"} << QStringLiteral("1[101[10101]] 2[201]");
    QTest::newRow("huérfano bajo la raíz") << QStringList{"1", "101", "3", "301"} << QStringLiteral("1[101] 3[301]");
    QTest::newRow("sin el padre inmediato") << QStringList{"1", "10101", "201"} << QStringLiteral("1[10101] 201");
    QTest::newRow("sin distinguir mayúsculas") << QStringList{"A", "ab1", "B"} << QStringLiteral("A[ab1] B");
    QTest::newRow("el orden de la sentencia") << QStringList{"2", "1", "21", "12"} << QStringLiteral("1[12] 2[21]");
}

void TstArbol::prefijos()
{
    // The statement's rows, ordered by code, nest by the longest code that prefixes each one.
    QFETCH(QStringList, centros);
    Empresa e(centros);
    Lib_ClsCons3 m;
    QString arbol;
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Consulta..."));
        const ArbolCodigos& a = d.modelo()->arbol();
        QCOMPARE(a.texto(0), QStringLiteral("Consulta..."));
        QVERIFY(d.TreeV->isExpanded(d.modelo()->indiceDe(0)));
        QCOMPARE(a.texto(1), a.nodo(1).codigo + QStringLiteral(" - Centro ") + a.nodo(1).codigo);
        arbol = describir(a);
    });
    QTEST(arbol, "arbol");
}

void TstArbol::igualQueLaReglaDePrefijos()
{
    // The hash build gives the tree the prefix rule gives: each code under the longest code
    // added before it that prefixes it (letter case ignored), children in the order added.
    QRandomGenerator azar(17);
    QStringList codigos;
    const QString letras = QStringLiteral("12aB");
    for (int i = 0; i < 3000; ++i) {
        QString c;
        for (int n = 1 + int(azar.bounded(5)); n > 0; --n)
            c += letras[int(azar.bounded(letras.size()))];
        codigos << c;
    }
    codigos.sort(Qt::CaseInsensitive);

    ArbolCodigos a;
    QStringList vistos; // folded codes of the nodes, in the order added
    QList<int> padres;  // the rule's parent of each: -1 for the root
    for (const QString& c : codigos) {
        const bool nuevo = a.agregarPorPrefijo(c, QStringLiteral("x")) == ArbolCodigos::Alta::Agregado;
        const QString k = c.toCaseFolded();
        QCOMPARE(nuevo, !vistos.contains(k));
        if (!nuevo)
            continue;
        int padre = -1;
        for (int j = 0; j < vistos.size(); ++j)
            if (k.startsWith(vistos[j]) && (padre < 0 || vistos[j].size() > vistos[padre].size()))
                padre = j;
        vistos << k;
        padres << padre;
    }
    QCOMPARE(a.cantidad(), vistos.size() + 1);
    for (int i = 0; i < vistos.size(); ++i) {
        const ArbolCodigos::Nodo& n = a.nodo(i + 1);
        QCOMPARE(n.padre, padres[i] + 1);
        QCOMPARE(a.nodo(n.padre).hijos[size_t(n.fila)], i + 1);
    }
    for (int i = 0; i < a.cantidad(); ++i)
        QVERIFY(std::is_sorted(a.nodo(i).hijos.begin(), a.nodo(i).hijos.end()));
}

void TstArbol::familias()
{
    // V_TA_FAMILIAS: each family under its relative, the nearest smaller shorter code ("0150"
    // under "01"); an F5 filter rebuilds the same tree, since the builder fixes its statement.
    Empresa e;
    Empresa::ejecutar(QStringLiteral("DELETE FROM TA_FAMILIAS"));
    for (const char* f : {"01", "0101", "0150", "02", "0201"})
        Empresa::ejecutar(QStringLiteral("INSERT INTO TA_FAMILIAS (IdFamilia, Descripcion) VALUES ('%1', 'Familia %1')").arg(QLatin1String(f)));
    Lib_ClsCons3 m;
    m.CampoDevuelto = QStringLiteral("IDFAMILIA");
    buscar(m, QStringLiteral("SELECT IdFamilia, Descripcion FROM V_TA_FAMILIAS"), [&](Lib_FrmCons3Tree& d) {
        QCOMPARE(d.Sql, Lib_FrmCons3Tree::SentenciaFamilias());
        QCOMPARE(describir(d.modelo()->arbol()), QStringLiteral("01[0101 0150] 02[0201]"));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("0201"));
        QTest::keyClick(d.CmbSearch, Qt::Key_F5);
        QCOMPARE(describir(d.modelo()->arbol()), QStringLiteral("01[0101 0150] 02[0201]"));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("familia 0150"));
        QTest::keyClick(d.CmbSearch, Qt::Key_Return);
    });
    QCOMPARE(m.ValorDevuelto.toString(), QStringLiteral("0150"));
}

void TstArbol::repetidos()
{
    // A repeated code (and an empty one, the root's) is left out and named in one message;
    // the rest of the tree is built.
    Empresa e({"1", "101", "101", "2", "2", "201", ":Sin código"});
    DialogosGuionados dlg;
    dlg.responder(suite::vbOK);
    Lib_ClsCons3 m;
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        QCOMPARE(describir(d.modelo()->arbol()), QStringLiteral("1[101] 2[201]"));
        QCOMPARE(dlg.vistos().size(), 1);
        QCOMPARE(dlg.ultimo().texto.count(QStringLiteral("\"101\"")), 1);
        QCOMPARE(dlg.ultimo().texto.count(QStringLiteral("\"2\"")), 1);
        QVERIFY(dlg.ultimo().texto.contains(QStringLiteral("\"\"")));
        QVERIFY(dlg.ultimo().titulo.contains(QStringLiteral("ArmarTreeVAutomatico")));
    });
}

void TstArbol::unaSolaColumna()
{
    // A statement with one column cannot name its nodes: the error dialog, then only the root.
    Empresa e({"1"});
    DialogosGuionados dlg;
    dlg.responder(suite::vbIgnore);
    Lib_ClsCons3 m;
    buscar(m, QStringLiteral("SELECT CODIGO FROM P_CENTROS"), [&](Lib_FrmCons3Tree& d) {
        QCOMPARE(dlg.vistos().size(), 1);
        QVERIFY(dlg.ultimo().texto.contains(QStringLiteral("columnas")));
        QCOMPARE(d.modelo()->arbol().cantidad(), 1);
    });
}

void TstArbol::incremental()
{
    // Each keystroke selects the first node, in the order added, whose code or description
    // starts with the text, opening the branches above it; no match selects nothing.
    Empresa e({"1:Administración", "101:Contaduría", "10101:Sueldos", "2:Comercial", "201:Ventas zona norte", "3:Producción"});
    Lib_ClsCons3 m;
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        QCOMPARE(actual(d), QStringLiteral("Consulta..."));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("10"));
        QCOMPARE(actual(d), QStringLiteral("101 - Contaduría"));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("10"));
        QCOMPARE(actual(d), QStringLiteral("10101 - Sueldos"));
        QVERIFY(d.TreeV->isExpanded(d.modelo()->indiceDe(d.modelo()->arbol().buscarCodigo(QStringLiteral("101")))));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("9"));
        QCOMPARE(actual(d), QStringLiteral("<ninguno>"));
        QTest::keyClick(d.CmbSearch, Qt::Key_Backspace);
        QCOMPARE(actual(d), QStringLiteral("10101 - Sueldos"));
        d.CmbSearch->clear();
        QCOMPARE(actual(d), QStringLiteral("Consulta..."));
        QTest::keyClicks(d.CmbSearch, QStringLiteral("VENTAS"));
        QCOMPARE(actual(d), QStringLiteral("201 - Ventas zona norte"));
        QTest::keyClick(d.CmbSearch, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.TreeV));
        QTest::keyClick(d.TreeV, Qt::Key_Return);
    });
    QCOMPARE(m.ValorDevuelto.toString(), QString()); // 201 is no cost centre nor account
    QVERIFY(m.Valores);
}

void TstArbol::busqueda_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("encontrado"); // the node's code; "-" for none
    QTest::newRow("vacío: la raíz") << QString() << QString();
    QTest::newRow("código") << QStringLiteral("10") << QStringLiteral("101");
    QTest::newRow("descripción, sin mayúsculas") << QStringLiteral("VENTAS") << QStringLiteral("201");
    QTest::newRow("acento") << QStringLiteral("PRODUCCIÓN") << QStringLiteral("3");
    QTest::newRow("ninguno") << QStringLiteral("x") << QStringLiteral("-");
    QTest::newRow("código con guion, su parte") << QStringLiteral("a") << QStringLiteral("A-1");
    QTest::newRow("código con guion, lo que sigue") << QStringLiteral("1 - s") << QStringLiteral("A-1");
    QTest::newRow("la raíz no es texto") << QStringLiteral("consulta") << QStringLiteral("-");
}

void TstArbol::busqueda()
{
    // The text of each node splits at its first "-" into code and description.
    QFETCH(QString, texto);
    ArbolCodigos a;
    for (const char* c : {"1:Gerencia", "101:Contaduría", "2:Comercial", "201:Ventas zona norte", "3:Producción",
                          "A-1:Sucursal"}) {
        const QString f = QString::fromUtf8(c);
        a.agregarPorPrefijo(f.section(u':', 0, 0), f.section(u':', 1));
    }
    const int n = a.buscar(texto);
    QTEST(n < 0 ? QStringLiteral("-") : a.nodo(n).codigo, "encontrado");
}

void TstArbol::filtroF5_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("textos"); // one F5 each
    QTest::addColumn<QString>("esperada");
    QTest::addColumn<QString>("arbol");
    QTest::newRow("centros de costo") << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO") << QStringList{"norte"}
                                      << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO  where Descripcion like '%norte%' ORDER BY CODIGO")
                                      << QStringLiteral("211");
    QTest::newRow("acumulados") << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO") << QStringList{"ventas", "sur"}
                                << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO  where Descripcion like '%ventas%'  and Descripcion like '%sur%' ORDER BY CODIGO")
                                << QStringLiteral("212");
    QTest::newRow("con comilla") << Centros << QStringList{"o'h"}
                                 << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM P_CENTROS  where Descripcion like '%o''h%' ORDER BY CODIGO")
                                 << QStringLiteral("5");
    QTest::newRow("sin order by") << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM P_CENTROS WHERE CODIGO <> '9'") << QStringList{"pla"}
                                  << QStringLiteral("SELECT CODIGO,DESCRIPCION FROM P_CENTROS WHERE CODIGO <> '9' and Descripcion like '%pla%' ")
                                  << QStringLiteral("4");
}

void TstArbol::filtroF5()
{
    // F5 adds a condition on the description to the statement (before its ORDER BY) and
    // rebuilds the tree; the text's quotes are doubled; filters accumulate.
    QFETCH(QString, sql);
    QFETCH(QStringList, textos);
    Empresa e({"4:Planta", "5:Depósito O'Higgins", "9:Planta vieja"});
    Lib_ClsCons3 m;
    QString sentencia, arbol;
    buscar(m, sql, [&](Lib_FrmCons3Tree& d) {
        for (const QString& t : textos) {
            QTest::keyClicks(d.CmbSearch, t);
            QTest::keyClick(d.CmbSearch, Qt::Key_F5);
            QVERIFY(d.CmbSearch->text().isEmpty());
        }
        sentencia = d.Sql;
        arbol = describir(d.modelo()->arbol());
    });
    QTEST(sentencia, "esperada");
    QTEST(arbol, "arbol");
}

void TstArbol::nuevaBusqueda()
{
    // "&Nueva Busqueda" goes back to the first statement: the filters are dropped.
    Empresa e({"1", "2", "201:Ventas"});
    Lib_ClsCons3 m;
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        QTest::keyClicks(d.CmbSearch, QStringLiteral("vent"));
        QTest::keyClick(d.CmbSearch, Qt::Key_F5);
        QCOMPARE(describir(d.modelo()->arbol()), QStringLiteral("201"));
        Empresa::centro(QStringLiteral("202"), QStringLiteral("Ventas web"));
        QTest::mouseClick(d.CmdNueva, Qt::LeftButton);
        QCOMPARE(describir(d.modelo()->arbol()), QStringLiteral("1 2[201 202]"));
    });
}

void TstArbol::marcasEnCascada()
{
    // Checking a node checks its descendants down to the sixth level below it, not the
    // seventh; unchecking clears the same ones.
    Empresa e({"1", "12", "123", "1234", "12345", "123456", "1234567", "12345678", "13", "2"});
    Lib_ClsCons3 m;
    m.Checks = true;
    m.CampoDevuelto = QStringLiteral("CODIGO");
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        const ArbolCodigos& a = d.modelo()->arbol();
        auto marcados = [&] {
            QStringList l;
            for (int i = 1; i < a.cantidad(); ++i)
                if (d.modelo()->data(d.modelo()->indiceDe(i), Qt::CheckStateRole).toInt() == Qt::Checked)
                    l << a.nodo(i).codigo;
            return l.join(u' ');
        };
        QCOMPARE(marcados(), QString());
        clicEnMarca(d, QStringLiteral("1"));
        QCOMPARE(marcados(), QStringLiteral("1 12 123 1234 12345 123456 1234567 13"));
        clicEnMarca(d, QStringLiteral("12345678"));
        clicEnMarca(d, QStringLiteral("1"));
        QCOMPARE(marcados(), QStringLiteral("12345678"));
        clicEnMarca(d, QStringLiteral("12"));
        QCOMPARE(marcados(), QStringLiteral("12 123 1234 12345 123456 1234567 12345678"));
        QTest::keyClick(d.TreeV, Qt::Key_Return);
    });
    QVERIFY(m.Valores);
    QCOMPARE(*m.Valores, QStringList({"12", "123", "1234", "12345", "123456", "1234567", "12345678"}));
    QVERIFY(!m.Checks);
}

void TstArbol::aceptar_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("busqueda");
    QTest::addColumn<QString>("valor");
    QTest::newRow("centro de costo") << QStringLiteral("CODIGO") << QStringLiteral("211") << QStringLiteral("211");
    QTest::newRow("solo en el plan de cuentas") << QStringLiteral("codigo") << QStringLiteral("1.2.01.001") << QStringLiteral("1.2.01.001");
    QTest::newRow("en ninguna tabla") << QStringLiteral("CODIGO") << QStringLiteral("999") << QString();
    QTest::newRow("la raíz") << QStringLiteral("CODIGO") << QString() << QString();
    QTest::newRow("familia") << QStringLiteral("IDFAMILIA") << QStringLiteral("12") << QStringLiteral("12");
    QTest::newRow("posición") << QStringLiteral("IDPOSICION") << QStringLiteral("0101") << QStringLiteral("0101");
    QTest::newRow("posición inexistente") << QStringLiteral("IDPOSICION") << QStringLiteral("211") << QString();
    QTest::newRow("otro campo") << QStringLiteral("NOMBRE") << QStringLiteral("211") << QString();
}

void TstArbol::aceptar()
{
    // The chosen node's code is looked up by the returned field: cost centres, then accounts;
    // families; positions. Not found gives "".
    QFETCH(QString, campo);
    QFETCH(QString, busqueda);
    Empresa e({"12:Familia doce", "211:Ventas zona norte", "999:Nada", "0101:Estantería",
               "1.2.01.001:Rodados"});
    Lib_ClsCons3 m;
    m.CampoDevuelto = campo;
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        QTest::keyClicks(d.CmbSearch, busqueda);
        QTest::mouseClick(d.CmdAceptar, Qt::LeftButton);
    });
    QTEST(m.ValorDevuelto.toString(), "valor");
    QVERIFY(m.Valores && m.Valores->isEmpty());
    QVERIFY(m.CampoDevuelto.isEmpty());
}

void TstArbol::aceptarVarios()
{
    // Checked nodes, in the tree's order: codes as they are for CODIGO; for IDPOSICION only
    // those found among the positions. A cancel returns nothing.
    Empresa e({"0101:Estantería", "0102:Otra", "1:Uno"});
    Lib_ClsCons3 m;
    for (const char* campo : {"CODIGO", "IDPOSICION"}) {
        m.Checks = true;
        m.CampoDevuelto = QString::fromLatin1(campo);
        buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
            clicEnMarca(d, QStringLiteral("1"));
            clicEnMarca(d, QStringLiteral("0101"));
            clicEnMarca(d, QStringLiteral("0102"));
            const QPoint centro = d.TreeV->visualRect(d.TreeV->currentIndex()).center();
            QTest::mouseClick(d.TreeV->viewport(), Qt::LeftButton, {}, centro);
            QTest::mouseDClick(d.TreeV->viewport(), Qt::LeftButton, {}, centro);
        });
        QVERIFY(m.Valores);
        QCOMPARE(m.Valores->join(u','), QString::fromLatin1(campo) == QLatin1String("CODIGO") ? QStringLiteral("0101,0102,1")
                                                                                              : QStringLiteral("0101"));
    }
    m.Checks = true;
    buscar(m, Centros, [&](Lib_FrmCons3Tree& d) {
        clicEnMarca(d, QStringLiteral("1"));
        QTest::keyClick(d.CmbSearch, Qt::Key_Escape);
    });
    QVERIFY(!m.Valores);
    QCOMPARE(m.ValorDevuelto.toString(), QString());
}

QTEST_MAIN(TstArbol)
#include "tst_arbol.moc"
