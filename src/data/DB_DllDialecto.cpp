#include "data/DB_Dll.h"

#include "data/DB_DllTexto.h"
#include "data/Sesion.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QDate>
#include <QDateTime>

using namespace db_dll;

// ---- Dialects and synonyms ------------------------------------------------------------

QString DB_Dll::SS_TSinonimos(const QString& SentenciaSQL) const
{
    TextoPropio s(SentenciaSQL);
    const QString marca = QStringLiteral("@Admin_");
    if (gEsAdmin)
        return s.reemplazar(marca, QString()).texto();
    if (s.contiene(QStringLiteral("MV_ASIENTOS")) && !gConfidencialidad)
        return s.reemplazar(marca, QString()).texto();

    auto aplicar = [&](const QString& x, const QString& sinonimo, int formas) {
        const QString antes[] = {QStringLiteral(" "), QStringLiteral("("), QStringLiteral(" "),
                                 QStringLiteral("("), QStringLiteral(","), QStringLiteral("{")};
        const QString despues[] = {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("."),
                                   QStringLiteral("."), QStringLiteral("."), QStringLiteral(".")};
        for (int f = 0; f < formas; ++f)
            s.reemplazar(antes[f] + x + despues[f], antes[f] + sinonimo + despues[f]);
    };
    aplicar(QStringLiteral("MA_CUENTAS"), QStringLiteral("SS_MA_CUENTAS"), 6);
    if (s.contiene(marca)) {
        s.reemplazar(QStringLiteral("@Admin_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
        s.reemplazar(QStringLiteral("SS_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
    }
    const QString exe = NombreEjecutable();
    auto es = [&](const char* n) { return exe.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    if (!es("VLVISORDEP") && !es("VLLISTADEP"))
        aplicar(QStringLiteral("V_TA_DEPOSITO"), QStringLiteral("SS_V_TA_DEPOSITO"), 5);
    aplicar(QStringLiteral("MV_ASIENTOS"), QStringLiteral("SS_MV_ASIENTOS"), 5);
    if (!es("VLTRANS") && !es("VLAUX"))
        aplicar(QStringLiteral("V_TA_FAMILIAS"), QStringLiteral("SS_V_TA_FAMILIAS"), 5);
    aplicar(QStringLiteral("V_TA_CAJAS"), QStringLiteral("SS_V_TA_CAJAS"), 5);
    aplicar(QStringLiteral("AC_CUENTASDIARIO"), QStringLiteral("SS_AC_CUENTASDIARIO"), 5);
    aplicar(QStringLiteral("AC_CUENTASDIARIO_CCOSTO"), QStringLiteral("SS_AC_CUENTAS_DIARIO_CCOSTO"), 5);
    return s.reemplazar(marca, QString()).texto();
}

namespace {

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

} // namespace

QString DB_Dll::ORACLE_Dicc(const QString& Valor) const
{
    if (!contiene(gConnString, QStringLiteral("ORACLE")))
        return Valor;
    if (suite::ContarPalabras(Valor) <= 1)
        return Valor.trimmed().compare(QLatin1String("LEN"), Qt::CaseInsensitive) == 0 ? QStringLiteral("LENGTH") : Valor;

    QString s = Valor;
    // Rule 1: TOP to ROWNUM.
    if (contiene(Valor, QStringLiteral("top "))) {
        const qsizetype p = instr(Valor, QStringLiteral("top"));
        const QString cabeza = Valor.left(p - 1);
        const QString resto = Valor.mid(p + 2).trimmed();
        const qsizetype blanco = resto.indexOf(u' ');
        if (blanco < 0)
            suite::Lanzar(5, QStringLiteral("Llamada a procedimiento o argumento no válido"), QStringLiteral("ORACLE_Dicc"));
        const QString n = resto.left(blanco);
        QString cuerpo = resto.mid(blanco + 1);
        QString grupo, orden;
        if (const qsizetype g = instr(Valor, QStringLiteral(" GROUP BY ")); g > 0)
            grupo = Valor.mid(g - 1);
        else if (const qsizetype o = instr(Valor, QStringLiteral("ORDER BY ")); o > 0)
            orden = Valor.mid(o - 1);
        const QString cond = (contiene(Valor, QStringLiteral(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ")
                                                                         : QStringLiteral(" WHERE ROWNUM <= "))
            + n;
        if (!grupo.trimmed().isEmpty())
            cuerpo = reemplazar(cuerpo, grupo.trimmed(), QStringLiteral(" "));
        if (!orden.trimmed().isEmpty())
            cuerpo = reemplazar(cuerpo, orden.trimmed(), QStringLiteral(" "));
        s = cabeza + u' ' + cuerpo + u' ' + cond + u' ' + grupo + u' ' + orden;
    }
    // Rule 2: LEN.
    for (const char* forma : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
        s = reemplazar(s, QString::fromLatin1(forma), QStringLiteral(" LENGTH("));
    // Rule 3: quoted identifiers.
    s.replace(u'[', u'"').replace(u']', u'"');
    // Rule 4: date literals.
    {
        QString r = s;
        qsizetype desde = 0;
        for (;;) {
            const qsizetype a = s.indexOf(u'\'', desde);
            if (a < 0)
                break;
            const qsizetype b = s.indexOf(u'\'', a + 1);
            if (b < 0)
                suite::Lanzar(5, QStringLiteral("Llamada a procedimiento o argumento no válido"), QStringLiteral("ORACLE_Dicc"));
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
        s = r;
    }
    // Rule 5: CHARINDEX.
    s = reemplazar(s, QStringLiteral("Charindex"), QStringLiteral("InStr"));
    // Rule 6: CONVERT.
    s = reemplazar(s, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    s = reemplazar(s, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));
    // Rule 7: comparison with the empty string.
    if (contiene(s, QStringLiteral("WHERE "))) {
        for (const char* forma : {"= ''", "=''"}) {
            const qsizetype w = instr(s, QStringLiteral("WHERE ")) - 1;
            s = s.left(w) + reemplazar(s.mid(w), QString::fromLatin1(forma), QStringLiteral(" IS NULL "));
        }
    }
    // Rule 8: date style 103.
    for (qsizetype p = instr(s, QStringLiteral("103")); p > 0; p = instr(s, QStringLiteral("103"), p + 3)) {
        const qsizetype parentesis = s.lastIndexOf(u'(', p - 1);
        if (parentesis >= 0 && s.left(parentesis + 1).right(8).compare(QLatin1String("TO_CHAR("), Qt::CaseInsensitive) == 0)
            s.replace(p - 1, 3, QStringLiteral("'DD/MM/YYYY'"));
    }
    // Rules 9 and 10.
    s = reemplazar(s, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    s = reemplazar(s, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
    return s;
}
