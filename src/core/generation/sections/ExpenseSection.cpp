#include "generation/sections/ExpenseSection.h"

#include "generation/sections/SectionQueries.h"
#include "generation/sections/SectionSupport.h"

namespace orven::generation {

namespace {

const QString kSection = QStringLiteral("despesas");

} // namespace

void ExpenseSection::fill(SectionContext &ctx)
{
    const QString account = ctx.accountCode();
    const RunParameters &p = ctx.params;

    if (ctx.optionKind() == QLatin1String("movimento")) {
        for (const QString &month : {p.firstMonth, p.secondMonth}) {
            const QString end = ctx.setPeriodEnd(month);
            const QString start = sql::monthStart(p, month);
            const double committed =
                queryAmounts(ctx, sql::expenseCommittedQuery(p, account, month, end), {QStringLiteral("EMPENHADO")},
                             kSection, QStringLiteral("empenhado"), account, start, end)
                    .at(0);
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_empenhado"), committed);
            const double liquidated =
                queryAmounts(ctx, sql::expenseLiquidatedQuery(p, account, month, end),
                             {QStringLiteral("LIQUIDADO")}, kSection, QStringLiteral("liquidado"), account, start, end)
                    .at(0);
            SectionContext::addSlot(period, QStringLiteral("valor_liquidado"), liquidated);
            const double paid =
                queryAmounts(ctx, sql::expensePaidQuery(p, account, month, end), {QStringLiteral("REALIZADO")},
                             kSection, QStringLiteral("realizado"), account, start, end)
                    .at(0);
            SectionContext::addSlot(period, QStringLiteral("valor_realizado"), paid);
        }
    } else if (ctx.optionKind() == QLatin1String("orcado")) {
        ctx.setPeriodEnd(p.secondMonth);
        const double budget = queryAmounts(ctx, sql::expenseBudgetQuery(p, account), {QStringLiteral("ORCADA")},
                                           kSection, QStringLiteral("orcado"), account)
                                  .at(0);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_orcado"), budget);
    }
    // "programacaofinanceira", "despesappp" and any other kind: no period.
}

} // namespace orven::generation
