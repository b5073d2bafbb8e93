// UtilVela: the items' icon files (TAG.png, TAG_over.png, TAG_dis.png in the image folder),
// how they are drawn into an item's icon surface, and the base picture when they cannot be.
#include "toolbar/CajaItem.h"
#include "toolbar/IconosBase.h"
#include "toolbar/ModUtilVelaBar.h"
#include "toolbar/UtilVela.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <cmath>

namespace {

const char* const CarpetasImagenes[] = {"img_menu", "imagenes/img_menu", "images/img_menu"};

// The entry of the folder with that name, letter case ignored as Windows does; empty when
// there is none.
QString entradaSinCaso(const QString& carpeta, const QString& nombre, QDir::Filters filtros)
{
    const QDir dir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta);
    const QFileInfo exacta(dir.filePath(nombre));
    if (filtros.testFlag(QDir::Dirs) ? exacta.isDir() : exacta.isFile())
        return exacta.filePath();
    for (const QString& p : dir.entryList(filtros | QDir::Hidden | QDir::NoDotAndDotDot))
        if (p.compare(nombre, Qt::CaseInsensitive) == 0)
            return dir.filePath(p);
    return {};
}

// A folder under a base, one name after another ("imagenes/img_menu").
QString carpetaSinCaso(const QString& base, const QString& relativa)
{
    QString actual = base;
    for (const QString& parte : relativa.split(u'/')) {
        actual = entradaSinCaso(actual, parte, QDir::Dirs);
        if (actual.isEmpty())
            return {};
    }
    return actual;
}

bool existeCarpeta(const QString& ruta) { return !ruta.isEmpty() && QFileInfo(ruta).isDir(); }

bool esPng(const QString& archivo) { return archivo.toLower().endsWith(QLatin1String(".png")); }

} // namespace

QString UtilVela::ResolveImageFolder() const
{
    const QString F = ModUtilVelaBar::WithSlash(imageFolder_);
    if (existeCarpeta(F))
        return F;
    // The program's folder: on this platform the control's module is the program itself, so
    // its folder and the application folder are one.
    const QString M = ModUtilVelaBar::WithSlash(ModUtilVelaBar::CarpetaPrograma());
    for (const char* nombre : CarpetasImagenes) {
        const QString c = carpetaSinCaso(M, QString::fromLatin1(nombre));
        if (!c.isEmpty())
            return ModUtilVelaBar::WithSlash(c);
    }
    if (existeCarpeta(M))
        return M;
    return M + QStringLiteral("img_menu/");
}

QString UtilVela::IconFilePath(const QString& F, const QString& TAG)
{
    if (F.isEmpty() || TAG.isEmpty())
        return {};
    return entradaSinCaso(F, TAG + QStringLiteral(".png"), QDir::Files);
}

QString UtilVela::IconVariantPath(const QString& F, const QString& TAG, const QString& variant)
{
    if (F.isEmpty() || TAG.isEmpty())
        return {};
    return entradaSinCaso(F, TAG + u'_' + variant.toLower() + QStringLiteral(".png"), QDir::Files);
}

void UtilVela::resolverArchivos(int i, const QString& F)
{
    Slot& s = slots_[size_t(i)];
    const QString TAG = s.tag.trimmed().toUpper();
    s.iconFile = F.isEmpty() ? QString() : IconFilePath(F, TAG);
    s.iconOverFile = F.isEmpty() ? QString() : IconVariantPath(F, TAG, QStringLiteral("over"));
    s.iconDisFile = F.isEmpty() ? QString() : IconVariantPath(F, TAG, QStringLiteral("dis"));
}

void UtilVela::ImageFolder(const QString& v)
{
    LoadIconsFromFolder(v);
    Q_EMIT PropertyChanged(QStringLiteral("ImageFolder"));
}

void UtilVela::LoadIconsFromFolder(const QString& zFolder)
{
    imageFolder_ = ModUtilVelaBar::WithSlash(zFolder);
    RefreshIcons();
}

void UtilVela::RefreshIcons()
{
    const QString F = ResolveImageFolder();
    for (int i = 0; i < itemCount_; ++i) {
        resolverArchivos(i, F);
        LoadItemIcon(i);
    }
    LayoutItems();
}

