#pragma once
// A fresh demo company for a test: its own folder, registry of servers and SQLite files.

#include "Entorno.h"
#include "Peculiaridades.h"
#include "data/ado/Ado.h"

#include <QString>

class EmpresaPrueba : public EntornoPrueba {
public:
    explicit EmpresaPrueba(int cuentasExtra = 0, int centrosExtra = 0);
    ~EmpresaPrueba();

    QString cadena() const;                        // the company database
    QString cadena(const QString& base) const;     // another database of the demo server
    // An open connection to the company database.
    std::unique_ptr<ado::Connection> conectar() const;
    // Removes a database of the demo server (its file, or the server's database).
    bool borrarBase(const QString& base) const;
    // The first column of the first row of a query, or an invalid variant when no row.
    static QVariant valor(ado::Connection& cn, const QString& sql);
};
