// The revenue record classification window and the two lookup dialogs, on
// the small demo installation with the court chart imported: the grey/red
// states of the court cells as the grid's model gives them, the entity
// filter and a second opening, F2/F3 (ignored while browsing; the filters
// they give the chart lookup; the row they copy), saving (no change, typed
// values, a row the database refuses, correcting it), cancelling, closing,
// no row below the last, the automatic classification of one entity, and
// the searches of both dialogs (blanks, prefixes, contained texts, quotes).
// Screenshots go to <build>/screenshots/.

#include "DemoFixture.h"
#include "RecordingMessages.h"

#include "chart/ChartImport.h"
#include "classification/ClassificationWindow.h"
#include "classification/CourtChart.h"
#include "classification/GridStyle.h"
#include "classification/LookupDialogs.h"
#include "classification/RevenueWindow.h"
#include "common/Progress.h"
#include "common/Screenshots.h"
#include "config/Installation.h"
#include "db/DataModule.h"
#include "db/RecordSet.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/WaitWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>

using namespace orven;
using namespace orven::ui;
using orven::classification::LookupKey;
using orven::db::RecordSet;
using orven::test::RecordingMessages;
using Icon = MessageService::Icon;
using Child = TFrmPrincipalXMLORVEN::Child;

namespace {

QString screenshotDir() { return QStringLiteral(ORVEN_TEST_BUILD_DIR "/screenshots/"); }

// Court codes of the imported chart, by group.
const QString kAcc101 = QStringLiteral("1.1.12.02.00"); // group 101
const QString kAcc102 = QStringLiteral("2.0.00.00.00"); // group 102
const QString kAcc108 = QStringLiteral("7.0.00.00.00"); // group 108
const QString kAcc103 = QStringLiteral("7.2.10.29.13"); // group 103
const QString kAcc001 = QStringLiteral("9.17.12.07.00"); // group 001

// An account added to the chart for the searches: its description holds a quote.
const QString kQuoteAccount = QStringLiteral("1.9.99.99.97");
const QString kQuoteDescription = QStringLiteral("Cota-parte do Fundo d'Água (teste)");
const QString kQuoteCategory = QStringLiteral("3.3.90.99.97");
const QString kQuoteCategoryName = QStringLiteral("Despesas d'Água e Esgoto (teste)");

enum class Shade { Row, Grey, Red };

Shade shadeOf(const QModelIndex &index)
{
    const QColor c = index.data(Qt::BackgroundRole).value<QColor>();
    if (c == grid::kMissing)
        return Shade::Grey;
    if (c == grid::kInvalid)
        return Shade::Red;
    return c == grid::rowColour(index.row()) ? Shade::Row : Shade(-1);
}

QModelIndex cell(const TFrmReceita &w, int row, const char *field)
{
    return w.model()->index(row, w.model()->columnOfField(QLatin1String(field)));
}

int rowOfFicha(const RecordSet &set, int ficha)
{
    const int f = set.fieldIndex(QStringLiteral("FICHA"));
    for (int row = 0; row < set.recordCount(); ++row) {
        if (set.valueAt(row, f).toInt() == ficha)
            return row;
    }
    return -1;
}

// The values of the chart lookup's result set that the tests look at.
struct ChartAnswer {
    int calls = 0;
    QString filter;
    bool filtered = false;
    QStringList groups; // distinct CODTIPO of the rows offered, sorted
    int rows = 0;
    QString chosenGroup;
    QString chosenCode;
};

QStringList distinct(const RecordSet &set, const QString &field)
{
    QStringList values;
    const int f = set.fieldIndex(field);
    for (int row = 0; row < set.recordCount(); ++row) {
        const QString v = set.valueAt(row, f).toString();
        if (!values.contains(v))
            values << v;
    }
    std::sort(values.begin(), values.end());
    return values;
}

QString sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list.join(QLatin1Char(','));
}

} // namespace

class TestRevenueWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void opensOnEveryRevenueRecord();
    void colouring_data();
    void colouring();
    void rowColours();
    void entityFilter();
    void secondOpeningShowsEveryEntity();

    void lookupKeysIgnoredWhileBrowsing();
    void lookupFromAnOpenEditor();
    void lookupFilters_data();
    void lookupFilters();
    void lookupWithoutRowKeepsCodes();

    void confirmWithoutChanges();
    void typedValueSavedByConfirm();
    void refusedConfirmKeepsChanges();
    void cancelRestoresDatabaseValues();
    void closingDiscardsChanges();
    void noRowBelowTheLast();
    void automaticClassificationOfOneEntity();

    void chartSearch_data();
    void chartSearch();
    void categorySearch_data();
    void categorySearch();
    void dialogAnswers();

    void screenshots();

private:
    std::unique_ptr<TFrmReceita> openWindow();
    QVariant dbValue(int ficha, const QString &column) const;
    int dbCount(const QString &sql, const QVariantList &params = {}) const;

    RecordingMessages m_messages;
    std::unique_ptr<db::TDM> m_dm;
    struct Saved {
        QVariant balco, grupo, cod, legis;
    };
    QMap<int, Saved> m_saved; // RECDIS as the demo made it, by FICHA
};

// ------------------------------------------------------------ fixture

void TestRevenueWindow::initTestCase()
{
    setUpApplication(*qApp);
    QDir().mkpath(screenshotDir());
    const test::DemoInstall &demo = test::smallDemo();
    QVERIFY2(demo.isValid(), qPrintable(demo.error));
    config::setConfigDirOverride(demo.configDir);
    m_dm = std::make_unique<db::TDM>(demo.databasePath);

    if (!chart::chartPresent(*m_dm)) {
        const chart::ImportResult imported =
            chart::importChart(*m_dm, [] { return std::unique_ptr<Progress>(new NullProgress); });
        QVERIFY2(imported.ok(), qPrintable(imported.error));
    }
    QVERIFY(dbCount(QStringLiteral("SELECT COUNT(*) FROM ORVEN_CONPLA")) > 500);
    m_dm->Conexao->execute(QStringLiteral("INSERT INTO ORVEN_CONPLA (CODTIPO, NUM_CONTABIL, DESC_CONTABIL) "
                                          "VALUES ('101', ?, ?)"),
                           {kQuoteAccount, kQuoteDescription});
    m_dm->Conexao->execute(QStringLiteral("INSERT INTO TABCATEC (CATEGORIA, GRUPO, MODALIDADE, ELEMENTO, DESDOBRO, "
                                          "NOME, CATEC) VALUES ('3', '3', '90', '99', '97', ?, ?)"),
                           {kQuoteCategoryName, kQuoteCategory});

    const db::ResultSet rows = m_dm->Conexao->select(
        QStringLiteral("SELECT FICHA, BALCO_TCE, GRUPO_TCE, COD_TCE, LEGIS FROM RECDIS ORDER BY FICHA"));
    for (const db::Row &r : rows.rows)
        m_saved.insert(r.value(0).toInt(), {r.value(1), r.value(2), r.value(3), r.value(4)});
    QCOMPARE(m_saved.size(), 72);
}

void TestRevenueWindow::init() { m_messages.entries.clear(); }

