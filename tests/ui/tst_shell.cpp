// The desktop shell: main window, wait window, package information dialog,
// screenshots of each (written under <build>/screenshots/).

#include "RecordingMessages.h"
#include "Version.h"
#include "common/Error.h"
#include "common/Screenshots.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/ModuleInfo.h"
#include "shell/PackageDialog.h"
#include "shell/WaitWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>

using namespace orven;
using namespace orven::ui;
using orven::test::RecordingMessages;
using Child = TFrmPrincipalXMLORVEN::Child;

namespace {

QString screenshotDir() { return QStringLiteral(ORVEN_TEST_BUILD_DIR "/screenshots/"); }

// A working window that counts how it was treated.
class ProbeChild : public QWidget {
public:
    explicit ProbeChild(const QString &title, bool refuseClose = false) : m_refuse(refuseClose)
    {
        setWindowTitle(title);
    }
    int closeEvents = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeEvents;
        if (m_refuse)
            event->ignore();
        else
            event->accept();
    }

private:
    bool m_refuse;
};

// Something that looks like a working window, for the screenshot.
QWidget *sampleGeneratorWindow()
{
    auto *w = new QWidget;
    w->setWindowTitle(QStringLiteral("Gerador XML"));
    auto *outer = new QVBoxLayout(w);
    auto *params = new QGroupBox(QStringLiteral("Parâmetros"), w);
    auto *form = new QFormLayout(params);
    auto *entity = new QComboBox(params);
    entity->addItems({QStringLiteral("0001 - PREFEITURA MUNICIPAL"), QStringLiteral("0002 - CÂMARA MUNICIPAL")});
    form->addRow(QStringLiteral("Entidade:"), entity);
    auto *bimester = new QComboBox(params);
    bimester->addItems({QStringLiteral("1º Bimestre"), QStringLiteral("2º Bimestre"), QStringLiteral("3º Bimestre")});
    form->addRow(QStringLiteral("Bimestre:"), bimester);
    form->addRow(QStringLiteral("Pasta:"), new QLineEdit(QStringLiteral("/home/contabil/lrf"), params));
    outer->addWidget(params);
    auto *progress = new QGroupBox(QStringLiteral("Andamento"), w);
    auto *bars = new QVBoxLayout(progress);
    for (int v : {100, 62, 35, 80}) {
        auto *bar = new QProgressBar(progress);
        bar->setValue(v);
        bars->addWidget(bar);
    }
    outer->addWidget(progress);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(new QPushButton(QStringLiteral("Gerar XML"), w));
    buttons->addWidget(new QPushButton(QStringLiteral("Cancelar"), w));
    outer->addLayout(buttons);
    outer->addStretch(1);
    return w;
}

std::unique_ptr<TFrmPrincipalXMLORVEN> shownMainWindow(QSize size = QSize(1100, 720))
{
    auto window = std::make_unique<TFrmPrincipalXMLORVEN>();
    window->resize(size);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window not exposed");
    return window;
}

template <typename T> T *find(QWidget *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void designArgument_data();
    void designArgument();
    void caption_data();
    void caption();
    void captionOfTheRunningProgram();

    void menuLayout();
    void statusPanes();
    void entriesWithoutWindowStayDisabled();
    void oneChildAtATime();
    void childThatRefusesToClose();
    void childClosingItselfLeavesNoFrame();
    void failureWhileOpening_data();
    void failureWhileOpening();
    void exitButtons_data();
    void exitButtons();
    void frameCloseEndsWithoutQuestion();
    void firstShowSteps();
    void captureModuleOpensBrowser();

    void waitWindowLooks();
    void waitWindowOneAtATime();
    void waitProgressFillsAndProcessesEvents();

    void unitNodeText_data();
    void unitNodeText();
    void packageTreeFromModules();
    void packageDialogOfThisProcess();
    void elfNeeded_data();
    void elfNeeded();

    void screenshots();

public:
    // Used as a URL handler by captureModuleOpensBrowser.
    Q_INVOKABLE void openUrl(const QUrl &url) { m_openedUrls << url; }

private:
    QList<QUrl> m_openedUrls;
};

void TestShell::initTestCase()
{
    setUpApplication(*qApp);
    // Only this test's pictures are replaced; other window tests write beside them.
    QDir().mkpath(screenshotDir());
}

void TestShell::cleanup()
{
    TfrmAguardeVista::discard();
}

// ------------------------------------------------------------ start-up rules

