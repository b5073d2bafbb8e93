#include "distribution/HistorialDistribucion.h"

#include "data/Sesion.h"
#include "startup/CNStuffContable.h"
#include "suite/Equipo.h"
#include "suite/SuiteUtil.h"

#include <QDateTime>
#include <QHash>
#include <QThread>

namespace {

QString literal(const QString& texto) { return QString(texto).replace(u'\'', QStringLiteral("''")); }
QString codigoTabla(const QString& codigo) { return suite::FormatoCodigo(codigo, 4); }

constexpr int LargoUsuario = 50, LargoPuesto = 64, LargoDetalle = 255;

QString fechaLegible(const QVariant& v)
{
    if (v.isNull())
        return {};
    QDateTime f = v.metaType().id() == QMetaType::QDateTime ? v.toDateTime() : QDateTime();
    const QString texto = suite::TextoVariant(v).trimmed();
    if (!f.isValid())
        f = QDateTime::fromString(texto.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!f.isValid())
        f = QDateTime::fromString(texto.left(19), Qt::ISODate);
    return f.isValid() ? f.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : texto;
}

QString siNo(bool b) { return b ? QStringLiteral("Sí") : QStringLiteral("No"); }

} // namespace

AutorGrabacion AutorGrabacion::actual()
{
    QString usuario = !gUsuarioLogeado.trimmed().isEmpty() ? gUsuarioLogeado : gDB.gUsuario;
    if (usuario.trimmed().isEmpty())
        usuario = suite::NombreUsuarioWindows();
    return {usuario.trimmed(), suite::NombreEquipo().trimmed()};
}

QString VersionTabla::nombreOperacion() const
{
    const QString o = operacion.trimmed().toUpper();
    if (o == QLatin1String("COPIAR"))
        return QStringLiteral("Copia");
    if (o == QLatin1String("IMPORTAR"))
        return QStringLiteral("Importación");
    if (o == QLatin1String("RESTAURAR"))
        return QStringLiteral("Restauración");
    if (!despues.existe())
        return QStringLiteral("Baja");
    return antes.existe() ? QStringLiteral("Modificación") : QStringLiteral("Alta");
}

