#pragma once
// The suite's report printer, as the programs call it: where report definitions lie, and
// the call that prints or shows a report. The printer itself lives above the data layer
// (it reads the database); the program installs it at start-up.

#include <QString>
#include <QStringList>

namespace suite {

inline QString& CarpetaReportesActual()
{
    static QString carpeta;
    return carpeta;
}
inline void CarpetaReportes(const QString& carpeta) { CarpetaReportesActual() = carpeta; }

// Everything ImprimirReporte is handed.
struct PedidoReporte {
    QString nombre;          // the report definition ("RP_CCDIST")
    QStringList textos;
    QString seleccion;       // record-selection formula; empty: every record
    QString conexion;        // connection text ("DSN=...; UID=...; PWD=...")
    QStringList formulas;    // heading formulas "Nombre = 'valor'"; empty ones are skipped
    QStringList extras;
};

// Where a report goes: the preview window (from which the user prints or saves a PDF), or
// straight to a PDF file without any window.
struct DestinoReporte {
    QString archivoPdf; // empty: the preview
};

class IImpresoraReportes {
public:
    virtual ~IImpresoraReportes() = default;
    // Raises suite::ErrorEjecucion when the report cannot be produced.
    virtual void Imprimir(const PedidoReporte& pedido, const DestinoReporte& destino) = 0;
};

// The printer in use (nullptr: none installed) and where reports go.
void FijarImpresoraReportes(IImpresoraReportes* impresora);
void FijarDestinoReportes(const DestinoReporte& destino);
const DestinoReporte& DestinoReportes();

// Prints or shows a report through the installed printer. Raises suite::ErrorEjecucion when
// no printer is installed or the report cannot be produced.
void ImprimirReporte(const QString& nombre, const QStringList& textos, const QString& seleccion,
                     const QString& conexion, const QString& formula1, const QString& formula2,
                     const QString& formula3, const QString& formula4, const QString& formula5,
                     const QString& texto1, const QString& texto2, const QString& texto3);

} // namespace suite
