#include "distribution/frmProrrata.h"

#include "distribution/ComandosHoja.h"
#include "distribution/ComandosRevision.h"
#include "distribution/EditorComun.h"
#include "distribution/GrillaLineas.h"
#include "distribution/PaginaCuentas.h"

#include "data/Sesion.h"
#include "startup/CNStuffContable.h"
#include "startup/Estilos.h"
#include "suite/Ini.h"
#include "suite/Dialogos.h"
#include "suite/Formularios.h"
#include "suite/SuiteUtil.h"
#include "toolbar/BolsaPropiedades.h"
#include "toolbar/UtilVela.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdio>

using namespace editor;

namespace {

// The background of an enabled field; a disabled one keeps the disabled look.
void colorDeFondo(QLineEdit* e, const QColor& c)
{
    QPalette p = e->palette();
    p.setColor(QPalette::Active, QPalette::Base, c);
    p.setColor(QPalette::Inactive, QPalette::Base, c);
    e->setPalette(p);
}

} // namespace

frmProrrata::frmProrrata(QWidget* parent)
    : QWidget(parent)
    , grilla_(std::make_unique<GrillaLineas>(*this))
    , cuentas_(std::make_unique<PaginaCuentas>(*this))
    , hoja_(std::make_unique<ComandosHoja>(*this))
    , revision_(std::make_unique<ComandosRevision>(*this))
{
    setObjectName(QStringLiteral("frmProrrata"));
    setWindowTitle(Titulo);
    construir();
}

frmProrrata::~frmProrrata() = default;

// The form builds its bar and header and takes its two pages from their parts, then wires them.
void frmProrrata::construir()
{
    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 8);
    principal->setSpacing(8);
    principal->addWidget(construirBarra());
    principal->addLayout(construirCabecera());
    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(grilla_->construirPaginaLineas(), titulo("Distribución"));
    SSTab1->addTab(cuentas_->construirPaginaCuentas(), titulo("Asignación"));
    MsFlexGrid1 = grilla_->MsFlexGrid1;
    txtEdit = grilla_->txtEdit;
    lblPorc = grilla_->lblPorc;
    lblCuenta = cuentas_->lblCuenta;
    cmdAgregar = cuentas_->cmdAgregar;
    cmdQuitar = cuentas_->cmdQuitar;
    chkMultiple = cuentas_->chkMultiple;
    ListView1 = cuentas_->ListView1;
    mdlCuentas = cuentas_->mdlCuentas;
    principal->addWidget(SSTab1, 1);
    principal->setContentsMargins(0, 0, 0, 8);
    SSTab1->setContentsMargins(12, 0, 12, 0);
    for (QWidget* w : {static_cast<QWidget*>(cmdAgregar), static_cast<QWidget*>(cmdQuitar), static_cast<QWidget*>(chkMultiple),
                       static_cast<QWidget*>(ListView1), static_cast<QWidget*>(SSTab1->tabBar()), static_cast<QWidget*>(txtImporte)})
        w->installEventFilter(this);

    connect(cmdAgregar, &QPushButton::clicked, this, &frmProrrata::Agregar);
    connect(cmdQuitar, &QPushButton::clicked, this, &frmProrrata::Quitar);
    connect(chkMultiple, &QCheckBox::clicked, this, [this] { txtFields[3]->setFocus(); });
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int columna) { cuentas_->ordenarPor(columna); });
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int pagina) { cuentas_->cambioDePagina(pagina); });

    setTabOrder(txtFields[0], txtFields[2]);
    setTabOrder(txtFields[2], txtFields[1]);
    setTabOrder(txtFields[1], ChkPideConf);
    setTabOrder(ChkPideConf, SSTab1);
    resize(800, 620); // the bar's twelve items in one row (64 pixels each)
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
    UtilVela1->AddItem(QStringLiteral("HISTORIAL"), QStringLiteral("Historial"),
                       titulo("Historial de cambios de esta tabla: quién, cuándo y qué cambió; restaurar una versión (F11)"));
    UtilVela1->AddItem(QStringLiteral("VERIFICAR"), QStringLiteral("Verificar"),
                       titulo("Verificar la consistencia de todas las tablas de distribución y sus cuentas (F12)"));
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



