#pragma once
// Lays a report out on pages and paints them: the heading (company, address lines, title,
// date) and the footer (what was printed, page N of M) on every page; per group a band with
// its caption, its data, the lines with their totals and each detail's rows; the signature
// lines at the end. A group or table that goes on over a page break is introduced again as
// "(continuación)" with its column titles.

#include "report/Datos.h"
#include "report/Definicion.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QLineF>
#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

namespace reporte {

// What a report prints besides its rows.
struct Contexto {
    QMap<QString, QString> formulas; // heading formulas by name, letter case ignored (keys in lower case)
    QDateTime emision;
    QString pie;                     // left of the footer
};

class Documento {
public:
    // Lays the report out for a device whose printable area (from the painter's origin) is
    // `area`, in the device's units.
    static Documento Maquetar(const Definicion& d, const DatosReporte& datos, const Contexto& ctx, const QPaintDevice& dispositivo,
                              const QRectF& area);

    int paginas() const { return int(paginas_.size()); }
    // Paints one page with a painter open on the device it was laid out for.
    void pintar(QPainter& p, int pagina) const;
    // Every page, with a new page between them.
    void pintarTodo(QPainter& p, QPagedPaintDevice& dispositivo) const;

    // The texts of a page in the order they are painted (tests).
    QStringList textos(int pagina) const;

private:
    friend class Maquetador;
    struct Elemento {
        enum class Tipo { Texto, Linea, Relleno } tipo;
        QPointF punto;      // Texto: the baseline's start
        QLineF linea;
        QRectF rect;
        QString texto;
        int fuente = 0;
        double grosor = 0;  // Linea, device units
        QColor color;
    };
    std::vector<QFont> fuentes_;
    std::vector<std::vector<Elemento>> paginas_;
};

// Heading formulas "Nombre = 'valor'" by name. The value is everything between the first
// quote after "=" and the last quote of the same kind, as typed (a company called
// "L'Étoile" keeps its apostrophe); an unquoted value is taken trimmed.
QMap<QString, QString> LeerFormulasEncabezado(const QStringList& formulas);

// A text with its {@Formula} names replaced by their values and its {TABLA.CAMPO} by the
// field's value in the given row (trimmed).
QString Sustituir(const QString& plantilla, const QMap<QString, QString>& formulas, const Filas* filas = nullptr,
                  size_t fila = 0);

// A field's value as the report prints it.
QString TextoValor(const QVariant& v, Formato formato);

} // namespace reporte
