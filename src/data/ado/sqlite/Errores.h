#pragma once
// SQLite's result codes and messages as categories of the shared error mapping.

#include "data/ado/Errores.h"

namespace ado::sqlite {

// An extended result code with the connection's message.
Diagnostico Clasificar(int codigo, const QString& mensaje);

} // namespace ado::sqlite
