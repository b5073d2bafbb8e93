#include "distribution/frmProrrata.h"

#include "distribution/PlanillaCsv.h"
#include "distribution/Reparto.h"

#include "data/Sesion.h"
#include "startup/CNStuffContable.h"
#include "startup/Estilos.h"
#include "suite/DialogoArchivo.h"
#include "suite/Ini.h"
#include "suite/Dialogos.h"
#include "suite/Formularios.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"
#include "toolbar/BolsaPropiedades.h"
#include "toolbar/UtilVela.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdio>

#include <array>

namespace {

constexpr int TwipsPorPixel = 15;
const char* const PropTag = "Tag";

QString titulo(const char* t) { return QString::fromUtf8(t); }

QString dataField(const QWidget* w) { return w ? w->property(suite::PropDataField).toString() : QString(); }
QString tag(const QWidget* w) { return w ? w->property(PropTag).toString() : QString(); }

// The background of an enabled field; a disabled one keeps the disabled look.
void colorDeFondo(QLineEdit* e, const QColor& c)
{
    QPalette p = e->palette();
    p.setColor(QPalette::Active, QPalette::Base, c);
    p.setColor(QPalette::Inactive, QPalette::Base, c);
    e->setPalette(p);
}

// Grid routines hand their errors to the error dialog under their own names; error 5
// passes silently where the routine says so.
suite::Rutina rutinaDeGrilla(const QString& nombre, bool callarError5)
{
    return suite::Rutina([nombre, callarError5](const suite::ErrorRT& e) {
        if (callarError5 && e.Number == 5)
            return suite::Rutina::Seguir;
        return suite::DialogoError(e, {}, nombre);
    });
}

QString numeroDeLinea(int fila) { return QString::number(fila + 1); }

} // namespace

frmProrrata::frmProrrata(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmProrrata"));
    setWindowTitle(Titulo);
    construir();
}

void frmProrrata::construir()
{
    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 8);
    principal->setSpacing(8);
    principal->addWidget(construirBarra());
    principal->addLayout(construirCabecera());
    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(construirPaginaLineas(), titulo("Distribución"));
    SSTab1->addTab(construirPaginaCuentas(), titulo("Asignación"));
    principal->addWidget(SSTab1, 1);
    principal->setContentsMargins(0, 0, 0, 8);
    SSTab1->setContentsMargins(12, 0, 12, 0);
    for (QWidget* w : {static_cast<QWidget*>(cmdAgregar), static_cast<QWidget*>(cmdQuitar), static_cast<QWidget*>(chkMultiple),
                       static_cast<QWidget*>(ListView1), static_cast<QWidget*>(SSTab1->tabBar()), static_cast<QWidget*>(txtImporte)})
        w->installEventFilter(this);

    connect(cmdAgregar, &QPushButton::clicked, this, &frmProrrata::Agregar);
    connect(cmdQuitar, &QPushButton::clicked, this, &frmProrrata::Quitar);
    connect(chkMultiple, &QCheckBox::clicked, this, [this] { txtFields[3]->setFocus(); });
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int columna) {
        ordenAscendente_ = columna == ordenColumna_ ? !ordenAscendente_ : true;
        ordenColumna_ = columna;
        mdlCuentas->sort(columna, ordenAscendente_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmProrrata::cambioDePagina);

    setTabOrder(txtFields[0], txtFields[2]);
    setTabOrder(txtFields[2], txtFields[1]);
    setTabOrder(txtFields[1], ChkPideConf);
    setTabOrder(ChkPideConf, SSTab1);
    resize(760, 620);
}

QLabel* frmProrrata::etiqueta(const char* texto, QWidget* para)
{
    auto* l = new QLabel(titulo(texto), this);
    l->setBuddy(para);
    return l;
}

// The command bar, restored from the properties stored with the form (a file beside the
// program); its colour style comes from the suite INI file.
UtilVela* frmProrrata::construirBarra()
{
    UtilVela1 = new UtilVela(this);
    const BolsaPropiedades propiedades = BolsaPropiedades::Cargar(
        suite::BuscarArchivoSinCaso(CarpetaAplicacion(), QString::fromLatin1(ArchivoPropiedades)), UtilVela1->objectName());
    UtilVela1->ReadProperties(propiedades);
    for (const QString& aviso : propiedades.Avisos()) // those of the file and of each value read
        std::fprintf(stderr, "%s\n", qPrintable(aviso));
    UtilVela1->setFixedHeight(66);
    // Spare items of the bar for the commands beyond the suite's: the sheet exports, import
    // reads a sheet back, copy starts a new table from the open one.
    UtilVela1->AddItem(QStringLiteral("PLANILLA"), QStringLiteral("Planilla"),
                       titulo("Exportar a una planilla CSV esta tabla o todas (F6)"));
    UtilVela1->AddItem(QStringLiteral("IMPORTAR"), QStringLiteral("Importar"), titulo("Importar tablas desde una planilla CSV (F8)"));
    UtilVela1->AddItem(QStringLiteral("COPIAR"), QStringLiteral("Copiar"),
                       titulo("Copiar esta tabla en una nueva, con el código libre siguiente, sin grabarla (F7)"));
    connect(UtilVela1, &UtilVela::click, this, [this](QString& t) { Comando(t); });
    return UtilVela1;
}

// Header: code, name, concept and the confirmation flag (the account field goes on page 1).
QGridLayout* frmProrrata::construirCabecera()
{
    auto* cabecera = new QGridLayout;
    cabecera->setContentsMargins(12, 4, 12, 0);
    cabecera->setHorizontalSpacing(8);
    const char* const campos[][2] = {{"Codigo", "MA_CUENTAS_CCDIST"}, {"Concepto", ""}, {"Nombre", ""}, {"CUENTA", "MA_CUENTAS"}};
    for (const auto& c : campos) {
        auto* e = new QLineEdit(this);
        e->setProperty(suite::PropDataField, QString::fromLatin1(c[0]));
        e->setProperty(PropTag, QString::fromLatin1(c[1]));
        e->installEventFilter(this);
        e->setContextMenuPolicy(Qt::NoContextMenu); // the right button looks values up
        txtFields << e;
    }
    txtFields[0]->setMaxLength(4);
    txtFields[0]->setProperty(suite::PropConservar, true); // the code validation reads it after the reset
    txtFields[1]->setMaxLength(60);
    txtFields[2]->setMaxLength(60);
    txtFields[3]->setMaxLength(20);
    txtFields[0]->setFixedWidth(80);
    cabecera->addWidget(etiqueta("Código.......:", txtFields[0]), 0, 0);
    cabecera->addWidget(txtFields[0], 0, 1, Qt::AlignLeft);
    cabecera->addWidget(etiqueta("Nombre..:", txtFields[2]), 1, 0);
    cabecera->addWidget(txtFields[2], 1, 1);
    cabecera->addWidget(etiqueta("Concepto..:", txtFields[1]), 2, 0);
    cabecera->addWidget(txtFields[1], 2, 1);
    ChkPideConf = new QCheckBox(titulo("&No pedir confirmacion de porcentajes al Usuario (Debe completarse el 100%)"), this);
    ChkPideConf->installEventFilter(this);
    cabecera->addWidget(ChkPideConf, 3, 1);
    cabecera->setColumnStretch(1, 1);
    return cabecera;
}

