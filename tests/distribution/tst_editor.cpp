// The editor driven as a user drives it: real key presses and clicks on the offscreen
// platform, against a demo company.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "distribution/frmProrrata.h"
#include "startup/CNStuffContable.h"
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

struct Editor : EditorPrueba {
    // Types a value into a grid cell through the edit box and confirms it.
    void celda(int fila, int columna, const QString& valor)
    {
        f.MsFlexGrid1->setFocus();
        f.MsFlexGrid1->setCurrentCell(fila, columna);
        escribir(valor);
        QCOMPARE(foco(), static_cast<QWidget*>(f.txtEdit));
        tecla(Qt::Key_Return);
    }
    QString texto(int fila, int columna) const
    {
        const auto* it = f.MsFlexGrid1->item(fila, columna);
        return it ? it->text() : QString();
    }
    QString lineas(const QString& codigo)
    {
        ado::Recordset rs = gDB.gCnn.Execute(AlmacenDistribucion::SentenciaLineas(codigo));
        QStringList l;
        for (; !rs.EOF_(); rs.MoveNext())
            l << rs.Fields(QStringLiteral("CCOSTO")).Value().toString() + u'=' + rs.Fields(QStringLiteral("PORCENTAJE")).Value().toString();
        return l.join(u' ');
    }
    bool editando() const { return f.UtilVela1->ItemEnabled(QStringLiteral("GRABAR")); }
    // Opens a cell for typing without confirming it.
    void escribirEnCelda(int fila, int columna, const QString& valor)
    {
        f.MsFlexGrid1->setFocus();
        f.MsFlexGrid1->setCurrentCell(fila, columna);
        escribir(valor);
    }
    void clicEnCelda(int fila, int columna)
    {
        const QPoint centro = f.MsFlexGrid1->visualRect(f.MsFlexGrid1->model()->index(fila, columna)).center();
        QTest::mouseClick(f.MsFlexGrid1->viewport(), Qt::LeftButton, {}, centro);
        QCoreApplication::processEvents();
    }
    // Adds text at the end of the name (End, then the keys).
    void nombre(const QString& texto)
    {
        f.txtFields[2]->setFocus();
        tecla(Qt::Key_End);
        escribir(texto);
    }
};

using Pasos = std::function<void(Editor&)>;

// The demo company's three tables as they are stored.
const char* const Tabla1 = "11=30 12=20 13=10 21=25 31=15";
const char* const Tabla2 = "211=60 212=40";
const char* const Tabla3 = "311=33,33 312=33,33 32=33,34";

} // namespace

Q_DECLARE_METATYPE(Pasos)

class TstEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pedidoTipico();
    void tablaNueva();
    void borrar();
    void cancelar();
    void masDeCien();
    void casillaDeConfirmacion();
    void cuentasAsignadas();
    void paginaDeCuentasSinGrabar();
    void escapeYAbajo();
    void tablaLarga();
    void soloLoQueQuiso_data();
    void soloLoQueQuiso();
    void cambiosSinGrabar();
    void teclado();
};

void TstEditor::pedidoTipico()
{
    // Type a code, Enter, edit percentages, F2: the database holds the new lines.
    Editor e;
    DialogosGuionados d;
    QVERIFY(!e.editando());
    QVERIFY(!e.f.txtFields[2]->isEnabled());
    e.abrir(QStringLiteral("1"));
    QVERIFY(e.editando());
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Gastos de estructura"));
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtFields[2])); // on to the name
    QCOMPARE(e.texto(0, 2), QStringLiteral("Contabilidad"));
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("100,00 %"));
    QCOMPARE(e.f.mdlCuentas->rowCount(), 3);

    e.celda(1, 3, QStringLiteral("15"));
    QCOMPARE(e.texto(1, 3), QStringLiteral("15,00"));
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("95,00 %"));
    QCOMPARE(e.f.MsFlexGrid1->currentRow(), 2); // Enter on a percentage goes to the next line
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 1);
    e.celda(0, 3, QStringLiteral("35"));
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("100,00 %"));
    e.tecla(Qt::Key_F2);
    QVERIFY(d.vistos().isEmpty());
    QCOMPARE(e.lineas(QStringLiteral("1")), QStringLiteral("11=35 12=15 13=10 21=25 31=15"));
    QVERIFY(!e.editando()); // reset to browsing
    QCOMPARE(e.f.txtFields[2]->text(), QString());
}

