#include "login/AccesoDirecto.h"

#include "data/Sesion.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Characters that make an Exec argument need quotes.
bool reservado(QChar c)
{
    static const QString reservados = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    return reservados.contains(c);
}

// The escapes of a string value of a desktop entry.
QString escaparCadena(const QString& texto)
{
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto) {
        switch (c.unicode()) {
        case u'\\': r += QStringLiteral("\\\\"); break;
        case u'\n': r += QStringLiteral("\\n"); break;
        case u'\r': r += QStringLiteral("\\r"); break;
        case u'\t': r += QStringLiteral("\\t"); break;
        default: r += c;
        }
    }
    return r;
}

} // namespace

QString CarpetaEscritorio() { return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); }

QString ArgumentosAccesoDirecto(const QString& servidor, const QString& base, const QString& usuario)
{
    return QStringLiteral(" ; @server=") + servidor + QStringLiteral("; @dbname=") + base + QStringLiteral("; @usuario=")
        + usuario + QStringLiteral("; @Password=; @ParametroAdicional=; orbe@ ; @UsuarioLogeado = ; @Caja=;");
}

QString ArgumentoExec(const QString& argumento)
{
    QString a;
    bool comillas = argumento.isEmpty();
    for (const QChar c : argumento) {
        comillas = comillas || reservado(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            a += u'\\';
        a += c;
    }
    if (comillas)
        a = u'"' + a + u'"';
    else
        a = argumento; // nothing was escaped outside quotes
    a.replace(u'%', QStringLiteral("%%"));
    return escaparCadena(a);
}

QString IconoPrograma()
{
    for (const char* nombre : {"vela.svg", "vela.png"}) {
        const QFileInfo archivo(CarpetaAplicacion() + QLatin1String(nombre));
        if (archivo.isFile())
            return archivo.absoluteFilePath();
    }
    return QStringLiteral("prorrata");
}

QString EntradaEscritorio(const QString& nombre, const QString& programa, const QStringList& argumentos,
                          const QString& icono)
{
    QStringList exec{ArgumentoExec(programa)};
    for (const QString& a : argumentos)
        exec << ArgumentoExec(a);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.5\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Icon=%3\n"
                          "Terminal=false\n")
        .arg(escaparCadena(nombre), exec.join(u' '), escaparCadena(icono));
}
