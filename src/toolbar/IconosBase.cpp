#include "toolbar/IconosBase.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace toolbar {

namespace {

// Each picture is drawn on a 24 x 24 grid, scaled to the size asked.
void dibujar(QPainter& p, int i)
{
    auto linea = [&](double x1, double y1, double x2, double y2) { p.drawLine(QPointF(x1, y1), QPointF(x2, y2)); };
    auto rect = [&](double x, double y, double w, double h, double r = 1.5) { p.drawRoundedRect(QRectF(x, y, w, h), r, r); };
    auto hoja = [&] { // a sheet with a folded corner
        QPainterPath c;
        c.moveTo(6, 3);
        c.lineTo(14, 3);
        c.lineTo(19, 8);
        c.lineTo(19, 21);
        c.lineTo(6, 21);
        c.closeSubpath();
        p.drawPath(c);
        linea(14, 3, 14, 8);
        linea(14, 8, 19, 8);
    };
    switch (i) {
    case 0: // new
        hoja();
        linea(12.5, 11, 12.5, 18);
        linea(9, 14.5, 16, 14.5);
        break;
    case 1: // delete
        linea(4, 6, 20, 6);
        linea(9.5, 6, 10, 3.5);
        linea(10, 3.5, 14, 3.5);
        linea(14, 3.5, 14.5, 6);
        {
            QPainterPath c;
            c.moveTo(6, 6);
            c.lineTo(7.2, 21);
            c.lineTo(16.8, 21);
            c.lineTo(18, 6);
            p.drawPath(c);
        }
        linea(10, 10, 10.4, 17.5);
        linea(14, 10, 13.6, 17.5);
        break;
    case 2: // report
        hoja();
        linea(9, 12, 16, 12);
        linea(9, 15, 16, 15);
        linea(9, 18, 13, 18);
        break;
    case 3: // look up
        p.drawEllipse(QPointF(10.5, 10.5), 6, 6);
        linea(15, 15, 20.5, 20.5);
        break;
    case 4: // sheet
        rect(3.5, 4.5, 17, 15);
        linea(3.5, 9.5, 20.5, 9.5);
        linea(3.5, 14.5, 20.5, 14.5);
        linea(9.5, 4.5, 9.5, 19.5);
        linea(15, 4.5, 15, 19.5);
        break;
    case 5: // cancel
        p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
        linea(8.5, 8.5, 15.5, 15.5);
        linea(15.5, 8.5, 8.5, 15.5);
        break;
    case 6: // save
        {
            QPainterPath c;
            c.moveTo(4, 4);
            c.lineTo(17, 4);
            c.lineTo(20, 7);
            c.lineTo(20, 20);
            c.lineTo(4, 20);
            c.closeSubpath();
            p.drawPath(c);
        }
        rect(8, 4, 8, 5, 0.5);
        rect(7, 13, 10, 7, 0.5);
        break;
    case 7: // close
        rect(4, 3.5, 10, 17);
        linea(11, 12, 20.5, 12);
        linea(17.5, 9, 20.5, 12);
        linea(17.5, 15, 20.5, 12);
        break;
    case 8: // customer
        p.drawEllipse(QPointF(12, 8), 4, 4);
        p.drawArc(QRectF(4.5, 13.5, 15, 14), 0, 180 * 16);
        break;
    case 9: // order
        rect(5, 4.5, 14, 16.5);
        rect(9, 3, 6, 3, 1);
        linea(8.5, 11, 15.5, 11);
        linea(8.5, 14.5, 15.5, 14.5);
        linea(8.5, 18, 12.5, 18);
        break;
    case 10: // delivery note
        rect(2.5, 6.5, 12, 10, 1);
        {
            QPainterPath c;
            c.moveTo(14.5, 9.5);
            c.lineTo(18.5, 9.5);
            c.lineTo(21.5, 13);
            c.lineTo(21.5, 16.5);
            c.lineTo(14.5, 16.5);
            p.drawPath(c);
        }
        p.drawEllipse(QPointF(7, 18.5), 2, 2);
        p.drawEllipse(QPointF(17.5, 18.5), 2, 2);
        break;
    case 11: // cash
        rect(3, 8, 18, 11);
        p.drawEllipse(QPointF(12, 13.5), 2.8, 2.8);
        linea(5.5, 5.5, 18.5, 5.5);
        linea(7.5, 3.5, 16.5, 3.5);
        break;
    case 12: // business unit
        rect(4, 8, 9, 13, 0.5);
        rect(13, 4, 7, 17, 0.5);
        linea(6.5, 11.5, 10.5, 11.5);
        linea(6.5, 15, 10.5, 15);
        linea(15.5, 8, 17.5, 8);
        linea(15.5, 11.5, 17.5, 11.5);
        linea(15.5, 15, 17.5, 15);
        break;
    case 13: // import
        linea(12, 3, 12, 14);
        linea(8, 10, 12, 14);
        linea(16, 10, 12, 14);
        {
            QPainterPath c;
            c.moveTo(4, 14);
            c.lineTo(4, 20);
            c.lineTo(20, 20);
            c.lineTo(20, 14);
            p.drawPath(c);
        }
        break;
    case 14: // AI
        {
            QPainterPath c;
            c.moveTo(10, 3);
            c.quadTo(10.8, 10.2, 17, 11);
            c.quadTo(10.8, 11.8, 10, 19);
            c.quadTo(9.2, 11.8, 3, 11);
            c.quadTo(9.2, 10.2, 10, 3);
            p.drawPath(c);
            QPainterPath d;
            d.moveTo(18, 14);
            d.quadTo(18.4, 17.6, 21.5, 18);
            d.quadTo(18.4, 18.4, 18, 21.5);
            d.quadTo(17.6, 18.4, 14.5, 18);
            d.quadTo(17.6, 17.6, 18, 14);
            p.drawPath(d);
        }
        break;
    case 15: // screen
        rect(3, 4.5, 18, 12);
        linea(12, 16.5, 12, 20);
        linea(8, 20.5, 16, 20.5);
        break;
    case 16: // printer
        rect(6.5, 3.5, 11, 5, 0.5);
        rect(3.5, 8.5, 17, 8.5);
        rect(6.5, 13.5, 11, 7, 0.5);
        linea(17, 11, 18, 11);
        break;
    case 17: // share
        p.drawEllipse(QPointF(17.5, 5.5), 2.5, 2.5);
        p.drawEllipse(QPointF(6.5, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(17.5, 18.5), 2.5, 2.5);
        linea(8.7, 10.8, 15.3, 6.8);
        linea(8.7, 13.2, 15.3, 17.2);
        break;
    case 18: // settings
        for (int k = 0; k < 8; ++k) {
            const double a = k * M_PI / 4;
            linea(12 + 6.5 * qCos(a), 12 + 6.5 * qSin(a), 12 + 9 * qCos(a), 12 + 9 * qSin(a));
        }
        p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
        p.drawEllipse(QPointF(12, 12), 2.6, 2.6);
        break;
    default:
        break;
    }
}

} // namespace

QPixmap IconoBase(int indice, int lado)
{
    if (indice < 0 || indice >= CantidadIconosBase || lado < 1)
        return {};
    QPixmap pix(lado, lado);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 24.0, lado / 24.0);
    p.setPen(QPen(QColor(235, 235, 235), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    dibujar(p, indice);
    return pix;
}

} // namespace toolbar
