#include "lookup/ModeloConsulta.h"

#include <algorithm>

void ModeloConsulta::reiniciar(const QStringList& titulos, bool marcas)
{
    beginResetModel();
    titulos_ = titulos;
    conMarcas_ = marcas;
    celdas_.clear();
    marcas_.clear();
    colores_.clear();
    orden_.clear();
    endResetModel();
}

void ModeloConsulta::agregarFila(std::vector<QString>&& celdas, bool marcada, QColor color)
{
    celdas.resize(size_t(titulos_.size()));
    for (QString& c : celdas)
        celdas_.push_back(std::move(c));
    orden_.push_back(marcas_.size());
    marcas_.push_back(marcada ? 1 : 0);
    colores_.push_back(color.isValid() ? color.rgb() : QRgb(0));
}

void ModeloConsulta::fijarCelda(int fila, int columna, const QString& texto)
{
    celdas_[orden_[size_t(fila)] * size_t(titulos_.size()) + size_t(columna)] = texto;
    const QModelIndex i = index(fila, columna);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole});
}

QColor ModeloConsulta::color(int fila) const
{
    const QRgb c = colores_[orden_[size_t(fila)]];
    return c == 0 ? QColor() : QColor::fromRgb(c);
}

void ModeloConsulta::vaciar() { reiniciar({}, conMarcas_); }

QVariant ModeloConsulta::data(const QModelIndex& i, int rol) const
{
    if (!i.isValid())
        return {};
    if (rol == Qt::DisplayRole)
        return celda(i.row(), i.column());
    if (rol == Qt::CheckStateRole && conMarcas_ && i.column() == 0)
        return marcada(i.row()) ? Qt::Checked : Qt::Unchecked;
    if (rol == Qt::ForegroundRole) {
        const QColor c = color(i.row());
        return c.isValid() ? QVariant(c) : QVariant();
    }
    return {};
}

bool ModeloConsulta::setData(const QModelIndex& i, const QVariant& v, int rol)
{
    if (!i.isValid() || rol != Qt::CheckStateRole || !conMarcas_ || i.column() != 0)
        return false;
    marcar(i.row(), v.toInt() == Qt::Checked);
    return true;
}

void ModeloConsulta::marcar(int fila, bool si)
{
    marcas_[orden_[size_t(fila)]] = si ? 1 : 0;
    const QModelIndex i = index(fila, 0);
    Q_EMIT dataChanged(i, i, {Qt::CheckStateRole});
}

Qt::ItemFlags ModeloConsulta::flags(const QModelIndex& i) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (conMarcas_ && i.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ModeloConsulta::headerData(int seccion, Qt::Orientation o, int rol) const
{
    if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion < titulos_.size())
        return titulos_[seccion];
    return {};
}

void ModeloConsulta::sort(int columna, Qt::SortOrder orden)
{
    if (columna < 0 || columna >= titulos_.size())
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<size_t> antes = orden_;
    const size_t n = size_t(titulos_.size());
    const size_t c = size_t(columna);
    std::stable_sort(orden_.begin(), orden_.end(), [&](size_t a, size_t b) {
        const int r = celdas_[a * n + c].compare(celdas_[b * n + c], Qt::CaseInsensitive);
        return orden == Qt::AscendingOrder ? r < 0 : r > 0;
    });
    // The current and selected rows (persistent indexes) follow their records.
    std::vector<int> posicion(orden_.size());
    for (size_t f = 0; f < orden_.size(); ++f)
        posicion[orden_[f]] = int(f);
    const QModelIndexList viejos = persistentIndexList();
    QModelIndexList nuevos;
    nuevos.reserve(viejos.size());
    for (const QModelIndex& i : viejos)
        nuevos << (i.isValid() && size_t(i.row()) < antes.size() ? index(posicion[antes[size_t(i.row())]], i.column()) : QModelIndex());
    changePersistentIndexList(viejos, nuevos);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
