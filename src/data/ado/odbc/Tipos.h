#pragma once
// ODBC's column types as ADO field types, values read as text turned into variants, and the
// driver manager's wide text (UTF-16) to and from QString.

#include <QString>
#include <QVariant>
#include <sql.h>
#include <sqlext.h>
#include <string>

namespace ado::odbc {

struct TipoColumna {
    int tipo;
    long tamanio;
    int escala;
    SQLSMALLINT tipoSql;
};

// ADO's type for an ODBC column.
TipoColumna TipoDe(SQLSMALLINT t, SQLULEN tam, SQLSMALLINT decimales);
// A value read as text as a variant of the column's ADO type.
QVariant ValorDe(const QString& s, const TipoColumna& c);

inline std::u16string Ancho(const QString& s) { return s.toStdU16String(); }
inline SQLWCHAR* Puntero(std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }
inline QString DeAncho(const SQLWCHAR* p, qsizetype n) { return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n); }
inline bool Exito(SQLRETURN r) { return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO; }

} // namespace ado::odbc
