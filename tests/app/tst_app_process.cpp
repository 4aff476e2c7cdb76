// The desktop program as a process: it starts on a demo installation and
// ends in an orderly way when the session asks it to (SIGTERM), even though
// the database client library catches that signal for itself.

#include "CliRunner.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestAppProcess : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_demo;

private slots:
    void initTestCase()
    {
        m_demo = m_tmp.filePath(QStringLiteral("demo"));
        const auto made = orven::test::runCli({QStringLiteral("demo"), m_demo});
        QVERIFY2(made.exitCode == 0, qPrintable(made.err));
        const auto imported = orven::test::runCli({QStringLiteral("--config-dir"), m_demo,
                                                   QStringLiteral("import-chart"), QStringLiteral("--yes")});
        QVERIFY2(imported.exitCode == 0, qPrintable(imported.err));
    }

    void endsOnTerminate_data()
    {
        QTest::addColumn<int>("afterMs");
        QTest::newRow("while starting") << 300;
        QTest::newRow("running") << 3000;
    }
    void endsOnTerminate()
    {
        QFETCH(int, afterMs);
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ORVEN_CONFIG_DIR"), m_demo);
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(ORVEN_APP_PATH), {});
        QVERIFY(app.waitForStarted(10000));
        QTest::qWait(afterMs);
        QCOMPARE(app.state(), QProcess::Running); // it did not end by itself
        app.terminate();
        const bool ended = app.waitForFinished(15000);
        if (!ended)
            app.kill();
        QVERIFY2(ended, "the program ignored SIGTERM");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    }
};

QTEST_GUILESS_MAIN(TestAppProcess)
#include "tst_app_process.moc"
