#include "suite/DialogoArchivo.h"

#include "suite/Dialogos.h"

namespace suite {

void DialogoArchivo::MostrarAbrir()
{
    const auto elegido = Dialogos().AbrirArchivo(TituloDialogo, Filtro);
    Cancelado = !elegido.has_value();
    NombreArchivo = elegido.value_or(QString());
}

void DialogoArchivo::MostrarGuardar()
{
    const auto elegido = Dialogos().GuardarArchivo(TituloDialogo, Filtro, NombreArchivo);
    Cancelado = !elegido.has_value();
    NombreArchivo = elegido.value_or(QString());
}

} // namespace suite
