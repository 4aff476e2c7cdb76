// The aggregating amount source: on the small demo, the capture file it
// writes equals byte for byte the one the one-query-per-request source
// writes, with far fewer queries; accounts are matched as the database
// compares them (trailing blanks ignored, letter case not); and on a stand-in
// database, the null sums, the fall-backs to the wrapped source and the
// sharing of one grouped query.

#include "DemoFixture.h"

#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "common/Progress.h"
#include "db/Connection.h"
#include "generation/AggregatingAmountSource.h"
#include "generation/Amounts.h"
#include "generation/Generator.h"
#include "generation/RunChecks.h"
#include "generation/sections/SectionQueries.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <optional>

Q_DECLARE_METATYPE(orven::generation::AmountRequest)

using namespace orven;
using namespace orven::generation;

namespace {

// Forwards to another source and counts the amount requests per section.
class CountingSource final : public AmountSource {
public:
    explicit CountingSource(AmountSource &inner) : m_inner(inner) {}
    QList<double> amounts(const AmountRequest &r) override
    {
        ++requestsBySection[r.section];
        return m_inner.amounts(r);
    }
    QList<QVariantList> rows(const QString &sql) override { return m_inner.rows(sql); }
    qint64 queryCount() const override { return m_inner.queryCount(); }
    QHash<QString, qint64> requestsBySection;

private:
    AmountSource &m_inner;
};

// A stand-in database: amounts() answers a fixed pair, rows() answers the
// court-column check and the grouped queries from the test's data.
class FakeSource final : public AmountSource {
public:
    QList<double> amounts(const AmountRequest &r) override
    {
        ++count;
        passed << r;
        return {42.0, 43.0};
    }
    QList<QVariantList> rows(const QString &sql) override
    {
        ++count;
        sent << sql;
        if (sql.contains(QLatin1String("rdb$relation_fields")))
            return columnRows;
        if (failGrouped)
            throw Error(QStringLiteral("grouped query refused"));
        return groupedRows;
    }
    qint64 queryCount() const override { return count; }

    QList<QVariantList> columnRows = binaryColumns(QStringLiteral("WIN1252"));
    QList<QVariantList> groupedRows;
    bool failGrouped = false;
    QList<AmountRequest> passed;
    QStringList sent;
    qint64 count = 0;

