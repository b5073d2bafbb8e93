#include "suite/Ini.h"

#include "suite/Carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <optional>

namespace suite {

namespace {
std::optional<QString>& carpetaFijada()
{
    static std::optional<QString> c;
    return c;
}

QString sinComillas(const QString& v)
{
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}
} // namespace

QString CarpetaIni()
{
    if (carpetaFijada())
        return *carpetaFijada();
    const QString env = qEnvironmentVariable("VL_CARPETA_INI");
    if (!env.isEmpty())
        return env;
    return QCoreApplication::applicationDirPath();
}

QString RutaIni(const QString& nombre)
{
    if (carpetaFijada() || !qEnvironmentVariableIsEmpty("VL_CARPETA_INI"))
        return BuscarArchivoSinCaso(CarpetaIni(), nombre);
    const QString hallada = BuscarConfiguracion(nombre);
    return hallada.isEmpty() ? BuscarArchivoSinCaso(CarpetaIni(), nombre) : hallada;
}

void FijarCarpetaIni(const QString& carpeta)
{
    if (carpeta.isEmpty())
        carpetaFijada().reset();
    else
        carpetaFijada() = carpeta;
}

QString BuscarArchivoSinCaso(const QString& carpeta, const QString& nombre)
{
    const QDir dir(carpeta);
    if (dir.exists(nombre))
        return dir.filePath(nombre);
    const QStringList presentes = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& p : presentes) {
        if (p.compare(nombre, Qt::CaseInsensitive) == 0)
            return dir.filePath(p);
    }
    return dir.filePath(nombre);
}

QString LeerTextoSuite(const QString& ruta, bool* ok)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    const QByteArray datos = f.readAll();
    if (ok)
        *ok = true;
    if (datos.startsWith("\xFF\xFE") || datos.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        return utf16(datos);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8(datos);
    if (!utf8.hasError()) {
        if (texto.startsWith(QChar(0xFEFF)))
            texto.remove(0, 1);
        return texto;
    }
    QStringDecoder cp1252("windows-1252");
    return cp1252(datos);
}

namespace {
// Walks the first section named `seccion`, calling f(key, value) for each entry until f
// returns false. False when the file cannot be read or has no such section.
template <typename F>
bool recorrerSeccion(const QString& archivo, const QString& seccion, F f)
{
    const QString ruta = QFileInfo(archivo).isAbsolute() ? archivo : RutaIni(archivo);
    bool ok = false;
    const QString texto = LeerTextoSuite(ruta, &ok);
    if (!ok)
        return false;
    const QString buscada = seccion.trimmed();
    bool dentro = false;
    bool vista = false;
    static const QRegularExpression saltos(QStringLiteral("\r\n|\r|\n"));
    for (const QString& cruda : texto.split(saltos)) {
        const QString linea = cruda.trimmed();
        if (linea.startsWith(u'[')) {
            if (dentro)
                break; // only the first section of that name counts
            const qsizetype fin = linea.indexOf(u']');
            dentro = linea.mid(1, fin < 0 ? -1 : fin - 1).trimmed().compare(buscada, Qt::CaseInsensitive) == 0;
            vista = vista || dentro;
            continue;
        }
        if (!dentro || linea.isEmpty() || linea.startsWith(u';'))
            continue;
        const qsizetype igual = linea.indexOf(u'=');
        if (igual >= 0 && !f(linea.left(igual).trimmed(), sinComillas(linea.mid(igual + 1).trimmed())))
            break;
    }
    return vista;
}
} // namespace

QString LeerIni(const QString& archivo, const QString& seccion, const QString& clave, const QString& porDefecto)
{
    std::optional<QString> valor;
    const QString buscada = clave.trimmed();
    recorrerSeccion(archivo, seccion, [&](const QString& k, const QString& v) {
        if (k.compare(buscada, Qt::CaseInsensitive) != 0)
            return true;
        valor = v;
        return false;
    });
    return valor.value_or(porDefecto);
}

std::optional<QMap<QString, QString>> LeerSeccionIni(const QString& archivo, const QString& seccion)
{
    QMap<QString, QString> claves;
    const bool hay = recorrerSeccion(archivo, seccion, [&](const QString& k, const QString& v) {
        const QString clave = k.toLower();
        if (!claves.contains(clave))
            claves.insert(clave, v);
        return true;
    });
    if (!hay)
        return std::nullopt;
    return claves;
}

} // namespace suite