// Page 0: the percentage grid, its edit box and the total.
QWidget* frmProrrata::construirPaginaLineas()
{
    auto* pagina0 = new QWidget;
    auto* capa0 = new QVBoxLayout(pagina0);
    auto* encabezado0 = new QLabel(titulo("     Distribución de Centros de Costos"), pagina0);
    encabezado0->setStyleSheet(QStringLiteral("font-weight: bold;"));
    capa0->addWidget(encabezado0);
    MsFlexGrid1 = new QTableWidget(pagina0);
    MsFlexGrid1->setColumnCount(4);
    MsFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MsFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MsFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    MsFlexGrid1->verticalHeader()->hide();
    MsFlexGrid1->verticalHeader()->setDefaultSectionSize(22);
    MsFlexGrid1->horizontalHeader()->setHighlightSections(false);
    MsFlexGrid1->installEventFilter(this);
    MsFlexGrid1->viewport()->installEventFilter(this);
    capa0->addWidget(MsFlexGrid1);
    txtEdit = new QLineEdit(MsFlexGrid1->viewport());
    txtEdit->setFrame(false);
    txtEdit->hide();
    txtEdit->installEventFilter(this);
    txtEdit->setContextMenuPolicy(Qt::NoContextMenu);
    lblPorc = new QLabel(QStringLiteral("0 %"), pagina0);
    lblPorc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPorc->setStyleSheet(QStringLiteral("font-weight: bold; padding-right: 8px;"));
    // The split preview: an amount typed here shows, beside each line, the part it receives.
    txtImporte = new QLineEdit(pagina0);
    txtImporte->setObjectName(QStringLiteral("txtImporte"));
    txtImporte->setProperty(suite::PropConservar, true); // kept from one table to the next
    txtImporte->setAlignment(Qt::AlignRight);
    txtImporte->setMaxLength(20);
    txtImporte->setFixedWidth(140);
    txtImporte->setToolTip(titulo("Importe a repartir entre las líneas, al centavo; no se graba (F9)"));
    lblSinDistribuir = new QLabel(pagina0);
    lblSinDistribuir->setObjectName(QStringLiteral("lblSinDistribuir"));
    auto* pie = new QHBoxLayout;
    pie->addWidget(etiqueta("&Importe a distribuir:", txtImporte));
    pie->addWidget(txtImporte);
    pie->addSpacing(8);
    pie->addWidget(lblSinDistribuir);
    pie->addStretch(1);
    pie->addWidget(lblPorc);
    capa0->addLayout(pie);
    connect(txtImporte, &QLineEdit::textChanged, this, &frmProrrata::ActualizarReparto);

    connect(MsFlexGrid1, &QTableWidget::currentCellChanged, this, [this](int fila, int columna, int filaAntes, int columnaAntes) {
        // The line-number column is never the current cell (Tab wraps into it, Down goes to
        // it): a key typed there would be lost, so the cost centre takes its place.
        if (columna == 0 && fila >= 0) {
            MsFlexGrid1->setCurrentCell(fila, 1);
            return;
        }
        // Along a line (Tab, Backtab, the arrows) the description, which takes no typing, is
        // stepped over as Enter steps over it: a key typed next lands in the percentage or
        // the centre instead of being lost there.
        if (columna == 2 && fila == filaAntes && (columnaAntes == 1 || columnaAntes == 3)) {
            MsFlexGrid1->setCurrentCell(fila, columnaAntes == 1 ? 3 : 1);
            return;
        }
        // Leaving a cell ends its edit as Enter does; an edit that does not pass keeps its cell.
        if (filaAntes >= 0 && edicionAbierta() && !volviendo_ && !confirmarEdicion())
            return;
        // Entering a cell.
        ControlActual = txtEdit;
        if (!edicionAbierta())
            txtEdit->clear();
        TextPropiedades(columna);
        UtilVela1->ConsultaEnabled(!tag(txtEdit).trimmed().isEmpty());
        (void)fila;
    });
    connect(MsFlexGrid1, &QTableWidget::cellClicked, this, [this](int, int columna) {
        ControlActual = txtEdit;
        TextPropiedades(columna);
    });
    connect(MsFlexGrid1, &QTableWidget::cellDoubleClicked, this, [this](int, int) { MsflexGridEdt(32); });
    return pagina0;
}

// Page 1: the accounts assigned to the table.
QWidget* frmProrrata::construirPaginaCuentas()
{
    auto* pagina1 = new QWidget;
    auto* capa1 = new QGridLayout(pagina1);
    auto* encabezado1 = new QLabel(titulo("     Asignación en el Plan de Cuentas"), pagina1);
    encabezado1->setStyleSheet(QStringLiteral("font-weight: bold;"));
    capa1->addWidget(encabezado1, 0, 0, 1, 4);
    capa1->addWidget(etiqueta("Cuenta....:", txtFields[3]), 1, 0);
    txtFields[3]->setFixedWidth(160);
    capa1->addWidget(txtFields[3], 1, 1);
    lblCuenta = new QLabel(QStringLiteral("..."), pagina1);
    capa1->addWidget(lblCuenta, 1, 2);
    cmdAgregar = new QPushButton(titulo("Agregar la Cuenta Seleccionada"), pagina1);
    cmdQuitar = new QPushButton(titulo("Quitar la Cuenta Selecconada"), pagina1);
    chkMultiple = new QCheckBox(titulo("Ingreso múltiple"), pagina1);
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdAgregar);
    botones->addWidget(cmdQuitar);
    botones->addSpacing(12);
    botones->addWidget(chkMultiple);
    botones->addStretch(1);
    capa1->addLayout(botones, 2, 1, 1, 2);
    ListView1 = new QTreeView(pagina1);
    mdlCuentas = new ModeloCuentas(ListView1);
    ListView1->setModel(mdlCuentas);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true); // rows are measured once, not 100,000 times
    ListView1->setSortingEnabled(false);
    ListView1->setAlternatingRowColors(true);
    ListView1->header()->setSectionsClickable(true);
    capa1->addWidget(ListView1, 3, 0, 1, 3);
    capa1->setColumnStretch(2, 1);
    return pagina1;
}

void frmProrrata::Form_Load(const QString& lineaComandos)
{
    IniciarSesion(lineaComandos);
    AplicarEstilo(this);
    suite::PrepararForm(this);
    AsignarIcono(this);
    Limpiar();
}

QString frmProrrata::Codigo() const { return AlmacenDistribucion::Codigo(txtFields[0]->text()); }

QStringList frmProrrata::instantanea() const
{
    QStringList s{txtFields[2]->text(), txtFields[1]->text(), ChkPideConf->isChecked() ? QStringLiteral("1") : QStringLiteral("0")};
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila) {
        const QString centro = celda(fila, 1).trimmed(), porcentaje = celda(fila, 3).trimmed();
        if (!centro.isEmpty() || !porcentaje.isEmpty())
            s << centro + u'\t' + porcentaje;
    }
    return s;
}

void frmProrrata::recordarAbierta(bool nueva)
{
    codigoAbierto_ = Codigo();
    abiertaNueva_ = nueva;
    guardada_ = instantanea();
}

bool frmProrrata::HayCambios() const
{
    if (!editando_)
        return false;
    if (edicionAbierta() && txtEdit->text().trimmed() != celda(filaEdit_, columnaEdit_).trimmed())
        return true;
    return instantanea() != guardada_;
}

bool frmProrrata::abandonarCambios()
{
    if (!HayCambios())
        return true;
    return suite::MsgBox(titulo("¿Está seguro de abandonar la carga de datos?"),
                         suite::vbYesNo + suite::vbExclamation + suite::vbDefaultButton2, QStringLiteral("Atención!!!"))
        == suite::vbYes;
}

void frmProrrata::error(const QString& mensaje)
{
    HayError = true;
    suite::MsgBox(mensaje, suite::vbExclamation, QStringLiteral("Aviso al Operador"));
}

// ---- Command cycle --------------------------------------------------------------------

void frmProrrata::Comando(QString texto)
{
    const QString clave = texto.trimmed().toUpper();
    // A value being typed in a cell is confirmed before a command that uses the lines.
    if ((clave == QLatin1String("GRABAR") || clave == QLatin1String("REPORTE")) && !confirmarEdicion())
        return;
    try {
        if (clave == QLatin1String("NUEVO")) {
            Limpiar();
        } else if (clave == QLatin1String("BORRAR")) {
            // The table shown is the one deleted, whatever was typed over its code since.
            if (editando_ && Codigo() != codigoAbierto_)
                txtFields[0]->setText(codigoAbierto_.trimmed());
            const bool conCambios = HayCambios();
            // Declined, the form is reset as before unless that would drop unsaved edits.
            if (Borrar() != AlmacenDistribucion::Borrado::Cancelado || !conCambios)
                if (!HayError)
                    Limpiar();
        } else if (clave == QLatin1String("GRABAR")) {
            Validando = true;
            if (ValidarTodo()) {
                Grabar();
                Validando = false;
                if (!HayError)
                    Limpiar();
            }
            Validando = false;
        } else if (clave == QLatin1String("CONSULTAR")) {
            Consultar();
        } else if (clave == QLatin1String("PLANILLA")) {
            Exportar();
        } else if (clave == QLatin1String("IMPORTAR")) {
            Importar();
        } else if (clave == QLatin1String("COPIAR")) {
            Copiar();
        } else if (clave == QLatin1String("REPORTE")) {
            Imprimir();
        } else if (clave == QLatin1String("CERRAR")) {
            close();
        } else if (clave == QLatin1String("CANCELAR")) {
            if (suite::MsgBox(QStringLiteral("¿Está seguro de abandonar la carga de datos?"),
                              suite::vbYesNo + suite::vbExclamation + suite::vbDefaultButton2, QStringLiteral("Atención!!!"))
                == suite::vbYes)
                Limpiar();
        }
    } catch (const suite::ErrorEjecucion& e) {
        Validando = false;
        if (e.error().Number != 5)
            suite::MsgBox(e.error().Description, suite::vbCritical, QStringLiteral("Aviso al operador"));
    }
}

