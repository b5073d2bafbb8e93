#include "distribution/AlmacenDistribucion.h"

#include "startup/CNStuffContable.h"
#include "suite/Dialogos.h"
#include "suite/Progreso.h"
#include "suite/Regional.h"
#include "suite/SuiteUtil.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QUuid>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// A load of accounts shows its progress display once it has lasted this long.
constexpr int DemoraProgresoMs = 100;

// Text as typed, with its quotes doubled: stored and found as typed, never ending the literal.
QString literal(const QString& texto) { return QString(texto).replace(u'\'', QStringLiteral("''")); }

// The header of a table from the first row of its lines.
void leerCabecera(ado::Recordset& lineas, TablaDistribucion& t)
{
    t.nombre = suite::TextoVariant(suite::SinNulo(lineas.Fields(QStringLiteral("Nombre")).Value()));
    t.concepto = suite::TextoVariant(suite::SinNulo(lineas.Fields(QStringLiteral("concepto")).Value()));
    const QString pide = suite::TextoVariant(suite::SinNulo(lineas.Fields(QStringLiteral("PideConfirmacion")).Value()));
    t.pideConfirmacion = !pide.trimmed().isEmpty() && suite::ValorNumerico(pide) != suite::Moneda();
}

LineaDistribucion leerLinea(ado::Recordset& lineas)
{
    LineaDistribucion l;
    l.centro = suite::TextoVariant(lineas.Fields(QStringLiteral("CCosto")).Value());
    l.porcentaje = FmtPorcentaje(suite::ValorNumerico(suite::TextoVariant(lineas.Fields(QStringLiteral("Porcentaje")).Value())));
    return l;
}

// The checksum of a table's rows, fed row by row in ID order: every column a save writes,
// the percentage as its exact currency units.
class SumaDeLineas {
public:
    void agregar(ado::Recordset& rs)
    {
        const auto texto = [&](const char* campo) {
            return suite::TextoVariant(suite::SinNulo(rs.Fields(QString::fromLatin1(campo)).Value()));
        };
        const QString fila = texto("NOMBRE") + u'\x1f' + texto("CONCEPTO") + u'\x1f' + texto("PIDECONFIRMACION").trimmed() + u'\x1f'
            + texto("CCOSTO") + u'\x1f' + QString::number(suite::ValorNumerico(texto("PORCENTAJE")).unidades()) + u'\x1e';
        suma_.addData(fila.toUtf8());
        alguna_ = true;
    }
    // Empty for a code without rows.
    QByteArray resultado() const { return alguna_ ? suma_.result() : QByteArray(); }

private:
    QCryptographicHash suma_{QCryptographicHash::Sha256};
    bool alguna_ = false;
};

} // namespace

AlmacenDistribucion::AlmacenDistribucion(DB_Dll& db)
    : db_(db)
{
}

QString AlmacenDistribucion::Codigo(const QString& codigo) { return suite::FormatoCodigo(codigo, 4); }

QString AlmacenDistribucion::SentenciaLineas(const QString& codigo)
{
    return QStringLiteral("SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO='") + literal(Codigo(codigo))
        + QStringLiteral("' ORDER BY ID");
}

QString AlmacenDistribucion::SentenciaCuentas(const QString& codigo)
{
    return QStringLiteral("SELECT CODIGO,DESCRIPCION FROM MA_CUENTAS WHERE CC_DIST='") + literal(Codigo(codigo))
        + QStringLiteral("' ORDER BY CODIGO");
}

QString AlmacenDistribucion::LoteGrabar(const QString& codigo, const QString& nombre, const QString& concepto,
                                        bool pideConfirmacion, const std::vector<std::pair<QString, QString>>& lineas,
                                        const MotivoGrabacion* motivo) const
{
    return QStringLiteral("BEGIN TRANSACTION") + CRLF + SentenciaBloqueo(codigo) + CRLF
        + conHistorial(codigo, motivo, SentenciasGrabar(codigo, nombre, concepto, pideConfirmacion, lineas));
}