void TestRevenueWindow::cleanup()
{
    TfrmAguardeVista::discard();
    m_dm->rollback();
    m_dm->CdsRecdis->close();
    m_dm->CdsRecdis->setFiltered(false);
    m_dm->CdsRecdis->setFilter(QString());
    // Every test starts from the demo's codes.
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
        m_dm->Conexao->execute(
            QStringLiteral("UPDATE RECDIS SET BALCO_TCE = ?, GRUPO_TCE = ?, COD_TCE = ?, LEGIS = ? WHERE FICHA = ?"),
            {it->balco, it->grupo, it->cod, it->legis, it.key()});
    }
}

void TestRevenueWindow::cleanupTestCase() { m_dm.reset(); }

std::unique_ptr<TFrmReceita> TestRevenueWindow::openWindow()
{
    auto w = std::make_unique<TFrmReceita>(*m_dm);
    w->resize(1200, 640);
    w->show(); // the showing reads the entities, the chart and the records
    return w;
}

QVariant TestRevenueWindow::dbValue(int ficha, const QString &column) const
{
    return m_dm->Conexao->selectValue(QStringLiteral("SELECT %1 FROM RECDIS WHERE FICHA = ?").arg(column), {ficha});
}

int TestRevenueWindow::dbCount(const QString &sql, const QVariantList &params) const
{
    return m_dm->Conexao->selectValue(sql, params).toInt();
}

// ------------------------------------------------------------ showing, colours, entities

void TestRevenueWindow::opensOnEveryRevenueRecord()
{
    const auto w = openWindow();
    QCOMPARE(w->windowTitle(), QStringLiteral("Classificação das Fichas de Receita"));
    QStringList captions;
    for (int c = 0; c < w->model()->columnCount(); ++c)
        captions << w->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"Ficha", "Rec. ZUNT", "VinGrupo", "VinCodigo", "Tipo", "Extra", "Entidade",
                                    "Plano TCE (F2)", "Grupo TCE (F3)", "Fonte TCE (F3)"}));
    QCOMPARE(w->records().recordCount(), dbCount(QStringLiteral("SELECT COUNT(*) FROM RECDIS")));
    QCOMPARE(w->records().valueAt(0, w->records().fieldIndex(QStringLiteral("FICHA"))).toInt(), 1);

    // The entity list: every entity after "0000 - CONSOLIDADO", which is chosen.
    QComboBox *cbent = w->entitySelector();
    QCOMPARE(cbent->count(), 1 + dbCount(QStringLiteral("SELECT COUNT(*) FROM TABEMPRESA")));
    QCOMPARE(cbent->itemText(0), QStringLiteral("0000 - CONSOLIDADO"));
    QCOMPARE(cbent->currentIndex(), 0);
    const QString council =
        m_dm->Conexao->selectValue(QStringLiteral("SELECT NOME FROM TABEMPRESA WHERE EMPRESA = 2")).toString();
    QVERIFY(cbent->findText(QStringLiteral("0002 - ") + council) > 0);
    QVERIFY(cbent->findText(QStringLiteral("0012 - "), Qt::MatchStartsWith) > 0);

    // Browse mode: nothing editable; edit mode: only the three court columns.
    QVERIFY(!w->isEditMode());
    QVERIFY(w->alterarButton()->isEnabled() && w->classifButton()->isEnabled());
    QVERIFY(!w->confirmarButton()->isEnabled());
    QCOMPARE(w->closeButton()->text(), QStringLiteral("Fecha&r"));
    for (int c = 0; c < w->model()->columnCount(); ++c)
        QVERIFY(!(w->model()->flags(w->model()->index(0, c)) & Qt::ItemIsEditable));
    w->alterarButton()->click();
    QVERIFY(w->isEditMode());
    QVERIFY(!w->alterarButton()->isEnabled() && !w->classifButton()->isEnabled());
    QVERIFY(w->confirmarButton()->isEnabled());
    QCOMPARE(w->closeButton()->text(), QStringLiteral("Cancela&r"));
    QCOMPARE(w->records().state(), RecordSet::State::Edit);
    QStringList editable;
    for (int c = 0; c < w->model()->columnCount(); ++c) {
        if (w->model()->flags(w->model()->index(3, c)) & Qt::ItemIsEditable)
            editable << w->model()->column(c).field;
    }
    QCOMPARE(editable, (QStringList{"BALCO_TCE", "GRUPO_TCE", "COD_TCE"}));
    QVERIFY(m_messages.entries.isEmpty());
}

void TestRevenueWindow::colouring_data()
{
    QTest::addColumn<QString>("codre");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("balco");
    QTest::addColumn<QString>("grupo");
    QTest::addColumn<QString>("cod");
    QTest::addColumn<int>("account"); // Shade of "Plano TCE (F2)"
    QTest::addColumn<int>("group");   // "Grupo TCE (F3)"
    QTest::addColumn<int>("source");  // "Fonte TCE (F3)"

    const int row = int(Shade::Row), grey = int(Shade::Grey), red = int(Shade::Red);
    QTest::newRow("all empty: grey") << "1112.02.00" << "OR" << "N" << "" << "" << "" << grey << grey << grey;
    QTest::newRow("blanks only: grey") << "1112.02.00" << "OR" << "N" << "   " << " " << "  " << grey << grey << grey;
    QTest::newRow("revenue 1 in group 101") << "1112.02.00" << "OR" << "N" << kAcc101 << "004" << "4.6.80.01.01" << row
                                            << row << row;
    QTest::newRow("revenue 1 with group 102 account") << "1112.02.00" << "OR" << "N" << kAcc102 << "" << "" << red
                                                      << grey << grey;
    QTest::newRow("revenue 2 in group 102") << "2213.00.00" << "OR" << "N" << kAcc102 << "" << "" << row << grey
                                            << grey;
    QTest::newRow("account case and blanks count") << "1112.02.00" << "OR" << "N" << kAcc101 + " " << "" << ""
                                                   << red << grey << grey;
    QTest::newRow("revenue 7 in group 108") << "7210.29.01" << "PR" << "N" << kAcc108 << "" << "" << row << grey
                                            << grey;
    QTest::newRow("revenue 7 in group 103") << "7210.29.01" << "PR" << "N" << kAcc103 << "" << "" << row << grey
                                            << grey;
    QTest::newRow("revenue 7 with group 101 account") << "7210.29.01" << "PR" << "N" << kAcc101 << "" << "" << red
                                                      << grey << grey;
    QTest::newRow("deduction, budgetary, group 001") << "9172.10.10.20" << "OR" << "N" << kAcc001 << "" << "" << row
                                                     << grey << grey;
    QTest::newRow("deduction, budgetary, group 101") << "9172.10.10.20" << "OR" << "N" << kAcc101 << "" << "" << red
                                                     << grey << grey;
    QTest::newRow("deduction, extra-budgetary: any account red")
        << "9110.01.00" << "OR" << "S" << kAcc001 << "" << "" << red << grey << grey;
    QTest::newRow("kind SD with group 106") << "1721.33.10" << "SD" << "N" << "" << "106" << "1.10" << grey << row
                                            << row;
    QTest::newRow("kind SD with a valid pair of group 105")
        << "1721.33.10" << "SD" << "N" << "" << "105" << "6.00" << grey << red << red;
    QTest::newRow("kind FU with group 105") << "1724.01.00" << "FU" << "N" << "" << "105" << "7.00" << grey << row
                                            << row;
    QTest::newRow("pair not in the chart") << "1724.01.00" << "FU" << "N" << "" << "105" << "1.10" << grey << red
                                           << red;
    QTest::newRow("group without source") << "1721.33.10" << "SD" << "N" << "" << "106" << "" << grey << red << grey;
    QTest::newRow("source without group") << "1721.33.10" << "SD" << "N" << "" << "" << "1.10" << grey << grey
                                          << red;
    QTest::newRow("transfer 211 in group 009") << "2114.05.00" << "OC" << "N" << "" << "009" << "1.20" << grey
                                               << row << row;
    QTest::newRow("transfer 211 in group 106") << "2114.05.00" << "OC" << "N" << "" << "106" << "1.20" << grey
                                               << red << red;
    QTest::newRow("type P group on a revenue") << "1112.02.00" << "OR" << "N" << "" << "01" << "1100100" << grey
                                               << red << red;
}

