#include "suite/Regional.h"

#include <QLocale>
#include <optional>

namespace suite {

namespace {
std::optional<Regional>& actual()
{
    static std::optional<Regional> r;
    return r;
}
} // namespace

QLocale LocalePrograma()
{
    // LANG unset, C or POSIX give Qt's C locale (English month names, "11 Dec 2026"): the
    // suite's own formats are those of Spanish (Argentina).
    const QLocale sistema = QLocale::system();
    if (sistema.language() == QLocale::C)
        return QLocale(QLocale::Spanish, QLocale::Argentina);
    return sistema;
}

Regional Regional::delSistema()
{
    const QLocale loc = LocalePrograma();
    Regional r;
    r.decimal = loc.decimalPoint().isEmpty() ? QChar(u'.') : loc.decimalPoint().front();
    r.miles = loc.groupSeparator().isEmpty() ? QChar() : loc.groupSeparator().front();
    // QLocale has no fractional-digit count; currency texts of the locale show it.
    const QString ejemplo = loc.toCurrencyString(1.0, QStringLiteral(" "));
    const qsizetype p = ejemplo.indexOf(r.decimal);
    r.digitos = 2;
    if (p >= 0) {
        int n = 0;
        for (qsizetype i = p + 1; i < ejemplo.size() && ejemplo[i].isDigit(); ++i)
            ++n;
        r.digitos = n;
    }
    const QString patron = loc.dateFormat(QLocale::ShortFormat);
    if (!patron.isEmpty())
        r.fechaCorta = patron;
    return r;
}

const Regional& RegionalActual()
{
    auto& r = actual();
    if (!r)
        r = Regional::delSistema();
    return *r;
}

void FijarRegional(const Regional& r) { actual() = r; }

void RestablecerRegional() { actual().reset(); }

} // namespace suite