void TstEditor::tablaNueva()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("8"));
    QVERIFY(e.editando());
    QCOMPARE(e.f.txtFields[2]->text(), QString());
    QCOMPARE(e.f.mdlCuentas->rowCount(), 0);
    e.escribir(QStringLiteral("Nueva"));
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtFields[1]));
    // Saving with no line: the message, nothing written, still editing.
    d.responder(suite::vbOK);
    e.tecla(Qt::Key_F2);
    QCOMPARE(d.ultimo().texto, AlmacenDistribucion::MensajeSinLineas);
    QVERIFY(e.editando());
    // A cost centre that does not exist, then one that does.
    d.responder(suite::vbOK);
    e.f.MsFlexGrid1->setFocus();
    e.f.MsFlexGrid1->setCurrentCell(0, 1);
    e.escribir(QStringLiteral("999"));
    e.tecla(Qt::Key_Return);
    QCOMPARE(d.ultimo().texto, QStringLiteral("El código ingresado es inexistente!!!"));
    QCOMPARE(e.texto(0, 2), QString());
    e.f.txtEdit->setText(QStringLiteral("211"));
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.texto(0, 2), QStringLiteral("Ventas zona norte"));
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 3); // on to the percentage
    e.escribir(QStringLiteral("100"));
    e.tecla(Qt::Key_Return);
    e.tecla(Qt::Key_F2);
    QCOMPARE(e.lineas(QStringLiteral("8")), QStringLiteral("211=100"));
}

void TstEditor::borrar()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    d.responder(suite::vbNo);
    e.tecla(Qt::Key_F10);
    QCOMPARE(e.lineas(QStringLiteral("1")).count(u'='), 5); // declined: nothing deleted
    QVERIFY(!e.editando()); // and, with no earlier error, the form is reset
    e.abrir(QStringLiteral("1"));
    d.responder(suite::vbYes);
    e.tecla(Qt::Key_F10);
    QCOMPARE(e.lineas(QStringLiteral("1")), QString());
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CC_DIST = '   1'")).toInt(), 0);
    QVERIFY(!e.editando());
}

void TstEditor::cancelar()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("2"));
    d.responder(suite::vbNo);
    e.tecla(Qt::Key_Escape);
    QCOMPARE(d.ultimo().texto, QStringLiteral("¿Está seguro de abandonar la carga de datos?"));
    QCOMPARE(d.ultimo().estilo, 4 + 48 + 256);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Atención!!!"));
    QVERIFY(e.editando());
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Comercial"));
    d.responder(suite::vbYes);
    e.tecla(Qt::Key_Escape);
    QVERIFY(!e.editando());
    QCOMPARE(e.f.txtFields[2]->text(), QString());
}

void TstEditor::masDeCien()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("8"));
    e.celda(0, 1, QStringLiteral("11"));
    e.escribir(QStringLiteral("60"));
    e.tecla(Qt::Key_Return);
    e.celda(1, 1, QStringLiteral("12"));
    d.responder(suite::vbOK);
    e.escribir(QStringLiteral("50"));
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("110,00 %"));
    QCOMPARE(d.ultimo().texto, QStringLiteral("La suma de los porcentajes ingresados no puede superar el 100%"));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al Usuario"));
    QCOMPARE(d.ultimo().estilo, 64);
}

void TstEditor::casillaDeConfirmacion()
{
    for (const bool marcada : {true, false}) {
        Editor e;
        DialogosGuionados d;
        e.abrir(QStringLiteral("8"));
        e.f.ChkPideConf->setChecked(marcada);
        e.celda(0, 1, QStringLiteral("11"));
        e.escribir(QStringLiteral("60"));
        e.tecla(Qt::Key_Return);
        e.celda(1, 1, QStringLiteral("12"));
        e.escribir(QStringLiteral("30"));
        e.tecla(Qt::Key_Return); // 90 % is accepted while editing
        QVERIFY(d.vistos().isEmpty());
        if (marcada)
            d.responder(suite::vbOK);
        e.tecla(Qt::Key_F2);
        if (marcada) {
            QVERIFY(d.ultimo().texto.startsWith(QStringLiteral("La configuración de no pedir confirmación")));
            QCOMPARE(e.lineas(QStringLiteral("8")), QString());
            QVERIFY(e.editando());
        } else {
            QCOMPARE(e.lineas(QStringLiteral("8")), QStringLiteral("11=60 12=30"));
        }
    }
}

