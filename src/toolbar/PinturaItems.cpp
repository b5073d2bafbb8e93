// UtilVela: the look of each item (colours, caption, badge, marks) and the bar's background.
#include "toolbar/CajaItem.h"
#include "toolbar/UtilVela.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <cmath>

namespace {

// Relative luminance and contrast ratio as WCAG defines them.
double luminancia(const QColor& c)
{
    const auto canal = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * canal(c.red()) + 0.7152 * canal(c.green()) + 0.0722 * canal(c.blue());
}

double contraste(const QColor& a, const QColor& b)
{
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text of a disabled part on `fondo`: the usual grey where it reads (3:1 and a little
// more, for thin anti-aliased strokes), else a shade of the background itself, darkened (or
// on a very dark one lightened) only as far as needed, so that it still looks dimmed.
QColor textoDeshabilitado(const QColor& gris, const QColor& fondo)
{
    constexpr double minimo = 3.2;
    if (contraste(gris, fondo) >= minimo)
        return gris;
    const QColor hacia = contraste(Qt::black, fondo) >= minimo ? QColor(Qt::black) : QColor(Qt::white);
    for (int paso = 1; paso < 100; ++paso) {
        const double t = paso / 100.0;
        const QColor c(int(std::lround(fondo.red() + (hacia.red() - fondo.red()) * t)),
                       int(std::lround(fondo.green() + (hacia.green() - fondo.green()) * t)),
                       int(std::lround(fondo.blue() + (hacia.blue() - fondo.blue()) * t)));
        if (contraste(c, fondo) >= minimo)
            return c;
    }
    return hacia;
}

} // namespace

void CajaItem::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), UtilVela::ColorQt(fondo));
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setOpacity(atenuar ? 0.4 : 1.0);
    if (!imagen.isNull()) {
        const QRect destino((width() - ladoImagen) / 2, (height() - ladoImagen) / 2, ladoImagen, ladoImagen);
        p.drawPixmap(destino, imagen);
    }
    if (!dibujo.isNull())
        p.drawPixmap(rectDibujo, dibujo);
    p.setOpacity(1.0);
    p.setRenderHint(QPainter::Antialiasing);
    // Marks, in twips of this surface.
    p.scale(1.0 / tpp, 1.0 / tpp);
    const double anchoTw = width() * tpp;
    if (conMarca) {
        const double x0 = std::max(0.0, anchoTw - 230 - 14), y0 = 14;
        p.fillRect(QRectF(x0 - 4, 10, 238, 238), UtilVela::ColorQt(fondo));
        p.setPen(QPen(QColor(238, 238, 238), tpp));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(x0, y0, 230, 230));
        auto tilde = [&](double dx, double dy, long color) {
            p.setPen(QPen(UtilVela::ColorQt(color), tpp * 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPointF puntos[] = {{x0 + 44 + dx, y0 + 126 + dy}, {x0 + 84 + dx, y0 + 166 + dy}, {x0 + 178 + dx, y0 + 60 + dy}};
            p.drawPolyline(puntos, 3);
        };
        if (marcada) {
            tilde(1, 1, UtilVela::ShadeColor(fondo, -55));
            tilde(0, 0, UtilVela::RGB(255, 255, 255));
            tilde(2, 2, UtilVela::RGB(255, 255, 255));
        } else {
            tilde(0, 0, UtilVela::ShadeColor(fondo, 34));
        }
    }
    if (conPunto) {
        const double cx = std::max(70.0, anchoTw - 70 - 28), cy = 98;
        p.setPen(Qt::NoPen);
        p.setBrush(UtilVela::ColorQt(UtilVela::ShadeColor(fondo, -45)));
        p.drawEllipse(QPointF(cx + 10, cy + 10), 70, 70);
        p.setBrush(UtilVela::ColorQt(colorPunto));
        p.drawEllipse(QPointF(cx, cy), 70, 70);
    }
}

void UtilVela::RefreshItem(int i)
{
    if (i < 0 || i >= itemCount_ || !slot(i).visible)
        return;
    StyleItem(i);
    PaintItem(i);
}

