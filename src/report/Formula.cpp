#include "report/Formula.h"

#include "suite/ErrorRT.h"

#include <QHash>
#include <QRegularExpression>

namespace reporte {

namespace {

struct Ficha {
    enum class Tipo { Campo, Texto, Numero, Nombre, Operador, Abre, Cierra, Fin };
    Tipo tipo;
    QString texto;  // Campo: what is between the braces; Texto: the text; others: as written
    int posicion;   // from 1
};

const QString Origen = QStringLiteral("Fórmula de selección");

[[noreturn]] void fallar(const QString& formula, int posicion, const QString& motivo)
{
    suite::Lanzar(ErrorEnFormula,
                  QStringLiteral("La fórmula de selección no es válida: %1 (posición %2).\n%3")
                      .arg(motivo)
                      .arg(posicion)
                      .arg(formula.trimmed()),
                  Origen);
}

bool esNombre(const QString& s)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(s).hasMatch();
}

std::vector<Ficha> fichas(const QString& f)
{
    std::vector<Ficha> r;
    qsizetype i = 0;
    const qsizetype n = f.size();
    while (i < n) {
        const QChar c = f[i];
        const int pos = int(i) + 1;
        if (c.isSpace()) {
            ++i;
        } else if (c == u'{') {
            const qsizetype fin = f.indexOf(u'}', i);
            if (fin < 0)
                fallar(f, pos, QStringLiteral("falta la llave de cierre del campo"));
            r.push_back({Ficha::Tipo::Campo, f.mid(i + 1, fin - i - 1).trimmed(), pos});
            i = fin + 1;
        } else if (c == u'\'' || c == u'"') {
            QString texto;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n)
                    fallar(f, pos, QStringLiteral("falta cerrar la comilla del texto"));
                if (f[j] == c) {
                    if (j + 1 < n && f[j + 1] == c) { // a doubled quote stands for itself
                        texto += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                texto += f[j++];
            }
            r.push_back({Ficha::Tipo::Texto, texto, pos});
            i = j + 1;
        } else if (c.isDigit()) {
            qsizetype j = i;
            while (j < n && f[j].isDigit())
                ++j;
            if (j + 1 < n && f[j] == u'.' && f[j + 1].isDigit()) {
                ++j;
                while (j < n && f[j].isDigit())
                    ++j;
            }
            r.push_back({Ficha::Tipo::Numero, f.mid(i, j - i), pos});
            i = j;
        } else if (c.isLetter() || c == u'_') {
            qsizetype j = i;
            while (j < n && (f[j].isLetterOrNumber() || f[j] == u'_'))
                ++j;
            r.push_back({Ficha::Tipo::Nombre, f.mid(i, j - i), pos});
            i = j;
        } else if (c == u'(' || c == u')') {
            r.push_back({c == u'(' ? Ficha::Tipo::Abre : Ficha::Tipo::Cierra, QString(c), pos});
            ++i;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            QString op(c);
            if (i + 1 < n && ((c == u'<' && (f[i + 1] == u'=' || f[i + 1] == u'>')) || (c == u'>' && f[i + 1] == u'=')))
                op += f[i + 1];
            r.push_back({Ficha::Tipo::Operador, op, pos});
            i += op.size();
        } else {
            fallar(f, pos, QStringLiteral("el carácter «%1» no se admite").arg(c));
        }
    }
    r.push_back({Ficha::Tipo::Fin, {}, int(n) + 1});
    return r;
}

const QStringList Funciones{QStringLiteral("TrimLeft"), QStringLiteral("TrimRight"), QStringLiteral("Trim"),
                            QStringLiteral("UpperCase"), QStringLiteral("LowerCase")};

class Lector {
public:
    explicit Lector(const QString& formula) : f_(formula), t_(fichas(formula)) {}