void TstEditor::cuentasAsignadas()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    e.f.SSTab1->setCurrentIndex(1);
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtFields[3]));
    QVERIFY(!e.f.UtilVela1->ItemEnabled(QStringLiteral("GRABAR")));
    struct Caso {
        const char* cuenta;
        const char* mensaje;
    };
    const Caso casos[] = {
        {"5.2.01.001", "La cuenta seleccionada está asignada a la tabla de distribución Código:    2"},
        {"5.1.01.003", "La cuenta seleccionada está asignada a la tabla de distribución Código:    1"},
        {"9.9.9", "La Cuenta Ingresada es inexistente!!!"},
    };
    for (const Caso& c : casos) {
        d.responder(suite::vbOK);
        e.f.txtFields[3]->setText(QString::fromUtf8(c.cuenta));
        QTest::mouseClick(e.f.cmdAgregar, Qt::LeftButton);
        QCOMPARE(d.ultimo().texto, QString::fromUtf8(c.mensaje));
        QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al Operador"));
    }
    QCOMPARE(e.f.mdlCuentas->rowCount(), 3);
    // A free account typed by its optional code is assigned by its code.
    e.f.txtFields[3]->setText(QStringLiteral("5101006"));
    QTest::mouseClick(e.f.cmdAgregar, Qt::LeftButton);
    QCOMPARE(e.f.mdlCuentas->rowCount(), 4);
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo = '5.1.01.006'")).toString(),
             QStringLiteral("   1"));
    // Unassigning asks first.
    e.f.ListView1->setCurrentIndex(e.f.mdlCuentas->index(0, 0));
    d.responder(suite::vbYes);
    QTest::mouseClick(e.f.cmdQuitar, Qt::LeftButton);
    QCOMPARE(d.ultimo().texto, QStringLiteral("Está seguro de quitar la cuenta (5.1.01.003) de la tabla de distribución de "
                                              "Centros de Costos código:    1 ? "));
    QCOMPARE(e.f.mdlCuentas->rowCount(), 3);
    // Sorting by a column toggles its direction.
    auto clicEnCabecera = [&] { QTest::mouseClick(e.f.ListView1->header()->viewport(), Qt::LeftButton, {}, QPoint(10, 5)); };
    clicEnCabecera();
    const QString primero = e.f.mdlCuentas->cuenta(0).first;
    // The account chosen stays chosen wherever the sort puts it, and Quitar asks for it.
    e.f.ListView1->setCurrentIndex(e.f.mdlCuentas->index(0, 0));
    clicEnCabecera();
    QVERIFY(e.f.mdlCuentas->cuenta(0).first != primero);
    QCOMPARE(e.f.mdlCuentas->cuenta(e.f.ListView1->currentIndex().row()).first, primero);
    d.responder(suite::vbNo);
    QTest::mouseClick(e.f.cmdQuitar, Qt::LeftButton);
    QVERIFY(d.ultimo().texto.contains(u'(' + primero + u')'));
}

