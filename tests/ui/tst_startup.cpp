// The program's start-up on a demo installation: the data module created
// before any window, and the main window's first showing (connection,
// catalogue file, exercise year, court chart offer and import with the wait
// window).

#include "RecordingMessages.h"

#include "chart/ChartImport.h"
#include "common/Progress.h"
#include "config/Installation.h"
#include "db/DataModule.h"
#include "demo/DemoInstaller.h"
#include "shell/MainWindow.h"
#include "shell/Startup.h"
#include "shell/WaitWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace orven;
using namespace orven::ui;
using orven::test::RecordingMessages;

namespace {

// Records the messages with the state of the wait window at that moment.
class ObservingMessages final : public MessageService {
public:
    struct Entry {
        QString text;
        QString caption;
        Icon icon;
        bool question;
        bool waitWindow;    // a wait window was up
        qint64 barMaximum;  // its bar, when it was
        qint64 barPosition;
        bool barVisible;
    };
    ObservingMessages() { MessageService::setInstance(this); }
    ~ObservingMessages() override { MessageService::setInstance(nullptr); }

    void show(const QString &text, const QString &caption, Icon icon) override { record(text, caption, icon, false); }
    bool ask(const QString &text, const QString &caption, Icon icon) override
    {
        record(text, caption, icon, true);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    QStringList texts() const
    {
        QStringList list;
        for (const Entry &e : entries)
            list << e.text;
        return list;
    }

    QList<Entry> entries;
    QList<bool> answers;

private:
    void record(const QString &text, const QString &caption, Icon icon, bool question)
    {
        Entry e{text, caption, icon, question, false, -1, -1, false};
        if (TfrmAguardeVista *wait = TfrmAguardeVista::current()) {
            e.waitWindow = wait->isVisible();
            e.barMaximum = wait->progress()->maximum();
            e.barPosition = wait->progress()->position();
            e.barVisible = wait->progress()->isVisible();
        }
        entries.append(e);
    }
};

QString exercisePane(const TFrmPrincipalXMLORVEN &window)
{
    return window.findChild<QLabel *>(QStringLiteral("Exerc"))->text();
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void unreachableDatabase();
    void connectionLostBeforeFirstShowing();
    void catalogueFileMissing();
    void freshInstallationDeclined();
    void freshInstallationImported();
    void chartInPlace();

private:
    // Runs the first showing as the program does; true when it went on.
    bool showMainWindow(TFrmPrincipalXMLORVEN &window, db::TDM &dm);
    int chartTypes(db::TDM &dm) { return dm.Conexao->selectValue(QStringLiteral("SELECT COUNT(*) FROM ORVEN_TIPO")).toInt(); }

    QTemporaryDir m_dir;
    QString m_demo; // a fresh demo installation for every test
    demo::DemoSummary m_layout;
};

void TestStartup::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_demo = m_dir.filePath(QStringLiteral("demo"));
}

void TestStartup::init()
{
    NullProgress progress;
    m_layout = demo::createDemo(m_demo, demo::DemoSize::Small, true, progress);
    config::setConfigDirOverride(m_demo);
}

void TestStartup::cleanupTestCase() { config::setConfigDirOverride(QString()); }

bool TestStartup::showMainWindow(TFrmPrincipalXMLORVEN &window, db::TDM &dm)
{
    bool done = false;
    bool carryOn = false;
    window.onFirstShow = [&] {
        struct Done {
            bool &flag;
            ~Done() { flag = true; }
        } guard{done};
        carryOn = firstShow(window, dm);
        return carryOn;
    };
    window.show();
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        qWarning("the first showing did not end");
    QTest::qWait(20);
    return done && carryOn;
}

// The data module cannot open the database: the error's own message, and no
// module (the program ends before any window).
void TestStartup::unreachableDatabase()
{
    QFile ini(m_demo + QStringLiteral("/zunt.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[ZUNT]\r\nAno=2009\r\nCaminho_Base_Dados=" + m_layout.baseFolder.toUtf8() + "\r\n");
    ini.close();

    RecordingMessages messages;
    const std::unique_ptr<db::TDM> dm = createDataModule();
    QVERIFY(!dm);
    QCOMPARE(messages.entries.size(), 1);
    QCOMPARE(messages.entries.first().caption, QStringLiteral("Erro"));
    QCOMPARE(messages.entries.first().icon, MessageService::Icon::Error);
    QVERIFY2(messages.entries.first().text.contains(QLatin1String("ZUNT2009.FDB")),
             qPrintable(messages.entries.first().text));
    QVERIFY(!db::TDM::instance());
}

// The connection cannot be opened at the first showing: the connection
// message, and the program ends.
void TestStartup::connectionLostBeforeFirstShowing()
{
    RecordingMessages messages;
    const std::unique_ptr<db::TDM> dm = createDataModule();
    QVERIFY(dm);
    dm->Conexao->close();
    QVERIFY(QFile::rename(m_layout.databasePath, m_layout.databasePath + QStringLiteral(".away")));

    TFrmPrincipalXMLORVEN window;
    QVERIFY(!showMainWindow(window, *dm));
    QVERIFY(window.endedAtStartup());
    QVERIFY(!window.isVisible());
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Erro ao Conectar com a Base de Dados!\r"
                                                          "O Módulo será Finalizado!!")});
    QCOMPARE(messages.entries.first().caption, QStringLiteral("Erro"));
    QCOMPARE(messages.entries.first().icon, MessageService::Icon::Error);
    QCOMPARE(exercisePane(window), QStringLiteral("Ex: "));
    QVERIFY(QFile::rename(m_layout.databasePath + QStringLiteral(".away"), m_layout.databasePath));
}

