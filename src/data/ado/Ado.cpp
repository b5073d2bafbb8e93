#include "data/ado/Ado.h"

#include "data/ado/CadenaConexion.h"
#include "suite/ErrorRT.h"
#include "suite/Regional.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace ado {

namespace {

const QString OrigenConexion = QStringLiteral("ADODB.Connection");
const QString OrigenRecordset = QStringLiteral("ADODB.Recordset");

[[noreturn]] void lanzar(long numero, const QString& texto, const QString& origen)
{
    suite::Lanzar(numero, texto, origen);
}

QString textoDe(long numero)
{
    switch (numero) {
    case err::ObjetoCerrado: return QStringLiteral("La operación no está permitida si el objeto está cerrado.");
    case err::ObjetoAbierto: return QStringLiteral("La operación no está permitida si el objeto está abierto.");
    case err::ConexionNoValida:
        return QStringLiteral("No se puede usar la conexión para realizar esta operación. Está cerrada o no es válida en este contexto.");
    case err::ElementoNoEncontrado:
        return QStringLiteral("No se encontró el elemento en la colección que corresponde al nombre o al ordinal solicitado.");
    case err::SinRegistroActual:
        return QStringLiteral("BOF o EOF es True, o el registro actual se eliminó. La operación solicitada requiere un registro actual.");
    case err::NoAdmitido:
        return QStringLiteral("El conjunto de registros actual no admite esta operación. Puede deberse a una limitación del "
                              "proveedor o del tipo de bloqueo seleccionado.");
    case err::NoPermitidoEnContexto: return QStringLiteral("La operación solicitada no está permitida en este contexto.");
    default: return {};
    }
}

bool coincideRestriccion(const QVariantList& r, int i, const QString& valor)
{
    if (i >= r.size())
        return true;
    const QVariant& v = r[i];
    if (!v.isValid() || v.isNull() || v.toString().isEmpty())
        return true;
    return v.toString().trimmed().compare(valor, Qt::CaseInsensitive) == 0;
}

bool esFecha(int tipo) { return tipo == adDBTimeStamp || tipo == adDBDate || tipo == adDate || tipo == adDBTime; }

// A text written the way the user's regional settings write dates, for a date column.
QVariant paraColumna(const QVariant& v, int tipo)
{
    if (!esFecha(tipo) || v.typeId() != QMetaType::QString)
        return v;
    const QString s = v.toString().trimmed();
    const QString corta = suite::RegionalActual().fechaCorta;
    QString sinSiglo = corta;
    sinSiglo.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    // The suite writes dates day first ("dd/mm/yy hh:mm"); then the user's own form; then ISO.
    for (const QString& f : {QStringLiteral("dd/MM/yy HH:mm"), QStringLiteral("dd/MM/yyyy HH:mm:ss"),
                             QStringLiteral("dd/MM/yyyy HH:mm"), QStringLiteral("dd/MM/yyyy"), QStringLiteral("dd/MM/yy"),
                             corta + QStringLiteral(" HH:mm:ss"), corta + QStringLiteral(" HH:mm"), corta,
                             sinSiglo + QStringLiteral(" HH:mm:ss"), sinSiglo + QStringLiteral(" HH:mm"), sinSiglo,
                             QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd")}) {
        QDateTime d = QDateTime::fromString(s, f);
        if (d.isValid()) {
            if (f.contains(QLatin1String("yy")) && !f.contains(QLatin1String("yyyy")) && d.date().year() < 1950)
                d = d.addYears(100); // two-digit years are this century's, as the suite reads them
            return d;
        }
    }
    return v;
}


} // namespace

// ---- Errors ---------------------------------------------------------------------------

const Error& Errors::Item(int i) const
{
    if (i < 0 || i >= Count())
        lanzar(err::ElementoNoEncontrado, textoDe(err::ElementoNoEncontrado), OrigenConexion);
    return lista_[size_t(i)];
}

// ---- Connection -----------------------------------------------------------------------

Connection::Connection() = default;
Connection::~Connection() = default;

int Connection::State() const { return motor_ && motor_->abierto() ? adStateOpen : adStateClosed; }

void Connection::ConnectionString(const QString& s)
{
    if (State() == adStateOpen)
        lanzar(err::ObjetoAbierto, textoDe(err::ObjetoAbierto), OrigenConexion);
    cadena_ = s;
}

void Connection::ConnectionTimeout(int segundos)
{
    if (State() == adStateOpen)
        lanzar(err::ObjetoAbierto, textoDe(err::ObjetoAbierto), OrigenConexion);
    tiempoConexion_ = segundos;
}

void Connection::CommandTimeout(int segundos)
{
    tiempoComando_ = segundos;
    if (motor_)
        motor_->fijarTiempoComando(segundos);
}

void Connection::fallo(const FalloMotor& f)
{
    const QString origen = motor_ ? motor_->origen() : OrigenConexion;
    for (const ErrorMotor& e : f.errores)
        errores_.Agregar(Error{e.numero, e.descripcion, origen, e.sqlState, e.nativo});
    const ErrorMotor primero = f.errores.empty() ? ErrorMotor{err::Fallo, QStringLiteral("Error del motor"), {}, 0}
                                                 : f.errores.front();
    lanzar(primero.numero, primero.descripcion, origen);
}

template <class F>
auto Connection::delMotor(F&& llamada) -> decltype(llamada())
{
    try {
        return llamada();
    } catch (const FalloMotor& f) {
        fallo(f);
    }
}

Motor& Connection::motorAbierto(long numeroSiCerrada)
{
    if (State() != adStateOpen)
        lanzar(numeroSiCerrada, textoDe(numeroSiCerrada), OrigenConexion);
    return *motor_;
}

namespace {

// A database file of the user's (the Jet providers): a SQLite file through the SQLite
// engine, an Access file through ODBC with the MDB Tools driver (read only).
std::optional<QMap<QString, QString>> archivoLocal(const DestinoConexion& d, const auto& falla)
{
    std::optional<QMap<QString, QString>> local;
    if (!d.proveedor.contains(QLatin1String("Jet.OLEDB"), Qt::CaseInsensitive))
        return local;
    const QString ruta = d.servidor.trimmed();
    const QFileInfo archivo(ruta);
    if (ruta.isEmpty() || !archivo.absoluteDir().exists())
        falla(QStringLiteral("La ruta de la base de datos no es válida: \"%1\".").arg(ruta), 0, QStringLiteral("3044"));
    if (!archivo.exists())
        falla(QStringLiteral("No se encuentra el archivo de base de datos \"%1\".").arg(ruta), 0, QStringLiteral("3024"));
    QFile f(ruta);
    if (!archivo.isFile() || !f.open(QIODevice::ReadOnly))
        falla(QStringLiteral("No se puede abrir el archivo \"%1\": no es un archivo que se pueda leer.").arg(ruta), 0,
              QStringLiteral("3051"));
    const QByteArray cabecera = f.read(32);
    if (cabecera.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        local = QMap<QString, QString>{{QStringLiteral("motor"), QStringLiteral("SQLite")},
                                       {QStringLiteral("archivo"), archivo.absoluteFilePath()}};
    else if (cabecera.mid(4, 15) == QByteArrayLiteral("Standard Jet DB") || cabecera.mid(4, 15) == QByteArrayLiteral("Standard ACE DB"))
        local = QMap<QString, QString>{{QStringLiteral("motor"), QStringLiteral("ODBC")},
                                       {QStringLiteral("driver"), QStringLiteral("MDBTools")},
                                       {QStringLiteral("dbq"), archivo.absoluteFilePath()}};
    else
        falla(QStringLiteral("No se puede abrir el archivo \"%1\": no es una base de datos de Access ni de SQLite.").arg(ruta), 0,
              QStringLiteral("3051"));
    return local;
}

// The registry's entry of d's server (the local file's, for one); nothing for a server it
// does not list. An Oracle data source has to be listed (with its ODBC driver or DSN). A
// port written after the name ("SRV:1444", "SRV,1444") is where that server listens:
// conPuerto when the registry lists the name without it.
std::optional<QMap<QString, QString>> servidorListado(const DestinoConexion& d, const std::optional<QMap<QString, QString>>& local,
                                                      const auto& falla, bool& conPuerto)
{
    const ServidorPuerto sp = SepararPuerto(d.servidor);
    auto listada = local ? local : BuscarServidor(d.servidor);
    conPuerto = !local && !listada && !sp.puerto.isEmpty() && (listada = BuscarServidor(sp.nombre));
    if (conPuerto)
        listada->insert(QStringLiteral("puerto"), sp.puerto);
    if (!listada && d.proveedor.contains(QLatin1String("ORACLE"), Qt::CaseInsensitive))
        falla(QStringLiteral("El origen de datos Oracle \"%1\" no figura en el registro de servidores (%2): indique allí su "
                             "controlador ODBC (Motor=ODBC, Driver=... o DSN=...).")
                  .arg(d.servidor.trimmed(), RutaRegistroServidores()),
              17, QStringLiteral("08001"));
    return listada;
}

} // namespace

void Connection::Open(const QString& connectionString, const QString& userId, const QString& password, long)
{
    if (State() == adStateOpen)
        lanzar(err::ObjetoAbierto, textoDe(err::ObjetoAbierto), OrigenConexion);
    errores_.Clear();
    const QString cadena = connectionString.isEmpty() ? cadena_ : connectionString;
    const DestinoConexion d = InterpretarCadena(cadena);

    auto falla = [&](const QString& texto, long nativo, const QString& estado) {
        fallo(FalloMotor({ErrorMotor{err::Fallo, texto, estado, nativo}}));
    };
    const std::optional<QMap<QString, QString>> local = archivoLocal(d, falla);
    if (!local && d.servidor.trimmed().isEmpty() && d.base.trimmed().isEmpty())
        falla(QStringLiteral("La cadena de conexión no indica servidor ni base de datos: \"%1\".").arg(cadena), 0,
              QStringLiteral("08001"));
    if (const auto problema = local ? std::nullopt : ProblemaRegistroServidores())
        falla(QStringLiteral("El registro de servidores %1 no se puede usar: %2.")
                  .arg(QFileInfo(RutaRegistroServidores()).absoluteFilePath(), *problema),
              0, QStringLiteral("08001"));
    // A server the registry does not list is a SQL Server, reached through ODBC.
    bool conPuerto = false;
    const auto listada = servidorListado(d, local, falla, conPuerto);
    const auto entrada = listada.value_or(QMap<QString, QString>{{QStringLiteral("motor"), QStringLiteral("SQLServer")}});
    const QString nombreMotor = entrada.value(QStringLiteral("motor"));
    const QString nombreServidor = conPuerto ? SepararPuerto(d.servidor).nombre : d.servidor.trimmed();
    auto motor = CrearMotor(nombreMotor);
    if (!motor)
        falla(QStringLiteral("El motor \"%1\" del servidor \"%2\" no existe en este programa (%3). Los motores son SQLite, "
                             "PostgreSQL y ODBC.")
                  .arg(nombreMotor, nombreServidor, UbicacionEnRegistro(nombreServidor, QStringLiteral("Motor"))),
              0, QStringLiteral("IM002"));
    if (listada && !local && entrada.contains(QStringLiteral("puerto"))) {
        bool ok = false;
        const int puerto = entrada.value(QStringLiteral("puerto")).trimmed().toInt(&ok);
        if (!ok || puerto < 1 || puerto > 65535)
            falla(QStringLiteral("El puerto \"%1\" del servidor \"%2\" no es un número de puerto (1 a 65535)%3.")
                      .arg(entrada.value(QStringLiteral("puerto")), nombreServidor,
                           conPuerto ? QString() : QStringLiteral(" (%1)").arg(UbicacionEnRegistro(nombreServidor, QStringLiteral("Puerto")))),
                  0, QStringLiteral("08001"));
    }

    ParametrosConexion p;
    p.servidor = d.servidor.trimmed();
    p.base = d.base.trimmed();
    p.usuario = userId.isEmpty() ? d.usuario : userId;
    p.clave = password.isEmpty() ? d.clave : password;
    p.tiempoConexion = d.tiempoConexion.value_or(tiempoConexion_);
    p.registro = entrada;

    motor->fijarTiempoComando(tiempoComando_);
    motor_.reset(); // a failure to open is the connection's own, not a previous engine's
    delMotor([&] { motor->abrir(p); });
    motor_ = std::move(motor);
    parametros_ = p;
    cadena_ = cadena;
}

void Connection::Close()
{
    if (State() != adStateOpen)
        lanzar(err::ObjetoCerrado, textoDe(err::ObjetoCerrado), OrigenConexion);
    motor_->cerrar();
    motor_.reset();
}

Recordset Connection::Execute(const QString& commandText, long* recordsAffected, long)
{
    Motor& m = motorAbierto(err::ConexionNoValida);
    errores_.Clear();
    if (WillExecute)
        WillExecute(commandText);
    if (auto cursor = delMotor([&] { return m.abrirCursor(commandText); })) {
        if (recordsAffected)
            *recordsAffected = -1;
        return Recordset::desdeCursor(std::move(cursor), this, commandText);
    }
    Resultado r = delMotor([&] { return m.ejecutar(commandText); });
    if (recordsAffected)
        *recordsAffected = r.afectados;
    if (!r.conFilas)
        return Recordset();
    return Recordset::desdeResultado(std::move(r), this, commandText);
}

long Connection::BeginTrans()
{
    Motor& m = motorAbierto(err::ObjetoCerrado);
    errores_.Clear();
    delMotor([&] { m.iniciarTransaccion(); });
    return 1;
}

void Connection::CommitTrans()
{
    Motor& m = motorAbierto(err::ObjetoCerrado);
    errores_.Clear();
    delMotor([&] { m.confirmarTransaccion(); });
}

void Connection::RollbackTrans()
{
    Motor& m = motorAbierto(err::ObjetoCerrado);
    errores_.Clear();
    delMotor([&] { m.deshacerTransaccion(); });
}

QString Connection::DefaultDatabase() const { return motor_ && motor_->abierto() ? motor_->base() : parametros_.base; }

void Connection::DefaultDatabase(const QString& base)
{
    Motor& m = motorAbierto(err::ObjetoCerrado);
    if (base.trimmed().compare(m.base(), Qt::CaseInsensitive) == 0)
        return;
    // Another database of the same server: the current one stays when it cannot be opened.
    errores_.Clear();
    ParametrosConexion p = parametros_;
    p.base = base.trimmed();
    auto otro = CrearMotor(p.registro.value(QStringLiteral("motor")));
    otro->fijarTiempoComando(tiempoComando_);
    delMotor([&] { otro->abrir(p); });
    motor_ = std::move(otro);
    parametros_ = p;
}

Recordset Connection::OpenSchema(int schema, const QVariantList& r)
{
    Motor& m = motorAbierto(err::ObjetoCerrado);
    errores_.Clear();
    Resultado res;
    res.conFilas = true;
    auto col = [](const char* n, int tipo, long tam) { return Columna{QString::fromLatin1(n), tipo, tam, {}, {}, false}; };
    const QString catalogo = m.base();
    const QString esquema = QStringLiteral("dbo");
    delMotor([&] {
        if (schema == adSchemaTables) {
            res.columnas = {col("TABLE_CATALOG", adVarWChar, 128), col("TABLE_SCHEMA", adVarWChar, 128),
                            col("TABLE_NAME", adVarWChar, 128), col("TABLE_TYPE", adVarWChar, 32)};
            res.filas.fijarColumnas(res.columnas.size());
            for (const TablaEsquema& t : m.tablas()) {
                if (coincideRestriccion(r, 0, catalogo) && coincideRestriccion(r, 1, esquema)
                    && coincideRestriccion(r, 2, t.nombre) && coincideRestriccion(r, 3, t.tipo))
                    res.filas.push_back({catalogo, esquema, t.nombre, t.tipo});
            }
        } else if (schema == adSchemaColumns) {
            res.columnas = {col("TABLE_CATALOG", adVarWChar, 128), col("TABLE_SCHEMA", adVarWChar, 128),
                            col("TABLE_NAME", adVarWChar, 128), col("COLUMN_NAME", adVarWChar, 128),
                            col("ORDINAL_POSITION", adInteger, 4), col("IS_NULLABLE", adBoolean, 2),
                            col("DATA_TYPE", adInteger, 4), col("CHARACTER_MAXIMUM_LENGTH", adInteger, 4)};
            res.filas.fijarColumnas(res.columnas.size());
            const QString tabla = r.size() > 2 && r[2].isValid() ? r[2].toString().trimmed() : QString();
            if (coincideRestriccion(r, 0, catalogo) && coincideRestriccion(r, 1, esquema)) {
                for (const ColumnaEsquema& c : m.columnas(tabla)) {
                    if (!coincideRestriccion(r, 3, c.columna))
                        continue;
                    const bool texto = c.tipo == adChar || c.tipo == adWChar || c.tipo == adVarChar || c.tipo == adVarWChar
                        || c.tipo == adLongVarChar || c.tipo == adLongVarWChar;
                    res.filas.push_back({catalogo, esquema, c.tabla, c.columna, c.posicion, c.admiteNulos, c.tipo,
                                         texto ? QVariant(int(c.tamanio)) : QVariant()});
                }
            }
        } else {
            lanzar(err::NoAdmitido, textoDe(err::NoAdmitido), OrigenConexion);
        }
    });
    return Recordset::desdeResultado(std::move(res), this, {});
}

// ---- Field ----------------------------------------------------------------------------

QString Field::Name() const { return rs_->datos_.columnas[size_t(i_)].nombre; }
int Field::Type() const { return rs_->datos_.columnas[size_t(i_)].tipo; }
long Field::DefinedSize() const { return rs_->datos_.columnas[size_t(i_)].tamanio; }


void Field::Value(const QVariant& v)
{
    rs_->filaEnEdicion()[size_t(i_)] = paraColumna(v, Type());
    rs_->tocados_[size_t(i_)] = true;
}

// ---- Recordset ------------------------------------------------------------------------

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

Recordset Recordset::desdeResultado(Resultado r, Connection* conexion, const QString& source)
{
    Recordset rs;
    rs.datos_ = std::move(r);
    rs.abierto_ = true;
    rs.pos_ = 0;
    rs.conexion_ = conexion;
    rs.source_ = source;
    rs.cursorType_ = adOpenForwardOnly;
    rs.lockType_ = adLockReadOnly;
    return rs;
}

Recordset Recordset::desdeCursor(std::unique_ptr<Cursor> c, Connection* conexion, const QString& source)
{
    Recordset rs;
    rs.datos_.conFilas = true;
    rs.datos_.columnas = c->columnas();
    rs.cursor_ = std::move(c);
    rs.abierto_ = true;
    rs.conexion_ = conexion;
    rs.source_ = source;
    rs.avanzarCursor();
    rs.vacio_ = rs.finCursor_;
    return rs;
}

void Recordset::avanzarCursor()
{
    try {
        finCursor_ = !cursor_->siguiente();
    } catch (const FalloMotor& f) {
        finCursor_ = true;
        if (conexion_)
            conexion_->fallo(f);
        throw;
    }
    if (finCursor_)
        return;
    actual_.resize(datos_.columnas.size());
    for (size_t i = 0; i < actual_.size(); ++i)
        cursor_->leer(int(i), actual_[i]);
}

void Recordset::Open(const QString& source, Connection* activeConnection, int cursorType, int lockType, long)
{
    if (abierto_)
        lanzar(err::ObjetoAbierto, textoDe(err::ObjetoAbierto), OrigenRecordset);
    if (!activeConnection || activeConnection->State() != adStateOpen)
        lanzar(err::ConexionNoValida, textoDe(err::ConexionNoValida), OrigenRecordset);
    activeConnection->errores_.Clear();
    if (activeConnection->WillExecute)
        activeConnection->WillExecute(source);
    if (cursorType != adOpenUnspecified)
        cursorType_ = cursorType;
    if (lockType != adLockUnspecified)
        lockType_ = lockType;
    Motor& m = *activeConnection->motor_;
    if (cursorType_ == adOpenForwardOnly && lockType_ == adLockReadOnly) {
        if (auto cursor = activeConnection->delMotor([&] { return m.abrirCursor(source); })) {
            const int tipoCursor = cursorType_, tipoBloqueo = lockType_;
            *this = desdeCursor(std::move(cursor), activeConnection, source);
            cursorType_ = tipoCursor;
            lockType_ = tipoBloqueo;
            return;
        }
    }
    Resultado r = activeConnection->delMotor([&] { return m.ejecutar(source); });
    source_ = source;
    conexion_ = activeConnection;
    editMode_ = adEditNone;
    if (!r.conFilas) { // a command without rows leaves the recordset closed, as ADO does
        datos_ = Resultado();
        abierto_ = false;
        return;
    }
    datos_ = std::move(r);
    pos_ = 0;
    abierto_ = true;
}

void Recordset::Close()
{
    if (!abierto_)
        lanzar(err::ObjetoCerrado, textoDe(err::ObjetoCerrado), OrigenRecordset);
    if (editMode_ != adEditNone)
        lanzar(err::NoPermitidoEnContexto, textoDe(err::NoPermitidoEnContexto), OrigenRecordset);
    abierto_ = false;
    datos_ = Resultado();
    buffer_.clear();
    tocados_.clear();
    cursor_.reset();
    actual_.clear();
}

void Recordset::faltaAbierto() const { lanzar(err::ObjetoCerrado, textoDe(err::ObjetoCerrado), OrigenRecordset); }

void Recordset::faltaFila() const { lanzar(err::SinRegistroActual, textoDe(err::SinRegistroActual), OrigenRecordset); }

bool Recordset::BOF() const
{
    requiereAbierto();
    if (cursor_)
        return vacio_;
    return datos_.filas.empty() || pos_ < 0;
}

bool Recordset::EOF_() const
{
    requiereAbierto();
    if (cursor_)
        return finCursor_;
    return datos_.filas.empty() || pos_ >= long(datos_.filas.size());
}

void Recordset::MoveFirst()
{
    requiereAbierto();
    if (editMode_ != adEditNone)
        Update();
    if (cursor_) { // forward-only: the query runs again, as ADO does
        try {
            cursor_->reiniciar();
        } catch (const FalloMotor& f) {
            finCursor_ = true;
            if (conexion_)
                conexion_->fallo(f);
            throw;
        }
        avanzarCursor();
        return;
    }
    pos_ = 0;
}

void Recordset::MoveNext()
{
    requiereAbierto();
    if (editMode_ != adEditNone)
        Update();
    if (EOF_())
        lanzar(err::SinRegistroActual, textoDe(err::SinRegistroActual), OrigenRecordset);
    if (cursor_) {
        avanzarCursor();
        return;
    }
    ++pos_;
}

void Recordset::MovePrevious()
{
    requiereAbierto();
    if (cursor_)
        lanzar(err::NoAdmitido, textoDe(err::NoAdmitido), OrigenRecordset);
    if (editMode_ != adEditNone)
        Update();
    if (BOF())
        lanzar(err::SinRegistroActual, textoDe(err::SinRegistroActual), OrigenRecordset);
    --pos_;
}

void Recordset::MoveLast()
{
    requiereAbierto();
    if (cursor_)
        lanzar(err::NoAdmitido, textoDe(err::NoAdmitido), OrigenRecordset);
    if (editMode_ != adEditNone)
        Update();
    pos_ = long(datos_.filas.size()) - 1;
    if (pos_ < 0)
        pos_ = 0;
}

long Recordset::RecordCount() const
{
    requiereAbierto();
    if (cursor_)
        return -1;
    return long(datos_.filas.size());
}

int Recordset::FieldCount() const
{
    requiereAbierto();
    return int(datos_.columnas.size());
}

int Recordset::indiceDe(const QString& nombre) const
{
    const QString buscado = nombre.trimmed();
    // Names are mostly written as the columns are: an exact match is found first, cheaply.
    for (size_t i = 0; i < datos_.columnas.size(); ++i)
        if (datos_.columnas[i].nombre == buscado)
            return int(i);
    for (size_t i = 0; i < datos_.columnas.size(); ++i)
        if (datos_.columnas[i].nombre.compare(buscado, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Field Recordset::Fields(int indice)
{
    requiereAbierto();
    if (indice < 0 || indice >= int(datos_.columnas.size()))
        lanzar(err::ElementoNoEncontrado, textoDe(err::ElementoNoEncontrado), OrigenRecordset);
    return Field(this, indice);
}

Field Recordset::Fields(const QString& nombre)
{
    requiereAbierto();
    const int i = indiceDe(nombre);
    if (i < 0)
        lanzar(err::ElementoNoEncontrado, textoDe(err::ElementoNoEncontrado) + QStringLiteral(" (%1)").arg(nombre),
               OrigenRecordset);
    return Field(this, i);
}

std::vector<QVariant>& Recordset::filaEnEdicion()
{
    requiereAbierto();
    if (lockType_ == adLockReadOnly)
        lanzar(err::NoAdmitido, textoDe(err::NoAdmitido), OrigenRecordset);
    if (editMode_ == adEditNone) {
        requiereFila();
        const auto fila = datos_.filas[size_t(pos_)];
        buffer_.assign(fila.begin(), fila.end());
        tocados_.assign(buffer_.size(), false);
        editMode_ = adEditInProgress;
    }
    return buffer_;
}

void Recordset::AddNew()
{
    requiereAbierto();
    if (lockType_ == adLockReadOnly)
        lanzar(err::NoAdmitido, textoDe(err::NoAdmitido), OrigenRecordset);
    if (editMode_ != adEditNone)
        Update();
    buffer_.assign(datos_.columnas.size(), QVariant());
    tocados_.assign(datos_.columnas.size(), false);
    editMode_ = adEditAdd;
}

void Recordset::CancelUpdate()
{
    requiereAbierto();
    editMode_ = adEditNone;
    buffer_.clear();
    tocados_.clear();
}

QString Recordset::tablaBase() const
{
    QString tabla;
    for (const Columna& c : datos_.columnas) {
        if (c.tablaBase.isEmpty())
            continue;
        if (!tabla.isEmpty() && tabla.compare(c.tablaBase, Qt::CaseInsensitive) != 0)
            return {}; // columns of several tables: not updatable
        tabla = c.tablaBase;
    }
    if (!tabla.isEmpty())
        return tabla;
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(?:\\[?dbo\\]?\\.)?\\[?([A-Za-z_#@][\\w#@$]*)\\]?"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(source_);
    return m.hasMatch() ? m.captured(1) : QString();
}

void Recordset::Update()
{
    requiereAbierto();
    if (editMode_ == adEditNone)
        return;
    if (!conexion_ || conexion_->State() != adStateOpen)
        lanzar(err::ConexionNoValida, textoDe(err::ConexionNoValida), OrigenRecordset);
    const QString tabla = tablaBase();
    if (tabla.isEmpty())
        lanzar(err::NoAdmitido, textoDe(err::NoAdmitido), OrigenRecordset);

    auto citado = [&](const QString& id) { return conexion_->motor_->citar(id); };
    auto nombreBase = [&](size_t i) {
        const Columna& c = datos_.columnas[i];
        return c.columnaBase.isEmpty() ? c.nombre : c.columnaBase;
    };
    std::vector<QVariant> parametros;
    QString sql;
    if (editMode_ == adEditAdd) {
        QStringList columnas, marcas;
        for (size_t i = 0; i < buffer_.size(); ++i) {
            if (!tocados_[i])
                continue;
            columnas << citado(nombreBase(i));
            marcas << QStringLiteral("?");
            parametros.push_back(buffer_[i]);
        }
        sql = columnas.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(citado(tabla))
                                 : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(citado(tabla), columnas.join(u','), marcas.join(u','));
    } else {
        QStringList asignaciones, condiciones;
        for (size_t i = 0; i < buffer_.size(); ++i) {
            if (!tocados_[i])
                continue;
            asignaciones << citado(nombreBase(i)) + QStringLiteral("=?");
            parametros.push_back(buffer_[i]);
        }
        if (asignaciones.isEmpty()) {
            CancelUpdate();
            return;
        }
        // The row as it was read: every column of the table identifies it.
        const auto original = datos_.filas[size_t(pos_)];
        for (size_t i = 0; i < original.size(); ++i) {
            if (datos_.columnas[i].tablaBase.isEmpty() && !datos_.columnas[i].columnaBase.isEmpty())
                continue;
            if (!original[i].isValid() || original[i].isNull()) {
                condiciones << citado(nombreBase(i)) + QStringLiteral(" IS NULL");
            } else {
                condiciones << citado(nombreBase(i)) + QStringLiteral("=?");
                parametros.push_back(original[i]);
            }
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(citado(tabla), asignaciones.join(u','), condiciones.join(QStringLiteral(" AND ")));
    }

    conexion_->errores_.Clear();
    const Resultado r = conexion_->delMotor([&] { return conexion_->motor_->ejecutarSql(sql, parametros); });
    if (editMode_ == adEditInProgress && r.afectados < 1) {
        const QString texto = QStringLiteral("No se encontró la fila para actualizarla; otro usuario pudo haber cambiado sus valores.");
        conexion_->errores_.Agregar(Error{err::FilaNoEncontrada, texto, OrigenRecordset, QStringLiteral("01001"), 0});
        lanzar(err::FilaNoEncontrada, texto, OrigenRecordset);
    }
    if (editMode_ == adEditAdd) {
        datos_.filas.push_back(buffer_);
        pos_ = long(datos_.filas.size()) - 1;
    } else {
        std::copy(buffer_.begin(), buffer_.end(), datos_.filas[size_t(pos_)].begin());
    }
    editMode_ = adEditNone;
    buffer_.clear();
    tocados_.clear();
}

} // namespace ado
