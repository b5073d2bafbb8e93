#pragma once
// The store of distribution tables: every statement the editor runs on MA_CUENTAS_CCDIST,
// MA_CUENTAS and TA_CCOSTO, through a data-access object (gDB unless told otherwise).
// No widgets: the editor shows what it returns.

#include "data/DB_Dll.h"
#include "distribution/HistorialDistribucion.h"
#include "distribution/ListaCuentas.h"
#include "distribution/PlanillaCsv.h"

#include <QByteArray>
#include <QSet>

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

struct LineaDistribucion {
    QString centro;
    QString descripcion;
    QString porcentaje; // as the grid shows it, every stored decimal kept ("33,33", "33,3333")
};

struct TablaDistribucion {
    QString nombre;
    QString concepto;
    bool pideConfirmacion = false;
    std::vector<LineaDistribucion> lineas;                 // in ID order
    ListaCuentas cuentas;                                  // by code
    QByteArray huella;                                     // of the lines as read (Huella)
};

class AlmacenDistribucion {
public:
    explicit AlmacenDistribucion(DB_Dll& db = gDB);

    enum class Borrado { Hecho, Fallo, Cancelado }; // what came of a delete
    enum class Grabado { Hecho, Fallo, Cambiada };  // what came of a checked save

    // Reads a table's lines and its accounts (statements 1 and 2). Errors go to the error
    // dialog: Retry repeats the failing statement, Ignore goes on, others end the load.
    TablaDistribucion Cargar(const QString& codigo);

    // A checksum of a table's rows as stored (name, concept, flag, centre and exact
    // percentage of each, in ID order; not the accounts); empty when no row has the code.
    // Kept from the load and compared inside the save's transaction, it tells whether
    // another workstation saved or deleted the table meanwhile.
    QByteArray Huella(const QString& codigo);

    // Saves, deletes and imports hold each table's own lock for their transaction
    // (SentenciaBloqueo): those of different tables run side by side, two of one table queue.

    // The history of the writes (HistorialDistribucion), its tables created when missing:
    // from then on every save, delete and import records its version in its own transaction.
    // False, with the reason, when the tables cannot be created; writes then record nothing.
    bool PrepararHistorial(QString& error, const AutorGrabacion& autor = AutorGrabacion::actual());
    bool ConHistorial() const { return autor_.has_value(); }

    // Replaces the table's lines in one transaction. Lines whose cost centre is blank are
    // skipped. False when nothing was written: no line (a message says so) or a failure
    // (rolled back, the engine's message shown).
    bool Grabar(const QString& codigo, const QString& nombre, const QString& concepto, bool pideConfirmacion,
                const std::vector<std::pair<QString, QString>>& lineas, const MotivoGrabacion& motivo = {});
    // The same save, written only while the table still holds what `esperada` (a Huella)
    // says: inside the transaction, its rows are read under an update lock and compared.
    // Cambiada: nothing written, `actual` is what the table holds now. Hecho: `actual` is
    // the Huella of the lines just written.
    Grabado Grabar(const QString& codigo, const QString& nombre, const QString& concepto, bool pideConfirmacion,
                   const std::vector<std::pair<QString, QString>>& lineas, const QByteArray& esperada, QByteArray& actual,
                   const MotivoGrabacion& motivo = {});

    // Asks, then deletes the table and frees its accounts in one transaction.
    Borrado Borrar(const QString& codigo);

    void Asignar(const QString& cuenta, const QString& codigo);
    // Assigns accounts in one transaction: all or none. A failure, or an account another
    // workstation assigned to another table meanwhile, is rolled back and shown.
    bool AsignarVarias(const QStringList& cuentas, const QString& codigo);
    void Desasignar(const QString& cuenta);

    // The code a new table takes: one above the largest numeric code (BuscaMaximo), the
    // next free one when that is taken; empty when none of four digits is left.
    QString SiguienteCodigo();

    // CSV: the stored tables (one, or all when the code is empty) for a file; the cost
    // centres that exist (in capitals); the codes in use; and the tables of a file saved in
    // one transaction, each replacing the lines of the table with its code: all or none.
    std::vector<planilla::TablaPlanilla> TablasParaPlanilla(const QString& codigo);
    QSet<QString> Centros();
    QSet<QString> CodigosExistentes();
    bool GrabarTablas(const std::vector<planilla::TablaPlanilla>& tablas, const MotivoGrabacion& motivo = {});
    // Its batch, without the COMMIT: every table's lock first, then each table's lines (and
    // its version, when a motive is given and the history is on).
    QString LoteGrabarTablas(const std::vector<planilla::TablaPlanilla>& tablas, const MotivoGrabacion* motivo = nullptr) const;

    bool ExisteTabla(const QString& codigo);
    bool ExisteCentro(const QString& centro, ado::Recordset* rs);
    QString DescripcionCentro(const QString& centro); // empty when none
    bool TablaGrabada(const QString& codigo);

    // The statements, each written in one place.
    static QString Codigo(const QString& codigo); // the code form of width 4
    static QString SentenciaLineas(const QString& codigo);
    static QString SentenciaCuentas(const QString& codigo);
    static QString SentenciaDescripciones(const QString& codigo); // the lines' centres and their descriptions
    QString LoteGrabar(const QString& codigo, const QString& nombre, const QString& concepto, bool pideConfirmacion,
                       const std::vector<std::pair<QString, QString>>& lineas, const MotivoGrabacion* motivo = nullptr) const;
    // The lot without its BEGIN TRANSACTION: the delete and the inserts.
    QString SentenciasGrabar(const QString& codigo, const QString& nombre, const QString& concepto, bool pideConfirmacion,
                             const std::vector<std::pair<QString, QString>>& lineas) const;
    static QString SentenciaLineasBloqueadas(const QString& codigo); // inside a save's transaction
    // The table's lock, right after BEGIN TRANSACTION: held until the transaction ends.
    static QString SentenciaBloqueo(const QString& codigo);
    static QString SentenciaPlanilla(const QString& codigo);         // every table when empty
    static QString LoteBorrar(const QString& codigo);
    static QString SentenciasBorrar(const QString& codigo); // the lot without BEGIN and lock
    static QString SentenciaAsignar(const QString& cuenta, const QString& codigo);
    static QString SentenciaDesasignar(const QString& cuenta);
    static QString SentenciaGrabada(const QString& codigo);
    static QString SentenciaTablas();

    static inline const QString MensajeCuentasTomadas =
        QStringLiteral("Otro puesto asignó alguna de las cuentas elegidas a otra tabla mientras tanto. "
                       "No se asignó ninguna: vuelva a elegirlas.");
    static inline const QString MensajeSinLineas =
        QStringLiteral("No se encontraron registros en la Grilla de Centros de Costos para su Actualización.");

private:
    // Commits when the batch left no error, else rolls back and shows the first error.
    bool confirmar(const QString& titulo);
    void leerDescripciones(const QString& codigo, std::vector<LineaDistribucion>& lineas);
    std::optional<QByteArray> leerHuella(const QString& sentencia);
    void deshacer();
    // The statements of a write of one table, with its version around them when the history
    // is on and a motive is given.
    QString conHistorial(const QString& codigo, const MotivoGrabacion* motivo, const QString& cuerpo) const;

    DB_Dll& db_;
    std::optional<AutorGrabacion> autor_; // set while the history is on
};

// Finds an account by its code or, failing that, by its optional code (or the other way
// round when porCodigoOpcional is set); the account text becomes the code found and the
// recordset stays on its row.
bool BuscarCuenta(QString& cuenta, ado::Recordset& rs, bool soloLectura, bool& porCodigoOpcional);
