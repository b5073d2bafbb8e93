#pragma once
// The lookup engine: turns a table name or a statement into a list or tree lookup, shows the
// dialog and keeps what the user chose. One instance serves the whole program (gConsultas()).

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class Lib_FrmCons3;

// One record of the lookup-definition file, its fields cleaned.
struct DefinicionConsulta {
    QString tabla;
    QString columnas;
    QString condicion;
    int registro = 0; // its place in the file, from 1
};
// The first record of the file whose table is `tabla` (case-insensitive); nothing when the
// file is missing, unreadable or has none. A record of that table that is damaged (cut
// short, control characters in its fields) gives nothing too, and *problema says why.
std::optional<DefinicionConsulta> BuscarDefinicion(const QString& archivo, const QString& tabla, QString* problema = nullptr);

class Lib_ClsCons3 {
public:
    Lib_ClsCons3();

    // ---- Public fields -------------------------------------------------------------------
    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    std::optional<QStringList> Valores = QStringList();
    std::optional<QStringList> Cantidades;
    bool Checks = false;             // one-shot: the next search offers check boxes
    QVariant ValorDevuelto;
    QString gConnString;
    QString gRutaMascaraConsultas;
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;
    QString CampoDevuelto;           // one-shot: the column whose value comes back

    // Sql is a table or view name, or a whole statement (it holds "SELECT").
    void ConsultaSearch(QString Sql, QStringList* CmpsDevueltos, const QString& Clave, QString& CampoBusqueda,
                        QString& Where, const QString& SentenciaOpcional = {}, bool TreeView = false,
                        const QString& ValoresDefault = {});

    // The statement a search would show (its first steps). Empty when the search ends at the
    // "Debe configurar la consulta para esta tabla" message.
    QString ArmarSentencia(const QString& Sql, QString& CampoBusqueda, QString& Where,
                           const QString& SentenciaOpcional = {});

    // ---- Option lists --------------------------------------------------------------------
    // Options start with "1" (checked) or another character; the checked texts come back
    // in Valores. Returns "".
    QString CheckOpciones(const QString& Titulo, const QStringList& Opc);
    template <typename... T>
    QString CheckOpciones(const QString& Titulo, const QString& o1, const T&... resto)
    {
        return CheckOpciones(Titulo, QStringList{o1, QString(resto)...});
    }
    QString MenuOpciones(const QString& Titulo, const QStringList& Opc);
    template <typename... T>
    QString MenuOpciones(const QString& Titulo, const QString& o1, const T&... resto)
    {
        return MenuOpciones(Titulo, QStringList{o1, QString(resto)...});
    }
    QString ConsultaDesdeArchivo(const QString& Titulo, const QString& QueArchivo, const QString& Separador = {});
    void GrabaConsultaDefault() {}

    // Called with every list dialog before it is shown.
    std::function<void(Lib_FrmCons3&)> AlAbrir;

private:
    // The statement of Sql's definition in the file of lookups; nothing when it has none
    // (or the file is damaged: said once), "" after "Debe configurar la consulta".
    std::optional<QString> sentenciaDeDefinicion(const QString& Sql, QString& CampoBusqueda, const QString& Where,
                                                 const QString& top);
    QString opciones(const QString& Titulo, const QStringList& filas, bool marcas, const QList<bool>& marcadas);

    bool UsaConsultaLike = false;
};

// The program's engine, created on first use (reads configuration then).
Lib_ClsCons3& gConsultas();
// Discards it (tests; a new company).
void ReiniciarConsultas();
