#include "distribution/frmVerificar.h"

#include "distribution/ArchivoCsv.h"
#include "distribution/PlanillaCsv.h"
#include "startup/CNStuffContable.h"
#include "suite/Dialogos.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

frmVerificar::frmVerificar(std::vector<Hallazgo> hallazgos, bool completa, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(Titulo);
    auto* capa = new QVBoxLayout(this);
    QSet<QString> tablas;
    for (const Hallazgo& h : hallazgos)
        tablas.insert(h.tabla.toUpper());
    if (hallazgos.empty())
        resumen_ = QStringLiteral("No se encontraron problemas en las tablas de distribución.");
    else
        resumen_ = (hallazgos.size() == 1 ? QStringLiteral("Se encontró 1 problema") : QStringLiteral("Se encontraron %1 problemas").arg(hallazgos.size()))
            + (tablas.size() == 1 ? QStringLiteral(" en 1 tabla.") : QStringLiteral(" en %1 tablas.").arg(tablas.size()));
    if (!completa)
        resumen_ += QStringLiteral(" La verificación no pudo leer todo: la lista está incompleta.");
    lblResumen = new QLabel(resumen_, this);
    lblResumen->setWordWrap(true);
    capa->addWidget(lblResumen);

    lstHallazgos = new QTreeWidget(this);
    lstHallazgos->setRootIsDecorated(false);
    lstHallazgos->setAllColumnsShowFocus(true);
    lstHallazgos->setHeaderLabels(VerificacionDistribucion::Encabezado());
    for (const Hallazgo& h : hallazgos)
        new QTreeWidgetItem(lstHallazgos, {h.problema, h.tabla, h.nombre, h.detalle});
    lstHallazgos->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstHallazgos->header()->setStretchLastSection(true);
    lstHallazgos->setSortingEnabled(true);
    lstHallazgos->sortByColumn(-1, Qt::AscendingOrder); // kept in the check's order until a header is clicked
    capa->addWidget(lstHallazgos, 1);

    auto* botones = new QDialogButtonBox(this);
    cmdAbrir = botones->addButton(QStringLiteral("&Abrir tabla"), QDialogButtonBox::ActionRole);
    cmdExportar = botones->addButton(QStringLiteral("&Exportar..."), QDialogButtonBox::ActionRole);
    cmdImprimir = botones->addButton(QStringLiteral("&Imprimir..."), QDialogButtonBox::ActionRole);
    cmdCerrar = botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole);
    cmdAbrir->setToolTip(QStringLiteral("Abrir en el editor la tabla del problema elegido (doble clic o Enter)"));
    for (QPushButton* b : {cmdAbrir, cmdExportar, cmdImprimir})
        b->setEnabled(!hallazgos.empty());
    capa->addWidget(botones);
    connect(cmdAbrir, &QPushButton::clicked, this, &frmVerificar::abrir);
    connect(cmdExportar, &QPushButton::clicked, this, &frmVerificar::Exportar);
    connect(cmdImprimir, &QPushButton::clicked, this, [this] {
        QPrinter impresora(QPrinter::HighResolution);
        QPrintPreviewDialog vista(&impresora, this);
        vista.setWindowTitle(Titulo);
        connect(&vista, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { Imprimir(*p); });
        vista.exec();
    });
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstHallazgos, &QTreeWidget::itemActivated, this, &frmVerificar::abrir);

    if (!hallazgos.empty())
        lstHallazgos->setCurrentItem(lstHallazgos->topLevelItem(0));
    lstHallazgos->setFocus();
    resize(860, 520);
}

void frmVerificar::abrir()
{
    const QTreeWidgetItem* item = lstHallazgos->currentItem();
    if (!item || item->text(1).trimmed().isEmpty())
        return;
    elegida_ = item->text(1).trimmed();
    accept();
}

std::vector<QStringList> frmVerificar::filas() const
{
    std::vector<QStringList> f;
    for (int i = 0; i < lstHallazgos->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lstHallazgos->topLevelItem(i);
        f.push_back({item->text(0), item->text(1), item->text(2), item->text(3)});
    }
    return f;
}

QByteArray frmVerificar::Csv() const { return planilla::EscribirFilas(VerificacionDistribucion::Encabezado(), filas()); }

void frmVerificar::Exportar()
{
    const auto ruta = archivo_csv::PedirRuta(QStringLiteral("Exportar la verificación a una planilla CSV"),
                                             QStringLiteral("verificacion_tablas.csv"));
    if (ruta && archivo_csv::Escribir(*ruta, Csv()))
        suite::MsgBox(QStringLiteral("Se exportó la verificación a\n") + QDir::toNativeSeparators(*ruta), suite::vbInformation,
                      QStringLiteral("Aviso al Usuario"));
}

void frmVerificar::Imprimir(QPagedPaintDevice& dispositivo) const
{
    QString html = QStringLiteral("<h3>") + Titulo.toHtmlEscaped() + QStringLiteral("</h3><p>")
        + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" &mdash; ") + resumen_.toHtmlEscaped()
        + QStringLiteral("</p><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
    for (const QString& t : VerificacionDistribucion::Encabezado())
        html += QStringLiteral("<th align=\"left\">") + t.toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr></thead>");
    for (const QStringList& f : filas()) {
        html += QStringLiteral("<tr>");
        for (const QString& c : f)
            html += QStringLiteral("<td>") + c.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QTextDocument documento;
    documento.setHtml(html);
    documento.print(&dispositivo);
}
