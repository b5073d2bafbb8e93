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

// A field as CSV writes it, added to `destino`: between quotes, with its quotes doubled,
// when it holds the separator, a quote, a line break or blanks at either end that a reader
// would lose.
void agregarCampo(QString& destino, QStringView valor, QChar separador)
{
    bool comillas = !valor.isEmpty() && (valor.front().isSpace() || valor.back().isSpace());
    for (qsizetype i = 0; i < valor.size() && !comillas; ++i) {
        const QChar c = valor[i];
        comillas = c == separador || c == u'"' || c == u'\n' || c == u'\r';
    }
    if (!comillas) {
        destino += valor;
        return;
    }
    destino += u'"';
    for (const QChar c : valor) {
        if (c == u'"')
            destino += u'"';
        destino += c;
    }
    destino += u'"';
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
    // The last record, also when all it holds is one empty quoted value ("").
    if (!valor.isEmpty() || !actual.campos.isEmpty() || huboComillas)
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
    qsizetype largo = 0; // about what the rows take, to write them without growing
    for (const TablaPlanilla& t : tablas)
        largo += qsizetype(t.lineas.size()) * (t.codigo.size() + t.nombre.size() + t.concepto.size() + 24);
    texto.reserve(texto.size() + largo);
    QString cabecera;
    for (const TablaPlanilla& t : tablas) {
        cabecera.clear();
        agregarCampo(cabecera, QStringView(t.codigo).trimmed(), sep);
        cabecera += sep;
        agregarCampo(cabecera, comoTexto(t.nombre), sep);
        cabecera += sep;
        agregarCampo(cabecera, comoTexto(t.concepto), sep);
        cabecera += sep;
        cabecera += t.pideConfirmacion ? u'1' : u'0';
        cabecera += sep;
        for (const LineaPlanilla& l : t.lineas) {
            texto += cabecera;
            agregarCampo(texto, QStringView(l.centro).trimmed(), sep);
            texto += sep;
            agregarCampo(texto, l.porcentaje.texto(decimal), sep);
            texto += CRLF;
        }
    }
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

QByteArray EscribirFilas(const QStringList& encabezado, const std::vector<QStringList>& filas)
{
    const QChar sep = u';';
    QString texto;
    const auto linea = [&](const QStringList& valores) {
        for (qsizetype i = 0; i < valores.size(); ++i) {
            if (i > 0)
                texto += sep;
            agregarCampo(texto, comoTexto(valores[i]), sep);
        }
        texto += CRLF;
    };
    linea(encabezado);
    for (const QStringList& f : filas)
        linea(f);
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

namespace {

// The checks of a file's rows, step by step: the header's columns, each row's fields, the
// table the row belongs to, and each table's total at the end.
class Lector {
public:
    Lector(Lectura& r, const std::function<bool(const QString&)>& centroExiste) : r_(r), centroExiste_(centroExiste) {}

    // The header names the columns, in any order; name, concept and flag may be missing.
    bool encabezado(const Registro& encabezado)
    {
        encabezado_ = &encabezado;
        std::fill(std::begin(posicion_), std::end(posicion_), -1);
        for (int i = 0; i < encabezado.campos.size(); ++i)
            if (const int c = columnaDe(encabezado.campos[i]); c >= 0 && posicion_[c] < 0)
                posicion_[c] = i;
        for (const int c : {ColCodigo, ColCentro, ColPorcentaje})
            if (posicion_[c] < 0)
                r_.errores << fila(encabezado.fila) + QStringLiteral("falta la columna ") + Encabezado()[c]
                        + QStringLiteral(" en el encabezado (se esperaba: ") + Encabezado().join(u';') + QStringLiteral(").");
        return r_.errores.isEmpty();
    }

    void registro(const Registro& reg)
    {
        reg_ = &reg;
        if (std::all_of(reg.campos.begin(), reg.campos.end(), [](const QString& v) { return v.trimmed().isEmpty(); }))
            return; // a blank row
        f_ = fila(reg.fila);
        int necesarias = 0;
        for (int p : posicion_)
            necesarias = std::max(necesarias, p + 1);
        if (reg.campos.size() < necesarias) {
            r_.errores << f_ + QStringLiteral("tiene %1 columnas y el encabezado %2.").arg(reg.campos.size()).arg(encabezado_->campos.size());
            return;
        }
        const size_t erroresAntes = size_t(r_.errores.size());
        const Campos c = campos();
        if (c.codigo.isEmpty() || c.codigo.size() > LargoCodigo)
            return;
        anotar(c, erroresAntes);
    }

    // Tables that ask for confirmation must add up to 100 %; a file needs some line.
    void cerrar()
    {
        const suite::Moneda cien = suite::Moneda::desdeEntero(100);
        for (size_t i = 0; i < r_.tablas.size(); ++i) {
            const TablaPlanilla& t = r_.tablas[i];
            if (t.pideConfirmacion && estados_[i].total < cien && !t.lineas.empty())
                r_.errores << fila(t.fila) + QStringLiteral("la tabla ") + t.codigo + QStringLiteral(" no pide confirmación y suma ")
                        + porcentajeTexto(estados_[i].total) + QStringLiteral(" %; debe completar el 100 %.");
        }
        if (r_.errores.isEmpty() && r_.filas == 0)
            r_.errores << QStringLiteral("El archivo no tiene filas con líneas de tablas (después del encabezado).");
        if (!r_.errores.isEmpty())
            r_.tablas.clear();
    }

private:
    struct Estado {
        suite::Moneda total;
        bool avisadoExceso = false;
        QHash<QString, int> centros; // centre in capitals: its row
        int filaNombre = 0, filaConcepto = 0, filaMarca = 0;
    };
    struct Campos {
        QString codigo, centro, textoPorcentaje, nombre, concepto;
        std::optional<bool> marca;
        std::optional<suite::Moneda> porcentaje;
    };

    QString valor(int c) const
    {
        return posicion_[c] >= 0 && posicion_[c] < reg_->campos.size() ? reg_->campos[posicion_[c]] : QString();
    }

    // A control character stored in a field, or read past by a number (10<NUL>0 as 100),
    // refuses its row; a text field may keep tabs and line breaks.
    void controles()
    {
        for (int c = 0; c < Columnas; ++c) {
            const bool texto = c == ColNombre || c == ColConcepto;
            const QString v = texto ? valor(c) : valor(c).trimmed();
            const auto control = std::find_if(v.begin(), v.end(), [&](QChar ch) {
                return ch.category() == QChar::Other_Control && !(texto && (ch == u'\t' || ch == u'\r' || ch == u'\n'));
            });
            if (control != v.end())
                r_.errores << f_ + QStringLiteral("la columna %1 tiene un carácter de control (U+%2), que no puede ir en un campo.")
                                       .arg(Encabezado()[c])
                                       .arg(QString::number(control->unicode(), 16).toUpper().rightJustified(4, u'0'));
        }
    }

    // The row's fields, each checked on its own.
    Campos campos()
    {
        Campos k{valor(ColCodigo).trimmed(), valor(ColCentro).trimmed(), valor(ColPorcentaje).trimmed(),
                 sinApostrofo(valor(ColNombre)), sinApostrofo(valor(ColConcepto)), {}, {}};
        controles();
        if (k.codigo.isEmpty())
            r_.errores << f_ + QStringLiteral("falta el código de la tabla.");
        else if (k.codigo.size() > LargoCodigo)
            r_.errores << f_ + QStringLiteral("el código ") + entreComillas(k.codigo)
                    + QStringLiteral(" tiene más de %1 caracteres.").arg(LargoCodigo);
        if (k.nombre.size() > LargoTexto)
            r_.errores << f_ + QStringLiteral("el nombre tiene más de %1 caracteres.").arg(LargoTexto);
        if (k.concepto.size() > LargoTexto)
            r_.errores << f_ + QStringLiteral("el concepto tiene más de %1 caracteres.").arg(LargoTexto);
        k.marca = leerMarca(valor(ColPide));
        if (!k.marca)
            r_.errores << f_ + QStringLiteral("la columna PIDECONFIRMACION vale ") + entreComillas(valor(ColPide).trimmed())
                    + QStringLiteral("; se esperaba 1 o 0.");
        if (k.centro.isEmpty())
            r_.errores << f_ + QStringLiteral("falta el centro de costo.");
        else if (k.centro.size() > LargoCentro)
            r_.errores << f_ + QStringLiteral("el centro de costo ") + entreComillas(k.centro)
                    + QStringLiteral(" tiene más de %1 caracteres.").arg(LargoCentro);
        else if (!centroExiste_(k.centro))
            r_.errores << f_ + QStringLiteral("el centro de costo ") + entreComillas(k.centro) + QStringLiteral(" no existe.");
        bool demasiados = false;
        k.porcentaje = leerPorcentaje(k.textoPorcentaje, demasiados);
        if (k.textoPorcentaje.isEmpty())
            r_.errores << f_ + QStringLiteral("falta el porcentaje.");
        else if (!k.porcentaje)
            r_.errores << f_ + QStringLiteral("el porcentaje ") + entreComillas(k.textoPorcentaje) + QStringLiteral(" no es un número.");
        else if (demasiados)
            r_.errores << f_ + QStringLiteral("el porcentaje ") + entreComillas(k.textoPorcentaje)
                    + QStringLiteral(" tiene más de 4 decimales.");
        else if (*k.porcentaje < suite::Moneda())
            r_.errores << f_ + QStringLiteral("el porcentaje ") + entreComillas(k.textoPorcentaje) + QStringLiteral(" es negativo.");
        return k;
    }

    // The table of the row: the first row gives its header; a later row may leave those
    // columns empty but may not say something else. A row without errors adds its line.
    void anotar(const Campos& k, size_t erroresAntes)
    {
        const QString claveTabla = suite::FormatoCodigo(k.codigo, LargoCodigo).toUpper();
        auto it = indice_.constFind(claveTabla);
        if (it == indice_.cend()) {
            it = indice_.insert(claveTabla, r_.tablas.size());
            TablaPlanilla t;
            t.codigo = k.codigo;
            t.fila = reg_->fila;
            r_.tablas.push_back(std::move(t));
            estados_.emplace_back();
        }
        TablaPlanilla& t = r_.tablas[*it];
        Estado& e = estados_[*it];
        const auto comparar = [&](const QString& nuevo, QString& guardado, int& filaGuardada, const char* que) {
            if (nuevo.trimmed().isEmpty())
                return;
            if (filaGuardada == 0) {
                guardado = nuevo;
                filaGuardada = reg_->fila;
            } else if (nuevo != guardado) {
                r_.errores << f_ + QStringLiteral("la tabla ") + t.codigo + QStringLiteral(" tiene otro ") + QString::fromUtf8(que)
                        + QStringLiteral(" en la fila %1.").arg(filaGuardada);
            }
        };
        comparar(k.nombre, t.nombre, e.filaNombre, "nombre");
        comparar(k.concepto, t.concepto, e.filaConcepto, "concepto");
        if (k.marca && !valor(ColPide).trimmed().isEmpty()) {
            if (e.filaMarca == 0) {
                t.pideConfirmacion = *k.marca;
                e.filaMarca = reg_->fila;
            } else if (*k.marca != t.pideConfirmacion) {
                r_.errores << f_ + QStringLiteral("la tabla ") + t.codigo
                        + QStringLiteral(" tiene otro valor de PIDECONFIRMACION en la fila %1.").arg(e.filaMarca);
            }
        }
        if (!k.centro.isEmpty()) {
            const QString claveCentro = k.centro.toUpper();
            if (const auto otra = e.centros.constFind(claveCentro); otra != e.centros.cend())
                r_.errores << f_ + QStringLiteral("el centro de costo ") + k.centro + QStringLiteral(" ya figura en la tabla ") + t.codigo
                        + QStringLiteral(" (fila %1).").arg(*otra);
            else
                e.centros.insert(claveCentro, reg_->fila);
        }
        if (size_t(r_.errores.size()) != erroresAntes || !k.porcentaje)
            return;
        e.total += *k.porcentaje;
        if (e.total > suite::Moneda::desdeEntero(100) && !e.avisadoExceso) {
            e.avisadoExceso = true;
            r_.errores << f_ + QStringLiteral("la tabla ") + t.codigo + QStringLiteral(" suma ") + porcentajeTexto(e.total)
                    + QStringLiteral(" %; no puede superar el 100 %.");
        }
        t.lineas.push_back({k.centro, *k.porcentaje, reg_->fila});
        ++r_.filas;
    }

    Lectura& r_;
    const std::function<bool(const QString&)>& centroExiste_;
    int posicion_[Columnas];
    const Registro* encabezado_ = nullptr;
    const Registro* reg_ = nullptr;
    QString f_;                      // "Fila N: " of the row being read
    QHash<QString, size_t> indice_;  // table key: its position
    std::vector<Estado> estados_;
};

} // namespace

Lectura Leer(const QByteArray& archivo, const std::function<bool(const QString&)>& centroExiste)
{
    Lectura r;
    const QString texto = decodificar(archivo);
    if (texto.trimmed().isEmpty()) {
        r.errores << QStringLiteral("El archivo está vacío.");
        return r;
    }
    const std::vector<Registro> registros = partir(texto, separadorDe(texto), r.errores);
    if (!r.errores.isEmpty())
        return r;
    if (registros.empty()) {
        r.errores << QStringLiteral("El archivo está vacío.");
        return r;
    }
    Lector lector(r, centroExiste);
    if (!lector.encabezado(registros.front()))
        return r;
    for (size_t k = 1; k < registros.size(); ++k)
        lector.registro(registros[k]);
    lector.cerrar();
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
