#pragma once

// The accounting database of a ZUNT year as this system knows it: the tables,
// views and selectable procedures that ORVEN reads (and the three court
// columns it writes), with the tables of liquidations, payments and budget
// changes that stand behind the views and procedures. The demo installation
// creates a database from these statements; the smoke test and `orven-cli
// info` walk the list of objects.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace orven::db {

struct SchemaObject {
    enum class Kind { Table, View, Procedure };

    QString name;
    Kind kind = Kind::Table;
    // True for the objects ORVEN relies on; false for the tables that only
    // feed the views and procedures (liquidations, payments, budget changes).
    bool contract = true;
    // Columns ORVEN's queries and record sets name (for procedures: the
    // output columns). Every one of them exists in the object.
    QStringList columns;
    // Arguments of a selectable procedure, as a call needs them: two
    // day.month.year texts, the first and the last day of the period.
    int argumentCount = 0;
};

// Every table, view and procedure created by schemaStatements(), in creation order.
const QList<SchemaObject> &schemaObjects();

// Names of the objects of the accounting database contract (tables, views
// and procedures ORVEN uses), in creation order.
QStringList contractObjects();

// Names of every table and view (contract or not), for row counts.
QStringList countableObjects();

// The DDL, one statement per entry (no terminators, no SET TERM), dialect 3.
// Indexes that only speed up reads come last in indexStatements() so that a
// bulk load can create them after the data.
QStringList schemaStatements();
QStringList indexStatements();

// Runs schemaStatements() (and, unless deferIndexes, indexStatements()) on an
// open connection to an empty database. Throws orven::Error with the
// statement and the engine's text when one fails.
void createSchema(QSqlDatabase &db, bool deferIndexes = false);
void createIndexes(QSqlDatabase &db);

} // namespace orven::db
