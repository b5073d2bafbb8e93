// The login form and BASES.TXT: reading and writing the file (quoted fields, short lines,
// line breaks, where it lies, its permissions), the form driven with real keys (the list,
// the hints, Enter), Conectar through the connection code, Registrar on the demo company,
// the desktop launcher read back, and running a command.
#include "DialogosGuionados.h"
#include "GDBPrueba.h"
#include "data/Sesion.h"
#include "login/AccesoDirecto.h"
#include "login/Bases.h"
#include "login/frmAcceso.h"
#include "startup/CNStuffContable.h"
#include "suite/SuiteUtil.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using Registros = QList<QStringList>;

const QString HintBase = QStringLiteral("ingrese el nombre de la base de datos");
const QString HintServidor = QStringLiteral("ingrese el nombre del servidor e instancia");
const QString HintUsuario = QStringLiteral("Ingrese el usuario");
// Read and write for the owner (who is the user running the test), nothing for others.
const QFileDevice::Permissions SoloDueno =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;

class Variable {
public:
    Variable(const char* n, const QByteArray& v) : n_(n), antes_(qgetenv(n)), habia_(qEnvironmentVariableIsSet(n)) { qputenv(n, v); }
    ~Variable() { habia_ ? qputenv(n_, antes_) : qunsetenv(n_); }

private:
    const char* n_;
    QByteArray antes_;
    bool habia_;
};

// The demo company with gDB closed, the program folder and the user's configuration and
// home in the test's folder.
struct Puesto : GDBPrueba {
    Puesto()
        : GDBPrueba(false),
          config_("XDG_CONFIG_HOME", QFile::encodeName(ruta(QStringLiteral("config")))),
          home_("HOME", QFile::encodeName(ruta(QStringLiteral("home"))))
    {
        FijarNombreEjecutable(QStringLiteral("prorrata"));
    }
    // The user's copy, where new entries go.
    QString bases() const { return ruta(QStringLiteral("config/prorrata/BASES.TXT")); }
    QString escribirBases(const QByteArray& contenido) const
    {
        QDir().mkpath(ruta(QStringLiteral("config/prorrata")));
        return escribir(QStringLiteral("config/prorrata/BASES.TXT"), contenido);
    }
    QByteArray leer(const QString& r) const
    {
        QFile f(r);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
    }
    Variable config_;
    Variable home_;
};

Registros comoListas(const QList<RegistroBase>& l)
{
    Registros r;
    for (const RegistroBase& b : l)
        r << QStringList{b.nombre, b.base, b.login, b.clave, b.servidor};
    return r;
}

QStringList textos(const QListWidget* l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}

// A form loaded and shown, active, as the user finds it.
struct Formulario {
    Formulario()
    {
        f.Form_Load();
        f.show();
        QApplication::setActiveWindow(&f);
        if (!QTest::qWaitForWindowActive(&f))
            qWarning("el formulario no se activó");
    }
    // Types over the box's text, as after a click and Ctrl+A.
    void escribir(QLineEdit* caja, const QString& texto)
    {
        caja->setFocus();
        QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(caja, texto);
    }
    frmAcceso f;
};

// Runs `pasos` on the login form once the connection code shows it; left open, it is
// cancelled afterwards.
void alAbrir(const std::function<void(frmAcceso&)>& pasos, int intentos = 500)
{
    QTimer::singleShot(10, [pasos, intentos] {
        auto* f = qobject_cast<frmAcceso*>(QApplication::activeModalWidget());
        if (!f || !f->isVisible()) {
            if (intentos > 0)
                alAbrir(pasos, intentos - 1);
            return;
        }
        QApplication::setActiveWindow(f);
        if (!QTest::qWaitForWindowActive(f))
            qWarning("el formulario no se activó");
        pasos(*f);
        if (f->isVisible())
            f->bcCancelar_Click();
    });
}

// An Exec value of a desktop entry read back: the string escapes, then the quoting, then
// the doubled percent signs.
QStringList leerExec(const QString& valor)
{
    QString s;
    for (qsizetype i = 0; i < valor.size(); ++i) {
        if (valor[i] != u'\\' || i + 1 == valor.size()) {
            s += valor[i];
            continue;
        }
        const QChar c = valor[++i];
        s += c == u's' ? QChar(u' ') : c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c == u'r' ? QChar(u'\r') : c;
    }
    QStringList args;
    QString actual;
    bool hay = false, comillas = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (comillas) {
            if (c == u'\\' && i + 1 < s.size() && QStringLiteral("\"`$\\").contains(s[i + 1]))
                actual += s[++i];
            else if (c == u'"')
                comillas = false;
            else
                actual += c;
        } else if (c == u' ') {
            if (hay)
                args << actual;
            actual.clear();
            hay = false;
        } else if (c == u'"') {
            comillas = hay = true;
        } else {
            actual += c;
            hay = true;
        }
    }
    if (hay)
        args << actual;
    for (QString& a : args)
        a.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return args;
}

