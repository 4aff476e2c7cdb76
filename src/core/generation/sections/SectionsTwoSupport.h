#pragma once

// Helper shared by the debt, outstanding-commitment, cash, guarantee and
// credit-operation sections.

#include "generation/Section.h"

namespace orven::generation {

// Runs one amounts query through the run's amount source and returns the
// named column of its first row (0 for a null column or no row). The
// description lets a source answer without the query: `section` names the
// cadastro, `measure` the amount, `account` the codes it is matched by.
inline double queryAmount(SectionContext &ctx, const QString &sql, const QString &column, const QString &section,
                          const QString &measure, const QString &account, const QString &startDate = {},
                          const QString &endDate = {})
{
    AmountRequest r;
    r.sql = sql;
    r.columns = QStringList{column};
    r.section = section;
    r.measure = measure;
    r.account = account;
    r.startDate = startDate;
    r.endDate = endDate;
    r.entity = ctx.params.entity;
    const QList<double> values = ctx.db.amounts(r);
    return values.isEmpty() ? 0.0 : values.first();
}

} // namespace orven::generation