void TstEditor::paginaDeCuentasSinGrabar()
{
    // An unsaved table is saved, with the same checks as the save command, when page 1 is
    // asked for.
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("8"));
    e.f.ChkPideConf->setChecked(true);
    e.celda(0, 1, QStringLiteral("11"));
    e.escribir(QStringLiteral("40"));
    e.tecla(Qt::Key_Return);
    d.responder(suite::vbNo);
    e.f.SSTab1->setCurrentIndex(1);
    QCOMPARE(e.f.SSTab1->currentIndex(), 0); // No: back to the lines, Grabar still usable
    QVERIFY(e.f.UtilVela1->ItemEnabled(QStringLiteral("GRABAR")));
    // Yes, but the table must total 100 %: refused, nothing saved.
    d.responder(suite::vbYes).responder(suite::vbOK);
    e.f.SSTab1->setCurrentIndex(1);
    QVERIFY(d.ultimo().texto.startsWith(QStringLiteral("La configuración de no pedir confirmación")));
    QCOMPARE(e.lineas(QStringLiteral("8")), QString());
    QCOMPARE(e.f.SSTab1->currentIndex(), 0);
    e.f.ChkPideConf->setChecked(false);
    d.responder(suite::vbYes);
    e.f.SSTab1->setCurrentIndex(1);
    QVERIFY(d.ultimo().texto.startsWith(QStringLiteral("No se puede realizar la asignación de Cuentas")));
    QCOMPARE(e.lineas(QStringLiteral("8")), QStringLiteral("11=40"));
    QCOMPARE(e.f.SSTab1->currentIndex(), 1);
    QVERIFY(!e.f.HayCambios()); // saved: nothing left to lose
}

void TstEditor::escapeYAbajo()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    // Escape in the edit box leaves the cell as it was (and does not cancel the table).
    e.f.MsFlexGrid1->setFocus();
    e.f.MsFlexGrid1->setCurrentCell(0, 3);
    e.escribir(QStringLiteral("9"));
    QCOMPARE(e.f.txtEdit->text(), QStringLiteral("9"));
    e.tecla(Qt::Key_Escape);
    QVERIFY(!e.f.txtEdit->isVisible());
    QCOMPARE(e.texto(0, 3), QStringLiteral("30,00"));
    QVERIFY(e.editando());
    // Double click opens the cell's own text; Down lands on the next line's cost centre.
    const QPoint centro = e.f.MsFlexGrid1->visualRect(e.f.MsFlexGrid1->model()->index(2, 3)).center();
    QTest::mouseClick(e.f.MsFlexGrid1->viewport(), Qt::LeftButton, {}, centro);
    QTest::mouseDClick(e.f.MsFlexGrid1->viewport(), Qt::LeftButton, {}, centro);
    QVERIFY(e.f.txtEdit->isVisible());
    QCOMPARE(e.f.txtEdit->text(), QStringLiteral("10,00"));
    e.tecla(Qt::Key_Down);
    QCOMPARE(e.f.MsFlexGrid1->currentRow(), 3);
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 1);
    // The line-number column (where Tab wraps to) hands over to the cost centre: every key
    // typed there lands in it, none is lost.
    e.f.MsFlexGrid1->setCurrentCell(5, 0);
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 1);
    e.escribir(QStringLiteral("12"));
    QCOMPARE(e.f.txtEdit->text(), QStringLiteral("12"));
    e.tecla(Qt::Key_Escape);
    QCOMPARE(e.texto(5, 1), QString());
    // Tab from the centre steps over the description as Enter does: what is typed next is the
    // percentage, not a key lost on the description and the rest taken for a new centre.
    e.escribirEnCelda(5, 1, QStringLiteral("32"));
    e.tecla(Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(e.texto(5, 1), QStringLiteral("32"));
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 3);
    e.escribir(QStringLiteral("40"));
    QCOMPARE(e.f.txtEdit->text(), QStringLiteral("40"));
    e.tecla(Qt::Key_Escape);
    e.tecla(Qt::Key_Backtab);
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 1);
    // Typing on a non-editable column of the last line adds a line.
    e.f.MsFlexGrid1->setCurrentCell(frmProrrata::LineasGrilla - 1, 2);
    e.escribir(QStringLiteral("x"));
    QCOMPARE(e.f.MsFlexGrid1->rowCount(), frmProrrata::LineasGrilla + 1);
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 1);
    QVERIFY(d.vistos().isEmpty());
}

void TstEditor::tablaLarga()
{
    // A table of more than 50 lines loads whole: the grid grows.
    Editor e;
    DialogosGuionados d;
    AlmacenDistribucion a;
    std::vector<std::pair<QString, QString>> lineas;
    for (int i = 0; i < 60; ++i)
        lineas.emplace_back(i % 2 ? QStringLiteral("11") : QStringLiteral("12"), QStringLiteral("1"));
    QVERIFY(a.Grabar(QStringLiteral("9"), QStringLiteral("Larga"), QString(), false, lineas));
    e.abrir(QStringLiteral("9"));
    QCOMPARE(e.f.MsFlexGrid1->rowCount(), 60);
    QCOMPARE(e.texto(59, 1), QStringLiteral("11"));
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("60,00 %"));
    QVERIFY(d.vistos().isEmpty());
}

