#include "distribution/PlanillaCsv.h"

#include "startup/CNStuffContable.h"
#include "suite/Ansi.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QHash>
#include <QStringDecoder>
#include <optional>

namespace planilla {

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString fila(int n) { return QStringLiteral("Fila %1: ").arg(n); }
QString entreComillas(const QString& t) { return QStringLiteral("«") + t + QStringLiteral("»"); }

// A text that a spreadsheet would take for a formula (=, +, -, @ first) goes out with an
// apostrophe in front, which spreadsheets show as text; reading takes it off again.
QString comoTexto(const QString& t)
{
    static const QString formula = QStringLiteral("=+-@\t\r");
    return !t.isEmpty() && formula.contains(t.front()) ? u'\'' + t : t;
}
QString sinApostrofo(const QString& t)
{
    static const QString formula = QStringLiteral("=+-@\t\r");
    return t.size() > 1 && t.front() == u'\'' && formula.contains(t.at(1)) ? t.mid(1) : t;
}

// A field as CSV writes it: between quotes, with its quotes doubled, when it holds the
// separator, a quote, a line break or blanks at either end that a reader would lose.
QString campo(const QString& valor, QChar separador)
{
    const bool comillas = valor.contains(separador) || valor.contains(u'"') || valor.contains(u'\n') || valor.contains(u'\r')
        || (!valor.isEmpty() && (valor.front().isSpace() || valor.back().isSpace()));
    if (!comillas)
        return valor;
    return u'"' + QString(valor).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The file's text: UTF-8 (with or without its mark), else Windows-1252.
QString decodificar(const QByteArray& archivo)
{
    if (archivo.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(archivo.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(archivo);
    if (!utf8.hasError())
        return texto;
    return suite::DeAnsi(archivo);
}

struct Registro {
    int fila = 0;
    QStringList campos;
};

// The separator of the first line: ';' when it has one outside quotes, else ','.
QChar separadorDe(const QString& texto)
{
    bool dentro = false;
    int puntoYComa = 0, comas = 0;
    for (QChar c : texto) {
        if (c == u'"')
            dentro = !dentro;
        else if (!dentro && (c == u'\n' || c == u'\r'))
            break;
        else if (!dentro && c == u';')
            ++puntoYComa;
        else if (!dentro && c == u',')
            ++comas;
    }
    return puntoYComa > 0 || comas == 0 ? QChar(u';') : QChar(u',');
}

// Records of the text; a quoted field may hold separators, quotes (doubled) and line breaks.
// A quote left open is an error naming the row where it opened.
std::vector<Registro> partir(const QString& texto, QChar separador, QStringList& errores)
{
    std::vector<Registro> registros;
    Registro actual{1, {}};
    QString valor;
    int linea = 1, aperturaComillas = 0;
    bool dentro = false, huboComillas = false;
    const auto cerrarRegistro = [&] {
        actual.campos << valor;
        valor.clear();
        huboComillas = false;
        registros.push_back(std::move(actual));
        actual = Registro{linea, {}};
    };
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (dentro) {
            if (c == u'"') {
                if (i + 1 < texto.size() && texto[i + 1] == u'"') {
                    valor += u'"';
                    ++i;
                } else {
                    dentro = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < texto.size() && texto[i + 1] == u'\n')))
                    ++linea;
                valor += c;
            }
            continue;
        }
        if (c == u'"' && valor.trimmed().isEmpty() && !huboComillas) {
            dentro = huboComillas = true;
            aperturaComillas = linea;
            valor.clear();
        } else if (c == separador) {
            actual.campos << valor;
            valor.clear();
            huboComillas = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n')
                ++i;
            ++linea;
            cerrarRegistro();
        } else {
            valor += c;
        }
    }
    if (dentro) {
        errores << fila(aperturaComillas) + QStringLiteral("unas comillas abiertas no se cierran.");
        return {};
    }
    if (!valor.isEmpty() || !actual.campos.isEmpty())
        cerrarRegistro();
    return registros;
}

// A column title without accents, blanks nor punctuation, in capitals ("C. Costo": CCOSTO).
QString clave(const QString& titulo)
{
    QString c;
    for (QChar ch : titulo.normalized(QString::NormalizationForm_D))
        if (ch.isLetterOrNumber())
            c += ch.toUpper();
    return c;
}

enum Columna { ColCodigo, ColNombre, ColConcepto, ColPide, ColCentro, ColPorcentaje, Columnas };

int columnaDe(const QString& titulo)
{
    static const QHash<QString, int> nombres{
        {QStringLiteral("CODIGO"), ColCodigo},       {QStringLiteral("TABLA"), ColCodigo},
        {QStringLiteral("NOMBRE"), ColNombre},       {QStringLiteral("CONCEPTO"), ColConcepto},
        {QStringLiteral("PIDECONFIRMACION"), ColPide},
        {QStringLiteral("CCOSTO"), ColCentro},       {QStringLiteral("CENTRO"), ColCentro},
        {QStringLiteral("CENTRODECOSTO"), ColCentro}, {QStringLiteral("CENTRODECOSTOS"), ColCentro},
        {QStringLiteral("PORCENTAJE"), ColPorcentaje},
    };
    return nombres.value(clave(titulo), -1);
}

// A percentage as a spreadsheet may write it: a decimal comma or point (one, no thousands),
// an optional "%" after it. Four decimals at most (more would be rounded away).
std::optional<suite::Moneda> leerPorcentaje(QString t, bool& demasiadosDecimales)
{
    demasiadosDecimales = false;
    t = t.trimmed();
    if (t.endsWith(u'%'))
        t = t.chopped(1).trimmed();
    const qsizetype puntos = t.count(u'.'), comas = t.count(u',');
    if (puntos + comas > 1)
        return std::nullopt;
    t.replace(u',', u'.');
    const qsizetype separador = t.indexOf(u'.');
    if (separador >= 0) {
        const QString decimales = t.mid(separador + 1);
        for (qsizetype i = 4; i < decimales.size(); ++i)
            if (decimales[i] != u'0') {
                demasiadosDecimales = true;
                break;
            }
    }
    return suite::Moneda::leer(t, u'.', QChar());
}

std::optional<bool> leerMarca(const QString& t)
{
    const QString c = clave(t);
    if (c.isEmpty() || c == QLatin1String("0") || c == QLatin1String("N") || c == QLatin1String("NO") || c == QLatin1String("FALSO"))
        return false;
    if (c == QLatin1String("1") || c == QLatin1String("S") || c == QLatin1String("SI") || c == QLatin1String("VERDADERO"))
        return true;
    return std::nullopt;
}

// As the editor shows it: a total of 99,9999 is not rounded up to the 100 it misses.
QString porcentajeTexto(suite::Moneda m) { return FmtPorcentaje(m); }

} // namespace