void frmProrrata::Limpiar()
{
    suite::Rutina r([](const suite::ErrorRT&) { return suite::Rutina::Seguir; });
    r([&] { suite::LimpiarForm(this, 1); })
     ([&] { MsFlex_Inicializa(); })
     ([&] { ActualizarReparto(); })
     ([&] {
         mdlCuentas->fijar({});
         ListView1->setColumnWidth(0, 1500 / TwipsPorPixel);
         ListView1->setColumnWidth(1, 4000 / TwipsPorPixel);
         ordenColumna_ = -1;
     })
     ([&] { ModoEdicion(false); })
     ([&] {
         filaEdit_ = columnaEdit_ = -1;
         codigoAbierto_.clear();
         abiertaNueva_ = false;
         huellaCargada_.clear();
         guardada_.clear();
         cambiandoPagina_ = true;
         SSTab1->setCurrentIndex(0);
         paginaAnterior_ = 0;
         cambiandoPagina_ = false;
         lblCuenta->setText(QStringLiteral("..."));
         lblPorc->setText(QStringLiteral("0 %"));
         ChkPideConf->setChecked(false);
         txtEdit->hide();
     })
     ([&] {
         txtFields[0]->setFocus();
         txtFields[0]->selectAll();
     });
}

void frmProrrata::ModoEdicion(bool editando)
{
    editando_ = editando;
    for (int i = 1; i < txtFields.size(); ++i)
        txtFields[i]->setEnabled(editando);
    UtilVela1->NuevoEnabled(!editando);
    UtilVela1->CancelarEnabled(editando);
    UtilVela1->GrabarEnabled(editando);
    UtilVela1->CerrarEnabled(!editando);
    UtilVela1->BorrarEnabled(editando);
    UtilVela1->SetItemEnabled(QStringLiteral("COPIAR"), editando);
    UtilVela1->SetItemEnabled(QStringLiteral("IMPORTAR"), !editando); // tables replaced while none is open
    SSTab1->setEnabled(editando);
    if (editando)
        txtFields[0]->setFocus();
}

void frmProrrata::ValidarCampo(QWidget* control)
{
    HayError = false;
    const QString campo = dataField(control).toUpper();
    auto* editor = qobject_cast<QLineEdit*>(control);
    if (!editor)
        return;
    const QString texto = editor->text().trimmed();
    if (campo == QLatin1String("CODIGO")) {
        if (texto.isEmpty()) {
            error(QStringLiteral("Debe ingresar un código"));
            return;
        }
        if (Validando)
            return;
        // The open table again, with edits: nothing to load, the edits stay.
        if (editando_ && Codigo() == codigoAbierto_ && HayCambios())
            return;
        if (!abandonarCambios()) {
            editor->setText(codigoAbierto_.trimmed());
            HayError = true;
            return;
        }
        const bool existe = almacen_.ExisteTabla(texto);
        Limpiar();
        if (existe)
            Cargar();
        else
            ModoEdicion(true);
        recordarAbierta(!existe);
    } else if (campo == QLatin1String("CUENTA")) {
        lblCuenta->setText(QStringLiteral("..."));
        if (texto.isEmpty()) {
            if (!Validando)
                error(QStringLiteral("Debe ingresar una cuenta"));
            return;
        }
        QString cuenta = texto;
        bool opcional = false;
        ado::Recordset rs;
        if (!BuscarCuenta(cuenta, rs, true, opcional)) {
            error(QStringLiteral("La Cuenta Ingresada es inexistente!!!"));
            return;
        }
        // The account typed by its optional code is assigned by its code.
        editor->setText(cuenta);
        const QString asignada = suite::TextoVariant(suite::SinNulo(rs.Fields(QStringLiteral("cc_dist")).Value()));
        if (!asignada.trimmed().isEmpty()) {
            error(QStringLiteral("La cuenta seleccionada está asignada a la tabla de distribución Código: ") + asignada);
            return;
        }
        lblCuenta->setText(suite::TextoVariant(rs.Fields(QStringLiteral("Descripcion")).Value()));
    } else if (campo == QLatin1String("CCOSTO")) {
        // The line changes only when the new cost centre passes; a different one empties
        // the line's description and percentage.
        const int fila = editor == txtEdit ? filaEdit_ : filaActual();
        const bool otro = texto.compare(celda(fila, 1).trimmed(), Qt::CaseInsensitive) != 0;
        if (!texto.isEmpty()) {
            for (int f = 0; f < MsFlexGrid1->rowCount(); ++f)
                if (f != fila && celda(f, 1).trimmed().compare(texto, Qt::CaseInsensitive) == 0) {
                    error(titulo("El centro de costo ") + texto + titulo(" ya figura en la línea ") + numeroDeLinea(f));
                    return;
                }
        }
        ado::Recordset rs;
        if (!texto.isEmpty() && !almacen_.ExisteCentro(texto, &rs)) {
            error(QStringLiteral("El código ingresado es inexistente!!!"));
            return;
        }
        if (otro || texto.isEmpty()) {
            fijarCelda(fila, 2, QString());
            fijarCelda(fila, 3, QString());
        }
        if (!texto.isEmpty())
            fijarCelda(fila, 2, suite::TextoVariant(rs.Fields(QStringLiteral("Descripcion")).Value()));
        actualizarTotal();
    } else if (campo == QLatin1String("PORCENTAJE")) {
        const int fila = editor == txtEdit ? filaEdit_ : filaActual();
        if (texto.isEmpty()) {
            // A line without its cost centre is an empty line, not a mistake.
            if (!celda(fila, 1).trimmed().isEmpty())
                error(QStringLiteral("Debe ingresar un porcentaje"));
            return;
        }
        // A value confirmed untouched stays exactly as it was (a stored 12,3456 is not rounded).
        if (texto == celda(fila, 3).trimmed()) {
            editor->setText(celda(fila, 3));
            return;
        }
        const suite::Regional& r = suite::RegionalActual();
        const auto valor = suite::Moneda::leer(texto, r.decimal, r.miles);
        if (!valor) {
            error(titulo("Debe ingresar un valor numérico"));
            return;
        }
        if (*valor < suite::Moneda()) {
            error(titulo("El porcentaje no puede ser negativo"));
            return;
        }
        if (celda(fila, 1).trimmed().isEmpty()) {
            error(titulo("Debe ingresar el centro de costo de la línea ") + numeroDeLinea(fila) + titulo(" antes de su porcentaje"));
            return;
        }
        const QString formateado = FmtMoneda(texto, -1);
        editor->setText(formateado);
        // The total is checked with the new value; a refused value leaves the cell as it was.
        const QString antes = celda(fila, 3);
        fijarCelda(fila, 3, formateado);
        if (!ValidarPorcentajes()) {
            HayError = true;
            fijarCelda(fila, 3, antes);
        }
    }
}

bool frmProrrata::ValidarTodo()
{
    HayError = false;
    for (QLineEdit* campo : txtFields) {
        ValidarCampo(campo);
        if (HayError)
            return false;
    }
    if (!validarLineas())
        return false;
    if (!ValidarPorcentajes())
        HayError = true;
    return !HayError;
}

bool frmProrrata::errorEnCelda(int fila, int columna, const QString& mensaje)
{
    cambiandoPagina_ = true;
    SSTab1->setCurrentIndex(0);
    cambiandoPagina_ = false;
    irA(fila, columna);
    MsFlexGrid1->setFocus();
    error(mensaje);
    return false;
}

