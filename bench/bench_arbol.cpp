// The tree of cost centres on a chart of 100,000 centres in five levels (codes 0 to 99999,
// each under the code one digit shorter): the dialog opened with the tree shown, each
// keystroke of its search (a code near the end, and a text that matches nothing, which reads
// every node), and the peak resident memory. Beside it, the sqlite3 C API fetching the same
// rows from the same file.
#include "Demo.h"
#include "Medidas.h"
#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/frmProrrata.h"
#include "lookup/Lib_FrmCons3Tree.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

using medidas::directo;
using medidas::maximo;
using medidas::mediana;

// TA_CCOSTO with five-character codes 0..99999.
void cargarCentros()
{
    ado::Connection cn;
    cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
    cn.Execute(QStringLiteral("DROP TABLE TA_CCOSTO"));
    cn.Execute(QStringLiteral("CREATE TABLE TA_CCOSTO (CODIGO varchar(5) NOT NULL PRIMARY KEY, DESCRIPCION varchar(60) NOT NULL)"));
    cn.BeginTrans();
    const QString insertar = QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
                                 .arg(cn.motor()->citar(QStringLiteral("TA_CCOSTO")), cn.motor()->citar(QStringLiteral("CODIGO")),
                                      cn.motor()->citar(QStringLiteral("DESCRIPCION")));
    for (int i = 0; i < 100000; ++i)
        cn.motor()->ejecutarSql(insertar, {QString::number(i), QStringLiteral("Centro de costo %1").arg(i)});
    cn.CommitTrans();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    demo::CrearDemo(dir.path(), demo::Tamanio{0, 0});
    cargarCentros();
    FijarCarpetaAplicacion(dir.path());
    frmProrrata form;
    form.Form_Load(QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ADMIN; orbe@ ;"));
    const QString sql = QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO");

    const int veces = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    std::vector<double> abrir, crudo, teclas, sinCoincidencia;
    int nodos = 0;
    long filasCrudo = 0;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer t;
        t.start();
        auto d = std::make_unique<Lib_FrmCons3Tree>();
        d->Sql = sql;
        d->CampoDevuelto = QStringLiteral("CODIGO");
        d->Cargar();
        d->show();
        app.processEvents();
        abrir.push_back(t.nsecsElapsed() / 1e6);
        nodos = d->modelo()->arbol().cantidad() - 1;

        // The code searched is the last node: each keystroke reads most of the tree and
        // opens the branches down to the node found.
        d->CmbSearch->setFocus();
        for (QChar c : QStringLiteral("99999")) {
            t.restart();
            QTest::keyClicks(d->CmbSearch, QString(c));
            app.processEvents();
            teclas.push_back(t.nsecsElapsed() / 1e6);
        }
        t.restart();
        QTest::keyClicks(d->CmbSearch, QStringLiteral("x"));
        app.processEvents();
        sinCoincidencia.push_back(t.nsecsElapsed() / 1e6);
        crudo.push_back(directo(QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db")), sql, &filasCrudo));
    }
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("árbol de centros de costo (%d nodos, 5 niveles): abrir mediana %.1f ms, máxima %.1f ms (sqlite3 directo, %ld filas: "
                "%.1f ms); tecla mediana %.2f ms, máxima %.2f ms; tecla sin coincidencia mediana %.2f ms; memoria máxima %.1f MB "
                "(%d corridas)\n",
                nodos, mediana(abrir), maximo(abrir), filasCrudo, mediana(crudo), mediana(teclas), maximo(teclas),
                mediana(sinCoincidencia), uso.ru_maxrss / 1024.0, veces);
    return 0;
}
