// The grid model over a record set: columns and display texts, following
// the set's notifications (and not while its controls are disabled), the
// grid's current row and the set's cursor in step, editing through the
// model with the post on row change, colour hooks, and large sets.

#include "RecordingMessages.h"
#include "common/RecordSetModel.h"
#include "db/RecordSet.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace orven;
using namespace orven::db;
using namespace orven::ui;
using orven::test::RecordingMessages;

namespace {

QList<ColumnInfo> recdisColumns()
{
    return {
        {QStringLiteral("FICHA"), QStringLiteral("RECDIS"), QStringLiteral("FICHA"), FieldType::Integer, 0, 0, false},
        {QStringLiteral("CODRE"), QStringLiteral("RECDIS"), QStringLiteral("CODRE"), FieldType::String, 13, 0, true},
        {QStringLiteral("TOTOR"), QStringLiteral("RECDIS"), QStringLiteral("TOTOR"), FieldType::Float, 0, 0, true},
        {QStringLiteral("EMPRESA"), QStringLiteral("RECDIS"), QStringLiteral("EMPRESA"), FieldType::Integer, 0, 0, true},
        {QStringLiteral("BALCO_TCE"), QStringLiteral("RECDIS"), QStringLiteral("BALCO_TCE"), FieldType::String, 18, 0,
         true},
    };
}

// Record i (from 0): FICHA i+1, entity i % 3, budget 1234.5 * i, court
// account set on every fourth record.
QList<Row> recdisRows(int count)
{
    QList<Row> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        rows.append({i + 1, QStringLiteral("1.1.12.%1").arg(i % 100, 2, 10, QLatin1Char('0')), 1234.5 * i, i % 3,
                     i % 4 == 0 ? QVariant(QStringLiteral("1.1.12.02.00")) : QVariant()});
    }
    return rows;
}

QList<GridColumn> gridColumns()
{
    return {
        {QStringLiteral("FICHA"), QStringLiteral("Ficha"), Qt::AlignCenter},
        {QStringLiteral("CODRE"), QStringLiteral("Rec. ZUNT"), Qt::AlignLeft | Qt::AlignVCenter},
        {QStringLiteral("TOTOR"), QStringLiteral("Orçado"), Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("EMPRESA"), QStringLiteral("Entidade"), Qt::AlignCenter, true},
        {QStringLiteral("BALCO_TCE"), QStringLiteral("Plano TCE (F2)"), Qt::AlignCenter, true, 140},
        {QStringLiteral("SEM_CAMPO"), QStringLiteral("Sem campo"), Qt::AlignCenter},
    };
}

enum Col { Ficha, Codre, Totor, Empresa, Balco, Missing };

// A record set of `rows` revenue records shown in a grid.
struct Grid {
    explicit Grid(int rows = 30)
    {
        set.setFieldDecls({{QStringLiteral("TOTOR"), FieldType::Float, 0, false, QStringLiteral("#,0.00")}});
        set.openRows(recdisColumns(), recdisRows(rows));
        model = std::make_unique<RecordSetModel>(set);
        model->setColumns(gridColumns());
        view = std::make_unique<QTableView>();
        RecordSetModel::configureGrid(view.get());
        model->attachView(view.get());
        view->resize(640, 360);
    }
    bool show()
    {
        view->show();
        return QTest::qWaitForWindowExposed(view.get());
    }
    int viewRow() const { return view->currentIndex().row(); }
    QString text(int row, int column) const { return model->index(row, column).data().toString(); }

    RecordSet set{QStringLiteral("CdsRecdis")};
    std::unique_ptr<RecordSetModel> model;
    std::unique_ptr<QTableView> view;
};

} // namespace

