#include "generation/sections/SectionQueriesTwo.h"

namespace orven::generation::queries {

namespace {

// Entity condition prefixes.
const QString kLedgerFilter = QStringLiteral(" AND EMPRESA = '");        // condia, not aliased
const QString kCommittedFilter = QStringLiteral(" AND B.EMPRESA = '");   // DESDIS as B
const QString kAliasCFilter = QStringLiteral(" AND C.EMPRESA = '");      // DESDIS as C
const QString kCreditCheckFilter = QStringLiteral(" AND RECDIS.EMPRESA = '");
const QString kBudgetFilter = QStringLiteral(" AND DESORC.EMPRESA = '");
const QString kCashFilter = QStringLiteral(" AND DESCON.EMPRESA = '");

QString yearTest(Kind kind) { return kind == Kind::Processed ? QStringLiteral("<") : QStringLiteral("="); }

} // namespace

QString trimmed(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 0x20)
        --e;
    return text.mid(b, e - b);
}

QString compactCode(const QString &text)
{
    QString s = trimmed(text);
    s.remove(QLatin1Char('.'));
    return s;
}

QString entityFilter(const QString &prefix, int entity)
{
    if (entity == 0)
        return {};
    return prefix + QString::number(entity) + QLatin1Char('\'');
}

// ---------------------------------------------------------------------------

bool contractedDebtCondition(const QString &accountCode, QString *condition)
{
    static const struct {
        const char *code;
        const char *condition; // empty: always zero
    } table[] = {
        {"1.100", ""},
        {"1.200", "and balco like '3411%' "},
        {"1.300", "and balco like '3424%' "},
        {"1.400", ""},
        {"1.501", ""},
        {"1.502", "and balco = '342101' "},
        {"1.503", "and balco like '3421%' and balco not in ('342101','342102') "},
        {"1.504", "and balco = '342102' "},
        {"1.600", ""},
        {"1.700", "and balco like '3422%' "},
    };
    for (const auto &row : table) {
        if (accountCode == QLatin1String(row.code)) {
            if (condition)
                *condition = QLatin1String(row.condition);
            return true;
        }
    }
    if (condition)
        condition->clear();
    return false;
}

QString contractedDebtQuery(const RunParameters &p, const QString &condition)
{
    return QStringLiteral("select coalesce(sum(credi)-sum(debit),0) as valor from condia where extract(month from "
                          "datae) in ('") +
           p.firstMonth + QStringLiteral("','") + p.secondMonth + QStringLiteral("') ") +
           QStringLiteral("and extract(year from datae) = (select mexer from cadcli) ") + condition +
           entityFilter(kLedgerFilter, p.entity);
}

// ---------------------------------------------------------------------------

QString amortisedCommittedQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return QStringLiteral("SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO FROM DESPES A INNER JOIN DESDIS B ON "
                          "B.FICHA = A.FICHA WHERE B.GRUPO_TCE = '") +
           group + QStringLiteral("' ") + QStringLiteral("AND B.COD_TCE = '") + code + QStringLiteral("' ") +
           QStringLiteral("AND B.DOTAC <> 0 ") + entityFilter(kCommittedFilter, p.entity);
}

QString amortisedLiquidatedQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return QStringLiteral("SELECT COALESCE(SUM(A.VADEM),0) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESPES B ON "
                          "B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE C.GRUPO_TCE = '") +
           group + QStringLiteral("' ") + QStringLiteral("AND C.COD_TCE = '") + code + QStringLiteral("' ") +
           entityFilter(kAliasCFilter, p.entity);
}

QString additionalCreditCheckQuery(const RunParameters &p)
{
    return QStringLiteral("SELECT COALESCE(SUM(TOTOR),0) AS CREDITO FROM RECDIS WHERE BALCO_TCE IN "
                          "('2.1.15.00.00','2.1.16.00.00','8.1.15.00.00','8.1.16.00.00') ") +
           entityFilter(kCreditCheckFilter, p.entity);
}

QString additionalCreditCondition(double credit)
{
    return credit == 0 ? QStringLiteral(" AND A.FICHA = -1 ") : QString();
}

QString additionalCreditQuery(const RunParameters &p, const QString &group, const QString &code,
                              const QString &creditCondition)
{
    return QStringLiteral("SELECT COALESCE(SUM(A.VAPAG),0) AS valor_creditoadicional FROM VIEWVAPAG A INNER JOIN "
                          "DESPES B ON B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE C.GRUPO_TCE "
                          "= '") +
           group + QStringLiteral("' ") + QStringLiteral("AND C.COD_TCE = '") + code + QStringLiteral("' ") +
           QStringLiteral("AND C.DOTAC = 0 ") + creditCondition + QStringLiteral(" ") +
           entityFilter(kAliasCFilter, p.entity);
}

