#include "data/ado/servidores/Oracle.h"

#include "data/ado/Texto.h"
#include "data/ado/servidores/Dialecto.h"
#include "suite/ErrorRT.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QDate>
#include <QDateTime>
#include <optional>

namespace ado::oracle {

using texto::contiene;
using texto::instr;
using texto::reemplazar;

namespace {

[[noreturn]] void argumentoNoValido()
{
    suite::Lanzar(5, QStringLiteral("Llamada a procedimiento o argumento no válido"), QStringLiteral("ORACLE_Dicc"));
}

// A literal the user's regional settings read as a date.
std::optional<QDate> comoFecha(const QString& literal)
{
    const QString t = literal.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const QString corta = suite::RegionalActual().fechaCorta;
    QString sinSiglo = corta;
    sinSiglo.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    for (const QString& f : {corta, sinSiglo, corta + QStringLiteral(" HH:mm"), corta + QStringLiteral(" HH:mm:ss"),
                             QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-MM-dd HH:mm:ss")}) {
        const QDateTime d = QDateTime::fromString(t, f);
        if (d.isValid()) {
            QDate fecha = d.date();
            if (f == sinSiglo && fecha.year() < 1950)
                fecha = fecha.addYears(100);
            return fecha;
        }
    }
    return std::nullopt;
}

// Rule 1: TOP n to a ROWNUM condition, placed before GROUP BY or ORDER BY.
QString topARownum(const QString& valor)
{
    const qsizetype p = instr(valor, QStringLiteral("top"));
    const QString cabeza = valor.left(p - 1);
    const QString resto = valor.mid(p + 2).trimmed();
    const qsizetype blanco = resto.indexOf(u' ');
    if (blanco < 0)
        argumentoNoValido();
    const QString n = resto.left(blanco);
    QString cuerpo = resto.mid(blanco + 1);
    QString grupo, orden;
    if (const qsizetype g = instr(valor, QStringLiteral(" GROUP BY ")); g > 0)
        grupo = valor.mid(g - 1);
    else if (const qsizetype o = instr(valor, QStringLiteral("ORDER BY ")); o > 0)
        orden = valor.mid(o - 1);
    const QString cond = (contiene(valor, QStringLiteral(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ")
                                                                     : QStringLiteral(" WHERE ROWNUM <= "))
        + n;
    if (!grupo.trimmed().isEmpty())
        cuerpo = reemplazar(cuerpo, grupo.trimmed(), QStringLiteral(" "));
    if (!orden.trimmed().isEmpty())
        cuerpo = reemplazar(cuerpo, orden.trimmed(), QStringLiteral(" "));
    return cabeza + u' ' + cuerpo + u' ' + cond + u' ' + grupo + u' ' + orden;
}

// Rule 4: every quoted literal that reads as a date becomes TO_DATE('dd/MM/yyyy', ...).
QString fechasAToDate(const QString& s)
{
    QString r = s;
    qsizetype desde = 0;
    for (;;) {
        const qsizetype a = s.indexOf(u'\'', desde);
        if (a < 0)
            break;
        const qsizetype b = s.indexOf(u'\'', a + 1);
        if (b < 0)
            argumentoNoValido();
        const QString literal = s.mid(a + 1, b - a - 1);
        if (const auto fecha = comoFecha(literal))
            r.replace(u'\'' + literal + u'\'', QStringLiteral("TO_DATE('") + fecha->toString(QStringLiteral("dd/MM/yyyy"))
                                                   + QStringLiteral("','DD/MM/YYYY')"),
                      Qt::CaseInsensitive);
        desde = b + 1;
    }
    while (contiene(r, QStringLiteral("TO_DATE(TO_DATE("))) {
        r = reemplazar(r, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
        r = reemplazar(r, QStringLiteral("'DD/MM/YYYY'),'DD/MM/YYYY')"), QStringLiteral("'DD/MM/YYYY')"));
    }
    return r;
}

// Rule 7: a comparison with the empty string after WHERE is IS NULL (Oracle's '' is null).
QString vacioANulo(QString s)
{
    if (!contiene(s, QStringLiteral("WHERE ")))
        return s;
    for (const char* forma : {"= ''", "=''"}) {
        const qsizetype w = instr(s, QStringLiteral("WHERE ")) - 1;
        s = s.left(w) + reemplazar(s.mid(w), QString::fromLatin1(forma), QStringLiteral(" IS NULL "));
    }
    return s;
}

// Rule 8: date style 103 as TO_CHAR's first argument after the value.
QString estilo103(QString s)
{
    for (qsizetype p = instr(s, QStringLiteral("103")); p > 0; p = instr(s, QStringLiteral("103"), p + 3)) {
        const qsizetype parentesis = s.lastIndexOf(u'(', p - 1);
        if (parentesis >= 0 && s.left(parentesis + 1).right(8).compare(QLatin1String("TO_CHAR("), Qt::CaseInsensitive) == 0)
            s.replace(p - 1, 3, QStringLiteral("'DD/MM/YYYY'"));
    }
    return s;
}

} // namespace

QString Traducir(const QString& Valor)
{
    if (suite::ContarPalabras(Valor) <= 1)
        return Valor.trimmed().compare(QLatin1String("LEN"), Qt::CaseInsensitive) == 0 ? QStringLiteral("LENGTH") : Valor;

    QString s = contiene(Valor, QStringLiteral("top ")) ? topARownum(Valor) : Valor;
    // Rule 2: LEN.
    for (const char* forma : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
        s = reemplazar(s, QString::fromLatin1(forma), QStringLiteral(" LENGTH("));
    // Rule 3: quoted identifiers.
    s.replace(u'[', u'"').replace(u']', u'"');
    s = fechasAToDate(s);
    // Rule 5: CHARINDEX.
    s = reemplazar(s, QStringLiteral("Charindex"), QStringLiteral("InStr"));
    // Rule 6: CONVERT.
    s = reemplazar(s, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    s = reemplazar(s, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));
    s = estilo103(vacioANulo(s));
    // Rules 9 and 10.
    s = reemplazar(s, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    s = reemplazar(s, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
    return s;
}

namespace {

const char* const ClavesScript[] = {"INSERT ", "DELETE ", "UPDATE ", "CREATE ", "DROP ", "ALTER ",
                                    "SET TRANSACTION", "COMMIT", "ROLLBACK", "IF NOT EXIST", "IF EXIST", "GRANT "};
constexpr qsizetype Centinela = 1999999;

// The script without application locks, GO, SET NOCOUNT and line ends, its transaction
// statements in Oracle's words; in this order.
QString normalizarScript(const QString& script)
{
    QString texto = tsql::SinBloqueos(script);
    const std::pair<const char*, const char*> cambios[] = {
        {"SET NOCOUNT ON", ""},
        {"SET NOCOUNT OFF", ""},
        {" GO ", " "},
        {"\r\nGO ", " "},
        {"\r\nGO ", " "},
        {"\r\nGO\r\n", " "},
        {"\r", " "},
        {"\r\n", " "},
        {"BEGIN TRANSACTION", "SET TRANSACTION"},
        {"BEGIN TRANS", "SET TRANSACTION"},
        {"COMMIT TRANSACTION", "COMMIT"},
        {"COMMIT TRANS", "COMMIT"},
        {"ROLLBACK TRANSACTION", "ROLLBACK"},
        {"ROLLBACK TRANS", "ROLLBACK"},
    };
    for (const auto& [viejo, nuevo] : cambios)
        texto = reemplazar(texto, QString::fromLatin1(viejo), QString::fromLatin1(nuevo));
    return texto;
}

// 1-based start of the first key word in texto and what the next statement is cut at
// (Centinela when none follows); false when no key word is left.
bool buscarSentencia(const QString& texto, qsizetype& inicio, qsizetype& fin)
{
    inicio = fin = Centinela;
    for (const char* c : ClavesScript) {
        const qsizetype p = instr(texto, QString::fromLatin1(c));
        if (p > 0 && p < inicio)
            inicio = p;
    }
    if (inicio == Centinela)
        return false;
    qsizetype menor = Centinela + 1;
    for (const char* c : ClavesScript) {
        const qsizetype p = instr(texto, QString::fromLatin1(c), inicio + 1);
        if (p > inicio && p < menor)
            menor = p;
    }
    if (menor <= Centinela)
        fin = menor - 1;
    return true;
}

} // namespace

std::vector<PasoScript> DividirScript(const QString& script)
{
    std::vector<PasoScript> pasos;
    QString texto = normalizarScript(script);
    qsizetype inicio = 0, fin = 0;
    while (buscarSentencia(texto, inicio, fin)) {
        // From the key word up to the next one: text before the first key word is no part of it.
        const QString sentencia = texto.mid(inicio - 1, fin >= Centinela ? -1 : fin - (inicio - 1)).trimmed();
        auto es = [&](const char* palabra) { return sentencia.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0; };
        if (es("SET TRANSACTION"))
            pasos.push_back({Paso::Empezar, {}});
        else if (es("COMMIT"))
            pasos.push_back({Paso::Confirmar, {}});
        else if (es("ROLLBACK"))
            pasos.push_back({Paso::Deshacer, {}});
        else
            pasos.push_back({Paso::Sentencia, sentencia});
        texto = fin >= Centinela ? QString() : texto.mid(fin).trimmed();
    }
    return pasos;
}

} // namespace ado::oracle
