#pragma once
// The tree lookup dialog: the rows of a statement as a tree of codes (or the suite's family
// tree), searched by typing, filtered with F5, one node chosen or several checked; the chosen
// code comes back after it is checked against the table it belongs to.

#include "lookup/ArbolCodigos.h"
#include "lookup/DialogoConsulta.h"

#include <QAbstractItemModel>

class QLineEdit;
class QTreeView;

// The nodes of an ArbolCodigos for a tree view; checking a node checks its descendants.
class ModeloArbol : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ModeloArbol(QObject* parent = nullptr) : QAbstractItemModel(parent) {}

    ArbolCodigos& arbol() { return arbol_; }
    const ArbolCodigos& arbol() const { return arbol_; }
    // Nodes are added between comenzar and terminar.
    void comenzar() { beginResetModel(); }
    void terminar() { endResetModel(); }
    void vaciar();
    void fijarMarcas(bool si);
    bool conMarcas() const { return marcas_; }

    QModelIndex indiceDe(int nodo) const;
    static int nodoDe(const QModelIndex& i) { return i.isValid() ? int(i.internalId()) : -1; }
    void marcar(int nodo, bool si);

    QModelIndex index(int fila, int columna, const QModelIndex& padre = {}) const override;
    QModelIndex parent(const QModelIndex& hijo) const override;
    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    bool hasChildren(const QModelIndex& padre = {}) const override { return rowCount(padre) > 0; }
    QVariant data(const QModelIndex& i, int rol) const override;
    bool setData(const QModelIndex& i, const QVariant& v, int rol) override;
    Qt::ItemFlags flags(const QModelIndex& i) const override;

private:
    ArbolCodigos arbol_;
    bool marcas_ = false;
};

class Lib_FrmCons3Tree : public DialogoConsulta {
    Q_OBJECT
public:
    explicit Lib_FrmCons3Tree(QWidget* parent = nullptr);
    ~Lib_FrmCons3Tree() override;

    // CampoDevuelto is "CODIGO", "IDFAMILIA" or "IDPOSICION".

    // The load sequence (again after each F5 filter).
    void Cargar();
    void ArmarTreeVFamilias();
    void ArmarTreeVAutomatico();

    // The statement of the family tree.
    static QString SentenciaFamilias();
    // The statement an F5 filter with this text makes of `sql`; base and cola receive the
    // parts of `sql` before and from its ORDER BY.
    static QString SentenciaFiltrada(const QString& sql, const QString& texto, QString* base = nullptr,
                                     QString* cola = nullptr);

    // Controls, named as the form names them.
    QTreeView* TreeV = nullptr;
    QLineEdit* CmbSearch = nullptr;
    ModeloArbol* modelo() const { return modelo_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    enum class Armado { PorPrefijo, Familias };
    void armar(Armado como);
    void buscarIncremental();
    void nuevoFiltro();
    void Aceptar() override;
    void seleccionar(int nodo);
    void NuevaBusqueda() override;
    void mostrarEstado();

    ModeloArbol* modelo_ = nullptr;
};