QMap<QString, QString> claves(const QByteArray& entrada)
{
    QMap<QString, QString> r;
    for (const QString& l : QString::fromUtf8(entrada).split(u'\n')) {
        const qsizetype igual = l.indexOf(u'=');
        if (igual > 0)
            r.insert(l.left(igual), l.mid(igual + 1));
    }
    return r;
}

} // namespace

class TstAcceso : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void leer_data();
    void leer();
    void agregar_data();
    void agregar();
    void ubicacion();
    void lista_data();
    void lista();
    void sugerenciasYEnter();
    void conectar_data();
    void conectar();
    void unFormularioALaVez();
    void puertoHastaElControlador_data();
    void puertoHastaElControlador();
    void registrar_data();
    void registrar();
    void accesoDirecto_data();
    void accesoDirecto();
    void ejecutarComando_data();
    void ejecutarComando();
};

void TstAcceso::initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Prorrata")); }

void TstAcceso::leer_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<Registros>("registros");

    const QStringList a{"A / S", "a", "a", "~1", "S"};
    const QStringList b{"B / T", "b", "b", "~2", "T:1444"};
    QTest::newRow("CR LF") << QStringLiteral("A / S,a,a,~1,S\r\nB / T,b,b,~2,T:1444\r\n") << Registros{a, b};
    QTest::newRow("CR solo y LF solo") << QStringLiteral("A / S,a,a,~1,S\rB / T,b,b,~2,T:1444\nA / S,a,a,~1,S") << Registros{a, b, a};
    QTest::newRow("blancos alrededor") << QStringLiteral("  A / S , a,a ,~1,\tS \r\n") << Registros{a};
    QTest::newRow("líneas cortas y vacías") << QStringLiteral("\r\nA / S,a,a\r\n,\r\nB / T,b,b,~2,T:1444\r\n\r\n") << Registros{b};
    QTest::newRow("campos de más") << QStringLiteral("A / S,a,a,~1,S,extra,otro\r\n") << Registros{a};
    QTest::newRow("entre comillas") << QStringLiteral("\"X, \"\"Y\"\" / S\", \" a b \" ,a,~1,\"S,1\"\r\n")
                                    << Registros{{"X, \"Y\" / S", " a b ", "a", "~1", "S,1"}};
    QTest::newRow("salto entre comillas") << QStringLiteral("\"L1\r\nL2\",a,a,~1,S\r\n") << Registros{{"L1\r\nL2", "a", "a", "~1", "S"}};
    QTest::newRow("comilla sin cerrar") << QStringLiteral("A,a,a,~1,\"S") << Registros{{"A", "a", "a", "~1", "S"}};
    QTest::newRow("primer campo vacío") << QStringLiteral(",a,a,~1,S") << Registros{{"", "a", "a", "~1", "S"}};
    QTest::newRow("vacío") << QString() << Registros{};
}

void TstAcceso::leer()
{
    QFETCH(QString, texto);
    QFETCH(Registros, registros);
    QCOMPARE(comoListas(LeerRegistros(texto)), registros);
}

void TstAcceso::agregar_data()
{
    QTest::addColumn<QByteArray>("previo"); // "-" for no file
    QTest::addColumn<QStringList>("campos"); // name, database, server, password
    QTest::addColumn<QByteArray>("agregado");

    const QByteArray linea = "EMP / SRV,emp,emp," + suite::CodificaTexto(QStringLiteral("EMP")).toLatin1() + ",srv\r\n";
    const QStringList simples{"EMP / SRV", "emp", "srv", "EMP"};
    QTest::newRow("sin archivo") << QByteArray("-") << simples << linea;
    QTest::newRow("vacío") << QByteArray() << simples << linea;
    QTest::newRow("termina en CR LF") << QByteArray("A / S,a,a,a,S\r\n") << simples << linea;
    QTest::newRow("sin salto final") << QByteArray("A / S,a,a,a,S") << simples << "\r" + linea;
    QTest::newRow("blancos al final") << QByteArray("A / S,a,a,a,S\r\n  ") << simples << linea;
    QTest::newRow("coma y comillas") << QByteArray("-")
                                      << QStringList{"O\"BRIEN, S.A. / SRV", " o\"brien, s.a. ", "srv,1", "x"}
                                      << "\"O\"\"BRIEN, S.A. / SRV\",\"o\"\"brien, s.a.\",\"o\"\"brien, s.a.\","
                                             + suite::CodificaTexto(QStringLiteral("x")).toLatin1() + ",\"srv,1\"\r\n";
}