void TestRevenueWindow::colouring()
{
    QFETCH(QString, codre);
    QFETCH(QString, tipo);
    QFETCH(QString, extra);
    QFETCH(QString, balco);
    QFETCH(QString, grupo);
    QFETCH(QString, cod);
    QFETCH(int, account);
    QFETCH(int, group);
    QFETCH(int, source);

    const auto w = openWindow();
    RecordSet &set = w->records();
    // The record being edited is painted from its edit buffer.
    w->alterarButton()->click();
    QCOMPARE(set.recNo(), 1);
    set.setValue(QStringLiteral("CODRE"), codre);
    set.setValue(QStringLiteral("TIPO"), tipo);
    set.setValue(QStringLiteral("EXTRA"), extra);
    set.setValue(QStringLiteral("BALCO_TCE"), balco);
    set.setValue(QStringLiteral("GRUPO_TCE"), grupo);
    set.setValue(QStringLiteral("COD_TCE"), cod);

    QCOMPARE(int(shadeOf(cell(*w, 0, "BALCO_TCE"))), account);
    QCOMPARE(int(shadeOf(cell(*w, 0, "GRUPO_TCE"))), group);
    QCOMPARE(int(shadeOf(cell(*w, 0, "COD_TCE"))), source);
    // The other columns keep the row colour whatever the codes.
    QCOMPARE(int(shadeOf(cell(*w, 0, "CODRE"))), int(Shade::Row));
    QCOMPARE(int(shadeOf(cell(*w, 0, "EMPRESA"))), int(Shade::Row));
    // Red cells write in the window colour, the others in black.
    const QColor accountText = cell(*w, 0, "BALCO_TCE").data(Qt::ForegroundRole).value<QColor>();
    QCOMPARE(accountText, account == int(Shade::Red) ? grid::windowTextOnRed() : QColor(Qt::black));
    w->closeButton()->click(); // Cancela&r
}

void TestRevenueWindow::rowColours()
{
    const auto w = openWindow();
    // Odd record numbers, even record numbers: by position in the view.
    QCOMPARE(cell(*w, 0, "FICHA").data(Qt::BackgroundRole).value<QColor>(), QColor(215, 232, 227));
    QCOMPARE(cell(*w, 1, "FICHA").data(Qt::BackgroundRole).value<QColor>(), QColor(245, 250, 248));
    QCOMPARE(cell(*w, 2, "TIPO").data(Qt::BackgroundRole).value<QColor>(), QColor(215, 232, 227));
    QCOMPARE(cell(*w, 1, "FICHA").data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));

    // The demo's record 1 has a court account of its group and no group or source.
    const int r1 = rowOfFicha(w->records(), 1);
    QCOMPARE(int(shadeOf(cell(*w, r1, "BALCO_TCE"))), int(Shade::Row));
    QCOMPARE(int(shadeOf(cell(*w, r1, "GRUPO_TCE"))), int(Shade::Grey));

    // Filtered on the health fund (entity 3), the record numbers restart.
    const int entity3 = w->entitySelector()->findText(QStringLiteral("0003 - "), Qt::MatchStartsWith);
    w->entitySelector()->setCurrentIndex(entity3);
    QCOMPARE(w->records().valueAt(0, w->records().fieldIndex(QStringLiteral("EMPRESA"))).toInt(), 3);
    QCOMPARE(cell(*w, 0, "FICHA").data(Qt::BackgroundRole).value<QColor>(), QColor(215, 232, 227));
    QCOMPARE(cell(*w, 1, "FICHA").data(Qt::BackgroundRole).value<QColor>(), QColor(245, 250, 248));
}

void TestRevenueWindow::entityFilter()
{
    const auto w = openWindow();
    RecordSet &set = w->records();
    QComboBox *cbent = w->entitySelector();
    const int empresa = set.fieldIndex(QStringLiteral("EMPRESA"));

    struct Case {
        int entity;
        QString filter;
    };
    for (const Case &c : {Case{2, "EMPRESA = '2'"}, Case{12, "EMPRESA = '12'"}, Case{4, "EMPRESA = '4'"}}) {
        const int index = cbent->findText(QStringLiteral("%1 - ").arg(c.entity, 4, 10, QLatin1Char('0')),
                                          Qt::MatchStartsWith);
        QVERIFY(index > 0);
        cbent->setCurrentIndex(index);
        QVERIFY(set.isFiltered());
        QCOMPARE(set.filter(), c.filter);
        QCOMPARE(set.recordCount(), dbCount(QStringLiteral("SELECT COUNT(*) FROM RECDIS WHERE EMPRESA = ?"), {c.entity}));
        QVERIFY(set.recordCount() > 0);
        for (int row = 0; row < set.recordCount(); ++row)
            QCOMPARE(set.valueAt(row, empresa).toInt(), c.entity);
        QCOMPARE(w->model()->rowCount(), set.recordCount());
        QCOMPARE(set.recNo(), 1);
    }

    cbent->setCurrentIndex(0);
    QVERIFY(!set.isFiltered());
    QCOMPARE(set.recordCount(), 72);
    QCOMPARE(w->model()->rowCount(), 72);
}

