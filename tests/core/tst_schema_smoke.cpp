// The demo installation against the accounting database contract: every
// object answers with its columns, the data has what the generation and the
// classification need (figures in every section branch, consistent dates and
// amounts, court codes that exist in the court chart), accents and ownership
// are right, a demo is never made over another one by accident, and the data
// is the same at every creation.

#include "DemoFixture.h"

#include "common/Error.h"
#include "common/Progress.h"
#include "db/Firebird.h"
#include "db/Schema.h"
#include "demo/DemoDatabase.h"
#include "demo/DemoInstaller.h"
#include "demo/ReferenceCatalogue.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace orven;

namespace {

// A QIBASE connection of its own, removed with the object.
class Db {
public:
    explicit Db(const QString &path)
        : m_name(QStringLiteral("smoke-%1").arg(++s_counter))
    {
        m_db = firebird::addConnection(m_name, path);
        if (!m_db.open())
            m_error = m_db.lastError().text();
    }
    ~Db()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    // All rows; on failure an empty list and error() says why.
    QList<QVariantList> rows(const QString &sql)
    {
        QList<QVariantList> out;
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            m_error = q.lastError().text() + QStringLiteral("\n") + sql;
            return out;
        }
        m_error.clear();
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            out << row;
        }
        return out;
    }
    QVariant value(const QString &sql)
    {
        const QList<QVariantList> r = rows(sql);
        return r.isEmpty() || r.first().isEmpty() ? QVariant() : r.first().first();
    }

private:
    static inline int s_counter = 0;
    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};

