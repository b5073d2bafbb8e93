// Connection strings. ADO's, as the suite hands them over, read without failing; and the ODBC
// string built from a server, database, login and password (the first four lines of the
// input) gives each of them back to an ODBC driver's reading: no value can add an attribute.
#include "Fuzz.h"

#include "data/ado/CadenaConexion.h"
#include "data/ado/odbc/CadenaOdbc.h"

#include <QMap>
#include <QStringList>

namespace {

// An ODBC driver's reading of a connection string (SQLDriverConnect's grammar): attributes
// separated by ";", a value between braces ends at a "}" not doubled. The first of a key wins.
QMap<QString, QString> LeerOdbc(const QString& s, bool* repetidas)
{
    QMap<QString, QString> r;
    *repetidas = false;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype igual = s.indexOf(u'=', i);
        if (igual < 0)
            break;
        const QString clave = s.mid(i, igual - i).trimmed().toUpper();
        QString valor;
        i = igual + 1;
        if (i < s.size() && s[i] == u'{') {
            for (++i; i < s.size(); ++i) {
                if (s[i] == u'}') {
                    if (i + 1 < s.size() && s[i + 1] == u'}') {
                        valor += u'}';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                valor += s[i];
            }
            const qsizetype pc = s.indexOf(u';', i);
            i = pc < 0 ? s.size() : pc + 1;
        } else {
            const qsizetype pc = s.indexOf(u';', i);
            valor = s.mid(i, (pc < 0 ? s.size() : pc) - i);
            i = pc < 0 ? s.size() : pc + 1;
        }
        if (r.contains(clave))
            *repetidas = true;
        else
            r.insert(clave, valor);
    }
    return r;
}

} // namespace

ENTRADA_FUZZ
{
    const QString texto = fuzz::Texto(datos, largo);
    ado::LeerCadenaConexion(texto);
    ado::InterpretarCadena(texto);

    QStringList campos = texto.split(u'\n');
    while (campos.size() < 4)
        campos << QString();
    const QString& servidor = campos[0];
    const QString cadena = ado::odbc::CadenaSqlServer(servidor, campos[1], campos[2], campos[3]);
    bool repetidas = false;
    const auto leida = LeerOdbc(cadena, &repetidas);
    const QString detalle = texto + QStringLiteral("\n-> ") + cadena;
    EXIGIR(!repetidas, detalle);
    // The server and the port as the program splits them ("HOST,PORT", "HOST:PORT"; a port given
    // wins over an instance's): each comes back whole.
    const ado::ServidorPuerto sp = ado::SepararPuerto(servidor);
    const QString host = sp.puerto.isEmpty() ? sp.nombre : sp.nombre.section(u'\\', 0, 0);
    EXIGIR(leida.value(QStringLiteral("SERVER")) == host, detalle);
    if (!sp.puerto.isEmpty())
        EXIGIR(leida.value(QStringLiteral("PORT")) == sp.puerto, detalle);
    EXIGIR(leida.value(QStringLiteral("DATABASE")) == campos[1].trimmed(), detalle);
    EXIGIR(leida.value(QStringLiteral("UID")) == campos[2], detalle);
    EXIGIR(leida.value(QStringLiteral("PWD")) == campos[3], detalle);
    EXIGIR(leida.value(QStringLiteral("DRIVER")) == QStringLiteral("FreeTDS"), detalle);
    return 0;
}
