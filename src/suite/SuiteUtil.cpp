#include "suite/SuiteUtil.h"

#include "suite/Regional.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QDateTime>

namespace suite {

QString CarpetaConBarra(const QString& carpeta)
{
    if (carpeta.isEmpty() || carpeta.endsWith(u'/') || carpeta.endsWith(u'\\'))
        return carpeta;
    return carpeta + u'/';
}

QString QuitarCaracteres(const QString& texto, QChar c1, QChar c2)
{
    QString r;
    r.reserve(texto.size());
    for (QChar c : texto) {
        if (c != c1 && (c2.isNull() || c != c2))
            r += c;
    }
    return r;
}

QString ReemplazarTexto(const QString& texto, const QString& viejo, const QString& nuevo)
{
    if (viejo.isEmpty())
        return texto;
    return QString(texto).replace(viejo, nuevo, Qt::CaseSensitive);
}

QString ReemplazarTodo(const QString& texto, const QString& viejo, const QString& nuevo)
{
    if (viejo.isEmpty())
        return texto;
    return QString(texto).replace(viejo, nuevo, Qt::CaseInsensitive);
}

int ContarPalabras(const QString& texto)
{
    static const QRegularExpression blancos(QStringLiteral("\\s+"));
    return int(texto.split(blancos, Qt::SkipEmptyParts).size());
}

QString FormatoCodigo(const QString& codigo, int ancho)
{
    return codigo.trimmed().rightJustified(qMax(ancho, 0), u' ');
}

QVariant SinNulo(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    return valor;
}

QString TextoVariant(const QVariant& valor)
{
    if (valor.typeId() == QMetaType::QString) // the common case, first
        return *static_cast<const QString*>(valor.constData());
    if (valor.metaType() == QMetaType::fromType<Moneda>()) // as its registered conversion writes it
        return static_cast<const Moneda*>(valor.constData())->texto(RegionalActual().decimal);
    if (!valor.isValid() || valor.isNull())
        return {};
    switch (valor.typeId()) {
    case QMetaType::QString:
        return *static_cast<const QString*>(valor.constData());
    case QMetaType::Double:
    case QMetaType::Float: {
        QString t = QString::number(valor.toDouble(), 'g', 15);
        t.replace(u'.', RegionalActual().decimal);
        return t;
    }
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case QMetaType::QDate:
        return valor.toDate().toString(RegionalActual().fechaCorta);
    case QMetaType::QDateTime: {
        const QDateTime d = valor.toDateTime();
        const QString& corta = RegionalActual().fechaCorta;
        return d.time() == QTime(0, 0) ? d.date().toString(corta) : d.toString(corta + QStringLiteral(" HH:mm:ss"));
    }
    default:
        return valor.toString(); // currency converts with the regional separator itself
    }
}

QStringView VistaTexto(const QVariant& valor, QString& apoyo)
{
    if (valor.typeId() == QMetaType::QString)
        return *static_cast<const QString*>(valor.constData());
    apoyo = TextoVariant(valor);
    return apoyo;
}

Moneda ValorNumerico(const QString& texto)
{
    const Regional& r = RegionalActual();
    return Moneda::leer(texto, r.decimal, r.miles).value_or(Moneda());
}

QString Rellenar(const QString& texto, int ancho)
{
    return texto.rightJustified(qMax(ancho, 0), u' ');
}

int DialogoError(const ErrorRT& error, std::optional<int> estilo, const QString& rutina)
{
    QString titulo = QStringLiteral("Aviso al operador");
    if (!rutina.trimmed().isEmpty())
        titulo += QStringLiteral(" - ") + rutina.trimmed();
    QString texto = QStringLiteral("Se ha producido el error %1:\n%2")
                        .arg(error.Number)
                        .arg(error.Description.trimmed());
    if (!error.Source.trimmed().isEmpty())
        texto += QStringLiteral("\n\nOrigen: ") + error.Source.trimmed();
    return MsgBox(texto, estilo.value_or(vbAbortRetryIgnore + vbCritical), titulo);
}

namespace {
// A light veil over the bytes so that stored secrets are not plain text.
constexpr char Clave[] = "VelaCC";
constexpr QChar Marca = u'~';

QByteArray velar(QByteArray b)
{
    for (qsizetype i = 0; i < b.size(); ++i)
        b[i] = char(b[i] ^ Clave[i % (sizeof(Clave) - 1)] ^ char(i * 7));
    return b;
}
} // namespace

QString CodificaTexto(const QString& texto)
{
    return Marca + QString::fromLatin1(velar(texto.toUtf8()).toHex());
}

QString DecodificaTexto(const QString& codificado)
{
    if (!codificado.startsWith(Marca))
        return codificado;
    const QString hex = codificado.mid(1);
    static const QRegularExpression soloHex(QStringLiteral("^(?:[0-9a-f]{2})*$"));
    if (!soloHex.match(hex).hasMatch())
        return codificado;
    return QString::fromUtf8(velar(QByteArray::fromHex(hex.toLatin1())));
}

} // namespace suite
