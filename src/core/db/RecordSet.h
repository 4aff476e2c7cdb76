#pragma once

// The in-memory record set the windows and the data module work with: a query
// run on the connection, its rows held in memory with a cursor, edited there
// and kept in a change log until the changes are applied to the database in
// one go.

#include "db/Connection.h"
#include "db/Filter.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <exception>
#include <functional>

namespace orven::db {

// Metadata declared for a field, laid over the query's column of that name.
struct FieldDecl {
    QString name;
    FieldType type = FieldType::Unknown; // Unknown: the column's own type
    int size = 0;                        // characters of a text field (0: the column's)
    bool required = false;               // a value is required before posting
    QString displayFormat;               // number format, e.g. "#,0.00;-#,0.00"
    bool currency = false;               // shown as money
};

// A field of an open record set.
struct Field {
    QString name;
    FieldType type = FieldType::Unknown;
    int size = 0;
    bool required = false;
    QString displayFormat;
    bool currency = false;
    bool lookup = false;  // taken from another record set, never stored nor written
    ColumnInfo column;    // the query column (data fields)

    bool isText() const
    {
        return type == FieldType::String || type == FieldType::FixedChar || type == FieldType::Memo;
    }
};

// What to do with a row that the database refused while applying.
enum class ReconcileAction {
    Skip,    // keep the row's edited values in the change log
    Correct, // the same here: the row keeps its edited values in the change log
    Cancel,  // give the row its earlier values back and drop it from the log
    Abort,   // keep the row and stop applying the rows after it
};

// Thrown by applyUpdates() and refresh() when the record being edited has to
// be posted first and the before-post hook cancels that post. It carries no
// message: the hook has told the user already.
class PostCancelled : public std::exception {
public:
    const char *what() const noexcept override { return "post cancelled"; }
};

class RecordSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit RecordSet(const QString &name = QString(), Conexao *connection = nullptr, QObject *parent = nullptr);
    ~RecordSet() override;

    // ---- declaration -------------------------------------------------------
    QString name() const { return objectName(); }
    void setConnection(Conexao *connection);
    Conexao *connection() const { return m_connection; }
    // The query (for the general-purpose sets, set by each caller before open).
    void setCommandText(const QString &sql) { m_commandText = sql; }
    QString commandText() const { return m_commandText; }
    // The table that applied changes go to. Empty: the table of the columns.
    void setUpdateTable(const QString &table) { m_updateTable = table; }
    QString updateTable() const;
    // Declared fields; the other columns of the query keep their own metadata.
    void setFieldDecls(const QList<FieldDecl> &fields);
    // A field found in `source` (in its current view, filter included): the
    // value of `resultField` of the first row whose `sourceKeyField` equals
    // this set's `keyField`; null when none.
    void addLookupField(const QString &name, FieldType type, int size, RecordSet *source, const QString &keyField,
                        const QString &sourceKeyField, const QString &resultField);
    // Inserting and appending are cancelled silently.
    void setRefuseInserts(bool refuse) { m_refuseInserts = refuse; }
    bool refusesInserts() const { return m_refuseInserts; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // ---- events --------------------------------------------------------------
    // Runs before every post; returning false cancels the post silently (the
    // record stays in editing with its values).
    std::function<bool(RecordSet &)> beforePost;
    // Told the message of an error that made edit(), post() or
    // deleteRecord() fail; the error then goes on to the caller.
    std::function<void(const QString &message)> onEditError;
    std::function<void(const QString &message)> onPostError;
    std::function<void(const QString &message)> onDeleteError;
    // Asked what to do with a row the database refused while applying;
    // `row` holds its values (data fields) and `message` the reason. Without
    // a handler the row stays in the change log (Skip).
    std::function<ReconcileAction(RecordSet &, const Row &row, const QString &message)> onReconcileError;

    // ---- opening -------------------------------------------------------------
    // Runs the command text on the connection and takes all its rows; the
    // cursor is on the first row. Does nothing when open.
    void open();
    // Opens the set on rows that come from elsewhere (files).
    void openRows(const QList<ColumnInfo> &columns, const QList<Row> &rows);
    // Drops the rows, the change log and a record being edited.
    void close();
    // Reads the rows again, keeping the cursor's position. Throws when changes
    // are pending.
    void refresh();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // ---- fields --------------------------------------------------------------
    int fieldCount() const { return int(m_fields.size()); }
    const Field &field(int index) const { return m_fields.at(index); }
    const QList<Field> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // -1 when there is none
    QStringList fieldNames() const;

    // ---- cursor --------------------------------------------------------------
    // Moving posts a record being edited (or drops it unchanged); when that
    // post is refused the cursor stays and the call returns false.
    bool first();
    bool last();
    bool next();
    bool prior();
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    // Position of the current row in the view, from 1; 0 when empty.
    int recNo() const { return m_cur < 0 ? 0 : m_cur + 1; }
    bool setRecNo(int recNo);
    // Rows in the view (the filter applied).
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.isEmpty(); }
    // Moves to the first row of the view whose fields hold exactly these
    // values (texts with case and blanks, numbers and dates by value, null
    // only with null). Stays put and returns false when there is none.
    bool locate(const QStringList &fieldNames, const QVariantList &values);
    bool locate(const QString &fieldName, const QVariant &value);