const QStringList& Encabezado()
{
    static const QStringList e{QStringLiteral("CODIGO"), QStringLiteral("NOMBRE"), QStringLiteral("CONCEPTO"),
                               QStringLiteral("PIDECONFIRMACION"), QStringLiteral("CCOSTO"), QStringLiteral("PORCENTAJE")};
    return e;
}

QByteArray Escribir(const std::vector<TablaPlanilla>& tablas, QChar decimal)
{
    const QChar sep = u';';
    QString texto = Encabezado().join(sep) + CRLF;
    for (const TablaPlanilla& t : tablas) {
        const QString cabecera = campo(t.codigo.trimmed(), sep) + sep + campo(comoTexto(t.nombre), sep) + sep + campo(comoTexto(t.concepto), sep) + sep
            + (t.pideConfirmacion ? QStringLiteral("1") : QStringLiteral("0")) + sep;
        for (const LineaPlanilla& l : t.lineas)
            texto += cabecera + campo(l.centro.trimmed(), sep) + sep + campo(l.porcentaje.texto(decimal), sep) + CRLF;
    }
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

QByteArray EscribirFilas(const QStringList& encabezado, const std::vector<QStringList>& filas)
{
    const QChar sep = u';';
    const auto linea = [&](const QStringList& valores) {
        QStringList campos;
        for (const QString& v : valores)
            campos << campo(comoTexto(v), sep);
        return campos.join(sep) + CRLF;
    };
    QString texto = linea(encabezado);
    for (const QStringList& f : filas)
        texto += linea(f);
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

Lectura Leer(const QByteArray& archivo, const std::function<bool(const QString&)>& centroExiste)
{
    Lectura r;
    const QString texto = decodificar(archivo);
    if (texto.trimmed().isEmpty()) {
        r.errores << QStringLiteral("El archivo está vacío.");
        return r;
    }
    std::vector<Registro> registros = partir(texto, separadorDe(texto), r.errores);
    if (!r.errores.isEmpty())
        return r;

    // The header names the columns, in any order; name, concept and flag may be missing.
    int posicion[Columnas];
    std::fill(std::begin(posicion), std::end(posicion), -1);
    const Registro& encabezado = registros.front();
    for (int i = 0; i < encabezado.campos.size(); ++i)
        if (const int c = columnaDe(encabezado.campos[i]); c >= 0 && posicion[c] < 0)
            posicion[c] = i;
    for (const int c : {ColCodigo, ColCentro, ColPorcentaje})
        if (posicion[c] < 0)
            r.errores << fila(encabezado.fila) + QStringLiteral("falta la columna ") + Encabezado()[c]
                    + QStringLiteral(" en el encabezado (se esperaba: ") + Encabezado().join(u';') + QStringLiteral(").");
    if (!r.errores.isEmpty())
        return r;

    struct Estado {
        suite::Moneda total;
        bool avisadoExceso = false;
        QHash<QString, int> centros; // centre in capitals: its row
        int filaNombre = 0, filaConcepto = 0, filaMarca = 0;
        bool conMarca = false;
    };
    QHash<QString, size_t> indice;
    std::vector<Estado> estados;
    const suite::Moneda cien = suite::Moneda::desdeEntero(100);

    for (size_t k = 1; k < registros.size(); ++k) {
        const Registro& reg = registros[k];
        const auto valor = [&](int c) { return posicion[c] >= 0 && posicion[c] < reg.campos.size() ? reg.campos[posicion[c]] : QString(); };
        if (std::all_of(reg.campos.begin(), reg.campos.end(), [](const QString& v) { return v.trimmed().isEmpty(); }))
            continue; // a blank row
        const QString f = fila(reg.fila);
        int necesarias = 0;
        for (int p : posicion)
            necesarias = std::max(necesarias, p + 1);
        if (reg.campos.size() < necesarias) {
            r.errores << f + QStringLiteral("tiene %1 columnas y el encabezado %2.").arg(reg.campos.size()).arg(encabezado.campos.size());
            continue;
        }
        const QString codigo = valor(ColCodigo).trimmed();
        const QString centro = valor(ColCentro).trimmed();
        const QString textoPorcentaje = valor(ColPorcentaje).trimmed();
        const QString nombre = sinApostrofo(valor(ColNombre)), concepto = sinApostrofo(valor(ColConcepto));
        const size_t erroresAntes = size_t(r.errores.size());
        // A control character stored in a field, or read past by a number (10<NUL>0 as 100),
        // refuses its row; a text field may keep tabs and line breaks.
        for (int c = 0; c < Columnas; ++c) {
            const bool texto = c == ColNombre || c == ColConcepto;
            const QString v = texto ? valor(c) : valor(c).trimmed();
            const auto control = std::find_if(v.begin(), v.end(), [&](QChar ch) {
                return ch.category() == QChar::Other_Control && !(texto && (ch == u'\t' || ch == u'\r' || ch == u'\n'));
            });
            if (control != v.end())
                r.errores << f + QStringLiteral("la columna %1 tiene un carácter de control (U+%2), que no puede ir en un campo.")
                                     .arg(Encabezado()[c])
                                     .arg(QString::number(control->unicode(), 16).toUpper().rightJustified(4, u'0'));
        }

        if (codigo.isEmpty())
            r.errores << f + QStringLiteral("falta el código de la tabla.");
        else if (codigo.size() > LargoCodigo)
            r.errores << f + QStringLiteral("el código ") + entreComillas(codigo)
                    + QStringLiteral(" tiene más de %1 caracteres.").arg(LargoCodigo);
        if (nombre.size() > LargoTexto)
            r.errores << f + QStringLiteral("el nombre tiene más de %1 caracteres.").arg(LargoTexto);
        if (concepto.size() > LargoTexto)
            r.errores << f + QStringLiteral("el concepto tiene más de %1 caracteres.").arg(LargoTexto);
        const auto marca = leerMarca(valor(ColPide));
        if (!marca)
            r.errores << f + QStringLiteral("la columna PIDECONFIRMACION vale ") + entreComillas(valor(ColPide).trimmed())
                    + QStringLiteral("; se esperaba 1 o 0.");
        if (centro.isEmpty())
            r.errores << f + QStringLiteral("falta el centro de costo.");
        else if (centro.size() > LargoCentro)
            r.errores << f + QStringLiteral("el centro de costo ") + entreComillas(centro)
                    + QStringLiteral(" tiene más de %1 caracteres.").arg(LargoCentro);
        else if (!centroExiste(centro))
            r.errores << f + QStringLiteral("el centro de costo ") + entreComillas(centro) + QStringLiteral(" no existe.");
        bool demasiados = false;
        const auto porcentaje = leerPorcentaje(textoPorcentaje, demasiados);
        if (textoPorcentaje.isEmpty())
            r.errores << f + QStringLiteral("falta el porcentaje.");
        else if (!porcentaje)
            r.errores << f + QStringLiteral("el porcentaje ") + entreComillas(textoPorcentaje) + QStringLiteral(" no es un número.");
        else if (demasiados)
            r.errores << f + QStringLiteral("el porcentaje ") + entreComillas(textoPorcentaje)
                    + QStringLiteral(" tiene más de 4 decimales.");
        else if (*porcentaje < suite::Moneda())
            r.errores << f + QStringLiteral("el porcentaje ") + entreComillas(textoPorcentaje) + QStringLiteral(" es negativo.");
        if (codigo.isEmpty() || codigo.size() > LargoCodigo)
            continue;

        // The table of the row: the first row gives its header; a later row may leave those
        // columns empty but may not say something else.
        const QString claveTabla = suite::FormatoCodigo(codigo, LargoCodigo).toUpper();
        auto it = indice.constFind(claveTabla);
        if (it == indice.cend()) {
            it = indice.insert(claveTabla, r.tablas.size());
            TablaPlanilla t;
            t.codigo = codigo;
            t.fila = reg.fila;
            r.tablas.push_back(std::move(t));
            estados.emplace_back();
        }
        TablaPlanilla& t = r.tablas[*it];
        Estado& e = estados[*it];
        const auto comparar = [&](const QString& nuevo, QString& guardado, int& filaGuardada, const char* que) {
            if (nuevo.trimmed().isEmpty())
                return;
            if (filaGuardada == 0) {
                guardado = nuevo;
                filaGuardada = reg.fila;
            } else if (nuevo != guardado) {
                r.errores << f + QStringLiteral("la tabla ") + t.codigo + QStringLiteral(" tiene otro ") + QString::fromUtf8(que)
                        + QStringLiteral(" en la fila %1.").arg(filaGuardada);
            }
        };
        comparar(nombre, t.nombre, e.filaNombre, "nombre");
        comparar(concepto, t.concepto, e.filaConcepto, "concepto");
        if (marca && !valor(ColPide).trimmed().isEmpty()) {
            if (e.filaMarca == 0) {
                t.pideConfirmacion = *marca;
                e.filaMarca = reg.fila;
            } else if (*marca != t.pideConfirmacion) {
                r.errores << f + QStringLiteral("la tabla ") + t.codigo
                        + QStringLiteral(" tiene otro valor de PIDECONFIRMACION en la fila %1.").arg(e.filaMarca);
            }
        }
        if (!centro.isEmpty()) {
            const QString claveCentro = centro.toUpper();
            if (const auto otra = e.centros.constFind(claveCentro); otra != e.centros.cend())
                r.errores << f + QStringLiteral("el centro de costo ") + centro + QStringLiteral(" ya figura en la tabla ") + t.codigo
                        + QStringLiteral(" (fila %1).").arg(*otra);
            else
                e.centros.insert(claveCentro, reg.fila);
        }
        if (size_t(r.errores.size()) != erroresAntes || !porcentaje)
            continue;
        e.total += *porcentaje;
        if (e.total > cien && !e.avisadoExceso) {
            e.avisadoExceso = true;
            r.errores << f + QStringLiteral("la tabla ") + t.codigo + QStringLiteral(" suma ") + porcentajeTexto(e.total)
                    + QStringLiteral(" %; no puede superar el 100 %.");
        }
        t.lineas.push_back({centro, *porcentaje, reg.fila});
        ++r.filas;
    }
    for (size_t i = 0; i < r.tablas.size(); ++i) {
        const TablaPlanilla& t = r.tablas[i];
        if (t.pideConfirmacion && estados[i].total < cien && !t.lineas.empty())
            r.errores << fila(t.fila) + QStringLiteral("la tabla ") + t.codigo + QStringLiteral(" no pide confirmación y suma ")
                    + porcentajeTexto(estados[i].total) + QStringLiteral(" %; debe completar el 100 %.");
    }
    if (r.errores.isEmpty() && r.filas == 0)
        r.errores << QStringLiteral("El archivo no tiene filas con líneas de tablas (después del encabezado).");
    if (!r.errores.isEmpty())
        r.tablas.clear();
    return r;
}

QString MensajeErrores(const QStringList& errores, int maximo)
{
    QString m = QStringLiteral("No se importó nada: el archivo tiene ");
    m += errores.size() == 1 ? QStringLiteral("un error.") : QStringLiteral("%1 errores.").arg(errores.size());
    m += QStringLiteral("\n\n") + errores.mid(0, maximo).join(u'\n');
    if (errores.size() > maximo)
        m += QStringLiteral("\n... y %1 más.").arg(errores.size() - maximo);
    return m;
}

} // namespace planilla
