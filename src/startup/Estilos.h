#pragma once
// Skins and the program's icon, shared by the suite's forms.

#include <QIcon>
#include <QString>

class QWidget;

// The skin number last read from cn000pr.ini.
extern short gEstilo;

// The skin of a number, relative to the program's folder, and the INI name the engine gets:
// 1 Vista, 2 WinXP.Luna, 3 WinXP.Royale, 4 iTunes (Normalitunes.ini), any other Office2007.
struct ArchivoEstilo {
    QString archivo;
    QString ini;
};
ArchivoEstilo ArchivoDeEstilo(int estilo);

// The Windows user's skin (key Styles of section USERStyles in cn000pr.ini, 1 when absent)
// on the form and, from then on, on every window of the program. A skin that cannot be read
// is reported on standard error and the platform's look stays.
void AplicarEstilo(QWidget* form);

// The program's icon: every picture of the resource folder ICONVELA.
QIcon IconoVela(const QString& recurso = QStringLiteral(":/ICONVELA"));

// The form's icon: the resource ICONVELA, else vela.ico of the current folder, else the icon
// it had. Then StyleBar = gFlatToolbars on its bars UtilVela1, TBarRep1 and Util0011 where
// they have that property.
void AsignarIcono(QWidget* form, const QString& recurso = QStringLiteral(":/ICONVELA"));
