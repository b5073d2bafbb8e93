#pragma once
// The stored properties of a control on a form: named values matched without regard to
// letter case, a value equal to its write default left out, an absent value read as its read
// default. Kept as text, one "Name = value" a line under the control's [section], in a file
// beside the program:
//
//   [UtilVela1]
//   ItemHeight = 600
//   NormalBackColor = &H2A2A2A
//   ImageFolder = "C:\ORBE\img_menu\"
//   NuevoVisible = True
//
// The read default's type says how a stored text is read (Boolean, number, 16-bit or 32-bit
// integer, text); a text that does not read as that type gives the read default and a notice.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class BolsaPropiedades {
public:
    QVariant ReadProperty(const QString& nombre, const QVariant& porDefecto) const;
    void WriteProperty(const QString& nombre, const QVariant& valor, const QVariant& porDefecto);
    bool Contiene(const QString& nombre) const;
    int Cantidad() const { return int(valores_.size()); }

    // The section of the control in a properties file. A missing file, a file that cannot be
    // read or is not text, and a file without the section give an empty bag; lines that are
    // not "Name = value" are skipped. Each problem is left in Avisos() (Spanish, with the
    // file and the line).
    static BolsaPropiedades Cargar(const QString& ruta, const QString& control);
    static BolsaPropiedades DesdeTexto(const QString& texto, const QString& control, const QString& origen = {});
    // The section as text; Guardar replaces the file (other sections are kept). False, with the
    // reason in *error, when it cannot be written.
    QString ComoTexto(const QString& control) const;
    bool Guardar(const QString& ruta, const QString& control, QString* error = nullptr) const;

    QStringList Avisos() const { return avisos_; }

private:
    static QString Escribir(const QVariant& v);
    int indice(const QString& nombre) const;

    QList<QPair<QString, QString>> valores_; // name as written, stored text
    QList<int> lineas_;                      // the line each was read from (0: not read)
    mutable QStringList avisos_;
    QString origen_;
};
