// The editor's lookups end to end: CONSULTAR (F5 through the bar) and the right mouse
// button on the code field and the account field open the list dialog of the program's
// lookup engine; the choice comes back into the field, or is assigned through cmdAgregar.
// On the grid's cost-centre column they open the tree of cost centres.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "Modales.h"
#include "distribution/BuscadorConsultas.h"
#include "distribution/frmProrrata.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"
#include "startup/CNStuffContable.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

using Pasos = std::function<void(Lib_FrmCons3&)>;

struct Editor : EditorPrueba {
    Editor() : EditorPrueba((ReiniciarConsultas(), BuscadorConsultas())) {}
    ~Editor() { ReiniciarConsultas(); }
    // Arms `pasos` for the lookup dialog the next action opens; visto says it was shown.
    void alAbrir(const Pasos& pasos)
    {
        visto = false;
        alAbrirModal<Lib_FrmCons3>([this, pasos](Lib_FrmCons3& d) {
            visto = true;
            pasos(d);
        });
    }
    QStringList asignadas() const
    {
        QStringList l;
        for (int i = 0; i < f.mdlCuentas->rowCount(); ++i)
            l << f.mdlCuentas->cuenta(i).first;
        l.sort();
        return l;
    }
    bool visto = false;
};

// Types in a search box and moves to the list on the row found.
void buscarEnCaja(Lib_FrmCons3& d, int caja, const QString& texto)
{
    d.CmbSearch[caja]->setFocus();
    d.CmbSearch[caja]->clear();
    QTest::keyClicks(d.CmbSearch[caja], texto);
}

} // namespace

Q_DECLARE_METATYPE(Pasos)

class TstEditorConsultas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codigo_data();
    void codigo();
    void cuenta();
    void variasCuentas();
    void centroDeCosto_data();
    void centroDeCosto();
};

void TstEditorConsultas::codigo_data()
{
    QTest::addColumn<bool>("conF5");
    QTest::addColumn<Pasos>("pasos");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("F5, por código") << true << Pasos([](Lib_FrmCons3& d) {
        QCOMPARE(d.modelo()->titulos(), QStringList({"CODIGO", "NOMBRE", "CONCEPTO"}));
        buscarEnCaja(d, 0, QStringLiteral("2"));
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Return);
    }) << QStringLiteral("Comercial");
    QTest::newRow("botón derecho, F5 por nombre") << false << Pasos([](Lib_FrmCons3& d) {
        buscarEnCaja(d, 1, QStringLiteral("prod"));
        QTest::keyClick(d.CmbSearch[1], Qt::Key_F5);
        QCOMPARE(d.modelo()->rowCount(), 1);
        QTest::keyClick(d.CmbSearch[1], Qt::Key_Return);
    }) << QStringLiteral("Producción");
    QTest::newRow("cancelada") << true << Pasos([](Lib_FrmCons3& d) {
        buscarEnCaja(d, 0, QStringLiteral("3"));
        QTest::keyClick(d.CmbSearch[0], Qt::Key_Escape);
    }) << QString();
}

void TstEditorConsultas::codigo()
{
    // The chosen distribution code is opened as if typed and confirmed.
    QFETCH(bool, conF5);
    QFETCH(Pasos, pasos);
    Editor e;
    DialogosGuionados d;
    e.alAbrir(pasos);
    if (conF5)
        QTest::keyClick(e.foco(), Qt::Key_F5);
    else
        QTest::mouseClick(e.f.txtFields[0], Qt::RightButton);
    QVERIFY(e.visto);
    QTEST(e.f.txtFields[2]->text(), "nombre");
    QVERIFY(d.vistos().isEmpty()); // cancelled: nothing asked
}

void TstEditorConsultas::cuenta()
{
    // One account chosen by its description: it comes back into the account field, which is
    // confirmed (its description shown).
    Editor e;
    e.abrir(QStringLiteral("1"));
    e.f.SSTab1->setCurrentIndex(1);
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtFields[3]));
    e.alAbrir([](Lib_FrmCons3& d) {
        QCOMPARE(d.modelo()->titulos().join(u','), QStringLiteral("Codigo,Descripcion"));
        QVERIFY(!d.Sql.contains(QStringLiteral("TITULO=1")));
        buscarEnCaja(d, 1, QStringLiteral("rod"));
        QTest::keyClick(d.CmbSearch[1], Qt::Key_Return);
    });
    QTest::mouseClick(e.f.txtFields[3], Qt::RightButton);
    QVERIFY(e.visto);
    QCOMPARE(e.f.txtFields[3]->text(), QStringLiteral("1.2.01.001"));
    QCOMPARE(e.f.lblCuenta->text(), QStringLiteral("Rodados"));
}

