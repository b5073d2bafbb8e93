// The routine runner that traps errors, and ending the program.
#include "DialogosGuionados.h"
#include "suite/ErrorRT.h"

#include <QTest>
#include <stdexcept>

using namespace suite;

class TstRutina : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void respuestas_data();
    void respuestas();
    void erroresNoSuite();
    void conDialogoError();
    void terminarPrograma();
};

// Three steps; the second fails `fallos` times. The handler answers from a list.
void TstRutina::respuestas_data()
{
    QTest::addColumn<int>("fallos");
    QTest::addColumn<QList<int>>("respuestas");
    QTest::addColumn<QString>("traza");   // which steps completed, in order
    QTest::addColumn<bool>("abandonada");

    QTest::newRow("sin error") << 0 << QList<int>{} << "123" << false;
    QTest::newRow("reintentar y sale bien") << 1 << QList<int>{vbRetry} << "123" << false;
    QTest::newRow("reintentar dos veces") << 2 << QList<int>{vbRetry, vbRetry} << "123" << false;
    QTest::newRow("ignorar sigue con el siguiente") << 1 << QList<int>{vbIgnore} << "13" << false;
    QTest::newRow("reintentar y luego ignorar") << 2 << QList<int>{vbRetry, vbIgnore} << "13" << false;
    QTest::newRow("anular deja la rutina") << 1 << QList<int>{vbAbort} << "1" << true;
    QTest::newRow("cancelar deja la rutina") << 1 << QList<int>{vbCancel} << "1" << true;
    QTest::newRow("aceptar deja la rutina") << 1 << QList<int>{vbOK} << "1" << true;
}

void TstRutina::respuestas()
{
    QFETCH(int, fallos);
    QFETCH(QList<int>, respuestas);
    QFETCH(QString, traza);
    QFETCH(bool, abandonada);

    QString hecho;
    QList<ErrorRT> preguntados;
    Rutina r([&](const ErrorRT& e) {
        preguntados << e;
        return respuestas.takeFirst();
    });
    int intentos = 0;
    r([&] { hecho += u'1'; })
     ([&] {
         if (intentos++ < fallos)
             Lanzar(3265, QStringLiteral("No se encontró el elemento"), QStringLiteral("ADODB.Recordset"));
         hecho += u'2';
     })
     ([&] { hecho += u'3'; });

    QCOMPARE(hecho, traza);
    QCOMPARE(r.abandonada(), abandonada);
    QVERIFY(respuestas.isEmpty());
    for (const ErrorRT& e : preguntados) {
        QCOMPARE(e.Number, 3265L);
        QCOMPARE(e.Source, QStringLiteral("ADODB.Recordset"));
    }
    QCOMPARE(r.ultimoError().has_value(), fallos > 0);
}

void TstRutina::erroresNoSuite()
{
    // Exceptions of the library become run-time errors with a number and the text.
    ErrorRT visto;
    Rutina r([&](const ErrorRT& e) { visto = e; return int(vbIgnore); });
    r([] { throw std::runtime_error("fallo de prueba"); });
    QCOMPARE(visto.Number, 5L);
    QCOMPARE(visto.Description, QStringLiteral("fallo de prueba"));
}

void TstRutina::conDialogoError()
{
    DialogosGuionados d;
    d.responder(vbRetry).responder(vbAbort);
    int veces = 0;
    bool despues = false;
    Rutina r = Rutina::conDialogoError(QStringLiteral("Cfg"));
    r([&] { ++veces; Lanzar(13, QStringLiteral("No coinciden los tipos")); })
     ([&] { despues = true; });
    QCOMPARE(veces, 2);
    QVERIFY(!despues);
    QCOMPARE(d.vistos().size(), 2);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Aviso al operador - Cfg"));
    QCOMPARE(d.ultimo().estilo, 18);
    QVERIFY(d.ultimo().texto.contains(QStringLiteral("13")));
    QVERIFY(d.ultimo().texto.contains(QStringLiteral("No coinciden los tipos")));
}

void TstRutina::terminarPrograma()
{
    FijarTerminador([](int codigo) { throw ProgramaTerminado{codigo}; });
    // Ending the program is never trapped by a routine.
    bool preguntado = false;
    bool siguiente = false;
    try {
        Rutina r([&](const ErrorRT&) { preguntado = true; return int(vbIgnore); });
        r([] { TerminarPrograma(3); })([&] { siguiente = true; });
        QFAIL("TerminarPrograma volvió");
    } catch (const ProgramaTerminado& t) {
        QCOMPARE(t.codigo, 3);
    }
    QVERIFY(!preguntado);
    QVERIFY(!siguiente);
    FijarTerminador({});
}

QTEST_GUILESS_MAIN(TstRutina)
#include "tst_rutina.moc"
