#pragma once

// The accounting database of the demo installation: the year 2008 of a
// small municipality in Pará (its city hall, council, funds, pension
// institute and water service), with revenue and expense records, their
// budgets, collections, commitments, liquidations and payments, the
// outstanding commitments of 2006 and 2007, the cash book and the ledger.
//
// The data is made by a fixed-seed generator: two databases of the same
// size hold the same rows. The court columns start mostly empty and the two
// court chart tables empty (the program imports the chart).

#include <QMap>
#include <QSqlDatabase>
#include <QString>

namespace orven {
class Progress;
}

namespace orven::demo {

enum class DemoSize {
    Small, // hundreds of records: made in a few seconds, used by the tests
    Large, // a big city: 5 000+ revenue and expense records, 200 000+ commitments
};

QString sizeName(DemoSize size); // "small", "large"
// "small" or "large" (case-insensitive); false for anything else.
bool parseSize(const QString &text, DemoSize *size);

inline constexpr int kDemoYear = 2008;

// Rows written per table.
struct DemoContents {
    QMap<QString, qint64> rows;
    qint64 rowsOf(const QString &table) const { return rows.value(table); }
    qint64 total() const;
};

// Fills a database whose schema has just been created (every table empty).
// Reports through progress (level 0: steps; status texts per phase). Throws
// orven::Error when a statement fails.
DemoContents fillDemoDatabase(QSqlDatabase &db, DemoSize size, Progress &progress);

// Creates the database file at path (dialect 3, WIN1252, owned by the
// suite's account), its schema and the demo data; creates the indexes after
// the data. The file must not exist. Throws orven::Error.
DemoContents createDemoDatabase(const QString &path, DemoSize size, Progress &progress);

} // namespace orven::demo
