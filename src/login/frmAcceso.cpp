#include "login/frmAcceso.h"

#include "data/DB_Dll.h"
#include "data/Sesion.h"
#include "data/ado/CadenaConexion.h"
#include "login/AccesoDirecto.h"
#include "login/Bases.h"
#include "startup/CNStuffContable.h"
#include "startup/Estilos.h"
#include "suite/Dialogos.h"
#include "suite/Formularios.h"
#include "suite/Ini.h"
#include "suite/SuiteUtil.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <utility>

using suite::ErrorRT;

namespace {

const QString HintUsuario = QStringLiteral("Ingrese el usuario");
const QString HintBase = QStringLiteral("ingrese el nombre de la base de datos");
const QString HintServidor = QStringLiteral("ingrese el nombre del servidor e instancia");
const QString ErrorComando = QStringLiteral("Error al ejecutar el comando");

// Errors "Registrar" passes over: a closed connection closed again, and the service errors
// of starting a local server.
bool errorIgnorado(long numero)
{
    constexpr long ServicioYaIniciado = -2147023840; // &H80070420
    return numero == 3704 || numero == ServicioYaIniciado || numero == 1056 || numero == 440 || numero == 20480;
}

// A number as the platform writes it in a text: a blank in front of a positive one.
QString numeroConSigno(long n) { return n < 0 ? QString::number(n) : u' ' + QString::number(n); }

QLabel* etiqueta(const QString& texto, const char* nombre, QWidget* padre)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLineEdit* caja(const char* nombre, const QString& ayuda, QWidget* padre)
{
    auto* c = new QLineEdit(padre);
    c->setObjectName(QLatin1String(nombre));
    c->setToolTip(ayuda);
    return c;
}

QPushButton* boton(const QString& texto, const char* nombre, QWidget* padre)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    return b;
}

} // namespace

frmAcceso::frmAcceso(QWidget* parent) : QDialog(parent) { construir(); }

void frmAcceso::construir()
{
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    setModal(true);

    QFrame* cabecera = construirCabecera();
    construirLista();
    construirEntradas();
    construirBotones();
    disponer(cabecera);
    conectar();
}

// Heading band: the title and the product.
QFrame* frmAcceso::construirCabecera()
{
    auto* cabecera = new QFrame(this);
    cabecera->setObjectName(QStringLiteral("cabecera"));
    // Its own sheet: the band keeps its colours under every skin.
    cabecera->setStyleSheet(QStringLiteral("QFrame#cabecera { background-color: #1f3a5f; }"
                                           " QFrame#cabecera QLabel { color: #ffffff; background: transparent; }"));
    Label1 << etiqueta(QStringLiteral("Control de Acceso"), "Label1_0", cabecera);
    Label7 = etiqueta(QStringLiteral("ORBE VELA"), "Label7", cabecera);
    QFont grande = Label1[0]->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.5);
    grande.setBold(true);
    Label1[0]->setFont(grande);
    QFont producto = Label7->font();
    producto.setBold(true);
    producto.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    Label7->setFont(producto);
    auto* filaCabecera = new QHBoxLayout(cabecera);
    filaCabecera->setContentsMargins(16, 12, 16, 12);
    filaCabecera->addWidget(Label1[0]);
    filaCabecera->addStretch();
    filaCabecera->addWidget(Label7);

    return cabecera;
}

// Left: the registered connections.
void frmAcceso::construirLista()
{
    Label1 << etiqueta(QStringLiteral("AUTENTICACION"), "Label1_1", this);
    Label1 << etiqueta(QStringLiteral("Conexiones registradas"), "Label1_2", this);
    QFont titulo = Label1[1]->font();
    titulo.setBold(true);
    Label1[1]->setFont(titulo);
    Label1[2]->setFont(titulo);
    lstBases = new QListWidget(this);
    lstBases->setObjectName(QStringLiteral("lstBases"));
    lstBases->setFont(QFont(QStringLiteral("Segoe UI"), font().pointSize()));
    lstBases->setMinimumWidth(250);
    Label1[2]->setBuddy(lstBases);

}

