#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "generation/Generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::generation;
using namespace orven::catalogue;

namespace {

// Answers every request with a fixed amount and records what was asked.
class FakeAmounts final : public AmountSource {
public:
    QList<double> amounts(const AmountRequest &r) override
    {
        requests << r;
        return QList<double>(r.columns.size(), 12.5);
    }
    QList<QVariantList> rows(const QString &) override { return {}; }
    qint64 queryCount() const override { return requests.size(); }
    QList<AmountRequest> requests;
};

// Sets the cancel flag when a status of a given level is shown.
class CancellingProgress final : public Progress {
public:
    CancellingProgress(CancelFlag &flag, int level, int occurrence) : m_flag(flag), m_level(level), m_left(occurrence) {}
    void setMaximum(qint64, int) override {}
    void setPosition(qint64, int) override {}
    void advance(qint64, int) override {}
    void setStatus(const QString &, int level) override
    {
        if (level == m_level && --m_left == 0)
            m_flag.set();
    }

private:
    CancelFlag &m_flag;
    int m_level;
    int m_left;
};

// Writes one period with one slot per account, from the fake database.
class OnePeriodSection final : public Section {
public:
    void fill(SectionContext &ctx) override
    {
        AmountRequest r;
        r.sql = QStringLiteral("select 1 as x from rdb$database") + ctx.entityFilter(QStringLiteral(" and b.empresa = '"));
        r.columns = {QStringLiteral("x")};
        r.account = ctx.accountCode();
        const double v = ctx.db.amounts(r).first();
        ctx.setPeriodEnd(ctx.params.secondMonth);
        auto p = ctx.addPeriod();
        SectionContext::addSlot(p, QStringLiteral("valor_realizado"), v);
    }
};

class FailingSection final : public Section {
public:
    void fill(SectionContext &) override { throw Error(QStringLiteral("falha simulada")); }
};

Catalogue smallCatalogue()
{
    Catalogue c;
    c.name = QStringLiteral("lrfcaptura");
    c.properties = QStringLiteral("bimestre");
    c.version = QStringLiteral("3.0");
    c.xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
    Conta k1{QStringLiteral("IPTU"), QStringLiteral("1.1.12.02.00   "), QStringLiteral("3099"), QStringLiteral("1")};
    Conta k2{QStringLiteral("ITBI"), QStringLiteral(" 1.1.12.08.00\t"), QStringLiteral("3100"), QStringLiteral("0")};
    Tipo t{QStringLiteral("Receita Corrente                                  "), QStringLiteral("101"),
           QStringLiteral("53"), {k1, k2}};
    Opcao o{QStringLiteral("Receita Realizada e Atualizada"), QStringLiteral("movimento"), {t}};
    Cadastro receitas{QStringLiteral("Receitas"), {o}};
    Conta marker{QStringLiteral("SubFunção"), QStringLiteral("#CODSUBFUNCAO"), QStringLiteral("#INFOINTRA"), QStringLiteral("1")};
    Tipo tm{QStringLiteral("Função"), QStringLiteral("#CODFUNCAO"), QStringLiteral("#REALIZADOANULADO"), {marker}};
    Cadastro other{QStringLiteral("Dívida Ativa"), {Opcao{QStringLiteral("Dívida Ativa - Recebimento"), QStringLiteral("movimento"), {tm}}}};
    c.cadastros = {receitas, other};
    return c;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT

private slots:
    void emptyCatalogueWritesEmptySistema()
    {
        QTemporaryDir dir;
        FakeAmounts db;
        CancelFlag flag;
        NullProgress progress;
        Generator g(db, flag, progress);
        auto params = RunParameters::forBimester(3, QStringLiteral("2008"), 0, dir.path() + "/");
        Catalogue empty = smallCatalogue();
        empty.cadastros.clear();
        QCOMPARE(g.run(params, empty), Generator::Outcome::Written);
        const QByteArray bytes = readAll(dir.filePath("lrfcapturacontas.xml"));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.at(0), QByteArray("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r"));
        QVERIFY(lines.at(1).startsWith("<sistema name=\"lrfcaptura\" properties=\"bimestre\" value=\"3\" version=\"3.0\" xmlns=\"http"));
        QVERIFY(lines.at(1).contains("/lrfcapturaSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" />"));
        QCOMPARE(bytes.count("xmlns"), 2);
    }

    void walkWritesEveryRowAndSectionsFillTheirAccounts()
    {
        QTemporaryDir dir;
        FakeAmounts db;
        CancelFlag flag;
        NullProgress progress;
        Generator g(db, flag, progress);
        g.setSectionTable({{QStringLiteral("Receitas"), [] { return std::make_unique<OnePeriodSection>(); }}});
        auto params = RunParameters::forBimester(1, QStringLiteral("2008"), 7, dir.path() + "/");
        bool idleBeforeWrite = false;
        g.beforeWrite = [&] { idleBeforeWrite = !QFile::exists(dir.filePath("lrfcapturacontas.xml")); };
        QCOMPARE(g.run(params, smallCatalogue()), Generator::Outcome::Written);
        QVERIFY(idleBeforeWrite);

        const QString text = QString::fromLatin1(readAll(dir.filePath("lrfcapturacontas.xml")));
        // Trimmed conta values, tipo names with their blanks, markers copied.
        QVERIFY(text.contains(QStringLiteral("<conta name=\"IPTU\" value=\"1.1.12.02.00\" id=\"3099\">")));
        QVERIFY(text.contains(QStringLiteral("value=\"1.1.12.08.00\" id=\"3100\"")));
        QVERIFY(text.contains(QStringLiteral("name=\"Receita Corrente                                  \" value=\"101\"")));
        QVERIFY(text.contains(QStringLiteral("<tipo name=\"Função\" value=\"#CODFUNCAO\" id=\"#REALIZADOANULADO\">")));
        // A cadastro without a section: the conta is an empty element.
        QVERIFY(text.contains(QStringLiteral("<conta name=\"SubFunção\" value=\"#CODSUBFUNCAO\" id=\"#INFOINTRA\" />")));
        // Periods take the account's first catalogue period kind.
        QVERIFY(text.contains(QStringLiteral("<periodicidade properties=\"1\">")));
        QVERIFY(text.contains(QStringLiteral("<periodicidade properties=\"0\">")));
        QCOMPARE(text.count(QStringLiteral("<dados properties=\"valor_realizado\" value=\"12.50\" />")), 2);
        // Entity 7: the filter ends with the number and a quote; period end of February 2008.
        QCOMPARE(db.requests.size(), 2);
        QVERIFY(db.requests.first().sql.endsWith(QStringLiteral(" and b.empresa = '7'")));
        QCOMPARE(params.periodEndDate, QStringLiteral("29.02.2008"));
    }

    void consolidatedHasNoEntityFilter()
    {
        QTemporaryDir dir;
        FakeAmounts db;
        CancelFlag flag;
        NullProgress progress;
        Generator g(db, flag, progress);
        g.setSectionTable({{QStringLiteral("Receitas"), [] { return std::make_unique<OnePeriodSection>(); }}});
        auto params = RunParameters::forBimester(1, QStringLiteral("2008"), 0, dir.path() + "/");
        g.run(params, smallCatalogue());
        QCOMPARE(db.requests.first().sql, QStringLiteral("select 1 as x from rdb$database"));
    }

    void cancelAtAnyLevelWritesNothing_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("occurrence");
        QTest::newRow("first cadastro") << 0 << 1;
        QTest::newRow("second cadastro") << 0 << 2;
        QTest::newRow("opcao") << 1 << 1;
        QTest::newRow("tipo") << 2 << 2;
        QTest::newRow("first conta") << 3 << 1;
        QTest::newRow("last conta") << 3 << 3;
    }
    void cancelAtAnyLevelWritesNothing()
    {
        QFETCH(int, level);
        QFETCH(int, occurrence);
        QTemporaryDir dir;
        const QString path = dir.filePath("lrfcapturacontas.xml");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("earlier");
        }
        FakeAmounts db;
        CancelFlag flag;
        CancellingProgress progress(flag, level, occurrence);
        Generator g(db, flag, progress);
        g.setSectionTable({{QStringLiteral("Receitas"), [] { return std::make_unique<OnePeriodSection>(); }}});
        auto params = RunParameters::forBimester(2, QStringLiteral("2008"), 0, dir.path() + "/");
        QCOMPARE(g.run(params, smallCatalogue()), Generator::Outcome::Cancelled);
        QVERIFY(!flag.isSet());
        QCOMPARE(readAll(path), QByteArray("earlier"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void cancelBeforeStart()
    {
        QTemporaryDir dir;
        FakeAmounts db;
        CancelFlag flag;
        flag.set();
        NullProgress progress;
        Generator g(db, flag, progress);
        auto params = RunParameters::forBimester(1, QStringLiteral("2008"), 0, dir.path() + "/");
        QCOMPARE(g.run(params, smallCatalogue()), Generator::Outcome::Cancelled);
        QVERIFY(!flag.isSet());
        QVERIFY(!QFile::exists(dir.filePath("lrfcapturacontas.xml")));
    }

    void failuresLeaveTheEarlierFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("lrfcapturacontas.xml");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("earlier");
        }
        FakeAmounts db;
        CancelFlag flag;
        NullProgress progress;
        Generator g(db, flag, progress);
        g.setSectionTable({{QStringLiteral("Receitas"), [] { return std::make_unique<FailingSection>(); }}});
        auto params = RunParameters::forBimester(1, QStringLiteral("2008"), 0, dir.path() + "/");
        QVERIFY_THROWS_EXCEPTION(Error, g.run(params, smallCatalogue()));
        QCOMPARE(readAll(path), QByteArray("earlier"));

        // A target folder that does not exist: the write fails with an error.
        Generator g2(db, flag, progress);
        auto missing = RunParameters::forBimester(1, QStringLiteral("2008"), 0, dir.filePath("nowhere") + "/");
        QVERIFY_THROWS_EXCEPTION(Error, g2.run(missing, smallCatalogue()));
    }

    void catalogueFileName_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("file");
        QTest::newRow("2007") << "2007" << "ID_ORVEN.XML";
        QTest::newRow("2008") << "2008" << "ID_ORVEN2008.XML";
        QTest::newRow("2009") << "2009" << "ID_ORVEN2008.XML";
        QTest::newRow("text") << "abc" << "ID_ORVEN2008.XML";
    }
    void catalogueFileName()
    {
        QFETCH(QString, year);
        QFETCH(QString, file);
        QCOMPARE(Catalogue::fileNameForYear(year), file);
    }
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
