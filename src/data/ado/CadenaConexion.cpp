#include "data/ado/CadenaConexion.h"

#include "suite/Carpetas.h"
#include "suite/Ini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace ado {

QMap<QString, QString> LeerCadenaConexion(const QString& cadena)
{
    QMap<QString, QString> r;
    for (const QString& pieza : cadena.split(u';')) {
        const qsizetype igual = pieza.indexOf(u'=');
        if (igual < 0)
            continue;
        const QString clave = pieza.left(igual).trimmed().toLower();
        QString valor = pieza.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && (valor.front() == u'"' || valor.front() == u'\'') && valor.back() == valor.front())
            valor = valor.mid(1, valor.size() - 2);
        if (!clave.isEmpty() && !r.contains(clave))
            r.insert(clave, valor);
    }
    return r;
}

DestinoConexion InterpretarCadena(const QString& cadena)
{
    const auto pares = LeerCadenaConexion(cadena);
    auto uno = [&](std::initializer_list<const char*> claves) {
        for (const char* c : claves) {
            const auto it = pares.constFind(QString::fromLatin1(c));
            if (it != pares.constEnd())
                return *it;
        }
        return QString();
    };
    DestinoConexion d;
    d.proveedor = uno({"provider"});
    d.servidor = uno({"server", "data source", "address", "addr"});
    d.base = uno({"database", "initial catalog"});
    d.usuario = uno({"uid", "user id", "user"});
    d.clave = uno({"pwd", "password"});
    bool ok = false;
    const int t = uno({"connect timeout", "connection timeout", "timeout"}).toInt(&ok);
    if (ok)
        d.tiempoConexion = t;
    return d;
}

ServidorPuerto SepararPuerto(const QString& servidor)
{
    const QString s = servidor.trimmed();
    const qsizetype p = std::max(s.lastIndexOf(u':'), s.lastIndexOf(u','));
    if (p <= 0 || s.startsWith(u'#')) // an Oracle data source keeps its own syntax
        return {s, {}};
    const QString puerto = s.mid(p + 1).trimmed();
    static const QRegularExpression digitos(QStringLiteral("^[0-9]{1,5}$"));
    if (!digitos.match(puerto).hasMatch())
        return {s, {}};
    return {s.left(p).trimmed(), puerto};
}

namespace {
bool tieneSecciones(const QString& ruta)
{
    static const QRegularExpression seccion(QStringLiteral("^\\s*\\[[^\\]]*\\S[^\\]]*\\]"),
                                            QRegularExpression::MultilineOption);
    return seccion.match(suite::LeerTextoSuite(ruta)).hasMatch();
}

QString& rutaFijada()
{
    static QString r;
    return r;
}
} // namespace

QString RutaRegistroServidores()
{
    if (!rutaFijada().isEmpty())
        return rutaFijada();
    const QString env = qEnvironmentVariable("VL_SERVIDORES");
    if (!env.isEmpty())
        return env;
    // The first file that lists a server; a file of comments only (the package's example in
    // /etc) does not hide the ones after it. When none lists one, the first that exists, so
    // that its problem can be reported.
    const QString nombre = QStringLiteral("servidores.ini");
    QString primera;
    for (const QString& carpeta : suite::CarpetasConfiguracion()) {
        const QString ruta = suite::BuscarArchivoSinCaso(carpeta, nombre);
        if (!QFileInfo(ruta).isFile())
            continue;
        if (tieneSecciones(ruta))
            return ruta;
        if (primera.isEmpty())
            primera = ruta;
    }
    return primera.isEmpty() ? QDir(suite::CarpetaConfiguracionUsuario()).filePath(nombre) : primera;
}

void FijarRegistroServidores(const QString& ruta) { rutaFijada() = ruta; }

std::optional<QString> ProblemaRegistroServidores()
{
    const QFileInfo info(RutaRegistroServidores());
    if (!info.exists())
        return std::nullopt;
    if (info.isDir())
        return QStringLiteral("es una carpeta, no un archivo");
    bool ok = false;
    const QString texto = suite::LeerTextoSuite(info.absoluteFilePath(), &ok);
    if (!ok)
        return QStringLiteral("no se puede leer (permisos del archivo)");
    static const QRegularExpression saltos(QStringLiteral("\r\n|\r|\n"));
    const QStringList lineas = texto.split(saltos);
    bool seccion = false;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const QString linea = lineas[i].trimmed();
        if (linea.isEmpty() || linea.startsWith(u';') || linea.startsWith(u'#'))
            continue;
        const bool esSeccion = linea.startsWith(u'[') && linea.endsWith(u']') && linea.size() > 2;
        if (linea.contains(QChar(0)) || (!esSeccion && (!seccion || linea.indexOf(u'=') <= 0)))
            return QStringLiteral("la línea %1 no es una sección [SERVIDOR] ni una clave=valor dentro de una: \"%2\"")
                .arg(i + 1)
                .arg(QString(linea.left(60)).replace(QChar(0), u' '));
        seccion = seccion || esSeccion;
    }
    if (!seccion)
        return QStringLiteral("está vacío: no lista ningún servidor");
    return std::nullopt;
}

std::optional<QMap<QString, QString>> BuscarServidor(const QString& servidor)
{
    const QString ruta = QFileInfo(RutaRegistroServidores()).absoluteFilePath();
    auto entrada = suite::LeerSeccionIni(ruta, servidor.trimmed());
    if (!entrada)
        return std::nullopt;
    const auto carpeta = entrada->constFind(QStringLiteral("carpeta"));
    if (carpeta != entrada->constEnd() && QFileInfo(*carpeta).isRelative())
        entrada->insert(QStringLiteral("carpeta"), QDir::cleanPath(QFileInfo(ruta).dir().absoluteFilePath(*carpeta)));
    return entrada;
}

QString UbicacionEnRegistro(const QString& servidor, const QString& clave)
{
    const QString ruta = QFileInfo(RutaRegistroServidores()).absoluteFilePath();
    bool ok = false;
    const QString texto = suite::LeerTextoSuite(ruta, &ok);
    static const QRegularExpression saltos(QStringLiteral("\r\n|\r|\n"));
    const QStringList lineas = texto.split(saltos);
    bool enSeccion = false;
    for (qsizetype i = 0; ok && i < lineas.size(); ++i) {
        const QString linea = lineas[i].trimmed();
        if (linea.startsWith(u'[') && linea.endsWith(u']')) {
            if (enSeccion)
                break; // the first section of that name is the one read
            enSeccion = linea.mid(1, linea.size() - 2).trimmed().compare(servidor.trimmed(), Qt::CaseInsensitive) == 0;
        } else if (enSeccion && linea.section(u'=', 0, 0).trimmed().compare(clave, Qt::CaseInsensitive) == 0) {
            return QStringLiteral("%1, línea %2").arg(QDir::toNativeSeparators(ruta)).arg(i + 1);
        }
    }
    return QDir::toNativeSeparators(ruta);
}

} // namespace ado
