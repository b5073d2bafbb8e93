#pragma once
// The user's regional settings: number separators, fractional digits and short date pattern.
// Read once from the system locale; tests and callers may replace them.

#include <QChar>
#include <QLocale>
#include <QString>

namespace suite {

struct Regional {
    QChar decimal = u',';
    QChar miles = u'.';
    int digitos = 2;                       // fractional digits of the locale (LOCALE_IDIGITS)
    QString fechaCorta = QStringLiteral("dd/MM/yyyy"); // QDate pattern

    static Regional delSistema(); // from LocalePrograma()
};

// The system's locale; Spanish (Argentina) when the system gives only the C locale (LANG
// unset, C, POSIX or C.UTF-8).
QLocale LocalePrograma();

const Regional& RegionalActual();
void FijarRegional(const Regional& r);
void RestablecerRegional(); // back to the system's

} // namespace suite
