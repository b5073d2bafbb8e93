#include "lookup/Lib_FrmCons3Tree.h"

#include "data/DB_Dll.h"
#include "startup/CNStuffContable.h"
#include "suite/SuiteUtil.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

using consulta::contiene;
using consulta::rutinaConAviso;
using consulta::textoCampo;

namespace {

// "a, b, c" with at most a screenful of codes.
QString listaCodigos(const QStringList& codigos)
{
    constexpr int Maximo = 20;
    QStringList l = codigos.mid(0, Maximo);
    for (QString& c : l)
        c = u'"' + c + u'"';
    QString t = l.join(QStringLiteral(", "));
    if (codigos.size() > Maximo)
        t += QStringLiteral(" y %1 más").arg(codigos.size() - Maximo);
    return t;
}

constexpr long ErrClaveRepetida = 35602; // the tree's "key is not unique"
constexpr long ErrElementoInexistente = 3265;

} // namespace

// ---- ModeloArbol ------------------------------------------------------------------------

void ModeloArbol::vaciar()
{
    beginResetModel();
    arbol_.vaciar();
    endResetModel();
}

void ModeloArbol::fijarMarcas(bool si)
{
    beginResetModel();
    marcas_ = si;
    endResetModel();
}

QModelIndex ModeloArbol::indiceDe(int nodo) const
{
    if (nodo < 0 || nodo >= arbol_.cantidad())
        return {};
    return createIndex(arbol_.nodo(nodo).fila, 0, quintptr(nodo));
}

QModelIndex ModeloArbol::index(int fila, int columna, const QModelIndex& padre) const
{
    if (columna != 0 || fila < 0)
        return {};
    if (!padre.isValid())
        return fila == 0 ? createIndex(0, 0, quintptr(0)) : QModelIndex();
    const auto& hijos = arbol_.nodo(nodoDe(padre)).hijos;
    if (fila >= int(hijos.size()))
        return {};
    return createIndex(fila, 0, quintptr(hijos[size_t(fila)]));
}

QModelIndex ModeloArbol::parent(const QModelIndex& hijo) const
{
    if (!hijo.isValid())
        return {};
    return indiceDe(arbol_.nodo(nodoDe(hijo)).padre);
}

int ModeloArbol::rowCount(const QModelIndex& padre) const
{
    if (!padre.isValid())
        return 1; // the root node
    return int(arbol_.nodo(nodoDe(padre)).hijos.size());
}