bool AlmacenDistribucion::PrepararHistorial(QString& error, const AutorGrabacion& autor)
{
    autor_.reset();
    if (!HistorialDistribucion(db_).Preparar(error))
        return false;
    autor_ = autor;
    return true;
}

QString AlmacenDistribucion::conHistorial(const QString& codigo, const MotivoGrabacion* motivo, const QString& cuerpo) const
{
    if (!autor_ || !motivo)
        return cuerpo;
    const QString version = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString lote = HistorialDistribucion::SentenciaRegistro(version, codigo, *autor_, *motivo) + CRLF
        + HistorialDistribucion::SentenciaCopia(version, codigo, u'A') + CRLF + cuerpo;
    if (!lote.endsWith(CRLF))
        lote += CRLF;
    return lote + HistorialDistribucion::SentenciaCopia(version, codigo, u'D') + CRLF;
}

QString AlmacenDistribucion::SentenciaBloqueo(const QString& codigo)
{
    return QStringLiteral("EXEC sp_getapplock @Resource='MA_CUENTAS_CCDIST:") + literal(Codigo(codigo).toUpper())
        + QStringLiteral("', @LockMode='Exclusive', @LockOwner='Transaction'");
}

QString AlmacenDistribucion::SentenciasGrabar(const QString& codigo, const QString& nombre, const QString& concepto,
                                              bool pideConfirmacion, const std::vector<std::pair<QString, QString>>& lineas) const
{
    const QString c = literal(Codigo(codigo));
    QString lote = QStringLiteral("DELETE MA_CUENTAS_CCDIST WHERE CODIGO='") + c + QStringLiteral("'") + CRLF;
    for (const auto& [centro, porcentaje] : lineas) {
        if (centro.trimmed().isEmpty())
            continue;
        lote += QStringLiteral("INSERT INTO MA_CUENTAS_CCDIST (CODIGO,NOMBRE,CONCEPTO,CCOSTO,PORCENTAJE,PIDECONFIRMACION) ")
            + QStringLiteral("VALUES('") + c + QStringLiteral("','") + literal(nombre) + QStringLiteral("','")
            + literal(concepto) + QStringLiteral("','") + literal(centro) + QStringLiteral("',")
            + db_.SQLValue(porcentaje, QStringLiteral("@")) + QStringLiteral(",")
            + (pideConfirmacion ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral(")") + CRLF;
    }
    return lote;
}

QString AlmacenDistribucion::SentenciaLineasBloqueadas(const QString& codigo)
{
    return QStringLiteral("SELECT * FROM MA_CUENTAS_CCDIST WITH (UPDLOCK, HOLDLOCK) WHERE CODIGO='") + literal(Codigo(codigo))
        + QStringLiteral("' ORDER BY ID");
}

QString AlmacenDistribucion::SentenciaPlanilla(const QString& codigo)
{
    QString s = QStringLiteral("SELECT CODIGO,NOMBRE,CONCEPTO,PIDECONFIRMACION,CCOSTO,PORCENTAJE FROM MA_CUENTAS_CCDIST");
    if (!codigo.trimmed().isEmpty())
        s += QStringLiteral(" WHERE CODIGO='") + literal(Codigo(codigo)) + QStringLiteral("'");
    return s + QStringLiteral(" ORDER BY CODIGO,ID");
}

QString AlmacenDistribucion::LoteBorrar(const QString& codigo)
{
    return QStringLiteral("BEGIN TRANSACTION") + CRLF + SentenciaBloqueo(codigo) + CRLF + SentenciasBorrar(codigo);
}

QString AlmacenDistribucion::SentenciasBorrar(const QString& codigo)
{
    const QString c = literal(Codigo(codigo));
    return QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST=NULL WHERE CC_DIST='") + c + QStringLiteral("'") + CRLF
        + QStringLiteral("DELETE MA_CUENTAS_CCDIST WHERE CODIGO='") + c + QStringLiteral("'");
}

QString AlmacenDistribucion::SentenciaAsignar(const QString& cuenta, const QString& codigo)
{
    return QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST ='") + literal(Codigo(codigo)) + QStringLiteral("' WHERE CODIGO ='")
        + literal(cuenta) + QStringLiteral("'");
}

QString AlmacenDistribucion::SentenciaDesasignar(const QString& cuenta)
{
    return QStringLiteral("UPDATE MA_CUENTAS SET CC_DIST=NULL WHERE CODIGO='") + literal(cuenta) + QStringLiteral("'");
}

QString AlmacenDistribucion::SentenciaGrabada(const QString& codigo)
{
    return QStringLiteral("SELECT * FROM MA_CUENTAS_CCDIST WHERE CODIGO='") + literal(Codigo(codigo)) + QStringLiteral("'");
}

QString AlmacenDistribucion::SentenciaTablas()
{
    return QStringLiteral("SELECT CODIGO,NOMBRE,CONCEPTO FROM MA_CUENTAS_CCDIST GROUP BY CODIGO,NOMBRE,CONCEPTO ORDER BY CODIGO");
}

QString AlmacenDistribucion::SentenciaDescripciones(const QString& codigo)
{
    return QStringLiteral("SELECT CODIGO,DESCRIPCION FROM TA_CCOSTO WHERE CODIGO IN (SELECT LTRIM(RTRIM(CCOSTO)) FROM "
                          "MA_CUENTAS_CCDIST WHERE CODIGO='")
        + literal(Codigo(codigo)) + QStringLiteral("')");
}

// The centres' descriptions of a table's lines in one statement that can use TA_CCOSTO's
// key, keyed by trimmed code without letter case; a centre it leaves out (a code stored with
// leading blanks) is looked up on its own, trimmed on both sides.
void AlmacenDistribucion::leerDescripciones(const QString& codigo, std::vector<LineaDistribucion>& lineas)
{
    QHash<QString, QString> porCentro;
    try {
        ado::Recordset rs = db_.gCnn.Execute(db_.SS_TSinonimos(SentenciaDescripciones(codigo)));
        ado::Field centro = rs.Fields(0), descripcion = rs.Fields(1);
        for (; !rs.EOF_(); rs.MoveNext()) {
            const QString clave = suite::TextoVariant(centro.Value()).trimmed().toUpper();
            if (!porCentro.contains(clave))
                porCentro.insert(clave, suite::TextoVariant(descripcion.Value()));
        }
    } catch (const std::exception&) {
        db_.gCnn.Errors().Clear();
        porCentro.clear();
    }
    for (LineaDistribucion& l : lineas) {
        const auto d = porCentro.constFind(l.centro.trimmed().toUpper());
        l.descripcion = d != porCentro.cend()
            ? *d
            : suite::TextoVariant(db_.DatosTabla(QStringLiteral("TA_CCOSTO"), l.centro, QStringLiteral("DESCRIPCION"),
                                                 QStringLiteral("CODIGO"), 8, QString(), true, false));
    }
}

TablaDistribucion AlmacenDistribucion::Cargar(const QString& codigo)
{
    TablaDistribucion t;
    ado::Recordset lineas, cuentas;
    QString s1 = SentenciaLineas(codigo);
    QString s2 = SentenciaCuentas(codigo);
    suite::Rutina r = suite::Rutina::conDialogoError(QStringLiteral("Cargar"));
    r([&] { db_.AbrirRecordset(s1, lineas, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly); })
     ([&] {
         if (lineas.State() == ado::adStateOpen && !lineas.EOF_())
             leerCabecera(lineas, t);
     })
     ([&] {
         SumaDeLineas suma;
         for (; lineas.State() == ado::adStateOpen && !lineas.EOF_(); lineas.MoveNext()) {
             t.lineas.push_back(leerLinea(lineas));
             suma.agregar(lineas);
         }
         t.huella = suma.resultado();
     })
     ([&] {
         if (!t.lineas.empty())
             leerDescripciones(codigo, t.lineas);
     })
     ([&] { db_.AbrirRecordset(s2, cuentas, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly); })
     ([&] {
         if (cuentas.State() != ado::adStateOpen || cuentas.EOF_())
             return;
         suite::ProgresoInicio(QStringLiteral("Cargando Cuenta"), true, DemoraProgresoMs);
         ado::Field codigoCuenta = cuentas.Fields(QStringLiteral("CODIGO"));
         ado::Field descripcion = cuentas.Fields(QStringLiteral("DESCRIPCION"));
         // The values are viewed, not copied: the cursor then reuses their storage row after row.
         QString apoyo1, apoyo2;
         for (; !cuentas.EOF_(); cuentas.MoveNext()) {
             suite::AtenderEventos();
             const QStringView cuenta = suite::VistaTexto(codigoCuenta.Value(), apoyo1);
             suite::ProgresoPaso(false, QStringLiteral("Cargando Cuentas"), cuenta);
             t.cuentas.agregar(cuenta, suite::VistaTexto(descripcion.Value(), apoyo2));
         }
         suite::ProgresoFin();
     })
     ([&] { db_.CierraRecordset(&cuentas); })
     ([&] { db_.CierraRecordset(&lineas); });
    if (suite::Progreso::instancia().activo())
        suite::ProgresoFin();
    return t;
}

std::optional<QByteArray> AlmacenDistribucion::leerHuella(const QString& sentencia)
{
    ado::Recordset lineas;
    QString s = sentencia;
    db_.AbrirRecordset(s, lineas, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (lineas.State() != ado::adStateOpen)
        return std::nullopt;
    SumaDeLineas suma;
    for (; !lineas.EOF_(); lineas.MoveNext())
        suma.agregar(lineas);
    db_.CierraRecordset(&lineas);
    return suma.resultado();
}

QByteArray AlmacenDistribucion::Huella(const QString& codigo) { return leerHuella(SentenciaLineas(codigo)).value_or(QByteArray()); }

void AlmacenDistribucion::deshacer()
{
    QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
    long n = 0;
    db_.EjecutaConsultaSQL(rollback, n);
}

bool AlmacenDistribucion::confirmar(const QString& titulo)
{
    long n = 0;
    if (db_.gCnn.Errors().Count() == 0) {
        QString commit = QStringLiteral("COMMIT TRANSACTION");
        db_.EjecutaConsultaSQL(commit, n);
        if (db_.gCnn.Errors().Count() == 0)
            return true;
        // A commit that failed must not pass for a save: the transaction is undone.
    }
    const QString descripcion = db_.gCnn.Errors().Item(0).Description;
    QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
    db_.EjecutaConsultaSQL(rollback, n);
    suite::MsgBox(descripcion, suite::vbCritical, titulo);
    return false;
}

bool AlmacenDistribucion::Grabar(const QString& codigo, const QString& nombre, const QString& concepto, bool pideConfirmacion,
                                 const std::vector<std::pair<QString, QString>>& lineas, const MotivoGrabacion& motivo)
{
    const bool alguna = std::any_of(lineas.begin(), lineas.end(), [](const auto& l) { return !l.first.trimmed().isEmpty(); });
    if (!alguna) {
        suite::MsgBox(MensajeSinLineas, suite::vbInformation, QStringLiteral("Aviso al Usuario"));
        return false;
    }
    QString lote = LoteGrabar(codigo, nombre, concepto, pideConfirmacion, lineas, &motivo);
    long n = 0;
    db_.EjecutaConsultaSQL(lote, n);
    return confirmar(QStringLiteral("ATENCIÓN"));
}

AlmacenDistribucion::Grabado AlmacenDistribucion::Grabar(const QString& codigo, const QString& nombre, const QString& concepto,
                                                         bool pideConfirmacion, const std::vector<std::pair<QString, QString>>& lineas,
                                                         const QByteArray& esperada, QByteArray& actual,
                                                         const MotivoGrabacion& motivo)
{
    const bool alguna = std::any_of(lineas.begin(), lineas.end(), [](const auto& l) { return !l.first.trimmed().isEmpty(); });
    if (!alguna) {
        suite::MsgBox(MensajeSinLineas, suite::vbInformation, QStringLiteral("Aviso al Usuario"));
        return Grabado::Fallo;
    }
    const QString titulo = QStringLiteral("ATENCIÓN");
    QString inicio = QStringLiteral("BEGIN TRANSACTION") + CRLF + SentenciaBloqueo(codigo);
    long n = 0;
    db_.EjecutaConsultaSQL(inicio, n);
    if (db_.gCnn.Errors().Count() > 0) {
        confirmar(titulo); // rolls back and shows why
        return Grabado::Fallo;
    }
    // Read under the transaction's lock: no other save can slip in between this and the write.
    const auto ahora = leerHuella(SentenciaLineasBloqueadas(codigo));
    if (!ahora) {
        deshacer();
        return Grabado::Fallo;
    }
    if (*ahora != esperada) {
        deshacer();
        actual = *ahora;
        return Grabado::Cambiada;
    }
    QString lote = conHistorial(codigo, &motivo, SentenciasGrabar(codigo, nombre, concepto, pideConfirmacion, lineas));
    db_.EjecutaConsultaSQL(lote, n);
    const auto escrita = db_.gCnn.Errors().Count() == 0 ? leerHuella(SentenciaLineas(codigo)) : std::nullopt;
    if (!confirmar(titulo))
        return Grabado::Fallo;
    actual = escrita.value_or(QByteArray());
    return Grabado::Hecho;
}

AlmacenDistribucion::Borrado AlmacenDistribucion::Borrar(const QString& codigo)
{
    const QString c = Codigo(codigo);
    const QString pregunta = QStringLiteral("¿Desea eliminar la Tabla de Distribución de Centros de Costos Código:") + c
        + QStringLiteral(" ?\nSe desafectarán las cuentas asignadas a dicha tabla.\nConfirma?");
    if (suite::MsgBox(pregunta, suite::vbYesNo + suite::vbQuestion, QStringLiteral("Atención")) != suite::vbYes)
        return Borrado::Cancelado;
    const MotivoGrabacion motivo{QStringLiteral("BORRAR"), {}};
    QString lote = QStringLiteral("BEGIN TRANSACTION") + CRLF + SentenciaBloqueo(codigo) + CRLF
        + conHistorial(codigo, &motivo, SentenciasBorrar(codigo));
    long n = 0;
    db_.EjecutaConsultaSQL(lote, n);
    return confirmar(QStringLiteral("Atención")) ? Borrado::Hecho : Borrado::Fallo;
}

void AlmacenDistribucion::Asignar(const QString& cuenta, const QString& codigo)
{
    QString s = SentenciaAsignar(cuenta, codigo);
    long n = 0;
    db_.EjecutaConsultaSQL(s, n);
}

bool AlmacenDistribucion::AsignarVarias(const QStringList& cuentas, const QString& codigo)
{
    // Each account only while it is still free (or already this table's): another workstation
    // may have taken one since it was checked, and then nothing is assigned.
    const QString c = literal(Codigo(codigo));
    QString lote = QStringLiteral("BEGIN TRANSACTION") + CRLF;
    for (const QString& cuenta : cuentas)
        lote += SentenciaAsignar(cuenta, codigo) + QStringLiteral(" AND (CC_DIST IS NULL OR CC_DIST ='") + c + QStringLiteral("')")
            + CRLF;
    long n = 0;
    db_.EjecutaConsultaSQL(lote, n);
    if (db_.gCnn.Errors().Count() == 0 && n >= 0 && n < long(cuentas.size())) { // -1: the server gave no counts
        QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
        long m = 0;
        db_.EjecutaConsultaSQL(rollback, m);
        suite::MsgBox(MensajeCuentasTomadas, suite::vbExclamation, QStringLiteral("ATENCIÓN"));
        return false;
    }
    return confirmar(QStringLiteral("ATENCIÓN"));
}

void AlmacenDistribucion::Desasignar(const QString& cuenta)
{
    QString s = SentenciaDesasignar(cuenta);
    long n = 0;
    db_.EjecutaConsultaSQL(s, n);
}

QString AlmacenDistribucion::SiguienteCodigo()
{
    constexpr int Ultimo = 9999; // four digits
    int64_t n = 1;
    try {
        const QVariant mayor = db_.BuscaMaximo(QStringLiteral("MA_CUENTAS_CCDIST"), QStringLiteral("CODIGO"));
        if (mayor.isValid())
            n = std::max<int64_t>(1, int64_t(mayor.toDouble()) + 1);
    } catch (const std::exception&) {
        db_.gCnn.Errors().Clear();
    }
    const QSet<QString> usados = CodigosExistentes();
    for (int vuelta = 0; vuelta < 2; ++vuelta, n = 1) { // past the last, the gaps from 1
        for (; n <= Ultimo; ++n)
            if (!usados.contains(Codigo(QString::number(n)).toUpper()))
                return QString::number(n);
    }
    return {};
}

std::vector<planilla::TablaPlanilla> AlmacenDistribucion::TablasParaPlanilla(const QString& codigo)
{
    std::vector<planilla::TablaPlanilla> tablas;
    ado::Recordset rs;
    QString s = SentenciaPlanilla(codigo);
    db_.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (rs.State() != ado::adStateOpen)
        return tablas;
    const auto texto = [&](const char* campo) { return suite::TextoVariant(suite::SinNulo(rs.Fields(QString::fromLatin1(campo)).Value())); };
    QString anterior;
    for (; !rs.EOF_(); rs.MoveNext()) {
        const QString c = texto("CODIGO");
        if (tablas.empty() || c != anterior) {
            // The header of a table is that of its first row.
            planilla::TablaPlanilla t;
            t.codigo = c.trimmed();
            t.nombre = texto("NOMBRE");
            t.concepto = texto("CONCEPTO");
            const QString pide = texto("PIDECONFIRMACION");
            t.pideConfirmacion = !pide.trimmed().isEmpty() && suite::ValorNumerico(pide) != suite::Moneda();
            tablas.push_back(std::move(t));
            anterior = c;
        }
        tablas.back().lineas.push_back({texto("CCOSTO"), suite::ValorNumerico(texto("PORCENTAJE")), 0});
    }
    db_.CierraRecordset(&rs);
    return tablas;
}

namespace {
// The first column of every row, trimmed and in capitals.
QSet<QString> columnaEnMayusculas(DB_Dll& db, const QString& sentencia)
{
    QSet<QString> valores;
    ado::Recordset rs;
    QString s = sentencia;
    db.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (rs.State() != ado::adStateOpen)
        return valores;
    for (; !rs.EOF_(); rs.MoveNext())
        valores.insert(suite::TextoVariant(rs.Fields(0).Value()).trimmed().toUpper());
    db.CierraRecordset(&rs);
    return valores;
}
} // namespace

QSet<QString> AlmacenDistribucion::Centros() { return columnaEnMayusculas(db_, QStringLiteral("SELECT CODIGO FROM TA_CCOSTO")); }

QSet<QString> AlmacenDistribucion::CodigosExistentes()
{
    QSet<QString> codigos;
    for (const QString& c : columnaEnMayusculas(db_, QStringLiteral("SELECT DISTINCT CODIGO FROM MA_CUENTAS_CCDIST")))
        codigos.insert(Codigo(c));
    return codigos;
}

QString AlmacenDistribucion::LoteGrabarTablas(const std::vector<planilla::TablaPlanilla>& tablas, const MotivoGrabacion* motivo) const
{
    const QChar decimal = suite::RegionalActual().decimal; // the percentages travel as SQLValue reads them
    QString lote = QStringLiteral("BEGIN TRANSACTION") + CRLF;
    for (const planilla::TablaPlanilla& t : tablas)
        lote += SentenciaBloqueo(t.codigo) + CRLF;
    for (const planilla::TablaPlanilla& t : tablas) {
        std::vector<std::pair<QString, QString>> lineas;
        for (const planilla::LineaPlanilla& l : t.lineas)
            lineas.emplace_back(l.centro, l.porcentaje.texto(decimal));
        lote += conHistorial(t.codigo, motivo, SentenciasGrabar(t.codigo, t.nombre, t.concepto, t.pideConfirmacion, lineas));
    }
    return lote;
}

bool AlmacenDistribucion::GrabarTablas(const std::vector<planilla::TablaPlanilla>& tablas, const MotivoGrabacion& motivo)
{
    QString lote = LoteGrabarTablas(tablas, &motivo);
    long n = 0;
    db_.EjecutaConsultaSQL(lote, n);
    return confirmar(QStringLiteral("ATENCIÓN"));
}

bool AlmacenDistribucion::ExisteTabla(const QString& codigo)
{
    return db_.ExisteEnTabla(QStringLiteral("MA_CUENTAS_CCDIST"), Codigo(codigo), QStringLiteral("Codigo"), nullptr, 8,
                             QString(), true);
}

bool AlmacenDistribucion::ExisteCentro(const QString& centro, ado::Recordset* rs)
{
    return db_.ExisteEnTabla(QStringLiteral("TA_CCOSTO"), centro, QStringLiteral("CODIGO"), rs, 8, QString(), true);
}

QString AlmacenDistribucion::DescripcionCentro(const QString& centro)
{
    return suite::TextoVariant(db_.DatosTabla(QStringLiteral("TA_CCOSTO"), centro, QStringLiteral("DESCRIPCION"), QStringLiteral("CODIGO"),
                                              8, QString(), true, true));
}

bool AlmacenDistribucion::TablaGrabada(const QString& codigo)
{
    ado::Recordset rs;
    QString s = SentenciaGrabada(codigo);
    db_.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    const bool grabada = rs.State() == ado::adStateOpen && !rs.EOF_();
    db_.CierraRecordset(&rs);
    return grabada;
}

bool BuscarCuenta(QString& cuenta, ado::Recordset& rs, bool soloLectura, bool& porCodigoOpcional)
{
    auto buscar = [&](bool opcional) {
        QString s = (opcional ? QStringLiteral("SELECT * FROM MA_CUENTAS WHERE CodigoOpcional =  '")
                              : QStringLiteral("SELECT * FROM MA_CUENTAS WHERE Codigo =  '"))
            + literal(cuenta) + QStringLiteral("'");
        gDB.AbrirRecordset(s, rs, nullptr, soloLectura ? ado::adOpenForwardOnly : ado::adOpenDynamic,
                           soloLectura ? ado::adLockReadOnly : ado::adLockOptimistic);
        return rs.State() == ado::adStateOpen && !rs.EOF_();
    };
    const bool primero = porCodigoOpcional;
    if (buscar(primero)) {
        if (primero)
            cuenta = suite::TextoVariant(rs.Fields(QStringLiteral("Codigo")).Value());
        return true;
    }
    if (!buscar(!primero))
        return false;
    if (!primero) {
        porCodigoOpcional = true;
        cuenta = suite::TextoVariant(rs.Fields(QStringLiteral("Codigo")).Value());
    }
    return true;
}
