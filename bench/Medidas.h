#pragma once
// What the lookup timing harnesses share: the median and worst of a series, and the same
// statements run through the sqlite3 C API (the raw engine's time, rows counted, texts read).

#include "data/ado/servidores/SQLite.h"
#include "data/ado/sqlite/Sesion.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace medidas {

inline double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double maximo(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

// Milliseconds to run the T-SQL batch on the file, as the program's SQLite engine translates it.
inline double directo(const QString& archivo, const QString& tsql, long* filas)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    ado::sqlite::MotorSqlite::Preparar(db, 30000);
    QElapsedTimer t;
    t.start();
    std::vector<QString> celdas;
    *filas = 0;
    for (const auto& s : ado::sqlite::TraducirLote(tsql)) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, s.sql.toUtf8().constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++*filas;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                celdas.push_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))).trimmed());
        }
        sqlite3_finalize(st);
    }
    const double ms = t.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    return ms;
}

} // namespace medidas
