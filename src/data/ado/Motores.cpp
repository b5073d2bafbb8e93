#include "data/ado/Motor.h"

#include "data/ado/odbc/Sesion.h"
#include "data/ado/postgresql/Sesion.h"
#include "data/ado/sqlite/Sesion.h"

#include "suite/Moneda.h"

#include <QDateTime>
#include <algorithm>

namespace ado {

QString TextoParametro(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<suite::Moneda>())
        return v.value<suite::Moneda>().formatear(suite::Moneda::Decimales, u'.');
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    default: return v.toString();
    }
}

bool LeerTextoAscii(const char* texto, qsizetype largo, QVariant& destino)
{
    if (destino.typeId() != QMetaType::QString || !destino.isDetached())
        return false;
    // A QString is held inside the variant itself: written in place once neither is shared.
    auto* s = static_cast<QString*>(const_cast<void*>(destino.constData()));
    if (!s->isDetached())
        return false;
    // Both loops are plain enough for the compiler to run them several bytes at a time.
    unsigned char alto = 0;
    for (qsizetype k = 0; k < largo; ++k)
        alto |= static_cast<unsigned char>(texto[k]);
    if (alto & 0x80)
        return false;
    if (s->size() != largo)
        s->resize(largo);
    char16_t* d = reinterpret_cast<char16_t*>(s->data());
    for (qsizetype k = 0; k < largo; ++k)
        d[k] = char16_t(static_cast<unsigned char>(texto[k]));
    return true;
}

std::unique_ptr<Motor> CrearMotor(const QString& nombre)
{
    const QString n = nombre.trimmed().toLower();
    if (n == QLatin1String("sqlite"))
        return std::make_unique<sqlite::MotorSqlite>();
    if (n == QLatin1String("postgresql"))
        return std::make_unique<postgresql::MotorPostgres>();
    if (n == QLatin1String("odbc") || n == QLatin1String("sqlserver"))
        return std::make_unique<odbc::MotorOdbc>();
    return nullptr;
}

} // namespace ado
