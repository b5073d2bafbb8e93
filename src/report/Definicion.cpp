#include "report/Definicion.h"

#include "suite/ErrorRT.h"
#include "suite/Reportes.h"
#include "suite/SuiteUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace reporte {

QStringList Definicion::tablas() const
{
    QStringList t{tabla};
    for (const Union& u : uniones)
        t << u.campo.tabla;
    return t;
}

QList<Campo> CamposDeTexto(const QString& texto)
{
    static const QRegularExpression re(QStringLiteral(R"(\{\s*([A-Za-z_][A-Za-z0-9_]*)\s*\.\s*([A-Za-z_][A-Za-z0-9_]*)\s*\})"));
    QList<Campo> r;
    for (auto it = re.globalMatch(texto); it.hasNext();) {
        const auto m = it.next();
        r << Campo{m.captured(1), m.captured(2)};
    }
    return r;
}

namespace {

class Lector {
public:
    Lector(const QString& origen) : origen_(origen) {}

    [[noreturn]] void fallar(const QString& motivo) const
    {
        suite::Lanzar(ErrorEnDefinicion,
                      QStringLiteral("La definición de reporte %1 no es válida, línea %2: %3").arg(origen_).arg(linea_).arg(motivo),
                      QStringLiteral("Reportes"));
    }

    void fijarLinea(int n) { linea_ = n; }

    Campo campo(const QString& texto) const
    {
        static const QRegularExpression re(QStringLiteral(R"(^\{\s*([A-Za-z_][A-Za-z0-9_]*)\s*\.\s*([A-Za-z_][A-Za-z0-9_]*)\s*\}$)"));
        const auto m = re.match(texto.trimmed());
        if (!m.hasMatch())
            fallar(QStringLiteral("se esperaba un campo {TABLA.CAMPO} y se encontró «%1»").arg(texto.trimmed()));
        return {m.captured(1), m.captured(2)};
    }

    QList<Campo> campos(const QString& texto) const
    {
        QList<Campo> r;
        for (const QString& p : texto.split(u',', Qt::SkipEmptyParts))
            r << campo(p);
        return r;
    }

    QString tabla(const QString& texto) const
    {
        static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!re.match(texto.trimmed()).hasMatch())
            fallar(QStringLiteral("«%1» no es un nombre de tabla").arg(texto.trimmed()));
        return texto.trimmed();
    }

    QStringList celdas(const QString& texto, int minimo, int maximo) const
    {
        QStringList c = texto.split(u'|');
        for (QString& s : c)
            s = s.trimmed();
        if (c.size() < minimo || c.size() > maximo)
            fallar(QStringLiteral("se esperaban entre %1 y %2 partes separadas por «|»").arg(minimo).arg(maximo));
        return c;
    }

    Formato formato(const QString& texto) const
    {
        const QString f = texto.trimmed().toLower();
        if (f.isEmpty() || f == QLatin1String("texto"))
            return Formato::Texto;
        if (f == QLatin1String("moneda"))
            return Formato::Moneda;
        if (f == QLatin1String("porcentaje"))
            return Formato::Porcentaje;
        if (f == QLatin1String("sino"))
            return Formato::SiNo;
        fallar(QStringLiteral("formato desconocido «%1» (se admiten texto, moneda, porcentaje y sino)").arg(texto.trimmed()));
    }

    Columna columna(const QString& texto) const
    {
        const QStringList c = celdas(texto, 3, 4);
        bool ok = false;
        const double ancho = QString(c[2]).remove(u'%').trimmed().toDouble(&ok);
        if (!ok || ancho <= 0 || ancho > 100)
            fallar(QStringLiteral("el ancho «%1» debe ser un porcentaje entre 1 y 100").arg(c[2]));
        return {c[0], campo(c[1]), ancho, c.size() > 3 ? formato(c[3]) : Formato::Texto};
    }

    // "{T.C} = {T2.C2}"
    std::pair<Campo, Campo> igualdad(const QString& texto) const
    {
        const qsizetype igual = texto.indexOf(u'=');
        if (igual < 0)
            fallar(QStringLiteral("se esperaba {TABLA.CAMPO} = {TABLA.CAMPO}"));
        return {campo(texto.left(igual)), campo(texto.mid(igual + 1))};
    }

private:
    QString origen_;
    int linea_ = 0;
};

using Clave = std::function<bool(const char* seccion, const char* clave)>;