// Right: the inputs.
void frmAcceso::construirEntradas()
{
    framAcceso = new QFrame(this);
    framAcceso->setObjectName(QStringLiteral("framAcceso"));
    framAcceso->setFrameShape(QFrame::StyledPanel);
    Label2 = etiqueta(QStringLiteral("Usuario"), "Label2", framAcceso);
    TxtUserId = caja("TxtUserId", QStringLiteral("Ingrese el nombre de usuario"), framAcceso);
    Label3 = etiqueta(QStringLiteral("Contraseña"), "Label3", framAcceso);
    TxtUserPassword = caja("TxtUserPassword", QStringLiteral("Ingrese la contraseña"), framAcceso);
    TxtUserPassword->setEchoMode(QLineEdit::Password);
    Label4 = etiqueta(QStringLiteral("Base de datos"), "Label4", framAcceso);
    TxtDbName = caja("TxtDbName", QStringLiteral("ingrese el nombre de la base de datos"), framAcceso);
    Label5 = etiqueta(QStringLiteral("Servidor"), "Label5", framAcceso);
    TxtServidor = caja("TxtServidor", QStringLiteral("ingrese el nombre del servidor e instancia"), framAcceso);
    TxtPuerto = caja("TxtPuerto", QStringLiteral("Ingrese el Puerto "), framAcceso);
    TxtPuerto->setText(QStringLiteral("1433"));
    TxtPuerto->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), TxtPuerto));
    TxtPuerto->setMaximumWidth(TxtPuerto->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    Label6 = etiqueta(QStringLiteral("Plataforma"), "Label6", framAcceso);
    CboPlataformaDB = new QComboBox(framAcceso);
    CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
    CboPlataformaDB->addItems({QStringLiteral("SQL Server"), QStringLiteral("ORACLE")});
    for (auto [l, c] : {std::pair<QLabel*, QWidget*>{Label2, TxtUserId}, {Label3, TxtUserPassword}, {Label4, TxtDbName},
                        {Label5, TxtServidor}, {Label6, CboPlataformaDB}})
        l->setBuddy(c);
    TxtDbName->setMinimumWidth(TxtDbName->fontMetrics().horizontalAdvance(HintServidor) + 16);

    auto* grilla = new QGridLayout(framAcceso);
    grilla->setContentsMargins(14, 12, 14, 12);
    grilla->setVerticalSpacing(8);
    grilla->addWidget(Label2, 0, 0);
    grilla->addWidget(TxtUserId, 0, 1, 1, 2);
    grilla->addWidget(Label3, 1, 0);
    grilla->addWidget(TxtUserPassword, 1, 1, 1, 2);
    grilla->addWidget(Label4, 2, 0);
    grilla->addWidget(TxtDbName, 2, 1, 1, 2);
    grilla->addWidget(Label5, 3, 0);
    grilla->addWidget(TxtServidor, 3, 1);
    grilla->addWidget(TxtPuerto, 3, 2);
    grilla->addWidget(Label6, 4, 0);
    grilla->addWidget(CboPlataformaDB, 4, 1, 1, 2);
    grilla->setColumnStretch(1, 1);
}

void frmAcceso::construirBotones()
{
    bcAceptar = boton(QStringLiteral("Conectar"), "bcAceptar", this);
    bcCancelar = boton(QStringLiteral("Cancelar"), "bcCancelar", this);
    CmdRegistrar = boton(QStringLiteral("Registrar"), "CmdRegistrar", this);
    CmdLineaComando = boton(QStringLiteral("Crear Acceso Directo"), "CmdLineaComando", this);
    for (QPushButton* b : {bcCancelar, CmdRegistrar, CmdLineaComando})
        b->setAutoDefault(false); // Enter on a box moves on; only a focused Conectar connects
}

void frmAcceso::disponer(QFrame* cabecera)
{
    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(Label1[2]);
    izquierda->addWidget(lstBases, 1);
    auto* derecha = new QVBoxLayout;
    derecha->addWidget(Label1[1]);
    derecha->addWidget(framAcceso);
    derecha->addStretch();
    auto* cuerpo = new QHBoxLayout;
    cuerpo->setSpacing(16);
    cuerpo->addLayout(izquierda, 1);
    cuerpo->addLayout(derecha, 1);

    auto* botones = new QHBoxLayout;
    botones->addWidget(CmdRegistrar);
    botones->addWidget(CmdLineaComando);
    botones->addStretch();
    botones->addWidget(bcAceptar);
    botones->addWidget(bcCancelar);

    auto* contenido = new QVBoxLayout;
    contenido->setContentsMargins(16, 12, 16, 16);
    contenido->setSpacing(12);
    contenido->addLayout(cuerpo, 1);
    contenido->addLayout(botones);
    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addWidget(cabecera);
    principal->addLayout(contenido, 1);
}

