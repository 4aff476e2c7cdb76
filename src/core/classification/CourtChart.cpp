#include "classification/CourtChart.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "db/RecordSet.h"

namespace orven::classification {

namespace {

QString textOf(const QVariant &v) { return v.isValid() && !v.isNull() ? v.toString() : QString(); }

} // namespace

const QList<db::FilterColumn> &CourtChart::columns()
{
    static const QList<db::FilterColumn> cols = {
        {QStringLiteral("CODTIPO"), true},
        {QStringLiteral("NUM_CONTABIL"), true},
        {QStringLiteral("DESC_CONTABIL"), true},
        {QStringLiteral("TIPO"), true},
    };
    return cols;
}

CourtChart::CourtChart(QList<ChartEntry> entries) : m_entries(std::move(entries))
{
    m_rows.reserve(m_entries.size());
    m_byAccount.reserve(m_entries.size());
    m_byPair.reserve(m_entries.size());
    for (int i = 0; i < int(m_entries.size()); ++i) {
        const ChartEntry &e = m_entries.at(i);
        m_rows.append({e.codTipo, e.numContabil, e.descContabil, e.tipo});
        m_byAccount[e.numContabil].append(i);
        m_byPair[{e.codTipo, e.numContabil}].append(i);
    }
}

CourtChart CourtChart::load(db::Conexao &connection, const QString &sql)
{
    const db::ResultSet result = connection.select(sql);
    int codTipo = -1, num = -1, desc = -1, tipo = -1;
    for (int i = 0; i < int(result.columns.size()); ++i) {
        const QString name = result.columns.at(i).name.toUpper();
        // The first column of each name wins (A.* comes before B.TIPO).
        if (name == u"CODTIPO" && codTipo < 0)
            codTipo = i;
        else if (name == u"NUM_CONTABIL" && num < 0)
            num = i;
        else if (name == u"DESC_CONTABIL" && desc < 0)
            desc = i;
        else if (name == u"TIPO" && tipo < 0)
            tipo = i;
    }
    if (codTipo < 0 || num < 0 || tipo < 0)
        throw Error(QStringLiteral("A consulta do plano de contas do ORVEN não traz CODTIPO, NUM_CONTABIL e TIPO."));
    QList<ChartEntry> entries;
    entries.reserve(result.rows.size());
    for (const db::Row &r : result.rows)
        entries.append({textOf(r.value(codTipo)), textOf(r.value(num)), desc < 0 ? QString() : textOf(r.value(desc)),
                        textOf(r.value(tipo))});
    return CourtChart(std::move(entries));
}

CourtChart CourtChart::fromRecordSet(const db::RecordSet &set)
{
    if (!set.isActive())
        throw Error(QStringLiteral("%1: o plano de contas do ORVEN não está aberto.").arg(set.name()));
    const int codTipo = set.fieldIndex(QStringLiteral("CODTIPO"));
    const int num = set.fieldIndex(QStringLiteral("NUM_CONTABIL"));
    const int desc = set.fieldIndex(QStringLiteral("DESC_CONTABIL"));
    const int tipo = set.fieldIndex(QStringLiteral("TIPO"));
    if (codTipo < 0 || num < 0 || tipo < 0)
        throw Error(QStringLiteral("%1: o plano de contas do ORVEN não traz CODTIPO, NUM_CONTABIL e TIPO.").arg(set.name()));
    QList<ChartEntry> entries;
    entries.reserve(set.recordCount());
    for (int row = 0; row < set.recordCount(); ++row)
        entries.append({textOf(set.valueAt(row, codTipo)), textOf(set.valueAt(row, num)),
                        desc < 0 ? QString() : textOf(set.valueAt(row, desc)), textOf(set.valueAt(row, tipo))});
    return CourtChart(std::move(entries));
}

db::Filter CourtChart::filter(const QString &expression) const
{
    const auto it = m_filters.constFind(expression);
    if (it != m_filters.constEnd())
        return it.value();
    db::Filter parsed = db::Filter::parse(expression, columns());
    m_filters.insert(expression, parsed);
    return parsed;
}

int CourtChart::firstMatch(const QList<int> *candidates, const db::Filter &filter) const
{
    if (!candidates)
        return -1;
    for (int i : *candidates) {
        if (filter.matches(m_rows.at(i)))
            return i;
    }
    return -1;
}

int CourtChart::indexOfAccount(const QString &numContabil, const db::Filter &filter) const
{
    if (numContabil.isEmpty())
        return -1;
    const auto it = m_byAccount.constFind(numContabil);
    return it == m_byAccount.constEnd() ? -1 : firstMatch(&it.value(), filter);
}

int CourtChart::indexOfPair(const QString &codTipo, const QString &numContabil, const db::Filter &filter) const
{
    if (codTipo.isEmpty() || numContabil.isEmpty())
        return -1;
    const auto it = m_byPair.constFind({codTipo, numContabil});
    return it == m_byPair.constEnd() ? -1 : firstMatch(&it.value(), filter);
}

bool CourtChart::hasAccount(const QString &numContabil, const db::Filter &filter) const
{
    return indexOfAccount(numContabil, filter) >= 0;
}

bool CourtChart::hasPair(const QString &codTipo, const QString &numContabil, const db::Filter &filter) const
{
    return indexOfPair(codTipo, numContabil, filter) >= 0;
}

} // namespace orven::classification
