#include "generation/sections/DeductionSection.h"

#include "generation/sections/SectionQueries.h"
#include "generation/sections/SectionSupport.h"

namespace orven::generation {

namespace {

const QString kSection = QStringLiteral("deducoes");

} // namespace

void DeductionSection::fill(SectionContext &ctx)
{
    const QString account = ctx.accountCode();
    const RunParameters &p = ctx.params;
    const QStringList columns = {QStringLiteral("atualizada"), QStringLiteral("realizada")};

    if (ctx.optionKind() == QLatin1String("movimento")) {
        for (const QString &month : {p.firstMonth, p.secondMonth}) {
            const QString end = ctx.setPeriodEnd(month);
            const QList<double> v = queryAmounts(ctx, sql::deductionMonthQuery(p, account, month, end), columns,
                                                 kSection, QStringLiteral("movimento"), account,
                                                 sql::monthStart(p, month), end);
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_atualizado"), v.at(0));
            SectionContext::addSlot(period, QStringLiteral("valor_realizado"), v.at(1));
        }
    } else if (ctx.optionKind() == QLatin1String("orcado")) {
        ctx.setPeriodEnd(p.secondMonth);
        // The budget of the whole exercise year.
        const QList<double> v =
            queryAmounts(ctx, sql::deductionBudgetQuery(p, account), columns, kSection, QStringLiteral("orcado"),
                         account, QStringLiteral("01.01.") + p.exerciseYear, QStringLiteral("31.12.") + p.exerciseYear);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_orcado"), v.at(0));
    }
}

} // namespace orven::generation
