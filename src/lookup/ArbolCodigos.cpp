#include "lookup/ArbolCodigos.h"

void ArbolCodigos::vaciar()
{
    nodos_.clear();
    indice_.clear();
    Nodo raiz;
    raiz.texto = QStringLiteral("Consulta...");
    nodos_.push_back(std::move(raiz));
    indice_.insert(QString(), 0);
}

int ArbolCodigos::agregar(const QString& codigo, const QString& descripcion, int padre)
{
    Nodo n;
    n.codigo = codigo;
    n.texto = codigo + QStringLiteral(" - ") + descripcion;
    const qsizetype guion = n.texto.indexOf(u'-');
    n.codigoBusq = n.texto.left(guion).trimmed().toCaseFolded();
    n.descBusq = n.texto.mid(guion + 1).trimmed().toCaseFolded();
    n.padre = padre;
    Nodo& p = nodos_[size_t(padre)];
    n.fila = int(p.hijos.size());
    n.nivel = p.nivel + 1;
    const int i = int(nodos_.size());
    p.hijos.push_back(i);
    indice_.insert(clave(codigo), i);
    nodos_.push_back(std::move(n));
    return i;
}

ArbolCodigos::Alta ArbolCodigos::agregarPorPrefijo(const QString& codigo, const QString& descripcion)
{
    const QString k = clave(codigo);
    if (indice_.contains(k))
        return Alta::Repetido;
    // Every prefix of the code, longest first; the root (the empty prefix) always qualifies.
    int padre = 0;
    for (qsizetype largo = k.size() - 1; largo > 0; --largo) {
        const auto it = indice_.constFind(QStringView(k).left(largo).toString());
        if (it != indice_.cend()) {
            padre = it.value();
            break;
        }
    }
    agregar(codigo, descripcion, padre);
    return Alta::Agregado;
}

ArbolCodigos::Alta ArbolCodigos::agregarBajo(const QString& codigo, const QString& descripcion, const QString& padre)
{
    const QString k = clave(codigo);
    if (indice_.contains(k))
        return Alta::Repetido;
    const auto it = indice_.constFind(clave(padre));
    if (it == indice_.cend())
        return Alta::SinPadre;
    agregar(codigo, descripcion, it.value());
    return Alta::Agregado;
}

int ArbolCodigos::buscar(const QString& texto) const
{
    const QString t = texto.toCaseFolded();
    if (t.isEmpty())
        return 0;
    for (size_t i = 1; i < nodos_.size(); ++i)
        if (nodos_[i].codigoBusq.startsWith(t) || nodos_[i].descBusq.startsWith(t))
            return int(i);
    return -1;
}

std::vector<int> ArbolCodigos::marcar(int nodo, bool si)
{
    std::vector<int> cambiados{nodo};
    nodos_[size_t(nodo)].marcado = si;
    std::vector<int> nivel{nodo};
    for (int n = 0; n < NivelesMarcados && !nivel.empty(); ++n) {
        std::vector<int> siguiente;
        for (int p : nivel)
            for (int h : nodos_[size_t(p)].hijos) {
                nodos_[size_t(h)].marcado = si;
                cambiados.push_back(h);
                siguiente.push_back(h);
            }
        nivel = std::move(siguiente);
    }
    return cambiados;
}
