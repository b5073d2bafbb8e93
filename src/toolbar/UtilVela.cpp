#include "toolbar/UtilVela.h"

#include "toolbar/CajaItem.h"
#include "toolbar/IconosBase.h"
#include "toolbar/ModUtilVelaBar.h"

#include "suite/Equipo.h"
#include "suite/Ini.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <exception>
#include <optional>
#include <utility>

namespace {

struct Fila {
    const char* tag;
    const char* caption;
    const char* tooltip;
};

const Fila TablaEstandar[] = {
    {"NUEVO", "Nuevo", "Crear nuevo"},
    {"BORRAR", "Borrar", "Borrar actual"},
    {"REPORTE", "Reporte", "Abrir reportes / impresiones"},
    {"CONSULTAR", "Consultar", "Consultar"},
    {"PLANILLA", "Planilla", "Abrir planilla"},
    {"CANCELAR", "Cancelar", "Cancelar edicion en curso"},
    {"GRABAR", "Grabar", "Grabar cambios"},
    {"CERRAR", "Cerrar", "Cerrar formulario"},
    {"CLIENTE", "Cliente", "Seleccionar cliente"},
    {"PEDIDO", "Pedido", "Facturar desde pedido"},
    {"REMITO", "Remito", "Facturar desde remito"},
    {"CAJERO", "Caja", "Opciones de caja"},
    {"UNIDADNEGOCIO", "Unidad de Negocio", "Unidad de negocio"},
    {"IMPORTAR", "Importar", "Importar datos"},
    {"PROCESARIA", "Procesar con I.A.", "Procesar con inteligencia artificial"},
    {"PANTALLA", "Pantalla", "Enviar a pantalla"},
    {"IMPRESORA", "Impresora", "Imprimir"},
    {"COMPARTIR", "Compartir", "Compartir"},
    {"AJUSTES", "Ajustes", "Ajustes"},
};

const Fila TablaReportes[] = {
    {"PANTALLA", "Pantalla", "Enviar a pantalla"},
    {"IMPRESORA", "Impresora", "Imprimir"},
    {"CONSULTAR", "Consultar", "Consultar"},
    {"COMPARTIR", "Compartir", "Compartir"},
    {"CERRAR", "Cerrar", "Cerrar formulario"},
};

// Per-item property stems and the keys they address.
const std::pair<const char*, const char*> Tallos[] = {
    {"Nuevo", "NUEVO"}, {"Borrar", "BORRAR"}, {"Reporte", "REPORTE"}, {"Consulta", "CONSULTAR"},
    {"consultar", "CONSULTAR"}, {"Planilla", "PLANILLA"}, {"Cancelar", "CANCELAR"}, {"Grabar", "GRABAR"},
    {"Cerrar", "CERRAR"}, {"Cliente", "CLIENTE"}, {"Pedido", "PEDIDO"}, {"Remito", "REMITO"},
    {"Cajero", "CAJERO"}, {"Caja", "CAJA"}, {"UnidadNegocio", "UNIDADNEGOCIO"}, {"Importar", "IMPORTAR"},
    {"ProcesarIA", "PROCESARIA"}, {"Pantalla", "PANTALLA"}, {"Impresora", "IMPRESORA"}, {"Compartir", "COMPARTIR"},
    {"Ajustes", "AJUSTES"}, {"Cambiar", "CAMBIAR"}, {"Change", "CHANGE"}, {"Caus", "CAUS"},
};

QString normal(const QString& tag) { return tag.trimmed().toUpper(); }

// The item a property named "<stem>Enabled" or "<stem>Visible" stands for: its key, and
// whether the property is the Enabled one.
struct PropiedadDeItem {
    QString clave;
    bool enabled;
};
std::optional<PropiedadDeItem> propiedadDeItem(const QString& nombre)
{
    for (const auto& [tallo, clave] : Tallos) {
        const QString t = QString::fromLatin1(tallo);
        const bool esEnabled = nombre == t + QStringLiteral("Enabled");
        if (esEnabled || nombre == t + QStringLiteral("Visible"))
            return PropiedadDeItem{QString::fromLatin1(clave), esEnabled};
    }
    return std::nullopt;
}

} // namespace