void TestShell::designArgument_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("expected");
    QTest::newRow("second is design") << QStringList{"orven", "design"} << true;
    QTest::newRow("more after design") << QStringList{"orven", "design", "x"} << true;
    QTest::newRow("other case") << QStringList{"orven", "Design"} << false;
    QTest::newRow("upper case") << QStringList{"orven", "DESIGN"} << false;
    QTest::newRow("design first") << QStringList{"design"} << false;
    QTest::newRow("design third") << QStringList{"orven", "x", "design"} << false;
    QTest::newRow("with blank") << QStringList{"orven", "design "} << false;
    QTest::newRow("no argument") << QStringList{"orven"} << false;
    QTest::newRow("nothing") << QStringList{} << false;
}

void TestShell::designArgument()
{
    QFETCH(QStringList, args);
    QFETCH(bool, expected);
    QCOMPARE(showPackageDialogFirst(args), expected);
}

void TestShell::caption_data()
{
    QTest::addColumn<QString>("kind"); // file, missing, folder
    QTest::addColumn<QDateTime>("stamp");
    QTest::addColumn<QString>("expected");
    const QString prefix = QStringLiteral("ZUNT 8.0 - MÓDULO ORVEN - Atualizado dia ");
    QTest::newRow("afternoon") << "file" << QDateTime(QDate(2008, 3, 15), QTime(14, 5, 9))
                               << prefix + "15/03/2008 14:05:09 - Versão: 1.0.3.12";
    QTest::newRow("morning, one digit day") << "file" << QDateTime(QDate(2009, 1, 2), QTime(7, 0, 1))
                                            << prefix + "02/01/2009 07:00:01 - Versão: 1.0.3.12";
    QTest::newRow("exactly midnight") << "file" << QDateTime(QDate(2008, 12, 31), QTime(0, 0))
                                      << prefix + "31/12/2008 - Versão: 1.0.3.12";
    QTest::newRow("one second past midnight") << "file" << QDateTime(QDate(2008, 12, 31), QTime(0, 0, 1))
                                              << prefix + "31/12/2008 00:00:01 - Versão: 1.0.3.12";
    QTest::newRow("no such file") << "missing" << QDateTime() << "FrmPrincipalXMLORVEN";
    QTest::newRow("a folder") << "folder" << QDateTime() << "FrmPrincipalXMLORVEN";
    QTest::newRow("empty path") << "empty" << QDateTime() << "FrmPrincipalXMLORVEN";
}

void TestShell::caption()
{
    QFETCH(QString, kind);
    QFETCH(QDateTime, stamp);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("orven"));
    if (kind == QLatin1String("file")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x7f" "ELF");
        f.flush();
        QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
        f.close();
        QCOMPARE(QFileInfo(path).lastModified(), stamp);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("orven")));
    } else if (kind == QLatin1String("empty")) {
        path.clear();
    }
    QCOMPARE(mainWindowCaption(path, QStringLiteral("1.0.3.12"), QLocale::c()), expected);
}

void TestShell::captionOfTheRunningProgram()
{
    TFrmPrincipalXMLORVEN window;
    const QString title = window.windowTitle();
    QVERIFY2(title.startsWith(QStringLiteral("ZUNT 8.0 - MÓDULO ORVEN - Atualizado dia ")), qPrintable(title));
    QVERIFY2(title.endsWith(QStringLiteral(" - Versão: " ORVEN_VERSION_TEXT)), qPrintable(title));
    const QDate built = QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date();
    QVERIFY(title.contains(built.toString(QStringLiteral("dd/MM/yyyy"))));
    QCOMPARE(window.cancelFlag(), quint8(0));
}

// ------------------------------------------------------------ main window layout

void TestShell::menuLayout()
{
    auto window = shownMainWindow();
    const struct {
        const char *name;
        const char *caption;
    } expected[] = {
        {"btngerador", "Gerador XML"},   {"btnReceita", "Classif. Receita"}, {"BtnDespesa", "Classif. Despesa"},
        {"btnrestos", "Restos à Pagar"}, {"BtnGarantia", "Garantias"},        {"Btndados", "Dados XML"},
        {"btnmodulo", "Módulo Captura"},
    };
    QWidget *group = find<QWidget>(window.get(), "RzGroup1");
    QVERIFY(group);
    QVERIFY(find<QWidget>(window.get(), "RzGroupBar1"));
    QCOMPARE(find<QWidget>(window.get(), "RzGroupBar1")->height(), 315);
    int lastY = -1;
    for (const auto &e : expected) {
        auto *b = find<QAbstractButton>(window.get(), e.name);
        QVERIFY2(b, e.name);
        QCOMPARE(b->text(), QString::fromUtf8(e.caption));
        QCOMPARE(b->parentWidget(), group);
        QCOMPARE(b->size(), QSize(144, 41));
        QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY2(b->font().bold() && b->font().pixelSize() == 13, e.name);
        const int y = b->mapTo(window.get(), QPoint(0, 0)).y();
        QVERIFY2(y > lastY, e.name); // top to bottom in menu order
        lastY = y;
        QVERIFY2(b->isVisible(), e.name);
    }
    QCOMPARE(find<QWidget>(window.get(), "pnlMenu")->width(), 161);
    QCOMPARE(find<QWidget>(window.get(), "pnlBanner")->height(), 83);
    QCOMPARE(find<QWidget>(window.get(), "imgBannerLeft")->width(), 519);
    QCOMPARE(find<QWidget>(window.get(), "imgBannerRight")->width(), 167);
    QCOMPARE(find<QWidget>(window.get(), "imgMenu")->height(), 57);
    for (const char *name : {"btnsair", "SpeedButton1"}) {
        auto *b = find<QAbstractButton>(window.get(), name);
        QVERIFY2(b, name);
        QCOMPARE(b->size(), QSize(39, 44));
        QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b->parentWidget(), find<QWidget>(window.get(), "imgBannerRight"));
        QVERIFY(QRect(QPoint(0, 0), b->parentWidget()->size()).contains(b->geometry()));
    }
    QVERIFY(window->mdiArea());
    QVERIFY(window->mdiArea()->subWindowList().isEmpty());
}

