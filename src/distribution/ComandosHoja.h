#pragma once
// The editor's commands on a whole table: the split preview of an amount, a copy of the open
// table, the tables to and from a CSV sheet.

class frmProrrata;

class ComandosHoja {
public:
    explicit ComandosHoja(frmProrrata& form) : f(form) {}

    void ActualizarReparto();
    // Enter in the amount: written in the currency format, and back to the lines.
    void confirmarImporte();
    void Copiar();
    void Exportar();
    void Importar();

private:
    frmProrrata& f;
};