    // The court columns of RECDIS and DESDIS as VARCHAR with collation `collation`.
    static QList<QVariantList> binaryColumns(const QString &collation, const QString &charset = QStringLiteral("WIN1252"))
    {
        QList<QVariantList> r;
        for (const char *table : {"RECDIS", "DESDIS"})
            for (const char *column : {"BALCO_TCE", "GRUPO_TCE", "COD_TCE"})
                r << QVariantList{QString::fromLatin1(table), QString::fromLatin1(column), 37, charset, charset,
                                  collation};
        return r;
    }
};

const QString kYear = QStringLiteral("2008");

RunParameters params() { return RunParameters::forBimester(3, kYear, 0, QString()); }

QString endOf(const QString &month, const QString &year)
{
    return monthEndDay(month, year) + QLatin1Char('.') + month + QLatin1Char('.') + year;
}

// The request a section makes, built with the section's own query text.
AmountRequest revenueRequest(const QString &account, const QString &year = kYear, int entity = 0,
                             const QString &month = QStringLiteral("05"))
{
    RunParameters p = RunParameters::forBimester(3, year, entity, QString());
    const QString end = endOf(month, year);
    AmountRequest r;
    r.sql = sql::revenueQuery(p, account, month, end, QStringLiteral("orcada_atual"));
    r.columns = {QStringLiteral("atualizada"), QStringLiteral("realizada")};
    r.section = QStringLiteral("receitas");
    r.measure = QStringLiteral("movimento");
    r.account = account;
    r.startDate = sql::monthStart(p, month);
    r.endDate = end;
    r.entity = entity;
    return r;
}

AmountRequest deductionRequest(const QString &account, const QString &year = kYear)
{
    const RunParameters p = RunParameters::forBimester(3, year, 0, QString());
    AmountRequest r = revenueRequest(account, year);
    r.sql = sql::deductionMonthQuery(p, account, QStringLiteral("05"), r.endDate);
    r.section = QStringLiteral("deducoes");
    return r;
}

AmountRequest educationRevenueRequest(const QString &group, const QString &code, const QString &year = kYear)
{
    RunParameters p = RunParameters::forBimester(3, year, 0, QString());
    const QString end = endOf(QStringLiteral("05"), year);
    AmountRequest r;
    r.sql = sql::educationRevenueQuery(p, group, code, QStringLiteral("05"), end);
    r.columns = {QStringLiteral("atualizada"), QStringLiteral("realizada")};
    r.section = QStringLiteral("educacao");
    r.measure = QStringLiteral("receita.movimento");
    r.account = group + QLatin1Char('/') + code;
    r.startDate = sql::monthStart(p, QStringLiteral("05"));
    r.endDate = end;
    return r;
}

AmountRequest educationUpdatedRequest(const QString &group, const QString &code)
{
    const RunParameters p = params();
    const QString end = endOf(QStringLiteral("05"), kYear);
    AmountRequest r;
    r.sql = sql::educationUpdatedQuery(p, group, code, QStringLiteral("05"), end);
    r.columns = {QStringLiteral("atualizado")};
    r.section = QStringLiteral("educacao");
    r.measure = QStringLiteral("despesa.atualizado");
    r.account = group + QLatin1Char('/') + code;
    r.startDate = sql::monthStart(p, QStringLiteral("05"));
    r.endDate = end;
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestAggregatingSource : public QObject {
    Q_OBJECT

    const test::DemoInstall *m_demo = nullptr;
    std::unique_ptr<db::Conexao> m_db;
    std::optional<catalogue::Catalogue> m_catalogue;
    QString m_year;
    QTemporaryDir m_out;

private slots:
    void initTestCase()
    {
        m_demo = &test::smallDemo();
        QVERIFY2(m_demo->isValid(), qPrintable(m_demo->error));
        m_db = std::make_unique<db::Conexao>();
        m_db->setDatabasePath(m_demo->databasePath);
        m_db->open();
        m_year = exerciseYear(*m_db);
        m_catalogue = catalogue::Catalogue::load(m_demo->tabdefFolder + catalogue::Catalogue::fileNameForYear(m_year));
        QVERIFY(m_out.isValid());
    }
    void cleanupTestCase() { m_db->close(); }

    void writesTheSameFileWithFewerQueries_data();
    void writesTheSameFileWithFewerQueries();
    void matchesAccountsAsTheDatabaseDoes_data();
    void matchesAccountsAsTheDatabaseDoes();
    void readsNullSumsAsTheQueryWould_data();
    void readsNullSumsAsTheQueryWould();
    void passesOnWhatItDoesNotRecognise_data();
    void passesOnWhatItDoesNotRecognise();
    void onlyBinaryCourtColumnsAreMatchedInMemory_data();
    void onlyBinaryCourtColumnsAreMatchedInMemory();
    void aFailedGroupedQueryFallsBackOnce();
    void sharesOneGroupedQueryPerPeriodAndEntity();
};

void TestAggregatingSource::writesTheSameFileWithFewerQueries_data()
{
    QTest::addColumn<int>("entity");
    QTest::addColumn<int>("bimester");
    QList<int> codes{0};
    for (const Entity &e : entities(*m_db))
        codes << e.code;
    QVERIFY(codes.size() > 2);
    for (const int entity : codes)
        for (const int bimester : {1, 3, 6})
            QTest::addRow("entity %d, bimester %d", entity, bimester) << entity << bimester;
}

void TestAggregatingSource::writesTheSameFileWithFewerQueries()
{
    QFETCH(int, entity);
    QFETCH(int, bimester);
    CancelFlag flag;
    NullProgress progress;

    auto run = [&](AmountSource &source, const QString &name) {
        const QString folder = m_out.filePath(QStringLiteral("%1-%2-%3").arg(name).arg(entity).arg(bimester));
        if (!QDir().mkpath(folder))
            return QByteArray();
        RunParameters p = RunParameters::forBimester(bimester, m_year, entity, folder + QLatin1Char('/'));
        Generator generator(source, flag, progress);
        if (generator.run(p, *m_catalogue) != Generator::Outcome::Written)
            return QByteArray();
        return readAll(generator.outputPath(p));
    };

    ConexaoAmountSource plainDb(*m_db);
    CountingSource plain(plainDb);
    const QByteArray expected = run(plain, QStringLiteral("plain"));
    QVERIFY(!expected.isEmpty());

    AggregatingAmountSource aggregating(std::make_unique<ConexaoAmountSource>(*m_db));
    const QByteArray actual = run(aggregating, QStringLiteral("aggregating"));
    QVERIFY(actual == expected);

    // Every request of these sections is answered from grouped totals; the
    // others went to the database as before.
    qint64 recognisable = 0;
    for (const char *section : {"receitas", "deducoes", "educacao", "saude", "despesas"})
        recognisable += plain.requestsBySection.value(QString::fromLatin1(section));
    QVERIFY(recognisable > 4000);
    QCOMPARE(aggregating.answeredCount(), recognisable);
    QCOMPARE(aggregating.queryCount(), plain.queryCount() - recognisable + aggregating.ownQueryCount());
    // The column check, then at most one grouped query per kind of amount and
    // period (revenue 3, deductions 1, education 8, health 1, expenses 7).
    QVERIFY2(aggregating.ownQueryCount() >= 2 && aggregating.ownQueryCount() <= 21,
             qPrintable(QString::number(aggregating.ownQueryCount())));
}

// Two revenue records get court codes that differ only by trailing blanks or
// letter case; every request is answered from totals (none passed on) with
// what the database answers to the section's own query.
void TestAggregatingSource::matchesAccountsAsTheDatabaseDoes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("matches"); // "first", "second" or "" (no record)

    QTest::newRow("account as stored without its blanks") << "receitas" << "Tx.9" << "" << "first";
    QTest::newRow("account with more trailing blanks") << "receitas" << "Tx.9    " << "" << "first";
    QTest::newRow("account in upper case") << "receitas" << "TX.9" << "" << "second";
    QTest::newRow("account with a trailing blank, upper case") << "receitas" << "TX.9 " << "" << "second";
    QTest::newRow("account in lower case") << "receitas" << "tx.9" << "" << "";
    QTest::newRow("account with a leading blank") << "receitas" << " Tx.9" << "" << "";
    QTest::newRow("deduction, account with blanks") << "deducoes" << "Tx.9  " << "" << "first";
    QTest::newRow("group and code") << "educacao" << "9x" << "c.1" << "first";
    QTest::newRow("group and code with blanks") << "educacao" << "9x   " << "c.1  " << "first";
    QTest::newRow("group and code in upper case") << "educacao" << "9X" << "C.1" << "second";
    QTest::newRow("group matches, code in other case") << "educacao" << "9x" << "C.1" << "";
    QTest::newRow("code with a leading blank") << "educacao" << "9x" << " c.1" << "";
}

void TestAggregatingSource::matchesAccountsAsTheDatabaseDoes()
{
    QFETCH(QString, kind);
    QFETCH(QString, account);
    QFETCH(QString, code);
    QFETCH(QString, matches);

    // Two revenue records with collections in May and a budget.
    const db::ResultSet picked = m_db->select(QStringLiteral(
        "select first 2 r.ficha, r.balco_tce, r.grupo_tce, r.cod_tce from recdis r where r.totor > 0 and exists "
        "(select 1 from receit c where c.ficha = r.ficha and c.dtrec >= '01.05.") + m_year +
        QStringLiteral("' and c.dtrec < '01.06.") + m_year + QStringLiteral("') order by r.ficha"));
    QCOMPARE(picked.rows.size(), 2);
    struct Restore {
        db::Conexao &db;
        QList<db::Row> rows;
        ~Restore()
        {
            for (const db::Row &r : rows)
                db.execute(QStringLiteral("update recdis set balco_tce = ?, grupo_tce = ?, cod_tce = ? where ficha = ?"),
                           {r.at(1), r.at(2), r.at(3), r.at(0)});
        }
    } restore{*m_db, picked.rows};
    const QVariant first = picked.rows.at(0).at(0);
    const QVariant second = picked.rows.at(1).at(0);
    m_db->execute(QStringLiteral("update recdis set balco_tce = 'Tx.9  ', grupo_tce = '9x', cod_tce = 'c.1 ' "
                                 "where ficha = ?"),
                  {first});
    m_db->execute(QStringLiteral("update recdis set balco_tce = 'TX.9', grupo_tce = '9X ', cod_tce = 'C.1' where ficha = ?"),
                  {second});

    AmountRequest r;
    if (kind == QLatin1String("receitas"))
        r = revenueRequest(account, m_year);
    else if (kind == QLatin1String("deducoes"))
        r = deductionRequest(account, m_year);
    else
        r = educationRevenueRequest(account, code, m_year);

    ConexaoAmountSource plain(*m_db);
    const QList<double> expected = plain.amounts(r);
    AggregatingAmountSource aggregating(std::make_unique<ConexaoAmountSource>(*m_db));
    const QList<double> actual = aggregating.amounts(r);
    QCOMPARE(aggregating.answeredCount(), 1);
    QCOMPARE(actual, expected);

    // The fixture does what the case says: the database finds the record (or none).
    const auto recordAmounts = [&](const QVariant &ficha) {
        const db::ResultSet rs = m_db->select(
            QStringLiteral("select a.orcada_atual, a.mes from receita_nivel ('%1','%2') a where a.ficha = ?")
                .arg(r.startDate, r.endDate),
            {ficha});
        double sign = kind == QLatin1String("deducoes") ? -1.0 : 1.0;
        return QList<double>{sign * rs.rows.at(0).at(0).toDouble(), sign * rs.rows.at(0).at(1).toDouble()};
    };
    if (matches.isEmpty())
        QCOMPARE(expected, (QList<double>{0.0, 0.0}));
    else
        QCOMPARE(expected, recordAmounts(matches == QLatin1String("first") ? first : second));
    QVERIFY(matches.isEmpty() || expected.at(1) != 0.0);
}

// The grouped rows a stand-in database gives, and what a request then reads.
void TestAggregatingSource::readsNullSumsAsTheQueryWould_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("account"); // "group/code" for the updated appropriation
    QTest::addColumn<QList<QVariantList>>("grouped");
    QTest::addColumn<QList<double>>("expected");
    const QVariant null;

