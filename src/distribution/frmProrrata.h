#pragma once
// The program's working window: distribution tables of cost centres and their accounts.

#include <QWidget>

class frmProrrata : public QWidget {
    Q_OBJECT
public:
    static inline const QString Titulo = QStringLiteral("Distribución y Asignación de Centros de Costos");

    explicit frmProrrata(QWidget* parent = nullptr);

    // The load event: start-up from the command line, then the form made ready.
    void Form_Load(const QString& lineaComandos);
};
