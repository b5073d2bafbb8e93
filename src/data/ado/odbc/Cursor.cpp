#include "data/ado/odbc/Cursor.h"

#include "data/ado/Constantes.h"
#include "data/ado/Errores.h"

#include <cstring>

namespace ado::odbc {

namespace {

constexpr SQLULEN FilasPorBloque = 256;

// Characters a bound column needs for any value: twice the declared length for text (a
// character may take two UTF-16 units), enough for the text of numbers and dates; 0 when the
// column cannot be bound (long or unknown length, binary).
SQLLEN AnchoEnlazado(const TipoColumna& t)
{
    switch (t.tipo) {
    case adChar:
    case adVarChar:
    case adWChar:
    case adVarWChar:
    case adLongVarChar:
    case adLongVarWChar: return t.tamanio > 0 && t.tamanio <= 4000 ? SQLLEN(t.tamanio) * 2 + 1 : 0;
    case adBinary:
    case adVarBinary:
    case adLongVarBinary: return 0;
    default: return 64;
    }
}

// Types whose values ValorDe hands back as the text itself.
bool EsTexto(int tipo)
{
    switch (tipo) {
    case adBoolean:
    case adInteger:
    case adSmallInt:
    case adUnsignedTinyInt:
    case adBigInt:
    case adNumeric:
    case adCurrency:
    case adDouble:
    case adSingle:
    case adDBTimeStamp:
    case adDBDate: return false;
    default: return true;
    }
}

} // namespace

Lector::Lector(SQLHSTMT st, const std::vector<TipoColumna>& tipos, const std::vector<Columna>& columnas, Fallar fallar)
    : st_(st), tipos_(tipos), columnas_(columnas), fallar_(std::move(fallar))
{
    for (const TipoColumna& t : tipos_) {
        anchos_.push_back(AnchoEnlazado(t));
        if (anchos_.back() == 0)
            return; // row by row
    }
    if (!Exito(SQLSetStmtAttr(st_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(FilasPorBloque), 0))
        || !Exito(SQLSetStmtAttr(st_, SQL_ATTR_ROWS_FETCHED_PTR, &leidas_, 0))) {
        SQLSetStmtAttr(st_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
        return;
    }
    enBloques_ = true;
    datos_.resize(tipos_.size());
    largos_.assign(tipos_.size(), std::vector<SQLLEN>(FilasPorBloque));
    for (size_t i = 0; i < tipos_.size(); ++i) {
        datos_[i].resize(size_t(anchos_[i]) * FilasPorBloque);
        if (!Exito(SQLBindCol(st_, SQLUSMALLINT(i + 1), SQL_C_WCHAR, datos_[i].data(), anchos_[i] * SQLLEN(sizeof(SQLWCHAR)),
                              largos_[i].data()))) {
            try {
                fallar_(st_);
            } catch (...) {
                desenlazar();
                throw;
            }
        }
    }
}

Lector::~Lector()
{
    if (enBloques_)
        desenlazar();
}

void Lector::desenlazar()
{
    SQLFreeStmt(st_, SQL_UNBIND);
    SQLSetStmtAttr(st_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
    SQLSetStmtAttr(st_, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
}

bool Lector::siguiente()
{
    if (enBloques_ && hayFila_ && f_ + 1 < leidas_) {
        ++f_;
    } else {
        hayFila_ = false;
        const SQLRETURN r = SQLFetch(st_);
        if (r == SQL_NO_DATA)
            return false;
        if (!Exito(r))
            fallar_(st_);
        if (!enBloques_) {
            leerFila();
            hayFila_ = true;
            return true;
        }
        if (leidas_ == 0)
            return false;
        f_ = 0;
    }
    hayFila_ = true;
    // Longer than the driver declared: an error, never a value cut short.
    for (size_t i = 0; i < tipos_.size(); ++i) {
        const SQLLEN largo = largos_[i][f_];
        if (largo == SQL_NO_TOTAL || largo >= anchos_[i] * SQLLEN(sizeof(SQLWCHAR))) {
            hayFila_ = false;
            throw FalloDe({Categoria::Otro,
                           QStringLiteral("Un valor de la columna %1 es más largo que lo que declara el controlador ODBC.")
                               .arg(columnas_[i].nombre),
                           QStringLiteral("01004"), 0, {}});
        }
    }
    return true;
}

void Lector::leerFila()
{
    fila_.assign(tipos_.size(), QVariant());
    for (size_t i = 0; i < tipos_.size(); ++i) {
        // Text in pieces, as long as it is.
        QString valor;
        SQLLEN indicador = 0;
        SQLWCHAR trozo[1024];
        bool nulo = false;
        for (;;) {
            const SQLRETURN g = SQLGetData(st_, SQLUSMALLINT(i + 1), SQL_C_WCHAR, trozo, sizeof(trozo), &indicador);
            if (g == SQL_NO_DATA)
                break;
            if (!Exito(g))
                fallar_(st_);
            if (indicador == SQL_NULL_DATA) {
                nulo = true;
                break;
            }
            const qsizetype enTrozo = (indicador == SQL_NO_TOTAL || indicador >= SQLLEN(sizeof(trozo)))
                ? qsizetype(std::size(trozo)) - 1
                : qsizetype(indicador / SQLLEN(sizeof(SQLWCHAR)));
            valor += DeAncho(trozo, enTrozo);
            if (g == SQL_SUCCESS)
                break;
        }
        if (!nulo)
            fila_[i] = ValorDe(valor, tipos_[i]);
    }
}

// The bound text of column i in the current row; nullptr when Null.
const SQLWCHAR* Lector::texto(int i, qsizetype& largo) const
{
    const SQLLEN l = largos_[size_t(i)][f_];
    if (l == SQL_NULL_DATA)
        return nullptr;
    largo = qsizetype(l / SQLLEN(sizeof(SQLWCHAR)));
    return &datos_[size_t(i)][f_ * size_t(anchos_[size_t(i)])];
}

QVariant Lector::valor(int i) const
{
    if (!enBloques_)
        return fila_[size_t(i)];
    qsizetype largo = 0;
    const SQLWCHAR* p = texto(i, largo);
    return p ? ValorDe(DeAncho(p, largo), tipos_[size_t(i)]) : QVariant();
}

void Lector::leer(int i, QVariant& destino) const
{
    if (!enBloques_) {
        destino = fila_[size_t(i)];
        return;
    }
    qsizetype largo = 0;
    const SQLWCHAR* p = texto(i, largo);
    if (!p) {
        if (destino.isValid())
            destino = QVariant();
        return;
    }
    const int tipo = tipos_[size_t(i)].tipo;
    if (EsTexto(tipo)) {
        // Into the storage `destino` already has where it can.
        if (destino.typeId() == QMetaType::QString) {
            QString* s = static_cast<QString*>(destino.data());
            s->resize(largo);
            std::memcpy(static_cast<void*>(s->data()), p, size_t(largo) * sizeof(QChar));
        } else {
            destino = DeAncho(p, largo);
        }
        return;
    }
    if (tipo == adInteger || tipo == adSmallInt || tipo == adUnsignedTinyInt) {
        destino.setValue(QStringView(reinterpret_cast<const char16_t*>(p), largo).toInt());
        return;
    }
    destino = ValorDe(DeAncho(p, largo), tipos_[size_t(i)]);
}

void Lector::volcar(Filas& filas)
{
    SQLLEN total = -1; // drivers that read the whole result first know its size
    if (Exito(SQLRowCount(st_, &total)) && total > 0)
        filas.reservar(size_t(total));
    if (!hayFila_ && !siguiente())
        return;
    do {
        QVariant* fila = filas.nueva();
        for (size_t i = 0; i < tipos_.size(); ++i)
            fila[i] = valor(int(i));
    } while (siguiente());
}

CursorOdbc::CursorOdbc(std::shared_ptr<Turno> turno, QString sql, std::vector<Columna> columnas, std::vector<TipoColumna> tipos,
                       Sentencia st)
    : turno_(turno), sql_(std::move(sql)), columnas_(std::move(columnas)), tipos_(std::move(tipos))
{
    memoria_.fijarColumnas(columnas_.size());
    empezar(std::move(st));
}

CursorOdbc::~CursorOdbc() { soltar(); }

void CursorOdbc::empezar(Sentencia st)
{
    auto turno = turno_.lock();
    st_ = std::move(st);
    lector_ = std::make_unique<Lector>(st_.get(), tipos_, columnas_, turno->fallar);
    turno->activo = this;
}

void CursorOdbc::soltar()
{
    if (!st_)
        return;
    lector_.reset();
    st_.reset();
    if (auto turno = turno_.lock(); turno && turno->activo == this)
        turno->activo = nullptr;
}

bool CursorOdbc::siguiente()
{
    if (lector_) {
        try {
            if (lector_->siguiente())
                return true;
        } catch (const FalloMotor&) {
            soltar();
            throw;
        }
        soltar(); // every row read: the connection is free
        return false;
    }
    if (pos_ + 1 < memoria_.size()) { // pos_ + 1 is 0 before the first row
        ++pos_;
        return true;
    }
    if (pendiente_) {
        const FalloMotor f = std::move(*pendiente_);
        pendiente_.reset();
        throw f;
    }
    return false;
}

QVariant CursorOdbc::valor(int i) const { return lector_ ? lector_->valor(i) : memoria_[pos_][size_t(i)]; }

void CursorOdbc::leer(int i, QVariant& destino) const
{
    if (lector_)
        lector_->leer(i, destino);
    else
        destino = memoria_[pos_][size_t(i)];
}

void CursorOdbc::aMemoria()
{
    if (!lector_)
        return;
    memoria_ = Filas();
    memoria_.fijarColumnas(columnas_.size());
    const bool habia = lector_->hayFila();
    try {
        lector_->volcar(memoria_);
    } catch (const FalloMotor& f) {
        pendiente_ = f;
    }
    soltar();
    pos_ = habia ? 0 : size_t(-1); // the current row stays the current one
}

void CursorOdbc::reiniciar()
{
    soltar();
    memoria_ = Filas();
    memoria_.fijarColumnas(columnas_.size());
    pos_ = size_t(-1);
    pendiente_.reset();
    auto turno = turno_.lock();
    if (!turno)
        throw FalloDe(Categoria::ConexionCerrada);
    empezar(turno->consultar(sql_));
}

} // namespace ado::odbc
