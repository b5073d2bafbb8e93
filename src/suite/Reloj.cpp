#include "suite/Reloj.h"

namespace suite {

namespace {
std::function<QDateTime()>& reloj()
{
    static std::function<QDateTime()> r;
    return r;
}
} // namespace

QDateTime Ahora() { return reloj() ? reloj()() : QDateTime::currentDateTime(); }

void FijarReloj(std::function<QDateTime()> r) { reloj() = std::move(r); }

} // namespace suite
