#include "Entorno.h"

#include "suite/Regional.h"
#include "suite/Reloj.h"

#include <QFile>

EntornoPrueba::EntornoPrueba(const QDateTime& reloj)
{
    suite::Regional r;
    r.decimal = u',';
    r.miles = u'.';
    r.digitos = 2;
    r.fechaCorta = QStringLiteral("dd/MM/yyyy");
    suite::FijarRegional(r);
    suite::FijarReloj([reloj] { return reloj; });
}

EntornoPrueba::~EntornoPrueba()
{
    suite::RestablecerRegional();
    suite::FijarReloj({});
}

QString EntornoPrueba::escribir(const QString& nombre, const QByteArray& contenido) const
{
    const QString r = ruta(nombre);
    QFile f(r);
    if (f.open(QIODevice::WriteOnly))
        f.write(contenido);
    return r;
}
