// Where configuration is read and what the company tool writes: the folders in XDG order, the
// registry of servers and the INI files found in that order, the registry entry the tool
// puts in place of an old one, and company files readable by their owner only.
#include "Demo.h"
#include "data/ado/Ado.h"
#include "data/ado/CadenaConexion.h"
#include "suite/Carpetas.h"
#include "suite/ErrorRT.h"
#include "suite/Ini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

class Variable {
public:
    Variable(const char* n, const std::optional<QByteArray>& v) : n_(n), antes_(qgetenv(n)), habia_(qEnvironmentVariableIsSet(n))
    {
        v ? qputenv(n, *v) : qunsetenv(n);
    }
    ~Variable() { habia_ ? qputenv(n_, antes_) : qunsetenv(n_); }

private:
    const char* n_;
    QByteArray antes_;
    bool habia_;
};

QString escribir(const QString& ruta, const QByteArray& datos)
{
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size())
        qFatal("no se pudo escribir %s", qPrintable(ruta));
    return ruta;
}

QByteArray leer(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
}

const auto SoloDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A home and XDG folders of the test's own.
struct Usuario {
    QTemporaryDir dir;
    Variable home{"HOME", QFile::encodeName(dir.filePath("home"))};
    Variable config{"XDG_CONFIG_HOME", std::nullopt};
    Variable datos{"XDG_DATA_HOME", std::nullopt};
    Variable estado{"XDG_STATE_HOME", std::nullopt};
    Variable sistema{"XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath("xdg1") + u':' + dir.filePath("xdg2"))};
    Variable servidores{"VL_SERVIDORES", std::nullopt};
    Variable carpetaIni{"VL_CARPETA_INI", std::nullopt};
    QString ruta(const char* r) const { return dir.filePath(QLatin1String(r)); }
};

} // namespace

class TstConfiguracion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { ado::FijarRegistroServidores({}); }
    void carpetas();
    void registroEnOrden();
    void iniEnOrden();
    void anotarEnRegistro();
    void empresaDelUsuario();
};

void TstConfiguracion::carpetas()
{
    Usuario u;
    const QString programa = QDir::cleanPath(QCoreApplication::applicationDirPath());
    QCOMPARE(suite::CarpetasConfiguracion(),
             (QStringList{u.ruta("home/.config/prorrata"), u.ruta("xdg1/prorrata"), u.ruta("xdg2/prorrata"),
                          QStringLiteral("/etc/prorrata"), programa}));
    QCOMPARE(suite::CarpetaDatosUsuario(), u.ruta("home/.local/share/prorrata"));
    QCOMPARE(suite::CarpetaEstadoUsuario(), u.ruta("home/.local/state/prorrata"));
    {
        // Set variables count; relative ones are ignored, as XDG says.
        Variable c("XDG_CONFIG_HOME", QFile::encodeName(u.ruta("cfg")));
        Variable d("XDG_DATA_HOME", QByteArray("relativa/datos"));
        Variable s("XDG_CONFIG_DIRS", QByteArray("relativa:") + QFile::encodeName(u.ruta("xdg3")));
        QCOMPARE(suite::CarpetasConfiguracion(),
                 (QStringList{u.ruta("cfg/prorrata"), u.ruta("xdg3/prorrata"), QStringLiteral("/etc/prorrata"), programa}));
        QCOMPARE(suite::CarpetaDatosUsuario(), u.ruta("home/.local/share/prorrata"));
    }
    {
        Variable s("XDG_CONFIG_DIRS", std::nullopt);
        QCOMPARE(suite::CarpetasConfiguracion().at(1), QStringLiteral("/etc/xdg/prorrata"));
    }
    // Folders made for the user's files are the owner's alone, each missing level.
    QVERIFY(suite::CrearCarpetaPropia(u.ruta("home/.local/state/prorrata")));
    for (const char* c : {"home", "home/.local", "home/.local/state", "home/.local/state/prorrata"})
        QCOMPARE(QFile::permissions(u.ruta(c)) & 0x7077, SoloDueno | QFileDevice::ExeOwner);
    QVERIFY(!suite::CrearCarpetaPropia(escribir(u.ruta("archivo"), "x") + QStringLiteral("/dentro")));
}

