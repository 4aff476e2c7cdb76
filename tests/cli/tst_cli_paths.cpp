// orven-cli paths: the folders of the directory codes, as the built program prints them.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList &args, const QString &envConfigDir = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ORVEN_CONFIG_DIR"));
    if (!envConfigDir.isEmpty())
        env.insert(QStringLiteral("ORVEN_CONFIG_DIR"), envConfigDir);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVEN_CLI_PATH), args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    f.write(bytes);
}

} // namespace

class TestCliPaths : public QObject {
    Q_OBJECT

private slots:
    void paths_data()
    {
        QTest::addColumn<QByteArray>("ini");       // "{base}" stands for <tmp>/ZUNT_8/; empty: no zunt.ini
        QTest::addColumn<QStringList>("folders");  // made below {base} before the run
        QTest::addColumn<QStringList>("args");     // after "--config-dir <tmp>"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");          // the whole of stdout, "{base}" replaced
        QTest::addColumn<QString>("err");          // a text stderr must hold; empty: stderr empty

        const QByteArray local = "[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados={base}\r\n";
        const QString listing = QStringLiteral("B     {base}ARQ2008/\n"
                                               "D     {base}ARQ2008/\n"
                                               "BK    {base}ARQ2008/\n"
                                               "BA    {base}ARQ2007/\n"
                                               "DA    {base}ARQ2007/\n"
                                               "AP    {base}\n"
                                               "BKAD  {base}ARQ2008/BCK/\n"
                                               "BKAB  {base}ARQ2008/BCK/\n"
                                               "TPD   {base}ARQ2008/TEMP/\n"
                                               "TPB   {base}ARQ2008/TEMP/\n"
                                               "DE    {base}ARQ2008/EXPORTA/\n"
                                               "DI    {base}ARQ2008/IMPORTA/\n"
                                               "RTM   {base}RTM/\n"
                                               "EXE   {base}\n"
                                               "TD    {base}TABDEF/\n"
                                               "TB    {base}TABDEF/\n");
        QTest::newRow("all codes, local layout")
            << local << QStringList{"ARQ2008"} << QStringList{"paths"} << 0 << listing << QString();
        QTest::newRow("listing needs no year folder")
            << local << QStringList() << QStringList{"paths"} << 0 << listing << QString();
        QTest::newRow("one code, lower case")
            << local << QStringList() << QStringList{"paths", "td"} << 0 << QStringLiteral("td  {base}TABDEF/\n")
            << QString();
        QTest::newRow("codes aligned")
            << local << QStringList() << QStringList{"paths", "TD", "B", "DA3"} << 0
            << QStringLiteral("TD   {base}TABDEF/\nB    {base}ARQ2008/\nDA3  {base}ARQ2005/\n") << QString();
        QTest::newRow("asked code creates its folder")
            << local << QStringList{"ARQ2008"} << QStringList{"paths", "BKAD"} << 0
            << QStringLiteral("BKAD  {base}ARQ2008/BCK/\n") << QString();
        QTest::newRow("asked code whose folder cannot be created")
            << local << QStringList() << QStringList{"paths", "B", "TPD", "TD"} << 1
            << QStringLiteral("B    {base}ARQ2008/\nTD   {base}TABDEF/\n")
            << QStringLiteral("Não é possível criar o diretório: {base}ARQ2008/TEMP/");
        const QByteArray badYear = "[ZUNT]\r\nAno=dois mil\r\nCaminho_Base_Dados={base}\r\n";
        QTest::newRow("bad year with BA")
            << badYear << QStringList() << QStringList{"paths", "BA"} << 1 << QString()
            << QStringLiteral("\"dois mil\" (chave Ano de zunt.ini) não é um número inteiro válido");
        QTest::newRow("bad year, other codes still printed")
            << badYear << QStringList() << QStringList{"paths", "B", "BA", "TD"} << 1
            << QStringLiteral("B   {base}ARQdois mil/\nTD  {base}TABDEF/\n") << QStringLiteral("BA: ");
        QTest::newRow("bad offset")
            << local << QStringList() << QStringList{"paths", "BAX"} << 1 << QString()
            << QStringLiteral("\"X\" não é um número inteiro");
        QTest::newRow("no zunt.ini: the defaults")
            << QByteArray() << QStringList() << QStringList{"paths", "B", "TD", "EXE", "AP"} << 0
            << QStringLiteral("B    ARQ/\nTD   /TABDEF/\nEXE  /\nAP\n") << QString();
        const QByteArray server = "[zunt]\r\nano=2008\r\nSERVIDOR=srvdb\r\nSO_Servidor=LINUX\r\n"
                                  "Caminho_Base_Dados=/dados/zunt_8/\r\nDiretorio_Servidor={base}\r\n";
        QTest::newRow("server layout")
            << server << QStringList() << QStringList{"paths", "B", "D", "TD", "TB", "XYZ"} << 0
            << QStringLiteral("B    srvdb:/dados/zunt_8/ARQ2008/\n"
                              "D    {base}ARQ2008/\n"
                              "TD   {base}TABDEF/\n"
                              "TB   srvdb:/dados/ZUNT_8/TABDEF/\n"
                              "XYZ\n")
            << QString();
    }

