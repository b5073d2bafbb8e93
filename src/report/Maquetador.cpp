#include "report/Maquetador.h"

#include "startup/CNStuffContable.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace reporte {

QMap<QString, QString> LeerFormulasEncabezado(const QStringList& formulas)
{
    QMap<QString, QString> r;
    for (const QString& f : formulas) {
        const qsizetype igual = f.indexOf(u'=');
        if (igual <= 0)
            continue;
        const QString nombre = f.left(igual).trimmed().toLower();
        const QString resto = f.mid(igual + 1);
        const qsizetype abre = std::min(resto.indexOf(u'\'') < 0 ? resto.size() : resto.indexOf(u'\''),
                                        resto.indexOf(u'"') < 0 ? resto.size() : resto.indexOf(u'"'));
        QString valor;
        if (abre < resto.size() && resto.left(abre).trimmed().isEmpty()) {
            const QChar comilla = resto[abre];
            const qsizetype cierra = resto.lastIndexOf(comilla);
            valor = cierra > abre ? resto.mid(abre + 1, cierra - abre - 1) : resto.mid(abre + 1);
        } else {
            valor = resto.trimmed();
        }
        if (!nombre.isEmpty())
            r.insert(nombre, valor);
    }
    return r;
}

QString TextoValor(const QVariant& v, Formato formato)
{
    switch (formato) {
    case Formato::Texto: return suite::TextoVariant(v).trimmed();
    case Formato::Moneda: return FmtMoneda(suite::TextoVariant(v), -1);
    case Formato::Porcentaje: return FmtPorcentaje(suite::ValorNumerico(suite::TextoVariant(v)));
    case Formato::SiNo: {
        const QString t = suite::TextoVariant(v).trimmed();
        return t.isEmpty() || suite::ValorNumerico(t) == suite::Moneda() ? QStringLiteral("No") : QStringLiteral("Sí");
    }
    }
    return {};
}

QString Sustituir(const QString& plantilla, const QMap<QString, QString>& formulas, const Filas* filas, size_t fila)
{
    static const QRegularExpression re(QStringLiteral(R"(\{\s*(@[A-Za-z0-9_]+|[A-Za-z_][A-Za-z0-9_]*\s*\.\s*[A-Za-z_][A-Za-z0-9_]*)\s*\})"));
    QString r;
    qsizetype desde = 0;
    for (auto it = re.globalMatch(plantilla); it.hasNext();) {
        const auto m = it.next();
        r += plantilla.mid(desde, m.capturedStart() - desde);
        const QString ref = m.captured(1);
        if (ref.startsWith(u'@')) {
            r += formulas.value(ref.mid(1).toLower());
        } else if (filas) {
            const qsizetype punto = ref.indexOf(u'.');
            const int col = filas->columna({ref.left(punto).trimmed(), ref.mid(punto + 1).trimmed()});
            if (col >= 0)
                r += TextoValor(filas->valor(fila, col), Formato::Texto);
        }
        desde = m.capturedEnd();
    }
    r += plantilla.mid(desde);
    return r;
}

// ---- Layout ---------------------------------------------------------------------------

namespace {

enum Fuente { Cuerpo, Negrita, Empresa, Titulo, Banda, Cabecera, Chica, Cursiva, CantidadFuentes };

const QColor Tinta(25, 25, 25);
const QColor Gris(95, 95, 95);
const QColor FondoBanda(230, 234, 238);
const QColor FondoCabecera(243, 243, 243);
const QColor Separador(215, 215, 215);

enum class Alinear { Izquierda, Derecha, Centro };

// A count with the thousands grouped ("10.003").
QString cantidad(size_t n)
{
    bool miles = true;
    short ancho = 0;
    return FmtMoneda(QString::number(n), -2, miles, ancho);
}

} // namespace

class Maquetador {
public:
    Maquetador(const Definicion& d, const DatosReporte& datos, const Contexto& ctx, const QPaintDevice& dev, const QRectF& area)
        : d_(d), datos_(datos), ctx_(ctx), dev_(dev), area_(area), dpi_(dev.logicalDpiY())
    {
        const QString familia = QStringLiteral("DejaVu Sans");
        auto fuente = [&](double puntos, bool negrita = false, bool cursiva = false) {
            QFont f(familia);
            f.setPointSizeF(puntos);
            f.setBold(negrita);
            f.setItalic(cursiva);
            f.setKerning(false);
            return f;
        };
        doc_.fuentes_ = {fuente(9), fuente(9, true), fuente(13, true), fuente(14, true), fuente(10, true),
                         fuente(8, true), fuente(7.5), fuente(9, false, true)};
        for (const QFont& f : doc_.fuentes_)
            metricas_.emplace_back(f, &dev);
        ancho_ = area_.width();
    }

