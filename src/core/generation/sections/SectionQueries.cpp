#include "generation/sections/SectionQueries.h"

namespace orven::generation::sql {

namespace {

// Entity filter prefixes. The revenue and education/health queries alias the
// record tables, so their filters name the alias.
const QString kRevenueFilter = QStringLiteral(" and b.empresa = '");          // alias of recdis
const QString kExpenseFilter = QStringLiteral(" and b.empresa = '");          // alias of DESDIS
const QString kGroupExpenseFilter = QStringLiteral(" and B.empresa = '");     // alias of DESDIS
const QString kEducationBudgetFilter = QStringLiteral(" AND DESORC.EMPRESA = '");
const QString kHealthBudgetFilter = QStringLiteral(" and DESORC.EMPRESA = '");
const QString kEducationRevenueFilter = QStringLiteral(" and b.empresa = '"); // alias of recdis
const QString kEducationRevenueBudgetFilter = QStringLiteral(" and A.empresa = '"); // alias of recorc
const QString kHealthRevenueFilter = QStringLiteral(" AND B.EMPRESA = '");
const QString kHealthRevenueBudgetFilter = QStringLiteral(" AND b.EMPRESA = '"); // alias of RECDIS

QString yearStart(const RunParameters &p) { return QStringLiteral("01.01.") + p.exerciseYear; }
QString yearEnd(const RunParameters &p) { return QStringLiteral("31.12.") + p.exerciseYear; }

// Group, code and entity filter closing the education and health queries.
QString groupTail(const QString &group, const QString &code, const QString &filter)
{
    return group + QStringLiteral("' ") + QStringLiteral("AND B.COD_TCE = '") + code + QStringLiteral("' ") + filter;
}

// One of the three monthly expense queries: sum of column `amount` of
// `table` (dated by `dateColumn`) over the records of an account.
QString expenseMonthQuery(const RunParameters &p, const QString &select, const QString &table,
                          const QString &dateColumn, const QString &account, const QString &month,
                          const QString &endDate)
{
    return select + QStringLiteral(" FROM ") + table +
           QStringLiteral(" A INNER JOIN DESDIS B ON B.FICHA = A.FICHA WHERE B.BALCO_TCE = '") + account +
           QStringLiteral("' AND A.") + dateColumn + QStringLiteral(" >= '") + monthStart(p, month) +
           QStringLiteral("' ") + QStringLiteral("AND CAST(A.") + dateColumn + QStringLiteral(" AS DATE) <= '") +
           endDate + QStringLiteral("' ") + entityFilter(kExpenseFilter, p.entity);
}

QString functionQuery(const RunParameters &p, const QString &select, const QString &table,
                      const QString &dateColumn, const QString &function, const QString &subfunction,
                      const QString &startMonth, const QString &endDate)
{
    return select + QStringLiteral(" FROM ") + table +
           QStringLiteral(" A INNER JOIN DESDIS B ON B.FICHA = A.FICHA WHERE B.FUNCAO = '") + function +
           QStringLiteral("' AND B.SUBFUNCAO = '") + subfunction + QStringLiteral("' AND A.") + dateColumn +
           QStringLiteral(" >= '") + monthStart(p, startMonth) + QStringLiteral("' AND CAST(A.") + dateColumn +
           QStringLiteral(" AS DATE) <= '") + endDate + QStringLiteral("' ") + entityFilter(kExpenseFilter, p.entity);
}

QString groupUpdatedQuery(const RunParameters &p, const QString &group, const QString &code, const QString &month,
                          const QString &endDate)
{
    return QStringLiteral("SELECT SUM(A.DOTAC) + SUM(A.ALTDO) AS ATUALIZADO FROM DESPESA_NIVEL('01.") + month +
           QLatin1Char('.') + p.exerciseYear + QStringLiteral("','") + endDate + QStringLiteral("') A ") +
           QStringLiteral("INNER JOIN DESDIS B ON B.FICHA = A.FICHA ") + QStringLiteral("WHERE B.GRUPO_TCE = '") +
           groupTail(group, code, entityFilter(kGroupExpenseFilter, p.entity));
}

QString groupLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code,
                             const QString &month)
{
    return QStringLiteral("SELECT SUM(A.VADEM) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
                          "WHERE EXTRACT(MONTH FROM A.DATAE) = '") +
           month + QStringLiteral("' ") + QStringLiteral("AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) ") +
           QStringLiteral("AND B.GRUPO_TCE = '") + groupTail(group, code, entityFilter(kGroupExpenseFilter, p.entity));
}

QString groupBudgetQuery(const RunParameters &p, const QString &group, const QString &code, const QString &prefix)
{
    return QStringLiteral("SELECT SUM(DESORC.DOTAC) AS ORCADO FROM DESORC INNER JOIN DESDIS B ON B.FICHA = "
                          "DESORC.FICHA WHERE B.GRUPO_TCE = '") +
           groupTail(group, code, entityFilter(prefix, p.entity));
}

QString groupRevenueQuery(const RunParameters &p, const QString &group, const QString &code, const QString &month,
                          const QString &endDate, const QString &prefix)
{
    return QStringLiteral("select coalesce(sum(a.orcada_atual),0) as atualizada, coalesce(sum(a.mes),0) as "
                          "realizada from receita_nivel ('01.") +
           month + QLatin1Char('.') + p.exerciseYear + QStringLiteral("','") + endDate + QStringLiteral("') A ") +
           QStringLiteral("inner join recdis b on b.ficha = a.ficha ") + QStringLiteral("WHERE B.GRUPO_TCE = '") +
           groupTail(group, code, entityFilter(prefix, p.entity));
}

} // namespace

