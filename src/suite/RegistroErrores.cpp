#include "suite/RegistroErrores.h"

#include "suite/Carpetas.h"
#include "suite/Dialogos.h"
#include "suite/ErrorRT.h"
#include "suite/SuiteUtil.h"

#include <QFile>

namespace suite {

QString CarpetaRegistroErrores()
{
    QString carpeta;
    if (!qEnvironmentVariable("TEMP").isEmpty())
        carpeta = qEnvironmentVariable("TMP").trimmed();
    if (carpeta.isEmpty()) {
        carpeta = CarpetaEstadoUsuario();
        CrearCarpetaPropia(carpeta); // a folder that cannot be made fails when the log is opened
    }
    return CarpetaConBarra(carpeta);
}

QString PalabraRespuesta(int respuesta)
{
    switch (respuesta) {
    case vbRetry: return QStringLiteral("Reintentar");
    case vbIgnore: return QStringLiteral("Ignorar");
    case vbAbort: return QStringLiteral("Abortar");
    case vbCancel: return QStringLiteral("Cancelar");
    case vbYes: return QStringLiteral("Sí");
    case vbNo: return QStringLiteral("No");
    default: return {};
    }
}

QString MensajeError(long numero, const QString& descripcion)
{
    return (QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(numero) + QStringLiteral(") ")
            + descripcion.trimmed())
        .trimmed();
}

QString LineaRegistro(const QDateTime& cuando, const QString& rutina, const QString& mensaje, int respuesta)
{
    const QString textoRutina =
        rutina.isEmpty() ? QString() : (QStringLiteral(" - ") + rutina).trimmed();
    return cuando.toString(QStringLiteral("MM-dd-yyyy")) + u' ' + cuando.toString(QStringLiteral("HH:mm:ss"))
        + QStringLiteral(" Rutina: ") + textoRutina + QStringLiteral(" Mensaje ") + mensaje.trimmed()
        + QStringLiteral(" Respondió : ") + PalabraRespuesta(respuesta);
}

std::unique_ptr<QFile> AbrirRegistro(const QString& ruta)
{
    auto f = std::make_unique<QFile>(ruta);
    // The log holds the database's messages: readable by its owner only.
    const auto soloDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!f->open(QIODevice::WriteOnly | QIODevice::Append, soloDueno))
        Lanzar(75, QStringLiteral("No se puede abrir el registro de errores %1: %2").arg(ruta, f->errorString()));
    return f;
}

void EscribirLinea(QFile& registro, const QString& linea)
{
    registro.write((linea + QStringLiteral("\r\n")).toUtf8());
    registro.flush();
}

} // namespace suite