    Documento hacer()
    {
        nuevaPagina();
        if (datos_.grupos.empty()) {
            y_ += mm(10);
            texto(ancho_ / 2, y_ + asc(Cursiva), QStringLiteral("No hay registros que cumplan la selección."), Cursiva, Gris,
                  Alinear::Centro);
            y_ += alto(Cursiva);
        }
        for (size_t g = 0; g < datos_.grupos.size(); ++g)
            grupo(g);
        if (!datos_.grupos.empty())
            firmas();
        pies();
        return std::move(doc_);
    }

private:
    double mm(double x) const { return x * dpi_ / 25.4; }
    double pt(double x) const { return x * dpi_ / 72.0; }
    double asc(int f) const { return metricas_[size_t(f)].ascent(); }
    double alto(int f) const { return metricas_[size_t(f)].height(); }
    double avance(int f, const QString& t) const { return metricas_[size_t(f)].horizontalAdvance(t); }
    double abajo() const { return area_.height() - mm(11); }
    double fila() const { return alto(Cuerpo) + mm(1.7); }
    // Detail lists are long: closer rows, a rule every five to guide the eye.
    double filaDetalle() const { return alto(Cuerpo) + mm(0.9); }

    std::vector<Documento::Elemento>& pagina() { return doc_.paginas_.back(); }

    // A text on one line; `x` is its left edge, right edge or centre as aligned; `ancho`
    // above zero cuts it with "…" to fit.
    void texto(double x, double base, QString t, int f, const QColor& color, Alinear a = Alinear::Izquierda, double ancho = 0)
    {
        if (t.isEmpty())
            return;
        double w = avance(f, t);
        if (ancho > 0 && w > ancho) {
            t = metricas_[size_t(f)].elidedText(t, Qt::ElideRight, ancho);
            w = avance(f, t);
        }
        if (a == Alinear::Derecha)
            x -= w;
        else if (a == Alinear::Centro)
            x -= w / 2;
        Documento::Elemento e{Documento::Elemento::Tipo::Texto, {x, base}, {}, {}, std::move(t), f, 0, color};
        pagina().push_back(std::move(e));
    }
    void linea(double x1, double y1, double x2, double y2, double grosorPt, const QColor& color = Tinta)
    {
        pagina().push_back({Documento::Elemento::Tipo::Linea, {}, QLineF(x1, y1, x2, y2), {}, {}, 0, pt(grosorPt), color});
    }
    void relleno(const QRectF& r, const QColor& color)
    {
        pagina().push_back({Documento::Elemento::Tipo::Relleno, {}, {}, r, {}, 0, 0, color});
    }

    // The heading every page carries.
    void nuevaPagina()
    {
        doc_.paginas_.emplace_back();
        const suite::Regional& reg = suite::RegionalActual();
        double base = asc(Empresa);
        texto(0, base, Sustituir(d_.empresa, ctx_.formulas), Empresa, Tinta, Alinear::Izquierda, ancho_ * 0.68);
        // The year in full on a document that is signed and filed.
        QString fecha = reg.fechaCorta;
        if (!fecha.contains(QLatin1String("yyyy")))
            fecha.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        const QStringList derecha{QStringLiteral("Fecha: ") + ctx_.emision.date().toString(fecha),
                                  QStringLiteral("Hora: ") + ctx_.emision.time().toString(QStringLiteral("HH:mm"))};
        texto(ancho_, base, derecha[0], Cuerpo, Gris, Alinear::Derecha);
        base += alto(Empresa) - asc(Empresa) + mm(1);
        for (int i = 0; i < d_.lineas.size(); ++i) {
            base += asc(Cuerpo);
            texto(0, base, Sustituir(d_.lineas[i], ctx_.formulas), Cuerpo, Tinta, Alinear::Izquierda, ancho_ * 0.68);
            if (i == 0)
                texto(ancho_, base, derecha[1], Cuerpo, Gris, Alinear::Derecha);
            base += alto(Cuerpo) - asc(Cuerpo) + mm(0.6);
        }
        const QString titulo = Sustituir(d_.titulo, ctx_.formulas).trimmed();
        base += mm(5) + asc(Titulo);
        texto(ancho_ / 2, base, titulo, Titulo, Tinta, Alinear::Centro, ancho_);
        double y = base + alto(Titulo) - asc(Titulo) + mm(2.5);
        linea(0, y, ancho_, y, 1.2);
        linea(0, y + pt(2.2), ancho_, y + pt(2.2), 0.4);
        y_ = y + mm(6);
        arriba_ = y_;
    }