void TstEditorConsultas::variasCuentas()
{
    // chkMultiple: the checked accounts are assigned one by one, in the list's order, each
    // through cmdAgregar with its own checks.
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    e.f.SSTab1->setCurrentIndex(1);
    e.f.chkMultiple->setChecked(true);
    e.f.txtFields[3]->setFocus();
    d.responder(suite::vbOK); // 5.2.01.002 belongs to table 2
    e.alAbrir([](Lib_FrmCons3& d) {
        for (const char* t : {"sueldos a", "rod", "caja en", "fletes"}) {
            buscarEnCaja(d, 1, QString::fromUtf8(t));
            QTest::keyClick(d.CmbSearch[1], Qt::Key_Down);
            QTest::keyClick(d.ListView1, Qt::Key_Space);
        }
        QTest::keyClick(d.ListView1, Qt::Key_Return);
    });
    QTest::keyClick(e.foco(), Qt::Key_F5);
    QVERIFY(e.visto);
    QCOMPARE(d.ultimo().texto, QStringLiteral("La cuenta seleccionada está asignada a la tabla de distribución Código:    2"));
    QCOMPARE(e.asignadas(), QStringList({"1.1.01.001", "1.2.01.001", "2.1.01.002", "5.1.01.003", "5.1.01.004", "5.1.01.005"}));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo = '2.1.01.002'")).toString(),
             QStringLiteral("   1"));
}

void TstEditorConsultas::centroDeCosto_data()
{
    QTest::addColumn<bool>("conF5");
    QTest::addColumn<QString>("previo"); // the line's centre before the lookup
    QTest::addColumn<QString>("busqueda");
    QTest::addColumn<int>("tecla");      // that closes the tree
    QTest::addColumn<QString>("centro");
    QTest::addColumn<QString>("descripcion");
    QTest::newRow("F5, por descripción") << true << QString() << QStringLiteral("ventas zona n") << int(Qt::Key_Return)
                                         << QStringLiteral("211") << QStringLiteral("Ventas zona norte");
    QTest::newRow("botón derecho, por código") << false << QStringLiteral("211") << QStringLiteral("312") << int(Qt::Key_Return)
                                               << QStringLiteral("312") << QStringLiteral("Mantenimiento");
    QTest::newRow("cancelada") << false << QStringLiteral("211") << QStringLiteral("312") << int(Qt::Key_Escape)
                               << QStringLiteral("211") << QStringLiteral("Ventas zona norte");
    QTest::newRow("la raíz") << true << QStringLiteral("211") << QString() << int(Qt::Key_Return) << QStringLiteral("211")
                             << QStringLiteral("Ventas zona norte");
}

void TstEditorConsultas::centroDeCosto()
{
    // On the cost-centre column, CONSULTAR and the right button open the tree of cost centres;
    // the chosen code goes through the cell's validation (its description shown) and the
    // edit moves on to the percentage. Closed without a code, the line keeps its centre.
    QFETCH(bool, conF5);
    QFETCH(QString, previo);
    QFETCH(QString, busqueda);
    QFETCH(int, tecla);
    Editor e;
    e.abrir(QStringLiteral("8"));
    e.f.MsFlexGrid1->setFocus();
    e.f.MsFlexGrid1->setCurrentCell(0, 1);
    if (!previo.isEmpty()) {
        e.escribir(previo);
        e.tecla(Qt::Key_Return);
        e.f.MsFlexGrid1->setCurrentCell(0, 1);
    }
    bool visto = false;
    std::function<void(int)> alAbrirArbol = [&](int intentos) {
        auto* d = qobject_cast<Lib_FrmCons3Tree*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) {
            if (intentos > 0)
                QTimer::singleShot(10, [&, intentos] { alAbrirArbol(intentos - 1); });
            return;
        }
        visto = true;
        QCOMPARE(d->Sql, QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO"));
        QCOMPARE(d->modelo()->arbol().nodo(d->modelo()->arbol().buscarCodigo(QStringLiteral("211"))).padre,
                 d->modelo()->arbol().buscarCodigo(QStringLiteral("21")));
        QTest::keyClicks(d->CmbSearch, busqueda);
        QTest::keyClick(d->CmbSearch, Qt::Key(tecla));
    };
    QTimer::singleShot(10, [&] { alAbrirArbol(500); });
    if (conF5) {
        QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.MsFlexGrid1));
        e.tecla(Qt::Key_F5);
    } else {
        const QPoint centro = e.f.MsFlexGrid1->visualRect(e.f.MsFlexGrid1->model()->index(0, 1)).center();
        QTest::mouseClick(e.f.MsFlexGrid1->viewport(), Qt::RightButton, {}, centro);
    }
    QVERIFY(visto);
    QTEST(e.f.MsFlexGrid1->item(0, 1)->text(), "centro");
    QTEST(e.f.MsFlexGrid1->item(0, 2)->text(), "descripcion");
}

QTEST_MAIN(TstEditorConsultas)
#include "tst_editor_consultas.moc"
