// Each table's history: every kind of write recorded with its rows before and after, nothing
// recorded for a write that did not happen, two workstations recorded in the order the
// database applied them, and a version restored in the editor and saved with F2.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "Puestos.h"
#include "Modales.h"
#include "distribution/AlmacenDistribucion.h"
#include "distribution/HistorialDistribucion.h"
#include "distribution/frmHistorial.h"
#include "suite/SuiteUtil.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>

using Lineas = std::vector<std::pair<QString, QString>>;

namespace {
int valor(const QString& sql) { return EmpresaPrueba::valor(gDB.gCnn, sql).toInt(); }
int versiones() { return valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST_HIST")); }
int filasHistorial() { return valor(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS_CCDIST_HISTLIN")); }

QString lineas(const EstadoTabla& e)
{
    QStringList l;
    for (const auto& [centro, porcentaje] : e.lineas)
        l << centro.trimmed() + u'=' + FmtPorcentaje(porcentaje);
    return l.join(u' ');
}

QString cambios(const VersionTabla& v)
{
    QStringList l;
    for (const CambioTabla& c : HistorialDistribucion::Cambios(v))
        l << QStringLiteral("%1|%2|%3|%4").arg(c.que, c.centro, c.antes, c.despues);
    return l.join(u'\n');
}



} // namespace

class TstHistorial : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cadaEscritura();
    void nadaSinEscritura();
    void dosPuestos();
    void restaurarYGrabar();
};

void TstHistorial::cadaEscritura()
{
    GDBPrueba g;
    DialogosGuionados d;
    AlmacenDistribucion a, b;
    QString error;
    QVERIFY2(a.PrepararHistorial(error, {QStringLiteral("ANA"), QStringLiteral("CAJA-1")}), qPrintable(error));
    QVERIFY2(b.PrepararHistorial(error, {QStringLiteral("BETO"), QStringLiteral("CAJA-2")}), qPrintable(error)); // found, not created again

    QVERIFY(a.Grabar("9", "Zona d'Oro", "c", true, {{"211", "33,3333"}, {"212", "66,6667"}}));
    QByteArray hecha;
    QCOMPARE(b.Grabar("9", "Zona d'Oro", "c", false, {{"211", "50"}, {"11", "50"}}, a.Huella("9"), hecha,
                      {QStringLiteral("COPIAR"), QStringLiteral("copia de la tabla 3")}),
             AlmacenDistribucion::Grabado::Hecho);
    QVERIFY(a.GrabarTablas({{"9", "Importada", "", true, {{"211", suite::Moneda::desdeEntero(100), 2}}, 2}},
                           {QStringLiteral("IMPORTAR"), QStringLiteral("planilla zonas.csv")}));
    d.responder(suite::vbYes);
    QCOMPARE(a.Borrar("9"), AlmacenDistribucion::Borrado::Hecho);

    const std::vector<VersionTabla> v = HistorialDistribucion().Versiones("9");
    QCOMPARE(int(v.size()), 4);
    QVERIFY(v[0].id > v[1].id && v[1].id > v[2].id && v[2].id > v[3].id); // newest first
    QCOMPARE(v[0].nombreOperacion(), QStringLiteral("Baja"));
    QCOMPARE(lineas(v[0].antes), QStringLiteral("211=100,00"));
    QVERIFY(!v[0].despues.existe());
    QCOMPARE(v[0].usuario, QStringLiteral("ANA"));
    QCOMPARE(v[0].puesto, QStringLiteral("CAJA-1"));
    QCOMPARE(v[1].nombreOperacion(), QStringLiteral("Importación"));
    QCOMPARE(v[1].detalle, QStringLiteral("planilla zonas.csv"));
    QCOMPARE(v[2].nombreOperacion(), QStringLiteral("Copia"));
    QCOMPARE(v[2].usuario, QStringLiteral("BETO"));
    QCOMPARE(cambios(v[2]), QStringLiteral("Total 100 %||Sí|No\n"
                                           "Porcentaje|211|33,3333|50,00\n"
                                           "Línea agregada|11||50,00\n"
                                           "Línea quitada|212|66,6667|"));
    QCOMPARE(HistorialDistribucion::Resumen(v[2]),
             QStringLiteral("Total 100 %: «Sí» → «No»; 211: 33,3333 % → 50,00 %; + 11 (50,00 %); − 212 (66,6667 %)"));
    QCOMPARE(v[3].nombreOperacion(), QStringLiteral("Alta"));
    QVERIFY(!v[3].antes.existe());
    QCOMPARE(v[3].despues.nombre, QStringLiteral("Zona d'Oro"));
    QVERIFY(v[3].despues.pideConfirmacion);
    QCOMPARE(lineas(v[3].despues), QStringLiteral("211=33,3333 212=66,6667")); // exact, as stored
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$")).match(v[3].fecha).hasMatch(),
             qPrintable(v[3].fecha));
    QVERIFY(HistorialDistribucion().Versiones("3").empty());
    QCOMPARE(d.vistos().size(), 1); // the delete's question
}

// A write that fails, is refused or is declined records nothing; a store without the history
// prepared records nothing either.
void TstHistorial::nadaSinEscritura()
{
    GDBPrueba g;
    DialogosGuionados d;
    AlmacenDistribucion a, sin;
    QString error;
    QVERIFY(a.PrepararHistorial(error));
    d.responder(suite::vbOK);
    QVERIFY(!a.Grabar("1", QString(61, u'n'), "c", true, {{"11", "50"}, {"12", "50"}})); // too long a name: rolled back
    QByteArray actual;
    QCOMPARE(a.Grabar("1", "n", "c", true, {{"11", "100"}}, QByteArray("otra"), actual), AlmacenDistribucion::Grabado::Cambiada);
    d.responder(suite::vbNo);
    QCOMPARE(a.Borrar("1"), AlmacenDistribucion::Borrado::Cancelado);
    d.responder(suite::vbOK);
    QVERIFY(!a.GrabarTablas({{"7", QString(61, u'x'), "", false, {{"11", suite::Moneda::desdeEntero(100), 2}}, 2}}));
    QVERIFY(sin.Grabar("1", "n", "c", true, {{"11", "100"}}));
    QCOMPARE(versiones(), 0);
    QCOMPARE(filasHistorial(), 0);
    QVERIFY(a.Grabar("1", "n", "c", true, {{"12", "100"}}));
    QCOMPARE(versiones(), 1);
    QCOMPARE(filasHistorial(), 2); // 11 before, 12 after
}

// Two workstations save the same table over and over: every save is recorded, and in ID
// order each version starts from the table the one before it left.
void TstHistorial::dosPuestos()
{
    GDBPrueba g;
    SinDialogos sin;
    const Lineas juegos[] = {{{"11", "30"}, {"12", "70"}}, {{"211", "60"}, {"212", "40"}}};
    std::atomic<int> fallos{0};
    constexpr int Vueltas = 15;
    QVERIFY(enDosPuestos(sin, [&](DB_Dll& db, int puesto) {
        const QString nombre = puesto == 0 ? QStringLiteral("A") : QStringLiteral("B");
        AlmacenDistribucion a(db);
        QString error;
        if (!a.PrepararHistorial(error, {nombre, nombre}))
            ++fallos;
        for (int i = 0; i < Vueltas; ++i)
            if (!a.Grabar("1", nombre, "concurrente", true, juegos[puesto]))
                ++fallos;
    }, 120000));
    QCOMPARE(fallos.load(), 0);
    QCOMPARE(sin.vistos.load(), 0);
    std::vector<VersionTabla> v = HistorialDistribucion().Versiones("1");
    QCOMPARE(int(v.size()), 2 * Vueltas);
    std::reverse(v.begin(), v.end());
    for (size_t i = 1; i < v.size(); ++i) {
        QCOMPARE(lineas(v[i].antes), lineas(v[i - 1].despues));
        QCOMPARE(v[i].antes.nombre, v[i - 1].despues.nombre);
        QCOMPARE(v[i].despues.nombre, v[i].usuario);
    }
}

// Historial (F11) on the open table; "Restaurar anterior" on the newest version brings the
// table back as it was, unsaved; F2 saves it through the usual checks and records it.
void TstHistorial::restaurarYGrabar()
{
    EditorPrueba e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("3"));
    const QString original = e.f.MsFlexGrid1->item(0, 3)->text();
    e.f.MsFlexGrid1->setCurrentCell(0, 3);
    e.f.MsFlexGrid1->setFocus();
    e.escribir(QStringLiteral("10"));
    e.tecla(Qt::Key_Return);
    e.f.MsFlexGrid1->setCurrentCell(1, 3);
    e.f.MsFlexGrid1->setFocus();
    const QString segunda = e.f.MsFlexGrid1->item(1, 3)->text();
    const suite::Moneda resto = suite::ValorNumerico(original) + suite::ValorNumerico(segunda) - suite::Moneda::desdeEntero(10);
    e.escribir(resto.texto(u','));
    e.tecla(Qt::Key_Return);
    e.tecla(Qt::Key_F2);
    QCOMPARE(d.vistos().size(), 0);
    QCOMPARE(versiones(), 1);

