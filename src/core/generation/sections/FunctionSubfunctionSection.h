#pragma once

#include "generation/Section.h"

namespace orven::generation {

// "Despesas por Função/Subfunção": the option "Despesa por Função/Subfunção -
// Realizado" gets one period with the committed, liquidated and paid amounts
// of the bimester. They are computed over the expense records of the function
// given by the tipo value (two digits, "10") and the subfunction given by the
// conta value (three digits, "301"); while the catalogue still holds its
// markers ("#CODFUNCAO", "#CODSUBFUNCAO") the three slots carry 0.00. Other
// options get no period.
class FunctionSubfunctionSection final : public Section {
public:
    void fill(SectionContext &ctx) override;

    // True when text is exactly `digits` decimal digits.
    static bool isCode(const QString &text, int digits);
};

} // namespace orven::generation
