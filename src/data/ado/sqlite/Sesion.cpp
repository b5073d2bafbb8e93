#include "data/ado/sqlite/Sesion.h"

#include "data/ado/Constantes.h"
#include "data/ado/sqlite/Cursor.h"
#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Errores.h"
#include "data/ado/sqlite/FuncionesVL.h"
#include "data/ado/sqlite/Tipos.h"
#include "suite/Ini.h"
#include "suite/Moneda.h"

#include <QDateTime>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace ado::sqlite {

MotorSqlite::MotorSqlite() = default;

MotorSqlite::~MotorSqlite() { cerrar(); }

QString MotorSqlite::origen() const { return QStringLiteral("Proveedor SQLite"); }

QString MotorSqlite::citar(const QString& id) const { return tsql::Citado(id); }

QString MotorSqlite::ArchivoDe(const QString& carpeta, const QString& base)
{
    return suite::BuscarArchivoSinCaso(carpeta, base.trimmed() + QStringLiteral(".db"));
}

bool MotorSqlite::NombreSimple(const QString& base)
{
    const QString n = base.trimmed();
    return !n.startsWith(u'.') && !n.contains(u'/') && !n.contains(u'\\') && !n.contains(u':') && !n.contains(QChar(0));
}

bool MotorSqlite::CrearArchivo(const QString& ruta, QString* error)
{
    if (QFileInfo::exists(ruta)) {
        if (error)
            *error = QStringLiteral("El archivo %1 ya existe.").arg(ruta);
        return false;
    }
    // Company data: readable by its owner only (SQLite gives its journals the file's mode).
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        if (error)
            *error = QStringLiteral("No se puede crear el archivo %1: %2").arg(ruta, archivo.errorString());
        return false;
    }
    archivo.close();
    int rc = SQLITE_OK;
    const Conexion db = AbrirConexion(ruta, SQLITE_OPEN_READWRITE, &rc);
    // Writing the header makes the file a database at once.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db.get(), "PRAGMA user_version=1", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && error)
        *error = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc));
    return rc == SQLITE_OK;
}

void MotorSqlite::Preparar(sqlite3* db, int tiempoMs)
{
    sqlite3_busy_timeout(db, tiempoMs);
    sqlite3_extended_result_codes(db, 1);
    RegistrarFuncionesVL(db);
    sqlite3_exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);
}

void MotorSqlite::abrir(const ParametrosConexion& p)
{
    cerrar();
    const QString carpeta = p.registro.value(QStringLiteral("carpeta"));
    const QString archivoFijo = p.registro.value(QStringLiteral("archivo")); // a file chosen by the user
    auto fallaApertura = [&](const QString& texto, long nativo = 4060) {
        throw FalloMotor({ErrorMotor{err::Fallo, texto, QStringLiteral("42000"), nativo}});
    };
    if (carpeta.isEmpty() && archivoFijo.isEmpty())
        fallaApertura(QStringLiteral("El servidor %1 no indica en el registro de servidores la carpeta de sus bases de datos (clave Carpeta).")
                          .arg(p.servidor), 17);
    if (archivoFijo.isEmpty() && !NombreSimple(p.base))
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\": el nombre de una base de datos es un nombre "
                                     "simple, sin carpetas ni los caracteres / \\ : ni un punto al principio.")
                          .arg(p.base.trimmed()));
    const QString archivo = archivoFijo.isEmpty() ? ArchivoDe(carpeta, p.base) : archivoFijo;
    if ((archivoFijo.isEmpty() && p.base.trimmed().isEmpty()) || !QFileInfo(archivo).isFile())
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\" solicitada por el inicio de sesión. "
                                     "Error de inicio de sesión. (No existe el archivo %2)")
                          .arg(p.base.trimmed(), archivo));

    int rc = SQLITE_OK;
    Conexion db = AbrirConexion(archivo, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, &rc);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc));
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\" (%2): %3").arg(p.base.trimmed(), archivo, msg));
    }
    Preparar(db.get(), tiempoMs_);
    // Reading the schema tells a database from any other file.
    char* error = nullptr;
    if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(error ? error : sqlite3_errmsg(db.get()));
        sqlite3_free(error);
        fallaApertura(QStringLiteral("No se puede abrir la base de datos \"%1\" (%2): %3").arg(p.base.trimmed(), archivo, msg));
    }
    db_ = std::move(db);
    base_ = p.base.trimmed();
}

void MotorSqlite::cerrar() { db_.reset(); }

void MotorSqlite::fijarTiempoComando(int segundos)
{
    tiempoMs_ = segundos > 0 ? segundos * 1000 : 24 * 3600 * 1000; // 0: wait without limit, as ADO
    if (db_)
        sqlite3_busy_timeout(db_.get(), tiempoMs_);
}


void MotorSqlite::fallar(int codigo)
{
    FalloMotor f = FalloSqlite(db_.get(), codigo);
    if (f.enlacePerdido)
        cerrar();
    throw f;
}

