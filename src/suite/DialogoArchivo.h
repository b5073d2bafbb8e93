#pragma once
// The open-file dialog of the suite: set TituloDialogo and Filtro ("description|pattern"),
// call MostrarAbrir, then read NombreArchivo and Cancelado.

#include <QString>

namespace suite {

class DialogoArchivo {
public:
    QString TituloDialogo;
    QString Filtro;
    QString NombreArchivo;
    bool Cancelado = false;

    void MostrarAbrir();
};

} // namespace suite