void TestShell::statusPanes()
{
    auto window = shownMainWindow();
    QStatusBar *bar = find<QStatusBar>(window.get(), "StsMain");
    QVERIFY(bar);
    QCOMPARE(window->statusBar(), bar);

    const struct {
        const char *name;
        int width;
    } panes[] = {{"StsCourt", 162}, {"Exerc", 66}, {"StsClock", 62}, {"StsDate", 251}, {"Vrs", 83}, {"StsMaker", -1}};
    int lastX = -1;
    for (const auto &p : panes) {
        QWidget *w = find<QWidget>(bar, p.name);
        QVERIFY2(w, p.name);
        if (p.width > 0)
            QCOMPARE(w->width(), p.width);
        QVERIFY2(w->x() > lastX, p.name); // left to right
        lastX = w->x();
        QCOMPARE(w->font().pixelSize(), 11);
    }
    QWidget *maker = find<QWidget>(bar, "StsMaker");
    QVERIFY(maker->geometry().right() >= bar->width() - 12); // fills the rest

    QCOMPARE(find<QLabel>(bar, "Vrs")->text(), QStringLiteral("Vrs: " ORVEN_VERSION_TEXT));
    QCOMPARE(find<QLabel>(bar, "Exerc")->text(), QStringLiteral("Ex: "));
    window->setExerciseYear(QStringLiteral("2008"));
    QCOMPARE(find<QLabel>(bar, "Exerc")->text(), QStringLiteral("Ex: 2008"));
    QCOMPARE(find<QLabel>(bar, "Exerc")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    QCOMPARE(find<MarqueePane>(bar, "StsCourt")->text(), TFrmPrincipalXMLORVEN::kCourtName);
    QCOMPARE(find<QLabel>(bar, "StsMaker")->text(), TFrmPrincipalXMLORVEN::kMakerCaption);
    // Clock "h:nn:ss" and the long date, both kept current.
    const QString clock = find<QLabel>(bar, "StsClock")->text();
    QVERIFY2(QRegularExpression(QStringLiteral("^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$")).match(clock).hasMatch(),
             qPrintable(clock));
    QTRY_VERIFY_WITH_TIMEOUT(find<QLabel>(bar, "StsClock")->text() != clock, 2500);
    QCOMPARE(find<QLabel>(bar, "StsDate")->text(), QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat));
}

void TestShell::entriesWithoutWindowStayDisabled()
{
    TFrmPrincipalXMLORVEN window;
    auto *modulo = find<QAbstractButton>(&window, "btnmodulo");
    for (int i = 0; i < TFrmPrincipalXMLORVEN::kChildCount; ++i) {
        QVERIFY(!window.menuButton(Child(i))->isEnabled());
        QCOMPARE(window.menuButton(Child(i))->toolTip(), TFrmPrincipalXMLORVEN::kComingSoon);
    }
    QVERIFY(modulo->isEnabled());

    window.registerChild(Child::Receita, [] { return new QWidget; });
    QVERIFY(window.menuButton(Child::Receita)->isEnabled());
    QCOMPARE(window.menuButton(Child::Receita)->toolTip(), QStringLiteral("Classificação das Fichas de Receita"));
    QVERIFY(!window.menuButton(Child::Despesa)->isEnabled());

    // During a generation run the seven are disabled, the exit buttons are not.
    window.setMenuEnabled(false);
    QVERIFY(!window.isMenuEnabled());
    QVERIFY(!window.menuButton(Child::Receita)->isEnabled());
    QVERIFY(!modulo->isEnabled());
    QVERIFY(find<QAbstractButton>(&window, "btnsair")->isEnabled());
    QVERIFY(find<QAbstractButton>(&window, "SpeedButton1")->isEnabled());
    // A disabled entry does nothing when pressed.
    find<QAbstractButton>(&window, "btnReceita")->click();
    QVERIFY(window.mdiArea()->subWindowList().isEmpty());

    window.setMenuEnabled(true);
    QVERIFY(window.menuButton(Child::Receita)->isEnabled());
    QVERIFY(modulo->isEnabled());
    QVERIFY(!window.menuButton(Child::Gerador)->isEnabled()); // still no window of its own
}

