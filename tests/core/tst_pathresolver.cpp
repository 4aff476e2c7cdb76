// The directory-code resolver: both installation layouts, both separators,
// year offsets, folder creation and the reading of zunt.ini.

#include "common/Error.h"
#include "config/Installation.h"
#include "config/PathResolver.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::config;

Q_DECLARE_METATYPE(orven::config::ZuntSettings)

namespace {

ZuntSettings localSettings(const QString &caminho, const QString &ano = QStringLiteral("2008"))
{
    ZuntSettings s;
    s.ano = ano;
    s.caminho = caminho;
    return s;
}

ZuntSettings serverSettings(const QString &so, const QString &caminho, const QString &diretorio,
                            const QString &ano = QStringLiteral("2008"))
{
    ZuntSettings s;
    s.ano = ano;
    s.servidor = QStringLiteral("srvdb");
    s.soServidor = so;
    s.caminho = caminho;
    s.diretorio = diretorio;
    return s;
}

// The same workstation path written for a Linux workstation: "C:\x\" becomes "/c/x/".
QString toLinux(QString path)
{
    static const QRegularExpression drive(QStringLiteral("^([A-Za-z]):\\\\"));
    const auto m = drive.match(path);
    if (m.hasMatch())
        path = QLatin1Char('/') + m.captured(1).toLower() + QLatin1Char('/') + path.mid(3);
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    f.write(bytes);
}

QString errorOf(const ZuntSettings &s, const QString &code, QChar sep, bool create)
{
    try {
        resolvePath(s, code, sep, create);
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestPathResolver : public QObject {
    Q_OBJECT

private:
    // One row with the Windows separator as written, one with the paths of
    // this workstation in their Linux form and "/" as separator. Paths as
    // the database server sees them are the same in both rows.
    void addBoth(const char *name, const ZuntSettings &s, const QString &code, const QString &expected,
                 bool workstationResult)
    {
        QTest::addRow("%s [\\]", name) << s << QStringLiteral("\\") << code << expected;
        ZuntSettings lx = s;
        if (s.servidor.isEmpty())
            lx.caminho = toLinux(s.caminho);
        else
            lx.diretorio = toLinux(s.diretorio);
        QTest::addRow("%s [/]", name) << lx << QStringLiteral("/") << code
                                      << (workstationResult ? toLinux(expected) : expected);
    }

private slots:
    void resolves_data()
    {
        QTest::addColumn<ZuntSettings>("settings");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");

        // Local installation, C = C:\ZUNT_8\, A = 2008: every code.
        const ZuntSettings loc = localSettings(QStringLiteral("C:\\ZUNT_8\\"));
        addBoth("local B", loc, "B", "C:\\ZUNT_8\\ARQ2008\\", true);
        addBoth("local D", loc, "D", "C:\\ZUNT_8\\ARQ2008\\", true);
        addBoth("local BK", loc, "BK", "C:\\ZUNT_8\\ARQ2008\\", true);
        addBoth("local BA", loc, "BA", "C:\\ZUNT_8\\ARQ2007\\", true);
        addBoth("local BA2", loc, "BA2", "C:\\ZUNT_8\\ARQ2006\\", true);
        addBoth("local BA0", loc, "BA0", "C:\\ZUNT_8\\ARQ2008\\", true);
        addBoth("local DA", loc, "DA", "C:\\ZUNT_8\\ARQ2007\\", true);
        addBoth("local DA3", loc, "DA3", "C:\\ZUNT_8\\ARQ2005\\", true);
        addBoth("local ba2 lower case", loc, "ba2", "C:\\ZUNT_8\\ARQ2006\\", true);
        addBoth("local AP", loc, "AP", "C:\\ZUNT_8\\", true);
        addBoth("local BKAD", loc, "BKAD", "C:\\ZUNT_8\\ARQ2008\\BCK\\", true);
        addBoth("local BKAB", loc, "BKAB", "C:\\ZUNT_8\\ARQ2008\\BCK\\", true);
        addBoth("local TPD", loc, "TPD", "C:\\ZUNT_8\\ARQ2008\\TEMP\\", true);
        addBoth("local TPB", loc, "TPB", "C:\\ZUNT_8\\ARQ2008\\TEMP\\", true);
        addBoth("local DE", loc, "DE", "C:\\ZUNT_8\\ARQ2008\\EXPORTA\\", true);
        addBoth("local DI", loc, "DI", "C:\\ZUNT_8\\ARQ2008\\IMPORTA\\", true);
        addBoth("local RTM", loc, "RTM", "C:\\ZUNT_8\\RTM\\", true);
        addBoth("local EXE", loc, "EXE", "C:\\ZUNT_8\\", true);
        addBoth("local TD", loc, "TD", "C:\\ZUNT_8\\TABDEF\\", true);
        addBoth("local td lower case", loc, "td", "C:\\ZUNT_8\\TABDEF\\", true);
        addBoth("local TB", loc, "TB", "C:\\ZUNT_8\\TABDEF\\", true);
        addBoth("local unlisted XYZ", loc, "XYZ", "C:\\ZUNT_8\\TABDEF\\", true);

        // The installation root: cut after the first marker, in upper case.
        const ZuntSettings banco = localSettings(QStringLiteral("D:\\Sistemas\\zunt_8\\Banco\\"));
        addBoth("root below marker TD", banco, "TD", "D:\\Sistemas\\ZUNT_8\\TABDEF\\", true);
        addBoth("root below marker EXE", banco, "EXE", "D:\\Sistemas\\ZUNT_8\\", true);
        addBoth("root below marker B keeps C", banco, "B", "D:\\Sistemas\\zunt_8\\Banco\\ARQ2008\\", true);
        addBoth("marker inside a longer name", localSettings(QStringLiteral("C:\\Old\\zUnT_8_Antigo\\Dados\\")),
                "TD", "C:\\Old\\ZUNT_8\\TABDEF\\", true);
        addBoth("first of two markers", localSettings(QStringLiteral("C:\\zunt_8\\copia\\ZUNT_8\\")), "EXE",
                "C:\\ZUNT_8\\", true);
        // Without a marker the root is C itself: no doubled separator.
        const ZuntSettings plain = localSettings(QStringLiteral("C:\\Contab\\"));
        addBoth("no marker TD", plain, "TD", "C:\\Contab\\TABDEF\\", true);
        addBoth("no marker EXE", plain, "EXE", "C:\\Contab\\", true);
        const ZuntSettings bare = localSettings(QStringLiteral("C:\\Contab"));
        addBoth("no marker no separator TD", bare, "TD", "C:\\Contab\\TABDEF\\", true);
        addBoth("no marker no separator EXE", bare, "EXE", "C:\\Contab\\", true);
        addBoth("names appended to C directly", bare, "B", "C:\\ContabARQ2008\\", true);

        // No configuration at all: a local installation with an empty base.
        const ZuntSettings none = localSettings(QString(), QString());
        addBoth("defaults B", none, "B", "ARQ\\", true);
        addBoth("defaults TD", none, "TD", "\\TABDEF\\", true);
        addBoth("defaults EXE", none, "EXE", "\\", true);
        addBoth("defaults AP", none, "AP", "", true);

        // Server installation on Linux, C = /dados/zunt_8/, W = Z:\ : every code.
        const ZuntSettings srv =
            serverSettings(QStringLiteral("LINUX"), QStringLiteral("/dados/zunt_8/"), QStringLiteral("Z:\\"));
        addBoth("server B", srv, "B", "srvdb:/dados/zunt_8/ARQ2008/", false);
        addBoth("server D", srv, "D", "Z:\\ARQ2008\\", true);
        addBoth("server BA", srv, "BA", "srvdb:/dados/zunt_8/ARQ2007/", false);
        addBoth("server BA2", srv, "BA2", "srvdb:/dados/zunt_8/ARQ2006/", false);
        addBoth("server DA", srv, "DA", "Z:\\ARQ2007\\", true);
        addBoth("server DA3", srv, "DA3", "Z:\\ARQ2005\\", true);
        addBoth("server TD (W without marker)", srv, "TD", "Z:\\TABDEF\\", true);
        addBoth("server td lower case", srv, "td", "Z:\\TABDEF\\", true);
        addBoth("server TB", srv, "TB", "srvdb:/dados/ZUNT_8/TABDEF/", false);
        addBoth("server BK", srv, "BK", "/dados/zunt_8/ARQ2008/", false);
        addBoth("server BKAD", srv, "BKAD", "Z:\\ARQ2008\\BCK\\", true);
        addBoth("server BKAB", srv, "BKAB", "/dados/zunt_8/ARQ2008/BCK/", false);
        addBoth("server AP", srv, "AP", "Z:\\", true);
        addBoth("server TPD", srv, "TPD", "Z:\\ARQ2008\\TEMP\\", true);
        addBoth("server TPB", srv, "TPB", "/dados/zunt_8/ARQ2008/TEMP/", false);
        addBoth("server DE", srv, "DE", "Z:\\ARQ2008\\EXPORTA\\", true);
        addBoth("server DI", srv, "DI", "Z:\\ARQ2008\\IMPORTA\\", true);
        addBoth("server RTM", srv, "RTM", "Z:\\RTM\\", true);
        addBoth("server EXE", srv, "EXE", "Z:\\", true);
        addBoth("server unlisted XYZ", srv, "XYZ", "", false);

        // W with a marker: RW is cut there.
        const ZuntSettings srvW = serverSettings(QStringLiteral("LINUX"), QStringLiteral("/dados/zunt_8/"),
                                                 QStringLiteral("Z:\\rede\\Zunt_8\\dados\\"));
        addBoth("server TD with marker in W", srvW, "TD", "Z:\\rede\\ZUNT_8\\TABDEF\\", true);
        addBoth("server EXE with marker in W", srvW, "EXE", "Z:\\rede\\ZUNT_8\\", true);
        addBoth("server D keeps W", srvW, "D", "Z:\\rede\\Zunt_8\\dados\\ARQ2008\\", true);

        // Only "LINUX" exactly selects "/" on the server.
        const ZuntSettings lower =
            serverSettings(QStringLiteral("linux"), QStringLiteral("/dados/zunt_8/"), QStringLiteral("Z:\\"));
        addBoth("so linux lower case B", lower, "B", "srvdb:/dados/zunt_8/ARQ2008\\", false);
        addBoth("so linux lower case TB", lower, "TB", "srvdb:/dados/ZUNT_8\\TABDEF\\", false);
        addBoth("so linux lower case BKAB", lower, "BKAB", "/dados/zunt_8/ARQ2008\\BCK\\", false);

        // Windows server.
        const ZuntSettings win = serverSettings(QStringLiteral("WINDOWS"), QStringLiteral("E:\\Zunt_8\\Dados\\"),
                                                QStringLiteral("Z:\\"));
        addBoth("windows server B", win, "B", "srvdb:E:\\Zunt_8\\Dados\\ARQ2008\\", false);
        addBoth("windows server BA", win, "BA", "srvdb:E:\\Zunt_8\\Dados\\ARQ2007\\", false);
        addBoth("windows server TB", win, "TB", "srvdb:E:\\ZUNT_8\\TABDEF\\", false);
        addBoth("windows server TPB", win, "TPB", "E:\\Zunt_8\\Dados\\ARQ2008\\TEMP\\", false);

        // A separate table-definition server and base.
        ZuntSettings tab = win;
        tab.servidorTabdef = QStringLiteral("tabsrv");
        tab.caminhoTabdef = QStringLiteral("F:\\Tabelas");
        addBoth("TABDEF server and base", tab, "TB", "tabsrv:F:\\Tabelas\\TABDEF\\", false);
        tab.caminhoTabdef = QStringLiteral("F:\\Tabelas\\");
        addBoth("TABDEF base ending in backslash", tab, "TB", "tabsrv:F:\\Tabelas\\TABDEF\\", false);
        ZuntSettings tabLinux = srv;
        tabLinux.caminhoTabdef = QStringLiteral("/tabelas/");
        addBoth("TABDEF base ending in slash on Linux", tabLinux, "TB", "srvdb:/tabelas/TABDEF/", false);
        tabLinux.caminhoTabdef = QStringLiteral("/tabelas");
        addBoth("TABDEF base without separator on Linux", tabLinux, "TB", "srvdb:/tabelas/TABDEF/", false);

        // Server with an empty W: names appended to nothing.
        addBoth("server empty W", serverSettings(QStringLiteral("LINUX"), QStringLiteral("/d/"), QString()), "D",
                "ARQ2008\\", true);
    }

    void resolves()
    {
        QFETCH(ZuntSettings, settings);
        QFETCH(QString, separator);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QCOMPARE(resolvePath(settings, code, separator.at(0), false), expected);
    }

    void yearErrors_data()
    {
        QTest::addColumn<ZuntSettings>("settings");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("culprit");

        const ZuntSettings srv =
            serverSettings(QStringLiteral("LINUX"), QStringLiteral("/dados/zunt_8/"), QStringLiteral("Z:\\"));
        QTest::newRow("year with letters, BA") << localSettings("C:\\ZUNT_8\\", "20O8") << "BA" << "20O8";
        QTest::newRow("year with letters, DA3") << localSettings("C:\\ZUNT_8\\", "abc") << "DA3" << "abc";
        QTest::newRow("empty year, BA") << localSettings("C:\\ZUNT_8\\", "") << "BA" << "\"\"";
        QTest::newRow("fractional year") << localSettings("C:\\ZUNT_8\\", "2008.0") << "BA" << "2008.0";
        QTest::newRow("year with letters, server BA") << serverSettings("LINUX", "/d/", "Z:\\", "x") << "BA"
                                                      << "\"x\"";
        QTest::newRow("year with letters, server DA") << serverSettings("LINUX", "/d/", "Z:\\", "x") << "DA"
                                                      << "\"x\"";
        QTest::newRow("offset with letters") << localSettings("C:\\ZUNT_8\\") << "BAX" << "X";
        QTest::newRow("offset fractional") << srv << "DA1.5" << "1.5";
        QTest::newRow("offset with blank") << srv << "BA 2" << " 2";
        QTest::newRow("offset too large") << srv << "BA99999999999" << "99999999999";
    }

    void yearErrors()
    {
        QFETCH(ZuntSettings, settings);
        QFETCH(QString, code);
        QFETCH(QString, culprit);
        for (const QChar sep : {QLatin1Char('\\'), QLatin1Char('/')}) {
            const QString message = errorOf(settings, code, sep, false);
            QVERIFY2(!message.isEmpty(), "no error raised");
            QVERIFY2(message.contains(culprit), qPrintable(message));
            QVERIFY2(message.contains(QStringLiteral("não é um número inteiro")), qPrintable(message));
        }
    }

    void badYearOnlyMattersToOffsetCodes()
    {
        const ZuntSettings s = localSettings(QStringLiteral("/z/ZUNT_8/"), QStringLiteral("abc"));
        QCOMPARE(resolvePath(s, QStringLiteral("B"), QLatin1Char('/'), false), QStringLiteral("/z/ZUNT_8/ARQabc/"));
        QCOMPARE(resolvePath(s, QStringLiteral("TD"), QLatin1Char('/'), false), QStringLiteral("/z/ZUNT_8/TABDEF/"));
        // A signed offset is a whole number too.
        const ZuntSettings y = localSettings(QStringLiteral("/z/"));
        QCOMPARE(resolvePath(y, QStringLiteral("BA-1"), QLatin1Char('/'), false), QStringLiteral("/z/ARQ2009/"));
        QCOMPARE(resolvePath(y, QStringLiteral("DA+2"), QLatin1Char('/'), false), QStringLiteral("/z/ARQ2006/"));
    }

    void createsWorkingFolders_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("created"); // below the workstation base

        for (const bool server : {false, true}) {
            const char *layout = server ? "server" : "local";
            QTest::addRow("%s BKAD", layout) << server << "BKAD" << "ARQ2008/BCK";
            QTest::addRow("%s BKAB", layout) << server << "BKAB" << "ARQ2008/BCK";
            QTest::addRow("%s TPD", layout) << server << "TPD" << "ARQ2008/TEMP";
            QTest::addRow("%s TPB", layout) << server << "TPB" << "ARQ2008/TEMP";
            QTest::addRow("%s de lower case", layout) << server << "de" << "ARQ2008/EXPORTA";
            QTest::addRow("%s DI", layout) << server << "DI" << "ARQ2008/IMPORTA";
            QTest::addRow("%s RTM", layout) << server << "RTM" << "RTM";
        }
    }

    void createsWorkingFolders()
    {
        QFETCH(bool, server);
        QFETCH(QString, code);
        QFETCH(QString, created);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString base = tmp.path() + QStringLiteral("/ZUNT_8/");
        QVERIFY(QDir().mkpath(base + QStringLiteral("ARQ2008")));
        // In the server layout C is the server's path: nothing may be created there.
        const ZuntSettings s = server ? serverSettings(QStringLiteral("LINUX"), tmp.path() + QStringLiteral("/srv/"), base)
                                      : localSettings(base);
        const QString target = base + created;

        // Listing creates nothing.
        const QString listed = resolvePath(s, code, QLatin1Char('/'), false);
        QVERIFY(!QFileInfo::exists(target));

        const QString folder = resolvePath(s, code, QLatin1Char('/'), true);
        QCOMPARE(folder, listed);
        QVERIFY2(QFileInfo(target).isDir(), qPrintable(target));
        QVERIFY(!QFileInfo::exists(tmp.path() + QStringLiteral("/srv")));
        if (!server || (code != QLatin1String("BKAB") && code != QLatin1String("TPB")))
            QCOMPARE(folder, target + QLatin1Char('/'));
        else
            QCOMPARE(folder, tmp.path() + QStringLiteral("/srv/") + created + QLatin1Char('/'));

        // A second call finds it there.
        QCOMPARE(resolvePath(s, code, QLatin1Char('/'), true), folder);
    }

    void creationFailures_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("fileInTheWay");

        QTest::newRow("local BKAD, year folder missing") << false << "BKAD" << "ARQ2008/BCK/" << false;
        QTest::newRow("local TPB, year folder missing") << false << "TPB" << "ARQ2008/TEMP/" << false;
        QTest::newRow("server BKAB, year folder missing") << true << "BKAB" << "ARQ2008/BCK/" << false;
        QTest::newRow("server DE, year folder missing") << true << "DE" << "ARQ2008/EXPORTA/" << false;
        QTest::newRow("local RTM, file in the way") << false << "RTM" << "RTM/" << true;
    }

    void creationFailures()
    {
        QFETCH(bool, server);
        QFETCH(QString, code);
        QFETCH(QString, wanted);
        QFETCH(bool, fileInTheWay);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString base = tmp.path() + QStringLiteral("/ZUNT_8/");
        QVERIFY(QDir().mkpath(base));
        if (fileInTheWay)
            writeFile(base + wanted.chopped(1), "x");
        const ZuntSettings s = server ? serverSettings(QStringLiteral("LINUX"), QStringLiteral("/srv/"), base)
                                      : localSettings(base);

        QCOMPARE(errorOf(s, code, QLatin1Char('/'), true), QStringLiteral("Não é possível criar o diretório: ") + base + wanted);
        // Only the last level is ever created.
        QVERIFY(!QFileInfo::exists(base + QStringLiteral("ARQ2008")));
        // Without creation the path is still given.
        QCOMPARE(errorOf(s, code, QLatin1Char('/'), false), QString());
    }

    void uncreatedCodesCreateNothing()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString base = tmp.path() + QStringLiteral("/ZUNT_8/");
        QVERIFY(QDir().mkpath(base));
        for (const char *code : {"B", "D", "BK", "BA", "DA2", "AP", "EXE", "TD", "TB"})
            resolvePath(localSettings(base), QLatin1String(code), QLatin1Char('/'), true);
        QCOMPARE(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // A Linux workstation whose installation folder is spelled "zunt_8": the
    // upper-case root would name no folder, so the spelling on disk is kept.
    void lowerCaseInstallationFolderOnLinux()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(QDir().mkpath(tmp.path() + QStringLiteral("/zunt_8/Banco")));
        if (QFileInfo::exists(tmp.path() + QStringLiteral("/ZUNT_8")))
            QSKIP("the file system does not tell case apart");
        const ZuntSettings loc = localSettings(tmp.path() + QStringLiteral("/zunt_8/Banco/"));
        QCOMPARE(resolvePath(loc, QStringLiteral("TD"), QLatin1Char('/'), false),
                 tmp.path() + QStringLiteral("/zunt_8/TABDEF/"));
        QCOMPARE(resolvePath(loc, QStringLiteral("EXE"), QLatin1Char('/'), false), tmp.path() + QStringLiteral("/zunt_8/"));
        // The server's path is not this workstation's business: upper case as always.
        ZuntSettings srv = serverSettings(QStringLiteral("LINUX"), tmp.path() + QStringLiteral("/zunt_8/"),
                                          tmp.path() + QStringLiteral("/zunt_8/"));
        QCOMPARE(resolvePath(srv, QStringLiteral("TD"), QLatin1Char('/'), false),
                 tmp.path() + QStringLiteral("/zunt_8/TABDEF/"));
        QCOMPARE(resolvePath(srv, QStringLiteral("TB"), QLatin1Char('/'), false),
                 QStringLiteral("srvdb:") + tmp.path() + QStringLiteral("/ZUNT_8/TABDEF/"));
        // Once the upper-case folder exists, it is the one.
        QVERIFY(QDir().mkpath(tmp.path() + QStringLiteral("/ZUNT_8")));
        QCOMPARE(resolvePath(loc, QStringLiteral("TD"), QLatin1Char('/'), false),
                 tmp.path() + QStringLiteral("/ZUNT_8/TABDEF/"));
    }

    void settingsFromFile()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString ini = tmp.filePath(QStringLiteral("zunt.ini"));

        // Missing file: every default.
        ZuntSettings s = ZuntSettings::fromFile(tmp.filePath(QStringLiteral("missing.ini")));
        QCOMPARE(s.ano, QString());
        QCOMPARE(s.servidor, QString());
        QCOMPARE(s.soServidor, QStringLiteral("WINDOWS"));
        QCOMPARE(s.caminho, QString());
        QCOMPARE(s.diretorio, QString());
        QCOMPARE(s.servidorTabdef, QString());
        QCOMPARE(s.caminhoTabdef, QString());

        // Keys in any case; the two TABDEF keys empty take S and RC.
        writeFile(ini, "[zunt]\r\nANO=2009\r\nservidor=srvdb\r\nso_servidor=LINUX\r\n"
                       "caminho_base_dados=/dados/zunt_8/base/\r\nDIRETORIO_SERVIDOR=Z:\\\r\nServidorTABDEF=\r\n");
        s = ZuntSettings::fromFile(ini);
        QCOMPARE(s.ano, QStringLiteral("2009"));
        QCOMPARE(s.servidor, QStringLiteral("srvdb"));
        QCOMPARE(s.soServidor, QStringLiteral("LINUX"));
        QCOMPARE(s.caminho, QStringLiteral("/dados/zunt_8/base/"));
        QCOMPARE(s.diretorio, QStringLiteral("Z:\\"));
        QCOMPARE(s.servidorTabdef, QStringLiteral("srvdb"));
        QCOMPARE(s.caminhoTabdef, QStringLiteral("/dados/ZUNT_8"));
        QCOMPARE(resolvePath(s, QStringLiteral("TB"), QLatin1Char('/'), false),
                 QStringLiteral("srvdb:/dados/ZUNT_8/TABDEF/"));

        // Given values are kept.
        writeFile(ini, "[ZUNT]\nServidor=srvdb\nServidorTABDEF=tabsrv\nCaminho_Base_Dados_TABDEF=G:\\Tab\\\n");
        s = ZuntSettings::fromFile(ini);
        QCOMPARE(s.servidorTabdef, QStringLiteral("tabsrv"));
        QCOMPARE(s.caminhoTabdef, QStringLiteral("G:\\Tab\\"));
        QCOMPARE(s.soServidor, QStringLiteral("WINDOWS"));
        QCOMPARE(resolvePath(s, QStringLiteral("TB"), QLatin1Char('/'), false), QStringLiteral("tabsrv:G:\\Tab\\TABDEF\\"));
    }