QString day(int d, int m, int y = 2008) { return QDate(y, m, d).toString(QStringLiteral("dd.MM.yyyy")); }
QString first(int m) { return day(1, m); }
QString last(int m) { return day(QDate(2008, m, 1).daysInMonth(), m); }
QString mm(int m) { return QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')); }
// The day after the month, for bounds that take in its whole last day.
QString next(int m) { return m == 12 ? day(1, 1, 2009) : first(m + 1); }

// Some counts and sums of a demo database, for comparing two of them.
QStringList fingerprint(Db &db)
{
    QStringList out;
    for (const QString &name : db::countableObjects())
        out << name + QLatin1Char('=') + db.value(QStringLiteral("SELECT COUNT(*) FROM ") + name).toString();
    const QStringList sums = {
        "SELECT SUM(TOTOR), SUM(TOTLA), COUNT(BALCO_TCE), COUNT(GRUPO_TCE) FROM RECDIS",
        "SELECT SUM(DOTAC), SUM(ALTDO), SUM(EMAED), COUNT(BALCO_TCE), COUNT(GRUPO_TCE) FROM DESDIS",
        "SELECT SUM(VADEM), SUM(VAPAG), SUM(ANULA), MIN(DATAE), MAX(DATAE), COUNT(GRUPO_TCE) FROM DESPES",
        "SELECT SUM(VADEM), MAX(DATAE) FROM DESSUB",
        "SELECT SUM(VALIQ), MAX(DATAL) FROM LIQUIDA",
        "SELECT SUM(VAPAG), MAX(DTPAG) FROM PAGAMENTO",
        "SELECT SUM(VAREC), MAX(DTREC) FROM RECEIT",
        "SELECT SUM(CREDI), SUM(DEBIT) FROM ORDCAI",
        "SELECT SUM(CREDI), SUM(DEBIT) FROM CONDIA",
        "SELECT SUM(VALOR) FROM DESALT",
        "SELECT SUM(VALOR) FROM RECALT",
        "SELECT OCTET_LENGTH(LOGO) FROM LOGO",
    };
    for (const QString &sql : sums) {
        QStringList values;
        for (const QVariant &v : db.rows(sql).value(0))
            values << v.toString();
        out << sql + QStringLiteral(" -> ") + values.join(QLatin1Char('|'));
    }
    return out;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

} // namespace

class TestSchemaSmoke : public QObject {
    Q_OBJECT

    // One connection to the shared demo for the read-only cases.
    std::unique_ptr<Db> m_demo;
    Db &demoDb() { return *m_demo; }

private slots:
    void initTestCase()
    {
        const test::DemoInstall &demo = test::smallDemo();
        QVERIFY2(demo.isValid(), qPrintable(demo.error));
        QVERIFY(QFileInfo::exists(demo.databasePath));
        QVERIFY(QFileInfo::exists(demo.configDir + QStringLiteral("/zunt.ini")));
        for (const char *f : {"ID_ORVEN.XML", "ID_ORVEN2008.XML", "ORVENTIPO.XML", "ORVENCONPLA.XML"})
            QVERIFY2(QFileInfo::exists(demo.tabdefFolder + QLatin1String(f)), f);
        m_demo = std::make_unique<Db>(demo.databasePath);
        QVERIFY2(m_demo->isOpen(), qPrintable(m_demo->error()));
    }
    void cleanupTestCase() { m_demo.reset(); }

    // Every object of the contract answers with the columns ORVEN names.
    void contractObjectsAnswer_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("needsRows");
        for (const db::SchemaObject &o : db::schemaObjects()) {
            QString from = o.name;
            if (o.kind == db::SchemaObject::Kind::Procedure)
                from += QStringLiteral("('01.01.2008','31.12.2008')");
            QTest::newRow(qPrintable(o.name)) << QStringLiteral("SELECT %1 FROM %2").arg(o.columns.join(QStringLiteral(", ")), from)
                                              << (o.name != u"ORVEN_TIPO" && o.name != u"ORVEN_CONPLA");
        }
    }
    void contractObjectsAnswer()
    {
        QFETCH(QString, sql);
        QFETCH(bool, needsRows);
        Db &db = demoDb();
        const QList<QVariantList> rows = db.rows(sql);
        QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
        QCOMPARE(!rows.isEmpty(), needsRows);
    }

    // Counts the demo promises; the court chart tables start empty (the program imports the chart).
    void promisedCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("atLeast");
        QTest::addColumn<int>("atMost");
        const auto row = [](const char *t, int lo, int hi) { QTest::newRow(t) << QString::fromLatin1(t) << lo << hi; };
        row("CADCLI", 1, 1);
        row("LOGO", 1, 1);
        row("TABEMPRESA", 6, 20);
        row("ORVEN_TIPO", 0, 0);
        row("ORVEN_CONPLA", 0, 0);
        row("RECDIS", 50, 999);
        row("DESDIS", 100, 999);
        row("DESPES", 500, 5000);
        row("LIQUIDA", 500, 5000);
        row("PAGAMENTO", 500, 5000);
        row("RECEIT", 500, 5000);
        for (const char *t : {"DESSUB", "RECORC", "RECALT", "DESORC", "DESALT", "CONDIA", "ORDCAI", "CONPLA", "DESCON",
                              "VINCODIGO", "TABCATEC", "TABFUNCAO", "TABSUBFUNCAO", "TABPROGRAMA", "TABACAO"})
            row(t, 1, 100000);
    }
    void promisedCounts()
    {
        QFETCH(QString, table);
        QFETCH(int, atLeast);
        QFETCH(int, atMost);
        Db &db = demoDb();
        const qlonglong n = db.value(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong();
        QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
        QVERIFY2(n >= atLeast && n <= atMost, qPrintable(QStringLiteral("%1 rows").arg(n)));
    }

    void viewsFollowTheirTables()
    {
        Db &db = demoDb();
        QCOMPARE(db.value("SELECT COUNT(*) FROM VIEWLIQ").toLongLong(), db.value("SELECT COUNT(*) FROM LIQUIDA").toLongLong());
        QCOMPARE(db.value("SELECT COUNT(*) FROM VIEWVAPAG").toLongLong(), db.value("SELECT COUNT(*) FROM PAGAMENTO").toLongLong());
        // Both procedures give one row per record.
        QCOMPARE(db.value("SELECT COUNT(*) FROM RECEITA_NIVEL('01.01.2008','31.12.2008')").toLongLong(),
                 db.value("SELECT COUNT(*) FROM RECDIS").toLongLong());
        QCOMPARE(db.value("SELECT COUNT(*) FROM DESPESA_NIVEL('01.01.2008','31.12.2008')").toLongLong(),
                 db.value("SELECT COUNT(*) FROM DESDIS").toLongLong());
    }

    void municipalityAndEntities()
    {
        Db &db = demoDb();
        QCOMPARE(db.value("SELECT MEXER FROM CADCLI").toString(), QStringLiteral("2008"));
        QCOMPARE(db.value("SELECT BLOQBANCO FROM CADCLI").toString(), QStringLiteral("N"));
        // Accented names survive the round trip, stored one byte per character (WIN1252).
        QCOMPARE(db.value("SELECT CLNT1 FROM CADCLI").toString(), QStringLiteral("PREF. MUN. DE SÃO JOÃO DO ARAGUAIA"));
        QCOMPARE(db.value("SELECT NOME FROM TABEMPRESA WHERE EMPRESA = 2").toString(),
                 QStringLiteral("CÂMARA MUNICIPAL DE SÃO JOÃO DO ARAGUAIA"));
        QCOMPARE(db.value("SELECT COUNT(*) FROM CADCLI WHERE OCTET_LENGTH(CLNT2) = CHAR_LENGTH(CLNT2) AND CLNT2 LIKE '%SÃO JOÃO%'").toInt(), 1);
        QCOMPARE(db.value("SELECT COUNT(*) FROM TABEMPRESA WHERE OCTET_LENGTH(NOME) <> CHAR_LENGTH(NOME)").toInt(), 0);
        QVERIFY(db.value("SELECT COUNT(*) FROM TABEMPRESA WHERE NOME LIKE '%SAÚDE%' OR NOME LIKE '%EDUCAÇÃO%'").toInt() >= 2);
        // Entities of both powers and both kinds of administration; 12 among them.
        QCOMPARE(db.value("SELECT COUNT(DISTINCT TIPO) FROM TABEMPRESA").toInt(), 2);
        QCOMPARE(db.value("SELECT COUNT(DISTINCT ADM) FROM TABEMPRESA").toInt(), 2);
        QCOMPARE(db.value("SELECT COUNT(*) FROM TABEMPRESA WHERE EMPRESA IN (1, 2, 3, 4, 5, 7, 12)").toInt(), 7);
        // The logo is a Windows bitmap.
        QCOMPARE(db.value("SELECT LOGO FROM LOGO").toByteArray().left(2), QByteArray("BM"));
    }

    void ownerAndCharacterSet()
    {
        Db &db = demoDb();
        const QList<QVariantList> owners =
            db.rows("SELECT DISTINCT TRIM(RDB$OWNER_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0");
        QCOMPARE(owners.size(), 1);
        QCOMPARE(owners.first().first().toString(), QStringLiteral("KALDOR08"));
        QCOMPARE(db.value("SELECT TRIM(RDB$OWNER_NAME) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = 'RECEITA_NIVEL'").toString(),
                 QStringLiteral("KALDOR08"));
        QCOMPARE(db.value("SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$DATABASE").toString(), QStringLiteral("WIN1252"));
        QCOMPARE(db.value("SELECT MON$SQL_DIALECT FROM MON$DATABASE").toInt(), 3);
    }

    // What the section queries look for, branch by branch, in every month or
    // bimester of 2008: each must find a figure (non-zero) in a fresh demo.
    void sectionBranchesHaveFigures_data()
    {
        QTest::addColumn<QString>("sql");
        const auto row = [](const QString &name, const QString &sql) { QTest::newRow(qPrintable(name)) << sql; };
        for (int m = 1; m <= 12; ++m) {
            const QString range = QStringLiteral("'%1','%2'").arg(first(m), last(m));
            // The whole month, its last day included whatever the time.
            const auto within = [m](const char *column) {
                return QStringLiteral("%1 >= '%2' AND %1 < '%3'").arg(QLatin1String(column), first(m), next(m));
            };
            row(QStringLiteral("revenue collected %1").arg(m),
                QStringLiteral("SELECT SUM(A.MES) FROM RECEITA_NIVEL(%1) A JOIN RECDIS B ON B.FICHA = A.FICHA "
                               "WHERE B.BALCO_TCE STARTING WITH '1'").arg(range));
            row(QStringLiteral("FUNDEB deductions %1").arg(m),
                QStringLiteral("SELECT SUM(A.MES) FROM RECEITA_NIVEL(%1) A JOIN RECDIS B ON B.FICHA = A.FICHA "
                               "WHERE B.BALCO_TCE STARTING WITH '9.17'").arg(range));
            row(QStringLiteral("expense committed %1").arg(m),
                QStringLiteral("SELECT SUM(A.VADEM) FROM DESPES A JOIN DESDIS B ON B.FICHA = A.FICHA "
                               "WHERE B.BALCO_TCE IS NOT NULL AND %1").arg(within("A.DATAE")));
            row(QStringLiteral("expense liquidated %1").arg(m),
                QStringLiteral("SELECT SUM(A.VADEM) FROM VIEWLIQ A JOIN DESDIS B ON B.FICHA = A.FICHA "
                               "WHERE B.BALCO_TCE IS NOT NULL AND %1").arg(within("A.DATAE")));
            row(QStringLiteral("expense paid %1").arg(m),
                QStringLiteral("SELECT SUM(A.VAPAG) FROM VIEWVAPAG A JOIN DESDIS B ON B.FICHA = A.FICHA "
                               "WHERE B.BALCO_TCE IS NOT NULL AND %1").arg(within("A.DTPAG")));
            for (const char *group : {"205", "206"}) {
                row(QStringLiteral("liquidated of group %1 in %2").arg(QLatin1String(group)).arg(m),
                    QStringLiteral("SELECT SUM(A.VADEM) FROM VIEWLIQ A JOIN DESDIS B ON B.FICHA = A.FICHA "
                                   "WHERE EXTRACT(MONTH FROM A.DATAE) = '%1' AND EXTRACT(YEAR FROM A.DATAE) = "
                                   "(SELECT MEXER FROM CADCLI) AND B.GRUPO_TCE = '%2'").arg(mm(m), QLatin1String(group)));
                row(QStringLiteral("updated appropriation of group %1 in %2").arg(QLatin1String(group)).arg(m),
                    QStringLiteral("SELECT SUM(A.DOTAC) + SUM(A.ALTDO) FROM DESPESA_NIVEL(%1) A JOIN DESDIS B "
                                   "ON B.FICHA = A.FICHA WHERE B.GRUPO_TCE = '%2'").arg(range, QLatin1String(group)));
            }
            for (const char *group : {"105", "106"})
                row(QStringLiteral("revenue of group %1 in %2").arg(QLatin1String(group)).arg(m),
                    QStringLiteral("SELECT SUM(A.MES) FROM RECEITA_NIVEL(%1) A JOIN RECDIS B ON B.FICHA = A.FICHA "
                                   "WHERE B.GRUPO_TCE = '%2'").arg(range, QLatin1String(group)));
            // Outstanding commitments paid in the month, liquidated in an
            // earlier year (processed) and in the year (not processed).
            for (const auto &[kind, cmp] : {std::pair{"processed", "<"}, std::pair{"unprocessed", "="}}) {
                for (const char *group : {"01", "10"}) {
                    if (QByteArray(group) == "10" && QByteArray(kind) == "unprocessed")
                        continue;
                    row(QStringLiteral("outstanding %1 group %2 paid in %3").arg(QLatin1String(kind), QLatin1String(group)).arg(m),
                        QStringLiteral("SELECT SUM(A.VAPAG) FROM VIEWVAPAG A JOIN DESPES B ON B.PKEMP = A.PKEMP "
                                       "JOIN DESDIS C ON C.FICHA = B.FICHA WHERE EXTRACT(MONTH FROM A.DTPAG) = '%1' "
                                       "AND A.VAPAG > 0 AND EXTRACT(YEAR FROM A.DTPAG) = (SELECT MEXER FROM CADCLI) "
                                       "AND SUBSTRING(C.BALCO FROM 1 FOR 4) = '3211' AND B.GRUPO_TCE = '%2' "
                                       "AND EXISTS (SELECT 1 FROM VIEWLIQ L WHERE L.PKEMP = A.PKEMP AND L.NUMSUB = A.NUMSUB "
                                       "AND L.VADEM > 0 AND EXTRACT(YEAR FROM L.DATAE) %3 (SELECT MEXER FROM CADCLI))")
                            .arg(mm(m), QLatin1String(group), QLatin1String(cmp)));
                }
            }
        }
        for (int b = 1; b <= 6; ++b) {
            const QString m1 = mm(2 * b - 1), m2 = mm(2 * b);
            const QString debt = QStringLiteral("SELECT COALESCE(SUM(CREDI) - SUM(DEBIT), 0) FROM CONDIA WHERE "
                                                "EXTRACT(MONTH FROM DATAE) IN ('%1','%2') AND EXTRACT(YEAR FROM DATAE) = "
                                                "(SELECT MEXER FROM CADCLI) ").arg(m1, m2);
            row(QStringLiteral("debt 1.200 bimester %1").arg(b), debt + QStringLiteral("AND BALCO LIKE '3411%'"));
            row(QStringLiteral("debt 1.300 bimester %1").arg(b), debt + QStringLiteral("AND BALCO LIKE '3424%'"));
            row(QStringLiteral("debt 1.502 bimester %1").arg(b), debt + QStringLiteral("AND BALCO = '342101'"));
            row(QStringLiteral("debt 1.503 bimester %1").arg(b),
                debt + QStringLiteral("AND BALCO LIKE '3421%' AND BALCO NOT IN ('342101','342102')"));
            row(QStringLiteral("debt 1.504 bimester %1").arg(b), debt + QStringLiteral("AND BALCO = '342102'"));
            row(QStringLiteral("debt 1.700 bimester %1").arg(b), debt + QStringLiteral("AND BALCO LIKE '3422%'"));
            row(QStringLiteral("credit operation bimester %1").arg(b),
                QStringLiteral("SELECT SUM(A.VAREC) FROM RECEIT A JOIN RECDIS B ON B.FICHA = A.FICHA WHERE "
                               "EXTRACT(MONTH FROM A.DTREC) IN ('%1','%2') AND EXTRACT(YEAR FROM A.DTREC) = "
                               "(SELECT MEXER FROM CADCLI) AND B.GRUPO_TCE = '009' AND B.COD_TCE = '1.20'").arg(m1, m2));
            const QString cash = QStringLiteral("SELECT SUM(O.CREDI) - SUM(O.DEBIT) FROM ORDCAI O JOIN DESCON D ON D.CONTA = O.CONTA "
                                                "WHERE EXTRACT(MONTH FROM O.DTLAN) <= '%1' AND EXTRACT(YEAR FROM O.DTLAN) = "
                                                "(SELECT MEXER FROM CADCLI) ").arg(m2);
            for (const char *group : {"3111", "3112", "3113", "3114", "3115", "3121", "3122"})
                row(QStringLiteral("cash %1 bimester %2").arg(QLatin1String(group)).arg(b),
                    cash + QStringLiteral("AND D.BALCO STARTING WITH '%1'").arg(QLatin1String(group)));
            row(QStringLiteral("cash FUNDEB bimester %1").arg(b), cash + QStringLiteral("AND D.TIPO = 'FU'"));
        }
        row(QStringLiteral("revenue initial budget"),
            QStringLiteral("SELECT SUM(A.ORCADA_INICIAL) FROM RECEITA_NIVEL('01.01.2007','31.12.2007') A "
                           "JOIN RECDIS B ON B.FICHA = A.FICHA WHERE B.BALCO_TCE STARTING WITH '1'"));
        row(QStringLiteral("FUNDEB deductions budget"),
            QStringLiteral("SELECT SUM(A.ORCADA_INICIAL) FROM RECEITA_NIVEL('01.01.2007','31.12.2007') A "
                           "JOIN RECDIS B ON B.FICHA = A.FICHA WHERE B.BALCO_TCE STARTING WITH '9.17'"));
        row(QStringLiteral("expense appropriation"),
            QStringLiteral("SELECT SUM(A.DOTAC) FROM DESORC A JOIN DESDIS B ON B.FICHA = A.FICHA WHERE B.BALCO_TCE IS NOT NULL"));
        for (const char *group : {"205", "206"})
            row(QStringLiteral("appropriation of group %1").arg(QLatin1String(group)),
                QStringLiteral("SELECT SUM(DESORC.DOTAC) FROM DESORC JOIN DESDIS B ON B.FICHA = DESORC.FICHA "
                               "WHERE B.GRUPO_TCE = '%1'").arg(QLatin1String(group)));
        for (const char *group : {"105", "106"})
            row(QStringLiteral("revenue budget of group %1").arg(QLatin1String(group)),
                QStringLiteral("SELECT SUM(A.TOTOR) FROM RECORC A JOIN RECDIS B ON B.FICHA = A.FICHA WHERE B.GRUPO_TCE = '%1'")
                    .arg(QLatin1String(group)));
        const QString amortised = QStringLiteral("WHERE C.GRUPO_TCE = '004' AND C.COD_TCE = '4.6.80.01.02'");
        row(QStringLiteral("amortised debt committed"),
            QStringLiteral("SELECT SUM(A.VADEM) FROM DESPES A JOIN DESDIS C ON C.FICHA = A.FICHA %1 AND C.DOTAC <> 0").arg(amortised));
        row(QStringLiteral("amortised debt liquidated"),
            QStringLiteral("SELECT SUM(A.VADEM) FROM VIEWLIQ A JOIN DESPES B ON B.PKEMP = A.PKEMP JOIN DESDIS C "
                           "ON C.FICHA = B.FICHA %1").arg(amortised));
        row(QStringLiteral("refinancing credit budget"),
            QStringLiteral("SELECT SUM(TOTOR) FROM RECDIS WHERE BALCO_TCE IN ('2.1.15.00.00','2.1.16.00.00','8.1.15.00.00','8.1.16.00.00')"));
        row(QStringLiteral("additional-credit amortisation paid"),
            QStringLiteral("SELECT SUM(A.VAPAG) FROM VIEWVAPAG A JOIN DESPES B ON B.PKEMP = A.PKEMP JOIN DESDIS C "
                           "ON C.FICHA = B.FICHA %1 AND C.DOTAC = 0").arg(amortised));
        row(QStringLiteral("amortised debt budget"),
            QStringLiteral("SELECT SUM(DESORC.DOTAC) FROM DESORC JOIN DESDIS C ON C.FICHA = DESORC.FICHA %1").arg(amortised));
        row(QStringLiteral("annulments lower commitments"), QStringLiteral("SELECT SUM(VADEM) FROM DESPES WHERE TPEM = 'AN'"));
    }
    void sectionBranchesHaveFigures()
    {
        QFETCH(QString, sql);
        Db &db = demoDb();
        const QVariant v = db.value(sql);
        QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
        QVERIFY2(!v.isNull() && v.toDouble() != 0.0, qPrintable(sql));
    }

    // Each query counts the rows that break a rule of a believable year.
    void dataIsConsistent_data()
    {
        QTest::addColumn<QString>("sql");
        const auto row = [](const char *name, const char *sql) { QTest::newRow(name) << QString::fromUtf8(sql); };
        row("liquidation before its commitment",
            "SELECT COUNT(*) FROM VIEWLIQ L JOIN DESPES E ON E.PKEMP = L.PKEMP WHERE L.DATAE < E.DATAE");
        row("payment before its liquidation",
            "SELECT COUNT(*) FROM PAGAMENTO P JOIN LIQUIDA L ON L.PKLIQ = P.PKLIQ WHERE P.DTPAG < L.DATAL");
        row("liquidation paid more than once",
            "SELECT COUNT(*) FROM LIQUIDA L WHERE L.VALIQ < (SELECT SUM(P.VAPAG) FROM PAGAMENTO P WHERE P.PKLIQ = L.PKLIQ) - 0.005");
        row("commitment of the year liquidated beyond its net amount",
            "SELECT COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA WHERE D.BALCO NOT STARTING WITH '3211' "
            "AND E.TPEM <> 'AN' AND E.VADEM - E.ANULA < (SELECT COALESCE(SUM(VALIQ), 0) FROM LIQUIDA L WHERE L.PKEMP = E.PKEMP) - 0.005");
        row("sub-commitments beyond their commitment",
            "SELECT COUNT(*) FROM DESPES E WHERE E.VADEM + 0.005 < (SELECT SUM(S.VADEM) FROM DESSUB S WHERE S.PKEMP = E.PKEMP AND S.VADEM > 0)");
        row("appropriation exceeded", "SELECT COUNT(*) FROM DESDIS WHERE SATUA < -0.005");
        row("committed total out of step",
            "SELECT COUNT(*) FROM DESDIS D WHERE D.BALCO NOT STARTING WITH '3211' AND ABS(COALESCE(D.EMAED, 0) - "
            "(SELECT COALESCE(SUM(E.VADEM), 0) FROM DESPES E WHERE E.FICHA = D.FICHA)) > 0.01");
        row("appropriation changes out of step",
            "SELECT COUNT(*) FROM DESDIS D WHERE ABS(COALESCE(D.ALTDO, 0) - (SELECT COALESCE(SUM(A.VALOR), 0) FROM DESALT A "
            "WHERE A.FICHA = D.FICHA)) > 0.01");
        row("collected total out of step",
            "SELECT COUNT(*) FROM RECDIS R WHERE ABS(COALESCE(R.TOTLA, 0) - (SELECT COALESCE(SUM(C.VAREC), 0) FROM RECEIT C "
            "WHERE C.FICHA = R.FICHA)) > 0.01");
        row("revenue targets not adding up to the budget",
            "SELECT COUNT(*) FROM RECDIS R WHERE R.EXTRA = 'N' AND ABS(R.TOTOR - (SELECT SUM(O.TOTOR) FROM RECORC O "
            "WHERE O.FICHA = R.FICHA)) > 0.01");
        row("annulment without its commitment", "SELECT COUNT(*) FROM DESPES WHERE TPEM = 'AN' AND (PKEMPA IS NULL OR VADEM >= 0)");
        row("movement outside the exercise year",
            "SELECT (SELECT COUNT(*) FROM RECEIT WHERE EXTRACT(YEAR FROM DTREC) <> 2008) + "
            "(SELECT COUNT(*) FROM VIEWVAPAG P JOIN DESDIS D ON D.FICHA = P.FICHA WHERE D.BALCO NOT STARTING WITH '3211' "
            "AND EXTRACT(YEAR FROM P.DTPAG) <> 2008) + "
            "(SELECT COUNT(*) FROM ORDCAI WHERE EXTRACT(YEAR FROM DTLAN) <> 2008) + "
            "(SELECT COUNT(*) FROM CONDIA WHERE EXTRACT(YEAR FROM DATAE) <> 2008) + "
            "(SELECT COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA WHERE D.BALCO NOT STARTING WITH '3211' "
            "AND EXTRACT(YEAR FROM E.DATAE) <> 2008) FROM RDB$DATABASE");
        row("outstanding commitment of the year",
            "SELECT COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA WHERE D.BALCO STARTING WITH '3211' "
            "AND E.TPEM <> 'AN' AND EXTRACT(YEAR FROM E.DATAE) >= 2008");
        row("processed outstanding commitment without an earlier liquidation",
            "SELECT COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA WHERE D.BALCO = '321101' AND E.TPEM <> 'AN' "
            "AND NOT EXISTS (SELECT 1 FROM LIQUIDA L WHERE L.PKEMP = E.PKEMP AND EXTRACT(YEAR FROM L.DATAL) < 2008)");
        row("unprocessed outstanding commitment liquidated earlier",
            "SELECT COUNT(*) FROM LIQUIDA L JOIN DESPES E ON E.PKEMP = L.PKEMP JOIN DESDIS D ON D.FICHA = E.FICHA "
            "WHERE D.BALCO = '321102' AND EXTRACT(YEAR FROM L.DATAL) < 2008");
        row("category missing from TABCATEC",
            "SELECT (SELECT COUNT(*) FROM DESDIS D WHERE D.CATEC IS NOT NULL AND NOT EXISTS (SELECT 1 FROM TABCATEC T "
            "WHERE T.CATEC = D.CATEC)) + (SELECT COUNT(*) FROM DESPES E WHERE E.CATEC_ANT IS NOT NULL AND NOT EXISTS "
            "(SELECT 1 FROM TABCATEC T WHERE T.CATEC = E.CATEC_ANT)) FROM RDB$DATABASE");
        row("functional code missing from the reference tables",
            "SELECT COUNT(*) FROM (SELECT CFPRO_ANT AS C FROM DESPES WHERE CFPRO_ANT IS NOT NULL UNION ALL "
            "SELECT CFPRO FROM DESDIS WHERE CFPRO IS NOT NULL) X WHERE "
            "NOT EXISTS (SELECT 1 FROM TABFUNCAO F WHERE F.FUNCAO = SUBSTRING(X.C FROM 1 FOR 2)) OR "
            "NOT EXISTS (SELECT 1 FROM TABSUBFUNCAO S WHERE S.SUBFUNCAO = SUBSTRING(X.C FROM 4 FOR 3)) OR "
            "NOT EXISTS (SELECT 1 FROM TABPROGRAMA P WHERE P.PROGRAMA = SUBSTRING(X.C FROM 8 FOR 4)) OR "
            "NOT EXISTS (SELECT 1 FROM TABACAO A WHERE A.PROJATIV = SUBSTRING(X.C FROM 13 FOR 4) "
            "AND A.ACAO = SUBSTRING(X.C FROM 18 FOR 4))");
        row("outstanding commitment without its category",
            "SELECT COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA WHERE D.BALCO STARTING WITH '3211' "
            "AND E.TPEM <> 'AN' AND (E.CATEC_ANT IS NULL OR E.CFPRO_ANT IS NULL)");
        // The generation refuses to run while this finds a row.
        row("generation pre-check",
            "SELECT COUNT(*) FROM DESPES INNER JOIN DESDIS ON DESDIS.FICHA = DESPES.FICHA WHERE "
            "SUBSTRING(DESDIS.BALCO FROM 1 FOR 4) = '3211' AND SUBSTRING(DESPES.GRUPO_TCE FROM 1 FOR 1) = '' OR "
            "SUBSTRING(DESPES.COD_TCE FROM 1 FOR 1) = '' AND DESDIS.EXTRA = 'S' ");
        row("court code written as an empty text",
            "SELECT (SELECT COUNT(*) FROM RECDIS WHERE BALCO_TCE = '' OR GRUPO_TCE = '' OR COD_TCE = '') + "
            "(SELECT COUNT(*) FROM DESDIS WHERE BALCO_TCE = '' OR GRUPO_TCE = '' OR COD_TCE = '') + "
            "(SELECT COUNT(*) FROM DESPES WHERE GRUPO_TCE = '' OR COD_TCE = '') FROM RDB$DATABASE");
        row("cash account overdrawn at the end of a day",
            "SELECT COUNT(*) FROM ORDCAI O WHERE (SELECT SUM(X.CREDI) - SUM(X.DEBIT) FROM ORDCAI X WHERE X.CONTA = O.CONTA "
            "AND X.DTLAN <= O.DTLAN) < -0.005");
        row("ledger entry out of balance",
            "SELECT COUNT(*) FROM (SELECT LOTE FROM CONDIA GROUP BY LOTE HAVING ABS(SUM(DEBIT) - SUM(CREDI)) > 0.005)");
    }
    void dataIsConsistent()
    {
        QFETCH(QString, sql);
        Db &db = demoDb();
        const QVariant v = db.value(sql);
        QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
        QCOMPARE(v.toLongLong(), 0LL);
    }

    // The records the classification is meant for: kinds, accounts, categories.
    void recordsForTheClassification()
    {
        Db &db = demoDb();
        const auto count = [&db](const char *sql) {
            const qlonglong n = db.value(QString::fromUtf8(sql)).toLongLong();
            if (!db.error().isEmpty())
                qWarning("%s", qPrintable(db.error()));
            return n;
        };
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS WHERE BALCO STARTING WITH '3211' AND EXTRA = 'S'") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS WHERE BALCO = '323607'") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS WHERE BALCO = '323608'") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS WHERE DOTAC = 0 AND CATEC IS NOT NULL") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS WHERE DOTAC <> 0") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS WHERE SUBSTRING(CATEC FROM 5 FOR 2) = '91'") > 0);
        QCOMPARE(count("SELECT COUNT(DISTINCT FUNCAO) FROM DESDIS WHERE FUNCAO IN ('10', '12')"), 2LL);
        QCOMPARE(count("SELECT COUNT(DISTINCT SUBFUNCAO) FROM DESDIS WHERE FUNCAO = '12' AND SUBFUNCAO IN ('361', '365', '306')"), 3LL);
        QCOMPARE(count("SELECT COUNT(DISTINCT TIPO) FROM DESDIS WHERE TIPO IN ('SD','ED','EF','EI','FM','FO','QE','NV')"), 8LL);
        QCOMPARE(count("SELECT COUNT(DISTINCT TIPO) FROM RECDIS WHERE TIPO IN ('SD','ED','EF','EI','FU','QE','RD','AR')"), 8LL);
        QCOMPARE(count("SELECT COUNT(DISTINCT SUBSTRING(CODRE FROM 1 FOR 1)) FROM RECDIS WHERE "
                       "SUBSTRING(CODRE FROM 1 FOR 1) IN ('1','2','7','9')"), 4LL);
        QVERIFY(count("SELECT COUNT(*) FROM RECDIS WHERE EXTRA = 'S'") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM RECDIS WHERE TOTOR = 0 AND EXTRA = 'N'") > 0);
        // A link the expense rules look for, and one they do not find.
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS D WHERE D.FUNCAO = '12' AND EXISTS (SELECT 1 FROM VINCODIGO V "
                      "WHERE V.VINGRUPO = D.VINGRUPO AND V.VINCODIGO = D.VINCODIGO)") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESDIS D WHERE D.FUNCAO = '12' AND NOT EXISTS (SELECT 1 FROM VINCODIGO V "
                      "WHERE V.VINGRUPO = D.VINGRUPO AND V.VINCODIGO = D.VINCODIGO)") > 0);
        // Outstanding commitments partly paid before the exercise year, and cancelled in it.
        QVERIFY(count("SELECT COUNT(*) FROM VIEWVAPAG P JOIN DESDIS D ON D.FICHA = P.FICHA WHERE D.BALCO = '321101' "
                      "AND EXTRACT(YEAR FROM P.DTPAG) < 2008") > 0);
        QVERIFY(count("SELECT COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA WHERE D.BALCO STARTING WITH '3211' "
                      "AND E.TPEM = 'AN' AND EXTRACT(YEAR FROM E.DATAE) = 2008") > 0);
        // Sub-commitments with their own liquidations and payments.
        QVERIFY(count("SELECT COUNT(*) FROM PAGAMENTO P WHERE P.NUMSUB > 0 AND EXISTS (SELECT 1 FROM DESSUB S "
                      "WHERE S.PKEMP = P.PKEMP AND S.NUMSUB = P.NUMSUB)") > 0);
        // Some moments carry a time of day: 14:00 on the last day of a month.
        for (const char *sql : {"SELECT COUNT(*) FROM DESPES WHERE EXTRACT(HOUR FROM DATAE) = 14 AND EXTRACT(DAY FROM DATAE + 1) = 1",
                                "SELECT COUNT(*) FROM VIEWLIQ WHERE EXTRACT(HOUR FROM DATAE) = 14 AND EXTRACT(DAY FROM DATAE + 1) = 1",
                                "SELECT COUNT(*) FROM VIEWVAPAG WHERE EXTRACT(HOUR FROM DTPAG) = 14 AND EXTRACT(DAY FROM DTPAG + 1) = 1",
                                "SELECT COUNT(*) FROM RECEIT WHERE EXTRACT(HOUR FROM DTREC) = 14 AND EXTRACT(DAY FROM DTREC + 1) = 1",
                                "SELECT COUNT(*) FROM DESPES WHERE CAST(DATAE AS TIME) = '00:00'"})
            QVERIFY2(count(sql) > 0, sql);
    }

    // Court codes: mostly empty, and where given, codes of the court chart
    // (an account, or a group and source pair).
    void courtCodesBelongToTheChart()
    {
        static const QSet<QString> excluded{"002", "003", "005", "006", "007", "008", "104", "107", "204"};
        QSet<QString> accounts, pairs;
        for (const demo::ChartAccount &a : demo::courtChartAccounts()) {
            const QString type = a.codtipo.trimmed();
            if (excluded.contains(type))
                continue;
            accounts.insert(a.numContabil);
            pairs.insert(type + QLatin1Char('|') + a.numContabil);
        }
        Db &db = demoDb();
        for (const char *table : {"RECDIS", "DESDIS"}) {
            const QList<QVariantList> rows =
                db.rows(QStringLiteral("SELECT BALCO_TCE FROM %1 WHERE BALCO_TCE IS NOT NULL").arg(QLatin1String(table)));
            QVERIFY(!rows.isEmpty());
            for (const QVariantList &r : rows)
                QVERIFY2(accounts.contains(r.first().toString()), qPrintable(r.first().toString()));
        }
        for (const char *table : {"RECDIS", "DESDIS", "DESPES"}) {
            const QList<QVariantList> rows = db.rows(
                QStringLiteral("SELECT GRUPO_TCE, COD_TCE FROM %1 WHERE GRUPO_TCE IS NOT NULL OR COD_TCE IS NOT NULL").arg(QLatin1String(table)));
            QVERIFY(!rows.isEmpty());
            for (const QVariantList &r : rows) {
                const QString pair = r.at(0).toString() + QLatin1Char('|') + r.at(1).toString();
                QVERIFY2(pairs.contains(pair), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(table), pair)));
            }
        }
        // A minority comes classified; the classification has the rest to do.
        for (const char *sql : {"SELECT COUNT(BALCO_TCE) * 1.0 / COUNT(*) FROM RECDIS WHERE EXTRA = 'N'",
                                "SELECT COUNT(BALCO_TCE) * 1.0 / COUNT(*) FROM DESDIS WHERE EXTRA = 'N'",
                                "SELECT COUNT(GRUPO_TCE) * 1.0 / COUNT(*) FROM DESDIS",
                                "SELECT COUNT(E.GRUPO_TCE) * 1.0 / COUNT(*) FROM DESPES E JOIN DESDIS D ON D.FICHA = E.FICHA "
                                "WHERE D.BALCO STARTING WITH '3211' AND E.TPEM <> 'AN'"}) {
            const double share = db.value(QString::fromLatin1(sql)).toDouble();
            QVERIFY2(share > 0.0 && share < 0.5, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(sql)).arg(share)));
        }
    }

    // A demo over an existing installation: refused with a message, nothing touched.
    void refusals_data()
    {
        QTest::addColumn<QString>("setup");   // "demo", "foreign", "marker-in-path"
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("message"); // a text the error holds
        QTest::newRow("over a demo, no replace") << "demo" << false << "--replace";
        QTest::newRow("over another installation, no replace") << "foreign" << false << "--replace";
        QTest::newRow("over another installation, replace") << "foreign" << true << "não é uma demonstração";
        QTest::newRow("ZUNT_8 above the folder") << "marker-in-path" << false << "ZUNT_8";
    }
    void refusals()
    {
        QFETCH(QString, setup);
        QFETCH(bool, replace);
        QFETCH(QString, message);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        NullProgress progress;
        QString dir = tmp.filePath(QStringLiteral("inst"));
        QByteArray ini;
        qint64 databaseSize = -1;
        const demo::DemoSummary layout = demo::demoLayout(dir);
        if (setup == u"demo") {
            demo::createDemo(dir, demo::DemoSize::Small, false, progress);
            databaseSize = QFileInfo(layout.databasePath).size();
        } else if (setup == u"foreign") {
            QVERIFY(QDir().mkpath(dir + QStringLiteral("/ZUNT_8/ARQ2008")));
            writeFile(dir + QStringLiteral("/ZUNT.INI"), "[ZUNT]\r\nAno=2008\r\n");
            writeFile(layout.databasePath, "not a database");
            databaseSize = 14;
        } else {
            dir = tmp.filePath(QStringLiteral("zunt_8_copia/inst"));
        }
        QFile iniFile(QDir(dir).filePath(setup == u"foreign" ? QStringLiteral("ZUNT.INI") : QStringLiteral("zunt.ini")));
        if (iniFile.open(QIODevice::ReadOnly))
            ini = iniFile.readAll();
        iniFile.close();

        try {
            demo::createDemo(dir, demo::DemoSize::Small, replace, progress);
            QFAIL("the demo was made");
        } catch (const Error &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        // Nothing was changed or removed.
        if (setup == u"marker-in-path") {
            QVERIFY(!QFileInfo::exists(dir));
        } else {
            QFile again(iniFile.fileName());
            QVERIFY(again.open(QIODevice::ReadOnly));
            QCOMPARE(again.readAll(), ini);
            QCOMPARE(QFileInfo(layout.databasePath).size(), databaseSize);
        }
    }

    void replaceMakesItAfresh()
    {
        QTemporaryDir tmp;
        NullProgress progress;
        const QString dir = tmp.filePath(QStringLiteral("inst"));
        const demo::DemoSummary first = demo::createDemo(dir, demo::DemoSize::Small, false, progress);
        QVERIFY(!first.replaced);
        // Something of the earlier demo that must not survive the replacement.
        writeFile(first.tabdefFolder + QStringLiteral("Vrs_plano_orven.xml"), "<DATAPACKET/>");
        {
            Db db(first.databasePath);
            QVERIFY(db.rows("UPDATE CADCLI SET CLNT3 = 'ALTERADO'").isEmpty());
        }
        const demo::DemoSummary second = demo::createDemo(dir, demo::DemoSize::Small, true, progress);
        QVERIFY(second.replaced);
        QCOMPARE(second.databasePath, first.databasePath);
        QCOMPARE(second.contents.rows, first.contents.rows);
        QVERIFY(!QFileInfo::exists(first.tabdefFolder + QStringLiteral("Vrs_plano_orven.xml")));
        Db db(second.databasePath);
        QCOMPARE(db.value("SELECT CLNT3 FROM CADCLI").toString(), QStringLiteral("ESTADO DO PARÁ"));
        // The summary's row counts are the database's.
        for (auto it = second.contents.rows.cbegin(); it != second.contents.rows.cend(); ++it)
            QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM ") + it.key()).toLongLong(), it.value());
        // zunt.ini points at the installation.
        QFile ini(second.iniPath);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.startsWith("[ZUNT]\r\nAno=2008\r\n"));
        QVERIFY2(text.contains("Caminho_Base_Dados=" + QDir::toNativeSeparators(second.baseFolder).toLocal8Bit() + "\r\n"), text.constData());
    }

    void databaseIsNotMadeOverAFile()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("ZUNT2008.FDB"));
        writeFile(path, "x");
        NullProgress progress;
        QVERIFY_THROWS_EXCEPTION(Error, demo::createDemoDatabase(path, demo::DemoSize::Small, progress));
        QCOMPARE(QFileInfo(path).size(), 1);
    }

    // Two demos of the same size hold the same rows.
    void deterministic()
    {
        QTemporaryDir tmp;
        NullProgress progress;
        const demo::DemoSummary other = demo::createDemo(tmp.filePath(QStringLiteral("b")), demo::DemoSize::Small, false, progress);
        Db b(other.databasePath);
        const QStringList fa = fingerprint(demoDb()), fb = fingerprint(b);
        QCOMPARE(fa.size(), fb.size());
        for (int i = 0; i < fa.size(); ++i)
            QCOMPARE(fb.at(i), fa.at(i));
    }

    void sizes()
    {
        demo::DemoSize s = demo::DemoSize::Small;
        QVERIFY(demo::parseSize(QStringLiteral("LARGE"), &s));
        QCOMPARE(s, demo::DemoSize::Large);
        QVERIFY(demo::parseSize(QStringLiteral("small"), &s));
        QCOMPARE(s, demo::DemoSize::Small);
        QVERIFY(!demo::parseSize(QStringLiteral("medium"), &s));
        QCOMPARE(demo::sizeName(demo::DemoSize::Large), QStringLiteral("large"));
    }
};

QTEST_GUILESS_MAIN(TestSchemaSmoke)
#include "tst_schema_smoke.moc"
