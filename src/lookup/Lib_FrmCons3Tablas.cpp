// The list lookup's extras for the suite's tables: article stock colours, the maintenance
// program of "N&uevo", quantities typed on the rows and the shortage report (F12).
#include "lookup/Lib_FrmCons3.h"

#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "suite/Dialogos.h"
#include "suite/Regional.h"
#include "suite/Reloj.h"
#include "suite/SuiteUtil.h"

#include <QKeyEvent>
#include <QTableView>
#include <algorithm>

using consulta::rutinaConAviso;

namespace {

QString formatoCantidad(suite::Moneda v, int decimales)
{
    return v.formatear(decimales, suite::RegionalActual().decimal);
}

constexpr long ErrSinFila = 91;
constexpr long ErrElementoInexistente = 3265;

} // namespace

int Lib_FrmCons3::NivelStock(suite::Moneda puntoPedido, suite::Moneda stock)
{
    const suite::Moneda cero;
    if (puntoPedido == cero && stock > cero)
        return 1;
    if (puntoPedido > cero && stock > puntoPedido)
        return 2;
    if (puntoPedido > cero && stock < puntoPedido)
        return 3;
    return 4;
}

QColor Lib_FrmCons3::ColorConfigurado(const QVariant& valor)
{
    QString t = valor.toString().trimmed();
    if (t.isEmpty())
        return {};
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        t = t.mid(2);
        if (t.endsWith(u'&'))
            t.chop(1);
        v = t.toLongLong(&ok, 16);
    } else {
        v = t.toLongLong(&ok, 10);
    }
    if (!ok || v < 0 || v > 0xFFFFFF)
        return {};
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

Lib_FrmCons3::Mantenimiento Lib_FrmCons3::ProgramaMantenimiento(const QString& tabla)
{
    const QString t = tabla.trimmed();
    auto es = [&t](const char* nombre) { return t.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0; };
    if (es("V_TA_RUBROS") || es("V_TA_UNIDAD"))
        return {QStringLiteral("SHELL:V_TA_TABLAS"), t};
    if (es("VT_CLIENTES"))
        return {QStringLiteral("SHELL:V_MA_CLIENTES"), QStringLiteral("1")};
    if (es("VT_PROVEEDORES"))
        return {QStringLiteral("SHELL:V_MA_CLIENTES"), QStringLiteral("0")};
    if (es("V_TA_Tecnicos"))
        return {QStringLiteral("SHELL:V_TA_Tecnicos"), {}};
    if (es("V_TA_VENDEDORES"))
        return {QStringLiteral("SHELL:V_TA_VENDEDORES"), {}};
    if (es("V_MA_ARTICULOS") || es("VT_MA_ARTICULOS"))
        return {QStringLiteral("SHELL:V_MA_ARTICULOS"), {}};
    return {QStringLiteral("SHELL:V_TA_TABLAS"), t};
}

