#pragma once
// The list lookup's rows: fetched once, sorted in place, with their check marks and colours.

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <vector>

// The fetched rows, in the list's current order, with their check marks.
class ModeloConsulta : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reiniciar(const QStringList& titulos, bool marcas);
    // Rows are added while the model is reset (between comenzar and terminar).
    void comenzar() { beginResetModel(); }
    // color: the row's fore colour (article stock levels); invalid for none.
    void agregarFila(std::vector<QString>&& celdas, bool marcada, QColor color = {});
    void terminar() { endResetModel(); }
    void vaciar();

    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : int(orden_.size()); }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : int(titulos_.size()); }
    QVariant data(const QModelIndex& i, int rol) const override;
    bool setData(const QModelIndex& i, const QVariant& v, int rol) override;
    Qt::ItemFlags flags(const QModelIndex& i) const override;
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;
    void sort(int columna, Qt::SortOrder orden) override;

    const QString& celda(int fila, int columna) const { return celdas_[orden_[size_t(fila)] * titulos_.size() + size_t(columna)]; }
    void fijarCelda(int fila, int columna, const QString& texto);
    QColor color(int fila) const;
    bool marcada(int fila) const { return marcas_[orden_[size_t(fila)]] != 0; }
    void marcar(int fila, bool si);
    bool conMarcas() const { return conMarcas_; }
    const QStringList& titulos() const { return titulos_; }

private:
    QStringList titulos_;
    std::vector<QString> celdas_;  // row-major, in the order read
    std::vector<char> marcas_;
    std::vector<QRgb> colores_;    // per row read; 0 (transparent) for none
    std::vector<size_t> orden_;    // list position -> row read
    bool conMarcas_ = false;
};