    // The program's own call: zunt.ini of the configuration folder, whatever
    // the case of its name, read again at every call, the platform's separator.
    void programResolverReadsIniAfresh()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        setConfigDirOverride(tmp.path());
        const QString base = QDir::toNativeSeparators(tmp.path() + QStringLiteral("/ZUNT_8/"));
        const QChar sep = QDir::separator();

        QCOMPARE(resolvePath(QStringLiteral("TD")), sep + QStringLiteral("TABDEF") + sep);

        const QString ini = tmp.filePath(QStringLiteral("Zunt.INI"));
        writeFile(ini, "[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados=" + base.toUtf8() + "\r\n");
        QCOMPARE(resolvePath(QStringLiteral("B")), base + QStringLiteral("ARQ2008") + sep);
        QCOMPARE(resolvePath(QStringLiteral("td")), base + QStringLiteral("TABDEF") + sep);

        writeFile(ini, "[ZUNT]\r\nAno=2010\r\nCaminho_Base_Dados=" + base.toUtf8() + "\r\n");
        QCOMPARE(resolvePath(QStringLiteral("BA")), base + QStringLiteral("ARQ2009") + sep);

        // The program's call creates the working folders.
        QVERIFY(QDir().mkpath(tmp.path() + QStringLiteral("/ZUNT_8/ARQ2010")));
        QCOMPARE(resolvePath(QStringLiteral("TPD")), base + QStringLiteral("ARQ2010") + sep + QStringLiteral("TEMP") + sep);
        QVERIFY(QFileInfo(tmp.path() + QStringLiteral("/ZUNT_8/ARQ2010/TEMP")).isDir());

        setConfigDirOverride(QString());
    }

    void knownCodesCoverBothTables()
    {
        const QStringList codes = knownCodes();
        for (const char *code :
             {"B", "D", "BK", "BA", "DA", "AP", "BKAD", "BKAB", "TPD", "TPB", "DE", "DI", "RTM", "EXE", "TD", "TB"})
            QVERIFY2(codes.contains(QLatin1String(code)), code);
        QCOMPARE(codes.size(), 16);
        // Each of them is one the server layout knows (an unknown one resolves to nothing).
        const ZuntSettings srv = serverSettings(QStringLiteral("LINUX"), QStringLiteral("/d/"), QStringLiteral("/w/"));
        for (const QString &code : codes)
            QVERIFY2(!resolvePath(srv, code, QLatin1Char('/'), false).isEmpty(), qPrintable(code));
    }
};

QTEST_GUILESS_MAIN(TestPathResolver)
#include "tst_pathresolver.moc"
