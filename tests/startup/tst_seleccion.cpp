// ArmarSeleccion: the selection formula the report printer receives, built from conditions.
#include "startup/CNStuffContable.h"

#include <QTest>

using Filtros = QList<FiltroSeleccion>;
Q_DECLARE_METATYPE(Filtros)

namespace {

const QString F = QStringLiteral("{MA_CUENTAS_CCDIST.CODIGO}");
const QString G = QStringLiteral("{MA_CUENTAS.CC_DIST}");

FiltroSeleccion filtro(const QString& desde, const QString& hasta, const QString& campo = F, short noTrim = 0,
                       const QString& operador = {})
{
    return FiltroSeleccion{desde, hasta, campo, 129, noTrim, operador};
}

} // namespace

class TstSeleccion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void armar_data();
    void armar();
};

void TstSeleccion::armar_data()
{
    QTest::addColumn<Filtros>("filtros");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("error");

    const QString t = QStringLiteral("TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO}))");
    QTest::newRow("código 1, desde y hasta")
        << Filtros{filtro(QStringLiteral("1"), QStringLiteral("1"))}
        << QStringLiteral("TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) >= '1'  AND "
                          "TrimLeft(TrimRight({MA_CUENTAS_CCDIST.CODIGO})) <= '1' ")
        << QString();
    QTest::newRow("valores recortados") << Filtros{filtro(QStringLiteral("   1"), QStringLiteral(" 1 "))}
                                        << t + QStringLiteral(" >= '1'  AND ") + t + QStringLiteral(" <= '1' ") << QString();
    QTest::newRow("sólo desde") << Filtros{filtro(QStringLiteral("2"), QString())} << t + QStringLiteral(" >= '2' ") << QString();
    QTest::newRow("sólo hasta") << Filtros{filtro(QString(), QStringLiteral("2"))} << t + QStringLiteral(" <= '2' ") << QString();
    QTest::newRow("código vacío: sin restricción") << Filtros{filtro(QStringLiteral("  "), QString())} << QString() << QString();
    QTest::newRow("sin recortar el campo") << Filtros{filtro(QStringLiteral("1"), QStringLiteral("3"), F, 1)}
                                           << F + QStringLiteral(" >= '1'  AND ") + F + QStringLiteral(" <= '3' ") << QString();
    QTest::newRow("asterisco: LIKE") << Filtros{filtro(QStringLiteral("A*"), QString())} << t + QStringLiteral(" LIKE 'A*' ")
                                     << QString();
    QTest::newRow("asterisco en ambos") << Filtros{filtro(QStringLiteral("1*"), QStringLiteral("1*"))}
                                        << t + QStringLiteral(" LIKE '1*'  AND ") + t + QStringLiteral(" LIKE '1*' ") << QString();
    QTest::newRow("apóstrofo duplicado") << Filtros{filtro(QStringLiteral("O'B"), QStringLiteral("O'B"))}
                                         << t + QStringLiteral(" >= 'O''B'  AND ") + t + QStringLiteral(" <= 'O''B' ") << QString();
    QTest::newRow("desde mayor que hasta (como texto)")
        << Filtros{filtro(QStringLiteral("2"), QStringLiteral("10"))} << QString()
        << QStringLiteral("Desde Mayor que Hasta, Campo : {MA_CUENTAS_CCDIST.CODIGO}");

    const QString g = QStringLiteral("TrimLeft(TrimRight({MA_CUENTAS.CC_DIST}))");
    QTest::newRow("dos registros, operador vacío es AND")
        << Filtros{filtro(QStringLiteral("1"), QString()), filtro(QString(), QStringLiteral("3"), G)}
        << t + QStringLiteral(" >= '1'  AND ") + g + QStringLiteral(" <= '3' ") << QString();
    QTest::newRow("dos registros con OR")
        << Filtros{filtro(QStringLiteral("1"), QString()), filtro(QStringLiteral("3"), QString(), G, 0, QStringLiteral(" or "))}
        << t + QStringLiteral(" >= '1'  OR ") + g + QStringLiteral(" >= '3' ") << QString();
    QTest::newRow("un registro vacío en medio no agrega operador")
        << Filtros{filtro(QStringLiteral("1"), QString()), filtro(QString(), QString(), G, 0, QStringLiteral("OR")),
                   filtro(QStringLiteral("5"), QString(), G, 0, QStringLiteral("AND"))}
        << t + QStringLiteral(" >= '1'  AND ") + g + QStringLiteral(" >= '5' ") << QString();
    QTest::newRow("operador incorrecto")
        << Filtros{filtro(QStringLiteral("1"), QString()), filtro(QStringLiteral("3"), QString(), G, 0, QStringLiteral("XOR"))}
        << QString() << QStringLiteral("Operador logico incorrecto");
}

void TstSeleccion::armar()
{
    QFETCH(Filtros, filtros);
    QFETCH(QString, formula);
    QFETCH(QString, error);
    QString recibido = QStringLiteral("sin tocar");
    QCOMPARE(ArmarSeleccion(filtros, &recibido), formula);
    QCOMPARE(recibido, error.isEmpty() ? QStringLiteral("sin tocar") : error);
    QCOMPARE(ArmarSeleccion(filtros), formula); // the error argument is optional
}

QTEST_GUILESS_MAIN(TstSeleccion)
#include "tst_seleccion.moc"