// AgregaBase appends the line (quoting what needs it, CR before it after a last line
// without a break), the file stays readable by its owner only, and what was typed reads
// back as typed.
void TstAcceso::agregar()
{
    QFETCH(QByteArray, previo);
    QFETCH(QStringList, campos);
    QFETCH(QByteArray, agregado);
    Puesto p;
    if (previo != "-")
        p.escribirBases(previo);
    bool oracle = false;
    AgregaBase(campos[0], campos[1], campos[1], campos[3], campos[2], QString(), oracle);

    QCOMPARE(p.leer(p.bases()), (previo == "-" ? QByteArray() : previo) + agregado);
    QCOMPARE(QFileInfo(p.bases()).permissions(), SoloDueno);
    const RegistroBase leido = LeerBases().constLast();
    QCOMPARE(leido.nombre, campos[0].trimmed());
    QCOMPARE(leido.base, campos[1].trimmed());
    QCOMPARE(leido.servidor, campos[2].trimmed());
    QCOMPARE(suite::DecodificaTexto(leido.clave), campos[3]);
}

// New entries go to the user's copy (created readable by its owner only, in a folder of the
// owner's), never beside the program; a file beside the program, where earlier versions kept
// it, is still read, first. Oracle and the suffix mark the server field.
void TstAcceso::ubicacion()
{
    Puesto p;
    const QByteArray antes = "A / S,a,a,a,S\r\n";
    const QString antigua = p.escribir(QStringLiteral("BASES.TXT"), antes);
    const QString copia = p.bases();
    QCOMPARE(RutaBasesUsuario(), copia);
    QCOMPARE(RutaBases(), copia);
    bool oracle = true;
    AgregaBase(QStringLiteral("B / T"), QStringLiteral("b"), QStringLiteral("b"), QStringLiteral("b"), QStringLiteral("T"),
               QStringLiteral("X"), oracle);
    QCOMPARE(p.leer(antigua), antes);
    QCOMPARE(QFileInfo(copia).permissions(), SoloDueno);
    for (const char* carpeta : {"config", "config/prorrata"})
        QCOMPARE(QFile::permissions(p.ruta(QLatin1String(carpeta))) & 0x7077,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(RutasBasesLeidas(), (QStringList{antigua, copia}));
    const QList<RegistroBase> ambos = LeerBases();
    QCOMPARE(ambos.size(), 2);
    QCOMPARE(ambos[0].nombre, QStringLiteral("A / S"));
    QCOMPARE(ambos[1].servidor, QStringLiteral("#T/X:"));
}

void TstAcceso::lista_data()
{
    QTest::addColumn<QByteArray>("archivo"); // "-": none
    QTest::addColumn<QList<int>>("teclas");  // keys on the list
    QTest::addColumn<QStringList>("nombres");
    QTest::addColumn<QStringList>("cajas"); // user, password, database, server, port

    const QByteArray conta = "CONTA / SRV1,conta,conta," + suite::CodificaTexto(QStringLiteral("CONTA")).toLatin1() + ",srv1\r\n";
    const QList<int> abajo{Qt::Key_Down}, inicio{Qt::Key_Home};
    QTest::newRow("sin archivo") << QByteArray("-") << QList<int>{} << QStringList{}
                                 << QStringList{"ana", "clave", HintBase, HintServidor, "1433"};
    QTest::newRow("dos con el mismo nombre") << conta + "CONTA / SRV1,otra,otra,otra,srv2\r\n" << abajo
                                             << QStringList{"CONTA / SRV1", "CONTA / SRV1"}
                                             << QStringList{"", "", "conta", "srv1", ""};
    QTest::newRow("primer campo en blanco") << "  ,x,x,x,x\r\n" + conta << inicio << QStringList{"CONTA / SRV1"}
                                            << QStringList{"", "", "conta", "srv1", ""};
    QTest::newRow("puerto") << conta + "CONTA / SRV9,conta,conta,conta,srv9 :1444\r\n" << abajo
                            << QStringList{"CONTA / SRV1", "CONTA / SRV9"} << QStringList{"", "", "conta", "SRV9", "1444"};
    QTest::newRow("puerto y luego sin puerto") << "CONTA / SRV9,conta,conta,conta,srv9:1444\r\n" + conta << abajo
                                               << QStringList{"CONTA / SRV9", "CONTA / SRV1"}
                                               << QStringList{"", "", "conta", "srv1", ""};
    QTest::newRow("línea corta y comillas") << QByteArray("corta,1,2\r\n\"A, \"\"B\"\" / S\",a,a,a,\"S,1\"") << inicio
                                            << QStringList{"A, \"B\" / S"} << QStringList{"", "", "a", "S,1", ""};
}

// The registered connections in the list; choosing one with the keys shows it in the boxes
// and empties the user and password typed before.
void TstAcceso::lista()
{
    QFETCH(QByteArray, archivo);
    QFETCH(QList<int>, teclas);
    QFETCH(QStringList, nombres);
    QFETCH(QStringList, cajas);
    Puesto p;
    if (archivo != "-")
        p.escribir(QStringLiteral("BASES.TXT"), archivo);
    DialogosGuionados d;
    Formulario form;
    frmAcceso& f = form.f;
    QCOMPARE(textos(f.lstBases), nombres);

    form.escribir(f.TxtUserId, QStringLiteral("ana"));
    form.escribir(f.TxtUserPassword, QStringLiteral("clave"));
    f.lstBases->setFocus();
    for (int t : teclas)
        QTest::keyClick(f.lstBases, Qt::Key(t));
    const QStringList vistas{f.TxtUserId->text(), f.TxtUserPassword->text(), f.TxtDbName->text(), f.TxtServidor->text(),
                             f.TxtPuerto->text()};
    QCOMPARE(vistas, cajas);
}

// Hints in empty boxes (fully selected, replaced by typing, never read as values), Enter
// from box to box and on to Conectar, the captions and tool tips.
void TstAcceso::sugerenciasYEnter()
{
    Puesto p;
    DialogosGuionados d;
    Formulario form;
    frmAcceso& f = form.f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Control de Acceso"));
    QCOMPARE(f.Label7->text(), QStringLiteral("ORBE VELA"));
    QCOMPARE(f.TxtServidor->toolTip(), QStringLiteral("ingrese el nombre del servidor e instancia"));
    QCOMPARE(f.TxtPuerto->toolTip(), QStringLiteral("Ingrese el Puerto "));
    QCOMPARE(f.CboPlataformaDB->count(), 2);
    QCOMPARE(f.CboPlataformaDB->itemText(1), QStringLiteral("ORACLE"));
    QCOMPARE(f.TxtDbName->text(), HintBase);
    QCOMPARE(f.TxtServidor->text(), HintServidor);
    QCOMPARE(frmAcceso::Valor(f.TxtDbName), QString());

    f.TxtUserId->setFocus();
    QCOMPARE(f.TxtUserId->text(), HintUsuario);
    QCOMPARE(f.TxtUserId->selectedText(), HintUsuario);
    QTest::keyClicks(f.TxtUserId, QStringLiteral("ana"));
    QTest::keyClick(f.TxtUserId, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.TxtUserPassword);
    QTest::keyClicks(f.TxtUserPassword, QStringLiteral("x"));
    QTest::keyClick(f.TxtUserPassword, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), f.TxtDbName);
    QTest::keyClicks(f.TxtDbName, QStringLiteral("emp"));
    QCOMPARE(f.TxtDbName->text(), QStringLiteral("emp"));

    // Emptied, the box shows its hint again, fully selected; typing replaces it.
    QTest::keyClick(f.TxtDbName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.TxtDbName, Qt::Key_Backspace);
    QCOMPARE(f.TxtDbName->text(), HintBase);
    QCOMPARE(f.TxtDbName->selectedText(), HintBase);
    QTest::keyClick(f.TxtDbName, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.TxtServidor);
    // A click inside the hint leaves no selection; typing still replaces the hint.
    QTest::mouseClick(f.TxtServidor, Qt::LeftButton, {}, QPoint(40, f.TxtServidor->height() / 2));
    QTest::keyClicks(f.TxtServidor, QStringLiteral("srv"));
    QCOMPARE(f.TxtServidor->text(), QStringLiteral("srv"));
    QTest::keyClick(f.TxtServidor, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.bcAceptar);
    QCOMPARE(frmAcceso::Valor(f.TxtDbName), QString());
    QCOMPARE(f.TxtUserId->text(), QStringLiteral("ana"));
    QVERIFY(f.isVisible());
}

