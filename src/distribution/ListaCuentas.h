#pragma once
// The accounts assigned to a table, code and description, held compactly: their text in a few
// large blocks and a small record per account, so loading 100,000 of them allocates next to
// nothing per account, never moves text already stored, and frees at once.

#include <QString>
#include <QStringView>
#include <vector>

class ListaCuentas {
public:
    // Move-only: the rows point into the blocks, which a copy would share and then detach.
    ListaCuentas() = default;
    ListaCuentas(ListaCuentas&&) noexcept = default;
    ListaCuentas& operator=(ListaCuentas&&) noexcept = default;
    ListaCuentas(const ListaCuentas&) = delete;
    ListaCuentas& operator=(const ListaCuentas&) = delete;

    void agregar(QStringView codigo, QStringView descripcion);
    void quitar(qsizetype fila);
    // A stable sort by code (columna 0) or description; gives each row's new place by its old one.
    std::vector<qsizetype> ordenar(int columna, bool ascendente);

    qsizetype size() const { return qsizetype(filas_.size()); }
    bool empty() const { return filas_.empty(); }
    QStringView vistaCodigo(qsizetype fila) const;
    QStringView vistaDescripcion(qsizetype fila) const;
    QString codigo(qsizetype fila) const { return vistaCodigo(fila).toString(); }
    QString descripcion(qsizetype fila) const { return vistaDescripcion(fila).toString(); }

private:
    struct Fila {
        const QChar* codigo; // in a block of bloques_, the description follows it
        int largoCodigo;
        int largoDescripcion;
    };
    static constexpr qsizetype LargoBloque = 32768; // characters
    std::vector<QString> bloques_; // each filled up to its capacity, never grown
    std::vector<Fila> filas_;
};
