// orven-cli generate and check on a demo installation of their own: exit
// statuses, messages, the file written, and what a refused or failed run
// leaves behind.

#include "CliRunner.h"

#include "db/Connection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using orven::test::CliRun;
using orven::test::runCli;

class TestCliGenerate : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_demo;
    QString m_db;

    CliRun cli(QStringList args) { return runCli(QStringList{QStringLiteral("--config-dir"), m_demo} + args); }

    void execute(const QString &sql)
    {
        orven::db::Conexao c;
        c.setDatabasePath(m_db);
        c.execute(sql);
        c.close();
    }

    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_demo = m_tmp.filePath(QStringLiteral("demo"));
        const CliRun made = runCli({QStringLiteral("demo"), m_demo, QStringLiteral("--size"), QStringLiteral("small")});
        QVERIFY2(made.exitCode == 0, qPrintable(made.err));
        m_db = m_demo + QStringLiteral("/ZUNT_8/ARQ2008/ZUNT2008.FDB");
    }

    void generatesForEveryEntityAndBimester_data()
    {
        QTest::addColumn<QString>("entity");
        QTest::addColumn<QString>("bimester");
        QTest::newRow("consolidated, 3rd bimester") << "0" << "3";
        QTest::newRow("entity 7, 1st bimester") << "7" << "1";
        QTest::newRow("entity 12, 6th bimester") << "12" << "6";
    }
    void generatesForEveryEntityAndBimester()
    {
        QFETCH(QString, entity);
        QFETCH(QString, bimester);
        const QString out = m_tmp.filePath(QStringLiteral("out-%1-%2").arg(entity, bimester));
        QVERIFY(QDir().mkpath(out));
        const CliRun r = cli({QStringLiteral("generate"), QStringLiteral("--entity"), entity, QStringLiteral("--bimester"),
                              bimester, QStringLiteral("--out"), out});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString path = out + QStringLiteral("/lrfcapturacontas.xml");
        QCOMPARE(r.out.trimmed(), path);
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"));
        QVERIFY(bytes.contains(QByteArray("properties=\"bimestre\" value=\"") + bimester.toLatin1() + '"'));
        QCOMPARE(bytes.count("<cadastro "), 17);
        QCOMPARE(bytes.count("<conta "), 2223);
        // Real figures, not only zeros.
        QVERIFY(bytes.count("<dados ") > bytes.count("value=\"0.00\""));
    }

    void refusesAMissingFolder()
    {
        const CliRun r = cli({QStringLiteral("generate"), QStringLiteral("--entity"), QStringLiteral("0"),
                              QStringLiteral("--bimester"), QStringLiteral("1"), QStringLiteral("--out"),
                              m_tmp.filePath(QStringLiteral("nowhere"))});
        QCOMPARE(r.exitCode, 3);
        QVERIFY(r.err.contains(QStringLiteral("Local onde o Arquivo será gerado Inexistente!")));
        QVERIFY(r.out.isEmpty());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("bimester 7") << QStringList{"--entity", "0", "--bimester", "7", "--out", "/tmp"};
        QTest::newRow("entity text") << QStringList{"--entity", "x", "--bimester", "1", "--out", "/tmp"};
        QTest::newRow("no out") << QStringList{"--entity", "0", "--bimester", "1"};
        QTest::newRow("unknown entity") << QStringList{"--entity", "9999", "--bimester", "1", "--out", "/tmp"};
        QTest::newRow("unknown option") << QStringList{"--entity", "0", "--bimester", "1", "--out", "/tmp", "--x"};
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        const CliRun r = cli(QStringList{QStringLiteral("generate")} + args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(!r.err.isEmpty());
    }

    void failureKeepsTheEarlierFile()
    {
        const QString out = m_tmp.filePath(QStringLiteral("out-fail"));
        QVERIFY(QDir().mkpath(out));
        const QString path = out + QStringLiteral("/lrfcapturacontas.xml");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("earlier");
        }
        const QString catalogue = m_demo + QStringLiteral("/ZUNT_8/TABDEF/ID_ORVEN2008.XML");
        QVERIFY(QFile::rename(catalogue, catalogue + QStringLiteral(".away")));
        const CliRun r = cli({QStringLiteral("generate"), QStringLiteral("--entity"), QStringLiteral("0"),
                              QStringLiteral("--bimester"), QStringLiteral("2"), QStringLiteral("--out"), out});
        QVERIFY(QFile::rename(catalogue + QStringLiteral(".away"), catalogue));
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("Erro ao Gerar o Arquivo XML!!!")));
        QVERIFY2(r.err.contains(QStringLiteral("ID_ORVEN2008.XML")), qPrintable(r.err)); // the cause
        QCOMPARE(readAll(path), QByteArray("earlier"));
    }

    // Runs last: it leaves an outstanding commitment without its court group.
    void unclassifiedCommitmentsStopTheRunAndShowInCheck()
    {
        const CliRun before = cli({QStringLiteral("check")});
        QVERIFY2(before.exitCode == 0, qPrintable(before.out + before.err));
        QVERIFY(before.out.contains(QStringLiteral("Restos a pagar: todos com grupo e fonte do TCE.")));

        execute(QStringLiteral(
            "UPDATE DESPES SET GRUPO_TCE = '' WHERE PKEMP = (SELECT FIRST 1 D.PKEMP FROM DESPES D INNER JOIN DESDIS S "
            "ON S.FICHA = D.FICHA WHERE SUBSTRING(S.BALCO FROM 1 FOR 4) = '3211' ORDER BY D.PKEMP)"));

        const QString out = m_tmp.filePath(QStringLiteral("out-refused"));
        QVERIFY(QDir().mkpath(out));
        const CliRun r = cli({QStringLiteral("generate"), QStringLiteral("--entity"), QStringLiteral("0"),
                              QStringLiteral("--bimester"), QStringLiteral("1"), QStringLiteral("--out"), out});
        QCOMPARE(r.exitCode, 3);
        QVERIFY(r.err.contains(QStringLiteral("Existem Empenhos de Restos à Pagar sem o Grupo e a Fonte do ORVEN!!!")));
        QVERIFY(!QFile::exists(out + QStringLiteral("/lrfcapturacontas.xml")));

        const CliRun after = cli({QStringLiteral("check")});
        QCOMPARE(after.exitCode, 3);
        QVERIFY(after.out.contains(QStringLiteral("IMPEDE A GERAÇÃO")));
        QVERIFY(after.out.contains(QStringLiteral("1 empenho(s)")));
    }
};

QTEST_GUILESS_MAIN(TestCliGenerate)
#include "tst_cli_generate.moc"
