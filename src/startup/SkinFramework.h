#pragma once
// The skin engine behind AplicarEstilo. A skin is a Qt style sheet of ours under the program's
// Styles folder: a file (Styles/Vista.cjstyles), or a folder whose file named by the INI name
// is the sheet (Styles/iTunes with Normalitunes.ini). A sheet names its colours first,
//
//   @fondo: #eef3fa;
//   @paleta-Window: @fondo;
//
// and uses them as @fondo in the rules below; a colour named paleta-ROLE also sets that role
// of the palette (Window, WindowText, Base, Text, Button, Highlight...), which the widgets
// without a rule of their own follow.

#include <QPalette>
#include <QPointer>
#include <QString>
#include <QList>

class QWidget;

class SkinFramework {
public:
    // The sheet and palette of a skin's text, the colour names replaced.
    struct Hoja {
        QString reglas;
        QPalette paleta;
        QStringList roles; // the palette roles the skin sets
    };
    static Hoja LeerHoja(const QString& texto);

    // Loads the skin. False, with the reason in Error(), when the file cannot be read; the
    // skin loaded before stays.
    bool LoadSkin(const QString& ruta, const QString& ini);
    // The window and its children wear the loaded skin.
    void ApplyWindow(QWidget* ventana);
    // Bit 1: every window of the program wears the skin, also the dialogs opened later
    // (lookups, messages), not only the windows applied.
    int ApplyOptions() const { return opciones_; }
    void ApplyOptions(int opciones);

    QString Archivo() const { return archivo_; }
    QString NombreIni() const { return ini_; }
    QString Reglas() const { return hoja_.reglas; }
    QPalette Paleta() const { return hoja_.paleta; }
    QString Error() const { return error_; }

    // Back to the platform's look (tests).
    void Quitar();

private:
    void aplicarAlPrograma();

    QString archivo_, ini_, error_;
    Hoja hoja_;
    bool cargada_ = false;
    int opciones_ = 0;
    QList<QPointer<QWidget>> ventanas_;
};

// The program's one skin engine.
SkinFramework& SkinFramework1();
