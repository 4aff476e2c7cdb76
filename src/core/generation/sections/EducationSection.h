#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Educação": the lines of the education spending report (tipo id "35") and
// of the education revenue (tipo id "29"). Records belong to an account when
// their court group (GRUPO_TCE) is the tipo value and their court code
// (COD_TCE) the account code.
class EducationSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