// Every line again, as it will be saved: a cost centre that exists, once, with a
// percentage; no percentage without its cost centre.
bool frmProrrata::validarLineas()
{
    const suite::Regional& r = suite::RegionalActual();
    QHash<QString, int> vistos;
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila) {
        const QString centro = celda(fila, 1).trimmed();
        const QString porcentaje = celda(fila, 3).trimmed();
        const QString linea = numeroDeLinea(fila);
        if (centro.isEmpty()) {
            if (!porcentaje.isEmpty())
                return errorEnCelda(fila, 1, titulo("La línea ") + linea + titulo(" tiene un porcentaje sin centro de costo"));
            continue;
        }
        const QString clave = centro.toUpper();
        if (const auto otra = vistos.constFind(clave); otra != vistos.cend())
            return errorEnCelda(fila, 1, titulo("El centro de costo ") + centro + titulo(" figura en las líneas ")
                                             + numeroDeLinea(*otra) + titulo(" y ") + linea);
        vistos.insert(clave, fila);
        if (!almacen_.ExisteCentro(centro, nullptr))
            return errorEnCelda(fila, 1, titulo("El centro de costo ") + centro + titulo(" de la línea ") + linea
                                             + titulo(" es inexistente!!!"));
        const auto valor = suite::Moneda::leer(porcentaje, r.decimal, r.miles);
        if (!valor || *valor < suite::Moneda())
            return errorEnCelda(fila, 3, titulo("Debe ingresar un porcentaje en la línea ") + linea);
    }
    return true;
}

suite::Moneda frmProrrata::totalLineas() const
{
    suite::Moneda total;
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila)
        if (!celda(fila, 1).trimmed().isEmpty())
            total += suite::ValorNumerico(celda(fila, 3));
    return total;
}

void frmProrrata::actualizarTotal()
{
    lblPorc->setText(FmtPorcentaje(totalLineas()) + QStringLiteral(" %"));
    ActualizarReparto();
}

bool frmProrrata::ValidarPorcentajes()
{
    // Only lines with a cost centre are saved, so only they count.
    const suite::Moneda total = totalLineas();
    actualizarTotal();
    const suite::Moneda cien = suite::Moneda::desdeEntero(100);
    if (total > cien) {
        suite::MsgBox(QStringLiteral("La suma de los porcentajes ingresados no puede superar el 100%"), suite::vbInformation,
                      QStringLiteral("Aviso al Usuario"));
        return false;
    }
    if (total < cien && ChkPideConf->isChecked() && Validando) {
        suite::MsgBox(titulo("La configuración de no pedir confirmación al usuario requiere se complete el 100 % de los pordentajes"),
                      suite::vbInformation, QStringLiteral("Aviso al Usuario"));
        return false;
    }
    return true;
}

void frmProrrata::Consultar()
{
    if (!buscador_ || !ControlActual)
        return;
    const QString t = tag(ControlActual).trimmed().toUpper();
    bool elegido = false; // a single value was chosen and stands in its field or edit box
    suite::Rutina r = suite::Rutina::conDialogoError(QStringLiteral("Consultar"));
    r([&] {
        if (t == QLatin1String("MA_CUENTAS_CCDIST")) {
            if (const auto v = buscador_({AlmacenDistribucion::SentenciaTablas(), {}, false, false}); v && !v->isEmpty()) {
                qobject_cast<QLineEdit*>(ControlActual)->setText(v->first().trimmed());
                elegido = true;
            }
        } else if (t == QLatin1String("MA_CUENTAS")) {
            const bool multiple = chkMultiple->isChecked();
            const auto v = buscador_({QStringLiteral("MA_CUENTAS"), QStringLiteral("TITULO=0"), false, multiple});
            if (multiple) {
                if (v)
                    AgregarVarias(*v);
            } else if (v && !v->isEmpty()) {
                qobject_cast<QLineEdit*>(ControlActual)->setText(v->first().trimmed());
                elegido = true;
            }
        } else if (t == QLatin1String("TA_CCOSTO")) {
            if (const auto v = buscador_({QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO"), {}, true, false});
                v && !v->isEmpty()) {
                txtEdit->setText(v->first().trimmed());
                elegido = true;
            }
        }
    })([&] {
        // A lookup closed without a choice changes nothing and asks nothing: confirming the
        // field then would complain of an empty code, or empty a line that had its centre.
        if (!elegido)
            return;
        auto* campo = qobject_cast<QLineEdit*>(ControlActual);
        if (campo && txtFields.contains(campo)) {
            teclaDeCampo(campo, Qt::Key_Return);
        } else {
            if (!edicionAbierta())
                abrirEdicion(filaActual(), columnaActual());
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            teclaDeEdicion(&enter);
        }
    });
}

void frmProrrata::Cargar()
{
    TablaDistribucion t = almacen_.Cargar(txtFields[0]->text());
    huellaCargada_ = t.huella;
    txtFields[2]->setText(t.nombre);
    txtFields[1]->setText(t.concepto);
    ChkPideConf->setChecked(t.pideConfirmacion);
    // A table longer than the grid makes the grid grow.
    while (MsFlexGrid1->rowCount() < int(t.lineas.size()))
        MsFlexGrid1->insertRow(MsFlexGrid1->rowCount());
    for (int i = 0; i < int(t.lineas.size()); ++i) {
        fijarCelda(i, 1, t.lineas[size_t(i)].centro);
        fijarCelda(i, 2, t.lineas[size_t(i)].descripcion);
        fijarCelda(i, 3, t.lineas[size_t(i)].porcentaje);
    }
    ValidarPorcentajes();
    mdlCuentas->fijar(std::move(t.cuentas));
    if (mdlCuentas->rowCount() > 0)
        ListView1->setCurrentIndex(mdlCuentas->index(0, 0)); // Quitar works at once on the first account
    ModoEdicion(true);
}

// A save replaces what the table holds. It expects the table as it was opened (no table at
// all for a new one, or for a code typed over the open one's); what another workstation
// saved or deleted meanwhile is found inside the save's transaction and replaced only when
// the user says so.
void frmProrrata::Grabar()
{
    std::vector<std::pair<QString, QString>> lineas;
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila)
        lineas.emplace_back(celda(fila, 1), celda(fila, 3));
    const QString codigo = Codigo();
    QByteArray esperada = codigo == codigoAbierto_ && !abiertaNueva_ ? huellaCargada_ : QByteArray();
    for (;;) {
        QByteArray actual;
        const auto r = almacen_.Grabar(txtFields[0]->text(), txtFields[2]->text(), txtFields[1]->text(), ChkPideConf->isChecked(),
                                       lineas, esperada, actual);
        if (r != AlmacenDistribucion::Grabado::Cambiada) {
            HayError = r != AlmacenDistribucion::Grabado::Hecho;
            if (!HayError)
                huellaCargada_ = actual;
            return;
        }
        QString pregunta;
        if (esperada.isEmpty())
            pregunta = titulo("Ya existe otra tabla de distribución con el Código: ") + codigo + QStringLiteral("\n")
                + titulo("¿Desea reemplazar sus líneas con las ingresadas?");
        else if (actual.isEmpty())
            pregunta = titulo("La tabla fue borrada en otro puesto mientras usted la editaba (Código: ") + codigo.trimmed()
                + QStringLiteral(").\n") + titulo("¿Desea grabarla de nuevo con los datos ingresados?");
        else
            pregunta = titulo("La tabla fue modificada en otro puesto mientras usted la editaba (Código: ") + codigo.trimmed()
                + QStringLiteral(").\n") + titulo("Si graba, sus datos reemplazarán los que grabó el otro puesto.") + QStringLiteral("\n")
                + titulo("¿Desea grabar de todos modos?");
        if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbExclamation + suite::vbDefaultButton2, titulo("Atención"))
            != suite::vbYes) {
            HayError = true;
            return;
        }
        esperada = actual; // what the user has now agreed to replace, and nothing newer
    }
}

AlmacenDistribucion::Borrado frmProrrata::Borrar()
{
    const auto r = almacen_.Borrar(txtFields[0]->text());
    switch (r) {
    case AlmacenDistribucion::Borrado::Hecho: HayError = false; break;
    case AlmacenDistribucion::Borrado::Fallo: HayError = true; break;
    case AlmacenDistribucion::Borrado::Cancelado: break;
    }
    return r;
}

