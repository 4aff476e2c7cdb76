#include "generation/sections/EducationSection.h"

#include "generation/sections/SectionQueries.h"
#include "generation/sections/SectionSupport.h"

namespace orven::generation {

namespace {

const QString kSection = QStringLiteral("educacao");

} // namespace

void EducationSection::fill(SectionContext &ctx)
{
    const RunParameters &p = ctx.params;
    const QString group = trimmedTipoValue(ctx);
    const QString code = ctx.accountCode();
    const QString account = group + QLatin1Char('/') + code;
    const bool movement = ctx.optionKind() == QLatin1String("movimento");
    const bool budget = ctx.optionKind() == QLatin1String("orcado");

    if (ctx.tipo.id == QLatin1String("35")) { // education expense
        if (movement) {
            for (const QString &month : {p.firstMonth, p.secondMonth}) {
                const QString end = ctx.setPeriodEnd(month);
                const QString start = sql::monthStart(p, month);
                auto period = ctx.addPeriod();
                const double updated =
                    queryAmounts(ctx, sql::educationUpdatedQuery(p, group, code, month, end),
                                 {QStringLiteral("atualizado")}, kSection, QStringLiteral("despesa.atualizado"),
                                 account, start, end)
                        .at(0);
                SectionContext::addSlot(period, QStringLiteral("valor_atualizado"), updated);
                const double liquidated =
                    queryAmounts(ctx, sql::educationLiquidatedQuery(p, group, code, month),
                                 {QStringLiteral("liquidado")}, kSection, QStringLiteral("despesa.liquidado"),
                                 account, start, end)
                        .at(0);
                SectionContext::addSlot(period, QStringLiteral("valor_liquidado"), liquidated);
            }
        } else if (budget) {
            const double v = queryAmounts(ctx, sql::educationBudgetQuery(p, group, code), {QStringLiteral("ORCADO")},
                                          kSection, QStringLiteral("despesa.orcado"), account)
                                 .at(0);
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_orcado"), v);
        }
    } else if (ctx.tipo.id == QLatin1String("29")) { // education revenue
        if (movement) {
            for (const QString &month : {p.firstMonth, p.secondMonth}) {
                const QString end = ctx.setPeriodEnd(month);
                const QList<double> v =
                    queryAmounts(ctx, sql::educationRevenueQuery(p, group, code, month, end),
                                 {QStringLiteral("atualizada"), QStringLiteral("realizada")}, kSection,
                                 QStringLiteral("receita.movimento"), account, sql::monthStart(p, month), end);
                auto period = ctx.addPeriod();
                SectionContext::addSlot(period, QStringLiteral("valor_atualizado"), v.at(0));
                SectionContext::addSlot(period, QStringLiteral("valor_realizado"), v.at(1));
            }
        } else if (budget) {
            const double v =
                queryAmounts(ctx, sql::educationRevenueBudgetQuery(p, group, code), {QStringLiteral("orcada")},
                             kSection, QStringLiteral("receita.orcado"), account)
                    .at(0);
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_orcado"), v);
        }
    }
}

} // namespace orven::generation