void TstEditor::soloLoQueQuiso_data()
{
    // Each row: what the user does, the answers to the dialogs that come up, the first words
    // of the last message, and what tables 2, 3 and 8 hold afterwards.
    QTest::addColumn<Pasos>("pasos");
    QTest::addColumn<QList<int>>("respuestas");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("tabla2");
    QTest::addColumn<QString>("tabla3");
    QTest::addColumn<QString>("tabla8");
    const QString t2 = QString::fromLatin1(Tabla2), t3 = QString::fromLatin1(Tabla3);
    const int ok = suite::vbOK, si = suite::vbYes, no = suite::vbNo;

    const Pasos tabla3ComoTabla2 = [](Editor& e) {
        e.abrir(QStringLiteral("3"));
        e.escribirCodigo(QStringLiteral("2"));
        e.tecla(Qt::Key_F2);
    };
    QTest::newRow("otro codigo y F2 sin salir, no se reemplaza")
        << tabla3ComoTabla2 << QList<int>{no} << QStringLiteral("Ya existe otra tabla") << t2 << t3 << QString();
    QTest::newRow("otro codigo y F2 sin salir, reemplazo confirmado")
        << tabla3ComoTabla2 << QList<int>{si} << QStringLiteral("Ya existe otra tabla") << t3 << t3 << QString();
    QTest::newRow("otro codigo tras Tab con cambios")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.celda(0, 3, QStringLiteral("30"));
               e.escribirCodigo(QStringLiteral("2"));
               e.tecla(Qt::Key_Tab);
               QCoreApplication::processEvents();
               QCOMPARE(e.f.txtFields[0]->text(), QStringLiteral("3")); // kept: the edits stay
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{no} << QStringLiteral("¿Está seguro de abandonar la carga de datos?") << t2
        << QStringLiteral("311=30 312=33,33 32=33,34") << QString();
    QTest::newRow("otro codigo tras Tab sin cambios lo abre")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.escribirCodigo(QStringLiteral("2"));
               e.tecla(Qt::Key_Tab);
               QCoreApplication::processEvents();
               QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Comercial"));
               QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtFields[2]));
           })
        << QList<int>{} << QString() << t2 << t3 << QString();
    QTest::newRow("tabla nueva creada en otro puesto")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("8"));
               e.celda(0, 1, QStringLiteral("11"));
               e.escribir(QStringLiteral("100"));
               e.tecla(Qt::Key_Return);
               AlmacenDistribucion().Grabar(QStringLiteral("8"), QStringLiteral("Otro puesto"), QString(), false,
                                            {{QStringLiteral("12"), QStringLiteral("100")}});
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{no} << QStringLiteral("Ya existe otra tabla") << t2 << t3 << QStringLiteral("12=100");
    QTest::newRow("tabla cambiada en otro puesto")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.celda(0, 3, QStringLiteral("30"));
               AlmacenDistribucion().Grabar(QStringLiteral("3"), QStringLiteral("Otro puesto"), QString(), false,
                                            {{QStringLiteral("32"), QStringLiteral("100")}});
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{no} << QStringLiteral("La tabla fue modificada en otro puesto") << t2
        << QStringLiteral("32=100") << QString();
    QTest::newRow("porcentaje sin centro de costo")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("8"));
               e.f.ChkPideConf->setChecked(true);
               e.celda(0, 1, QStringLiteral("11"));
               e.escribir(QStringLiteral("60"));
               e.tecla(Qt::Key_Return);
               e.escribirEnCelda(2, 3, QStringLiteral("40"));
               e.tecla(Qt::Key_Return);
               QCOMPARE(e.f.lblPorc->text(), QStringLiteral("60,00 %"));
               e.tecla(Qt::Key_Escape);
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{ok, ok} << QStringLiteral("La configuración de no pedir confirmación") << t2 << t3 << QString();
    QTest::newRow("centro inexistente y clic en otra celda")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.escribirEnCelda(0, 1, QStringLiteral("99"));
               e.clicEnCelda(1, 3);
               QCOMPARE(e.f.MsFlexGrid1->currentRow(), 0); // back on the cell, its text kept
               QCOMPARE(e.f.txtEdit->text(), QStringLiteral("99"));
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{ok, ok} << QStringLiteral("El código ingresado es inexistente!!!") << t2 << t3 << QString();
    QTest::newRow("centro inexistente y Tab")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.escribirEnCelda(2, 1, QStringLiteral("99"));
               e.tecla(Qt::Key_Tab);
               QCoreApplication::processEvents();
               QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtEdit));
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{ok, ok} << QStringLiteral("El código ingresado es inexistente!!!") << t2 << t3 << QString();
    QTest::newRow("centro inexistente y pestania Asignacion")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.escribirEnCelda(0, 1, QStringLiteral("99"));
               e.f.SSTab1->setCurrentIndex(1);
               QCoreApplication::processEvents();
               QCOMPARE(e.f.SSTab1->currentIndex(), 0); // back to the cell, its text kept
               QCOMPARE(e.f.txtEdit->text(), QStringLiteral("99"));
           })
        << QList<int>{ok} << QStringLiteral("El código ingresado es inexistente!!!") << t2 << t3 << QString();
    QTest::newRow("centro repetido")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.escribirEnCelda(1, 1, QStringLiteral("311"));
               e.tecla(Qt::Key_Return);
               e.tecla(Qt::Key_Escape);
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{ok} << QStringLiteral("El centro de costo 311 ya figura en la línea 1") << t2 << t3 << QString();
    QTest::newRow("porcentaje escrito y F2 sin Enter")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.celda(0, 3, QStringLiteral("30"));
               e.escribirEnCelda(1, 3, QStringLiteral("36,66"));
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{} << QString() << t2 << QStringLiteral("311=30 312=36,66 32=33,34") << QString();
    QTest::newRow("porcentaje negativo y F2 sin Enter")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("3"));
               e.escribirEnCelda(1, 3, QStringLiteral("-5"));
               e.tecla(Qt::Key_F2);
           })
        << QList<int>{ok} << QStringLiteral("El porcentaje no puede ser negativo") << t2 << t3 << QString();
    QTest::newRow("pestania Asignacion con 110 %")
        << Pasos([](Editor& e) {
               e.abrir(QStringLiteral("8"));
               e.celda(0, 1, QStringLiteral("11"));
               e.escribir(QStringLiteral("60"));
               e.tecla(Qt::Key_Return);
               e.celda(1, 1, QStringLiteral("12"));
               e.escribir(QStringLiteral("50"));
               e.tecla(Qt::Key_Return);
               e.f.SSTab1->setCurrentIndex(1);
               QCOMPARE(e.f.SSTab1->currentIndex(), 0);
           })
        << QList<int>{ok, si, ok} << QStringLiteral("La suma de los porcentajes ingresados no puede superar") << t2 << t3
        << QString();
}

