#include "generation/sections/OutstandingSection.h"

#include "generation/sections/SectionQueriesTwo.h"
#include "generation/sections/SectionsTwoSupport.h"

namespace orven::generation {

namespace {

using queries::Kind;

const QString kSection = QStringLiteral("restos_pagar");

// Payments of the month of one kind: each commitment and sub-commitment paid
// in the month counts when its liquidation test passes. A paid row without
// commitment or sub-commitment number has nothing to test and counts nowhere.
double paidInMonth(SectionContext &ctx, Kind kind, const QString &group, const QString &code, const QString &month)
{
    double total = 0;
    const QList<QVariantList> paid =
        ctx.db.rows(queries::outstandingPaidQuery(ctx.params, kind, group, code, month));
    for (const QVariantList &row : paid) {
        const QVariant pkemp = row.value(0);
        const QVariant numsub = row.value(1);
        if (pkemp.isNull() || numsub.isNull())
            continue;
        const QString pk = queries::trimmed(pkemp.toString());
        const QString sub = queries::trimmed(numsub.toString());
        const bool liquidated = !ctx.db.rows(queries::liquidationLookup(kind, pk, sub)).isEmpty() ||
                                !ctx.db.rows(queries::commitmentLookup(kind, pk)).isEmpty();
        if (liquidated) {
            const QVariant amount = row.value(2);
            total += amount.isNull() ? 0.0 : amount.toDouble();
        }
    }
    return total;
}

// The month's cancelled amount of one kind: cancellations through
// sub-commitments plus cancellations of whole commitments.
double cancelledInMonth(SectionContext &ctx, Kind kind, const QString &group, const QString &code,
                        const QString &month, const QString &start, const QString &end)
{
    const QString column = queries::outstandingCancelledColumn(kind);
    const QString account = group + QLatin1Char('/') + code;
    const QString measure = kind == Kind::Processed ? QStringLiteral("processado_cancelado")
                                                    : QStringLiteral("nao_processado_cancelado");
    const double bySub =
        queryAmount(ctx, queries::cancelledBySubQuery(ctx.params, kind, group, code, month), column, kSection,
                    measure + QStringLiteral(".subempenho"), account, start, end);
    const double byCommitment =
        queryAmount(ctx, queries::cancelledByCommitmentQuery(ctx.params, kind, group, code, month), column,
                    kSection, measure + QStringLiteral(".empenho"), account, start, end);
    return bySub + byCommitment;
}

} // namespace

void OutstandingSection::fill(SectionContext &ctx)
{
    if (ctx.optionKind() != QLatin1String("restopagarmovimento"))
        return;
    if (ctx.tipo.id != QLatin1String("10") && ctx.tipo.id != QLatin1String("19"))
        return;

    const RunParameters &p = ctx.params;
    const QString group = queries::compactCode(ctx.tipo.value);
    const QString code = queries::compactCode(ctx.conta.value);

    for (const QString &month : {p.firstMonth, p.secondMonth}) {
        const QString start = ctx.startDate(month);
        const QString end = ctx.setPeriodEnd(month);

        const double processed = paidInMonth(ctx, Kind::Processed, group, code, month);
        auto period = ctx.addPeriod();
        SectionContext::addSlot(period, QStringLiteral("valor_processado"), processed);
        SectionContext::addSlot(period, QStringLiteral("valor_processadocancelado"),
                                cancelledInMonth(ctx, Kind::Processed, group, code, month, start, end));

        const double unprocessed = paidInMonth(ctx, Kind::Unprocessed, group, code, month);
        SectionContext::addSlot(period, QStringLiteral("valor_naoprocessado"), unprocessed);
        SectionContext::addSlot(period, QStringLiteral("valor_naoprocessadocancelado"),
                                cancelledInMonth(ctx, Kind::Unprocessed, group, code, month, start, end));
    }
}

} // namespace orven::generation
