// The account lookup on a chart of 100,000 accounts (TopConsArt 100000): the dialog opened
// with its rows shown, one keystroke of the incremental search, an F5 search re-queried and
// redrawn, and the peak resident memory with the list open. Beside it, the sqlite3 C API
// fetching the same rows from the same file.
#include "Demo.h"
#include "Medidas.h"
#include "data/Sesion.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"
#include "distribution/frmProrrata.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

using medidas::directo;
using medidas::maximo;
using medidas::mediana;

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    demo::CrearDemo(dir.path(), demo::Tamanio{100000, 0});
    {
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), QString::fromLatin1(demo::BaseDemo)));
        cn.Execute(QStringLiteral("UPDATE TA_CONFIGURACION SET Valor = '100000' WHERE Clave = 'TopConsArt'"));
    }
    FijarCarpetaAplicacion(dir.path());
    frmProrrata form;
    form.Form_Load(QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ADMIN; orbe@ ;"));
    QString campo, where = QStringLiteral("TITULO=0");
    const QString sql = gConsultas().ArmarSentencia(QStringLiteral("MA_CUENTAS"), campo, where);

    const int veces = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    std::vector<double> abrir, crudo, teclas, f5;
    long filas = 0, filasCrudo = 0;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer t;
        t.start();
        auto d = std::make_unique<Lib_FrmCons3>();
        d->Sql = sql;
        d->CampoDevuelto = QStringLiteral("CODIGO");
        d->Cargar();
        d->show();
        app.processEvents();
        abrir.push_back(t.nsecsElapsed() / 1e6);
        filas = d->modelo()->rowCount();

        // Each keystroke selects its row; the last ones look far down the list.
        d->CmbSearch[1]->setFocus();
        for (QChar c : QStringLiteral("cuenta adicional 99999")) {
            t.restart();
            QTest::keyClicks(d->CmbSearch[1], QString(c));
            app.processEvents();
            teclas.push_back(t.nsecsElapsed() / 1e6);
        }
        d->CmbSearch[1]->clear();
        QTest::keyClicks(d->CmbSearch[1], QStringLiteral("cuenta adicional 5"));
        t.restart();
        QTest::keyClick(d->CmbSearch[1], Qt::Key_F5);
        app.processEvents();
        f5.push_back(t.nsecsElapsed() / 1e6);
        crudo.push_back(directo(QDir(dir.path()).filePath(QStringLiteral("EMPRESA_DEMO.db")), sql, &filasCrudo));
    }
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("consulta de cuentas (%ld filas): abrir mediana %.1f ms (sqlite3 directo, %ld filas: %.1f ms); "
                "tecla mediana %.2f ms, máxima %.2f ms; F5 mediana %.1f ms; memoria máxima %.1f MB (%d corridas)\n",
                filas, mediana(abrir), filasCrudo, mediana(crudo), mediana(teclas), maximo(teclas), mediana(f5),
                uso.ru_maxrss / 1024.0, veces);
    return 0;
}
