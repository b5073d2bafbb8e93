#include "report/ImpresoraReportes.h"

#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "data/ado/Ado.h"
#include "data/ado/CadenaConexion.h"
#include "suite/Dialogos.h"
#include "suite/ErrorRT.h"
#include "suite/Reloj.h"
#include "suite/SuiteUtil.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>

namespace reporte {

QString CadenaDeReporte(const QString& conexion)
{
    const QMap<QString, QString> partes = ado::LeerCadenaConexion(conexion);
    const QString dsn = partes.value(QStringLiteral("dsn"));
    if (dsn.isEmpty())
        return conexion;
    auto parte = [](const QString& clave, const QString& valor) {
        return clave + QStringLiteral("=") + QString(valor).remove(u';') + u';';
    };
    return parte(QStringLiteral("Server"), gDB.gServidor) + parte(QStringLiteral("Database"), dsn)
        + parte(QStringLiteral("UId"), partes.value(QStringLiteral("uid"))) + parte(QStringLiteral("Pwd"), partes.value(QStringLiteral("pwd")));
}

ReporteListo Preparar(const suite::PedidoReporte& pedido)
{
    ReporteListo r;
    r.definicion = CargarDefinicion(pedido.nombre);
    const std::unique_ptr<Nodo> seleccion = LeerFormula(pedido.seleccion);
    r.contexto.formulas = LeerFormulasEncabezado(pedido.formulas);
    r.contexto.emision = suite::Ahora();

    if (pedido.conexion.trimmed().isEmpty())
        suite::Lanzar(ErrorEnDefinicion, QStringLiteral("El reporte %1 no recibió la conexión a la base de datos.").arg(r.definicion.nombre),
                      QStringLiteral("Reportes"));
    ado::Connection cn;
    cn.Open(CadenaDeReporte(pedido.conexion));
    r.datos = LeerDatos(cn, r.definicion, seleccion.get(), [](const QString& tabla) {
        return gDB.SS_TSinonimos(u' ' + tabla + u' ').trimmed();
    });
    const QString base = cn.motor() ? cn.motor()->base() : QString();
    cn.Close();

    QStringList pie{r.definicion.nombre};
    if (!base.isEmpty())
        pie << base;
    if (!gUsuarioLogeado.trimmed().isEmpty())
        pie << QStringLiteral("Usuario ") + gUsuarioLogeado.trimmed();
    r.contexto.pie = pie.join(QStringLiteral("  ·  "));
    return r;
}

void PrepararPagina(const Definicion& d, QPagedPaintDevice& dispositivo)
{
    const QPageSize::PageSizeId tamanio = d.papel == QLatin1String("Carta")    ? QPageSize::Letter
                                          : d.papel == QLatin1String("Oficio") ? QPageSize::Legal
                                                                               : QPageSize::A4;
    dispositivo.setPageLayout(QPageLayout(QPageSize(tamanio), d.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait,
                                          QMarginsF(20, 14, 15, 12), QPageLayout::Millimeter));
}

void Pintar(const ReporteListo& r, QPagedPaintDevice& dispositivo)
{
    QPainter p;
    if (!p.begin(&dispositivo))
        suite::Lanzar(75, QStringLiteral("No se puede comenzar a dibujar el reporte %1.").arg(r.definicion.nombre),
                      QStringLiteral("Reportes"));
    const QRect area = dispositivo.pageLayout().paintRectPixels(dispositivo.logicalDpiY());
    const Documento doc = Documento::Maquetar(r.definicion, r.datos, r.contexto, dispositivo, QRectF(0, 0, area.width(), area.height()));
    doc.pintarTodo(p, dispositivo);
    p.end();
}

void EscribirPdf(const ReporteListo& r, const QString& archivo)
{
    QSaveFile f(archivo);
    if (!f.open(QIODevice::WriteOnly))
        suite::Lanzar(75, QStringLiteral("No se puede escribir el archivo %1: %2").arg(QDir::toNativeSeparators(archivo), f.errorString()),
                      QStringLiteral("Reportes"));
    {
        QPdfWriter pdf(&f);
        pdf.setResolution(600);
        pdf.setTitle(Sustituir(r.definicion.titulo, r.contexto.formulas).trimmed());
        pdf.setCreator(QStringLiteral("Prorrata"));
        PrepararPagina(r.definicion, pdf);
        Pintar(r, pdf);
    }
    if (!f.commit())
        suite::Lanzar(75, QStringLiteral("No se puede escribir el archivo %1: %2").arg(QDir::toNativeSeparators(archivo), f.errorString()),
                      QStringLiteral("Reportes"));
}

QString NombreArchivoSugerido(const ReporteListo& r)
{
    QString nombre = Sustituir(r.definicion.titulo, r.contexto.formulas).trimmed();
    if (nombre.isEmpty())
        nombre = r.definicion.nombre;
    if (r.datos.grupos.size() == 1 && !r.definicion.rotulo.isEmpty())
        nombre += QStringLiteral(" - ")
            + Sustituir(r.definicion.rotulo, r.contexto.formulas, &r.datos.principal, r.datos.grupos[0].inicio).trimmed();
    static const QRegularExpression prohibidos(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])"));
    return nombre.replace(prohibidos, QStringLiteral("-")) + QStringLiteral(".pdf");
}

