// The editor's commands beyond the suite's, driven from the keyboard on a demo company: the
// split preview, the copy of a table, the CSV sheet out and back in, and a table changed by
// another workstation (a second connection) while it was being edited.
#include "DialogosGuionados.h"
#include "EditorPrueba.h"
#include "distribution/PlanillaCsv.h"
#include "suite/SuiteUtil.h"
#include "toolbar/UtilVela.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <memory>

namespace {

struct Editor : EditorPrueba {
    void celda(int fila, int columna, const QString& valor)
    {
        f.MsFlexGrid1->setFocus();
        f.MsFlexGrid1->setCurrentCell(fila, columna);
        escribir(valor);
        tecla(Qt::Key_Return);
    }
    QString texto(int fila, int columna) const
    {
        const auto* it = f.MsFlexGrid1->item(fila, columna);
        return it ? it->text() : QString();
    }
    QStringList importes(int filas) const
    {
        QStringList l;
        for (int i = 0; i < filas; ++i)
            l << texto(i, frmProrrata::ColImporte);
        return l;
    }
    bool editando() const { return f.UtilVela1->ItemEnabled(QStringLiteral("GRABAR")); }
    // A table's lines as stored: centre=percentage, in ID order.
    static QString lineas(const QString& codigo)
    {
        ado::Recordset rs = gDB.gCnn.Execute(AlmacenDistribucion::SentenciaLineas(codigo));
        QStringList l;
        for (; !rs.EOF_(); rs.MoveNext())
            l << rs.Fields(QStringLiteral("CCOSTO")).Value().toString() + u'='
                    + suite::ValorNumerico(suite::TextoVariant(rs.Fields(QStringLiteral("PORCENTAJE")).Value())).texto(u',');
        return l.join(u' ');
    }
    // Every row of every table, all columns but the ID, in code and ID order.
    static QStringList todo()
    {
        ado::Recordset rs = gDB.gCnn.Execute(QStringLiteral(
            "SELECT CODIGO,NOMBRE,CONCEPTO,PIDECONFIRMACION,CCOSTO,PORCENTAJE FROM MA_CUENTAS_CCDIST ORDER BY CODIGO,ID"));
        QStringList filas;
        for (; !rs.EOF_(); rs.MoveNext()) {
            QStringList f;
            for (int i = 0; i < 5; ++i)
                f << suite::TextoVariant(suite::SinNulo(rs.Fields(i).Value())).trimmed();
            f << suite::ValorNumerico(suite::TextoVariant(rs.Fields(5).Value())).texto(u',');
            filas << f.join(u'|');
        }
        return filas;
    }
    static int cuentasDe(const QString& codigo)
    {
        return EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CC_DIST='") + suite::FormatoCodigo(codigo, 4)
                                                  + QStringLiteral("'"))
            .toInt();
    }
    // Another workstation: its own connection to the same company.
    std::unique_ptr<DB_Dll> otroPuesto() const
    {
        auto db = std::make_unique<DB_Dll>();
        db->gServidor = QStringLiteral("DEMO");
        db->gDBName = db->gUsuario = db->gUserPassWord = QStringLiteral("EMPRESA_DEMO");
        db->OpenServerADODB(false, 3, QString(), false, false);
        return db;
    }
};

const char* const Tabla3 = "311=33,33 312=33,33 32=33,34";

using Pasos = std::function<void(Editor&, DB_Dll&)>;

} // namespace

Q_DECLARE_METATYPE(Pasos)

class TstEditorExtras : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reparto();
    void copiar_data();
    void copiar();
    void exportarEImportar();
    void importarConErrores();
    void otroPuesto_data();
    void otroPuesto();
};

