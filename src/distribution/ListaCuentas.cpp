#include "distribution/ListaCuentas.h"

#include <algorithm>

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

void ListaCuentas::ordenar(int columna, bool ascendente)
{
    auto campo = [&](const Fila& f) {
        return columna == 0 ? QStringView(texto_).mid(f.inicio, f.largoCodigo)
                            : QStringView(texto_).mid(f.inicio + f.largoCodigo, f.largoDescripcion);
    };
    std::stable_sort(filas_.begin(), filas_.end(), [&](const Fila& a, const Fila& b) {
        return ascendente ? campo(a) < campo(b) : campo(b) < campo(a);
    });
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
