#include "generation/sections/DebtSections.h"

#include "generation/sections/SectionQueriesTwo.h"
#include "generation/sections/SectionsTwoSupport.h"

namespace orven::generation {

void ContractedDebtSection::fill(SectionContext &ctx)
{
    const RunParameters &p = ctx.params;
    const QString code = ctx.accountCode();
    QString condition;
    double amount = 0;
    // Codes without a ledger condition (and codes the table does not know)
    // carry zero without a query.
    if (queries::contractedDebtCondition(code, &condition) && !condition.isEmpty())
        amount = queryAmount(ctx, queries::contractedDebtQuery(p, condition), QStringLiteral("valor"),
                             QStringLiteral("dividas_realizadas"), QStringLiteral("realizado"), code,
                             ctx.startDate(p.firstMonth), ctx.setPeriodEnd(p.secondMonth));
    auto period = ctx.addPeriod();
    SectionContext::addSlot(period, QStringLiteral("valor_realizado"), amount);
}

void AmortisedDebtSection::fill(SectionContext &ctx)
{
    const RunParameters &p = ctx.params;
    const QString group = queries::trimmed(ctx.tipo.value);
    const QString code = ctx.accountCode();
    const QString account = group + QLatin1Char('/') + code;
    const QString section = QStringLiteral("dividas_amortizadas");

    // Realised: commitments and liquidations of the whole exercise so far.
    if (ctx.optionKind() == QLatin1String("movimento") && ctx.tipo.id == QLatin1String("41")) {
        auto period = ctx.addPeriod();
        const double committed = queryAmount(ctx, queries::amortisedCommittedQuery(p, group, code),
                                             QStringLiteral("empenhado"), section, QStringLiteral("empenhado"), account);
        SectionContext::addSlot(period, QStringLiteral("valor_empenhado"), committed);
        const double liquidated = queryAmount(ctx, queries::amortisedLiquidatedQuery(p, group, code),
                                              QStringLiteral("liquidado"), section, QStringLiteral("liquidado"),
                                              account);
        SectionContext::addSlot(period, QStringLiteral("valor_liquidado"), liquidated);
    }

    // Additional credit: payments on records opened without an initial
    // budget, only when the refinancing credit operations carry a budget.
    if (ctx.tipo.id == QLatin1String("47")) {
        const QList<QVariantList> check = ctx.db.rows(queries::additionalCreditCheckQuery(p));
        double credit = 0;
        if (!check.isEmpty() && !check.first().isEmpty() && !check.first().first().isNull())
            credit = check.first().first().toDouble();
        const double paid =
            queryAmount(ctx, queries::additionalCreditQuery(p, group, code, queries::additionalCreditCondition(credit)),
                        QStringLiteral("valor_creditoadicional"), section, QStringLiteral("creditoadicional"), account);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_creditoadicional"), paid);
    }

    // Budget.
    if (ctx.optionKind() == QLatin1String("orcado")) {
        const double budget = queryAmount(ctx, queries::amortisedBudgetQuery(p, group, code),
                                          QStringLiteral("VALOR_ORCADO"), section, QStringLiteral("orcado"), account);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_orcado"), budget);
    }
}

} // namespace orven::generation
