#include "data/ado/TSQL.h"

#include <QSet>
#include <utility>

namespace ado::tsql {

bool Token::es(const char* palabra) const
{
    if (tipo != Tipo::Palabra)
        return false;
    // ASCII letters compared in place; a word with other characters takes Qt's case folding.
    const QChar* t = texto.constData();
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = t[i].unicode();
        if (c >= 0x80)
            return texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
        const auto p = static_cast<unsigned char>(palabra[i]);
        if (p == 0)
            return false;
        if (c >= u'a' && c <= u'z')
            c -= u'a' - u'A';
        if (c != ((p >= 'a' && p <= 'z') ? char16_t(p - ('a' - 'A')) : char16_t(p)))
            return false;
    }
    return palabra[n] == 0;
}

bool Token::sinCerrar() const
{
    QChar cierre;
    qsizetype i = 1;
    switch (tipo) {
    case Tipo::Corchetes: cierre = u']'; break;
    case Tipo::Comillas: cierre = u'"'; break;
    case Tipo::Cadena:
        cierre = u'\'';
        i = texto.startsWith(u'\'') ? 1 : 2;
        break;
    default: return false;
    }
    for (; i < texto.size(); ++i) {
        if (texto[i] != cierre)
            continue;
        if (i + 1 < texto.size() && texto[i + 1] == cierre) {
            ++i;
            continue;
        }
        return i + 1 != texto.size();
    }
    return true;
}

QString Token::identificador() const
{
    if (tipo == Tipo::Corchetes)
        return texto.mid(1, texto.size() - 2).replace(QStringLiteral("]]"), QStringLiteral("]"));
    if (tipo == Tipo::Comillas)
        return texto.mid(1, texto.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return texto;
}

namespace {

bool inicioPalabra(QChar c) { return c.isLetter() || c == u'_' || c == u'@' || c == u'#'; }
bool restoPalabra(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$'; }

// Scans a quoted run that ends at `cierre`, a doubled closer standing for itself.
qsizetype finCitado(const QString& s, qsizetype i, QChar cierre)
{
    for (qsizetype j = i + 1; j < s.size(); ++j) {
        if (s[j] == cierre) {
            if (j + 1 < s.size() && s[j + 1] == cierre) {
                ++j;
                continue;
            }
            return j + 1;
        }
    }
    return s.size(); // unterminated: the rest of the text
}

} // namespace

Tokens Tokenizar(const QString& s)
{
    Tokens t;
    qsizetype i = 0;
    const qsizetype n = s.size();
    t.reserve(size_t(n / 4));
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Tipo tipo;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            tipo = Tipo::Blanco;
        } else if (c == u'-' && j < n && s[j] == u'-') {
            while (j < n && s[j] != u'\n')
                ++j;
            tipo = Tipo::Comentario;
        } else if (c == u'/' && j < n && s[j] == u'*') {
            const qsizetype fin = s.indexOf(QStringLiteral("*/"), j + 1);
            j = fin < 0 ? n : fin + 2;
            tipo = Tipo::Comentario;
        } else if (c == u'\'') {
            j = finCitado(s, i, u'\'');
            tipo = Tipo::Cadena;
        } else if ((c == u'N' || c == u'n') && j < n && s[j] == u'\'') {
            j = finCitado(s, j, u'\'');
            tipo = Tipo::Cadena;
        } else if (c == u'[') {
            j = finCitado(s, i, u']');
            tipo = Tipo::Corchetes;
        } else if (c == u'"') {
            j = finCitado(s, i, u'"');
            tipo = Tipo::Comillas;
        } else if (c.isDigit() || (c == u'.' && j < n && s[j].isDigit())) {
            while (j < n && (s[j].isDigit() || s[j] == u'.'))
                ++j;
            if (j < n && (s[j] == u'e' || s[j] == u'E') && j + 1 < n
                && (s[j + 1].isDigit() || ((s[j + 1] == u'+' || s[j + 1] == u'-') && j + 2 < n && s[j + 2].isDigit()))) {
                j += 2;
                while (j < n && s[j].isDigit())
                    ++j;
            }
            tipo = Tipo::Numero;
        } else if (inicioPalabra(c)) {
            while (j < n && restoPalabra(s[j]))
                ++j;
            tipo = Tipo::Palabra;
        } else {
            // Two-character operators: <> <= >= != !< !> ||
            if (j < n) {
                const QChar d = s[j];
                if ((c == u'<' && (d == u'>' || d == u'=')) || (c == u'>' && d == u'=')
                    || (c == u'!' && (d == u'=' || d == u'<' || d == u'>')) || (c == u'|' && d == u'|'))
                    ++j;
            }
            tipo = Tipo::Simbolo;
        }
        t.push_back({tipo, s.mid(i, j - i)});
        i = j;
    }
    return t;
}

