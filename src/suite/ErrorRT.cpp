#include "suite/ErrorRT.h"

#include "suite/SuiteUtil.h"

#include <cstdlib>
#include <new>

namespace suite {

ErrorEjecucion::ErrorEjecucion(ErrorRT e)
    : err_(std::move(e))
    , what_(QStringLiteral("(%1) %2").arg(err_.Number).arg(err_.Description).toStdString())
{
}

void Lanzar(long numero, const QString& descripcion, const QString& origen)
{
    throw ErrorEjecucion(ErrorRT{numero, descripcion, origen});
}

ErrorRT ErrorActual()
{
    try {
        throw;
    } catch (const ErrorEjecucion& e) {
        return e.error();
    } catch (const std::bad_alloc&) {
        return ErrorRT{7, QStringLiteral("Memoria insuficiente"), {}};
    } catch (const std::exception& e) {
        return ErrorRT{5, QString::fromLocal8Bit(e.what()), {}};
    }
}

Rutina::Rutina(Manejador preguntar)
    : preguntar_(std::move(preguntar))
{
}

Rutina Rutina::conDialogoError(const QString& nombreRutina)
{
    return Rutina([nombreRutina](const ErrorRT& e) { return DialogoError(e, {}, nombreRutina); });
}

Rutina& Rutina::operator()(const std::function<void()>& paso)
{
    while (!abandonada_) {
        try {
            paso();
            return *this;
        } catch (const std::exception&) {
            ultimoError_ = ErrorActual();
        }
        const int respuesta = preguntar_(*ultimoError_);
        if (respuesta == Seguir)
            return *this;
        if (respuesta != Repetir)
            abandonada_ = true;
    }
    return *this;
}

namespace {
std::function<void(int)>& terminador()
{
    static std::function<void(int)> t;
    return t;
}
} // namespace

void TerminarPrograma(int codigo)
{
    if (terminador())
        terminador()(codigo);
    std::exit(codigo);
}

void FijarTerminador(std::function<void(int)> t) { terminador() = std::move(t); }

} // namespace suite
