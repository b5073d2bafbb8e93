#include "suite/Progreso.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace suite {

namespace {
constexpr qint64 IntervaloPintadoMs = 40;
}

Progreso& Progreso::instancia()
{
    static Progreso p;
    return p;
}

void Progreso::crearVentana()
{
    auto* w = new QWidget(QApplication::activeWindow(),
                          Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowDoesNotAcceptFocus);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setWindowModality(Qt::NonModal);
    auto* capa = new QVBoxLayout(w);
    lblLeyenda_ = new QLabel(w);
    lblElemento_ = new QLabel(w);
    barra_ = new QProgressBar(w);
    barra_->setRange(0, 0); // busy: the total is not known
    barra_->setTextVisible(false);
    capa->addWidget(lblLeyenda_);
    capa->addWidget(lblElemento_);
    capa->addWidget(barra_);
    w->setMinimumWidth(360);
    ventana_ = w;
}

void Progreso::inicio(const QString& titulo, bool mostrar, int demoraMs)
{
    fin();
    activo_ = true;
    pasos_ = 0;
    leyenda_.clear();
    elemento_.clear();
    if (!mostrar)
        return;
    titulo_ = titulo;
    demoraMs_ = demoraMs;
    desdeInicio_.start();
    pendiente_ = true;
    if (demoraMs <= 0)
        mostrarVentana();
}

void Progreso::mostrarVentana()
{
    activaAntes_ = QApplication::activeWindow();
    crearVentana();
    ventana_->setWindowTitle(titulo_);
    lblLeyenda_->setText(titulo_);
    pendiente_ = false;
    ventana_->show();
    ventana_->raise();
    pintar();
}

void Progreso::paso(bool refrescar, const QString& leyenda, QStringView elemento)
{
    if (!activo_)
        return;
    ++pasos_;
    if (leyenda.constData() != leyenda_.constData() || leyenda.size() != leyenda_.size())
        leyenda_ = leyenda; // a caption repeated step after step is kept, not assigned again
    // Copied into the storage it already has: a step allocates nothing in long loops.
    elemento_.resize(elemento.size());
    std::copy(elemento.begin(), elemento.end(), elemento_.data());
    // The clock is looked at every few steps: a step costs next to nothing in long loops.
    if (ventana_ && (refrescar || !desdePintado_.isValid() || (pasos_ % 16 == 0 && desdePintado_.elapsed() >= IntervaloPintadoMs)))
        pintar();
    else if (pendiente_ && (refrescar || pasos_ % 16 == 0) && desdeInicio_.elapsed() >= demoraMs_)
        mostrarVentana();
}

void Progreso::pintar()
{
    if (!ventana_)
        return;
    if (!leyenda_.isEmpty())
        lblLeyenda_->setText(leyenda_);
    lblElemento_->setText(elemento_);
    ventana_->repaint();
    desdePintado_.start();
}

void Progreso::fin()
{
    activo_ = false;
    if (ventana_)
        ventana_->close();
    ventana_.clear();
    if (activaAntes_) {
        activaAntes_->activateWindow();
        activaAntes_.clear();
    }
    lblLeyenda_ = lblElemento_ = nullptr;
    pendiente_ = false;
    barra_ = nullptr;
    desdePintado_.invalidate();
}

void AtenderEventos()
{
    static QElapsedTimer desde;
    static unsigned llamadas = 0;
    if (desde.isValid() && (++llamadas % 16 != 0 || desde.elapsed() < IntervaloEventosMs))
        return;
    // Painting and timers run; what the user types or clicks meanwhile waits for the work to
    // end and then arrives in order, so it cannot start other work halfway through this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    desde.start();
}

} // namespace suite
