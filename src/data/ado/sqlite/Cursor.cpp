#include "data/ado/sqlite/Cursor.h"

#include "data/ado/Constantes.h"
#include "data/ado/sqlite/Errores.h"
#include "data/ado/sqlite/Tipos.h"

#include <algorithm>
#include <sqlite3.h>

namespace ado::sqlite {

namespace {

class CursorSqlite : public Cursor {
public:
    CursorSqlite(sqlite3* db, Sentencia st)
        : db_(db), st_(std::move(st))
    {
        Describir(st_.get(), columnas_, tipos_);
        paso();
        // Computed columns take the type of their first value.
        for (size_t i = 0; i < tipos_.size(); ++i) {
            if (tipos_[i].tipo != -1)
                continue;
            Columna& c = columnas_[i];
            switch (hayFila_ ? sqlite3_column_type(st_.get(), int(i)) : SQLITE_NULL) {
            case SQLITE_INTEGER: c.tipo = adInteger; c.tamanio = 4; break;
            case SQLITE_FLOAT: c.tipo = adDouble; c.tamanio = 8; break;
            case SQLITE_BLOB: c.tipo = adVarBinary; c.tamanio = std::max(1, sqlite3_column_bytes(st_.get(), int(i))); break;
            default: c.tipo = adVarChar; c.tamanio = hayFila_ ? std::max(1, sqlite3_column_bytes(st_.get(), int(i))) : 1; break;
            }
        }
        pendiente_ = true;
    }
    const std::vector<Columna>& columnas() const override { return columnas_; }

    bool siguiente() override
    {
        if (pendiente_)
            pendiente_ = false;
        else if (hayFila_)
            paso();
        return hayFila_;
    }

    QVariant valor(int i) const override { return ValorDe(st_.get(), i, tipos_[size_t(i)]); }

    void leer(int i, QVariant& destino) const override
    {
        // Values go into the storage `destino` already has where they can (same type, not shared).
        const int clase = sqlite3_column_type(st_.get(), i);
        const int t = tipos_[size_t(i)].tipo;
        if (clase == SQLITE_NULL) {
            if (destino.isValid())
                destino = QVariant();
            return;
        }
        switch (t) {
        case adInteger:
        case adSmallInt:
        case adUnsignedTinyInt:
        case adTinyInt:
            destino.setValue(int(sqlite3_column_int64(st_.get(), i)));
            return;
        case adBoolean:
            destino.setValue(sqlite3_column_int64(st_.get(), i) != 0);
            return;
        case -1:
        case adVarChar:
        case adChar:
        case adVarWChar:
        case adWChar:
        case adLongVarChar:
        case adLongVarWChar:
            if (clase == SQLITE_TEXT) {
                const char* texto = reinterpret_cast<const char*>(sqlite3_column_text(st_.get(), i));
                const int largo = sqlite3_column_bytes(st_.get(), i);
                if (LeerTextoAscii(texto, largo, destino))
                    return;
                if (destino.typeId() == QMetaType::QString) { // a new string in the same variant
                    *static_cast<QString*>(destino.data()) = QString::fromUtf8(texto, largo);
                    return;
                }
            }
            break;
        default:
            break;
        }
        destino = ValorDe(st_.get(), i, tipos_[size_t(i)]);
    }

    void reiniciar() override
    {
        sqlite3_reset(st_.get());
        paso();
        pendiente_ = true;
    }

private:
    void paso()
    {
        const int rc = sqlite3_step(st_.get());
        if (rc == SQLITE_ROW) {
            hayFila_ = true;
            return;
        }
        hayFila_ = false;
        if (rc != SQLITE_DONE)
            throw FalloSqlite(db_, sqlite3_extended_errcode(db_));
    }

    sqlite3* db_;
    Sentencia st_;
    std::vector<Columna> columnas_;
    std::vector<TipoColumna> tipos_;
    bool hayFila_ = false;
    bool pendiente_ = false; // the row stepped to is not handed out yet
};

} // namespace

std::unique_ptr<Cursor> CrearCursor(sqlite3* db, Sentencia st) { return std::make_unique<CursorSqlite>(db, std::move(st)); }

} // namespace ado::sqlite
