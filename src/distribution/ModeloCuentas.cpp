#include "distribution/ModeloCuentas.h"

ModeloCuentas::ModeloCuentas(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int ModeloCuentas::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(cuentas_.size()); }

int ModeloCuentas::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant ModeloCuentas::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || (rol != Qt::DisplayRole && rol != Qt::EditRole) || indice.row() >= rowCount())
        return {};
    return indice.column() == 0 ? cuentas_.codigo(indice.row()) : cuentas_.descripcion(indice.row());
}

QVariant ModeloCuentas::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole)
        return {};
    return seccion == 0 ? QStringLiteral("Cuenta") : QStringLiteral("Descripción");
}

void ModeloCuentas::sort(int columna, Qt::SortOrder orden)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<qsizetype> nuevoLugar = cuentas_.ordenar(columna, orden == Qt::AscendingOrder);
    // The current and selected accounts stay the same accounts in their new places.
    const QModelIndexList antes = persistentIndexList();
    QModelIndexList despues;
    despues.reserve(antes.size());
    for (const QModelIndex& i : antes)
        despues << index(int(nuevoLugar[size_t(i.row())]), i.column());
    changePersistentIndexList(antes, despues);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ModeloCuentas::fijar(ListaCuentas cuentas)
{
    beginResetModel();
    cuentas_ = std::move(cuentas);
    endResetModel();
}

void ModeloCuentas::agregar(const std::vector<Cuenta>& cuentas)
{
    if (cuentas.empty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + int(cuentas.size()) - 1);
    for (const Cuenta& c : cuentas)
        cuentas_.agregar(c.first, c.second);
    endInsertRows();
}

void ModeloCuentas::quitar(int fila)
{
    if (fila < 0 || fila >= rowCount())
        return;
    beginRemoveRows({}, fila, fila);
    cuentas_.quitar(fila);
    endRemoveRows();
}
