#include "generation/sections/HealthSection.h"

#include "generation/sections/SectionQueries.h"
#include "generation/sections/SectionSupport.h"

namespace orven::generation {

namespace {

const QString kSection = QStringLiteral("saude");

} // namespace

void HealthSection::fill(SectionContext &ctx)
{
    const RunParameters &p = ctx.params;
    const QString group = trimmedTipoValue(ctx);
    const QString code = ctx.accountCode();
    const QString account = group + QLatin1Char('/') + code;
    const bool movement = ctx.optionKind() == QLatin1String("movimento");
    const bool budget = ctx.optionKind() == QLatin1String("orcado");
    const bool expense = ctx.tipo.id == QLatin1String("36");
    const bool revenue = ctx.tipo.id == QLatin1String("30");

    if (movement && expense) {
        for (const QString &month : {p.firstMonth, p.secondMonth}) {
            const QString end = ctx.setPeriodEnd(month);
            const QString start = sql::monthStart(p, month);
            auto period = ctx.addPeriod();
            const double updated = queryAmounts(ctx, sql::healthUpdatedQuery(p, group, code, month, end),
                                                {QStringLiteral("atualizado")}, kSection,
                                                QStringLiteral("despesa.atualizado"), account, start, end)
                                       .at(0);
            SectionContext::addSlot(period, QStringLiteral("valor_atualizado"), updated);
            const double liquidated = queryAmounts(ctx, sql::healthLiquidatedQuery(p, group, code, month),
                                                   {QStringLiteral("liquidado")}, kSection,
                                                   QStringLiteral("despesa.liquidado"), account, start, end)
                                          .at(0);
            SectionContext::addSlot(period, QStringLiteral("valor_liquidado"), liquidated);
        }
    } else if (budget && expense) {
        const double v = queryAmounts(ctx, sql::healthBudgetQuery(p, group, code), {QStringLiteral("ORCADO")},
                                      kSection, QStringLiteral("despesa.orcado"), account)
                             .at(0);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_orcado"), v);
    } else if (movement && revenue) {
        for (const QString &month : {p.firstMonth, p.secondMonth}) {
            const QString end = ctx.setPeriodEnd(month);
            const QList<double> v = queryAmounts(ctx, sql::healthRevenueQuery(p, group, code, month, end),
                                                 {QStringLiteral("atualizada"), QStringLiteral("realizada")},
                                                 kSection, QStringLiteral("receita.movimento"), account,
                                                 sql::monthStart(p, month), end);
            auto period = ctx.addPeriod();
            SectionContext::addSlot(period, QStringLiteral("valor_atualizado"), v.at(0));
            SectionContext::addSlot(period, QStringLiteral("valor_realizado"), v.at(1));
        }
    } else if (budget && revenue) {
        const double v = queryAmounts(ctx, sql::healthRevenueBudgetQuery(p, group, code), {QStringLiteral("orcada")},
                                      kSection, QStringLiteral("receita.orcado"), account,
                                      QStringLiteral("01.01.") + p.exerciseYear,
                                      QStringLiteral("31.12.") + p.exerciseYear)
                             .at(0);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_orcado"), v);
    }
}

} // namespace orven::generation
