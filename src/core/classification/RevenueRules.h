#pragma once

// The rules of the revenue record window ("Classificação das Fichas de
// Receita"): which court accounts, groups and sources a revenue record may
// take, by its revenue code (CODRE), kind (TIPO) and extra-budgetary mark
// (EXTRA); the grey/red state of its three court cells; and what the F2 and
// F3 lookups offer.

#include "classification/ClassificationRules.h"
#include "classification/CourtChart.h"

#include <QString>

namespace orven::classification {

// The values of a revenue record (RECDIS) that the rules read.
struct RevenueRecord {
    QString codre;    // CODRE, dotted: "1112.02.00.00"
    QString tipo;     // TIPO: "SD", "ED", "EF", "EI", "FU", "QE", "RD", "AR", ...
    QString extra;    // EXTRA: "S" extra-budgetary, "N" budgetary
    QString balcoTce; // BALCO_TCE, court account
    QString grupoTce; // GRUPO_TCE, court group
    QString codTce;   // COD_TCE, court source
    double totor = 0; // TOTOR, budgeted total (null counts as 0)

    // The record in view row `viewRow` of a revenue record set (fields it
    // lacks read as empty).
    static RevenueRecord at(const db::RecordSet &records, int viewRow);
};

class RevenueRules final : public ClassificationRules {
public:
    // Captions of the court columns of the revenue grid.
    static inline const QString kAccountCaption = QStringLiteral("Plano TCE (F2)");
    static inline const QString kGroupCaption = QStringLiteral("Grupo TCE (F3)");
    static inline const QString kSourceCaption = QStringLiteral("Fonte TCE (F3)");

    // The chart is copied (its rows are shared, not duplicated).
    explicit RevenueRules(CourtChart chart = {});
    void setChart(CourtChart chart) { m_chart = std::move(chart); }
    const CourtChart &chart() const { return m_chart; }

    // ---- filters of the chart, by the record's values ------------------------------
    // Court account check: "TIPO = 'R'" narrowed by the first character of
    // CODRE ("1" group 101, "2" 102, "7" 108 or any row of 103, "8" 109 or
    // any row of 103, "9" with EXTRA "N" group 001, "9" with EXTRA "S" no
    // row at all).
    static QString accountFilter(const RevenueRecord &r);
    // Court group and source check: "TIPO = 'V'", kind "SD" group 106, kinds
    // ED/EF/EI/FU/QE group 105, CODRE beginning "211" or "212" group 009
    // (the later rule wins).
    static QString groupFilter(const RevenueRecord &r);
    // F2: the chart lookup for the court account, filtered by the first
    // character of CODRE as the check is (any other character: the whole
    // chart); no dialog for an extra-budgetary record (EXTRA "S").
    static LookupRule accountLookup(const RevenueRecord &r);
    // F3: the chart lookup for the court group and source: source groups
    // ("V") other than 205 and 206 (the expense kinds' groups), narrowed by
    // kind and CODRE as the check is.
    static LookupRule sourceLookup(const RevenueRecord &r);

    // ---- cell states -----------------------------------------------------------------
    // Missing when the court account, trimmed, is empty; Invalid when no
    // chart row of accountFilter() has it as NUM_CONTABIL.
    CellState accountState(const RevenueRecord &r) const;
    // Missing when the court group (resp. source), trimmed, is empty;
    // Invalid when no chart row of groupFilter() holds the pair (court
    // group, court source). Both columns check the same pair.
    CellState groupState(const RevenueRecord &r) const;
    CellState sourceState(const RevenueRecord &r) const;

    // ---- ClassificationRules ------------------------------------------------------------
    QList<CheckedColumn> checkedColumns() const override;
    CellState cellState(const db::RecordSet &records, int viewRow, int field) const override;
    LookupRule lookup(LookupKey key, const db::RecordSet &records, int viewRow) const override;

private:
    CellState pairState(const RevenueRecord &r, const QString &tested) const;

    CourtChart m_chart;
};

// Kinds whose court group is 105 (the education and FUNDEB kinds).
bool isGroup105Kind(const QString &tipo);

} // namespace orven::classification