    QTest::newRow("revenue: sums of the account")
        << "receitas" << "1.1" << QList<QVariantList>{{"1.1", 10.5, 7.0, 3.25}, {"1.2", 1.0, 1.0, 1.0}}
        << QList<double>{10.5, 3.25};
    QTest::newRow("revenue: null sums read 0 (coalesce)")
        << "receitas" << "1.1" << QList<QVariantList>{{"1.1", null, 7.0, null}} << QList<double>{0.0, 0.0};
    QTest::newRow("revenue: no group for the account")
        << "receitas" << "1.1" << QList<QVariantList>{{"1.2", 5.0, 5.0, 5.0}} << QList<double>{0.0, 0.0};
    QTest::newRow("revenue: a null court account is not an empty one")
        << "receitas" << "" << QList<QVariantList>{{null, 5.0, 5.0, 5.0}, {"  ", 1.0, 1.0, 2.0}}
        << QList<double>{1.0, 2.0};
    QTest::newRow("revenue: groups differing by trailing blanks add up")
        << "receitas" << "1.1" << QList<QVariantList>{{"1.1", 1.0, 0.0, 2.0}, {"1.1   ", 10.0, null, 20.0}}
        << QList<double>{11.0, 22.0};
    QTest::newRow("deductions: both amounts negated")
        << "deducoes" << "1.1" << QList<QVariantList>{{"1.1", 7.0, 100.0, 2.0}} << QList<double>{-7.0, -2.0};
    QTest::newRow("updated appropriation: both sums")
        << "despesa.atualizado" << "205/1.10" << QList<QVariantList>{{"205", "1.10", 100.0, 5.0}}
        << QList<double>{105.0};
    QTest::newRow("updated appropriation: one null sum makes the total null, read 0")
        << "despesa.atualizado" << "205/1.10" << QList<QVariantList>{{"205", "1.10", 100.0, null}}
        << QList<double>{0.0};
    QTest::newRow("updated appropriation: group and code must both match")
        << "despesa.atualizado" << "205/1.10"
        << QList<QVariantList>{{"205", "1.1", 100.0, 1.0}, {"20", "1.10", 1.0, 1.0}} << QList<double>{0.0};
    QTest::newRow("updated appropriation: a null code is not an empty one")
        << "despesa.atualizado" << "205/" << QList<QVariantList>{{"205", null, 100.0, 1.0}, {"205", "", 3.0, 4.0}}
        << QList<double>{7.0};
    QTest::newRow("updated appropriation: a null group is not an empty one")
        << "despesa.atualizado" << "/1.10" << QList<QVariantList>{{null, "1.10", 100.0, 1.0}} << QList<double>{0.0};
}