QString amortisedBudgetQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return QStringLiteral("SELECT COALESCE(SUM(DESORC.DOTAC),0) AS VALOR_ORCADO FROM DESORC INNER JOIN DESDIS C ON "
                          "C.FICHA = DESORC.FICHA WHERE C.GRUPO_TCE = '") +
           group + QStringLiteral("' ") + QStringLiteral("AND C.COD_TCE = '") + code + QStringLiteral("' ") +
           entityFilter(kBudgetFilter, p.entity);
}

// ---------------------------------------------------------------------------

QString outstandingPaidColumn(Kind kind)
{
    return kind == Kind::Processed ? QStringLiteral("PROCESSADO_PAGO") : QStringLiteral("NAO_PROCESSADO_PAGO");
}

QString outstandingCancelledColumn(Kind kind)
{
    return kind == Kind::Processed ? QStringLiteral("PROCESSADO_CANCELADO")
                                   : QStringLiteral("NAO_PROCESSADO_CANCELADO");
}

QString outstandingPaidQuery(const RunParameters &p, Kind kind, const QString &group, const QString &code,
                             const QString &month)
{
    return QStringLiteral("SELECT A.PKEMP,A.NUMSUB,COALESCE(SUM(A.VAPAG),0) AS ") + outstandingPaidColumn(kind) +
           QStringLiteral(" FROM VIEWVAPAG A INNER JOIN DESPES B ON B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA "
                          "= B.FICHA WHERE EXTRACT(MONTH FROM A.DTPAG) = '") +
           month + QStringLiteral("' ") + QStringLiteral("AND A.VAPAG > 0 ") +
           QStringLiteral("AND EXTRACT(YEAR FROM A.DTPAG) = (SELECT MEXER FROM CADCLI) ") +
           QStringLiteral("AND SUBSTRING(C.BALCO FROM 1 FOR 4) = '3211' ") + QStringLiteral("AND B.GRUPO_TCE = '") +
           group + QStringLiteral("' ") + QStringLiteral("AND B.COD_TCE = '") + code + QStringLiteral("' ") +
           entityFilter(kAliasCFilter, p.entity) + QStringLiteral(" ") + QStringLiteral("GROUP BY A.PKEMP,A.NUMSUB");
}

QString liquidationLookup(Kind kind, const QString &pkemp, const QString &numsub)
{
    return QStringLiteral("SELECT * FROM VIEWLIQ WHERE PKEMP = '") + pkemp + QStringLiteral("' ") +
           QStringLiteral("AND NUMSUB = '") + numsub + QStringLiteral("' ") + QStringLiteral("AND VADEM > 0 ") +
           QStringLiteral("AND EXTRACT(YEAR FROM DATAE) ") + yearTest(kind) +
           QStringLiteral(" (SELECT MEXER FROM CADCLI)");
}

QString commitmentLookup(Kind kind, const QString &pkemp)
{
    return QStringLiteral("SELECT * FROM DESPES WHERE PKEMP = '") + pkemp + QStringLiteral("' ") +
           QStringLiteral("AND VADEM > 0 ") + QStringLiteral("AND EXTRACT(YEAR FROM DTLIQ) ") + yearTest(kind) +
           QStringLiteral(" (SELECT MEXER FROM CADCLI)");
}

QString cancelledBySubQuery(const RunParameters &p, Kind kind, const QString &group, const QString &code,
                            const QString &month)
{
    return QStringLiteral("SELECT COALESCE(SUM((B.VADEM * -1)),0) AS ") + outstandingCancelledColumn(kind) +
           QStringLiteral(" FROM DESPES A INNER JOIN DESSUB B ON B.PKEMP = A.PKEMPA INNER JOIN DESDIS C ON C.FICHA = "
                          "A.FICHA WHERE A.VADEM < 0 AND B.VADEM < 0 AND EXTRACT(YEAR FROM B.DATAE) ") +
           yearTest(kind) +
           QStringLiteral(" (SELECT MEXER FROM CADCLI) AND A.DTLIQ IS NULL AND EXTRACT(MONTH FROM A.DATAE) = '") +
           month + QStringLiteral("' ") + QStringLiteral("AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) ") +
           QStringLiteral("AND SUBSTRING(C.BALCO FROM 1 FOR 4) = '3211' ") + QStringLiteral("AND A.GRUPO_TCE = '") +
           group + QStringLiteral("' ") + QStringLiteral("AND A.COD_TCE = '") + code + QStringLiteral("' ") +
           entityFilter(kAliasCFilter, p.entity) + QStringLiteral(" ");
}

