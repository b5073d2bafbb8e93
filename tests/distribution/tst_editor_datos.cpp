// The editor stores only what the user changed: percentages with four decimals written back
// exactly, accounts assigned only to a table saved as shown, keys on the grid that take no
// typing or clear a cell, and lookups closed without a choice. Each case is driven with real
// keys and clicks, and the database is read afterwards.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "distribution/AlmacenDistribucion.h"
#include "suite/SuiteUtil.h"

#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <functional>

namespace {

struct Editor : EditorPrueba {
    QList<ConsultaPedida> pedidas; // the lookups opened; each closed without a choice
    Editor()
        : EditorPrueba([this](const ConsultaPedida& c) -> std::optional<QStringList> {
              pedidas << c;
              return std::nullopt;
          })
    {
    }
    void irA(int fila, int columna)
    {
        f.MsFlexGrid1->setFocus();
        f.MsFlexGrid1->setCurrentCell(fila, columna);
    }
    void celda(int fila, int columna, const QString& valor)
    {
        irA(fila, columna);
        escribir(valor);
        tecla(Qt::Key_Return);
    }
    QString texto(int fila, int columna) const
    {
        const auto* it = f.MsFlexGrid1->item(fila, columna);
        return it ? it->text() : QString();
    }
    QString fila(int i) const { return texto(i, 1) + u'|' + texto(i, 2) + u'|' + texto(i, 3); }
    // A table's lines as stored, centre=percentage with every decimal, in ID order.
    static QString lineas(const QString& codigo)
    {
        ado::Recordset rs = gDB.gCnn.Execute(AlmacenDistribucion::SentenciaLineas(codigo));
        QStringList l;
        for (; !rs.EOF_(); rs.MoveNext())
            l << rs.Fields(QStringLiteral("CCOSTO")).Value().toString().trimmed() + u'='
                    + suite::ValorNumerico(suite::TextoVariant(rs.Fields(QStringLiteral("PORCENTAJE")).Value())).texto(u',');
        return l.join(u' ');
    }
    static QString nombre(const QString& codigo)
    {
        return EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT NOMBRE FROM MA_CUENTAS_CCDIST WHERE CODIGO='")
                                                  + suite::FormatoCodigo(codigo, 4) + QStringLiteral("'"))
            .toString();
    }
    // Table 9 in thirds, as another program stores them, flagged to complete 100 %.
    static void tercios()
    {
        for (const char* l : {"'311',33.3333", "'312',33.3333", "'32',33.3334"})
            gDB.gCnn.Execute(QStringLiteral("INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) "
                                            "VALUES('   9','Tercios','Partes iguales',")
                             + QString::fromLatin1(l) + QStringLiteral(",1)"));
    }
};

const QString Tercios = QStringLiteral("311=33,3333 312=33,3333 32=33,3334");

using Pasos = std::function<void(Editor&, DialogosGuionados&)>;

} // namespace

Q_DECLARE_METATYPE(Pasos)

class TstEditorDatos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cuatroDecimales_data();
    void cuatroDecimales();
    void cuentasConCambiosSinGrabar_data();
    void cuentasConCambiosSinGrabar();
    void teclasDeGrilla_data();
    void teclasDeGrilla();
    void consultaSinEleccion_data();
    void consultaSinEleccion();
};

