#include "generation/AggregatingAmountSource.h"

#include "common/Error.h"
#include "generation/sections/SectionQueries.h"

#include <QHash>
#include <QPair>
#include <QSet>

#include <functional>
#include <optional>

namespace orven::generation {

namespace {

// ---------------------------------------------------------------------------
// What a request is made of.

// The values a section puts into its query text.
struct Parts {
    QString account; // court account (BALCO_TCE)
    QString group;   // court group (GRUPO_TCE)
    QString code;    // court code (COD_TCE)
    QString start;   // "01.mm.yyyy"
    QString end;     // "dd.mm.yyyy"
    QString month;   // "mm" of start
};

enum class Keys { Account, GroupCode };

// A result column: sum a, or sum a + sum b (null when either is null), times
// sign; a null result reads 0, as the wrapped source reads it.
struct Expr {
    int a = 0;
    int b = -1;
    double sign = 1.0;
};

struct Column {
    QString name;
    Expr expr;
};

// One kind of request: the query text a section builds for it (without the
// entity filter), and the grouped query over the same rows that answers every
// request of the kind for the same dates and entity.
struct Kind {
    QStringList sections;
    QStringList measures;
    Keys keys = Keys::Account;
    QString keyTable;     // the table aliased B, whose court columns are compared
    QString entityColumn; // the column of the entity filter, as the section names it
    std::function<QString(const Parts &)> text;
    std::function<QString(const Parts &)> from;       // FROM clause of the grouped query
    std::function<QString(const Parts &)> conditions; // its WHERE conditions besides the entity (may be empty)
    QStringList sums;
    QList<Column> columns;
};

const QString kQ = QStringLiteral("'");

// The run parameters a section had when it built a request's text: the
// exercise year of its start date, no entity (the filter is compared apart).
RunParameters runOf(const Parts &p)
{
    RunParameters r;
    r.exerciseYear = p.start.mid(6);
    r.entity = 0;
    return r;
}

QString revenueFrom(const Parts &p)
{
    return QStringLiteral("receita_nivel ('") + p.start + QStringLiteral("','") + p.end +
           QStringLiteral("') A inner join recdis b on b.ficha = a.ficha");
}

QString noConditions(const Parts &) { return {}; }

const QStringList kRevenueSums = {QStringLiteral("sum(a.orcada_atual)"), QStringLiteral("sum(a.orcada_inicial)"),
                                  QStringLiteral("sum(a.mes)")};
enum { kAtual = 0, kInicial = 1, kMes = 2 };

QList<Kind> buildKinds()
{
    QList<Kind> kinds;

    // Revenue and deductions, by court account: receita_nivel for the period
    // of the request. The four forms of the query (budget column, and each
    // amount negated or not) share one grouped query.
    for (const int budget : {kAtual, kInicial}) {
        const QString budgetColumn = budget == kAtual ? QStringLiteral("orcada_atual") : QStringLiteral("orcada_inicial");
        for (const bool negateBudget : {false, true}) {
            for (const bool negateCollected : {false, true}) {
                const QString signA = negateBudget ? QStringLiteral(" * -1") : QString();
                const QString signR = negateCollected ? QStringLiteral(" * -1") : QString();
                Kind k;
                k.sections = {QStringLiteral("receitas"), QStringLiteral("deducoes")};
                k.measures = {QStringLiteral("movimento"), QStringLiteral("orcado")};
                k.keys = Keys::Account;
                k.keyTable = QStringLiteral("RECDIS");
                k.entityColumn = QStringLiteral("b.empresa");
                k.text = [budgetColumn, signA, signR](const Parts &p) {
                    return sql::revenueLikeQuery(budgetColumn, signA, signR, p.start, p.end, p.account, 0);
                };
                k.from = revenueFrom;
                k.conditions = noConditions;
                k.sums = kRevenueSums;
                k.columns = {{QStringLiteral("atualizada"), {budget, -1, negateBudget ? -1.0 : 1.0}},
                             {QStringLiteral("realizada"), {kMes, -1, negateCollected ? -1.0 : 1.0}}};
                kinds << k;
            }
        }
    }

    // Education and health revenue, by court group and code.
    {
        Kind k;
        k.sections = {QStringLiteral("educacao"), QStringLiteral("saude")};
        k.measures = {QStringLiteral("receita.movimento")};
        k.keys = Keys::GroupCode;
        k.keyTable = QStringLiteral("RECDIS");
        k.entityColumn = QStringLiteral("b.empresa");
        k.text = [](const Parts &p) {
            return sql::educationRevenueQuery(runOf(p), p.group, p.code, p.month, p.end);
        };
        k.from = revenueFrom;
        k.conditions = noConditions;
        k.sums = kRevenueSums;
        k.columns = {{QStringLiteral("atualizada"), {kAtual}}, {QStringLiteral("realizada"), {kMes}}};
        kinds << k;

        k.sections = {QStringLiteral("saude")};
        k.measures = {QStringLiteral("receita.orcado")};
        k.text = [](const Parts &p) { return sql::healthRevenueBudgetQuery(runOf(p), p.group, p.code); };
        k.columns = {{QStringLiteral("orcada"), {kInicial}}};
        kinds << k;
    }

    // Education revenue budget (RECORC), by court group and code.
    {
        Kind k;
        k.sections = {QStringLiteral("educacao")};
        k.measures = {QStringLiteral("receita.orcado")};
        k.keys = Keys::GroupCode;
        k.keyTable = QStringLiteral("RECDIS");
        k.entityColumn = QStringLiteral("A.empresa");
        k.text = [](const Parts &p) { return sql::educationRevenueBudgetQuery(runOf(p), p.group, p.code); };
        k.from = [](const Parts &) { return QStringLiteral("RECORC A INNER JOIN RECDIS B ON B.FICHA = A.FICHA"); };
        k.conditions = noConditions;
        k.sums = {QStringLiteral("SUM(A.TOTOR)")};
        k.columns = {{QStringLiteral("ORCADA"), {0}}};
        kinds << k;
    }

    // Education and health expense: updated appropriation (DESPESA_NIVEL),
    // liquidations of the month, appropriation; by court group and code.
    {
        Kind k;
        k.sections = {QStringLiteral("educacao"), QStringLiteral("saude")};
        k.measures = {QStringLiteral("despesa.atualizado")};
        k.keys = Keys::GroupCode;
        k.keyTable = QStringLiteral("DESDIS");
        k.entityColumn = QStringLiteral("B.empresa");
        k.text = [](const Parts &p) {
            return sql::educationUpdatedQuery(runOf(p), p.group, p.code, p.month, p.end);
        };
        k.from = [](const Parts &p) {
            return QStringLiteral("DESPESA_NIVEL('") + p.start + QStringLiteral("','") + p.end +
                   QStringLiteral("') A INNER JOIN DESDIS B ON B.FICHA = A.FICHA");
        };
        k.conditions = noConditions;
        k.sums = {QStringLiteral("SUM(A.DOTAC)"), QStringLiteral("SUM(A.ALTDO)")};
        k.columns = {{QStringLiteral("ATUALIZADO"), {0, 1}}};
        kinds << k;

        k.measures = {QStringLiteral("despesa.liquidado")};
        k.text = [](const Parts &p) { return sql::educationLiquidatedQuery(runOf(p), p.group, p.code, p.month); };
        k.from = [](const Parts &) { return QStringLiteral("VIEWLIQ A INNER JOIN DESDIS B ON B.FICHA = A.FICHA"); };
        k.conditions = [](const Parts &p) {
            return QStringLiteral("EXTRACT(MONTH FROM A.DATAE) = '") + p.month +
                   QStringLiteral("' AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI)");
        };
        k.sums = {QStringLiteral("SUM(A.VADEM)")};
        k.columns = {{QStringLiteral("LIQUIDADO"), {0}}};
        kinds << k;

        k.measures = {QStringLiteral("despesa.orcado")};
        k.entityColumn = QStringLiteral("DESORC.EMPRESA");
        k.text = [](const Parts &p) { return sql::educationBudgetQuery(runOf(p), p.group, p.code); };
        k.from = [](const Parts &) { return QStringLiteral("DESORC INNER JOIN DESDIS B ON B.FICHA = DESORC.FICHA"); };
        k.conditions = noConditions;
        k.sums = {QStringLiteral("SUM(DESORC.DOTAC)")};
        k.columns = {{QStringLiteral("ORCADO"), {0}}};
        kinds << k;
    }

    // Expense by court account: committed, liquidated and paid in the
    // period, and the appropriation.
    struct Movement {
        const char *measure;
        const char *column;
        const char *table;
        const char *amount;
        const char *date;
        QString (*builder)(const RunParameters &, const QString &, const QString &, const QString &);
    };
    for (const Movement &m : {Movement{"empenhado", "EMPENHADO", "DESPES", "VADEM", "DATAE", sql::expenseCommittedQuery},
                              Movement{"liquidado", "LIQUIDADO", "VIEWLIQ", "VADEM", "DATAE", sql::expenseLiquidatedQuery},
                              Movement{"realizado", "REALIZADO", "VIEWVAPAG", "VAPAG", "DTPAG", sql::expensePaidQuery}}) {
        const QString column = QString::fromLatin1(m.column);
        const QString table = QString::fromLatin1(m.table);
        const QString amount = QString::fromLatin1(m.amount);
        const QString date = QString::fromLatin1(m.date);
        Kind k;
        k.sections = {QStringLiteral("despesas")};
        k.measures = {QString::fromLatin1(m.measure)};
        k.keys = Keys::Account;
        k.keyTable = QStringLiteral("DESDIS");
        k.entityColumn = QStringLiteral("b.empresa");
        k.text = [builder = m.builder](const Parts &p) { return builder(runOf(p), p.account, p.month, p.end); };
        k.from = [=](const Parts &) { return table + QStringLiteral(" A INNER JOIN DESDIS B ON B.FICHA = A.FICHA"); };
        k.conditions = [=](const Parts &p) {
            return QStringLiteral("A.") + date + QStringLiteral(" >= '") + p.start + QStringLiteral("' AND CAST(A.") +
                   date + QStringLiteral(" AS DATE) <= '") + p.end + kQ;
        };
        k.sums = {QStringLiteral("SUM(A.") + amount + QLatin1Char(')')};
        k.columns = {{column, {0}}};
        kinds << k;
    }
    {
        Kind k;
        k.sections = {QStringLiteral("despesas")};
        k.measures = {QStringLiteral("orcado")};
        k.keys = Keys::Account;
        k.keyTable = QStringLiteral("DESDIS");
        k.entityColumn = QStringLiteral("b.empresa");
        k.text = [](const Parts &p) { return sql::expenseBudgetQuery(runOf(p), p.account); };
        k.from = [](const Parts &) { return QStringLiteral("DESORC A INNER JOIN DESDIS B ON B.FICHA = A.FICHA"); };
        k.conditions = noConditions;
        k.sums = {QStringLiteral("SUM(A.DOTAC)")};
        k.columns = {{QStringLiteral("ORCADA"), {0}}};
        kinds << k;
    }
    return kinds;
}

const QList<Kind> &kinds()
{
    static const QList<Kind> list = buildKinds();
    return list;
}

// A text that can stand between the quotes of an SQL literal and means there
// what it means here: printable ASCII without a quote.
bool plainLiteral(const QString &s)
{
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == u'\'')
            return false;
    }
    return true;
}

