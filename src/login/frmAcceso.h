#pragma once
// The login form: the connections registered on this workstation beside the boxes of the
// application user, the database, the server and the platform. Conectar hands the boxes to
// the connection code; Registrar adds the typed connection to BASES.TXT after testing it;
// Crear Acceso Directo puts a launcher of it on the desktop.

#include "data/PromptAcceso.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariant>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmAcceso : public QDialog {
    Q_OBJECT
public:
    explicit frmAcceso(QWidget* parent = nullptr);

    // True when the form was closed with Conectar.
    bool Aceptar = false;

    // ---- Controls, named as the form names them ---------------------------------------
    QList<QLabel*> Label1; // the title, "AUTENTICACION", "Conexiones registradas"
    QLabel* Label7 = nullptr;
    QListWidget* lstBases = nullptr;
    QFrame* framAcceso = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* TxtUserId = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* TxtUserPassword = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* TxtDbName = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* TxtServidor = nullptr;
    QLineEdit* TxtPuerto = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* CboPlataformaDB = nullptr;
    QPushButton* bcAceptar = nullptr;
    QPushButton* bcCancelar = nullptr;
    QPushButton* CmdRegistrar = nullptr;
    QPushButton* CmdLineaComando = nullptr;

    // ---- Events and procedures ------------------------------------------------------------
    void Form_Load();
    void llenarlist();
    void DatosBase(const QString& Nombre);
    void AsignarDatosBase();
    void MensajeInicial(QLineEdit* ObjTxt);
    void RegistrarBases();
    void bcAceptar_Click();
    void bcCancelar_Click();
    void CmdRegistrar_Click();
    void CmdLineaComando_Click();
    bool ExisteBaseDeDatos(const QString& Servidor, const QString& DbName, const QString& Usuario,
                           const QString& PassWord, const QString& Proveedor);
    // Runs a command line and waits for it while the window keeps answering. False, with
    // ErrDevuelto set, when it could not start or ended in failure.
    bool EjecutarCmdRegDB(const QString& Archivo, QString& ErrDevuelto);

    // The hint an empty box shows ("" for the password and the port).
    static QString Sugerencia(const QLineEdit* caja);
    // The box's text, empty while it shows its hint.
    static QString Valor(const QLineEdit* caja);
    // The server box, with the port box's port after a colon when the server box names no
    // port and that port is not SQL Server's default (1433).
    QString ServidorConPuerto() const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void reject() override { bcCancelar_Click(); } // Escape and the close box cancel

private:
    void construir();
    QFrame* construirCabecera();
    void construirLista();
    void construirEntradas();
    void construirBotones();
    void disponer(QFrame* cabecera);
    void conectar();
    void pintarSugerencia(QLineEdit* caja);

    // The current connection (loaded from BASES.TXT or typed).
    QString usuario_;
    QString servidor_;
    QString base_;
    QString clave_;
    QString extra_; // nothing sets it; passed to AgregaBase as its suffix
    QVariant puerto_;
    bool enMensajeInicial_ = false;
    bool volverAlFormulario_ = false; // a login asked while this form was open
    friend class PromptFrmAcceso;
};

// The login prompt of the connection code: shows frmAcceso pre-filled and hands back its
// boxes when the user connects.
class PromptFrmAcceso : public IPromptAcceso {
public:
    std::optional<DatosAcceso> Pedir(const DatosAcceso& inicial) override;
};

// Makes the connection code show frmAcceso from now on.
void InstalarPromptAcceso();