// ---- Grid -----------------------------------------------------------------------------

QString frmProrrata::celda(int fila, int columna) const
{
    const QTableWidgetItem* it = MsFlexGrid1->item(fila, columna);
    return it ? it->text() : QString();
}

void frmProrrata::fijarCelda(int fila, int columna, const QString& texto)
{
    if (fila < 0 || columna < 0)
        return;
    QTableWidgetItem* it = MsFlexGrid1->item(fila, columna);
    if (!it) {
        it = new QTableWidgetItem;
        if (columna == 3 || columna == ColImporte)
            it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (columna == ColImporte)
            it->setForeground(QColor(0, 70, 140));
        if (columna == 0 || columna == 2)
            it->setForeground(columna == 0 ? QColor(110, 110, 110) : QColor(40, 40, 40));
        MsFlexGrid1->setItem(fila, columna, it);
    }
    it->setText(texto);
}

// Shown over its cell, even while the page of the grid is not the one in front.
bool frmProrrata::edicionAbierta() const { return !txtEdit->isHidden(); }

int frmProrrata::filaActual() const { return MsFlexGrid1->currentRow(); }
int frmProrrata::columnaActual() const { return MsFlexGrid1->currentColumn(); }

void frmProrrata::irA(int fila, int columna)
{
    MsFlexGrid1->setCurrentCell(fila, columna);
}

void frmProrrata::MsFlex_Inicializa()
{
    txtEdit->hide();
    MsFlexGrid1->clear();
    MsFlexGrid1->setColumnCount(5);
    MsFlexGrid1->setRowCount(LineasGrilla);
    MsFlexGrid1->setHorizontalHeaderLabels({QStringLiteral("Linea"), QStringLiteral("C. Costo"), titulo("Descripción"),
                                            QStringLiteral("Porcentaje"), QStringLiteral("Importe")});
    MsFlexGrid1->setColumnWidth(ColImporte, 130);
    MsFlexGrid1->setColumnHidden(ColImporte, txtImporte->text().trimmed().isEmpty());
    // Widths in twips, never narrower than the heading; the description takes what is left.
    const int anchos[] = {500, 1000, 3800, 1000};
    const QFontMetrics fm(MsFlexGrid1->horizontalHeader()->font());
    for (int c = 0; c < 4; ++c) {
        const int cabecera = fm.horizontalAdvance(MsFlexGrid1->horizontalHeaderItem(c)->text()) + 16;
        MsFlexGrid1->setColumnWidth(c, std::max(anchos[c] / TwipsPorPixel, cabecera));
    }
    MsFlexGrid1->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (int fila = 0; fila < LineasGrilla; ++fila) {
        fijarCelda(fila, 0, QString::number(fila + 1));
        MsFlexGrid1->item(fila, 0)->setTextAlignment(Qt::AlignCenter);
    }
    MsFlexGrid1->setCurrentCell(0, 1);
}

void frmProrrata::TextPropiedades(int columna)
{
    struct Propiedades {
        const char* campo;
        const char* etiqueta;
        int largo;
    };
    static const Propiedades tabla[] = {{"Linea", "", 15}, {"CCosto", "TA_CCOSTO", 4}, {"Descripcion", "", 50}, {"Porcentaje", "", 10}};
    // While shown, the edit box keeps the properties of its own cell (a shorter length
    // would cut what was typed).
    if (edicionAbierta() && columnaEdit_ >= 0)
        columna = columnaEdit_;
    txtEdit->setMaxLength(25);
    if (columna < 0 || columna > 3) {
        txtEdit->setProperty(suite::PropDataField, QString());
        return;
    }
    txtEdit->setProperty(suite::PropDataField, QString::fromLatin1(tabla[columna].campo));
    txtEdit->setProperty(PropTag, QString::fromLatin1(tabla[columna].etiqueta));
    txtEdit->setProperty(suite::PropNumerico, columna == 3);
    txtEdit->setAlignment(columna == 3 ? Qt::AlignRight : Qt::AlignLeft);
    txtEdit->setMaxLength(tabla[columna].largo);
}

void frmProrrata::desplazarSiHaceFalta()
{
    const int fila = filaActual(), columna = columnaActual();
    if (fila < 0 || columna < 0)
        return;
    const QRect r = MsFlexGrid1->visualRect(MsFlexGrid1->model()->index(fila, columna));
    if (r.bottom() > MsFlexGrid1->viewport()->height())
        MsFlexGrid1->verticalScrollBar()->setValue(MsFlexGrid1->verticalScrollBar()->value() + 1);
}

void frmProrrata::abrirEdicion(int fila, int columna)
{
    filaEdit_ = fila;
    columnaEdit_ = columna;
    MsFlexGrid1->scrollTo(MsFlexGrid1->model()->index(fila, columna));
    txtEdit->setGeometry(MsFlexGrid1->visualRect(MsFlexGrid1->model()->index(fila, columna)));
    txtEdit->show();
    TextPropiedades(columna);
}

void frmProrrata::MsflexGridEdt(int caracter)
{
    rutinaDeGrilla(QStringLiteral("MSFLEXGRIDEDT"), true)([&] {
        const int fila = filaActual(), columna = columnaActual();
        if (fila < 0)
            return;
        if (ColEdit(columna, fila)) {
            abrirEdicion(fila, columna);
            if (caracter > 32 || caracter < 0)
                txtEdit->setText(QString(QChar(char16_t(caracter))));
            else
                txtEdit->setText(celda(fila, columna));
            txtEdit->setCursorPosition(int(txtEdit->text().size()));
            desplazarSiHaceFalta();
            txtEdit->setFocus();
            return;
        }
        // The amounts of the split preview take no typing: the key goes nowhere else.
        if (columna == ColImporte) {
            QApplication::beep();
            return;
        }
        if (fila == MsFlexGrid1->rowCount() - 1)
            MsFlexGrid1->insertRow(MsFlexGrid1->rowCount());
        irA(fila, 1);
        // A character typed there starts the cost centre's edit, so none of it is lost.
        if ((caracter > 32 || caracter < 0) && columnaActual() == 1)
            MsflexGridEdt(caracter);
    });
}

// Delete empties the current cell: a cost centre as an emptied centre is confirmed (its
// line's description and percentage go too), a percentage to nothing (no total can break).
void frmProrrata::borrarCelda()
{
    const int fila = filaActual(), columna = columnaActual();
    if (fila < 0 || edicionAbierta() || !ColEdit(columna, fila) || celda(fila, columna).trimmed().isEmpty())
        return;
    if (columna == 3) {
        fijarCelda(fila, 3, QString());
        actualizarTotal();
        return;
    }
    abrirEdicion(fila, columna);
    txtEdit->clear();
    confirmarEdicion();
}

bool frmProrrata::confirmarEdicion()
{
    if (!edicionAbierta())
        return true;
    if (confirmando_)
        return false; // its message is still up
    confirmando_ = true;
    const int columnaAntes = columnaActual();
    TextPropiedades(columnaEdit_);
    ValidarCampo(txtEdit);
    confirmando_ = false;
    if (HayError) {
        volverAEdicion();
        return false;
    }
    fijarCelda(filaEdit_, columnaEdit_, txtEdit->text());
    ocultarEdicion();
    TextPropiedades(columnaAntes);
    actualizarTotal();
    return true;
}

// The focus goes to the grid first: a focused edit box that hides passes the focus on, and
// the grid takes that as a Tab to the next cell.
void frmProrrata::ocultarEdicion()
{
    if (txtEdit->hasFocus())
        MsFlexGrid1->setFocus();
    txtEdit->hide();
}

// Back to the cell whose edit did not pass, its text kept, once the event that left it
// (a click, a key) is over.
void frmProrrata::volverAEdicion()
{
    // Keys typed right after the message go on in the edit box, not to the cell the grid moved to.
    if (edicionAbierta() && isActiveWindow())
        txtEdit->setFocus();
    volviendoPendiente_ = true;
    QTimer::singleShot(0, this, [this] {
        volviendoPendiente_ = false;
        if (!edicionAbierta() || filaEdit_ < 0)
            return;
        SSTab1->setCurrentIndex(0);
        if (filaActual() != filaEdit_ || columnaActual() != columnaEdit_) {
            volviendo_ = true;
            irA(filaEdit_, columnaEdit_);
            volviendo_ = false;
        }
        txtEdit->setGeometry(MsFlexGrid1->visualRect(MsFlexGrid1->model()->index(filaEdit_, columnaEdit_)));
        TextPropiedades(columnaEdit_);
        activateWindow();
        txtEdit->setFocus();
    });
}

