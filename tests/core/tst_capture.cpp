#include "capture/CaptureDocument.h"
#include "common/Error.h"
#include "generation/Amounts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::capture;

class TestCapture : public QObject {
    Q_OBJECT

private:
    static void fillSmallTree(CaptureDocument &doc)
    {
        auto s = doc.sistema();
        s.setName(QStringLiteral("lrfcaptura"));
        s.setProperties(QStringLiteral("bimestre"));
        s.setValue(QStringLiteral("3"));
        s.setVersion(QStringLiteral("3.0"));
        s.setXmlns(QString::fromLatin1(kNamespaceUri));
        s.setXmlnsXsi(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
        auto cad = s.add();
        cad.setName(QStringLiteral("Deduções"));
        auto op = cad.add();
        op.setName(QStringLiteral("Saúde - Despesa Anulada "));
        op.setId(QStringLiteral("movimento"));
        auto tipo = op.add();
        tipo.setName(QStringLiteral("Despesa Saúde      "));
        tipo.setValue(QStringLiteral("#CODFUNCAO"));
        tipo.setId(QStringLiteral("36"));
        auto conta = tipo.add();
        conta.setName(QStringLiteral("Ações & \"serviços\" <públicos>"));
        conta.setValue(QStringLiteral("1.10"));
        conta.setId(QStringLiteral("3531"));
        auto per = conta.add();
        per.setProperties(QStringLiteral("1"));
        auto d = per.add();
        d.setProperties(QStringLiteral("valor_anulado"));
        d.setValue(QStringLiteral("-12.30"));
        tipo.add().setName(QStringLiteral("Conta sem períodos"));
    }

private slots:
    void monthEnd_data()
    {
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("day");
        QTest::newRow("feb 2008 leap") << "02" << "2008" << "29";
        QTest::newRow("feb 2007") << "02" << "2007" << "28";
        QTest::newRow("feb 2000 (400)") << "02" << "2000" << "29";
        QTest::newRow("feb 1900 (100)") << "02" << "1900" << "28";
        QTest::newRow("jan") << "01" << "2008" << "31";
        QTest::newRow("apr") << "04" << "2008" << "30";
        QTest::newRow("jun") << "06" << "2008" << "30";
        QTest::newRow("aug") << "08" << "2008" << "31";
        QTest::newRow("sep") << "09" << "2008" << "30";
        QTest::newRow("nov") << "11" << "2008" << "30";
        QTest::newRow("dec") << "12" << "2008" << "31";
    }
    void monthEnd()
    {
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QString, day);
        QCOMPARE(generation::monthEndDay(month, year), day);
    }
    void monthEndBadYear() { QVERIFY_THROWS_EXCEPTION(Error, generation::monthEndDay("02", "20x8")); }

