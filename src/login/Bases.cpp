#include "login/Bases.h"

#include "data/Sesion.h"
#include "startup/CNStuffContable.h"
#include "suite/Carpetas.h"
#include "suite/Ansi.h"
#include "suite/ErrorRT.h"
#include "suite/Ini.h"
#include "suite/SuiteUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QString NombreArchivo = QStringLiteral("BASES.TXT");
constexpr int CamposPorLinea = 5;
constexpr long ErrorDeArchivo = 75;

// Splits the text into lines of fields with the comma-separated reading rules.
class Lector {
public:
    explicit Lector(const QString& texto) : t_(texto) {}

    QList<QStringList> lineas()
    {
        for (qsizetype i = 0; i < t_.size(); ++i) {
            const QChar c = t_[i];
            if (entreComillas_) {
                if (c != u'"') {
                    campo_ += c;
                } else if (i + 1 < t_.size() && t_[i + 1] == u'"') {
                    campo_ += c;
                    ++i;
                } else {
                    entreComillas_ = false;
                    cerrado_ = true;
                }
            } else if (c == u',') {
                cerrarCampo();
            } else if (c == u'\r' || c == u'\n') {
                cerrarLinea();
                if (c == u'\r' && i + 1 < t_.size() && t_[i + 1] == u'\n')
                    ++i;
            } else if (c == u'"' && !citado_ && campo_.trimmed().isEmpty()) {
                entreComillas_ = citado_ = true;
                campo_.clear();
            } else if (!cerrado_) {
                campo_ += c; // text after a closing quote is dropped
            }
        }
        if (!campo_.isEmpty() || citado_ || !campos_.isEmpty())
            cerrarLinea();
        return lineas_;
    }

private:
    void cerrarCampo()
    {
        campos_ << (citado_ ? campo_ : campo_.trimmed());
        campo_.clear();
        citado_ = cerrado_ = false;
    }
    void cerrarLinea()
    {
        cerrarCampo();
        lineas_ << campos_;
        campos_.clear();
    }

    const QString& t_;
    QList<QStringList> lineas_;
    QStringList campos_;
    QString campo_;
    bool entreComillas_ = false;
    bool citado_ = false;  // the field opened with a quote
    bool cerrado_ = false; // ... and its closing quote was read
};

QString campoEscrito(const QString& valor)
{
    const QString v = valor.trimmed();
    if (!v.contains(u',') && !v.contains(u'"') && !v.contains(u'\r') && !v.contains(u'\n'))
        return v;
    QString citado = v;
    citado.replace(u'"', QStringLiteral("\"\""));
    return u'"' + citado + u'"';
}

bool esUtf8(const QByteArray& datos)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8(datos);
    return !utf8.hasError();
}

QString archivoEnCarpetaAplicacion()
{
    return suite::BuscarArchivoSinCaso(CarpetaAplicacion(), NombreArchivo);
}

[[noreturn]] void noSePudoEscribir(const QString& ruta, const QString& motivo)
{
    suite::Lanzar(ErrorDeArchivo, QStringLiteral("No se pudo escribir el archivo de conexiones registradas %1 (%2)")
                                      .arg(QDir::toNativeSeparators(ruta), motivo));
}

} // namespace

QList<RegistroBase> LeerRegistros(const QString& texto)
{
    QList<RegistroBase> r;
    for (const QStringList& c : Lector(texto).lineas()) {
        if (c.size() < CamposPorLinea)
            continue;
        r << RegistroBase{c[0], c[1], c[2], c[3], c[4]};
    }
    return r;
}

QString LineaRegistro(const QStringList& campos)
{
    QStringList escritos;
    for (const QString& c : campos)
        escritos << campoEscrito(c);
    return escritos.join(u',');
}

QString NombreRegistro(const QString& base, const QString& servidor)
{
    QString clave = servidor.trimmed().toUpper();
    const qsizetype dosPuntos = clave.indexOf(u':');
    if (dosPuntos >= 0)
        clave = clave.left(dosPuntos);
    return base.trimmed().toUpper() + QStringLiteral(" / ") + clave.trimmed();
}

QString RutaBasesUsuario()
{
    return QDir(suite::CarpetaConfiguracionUsuario()).filePath(NombreArchivo);
}

QString RutaBases() { return RutaBasesUsuario(); }

QStringList RutasBasesLeidas()
{
    QStringList r;
    for (const QString& ruta : {archivoEnCarpetaAplicacion(), RutaBasesUsuario()}) {
        if (ExisteArchivo(ruta) && !r.contains(QFileInfo(ruta).canonicalFilePath()))
            r << QFileInfo(ruta).canonicalFilePath();
    }
    return r;
}

bool ExisteArchivoBases() { return !RutasBasesLeidas().isEmpty(); }

QList<RegistroBase> LeerBases()
{
    QList<RegistroBase> r;
    for (const QString& ruta : RutasBasesLeidas()) {
        bool ok = false;
        const QString texto = suite::LeerTextoSuite(ruta, &ok);
        if (!ok)
            suite::Lanzar(ErrorDeArchivo, QStringLiteral("No se pudo leer el archivo de conexiones registradas %1")
                                              .arg(QDir::toNativeSeparators(ruta)));
        r << LeerRegistros(texto);
    }
    return r;
}

void AgregaBase(const QString& nombre, const QString& base, const QString& login, const QString& clave,
                const QString& servidor, const QString& sufijo, bool& oracle)
{
    QString campoServidor = servidor.trimmed();
    if (oracle)
        campoServidor = u'#' + campoServidor;
    if (!sufijo.isEmpty())
        campoServidor += u'/' + sufijo + u':';

    const QString ruta = RutaBases();
    QFile f(ruta);
    QByteArray previo;
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly))
            noSePudoEscribir(ruta, f.errorString());
        previo = f.readAll();
        f.close();
    } else if (!suite::CrearCarpetaPropia(QFileInfo(ruta).absolutePath())) {
        noSePudoEscribir(ruta, QStringLiteral("no se pudo crear la carpeta"));
    }

    const qsizetype salto = previo.lastIndexOf("\r\n");
    const QByteArray ultimo = salto < 0 ? previo : previo.mid(salto + 2);
    QString linea = LineaRegistro({nombre, base, login, suite::CodificaTexto(clave), campoServidor})
        + QStringLiteral("\r\n");
    if (!ultimo.trimmed().isEmpty())
        linea = u'\r' + linea;
    const QByteArray bytes = esUtf8(previo) ? linea.toUtf8() : suite::AAnsi(linea);

    const QFileDevice::Permissions soloDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append, soloDueno))
        noSePudoEscribir(ruta, f.errorString());
    f.setPermissions(soloDueno); // a copy made before by another tool is closed too
    if (f.write(bytes) != bytes.size() || !f.flush())
        noSePudoEscribir(ruta, f.errorString());
    f.close();
}
