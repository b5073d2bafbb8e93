#include "distribution/frmHistorial.h"

#include "startup/CNStuffContable.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString descripcionEstado(const EstadoTabla& e)
{
    if (!e.existe())
        return QStringLiteral("sin líneas (la tabla no existía o fue borrada)");
    suite::Moneda total;
    for (const auto& l : e.lineas)
        total += l.second;
    return QStringLiteral("«%1», %2, total %3 %%4")
        .arg(e.nombre, e.lineas.size() == 1 ? QStringLiteral("1 línea") : QStringLiteral("%1 líneas").arg(e.lineas.size()),
             FmtPorcentaje(total), e.pideConfirmacion ? QStringLiteral(", debe completar el 100 %") : QString());
}

} // namespace

frmHistorial::frmHistorial(const QString& codigo, std::vector<VersionTabla> versiones, bool puedeRestaurar, QWidget* parent)
    : QDialog(parent)
    , versiones_(std::move(versiones))
    , puedeRestaurar_(puedeRestaurar)
{
    setWindowTitle(QStringLiteral("Historial de la Tabla de Distribución Código: ") + codigo.trimmed());
    auto* capa = new QVBoxLayout(this);
    auto* titulo = new QLabel(versiones_.empty() ? QStringLiteral("La tabla no tiene versiones registradas.")
                                                 : QStringLiteral("&Versiones grabadas, la más reciente primero:"),
                              this);
    capa->addWidget(titulo);

    lstVersiones = new QTreeWidget(this);
    lstVersiones->setRootIsDecorated(false);
    lstVersiones->setAllColumnsShowFocus(true);
    lstVersiones->setHeaderLabels({QStringLiteral("Fecha"), QStringLiteral("Usuario"), QStringLiteral("Puesto"),
                                   QStringLiteral("Operación"), QStringLiteral("Cambios")});
    for (const VersionTabla& v : versiones_) {
        QString operacion = v.nombreOperacion();
        if (!v.detalle.trimmed().isEmpty())
            operacion += QStringLiteral(" (") + v.detalle.trimmed() + u')';
        auto* item = new QTreeWidgetItem(lstVersiones, {v.fecha, v.usuario, v.puesto, operacion, HistorialDistribucion::Resumen(v)});
        item->setToolTip(4, item->text(4));
    }
    lstVersiones->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstVersiones->header()->setStretchLastSection(true);
    titulo->setBuddy(lstVersiones);
    capa->addWidget(lstVersiones, 3);

    lblVersion = new QLabel(this);
    lblVersion->setWordWrap(true);
    capa->addWidget(lblVersion);
    lstCambios = new QTreeWidget(this);
    lstCambios->setRootIsDecorated(false);
    lstCambios->setHeaderLabels({QStringLiteral("Cambio"), QStringLiteral("Centro"), QStringLiteral("Antes"), QStringLiteral("Después")});
    lstCambios->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    capa->addWidget(lstCambios, 2);

    auto* botones = new QDialogButtonBox(this);
    cmdRestaurar = botones->addButton(QStringLiteral("&Restaurar"), QDialogButtonBox::AcceptRole);
    cmdAnterior = botones->addButton(QStringLiteral("Restaurar &anterior"), QDialogButtonBox::AcceptRole);
    cmdCerrar = botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole);
    cmdRestaurar->setToolTip(QStringLiteral("Cargar en el editor la tabla como quedó en esta versión, sin grabarla (se graba con F2)"));
    cmdAnterior->setToolTip(QStringLiteral("Cargar en el editor la tabla como era antes de esta versión, sin grabarla (se graba con F2)"));
    capa->addWidget(botones);
    const auto elegir = [this](bool anterior) {
        const VersionTabla* v = actual();
        if (!v)
            return;
        elegida_ = anterior ? &v->antes : &v->despues;
        descripcion_ = (anterior ? QStringLiteral("estado anterior a la versión ") : QStringLiteral("versión ")) + v->cuando();
        accept();
    };
    connect(cmdRestaurar, &QPushButton::clicked, this, [elegir] { elegir(false); });
    connect(cmdAnterior, &QPushButton::clicked, this, [elegir] { elegir(true); });
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstVersiones, &QTreeWidget::currentItemChanged, this, [this] { mostrarVersion(); });
    connect(lstVersiones, &QTreeWidget::itemActivated, this, [this] {
        if (cmdRestaurar->isEnabled())
            cmdRestaurar->click();
        else if (cmdAnterior->isEnabled())
            cmdAnterior->click();
    });

    if (!versiones_.empty())
        lstVersiones->setCurrentItem(lstVersiones->topLevelItem(0));
    mostrarVersion();
    lstVersiones->setFocus();
    resize(820, 520);
}

const VersionTabla* frmHistorial::actual() const
{
    const int i = lstVersiones->indexOfTopLevelItem(lstVersiones->currentItem());
    return i >= 0 && i < int(versiones_.size()) ? &versiones_[size_t(i)] : nullptr;
}

void frmHistorial::mostrarVersion()
{
    lstCambios->clear();
    const VersionTabla* v = actual();
    cmdRestaurar->setEnabled(puedeRestaurar_ && v && v->despues.existe());
    cmdAnterior->setEnabled(puedeRestaurar_ && v && v->antes.existe());
    cmdRestaurar->setDefault(cmdRestaurar->isEnabled());
    cmdAnterior->setDefault(!cmdRestaurar->isEnabled() && cmdAnterior->isEnabled());
    if (!v) {
        lblVersion->clear();
        return;
    }
    QString texto = QStringLiteral("Antes: ") + descripcionEstado(v->antes) + QStringLiteral(".\nDespués: ") + descripcionEstado(v->despues)
        + u'.';
    if (!v->despues.existe() && v->antes.existe())
        texto += QStringLiteral("\n«Restaurar anterior» carga la tabla como era antes de borrarla.");
    lblVersion->setText(texto);
    for (const CambioTabla& c : HistorialDistribucion::Cambios(*v))
        new QTreeWidgetItem(lstCambios, {c.que, c.centro, c.antes, c.despues});
}
