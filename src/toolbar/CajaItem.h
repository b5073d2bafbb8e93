#pragma once
// The box of one command bar item and its icon surface, drawn by the bar.

#include <QPixmap>
#include <QWidget>

// The item box shows its colour, its base picture (centred, `ladoImagen` pixels) and the
// marks. The icon surface, laid over the box, keeps what was last drawn on it (`dibujo` in
// `rectDibujo`) until it is cleared or drawn again.
class CajaItem : public QWidget {
public:
    explicit CajaItem(QWidget* padre) : QWidget(padre) { setAttribute(Qt::WA_OpaquePaintEvent); }

    long fondo = 0;
    QPixmap imagen;
    int ladoImagen = 42;
    QPixmap dibujo;
    QRect rectDibujo;
    bool atenuar = false; // a disabled item's picture, drawn dimmed
    bool conMarca = false, marcada = false;
    bool conPunto = false;
    long colorPunto = 0;
    double tpp = 15; // twips per pixel

    void Limpiar()
    {
        dibujo = QPixmap();
        rectDibujo = QRect();
    }

protected:
    void paintEvent(QPaintEvent*) override;
};
