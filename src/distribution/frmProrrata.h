#pragma once
// The program's working window: a distribution table of cost centres (code, name, concept,
// percentage lines) and the accounts assigned to it, driven by the command bar UtilVela1.

#include "distribution/AlmacenDistribucion.h"
#include "distribution/ModeloCuentas.h"
#include "suite/Moneda.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTreeView;
class UtilVela;

// What the form asks of the lookup engine; the answer is the chosen values (one for a
// single choice), or nothing when the user cancelled.
struct ConsultaPedida {
    QString sql;        // statement or lookup name
    QString where;
    bool arbol = false; // the tree dialog
    bool multiple = false;
};
using Buscador = std::function<std::optional<QStringList>(const ConsultaPedida&)>;

class frmProrrata : public QWidget {
    Q_OBJECT
public:
    static inline const QString Titulo = QStringLiteral("Distribución y Asignación de Centros de Costos");
    static constexpr int LineasGrilla = 50;
    // The form's stored control properties, beside the program.
    static constexpr char ArchivoPropiedades[] = "frmProrrata.propiedades";
    static constexpr int ColImporte = 4; // the split preview's column, shown while an amount is typed

    explicit frmProrrata(QWidget* parent = nullptr);

    // The load event: start-up from the command line, then the form made ready.
    void Form_Load(const QString& lineaComandos);

    // The command cycle (the bar's click event), and the form's routines.
    void Comando(QString texto);
    void Limpiar();
    void ModoEdicion(bool editando);
    void ValidarCampo(QWidget* control);
    bool ValidarTodo();
    bool ValidarPorcentajes();
    void Consultar();
    void Cargar();
    void Grabar();
    AlmacenDistribucion::Borrado Borrar();
    void Imprimir();
    // The heading formulas Imprimir hands to the report printer (company name, address,
    // town and title).
    static QStringList FormulasReporte();

    // Grid editing.
    void MsFlex_Inicializa();
    void TextPropiedades(int columna);
    static bool ColEdit(int columna, int fila) { (void)fila; return columna == 1 || columna == 3; }
    void MsflexGridEdt(int caracter);
    void EditKeyCode(int tecla);
    void MsflexKey(int tecla);

    // Beyond the suite's commands: the split preview of an amount, a copy of the open table,
    // the tables to and from a CSV sheet.
    void ActualizarReparto();
    void Copiar();
    void Exportar();
    void Importar();

    // Account page.
    void Agregar();
    void AgregarVarias(const QStringList& cuentas);
    void Quitar();

    // The look-up of "CONSULTAR"; without one the command opens nothing.
    void FijarBuscador(Buscador b) { buscador_ = std::move(b); }

    // Controls, named as the form names them.
    UtilVela* UtilVela1 = nullptr;
    QList<QLineEdit*> txtFields; // 0 Codigo, 1 Concepto, 2 Nombre, 3 CUENTA
    QCheckBox* ChkPideConf = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QTableWidget* MsFlexGrid1 = nullptr;
    QLineEdit* txtEdit = nullptr;
    QLabel* lblPorc = nullptr;
    QLineEdit* txtImporte = nullptr;    // the amount to split (not stored)
    QLabel* lblSinDistribuir = nullptr; // what the lines leave of it
    QLabel* lblCuenta = nullptr;
    QPushButton* cmdAgregar = nullptr;
    QPushButton* cmdQuitar = nullptr;
    QCheckBox* chkMultiple = nullptr;
    QTreeView* ListView1 = nullptr;
    ModeloCuentas* mdlCuentas = nullptr; // what ListView1 shows

    bool Validando = false;
    bool HayError = false;
    QWidget* ControlActual = nullptr;

    QString Codigo() const;
    // Edits not saved yet: the header, the flag, the lines or an open cell edit differ from
    // what was loaded (or from the empty new table).
    bool HayCambios() const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void construir();
    UtilVela* construirBarra();
    QGridLayout* construirCabecera();
    QWidget* construirPaginaLineas();
    QWidget* construirPaginaCuentas();
    QLabel* etiqueta(const char* texto, QWidget* para);
    void error(const QString& mensaje);
    bool errorEnCelda(int fila, int columna, const QString& mensaje);
    // The open cell edit, validated and written into its cell; false (edit kept open, the
    // message shown) when it does not pass.
    void borrarCelda();
    bool confirmarEdicion();
    void revisarEdicionAbandonada();
    void revisarCodigoAbandonado(Qt::FocusReason razon);
    void volverAEdicion();
    void ocultarEdicion();
    void abrirEdicion(int fila, int columna);
    bool validarLineas();
    void confirmarImporte();
    bool abandonarCambios();
    void actualizarTotal();
    suite::Moneda totalLineas() const;
    QStringList instantanea() const;
    void recordarAbierta(bool nueva);
    void cambioDePagina(int pagina);
    void desplazarSiHaceFalta();
    bool edicionAbierta() const;
    int filaActual() const;
    int columnaActual() const;
    void irA(int fila, int columna);
    QString celda(int fila, int columna) const;
    void fijarCelda(int fila, int columna, const QString& texto);
    bool teclaDeCampo(QLineEdit* campo, int tecla);
    bool teclaDeGrilla(QKeyEvent* k);
    bool teclaDeEdicion(QKeyEvent* k);

    AlmacenDistribucion almacen_;
    Buscador buscador_;
    int filaEdit_ = -1;      // the cell under the edit box
    int columnaEdit_ = -1;
    bool confirmando_ = false;
    bool volviendo_ = false;
    bool volviendoPendiente_ = false;
    bool editando_ = false;
    QString codigoAbierto_;  // the table open for editing, in code form
    bool abiertaNueva_ = false;
    QStringList guardada_;   // what the open table held when it was loaded or saved
    QByteArray huellaCargada_; // the table as stored then (AlmacenDistribucion::Huella)
    int paginaAnterior_ = 0;
    bool cambiandoPagina_ = false;
    int ordenColumna_ = -1;
    bool ordenAscendente_ = true;
};
