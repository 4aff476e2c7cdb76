// orven-cli import-chart: the court chart check and import without windows,
// run as the built program on a demo installation.

#include "chart/ChartImport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include "CliRunner.h"
#include <QTemporaryDir>
#include <QtTest>

namespace chart = orven::chart;

namespace {

using Run = orven::test::CliRun;
using orven::test::runCli;

} // namespace

class TestCliImportChart : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_demo = m_dir.filePath(QStringLiteral("demo"));
        const Run demo = runCli({QStringLiteral("demo"), m_demo});
        QVERIFY2(demo.exitCode == 0, qPrintable(demo.err));
        m_tabdef = m_demo + QStringLiteral("/ZUNT_8/TABDEF/");
    }

    // One installation through its life: declined, imported, in place, then
    // a chart of another version that fails to import.
    void lifeOfAnInstallation()
    {
        const QStringList cmd{QStringLiteral("--config-dir"), m_demo, QStringLiteral("import-chart")};

        Run r = runCli(cmd);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QLatin1String("esvaziadas")), qPrintable(r.out)); // no version file yet
        QVERIFY(r.out.contains(QStringLiteral("Atenção: Deseja atualizar o Plano de Contas do ORVEN?\nNão")));
        QVERIFY(!r.out.contains(chart::kSuccess));
        QCOMPARE(chart::readVersionFile(m_tabdef + chart::kVersionFileName), 2);

        // Asked again: the chart is still missing.
        r = runCli(cmd);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(!r.out.contains(QLatin1String("esvaziadas")));
        QVERIFY(r.out.contains(chart::kQuestion));

        r = runCli(cmd + QStringList{QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("OK: ") + chart::kSuccess), qPrintable(r.out + r.err));
        QVERIFY(r.out.contains(QLatin1String("importados")));

        r = runCli(cmd + QStringList{QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(!r.out.contains(chart::kQuestion));
        QVERIFY2(r.out.contains(QStringLiteral("já está na base de dados")), qPrintable(r.out));

        // An older version recorded, and the accounts file gone: the tables
        // are emptied and the import fails with the reason.
        chart::writeVersionFile(m_tabdef + chart::kVersionFileName, 1);
        QVERIFY(QFile::rename(m_tabdef + chart::kAccountsFileName, m_tabdef + QStringLiteral("away.xml")));
        r = runCli(cmd + QStringList{QStringLiteral("--yes")});
        QVERIFY(QFile::rename(m_tabdef + QStringLiteral("away.xml"), m_tabdef + chart::kAccountsFileName));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Erro: ") + chart::kFailure), qPrintable(r.err));
        QVERIFY2(r.err.contains(chart::kAccountsFileName), qPrintable(r.err));
        QVERIFY(!r.out.contains(chart::kSuccess));

        // The offer comes back, and the complete files import.
        r = runCli(cmd + QStringList{QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(chart::kQuestion));
        QVERIFY(r.out.contains(chart::kSuccess));
    }

    void usageAndConnection()
    {
        Run r = runCli({QStringLiteral("--config-dir"), m_demo, QStringLiteral("import-chart"), QStringLiteral("-y")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains(QLatin1String("import-chart [--yes]")));

        // A configuration whose year has no database.
        QTemporaryDir other;
        QFile ini(other.filePath(QStringLiteral("zunt.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[ZUNT]\r\nAno=2031\r\nCaminho_Base_Dados=" + other.path().toUtf8() + "/ZUNT_8/\r\n");
        ini.close();
        r = runCli({QStringLiteral("--config-dir"), other.path(), QStringLiteral("import-chart"), QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Erro ao Conectar com a Base de Dados!")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QLatin1String("ZUNT2031.FDB")), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

private:
    QTemporaryDir m_dir;
    QString m_demo;
    QString m_tabdef;
};

QTEST_GUILESS_MAIN(TestCliImportChart)
#include "tst_cli_importchart.moc"
