// The connection and the record sets on a real embedded Firebird database:
// isolation and lock waits, the change log and its apply, filters, locate,
// lookups and the editing rules the windows rely on.

#include "FirebirdFixture.h"

#include "common/Text.h"
#include "config/Installation.h"
#include "db/Connection.h"
#include "db/Firebird.h"
#include "db/RecordSet.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

using namespace orven;
using namespace orven::db;
using orven::test::FirebirdFixture;

namespace {

const QStringList kSchema = {
    QStringLiteral("CREATE TABLE DESDIS (FICHA INTEGER NOT NULL, EMPRESA INTEGER, BALCO VARCHAR(18), "
                   "EXTRA CHAR(1), NOME VARCHAR(60), CONSTRAINT PK_DESDIS PRIMARY KEY (FICHA))"),
    // No key: rows are found by their values only.
    QStringLiteral("CREATE TABLE DESPES (NEMPG INTEGER NOT NULL, FICHA INTEGER, TPEM VARCHAR(2), HISTO VARCHAR(60), "
                   "PRODU BLOB SUB_TYPE 0, OBS BLOB SUB_TYPE 1, VADEM NUMERIC(15,2), TOTAL DOUBLE PRECISION, "
                   "DATAE TIMESTAMP, DT_ALTERAR DATE, INCORPA CHAR(1), GRUPO_TCE VARCHAR(5), COD_TCE VARCHAR(18))"),
    QStringLiteral("CREATE SEQUENCE WRITES"),
    QStringLiteral("CREATE TRIGGER DESPES_W FOR DESPES AFTER INSERT OR UPDATE OR DELETE AS "
                   "DECLARE VARIABLE N BIGINT; BEGIN N = GEN_ID(WRITES, 1); END"),
    QStringLiteral("CREATE TABLE ORVEN_TIPO (CODTIPO VARCHAR(5) NOT NULL, DESC_TIPO VARCHAR(150), TIPO VARCHAR(1) NOT NULL, "
                   "CONSTRAINT PK_ORVEN_TIPO PRIMARY KEY (CODTIPO))"),
    QStringLiteral("CREATE TABLE ORVEN_CONPLA (CODTIPO VARCHAR(5) NOT NULL, NUM_CONTABIL VARCHAR(18) NOT NULL, "
                   "DESC_CONTABIL VARCHAR(150))"),
};

const QString kSelectDespes = QStringLiteral("SELECT A.* FROM DESPES A ORDER BY A.NEMPG");

QList<FieldDecl> tipoFields()
{
    return {{QStringLiteral("CODTIPO"), FieldType::String, 5, true},
            {QStringLiteral("DESC_TIPO"), FieldType::String, 150, false},
            {QStringLiteral("TIPO"), FieldType::String, 1, true}};
}

// Values of one column while walking the view from the first row.
QVariantList walk(RecordSet &rs, const QString &field)
{
    QVariantList out;
    rs.first();
    while (!rs.eof()) {
        out << rs.value(field);
        rs.next();
    }
    return out;
}

QVariantList walkBack(RecordSet &rs, const QString &field)
{
    QVariantList out;
    rs.last();
    while (!rs.bof()) {
        out << rs.value(field);
        rs.prior();
    }
    return out;
}

} // namespace

class TestRecordSet : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FirebirdFixture> m_schema; // created once, copied for every test
    std::unique_ptr<FirebirdFixture> m_fx;
    std::unique_ptr<Conexao> m_conn;   // the program's connection
    std::unique_ptr<Conexao> m_other;  // another workstation

    QVariant dbValue(const QString &sql, const QVariantList &params = {})
    {
        return m_other->selectValue(sql, params);
    }
    qint64 writes() { return dbValue(QStringLiteral("SELECT GEN_ID(WRITES, 0) FROM RDB$DATABASE")).toLongLong(); }

    std::unique_ptr<RecordSet> despes()
    {
        auto rs = std::make_unique<RecordSet>(QStringLiteral("CdsEmpenho"), m_conn.get());
        rs->setCommandText(kSelectDespes);
        rs->setUpdateTable(QStringLiteral("DESPES"));
        rs->setRefuseInserts(true);
        rs->open();
        return rs;
    }
    std::unique_ptr<RecordSet> desdis()
    {
        auto rs = std::make_unique<RecordSet>(QStringLiteral("CdsDesdis"), m_conn.get());
        rs->setCommandText(QStringLiteral("SELECT * FROM DESDIS ORDER BY FICHA ASCENDING"));
        rs->open();
        return rs;
    }