    std::unique_ptr<Nodo> leer()
    {
        auto n = expresion();
        if (actual().tipo != Ficha::Tipo::Fin)
            fallar(f_, actual().posicion, QStringLiteral("sobra «%1»").arg(escrito(actual())));
        if (!n->esCondicion())
            fallar(f_, n->posicion, QStringLiteral("la fórmula no es una condición; compare el valor con algo"));
        return n;
    }

private:
    const Ficha& actual() const { return t_[k_]; }
    bool palabra(const char* p) const
    {
        return actual().tipo == Ficha::Tipo::Nombre && actual().texto.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
    }
    static QString escrito(const Ficha& t)
    {
        switch (t.tipo) {
        case Ficha::Tipo::Campo: return u'{' + t.texto + u'}';
        case Ficha::Tipo::Texto: return u'\'' + t.texto + u'\'';
        case Ficha::Tipo::Fin: return QStringLiteral("el final");
        default: return t.texto;
        }
    }

    static std::unique_ptr<Nodo> nodo(Nodo::Tipo tipo, int posicion, QString valor = {})
    {
        auto n = std::make_unique<Nodo>();
        n->tipo = tipo;
        n->posicion = posicion;
        n->valor = std::move(valor);
        return n;
    }

    // AND, OR and NOT join conditions only.
    void condicion(const Nodo& n, const QString& quien)
    {
        if (!n.esCondicion())
            fallar(f_, n.posicion, QStringLiteral("%1 debe unir condiciones, no valores").arg(quien));
    }
    void valorSimple(const Nodo& n)
    {
        if (n.esCondicion())
            fallar(f_, n.posicion, QStringLiteral("se esperaba un valor y se encontró una condición"));
    }

    std::unique_ptr<Nodo> expresion()
    {
        auto izq = conjuncion();
        while (palabra("OR")) {
            const int pos = actual().posicion;
            ++k_;
            auto der = conjuncion();
            condicion(*izq, QStringLiteral("OR"));
            condicion(*der, QStringLiteral("OR"));
            auto o = nodo(Nodo::Tipo::O, pos);
            o->hijos.push_back(std::move(izq));
            o->hijos.push_back(std::move(der));
            izq = std::move(o);
        }
        return izq;
    }

    std::unique_ptr<Nodo> conjuncion()
    {
        auto izq = negacion();
        while (palabra("AND")) {
            const int pos = actual().posicion;
            ++k_;
            auto der = negacion();
            condicion(*izq, QStringLiteral("AND"));
            condicion(*der, QStringLiteral("AND"));
            auto y = nodo(Nodo::Tipo::Y, pos);
            y->hijos.push_back(std::move(izq));
            y->hijos.push_back(std::move(der));
            izq = std::move(y);
        }
        return izq;
    }

    // Each parenthesis, function call and NOT passes here once: their nesting is bounded, so
    // that a formula nested thousands deep is refused instead of exhausting the stack.
    std::unique_ptr<Nodo> negacion()
    {
        struct Nivel {
            int& n;
            explicit Nivel(int& p) : n(++p) {}
            ~Nivel() { --n; }
        } nivel(profundidad_);
        if (profundidad_ > MaximoAnidamiento)
            fallar(f_, actual().posicion, QStringLiteral("la fórmula anida más de %1 niveles de paréntesis, funciones o NOT")
                                              .arg(MaximoAnidamiento));
        if (palabra("NOT")) {
            const int pos = actual().posicion;
            ++k_;
            auto n = nodo(Nodo::Tipo::No, pos);
            auto h = negacion();
            condicion(*h, QStringLiteral("NOT"));
            n->hijos.push_back(std::move(h));
            return n;
        }
        return comparacion();
    }

    std::unique_ptr<Nodo> comparacion()
    {
        auto izq = valor();
        if (actual().tipo == Ficha::Tipo::Operador) {
            const Ficha op = actual();
            ++k_;
            auto der = valor();
            valorSimple(*izq);
            valorSimple(*der);
            auto c = nodo(Nodo::Tipo::Comparacion, op.posicion, op.texto);
            c->hijos.push_back(std::move(izq));
            c->hijos.push_back(std::move(der));
            return c;
        }
        if (palabra("LIKE")) {
            const int pos = actual().posicion;
            ++k_;
            if (actual().tipo != Ficha::Tipo::Texto)
                fallar(f_, actual().posicion, QStringLiteral("LIKE debe ir seguido de un texto entre comillas"));
            valorSimple(*izq);
            auto c = nodo(Nodo::Tipo::Like, pos);
            c->hijos.push_back(std::move(izq));
            c->hijos.push_back(nodo(Nodo::Tipo::Texto, actual().posicion, actual().texto));
            ++k_;
            return c;
        }
        return izq;
    }