// [reporte], [encabezado] and [datos]; false for a key of another section.
bool claveDeCabecera(Definicion& d, const Lector& l, const Clave& es, const QString& valor)
{
    if (es("reporte", "papel")) {
        static const QStringList papeles{"A4", "Carta", "Oficio"};
        const auto p = std::find_if(papeles.begin(), papeles.end(),
                                    [&](const QString& x) { return x.compare(valor, Qt::CaseInsensitive) == 0; });
        if (p == papeles.end())
            l.fallar(QStringLiteral("papel desconocido «%1» (se admiten A4, Carta y Oficio)").arg(valor));
        d.papel = *p;
    } else if (es("reporte", "orientacion")) {
        if (valor.compare(QLatin1String("horizontal"), Qt::CaseInsensitive) != 0
            && valor.compare(QLatin1String("vertical"), Qt::CaseInsensitive) != 0)
            l.fallar(QStringLiteral("la orientación es vertical u horizontal"));
        d.horizontal = valor.compare(QLatin1String("horizontal"), Qt::CaseInsensitive) == 0;
    } else if (es("encabezado", "empresa")) {
        d.empresa = valor;
    } else if (es("encabezado", "linea")) {
        d.lineas << valor;
    } else if (es("encabezado", "titulo")) {
        d.titulo = valor;
    } else if (es("datos", "tabla")) {
        d.tabla = l.tabla(valor);
    } else if (es("datos", "unir")) {
        const auto [campo, con] = l.igualdad(valor);
        d.uniones << Union{campo, con};
    } else if (es("datos", "orden")) {
        d.orden = l.campos(valor);
    } else {
        return false;
    }
    return true;
}

// [grupo], [columnas], [detalle] and [pie]; false for a key of another section.
bool claveDeCuerpo(Definicion& d, const Lector& l, const Clave& es, const QString& valor)
{
    if (es("grupo", "campo")) {
        d.grupo = l.campo(valor);
    } else if (es("grupo", "rotulo")) {
        d.rotulo = valor;
    } else if (es("grupo", "dato")) {
        const QStringList c = l.celdas(valor, 2, 3);
        d.datos << Dato{c[0], l.campo(c[1]), c.size() > 2 ? l.formato(c[2]) : Formato::Texto};
    } else if (es("columnas", "columna")) {
        d.columnas << l.columna(valor);
    } else if (es("columnas", "total")) {
        const QStringList c = l.celdas(valor, 2, 3);
        d.totales << Total{c[0], l.campo(c[1]), c.value(2)};
    } else if (es("detalle", "titulo")) {
        d.detalles.back().titulo = valor;
    } else if (es("detalle", "tabla")) {
        d.detalles.back().tabla = l.tabla(valor);
    } else if (es("detalle", "enlace")) {
        const auto [campo, con] = l.igualdad(valor);
        if (!(con == d.grupo))
            l.fallar(QStringLiteral("el enlace debe igualar un campo del detalle con el campo del grupo %1").arg(d.grupo.texto()));
        d.detalles.back().enlace = campo;
    } else if (es("detalle", "orden")) {
        d.detalles.back().orden = l.campos(valor);
    } else if (es("detalle", "columna")) {
        d.detalles.back().columnas << l.columna(valor);
    } else if (es("detalle", "vacio")) {
        d.detalles.back().vacio = valor;
    } else if (es("pie", "firma")) {
        d.firmas << valor;
    } else {
        return false;
    }
    return true;
}

// What every report needs, checked once the whole file is read: its table and columns, and
// fields only of the tables [datos] reads.
void comprobarDatos(const Definicion& d, const Lector& l)
{
    if (d.tabla.isEmpty())
        l.fallar(QStringLiteral("falta la tabla de [datos]"));
    if (d.columnas.isEmpty())
        l.fallar(QStringLiteral("falta al menos una columna en [columnas]"));
    const QStringList tablas = d.tablas();
    auto conocida = [&](const Campo& c) {
        if (!tablas.contains(c.tabla, Qt::CaseInsensitive))
            l.fallar(QStringLiteral("el campo %1 es de una tabla que [datos] no lee").arg(c.texto()));
    };
    for (const Union& u : d.uniones)
        conocida(u.con);
    for (const Campo& c : d.orden)
        conocida(c);
    if (!d.grupo.tabla.isEmpty())
        conocida(d.grupo);
    for (const Campo& c : CamposDeTexto(d.rotulo))
        conocida(c);
    for (const Dato& x : d.datos)
        conocida(x.campo);
    for (const Columna& c : d.columnas)
        conocida(c.campo);
    for (const Total& t : d.totales) {
        if (std::none_of(d.columnas.begin(), d.columnas.end(), [&](const Columna& c) { return c.campo == t.campo; }))
            l.fallar(QStringLiteral("el total de %1 debe ir bajo una de las columnas").arg(t.campo.texto()));
    }
}

