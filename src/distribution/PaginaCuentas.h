#pragma once
// The editor's accounts page: the accounts assigned to the open table, added one by one or
// several at once, removed, sorted by a column; entered only once the table is saved.

#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeView;
class QWidget;
class ModeloCuentas;
class frmProrrata;

class PaginaCuentas {
public:
    explicit PaginaCuentas(frmProrrata& form) : f(form) {}

    // Page 1 of the form, with its account field (the form's txtFields[3]).
    QWidget* construirPaginaCuentas();

    void Agregar();
    void AgregarVarias(const QStringList& cuentas);
    void Quitar();
    // The tabs: leaving the lines for the accounts saves the table first (when the user says so).
    void cambioDePagina(int pagina);
    // A click on a heading sorts by that column; a second click on it reverses the order.
    void ordenarPor(int columna);
    void olvidarOrden() { ordenColumna_ = -1; }

    QLabel* lblCuenta = nullptr;
    QPushButton* cmdAgregar = nullptr;
    QPushButton* cmdQuitar = nullptr;
    QCheckBox* chkMultiple = nullptr;
    QTreeView* ListView1 = nullptr;
    ModeloCuentas* mdlCuentas = nullptr;

private:
    frmProrrata& f;
    int ordenColumna_ = -1;
    bool ordenAscendente_ = true;
};