// ------------------------------------------------------------ children

void TestShell::oneChildAtATime()
{
    auto window = shownMainWindow();
    int created = 0;
    bool waitShownDuringCreation = true;
    bool redrawSuspendedDuringCreation = true;
    QList<QPointer<ProbeChild>> children;
    auto factory = [&](const QString &title) {
        return [&, title]() -> QWidget * {
            ++created;
            TfrmAguardeVista *wait = TfrmAguardeVista::current();
            waitShownDuringCreation = waitShownDuringCreation && wait && wait->isVisible();
            redrawSuspendedDuringCreation = redrawSuspendedDuringCreation && !window->updatesEnabled();
            auto *child = new ProbeChild(title);
            children << child;
            return child;
        };
    };
    window->registerChild(Child::Receita, factory(QStringLiteral("Classificação das Fichas de Receita")));
    window->registerChild(Child::Gerador, factory(QStringLiteral("Gerador XML")));

    QTest::mouseClick(window->menuButton(Child::Receita), Qt::LeftButton);
    QCOMPARE(created, 1);
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *sub = window->mdiArea()->subWindowList().first();
    QVERIFY(sub->isMaximized());
    QVERIFY(sub->isVisible());
    QCOMPARE(sub->windowTitle(), QStringLiteral("Classificação das Fichas de Receita"));
    QCOMPARE(window->currentChild(), children.at(0).data());
    QVERIFY(window->updatesEnabled());
    QVERIFY(!TfrmAguardeVista::current());

    // The same entry again: the open window is closed (its own handling runs) and a fresh one opens.
    QTest::mouseClick(window->menuButton(Child::Receita), Qt::LeftButton);
    QCOMPARE(created, 2);
    QVERIFY(!children.at(0)); // discarded
    QVERIFY(children.at(1));
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(window->currentChild(), children.at(1).data());

    // Another entry replaces it as well.
    window->menuButton(Child::Gerador)->click();
    QCOMPARE(created, 3);
    QVERIFY(!children.at(1));
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(window->currentChild()->windowTitle(), QStringLiteral("Gerador XML"));

    QVERIFY(waitShownDuringCreation);
    QVERIFY(redrawSuspendedDuringCreation);
    QVERIFY(window->updatesEnabled());
    QVERIFY(!TfrmAguardeVista::current());
}

void TestShell::childThatRefusesToClose()
{
    RecordingMessages messages;
    auto window = shownMainWindow();
    QPointer<ProbeChild> busy;
    int created = 0;
    window->registerChild(Child::Gerador, [&]() -> QWidget * { return busy = new ProbeChild("Gerador XML", true); });
    window->registerChild(Child::Dados, [&]() -> QWidget * { ++created; return new ProbeChild("Visualização do XML"); });
    window->menuButton(Child::Gerador)->click();
    QVERIFY(busy);

    // A window busy with its work keeps its place: nothing new opens over it...
    window->menuButton(Child::Dados)->click();
    QCOMPARE(created, 0);
    QVERIFY(busy);
    QCOMPARE(busy->closeEvents, 1);
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QVERIFY(window->updatesEnabled());
    QVERIFY(!TfrmAguardeVista::current());

    // ...and the exit buttons do not discard it under its feet, nor ask to end.
    find<QAbstractButton>(window.get(), "btnsair")->click();
    QVERIFY(busy);
    QCOMPARE(busy->closeEvents, 2);
    QVERIFY(messages.entries.isEmpty());
    QVERIFY(window->isVisible());
}

void TestShell::childClosingItselfLeavesNoFrame()
{
    auto window = shownMainWindow();
    QPointer<ProbeChild> child;
    window->registerChild(Child::Garantia, [&]() -> QWidget * { return child = new ProbeChild("Garantias"); });
    window->menuButton(Child::Garantia)->click();
    QVERIFY(child);
    child->close(); // its own "Fechar" button
    QTRY_VERIFY(window->mdiArea()->subWindowList().isEmpty());
    QTRY_VERIFY(!child);
    QVERIFY(!window->currentChild());
}

void TestShell::failureWhileOpening_data()
{
    QTest::addColumn<bool>("systemError");
    QTest::newRow("orven::Error") << false;
    QTest::newRow("std::exception") << true;
}