    // Footers, once the number of pages is known.
    void pies()
    {
        const int n = int(doc_.paginas_.size());
        const double y = area_.height() - mm(7);
        for (int i = 0; i < n; ++i) {
            auto& p = doc_.paginas_[size_t(i)];
            p.push_back({Documento::Elemento::Tipo::Linea, {}, QLineF(0, y, ancho_, y), {}, {}, 0, pt(0.4), Gris});
            const double base = y + mm(1.5) + asc(Chica);
            p.push_back({Documento::Elemento::Tipo::Texto, {0, base}, {}, {}, ctx_.pie, Chica, 0, Gris});
            const QString pagina = QStringLiteral("Página %1 de %2").arg(i + 1).arg(n);
            p.push_back({Documento::Elemento::Tipo::Texto, {ancho_ - avance(Chica, pagina), base}, {}, {}, pagina, Chica, 0, Gris});
        }
    }

    // A new page when h does not fit below; true when one was started.
    bool espacio(double h)
    {
        if (y_ + h <= abajo() || y_ <= arriba_)
            return false;
        nuevaPagina();
        return true;
    }

    void banda(size_t g, bool continuacion)
    {
        const double h = alto(Banda) + mm(3);
        relleno(QRectF(0, y_, ancho_, h), FondoBanda);
        linea(0, y_, 0, y_ + h, 2.5, QColor(70, 90, 110));
        QString t = Sustituir(d_.rotulo, ctx_.formulas, &datos_.principal, datos_.grupos[g].inicio);
        if (continuacion)
            t += QStringLiteral(" (continuación)");
        texto(mm(3), y_ + (h - alto(Banda)) / 2 + asc(Banda), t, Banda, Tinta, Alinear::Izquierda, ancho_ - mm(5));
        y_ += h + mm(2.5);
    }

    struct Celdas {
        std::vector<double> x;      // left edges, and the right edge last
        std::vector<Formato> formatos;
    };
    Celdas celdas(const QList<Columna>& columnas) const
    {
        Celdas c;
        const double suma = std::accumulate(columnas.begin(), columnas.end(), 0.0, [](double s, const Columna& x) { return s + x.ancho; });
        double x = 0;
        for (const Columna& col : columnas) {
            c.x.push_back(x);
            c.formatos.push_back(col.formato);
            x += ancho_ * col.ancho / suma;
        }
        c.x.push_back(ancho_);
        return c;
    }
    static bool numerico(Formato f) { return f == Formato::Moneda || f == Formato::Porcentaje; }
    double margen(Formato f) const { return numerico(f) ? mm(7) : mm(1.8); }

    // One cell's text inside its column.
    void celda(const Celdas& c, size_t i, double base, const QString& t, int fuente, const QColor& color = Tinta)
    {
        const double pad = margen(c.formatos[i]);
        const double ancho = c.x[i + 1] - c.x[i] - pad - mm(1.8);
        if (numerico(c.formatos[i]))
            texto(c.x[i + 1] - pad, base, t, fuente, color, Alinear::Derecha, ancho);
        else
            texto(c.x[i] + pad, base, t, fuente, color, Alinear::Izquierda, ancho);
    }

    void cabecera(const QList<Columna>& columnas, const Celdas& c)
    {
        const double h = alto(Cabecera) + mm(2.4);
        relleno(QRectF(0, y_, ancho_, h), FondoCabecera);
        linea(0, y_, ancho_, y_, 0.6);
        linea(0, y_ + h, ancho_, y_ + h, 0.6);
        const double base = y_ + (h - alto(Cabecera)) / 2 + asc(Cabecera);
        for (int i = 0; i < columnas.size(); ++i)
            celda(c, size_t(i), base, columnas[i].titulo, Cabecera);
        y_ += h;
    }