void frmAcceso::conectar()
{
    // Tab order: the boxes first, then the list and the buttons.
    setTabOrder(TxtUserId, TxtUserPassword);
    setTabOrder(TxtUserPassword, TxtDbName);
    setTabOrder(TxtDbName, TxtServidor);
    setTabOrder(TxtServidor, TxtPuerto);
    setTabOrder(TxtPuerto, CboPlataformaDB);
    setTabOrder(CboPlataformaDB, bcAceptar);
    setTabOrder(bcAceptar, bcCancelar);
    setTabOrder(bcCancelar, CmdRegistrar);
    setTabOrder(CmdRegistrar, CmdLineaComando);
    setTabOrder(CmdLineaComando, lstBases);

    for (QLineEdit* c : {TxtUserId, TxtUserPassword, TxtDbName, TxtServidor}) {
        c->installEventFilter(this);
        connect(c, &QLineEdit::textChanged, this, [this, c] { pintarSugerencia(c); });
    }
    for (QLineEdit* c : {TxtDbName, TxtServidor, TxtUserPassword})
        connect(c, &QLineEdit::textChanged, this, [this, c] { MensajeInicial(c); });
    lstBases->installEventFilter(this);
    connect(lstBases, &QListWidget::currentRowChanged, this, [this] { AsignarDatosBase(); });
    connect(lstBases, &QListWidget::itemClicked, this, [this] { AsignarDatosBase(); });
    connect(lstBases, &QListWidget::itemDoubleClicked, this, [this] {
        AsignarDatosBase();
        bcAceptar_Click();
    });
    connect(bcAceptar, &QPushButton::clicked, this, &frmAcceso::bcAceptar_Click);
    connect(bcCancelar, &QPushButton::clicked, this, &frmAcceso::bcCancelar_Click);
    connect(CmdRegistrar, &QPushButton::clicked, this, &frmAcceso::CmdRegistrar_Click);
    connect(CmdLineaComando, &QPushButton::clicked, this, &frmAcceso::CmdLineaComando_Click);
}

// ---- Hints ------------------------------------------------------------------------------

QString frmAcceso::Sugerencia(const QLineEdit* caja)
{
    const QString nombre = caja ? caja->objectName() : QString();
    if (nombre == QLatin1String("TxtUserId"))
        return HintUsuario;
    if (nombre == QLatin1String("TxtDbName"))
        return HintBase;
    if (nombre == QLatin1String("TxtServidor"))
        return HintServidor;
    return {};
}

QString frmAcceso::Valor(const QLineEdit* caja)
{
    const QString sugerencia = Sugerencia(caja);
    return !sugerencia.isEmpty() && caja->text() == sugerencia ? QString() : caja->text();
}

void frmAcceso::MensajeInicial(QLineEdit* ObjTxt)
{
    if (!ObjTxt || enMensajeInicial_)
        return;
    const QString sugerencia = Sugerencia(ObjTxt);
    const QString texto = ObjTxt->text().trimmed();
    if (!texto.isEmpty() && ObjTxt->text() != sugerencia)
        return;
    enMensajeInicial_ = true;
    ObjTxt->setText(sugerencia);
    ObjTxt->setSelection(0, int(sugerencia.trimmed().size()));
    ObjTxt->update();
    enMensajeInicial_ = false;
}

// A box showing its hint draws it in the placeholder colour, so it is not read as a value.
void frmAcceso::pintarSugerencia(QLineEdit* caja)
{
    QPalette p = caja->palette();
    const bool sugerencia = !Sugerencia(caja).isEmpty() && caja->text() == Sugerencia(caja);
    p.setColor(QPalette::Text, sugerencia ? palette().color(QPalette::PlaceholderText) : palette().color(QPalette::Text));
    caja->setPalette(p);
}