void TstEditor::soloLoQueQuiso()
{
    QFETCH(Pasos, pasos);
    QFETCH(QList<int>, respuestas);
    QFETCH(QString, mensaje);
    Editor e;
    DialogosGuionados d;
    for (int r : respuestas)
        d.responder(r);
    pasos(e);
    QCoreApplication::processEvents();
    QCOMPARE(d.pendientes(), 0);
    if (!mensaje.isEmpty())
        QVERIFY2(d.ultimo().texto.startsWith(mensaje), qPrintable(d.ultimo().texto));
    QFETCH(QString, tabla2);
    QFETCH(QString, tabla3);
    QFETCH(QString, tabla8);
    QCOMPARE(e.lineas(QStringLiteral("2")), tabla2);
    QCOMPARE(e.lineas(QStringLiteral("3")), tabla3);
    QCOMPARE(e.lineas(QStringLiteral("8")), tabla8);
}

void TstEditor::cambiosSinGrabar()
{
    Editor e;
    DialogosGuionados d;
    // Declining the delete keeps the edits.
    e.abrir(QStringLiteral("1"));
    e.nombre(QStringLiteral(" bis"));
    d.responder(suite::vbNo);
    e.tecla(Qt::Key_F10);
    QVERIFY(e.editando());
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Gastos de estructura bis"));
    // Enter on another code asks first; No keeps the table and its code.
    d.responder(suite::vbNo);
    e.abrir(QStringLiteral("2"));
    QCOMPARE(d.ultimo().texto, QStringLiteral("¿Está seguro de abandonar la carga de datos?"));
    QCOMPARE(e.f.txtFields[0]->text(), QStringLiteral("1"));
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Gastos de estructura bis"));
    // Enter on the same code goes on without reloading over the edits.
    e.abrir(QStringLiteral("1"));
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Gastos de estructura bis"));
    // The close box asks too.
    d.responder(suite::vbNo);
    QVERIFY(!e.f.close());
    QVERIFY(e.f.isVisible());
    // Yes on another code loads it.
    d.responder(suite::vbYes);
    e.abrir(QStringLiteral("2"));
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Comercial"));
    QCOMPARE(d.pendientes(), 0);
    QCOMPARE(e.lineas(QStringLiteral("1")), QString::fromLatin1(Tabla1));
    // Clearing a line's cost centre takes its percentage out of the total at once.
    e.abrir(QStringLiteral("3"));
    e.f.MsFlexGrid1->setFocus();
    e.f.MsFlexGrid1->setCurrentCell(0, 1);
    e.tecla(Qt::Key_Backspace); // opens the cell with its text
    QCOMPARE(e.f.txtEdit->text(), QStringLiteral("311"));
    for (int i = 0; i < 3; ++i)
        e.tecla(Qt::Key_Backspace);
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.texto(0, 3), QString());
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("66,67 %"));
}