void TestRevenueWindow::secondOpeningShowsEveryEntity()
{
    TFrmPrincipalXMLORVEN main;
    main.registerChild(Child::Receita, [this] { return new TFrmReceita(*m_dm); });
    main.resize(1280, 800);
    main.show();

    main.btnReceitaClick();
    QPointer<TFrmReceita> first = qobject_cast<TFrmReceita *>(main.currentChild());
    QVERIFY(first);
    QCOMPARE(first->windowTitle(), TFrmReceita::kCaption);
    const int entity3 = first->entitySelector()->findText(QStringLiteral("0003 - "), Qt::MatchStartsWith);
    first->entitySelector()->setCurrentIndex(entity3);
    QCOMPARE(m_dm->CdsRecdis->recordCount(), 9);

    main.btnReceitaClick();
    QVERIFY(first.isNull());
    auto *second = qobject_cast<TFrmReceita *>(main.currentChild());
    QVERIFY(second);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(second->entitySelector()->currentIndex(), 0);
    QCOMPARE(second->entitySelector()->currentText(), QStringLiteral("0000 - CONSOLIDADO"));
    QVERIFY(!m_dm->CdsRecdis->isFiltered());
    QVERIFY(m_dm->CdsRecdis->filter().isEmpty());
    QCOMPARE(m_dm->CdsRecdis->recordCount(), 72);
    QCOMPARE(second->model()->rowCount(), 72);

    // "Fecha&r" closes the window in browse mode, and the records with it.
    second->closeButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!main.currentChild());
    QVERIFY(!m_dm->CdsRecdis->isActive());
    QVERIFY(m_messages.entries.isEmpty());
}

// ------------------------------------------------------------ lookups

void TestRevenueWindow::lookupKeysIgnoredWhileBrowsing()
{
    const auto w = openWindow();
    int calls = 0;
    w->setDialogRunner([&](QDialog &) {
        ++calls;
        return int(QDialog::Rejected);
    });
    QTest::keyClick(w->grid(), Qt::Key_F2);
    QTest::keyClick(w->grid(), Qt::Key_F3);
    QCOMPARE(calls, 0);
    QCOMPARE(w->records().state(), RecordSet::State::Browse);
    // F2 is no "edit the cell" key either.
    QVERIFY(!w->grid()->indexWidget(w->grid()->currentIndex()));

    w->alterarButton()->click();
    QTest::keyClick(w->grid(), Qt::Key_F2);
    QCOMPARE(calls, 1);
    QTest::keyClick(w->grid(), Qt::Key_F3);
    QCOMPARE(calls, 2);
    // Cancelled lookups change nothing.
    QCOMPARE(w->records().changeCount(), 0);
    QCOMPARE(w->records().value(QStringLiteral("BALCO_TCE")), m_saved.value(1).balco);
    QVERIFY(m_messages.entries.isEmpty());
}

void TestRevenueWindow::lookupFromAnOpenEditor()
{
    // F2 pressed while a court account is being typed: the text goes into
    // the record first, then the lookup opens for that record.
    const auto w = openWindow();
    RecordSet &set = w->records();
    w->alterarButton()->click();
    const QModelIndex index = cell(*w, rowOfFicha(set, 3), "BALCO_TCE");
    w->grid()->setCurrentIndex(index);
    w->grid()->edit(index);
    QWidget *editor = w->grid()->indexWidget(index);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("1.1.12"));

    int calls = 0;
    QString filter;
    QVariant typed;
    w->setDialogRunner([&](QDialog &d) {
        ++calls;
        filter = static_cast<TFrmPesPlano &>(d).CdsPlano().filter();
        typed = set.value(QStringLiteral("BALCO_TCE"));
        return int(QDialog::Rejected);
    });
    QTest::keyClick(editor, Qt::Key_F2);
    QCOMPARE(calls, 1);
    QCOMPARE(filter, QStringLiteral("TIPO = 'R' AND CODTIPO = 101"));
    QCOMPARE(typed.toString(), QStringLiteral("1.1.12"));
    QCOMPARE(set.value(QStringLiteral("FICHA")).toInt(), 3);
    QVERIFY(!w->grid()->indexWidget(index));
}

void TestRevenueWindow::lookupFilters_data()
{
    QTest::addColumn<int>("ficha");
    QTest::addColumn<int>("key"); // 2 or 3
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("groups"); // CODTIPO of every row offered

    QTest::newRow("F2 revenue 1") << 1 << 2 << true << "TIPO = 'R' AND CODTIPO = 101" << "101";
    QTest::newRow("F2 revenue 2") << 30 << 2 << true << "TIPO = 'R' AND CODTIPO = 102" << "102";
    QTest::newRow("F2 revenue 7") << 57 << 2 << true << "TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103"
                                  << "103,108";
    QTest::newRow("F2 deduction, budgetary") << 11 << 2 << true << "TIPO = 'R' AND CODTIPO ='001'" << "001";
    QTest::newRow("F2 extra-budgetary: no dialog") << 65 << 2 << false << "" << "";
    QTest::newRow("F3 ordinary revenue") << 1 << 3 << true
                                         << "TIPO = 'V' AND CODTIPO <> '205' AND CODTIPO <> '206'"
                                         << "004,009,105,106";
    QTest::newRow("F3 kind SD") << 36 << 3 << true
                                << "TIPO = 'V' AND CODTIPO = '106' AND CODTIPO <> '205' AND CODTIPO <> '206'" << "106";
    QTest::newRow("F3 kind FU") << 44 << 3 << true << "TIPO = 'V' AND CODTIPO = '105'" << "105";
    QTest::newRow("F3 kind EI") << 50 << 3 << true << "TIPO = 'V' AND CODTIPO = '105'" << "105";
    QTest::newRow("F3 transfer 211") << 30 << 3 << true << "TIPO = 'V' AND CODTIPO = '009'" << "009";
    QTest::newRow("F3 extra-budgetary") << 65 << 3 << true
                                        << "TIPO = 'V' AND CODTIPO <> '205' AND CODTIPO <> '206'"
                                        << "004,009,105,106";
}

void TestRevenueWindow::lookupFilters()
{
    QFETCH(int, ficha);
    QFETCH(int, key);
    QFETCH(bool, dialog);
    QFETCH(QString, filter);
    QFETCH(QString, groups);

    const auto w = openWindow();
    RecordSet &set = w->records();
    QVERIFY(set.locate(QStringLiteral("FICHA"), ficha));
    w->alterarButton()->click();

    ChartAnswer answer;
    w->setDialogRunner([&](QDialog &d) {
        auto *lookup = qobject_cast<TFrmPesPlano *>(&d);
        if (!lookup)
            return int(QDialog::Rejected);
        ++answer.calls;
        lookup->show(); // reads the chart afresh; the caller's filter applies
        RecordSet &plano = lookup->CdsPlano();
        answer.filter = plano.filter();
        answer.filtered = plano.isFiltered();
        answer.groups = distinct(plano, QStringLiteral("CODTIPO"));
        answer.rows = plano.recordCount();
        // The last row offered is the one chosen.
        lookup->navigation()->button(3)->click();
        answer.chosenGroup = plano.value(QStringLiteral("CODTIPO")).toString();
        answer.chosenCode = plano.value(QStringLiteral("NUM_CONTABIL")).toString();
        lookup->confirmButton()->click();
        return lookup->result();
    });
    QTest::keyClick(w->grid(), key == 2 ? Qt::Key_F2 : Qt::Key_F3);

    QCOMPARE(answer.calls, dialog ? 1 : 0);
    if (!dialog) {
        QCOMPARE(set.changeCount() + int(set.isModified()), 0);
        return;
    }
    QCOMPARE(answer.filter, filter);
    QVERIFY(answer.filtered);
    QVERIFY(answer.rows > 0);
    QCOMPARE(answer.groups.join(QLatin1Char(',')), groups);

    // The chosen row is copied into the record (still the same record).
    QCOMPARE(set.value(QStringLiteral("FICHA")).toInt(), ficha);
    if (key == 2) {
        QCOMPARE(set.value(QStringLiteral("BALCO_TCE")).toString(), answer.chosenCode);
        QCOMPARE(set.value(QStringLiteral("GRUPO_TCE")), m_saved.value(ficha).grupo);
        QCOMPARE(int(shadeOf(cell(*w, set.recNo() - 1, "BALCO_TCE"))), int(Shade::Row));
    } else {
        QCOMPARE(set.value(QStringLiteral("GRUPO_TCE")).toString(), answer.chosenGroup);
        QCOMPARE(set.value(QStringLiteral("COD_TCE")).toString(), answer.chosenCode);
        QCOMPARE(set.value(QStringLiteral("BALCO_TCE")), m_saved.value(ficha).balco);
        QCOMPARE(int(shadeOf(cell(*w, set.recNo() - 1, "GRUPO_TCE"))), int(Shade::Row));
    }
    QVERIFY(set.isModified());
    // Not in the database until "&Confirmar".
    QCOMPARE(dbValue(ficha, QStringLiteral("COD_TCE")), m_saved.value(ficha).cod);
    QVERIFY(m_messages.entries.isEmpty());
}

