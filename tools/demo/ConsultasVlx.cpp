#include "ConsultasVlx.h"

#include "suite/Ansi.h"

#include <QFile>
#include <stdexcept>

namespace demo {

namespace {
void campo(QByteArray& registro, int desde, int largo, const QString& texto, char relleno)
{
    QByteArray b = suite::AAnsi(texto).left(largo);
    b.append(QByteArray(largo - b.size(), relleno));
    registro.replace(desde, largo, b);
}
} // namespace

void EscribirConsultas(const QString& ruta, const QList<DefinicionConsulta>& registros, char relleno)
{
    QFile f(ruta);
    const auto soloDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate, soloDueno) || !f.setPermissions(soloDueno))
        throw std::runtime_error(("no se puede escribir " + ruta).toStdString());
    for (const DefinicionConsulta& d : registros) {
        QByteArray r(LargoRegistroConsulta, relleno);
        campo(r, 0, 100, d.texto, relleno);
        campo(r, 100, 100, d.tabla, relleno);
        campo(r, 200, 500, d.columnas, relleno);
        campo(r, 700, 500, d.condicion, relleno);
        r[1200] = 0;
        r[1201] = 0;
        f.write(r);
    }
}

DefinicionConsulta ConsultaCuentas()
{
    return {QStringLiteral("Plan de cuentas"), QStringLiteral("MA_CUENTAS"), QStringLiteral("|Codigo|Descripcion|"), {}};
}

} // namespace demo
