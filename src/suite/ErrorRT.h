#pragma once
// Run-time errors as the suite raises them (number, description, source), the routine
// runner that traps them and asks what to do, and the one way to end the program.

#include "suite/Dialogos.h"

#include <QString>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace suite {

struct ErrorRT {
    long Number = 0;
    QString Description;
    QString Source;
};

// The exception every layer raises for a run-time error.
class ErrorEjecucion : public std::exception {
public:
    explicit ErrorEjecucion(ErrorRT e);
    const ErrorRT& error() const { return err_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    ErrorRT err_;
    std::string what_;
};

[[noreturn]] void Lanzar(long numero, const QString& descripcion, const QString& origen = {});

// The error object of the exception being handled (call inside a catch block).
ErrorRT ErrorActual();

// Runs a routine's steps, trapping their errors. On an error the handler is asked:
// Repetir (Retry, 4) repeats the failing step, Seguir (Ignore, 5) goes on with the next
// one, anything else leaves the routine (later steps are skipped).
//
//     Rutina r = Rutina::conDialogoError("Cfg");
//     r([&] { rs = abrir(); });
//     r([&] { valor = rs.campo("Valor"); });
//     if (r.abandonada()) return {};
class Rutina {
public:
    using Manejador = std::function<int(const ErrorRT&)>;
    static constexpr int Repetir = vbRetry;
    static constexpr int Seguir = vbIgnore;

    explicit Rutina(Manejador preguntar);
    // The suite's error dialog with this routine name.
    static Rutina conDialogoError(const QString& nombreRutina);

    Rutina& operator()(const std::function<void()>& paso);

    bool abandonada() const { return abandonada_; }
    // The last error trapped, whatever the answer was.
    const std::optional<ErrorRT>& ultimoError() const { return ultimoError_; }

private:
    Manejador preguntar_;
    bool abandonada_ = false;
    std::optional<ErrorRT> ultimoError_;
};

// Ends the program at once. Tests replace the way it ends (usually with a throw of
// ProgramaTerminado); an empty function restores the real exit.
struct ProgramaTerminado {
    int codigo;
};
[[noreturn]] void TerminarPrograma(int codigo = 0);
// Exit statuses of a program ended from a failure path.
constexpr int SalidaSinConexion = 1;   // its first connection could not be opened
constexpr int SalidaEnlacePerdido = 3; // the link to the server was lost and not recovered
void FijarTerminador(std::function<void(int)> terminador);

} // namespace suite
