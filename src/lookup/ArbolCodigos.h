#pragma once
// The nodes of the tree lookup: a root ("Consulta...") and one node per row, in the order
// added, each hanging under the node of its parent code. Codes are found through a hash of
// their keys (letter case ignored), so a chart of any size builds in one pass.

#include <QHash>
#include <QString>
#include <vector>

class ArbolCodigos {
public:
    struct Nodo {
        QString codigo;      // the key without its leading "A"; empty for the root
        QString texto;       // code & " - " & description
        QString codigoBusq;  // text before the first "-", trimmed and case-folded
        QString descBusq;    // text after it, trimmed and case-folded
        int padre = -1;
        int fila = 0;        // position among its parent's children
        int nivel = 0;       // 0 for the root
        bool marcado = false;
        std::vector<int> hijos;
    };

    enum class Alta { Agregado, Repetido, SinPadre };

    // Niveles below a checked node that take its mark.
    static constexpr int NivelesMarcados = 6;

    ArbolCodigos() { vaciar(); }

    // Only the root remains.
    void vaciar();

    // Under the node whose code is the longest prefix of this one (the root when none).
    Alta agregarPorPrefijo(const QString& codigo, const QString& descripcion);
    // Under the node with code `padre`; null (or empty) hangs it under the root.
    Alta agregarBajo(const QString& codigo, const QString& descripcion, const QString& padre);

    // The first node, in the order added, whose code or description starts with `texto`
    // (letter case ignored); the root is matched only by an empty text. -1 when none.
    int buscar(const QString& texto) const;

    // Sets the node's mark and, level by level, that of its descendants down to
    // NivelesMarcados levels below it. Returns the nodes whose mark was set.
    std::vector<int> marcar(int nodo, bool si);

    int cantidad() const { return int(nodos_.size()); }
    const Nodo& nodo(int i) const { return nodos_[size_t(i)]; }
    int buscarCodigo(const QString& codigo) const { return indice_.value(clave(codigo), -1); }

private:
    static QString clave(const QString& codigo) { return codigo.toCaseFolded(); }
    int agregar(const QString& codigo, const QString& descripcion, int padre);

    std::vector<Nodo> nodos_;
    QHash<QString, int> indice_; // folded code -> node; "" is the root
};