UtilVela::UtilVela(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("UtilVela1"));
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    iconSize_ = PixelsToTwips(42);
    for (int i = 0; i < toolbar::CantidadIconosBase; ++i)
        basePictures_.push_back(toolbar::IconoBase(i, 84));
    ApplyColorStyle(2);
    captionFont_ = CaptionFontName();
    EnsureCapacity(0);
    LoadDefaultItems();
    // Clicking an item leaves the focus where it was; the item stops being active and
    // hovered as soon as the focus moves on or the window is left.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* ahora) {
        if (!ahora || !isAncestorOf(ahora))
            soltarActivo();
    });
}

QString UtilVela::CaptionFontName()
{
    const QString seccion = ModUtilVelaBar::ContextUser().toUpper() + u'_' + ModUtilVelaBar::ContextDatabase().toUpper() + QStringLiteral("Font");
    QString nombre = suite::LeerIni(QStringLiteral("cn000pr.ini"), seccion, QStringLiteral("Font"), QString()).trimmed();
    if (nombre.isEmpty())
        nombre = QStringLiteral("Segoe UI");
    if (!QFontDatabase::families().contains(nombre, Qt::CaseInsensitive))
        nombre = QApplication::font().family();
    return nombre;
}

void UtilVela::soltarActivo()
{
    if (activeIndex_ < 0 && hoverIndex_ < 0)
        return;
    activeIndex_ = hoverIndex_ = -1;
    LayoutItems();
}

UtilVela::~UtilVela() = default;

// ---- Colours --------------------------------------------------------------------------

long UtilVela::ShadeColor(long c, int d)
{
    const auto canal = [&](int desplazamiento) { return std::clamp(int((c >> desplazamiento) & 255) + d, 0, 255); };
    return RGB(canal(0), canal(8), canal(16));
}

void UtilVela::ApplyColorStyle(int estilo)
{
    struct Estilo {
        long normal, activo, barra;
    };
    static const Estilo estilos[] = {
        {RGB(96, 138, 204), RGB(20, 78, 170), RGB(170, 205, 245)},
        {RGB(42, 42, 42), RGB(59, 59, 59), RGB(204, 204, 204)},
        {RGB(160, 155, 135), RGB(130, 125, 105), RGB(70, 70, 70)},
        {RGB(135, 133, 150), RGB(105, 103, 125), RGB(35, 75, 150)},
        {RGB(122, 122, 122), RGB(88, 88, 88), RGB(212, 212, 212)},
    };
    if (estilo < 1 || estilo > 5)
        estilo = 2;
    estilo_ = estilo;
    const Estilo& e = estilos[estilo - 1];
    normalBackColor_ = e.normal;
    activeBackColor_ = e.activo;
    activeBarColor_ = e.barra;
    LayoutItems();
}

void UtilVela::NormalBackColor(long c) { cambiar(normalBackColor_, c); }

void UtilVela::ActiveBackColor(long c) { cambiar(activeBackColor_, c); }

void UtilVela::ActiveBarColor(long c) { cambiar(activeBarColor_, c); }

// ---- Slots ----------------------------------------------------------------------------

void UtilVela::ResetSlot(int i)
{
    Slot& s = slots_[size_t(i)];
    s.tag.clear();
    s.caption.clear();
    s.toolTip.clear();
    s.iconFile.clear();
    s.iconOverFile.clear();
    s.iconDisFile.clear();
    s.drawnFile.clear();
    s.drawnTint = -1;
    s.visible = false;
    s.enabled = true;
    s.badge = 0;
    s.attention = false;
    s.attentionColor = RGB(220, 64, 64);
    s.checkable = s.checked = false;
    s.hasFileIcon = false;
    s.pictureCache = QImage();
}