void TestRevenueWindow::lookupWithoutRowKeepsCodes()
{
    // Record 36 (kind SD) holds 106 / 1.10. A search that finds nothing
    // leaves no row to take: the record keeps its codes even if the dialog
    // answers OK.
    const auto w = openWindow();
    RecordSet &set = w->records();
    QVERIFY(set.locate(QStringLiteral("FICHA"), 36));
    w->alterarButton()->click();
    bool confirmEnabled = true;
    w->setDialogRunner([&](QDialog &d) {
        auto &lookup = static_cast<TFrmPesPlano &>(d);
        lookup.show();
        lookup.setSearchOption(0); // Grupo
        lookup.searchBox()->setText(QStringLiteral("999"));
        lookup.localizarButton()->click();
        confirmEnabled = lookup.confirmButton()->isEnabled();
        lookup.accept();
        return lookup.result();
    });
    QTest::keyClick(w->grid(), Qt::Key_F3);
    QVERIFY(!confirmEnabled);
    QCOMPARE(set.value(QStringLiteral("GRUPO_TCE")).toString(), QStringLiteral("106"));
    QCOMPARE(set.value(QStringLiteral("COD_TCE")).toString(), QStringLiteral("1.10"));
    QVERIFY(!set.isModified());
    QCOMPARE(set.changeCount(), 0);
}

// ------------------------------------------------------------ saving, cancelling, closing

void TestRevenueWindow::confirmWithoutChanges()
{
    const auto w = openWindow();
    w->alterarButton()->click();
    m_dm->applyErrorCount = 7;
    w->confirmarButton()->click();
    QVERIFY(!w->isEditMode());
    QVERIFY(m_messages.entries.isEmpty());
    QCOMPARE(m_dm->applyErrorCount, 0);
    QVERIFY(!m_dm->inTransaction());
    QVERIFY(!TfrmAguardeVista::current());
    QCOMPARE(w->closeButton()->text(), QStringLiteral("Fecha&r"));
    QVERIFY(w->alterarButton()->isEnabled() && w->classifButton()->isEnabled());
    QVERIFY(!w->confirmarButton()->isEnabled());
}

void TestRevenueWindow::typedValueSavedByConfirm()
{
    const auto w = openWindow();
    RecordSet &set = w->records();
    const int row = rowOfFicha(set, 2); // 1112.04.31, no court account yet
    QVERIFY(m_saved.value(2).balco.isNull());
    QCOMPARE(int(shadeOf(cell(*w, row, "BALCO_TCE"))), int(Shade::Grey));

    // Browse mode: a double click enters edit mode.
    const QModelIndex index = cell(*w, row, "BALCO_TCE");
    w->grid()->setCurrentIndex(index);
    const QRect rect = w->grid()->visualRect(index);
    QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(!w->isEditMode());
    QTest::mouseDClick(w->grid()->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(w->isEditMode());
    w->grid()->commitOpenEditor();

    // Typed into the cell, then "&Confirmar" while the editor is still open.
    w->grid()->setCurrentIndex(index);
    w->grid()->edit(index);
    QWidget *editor = w->grid()->indexWidget(index);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("1.1.12.00.00"));
    w->confirmarButton()->click();

    QVERIFY(!w->isEditMode());
    QVERIFY(m_messages.entries.isEmpty());
    QCOMPARE(dbValue(2, QStringLiteral("BALCO_TCE")).toString(), QStringLiteral("1.1.12.00.00"));
    QCOMPARE(set.changeCount(), 0);
    QVERIFY(!m_dm->inTransaction());
    QCOMPARE(int(shadeOf(cell(*w, row, "BALCO_TCE"))), int(Shade::Row));
    // The other records are as they were.
    QCOMPARE(dbValue(3, QStringLiteral("BALCO_TCE")), m_saved.value(3).balco);
}

void TestRevenueWindow::refusedConfirmKeepsChanges()
{
    const auto w = openWindow();
    RecordSet &set = w->records();
    w->alterarButton()->click();
    RecordSetModel *model = w->model();
    QVERIFY(model->setData(cell(*w, rowOfFicha(set, 3), "BALCO_TCE"), QStringLiteral("1.1.12.08.00")));
    QVERIFY(model->setData(cell(*w, rowOfFicha(set, 5), "BALCO_TCE"), QStringLiteral("1.1.21.25.00")));
    // Another workstation changes record 5 meanwhile: the window's change
    // no longer finds the row as it was read.
    m_dm->Conexao->execute(QStringLiteral("UPDATE RECDIS SET LEGIS = 'Alterado em outra estação' WHERE FICHA = 5"));

    w->confirmarButton()->click();
    QCOMPARE(m_messages.entries.size(), 1);
    QCOMPARE(m_messages.entries.at(0).text, QStringLiteral("Erro ao Gravar os Dados!!!"));
    QCOMPARE(m_messages.entries.at(0).caption, QStringLiteral("Erro"));
    QCOMPARE(m_messages.entries.at(0).icon, Icon::Error);
    QCOMPARE(m_dm->applyErrorCount, 1);
    QVERIFY(!m_dm->inTransaction());
    QVERIFY(!TfrmAguardeVista::current());
    // Nothing reached the database, record 3 included (rolled back) ...
    QCOMPARE(dbValue(3, QStringLiteral("BALCO_TCE")), m_saved.value(3).balco);
    QCOMPARE(dbValue(5, QStringLiteral("BALCO_TCE")), m_saved.value(5).balco);
    // ... and both changes are still there, in edit mode.
    QVERIFY(w->isEditMode());
    QVERIFY(w->confirmarButton()->isEnabled());
    QCOMPARE(w->closeButton()->text(), QStringLiteral("Cancela&r"));
    QCOMPARE(set.changeCount(), 2);
    QCOMPARE(set.valueAt(rowOfFicha(set, 3), set.fieldIndex(QStringLiteral("BALCO_TCE"))).toString(),
             QStringLiteral("1.1.12.08.00"));

    // Once the other change is undone the same changes save.
    m_dm->Conexao->execute(QStringLiteral("UPDATE RECDIS SET LEGIS = ? WHERE FICHA = 5"), {m_saved.value(5).legis});
    m_messages.entries.clear();
    w->confirmarButton()->click();
    QVERIFY(m_messages.entries.isEmpty());
    QVERIFY(!w->isEditMode());
    QCOMPARE(m_dm->applyErrorCount, 0);
    QCOMPARE(dbValue(3, QStringLiteral("BALCO_TCE")).toString(), QStringLiteral("1.1.12.08.00"));
    QCOMPARE(dbValue(5, QStringLiteral("BALCO_TCE")).toString(), QStringLiteral("1.1.21.25.00"));
    QCOMPARE(set.changeCount(), 0);
}

