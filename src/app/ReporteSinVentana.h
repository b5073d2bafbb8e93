#pragma once
// prorrata --reporte CODIGO --pdf ARCHIVO "<suite command line>": starts as usual, writes the
// distribution table's report to the PDF file and ends, without any window. Messages go to
// standard error; the exit status is 0 when the file was written, 1 otherwise.

#include <QString>
#include <QStringList>
#include <optional>

class frmProrrata;

namespace reporte {
class ImpresoraReportes;
}

struct PedidoSinVentana {
    QString codigo;
    QString pdf;
    QString error; // the options are incomplete
};

// Takes the options out of the arguments; nullopt when neither is there.
std::optional<PedidoSinVentana> LeerOpcionesReporte(QStringList& argumentos);

// Before the application object: without a display the program needs no window system.
void PrepararSinVentana(int argc, char** argv);

int ReporteSinVentana(frmProrrata& form, const PedidoSinVentana& pedido, const QString& lineaComandos,
                      const reporte::ImpresoraReportes& impresora);
