#pragma once
// The editor's review commands: the open table's history (a version restored as unsaved
// edits) and the consistency check of every table (a finding opens its table).

class QString;
class frmProrrata;
struct EstadoTabla;

class ComandosRevision {
public:
    explicit ComandosRevision(frmProrrata& form) : f(form) {}

    void Historial();
    // A table of the history in the form, as edits not saved; `descripcion` names it in the
    // history of the save.
    void Restaurar(const EstadoTabla& e, const QString& descripcion);
    void Verificar();
    // The table with that code opened as if typed in the code field (unsaved edits asked for).
    void AbrirTabla(const QString& codigo);

private:
    frmProrrata& f;
};
