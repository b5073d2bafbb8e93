#include "suite/Reportes.h"

#include "suite/ErrorRT.h"

namespace suite {

namespace {
IImpresoraReportes* impresora = nullptr;
DestinoReporte destino;
} // namespace

void FijarImpresoraReportes(IImpresoraReportes* i) { impresora = i; }
void FijarDestinoReportes(const DestinoReporte& d) { destino = d; }
const DestinoReporte& DestinoReportes() { return destino; }

void ImprimirReporte(const QString& nombre, const QStringList& textos, const QString& seleccion,
                     const QString& conexion, const QString& formula1, const QString& formula2,
                     const QString& formula3, const QString& formula4, const QString& formula5,
                     const QString& texto1, const QString& texto2, const QString& texto3)
{
    if (!impresora)
        Lanzar(429, QStringLiteral("No hay una impresora de reportes instalada para imprimir %1.").arg(nombre),
               QStringLiteral("ImprimirReporte"));
    impresora->Imprimir(PedidoReporte{nombre, textos, seleccion, conexion,
                                      {formula1, formula2, formula3, formula4, formula5},
                                      {texto1, texto2, texto3}},
                        destino);
}

} // namespace suite
