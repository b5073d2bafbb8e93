// UtilVela: twips and pixels, and where each item goes (vertical or horizontal bar).
#include "toolbar/CajaItem.h"
#include "toolbar/UtilVela.h"

#include <QLabel>
#include <QScreen>

double UtilVela::PixelsToTwips(double px) const
{
    const QScreen* s = screen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return px * (1440.0 / (dpi > 0 ? dpi : 96.0));
}

int UtilVela::TwipsToPixels(double twips) const
{
    const double tpp = PixelsToTwips(1);
    return tpp > 0 ? qRound(twips / tpp) : 0;
}

QRect UtilVela::rectTw(double l, double t, double w, double h) const
{
    return QRect(TwipsToPixels(l), TwipsToPixels(t), TwipsToPixels(w), TwipsToPixels(h));
}

void UtilVela::EndLayoutUpdate()
{
    if (layoutSuspend_ > 0)
        --layoutSuspend_;
    if (layoutSuspend_ == 0 && layoutPending_) {
        layoutPending_ = false;
        LayoutItems();
    }
}

void UtilVela::LayoutItems()
{
    if (layoutSuspend_ >= 1) {
        layoutPending_ = true;
        return;
    }
    if (capacity_ < 0)
        return;
    const double w = 840;
    const double h = itemHeight_ > 0 ? itemHeight_ : 480;
    const double W = anchoTw(), H = altoTw();
    horizontalAhora_ = autoOrientacion_ ? W >= H : horizontal_;

    separador_ = QRect();
    if (horizontalAhora_ && H > 975)
        separador_ = rectTw(0, 975, W, H - 975);
    else if (!horizontalAhora_ && W > 1020)
        separador_ = rectTw(1020, 0, W - 1020, H);

    double x = 120, y = topOffset_ + 80, paso = 0;
    if (!horizontalAhora_) {
        if (showCaptions_) {
            int n = 0;
            for (int i = 0; i < itemCount_; ++i)
                n += slot(i).visible ? 1 : 0;
            double gap = 20;
            if (n > 1) {
                const double g = (H - 60 - (topOffset_ + 80) - n * h - n * 400) / (n - 1);
                if (g < 20)
                    gap = g;
                if (gap < 0)
                    gap = 0;
            }
            paso = gap + 400 + itemGap_;
        } else {
            paso = itemGap_;
        }
    }

    for (int i = 0; i <= capacity_; ++i) {
        Slot& s = slots_[size_t(i)];
        if (i < itemCount_ && s.visible) {
            const double l = horizontalAhora_ ? x : 120;
            const double t = horizontalAhora_ ? topOffset_ - 60 : y;
            s.caja->setGeometry(rectTw(l, t, w, h));
            s.barra->setGeometry(rectTw(l, t, 60, h));
            StyleItem(i);
            PaintItem(i);
            if (horizontalAhora_)
                x += w + 120 + itemGap_;
            else
                y += h + paso;
            if (groupGap_ > 0 && !groupBreakTag_.isEmpty() && s.tag.toUpper() == groupBreakTag_) {
                if (horizontalAhora_)
                    x += groupGap_;
                else
                    y += groupGap_;
            }
        } else {
            s.caja->hide();
            s.barra->hide();
            s.texto->hide();
            s.badgeLbl->hide();
            s.icono->hide();
        }
    }
    update();
}

void UtilVela::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    LayoutItems();
}