void TstEditorDatos::cuatroDecimales_data()
{
    // What is done to table 9 before F2, the answer asked for (0: none), the lines then stored.
    QTest::addColumn<Pasos>("pasos");
    QTest::addColumn<QString>("guardadas");
    QTest::newRow("solo el nombre") << Pasos([](Editor& e, DialogosGuionados&) {
        e.f.txtFields[2]->setFocus();
        e.f.txtFields[2]->selectAll();
        e.escribir(QStringLiteral("Tercios exactos"));
        e.tecla(Qt::Key_Return);
    }) << Tercios;
    QTest::newRow("celda abierta y confirmada sin cambios") << Pasos([](Editor& e, DialogosGuionados&) {
        e.irA(1, 3);
        e.tecla(Qt::Key_Return); // opens the edit with the cell's text
        QCOMPARE(e.f.txtEdit->text(), QStringLiteral("33,3333"));
        e.tecla(Qt::Key_Return);
        QCOMPARE(e.texto(1, 3), QStringLiteral("33,3333"));
    }) << Tercios;
    QTest::newRow("un valor tecleado se redondea y el 100 % se exige") << Pasos([](Editor& e, DialogosGuionados& d) {
        e.celda(2, 3, QStringLiteral("33,3341"));
        QCOMPARE(e.texto(2, 3), QStringLiteral("33,33"));
        QCOMPARE(e.f.lblPorc->text(), QStringLiteral("99,9966 %"));
        d.responder(suite::vbOK); // must complete 100 %
    }) << Tercios;
}

void TstEditorDatos::cuatroDecimales()
{
    QFETCH(Pasos, pasos);
    Editor e;
    DialogosGuionados d;
    Editor::tercios();
    e.abrir(QStringLiteral("9"));
    QCOMPARE(e.fila(0), QStringLiteral("311|Línea de envasado|33,3333"));
    QCOMPARE(e.texto(2, 3), QStringLiteral("33,3334"));
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("100,00 %"));
    QVERIFY(!e.f.HayCambios());
    pasos(e, d);
    e.tecla(Qt::Key_F2);
    QCOMPARE(d.pendientes(), 0);
    QTEST(Editor::lineas(QStringLiteral("9")), "guardadas");
}

void TstEditorDatos::cuentasConCambiosSinGrabar_data()
{
    // The name of table 1 edited, then the accounts tab: the answer to "save now?", the page
    // shown then, and the name stored.
    QTest::addColumn<int>("respuesta");
    QTest::addColumn<int>("pagina");
    QTest::addColumn<QString>("guardado");
    QTest::newRow("grabar") << int(suite::vbYes) << 1 << QStringLiteral("Estructura 2027");
    QTest::newRow("no grabar") << int(suite::vbNo) << 0 << QStringLiteral("Gastos de estructura");
}

void TstEditorDatos::cuentasConCambiosSinGrabar()
{
    QFETCH(int, respuesta);
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    e.f.SSTab1->setCurrentIndex(1); // unchanged: no question
    QCOMPARE(e.f.SSTab1->currentIndex(), 1);
    e.f.SSTab1->setCurrentIndex(0);
    e.f.txtFields[2]->setFocus();
    e.f.txtFields[2]->selectAll();
    e.escribir(QStringLiteral("Estructura 2027"));
    d.responder(respuesta);
    e.f.SSTab1->setCurrentIndex(1);
    QCOMPARE(d.vistos().size(), 1);
    QVERIFY2(d.ultimo().texto.contains(QStringLiteral("cambios sin grabar")), qPrintable(d.ultimo().texto));
    QTEST(e.f.SSTab1->currentIndex(), "pagina");
    QTEST(Editor::nombre(QStringLiteral("1")), "guardado");
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Estructura 2027")); // the edit is never dropped
    QCOMPARE(Editor::lineas(QStringLiteral("1")), QStringLiteral("11=30 12=20 13=10 21=25 31=15"));
}

