#include "suite/Formularios.h"

#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTranslator>
#include <QWidget>

namespace suite {

int IndiceControl(const QString& campo, const QList<QWidget*>& controles)
{
    const QString buscado = campo.trimmed();
    for (qsizetype i = 0; i < controles.size(); ++i) {
        const QWidget* w = controles[i];
        if (w && w->property(PropDataField).toString().trimmed().compare(buscado, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void LimpiarForm(QWidget* form, int /*modo*/)
{
    if (!form)
        return;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->property(PropConservar).toBool())
            continue;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            // The line edit inside an editable combo or spin box belongs to that control.
            if (qobject_cast<QComboBox*>(e->parentWidget()) || qobject_cast<QAbstractSpinBox*>(e->parentWidget()))
                continue;
            e->clear();
        } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
            t->clear();
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            p->clear();
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            c->setCheckState(Qt::Unchecked);
        } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
            if (cb->isEditable())
                cb->clearEditText();
            else
                cb->setCurrentIndex(-1);
        } else if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) {
            s->clear();
        }
    }
}

bool EsTeclaAvance(int tecla)
{
    return tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
}

bool AvanzarFoco(int /*tecla*/, QWidget* desde)
{
    QWidget* actual = QApplication::focusWidget();
    if (!actual)
        actual = desde;
    if (!actual)
        return false;
    for (QWidget* w = actual->nextInFocusChain(); w && w != actual; w = w->nextInFocusChain()) {
        if (w->window() == actual->window() && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled()
            && w->isVisibleTo(w->window()) && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return true;
}

QChar FiltrarTecla(const QWidget* editor, QChar c)
{
    if (c.unicode() < 32 || c.unicode() == 127)
        return c;
    if (!editor || !editor->property(PropNumerico).toBool())
        return c.isPrint() ? c : QChar();
    const Regional& r = RegionalActual();
    if (c.isDigit() && c.unicode() < 128)
        return c;
    if (c == u'-' || c == u'+')
        return c;
    if (c == u'.' || c == u',' || c == r.decimal)
        return r.decimal;
    return QChar();
}

bool TraducirTextosDeQt()
{
    static QTranslator* traductor = nullptr;
    if (traductor)
        return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    traductor = t;
    return true;
}

void PrepararForm(QWidget* form, bool centrar)
{
    if (!form)
        return;
    if (form->windowIcon().isNull())
        form->setWindowIcon(QApplication::windowIcon());
    QScreen* pantalla = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect area = pantalla->availableGeometry();
    QRect marco = form->frameGeometry();
    if (marco.width() > area.width() || marco.height() > area.height())
        form->resize(qMin(form->width(), area.width()), qMin(form->height(), area.height()));
    if (centrar) {
        const QWidget* padre = form->parentWidget() ? form->parentWidget()->window() : nullptr;
        const QRect sobre = padre ? padre->frameGeometry() : area;
        marco = form->frameGeometry();
        marco.moveCenter(sobre.center());
        form->move(marco.topLeft());
    }
    marco = form->frameGeometry();
    if (!area.contains(marco)) {
        marco.moveLeft(qBound(area.left(), marco.left(), qMax(area.left(), area.right() - marco.width())));
        marco.moveTop(qBound(area.top(), marco.top(), qMax(area.top(), area.bottom() - marco.height())));
        form->move(marco.topLeft());
    }
}

} // namespace suite
