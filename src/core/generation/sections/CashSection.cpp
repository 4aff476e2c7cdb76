#include "generation/sections/CashSection.h"

#include "generation/sections/SectionQueriesTwo.h"

namespace orven::generation {

void CashSection::fill(SectionContext &ctx)
{
    const QString sql = queries::cashBalanceQuery(ctx.params, ctx.conta.id);
    double total = 0;
    // One row per group of accounts; its balance is the last column (null
    // when no ledger line of the group is in the period).
    if (!sql.isEmpty()) {
        for (const QVariantList &row : ctx.db.rows(sql)) {
            const QVariant saldo = row.isEmpty() ? QVariant() : row.last();
            if (!saldo.isNull())
                total += saldo.toDouble();
        }
    }
    auto period = ctx.addPeriod();
    SectionContext::addSlot(period, QStringLiteral("valor_realizado"), total);
}

} // namespace orven::generation