QString Unir(const Tokens& tokens)
{
    QString r;
    for (const Token& k : tokens)
        r += k.texto;
    return r;
}

size_t Siguiente(const Tokens& t, size_t i)
{
    while (i < t.size() && !t[i].significativo())
        ++i;
    return i;
}

size_t CierreParentesis(const Tokens& t, size_t i)
{
    int nivel = 0;
    for (size_t j = i; j < t.size(); ++j) {
        if (t[j].esSimbolo('('))
            ++nivel;
        else if (t[j].esSimbolo(')') && --nivel == 0)
            return j;
    }
    return t.size();
}

namespace {

// The first word of a statement decides which later words start another one.
enum class Clase { Ninguna, Select, Insert, Update, Delete, Definicion, With, Transaccion, Otra };

Clase claseDe(const Token& k)
{
    if (k.es("SELECT"))
        return Clase::Select;
    if (k.es("INSERT"))
        return Clase::Insert;
    if (k.es("UPDATE"))
        return Clase::Update;
    if (k.es("DELETE"))
        return Clase::Delete;
    if (k.es("CREATE") || k.es("ALTER"))
        return Clase::Definicion;
    if (k.es("WITH"))
        return Clase::With;
    if (k.es("BEGIN") || k.es("COMMIT") || k.es("ROLLBACK") || k.es("SAVE"))
        return Clase::Transaccion;
    return Clase::Otra;
}

bool iniciaSentencia(const Token& k)
{
    static const char* const palabras[] = {"SELECT", "INSERT", "UPDATE", "DELETE", "CREATE", "ALTER", "DROP",
                                           "BEGIN", "COMMIT", "ROLLBACK", "SET", "DECLARE", "EXEC", "EXECUTE",
                                           "GRANT", "REVOKE", "TRUNCATE", "IF", "PRINT", "USE", "SAVE"};
    for (const char* p : palabras)
        if (k.es(p))
            return true;
    return false;
}

Tokens recortar(const Tokens& t, size_t desde, size_t hasta)
{
    while (desde < hasta && !t[desde].significativo())
        ++desde;
    while (hasta > desde && !t[hasta - 1].significativo())
        --hasta;
    return Tokens(t.begin() + qsizetype(desde), t.begin() + qsizetype(hasta));
}

bool soloEnSuLinea(const Tokens& t, size_t i)
{
    auto saltoAntes = [&] {
        if (i == 0)
            return true;
        const Token& p = t[i - 1];
        return p.tipo == Tipo::Blanco && p.texto.contains(u'\n');
    };
    auto saltoDespues = [&] {
        if (i + 1 >= t.size())
            return true;
        const Token& s = t[i + 1];
        return (s.tipo == Tipo::Blanco && s.texto.contains(u'\n')) || s.tipo == Tipo::Comentario;
    };
    return saltoAntes() && saltoDespues();
}

} // namespace