// The database compares text by padding the shorter side with blanks: 'A' and
// 'A  ' are equal, 'A' and 'a' or ' A' are not.
QString withoutTrailingBlanks(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QStringList keyColumnNames(Keys keys)
{
    return keys == Keys::Account ? QStringList{QStringLiteral("BALCO_TCE")}
                                 : QStringList{QStringLiteral("GRUPO_TCE"), QStringLiteral("COD_TCE")};
}

using Key = QPair<QString, QString>;
using Sums = QList<std::optional<double>>;

// The totals of one grouped query, by court key (trailing blanks removed).
struct Totals {
    bool usable = false; // false: the grouped query failed; its requests go to the wrapped source
    QHash<Key, Sums> byKey;
};

} // namespace

struct AggregatingAmountSource::Impl {
    std::unique_ptr<AmountSource> owned;
    AmountSource *inner = nullptr;
    qint64 answered = 0;
    qint64 own = 0;
    bool columnsChecked = false;
    QSet<QString> binaryColumns; // "TABLE.COLUMN" of court columns compared byte for byte
    QHash<QString, Totals> totals; // by grouped query text

    void checkColumns();
    const Totals &totalsFor(const QString &groupedSql, int keyCount, int sumCount);
    std::optional<QList<double>> answer(const AmountRequest &request);
};

