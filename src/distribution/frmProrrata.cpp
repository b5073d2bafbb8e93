#include "distribution/frmProrrata.h"

#include "startup/CNStuffContable.h"
#include "suite/SuiteUtil.h"

frmProrrata::frmProrrata(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmProrrata"));
    setWindowTitle(Titulo);
    resize(800, 600);
}

void frmProrrata::Form_Load(const QString& lineaComandos)
{
    IniciarSesion(lineaComandos);
    suite::PrepararForm(this);
}
