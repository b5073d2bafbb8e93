// Form helpers and the progress display on real widgets.
#include "Entorno.h"
#include "suite/Formularios.h"
#include "suite/Progreso.h"
#include "suite/SuiteUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace suite;

class TstFormularios : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void indiceYLimpiar();
    void avanzarFoco();
    void filtrarTecla_data();
    void filtrarTecla();
    void prepararForm();
    void progreso();
    void textosDeQtEnCastellano();
};

void TstFormularios::indiceYLimpiar()
{
    QWidget form;
    auto* capa = new QVBoxLayout(&form);
    auto* codigo = new QLineEdit(QStringLiteral("   1"));
    auto* nombre = new QLineEdit(QStringLiteral("Gastos"));
    auto* marca = new QCheckBox;
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    combo->setCurrentIndex(1);
    auto* etiqueta = new QLabel(QStringLiteral("Código"));
    for (QWidget* w : {static_cast<QWidget*>(codigo), static_cast<QWidget*>(nombre), static_cast<QWidget*>(marca),
                       static_cast<QWidget*>(combo), static_cast<QWidget*>(etiqueta)})
        capa->addWidget(w);
    codigo->setProperty(PropDataField, QStringLiteral("Codigo"));
    nombre->setProperty(PropDataField, QStringLiteral("NOMBRE"));
    marca->setCheckState(Qt::Checked);
    codigo->setProperty(PropConservar, true);

    const QList<QWidget*> txtFields{codigo, nombre};
    QCOMPARE(IndiceControl(QStringLiteral("nombre"), txtFields), 1);
    QCOMPARE(IndiceControl(QStringLiteral(" CODIGO "), txtFields), 0);
    QCOMPARE(IndiceControl(QStringLiteral("Concepto"), txtFields), -1);

    LimpiarForm(&form, 1);
    QCOMPARE(codigo->text(), QStringLiteral("   1"));
    QCOMPARE(nombre->text(), QString());
    QCOMPARE(marca->checkState(), Qt::Unchecked);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(etiqueta->text(), QStringLiteral("Código"));
}

void TstFormularios::avanzarFoco()
{
    QVERIFY(EsTeclaAvance(Qt::Key_Return));
    QVERIFY(EsTeclaAvance(Qt::Key_Enter));
    QVERIFY(!EsTeclaAvance(Qt::Key_Tab));
    QVERIFY(!EsTeclaAvance(Qt::Key_A));

    QWidget form;
    auto* capa = new QVBoxLayout(&form);
    auto* a = new QLineEdit;
    auto* apagado = new QLineEdit;
    apagado->setEnabled(false);
    auto* oculto = new QLineEdit;
    auto* etiqueta = new QLabel(QStringLiteral("x"));
    auto* b = new QLineEdit;
    for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(apagado), static_cast<QWidget*>(oculto),
                       static_cast<QWidget*>(etiqueta), static_cast<QWidget*>(b)})
        capa->addWidget(w);
    oculto->hide();
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    a->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), a);
    QVERIFY(AvanzarFoco(Qt::Key_Return));
    QTRY_COMPARE(QApplication::focusWidget(), b);
}

void TstFormularios::filtrarTecla_data()
{
    QTest::addColumn<bool>("numerico");
    QTest::addColumn<QString>("tecla");
    QTest::addColumn<QString>("queda"); // empty: dropped
    QTest::newRow("dígito") << true << "7" << "7";
    QTest::newRow("coma decimal") << true << "," << ",";
    QTest::newRow("punto pasa a coma") << true << "." << ",";
    QTest::newRow("menos") << true << "-" << "-";
    QTest::newRow("letra en número") << true << "a" << "";
    QTest::newRow("retroceso") << true << "\b" << "\b";
    QTest::newRow("letra en texto") << false << "ñ" << "ñ";
    QTest::newRow("comilla en texto") << false << "'" << "'";
    QTest::newRow("intro en texto") << false << "\r" << "\r";
}

