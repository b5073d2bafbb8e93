#pragma once
// Single-byte text in the Windows ANSI code page (Windows-1252), as the suite's fixed-record
// files hold it.

#include <QByteArray>
#include <QString>

namespace suite {

QString DeAnsi(const QByteArray& bytes);
// Characters outside the code page become "?".
QByteArray AAnsi(const QString& texto);

} // namespace suite
