#pragma once

// The aggregate queries of the revenue, expense, function/subfunction,
// deduction, education and health sections. Each function returns the exact
// text sent to the accounting database, built by concatenating fixed pieces
// with the codes, the dates, the exercise year and the entity filter.
//
// Dates are "dd.mm.yyyy" texts; a month is "01".."12"; endDate is the period
// end date of the month ("31.05.2008"). The entity filter is empty for the
// consolidated whole (entity 0), otherwise the section's prefix, the entity
// number and a closing quote. Where a query aliases a table, its entity filter
// names the alias ("b.empresa"), since the database refuses the table's own
// name there. Timestamps are compared with the end date by their date part,
// so that the whole last day of the month counts.

#include "generation/Run.h"

#include <QString>

namespace orven::generation::sql {

// prefix + entity + "'" for an entity, empty for 0.
QString entityFilter(const QString &prefix, int entity);

// "01." + month + "." + exercise year.
QString monthStart(const RunParameters &p, const QString &month);

// The revenue query over receita_nivel(startDate, endDate) with both
// amounts multiplied by `atualizadaSign` and `realizadaSign` (" * -1" for the
// deductions, empty otherwise).
QString revenueLikeQuery(const QString &budgetColumn, const QString &atualizadaSign, const QString &realizadaSign,
                         const QString &startDate, const QString &endDate, const QString &account, int entity);

// Revenue ("Receitas"): budget column c and the amount collected from the
// first day of startMonth to endDate, of the records carrying the account.
// Columns atualizada, realizada.
QString revenueQuery(const RunParameters &p, const QString &account, const QString &startMonth,
                     const QString &endDate, const QString &budgetColumn);

// Expense ("Despesas"), month m: EMPENHADO, LIQUIDADO, REALIZADO; the
// appropriation: ORCADA.
QString expenseCommittedQuery(const RunParameters &p, const QString &account, const QString &month,
                              const QString &endDate);
QString expenseLiquidatedQuery(const RunParameters &p, const QString &account, const QString &month,
                               const QString &endDate);
QString expensePaidQuery(const RunParameters &p, const QString &account, const QString &month,
                         const QString &endDate);
QString expenseBudgetQuery(const RunParameters &p, const QString &account);

// Function/subfunction ("Despesas por Função/Subfunção"): committed
// (empenhado), liquidated (liquidado) and paid (REALIZADO) amounts of the
// expense records of a function ("10") and subfunction ("301") from the
// first day of startMonth to endDate.
QString functionCommittedQuery(const RunParameters &p, const QString &function, const QString &subfunction,
                               const QString &startMonth, const QString &endDate);
QString functionLiquidatedQuery(const RunParameters &p, const QString &function, const QString &subfunction,
                                const QString &startMonth, const QString &endDate);
QString functionPaidQuery(const RunParameters &p, const QString &function, const QString &subfunction,
                          const QString &startMonth, const QString &endDate);

// FUNDEB deductions ("Deduções"): the revenue query negated, month m
// (atualizada, realizada); the initial budget of the exercise year, negated
// (atualizada).
QString deductionMonthQuery(const RunParameters &p, const QString &account, const QString &month,
                            const QString &endDate);
QString deductionBudgetQuery(const RunParameters &p, const QString &account);

// Education ("Educação"), records matched by court group and code.
// Expense: ATUALIZADO and LIQUIDADO of month m, ORCADO. Revenue: atualizada
// and realizada of month m, ORCADA (from the revenue budget table).
QString educationUpdatedQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &month, const QString &endDate);
QString educationLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code,
                                 const QString &month);
QString educationBudgetQuery(const RunParameters &p, const QString &group, const QString &code);
QString educationRevenueQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &month, const QString &endDate);
QString educationRevenueBudgetQuery(const RunParameters &p, const QString &group, const QString &code);

// Health ("Saúde"), as education; the revenue budget is the initial budget of
// the whole exercise year (orcada).
QString healthUpdatedQuery(const RunParameters &p, const QString &group, const QString &code,
                           const QString &month, const QString &endDate);
QString healthLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &month);
QString healthBudgetQuery(const RunParameters &p, const QString &group, const QString &code);
QString healthRevenueQuery(const RunParameters &p, const QString &group, const QString &code,
                           const QString &month, const QString &endDate);
QString healthRevenueBudgetQuery(const RunParameters &p, const QString &group, const QString &code);

} // namespace orven::generation::sql