void frmProrrata::revisarCodigoAbandonado(Qt::FocusReason razon)
{
    if (txtFields[0]->text().trimmed().isEmpty() || Codigo() == codigoAbierto_ || !isActiveWindow())
        return;
    QWidget* destino = QApplication::focusWidget();
    ValidarCampo(txtFields[0]);
    if (HayError) {
        txtFields[0]->setFocus();
        return;
    }
    if (razon == Qt::MouseFocusReason && destino && destino != txtFields[0] && destino->isEnabled() && destino->isVisible())
        destino->setFocus(razon);
    else
        suite::AvanzarFoco(Qt::Key_Return, txtFields[0]);
}

// The focus went elsewhere (another field, the tab, a check box) with a cell being edited.
void frmProrrata::revisarEdicionAbandonada()
{
    if (edicionAbierta() && !confirmando_ && !volviendoPendiente_ && QApplication::focusWidget() != txtEdit && isActiveWindow())
        confirmarEdicion();
}

void frmProrrata::MsflexKey(int tecla)
{
    if (tecla == Qt::Key_Insert) {
        const int fila = filaActual();
        MsFlexGrid1->insertRow(fila + 1);
    }
}

// The edit has been confirmed (or, for Escape, dropped) before a key moves on. Keys typed
// meanwhile wait, so they land where this one leads.
void frmProrrata::EditKeyCode(int tecla)
{
    rutinaDeGrilla(QStringLiteral("EditKeyCode"), false)([&] {
        const int fila = filaActual(), columna = columnaActual();
        const int ultima = MsFlexGrid1->rowCount() - 1;
        switch (tecla) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MsFlexGrid1->setFocus();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (columna == 1 || columna == 2)
                irA(fila, 3);
            else if (fila < ultima)
                irA(fila + 1, 1);
            break;
        case Qt::Key_Escape:
            ocultarEdicion();
            irA(filaEdit_ >= 0 ? filaEdit_ : fila, columnaEdit_ >= 0 ? columnaEdit_ : columna);
            actualizarTotal();
            break;
        case Qt::Key_Up:
            MsFlexGrid1->setFocus();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (fila > 0)
                irA(fila - 1, columna);
            break;
        case Qt::Key_Down:
            MsFlexGrid1->setFocus();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (fila < ultima)
                irA(fila + 1, 0);
            break;
        default:
            break;
        }
        desplazarSiHaceFalta();
    });
}

// ---- Split preview, copy, CSV ----------------------------------------------------------

// The amount typed split among the lines with a cost centre, in the currency format; what a
// table below 100 % leaves is shown apart. Nothing of it is stored.
void frmProrrata::ActualizarReparto()
{
    const suite::Regional& r = suite::RegionalActual();
    const QString texto = txtImporte->text().trimmed();
    MsFlexGrid1->setColumnHidden(ColImporte, texto.isEmpty());
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila)
        if (MsFlexGrid1->item(fila, ColImporte))
            fijarCelda(fila, ColImporte, QString());
    lblSinDistribuir->clear();
    if (texto.isEmpty())
        return;
    const auto importe = suite::Moneda::leer(texto, r.decimal, r.miles);
    if (!importe) {
        lblSinDistribuir->setText(titulo("El importe no es un número"));
        return;
    }
    std::vector<int> filas;
    std::vector<suite::Moneda> porcentajes;
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila)
        if (!celda(fila, 1).trimmed().isEmpty()) {
            filas.push_back(fila);
            porcentajes.push_back(suite::ValorNumerico(celda(fila, 3)));
        }
    const auto reparto = RepartirImporte(*importe, porcentajes, r.digitos);
    if (!reparto) {
        lblSinDistribuir->setText(titulo("Los porcentajes superan el 100 %: no se reparte"));
        return;
    }
    const auto moneda = [&](suite::Moneda m) {
        bool miles = true;
        short ancho = 0;
        return FmtMoneda(m.texto(r.decimal), 0, miles, ancho);
    };
    for (size_t i = 0; i < filas.size(); ++i)
        fijarCelda(filas[i], ColImporte, moneda(reparto->importes[i]));
    lblSinDistribuir->setText(titulo("Sin distribuir: ") + moneda(reparto->sinDistribuir));
}

// Enter in the amount: written in the currency format, and back to the lines.
void frmProrrata::confirmarImporte()
{
    const suite::Regional& r = suite::RegionalActual();
    const QString texto = txtImporte->text().trimmed();
    if (!texto.isEmpty()) {
        const auto importe = suite::Moneda::leer(texto, r.decimal, r.miles);
        if (!importe) {
            error(titulo("Debe ingresar un importe numérico"));
            txtImporte->setFocus();
            txtImporte->selectAll();
            return;
        }
        bool miles = true;
        short ancho = 0;
        txtImporte->setText(FmtMoneda(importe->texto(r.decimal), 0, miles, ancho));
    }
    MsFlexGrid1->setFocus();
}

// A new table with the open one's name, concept, flag and lines under the next free code,
// in editing and not saved. The accounts stay with their table.
void frmProrrata::Copiar()
{
    if (!editando_ || !confirmarEdicion())
        return;
    const QString origen = codigoAbierto_.trimmed();
    if (HayCambios()) {
        const QString pregunta = titulo("La tabla ") + origen + titulo(" tiene cambios sin grabar. La copia los lleva; la tabla ")
            + origen + titulo(" queda como está grabada.") + QStringLiteral("\n") + titulo("¿Desea copiarla?");
        if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbQuestion, titulo("Atención")) != suite::vbYes)
            return;
    }
    const QString nuevo = almacen_.SiguienteCodigo();
    if (nuevo.isEmpty()) {
        error(titulo("No queda ningún código libre de cuatro dígitos para la copia."));
        return;
    }
    const QString nombre = txtFields[2]->text(), concepto = txtFields[1]->text();
    const bool pide = ChkPideConf->isChecked();
    std::vector<std::array<QString, 3>> lineas;
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila)
        if (!celda(fila, 1).trimmed().isEmpty() || !celda(fila, 3).trimmed().isEmpty())
            lineas.push_back({celda(fila, 1), celda(fila, 2), celda(fila, 3)});

    Limpiar();
    txtFields[0]->setText(nuevo);
    ModoEdicion(true);
    recordarAbierta(true); // an empty new table: the copied lines are changes not yet saved
    txtFields[2]->setText(nombre);
    txtFields[1]->setText(concepto);
    ChkPideConf->setChecked(pide);
    while (MsFlexGrid1->rowCount() < int(lineas.size()))
        MsFlexGrid1->insertRow(MsFlexGrid1->rowCount());
    for (int i = 0; i < int(lineas.size()); ++i)
        for (int c = 0; c < 3; ++c)
            fijarCelda(i, c + 1, lineas[size_t(i)][size_t(c)]);
    actualizarTotal();
    txtFields[2]->setFocus();
    txtFields[2]->selectAll();
}

namespace {
QString carpetaDocumentos()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return d.isEmpty() || !QDir(d).exists() ? QDir::homePath() : d;
}
} // namespace