void UtilVela::crearPartes(int desde, int hasta)
{
    const double tpp = PixelsToTwips(1);
    for (int i = desde; i <= hasta; ++i) {
        Slot& s = slots_[size_t(i)];
        s.caja = new CajaItem(this);
        s.caja->tpp = tpp;
        if (i < toolbar::CantidadIconosBase)
            s.caja->imagen = basePictures_[size_t(i)]; // its design picture
        s.icono = new CajaItem(this);
        s.icono->tpp = tpp;
        s.texto = new QLabel(this);
        s.badgeLbl = new QLabel(this);
        s.barra = new QLabel(this);
        s.texto->setWordWrap(false);
        s.texto->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont f(captionFont_);
        f.setPointSizeF(baseCaptionSize_);
        s.texto->setFont(f);
        s.badgeLbl->setAlignment(Qt::AlignCenter);
        s.barra->hide();
        for (QWidget* w : {static_cast<QWidget*>(s.caja), static_cast<QWidget*>(s.icono), static_cast<QWidget*>(s.texto),
                           static_cast<QWidget*>(s.badgeLbl), static_cast<QWidget*>(s.barra)}) {
            w->setProperty("slot", i);
            w->setMouseTracking(true);
            w->installEventFilter(this);
            w->hide();
        }
    }
}

void UtilVela::EnsureCapacity(int n)
{
    if (capacity_ < 0) {
        capacity_ = n < 19 ? 18 : n;
        slots_.resize(size_t(capacity_) + 1);
        crearPartes(0, capacity_);
        for (int i = 0; i <= capacity_; ++i)
            ResetSlot(i);
        return;
    }
    if (n <= capacity_)
        return;
    const int antes = capacity_;
    while (capacity_ < n)
        capacity_ = capacity_ * 2 + 1;
    slots_.resize(size_t(capacity_) + 1);
    crearPartes(antes + 1, capacity_);
    for (int i = antes + 1; i <= capacity_; ++i)
        ResetSlot(i);
}

int UtilVela::FindItem(const QString& tag) const
{
    const QString t = normal(tag);
    if (t.isEmpty())
        return -1;
    for (int i = 0; i < itemCount_; ++i)
        if (slot(i).tag.toUpper() == t)
            return i;
    return -1;
}

int UtilVela::BaseIconIndex(const QString& tag)
{
    static const std::pair<const char*, int> indices[] = {
        {"NUEVO", 0}, {"BORRAR", 1}, {"REPORTE", 2}, {"CONSULTAR", 3}, {"PLANILLA", 4}, {"CANCELAR", 5},
        {"GRABAR", 6}, {"CERRAR", 7}, {"CLIENTE", 8}, {"PEDIDO", 9}, {"REMITO", 10}, {"CAJERO", 11}, {"CAJA", 11},
        {"UNIDADNEGOCIO", 12}, {"UNIDAD DE NEGOCIO", 12}, {"CAMBIAR", 12}, {"CHANGE", 12}, {"IMPORTAR", 13},
        {"PROCESARIA", 14}, {"PROCESAR IA", 14}, {"PROCESAR CON IA", 14}, {"PROCESAR CON I.A.", 14},
        {"PANTALLA", 15}, {"IMPRESORA", 16}, {"COMPARTIR", 17}, {"AJUSTES", 18},
    };
    const QString t = normal(tag);
    for (const auto& [k, i] : indices)
        if (t == QLatin1String(k))
            return i;
    return -1;
}

bool UtilVela::IsCoreCommand(const QString& tag)
{
    const QString t = normal(tag);
    for (const char* k : {"NUEVO", "BORRAR", "REPORTE", "CONSULTAR", "CANCELAR", "GRABAR", "CERRAR"})
        if (t == QLatin1String(k))
            return true;
    return false;
}

void UtilVela::ApplyBaseIcon(int i, const QString& tag)
{
    const int b = BaseIconIndex(tag);
    if (b >= 0 && slots_[size_t(i)].caja)
        slots_[size_t(i)].caja->imagen = basePictures_[size_t(b)];
}

