// Skins and the program's icon: AplicarEstilo and AsignarIcono.
#include "startup/Estilos.h"

#include "data/Sesion.h"
#include "startup/CNStuffContable.h"
#include "startup/SkinFramework.h"
#include "suite/Equipo.h"
#include "suite/Ini.h"
#include "suite/SuiteUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QWidget>
#include <cmath>
#include <cstdio>

short gEstilo = 0;

ArchivoEstilo ArchivoDeEstilo(int estilo)
{
    switch (estilo) {
    case 1: return {QStringLiteral("Styles/Vista.cjstyles"), QString()};
    case 2: return {QStringLiteral("Styles/WinXP.Luna.cjstyles"), QString()};
    case 3: return {QStringLiteral("Styles/WinXP.Royale.cjstyles"), QString()};
    case 4: return {QStringLiteral("Styles/iTunes"), QStringLiteral("Normalitunes.ini")};
    default: return {QStringLiteral("Styles/Office2007.cjstyles"), QString()};
    }
}

namespace {

// The number at the start of the text, rounded with halves to even; 0 when there is none.
short numeroDeEstilo(const QString& texto)
{
    bool ok = false;
    QString t = texto.trimmed();
    qsizetype fin = 0;
    while (fin < t.size() && (t[fin].isDigit() || t[fin] == u'.' || (fin == 0 && (t[fin] == u'-' || t[fin] == u'+'))))
        ++fin;
    const double v = t.left(fin).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0;
    const double r = std::nearbyint(v);
    return r < -32768 || r > 32767 ? 0 : short(r);
}

} // namespace

void AplicarEstilo(QWidget* form)
{
    const QString valor = suite::LeerIni(QStringLiteral("cn000pr.ini"), suite::NombreUsuarioWindows().toUpper() + QStringLiteral("Styles"),
                                         QStringLiteral("Styles"), QStringLiteral("1"));
    gEstilo = numeroDeEstilo(valor);
    const ArchivoEstilo e = ArchivoDeEstilo(gEstilo);
    SkinFramework& motor = SkinFramework1();
    // A skin that cannot be read leaves the platform's look; the program goes on.
    if (!motor.LoadSkin(suite::CarpetaConBarra(CarpetaAplicacion()) + e.archivo, e.ini)) {
        std::fprintf(stderr, "%s Se sigue con el aspecto del sistema.\n", qPrintable(motor.Error()));
        return;
    }
    // The program's sheet first: set while the form's widgets are still unpolished it costs
    // little; the window then only joins it (the same end state as the other way round).
    motor.ApplyOptions(motor.ApplyOptions() | 1);
    motor.ApplyWindow(form);
}

QIcon IconoVela(const QString& recurso)
{
    QIcon icono;
    const QDir dir(recurso);
    for (const QString& archivo : dir.entryList(QDir::Files, QDir::Name))
        icono.addFile(dir.filePath(archivo));
    return icono;
}

void AsignarIcono(QWidget* form, const QString& recurso)
{
    if (!form)
        return;
    const QIcon icono = IconoVela(recurso);
    if (!icono.isNull()) {
        form->setWindowIcon(icono);
    } else {
        // The icon file of the current folder; one that does not read leaves the icon as it was.
        QImageReader lector(QDir::current().filePath(QStringLiteral("vela.ico")));
        QIcon archivo;
        for (int n = 0; n < 16 && lector.canRead(); ++n) {
            const QImage imagen = lector.read();
            if (imagen.isNull())
                break;
            archivo.addPixmap(QPixmap::fromImage(imagen));
        }
        if (!archivo.isNull())
            form->setWindowIcon(archivo);
    }
    if (QString::fromLatin1(form->metaObject()->className()).compare(QLatin1String("FRMMDI"), Qt::CaseInsensitive) == 0)
        return;
    for (const char* nombre : {"UtilVela1", "TBarRep1", "Util0011"}) {
        QWidget* control = form->findChild<QWidget*>(QString::fromLatin1(nombre));
        if (control && (control->metaObject()->indexOfProperty("StyleBar") >= 0 || control->property("StyleBar").isValid()))
            control->setProperty("StyleBar", gFlatToolbars);
    }
    QCoreApplication::processEvents();
}
