#include "lookup/Lib_FrmCons3.h"

#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "startup/CNStuffContable.h"
#include "suite/Carpetas.h"
#include "suite/SuiteUtil.h"

#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QTextStream>
#include <algorithm>

using consulta::contiene;
using consulta::rutinaConAviso;
using consulta::textoCampo;

namespace {

const QString CajaCyan = QStringLiteral("QLineEdit { background: #00FFFF; }");
const QString CajaBlanca = QStringLiteral("QLineEdit { background: #FFFFFF; }");

int indiceSinCaso(const QString& texto, const QString& buscado, qsizetype desde = 0)
{
    return int(texto.indexOf(buscado, desde, Qt::CaseInsensitive));
}

suite::Moneda aMoneda(const QVariant& v)
{
    if (v.typeId() == qMetaTypeId<suite::Moneda>())
        return v.value<suite::Moneda>();
    return suite::ValorNumerico(textoCampo(v));
}

// Price columns of article lookups carry the names of the price lists.
QString tituloDePrecio(const QString& campo)
{
    static const QRegularExpression precio(QStringLiteral("^PRECIO([1-8])$"), QRegularExpression::CaseInsensitiveOption);
    const auto m = precio.match(campo.trimmed());
    if (!m.hasMatch())
        return campo;
    QString aux;
    const QString nombre = Cfg(QStringLiteral("NOM_PCLASE") + m.captured(1), aux);
    // A list without a name keeps the field's, rather than a blank title.
    return nombre.trimmed().isEmpty() ? campo : nombre.trimmed();
}

} // namespace

Lib_FrmCons3::Lib_FrmCons3(QWidget* parent) : DialogoConsulta(parent)
{
    construir();
}

Lib_FrmCons3::~Lib_FrmCons3() = default;

void Lib_FrmCons3::construir()
{
    setWindowTitle(QStringLiteral("Consulta..."));
    Label1 = new QLabel(QStringLiteral("CONSULTA"), this);
    Label1->setStyleSheet(QStringLiteral("font-weight: bold; padding: 2px;"));
    crearEstado();
    lblEstado->setStyleSheet(QStringLiteral("padding: 0px 2px;"));
    CmdTodos = new QPushButton(QStringLiteral("&Marcar"), this);
    CmdNuevo = new QPushButton(QStringLiteral("N&uevo"), this);
    for (auto* b : {CmdTodos, CmdNuevo}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
    }

    picFields = new QWidget(this);
    picFields->setObjectName(QStringLiteral("picFields"));

    modelo_ = new ModeloConsulta(this);
    ListView1 = new QTableView(picFields);
    ListView1->setModel(modelo_);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers); // rows are never edited in place
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 6);
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->horizontalHeader()->setSectionsClickable(true);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    ListView1->setWordWrap(false);
    ListView1->setTabKeyNavigation(false);
    ListView1->installEventFilter(this);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, [this] { Aceptar(); });
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this, &Lib_FrmCons3::clicEnTitulo);
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { ubicarCajas(); });
    connect(ListView1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { ubicarCajas(); });

    crearBotones();
    const int anchoBoton = std::max({CmdAceptar->sizeHint().width(), cmdCancelar->sizeHint().width(), CmdNueva->sizeHint().width()});
    for (auto* b : {CmdAceptar, cmdCancelar, CmdNueva})
        b->resize(anchoBoton, b->sizeHint().height());
    Frame1->resize(Frame1->width(), CmdAceptar->height() + TwipsAPixeles(120));
    // Narrow option lists still show both buttons, at half width, side by side.
    setMinimumWidth(anchoBoton + TwipsAPixeles(650));
    Frame1->raise();

    connect(CmdTodos, &QPushButton::clicked, this, [this] { Marcar(); });
    Lanzador = [](const QString& programa, const QString& parametro, qint64& PID) { EjecutarPrograma(programa, parametro, PID); };
    connect(CmdNuevo, &QPushButton::clicked, this, [this] {
        const Mantenimiento m = ProgramaMantenimiento(TablaFrom);
        qint64 pid = 0;
        if (Lanzador)
            Lanzador(m.programa, m.parametro, pid);
    });
    CmdTodos->setVisible(false);

    cajaDeBusqueda(0);
    const int alto = std::max(Label1->sizeHint().height(), CmdTodos->sizeHint().height());
    Label1->setGeometry(TwipsAPixeles(60), TwipsAPixeles(60), 100, alto);
    lblEstado->move(Label1->x(), Label1->geometry().bottom() + 1);
    picFields->move(0, Label1->geometry().bottom() + TwipsAPixeles(60));
    ListView1->move(TwipsAPixeles(60), CmbSearch[0]->sizeHint().height() + 2);
    resize(TwipsAPixeles(9000), TwipsAPixeles(6000));
}