Resultado MotorSqlite::correr(const QString& sql, const std::vector<QVariant>* parametros, Resultado& acum)
{
    if (!db_)
        throw FalloDe(Categoria::ConexionCerrada);
    const QByteArray texto = sql.toUtf8();
    const char* resto = texto.constData();
    const char* fin = resto + texto.size();
    while (resto < fin) {
        int rc = SQLITE_OK;
        const Sentencia s = PrepararSentencia(db_.get(), resto, fin, &resto, &rc);
        if (rc != SQLITE_OK)
            fallar(sqlite3_extended_errcode(db_.get()));
        if (!s)
            continue; // only blanks or comments left
        if (parametros) {
            for (int i = 0; i < int(parametros->size()); ++i)
                Enlazar(s.get(), i + 1, (*parametros)[size_t(i)]);
        }
        const int ncol = sqlite3_column_count(s.get());
        const bool capturar = ncol > 0 && !acum.conFilas;
        std::vector<TipoColumna> tipos;
        if (capturar) {
            acum.conFilas = true;
            Describir(s.get(), acum.columnas, tipos);
            acum.filas.fijarColumnas(size_t(ncol));
        }
        const sqlite3_int64 antes = sqlite3_total_changes64(db_.get());
        const bool escribe = !sqlite3_stmt_readonly(s.get());
        int paso;
        while ((paso = sqlite3_step(s.get())) == SQLITE_ROW) {
            if (!capturar)
                continue;
            QVariant* fila = acum.filas.nueva();
            for (int i = 0; i < ncol; ++i)
                fila[i] = ValorDe(s.get(), i, tipos[size_t(i)]);
        }
        if (paso != SQLITE_DONE)
            fallar(sqlite3_extended_errcode(db_.get()));
        if (capturar) {
            for (int i = 0; i < ncol; ++i)
                if (tipos[size_t(i)].tipo == -1)
                    DeducirTipo(acum.columnas[size_t(i)], acum.filas, size_t(i));
        }
        if (escribe && ncol == 0) {
            const sqlite3_int64 cambios = sqlite3_total_changes64(db_.get()) - antes;
            acum.afectados = (acum.afectados < 0 ? 0 : acum.afectados) + long(cambios);
            if (cambios > 0)
                acum.ultimaIdentidad = qlonglong(sqlite3_last_insert_rowid(db_.get()));
        }
    }
    return acum;
}

Resultado MotorSqlite::ejecutar(const QString& tsql)
{
    Resultado acum;
    for (const SentenciaSqlite& s : TraducirLote(tsql)) {
        switch (s.accion) {
        case Accion::Iniciar: correr(QStringLiteral("BEGIN IMMEDIATE"), nullptr, acum); break;
        case Accion::Confirmar: correr(QStringLiteral("COMMIT"), nullptr, acum); break;
        case Accion::Deshacer: correr(QStringLiteral("ROLLBACK"), nullptr, acum); break;
        case Accion::Sentencia: correr(s.sql, nullptr, acum); break;
        case Accion::Bloquear: break; // BEGIN IMMEDIATE already holds the whole file
        }
    }
    return acum;
}

Resultado MotorSqlite::ejecutarSql(const QString& sql, const std::vector<QVariant>& parametros)
{
    Resultado acum;
    return correr(sql, &parametros, acum);
}

std::unique_ptr<Cursor> MotorSqlite::abrirCursor(const QString& tsql)
{
    if (!db_)
        return nullptr;
    const std::vector<SentenciaSqlite> lote = TraducirLote(tsql);
    if (lote.size() != 1 || lote.front().accion != Accion::Sentencia)
        return nullptr;
    const QByteArray texto = lote.front().sql.toUtf8();
    const char* resto = nullptr;
    int rc = SQLITE_OK;
    Sentencia st = PrepararSentencia(db_.get(), texto.constData(), texto.constData() + texto.size(), &resto, &rc);
    if (rc != SQLITE_OK)
        fallar(sqlite3_extended_errcode(db_.get()));
    const bool unaConsulta = st && sqlite3_column_count(st.get()) > 0 && sqlite3_stmt_readonly(st.get())
        && QByteArray(resto).trimmed().isEmpty();
    if (!unaConsulta)
        return nullptr;
    try {
        return CrearCursor(db_.get(), std::move(st));
    } catch (const FalloMotor& f) {
        if (f.enlacePerdido)
            cerrar();
        throw;
    }
}

void MotorSqlite::iniciarTransaccion()
{
    Resultado r;
    correr(QStringLiteral("BEGIN IMMEDIATE"), nullptr, r);
}

void MotorSqlite::confirmarTransaccion()
{
    Resultado r;
    correr(QStringLiteral("COMMIT"), nullptr, r);
}

void MotorSqlite::deshacerTransaccion()
{
    Resultado r;
    correr(QStringLiteral("ROLLBACK"), nullptr, r);
}

std::vector<TablaEsquema> MotorSqlite::tablas()
{
    Resultado r;
    correr(QStringLiteral("SELECT name, upper(type) FROM sqlite_master WHERE type IN ('table','view') "
                          "AND name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY name"),
           nullptr, r);
    std::vector<TablaEsquema> t;
    for (size_t i = 0; i < r.filas.size(); ++i)
        t.push_back({r.filas[i][0].toString(), r.filas[i][1].toString()});
    return t;
}

std::vector<ColumnaEsquema> MotorSqlite::columnas(const QString& tabla)
{
    std::vector<ColumnaEsquema> c;
    const std::vector<TablaEsquema> todas = tablas();
    for (const TablaEsquema& t : todas) {
        if (!tabla.isEmpty() && t.nombre.compare(tabla, Qt::CaseInsensitive) != 0)
            continue;
        Resultado r;
        const std::vector<QVariant> p{t.nombre};
        correr(QStringLiteral("SELECT cid, name, type, \"notnull\" FROM pragma_table_info(?) ORDER BY cid"), &p, r);
        for (size_t i = 0; i < r.filas.size(); ++i) {
            const auto f = r.filas[i];
            const TipoColumna tipo = TipoDe(f[2].toString().toUtf8().constData());
            c.push_back({t.nombre, f[1].toString(), f[0].toInt() + 1, tipo.tipo == -1 ? int(adVarChar) : tipo.tipo,
                         tipo.tamanio, f[3].toInt() == 0});
        }
    }
    return c;
}

} // namespace ado::sqlite