private slots:
    void initTestCase()
    {
        m_schema = std::make_unique<FirebirdFixture>(kSchema);
        QVERIFY2(m_schema->isValid(), qPrintable(m_schema->error()));
    }

    void init()
    {
        m_fx = FirebirdFixture::copyOf(*m_schema);
        QVERIFY2(m_fx->isValid(), qPrintable(m_fx->error()));
        m_conn = std::make_unique<Conexao>();
        m_conn->setDatabasePath(m_fx->path());
        m_other = std::make_unique<Conexao>();
        m_other->setDatabasePath(m_fx->path());

        const QString insDesdis = QStringLiteral("INSERT INTO DESDIS (FICHA, EMPRESA, BALCO, EXTRA, NOME) VALUES (?, ?, ?, ?, ?)");
        m_other->execute(insDesdis, {12, 1, "321101", "S", QStringLiteral("São Paulo")});
        m_other->execute(insDesdis, {40, 2, "321102", "S", QStringLiteral("Ação")});
        m_other->execute(insDesdis, {41, 2, "331101", "N", QVariant()});
        m_other->execute(insDesdis, {50, 3, "321103", "S", QStringLiteral("Três")});

        const QString insDespes = QStringLiteral(
            "INSERT INTO DESPES (NEMPG, FICHA, TPEM, HISTO, PRODU, OBS, VADEM, TOTAL, DATAE, DT_ALTERAR, INCORPA, "
            "GRUPO_TCE, COD_TCE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const QVariant null;
        m_other->execute(insDespes, {1, 12, "NO", QStringLiteral("Compra de café"), QByteArray("\x01\x02\x00", 3),
                                     QStringLiteral("observação"), 1234.56, 0.1,
                                     QDateTime(QDate(2008, 1, 2), QTime(10, 20, 30, 450)), QDate(2008, 1, 3), "S",
                                     null, null});
        m_other->execute(insDespes, {2, 40, "NO", null, null, null, null, null, null, null, null, "01", "1.00"});
        m_other->execute(insDespes, {3, 41, "ES", QStringLiteral("Serviço"), QByteArray("\xff", 1),
                                     QStringLiteral("texto"), -5.5, 2.5, QDateTime(QDate(2008, 2, 1), QTime(0, 0)),
                                     null, "N", "", ""});
        m_other->execute(insDespes, {4, 99, "NO", QStringLiteral("Sem ficha"), null, null, 10, null, null, null, null,
                                     null, null});
        m_other->execute(QStringLiteral("ALTER SEQUENCE WRITES RESTART WITH 0"));
    }

    void cleanup()
    {
        m_conn.reset();
        m_other.reset();
        m_fx.reset();
    }

    // ---- connection ------------------------------------------------------------------

    void readCommittedIsolation()
    {
        const QString count = QStringLiteral("SELECT COUNT(*) FROM DESDIS");
        m_conn->startTransaction();
        QVERIFY(m_conn->inTransaction());
        QCOMPARE(m_conn->selectValue(count).toInt(), 4);
        // Committed by another connection after the transaction started: seen.
        m_other->execute(QStringLiteral("INSERT INTO DESDIS (FICHA, EMPRESA) VALUES (60, 1)"));
        QCOMPARE(m_conn->selectValue(count).toInt(), 5);
        // Ours, not yet committed: not seen by the other, who does not wait for it either.
        m_conn->execute(QStringLiteral("INSERT INTO DESDIS (FICHA, EMPRESA) VALUES (61, 1)"));
        QCOMPARE(m_other->selectValue(count).toInt(), 5);
        QVERIFY_THROWS_EXCEPTION(Error, m_conn->startTransaction());
        m_conn->commit();
        QVERIFY(!m_conn->inTransaction());
        QCOMPARE(m_other->selectValue(count).toInt(), 6);

        // Outside a transaction each statement commits on its own; a failing
        // one leaves nothing behind.
        QCOMPARE(m_conn->execute(QStringLiteral("DELETE FROM DESDIS WHERE FICHA = 61")), 1);
        QCOMPARE(m_other->selectValue(count).toInt(), 5);
        try {
            m_conn->execute(QStringLiteral("INSERT INTO DESDIS (FICHA) VALUES (12)"));
            QFAIL("a repeated key was accepted");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.message().contains(QLatin1String("PK_DESDIS")), qPrintable(e.message()));
        }
        QVERIFY(!m_conn->inTransaction());

        // Rolled back work is gone.
        m_conn->startTransaction();
        m_conn->execute(QStringLiteral("DELETE FROM DESDIS"));
        QCOMPARE(m_conn->selectValue(count).toInt(), 0);
        m_conn->rollback();
        QCOMPARE(m_other->selectValue(count).toInt(), 5);
    }

    void waitsForRowLock_data()
    {
        QTest::addColumn<bool>("otherCommits");
        QTest::newRow("lock released by rollback") << false;
        QTest::newRow("lock released by commit") << true;
    }

    void waitsForRowLock()
    {
        QFETCH(bool, otherCommits);
        std::promise<void> locked;
        std::future<void> lockedFuture = locked.get_future();
        const QString path = m_fx->path();
        std::thread other([&] {
            Conexao c;
            c.setDatabasePath(path);
            c.startTransaction();
            c.execute(QStringLiteral("UPDATE DESDIS SET NOME = 'outro' WHERE FICHA = 12"));
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            if (otherCommits)
                c.commit();
            else
                c.rollback();
        });
        lockedFuture.wait();
        QElapsedTimer clock;
        clock.start();
        bool conflict = false;
        int affected = -1;
        try {
            affected = m_conn->execute(QStringLiteral("UPDATE DESDIS SET NOME = 'nosso' WHERE FICHA = 12"));
        } catch (const DatabaseError &e) {
            conflict = e.isLockConflict();
            if (!conflict)
                qWarning() << e.message();
        }
        const qint64 waited = clock.elapsed();
        other.join();
        QVERIFY2(waited >= 500, qPrintable(QString::number(waited))); // it waited for the lock
        if (otherCommits) {
            // The row was changed under us: the engine refuses our update.
            QVERIFY(conflict);
            QCOMPARE(dbValue(QStringLiteral("SELECT NOME FROM DESDIS WHERE FICHA = 12")).toString(), QStringLiteral("outro"));
        } else {
            QCOMPARE(affected, 1);
            QCOMPARE(dbValue(QStringLiteral("SELECT NOME FROM DESDIS WHERE FICHA = 12")).toString(), QStringLiteral("nosso"));
        }
    }

    void pathFromInstallationBeforeEveryConnect()
    {
        const QString root = m_fx->folder() + QStringLiteral("/ZUNT_8/");
        auto writeIni = [&](const QString &ano) {
            QFile ini(m_fx->folder() + QStringLiteral("/zunt.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ini.write(QStringLiteral("[ZUNT]\r\nAno=%1\r\nCaminho_Base_Dados=%2\r\n").arg(ano, root).toUtf8());
        };
        config::setConfigDirOverride(m_fx->folder());
        struct Restore {
            ~Restore() { config::setConfigDirOverride(QString()); }
        } restore;

        const QString path2008 = root + QStringLiteral("ARQ2008/ZUNT2008.FDB");
        const QString path2009 = root + QStringLiteral("ARQ2009/ZUNT2009.FDB");
        QVERIFY(QDir().mkpath(root + QStringLiteral("ARQ2008")));
        QVERIFY(QDir().mkpath(root + QStringLiteral("ARQ2009")));
        firebird::createDatabase(path2008);
        firebird::createDatabase(path2009);

        writeIni(QStringLiteral("2008"));
        QCOMPARE(Conexao::zuntDatabasePath(), path2008);
        Conexao c;
        c.open();
        QCOMPARE(c.databasePath(), path2008);
        c.execute(QStringLiteral("CREATE TABLE ANO2008 (X INTEGER)"));
        c.close();
        // The file is read again at the next connect.
        writeIni(QStringLiteral("2009"));
        c.open();
        QCOMPARE(c.databasePath(), path2009);
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'ANO2008'"))
                     .toInt(),
                 0);
        c.close();
        // A missing database: the engine's own error.
        writeIni(QStringLiteral("2010"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, c.open());
        QVERIFY(!c.isOpen());
    }

    void accentedTextRoundTrip()
    {
        const QString name = QStringLiteral("Ação São João – € ü Ç");
        auto rs = desdis();
        QVERIFY(rs->append());
        rs->setValue(QStringLiteral("FICHA"), 70);
        rs->setValue(QStringLiteral("NOME"), name);
        QVERIFY(rs->post());
        QCOMPARE(rs->applyUpdates(), 0);
        // Stored as Windows-1252 bytes.
        QCOMPARE(dbValue(QStringLiteral("SELECT CAST(NOME AS VARCHAR(60) CHARACTER SET OCTETS) FROM DESDIS WHERE FICHA = 70"))
                     .toByteArray(),
                 text::toWindows1252(name));
        // Read back, and found by its accented earlier value when changed.
        rs->close();
        rs->open();
        QVERIFY(rs->locate(QStringLiteral("FICHA"), 70));
        QCOMPARE(rs->value(QStringLiteral("NOME")).toString(), name);
        rs->edit();
        rs->setValue(QStringLiteral("EMPRESA"), 7);
        QVERIFY(rs->post());
        QCOMPARE(rs->applyUpdates(), 0);
        QCOMPARE(dbValue(QStringLiteral("SELECT EMPRESA FROM DESDIS WHERE FICHA = 70")).toInt(), 7);

        // A column without character set holding the suite's bytes reads the same.
        m_other->execute(QStringLiteral("CREATE TABLE RAW (T VARCHAR(10) CHARACTER SET NONE)"));
        m_other->execute(QStringLiteral("INSERT INTO RAW VALUES (CAST(x'E7E36F' AS VARCHAR(10) CHARACTER SET OCTETS))"));
        QCOMPARE(m_conn->selectValue(QStringLiteral("SELECT T FROM RAW")).toString(), QStringLiteral("ção"));
    }

    // ---- apply -------------------------------------------------------------------------

    void applyWithoutChangesWritesNothing()
    {
        auto rs = despes();
        QCOMPARE(rs->recordCount(), 4);
        rs->edit();
        QVERIFY(rs->post()); // posted unchanged
        QVERIFY(rs->next());
        rs->edit();
        rs->setValue(QStringLiteral("HISTO"), QStringLiteral("x"));
        rs->setValue(QStringLiteral("HISTO"), QVariant()); // back to what it was
        QVERIFY(rs->post());
        QCOMPARE(rs->changeCount(), 0);
        QCOMPARE(rs->applyUpdates(), 0);
        QCOMPARE(writes(), 0);
    }

    void applyWritesEveryChangedRow()
    {
        auto rs = despes();
        // Row 1: values and blobs; row 2: mostly nulls; row 3: empty texts.
        QVERIFY(rs->locate(QStringLiteral("NEMPG"), 1));
        rs->edit();
        rs->setValue(QStringLiteral("GRUPO_TCE"), "105");
        rs->setValue(QStringLiteral("COD_TCE"), "6.00");
        QVERIFY(rs->post());
        QVERIFY(rs->locate(QStringLiteral("NEMPG"), 2));
        rs->edit();
        rs->setValue(QStringLiteral("GRUPO_TCE"), "009");
        rs->setValue(QStringLiteral("DT_ALTERAR"), QDate(2008, 5, 6));
        QVERIFY(rs->post());
        QVERIFY(rs->locate(QStringLiteral("NEMPG"), 3));
        rs->edit();
        rs->setValue(QStringLiteral("COD_TCE"), "3.00");
        rs->setValue(QStringLiteral("PRODU"), QByteArray("novo"));
        QVERIFY(rs->post());
        QCOMPARE(rs->changeCount(), 3);

        m_conn->startTransaction();
        QCOMPARE(rs->applyUpdates(), 0);
        QCOMPARE(rs->changeCount(), 0);
        m_conn->commit();
        QCOMPARE(writes(), 3);

        const ResultSet db = m_other->select(QStringLiteral(
            "SELECT NEMPG, GRUPO_TCE, COD_TCE, DT_ALTERAR, PRODU, HISTO, VADEM FROM DESPES ORDER BY NEMPG"));
        QCOMPARE(db.rows.size(), 4);
        QCOMPARE(db.rows[0], (Row{1, "105", "6.00", QDate(2008, 1, 3), QByteArray("\x01\x02\x00", 3),
                                  QStringLiteral("Compra de café"), 1234.56}));
        QCOMPARE(db.rows[1], (Row{2, "009", "1.00", QDate(2008, 5, 6), QVariant(), QVariant(), QVariant()}));
        QCOMPARE(db.rows[2], (Row{3, "", "3.00", QVariant(), QByteArray("novo"), QStringLiteral("Serviço"), -5.5}));
        QCOMPARE(db.rows[3], (Row{4, QVariant(), QVariant(), QVariant(), QVariant(), QStringLiteral("Sem ficha"), 10.0}));

        // The written values are the new earlier values: a second change applies too.
        QVERIFY(rs->locate(QStringLiteral("NEMPG"), 1));
        rs->edit();
        rs->setValue(QStringLiteral("COD_TCE"), "7.00");
        QVERIFY(rs->post());
        QCOMPARE(rs->applyUpdates(), 0); // in a transaction of its own
        QCOMPARE(dbValue(QStringLiteral("SELECT COD_TCE FROM DESPES WHERE NEMPG = 1")).toString(), QStringLiteral("7.00"));
    }

    void refusedRowStaysInChangeLog_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::newRow("caller rolls back") << false;
        QTest::newRow("caller commits") << true;
    }

    void refusedRowStaysInChangeLog()
    {
        QFETCH(bool, commit);
        auto rs = despes();
        QStringList messages;
        rs->onReconcileError = [&](RecordSet &, const Row &row, const QString &message) {
            messages << message;
            [&] { QCOMPARE(row.value(0).toInt(), 2); }();
            return ReconcileAction::Correct;
        };
        // Another workstation changes row 2 after we read it.
        m_other->execute(QStringLiteral("UPDATE DESPES SET HISTO = 'alterado' WHERE NEMPG = 2"));
        const qint64 before = writes();
        for (int nempg : {1, 2}) {
            QVERIFY(rs->locate(QStringLiteral("NEMPG"), nempg));
            rs->edit();
            rs->setValue(QStringLiteral("GRUPO_TCE"), "105");
            QVERIFY(rs->post());
        }
        m_conn->startTransaction();
        QCOMPARE(rs->applyUpdates(-1), 1);
        QCOMPARE(messages, QStringList{QStringLiteral("Record not found or changed by another user")});
        QCOMPARE(rs->changeCount(), 1); // row 1 is written in the open transaction
        if (commit) {
            m_conn->commit();
            QCOMPARE(dbValue(QStringLiteral("SELECT GRUPO_TCE FROM DESPES WHERE NEMPG = 1")).toString(), QStringLiteral("105"));
            QCOMPARE(rs->changeCount(), 1);
        } else {
            m_conn->rollback();
            QCOMPARE(writes(), before + 1); // the write happened, and was undone
            QVERIFY(dbValue(QStringLiteral("SELECT GRUPO_TCE FROM DESPES WHERE NEMPG = 1")).isNull());
            // Nothing the user changed is lost: both rows are changes again.
            QCOMPARE(rs->changeCount(), 2);
        }
        QCOMPARE(dbValue(QStringLiteral("SELECT GRUPO_TCE FROM DESPES WHERE NEMPG = 2")).toString(), QStringLiteral("01"));
        QCOMPARE(dbValue(QStringLiteral("SELECT HISTO FROM DESPES WHERE NEMPG = 2")).toString(), QStringLiteral("alterado"));
        for (int nempg : {1, 2}) {
            QVERIFY(rs->locate(QStringLiteral("NEMPG"), nempg));
            QCOMPARE(rs->value(QStringLiteral("GRUPO_TCE")).toString(), QStringLiteral("105"));
        }
        // A new attempt writes what is still pending (row 2 stays refused).
        m_conn->startTransaction();
        QCOMPARE(rs->applyUpdates(), 1);
        m_conn->commit();
        QCOMPARE(dbValue(QStringLiteral("SELECT GRUPO_TCE FROM DESPES WHERE NEMPG = 1")).toString(), QStringLiteral("105"));
        QCOMPARE(rs->changeCount(), 1);
    }

    void twoAppliesInOneTransaction_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::newRow("commit") << true;
        QTest::newRow("rollback") << false;
    }

    void twoAppliesInOneTransaction()
    {
        QFETCH(bool, commit);
        auto rs = despes();
        m_conn->startTransaction();
        for (const char *code : {"1.00", "2.00"}) {
            QVERIFY(rs->locate(QStringLiteral("NEMPG"), 3));
            rs->edit();
            rs->setValue(QStringLiteral("COD_TCE"), code);
            QVERIFY(rs->post());
            QCOMPARE(rs->applyUpdates(), 0); // the second finds the row by what the first wrote
        }
        if (commit) {
            m_conn->commit();
            QCOMPARE(dbValue(QStringLiteral("SELECT COD_TCE FROM DESPES WHERE NEMPG = 3")).toString(), QStringLiteral("2.00"));
            QCOMPARE(rs->changeCount(), 0);
        } else {
            m_conn->rollback();
            QCOMPARE(dbValue(QStringLiteral("SELECT COD_TCE FROM DESPES WHERE NEMPG = 3")).toString(), QString(""));
            QCOMPARE(rs->changeCount(), 1);
            QCOMPARE(rs->applyUpdates(), 0);
            QCOMPARE(dbValue(QStringLiteral("SELECT COD_TCE FROM DESPES WHERE NEMPG = 3")).toString(), QStringLiteral("2.00"));
        }
    }

    void rowGoneOrNotUnique()
    {
        // Row 3 deleted by another workstation; two identical rows 7.
        m_other->execute(QStringLiteral("DELETE FROM DESPES WHERE NEMPG = 3"));
        for (int i = 0; i < 2; ++i)
            m_other->execute(QStringLiteral("INSERT INTO DESPES (NEMPG, FICHA) VALUES (7, 12)"));
        auto rs = despes();
        QCOMPARE(rs->recordCount(), 5);
        for (int nempg : {4, 7}) {
            QVERIFY(rs->locate(QStringLiteral("NEMPG"), nempg));
            rs->edit();
            rs->setValue(QStringLiteral("COD_TCE"), "9.99");
            QVERIFY(rs->post());
        }
        QCOMPARE(rs->applyUpdates(), 1); // own transaction; row 7 matches twice
        QCOMPARE(dbValue(QStringLiteral("SELECT COUNT(*) FROM DESPES WHERE COD_TCE = '9.99'")).toInt(), 1);
        QCOMPARE(dbValue(QStringLiteral("SELECT COD_TCE FROM DESPES WHERE NEMPG = 4")).toString(), QStringLiteral("9.99"));
        QCOMPARE(rs->changeCount(), 1);

        // A row deleted after it was read.
        auto again = despes();
        QVERIFY(again->locate(QStringLiteral("NEMPG"), 1));
        m_other->execute(QStringLiteral("DELETE FROM DESPES WHERE NEMPG = 1"));
        again->edit();
        again->setValue(QStringLiteral("HISTO"), "y");
        QVERIFY(again->post());
        QCOMPARE(again->applyUpdates(), 1);
        QCOMPARE(again->changeCount(), 1);
    }

    void insertsRefusedOrApplied()
    {
        auto rs = despes();
        QVERIFY(!rs->insert());
        QVERIFY(!rs->append());
        QCOMPARE(rs->state(), RecordSet::State::Browse);
        QCOMPARE(rs->recordCount(), 4);
        rs->setFilter(QStringLiteral("NEMPG = -1"));
        rs->setFiltered(true);
        rs->edit(); // an empty view would insert: refused silently
        QCOMPARE(rs->state(), RecordSet::State::Browse);
        QCOMPARE(rs->changeCount(), 0);

        // A set that takes new rows (the court chart): INSERT at apply.
        RecordSet tipo(QStringLiteral("CdsTipo"), m_conn.get());
        tipo.setCommandText(QStringLiteral("SELECT * FROM ORVEN_TIPO"));
        tipo.setFieldDecls(tipoFields());
        tipo.open();
        for (const char *code : {"101", "102"}) {
            QVERIFY(tipo.append());
            tipo.setValue(QStringLiteral("CODTIPO"), code);
            tipo.setValue(QStringLiteral("DESC_TIPO"), QStringLiteral("Receita Orçamentária"));
            tipo.setValue(QStringLiteral("TIPO"), "R");
            QVERIFY(tipo.post());
        }
        QCOMPARE(tipo.recordCount(), 2);
        QCOMPARE(tipo.changeCount(), 2);
        QCOMPARE(tipo.applyUpdates(), 0);
        QCOMPARE(tipo.changeCount(), 0);
        QCOMPARE(dbValue(QStringLiteral("SELECT COUNT(*) FROM ORVEN_TIPO WHERE TIPO = 'R'")).toInt(), 2);
        // A repeated code is refused by the key, and counted.
        QStringList messages;
        tipo.onReconcileError = [&](RecordSet &, const Row &, const QString &m) {
            messages << m;
            return ReconcileAction::Correct;
        };
        QVERIFY(tipo.append());
        tipo.setValue(QStringLiteral("CODTIPO"), "101");
        tipo.setValue(QStringLiteral("TIPO"), "D");
        QVERIFY(tipo.post());
        QCOMPARE(tipo.applyUpdates(), 1);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(QLatin1String("PK_ORVEN_TIPO")), qPrintable(messages.first()));
        QCOMPARE(tipo.changeCount(), 1);
    }

    void requiredFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("declared, null") << "TIPO" << QVariant();
        QTest::newRow("declared, empty text") << "CODTIPO" << QVariant(QString());
        QTest::newRow("not null in the table") << "FICHA" << QVariant();
    }

    void requiredFields()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        m_other->execute(QStringLiteral("INSERT INTO ORVEN_TIPO (CODTIPO, TIPO) VALUES ('101', 'R')"));
        RecordSet rs(QStringLiteral("CdsRecdis"), m_conn.get());
        rs.setCommandText(field == QLatin1String("FICHA") ? QStringLiteral("SELECT * FROM DESDIS")
                                                          : QStringLiteral("SELECT * FROM ORVEN_TIPO"));
        rs.setFieldDecls(tipoFields());
        QStringList reported;
        rs.onPostError = [&](const QString &m) { reported << m; };
        rs.open();
        rs.edit();
        rs.setValue(field, value);
        const QString expected = QStringLiteral("Field '%1' must have a value").arg(field);
        try {
            rs.post();
            QFAIL("posted without a required value");
        } catch (const Error &e) {
            QCOMPARE(e.message(), expected);
        }
        QCOMPARE(reported, QStringList{expected});
        QCOMPARE(rs.state(), RecordSet::State::Edit);
        rs.cancel();
        QCOMPARE(rs.changeCount(), 0);
    }

    void beforePostWithValidationSwitch()
    {
        auto rs = despes();
        int asked = 0;
        rs->beforePost = [&](RecordSet &set) {
            ++asked;
            return set.tag() != 0 || set.value(QStringLiteral("HISTO")).toString() != QStringLiteral("inválido");
        };
        QVERIFY(rs->first());
        rs->edit();
        rs->setValue(QStringLiteral("HISTO"), QStringLiteral("inválido"));
        QVERIFY(!rs->post());
        QCOMPARE(rs->state(), RecordSet::State::Edit);
        QCOMPARE(rs->value(QStringLiteral("HISTO")).toString(), QStringLiteral("inválido"));
        // Leaving the row posts it: refused the same way, the cursor stays.
        QVERIFY(!rs->next());
        QCOMPARE(rs->recNo(), 1);
        QCOMPARE(rs->state(), RecordSet::State::Edit);
        QVERIFY_THROWS_EXCEPTION(PostCancelled, rs->applyUpdates());
        QCOMPARE(writes(), 0);
        // With the switch at 1 the validation is suspended.
        rs->setTag(1);
        QVERIFY(rs->next());
        QCOMPARE(rs->recNo(), 2);
        QCOMPARE(rs->changeCount(), 1);
        QCOMPARE(asked, 4);
    }

    void cancelEditAndCancelUpdates()
    {
        auto rs = desdis();
        QSignalSpy rows(rs.get(), &RecordSet::rowChanged);
        rs->edit();
        rs->setValue(QStringLiteral("NOME"), "outro");
        QCOMPARE(rs->value(QStringLiteral("NOME")).toString(), QStringLiteral("outro"));
        QVERIFY(!rows.isEmpty());
        rs->cancel();
        QCOMPARE(rs->value(QStringLiteral("NOME")).toString(), QStringLiteral("São Paulo"));
        QCOMPARE(rs->state(), RecordSet::State::Browse);
        QCOMPARE(rs->changeCount(), 0);

        // An edit, a deletion and a new row, then every change cancelled.
        rs->edit();
        rs->setValue(QStringLiteral("EMPRESA"), 9);
        QVERIFY(rs->post());
        QVERIFY(rs->locate(QStringLiteral("FICHA"), 40));
        rs->deleteRecord();
        QCOMPARE(rs->value(QStringLiteral("FICHA")).toInt(), 41);
        QVERIFY(rs->append());
        rs->setValue(QStringLiteral("FICHA"), 70);
        QVERIFY(rs->post());
        QCOMPARE(rs->changeCount(), 3);
        QCOMPARE(rs->recordCount(), 4);
        rs->cancelUpdates();
        QCOMPARE(rs->changeCount(), 0);
        QCOMPARE(walk(*rs, QStringLiteral("FICHA")), (QVariantList{12, 40, 41, 50}));
        QVERIFY(rs->locate(QStringLiteral("FICHA"), 12));
        QCOMPARE(rs->value(QStringLiteral("EMPRESA")).toInt(), 1);
        QCOMPARE(rs->applyUpdates(), 0);
        QCOMPARE(dbValue(QStringLiteral("SELECT COUNT(*) FROM DESDIS")).toInt(), 4);

        // Deletion applied.
        QVERIFY(rs->locate(QStringLiteral("FICHA"), 50));
        rs->deleteRecord();
        QCOMPARE(rs->applyUpdates(), 0);
        QCOMPARE(dbValue(QStringLiteral("SELECT COUNT(*) FROM DESDIS WHERE FICHA = 50")).toInt(), 0);
    }

    void generalPurposeSetAndRefresh()
    {
        // The general-purpose set: each caller sets its own query.
        RecordSet aux(QStringLiteral("CdsAux"), m_conn.get());
        QStringList editErrors;
        aux.onEditError = [&](const QString &m) { editErrors << m; };
        QVERIFY_THROWS_EXCEPTION(Error, aux.edit()); // closed: told, then thrown
        QCOMPARE(editErrors.size(), 1);
        QVERIFY2(editErrors.first().contains(QLatin1String("closed dataset")), qPrintable(editErrors.first()));
        aux.setCommandText(QStringLiteral("SELECT * FROM ORVEN_TIPO"));
        aux.open();
        QVERIFY(aux.isEmpty());
        QCOMPARE(aux.fieldNames(), (QStringList{"CODTIPO", "DESC_TIPO", "TIPO"}));
        aux.close();
        aux.setCommandText(QStringLiteral("SELECT EMPRESA, COUNT(*) AS N FROM DESDIS GROUP BY EMPRESA ORDER BY EMPRESA"));
        aux.open();
        QCOMPARE(aux.fieldNames(), (QStringList{"EMPRESA", "N"}));
        QCOMPARE(aux.recNo(), 1);
        QCOMPARE(walk(aux, QStringLiteral("N")), (QVariantList{1, 2, 1}));

        // Refresh reads what others committed and keeps the position.
        auto rs = desdis();
        QVERIFY(rs->setRecNo(3));
        m_other->execute(QStringLiteral("UPDATE DESDIS SET NOME = 'novo' WHERE FICHA = 41"));
        rs->refresh();
        QCOMPARE(rs->recNo(), 3);
        QCOMPARE(rs->value(QStringLiteral("NOME")).toString(), QStringLiteral("novo"));
        rs->edit();
        rs->setValue(QStringLiteral("NOME"), "meu");
        QVERIFY_THROWS_EXCEPTION(Error, rs->refresh()); // pending change
        QCOMPARE(rs->value(QStringLiteral("NOME")).toString(), QStringLiteral("meu"));
    }

    // ---- cursor, locate, filters ---------------------------------------------------------

    void locateOnSeveralFields_data()
    {
        QTest::addColumn<QString>("codtipo");
        QTest::addColumn<QString>("conta");
        QTest::addColumn<QString>("found"); // DESC_CONTABIL, empty when not found

        QTest::newRow("second of a type") << "101" << "1.1.2" << "b";
        QTest::newRow("same account, other type") << "102" << "1.1.1" << "c";
        QTest::newRow("first of two equal keys") << "101" << "1.1.1" << "a";
        QTest::newRow("blank before the type") << " 101" << "1.1.2" << "";
        QTest::newRow("blank after the account") << "101" << "1.1.2 " << "";
        QTest::newRow("case counts") << "10A" << "x" << "";
        QTest::newRow("case matches") << "10a" << "x" << "e";
    }

    void locateOnSeveralFields()
    {
        QFETCH(QString, codtipo);
        QFETCH(QString, conta);
        QFETCH(QString, found);
        const QString ins = QStringLiteral("INSERT INTO ORVEN_CONPLA VALUES (?, ?, ?)");
        m_other->execute(ins, {"101", "1.1.1", "a"});
        m_other->execute(ins, {"101", "1.1.2", "b"});
        m_other->execute(ins, {"102", "1.1.1", "c"});
        m_other->execute(ins, {"101", "1.1.1", "d"});
        m_other->execute(ins, {"10a", "x", "e"});
        RecordSet rs(QStringLiteral("CdsConpla"), m_conn.get());
        rs.setCommandText(QStringLiteral("SELECT * FROM ORVEN_CONPLA"));
        rs.open();
        QVERIFY(rs.setRecNo(5));
        const bool ok = rs.locate(QStringList{QStringLiteral("CODTIPO"), QStringLiteral("NUM_CONTABIL")},
                                  QVariantList{codtipo, conta});
        QCOMPARE(ok, !found.isEmpty());
        if (ok)
            QCOMPARE(rs.value(QStringLiteral("DESC_CONTABIL")).toString(), found);
        else
            QCOMPARE(rs.recNo(), 5); // the cursor stays
    }

    void locateByValueAndWithinFilter()
    {
        auto rs = desdis();
        QVERIFY(rs->locate(QStringLiteral("FICHA"), QStringLiteral("41"))); // the text converted to the field's type
        QCOMPARE(rs->recNo(), 3);
        QVERIFY(rs->locate(QStringLiteral("NOME"), QVariant())); // null only with null
        QCOMPARE(rs->value(QStringLiteral("FICHA")).toInt(), 41);
        rs->setFilter(QStringLiteral("EMPRESA = '2'"));
        rs->setFiltered(true);
        QVERIFY(!rs->locate(QStringLiteral("FICHA"), 12)); // outside the view
        QVERIFY(rs->locate(QStringLiteral("FICHA"), 41));
        QCOMPARE(rs->recNo(), 2);
    }

    void filterAndCursor_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QVariantList>("fichas");

        QTest::newRow("none") << "" << QVariantList{12, 40, 41, 50};
        QTest::newRow("entity as text") << "EMPRESA = '2'" << QVariantList{40, 41};
        QTest::newRow("and") << "EMPRESA = 2 AND EXTRA = 'S'" << QVariantList{40};
        QTest::newRow("or") << "EXTRA = 'N' OR EMPRESA = 1" << QVariantList{12, 41};
        QTest::newRow("or of fichas") << "FICHA = 12 OR FICHA = 50" << QVariantList{12, 50};
        QTest::newRow("nothing") << "FICHA = -1" << QVariantList{};
    }

    void filterAndCursor()
    {
        QFETCH(QString, expression);
        QFETCH(QVariantList, fichas);
        auto rs = desdis();
        QVERIFY(rs->last());
        rs->setFilter(expression);
        QCOMPARE(rs->recordCount(), 4); // not in force until switched on
        rs->setFiltered(true);
        QCOMPARE(rs->recordCount(), int(fichas.size()));
        QCOMPARE(rs->recNo(), fichas.isEmpty() ? 0 : 1); // the new view starts at its first row
        QCOMPARE(rs->isEmpty(), fichas.isEmpty());
        QCOMPARE(walk(*rs, QStringLiteral("FICHA")), fichas);
        QVERIFY(rs->eof());
        QVariantList reversed(fichas.rbegin(), fichas.rend());
        QCOMPARE(walkBack(*rs, QStringLiteral("FICHA")), reversed);
        QVERIFY(rs->bof());
        if (!fichas.isEmpty()) {
            QVERIFY(rs->last());
            QCOMPARE(rs->recNo(), int(fichas.size()));
            QVERIFY(rs->next()); // past the last row: stays there, at the end
            QVERIFY(rs->eof());
            QCOMPARE(rs->value(QStringLiteral("FICHA")), fichas.last());
        } else {
            QVERIFY(rs->value(QStringLiteral("FICHA")).isNull());
        }
        rs->setFiltered(false);
        QCOMPARE(rs->recordCount(), 4);
        // A wrong expression is refused and leaves the filter as it was.
        rs->setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(Error, rs->setFilter(QStringLiteral("NAOEXISTE = 1")));
        QCOMPARE(rs->filter(), expression);
        QCOMPARE(rs->recordCount(), int(fichas.size()));
    }

    void postedRowLeavesTheFilter()
    {
        auto rs = desdis();
        rs->setFilter(QStringLiteral("EMPRESA = '2'"));
        rs->setFiltered(true);
        QCOMPARE(rs->value(QStringLiteral("FICHA")).toInt(), 40);
        rs->edit();
        rs->setValue(QStringLiteral("EMPRESA"), 3);
        QVERIFY(rs->post());
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->value(QStringLiteral("FICHA")).toInt(), 41);
        QCOMPARE(rs->changeCount(), 1);
        rs->setFiltered(false);
        QVERIFY(rs->locate(QStringLiteral("FICHA"), 40));
        QCOMPARE(rs->value(QStringLiteral("EMPRESA")).toInt(), 3);
    }

    // ---- lookups ----------------------------------------------------------------------------

    void lookupFieldsFollowTheOtherSet()
    {
        auto desdisSet = desdis();
        RecordSet emp(QStringLiteral("CdsEmpenho"), m_conn.get());
        emp.setCommandText(kSelectDespes);
        emp.setUpdateTable(QStringLiteral("DESPES"));
        emp.addLookupField(QStringLiteral("EMPRESA"), FieldType::Integer, 0, desdisSet.get(), QStringLiteral("FICHA"),
                           QStringLiteral("FICHA"), QStringLiteral("EMPRESA"));
        emp.addLookupField(QStringLiteral("BALCO"), FieldType::String, 18, desdisSet.get(), QStringLiteral("FICHA"),
                           QStringLiteral("FICHA"), QStringLiteral("BALCO"));
        emp.open();
        QVERIFY(emp.field(emp.fieldIndex(QStringLiteral("BALCO"))).lookup);
        QCOMPARE(walk(emp, QStringLiteral("EMPRESA")), (QVariantList{1, 2, 2, QVariant()})); // FICHA 99: none
        QCOMPARE(walk(emp, QStringLiteral("BALCO")), (QVariantList{"321101", "321102", "331101", QVariant()}));

        // The expense set filtered on an entity: the others' look-ups are empty.
        QSignalSpy resets(&emp, &RecordSet::reset);
        desdisSet->setFilter(QStringLiteral("EMPRESA = '2'"));
        desdisSet->setFiltered(true);
        QVERIFY(!resets.isEmpty()); // grids of the commitments repaint
        QCOMPARE(walk(emp, QStringLiteral("EMPRESA")), (QVariantList{QVariant(), 2, 2, QVariant()}));

        // A filter on a looked-up field.
        desdisSet->setFiltered(false);
        emp.setFilter(QStringLiteral("BALCO = '321102' OR EMPRESA = 1"));
        emp.setFiltered(true);
        QCOMPARE(walk(emp, QStringLiteral("NEMPG")), (QVariantList{1, 2}));

        // Never written, never edited.
        QVERIFY(emp.first());
        emp.edit();
        QVERIFY_THROWS_EXCEPTION(Error, emp.setValue(QStringLiteral("EMPRESA"), 5));
        emp.setValue(QStringLiteral("GRUPO_TCE"), "01");
        QVERIFY(emp.post());
        QCOMPARE(emp.applyUpdates(), 0);
        QCOMPARE(dbValue(QStringLiteral("SELECT GRUPO_TCE FROM DESPES WHERE NEMPG = 1")).toString(), QStringLiteral("01"));

        // A changed expense row shows at once in the look-up.
        QVERIFY(desdisSet->locate(QStringLiteral("FICHA"), 12));
        desdisSet->edit();
        desdisSet->setValue(QStringLiteral("EMPRESA"), 8);
        QVERIFY(desdisSet->post());
        emp.setFiltered(false);
        QVERIFY(emp.locate(QStringLiteral("NEMPG"), 1));
        QCOMPARE(emp.value(QStringLiteral("EMPRESA")).toInt(), 8);
    }

    void displayTexts_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("currency");
        QTest::addColumn<QString>("text");

        QTest::newRow("grouped") << QVariant(1234567.891) << "#,0.00;-#,0.00" << false << "1.234.567,89";
        QTest::newRow("negative section") << QVariant(-1234.5) << "#,0.00;-#,0.00" << false << "-1.234,50";
        QTest::newRow("zero") << QVariant(0.0) << "#,0.00;-#,0.00" << false << "0,00";
        QTest::newRow("small") << QVariant(0.5) << "#,0.00;-#,0.00" << false << "0,50";
        QTest::newRow("optional decimals") << QVariant(2.5) << "0.##" << false << "2,5";
        QTest::newRow("currency") << QVariant(-1500.0) << "" << true << "-R$ 1.500,00";
        QTest::newRow("plain float") << QVariant(12.25) << "" << false << "12,25";
        QTest::newRow("date") << QVariant(QDate(2008, 2, 9)) << "" << false << "09/02/2008";
        QTest::newRow("time of day") << QVariant(QDateTime(QDate(2008, 2, 9), QTime(8, 5, 1))) << "" << false
                                     << "09/02/2008 08:05:01";
        QTest::newRow("midnight") << QVariant(QDateTime(QDate(2008, 2, 9), QTime(0, 0))) << "" << false << "09/02/2008";
        QTest::newRow("null") << QVariant() << "#,0.00" << false << "";
    }

    void displayTexts()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(bool, currency);
        QFETCH(QString, text);
        ColumnInfo c;
        c.name = QStringLiteral("V");
        c.type = value.typeId() == QMetaType::QDate       ? FieldType::Date
                 : value.typeId() == QMetaType::QDateTime ? FieldType::DateTime
                                                          : FieldType::Float;
        RecordSet rs(QStringLiteral("CdsXml"));
        FieldDecl d;
        d.name = c.name;
        d.displayFormat = format;
        d.currency = currency;
        rs.setFieldDecls({d});
        rs.openRows({c}, {Row{value}});
        QCOMPARE(rs.displayText(0, 0), text);
    }
};

QTEST_GUILESS_MAIN(TestRecordSet)
#include "tst_recordset.moc"
