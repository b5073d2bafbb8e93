#pragma once
// The file dialogs of the suite: set TituloDialogo and Filtro ("description|pattern"),
// call MostrarAbrir (or MostrarGuardar, which starts at NombreArchivo), then read
// NombreArchivo and Cancelado.

#include <QString>

namespace suite {

class DialogoArchivo {
public:
    QString TituloDialogo;
    QString Filtro;
    QString NombreArchivo;
    bool Cancelado = false;

    void MostrarAbrir();
    void MostrarGuardar();
};

} // namespace suite