void TstConfiguracion::registroEnOrden()
{
    Usuario u;
    const QByteArray uno = "[DEMO]\nMotor=SQLite\nCarpeta=.\n";
    const QString propio = escribir(u.ruta("home/.config/prorrata/servidores.ini"), uno);
    const QString xdg1 = escribir(u.ruta("xdg1/prorrata/SERVIDORES.INI"), uno); // any letter case
    const QString xdg2 = escribir(u.ruta("xdg2/prorrata/servidores.ini"), uno);
    const QString variable = escribir(u.ruta("otro.ini"), uno);
    {
        Variable v("VL_SERVIDORES", QFile::encodeName(variable));
        QCOMPARE(ado::RutaRegistroServidores(), variable);
    }
    QCOMPARE(ado::RutaRegistroServidores(), propio);
    QFile::remove(propio);
    QCOMPARE(ado::RutaRegistroServidores(), xdg1);
    // A file of comments only (the package's example) does not hide the next one.
    escribir(xdg1, "; ejemplos\n;[OFICINA]\n;Motor=PostgreSQL\n");
    QCOMPARE(ado::RutaRegistroServidores(), xdg2);
    // When none names a server, the first that exists, so that its problem is reported.
    escribir(xdg2, "");
    if (!QFileInfo::exists(QStringLiteral("/etc/prorrata/servidores.ini"))
        && !QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/servidores.ini"))) {
        QCOMPARE(ado::RutaRegistroServidores(), xdg1);
        QCOMPARE(ado::ProblemaRegistroServidores(), std::optional<QString>(QStringLiteral("está vacío: no lista ningún servidor")));
        QFile::remove(xdg1);
        QFile::remove(xdg2);
        // None at all: the user's, where one is to be written.
        QCOMPARE(ado::RutaRegistroServidores(), u.ruta("home/.config/prorrata/servidores.ini"));
    }
    // A relative Carpeta is taken from the registry found.
    escribir(xdg2, uno);
    QCOMPARE(ado::BuscarServidor(QStringLiteral("demo"))->value(QStringLiteral("carpeta")), u.ruta("xdg2/prorrata"));
}

void TstConfiguracion::iniEnOrden()
{
    Usuario u;
    escribir(u.ruta("xdg2/prorrata/cn000pr.ini"), "[ANAStyles]\nStyles=3\n");
    QCOMPARE(suite::LeerIni(QStringLiteral("cn000pr.ini"), QStringLiteral("anaStyles"), QStringLiteral("styles"), QStringLiteral("0")),
             QStringLiteral("3"));
    escribir(u.ruta("home/.config/prorrata/CN000PR.INI"), "[ANAStyles]\nStyles=1\n");
    QCOMPARE(suite::LeerIni(QStringLiteral("cn000pr.ini"), QStringLiteral("ANAStyles"), QStringLiteral("Styles"), QStringLiteral("0")),
             QStringLiteral("1"));
    // A folder fixed by VL_CARPETA_INI is the only one.
    Variable v("VL_CARPETA_INI", QFile::encodeName(u.ruta("fija")));
    QCOMPARE(suite::LeerIni(QStringLiteral("cn000pr.ini"), QStringLiteral("ANAStyles"), QStringLiteral("Styles"), QStringLiteral("0")),
             QStringLiteral("0"));
}

