#pragma once
// A database reached through ODBC (unixODBC): SQL Server with FreeTDS or the vendor's driver,
// Oracle or PostgreSQL through theirs. Which dialect a statement needs follows the database
// at the other end (the driver's DBMS name), not the engine that carries it.

#include "data/ado/Motor.h"

#include <QHash>

namespace ado::odbc {

class MotorOdbc : public Motor {
public:
    enum class Dialecto { SqlServer, PostgreSQL, SQLite };

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
    void correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acum);
    // The diagnostic records of a handle as the failure to throw.
    FalloMotor fallo(short tipoManija, void* manija, bool conectada) const;
    [[noreturn]] void fallar(short tipoManija, void* manija);
    std::vector<QString> traducir(const QString& tsql, std::vector<int>* acciones);
    // The declared type of a table's column on PostgreSQL (one look per table).
    QString tipoDeCatalogo(const QString& tabla, const QString& columna);
    QHash<QString, QHash<QString, QString>> catalogo_;
    bool enCatalogo_ = false;

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
