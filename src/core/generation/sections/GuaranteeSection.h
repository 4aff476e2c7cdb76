#pragma once

#include "generation/Section.h"

#include <functional>

namespace orven::generation {

// "Garantias e Contragarantias": the amount of the run's bimester that the
// guarantees file keeps for the account's code. One period per account with
// "valor_realizado"; 0.00 when the file or the account's row is missing. The
// file is read afresh for every account; a file that cannot be read ends the
// run.
class GuaranteeSection final : public Section {
public:
    // `path` gives the guarantees file; by default the year's data folder
    // ("D") followed by ORVEN_Garantia.xml.
    explicit GuaranteeSection(std::function<QString()> path = {});
    void fill(SectionContext &ctx) override;

private:
    std::function<QString()> m_path;
};

} // namespace orven::generation
