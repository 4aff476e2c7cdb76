#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Restos à Pagar": for each month of the bimester, the payments of the
// outstanding commitments classified with the account's group and code,
// split into processed commitments (liquidated in an earlier year) and
// unprocessed ones (liquidated in the exercise year), with the month's
// cancellations of each kind. Acts on the option "restopagarmovimento" under
// the tipo ids "10" and "19"; two periods of four slots per account.
class OutstandingSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
