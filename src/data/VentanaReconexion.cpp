#include "data/VentanaReconexion.h"

namespace {
IVentanaReconexion* fijada = nullptr;
}

IVentanaReconexion& VentanaReconexion() { return fijada ? *fijada : VentanaReconexionPredeterminada(); }

void FijarVentanaReconexion(IVentanaReconexion* ventana) { fijada = ventana; }
