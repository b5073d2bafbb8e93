#include "distribution/Reparto.h"

#include <algorithm>
#include <numeric>

namespace {

// 100 % in currency units (a percentage has four decimals).
constexpr int64_t Cien = 100 * suite::Moneda::Escala;

struct Division {
    int64_t cociente;
    int64_t resto;
};

// a * p / Cien for a >= 0 and 0 <= p <= Cien, without overflow: a is split at Cien first.
Division partePorcentual(int64_t a, int64_t p)
{
    const int64_t alto = a / Cien, bajo = a % Cien;
    const int64_t producto = bajo * p; // below Cien * Cien
    return {alto * p + producto / Cien, producto % Cien};
}

} // namespace

std::optional<Reparto> RepartirImporte(suite::Moneda importe, const std::vector<suite::Moneda>& porcentajes, int decimales)
{
    decimales = std::clamp(decimales, 0, suite::Moneda::Decimales);
    int64_t centavo = 1; // currency units per cent
    for (int i = decimales; i < suite::Moneda::Decimales; ++i)
        centavo *= 10;

    int64_t suma = 0;
    for (const suite::Moneda& p : porcentajes) {
        if (p.unidades() < 0)
            return std::nullopt;
        suma += p.unidades();
        if (suma > Cien)
            return std::nullopt;
    }

    const int64_t enCentavos = importe.redondear(decimales).unidades() / centavo;
    const int64_t signo = enCentavos < 0 ? -1 : 1;
    const int64_t a = enCentavos < 0 ? -enCentavos : enCentavos;

    // The cents the percentages hand out in all, rounded half up; the rest stays undistributed.
    const Division total = partePorcentual(a, suma);
    const int64_t repartido = total.cociente + (2 * total.resto >= Cien ? 1 : 0);

    std::vector<Division> partes;
    partes.reserve(porcentajes.size());
    int64_t faltan = repartido;
    for (const suite::Moneda& p : porcentajes) {
        partes.push_back(partePorcentual(a, p.unidades()));
        faltan -= partes.back().cociente;
    }
    std::vector<size_t> orden(partes.size());
    std::iota(orden.begin(), orden.end(), size_t(0));
    std::stable_sort(orden.begin(), orden.end(), [&](size_t x, size_t y) { return partes[x].resto > partes[y].resto; });
    for (size_t k = 0; k < orden.size() && faltan > 0; ++k, --faltan)
        ++partes[orden[k]].cociente;

    Reparto r;
    r.importes.reserve(partes.size());
    for (const Division& d : partes)
        r.importes.push_back(suite::Moneda::desdeUnidades(signo * d.cociente * centavo));
    r.sinDistribuir = suite::Moneda::desdeUnidades(signo * (a - repartido) * centavo);
    return r;
}
