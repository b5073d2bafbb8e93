#pragma once
// "+" between values of unknown type, for engines whose "+" only adds: each binary "+" of a
// statement becomes a call of the engine's own function (which joins texts and adds
// numbers), a parenthesised group counting as one operand.

#include "data/ado/TSQL.h"

namespace ado::tsql {

Tokens ConSumas(const Tokens& t, const QString& funcion);

} // namespace ado::tsql
