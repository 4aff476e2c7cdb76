#pragma once

// Helpers shared by the section classes.

#include "generation/Section.h"

#include <QStringList>

namespace orven::generation {

// Runs one amounts query through the run's amount source and returns the
// named columns of its first row (a null column reads as 0). The description
// fields let a source answer without the query: `section` names the cadastro
// ("receitas", "despesas", ...), `measure` the amount, `account` the trimmed
// account code ("group/code" for the sections that match by court group).
QList<double> queryAmounts(SectionContext &ctx, const QString &sql, const QStringList &columns,
                           const QString &section, const QString &measure, const QString &account,
                           const QString &startDate = {}, const QString &endDate = {});

// The tipo value without blanks and control characters around it.
QString trimmedTipoValue(const SectionContext &ctx);

} // namespace orven::generation
