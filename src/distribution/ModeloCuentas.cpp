#include "distribution/ModeloCuentas.h"

#include <algorithm>

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
    const Cuenta& c = cuentas_[size_t(indice.row())];
    return indice.column() == 0 ? c.first : c.second;
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
    auto campo = [columna](const Cuenta& c) -> const QString& { return columna == 0 ? c.first : c.second; };
    std::stable_sort(cuentas_.begin(), cuentas_.end(), [&](const Cuenta& a, const Cuenta& b) {
        return orden == Qt::AscendingOrder ? campo(a) < campo(b) : campo(b) < campo(a);
    });
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ModeloCuentas::fijar(std::vector<Cuenta> cuentas)
{
    beginResetModel();
    cuentas_ = std::move(cuentas);
    endResetModel();
}

void ModeloCuentas::agregar(std::vector<Cuenta> cuentas)
{
    if (cuentas.empty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + int(cuentas.size()) - 1);
    std::move(cuentas.begin(), cuentas.end(), std::back_inserter(cuentas_));
    endInsertRows();
}

void ModeloCuentas::quitar(int fila)
{
    if (fila < 0 || fila >= rowCount())
        return;
    beginRemoveRows({}, fila, fila);
    cuentas_.erase(cuentas_.begin() + fila);
    endRemoveRows();
}
