// AvisoError: the dialog it shows, the line it appends to VLERR.LOG and where that file goes.
#include "DialogosGuionados.h"
#include "Entorno.h"
#include "startup/CNStuffContable.h"
#include "suite/RegistroErrores.h"

#include <QDir>
#include <QFile>
#include <QTest>

using suite::ErrorRT;

namespace {
QByteArray contenido(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

// Sets or unsets an environment variable for the life of the object.
class Variable {
public:
    Variable(const char* nombre, const std::optional<QByteArray>& valor)
        : nombre_(nombre), antes_(qgetenv(nombre)), habia_(qEnvironmentVariableIsSet(nombre))
    {
        if (valor)
            qputenv(nombre, *valor);
        else
            qunsetenv(nombre);
    }
    ~Variable()
    {
        if (habia_)
            qputenv(nombre_, antes_);
        else
            qunsetenv(nombre_);
    }

private:
    const char* nombre_;
    QByteArray antes_;
    bool habia_;
};
} // namespace

class TstAvisoError : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linea_data();
    void linea();
    void carpeta();
    void registroInaccesible();
};

void TstAvisoError::linea_data()
{
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("descripcion");
    QTest::addColumn<QString>("rutina");
    QTest::addColumn<std::optional<int>>("botones");
    QTest::addColumn<int>("respuesta");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("linea"); // empty: nothing is written

    const QString fecha = QStringLiteral("08-12-2026 18:04:11");
    QTest::newRow("Cfg ignorado") << 3265 << "Item cannot be found." << "Cfg" << std::optional<int>() << 5
                                  << "ADODB.Recordset - Cfg Aviso al operador!!! " << 18
                                  << fecha + " Rutina: - Cfg Mensaje Ha ocurrido el Siguiente Error (3265) Item cannot be found. Respondió : Ignorar";
    QTest::newRow("sin rutina, dos blancos") << 3265 << "x" << "" << std::optional<int>() << 4
                                             << "ADODB.Recordset Aviso al operador!!! " << 18
                                             << fecha + " Rutina:  Mensaje Ha ocurrido el Siguiente Error (3265) x Respondió : Reintentar";
    QTest::newRow("aceptar deja la palabra vacía; solo se recorta el conjunto") << 13 << "  Type mismatch  " << " CfgVL " << std::optional<int>(0) << 1
                                                   << "ADODB.Recordset -  CfgVL  Aviso al operador!!! " << 0
                                                   << fecha + " Rutina: -  CfgVL Mensaje Ha ocurrido el Siguiente Error (13) Type mismatch Respondió : ";
    QTest::newRow("sí y no") << 5 << "a" << "R" << std::optional<int>(4) << 6
                             << "ADODB.Recordset - R Aviso al operador!!! " << 4
                             << fecha + " Rutina: - R Mensaje Ha ocurrido el Siguiente Error (5) a Respondió : Sí";
    QTest::newRow("anular") << -2147467259 << "Error de red" << "FORM_LOAD" << std::optional<int>() << 3
                            << "ADODB.Recordset - FORM_LOAD Aviso al operador!!! " << 18
                            << fecha + " Rutina: - FORM_LOAD Mensaje Ha ocurrido el Siguiente Error (-2147467259) Error de red Respondió : Abortar";
    QTest::newRow("error 0 no escribe") << 0 << "" << "Cfg" << std::optional<int>() << 0 << "" << 0 << "";
}

void TstAvisoError::linea()
{
    QFETCH(int, numero);
    QFETCH(QString, descripcion);
    QFETCH(QString, rutina);
    QFETCH(std::optional<int>, botones);
    QFETCH(int, respuesta);
    QFETCH(QString, titulo);
    QFETCH(int, estilo);
    QFETCH(QString, linea);

    EntornoPrueba e;
    Variable temp("TEMP", QByteArray("/no/usado"));
    Variable tmp("TMP", e.carpeta().toLocal8Bit());
    DialogosGuionados d;
    if (numero != 0)
        d.responder(respuesta);

    const ErrorRT err{numero, descripcion, QStringLiteral("ADODB.Recordset")};
    QCOMPARE(AvisoError(err, botones, rutina), respuesta);

    const QString log = e.ruta(QStringLiteral("VLERR.LOG"));
    if (linea.isEmpty()) {
        QVERIFY(d.vistos().isEmpty());
        QCOMPARE(contenido(log), QByteArray()); // opened and closed, nothing written
        return;
    }
    QCOMPARE(d.vistos().size(), 1);
    QCOMPARE(d.ultimo().titulo, titulo);
    QCOMPARE(d.ultimo().estilo, estilo);
    QCOMPARE(d.ultimo().texto, QStringLiteral("Ha ocurrido el Siguiente Error (%1) %2").arg(numero).arg(descripcion.trimmed()));

    // Appended, one CRLF-ended line per error.
    d.responder(respuesta);
    AvisoError(err, botones, rutina);
    const QByteArray una = (linea + QStringLiteral("\r\n")).toUtf8();
    QCOMPARE(contenido(log), una + una);
}

