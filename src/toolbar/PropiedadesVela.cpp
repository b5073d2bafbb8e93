// UtilVela: the style properties, a control placed anew, and its stored properties read
// back and written.
#include "toolbar/BolsaPropiedades.h"
#include "toolbar/CajaItem.h"
#include "toolbar/ModUtilVelaBar.h"
#include "toolbar/UtilVela.h"

#include <initializer_list>

namespace {

// The per-item stems that are stored, and the keys they address.
const std::pair<const char*, const char*> TallosGuardados[] = {
    {"Nuevo", "NUEVO"}, {"Borrar", "BORRAR"}, {"Reporte", "REPORTE"}, {"Consultar", "CONSULTAR"},
    {"Planilla", "PLANILLA"}, {"Cancelar", "CANCELAR"}, {"Grabar", "GRABAR"}, {"Cerrar", "CERRAR"},
    {"Cliente", "CLIENTE"}, {"Pedido", "PEDIDO"}, {"Remito", "REMITO"}, {"Cajero", "CAJERO"},
    {"Caja", "CAJA"}, {"UnidadNegocio", "UNIDADNEGOCIO"}, {"Importar", "IMPORTAR"}, {"ProcesarIA", "PROCESARIA"},
    {"Pantalla", "PANTALLA"}, {"Impresora", "IMPRESORA"}, {"Compartir", "COMPARTIR"}, {"Ajustes", "AJUSTES"},
    {"Cambiar", "CAMBIAR"}, {"Change", "CHANGE"}, {"Caus", "CAUS"},
};

QVariant corto(int v) { return QVariant::fromValue(short(v)); }
QVariant simple(double v) { return QVariant::fromValue(float(v)); }
QVariant color(long v) { return QVariant::fromValue(qint64(v)); }
QVariant texto(const char* v) { return QString::fromLatin1(v); }

} // namespace

// ---- Styles ---------------------------------------------------------------------------

int UtilVela::ContextStyle() const
{
    const int n = ModUtilVelaBar::ResolveStyle(contextUserName_, contextDbName_);
    return n < 1 || n > 5 ? 2 : n;
}

void UtilVela::Estilo(int)
{
    ApplyColorStyle(ContextStyle());
    Q_EMIT PropertyChanged(QStringLiteral("Estilo"));
}

void UtilVela::ContextUserName(const QString& v)
{
    contextUserName_ = v.trimmed();
    ApplyColorStyle(ContextStyle());
    Q_EMIT PropertyChanged(QStringLiteral("ContextUserName"));
}

void UtilVela::ContextDbName(const QString& v)
{
    contextDbName_ = v.trimmed();
    ApplyColorStyle(ContextStyle());
    Q_EMIT PropertyChanged(QStringLiteral("ContextDbName"));
}

void UtilVela::AplicarEstiloVSCode(bool MostrarTitulos, int)
{
    estiloVSCode_ = true;
    horizontal_ = false;
    showCaptions_ = MostrarTitulos;
    iconPx_ = 42;
    iconSize_ = PixelsToTwips(42);
    itemHeight_ = MostrarTitulos ? 520 : 600;
    itemGap_ = 0;
    normalBackColor_ = RGB(52, 52, 52);
    activeBackColor_ = RGB(74, 74, 74);
    activeBarColor_ = RGB(255, 255, 255);
    LayoutItems();
}

void UtilVela::EstiloVSCode(bool v)
{
    estiloVSCode_ = v;
    if (v)
        AplicarEstiloVSCode(showCaptions_, iconPx_);
    LayoutItems();
    Q_EMIT PropertyChanged(QStringLiteral("EstiloVSCode"));
}

void UtilVela::DebugMode(bool v)
{
    debugMode_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("DebugMode"));
}

// ---- Start-up ---------------------------------------------------------------------------

void UtilVela::ApplyCaptionFont()
{
    captionFont_ = CaptionFontName();
    for (Slot& s : slots_)
        if (s.texto) {
            QFont f = s.texto->font();
            f.setFamily(captionFont_);
            s.texto->setFont(f);
        }
}

