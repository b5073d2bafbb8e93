#pragma once
// What the connection code needs of the login form: show it pre-filled, and get back what
// the user accepted, or nothing when the user cancelled. The program wires the real form
// in at start-up; while none is installed (and in tests that plan nothing) it answers cancel.

#include <QString>
#include <optional>

struct DatosAcceso {
    QString base;
    QString servidor;
    QString usuario;
    QString clave;
    int plataforma = 0; // 0 SQL Server, 1 ORACLE
};

class IPromptAcceso {
public:
    virtual ~IPromptAcceso() = default;
    virtual std::optional<DatosAcceso> Pedir(const DatosAcceso& inicial) = 0;
};

IPromptAcceso& PromptAcceso();
void FijarPromptAcceso(IPromptAcceso* prompt); // nullptr: the prompt that answers cancel
