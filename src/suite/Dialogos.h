#pragma once
// Operator dialogs: message box, input box and open-file dialog behind one interface, with
// the suite's numeric styles and answers. The program uses the Qt implementation; tests
// install a scripted one.

#include <QString>
#include <optional>

namespace suite {

// Message-box style: a button set, plus an icon, plus a default button.
enum EstiloMsg : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// Answers.
enum Respuesta : int {
    vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7
};

class IDialogos {
public:
    virtual ~IDialogos() = default;
    // Returns the answer (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    virtual int MsgBox(const QString& texto, int estilo, const QString& titulo) = 0;
    // nullopt when the operator cancels.
    virtual std::optional<QString> InputBox(const QString& texto, const QString& titulo,
                                            const QString& porDefecto) = 0;
    // filtro as "description|pattern[|description|pattern...]"; nullopt when cancelled.
    virtual std::optional<QString> AbrirArchivo(const QString& titulo, const QString& filtro) = 0;
    // The save-file dialog, starting at `propuesto`; nullopt when cancelled (and where there
    // are no windows to show it).
    virtual std::optional<QString> GuardarArchivo(const QString& titulo, const QString& filtro, const QString& propuesto)
    {
        (void)titulo, (void)filtro, (void)propuesto;
        return std::nullopt;
    }
};

class DialogosQt : public IDialogos {
public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    std::optional<QString> InputBox(const QString& texto, const QString& titulo,
                                    const QString& porDefecto) override;
    std::optional<QString> AbrirArchivo(const QString& titulo, const QString& filtro) override;
    std::optional<QString> GuardarArchivo(const QString& titulo, const QString& filtro, const QString& propuesto) override;
};

// The dialogs in use; FijarDialogos(nullptr) goes back to the predetermined ones.
IDialogos& Dialogos();
void FijarDialogos(IDialogos* dialogos);
// The dialogs used when none are set: the Qt ones (DialogosQt.cpp). A program without windows
// defines its own, and then never loads Qt's GUI libraries.
IDialogos& DialogosPredeterminados();

// The title used when a caller gives none: the application's name.
QString TituloAplicacion();

int MsgBox(const QString& texto, int estilo = vbOKOnly, const QString& titulo = {});
std::optional<QString> InputBox(const QString& texto, const QString& titulo = {},
                                const QString& porDefecto = {});

// Button captions, in the order of the answers 1 to 7.
QString TextoBoton(int respuesta);

// The answer that gives up, for a message nobody at the screen answers: Cancel, Abort or
// No; OK when it is the only button.
int RespuestaSinOperador(int estilo);

} // namespace suite