void TestShell::failureWhileOpening()
{
    QFETCH(bool, systemError);
    RecordingMessages messages;
    auto window = shownMainWindow();
    QPointer<ProbeChild> previous;
    window->registerChild(Child::Restos, [&]() -> QWidget * { return previous = new ProbeChild("Restos"); });
    window->registerChild(Child::Despesa, [&]() -> QWidget * {
        if (systemError)
            throw std::runtime_error("Falha do sistema");
        throw Error(QStringLiteral("Não foi possível abrir as Fichas de Despesa!!!"));
    });
    window->menuButton(Child::Restos)->click();
    QVERIFY(previous);

    window->menuButton(Child::Despesa)->click();
    QCOMPARE(messages.entries.size(), 1);
    QCOMPARE(messages.entries[0].caption, QStringLiteral("Erro"));
    QCOMPARE(messages.entries[0].icon, MessageService::Icon::Error);
    QCOMPARE(messages.entries[0].text, systemError ? QStringLiteral("Falha do sistema")
                                                   : QStringLiteral("Não foi possível abrir as Fichas de Despesa!!!"));
    QVERIFY(!previous); // closed before the new one was tried
    QVERIFY(window->mdiArea()->subWindowList().isEmpty());
    QVERIFY(window->updatesEnabled());
    QVERIFY(!TfrmAguardeVista::current());

    // The window stays usable.
    window->menuButton(Child::Restos)->click();
    QVERIFY(previous);
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
}

void TestShell::exitButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("btnsair") << "btnsair";
    QTest::newRow("SpeedButton1") << "SpeedButton1";
}

void TestShell::exitButtons()
{
    QFETCH(QString, button);
    RecordingMessages messages;
    messages.answers = {false, true};
    auto window = shownMainWindow();
    QPointer<ProbeChild> child;
    window->registerChild(Child::Gerador, [&]() -> QWidget * { return child = new ProbeChild("Gerador XML"); });
    window->menuButton(Child::Gerador)->click();
    auto *exit = window->findChild<QAbstractButton *>(button);
    QVERIFY(exit);

    // With a child open only the child closes.
    QTest::mouseClick(exit, Qt::LeftButton);
    QVERIFY(!child);
    QVERIFY(window->mdiArea()->subWindowList().isEmpty());
    QVERIFY(messages.entries.isEmpty());
    QVERIFY(window->isVisible());

    // Then the question; No keeps the program.
    QTest::mouseClick(exit, Qt::LeftButton);
    QCOMPARE(messages.entries.size(), 1);
    QCOMPARE(messages.entries[0].text, QStringLiteral("Deseja Finalizar o Módulo Gerador XML?"));
    QCOMPARE(messages.entries[0].caption, QStringLiteral("Atenção"));
    QCOMPARE(messages.entries[0].icon, MessageService::Icon::None);
    QVERIFY(messages.entries[0].question);
    QVERIFY(window->isVisible());

    // Yes ends it.
    QTest::mouseClick(exit, Qt::LeftButton);
    QCOMPARE(messages.entries.size(), 2);
    QVERIFY(!window->isVisible());
}

void TestShell::frameCloseEndsWithoutQuestion()
{
    RecordingMessages messages;
    messages.answers = {false};
    auto window = shownMainWindow();
    window->registerChild(Child::Dados, [] { return new ProbeChild("Visualização do XML"); });
    window->menuButton(Child::Dados)->click();
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QVERIFY(messages.entries.isEmpty());
}

void TestShell::firstShowSteps()
{
    {
        // Run once, after the window is up.
        TFrmPrincipalXMLORVEN window;
        int calls = 0;
        bool visibleWhenCalled = false;
        window.onFirstShow = [&] {
            ++calls;
            visibleWhenCalled = window.isVisible();
            window.setExerciseYear(QStringLiteral("2008"));
            return true;
        };
        window.show();
        QTRY_COMPARE(calls, 1);
        QVERIFY(visibleWhenCalled);
        window.hide();
        window.show();
        QTest::qWait(50);
        QCOMPARE(calls, 1);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Exerc"))->text(), QStringLiteral("Ex: 2008"));
        QVERIFY(window.isVisible());
        QVERIFY(!window.endedAtStartup());
    }
    {
        // A failed step ends the program without a question.
        RecordingMessages messages;
        messages.answers = {false};
        TFrmPrincipalXMLORVEN window;
        window.onFirstShow = [] {
            MessageService::instance().error(QStringLiteral("Erro ao Conectar com a Base de Dados!\rO Módulo será Finalizado!!"));
            return false;
        };
        window.show();
        QTRY_VERIFY(window.endedAtStartup());
        QVERIFY(!window.isVisible());
        QCOMPARE(messages.entries.size(), 1);
        QVERIFY(!messages.entries[0].question);
    }
    {
        // An exception is reported and the window stays.
        RecordingMessages messages;
        TFrmPrincipalXMLORVEN window;
        window.onFirstShow = []() -> bool { throw Error(QStringLiteral("Tabela CADCLI vazia!!!")); };
        window.show();
        QTRY_COMPARE(messages.entries.size(), 1);
        QCOMPARE(messages.entries[0].text, QStringLiteral("Tabela CADCLI vazia!!!"));
        QCOMPARE(messages.entries[0].caption, QStringLiteral("Erro"));
        QVERIFY(window.isVisible());
        QVERIFY(!window.endedAtStartup());
    }
}

