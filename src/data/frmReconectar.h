#pragma once
// The reconnection window: a message, the progress of the attempts, "Reintentar" (start the
// next series at once) and "Cerrar Sistema" (end the program). Modeless and centred.

#include "data/VentanaReconexion.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class frmReconectar : public QDialog, public IVentanaReconexion {
    Q_OBJECT
public:
    explicit frmReconectar(QWidget* padre = nullptr);

    bool Cancelar_ = false;
    bool Reintentar_ = false;
    QLabel* lblMensaje;
    QProgressBar* prgIntentos;
    QPushButton* CmdReintentar;
    QPushButton* cmdCancelar;

    void Mostrar(const QString& mensaje) override;
    void Avance(int progreso, bool habilitarReintentar) override;
    bool Cancelar() const override { return Cancelar_; }
    bool Reintentar() const override { return Reintentar_; }
    void Cerrar() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
};