void UtilVela::ClearItems()
{
    for (int i = 0; i <= capacity_; ++i)
        ResetSlot(i);
    itemCount_ = 0;
    activeIndex_ = hoverIndex_ = -1;
    LayoutItems();
}

void UtilVela::AddDefaultItem(const QString& key, const QString& caption, const QString& tooltip)
{
    EnsureCapacity(itemCount_);
    const int i = itemCount_++;
    Slot& s = slots_[size_t(i)];
    const QString efectiva = s.memoria.trimmed().isEmpty() ? caption : s.memoria.trimmed();
    s.tag = key;
    s.caption = efectiva;
    s.toolTip = tooltip;
    s.visible = IsCoreCommand(key);
    s.enabled = true;
    s.badge = 0;
    s.memoria = caption;
    ApplyBaseIcon(i, key); // the slot's own picture, also after the report table was loaded
}

void UtilVela::LoadDefaultItems()
{
    BeginLayoutUpdate();
    ClearItems();
    for (const Fila& f : TablaEstandar)
        AddDefaultItem(QString::fromUtf8(f.tag), QString::fromUtf8(f.caption), QString::fromUtf8(f.tooltip));
    activeIndex_ = -1;
    EndLayoutUpdate();
    LayoutItems();
}

void UtilVela::LoadDefaultItemsReportes()
{
    for (int i = 0; i <= capacity_; ++i) {
        ResetSlot(i);
        if (i > 4)
            continue;
        const Fila& f = TablaReportes[i];
        Slot& s = slots_[size_t(i)];
        s.tag = QString::fromUtf8(f.tag);
        s.caption = QString::fromUtf8(f.caption);
        s.toolTip = QString::fromUtf8(f.tooltip);
        s.visible = true;
        s.enabled = true;
        s.badge = 0;
        ApplyBaseIcon(i, s.tag);
        s.memoria = s.caption;
    }
    itemCount_ = 5;
    activeIndex_ = hoverIndex_ = -1;
    LayoutItems();
}

void UtilVela::LoadVSCodeSample()
{
    BeginLayoutUpdate();
    ClearItems();
    AddItem(QStringLiteral("FILES"), QStringLiteral("Files"), QStringLiteral("Explorador"));
    AddItem(QStringLiteral("SEARCH"), QStringLiteral("Search"), QStringLiteral("Busqueda"));
    AddItem(QStringLiteral("GIT"), QStringLiteral("Source"), QStringLiteral("Control de codigo"));
    AddItem(QStringLiteral("RUN"), QStringLiteral("Run"), QStringLiteral("Run y debug"));
    AddItem(QStringLiteral("EXT"), QStringLiteral("Ext"), QStringLiteral("Extensiones"));
    AddItem(QStringLiteral("AI"), QStringLiteral("AI"), QStringLiteral("Asistente"));
    EndLayoutUpdate();
}

bool UtilVela::AddItem(const QString& BTag, const QString& BCaption, const QString& BToolTip, bool bCheckable)
{
    const QString tag = BTag.trimmed();
    if (tag.isEmpty())
        return false;
    int i = FindItem(tag);
    const bool nuevo = i < 0;
    if (nuevo) {
        EnsureCapacity(itemCount_);
        i = itemCount_++;
    }
    Slot& s = slots_[size_t(i)];
    s.tag = tag;
    ApplyBaseIcon(i, tag);
    s.caption = BCaption;
    s.toolTip = BToolTip.trimmed().isEmpty() ? BCaption : BToolTip;
    s.visible = true;
    if (nuevo)
        s.enabled = true;
    const QString F = ResolveImageFolder();
    resolverArchivos(i, F);
    if (!F.isEmpty()) {
        LoadItemIcon(i);
    } else {
        s.hasFileIcon = false;
        RestoreBaseIcon(i);
    }
    LayoutItems();
    SetItemCheckable(tag, bCheckable);
    return true;
}

