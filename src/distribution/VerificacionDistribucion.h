#pragma once
// The consistency check of the distribution setup: tables that must total 100 % and do not,
// lines whose cost centre is gone from TA_CCOSTO, accounts assigned to a table that does not
// exist, tables without lines, a cost centre repeated in a table and percentages outside
// 0 to 100. Three reads; the rules run on the rows read.

#include "data/DB_Dll.h"

#include <QString>
#include <QStringList>
#include <vector>

struct Hallazgo {
    QString problema; // one of the Problema* texts
    QString tabla;    // the table's code, without the blanks of the code form
    QString nombre;   // the table's name (empty for a table that does not exist)
    QString detalle;
};

class VerificacionDistribucion {
public:
    static inline const QString ProblemaTotal = QStringLiteral("No suma 100 %");
    static inline const QString ProblemaCentro = QStringLiteral("Centro de costo inexistente");
    static inline const QString ProblemaCuenta = QStringLiteral("Cuenta asignada a una tabla inexistente");
    static inline const QString ProblemaSinLineas = QStringLiteral("Tabla sin líneas");
    static inline const QString ProblemaRepetido = QStringLiteral("Centro de costo repetido");
    static inline const QString ProblemaPorcentaje = QStringLiteral("Porcentaje fuera de 0 a 100");

    explicit VerificacionDistribucion(DB_Dll& db = gDB);

    // Every finding, by table code, then in the order above. False when a read failed (its
    // error already shown); the findings then are those of the reads that worked.
    bool Verificar(std::vector<Hallazgo>& hallazgos);

    static QString SentenciaLineas();
    static QString SentenciaCentros();
    static QString SentenciaCuentas();

    static QStringList Encabezado(); // "Problema", "Tabla", "Nombre", "Detalle"

private:
    DB_Dll& db_;
};
