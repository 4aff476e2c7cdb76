#pragma once

// The client dataset's XML data packet: the file format of the court's
// catalogue, the court chart files, the chart version file and the
// guarantees file.
//
//   <?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0">
//     <METADATA><FIELDS><FIELD attrname=".." fieldtype=".." WIDTH=".."/>..</FIELDS><PARAMS/></METADATA>
//     <ROWDATA><ROW a=".." b=".."/>..</ROWDATA>
//   </DATAPACKET>
//
// Nested datasets live inside their parent ROW as a container element named
// like the nested field, holding "ROW" + name rows.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>

namespace orven::packet {

// Row state bits.
enum RowStateBits {
    RowOriginal = 1, // original image of a modified row
    RowDeleted = 2,
    RowInserted = 4,
    RowModified = 8, // new image of a modified row
    RowUnused = 32,
    RowDetailChanged = 64,
};

enum class FieldKind { Text, Integer, Float, Fixed, Boolean, Date, Time, DateTime, Blob, Nested };

struct Table;

struct Field {
    QString name;      // attrname: the attribute name used in each ROW
    QString fieldName; // fieldname, when the real name differs (blanks, odd characters); else empty
    QString type;      // fieldtype as written: "string", "string.uni", "i4", "r8", "date", "nested", ...
    QString subtype;   // SUBTYPE ("FixedChar", "Money", "Autoinc", "Text", ...) or empty
    int width = 0;     // WIDTH (0 = not given)
    int decimals = 0;  // DECIMALS
    bool required = false;
    bool readOnly = false;
    bool hidden = false;
    bool linkField = false;
    // Metadata (fields and params, no rows) of a nested field's dataset.
    std::shared_ptr<Table> nested;

    FieldKind kind() const;
    static Field text(const QString &name, int width, bool required = false);
    static Field integer(const QString &name, bool required = false);
    static Field floating(const QString &name);
    static Field nestedTable(const QString &name, const Table &metadata);
};

// A PARAMS element: its attributes in file order, and its PARAM children.
struct Params {
    QList<std::pair<QString, QString>> attributes; // DEFAULT_ORDER, PRIMARY_KEY, CHANGE_LOG, LCID, ...
    struct Param {
        QString name, value, type;
        bool roundtrip = false;
    };
    QList<Param> params;

    QString attribute(const QString &name) const; // case-insensitive; empty when absent
    void setAttribute(const QString &name, const QString &value);
};

// Rows of nested fields, keyed by the nested field's index in the parent table.
// A std::map whose copies are deep: copying a row (or a table) copies its
// nested tables too, so that changing a copy never changes the original.
class ChildTables : public std::map<int, std::shared_ptr<Table>> {
public:
    using Base = std::map<int, std::shared_ptr<Table>>;
    using Base::Base;
    ChildTables() = default;
    ChildTables(const ChildTables &other);
    ChildTables(ChildTables &&other) noexcept = default;
    ChildTables(const Base &other);
    ChildTables &operator=(const ChildTables &other);
    ChildTables &operator=(ChildTables &&other) noexcept = default;
    ChildTables &operator=(const Base &other);
    ~ChildTables() = default;
};

struct Row {
    int rowState = 0;        // 0 when absent
    QList<QVariant> values;  // by field index; a null QVariant is NULL; nested fields hold null
    // Rows of nested fields, keyed by the nested field's index in the parent table.
    ChildTables children;
};

struct Table {
    QList<Field> fields;
    Params params;
    QList<Row> rows;

    // Field lookup, without regard to case. -1 when absent.
    int indexOf(const QString &name) const;
    // Value of a field of a row; an invalid QVariant when the field is absent or NULL.
    // Values are typed by fieldtype: QString (string, string.uni, memo), int (i1 i2 i4
    // ui1 ui2) or qlonglong (i8 ui4), double (r4 r8 r10 fixed), bool, QDate, QTime,
    // QDateTime (wall clock, kept in Qt::UTC), QByteArray (bin.hex).
    QVariant value(const Row &row, const QString &name) const;
    // The value as the file writes it (1234.56, 20080229, TRUE); empty when NULL.
    QString text(const Row &row, const QString &name) const;
    // Converts the value to the field's type (text is read as the file would be:
    // "0" becomes 0.0 in an r8 field); an invalid QVariant sets NULL. Throws
    // orven::Error for an unknown field or a value the type cannot hold.
    void setValue(Row &row, const QString &name, const QVariant &value) const;
    // Rows of a nested field of a row (empty table with the metadata when none;
    // an empty table without fields when the name is not a nested field).
    const Table &child(const Row &row, const QString &nestedName) const;
    // Created on demand; throws orven::Error when the name is not a nested field.
    Table &child(Row &row, const QString &nestedName);
    // A new row with the right number of NULL values.
    Row newRow() const;
    Row &appendRow();
    // Metadata only (fields and params, no rows).
    Table metadata() const;
    // The data as a user sees it: rows without original images, deletions and
    // unused rows, row states cleared and CHANGE_LOG removed, recursively.
    Table visible() const;
};

class DataPacket {
public:
    Table root;

    // Reads a file. Throws orven::Error naming the file and what is wrong
    // (missing, unreadable, not XML, truncated, not a data packet, a value that
    // its field's type cannot hold). The encoding is decided from the bytes: a
    // UTF-8 byte-order mark or encoding="UTF-8" means UTF-8 (Windows-1252 when
    // the bytes are not valid UTF-8), anything else Windows-1252.
    static DataPacket load(const QString &path);
    static DataPacket parse(const QByteArray &bytes, const QString &sourceName);

    // The file bytes as the platform writes them: Windows-1252 text, no
    // encoding in the declaration, everything on one line after it. Characters
    // outside Windows-1252 are written as character references. Throws
    // orven::Error when a value cannot be written as its field's type.
    QByteArray serialize() const;
    // Writes to a temporary file beside path and renames it over path. Throws orven::Error.
    void save(const QString &path) const;
};

} // namespace orven::packet
