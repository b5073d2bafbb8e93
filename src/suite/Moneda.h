#pragma once
// Fixed-point currency: a 64-bit integer scaled by 10,000 (four decimals), as the suite's
// Currency type. Every amount and percentage goes through it; never binary floating point.

#include <QMetaType>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace suite {

class Moneda {
public:
    static constexpr int64_t Escala = 10000;
    static constexpr int Decimales = 4;

    constexpr Moneda() = default;
    static constexpr Moneda desdeUnidades(int64_t u) { Moneda m; m.v_ = u; return m; }
    static constexpr Moneda desdeEntero(int64_t n) { return desdeUnidades(n * Escala); }
    // Rounds half away from zero to four decimals; nullopt when out of range or not finite.
    static std::optional<Moneda> desdeDouble(double d);

    // Reads an optional sign, digits with thousands separators and one decimal separator;
    // blanks around are ignored. More than four decimals round half away from zero.
    // nullopt for empty, non-numeric or out-of-range text.
    static std::optional<Moneda> leer(const QString& texto, QChar decimal, QChar miles);

    constexpr int64_t unidades() const { return v_; }
    double aDouble() const { return double(v_) / Escala; }

    // Decimals the value really has (0..4): 12.3400 has two.
    int decimalesUsados() const;

    // Rounded half away from zero to n decimals (0..4); n >= 4 leaves the value as it is.
    Moneda redondear(int n) const;

    // Fixed text with n decimals (any n >= 0), grouped in threes with `miles` when given
    // (QChar() for none). Rounds half away from zero when n < 4.
    QString formatear(int n, QChar decimal, QChar miles = QChar()) const;
    // The shortest text: only the decimals it needs ("12,5"), as the suite writes a
    // currency value as text. A QVariant holding a Moneda converts with the regional separator.
    QString texto(QChar decimal) const;

    friend constexpr Moneda operator+(Moneda a, Moneda b) { return desdeUnidades(a.v_ + b.v_); }
    friend constexpr Moneda operator-(Moneda a, Moneda b) { return desdeUnidades(a.v_ - b.v_); }
    friend constexpr Moneda operator-(Moneda a) { return desdeUnidades(-a.v_); }
    friend constexpr Moneda operator*(Moneda a, int64_t n) { return desdeUnidades(a.v_ * n); }
    Moneda& operator+=(Moneda b) { v_ += b.v_; return *this; }
    Moneda& operator-=(Moneda b) { v_ -= b.v_; return *this; }
    friend constexpr auto operator<=>(Moneda, Moneda) = default;
    friend constexpr bool operator==(Moneda, Moneda) = default;

private:
    int64_t v_ = 0;
};

} // namespace suite

Q_DECLARE_METATYPE(suite::Moneda)
