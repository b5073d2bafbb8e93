#pragma once
// Reading the rows of an ODBC statement that has run: in blocks of 256 rows with every column
// bound as text when the columns allow it, else row by row with each value read in pieces as
// long as it is. Values are turned into their types when they are asked for.
//
// A forward-only cursor streams its statement's rows. Many drivers (SQL Server's among them)
// serve one pending result per connection, so before its engine runs anything else on the
// connection, the cursor that is still reading reads the rest of its rows into memory, lets
// its statement go and goes on from memory.

#include "data/ado/Motor.h"
#include "data/ado/odbc/Manijas.h"
#include "data/ado/odbc/Tipos.h"

#include <functional>
#include <memory>
#include <optional>

namespace ado::odbc {

// Throws the diagnostics of a statement handle as the engine's failure.
using Fallar = std::function<void(SQLHSTMT)>;

class Lector {
public:
    // Columns as the engine describes them (the names go into the messages).
    Lector(SQLHSTMT st, const std::vector<TipoColumna>& tipos, const std::vector<Columna>& columnas, Fallar fallar);
    ~Lector(); // the statement forgets the bound buffers
    Lector(const Lector&) = delete;
    Lector& operator=(const Lector&) = delete;

    // To the next row; false past the last. A driver's failure, or a value longer than the
    // driver declared (never cut short), is thrown here.
    bool siguiente();
    QVariant valor(int i) const;
    void leer(int i, QVariant& destino) const;
    // The current row, when there is one, and every row after it, into `filas`.
    void volcar(Filas& filas);
    bool hayFila() const { return hayFila_; }

private:
    void desenlazar();
    void leerFila(); // unbound columns: the fetched row's values, in order
    const SQLWCHAR* texto(int i, qsizetype& largo) const;

    SQLHSTMT st_;
    const std::vector<TipoColumna>& tipos_;
    const std::vector<Columna>& columnas_;
    Fallar fallar_;
    bool enBloques_ = false;
    bool hayFila_ = false;
    // Bound columns: characters per value, the block's text and lengths, rows in the block.
    std::vector<SQLLEN> anchos_;
    std::vector<std::vector<SQLWCHAR>> datos_;
    std::vector<std::vector<SQLLEN>> largos_;
    SQLULEN leidas_ = 0;
    SQLULEN f_ = 0;
    // Unbound columns: the current row.
    std::vector<QVariant> fila_;
};

class CursorOdbc;

// What a connection's cursors share with their engine: the one cursor still reading from the
// connection, and how to run a query again on it.
struct Turno {
    CursorOdbc* activo = nullptr;
    // Runs a query (the reading cursor goes to memory first); throws on failure.
    std::function<Sentencia(const QString& sql)> consultar;
    Fallar fallar;
};

class CursorOdbc : public Cursor {
public:
    CursorOdbc(std::shared_ptr<Turno> turno, QString sql, std::vector<Columna> columnas, std::vector<TipoColumna> tipos,
               Sentencia st);
    ~CursorOdbc() override;

    const std::vector<Columna>& columnas() const override { return columnas_; }
    bool siguiente() override;
    QVariant valor(int i) const override;
    void leer(int i, QVariant& destino) const override;
    void reiniciar() override; // runs the query again

    // The rest of the rows into memory, the statement let go. A failure while reading them
    // is kept and thrown when the rows before it have been handed out.
    void aMemoria();

private:
    void empezar(Sentencia st);
    void soltar(); // the statement and its reader go, the connection is free

    std::weak_ptr<Turno> turno_;
    QString sql_;
    std::vector<Columna> columnas_;
    std::vector<TipoColumna> tipos_;
    Sentencia st_;
    std::unique_ptr<Lector> lector_;
    Filas memoria_;
    size_t pos_ = size_t(-1);
    std::optional<FalloMotor> pendiente_;
};

} // namespace ado::odbc
