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
    }
    const std::vector<Columna>& columnas() const override { return columnas_; }
    bool siguiente() override { return ++fila_ < PQntuples(r_.get()); }
    QVariant valor(int i) const override { return ValorDe(r_.get(), fila_, i, tipos_[size_t(i)], PQftype(r_.get(), i)); }
    void leer(int i, QVariant& destino) const override
    {
        // Values go into the storage `destino` already has where they can.
        const int t = tipos_[size_t(i)].tipo;
        if (PQgetisnull(r_.get(), fila_, i)) {
            if (destino.isValid())
                destino = QVariant();
            return;
        }
        if (t == adInteger || t == adSmallInt || t == adUnsignedTinyInt) {
            destino.setValue(std::atoi(PQgetvalue(r_.get(), fila_, i)));
            return;
        }
        if (t == adBoolean) {
            const char* v = PQgetvalue(r_.get(), fila_, i);
            destino.setValue(PQftype(r_.get(), i) == OidBool ? v[0] == 't' : std::atoi(v) != 0);
            return;
        }
        if ((t == adVarChar || t == adChar || t == adLongVarChar)
            && LeerTextoAscii(PQgetvalue(r_.get(), fila_, i), PQgetlength(r_.get(), fila_, i), destino))
            return;
        destino = valor(i);
    }
    void reiniciar() override { fila_ = -1; }

private:
    Respuesta r_;
    std::vector<Columna> columnas_;
    std::vector<TipoColumna> tipos_;
    int fila_ = -1;
};

} // namespace

std::unique_ptr<Cursor> CrearCursor(Respuesta r, std::vector<Columna> columnas, std::vector<TipoColumna> tipos)
{
    return std::make_unique<CursorPostgres>(std::move(r), std::move(columnas), std::move(tipos));
}

} // namespace ado::postgresql