void frmProrrata::Form_Load(const QString& lineaComandos)
{
    IniciarSesion(lineaComandos);
    if (gDB.gOpenFlag) {
        QString error;
        if (!almacen_.PrepararHistorial(error))
            suite::MsgBox(titulo("No se pudo crear el historial de las tablas de distribución (") + HistorialDistribucion::Tabla
                              + QStringLiteral("):\n") + error + QStringLiteral("\n")
                              + titulo("Las grabaciones no quedarán registradas en el historial hasta que un usuario con permiso "
                                       "para crear tablas abra el editor."),
                          suite::vbExclamation, QStringLiteral("Aviso al Operador"));
    }
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
        const QString centro = grilla_->celda(fila, 1).trimmed(), porcentaje = grilla_->celda(fila, 3).trimmed();
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
    if (grilla_->edicionAbierta() && txtEdit->text().trimmed() != grilla_->celda(grilla_->filaEdicion(), grilla_->columnaEdicion()).trimmed())
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

// The routines the parts keep, under the form's names.
bool frmProrrata::ValidarPorcentajes() { return grilla_->ValidarPorcentajes(); }
void frmProrrata::MsFlex_Inicializa() { grilla_->MsFlex_Inicializa(); }
void frmProrrata::TextPropiedades(int columna) { grilla_->TextPropiedades(columna); }
bool frmProrrata::ColEdit(int columna, int fila) { return GrillaLineas::ColEdit(columna, fila); }
void frmProrrata::MsflexGridEdt(int caracter) { grilla_->MsflexGridEdt(caracter); }
void frmProrrata::EditKeyCode(int tecla) { grilla_->EditKeyCode(tecla); }
void frmProrrata::MsflexKey(int tecla) { grilla_->MsflexKey(tecla); }
void frmProrrata::ActualizarReparto() { hoja_->ActualizarReparto(); }
void frmProrrata::Copiar() { hoja_->Copiar(); }
void frmProrrata::Exportar() { hoja_->Exportar(); }
void frmProrrata::Importar() { hoja_->Importar(); }
void frmProrrata::Historial() { revision_->Historial(); }
void frmProrrata::Restaurar(const EstadoTabla& e, const QString& descripcion) { revision_->Restaurar(e, descripcion); }
void frmProrrata::Verificar() { revision_->Verificar(); }
void frmProrrata::AbrirTabla(const QString& codigo) { revision_->AbrirTabla(codigo); }
void frmProrrata::Agregar() { cuentas_->Agregar(); }
void frmProrrata::AgregarVarias(const QStringList& cuentas) { cuentas_->AgregarVarias(cuentas); }
void frmProrrata::Quitar() { cuentas_->Quitar(); }

// ---- Command cycle --------------------------------------------------------------------

void frmProrrata::Comando(QString texto)
{
    const QString clave = texto.trimmed().toUpper();
    // A value being typed in a cell is confirmed before a command that uses the lines.
    if ((clave == QLatin1String("GRABAR") || clave == QLatin1String("REPORTE")) && !grilla_->confirmarEdicion())
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
            hoja_->Exportar();
        } else if (clave == QLatin1String("IMPORTAR")) {
            hoja_->Importar();
        } else if (clave == QLatin1String("COPIAR")) {
            hoja_->Copiar();
        } else if (clave == QLatin1String("HISTORIAL")) {
            revision_->Historial();
        } else if (clave == QLatin1String("VERIFICAR")) {
            revision_->Verificar();
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
     ([&] { grilla_->MsFlex_Inicializa(); })
     ([&] { hoja_->ActualizarReparto(); })
     ([&] {
         mdlCuentas->fijar({});
         ListView1->setColumnWidth(0, 1500 / TwipsPorPixel);
         ListView1->setColumnWidth(1, 4000 / TwipsPorPixel);
         cuentas_->olvidarOrden();
     })
     ([&] { ModoEdicion(false); })
     ([&] {
         grilla_->olvidarEdicion();
         codigoAbierto_.clear();
         abiertaNueva_ = false;
         huellaCargada_.clear();
         guardada_.clear();
         motivo_ = {};
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
    UtilVela1->SetItemEnabled(QStringLiteral("HISTORIAL"), editando);
    UtilVela1->SetItemEnabled(QStringLiteral("IMPORTAR"), !editando); // tables replaced while none is open
    SSTab1->setEnabled(editando);
    if (editando)
        txtFields[0]->setFocus();
}

// A field or the cell edit checked as it is confirmed; HayError tells whether it passed.
void frmProrrata::ValidarCampo(QWidget* control)
{
    HayError = false;
    const QString campo = dataField(control).toUpper();
    auto* editor = qobject_cast<QLineEdit*>(control);
    if (!editor)
        return;
    const QString texto = editor->text().trimmed();
    if (campo == QLatin1String("CODIGO"))
        validarCodigo(editor, texto);
    else if (campo == QLatin1String("CUENTA"))
        validarCuenta(editor, texto);
    else if (campo == QLatin1String("CCOSTO"))
        grilla_->validarCentro(editor, texto);
    else if (campo == QLatin1String("PORCENTAJE"))
        grilla_->validarPorcentaje(editor, texto);
}

// A code confirmed opens its table (or a new one), once unsaved edits may be dropped.
void frmProrrata::validarCodigo(QLineEdit* editor, const QString& texto)
{
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
}

void frmProrrata::validarCuenta(QLineEdit* editor, const QString& texto)
{
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
}

bool frmProrrata::ValidarTodo()
{
    HayError = false;
    for (QLineEdit* campo : txtFields) {
        ValidarCampo(campo);
        if (HayError)
            return false;
    }
    if (!grilla_->validarLineas())
        return false;
    if (!grilla_->ValidarPorcentajes())
        HayError = true;
    return !HayError;
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
                    cuentas_->AgregarVarias(*v);
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
            if (!grilla_->edicionAbierta())
                grilla_->abrirEdicion(grilla_->filaActual(), grilla_->columnaActual());
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            grilla_->teclaDeEdicion(&enter);
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
        grilla_->fijarCelda(i, 1, t.lineas[size_t(i)].centro);
        grilla_->fijarCelda(i, 2, t.lineas[size_t(i)].descripcion);
        grilla_->fijarCelda(i, 3, t.lineas[size_t(i)].porcentaje);
    }
    grilla_->ValidarPorcentajes();
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
        lineas.emplace_back(grilla_->celda(fila, 1), grilla_->celda(fila, 3));
    const QString codigo = Codigo();
    QByteArray esperada = codigo == codigoAbierto_ && !abiertaNueva_ ? huellaCargada_ : QByteArray();
    for (;;) {
        QByteArray actual;
        const auto r = almacen_.Grabar(txtFields[0]->text(), txtFields[2]->text(), txtFields[1]->text(), ChkPideConf->isChecked(),
                                       lineas, esperada, actual, motivo_);
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


bool frmProrrata::eventFilter(QObject* o, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        return teclaDelForm(o, static_cast<QKeyEvent*>(e));
    case QEvent::FocusIn:
        focoEntra(o);
        return false;
    case QEvent::FocusOut:
        focoSale(o, static_cast<QFocusEvent*>(e)->reason());
        return false;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(e)->button() == Qt::RightButton && clicDerecho(o, static_cast<QMouseEvent*>(e)))
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(o, e);
}

bool frmProrrata::teclaDelForm(QObject* o, QKeyEvent* k)
{
    // Key preview: the form hands Esc and the function keys to the bar, except the
    // Escape that ends an edit in the grid.
    // F7, F8, F11 and F12 run the bar's copy, import, history and check items while usable;
    // F9 goes to the amount.
    static const QHash<int, QString> extras{{Qt::Key_F7, QStringLiteral("COPIAR")},
                                            {Qt::Key_F8, QStringLiteral("IMPORTAR")},
                                            {Qt::Key_F11, QStringLiteral("HISTORIAL")},
                                            {Qt::Key_F12, QStringLiteral("VERIFICAR")}};
    if (const auto e = extras.constFind(k->key()); e != extras.cend()) {
        const QString& item = *e;
        if (UtilVela1->ItemVisible(item) && UtilVela1->ItemEnabled(item))
            Comando(item);
        return true;
    }
    if (k->key() == Qt::Key_F9) {
        if (editando_ && grilla_->confirmarEdicion()) {
            SSTab1->setCurrentIndex(0);
            txtImporte->setFocus(Qt::ShortcutFocusReason);
            txtImporte->selectAll();
        }
        return true;
    }
    if (o == txtImporte && suite::EsTeclaAvance(k->key())) {
        hoja_->confirmarImporte();
        return true;
    }
    const int codigo = UtilVela::CodigoTecla(k->key());
    if (codigo != 0 && !(o == txtEdit && k->key() == Qt::Key_Escape)) {
        UtilVela1->KeyAnalisis(codigo);
        return true;
    }
    if (o == txtEdit)
        return grilla_->teclaDeEdicion(k);
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
        return grilla_->teclaDeGrilla(k);
    if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo))
        return teclaDeCampo(campo, k->key());
    return false;
}

void frmProrrata::focoEntra(QObject* o)
{
    if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo)) {
        colorDeFondo(campo, QColor(0, 255, 255));
        ControlActual = campo;
        UtilVela1->ConsultaEnabled(!tag(campo).trimmed().isEmpty());
    } else if (o == txtEdit) {
        ControlActual = txtEdit;
        grilla_->TextPropiedades(grilla_->columnaActual());
    } else if (o == MsFlexGrid1) {
        ControlActual = txtEdit;
        grilla_->TextPropiedades(grilla_->columnaActual());
        UtilVela1->ConsultaEnabled(!tag(txtEdit).trimmed().isEmpty());
    }
}

