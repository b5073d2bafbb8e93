#pragma once
// The program's clock; tests fix it.

#include <QDateTime>
#include <functional>

namespace suite {

QDateTime Ahora();
void FijarReloj(std::function<QDateTime()> reloj); // empty function: the system clock

} // namespace suite