void TestShell::captureModuleOpensBrowser()
{
    m_openedUrls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
    TFrmPrincipalXMLORVEN window;
    find<QAbstractButton>(&window, "btnmodulo")->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(m_openedUrls.size(), 1);
    const QUrl url = m_openedUrls.first();
    QCOMPARE(url.port(), 8080);
    QCOMPARE(url.path(), QStringLiteral("/lrfcaptura"));
    QCOMPARE(url.host(), QString::fromLatin1(kCaptureHost));
    QVERIFY(window.mdiArea()->subWindowList().isEmpty());
}

// ------------------------------------------------------------ wait window

void TestShell::waitWindowLooks()
{
    {
        // Shown without touching the bar: picture and "Aguarde..." only.
        WaitWindowScope scope;
        TfrmAguardeVista *w = scope.window();
        QVERIFY(w);
        QCOMPARE(TfrmAguardeVista::current(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->size(), QSize(187, 45));
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(qAbs(w->windowOpacity() - 220.0 / 255.0) < 0.5 / 255.0);
        QCOMPARE(w->caption()->text(), QStringLiteral("Aguarde..."));
        QCOMPARE(w->caption()->font().pixelSize(), 19);
        QVERIFY(w->caption()->font().bold());
        QVERIFY(w->findChild<QWidget *>(QStringLiteral("Img")));
        WaitProgressBar *bar = w->progress();
        QCOMPARE(bar->objectName(), QStringLiteral("PROGRESS"));
        QCOMPARE(bar->size(), QSize(185, 2));
        QCOMPARE(bar->geometry().bottom(), 44);
        QCOMPARE(bar->maximum(), qint64(1));
        QVERIFY(!bar->isVisible());
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(w->geometry()));
        QCOMPARE(w->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    }
    QVERIFY(!TfrmAguardeVista::current());

    // A maximum other than 1 before showing: the bar is shown with it.
    auto *w = new TfrmAguardeVista;
    w->progress()->setMaximum(120);
    w->show();
    QVERIFY(w->progress()->isVisible());
    delete w;
    QVERIFY(!TfrmAguardeVista::current());

    // Work that fails still takes the window away.
    try {
        WaitWindowScope scope;
        throw Error(QStringLiteral("falhou"));
    } catch (const Error &) {
    }
    QVERIFY(!TfrmAguardeVista::current());
}

void TestShell::waitWindowOneAtATime()
{
    QPointer<TfrmAguardeVista> first = TfrmAguardeVista::open();
    QPointer<TfrmAguardeVista> second = TfrmAguardeVista::open();
    QVERIFY(!first);
    QVERIFY(second);
    QCOMPARE(TfrmAguardeVista::current(), second.data());
    {
        // A scope inside the work of another replaces its window; each discards only its own.
        WaitWindowScope inner;
        QVERIFY(!second);
        QCOMPARE(TfrmAguardeVista::current(), inner.window());
    }
    QVERIFY(!TfrmAguardeVista::current());
}

void TestShell::waitProgressFillsAndProcessesEvents()
{
    WaitWindowScope scope;
    Progress &progress = scope.progress();
    WaitProgressBar *bar = scope.window()->progress();
    progress.setMaximum(120);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->position(), qint64(0));
    QCOMPARE(bar->litBoxes(), 0);

    bool eventHandled = false;
    QTimer::singleShot(0, [&] { eventHandled = true; });
    progress.advance();
    QVERIFY(eventHandled); // the program stays alive between steps

    for (int i = 1; i < 60; ++i)
        progress.advance();
    QCOMPARE(bar->position(), qint64(60));
    QCOMPARE(bar->litBoxes(), 10);
    for (int i = 60; i < 120; ++i)
        progress.advance();
    QCOMPARE(bar->position(), qint64(120));
    QCOMPARE(bar->litBoxes(), WaitProgressBar::kBoxes);
    // Another level (the generation's inner loops) leaves this bar alone.
    progress.setMaximum(5, 1);
    progress.advance(1, 1);
    QCOMPARE(bar->maximum(), qint64(120));
    QCOMPARE(bar->position(), qint64(120));
    // Past the end the bar stays full.
    progress.advance();
    QCOMPARE(bar->litBoxes(), WaitProgressBar::kBoxes);
}

