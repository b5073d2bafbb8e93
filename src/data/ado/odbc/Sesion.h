#pragma once
// A database reached through ODBC (unixODBC): SQL Server with FreeTDS or the vendor's driver,
// Oracle or PostgreSQL through theirs. Which dialect a statement needs follows the database
// at the other end (the driver's DBMS name), not the engine that carries it.

#include "data/ado/Motor.h"
#include "data/ado/odbc/Cursor.h"
#include "data/ado/servidores/Servidor.h"
#include "data/ado/odbc/Tipos.h"

#include <QHash>
#include <QStringList>

namespace ado::odbc {

struct Enlazados; // a statement's parameter buffers

class MotorOdbc : public Motor {
public:
    using Dialecto = servidores::Dialecto;

    MotorOdbc();
    ~MotorOdbc() override;

    void abrir(const ParametrosConexion& p) override;
    void cerrar() override;
    bool abierto() const override;
    QString base() const override { return base_; }
    QString origen() const override { return QStringLiteral("Proveedor ODBC"); }

    Resultado ejecutar(const QString& tsql) override;
    Resultado ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros) override;
    std::unique_ptr<Cursor> abrirCursor(const QString& tsql) override;

    void iniciarTransaccion() override;
    void confirmarTransaccion() override;
    void deshacerTransaccion() override;

    std::vector<TablaEsquema> tablas() override;
    std::vector<ColumnaEsquema> columnas(const QString& tabla) override;

    void fijarTiempoComando(int segundos) override;
    QString citar(const QString& id) const override;

    Dialecto dialecto() const { return dialecto_; }
    QString nombreDbms() const { return dbms_; }

private:
    struct Manijas;
    struct ColumnaCatalogo {
        QString tipo;      // a domain of ours (vl_varchar_60...) or the server's type
        QString declarado; // the spelling of CREATE TABLE, where it had capitals
    };
    void correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acum);
    // BEGIN, and on PostgreSQL the locks of a transaction that names these resources.
    void iniciar(const QStringList& recursos);
    // A statement run on the connection, its first result pending (the reading cursor goes to
    // memory first); parametros as in correr.
    Sentencia enviar(const QString& sql, const std::vector<QVariant>* parametros, Enlazados& enlazados, SQLRETURN& r);
    std::vector<TipoColumna> describir(const QString& sql, SQLHSTMT st, SQLSMALLINT ncol, Resultado& acum);
    // The statement's results as a batch gives them: the first row set whole (computed bigint
    // columns made int where their values fit), the rows touched by its commands.
    void leerResultados(const QString& sql, SQLHSTMT st, Resultado& acum);
    void leerPasado(SQLHSTMT st);
    // The cursor still reading from the connection reads the rest of its rows into memory.
    void liberarCursor();
    // The diagnostic records of a handle as the failure to throw.
    FalloMotor fallo(short tipoManija, void* manija, bool conectada) const;
    [[noreturn]] void fallar(short tipoManija, void* manija);
    // The declared type of a table's column on PostgreSQL (one look per table).
    ColumnaCatalogo catalogoDe(const QString& tabla, const QString& columna);
    QHash<QString, QHash<QString, ColumnaCatalogo>> catalogo_;
    bool enCatalogo_ = false;

    std::shared_ptr<Turno> turno_;
    std::unique_ptr<Manijas> h_;
    struct {
        QString servidor, base, usuario;
    } destino_; // named in the messages of a failed opening
    QString base_;
    QString dbms_;
    Dialecto dialecto_ = Dialecto::SqlServer;
    int tiempoSeg_ = 30;
    bool preparada_ = false;
    bool enTransaccion_ = false;
};

} // namespace ado::odbc