void frmProrrata::focoSale(QObject* o, Qt::FocusReason razon)
{
    if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo))
        colorDeFondo(campo, Qt::white);
    // Leaving the edit box for anything but a dialog ends the edit as Enter does; leaving
    // a changed code with Tab or the mouse opens that table as Enter does.
    if (o == txtEdit && razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason)
        QTimer::singleShot(0, this, [this] { grilla_->revisarEdicionAbandonada(); });
    if (o == txtFields[0] && (razon == Qt::TabFocusReason || razon == Qt::BacktabFocusReason || razon == Qt::MouseFocusReason))
        QTimer::singleShot(0, this, [this, razon] { revisarCodigoAbandonado(razon); });
}

// The right button looks up the value of the field, or of the cell, under the mouse.
bool frmProrrata::clicDerecho(QObject* o, QMouseEvent* m)
{
    if (auto* campo = qobject_cast<QLineEdit*>(o); campo && txtFields.contains(campo)) {
        ControlActual = campo;
        Consultar();
        return true;
    }
    if (o == MsFlexGrid1->viewport()) {
        // The clicked cell is the one looked up: it becomes current first, the edit of the
        // cell left confirmed as a click confirms it (one that does not pass stays).
        const QModelIndex i = MsFlexGrid1->indexAt(m->position().toPoint());
        if (i.isValid() && (i.row() != grilla_->filaActual() || i.column() != grilla_->columnaActual())) {
            if (!grilla_->confirmarEdicion())
                return true;
            grilla_->irA(i.row(), i.column());
        }
        ControlActual = txtEdit;
        grilla_->TextPropiedades(grilla_->columnaActual());
        Consultar();
        return true;
    }
    return false;
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
