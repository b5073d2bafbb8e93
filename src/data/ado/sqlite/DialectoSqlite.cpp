#include "data/ado/sqlite/DialectoSqlite.h"

#include "data/ado/TSQL.h"

#include <optional>

namespace ado::sqlite {

using namespace ado::tsql;

namespace {

Token palabra(const QString& s) { return {Tipo::Palabra, s}; }
Token simbolo(const char* s) { return {Tipo::Simbolo, QString::fromLatin1(s)}; }
Token blanco() { return {Tipo::Blanco, QStringLiteral(" ")}; }

Token comoComillas(const QString& id)
{
    return {Tipo::Comillas, u'"' + QString(id).replace(u'"', QStringLiteral("\"\"")) + u'"'};
}

bool esPista(const Token& k)
{
    static const char* const pistas[] = {"NOLOCK", "READUNCOMMITTED", "ROWLOCK", "UPDLOCK", "HOLDLOCK", "TABLOCK",
                                         "TABLOCKX", "PAGLOCK", "NOWAIT", "READPAST", "XLOCK", "SERIALIZABLE",
                                         "REPEATABLEREAD", "READCOMMITTED", "NOEXPAND", "FORCESEEK"};
    for (const char* p : pistas)
        if (k.es(p))
            return true;
    return false;
}

// "(NOLOCK)" or "(NOLOCK, ROWLOCK)" starting at i: the index of ")" or nullopt.
std::optional<size_t> finPistas(const Tokens& t, size_t i)
{
    if (i >= t.size() || !t[i].esSimbolo('('))
        return std::nullopt;
    bool alguna = false;
    for (size_t j = Siguiente(t, i + 1); j < t.size(); j = Siguiente(t, j + 1)) {
        if (t[j].esSimbolo(')'))
            return alguna ? std::optional<size_t>(j) : std::nullopt;
        if (esPista(t[j]))
            alguna = true;
        else if (!t[j].esSimbolo(','))
            return std::nullopt;
    }
    return std::nullopt;
}

bool esTipoTexto(const Token& k)
{
    static const char* const tipos[] = {"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT", "SYSNAME"};
    for (const char* p : tipos)
        if (k.es(p))
            return true;
    return false;
}

// Top-level comma-separated pieces of t[a, b).
std::vector<std::pair<size_t, size_t>> partes(const Tokens& t, size_t a, size_t b)
{
    std::vector<std::pair<size_t, size_t>> r;
    int nivel = 0;
    size_t inicio = a;
    for (size_t i = a; i < b; ++i) {
        if (t[i].esSimbolo('('))
            ++nivel;
        else if (t[i].esSimbolo(')'))
            --nivel;
        else if (nivel == 0 && t[i].esSimbolo(',')) {
            r.emplace_back(inicio, i);
            inicio = i + 1;
        }
    }
    r.emplace_back(inicio, b);
    return r;
}

class Traductor {
public:
    explicit Traductor(const Tokens& t, bool colacionEnLiterales = true)
        : t_(t), colacionEnLiterales_(colacionEnLiterales)
    {
    }

