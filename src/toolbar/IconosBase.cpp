#include "toolbar/IconosBase.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <initializer_list>

namespace toolbar {

namespace {

// The pen's strokes on the 24 x 24 grid every picture is drawn on.
struct Lapiz {
    QPainter& p;

    void linea(double x1, double y1, double x2, double y2) { p.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }
    void rect(double x, double y, double w, double h, double r = 1.5) { p.drawRoundedRect(QRectF(x, y, w, h), r, r); }
    void circulo(double x, double y, double r) { p.drawEllipse(QPointF(x, y), r, r); }
    // Straight strokes through the points, closed back to the first when asked.
    void trazo(std::initializer_list<QPointF> puntos, bool cerrado = false)
    {
        QPainterPath c;
        c.moveTo(*puntos.begin());
        for (auto q = puntos.begin() + 1; q != puntos.end(); ++q)
            c.lineTo(*q);
        if (cerrado)
            c.closeSubpath();
        p.drawPath(c);
    }
    void hoja() // a sheet with a folded corner
    {
        trazo({{6, 3}, {14, 3}, {19, 8}, {19, 21}, {6, 21}}, true);
        linea(14, 3, 14, 8);
        linea(14, 8, 19, 8);
    }
};

void nuevo(Lapiz& l)
{
    l.hoja();
    l.linea(12.5, 11, 12.5, 18);
    l.linea(9, 14.5, 16, 14.5);
}

void borrar(Lapiz& l)
{
    l.linea(4, 6, 20, 6);
    l.linea(9.5, 6, 10, 3.5);
    l.linea(10, 3.5, 14, 3.5);
    l.linea(14, 3.5, 14.5, 6);
    l.trazo({{6, 6}, {7.2, 21}, {16.8, 21}, {18, 6}});
    l.linea(10, 10, 10.4, 17.5);
    l.linea(14, 10, 13.6, 17.5);
}

void informe(Lapiz& l)
{
    l.hoja();
    l.linea(9, 12, 16, 12);
    l.linea(9, 15, 16, 15);
    l.linea(9, 18, 13, 18);
}

void buscar(Lapiz& l)
{
    l.circulo(10.5, 10.5, 6);
    l.linea(15, 15, 20.5, 20.5);
}

void planilla(Lapiz& l)
{
    l.rect(3.5, 4.5, 17, 15);
    l.linea(3.5, 9.5, 20.5, 9.5);
    l.linea(3.5, 14.5, 20.5, 14.5);
    l.linea(9.5, 4.5, 9.5, 19.5);
    l.linea(15, 4.5, 15, 19.5);
}

void cancelar(Lapiz& l)
{
    l.circulo(12, 12, 8.5);
    l.linea(8.5, 8.5, 15.5, 15.5);
    l.linea(15.5, 8.5, 8.5, 15.5);
}

void guardar(Lapiz& l)
{
    l.trazo({{4, 4}, {17, 4}, {20, 7}, {20, 20}, {4, 20}}, true);
    l.rect(8, 4, 8, 5, 0.5);
    l.rect(7, 13, 10, 7, 0.5);
}

void cerrar(Lapiz& l)
{
    l.rect(4, 3.5, 10, 17);
    l.linea(11, 12, 20.5, 12);
    l.linea(17.5, 9, 20.5, 12);
    l.linea(17.5, 15, 20.5, 12);
}

void cliente(Lapiz& l)
{
    l.circulo(12, 8, 4);
    l.p.drawArc(QRectF(4.5, 13.5, 15, 14), 0, 180 * 16);
}

void pedido(Lapiz& l)
{
    l.rect(5, 4.5, 14, 16.5);
    l.rect(9, 3, 6, 3, 1);
    l.linea(8.5, 11, 15.5, 11);
    l.linea(8.5, 14.5, 15.5, 14.5);
    l.linea(8.5, 18, 12.5, 18);
}

void remito(Lapiz& l)
{
    l.rect(2.5, 6.5, 12, 10, 1);
    l.trazo({{14.5, 9.5}, {18.5, 9.5}, {21.5, 13}, {21.5, 16.5}, {14.5, 16.5}});
    l.circulo(7, 18.5, 2);
    l.circulo(17.5, 18.5, 2);
}

void caja(Lapiz& l)
{
    l.rect(3, 8, 18, 11);
    l.circulo(12, 13.5, 2.8);
    l.linea(5.5, 5.5, 18.5, 5.5);
    l.linea(7.5, 3.5, 16.5, 3.5);
}

void unidadNegocio(Lapiz& l)
{
    l.rect(4, 8, 9, 13, 0.5);
    l.rect(13, 4, 7, 17, 0.5);
    l.linea(6.5, 11.5, 10.5, 11.5);
    l.linea(6.5, 15, 10.5, 15);
    l.linea(15.5, 8, 17.5, 8);
    l.linea(15.5, 11.5, 17.5, 11.5);
    l.linea(15.5, 15, 17.5, 15);
}

void importar(Lapiz& l)
{
    l.linea(12, 3, 12, 14);
    l.linea(8, 10, 12, 14);
    l.linea(16, 10, 12, 14);
    l.trazo({{4, 14}, {4, 20}, {20, 20}, {20, 14}});
}

void ia(Lapiz& l)
{
    QPainterPath c;
    c.moveTo(10, 3);
    c.quadTo(10.8, 10.2, 17, 11);
    c.quadTo(10.8, 11.8, 10, 19);
    c.quadTo(9.2, 11.8, 3, 11);
    c.quadTo(9.2, 10.2, 10, 3);
    l.p.drawPath(c);
    QPainterPath d;
    d.moveTo(18, 14);
    d.quadTo(18.4, 17.6, 21.5, 18);
    d.quadTo(18.4, 18.4, 18, 21.5);
    d.quadTo(17.6, 18.4, 14.5, 18);
    d.quadTo(17.6, 17.6, 18, 14);
    l.p.drawPath(d);
}

void pantalla(Lapiz& l)
{
    l.rect(3, 4.5, 18, 12);
    l.linea(12, 16.5, 12, 20);
    l.linea(8, 20.5, 16, 20.5);
}

void impresora(Lapiz& l)
{
    l.rect(6.5, 3.5, 11, 5, 0.5);
    l.rect(3.5, 8.5, 17, 8.5);
    l.rect(6.5, 13.5, 11, 7, 0.5);
    l.linea(17, 11, 18, 11);
}

void compartir(Lapiz& l)
{
    l.circulo(17.5, 5.5, 2.5);
    l.circulo(6.5, 12, 2.5);
    l.circulo(17.5, 18.5, 2.5);
    l.linea(8.7, 10.8, 15.3, 6.8);
    l.linea(8.7, 13.2, 15.3, 17.2);
}

void ajustes(Lapiz& l)
{
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        l.linea(12 + 6.5 * qCos(a), 12 + 6.5 * qSin(a), 12 + 9 * qCos(a), 12 + 9 * qSin(a));
    }
    l.circulo(12, 12, 6.5);
    l.circulo(12, 12, 2.6);
}

// In the order of the pictures' numbers.
void (*const Dibujos[CantidadIconosBase])(Lapiz&) = {
    nuevo, borrar, informe, buscar, planilla, cancelar, guardar, cerrar, cliente, pedido,
    remito, caja, unidadNegocio, importar, ia, pantalla, impresora, compartir, ajustes,
};

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
    Lapiz l{p};
    Dibujos[indice](l);
    return pix;
}

} // namespace toolbar
