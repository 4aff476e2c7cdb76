#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

namespace orven::db {

// One column of the record set a filter runs on, in the order of the row's values.
// text: a string column; every other column (integer, float, date, timestamp) is
// compared as a number.
struct FilterColumn {
    QString name;
    bool text = false;
};

// The filter expression of a client-side record set, parsed once into a flat
// program with resolved column indexes and pre-converted constants, then
// evaluated row by row without allocating.
//
// Grammar (keywords and field names in any case; blanks between tokens are free):
//   expression := term { OR term }                 (empty expression: every row)
//   term       := factor { AND factor }            (AND binds tighter than OR)
//   factor     := NOT factor | '(' expression ')' | comparison
//   comparison := operand op operand               (one field and one constant)
//   op         := '=' | '<>' | '<' | '>' | '<=' | '>='
//   operand    := field | 'text' | number
//   text       := '...' with '' standing for one quote
//   number     := [+|-] digits [ '.' digits ]      (also ".5" and "5.")
// A constant may stand on either side ("101 = CODTIPO" is "CODTIPO = 101").
//
// How values compare:
// - Text column with a quoted text: exact, case-sensitive, blanks kept; the
//   ordering operators compare UTF-16 code units. "TIPO = '-1'" is a plain
//   text compare (no row has that type).
// - Text column with a bare number: the cell is read as a number (blanks around
//   it ignored, leading zeros, sign and decimal point allowed, no exponent or
//   thousands separator) and compared numerically, so "CODTIPO = 101" matches
//   "101", " 101", "0101" and "101.0". A cell that does not read as a number
//   ("", "10A") is unequal to every number: '<>' is true, the others false.
// - Numeric or date column with a bare number: numerically.
// - Numeric or date column with a quoted text: the text is converted once, when
//   parsing: as a number ("EMPRESA = '2'") or as a date "dd/mm/yyyy" with an
//   optional " hh:mm[:ss]". A text that is neither is an error. Dates and
//   timestamps compare as day numbers counted from 30/12/1899 with the time as
//   the fraction of the day, so a bare number compares with them that way too.
//   A cell of a numeric or date column that holds no number (a text that does
//   not read as one) counts as NULL.
// - NULL (a null QVariant, or a row shorter than the column list) compares
//   false with everything, '<>' included. NOT simply inverts its operand, so
//   "NOT TIPO = 'R'" keeps rows whose TIPO is NULL while "TIPO <> 'R'" drops them.
//   An empty text is a value, not NULL.
// - Comparing two fields or two constants is an error.
// - Nesting deeper than 200 parentheses or NOTs is refused as an error.
// An OR of four or more equalities on one column ("FICHA = 12 OR FICHA = 40
// OR ...") is looked up as a sorted set; the result is the same.
class Filter {
public:
    // The empty filter: matches every row.
    Filter();

    // Parses an expression for a record set with these columns. Throws
    // orven::Error naming the expression and the 1-based position for a syntax
    // error, an unknown field, or a quoted constant that a numeric or date
    // column cannot take. Blanks only make an empty filter.
    static Filter parse(const QString &expression, const QList<FilterColumn> &columns);

    // row holds the values by column index.
    bool matches(const QList<QVariant> &row) const;
    bool isEmpty() const { return !m_program; }
    // The expression as given to parse().
    QString text() const { return m_text; }

    // Whole-row scans. select() gives the indexes of the matching rows in
    // order; indexOf() the first matching row at or after from (-1 if none).
    QList<qsizetype> select(const QList<QList<QVariant>> &rows) const;
    qsizetype indexOf(const QList<QList<QVariant>> &rows, qsizetype from = 0) const;

    // Locate within the filtered rows: the first row at or after from that
    // matches the filter and whose keyColumns hold keyValues (-1 if none). Keys
    // compare by value: texts exactly (case and blanks count), numbers and dates
    // numerically, a null key only with a null cell.
    qsizetype locate(const QList<QList<QVariant>> &rows, const QList<int> &keyColumns,
                     const QList<QVariant> &keyValues, qsizetype from = 0) const;

    struct Program;

private:
    std::shared_ptr<const Program> m_program;
    QString m_text;
};

} // namespace orven::db