    // Translates t[a, b) into `out`; TOP found at this level becomes LIMIT at its end.
    void nivel(size_t a, size_t b, Tokens& out)
    {
        std::optional<Tokens> limite;
        for (size_t i = a; i < b; ++i) {
            const Token& k = t_[i];
            // dbo. prefix
            if ((k.tipo == Tipo::Palabra || k.tipo == Tipo::Corchetes || k.tipo == Tipo::Comillas)
                && k.identificador().compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 && i + 1 < b
                && t_[i + 1].esSimbolo('.')) {
                ++i;
                continue;
            }
            if (k.tipo == Tipo::Corchetes) {
                out.push_back(comoComillas(k.identificador()));
                continue;
            }
            if (k.tipo == Tipo::Cadena) {
                const bool nacional = k.texto.startsWith(u'N') || k.texto.startsWith(u'n');
                out.push_back({Tipo::Cadena, nacional ? k.texto.mid(1) : k.texto});
                // Comparisons with a literal follow SQL Server's rules even where the other
                // side is an expression (LTRIM(RTRIM(col)) = 'x'), which has no collation.
                if (colacionEnLiterales_)
                    out.push_back(palabra(QStringLiteral(" COLLATE VL")));
                continue;
            }
            if (k.esSimbolo('(')) {
                if (auto fin = finPistas(t_, i)) { // bare (NOLOCK)
                    i = *fin;
                    continue;
                }
                const size_t cierre = std::min(CierreParentesis(t_, i), b);
                out.push_back(k);
                nivel(i + 1, cierre, out);
                if (cierre < b)
                    out.push_back(t_[cierre]);
                i = cierre;
                continue;
            }
            if (k.tipo != Tipo::Palabra) {
                out.push_back(k);
                continue;
            }
            const size_t sig = Siguiente(t_, i + 1);
            const bool llamada = sig < b && t_[sig].esSimbolo('(');

            if (k.es("WITH") && sig < b) {
                if (auto fin = finPistas(t_, sig)) {
                    i = *fin;
                    continue;
                }
            }
            if (k.es("SELECT")) {
                size_t j = sig;
                if (j < b && (t_[j].es("DISTINCT") || t_[j].es("ALL")))
                    j = Siguiente(t_, j + 1);
                if (j < b && t_[j].es("TOP")) {
                    // SELECT [DISTINCT] as written; TOP n becomes LIMIT n at the end of this level.
                    for (size_t x = i; x < j; ++x)
                        out.push_back(t_[x]);
                    size_t n = Siguiente(t_, j + 1);
                    Tokens valor;
                    if (n < b && t_[n].esSimbolo('(')) {
                        const size_t c = CierreParentesis(t_, n);
                        nivel(n, std::min(c + 1, b), valor);
                        n = c;
                    } else if (n < b) {
                        valor.push_back(t_[n]);
                    }
                    const size_t tras = Siguiente(t_, n + 1);
                    if (tras < b && t_[tras].es("PERCENT"))
                        n = tras; // TOP n PERCENT: every row
                    else
                        limite = valor;
                    i = n;
                    continue;
                }
                out.push_back(k);
                continue;
            }
            if (k.es("ISNULL") && llamada) {
                out.push_back(palabra(QStringLiteral("IFNULL")));
                continue;
            }
            if (k.es("SUBSTRING") && llamada) {
                out.push_back(palabra(QStringLiteral("SUBSTR")));
                continue;
            }
            if (k.es("GETDATE") && llamada) {
                const size_t c = CierreParentesis(t_, sig);
                out.push_back(palabra(QStringLiteral("DATETIME('now','localtime')")));
                i = c;
                continue;
            }
            if (k.es("SCOPE_IDENTITY") && llamada) {
                out.push_back(palabra(QStringLiteral("LAST_INSERT_ROWID()")));
                i = CierreParentesis(t_, sig);
                continue;
            }
            if (k.es("@@IDENTITY")) {
                out.push_back(palabra(QStringLiteral("LAST_INSERT_ROWID()")));
                continue;
            }
            if (k.es("LEN") && llamada) {
                const size_t c = CierreParentesis(t_, sig);
                out.push_back(palabra(QStringLiteral("LENGTH(RTRIM(")));
                nivel(sig + 1, std::min(c, b), out);
                out.push_back(simbolo("))"));
                i = c;
                continue;
            }
            if (k.es("CHARINDEX") && llamada) {
                const size_t c = CierreParentesis(t_, sig);
                const auto args = partes(t_, sig + 1, std::min(c, b));
                if (args.size() >= 2) {
                    Tokens buscado, en;
                    nivel(args[0].first, args[0].second, buscado);
                    nivel(args[1].first, args[1].second, en);
                    if (args.size() == 2) {
                        out.push_back(palabra(QStringLiteral("INSTR(")));
                        out.insert(out.end(), en.begin(), en.end());
                        out.push_back(simbolo(","));
                        out.insert(out.end(), buscado.begin(), buscado.end());
                        out.push_back(simbolo(")"));
                    } else {
                        Tokens desde;
                        nivel(args[2].first, args[2].second, desde);
                        const QString inst = QStringLiteral("INSTR(SUBSTR(%1,%2),%3)")
                                                 .arg(Unir(en), Unir(desde), Unir(buscado));
                        out.push_back(palabra(QStringLiteral("(CASE WHEN %1>0 THEN %1+(%2)-1 ELSE 0 END)")
                                                  .arg(inst, Unir(desde))));
                    }
                    i = c;
                    continue;
                }
            }
            if (k.es("CONVERT") && llamada) {
                const size_t c = CierreParentesis(t_, sig);
                const auto args = partes(t_, sig + 1, std::min(c, b));
                if (args.size() >= 2) {
                    const size_t tipoI = Siguiente(t_, args[0].first);
                    Tokens valor;
                    nivel(args[1].first, args[1].second, valor);
                    const bool estilo103 = args.size() >= 3 && Unir(Tokens(t_.begin() + qsizetype(args[2].first),
                                                                            t_.begin() + qsizetype(args[2].second)))
                                                                   .trimmed() == QLatin1String("103");
                    QString r;
                    if (tipoI < b && esTipoTexto(t_[tipoI]))
                        r = estilo103 ? QStringLiteral("STRFTIME('%d/%m/%Y',%1)") : QStringLiteral("CAST(%1 AS TEXT)");
                    else if (tipoI < b && (t_[tipoI].es("INT") || t_[tipoI].es("INTEGER") || t_[tipoI].es("SMALLINT")
                                           || t_[tipoI].es("BIGINT") || t_[tipoI].es("TINYINT") || t_[tipoI].es("BIT")))
                        r = QStringLiteral("CAST(%1 AS INTEGER)");
                    else if (tipoI < b && (t_[tipoI].es("DATETIME") || t_[tipoI].es("DATE") || t_[tipoI].es("SMALLDATETIME")))
                        r = estilo103 ? QStringLiteral("(SUBSTR(%1,7,4)||'-'||SUBSTR(%1,4,2)||'-'||SUBSTR(%1,1,2))")
                                      : QStringLiteral("DATETIME(%1)");
                    else
                        r = QStringLiteral("CAST(%1 AS REAL)");
                    out.push_back(palabra(r.arg(Unir(valor))));
                    i = c;
                    continue;
                }
            }
            out.push_back(k);
        }
        if (limite) {
            out.push_back(blanco());
            out.push_back(palabra(QStringLiteral("LIMIT")));
            out.push_back(blanco());
            out.insert(out.end(), limite->begin(), limite->end());
        }
    }

private:
    const Tokens& t_;
    bool colacionEnLiterales_;
};

QString traducirTokens(const Tokens& t, bool colacionEnLiterales = true)
{
    Tokens out;
    Traductor(t, colacionEnLiterales).nivel(0, t.size(), out);
    return Unir(out);
}

// "PRIMARY KEY" at i in the definition of an identity column.
bool esIdentidadPendiente(const Tokens& t, size_t i, size_t b, bool identidad, size_t)
{
    if (!identidad || !t[i].es("PRIMARY"))
        return false;
    const size_t k = Siguiente(t, i + 1);
    return k < b && t[k].es("KEY");
}

// One column definition of CREATE TABLE or ALTER TABLE ... ADD, in SQLite's terms.
QString columna(const QString& tabla, const Tokens& t, size_t a, size_t b, bool* identidad)
{
    a = Siguiente(t, a);
    if (a >= b)
        return {};
    const QString nombre = t[a].identificador();
    size_t tipoI = Siguiente(t, a + 1);
    QString tipo;
    size_t resto = tipoI;
    std::optional<int> largo;
    bool texto = false;
    if (tipoI < b && t[tipoI].tipo == Tipo::Palabra) {
        tipo = t[tipoI].texto;
        texto = esTipoTexto(t[tipoI]);
        resto = tipoI + 1;
        const size_t p = Siguiente(t, resto);
        if (p < b && t[p].esSimbolo('(')) {
            const size_t c = CierreParentesis(t, p);
            const QString dentro = Unir(Tokens(t.begin() + qsizetype(p + 1), t.begin() + qsizetype(std::min(c, b))));
            tipo += u'(' + dentro.simplified() + u')';
            bool ok = false;
            const int n = dentro.trimmed().toInt(&ok);
            if (ok)
                largo = n;
            resto = c + 1;
        }
    }
    // The rest: IDENTITY, COLLATE, CLUSTERED are handled here; everything else is translated.
    Tokens otros;
    bool esIdentidad = false;
    for (size_t j = resto; j < b; ++j)
        esIdentidad = esIdentidad || t[j].es("IDENTITY");
    for (size_t i = resto; i < b; ++i) {
        const Token& k = t[i];
        if (k.es("IDENTITY")) {
            const size_t p = Siguiente(t, i + 1);
            if (p < b && t[p].esSimbolo('('))
                i = CierreParentesis(t, p);
            continue;
        }
        if (k.es("COLLATE")) {
            i = Siguiente(t, i + 1);
            continue;
        }
        if (k.es("CLUSTERED") || k.es("NONCLUSTERED"))
            continue;
        if (esIdentidadPendiente(t, i, b, esIdentidad, resto)) {
            // PRIMARY KEY of the identity column: it is written with the type below.
            i = Siguiente(t, i + 1);
            continue;
        }
        otros.push_back(k);
    }
    if (identidad)
        *identidad = esIdentidad;
    QString r = comoComillas(nombre).texto + u' ';
    if (esIdentidad)
        r += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    else
        r += tipo;
    const QString extra = traducirTokens(otros, false).simplified();
    if (!extra.isEmpty())
        r += u' ' + extra;
    if (texto) {
        r += QStringLiteral(" COLLATE VL");
        if (largo)
            r += QStringLiteral(" CONSTRAINT \"%1%2__%3\" CHECK (LENGTH(%4) <= %5)")
                     .arg(QLatin1String(PrefijoLargo), tabla, nombre, comoComillas(nombre).texto)
                     .arg(*largo);
    }
    return r;
}

// The name after CREATE TABLE / ALTER TABLE at i (dbo. and brackets removed); i moves past it.
QString nombreTabla(const Tokens& t, size_t& i)
{
    i = Siguiente(t, i);
    QString nombre;
    while (i < t.size()) {
        const Token& k = t[i];
        if (k.tipo == Tipo::Palabra || k.tipo == Tipo::Corchetes || k.tipo == Tipo::Comillas) {
            nombre = k.identificador();
            const size_t p = i + 1;
            if (p < t.size() && t[p].esSimbolo('.')) {
                i = p + 1;
                continue;
            }
            ++i;
            break;
        }
        break;
    }
    return nombre;
}

QString crearTabla(const Tokens& t, size_t trasTable)
{
    size_t i = trasTable;
    const QString tabla = nombreTabla(t, i);
    const size_t abre = Siguiente(t, i);
    if (abre >= t.size() || !t[abre].esSimbolo('('))
        return traducirTokens(t, false);
    const size_t cierra = CierreParentesis(t, abre);
    QStringList definiciones;
    QString identidad;
    std::vector<std::pair<size_t, size_t>> restricciones;
    for (const auto& [a, b] : partes(t, abre + 1, cierra)) {
        const size_t p = Siguiente(t, a);
        if (p >= b)
            continue;
        if (t[p].es("CONSTRAINT") || t[p].es("PRIMARY") || t[p].es("UNIQUE") || t[p].es("FOREIGN") || t[p].es("CHECK")) {
            restricciones.emplace_back(a, b);
            continue;
        }
        bool esIdentidad = false;
        definiciones << columna(tabla, t, a, b, &esIdentidad);
        if (esIdentidad)
            identidad = t[p].identificador();
    }
    for (const auto& [a, b] : restricciones) {
        Tokens r;
        QStringList columnasClave;
        bool enClave = false;
        for (size_t i2 = a; i2 < b; ++i2) {
            if (t[i2].es("CLUSTERED") || t[i2].es("NONCLUSTERED"))
                continue;
            if (t[i2].es("PRIMARY"))
                enClave = true;
            else if (enClave && t[i2].esSimbolo(')'))
                enClave = false;
            else if (enClave && !t[i2].es("KEY") && (t[i2].tipo == Tipo::Palabra || t[i2].tipo == Tipo::Corchetes
                                                     || t[i2].tipo == Tipo::Comillas))
                columnasClave << t[i2].identificador();
            r.push_back(t[i2]);
        }
        // The identity column is already the key.
        if (!identidad.isEmpty() && columnasClave.size() == 1
            && columnasClave.front().compare(identidad, Qt::CaseInsensitive) == 0)
            continue;
        definiciones << traducirTokens(r, false).simplified();
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(comoComillas(tabla).texto, definiciones.join(QStringLiteral(",\n  ")));
}

QString alterarTabla(const Tokens& t, size_t trasTable)
{
    size_t i = trasTable;
    const QString tabla = nombreTabla(t, i);
    const size_t add = Siguiente(t, i);
    if (add >= t.size() || !t[add].es("ADD"))
        return traducirTokens(t, false);
    size_t col = Siguiente(t, add + 1);
    if (col < t.size() && t[col].es("COLUMN"))
        col = col + 1;
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
        .arg(comoComillas(tabla).texto, columna(tabla, t, col, t.size(), nullptr));
}

std::optional<SentenciaSqlite> traducir(const Tokens& t)
{
    const size_t p0 = Siguiente(t, 0);
    if (p0 >= t.size())
        return std::nullopt;
    const Token& primero = t[p0];
    const size_t p1 = Siguiente(t, p0 + 1);
    const bool segundoTran = p1 < t.size() && (t[p1].es("TRAN") || t[p1].es("TRANSACTION") || t[p1].es("WORK"));
    const bool solo = p1 >= t.size();

    if (primero.es("BEGIN") && segundoTran)
        return SentenciaSqlite{Accion::Iniciar, {}};
    if (primero.es("COMMIT") && (segundoTran || solo))
        return SentenciaSqlite{Accion::Confirmar, {}};
    if (primero.es("ROLLBACK") && (segundoTran || solo))
        return SentenciaSqlite{Accion::Deshacer, {}};
    if (primero.es("SET") || primero.es("USE") || primero.es("PRINT"))
        return std::nullopt; // session options of SQL Server: nothing to do here

    if (primero.es("DELETE") && p1 < t.size() && !t[p1].es("FROM")) {
        Tokens conFrom(t.begin(), t.begin() + qsizetype(p1));
        conFrom.push_back(palabra(QStringLiteral("FROM")));
        conFrom.push_back(blanco());
        conFrom.insert(conFrom.end(), t.begin() + qsizetype(p1), t.end());
        return SentenciaSqlite{Accion::Sentencia, traducirTokens(conFrom)};
    }
    if ((primero.es("CREATE") || primero.es("ALTER")) && p1 < t.size() && t[p1].es("TABLE")) {
        const QString sql = primero.es("CREATE") ? crearTabla(t, p1 + 1) : alterarTabla(t, p1 + 1);
        return SentenciaSqlite{Accion::Sentencia, sql};
    }
    if (primero.es("CREATE") || primero.es("DROP")) {
        Tokens sin;
        for (const Token& k : t)
            if (!k.es("CLUSTERED") && !k.es("NONCLUSTERED"))
                sin.push_back(k);
        // Views keep the collation of literals in their own text.
        return SentenciaSqlite{Accion::Sentencia, traducirTokens(sin, primero.es("CREATE") && p1 < t.size() && t[p1].es("VIEW"))};
    }
    return SentenciaSqlite{Accion::Sentencia, traducirTokens(t)};
}

} // namespace

std::vector<SentenciaSqlite> TraducirLote(const QString& tsql)
{
    std::vector<SentenciaSqlite> r;
    for (const Tokens& s : DividirLote(Tokenizar(tsql))) {
        if (auto x = traducir(s))
            r.push_back(std::move(*x));
    }
    return r;
}

} // namespace ado::sqlite
