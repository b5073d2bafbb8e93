#include "distribution/GrillaLineas.h"

#include "distribution/ComandosHoja.h"
#include "distribution/EditorComun.h"
#include "distribution/frmProrrata.h"

#include "startup/CNStuffContable.h"
#include "suite/Dialogos.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"
#include "toolbar/UtilVela.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace editor;

namespace {

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

} // namespace

// Page 0: the percentage grid, its edit box and the total.
QWidget* GrillaLineas::construirPaginaLineas()
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
    MsFlexGrid1->installEventFilter(&f);
    MsFlexGrid1->viewport()->installEventFilter(&f);
    capa0->addWidget(MsFlexGrid1);
    txtEdit = new QLineEdit(MsFlexGrid1->viewport());
    txtEdit->setFrame(false);
    txtEdit->hide();
    txtEdit->installEventFilter(&f);
    txtEdit->setContextMenuPolicy(Qt::NoContextMenu);
    lblPorc = new QLabel(QStringLiteral("0 %"), pagina0);
    lblPorc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPorc->setStyleSheet(QStringLiteral("font-weight: bold; padding-right: 8px;"));
    // The split preview: an amount typed here shows, beside each line, the part it receives.
    f.txtImporte = new QLineEdit(pagina0);
    f.txtImporte->setObjectName(QStringLiteral("txtImporte"));
    f.txtImporte->setProperty(suite::PropConservar, true); // kept from one table to the next
    f.txtImporte->setAlignment(Qt::AlignRight);
    f.txtImporte->setMaxLength(20);
    f.txtImporte->setFixedWidth(140);
    f.txtImporte->setToolTip(titulo("Importe a repartir entre las líneas, al centavo; no se graba (F9)"));
    f.lblSinDistribuir = new QLabel(pagina0);
    f.lblSinDistribuir->setObjectName(QStringLiteral("lblSinDistribuir"));
    auto* pie = new QHBoxLayout;
    pie->addWidget(f.etiqueta("&Importe a distribuir:", f.txtImporte));
    pie->addWidget(f.txtImporte);
    pie->addSpacing(8);
    pie->addWidget(f.lblSinDistribuir);
    pie->addStretch(1);
    pie->addWidget(lblPorc);
    capa0->addLayout(pie);
    QObject::connect(f.txtImporte, &QLineEdit::textChanged, &f, &frmProrrata::ActualizarReparto);

    QObject::connect(MsFlexGrid1, &QTableWidget::currentCellChanged, &f, [this](int fila, int columna, int filaAntes, int columnaAntes) {
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
        f.ControlActual = txtEdit;
        if (!edicionAbierta())
            txtEdit->clear();
        TextPropiedades(columna);
        f.UtilVela1->ConsultaEnabled(!tag(txtEdit).trimmed().isEmpty());
        (void)fila;
    });
    QObject::connect(MsFlexGrid1, &QTableWidget::cellClicked, &f, [this](int, int columna) {
        f.ControlActual = txtEdit;
        TextPropiedades(columna);
    });
    QObject::connect(MsFlexGrid1, &QTableWidget::cellDoubleClicked, &f, [this](int, int) { MsflexGridEdt(32); });
    return pagina0;
}

// The line changes only when the new cost centre passes; a different one empties the line's
// description and percentage.
void GrillaLineas::validarCentro(QLineEdit* editor, const QString& texto)
{
    const int fila = editor == txtEdit ? filaEdit_ : filaActual();
    const bool otro = texto.compare(celda(fila, 1).trimmed(), Qt::CaseInsensitive) != 0;
    if (!texto.isEmpty()) {
        for (int otra = 0; otra < MsFlexGrid1->rowCount(); ++otra)
            if (otra != fila && celda(otra, 1).trimmed().compare(texto, Qt::CaseInsensitive) == 0) {
                f.error(titulo("El centro de costo ") + texto + titulo(" ya figura en la línea ") + numeroDeLinea(otra));
                return;
            }
    }
    ado::Recordset rs;
    if (!texto.isEmpty() && !f.almacen_.ExisteCentro(texto, &rs)) {
        f.error(QStringLiteral("El código ingresado es inexistente!!!"));
        return;
    }
    if (otro || texto.isEmpty()) {
        fijarCelda(fila, 2, QString());
        fijarCelda(fila, 3, QString());
    }
    if (!texto.isEmpty())
        fijarCelda(fila, 2, suite::TextoVariant(rs.Fields(QStringLiteral("Descripcion")).Value()));
    actualizarTotal();
}

