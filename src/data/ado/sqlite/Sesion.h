#pragma once
// The embedded engine: one SQLite file per database, "<Carpeta>/<database>.db", reached
// through the sqlite3 C API. Text compares as on SQL Server's default collation (letter case
// and trailing blanks ignored) through the VL collation and our LIKE, UPPER and LOWER.

#include "data/ado/Motor.h"
#include "data/ado/sqlite/Manijas.h"

namespace ado::sqlite {

class MotorSqlite : public Motor {
public:
    MotorSqlite();
    ~MotorSqlite() override;

    void abrir(const ParametrosConexion& p) override;
    void cerrar() override;
    bool abierto() const override { return db_ != nullptr; }
    QString base() const override { return base_; }
    QString origen() const override;

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

    // A database name that names a file of the server's folder and nothing outside it.
    static bool NombreSimple(const QString& base);
    // The file a database name maps to in a folder (letter case of the name ignored).
    static QString ArchivoDe(const QString& carpeta, const QString& base);
    // Creates an empty database file; false with the reason when it cannot (or it exists).
    static bool CrearArchivo(const QString& ruta, QString* error = nullptr);
    // Sets up a connection handle: collation, functions, busy time-out, foreign keys.
    static void Preparar(sqlite3* db, int tiempoMs);

private:
    Resultado correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acumulado);
    [[noreturn]] void fallar(int codigo);

    Conexion db_;
    QString base_;
    int tiempoMs_ = 30000;
};

} // namespace ado::sqlite
