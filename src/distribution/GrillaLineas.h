#pragma once
// The editor's percentage lines: the grid, its edit box and the total, with the keys that
// move and edit in it and the validation of a cell and of every line.

#include "suite/Moneda.h"

#include <QString>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;
class frmProrrata;

class GrillaLineas {
public:
    explicit GrillaLineas(frmProrrata& form) : f(form) {}

    static bool ColEdit(int columna, int fila) { (void)fila; return columna == 1 || columna == 3; }

    // Page 0 of the form: the grid, its edit box, the amount to split and the total.
    QWidget* construirPaginaLineas();

    void MsFlex_Inicializa();
    void TextPropiedades(int columna);
    void MsflexGridEdt(int caracter);
    void EditKeyCode(int tecla);
    void MsflexKey(int tecla);
    bool teclaDeGrilla(QKeyEvent* k);
    bool teclaDeEdicion(QKeyEvent* k);

    // The cell edit under validation: a cost centre, a percentage.
    void validarCentro(QLineEdit* editor, const QString& texto);
    void validarPorcentaje(QLineEdit* editor, const QString& texto);
    // Every line again, as it will be saved; the total against 100 %.
    bool validarLineas();
    bool ValidarPorcentajes();
    suite::Moneda totalLineas() const;
    void actualizarTotal();

    // The open cell edit, validated and written into its cell; false (edit kept open, the
    // message shown) when it does not pass.
    bool confirmarEdicion();
    void revisarEdicionAbandonada();
    void abrirEdicion(int fila, int columna);
    void ocultarEdicion();
    bool edicionAbierta() const;
    // The cell under the edit box, or none (-1).
    int filaEdicion() const { return filaEdit_; }
    int columnaEdicion() const { return columnaEdit_; }
    void olvidarEdicion() { filaEdit_ = columnaEdit_ = -1; }

    int filaActual() const;
    int columnaActual() const;
    void irA(int fila, int columna);
    QString celda(int fila, int columna) const;
    void fijarCelda(int fila, int columna, const QString& texto);

    QTableWidget* MsFlexGrid1 = nullptr;
    QLineEdit* txtEdit = nullptr;
    QLabel* lblPorc = nullptr;

private:
    bool errorEnCelda(int fila, int columna, const QString& mensaje);
    void borrarCelda();
    void volverAEdicion();
    void desplazarSiHaceFalta();

    frmProrrata& f;
    int filaEdit_ = -1; // the cell under the edit box
    int columnaEdit_ = -1;
    bool confirmando_ = false;
    bool volviendo_ = false;
    bool volviendoPendiente_ = false;
};
