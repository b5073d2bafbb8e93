#pragma once
// The progress display: a small window opened, stepped and closed around long work. It
// never blocks: it is not modal and the caller keeps running between steps.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace suite {

class Progreso {
public:
    static Progreso& instancia();

    // Opens the display with a title; mostrar false only counts the steps (batch work). With a
    // delay the window appears only if the work is still going on after it (no flash on
    // work that ends sooner).
    void inicio(const QString& titulo, bool mostrar = true, int demoraMs = 0);
    // One step: a caption and the item in work. The window is repainted at most every
    // few tens of milliseconds, or now when refrescar is true.
    void paso(bool refrescar, const QString& leyenda, QStringView elemento);
    void fin();

    bool activo() const { return activo_; }
    int pasos() const { return pasos_; }
    QString leyenda() const { return leyenda_; }
    QString elemento() const { return elemento_; }
    QWidget* ventana() const { return ventana_; }

private:
    Progreso() = default;
    void crearVentana();
    void mostrarVentana();
    void pintar();

    bool activo_ = false;
    int pasos_ = 0;
    QString leyenda_;
    QString elemento_;
    QElapsedTimer desdePintado_;
    QElapsedTimer desdeInicio_;
    int demoraMs_ = 0;
    QString titulo_;
    bool pendiente_ = false; // the window is still to appear
    QPointer<QWidget> ventana_;
    QPointer<QWidget> activaAntes_; // the window that had the focus, given it back at the end
    QLabel* lblLeyenda_ = nullptr;
    QLabel* lblElemento_ = nullptr;
    QProgressBar* barra_ = nullptr;
};

inline void ProgresoInicio(const QString& titulo, bool mostrar = true, int demoraMs = 0)
{
    Progreso::instancia().inicio(titulo, mostrar, demoraMs);
}
inline void ProgresoPaso(bool refrescar, const QString& leyenda, QStringView elemento)
{
    Progreso::instancia().paso(refrescar, leyenda, elemento);
}
inline void ProgresoFin() { Progreso::instancia().fin(); }

// Lets the window repaint during long work: pending events are processed at most every
// IntervaloEventosMs, so a loop may call it once per row at no cost. The user's input is
// kept for after the work.
constexpr int IntervaloEventosMs = 16;
void AtenderEventos();

} // namespace suite
