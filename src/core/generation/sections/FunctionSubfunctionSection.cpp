#include "generation/sections/FunctionSubfunctionSection.h"

#include "generation/sections/SectionQueries.h"
#include "generation/sections/SectionSupport.h"

namespace orven::generation {

namespace {

const QString kSection = QStringLiteral("funcaosubfuncao");

} // namespace

bool FunctionSubfunctionSection::isCode(const QString &text, int digits)
{
    if (text.size() != digits)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

void FunctionSubfunctionSection::fill(SectionContext &ctx)
{
    if (ctx.opcao.name != QStringLiteral("Despesa por Função/Subfunção - Realizado"))
        return;

    const RunParameters &p = ctx.params;
    const QString function = trimmedTipoValue(ctx);
    const QString subfunction = ctx.accountCode();
    const QString end = ctx.setPeriodEnd(p.secondMonth);

    double committed = 0.0, liquidated = 0.0, paid = 0.0;
    if (isCode(function, 2) && isCode(subfunction, 3)) {
        const QString account = function + QLatin1Char('.') + subfunction;
        const QString start = sql::monthStart(p, p.firstMonth);
        committed = queryAmounts(ctx, sql::functionCommittedQuery(p, function, subfunction, p.firstMonth, end),
                                 {QStringLiteral("empenhado")}, kSection, QStringLiteral("empenhado"), account,
                                 start, end)
                        .at(0);
        liquidated = queryAmounts(ctx, sql::functionLiquidatedQuery(p, function, subfunction, p.firstMonth, end),
                                  {QStringLiteral("liquidado")}, kSection, QStringLiteral("liquidado"), account,
                                  start, end)
                         .at(0);
        paid = queryAmounts(ctx, sql::functionPaidQuery(p, function, subfunction, p.firstMonth, end),
                            {QStringLiteral("REALIZADO")}, kSection, QStringLiteral("realizado"), account, start,
                            end)
                   .at(0);
    }
    auto period = ctx.addPeriod();
    SectionContext::addSlot(period, QStringLiteral("valor_empenhado"), committed);
    SectionContext::addSlot(period, QStringLiteral("valor_liquidado"), liquidated);
    SectionContext::addSlot(period, QStringLiteral("valor_realizado"), paid);
}

} // namespace orven::generation