void UtilVela::IconTrace(const QString& linea) { rastro_ = linea; }

void UtilVela::LoadItemIcon(int i)
{
    if (i < 0 || i >= itemCount_)
        return;
    Slot& s = slots_[size_t(i)];
    s.drawnFile.clear();
    s.drawnTint = -1;
    s.drawnSurface = QSize();
    const QString file = s.iconFile.trimmed();
    const QString tag = QStringLiteral("Tag=") + s.tag;
    const auto conBase = [&](const QString& linea) {
        s.hasFileIcon = false;
        RestoreBaseIcon(i);
        IconTrace(linea);
    };
    if (file.isEmpty())
        return conBase(tag + QStringLiteral(" sin PNG. Se usa icono base."));
    if (!QFileInfo(file).isFile())
        return conBase(tag + QStringLiteral(" PNG inexistente: ") + file + QStringLiteral(" | Se usa icono base."));
    const QString error = tag + QStringLiteral(" ERROR al cargar PNG: ") + file + QStringLiteral(" | Se usa icono base.");
    QImage cache;
    if (esPng(file)) {
        // A file that is no picture keeps the base picture rather than an empty box.
        if (!QImageReader(file).canRead())
            return conBase(error);
    } else {
        cache = LoadPictureFile(file);
        if (cache.isNull())
            return conBase(error);
    }
    s.pictureCache = cache;
    s.hasFileIcon = true;
    s.caja->imagen = QPixmap();
    s.caja->update();
    s.icono->Limpiar();
    DrawItemIcon(i);
    if (s.hasFileIcon)
        IconTrace(tag + (esPng(file) ? QStringLiteral(" PNG cargado: ") : QStringLiteral(" cargado: ")) + file);
}

void UtilVela::RestoreBaseIcon(int i)
{
    if (i < 0 || i > capacity_)
        return;
    Slot& s = slots_[size_t(i)];
    int indice = BaseIconIndex(s.tag);
    if (indice == -1)
        indice = i; // the slot's own design picture
    s.pictureCache = QImage();
    s.icono->Limpiar();
    s.icono->update();
    if (indice < int(basePictures_.size())) // a slot above 18 has none and keeps its box
        s.caja->imagen = basePictures_[size_t(indice)];
    s.caja->update();
}

QString UtilVela::IconFileForState(int i) const
{
    const Slot& s = slot(i);
    const bool usable = s.enabled && enabled_;
    if (s.iconDisFile.isEmpty() || usable) {
        if (!s.iconOverFile.isEmpty() && usable && (i == hoverIndex_ || i == activeIndex_))
            return s.iconOverFile;
        return s.iconFile;
    }
    return s.iconDisFile;
}

QImage UtilVela::LoadPictureFile(const QString& file)
{
    QImageReader lector(file);
    lector.setAutoTransform(true);
    // An icon file holds several sizes: the largest is kept.
    QImage mejor;
    for (int n = 0; n < 16 && lector.canRead(); ++n) {
        const QImage imagen = lector.read();
        if (imagen.isNull())
            break;
        if (mejor.isNull() || imagen.width() * imagen.height() > mejor.width() * mejor.height())
            mejor = imagen;
        if (lector.imageCount() <= 1)
            break;
    }
    return mejor;
}

QRect UtilVela::IconoDibujado(int i) const
{
    const Slot& s = slot(i);
    return s.hasFileIcon && !s.icono->dibujo.isNull() ? s.icono->rectDibujo : QRect();
}

