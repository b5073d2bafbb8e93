#pragma once
// The editor on a fresh demo company, shown and active, driven as a user drives it: real key
// presses go to whatever has the focus.

#include "GDBPrueba.h"
#include "distribution/frmProrrata.h"
#include "startup/CNStuffContable.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

struct EditorPrueba : GDBPrueba {
    frmProrrata f;
    // With a lookup, when given; the form is loaded from the suite's command line for ANA.
    explicit EditorPrueba(Buscador buscador = {})
        : GDBPrueba(false)
    {
        ReiniciarCNStuffContable();
        FijarNombreEjecutable(QStringLiteral("prorrata"));
        if (buscador)
            f.FijarBuscador(std::move(buscador));
        f.Form_Load(QStringLiteral("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;"));
        f.show();
        QApplication::setActiveWindow(&f);
        if (!QTest::qWaitForWindowActive(&f))
            qWarning("la ventana no se activó");
        f.txtFields[0]->setFocus();
    }
    ~EditorPrueba() { ReiniciarCNStuffContable(); }

    // The focused widget, once the window is active again (a progress display may have been up).
    QWidget* foco() const
    {
        if (!QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000))
            qWarning("nada tiene el foco");
        return QApplication::focusWidget();
    }
    void tecla(int k) { QTest::keyClick(foco(), Qt::Key(k)); }
    // Each character goes to whatever has the focus then, as a user's typing does.
    void escribir(const QString& texto)
    {
        for (QChar c : texto)
            QTest::keyClicks(foco(), QString(c));
    }
    // Types a code over the code field's, without confirming it.
    void escribirCodigo(const QString& codigo)
    {
        f.txtFields[0]->setFocus();
        f.txtFields[0]->selectAll();
        escribir(codigo);
    }
    // Types a code in the code field and confirms it.
    void abrir(const QString& codigo)
    {
        escribirCodigo(codigo);
        tecla(Qt::Key_Return);
        QCoreApplication::processEvents(); // what the event loop does before the user's next key
    }
};