QString cancelledByCommitmentQuery(const RunParameters &p, Kind kind, const QString &group, const QString &code,
                                   const QString &month)
{
    return QStringLiteral("SELECT COALESCE(SUM((A.VADEM * -1)), 0) AS ") + outstandingCancelledColumn(kind) +
           QStringLiteral(" FROM DESPES A INNER JOIN DESPES B ON B.PKEMP = A.PKEMPA AND B.DTLIQ IS NOT NULL INNER "
                          "JOIN DESDIS C ON C.FICHA = A.FICHA WHERE A.VADEM < 0 AND EXTRACT(YEAR FROM B.DTLIQ) ") +
           yearTest(kind) + QStringLiteral(" (SELECT MEXER FROM CADCLI) AND EXTRACT(MONTH FROM A.DATAE) = '") + month +
           QStringLiteral("' ") + QStringLiteral("AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) ") +
           QStringLiteral("AND SUBSTRING(C.BALCO FROM 1 FOR 4) = '3211' ") + QStringLiteral("AND B.GRUPO_TCE = '") +
           group + QStringLiteral("' ") + QStringLiteral("AND B.COD_TCE = '") + code + QStringLiteral("' ") +
           entityFilter(kAliasCFilter, p.entity) + QStringLiteral(" ");
}

// ---------------------------------------------------------------------------

QString cashBalanceQuery(const RunParameters &p, const QString &contaId)
{
    const QString where = QStringLiteral("FROM CONPLA A WHERE SUBSTRING(A.BALCO FROM 4 FOR 1)<>'0' ");
    QString outer;
    if (contaId == QLatin1String("1269"))
        outer = QStringLiteral("FROM CONPLA A WHERE SUBSTRING(A.BALCO FROM 4 FOR 1)<>'0' AND (A.BALCO LIKE '311100%') ");
    else if (contaId == QLatin1String("1271"))
        outer = QStringLiteral("FROM CONPLA A WHERE SUBSTRING(A.BALCO FROM 4 FOR 1)<>'0' AND (A.BALCO LIKE '311200%') ");
    else if (contaId == QLatin1String("1273"))
        outer = where;
    else if (contaId == QLatin1String("1274"))
        outer = where + QStringLiteral("AND A.BALCO LIKE '311300%' OR A.BALCO LIKE '312100%' OR A.BALCO LIKE '312200%' ");
    else if (contaId == QLatin1String("1275"))
        outer = where + QStringLiteral("AND (A.BALCO LIKE '311400%') ");
    else if (contaId == QLatin1String("1276"))
        outer = where + QStringLiteral("AND (A.BALCO LIKE '311500%') ");
    else if (contaId == QLatin1String("1277") || contaId == QLatin1String("1278"))
        outer = where + QStringLiteral("AND (A.BALCO = '-1') ");
    else
        return {};

    const bool fundeb = contaId == QLatin1String("1273");
    // Each four-character group of accounts is one row: its balance is counted
    // once however many accounts of the chart share the group, and two groups
    // with the same balance are both counted.
    const QString head = (fundeb ? QStringLiteral("select DISTINCT") : QStringLiteral("select distinct")) +
                         QStringLiteral(" SUBSTRING(A.BALCO FROM 1 FOR 4) AS GRUPO,") +
                         QStringLiteral("  (SELECT Cast(sum(b.credi) as DOUBLE PRECISION)-   cast(sum(b.debit) as DOUBLE "
                                        "PRECISION) from ordcai B   INNER JOIN DESCON ON DESCON.CONTA=B.CONTA   WHERE "
                                        "EXTRACT(MONTH FROM B.DTLAN)<= '");
    const QString cashFilter =
        p.entity == 0 ? QString() : kCashFilter + QString::number(p.entity) + QStringLiteral("' ");
    return head + p.secondMonth + QStringLiteral("' ") +
           QStringLiteral("  AND EXTRACT(YEAR FROM B.DTLAN) = (SELECT MEXER FROM CADCLI) ") +
           (fundeb ? QStringLiteral("  AND DESCON.TIPO = 'FU' ") : QString()) +
           QStringLiteral("  AND DESCON.BALCO LIKE SUBSTRING(A.BALCO FROM 1 FOR 4)||'%' ") + cashFilter +
           QStringLiteral(") as SALDO ") + outer;
}

// ---------------------------------------------------------------------------

QString creditOperationQuery(const RunParameters &p, const QString &group, const QString &code)
{
    return QStringLiteral("SELECT COALESCE(SUM(A.VAREC),0) AS VALOR FROM RECEIT A INNER JOIN RECDIS B ON B.FICHA = "
                          "A.FICHA WHERE EXTRACT(MONTH FROM A.DTREC) IN ('") +
           p.firstMonth + QStringLiteral("','") + p.secondMonth + QStringLiteral("') ") +
           QStringLiteral("AND EXTRACT(YEAR FROM A.DTREC) = (SELECT MEXER FROM CADCLI) ") +
           QStringLiteral("AND B.GRUPO_TCE = '") + group + QStringLiteral("' ") + QStringLiteral("AND B.COD_TCE = '") +
           code + QStringLiteral("' ");
}

} // namespace orven::generation::queries