void AggregatingAmountSource::Impl::checkColumns()
{
    columnsChecked = true;
    // Effective collation of each court column: the column's own, else its
    // domain's, else the character set's default (id 0). A column qualifies
    // when it is CHAR or VARCHAR (types 14, 37) and its collation is the
    // binary one named after its character set, which is also the set's
    // default; OCTETS pads with zero bytes, not blanks, and does not qualify.
    const QString sql = QStringLiteral(
        "select trim(rf.rdb$relation_name), trim(rf.rdb$field_name), f.rdb$field_type, "
        "trim(cs.rdb$character_set_name), trim(cs.rdb$default_collate_name), trim(co.rdb$collation_name) "
        "from rdb$relation_fields rf "
        "inner join rdb$fields f on f.rdb$field_name = rf.rdb$field_source "
        "left join rdb$character_sets cs on cs.rdb$character_set_id = f.rdb$character_set_id "
        "left join rdb$collations co on co.rdb$character_set_id = f.rdb$character_set_id "
        "and co.rdb$collation_id = coalesce(rf.rdb$collation_id, f.rdb$collation_id, 0) "
        "where rf.rdb$relation_name in ('RECDIS', 'DESDIS') "
        "and rf.rdb$field_name in ('BALCO_TCE', 'GRUPO_TCE', 'COD_TCE')");
    ++own;
    QList<QVariantList> result;
    try {
        result = inner->rows(sql);
    } catch (const Error &) {
        return; // nothing qualifies: every request goes to the wrapped source
    }
    for (const QVariantList &row : result) {
        if (row.size() < 6)
            continue;
        const int type = row.at(2).toInt();
        const QString charset = row.at(3).toString().trimmed();
        const QString defaultCollation = row.at(4).toString().trimmed();
        const QString collation = row.at(5).toString().trimmed();
        const bool text = type == 14 || type == 37;
        const bool binary = !charset.isEmpty() && charset != QLatin1String("OCTETS") && collation == charset &&
                            (defaultCollation.isEmpty() || defaultCollation == charset);
        if (text && binary)
            binaryColumns.insert(row.at(0).toString().trimmed() + QLatin1Char('.') + row.at(1).toString().trimmed());
    }
}