void TstAcceso::conectar_data()
{
    QTest::addColumn<bool>("registrada");
    QTest::addColumn<QString>("como"); // "teclas", "doble clic", "escape"
    QTest::addColumn<bool>("abierta");

    QTest::newRow("sin archivo, tecleada: se registra") << false << "teclas" << true;
    QTest::newRow("registrada, doble clic") << true << "doble clic" << true;
    QTest::newRow("cancelada") << true << "escape" << false;
}

// A failed first connection, Yes in the failure dialog, and the login form: what it hands
// back opens the demo company; on a workstation without BASES.TXT the connection gets
// registered; cancelling leaves the connection closed after one question.
void TstAcceso::conectar()
{
    QFETCH(bool, registrada);
    QFETCH(QString, como);
    QFETCH(bool, abierta);
    Puesto p;
    const QByteArray linea = "EMPRESA_DEMO / DEMO,EMPRESA_DEMO,EMPRESA_DEMO,"
        + suite::CodificaTexto(QStringLiteral("EMPRESA_DEMO")).toLatin1() + ",DEMO\r\n";
    if (registrada)
        p.escribirBases("OTRA / DEMO,OTRA,OTRA,OTRA,DEMO\r\n" + linea);
    InstalarPromptAcceso();
    DialogosGuionados d;
    d.responder(suite::vbYes);

    alAbrir([&](frmAcceso& f) {
        if (como == QLatin1String("teclas")) {
            f.TxtUserId->setFocus();
            for (const char* t : {"ANA", "secreta", "EMPRESA_DEMO", "DEMO"}) {
                QWidget* caja = QApplication::focusWidget();
                QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier); // over the pre-filled text
                QTest::keyClicks(caja, QString::fromLatin1(t));
                QTest::keyClick(caja, Qt::Key_Return);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // on Conectar
        } else if (como == QLatin1String("doble clic")) {
            const QRect r = f.lstBases->visualItemRect(f.lstBases->item(1));
            QTest::mouseClick(f.lstBases->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(f.lstBases->viewport(), Qt::LeftButton, {}, r.center());
        } else {
            QTest::keyClick(f.TxtDbName, Qt::Key_Escape);
        }
    });
    gUsuarioLogeado = QStringLiteral("PEDRO");
    gDB.gServidor = QStringLiteral("DEMO");
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("NO_EXISTE");
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    FijarPromptAcceso(nullptr);

    QCOMPARE(gDB.gOpenFlag, abierta);
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.vistos()[0].titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
    if (!abierta) {
        QCOMPARE(gDB.gCnn.State(), int(ado::adStateClosed));
        return;
    }
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateOpen));
    QCOMPARE(gDB.gDBName, QStringLiteral("EMPRESA_DEMO"));
    QCOMPARE(gDB.gUsuario, QStringLiteral("EMPRESA_DEMO"));
    QCOMPARE(gDB.gServidor, QStringLiteral("DEMO"));
    QCOMPARE(gDB.gProveedor, DB_Dll::pSQLOLEDB);
    QCOMPARE(gUsuarioLogeado, registrada ? QString() : QStringLiteral("ANA"));
    QCOMPARE(gPassWordLogeado, registrada ? QString() : QStringLiteral("secreta"));
    QCOMPARE(p.leer(p.bases()), registrada ? "OTRA / DEMO,OTRA,OTRA,OTRA,DEMO\r\n" + linea : linea);
}