void UtilVela::StyleItem(int i)
{
    Slot& s = slots_[size_t(i)];
    const bool usable = s.enabled && enabled_;
    const bool marcable = checkable(i);
    const bool hasIcon = s.hasFileIcon || BaseIconIndex(s.tag) >= 0;

    long color = normalBackColor_;
    if (estilo_ == 5 && i == activeIndex_ && !marcable)
        color = ShadeColor(normalBackColor_, -20);
    if (!usable)
        color = ShadeColor(normalBackColor_, -6);

    s.caja->fondo = color;
    s.barra->setStyleSheet(QStringLiteral("background-color: %1;").arg(ColorQt(activeBarColor_).name()));
    s.barra->hide();
    for (QWidget* w : {static_cast<QWidget*>(s.caja), static_cast<QWidget*>(s.texto), static_cast<QWidget*>(s.badgeLbl),
                       static_cast<QWidget*>(s.icono)})
        w->setToolTip(s.toolTip);

    QColor textoColor = Qt::white;
    if (!usable)
        textoColor = textoDeshabilitado(ColorQt(RGB(138, 138, 138)), ColorQt(color));
    else if (i == activeIndex_ && !marcable)
        textoColor = ColorQt(RGB(250, 250, 250));
    QFont f = s.texto->font();
    f.setPointSizeF(hasIcon ? baseCaptionSize_ : baseCaptionSize_ + 2);
    f.setBold(false);
    f.setItalic(false);
    s.texto->setFont(f);
    s.texto->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    s.texto->setAutoFillBackground(true);
    QPalette pt = s.texto->palette();
    pt.setColor(QPalette::Window, ColorQt(color));
    pt.setColor(QPalette::WindowText, textoColor);
    s.texto->setPalette(pt);

    s.badgeLbl->setText(s.badge >= 100 ? QStringLiteral("99+") : s.badge < 1 ? QString() : QString::number(s.badge));
    const QColor fondoBadge = s.attention && s.badge >= 1 ? ColorQt(s.attentionColor) : ColorQt(RGB(0, 120, 215));
    QFont fb(QStringLiteral("MS Sans Serif"));
    fb.setPointSizeF(8.25);
    s.badgeLbl->setFont(fb);
    s.badgeLbl->setAutoFillBackground(true);
    QPalette pb = s.badgeLbl->palette();
    pb.setColor(QPalette::Window, fondoBadge);
    pb.setColor(QPalette::WindowText, usable ? QColor(Qt::white) : textoDeshabilitado(ColorQt(RGB(120, 120, 120)), fondoBadge));
    s.badgeLbl->setPalette(pb);

    s.caja->setVisible(s.visible);
    s.caja->setEnabled(usable);
    s.caja->atenuar = !usable;
    s.badgeLbl->setEnabled(usable);
    s.icono->fondo = color;
    s.icono->setVisible(s.visible && s.hasFileIcon);
    s.icono->setEnabled(usable);
}

QString UtilVela::FitCaption(int i, const QString& texto, double anchoTwips) const
{
    QString s = texto.trimmed();
    s.replace(u'\r', u' ').replace(u'\n', u' ');
    if (s.isEmpty())
        return {};
    const QFontMetricsF fm(slot(i).texto->font());
    const double tpp = PixelsToTwips(1);
    auto ancho = [&](const QString& t) { return fm.horizontalAdvance(t) * tpp; };
    if (ancho(s) <= anchoTwips)
        return s;
    for (qsizetype n = s.size(); n >= 1; --n) {
        const QString c = s.left(n) + QStringLiteral("...");
        if (ancho(c) <= anchoTwips)
            return c;
    }
    return QStringLiteral("...");
}

void UtilVela::PaintItem(int i)
{
    Slot& s = slots_[size_t(i)];
    const double tpp = PixelsToTwips(1);
    const QRect g = s.caja->geometry();
    const double l = g.x() * tpp, t = g.y() * tpp, w = g.width() * tpp, h = g.height() * tpp;

    const QFontMetricsF fm(s.texto->font());
    const double ch = std::max(fm.height() * tpp + 45, 400.0);
    s.texto->setGeometry(rectTw(l, t + h + 50, w, ch));
    QString caption = FitCaption(i, s.caption, w - 20);
    caption.replace(u' ', QChar(0xA0));
    s.texto->setText(caption);
    s.texto->setVisible(showCaptions_);

    s.barra->setGeometry(rectTw(l - 80, t, 60, t + h + 50 + ch - t));

    if (s.attention && s.badge < 1)
        s.badgeLbl->setGeometry(rectTw(l + w - 210, t + 60, 180, 180));
    else
        s.badgeLbl->setGeometry(rectTw(l + w - 315, t + 75, 240, 225));
    s.badgeLbl->setVisible(s.badge > 0);

    s.icono->setGeometry(rectTw(l, t, w, h));
    if (s.hasFileIcon)
        DrawItemIcon(i);

    s.caja->ladoImagen = std::min(iconPx_, std::min(s.caja->width(), s.caja->height()));
    // The marks go on the icon surface when it shows a file icon, else on the box.
    for (CajaItem* superficie : {s.caja, s.icono}) {
        const bool esta = (superficie == s.icono) == s.hasFileIcon;
        superficie->conMarca = esta && checkable(i);
        superficie->marcada = checked(i);
        superficie->conPunto = esta && s.attention && s.badge < 1;
        superficie->colorPunto = s.attentionColor;
        superficie->update();
    }

    s.icono->raise();
    s.texto->raise();
    s.badgeLbl->raise();
    s.barra->raise();
}

void UtilVela::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ColorQt(normalBackColor_));
    if (!separador_.isNull())
        p.fillRect(separador_, ColorQt(ShadeColor(normalBackColor_, 28)));
}
