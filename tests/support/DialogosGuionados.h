#pragma once
// Operator dialogs for tests: each dialog takes the next planned answer and is recorded.
// A dialog the test did not plan fails the test; so do planned answers left unused.

#include "suite/Dialogos.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct DialogoVisto {
    enum Tipo { Mensaje, Entrada, Archivo } tipo;
    QString titulo;
    QString texto;
    int estilo = 0;
};

class DialogosGuionados : public suite::IDialogos {
public:
    DialogosGuionados();  // installs itself as the program's dialogs
    ~DialogosGuionados() override; // restores the previous ones

    DialogosGuionados& responder(int respuesta);                    // next message box
    // Next message box: runs antes while it is on screen, then answers.
    DialogosGuionados& responder(int respuesta, std::function<void()> antes);
    DialogosGuionados& escribir(std::optional<QString> texto);      // next input box
    DialogosGuionados& elegirArchivo(std::optional<QString> ruta);  // next open- or save-file dialog

    const QList<DialogoVisto>& vistos() const { return vistos_; }
    const DialogoVisto& ultimo() const { return vistos_.back(); }
    int pendientes() const { return int(plan_.size()); }

    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    std::optional<QString> InputBox(const QString& texto, const QString& titulo,
                                    const QString& porDefecto) override;
    std::optional<QString> AbrirArchivo(const QString& titulo, const QString& filtro) override;
    std::optional<QString> GuardarArchivo(const QString& titulo, const QString& filtro, const QString& propuesto) override;

private:
    struct Plan {
        DialogoVisto::Tipo tipo;
        int respuesta = 0;
        std::optional<QString> texto;
        std::function<void()> antes;
    };
    std::optional<Plan> siguiente(DialogoVisto visto);

    QList<Plan> plan_;
    QList<DialogoVisto> vistos_;
    suite::IDialogos* anteriores_;
};