bool frmAcceso::eventFilter(QObject* o, QEvent* e)
{
    if (o == TxtUserId && e->type() == QEvent::FocusIn)
        MensajeInicial(TxtUserId);
    if (o == lstBases && e->type() == QEvent::KeyPress)
        AsignarDatosBase();
    auto* c = qobject_cast<QLineEdit*>(o);
    if (!c || e->type() != QEvent::KeyPress)
        return QDialog::eventFilter(o, e);
    auto* k = static_cast<QKeyEvent*>(e);
    if (suite::EsTeclaAvance(k->key()) && k->modifiers() == Qt::NoModifier) {
        QWidget* siguiente = c == TxtUserId         ? static_cast<QWidget*>(TxtUserPassword)
                             : c == TxtUserPassword ? static_cast<QWidget*>(TxtDbName)
                             : c == TxtDbName       ? static_cast<QWidget*>(TxtServidor)
                                                    : static_cast<QWidget*>(bcAceptar);
        siguiente->setFocus(Qt::TabFocusReason);
        return true;
    }
    // Typing into a box that shows its hint replaces the hint, wherever the cursor is.
    if (!k->text().isEmpty() && k->text().at(0).isPrint() && Valor(c).isEmpty() && !c->text().isEmpty()) {
        enMensajeInicial_ = true;
        c->clear();
        enMensajeInicial_ = false;
    }
    return QDialog::eventFilter(o, e);
}

// ---- The registered connections ---------------------------------------------------------

void frmAcceso::Form_Load()
{
    adjustSize();
    suite::PrepararForm(this, true);
    llenarlist();
    MensajeInicial(TxtUserId);
    MensajeInicial(TxtUserPassword);
    MensajeInicial(TxtDbName);
    MensajeInicial(TxtDbName);
    MensajeInicial(TxtServidor);
    AplicarEstilo(this);
}

void frmAcceso::llenarlist()
{
    suite::Rutina r([](const ErrorRT& e) { return AvisoError(e, std::nullopt, QStringLiteral("FormLoad")); });
    if (!ExisteArchivoBases()) {
        lstBases->clear();
        return;
    }
    QList<RegistroBase> registros;
    r([&] { lstBases->clear(); })([&] { registros = LeerBases(); })([&] {
        QSignalBlocker quieto(lstBases);
        for (const RegistroBase& b : registros) {
            if (!b.nombre.trimmed().isEmpty())
                lstBases->addItem(b.nombre);
        }
    });
    if (r.abandonada())
        return;
    if (lstBases->count() > 0)
        lstBases->setCurrentRow(0); // shows it in the boxes
}

void frmAcceso::DatosBase(const QString& Nombre)
{
    if (!ExisteArchivoBases())
        return;
    try {
        const QString buscado = Nombre.trimmed();
        for (const RegistroBase& b : LeerBases()) {
            if (b.nombre.trimmed() != buscado)
                continue;
            servidor_ = b.servidor;
            base_ = b.base;
            usuario_ = b.login;
            clave_ = suite::DecodificaTexto(b.clave);
            break;
        }
    } catch (const suite::ErrorEjecucion& ex) {
        AvisoError(ex.error(), std::nullopt, QStringLiteral("DatosBase"));
    }
}

void frmAcceso::AsignarDatosBase()
{
    QListWidgetItem* elegido = lstBases->currentItem();
    if (!elegido)
        return;
    DatosBase(elegido->text().trimmed());
    // The port is the selected connection's own: one without a port shows none.
    puerto_ = QVariant();
    const qsizetype dosPuntos = servidor_.indexOf(u':');
    if (dosPuntos >= 0) {
        puerto_ = servidor_.mid(dosPuntos + 1);
        servidor_ = servidor_.left(dosPuntos).toUpper().trimmed();
    }
    TxtServidor->setText(servidor_);
    TxtUserId->setText(QString());
    TxtUserPassword->setText(QString());
    TxtDbName->setText(base_);
    TxtPuerto->setText(puerto_.toString());
}

QString frmAcceso::ServidorConPuerto() const
{
    const QString servidor = Valor(TxtServidor);
    const QString puerto = TxtPuerto->text().trimmed();
    if (servidor.isEmpty() || puerto.isEmpty() || puerto == QLatin1String("1433") || !ado::SepararPuerto(servidor).puerto.isEmpty())
        return servidor;
    return servidor + u':' + puerto;
}

// ---- Conectar and Cancelar --------------------------------------------------------------

void frmAcceso::bcAceptar_Click()
{
    servidor_.clear();
    DatosBase(NombreRegistro(Valor(TxtDbName), Valor(TxtServidor)));
    gUsuarioLogeado = Valor(TxtUserId);
    gPassWordLogeado = TxtUserPassword->text();
    if (servidor_.trimmed().isEmpty()) {
        servidor_ = ServidorConPuerto();
        base_ = Valor(TxtDbName);
        usuario_ = Valor(TxtUserId);
        clave_ = TxtUserPassword->text();
    }
    Aceptar = true;
    volverAlFormulario_ = false;
    RegistrarBases();
    if (std::exchange(volverAlFormulario_, false)) {
        Aceptar = false; // the registration's failure asked to try again: this form, as it is
        return;
    }
    done(QDialog::Accepted);
}