void TstEditorExtras::reparto()
{
    Editor e;
    DialogosGuionados d;
    e.abrir(QStringLiteral("3"));
    QVERIFY(e.f.MsFlexGrid1->isColumnHidden(frmProrrata::ColImporte));
    e.tecla(Qt::Key_F9);
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtImporte));
    e.escribir(QStringLiteral("100"));
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.f.txtImporte->text(), QStringLiteral("100,00"));
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.MsFlexGrid1));
    QVERIFY(!e.f.MsFlexGrid1->isColumnHidden(frmProrrata::ColImporte));
    QCOMPARE(e.importes(4), (QStringList{"33,33", "33,33", "33,34", ""}));
    QCOMPARE(e.f.lblSinDistribuir->text(), QStringLiteral("Sin distribuir: 0,00"));
    QVERIFY(!e.f.HayCambios()); // the amount is not part of the table

    // At 90 % the rest shows apart; a negative amount splits as its opposite.
    e.celda(2, 3, QStringLiteral("23,34"));
    QCOMPARE(e.importes(3), (QStringList{"33,33", "33,33", "23,34"}));
    QCOMPARE(e.f.lblSinDistribuir->text(), QStringLiteral("Sin distribuir: 10,00"));
    e.tecla(Qt::Key_F9);
    e.escribir(QStringLiteral("-1234,5"));
    e.tecla(Qt::Key_Return);
    QCOMPARE(e.f.txtImporte->text(), QStringLiteral("-1.234,50"));
    QCOMPARE(e.importes(3), (QStringList{"-411,46", "-411,46", "-288,13"}));
    QCOMPARE(e.f.lblSinDistribuir->text(), QStringLiteral("Sin distribuir: -123,45"));

    // Not a number: said while typing, refused on Enter.
    e.tecla(Qt::Key_F9);
    e.escribir(QStringLiteral("12a"));
    QCOMPARE(e.f.lblSinDistribuir->text(), QStringLiteral("El importe no es un número"));
    QCOMPARE(e.importes(1), QStringList{QString()});
    d.responder(suite::vbOK);
    e.tecla(Qt::Key_Return);
    QCOMPARE(d.ultimo().texto, QStringLiteral("Debe ingresar un importe numérico"));
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtImporte));

    // The amount stays for the next table; nothing of it was stored.
    e.f.txtImporte->setText(QStringLiteral("10"));
    d.responder(suite::vbYes); // abandon the edited line
    e.abrir(QStringLiteral("2"));
    QCOMPARE(e.importes(2), (QStringList{"6,00", "4,00"}));
    QCOMPARE(Editor::lineas(QStringLiteral("3")), QString::fromLatin1(Tabla3));
}

void TstEditorExtras::copiar_data()
{
    // Each row: what happens before F7 on table 3, the answer to a question (0: none), the
    // code the copy takes (empty: no copy), and the lines of the copy once saved.
    QTest::addColumn<Pasos>("antes");
    QTest::addColumn<int>("respuesta");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("lineas");
    const Pasos nada = [](Editor&, DB_Dll&) {};
    QTest::newRow("el siguiente al mayor") << nada << 0 << "4" << Tabla3;
    QTest::newRow("después de una tabla 7")
        << Pasos([](Editor&, DB_Dll& otro) {
               AlmacenDistribucion(otro).Grabar(QStringLiteral("7"), QStringLiteral("Siete"), QString(), false,
                                                {{QStringLiteral("11"), QStringLiteral("100")}});
           })
        << 0 << "8" << Tabla3;
    QTest::newRow("con un código no numérico")
        << Pasos([](Editor&, DB_Dll& otro) {
               AlmacenDistribucion(otro).Grabar(QStringLiteral("AB"), QStringLiteral("Letras"), QString(), false,
                                                {{QStringLiteral("11"), QStringLiteral("100")}});
           })
        << 0 << "4" << Tabla3;
    QTest::newRow("con cambios sin grabar, que la copia lleva")
        << Pasos([](Editor& e, DB_Dll&) { e.celda(0, 3, QStringLiteral("30")); }) << int(suite::vbYes) << "4"
        << "311=30 312=33,33 32=33,34";
    QTest::newRow("con cambios sin grabar, copia rechazada")
        << Pasos([](Editor& e, DB_Dll&) { e.celda(0, 3, QStringLiteral("30")); }) << int(suite::vbNo) << "" << "";
}

