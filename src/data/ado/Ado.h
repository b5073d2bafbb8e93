#pragma once
// The ADO-shaped data layer: Connection, Recordset, Field and Errors with ADO's operations,
// numbers and behaviour, over the engines behind ado::Motor. A failing operation raises
// suite::ErrorEjecucion with ADO's number and description; the connection's Errors keep the
// engine's diagnostics until cleared or until the next statement.

#include "data/ado/Constantes.h"
#include "data/ado/Motor.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

namespace ado {

struct Error {
    long Number = 0;
    QString Description;
    QString Source;
    QString SQLState;
    long NativeError = 0;
};

class Errors {
public:
    int Count() const { return int(lista_.size()); }
    const Error& Item(int i) const; // raises 3265 when out of range
    void Clear() { lista_.clear(); }

    void Agregar(Error e) { lista_.push_back(std::move(e)); }
    const std::vector<Error>& Lista() const { return lista_; }

private:
    std::vector<Error> lista_;
};

class Recordset;

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& connectionString = {}, const QString& userId = {}, const QString& password = {},
              long options = -1);
    void Close();
    int State() const;

    // Runs a statement or a T-SQL batch; returns its row set (a closed Recordset when the
    // batch returns none). recordsAffected receives the rows touched.
    Recordset Execute(const QString& commandText, long* recordsAffected = nullptr, long options = -1);

    long BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    Recordset OpenSchema(int schema, const QVariantList& restricciones = {});

    ado::Errors& Errors() { return errores_; }
    const ado::Errors& Errors() const { return errores_; }

    QString ConnectionString() const { return cadena_; }
    void ConnectionString(const QString& s);
    int ConnectionTimeout() const { return tiempoConexion_; }
    void ConnectionTimeout(int segundos);
    int CommandTimeout() const { return tiempoComando_; }
    void CommandTimeout(int segundos);
    int CursorLocation() const { return cursorLocation_; }
    void CursorLocation(int c) { cursorLocation_ = c; }
    QString DefaultDatabase() const;
    void DefaultDatabase(const QString& base);

    // Called with the text of every statement or batch before it is sent (Execute and
    // Recordset::Open), as ADO's WillExecute event.
    std::function<void(const QString&)> WillExecute;

    // For the layer and its tests: the engine in use (nullptr while closed).
    Motor* motor() const { return motor_.get(); }

private:
    friend class Recordset;
    [[noreturn]] void fallo(const FalloMotor& f);
    // Runs a call of the engine: a FalloMotor becomes this connection's errors and is raised.
    template <class F>
    auto delMotor(F&& llamada) -> decltype(llamada());
    Motor& motorAbierto(long numeroSiCerrada);
    void abrirMotor();

    std::unique_ptr<Motor> motor_;
    ado::Errors errores_;
    QString cadena_;
    int tiempoConexion_ = 15;
    int tiempoComando_ = 30;
    int cursorLocation_ = adUseServer;
    ParametrosConexion parametros_;
};

class Field {
public:
    QString Name() const;
    int Type() const;
    long DefinedSize() const;
    const QVariant& Value() const;  // Null is an invalid QVariant; valid until the row changes
    void Value(const QVariant& v);  // starts editing the current row, or fills the new one
    Field& operator=(const QVariant& v)
    {
        Value(v);
        return *this;
    }

private:
    friend class Recordset;
    Field(Recordset* rs, int i) : rs_(rs), i_(i) {}
    Recordset* rs_;
    int i_;
};

// A recordset must not outlive the connection it was opened on.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    void Open(const QString& source, Connection* activeConnection, int cursorType = adOpenForwardOnly,
              int lockType = adLockReadOnly, long options = -1);
    void Close();
    int State() const { return abierto_ ? adStateOpen : adStateClosed; }

    bool BOF() const;
    bool EOF_() const; // EOF itself is a macro of the C library
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    long RecordCount() const; // -1 for forward-only, read-only recordsets, as ADO gives

    Field Fields(int indice);
    Field Fields(const QString& nombre);
    int FieldCount() const;

    int CursorType() const { return cursorType_; }
    int LockType() const { return lockType_; }
    void CursorType(int c) { cursorType_ = c; }
    void LockType(int l) { lockType_ = l; }
    int EditMode() const { return editMode_; }
    QString Source() const { return source_; }

    void AddNew();
    void Update();
    void CancelUpdate();

    // An open recordset over rows the layer already holds (schemas, batches).
    static Recordset desdeResultado(Resultado r, Connection* conexion, const QString& source);
    // An open forward-only, read-only recordset that reads its rows as it moves.
    static Recordset desdeCursor(std::unique_ptr<Cursor> c, Connection* conexion, const QString& source);

private:
    friend class Field;
    // Checked on every value read: the checks inline, the errors out of line.
    void requiereAbierto() const
    {
        if (!abierto_) [[unlikely]]
            faltaAbierto();
    }
    void requiereFila() const
    {
        requiereAbierto();
        if (cursor_ ? finCursor_ : (pos_ < 0 || pos_ >= long(datos_.filas.size()))) [[unlikely]]
            faltaFila();
    }
    [[noreturn]] void faltaAbierto() const;
    [[noreturn]] void faltaFila() const;
    int indiceDe(const QString& nombre) const;
    std::vector<QVariant>& filaEnEdicion();
    QString tablaBase() const;
    void avanzarCursor();

    bool abierto_ = false;
    Resultado datos_;
    long pos_ = 0;                  // 0-based; -1 BOF, size() EOF
    int cursorType_ = adOpenForwardOnly;
    int lockType_ = adLockReadOnly;
    int editMode_ = adEditNone;
    std::vector<QVariant> buffer_;  // the row being edited or added
    std::vector<bool> tocados_;     // fields assigned during the edit
    QString source_;
    Connection* conexion_ = nullptr;

    // Forward-only, read-only recordsets read through a cursor: only the current row is held.
    std::unique_ptr<Cursor> cursor_;
    std::vector<QVariant> actual_;
    bool finCursor_ = false;
    bool vacio_ = false;
};

inline const QVariant& Field::Value() const
{
    rs_->requiereAbierto();
    if (rs_->editMode_ != adEditNone)
        return rs_->buffer_[size_t(i_)];
    rs_->requiereFila();
    if (rs_->cursor_)
        return rs_->actual_[size_t(i_)];
    return rs_->datos_.filas[size_t(rs_->pos_)][size_t(i_)];
}

} // namespace ado
