#include "suite/Dialogos.h"

#include <QCoreApplication>

namespace suite {

namespace {

IDialogos*& instalados()
{
    static IDialogos* d = nullptr;
    return d;
}

} // namespace

QString TextoBoton(int respuesta)
{
    switch (respuesta) {
    case vbOK: return QStringLiteral("Aceptar");
    case vbCancel: return QStringLiteral("Cancelar");
    case vbAbort: return QStringLiteral("Anular");
    case vbRetry: return QStringLiteral("Reintentar");
    case vbIgnore: return QStringLiteral("Omitir");
    case vbYes: return QStringLiteral("Sí");
    case vbNo: return QStringLiteral("No");
    default: return {};
    }
}

IDialogos& Dialogos()
{
    IDialogos* d = instalados();
    return d ? *d : DialogosPredeterminados();
}

void FijarDialogos(IDialogos* dialogos) { instalados() = dialogos; }

int RespuestaSinOperador(int estilo)
{
    switch (estilo & 7) {
    case vbOKCancel:
    case vbRetryCancel:
    case vbYesNoCancel: return vbCancel;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNo: return vbNo;
    default: return vbOK;
    }
}

QString TituloAplicacion()
{
    const QString nombre = QCoreApplication::applicationName();
    return nombre.isEmpty() ? QStringLiteral("Prorrata") : nombre;
}

int MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    return Dialogos().MsgBox(texto, estilo, titulo.isEmpty() ? TituloAplicacion() : titulo);
}

std::optional<QString> InputBox(const QString& texto, const QString& titulo, const QString& porDefecto)
{
    return Dialogos().InputBox(texto, titulo.isEmpty() ? TituloAplicacion() : titulo, porDefecto);
}

} // namespace suite