void UtilVela::ActualizarBotones()
{
    EnsureCapacity(18);
    ApplyCaptionFont();
    LayoutItems();
}

void UtilVela::InitProperties()
{
    BeginLayoutUpdate();
    EnsureCapacity(18);
    itemHeight_ = 520;
    itemGap_ = 0;
    topOffset_ = 10;
    groupGap_ = 0;
    groupBreakTag_.clear();
    iconPx_ = 42;
    iconSize_ = PixelsToTwips(42);
    showCaptions_ = true;
    horizontal_ = false;
    autoOrientacion_ = true;
    activeIndex_ = hoverIndex_ = -1;
    ApplyColorStyle(ContextStyle());
    imageFolder_.clear();
    debugMode_ = estiloVSCode_ = false;
    enabled_ = true;
    impresora_ = {true, false};
    compartir_ = {false, false};
    LoadDefaultItems();
    EndLayoutUpdate();
}

void UtilVela::ReadProperties(const BolsaPropiedades& PropBag)
{
    const auto leer = [&](const char* nombre, const QVariant& porDefecto) {
        return PropBag.ReadProperty(QString::fromLatin1(nombre), porDefecto);
    };
    BeginLayoutUpdate();

    enabled_ = leer("Enabled", true).toBool();
    bool titulos = leer("ShowCaptions", true).toBool();
    titulos = leer("MostrarTitulo", titulos).toBool();
    showCaptions_ = leer("ConTitulo", titulos).toBool();
    const bool horizontal = leer("Horizontal", false).toBool();
    horizontal_ = leer("ModoHorizontal", horizontal).toBool();
    autoOrientacion_ = leer("AutoOrientacion", true).toBool();
    itemHeight_ = leer("ItemHeight", simple(600)).toDouble(); // as stored, no floor

    const double botones = leer("ButtonGap", simple(32767)).toDouble();
    const double separacion = leer("SeparacionBotones", simple(32767)).toDouble();
    const double item = leer("ItemGap", simple(30)).toDouble();
    double gap = botones != 32767 ? botones : separacion != 32767 ? separacion : item == 30 ? 0 : item;
    itemGap_ = std::max(gap, -300.0);

    const double topBotones = leer("TopBotones", simple(10)).toDouble();
    topOffset_ = leer("TopOffset", simple(topBotones)).toDouble();
    groupGap_ = std::max(0.0, leer("GroupGap", simple(0)).toDouble());
    const QString corte = leer("GroupBreakTag", QString()).toString();
    groupBreakTag_ = leer("GroupBreakAfterTag", corte).toString().trimmed().toUpper();

    iconSize_ = leer("IconSize", simple(480)).toDouble();
    int px = leer("IconPx", corto(TwipsToPixels(iconSize_))).toInt();
    px = leer("TamanoIcono", corto(px)).toInt();
    iconPx_ = px < 1 ? 42 : px;
    iconSize_ = PixelsToTwips(iconPx_);

    // The style is the context's (the context names are still empty here); stored colours
    // and style numbers are not read.
    ApplyColorStyle(ContextStyle());

    const QString sistema = ModUtilVelaBar::IniValue(QStringLiteral("cn000pr.ini"), QStringLiteral("OrbeGestion"),
                                                     QStringLiteral("PathSistema"), ModUtilVelaBar::CarpetaPrograma());
    imageFolder_ = ModUtilVelaBar::WithSlash(sistema.trimmed().isEmpty() ? ModUtilVelaBar::CarpetaPrograma() : sistema) +
                   QStringLiteral("img_menu/");

    contextUserName_ = leer("ContextUserName", QString()).toString().trimmed();
    contextDbName_ = leer("ContextDbName", QString()).toString().trimmed();
    debugMode_ = leer("DebugMode", false).toBool();
    estiloVSCode_ = leer("EstiloVSCode", false).toBool();
    impresora_.checkable = leer("ImpresoraCheckable", true).toBool();
    impresora_.checked = leer("ImpresoraChecked", false).toBool();
    compartir_.checkable = leer("CompartirCheckable", false).toBool();
    compartir_.checked = leer("CompartirChecked", false).toBool();
    if (estiloVSCode_)
        AplicarEstiloVSCode(showCaptions_, iconPx_);

    if (itemCount_ < 1)
        LoadDefaultItems();
    for (const auto& [tallo, clave] : TallosGuardados) {
        const QString k = QString::fromLatin1(clave), t = QString::fromLatin1(tallo);
        SetItemEnabled(k, PropBag.ReadProperty(t + QStringLiteral("Enabled"), ItemEnabled(k)).toBool());
        SetItemVisible(k, PropBag.ReadProperty(t + QStringLiteral("Visible"), ItemVisible(k)).toBool());
    }

    LayoutItems();
    EndLayoutUpdate();
    RefreshIcons();
}

