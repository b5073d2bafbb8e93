#pragma once
// The box of one command bar item, drawn by the bar.

#include <QPixmap>
#include <QWidget>

// The item box: its colour, its base picture and the marks drawn on it.
class CajaItem : public QWidget {
public:
    explicit CajaItem(QWidget* padre) : QWidget(padre) { setAttribute(Qt::WA_OpaquePaintEvent); }

    long fondo = 0;
    QPixmap imagen;
    int ladoImagen = 42;
    bool conMarca = false, marcada = false;
    bool conPunto = false;
    long colorPunto = 0;
    double tpp = 15; // twips per pixel

protected:
    void paintEvent(QPaintEvent*) override;
};
