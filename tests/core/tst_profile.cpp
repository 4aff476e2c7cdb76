// Reading zunt.ini: the Windows profile-file semantics the suite relies on.

#include "common/Text.h"
#include "config/Installation.h"
#include "config/Profile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::config;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    f.write(bytes);
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void readsKey_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // the default is "<def>"

        const QByteArray ini = "[ZUNT]\nAno=2008\nServidor=srvdb\n";
        QTest::newRow("plain") << ini << "ZUNT" << "Ano" << "2008";
        QTest::newRow("key in other case") << ini << "ZUNT" << "ANO" << "2008";
        QTest::newRow("section in other case") << ini << "Zunt" << "servidor" << "srvdb";
        QTest::newRow("section written in lower case") << QByteArray("[zunt]\nano=2008\n") << "ZUNT" << "Ano" << "2008";
        QTest::newRow("missing key") << ini << "ZUNT" << "DLL" << "<def>";
        QTest::newRow("missing section") << ini << "OUTRA" << "Ano" << "<def>";
        QTest::newRow("empty file") << QByteArray() << "ZUNT" << "Ano" << "<def>";
        QTest::newRow("key of another section")
            << QByteArray("[OUTRA]\nAno=1999\n[ZUNT]\nServidor=x\n") << "ZUNT" << "Ano" << "<def>";
        QTest::newRow("lines before any section") << QByteArray("Ano=1999\n[ZUNT]\n") << "ZUNT" << "Ano" << "<def>";
        QTest::newRow("first section wins, key there")
            << QByteArray("[ZUNT]\nAno=2008\n[X]\n[zunt]\nAno=2009\nDLL=gds32.dll\n") << "ZUNT" << "Ano" << "2008";
        QTest::newRow("first section wins, key only in the second")
            << QByteArray("[ZUNT]\nAno=2008\n[X]\n[zunt]\nAno=2009\nDLL=gds32.dll\n") << "ZUNT" << "DLL" << "<def>";
        QTest::newRow("first key wins") << QByteArray("[ZUNT]\nAno=2008\nANO=2009\n") << "ZUNT" << "Ano" << "2008";
        QTest::newRow("empty value is not the default") << QByteArray("[ZUNT]\nAno=\n") << "ZUNT" << "Ano" << "";
        QTest::newRow("blanks around names and value")
            << QByteArray("  [ZUNT]  \n\t Ano \t=  2008 \t\n") << "ZUNT" << "Ano" << "2008";
        QTest::newRow("inner blanks kept")
            << QByteArray("[ZUNT]\nCaminho_Base_Dados= C:\\Meus Sistemas\\ZUNT_8\\ \n") << "ZUNT"
            << "Caminho_Base_Dados" << "C:\\Meus Sistemas\\ZUNT_8\\";
        QTest::newRow("equals sign in value")
            << QByteArray("[ZUNT]\nCaminho_Base_Dados=C:\\a=b\\\n") << "ZUNT" << "Caminho_Base_Dados" << "C:\\a=b\\";
        QTest::newRow("enclosing double quotes dropped")
            << QByteArray("[ZUNT]\nCaminho_Base_Dados=\"C:\\Meus Sistemas\\\"\n") << "ZUNT" << "Caminho_Base_Dados"
            << "C:\\Meus Sistemas\\";
        QTest::newRow("enclosing single quotes dropped")
            << QByteArray("[ZUNT]\nServidor='srvdb'\n") << "ZUNT" << "Servidor" << "srvdb";
        QTest::newRow("unbalanced quote kept") << QByteArray("[ZUNT]\nServidor=\"srvdb\n") << "ZUNT" << "Servidor"
                                               << "\"srvdb";
        QTest::newRow("comment line skipped") << QByteArray("[ZUNT]\n;Ano=1999\nAno=2008\n") << "ZUNT" << "Ano"
                                              << "2008";
        QTest::newRow("semicolon inside a value kept") << QByteArray("[ZUNT]\nAno=2008 ; velho\n") << "ZUNT"
                                                       << "Ano" << "2008 ; velho";
        QTest::newRow("bracket line without closing is no section")
            << QByteArray("[ZUNT]\n[quebrada\nAno=2008\n") << "ZUNT" << "Ano" << "2008";
        QTest::newRow("CRLF line ends") << QByteArray("[ZUNT]\r\nAno=2008\r\nServidor=srvdb\r\n") << "ZUNT"
                                        << "Ano" << "2008";
        QTest::newRow("CRLF, last key") << QByteArray("[ZUNT]\r\nAno=2008\r\nServidor=srvdb\r\n") << "ZUNT"
                                        << "Servidor" << "srvdb";
        QTest::newRow("lone CR line ends") << QByteArray("[ZUNT]\rAno=2008\rServidor=srvdb\r") << "ZUNT"
                                           << "Servidor" << "srvdb";
        QTest::newRow("no line end after the last value") << QByteArray("[ZUNT]\r\nAno=2008") << "ZUNT" << "Ano"
                                                          << "2008";
        // Accented folder names: the ANSI code page, UTF-8, and "Unicode" files.
        const QString accented = QStringLiteral("C:\\Contábil\\Área Pública\\ZUNT_8\\");
        QTest::newRow("Windows-1252 value")
            << QByteArray("[ZUNT]\r\nCaminho_Base_Dados=" + text::toWindows1252(accented) + "\r\n") << "ZUNT"
            << "Caminho_Base_Dados" << accented;
        QTest::newRow("UTF-8 value") << QByteArray("\xEF\xBB\xBF[ZUNT]\nCaminho_Base_Dados=" + accented.toUtf8() + "\n")
                                     << "ZUNT" << "Caminho_Base_Dados" << accented;
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        const QByteArray wide = QByteArray("\xFF\xFE")
            + QByteArray(utf16.encode(QStringLiteral("[ZUNT]\r\nCaminho_Base_Dados=") + accented + QStringLiteral("\r\n")));
        QTest::newRow("UTF-16 value") << wide << "ZUNT" << "Caminho_Base_Dados" << accented;
    }

    void readsKey()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString path = tmp.filePath(QStringLiteral("zunt.ini"));
        writeFile(path, content);
        QCOMPARE(readProfileString(path, section, key, QStringLiteral("<def>")), expected);
    }

    void missingFileGivesDefault()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString path = tmp.filePath(QStringLiteral("zunt.ini"));
        QCOMPARE(readProfileString(path, QStringLiteral("ZUNT"), QStringLiteral("SO_Servidor"), QStringLiteral("WINDOWS")),
                 QStringLiteral("WINDOWS"));
        QCOMPARE(readProfileString(path, QStringLiteral("ZUNT"), QStringLiteral("Ano")), QString());
        // A folder of that name is no file either.
        QVERIFY(QDir().mkpath(path));
        QCOMPARE(readProfileString(path, QStringLiteral("ZUNT"), QStringLiteral("Ano"), QStringLiteral("x")),
                 QStringLiteral("x"));
    }

    void valuesReadAfresh()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString path = tmp.filePath(QStringLiteral("zunt.ini"));
        writeFile(path, "[ZUNT]\r\nAno=2008\r\n");
        QCOMPARE(readProfileString(path, QStringLiteral("ZUNT"), QStringLiteral("Ano")), QStringLiteral("2008"));
        writeFile(path, "[ZUNT]\r\nAno=2009\r\n");
        QCOMPARE(readProfileString(path, QStringLiteral("ZUNT"), QStringLiteral("Ano")), QStringLiteral("2009"));
        QVERIFY(QFile::remove(path));
        QCOMPARE(readProfileString(path, QStringLiteral("ZUNT"), QStringLiteral("Ano"), QStringLiteral("-")),
                 QStringLiteral("-"));
    }

    void fileNameInAnyCase_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::newRow("zunt.ini") << "zunt.ini";
        QTest::newRow("Zunt.ini") << "Zunt.ini";
        QTest::newRow("ZUNT.INI") << "ZUNT.INI";
    }

    void fileNameInAnyCase()
    {
        QFETCH(QString, onDisk);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        writeFile(tmp.filePath(onDisk), "[ZUNT]\nAno=2008\nDLL=gds32.dll\n");
        // Another file that only looks alike is not taken.
        writeFile(tmp.filePath(QStringLiteral("zunt.ini.bak")), "[ZUNT]\nAno=1999\n");

        QCOMPARE(findFileNoCase(tmp.path(), QStringLiteral("Zunt.ini")), tmp.filePath(onDisk));
        QCOMPARE(findFileNoCase(tmp.path(), QStringLiteral("zunt.ini")), tmp.filePath(onDisk));

        setConfigDirOverride(tmp.path());
        QCOMPARE(zuntIniPath(), tmp.filePath(onDisk));
        QCOMPARE(zuntValue(QStringLiteral("ano")), QStringLiteral("2008"));
        QCOMPARE(zuntValue(QStringLiteral("DLL")), QStringLiteral("gds32.dll"));
        QCOMPARE(zuntValue(QStringLiteral("Servidor"), QStringLiteral("nenhum")), QStringLiteral("nenhum"));
        setConfigDirOverride(QString());
    }

    void exactNamePreferred()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        writeFile(tmp.filePath(QStringLiteral("ZUNT.INI")), "[ZUNT]\nAno=1999\n");
        writeFile(tmp.filePath(QStringLiteral("zunt.ini")), "[ZUNT]\nAno=2008\n");
        QCOMPARE(findFileNoCase(tmp.path(), QStringLiteral("zunt.ini")), tmp.filePath(QStringLiteral("zunt.ini")));
        // None there: the name as asked, in that folder.
        QTemporaryDir empty;
        QCOMPARE(findFileNoCase(empty.path(), QStringLiteral("Zunt.ini")), empty.filePath(QStringLiteral("Zunt.ini")));
    }

    void configFolderChoice()
    {
        QTemporaryDir a;
        QTemporaryDir b;
        writeFile(a.filePath(QStringLiteral("zunt.ini")), "[ZUNT]\nAno=2001\n");
        writeFile(b.filePath(QStringLiteral("zunt.ini")), "[ZUNT]\nAno=2002\n");

        qputenv("ORVEN_CONFIG_DIR", QFile::encodeName(b.path()));
        QCOMPARE(zuntValue(QStringLiteral("Ano")), QStringLiteral("2002"));
        setConfigDirOverride(a.path()); // the command line's choice comes first
        QCOMPARE(zuntValue(QStringLiteral("Ano")), QStringLiteral("2001"));
        setConfigDirOverride(QString());
        qunsetenv("ORVEN_CONFIG_DIR");
        QCOMPARE(configDir(), QCoreApplication::applicationDirPath());
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
