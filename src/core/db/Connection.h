#pragma once

// The program's database connection. It talks to the Firebird client library
// directly: the attachment uses the WIN1252 character set of the suite's
// databases, and every transaction is read committed and waits on locks, as
// the other workstations of the suite expect. (Qt's QIBASE driver fixes both:
// UTF8 for the attachment and snapshot isolation for every transaction.)

#include "common/Error.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace orven::db {

// An error reported by the database engine. message() is the engine's own
// text, its lines joined by "\n" (the text the error translator reads).
class DatabaseError : public Error {
public:
    DatabaseError(QString message, long sqlCode = 0, long gdsCode = 0)
        : Error(std::move(message)), m_sqlCode(sqlCode), m_gdsCode(gdsCode)
    {
    }
    long sqlCode() const noexcept { return m_sqlCode; }
    // The first error code of the engine's status vector (isc_...).
    long gdsCode() const noexcept { return m_gdsCode; }
    // A lock conflict, an update conflict or a deadlock.
    bool isLockConflict() const noexcept;

private:
    long m_sqlCode;
    long m_gdsCode;
};

// Kinds of value a column or field holds, and the QVariant type each comes as:
// String and FixedChar: QString (CHAR keeps its padding); SmallInt, Integer:
// int; LargeInt: qlonglong; Float (also scaled NUMERIC/DECIMAL): double;
// Date: QDate; Time: QTime; DateTime: QDateTime; Blob: QByteArray; Memo (text
// blob): QString; Boolean: bool. A null value is an invalid QVariant.
enum class FieldType { Unknown, String, FixedChar, SmallInt, Integer, LargeInt, Float, Date, Time, DateTime, Blob, Memo, Boolean };

// A column of a query result.
struct ColumnInfo {
    QString name;       // the column's name in the result (its alias)
    QString relation;   // the table it comes from; empty for an expression
    QString sourceName; // its name in that table
    FieldType type = FieldType::Unknown;
    int size = 0;       // characters, for text columns
    int scale = 0;      // decimal places of a NUMERIC/DECIMAL column
    bool nullable = true;
};

using Row = QList<QVariant>;

struct ResultSet {
    QList<ColumnInfo> columns;
    QList<Row> rows;
};

// The connection `Conexao`. Before every connect the database path is taken
// afresh from the installation: folder of directory code "B", then "ZUNT",
// the exercise year "Ano" of zunt.ini and ".FDB". A local path opens the
// embedded engine; "host:path" reaches a server. User KALDOR08, dialect 3,
// character set WIN1252.
//
// Transactions: every transaction is read committed (a statement sees what
// others committed before it ran) and waits on the row locks of other
// connections. A statement run while no explicit transaction is active runs
// in one of its own that is committed at once (or rolled back when the
// statement fails). An explicit transaction is started with
// startTransaction() only when none is active, and is ended by commit() or
// rollback(); every statement and record set of this connection then works
// inside it.
class Conexao : public QObject {
    Q_OBJECT
public:
    explicit Conexao(QObject *parent = nullptr);
    ~Conexao() override;
    Conexao(const Conexao &) = delete;
    Conexao &operator=(const Conexao &) = delete;

    // The path of the before-connect step: resolvePath("B") + "ZUNT" + Ano + ".FDB".
    static QString zuntDatabasePath();

    // By default every connect runs the before-connect step above. A fixed
    // path (tests, the command line's own databases) replaces that step; an
    // empty path restores it.
    void setDatabasePath(const QString &path);
    // The path used by the last connect (or the fixed path before any).
    QString databasePath() const;

    // Connects (running the before-connect step first). Does nothing when
    // already open. Throws DatabaseError with the engine's text.
    void open();
    // Rolls back an active transaction and disconnects.
    void close();
    bool isOpen() const;

    bool inTransaction() const;
    // Starts the explicit transaction. Throws orven::Error when one is
    // active already (callers start one only when none is active). Opens the
    // connection when needed.
    void startTransaction();
    void commit();
    void rollback();
    // Serial number of the active explicit transaction (0 when none).
    quint64 transactionId() const;

    // Runs a statement that returns no rows, with positional parameters
    // ("?"), and returns the number of rows it inserted, updated or deleted
    // (-1 when the statement does not report one). Opens the connection when
    // needed. Throws DatabaseError.
    int execute(const QString &sql, const QVariantList &params = {});
    // Runs a query and returns all its rows.
    ResultSet select(const QString &sql, const QVariantList &params = {});
    // First column of the first row; an invalid QVariant when there is no row.
    QVariant selectValue(const QString &sql, const QVariantList &params = {});

signals:
    // An explicit transaction ended: committed, or rolled back (also when the
    // connection closes with it active).
    void transactionEnded(quint64 id, bool committed);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace orven::db
