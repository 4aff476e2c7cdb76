#pragma once

// The court chart in memory: every account of ORVEN_CONPLA with the kind of
// its group (TIPO of ORVEN_TIPO), read once and indexed by account code and
// by (group, account code). The classification windows ask it, for every
// court cell they paint, whether the cell's code is in the chart for the
// record's rule; the automatic classifications search it for their keys.
// Nothing here goes back to the database after loading, and a filter
// expression is parsed once per distinct text.

#include "db/Filter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

namespace orven::db {
class Conexao;
class RecordSet;
} // namespace orven::db

namespace orven::classification {

// One account of the court chart with the kind of its group.
struct ChartEntry {
    QString codTipo;      // CODTIPO: the group, e.g. "101"
    QString numContabil;  // NUM_CONTABIL: the court's code, e.g. "1.1.12.02.00"
    QString descContabil; // DESC_CONTABIL
    QString tipo;         // TIPO of the group: "R", "D", "V" or "P"
};

class CourtChart {
public:
    // The window chart set and the automatic classification's chart.
    static inline const QString kQuery =
        QStringLiteral("SELECT A.*,B.TIPO FROM ORVEN_CONPLA A INNER JOIN ORVEN_TIPO B ON B.CODTIPO = A.CODTIPO");
    // Columns a filter expression may name, in this order.
    static const QList<db::FilterColumn> &columns();

    CourtChart() = default;
    explicit CourtChart(QList<ChartEntry> entries);

    // Runs the query (it must return CODTIPO, NUM_CONTABIL and TIPO;
    // DESC_CONTABIL is optional). Throws orven::Error / db::DatabaseError.
    static CourtChart load(db::Conexao &connection, const QString &sql = kQuery);
    // Every row of the set's current view. Throws orven::Error when the set
    // is closed or lacks CODTIPO, NUM_CONTABIL or TIPO.
    static CourtChart fromRecordSet(const db::RecordSet &set);

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const QList<ChartEntry> &entries() const { return m_entries; }

    // The expression parsed for the chart's columns, with the grammar and
    // comparisons of the record sets' filters ("TIPO = 'R' AND CODTIPO = 108
    // OR CODTIPO = 103"; a bare number compared with CODTIPO matches "101").
    // Kept after the first call, so that painting never parses. Throws
    // orven::Error for an expression that does not parse.
    db::Filter filter(const QString &expression) const;

    // Whether a row kept by the filter (every row with an empty filter) has
    // exactly this NUM_CONTABIL (case and blanks count). A null or empty
    // code is never found.
    bool hasAccount(const QString &numContabil, const db::Filter &filter = {}) const;
    // Whether a row kept by the filter has exactly this CODTIPO and this
    // NUM_CONTABIL.
    bool hasPair(const QString &codTipo, const QString &numContabil, const db::Filter &filter = {}) const;
    // Index of the first such row in query order, -1 when none.
    int indexOfAccount(const QString &numContabil, const db::Filter &filter = {}) const;
    int indexOfPair(const QString &codTipo, const QString &numContabil, const db::Filter &filter = {}) const;

private:
    int firstMatch(const QList<int> *candidates, const db::Filter &filter) const;

    QList<ChartEntry> m_entries;
    QList<QList<QVariant>> m_rows; // the entries as filter rows, in columns() order
    QHash<QString, QList<int>> m_byAccount;
    QHash<std::pair<QString, QString>, QList<int>> m_byPair;
    mutable QHash<QString, db::Filter> m_filters;
};

} // namespace orven::classification