void frmAcceso::bcCancelar_Click()
{
    Aceptar = false;
    done(QDialog::Rejected);
}

void frmAcceso::RegistrarBases()
{
    if (!ExisteArchivoBases())
        CmdRegistrar_Click();
}

// ---- Registrar --------------------------------------------------------------------------

bool frmAcceso::ExisteBaseDeDatos(const QString& Servidor, const QString& DbName, const QString& Usuario,
                                  const QString& PassWord, const QString& Proveedor)
{
    try {
        if (gDB.gOpenFlag && gDB.gCnn.State() == ado::adStateOpen)
            gDB.gCnn.Close();
        const QString cadena = QStringLiteral("PROVIDER=") + Proveedor + QStringLiteral(";Server=") + Servidor
            + QStringLiteral(";Database =") + DbName + QStringLiteral(";UId=") + Usuario + QStringLiteral(";Pwd=")
            + PassWord + QStringLiteral(";");
        gDB.gCnn.Open(cadena, QString(), QString(), -1);
        gDB.gCnn.Close();
        return true;
    } catch (const suite::ErrorEjecucion&) {
        return false;
    }
}

void frmAcceso::CmdRegistrar_Click()
{
    const auto preguntar = [](const ErrorRT& e) {
        if (errorIgnorado(e.Number))
            return int(suite::Rutina::Seguir);
        suite::MsgBox(QStringLiteral("SQL Server start failed.  ") + u'\r' + QStringLiteral("SQL-DMO error:  ")
                          + numeroConSigno(e.Number) + u' ' + e.Description,
                      suite::vbOKOnly);
        return int(suite::vbCancel);
    };

    bool terminar = false;
    QString servidor;
    suite::Rutina r(preguntar);
    r([&] {
        const QString nombre = NombreRegistro(Valor(TxtDbName), Valor(TxtServidor));
        servidor_.clear();
        DatosBase(nombre);
        if (!servidor_.trimmed().isEmpty()) {
            suite::MsgBox(QStringLiteral("La conexion que intenta registrar ya existe "), suite::vbInformation,
                          QStringLiteral("Atencion"));
            terminar = true;
            return;
        }
        for (QLineEdit* c : {TxtServidor, TxtUserId, TxtUserPassword, TxtDbName})
            c->setText(c->text().trimmed());
        servidor = ServidorConPuerto();
        const QString base = Valor(TxtDbName);
        bool oracle = false;
        if (ExisteBaseDeDatos(servidor, base.toUpper(), base.toUpper(), base.toUpper(), DB_Dll::pSQLOLEDB)) {
            AgregaBase(nombre, base, base, base, servidor, extra_, oracle);
            return;
        }
        if (gDB.gOpenFlag && gDB.gCnn.State() == ado::adStateOpen)
            gDB.gCnn.Close();
        gDB.gServidor = servidor;
        gDB.gUsuario = Valor(TxtUserId);
        gDB.gUserPassWord = TxtUserPassword->text();
        gDB.gDBName = base;
        gDB.OpenServerADODB(false, 3, QString(), true, true);
        if (!gDB.gOpenFlag) {
            suite::MsgBox(QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR ") + servidor
                              + QStringLiteral(" VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD INGRESADO"),
                          suite::vbInformation, QStringLiteral("AVISO AL OPERADOR"));
            terminar = true;
            return;
        }
        AgregaBase(nombre, base, base, base, servidor, extra_, oracle);
    });
    if (terminar)
        return;

    // From here on every step runs, whatever failed before.
    suite::Rutina fin([&](const ErrorRT& e) {
        preguntar(e);
        return int(suite::Rutina::Seguir);
    });
    fin([&] {
        const QString odbc = suite::BuscarArchivoSinCaso(CarpetaAplicacion(), QStringLiteral("ODBC.exe"));
        if (!QFileInfo(odbc).isFile())
            return;
        const QString linea = QStringLiteral("Server=") + servidor + QStringLiteral(";DB=") + gDB.gDBName + u';';
        if (!QProcess::startDetached(odbc, {linea}, CarpetaAplicacion()))
            suite::Lanzar(53, QStringLiteral("No se pudo iniciar ") + QDir::toNativeSeparators(odbc));
    })([&] { gDB.gCnn.Close(); })([&] { llenarlist(); });
}

