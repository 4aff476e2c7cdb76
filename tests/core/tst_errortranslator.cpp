#include "RecordingMessages.h"

#include "config/Installation.h"
#include "db/ErrorTranslator.h"
#include "db/Firebird.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using orven::MessageService;
using orven::db::ErrorTranslator;
using orven::test::RecordingMessages;

namespace {

const QString CR = QStringLiteral("\r");

QString checkMessage(const QString &quotedName)
{
    return QStringLiteral("Atenção!!! ") + CR + CR +
           QStringLiteral("Erro de checagem! Com essa alteração o valor poderá ficar negativo devido já existir uma "
                          "anulação! ") +
           CR + QStringLiteral("A Operação será cancelada.") + CR + CR + QStringLiteral(" Checagem:") + quotedName;
}

QString foreignKeyMessage(const QString &quotedName)
{
    return QStringLiteral("Atenção!!! ") + CR + CR +
           QStringLiteral("Existem Registros que dependem do Registro que você está tentando alterar ou excluir...") +
           CR + QStringLiteral("A Operação será cancelada.") + CR + CR + QStringLiteral(" Erro de chave estrangeira:") +
           quotedName;
}

QString primaryKeyMessage(const QString &upperText)
{
    return QStringLiteral("Atenção!!! ") + CR + CR + QStringLiteral("Violação de Chave Primária! Registro já Existe...") +
           CR + CR + QStringLiteral("A Operação será cancelada.") + CR + upperText;
}

QString requiredMessage()
{
    return QStringLiteral("Atenção!!! ") + CR + CR + QStringLiteral("Campo de Preencimento Obrigatório!!!") + CR + CR +
           QStringLiteral("Favor Informar um Valor");
}

QString lockMessage(const QString &by, const QString &why, const QString &error)
{
    return QStringLiteral("Atenção!!! ") + CR + CR +
           QStringLiteral("Operação não permitida, banco de dados bloqueado para manutenção!") + CR + CR +
           QStringLiteral("A Operação será cancelada.") + CR + CR +
           QStringLiteral("Usuário responsável pelo bloqueio: ") + by + CR + QStringLiteral("Mensagem do usuário: ") +
           why + CR + CR + QStringLiteral("Erro:") + error;
}

QString generalMessage(const QString &error) { return QStringLiteral("Ocorreram Problemas...") + CR + error; }

const QString kLocked = QStringLiteral("Operação não permitida, banco de dados bloqueado!");
const QString kFixture = QStringLiteral("tst-errortranslator-fixture");

} // namespace

class TestErrorTranslator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void patterns_data();
    void patterns();
    void lockCheck_data();
    void lockCheck();
    void engineTexts();

private:
    void exec(const QString &connectionName, const QString &sql);
    void createYear(const QString &year, const QStringList &statements);
    void writeZuntIni(const QString &year, const QString &dll);
    void checkAllAreErrors(const RecordingMessages &messages);

    QTemporaryDir m_tmp;
    QString m_base;      // the suite's base folder, <tmp>/ZUNT_8/
    QString m_configDir; // the folder of zunt.ini
};

void TestErrorTranslator::exec(const QString &connectionName, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    QVERIFY2(query.exec(sql), qPrintable(sql + QLatin1String(": ") + query.lastError().text()));
}

