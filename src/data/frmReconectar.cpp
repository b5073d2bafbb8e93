#include "data/frmReconectar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString Titulo = QStringLiteral("Intentando reconectar con el servidor") + QChar(0x2026);
}

frmReconectar::frmReconectar(QWidget* padre)
    : QDialog(padre)
{
    setObjectName(QStringLiteral("frmReconectar"));
    setWindowTitle(Titulo);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    lblMensaje = new QLabel(Titulo, this);
    lblMensaje->setObjectName(QStringLiteral("lblMensaje"));
    lblMensaje->setWordWrap(true);
    lblMensaje->setMinimumWidth(360);
    prgIntentos = new QProgressBar(this);
    prgIntentos->setObjectName(QStringLiteral("prgIntentos"));
    prgIntentos->setRange(0, 100);
    prgIntentos->setTextVisible(false);
    CmdReintentar = new QPushButton(QStringLiteral("Reintentar"), this);
    CmdReintentar->setObjectName(QStringLiteral("CmdReintentar"));
    CmdReintentar->setEnabled(false);
    cmdCancelar = new QPushButton(QStringLiteral("Cerrar Sistema"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto* icono = new QLabel(this);
    icono->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(icono, 0, Qt::AlignTop);
    arriba->addWidget(lblMensaje, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(CmdReintentar);
    botones->addWidget(cmdCancelar);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(prgIntentos);
    todo->addLayout(botones);

    connect(CmdReintentar, &QPushButton::clicked, this, [this] { Reintentar_ = true; });
    connect(cmdCancelar, &QPushButton::clicked, this, [this] { Cancelar_ = true; });
}

void frmReconectar::Mostrar(const QString& mensaje)
{
    Cancelar_ = Reintentar_ = false;
    lblMensaje->setText(mensaje);
    prgIntentos->setValue(0);
    if (!isVisible()) {
        adjustSize();
        if (const QScreen* pantalla = QApplication::primaryScreen())
            move(pantalla->availableGeometry().center() - rect().center());
        show();
    }
    raise();
    repaint();
}

void frmReconectar::Avance(int progreso, bool habilitarReintentar)
{
    prgIntentos->setValue(progreso);
    CmdReintentar->setEnabled(habilitarReintentar);
}

void frmReconectar::Cerrar() { hide(); }

// Only the two buttons (or the connection coming back) close the window: Escape or the
// window manager's close must not end the program by mistake.
void frmReconectar::closeEvent(QCloseEvent* e) { e->ignore(); }

void frmReconectar::reject() {}

IVentanaReconexion& VentanaReconexionPredeterminada()
{
    static frmReconectar* ventana = new frmReconectar;
    return *ventana;
}