bool UtilVela::SetItemIcon(const QString&, const QString&) { return false; }

void UtilVela::SetItemBadge(const QString& BTag, long nCount)
{
    const int i = FindItem(BTag);
    if (i < 0)
        return;
    slots_[size_t(i)].badge = std::max(0L, nCount);
    RefreshItem(i);
}

void UtilVela::SetItemAttention(const QString& BTag, bool bAttention, long nColor)
{
    const int i = FindItem(BTag);
    if (i < 0)
        return;
    slots_[size_t(i)].attention = bAttention;
    if (nColor != -1)
        slots_[size_t(i)].attentionColor = nColor;
    RefreshItem(i);
}

bool UtilVela::ItemAttention(const QString& BTag) const { return campoDe(BTag, &Slot::attention); }

void UtilVela::SetItemVisible(const QString& BTag, bool bVisible)
{
    const int i = cambiarCampo(BTag, &Slot::visible, bVisible);
    if (i < 0)
        return;
    if (!bVisible && activeIndex_ == i)
        activeIndex_ = -1;
    LayoutItems();
}

bool UtilVela::ItemVisible(const QString& BTag) const { return campoDe(BTag, &Slot::visible); }

void UtilVela::SetItemEnabled(const QString& BTag, bool bEnabled)
{
    const int i = cambiarCampo(BTag, &Slot::enabled, bEnabled);
    if (i < 0)
        return;
    if (!bEnabled) {
        if (activeIndex_ == i)
            activeIndex_ = -1;
        if (hoverIndex_ == i)
            hoverIndex_ = -1;
    }
    RefreshItem(i);
}

bool UtilVela::ItemEnabled(const QString& BTag) const { return campoDe(BTag, &Slot::enabled); }

void UtilVela::SetActive(const QString& BTag)
{
    const int i = FindItem(BTag);
    if (i < 0 || !slot(i).visible || !slot(i).enabled)
        return;
    activeIndex_ = i;
    LayoutItems();
}

bool UtilVela::campoDe(const QString& tag, bool Slot::*campo) const
{
    const int i = FindItem(tag);
    return i >= 0 && slot(i).*campo;
}

int UtilVela::cambiarCampo(const QString& tag, bool Slot::*campo, bool valor)
{
    const int i = FindItem(tag);
    if (i < 0 || slot(i).*campo == valor)
        return -1;
    slots_[size_t(i)].*campo = valor;
    return i;
}

UtilVela::Par* UtilVela::par(const QString& tag)
{
    const QString t = normal(tag);
    return t == QLatin1String("IMPRESORA") ? &impresora_ : t == QLatin1String("COMPARTIR") ? &compartir_ : nullptr;
}

const UtilVela::Par* UtilVela::par(const QString& tag) const { return const_cast<UtilVela*>(this)->par(tag); }

bool UtilVela::checkable(int i) const
{
    const Par* p = par(slot(i).tag);
    return p ? p->checkable : slot(i).checkable;
}

bool UtilVela::checked(int i) const
{
    const Par* p = par(slot(i).tag);
    return p ? p->checked : slot(i).checked;
}

void UtilVela::SetItemCheckable(const QString& BTag, bool bCheckable)
{
    const int i = FindItem(BTag);
    if (i < 0)
        return;
    if (Par* p = par(BTag)) {
        p->checkable = bCheckable;
        if (!bCheckable)
            p->checked = false;
    } else {
        slots_[size_t(i)].checkable = bCheckable;
        if (!bCheckable)
            slots_[size_t(i)].checked = false;
    }
    RefreshItem(i);
}

bool UtilVela::ItemCheckable(const QString& BTag) const
{
    const int i = FindItem(BTag);
    return i >= 0 && checkable(i);
}

