#pragma once
// UtilVela: the suite's command bar. Items (an icon box with a caption under it, a badge and
// optional marks) in a row or a column; one event, click, carries the command. The host
// enables, disables, shows and hides items by key and forwards its keys to KeyAnalisis.
// Geometry is kept in twips (1/1440 inch) of the control's inner area; colours are the
// suite's 32-bit values with red in the low byte.

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <utility>
#include <vector>

class BolsaPropiedades;
class CajaItem;

class UtilVela : public QWidget {
    Q_OBJECT
public:
    explicit UtilVela(QWidget* parent = nullptr);
    ~UtilVela() override;

    // ---- Colours -------------------------------------------------------------------------
    static long RGB(int r, int g, int b) { return long(r) + long(g) * 256 + long(b) * 65536; }
    static QColor ColorQt(long c) { return QColor(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255)); }
    static long ShadeColor(long c, int d);
    // Colour styles 1..5; any other number is style 2.
    void ApplyColorStyle(int estilo);
    // The style number. Writing it (or Theme) ignores the value: the style is resolved again
    // from the suite INI file for the context's user and database.
    int Estilo() const { return estilo_; }
    void Estilo(int);
    int Theme() const { return estilo_; }
    void Theme(int v) { Estilo(v); }
    // The user and database the style is resolved for; empty: the environment's.
    QString ContextUserName() const { return contextUserName_; }
    void ContextUserName(const QString& v);
    QString ContextDbName() const { return contextDbName_; }
    void ContextDbName(const QString& v);
    int ContextStyle() const;
    // The activity-bar look: a dark column, 42-pixel icons, white side bar. The style number
    // stays; writing False does not undo the look.
    bool EstiloVSCode() const { return estiloVSCode_; }
    void EstiloVSCode(bool v);
    void AplicarEstiloVSCode(bool MostrarTitulos, int TamIconoPx);
    bool DebugMode() const { return debugMode_; }
    void DebugMode(bool v);

    // ---- Stored properties ---------------------------------------------------------------
    // A control placed anew, one restored from its stored properties, and the saving of them.
    void InitProperties();
    void ReadProperties(const BolsaPropiedades& PropBag);
    void WriteProperties(BolsaPropiedades& PropBag) const;
    // Runs the creation steps again: slots, base pictures, caption font, layout.
    void ActualizarBotones();

    // ---- Icon files ----------------------------------------------------------------------
    // The folder looked in first for TAG.png, TAG_over.png and TAG_dis.png; stored with a
    // separator at its end. Writing it reloads every item's icon.
    QString ImageFolder() const { return imageFolder_; }
    void ImageFolder(const QString& v);
    void LoadIconsFromFolder(const QString& zFolder);
    void RefreshIcons();
    // ImageFolder when it exists, else img_menu, imagenes/img_menu or images/img_menu of the
    // program's folder, else that folder.
    QString ResolveImageFolder() const;
    static QString IconFilePath(const QString& F, const QString& TAG);
    static QString IconVariantPath(const QString& F, const QString& TAG, const QString& variant);
    // The file an item shows now: _dis when it is not usable and that file exists, _over when
    // it is usable and hovered or active and that file exists, else its normal file.
    QString IconFileForState(int i) const;
    // A picture of any format Qt's image readers know (the largest of an icon file); a null
    // image when the file cannot be read.
    static QImage LoadPictureFile(const QString& file);
    bool HasFileIcon(int i) const { return slot(i).hasFileIcon; }
    QString IconFile(int i) const { return slot(i).iconFile; }
    QString IconOverFile(int i) const { return slot(i).iconOverFile; }
    QString IconDisFile(int i) const { return slot(i).iconDisFile; }
    QString DrawnFile(int i) const { return slot(i).drawnFile; }
    long DrawnTint(int i) const { return slot(i).drawnTint; }
    // Where the file icon lies on the icon surface (empty when nothing is drawn).
    QRect IconoDibujado(int i) const;
    // How many times item files were read and drawn (a repaint of an unchanged icon reads none).
    int DibujosDeArchivo() const { return dibujosDeArchivo_; }
    // The last line about loading an item's icon ("Tag=NUEVO PNG cargado: ...").
    QString UltimoRastro() const { return rastro_; }

    // ---- Items ---------------------------------------------------------------------------
    void ClearItems();
    void LoadDefaultItems();
    void LoadDefaultItemsReportes();
    void LoadVSCodeSample();
    bool AddItem(const QString& BTag, const QString& BCaption, const QString& BToolTip = {}, bool bCheckable = false);
    bool SetItemIcon(const QString& BTag, const QString& zFile);
    void SetItemBadge(const QString& BTag, long nCount);
    void SetItemAttention(const QString& BTag, bool bAttention, long nColor = -1);
    bool ItemAttention(const QString& BTag) const;
    void SetItemAviso(const QString& BTag, bool bAviso, long nColor = -1) { SetItemAttention(BTag, bAviso, nColor); }
    bool ItemAviso(const QString& BTag) const { return ItemAttention(BTag); }
    void SetItemVisible(const QString& BTag, bool bVisible);
    bool ItemVisible(const QString& BTag) const;
    void SetItemEnabled(const QString& BTag, bool bEnabled);
    bool ItemEnabled(const QString& BTag) const;
    void SetActive(const QString& BTag);
    void KeyAnalisis(int KeyCode); // Windows key codes: 27 Esc, 113 F2 ... 121 F10
    void SetItemCheckable(const QString& BTag, bool bCheckable);
    bool ItemCheckable(const QString& BTag) const;
    void SetItemChecked(const QString& BTag, bool bChecked);
    bool ItemChecked(const QString& BTag) const;

    // The Windows key code of a Qt key (Esc and F1..F12), for hosts that forward Qt keys.
    static int CodigoTecla(int qtKey);

    static int BaseIconIndex(const QString& tag);
    static bool IsCoreCommand(const QString& tag);

    // The per-item property family: stem & "Enabled" / "Visible" ("NuevoEnabled",
    // "ConsultaVisible"...). Unknown stems read invalid and write nothing.
    QVariant PropiedadItem(const QString& nombre);
    void PropiedadItem(const QString& nombre, const QVariant& valor);
