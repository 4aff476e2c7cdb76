#include "generation/sections/CreditSection.h"

#include "generation/Amounts.h"
#include "generation/sections/SectionQueriesTwo.h"
#include "generation/sections/SectionsTwoSupport.h"

namespace orven::generation {

void CreditSection::fill(SectionContext &ctx)
{
    const RunParameters &p = ctx.params;
    const QString group = queries::trimmed(ctx.tipo.value);
    const QString code = ctx.accountCode();
    const double amount =
        queryAmount(ctx, queries::creditOperationQuery(p, group, code), QStringLiteral("VALOR"),
                    QStringLiteral("operacao_credito"), QStringLiteral("realizado"), group + QLatin1Char('/') + code,
                    ctx.startDate(p.firstMonth),
                    monthEndDay(p.secondMonth, p.exerciseYear) + QLatin1Char('.') + p.secondMonth +
                        QLatin1Char('.') + p.exerciseYear);
    auto period = ctx.addPeriod();
    SectionContext::addSlot(period, QStringLiteral("valor_realizado"), amount);
}

} // namespace orven::generation