void UtilVela::SetItemChecked(const QString& BTag, bool bChecked)
{
    const int i = FindItem(BTag);
    if (i < 0 || !checkable(i))
        return;
    if (Par* p = par(BTag))
        p->checked = bChecked;
    else
        slots_[size_t(i)].checked = bChecked;
    RefreshItem(i);
}

bool UtilVela::ItemChecked(const QString& BTag) const
{
    const int i = FindItem(BTag);
    return i >= 0 && checked(i);
}

void UtilVela::ImpresoraCheckable(bool v)
{
    impresora_.fijarMarcable(v);
    LayoutItems();
}

void UtilVela::ImpresoraChecked(bool v)
{
    if (impresora_.marcar(v))
        LayoutItems();
}

void UtilVela::CompartirCheckable(bool v)
{
    compartir_.fijarMarcable(v);
    LayoutItems();
}

void UtilVela::CompartirChecked(bool v)
{
    if (compartir_.marcar(v))
        LayoutItems();
}

QVariant UtilVela::PropiedadItem(const QString& nombre)
{
    const auto p = propiedadDeItem(nombre);
    if (!p)
        return {};
    if (itemCount_ < 1)
        LoadDefaultItems();
    return p->enabled ? ItemEnabled(p->clave) : ItemVisible(p->clave);
}

void UtilVela::PropiedadItem(const QString& nombre, const QVariant& valor)
{
    const auto p = propiedadDeItem(nombre);
    if (!p)
        return;
    if (itemCount_ < 1)
        LoadDefaultItems();
    if (p->enabled)
        SetItemEnabled(p->clave, valor.toBool());
    else
        SetItemVisible(p->clave, valor.toBool());
}

// ---- Clicks, hover and keys ------------------------------------------------------------

void UtilVela::ItemClicked(int i)
{
    if (!enabled_ || i < 0 || i >= itemCount_ || !slot(i).visible || !slot(i).enabled)
        return;
    if (checkable(i)) {
        const bool nuevo = !checked(i);
        if (Par* p = par(slot(i).tag))
            p->checked = nuevo;
        else
            slots_[size_t(i)].checked = nuevo;
        Q_EMIT CheckClick(slot(i).caption, nuevo);
    }
    const int antes = activeIndex_;
    activeIndex_ = i;
    if (antes != i)
        RefreshItem(antes);
    RefreshItem(i);
    QString texto = slot(i).caption;
    try {
        Q_EMIT click(texto);
    } catch (const std::exception&) {
        // errors of the host's handler are not the control's business on a mouse click
    }
}

void UtilVela::SetHover(int i)
{
    if (!enabled_ || i < -1 || i >= itemCount_)
        i = -1;
    if (i == hoverIndex_)
        return;
    const int antes = hoverIndex_;
    hoverIndex_ = i;
    RefreshItem(antes);
    RefreshItem(i);
}

bool UtilVela::IsUsable(const QString& tag) const
{
    const int i = FindItem(tag);
    return i >= 0 && slot(i).visible && slot(i).enabled;
}

void UtilVela::KeyAnalisis(int KeyCode)
{
    QString clave;
    switch (KeyCode) {
    case 27: clave = QStringLiteral("CANCELAR"); break;
    case 113: clave = QStringLiteral("GRABAR"); break;
    case 114: clave = QStringLiteral("NUEVO"); break;
    case 115: clave = QStringLiteral("REPORTE"); break;
    case 116: clave = QStringLiteral("CONSULTAR"); break;
    case 117: clave = QStringLiteral("PLANILLA"); break;
    case 121: clave = QStringLiteral("BORRAR"); break;
    default: return;
    }
    if (!IsUsable(clave)) {
        if (clave != QLatin1String("CANCELAR") || !IsUsable(QStringLiteral("CERRAR")))
            return;
        clave = QStringLiteral("CERRAR");
    }
    QString texto = clave.toUpper();
    Q_EMIT click(texto);
}

