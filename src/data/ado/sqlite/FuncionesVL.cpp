#include "data/ado/sqlite/FuncionesVL.h"

#ifdef VL_EXTENSION_SQLITE
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace ado::sqlite {

namespace {

// ---- Text rules of SQL Server's default collation ---------------------------------------

int compararVL(void*, int la, const void* va, int lb, const void* vb)
{
    auto a = static_cast<const unsigned char*>(va);
    auto b = static_cast<const unsigned char*>(vb);
    while (la > 0 && a[la - 1] == ' ')
        --la;
    while (lb > 0 && b[lb - 1] == ' ')
        --lb;
    const int n = std::min(la, lb);
    for (int i = 0; i < n; ++i) {
        unsigned ca = a[i], cb = b[i];
        if ((ca | cb) & 0x80) { // outside ASCII: compare the rest as Unicode text
            const QString sa = QString::fromUtf8(reinterpret_cast<const char*>(a + i), la - i);
            const QString sb = QString::fromUtf8(reinterpret_cast<const char*>(b + i), lb - i);
            const int c = sa.compare(sb, Qt::CaseInsensitive);
            return c < 0 ? -1 : c > 0 ? 1 : 0;
        }
        if (ca >= 'A' && ca <= 'Z')
            ca += 32;
        if (cb >= 'A' && cb <= 'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return la == lb ? 0 : la < lb ? -1 : 1;
}

QString textoArg(sqlite3_value* v)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// One pattern element at p[i] against c: "_", "[set]", "[^set]", an escaped or plain character.
bool elemento(const QString& p, qsizetype i, QChar c, QChar esc, qsizetype* largo)
{
    const QChar x = p[i];
    if (!esc.isNull() && x == esc && i + 1 < p.size()) {
        *largo = 2;
        return p[i + 1] == c;
    }
    if (x == u'_') {
        *largo = 1;
        return true;
    }
    if (x == u'[') {
        const qsizetype fin = p.indexOf(u']', i + 2);
        if (fin > i) {
            *largo = fin - i + 1;
            qsizetype j = i + 1;
            const bool negado = p[j] == u'^';
            if (negado)
                ++j;
            bool dentro = false;
            for (; j < fin; ++j) {
                if (j + 2 < fin && p[j + 1] == u'-') {
                    dentro = dentro || (c >= p[j] && c <= p[j + 2]);
                    j += 2;
                } else {
                    dentro = dentro || c == p[j];
                }
            }
            return dentro != negado;
        }
    }
    *largo = 1;
    return x == c;
}

bool coincide(const QString& s, const QString& p, QChar esc)
{
    qsizetype si = 0, pi = 0, estrellaP = -1, estrellaS = 0;
    while (si < s.size()) {
        if (pi < p.size()) {
            if (p[pi] == u'%' && (esc.isNull() || p[pi] != esc)) {
                estrellaP = ++pi;
                estrellaS = si;
                continue;
            }
            qsizetype largo = 1;
            if (elemento(p, pi, s[si], esc, &largo)) {
                pi += largo;
                ++si;
                continue;
            }
        }
        if (estrellaP < 0)
            return false;
        pi = estrellaP;
        si = ++estrellaS;
    }
    while (pi < p.size() && p[pi] == u'%')
        ++pi;
    return pi == p.size();
}

void funcionLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    // like(pattern, value[, escape])
    const QString patron = textoArg(argv[0]).toCaseFolded();
    const QString valor = textoArg(argv[1]).toCaseFolded();
    QChar esc;
    if (argc == 3) {
        const QString e = textoArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        esc = e[0].toCaseFolded();
    }
    sqlite3_result_int(ctx, coincide(valor, patron, esc) ? 1 : 0);
}

void funcionMayusculas(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray r = textoArg(argv[0]).toUpper().toUtf8();
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

void funcionMinusculas(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray r = textoArg(argv[0]).toLower().toUtf8();
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

// ---- T-SQL's "+" ------------------------------------------------------------------------

bool esNumero(int tipo) { return tipo == SQLITE_INTEGER || tipo == SQLITE_FLOAT; }

// A text as SQL Server converts it to a number for "+": blanks around allowed; nullopt when
// it is not a number.
std::optional<std::pair<bool, double>> numeroDeTexto(const QString& t, qint64* entero)
{
    const QString s = t.trimmed();
    bool ok = false;
    const qint64 i = s.toLongLong(&ok);
    if (ok) {
        *entero = i;
        return std::pair{true, double(i)};
    }
    const double d = s.toDouble(&ok);
    if (ok && std::isfinite(d))
        return std::pair{false, d};
    return std::nullopt;
}

void funcionSumar(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int ta = sqlite3_value_type(argv[0]), tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!esNumero(ta) && !esNumero(tb)) { // two texts: joined
        QByteArray r(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])), sqlite3_value_bytes(argv[0]));
        r.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])), sqlite3_value_bytes(argv[1]));
        sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
        return;
    }
    // A number and a text: the text becomes a number, as SQL Server converts by type
    // precedence; one that is not a number is an error.
    bool enteros = true;
    qint64 e[2] = {0, 0};
    double d[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        sqlite3_value* v = argv[k];
        const int t = sqlite3_value_type(v);
        if (t == SQLITE_INTEGER) {
            e[k] = sqlite3_value_int64(v);
            d[k] = double(e[k]);
        } else if (t == SQLITE_FLOAT) {
            enteros = false;
            d[k] = sqlite3_value_double(v);
        } else {
            const auto n = numeroDeTexto(textoArg(v), &e[k]);
            if (!n) {
                const QByteArray m = QStringLiteral("Error al convertir el valor varchar '%1' al tipo de datos numérico.")
                                         .arg(textoArg(v))
                                         .toUtf8();
                sqlite3_result_error(ctx, m.constData(), int(m.size()));
                return;
            }
            enteros = enteros && n->first;
            d[k] = n->second;
        }
    }
    constexpr qint64 maximo = std::numeric_limits<qint64>::max(), minimo = std::numeric_limits<qint64>::min();
    const bool desborda = (e[1] > 0 && e[0] > maximo - e[1]) || (e[1] < 0 && e[0] < minimo - e[1]);
    if (enteros && !desborda)
        sqlite3_result_int64(ctx, e[0] + e[1]);
    else
        sqlite3_result_double(ctx, d[0] + d[1]);
}

} // namespace

int RegistrarFuncionesVL(sqlite3* db)
{
    const int banderas = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_collation(db, "VL", SQLITE_UTF8, nullptr, compararVL);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "like", 2, banderas, nullptr, funcionLike, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "like", 3, banderas, nullptr, funcionLike, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "upper", 1, banderas, nullptr, funcionMayusculas, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "lower", 1, banderas, nullptr, funcionMinusculas, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "VL_SUMAR", 2, banderas, nullptr, funcionSumar, nullptr, nullptr);
    return rc;
}

} // namespace ado::sqlite
