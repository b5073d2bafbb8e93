#include "data/ado/postgresql/Cursor.h"

#include "data/ado/Constantes.h"

#include <cstdlib>
#include <libpq-fe.h>

namespace ado::postgresql {

namespace {

class CursorPostgres : public Cursor {
public:
    CursorPostgres(Respuesta r, std::vector<Columna> columnas, std::vector<TipoColumna> tipos)
        : r_(std::move(r)), columnas_(std::move(columnas)), tipos_(std::move(tipos))
    {
        // How each column's text becomes a value, decided once.
        for (size_t i = 0; i < tipos_.size(); ++i) {
            const int t = tipos_[i].tipo;
            clases_.push_back(t == adInteger || t == adSmallInt || t == adUnsignedTinyInt ? Clase::Entero
                              : t == adBoolean ? (PQftype(r_.get(), int(i)) == OidBool ? Clase::Bool : Clase::Logico)
                              : t == adVarChar || t == adChar || t == adLongVarChar ? Clase::Texto
                                                                                   : Clase::Otra);
        }
    }
    const std::vector<Columna>& columnas() const override { return columnas_; }
    bool siguiente() override { return ++fila_ < PQntuples(r_.get()); }
    QVariant valor(int i) const override { return ValorDe(r_.get(), fila_, i, tipos_[size_t(i)], PQftype(r_.get(), i)); }
    void leer(int i, QVariant& destino) const override
    {
        // Values go into the storage `destino` already has where they can. A null value reads
        // as an empty text, so only empty texts are asked whether they are null.
        const char* v = PQgetvalue(r_.get(), fila_, i);
        const int largo = PQgetlength(r_.get(), fila_, i);
        if (largo == 0 && PQgetisnull(r_.get(), fila_, i)) {
            if (destino.isValid())
                destino = QVariant();
            return;
        }
        switch (clases_[size_t(i)]) {
        case Clase::Entero:
            destino.setValue(std::atoi(v));
            return;
        case Clase::Bool:
            destino.setValue(v[0] == 't');
            return;
        case Clase::Logico:
            destino.setValue(std::atoi(v) != 0);
            return;
        case Clase::Texto:
            if (LeerTextoAscii(v, largo, destino))
                return;
            break;
        case Clase::Otra:
            break;
        }
        destino = valor(i);
    }
    void reiniciar() override { fila_ = -1; }

private:
    enum class Clase : unsigned char { Entero, Bool, Logico, Texto, Otra };

    Respuesta r_;
    std::vector<Columna> columnas_;
    std::vector<TipoColumna> tipos_;
    std::vector<Clase> clases_;
    int fila_ = -1;
};

} // namespace

std::unique_ptr<Cursor> CrearCursor(Respuesta r, std::vector<Columna> columnas, std::vector<TipoColumna> tipos)
{
    return std::make_unique<CursorPostgres>(std::move(r), std::move(columnas), std::move(tipos));
}

} // namespace ado::postgresql