void TstConfiguracion::anotarEnRegistro()
{
    Usuario u;
    const QString ruta = u.ruta("home/.config/prorrata/servidores.ini");
    // A new registry: a comment, the entry; owner-only in owner-only folders.
    demo::AnotarEnRegistro(ruta, QStringLiteral("DEMO"), QStringLiteral("[DEMO]\nMotor=SQLite\nCarpeta=/a\n"));
    QVERIFY(leer(ruta).endsWith("\n\n[DEMO]\nMotor=SQLite\nCarpeta=/a\n"));
    QCOMPARE(QFile::permissions(ruta) & 0x7077, SoloDueno);
    QCOMPARE(QFile::permissions(u.ruta("home/.config")) & 0x7077, SoloDueno | QFileDevice::ExeOwner);

    // The same server again: its section is replaced; the others and their comments stay.
    escribir(ruta, "; mío\r\n[OFICINA]\r\nMotor=PostgreSQL\r\n\r\n[demo]\r\nMotor=SQLite\r\nCarpeta=/vieja\r\nViejo=1\r\n\r\n"
                   "; la de abajo\r\n[OTRO]\r\nMotor=ODBC\r\n");
    QFile::setPermissions(ruta, SoloDueno | QFileDevice::ReadGroup); // an existing file keeps its permissions
    demo::AnotarEnRegistro(ruta, QStringLiteral("DEMO"), QStringLiteral("[DEMO]\nMotor=SQLite\nCarpeta=/nueva\n"));
    QCOMPARE(leer(ruta), QByteArray("; mío\n[OFICINA]\nMotor=PostgreSQL\n\n[DEMO]\nMotor=SQLite\nCarpeta=/nueva\n\n"
                                    "; la de abajo\n[OTRO]\nMotor=ODBC\n"));
    QCOMPARE(QFile::permissions(ruta) & 0x7077, SoloDueno | QFileDevice::ReadGroup);
    ado::FijarRegistroServidores(ruta);
    QCOMPARE(ado::BuscarServidor(QStringLiteral("OFICINA"))->value(QStringLiteral("motor")), QStringLiteral("PostgreSQL"));
    QCOMPARE(ado::BuscarServidor(QStringLiteral("DEMO"))->value(QStringLiteral("viejo")), QString());
}

void TstConfiguracion::empresaDelUsuario()
{
    if (demo::MotorDePrueba() != QLatin1String("SQLite"))
        QSKIP("archivos SQLite");
    Usuario u;
    const QString datos = suite::CarpetaDatosUsuario();
    const QString registro = u.ruta("home/.config/prorrata/servidores.ini");
    demo::AnotarEnRegistro(registro, QStringLiteral("DEMO"), demo::EntradaRegistro(QStringLiteral("DEMO"), datos));
    ado::FijarRegistroServidores(registro);
    QVERIFY(suite::CrearCarpetaPropia(datos));
    demo::CrearEmpresa(QStringLiteral("DEMO"), QStringLiteral("VACIA"), false, false);
    // Company and statistics files, readable by their owner only.
    for (const char* f : {"VACIA.db", "VL_ESTADISTICAS.db"})
        QCOMPARE(QFile::permissions(QDir(datos).filePath(QLatin1String(f))) & 0x7077, SoloDueno);
    {
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QStringLiteral("DEMO"), QStringLiteral("VACIA")));
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS"), &cn);
        QCOMPARE(rs.Fields(0).Value().toInt(), 0); // the tables, no rows
    }
    // The statistics database exists now: a second company keeps it as it is.
    const QString est = QString::fromLatin1(demo::BaseEstadisticas);
    {
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QStringLiteral("DEMO"), est));
        cn.Execute(QStringLiteral("UPDATE TA_CONFIGURACION SET Valor = 'marca' WHERE Clave = 'THEME'"));
    }
    demo::CrearEmpresa(QStringLiteral("DEMO"), QStringLiteral("EMPRESA_DEMO"), true, false);
    {
        ado::Connection cn;
        cn.Open(demo::CadenaConexion(QStringLiteral("DEMO"), est));
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'THEME'"), &cn);
        QCOMPARE(rs.Fields(0).Value().toString().trimmed(), QStringLiteral("marca"));
    }
    // An existing company is not touched without reemplazar.
    try {
        demo::CrearEmpresa(QStringLiteral("DEMO"), QStringLiteral("VACIA"), true, false);
        QFAIL("se esperaba un error");
    } catch (const suite::ErrorEjecucion& e) {
        QVERIFY2(e.error().Description.contains(QStringLiteral("ya existe")), qPrintable(e.error().Description));
    }
    demo::CrearEmpresa(QStringLiteral("DEMO"), QStringLiteral("VACIA"), true, true);
    ado::Connection cn;
    cn.Open(demo::CadenaConexion(QStringLiteral("DEMO"), QStringLiteral("VACIA")));
    ado::Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS"), &cn);
    QVERIFY(rs.Fields(0).Value().toInt() > 0);
}

QTEST_GUILESS_MAIN(TstConfiguracion)
#include "tst_configuracion.moc"