// Each [detalle]: under a group, with its table, link and columns, every field its own table's.
void comprobarDetalles(const Definicion& d, const Lector& l)
{
    for (const Detalle& x : d.detalles) {
        if (d.grupo.tabla.isEmpty())
            l.fallar(QStringLiteral("un [detalle] necesita el campo de [grupo]"));
        if (x.tabla.isEmpty() || x.enlace.tabla.isEmpty() || x.columnas.isEmpty())
            l.fallar(QStringLiteral("cada [detalle] necesita tabla, enlace y columnas"));
        auto propio = [&](const Campo& c) {
            if (c.tabla.compare(x.tabla, Qt::CaseInsensitive) != 0)
                l.fallar(QStringLiteral("el campo %1 no es de la tabla del detalle %2").arg(c.texto(), x.tabla));
        };
        propio(x.enlace);
        for (const Campo& c : x.orden)
            propio(c);
        for (const Columna& c : x.columnas)
            propio(c.campo);
    }
}

// A section's heading "[nombre]": the section, a new [detalle] started.
QString abrirSeccion(Definicion& d, const Lector& l, const QString& linea)
{
    if (!linea.endsWith(u']'))
        l.fallar(QStringLiteral("falta «]» en el nombre de la sección"));
    const QString seccion = linea.mid(1, linea.size() - 2).trimmed().toLower();
    static const QStringList conocidas{"reporte", "encabezado", "datos", "grupo", "columnas", "detalle", "pie"};
    if (!conocidas.contains(seccion))
        l.fallar(QStringLiteral("sección desconocida [%1]").arg(seccion));
    if (seccion == QLatin1String("detalle"))
        d.detalles.append(Detalle{});
    return seccion;
}

} // namespace

Definicion LeerDefinicion(const QString& texto, const QString& origen)
{
    Definicion d;
    d.nombre = origen;
    Lector l(origen);
    QString seccion;
    const QStringList lineas = texto.split(u'\n');
    for (int i = 0; i < lineas.size(); ++i) {
        l.fijarLinea(i + 1);
        const QString linea = lineas[i].trimmed();
        if (linea.isEmpty() || linea.startsWith(u';'))
            continue;
        if (linea.startsWith(u'[')) {
            seccion = abrirSeccion(d, l, linea);
            continue;
        }
        const qsizetype igual = linea.indexOf(u'=');
        if (seccion.isEmpty())
            l.fallar(QStringLiteral("la línea está fuera de toda sección"));
        if (igual < 0)
            l.fallar(QStringLiteral("se esperaba «clave = valor»"));
        const QString clave = linea.left(igual).trimmed().toLower();
        const QString valor = linea.mid(igual + 1).trimmed();
        const Clave es = [&](const char* s, const char* c) { return seccion == QLatin1String(s) && clave == QLatin1String(c); };
        if (!claveDeCabecera(d, l, es, valor) && !claveDeCuerpo(d, l, es, valor))
            l.fallar(QStringLiteral("clave desconocida «%1» en [%2]").arg(clave, seccion));
    }

    l.fijarLinea(lineas.size());
    comprobarDatos(d, l);
    comprobarDetalles(d, l);
    return d;
}

Definicion CargarDefinicion(const QString& nombre)
{
    const QString limpio = nombre.trimmed();
    static const QRegularExpression simple(QStringLiteral("^[A-Za-z0-9_ -]+$"));
    const QString ruta = suite::CarpetaConBarra(suite::CarpetaReportesActual()) + limpio + QStringLiteral(".rpt");
    if (!simple.match(limpio).hasMatch())
        suite::Lanzar(ErrorEnDefinicion, QStringLiteral("«%1» no es un nombre de reporte.").arg(nombre), QStringLiteral("Reportes"));
    QFile f(ruta);
    if (!QFileInfo(ruta).isFile() || !f.open(QIODevice::ReadOnly))
        suite::Lanzar(ErrorEnDefinicion,
                      QStringLiteral("No se encuentra la definición del reporte %1 (%2).").arg(limpio, QFileInfo(ruta).absoluteFilePath()),
                      QStringLiteral("Reportes"));
    return LeerDefinicion(QString::fromUtf8(f.readAll()), limpio);
}

} // namespace reporte
