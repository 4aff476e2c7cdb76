#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Dívidas Realizadas": the debt contracted in the bimester, per kind of debt,
// from the movement (credits minus debits) of the suite's debt accounts in
// its ledger. One period per account with "valor_realizado"; the account
// code chooses the ledger accounts, and the kinds the ledger does not keep
// (and any code the section does not know) carry 0.00.
class ContractedDebtSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

// "Dívidas Amortizadas": commitments, liquidations, additional-credit
// payments and budget of the expense records classified with the court's
// debt-amortisation group and code. Three independent branches, in order:
// realised (option "movimento", tipo id "41"), additional credit (tipo id
// "47") and budget (option "orcado"); an account that meets two of them gets
// two periods.
class AmortisedDebtSection final : public Section {
public:
    void fill(SectionContext &ctx) override;
};

} // namespace orven::generation
