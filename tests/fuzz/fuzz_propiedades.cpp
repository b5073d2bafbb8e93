// Stored control properties: every value read, as text, number or Boolean, is written back
// so that it reads the same again.
#include "Fuzz.h"

#include "toolbar/BolsaPropiedades.h"

#include <QRegularExpression>

ENTRADA_FUZZ
{
    const QString texto = fuzz::Texto(datos, largo);
    const QString control = QStringLiteral("UtilVela1");
    const BolsaPropiedades bolsa = BolsaPropiedades::DesdeTexto(texto, control, QStringLiteral("fuzz.propiedades"));
    static const QRegularExpression nombre(QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*="), QRegularExpression::MultilineOption);
    int vistos = 0;
    for (auto it = nombre.globalMatch(texto); it.hasNext() && vistos < 16; ++vistos) {
        const QString n = it.next().captured(1);
        if (!bolsa.Contiene(n))
            continue;
        const QVariant tipos[] = {QVariant(QStringLiteral("\x01")), QVariant(false), QVariant::fromValue(short(-7)),
                                  QVariant::fromValue(qint32(-7))};
        for (const QVariant& porDefecto : tipos) {
            const QVariant v = bolsa.ReadProperty(n, porDefecto);
            BolsaPropiedades otra;
            otra.WriteProperty(n, v, QVariant());
            const BolsaPropiedades leida = BolsaPropiedades::DesdeTexto(otra.ComoTexto(control), control);
            const QVariant v2 = leida.ReadProperty(n, porDefecto);
            EXIGIR(v2 == v, n + QStringLiteral(": ") + v.toString() + QStringLiteral(" -> ") + otra.ComoTexto(control)
                                + QStringLiteral(" -> ") + v2.toString());
        }
    }
    return 0;
}
