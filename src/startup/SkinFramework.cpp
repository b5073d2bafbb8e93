#include "startup/SkinFramework.h"

#include "suite/Ini.h"

#include <QApplication>
#include <QFileInfo>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>

SkinFramework& SkinFramework1()
{
    static SkinFramework motor;
    return motor;
}

SkinFramework::Hoja SkinFramework::LeerHoja(const QString& texto)
{
    Hoja h;
    h.paleta = QApplication::palette();
    // Comments go first, so that a colour named inside one is not taken.
    static const QRegularExpression comentario(QStringLiteral(R"(/\*.*?\*/)"), QRegularExpression::DotMatchesEverythingOption);
    QString reglas = texto;
    reglas.remove(comentario);
    static const QRegularExpression definicion(QStringLiteral(R"(^[ \t]*@([A-Za-z][\w-]*)[ \t]*:[ \t]*([^;\r\n]+);[ \t]*\r?\n?)"),
                                               QRegularExpression::MultilineOption);
    QList<QPair<QString, QString>> colores;
    for (auto it = definicion.globalMatch(reglas); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString valor = m.captured(2).trimmed();
        for (const auto& [nombre, anterior] : colores) // a colour may name one defined before it
            if (valor == u'@' + nombre)
                valor = anterior;
        colores.append({m.captured(1), valor});
    }
    reglas.remove(definicion);
    // Longer names first: @fondo-claro is not @fondo followed by "-claro".
    std::sort(colores.begin(), colores.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    for (const auto& [nombre, valor] : colores)
        reglas.replace(u'@' + nombre, valor);
    h.reglas = reglas.trimmed();

    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    for (const auto& [nombre, valor] : colores) {
        if (!nombre.startsWith(QLatin1String("paleta-")))
            continue;
        bool ok = false;
        const int rol = roles.keyToValue(nombre.mid(7).toLatin1().constData(), &ok);
        const QColor c = QColor::fromString(valor);
        if (!ok || !c.isValid())
            continue;
        h.paleta.setColor(QPalette::All, QPalette::ColorRole(rol), c);
        if (rol == QPalette::WindowText || rol == QPalette::Text || rol == QPalette::ButtonText) {
            QColor apagado = c;
            apagado.setAlpha(120); // disabled texts: the same ink, faded
            h.paleta.setColor(QPalette::Disabled, QPalette::ColorRole(rol), apagado);
        }
        h.roles << nombre.mid(7);
    }
    return h;
}

bool SkinFramework::LoadSkin(const QString& ruta, const QString& ini)
{
    const QFileInfo info(ruta);
    QString archivo = ruta;
    if (info.isDir()) {
        if (ini.trimmed().isEmpty()) {
            error_ = QStringLiteral("El estilo %1 es una carpeta y no se indicó su archivo.").arg(ruta);
            return false;
        }
        archivo = suite::BuscarArchivoSinCaso(ruta, ini.trimmed());
    }
    bool ok = false;
    const QString texto = QFileInfo(archivo).isFile() ? suite::LeerTextoSuite(archivo, &ok) : QString();
    if (!ok) {
        error_ = QStringLiteral("No se puede leer el estilo %1.").arg(archivo);
        return false;
    }
    archivo_ = ruta;
    ini_ = ini;
    hoja_ = LeerHoja(texto);
    cargada_ = true;
    error_.clear();
    return true;
}

void SkinFramework::aplicarAlPrograma()
{
    if (!cargada_)
        return;
    // Style sheets are drawn over Fusion the same way on every platform.
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(hoja_.paleta);
    if (qApp->styleSheet() != hoja_.reglas)
        qApp->setStyleSheet(hoja_.reglas);
    // The windows applied one by one follow the program's sheet from now on.
    for (const QPointer<QWidget>& v : std::as_const(ventanas_))
        if (v && !v->styleSheet().isEmpty())
            v->setStyleSheet(QString());
}

void SkinFramework::ApplyWindow(QWidget* ventana)
{
    if (!ventana || !cargada_)
        return;
    if (!ventanas_.contains(ventana))
        ventanas_.append(ventana);
    ventana->setPalette(hoja_.paleta);
    if (opciones_ & 1)
        aplicarAlPrograma();
    else
        ventana->setStyleSheet(hoja_.reglas);
}

void SkinFramework::ApplyOptions(int opciones)
{
    opciones_ = opciones;
    if (opciones_ & 1)
        aplicarAlPrograma();
}

void SkinFramework::Quitar()
{
    for (const QPointer<QWidget>& v : std::as_const(ventanas_))
        if (v) {
            v->setStyleSheet(QString());
            v->setPalette(QPalette());
        }
    ventanas_.clear();
    if (qApp) {
        qApp->setStyleSheet(QString());
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    *this = SkinFramework();
}