    // The rows of a table with its column titles; on a page break the group's band and the
    // titles come again. `antes` is painted before the titles on every page.
    void tabla(size_t g, const QList<Columna>& columnas, const Filas& filas, Rango rango,
               const std::function<void(bool continuacion)>& antes, bool compacta = false)
    {
        const Celdas c = celdas(columnas);
        std::vector<int> cols;
        for (const Columna& col : columnas)
            cols.push_back(filas.columna(col.campo));
        const double h = compacta ? filaDetalle() : fila();
        auto titulos = [&] {
            cabecera(columnas, c);
            if (compacta)
                y_ += mm(0.6);
        };
        antes(false);
        titulos();
        for (size_t f = rango.inicio; f < rango.fin; ++f) {
            if (espacio(h)) {
                banda(g, true);
                antes(true);
                titulos();
            }
            const double base = y_ + (h - alto(Cuerpo)) / 2 + asc(Cuerpo);
            for (size_t i = 0; i < cols.size(); ++i)
                if (cols[i] >= 0)
                    celda(c, i, base, TextoValor(filas.valor(f, cols[i]), c.formatos[i]), Cuerpo);
            y_ += h;
            if (f + 1 < rango.fin && (!compacta || (f - rango.inicio) % 5 == 4))
                linea(0, y_, ancho_, y_, 0.3, Separador);
        }
    }

    void totales(size_t g, const Celdas& c)
    {
        if (d_.totales.isEmpty())
            return;
        const Rango r = datos_.grupos[g];
        const double h = fila() + mm(1);
        if (espacio(h * d_.totales.size() + mm(2))) {
            banda(g, true);
            cabecera(d_.columnas, c);
        }
        linea(0, y_, ancho_, y_, 0.9);
        for (const Total& t : d_.totales) {
            const int col = datos_.principal.columna(t.campo);
            size_t i = 0;
            while (!(d_.columnas[int(i)].campo == t.campo))
                ++i;
            suite::Moneda suma;
            for (size_t f = r.inicio; f < r.fin; ++f)
                suma += suite::ValorNumerico(suite::TextoVariant(datos_.principal.valor(f, col)));
            const double base = y_ + (h - alto(Negrita)) / 2 + asc(Negrita);
            texto(c.x[0] + margen(c.formatos[0]), base, t.rotulo, Negrita, Tinta);
            const QString valor = c.formatos[i] == Formato::Porcentaje ? FmtPorcentaje(suma)
                                                                      : FmtMoneda(suma.texto(suite::RegionalActual().decimal), -1);
            celda(c, i, base, valor, Negrita);
            if (!t.sufijo.isEmpty())
                texto(c.x[i + 1] - margen(c.formatos[i]) + mm(1), base, t.sufijo, Negrita, Tinta);
            // The accountant's double rule under the sum.
            const double x1 = c.x[i] + mm(2), x2 = c.x[i + 1];
            linea(x1, y_ + h, x2, y_ + h, 0.6);
            linea(x1, y_ + h + pt(2), x2, y_ + h + pt(2), 0.6);
            y_ += h + pt(2);
        }
    }

    void datosDelGrupo(size_t g)
    {
        if (d_.datos.isEmpty())
            return;
        double rotulo = 0;
        for (const Dato& x : d_.datos)
            rotulo = std::max(rotulo, avance(Negrita, x.rotulo + u':'));
        const double h = alto(Cuerpo) + mm(1.2);
        for (const Dato& x : d_.datos) {
            const int col = datos_.principal.columna(x.campo);
            const double base = y_ + asc(Cuerpo);
            texto(mm(3), base, x.rotulo + u':', Negrita, Gris);
            texto(mm(3) + rotulo + mm(3), base, TextoValor(datos_.principal.valor(datos_.grupos[g].inicio, col), x.formato), Cuerpo,
                  Tinta, Alinear::Izquierda, ancho_ - rotulo - mm(8));
            y_ += h;
        }
        y_ += mm(2.5);
    }

