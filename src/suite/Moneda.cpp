#include "suite/Moneda.h"

#include "suite/Regional.h"

#include <cmath>
#include <limits>

namespace suite {

namespace {

constexpr int64_t potencia10(int n)
{
    int64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Rounds u / d half away from zero.
int64_t dividirRedondeando(int64_t u, int64_t d)
{
    const int64_t q = u / d;
    const int64_t r = u % d;
    if (2 * (r < 0 ? -r : r) >= d)
        return q + (u < 0 ? -1 : 1);
    return q;
}

} // namespace

std::optional<Moneda> Moneda::desdeDouble(double d)
{
    if (!std::isfinite(d))
        return std::nullopt;
    const double escalado = std::round(d * Escala); // std::round is half away from zero
    if (std::fabs(escalado) >= 9.2e18)
        return std::nullopt;
    return desdeUnidades(static_cast<int64_t>(escalado));
}

std::optional<Moneda> Moneda::leer(const QString& texto, QChar decimal, QChar miles)
{
    const QString t = texto.trimmed();
    int i = 0;
    bool negativo = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negativo = t[i] == u'-';
        ++i;
        while (i < t.size() && t[i].isSpace())
            ++i;
    }

    // Unsigned accumulation detects overflow; a fifth decimal is kept for the rounding.
    constexpr uint64_t limite = uint64_t(std::numeric_limits<int64_t>::max());
    uint64_t enteros = 0;
    uint64_t fraccion = 0; // five decimals
    int decimalesLeidos = 0;
    bool hayDigitos = false;
    bool enFraccion = false;

    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            hayDigitos = true;
            const unsigned d = c.unicode() - u'0';
            if (!enFraccion) {
                if (enteros > (limite - d) / 10)
                    return std::nullopt;
                enteros = enteros * 10 + d;
            } else if (decimalesLeidos < 5) {
                fraccion = fraccion * 10 + d;
                ++decimalesLeidos;
            } // digits past the fifth cannot change a half-away-from-zero rounding
        } else if (c == decimal && !enFraccion) {
            enFraccion = true;
        } else if (!enFraccion && (c == miles || ((c == u'.' || c == u',') && c != decimal))) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!hayDigitos)
        return std::nullopt;

    while (decimalesLeidos < 5) {
        fraccion *= 10;
        ++decimalesLeidos;
    }
    // fraccion has five decimals: round half away from zero to four.
    uint64_t cuatro = fraccion / 10;
    const unsigned quinto = fraccion % 10;
    if (quinto >= 5)
        ++cuatro;

    if (enteros > (limite - cuatro) / uint64_t(Escala))
        return std::nullopt;
    const int64_t u = int64_t(enteros * uint64_t(Escala) + cuatro);
    return desdeUnidades(negativo ? -u : u);
}

int Moneda::decimalesUsados() const
{
    int64_t fraccion = v_ % Escala;
    int n = Decimales;
    while (n > 0 && fraccion % 10 == 0) {
        fraccion /= 10;
        --n;
    }
    return n;
}

Moneda Moneda::redondear(int n) const
{
    if (n >= Decimales)
        return *this;
    if (n < 0)
        n = 0;
    const int64_t paso = potencia10(Decimales - n);
    return desdeUnidades(dividirRedondeando(v_, paso) * paso);
}

QString Moneda::formatear(int n, QChar decimal, QChar miles) const
{
    if (n < 0)
        n = 0;
    const Moneda r = redondear(n);
    const bool negativo = r.v_ < 0;
    const uint64_t absoluto = negativo ? uint64_t(0) - uint64_t(r.v_) : uint64_t(r.v_);
    const uint64_t enteros = absoluto / uint64_t(Escala);
    const uint64_t fraccion = absoluto % uint64_t(Escala);

    QString parteEntera = QString::number(enteros);
    if (!miles.isNull()) {
        for (qsizetype pos = parteEntera.size() - 3; pos > 0; pos -= 3)
            parteEntera.insert(pos, miles);
    }
    QString resultado = negativo ? QStringLiteral("-") + parteEntera : parteEntera;
    if (n > 0) {
        QString f = QString::number(fraccion).rightJustified(Decimales, u'0');
        if (n < Decimales)
            f.truncate(n);
        else
            f += QString(n - Decimales, u'0');
        resultado += decimal + f;
    }
    return resultado;
}

QString Moneda::texto(QChar decimal) const
{
    // Written from the right into a buffer: the decimals without their trailing zeros, the
    // separator only when one is left, then the integer part and the sign.
    const bool negativo = v_ < 0;
    const uint64_t absoluto = negativo ? uint64_t(0) - uint64_t(v_) : uint64_t(v_);
    uint64_t enteros = absoluto / uint64_t(Escala);
    uint64_t fraccion = absoluto % uint64_t(Escala);
    int decimales = Decimales;
    while (decimales > 0 && fraccion % 10 == 0) {
        fraccion /= 10;
        --decimales;
    }
    char16_t b[32];
    int i = 32;
    if (decimales > 0) {
        for (int k = 0; k < decimales; ++k, fraccion /= 10)
            b[--i] = char16_t(u'0' + fraccion % 10);
        b[--i] = decimal.unicode();
    }
    do {
        b[--i] = char16_t(u'0' + enteros % 10);
        enteros /= 10;
    } while (enteros > 0);
    if (negativo)
        b[--i] = u'-';
    return QString(reinterpret_cast<const QChar*>(b + i), 32 - i);
}

namespace {
// QVariant conversions, so that a currency field reads as text the way the suite writes it.
const bool conversionesRegistradas = [] {
    QMetaType::registerConverter<Moneda, QString>([](const Moneda& m) { return m.texto(RegionalActual().decimal); });
    QMetaType::registerConverter<Moneda, double>(&Moneda::aDouble);
    return true;
}();
} // namespace

} // namespace suite
