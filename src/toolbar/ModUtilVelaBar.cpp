#include "toolbar/ModUtilVelaBar.h"

#include "suite/Equipo.h"
#include "suite/Ini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace ModUtilVelaBar {

namespace {

std::optional<QString>& carpetaFijada()
{
    static std::optional<QString> c;
    return c;
}

const QString ArchivoIni = QStringLiteral("cn000pr.ini");

} // namespace

QString CarpetaPrograma()
{
    return carpetaFijada() ? *carpetaFijada() : QCoreApplication::applicationDirPath();
}

void FijarCarpetaPrograma(const QString& carpeta)
{
    if (carpeta.isEmpty())
        carpetaFijada().reset();
    else
        carpetaFijada() = carpeta;
}

QString WithSlash(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.endsWith(u'/') || t.endsWith(u'\\'))
        return t;
    return t + u'/';
}

QString IniPath(const QString& file)
{
    const QString f = file.trimmed();
    if (f.isEmpty())
        return {};
    if (!f.contains(u'/') && !f.contains(u'\\'))
        return suite::RutaIni(f);
    return f;
}

QString IniValue(const QString& file, const QString& section, const QString& key, const QString& def)
{
    const QString ruta = IniPath(file);
    if (ruta.isEmpty())
        return def;
    const QString v = suite::LeerIni(QFileInfo(ruta).absoluteFilePath(), section, key, QString()).left(1023);
    return v.isEmpty() ? def : v;
}

QString ContextUser()
{
    const QString u = suite::NombreUsuarioWindows().trimmed();
    return u.isEmpty() ? QStringLiteral("DEFAULT") : u;
}

QString CommandLineValue(const QString& token, const QString& linea)
{
    const QString c = linea.trimmed();
    const QString t = token.trimmed().toUpper();
    if (c.isEmpty() || t.isEmpty())
        return {};
    const qsizetype p = c.toUpper().indexOf(t);
    if (p < 0)
        return {};
    const QString resto = c.mid(p + t.size()).trimmed();
    if (!resto.startsWith(u'='))
        return {};
    QString v = resto.mid(1);
    if (const qsizetype pc = v.indexOf(u';'); pc >= 0)
        v.truncate(pc);
    v = v.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2);
    return v.trimmed();
}

QString CommandLineValue(const QString& token)
{
    return CommandLineValue(token, QCoreApplication::arguments().mid(1).join(u' '));
}

QString ContextDatabase()
{
    QString v = CommandLineValue(QStringLiteral("@dbname"));
    if (v.isEmpty())
        v = CommandLineValue(QStringLiteral("@DbName"));
    if (!v.isEmpty())
        return v;
    for (const char* variable : {"KTX_DBNAME", "GDBNAME", "DBNAME"})
        if (v = qEnvironmentVariable(variable).trimmed(); !v.isEmpty())
            return v;
    return QStringLiteral("DEFAULT");
}

double Val(const QString& texto)
{
    static const QRegularExpression numero(QStringLiteral(R"(^\s*([+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?))"));
    const QRegularExpressionMatch m = numero.match(texto);
    if (!m.hasMatch())
        return 0;
    QString n = m.captured(1);
    n.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double v = n.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

double Redondear(double v) { return std::nearbyint(v); } // the default rounding: halves to even

int StyleInSection(const QString& file, const QString& section)
{
    if (section.trimmed().isEmpty())
        return -1;
    const QString v = IniValue(file, section, QStringLiteral("Styles"), QString()).trimmed();
    if (v.isEmpty())
        return -1;
    const double n = Redondear(Val(v));
    if (n < 0 || n >= 100)
        return -1;
    return int(n);
}

QString FirstStylesSection(const QString& file)
{
    const QString ruta = IniPath(file);
    if (ruta.isEmpty())
        return {};
    bool ok = false;
    const QString texto = suite::LeerTextoSuite(ruta, &ok);
    if (!ok)
        return {};
    static const QRegularExpression saltos(QStringLiteral("\r\n|\r|\n"));
    for (const QString& cruda : texto.split(saltos)) {
        const QString linea = cruda.trimmed();
        if (linea.size() < 3 || !linea.startsWith(u'[') || !linea.endsWith(u']'))
            continue;
        const QString seccion = linea.mid(1, linea.size() - 2);
        if (seccion.right(6).toUpper() == QLatin1String("STYLES"))
            return seccion;
    }
    return {};
}

QString FindStylesSection(const QString& file, const QString& user, const QString& database)
{
    const QString U = user.trimmed().toUpper(), D = database.trimmed().toUpper();
    const QString C = suite::NombreEquipo().trimmed().toUpper();
    const QString estilos = QStringLiteral("Styles");
    struct Candidata {
        bool completa;
        QString nombre;
    };
    const Candidata candidatas[] = {
        {!U.isEmpty(), U + estilos},
        {!C.isEmpty() && !U.isEmpty(), C + u'|' + U + estilos},
        {!U.isEmpty() && !D.isEmpty(), U + u'_' + D + estilos},
        {!C.isEmpty() && !U.isEmpty() && !D.isEmpty(), C + u'|' + U + u'_' + D + estilos},
        {!D.isEmpty(), D + u'_' + D + estilos},
    };
    for (const Candidata& c : candidatas)
        if (c.completa && StyleInSection(file, c.nombre) >= 0)
            return c.nombre;
    return FirstStylesSection(file);
}

int MapSuiteStyle(double n)
{
    if (n == 0)
        return 1;
    if (n == 2)
        return 3;
    if (n == 3)
        return 4;
    if (n == 4)
        return 5;
    return 2;
}

int ResolveStyle(const QString& user, const QString& database)
{
    QString U = user.trimmed().toUpper();
    if (U.isEmpty())
        U = ContextUser().toUpper();
    QString D = database.trimmed().toUpper();
    if (D.isEmpty())
        D = ContextDatabase().toUpper();
    QString v;
    if (const QString S = FindStylesSection(ArchivoIni, U, D); !S.isEmpty())
        v = IniValue(ArchivoIni, S, QStringLiteral("Styles"), QString()).trimmed();
    if (v.isEmpty())
        v = suite::LeerIni(ArchivoIni, suite::NombreUsuarioWindows().toUpper() + QStringLiteral("Styles"),
                           QStringLiteral("Styles"), QStringLiteral("0"));
    if (v.isEmpty())
        v = IniValue(ArchivoIni, QStringLiteral("UtilVelaBar_") + D, QStringLiteral("Estilo"), QString()).trimmed();
    if (v.isEmpty())
        v = QStringLiteral("4");
    return MapSuiteStyle(Redondear(Val(v)));
}

} // namespace ModUtilVelaBar
