#include "distribution/ListaCuentas.h"

#include <algorithm>
#include <numeric>

void ListaCuentas::agregar(QStringView codigo, QStringView descripcion)
{
    const qsizetype largo = codigo.size() + descripcion.size();
    if (bloques_.empty() || bloques_.back().capacity() - bloques_.back().size() < largo) {
        bloques_.emplace_back();
        bloques_.back().reserve(std::max(LargoBloque, largo));
    }
    QString& bloque = bloques_.back();
    const QChar* inicio = bloque.constData() + bloque.size();
    bloque.append(codigo);
    bloque.append(descripcion);
    filas_.push_back(Fila{inicio, int(codigo.size()), int(descripcion.size())});
}

void ListaCuentas::quitar(qsizetype fila)
{
    // The text stays in its block; it goes with the list.
    filas_.erase(filas_.begin() + fila);
}

std::vector<qsizetype> ListaCuentas::ordenar(int columna, bool ascendente)
{
    auto campo = [&](qsizetype fila) { return columna == 0 ? vistaCodigo(fila) : vistaDescripcion(fila); };
    std::vector<qsizetype> orden(filas_.size());
    std::iota(orden.begin(), orden.end(), qsizetype(0));
    std::stable_sort(orden.begin(), orden.end(), [&](qsizetype a, qsizetype b) {
        return ascendente ? campo(a) < campo(b) : campo(b) < campo(a);
    });
    std::vector<Fila> ordenadas;
    ordenadas.reserve(filas_.size());
    std::vector<qsizetype> nuevoLugar(filas_.size());
    for (size_t i = 0; i < orden.size(); ++i) {
        ordenadas.push_back(filas_[size_t(orden[i])]);
        nuevoLugar[size_t(orden[i])] = qsizetype(i);
    }
    filas_ = std::move(ordenadas);
    return nuevoLugar;
}

QStringView ListaCuentas::vistaCodigo(qsizetype fila) const
{
    const Fila& f = filas_[size_t(fila)];
    return QStringView(f.codigo, f.largoCodigo);
}

QStringView ListaCuentas::vistaDescripcion(qsizetype fila) const
{
    const Fila& f = filas_[size_t(fila)];
    return QStringView(f.codigo + f.largoCodigo, f.largoDescripcion);
}
