#pragma once

// The data module: the one owner of the database connection and of the
// record sets that several windows share, from program start to program end.
//
//   CdsAux, CdsGeral     general-purpose reads: every user closes the set,
//                        sets its command text, opens it and reads its rows
//   CdsTipo, CdsConpla   the court chart tables ORVEN_TIPO and ORVEN_CONPLA
//   CdsXml               rows loaded from client-dataset files
//   CdsRecdis, CdsDesdis, CdsEmpenho
//                        revenue records, expense records and outstanding
//                        commitments, edited in place (never inserted) and
//                        applied to RECDIS, DESDIS and DESPES
//   CdsCliente, CdsLogo  the entity that owns the database and its logo
//   CdsLCatec, CdsLFuncao, CdsLSubFuncao, CdsLPrograma, CdsLAcao
//                        reference tables of the commitment window
//
// Creating the module opens CdsDesdis, and with it the connection; it stays
// open for the whole run (the lookups of CdsEmpenho read it).

#include "db/Connection.h"
#include "db/RecordSet.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace orven::db {

class TDM : public QObject {
    Q_OBJECT
public:
    // Query texts of the record sets.
    static inline const QString kSqlTipo = QStringLiteral("SELECT * FROM ORVEN_TIPO");
    static inline const QString kSqlConpla = QStringLiteral("SELECT * FROM ORVEN_CONPLA");
    static inline const QString kSqlRecdis = QStringLiteral("SELECT * FROM RECDIS ORDER BY FICHA ASCENDING");
    static inline const QString kSqlDesdis = QStringLiteral("SELECT * FROM DESDIS ORDER BY FICHA ASCENDING");
    // The outstanding commitments ("Restos à Pagar"): commitments that are not
    // annulments, of extra-budgetary expense records of accounts 3211...
    static const QString kSqlEmpenho;
    static inline const QString kSqlCliente = QStringLiteral("SELECT * FROM CADCLI");
    static inline const QString kSqlLogo = QStringLiteral("SELECT * FROM LOGO");
    static inline const QString kSqlLCatec = QStringLiteral("SELECT * FROM TABCATEC ORDER BY CATEC ASCENDING");
    static inline const QString kSqlLFuncao = QStringLiteral("SELECT * FROM TABFUNCAO ORDER BY FUNCAO ASCENDING");
    static inline const QString kSqlLSubFuncao =
        QStringLiteral("SELECT * FROM TABSUBFUNCAO ORDER BY SUBFUNCAO ASCENDING");
    static inline const QString kSqlLPrograma =
        QStringLiteral("SELECT * FROM TABPROGRAMA ORDER BY PROGRAMA ASCENDING");
    static inline const QString kSqlLAcao = QStringLiteral("SELECT * FROM TABACAO ORDER BY PROJATIV,ACAO ASCENDING");

    // Number format of the expense records' appropriation.
    static inline const QString kAmountFormat = QStringLiteral("#,0.00;-#,0.00");

    // Identifier of the shared transaction descriptor (isolation: read
    // committed, as every transaction of the connection).
    static constexpr int kTransactionId = 1;

    // Creates the module and opens CdsDesdis, which opens the connection.
    // databasePath empty: the path comes from zunt.ini at every connect (the
    // program); otherwise that fixed path (tests, tools). Throws
    // DatabaseError / orven::Error with the engine's own text when the
    // database cannot be opened; nothing is left behind then.
    explicit TDM(const QString &databasePath = QString(), QObject *parent = nullptr);
    ~TDM() override;
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    // The data module of the running program (the one created last and still
    // alive), or null.
    static TDM *instance();

    // ---- the connection and the record sets ---------------------------------
    db::Conexao *const Conexao;

    RecordSet *const CdsAux;
    RecordSet *const CdsGeral;
    RecordSet *const CdsTipo;
    RecordSet *const CdsConpla;
    RecordSet *const CdsXml;
    RecordSet *const CdsRecdis;
    RecordSet *const CdsDesdis;
    RecordSet *const CdsEmpenho;
    RecordSet *const CdsCliente;
    RecordSet *const CdsLogo;
    RecordSet *const CdsLCatec;
    RecordSet *const CdsLFuncao;
    RecordSet *const CdsLSubFuncao;
    RecordSet *const CdsLPrograma;
    RecordSet *const CdsLAcao;

    // Every record set above, in declaration order.
    QList<RecordSet *> recordSets() const;
    // The fields declared on a record set (by its name, e.g. "CdsRecdis");
    // empty for the sets without declared fields. Lookup fields aside.
    static QList<FieldDecl> declaredFields(const QString &setName);

    // ---- direct statements ----------------------------------------------------
    // Executes one statement that returns no rows (inside the active
    // transaction, else committed on its own) and returns the rows it
    // touched (-1 when not reported). Throws DatabaseError.
    int SQL(const QString &statement);

    // ---- files ----------------------------------------------------------------
    // Loads CdsXml from a client-dataset file (closing it first); its fields
    // are the file's. Throws orven::Error naming the file when it is missing
    // or unreadable.
    void loadCdsXml(const QString &path);

    // ---- the shared transaction and the apply error count ----------------------
    // Starts a transaction with the shared descriptor when none is active.
    // True when this call started it.
    bool startTransaction();
    bool inTransaction() const;
    // End the active transaction (nothing when none is active).
    void commit();
    void rollback();

    // Records the database refused in the last apply of a saving routine.
    int applyErrorCount = 0;

private:
    RecordSet *makeSet(const char *name, const QString &sql);
};

// Opens a record set on the visible rows of a client-dataset file: one field
// per file field (nested fields left out), text, integer, float, date and
// time, boolean and blob fields with their types. Throws orven::Error.
void openFromDataPacket(RecordSet &set, const QString &path);

} // namespace orven::db
