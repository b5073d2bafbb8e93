#pragma once
// The editor's lookups through the program's lookup engine.

#include "distribution/frmProrrata.h"

// Each request sets the returned column to CODIGO (and Checks for a multiple choice), then
// searches; the answer is the chosen code, the checked codes, or nothing after a cancel.
Buscador BuscadorConsultas();
