#pragma once
// Modal dialogs driven by a test: the steps run once the dialog shows.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

// Runs `pasos` on the modal dialog of type D once it shows (looked for every 10 ms,
// `intentos` times); a dialog left open is cancelled afterwards.
template <typename D>
void alAbrirModal(const std::function<void(D&)>& pasos, int intentos = 500)
{
    QTimer::singleShot(10, [pasos, intentos] {
        D* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) {
            if (intentos > 0)
                alAbrirModal<D>(pasos, intentos - 1);
            return;
        }
        QApplication::setActiveWindow(d);
        if (!QTest::qWaitForWindowActive(d))
            qWarning("el diálogo no se activó");
        pasos(*d);
        if (d->isVisible())
            d->done(QDialog::Rejected);
    });
}