int UtilVela::CodigoTecla(int qtKey)
{
    if (qtKey == Qt::Key_Escape)
        return 27;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

int UtilVela::slotDe(QObject* o) const
{
    const QVariant v = o->property("slot");
    return v.isValid() ? v.toInt() : -1;
}

bool UtilVela::eventFilter(QObject* o, QEvent* e)
{
    const int i = slotDe(o);
    if (i >= 0) {
        // A click is a press and a release over the same item; a press dragged off runs nothing.
        if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            pressedIndex_ = i;
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            const QWidget* debajo = childAt(mapFromGlobal(static_cast<QMouseEvent*>(e)->globalPosition().toPoint()));
            const bool sobreElItem = debajo && slotDe(const_cast<QWidget*>(debajo)) == i;
            const int presionado = std::exchange(pressedIndex_, -1);
            if (presionado == i && sobreElItem)
                ItemClicked(i);
            return true;
        }
        const auto proponer = [this](int j) { SetHover(j >= 0 && j < itemCount_ && slot(j).visible && slot(j).enabled ? j : -1); };
        if (e->type() == QEvent::Enter)
            proponer(i);
        if (e->type() == QEvent::MouseMove) {
            // The item under the pointer, which is another one while a press is dragged. The move
            // ends here: passed up, the bar would take it for one over its bare background and
            // clear the hover just set.
            QWidget* debajo = childAt(mapFromGlobal(static_cast<QMouseEvent*>(e)->globalPosition().toPoint()));
            proponer(debajo ? slotDe(debajo) : -1);
            e->accept();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void UtilVela::mouseMoveEvent(QMouseEvent* e)
{
    SetHover(-1);
    QWidget::mouseMoveEvent(e);
}

void UtilVela::leaveEvent(QEvent* e)
{
    SetHover(-1);
    QWidget::leaveEvent(e);
}

void UtilVela::focusOutEvent(QFocusEvent* e)
{
    activeIndex_ = hoverIndex_ = -1;
    LayoutItems();
    QWidget::focusOutEvent(e);
}

void UtilVela::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::ActivationChange && !isActiveWindow())
        soltarActivo();
    QWidget::changeEvent(e);
}

// ---- Layout properties ----------------------------------------------------------------

void UtilVela::ItemHeight(double v) { cambiar(itemHeight_, std::max(v, 480.0)); }

void UtilVela::ItemGap(double v) { cambiar(itemGap_, std::max(v, -300.0)); }

void UtilVela::TopOffset(double v) { cambiar(topOffset_, v); }

void UtilVela::GroupGap(double v) { cambiar(groupGap_, std::max(v, 0.0)); }

void UtilVela::GroupBreakTag(const QString& v) { cambiar(groupBreakTag_, normal(v)); }

void UtilVela::ShowCaptions(bool v) { cambiar(showCaptions_, v); }

void UtilVela::Horizontal(bool v)
{
    horizontal_ = v;
    autoOrientacion_ = false;
    LayoutItems();
}

void UtilVela::AutoOrientacion(bool v) { cambiar(autoOrientacion_, v); }

void UtilVela::IconPx(int v)
{
    iconPx_ = v < 1 ? 42 : v;
    iconSize_ = PixelsToTwips(iconPx_);
    LayoutItems();
}

void UtilVela::IconSize(double v)
{
    if (v <= 0)
        return;
    iconSize_ = v;
    iconPx_ = TwipsToPixels(v);
    if (iconPx_ < 1)
        iconPx_ = 42;
    LayoutItems();
}

void UtilVela::Enabled(const QVariant& v)
{
    enabled_ = v.toBool();
    if (!enabled_)
        hoverIndex_ = -1;
    LayoutItems();
}


QWidget* UtilVela::PicItem(int i) const { return slot(i).caja; }
QWidget* UtilVela::ImgIcon(int i) const { return slot(i).icono; }
QLabel* UtilVela::LblText(int i) const { return slot(i).texto; }
QLabel* UtilVela::LblBadge(int i) const { return slot(i).badgeLbl; }
QLabel* UtilVela::LblBar(int i) const { return slot(i).barra; }