    std::unique_ptr<Nodo> valor()
    {
        const Ficha t = actual();
        switch (t.tipo) {
        case Ficha::Tipo::Campo: {
            ++k_;
            const qsizetype punto = t.texto.indexOf(u'.');
            const QString tabla = t.texto.left(punto).trimmed();
            const QString campo = punto < 0 ? QString() : t.texto.mid(punto + 1).trimmed();
            if (punto < 0 || !esNombre(tabla) || !esNombre(campo))
                fallar(f_, t.posicion, QStringLiteral("el campo {%1} debe escribirse {TABLA.CAMPO}").arg(t.texto));
            auto n = nodo(Nodo::Tipo::Campo, t.posicion);
            n->tabla = tabla;
            n->campo = campo;
            return n;
        }
        case Ficha::Tipo::Texto:
            ++k_;
            return nodo(Nodo::Tipo::Texto, t.posicion, t.texto);
        case Ficha::Tipo::Numero:
            ++k_;
            return nodo(Nodo::Tipo::Numero, t.posicion, t.texto);
        case Ficha::Tipo::Abre: {
            ++k_;
            auto n = expresion();
            cerrar(t.posicion);
            return n;
        }
        case Ficha::Tipo::Nombre: {
            qsizetype i = 0;
            while (i < Funciones.size() && Funciones[i].compare(t.texto, Qt::CaseInsensitive) != 0)
                ++i;
            if (i == Funciones.size())
                fallar(f_, t.posicion, QStringLiteral("«%1» no es una función conocida (se admiten %2)")
                                           .arg(t.texto, Funciones.join(QStringLiteral(", "))));
            ++k_;
            if (actual().tipo != Ficha::Tipo::Abre)
                fallar(f_, actual().posicion, QStringLiteral("se esperaba «(» después de %1").arg(Funciones[i]));
            const int abre = actual().posicion;
            ++k_;
            auto arg = expresion();
            valorSimple(*arg);
            cerrar(abre);
            auto n = nodo(Nodo::Tipo::Funcion, t.posicion, Funciones[i]);
            n->hijos.push_back(std::move(arg));
            return n;
        }
        default:
            fallar(f_, t.posicion, QStringLiteral("se esperaba un campo, un texto o un número y se encontró %1").arg(escrito(t)));
        }
    }

    void cerrar(int abre)
    {
        if (actual().tipo != Ficha::Tipo::Cierra)
            fallar(f_, actual().posicion,
                   QStringLiteral("falta «)» para el paréntesis de la posición %1; se encontró %2").arg(abre).arg(escrito(actual())));
        ++k_;
    }

    const QString& f_;
    std::vector<Ficha> t_;
    size_t k_ = 0;
    int profundidad_ = 0;
    static constexpr int MaximoAnidamiento = 200;
};

QString citarTexto(const QString& s) { return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\''; }

} // namespace

bool Nodo::esCondicion() const
{
    return tipo == Tipo::Comparacion || tipo == Tipo::Like || tipo == Tipo::Y || tipo == Tipo::O || tipo == Tipo::No;
}

std::unique_ptr<Nodo> LeerFormula(const QString& formula)
{
    if (formula.trimmed().isEmpty())
        return nullptr;
    return Lector(formula).leer();
}

