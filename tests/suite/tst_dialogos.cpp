// The Qt operator dialogs, driven as a user would, and the scripted ones tests use.
#include "DialogosGuionados.h"
#include "suite/DialogoArchivo.h"
#include "suite/Dialogos.h"
#include "suite/SuiteUtil.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace suite;

namespace {
// Runs f on the modal dialog as soon as it is shown.
void alAparecer(std::function<void(QWidget*)> f)
{
    QTimer::singleShot(5, [f] {
        if (QWidget* w = QApplication::activeModalWidget())
            f(w);
        else
            alAparecer(f);
    });
}

QStringList textosDeBotones(QMessageBox* m)
{
    QStringList t;
    for (QAbstractButton* b : m->buttons())
        t << b->text();
    t.sort();
    return t;
}
} // namespace

class TstDialogos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void msgBoxQt_data();
    void msgBoxQt();
    void inputBoxQt();
    void archivoQt();
    void guionados();
    void guionNoPrevisto();
    void sinOperador_data();
    void sinOperador();
};

void TstDialogos::sinOperador_data()
{
    // Nobody at the screen: the answer that gives up, whatever icon and default button.
    QTest::addColumn<int>("estilo");
    QTest::addColumn<int>("respuesta");
    QTest::newRow("aceptar") << int(vbOKOnly + vbInformation) << int(vbOK);
    QTest::newRow("aceptar cancelar") << int(vbOKCancel) << int(vbCancel);
    QTest::newRow("anular reintentar omitir") << int(vbAbortRetryIgnore + vbCritical) << int(vbAbort);
    QTest::newRow("sí no cancelar, tercero") << int(vbYesNoCancel + vbDefaultButton3) << int(vbCancel);
    QTest::newRow("sí no, segundo") << int(vbYesNo + vbQuestion + vbDefaultButton2) << int(vbNo);
    QTest::newRow("reintentar cancelar") << int(vbRetryCancel + vbExclamation) << int(vbCancel);
}

void TstDialogos::sinOperador()
{
    QFETCH(int, estilo);
    QFETCH(int, respuesta);
    QCOMPARE(RespuestaSinOperador(estilo), respuesta);
}

void TstDialogos::msgBoxQt_data()
{
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QStringList>("botones");
    QTest::addColumn<QString>("predeterminado");
    QTest::addColumn<int>("icono");
    QTest::addColumn<QString>("pulsar");   // empty: press Esc
    QTest::addColumn<int>("respuesta");

    auto ordenados = [](QStringList l) { l.sort(); return l; };
    QTest::newRow("aceptar") << 0 << QStringList{"Aceptar"} << "Aceptar" << int(QMessageBox::NoIcon) << "Aceptar" << 1;
    QTest::newRow("esc en solo aceptar") << 64 << QStringList{"Aceptar"} << "Aceptar" << int(QMessageBox::Information) << "" << 1;
    QTest::newRow("aceptar cancelar, esc") << 1 << ordenados({"Aceptar", "Cancelar"}) << "Aceptar" << int(QMessageBox::NoIcon) << "" << 2;
    QTest::newRow("18: anular reintentar omitir") << 18 << ordenados({"Anular", "Reintentar", "Omitir"}) << "Anular"
                                                 << int(QMessageBox::Critical) << "Reintentar" << 4;
    QTest::newRow("omitir") << 18 << ordenados({"Anular", "Reintentar", "Omitir"}) << "Anular"
                            << int(QMessageBox::Critical) << "Omitir" << 5;
    QTest::newRow("anular") << 2 << ordenados({"Anular", "Reintentar", "Omitir"}) << "Anular"
                            << int(QMessageBox::NoIcon) << "Anular" << 3;
    QTest::newRow("sí no, segundo predeterminado") << 4 + 32 + 256 << ordenados({"Sí", "No"}) << "No"
                                                   << int(QMessageBox::Question) << "Sí" << 6;
    QTest::newRow("no") << 4 + 48 << ordenados({"Sí", "No"}) << "Sí" << int(QMessageBox::Warning) << "No" << 7;
    QTest::newRow("sí no cancelar, tercero") << 3 + 512 << ordenados({"Sí", "No", "Cancelar"}) << "Cancelar"
                                             << int(QMessageBox::NoIcon) << "" << 2;
    QTest::newRow("reintentar cancelar") << 5 << ordenados({"Reintentar", "Cancelar"}) << "Reintentar"
                                         << int(QMessageBox::NoIcon) << "Reintentar" << 4;
}

