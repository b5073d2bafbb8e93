#include "startup/CNStuffContable.h"

#include "suite/Equipo.h"
#include "suite/Regional.h"
#include "suite/RegistroErrores.h"
#include "suite/Reloj.h"
#include "suite/SuiteUtil.h"

#include <QFile>
#include <algorithm>

int gDecimalesSuite = 0;

QString CarpetaRegistroErrores()
{
    QString carpeta;
    if (!qEnvironmentVariable("TEMP").isEmpty())
        carpeta = qEnvironmentVariable("TMP").trimmed();
    if (carpeta.isEmpty())
        carpeta = suite::CarpetaTemporal();
    return suite::CarpetaConBarra(carpeta);
}

int AvisoError(const suite::ErrorRT& error, std::optional<int> botones, const QString& rutina)
{
    const auto registro = suite::AbrirRegistro(CarpetaRegistroErrores() + suite::NombreRegistroErrores);
    const QString mensaje = suite::MensajeError(error.Number, error.Description);
    QString titulo = error.Source;
    if (!rutina.isEmpty())
        titulo += QStringLiteral(" - ") + rutina;
    titulo += QStringLiteral(" Aviso al operador!!! ");

    int respuesta = 0;
    if (error.Number != 0) {
        respuesta = suite::MsgBox(mensaje, botones.value_or(suite::vbAbortRetryIgnore + suite::vbCritical), titulo);
        suite::EscribirLinea(*registro, suite::LineaRegistro(suite::Ahora(), rutina, mensaje, respuesta));
    }
    return respuesta;
}

namespace {
int decimalesDeFormato(int decimales)
{
    if (decimales == -1)
        decimales = gDecimalesSuite;
    const suite::Regional& regional = suite::RegionalActual();
    if (decimales == 0)
        decimales = regional.digitos;
    if (decimales == -2)
        decimales = 0;
    if (decimales < 0)
        decimales = 0;
    return decimales;
}
} // namespace

QString FmtMoneda(const QString& valor, int decimales, bool& miles, short& ancho)
{
    if (decimales == -3)
        return valor;
    decimales = decimalesDeFormato(decimales);
    const suite::Regional& regional = suite::RegionalActual();
    QString texto = suite::ValorNumerico(valor).formatear(decimales, regional.decimal,
                                                            miles ? regional.miles : QChar());
    if (ancho > 0) {
        if (ancho > 25)
            ancho = 25;
        texto = suite::Rellenar(texto, ancho);
    }
    return texto;
}

QString FmtPorcentaje(suite::Moneda valor)
{
    const int decimales = std::max(decimalesDeFormato(-1), valor.decimalesUsados());
    return valor.formatear(decimales, suite::RegionalActual().decimal);
}

QString FmtMoneda(const QString& valor, int decimales)
{
    bool miles = false;
    short ancho = 0;
    return FmtMoneda(valor, decimales, miles, ancho);
}

bool ExisteArchivo(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly);
}

QString FormatoFecha() { return QStringLiteral("dd/mm/yy"); }

QString FormatoHora() { return QStringLiteral("hh:mm"); }

QString FormatoSuite(const QDateTime& cuando, const QString& patron)
{
    const QDate fecha = cuando.date();
    const QTime hora = cuando.time();
    auto dos = [](int n) { return QString::number(n).rightJustified(2, u'0'); };

    QString salida;
    bool trasHora = false; // "m" right after an hour means minutes
    for (qsizetype i = 0; i < patron.size();) {
        const QChar c = patron[i].toLower();
        qsizetype n = 1;
        while (i + n < patron.size() && patron[i + n].toLower() == c)
            ++n;
        switch (c.unicode()) {
        case u'd': salida += n >= 2 ? dos(fecha.day()) : QString::number(fecha.day()); trasHora = false; break;
        case u'y':
            salida += n >= 4 ? QString::number(fecha.year()).rightJustified(4, u'0') : dos(fecha.year() % 100);
            trasHora = false;
            break;
        case u'h': salida += n >= 2 ? dos(hora.hour()) : QString::number(hora.hour()); trasHora = true; break;
        case u'n': salida += n >= 2 ? dos(hora.minute()) : QString::number(hora.minute()); trasHora = false; break;
        case u's': salida += n >= 2 ? dos(hora.second()) : QString::number(hora.second()); trasHora = false; break;
        case u'm': {
            const int v = trasHora ? hora.minute() : fecha.month();
            salida += n >= 2 ? dos(v) : QString::number(v);
            trasHora = false;
            break;
        }
        default: salida += patron.mid(i, n); break;
        }
        i += n;
    }
    return salida;
}

QString ValorToken(const QString& lineaComandos, const QString& token)
{
    qsizetype p = -1;
    for (qsizetype desde = 0;; desde = p + 1) {
        p = lineaComandos.indexOf(token, desde, Qt::CaseInsensitive);
        if (p < 0)
            return {};
        const qsizetype tras = p + token.size();
        if (tras >= lineaComandos.size() || !lineaComandos[tras].isLetterOrNumber())
            break;
    }
    const qsizetype inicio = p + token.size();
    const qsizetype fin = lineaComandos.indexOf(u';', inicio);
    if (fin < 0)
        return {};
    return suite::QuitarCaracteres(lineaComandos.mid(inicio, fin - inicio), u'=').trimmed();
}