void Lib_FrmCons3::TeclaCantidad(int tecla, Qt::KeyboardModifiers modificadores)
{
    suite::Rutina r = rutinaConAviso(QStringLiteral("ListView1_KeyDown"));
    r([&] {
        const QModelIndex actual = ListView1->currentIndex();
        if (!actual.isValid())
            suite::Lanzar(ErrSinFila, QStringLiteral("No hay un artículo seleccionado en la lista."), QStringLiteral("Lib_FrmCons3"));
        const int columna = IndiceColumna(TituloCantidad());
        if (columna == 0)
            suite::Lanzar(ErrElementoInexistente, QStringLiteral("La consulta no tiene la columna de cantidades (%1).").arg(TituloCantidad()),
                          QStringLiteral("Lib_FrmCons3"));
        const int fila = actual.row();
        const int c = columna - 1;
        const suite::Moneda uno = suite::Moneda::desdeEntero(1);
        const suite::Moneda cero;
        const bool shift = modificadores & Qt::ShiftModifier;
        if (tecla == Qt::Key_Insert && shift) {
            const auto respuesta = suite::InputBox(QStringLiteral("Ingrese la Cantidad del Articulo..."),
                                                   QStringLiteral("Carga de Datos"), modelo_->celda(fila, c));
            if (!respuesta)
                return; // cancelled: the quantity stays as it was
            suite::Moneda q;
            if (!respuesta->trimmed().isEmpty()) {
                const suite::Regional& reg = suite::RegionalActual();
                const auto leida = suite::Moneda::leer(*respuesta, reg.decimal, reg.miles);
                if (!leida) {
                    suite::MsgBox(QStringLiteral("La cantidad ingresada (%1) no es un número.").arg(respuesta->trimmed()),
                                  suite::vbExclamation, QStringLiteral("Aviso al Operador"));
                    return;
                }
                q = *leida;
            }
            // Zero (or less) is no quantity: the row is left out, as Delete leaves it.
            modelo_->fijarCelda(fila, c, formatoCantidad(std::max(q, cero), 2));
            modelo_->marcar(fila, q > cero);
        } else if (tecla == Qt::Key_Insert) {
            modelo_->fijarCelda(fila, c, formatoCantidad(suite::ValorNumerico(modelo_->celda(fila, c)) + uno, 1));
            modelo_->marcar(fila, true);
        } else if (tecla == Qt::Key_Delete && !shift) {
            const suite::Moneda q = suite::ValorNumerico(modelo_->celda(fila, c)) - uno;
            if (q <= cero) {
                modelo_->fijarCelda(fila, c, formatoCantidad(cero, 2));
                modelo_->marcar(fila, false);
            } else {
                modelo_->fijarCelda(fila, c, formatoCantidad(q, 1));
            }
        }
    });
}

void Lib_FrmCons3::InformarFaltante()
{
    suite::Rutina r = rutinaConAviso(QStringLiteral("Form_KeyDown"));
    r([&] {
        const QModelIndex actual = ListView1->currentIndex();
        if (!actual.isValid())
            suite::Lanzar(ErrSinFila, QStringLiteral("No hay un artículo seleccionado en la lista."), QStringLiteral("Lib_FrmCons3"));
        const QString id = valorDeFila(actual.row(), QStringLiteral("idarticulo")).trimmed();
        const QString desc = valorDeFila(actual.row(), QStringLiteral("Descripcion")).trimmed();
        if (suite::MsgBox(QStringLiteral("Desea informar el articulo ") + id + u' ' + desc + QStringLiteral("\ncomo un faltante de stock?"),
                          suite::vbYesNo + suite::vbQuestion, QStringLiteral("Atención!"))
            != suite::vbYes)
            return;
        QString usuario = gUsuarioLogeado.isEmpty() ? gDB.gUsuario : gUsuarioLogeado;
        // Texts go in as literals: an apostrophe in a description must not lose the shortage.
        auto literal = [](QString t) { return u'\'' + t.replace(u'\'', QStringLiteral("''")) + u'\''; };
        QString s = QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values(")
            + literal(suite::TextoVariant(suite::Ahora())) + u',' + literal(suite::FormatoCodigo(id, 25)) + u','
            + literal(desc) + u',' + literal(usuario) + u')';
        long n = 0;
        gDB.gCnn.Errors().Clear();
        gDB.EjecutaConsultaSQL(s, n);
        // A shortage that was not written must not pass for reported.
        QString error;
        if (gDB.gCnn.Errors().Count() > 0)
            error = gDB.gCnn.Errors().Item(0).Description;
        else if (!gDB.ErroresDescartados().empty())
            error = gDB.ErroresDescartados().front().Description;
        if (!error.isEmpty())
            suite::MsgBox(QStringLiteral("No se pudo informar el faltante del articulo ") + id + QStringLiteral(":\n") + error,
                          suite::vbCritical, QStringLiteral("Aviso al Operador"));
    });
}

void Lib_FrmCons3::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F12) {
        if (EsArticulos)
            InformarFaltante();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
