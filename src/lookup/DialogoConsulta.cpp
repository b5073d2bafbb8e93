#include "lookup/DialogoConsulta.h"

#include "startup/CNStuffContable.h"
#include "suite/SuiteUtil.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cmath>

int TwipsAPixeles(double twips)
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const double ppp = s ? s->logicalDotsPerInchX() : 96.0;
    return int(std::lround(twips * ppp / 1440.0));
}

double PixelesATwips(int pixeles)
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const double ppp = s ? s->logicalDotsPerInchX() : 96.0;
    return pixeles * 1440.0 / ppp;
}

namespace consulta {

QString textoCampo(const QVariant& v)
{
    return v.typeId() == QMetaType::QString ? v.toString() : suite::TextoVariant(v);
}

suite::Rutina rutinaConAviso(const QString& nombre)
{
    return suite::Rutina([nombre](const suite::ErrorRT& e) { return AvisoError(e, std::nullopt, nombre); });
}

} // namespace consulta

void DialogoConsulta::Cancelar()
{
    ValorDevuelto = QString();
    CmpsDevueltos = nullptr;
    Valores.reset();
    hide();
    done(QDialog::Rejected);
}

void DialogoConsulta::crearEstado()
{
    lblEstado = new QLabel(this);
    lblEstado->setObjectName(QStringLiteral("lblEstado"));
    lblEstado->setWordWrap(true);
    lblEstado->setTextFormat(Qt::PlainText);
    lblEstado->hide();
}

void DialogoConsulta::crearBotones()
{
    Frame1 = new QWidget(this);
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), Frame1);
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), Frame1);
    CmdNueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), Frame1);
    CmdAceptar->setDefault(true);
    cmdCancelar->setAutoDefault(false);
    CmdNueva->setAutoDefault(false);
    connect(CmdAceptar, &QPushButton::clicked, this, [this] { Aceptar(); });
    connect(cmdCancelar, &QPushButton::clicked, this, [this] { Cancelar(); });
    connect(CmdNueva, &QPushButton::clicked, this, [this] { NuevaBusqueda(); });
}

QString DialogoConsulta::lineaDeFiltros() const
{
    if (filtros_.isEmpty())
        return {};
    return QStringLiteral("Filtros: ") + filtros_.join(QStringLiteral("; ")) + QStringLiteral(" («Nueva Busqueda» los quita).");
}
