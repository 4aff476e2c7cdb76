#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Saúde": the lines of the health spending report (tipo id "36") and of the
// health revenue (tipo id "30"), matched like the education section by court
// group and code.
class HealthSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