const Totals &AggregatingAmountSource::Impl::totalsFor(const QString &groupedSql, int keyCount, int sumCount)
{
    auto it = totals.find(groupedSql);
    if (it != totals.end())
        return *it;
    Totals t;
    ++own;
    try {
        const QList<QVariantList> result = inner->rows(groupedSql);
        for (const QVariantList &row : result) {
            if (row.size() < keyCount + sumCount)
                throw Error(QStringLiteral("resultado incompleto"));
            // A null court column equals nothing: its rows count for no account.
            if (row.at(0).isNull() || (keyCount == 2 && row.at(1).isNull()))
                continue;
            const Key key{withoutTrailingBlanks(row.at(0).toString()),
                          keyCount == 2 ? withoutTrailingBlanks(row.at(1).toString()) : QString()};
            Sums &sums = t.byKey[key];
            if (sums.isEmpty())
                sums.resize(sumCount);
            // Keys that differ only by trailing blanks come as one group;
            // should they not, their sums add up as the database would.
            for (int i = 0; i < sumCount; ++i) {
                const QVariant &v = row.at(keyCount + i);
                if (v.isNull())
                    continue;
                sums[i] = sums[i].value_or(0.0) + v.toDouble();
            }
        }
        t.usable = true;
    } catch (const Error &) {
        t = Totals{}; // the requests of this query run one by one, as without this source
    }
    return *totals.insert(groupedSql, t);
}

