// The court chart in the year's database: the version check at start-up,
// the import offer and the import itself (excluded types, trimmed codes,
// repeated accounts, progress), and how a failed import leaves the tables,
// the transaction and the record sets.

#include "FirebirdFixture.h"
#include "RecordingMessages.h"

#include "chart/ChartImport.h"
#include "common/Error.h"
#include "config/Installation.h"
#include "db/DataModule.h"
#include "demo/ReferenceCatalogue.h"
#include "demo/TabdefFiles.h"
#include "packet/DataPacket.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace orven;
using orven::chart::CheckOutcome;
using orven::chart::ImportResult;
using orven::db::TDM;
using orven::test::FirebirdFixture;
using orven::test::RecordingMessages;

namespace {

const QStringList kSchema = {
    QStringLiteral("CREATE TABLE DESDIS (FICHA INTEGER NOT NULL, EMPRESA INTEGER, BALCO VARCHAR(6), "
                   "CONSTRAINT PK_DESDIS PRIMARY KEY (FICHA))"),
    QStringLiteral("CREATE TABLE ORVEN_TIPO (CODTIPO VARCHAR(5) NOT NULL, DESC_TIPO VARCHAR(150), "
                   "TIPO VARCHAR(1) NOT NULL, CONSTRAINT PK_ORVEN_TIPO PRIMARY KEY (CODTIPO))"),
    QStringLiteral("CREATE TABLE ORVEN_CONPLA (CODTIPO VARCHAR(5) NOT NULL, NUM_CONTABIL VARCHAR(18) NOT NULL, "
                   "DESC_CONTABIL VARCHAR(150), CONSTRAINT PK_ORVEN_CONPLA PRIMARY KEY (CODTIPO, NUM_CONTABIL), "
                   "CONSTRAINT FK_ORVEN_CONPLA_TIPO FOREIGN KEY (CODTIPO) REFERENCES ORVEN_TIPO (CODTIPO))"),
};

// A chart already in the database (an earlier import).
const QStringList kFilledChart = {
    QStringLiteral("INSERT INTO ORVEN_TIPO VALUES ('101', 'Receita Corrente (antiga)', 'R')"),
    QStringLiteral("INSERT INTO ORVEN_TIPO VALUES ('201', 'Despesa Corrente (antiga)', 'D')"),
    QStringLiteral("INSERT INTO ORVEN_CONPLA VALUES ('101', '1.1.12.02.00', 'IPTU (antiga)')"),
};

using Rows = QList<QStringList>; // values of a chart file's rows; "<null>" leaves a value out

// Records what the import reports and when its progress is opened and closed.
struct ProgressLog {
    int opened = 0;
    int closed = 0;
    qint64 maximum = -1;
    qint64 position = -1;
    int advances = 0;
};

class LoggedProgress final : public Progress {
public:
    explicit LoggedProgress(ProgressLog &log) : m_log(log) { ++m_log.opened; }
    ~LoggedProgress() override { ++m_log.closed; }
    void setMaximum(qint64 maximum, int) override { m_log.maximum = maximum; }
    void setPosition(qint64 position, int) override { m_log.position = position; }
    void advance(qint64 steps, int) override
    {
        m_log.position += steps;
        ++m_log.advances;
    }

private:
    ProgressLog &m_log;
};

chart::ProgressFactory factoryFor(ProgressLog &log)
{
    return [&log] { return std::make_unique<LoggedProgress>(log); };
}

void writeChartFile(const QString &path, const QStringList &fieldNames, const Rows &rows)
{
    packet::DataPacket file;
    const int widths[] = {5, 150, 150};
    for (int i = 0; i < fieldNames.size(); ++i)
        file.root.fields.append(packet::Field::text(fieldNames.at(i), i == 0 ? 5 : widths[i]));
    for (const QStringList &values : rows) {
        packet::Row &row = file.root.appendRow();
        for (int i = 0; i < values.size(); ++i) {
            if (values.at(i) != QLatin1String("<null>"))
                file.root.setValue(row, fieldNames.at(i), values.at(i));
        }
    }
    file.save(path);
}

Rows tableRows(db::Conexao &connection, const QString &sql)
{
    Rows rows;
    for (const db::Row &r : connection.select(sql).rows) {
        QStringList values;
        for (const QVariant &v : r)
            values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        rows << values;
    }
    return rows;
}

const QString kTypes = QStringLiteral("SELECT CODTIPO, DESC_TIPO, TIPO FROM ORVEN_TIPO ORDER BY CODTIPO");
const QString kAccounts =
    QStringLiteral("SELECT CODTIPO, NUM_CONTABIL, DESC_CONTABIL FROM ORVEN_CONPLA ORDER BY CODTIPO, NUM_CONTABIL");

} // namespace

class TestChartImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void startUp_data();
    void startUp();
    void declinedOfferComesBack();
    void versionFile();
    void import_data();
    void import();
    void demoChart();
    void failures_data();
    void failures();

private:
    void writeTypes(const Rows &rows)
    {
        writeChartFile(m_tabdef + chart::kTypesFileName, {"CODTIPO", "DESCRICAO", "TIPO"}, rows);
    }
    void writeAccounts(const Rows &rows)
    {
        writeChartFile(m_tabdef + chart::kAccountsFileName, {"CODTIPO", "NUM_CONTABIL", "DESC_CONTABIL"}, rows);
    }
    QString versionPath() const { return m_tabdef + chart::kVersionFileName; }

    QTemporaryDir m_dir;
    QString m_tabdef; // the "TD" folder
    std::unique_ptr<FirebirdFixture> m_empty;
    std::unique_ptr<FirebirdFixture> m_db; // the test's own copy
};

void TestChartImport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString base = m_dir.path() + QStringLiteral("/ZUNT_8/");
    QFile ini(m_dir.filePath(QStringLiteral("zunt.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados=" + base.toUtf8() + "\r\n");
    ini.close();
    config::setConfigDirOverride(m_dir.path());
    m_tabdef = base + QStringLiteral("TABDEF/");
    QVERIFY(QDir().mkpath(m_tabdef));

    m_empty = std::make_unique<FirebirdFixture>(kSchema);
    QVERIFY2(m_empty->isValid(), qPrintable(m_empty->error()));
}

void TestChartImport::init()
{
    m_db = FirebirdFixture::copyOf(*m_empty);
    QVERIFY2(m_db->isValid(), qPrintable(m_db->error()));
    QDir tabdef(m_tabdef);
    for (const QString &name : tabdef.entryList(QDir::Files))
        QVERIFY(tabdef.remove(name));
    writeTypes({{"001", "Deduções para o FUNDEB", "R"}, {"101", "Receita Corrente", "R"}});
    writeAccounts({{"001", "9.1.72.01.36", "Dedução do FPM"}, {"101", "1.1.12.02.00", "IPTU"}});
}

void TestChartImport::cleanup() { m_db.reset(); }

void TestChartImport::cleanupTestCase() { config::setConfigDirOverride(QString()); }

void TestChartImport::startUp_data()
{
    QTest::addColumn<int>("recorded");     // version in the file; -1: no file
    QTest::addColumn<bool>("filled");      // the tables hold a chart before the start
    QTest::addColumn<bool>("answer");      // to the offer, when asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("typesAfter");   // rows of ORVEN_TIPO after the start

    QTest::newRow("first start, Yes imports") << -1 << false << true << true << int(CheckOutcome::Imported) << 2;
    QTest::newRow("first start, No") << -1 << false << false << true << int(CheckOutcome::Declined) << 0;
    QTest::newRow("no file but a chart: emptied") << -1 << true << false << true << int(CheckOutcome::Declined) << 0;
    QTest::newRow("version 1, filled: emptied and asked")
        << 1 << true << false << true << int(CheckOutcome::Declined) << 0;
    QTest::newRow("version 1, filled, Yes: the new chart")
        << 1 << true << true << true << int(CheckOutcome::Imported) << 2;
    QTest::newRow("version 3 is not the program's either")
        << 3 << true << false << true << int(CheckOutcome::Declined) << 0;
    QTest::newRow("version 2, filled: nothing") << 2 << true << true << false << int(CheckOutcome::UpToDate) << 2;
    QTest::newRow("version 2, empty: asked") << 2 << false << false << true << int(CheckOutcome::Declined) << 0;
}

void TestChartImport::startUp()
{
    QFETCH(int, recorded);
    QFETCH(bool, filled);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(int, outcome);
    QFETCH(int, typesAfter);

    if (filled)
        m_db->run(kFilledChart);
    if (recorded >= 0)
        chart::writeVersionFile(versionPath(), recorded);

    RecordingMessages messages;
    messages.answers = {answer};
    ProgressLog log;
    {
        TDM dm(m_db->path());
        QCOMPARE(int(chart::runChartCheck(dm, factoryFor(log))), outcome);
        QVERIFY(!dm.inTransaction());
    }

    // The file records the program's version whatever it said before.
    QCOMPARE(chart::readVersionFile(versionPath()), 2);

    QList<RecordingMessages::Entry> expected;
    if (asked)
        expected.append({chart::kQuestion, QStringLiteral("Atenção"), MessageService::Icon::None, true});
    if (outcome == int(CheckOutcome::Imported))
        expected.append({chart::kSuccess, QStringLiteral("OK"), MessageService::Icon::Information, false});
    QCOMPARE(messages.entries.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(messages.entries.at(i).text, expected.at(i).text);
        QCOMPARE(messages.entries.at(i).caption, expected.at(i).caption);
        QCOMPARE(messages.entries.at(i).icon, expected.at(i).icon);
        QCOMPARE(messages.entries.at(i).question, expected.at(i).question);
    }
    // The wait window (here its progress) appears only for the import.
    QCOMPARE(log.opened, outcome == int(CheckOutcome::Imported) ? 1 : 0);
    QCOMPARE(log.closed, log.opened);

    // Read on a connection of its own: what the start committed.
    db::Conexao other;
    other.setDatabasePath(m_db->path());
    const Rows types = tableRows(other, kTypes);
    QCOMPARE(types.size(), typesAfter);
    if (outcome == int(CheckOutcome::Imported)) {
        QCOMPARE(types, (Rows{{"001", "Deduções para o FUNDEB", "R"}, {"101", "Receita Corrente", "R"}}));
        QCOMPARE(tableRows(other, kAccounts),
                 (Rows{{"001", "9.1.72.01.36", "Dedução do FPM"}, {"101", "1.1.12.02.00", "IPTU"}}));
    } else if (outcome == int(CheckOutcome::UpToDate)) {
        QCOMPARE(tableRows(other, kAccounts).size(), 1); // the earlier chart, untouched
    } else {
        QVERIFY(tableRows(other, kAccounts).isEmpty());
    }
}

// Without the chart the offer comes at every start until an import succeeds.
void TestChartImport::declinedOfferComesBack()
{
    TDM dm(m_db->path());
    RecordingMessages messages;
    messages.answers = {false, false, true};
    QCOMPARE(chart::runChartCheck(dm, {}), CheckOutcome::Declined);
    QCOMPARE(chart::runChartCheck(dm, {}), CheckOutcome::Declined);
    QCOMPARE(chart::runChartCheck(dm, {}), CheckOutcome::Imported);
    QCOMPARE(chart::runChartCheck(dm, {}), CheckOutcome::UpToDate);
    QCOMPARE(messages.texts(), (QStringList{chart::kQuestion, chart::kQuestion, chart::kQuestion, chart::kSuccess}));
}

// The version file is a data packet with one integer field "versao".
void TestChartImport::versionFile()
{
    QCOMPARE(chart::readVersionFile(versionPath()), 0); // missing
    {
        TDM dm(m_db->path());
        QVERIFY(chart::checkVersion(dm));
        QVERIFY(!chart::checkVersion(dm)); // recorded now
    }
    const packet::DataPacket file = packet::DataPacket::load(versionPath());
    QCOMPARE(file.root.fields.size(), 1);
    QCOMPARE(file.root.fields.first().name, QStringLiteral("versao"));
    QCOMPARE(file.root.fields.first().type, QStringLiteral("i4"));
    QCOMPARE(file.root.rows.size(), 1);
    QCOMPARE(file.root.value(file.root.rows.first(), QStringLiteral("versao")), QVariant(2));

    // A file without its field is not taken for any version.
    packet::DataPacket other;
    other.root.fields.append(packet::Field::integer(QStringLiteral("outro")));
    other.save(versionPath());
    QVERIFY_THROWS_EXCEPTION(Error, chart::readVersionFile(versionPath()));
}

void TestChartImport::import_data()
{
    QTest::addColumn<Rows>("typesFile");
    QTest::addColumn<Rows>("accountsFile");
    QTest::addColumn<Rows>("types");     // ORVEN_TIPO after the import
    QTest::addColumn<Rows>("accounts");  // ORVEN_CONPLA after the import
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("advances");

    QTest::newRow("excluded types and their accounts")
        << Rows{{"001", "Deduções", "R"}, {"104", "Superavit Utilizado", "R"}, {"204", "Custeada com Superavit", "D"}}
        << Rows{{"104", "1.9.99.00.00", "Superavit"}, {"001", "9.1.72.01.36", "FPM"}, {"204", "4.4.90.51.00", "Obras"}}
        << Rows{{"001", "Deduções", "R"}} << Rows{{"001", "9.1.72.01.36", "FPM"}} << 6 << 6;
    QTest::newRow("every excluded code, as written")
        << Rows{{"002", "a", "V"}, {"003", "b", "V"}, {"005", "c", "V"}, {"006", "d", "V"}, {"007", "e", "V"},
                {"008", "f", "V"}, {"104", "g", "R"}, {"107", "h", "R"}, {"204", "i", "D"}, {"004", "j", "V"},
                {"1040", "k", "R"}}
        << Rows{} << Rows{{"004", "j", "V"}, {"1040", "k", "R"}} << Rows{} << 11 << 11;
    // Excluded codes are compared as the file writes them.
    QTest::newRow("excluded code with blanks is imported")
        << Rows{{" 104", "Superavit", "R"}} << Rows{{" 104", "1.9.99", "Superavit"}}
        << Rows{{"104", "Superavit", "R"}} << Rows{{"104", "1.9.99", "Superavit"}} << 2 << 2;
    QTest::newRow("repeated account keeps the first description")
        << Rows{{"201", "Despesa Corrente", "D"}}
        << Rows{{"201", "3.1.90.11.00", "Vencimentos"}, {"201", "3.1.90.13.00", "Obrigações Patronais"},
                {"201", "3.1.90.11.00", "Vencimentos e Vantagens"}}
        << Rows{{"201", "Despesa Corrente", "D"}}
        << Rows{{"201", "3.1.90.11.00", "Vencimentos"}, {"201", "3.1.90.13.00", "Obrigações Patronais"}} << 4 << 3;
    QTest::newRow("blanks around type codes")
        << Rows{{" 101 ", "Receita Corrente", "R"}, {"\t102", "Receita de Capital", "R"}}
        << Rows{{" 101 ", "1.1.12.02.00", "IPTU"}, {"101", "1.1.12.02.00", "IPTU - repetida"},
                {"102 ", "2.1.00.00.00", "Operações de Crédito"}}
        << Rows{{"101", "Receita Corrente", "R"}, {"102", "Receita de Capital", "R"}}
        << Rows{{"101", "1.1.12.02.00", "IPTU"}, {"102", "2.1.00.00.00", "Operações de Crédito"}} << 5 << 4;
    QTest::newRow("empty files") << Rows{} << Rows{} << Rows{} << Rows{} << 0 << 0;
}

void TestChartImport::import()
{
    QFETCH(Rows, typesFile);
    QFETCH(Rows, accountsFile);
    QFETCH(Rows, types);
    QFETCH(Rows, accounts);
    QFETCH(int, maximum);
    QFETCH(int, advances);

    writeTypes(typesFile);
    writeAccounts(accountsFile);
    m_db->run(kFilledChart); // replaced by the import

    RecordingMessages messages;
    ProgressLog log;
    TDM dm(m_db->path());
    dm.applyErrorCount = 7;
    const ImportResult result = chart::importChart(dm, factoryFor(log));
    QCOMPARE(result.status, ImportResult::Status::Imported);
    QCOMPARE(result.error, QString());
    QCOMPARE(dm.applyErrorCount, 0);
    QCOMPARE(result.typesAdded, int(types.size()));
    QCOMPARE(result.accountsAdded, int(accounts.size()));
    QCOMPARE(messages.texts(), QStringList{chart::kSuccess});

    QCOMPARE(log.maximum, qint64(maximum));
    QCOMPARE(log.advances, advances);
    QCOMPARE(log.position, qint64(advances));
    QCOMPARE(log.opened, 1);
    QCOMPARE(log.closed, 1);

    QVERIFY(!dm.inTransaction());
    db::Conexao other;
    other.setDatabasePath(m_db->path());
    QCOMPARE(tableRows(other, kTypes), types);
    QCOMPARE(tableRows(other, kAccounts), accounts);
    // The sets show what the database holds, with nothing pending.
    QCOMPARE(dm.CdsTipo->recordCount(), int(types.size()));
    QCOMPARE(dm.CdsTipo->changeCount() + dm.CdsConpla->changeCount(), 0);
}

// The chart files of the demo installation, as the court publishes them:
// excluded types, "101" written with blanks around it in the first of its
// accounts, and the IPTU account listed twice.
void TestChartImport::demoChart()
{
    demo::writeTabdefFiles(m_tabdef);
    RecordingMessages messages;
    ProgressLog log;
    TDM dm(m_db->path());
    const ImportResult result = chart::importChart(dm, factoryFor(log));
    QVERIFY2(result.ok(), qPrintable(result.error));

    const QList<demo::ChartType> fileTypes = demo::courtChartTypes();
    const QList<demo::ChartAccount> fileAccounts = demo::courtChartAccounts();
    QCOMPARE(log.maximum, qint64(fileTypes.size() + fileAccounts.size()));
    QCOMPARE(log.advances, int(fileTypes.size() + fileAccounts.size()) - 1); // the repeated IPTU

    db::Conexao other;
    other.setDatabasePath(m_db->path());
    QStringList stored;
    for (const QStringList &row : tableRows(other, kTypes))
        stored << row.first();
    QVERIFY(stored.contains(QStringLiteral("101")));
    QVERIFY(stored.contains(QStringLiteral("001")));
    for (const QString &code : chart::excludedTypes())
        QVERIFY2(!stored.contains(code), qPrintable(code));
    QCOMPARE(stored.size(), int(fileTypes.size()) - 9); // the file has every excluded code once
    QCOMPARE(tableRows(other, QStringLiteral("SELECT COUNT(*) FROM ORVEN_CONPLA WHERE CODTIPO IN "
                                             "('002','003','005','006','007','008','104','107','204')")),
             (Rows{{"0"}}));
    QCOMPARE(tableRows(other, QStringLiteral("SELECT COUNT(*) FROM ORVEN_TIPO WHERE CODTIPO <> TRIM(CODTIPO)")),
             (Rows{{"0"}}));
    const Rows iptu = tableRows(other, QStringLiteral("SELECT DESC_CONTABIL FROM ORVEN_CONPLA "
                                                      "WHERE CODTIPO = '101' AND NUM_CONTABIL = '1.1.12.02.00'"));
    QCOMPARE(iptu.size(), 1);
    QVERIFY(iptu.first().first() != QStringLiteral("IPTU - Imposto Predial e Territorial Urbano")); // the second row's
    QCOMPARE(messages.texts(), QStringList{chart::kSuccess});
}

void TestChartImport::failures_data()
{
    QTest::addColumn<Rows>("typesFile");
    QTest::addColumn<Rows>("accountsFile"); // {{"<missing>"}}: no file
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("refused");
    QTest::addColumn<QString>("error"); // a text the error holds

    const Rows accounts{{"101", "1.1.12.02.00", "IPTU"}, {"101", "1.1.13.05.00", "ISS"}};
    QTest::newRow("repeated type refused by the primary key")
        << Rows{{"101", "Receita Corrente", "R"}, {"101", "Receita Corrente (2)", "R"}} << accounts
        << int(ImportResult::Status::Refused) << 1 << QString();
    QTest::newRow("account of an unknown type refused by the foreign key")
        << Rows{{"101", "Receita Corrente", "R"}} << (accounts + Rows{{"999", "1", "?"}, {"998", "2", "?"}})
        << int(ImportResult::Status::Refused) << 2 << QString();
    QTest::newRow("accounts file missing")
        << Rows{{"101", "Receita Corrente", "R"}} << Rows{{"<missing>"}} << int(ImportResult::Status::Failed) << 0
        << chart::kAccountsFileName;
    QTest::newRow("type without its kind")
        << Rows{{"101", "Receita Corrente", "R"}, {"102", "Receita de Capital", "<null>"}} << accounts
        << int(ImportResult::Status::Failed) << 0 << QStringLiteral("Field 'TIPO' must have a value");
    QTest::newRow("account without its code")
        << Rows{{"101", "Receita Corrente", "R"}} << Rows{{"101", "<null>", "?"}} << int(ImportResult::Status::Failed)
        << 0 << QStringLiteral("Field 'NUM_CONTABIL' must have a value");
}

// A failed import leaves both tables empty (the deletions were committed
// before it), ends its transaction, and reports "Erro ao Importar o Plano de
// Contas!!!".
void TestChartImport::failures()
{
    QFETCH(Rows, typesFile);
    QFETCH(Rows, accountsFile);
    QFETCH(int, status);
    QFETCH(int, refused);
    QFETCH(QString, error);

    writeTypes(typesFile);
    if (accountsFile == Rows{{"<missing>"}})
        QFile::remove(m_tabdef + chart::kAccountsFileName);
    else
        writeAccounts(accountsFile);
    m_db->run(kFilledChart);

    RecordingMessages messages;
    ProgressLog log;
    TDM dm(m_db->path());
    const ImportResult result = chart::importChart(dm, factoryFor(log));
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.refused, refused);
    if (status == int(ImportResult::Status::Refused))
        QCOMPARE(dm.applyErrorCount, refused);
    if (!error.isEmpty())
        QVERIFY2(result.error.contains(error), qPrintable(result.error));

    QCOMPARE(messages.entries.size(), 1);
    QCOMPARE(messages.entries.first().text, chart::kFailure);
    QCOMPARE(messages.entries.first().caption, QStringLiteral("Erro"));
    QCOMPARE(messages.entries.first().icon, MessageService::Icon::Error);
    QCOMPARE(log.opened, 1);
    QCOMPARE(log.closed, 1);

    // Nothing of the import stays: not on the connection, not in the sets.
    QVERIFY(!dm.inTransaction());
    QVERIFY(dm.Conexao->select(kTypes).rows.isEmpty());
    QVERIFY(dm.Conexao->select(kAccounts).rows.isEmpty());
    db::Conexao other;
    other.setDatabasePath(m_db->path());
    QVERIFY(tableRows(other, kTypes).isEmpty());
    QVERIFY(tableRows(other, kAccounts).isEmpty());
    for (db::RecordSet *set : {dm.CdsTipo, dm.CdsConpla}) {
        QCOMPARE(set->state(), db::RecordSet::State::Browse);
        QCOMPARE(set->changeCount(), 0);
        QCOMPARE(set->recordCount(), 0);
    }

    // The offer comes again at the next start, and a good chart imports.
    writeTypes({{"101", "Receita Corrente", "R"}});
    writeAccounts({{"101", "1.1.12.02.00", "IPTU"}});
    messages.entries.clear();
    messages.answers = {true};
    chart::writeVersionFile(versionPath(), chart::kProgramChartVersion);
    QCOMPARE(chart::runChartCheck(dm, {}), CheckOutcome::Imported);
    QCOMPARE(messages.texts(), (QStringList{chart::kQuestion, chart::kSuccess}));
    QCOMPARE(tableRows(other, kAccounts), (Rows{{"101", "1.1.12.02.00", "IPTU"}}));
}

QTEST_GUILESS_MAIN(TestChartImport)
#include "tst_chartimport.moc"