// The open table (when the user says so) or every table, as stored, to a CSV file.
void frmProrrata::Exportar()
{
    QString codigo;
    if (editando_ && !abiertaNueva_ && !codigoAbierto_.trimmed().isEmpty()) {
        QString pregunta = titulo("¿Desea exportar sólo la tabla Código: ") + codigoAbierto_.trimmed() + QStringLiteral("?\n\n")
            + titulo("Sí: sólo esta tabla.") + QStringLiteral("\n") + titulo("No: todas las tablas.");
        if (HayCambios())
            pregunta += QStringLiteral("\n\n") + titulo("Se exporta lo grabado: los cambios sin grabar no se incluyen.");
        const int r = suite::MsgBox(pregunta, suite::vbYesNoCancel + suite::vbQuestion, titulo("Exportar a planilla"));
        if (r != suite::vbYes && r != suite::vbNo)
            return;
        if (r == suite::vbYes)
            codigo = codigoAbierto_;
    }
    const std::vector<planilla::TablaPlanilla> tablas = almacen_.TablasParaPlanilla(codigo);
    if (tablas.empty()) {
        suite::MsgBox(titulo("No hay tablas de distribución grabadas para exportar."), suite::vbInformation,
                      QStringLiteral("Aviso al Usuario"));
        return;
    }
    suite::DialogoArchivo d;
    d.TituloDialogo = titulo("Exportar a planilla CSV");
    d.Filtro = QStringLiteral("Planillas CSV|*.csv");
    d.NombreArchivo = QDir(carpetaDocumentos())
                          .filePath(codigo.isEmpty() ? QStringLiteral("tablas_distribucion.csv")
                                                     : QStringLiteral("tabla_distribucion_") + codigo.trimmed() + QStringLiteral(".csv"));
    d.MostrarGuardar();
    if (d.Cancelado || d.NombreArchivo.trimmed().isEmpty())
        return;
    QString ruta = d.NombreArchivo;
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".csv");
    // Written aside and put in place whole: a failure leaves any earlier file as it was.
    const QByteArray contenido = planilla::Escribir(tablas, suite::RegionalActual().decimal);
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size() || !archivo.commit()) {
        suite::MsgBox(titulo("No se pudo escribir el archivo ") + QDir::toNativeSeparators(ruta) + QStringLiteral(":\n")
                          + archivo.errorString(),
                      suite::vbCritical, titulo("ATENCIÓN"));
        return;
    }
    size_t lineas = 0;
    for (const planilla::TablaPlanilla& t : tablas)
        lineas += t.lineas.size();
    suite::MsgBox(QStringLiteral("Se exportaron %1 y %2 a\n").arg(tablas.size() == 1 ? titulo("1 tabla") : QStringLiteral("%1 tablas").arg(tablas.size()),
                                                                   lineas == 1 ? titulo("1 línea") : titulo("%1 líneas").arg(lineas))
                      + QDir::toNativeSeparators(ruta),
                  suite::vbInformation, QStringLiteral("Aviso al Usuario"));
}

// Tables from a CSV file: every row checked first, every fault listed in one message; then,
// confirmed, all saved in one transaction, or none.
void frmProrrata::Importar()
{
    if (editando_)
        return;
    suite::DialogoArchivo d;
    d.TituloDialogo = titulo("Importar tablas desde una planilla CSV");
    d.Filtro = QStringLiteral("Planillas CSV|*.csv|Todos los archivos|*");
    d.MostrarAbrir();
    if (d.Cancelado || d.NombreArchivo.trimmed().isEmpty())
        return;
    const QString ruta = QDir::toNativeSeparators(d.NombreArchivo);
    constexpr qint64 Maximo = 64 * 1024 * 1024;
    QFile archivo(d.NombreArchivo);
    if (!archivo.open(QIODevice::ReadOnly)) {
        suite::MsgBox(titulo("No se pudo abrir el archivo ") + ruta + QStringLiteral(":\n") + archivo.errorString(), suite::vbCritical,
                      titulo("ATENCIÓN"));
        return;
    }
    if (archivo.size() > Maximo) {
        suite::MsgBox(titulo("El archivo ") + ruta + titulo(" es demasiado grande para una planilla de tablas (más de 64 MB)."),
                      suite::vbExclamation, QStringLiteral("Aviso al Operador"));
        return;
    }
    const QByteArray contenido = archivo.readAll();
    const QSet<QString> centros = almacen_.Centros();
    const planilla::Lectura lectura =
        planilla::Leer(contenido, [&](const QString& c) { return centros.contains(c.trimmed().toUpper()); });
    if (!lectura.errores.isEmpty()) {
        suite::MsgBox(planilla::MensajeErrores(lectura.errores), suite::vbExclamation, QStringLiteral("Aviso al Operador"));
        return;
    }
    const QSet<QString> existentes = almacen_.CodigosExistentes();
    QStringList reemplazadas;
    for (const planilla::TablaPlanilla& t : lectura.tablas)
        if (existentes.contains(AlmacenDistribucion::Codigo(t.codigo).toUpper()))
            reemplazadas << t.codigo;
    const QString cuantas = (lectura.tablas.size() == 1 ? titulo("1 tabla") : QStringLiteral("%1 tablas").arg(lectura.tablas.size()))
        + QStringLiteral(" con ") + (lectura.filas == 1 ? titulo("1 línea") : titulo("%1 líneas").arg(lectura.filas));
    QString pregunta = titulo("Se importarán ") + cuantas + titulo(" del archivo ") + ruta + QStringLiteral(".");
    if (!reemplazadas.isEmpty()) {
        constexpr int Nombradas = 20;
        QString lista = reemplazadas.mid(0, Nombradas).join(QStringLiteral(", "));
        if (reemplazadas.size() > Nombradas)
            lista += titulo(" y %1 más").arg(reemplazadas.size() - Nombradas);
        pregunta += QStringLiteral("\n") + titulo("Reemplazarán las líneas de las tablas que ya existen: ") + lista
            + titulo(" (sus cuentas asignadas se conservan).");
    }
    pregunta += QStringLiteral("\n") + titulo("¿Confirma?");
    if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbQuestion, titulo("Atención")) != suite::vbYes)
        return;
    if (almacen_.GrabarTablas(lectura.tablas))
        suite::MsgBox(titulo("Se importaron ") + cuantas + QStringLiteral("."), suite::vbInformation, QStringLiteral("Aviso al Usuario"));
}

// ---- Account page ---------------------------------------------------------------------

void frmProrrata::Agregar()
{
    ControlActual = txtFields[3];
    ValidarCampo(txtFields[3]);
    if (HayError)
        return;
    almacen_.Asignar(txtFields[3]->text(), txtFields[0]->text());
    mdlCuentas->agregar({{txtFields[3]->text(), lblCuenta->text().trimmed()}});
    txtFields[3]->clear();
    lblCuenta->setText(QStringLiteral("..."));
    txtFields[3]->setFocus();
}

// Accounts chosen together: each is checked as if typed (a refused one says why and is left
// out), then all those that pass are assigned in one transaction, or none.
void frmProrrata::AgregarVarias(const QStringList& elegidas)
{
    ControlActual = txtFields[3];
    QStringList cuentas;
    std::vector<ModeloCuentas::Cuenta> filas;
    setUpdatesEnabled(false); // one repaint at the end, not one per account
    for (const QString& elegida : elegidas) {
        txtFields[3]->setText(elegida.trimmed());
        ValidarCampo(txtFields[3]);
        if (HayError)
            continue;
        cuentas << txtFields[3]->text();
        filas.emplace_back(txtFields[3]->text(), lblCuenta->text().trimmed());
    }
    setUpdatesEnabled(true);
    if (!cuentas.isEmpty() && almacen_.AsignarVarias(cuentas, txtFields[0]->text()))
        mdlCuentas->agregar(std::move(filas));
    txtFields[3]->clear();
    lblCuenta->setText(QStringLiteral("..."));
    txtFields[3]->setFocus();
}

void frmProrrata::Quitar()
{
    const QModelIndex fila = ListView1->currentIndex();
    if (mdlCuentas->rowCount() == 0 || !fila.isValid())
        return;
    const QString cuenta = mdlCuentas->cuenta(fila.row()).first;
    if (cuenta.trimmed().isEmpty())
        return;
    const QString pregunta = titulo("Está seguro de quitar la cuenta (") + cuenta
        + titulo(") de la tabla de distribución de Centros de Costos código: ") + Codigo() + QStringLiteral(" ? ");
    if (suite::MsgBox(pregunta, suite::vbQuestion + suite::vbYesNo, titulo("Atención")) != suite::vbYes)
        return;
    almacen_.Desasignar(cuenta);
    mdlCuentas->quitar(fila.row());
}

