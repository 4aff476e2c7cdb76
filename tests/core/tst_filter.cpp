#include "common/Error.h"
#include "db/Filter.h"

#include <QDate>
#include <QDateTime>
#include <QRandomGenerator>
#include <QtTest>

#include <charconv>
#include <cmath>

using namespace orven;
using namespace orven::db;

namespace {

struct Fixture {
    QList<FilterColumn> columns;
    QList<QList<QVariant>> rows;
};

QVariant typedNull(QMetaType type) { return QVariant(type); }

// The court chart as the classification windows load it: CODTIPO, NUM_CONTABIL,
// DESC_CONTABIL, TIPO (all text). Groups 103, 10 and 203 also have rows of
// other types, so that the precedence of AND over OR shows.
Fixture chart()
{
    Fixture f;
    f.columns = {{"CODTIPO", true}, {"NUM_CONTABIL", true}, {"DESC_CONTABIL", true}, {"TIPO", true}};
    const char *data[][3] = {
        {"101", "1.1.1", "R"},  // 0
        {"102", "2.1.1", "R"},  // 1
        {"103", "7.1", "R"},    // 2
        {"103", "X", "V"},      // 3
        {"108", "7.2", "R"},    // 4
        {"109", "8.1", "R"},    // 5
        {"001", "9.1", "R"},    // 6
        {"105", "6.00", "V"},   // 7
        {"106", "1.00", "V"},   // 8
        {"009", "2.00", "V"},   // 9
        {"205", "5.00", "V"},   // 10
        {"206", "7.00", "V"},   // 11
        {"201", "3.1", "D"},    // 12
        {"202", "4.1", "D"},    // 13
        {"203", "3.9", "D"},    // 14
        {"207", "3.7", "D"},    // 15
        {"208", "3.91", "D"},   // 16
        {"209", "4.91", "D"},   // 17
        {"01", "1.01", "P"},    // 18
        {"10", "1.10", "P"},    // 19
        {"10", "1.11", "V"},    // 20
        {"203", "3.99", "P"},   // 21
    };
    for (const auto &r : data)
        f.rows.append({QString::fromLatin1(r[0]), QString::fromLatin1(r[1]),
                       QStringLiteral("desc"), QString::fromLatin1(r[2])});
    return f;
}

// Budget records: numeric, text and date columns, and a row of NULLs (typed
// nulls as the database driver gives them, and invalid variants).
Fixture records()
{
    Fixture f;
    f.columns = {{"FICHA", false},  {"CODRE", true}, {"TIPO", true},     {"EMPRESA", false},
                 {"TOTOR", false},  {"DATAE", false}, {"BALCO_TCE", true}};
    const QTime midnight(0, 0);
    f.rows = {
        {1, "1.1.1.0", "SD", 1, 100.0, QDateTime(QDate(2008, 1, 10), midnight), "1.1.1.0"},
        {2, "2.1.1.0", "ED", 2, 100.5, QDateTime(QDate(2008, 1, 31), QTime(12, 0)), ""},
        {12, "7.1.0.0", "EF", 2, 0.0, QDate(2008, 2, 1), "7.1"},
        {40, "9.1.0.0", "O'K", 3, -1.5, QDateTime(QDate(2008, 3, 1), midnight), "it's"},
        {41, QVariant(), typedNull(QMetaType::fromType<QString>()),
         typedNull(QMetaType::fromType<int>()), typedNull(QMetaType::fromType<double>()),
         typedNull(QMetaType::fromType<QDateTime>()), QVariant()},
    };
    return f;
}

// One text column holding codes that read, or do not read, as the number 101.
Fixture codes()
{
    Fixture f;
    f.columns = {{"CODTIPO", true}};
    const QVariant values[] = {
        QStringLiteral("101"),   // 0
        QStringLiteral(" 101"),  // 1
        QStringLiteral("0101"),  // 2
        QStringLiteral("101.0"), // 3
        QStringLiteral("101 "),  // 4
        QStringLiteral("10A"),   // 5
        QStringLiteral(""),      // 6
        QStringLiteral("+101"),  // 7
        QVariant(),              // 8: NULL
        QVariant(101),           // 9: a number stored in the text column
        QStringLiteral("1e2"),   // 10
        QStringLiteral("-101"),  // 11
    };
    for (const QVariant &v : values)
        f.rows.append({v});
    return f;
}

Fixture fixture(const QString &name)
{
    if (name == "chart")
        return chart();
    if (name == "records")
        return records();
    return codes();
}

// Indexes of the matching rows, blank separated.
QString matching(const Filter &filter, const Fixture &f)
{
    QStringList out;
    for (qsizetype i = 0; i < f.rows.size(); ++i)
        if (filter.matches(f.rows.at(i)))
            out << QString::number(i);
    return out.join(u' ');
}

// The shortest text without exponent that reads back as exactly this double.
QString fixed(double v)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return QString::fromLatin1(buf, r.ptr - buf);
}

