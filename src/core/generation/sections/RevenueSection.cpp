#include "generation/sections/RevenueSection.h"

#include "generation/Amounts.h"
#include "generation/sections/SectionQueries.h"
#include "generation/sections/SectionSupport.h"

namespace orven::generation {

namespace {

const QString kSection = QStringLiteral("receitas");

} // namespace

QList<double> RevenueSection::budgetSplit(double total)
{
    double share = 0.0;
    double first = 0.0;
    if (total > 0) {
        // Exact to two decimals, as the amount text writes it.
        share = amountText(total / 6.0).toDouble();
        first = share + (total - 6 * share);
    }
    return {first, share, share, share, share, share};
}

void RevenueSection::fill(SectionContext &ctx)
{
    ctx.poll();
    const QString account = ctx.accountCode();
    const RunParameters &p = ctx.params;
    const QStringList columns = {QStringLiteral("atualizada"), QStringLiteral("realizada")};

    if (ctx.optionKind() == QLatin1String("movimento")) {
        for (const QString &month : {p.firstMonth, p.secondMonth}) {
            const QString end = ctx.setPeriodEnd(month);
            const QList<double> v =
                queryAmounts(ctx, sql::revenueQuery(p, account, month, end, QStringLiteral("orcada_atual")), columns,
                             kSection, QStringLiteral("movimento"), account, sql::monthStart(p, month), end);
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_atualizado"), v.at(0));
            SectionContext::addSlot(period, QStringLiteral("valor_realizado"), v.at(1));
        }
    } else if (ctx.optionKind() == QLatin1String("orcado")) {
        const QString end = ctx.setPeriodEnd(p.secondMonth);
        const QList<double> v =
            queryAmounts(ctx, sql::revenueQuery(p, account, p.firstMonth, end, QStringLiteral("orcada_inicial")),
                         columns, kSection, QStringLiteral("orcado"), account, sql::monthStart(p, p.firstMonth), end);
        for (double share : budgetSplit(v.at(0))) {
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_orcado"), share);
        }
    }
}

} // namespace orven::generation
