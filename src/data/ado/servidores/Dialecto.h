#pragma once
// The dialect step shared by the servers: a T-SQL batch split into statements, each rewritten
// token by token (TOP n, table hints, DELETE without FROM, dbo., brackets, N'' literals,
// ISNULL, LEN, CHARINDEX, CONVERT, GETDATE, @@IDENTITY, CREATE TABLE and ALTER TABLE ... ADD
// with SQL Server types). What differs from server to server comes in Reglas.

#include "data/ado/TSQL.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace ado::tsql {

// Bloquear: an application lock of the open transaction (EXEC sp_getapplock); sql holds the
// resource's name, in capitals and without trailing blanks.
enum class Accion { Sentencia, Iniciar, Confirmar, Deshacer, Bloquear };

struct SentenciaTraducida {
    Accion accion = Accion::Sentencia;
    QString sql; // for Accion::Sentencia; the resource for Accion::Bloquear
};

// EXEC[UTE] [dbo.]sp_getapplock of a text resource in Exclusive mode, owned by the
// transaction (named or positional parameters): the resource's name in capitals without
// trailing blanks, as the server compares keys. Any other statement: nullopt.
std::optional<QString> RecursoBloqueado(const Tokens& sentencia);
// The resources of the lock statements that follow lote[i]; i moves onto the last of them.
QStringList RecursosSiguientes(const std::vector<SentenciaTraducida>& lote, size_t& i);
// The batch without its application locks, its other statements one a line, for servers
// that take none; the batch as it stands when it has none.
QString SinBloqueos(const QString& lote);

// A column of CREATE TABLE or ALTER TABLE ... ADD, as written.
struct DefinicionColumna {
    QString tabla;            // unquoted
    QString nombre;           // unquoted
    QString tipo;             // the type's name in lower case ("varchar"), empty when none
    QString tipoEscrito;      // as written ("varchar(60)")
    std::optional<int> largo; // the length of char/varchar types
    bool texto = false;       // char, varchar, nchar, nvarchar, text, ntext, sysname
    bool identidad = false;
    QString resto;            // constraints and defaults, translated (IDENTITY, COLLATE removed)
};

struct Reglas {
    QString isnull;    // ISNULL(
    QString ahora;     // GETDATE()
    QString identidad; // @@IDENTITY, SCOPE_IDENTITY()
    std::function<QString(const QString& en, const QString& buscado, const std::optional<QString>& desde)> charindex;
    // CONVERT(tipo, valor[, 103]): the type's first word in upper case.
    std::function<QString(const QString& tipo, const QString& valor, bool estilo103)> convertir;
    std::function<QString(const QString& id)> identificador; // a quoted identifier
    std::function<QString(const DefinicionColumna&)> columna;
    // What follows a string literal in a data statement (SQLite: " COLLATE VL").
    QString trasLiteral;
    // Literals next to a comparison lose their trailing blanks (as SQL Server compares).
    bool recortarLiteralesComparados = false;
    // A function of two values that does what T-SQL's "+" does (joins texts, adds numbers);
    // empty when the engine's own "+" already does it.
    QString sumar;
};

// Rules the engines build alike.
// CHARINDEX through the engine's function that finds one text in another (INSTR, STRPOS).
std::function<QString(const QString&, const QString&, const std::optional<QString>&)> CharindexCon(const QString& funcionPosicion);
// CONVERT through the engine's form for each kind of type, %1 standing for the value.
struct FormasConvertir {
    QString texto, texto103;   // CHAR, VARCHAR, NCHAR, NVARCHAR, TEXT, NTEXT
    QString entero;            // INT, INTEGER, SMALLINT, BIGINT, TINYINT, BIT
    QString fecha, fecha103;   // DATETIME, DATE, SMALLDATETIME
    QString numero;            // anything else
};
std::function<QString(const QString&, const QString&, bool)> ConvertirCon(FormasConvertir formas);
// An identifier between quotes, the closing quote doubled inside.
QString Citado(const QString& id, QChar abre = u'"', QChar cierra = u'"');

// The batch's statements in the engine's terms. Raises FalloMotor for a text the engines
// cannot take: a NUL character, a [name], "name" or 'text' left open, or parentheses nested
// deeper than MaximoAnidamiento.
inline constexpr int MaximoAnidamiento = 200;
std::vector<SentenciaTraducida> TraducirLote(const QString& tsql, const Reglas& reglas);

// The translations of the batches a program repeats (its lookups, its loads), kept by their
// text for one engine's rules. Small: when full it starts again; long batches (saves, scripts)
// are translated every time and not kept.
class MemoriaTraducciones {
public:
    explicit MemoriaTraducciones(const Reglas& reglas) : reglas_(reglas) {}
    std::vector<SentenciaTraducida> traducir(const QString& tsql);

    static constexpr int MaximoLotes = 128;
    static constexpr qsizetype MaximoLargo = 2048;

private:
    const Reglas& reglas_;
    QHash<QString, std::vector<SentenciaTraducida>> lotes_;
    QString ultimoLargo_;
    std::vector<SentenciaTraducida> ultimaTraduccion_;
};

inline const QString MensajeCaracterNulo =
    QStringLiteral("El texto contiene un carácter nulo (código 0), que la base de datos no admite. "
                   "Borre ese carácter (suele llegar al pegar texto copiado de otro programa) e intente de nuevo.");

} // namespace ado::tsql
