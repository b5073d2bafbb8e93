#include "data/ado/odbc/CadenaOdbc.h"

#include "data/ado/CadenaConexion.h"

#include <QStringList>
#include <odbcinst.h>

namespace ado::odbc {

namespace {
// A value between braces when it holds a character that would end it.
QString valor(const QString& v)
{
    if (v.contains(u';') || v.contains(u'{') || v.contains(u'}') || v.contains(u'=') || v.trimmed() != v)
        return u'{' + QString(v).replace(u'}', QStringLiteral("}}")) + u'}';
    return v;
}

bool dePostgres(const QString& driver)
{
    return driver.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) || driver.contains(QLatin1String("psqlodbc"), Qt::CaseInsensitive);
}
} // namespace

bool ControladorPostgres(const QMap<QString, QString>& registro)
{
    const QString dsn = registro.value(QStringLiteral("dsn"));
    return dePostgres(dsn.isEmpty() ? registro.value(QStringLiteral("driver")) : ValorDsn(dsn, QStringLiteral("Driver")).value_or(QString()));
}

std::optional<QString> ValorDsn(const QString& dsn, const QString& clave)
{
    static constexpr char ausente[] = "\x01";
    char valor[512] = {};
    SQLGetPrivateProfileString(dsn.toUtf8().constData(), clave.toUtf8().constData(), ausente, valor, int(sizeof(valor)), "odbc.ini");
    if (qstrcmp(valor, ausente) == 0)
        return std::nullopt;
    return QString::fromUtf8(valor);
}

QString CadenaSqlServer(const QString& servidor, const QString& base, const QString& usuario, const QString& clave,
                        const QString& driver)
{
    // "HOST\INSTANCE", "HOST,PORT", "HOST:PORT" or "HOST" (the default port). A port given
    // wins over the instance's, as SQL Server's own clients take "HOST\INSTANCE,PORT".
    const ServidorPuerto sp = SepararPuerto(servidor);
    QString host = sp.nombre;
    QStringList partes{QStringLiteral("Driver={%1}").arg(driver)};
    if (!sp.puerto.isEmpty()) {
        if (const qsizetype barra = host.indexOf(u'\\'); barra >= 0)
            host = host.left(barra);
        partes << QStringLiteral("Server=") + valor(host) << QStringLiteral("Port=") + valor(sp.puerto);
    } else if (host.contains(u'\\')) {
        partes << QStringLiteral("Server=") + valor(host); // the instance's port is asked of the server
    } else {
        partes << QStringLiteral("Server=") + valor(host) << QStringLiteral("Port=1433");
    }
    partes << QStringLiteral("Database=") + valor(base.trimmed()) << QStringLiteral("UID=") + valor(usuario)
           << QStringLiteral("PWD=") + valor(clave) << QStringLiteral("TDS_Version=7.4")
           << QStringLiteral("ClientCharset=UTF-8");
    return partes.join(u';') + u';';
}

QString CadenaRegistro(const QMap<QString, QString>& registro, const QString& base, const QString& usuario,
                       const QString& clave)
{
    QStringList partes;
    if (registro.contains(QStringLiteral("dsn")))
        partes << QStringLiteral("DSN=") + valor(registro.value(QStringLiteral("dsn")));
    else
        partes << QStringLiteral("Driver={%1}").arg(registro.value(QStringLiteral("driver"), QStringLiteral("FreeTDS")));
    if (registro.contains(QStringLiteral("servidor")))
        partes << QStringLiteral("Server=") + valor(registro.value(QStringLiteral("servidor")));
    if (registro.contains(QStringLiteral("puerto")))
        partes << QStringLiteral("Port=") + valor(registro.value(QStringLiteral("puerto")));
    if (registro.contains(QStringLiteral("dbq"))) // a database file (MDB Tools)
        partes << QStringLiteral("DBQ=") + valor(registro.value(QStringLiteral("dbq")));
    // Servers that fold names to lower case (PostgreSQL) get the database and login so.
    const bool minusculas = registro.value(QStringLiteral("driver")).contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive);
    partes << QStringLiteral("Database=") + valor(minusculas ? base.trimmed().toLower() : base.trimmed())
           << QStringLiteral("UID=") + valor(minusculas ? usuario.trimmed().toLower() : usuario) << QStringLiteral("PWD=") + valor(clave);
    if (ControladorPostgres(registro)) {
        const QString dsn = registro.value(QStringLiteral("dsn"));
        // The driver's registration may turn its logs on (a log of every statement in /tmp):
        // off unless the entry or the user's data source asks for them.
        for (const QString& log : {QStringLiteral("CommLog"), QStringLiteral("Debug")}) {
            if (registro.contains(log.toLower()))
                partes << log + u'=' + valor(registro.value(log.toLower()));
            else if (dsn.isEmpty() || !ValorDsn(dsn, log))
                partes << log + QStringLiteral("=0");
        }
        // A failed statement aborts the open transaction, as through libpq; by default the
        // driver would roll back only that statement and a later COMMIT would keep the rest.
        partes << QStringLiteral("Protocol=7.4-0");
    }
    return partes.join(u';') + u';';
}

} // namespace ado::odbc
