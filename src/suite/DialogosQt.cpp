// The Qt dialogs, the program's default. Kept apart from Dialogos.cpp so that a program
// without windows that defines its own DialogosPredeterminados() does not load Qt's GUI
// libraries.
#include "suite/Dialogos.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace suite {

namespace {

std::vector<int> botonesDe(int estilo)
{
    switch (estilo & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

QMessageBox::Icon iconoDe(int estilo)
{
    switch (estilo & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::ButtonRole rolDe(int respuesta)
{
    switch (respuesta) {
    case vbCancel:
    case vbAbort: return QMessageBox::RejectRole;
    case vbNo: return QMessageBox::NoRole;
    case vbYes: return QMessageBox::YesRole;
    default: return QMessageBox::AcceptRole;
    }
}

// "Texto (*.MDB)|..." pairs into Qt's "Texto (*.MDB *.mdb);;..." with both letter cases.
QString filtroQt(const QString& filtro)
{
    const QStringList partes = filtro.split(u'|');
    QStringList salida;
    for (qsizetype i = 0; i + 1 < partes.size(); i += 2) {
        QStringList patrones;
        for (const QString& p : partes[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString q = p.trimmed();
            patrones << q;
            if (q.toLower() != q)
                patrones << q.toLower();
            if (q.toUpper() != q)
                patrones << q.toUpper();
        }
        salida << QStringLiteral("%1 (%2)").arg(partes[i].trimmed(), patrones.join(u' '));
    }
    return salida.join(QStringLiteral(";;"));
}

} // namespace

int DialogosQt::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    QMessageBox caja(iconoDe(estilo), titulo, texto, QMessageBox::NoButton,
                     QApplication::activeWindow());
    const std::vector<int> respuestas = botonesDe(estilo);
    std::vector<QPushButton*> botones;
    for (int r : respuestas)
        botones.push_back(caja.addButton(TextoBoton(r), rolDe(r)));

    const size_t predeterminado = (estilo & vbDefaultButton3) ? 2 : (estilo & vbDefaultButton2) ? 1 : 0;
    caja.setDefaultButton(botones[std::min(predeterminado, botones.size() - 1)]);

    // Esc answers Cancel where there is one, OK when it is the only button.
    for (size_t i = 0; i < respuestas.size(); ++i) {
        if (respuestas[i] == vbCancel || respuestas.size() == 1)
            caja.setEscapeButton(botones[i]);
    }

    caja.exec();
    for (size_t i = 0; i < botones.size(); ++i) {
        if (caja.clickedButton() == botones[i])
            return respuestas[i];
    }
    return vbCancel;
}

std::optional<QString> DialogosQt::InputBox(const QString& texto, const QString& titulo,
                                            const QString& porDefecto)
{
    QInputDialog d(QApplication::activeWindow());
    d.setWindowTitle(titulo);
    d.setLabelText(texto);
    d.setTextValue(porDefecto);
    d.setOkButtonText(TextoBoton(vbOK));
    d.setCancelButtonText(TextoBoton(vbCancel));
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.textValue();
}

std::optional<QString> DialogosQt::AbrirArchivo(const QString& titulo, const QString& filtro)
{
    const QString archivo =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), titulo, {}, filtroQt(filtro));
    if (archivo.isEmpty())
        return std::nullopt;
    return archivo;
}

std::optional<QString> DialogosQt::GuardarArchivo(const QString& titulo, const QString& filtro, const QString& propuesto)
{
    const QString archivo =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), titulo, propuesto, filtroQt(filtro));
    if (archivo.isEmpty())
        return std::nullopt;
    return archivo;
}

IDialogos& DialogosPredeterminados()
{
    static DialogosQt qt;
    return qt;
}

} // namespace suite