// ------------------------------------------------------------ package information

void TestShell::unitNodeText_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no flags") << 0 << "SysUtils ";
    QTest::newRow("main") << 1 << "SysUtils ( Main Unit )";
    QTest::newRow("package") << 2 << "SysUtils ( Package Unit )";
    QTest::newRow("weak") << 4 << "SysUtils ( Weak Unit )";
    QTest::newRow("main and weak") << 5 << "SysUtils ( Main Unit Weak Unit )";
    QTest::newRow("all three") << 7 << "SysUtils ( Main Unit Package Unit Weak Unit )";
    QTest::newRow("other bits only") << 16 << "SysUtils ";
}

void TestShell::unitNodeText()
{
    QFETCH(int, flags);
    QFETCH(QString, expected);
    QCOMPARE(modules::unitNodeText(QStringLiteral("SysUtils"), flags), expected);
}

void TestShell::packageTreeFromModules()
{
    QList<modules::Module> list;
    list.append({QStringLiteral("/opt/orven/orven"), QString(), modules::RunOnly,
                 {{QStringLiteral("orven"), modules::MainUnit}, {QStringLiteral("orven_ui"), 0}},
                 {QStringLiteral("libQt6Widgets.so.6"), QStringLiteral("libc.so.6")}});
    list.append({QStringLiteral("/usr/lib/libdesign.so"), QStringLiteral("Ferramentas"),
                 modules::DesignOnly | modules::RunOnly, {}, {}});
    list.append({QStringLiteral("/usr/lib/librun.so"), QStringLiteral("Execução"), modules::RunOnly, {}, {}});
    list.append({QStringLiteral("/x/") + QString(300, QLatin1Char('a')), QString(), 0, {}, {}});
    TFPackage dialog(list);
    QTreeWidget *tree = dialog.tree();
    QCOMPARE(tree->topLevelItemCount(), 4);

    auto childTexts = [](QTreeWidgetItem *item) {
        QStringList texts;
        for (int i = 0; i < item->childCount(); ++i)
            texts << item->child(i)->text(0);
        return texts;
    };
    QTreeWidgetItem *exe = tree->topLevelItem(0);
    QCOMPARE(exe->text(0), QStringLiteral("/opt/orven/orven"));
    // Without a description the flags are not shown either.
    QCOMPARE(childTexts(exe), (QStringList{"Contains", "Requires"}));
    QCOMPARE(childTexts(exe->child(0)), (QStringList{"orven ( Main Unit )", "orven_ui "}));
    QCOMPARE(childTexts(exe->child(1)), (QStringList{"libQt6Widgets.so.6", "libc.so.6"}));
    QCOMPARE(childTexts(tree->topLevelItem(1)),
             (QStringList{"Contains", "Requires", "Description: Ferramentas", "Design Only", "Run Only"}));
    QCOMPARE(childTexts(tree->topLevelItem(2)), (QStringList{"Contains", "Requires", "Description: Execução", "Run Only"}));
    QCOMPARE(tree->topLevelItem(3)->text(0).size(), 199); // a longer name is cut
}

void TestShell::packageDialogOfThisProcess()
{
    auto *dialog = new TFPackage;
    QPointer<TFPackage> guard = dialog;
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Package Information"));
    QCOMPARE(dialog->size(), QSize(379, 413));
    QTreeWidget *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
    QVERIFY(tree);
    QCOMPARE(tree->indentation(), 19);
    QVERIFY(tree->topLevelItemCount() > 3);

    // The executable first, with its components and the libraries it needs.
    QTreeWidgetItem *exe = tree->topLevelItem(0);
    QCOMPARE(exe->text(0), QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
    QCOMPARE(exe->child(0)->text(0), QStringLiteral("Contains"));
    QCOMPARE(exe->child(1)->text(0), QStringLiteral("Requires"));
    QVERIFY(exe->child(0)->childCount() >= 1);
    QCOMPARE(exe->child(0)->child(0)->text(0), QStringLiteral("tst_shell ( Main Unit )"));
    QStringList required;
    for (int i = 0; i < exe->child(1)->childCount(); ++i)
        required << exe->child(1)->child(i)->text(0);
    QVERIFY2(required.contains(QStringLiteral("libQt6Core.so.6")), qPrintable(required.join(',')));

    // The loaded libraries follow, Qt's core among them, each with what it requires.
    QTreeWidgetItem *core = nullptr;
    for (int i = 1; i < tree->topLevelItemCount(); ++i)
        if (QFileInfo(tree->topLevelItem(i)->text(0)).fileName().startsWith(QStringLiteral("libQt6Core.so")))
            core = tree->topLevelItem(i);
    QVERIFY(core);
    QVERIFY(core->child(1)->childCount() > 0);
    QCOMPARE(core->child(0)->childCount(), 0);

    // Escape closes it, whichever control has the keyboard.
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    delete guard.data();
}

void TestShell::elfNeeded_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expectNames");
    QTest::newRow("this executable") << "self" << true;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("empty file") << "empty" << false;
    QTest::newRow("text file") << "text" << false;
    QTest::newRow("ELF header only") << "cut64" << false;
    QTest::newRow("cut after program headers") << "cut1k" << false;
    QTest::newRow("damaged header") << "damaged" << false;
}

