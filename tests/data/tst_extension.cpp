// The VL extension in the stock sqlite3 tool: with it the tool reads, checks and copies a
// demo company; without it the tool refuses the file.
#include "EmpresaPrueba.h"

#include <QProcess>
#include <QTest>

class TstExtension : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sinExtension();
    void conExtension_data();
    void conExtension();

private:
    struct Salida {
        int codigo;
        QString out, err;
    };
    static Salida sqlite3(const QString& archivo, const QString& orden, bool cargar);
};

TstExtension::Salida TstExtension::sqlite3(const QString& archivo, const QString& orden, bool cargar)
{
    QStringList args{QStringLiteral("-batch"), QStringLiteral("-bail")};
    if (cargar)
        args << QStringLiteral("-cmd") << QStringLiteral(".load %1").arg(QStringLiteral(EXTENSION_VL));
    args << archivo << orden;
    QProcess p;
    p.start(QStringLiteral("sqlite3"), args);
    if (!p.waitForFinished(20000))
        return {-1, {}, p.errorString()};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

void TstExtension::sinExtension()
{
    EmpresaPrueba e;
    const auto s = sqlite3(e.ruta(QStringLiteral("EMPRESA_DEMO.db")), QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO"), false);
    QVERIFY2(s.codigo != 0 && s.err.contains(QStringLiteral("no such collation sequence: VL")), qPrintable(s.err));
}

void TstExtension::conExtension_data()
{
    QTest::addColumn<QString>("orden");
    QTest::addColumn<QString>("salida");
    QTest::newRow("integridad") << "PRAGMA integrity_check" << "ok";
    QTest::newRow("claves foráneas") << "PRAGMA foreign_key_check" << "";
    QTest::newRow("comparación de SQL Server")
        << "SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'CAJA EN PESOS   '" << "1.1.01.001";
    QTest::newRow("LIKE sin mayúsculas") << "SELECT COUNT(*) FROM MA_CUENTAS WHERE Descripcion LIKE 'caja%'" << "2";
    QTest::newRow("orden de la intercalación")
        << "SELECT Descripcion FROM MA_CUENTAS WHERE Codigo IN ('1.1.01.001', '1.1.01') ORDER BY Descripcion" << "Caja en pesos\nCaja y bancos";
    QTest::newRow("más entre textos") << "SELECT VL_SUMAR(CODIGO, '-') FROM TA_CCOSTO WHERE CODIGO = '11'" << "11-";
    QTest::newRow("vista confidencial") << "SELECT COUNT(*) FROM SS_MA_CUENTAS WHERE Codigo LIKE '5.4%'" << "0";
    QTest::newRow("copia") << ".backup %1" << "";
}

void TstExtension::conExtension()
{
    QFETCH(QString, orden);
    QFETCH(QString, salida);
    EmpresaPrueba e;
    const QString copia = e.ruta(QStringLiteral("copia.db"));
    const auto s = sqlite3(e.ruta(QStringLiteral("EMPRESA_DEMO.db")), orden.contains(QLatin1String("%1")) ? orden.arg(copia) : orden, true);
    QVERIFY2(s.codigo == 0, qPrintable(s.err));
    QCOMPARE(s.out, salida);
    if (orden.startsWith(QLatin1String(".backup"))) {
        const auto c = sqlite3(copia, QStringLiteral("PRAGMA integrity_check"), true);
        QCOMPARE(c.out, QStringLiteral("ok"));
    }
}

QTEST_GUILESS_MAIN(TstExtension)
#include "tst_extension.moc"
