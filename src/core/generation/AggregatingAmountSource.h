#pragma once

// An amount source that answers the sections' per-account requests from
// totals it gathers once per period.
//
// The revenue, deduction, education, health and expense sections ask, for
// every account and month, one aggregate over the same rows: the revenue
// procedure receita_nivel (which computes every revenue record of the period
// at each call), the expense procedure DESPESA_NIVEL, or the commitment,
// liquidation, payment and appropriation tables. This source recognises those
// requests by their description (section, measure, account, dates, entity)
// AND by their query text, which must be, byte for byte, the text the section
// builds for that description. For each distinct grouped query (same rows,
// same dates, same entity) it sends once
//
//   select <court columns>, sum(...), ... from ... group by <court columns>
//
// keeps the totals and answers every later request of that kind from them,
// matching the account the way the database compares it (trailing blanks do
// not count, letter case does) and reading null sums as the query would.
// Everything else, and any request whose text differs from the expected one,
// goes to the wrapped source unchanged.
//
// Before the first grouped query it checks, in the database's system tables,
// that the court columns it matches are text columns with a binary collation
// (where 'A' = 'A  ' and 'A' <> 'a'); for columns that are not, the requests
// go to the wrapped source.

#include "generation/AmountSource.h"

#include <memory>

namespace orven::generation {

class AggregatingAmountSource final : public AmountSource {
public:
    // Wraps a source owned elsewhere (it must outlive this one).
    explicit AggregatingAmountSource(AmountSource &inner);
    // Wraps and owns a source.
    explicit AggregatingAmountSource(std::unique_ptr<AmountSource> inner);
    ~AggregatingAmountSource() override;

    QList<double> amounts(const AmountRequest &request) override;
    QList<QVariantList> rows(const QString &sql) override;
    // Queries really sent, through the wrapped source: the requests passed on,
    // the grouped queries and the column check.
    qint64 queryCount() const override;

    // Requests answered from gathered totals (no query of their own).
    qint64 answeredCount() const;
    // Queries this source sent itself (grouped queries and the column check).
    qint64 ownQueryCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace orven::generation
