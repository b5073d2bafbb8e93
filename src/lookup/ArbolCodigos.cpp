#include "lookup/ArbolCodigos.h"

#include <QHashFunctions>
#include <algorithm>

namespace {

bool empiezaCon(QStringView texto, QStringView prefijo)
{
    return texto.size() >= prefijo.size()
        && std::equal(prefijo.begin(), prefijo.end(), texto.begin());
}

} // namespace

void ArbolCodigos::vaciar()
{
    nodos_.clear();
    claves_.clear();
    plegados_.clear();
    tabla_.assign(64, -1);
    nodos_.emplace_back();
    claves_.emplace_back();
    indexar(0); // the empty code is the root's
}

void ArbolCodigos::reservar(int nodos)
{
    nodos_.reserve(size_t(nodos) + 1);
    claves_.reserve(size_t(nodos) + 1);
    plegados_.reserve(size_t(nodos) * 24);
    size_t capacidad = tabla_.size();
    while (capacidad < 2 * (size_t(nodos) + 1))
        capacidad *= 2;
    if (capacidad != tabla_.size()) {
        tabla_.assign(capacidad, -1);
        for (int i = 0; i < int(nodos_.size()); ++i)
            indexar(i);
    }
}

ArbolCodigos::Tramo ArbolCodigos::plegar(QStringView texto)
{
    texto = texto.trimmed();
    Tramo t{uint32_t(plegados_.size()), uint32_t(texto.size())};
    for (QChar c : texto)
        plegados_.push_back(c.toCaseFolded().unicode());
    return t;
}

int ArbolCodigos::hallar(QStringView clave) const
{
    const size_t mascara = tabla_.size() - 1;
    for (size_t i = qHash(clave) & mascara;; i = (i + 1) & mascara) {
        const int n = tabla_[i];
        if (n < 0 || vista(claves_[size_t(n)].clave) == clave)
            return n;
    }
}

void ArbolCodigos::indexar(int nodo)
{
    const size_t mascara = tabla_.size() - 1;
    size_t i = qHash(vista(claves_[size_t(nodo)].clave)) & mascara;
    while (tabla_[i] >= 0)
        i = (i + 1) & mascara;
    tabla_[i] = nodo;
}

void ArbolCodigos::agregar(const QString& codigo, const QString& descripcion, int padre, Tramo clave)
{
    const int i = int(nodos_.size());
    Nodo n;
    n.codigo = codigo;
    n.descripcion = descripcion;
    n.padre = padre;
    Nodo& p = nodos_[size_t(padre)];
    n.fila = int(p.hijos.size());
    n.nivel = p.nivel + 1;
    p.hijos.push_back(i);

    // The text "code - description" split at its first "-".
    Claves k{clave, clave, {}};
    const qsizetype guion = codigo.indexOf(u'-');
    if (guion < 0) {
        if (codigo.size() != qsizetype(clave.largo)) // blanks around the code
            k.codigo = plegar(codigo);
        k.descripcion = plegar(descripcion);
    } else {
        k.codigo = plegar(QStringView(codigo).left(guion));
        k.descripcion = plegar(codigo.mid(guion + 1) + QStringLiteral(" - ") + descripcion);
    }
    nodos_.push_back(std::move(n));
    claves_.push_back(k);

    if (2 * nodos_.size() > tabla_.size()) {
        tabla_.assign(tabla_.size() * 2, -1);
        for (int j = 0; j < i; ++j)
            indexar(j);
    }
    indexar(i);
}

ArbolCodigos::Alta ArbolCodigos::agregarPorPrefijo(const QString& codigo, const QString& descripcion)
{
    const Tramo clave = plegar(codigo);
    const QStringView k = vista(clave);
    if (hallar(k) >= 0) {
        plegados_.resize(clave.desde);
        return Alta::Repetido;
    }
    // Every prefix of the code, longest first; the root (the empty prefix) always qualifies.
    int padre = 0;
    for (qsizetype largo = k.size() - 1; largo > 0; --largo) {
        const int n = hallar(k.left(largo));
        if (n >= 0) {
            padre = n;
            break;
        }
    }
    agregar(codigo, descripcion, padre, clave);
    return Alta::Agregado;
}

ArbolCodigos::Alta ArbolCodigos::agregarBajo(const QString& codigo, const QString& descripcion, const QString& padre)
{
    const int p = buscarCodigo(padre);
    const Tramo clave = plegar(codigo);
    if (hallar(vista(clave)) >= 0) {
        plegados_.resize(clave.desde);
        return Alta::Repetido;
    }
    if (p < 0) {
        plegados_.resize(clave.desde);
        return Alta::SinPadre;
    }
    agregar(codigo, descripcion, p, clave);
    return Alta::Agregado;
}

int ArbolCodigos::buscarCodigo(const QString& codigo) const
{
    QString k = codigo.trimmed().toCaseFolded();
    return hallar(k);
}

QString ArbolCodigos::texto(int i) const
{
    if (i == 0)
        return QStringLiteral("Consulta...");
    const Nodo& n = nodos_[size_t(i)];
    return n.codigo + QStringLiteral(" - ") + n.descripcion;
}

int ArbolCodigos::buscar(const QString& texto) const
{
    const QString t = texto.toCaseFolded();
    if (t.isEmpty())
        return 0;
    const QStringView p(t);
    for (size_t i = 1; i < claves_.size(); ++i)
        if (empiezaCon(vista(claves_[i].codigo), p) || empiezaCon(vista(claves_[i].descripcion), p))
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
