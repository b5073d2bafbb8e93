#include "report/Datos.h"

#include "data/ado/Ado.h"
#include "suite/ErrorRT.h"
#include "suite/Reportes.h"
#include "suite/SuiteUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

namespace reporte {

int Filas::columna(const Campo& c) const
{
    for (int i = 0; i < campos.size(); ++i)
        if (campos[i] == c)
            return i;
    return -1;
}

QString ClaveGrupo(const QVariant& v) { return v.toString().trimmed().toCaseFolded(); }

namespace {

void agregar(QList<Campo>& campos, const Campo& c)
{
    if (!campos.contains(c))
        campos << c;
}

class Armador {
public:
    Armador(const Definicion& d, const ado::Motor& m, const NombreFisico& f) : d_(d), m_(m), f_(f) {}

    QString columna(const Campo& c) const { return m_.citar(c.tabla) + u'.' + m_.citar(c.campo); }
    QString tabla(const QString& nombre) const
    {
        const QString fisico = f_ ? f_(nombre) : nombre;
        if (fisico.compare(nombre, Qt::CaseInsensitive) == 0)
            return m_.citar(nombre);
        return m_.citar(fisico) + QStringLiteral(" AS ") + m_.citar(nombre);
    }
    QString lista(const QList<Campo>& campos) const
    {
        QStringList l;
        for (const Campo& c : campos)
            l << columna(c);
        return l.join(QStringLiteral(", "));
    }
    // FROM with the left joins, and the selection's WHERE.
    QString desde(const QString& donde) const
    {
        QString s = QStringLiteral(" FROM ") + tabla(d_.tabla);
        for (const Union& u : d_.uniones)
            s += QStringLiteral(" LEFT JOIN ") + tabla(u.campo.tabla) + QStringLiteral(" ON ") + columna(u.campo)
                + QStringLiteral(" = ") + columna(u.con);
        if (!donde.isEmpty())
            s += QStringLiteral(" WHERE ") + donde;
        return s;
    }

private:
    const Definicion& d_;
    const ado::Motor& m_;
    const NombreFisico& f_;
};

QList<Campo> camposPrincipales(const Definicion& d)
{
    QList<Campo> c;
    if (!d.grupo.tabla.isEmpty())
        agregar(c, d.grupo);
    for (const Campo& x : CamposDeTexto(d.rotulo))
        agregar(c, x);
    for (const Dato& x : d.datos)
        agregar(c, x.campo);
    for (const Columna& x : d.columnas)
        agregar(c, x.campo);
    return c;
}

QList<Campo> camposDetalle(const Detalle& x)
{
    QList<Campo> c{x.enlace};
    for (const Columna& col : x.columnas)
        agregar(c, col.campo);
    return c;
}

} // namespace

Consultas ArmarConsultas(const Definicion& d, const Nodo* seleccion, const ado::Motor& motor, const NombreFisico& fisico)
{
    Armador a(d, motor, fisico);
    const QStringList tablas = d.tablas();
    CondicionSql donde;
    if (seleccion) {
        donde = ComoSql(*seleccion, [&](const QString& tabla, const QString& campo) {
            if (!tablas.contains(tabla, Qt::CaseInsensitive))
                suite::Lanzar(ErrorEnFormula,
                              QStringLiteral("La fórmula de selección nombra el campo {%1.%2}, que no es de las tablas que lee el "
                                             "reporte %3 (%4).")
                                  .arg(tabla, campo, d.nombre, tablas.join(QStringLiteral(", "))),
                              QStringLiteral("Fórmula de selección"));
            return a.columna({tabla, campo});
        });
    }

    Consultas c;
    c.parametros = donde.parametros;
    QList<Campo> orden;
    if (!d.grupo.tabla.isEmpty())
        orden << d.grupo;
    for (const Campo& x : d.orden)
        agregar(orden, x);
    c.principal = QStringLiteral("SELECT ") + a.lista(camposPrincipales(d)) + a.desde(donde.sql);
    if (!orden.isEmpty())
        c.principal += QStringLiteral(" ORDER BY ") + a.lista(orden);

    for (const Detalle& x : d.detalles) {
        QList<Campo> ordenDetalle{x.enlace};
        for (const Campo& o : x.orden)
            agregar(ordenDetalle, o);
        c.detalles.push_back(QStringLiteral("SELECT ") + a.lista(camposDetalle(x)) + QStringLiteral(" FROM ") + a.tabla(x.tabla)
                             + QStringLiteral(" WHERE ") + a.columna(x.enlace) + QStringLiteral(" IN (SELECT ")
                             + a.columna(d.grupo) + a.desde(donde.sql) + QStringLiteral(") ORDER BY ") + a.lista(ordenDetalle));
    }
    return c;
}

namespace {

ado::Filas consultar(ado::Connection& cn, const QString& sql, const std::vector<QVariant>& parametros)
{
    if (cn.WillExecute)
        cn.WillExecute(sql);
    try {
        ado::Resultado r = cn.motor()->ejecutarSql(sql, parametros);
        return std::move(r.filas);
    } catch (const ado::FalloMotor& f) {
        const ado::ErrorMotor e = f.errores.empty() ? ado::ErrorMotor{-2147467259, QStringLiteral("Error del motor"), {}, 0}
                                                    : f.errores.front();
        for (const ado::ErrorMotor& x : f.errores)
            cn.Errors().Agregar(ado::Error{x.numero, x.descripcion, cn.motor()->origen(), x.sqlState, x.nativo});
        suite::Lanzar(e.numero, e.descripcion, cn.motor()->origen());
    }
}

// Consecutive rows with the same key.
std::vector<Rango> cortes(const ado::Filas& filas, int columna)
{
    std::vector<Rango> r;
    QString anterior;
    for (size_t i = 0; i < filas.size(); ++i) {
        const QString clave = columna < 0 ? QString() : ClaveGrupo(filas[i][size_t(columna)]);
        if (r.empty() || clave != anterior)
            r.push_back({i, i});
        r.back().fin = i + 1;
        anterior = clave;
    }
    return r;
}

// After a query of the report failed: the first field it names that its table does not
// have, as "the definition's file, line N" and the field; nullopt when all are there.
std::optional<QString> campoFaltante(ado::Connection& cn, const Definicion& d, const NombreFisico& fisico)
{
    QList<Campo> campos = camposPrincipales(d);
    campos << d.orden;
    for (const Union& u : d.uniones)
        campos << u.campo << u.con;
    for (const Detalle& x : d.detalles)
        campos << camposDetalle(x) << x.orden;
    QHash<QString, QSet<QString>> columnas; // by table, in upper case
    for (const Campo& c : campos) {
        const QString tabla = c.tabla.toUpper();
        if (!columnas.contains(tabla)) {
            QSet<QString> nombres;
            try {
                for (const QString& t : {c.tabla, fisico(c.tabla)})
                    for (const ado::ColumnaEsquema& col : cn.motor()->columnas(t))
                        nombres.insert(col.columna.toUpper());
            } catch (const std::exception&) {
            }
            columnas.insert(tabla, nombres);
        }
        const QSet<QString>& conocidas = columnas[tabla];
        if (conocidas.isEmpty() || conocidas.contains(c.campo.toUpper()))
            continue; // a table whose columns cannot be listed is not blamed
        const QString ruta = QFileInfo(suite::CarpetaConBarra(suite::CarpetaReportesActual()) + d.nombre + QStringLiteral(".rpt"))
                                 .absoluteFilePath();
        QString donde = QDir::toNativeSeparators(ruta);
        QFile f(ruta);
        if (f.open(QIODevice::ReadOnly)) {
            const QStringList lineas = QString::fromUtf8(f.readAll()).split(u'\n');
            for (const QString& buscado : {c.tabla + u'.' + c.campo, c.campo}) {
                const auto it = std::find_if(lineas.begin(), lineas.end(),
                                             [&](const QString& l) { return l.contains(buscado, Qt::CaseInsensitive); });
                if (it != lineas.end()) {
                    donde += QStringLiteral(", línea %1").arg(it - lineas.begin() + 1);
                    break;
                }
            }
        }
        return QStringLiteral("El reporte %1 nombra la columna %2.%3, que la tabla %2 no tiene (%4).")
            .arg(d.nombre, c.tabla, c.campo, donde);
    }
    return std::nullopt;
}

} // namespace

DatosReporte LeerDatos(ado::Connection& cn, const Definicion& d, const Nodo* seleccion, const NombreFisico& fisico)
{
    if (!cn.motor())
        suite::Lanzar(3704, QStringLiteral("La conexión del reporte no está abierta."), QStringLiteral("Reportes"));
    const Consultas c = ArmarConsultas(d, seleccion, *cn.motor(), fisico);
    DatosReporte r;
    r.principal.campos = camposPrincipales(d);
    // A query that fails for a column the definition names wrongly says which and where; the
    // server's own words follow.
    const auto consultarDefinicion = [&](const QString& sql) {
        try {
            return consultar(cn, sql, c.parametros);
        } catch (const suite::ErrorEjecucion& e) {
            const auto faltante = campoFaltante(cn, d, fisico);
            if (!faltante)
                throw;
            suite::Lanzar(ErrorEnDefinicion, *faltante + QStringLiteral(" ") + e.error().Description, QStringLiteral("Reportes"));
        }
    };
    r.principal.filas = consultarDefinicion(c.principal);
    r.grupos = cortes(r.principal.filas, d.grupo.tabla.isEmpty() ? -1 : r.principal.columna(d.grupo));
    const int columnaGrupo = r.principal.columna(d.grupo);
    for (size_t k = 0; k < c.detalles.size(); ++k) {
        Filas det;
        det.campos = camposDetalle(d.detalles[int(k)]);
        det.filas = consultarDefinicion(c.detalles[k]);
        QHash<QString, Rango> porClave;
        for (const Rango& x : cortes(det.filas, 0))
            porClave.insert(ClaveGrupo(det.filas[x.inicio][0]), x);
        std::vector<Rango> rangos;
        for (const Rango& g : r.grupos)
            rangos.push_back(porClave.value(ClaveGrupo(r.principal.valor(g.inicio, columnaGrupo)), Rango{}));
        r.detalles.push_back(std::move(det));
        r.rangos.push_back(std::move(rangos));
    }
    return r;
}

} // namespace reporte