void TestAggregatingSource::readsNullSumsAsTheQueryWould()
{
    QFETCH(QString, kind);
    QFETCH(QString, account);
    QFETCH(QList<QVariantList>, grouped);
    QFETCH(QList<double>, expected);

    FakeSource fake;
    fake.groupedRows = grouped;
    AggregatingAmountSource source(fake);
    const qsizetype slash = account.indexOf(QLatin1Char('/'));
    AmountRequest r = kind == QLatin1String("receitas")   ? revenueRequest(account)
                      : kind == QLatin1String("deducoes") ? deductionRequest(account)
                                                          : educationUpdatedRequest(account.left(slash), account.mid(slash + 1));
    QCOMPARE(source.amounts(r), expected);
    QVERIFY(fake.passed.isEmpty());
    QCOMPARE(source.answeredCount(), 1);
}

// Requests that go to the wrapped source unchanged (which answers 42 and 43).
void TestAggregatingSource::passesOnWhatItDoesNotRecognise_data()
{
    QTest::addColumn<AmountRequest>("request");

    AmountRequest r = revenueRequest(QStringLiteral("1.1"));
    r.account = QStringLiteral("1.2"); // the description does not say what the query asks
    QTest::newRow("account of the description differs from the query's") << r;

    r = revenueRequest(QStringLiteral("1.1"));
    r.endDate = QStringLiteral("30.05.2008");
    QTest::newRow("dates of the description differ from the query's") << r;

    r = revenueRequest(QStringLiteral("1.1"));
    r.sql += QStringLiteral(" and b.tipo = 'X'");
    QTest::newRow("a condition the source does not know") << r;

    r = revenueRequest(QStringLiteral("1.1"), kYear, 3);
    r.entity = 4;
    QTest::newRow("entity filter of another entity") << r;

    r = revenueRequest(QStringLiteral("1.1"), kYear, 3);
    r.sql.replace(QStringLiteral("b.empresa"), QStringLiteral("b.codfor"));
    QTest::newRow("filter on another column") << r;

    r = revenueRequest(QStringLiteral("1'1"));
    QTest::newRow("a quote in the account") << r;

    r = revenueRequest(QStringLiteral("1.1\xe7"));
    QTest::newRow("a character outside plain ASCII") << r;

    r = revenueRequest(QStringLiteral("1.1"));
    r.columns << QStringLiteral("outra");
    QTest::newRow("a column the query does not have") << r;

    r = revenueRequest(QStringLiteral("1.1"));
    r.section = QStringLiteral("restos_pagar");
    QTest::newRow("a section it does not know") << r;

    r = revenueRequest(QStringLiteral("1.1"));
    r.measure = QStringLiteral("empenhado");
    QTest::newRow("a measure the section does not have") << r;

    r = educationRevenueRequest(QStringLiteral("105"), QStringLiteral("6.00"));
    r.account = QStringLiteral("105-6.00");
    QTest::newRow("group and code without their separator") << r;
}