void UtilVela::WriteProperties(BolsaPropiedades& PropBag) const
{
    const auto escribir = [&](const char* nombre, const QVariant& valor, const QVariant& porDefecto) {
        PropBag.WriteProperty(QString::fromLatin1(nombre), valor, porDefecto);
    };
    // A value stored under each of its names, old and new, in this order.
    const auto escribirComo = [&](std::initializer_list<const char*> nombres, const QVariant& valor, const QVariant& porDefecto) {
        for (const char* n : nombres)
            escribir(n, valor, porDefecto);
    };
    escribir("Enabled", enabled_, true);
    escribirComo({"ShowCaptions", "MostrarTitulo", "ConTitulo"}, showCaptions_, true);
    escribirComo({"Horizontal", "ModoHorizontal"}, horizontal_, false);
    escribir("AutoOrientacion", autoOrientacion_, true);
    escribir("ItemHeight", simple(itemHeight_), simple(520));
    escribirComo({"ItemGap", "ButtonGap", "SeparacionBotones"}, simple(itemGap_), simple(0));
    escribirComo({"TopOffset", "TopBotones"}, simple(topOffset_), simple(10));
    escribir("GroupGap", simple(groupGap_), simple(0));
    escribirComo({"GroupBreakAfterTag", "GroupBreakTag"}, groupBreakTag_, QString());
    escribir("IconSize", simple(iconSize_), simple(480));
    escribirComo({"IconPx", "TamanoIcono"}, corto(iconPx_), corto(32));
    escribirComo({"Estilo", "Theme"}, corto(estilo_), corto(2));
    escribir("NormalBackColor", color(normalBackColor_), color(0x343434));
    escribir("ActiveBackColor", color(activeBackColor_), color(0x404040));
    escribir("ActiveBarColor", color(activeBarColor_), color(0xFFFFFF));
    escribir("ImageFolder", imageFolder_, texto(""));
    escribir("ContextUserName", contextUserName_, QString());
    escribir("ContextDbName", contextDbName_, QString());
    escribir("DebugMode", debugMode_, false);
    escribir("EstiloVSCode", estiloVSCode_, false);
    escribir("ImpresoraCheckable", impresora_.checkable, true);
    escribir("ImpresoraChecked", impresora_.checked, false);
    escribir("CompartirCheckable", compartir_.checkable, false);
    escribir("CompartirChecked", compartir_.checked, false);
    for (const auto& [tallo, clave] : TallosGuardados) {
        // Written with the stem "consultar", read with "Consultar": one name for the store.
        const QString t = QLatin1String(tallo) == QLatin1String("Consultar") ? QStringLiteral("consultar") : QString::fromLatin1(tallo);
        const QString k = QString::fromLatin1(clave);
        const bool hay = FindItem(k) >= 0;
        PropBag.WriteProperty(t + QStringLiteral("Enabled"), hay && ItemEnabled(k), QVariant());
        PropBag.WriteProperty(t + QStringLiteral("Visible"), hay && ItemVisible(k), QVariant());
    }
}