void GrillaLineas::validarPorcentaje(QLineEdit* editor, const QString& texto)
{
    const int fila = editor == txtEdit ? filaEdit_ : filaActual();
    if (texto.isEmpty()) {
        // A line without its cost centre is an empty line, not a mistake.
        if (!celda(fila, 1).trimmed().isEmpty())
            f.error(QStringLiteral("Debe ingresar un porcentaje"));
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
        f.error(titulo("Debe ingresar un valor numérico"));
        return;
    }
    if (*valor < suite::Moneda()) {
        f.error(titulo("El porcentaje no puede ser negativo"));
        return;
    }
    if (celda(fila, 1).trimmed().isEmpty()) {
        f.error(titulo("Debe ingresar el centro de costo de la línea ") + numeroDeLinea(fila) + titulo(" antes de su porcentaje"));
        return;
    }
    const QString formateado = FmtMoneda(texto, -1);
    editor->setText(formateado);
    // The total is checked with the new value; a refused value leaves the cell as it was.
    const QString antes = celda(fila, 3);
    fijarCelda(fila, 3, formateado);
    if (!ValidarPorcentajes()) {
        f.HayError = true;
        fijarCelda(fila, 3, antes);
    }
}

bool GrillaLineas::errorEnCelda(int fila, int columna, const QString& mensaje)
{
    f.cambiandoPagina_ = true;
    f.SSTab1->setCurrentIndex(0);
    f.cambiandoPagina_ = false;
    irA(fila, columna);
    MsFlexGrid1->setFocus();
    f.error(mensaje);
    return false;
}

// Every line again, as it will be saved: a cost centre that exists, once, with a
// percentage; no percentage without its cost centre.
bool GrillaLineas::validarLineas()
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
        if (!f.almacen_.ExisteCentro(centro, nullptr))
            return errorEnCelda(fila, 1, titulo("El centro de costo ") + centro + titulo(" de la línea ") + linea
                                             + titulo(" es inexistente!!!"));
        const auto valor = suite::Moneda::leer(porcentaje, r.decimal, r.miles);
        if (!valor || *valor < suite::Moneda())
            return errorEnCelda(fila, 3, titulo("Debe ingresar un porcentaje en la línea ") + linea);
    }
    return true;
}

suite::Moneda GrillaLineas::totalLineas() const
{
    suite::Moneda total;
    for (int fila = 0; fila < MsFlexGrid1->rowCount(); ++fila)
        if (!celda(fila, 1).trimmed().isEmpty())
            total += suite::ValorNumerico(celda(fila, 3));
    return total;
}

void GrillaLineas::actualizarTotal()
{
    lblPorc->setText(FmtPorcentaje(totalLineas()) + QStringLiteral(" %"));
    f.ActualizarReparto();
}

bool GrillaLineas::ValidarPorcentajes()
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
    if (total < cien && f.ChkPideConf->isChecked() && f.Validando) {
        suite::MsgBox(titulo("La configuración de no pedir confirmación al usuario requiere se complete el 100 % de los pordentajes"),
                      suite::vbInformation, QStringLiteral("Aviso al Usuario"));
        return false;
    }
    return true;
}

QString GrillaLineas::celda(int fila, int columna) const
{
    const QTableWidgetItem* it = MsFlexGrid1->item(fila, columna);
    return it ? it->text() : QString();
}

void GrillaLineas::fijarCelda(int fila, int columna, const QString& texto)
{
    if (fila < 0 || columna < 0)
        return;
    QTableWidgetItem* it = MsFlexGrid1->item(fila, columna);
    if (!it) {
        it = new QTableWidgetItem;
        if (columna == 3 || columna == frmProrrata::ColImporte)
            it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (columna == frmProrrata::ColImporte)
            it->setForeground(QColor(0, 70, 140));
        if (columna == 0 || columna == 2)
            it->setForeground(columna == 0 ? QColor(110, 110, 110) : QColor(40, 40, 40));
        MsFlexGrid1->setItem(fila, columna, it);
    }
    it->setText(texto);
}

// Shown over its cell, even while the page of the grid is not the one in front.
bool GrillaLineas::edicionAbierta() const { return !txtEdit->isHidden(); }

int GrillaLineas::filaActual() const { return MsFlexGrid1->currentRow(); }
int GrillaLineas::columnaActual() const { return MsFlexGrid1->currentColumn(); }

void GrillaLineas::irA(int fila, int columna)
{
    MsFlexGrid1->setCurrentCell(fila, columna);
}