void frmProrrata::cambioDePagina(int pagina)
{
    if (cambiandoPagina_)
        return;
    suite::Rutina r([](const suite::ErrorRT&) { return suite::Rutina::Seguir; });
    r([&] {
        if (pagina == 0) {
            UtilVela1->GrabarEnabled(true);
            paginaAnterior_ = 0;
            return;
        }
        // Accounts are stored as they are assigned, so the table they go to is saved first, with
        // any edit still unsaved: a later Cancelar would otherwise drop the edit and keep them.
        // On a table opened from the store, a cell being edited is confirmed first (before the
        // query below lets its focus change be handled): one that does not pass keeps the lines
        // in front. A new table's edit is confirmed by the save it is asked for.
        const bool abiertaGrabada = !abiertaNueva_ && Codigo() == codigoAbierto_;
        if (abiertaGrabada && !confirmarEdicion()) {
            cambiandoPagina_ = true;
            SSTab1->setCurrentIndex(0);
            cambiandoPagina_ = false;
            txtEdit->setFocus(); // the edit is not left again: its message is not repeated
            return;
        }
        const bool grabada = almacen_.TablaGrabada(txtFields[0]->text());
        if (!grabada || HayCambios()) {
            const QString motivo = grabada
                ? titulo("La Tabla de Distribución tiene cambios sin grabar y las cuentas se asignan en el momento.")
                : titulo("No se puede realizar la asignación de Cuentas sin haber grabado la Tabla de Distribución.");
            const QString pregunta = motivo + QStringLiteral("\n") + titulo("¿Desea guardar la información en este momento?");
            const bool guardar = suite::MsgBox(pregunta, suite::vbQuestion + suite::vbYesNo, titulo("Atención")) == suite::vbYes;
            if (guardar) {
                // The same checks as the save command: the lines as they will be stored.
                Validando = true;
                if (confirmarEdicion() && ValidarTodo()) {
                    Grabar();
                    if (!HayError)
                        recordarAbierta(false);
                } else {
                    HayError = true;
                }
                Validando = false;
            }
            if (!guardar || HayError) {
                // Accounts go only to a saved table: back to the lines, with Grabar on.
                cambiandoPagina_ = true;
                SSTab1->setCurrentIndex(0);
                cambiandoPagina_ = false;
                UtilVela1->GrabarEnabled(true);
                return;
            }
        }
        UtilVela1->GrabarEnabled(false);
        txtFields[3]->setFocus();
        paginaAnterior_ = 1;
    });
}

// ---- Keys, focus and mouse ------------------------------------------------------------

bool frmProrrata::teclaDeCampo(QLineEdit* campo, int tecla)
{
    if (!suite::EsTeclaAvance(tecla))
        return false;
    ValidarCampo(campo);
    if (!HayError) {
        activateWindow();
        suite::AvanzarFoco(tecla, focusWidget() ? focusWidget() : campo);
    }
    return true;
}

bool frmProrrata::teclaDeGrilla(QKeyEvent* k)
{
    // Key down, then key press, as the grid receives them.
    rutinaDeGrilla(QStringLiteral("MSFlexGrid1_KeyDown"), false)([&] {
        MsflexKey(k->key());
        ControlActual = txtEdit;
        TextPropiedades(columnaActual());
        txtEdit->setText(txtEdit->text().trimmed());
    });
    if (k->key() == Qt::Key_Delete && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))) {
        borrarCelda();
        return true;
    }
    const QString texto = k->text();
    // Enter and Backspace open the cell with its own text.
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Backspace) {
        MsflexGridEdt(k->key() == Qt::Key_Backspace ? 8 : 13);
        return true;
    }
    if (!texto.isEmpty() && texto[0].isPrint() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        MsflexGridEdt(texto[0].unicode());
        return true;
    }
    return false;
}

bool frmProrrata::teclaDeEdicion(QKeyEvent* k)
{
    const int tecla = k->key();
    ControlActual = txtEdit;
    // Enter confirms; Up and Down confirm and move; Escape leaves the cell as it was.
    if (tecla == Qt::Key_Escape) {
        EditKeyCode(tecla);
        return true;
    }
    if (suite::EsTeclaAvance(tecla) || tecla == Qt::Key_Up || tecla == Qt::Key_Down) {
        try {
            if (confirmarEdicion())
                EditKeyCode(tecla);
        } catch (const std::exception&) {
        }
        return true;
    }
    TextPropiedades(columnaActual());
    const QString texto = k->text();
    if (!texto.isEmpty() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = suite::FiltrarTecla(txtEdit, texto[0]);
        if (c.isNull())
            return true; // swallowed
        if (c != texto[0] && c.isPrint()) {
            txtEdit->insert(QString(c));
            return true;
        }
    }
    return false;
}

bool frmProrrata::eventFilter(QObject* o, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(o);
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Key preview: the form hands Esc and the function keys to the bar, except the
        // Escape that ends an edit in the grid.
        // F7 and F8 run the bar's copy and import items while usable; F9 goes to the amount.
        if (k->key() == Qt::Key_F7 || k->key() == Qt::Key_F8) {
            const QString item = k->key() == Qt::Key_F7 ? QStringLiteral("COPIAR") : QStringLiteral("IMPORTAR");
            if (UtilVela1->ItemVisible(item) && UtilVela1->ItemEnabled(item))
                Comando(item);
            return true;
        }
        if (k->key() == Qt::Key_F9) {
            if (editando_ && confirmarEdicion()) {
                SSTab1->setCurrentIndex(0);
                txtImporte->setFocus(Qt::ShortcutFocusReason);
                txtImporte->selectAll();
            }
            return true;
        }
        if (o == txtImporte && suite::EsTeclaAvance(k->key())) {
            confirmarImporte();
            return true;
        }
        const int codigo = UtilVela::CodigoTecla(k->key());
        if (codigo != 0 && !(o == txtEdit && k->key() == Qt::Key_Escape)) {
            UtilVela1->KeyAnalisis(codigo);
            return true;
        }
        if (o == txtEdit)
            return teclaDeEdicion(k);
        // Enter on a button or on the multiple-entry box acts on it. On the 100 % flag it moves
        // on, as in the fields above it: a flag flipped by Enter would change the table unseen.
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            if (o == cmdAgregar || o == cmdQuitar || o == chkMultiple) {
                static_cast<QAbstractButton*>(o)->click();
                return true;
            }
            if (o == ChkPideConf) {
                MsFlexGrid1->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        if (o == MsFlexGrid1)
            return teclaDeGrilla(k);
        if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo))
            return teclaDeCampo(campo, k->key());
        return false;
    }
    if (e->type() == QEvent::FocusIn) {
        if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo)) {
            colorDeFondo(campo, QColor(0, 255, 255));
            ControlActual = campo;
            UtilVela1->ConsultaEnabled(!tag(campo).trimmed().isEmpty());
        } else if (o == txtEdit) {
            ControlActual = txtEdit;
            TextPropiedades(columnaActual());
        } else if (o == MsFlexGrid1) {
            ControlActual = txtEdit;
            TextPropiedades(columnaActual());
            UtilVela1->ConsultaEnabled(!tag(txtEdit).trimmed().isEmpty());
        }
        return false;
    }
    if (e->type() == QEvent::FocusOut) {
        if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo))
            colorDeFondo(campo, Qt::white);
        // Leaving the edit box for anything but a dialog ends the edit as Enter does; leaving
        // a changed code with Tab or the mouse opens that table as Enter does.
        const auto razon = static_cast<QFocusEvent*>(e)->reason();
        if (o == txtEdit && razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason)
            QTimer::singleShot(0, this, &frmProrrata::revisarEdicionAbandonada);
        if (o == txtFields[0] && (razon == Qt::TabFocusReason || razon == Qt::BacktabFocusReason || razon == Qt::MouseFocusReason))
            QTimer::singleShot(0, this, [this, razon] { revisarCodigoAbandonado(razon); });
        return false;
    }
    if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
        if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo)) {
            ControlActual = campo;
            Consultar();
            return true;
        }
        if (w == MsFlexGrid1->viewport()) {
            // The clicked cell is the one looked up: it becomes current first, the edit of the
            // cell left confirmed as a click confirms it (one that does not pass stays).
            const QModelIndex i = MsFlexGrid1->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint());
            if (i.isValid() && (i.row() != filaActual() || i.column() != columnaActual())) {
                if (!confirmarEdicion())
                    return true;
                irA(i.row(), i.column());
            }
            ControlActual = txtEdit;
            TextPropiedades(columnaActual());
            Consultar();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void frmProrrata::closeEvent(QCloseEvent* e)
{
    if (!abandonarCambios()) {
        e->ignore();
        return;
    }
    e->accept();
    QApplication::quit(); // closing the form ends the program
}
