#include "lookup/Lib_ClsCons3.h"

#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"

#include "data/DB_Dll.h"
#include "startup/CNStuffContable.h"
#include "suite/Ansi.h"
#include "suite/SuiteUtil.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QScreen>
#include <QTextStream>
#include <memory>

namespace {

constexpr int LargoRegistro = 1202;

QString limpio(const QByteArray& campo)
{
    return suite::QuitarCaracteres(suite::DeAnsi(campo), QChar(0), QChar(255)).trimmed();
}

bool contiene(const QString& texto, const QString& buscado) { return texto.contains(buscado, Qt::CaseInsensitive); }
bool igual(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString cfg(const QString& clave)
{
    QString aux;
    return Cfg(clave, aux);
}

// The first plain column of a definition's list that the table does not have; nothing when
// all are there, or when the table's columns cannot be listed (a view of another schema...).
std::optional<QString> columnaInexistente(const QString& tabla, const QString& columnas)
{
    QSet<QString> conocidas;
    try {
        ado::Recordset rs = gDB.gCnn.OpenSchema(ado::adSchemaColumns, {gDB.gDBName, QVariant(), tabla, QVariant()});
        for (; !rs.EOF_(); rs.MoveNext())
            conocidas.insert(rs.Fields(QStringLiteral("COLUMN_NAME")).Value().toString().trimmed().toUpper());
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (conocidas.isEmpty())
        return std::nullopt;
    static const QRegularExpression simple(QStringLiteral("^\\[?[\\w]+\\]?$"));
    for (const QString& c : columnas.split(u',')) {
        QString nombre = c.trimmed();
        if (!simple.match(nombre).hasMatch())
            continue; // an expression or an alias: the server judges it
        nombre.remove(u'[').remove(u']');
        if (!conocidas.contains(nombre.toUpper()))
            return nombre;
    }
    return std::nullopt;
}

std::unique_ptr<Lib_ClsCons3>& instancia()
{
    static std::unique_ptr<Lib_ClsCons3> m;
    return m;
}

} // namespace

namespace {
// A field of a record with its padding (NUL, blanks, 0xFF) taken off its end holds a control
// character: the record was damaged.
bool conControl(const QByteArray& campo)
{
    qsizetype n = campo.size();
    while (n > 0 && (campo[n - 1] == 0 || campo[n - 1] == ' ' || uchar(campo[n - 1]) == 0xFF))
        --n;
    for (qsizetype i = 0; i < n; ++i)
        if (uchar(campo[i]) < 0x20 || uchar(campo[i]) == 0x7F)
            return true;
    return false;
}
} // namespace

std::optional<DefinicionConsulta> BuscarDefinicion(const QString& archivo, const QString& tabla, QString* problema)
{
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString buscada = tabla.trimmed();
    for (int registro = 1;; ++registro) {
        const QByteArray r = f.read(LargoRegistro);
        if (r.size() < 200 || !igual(limpio(r.mid(100, 100)), buscada)) {
            if (r.size() < LargoRegistro)
                return std::nullopt; // the end of the file
            continue;
        }
        const auto danado = [&](const QString& motivo) {
            if (problema)
                *problema = QStringLiteral("el registro %1 (la consulta de %2, desde el byte %3) %4")
                                .arg(registro)
                                .arg(buscada)
                                .arg(qint64(registro - 1) * LargoRegistro)
                                .arg(motivo);
            return std::nullopt;
        };
        if (r.size() < 1200)
            return danado(QStringLiteral("está cortado: tiene %1 bytes de %2").arg(r.size()).arg(LargoRegistro));
        if (conControl(r.mid(100, 100)) || conControl(r.mid(200, 500)) || conControl(r.mid(700, 500)))
            return danado(QStringLiteral("tiene caracteres de control en sus campos"));
        return DefinicionConsulta{limpio(r.mid(100, 100)), limpio(r.mid(200, 500)), limpio(r.mid(700, 500)), registro};
    }
}

Lib_ClsCons3::Lib_ClsCons3()
{
    MuestraStock = cfg(QStringLiteral("MostrarStockenConsultas"));
    QVariant* niveles[] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
    for (int i = 0; i < 4; ++i) {
        const QString v = cfg(QStringLiteral("Stk_Nivel%1").arg(i + 1));
        *niveles[i] = v.isEmpty() ? QVariant(0) : QVariant(v);
    }
    UsaConsultaLike = igual(cfg(QStringLiteral("UsaConsultaLike")), QStringLiteral("SI"));
    gConnString = gValoresConsulta.gConnString;
    gRutaMascaraConsultas = gValoresConsulta.gRutaMascaraConsultas;
    gUsarMascarasConsultas = gValoresConsulta.gUsarMascarasConsultas;
}

namespace {

// "SELECT TOP n " with the configured limit of lookup rows (1000 when none).
QString seleccionTop()
{
    long n = 0;
    try {
        n = cfg(QStringLiteral("TopConsArt")).trimmed().toLong();
    } catch (const suite::ErrorEjecucion&) {
    }
    if (n == 0)
        n = 1000;
    return QStringLiteral("SELECT TOP ") + QString::number(n) + u' ';
}

// The columns a lookup of a table or view shows, with a comma after each, and the column it
// is searched by: fixed for some views, else the table's own (a text column is searched by).
QString columnasDeTabla(const QString& Sql, QString& CampoBusqueda)
{
    QString lista;
    struct Fija {
        const char* vista;
        const char* columnas;
        const char* busqueda;
    };
    static const Fija fijas[] = {
        {"V_TA_Unidad", "Descripcion,IdUnidad,", "IdUnidad"},
        {"V_TA_DEPOSITO", "Descripcion,Unidad,IdDeposito,", "IdDeposito"},
        {"V_TA_STATUS", "Descripcion,Tipo,CodigoEstado,", "CodigoEstado"},
    };
    bool fija = false;
    for (const Fija& v : fijas) {
        if (igual(Sql, QLatin1String(v.vista))) {
            lista = QLatin1String(v.columnas);
            CampoBusqueda = QLatin1String(v.busqueda);
            fija = true;
        }
    }
    if (!fija) {
        ado::Recordset rs;
        try {
            QString s = QStringLiteral("select top 1 * from ") + Sql;
            gDB.AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
            const bool conId = igual(Sql, QStringLiteral("v_mv_mutuales")) || igual(Sql, QStringLiteral("V_MV_TROPA_STOCK"));
            bool primero = true;
            for (int i = 0; rs.State() == ado::adStateOpen && i < rs.FieldCount(); ++i) {
                const QString nombre = rs.Fields(i).Name();
                const bool interno = igual(nombre, QStringLiteral("ID")) || igual(nombre, QStringLiteral("FECHAHORA_MODIFICACION"))
                    || igual(nombre, QStringLiteral("FECHAHORA_GRABACION"));
                if (interno && !conId)
                    continue;
                const bool texto = igual(nombre, QStringLiteral("DESCRIPCION")) || igual(nombre, QStringLiteral("NOMBRE"))
                    || igual(nombre, QStringLiteral("DETALLE"));
                if (interno || texto || primero)
                    CampoBusqueda = nombre;
                primero = false;
                lista = nombre + u',' + lista;
            }
        } catch (const suite::ErrorEjecucion&) {
        }
        gDB.CierraRecordset(&rs);
    }
    return lista;
}

} // namespace

QString Lib_ClsCons3::ArmarSentencia(const QString& Sql, QString& CampoBusqueda, QString& Where,
                                     const QString& SentenciaOpcional)
{
    if (Where.trimmed().size() > 1 && !Where.trimmed().startsWith(u'('))
        Where = QStringLiteral(" (") + Where + QStringLiteral(") ");
    const QString top = seleccionTop();

    // A whole statement: used as given, with the condition appended.
    if (contiene(Sql, QStringLiteral("SELECT"))) {
        QString s = Sql;
        if (contiene(s, QStringLiteral("V_MA_ARTICULOS")))
            s = suite::ReemplazarTodo(s, QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("VT_MA_ARTICULOS"));
        if (!Where.trimmed().isEmpty()) {
            if (!contiene(Where, QStringLiteral("WHERE")))
                Where = QStringLiteral(" WHERE ") + Where;
            s += Where;
        }
        return s;
    }

    // A stored definition.
    if (gUsarMascarasConsultas)
        if (auto s = sentenciaDeDefinicion(Sql, CampoBusqueda, Where, top))
            return *s;

    // The table's own columns.
    if (!SentenciaOpcional.isEmpty())
        return SentenciaOpcional;
    const QString lista = columnasDeTabla(Sql, CampoBusqueda);
    const QString columnas = lista.isEmpty() ? QStringLiteral(" * ") : lista.left(lista.size() - 1);
    const QString condicion = u' ' + Where;
    return top + columnas + QStringLiteral(" FROM ") + Sql + (condicion.trimmed().isEmpty() ? QString() : QStringLiteral(" WHERE "))
        + condicion + QStringLiteral(" ORDER BY ") + CampoBusqueda;
}

std::optional<QString> Lib_ClsCons3::sentenciaDeDefinicion(const QString& Sql, QString& CampoBusqueda, const QString& Where,
                                                          const QString& top)
{
    QString problema;
    auto d = BuscarDefinicion(gRutaMascaraConsultas, Sql, &problema);
    QString columnas;
    if (d) {
        columnas = suite::ReemplazarTexto(d->columnas, QStringLiteral("|"), QStringLiteral(",")).trimmed();
        if (columnas.startsWith(u','))
            columnas.remove(0, 1);
        if (columnas.endsWith(u','))
            columnas.chop(1);
        if (const auto falta = columnaInexistente(d->tabla, columnas)) {
            problema = QStringLiteral("el registro %1 (la consulta de %2) nombra la columna %3, que la tabla no tiene")
                           .arg(d->registro)
                           .arg(d->tabla, *falta);
            d.reset();
        }
    }
    if (!problema.isEmpty())
        suite::MsgBox(QStringLiteral("El archivo de consultas %1 está dañado: %2. Se muestran las columnas de la tabla.")
                          .arg(QDir::toNativeSeparators(gRutaMascaraConsultas), problema),
                      suite::vbExclamation, QStringLiteral("Aviso al operador"));
    if (d) {
        QString tabla = d->tabla;
        if (columnas.isEmpty())
            columnas = QStringLiteral("*");
        if (CampoBusqueda.isEmpty()) {
            if (!columnas.contains(u',')) {
                suite::MsgBox(QStringLiteral("Debe configurar la consulta para esta tabla"), suite::vbInformation,
                              QStringLiteral("Aviso al operador"));
                return QString();
            }
            CampoBusqueda = columnas.section(u',', 0, 0);
        }
        QString condicion = d->condicion;
        if (condicion.trimmed().isEmpty() && !Where.trimmed().isEmpty())
            condicion = Where;
        if (condicion.trimmed().isEmpty() && (igual(tabla, QStringLiteral("VT_PROVEEDORES")) || igual(tabla, QStringLiteral("VT_CLIENTES"))))
            condicion = QStringLiteral("Dada_De_Baja = 0");
        if (igual(tabla, QStringLiteral("V_MA_ARTICULOS"))) {
            if (condicion.trimmed().isEmpty())
                condicion = QStringLiteral("SUSPENDIDO = 0");
            tabla = QStringLiteral("VT_MA_ARTICULOS");
        }
        const QString donde = condicion.trimmed().isEmpty() ? QString() : QStringLiteral(" WHERE ");
        if (CampoBusqueda.isEmpty())
            return top + columnas + QStringLiteral(" FROM ") + tabla + QStringLiteral(" with(nolock) ") + donde + condicion;
        return top + columnas + QStringLiteral(" FROM ") + tabla + QStringLiteral("  with(nolock) ") + donde + condicion
            + QStringLiteral(" ORDER BY ") + CampoBusqueda;
    }
    return std::nullopt;
}

void Lib_ClsCons3::ConsultaSearch(QString Sql, QStringList* CmpsDevueltos, const QString& Clave, QString& CampoBusqueda,
                                  QString& Where, const QString& SentenciaOpcional, bool TreeView,
                                  const QString& ValoresDefault)
{
    const QString sentencia = ArmarSentencia(Sql, CampoBusqueda, Where, SentenciaOpcional);
    if (sentencia.isEmpty())
        return;
    if (gConnString.isEmpty())
        gConnString = gDB.gConnString;

    if (TreeView) {
        Lib_FrmCons3Tree dlg(QApplication::activeWindow());
        dlg.setWindowModality(Qt::ApplicationModal);
        dlg.Sql = sentencia;
        dlg.CampoDevuelto = CampoDevuelto;
        dlg.CheckBoxes = Checks;
        Valores.reset();
        dlg.Cargar();
        dlg.CmbSearch->setFocus();
        dlg.exec();
        ValorDevuelto = dlg.ValorDevuelto;
        Valores = dlg.Valores;
        Checks = false;
    } else {
        Lib_FrmCons3 dlg(QApplication::activeWindow());
        dlg.setWindowModality(Qt::ApplicationModal);
        dlg.StkNivel1 = StkNivel1;
        dlg.StkNivel2 = StkNivel2;
        dlg.StkNivel3 = StkNivel3;
        dlg.StkNivel4 = StkNivel4;
        dlg.MuestraStock = MuestraStock;
        dlg.CfgUsaConsultaLIKE = UsaConsultaLike;
        dlg.OrdenarPorLwv = !contiene(sentencia, QStringLiteral("ORDER BY"));
        dlg.FiltroInicial = Clave;
        dlg.Sql = sentencia;
        dlg.CampoDevuelto = CampoDevuelto;
        dlg.CheckBoxes = Checks;
        dlg.CmdTodos->setVisible(Checks);
        dlg.UsaCantidades = UsaCantidades;
        dlg.ValoresDefault = ValoresDefault;
        Valores.reset();
        Cantidades.reset();
        dlg.CmpsDevueltos = CmpsDevueltos;
        if (AlAbrir)
            AlAbrir(dlg);
        dlg.Cargar();
        // The first load shows no marks; the defaults come up checked after a reload.
        if (Checks)
            for (int f = 0; f < dlg.modelo()->rowCount(); ++f)
                dlg.modelo()->marcar(f, false);
        dlg.CmbSearch[0]->setFocus();
        dlg.exec();
        Checks = false;
        Valores = dlg.Valores;
        Cantidades = dlg.Cantidades;
        ValorDevuelto = dlg.ValorDevuelto;
    }
    CampoDevuelto.clear();
    if (CmpsDevueltos)
        CmpsDevueltos->clear();
}

// ---- Option lists -----------------------------------------------------------------------

QString Lib_ClsCons3::opciones(const QString& Titulo, const QStringList& filas, bool marcas, const QList<bool>& marcadas)
{
    Lib_FrmCons3 dlg(QApplication::activeWindow());
    dlg.setWindowModality(Qt::ApplicationModal);
    dlg.Cargar();
    dlg.setWindowTitle(Titulo);
    dlg.CmdNueva->setVisible(false);
    dlg.OrdenarPorLwv = true;
    dlg.CampoDevuelto = Titulo;
    dlg.PrepararLista(Titulo, marcas);
    qsizetype largo = Titulo.size();
    for (int i = 0; i < filas.size(); ++i) {
        dlg.AgregarOpcion(filas[i], marcadas.value(i));
        largo = std::max(largo, filas[i].size() + (marcas ? 1 : 0));
    }
    const int pantalla = dlg.screen() ? dlg.screen()->availableGeometry().width() : 1280;
    const int ancho = std::min(TwipsAPixeles(double(largo) * 120), pantalla);
    dlg.resize(ancho, dlg.height());
    dlg.ListView1->setColumnWidth(0, std::max(ancho - 40, 60));
    if (dlg.modelo()->rowCount() > 0)
        dlg.ListView1->setCurrentIndex(dlg.modelo()->index(0, 0));
    dlg.CmbSearch[0]->setFocus();
    dlg.exec();
    if (marcas) {
        Valores = dlg.Valores;
        return {};
    }
    return dlg.ValorDevuelto.toString();
}

QString Lib_ClsCons3::CheckOpciones(const QString& Titulo, const QStringList& Opc)
{
    QStringList filas;
    QList<bool> marcadas;
    for (const QString& o : Opc) {
        filas << o.mid(1);
        marcadas << o.startsWith(u'1');
    }
    return opciones(Titulo, filas, true, marcadas);
}

QString Lib_ClsCons3::MenuOpciones(const QString& Titulo, const QStringList& Opc)
{
    return opciones(Titulo, Opc, false, {});
}

QString Lib_ClsCons3::ConsultaDesdeArchivo(const QString& Titulo, const QString& QueArchivo, const QString&)
{
    if (!ExisteArchivo(QueArchivo)) {
        suite::MsgBox(QStringLiteral("No existe el archivo ") + QueArchivo + QStringLiteral(" que desea consultar consulta "));
        return {};
    }
    QFile f(QueArchivo);
    QStringList lineas;
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&f);
        while (!in.atEnd())
            lineas << in.readLine();
    }
    return opciones(Titulo, lineas, false, {});
}

Lib_ClsCons3& gConsultas()
{
    auto& m = instancia();
    if (!m)
        m = std::make_unique<Lib_ClsCons3>();
    return *m;
}

void ReiniciarConsultas() { instancia().reset(); }