void TstEditorExtras::copiar()
{
    QFETCH(Pasos, antes);
    QFETCH(int, respuesta);
    QFETCH(QString, codigo);
    QFETCH(QString, lineas);
    Editor e;
    DialogosGuionados d;
    const auto otro = e.otroPuesto();
    e.tecla(Qt::Key_F7); // nothing is open: nothing to copy
    QVERIFY(!e.editando());
    e.abrir(QStringLiteral("3"));
    antes(e, *otro);
    if (respuesta)
        d.responder(respuesta);
    e.tecla(Qt::Key_F7);
    if (codigo.isEmpty()) {
        QCOMPARE(e.f.txtFields[0]->text(), QStringLiteral("3"));
        QCOMPARE(e.texto(0, 3), QStringLiteral("30,00"));
        QCOMPARE(Editor::lineas(QStringLiteral("4")), QString());
        return;
    }
    QCOMPARE(e.f.txtFields[0]->text(), codigo);
    QVERIFY(e.editando());
    QCOMPARE(e.f.txtFields[2]->text(), QStringLiteral("Producción"));
    QCOMPARE(e.f.txtFields[1]->text(), QStringLiteral("Mantenimiento y consumos"));
    QCOMPARE(e.texto(2, 2), QStringLiteral("Depósito central"));
    QCOMPARE(e.f.mdlCuentas->rowCount(), 0); // accounts are not copied
    QCOMPARE(e.foco(), static_cast<QWidget*>(e.f.txtFields[2]));
    QCOMPARE(Editor::lineas(codigo), QString()); // not saved yet
    QVERIFY(e.f.HayCambios());

    e.tecla(Qt::Key_F2);
    QCOMPARE(Editor::lineas(codigo), lineas);
    QCOMPARE(Editor::lineas(QStringLiteral("3")), QString::fromLatin1(Tabla3));
    QCOMPARE(Editor::cuentasDe(codigo), 0);
    QCOMPARE(Editor::cuentasDe(QStringLiteral("3")), 1);
    QVERIFY(!e.editando());
}

