// Cost of the record-set filter: parsing, evaluation over 10 000 rows, the
// whole-set scan and the colouring's locate. Divide the time of one iteration
// by the row count for the cost per row.
#include "db/Filter.h"

#include <QtTest>

using namespace orven::db;

namespace {

constexpr int kRows = 10000;

const QList<FilterColumn> &columns()
{
    static const QList<FilterColumn> c{{"FICHA", false},       {"EMPRESA", false}, {"CODTIPO", true},
                                       {"NUM_CONTABIL", true}, {"TIPO", true},     {"VALOR", false}};
    return c;
}

// A court chart sized like a large one: groups of 101..130 (some written with
// leading zeros), four types, accounts numbered inside each group.
const QList<QList<QVariant>> &rows()
{
    static const QList<QList<QVariant>> r = [] {
        QList<QList<QVariant>> out;
        const char *types[] = {"R", "D", "V", "P"};
        for (int i = 0; i < kRows; ++i) {
            const int group = 101 + i % 30;
            out.append({i + 1, 1 + i % 7, QString::number(group).rightJustified(i % 11 == 0 ? 4 : 3, u'0'),
                        QStringLiteral("%1.%2.%3").arg(i % 9 + 1).arg(i % 13).arg(i, 5, 10, QChar(u'0')),
                        QString::fromLatin1(types[i % 4]), i * 1.25});
        }
        return out;
    }();
    return r;
}

QString fichaList(int count)
{
    QStringList terms;
    for (int i = 0; i < count; ++i)
        terms << QStringLiteral("FICHA = %1").arg(i * 37 + 5);
    return terms.join(" OR ");
}

void addExpressions()
{
    QTest::addColumn<QString>("expression");
    QTest::newRow("single") << "TIPO = 'R'";
    QTest::newRow("single number on text") << "CODTIPO = 108";
    QTest::newRow("or of three") << "CODTIPO = '105' OR CODTIPO = '106' OR CODTIPO = '009'";
    QTest::newRow("and/or mix") << "TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103";
    QTest::newRow("and/or mix, texts") << "TIPO = 'V' AND CODTIPO <> '205' AND CODTIPO <> '206'";
    QTest::newRow("entity") << "EMPRESA = '2'";
    QTest::newRow("ficha list 3") << fichaList(3);
    QTest::newRow("ficha list 200 (set)") << fichaList(200);
    QTest::newRow("empty") << "";
}

} // namespace

class BenchFilter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { rows(); }

    void parse_data() { addExpressions(); }
    void parse()
    {
        QFETCH(QString, expression);
        QBENCHMARK {
            const Filter f = Filter::parse(expression, columns());
            QVERIFY(f.text().size() == expression.size());
        }
    }

    // Row by row, as a grid or a record set's navigation asks.
    void matches_data() { addExpressions(); }
    void matches()
    {
        QFETCH(QString, expression);
        const Filter f = Filter::parse(expression, columns());
        const QList<QList<QVariant>> &r = rows();
        int count = 0;
        QBENCHMARK {
            count = 0;
            for (const QList<QVariant> &row : r)
                count += f.matches(row) ? 1 : 0;
        }
        QVERIFY(count >= 0 && count <= kRows);
    }

    // Reference: the same single comparison written by hand, to tell the
    // filter's own cost from the cost of walking the rows.
    void handWrittenSingle()
    {
        const QList<QList<QVariant>> &r = rows();
        const QString wanted = QStringLiteral("R");
        int count = 0;
        QBENCHMARK {
            count = 0;
            for (const QList<QVariant> &row : r)
                count += row.at(4).toString() == wanted ? 1 : 0;
        }
        QCOMPARE(count, kRows / 4);
    }

    // The whole-set scan that rebuilds a filtered view.
    void select_data() { addExpressions(); }
    void select()
    {
        QFETCH(QString, expression);
        const Filter f = Filter::parse(expression, columns());
        qsizetype count = 0;
        QBENCHMARK {
            count = f.select(rows()).size();
        }
        QVERIFY(count >= 0 && count <= kRows);
    }

    // The validity colouring of one court cell: set the rule's filter, then
    // locate the account (found late, or not at all) within it.
    void colourOneCell_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("account");
        QTest::newRow("found near the end")
            << "TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103" << rows().at(kRows - 30 + 2).at(3).toString();
        QTest::newRow("not found") << "TIPO = 'R' AND CODTIPO = 101" << "none";
    }
    void colourOneCell()
    {
        QFETCH(QString, expression);
        QFETCH(QString, account);
        qsizetype at = 0;
        QBENCHMARK {
            const Filter f = Filter::parse(expression, columns());
            at = f.locate(rows(), {3}, {account});
        }
        QVERIFY(at >= -1);
    }
};

QTEST_GUILESS_MAIN(BenchFilter)
#include "tst_bench_filter.moc"
