#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Deduções": the FUNDEB deductions, revenue records with negative amounts,
// written as positive values: the revenue amounts of each month of the
// bimester ("movimento") and the year's initial budget ("orcado"), negated.
class DeductionSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
