#include "generation/sections/SectionSupport.h"

namespace orven::generation {

QList<double> queryAmounts(SectionContext &ctx, const QString &sql, const QStringList &columns,
                           const QString &section, const QString &measure, const QString &account,
                           const QString &startDate, const QString &endDate)
{
    AmountRequest r;
    r.sql = sql;
    r.columns = columns;
    r.section = section;
    r.measure = measure;
    r.account = account;
    r.startDate = startDate;
    r.endDate = endDate;
    r.entity = ctx.params.entity;
    QList<double> values = ctx.db.amounts(r);
    // A source that answers fewer columns than asked leaves the rest at 0.
    while (values.size() < columns.size())
        values << 0.0;
    return values;
}

QString trimmedTipoValue(const SectionContext &ctx) { return trimmedCode(ctx.tipo.value); }

} // namespace orven::generation