    // ---- values of the current row (the edit buffer while editing) ----------
    QVariant value(const QString &fieldName) const;
    QVariant value(int field) const;
    bool isNull(const QString &fieldName) const;
    // Only while editing or inserting. The value is converted to the field's
    // type; an empty text stores null; a text longer than the field's size is
    // cut to it.
    void setValue(const QString &fieldName, const QVariant &value);
    void setValue(int field, const QVariant &value);
    bool isModified() const { return m_modified; }

    // Random access for grids: a view row's value and its text as shown.
    QVariant valueAt(int viewRow, int field) const;
    QString displayText(int viewRow, int field) const;
    // All values of a view row (data fields, then lookup fields).
    Row rowAt(int viewRow) const;

    // ---- editing -------------------------------------------------------------
    // Starts editing the current row (on an empty view: inserts).
    void edit();
    // A new row before the current one / at the end. False when refused.
    bool insert();
    bool append();
    // Stores the record being edited. Checks required fields ("Field 'X'
    // must have a value"). False when the before-post hook cancelled it.
    bool post();
    void cancel();
    void deleteRecord();

    // ---- filter --------------------------------------------------------------
    // Expression of orven::db::Filter, over the set's field names. Setting
    // either puts the cursor on the first row of the new view.
    void setFilter(const QString &expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }

    // ---- change log ----------------------------------------------------------
    // Rows changed, inserted or deleted and not yet in the database.
    int changeCount() const;
    // Empties the change log: every row gets its database values back.
    void cancelUpdates();
    // Writes the change log to the update table, one statement per row, each
    // row found by the earlier values of all its columns (blobs aside). Runs
    // inside the connection's transaction when one is active, else in one of
    // its own that is committed at the end. Returns the number of rows the
    // database refused (an error, or no row or several rows matched); those
    // stay in the change log with their edited values. maxErrors < 0: no
    // limit; otherwise applying stops once more rows than that were refused.
    //
    // Rows written inside the caller's transaction leave the change log, and
    // come back into it when that transaction is rolled back, so that what
    // the user changed is never lost between the database and the set.
    int applyUpdates(int maxErrors = -1);

    // ---- grids -----------------------------------------------------------------
    // While disabled no signal is sent; enabling again sends reset().
    void disableControls() { ++m_disabled; }
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

signals:
    // The fields, the rows or the view changed as a whole.
    void reset();
    // Values of one view row changed (a post, an edit in progress).
    void rowChanged(int viewRow);
    void currentChanged(int viewRow);
    void stateChanged();
    // Internal: the values or the view changed (sets looking up in this one).
    void contentChanged();

private:
    struct StoredRow {
        quint64 id = 0;
        Row values;        // posted values of the data fields
        Row original;      // the row as the database holds it (empty for a new row)
        bool inserted = false;
        quint64 seq = 0;   // order of the first change
    };
    struct DeletedRow {
        StoredRow row;
        int position = 0;
    };
    struct LookupDef {
        QPointer<RecordSet> source;
        QString keyField, sourceKeyField, resultField;
        int keyIndex = -1; // in this set
    };
    struct Snapshot {      // change log before the first apply of a transaction
        quint64 transaction = 0;
        QHash<quint64, StoredRow> rows;
        QList<DeletedRow> deleted;
    };

    void requireActive() const;
    void requireRow() const;
    void buildFields(const QList<ColumnInfo> &columns);
    void takeRows(const QList<Row> &rows);
    void rebuildView();
    bool rowMatches(int storeIndex) const;
    Row fullRow(const Row &data) const;
    QVariant lookupValue(int field, const Row &data) const;
    QVariant findInView(int keyField, const QVariant &key, int resultField) const;
    QVariant convertForField(const Field &f, const QVariant &value, bool emptyIsNull) const;
    bool isChanged(const StoredRow &r) const;
    bool checkBrowseMode();
    void setState(State s);
    void moveTo(int viewIndex, bool bof, bool eof);
    void placeCursor(int viewIndex); // after the view changed: clamps, always tells
    void touch();
    void notifyReset();
    void notifyRow(int viewRow);
    void onTransactionEnded(quint64 id, bool committed);
    void onLookupSourceChanged();
    void parseFilter();
    QString sqlName(const QString &name) const;
    bool applyOne(const QString &table, const StoredRow &row, bool isDelete, QString *message);

    QPointer<Conexao> m_connection;
    QString m_commandText;
    QString m_updateTable;
    QList<FieldDecl> m_decls;
    QList<std::pair<FieldDecl, LookupDef>> m_lookupDecls;
    bool m_refuseInserts = false;
    int m_tag = 0;

    QList<Field> m_fields;
    int m_dataFieldCount = 0;
    QHash<QString, int> m_fieldIndex; // upper-case name -> index
    QList<LookupDef> m_lookups;       // by field index - m_dataFieldCount

    QList<StoredRow> m_rows;
    QList<DeletedRow> m_deleted;
    QList<int> m_view;                // indexes into m_rows
    int m_cur = -1;                   // index into m_view
    bool m_bof = true;
    bool m_eof = true;
    quint64 m_nextId = 1;
    quint64 m_nextSeq = 1;

    State m_state = State::Inactive;
    Row m_buffer;
    bool m_modified = false;
    int m_insertAt = -1;              // store index of a new row

    QString m_filterText;
    bool m_filtered = false;
    Filter m_filter;

    Snapshot m_snapshot;
    int m_disabled = 0;

    // Lookup index of this set as a source: key field -> first view row per key.
    mutable QHash<int, QHash<QString, int>> m_keyIndex;
};

} // namespace orven::db
