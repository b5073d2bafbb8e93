#include "EmpresaPrueba.h"

#include "Demo.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/postgresql/Sesion.h"

#include <QFile>

EmpresaPrueba::EmpresaPrueba(int cuentasExtra, int centrosExtra)
{
    demo::CrearDemo(carpeta(), demo::Tamanio{cuentasExtra, centrosExtra});
}

EmpresaPrueba::~EmpresaPrueba() { ado::FijarRegistroServidores({}); }

QString EmpresaPrueba::cadena() const { return cadena(QString::fromLatin1(demo::BaseDemo)); }

QString EmpresaPrueba::cadena(const QString& base) const
{
    return demo::CadenaConexion(QString::fromLatin1(demo::ServidorDemo), base);
}

std::unique_ptr<ado::Connection> EmpresaPrueba::conectar() const
{
    auto cn = std::make_unique<ado::Connection>();
    cn->Open(cadena());
    return cn;
}

bool EmpresaPrueba::borrarBase(const QString& base) const
{
    if (PeculiaridadesDelMotor().basesEnArchivos)
        return QFile::remove(ruta(base + QStringLiteral(".db")));
    return ado::postgresql::MotorPostgres::BorrarBase(*ado::BuscarServidor(QString::fromLatin1(demo::ServidorDemo)), base, nullptr);
}

QVariant EmpresaPrueba::valor(ado::Connection& cn, const QString& sql)
{
    ado::Recordset rs = cn.Execute(sql);
    if (rs.State() != ado::adStateOpen || rs.EOF_())
        return {};
    return rs.Fields(0).Value();
}
