#pragma once
// What the reconnection loop needs of its window (frmReconectar): show a message with a
// progress bar and two buttons without blocking, and report which button was pressed. The
// program uses the Qt window; a program without windows defines its own
// VentanaReconexionPredeterminada, and then never loads Qt's GUI libraries.

#include <QString>

class IVentanaReconexion {
public:
    virtual ~IVentanaReconexion() = default;
    // Label text, progress 0, both flags cleared; shown centred and modeless.
    virtual void Mostrar(const QString& mensaje) = 0;
    // Progress (0 to 100); Reintentar enabled only when habilitarReintentar.
    virtual void Avance(int progreso, bool habilitarReintentar) = 0;
    virtual bool Cancelar() const = 0;    // "Cerrar Sistema" pressed
    virtual bool Reintentar() const = 0;  // "Reintentar" pressed
    virtual void Cerrar() = 0;
};

IVentanaReconexion& VentanaReconexion();
void FijarVentanaReconexion(IVentanaReconexion* ventana); // nullptr: the predetermined one
IVentanaReconexion& VentanaReconexionPredeterminada();