void TstEditorExtras::exportarEImportar()
{
    Editor e;
    DialogosGuionados d;
    // A name with quotes, a semicolon and accents, and a percentage of four decimals.
    QVERIFY(AlmacenDistribucion().Grabar(QStringLiteral("9"), QStringLiteral("L'Étoile; \"sucursal\""), QStringLiteral("Año, mes"), true,
                                         {{QStringLiteral("311"), QStringLiteral("33,3333")}, {QStringLiteral("1"), QStringLiteral("66,6667")}}));
    const QStringList antes = Editor::todo();
    QCOMPARE(antes.size(), 12);

    // One table: F6 on the open table, Yes.
    const QString una = e.ruta(QStringLiteral("tabla3.csv"));
    e.abrir(QStringLiteral("3"));
    d.responder(suite::vbYes).elegirArchivo(una).responder(suite::vbOK);
    e.tecla(Qt::Key_F6);
    QVERIFY2(d.ultimo().texto.startsWith(QStringLiteral("Se exportaron 1 tabla y 3 líneas a")), qPrintable(d.ultimo().texto));
    QFile f1(una);
    QVERIFY(f1.open(QIODevice::ReadOnly));
    QCOMPARE(f1.readAll(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("CODIGO;NOMBRE;CONCEPTO;PIDECONFIRMACION;CCOSTO;PORCENTAJE\r\n"
                                                                       "3;Producción;Mantenimiento y consumos;0;311;33,33\r\n"
                                                                       "3;Producción;Mantenimiento y consumos;0;312;33,33\r\n"
                                                                       "3;Producción;Mantenimiento y consumos;0;32;33,34\r\n")
                                                            .toUtf8());

    // Every table, from the browsing state; then every line is lost and the file brings
    // them back as they were.
    d.responder(suite::vbYes);
    e.tecla(Qt::Key_Escape);
    QVERIFY(!e.editando());
    const QString todas = e.ruta(QStringLiteral("todas.csv"));
    d.elegirArchivo(todas).responder(suite::vbOK);
    e.tecla(Qt::Key_F6);
    QVERIFY2(d.ultimo().texto.startsWith(QStringLiteral("Se exportaron 4 tablas y 12 líneas a")), qPrintable(d.ultimo().texto));
    long n = 0;
    QString borrar = QStringLiteral("DELETE FROM MA_CUENTAS_CCDIST");
    gDB.EjecutaConsultaSQL(borrar, n);
    QCOMPARE(Editor::todo(), QStringList());

    d.elegirArchivo(todas).responder(suite::vbYes).responder(suite::vbOK);
    e.tecla(Qt::Key_F8);
    QCOMPARE(d.vistos()[d.vistos().size() - 2].texto.section(u'\n', 0, 0),
             QStringLiteral("Se importarán 4 tablas con 12 líneas del archivo ") + QDir::toNativeSeparators(todas) + u'.');
    QCOMPARE(d.ultimo().texto, QStringLiteral("Se importaron 4 tablas con 12 líneas."));
    QCOMPARE(Editor::todo(), antes);
    QCOMPARE(Editor::cuentasDe(QStringLiteral("1")), 3); // the accounts kept their tables

    // Again over the stored tables: they are named as replaced; No leaves everything.
    d.elegirArchivo(una).responder(suite::vbNo);
    e.tecla(Qt::Key_F8);
    QVERIFY2(d.ultimo().texto.contains(QStringLiteral("Reemplazarán las líneas de las tablas que ya existen: 3")),
             qPrintable(d.ultimo().texto));
    QCOMPARE(Editor::todo(), antes);
}

void TstEditorExtras::importarConErrores()
{
    Editor e;
    DialogosGuionados d;
    const QStringList antes = Editor::todo();
    const QString ruta = static_cast<EntornoPrueba&>(e).escribir(QStringLiteral("errores.csv"),
                                    "CODIGO;NOMBRE;CONCEPTO;PIDECONFIRMACION;CCOSTO;PORCENTAJE\r\n"
                                    "5;Nueva;;0;11;50\r\n"
                                    "5;Nueva;;0;99;10\r\n"
                                    "1;Gastos;;0;11;abc\r\n"
                                    "2;Comercial;;0;211;60\r\n"
                                    "2;Comercial;;0;212;50\r\n"
                                    "12345;Larga;;0;31;10\r\n");
    d.elegirArchivo(ruta).responder(suite::vbOK);
    e.tecla(Qt::Key_F8);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al Operador"));
    QCOMPARE(d.ultimo().texto, QStringLiteral("No se importó nada: el archivo tiene 4 errores.\n\n"
                                              "Fila 3: el centro de costo «99» no existe.\n"
                                              "Fila 4: el porcentaje «abc» no es un número.\n"
                                              "Fila 6: la tabla 2 suma 110,00 %; no puede superar el 100 %.\n"
                                              "Fila 7: el código «12345» tiene más de 4 caracteres."));
    QCOMPARE(Editor::todo(), antes);

    // A file that cannot be read says so; while a table is open there is no import.
    d.elegirArchivo(e.ruta(QStringLiteral("no_existe.csv"))).responder(suite::vbOK);
    e.tecla(Qt::Key_F8);
    QVERIFY2(d.ultimo().texto.startsWith(QStringLiteral("No se pudo abrir el archivo ")), qPrintable(d.ultimo().texto));
    e.abrir(QStringLiteral("3"));
    const qsizetype vistos = d.vistos().size();
    e.tecla(Qt::Key_F8);
    QCOMPARE(d.vistos().size(), vistos);
    QCOMPARE(Editor::todo(), antes);
}

void TstEditorExtras::otroPuesto_data()
{
    // Each row: what the other workstation does to table 3 while it is open here with one
    // line changed, the answer to the question (0: no question), its first words, and what
    // table 3 holds after F2.
    QTest::addColumn<Pasos>("otro");
    QTest::addColumn<int>("respuesta");
    QTest::addColumn<QString>("pregunta");
    QTest::addColumn<QString>("tabla3");
    const Pasos grabaOtra = [](Editor&, DB_Dll& db) {
        QVERIFY(AlmacenDistribucion(db).Grabar(QStringLiteral("3"), QStringLiteral("Otro puesto"), QString(), false,
                                               {{QStringLiteral("32"), QStringLiteral("100")}}));
    };
    const QString nuestra = QStringLiteral("311=30 312=33,33 32=33,34");
    QTest::newRow("modificada, no se reemplaza") << grabaOtra << int(suite::vbNo)
                                                 << "La tabla fue modificada en otro puesto mientras usted la editaba (Código: 3)."
                                                 << "32=100";
    QTest::newRow("modificada, se reemplaza") << grabaOtra << int(suite::vbYes)
                                              << "La tabla fue modificada en otro puesto" << nuestra;
    QTest::newRow("borrada, se graba de nuevo")
        << Pasos([](Editor&, DB_Dll& db) {
               QString s = AlmacenDistribucion::LoteBorrar(QStringLiteral("3")) + QStringLiteral("\r\nCOMMIT TRANSACTION");
               long n = 0;
               db.EjecutaConsultaSQL(s, n);
           })
        << int(suite::vbYes) << "La tabla fue borrada en otro puesto mientras usted la editaba (Código: 3)." << nuestra;
    QTest::newRow("grabada igual en otro puesto: sin pregunta")
        << Pasos([](Editor&, DB_Dll& db) {
               QVERIFY(AlmacenDistribucion(db).Grabar(QStringLiteral("3"), QStringLiteral("Producción"), QStringLiteral("Mantenimiento y consumos"),
                                                      false, {{QStringLiteral("311"), QStringLiteral("33,33")},
                                                              {QStringLiteral("312"), QStringLiteral("33,33")},
                                                              {QStringLiteral("32"), QStringLiteral("33,34")}}));
           })
        << 0 << "" << nuestra;
    QTest::newRow("solo las cuentas cambiaron en otro puesto: sin pregunta")
        << Pasos([](Editor&, DB_Dll& db) {
               QString s = AlmacenDistribucion::SentenciaAsignar(QStringLiteral("5.1.01.001"), QStringLiteral("3"));
               long n = 0;
               db.EjecutaConsultaSQL(s, n);
           })
        << 0 << "" << nuestra;
}

void TstEditorExtras::otroPuesto()
{
    QFETCH(Pasos, otro);
    QFETCH(int, respuesta);
    QFETCH(QString, pregunta);
    QFETCH(QString, tabla3);
    Editor e;
    DialogosGuionados d;
    const auto db = e.otroPuesto();
    e.abrir(QStringLiteral("3"));
    e.celda(0, 3, QStringLiteral("30"));
    otro(e, *db);
    if (respuesta)
        d.responder(respuesta);
    e.tecla(Qt::Key_F2);
    QCOMPARE(d.pendientes(), 0);
    if (respuesta) {
        QVERIFY2(d.ultimo().texto.startsWith(pregunta), qPrintable(d.ultimo().texto));
        QCOMPARE(d.ultimo().titulo, QStringLiteral("Atención"));
    } else {
        QVERIFY(d.vistos().isEmpty());
    }
    QCOMPARE(Editor::lineas(QStringLiteral("3")), tabla3);
    // Declined, the form keeps the edits; saved, it is reset.
    QCOMPARE(e.editando(), respuesta == suite::vbNo);
}

QTEST_MAIN(TstEditorExtras)
#include "tst_editor_extras.moc"
