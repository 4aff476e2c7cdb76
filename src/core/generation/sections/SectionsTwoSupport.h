#pragma once

// Helper shared by the debt, outstanding-commitment, cash, guarantee and
// credit-operation sections.

#include "generation/sections/SectionSupport.h"

namespace orven::generation {

// One column of one amounts query (see queryAmounts).
inline double queryAmount(SectionContext &ctx, const QString &sql, const QString &column, const QString &section,
                          const QString &measure, const QString &account, const QString &startDate = {},
                          const QString &endDate = {})
{
    return queryAmounts(ctx, sql, QStringList{column}, section, measure, account, startDate, endDate).value(0);
}

} // namespace orven::generation