QVariant ModeloArbol::data(const QModelIndex& i, int rol) const
{
    if (!i.isValid())
        return {};
    const ArbolCodigos::Nodo& n = arbol_.nodo(nodoDe(i));
    if (rol == Qt::DisplayRole)
        return arbol_.texto(nodoDe(i));
    if (rol == Qt::CheckStateRole && marcas_)
        return n.marcado ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ModeloArbol::setData(const QModelIndex& i, const QVariant& v, int rol)
{
    if (!i.isValid() || rol != Qt::CheckStateRole || !marcas_)
        return false;
    marcar(nodoDe(i), v.toInt() == Qt::Checked);
    return true;
}

void ModeloArbol::marcar(int nodo, bool si)
{
    const int nivel = arbol_.nodo(nodo).nivel;
    const std::vector<int> cambiados = arbol_.marcar(nodo, si);
    const QModelIndex i = indiceDe(nodo);
    Q_EMIT dataChanged(i, i, {Qt::CheckStateRole});
    // Whole families of children changed together: one notice per family.
    for (int c : cambiados) {
        const ArbolCodigos::Nodo& n = arbol_.nodo(c);
        if (n.hijos.empty() || n.nivel - nivel >= ArbolCodigos::NivelesMarcados)
            continue;
        Q_EMIT dataChanged(indiceDe(n.hijos.front()), indiceDe(n.hijos.back()), {Qt::CheckStateRole});
    }
}

Qt::ItemFlags ModeloArbol::flags(const QModelIndex& i) const
{
    if (!i.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (marcas_)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

// ---- Lib_FrmCons3Tree -------------------------------------------------------------------

Lib_FrmCons3Tree::Lib_FrmCons3Tree(QWidget* parent) : DialogoConsulta(parent)
{
    setWindowTitle(QStringLiteral("Consulta..."));
    modelo_ = new ModeloArbol(this);

    picFields = new QWidget(this);
    picFields->setObjectName(QStringLiteral("picFields"));
    CmbSearch = new QLineEdit(picFields);
    CmbSearch->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    CmbSearch->installEventFilter(this);
    auto* cajas = new QHBoxLayout(picFields);
    cajas->setContentsMargins(0, 0, 0, 0);
    cajas->addWidget(CmbSearch);

    crearEstado();

    TreeV = new QTreeView(this);
    TreeV->setModel(modelo_);
    TreeV->setHeaderHidden(true);
    TreeV->setUniformRowHeights(true); // a chart of many thousand centres lays out at once
    TreeV->setRootIsDecorated(true);
    TreeV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeV->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeV->setExpandsOnDoubleClick(false); // a double click accepts
    TreeV->header()->setStretchLastSection(true);
    connect(TreeV, &QTreeView::doubleClicked, this, [this] { Aceptar(); });

    crearBotones();
    auto* botones = new QHBoxLayout(Frame1);
    botones->setContentsMargins(0, 0, 0, 0);
    botones->addWidget(CmdAceptar);
    botones->addStretch();
    botones->addWidget(cmdCancelar);
    botones->addStretch();
    botones->addWidget(CmdNueva);
    connect(CmbSearch, &QLineEdit::textChanged, this, [this] { buscarIncremental(); });

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(picFields);
    todo->addWidget(lblEstado);
    todo->addWidget(TreeV, 1);
    todo->addWidget(Frame1);
    setTabOrder(CmbSearch, TreeV);
    setTabOrder(TreeV, CmdAceptar);
    // A fixed layout: the dialog keeps its size.
    const QFontMetrics fm(font());
    setFixedSize(std::max(fm.horizontalAdvance(QString(48, u'X')), 420), fm.height() * 28);
}

Lib_FrmCons3Tree::~Lib_FrmCons3Tree() = default;

QString Lib_FrmCons3Tree::SentenciaFamilias()
{
    return QStringLiteral("SELECT     TOP 100 PERCENT IdFamilia, Descripcion, ")
        + QStringLiteral("(SELECT     TOP 1 idfamilia FROM @Admin_v_ta_familias a  ")
        + QStringLiteral(" Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < Len(LTrim(RTrim(b.IdFamilia)))) ")
        + QStringLiteral(" ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia");
}

QString Lib_FrmCons3Tree::SentenciaFiltrada(const QString& sql, const QString& texto, QString* base_, QString* cola)
{
    QString base = sql;
    QString tail;
    if (contiene(sql, QStringLiteral("order"))) {
        const qsizetype orden = sql.indexOf(QStringLiteral("order by"), 0, Qt::CaseInsensitive);
        if (orden >= 0) {
            tail = sql.mid(orden);
            base = sql.left(orden);
        }
    }
    if (cola)
        *cola = tail;
    if (base_)
        *base_ = base;
    const QString union_ = contiene(sql, QStringLiteral("where")) ? QStringLiteral(" and ") : QStringLiteral(" where ");
    // The typed text goes into the statement as a literal: its quotes doubled.
    return base + union_ + QStringLiteral("Descripcion like '%") + QString(texto).replace(u'\'', QStringLiteral("''"))
        + QStringLiteral("%' ") + tail;
}

void Lib_FrmCons3Tree::Cargar()
{
    if (SqlInicial.isEmpty())
        SqlInicial = Sql;
    sinCoincidencia_.clear();
    mostrarEstado();
    suite::Rutina r = rutinaConAviso(QStringLiteral("FORM_LOAD"));
    r([&] { Valores = QStringList(); })
     ([&] {
         modelo_->vaciar();
         modelo_->fijarMarcas(CheckBoxes);
     })
     ([&] {
         if (contiene(Sql, QStringLiteral("v_ta_familias")))
             ArmarTreeVFamilias();
         else
             ArmarTreeVAutomatico();
     });
}

void Lib_FrmCons3Tree::ArmarTreeVFamilias() { armar(Armado::Familias); }

void Lib_FrmCons3Tree::ArmarTreeVAutomatico() { armar(Armado::PorPrefijo); }

void Lib_FrmCons3Tree::armar(Armado como)
{
    struct Fila {
        QString codigo, descripcion, relativo;
    };
    std::vector<Fila> filas;
    ado::Recordset rs;
    if (como == Armado::Familias)
        Sql = SentenciaFamilias();
    modelo_->vaciar();

    suite::Rutina r = rutinaConAviso(QStringLiteral("ArmarTreeVAutomatico"));
    r([&] {
        QString s = Sql;
        gDB.AbrirRecordset(s, rs, &gDB.gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    })
     ([&] {
         filas.clear();
         if (rs.State() != ado::adStateOpen || rs.EOF_())
             return;
         const int columnas = como == Armado::Familias ? 3 : 2;
         if (rs.FieldCount() < columnas)
             suite::Lanzar(ErrElementoInexistente,
                           QStringLiteral("La consulta del árbol necesita %1 columnas (código, descripción%2) y trae %3.")
                               .arg(columnas)
                               .arg(como == Armado::Familias ? QStringLiteral(", familia superior") : QString())
                               .arg(rs.FieldCount()),
                           QStringLiteral("Lib_FrmCons3Tree"));
         for (; !rs.EOF_(); rs.MoveNext()) {
             Fila f{textoCampo(rs.Fields(0).Value()).trimmed(), textoCampo(rs.Fields(1).Value()).trimmed(), {}};
             if (como == Armado::Familias) {
                 const QVariant rel = rs.Fields(2).Value();
                 f.relativo = rel.isNull() ? QString() : textoCampo(rel).trimmed();
             }
             filas.push_back(std::move(f));
         }
     })
     ([&] { gDB.CierraRecordset(&rs); });
    if (r.abandonada())
        gDB.CierraRecordset(&rs);

    // Rows whose node cannot be added are left out and named once, after the whole tree.
    QStringList repetidos, sinPadre;
    modelo_->comenzar();
    ArbolCodigos& arbol = modelo_->arbol();
    arbol.reservar(int(filas.size()));
    for (const Fila& f : filas) {
        const ArbolCodigos::Alta a = como == Armado::Familias ? arbol.agregarBajo(f.codigo, f.descripcion, f.relativo)
                                                              : arbol.agregarPorPrefijo(f.codigo, f.descripcion);
        if (a == ArbolCodigos::Alta::Repetido)
            repetidos << f.codigo;
        else if (a == ArbolCodigos::Alta::SinPadre)
            sinPadre << f.codigo;
    }
    modelo_->terminar();
    const QModelIndex raiz = modelo_->indiceDe(0);
    TreeV->expand(raiz);
    TreeV->setCurrentIndex(raiz);

    QStringList avisos;
    if (!repetidos.isEmpty())
        avisos << (repetidos.size() == 1 ? QStringLiteral("El código %1 está repetido (o vacío) y se dejó fuera del árbol.")
                                         : QStringLiteral("Los códigos %1 están repetidos (o vacíos) y se dejaron fuera del árbol."))
                      .arg(listaCodigos(repetidos));
    if (!sinPadre.isEmpty())
        avisos << QStringLiteral("Se dejaron fuera del árbol las familias %1: su familia superior no está en la consulta.")
                      .arg(listaCodigos(sinPadre));
    if (!avisos.isEmpty())
        AvisoError(suite::ErrorRT{ErrClaveRepetida, avisos.join(u' '), QStringLiteral("Lib_FrmCons3Tree")},
                   suite::vbOKOnly + suite::vbExclamation, QStringLiteral("ArmarTreeVAutomatico"));
}

void Lib_FrmCons3Tree::seleccionar(int nodo)
{
    const QModelIndex i = modelo_->indiceDe(nodo);
    if (!i.isValid())
        return;
    TreeV->setCurrentIndex(i);
    TreeV->scrollTo(i); // opens the branches above it
}

void Lib_FrmCons3Tree::buscarIncremental()
{
    const int n = modelo_->arbol().buscar(CmbSearch->text());
    if (n >= 0) {
        sinCoincidencia_.clear();
        seleccionar(n);
    } else {
        // No node starts with it: nothing is highlighted, so Enter chooses nothing.
        TreeV->selectionModel()->clear();
        sinCoincidencia_ = CmbSearch->text().trimmed();
    }
    mostrarEstado();
}

void Lib_FrmCons3Tree::mostrarEstado()
{
    QStringList lineas;
    if (!filtros_.isEmpty())
        lineas << lineaDeFiltros();
    if (!sinCoincidencia_.isEmpty())
        lineas << QStringLiteral("Ningún código ni descripción empieza con «%1».").arg(sinCoincidencia_);
    lblEstado->setText(lineas.join(u'\n'));
    lblEstado->setVisible(!lineas.isEmpty());
}

// Back to the lookup's first statement: the F5 filters are dropped.
void Lib_FrmCons3Tree::NuevaBusqueda()
{
    if (!SqlInicial.isEmpty())
        Sql = SqlInicial;
    filtros_.clear();
    {
        const QSignalBlocker b(CmbSearch);
        CmbSearch->clear();
    }
    Cargar();
    CmbSearch->setFocus();
}

void Lib_FrmCons3Tree::nuevoFiltro()
{
    suite::Rutina r([](const suite::ErrorRT&) { return int(suite::vbIgnore); });
    r([&] {
        // The family tree always shows its fixed statement: no filter is in force there.
        const bool familias = contiene(Sql, QStringLiteral("v_ta_familias"));
        Sql = SentenciaFiltrada(Sql, CmbSearch->text(), &SqlBase, &SqlCola);
        if (!familias && !CmbSearch->text().trimmed().isEmpty())
            filtros_ << QStringLiteral("Descripcion contiene «%1»").arg(CmbSearch->text().trimmed());
    })
     ([&] {
         const QSignalBlocker b(CmbSearch);
         CmbSearch->clear();
     })
     ([&] { Cargar(); });
}

void Lib_FrmCons3Tree::Aceptar()
{
    const ArbolCodigos& arbol = modelo_->arbol();
    const QString campo = CampoDevuelto.trimmed().toUpper();
    // The value of the found row's column named CampoDevuelto; nothing when not found.
    auto buscar = [&](const QString& tabla, const QString& columna, const QString& codigo) -> std::optional<QString> {
        ado::Recordset rs;
        std::optional<QString> v;
        if (gDB.ExisteEnTabla(tabla, codigo, columna, &rs, 8, QString(), true))
            v = textoCampo(suite::SinNulo(rs.Fields(CampoDevuelto.trimmed()).Value()));
        gDB.CierraRecordset(&rs);
        return v;
    };

    suite::Rutina r = rutinaConAviso(QStringLiteral("HScroll1_Change"));
    r([&] {
        if (!Valores)
            Valores = QStringList();
    });
    if (CheckBoxes) {
        // The root stands for no row: only the rows' nodes count.
        for (int i = 1; i < arbol.cantidad() && !r.abandonada(); ++i) {
            if (!arbol.nodo(i).marcado)
                continue;
            const QString codigo = arbol.nodo(i).codigo;
            r([&] {
                if (campo == QLatin1String("IDFAMILIA") || campo == QLatin1String("CODIGO"))
                    Valores->append(codigo.trimmed());
                else if (campo == QLatin1String("IDPOSICION"))
                    if (const auto v = buscar(QStringLiteral("MA_POSICIONES"), QStringLiteral("IDPOSICION"), codigo))
                        Valores->append(*v);
            });
        }
    } else {
        // The highlighted node; with none, nothing is chosen.
        const QModelIndexList elegidos = TreeV->selectionModel()->selectedIndexes();
        const int nodo = elegidos.isEmpty() ? -1 : ModeloArbol::nodoDe(elegidos.front());
        const QString codigo = nodo < 0 ? QString() : arbol.nodo(nodo).codigo;
        r([&] {
            if (nodo < 0) {
                ValorDevuelto = QString();
                return;
            }
            if (campo == QLatin1String("IDFAMILIA")) {
                ValorDevuelto = buscar(QStringLiteral("@admin_V_TA_FAMILIAS"), QStringLiteral("IDFAMILIA"), codigo).value_or(QString());
            } else if (campo == QLatin1String("IDPOSICION")) {
                ValorDevuelto = buscar(QStringLiteral("MA_POSICIONES"), QStringLiteral("IDPOSICION"), codigo).value_or(QString());
            } else if (campo == QLatin1String("CODIGO")) {
                auto v = buscar(QStringLiteral("TA_CCOSTO"), QStringLiteral("CODIGO"), codigo);
                if (!v)
                    v = buscar(QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO"), codigo);
                ValorDevuelto = v.value_or(QString());
            }
        });
    }
    hide();
    done(QDialog::Accepted);
}

bool Lib_FrmCons3Tree::eventFilter(QObject* o, QEvent* e)
{
    if (o != CmbSearch)
        return QDialog::eventFilter(o, e);
    if (e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_F5) {
            nuevoFiltro();
            return true;
        }
        if (tecla == Qt::Key_Down || tecla == Qt::Key_Up || tecla == Qt::Key_PageDown || tecla == Qt::Key_PageUp) {
            TreeV->setFocus();
            return true;
        }
    } else if (e->type() == QEvent::MouseButtonPress) {
        buscarIncremental();
    }
    return QDialog::eventFilter(o, e);
}
