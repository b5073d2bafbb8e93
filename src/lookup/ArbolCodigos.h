#pragma once
// The nodes of the tree lookup: a root ("Consulta...") and one node per row, in the order
// added, each hanging under the node of its parent code. Codes are found through a hash of
// their keys (letter case ignored), so a chart of any size builds in one pass; the texts the
// search compares are kept case-folded side by side, so a search reads them in one sweep.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

class ArbolCodigos {
public:
    struct Nodo {
        QString codigo;      // the key without its leading "A"; empty for the root
        QString descripcion;
        int padre = -1;
        int fila = 0;        // position among its parent's children
        int nivel = 0;       // 0 for the root
        bool marcado = false;
        std::vector<int> hijos;
    };

    enum class Alta { Agregado, Repetido, SinPadre };

    // Levels below a checked node that take its mark.
    static constexpr int NivelesMarcados = 6;

    ArbolCodigos() { vaciar(); }

    // Only the root remains.
    void vaciar();
    // Room for this many nodes, to build without growing.
    void reservar(int nodos);

    // Under the node whose code is the longest prefix of this one (the root when none).
    Alta agregarPorPrefijo(const QString& codigo, const QString& descripcion);
    // Under the node with code `padre`; an empty one hangs it under the root.
    Alta agregarBajo(const QString& codigo, const QString& descripcion, const QString& padre);

    // The first node, in the order added, whose code or description starts with `texto`
    // (letter case ignored; code and description are the node's text split at its first
    // "-", trimmed); the root is matched only by an empty text. -1 when none.
    int buscar(const QString& texto) const;

    // Sets the node's mark and, level by level, that of its descendants down to
    // NivelesMarcados levels below it. Returns the nodes whose mark was set.
    std::vector<int> marcar(int nodo, bool si);

    int cantidad() const { return int(nodos_.size()); }
    const Nodo& nodo(int i) const { return nodos_[size_t(i)]; }
    // Code & " - " & description; "Consulta..." for the root.
    QString texto(int i) const;
    // The node with this code (letter case ignored); -1 when none.
    int buscarCodigo(const QString& codigo) const;

private:
    struct Tramo {
        uint32_t desde = 0;
        uint32_t largo = 0;
    };
    struct Claves {
        Tramo clave;   // the folded code: the hash's key
        Tramo codigo;  // what the search compares
        Tramo descripcion;
    };
    Tramo plegar(QStringView texto);
    QStringView vista(Tramo t) const { return QStringView(plegados_.data() + t.desde, qsizetype(t.largo)); }
    int hallar(QStringView clave) const;
    void indexar(int nodo);
    void agregar(const QString& codigo, const QString& descripcion, int padre, Tramo clave);

    std::vector<Nodo> nodos_;
    std::vector<Claves> claves_;    // per node
    std::vector<char16_t> plegados_; // folded texts of every node, one after another
    std::vector<int> tabla_;         // open addressing: node per slot, -1 empty
};