void TstAcceso::unFormularioALaVez()
{
    // No BASES.TXT and a database that cannot be opened: Conectar tries to register it, the
    // registration's failure asks to try again, and Sí goes back to the form on screen, never
    // a second form on top of it.
    Puesto p;
    InstalarPromptAcceso();
    DialogosGuionados d;
    d.responder(suite::vbYes).responder(suite::vbYes).responder(suite::vbOK);
    int masVisibles = 0;
    QTimer mirar;
    mirar.setInterval(20);
    const auto contar = [&] {
        QList<frmAcceso*> visibles;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<frmAcceso*>(w); f && f->isVisible())
                visibles << f;
        masVisibles = std::max(masVisibles, int(visibles.size()));
        if (visibles.size() > 1) { // the one on top goes, so that the test can end
            auto* arriba = qobject_cast<frmAcceso*>(QApplication::activeModalWidget());
            (arriba ? arriba : visibles.last())->bcCancelar_Click();
        }
    };
    connect(&mirar, &QTimer::timeout, this, contar);
    mirar.start();
    bool sigueAbierto = false;
    alAbrir([&](frmAcceso& f) {
        f.TxtDbName->setText(QStringLiteral("NO_EXISTE"));
        f.TxtServidor->setText(QStringLiteral("DEMO"));
        contar();
        f.bcAceptar->click();
        sigueAbierto = f.isVisible() && !f.Aceptar;
    });
    gDB.gServidor = QStringLiteral("DEMO");
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("NO_EXISTE");
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    mirar.stop();
    FijarPromptAcceso(nullptr);

    QVERIFY2(masVisibles == 1, qPrintable(QStringLiteral("%1 formularios a la vez; diálogos: %2").arg(masVisibles).arg(d.vistos().size())));
    QVERIFY(sigueAbierto);
    QVERIFY(!gDB.gOpenFlag);
    QCOMPARE(d.vistos().size(), 3);
    QCOMPARE(d.vistos()[1].titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
    QVERIFY(d.ultimo().texto.startsWith(QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR DEMO")));
    QVERIFY(!QFileInfo::exists(p.bases()));
}

void TstAcceso::puertoHastaElControlador_data()
{
    QTest::addColumn<QString>("servidor"); // typed in the server box; "<lista>": the registered SRV:1447
    QTest::addColumn<QString>("puerto");   // in the port box
    QTest::addColumn<int>("esperado");     // where FreeTDS connects
    QTest::newRow("caja de puerto") << "127.0.0.1" << "1444" << 1444;
    QTest::newRow("HOST:PUERTO en la caja del servidor") << "127.0.0.1:1445" << "1433" << 1445;
    QTest::newRow("HOST,PUERTO") << "127.0.0.1,1446" << "" << 1446;
    QTest::newRow("puerto por defecto") << "127.0.0.1" << "1433" << 1433;
    QTest::newRow("conexión registrada con puerto") << "<lista>" << "" << 1447;
}

void TstAcceso::puertoHastaElControlador()
{
    // The port of the login form reaches the SQL Server driver (FreeTDS's own log says where
    // it connects); nothing listens there, so the connection fails and No ends the attempt.
    QFETCH(QString, servidor);
    QFETCH(QString, puerto);
    QFETCH(int, esperado);
    Puesto p;
    p.escribir(QStringLiteral("BASES.TXT"), "EMPRESA / 127.0.0.1,EMPRESA,EMPRESA,EMPRESA,127.0.0.1:1447\r\n");
    // FreeTDS opens its log once per process: one file for every case, read from where it was.
    static QTemporaryDir carpetaTds;
    const QString registroTds = carpetaTds.filePath(QStringLiteral("tds.log"));
    Variable tds("TDSDUMP", QFile::encodeName(registroTds));
    qint64 desde = 0;
    InstalarPromptAcceso();
    DialogosGuionados d;
    d.responder(suite::vbYes).responder(suite::vbNo);
    alAbrir([&](frmAcceso& f) {
        if (servidor == QLatin1String("<lista>")) {
            f.lstBases->setCurrentRow(0);
            f.AsignarDatosBase();
            QCOMPARE(f.TxtServidor->text(), QStringLiteral("127.0.0.1"));
            QCOMPARE(f.TxtPuerto->text(), QStringLiteral("1447"));
        } else {
            f.TxtDbName->setText(QStringLiteral("EMPRESA"));
            f.TxtServidor->setText(servidor);
            f.TxtPuerto->setText(puerto);
        }
        desde = QFileInfo(registroTds).size();
        f.bcAceptar->click();
    });
    gDB.gServidor = QStringLiteral("DEMO");
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QStringLiteral("NO_EXISTE");
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    FijarPromptAcceso(nullptr);
    QVERIFY(!gDB.gOpenFlag);
    QCOMPARE(d.vistos().size(), 2);
    const QByteArray log = p.leer(registroTds).mid(desde);
    QVERIFY2(log.contains(QStringLiteral("Connecting to 127.0.0.1 port %1").arg(esperado).toLatin1()), log.right(2000).constData());
}

void TstAcceso::registrar_data()
{
    QTest::addColumn<QByteArray>("archivo");
    QTest::addColumn<QStringList>("cajas"); // database, server, user, password
    QTest::addColumn<QList<int>>("respuestas");
    QTest::addColumn<QString>("aviso");     // the last message, or empty
    QTest::addColumn<QByteArray>("agregado");

    const QByteArray demo = "EMPRESA_DEMO / DEMO,empresa_demo,empresa_demo,"
        + suite::CodificaTexto(QStringLiteral("empresa_demo")).toLatin1() + ",demo\r\n";
    QTest::newRow("nueva, con blancos") << QByteArray() << QStringList{"  empresa_demo ", " demo ", " ana ", "x"}
                                        << QList<int>{} << QString() << demo;
    QTest::newRow("ya existe, otro puerto") << demo << QStringList{"Empresa_Demo", "DEMO:1444", "ana", "x"}
                                            << QList<int>{suite::vbOK}
                                            << QStringLiteral("La conexion que intenta registrar ya existe ") << QByteArray();
    QTest::newRow("inalcanzable") << QByteArray() << QStringList{"NO_EXISTE", "DEMO", "ana", "x"}
                                  << QList<int>{suite::vbNo, suite::vbOK}
                                  << QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR DEMO VERIFIQUE EL NOMBRE DE USUARIO Y "
                                                    "PASSWORD INGRESADO")
                                  << QByteArray();
    QTest::newRow("archivo imposible") << QByteArray("x") << QStringList{"EMPRESA_DEMO", "DEMO", "ana", "x"}
                                       << QList<int>{suite::vbOK}
                                       << QStringLiteral("SQL Server start failed.  \rSQL-DMO error:   75 No se pudo escribir")
                                       << QByteArray();
}

// Registrar tests the connection (login and password the database's name), writes the
// boxes back trimmed and appends the entry; a registered name, an unreachable database and
// a file that cannot be written each end with their message and nothing written.
void TstAcceso::registrar()
{
    QFETCH(QByteArray, archivo);
    QFETCH(QStringList, cajas);
    QFETCH(QList<int>, respuestas);
    QFETCH(QString, aviso);
    QFETCH(QByteArray, agregado);
    Puesto p;
    const bool imposible = QTest::currentDataTag() == QByteArray("archivo imposible");
    if (imposible) {
        // Neither the program folder nor the user's configuration can hold the file.
        const QString bloqueo = p.escribir(QStringLiteral("bloqueo"), "x");
        FijarCarpetaAplicacion(bloqueo + QStringLiteral("/programa"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(bloqueo + QStringLiteral("/config")));
    } else if (!archivo.isEmpty()) {
        p.escribirBases(archivo);
    }
    // An ODBC.exe beside the program is started with the server and database.
    const QString odbc = p.escribir(QStringLiteral("ODBC.exe"), "#!/bin/sh\nprintf %s \"$1\" > \"$0.args\"\n");
    QFile::setPermissions(odbc, QFile::permissions(odbc) | QFileDevice::ExeOwner);

    DialogosGuionados d;
    for (int r : respuestas)
        d.responder(r);
    Formulario form;
    frmAcceso& f = form.f;
    for (auto [caja, texto] : {std::pair{f.TxtDbName, cajas[0]}, {f.TxtServidor, cajas[1]}, {f.TxtUserId, cajas[2]},
                               {f.TxtUserPassword, cajas[3]}})
        form.escribir(caja, texto);
    QTest::mouseClick(f.CmdRegistrar, Qt::LeftButton);

    if (aviso.isEmpty())
        QVERIFY(d.vistos().isEmpty());
    else
        QVERIFY2(d.ultimo().texto.startsWith(aviso), qPrintable(d.ultimo().texto));
    if (!imposible)
        QCOMPARE(p.leer(p.bases()), agregado.isEmpty() ? (archivo.isEmpty() ? QByteArray("(no existe)") : archivo)
                                                       : archivo + agregado);
    QCOMPARE(gDB.gCnn.State(), int(ado::adStateClosed));
    if (!agregado.isEmpty()) {
        QCOMPARE((QStringList{f.TxtDbName->text(), f.TxtServidor->text()}), (QStringList{"empresa_demo", "demo"}));
        QCOMPARE(textos(f.lstBases), QStringList{"EMPRESA_DEMO / DEMO"});
        QCOMPARE(gDB.gDBName, QString()); // the test connection leaves gDB's values alone
        QTRY_COMPARE(p.leer(odbc + QStringLiteral(".args")), QByteArray("Server=demo;DB=;"));
    } else if (QTest::currentDataTag() == QByteArray("inalcanzable")) {
        QCOMPARE(gDB.gUsuario, QStringLiteral("ana")); // the typed login was tried
        QCOMPARE(p.leer(odbc + QStringLiteral(".args")), QByteArray("(no existe)"));
    }
}

void TstAcceso::accesoDirecto_data()
{
    QTest::addColumn<bool>("carpetaXdg"); // user-dirs.dirs names the desktop
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<QString>("base");

    QTest::newRow("blanco y comillas") << true << QStringLiteral("SRV01\\CONTA") << QStringLiteral("MI \"EMPRESA\" SA");
    QTest::newRow("porcentaje y dólar, ~/Desktop") << false << QStringLiteral("srv$1") << QStringLiteral("50% `x` 'y'");
}

// The launcher names the program, its icon and the typed connection (never the password);
// its Exec line read back by the desktop-entry rules gives the command line as written. A
// second one with the same title is refused.
void TstAcceso::accesoDirecto()
{
    QFETCH(bool, carpetaXdg);
    QFETCH(QString, servidor);
    QFETCH(QString, base);
    Puesto p;
    QString escritorio = p.ruta(QStringLiteral("home/Desktop"));
    if (carpetaXdg) {
        escritorio = p.ruta(QStringLiteral("Mi Escritorio"));
        QDir().mkpath(p.ruta(QStringLiteral("config")));
        p.escribir(QStringLiteral("config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"" + QFile::encodeName(escritorio) + "\"\n");
    }
    DialogosGuionados d;
    d.responder(suite::vbOK).responder(suite::vbOK);
    Formulario form;
    frmAcceso& f = form.f;
    form.escribir(f.TxtServidor, servidor);
    form.escribir(f.TxtDbName, base);
    form.escribir(f.TxtUserId, QStringLiteral("ana"));
    form.escribir(f.TxtUserPassword, QStringLiteral("secreta"));
    QTest::mouseClick(f.CmdLineaComando, Qt::LeftButton);
    QCOMPARE(d.ultimo().texto, QStringLiteral("Acceso directo creado correctamente en el escritorio."));

    const QString lanzador = escritorio + QStringLiteral("/Prorrata.desktop");
    const QByteArray contenido = p.leer(lanzador);
    QVERIFY(!contenido.contains("secreta"));
    QVERIFY(QFileInfo(lanzador).isExecutable());
    QCOMPARE(QFile::permissions(lanzador) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QMap<QString, QString> c = claves(contenido);
    QVERIFY(contenido.startsWith("[Desktop Entry]\n"));
    QCOMPARE(c.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(c.value(QStringLiteral("Name")), QStringLiteral("Prorrata"));
    QCOMPARE(c.value(QStringLiteral("Icon")), QStringLiteral("prorrata"));
    const QStringList exec = leerExec(c.value(QStringLiteral("Exec")));
    const QString linea = QStringLiteral(" ; @server=") + servidor + QStringLiteral("; @dbname=") + base
        + QStringLiteral("; @usuario=ana; @Password=; @ParametroAdicional=; orbe@ ; @UsuarioLogeado = ; @Caja=;");
    QCOMPARE(exec, (QStringList{p.carpeta() + QStringLiteral("/prorrata"), linea}));
    QCOMPARE(ValorToken(exec[1], QStringLiteral("@dbname")), base);

    QTest::mouseClick(f.CmdLineaComando, Qt::LeftButton);
    QCOMPARE(d.ultimo().texto, QStringLiteral("El acceso directo ya existe."));
    QCOMPARE(d.ultimo().titulo, QStringLiteral("Acceso Directo"));
    QCOMPARE(p.leer(lanzador), contenido);
}

void TstAcceso::ejecutarComando_data()
{
    QTest::addColumn<QString>("linea");
    QTest::addColumn<bool>("bien");
    QTest::addColumn<QString>("error");

    QTest::newRow("termina bien") << QStringLiteral("sh -c \"exit 0\"") << true << QString();
    QTest::newRow("termina mal") << QStringLiteral("sh -c \"echo falta el servidor >&2; exit 3\"") << false
                                 << QStringLiteral("Error al ejecutar el comando (código de salida 3): falta el servidor");
    QTest::newRow("no existe") << QStringLiteral("/no/existe/ODBC.exe Server=x") << false
                               << QStringLiteral("Error al ejecutar el comando");
    QTest::newRow("vacía") << QString() << false << QStringLiteral("Error al ejecutar el comando");
}

void TstAcceso::ejecutarComando()
{
    QFETCH(QString, linea);
    QFETCH(bool, bien);
    QFETCH(QString, error);
    frmAcceso f;
    QString devuelto;
    QCOMPARE(f.EjecutarCmdRegDB(linea, devuelto), bien);
    QCOMPARE(devuelto, error);
}

QTEST_MAIN(TstAcceso)
#include "tst_acceso.moc"