std::optional<QList<double>> AggregatingAmountSource::Impl::answer(const AmountRequest &r)
{
    Parts parts;
    parts.start = r.startDate;
    parts.end = r.endDate;
    if (!plainLiteral(r.startDate) || !plainLiteral(r.endDate) || !plainLiteral(r.account))
        return std::nullopt;
    // "01.mm.yyyy": the month of the start date.
    if (r.startDate.size() == 10 && r.startDate.startsWith(QLatin1String("01.")))
        parts.month = r.startDate.mid(3, 2);
    parts.account = r.account;
    const qsizetype slash = r.account.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        parts.group = r.account.left(slash);
        parts.code = r.account.mid(slash + 1);
    }

    for (const Kind &kind : kinds()) {
        if (!kind.sections.contains(r.section) || !kind.measures.contains(r.measure))
            continue;
        if (kind.keys == Keys::GroupCode && slash < 0)
            continue;
        const QString text = kind.text(parts);
        if (!r.sql.startsWith(text))
            continue;
        // The entity filter, as the section writes it (keywords and names in
        // any letter case).
        const QString rest = r.sql.mid(text.size());
        const QString entityFilter =
            r.entity == 0 ? QString()
                          : QStringLiteral(" and ") + kind.entityColumn + QStringLiteral(" = '") +
                                QString::number(r.entity) + kQ;
        if (rest.compare(entityFilter, Qt::CaseInsensitive) != 0)
            continue;

        // The columns asked must be columns of the query.
        QList<Expr> exprs;
        for (const QString &asked : r.columns) {
            const Column *found = nullptr;
            for (const Column &c : kind.columns) {
                if (c.name.compare(asked, Qt::CaseInsensitive) == 0) {
                    found = &c;
                    break;
                }
            }
            if (!found)
                return std::nullopt;
            exprs << found->expr;
        }

        if (!columnsChecked)
            checkColumns();
        for (const QString &column : keyColumnNames(kind.keys)) {
            if (!binaryColumns.contains(kind.keyTable + QLatin1Char('.') + column))
                return std::nullopt;
        }

        const QString keyList = kind.keys == Keys::Account ? QStringLiteral("B.BALCO_TCE")
                                                           : QStringLiteral("B.GRUPO_TCE, B.COD_TCE");
        QStringList conditions;
        const QString kindConditions = kind.conditions(parts);
        if (!kindConditions.isEmpty())
            conditions << kindConditions;
        if (r.entity != 0)
            conditions << kind.entityColumn + QStringLiteral(" = '") + QString::number(r.entity) + kQ;
        const QString groupedSql =
            QStringLiteral("SELECT ") + keyList + QStringLiteral(", ") + kind.sums.join(QStringLiteral(", ")) +
            QStringLiteral(" FROM ") + kind.from(parts) +
            (conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "))) +
            QStringLiteral(" GROUP BY ") + keyList;
        const int keyCount = kind.keys == Keys::Account ? 1 : 2;
        const Totals &t = totalsFor(groupedSql, keyCount, kind.sums.size());
        if (!t.usable)
            return std::nullopt;

        const Key key = kind.keys == Keys::Account
                            ? Key{withoutTrailingBlanks(parts.account), QString()}
                            : Key{withoutTrailingBlanks(parts.group), withoutTrailingBlanks(parts.code)};
        const auto it = t.byKey.constFind(key);
        const Sums none(kind.sums.size());
        const Sums &sums = it == t.byKey.constEnd() ? none : *it;
        QList<double> values;
        values.reserve(exprs.size());
        for (const Expr &e : exprs) {
            std::optional<double> v = sums.value(e.a);
            if (e.b >= 0) {
                const std::optional<double> w = sums.value(e.b);
                v = v && w ? std::optional<double>(*v + *w) : std::nullopt;
            }
            values << (v ? *v * e.sign : 0.0 * e.sign);
        }
        ++answered;
        return values;
    }
    return std::nullopt;
}

AggregatingAmountSource::AggregatingAmountSource(AmountSource &inner) : d(std::make_unique<Impl>())
{
    d->inner = &inner;
}

AggregatingAmountSource::AggregatingAmountSource(std::unique_ptr<AmountSource> inner) : d(std::make_unique<Impl>())
{
    d->owned = std::move(inner);
    d->inner = d->owned.get();
}

AggregatingAmountSource::~AggregatingAmountSource() = default;

QList<double> AggregatingAmountSource::amounts(const AmountRequest &request)
{
    if (std::optional<QList<double>> values = d->answer(request))
        return *values;
    return d->inner->amounts(request);
}

QList<QVariantList> AggregatingAmountSource::rows(const QString &sql) { return d->inner->rows(sql); }

qint64 AggregatingAmountSource::queryCount() const { return d->inner->queryCount(); }

qint64 AggregatingAmountSource::answeredCount() const { return d->answered; }

qint64 AggregatingAmountSource::ownQueryCount() const { return d->own; }

} // namespace orven::generation
