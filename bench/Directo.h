#pragma once
// The raw engine beside the store's benchmarks: a company file opened through the sqlite3 C
// API as the program's engine opens it, and T-SQL batches translated once to the statements
// that engine runs.

#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <vector>

struct Directo {
    sqlite3* db = nullptr;
    explicit Directo(const QString& archivo)
    {
        sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        ado::sqlite::MotorSqlite::Preparar(db, 30000);
    }
    ~Directo() { sqlite3_close(db); }
    Directo(const Directo&) = delete;
    Directo& operator=(const Directo&) = delete;
};

// The statements the engine runs for a T-SQL batch, translated once.
inline std::vector<QByteArray> Traducir(const QString& tsql)
{
    std::vector<QByteArray> sentencias;
    for (const auto& s : ado::sqlite::TraducirLote(tsql)) {
        if (s.accion == ado::sqlite::Accion::Bloquear)
            continue; // the engine runs nothing for a table's lock: BEGIN IMMEDIATE holds the file
        const char* sql = s.accion == ado::sqlite::Accion::Iniciar ? "BEGIN IMMEDIATE"
            : s.accion == ado::sqlite::Accion::Confirmar           ? "COMMIT"
            : s.accion == ado::sqlite::Accion::Deshacer            ? "ROLLBACK"
                                                                   : nullptr;
        sentencias.push_back(sql ? QByteArray(sql) : s.sql.toUtf8());
    }
    return sentencias;
}

// Runs the statements, every value of every row read as text.
inline void ejecutarDirecto(sqlite3* db, const std::vector<QByteArray>& sentencias)
{
    for (const QByteArray& texto : sentencias) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, texto.constData(), int(texto.size()), &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                benchmark::DoNotOptimize(sqlite3_column_text(st, i));
        sqlite3_finalize(st);
    }
}