QString VersionTabla::cuando() const
{
    QString t;
    if (!fecha.isEmpty())
        t = QStringLiteral("del ") + fecha;
    if (!usuario.isEmpty())
        t += (t.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("de ") + usuario;
    return t;
}

HistorialDistribucion::HistorialDistribucion(DB_Dll& db)
    : db_(db)
{
}

QStringList HistorialDistribucion::SentenciasCrear()
{
    return {
        QStringLiteral("CREATE TABLE MA_CUENTAS_CCDIST_HIST (ID int IDENTITY(1,1) NOT NULL PRIMARY KEY, VERSION varchar(40) NOT NULL, "
                       "CODIGO varchar(10) NOT NULL, FECHA datetime NULL, USUARIO varchar(50) NULL, PUESTO varchar(64) NULL, "
                       "OPERACION varchar(20) NOT NULL, DETALLE varchar(255) NULL)"),
        QStringLiteral("CREATE INDEX IX_MA_CUENTAS_CCDIST_HIST_CODIGO ON MA_CUENTAS_CCDIST_HIST (CODIGO)"),
        QStringLiteral("CREATE TABLE MA_CUENTAS_CCDIST_HISTLIN (ID int IDENTITY(1,1) NOT NULL PRIMARY KEY, VERSION varchar(40) NOT NULL, "
                       "CODIGO varchar(10) NOT NULL, ESTADO char(1) NOT NULL, ORDEN int NOT NULL, NOMBRE varchar(60) NULL, "
                       "CONCEPTO varchar(60) NULL, CCOSTO varchar(10) NOT NULL, PORCENTAJE numeric(18,4) NOT NULL, PIDECONFIRMACION int NULL)"),
        QStringLiteral("CREATE INDEX IX_MA_CUENTAS_CCDIST_HISTLIN_CODIGO ON MA_CUENTAS_CCDIST_HISTLIN (CODIGO)"),
    };
}

QString HistorialDistribucion::SentenciaRegistro(const QString& version, const QString& codigo, const AutorGrabacion& autor,
                                                 const MotivoGrabacion& motivo)
{
    return QStringLiteral("INSERT INTO MA_CUENTAS_CCDIST_HIST (VERSION,CODIGO,FECHA,USUARIO,PUESTO,OPERACION,DETALLE) VALUES('")
        + literal(version) + QStringLiteral("','") + literal(codigoTabla(codigo)) + QStringLiteral("',GETDATE(),'")
        + literal(autor.usuario.left(LargoUsuario)) + QStringLiteral("','") + literal(autor.puesto.left(LargoPuesto))
        + QStringLiteral("','") + literal(motivo.operacion.left(20)) + QStringLiteral("','")
        + literal(motivo.detalle.left(LargoDetalle)) + QStringLiteral("')");
}

QString HistorialDistribucion::SentenciaCopia(const QString& version, const QString& codigo, QChar estado)
{
    return QStringLiteral("INSERT INTO MA_CUENTAS_CCDIST_HISTLIN (VERSION,CODIGO,ESTADO,ORDEN,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,"
                          "PIDECONFIRMACION) SELECT '")
        + literal(version) + QStringLiteral("',CODIGO,'") + estado + QStringLiteral("',ID,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,")
        + QStringLiteral("PIDECONFIRMACION FROM MA_CUENTAS_CCDIST WHERE CODIGO='") + literal(codigoTabla(codigo))
        + QStringLiteral("'");
}

QString HistorialDistribucion::SentenciaVersiones(const QString& codigo)
{
    return QStringLiteral("SELECT ID,VERSION,FECHA,USUARIO,PUESTO,OPERACION,DETALLE FROM MA_CUENTAS_CCDIST_HIST WHERE CODIGO='")
        + literal(codigoTabla(codigo)) + QStringLiteral("' ORDER BY ID DESC");
}

QString HistorialDistribucion::SentenciaLineasVersiones(const QString& codigo)
{
    return QStringLiteral("SELECT VERSION,ESTADO,NOMBRE,CONCEPTO,PIDECONFIRMACION,CCOSTO,PORCENTAJE FROM MA_CUENTAS_CCDIST_HISTLIN "
                          "WHERE CODIGO='")
        + literal(codigoTabla(codigo)) + QStringLiteral("' ORDER BY VERSION,ESTADO,ORDEN");
}

bool HistorialDistribucion::existe(const QString& tabla)
{
    // A read of no rows: it fails only when the table is not there (or the link is gone).
    try {
        db_.gCnn.Execute(QStringLiteral("SELECT COUNT(*) FROM ") + tabla + QStringLiteral(" WHERE 1=0"));
        return true;
    } catch (const std::exception&) {
        db_.gCnn.Errors().Clear();
        return false;
    }
}

bool HistorialDistribucion::Preparar(QString& error)
{
    const QStringList crear = SentenciasCrear();
    const QString tablas[] = {Tabla, TablaLineas};
    for (int i = 0; i < 2; ++i) {
        if (existe(tablas[i]))
            continue;
        for (QString s : crear.mid(2 * i, 2)) { // the table, then its index
            long n = 0;
            db_.EjecutaConsultaSQL(s, n);
            if (db_.gCnn.Errors().Count() == 0)
                continue;
            error = db_.gCnn.Errors().Item(0).Description;
            db_.gCnn.Errors().Clear();
            // Another workstation creating it at the same moment: it is there once that commits.
            bool creada = false;
            for (int espera = 0; espera < 20 && !creada; ++espera) {
                creada = existe(tablas[i]);
                if (!creada)
                    QThread::msleep(100);
            }
            if (!creada)
                return false;
            error.clear();
            break;
        }
    }
    return true;
}

std::vector<VersionTabla> HistorialDistribucion::Versiones(const QString& codigo)
{
    std::vector<VersionTabla> versiones;
    QHash<QString, size_t> porVersion;
    ado::Recordset rs;
    QString s = SentenciaVersiones(codigo);
    db_.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (rs.State() != ado::adStateOpen)
        return versiones;
    const auto texto = [&](const char* campo) { return suite::TextoVariant(suite::SinNulo(rs.Fields(QString::fromLatin1(campo)).Value())); };
    for (; !rs.EOF_(); rs.MoveNext()) {
        VersionTabla v;
        v.id = texto("ID").toLongLong();
        v.version = texto("VERSION").trimmed();
        v.fecha = fechaLegible(rs.Fields(QStringLiteral("FECHA")).Value());
        v.usuario = texto("USUARIO").trimmed();
        v.puesto = texto("PUESTO").trimmed();
        v.operacion = texto("OPERACION").trimmed();
        v.detalle = texto("DETALLE");
        porVersion.insert(v.version, versiones.size());
        versiones.push_back(std::move(v));
    }
    db_.CierraRecordset(&rs);
    if (versiones.empty())
        return versiones;

    ado::Recordset lineas;
    QString sl = SentenciaLineasVersiones(codigo);
    db_.AbrirRecordset(sl, lineas, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (lineas.State() != ado::adStateOpen)
        return versiones;
    const auto campo = [&](const char* c) { return suite::TextoVariant(suite::SinNulo(lineas.Fields(QString::fromLatin1(c)).Value())); };
    for (; !lineas.EOF_(); lineas.MoveNext()) {
        const auto i = porVersion.constFind(campo("VERSION").trimmed());
        if (i == porVersion.cend())
            continue;
        VersionTabla& v = versiones[*i];
        EstadoTabla& e = campo("ESTADO").trimmed().toUpper() == QLatin1String("A") ? v.antes : v.despues;
        if (e.lineas.empty()) {
            e.nombre = campo("NOMBRE");
            e.concepto = campo("CONCEPTO");
            const QString pide = campo("PIDECONFIRMACION").trimmed();
            e.pideConfirmacion = !pide.isEmpty() && suite::ValorNumerico(pide) != suite::Moneda();
        }
        e.lineas.emplace_back(campo("CCOSTO"), suite::ValorNumerico(campo("PORCENTAJE")));
    }
    db_.CierraRecordset(&lineas);
    return versiones;
}

std::vector<CambioTabla> HistorialDistribucion::Cambios(const VersionTabla& v)
{
    std::vector<CambioTabla> c;
    const EstadoTabla &a = v.antes, &d = v.despues;
    if (a.existe() && d.existe()) {
        if (a.nombre != d.nombre)
            c.push_back({QStringLiteral("Nombre"), {}, a.nombre, d.nombre});
        if (a.concepto != d.concepto)
            c.push_back({QStringLiteral("Concepto"), {}, a.concepto, d.concepto});
        if (a.pideConfirmacion != d.pideConfirmacion)
            c.push_back({QStringLiteral("Total 100 %"), {}, siNo(a.pideConfirmacion), siNo(d.pideConfirmacion)});
    }
    // Lines paired by centre (trimmed, without letter case), a repeated centre occurrence by
    // occurrence; the order is that of the table after, then the lines it lost.
    QHash<QString, QList<suite::Moneda>> previas;
    for (const auto& [centro, porcentaje] : a.lineas)
        previas[centro.trimmed().toUpper()].append(porcentaje);
    QHash<QString, int> emparejadas;
    for (const auto& [centro, porcentaje] : d.lineas) {
        const QString clave = centro.trimmed().toUpper();
        const QList<suite::Moneda>& p = previas[clave];
        int& n = emparejadas[clave];
        if (n >= p.size()) {
            c.push_back({QStringLiteral("Línea agregada"), centro.trimmed(), {}, FmtPorcentaje(porcentaje)});
            continue;
        }
        if (p[n] != porcentaje)
            c.push_back({QStringLiteral("Porcentaje"), centro.trimmed(), FmtPorcentaje(p[n]), FmtPorcentaje(porcentaje)});
        ++n;
    }
    QHash<QString, int> vistas;
    for (const auto& [centro, porcentaje] : a.lineas) {
        const QString clave = centro.trimmed().toUpper();
        if (vistas[clave]++ >= emparejadas.value(clave))
            c.push_back({QStringLiteral("Línea quitada"), centro.trimmed(), FmtPorcentaje(porcentaje), {}});
    }
    return c;
}

QString HistorialDistribucion::Resumen(const VersionTabla& v)
{
    const std::vector<CambioTabla> cambios = Cambios(v);
    if (cambios.empty())
        return v.despues.existe() ? QStringLiteral("Sin cambios") : QString();
    QStringList partes;
    for (const CambioTabla& c : cambios) {
        if (c.que == QStringLiteral("Línea agregada"))
            partes << QStringLiteral("+ %1 (%2 %)").arg(c.centro, c.despues);
        else if (c.que == QStringLiteral("Línea quitada"))
            partes << QStringLiteral("− %1 (%2 %)").arg(c.centro, c.antes);
        else if (c.que == QStringLiteral("Porcentaje"))
            partes << QStringLiteral("%1: %2 % → %3 %").arg(c.centro, c.antes, c.despues);
        else
            partes << QStringLiteral("%1: «%2» → «%3»").arg(c.que, c.antes, c.despues);
    }
    return partes.join(QStringLiteral("; "));
}
