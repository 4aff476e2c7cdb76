#include "classification/RevenueRules.h"

#include "db/RecordSet.h"

namespace orven::classification {

namespace {

QString textAt(const db::RecordSet &records, int viewRow, const QString &field)
{
    const QVariant v = records.valueAt(viewRow, records.fieldIndex(field));
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}

QChar firstChar(const QString &s) { return s.isEmpty() ? QChar() : s.at(0); }

bool startsWith211or212(const QString &codre)
{
    return codre.startsWith(QLatin1String("211")) || codre.startsWith(QLatin1String("212"));
}

const QString kBalcoTce = QStringLiteral("BALCO_TCE");
const QString kGrupoTce = QStringLiteral("GRUPO_TCE");
const QString kCodTce = QStringLiteral("COD_TCE");

} // namespace

bool isGroup105Kind(const QString &tipo)
{
    return tipo == u"ED" || tipo == u"EF" || tipo == u"EI" || tipo == u"FU" || tipo == u"QE";
}

RevenueRecord RevenueRecord::at(const db::RecordSet &records, int viewRow)
{
    RevenueRecord r;
    r.codre = textAt(records, viewRow, QStringLiteral("CODRE"));
    r.tipo = textAt(records, viewRow, QStringLiteral("TIPO"));
    r.extra = textAt(records, viewRow, QStringLiteral("EXTRA"));
    r.balcoTce = textAt(records, viewRow, kBalcoTce);
    r.grupoTce = textAt(records, viewRow, kGrupoTce);
    r.codTce = textAt(records, viewRow, kCodTce);
    r.totor = records.valueAt(viewRow, records.fieldIndex(QStringLiteral("TOTOR"))).toDouble();
    return r;
}

RevenueRules::RevenueRules(CourtChart chart) : m_chart(std::move(chart)) {}

// ---- filters -------------------------------------------------------------------------------

QString RevenueRules::accountFilter(const RevenueRecord &r)
{
    QString filter = QStringLiteral("TIPO = 'R'");
    const QChar c = firstChar(r.codre);
    if (c == u'1')
        filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 101");
    if (c == u'2')
        filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 102");
    if (c == u'7')
        filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103");
    if (c == u'8')
        filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 109 OR CODTIPO = 103");
    if (c == u'9' && r.extra == u"N")
        filter = QStringLiteral("TIPO = 'R' AND CODTIPO ='001'");
    if (c == u'9' && r.extra == u"S")
        filter = QStringLiteral("TIPO = '-1'"); // no row: any court account is wrong
    return filter;
}

QString RevenueRules::groupFilter(const RevenueRecord &r)
{
    QString filter = QStringLiteral("TIPO = 'V'");
    if (r.tipo == u"SD")
        filter = QStringLiteral("TIPO = 'V' AND CODTIPO = '106'");
    if (isGroup105Kind(r.tipo))
        filter = QStringLiteral("TIPO = 'V' AND CODTIPO = '105'");
    if (startsWith211or212(r.codre))
        filter = QStringLiteral("TIPO = 'V' AND CODTIPO = '009'");
    return filter;
}

LookupRule RevenueRules::accountLookup(const RevenueRecord &r)
{
    LookupRule rule;
    rule.assignments = {{kBalcoTce, QStringLiteral("NUM_CONTABIL")}};
    // Extra-budgetary records take no court account.
    if (r.extra == u"S")
        return rule;
    rule.dialog = LookupRule::Dialog::Chart;
    const QChar c = firstChar(r.codre);
    if (c == u'1')
        rule.filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 101");
    else if (c == u'2')
        rule.filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 102");
    else if (c == u'7')
        rule.filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103");
    else if (c == u'8')
        rule.filter = QStringLiteral("TIPO = 'R' AND CODTIPO = 109 OR CODTIPO = 103");
    else if (c == u'9' && r.extra == u"N")
        // The same group the check accepts for these records.
        rule.filter = QStringLiteral("TIPO = 'R' AND CODTIPO ='001'");
    return rule;
}

LookupRule RevenueRules::sourceLookup(const RevenueRecord &r)
{
    LookupRule rule;
    rule.dialog = LookupRule::Dialog::Chart;
    rule.assignments = {{kGrupoTce, QStringLiteral("CODTIPO")}, {kCodTce, QStringLiteral("NUM_CONTABIL")}};
    rule.filter = QStringLiteral("TIPO = 'V' AND CODTIPO <> '205' AND CODTIPO <> '206'");
    if (r.tipo == u"SD")
        rule.filter = QStringLiteral("TIPO = 'V' AND CODTIPO = '106' AND CODTIPO <> '205' AND CODTIPO <> '206'");
    if (isGroup105Kind(r.tipo))
        rule.filter = QStringLiteral("TIPO = 'V' AND CODTIPO = '105'");
    if (startsWith211or212(r.codre))
        rule.filter = QStringLiteral("TIPO = 'V' AND CODTIPO = '009'");
    return rule;
}

// ---- cell states ---------------------------------------------------------------------------

CellState RevenueRules::accountState(const RevenueRecord &r) const
{
    if (r.balcoTce.trimmed().isEmpty())
        return CellState::Missing;
    return m_chart.hasAccount(r.balcoTce, m_chart.filter(accountFilter(r))) ? CellState::Normal : CellState::Invalid;
}

CellState RevenueRules::pairState(const RevenueRecord &r, const QString &tested) const
{
    if (tested.trimmed().isEmpty())
        return CellState::Missing;
    return m_chart.hasPair(r.grupoTce, r.codTce, m_chart.filter(groupFilter(r))) ? CellState::Normal
                                                                                  : CellState::Invalid;
}

CellState RevenueRules::groupState(const RevenueRecord &r) const { return pairState(r, r.grupoTce); }

CellState RevenueRules::sourceState(const RevenueRecord &r) const { return pairState(r, r.codTce); }

// ---- ClassificationRules -------------------------------------------------------------------

QList<CheckedColumn> RevenueRules::checkedColumns() const
{
    return {{kBalcoTce, kAccountCaption}, {kGrupoTce, kGroupCaption}, {kCodTce, kSourceCaption}};
}

CellState RevenueRules::cellState(const db::RecordSet &records, int viewRow, int field) const
{
    if (field < 0 || field >= records.fieldCount() || viewRow < 0 || viewRow >= records.recordCount())
        return CellState::Normal;
    const QString &name = records.field(field).name;
    const bool account = name.compare(kBalcoTce, Qt::CaseInsensitive) == 0;
    const bool group = !account && name.compare(kGrupoTce, Qt::CaseInsensitive) == 0;
    const bool source = !account && !group && name.compare(kCodTce, Qt::CaseInsensitive) == 0;
    if (!account && !group && !source)
        return CellState::Normal;
    const RevenueRecord r = RevenueRecord::at(records, viewRow);
    if (account)
        return accountState(r);
    return group ? groupState(r) : sourceState(r);
}

LookupRule RevenueRules::lookup(LookupKey key, const db::RecordSet &records, int viewRow) const
{
    if (viewRow < 0 || viewRow >= records.recordCount())
        return {};
    const RevenueRecord r = RevenueRecord::at(records, viewRow);
    return key == LookupKey::F2 ? accountLookup(r) : sourceLookup(r);
}

} // namespace orven::classification
