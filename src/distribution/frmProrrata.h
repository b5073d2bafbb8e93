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
#include <memory>
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
class ComandosHoja;
class ComandosRevision;
class GrillaLineas;
class PaginaCuentas;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;

// What the form asks of the lookup engine; the answer is the chosen values (one for a
// single choice), or nothing when the user cancelled.
struct ConsultaPedida {
    QString sql;        // statement or lookup name
    QString where;
    bool arbol = false; // the tree dialog
    bool multiple = false;
};
using Buscador = std::function<std::optional<QStringList>(const ConsultaPedida&)>;

// The form keeps the header fields, the command cycle and the wiring; the lines grid, the
// accounts page and the sheet commands are parts of their own that it owns.
class frmProrrata : public QWidget {
    Q_OBJECT
    friend class GrillaLineas;
    friend class PaginaCuentas;
    friend class ComandosHoja;
    friend class ComandosRevision;

public:
    static inline const QString Titulo = QStringLiteral("Distribución y Asignación de Centros de Costos");
    static constexpr int LineasGrilla = 50;
    // The form's stored control properties, beside the program.
    static constexpr char ArchivoPropiedades[] = "frmProrrata.propiedades";
    static constexpr int ColImporte = 4; // the split preview's column, shown while an amount is typed

    explicit frmProrrata(QWidget* parent = nullptr);
    ~frmProrrata() override;

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
    static bool ColEdit(int columna, int fila);
    void MsflexGridEdt(int caracter);
    void EditKeyCode(int tecla);
    void MsflexKey(int tecla);

    // Beyond the suite's commands: the split preview of an amount, a copy of the open table,
    // the tables to and from a CSV sheet.
    void ActualizarReparto();
    void Copiar();
    void Exportar();
    void Importar();
    // The open table's versions (Restaurar loads one as unsaved edits), and the consistency
    // check of every table (a finding opens its table).
    void Historial();
    void Restaurar(const EstadoTabla& e, const QString& descripcion);
    void Verificar();
    void AbrirTabla(const QString& codigo);

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
    QLabel* etiqueta(const char* texto, QWidget* para);
    void error(const QString& mensaje);
    void validarCodigo(QLineEdit* editor, const QString& texto);
    void validarCuenta(QLineEdit* editor, const QString& texto);
    void revisarCodigoAbandonado(Qt::FocusReason razon);
    bool abandonarCambios();
    QStringList instantanea() const;
    void recordarAbierta(bool nueva);
    bool teclaDeCampo(QLineEdit* campo, int tecla);
    bool teclaDelForm(QObject* o, QKeyEvent* k);
    void focoEntra(QObject* o);
    void focoSale(QObject* o, Qt::FocusReason razon);
    bool clicDerecho(QObject* o, QMouseEvent* m);

    std::unique_ptr<GrillaLineas> grilla_;
    std::unique_ptr<PaginaCuentas> cuentas_;
    std::unique_ptr<ComandosHoja> hoja_;
    std::unique_ptr<ComandosRevision> revision_;
    AlmacenDistribucion almacen_;
    Buscador buscador_;
    bool editando_ = false;
    QString codigoAbierto_;  // the table open for editing, in code form
    bool abiertaNueva_ = false;
    QStringList guardada_;   // what the open table held when it was loaded or saved
    QByteArray huellaCargada_; // the table as stored then (AlmacenDistribucion::Huella)
    MotivoGrabacion motivo_;   // what the next save records: a copy, a restored version
    int paginaAnterior_ = 0;
    bool cambiandoPagina_ = false;
};
