// INI files (the suite's) and the registry of servers, read from a file: every key of a
// section reads the same through LeerIni as through LeerSeccionIni (first match wins in both).
#include "Fuzz.h"

#include "data/ado/CadenaConexion.h"
#include "suite/Ini.h"

#include <QRegularExpression>

ENTRADA_FUZZ
{
    const QString archivo = fuzz::EnArchivo(fuzz::Bytes(datos, largo));
    const QString texto = suite::LeerTextoSuite(archivo);
    static const QRegularExpression seccion(QStringLiteral("^\\s*\\[([^\\]\\r\\n]*)\\]"), QRegularExpression::MultilineOption);
    int vistas = 0;
    for (auto it = seccion.globalMatch(texto); it.hasNext() && vistas < 8; ++vistas) {
        const QString nombre = it.next().captured(1);
        const auto claves = suite::LeerSeccionIni(archivo, nombre);
        if (!claves)
            continue;
        for (auto c = claves->cbegin(); c != claves->cend(); ++c) {
            const QString leido = suite::LeerIni(archivo, nombre, c.key(), QStringLiteral("\x01"));
            EXIGIR(leido == c.value(), QStringLiteral("[%1] %2: %3 / %4\n%5").arg(nombre, c.key(), leido, c.value(), texto));
        }
    }
    suite::LeerIni(archivo, QStringLiteral("OrbeGestion"), QStringLiteral("PathSistema"), QString());

    ado::FijarRegistroServidores(archivo);
    const auto problema = ado::ProblemaRegistroServidores();
    if (!problema) {
        for (auto it = seccion.globalMatch(texto); it.hasNext();) {
            const QString nombre = it.next().captured(1).trimmed();
            ado::BuscarServidor(nombre);
        }
    }
    ado::FijarRegistroServidores(QString());
    return 0;
}