    void amountText_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("1234.5") << 1234.5 << "1234.50";
        QTest::newRow("zero") << 0.0 << "0.00";
        QTest::newRow("negative") << -12.3 << "-12.30";
        QTest::newRow("no grouping") << 1234567.891 << "1234567.89";
        QTest::newRow("half cent up") << 0.125 << "0.13";
        QTest::newRow("half cent negative away") << -0.125 << "-0.13";
        QTest::newRow("half cent of 2.675") << 2.675 << "2.68"; // binary 2.67499.. rounds at four decimals first
        QTest::newRow("tiny negative is zero") << -0.001 << "0.00";
        QTest::newRow("below a half") << 10.0049 << "10.00";
        QTest::newRow("fifth decimal carries") << 10.00496 << "10.01";
        QTest::newRow("large") << 98765432.1 << "98765432.10";
    }
    void amountText()
    {
        QFETCH(double, amount);
        QFETCH(QString, text);
        QCOMPARE(generation::amountText(amount), text);
    }

    void bimesterMonths_data()
    {
        QTest::addColumn<int>("bimester");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("1") << 1 << "01" << "02";
        QTest::newRow("3") << 3 << "05" << "06";
        QTest::newRow("6") << 6 << "11" << "12";
    }
    void bimesterMonths()
    {
        QFETCH(int, bimester);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QCOMPARE(generation::firstMonth(bimester), first);
        QCOMPARE(generation::secondMonth(bimester), second);
    }

    void documentLayout()
    {
        CaptureDocument doc;
        fillSmallTree(doc);
        const QStringList lines = doc.lines();
        QCOMPARE(lines.first(), QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
        QVERIFY(lines.at(1).startsWith(QStringLiteral(
            "<sistema name=\"lrfcaptura\" properties=\"bimestre\" value=\"3\" version=\"3.0\" xmlns=\"")));
        QVERIFY(lines.at(1).contains(QStringLiteral("lrfcapturaSchema\" xmlns:xsi=\"")));
        // One element per line, indented by depth.
        QVERIFY(lines.at(2).startsWith(QStringLiteral("  <cadastro name=\"Deduções\">")));
        QVERIFY(lines.at(3).startsWith(QStringLiteral("    <opcao name=\"Saúde - Despesa Anulada \" id=\"movimento\">")));
        QVERIFY(lines.at(4).startsWith(QStringLiteral("      <tipo name=\"Despesa Saúde      \" value=\"#CODFUNCAO\" id=\"36\">")));
        QVERIFY(lines.at(5).contains(QStringLiteral("name=\"Ações &amp; &quot;serviços&quot; &lt;públicos>\"")));
        QVERIFY(lines.at(7).trimmed().startsWith(QStringLiteral("<dados properties=\"valor_anulado\" value=\"-12.30\"")));
        QVERIFY(lines.at(7).trimmed().endsWith(QStringLiteral("/>")));
        // A conta without periods is an empty element.
        QVERIFY(lines.at(10).trimmed().startsWith(QStringLiteral("<conta name=\"Conta sem períodos\"")));
        QVERIFY(lines.at(10).trimmed().endsWith(QStringLiteral("/>")));

        const QByteArray bytes = doc.fileBytes();
        QCOMPARE(bytes.count("xmlns"), 2);
        QVERIFY(bytes.contains("Dedu\xE7\xF5" "es"));
        QVERIFY(bytes.contains("Sa\xFA" "de"));
        QVERIFY(!bytes.contains("\xC3")); // no UTF-8 sequences
        QVERIFY(bytes.endsWith("</sistema>\r\n"));
        QCOMPARE(bytes.count("\r\n"), bytes.count("\n"));
    }

    void emptySistema()
    {
        CaptureDocument doc;
        doc.sistema().setName(QStringLiteral("lrfcaptura"));
        const QStringList lines = doc.lines();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(1).startsWith(QStringLiteral("<sistema name=\"lrfcaptura\"")));
        QVERIFY(lines.at(1).endsWith(QStringLiteral("/>")));
    }

    void charactersOutsideLatin1()
    {
        CaptureDocument doc;
        doc.sistema().add().setName(QStringLiteral("Custo € e 😀"));
        const QByteArray bytes = doc.fileBytes();
        QVERIFY(bytes.contains("Custo &#8364; e &#128512;"));
    }

    void writeReplacesOnlyWhenComplete()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromLatin1(kFileName));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier file");
        }
        CaptureDocument doc;
        fillSmallTree(doc);

        // Cancelled just before replacing: the earlier file stays as it was.
        QVERIFY(!doc.write(path, [] { return true; }));
        QFile check(path);
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), QByteArray("earlier file"));
        check.close();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

        // Completed: replaced.
        QVERIFY(doc.write(path, [] { return false; }));
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), doc.fileBytes());
        check.close();

        // A folder that does not exist: an error, nothing written.
        QVERIFY_THROWS_EXCEPTION(Error, doc.write(dir.filePath("missing/") + kFileName));
    }
};

QTEST_GUILESS_MAIN(TestCapture)
#include "tst_capture.moc"
