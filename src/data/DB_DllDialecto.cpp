#include "data/DB_Dll.h"

#include "data/DB_DllTexto.h"
#include "data/Sesion.h"
#include "data/ado/servidores/Oracle.h"
#include "suite/SuiteUtil.h"

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

QString DB_Dll::ORACLE_Dicc(const QString& Valor) const
{
    return contiene(gConnString, QStringLiteral("ORACLE")) ? ado::oracle::Traducir(Valor) : Valor;
}
