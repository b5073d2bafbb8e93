// The record-selection formula the report printer receives.
#include "startup/CNStuffContable.h"

namespace {

// A value between quotes, its own quotes doubled so that it stays one text.
QString textoFormula(const QString& valor)
{
    return u'\'' + QString(valor).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// "campo >= 'valor' " or, with a "*" in the value, "campo LIKE 'valor' ".
QString comparacion(const QString& campo, const QString& operador, const QString& valor)
{
    if (valor.contains(u'*'))
        return campo + QStringLiteral(" LIKE ") + textoFormula(valor) + u' ';
    return campo + u' ' + operador + u' ' + textoFormula(valor) + u' ';
}

} // namespace

QString ArmarSeleccion(const QList<FiltroSeleccion>& filtros, QString* error)
{
    QString formula;
    for (const FiltroSeleccion& f : filtros) {
        const QString desde = f.Desde.trimmed();
        const QString hasta = f.Hasta.trimmed();
        if (!desde.isEmpty() && !hasta.isEmpty() && desde > hasta) {
            if (error)
                *error = QStringLiteral("Desde Mayor que Hasta, Campo : ") + f.Campo;
            return {};
        }
        const QString campo = f.NoTrim ? f.Campo : QStringLiteral("TrimLeft(TrimRight(") + f.Campo + QStringLiteral("))");
        QString termino;
        if (!desde.isEmpty())
            termino = comparacion(campo, QStringLiteral(">="), desde);
        if (!hasta.isEmpty()) {
            if (!termino.isEmpty())
                termino += QStringLiteral(" AND ");
            termino += comparacion(campo, QStringLiteral("<="), hasta);
        }
        const QString operador = f.Operador.trimmed().toUpper();
        if (!operador.isEmpty() && operador != QLatin1String("AND") && operador != QLatin1String("OR")) {
            if (error)
                *error = QStringLiteral("Operador logico incorrecto");
            return {};
        }
        if (termino.isEmpty())
            continue;
        if (!formula.isEmpty())
            formula += u' ' + (operador.isEmpty() ? QStringLiteral("AND") : operador) + u' ';
        formula += termino;
    }
    return formula;
}