std::vector<Tokens> DividirLote(const Tokens& t)
{
    std::vector<Tokens> sentencias;
    size_t inicio = 0;
    int nivel = 0;
    Clase clase = Clase::Ninguna;
    bool setDeUpdateVisto = false;
    bool valoresVistos = false; // VALUES of an INSERT: a SELECT after it is another statement
    const Token* anterior = nullptr; // previous significant token of the statement

    auto cortar = [&](size_t hasta) {
        Tokens s = recortar(t, inicio, hasta);
        if (!s.empty())
            sentencias.push_back(std::move(s));
        clase = Clase::Ninguna;
        setDeUpdateVisto = false;
        valoresVistos = false;
        anterior = nullptr;
        nivel = 0;
    };

    for (size_t i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (!k.significativo())
            continue;
        if (k.esSimbolo(';')) {
            cortar(i);
            inicio = i + 1;
            continue;
        }
        if (k.es("GO") && soloEnSuLinea(t, i)) {
            cortar(i);
            inicio = i + 1;
            continue;
        }
        if (k.esSimbolo('('))
            ++nivel;
        else if (k.esSimbolo(')'))
            --nivel;

        if (nivel == 0 && k.tipo == Tipo::Palabra && clase != Clase::Ninguna && iniciaSentencia(k)) {
            bool nueva = true;
            const bool trasOn = anterior && anterior->es("ON");
            if (k.es("SELECT")) {
                // Part of the statement after UNION, in INSERT ... SELECT, in CREATE VIEW ... AS,
                // and in WITH ... AS (...) SELECT.
                nueva = !(anterior && (anterior->es("UNION") || anterior->es("ALL") || anterior->es("EXCEPT")
                                       || anterior->es("INTERSECT") || anterior->es("AS") || anterior->esSimbolo('(')))
                    && !(clase == Clase::Insert && !valoresVistos) && clase != Clase::With;
            } else if (k.es("SET")) {
                nueva = !(clase == Clase::Update && !setDeUpdateVisto) && clase != Clase::Definicion
                    && clase != Clase::With;
                if (clase == Clase::Update && !setDeUpdateVisto)
                    setDeUpdateVisto = true;
            } else if (k.es("UPDATE") || k.es("DELETE")) {
                nueva = !trasOn; // ON UPDATE / ON DELETE of a foreign key
            } else if (k.es("INSERT") || k.es("CREATE") || k.es("DROP") || k.es("ALTER")) {
                nueva = clase != Clase::Definicion || !trasOn;
            } else if (k.es("BEGIN") || k.es("COMMIT") || k.es("ROLLBACK")) {
                nueva = true;
            } else if (k.es("IF")) {
                nueva = true;
            }
            if (nueva)
                cortar(i), inicio = i;
        }
        if (clase == Clase::Ninguna)
            clase = claseDe(k);
        if (clase == Clase::Insert && k.es("VALUES"))
            valoresVistos = true;
        anterior = &k;
    }
    cortar(t.size());
    return sentencias;
}

EfectoTransaccion EfectoEnTransacciones(const QString& sql)
{
    EfectoTransaccion e;
    bool primera = true;
    for (const Tokens& s : DividirLote(Tokenizar(sql))) {
        const size_t p0 = Siguiente(s, 0);
        if (p0 >= s.size())
            continue;
        const size_t p1 = Siguiente(s, p0 + 1);
        const bool tran = p1 < s.size() && (s[p1].es("TRAN") || s[p1].es("TRANSACTION") || s[p1].es("WORK"));
        const bool esPrimera = std::exchange(primera, false);
        if (s[p0].es("BEGIN") && tran) {
            e.empiezaPrimero = e.empiezaPrimero || esPrimera;
            e.empieza = true;
            ++e.abiertas;
        } else if (s[p0].es("COMMIT") || s[p0].es("ROLLBACK")) {
            e.confirma = true;
            if (e.abiertas == 0)
                e.termina = true;
            e.abiertas = s[p0].es("ROLLBACK") ? 0 : e.abiertas - (e.abiertas > 0);
        }
    }
    return e;
}

} // namespace ado::tsql