void TstFormularios::filtrarTecla()
{
    QFETCH(bool, numerico);
    QFETCH(QString, tecla);
    QFETCH(QString, queda);
    EntornoPrueba entorno;
    QLineEdit txtEdit;
    txtEdit.setProperty(PropNumerico, numerico);
    const QChar r = FiltrarTecla(&txtEdit, tecla.front());
    QCOMPARE(r.isNull() ? QString() : QString(r), queda);
}

void TstFormularios::prepararForm()
{
    QWidget form;
    form.resize(300, 200);
    form.move(0, 0);
    PrepararForm(&form);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(form.frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(form.frameGeometry().center().y() - area.center().y()) <= 1);

    QWidget enorme;
    enorme.resize(area.width() * 2, area.height() * 2);
    PrepararForm(&enorme, false);
    QVERIFY(enorme.width() <= area.width());
    QVERIFY(area.contains(enorme.frameGeometry().topLeft()));
}

void TstFormularios::progreso()
{
    QWidget principal;
    principal.show();
    Progreso& p = Progreso::instancia();
    ProgresoInicio(QStringLiteral("Cargando Cuenta"));
    QVERIFY(p.activo());
    QPointer<QWidget> ventana = p.ventana();
    QVERIFY(ventana);
    QVERIFY(ventana->isVisible());
    QCOMPARE(ventana->windowTitle(), QStringLiteral("Cargando Cuenta"));
    QVERIFY(!ventana->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    for (int i = 1; i <= 500; ++i)
        ProgresoPaso(false, QStringLiteral("Cargando Cuentas"), QString::number(i));
    ProgresoPaso(true, QStringLiteral("Cargando Cuentas"), QStringLiteral("1.1.01"));
    QCOMPARE(p.pasos(), 501);
    QCOMPARE(p.elemento(), QStringLiteral("1.1.01"));
    const QStringList textos = [&] {
        QStringList t;
        for (auto* l : ventana->findChildren<QLabel*>())
            t << l->text();
        return t;
    }();
    QVERIFY(textos.contains(QStringLiteral("Cargando Cuentas")));
    QVERIFY(textos.contains(QStringLiteral("1.1.01")));

    ProgresoFin();
    QVERIFY(!p.activo());
    QTRY_VERIFY(!ventana); // closed and deleted

    // Steps without a display open are ignored.
    ProgresoPaso(true, QStringLiteral("x"), QStringLiteral("y"));
    QCOMPARE(p.pasos(), 501);

    // With a delay, work that ends sooner shows no window; longer work shows it on a step.
    ProgresoInicio(QStringLiteral("Cargando Cuenta"), true, 5000);
    for (int i = 1; i <= 64; ++i)
        ProgresoPaso(false, QStringLiteral("Cargando Cuentas"), QString::number(i));
    QVERIFY(!p.ventana());
    ProgresoFin();
    QVERIFY(!p.ventana());
    ProgresoInicio(QStringLiteral("Cargando Cuenta"), true, 60);
    QTest::qWait(80);
    for (int i = 1; i <= 16; ++i)
        ProgresoPaso(false, QStringLiteral("Cargando Cuentas"), QString::number(i));
    ventana = p.ventana();
    QVERIFY(ventana);
    QVERIFY(ventana->isVisible());
    QCOMPARE(ventana->windowTitle(), QStringLiteral("Cargando Cuenta"));
    QCOMPARE(p.elemento(), QStringLiteral("16"));
    ProgresoFin();
    QTRY_VERIFY(!ventana);
}

void TstFormularios::textosDeQtEnCastellano()
{
    // The edit menu of a text box reads in Spanish.
    QVERIFY(suite::TraducirTextosDeQt());
    QLineEdit campo;
    campo.setText(QStringLiteral("x"));
    std::unique_ptr<QMenu> menu(campo.createStandardContextMenu());
    QStringList textos;
    for (const QAction* a : menu->actions())
        textos << a->text().section(u'\t', 0, 0); // without the shortcut
    QVERIFY2(textos.contains(QStringLiteral("&Deshacer")), qPrintable(textos.join(u'|')));
    QVERIFY2(textos.contains(QStringLiteral("&Pegar")), qPrintable(textos.join(u'|')));
}

QTEST_MAIN(TstFormularios)
#include "tst_formularios.moc"
