#pragma once
// A PostgreSQL server through libpq. The registry of servers gives its host ("Servidor") and
// port ("Puerto"); the database and login are those of the connection string, in lower case,
// the password as given.

#include "data/ado/Motor.h"
#include "data/ado/postgresql/Manijas.h"
#include "data/ado/postgresql/Tipos.h"

#include <QHash>
#include <QStringList>

namespace ado::postgresql {

class MotorPostgres : public Motor {
public:
    MotorPostgres();
    ~MotorPostgres() override;

    void abrir(const ParametrosConexion& p) override;
    void cerrar() override;
    bool abierto() const override;
    QString base() const override { return base_; }
    QString origen() const override { return QStringLiteral("Proveedor PostgreSQL"); }

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

    // Creates (or, with reemplazar, first drops) a database of the suite on the server of a
    // registry entry, with the login the suite's convention needs (name and password: the
    // database name). Connects as the entry's "Administrador"; its password is never kept in
    // the registry: libpq takes it from PGPASSWORD or ~/.pgpass.
    static bool CrearBase(const QMap<QString, QString>& registro, const QString& base, bool reemplazar, QString* error);
    static bool BorrarBase(const QMap<QString, QString>& registro, const QString& base, QString* error);

    // A connection string of libpq for a registry entry, database and login.
    static QString CadenaLibpq(const QMap<QString, QString>& registro, const QString& base, const QString& usuario,
                               const QString& clave, int tiempo);

private:
    Respuesta correr(const QString& sql, const std::vector<QVariant>* parametros);
    [[noreturn]] void fallar(Respuesta r);
    void describir(const pg_result* r, std::vector<Columna>& columnas, std::vector<TipoColumna>& tipos);
    // The rows of a query's result into acum (its first row set).
    void tomarFilas(const pg_result* r, Resultado& acum);
    void asegurarTipos(const QString& sql);
    void comando(const char* sql);
    // BEGIN, and the locks of a transaction that names these resources (none: the database).
    void iniciar(const QStringList& recursos);

    Conexion cn_;
    QString base_;
    QString servidor_; // as the connection string names it, for messages
    int tiempoSeg_ = 30;
    QHash<unsigned, QHash<int, QString>> dominios_; // table OID -> column -> type name
    QHash<unsigned, QString> nombresTabla_;
    QHash<unsigned, QHash<int, QString>> declarados_; // table OID -> column -> declared spelling
    QString consulta_;                                 // the statement last sent
    bool preparada_ = false;
};

} // namespace ado::postgresql
