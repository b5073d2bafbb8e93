#pragma once
// The suite's report printer: finds the definition in the reports folder, reads the
// selection and heading formulas, opens the database the connection text names, reads the
// rows and shows them in a print preview (print, or save as PDF), or writes a PDF file
// without any window.

#include "report/Datos.h"
#include "report/Definicion.h"
#include "report/Maquetador.h"
#include "suite/Reportes.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace reporte {

// A report read and ready to lay out on any page.
struct ReporteListo {
    Definicion definicion;
    DatosReporte datos;
    Contexto contexto;
};

// Everything the request names, read: raises suite::ErrorEjecucion when the definition, the
// selection formula or the database fails.
ReporteListo Preparar(const suite::PedidoReporte& pedido);

// The connection string for the connection text the program hands over: "DSN=BASE; UID=...;
// PWD=..." names a database of the server the program is connected to; any other text is a
// connection string of its own.
QString CadenaDeReporte(const QString& conexion);

// The page (size, orientation, margins) a definition asks for, set on a device.
void PrepararPagina(const Definicion& d, QPagedPaintDevice& dispositivo);

// Lays the report out for the device and paints every page (the device's painter origin is
// its margin's corner).
void Pintar(const ReporteListo& r, QPagedPaintDevice& dispositivo);

// Writes the PDF file whole or not at all; raises suite::ErrorEjecucion when it cannot.
void EscribirPdf(const ReporteListo& r, const QString& archivo);

// The file name the preview offers when saving a PDF: the title, and the group's caption
// when there is only one ("Tabla de Distribución de Centros de Costos - Tabla 1 · Gastos de
// estructura.pdf"), without characters that file names do not take.
QString NombreArchivoSugerido(const ReporteListo& r);

// The preview window, modal; from it the user prints or saves a PDF.
void MostrarVistaPrevia(const ReporteListo& r, QWidget* padre = nullptr);

class ImpresoraReportes : public suite::IImpresoraReportes {
public:
    void Imprimir(const suite::PedidoReporte& pedido, const suite::DestinoReporte& destino) override;
    // PDF files written straight to a file so far.
    int pdfEscritos() const { return pdfEscritos_; }

private:
    int pdfEscritos_ = 0;
};

} // namespace reporte
