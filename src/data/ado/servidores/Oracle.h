#pragma once
// T-SQL to Oracle: the suite's text rules over a statement as written (TOP to ROWNUM, LEN,
// brackets, date literals in the user's short date format, CHARINDEX, CONVERT, = '' to
// IS NULL, style 103, SUBSTRING, ISNULL). Oracle runs one statement a call and knows no
// application locks, so a script is cut at its statements' key words first.

#include <QString>
#include <vector>

namespace ado::oracle {

// The statement in Oracle's dialect; error 5 for a quote without its pair or a TOP with
// nothing after its count.
QString Traducir(const QString& sentencia);

enum class Paso { Sentencia, Empezar, Confirmar, Deshacer };
struct PasoScript {
    Paso paso;
    QString texto; // the statement, untranslated (empty for the transaction steps)
};
// The script's steps in order: GO and SET NOCOUNT gone, BEGIN / COMMIT / ROLLBACK TRANS
// as transaction steps, every other statement from one key word to the next.
std::vector<PasoScript> DividirScript(const QString& script);

} // namespace ado::oracle