#define UTILVELA_STEM(Stem)                                                                    \
    QVariant Stem##Enabled() { return PropiedadItem(QStringLiteral(#Stem "Enabled")); }         \
    void Stem##Enabled(const QVariant& v) { PropiedadItem(QStringLiteral(#Stem "Enabled"), v); } \
    QVariant Stem##Visible() { return PropiedadItem(QStringLiteral(#Stem "Visible")); }         \
    void Stem##Visible(const QVariant& v) { PropiedadItem(QStringLiteral(#Stem "Visible"), v); }
    UTILVELA_STEM(Nuevo) UTILVELA_STEM(Borrar) UTILVELA_STEM(Reporte) UTILVELA_STEM(Consulta)
    UTILVELA_STEM(consultar) UTILVELA_STEM(Planilla) UTILVELA_STEM(Cancelar) UTILVELA_STEM(Grabar)
    UTILVELA_STEM(Cerrar) UTILVELA_STEM(Cliente) UTILVELA_STEM(Pedido) UTILVELA_STEM(Remito)
    UTILVELA_STEM(Cajero) UTILVELA_STEM(Caja) UTILVELA_STEM(UnidadNegocio) UTILVELA_STEM(Importar)
    UTILVELA_STEM(ProcesarIA) UTILVELA_STEM(Pantalla) UTILVELA_STEM(Impresora) UTILVELA_STEM(Compartir)
    UTILVELA_STEM(Ajustes) UTILVELA_STEM(Cambiar) UTILVELA_STEM(Change) UTILVELA_STEM(Caus)
