#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Disponibilidades": for each kind of cash and bank account (chosen by the
// conta id, "1269" .. "1278"), the net movement of the cash ledger from
// January to the bimester's second month. One period per account with
// "valor_realizado"; an id the section does not know carries 0.00.
class CashSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
