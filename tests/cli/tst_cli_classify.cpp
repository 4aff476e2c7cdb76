// orven-cli classify revenue on a demo installation whose court chart has
// been imported: what the database holds afterwards, the entity option, a
// locked database (every record refused: nothing saved, exit 1) and the
// usage errors.

#include "RecordingMessages.h"

#include "chart/ChartImport.h"
#include "classification/RevenueAutoClassifier.h"
#include "common/Progress.h"
#include "config/Installation.h"
#include "db/Connection.h"
#include "db/DataModule.h"
#include "demo/DemoInstaller.h"

#include <QFile>
#include <QHash>
#include <QProcess>

#include "CliRunner.h"
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace orven;

namespace {

using Run = orven::test::CliRun;

// A revenue record as the database holds it.
struct Stored {
    int empresa = 0;
    QString codre, extra, balco, grupo, cod;
    bool operator==(const Stored &o) const
    {
        return empresa == o.empresa && codre == o.codre && extra == o.extra && balco == o.balco && grupo == o.grupo &&
               cod == o.cod;
    }
};

QHash<int, Stored> revenueRecords(const QString &databasePath)
{
    db::Conexao c;
    c.setDatabasePath(databasePath);
    QHash<int, Stored> out;
    const db::ResultSet rs =
        c.select(QStringLiteral("SELECT FICHA, EMPRESA, CODRE, EXTRA, BALCO_TCE, GRUPO_TCE, COD_TCE FROM RECDIS"));
    for (const db::Row &r : rs.rows)
        out.insert(r.value(0).toInt(), {r.value(1).toInt(), r.value(2).toString(), r.value(3).toString(),
                                        r.value(4).toString(), r.value(5).toString(), r.value(6).toString()});
    return out;
}

} // namespace

class TestCliClassify : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_pristine; // the database right after the chart import

    Run runCli(const QStringList &args)
    {
        return orven::test::runCli(QStringList{QStringLiteral("--config-dir"), m_dir.path()} + args);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        NullProgress progress;
        const demo::DemoSummary demo = demo::createDemo(m_dir.path(), demo::DemoSize::Small, false, progress);
        m_database = demo.databasePath;

        // The court chart, imported as the program does at its first start.
        config::setConfigDirOverride(m_dir.path());
        {
            test::RecordingMessages messages;
            db::TDM dm(m_database);
            const chart::ImportResult imported =
                chart::importChart(dm, [] { return std::make_unique<NullProgress>(); });
            QVERIFY2(imported.ok(), qPrintable(imported.error + messages.texts().join(u'\n')));
            QVERIFY(imported.accountsAdded > 0);
        }
        m_pristine = m_dir.filePath(QStringLiteral("pristine.fdb"));
        QVERIFY(QFile::copy(m_database, m_pristine));
    }

    void init()
    {
        QFile::remove(m_database);
        QVERIFY(QFile::copy(m_pristine, m_database));
    }

    void classifiesEveryEntity()
    {
        const QHash<int, Stored> before = revenueRecords(m_database);
        const Run r = runCli({QStringLiteral("classify"), QStringLiteral("revenue")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("Classificação efetuada com Sucesso!!!")), qPrintable(r.out));

        const QHash<int, Stored> after = revenueRecords(m_database);
        QCOMPARE(after.size(), before.size());
        int budgetary = 0, withAccount = 0;
        for (auto it = after.begin(); it != after.end(); ++it) {
            const Stored &was = before.value(it.key());
            const Stored &now = it.value();
            if (was.extra != u"N") {
                QVERIFY2(now == was, qPrintable(QStringLiteral("ficha %1 is extra-budgetary").arg(it.key())));
                continue;
            }
            ++budgetary;
            // The court account is the revenue code's key or a zeroed form of it.
            if (now.balco != was.balco) {
                ++withAccount;
                const QString key = classification::RevenueAutoClassifier::searchKey(now.codre);
                QCOMPARE(now.balco.size(), key.size());
                for (int i = 0; i < key.size(); ++i)
                    QVERIFY2(now.balco.at(i) == key.at(i) || now.balco.at(i) == u'0',
                             qPrintable(QStringLiteral("ficha %1: %2 for key %3").arg(it.key()).arg(now.balco, key)));
            }
        }
        QVERIFY(budgetary > 0);
        QVERIFY2(withAccount > 0, "the demo's revenue codes should meet the demo chart");
        QVERIFY2(r.out.contains(QStringLiteral("Fichas: %1 ").arg(before.size())), qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("Recusadas: 0")), qPrintable(r.out));

        // A second run changes nothing more.
        const Run again = runCli({QStringLiteral("classify"), QStringLiteral("revenue")});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(revenueRecords(m_database), after);
    }

    void entityOptionLimitsTheRun()
    {
        const QHash<int, Stored> before = revenueRecords(m_database);
        const Run r = runCli({QStringLiteral("classify"), QStringLiteral("revenue"), QStringLiteral("--entity"),
                              QStringLiteral("2")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QHash<int, Stored> after = revenueRecords(m_database);
        int ofEntity = 0, changed = 0;
        for (auto it = before.begin(); it != before.end(); ++it) {
            if (it.value().empresa == 2)
                ++ofEntity;
            if (!(after.value(it.key()) == it.value())) {
                ++changed;
                QCOMPARE(it.value().empresa, 2);
            }
        }
        QVERIFY(ofEntity > 0);
        QVERIFY2(r.out.contains(QStringLiteral("Fichas: %1 ").arg(ofEntity)), qPrintable(r.out));
        QVERIFY2(changed > 0, "entity 2 has records the chart classifies");
    }

    // The suite's maintenance lock makes the database refuse every change of
    // RECDIS: nothing is saved and the run fails.
    void lockedDatabaseSavesNothing()
    {
        {
            db::Conexao c;
            c.setDatabasePath(m_database);
            c.execute(QStringLiteral("UPDATE CADCLI SET BLOQBANCO = 'S'"));
        }
        const QHash<int, Stored> before = revenueRecords(m_database);
        const Run r = runCli({QStringLiteral("classify"), QStringLiteral("revenue")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Erro ao Efetuar a Classificação!!!")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("recusada")), qPrintable(r.err));
        QVERIFY2(!r.out.contains(QStringLiteral("Recusadas: 0")), qPrintable(r.out));
        QCOMPARE(revenueRecords(m_database), before);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("err");
        QTest::newRow("no kind") << QStringList{"classify"} << "uso: orven-cli classify revenue";
        QTest::newRow("unknown kind") << QStringList{"classify", "expenses"} << "uso: orven-cli classify revenue";
        QTest::newRow("entity not a number") << QStringList{"classify", "revenue", "--entity", "x"}
                                             << "entidade inválida";
        QTest::newRow("entity missing") << QStringList{"classify", "revenue", "--entity"} << "uso:";
        QTest::newRow("unknown entity") << QStringList{"classify", "revenue", "--entity", "77"}
                                        << "a entidade 77 não existe";
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        const QHash<int, Stored> before = revenueRecords(m_database);
        const Run r = runCli(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
        QCOMPARE(revenueRecords(m_database), before);
    }
};

QTEST_GUILESS_MAIN(TestCliClassify)
#include "tst_cli_classify.moc"
