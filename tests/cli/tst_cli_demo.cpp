// orven-cli demo and info, as the built program runs them: what they print,
// their exit statuses, the refusal to overwrite and the replacement.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>

#include "CliRunner.h"
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Run = orven::test::CliRun;
using orven::test::runCli;

// "  NAME   123" lines of a listing, by name.
QMap<QString, qlonglong> counts(const QString &text)
{
    QMap<QString, qlonglong> out;
    static const QRegularExpression line(QStringLiteral("^  ([A-Z_]+)\\s+(\\d+)(\\s+\\(view\\))?$"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out.insert(m.captured(1), m.captured(2).toLongLong());
    }
    return out;
}

} // namespace

class TestCliDemo : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_dir;
    Run m_created;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_dir = m_tmp.filePath(QStringLiteral("demo"));
        m_created = runCli({QStringLiteral("demo"), m_dir});
        QVERIFY2(m_created.exitCode == 0, qPrintable(m_created.err));
    }

    void demoReportsWhatItMade()
    {
        const QString out = m_created.out;
        QVERIFY2(out.startsWith(QStringLiteral("Demo installation created (small)\n")), qPrintable(out));
        const QString base = QDir::toNativeSeparators(m_dir + QStringLiteral("/ZUNT_8/"));
        QVERIFY(out.contains(QStringLiteral("  zunt.ini  ") + QDir::toNativeSeparators(m_dir + QStringLiteral("/zunt.ini")) + u'\n'));
        QVERIFY(out.contains(QStringLiteral("  database  ") + base + QDir::toNativeSeparators(QStringLiteral("ARQ2008/ZUNT2008.FDB")) + u'\n'));
        QVERIFY(out.contains(QStringLiteral("  TABDEF    ") + base + QStringLiteral("TABDEF") + QDir::separator() + u'\n'));
        QVERIFY(QRegularExpression(QStringLiteral("\ntime: \\d+\\.\\d s\n")).match(out).hasMatch());
        const QMap<QString, qlonglong> rows = counts(out);
        for (const char *t : {"CADCLI", "TABEMPRESA", "RECDIS", "DESDIS", "DESPES", "LIQUIDA", "PAGAMENTO", "RECEIT", "CONDIA", "ORDCAI"})
            QVERIFY2(rows.value(QLatin1String(t)) > 0, t);
        qlonglong sum = 0;
        for (auto it = rows.cbegin(); it != rows.cend(); ++it)
            if (it.key() != u"total")
                sum += it.value();
        QVERIFY(out.contains(QRegularExpression(QStringLiteral("\n  total\\s+%1\n").arg(sum))));
        // Not on a terminal: progress as occasional lines, no carriage returns.
        QVERIFY(m_created.err.contains(QStringLiteral("%")));
        QVERIFY(!m_created.err.contains(u'\r'));
        QVERIFY(QFileInfo::exists(m_dir + QStringLiteral("/ZUNT_8/TABDEF/ID_ORVEN2008.XML")));
    }

    void infoReadsTheInstallation()
    {
        const Run r = runCli({QStringLiteral("--config-dir"), m_dir, QStringLiteral("info")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        const QString base = QDir::toNativeSeparators(m_dir + QStringLiteral("/ZUNT_8/"));
        const QString year = base + QStringLiteral("ARQ2008") + QDir::separator();
        QVERIFY2(r.out.contains(QStringLiteral("\nB          ") + year + u'\n'), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("\nD          ") + year + u'\n'));
        QVERIFY(r.out.contains(QStringLiteral("\nTD         ") + base + QStringLiteral("TABDEF") + QDir::separator() + u'\n'));
        QVERIFY(r.out.contains(QStringLiteral("\ndatabase   ") + year + QStringLiteral("ZUNT2008.FDB\n")));
        QVERIFY(r.out.contains(QStringLiteral("\nyear       2008\n")));
        QVERIFY(r.out.contains(QRegularExpression(QStringLiteral("\n  RECEITA_NIVEL\\s+procedure\n"))));
        // The counts are those the demo wrote; the views count their tables' rows.
        const QMap<QString, qlonglong> made = counts(m_created.out);
        const QMap<QString, qlonglong> seen = counts(r.out);
        for (const QString &t : {QStringLiteral("CADCLI"), QStringLiteral("RECDIS"), QStringLiteral("DESDIS"),
                                 QStringLiteral("DESPES"), QStringLiteral("ORDCAI"), QStringLiteral("CONDIA")})
            QCOMPARE(seen.value(t), made.value(t));
        QCOMPARE(seen.value(QStringLiteral("VIEWLIQ")), made.value(QStringLiteral("LIQUIDA")));
        QCOMPARE(seen.value(QStringLiteral("VIEWVAPAG")), made.value(QStringLiteral("PAGAMENTO")));
        QCOMPARE(seen.value(QStringLiteral("ORVEN_TIPO")), 0LL);
    }

    void demoRefusesToOverwrite()
    {
        const QDateTime before = QFileInfo(m_dir + QStringLiteral("/ZUNT_8/ARQ2008/ZUNT2008.FDB")).lastModified();
        const Run r = runCli({QStringLiteral("demo"), m_dir, QStringLiteral("--size"), QStringLiteral("small")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(QStringLiteral("--replace")), qPrintable(r.err));
        QVERIFY(r.err.contains(QDir::toNativeSeparators(m_dir)));
        QCOMPARE(QFileInfo(m_dir + QStringLiteral("/ZUNT_8/ARQ2008/ZUNT2008.FDB")).lastModified(), before);
    }

    void demoReplaces()
    {
        const Run r = runCli({QStringLiteral("demo"), QStringLiteral("--replace"), m_dir});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(r.out.startsWith(QStringLiteral("Demo installation replaced (small)\n")));
        QCOMPARE(counts(r.out), counts(m_created.out));
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::newRow("no folder") << QStringList{"demo"} << 2 << "usage: orven-cli demo DIR";
        QTest::newRow("unknown size") << QStringList{"demo", "x", "--size", "huge"} << 2 << "unknown size huge";
        QTest::newRow("size without value") << QStringList{"demo", "x", "--size"} << 2 << "--size needs";
        QTest::newRow("unknown option") << QStringList{"demo", "x", "--fast"} << 2 << "unknown option --fast";
        QTest::newRow("two folders") << QStringList{"demo", "x", "y"} << 2 << "only one folder";
        QTest::newRow("info with arguments") << QStringList{"info", "x"} << 2 << "usage: orven-cli";
    }
    void badUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        QTemporaryDir cwd;
        QProcess p;
        p.setWorkingDirectory(cwd.path());
        p.start(QStringLiteral(ORVEN_CLI_PATH), args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY(p.readAllStandardOutput().isEmpty());
        const QString text = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(text.contains(err), qPrintable(text));
        QVERIFY(QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty()); // nothing made
    }

    void infoWithoutDatabaseFails()
    {
        QTemporaryDir empty;
        QFile ini(empty.filePath(QStringLiteral("zunt.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados=" + QDir::toNativeSeparators(empty.path() + QStringLiteral("/ZUNT_8/")).toLocal8Bit() + "\r\n");
        ini.close();
        const Run r = runCli({QStringLiteral("--config-dir"), empty.path(), QStringLiteral("info")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("ZUNT2008.FDB")), qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("database   ")));
    }
};

QTEST_GUILESS_MAIN(TestCliDemo)
#include "tst_cli_demo.moc"