void TestErrorTranslator::createYear(const QString &year, const QStringList &statements)
{
    const QString folder = m_base + QStringLiteral("ARQ") + year;
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/ZUNT") + year + QStringLiteral(".FDB");
    orven::firebird::createDatabase(path);
    const QString name = QStringLiteral("tst-create-") + year;
    {
        QSqlDatabase db = orven::firebird::addConnection(name, path);
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        for (const QString &sql : statements) {
            exec(name, sql);
            if (QTest::currentTestFailed())
                break;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void TestErrorTranslator::writeZuntIni(const QString &year, const QString &dll)
{
    QFile::remove(m_configDir + QStringLiteral("/zunt.ini"));
    if (year.isEmpty())
        return; // no configuration file at all
    QFile ini(m_configDir + QStringLiteral("/zunt.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Text));
    ini.write("[ZUNT]\n");
    ini.write("Ano=" + year.toLatin1() + "\n");
    ini.write("Caminho_Base_Dados=" + m_base.toUtf8() + "\n");
    if (!dll.isEmpty())
        ini.write("DLL=" + dll.toUtf8() + "\n");
}

void TestErrorTranslator::checkAllAreErrors(const RecordingMessages &messages)
{
    for (const auto &entry : messages.entries) {
        QCOMPARE(entry.caption, QStringLiteral("Erro"));
        QCOMPARE(entry.icon, MessageService::Icon::Error);
        QVERIFY(!entry.question);
    }
}

void TestErrorTranslator::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_base = m_tmp.path() + QStringLiteral("/ZUNT_8/");
    m_configDir = m_tmp.path() + QStringLiteral("/config");
    QVERIFY(QDir().mkpath(m_configDir));
    orven::config::setConfigDirOverride(m_configDir);

    // 2008: the year's database with its lock columns.
    createYear(QStringLiteral("2008"),
               {QStringLiteral("CREATE TABLE CADCLI (CGC VARCHAR(18) NOT NULL, MEXER VARCHAR(4), BLOQBANCO CHAR(1), "
                               "BLOQNOME CHAR(20), BLOQMSG VARCHAR(200))"),
                QStringLiteral("INSERT INTO CADCLI VALUES ('00.000.000/0001-00', '2008', 'N', 'JOAO', 'backup')"),
                QStringLiteral("CREATE TABLE PAI (ID INTEGER NOT NULL, CONSTRAINT PK_PAI PRIMARY KEY (ID))"),
                QStringLiteral("CREATE TABLE FILHO (ID INTEGER NOT NULL, PAI INTEGER, "
                               "CONSTRAINT FK_FILHO_PAI FOREIGN KEY (PAI) REFERENCES PAI (ID))"),
                QStringLiteral("INSERT INTO PAI VALUES (1)")});
    // 2009: an older CADCLI without the lock columns.
    createYear(QStringLiteral("2009"),
               {QStringLiteral("CREATE TABLE CADCLI (CGC VARCHAR(18) NOT NULL, MEXER VARCHAR(4))"),
                QStringLiteral("INSERT INTO CADCLI VALUES ('00.000.000/0001-00', '2009')")});
    // 2010: the year's folder exists, its database does not.
    QVERIFY(QDir().mkpath(m_base + QStringLiteral("ARQ2010")));
    // 2011: CADCLI with the lock columns but no row.
    createYear(QStringLiteral("2011"),
               {QStringLiteral("CREATE TABLE CADCLI (CGC VARCHAR(18) NOT NULL, MEXER VARCHAR(4), BLOQBANCO CHAR(1), "
                               "BLOQNOME VARCHAR(30), BLOQMSG VARCHAR(200))")});

    // Stands for the data module's connection, which the lock check must leave alone.
    QSqlDatabase fixture =
        orven::firebird::addConnection(kFixture, m_base + QStringLiteral("ARQ2008/ZUNT2008.FDB"));
    QVERIFY2(fixture.open(), qPrintable(fixture.lastError().text()));
}

void TestErrorTranslator::cleanupTestCase()
{
    QSqlDatabase::database(kFixture, false).close();
    QSqlDatabase::removeDatabase(kFixture);
    orven::config::setConfigDirOverride(QString());
}

void TestErrorTranslator::patterns_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("expected");

    {
        const QString m = QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint \"PK_RECDIS\" on table \"RECDIS\"");
        QTest::newRow("primary key") << m
                                     << QStringList{primaryKeyMessage(QStringLiteral(
                                            "VIOLATION OF PRIMARY OR UNIQUE KEY CONSTRAINT \"PK_RECDIS\" ON TABLE \"RECDIS\""))};
    }
    {
        const QString m = QStringLiteral("attempt to store duplicate value in unique index \"RDB$4\"");
        QTest::newRow("unique index")
            << m << QStringList{primaryKeyMessage(QStringLiteral("ATTEMPT TO STORE DUPLICATE VALUE IN UNIQUE INDEX \"RDB$4\""))};
    }
    {
        const QString m = QStringLiteral("violation of FOREIGN KEY constraint \"FK_RECDIS_1\" on table \"PK_RECDIS\"");
        QTest::newRow("foreign and primary key, in the table's order")
            << m
            << QStringList{foreignKeyMessage(QStringLiteral("\"FK_RECDIS_1\"")),
                           primaryKeyMessage(QStringLiteral(
                               "VIOLATION OF FOREIGN KEY CONSTRAINT \"FK_RECDIS_1\" ON TABLE \"PK_RECDIS\""))};
    }
    {
        // The order of the messages is the table's, not the text's.
        const QString m = QStringLiteral("PK_X and then \"FK_Y\"");
        QTest::newRow("primary key written before foreign key")
            << m << QStringList{foreignKeyMessage(QStringLiteral("\"FK_Y\"")), primaryKeyMessage(QStringLiteral("PK_X AND THEN \"FK_Y\""))};
    }
    QTest::newRow("must have a value only")
        << QStringLiteral("Field 'VINGRUPO' must have a value") << QStringList{requiredMessage()};
    QTest::newRow("check with quoted name")
        << QStringLiteral("Operation violates CHECK constraint \"VALOR_MENOR_ANULADO\" on view or table \"RECDIS\"")
        << QStringList{checkMessage(QStringLiteral("\"VALOR_MENOR_ANULADO\""))};
    QTest::newRow("check without any double quote")
        << QStringLiteral("exception 7\nvalor_menor_anulado\nValor menor que o anulado")
        << QStringList{checkMessage(QStringLiteral("\"valor_menor_anulado\nValor menor que o anulado"))};
    QTest::newRow("foreign key at the end without closing quote")
        << QStringLiteral("violation of FOREIGN KEY constraint \"FK_RECDIS_1")
        << QStringList{foreignKeyMessage(QStringLiteral("\"FK_RECDIS_1"))};
    QTest::newRow("foreign key runs to the next double quote")
        << QStringLiteral("constraint FK_RECDIS_1 on table \"RECDIS\"")
        << QStringList{foreignKeyMessage(QStringLiteral("\"FK_RECDIS_1 on table \""))};
    QTest::newRow("first occurrence of the pattern is quoted")
        << QStringLiteral("\"FK_A\" and \"FK_B\"") << QStringList{foreignKeyMessage(QStringLiteral("\"FK_A\""))};
    QTest::newRow("lower-case pattern, name as written")
        << QStringLiteral("violation of foreign key constraint \"fk_recdis_1\" on table \"recdis\"")
        << QStringList{foreignKeyMessage(QStringLiteral("\"fk_recdis_1\""))};
    {
        // Only a to z change case: "ß" stays one character and the accented
        // letters stay in lower case, so positions in U are those in M.
        const QString m = QStringLiteral("Straße não \"fk_rua\" pk_rua");
        QTest::newRow("non-ASCII letters keep case and length")
            << m << QStringList{foreignKeyMessage(QStringLiteral("\"fk_rua\"")), primaryKeyMessage(QStringLiteral("STRAßE NãO \"FK_RUA\" PK_RUA"))};
    }
    {
        const QString m = QStringLiteral("\"VALOR_MENOR_ANULADO\" \"FK_A\" PK_B must have a value");
        QTest::newRow("all four, one after the other")
            << m
            << QStringList{checkMessage(QStringLiteral("\"VALOR_MENOR_ANULADO\"")), foreignKeyMessage(QStringLiteral("\"FK_A\"")),
                           primaryKeyMessage(QStringLiteral("\"VALOR_MENOR_ANULADO\" \"FK_A\" PK_B MUST HAVE A VALUE")),
                           requiredMessage()};
    }
    QTest::newRow("no pattern") << QStringLiteral("Unable to complete network request to host \"srvdb\".")
                                << QStringList{generalMessage(QStringLiteral("Unable to complete network request to host \"srvdb\"."))};
    QTest::newRow("empty text") << QString() << QStringList{generalMessage(QString())};
    QTest::newRow("pattern split by a line break")
        << QStringLiteral("must have\na value") << QStringList{generalMessage(QStringLiteral("must have\na value"))};
    // Accented capitals are not turned into the lower-case letters of the
    // lock patterns: no lock check, the general message.
    QTest::newRow("accented capitals do not make a lock pattern")
        << QStringLiteral("FALHA CATASTRÓFICA") << QStringList{generalMessage(QStringLiteral("FALHA CATASTRÓFICA"))};
}

void TestErrorTranslator::patterns()
{
    QFETCH(QString, message);
    QFETCH(QStringList, expected);
    writeZuntIni(QStringLiteral("2008"), QString());

    RecordingMessages messages;
    QVERIFY(ErrorTranslator::translate(message));
    QCOMPARE(messages.texts(), expected);
    checkAllAreErrors(messages);
}

void TestErrorTranslator::lockCheck_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("year");      // "Ano" of zunt.ini; empty: no zunt.ini
    QTest::addColumn<QString>("dll");       // "DLL" of zunt.ini
    QTest::addColumn<QVariant>("bloqbanco"); // BLOQBANCO of the 2008 database
    QTest::addColumn<QString>("bloqmsg");    // BLOQMSG of the 2008 database
    QTest::addColumn<QStringList>("expected");

    const QString y2008 = QStringLiteral("2008");
    const QVariant S = QStringLiteral("S");
    const QVariant N = QStringLiteral("N");
    const QString backup = QStringLiteral("backup");

    QTest::newRow("locked") << kLocked << y2008 << QString() << S << backup
                            << QStringList{lockMessage(QStringLiteral("JOAO"), QStringLiteral("backup"), kLocked)};
    {
        const QString m = QStringLiteral("exception 12\nE_BLOQUEIO\n") + kLocked + QStringLiteral("\nAt trigger 'RECDIS_BU'");
        QTest::newRow("locked, engine text around the pattern")
            << m << y2008 << QString() << S << backup << QStringList{lockMessage(QStringLiteral("JOAO"), QStringLiteral("backup"), m)};
    }
    QTest::newRow("catastrophic failure, locked")
        << QStringLiteral("Falha catastrófica") << y2008 << QString() << S << backup
        << QStringList{lockMessage(QStringLiteral("JOAO"), QStringLiteral("backup"), QStringLiteral("Falha catastrófica"))};
    QTest::newRow("accented lock message")
        << kLocked << y2008 << QString() << S << QStringLiteral("cópia de segurança às 18h")
        << QStringList{lockMessage(QStringLiteral("JOAO"), QStringLiteral("cópia de segurança às 18h"), kLocked)};
    QTest::newRow("DLL named in zunt.ini")
        << kLocked << y2008 << QStringLiteral("gds32.dll") << S << backup
        << QStringList{lockMessage(QStringLiteral("JOAO"), QStringLiteral("backup"), kLocked)};
    QTest::newRow("not locked: text unchanged") << kLocked << y2008 << QString() << N << backup << QStringList{kLocked};
    QTest::newRow("lower-case s is not locked") << kLocked << y2008 << QString() << QVariant(QStringLiteral("s")) << backup
                                                << QStringList{kLocked};
    QTest::newRow("null BLOQBANCO is not locked") << kLocked << y2008 << QString() << QVariant() << backup
                                                  << QStringList{kLocked};
    QTest::newRow("database file missing")
        << kLocked << QStringLiteral("2010") << QString() << S << backup << QStringList{generalMessage(kLocked)};
    QTest::newRow("no zunt.ini") << kLocked << QString() << QString() << S << backup << QStringList{generalMessage(kLocked)};
    QTest::newRow("CADCLI without lock columns")
        << kLocked << QStringLiteral("2009") << QString() << S << backup << QStringList{generalMessage(kLocked)};
    QTest::newRow("CADCLI without row")
        << kLocked << QStringLiteral("2011") << QString() << S << backup << QStringList{generalMessage(kLocked)};
    {
        const QString m = QStringLiteral("violation of FOREIGN KEY constraint \"FK_DESDIS_2\"\n") + kLocked;
        QTest::newRow("foreign key, then lock check fails")
            << m << QStringLiteral("2010") << QString() << S << backup
            << QStringList{foreignKeyMessage(QStringLiteral("\"FK_DESDIS_2\"")), generalMessage(m)};
        QTest::newRow("foreign key, then locked")
            << m << y2008 << QString() << S << backup
            << QStringList{foreignKeyMessage(QStringLiteral("\"FK_DESDIS_2\"")),
                           lockMessage(QStringLiteral("JOAO"), QStringLiteral("backup"), m)};
    }
}

void TestErrorTranslator::lockCheck()
{
    QFETCH(QString, message);
    QFETCH(QString, year);
    QFETCH(QString, dll);
    QFETCH(QVariant, bloqbanco);
    QFETCH(QString, bloqmsg);
    QFETCH(QStringList, expected);

    writeZuntIni(year, dll);
    {
        QSqlQuery update(QSqlDatabase::database(kFixture, false));
        QVERIFY(update.prepare(QStringLiteral("UPDATE CADCLI SET BLOQBANCO = ?, BLOQMSG = ?")));
        update.addBindValue(bloqbanco.isNull() ? QVariant(QMetaType(QMetaType::QString)) : bloqbanco);
        update.addBindValue(bloqmsg);
        QVERIFY2(update.exec(), qPrintable(update.lastError().text()));
    }
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();

    RecordingMessages messages;
    QVERIFY(ErrorTranslator::translate(message));
    QCOMPARE(messages.texts(), expected);
    checkAllAreErrors(messages);

    // The temporary connection is gone, and the other connection still works.
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
    QSqlDatabase fixture = QSqlDatabase::database(kFixture, false);
    QVERIFY(fixture.isOpen());
    QSqlQuery check(fixture);
    QVERIFY2(check.exec(QStringLiteral("SELECT BLOQNOME FROM CADCLI")) && check.next(), qPrintable(check.lastError().text()));
    QCOMPARE(check.value(0).toString().trimmed(), QStringLiteral("JOAO"));
}

// Texts as the engine gives them for real violations.
void TestErrorTranslator::engineTexts()
{
    writeZuntIni(QStringLiteral("2008"), QString());
    QSqlQuery query(QSqlDatabase::database(kFixture, false));

    QVERIFY(!query.exec(QStringLiteral("INSERT INTO FILHO VALUES (1, 99)")));
    {
        const QString text = query.lastError().databaseText();
        RecordingMessages messages;
        ErrorTranslator::translate(text);
        QCOMPARE(messages.texts(), QStringList{foreignKeyMessage(QStringLiteral("\"FK_FILHO_PAI\""))});
    }

    QVERIFY(!query.exec(QStringLiteral("INSERT INTO PAI VALUES (1)")));
    {
        const QString text = query.lastError().databaseText();
        QVERIFY2(text.contains(QLatin1String("PK_PAI")), qPrintable(text));
        RecordingMessages messages;
        ErrorTranslator::translate(text);
        QCOMPARE(messages.texts(), QStringList{primaryKeyMessage(text.toUpper())});
    }
}

QTEST_GUILESS_MAIN(TestErrorTranslator)
#include "tst_errortranslator.moc"
