#include "toolbar/BolsaPropiedades.h"

#include "suite/Ini.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const QRegularExpression& saltos()
{
    static const QRegularExpression r(QStringLiteral("\r\n|\r|\n"));
    return r;
}

bool esSeccion(const QString& linea) { return linea.startsWith(u'[') && linea.endsWith(u']'); }

QString nombreDeSeccion(const QString& linea) { return linea.mid(1, linea.size() - 2).trimmed(); }

std::optional<bool> leerBooleano(const QString& t)
{
    const QString v = t.trimmed().toUpper();
    if (v == QLatin1String("TRUE") || v == QLatin1String("VERDADERO") || v == QLatin1String("-1") || v == QLatin1String("1"))
        return true;
    if (v == QLatin1String("FALSE") || v == QLatin1String("FALSO") || v == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// Decimal, or &Hhex with an optional "&" at its end.
std::optional<qint64> leerEntero(const QString& t)
{
    QString v = t.trimmed();
    bool ok = false;
    qint64 n = 0;
    if (v.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        v = v.mid(2);
        if (v.endsWith(u'&'))
            v.chop(1);
        n = v.toLongLong(&ok, 16);
    } else {
        n = v.toLongLong(&ok, 10);
    }
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

QString sinComillas(const QString& t, bool* ok)
{
    const QString v = t.trimmed();
    *ok = true;
    if (!v.startsWith(u'"'))
        return v;
    if (v.size() < 2 || !v.endsWith(u'"')) {
        *ok = false;
        return {};
    }
    QString dentro = v.mid(1, v.size() - 2);
    return dentro.replace(QStringLiteral("\"\""), QStringLiteral("\""));
}

bool mismoValor(const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::Bool || b.typeId() == QMetaType::Bool)
        return a.toBool() == b.toBool();
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a.toDouble() == b.toDouble();
}

} // namespace

int BolsaPropiedades::indice(const QString& nombre) const
{
    const QString n = nombre.trimmed();
    for (int i = 0; i < valores_.size(); ++i)
        if (valores_[i].first.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool BolsaPropiedades::Contiene(const QString& nombre) const { return indice(nombre) >= 0; }

QVariant BolsaPropiedades::ReadProperty(const QString& nombre, const QVariant& porDefecto) const
{
    const int i = indice(nombre);
    if (i < 0)
        return porDefecto;
    const QString& texto = valores_[i].second;
    const auto aviso = [&](const char* tipo) {
        QString donde = origen_.isEmpty() ? QStringLiteral("Propiedades") : origen_;
        if (lineas_.value(i) > 0)
            donde += QStringLiteral(", línea %1").arg(lineas_[i]);
        avisos_ << QStringLiteral("%1: el valor de %2 (%3) no es %4; se usa %5.")
                       .arg(donde, valores_[i].first, texto, QString::fromUtf8(tipo), porDefecto.toString());
        return porDefecto;
    };
    switch (porDefecto.typeId()) {
    case QMetaType::Bool:
        if (const auto b = leerBooleano(texto))
            return *b;
        return aviso("Verdadero o Falso");
    case QMetaType::Short: {
        const auto n = leerEntero(texto);
        if (n && *n >= std::numeric_limits<short>::min() && *n <= std::numeric_limits<short>::max())
            return QVariant::fromValue(short(*n));
        return aviso("un entero entre -32768 y 32767");
    }
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong: {
        const auto n = leerEntero(texto);
        if (n && *n >= std::numeric_limits<qint32>::min() && *n <= 0xFFFFFFFFLL)
            return QVariant::fromValue(qint64(*n));
        return aviso("un entero de 32 bits");
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        bool ok = false;
        const double v = texto.trimmed().toDouble(&ok);
        if (ok && std::isfinite(v))
            return v;
        return aviso("un número");
    }
    default: {
        bool ok = false;
        const QString v = sinComillas(texto, &ok);
        if (ok)
            return v;
        return aviso("un texto entre comillas");
    }
    }
}

QString BolsaPropiedades::Escribir(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Float:
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 9);
    case QMetaType::QString: {
        QString t = v.toString();
        return u'"' + t.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    }
    default:
        return QString::number(v.toLongLong());
    }
}

void BolsaPropiedades::WriteProperty(const QString& nombre, const QVariant& valor, const QVariant& porDefecto)
{
    const int i = indice(nombre);
    if (porDefecto.isValid() && mismoValor(valor, porDefecto)) {
        if (i >= 0) {
            valores_.removeAt(i);
            if (i < lineas_.size())
                lineas_.removeAt(i);
        }
        return;
    }
    QVariant v = valor;
    if (porDefecto.isValid() && v.typeId() != porDefecto.typeId() && v.canConvert(porDefecto.metaType()))
        v.convert(porDefecto.metaType());
    const QString texto = Escribir(v);
    if (i >= 0)
        valores_[i].second = texto;
    else
        valores_.append({nombre.trimmed(), texto});
}

BolsaPropiedades BolsaPropiedades::DesdeTexto(const QString& texto, const QString& control, const QString& origen)
{
    BolsaPropiedades b;
    b.origen_ = origen;
    const QString donde = origen.isEmpty() ? QStringLiteral("Propiedades") : origen;
    if (texto.contains(QChar(0))) {
        b.avisos_ << QStringLiteral("%1 no es un archivo de texto; se usan los valores por omisión.").arg(donde);
        return b;
    }
    bool dentro = false, vista = false;
    const QStringList lineas = texto.split(saltos());
    for (int n = 0; n < lineas.size(); ++n) {
        const QString linea = lineas[n].trimmed();
        if (linea.isEmpty() || linea.startsWith(u';'))
            continue;
        if (esSeccion(linea)) {
            if (dentro)
                break; // only the first section of that name counts
            dentro = nombreDeSeccion(linea).compare(control, Qt::CaseInsensitive) == 0;
            vista = vista || dentro;
            continue;
        }
        if (!dentro)
            continue;
        const qsizetype igual = linea.indexOf(u'=');
        const QString nombre = igual > 0 ? linea.left(igual).trimmed() : QString();
        static const QRegularExpression valido(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!valido.match(nombre).hasMatch()) {
            b.avisos_ << QStringLiteral("%1, línea %2: se esperaba Nombre = valor; la línea no se usa.").arg(donde).arg(n + 1);
            continue;
        }
        if (b.indice(nombre) < 0) {
            b.valores_.append({nombre, linea.mid(igual + 1).trimmed()});
            b.lineas_.append(n + 1);
        }
    }
    if (!vista)
        b.avisos_ << QStringLiteral("%1 no tiene la sección [%2]; se usan los valores por omisión.").arg(donde, control);
    return b;
}

BolsaPropiedades BolsaPropiedades::Cargar(const QString& ruta, const QString& control)
{
    if (!QFileInfo::exists(ruta)) {
        BolsaPropiedades b;
        b.origen_ = ruta;
        b.avisos_ << QStringLiteral("No se encuentra %1; se usan los valores por omisión.").arg(ruta);
        return b;
    }
    bool ok = false;
    const QString texto = QFileInfo(ruta).isFile() ? suite::LeerTextoSuite(ruta, &ok) : QString();
    if (!ok) {
        BolsaPropiedades b;
        b.origen_ = ruta;
        b.avisos_ << QStringLiteral("No se puede leer %1; se usan los valores por omisión.").arg(ruta);
        return b;
    }
    return DesdeTexto(texto, control, ruta);
}

QString BolsaPropiedades::ComoTexto(const QString& control) const
{
    QString t = u'[' + control + QStringLiteral("]\r\n");
    for (const auto& [nombre, valor] : valores_)
        t += nombre + QStringLiteral(" = ") + valor + QStringLiteral("\r\n");
    return t;
}

bool BolsaPropiedades::Guardar(const QString& ruta, const QString& control, QString* error) const
{
    // The other sections of the file stay as they are.
    QString previo;
    if (QFileInfo::exists(ruta)) {
        bool ok = false;
        previo = suite::LeerTextoSuite(ruta, &ok);
    }
    QString salida;
    bool dentro = false, escrita = false;
    for (const QString& cruda : previo.split(saltos(), Qt::SkipEmptyParts)) {
        const QString linea = cruda.trimmed();
        if (esSeccion(linea)) {
            dentro = nombreDeSeccion(linea).compare(control, Qt::CaseInsensitive) == 0;
            if (dentro && !escrita) {
                salida += ComoTexto(control);
                escrita = true;
            }
            if (dentro)
                continue;
        }
        if (!dentro)
            salida += cruda + QStringLiteral("\r\n");
    }
    if (!escrita)
        salida += ComoTexto(control);
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(salida.toUtf8()) < 0 || !f.commit()) {
        if (error)
            *error = QStringLiteral("No se puede escribir %1: %2").arg(ruta, f.errorString());
        return false;
    }
    return true;
}