// Sizes follow the dialog's outer size in twips, as the suite's lookup forms do.
void Lib_FrmCons3::aplicarReglas()
{
    const double W = PixelesATwips(frameGeometry().width());
    const double H = PixelesATwips(frameGeometry().height());
    const double FH = PixelesATwips(Frame1->height());
    const double panelAlto = H - FH - 480;
    const double listaAlto = panelAlto - FH - 600;
    const double panelAncho = W - 120;
    const double listaAncho = panelAncho - 20;
    // The status lines under the title take their height from the list.
    int estado = 0;
    if (!lblEstado->text().isEmpty()) {
        const int w = std::max(TwipsAPixeles(listaAncho) - lblEstado->x(), 50);
        lblEstado->resize(w, lblEstado->heightForWidth(w));
        estado = lblEstado->height() + 2;
    }
    lblEstado->setVisible(estado > 0);
    picFields->move(0, Label1->geometry().bottom() + TwipsAPixeles(60) + estado);
    picFields->resize(TwipsAPixeles(panelAncho), std::max(TwipsAPixeles(panelAlto) - picFields->y(), 0));
    ListView1->resize(TwipsAPixeles(listaAncho) - ListView1->x(), std::max(TwipsAPixeles(listaAlto) - estado, 0));
    Frame1->setGeometry(0, TwipsAPixeles(H - FH - 520), TwipsAPixeles(W), Frame1->height());
    const int ancho = Frame1->width();
    const int y = (Frame1->height() - CmdAceptar->height()) / 2;
    const int cancelar = cmdCancelar->width();
    CmdAceptar->move(TwipsAPixeles(100), y);
    cmdCancelar->move((ancho - cancelar) / 2, y);
    CmdNueva->move(ancho - (cancelar + TwipsAPixeles(150)), y);
    if (CmdNueva->isHidden()) {
        if (CmdAceptar->width() + cancelar + TwipsAPixeles(400) > ancho) {
            CmdAceptar->resize(CmdAceptar->width() / 2, CmdAceptar->height());
            cmdCancelar->resize(CmdAceptar->width(), cmdCancelar->height());
            CmdAceptar->move(TwipsAPixeles(100), y);
            cmdCancelar->move(ancho - (cmdCancelar->width() + TwipsAPixeles(150)), y);
            CmdNueva->move(cmdCancelar->x(), y);
        } else {
            cmdCancelar->move(CmdNueva->x(), y);
        }
    }
    const int derecha = TwipsAPixeles(listaAncho);
    CmdNuevo->move(derecha - CmdNuevo->sizeHint().width(), Label1->y());
    CmdNuevo->resize(CmdNuevo->sizeHint());
    CmdTodos->resize(CmdTodos->sizeHint());
    CmdTodos->move((CmdNuevo->isHidden() ? derecha : CmdNuevo->x()) - CmdTodos->width(), Label1->y());
    Label1->resize(std::max(derecha - CmdNuevo->width() - Label1->x(), 0), Label1->height());
    ubicarCajas();
}

QLineEdit* Lib_FrmCons3::cajaDeBusqueda(int i)
{
    while (CmbSearch.size() <= i) {
        auto* c = new QLineEdit(picFields);
        c->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
        c->setStyleSheet(CajaBlanca);
        c->installEventFilter(this);
        const int indice = int(CmbSearch.size());
        connect(c, &QLineEdit::textChanged, this, [this, indice] { buscarIncremental(indice); });
        if (!CmbSearch.isEmpty())
            setTabOrder(CmbSearch.back(), c);
        CmbSearch << c;
    }
    return CmbSearch[i];
}

// The boxes follow their columns as they are resized or scrolled.
void Lib_FrmCons3::ubicarCajas()
{
    const QHeaderView* h = ListView1->horizontalHeader();
    const int x0 = ListView1->x() + ListView1->viewport()->x();
    const int alto = CmbSearch[0]->sizeHint().height();
    for (int i = 0; i < CmbSearch.size(); ++i) {
        QLineEdit* c = CmbSearch[i];
        if (i >= modelo_->columnCount()) {
            if (i > 0)
                c->hide();
            continue;
        }
        c->setGeometry(x0 + h->sectionViewportPosition(i), 0, std::max(h->sectionSize(i) - 1, 8), alto);
        c->show();
    }
}

