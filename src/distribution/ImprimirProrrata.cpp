// "REPORTE": the table in the code field printed by the suite's report printer.
#include "distribution/frmProrrata.h"

#include "startup/CNStuffContable.h"
#include "suite/ErrorRT.h"
#include "suite/Reportes.h"
#include "suite/SuiteUtil.h"

#include <QLineEdit>

namespace {

const QString NombreReporte = QStringLiteral("RP_CCDIST");
const QString CampoCodigo = QStringLiteral("{MA_CUENTAS_CCDIST.CODIGO}");

QString cfg(const QString& clave)
{
    QString aux;
    return Cfg(clave, aux);
}

} // namespace

QStringList frmProrrata::FormulasReporte()
{
    const QString nombre = cfg(QStringLiteral("NOMBRE"));
    const QString calle = cfg(QStringLiteral("CALLE"));
    const QString numero = cfg(QStringLiteral("NUMERO"));
    const QString piso = cfg(QStringLiteral("PISO"));
    const QString localidad = cfg(QStringLiteral("LOCALIDAD"));
    return {QStringLiteral("NombreEmpresa = '") + nombre + u'\'',
            QStringLiteral("Direccion = '") + calle + u' ' + numero + u' ' + piso + u'\'',
            QStringLiteral("Localidad = '") + localidad + u'\'',
            QStringLiteral("NomRep = 'Tabla de Distribución de Centros de Costos'")};
}

void frmProrrata::Imprimir()
{
    QString codigo;
    FiltroSeleccion filtro;
    QStringList formulas;
    QString seleccion;
    suite::Rutina r = suite::Rutina::conDialogoError(QStringLiteral("Imprimir"));
    r([&] { codigo = suite::FormatoCodigo(txtFields[0]->text()); })
     ([&] { filtro = FiltroSeleccion{codigo, codigo, CampoCodigo, 129, 0, QString()}; })
     ([&] { formulas = FormulasReporte(); })
     ([&] { seleccion = ArmarSeleccion({filtro}); })
     ([&] {
         suite::ImprimirReporte(NombreReporte, {}, seleccion, gDSN, formulas.value(0), formulas.value(1), formulas.value(2),
                                formulas.value(3), QString(), QString(), QString(), QString());
     });
}