void TstEditorDatos::teclasDeGrilla_data()
{
    // Keys on table 3 (311 33,33 / 312 33,33 / 32 33,34): the lines 1 and 4 afterwards, and
    // whether an edit box is left open.
    QTest::addColumn<Pasos>("pasos");
    QTest::addColumn<QString>("linea1");
    QTest::addColumn<QString>("linea4");
    QTest::addColumn<bool>("editando");
    QTest::newRow("Supr en el centro vacía la línea") << Pasos([](Editor& e, DialogosGuionados&) {
        e.irA(0, 1);
        e.tecla(Qt::Key_Delete);
        QCOMPARE(e.f.lblPorc->text(), QStringLiteral("66,67 %"));
    }) << "||" << "||" << false;
    QTest::newRow("Supr en el porcentaje lo vacía") << Pasos([](Editor& e, DialogosGuionados&) {
        e.irA(0, 3);
        e.tecla(Qt::Key_Delete);
        QCOMPARE(e.f.lblPorc->text(), QStringLiteral("66,67 %"));
    }) << "311|Línea de envasado|" << "||" << false;
    QTest::newRow("teclas en Importe no van a otra celda") << Pasos([](Editor& e, DialogosGuionados&) {
        e.tecla(Qt::Key_F9);
        e.escribir(QStringLiteral("100"));
        e.tecla(Qt::Key_Return);
        e.irA(0, frmProrrata::ColImporte);
        e.escribir(QStringLiteral("55"));
        QCOMPARE(e.f.MsFlexGrid1->currentColumn(), int(frmProrrata::ColImporte));
        QCOMPARE(e.texto(0, frmProrrata::ColImporte), QStringLiteral("33,33"));
    }) << "311|Línea de envasado|33,33" << "||" << false;
    QTest::newRow("lo tecleado en la descripción va entero al centro") << Pasos([](Editor& e, DialogosGuionados&) {
        e.irA(3, 2);
        e.escribir(QStringLiteral("211"));
        QCOMPARE(e.f.txtEdit->text(), QStringLiteral("211"));
        e.tecla(Qt::Key_Return);
    }) << "311|Línea de envasado|33,33" << "211|Ventas zona norte|" << false;
    QTest::newRow("botón derecho tras un porcentaje vacío de una línea vacía") << Pasos([](Editor& e, DialogosGuionados&) {
        e.irA(3, 3);
        e.tecla(Qt::Key_Return); // opens the empty percentage
        QVERIFY(!e.f.txtEdit->isHidden());
        const QPoint centro = e.f.MsFlexGrid1->visualRect(e.f.MsFlexGrid1->model()->index(3, 1)).center();
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(e.f.MsFlexGrid1->viewport(), Qt::RightButton, {}, centro);
        QCOMPARE(e.pedidas.size(), 3); // the tree each time, on the clicked centre
        QVERIFY(e.pedidas.back().arbol);
        QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 1);
    }) << "311|Línea de envasado|33,33" << "||" << false;
}

void TstEditorDatos::teclasDeGrilla()
{
    QFETCH(Pasos, pasos);
    QFETCH(bool, editando);
    Editor e;
    DialogosGuionados d; // any message fails the case
    e.abrir(QStringLiteral("3"));
    pasos(e, d);
    QTEST(e.fila(0), "linea1");
    QTEST(e.fila(3), "linea4");
    QCOMPARE(!e.f.txtEdit->isHidden(), editando);
    QCOMPARE(Editor::lineas(QStringLiteral("3")), QStringLiteral("311=33,33 312=33,33 32=33,34"));
}

void TstEditorDatos::consultaSinEleccion_data()
{
    // A lookup closed without a choice, on an empty field: nothing asked, nothing changed.
    QTest::addColumn<int>("campo");
    QTest::addColumn<int>("pagina");
    QTest::newRow("código") << 0 << 0;
    QTest::newRow("cuenta") << 3 << 1;
}

void TstEditorDatos::consultaSinEleccion()
{
    QFETCH(int, campo);
    QFETCH(int, pagina);
    Editor e;
    DialogosGuionados d;
    if (pagina == 1) {
        e.abrir(QStringLiteral("1"));
        e.f.SSTab1->setCurrentIndex(1);
    }
    QLineEdit* c = e.f.txtFields[campo];
    c->setFocus();
    QTest::keyClick(c, Qt::Key_F5);
    QTest::mouseClick(c, Qt::RightButton);
    QCOMPARE(e.pedidas.size(), 2);
    QCOMPARE(d.vistos().size(), 0);
    QCOMPARE(e.foco(), static_cast<QWidget*>(c));
    QCOMPARE(c->text(), QString());
}

QTEST_MAIN(TstEditorDatos)
#include "tst_editor_datos.moc"