void MostrarVistaPrevia(const ReporteListo& r, QWidget* padre)
{
    QPrinter impresora(QPrinter::HighResolution);
    PrepararPagina(r.definicion, impresora);
    const QString titulo = Sustituir(r.definicion.titulo, r.contexto.formulas).trimmed();
    impresora.setDocName(titulo.isEmpty() ? r.definicion.nombre : titulo);

    QPrintPreviewDialog vista(&impresora, padre);
    vista.setWindowTitle(QStringLiteral("Vista previa - ") + (titulo.isEmpty() ? r.definicion.nombre : titulo));
    QObject::connect(&vista, &QPrintPreviewDialog::paintRequested, &vista, [&r](QPrinter* p) {
        try {
            Pintar(r, *p);
        } catch (const suite::ErrorEjecucion& e) {
            suite::DialogoError(e.error(), suite::vbOKOnly + suite::vbCritical, QStringLiteral("Vista previa"));
        }
    });

    // Saving as PDF, beside the preview's own print button.
    if (QToolBar* barra = vista.findChild<QToolBar*>()) {
        QAction* guardar = new QAction(vista.style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Guardar PDF..."), &vista);
        guardar->setToolTip(QStringLiteral("Guardar el reporte como documento PDF (Ctrl+S)"));
        guardar->setShortcut(QKeySequence::Save);
        barra->addSeparator();
        barra->addAction(guardar);
        QObject::connect(guardar, &QAction::triggered, &vista, [&r, &vista] {
            const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            const QString carpeta = !documentos.isEmpty() && QDir(documentos).exists() ? documentos : QDir::homePath();
            const QString sugerido = QDir(carpeta).filePath(NombreArchivoSugerido(r));
            QString archivo = QFileDialog::getSaveFileName(&vista, QStringLiteral("Guardar el reporte como PDF"), sugerido,
                                                           QStringLiteral("Documentos PDF (*.pdf)"));
            if (archivo.isEmpty())
                return;
            if (QFileInfo(archivo).suffix().isEmpty())
                archivo += QStringLiteral(".pdf");
            try {
                EscribirPdf(r, archivo);
            } catch (const suite::ErrorEjecucion& e) {
                suite::DialogoError(e.error(), suite::vbOKOnly + suite::vbCritical, QStringLiteral("Guardar PDF"));
            }
        });
    }
    vista.resize(1000, 820);
    suite::PrepararForm(&vista);
    vista.exec();
}

void ImpresoraReportes::Imprimir(const suite::PedidoReporte& pedido, const suite::DestinoReporte& destino)
{
    const ReporteListo r = Preparar(pedido);
    if (!destino.archivoPdf.isEmpty()) {
        EscribirPdf(r, destino.archivoPdf);
        ++pdfEscritos_;
    } else
        MostrarVistaPrevia(r, QApplication::activeWindow());
}

} // namespace reporte