bool UtilVela::dibujarEnSuperficie(int i, const QImage& imagen, int lado)
{
    CajaItem* superficie = slots_[size_t(i)].icono;
    const QSize sup = superficie->size();
    if (imagen.isNull() || imagen.width() <= 0 || imagen.height() <= 0 || sup.isEmpty())
        return false;
    // The icon fits into the box as well: a bigger one would be cut at its edges. Sizes are
    // the box's (device-independent) pixels; a picture drawn for a scaled screen counts by
    // its device-independent size.
    const QSize objetivo = QSize(lado, lado).boundedTo(sup);
    const QSizeF propio = imagen.deviceIndependentSize();
    double w = propio.width(), h = propio.height();
    if (objetivo.width() < w || objetivo.height() < h) { // never enlarged
        double r = objetivo.width() / w;
        if (h * r > objetivo.height())
            r = objetivo.height() / h;
        w = std::max(1.0, std::nearbyint(w * r)); // halves to even
        h = std::max(1.0, std::nearbyint(h * r));
    }
    const QSize tam{int(w), int(h)};
    const QPoint pos(std::max(0, (sup.width() - tam.width()) / 2), std::max(0, (sup.height() - tam.height()) / 2));
    // A palette or 1-bit picture is scaled in full colour: scaled in its own format, Qt fits the
    // blended pixels back into the palette (a 1-bit one as a black and white dither).
    QImage fuente = imagen;
    if (fuente.depth() < 32)
        fuente.convertTo(fuente.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const qreal dpr = fuente.devicePixelRatio();
    const QSize fisico = (QSizeF(tam) * dpr).toSize();
    superficie->dibujo = QPixmap::fromImage(fisico == fuente.size() ? fuente
                                            : fuente.scaled(fisico, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    superficie->dibujo.setDevicePixelRatio(dpr);
    superficie->rectDibujo = QRect(pos, tam);
    superficie->update();
    return true;
}

bool UtilVela::DrawPngScaled(int i, const QString& file, double widthTwips, double heightTwips)
{
    if (!QFileInfo(file).isFile())
        return false;
    // On a screen scaled 2x or more, FILE@2x.png beside the file (the same drawing at twice
    // the size) keeps the icon sharp; the item's files and their names stay as they are.
    QImage imagen;
    if (slot(i).icono->devicePixelRatioF() > 1.0) {
        const QFileInfo info(file);
        const QString doble = info.dir().filePath(info.completeBaseName() + QStringLiteral("@2x.") + info.suffix());
        if (QFileInfo(doble).isFile()) {
            imagen = QImageReader(doble).read();
            imagen.setDevicePixelRatio(2.0);
        }
    }
    if (imagen.isNull())
        imagen = QImageReader(file).read();
    if (imagen.isNull())
        return false;
    int lado = std::min(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    if (lado < 1)
        lado = std::max(slot(i).icono->width(), slot(i).icono->height());
    return dibujarEnSuperficie(i, imagen, lado);
}

void UtilVela::DrawItemIcon(int i)
{
    if (i < 0 || i >= itemCount_ || !slot(i).hasFileIcon)
        return;
    Slot& s = slots_[size_t(i)];
    const int lado = iconPx_; // scale 1.0 and no offsets for every key
    const bool usable = s.enabled && enabled_;
    const long tint = usable ? RGB(255, 255, 255) : RGB(105, 105, 105);
    QString file = IconFileForState(i);
    if (file.isEmpty())
        file = s.iconFile;
    if (file.isEmpty())
        return;
    const QSize superficie = s.icono->size();
    if (superficie.isEmpty())
        return; // not laid out yet: the layout draws it
    // The same file for the same state and size is on the surface already.
    if (file == s.drawnFile && tint == s.drawnTint && superficie == s.drawnSurface && lado == s.drawnPx)
        return;
    const auto dibujar = [&](const QString& f) {
        ++dibujosDeArchivo_;
        if (esPng(f))
            return DrawPngScaled(i, f, PixelsToTwips(lado), PixelsToTwips(lado));
        const QImage imagen = f == s.iconFile && !s.pictureCache.isNull() ? s.pictureCache : LoadPictureFile(f);
        return dibujarEnSuperficie(i, imagen, lado);
    };
    bool ok = dibujar(file);
    if (!ok && file != s.iconFile) { // a variant that cannot be read: the normal file
        file = s.iconFile;
        ok = dibujar(file);
    }
    if (!ok) {
        s.hasFileIcon = false;
        RestoreBaseIcon(i);
        s.icono->hide();
        IconTrace(QStringLiteral("Tag=") + s.tag + QStringLiteral(" ERROR al cargar PNG: ") + file +
                  QStringLiteral(" | Se usa icono base."));
        return;
    }
    // A disabled item without its _dis picture shows its normal one dimmed, as a base picture.
    s.icono->atenuar = !usable && file != s.iconDisFile;
    s.drawnFile = file;
    s.drawnTint = tint;
    s.drawnSurface = superficie;
    s.drawnPx = lado;
}
