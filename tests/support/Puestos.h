#pragma once
// Other workstations for a test: connections of their own to the demo company, and two of
// them working at once on threads, where no dialog is expected.

#include "data/DB_Dll.h"
#include "suite/Dialogos.h"

#include <QThread>
#include <atomic>
#include <functional>

inline void abrirPuesto(DB_Dll& db)
{
    db.gServidor = QStringLiteral("DEMO");
    db.gDBName = db.gUsuario = db.gUserPassWord = QStringLiteral("EMPRESA_DEMO");
    db.OpenServerADODB(false, 3, QString(), false, false);
}

// Dialogs for worker threads: none is expected; any that comes is counted.
class SinDialogos : public suite::IDialogos {
public:
    std::atomic<int> vistos{0};
    int MsgBox(const QString&, int, const QString&) override { ++vistos; return suite::vbOK; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> AbrirArchivo(const QString&, const QString&) override { return std::nullopt; }
};

// Runs `trabajo` on two threads at once, workstation 0 and 1, each with its own connection,
// with `sin` answering any dialog. False when one has not ended within `ms`.
inline bool enDosPuestos(SinDialogos& sin, const std::function<void(DB_Dll&, int)>& trabajo, unsigned long ms)
{
    suite::FijarDialogos(&sin);
    QThread* hilos[2];
    for (int i = 0; i < 2; ++i)
        hilos[i] = QThread::create([&trabajo, i] {
            DB_Dll db;
            abrirPuesto(db);
            trabajo(db, i);
        });
    for (QThread* h : hilos)
        h->start();
    bool terminados = true;
    for (QThread* h : hilos)
        terminados = h->wait(ms) && terminados;
    if (terminados)
        for (QThread* h : hilos)
            delete h;
    suite::FijarDialogos(nullptr);
    return terminados;
}