    void paths()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString base = tmp.path() + QStringLiteral("/ZUNT_8/");
        QVERIFY(QDir().mkpath(base));
        for (const QString &f : folders)
            QVERIFY(QDir().mkpath(base + f));
        if (!ini.isEmpty())
            writeFile(tmp.filePath(QStringLiteral("zunt.ini")), QByteArray(ini).replace("{base}", base.toUtf8()));
        const QStringList before = QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        const Run r = runCli(QStringList{QStringLiteral("--config-dir"), tmp.path()} + args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, QString(out).replace(QStringLiteral("{base}"), base));
        if (err.isEmpty())
            QCOMPARE(r.err, QString());
        else
            QVERIFY2(r.err.contains(QString(err).replace(QStringLiteral("{base}"), base)), qPrintable(r.err));

        // Listing creates nothing; an asked code creates its one folder.
        if (args == QStringList{QStringLiteral("paths")}) {
            QCOMPARE(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
            for (const QString &f : folders)
                QCOMPARE(QDir(base + f).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
            QCOMPARE(r.out.count(QLatin1Char('\n')), 16);
        }
        if (args.contains(QStringLiteral("BKAD")))
            QVERIFY(QFileInfo(base + QStringLiteral("ARQ2008/BCK")).isDir());
        if (args.contains(QStringLiteral("TPD")))
            QVERIFY(!QFileInfo::exists(base + QStringLiteral("ARQ2008")));
    }

    // The folder of zunt.ini: --config-dir (both spellings), else $ORVEN_CONFIG_DIR.
    void configFolderChoice()
    {
        QTemporaryDir a;
        QTemporaryDir b;
        QVERIFY(a.isValid() && b.isValid());
        writeFile(a.filePath(QStringLiteral("Zunt.ini")), "[ZUNT]\nAno=2001\nCaminho_Base_Dados=/a/\n");
        writeFile(b.filePath(QStringLiteral("ZUNT.INI")), "[ZUNT]\nAno=2002\nCaminho_Base_Dados=/b/\n");

        Run r = runCli({QStringLiteral("paths"), QStringLiteral("B")}, b.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("B  /b/ARQ2002/\n"));

        r = runCli({QStringLiteral("--config-dir"), a.path(), QStringLiteral("paths"), QStringLiteral("B")}, b.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("B  /a/ARQ2001/\n"));

        r = runCli({QStringLiteral("--config-dir=") + a.path(), QStringLiteral("paths"), QStringLiteral("D")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("D  /a/ARQ2001/\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliPaths)
#include "tst_cli_paths.moc"
