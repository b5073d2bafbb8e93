#pragma once
// The accounts assigned to the open table, as the account page lists them: code and
// description, held once for the view (a table may have 100,000 of them).

#include "distribution/ListaCuentas.h"

#include <QAbstractTableModel>
#include <QString>
#include <utility>
#include <vector>

class ModeloCuentas : public QAbstractTableModel {
    Q_OBJECT
public:
    using Cuenta = std::pair<QString, QString>; // code and description

    explicit ModeloCuentas(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& indice, int rol) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;
    // A stable sort, so that a second click keeps ties in their order.
    void sort(int columna, Qt::SortOrder orden) override;

    void fijar(ListaCuentas cuentas);
    void agregar(const std::vector<Cuenta>& cuentas);
    void quitar(int fila);
    Cuenta cuenta(int fila) const { return {cuentas_.codigo(fila), cuentas_.descripcion(fila)}; }

private:
    ListaCuentas cuentas_;
};