QString sorted(const QString &indexes)
{
    QList<int> v;
    for (const QString &s : indexes.split(u' ', Qt::SkipEmptyParts))
        v << s.toInt();
    std::sort(v.begin(), v.end());
    QStringList out;
    for (int i : v)
        out << QString::number(i);
    return out.join(u' ');
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT

private:
    static void addColumns()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected");
    }

    static void check()
    {
        QFETCH(QString, set);
        QFETCH(QString, expression);
        QFETCH(QString, expected);
        const Fixture f = fixture(set);
        const Filter filter = Filter::parse(expression, f.columns);
        QCOMPARE(filter.text(), expression);
        QCOMPARE(matching(filter, f), sorted(expected));
        // The whole-set scan agrees with row by row evaluation.
        QStringList scanned;
        for (qsizetype i : filter.select(f.rows))
            scanned << QString::number(i);
        QCOMPARE(scanned.join(u' '), sorted(expected));
    }

private slots:
    // Every filter expression the classification windows set, as they write it.
    void windowExpressions_data()
    {
        addColumns();
        // Revenue window: account rule, group rule, F2 and F3 filters.
        QTest::newRow("R") << "chart" << "TIPO = 'R'" << "0 1 2 4 5 6";
        QTest::newRow("R 101") << "chart" << "TIPO = 'R' AND CODTIPO = 101" << "0";
        QTest::newRow("R 102") << "chart" << "TIPO = 'R' AND CODTIPO = 102" << "1";
        QTest::newRow("R 108 or 103")
            << "chart" << "TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103" << "2 3 4";
        QTest::newRow("R 109 or 103")
            << "chart" << "TIPO = 'R' AND CODTIPO = 109 OR CODTIPO = 103" << "2 3 5";
        QTest::newRow("R 001") << "chart" << "TIPO = 'R' AND CODTIPO ='001'" << "6";
        QTest::newRow("-1") << "chart" << "TIPO = '-1'" << "";
        QTest::newRow("V") << "chart" << "TIPO = 'V'" << "3 7 8 9 10 11 20";
        QTest::newRow("V 106") << "chart" << "TIPO = 'V' AND CODTIPO = '106'" << "8";
        QTest::newRow("V 105") << "chart" << "TIPO = 'V' AND CODTIPO = '105'" << "7";
        QTest::newRow("V 009") << "chart" << "TIPO = 'V' AND CODTIPO = '009'" << "9";
        QTest::newRow("F3 revenue start")
            << "chart" << "TIPO = 'V' AND CODTIPO <> '205' AND CODTIPO <> '206'" << "3 7 8 9 20";
        QTest::newRow("F3 revenue SD")
            << "chart" << "TIPO = 'V' AND CODTIPO = '106' AND CODTIPO <> '205' AND CODTIPO <> '206'"
            << "8";
        QTest::newRow("entity") << "records" << "EMPRESA = '2'" << "1 2";
        // Expense window.
        QTest::newRow("D") << "chart" << "TIPO = 'D'" << "12 13 14 15 16 17";
        QTest::newRow("D 201 or 203")
            << "chart" << "TIPO = 'D' AND CODTIPO = '201' OR CODTIPO = '203'" << "12 14 21";
        QTest::newRow("D 202 or 203")
            << "chart" << "TIPO = 'D' AND CODTIPO = '202' OR CODTIPO = '203'" << "13 14 21";
        QTest::newRow("D 208 or 203")
            << "chart" << "TIPO = 'D' AND CODTIPO = '208' OR CODTIPO = '203'" << "16 14 21";
        QTest::newRow("D 209 or 203")
            << "chart" << "TIPO = 'D' AND CODTIPO = '209' OR CODTIPO = '203'" << "17 14 21";
        QTest::newRow("D 207 or 203 lower")
            << "chart" << "TIPO = 'D' AND CODTIPO = '207' or codtipo = '203'" << "15 14 21";
        QTest::newRow("V 206") << "chart" << "TIPO = 'V' AND CODTIPO = '206'" << "11";
        QTest::newRow("V 205") << "chart" << "TIPO = 'V' AND CODTIPO = '205'" << "10";
        QTest::newRow("P") << "chart" << "TIPO = 'P'" << "18 19 21";
        QTest::newRow("F2 expense start") << "chart" << "TIPO = 'D' AND CODTIPO <> '203'"
                                          << "12 13 15 16 17";
        QTest::newRow("F2 expense 201") << "chart" << "TIPO = 'D' AND CODTIPO = '201'" << "12";
        QTest::newRow("F2 expense 202") << "chart" << "TIPO = 'D' AND CODTIPO = '202'" << "13";
        QTest::newRow("F2 expense 207")
            << "chart" << "TIPO = 'D' AND CODTIPO = '207' OR codtipo = '203'" << "15 14 21";
        QTest::newRow("F3 expense start")
            << "chart" << "TIPO = 'V' AND CODTIPO <> '105' AND CODTIPO <> '106'" << "3 9 10 11 20";
        // Outstanding-commitment window.
        QTest::newRow("P 01 or 10")
            << "chart" << "TIPO = 'P' AND CODTIPO = '01' OR CODTIPO = '10'" << "18 19 20";
        QTest::newRow("no commitment") << "records" << "FICHA = -1" << "";
        QTest::newRow("two records") << "records" << "FICHA = 12 OR FICHA = 40" << "2 3";
        QTest::newRow("empty") << "chart" << "" << "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21";
    }
    void windowExpressions() { check(); }

    void semantics_data()
    {
        addColumns();
        // AND binds tighter than OR; NOT binds tightest; parentheses override.
        QTest::newRow("a or b and c") << "records" << "FICHA = 1 OR FICHA = 2 AND EMPRESA = 3" << "0";
        QTest::newRow("a or b and c, both") << "records" << "FICHA = 40 OR FICHA = 2 AND EMPRESA = 2" << "1 3";
        QTest::newRow("a and b or c and d")
            << "records" << "FICHA = 1 AND EMPRESA = 2 OR FICHA = 12 AND EMPRESA = 2" << "2";
        QTest::newRow("(a or b) and c") << "records" << "(FICHA = 40 OR FICHA = 2) AND EMPRESA = 2" << "1";
        QTest::newRow("not a and b") << "records" << "NOT FICHA = 1 AND EMPRESA = 2" << "1 2";
        QTest::newRow("not (a or b)") << "records" << "NOT (FICHA = 1 OR FICHA = 2)" << "2 3 4";
        QTest::newRow("not not") << "records" << "NOT NOT FICHA = 1" << "0";
        QTest::newRow("nested parens") << "records" << "((FICHA = 12)) OR (((FICHA = 1)))" << "0 2";
        QTest::newRow("blanks and line breaks") << "records" << "FICHA=12\r\nOR\tFICHA=40" << "2 3";
        // Keywords and field names in any case; values keep their case.
        QTest::newRow("lower case") << "chart" << "tipo = 'R' and codtipo = 101" << "0";
        QTest::newRow("mixed case") << "records" << "fIcHa = 1 oR FiChA = 2 AnD nOt EmPrEsA = 3" << "0 1";
        QTest::newRow("value case") << "chart" << "TIPO = 'r'" << "";
        // A constant may stand on the left.
        QTest::newRow("constant left =") << "records" << "2 = EMPRESA" << "1 2";
        QTest::newRow("constant left <") << "records" << "5 < FICHA" << "2 3 4";
        QTest::newRow("constant left text") << "chart" << "'R' = TIPO AND '101' >= CODTIPO" << "0 6";
        // Numeric columns.
        QTest::newRow("number") << "records" << "EMPRESA = 2" << "1 2";
        QTest::newRow("quoted number, leading zero") << "records" << "EMPRESA = '02'" << "1 2";
        QTest::newRow("quoted number, ordering") << "records" << "EMPRESA > '1'" << "1 2 3";
        QTest::newRow("decimal") << "records" << "TOTOR = 100.5" << "1";
        QTest::newRow("negative decimal") << "records" << "TOTOR >= -1.5 AND TOTOR < +0.5" << "2 3";
        QTest::newRow("point forms") << "records" << "TOTOR > -.4 AND TOTOR < 100." << "2";
        QTest::newRow("<=") << "records" << "FICHA <= 12" << "0 1 2";
        // Dates and timestamps.
        QTest::newRow("timestamp =") << "records" << "DATAE = '31/01/2008 12:00'" << "1";
        QTest::newRow("date cell =") << "records" << "DATAE = '01/02/2008'" << "2";
        QTest::newRow("date >=") << "records" << "DATAE >= '01/02/2008'" << "2 3";
        QTest::newRow("date < midday") << "records" << "DATAE < '31/01/2008 12:00:00'" << "0";
        QTest::newRow("date as day number") << "records" << "DATAE = 39479" << "2";
        // Quotes inside texts.
        QTest::newRow("quote inside") << "records" << "TIPO = 'O''K'" << "3";
        QTest::newRow("quote at end") << "records" << "BALCO_TCE = 'it''s' OR TIPO = ''''" << "3";
        // NULL is unequal and not different; an empty text is a value.
        QTest::newRow("null <>") << "records" << "EMPRESA <> 2" << "0 3";
        QTest::newRow("null not =") << "records" << "NOT EMPRESA = 2" << "0 3 4";
        QTest::newRow("null text <>") << "records" << "TIPO <> 'SD'" << "1 2 3";
        QTest::newRow("null text not =") << "records" << "NOT TIPO = 'SD'" << "1 2 3 4";
        QTest::newRow("null ordering") << "records" << "EMPRESA >= 0 OR TOTOR < 1000 OR DATAE > 0" << "0 1 2 3";
        QTest::newRow("empty text") << "records" << "BALCO_TCE = ''" << "1";
        QTest::newRow("invalid variant text") << "records" << "CODRE <> 'x'" << "0 1 2 3";
        // A bare number against a text column reads the text as a number.
        QTest::newRow("text read as number") << "codes" << "CODTIPO = 101" << "0 1 2 3 4 7 9";
        QTest::newRow("text read as number <>") << "codes" << "CODTIPO <> 101" << "5 6 10 11";
        QTest::newRow("text read as number >") << "codes" << "CODTIPO > 100" << "0 1 2 3 4 7 9";
        QTest::newRow("text read as negative") << "codes" << "CODTIPO = -101 OR CODTIPO < -200" << "11";
        // A quoted text against a text column is exact: no trimming, binary order.
        QTest::newRow("text exact") << "codes" << "CODTIPO = '101'" << "0 9";
        QTest::newRow("text trailing blank") << "codes" << "CODTIPO = '101 '" << "4";
        QTest::newRow("text case") << "codes" << "CODTIPO = '10a'" << "";
        QTest::newRow("text >=") << "codes" << "CODTIPO >= '101'" << "0 3 4 5 9 10";
        // Long OR lists of one column (looked up as a set) keep the same meaning.
        QTest::newRow("number set on text")
            << "codes" << "CODTIPO = 101 OR CODTIPO = 102 OR CODTIPO = 103 OR CODTIPO = 104" << "0 1 2 3 4 7 9";
        QTest::newRow("text set")
            << "codes" << "CODTIPO = '101' OR CODTIPO = 'x' OR CODTIPO = '' OR CODTIPO = 'x' OR CODTIPO = '10A'"
            << "0 5 6 9";
        QTest::newRow("number set with others")
            << "records" << "FICHA = 1 OR TIPO = 'EF' OR FICHA = 40 OR FICHA = 41 OR FICHA = 99 OR EMPRESA = 2"
            << "0 1 2 3 4";
        QTest::newRow("set inside and")
            << "records" << "EMPRESA = 2 AND (FICHA = 1 OR FICHA = 2 OR FICHA = 3 OR FICHA = 12)" << "1 2";
        QTest::newRow("set of entity texts")
            << "records" << "EMPRESA = '1' OR EMPRESA = '3' OR EMPRESA = '5' OR EMPRESA = '7'" << "0 3";
        QTest::newRow("not set") << "records" << "NOT (FICHA = 1 OR FICHA = 2 OR FICHA = 3 OR FICHA = 12)"
                                 << "3 4";
    }
    void semantics() { check(); }

    void errors_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("detail");
        QTest::newRow("unknown field") << "chart" << "XYZ = 1" << 1 << "campo \"XYZ\" desconhecido";
        QTest::newRow("unknown later") << "chart" << "TIPO = 'R' AND NOPE = '1'" << 16 << "campo \"NOPE\" desconhecido";
        QTest::newRow("unknown on right") << "chart" << "'1' = NOPE" << 7 << "campo \"NOPE\" desconhecido";
        QTest::newRow("incomplete after AND") << "chart" << "TIPO = 'R' AND" << 15 << "expressão incompleta";
        QTest::newRow("incomplete after OR") << "chart" << "TIPO = 'R' OR " << 15 << "expressão incompleta";
        QTest::newRow("incomplete after op") << "chart" << "TIPO =" << 7 << "expressão incompleta";
        QTest::newRow("lone field") << "chart" << "TIPO" << 5 << "falta o operador";
        QTest::newRow("lone NOT") << "chart" << "NOT" << 4 << "expressão incompleta";
        QTest::newRow("missing operator") << "chart" << "TIPO 'R'" << 6 << "operador de comparação";
        QTest::newRow("double =") << "chart" << "TIPO == 'R'" << 7 << "esperado um campo";
        QTest::newRow("!=") << "chart" << "TIPO != 'R'" << 6 << "caractere inesperado \"!\"";
        QTest::newRow("double quotes") << "chart" << "TIPO = \"R\"" << 8 << "caractere inesperado";
        QTest::newRow("open text") << "chart" << "TIPO = 'R" << 8 << "apóstrofo de fechamento";
        QTest::newRow("open text after quote") << "chart" << "TIPO = 'R''" << 8 << "apóstrofo de fechamento";
        QTest::newRow("open parenthesis") << "chart" << "(TIPO = 'R'" << 1 << "sem o \")\"";
        QTest::newRow("close parenthesis") << "chart" << "TIPO = 'R')" << 11 << "sem o \"(\"";
        QTest::newRow("empty parentheses") << "chart" << "()" << 2 << "esperado um campo";
        QTest::newRow("keyword first") << "chart" << "AND TIPO = 'R'" << 1 << "esperado um campo";
        QTest::newRow("two comparisons") << "chart" << "TIPO = 'R' TIPO = 'V'" << 12 << "esperado AND, OR";
        QTest::newRow("glued keyword") << "chart" << "TIPO = 'R' ANDTIPO = 'V'" << 12 << "esperado AND, OR";
        QTest::newRow("exponent") << "chart" << "CODTIPO = 1e2" << 11 << "número mal formado";
        QTest::newRow("two points") << "chart" << "CODTIPO = 1.2.3" << 11 << "número mal formado";
        QTest::newRow("field with field") << "chart" << "TIPO = CODTIPO" << 8 << "campo com outro campo";
        QTest::newRow("constants only") << "chart" << "'R' = 'R'" << 1 << "precisa de um campo";
        QTest::newRow("text for number") << "records" << "EMPRESA = 'abc'" << 11 << "'abc' não é número nem data";
        QTest::newRow("bad date") << "records" << "DATAE = '31/02/2008'" << 9 << "não é número nem data";
        QTest::newRow("percent in text") << "chart" << "TIPO = '%1' AND" << 16 << "expressão incompleta";
    }
    void errors()
    {
        QFETCH(QString, set);
        QFETCH(QString, expression);
        QFETCH(int, position);
        QFETCH(QString, detail);
        try {
            Filter::parse(expression, fixture(set).columns);
            QFAIL("no error");
        } catch (const Error &e) {
            const QString m = e.message();
            QVERIFY2(m.contains(u'"' + expression + u'"'), qPrintable(m));
            QVERIFY2(m.contains(QStringLiteral("posição %1:").arg(position)), qPrintable(m));
            QVERIFY2(m.contains(detail), qPrintable(m));
        }
    }

    void emptyFilter_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "  \t ";
    }
    void emptyFilter()
    {
        QFETCH(QString, expression);
        const Fixture f = records();
        const Filter filter = Filter::parse(expression, f.columns);
        QVERIFY(filter.isEmpty());
        QCOMPARE(filter.text(), expression);
        QCOMPARE(matching(filter, f), QStringLiteral("0 1 2 3 4"));
        QVERIFY(Filter().isEmpty());
        QVERIFY(Filter().matches({}));
        QVERIFY(!Filter::parse("FICHA = 1", f.columns).isEmpty());
    }

    // Decimal constants and texts read as numbers convert to the nearest
    // double, as the database's own floats and C++ literals do.
    void decimals_data()
    {
        QTest::addColumn<double>("cell");
        QTest::addColumn<QString>("literal");
        QTest::newRow("0.1") << 0.1 << "0.1";
        QTest::newRow("0.3") << 0.3 << "0.30";
        QTest::newRow("money") << 1234567.891 << "1234567.891";
        QTest::newRow("negative") << -98765.4321 << "-98765.4321";
        QTest::newRow("leading zeros") << 7.25 << "0000000000000000000007.25";
        QTest::newRow("16 digits") << 1234567890123456.7 << "1234567890123456.7";
        QTest::newRow("17 digits") << 12345678901234567.0 << "12345678901234567";
        QTest::newRow("23 decimals") << 1e-23 << "0.00000000000000000000001";
    }
    void decimals()
    {
        QFETCH(double, cell);
        QFETCH(QString, literal);
        const QList<FilterColumn> columns{{"VALOR", false}, {"CODIGO", true}};
        const QList<QVariant> row{cell, literal};
        QVERIFY(Filter::parse("VALOR = " + literal, columns).matches(row));
        QVERIFY(Filter::parse("VALOR = '" + literal + "'", columns).matches(row));
        QVERIFY(Filter::parse("CODIGO = " + fixed(cell), columns).matches(row));
        QVERIFY(!Filter::parse("VALOR <> " + literal, columns).matches(row));
        QVERIFY(!Filter::parse("VALOR = " + fixed(std::nextafter(cell, 1e300)), columns).matches(row));
    }

    // A row shorter than the column list reads the missing cells as NULL.
    void shortRow()
    {
        const Fixture f = records();
        const Filter equal = Filter::parse("BALCO_TCE = ''", f.columns);
        const Filter notEqual = Filter::parse("BALCO_TCE <> ''", f.columns);
        const QList<QVariant> row{1, "1", "SD"};
        QVERIFY(!equal.matches(row));
        QVERIFY(!notEqual.matches(row));
        QVERIFY(Filter::parse("NOT BALCO_TCE = ''", f.columns).matches(row));
    }

    // An OR list over one column means membership whether or not it is long
    // enough to be looked up as a set; checked against a plain definition.
    void orListsMeanMembership()
    {
        QList<FilterColumn> columns{{"FICHA", false}, {"CODTIPO", true}};
        QList<QList<QVariant>> rows;
        for (int i = -5; i < 120; ++i)
            rows.append({i, QString::number(i).rightJustified(3, u'0')});
        rows.append({QVariant(), QVariant()});
        rows.append({QStringLiteral(" 7"), QStringLiteral(" 7")}); // text in the numeric column
        rows.append({7.0, QStringLiteral("007")});
        auto *rng = QRandomGenerator::global();
        for (int length = 1; length <= 12; ++length) {
            QList<int> values;
            QStringList numeric, text;
            for (int k = 0; k < length; ++k) {
                const int v = rng->bounded(0, 121);
                values << v;
                numeric << QStringLiteral("FICHA = %1").arg(v);
                text << QStringLiteral("CODTIPO = '%1'").arg(QString::number(v).rightJustified(3, u'0'));
            }
            const Filter byNumber = Filter::parse(numeric.join(" OR "), columns);
            const Filter byText = Filter::parse(text.join(" or "), columns);
            const Filter textAsNumber = Filter::parse(QString(text.join(" OR ")).remove(u'\''), columns);
            for (const QList<QVariant> &row : rows) {
                bool ok = false;
                const double n = row.at(0).toString().trimmed().toDouble(&ok);
                const bool inNumbers = !row.at(0).isNull() && ok && values.contains(int(n)) && n == int(n);
                QCOMPARE(byNumber.matches(row), inNumbers);
                const QString code = row.at(1).toString();
                bool inTexts = false;
                for (int v : values)
                    inTexts = inTexts || (!row.at(1).isNull() && code == QString::number(v).rightJustified(3, u'0'));
                QCOMPARE(byText.matches(row), inTexts);
                const double c = code.trimmed().toDouble(&ok);
                QCOMPARE(textAsNumber.matches(row), !row.at(1).isNull() && ok && values.contains(int(c)) && c == int(c));
            }
        }
    }

    // Deep nesting is refused with an error, long OR lists are fine.
    void sizeLimits()
    {
        const Fixture f = records();
        const QString nested = QString(150, u'(') + "FICHA = 12" + QString(150, u')');
        QCOMPARE(matching(Filter::parse(nested, f.columns), f), QStringLiteral("2"));
        QVERIFY_THROWS_EXCEPTION(Error, Filter::parse(QString(100000, u'(') + "FICHA = 1", f.columns));
        QString nots;
        for (int i = 0; i < 100000; ++i)
            nots += "NOT ";
        QVERIFY_THROWS_EXCEPTION(Error, Filter::parse(nots + "FICHA = 1", f.columns));
        QStringList terms;
        for (int i = 100; i < 20100; ++i)
            terms << QStringLiteral("FICHA = %1 AND EMPRESA <> 0").arg(i);
        terms << "FICHA = 40";
        QCOMPARE(matching(Filter::parse(terms.join(" OR "), f.columns), f), QStringLiteral("3"));
        // The commitment window's list of records for a large entity.
        QStringList fichas;
        for (int i = 20000; i < 40000; ++i)
            fichas << QStringLiteral("FICHA = %1").arg(i);
        fichas << "FICHA = 2" << "FICHA = 41";
        QCOMPARE(matching(Filter::parse(fichas.join(" OR "), f.columns), f), QStringLiteral("1 4"));
    }

    void scans()
    {
        const Fixture f = records();
        const Filter filter = Filter::parse("EMPRESA = 2 OR EMPRESA = 3", f.columns);
        QCOMPARE(filter.select(f.rows), (QList<qsizetype>{1, 2, 3}));
        QCOMPARE(filter.indexOf(f.rows), 1);
        QCOMPARE(filter.indexOf(f.rows, 2), 2);
        QCOMPARE(filter.indexOf(f.rows, 4), -1);
        QCOMPARE(filter.indexOf(f.rows, -3), 1);
        QCOMPARE(Filter().select(f.rows), (QList<qsizetype>{0, 1, 2, 3, 4}));
        QCOMPARE(Filter().indexOf(f.rows, 4), 4);
        QCOMPARE(Filter().indexOf(f.rows, 5), -1);
    }

    void locate_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QList<int>>("keyColumns");
        QTest::addColumn<QVariantList>("keyValues");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("expected");
        using L = QList<int>;
        using V = QVariantList;
        // The validity colouring: an account or a pair inside the rule's filter.
        QTest::newRow("account in group") << "chart" << "TIPO = 'R' AND CODTIPO = 108 OR CODTIPO = 103"
                                          << L{1} << V{"X"} << 0 << 3;
        QTest::newRow("account outside group") << "chart" << "TIPO = 'R' AND CODTIPO = 101" << L{1} << V{"2.1.1"}
                                               << 0 << -1;
        QTest::newRow("pair of group 105 for SD") << "chart" << "TIPO = 'V' AND CODTIPO = '106'" << L{0, 1}
                                                  << V{"105", "6.00"} << 0 << -1;
        QTest::newRow("pair found") << "chart" << "TIPO = 'V' AND CODTIPO = '105'" << L{0, 1} << V{"105", "6.00"}
                                    << 0 << 7;
        QTest::newRow("pair half wrong") << "chart" << "TIPO = 'P' AND CODTIPO = '01' OR CODTIPO = '10'"
                                         << L{0, 1} << V{"10", "1.01"} << 0 << -1;
        QTest::newRow("account exact") << "chart" << "TIPO = 'V'" << L{1} << V{"6.00 "} << 0 << -1;
        QTest::newRow("no filter") << "chart" << "" << L{1} << V{"4.91"} << 0 << 17;
        QTest::newRow("from") << "chart" << "" << L{0} << V{"103"} << 3 << 3;
        QTest::newRow("from past") << "chart" << "" << L{0} << V{"103"} << 4 << -1;
        QTest::newRow("number key") << "records" << "" << L{0} << V{40} << 0 << 3;
        QTest::newRow("double key") << "records" << "" << L{4} << V{-1.5} << 0 << 3;
        QTest::newRow("text key on number") << "records" << "" << L{0} << V{"40"} << 0 << 3;
        QTest::newRow("null key") << "records" << "" << L{3} << V{QVariant()} << 0 << 4;
        QTest::newRow("null key, typed null cell") << "records" << "" << L{2} << V{QVariant()} << 0 << 4;
        QTest::newRow("null key, filtered") << "records" << "FICHA < 41" << L{3} << V{QVariant()} << 0 << -1;
        QTest::newRow("empty text key") << "records" << "" << L{6} << V{""} << 0 << 1;
    }
    void locate()
    {
        QFETCH(QString, set);
        QFETCH(QString, expression);
        QFETCH(QList<int>, keyColumns);
        QFETCH(QVariantList, keyValues);
        QFETCH(int, from);
        QFETCH(int, expected);
        const Fixture f = fixture(set);
        QCOMPARE(Filter::parse(expression, f.columns).locate(f.rows, keyColumns, keyValues, from), expected);
    }

    void locateBadKeys()
    {
        const Fixture f = chart();
        QVERIFY_THROWS_EXCEPTION(Error, Filter().locate(f.rows, {0, 1}, {"105"}));
        QVERIFY_THROWS_EXCEPTION(Error, Filter().locate(f.rows, {-1}, {"105"}));
        // A key column beyond the row reads as NULL.
        QCOMPARE(Filter().locate(f.rows, {9}, {QVariant()}), 0);
        QCOMPARE(Filter().locate(f.rows, {9}, {"105"}), -1);
    }

    // Copies share the parsed program and stay valid after the original goes.
    void copies()
    {
        const Fixture f = chart();
        Filter copy;
        {
            const Filter original = Filter::parse("TIPO = 'P'", f.columns);
            copy = original;
        }
        QCOMPARE(matching(copy, f), QStringLiteral("18 19 21"));
        QCOMPARE(copy.text(), QStringLiteral("TIPO = 'P'"));
    }
};

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
