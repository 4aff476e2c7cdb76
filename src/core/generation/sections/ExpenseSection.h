#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Despesas": per expense element, the amounts committed, liquidated and
// paid in each month of the bimester ("movimento" options) and the year's
// appropriation ("orcado"). Financial programming and PPP accounts keep
// their catalogue markers and get no period.
class ExpenseSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
