#pragma once

// The queries of the debt, outstanding-commitment, cash and credit-operation
// sections. Each function returns the exact text sent to the accounting
// database, built by concatenating fixed pieces with the codes, the months,
// the entity filter and, for the commitment lookups, the keys of a paid row.
//
// Where a query aliases the table that its entity condition names, the
// condition names the alias (" AND C.EMPRESA = '"): the database refuses the
// table's own name beside its alias. None of these queries compares a
// timestamp with a date text; months and years are taken with EXTRACT, so a
// row stamped during the last day of a month counts in that month.

#include "generation/Run.h"

#include <QString>

namespace orven::generation::queries {

// The text without blanks and control characters around it.
QString trimmed(const QString &text);
// Trimmed, with every "." removed ("1.100.100" -> "1100100").
QString compactCode(const QString &text);

// prefix + entity + "'" for an entity, empty for 0.
QString entityFilter(const QString &prefix, int entity);

// ---------------------------------------------------------------------------
// Contracted debt ("Dívidas Realizadas")

// The ledger condition of one of the ten account codes ("and balco like
// '3411%' "); empty for the codes that always carry zero. False for a code
// that is none of the ten.
bool contractedDebtCondition(const QString &accountCode, QString *condition);

// Credits minus debits of the ledger lines of the bimester's two months of
// the exercise year that meet the condition. Column valor.
QString contractedDebtQuery(const RunParameters &p, const QString &condition);

// ---------------------------------------------------------------------------
// Amortised debt ("Dívidas Amortizadas"); group and code keep their points.

// Commitments of the records with an initial budget. Column EMPENHADO.
QString amortisedCommittedQuery(const RunParameters &p, const QString &group, const QString &code);
// Liquidations. Column LIQUIDADO.
QString amortisedLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code);
// Budgeted total of the four refinancing credit-operation revenue accounts.
// Column CREDITO.
QString additionalCreditCheckQuery(const RunParameters &p);
// " AND A.FICHA = -1 " when the refinancing revenue carries no budget, else empty.
QString additionalCreditCondition(double credit);
// Payments on the records opened without initial budget. Column
// valor_creditoadicional.
QString additionalCreditQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &creditCondition);
// Appropriations. Column VALOR_ORCADO.
QString amortisedBudgetQuery(const RunParameters &p, const QString &group, const QString &code);

// ---------------------------------------------------------------------------
// Outstanding commitments ("Restos à Pagar"); group and code are compact.

// Processed: liquidated in an earlier year. Unprocessed: in the exercise year.
enum class Kind { Processed, Unprocessed };

// Payments of month m grouped by commitment and sub-commitment. Columns
// PKEMP, NUMSUB and PROCESSADO_PAGO (or NAO_PROCESSADO_PAGO).
QString outstandingPaidQuery(const RunParameters &p, Kind kind, const QString &group, const QString &code,
                             const QString &month);
QString outstandingPaidColumn(Kind kind);
// The liquidation test of one paid row: a positive liquidation of the
// commitment and sub-commitment, dated in an earlier year (processed) or in
// the exercise year (unprocessed); failing that, the commitment record's own
// liquidation date.
QString liquidationLookup(Kind kind, const QString &pkemp, const QString &numsub);
QString commitmentLookup(Kind kind, const QString &pkemp);
// The two cancellation queries of month m, by sub-commitment and by
// commitment; their sum is the month's cancelled amount of the kind. Column
// PROCESSADO_CANCELADO (or NAO_PROCESSADO_CANCELADO).
QString cancelledBySubQuery(const RunParameters &p, Kind kind, const QString &group, const QString &code,
                            const QString &month);
QString cancelledByCommitmentQuery(const RunParameters &p, Kind kind, const QString &group, const QString &code,
                                   const QString &month);
QString outstandingCancelledColumn(Kind kind);

// ---------------------------------------------------------------------------
// Cash ("Disponibilidades")

// The balance query of a cash conta id ("1269" .. "1278"); empty for any
// other id. One row per four-character group of the suite's accounts that
// the id selects, with the columns GRUPO and SALDO (the group's balance from
// January to the bimester's second month).
QString cashBalanceQuery(const RunParameters &p, const QString &contaId);

// ---------------------------------------------------------------------------
// Credit operations ("Operação de Crédito")

// Receipts of the bimester's two months on the revenue records of the group
// and code (points kept); no entity condition. Column VALOR.
QString creditOperationQuery(const RunParameters &p, const QString &group, const QString &code);

} // namespace orven::generation::queries
