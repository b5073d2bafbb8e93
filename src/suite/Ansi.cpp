#include "suite/Ansi.h"

namespace suite {

namespace {
// 0x80..0x9F; 0 where the code page leaves the byte undefined (read as the same code point).
constexpr char16_t Altos[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
} // namespace

QString DeAnsi(const QByteArray& bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        s[i] = QChar(b >= 0x80 && b < 0xA0 && Altos[b - 0x80] ? Altos[b - 0x80] : char16_t(b));
    }
    return s;
}

QByteArray AAnsi(const QString& texto)
{
    QByteArray r;
    r.reserve(texto.size());
    for (QChar c : texto) {
        const char16_t u = c.unicode();
        char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            b = char(u);
        } else {
            for (int i = 0; i < 32; ++i)
                if (Altos[i] == u || (Altos[i] == 0 && u == 0x80 + i))
                    b = char(0x80 + i);
        }
        r.append(b);
    }
    return r;
}

} // namespace suite
