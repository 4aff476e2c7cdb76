// The generation window: entity and bimester lists, the checks before a
// run (folder, unclassified outstanding commitments), the running state of
// the window and of the main window's menu, a whole run on the demo
// installation, cancelling, failures, closing during a run, screenshots
// (written under <build>/screenshots/).

#include "DemoFixture.h"
#include "FirebirdFixture.h"
#include "RecordingMessages.h"
#include "common/Screenshots.h"
#include "config/Installation.h"
#include "db/Connection.h"
#include "generation/GenerationWindow.h"
#include "generation/RunChecks.h"
#include "shell/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace orven;
using namespace orven::ui;
using orven::test::FirebirdFixture;
using orven::test::RecordingMessages;
using Child = TFrmPrincipalXMLORVEN::Child;
using Icon = MessageService::Icon;
namespace msg = orven::generation::messages;

namespace {

QString screenshotDir() { return QStringLiteral(ORVEN_TEST_BUILD_DIR "/screenshots/"); }

const QString kCaptureFile = QStringLiteral("lrfcapturacontas.xml");

// The accounting tables the window reads before a run, for the checks.
const QStringList kChecksSchema = {
    QStringLiteral("CREATE TABLE CADCLI (MEXER VARCHAR(4))"),
    QStringLiteral("CREATE TABLE TABEMPRESA (EMPRESA INTEGER NOT NULL, NOME VARCHAR(60))"),
    QStringLiteral("CREATE TABLE DESDIS (FICHA INTEGER NOT NULL, BALCO VARCHAR(18), EXTRA CHAR(1))"),
    QStringLiteral("CREATE TABLE DESPES (NEMPG INTEGER NOT NULL, FICHA INTEGER, GRUPO_TCE VARCHAR(5), "
                   "COD_TCE VARCHAR(18))"),
    QStringLiteral("INSERT INTO CADCLI VALUES ('2008')"),
    QStringLiteral("INSERT INTO TABEMPRESA VALUES (1, 'Prefeitura Municipal')"),
    QStringLiteral("INSERT INTO TABEMPRESA VALUES (7, 'Serviço autônomo de água')"),
    QStringLiteral("INSERT INTO TABEMPRESA VALUES (12, 'FUNDO MUNICIPAL')"),
};

// A zunt.ini whose table-definition folder holds nothing: every run that
// gets past the checks fails on the missing catalogue.
struct EmptyInstallation {
    EmptyInstallation()
    {
        QFile ini(dir.filePath(QStringLiteral("zunt.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados=%1/ZUNT_8/\r\n")
                          .arg(dir.path())
                          .toLocal8Bit());
        QDir(dir.path()).mkpath(QStringLiteral("ZUNT_8/TABDEF"));
    }
    QTemporaryDir dir;
};

// Everything a test needs around the window: a main window with all its
// menu entries available, the generation window opened from its menu, and
// a folder dialog that answers from a list.
struct Harness {
    explicit Harness(db::Conexao &connection)
    {
        main = std::make_unique<TFrmPrincipalXMLORVEN>();
        main->resize(1280, 800);
        main->registerChild(Child::Gerador, [this, &connection] {
            auto *w = new TFrmGeraXML(connection, main.get());
            w->setFolderChooser([this](QWidget *, const QString &title, const QString &start) {
                chooserCalls << QStringList{title, start};
                return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
            });
            return w;
        });
        for (Child c : {Child::Receita, Child::Despesa, Child::Restos, Child::Garantia, Child::Dados})
            main->registerChild(c, [] { return new QWidget; });
        main->show();
        if (!QTest::qWaitForWindowExposed(main.get()))
            qWarning("main window not exposed");
        main->btngeradorClick();
        window = qobject_cast<TFrmGeraXML *>(main->currentChild());
    }