#undef UTILVELA_STEM

    // Checkable pairs of IMPRESORA and COMPARTIR, kept by the control.
    bool ImpresoraCheckable() const { return impresora_.checkable; }
    void ImpresoraCheckable(bool v);
    bool ImpresoraChecked() const { return impresora_.checked; }
    void ImpresoraChecked(bool v);
    bool CompartirCheckable() const { return compartir_.checkable; }
    void CompartirCheckable(bool v);
    bool CompartirChecked() const { return compartir_.checked; }
    void CompartirChecked(bool v);

    // ---- Layout properties ---------------------------------------------------------------
    double ItemHeight() const { return itemHeight_; }
    void ItemHeight(double v);
    double ItemGap() const { return itemGap_; }
    void ItemGap(double v);
    void ButtonGap(double v) { ItemGap(v); }
    void SeparacionBotones(double v) { ItemGap(v); }
    double TopOffset() const { return topOffset_; }
    void TopOffset(double v);
    void TopBotones(double v) { TopOffset(v); }
    double GroupGap() const { return groupGap_; }
    void GroupGap(double v);
    QString GroupBreakTag() const { return groupBreakTag_; }
    void GroupBreakTag(const QString& v);
    void GroupBreakAfterTag(const QString& v) { GroupBreakTag(v); }
    bool ShowCaptions() const { return showCaptions_; }
    void ShowCaptions(bool v);
    void MostrarTitulo(bool v) { ShowCaptions(v); }
    void ConTitulo(const QVariant& v) { ShowCaptions(v.toBool()); }
    bool Horizontal() const { return horizontal_; }
    void Horizontal(bool v);
    void ModoHorizontal(bool v) { Horizontal(v); }
    bool AutoOrientacion() const { return autoOrientacion_; }
    void AutoOrientacion(bool v);
    int IconPx() const { return iconPx_; }
    void IconPx(int v);
    void TamanoIcono(int v) { IconPx(v); }
    double IconSize() const { return iconSize_; }
    void IconSize(double v);
    bool Enabled() const { return enabled_; }
    void Enabled(const QVariant& v);
    long NormalBackColor() const { return normalBackColor_; }
    void NormalBackColor(long c);
    long ActiveBackColor() const { return activeBackColor_; }
    void ActiveBackColor(long c);
    long ActiveBarColor() const { return activeBarColor_; }
    void ActiveBarColor(long c);

    void BeginLayoutUpdate() { ++layoutSuspend_; }
    void EndLayoutUpdate();
    void LayoutItems();
    void RefreshItem(int i);

    double PixelsToTwips(double px) const;
    int TwipsToPixels(double twips) const;

    // ---- State, for the host and tests ---------------------------------------------------
    int ItemCount() const { return itemCount_; }
    int Capacity() const { return capacity_; }
    int ActiveIndex() const { return activeIndex_; }
    int HoverIndex() const { return hoverIndex_; }
    int FindItem(const QString& tag) const;
    QString ItemTag(int i) const { return slot(i).tag; }
    QString ItemCaption(int i) const { return slot(i).caption; }
    QString ItemToolTip(int i) const { return slot(i).toolTip; }
    long BadgeCount(int i) const { return slot(i).badge; }
    bool EsHorizontal() const { return horizontalAhora_; }
    // Parts of slot i: the item box, the icon surface, the caption, the badge, the side bar.
    QWidget* PicItem(int i) const;
    QWidget* ImgIcon(int i) const;
    QLabel* LblText(int i) const;
    QLabel* LblBadge(int i) const;
    QLabel* LblBar(int i) const;
    QString FitCaption(int i, const QString& texto, double anchoTwips) const;

    void ItemClicked(int i);
    void SetHover(int i);

    // The caption font of every item: key "Font" of section USER_DATABASEFont in cn000pr.ini, "Segoe UI"
    // when absent, the application's font when that family is not installed.
    static QString CaptionFontName();

