// A database file chosen by the user (OpenLocalADODB): a SQLite file opens through the SQLite
// engine, an Access file is handed to the MDB Tools driver, and a name that does not lead to
// a database brings the picker back; cancelling it opens nothing and says nothing.
#include "DialogosGuionados.h"
#include "EmpresaPrueba.h"
#include "data/DB_Dll.h"

#include <QFile>
#include <QTest>

class TstBaseLocal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { gDB.Reiniciar(); }
    void cleanup() { gDB.Reiniciar(); }
    void cancelado();
    void elegirOtraVez_data();
    void elegirOtraVez();
    void archivoAccess();
};

namespace {
const QString Jet = QStringLiteral("Microsoft.Jet.OLEDB.4.0");

void abrirLocal(const QString& archivo)
{
    gDB.gProveedor = Jet;
    gDB.gDBName = archivo;
    gDB.gUsuario = QStringLiteral("Admin");
    gDB.OpenLocalADODB(QString(), QStringLiteral("User Id"), QStringLiteral("Password"));
}
} // namespace

void TstBaseLocal::cancelado()
{
    DialogosGuionados d;
    d.elegirArchivo(std::nullopt);
    abrirLocal(QString());
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Buscar Base de Datos"));
    QCOMPARE(d.ultimo().texto, QStringLiteral("Base de Datos de Microsoft Access |*.MDB"));
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateClosed));
    QVERIFY(gDB.gConnString.isEmpty());
}

void TstBaseLocal::elegirOtraVez_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QByteArray>("contenido"); // empty: no such file
    QTest::newRow("archivo inexistente") << "no_esta.mdb" << QByteArray();
    QTest::newRow("carpeta inexistente") << "no_hay/base.mdb" << QByteArray();
    QTest::newRow("no es una base de datos") << "notas.mdb" << QByteArray("Esto no es una base de datos\n");
}

void TstBaseLocal::elegirOtraVez()
{
    QFETCH(QString, nombre);
    QFETCH(QByteArray, contenido);
    EmpresaPrueba e;
    const QString empresa = e.ruta(QStringLiteral("EMPRESA_DEMO.db"));
    QVERIFY(QFile::exists(empresa));
    if (!contenido.isEmpty()) {
        QFile f(e.ruta(nombre));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenido);
    }
    DialogosGuionados d;
    d.elegirArchivo(empresa);
    abrirLocal(e.ruta(nombre));
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Buscar Base de Datos"));
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
    QCOMPARE(gDB.gDBName, empresa);
    QCOMPARE(gDB.gConnString, QStringLiteral("PROVIDER=") + Jet + QStringLiteral(";Data Source =") + empresa
                                  + QStringLiteral(";User Id=Admin;Password=;"));
    QCOMPARE(EmpresaPrueba::valor(gDB.gCnn, QStringLiteral("SELECT COUNT(*) FROM TA_CCOSTO")).toInt(), 14);
}

void TstBaseLocal::archivoAccess()
{
    // A file with an Access header goes to the MDB Tools driver, which reads the file only
    // when asked for data: a damaged one fails its first statement with an error, no crash.
    EntornoPrueba e;
    QFile f(e.ruta(QStringLiteral("danada.mdb")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QByteArray cabecera(4096, '\0');
    cabecera.replace(4, 15, "Standard Jet DB");
    f.write(cabecera);
    f.close();
    DialogosGuionados d;
    abrirLocal(f.fileName());
    QCOMPARE(d.vistos().size(), 0);
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
    QVERIFY_THROWS_EXCEPTION(std::exception, gDB.gCnn.Execute(QStringLiteral("SELECT * FROM MSysObjects")));
    QVERIFY(gDB.gCnn.Errors().Count() > 0);
}

QTEST_MAIN(TstBaseLocal)
#include "tst_base_local.moc"
