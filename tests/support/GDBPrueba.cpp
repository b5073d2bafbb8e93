#include "GDBPrueba.h"

#include "Demo.h"
#include "data/Sesion.h"

PromptGuionado::PromptGuionado() { FijarPromptAcceso(this); }
PromptGuionado::~PromptGuionado() { FijarPromptAcceso(nullptr); }

std::optional<DatosAcceso> PromptGuionado::Pedir(const DatosAcceso& inicial)
{
    vistos << inicial;
    return respuestas.isEmpty() ? std::nullopt : respuestas.takeFirst();
}

namespace {
void limpiarSesion()
{
    gDB.gCnn.WillExecute = nullptr;
    gDB.Reiniciar();
    gUsuarioLogeado.clear();
    gPassWordLogeado.clear();
    gConfidencialidad = false;
    FijarNombreEjecutable({});
}
} // namespace

GDBPrueba::GDBPrueba(bool abrirYa)
{
    limpiarSesion();
    FijarCarpetaAplicacion(carpeta());
    if (abrirYa)
        abrir();
}

GDBPrueba::~GDBPrueba()
{
    limpiarSesion();
    FijarCarpetaAplicacion({});
}

void GDBPrueba::abrir(const QString& usuario)
{
    gUsuarioLogeado = usuario;
    gDB.gServidor = QString::fromLatin1(demo::ServidorDemo);
    gDB.gDBName = gDB.gUsuario = gDB.gUserPassWord = QString::fromLatin1(demo::BaseDemo);
    gDB.OpenServerADODB(false, 3, QString(), true, true);
    gDB.gCnn.WillExecute = [this](const QString& s) { enviadas_ << s; };
}

QStringList GDBPrueba::enviadas()
{
    QStringList r;
    r.swap(enviadas_);
    return r;
}
