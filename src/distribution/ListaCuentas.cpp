#include "distribution/ListaCuentas.h"

#include <algorithm>
#include <numeric>

void ListaCuentas::agregar(QStringView codigo, QStringView descripcion)
{
    filas_.push_back(Fila{texto_.size(), int(codigo.size()), int(descripcion.size())});
    texto_.append(codigo);
    texto_.append(descripcion);
}

void ListaCuentas::quitar(qsizetype fila)
{
    // The text stays in the buffer; it goes with the list.
    filas_.erase(filas_.begin() + fila);
}

std::vector<qsizetype> ListaCuentas::ordenar(int columna, bool ascendente)
{
    auto campo = [&](qsizetype fila) {
        const Fila& f = filas_[size_t(fila)];
        return columna == 0 ? QStringView(texto_).mid(f.inicio, f.largoCodigo)
                            : QStringView(texto_).mid(f.inicio + f.largoCodigo, f.largoDescripcion);
    };
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

void ListaCuentas::reservar(qsizetype cuentas, qsizetype letras)
{
    filas_.reserve(size_t(cuentas));
    texto_.reserve(letras);
}

QStringView ListaCuentas::vistaCodigo(qsizetype fila) const
{
    const Fila& f = filas_[size_t(fila)];
    return QStringView(texto_).mid(f.inicio, f.largoCodigo);
}

QStringView ListaCuentas::vistaDescripcion(qsizetype fila) const
{
    const Fila& f = filas_[size_t(fila)];
    return QStringView(texto_).mid(f.inicio + f.largoCodigo, f.largoDescripcion);
}
