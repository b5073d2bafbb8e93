#pragma once
// The interface every database engine implements for the ADO-shaped layer. Engines receive
// T-SQL batches: a command gives back a Resultado (its first row set whole, rows affected,
// the last identity); a single query can instead be opened as a Cursor that reads its rows as
// the caller moves. Failures come as FalloMotor carrying one entry per diagnostic record,
// classified by the engine and mapped to ADO's numbers in Errores.h.

#include <QMap>
#include <QString>
#include <QVariant>
#include <exception>
#include <memory>
#include <span>
#include <vector>

namespace ado {

struct Columna {
    QString nombre;
    int tipo = 200;          // ADO DataTypeEnum
    long tamanio = 0;        // DefinedSize
    QString tablaBase;       // where the column comes from, when it is a plain column
    QString columnaBase;
    bool identidad = false;  // filled in by the engine on insert
};

// The rows of a result in one block: row f, column c is value f * columns + c.
class Filas {
public:
    void fijarColumnas(size_t n) { columnas_ = n; }
    size_t size() const { return columnas_ ? valores_.size() / columnas_ : 0; }
    bool empty() const { return valores_.empty(); }
    std::span<QVariant> operator[](size_t f) { return {valores_.data() + f * columnas_, columnas_}; }
    std::span<const QVariant> operator[](size_t f) const { return {valores_.data() + f * columnas_, columnas_}; }
    // A new row of Null values at the end; returns its first value.
    QVariant* nueva()
    {
        valores_.resize(valores_.size() + columnas_);
        return valores_.data() + valores_.size() - columnas_;
    }
    void reservar(size_t filas) { valores_.reserve(filas * columnas_); }
    void push_back(std::span<const QVariant> fila) { valores_.insert(valores_.end(), fila.begin(), fila.end()); }
    void push_back(std::initializer_list<QVariant> fila) { valores_.insert(valores_.end(), fila.begin(), fila.end()); }

private:
    size_t columnas_ = 0;
    std::vector<QVariant> valores_;
};

struct Resultado {
    bool conFilas = false;   // the batch returned a row set (possibly empty)
    std::vector<Columna> columnas;
    Filas filas;
    long afectados = -1;     // rows touched by the batch's commands; -1 when none ran
    QVariant ultimaIdentidad; // identity given to the last inserted row, when known
};

struct ErrorMotor {
    long numero = 0;
    QString descripcion;
    QString sqlState;
    long nativo = 0;
};

class FalloMotor : public std::exception {
public:
    explicit FalloMotor(std::vector<ErrorMotor> errores, bool enlacePerdido = false)
        : errores(std::move(errores)), enlacePerdido(enlacePerdido)
    {
    }
    const char* what() const noexcept override { return "fallo del motor de base de datos"; }

    std::vector<ErrorMotor> errores;
    bool enlacePerdido; // the link is gone; the engine is closed
};

// A forward-only, read-only row source over one query, read as the caller moves through it.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const std::vector<Columna>& columnas() const = 0;
    virtual bool siguiente() = 0;                  // to the next row; false past the last
    virtual QVariant valor(int columna) const = 0; // of the current row
    // The same value written into `destino`, reusing its storage where the engine can.
    virtual void leer(int columna, QVariant& destino) const { destino = valor(columna); }
    virtual void reiniciar() = 0;                  // runs the query again, before its first row
};

// Cursors' fast path for text: the value goes into the storage `destino` already holds when
// that is a QString of its own (not shared) and the text is all ASCII, so reading a long
// result allocates almost nothing. False, with `destino` untouched, when it cannot.
bool LeerTextoAscii(const char* texto, qsizetype largo, QVariant& destino);

// A cursor over rows an engine has already fetched whole.
class CursorEnMemoria : public Cursor {
public:
    explicit CursorEnMemoria(Resultado r) : r_(std::move(r)) {}
    const std::vector<Columna>& columnas() const override { return r_.columnas; }
    bool siguiente() override { return ++fila_ < r_.filas.size(); }
    QVariant valor(int columna) const override { return r_.filas[fila_][size_t(columna)]; }
    void reiniciar() override { fila_ = size_t(-1); }

private:
    Resultado r_;
    size_t fila_ = size_t(-1);
};

struct ParametrosConexion {
    QString servidor;
    QString base;
    QString usuario;
    QString clave;
    int tiempoConexion = 15;          // seconds
    QMap<QString, QString> registro;  // the server's entry of the registry, keys in lower case
};

struct TablaEsquema {
    QString nombre;
    QString tipo; // "TABLE", "VIEW"
};

struct ColumnaEsquema {
    QString tabla;
    QString columna;
    int posicion = 0;
    int tipo = 200;
    long tamanio = 0;
    bool admiteNulos = true;
};

class Motor {
public:
    virtual ~Motor() = default;

    virtual void abrir(const ParametrosConexion& p) = 0;
    virtual void cerrar() = 0;
    virtual bool abierto() const = 0;
    virtual QString base() const = 0;     // the database in use
    virtual QString origen() const = 0;   // Source of the engine's errors

    // A T-SQL batch: statements run in order, the first row set is returned; the first
    // failing statement ends the batch (an open transaction stays open).
    virtual Resultado ejecutar(const QString& tsql) = 0;
    // One statement in the engine's own SQL with "?" parameters and "quoted" identifiers.
    virtual Resultado ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros) = 0;
    // The batch as a cursor when it is one query; nullptr otherwise (nothing has run then).
    virtual std::unique_ptr<Cursor> abrirCursor(const QString& tsql) = 0;

    virtual void iniciarTransaccion() = 0;
    virtual void confirmarTransaccion() = 0;
    virtual void deshacerTransaccion() = 0;

    virtual std::vector<TablaEsquema> tablas() = 0;
    virtual std::vector<ColumnaEsquema> columnas(const QString& tabla) = 0;

    virtual void fijarTiempoComando(int segundos) = 0;

    // An identifier quoted the way the engine finds the names of its objects.
    virtual QString citar(const QString& id) const = 0;
};

// A parameter's value as text for engines that send parameters as text: numbers with a
// point, dates in ISO form, a Boolean as 1 or 0.
QString TextoParametro(const QVariant& v);

// The engine named in the registry of servers ("SQLite", "PostgreSQL", "ODBC"; "SQLServer"
// for servers it does not list); nullptr when unknown.
std::unique_ptr<Motor> CrearMotor(const QString& nombre);

} // namespace ado