void TestShell::elfNeeded()
{
    QFETCH(QString, kind);
    QFETCH(bool, expectNames);
    const QString self = QCoreApplication::applicationFilePath();
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("module"));
    QFile source(self);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray image = source.readAll();
    auto write = [&](const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    if (kind == QLatin1String("self"))
        path = self;
    else if (kind == QLatin1String("empty"))
        write({});
    else if (kind == QLatin1String("text"))
        write("[ZUNT]\r\nDIRETORIO=C:\\ZUNT\r\n");
    else if (kind == QLatin1String("cut64"))
        write(image.left(64));
    else if (kind == QLatin1String("cut1k"))
        write(image.left(1024));
    else if (kind == QLatin1String("damaged")) {
        QByteArray bytes = image;
        // Program header table far past the end of the file, huge entry count.
        for (int i = 0x20; i < 0x28; ++i)
            bytes[i] = char(0x7f);
        bytes[0x38] = char(0xff);
        bytes[0x39] = char(0xff);
        write(bytes);
    }
    const QStringList names = modules::elfNeededLibraries(path);
    if (!expectNames) {
        QVERIFY2(names.isEmpty(), qPrintable(names.join(',')));
        return;
    }
    QVERIFY(names.contains(QStringLiteral("libQt6Core.so.6")));
    QVERIFY(names.contains(QStringLiteral("libQt6Widgets.so.6")));
    QStringList unique = names;
    QCOMPARE(unique.removeDuplicates(), 0);
}

// ------------------------------------------------------------ screenshots

void TestShell::screenshots()
{
    const QString dir = screenshotDir();
    auto window = shownMainWindow(QSize(1280, 800));
    window->setExerciseYear(QStringLiteral("2008"));
    window->registerChild(Child::Gerador, [] { return sampleGeneratorWindow(); });
    window->registerChild(Child::Receita, [] { return new QWidget; });
    QTest::qWait(20);
    renderToPng(window.get(), dir + QStringLiteral("main-window.png"));

    window->menuButton(Child::Gerador)->click();
    QTest::qWait(20);
    renderToPng(window.get(), dir + QStringLiteral("main-window-child.png"));

    auto *wait = new TfrmAguardeVista;
    wait->show();
    renderToPng(wait, dir + QStringLiteral("wait-window.png"));
    WaitProgress progress(wait);
    progress.setMaximum(120);
    for (int i = 0; i < 75; ++i)
        progress.advance();
    renderToPng(wait, dir + QStringLiteral("wait-window-progress.png"));
    delete wait;

    TFPackage dialog;
    dialog.tree()->expandItem(dialog.tree()->topLevelItem(0));
    dialog.tree()->expandItem(dialog.tree()->topLevelItem(0)->child(0));
    dialog.tree()->expandItem(dialog.tree()->topLevelItem(0)->child(1));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    renderToPng(&dialog, dir + QStringLiteral("package-dialog.png"));

    const struct {
        const char *file;
        QSize size;
    } expected[] = {
        {"main-window.png", QSize(1280, 800)},
        {"main-window-child.png", QSize(1280, 800)},
        {"wait-window.png", QSize(187, 45)},
        {"wait-window-progress.png", QSize(187, 45)},
        {"package-dialog.png", QSize(379, 413)},
    };
    for (const auto &e : expected) {
        QImage image(dir + QString::fromLatin1(e.file));
        QVERIFY2(!image.isNull(), e.file);
        QCOMPARE(image.size(), e.size);
    }
    // The bar drawn in light green along the bottom once progress is shown.
    const QImage withBar(dir + QStringLiteral("wait-window-progress.png"));
    QCOMPARE(withBar.pixelColor(3, 44), QColor(128, 255, 0));
    const QImage withoutBar(dir + QStringLiteral("wait-window.png"));
    QVERIFY(withoutBar.pixelColor(3, 44) != QColor(128, 255, 0));

    QVERIFY_THROWS_EXCEPTION(Error, renderToPng(nullptr, dir + QStringLiteral("none.png")));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
