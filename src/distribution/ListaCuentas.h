#pragma once
// The accounts assigned to a table, code and description, held compactly: all their text in
// one buffer and a small record per account, so loading 100,000 of them allocates next to
// nothing per account and frees at once.

#include <QString>
#include <QStringView>
#include <vector>

class ListaCuentas {
public:
    void agregar(QStringView codigo, QStringView descripcion);
    void quitar(qsizetype fila);
    // A stable sort by code (columna 0) or description; gives each row's new place by its old one.
    std::vector<qsizetype> ordenar(int columna, bool ascendente);
    void reservar(qsizetype cuentas, qsizetype letras);

    qsizetype size() const { return qsizetype(filas_.size()); }
    bool empty() const { return filas_.empty(); }
    QStringView vistaCodigo(qsizetype fila) const;
    QStringView vistaDescripcion(qsizetype fila) const;
    QString codigo(qsizetype fila) const { return vistaCodigo(fila).toString(); }
    QString descripcion(qsizetype fila) const { return vistaDescripcion(fila).toString(); }

private:
    struct Fila {
        qsizetype inicio; // of the code in texto_, the description follows it
        int largoCodigo;
        int largoDescripcion;
    };
    QString texto_;
    std::vector<Fila> filas_;
};
