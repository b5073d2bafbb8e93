#include "data/ado/Errores.h"

#include "data/ado/Constantes.h"

#include <QStringList>

namespace ado {

namespace {
// A driver's message of several lines (libpq's on a lost link) as one: its lines joined.
QString enUnaLinea(const QString& texto)
{
    QStringList lineas;
    for (const QString& l : texto.split(u'\n'))
        if (!l.trimmed().isEmpty())
            lineas << l.trimmed();
    return lineas.join(QStringLiteral(" / "));
}
} // namespace

ErrorMotor ErrorDe(const Diagnostico& d)
{
    const QString& t = d.texto;
    const auto dato = [&](qsizetype i) { return d.datos.value(i); };
    switch (d.categoria) {
    case Categoria::ConexionCerrada:
        return {err::Fallo, QStringLiteral("La conexión con la base de datos está cerrada."), QStringLiteral("08003"),
                err::NativoEnlacePerdido};
    case Categoria::EnlacePerdido:
        return {err::Fallo,
                QStringLiteral("Se perdió la conexión con el servidor%1: el servidor se detuvo o cortó la sesión, o la red se "
                               "interrumpió. (%2)")
                    .arg(dato(0).isEmpty() ? QString() : u' ' + dato(0), enUnaLinea(t)),
                QStringLiteral("08S01"), err::NativoEnlacePerdido};
    case Categoria::AccesoPerdido:
        return {err::Fallo, QStringLiteral("Se perdió el acceso a la base de datos: %1").arg(enUnaLinea(t)), QStringLiteral("08S01"),
                err::NativoEnlacePerdido};
    case Categoria::SinServidor:
        return {err::Fallo, QStringLiteral("No se puede conectar con el servidor %1: %2").arg(dato(0), t), QStringLiteral("08001"), 17};
    case Categoria::BaseInexistente:
        return {err::Fallo,
                QStringLiteral("No se puede abrir la base de datos \"%1\" solicitada por el inicio de sesión. "
                               "Error de inicio de sesión. (%2)").arg(dato(0), t),
                QStringLiteral("42000"), 4060};
    case Categoria::InicioSesion:
        return {err::Fallo, QStringLiteral("Error de inicio de sesión del usuario '%1'. (%2)").arg(dato(0), t), QStringLiteral("28000"),
                18456};
    case Categoria::TablaInexistente: return {err::ErrorEnComando, t, QStringLiteral("42S02"), 208};
    case Categoria::ColumnaInexistente: return {err::ErrorEnComando, t, QStringLiteral("42S22"), 207};
    case Categoria::Sintaxis: return {err::ErrorEnComando, t, QStringLiteral("42000"), 102};
    case Categoria::Truncado: {
        QString texto;
        if (d.datos.size() >= 2)
            texto = QStringLiteral("Los datos de cadena o binarios se truncarían en la tabla '%1', columna '%2'.").arg(dato(0), dato(1));
        else if (d.datos.size() == 1)
            texto = QStringLiteral("Los datos de cadena o binarios se truncarían (más de %1 caracteres).").arg(dato(0));
        else
            texto = QStringLiteral("Los datos de cadena o binarios se truncarían. (%1)").arg(t);
        return {err::Truncado, texto, QStringLiteral("22001"), err::NativoTruncado};
    }
    case Categoria::ClaveDuplicada: return {err::Integridad, t, QStringLiteral("23000"), 2627};
    case Categoria::NuloNoAdmitido: return {err::Integridad, t, QStringLiteral("23000"), 515};
    case Categoria::Restriccion: return {err::Integridad, t, QStringLiteral("23000"), d.nativo ? d.nativo : 547};
    case Categoria::TiempoBloqueo:
    case Categoria::Interbloqueo:
        return {err::TiempoAgotado, QStringLiteral("Se ha superado el tiempo de espera de la solicitud de bloqueo (%1).").arg(t),
                QStringLiteral("HYT00"), 1222};
    case Categoria::SinTransaccion: return {err::ErrorEnComando, t, QStringLiteral("25000"), 3903};
    case Categoria::SoloLectura:
        return {err::ErrorEnComando,
                QStringLiteral("No se pudo escribir en la base de datos: es de sólo lectura (el archivo o su carpeta no "
                               "admiten cambios). Los datos no se modificaron. (%1)").arg(enUnaLinea(t)),
                QStringLiteral("25006"), 3906};
    case Categoria::DiscoLleno:
        return {err::Fallo,
                QStringLiteral("No se pudo escribir en la base de datos: no queda espacio en el disco o la base de datos "
                               "llegó a su tamaño máximo. Libere espacio y vuelva a intentarlo. (%1)").arg(enUnaLinea(t)),
                QStringLiteral("42000"), 1105};
    case Categoria::SinRecursos: return {err::Fallo, t, QStringLiteral("42000"), 0};
    case Categoria::Otro:
        return {err::ErrorEnComando, t, d.sqlState.isEmpty() ? QStringLiteral("HY000") : d.sqlState, d.nativo};
    }
    return {err::Fallo, t, d.sqlState, d.nativo};
}

bool EsEnlacePerdido(Categoria c)
{
    return c == Categoria::EnlacePerdido || c == Categoria::AccesoPerdido || c == Categoria::ConexionCerrada;
}

FalloMotor FalloDe(const Diagnostico& d) { return FalloMotor({ErrorDe(d)}, EsEnlacePerdido(d.categoria)); }

FalloMotor FalloDe(Categoria c)
{
    Diagnostico d;
    d.categoria = c;
    return FalloDe(d);
}

} // namespace ado