    template <typename T> T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QComboBox *cbent() const { return find<QComboBox>("cbent"); }
    QComboBox *CbMes() const { return find<QComboBox>("CbMes"); }
    QLineEdit *edtLocal() const { return find<QLineEdit>("edtLocal"); }
    QToolButton *sb() const { return find<QToolButton>("sb"); }
    QPushButton *btngerar() const { return find<QPushButton>("btngerar"); }
    QPushButton *btnfechar() const { return find<QPushButton>("btnfechar"); }
    QProgressBar *bar(int n) const { return window->findChild<QProgressBar *>(QStringLiteral("p%1").arg(n)); }
    QLabel *status(int n) const { return window->findChild<QLabel *>(QStringLiteral("Status%1").arg(n)); }

    // The seven menu buttons: the six entries and "Módulo Captura".
    QList<QAbstractButton *> menuButtons() const
    {
        QList<QAbstractButton *> list;
        for (int i = 0; i < TFrmPrincipalXMLORVEN::kChildCount; ++i)
            list << main->menuButton(Child(i));
        list << main->findChild<QAbstractButton *>(QStringLiteral("btnmodulo"));
        return list;
    }
    int enabledMenuButtons() const
    {
        int n = 0;
        for (QAbstractButton *b : menuButtons())
            n += b && b->isEnabled();
        return n;
    }
    // The window's controls and the menu as they are when idle.
    bool isIdle() const
    {
        return btngerar()->isEnabled() && btnfechar()->text() == QLatin1String("Fechar") && cbent()->isEnabled()
               && CbMes()->isEnabled() && sb()->isEnabled() && enabledMenuButtons() == 7;
    }
    bool isRunning() const
    {
        return !btngerar()->isEnabled() && btnfechar()->text() == QLatin1String("Cancelar") && !cbent()->isEnabled()
               && !CbMes()->isEnabled() && !sb()->isEnabled() && enabledMenuButtons() == 0;
    }
    void chooseFolder(const QString &folder)
    {
        folderAnswers << folder;
        sb()->click();
    }

    std::unique_ptr<TFrmPrincipalXMLORVEN> main;
    QPointer<TFrmGeraXML> window;
    QList<QStringList> chooserCalls;
    QStringList folderAnswers;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestGenerationWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void listsAndInitialState();
    void folderChoice();
    void runParameters_data();
    void runParameters();
    void missingFolderOpensTheDialog();
    void unclassifiedCommitments_data();
    void unclassifiedCommitments();
    void emptyEntityList();
    void wholeRun();
    void cancelAnsweredYes();
    void closeConfirmedDuringRun();
    void closingTheMainWindowStopsTheRun();
    void missingCatalogueFails();
    void screenshots();

private:
    // Runs the window's generation; `during` is called once, from the
    // window's progress (where a click of the user would be handled), when
    // the first cadastro has `contas` accounts done.
    void runWith(Harness &h, int contas, const std::function<void()> &during);

