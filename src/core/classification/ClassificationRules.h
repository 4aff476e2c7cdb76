#pragma once

// What a classification window asks of its rules. The three windows
// (revenue, expense and outstanding-commitment records) share one pattern:
// a grid of records with some court columns, each cell of them painted as
// valid, missing (grey) or wrong (red), and two lookup keys (F2, F3) that
// open a dialog restricted to what the record may take and copy the chosen
// row into the record. The window does the painting, the dialogs and the
// editing; a rules object decides, from the record's values alone, the state
// of each checked cell and what each lookup offers.
//
// A window asks its rules for every cell it paints, so implementations keep
// whatever they check against in memory (the court chart, reference tables)
// and never query the database or parse a filter on the way.

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

namespace orven::db {
class RecordSet;
}

namespace orven::classification {

// How a checked cell is painted.
enum class CellState {
    Normal,  // valid, or a column that is not checked: row colours
    Missing, // empty: grey (RGB 128,128,128) with black text
    Invalid, // not in the chart / reference table: red (RGB 255,0,0) with the window colour as text
};

// A column of the grid that the rules check.
struct CheckedColumn {
    QString field;   // the record set's field, e.g. "BALCO_TCE"
    QString caption; // the grid column's caption, e.g. "Plano TCE (F2)"
};

enum class LookupKey { F2, F3 };

// What a lookup key does on a record.
struct LookupRule {
    enum class Dialog {
        None,     // no dialog for this record (the key does nothing)
        Chart,    // the court chart lookup (TFrmPesPlano)
        Category, // the economic category lookup (TFrmPesCatec)
    };
    Dialog dialog = Dialog::None;
    // Chart: the filter expression set on the dialog's result set (empty:
    // the whole chart).
    QString filter;
    // Category: the CATEC to position the dialog on (none when null).
    QVariant position;
    // On OK: record field <- column of the chosen row, in this order.
    QList<std::pair<QString, QString>> assignments;
};

class ClassificationRules {
public:
    virtual ~ClassificationRules() = default;

    // The checked columns, in grid order.
    virtual QList<CheckedColumn> checkedColumns() const = 0;

    // State of the cell of `field` (a field index of `records`) in view row
    // `viewRow` (the row as shown, the edit buffer for the row being
    // edited). Normal for a column these rules do not check.
    virtual CellState cellState(const db::RecordSet &records, int viewRow, int field) const = 0;

    // What `key` does on the record in view row `viewRow`.
    virtual LookupRule lookup(LookupKey key, const db::RecordSet &records, int viewRow) const = 0;
};

} // namespace orven::classification