    e.abrir(QStringLiteral("3"));
    QCOMPARE(e.f.MsFlexGrid1->item(0, 3)->text(), QStringLiteral("10,00"));
    QStringList vistas;
    alAbrirModal<frmHistorial>([&](frmHistorial& h) {
        vistas << h.windowTitle() << QString::number(h.lstVersiones->topLevelItemCount()) << h.lstVersiones->topLevelItem(0)->text(1)
               << h.lstVersiones->topLevelItem(0)->text(3);
        vistas << QString::number(h.cmdRestaurar->isEnabled()) << QString::number(h.cmdAnterior->isEnabled());
        h.cmdAnterior->click();
    });
    e.tecla(Qt::Key_F11);
    QTRY_VERIFY(!vistas.isEmpty());
    QApplication::setActiveWindow(&e.f); // what the window manager does once the dialog closes
    QVERIFY(QTest::qWaitForWindowActive(&e.f));
    QCOMPARE(vistas, (QStringList{QStringLiteral("Historial de la Tabla de Distribución Código: 3"), "1", "ANA", "Modificación", "1", "1"}));
    QCOMPARE(e.f.MsFlexGrid1->item(0, 3)->text(), original);
    QVERIFY(e.f.HayCambios());
    QCOMPARE(versiones(), 1); // nothing written yet
    e.tecla(Qt::Key_F2);
    QCOMPARE(d.vistos().size(), 0);
    const std::vector<VersionTabla> v = HistorialDistribucion().Versiones("3");
    QCOMPARE(int(v.size()), 2);
    QCOMPARE(v[0].nombreOperacion(), QStringLiteral("Restauración"));
    QVERIFY2(v[0].detalle.startsWith(QStringLiteral("estado anterior a la versión del ")), qPrintable(v[0].detalle));
    QCOMPARE(lineas(v[0].despues), lineas(v[1].antes));
}

QTEST_MAIN(TstHistorial)
#include "tst_historial.moc"