void Lib_FrmCons3::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    aplicarReglas();
}

void Lib_FrmCons3::Cargar()
{
    cargado_ = true;
    sinCoincidencia_.clear();
    limite_ = 0;
    EsArticulos = contiene(Sql, QStringLiteral("articulos"));
    Valores = QStringList();
    Cantidades = QStringList();
    modelo_->vaciar();
    QFont f = ListView1->font();
    f.setBold(true);
    f.setPointSize(10);
    ListView1->setFont(f);
    ListView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
    if (Sql.trimmed().isEmpty()) {
        mostrarEstado();
        suite::PrepararForm(this, false);
        return;
    }
    Sql = u' ' + Sql;
    const int desde = indiceSinCaso(Sql, QStringLiteral("from"));
    if (desde >= 0) {
        const QString resto = Sql.mid(desde + 4);
        const QString recortado = resto.trimmed();
        TablaFrom = recortado.section(u' ', 0, 0).trimmed();
    }
    if (SqlInicial.isEmpty())
        SqlInicial = Sql;
    SqlBase = Sql;
    {
        // The statement's own row limit, to say when the list is cut at it.
        static const QRegularExpression top(QStringLiteral("^\\s*select\\s+(?:distinct\\s+)?top\\s+\\(?(\\d+)\\b\\)?(?!\\s*percent\\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
        const auto m = top.match(Sql);
        limite_ = m.hasMatch() ? m.captured(1).toInt() : 0;
    }

    ado::Recordset rs;
    suite::Rutina r = rutinaConAviso(QStringLiteral("FORM_LOAD"));
    r([&] {
        QString s = Sql;
        gDB.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    })
     ([&] { modelo_->reiniciar({}, CheckBoxes); })
     ([&] {
         if (rs.State() == ado::adStateOpen)
             Encolumnar(rs);
     })
     ([&] {
         if (rs.State() == ado::adStateOpen)
             Leer(rs);
     })
     ([&] {
         ordenPropio_ = OrdenarPorLwv;
         if (ordenPropio_)
             modelo_->sort(columnaOrden_, direccion_);
         ListView1->horizontalHeader()->setSortIndicatorShown(ordenPropio_);
         if (ordenPropio_)
             ListView1->horizontalHeader()->setSortIndicator(columnaOrden_, direccion_);
     })
     ([&] {
         if (!FiltroInicial.trimmed().isEmpty()) {
             CmbSearch[0]->setText(FiltroInicial);
             buscarIncremental(0);
         }
     })
     ([&] { gDB.CierraRecordset(&rs); })
     ([&] { aplicarAnchosGuardados(); })
     ([&] { CalcularAncho(); })
     ([&] { suite::PrepararForm(this, false); });
    // A typed text that matches no row leaves nothing highlighted.
    if (modelo_->rowCount() > 0 && !ListView1->currentIndex().isValid() && sinCoincidencia_.isEmpty())
        ListView1->setCurrentIndex(modelo_->index(0, 0));
    mostrarEstado();
}

void Lib_FrmCons3::mostrarEstado()
{
    QStringList lineas;
    if (!filtros_.isEmpty())
        lineas << lineaDeFiltros();
    const bool cortada = limite_ > 0 && modelo_->rowCount() >= limite_;
    if (cortada)
        lineas << QStringLiteral("Se muestran sólo las primeras %1 filas: escriba en una columna y pulse F5 para buscar en toda la tabla.")
                      .arg(limite_);
    if (!sinCoincidencia_.isEmpty())
        lineas << QStringLiteral("Ninguna fila de la lista empieza con «%1»%2").arg(sinCoincidencia_,
                      cortada ? QStringLiteral("; F5 la busca en toda la tabla.") : QStringLiteral("."));
    const QString texto = lineas.join(u'\n');
    if (texto == lblEstado->text())
        return;
    lblEstado->setText(texto);
    aplicarReglas();
}

void Lib_FrmCons3::Encolumnar(ado::Recordset& rs)
{
    QStringList titulos;
    nombresCampo_.clear();
    anchos_.clear();
    const bool articulos = contiene(Sql, QStringLiteral("V_MA_ARTICULOS")) || contiene(Sql, QStringLiteral("STK_MA_ARTICULOS"));
    const bool ancho10 = ValoresDefault.compare(QStringLiteral("@10"), Qt::CaseInsensitive) == 0;
    const QFontMetrics fm(font());
    for (int i = 0; i < rs.FieldCount(); ++i) {
        ado::Field campo = rs.Fields(i);
        long n = campo.DefinedSize();
        if (campo.Type() == ado::adCurrency || campo.Type() == ado::adNumeric)
            n = 12;
        cajaDeBusqueda(i);
        nombresCampo_ << campo.Name();
        n = std::min<long>(n, 60);
        if (!articulos && ancho10)
            n += 10;
        QString titulo = campo.Name();
        if (articulos)
            titulo = tituloDePrecio(titulo);
        titulos << titulo;
        // Never narrower than its title, so that a short code column keeps a readable title.
        const int anchoTitulo = QFontMetrics(ListView1->horizontalHeader()->font()).horizontalAdvance(titulo) + 16;
        anchos_ << std::max(fm.horizontalAdvance(QString(int(std::max<long>(n, 1)), u'X')), anchoTitulo);
    }
    modelo_->reiniciar(titulos, CheckBoxes);
    for (int i = 0; i < anchos_.size(); ++i)
        ListView1->setColumnWidth(i, anchos_[i]);
    for (int i = 0; i < CmbSearch.size(); ++i)
        CmbSearch[i]->setVisible(i < titulos.size());
}

void Lib_FrmCons3::Leer(ado::Recordset& rs)
{
    if (rs.EOF_() && rs.BOF())
        return;
    const int n = rs.FieldCount();
    const int devuelto = CheckBoxes ? int(nombresCampo_.indexOf(QRegularExpression(
                                           QStringLiteral("^\\s*") + QRegularExpression::escape(CampoDevuelto.trimmed()) + QStringLiteral("\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption)))
                                     : -1;
    // Articles: the stock level colours the row, when the configuration asks for it.
    int puntoPedido = -1, stock = -1;
    const bool colorear = EsArticulos && MuestraStock.trimmed().compare(QStringLiteral("SI"), Qt::CaseInsensitive) == 0;
    if (colorear) {
        for (int i = 0; i < n; ++i) {
            const QString nombre = rs.Fields(i).Name().trimmed();
            if (nombre.compare(QStringLiteral("PUNTOPEDIDO"), Qt::CaseInsensitive) == 0)
                puntoPedido = i;
            else if (nombre.compare(QStringLiteral("Stock"), Qt::CaseInsensitive) == 0)
                stock = i;
        }
    }
    const QVariant* niveles[] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
    QColor colores[4];
    for (int i = 0; i < 4; ++i)
        colores[i] = ColorConfigurado(*niveles[i]);
    modelo_->comenzar();
    for (; !rs.EOF_(); rs.MoveNext()) {
        std::vector<QString> fila(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            fila[size_t(i)] = textoCampo(rs.Fields(i).Value()).trimmed();
        const bool marcada = devuelto >= 0 && !fila[size_t(devuelto)].isEmpty()
            && ValoresDefault.contains(fila[size_t(devuelto)], Qt::CaseInsensitive);
        QColor color;
        if (puntoPedido >= 0 && stock >= 0)
            color = colores[NivelStock(aMoneda(rs.Fields(puntoPedido).Value()), aMoneda(rs.Fields(stock).Value())) - 1];
        modelo_->agregarFila(std::move(fila), marcada, color);
    }
    modelo_->terminar();
}

void Lib_FrmCons3::aplicarAnchosGuardados()
{
    const QString anchos = suite::BuscarConfiguracion(QStringLiteral("CONSULTASLEN.VLX"));
    QFile f(anchos.isEmpty() ? suite::CarpetaConBarra(CarpetaAplicacion()) + QStringLiteral("CONSULTASLEN.VLX") : anchos);
    if (!f.exists() || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    if (TablaFrom.compare(QStringLiteral("Stk_ma_articulos"), Qt::CaseInsensitive) == 0)
        TablaFrom = QStringLiteral("VT_MA_ARTICULOS");
    static const QRegularExpression par(QStringLiteral("^\\s*\"([^\"]*)\"\\s*,\\s*\"([^\"]*)\""));
    QTextStream in(&f);
    while (!in.atEnd()) {
        const auto m = par.match(in.readLine());
        if (!m.hasMatch() || m.captured(1).trimmed().compare(TablaFrom, Qt::CaseInsensitive) != 0)
            continue;
        QString lista = m.captured(2);
        for (int i = 0; i < modelo_->columnCount(); ++i) {
            const int barra = int(lista.indexOf(u'|'));
            if (barra < 0)
                break;
            const double w = suite::ValorNumerico(lista.left(barra)).aDouble();
            ListView1->setColumnWidth(i, TwipsAPixeles(w));
            lista = lista.mid(barra + 1);
        }
    }
}

void Lib_FrmCons3::CalcularAncho()
{
    int total = 0;
    for (int i = 0; i < modelo_->columnCount(); ++i)
        total += ListView1->columnWidth(i);
    const int lista = total + TwipsAPixeles(360) + ListView1->verticalScrollBar()->sizeHint().width();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int pantalla = s ? s->availableGeometry().width() : 1280;
    const int ancho = lista + TwipsAPixeles(360) >= pantalla ? pantalla - TwipsAPixeles(480) : lista + TwipsAPixeles(280);
    resize(ancho - (frameGeometry().width() - width()), height());
    aplicarReglas();
}

int Lib_FrmCons3::Busqueda(int Clave, const QString& QueValor) const
{
    if (Clave < 0 || Clave >= modelo_->columnCount())
        return 0;
    for (int f = 0; f < modelo_->rowCount(); ++f)
        if (QStringView(modelo_->celda(f, Clave)).trimmed().startsWith(QueValor, Qt::CaseInsensitive))
            return f + 1;
    return 0;
}

int Lib_FrmCons3::IndiceColumna(const QString& Columna) const
{
    const QString c = Columna.trimmed();
    const QStringList& t = modelo_->titulos();
    for (int i = 0; i < t.size(); ++i)
        if (t[i].trimmed().compare(c, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

void Lib_FrmCons3::buscarIncremental(int caja)
{
    const QString texto = CmbSearch[caja]->text().trimmed();
    const int f = Busqueda(caja, texto);
    if (f == 0) {
        // No row starts with it: nothing is highlighted, so Enter chooses nothing.
        ListView1->selectionModel()->clear();
        sinCoincidencia_ = texto;
        mostrarEstado();
        return;
    }
    sinCoincidencia_.clear();
    mostrarEstado();
    const QModelIndex i = modelo_->index(f - 1, 0);
    ListView1->setCurrentIndex(i);
    ListView1->scrollTo(i);
}

void Lib_FrmCons3::nuevaBusqueda(int caja)
{
    SqlCola.clear();
    SqlBase = Sql;
    QString p;
    const int orden = indiceSinCaso(Sql, QStringLiteral("order by"));
    if (contiene(Sql, QStringLiteral("order")) && orden >= 0) {
        SqlCola = Sql.mid(orden);
        SqlBase = Sql.left(orden);
    }
    const int grupo = indiceSinCaso(Sql, QStringLiteral("group by"));
    if (grupo >= 0) {
        const QString g = Sql.mid(grupo);
        if (!g.trimmed().isEmpty())
            SqlCola = g;
        SqlBase = Sql.left(grupo);
    }
    // A date order asked of the database stays after the condition.
    if (!contiene(Sql, QStringLiteral("order")) && !ordenFecha_.isEmpty())
        SqlCola += ordenFecha_;
    if (contiene(SqlBase, QStringLiteral("stk_ma_articulos.")))
        p = QStringLiteral("stk_ma_articulos.");
    if (contiene(SqlBase, QStringLiteral("v_ma_articulos.")))
        p = QStringLiteral("v_ma_articulos.");
    const QString c = caja < nombresCampo_.size() ? nombresCampo_[caja] : QString();
    // The typed text goes into the statement as a literal: its quotes doubled.
    QString x = CmbSearch[caja]->text();
    if (!x.trimmed().isEmpty())
        filtros_ << QStringLiteral("%1 %2 «%3»")
                        .arg(modelo_->titulos().value(caja, c), CfgUsaConsultaLIKE ? QStringLiteral("contiene") : QStringLiteral("comienza con"),
                             x.trimmed());
    const QString union_ = contiene(Sql, QStringLiteral("where")) ? QStringLiteral(" and ") : QStringLiteral(" where ");
    if (CfgUsaConsultaLIKE) {
        Sql = SqlBase + union_ + p + c + QStringLiteral(" like '%") + QString(x).replace(u' ', u'%').replace(u'\'', QStringLiteral("''"))
            + QStringLiteral("%' ") + SqlCola;
    } else {
        x = suite::ReemplazarTexto(x, QStringLiteral("*"), QStringLiteral("%"));
        CmbSearch[caja]->setText(x);
        Sql = SqlBase + union_ + p + c + QStringLiteral(" like '") + QString(x).replace(u'\'', QStringLiteral("''"))
            + QStringLiteral("%' ") + SqlCola;
    }
    {
        const QSignalBlocker b(CmbSearch[caja]);
        CmbSearch[caja]->clear();
    }
    SqlBase = Sql;
    Cargar();
    CmbSearch[caja]->setFocus();
}

void Lib_FrmCons3::NuevaBusqueda()
{
    Sql = SqlInicial;
    filtros_.clear();
    cargarEnOrdenFecha();
    CmbSearch[0]->setFocus();
}

void Lib_FrmCons3::clicEnTitulo(int columna)
{
    if (columna == columnaOrden_ && ordenPropio_)
        direccion_ = direccion_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else if (columna != columnaOrden_)
        direccion_ = Qt::AscendingOrder;
    columnaOrden_ = columna;
    ordenPropio_ = true;
    modelo_->sort(columna, direccion_);
    ListView1->horizontalHeader()->setSortIndicatorShown(true);
    ListView1->horizontalHeader()->setSortIndicator(columna, direccion_);
    const QString titulo = modelo_->titulos().value(columna);
    if (contiene(titulo, QStringLiteral("fecha")) || contiene(titulo, QStringLiteral("VENCIMIENTO")))
        OrdenarPorFecha(titulo);
    if (ListView1->currentIndex().isValid())
        ListView1->scrollTo(ListView1->currentIndex());
}

void Lib_FrmCons3::OrdenarPorFecha(const QString& Cual)
{
    if (!contiene(Sql, QStringLiteral("order"))) {
        ordenPropio_ = false;
        columnaOrden_ = 0;
        OrdenarPorLwv = false;
        ordenFecha_ = QStringLiteral(" order by ") + Cual;
        if (Cual.compare(QStringLiteral("fechahorafinromaneo"), Qt::CaseInsensitive) == 0)
            ordenFecha_ += QStringLiteral(" desc ");
    }
    // Sorting is no new search: the highlighted row and the check marks stay with their
    // records through the reload (a record is known by all its cells).
    const int columnas = modelo_->columnCount();
    auto clave = [&](int fila) {
        QStringList celdas;
        for (int c = 0; c < columnas; ++c)
            celdas << modelo_->celda(fila, c);
        return celdas.join(QChar(0x1F));
    };
    const QModelIndexList elegidas = ListView1->selectionModel()->selectedRows();
    const QString resaltada = elegidas.isEmpty() ? QString() : clave(elegidas.front().row());
    QSet<QString> marcadas;
    for (int f = 0; CheckBoxes && f < modelo_->rowCount(); ++f)
        if (modelo_->marcada(f))
            marcadas.insert(clave(f));
    cargarEnOrdenFecha();
    ListView1->selectionModel()->clear();
    for (int f = 0; f < modelo_->rowCount(); ++f) {
        const QString k = clave(f);
        if (CheckBoxes && modelo_->marcada(f) != marcadas.contains(k))
            modelo_->marcar(f, marcadas.contains(k));
        if (!elegidas.isEmpty() && k == resaltada && !ListView1->currentIndex().isValid())
            ListView1->setCurrentIndex(modelo_->index(f, 0));
    }
}

// Loads the statement in the date order asked for, leaving Sql as it was; a statement with
// its own order is loaded as it is.
void Lib_FrmCons3::cargarEnOrdenFecha()
{
    if (ordenFecha_.isEmpty() || contiene(Sql, QStringLiteral("order"))) {
        Cargar();
        return;
    }
    const QString antes = Sql;
    Sql += ordenFecha_;
    Cargar();
    Sql = antes;
}

QString Lib_FrmCons3::valorDeFila(int fila, const QString& titulo) const
{
    const int i = IndiceColumna(titulo);
    return i > 0 ? modelo_->celda(fila, i - 1) : QString();
}

void Lib_FrmCons3::Aceptar()
{
    suite::Rutina r = rutinaConAviso(QStringLiteral("HScroll1_Change"));
    r([&] {
        if (!Valores)
            Valores = QStringList();
        if (CheckBoxes) {
            if (CampoDevuelto.isEmpty())
                CampoDevuelto = modelo_->titulos().value(0);
            for (int f = 0; f < modelo_->rowCount(); ++f)
                if (modelo_->marcada(f))
                    Valores->append(valorDeFila(f, CampoDevuelto));
            return;
        }
        // The highlighted row; with none, nothing is chosen.
        const QModelIndexList elegidas = ListView1->selectionModel()->selectedRows();
        if (elegidas.isEmpty())
            return;
        const int fila = elegidas.front().row();
        QString ultimo;
        if (CmpsDevueltos) {
            for (const QString& t : *CmpsDevueltos) {
                if (IndiceColumna(t) > 0)
                    ultimo = valorDeFila(fila, t);
                Valores->append(ultimo);
            }
        }
        ValorDevuelto = CampoDevuelto.trimmed().isEmpty() ? ultimo : valorDeFila(fila, CampoDevuelto);
    });
    hide();
    done(QDialog::Accepted);
}

void Lib_FrmCons3::Marcar()
{
    for (int f = 0; f < modelo_->rowCount(); ++f)
        modelo_->marcar(f, !modelo_->marcada(f));
}

void Lib_FrmCons3::PrepararLista(const QString& titulo, bool marcas)
{
    CheckBoxes = marcas;
    modelo_->reiniciar({titulo}, marcas);
    nombresCampo_ = QStringList{titulo};
    CmbSearch[0]->setVisible(true);
    CmdTodos->setVisible(marcas);
    CmdNuevo->setVisible(false); // options are no table to maintain
}

void Lib_FrmCons3::AgregarOpcion(const QString& texto, bool marcada)
{
    modelo_->comenzar();
    modelo_->agregarFila({texto}, marcada);
    modelo_->terminar();
}

bool Lib_FrmCons3::teclaDeLista(QKeyEvent* k)
{
    const int tecla = k->key();
    if (tecla == Qt::Key_Insert || tecla == Qt::Key_Delete) {
        if (UsaCantidades)
            TeclaCantidad(tecla, k->modifiers());
        return true;
    }
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
        Aceptar();
        return true;
    }
    if (tecla == Qt::Key_Space && CheckBoxes) {
        // The mark of the current row, whatever its column.
        if (const QModelIndex i = ListView1->currentIndex(); i.isValid())
            modelo_->marcar(i.row(), !modelo_->marcada(i.row()));
        return true;
    }
    QLineEdit* caja = CmbSearch.value(BusquedaActual, CmbSearch[0]);
    if (tecla == Qt::Key_Backspace) {
        caja->setFocus();
        caja->backspace();
        return true;
    }
    // Typing in the list goes on in the search box that last had the focus.
    const QString t = k->text();
    if (!t.isEmpty() && t[0].isPrint() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        caja->setFocus();
        caja->end(false);
        caja->insert(t);
        return true;
    }
    return false;
}

bool Lib_FrmCons3::eventFilter(QObject* o, QEvent* e)
{
    if (o == ListView1 && e->type() == QEvent::KeyPress)
        return teclaDeLista(static_cast<QKeyEvent*>(e));
    auto* caja = qobject_cast<QLineEdit*>(o);
    const int indice = caja ? int(CmbSearch.indexOf(caja)) : -1;
    if (indice < 0)
        return QDialog::eventFilter(o, e);
    switch (e->type()) {
    case QEvent::FocusIn:
        BusquedaActual = indice;
        caja->setStyleSheet(CajaCyan);
        break;
    case QEvent::FocusOut:
        caja->setStyleSheet(CajaBlanca);
        break;
    case QEvent::KeyPress: {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_F5) {
            if (!Sql.trimmed().isEmpty())
                nuevaBusqueda(indice);
            return true;
        }
        if (tecla == Qt::Key_Down || tecla == Qt::Key_Up || tecla == Qt::Key_PageDown || tecla == Qt::Key_PageUp) {
            ListView1->setFocus();
            if (!ListView1->currentIndex().isValid() && modelo_->rowCount() > 0)
                ListView1->setCurrentIndex(modelo_->index(0, 0));
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        buscarIncremental(indice);
        break;
    default:
        break;
    }
    return QDialog::eventFilter(o, e);
}