void TestRevenueWindow::cancelRestoresDatabaseValues()
{
    const auto w = openWindow();
    RecordSet &set = w->records();
    w->alterarButton()->click();
    const int r36 = rowOfFicha(set, 36);
    QVERIFY(w->model()->setData(cell(*w, r36, "GRUPO_TCE"), QStringLiteral("105")));
    QVERIFY(w->model()->setData(cell(*w, rowOfFicha(set, 2), "BALCO_TCE"), kAcc101));
    // A third value typed but not yet left.
    const QModelIndex open = cell(*w, rowOfFicha(set, 6), "COD_TCE");
    w->grid()->setCurrentIndex(open);
    w->grid()->edit(open);
    QVERIFY(w->grid()->indexWidget(open));
    QTest::keyClicks(w->grid()->indexWidget(open), QStringLiteral("9.99"));
    QCOMPARE(int(shadeOf(cell(*w, r36, "GRUPO_TCE"))), int(Shade::Red));

    w->closeButton()->click(); // Cancela&r
    QVERIFY(!w->isEditMode());
    QCOMPARE(w->closeButton()->text(), QStringLiteral("Fecha&r"));
    QCOMPARE(set.changeCount(), 0);
    QVERIFY(!set.isModified());
    const int grupo = set.fieldIndex(QStringLiteral("GRUPO_TCE"));
    const int balco = set.fieldIndex(QStringLiteral("BALCO_TCE"));
    const int cod = set.fieldIndex(QStringLiteral("COD_TCE"));
    QCOMPARE(set.valueAt(r36, grupo).toString(), QStringLiteral("106"));
    QVERIFY(set.valueAt(rowOfFicha(set, 2), balco).isNull());
    QVERIFY(set.valueAt(rowOfFicha(set, 6), cod).isNull());
    QCOMPARE(int(shadeOf(cell(*w, r36, "GRUPO_TCE"))), int(Shade::Row));
    QCOMPARE(dbValue(36, QStringLiteral("GRUPO_TCE")).toString(), QStringLiteral("106"));
    QVERIFY(dbValue(6, QStringLiteral("COD_TCE")).isNull());
    QVERIFY(m_messages.entries.isEmpty());
    // Still open: "Fecha&r" now closes it.
    QVERIFY(set.isActive());
}

void TestRevenueWindow::closingDiscardsChanges()
{
    auto w = openWindow();
    w->alterarButton()->click();
    QVERIFY(w->model()->setData(cell(*w, rowOfFicha(w->records(), 8), "GRUPO_TCE"), QStringLiteral("009")));
    QVERIFY(w->close());
    QVERIFY(m_messages.entries.isEmpty()); // no question
    QVERIFY(!m_dm->CdsRecdis->isActive());
    QVERIFY(!m_dm->inTransaction());
    w.reset();
    QVERIFY(dbValue(8, QStringLiteral("GRUPO_TCE")).isNull());

    // A new window shows what the database holds.
    const auto again = openWindow();
    QVERIFY(again->records().valueAt(rowOfFicha(again->records(), 8),
                                     again->records().fieldIndex(QStringLiteral("GRUPO_TCE")))
                .isNull());
}

void TestRevenueWindow::noRowBelowTheLast()
{
    const auto w = openWindow();
    RecordSet &set = w->records();
    w->alterarButton()->click();
    w->navigation()->button(3)->click(); // last
    QCOMPARE(set.recNo(), 72);
    w->grid()->setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_Down})
        QTest::keyClick(w->grid(), key);
    QCOMPARE(set.recordCount(), 72);
    QCOMPARE(w->model()->rowCount(), 72);
    QCOMPARE(set.recNo(), 72);
    QCOMPARE(w->grid()->currentIndex().row(), 71);
    QCOMPARE(set.changeCount(), 0);

    // The navigation buttons walk the view.
    w->navigation()->button(0)->click();
    QCOMPARE(set.recNo(), 1);
    w->navigation()->button(2)->click();
    w->navigation()->button(2)->click();
    w->navigation()->button(1)->click();
    QCOMPARE(set.recNo(), 2);
    QCOMPARE(w->grid()->currentIndex().row(), 1);
    w->navigation()->button(1)->click();
    w->navigation()->button(1)->click();
    QCOMPARE(set.recNo(), 1);
    QVERIFY(m_messages.entries.isEmpty());
}

void TestRevenueWindow::automaticClassificationOfOneEntity()
{
    // Record 47 of the FUNDEB (entity 4) is of kind EF with a budget; 50 is
    // of kind EI without one; 71 is extra-budgetary.
    const auto w = openWindow();
    const int entity4 = w->entitySelector()->findText(QStringLiteral("0004 - "), Qt::MatchStartsWith);
    w->entitySelector()->setCurrentIndex(entity4);

    // Not in edit mode.
    w->alterarButton()->click();
    QVERIFY(!w->classifButton()->isEnabled());
    w->btnclassClick();
    QVERIFY(m_messages.entries.isEmpty());
    w->closeButton()->click();

    w->classifButton()->click();
    QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("Classificação efetuada com Sucesso!!!")});
    QCOMPARE(m_messages.entries.at(0).caption, QStringLiteral("Atenção"));
    QCOMPARE(m_messages.entries.at(0).icon, Icon::Information);
    QVERIFY(!TfrmAguardeVista::current());
    QVERIFY(!m_dm->inTransaction());
    QVERIFY(!w->isEditMode());
    QVERIFY(w->classifButton()->isEnabled() && w->grid()->isEnabled());
    QCOMPARE(w->lastClassification().records, 10);

    QCOMPARE(dbValue(47, QStringLiteral("GRUPO_TCE")).toString(), QStringLiteral("105"));
    QCOMPARE(dbValue(47, QStringLiteral("COD_TCE")).toString(), QStringLiteral("6.00"));
    QCOMPARE(dbValue(50, QStringLiteral("GRUPO_TCE")).toString(), QStringLiteral("105"));
    QCOMPARE(dbValue(50, QStringLiteral("COD_TCE")).toString(), QStringLiteral("7.00"));
    QVERIFY(!dbValue(47, QStringLiteral("BALCO_TCE")).toString().isEmpty());
    for (const char *column : {"BALCO_TCE", "GRUPO_TCE", "COD_TCE"})
        QVERIFY(dbValue(71, QLatin1String(column)).isNull());
    // The other entities' records were not part of the run.
    const db::ResultSet others = m_dm->Conexao->select(
        QStringLiteral("SELECT FICHA, BALCO_TCE, GRUPO_TCE, COD_TCE FROM RECDIS WHERE EMPRESA <> 4"));
    QCOMPARE(others.rows.size(), 62);
    for (const db::Row &r : others.rows) {
        const Saved s = m_saved.value(r.value(0).toInt());
        QCOMPARE(r.value(1), s.balco);
        QCOMPARE(r.value(2), s.grupo);
        QCOMPARE(r.value(3), s.cod);
    }
    // The window shows the new codes, still on the entity.
    QCOMPARE(w->records().recordCount(), 10);
    QCOMPARE(w->records().recNo(), 1);
    const int r50 = rowOfFicha(w->records(), 50);
    QCOMPARE(cell(*w, r50, "COD_TCE").data().toString(), QStringLiteral("7.00"));
    QCOMPARE(int(shadeOf(cell(*w, r50, "COD_TCE"))), int(Shade::Row));
}

