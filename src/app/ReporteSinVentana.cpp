#include "ReporteSinVentana.h"

#include "distribution/frmProrrata.h"
#include "report/ImpresoraReportes.h"
#include "suite/Dialogos.h"
#include "suite/ErrorRT.h"
#include "suite/Reportes.h"

#include <QLineEdit>
#include <cstdio>
#include <cstring>

namespace {

// The operator dialogs with nobody in front: each message goes to standard error and takes
// the answer that gives up (No, Cancel, Abort; OK when it is the only button).
class DialogosConsola : public suite::IDialogos {
public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(titulo), qUtf8Printable(QString(texto).replace(u'\r', u'\n')));
        return suite::RespuestaSinOperador(estilo);
    }
    std::optional<QString> InputBox(const QString& texto, const QString& titulo, const QString&) override
    {
        MsgBox(texto, suite::vbOKCancel, titulo);
        return std::nullopt;
    }
    std::optional<QString> AbrirArchivo(const QString& titulo, const QString&) override
    {
        MsgBox(QStringLiteral("Se pidió elegir un archivo."), suite::vbOKCancel, titulo);
        return std::nullopt;
    }
};

} // namespace

std::optional<PedidoSinVentana> LeerOpcionesReporte(QStringList& argumentos)
{
    PedidoSinVentana p;
    bool alguna = false;
    for (const char* opcion : {"--reporte", "--pdf"}) {
        const qsizetype i = argumentos.indexOf(QLatin1String(opcion));
        if (i < 0)
            continue;
        alguna = true;
        const QString valor = argumentos.value(i + 1);
        (std::strcmp(opcion, "--pdf") == 0 ? p.pdf : p.codigo) = valor;
        argumentos.remove(i, i + 1 < argumentos.size() ? 2 : 1);
    }
    if (!alguna)
        return std::nullopt;
    if (p.codigo.trimmed().isEmpty() || p.codigo.startsWith(QLatin1String("--")) || p.pdf.trimmed().isEmpty()
        || p.pdf.startsWith(QLatin1String("--")))
        p.error = QStringLiteral("Uso: prorrata --reporte CODIGO --pdf ARCHIVO \"@Server=...; @DbName=...; @Usuario=...;\"");
    return p;
}

void PrepararSinVentana(int argc, char** argv)
{
    bool sinVentana = false;
    for (int i = 1; i < argc; ++i)
        sinVentana = sinVentana || std::strcmp(argv[i], "--pdf") == 0 || std::strcmp(argv[i], "--reporte") == 0;
    if (sinVentana && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int ReporteSinVentana(frmProrrata& form, const PedidoSinVentana& pedido, const QString& lineaComandos,
                      const reporte::ImpresoraReportes& impresora)
{
    if (!pedido.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(pedido.error));
        return 1;
    }
    static DialogosConsola consola;
    suite::FijarDialogos(&consola);
    // Start-up ends the program when no connection opens: that is a failure here.
    suite::FijarTerminador([](int) {
        std::fflush(stdout);
        std::fprintf(stderr, "No se pudo abrir la conexión; el reporte no se escribió.\n");
        std::_Exit(1);
    });
    suite::FijarDestinoReportes({pedido.pdf});
    form.Form_Load(lineaComandos);
    form.txtFields[0]->setText(pedido.codigo);
    const int antes = impresora.pdfEscritos();
    form.Imprimir();
    if (impresora.pdfEscritos() == antes) {
        std::fprintf(stderr, "El reporte no se escribió en %s.\n", qUtf8Printable(pedido.pdf));
        return 1;
    }
    return 0;
}