void TestAggregatingSource::passesOnWhatItDoesNotRecognise()
{
    QFETCH(AmountRequest, request);
    FakeSource fake;
    fake.groupedRows = {{"1.1", 1.0, 1.0, 1.0}};
    AggregatingAmountSource source(fake);
    QCOMPARE(source.amounts(request), (QList<double>{42.0, 43.0}));
    QCOMPARE(fake.passed.size(), 1);
    QCOMPARE(fake.passed.first().sql, request.sql);
    QCOMPARE(source.answeredCount(), 0);
    QCOMPARE(source.queryCount(), fake.count);
}

void TestAggregatingSource::onlyBinaryCourtColumnsAreMatchedInMemory_data()
{
    QTest::addColumn<QList<QVariantList>>("columns");
    QTest::addColumn<bool>("answered");

    QTest::newRow("WIN1252, binary") << FakeSource::binaryColumns(QStringLiteral("WIN1252")) << true;
    QTest::newRow("UTF8, binary") << FakeSource::binaryColumns(QStringLiteral("UTF8"), QStringLiteral("UTF8")) << true;
    QTest::newRow("case-insensitive collation") << FakeSource::binaryColumns(QStringLiteral("WIN_PTBR")) << false;
    QTest::newRow("OCTETS pads with zero bytes")
        << FakeSource::binaryColumns(QStringLiteral("OCTETS"), QStringLiteral("OCTETS")) << false;
    QList<QVariantList> changedDefault = FakeSource::binaryColumns(QStringLiteral("WIN1252"));
    for (QVariantList &row : changedDefault)
        row[4] = QStringLiteral("PXW_INTL");
    QTest::newRow("character set whose default collation was changed") << changedDefault << false;
    QList<QVariantList> numeric = FakeSource::binaryColumns(QStringLiteral("WIN1252"));
    for (QVariantList &row : numeric)
        row[2] = 8; // INTEGER
    QTest::newRow("not a text column") << numeric << false;
    QTest::newRow("columns not found") << QList<QVariantList>{} << false;
}