void TstAvisoError::carpeta()
{
    EntornoPrueba e;
    QTemporaryDir sistema;
    // The user's state folder, never the program's folder nor a temporary one (TMPDIR and the
    // session's runtime folder are set to other places to show they are not used).
    Variable estado("XDG_STATE_HOME", sistema.path().toLocal8Bit());
    Variable tmpdir("TMPDIR", e.ruta(QStringLiteral("tmpdir")).toLocal8Bit());
    Variable sesion("XDG_RUNTIME_DIR", e.ruta(QStringLiteral("sesion")).toLocal8Bit());
    const QString propia = sistema.path() + QStringLiteral("/prorrata");
    {
        // TEMP set, TMP blank: the state folder.
        Variable temp("TEMP", QByteArray("/x"));
        Variable tmp("TMP", QByteArray("  "));
        QCOMPARE(CarpetaRegistroErrores(), propia + u'/');
    }
    {
        // TEMP unset: TMP is not looked at.
        Variable temp("TEMP", std::nullopt);
        Variable tmp("TMP", e.carpeta().toLocal8Bit());
        QCOMPARE(CarpetaRegistroErrores(), propia + u'/');
    }
    {
        Variable temp("TEMP", QByteArray("/x"));
        Variable tmp("TMP", (QStringLiteral(" ") + e.carpeta() + QStringLiteral("/ ")).toLocal8Bit());
        QCOMPARE(CarpetaRegistroErrores(), e.carpeta() + u'/');
    }
    Variable sinTemp("TEMP", std::nullopt);
    QCOMPARE(QFile::permissions(propia) & 0x7077, QFileDevice::ExeOwner | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    DialogosGuionados d;
    d.responder(suite::vbIgnore);
    AvisoError(ErrorRT{3265, QStringLiteral("x"), {}}, std::nullopt, QStringLiteral("Cfg"));
    QCOMPARE(QFile::permissions(propia + QStringLiteral("/VLERR.LOG")) & 0x7077, QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    // The data-access object's twin writes the same file.
    d.responder(suite::vbIgnore);
    gDB.TratamientoErrores(ErrorRT{3265, QStringLiteral("y"), QStringLiteral("ADODB.Fields")}, std::nullopt, QStringLiteral("VerificaCampos"));
    QFile log(propia + QStringLiteral("/VLERR.LOG"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lineas = log.readAll().split('\n');
    QCOMPARE(lineas.size(), 3); // two lines and the empty rest
    QVERIFY(lineas[1].contains("Rutina: - VerificaCampos Mensaje"));
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("tmpdir"))) && !QFile::exists(e.ruta(QStringLiteral("sesion"))));
}

void TstAvisoError::registroInaccesible()
{
    // The log cannot be opened: the error reaches the caller and nothing is shown.
    EntornoPrueba e;
    Variable temp("TEMP", QByteArray("/x"));
    Variable tmp("TMP", e.ruta(QStringLiteral("no/existe")).toLocal8Bit());
    DialogosGuionados d;
    try {
        AvisoError(ErrorRT{3265, QStringLiteral("x"), {}}, std::nullopt, QStringLiteral("Cfg"));
        QFAIL("se esperaba un error");
    } catch (const suite::ErrorEjecucion& err) {
        QCOMPARE(err.error().Number, 75L);
        QVERIFY(err.error().Description.contains(QStringLiteral("VLERR.LOG")));
    }
    QVERIFY(d.vistos().isEmpty());
}

QTEST_GUILESS_MAIN(TstAvisoError)
#include "tst_avisoerror.moc"
