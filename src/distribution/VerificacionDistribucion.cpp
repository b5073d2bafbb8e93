#include "distribution/VerificacionDistribucion.h"

#include "startup/CNStuffContable.h"
#include "suite/Moneda.h"
#include "suite/SuiteUtil.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

QString texto(ado::Field& f) { return suite::TextoVariant(suite::SinNulo(f.Value())); }

struct LineaLeida {
    int numero;       // 1 for the table's first row
    QString centro;   // as stored
    suite::Moneda porcentaje;
};

struct TablaLeida {
    QString codigo;
    QString nombre;
    bool pideConfirmacion = false;
    std::vector<LineaLeida> lineas;
};

// The findings of one table, in the order the check lists them.
void revisarTabla(const TablaLeida& t, const QSet<QString>& centros, std::vector<Hallazgo>& h)
{
    using V = VerificacionDistribucion;
    const auto agregar = [&](const QString& problema, const QString& detalle) { h.push_back({problema, t.codigo, t.nombre, detalle}); };
    suite::Moneda total;
    int conCentro = 0;
    QHash<QString, QList<int>> porCentro;
    QStringList ordenCentros;
    for (const LineaLeida& l : t.lineas) {
        const QString clave = l.centro.trimmed().toUpper();
        if (clave.isEmpty())
            continue;
        ++conCentro;
        total += l.porcentaje;
        if (!porCentro.contains(clave))
            ordenCentros << clave;
        porCentro[clave].append(l.numero);
    }
    if (conCentro == 0) {
        agregar(V::ProblemaSinLineas, t.lineas.size() == 1 ? QStringLiteral("Su única fila no tiene centro de costo")
                                                           : QStringLiteral("Ninguna de sus %1 filas tiene centro de costo").arg(t.lineas.size()));
        return;
    }
    if (t.pideConfirmacion && total != suite::Moneda::desdeEntero(100))
        agregar(V::ProblemaTotal, QStringLiteral("Suma %1 % y debe completar el 100 %").arg(FmtPorcentaje(total)));
    for (const LineaLeida& l : t.lineas) {
        const QString clave = l.centro.trimmed().toUpper();
        if (!clave.isEmpty() && !centros.contains(clave))
            agregar(V::ProblemaCentro, QStringLiteral("Línea %1: centro %2 (%3 %)").arg(l.numero).arg(l.centro.trimmed(), FmtPorcentaje(l.porcentaje)));
    }
    for (const QString& clave : ordenCentros) {
        const QList<int>& filas = porCentro[clave];
        if (filas.size() < 2)
            continue;
        QStringList numeros;
        for (int n : filas)
            numeros << QString::number(n);
        const QString ultima = numeros.takeLast();
        agregar(V::ProblemaRepetido, QStringLiteral("Centro %1 en las líneas %2 y %3").arg(clave, numeros.join(QStringLiteral(", ")), ultima));
    }
    for (const LineaLeida& l : t.lineas)
        if (!l.centro.trimmed().isEmpty() && (l.porcentaje < suite::Moneda() || l.porcentaje > suite::Moneda::desdeEntero(100)))
            agregar(V::ProblemaPorcentaje, QStringLiteral("Línea %1: centro %2, %3 %").arg(l.numero).arg(l.centro.trimmed(), FmtPorcentaje(l.porcentaje)));
}

} // namespace

VerificacionDistribucion::VerificacionDistribucion(DB_Dll& db)
    : db_(db)
{
}

QStringList VerificacionDistribucion::Encabezado()
{
    return {QStringLiteral("Problema"), QStringLiteral("Tabla"), QStringLiteral("Nombre"), QStringLiteral("Detalle")};
}

QString VerificacionDistribucion::SentenciaLineas()
{
    return QStringLiteral("SELECT CODIGO,NOMBRE,PIDECONFIRMACION,CCOSTO,PORCENTAJE FROM MA_CUENTAS_CCDIST ORDER BY CODIGO,ID");
}

QString VerificacionDistribucion::SentenciaCentros() { return QStringLiteral("SELECT CODIGO FROM TA_CCOSTO"); }

QString VerificacionDistribucion::SentenciaCuentas()
{
    return QStringLiteral("SELECT CODIGO,DESCRIPCION,CC_DIST FROM MA_CUENTAS WHERE CC_DIST IS NOT NULL AND CC_DIST NOT IN "
                          "(SELECT CODIGO FROM MA_CUENTAS_CCDIST) ORDER BY CC_DIST,CODIGO");
}

bool VerificacionDistribucion::Verificar(std::vector<Hallazgo>& hallazgos)
{
    hallazgos.clear();
    bool completa = true;
    const auto abrir = [&](const QString& sentencia, ado::Recordset& rs) {
        QString s = sentencia;
        db_.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
        if (rs.State() != ado::adStateOpen)
            completa = false;
        return rs.State() == ado::adStateOpen;
    };

    QSet<QString> centros;
    ado::Recordset rc;
    if (abrir(SentenciaCentros(), rc)) {
        ado::Field codigo = rc.Fields(0);
        for (; !rc.EOF_(); rc.MoveNext())
            centros.insert(texto(codigo).trimmed().toUpper());
        db_.CierraRecordset(&rc);
    }

    std::vector<TablaLeida> tablas;
    ado::Recordset rl;
    if (abrir(SentenciaLineas(), rl)) {
        ado::Field codigo = rl.Fields(0), nombre = rl.Fields(1), pide = rl.Fields(2), centro = rl.Fields(3), porcentaje = rl.Fields(4);
        QString anterior;
        for (; !rl.EOF_(); rl.MoveNext()) {
            const QString c = texto(codigo);
            if (tablas.empty() || c != anterior) {
                const QString p = texto(pide).trimmed();
                tablas.push_back({c.trimmed(), texto(nombre), !p.isEmpty() && suite::ValorNumerico(p) != suite::Moneda(), {}});
                anterior = c;
            }
            TablaLeida& t = tablas.back();
            t.lineas.push_back({int(t.lineas.size()) + 1, texto(centro), suite::ValorNumerico(texto(porcentaje))});
        }
        db_.CierraRecordset(&rl);
    }
    if (completa)
        for (const TablaLeida& t : tablas)
            revisarTabla(t, centros, hallazgos);
    else
        tablas.clear(); // without the centres, every line would look orphaned

    ado::Recordset ra;
    if (abrir(SentenciaCuentas(), ra)) {
        ado::Field cuenta = ra.Fields(0), descripcion = ra.Fields(1), tabla = ra.Fields(2);
        for (; !ra.EOF_(); ra.MoveNext()) {
            const QString t = texto(tabla).trimmed();
            if (!t.isEmpty())
                hallazgos.push_back({ProblemaCuenta, t, QString(),
                                     QStringLiteral("Cuenta %1 %2").arg(texto(cuenta).trimmed(), texto(descripcion).trimmed())});
        }
        db_.CierraRecordset(&ra);
    }
    // By table code (numbers by their value), the table's own findings first.
    const auto clave = [](const QString& codigo) {
        bool numero = false;
        const qlonglong n = codigo.toLongLong(&numero);
        return std::make_pair(numero ? n : std::numeric_limits<qlonglong>::max(), codigo.toUpper());
    };
    std::stable_sort(hallazgos.begin(), hallazgos.end(), [&](const Hallazgo& a, const Hallazgo& b) { return clave(a.tabla) < clave(b.tabla); });
    return completa;
}