QString entityFilter(const QString &prefix, int entity)
{
    if (entity == 0)
        return {};
    return prefix + QString::number(entity) + QLatin1Char('\'');
}

QString monthStart(const RunParameters &p, const QString &month)
{
    return QStringLiteral("01.") + month + QLatin1Char('.') + p.exerciseYear;
}

QString revenueLikeQuery(const QString &budgetColumn, const QString &atualizadaSign, const QString &realizadaSign,
                         const QString &startDate, const QString &endDate, const QString &account, int entity)
{
    return QStringLiteral("select coalesce(sum(a.") + budgetColumn + QStringLiteral("),0)") + atualizadaSign +
           QStringLiteral(" as atualizada, ") + QStringLiteral("coalesce(sum(a.mes),0)") + realizadaSign +
           QStringLiteral(" as realizada from receita_nivel ('") + startDate + QStringLiteral("','") + endDate +
           QStringLiteral("') A ") + QStringLiteral("inner join recdis b on b.ficha = a.ficha ") +
           QStringLiteral("where b.balco_tce = '") + account + QStringLiteral("' ") +
           entityFilter(kRevenueFilter, entity);
}


QString revenueQuery(const RunParameters &p, const QString &account, const QString &startMonth,
                     const QString &endDate, const QString &budgetColumn)
{
    return revenueLikeQuery(budgetColumn, {}, {}, monthStart(p, startMonth), endDate, account, p.entity);
}

QString expenseCommittedQuery(const RunParameters &p, const QString &account, const QString &month,
                              const QString &endDate)
{
    return expenseMonthQuery(p, QStringLiteral("SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO"),
                             QStringLiteral("DESPES"), QStringLiteral("DATAE"), account, month, endDate);
}

QString expenseLiquidatedQuery(const RunParameters &p, const QString &account, const QString &month,
                               const QString &endDate)
{
    return expenseMonthQuery(p, QStringLiteral("SELECT COALESCE(SUM(A.VADEM),0) AS LIQUIDADO"),
                             QStringLiteral("VIEWLIQ"), QStringLiteral("DATAE"), account, month, endDate);
}

QString expensePaidQuery(const RunParameters &p, const QString &account, const QString &month,
                         const QString &endDate)
{
    return expenseMonthQuery(p, QStringLiteral("SELECT COALESCE(SUM(A.VAPAG),0) AS REALIZADO"),
                             QStringLiteral("VIEWVAPAG"), QStringLiteral("DTPAG"), account, month, endDate);
}