class TestRecordSetModel : public QObject {
    Q_OBJECT

private slots:
    void columnsAndTexts_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << 2 << int(Ficha) << QStringLiteral("3");
        QTest::newRow("display format") << 3 << int(Totor) << QStringLiteral("3.703,50");
        QTest::newRow("zero with format") << 0 << int(Totor) << QStringLiteral("0,00");
        QTest::newRow("text") << 12 << int(Codre) << QStringLiteral("1.1.12.12");
        QTest::newRow("null text") << 1 << int(Balco) << QString();
        QTest::newRow("set text") << 4 << int(Balco) << QStringLiteral("1.1.12.02.00");
        QTest::newRow("field the set lacks") << 0 << int(Missing) << QString();
    }
    void columnsAndTexts()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        Grid g;
        QCOMPARE(g.model->rowCount(), 30);
        QCOMPARE(g.model->columnCount(), 6);
        QCOMPARE(g.text(row, column), text);
        QCOMPARE(g.model->headerData(column, Qt::Horizontal).toString(), gridColumns().at(column).caption);
        QCOMPARE(g.model->index(row, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 gridColumns().at(column).alignment);
        QCOMPARE(g.model->fieldIndex(int(Missing)), -1);
        QCOMPARE(g.model->columnOfField(QStringLiteral("balco_tce")), int(Balco));
        QCOMPARE(g.view->columnWidth(int(Balco)), 140);
    }

    // Opening, filtering and closing reach the grid as one reset each; the
    // cursor and the grid's current row stay together.
    void followsTheSet()
    {
        Grid g;
        QSignalSpy resets(g.model.get(), &QAbstractItemModel::modelReset);
        g.set.setFilter(QStringLiteral("EMPRESA = 1"));
        g.set.setFiltered(true);
        QCOMPARE(g.model->rowCount(), 10);
        QCOMPARE(g.text(0, Ficha), QStringLiteral("2"));
        QCOMPARE(g.viewRow(), 0);
        QVERIFY(resets.count() >= 1);

        g.set.close();
        QCOMPARE(g.model->rowCount(), 0);
        QVERIFY(!g.model->index(0, 0).data().isValid());

        g.set.openRows(recdisColumns(), recdisRows(5));
        QCOMPARE(g.model->rowCount(), 2); // the filter holds: records 2 and 5
        QCOMPARE(g.text(1, Ficha), QStringLiteral("5"));
        QCOMPARE(g.text(1, Totor), QStringLiteral("4.938,00"));
        QCOMPARE(g.viewRow(), 0);
    }

    // While the controls are disabled the grid hears nothing and is not
    // repainted from the set; asking it for rows that went away is harmless.
    // Enabling them again shows the set as it is, on the cursor's row.
    void disabledControls()
    {
        Grid g;
        QVERIFY(g.show());
        QSignalSpy resets(g.model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy changes(g.model.get(), &QAbstractItemModel::dataChanged);
        g.set.disableControls();
        g.set.setFilter(QStringLiteral("EMPRESA = 2"));
        g.set.setFiltered(true);
        g.set.setRecNo(4);
        g.set.edit();
        g.set.setValue(QStringLiteral("BALCO_TCE"), QStringLiteral("9.9"));
        g.set.post();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(g.model->rowCount(), 30);
        QVERIFY(!g.model->index(25, Ficha).data().isValid()); // gone from the set's view
        g.view->repaint();

        g.set.enableControls();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(g.model->rowCount(), 10);
        QCOMPARE(g.viewRow(), 3);
        QCOMPARE(g.text(3, Balco), QStringLiteral("9.9"));
        QCOMPARE(g.text(3, Ficha), QStringLiteral("12"));
    }

    void cursorAndGridInStep()
    {
        Grid g;
        QVERIFY(g.show());
        // The cursor moved in code moves the grid and brings the row into sight.
        g.set.setRecNo(27);
        QCOMPARE(g.viewRow(), 26);
        QVERIFY(g.view->viewport()->rect().intersects(g.view->visualRect(g.view->currentIndex())));
        QCOMPARE(g.model->headerData(26, Qt::Vertical).toString(), RecordSetModel::kCurrentMark);
        QCOMPARE(g.model->headerData(25, Qt::Vertical).toString(), QString());
        // The grid moved by the user moves the cursor.
        g.view->setCurrentIndex(g.model->index(9, Codre));
        QCOMPARE(g.set.recNo(), 10);
        QTest::keyClick(g.view.get(), Qt::Key_Down);
        QCOMPARE(g.set.recNo(), 11);
        QCOMPARE(g.view->currentIndex().column(), int(Codre));
        // Down past the last row, in edit mode too, adds no record.
        g.model->setEditing(true);
        g.set.last();
        QCOMPARE(g.viewRow(), 29);
        QTest::keyClick(g.view.get(), Qt::Key_Down);
        QTest::keyClick(g.view.get(), Qt::Key_PageDown);
        QCOMPARE(g.set.recordCount(), 30);
        QCOMPARE(g.model->rowCount(), 30);
        QCOMPARE(g.set.state(), RecordSet::State::Browse);
        QCOMPARE(g.set.recNo(), 30);
    }

    // Typing goes into the set's record (edit mode only, editable columns
    // only); leaving the row posts it into the change log.
    void editingThroughTheGrid()
    {
        Grid g;
        QVERIFY(g.show());
        const QModelIndex cell = g.model->index(2, Balco);
        QVERIFY(!(g.model->flags(cell) & Qt::ItemIsEditable));
        QVERIFY(!g.model->setData(cell, QStringLiteral("4.1")));
        QCOMPARE(g.set.state(), RecordSet::State::Browse);

        g.model->setEditing(true);
        QVERIFY(g.model->flags(cell) & Qt::ItemIsEditable);
        QVERIFY(!(g.model->flags(g.model->index(2, Codre)) & Qt::ItemIsEditable));
        QVERIFY(!(g.model->flags(g.model->index(2, Missing)) & Qt::ItemIsEditable));
        QVERIFY(!g.model->setData(g.model->index(2, Codre), QStringLiteral("x")));

        QSignalSpy changes(g.model.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(g.model->setData(cell, QStringLiteral("4.1")));
        QCOMPARE(g.set.recNo(), 3);
        QCOMPARE(g.viewRow(), 2);
        QCOMPARE(g.set.state(), RecordSet::State::Edit);
        QCOMPARE(g.text(2, Balco), QStringLiteral("4.1"));
        QVERIFY(!changes.isEmpty());
        QCOMPARE(changes.last().at(0).value<QModelIndex>().row(), 2);
        QCOMPARE(g.model->headerData(2, Qt::Vertical).toString(), RecordSetModel::kEditMark);
        QCOMPARE(g.set.changeCount(), 0);

        // An edit on another row first posts this one.
        QVERIFY(g.model->setData(g.model->index(6, Empresa), QStringLiteral("7")));
        QCOMPARE(g.set.recNo(), 7);
        QCOMPARE(g.set.changeCount(), 1);
        QCOMPARE(g.viewRow(), 6);
        // Moving in the grid posts it too.
        g.view->setCurrentIndex(g.model->index(0, Balco));
        QCOMPARE(g.set.state(), RecordSet::State::Browse);
        QCOMPARE(g.set.changeCount(), 2);
        QCOMPARE(g.set.valueAt(6, g.set.fieldIndex(QStringLiteral("EMPRESA"))).toInt(), 7);
        QCOMPARE(g.model->headerData(0, Qt::Vertical).toString(), RecordSetModel::kCurrentMark);
        QCOMPARE(g.model->headerData(6, Qt::Vertical).toString(), QString());

        // Typed into an editor the way a user does.
        g.view->setCurrentIndex(g.model->index(10, Balco));
        g.view->setFocus();
        QTest::keyClick(g.view.get(), Qt::Key_2); // opens the editor with the key typed
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != g.view.get());
        QTest::keyClicks(editor, QStringLiteral(".2"));
        QTest::keyClick(editor, Qt::Key_Return); // the view commits it a moment later
        QTRY_COMPARE(g.set.state(), RecordSet::State::Edit);
        QCOMPARE(g.set.value(QStringLiteral("BALCO_TCE")).toString(), QStringLiteral("2.2"));
    }

    // A post the set refuses keeps the cursor on the record and takes the
    // grid back to it.
    void refusedPostKeepsTheRecord()
    {
        Grid g;
        QVERIFY(g.show());
        g.set.beforePost = [](RecordSet &) { return false; };
        g.model->setEditing(true);
        QVERIFY(g.model->setData(g.model->index(1, Balco), QStringLiteral("1.2")));
        g.view->setCurrentIndex(g.model->index(5, Balco));
        QCOMPARE(g.set.recNo(), 2);
        QCOMPARE(g.set.state(), RecordSet::State::Edit);
        QTRY_COMPARE(g.viewRow(), 1);
        // And an edit on another row is refused as well.
        QVERIFY(!g.model->setData(g.model->index(8, Balco), QStringLiteral("3")));
        QCOMPARE(g.set.value(QStringLiteral("BALCO_TCE")).toString(), QStringLiteral("1.2"));
    }

    // A value the field cannot take is reported and changes nothing.
    void badValueIsReported()
    {
        Grid g;
        g.model->setEditing(true);
        RecordingMessages messages;
        QVERIFY(!g.model->setData(g.model->index(3, Empresa), QStringLiteral("abc")));
        QCOMPARE(messages.entries.size(), 1);
        QCOMPARE(messages.entries.first().caption, QStringLiteral("Erro"));
        QVERIFY(messages.entries.first().text.contains(QStringLiteral("abc")));
        QCOMPARE(g.text(3, Empresa), QStringLiteral("0"));

        QStringList handled;
        g.model->setErrorHandler([&](const QString &m) { handled << m; });
        QVERIFY(!g.model->setData(g.model->index(3, Empresa), QStringLiteral("x1")));
        QCOMPARE(handled.size(), 1);
        QCOMPARE(messages.entries.size(), 1);
    }

    void colourHooks()
    {
        Grid g;
        g.model->setBackgroundHook([&](int row, int column) {
            if (column == Balco && g.set.valueAt(row, g.set.fieldIndex(QStringLiteral("BALCO_TCE"))).isNull())
                return QColor(128, 128, 128);
            return row % 2 ? QColor(215, 232, 227) : QColor();
        });
        g.model->setForegroundHook([](int, int column) { return column == Ficha ? QColor(Qt::blue) : QColor(); });
        QCOMPARE(g.model->index(1, Balco).data(Qt::BackgroundRole).value<QColor>(), QColor(128, 128, 128));
        QCOMPARE(g.model->index(4, Balco).data(Qt::BackgroundRole), QVariant());
        QCOMPARE(g.model->index(5, Codre).data(Qt::BackgroundRole).value<QColor>(), QColor(215, 232, 227));
        QCOMPARE(g.model->index(5, Ficha).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
        QCOMPARE(g.model->index(5, Codre).data(Qt::ForegroundRole), QVariant());
    }

    // A set of tens of thousands of records: the grid asks only for what it
    // shows, also after a jump to the end and a reset.
    void largeSetAsksOnlyForVisibleRows()
    {
        Grid g(40000);
        int asked = 0;
        g.model->setBackgroundHook([&](int, int) {
            ++asked;
            return QColor();
        });
        QVERIFY(g.show());
        const int visibleCells = (g.view->viewport()->height() / g.view->verticalHeader()->defaultSectionSize() + 2)
                                 * g.model->columnCount();
        asked = 0;
        g.view->grab();
        QVERIFY2(asked > 0 && asked <= 2 * visibleCells, qPrintable(QString::number(asked)));

        g.set.last();
        QCOMPARE(g.viewRow(), 39999);
        asked = 0;
        g.view->grab();
        QVERIFY2(asked > 0 && asked <= 2 * visibleCells, qPrintable(QString::number(asked)));
        QCOMPARE(g.text(39999, Ficha), QStringLiteral("40000"));

        g.set.setFilter(QStringLiteral("EMPRESA = 0"));
        g.set.setFiltered(true);
        asked = 0;
        g.view->grab();
        QCOMPARE(g.model->rowCount(), 13334);
        QVERIFY2(asked > 0 && asked <= 2 * visibleCells, qPrintable(QString::number(asked)));
    }
};

QTEST_MAIN(TestRecordSetModel)
#include "tst_recordsetmodel.moc"
