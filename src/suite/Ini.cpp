#include "suite/Ini.h"

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

QString LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                const QString& porDefecto)
{
    const QString ruta = QFileInfo(archivo).isAbsolute()
                             ? archivo
                             : BuscarArchivoSinCaso(CarpetaIni(), archivo);
    bool ok = false;
    const QString texto = LeerTextoSuite(ruta, &ok);
    if (!ok)
        return porDefecto;

    const QString secBuscada = seccion.trimmed();
    const QString claveBuscada = clave.trimmed();
    bool dentro = false;
    bool seccionVista = false;
    const QStringList lineas = texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& cruda : lineas) {
        const QString linea = cruda.trimmed();
        if (linea.startsWith(u'[')) {
            if (seccionVista && dentro)
                break; // only the first section of that name counts
            const qsizetype fin = linea.indexOf(u']');
            const QString nombre = linea.mid(1, fin < 0 ? -1 : fin - 1).trimmed();
            dentro = nombre.compare(secBuscada, Qt::CaseInsensitive) == 0;
            seccionVista = seccionVista || dentro;
            continue;
        }
        if (!dentro || linea.isEmpty() || linea.startsWith(u';'))
            continue;
        const qsizetype igual = linea.indexOf(u'=');
        if (igual < 0)
            continue;
        if (linea.left(igual).trimmed().compare(claveBuscada, Qt::CaseInsensitive) == 0)
            return sinComillas(linea.mid(igual + 1).trimmed());
    }
    return porDefecto;
}

} // namespace suite