    const test::DemoInstall *m_demo = nullptr;
    std::unique_ptr<db::Conexao> m_demoDb;
    std::unique_ptr<FirebirdFixture> m_checks;
    std::unique_ptr<db::Conexao> m_checksDb;
    EmptyInstallation m_empty;
};

void TestGenerationWindow::initTestCase()
{
    m_demo = &test::smallDemo();
    QVERIFY2(m_demo->isValid(), qPrintable(m_demo->error));
    m_demoDb = std::make_unique<db::Conexao>();
    m_demoDb->setDatabasePath(m_demo->databasePath);
    m_demoDb->open();

    m_checks = std::make_unique<FirebirdFixture>(kChecksSchema);
    QVERIFY2(m_checks->isValid(), qPrintable(m_checks->error()));
    m_checksDb = std::make_unique<db::Conexao>();
    m_checksDb->setDatabasePath(m_checks->path());
    m_checksDb->open();
}

void TestGenerationWindow::cleanup()
{
    config::setConfigDirOverride(QString());
    m_checks->run({QStringLiteral("DELETE FROM DESPES"), QStringLiteral("DELETE FROM DESDIS")});
}

void TestGenerationWindow::runWith(Harness &h, int contas, const std::function<void()> &during)
{
    bool done = false;
    h.window->progress().onStep = [&] {
        if (done || h.bar(1)->value() != 0 || h.bar(4)->value() < contas || !h.isRunning())
            return;
        done = true;
        during();
    };
    h.btngerar()->click();
    h.window->progress().onStep = nullptr;
    QVERIFY2(done, "the run never got there");
}

// The entity list as the table holds it, the six bimesters, the folder
// offered at first, the idle state.
void TestGenerationWindow::listsAndInitialState()
{
    RecordingMessages messages;
    Harness h(*m_checksDb);
    QVERIFY(h.window);
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Gerador XML"));
    QCOMPARE(h.main->currentChild(), h.window.data());
    QCOMPARE(h.cbent()->count(), 3);
    QCOMPARE(h.cbent()->itemText(0), QStringLiteral("0001 - PREFEITURA MUNICIPAL"));
    QCOMPARE(h.cbent()->itemText(1), QStringLiteral("0007 - SERVIÇO AUTÔNOMO DE ÁGUA"));
    QCOMPARE(h.cbent()->itemText(2), QStringLiteral("0012 - FUNDO MUNICIPAL"));
    QCOMPARE(h.cbent()->currentIndex(), 0);
    QCOMPARE(h.CbMes()->count(), 6);
    QCOMPARE(h.CbMes()->itemText(0), QStringLiteral("1º BIMESTRE"));
    QCOMPARE(h.CbMes()->itemText(5), QStringLiteral("6º BIMESTRE"));
    QCOMPARE(h.CbMes()->currentIndex(), 0);
    QCOMPARE(h.CbMes()->maxVisibleItems(), 12);
    QVERIFY(h.edtLocal()->isReadOnly());
    QCOMPARE(h.edtLocal()->text(), QDir::toNativeSeparators(QDir::homePath()) + QDir::separator());
    QVERIFY(h.isIdle());
    QCOMPARE(h.btngerar()->text(), QStringLiteral("Gerar XML"));
    QVERIFY(messages.entries.isEmpty());
}

void TestGenerationWindow::folderChoice()
{
    RecordingMessages messages;
    Harness h(*m_checksDb);
    QTemporaryDir target;
    const QString start = h.edtLocal()->text();
    h.chooseFolder(target.path());
    QCOMPARE(h.chooserCalls.size(), 1);
    QCOMPARE(h.chooserCalls.at(0), (QStringList{QStringLiteral("Selecione onde o Arquivo será Gerado"), start}));
    QCOMPARE(h.edtLocal()->text(), QDir::toNativeSeparators(target.path()) + QDir::separator());
    // Cancelling the dialog keeps the folder; a folder with its separator gets no second one.
    h.chooseFolder(QString());
    QCOMPARE(h.edtLocal()->text(), QDir::toNativeSeparators(target.path()) + QDir::separator());
    h.chooseFolder(QDir::rootPath());
    QCOMPARE(h.edtLocal()->text(), QDir::toNativeSeparators(QDir::rootPath()));
}

// What a run is given: the months of the bimester, the year, the entity of
// the item. (The checks database has no catalogue: the run then fails.)
void TestGenerationWindow::runParameters_data()
{
    QTest::addColumn<int>("bimester");
    QTest::addColumn<int>("entityItem");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("entity");
    QTest::newRow("1st, entity 1") << 0 << 0 << "01" << "02" << 1;
    QTest::newRow("3rd, entity 7") << 2 << 1 << "05" << "06" << 7;
    QTest::newRow("6th, entity 12") << 5 << 2 << "11" << "12" << 12;
}

void TestGenerationWindow::runParameters()
{
    QFETCH(int, bimester);
    QFETCH(int, entityItem);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, entity);
    config::setConfigDirOverride(m_empty.dir.path());
    RecordingMessages messages;
    Harness h(*m_checksDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    h.cbent()->setCurrentIndex(entityItem);
    h.CbMes()->setCurrentIndex(bimester);
    h.btngerar()->click();
    const generation::RunParameters &p = h.window->runParameters();
    QCOMPARE(p.bimester, bimester + 1);
    QCOMPARE(p.firstMonth, first);
    QCOMPARE(p.secondMonth, second);
    QCOMPARE(p.exerciseYear, QStringLiteral("2008"));
    QCOMPARE(p.entity, entity);
    QCOMPARE(p.targetFolder, h.edtLocal()->text());
}

// A folder that is gone: the message, the folder dialog, and no run.
void TestGenerationWindow::missingFolderOpensTheDialog()
{
    config::setConfigDirOverride(m_empty.dir.path());
    RecordingMessages messages;
    Harness h(*m_checksDb);
    QString gone;
    {
        QTemporaryDir target;
        h.chooseFolder(target.path());
        gone = h.edtLocal()->text();
    }
    QTemporaryDir other;
    h.folderAnswers << other.path();
    h.window->cancelFlag().set();
    h.btngerar()->click();
    QCOMPARE(messages.entries.size(), 1);
    QCOMPARE(messages.entries.at(0).text, QStringLiteral("Local onde o Arquivo será gerado Inexistente!"));
    QCOMPARE(messages.entries.at(0).caption, QStringLiteral("Atenção"));
    QCOMPARE(messages.entries.at(0).icon, Icon::Warning);
    QCOMPARE(h.chooserCalls.size(), 2);
    QCOMPARE(h.chooserCalls.at(1), (QStringList{QStringLiteral("Selecione onde o Arquivo será Gerado"), gone}));
    QCOMPARE(h.edtLocal()->text(), QDir::toNativeSeparators(other.path()) + QDir::separator());
    QCOMPARE(h.window->runParameters().exerciseYear, QString()); // never started
    QVERIFY(!h.window->cancelFlag().isSet());                    // cleared at the start
    QVERIFY(h.isIdle());
}

// The commitment check: AND binds tighter than OR, and a null court column
// is not an empty text.
void TestGenerationWindow::unclassifiedCommitments_data()
{
    QTest::addColumn<QString>("balco");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("grupo"); // "NULL" for a null column
    QTest::addColumn<QString>("cod");
    QTest::addColumn<bool>("counts");
    QTest::newRow("3211, empty group") << "321100000" << "N" << "" << "1.10" << true;
    QTest::newRow("extra, empty source") << "111200000" << "S" << "105" << "" << true;
    QTest::newRow("3211 and extra, both empty") << "321100000" << "S" << "" << "" << true;
    QTest::newRow("3211, null group") << "321100000" << "N" << "NULL" << "NULL" << false;
    QTest::newRow("extra, null source") << "111200000" << "S" << "NULL" << "NULL" << false;
    QTest::newRow("other account, empty group") << "331100000" << "N" << "" << "1.10" << false;
    QTest::newRow("budgetary, empty source") << "331100000" << "N" << "105" << "" << false;
    QTest::newRow("classified") << "321100000" << "S" << "105" << "1.10" << false;
}

void TestGenerationWindow::unclassifiedCommitments()
{
    QFETCH(QString, balco);
    QFETCH(QString, extra);
    QFETCH(QString, grupo);
    QFETCH(QString, cod);
    QFETCH(bool, counts);
    auto literal = [](const QString &v) { return v == QLatin1String("NULL") ? v : QStringLiteral("'%1'").arg(v); };
    m_checks->run({QStringLiteral("INSERT INTO DESDIS VALUES (10, '%1', '%2')").arg(balco, extra),
                   QStringLiteral("INSERT INTO DESPES VALUES (1, 10, %1, %2)").arg(literal(grupo), literal(cod))});
    QCOMPARE(generation::hasUnclassifiedCommitments(*m_checksDb), counts);

    config::setConfigDirOverride(m_empty.dir.path());
    RecordingMessages messages;
    Harness h(*m_checksDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    h.btngerar()->click();
    QCOMPARE(messages.entries.size(), 1);
    if (counts) {
        QCOMPARE(messages.entries.at(0).text,
                 QStringLiteral("Existem Empenhos de Restos à Pagar sem o Grupo e a Fonte do ORVEN!!!"));
        QCOMPARE(messages.entries.at(0).caption, QStringLiteral("Atenção"));
        QCOMPARE(messages.entries.at(0).icon, Icon::Warning);
        QCOMPARE(h.window->runParameters().exerciseYear, QString()); // no run
    } else {
        // The run starts and fails on the missing catalogue.
        QVERIFY(messages.entries.at(0).text.startsWith(msg::failure));
        QCOMPARE(h.window->runParameters().exerciseYear, QStringLiteral("2008"));
    }
    QVERIFY(h.isIdle());
    QVERIFY(!QFile::exists(QDir(target.path()).filePath(kCaptureFile)));
}

// No entity at all: the item cannot give a number; reported, no run.
void TestGenerationWindow::emptyEntityList()
{
    m_checks->run({QStringLiteral("DELETE FROM TABEMPRESA")});
    struct Restore {
        FirebirdFixture &db;
        ~Restore() { db.run(kChecksSchema.mid(5)); }
    } restore{*m_checks};
    RecordingMessages messages;
    {
        Harness h(*m_checksDb);
        QCOMPARE(h.cbent()->count(), 0);
        QTemporaryDir target;
        h.chooseFolder(target.path());
        h.btngerar()->click();
        QCOMPARE(messages.entries.size(), 1);
        QCOMPARE(messages.entries.at(0).caption, QStringLiteral("Erro"));
        QCOMPARE(h.window->runParameters().exerciseYear, QString());
        QVERIFY(h.isIdle());
    }
}

// A whole run on the demo installation: the running state while it goes;
// "Cancelar", the window's close box and the main window's exit button,
// each answered No, leave it going with the flag clear; then the file, the
// success message, idle again.
void TestGenerationWindow::wholeRun()
{
    config::setConfigDirOverride(m_demo->configDir);
    RecordingMessages messages;
    Harness h(*m_demoDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    const QString path = QDir(target.path()).filePath(kCaptureFile);
    QVERIFY(writeFile(path, "earlier"));
    h.cbent()->setCurrentIndex(h.cbent()->findText(QStringLiteral("0007 - "), Qt::MatchStartsWith));
    h.CbMes()->setCurrentIndex(2);
    messages.answers = {false, false, false};
    int runningSteps = 0, steps = 0;
    bool flagClear = false, closed = true, childKept = false, stillRunning = false;
    h.window->progress().onStep = [&] {
        ++steps;
        runningSteps += h.isRunning() && h.window->isGenerating();
        if (steps != 20)
            return;
        h.btnfechar()->click();
        flagClear = !h.main->cancel().isSet() && h.isRunning();
        closed = h.window->close();  // its close box
        h.main->btnsairClick();      // the banner's exit button
        childKept = h.main->currentChild() == h.window.data();
        stillRunning = h.window && h.window->isVisible() && h.isRunning() && !h.main->cancel().isSet();
    };
    h.btngerar()->click();
    h.window->progress().onStep = nullptr;
    QVERIFY(flagClear);
    QVERIFY(!closed);
    QVERIFY(childKept);
    QVERIFY(stillRunning);
    QVERIFY(steps > 1000);
    QCOMPARE(runningSteps, steps); // every step of the walk, up to the write
    QCOMPARE(messages.entries.size(), 4);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(messages.entries.at(i).text, QStringLiteral("Deseja realmente cancelar a Geração do XML?"));
        QCOMPARE(messages.entries.at(i).caption, QStringLiteral("Atenção"));
        QVERIFY(messages.entries.at(i).question);
    }
    QCOMPARE(messages.entries.at(3).text, QStringLiteral("Arquivo XML Gerado com Sucesso!!!"));
    QCOMPARE(messages.entries.at(3).caption, QStringLiteral("OK"));
    QCOMPARE(messages.entries.at(3).icon, Icon::Information);
    QVERIFY(h.isIdle());
    QVERIFY(!h.window->isGenerating());
    QVERIFY(!h.main->cancel().isSet());
    QCOMPARE(h.window->runParameters().entity, 7);

    const QByteArray file = readAll(path);
    QVERIFY(file.startsWith("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<sistema name=\"lrfcaptura\" "
                            "properties=\"bimestre\" value=\"3\" version=\"3.0\""));
    QVERIFY(file.contains("<cadastro name=\"Sa\xFA" "de\">"));
    // The bars end full: every cadastro done.
    QVERIFY(h.bar(1)->maximum() > 10);
    QCOMPARE(h.bar(1)->value(), h.bar(1)->maximum());
    QCOMPARE(h.status(1)->text(), QStringLiteral("Meta Fiscal da LDO"));
}

// "Cancelar" answered Yes: idle at once, the message, the run stops at its
// next poll, nothing written (the earlier file stays), the flag clear.
void TestGenerationWindow::cancelAnsweredYes()
{
    config::setConfigDirOverride(m_demo->configDir);
    RecordingMessages messages;
    Harness h(*m_demoDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    const QString path = QDir(target.path()).filePath(kCaptureFile);
    QVERIFY(writeFile(path, "earlier"));
    messages.answers = {true};
    bool idleAtOnce = false, flagSet = false;
    int stepsAfter = -1;
    runWith(h, 5, [&] {
        h.btnfechar()->click();
        idleAtOnce = h.isIdle();
        flagSet = h.main->cancel().isSet();
        // A second "Gerar XML" while the run winds down starts nothing.
        h.btngerar()->click();
        stepsAfter = 0;
        h.window->progress().onStep = [&] { ++stepsAfter; };
    });
    QVERIFY(idleAtOnce);
    QVERIFY(flagSet);
    QVERIFY2(stepsAfter >= 0 && stepsAfter <= 2, qPrintable(QString::number(stepsAfter)));
    QCOMPARE(messages.texts(), (QStringList{msg::cancelQuestion, msg::cancelled}));
    QCOMPARE(messages.entries.at(1).caption, QStringLiteral("Atenção"));
    QCOMPARE(messages.entries.at(1).icon, Icon::Warning);
    QCOMPARE(readAll(path), QByteArray("earlier"));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files).size(), 1);
    QVERIFY(!h.main->cancel().isSet());
    QVERIFY(!h.window->isGenerating());
    QVERIFY(h.isIdle());
}

// Closing the window during a run and confirming: the run is cancelled and
// the window closes once it has stopped; the main window keeps no child.
void TestGenerationWindow::closeConfirmedDuringRun()
{
    config::setConfigDirOverride(m_demo->configDir);
    RecordingMessages messages;
    Harness h(*m_demoDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    messages.answers = {true};
    bool refused = false, alive = false;
    runWith(h, 2, [&] {
        h.main->btnsairClick();
        refused = h.main->currentChild() == h.window.data();
        alive = bool(h.window);
    });
    QVERIFY(refused);
    QVERIFY(alive);
    QCOMPARE(messages.texts(), (QStringList{msg::cancelQuestion, msg::cancelled}));
    QTRY_VERIFY(!h.window);
    QTRY_VERIFY(h.main->currentChild() == nullptr);
    QCOMPARE(h.enabledMenuButtons(), 7);
    QVERIFY(!h.main->cancel().isSet());
    QVERIFY(!QFile::exists(QDir(target.path()).filePath(kCaptureFile)));
}

// Closing the main window ends the program without a question; a run on
// its way stops first and writes nothing.
void TestGenerationWindow::closingTheMainWindowStopsTheRun()
{
    config::setConfigDirOverride(m_demo->configDir);
    RecordingMessages messages;
    Harness h(*m_demoDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    bool closed = false;
    runWith(h, 2, [&] { closed = h.main->close(); });
    QVERIFY(closed);
    QVERIFY(messages.entries.isEmpty());
    QVERIFY(!QFile::exists(QDir(target.path()).filePath(kCaptureFile)));
    QVERIFY(!h.window->isGenerating());
    QVERIFY(!h.main->cancel().isSet());
    QVERIFY(h.btngerar()->isEnabled());
}

// A catalogue that is not there: the error with its cause, idle again, the
// earlier file untouched.
void TestGenerationWindow::missingCatalogueFails()
{
    const QString catalogue = m_demo->tabdefFolder + QStringLiteral("ID_ORVEN2008.XML");
    const QString aside = catalogue + QStringLiteral(".aside");
    QVERIFY(QFile::rename(catalogue, aside));
    struct Restore {
        QString from, to;
        ~Restore() { QFile::rename(from, to); }
    } restore{aside, catalogue};

    config::setConfigDirOverride(m_demo->configDir);
    RecordingMessages messages;
    Harness h(*m_demoDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    const QString path = QDir(target.path()).filePath(kCaptureFile);
    QVERIFY(writeFile(path, "earlier"));
    h.btngerar()->click();
    QCOMPARE(messages.entries.size(), 1);
    const QStringList lines = messages.entries.at(0).text.split(QLatin1Char('\n'));
    QCOMPARE(lines.first(), QStringLiteral("Erro ao Gerar o Arquivo XML!!!"));
    QVERIFY2(lines.size() >= 2 && messages.entries.at(0).text.contains(QStringLiteral("ID_ORVEN2008.XML")),
             qPrintable(messages.entries.at(0).text));
    QCOMPARE(messages.entries.at(0).caption, QStringLiteral("Erro"));
    QCOMPARE(messages.entries.at(0).icon, Icon::Error);
    QVERIFY(h.isIdle());
    QVERIFY(!h.window->isGenerating());
    QVERIFY(!h.main->cancel().isSet());
    QCOMPARE(readAll(path), QByteArray("earlier"));
}

// The window idle, alone and in the main window, and in the middle of a run.
void TestGenerationWindow::screenshots()
{
    config::setConfigDirOverride(m_demo->configDir);
    RecordingMessages messages;
    Harness h(*m_demoDb);
    QTemporaryDir target;
    h.chooseFolder(target.path());
    h.CbMes()->setCurrentIndex(2);
    h.window->parentWidget()->showMaximized();
    QApplication::processEvents();
    renderToPng(h.main.get(), screenshotDir() + QStringLiteral("generation-window-idle.png"));
    messages.answers = {true};
    bool shot = false;
    h.window->progress().onStep = [&] {
        // Half-way through the accounts of a long revenue tipo.
        if (shot || h.bar(1)->value() != 0 || h.bar(4)->maximum() < 10 || h.bar(4)->value() < h.bar(4)->maximum() / 2)
            return;
        shot = true;
        renderToPng(h.main.get(), screenshotDir() + QStringLiteral("generation-window-running.png"));
        renderToPng(h.window, screenshotDir() + QStringLiteral("generation-window-running-alone.png"));
        h.btnfechar()->click();
    };
    h.btngerar()->click();
    QVERIFY(shot);
    QVERIFY(QFile::exists(screenshotDir() + QStringLiteral("generation-window-idle.png")));
    QVERIFY(QFile::exists(screenshotDir() + QStringLiteral("generation-window-running.png")));
}

QTEST_MAIN(TestGenerationWindow)
#include "tst_generationwindow.moc"