void GrillaLineas::MsFlex_Inicializa()
{
    txtEdit->hide();
    MsFlexGrid1->clear();
    MsFlexGrid1->setColumnCount(5);
    MsFlexGrid1->setRowCount(frmProrrata::LineasGrilla);
    MsFlexGrid1->setHorizontalHeaderLabels({QStringLiteral("Linea"), QStringLiteral("C. Costo"), titulo("Descripción"),
                                            QStringLiteral("Porcentaje"), QStringLiteral("Importe")});
    MsFlexGrid1->setColumnWidth(frmProrrata::ColImporte, 130);
    MsFlexGrid1->setColumnHidden(frmProrrata::ColImporte, f.txtImporte->text().trimmed().isEmpty());
    // Widths in twips, never narrower than the heading; the description takes what is left.
    const int anchos[] = {500, 1000, 3800, 1000};
    const QFontMetrics fm(MsFlexGrid1->horizontalHeader()->font());
    for (int c = 0; c < 4; ++c) {
        const int cabecera = fm.horizontalAdvance(MsFlexGrid1->horizontalHeaderItem(c)->text()) + 16;
        MsFlexGrid1->setColumnWidth(c, std::max(anchos[c] / TwipsPorPixel, cabecera));
    }
    MsFlexGrid1->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (int fila = 0; fila < frmProrrata::LineasGrilla; ++fila) {
        fijarCelda(fila, 0, QString::number(fila + 1));
        MsFlexGrid1->item(fila, 0)->setTextAlignment(Qt::AlignCenter);
    }
    MsFlexGrid1->setCurrentCell(0, 1);
}

void GrillaLineas::TextPropiedades(int columna)
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

void GrillaLineas::desplazarSiHaceFalta()
{
    const int fila = filaActual(), columna = columnaActual();
    if (fila < 0 || columna < 0)
        return;
    const QRect r = MsFlexGrid1->visualRect(MsFlexGrid1->model()->index(fila, columna));
    if (r.bottom() > MsFlexGrid1->viewport()->height())
        MsFlexGrid1->verticalScrollBar()->setValue(MsFlexGrid1->verticalScrollBar()->value() + 1);
}

void GrillaLineas::abrirEdicion(int fila, int columna)
{
    filaEdit_ = fila;
    columnaEdit_ = columna;
    MsFlexGrid1->scrollTo(MsFlexGrid1->model()->index(fila, columna));
    txtEdit->setGeometry(MsFlexGrid1->visualRect(MsFlexGrid1->model()->index(fila, columna)));
    txtEdit->show();
    TextPropiedades(columna);
}

void GrillaLineas::MsflexGridEdt(int caracter)
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
        if (columna == frmProrrata::ColImporte) {
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
void GrillaLineas::borrarCelda()
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

bool GrillaLineas::confirmarEdicion()
{
    if (!edicionAbierta())
        return true;
    if (confirmando_)
        return false; // its message is still up
    confirmando_ = true;
    const int columnaAntes = columnaActual();
    TextPropiedades(columnaEdit_);
    f.ValidarCampo(txtEdit);
    confirmando_ = false;
    if (f.HayError) {
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
void GrillaLineas::ocultarEdicion()
{
    if (txtEdit->hasFocus())
        MsFlexGrid1->setFocus();
    txtEdit->hide();
}

// Back to the cell whose edit did not pass, its text kept, once the event that left it
// (a click, a key) is over.
void GrillaLineas::volverAEdicion()
{
    // Keys typed right after the message go on in the edit box, not to the cell the grid moved to.
    if (edicionAbierta() && f.isActiveWindow())
        txtEdit->setFocus();
    volviendoPendiente_ = true;
    QTimer::singleShot(0, &f, [this] {
        volviendoPendiente_ = false;
        if (!edicionAbierta() || filaEdit_ < 0)
            return;
        f.SSTab1->setCurrentIndex(0);
        if (filaActual() != filaEdit_ || columnaActual() != columnaEdit_) {
            volviendo_ = true;
            irA(filaEdit_, columnaEdit_);
            volviendo_ = false;
        }
        txtEdit->setGeometry(MsFlexGrid1->visualRect(MsFlexGrid1->model()->index(filaEdit_, columnaEdit_)));
        TextPropiedades(columnaEdit_);
        f.activateWindow();
        txtEdit->setFocus();
    });
}
// The focus went elsewhere (another field, the tab, a check box) with a cell being edited.
void GrillaLineas::revisarEdicionAbandonada()
{
    if (edicionAbierta() && !confirmando_ && !volviendoPendiente_ && QApplication::focusWidget() != txtEdit && f.isActiveWindow())
        confirmarEdicion();
}

void GrillaLineas::MsflexKey(int tecla)
{
    if (tecla == Qt::Key_Insert) {
        const int fila = filaActual();
        MsFlexGrid1->insertRow(fila + 1);
    }
}

// The edit has been confirmed (or, for Escape, dropped) before a key moves on. Keys typed
// meanwhile wait, so they land where this one leads.
void GrillaLineas::EditKeyCode(int tecla)
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


bool GrillaLineas::teclaDeGrilla(QKeyEvent* k)
{
    // Key down, then key press, as the grid receives them.
    rutinaDeGrilla(QStringLiteral("MSFlexGrid1_KeyDown"), false)([&] {
        MsflexKey(k->key());
        f.ControlActual = txtEdit;
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

bool GrillaLineas::teclaDeEdicion(QKeyEvent* k)
{
    const int tecla = k->key();
    f.ControlActual = txtEdit;
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
