#include "DialogosGuionados.h"

#include <QTest>

namespace {
const char* nombreTipo(DialogoVisto::Tipo t)
{
    switch (t) {
    case DialogoVisto::Mensaje: return "cuadro de mensaje";
    case DialogoVisto::Entrada: return "cuadro de entrada";
    case DialogoVisto::Archivo: return "diálogo de archivo";
    }
    return "";
}
} // namespace

DialogosGuionados::DialogosGuionados()
    : anteriores_(&suite::Dialogos())
{
    suite::FijarDialogos(this);
}

DialogosGuionados::~DialogosGuionados()
{
    suite::FijarDialogos(anteriores_ == this ? nullptr : anteriores_);
    if (!plan_.isEmpty()) {
        const QByteArray m = QStringLiteral("Quedaron %1 respuestas previstas sin usar").arg(plan_.size()).toUtf8();
        QTest::qFail(m.constData(), __FILE__, __LINE__);
    }
}

DialogosGuionados& DialogosGuionados::responder(int respuesta)
{
    plan_.append({DialogoVisto::Mensaje, respuesta, {}, {}});
    return *this;
}

DialogosGuionados& DialogosGuionados::responder(int respuesta, std::function<void()> antes)
{
    plan_.append({DialogoVisto::Mensaje, respuesta, {}, std::move(antes)});
    return *this;
}

DialogosGuionados& DialogosGuionados::escribir(std::optional<QString> texto)
{
    plan_.append({DialogoVisto::Entrada, 0, std::move(texto), {}});
    return *this;
}

DialogosGuionados& DialogosGuionados::elegirArchivo(std::optional<QString> ruta)
{
    plan_.append({DialogoVisto::Archivo, 0, std::move(ruta), {}});
    return *this;
}

std::optional<DialogosGuionados::Plan> DialogosGuionados::siguiente(DialogoVisto visto)
{
    vistos_.append(visto);
    if (plan_.isEmpty() || plan_.front().tipo != visto.tipo) {
        const QByteArray m = QStringLiteral("Diálogo no previsto (%1): «%2» «%3»")
                                 .arg(QString::fromUtf8(nombreTipo(visto.tipo)), visto.titulo, visto.texto)
                                 .toUtf8();
        QTest::qFail(m.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    return plan_.takeFirst();
}

int DialogosGuionados::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    const auto p = siguiente({DialogoVisto::Mensaje, titulo, texto, estilo});
    if (p && p->antes)
        p->antes();
    return p ? p->respuesta : suite::vbCancel;
}

std::optional<QString> DialogosGuionados::InputBox(const QString& texto, const QString& titulo,
                                                   const QString& /*porDefecto*/)
{
    const auto p = siguiente({DialogoVisto::Entrada, titulo, texto, 0});
    return p ? p->texto : std::nullopt;
}

std::optional<QString> DialogosGuionados::AbrirArchivo(const QString& titulo, const QString& filtro)
{
    const auto p = siguiente({DialogoVisto::Archivo, titulo, filtro, 0});
    return p ? p->texto : std::nullopt;
}

std::optional<QString> DialogosGuionados::GuardarArchivo(const QString& titulo, const QString& filtro, const QString& /*propuesto*/)
{
    const auto p = siguiente({DialogoVisto::Archivo, titulo, filtro, 0});
    return p ? p->texto : std::nullopt;
}