// ------------------------------------------------------------ the lookup dialogs

void TestRevenueWindow::chartSearch_data()
{
    QTest::addColumn<QString>("callerFilter");
    QTest::addColumn<int>("option"); // 0 Grupo, 1 Código, 2 Descrição Código Contabil
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enter"); // Enter in the search box instead of "&Localizar"
    QTest::addColumn<QString>("countSql"); // the rows expected, counted by the database
    QTest::addColumn<QVariantList>("params");

    const QString all = QStringLiteral(
        "SELECT COUNT(*) FROM ORVEN_CONPLA A INNER JOIN ORVEN_TIPO B ON B.CODTIPO = A.CODTIPO WHERE ");
    QTest::newRow("group") << "" << 0 << "101" << false << all + "A.CODTIPO = '101'" << QVariantList{};
    QTest::newRow("group, by Enter") << "" << 0 << "106" << true << all + "A.CODTIPO = '106'" << QVariantList{};
    QTest::newRow("group outside the caller's filter") << "TIPO = 'V'" << 0 << "101" << false << all + "1 = 0"
                                                       << QVariantList{};
    QTest::newRow("blanks: the whole chart within the filter")
        << "TIPO = 'R'" << 2 << "   " << true << all + "B.TIPO = 'R'" << QVariantList{};
    QTest::newRow("code prefix") << "" << 1 << "1.1.1" << false << all + "A.NUM_CONTABIL STARTING WITH '1.1.1'"
                                 << QVariantList{};
    QTest::newRow("code prefix within the filter")
        << "TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103" << 1 << "7.2" << false
        << all + "A.NUM_CONTABIL STARTING WITH '7.2' AND A.CODTIPO IN ('108', '103')" << QVariantList{};
    QTest::newRow("leading blank kept") << "" << 1 << " 1.1" << false << all + "1 = 0" << QVariantList{};
    QTest::newRow("description contains") << "" << 2 << "Transfer" << true << all + "A.DESC_CONTABIL LIKE ?"
                                          << QVariantList{QStringLiteral("%Transfer%")};
    QTest::newRow("description, other case") << "" << 2 << "transferências" << false
                                             << all + "A.DESC_CONTABIL LIKE ?"
                                             << QVariantList{QStringLiteral("%transferências%")};
    QTest::newRow("quote in the description") << "" << 2 << "d'Água" << false << all + "A.NUM_CONTABIL = ?"
                                              << QVariantList{kQuoteAccount};
    QTest::newRow("quote cannot add a condition") << "" << 1 << "x' OR '1' = '1" << false << all + "1 = 0"
                                                  << QVariantList{};
    QTest::newRow("quote in a group") << "" << 0 << "10'1" << true << all + "1 = 0" << QVariantList{};
}

void TestRevenueWindow::chartSearch()
{
    QFETCH(QString, callerFilter);
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(bool, enter);
    QFETCH(QString, countSql);
    QFETCH(QVariantList, params);

    TFrmPesPlano dialog(*m_dm->Conexao);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Pesquisa Plano de Contas do ORVEN"));
    RecordSet &plano = dialog.CdsPlano();
    plano.setFiltered(true);
    plano.setFilter(callerFilter);
    dialog.show();
    QVERIFY(plano.isActive());
    QCOMPARE(dialog.searchOptions().at(0)->text(), QStringLiteral("Grupo"));
    QVERIFY(dialog.searchOptions().at(0)->isChecked());

    dialog.setSearchOption(option);
    dialog.searchBox()->setText(text);
    if (enter)
        QTest::keyClick(dialog.searchBox(), Qt::Key_Return);
    else
        dialog.localizarButton()->click();

    QVERIFY2(m_messages.entries.isEmpty(), qPrintable(m_messages.texts().join('\n')));
    QVERIFY(dialog.isVisible()); // Enter searched, it did not answer the dialog
    QVERIFY(plano.isFiltered());
    QCOMPARE(plano.filter(), callerFilter);
    QCOMPARE(plano.recordCount(), dbCount(countSql, params));
    QCOMPARE(dialog.model()->rowCount(), plano.recordCount());
    QCOMPARE(dialog.confirmButton()->isEnabled(), plano.recordCount() > 0);
    // Ordered by group and account.
    QString previous;
    for (int row = 0; row < plano.recordCount(); ++row) {
        const QString key = plano.valueAt(row, plano.fieldIndex(QStringLiteral("CODTIPO"))).toString() + '|' +
                            plano.valueAt(row, plano.fieldIndex(QStringLiteral("NUM_CONTABIL"))).toString();
        QVERIFY(previous <= key);
        previous = key;
    }
}

void TestRevenueWindow::categorySearch_data()
{
    QTest::addColumn<int>("option"); // 0 Cat.Econ., 1 Descrição
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QVariantList>("params");

    QTest::newRow("everything") << 0 << "" << "1 = 1" << QVariantList{};
    QTest::newRow("blanks: everything") << 1 << "   " << "1 = 1" << QVariantList{};
    QTest::newRow("category prefix") << 0 << "3.1.90" << "CATEC STARTING WITH '3.1.90'" << QVariantList{};
    QTest::newRow("blanks around are ignored") << 0 << "  3.1.90  " << "CATEC STARTING WITH '3.1.90'"
                                               << QVariantList{};
    QTest::newRow("description contains") << 1 << "Pessoal" << "NOME LIKE ?"
                                          << QVariantList{QStringLiteral("%Pessoal%")};
    QTest::newRow("quote in the description") << 1 << "d'Água" << "CATEC = ?" << QVariantList{kQuoteCategory};
    QTest::newRow("quote cannot add a condition") << 0 << "3' OR '1' = '1" << "1 = 0" << QVariantList{};
}

