#pragma once
// Each table's history: every save, delete, copy, import and restore writes, in its own
// transaction, who, when, from which workstation, and the table's rows before and after, into
// two tables of the company database created when missing (MA_CUENTAS_CCDIST_HIST, one row
// per version; MA_CUENTAS_CCDIST_HISTLIN, the rows before and after). The rows are copied by
// the database itself (INSERT ... SELECT), so the percentages are kept exactly as stored.

#include "data/DB_Dll.h"
#include "suite/Moneda.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Why a table is written; the history names it.
struct MotivoGrabacion {
    QString operacion = QStringLiteral("GRABAR"); // GRABAR, BORRAR, COPIAR, IMPORTAR, RESTAURAR
    QString detalle;                               // the copied table, the sheet, the version restored
};

// Who writes: the suite's user and the workstation.
struct AutorGrabacion {
    QString usuario;
    QString puesto;
    static AutorGrabacion actual();
};

// A table as one version recorded it: header, flag and lines in their order.
struct EstadoTabla {
    QString nombre;
    QString concepto;
    bool pideConfirmacion = false;
    std::vector<std::pair<QString, suite::Moneda>> lineas; // centre, exact percentage
    bool existe() const { return !lineas.empty(); }
};

struct VersionTabla {
    qint64 id = 0; // the order the database applied the writes in
    QString version;
    QString fecha; // dd/MM/yyyy HH:mm:ss
    QString usuario;
    QString puesto;
    QString operacion;
    QString detalle;
    EstadoTabla antes;
    EstadoTabla despues;

    // "Alta", "Modificación", "Baja", "Copia", "Importación" or "Restauración".
    QString nombreOperacion() const;
    // "del 11/12/2026 10:32:05 de ana", to name the version.
    QString cuando() const;
};

// One difference between a version's before and after.
struct CambioTabla {
    QString que;     // "Nombre", "Concepto", "Total 100 %", "Línea agregada", "Línea quitada", "Porcentaje"
    QString centro;  // for lines
    QString antes;
    QString despues;
};

class HistorialDistribucion {
public:
    static inline const QString Tabla = QStringLiteral("MA_CUENTAS_CCDIST_HIST");
    static inline const QString TablaLineas = QStringLiteral("MA_CUENTAS_CCDIST_HISTLIN");

    explicit HistorialDistribucion(DB_Dll& db = gDB);

    // The two tables, created when missing. False with the reason when they are not there
    // and cannot be created.
    bool Preparar(QString& error);
    // Every version of a table, newest first.
    std::vector<VersionTabla> Versiones(const QString& codigo);

    // The statements of one version of a table: its record, and the table's rows copied
    // before (A) and after (D) the write. Run inside the write's transaction.
    static QString SentenciaRegistro(const QString& version, const QString& codigo, const AutorGrabacion& autor,
                                     const MotivoGrabacion& motivo);
    static QString SentenciaCopia(const QString& version, const QString& codigo, QChar estado);
    static QStringList SentenciasCrear();
    static QString SentenciaVersiones(const QString& codigo);
    static QString SentenciaLineasVersiones(const QString& codigo);

    static std::vector<CambioTabla> Cambios(const VersionTabla& v);
    // The changes in one line of text, for the list of versions.
    static QString Resumen(const VersionTabla& v);

private:
    bool existe(const QString& tabla);
    DB_Dll& db_;
};