QString expenseBudgetQuery(const RunParameters &p, const QString &account)
{
    return QStringLiteral("SELECT COALESCE(SUM(A.DOTAC),0) AS ORCADA FROM DESORC A INNER JOIN DESDIS B ON B.FICHA "
                          "= A.FICHA WHERE B.BALCO_TCE = '") +
           account + QStringLiteral("' ") + entityFilter(kExpenseFilter, p.entity);
}

QString functionCommittedQuery(const RunParameters &p, const QString &function, const QString &subfunction,
                               const QString &startMonth, const QString &endDate)
{
    return functionQuery(p, QStringLiteral("SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO"), QStringLiteral("DESPES"),
                         QStringLiteral("DATAE"), function, subfunction, startMonth, endDate);
}

QString functionLiquidatedQuery(const RunParameters &p, const QString &function, const QString &subfunction,
                                const QString &startMonth, const QString &endDate)
{
    return functionQuery(p, QStringLiteral("SELECT COALESCE(SUM(A.VADEM),0) AS LIQUIDADO"),
                         QStringLiteral("VIEWLIQ"), QStringLiteral("DATAE"), function, subfunction, startMonth,
                         endDate);
}

QString functionPaidQuery(const RunParameters &p, const QString &function, const QString &subfunction,
                          const QString &startMonth, const QString &endDate)
{
    return functionQuery(p, QStringLiteral("SELECT COALESCE(SUM(A.VAPAG),0) AS REALIZADO"),
                         QStringLiteral("VIEWVAPAG"), QStringLiteral("DTPAG"), function, subfunction, startMonth,
                         endDate);
}

QString deductionMonthQuery(const RunParameters &p, const QString &account, const QString &month,
                            const QString &endDate)
{
    return revenueLikeQuery(QStringLiteral("orcada_atual"), QStringLiteral(" * -1"), QStringLiteral(" * -1"),
                            monthStart(p, month), endDate, account, p.entity);
}

QString deductionBudgetQuery(const RunParameters &p, const QString &account)
{
    return revenueLikeQuery(QStringLiteral("orcada_inicial"), QStringLiteral(" * -1"), {}, yearStart(p), yearEnd(p),
                            account, p.entity);
}

QString educationUpdatedQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &month, const QString &endDate)
{
    return groupUpdatedQuery(p, group, code, month, endDate);
}

QString educationLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code,
                                 const QString &month)
{
    return groupLiquidatedQuery(p, group, code, month);
}

QString educationBudgetQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return groupBudgetQuery(p, group, code, kEducationBudgetFilter);
}

QString educationRevenueQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &month, const QString &endDate)
{
    return groupRevenueQuery(p, group, code, month, endDate, kEducationRevenueFilter);
}

QString educationRevenueBudgetQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return QStringLiteral("SELECT COALESCE(SUM(A.TOTOR),0) AS ORCADA FROM RECORC A INNER JOIN RECDIS B ON B.FICHA "
                          "= A.FICHA WHERE B.GRUPO_TCE = '") +
           groupTail(group, code, entityFilter(kEducationRevenueBudgetFilter, p.entity));
}

QString healthUpdatedQuery(const RunParameters &p, const QString &group, const QString &code, const QString &month,
                           const QString &endDate)
{
    return groupUpdatedQuery(p, group, code, month, endDate);
}

QString healthLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &month)
{
    return groupLiquidatedQuery(p, group, code, month);
}

QString healthBudgetQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return groupBudgetQuery(p, group, code, kHealthBudgetFilter);
}

QString healthRevenueQuery(const RunParameters &p, const QString &group, const QString &code,
                           const QString &month, const QString &endDate)
{
    return groupRevenueQuery(p, group, code, month, endDate, kHealthRevenueFilter);
}

QString healthRevenueBudgetQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return QStringLiteral("select coalesce(sum(a.orcada_inicial),0) as orcada from receita_nivel ('01.01.") +
           p.exerciseYear + QStringLiteral("','") + QStringLiteral("31.12.") + p.exerciseYear +
           QStringLiteral("') A ") + QStringLiteral("inner join recdis b on b.ficha = a.ficha ") +
           QStringLiteral("WHERE B.GRUPO_TCE = '") + groupTail(group, code, entityFilter(kHealthRevenueBudgetFilter, p.entity));
}

} // namespace orven::generation::sql
