#pragma once
// Text helpers of DB_Dll's files: search and replace with letter case ignored, as the suite
// writes them, quotes doubled, the Tipodato values of the row lookups, and a statement's
// own text apart from its literals.

#include "data/ado/Constantes.h"
#include "data/ado/TSQL.h"
#include "data/ado/Texto.h"

#include <QString>
#include <algorithm>
#include <vector>

namespace db_dll {

// Tipodato values of the row helpers (the type numbers of text, date and numbers).
constexpr int DatoTexto = ado::adBSTR;   // 8
constexpr int DatoFecha = ado::adDate;   // 7
constexpr int DatoEntero = ado::adInteger; // 3
constexpr int DatoSimple = ado::adSingle;  // 4
constexpr int DatoDoble = ado::adDouble;   // 5

using ado::texto::contiene;
using ado::texto::instr;
using ado::texto::reemplazar;

// Quotes doubled: a quote typed by the user is searched for or stored as typed.
inline QString comillas(const QString& texto) { return QString(texto).replace(u'\'', QStringLiteral("''")); }

// A statement split into its own text and the runs that belong to the data or to the
// reader: string literals, quoted identifiers and comments. The marker and the synonym rules
// search and replace only in the statement's own text.
class TextoPropio {
public:
    explicit TextoPropio(const QString& sentencia)
    {
        using ado::tsql::Tipo;
        for (const ado::tsql::Token& k : ado::tsql::Tokenizar(sentencia)) {
            const bool propio = k.tipo != Tipo::Cadena && k.tipo != Tipo::Corchetes && k.tipo != Tipo::Comillas
                && k.tipo != Tipo::Comentario;
            if (!tramos_.empty() && tramos_.back().propio && propio)
                tramos_.back().texto += k.texto;
            else
                tramos_.push_back({k.texto, propio});
        }
    }
    bool contiene(const QString& sub) const
    {
        return std::any_of(tramos_.begin(), tramos_.end(),
                           [&](const Tramo& t) { return t.propio && t.texto.contains(sub, Qt::CaseInsensitive); });
    }
    TextoPropio& reemplazar(const QString& viejo, const QString& nuevo)
    {
        for (Tramo& t : tramos_)
            if (t.propio)
                t.texto.replace(viejo, nuevo, Qt::CaseInsensitive);
        return *this;
    }
    QString texto() const
    {
        QString r;
        for (const Tramo& t : tramos_)
            r += t.texto;
        return r;
    }

private:
    struct Tramo {
        QString texto;
        bool propio;
    };
    std::vector<Tramo> tramos_;
};

} // namespace db_dll