Q_SIGNALS:
    void click(QString& texto);
    void CheckClick(const QString& caption, bool estado);
    // A stored property was changed through its setter (the host saves the form again).
    void PropertyChanged(const QString& nombre);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // A layout property changed: stored, then the items laid out again.
    template <typename T, typename V>
    void cambiar(T& propiedad, V&& valor)
    {
        propiedad = std::forward<V>(valor);
        LayoutItems();
    }
    struct Slot {
        QString tag, caption, toolTip;
        QString iconFile, iconOverFile, iconDisFile, drawnFile;
        long drawnTint = -1;
        bool visible = false;
        bool enabled = true;
        long badge = 0;
        bool attention = false;
        long attentionColor = 220 + 64 * 256 + 64 * 65536;
        bool checkable = false, checked = false;
        bool hasFileIcon = false;
        QImage pictureCache;     // a non-PNG icon, kept
        QSize drawnSurface;      // the surface and icon size the drawing was made for
        int drawnPx = 0;
        QString memoria; // the item box's own caption memory
        CajaItem* caja = nullptr;
        CajaItem* icono = nullptr;
        QLabel* texto = nullptr;
        QLabel* badgeLbl = nullptr;
        QLabel* barra = nullptr;
    };
    struct Par {
        bool checkable;
        bool checked;
        // No longer checkable: no longer checked either.
        void fijarMarcable(bool v)
        {
            checkable = v;
            if (!v)
                checked = false;
        }
        // Checked or not only while checkable; false when it is not.
        bool marcar(bool v)
        {
            if (!checkable)
                return false;
            checked = v;
            return true;
        }
    };

    const Slot& slot(int i) const { return slots_.at(size_t(i)); }
    // A yes/no field of the item with that tag; false when there is none.
    bool campoDe(const QString& tag, bool Slot::*campo) const;
    // Sets it; the item's index when that changed it, else -1.
    int cambiarCampo(const QString& tag, bool Slot::*campo, bool valor);
    void ResetSlot(int i);
    void EnsureCapacity(int n);
    void crearPartes(int desde, int hasta);
    void AddDefaultItem(const QString& key, const QString& caption, const QString& tooltip);
    void ApplyBaseIcon(int i, const QString& tag);
    void resolverArchivos(int i, const QString& F);
    void LoadItemIcon(int i);
    void RestoreBaseIcon(int i);
    void DrawItemIcon(int i);
    bool DrawPngScaled(int i, const QString& file, double widthTwips, double heightTwips);
    bool dibujarEnSuperficie(int i, const QImage& imagen, int lado);
    void IconTrace(const QString& linea);
    void ApplyCaptionFont();
    void StyleItem(int i);
    void PaintItem(int i);
    bool IsUsable(const QString& tag) const;
    bool checkable(int i) const;
    bool checked(int i) const;
    Par* par(const QString& tag);
    const Par* par(const QString& tag) const;
    int slotDe(QObject* o) const;
    void soltarActivo();
    double anchoTw() const { return PixelsToTwips(width()); }
    double altoTw() const { return PixelsToTwips(height()); }
    QRect rectTw(double l, double t, double w, double h) const;

    std::vector<Slot> slots_;
    int itemCount_ = 0;
    int capacity_ = -1;
    int activeIndex_ = -1;
    int hoverIndex_ = -1;
    int pressedIndex_ = -1; // the item under the left button, clicked on release over it
    bool enabled_ = true;
    Par impresora_{true, false};
    Par compartir_{false, false};
    std::vector<QPixmap> basePictures_;

    double itemHeight_ = 520;
    double itemGap_ = 0;
    double topOffset_ = 10;
    double groupGap_ = 0;
    QString groupBreakTag_;
    bool showCaptions_ = true;
    bool horizontal_ = false;
    bool autoOrientacion_ = true;
    int iconPx_ = 42;
    double iconSize_ = 0;
    long normalBackColor_ = 0;
    long activeBackColor_ = 0;
    long activeBarColor_ = 0;
    int estilo_ = 2;
    QString contextUserName_, contextDbName_;
    bool estiloVSCode_ = false;
    bool debugMode_ = false;
    QString imageFolder_;
    QString rastro_;
    int dibujosDeArchivo_ = 0;
    double baseCaptionSize_ = 8.25;
    QString captionFont_;

    int layoutSuspend_ = 0;
    bool layoutPending_ = false;
    bool horizontalAhora_ = false;
    QRect separador_;
};
