// The guarantees file ORVEN_Garantia.xml: the twelve rows of a year without
// a file, saving and loading, files written by the platform, damaged files,
// and a failed save that must leave the previous file whole.

#include "common/Error.h"
#include "guarantees/GuaranteesFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::guarantees;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QByteArray kHeader = "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                           "<FIELD attrname=\"Codigo\" fieldtype=\"string\" WIDTH=\"10\"/>"
                           "<FIELD attrname=\"Descricao\" fieldtype=\"string\" WIDTH=\"100\"/>"
                           "<FIELD attrname=\"Valor1\" fieldtype=\"r8\"/><FIELD attrname=\"Valor2\" fieldtype=\"r8\"/>"
                           "<FIELD attrname=\"Valor3\" fieldtype=\"r8\"/><FIELD attrname=\"Valor4\" fieldtype=\"r8\"/>"
                           "<FIELD attrname=\"Valor5\" fieldtype=\"r8\"/><FIELD attrname=\"Valor6\" fieldtype=\"r8\"/>"
                           "</FIELDS>";

} // namespace

class TestGuaranteesFile : public QObject {
    Q_OBJECT

private slots:
    // A year without a file: the twelve rows in code order, zero amounts, and
    // still no file on disk.
    void missingFileGivesTwelveRows()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(kFileName));
        bool existed = true;
        const QList<Guarantee> rows = GuaranteesFile::loadOrCreate(path, &existed);
        QVERIFY(!existed);
        QVERIFY(!QFile::exists(path));

        const QStringList codes{"1.11", "1.12", "1.13", "1.21", "1.22", "1.23",
                                "2.11", "2.12", "2.13", "2.21", "2.22", "2.23"};
        QCOMPARE(rows.size(), 12);
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].codigo, codes[i]);
            QVERIFY(!rows[i].descricao.isEmpty());
            QVERIFY(rows[i].descricao.size() <= kDescriptionWidth);
            for (int b = 1; b <= kBimesters; ++b)
                QCOMPARE(rows[i].valor(b), 0.0);
        }
        QCOMPARE(rows[0].descricao, QStringLiteral("Garantia (Externa) - Aval em operações de crédito"));
        QCOMPARE(rows[11].descricao,
                 QStringLiteral("Contragarantias (Interna) - Outras garantias nos termos da LRF"));
    }

    // Saved amounts read back exactly; the file carries the fields, widths and
    // the index on codigo of the format, and accented text as Windows-1252.
    void saveAndLoadRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(kFileName));
        QList<Guarantee> rows = GuaranteesFile::defaultRows();
        rows[0].setValor(3, 1234.5);
        rows[0].setValor(1, 1234567.89);
        rows[5].setValor(6, -0.5);
        rows[11].setValor(2, 987654321.99);
        GuaranteesFile::save(path, rows);

        QCOMPARE(GuaranteesFile::load(path), rows);
        bool existed = false;
        QCOMPARE(GuaranteesFile::loadOrCreate(path, &existed), rows);
        QVERIFY(existed);

        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.contains("attrname=\"Codigo\" fieldtype=\"string\" WIDTH=\"10\""));
        QVERIFY(bytes.contains("attrname=\"Descricao\" fieldtype=\"string\" WIDTH=\"100\""));
        for (int b = 1; b <= 6; ++b)
            QVERIFY(bytes.contains(QStringLiteral("attrname=\"Valor%1\" fieldtype=\"r8\"").arg(b).toLatin1()));
        QVERIFY(bytes.contains("DEFAULT_ORDER=\"1\""));
        QVERIFY(bytes.contains("PRIMARY_KEY=\"1\""));
        QVERIFY(bytes.contains("opera\xe7\xf5" "es de cr\xe9" "dito"));
        QVERIFY(bytes.contains("Valor3=\"1234.5\""));
    }

    // Rows out of order are held in code order; the amounts are read by the
    // field names whatever their case.
    void rowsInCodeOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(kFileName));
        QList<Guarantee> rows = GuaranteesFile::defaultRows();
        std::reverse(rows.begin(), rows.end());
        rows[0].setValor(4, 44); // "2.23"
        GuaranteesFile::save(path, rows);
        const QList<Guarantee> loaded = GuaranteesFile::load(path);
        QCOMPARE(loaded.first().codigo, QStringLiteral("1.11"));
        QCOMPARE(loaded.last().codigo, QStringLiteral("2.23"));
        QCOMPARE(loaded.last().valor(4), 44.0);
    }

    // A file saved by the editor with pending changes holds them in its change
    // log: the rows are those the user saw (the new image of a modified row,
    // without deleted rows).
    void platformFileWithChangeLog()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(kFileName));
        const QByteArray bytes =
            kHeader + "<PARAMS CHANGE_LOG=\"1 0 4 3 1 8\" DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\" LCID=\"1046\"/>"
                      "</METADATA><ROWDATA>"
                      "<ROW Codigo=\"2.11\" Descricao=\"Contragarantias (Externa) - Aval em opera\xe7\xf5" "es de "
                      "cr\xe9" "dito\" Valor1=\"0\" Valor2=\"0\" Valor3=\"0\" Valor4=\"0\" Valor5=\"0\" Valor6=\"0\"/>"
                      "<ROW RowState=\"1\" Codigo=\"1.11\" Descricao=\"x\" Valor1=\"0\" Valor2=\"0\" Valor3=\"0\" "
                      "Valor4=\"0\" Valor5=\"0\" Valor6=\"0\"/>"
                      "<ROW RowState=\"8\" Codigo=\"1.11\" Descricao=\"x\" Valor1=\"1500\" Valor2=\"1234.56\" "
                      "Valor3=\"1.5e3\" Valor4=\"-0.5\" Valor5=\"0\"/>"
                      "<ROW RowState=\"2\" Codigo=\"1.12\" Descricao=\"y\" Valor1=\"9\" Valor2=\"9\" Valor3=\"9\" "
                      "Valor4=\"9\" Valor5=\"9\" Valor6=\"9\"/>"
                      "</ROWDATA></DATAPACKET>";
        QVERIFY(writeAll(path, bytes));
        const QList<Guarantee> rows = GuaranteesFile::load(path);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].codigo, QStringLiteral("1.11"));
        QCOMPARE(rows[0].valor(1), 1500.0);
        QCOMPARE(rows[0].valor(2), 1234.56);
        QCOMPARE(rows[0].valor(3), 1500.0);
        QCOMPARE(rows[0].valor(4), -0.5);
        QCOMPARE(rows[0].valor(6), 0.0); // absent: NULL, read as 0
        QCOMPARE(rows[1].descricao, QStringLiteral("Contragarantias (Externa) - Aval em operações de crédito"));
    }

    void damagedFileFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not xml") << QByteArray("this is not a data packet");
        QTest::newRow("truncated") << QByteArray(kHeader + "<PARAMS/></METADATA><ROWDATA><ROW Codigo=\"1.11\" Val");
        QTest::newRow("other document") << QByteArray("<?xml version=\"1.0\"?><lrfcaptura/>");
        QTest::newRow("no Valor3 field")
            << QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                          "<FIELD attrname=\"Codigo\" fieldtype=\"string\" WIDTH=\"10\"/>"
                          "<FIELD attrname=\"Valor1\" fieldtype=\"r8\"/><FIELD attrname=\"Valor2\" fieldtype=\"r8\"/>"
                          "<FIELD attrname=\"Valor4\" fieldtype=\"r8\"/><FIELD attrname=\"Valor5\" fieldtype=\"r8\"/>"
                          "<FIELD attrname=\"Valor6\" fieldtype=\"r8\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
                          "<ROW Codigo=\"1.11\" Valor1=\"1\"/></ROWDATA></DATAPACKET>");
        QTest::newRow("amount not a number")
            << QByteArray(kHeader + "<PARAMS/></METADATA><ROWDATA><ROW Codigo=\"1.11\" Valor3=\"abc\"/>"
                                    "</ROWDATA></DATAPACKET>");
        QTest::newRow("empty file") << QByteArray();
    }

    void damagedFileFails()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(kFileName));
        QVERIFY(writeAll(path, bytes));
        QVERIFY_THROWS_EXCEPTION(Error, GuaranteesFile::load(path));
        QVERIFY_THROWS_EXCEPTION(Error, GuaranteesFile::loadOrCreate(path));
    }

    // A save that fails leaves the previous file as it was: rows that cannot be
    // written are refused before the disk is touched, and beside a
    // 255-character file name the temporary file cannot take its name (it
    // would be too long), so the save stops before the rename.
    void failedSaveKeepsPreviousFile_data()
    {
        QTest::addColumn<bool>("longName");
        QTest::addColumn<QString>("code");
        QTest::addColumn<double>("amount");
        QTest::newRow("code too long") << false << QStringLiteral("1.11.11.111") << 1.0;
        QTest::newRow("amount not a number") << false << QStringLiteral("1.11") << qQNaN();
        QTest::newRow("temporary file cannot be made") << true << QStringLiteral("1.11") << 5.0;
    }

    void failedSaveKeepsPreviousFile()
    {
        QFETCH(bool, longName);
        QFETCH(QString, code);
        QFETCH(double, amount);
        QTemporaryDir dir;
        const QString name = longName ? QString(251, QLatin1Char('G')) + QStringLiteral(".xml")
                                      : QString::fromLatin1(kFileName);
        const QString path = dir.filePath(name);

        QList<Guarantee> rows = GuaranteesFile::defaultRows();
        rows[2].setValor(5, 321.0);
        GuaranteesFile::save(path, rows);
        const QByteArray before = readAll(path);
        QVERIFY(!before.isEmpty());

        QList<Guarantee> changed = rows;
        changed[0].codigo = code;
        changed[0].setValor(1, amount);
        QVERIFY_THROWS_EXCEPTION(Error, GuaranteesFile::save(path, changed));
        QCOMPARE(readAll(path), before);
        QCOMPARE(GuaranteesFile::load(path), rows);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }

    void findIsExact()
    {
        const QList<Guarantee> rows = GuaranteesFile::defaultRows();
        QVERIFY(GuaranteesFile::find(rows, QStringLiteral("1.21")));
        QCOMPARE(GuaranteesFile::find(rows, QStringLiteral("1.21"))->codigo, QStringLiteral("1.21"));
        QVERIFY(!GuaranteesFile::find(rows, QStringLiteral("1.21 ")));
        QVERIFY(!GuaranteesFile::find(rows, QStringLiteral("1.2")));
        QVERIFY(!GuaranteesFile::find(rows, QStringLiteral("")));
    }
};

QTEST_GUILESS_MAIN(TestGuaranteesFile)
#include "tst_guarantees_file.moc"
