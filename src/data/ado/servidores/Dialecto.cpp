#include "data/ado/servidores/Dialecto.h"

#include "data/ado/Constantes.h"
#include "data/ado/Motor.h"
#include "data/ado/servidores/Sumas.h"

#include <algorithm>

namespace ado::tsql {

namespace {

Token palabra(const QString& s) { return {Tipo::Palabra, s}; }
Token simbolo(const char* s) { return {Tipo::Simbolo, QString::fromLatin1(s)}; }
Token blanco() { return {Tipo::Blanco, QStringLiteral(" ")}; }

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

bool esComparacion(const Token& k)
{
    static const char* const ops[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
    if (k.tipo != Tipo::Simbolo)
        return false;
    for (const char* o : ops)
        if (k.texto == QLatin1String(o))
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

QString texto(const Tokens& t, size_t a, size_t b)
{
    return Unir(Tokens(t.begin() + qsizetype(a), t.begin() + qsizetype(b)));
}

class Traductor {
public:
    Traductor(const Tokens& t, const Reglas& r, bool datos)
        : t_(t), r_(r), datos_(datos),
          renombres_{{"ISNULL", Forma::Funcion, r.isnull},
                     {"SUBSTRING", Forma::Funcion, QStringLiteral("SUBSTR")},
                     {"GETDATE", Forma::LlamadaSinArgumentos, r.ahora},
                     {"SCOPE_IDENTITY", Forma::LlamadaSinArgumentos, r.identidad},
                     {"@@IDENTITY", Forma::Palabra, r.identidad}}
    {
    }

    // Translates t[a, b) into `out`; TOP found at this level becomes LIMIT at its end.
    void nivel(size_t a, size_t b, Tokens& out)
    {
        std::optional<Tokens> limite;
        for (size_t i = a; i < b; ++i) {
            const Token& k = t_[i];
            if (esNombre(k) && k.identificador().compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 && i + 1 < b
                && t_[i + 1].esSimbolo('.')) { // dbo. prefix
                ++i;
                continue;
            }
            if (k.tipo == Tipo::Corchetes || k.tipo == Tipo::Comillas) {
                out.push_back(palabra(r_.identificador(k.identificador())));
                continue;
            }
            if (k.tipo == Tipo::Cadena) {
                literal(i, a, b, out);
                continue;
            }
            if (k.esSimbolo('(')) {
                i = grupo(i, b, out);
                continue;
            }
            if (k.tipo != Tipo::Palabra) {
                out.push_back(k);
                continue;
            }
            const size_t sig = Siguiente(t_, i + 1);
            const bool llamada = sig < b && t_[sig].esSimbolo('(');
            std::optional<size_t> fin;
            if (k.es("WITH"))
                fin = sig < b ? finPistas(t_, sig) : std::nullopt;
            else if (k.es("SELECT"))
                fin = topALimite(i, sig, b, out, limite);
            else if (k.es("LEN") && llamada)
                fin = len(sig, b, out);
            else if ((k.es("CHARINDEX") || k.es("CONVERT")) && llamada)
                fin = charindexOConvert(k, sig, b, out);
            else
                fin = renombre(i, sig, llamada, out);
            if (fin)
                i = *fin;
            else
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
    // Each rewrite of a word at i returns the index of the last token it used, or nullopt when
    // it does not apply (the word is then copied as written).

    // A word written under the engine's name: a function's name (before its "("), a call
    // without arguments as a whole, or the word alone.
    enum class Forma { Funcion, LlamadaSinArgumentos, Palabra };
    struct Renombre {
        const char* tsql;
        Forma forma;
        QString motor;
    };

    std::optional<size_t> renombre(size_t i, size_t sig, bool llamada, Tokens& out) const
    {
        for (const Renombre& x : renombres_) {
            if (!t_[i].es(x.tsql) || (x.forma != Forma::Palabra && !llamada))
                continue;
            // GETDATE() with something between its parentheses is left for the engine to refuse.
            if (x.forma == Forma::LlamadaSinArgumentos && Siguiente(t_, sig + 1) != CierreParentesis(t_, sig))
                return std::nullopt;
            out.push_back(palabra(x.motor));
            return x.forma == Forma::LlamadaSinArgumentos ? CierreParentesis(t_, sig) : i;
        }
        return std::nullopt;
    }

    // SELECT [DISTINCT] as written; TOP n becomes LIMIT n at the end of this level.
    std::optional<size_t> topALimite(size_t i, size_t sig, size_t b, Tokens& out, std::optional<Tokens>& limite)
    {
        size_t j = sig;
        if (j < b && (t_[j].es("DISTINCT") || t_[j].es("ALL")))
            j = Siguiente(t_, j + 1);
        if (j >= b || !t_[j].es("TOP"))
            return std::nullopt;
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
            return tras; // TOP n PERCENT: every row
        limite = valor;
        return n;
    }

    // LEN(x): the length without trailing blanks.
    std::optional<size_t> len(size_t sig, size_t b, Tokens& out)
    {
        const size_t c = CierreParentesis(t_, sig);
        out.push_back(palabra(QStringLiteral("LENGTH(RTRIM(")));
        nivel(sig + 1, std::min(c, b), out);
        out.push_back(simbolo("))"));
        return c;
    }

    // CHARINDEX(buscado, en[, desde]) and CONVERT(tipo, valor[, estilo]), by the engine's rules.
    std::optional<size_t> charindexOConvert(const Token& k, size_t sig, size_t b, Tokens& out)
    {
        const size_t c = CierreParentesis(t_, sig);
        const auto args = partes(t_, sig + 1, std::min(c, b));
        // Only the forms T-SQL has; any other (a literal for CONVERT's type, a style that is
        // no number, a fourth argument) is left as written for the engine to refuse, never
        // rewritten into a statement that drops part of it.
        if (args.size() < 2 || args.size() > 3)
            return std::nullopt;
        if (k.es("CONVERT")
            && (!esTipo(args[0].first, args[0].second) || (args.size() == 3 && !esNumero(args[2].first, args[2].second))))
            return std::nullopt;
        auto traducido = [&](size_t n) {
            Tokens x;
            nivel(args[n].first, args[n].second, x);
            return Unir(x).trimmed();
        };
        if (k.es("CHARINDEX")) {
            out.push_back(palabra(r_.charindex(traducido(1), traducido(0),
                                               args.size() > 2 ? std::optional<QString>(traducido(2)) : std::nullopt)));
        } else {
            const size_t tipoI = Siguiente(t_, args[0].first);
            const QString tipo = tipoI < b ? t_[tipoI].identificador().toUpper() : QString();
            const bool estilo103 = args.size() >= 3 && texto(t_, args[2].first, args[2].second).trimmed() == QLatin1String("103");
            out.push_back(palabra(r_.convertir(tipo, traducido(1), estilo103)));
        }
        return c;
    }

    // A type as CONVERT names it: a name, then a length or precision in parentheses.
    bool esTipo(size_t a, size_t b) const
    {
        size_t j = Siguiente(t_, a);
        if (j >= b || !esNombre(t_[j]))
            return false;
        for (j = Siguiente(t_, j + 1); j < b; j = Siguiente(t_, j + 1))
            if (t_[j].tipo != Tipo::Numero && !t_[j].esSimbolo('(') && !t_[j].esSimbolo(')') && !t_[j].esSimbolo(',')
                && !t_[j].es("MAX"))
                return false;
        return true;
    }

    bool esNumero(size_t a, size_t b) const
    {
        const size_t j = Siguiente(t_, a);
        return j < b && t_[j].tipo == Tipo::Numero && Siguiente(t_, j + 1) >= b;
    }

    // A string literal without its N prefix; next to a comparison, without trailing blanks
    // where the engine compares them.
    void literal(size_t i, size_t a, size_t b, Tokens& out) const
    {
        const Token& k = t_[i];
        QString lit = k.texto.startsWith(u'N') || k.texto.startsWith(u'n') ? k.texto.mid(1) : k.texto;
        if (r_.recortarLiteralesComparados && datos_ && comparado(i, a, b)) {
            QString dentro = lit.mid(1, lit.size() - 2);
            while (dentro.endsWith(u' '))
                dentro.chop(1);
            lit = u'\'' + dentro + u'\'';
        }
        out.push_back({Tipo::Cadena, lit});
        if (datos_ && !r_.trasLiteral.isEmpty())
            out.push_back(palabra(r_.trasLiteral));
    }

    // A parenthesised group at i, translated as a level of its own (a bare "(NOLOCK)" is
    // dropped); returns the index of its ")".
    size_t grupo(size_t i, size_t b, Tokens& out)
    {
        if (auto fin = finPistas(t_, i))
            return *fin;
        const size_t cierre = std::min(CierreParentesis(t_, i), b);
        out.push_back(t_[i]);
        nivel(i + 1, cierre, out);
        if (cierre < b)
            out.push_back(t_[cierre]);
        return cierre;
    }

    static bool esNombre(const Token& k)
    {
        return k.tipo == Tipo::Palabra || k.tipo == Tipo::Corchetes || k.tipo == Tipo::Comillas;
    }

    // The literal at i stands next to a comparison operator.
    bool comparado(size_t i, size_t a, size_t b) const
    {
        size_t antes = i;
        while (antes > a && !t_[antes - 1].significativo())
            --antes;
        if (antes > a && esComparacion(t_[antes - 1]))
            return true;
        const size_t despues = Siguiente(t_, i + 1);
        return despues < b && esComparacion(t_[despues]);
    }

    const Tokens& t_;
    const Reglas& r_;
    bool datos_; // a data statement (not a definition)
    const Renombre renombres_[5];
};

QString traducirTokens(const Tokens& t, const Reglas& r, bool datos)
{
    Tokens out;
    if (datos && !r.sumar.isEmpty() && std::any_of(t.begin(), t.end(), [](const Token& k) { return k.esSimbolo('+'); })) {
        const Tokens conLlamadas = ConSumas(t, r.sumar);
        Traductor(conLlamadas, r, datos).nivel(0, conLlamadas.size(), out);
        return Unir(out);
    }
    Traductor(t, r, datos).nivel(0, t.size(), out);
    return Unir(out);
}

// The name after CREATE TABLE / ALTER TABLE (dbo. and brackets removed); siguiente receives
// the position of the first token after it.
QString nombreTabla(const Tokens& t, size_t trasTable, size_t& siguiente)
{
    size_t i = Siguiente(t, trasTable);
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
    siguiente = Siguiente(t, i);
    return nombre;
}

// A definition's translated text on one line: runs of blanks become one, line comments go;
// string literals stay exactly as written (QString::simplified() would squeeze their blanks).
QString enUnaLinea(const QString& sql)
{
    QString r;
    for (const Token& k : Tokenizar(sql)) {
        if (k.tipo == Tipo::Blanco || (k.tipo == Tipo::Comentario && k.texto.startsWith(u'-'))) {
            if (!r.isEmpty() && !r.endsWith(u' '))
                r += u' ';
        } else {
            r += k.texto;
        }
    }
    return r.trimmed();
}

// A column's type and its length or precision, from `tipoI` on; where the rest of the
// definition starts.
size_t leerTipo(const Tokens& t, size_t tipoI, size_t b, DefinicionColumna& d)
{
    if (tipoI >= b || t[tipoI].tipo != Tipo::Palabra)
        return tipoI;
    d.tipo = t[tipoI].texto.toLower();
    d.tipoEscrito = t[tipoI].texto;
    d.texto = esTipoTexto(t[tipoI]);
    const size_t p = Siguiente(t, tipoI + 1);
    if (p >= b || !t[p].esSimbolo('('))
        return tipoI + 1;
    const size_t c = CierreParentesis(t, p);
    // A length, a precision and scale, or MAX: anything else is no type of T-SQL.
    for (size_t j = Siguiente(t, p + 1); j < std::min(c, b); j = Siguiente(t, j + 1))
        if (t[j].tipo != Tipo::Numero && !t[j].esSimbolo(',') && !t[j].es("MAX"))
            throw FalloMotor({ErrorMotor{err::ErrorEnComando,
                                         QStringLiteral("Sintaxis incorrecta en el tipo de la columna %1 cerca de «%2».")
                                             .arg(d.nombre, t[j].texto.left(40)),
                                         QStringLiteral("42000"), 102}});
    if (c >= b)
        throw FalloMotor({ErrorMotor{err::ErrorEnComando, QStringLiteral("Falta «)» en el tipo de la columna %1.").arg(d.nombre),
                                     QStringLiteral("42000"), 102}});
    const QString dentro = texto(t, p + 1, c);
    d.tipoEscrito += u'(' + dentro.simplified() + u')';
    bool ok = false;
    const int n = dentro.trimmed().toInt(&ok);
    if (ok)
        d.largo = n;
    return c + 1;
}

// IDENTITY at `i` and its parentheses, if any; the last token it takes.
size_t saltarIdentidad(const Tokens& t, size_t i, size_t b, const QString& columna)
{
    const size_t p = Siguiente(t, i + 1);
    if (p < b && t[p].esSimbolo('(')) {
        i = CierreParentesis(t, p);
        // Seed and increment, which the engine's identity does not take: anything else in the
        // parentheses would be dropped with them.
        for (size_t j = Siguiente(t, p + 1); j < std::min(i, b); j = Siguiente(t, j + 1))
            if (t[j].tipo != Tipo::Numero && !t[j].esSimbolo(',') && !t[j].esSimbolo('-') && !t[j].esSimbolo('+'))
                throw FalloMotor({ErrorMotor{err::ErrorEnComando,
                                             QStringLiteral("Sintaxis incorrecta en IDENTITY de la columna %1 cerca de «%2».")
                                                 .arg(columna, t[j].texto.left(40)),
                                             QStringLiteral("42000"), 102}});
    }
    if (i >= b)
        throw FalloMotor({ErrorMotor{err::ErrorEnComando, QStringLiteral("Falta «)» en IDENTITY de la columna %1.").arg(columna),
                                     QStringLiteral("42000"), 102}});
    return i;
}

// One column definition, in the engine's terms.
QString columna(const QString& tabla, const Tokens& t, size_t a, size_t b, const Reglas& r, bool* identidad)
{
    a = Siguiente(t, a);
    if (a >= b)
        return {};
    if (t[a].tipo != Tipo::Palabra && t[a].tipo != Tipo::Corchetes && t[a].tipo != Tipo::Comillas)
        throw FalloMotor({ErrorMotor{err::ErrorEnComando,
                                     QStringLiteral("Sintaxis incorrecta en la definición de la tabla %1 cerca de «%2».")
                                         .arg(tabla, t[a].texto.left(40)),
                                     QStringLiteral("42000"), 102}});
    DefinicionColumna d;
    d.tabla = tabla;
    d.nombre = t[a].identificador();
    const size_t resto = leerTipo(t, Siguiente(t, a + 1), b, d);
    for (size_t j = resto; j < b; ++j)
        d.identidad = d.identidad || t[j].es("IDENTITY");
    Tokens otros;
    for (size_t i = resto; i < b; ++i) {
        const Token& k = t[i];
        if (k.es("IDENTITY")) {
            i = saltarIdentidad(t, i, b, d.nombre);
            continue;
        }
        if (k.es("COLLATE")) {
            // A collation is a name; anything else after COLLATE is left for the engine to refuse.
            const size_t nombre = Siguiente(t, i + 1);
            if (nombre < b && (t[nombre].tipo == Tipo::Palabra || t[nombre].tipo == Tipo::Corchetes || t[nombre].tipo == Tipo::Comillas)) {
                i = nombre;
                continue;
            }
        }
        if (k.es("CLUSTERED") || k.es("NONCLUSTERED"))
            continue;
        if (d.identidad && k.es("PRIMARY")) { // written with the identity type
            const size_t clave = Siguiente(t, i + 1);
            if (clave < b && t[clave].es("KEY")) {
                i = clave;
                continue;
            }
        }
        otros.push_back(k);
    }
    d.resto = enUnaLinea(traducirTokens(otros, r, false));
    if (identidad)
        *identidad = d.identidad;
    return r.columna(d);
}

QString crearTabla(const Tokens& t, size_t trasTable, const Reglas& r)
{
    size_t abre = 0;
    const QString tabla = nombreTabla(t, trasTable, abre);
    if (abre >= t.size() || !t[abre].esSimbolo('('))
        return traducirTokens(t, r, false);
    const size_t cierra = CierreParentesis(t, abre);
    // The definitions are rewritten one by one: an unclosed list, or text after it, would be lost.
    if (cierra >= t.size() || Siguiente(t, cierra + 1) < t.size())
        throw FalloMotor({ErrorMotor{err::ErrorEnComando,
                                     QStringLiteral("Sintaxis incorrecta en CREATE TABLE %1: los paréntesis de las columnas no "
                                                    "cierran al final de la instrucción.")
                                         .arg(tabla),
                                     QStringLiteral("42000"), 102}});
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
        definiciones << columna(tabla, t, a, b, r, &esIdentidad);
        if (esIdentidad)
            identidad = t[p].identificador();
    }
    for (const auto& [a, b] : restricciones) {
        Tokens sin;
        QStringList columnasClave;
        bool enClave = false;
        for (size_t i2 = a; i2 < b; ++i2) {
            if (t[i2].es("CLUSTERED") || t[i2].es("NONCLUSTERED"))
                continue;
            if (t[i2].es("PRIMARY"))
                enClave = true;
            else if (enClave && t[i2].esSimbolo(')'))
                enClave = false;
            else if (enClave && !t[i2].es("KEY")
                     && (t[i2].tipo == Tipo::Palabra || t[i2].tipo == Tipo::Corchetes || t[i2].tipo == Tipo::Comillas))
                columnasClave << t[i2].identificador();
            sin.push_back(t[i2]);
        }
        // The identity column is already the key.
        if (!identidad.isEmpty() && columnasClave.size() == 1 && columnasClave.front().compare(identidad, Qt::CaseInsensitive) == 0)
            continue;
        definiciones << enUnaLinea(traducirTokens(sin, r, false));
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(r.identificador(tabla), definiciones.join(QStringLiteral(",\n  ")));
}

QString alterarTabla(const Tokens& t, size_t trasTable, const Reglas& r)
{
    size_t add = 0;
    const QString tabla = nombreTabla(t, trasTable, add);
    if (add >= t.size() || !t[add].es("ADD"))
        return traducirTokens(t, r, false);
    size_t col = Siguiente(t, add + 1);
    if (col < t.size() && t[col].es("COLUMN"))
        col = col + 1;
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(r.identificador(tabla), columna(tabla, t, col, t.size(), r, nullptr));
}

std::optional<SentenciaTraducida> traducir(const Tokens& t, const Reglas& r)
{
    const size_t p0 = Siguiente(t, 0);
    if (p0 >= t.size())
        return std::nullopt;
    const Token& primero = t[p0];
    const size_t p1 = Siguiente(t, p0 + 1);
    const bool segundoTran = p1 < t.size() && (t[p1].es("TRAN") || t[p1].es("TRANSACTION") || t[p1].es("WORK"));
    const bool solo = p1 >= t.size();

    // BEGIN, COMMIT, ROLLBACK [TRAN[SACTION] [name]]: with anything more it is no transaction
    // statement and goes to the engine as written, which refuses it; what follows is never dropped.
    const size_t p2 = p1 < t.size() ? Siguiente(t, p1 + 1) : t.size();
    const bool mas = p2 < t.size() && Siguiente(t, p2 + 1) < t.size();
    if (primero.es("BEGIN") && segundoTran && !mas)
        return SentenciaTraducida{Accion::Iniciar, {}};
    if (primero.es("EXEC") || primero.es("EXECUTE"))
        if (auto recurso = RecursoBloqueado(t))
            return SentenciaTraducida{Accion::Bloquear, *recurso};
    if (primero.es("COMMIT") && (segundoTran || solo) && !mas)
        return SentenciaTraducida{Accion::Confirmar, {}};
    if (primero.es("ROLLBACK") && (segundoTran || solo) && !mas)
        return SentenciaTraducida{Accion::Deshacer, {}};
    if (primero.es("SET") || primero.es("USE") || primero.es("PRINT"))
        return std::nullopt; // session options of SQL Server: nothing to do here

    if (primero.es("DELETE") && p1 < t.size() && !t[p1].es("FROM")) {
        Tokens conFrom(t.begin(), t.begin() + qsizetype(p1));
        conFrom.push_back(palabra(QStringLiteral("FROM")));
        conFrom.push_back(blanco());
        conFrom.insert(conFrom.end(), t.begin() + qsizetype(p1), t.end());
        return SentenciaTraducida{Accion::Sentencia, traducirTokens(conFrom, r, true)};
    }
    if ((primero.es("CREATE") || primero.es("ALTER")) && p1 < t.size() && t[p1].es("TABLE"))
        return SentenciaTraducida{Accion::Sentencia, primero.es("CREATE") ? crearTabla(t, p1 + 1, r) : alterarTabla(t, p1 + 1, r)};
    if (primero.es("CREATE") || primero.es("DROP")) {
        Tokens sin;
        for (const Token& k : t)
            if (!k.es("CLUSTERED") && !k.es("NONCLUSTERED"))
                sin.push_back(k);
        // Views keep the comparison rules of literals in their own text.
        const bool vista = primero.es("CREATE") && p1 < t.size() && t[p1].es("VIEW");
        return SentenciaTraducida{Accion::Sentencia, traducirTokens(sin, r, vista)};
    }
    return SentenciaTraducida{Accion::Sentencia, traducirTokens(t, r, true)};
}

} // namespace

std::optional<QString> RecursoBloqueado(const Tokens& t)
{
    size_t i = Siguiente(t, 0);
    if (i >= t.size() || !(t[i].es("EXEC") || t[i].es("EXECUTE")))
        return std::nullopt;
    i = Siguiente(t, i + 1);
    if (const size_t punto = Siguiente(t, i + 1); i < t.size() && t[i].identificador().compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0
        && punto < t.size() && t[punto].esSimbolo('.'))
        i = Siguiente(t, punto + 1);
    if (i >= t.size() || t[i].identificador().compare(QLatin1String("sp_getapplock"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    static const char* const enOrden[] = {"@resource", "@lockmode", "@lockowner", "@locktimeout", "@dbprincipal"};
    QHash<QString, QString> valores; // parameter in lower case -> its value
    size_t posicion = 0;
    for (const auto& [a, b] : partes(t, i + 1, t.size())) {
        size_t p = Siguiente(t, a);
        if (p >= b)
            return std::nullopt;
        QString nombre;
        if (t[p].tipo == Tipo::Palabra && t[p].texto.startsWith(u'@')) {
            nombre = t[p].texto.toLower();
            p = Siguiente(t, p + 1);
            if (p >= b || !t[p].esSimbolo('='))
                return std::nullopt;
            p = Siguiente(t, p + 1);
        } else if (posicion < std::size(enOrden)) {
            nombre = QLatin1String(enOrden[posicion]);
        } else {
            return std::nullopt;
        }
        ++posicion;
        if (p >= b || Siguiente(t, p + 1) < b || (t[p].tipo != Tipo::Cadena && t[p].tipo != Tipo::Numero))
            return std::nullopt;
        QString v = t[p].texto;
        if (t[p].tipo == Tipo::Cadena) {
            if (v.startsWith(u'N') || v.startsWith(u'n'))
                v.remove(0, 1);
            v = v.mid(1, v.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        }
        valores.insert(nombre, v);
    }
    const auto igual = [&](const char* clave, const char* valor) {
        return valores.value(QLatin1String(clave)).compare(QLatin1String(valor), Qt::CaseInsensitive) == 0;
    };
    if (!valores.contains(QStringLiteral("@resource")) || !igual("@lockmode", "Exclusive")
        || (valores.contains(QStringLiteral("@lockowner")) && !igual("@lockowner", "Transaction")))
        return std::nullopt;
    QString recurso = valores.value(QStringLiteral("@resource")).toUpper();
    while (recurso.endsWith(u' '))
        recurso.chop(1);
    return recurso;
}

QStringList RecursosSiguientes(const std::vector<SentenciaTraducida>& lote, size_t& i)
{
    QStringList r;
    while (i + 1 < lote.size() && lote[i + 1].accion == Accion::Bloquear)
        r << lote[++i].sql;
    return r;
}

QString SinBloqueos(const QString& lote)
{
    const std::vector<Tokens> sentencias = DividirLote(Tokenizar(lote));
    if (std::none_of(sentencias.begin(), sentencias.end(), [](const Tokens& s) { return RecursoBloqueado(s).has_value(); }))
        return lote;
    QStringList resto;
    for (const Tokens& s : sentencias)
        if (!RecursoBloqueado(s))
            resto << Unir(s);
    return resto.join(QStringLiteral("\r\n"));
}

std::vector<SentenciaTraducida> TraducirLote(const QString& tsql, const Reglas& reglas)
{
    if (tsql.contains(QChar(0)))
        throw FalloMotor({ErrorMotor{err::ErrorEnComando, MensajeCaracterNulo, QStringLiteral("22021"), 0}});
    const Tokens tokens = Tokenizar(tsql);
    // A name or a text left open would swallow the rest of the batch (and a dialect that
    // trims or marks literals could not write it back as it came): refused as SQL Server does.
    if (!tokens.empty() && tokens.back().sinCerrar()) {
        const Tipo tipo = tokens.back().tipo;
        const QString que = tipo == Tipo::Corchetes ? QStringLiteral("el nombre entre corchetes")
            : tipo == Tipo::Comillas               ? QStringLiteral("el nombre entre comillas dobles")
                                                   : QStringLiteral("el texto entre comillas simples");
        throw FalloMotor({ErrorMotor{err::ErrorEnComando,
                                     QStringLiteral("Falta cerrar %1 que empieza en %2.").arg(que, tokens.back().texto.left(40)),
                                     QStringLiteral("42000"), 105}});
    }
    // The translation walks parentheses recursively: a depth no statement of the program
    // comes near is refused, as SQL Server refuses it (191), before it could exhaust the stack.
    int nivel = 0;
    for (const Token& k : tokens) {
        if (k.esSimbolo('(') && ++nivel > MaximoAnidamiento)
            throw FalloMotor({ErrorMotor{err::ErrorEnComando,
                                         QStringLiteral("Una parte de la instrucción SQL está anidada a demasiada profundidad "
                                                        "(más de %1 paréntesis). Vuelva a escribirla o divídala en "
                                                        "instrucciones más pequeñas.")
                                             .arg(MaximoAnidamiento),
                                         QStringLiteral("42000"), 191}});
        if (k.esSimbolo(')') && nivel > 0)
            --nivel;
    }
    std::vector<SentenciaTraducida> r;
    for (const Tokens& s : DividirLote(tokens)) {
        if (auto x = traducir(s, reglas))
            r.push_back(std::move(*x));
    }
    return r;
}

std::vector<SentenciaTraducida> MemoriaTraducciones::traducir(const QString& tsql)
{
    if (tsql.size() > MaximoLargo) {
        // Only the last long batch is kept: the engine asks twice for the same one (as a
        // cursor first, then to run it).
        if (tsql != ultimoLargo_) {
            ultimaTraduccion_ = TraducirLote(tsql, reglas_); // a text that fails keeps nothing
            ultimoLargo_ = tsql;
        }
        return ultimaTraduccion_;
    }
    if (const auto hallado = lotes_.constFind(tsql); hallado != lotes_.cend())
        return *hallado;
    std::vector<SentenciaTraducida> r = TraducirLote(tsql, reglas_);
    if (lotes_.size() >= MaximoLotes)
        lotes_.clear();
    lotes_.insert(tsql, r);
    return r;
}

std::function<QString(const QString&, const QString&, const std::optional<QString>&)> CharindexCon(const QString& funcionPosicion)
{
    return [funcionPosicion](const QString& en, const QString& buscado, const std::optional<QString>& desde) {
        if (!desde)
            return QStringLiteral("%1(%2,%3)").arg(funcionPosicion, en, buscado);
        const QString pos = QStringLiteral("%1(SUBSTR(%2,%3),%4)").arg(funcionPosicion, en, *desde, buscado);
        return QStringLiteral("(CASE WHEN %1>0 THEN %1+(%2)-1 ELSE 0 END)").arg(pos, *desde);
    };
}

std::function<QString(const QString&, const QString&, bool)> ConvertirCon(FormasConvertir formas)
{
    return [formas](const QString& tipo, const QString& valor, bool estilo103) {
        static const QStringList textos{"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT"};
        static const QStringList enteros{"INT", "INTEGER", "SMALLINT", "BIGINT", "TINYINT", "BIT"};
        static const QStringList fechas{"DATETIME", "DATE", "SMALLDATETIME"};
        if (textos.contains(tipo))
            return (estilo103 ? formas.texto103 : formas.texto).arg(valor);
        if (enteros.contains(tipo))
            return formas.entero.arg(valor);
        if (fechas.contains(tipo))
            return (estilo103 ? formas.fecha103 : formas.fecha).arg(valor);
        return formas.numero.arg(valor);
    };
}

QString Citado(const QString& id, QChar abre, QChar cierra)
{
    return abre + QString(id).replace(cierra, QString(2, cierra)) + cierra;
}

} // namespace ado::tsql
