#pragma once
// gDB on a fresh demo company for one test: the object reset before and after, the session
// values cleared, a scripted login prompt, and the statements sent recorded.

#include "EmpresaPrueba.h"
#include "data/DB_Dll.h"
#include "data/PromptAcceso.h"

#include <QStringList>

class PromptGuionado : public IPromptAcceso {
public:
    PromptGuionado();
    ~PromptGuionado() override;
    std::optional<DatosAcceso> Pedir(const DatosAcceso& inicial) override;

    QList<std::optional<DatosAcceso>> respuestas; // taken in order; none left: cancel
    QList<DatosAcceso> vistos;
};

class GDBPrueba : public EmpresaPrueba {
public:
    explicit GDBPrueba(bool abrir = true);
    ~GDBPrueba();

    // Opens gDB on the demo company as the start-up does, silently.
    void abrir(const QString& usuario = QStringLiteral("ANA"));
    // The statements sent on gDB's connection since the last call.
    QStringList enviadas();

    PromptGuionado prompt;

private:
    QStringList enviadas_;
};
