#pragma once
// The list lookup dialog: runs a statement, shows its rows under one search box per column,
// narrows by typing, searches the database again with F5, sorts by column titles, and hands
// back the chosen row's value (or the checked rows' values).

#include "lookup/DialogoConsulta.h"
#include "lookup/ModeloConsulta.h"
#include "suite/Moneda.h"

#include <QColor>
#include <QList>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ado {
class Recordset;
}

class Lib_FrmCons3 : public DialogoConsulta {
    Q_OBJECT
public:
    explicit Lib_FrmCons3(QWidget* parent = nullptr);
    ~Lib_FrmCons3() override;

    // ---- Set by the engine (besides DialogoConsulta's) ---------------------------------
    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    QString FiltroInicial;
    bool OrdenarPorLwv = false;
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
    QPushButton* CmdNuevo = nullptr;
    QPushButton* CmdTodos = nullptr;
    QList<QLineEdit*> CmbSearch;
    QTableView* ListView1 = nullptr;
    ModeloConsulta* modelo() const { return modelo_; }

    using DialogoConsulta::SqlBase;
    using DialogoConsulta::SqlCola;
    using DialogoConsulta::SqlInicial;
    QString TablaFrom;
    int BusquedaActual = 0;
    bool EsArticulos = false;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

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
    void Aceptar() override;
    void NuevaBusqueda() override;
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
    int limite_ = 0;            // the statement's TOP; 0 for none
};
