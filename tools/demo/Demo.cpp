#include "Demo.h"
#include "ConsultasVlx.h"

#include "data/ado/Ado.h"
#include "data/ado/CadenaConexion.h"
#include "data/ado/postgresql/Sesion.h"
#include "data/ado/sqlite/Sesion.h"
#include "suite/Carpetas.h"
#include "suite/ErrorRT.h"
#include "suite/Ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

// Resources of a static library are registered by hand, outside any namespace.
static void cargarRecursoEsquema()
{
    Q_INIT_RESOURCE(esquema);
}

namespace demo {

namespace {

// Inserts rows through the engine with parameters: fast and independent of quoting.
class Insertador {
public:
    Insertador(ado::Connection& cn, const QString& tabla, const QStringList& columnas)
        : cn_(cn)
    {
        QStringList citadas, marcas;
        for (const QString& c : columnas) {
            citadas << cn.motor()->citar(c);
            marcas << QStringLiteral("?");
        }
        sql_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(cn.motor()->citar(tabla), citadas.join(u','), marcas.join(u','));
    }
    void operator()(const std::vector<QVariant>& valores)
    {
        try {
            cn_.motor()->ejecutarSql(sql_, valores);
        } catch (const ado::FalloMotor& f) {
            suite::Lanzar(f.errores.front().numero, f.errores.front().descripcion, QStringLiteral("demo"));
        }
    }

private:
    ado::Connection& cn_;
    QString sql_;
};

struct Cuenta {
    const char* codigo;
    const char* descripcion;
    bool titulo;
    bool confidencial;
};

const Cuenta PlanDeCuentas[] = {
    {"1", "ACTIVO", true, false},
    {"1.1", "ACTIVO CORRIENTE", true, false},
    {"1.1.01", "Caja y bancos", true, false},
    {"1.1.01.001", "Caja en pesos", false, false},
    {"1.1.01.002", "Banco Nación cuenta corriente", false, false},
    {"1.1.02", "Créditos por ventas", true, false},
    {"1.1.02.001", "Deudores por ventas", false, false},
    {"1.1.02.002", "Documentos a cobrar", false, false},
    {"1.2", "ACTIVO NO CORRIENTE", true, false},
    {"1.2.01", "Bienes de uso", true, false},
    {"1.2.01.001", "Rodados", false, false},
    {"1.2.01.002", "Muebles y útiles", false, false},
    {"2", "PASIVO", true, false},
    {"2.1", "PASIVO CORRIENTE", true, false},
    {"2.1.01", "Deudas comerciales", true, false},
    {"2.1.01.001", "Proveedores", false, false},
    {"2.1.01.002", "Sueldos a pagar", false, false},
    {"3", "PATRIMONIO NETO", true, false},
    {"3.1", "Capital", true, false},
    {"3.1.01", "Aportes de los propietarios", true, false},
    {"3.1.01.001", "Capital social", false, false},
    {"4", "INGRESOS", true, false},
    {"4.1", "Ingresos ordinarios", true, false},
    {"4.1.01", "Ventas", true, false},
    {"4.1.01.001", "Ventas de mercaderías", false, false},
    {"4.1.01.002", "Intereses ganados", false, false},
    {"5", "EGRESOS", true, false},
    {"5.1", "GASTOS DE ADMINISTRACIÓN", true, false},
    {"5.1.01", "Gastos generales de administración", true, false},
    {"5.1.01.001", "Sueldos y jornales", false, false},
    {"5.1.01.002", "Cargas sociales", false, false},
    {"5.1.01.003", "Alquileres", false, false},
    {"5.1.01.004", "Energía eléctrica", false, false},
    {"5.1.01.005", "Teléfono e internet", false, false},
    {"5.1.01.006", "Papelería y útiles", false, false},
    {"5.2", "GASTOS DE COMERCIALIZACIÓN", true, false},
    {"5.2.01", "Gastos de ventas", true, false},
    {"5.2.01.001", "Publicidad", false, false},
    {"5.2.01.002", "Fletes y acarreos", false, false},
    {"5.2.01.003", "Comisiones sobre ventas", false, false},
    {"5.3", "GASTOS DE PRODUCCIÓN", true, false},
    {"5.3.01", "Gastos de planta", true, false},
    {"5.3.01.001", "Mantenimiento de planta", false, false},
    {"5.3.01.002", "Materia prima consumida", false, false},
    {"5.4", "GASTOS DE DIRECCIÓN", true, true},
    {"5.4.01", "Retribuciones del directorio", true, true},
    {"5.4.01.001", "Honorarios del directorio", false, true},
};

const char* const Centros[][2] = {
    {"1", "Administración"}, {"11", "Contabilidad"}, {"12", "Finanzas"}, {"13", "Recursos humanos"},
    {"2", "Comercial"}, {"21", "Ventas"}, {"211", "Ventas zona norte"}, {"212", "Ventas zona sur"},
    {"22", "Marketing"}, {"3", "Producción"}, {"31", "Planta Córdoba"}, {"311", "Línea de envasado"},
    {"312", "Mantenimiento"}, {"32", "Depósito central"},
};

struct Linea {
    const char* centro;
    const char* porcentaje;
};
struct Distribucion {
    const char* codigo;
    const char* nombre;
    const char* concepto;
    int pideConfirmacion;
    std::vector<Linea> lineas;
    std::vector<const char*> cuentas;
};

const std::vector<Distribucion>& distribuciones()
{
    static const std::vector<Distribucion> d{
        {"   1", "Gastos de estructura", "Prorrateo de gastos generales", 1,
         {{"11", "30"}, {"12", "20"}, {"13", "10"}, {"21", "25"}, {"31", "15"}},
         {"5.1.01.003", "5.1.01.004", "5.1.01.005"}},
        {"   2", "Comercial", "Gastos de ventas por zona", 1, {{"211", "60"}, {"212", "40"}},
         {"5.2.01.001", "5.2.01.002"}},
        {"   3", "Producción", "Mantenimiento y consumos", 0, {{"311", "33.33"}, {"312", "33.33"}, {"32", "33.34"}},
         {"5.3.01.001"}},
    };
    return d;
}

QString sinPuntos(QString s) { return s.remove(u'.'); }

} // namespace

QString MotorDePrueba()
{
    const QString m = qEnvironmentVariable("VL_MOTOR_PRUEBA");
    if (m.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("PostgreSQL");
    if (m.compare(QLatin1String("ODBC"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("ODBC");
    return QStringLiteral("SQLite");
}

QString EntradaRegistro(const QString& servidor, const QString& carpeta)
{
    QString t;
    QTextStream s(&t);
    s << "[" << servidor << "]\n";
    if (MotorDePrueba() != QLatin1String("SQLite")) {
        // A PostgreSQL server, reached through libpq or through its ODBC driver.
        const QString pg = qEnvironmentVariable("VL_PG_PRUEBA", QStringLiteral("127.0.0.1:5432"));
        if (MotorDePrueba() == QLatin1String("ODBC"))
            s << "Motor=ODBC\nDriver=PostgreSQL Unicode\n";
        else
            s << "Motor=PostgreSQL\n";
        s << "Servidor=" << pg.section(u':', 0, 0) << "\nPuerto=" << pg.section(u':', 1, 1)
          << "\nAdministrador=postgres\n";
    } else {
        s << "Motor=SQLite\nCarpeta=" << carpeta << "\n";
    }
    return t;
}

namespace {
const auto SoloDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void escribirArchivo(const QString& ruta, const QString& texto)
{
    if (!suite::CrearCarpetaPropia(QFileInfo(ruta).absolutePath()))
        suite::Lanzar(75, QStringLiteral("No se puede crear la carpeta de %1").arg(ruta), QStringLiteral("demo"));
    const bool nuevo = !QFileInfo::exists(ruta);
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || (nuevo && !f.setPermissions(SoloDueno)) || f.write(texto.toUtf8()) < 0 || !f.commit())
        suite::Lanzar(75, QStringLiteral("No se puede escribir %1: %2").arg(ruta, f.errorString()), QStringLiteral("demo"));
}
} // namespace

QString EscribirRegistro(const QString& carpeta, const QString& servidor)
{
    QDir().mkpath(carpeta);
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("servidores.ini"));
    QFile::remove(ruta);
    escribirArchivo(ruta, QStringLiteral("; Servidores y el motor que los atiende\n") + EntradaRegistro(servidor, QStringLiteral(".")));
    return ruta;
}

void AnotarEnRegistro(const QString& ruta, const QString& servidor, const QString& entrada)
{
    QStringList lineas;
    if (QFileInfo::exists(ruta)) {
        bool ok = false;
        const QString previo = suite::LeerTextoSuite(ruta, &ok);
        if (!ok)
            suite::Lanzar(75, QStringLiteral("No se puede leer %1").arg(ruta), QStringLiteral("demo"));
        static const QRegularExpression saltos(QStringLiteral("\r\n|\r|\n"));
        lineas = previo.split(saltos);
        while (!lineas.isEmpty() && lineas.last().trimmed().isEmpty())
            lineas.removeLast();
    } else {
        lineas << QStringLiteral("; Registro de servidores: cada sección es un servidor y dice qué motor lo atiende.");
    }
    // The server's section runs from its heading to the next heading; comments just before
    // the next heading belong to that one.
    auto encabezado = [](const QString& l) {
        const QString t = l.trimmed();
        return t.startsWith(u'[') && t.contains(u']') ? t.mid(1, t.indexOf(u']') - 1).trimmed() : QString();
    };
    qsizetype desde = -1;
    for (qsizetype i = 0; i < lineas.size() && desde < 0; ++i) {
        if (encabezado(lineas[i]).compare(servidor.trimmed(), Qt::CaseInsensitive) == 0)
            desde = i;
    }
    const QStringList nueva = entrada.trimmed().split(u'\n');
    if (desde < 0) {
        lineas << QString() << nueva;
    } else {
        qsizetype hasta = desde + 1;
        while (hasta < lineas.size() && encabezado(lineas[hasta]).isEmpty())
            ++hasta;
        while (hasta - 1 > desde && (lineas[hasta - 1].trimmed().isEmpty() || lineas[hasta - 1].trimmed().startsWith(u';'))
               && hasta < lineas.size())
            --hasta;
        lineas.remove(desde, hasta - desde);
        for (qsizetype k = 0; k < nueva.size(); ++k)
            lineas.insert(desde + k, nueva[k]);
    }
    escribirArchivo(ruta, lineas.join(u'\n') + u'\n');
}

bool ExisteBase(const QString& servidor, const QString& base)
{
    try {
        ado::Connection cn;
        cn.Open(CadenaConexion(servidor, base));
        return true;
    } catch (const suite::ErrorEjecucion&) {
        return false;
    }
}

void CrearEmpresa(const QString& servidor, const QString& base, bool conDemo, bool reemplazar, const Tamanio& t)
{
    if (!reemplazar && ExisteBase(servidor, base))
        suite::Lanzar(ado::err::Fallo,
                      QStringLiteral("La base %1 ya existe en el servidor %2; no se la modificó (--reemplazar la crea de nuevo).")
                          .arg(base, servidor),
                      QStringLiteral("demo"));
    CrearBase(servidor, base, reemplazar);
    {
        ado::Connection cn;
        cn.Open(CadenaConexion(servidor, base));
        AplicarEsquema(cn, QStringLiteral(":/esquema/empresa.sql"));
        if (conDemo)
            CargarEmpresa(cn, t);
    }
    const QString estadisticas = QString::fromLatin1(BaseEstadisticas);
    if (!ExisteBase(servidor, estadisticas)) {
        CrearBase(servidor, estadisticas, true);
        ado::Connection cn;
        cn.Open(CadenaConexion(servidor, estadisticas));
        AplicarEsquema(cn, QStringLiteral(":/esquema/estadisticas.sql"));
        CargarEstadisticas(cn);
    }
}

void CrearBase(const QString& servidor, const QString& base, bool reemplazar)
{
    const auto entrada = ado::BuscarServidor(servidor);
    if (!entrada)
        suite::Lanzar(ado::err::Fallo, QStringLiteral("El servidor %1 no figura en el registro de servidores.").arg(servidor),
                      QStringLiteral("demo"));
    const QString motor = entrada->value(QStringLiteral("motor")).toLower();
    if (motor == QLatin1String("sqlite")) {
        const QString carpeta = entrada->value(QStringLiteral("carpeta"));
        QDir().mkpath(carpeta);
        QString error;
        const QString archivo = QDir(carpeta).filePath(base + QStringLiteral(".db"));
        if (reemplazar)
            QFile::remove(archivo);
        if (!ado::sqlite::MotorSqlite::CrearArchivo(archivo, &error))
            suite::Lanzar(ado::err::Fallo, QStringLiteral("No se puede crear la base %1: %2").arg(base, error),
                          QStringLiteral("demo"));
        return;
    }
    if (motor == QLatin1String("postgresql")
        || (motor == QLatin1String("odbc") && entrada->value(QStringLiteral("driver")).contains(QLatin1String("PostgreSQL")))) {
        QString error;
        if (!ado::postgresql::MotorPostgres::CrearBase(*entrada, base, reemplazar, &error))
            suite::Lanzar(ado::err::Fallo, QStringLiteral("No se puede crear la base %1: %2").arg(base, error), QStringLiteral("demo"));
        return;
    }
    suite::Lanzar(ado::err::Fallo, QStringLiteral("No se sabe crear bases en el motor %1.").arg(motor), QStringLiteral("demo"));
}

void AplicarEsquema(ado::Connection& cn, const QString& recurso)
{
    cargarRecursoEsquema();
    QFile f(recurso);
    if (!f.open(QIODevice::ReadOnly))
        suite::Lanzar(75, QStringLiteral("No se encuentra el esquema %1").arg(recurso), QStringLiteral("demo"));
    cn.Execute(QString::fromUtf8(f.readAll()));
}

namespace {

// The chart of accounts, and the extra accounts a larger company asks for.
void cargarCuentas(ado::Connection& cn, const Tamanio& t)
{
    Insertador cuenta(cn, QStringLiteral("MA_CUENTAS"),
                      {"Codigo", "Descripcion", "CodigoOpcional", "TITULO", "Nivel", "Confidencial"});
    for (const Cuenta& c : PlanDeCuentas) {
        const QString codigo = QString::fromUtf8(c.codigo);
        cuenta({codigo, QString::fromUtf8(c.descripcion), c.titulo ? QVariant() : QVariant(sinPuntos(codigo)),
                c.titulo ? 1 : 0, int(codigo.count(u'.') + 1), c.confidencial ? 1 : 0});
    }
    if (t.cuentas > 0) {
        cuenta({QStringLiteral("6"), QStringLiteral("CUENTAS ADICIONALES"), QVariant(), 1, 1, 0});
        for (int i = 1; i <= t.cuentas; ++i) {
            const QString codigo = QStringLiteral("6.%1.%2").arg(i / 10000 + 1).arg(i, 6, 10, QChar(u'0'));
            cuenta({codigo, QStringLiteral("Cuenta adicional %1").arg(i), sinPuntos(codigo), 0, 3, 0});
        }
    }
}

// The cost centres, and the extra ones a larger company asks for.
void cargarCentros(ado::Connection& cn, const Tamanio& t)
{
    Insertador centro(cn, QStringLiteral("TA_CCOSTO"), {"CODIGO", "DESCRIPCION"});
    for (const auto& c : Centros)
        centro({QString::fromUtf8(c[0]), QString::fromUtf8(c[1])});
    // Extra centres: a tree of codes 4, 41, 411, 4111, 4112... up to four characters.
    int extra = 0;
    std::function<void(const QString&)> rama = [&](const QString& prefijo) {
        for (int d = 1; d <= 9 && extra < t.centros; ++d) {
            const QString codigo = prefijo + QString::number(d);
            centro({codigo, QStringLiteral("Centro de costo %1").arg(codigo)});
            ++extra;
            if (codigo.size() < 4)
                rama(codigo);
        }
    };
    for (int raiz = 4; raiz <= 9 && extra < t.centros; ++raiz) {
        centro({QString::number(raiz), QStringLiteral("Centro de costo %1").arg(raiz)});
        ++extra;
        rama(QString::number(raiz));
    }
}

// The distribution tables with their lines, and the accounts assigned to them.
void cargarDistribuciones(ado::Connection& cn)
{
    Insertador linea(cn, QStringLiteral("MA_CUENTAS_CCDIST"),
                     {"CODIGO", "NOMBRE", "CONCEPTO", "CCOSTO", "PORCENTAJE", "PIDECONFIRMACION"});
    for (const Distribucion& d : distribuciones()) {
        for (const Linea& l : d.lineas)
            linea({QString::fromUtf8(d.codigo), QString::fromUtf8(d.nombre), QString::fromUtf8(d.concepto),
                   QString::fromUtf8(l.centro), QString::fromUtf8(l.porcentaje).toDouble(), d.pideConfirmacion});
        for (const char* c : d.cuentas)
            cn.motor()->ejecutarSql(QStringLiteral("UPDATE %1 SET %2=? WHERE %3=?")
                                        .arg(cn.motor()->citar(QStringLiteral("MA_CUENTAS")), cn.motor()->citar(QStringLiteral("CC_DIST")),
                                             cn.motor()->citar(QStringLiteral("Codigo"))),
                                    {QString::fromUtf8(d.codigo), QString::fromUtf8(c)});
    }
}

void cargarConfiguracion(ado::Connection& cn)
{
    Insertador cfg(cn, QStringLiteral("TA_CONFIGURACION"), {"Grupo", "Clave", "Valor", "valoraux", "PoliticaNegocio"});
    const char* const configuracion[][3] = {
        {"EMPRESA", "NOMBRE", "Comercial Andina S.A."}, {"EMPRESA", "CALLE", "Av. Corrientes"},
        {"EMPRESA", "NUMERO", "1234"}, {"EMPRESA", "PISO", "5º B"}, {"EMPRESA", "LOCALIDAD", "Buenos Aires"},
        {"CONTABLE", "PERIODO", "2026"}, {"GENERAL", "ESCRIBE_SOLO_MAYUSCULAS", "NO"},
        {"SEGURIDAD", "SS_BLOQUEOACTIVO", "NO"}, {"SEGURIDAD", "SS_CONFIDENCIALIDAD", "SI"},
        {"CONSULTAS", "TOPCONSART", "1000"},
    };
    for (const auto& c : configuracion)
        cfg({QString::fromUtf8(c[0]), QString::fromUtf8(c[1]), QString::fromUtf8(c[2]), QVariant(), 0});
}

// Users, the menu and the tasks each user may run.
void cargarUsuarios(ado::Connection& cn)
{
    Insertador usuario(cn, QStringLiteral("ta_usuarios"), {"nombre", "clave", "Administrador", "UNegocio"});
    usuario({QStringLiteral("ADMIN"), QStringLiteral("ADMIN"), 1, QStringLiteral("1")});
    usuario({QStringLiteral("ANA"), QStringLiteral("ANA"), 0, QStringLiteral("1")});
    usuario({QStringLiteral("LUIS"), QStringLiteral("LUIS"), 0, QStringLiteral("2")});

    Insertador menu(cn, QStringLiteral("TA_MENU"), {"Clave", "Proceso", "Nombre"});
    menu({QStringLiteral("CON05"), QStringLiteral("PRORRATA.EXE;CN000PR.EXE"),
          QStringLiteral("Tablas de distribución de centros de costos")});
    menu({QStringLiteral("CON01"), QStringLiteral("CN000PR.EXE"), QStringLiteral("Menu Principal")});
    Insertador tarea(cn, QStringLiteral("TA_TAREAS"), {"USUARIO", "TAREA"});
    tarea({QStringLiteral("ADMIN"), QStringLiteral("CON05")});
    tarea({QStringLiteral("ANA"), QStringLiteral("CON05")});
    tarea({QStringLiteral("LUIS"), QStringLiteral("CON01")});
}

// The stock tables the look-ups read: families, deposit, till, position and articles.
void cargarInventario(ado::Connection& cn)
{
    Insertador familia(cn, QStringLiteral("TA_FAMILIAS"), {"IdFamilia", "Descripcion"});
    const char* const familias[][2] = {{"1", "Alimentos"}, {"11", "Lácteos"}, {"12", "Panificados"},
                                       {"2", "Bebidas"}, {"21", "Gaseosas"}, {"22", "Aguas"}};
    for (const auto& f : familias)
        familia({QString::fromUtf8(f[0]), QString::fromUtf8(f[1])});
    Insertador(cn, QStringLiteral("TA_DEPOSITO"), {"IdDeposito", "Descripcion", "Unidad"})(
        {QStringLiteral("1"), QStringLiteral("Depósito central"), QStringLiteral("1")});
    Insertador(cn, QStringLiteral("TA_CAJAS"), {"IdCaja", "Descripcion"})(
        {QStringLiteral("1"), QStringLiteral("Caja principal")});
    Insertador(cn, QStringLiteral("MA_POSICIONES"), {"IDPOSICION", "Descripcion"})(
        {QStringLiteral("0101"), QStringLiteral("Estantería A, nivel 1")});
    // One article at each stock level, and one whose name carries an apostrophe.
    Insertador articulo(cn, QStringLiteral("MA_ARTICULOS"), {"IdArticulo", "Descripcion", "IdFamilia", "PuntoPedido", "Stock", "Precio1", "Precio2"});
    const char* const articulos[][7] = {
        {"A001", "Leche entera 1 l", "11", "0", "40", "1.10", "0.95"},
        {"A002", "Queso cremoso", "11", "10", "25", "7.50", "6.80"},
        {"A003", "Pan lactal", "12", "20", "4", "2.30", "2.00"},
        {"A004", "Agua mineral 2 l", "22", "15", "15", "0.90", "0.75"},
        {"A005", "Gaseosa cola 1,5 l", "21", "0", "0", "1.60", "1.40"},
        {"A006", "Galletitas D'Agostino", "12", "5", "12", "1.25", "1.05"},
    };
    for (const auto& a : articulos)
        articulo({QString::fromUtf8(a[0]), QString::fromUtf8(a[1]), QString::fromUtf8(a[2]), QString::fromUtf8(a[3]).toDouble(),
                  QString::fromUtf8(a[4]).toDouble(), QString::fromUtf8(a[5]).toDouble(),
                  QString::fromUtf8(a[6]).toDouble()});
}

} // namespace

void CargarEmpresa(ado::Connection& cn, const Tamanio& t)
{
    cn.BeginTrans();
    cargarCuentas(cn, t);
    cargarCentros(cn, t);
    cargarDistribuciones(cn);
    cargarConfiguracion(cn);
    cargarUsuarios(cn);
    cargarInventario(cn);
    cn.CommitTrans();
}

void CargarEstadisticas(ado::Connection& cn)
{
    Insertador cfg(cn, QStringLiteral("TA_CONFIGURACION"), {"Grupo", "Clave", "Valor", "valoraux", "PoliticaNegocio"});
    cfg({QStringLiteral("GENERAL"), QStringLiteral("TIMEOUT"), QStringLiteral("30"), QVariant(), 0});
    cfg({QStringLiteral("GENERAL"), QStringLiteral("THEME"), QStringLiteral("2"), QVariant(), 0});
}

QString CadenaConexion(const QString& servidor, const QString& base)
{
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=%2;Pwd=%2;Connect Timeout=5;").arg(servidor, base);
}

QString CrearDemo(const QString& carpeta, const Tamanio& t, const QString& base)
{
    const QString registro = EscribirRegistro(carpeta);
    ado::FijarRegistroServidores(registro);
    const QString servidor = QString::fromLatin1(ServidorDemo);
    CrearBase(servidor, base, true);
    {
        ado::Connection cn;
        cn.Open(CadenaConexion(servidor, base));
        AplicarEsquema(cn, QStringLiteral(":/esquema/empresa.sql"));
        CargarEmpresa(cn, t);
    }
    CrearBase(servidor, QString::fromLatin1(BaseEstadisticas), true);
    {
        ado::Connection cn;
        cn.Open(CadenaConexion(servidor, QString::fromLatin1(BaseEstadisticas)));
        AplicarEsquema(cn, QStringLiteral(":/esquema/estadisticas.sql"));
        CargarEstadisticas(cn);
    }
    EscribirConsultas(QDir(carpeta).filePath(QStringLiteral("consultas.vlx")), {ConsultaCuentas()});
    return registro;
}

} // namespace demo