void TstDialogos::msgBoxQt()
{
    QFETCH(int, estilo);
    QFETCH(QStringList, botones);
    QFETCH(QString, predeterminado);
    QFETCH(int, icono);
    QFETCH(QString, pulsar);
    QFETCH(int, respuesta);

    QStringList vistos;
    QString titulo, texto, defecto;
    int iconoVisto = -1;
    alAparecer([&](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        QVERIFY(m);
        vistos = textosDeBotones(m);
        titulo = m->windowTitle();
        texto = m->text();
        iconoVisto = int(m->icon());
        defecto = m->defaultButton() ? m->defaultButton()->text() : QString();
        if (pulsar.isEmpty()) {
            QTest::keyClick(m, Qt::Key_Escape);
        } else {
            for (QAbstractButton* b : m->buttons())
                if (b->text() == pulsar)
                    b->click();
        }
    });
    DialogosQt qt;
    FijarDialogos(&qt);
    const int r = MsgBox(QStringLiteral("¿Desea continuar?"), estilo, QStringLiteral("Atención"));
    FijarDialogos(nullptr);

    QCOMPARE(vistos, botones);
    QCOMPARE(defecto, predeterminado);
    QCOMPARE(iconoVisto, icono);
    QCOMPARE(titulo, QStringLiteral("Atención"));
    QCOMPARE(texto, QStringLiteral("¿Desea continuar?"));
    QCOMPARE(r, respuesta);
}

void TstDialogos::inputBoxQt()
{
    DialogosQt qt;
    FijarDialogos(&qt);
    alAparecer([](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        QVERIFY(d);
        QCOMPARE(d->textValue(), QStringLiteral("previo"));
        d->setTextValue(QStringLiteral("Peña"));
        QPushButton* aceptar = nullptr;
        for (auto* b : d->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Aceptar"))
                aceptar = b;
        QVERIFY(aceptar);
        aceptar->click();
    });
    QCOMPARE(InputBox(QStringLiteral("Nombre"), QStringLiteral("Dato"), QStringLiteral("previo")),
             std::optional<QString>(QStringLiteral("Peña")));

    alAparecer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(InputBox(QStringLiteral("Nombre")), std::nullopt);
    FijarDialogos(nullptr);
}

void TstDialogos::archivoQt()
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("EMPRESA.MDB")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    DialogosQt qt;
    FijarDialogos(&qt);
    QStringList filtros;
    QString titulo;
    alAparecer([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        titulo = d->windowTitle();
        filtros = d->nameFilters();
        d->selectFile(f.fileName());
        QMetaObject::invokeMethod(d, "accept");
    });
    DialogoArchivo cmd;
    cmd.TituloDialogo = QStringLiteral("Buscar Base de Datos");
    cmd.Filtro = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");
    cmd.MostrarAbrir();
    QCOMPARE(titulo, QStringLiteral("Buscar Base de Datos"));
    QCOMPARE(filtros, QStringList{QStringLiteral("Base de Datos de Microsoft Access (*.MDB *.mdb)")});
    QVERIFY(!cmd.Cancelado);
    QCOMPARE(cmd.NombreArchivo, f.fileName());

    alAparecer([](QWidget* w) { qobject_cast<QFileDialog*>(w)->reject(); });
    cmd.MostrarAbrir();
    QVERIFY(cmd.Cancelado);
    QCOMPARE(cmd.NombreArchivo, QString());
    FijarDialogos(nullptr);
}

void TstDialogos::guionados()
{
    DialogosGuionados d;
    d.responder(vbNo).escribir(QStringLiteral("1234")).elegirArchivo(std::nullopt);
    QCOMPARE(MsgBox(QStringLiteral("¿Borrar?"), vbYesNo + vbQuestion, QStringLiteral("Atención")), int(vbNo));
    QCOMPARE(InputBox(QStringLiteral("Clave")), std::optional<QString>(QStringLiteral("1234")));
    DialogoArchivo cmd;
    cmd.MostrarAbrir();
    QVERIFY(cmd.Cancelado);

    QCOMPARE(d.vistos().size(), 3);
    QCOMPARE(d.vistos()[0].tipo, DialogoVisto::Mensaje);
    QCOMPARE(d.vistos()[0].titulo, QStringLiteral("Atención"));
    QCOMPARE(d.vistos()[0].texto, QStringLiteral("¿Borrar?"));
    QCOMPARE(d.vistos()[0].estilo, 36);
    QCOMPARE(d.vistos()[1].titulo, TituloAplicacion()); // no title: the application's
    QCOMPARE(d.pendientes(), 0);
}

void TstDialogos::guionNoPrevisto()
{
    DialogosGuionados d;
    QEXPECT_FAIL("", "un diálogo no previsto hace fallar la prueba", Continue);
    const int r = MsgBox(QStringLiteral("inesperado"));
    QCOMPARE(r, int(vbCancel));
    QCOMPARE(d.vistos().size(), 1);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Prorrata"));
    TstDialogos t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_dialogos.moc"
