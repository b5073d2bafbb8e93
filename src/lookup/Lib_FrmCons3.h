#pragma once
// The list lookup dialog: runs a statement, shows its rows under one search box per column,
// narrows by typing, searches the database again with F5, sorts by column titles, and hands
// back the chosen row's value (or the checked rows' values).

#include "suite/Moneda.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace ado {
class Recordset;
}

// Twips (the suite's unit of form sizes and saved widths) to pixels and back, on the
// screen's horizontal resolution.
int TwipsAPixeles(double twips);
double PixelesATwips(int pixeles);

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

class Lib_FrmCons3 : public QDialog {
    Q_OBJECT
public:
    explicit Lib_FrmCons3(QWidget* parent = nullptr);
    ~Lib_FrmCons3() override;

    // ---- Set by the engine; results read after the dialog hides -------------------------
    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    QString Sql;
    QString CampoDevuelto;
    const QStringList* CmpsDevueltos = nullptr;
    bool CheckBoxes = false;
    QVariant ValorDevuelto;
    QString FiltroInicial;
    bool OrdenarPorLwv = false;
    std::optional<QStringList> Valores;
    std::optional<QStringList> Cantidades;
    bool UsaCantidades = false;
    QString ValoresDefault;
    bool CfgUsaConsultaLIKE = false;

    // The load sequence (also run again by F5, "&Nueva Busqueda" and date sorting).
    void Cargar();
    bool Cargado() const { return cargado_; }

    void Encolumnar(ado::Recordset& rs);
    void Leer(ado::Recordset& rs);
    void CalcularAncho();
    void OrdenarPorFecha(const QString& Cual);
    // The first row (1-based) whose cell in column Clave starts with QueValor; 0 when none.
    int Busqueda(int Clave, const QString& QueValor) const;
    // 1-based position of the column titled Columna; 0 when none.
    int IndiceColumna(const QString& Columna) const;

    // ---- Extras for the suite's tables ----------------------------------------------------
    // Stock level of an article (1 to 4) from its reorder point and its stock on hand.
    static int NivelStock(suite::Moneda puntoPedido, suite::Moneda stock);
    // A configured colour (decimal or &H hexadecimal, red in the low byte); invalid when
    // blank or not a number.
    static QColor ColorConfigurado(const QVariant& valor);
    // The program that maintains a looked-up table, and its additional parameter.
    struct Mantenimiento {
        QString programa;
        QString parametro;
    };
    static Mantenimiento ProgramaMantenimiento(const QString& tabla);
    // How "N&uevo" starts that program: the start-up's program launcher.
    std::function<void(const QString& programa, const QString& parametro, qint64& PID)> Lanzador;
    // The shortage of the selected article in V_MV_FALTANTES (F12), after asking.
    void InformarFaltante();
    // The quantity keys (Insert, Delete, Shift+Insert) on the selected row.
    void TeclaCantidad(int tecla, Qt::KeyboardModifiers modificadores);
    static QString TituloCantidad() { return QStringLiteral("**Cantidad**"); }

    // The option lists fill the list themselves.
    void PrepararLista(const QString& titulo, bool marcas);
    void AgregarOpcion(const QString& texto, bool marcada);

    // Controls, named as the form names them.
    QLabel* Label1 = nullptr;
    QLabel* lblEstado = nullptr;  // under the title: filters in force, a cut list, no match
    QPushButton* CmdNuevo = nullptr;
    QPushButton* CmdTodos = nullptr;
    QWidget* picFields = nullptr;
    QList<QLineEdit*> CmbSearch;
    QTableView* ListView1 = nullptr;
    QWidget* Frame1 = nullptr;
    QPushButton* CmdAceptar = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* CmdNueva = nullptr;
    ModeloConsulta* modelo() const { return modelo_; }

    QString SqlInicial, SqlBase, SqlCola, TablaFrom;
    int BusquedaActual = 0;
    bool EsArticulos = false;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void reject() override { Cancelar(); } // Escape and the close box cancel

private:
    void construir();
    QLineEdit* cajaDeBusqueda(int i);
    void ubicarCajas();
    void aplicarReglas();
    void buscarIncremental(int caja);
    void nuevaBusqueda(int caja);
    void aplicarAnchosGuardados();
    void cargarEnOrdenFecha();
    void mostrarEstado();
    void clicEnTitulo(int columna);
    void Aceptar();
    void Cancelar();
    void NuevaBusqueda();
    void Marcar();
    QString valorDeFila(int fila, const QString& titulo) const;
    bool teclaDeLista(QKeyEvent* k);

    ModeloConsulta* modelo_ = nullptr;
    QStringList nombresCampo_;  // the field name behind each column
    QList<int> anchos_;         // column widths in pixels after Encolumnar
    bool cargado_ = false;
    int columnaOrden_ = 0;
    Qt::SortOrder direccion_ = Qt::AscendingOrder;
    bool ordenPropio_ = false;  // the list sorts itself
    QString ordenFecha_;        // " order by" a date column, asked of the database
    QStringList filtros_;       // the F5 conditions in force, as the user wrote them
    int limite_ = 0;            // the statement's TOP; 0 for none
    QString sinCoincidencia_;   // typed text no row starts with
};