void TestRevenueWindow::categorySearch()
{
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(QString, where);
    QFETCH(QVariantList, params);

    TFrmPesCatec dialog(*m_dm->Conexao);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Pesquisa TabCatec"));
    dialog.openResultSet();
    RecordSet &catec = dialog.CdsCatec();
    QCOMPARE(catec.recordCount(), dbCount(QStringLiteral("SELECT COUNT(*) FROM TABCATEC")));
    dialog.show();
    QCOMPARE(dialog.searchOptions().at(0)->text(), QStringLiteral("Cat.Econ."));
    dialog.setSearchOption(option);
    dialog.searchBox()->setText(text);
    QTest::keyClick(dialog.searchBox(), Qt::Key_Enter);

    QVERIFY2(m_messages.entries.isEmpty(), qPrintable(m_messages.texts().join('\n')));
    QVERIFY(dialog.isVisible());
    QCOMPARE(catec.recordCount(), dbCount(QStringLiteral("SELECT COUNT(*) FROM TABCATEC WHERE ") + where, params));
    QCOMPARE(dialog.confirmButton()->isEnabled(), catec.recordCount() > 0);
}

void TestRevenueWindow::dialogAnswers()
{
    {
        // A double click answers OK with the row clicked.
        TFrmPesPlano dialog(*m_dm->Conexao);
        dialog.CdsPlano().setFiltered(true);
        dialog.CdsPlano().setFilter(QStringLiteral("TIPO = 'V' AND CODTIPO = '106'"));
        dialog.show();
        QCOMPARE(dialog.CdsPlano().recordCount(), 6);
        const QModelIndex index = dialog.model()->index(3, 2);
        QTest::mouseClick(dialog.grid()->viewport(), Qt::LeftButton, {}, dialog.grid()->visualRect(index).center());
        QTest::mouseDClick(dialog.grid()->viewport(), Qt::LeftButton, {}, dialog.grid()->visualRect(index).center());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CdsPlano().recNo(), 4);
        QCOMPARE(dialog.CdsPlano().value(QStringLiteral("NUM_CONTABIL")).toString(),
                 dialog.model()->index(3, 2).data().toString());
    }
    {
        // "Fecha&r" answers Cancel.
        TFrmPesPlano dialog(*m_dm->Conexao);
        dialog.show();
        QCOMPARE(dialog.closeButton()->text(), QStringLiteral("Fecha&r"));
        dialog.closeButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        // The category dialog opens on the caller's category.
        TFrmPesCatec dialog(*m_dm->Conexao);
        dialog.openResultSet();
        QVERIFY(dialog.position(QStringLiteral("3.1.90.11.00")));
        QVERIFY(!dialog.position(QStringLiteral("8.8.88.88.88")));
        dialog.show();
        QCOMPARE(dialog.CdsCatec().value(QStringLiteral("CATEC")).toString(), QStringLiteral("3.1.90.11.00"));
        QCOMPARE(dialog.grid()->currentIndex().row(), dialog.CdsCatec().recNo() - 1);
        dialog.confirmButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QVERIFY(m_messages.entries.isEmpty());
}

// ------------------------------------------------------------ screenshots

void TestRevenueWindow::screenshots()
{
    // A few codes that the chart does not hold, so that the pictures show
    // the three states (cleanup() puts the demo's codes back).
    m_dm->Conexao->execute(QStringLiteral("UPDATE RECDIS SET BALCO_TCE = '1.1.21.25.99' WHERE FICHA = 5"));
    m_dm->Conexao->execute(QStringLiteral("UPDATE RECDIS SET GRUPO_TCE = '105', COD_TCE = '6.00' WHERE FICHA = 37"));
    m_dm->Conexao->execute(QStringLiteral("UPDATE RECDIS SET BALCO_TCE = '1.1.12.04.31' WHERE FICHA = 2"));

    TFrmPrincipalXMLORVEN main;
    main.setExerciseYear(QStringLiteral("2008"));
    main.registerChild(Child::Receita, [this] { return new TFrmReceita(*m_dm); });
    main.resize(1366, 768);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.btnReceitaClick();
    auto *w = qobject_cast<TFrmReceita *>(main.currentChild());
    QVERIFY(w);
    QVERIFY(w->records().locate(QStringLiteral("FICHA"), 4));
    w->grid()->setCurrentIndex(cell(*w, 3, "CODRE"));
    QTest::qWait(20);
    renderToPng(&main, screenshotDir() + QStringLiteral("revenue-window-browse.png"));

    // Edit mode, on the health fund's records: codes given, and a group
    // being typed into record 43.
    w->alterarButton()->click();
    RecordSet &set = w->records();
    QVERIFY(w->model()->setData(cell(*w, rowOfFicha(set, 41), "GRUPO_TCE"), QStringLiteral("106")));
    QVERIFY(w->model()->setData(cell(*w, rowOfFicha(set, 41), "COD_TCE"), QStringLiteral("3.00")));
    QVERIFY(w->model()->setData(cell(*w, rowOfFicha(set, 42), "BALCO_TCE"), QStringLiteral("1.3.25.01.00")));
    const QModelIndex typing = cell(*w, rowOfFicha(set, 43), "GRUPO_TCE");
    w->grid()->scrollTo(cell(*w, rowOfFicha(set, 28), "FICHA"), QAbstractItemView::PositionAtTop);
    w->grid()->setCurrentIndex(typing);
    w->grid()->edit(typing);
    QTest::keyClicks(w->grid()->indexWidget(typing), QStringLiteral("106"));
    QTest::qWait(20);
    renderToPng(&main, screenshotDir() + QStringLiteral("revenue-window-edit.png"));
    QCOMPARE(int(shadeOf(cell(*w, rowOfFicha(w->records(), 5), "BALCO_TCE"))), int(Shade::Red));
    QCOMPARE(int(shadeOf(cell(*w, rowOfFicha(w->records(), 37), "GRUPO_TCE"))), int(Shade::Red));

    // The two lookups as F2 and F3 show them.
    {
        TFrmPesPlano dialog(*m_dm->Conexao, &main);
        dialog.CdsPlano().setFiltered(true);
        dialog.CdsPlano().setFilter(QStringLiteral("TIPO = 'R' AND CODTIPO = 101"));
        dialog.show();
        dialog.setSearchOption(1);
        dialog.searchBox()->setText(QStringLiteral("1.7.2"));
        dialog.localizarButton()->click();
        dialog.CdsPlano().setRecNo(5);
        dialog.grid()->setCurrentIndex(dialog.model()->index(4, 2));
        QTest::qWait(20);
        renderToPng(&dialog, screenshotDir() + QStringLiteral("lookup-plano.png"));
    }
    {
        TFrmPesCatec dialog(*m_dm->Conexao, &main);
        dialog.openResultSet();
        dialog.position(QStringLiteral("3.1.90.11.00"));
        dialog.show();
        QTest::qWait(20);
        renderToPng(&dialog, screenshotDir() + QStringLiteral("lookup-catec.png"));
    }
    w->closeButton()->click();
    QVERIFY(m_messages.entries.isEmpty());
}

QTEST_MAIN(TestRevenueWindow)
#include "tst_revenuewindow.moc"
