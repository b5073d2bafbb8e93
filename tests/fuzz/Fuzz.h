#pragma once
// What the fuzz targets share. Each target defines LLVMFuzzerTestOneInput: built with clang's
// libFuzzer it is fuzzed (scripts/fuzz.sh), built with the normal compiler it is linked with
// Repetir.cpp, which replays the target's corpus as a test. A property that does not hold
// aborts, which is a crash for libFuzzer and a failed test for the replay; so does any
// exception other than the layer's own.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define ENTRADA_FUZZ extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo)

namespace fuzz {

[[noreturn]] inline void Incumplida(const char* propiedad, const QString& detalle)
{
    std::fprintf(stderr, "Propiedad incumplida: %s\n%s\n", propiedad, detalle.toUtf8().constData());
    std::abort();
}

inline QByteArray Bytes(const uint8_t* datos, size_t largo)
{
    return QByteArray(reinterpret_cast<const char*>(datos), qsizetype(largo));
}

inline QString Texto(const uint8_t* datos, size_t largo)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(datos), qsizetype(largo));
}

// A file of this process holding the input, for the parsers that read files.
QString EnArchivo(const QByteArray& contenido);

} // namespace fuzz

#define EXIGIR(condicion, detalle)                                                                                     \
    do {                                                                                                               \
        if (!(condicion))                                                                                              \
            fuzz::Incumplida(#condicion, (detalle));                                                                   \
    } while (0)
