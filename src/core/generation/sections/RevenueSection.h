#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Receitas": per revenue account, the updated budget and the amount
// collected in each month of the bimester ("movimento" options), or the
// initial budget spread over the six bimesters ("orcado").
class RevenueSection final : public Section {
public:
    void fill(SectionContext &ctx) override;

    // The six bimester shares of a yearly budget: the total divided by six,
    // made exact to cents; the first share takes the rounding difference so
    // that the six add up to the total. A total of 0 or less gives six zeros.
    static QList<double> budgetSplit(double total);
};

} // namespace orven::generation
