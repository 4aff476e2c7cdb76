#include "generation/Section.h"

#include "generation/sections/DeductionSection.h"
#include "generation/sections/EducationSection.h"
#include "generation/sections/ExpenseSection.h"
#include "generation/sections/FunctionSubfunctionSection.h"
#include "generation/sections/HealthSection.h"
#include "generation/sections/RevenueSection.h"

#include "generation/sections/CashSection.h"
#include "generation/sections/CreditSection.h"
#include "generation/sections/DebtSections.h"
#include "generation/sections/GuaranteeSection.h"
#include "generation/sections/OutstandingSection.h"

namespace orven::generation {

namespace {

template <typename S>
SectionEntry entry(const QString &cadastroName)
{
    return SectionEntry{cadastroName, [] { return std::unique_ptr<Section>(std::make_unique<S>()); }};
}

} // namespace

// Cadastro names are compared exactly, case and accents included; the first
// (and only) match fills the account. Sections register here as they are built.
const QList<SectionEntry> &sectionTable()
{
    static const QList<SectionEntry> table = {
        entry<RevenueSection>(QStringLiteral("Receitas")),
        entry<ExpenseSection>(QStringLiteral("Despesas")),
        entry<FunctionSubfunctionSection>(QStringLiteral("Despesas por Função/Subfunção")),
        entry<DeductionSection>(QStringLiteral("Deduções")),
        entry<EducationSection>(QStringLiteral("Educação")),
        entry<HealthSection>(QStringLiteral("Saúde")),
        entry<ContractedDebtSection>(QStringLiteral("Dívidas Realizadas")),
        entry<AmortisedDebtSection>(QStringLiteral("Dívidas Amortizadas")),
        entry<OutstandingSection>(QStringLiteral("Restos à Pagar")),
        entry<CashSection>(QStringLiteral("Disponibilidades")),
        entry<GuaranteeSection>(QStringLiteral("Garantias e Contragarantias")),
        entry<CreditSection>(QStringLiteral("Operação de Crédito")),
    };
    return table;
}

} // namespace orven::generation