// Only "ID_ORVEN.XML" is looked for, whatever the year: the 2008 edition
// beside it does not help.
void TestStartup::catalogueFileMissing()
{
    QVERIFY(QFile::remove(m_layout.tabdefFolder + QStringLiteral("ID_ORVEN.XML")));
    QVERIFY(QFile::exists(m_layout.tabdefFolder + QStringLiteral("ID_ORVEN2008.XML")));

    RecordingMessages messages;
    const std::unique_ptr<db::TDM> dm = createDataModule();
    QVERIFY(dm);
    TFrmPrincipalXMLORVEN window;
    QVERIFY(!showMainWindow(window, *dm));
    QVERIFY(!window.isVisible());
    QCOMPARE(messages.texts(), QStringList{QStringLiteral(
                                   "O Arquivo \"ID_ORVEN.XML\" não foi Encontrado, atualize o Definição de Tabelas!!!"
                                   "\r\rO Aplicativo será Finalizado...")});
    QCOMPARE(messages.entries.first().caption, QStringLiteral("Atenção"));
    QCOMPARE(messages.entries.first().icon, MessageService::Icon::Warning);
    // Nothing after the check ran: no year, no chart version recorded.
    QCOMPARE(exercisePane(window), QStringLiteral("Ex: "));
    QVERIFY(!QFile::exists(m_layout.tabdefFolder + chart::kVersionFileName));
}

void TestStartup::freshInstallationDeclined()
{
    RecordingMessages messages;
    messages.answers = {false};
    const std::unique_ptr<db::TDM> dm = createDataModule();
    QVERIFY(dm);
    TFrmPrincipalXMLORVEN window;
    QVERIFY(showMainWindow(window, *dm));
    QTRY_COMPARE(messages.entries.size(), 1);
    QVERIFY(window.isVisible());
    QCOMPARE(exercisePane(window), QStringLiteral("Ex: 2008"));
    QCOMPARE(messages.entries.first().text, QStringLiteral("Deseja atualizar o Plano de Contas do ORVEN?"));
    QCOMPARE(messages.entries.first().caption, QStringLiteral("Atenção"));
    QVERIFY(messages.entries.first().question);
    QCOMPARE(chart::readVersionFile(m_layout.tabdefFolder + chart::kVersionFileName), 2);
    QCOMPARE(chartTypes(*dm), 0);
    QVERIFY(!TfrmAguardeVista::current());
}

// Yes: the import runs under the wait window with its bar, which is gone
// when it ends.
void TestStartup::freshInstallationImported()
{
    ObservingMessages messages;
    messages.answers = {true};
    const std::unique_ptr<db::TDM> dm = createDataModule();
    QVERIFY(dm);
    TFrmPrincipalXMLORVEN window;
    QVERIFY(showMainWindow(window, *dm));
    QTRY_COMPARE(messages.entries.size(), 2);
    QCOMPARE(exercisePane(window), QStringLiteral("Ex: 2008"));
    QCOMPARE(messages.texts(), (QStringList{chart::kQuestion, chart::kSuccess}));

    const ObservingMessages::Entry &question = messages.entries.at(0);
    QVERIFY(!question.waitWindow);
    const ObservingMessages::Entry &done = messages.entries.at(1);
    QCOMPARE(done.caption, QStringLiteral("OK"));
    QCOMPARE(done.icon, MessageService::Icon::Information);
    QVERIFY(done.waitWindow);
    QVERIFY(done.barVisible);
    QVERIFY(done.barMaximum > 100);
    QCOMPARE(done.barPosition, done.barMaximum - 1); // the repeated account does not move the bar

    QVERIFY(!TfrmAguardeVista::current());
    QVERIFY(chartTypes(*dm) > 0);
    QVERIFY(window.isVisible());
    QVERIFY(!window.endedAtStartup());
}

// The chart imported at an earlier start: nothing is asked.
void TestStartup::chartInPlace()
{
    {
        RecordingMessages messages;
        messages.answers = {true};
        db::TDM dm;
        QCOMPARE(chart::runChartCheck(dm, {}), chart::CheckOutcome::Imported);
    }
    RecordingMessages messages;
    const std::unique_ptr<db::TDM> dm = createDataModule();
    QVERIFY(dm);
    TFrmPrincipalXMLORVEN window;
    QVERIFY(showMainWindow(window, *dm));
    QTRY_COMPARE(exercisePane(window), QStringLiteral("Ex: 2008"));
    QTest::qWait(50);
    QVERIFY(messages.entries.isEmpty());
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