void TestAggregatingSource::onlyBinaryCourtColumnsAreMatchedInMemory()
{
    QFETCH(QList<QVariantList>, columns);
    QFETCH(bool, answered);
    FakeSource fake;
    fake.columnRows = columns;
    fake.groupedRows = {{"1.1", 1.0, 1.0, 1.0}};
    AggregatingAmountSource source(fake);
    const QList<double> first = source.amounts(revenueRequest(QStringLiteral("1.1")));
    const QList<double> second = source.amounts(revenueRequest(QStringLiteral("1.2")));
    QCOMPARE(source.answeredCount(), answered ? 2 : 0);
    QCOMPARE(first, answered ? (QList<double>{1.0, 1.0}) : (QList<double>{42.0, 43.0}));
    QCOMPARE(second, answered ? (QList<double>{0.0, 0.0}) : (QList<double>{42.0, 43.0}));
    // The check runs once.
    QCOMPARE(fake.sent.filter(QStringLiteral("rdb$relation_fields")).size(), 1);
}

void TestAggregatingSource::aFailedGroupedQueryFallsBackOnce()
{
    FakeSource fake;
    fake.failGrouped = true;
    AggregatingAmountSource source(fake);
    for (const char *account : {"1.1", "1.2", "1.3"})
        QCOMPARE(source.amounts(revenueRequest(QString::fromLatin1(account))), (QList<double>{42.0, 43.0}));
    QCOMPARE(fake.passed.size(), 3);
    QCOMPARE(fake.sent.filter(QStringLiteral("GROUP BY")).size(), 1);
    QCOMPARE(source.answeredCount(), 0);
    QCOMPARE(source.ownQueryCount(), 2);
    QCOMPARE(source.queryCount(), 5);
}

void TestAggregatingSource::sharesOneGroupedQueryPerPeriodAndEntity()
{
    FakeSource fake;
    fake.groupedRows = {{"1.1", 1.0, 2.0, 3.0}};
    AggregatingAmountSource source(fake);
    // Revenue and deductions of May: one grouped query, entity 0.
    source.amounts(revenueRequest(QStringLiteral("1.1")));
    source.amounts(revenueRequest(QStringLiteral("1.2")));
    source.amounts(deductionRequest(QStringLiteral("1.1")));
    // June: a second one; May for entity 3: a third, filtered as the section filters.
    source.amounts(revenueRequest(QStringLiteral("1.1"), kYear, 0, QStringLiteral("06")));
    source.amounts(revenueRequest(QStringLiteral("1.1"), kYear, 3));
    source.amounts(revenueRequest(QStringLiteral("1.2"), kYear, 3));
    const QStringList grouped = fake.sent.filter(QStringLiteral("GROUP BY"));
    QCOMPARE(grouped.size(), 3);
    QCOMPARE(grouped.at(0), QStringLiteral("SELECT B.BALCO_TCE, sum(a.orcada_atual), sum(a.orcada_inicial), sum(a.mes) "
                                           "FROM receita_nivel ('01.05.2008','31.05.2008') A inner join recdis b on "
                                           "b.ficha = a.ficha GROUP BY B.BALCO_TCE"));
    QVERIFY(grouped.at(1).contains(QLatin1String("('01.06.2008','30.06.2008')")));
    QVERIFY(grouped.at(2).contains(QLatin1String(" WHERE b.empresa = '3' GROUP BY")));
    QCOMPARE(source.answeredCount(), 6);
    QVERIFY(fake.passed.isEmpty());
}

QTEST_GUILESS_MAIN(TestAggregatingSource)
#include "tst_aggregating_source.moc"