    void grupo(size_t g)
    {
        const Rango r = datos_.grupos[g];
        const double minimo = alto(Banda) + mm(5.5) + d_.datos.size() * (alto(Cuerpo) + mm(1.2)) + mm(2.5) + alto(Cabecera)
            + mm(2.4) + fila() * double(std::min<size_t>(r.size(), 3));
        espacio(minimo);
        banda(g, false);
        datosDelGrupo(g);
        tabla(g, d_.columnas, datos_.principal, r, [](bool) {});
        totales(g, celdas(d_.columnas));

        for (size_t k = 0; k < datos_.detalles.size(); ++k) {
            const Detalle& det = d_.detalles[int(k)];
            const Rango rd = datos_.rangos[k][g];
            y_ += mm(6);
            const double subtitulo = alto(Negrita) + mm(2);
            if (espacio(subtitulo + alto(Cabecera) + mm(2.4) + fila() * 2))
                banda(g, true);
            auto titulo = [&](bool continuacion) {
                QString t = det.titulo;
                if (rd.size() > 0)
                    t += QStringLiteral(" (%1)").arg(cantidad(rd.size()));
                if (continuacion)
                    t += QStringLiteral(", continuación");
                texto(0, y_ + asc(Negrita), t, Negrita, Tinta);
                y_ += subtitulo;
            };
            if (rd.size() == 0) {
                titulo(false);
                texto(mm(1.8), y_ + asc(Cursiva), det.vacio, Cursiva, Gris);
                y_ += alto(Cursiva);
                continue;
            }
            tabla(g, det.columnas, datos_.detalles[k], rd, titulo, true);
            linea(0, y_, ancho_, y_, 0.6);
        }
        y_ += mm(10);
    }

    void firmas()
    {
        if (d_.firmas.isEmpty())
            return;
        const double h = mm(32);
        if (y_ + h > abajo())
            nuevaPagina();
        const double y = std::max(y_ + mm(18), abajo() - mm(12));
        const double paso = ancho_ / d_.firmas.size();
        const double largo = std::min(mm(50), paso - mm(10));
        for (int i = 0; i < d_.firmas.size(); ++i) {
            const double centro = paso * (i + 0.5);
            linea(centro - largo / 2, y, centro + largo / 2, y, 0.6);
            texto(centro, y + mm(1.5) + asc(Cuerpo), d_.firmas[i], Cuerpo, Gris, Alinear::Centro);
        }
        y_ = y + mm(8);
    }

    const Definicion& d_;
    const DatosReporte& datos_;
    const Contexto& ctx_;
    const QPaintDevice& dev_;
    QRectF area_;
    double dpi_;
    double ancho_ = 0;
    double y_ = 0;
    double arriba_ = 0;
    std::vector<QFontMetricsF> metricas_;
    Documento doc_;
};

Documento Documento::Maquetar(const Definicion& d, const DatosReporte& datos, const Contexto& ctx, const QPaintDevice& dispositivo,
                              const QRectF& area)
{
    return Maquetador(d, datos, ctx, dispositivo, area).hacer();
}

void Documento::pintar(QPainter& p, int pagina) const
{
    int fuente = -1;
    QColor color;
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const Elemento& e : paginas_[size_t(pagina)]) {
        switch (e.tipo) {
        case Elemento::Tipo::Texto:
            if (e.fuente != fuente) {
                fuente = e.fuente;
                p.setFont(fuentes_[size_t(fuente)]);
            }
            if (e.color != color) {
                color = e.color;
                p.setPen(color);
            }
            p.drawText(e.punto, e.texto);
            break;
        case Elemento::Tipo::Linea: {
            QPen lapiz(e.color, e.grosor, Qt::SolidLine, Qt::FlatCap);
            p.setPen(lapiz);
            color = QColor();
            p.drawLine(e.linea);
            break;
        }
        case Elemento::Tipo::Relleno:
            p.fillRect(e.rect, e.color);
            break;
        }
    }
}

void Documento::pintarTodo(QPainter& p, QPagedPaintDevice& dispositivo) const
{
    for (int i = 0; i < paginas(); ++i) {
        if (i > 0)
            dispositivo.newPage();
        pintar(p, i);
    }
}

QStringList Documento::textos(int pagina) const
{
    QStringList r;
    for (const Elemento& e : paginas_[size_t(pagina)])
        if (e.tipo == Elemento::Tipo::Texto)
            r << e.texto;
    return r;
}

} // namespace reporte
