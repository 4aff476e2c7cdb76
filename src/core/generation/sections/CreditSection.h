#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Operação de Crédito": the revenue received in the bimester's two months on
// the revenue records classified with the account's group and code, for the
// whole municipality whatever the entity. One period with "valor_realizado".
class CreditSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
