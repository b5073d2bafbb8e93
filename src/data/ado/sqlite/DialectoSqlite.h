#pragma once
// T-SQL to SQLite, statement by statement: TOP n, table hints, DELETE without FROM, dbo.,
// brackets, ISNULL, LEN, CHARINDEX, SUBSTRING, CONVERT, GETDATE, @@IDENTITY, transaction
// words, and CREATE TABLE / ALTER TABLE ... ADD with SQL Server types. Text columns get the
// VL collation (letter case and trailing blanks ignored) and a length check that fails as
// SQL Server's truncation error does.

#include <QString>
#include <QStringList>

namespace ado::sqlite {

// Prefix of the constraints that check a text column's length.
inline constexpr char PrefijoLargo[] = "CK_LARGO__";

enum class Accion { Sentencia, Iniciar, Confirmar, Deshacer };

struct SentenciaSqlite {
    Accion accion = Accion::Sentencia;
    QString sql; // for Accion::Sentencia
};

// The statements of a T-SQL batch in SQLite's dialect; statements without effect on SQLite
// (SET NOCOUNT and the like) are left out.
std::vector<SentenciaSqlite> TraducirLote(const QString& tsql);

} // namespace ado::sqlite