void TstEditor::teclado()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("1"));
    // Escape in a cell leaves the cursor on that cell.
    e.escribirEnCelda(2, 3, QStringLiteral("9"));
    e.tecla(Qt::Key_Escape);
    QCOMPARE(e.f.MsFlexGrid1->currentRow(), 2);
    QCOMPARE(e.f.MsFlexGrid1->currentColumn(), 3);
    QCOMPARE(e.f.lblPorc->text(), QStringLiteral("100,00 %"));
    // Enter on Quitar works on the first account right after the load.
    e.f.SSTab1->setCurrentIndex(1);
    e.f.cmdQuitar->setFocus();
    d.responder(suite::vbNo);
    e.tecla(Qt::Key_Return);
    QVERIFY(d.ultimo().texto.startsWith(QStringLiteral("Está seguro de quitar la cuenta (5.1.01.003)")));
    // Enter on the check box ticks it; Enter on Agregar adds the typed account.
    e.f.chkMultiple->setFocus();
    e.tecla(Qt::Key_Return);
    QVERIFY(e.f.chkMultiple->isChecked());
    e.f.txtFields[3]->setText(QStringLiteral("5.1.01.006"));
    e.f.cmdAgregar->setFocus();
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.f.mdlCuentas->rowCount(), 4);
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT CC_DIST FROM MA_CUENTAS WHERE Codigo = '5.1.01.006'")).toString(),
             QStringLiteral("   1"));
    // The right button on a field opens no text menu (one that did is closed and counted).
    bool menuAbierto = false;
    QTimer::singleShot(200, [&] {
        if (QWidget* p = QApplication::activePopupWidget()) {
            menuAbierto = true;
            p->close();
        }
    });
    for (QWidget* campo : {static_cast<QWidget*>(e.f.txtFields[3]), static_cast<QWidget*>(e.f.txtEdit)}) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), campo->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(campo, &menu);
    }
    QTest::qWait(250);
    QVERIFY(!menuAbierto);
    // A field that had the focus looks disabled once the form is back to browsing.
    e.f.txtFields[2]->setFocus();
    e.f.txtFields[0]->setFocus();
    e.f.Limpiar();
    const QLineEdit nuevo;
    QCOMPARE(e.f.txtFields[2]->palette().color(QPalette::Disabled, QPalette::Base),
             nuevo.palette().color(QPalette::Disabled, QPalette::Base));
    QCOMPARE(d.pendientes(), 0);
}

QTEST_MAIN(TstEditor)
#include "tst_editor.moc"