bool frmAcceso::EjecutarCmdRegDB(const QString& Archivo, QString& ErrDevuelto)
{
    const QStringList partes = QProcess::splitCommand(Archivo);
    QProcess proceso;
    if (!partes.isEmpty()) {
        proceso.start(partes.first(), partes.mid(1));
        proceso.waitForStarted();
    }
    if (partes.isEmpty() || (proceso.state() == QProcess::NotRunning && proceso.error() == QProcess::FailedToStart)) {
        ErrDevuelto = ErrorComando;
        return false;
    }
    if (proceso.state() != QProcess::NotRunning) {
        QEventLoop espera;
        connect(&proceso, &QProcess::finished, &espera, &QEventLoop::quit);
        espera.exec();
    }
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        const QString salida = QString::fromLocal8Bit(proceso.readAllStandardError()).trimmed();
        ErrDevuelto = ErrorComando + QStringLiteral(" (código de salida %1)").arg(proceso.exitCode());
        if (!salida.isEmpty())
            ErrDevuelto += QStringLiteral(": ") + salida;
        return false;
    }
    return true;
}

// ---- Crear Acceso Directo ---------------------------------------------------------------

void frmAcceso::CmdLineaComando_Click()
{
    try {
        const QString escritorio = CarpetaEscritorio();
        QString titulo = suite::TituloAplicacion().trimmed();
        if (titulo.isEmpty())
            titulo = NombreEjecutable();
        const QString ruta = QDir(escritorio).filePath(titulo + QStringLiteral(".desktop"));
#ifdef Q_OS_WIN
        const QString destino = CarpetaAplicacion() + NombreEjecutable() + QStringLiteral(".exe");
#else
        const QString destino = CarpetaAplicacion() + NombreEjecutable();
#endif
        if (QFileInfo::exists(ruta)) {
            suite::MsgBox(QStringLiteral("El acceso directo ya existe."), suite::vbInformation,
                          QStringLiteral("Acceso Directo"));
            return;
        }
        const QString argumentos = ArgumentosAccesoDirecto(ServidorConPuerto(), Valor(TxtDbName), Valor(TxtUserId));
        const QByteArray contenido = EntradaEscritorio(titulo, destino, {argumentos}, IconoPrograma()).toUtf8();
        QDir().mkpath(escritorio);
        QSaveFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size() || !archivo.commit())
            suite::Lanzar(75, QStringLiteral("No se pudo escribir %1 (%2)")
                                  .arg(QDir::toNativeSeparators(ruta), archivo.errorString()));
        // Desktops start only launchers marked executable; it names the user's connection:
        // its owner's only.
        QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        suite::MsgBox(QStringLiteral("Acceso directo creado correctamente en el escritorio."), suite::vbInformation,
                      QStringLiteral("Acceso Directo"));
    } catch (const suite::ErrorEjecucion& ex) {
        suite::MsgBox(QStringLiteral("Se ha producido un error: ") + ex.error().Description, suite::vbCritical,
                      QStringLiteral("Error"));
    }
}

// ---- The login prompt -------------------------------------------------------------------

std::optional<DatosAcceso> PromptFrmAcceso::Pedir(const DatosAcceso& inicial)
{
    // One login form at a time: a retry asked from inside the open one (its registration
    // failed) goes back to it.
    static frmAcceso* abierto = nullptr;
    if (abierto) {
        abierto->volverAlFormulario_ = true;
        return std::nullopt;
    }
    frmAcceso form;
    abierto = &form;
    const auto soltar = qScopeGuard([] { abierto = nullptr; });
    form.Form_Load();
    form.TxtDbName->setText(inicial.base);
    form.TxtServidor->setText(inicial.servidor);
    form.TxtUserId->setText(inicial.usuario);
    form.TxtUserPassword->setText(inicial.clave);
    form.CboPlataformaDB->setCurrentIndex(0);
    form.exec();
    if (!form.Aceptar)
        return std::nullopt;
    DatosAcceso r;
    r.base = frmAcceso::Valor(form.TxtDbName);
    r.servidor = form.ServidorConPuerto();
    r.usuario = frmAcceso::Valor(form.TxtUserId);
    r.clave = form.TxtUserPassword->text();
    r.plataforma = form.CboPlataformaDB->currentIndex();
    return r;
}

void InstalarPromptAcceso()
{
    static PromptFrmAcceso prompt;
    FijarPromptAcceso(&prompt);
}