QString Describir(const Nodo& n)
{
    auto hijos = [&n] {
        QString s;
        for (const auto& h : n.hijos)
            s += u' ' + Describir(*h);
        return s;
    };
    switch (n.tipo) {
    case Nodo::Tipo::Campo: return u'{' + n.tabla + u'.' + n.campo + u'}';
    case Nodo::Tipo::Texto: return citarTexto(n.valor);
    case Nodo::Tipo::Numero: return n.valor;
    case Nodo::Tipo::Funcion:
    case Nodo::Tipo::Comparacion: return u'(' + n.valor + hijos() + u')';
    case Nodo::Tipo::Like: return QStringLiteral("(LIKE") + hijos() + u')';
    case Nodo::Tipo::Y: return QStringLiteral("(Y") + hijos() + u')';
    case Nodo::Tipo::O: return QStringLiteral("(O") + hijos() + u')';
    case Nodo::Tipo::No: return QStringLiteral("(NO") + hijos() + u')';
    }
    return {};
}

void CamposDe(const Nodo& n, std::vector<const Nodo*>& campos)
{
    if (n.tipo == Nodo::Tipo::Campo)
        campos.push_back(&n);
    for (const auto& h : n.hijos)
        CamposDe(*h, campos);
}

QString PatronLike(const QString& comodines)
{
    QString r;
    r.reserve(comodines.size() + 4);
    for (QChar c : comodines) {
        if (c == u'*')
            r += u'%';
        else if (c == u'?')
            r += u'_';
        else if (c == u'%' || c == u'_' || c == u'[' || c == u'\\')
            r += u'\\', r += c;
        else
            r += c;
    }
    return r;
}

namespace {

void escribirSql(const Nodo& n, const std::function<QString(const QString&, const QString&)>& columna, CondicionSql& c)
{
    auto hijo = [&](size_t i) { escribirSql(*n.hijos[i], columna, c); };
    switch (n.tipo) {
    case Nodo::Tipo::Campo:
        c.sql += columna(n.tabla, n.campo);
        return;
    case Nodo::Tipo::Texto:
        c.sql += u'?';
        c.parametros.emplace_back(n.valor);
        return;
    case Nodo::Tipo::Numero:
        c.sql += u'?';
        if (n.valor.contains(u'.'))
            c.parametros.emplace_back(n.valor.toDouble());
        else
            c.parametros.emplace_back(n.valor.toLongLong());
        return;
    case Nodo::Tipo::Funcion: {
        static const QHash<QString, QPair<QString, QString>> sql{
            {QStringLiteral("TrimLeft"), {QStringLiteral("LTRIM("), QStringLiteral(")")}},
            {QStringLiteral("TrimRight"), {QStringLiteral("RTRIM("), QStringLiteral(")")}},
            {QStringLiteral("Trim"), {QStringLiteral("LTRIM(RTRIM("), QStringLiteral("))")}},
            {QStringLiteral("UpperCase"), {QStringLiteral("UPPER("), QStringLiteral(")")}},
            {QStringLiteral("LowerCase"), {QStringLiteral("LOWER("), QStringLiteral(")")}},
        };
        const auto par = sql.value(n.valor);
        c.sql += par.first;
        hijo(0);
        c.sql += par.second;
        return;
    }
    case Nodo::Tipo::Comparacion:
        c.sql += u'(';
        hijo(0);
        c.sql += u' ' + n.valor + u' ';
        hijo(1);
        c.sql += u')';
        return;
    case Nodo::Tipo::Like:
        // Letter case ignored on every engine, as the suite's databases compare text.
        c.sql += QStringLiteral("(UPPER(");
        hijo(0);
        c.sql += QStringLiteral(") LIKE UPPER(?) ESCAPE '\\')");
        c.parametros.emplace_back(PatronLike(n.hijos[1]->valor));
        return;
    case Nodo::Tipo::Y:
    case Nodo::Tipo::O:
        c.sql += u'(';
        hijo(0);
        c.sql += n.tipo == Nodo::Tipo::Y ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        hijo(1);
        c.sql += u')';
        return;
    case Nodo::Tipo::No:
        c.sql += QStringLiteral("(NOT ");
        hijo(0);
        c.sql += u')';
        return;
    }
}

} // namespace

CondicionSql ComoSql(const Nodo& n, const std::function<QString(const QString&, const QString&)>& columna)
{
    CondicionSql c;
    escribirSql(n, columna, c);
    return c;
}

} // namespace reporte
