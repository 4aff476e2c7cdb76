// Revenue record classification on a database with the accounting schema:
// the automatic classification (keys, zeroed digits, the kind and transfer
// rules, extra-budgetary records, the entity filter, refusals and errors)
// judged by what the database holds afterwards; the grey/red state of the
// court cells; what F2 and F3 offer; and the two lookups' searches, quotes
// included.

#include "FirebirdFixture.h"
#include "RecordingMessages.h"

#include "classification/CourtChart.h"
#include "classification/EntityFilter.h"
#include "classification/Lookups.h"
#include "classification/RevenueAutoClassifier.h"
#include "classification/RevenueRules.h"
#include "common/Error.h"
#include "common/Progress.h"
#include "db/DataModule.h"
#include "db/RecordSet.h"
#include "db/Schema.h"

#include <QtTest>

#include <algorithm>
#include <memory>

using namespace orven;
using namespace orven::classification;
using orven::db::RecordSet;
using orven::test::FirebirdFixture;
using orven::test::RecordingMessages;

namespace {

// The court chart of the tests: (CODTIPO, TIPO) and (CODTIPO, NUM_CONTABIL, DESC_CONTABIL).
// Group 103 is of kind "D" on purpose: the rules of codes "7" and "8"
// accept it whatever its kind.
const QList<std::pair<const char *, const char *>> kTypes = {
    {"001", "R"}, {"101", "R"}, {"102", "R"}, {"103", "D"}, {"108", "R"}, {"109", "R"}, {"105", "V"},
    {"106", "V"}, {"009", "V"}, {"205", "V"}, {"206", "V"}, {"201", "D"}, {"01", "P"},
};

struct Account {
    const char *codtipo;
    const char *num;
    const char *desc;
};

const QList<Account> kAccounts = {
    {"101", "1.1.12.02.00", "IPTU"},
    {"101", "1.1.12.00.00", "Impostos sobre o Patrimônio"},
    {"101", "1.1.10", "Impostos (código curto)"},
    {"101", "1.7.21.33.00", "Transferências do FNDE"},
    {"101", "1.7.24.00.00", "Transferências de Convênios"},
    {"102", "2.1.11.02.00", "Operações internas"},
    {"102", "2.1.11.01.00", "Operações internas - excluída"},
    {"102", "2.1.14.02.00", "Operações 2114.02"},
    {"102", "2.1.14.06.00", "Operações 2114.06"},
    {"102", "2.1.19.00.00", "Operações 2119"},
    {"102", "2.1.21.02.00", "Operações 2121.02"},
    {"102", "2.1.21.01.00", "Operações 2121.01"},
    {"102", "2.1.23.01.00", "Operações 2123.01"},
    {"102", "2.1.23.07.00", "Operações 2123.07"},
    {"102", "2.1.29.00.00", "Operações 2129"},
    {"103", "7.9.99.00.00", "Intra-orçamentárias (grupo 103)"},
    {"108", "7.2.10.00.00", "Intra-orçamentárias correntes"},
    {"109", "8.1.00.00.00", "Intra-orçamentárias de capital"},
    {"001", "9.1.00.00.00", "Deduções"},
    {"105", "6.00", "FUNDEB com previsão"},
    {"105", "7.00", "FUNDEB sem previsão"},
    {"106", "1.10", "Saúde 1.10"},
    {"106", "1.20", "Saúde 1.20"},
    {"106", "1.30", "Saúde 1.30"},
    {"106", "2.00", "Saúde 2.00"},
    {"106", "3.00", "Saúde 3.00"},
    {"009", "1.10", "Cota-parte do Fundo d'Água"},
    {"009", "1.20", "Transferências 1.20"},
    {"009", "1.30", "Transferências 1.30"},
    {"009", "2.10", "Transferências 2.10"},
    {"009", "2.20", "Transferências 2.20"},
    {"009", "2.30", "Transferências 2.30"},
    {"009", "3.00", "Transferências 3.00"},
    {"205", "1.10", "Despesa educação"},
    {"206", "1.10", "Despesa saúde"},
    {"201", "3.1.90.11.00", "Vencimentos"},
    {"01", "1.00", "Restos"},
};

QString sqlText(const char *s) { return s ? QStringLiteral("'%1'").arg(QString::fromUtf8(s).replace("'", "''")) : "NULL"; }

QStringList chartRows()
{
    QStringList rows;
    for (const auto &[codtipo, tipo] : kTypes)
        rows << QStringLiteral("INSERT INTO ORVEN_TIPO (CODTIPO, DESC_TIPO, TIPO) VALUES ('%1', 'Grupo %1', '%2')")
                    .arg(QLatin1String(codtipo), QLatin1String(tipo));
    for (const Account &a : kAccounts)
        rows << QStringLiteral("INSERT INTO ORVEN_CONPLA (CODTIPO, NUM_CONTABIL, DESC_CONTABIL) VALUES (%1, %2, %3)")
                    .arg(sqlText(a.codtipo), sqlText(a.num), sqlText(a.desc));
    return rows;
}

CourtChart memoryChart()
{
    QHash<QString, QString> kindOf;
    for (const auto &[codtipo, tipo] : kTypes)
        kindOf.insert(QLatin1String(codtipo), QLatin1String(tipo));
    QList<ChartEntry> entries;
    for (const Account &a : kAccounts)
        entries.append({QLatin1String(a.codtipo), QString::fromUtf8(a.num), QString::fromUtf8(a.desc),
                        kindOf.value(QLatin1String(a.codtipo))});
    return CourtChart(entries);
}

// A revenue record of the tests and what the classification must leave in it.
struct Record {
    int ficha;
    const char *codre;
    const char *tipo;
    const char *extra;
    const char *totor; // SQL literal
    int empresa;
    const char *balco, *grupo, *cod;              // before
    const char *wantBalco, *wantGrupo, *wantCod;  // after a run over every entity
    const char *why;
};

const QList<Record> kRecords = {
    {1, "1112.02.00.00", "OR", "N", "100", 1, nullptr, "777", "7.77", "1.1.12.02.00", "777", "7.77",
     "key found as built; no rule for the kind: group and source kept"},
    {2, "1112.04.31.00", "OR", "N", "100", 1, nullptr, nullptr, nullptr, "1.1.12.00.00", nullptr, nullptr,
     "only the key with its last three digits zeroed is in the chart"},
    {3, "1113", "OR", "N", "100", 1, nullptr, nullptr, nullptr, "1.1.10", nullptr, nullptr,
     "four digits: key 1.1.13, searched within its own characters"},
    {4, "1112.02", "OR", "N", "100", 1, "OLD", nullptr, nullptr, "OLD", nullptr, nullptr,
     "six digits: key 1.1.12.02 is not padded to 1.1.12.02.00"},
    {5, "1112.02.00.00", "FU", "N", "0", 1, nullptr, nullptr, nullptr, "1.1.12.02.00", "105", "7.00", "FU, TOTOR 0"},
    {6, "1112.02.00.00", "FU", "N", "1500", 1, nullptr, nullptr, nullptr, "1.1.12.02.00", "105", "6.00",
     "FU, TOTOR 1500"},
    {7, "1112.02.00.00", "QE", "N", "NULL", 1, nullptr, nullptr, nullptr, "1.1.12.02.00", "105", "7.00",
     "QE, TOTOR empty counts as 0"},
    {8, "1721.33.00.00", "SD", "N", "10", 1, nullptr, nullptr, nullptr, "1.7.21.33.00", "106", "1.10",
     "SD listed 1721.33"},
    {9, "1724.01.00.00", "SD", "N", "10", 1, nullptr, nullptr, nullptr, "1.7.24.00.00", "106", "3.00",
     "SD not listed"},
    {10, "2114.02.00.00", "SD", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.14.02.00", "009", "1.20",
     "SD 2114.02 (2.00) replaced by the later 2114 transfer rule"},
    {11, "2111.02.00.00", "OR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.11.02.00", "009", "1.10", "2111"},
    {12, "2111.01.00.00", "OR", "N", "10", 1, nullptr, "777", "7.77", "2.1.11.01.00", "777", "7.77",
     "2111.01 excluded"},
    {13, "2111.02.00.00", "RD", "N", "10", 1, nullptr, "777", "7.77", "2.1.11.02.00", "777", "7.77",
     "kind RD takes no transfer rule"},
    {14, "2114.06.00.00", "OR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.14.06.00", "009", "1.20",
     "2114: its exclusion 2111.06 never applies"},
    {15, "2119.01.00.00", "OR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.19.00.00", "009", "1.30", "2119"},
    {16, "2121.02.00.00", "OR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.21.02.00", "009", "2.10", "2121"},
    {17, "2121.01.00.00", "OR", "N", "10", 1, nullptr, "777", "7.77", "2.1.21.01.00", "777", "7.77",
     "2121.01 excluded"},
    {18, "2123.01.00.00", "OR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.23.01.00", "009", "2.20", "2123"},
    {19, "2123.07.00.00", "OR", "N", "10", 1, nullptr, "777", "7.77", "2.1.23.07.00", "777", "7.77",
     "2123.07 excluded"},
    {20, "2129.05.00.00", "OR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.29.00.00", "009", "2.30", "2129"},
    {21, "2111.02.00.00", "AR", "N", "10", 1, nullptr, nullptr, nullptr, "2.1.11.02.00", "009", "3.00",
     "AR after the transfer rule"},
    {22, "1112.02.00.00", "AR", "N", "10", 1, nullptr, "105", "6.00", "1.1.12.02.00", "009", "3.00", "AR"},
    {23, "1112.02.00.00", "FU", "S", "10", 1, nullptr, "777", "7.77", nullptr, "777", "7.77",
     "extra-budgetary: untouched"},
    {24, "3999.99.00.00", "FU", "N", "10", 1, "OLD", "777", "7.77", "OLD", "777", "7.77",
     "no form of the key in the chart: untouched"},
    {30, "1112.02.00.00", "FU", "N", "10", 2, nullptr, nullptr, nullptr, "1.1.12.02.00", "105", "6.00",
     "entity 2"},
    {31, "2111.02.00.00", "OR", "N", "10", 2, nullptr, nullptr, nullptr, "2.1.11.02.00", "009", "1.10",
     "entity 2"},
};

QStringList recordRows()
{
    QStringList rows = {
        QStringLiteral("INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (1, 'PREFEITURA MUNICIPAL')"),
        QStringLiteral("INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (2, 'CÂMARA MUNICIPAL')"),
    };
    for (const Record &r : kRecords)
        rows << QStringLiteral("INSERT INTO RECDIS (FICHA, CODRE, LEGIS, VINGRUPO, VINCODIGO, TIPO, EXTRA, TOTOR, "
                               "EMPRESA, BALCO_TCE, GRUPO_TCE, COD_TCE) VALUES (%1, %2, 'Ficha %1', '001', '001', %3, "
                               "%4, %5, %6, %7, %8, %9)")
                    .arg(r.ficha)
                    .arg(sqlText(r.codre), sqlText(r.tipo), sqlText(r.extra), QLatin1String(r.totor))
                    .arg(r.empresa)
                    .arg(sqlText(r.balco), sqlText(r.grupo), sqlText(r.cod));
    return rows;
}

QStringList categoryRows()
{
    return {
        QStringLiteral("INSERT INTO TABCATEC VALUES ('3','1','90','11','00','Vencimentos e Vantagens Fixas','3.1.90.11.00', NULL)"),
        QStringLiteral("INSERT INTO TABCATEC VALUES ('3','3','90','30','00','Material de Consumo','3.3.90.30.00', NULL)"),
        QStringLiteral("INSERT INTO TABCATEC VALUES ('3','3','90','39','00','Outros Serviços - Pessoa Jurídica','3.3.90.39.00', NULL)"),
        QStringLiteral("INSERT INTO TABCATEC VALUES ('4','4','90','51','00','Obras d''Água e Instalações','4.4.90.51.00', NULL)"),
    };
}

// Progress double: what the run reported.
class RecordingProgress final : public Progress {
public:
    void setMaximum(qint64 maximum, int level) override
    {
        if (level == 0)
            max = maximum;
    }
    void setPosition(qint64 position, int level) override
    {
        if (level == 0)
            pos = position;
    }
    void advance(qint64 steps, int level) override
    {
        if (level == 0)
            pos += steps;
    }
    qint64 max = -1;
    qint64 pos = -1;
};

QString orNull(const QVariant &v) { return v.isNull() ? QStringLiteral("<null>") : v.toString(); }
QString orNull(const char *s) { return s ? QString::fromUtf8(s) : QStringLiteral("<null>"); }

} // namespace

class TestRevenueClassification : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FirebirdFixture> m_base;

    std::unique_ptr<FirebirdFixture> copy() const
    {
        auto db = FirebirdFixture::copyOf(*m_base);
        if (!db->isValid())
            qFatal("%s", qPrintable(db->error()));
        return db;
    }

    // BALCO_TCE | GRUPO_TCE | COD_TCE of a record as the database holds it.
    static QString stored(db::Conexao &c, int ficha)
    {
        const db::ResultSet rs =
            c.select(QStringLiteral("SELECT BALCO_TCE, GRUPO_TCE, COD_TCE FROM RECDIS WHERE FICHA = ?"), {ficha});
        if (rs.rows.isEmpty())
            return QStringLiteral("<no record>");
        const db::Row &r = rs.rows.first();
        return orNull(r.value(0)) + u'|' + orNull(r.value(1)) + u'|' + orNull(r.value(2));
    }
    static QString initial(const Record &r) { return orNull(r.balco) + u'|' + orNull(r.grupo) + u'|' + orNull(r.cod); }
    static QString wanted(const Record &r)
    {
        return orNull(r.wantBalco) + u'|' + orNull(r.wantGrupo) + u'|' + orNull(r.wantCod);
    }

    // The database after one run over every entity (made once).
    std::unique_ptr<FirebirdFixture> m_classified;
    ClassificationResult m_result;
    QList<RecordingMessages::Entry> m_messages;
    qint64 m_progressMax = -1, m_progressPos = -1;

private slots:
    void initTestCase()
    {
        m_base = std::make_unique<FirebirdFixture>(db::schemaStatements() + chartRows() + recordRows() + categoryRows());
        QVERIFY2(m_base->isValid(), qPrintable(m_base->error()));

        m_classified = copy();
        RecordingMessages messages;
        RecordingProgress progress;
        db::TDM dm(m_classified->path());
        dm.CdsRecdis->open();
        dm.CdsRecdis->next(); // the run starts from the first record wherever the cursor is
        RevenueAutoClassifier classifier(*dm.Conexao, *dm.CdsRecdis, *dm.CdsAux, progress, messages);
        m_result = classifier.run();
        m_messages = messages.entries;
        m_progressMax = progress.max;
        m_progressPos = progress.pos;
        QVERIFY(!dm.Conexao->inTransaction());
        QCOMPARE(dm.CdsRecdis->changeCount(), 0);
        QCOMPARE(dm.CdsRecdis->recNo(), 1);
        QVERIFY(!dm.CdsRecdis->controlsDisabled());
    }

    // ---- automatic classification -------------------------------------------------------

    void classifiesWhatTheDatabaseHolds_data()
    {
        QTest::addColumn<int>("ficha");
        QTest::addColumn<QString>("want");
        for (const Record &r : kRecords)
            QTest::addRow("%d %s", r.ficha, r.why) << r.ficha << wanted(r);
    }
    void classifiesWhatTheDatabaseHolds()
    {
        QFETCH(int, ficha);
        QFETCH(QString, want);
        db::Conexao c;
        c.setDatabasePath(m_classified->path());
        QCOMPARE(stored(c, ficha), want);
    }

    void reportsSuccessAndCounts()
    {
        QVERIFY2(m_result.succeeded(), qPrintable(m_result.error));
        QCOMPARE(m_result.records, int(kRecords.size()));
        QCOMPARE(m_result.refused, 0);
        // Records given a court account: budgetary ones whose key was found.
        const int found = int(std::count_if(kRecords.begin(), kRecords.end(), [](const Record &r) {
            return r.wantBalco && (!r.balco || qstrcmp(r.balco, r.wantBalco) != 0);
        }));
        QCOMPARE(m_result.classified, found);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Classificação efetuada com Sucesso!!!"));
        QCOMPARE(m_messages.first().caption, QStringLiteral("Atenção"));
        QCOMPARE(m_messages.first().icon, MessageService::Icon::Information);
        QCOMPARE(m_progressMax, qint64(kRecords.size()));
        QCOMPARE(m_progressPos, qint64(kRecords.size()));
    }

    void classifiesOnlyTheSelectedEntity()
    {
        auto fx = copy();
        RecordingMessages messages;
        NullProgress progress;
        {
            db::TDM dm(fx->path());
            dm.CdsRecdis->open();
            setEntityFilter(*dm.CdsRecdis, 2);
            QCOMPARE(dm.CdsRecdis->filter(), QStringLiteral("EMPRESA = '2'"));
            // A transaction left open by someone else is used and ended.
            dm.Conexao->startTransaction();
            RevenueAutoClassifier classifier(*dm.Conexao, *dm.CdsRecdis, *dm.CdsAux, progress, messages);
            const ClassificationResult result = classifier.run();
            QVERIFY(result.succeeded());
            QCOMPARE(result.records, 2);
            QCOMPARE(result.classified, 2);
            QVERIFY(!dm.Conexao->inTransaction());
        }
        db::Conexao c;
        c.setDatabasePath(fx->path());
        for (const Record &r : kRecords)
            QCOMPARE(stored(c, r.ficha), r.empresa == 2 ? wanted(r) : initial(r));
    }

    // A record changed by another workstation after the set was read is
    // refused: the whole run is rolled back and the set shows the database.
    void refusedRecordRollsEverythingBack()
    {
        auto fx = copy();
        RecordingMessages messages;
        NullProgress progress;
        db::Conexao other;
        other.setDatabasePath(fx->path());
        {
            db::TDM dm(fx->path());
            dm.CdsRecdis->open();
            other.execute(QStringLiteral("UPDATE RECDIS SET LEGIS = 'alterada' WHERE FICHA = 11"));
            RevenueAutoClassifier classifier(*dm.Conexao, *dm.CdsRecdis, *dm.CdsAux, progress, messages);
            const ClassificationResult result = classifier.run();
            QVERIFY(!result.succeeded());
            QCOMPARE(result.refused, 1);
            QVERIFY(!dm.Conexao->inTransaction());
            QCOMPARE(dm.CdsRecdis->changeCount(), 0);
            QVERIFY(dm.CdsRecdis->locate(QStringLiteral("FICHA"), 1));
            QVERIFY(dm.CdsRecdis->isNull(QStringLiteral("BALCO_TCE")));
            QCOMPARE(messages.entries.size(), 1);
            QCOMPARE(messages.entries.first().text, QStringLiteral("Erro ao Efetuar a Classificação!!!"));
            QCOMPARE(messages.entries.first().caption, QStringLiteral("Erro"));
            QCOMPARE(messages.entries.first().icon, MessageService::Icon::Error);
        }
        for (const Record &r : kRecords)
            QCOMPARE(stored(other, r.ficha), initial(r));
    }

    // A record that cannot be posted stops the run: nothing is saved, the
    // reason is told with the failure, the transaction is ended.
    void failedPostSavesNothing()
    {
        auto fx = copy();
        db::Conexao other;
        other.setDatabasePath(fx->path());
        other.execute(QStringLiteral("UPDATE RECDIS SET LEGIS = NULL WHERE FICHA = 20"));
        RecordingMessages messages;
        NullProgress progress;
        {
            db::TDM dm(fx->path());
            QList<db::FieldDecl> decls = db::TDM::declaredFields(QStringLiteral("CdsRecdis"));
            for (db::FieldDecl &d : decls)
                d.required = d.required || d.name == u"LEGIS";
            dm.CdsRecdis->setFieldDecls(decls);
            dm.CdsRecdis->open();
            RevenueAutoClassifier classifier(*dm.Conexao, *dm.CdsRecdis, *dm.CdsAux, progress, messages);
            const ClassificationResult result = classifier.run();
            QVERIFY(!result.succeeded());
            QCOMPARE(result.refused, 0);
            QVERIFY2(result.error.contains(QLatin1String("LEGIS")), qPrintable(result.error));
            QVERIFY(!dm.Conexao->inTransaction());
            QCOMPARE(dm.CdsRecdis->changeCount(), 0);
            QCOMPARE(dm.CdsRecdis->state(), RecordSet::State::Browse);
            QVERIFY(!messages.entries.isEmpty());
            QVERIFY(messages.entries.last().text.startsWith(QStringLiteral("Erro ao Efetuar a Classificação!!!")));
            QCOMPARE(messages.entries.last().caption, QStringLiteral("Erro"));
        }
        for (const Record &r : kRecords)
            QCOMPARE(stored(other, r.ficha), initial(r));
    }

    void searchKeyAndSearch_data()
    {
        QTest::addColumn<QString>("codre");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("found");
        QTest::newRow("ten digits") << "1112.02.00.00" << "1.1.12.02.00" << "1.1.12.02.00";
        QTest::newRow("digits after the eighth ignored") << "1112.02.00.99" << "1.1.12.02.00" << "1.1.12.02.00";
        QTest::newRow("three zeroed") << "1112.04.31" << "1.1.12.04.31" << "1.1.12.00.00";
        QTest::newRow("seven digits") << "1112.029" << "1.1.12.02.9" << "";
        QTest::newRow("four digits") << "1113" << "1.1.13" << "1.1.10";
        QTest::newRow("one digit") << "9" << "9" << "";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("only its first digit is never zeroed") << "5000.00.00.00" << "5.0.00.00.00" << "";
    }
    void searchKeyAndSearch()
    {
        QFETCH(QString, codre);
        QFETCH(QString, key);
        QFETCH(QString, found);
        QCOMPARE(RevenueAutoClassifier::searchKey(codre), key);
        CourtChart chart = memoryChart();
        QList<ChartEntry> entries = chart.entries();
        entries.append({QStringLiteral("101"), QStringLiteral("0.0.00.00.00"), {}, QStringLiteral("R")});
        QCOMPARE(RevenueAutoClassifier::findAccount(key, CourtChart(entries)), found);
    }

    // ---- cell states ----------------------------------------------------------------------

    void cellStates_data()
    {
        QTest::addColumn<QString>("codre");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QVariant>("balco");
        QTest::addColumn<QVariant>("grupo");
        QTest::addColumn<QVariant>("cod");
        QTest::addColumn<QString>("states"); // account, group, source: N normal, G grey, R red
        const QVariant null;
        auto t = [](const char *s) { return QVariant(QString::fromUtf8(s)); };
        QTest::newRow("all empty") << "1112.02.00.00" << "OR" << "N" << null << null << null << "GGG";
        QTest::newRow("blanks are empty") << "1112.02.00.00" << "OR" << "N" << t("  ") << t(" ") << t("   ") << "GGG";
        QTest::newRow("1: group 101") << "1112.02.00.00" << "OR" << "N" << t("1.1.12.02.00") << null << null << "NGG";
        QTest::newRow("1: group 108 is wrong") << "1112.02.00.00" << "OR" << "N" << t("7.2.10.00.00") << null << null
                                               << "RGG";
        QTest::newRow("exact: trailing blank") << "1112.02.00.00" << "OR" << "N" << t("1.1.12.02.00 ") << null << null
                                               << "RGG";
        QTest::newRow("2: group 102") << "2111.02.00.00" << "OR" << "N" << t("2.1.11.02.00") << null << null << "NGG";
        QTest::newRow("7: group 108") << "7210.00.00.00" << "OR" << "N" << t("7.2.10.00.00") << null << null << "NGG";
        QTest::newRow("7: group 103 of any kind") << "7210.00.00.00" << "OR" << "N" << t("7.9.99.00.00") << null << null
                                                  << "NGG";
        QTest::newRow("7: group 101 is wrong") << "7210.00.00.00" << "OR" << "N" << t("1.1.12.02.00") << null << null
                                               << "RGG";
        QTest::newRow("8: group 109") << "8100.00.00.00" << "OR" << "N" << t("8.1.00.00.00") << null << null << "NGG";
        QTest::newRow("8: group 103") << "8100.00.00.00" << "OR" << "N" << t("7.9.99.00.00") << null << null << "NGG";
        QTest::newRow("8: group 108 is wrong") << "8100.00.00.00" << "OR" << "N" << t("7.2.10.00.00") << null << null
                                               << "RGG";
        QTest::newRow("9 N: group 001") << "9110.00.00.00" << "OR" << "N" << t("9.1.00.00.00") << null << null << "NGG";
        QTest::newRow("9 N: group 101 is wrong") << "9110.00.00.00" << "OR" << "N" << t("1.1.12.02.00") << null << null
                                                 << "RGG";
        QTest::newRow("9 S: any account is wrong") << "9110.00.00.00" << "OR" << "S" << t("9.1.00.00.00") << null
                                                   << null << "RGG";
        QTest::newRow("9 S: empty is grey") << "9110.00.00.00" << "OR" << "S" << null << null << null << "GGG";
        QTest::newRow("other: any R account") << "3999.00.00.00" << "OR" << "N" << t("1.1.12.02.00") << null << null
                                              << "NGG";
        QTest::newRow("other: a D account is wrong") << "3999.00.00.00" << "OR" << "N" << t("3.1.90.11.00") << null
                                                     << null << "RGG";
        QTest::newRow("SD: pair of 106") << "1721.33.00.00" << "SD" << "N" << null << t("106") << t("1.10") << "GNN";
        QTest::newRow("SD: pair of 105 is wrong") << "1721.33.00.00" << "SD" << "N" << null << t("105") << t("6.00")
                                                  << "GRR";
        QTest::newRow("FU: pair of 105") << "1112.02.00.00" << "FU" << "N" << null << t("105") << t("7.00") << "GNN";
        QTest::newRow("ED: pair of 106 is wrong") << "1112.02.00.00" << "ED" << "N" << null << t("106") << t("1.10")
                                                  << "GRR";
        QTest::newRow("any V pair, 205 included") << "1112.02.00.00" << "OR" << "N" << null << t("205") << t("1.10")
                                                  << "GNN";
        QTest::newRow("a P pair is wrong") << "1112.02.00.00" << "OR" << "N" << null << t("01") << t("1.00") << "GRR";
        QTest::newRow("pair not in the chart") << "1112.02.00.00" << "OR" << "N" << null << t("105") << t("1.10")
                                               << "GRR";
        QTest::newRow("211: group 009 wins over SD") << "2111.02.00.00" << "SD" << "N" << null << t("106") << t("1.10")
                                                     << "GRR";
        QTest::newRow("212: group 009") << "2121.02.00.00" << "FU" << "N" << null << t("009") << t("2.10") << "GNN";
        QTest::newRow("group without source") << "1112.02.00.00" << "FU" << "N" << null << t("105") << null << "GRG";
        QTest::newRow("source without group") << "1112.02.00.00" << "FU" << "N" << null << null << t("6.00") << "GGR";
    }
    void cellStates()
    {
        QFETCH(QString, codre);
        QFETCH(QString, tipo);
        QFETCH(QString, extra);
        QFETCH(QVariant, balco);
        QFETCH(QVariant, grupo);
        QFETCH(QVariant, cod);
        QFETCH(QString, states);

        // A record set laid out like the revenue grid's, one record.
        RecordSet rs(QStringLiteral("CdsRecdis"));
        QList<db::ColumnInfo> cols;
        for (const char *name : {"FICHA", "CODRE", "TIPO", "EXTRA", "EMPRESA", "BALCO_TCE", "GRUPO_TCE", "COD_TCE"}) {
            db::ColumnInfo c;
            c.name = c.sourceName = QLatin1String(name);
            c.relation = QStringLiteral("RECDIS");
            c.type = (qstrcmp(name, "FICHA") == 0 || qstrcmp(name, "EMPRESA") == 0) ? db::FieldType::Integer
                                                                                      : db::FieldType::String;
            cols << c;
        }
        rs.openRows(cols, {{1, codre, tipo, extra, 1, balco, grupo, cod}});

        const RevenueRules rules(memoryChart());
        const QList<CheckedColumn> checked = rules.checkedColumns();
        QCOMPARE(checked.size(), 3);
        QString got;
        for (const CheckedColumn &c : checked) {
            const CellState s = rules.cellState(rs, 0, rs.fieldIndex(c.field));
            got += s == CellState::Normal ? u'N' : s == CellState::Missing ? u'G' : u'R';
        }
        QCOMPARE(got, states);
        // Columns that are not checked are painted as rows are.
        QCOMPARE(rules.cellState(rs, 0, rs.fieldIndex(QStringLiteral("CODRE"))), CellState::Normal);
    }

    void checkedColumnsCarryTheGridsCaptions()
    {
        const QList<CheckedColumn> c = RevenueRules().checkedColumns();
        QCOMPARE(c.at(0).field + u'=' + c.at(0).caption, QStringLiteral("BALCO_TCE=Plano TCE (F2)"));
        QCOMPARE(c.at(1).field + u'=' + c.at(1).caption, QStringLiteral("GRUPO_TCE=Grupo TCE (F3)"));
        QCOMPARE(c.at(2).field + u'=' + c.at(2).caption, QStringLiteral("COD_TCE=Fonte TCE (F3)"));
    }

    // ---- lookups F2 / F3 --------------------------------------------------------------------

    void lookupsOffer_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("codre");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("groups"); // groups offered; "-" no dialog
        const QString all = QStringLiteral("001 009 01 101 102 103 105 106 108 109 201 205 206");
        QTest::newRow("F2 1") << "F2" << "1112.02.00.00" << "OR" << "N" << "101";
        QTest::newRow("F2 2") << "F2" << "2111.02.00.00" << "OR" << "N" << "102";
        QTest::newRow("F2 7") << "F2" << "7210.00.00.00" << "OR" << "N" << "103 108";
        QTest::newRow("F2 8") << "F2" << "8100.00.00.00" << "OR" << "N" << "103 109";
        QTest::newRow("F2 9 N") << "F2" << "9110.00.00.00" << "OR" << "N" << "001";
        QTest::newRow("F2 9 S: no dialog") << "F2" << "9110.00.00.00" << "OR" << "S" << "-";
        QTest::newRow("F2 extra S: no dialog") << "F2" << "1112.02.00.00" << "OR" << "S" << "-";
        QTest::newRow("F2 other: whole chart") << "F2" << "3999.00.00.00" << "OR" << "N" << all;
        QTest::newRow("F3: source groups but 205, 206") << "F3" << "1112.02.00.00" << "OR" << "N" << "009 105 106";
        QTest::newRow("F3 SD") << "F3" << "1721.33.00.00" << "SD" << "N" << "106";
        QTest::newRow("F3 EI") << "F3" << "1721.33.00.00" << "EI" << "N" << "105";
        QTest::newRow("F3 211 wins") << "F3" << "2111.02.00.00" << "SD" << "N" << "009";
        QTest::newRow("F3 212") << "F3" << "2121.02.00.00" << "OR" << "N" << "009";
        QTest::newRow("F3 extra S still offered") << "F3" << "1112.02.00.00" << "QE" << "S" << "105";
    }
    void lookupsOffer()
    {
        QFETCH(QString, key);
        QFETCH(QString, codre);
        QFETCH(QString, tipo);
        QFETCH(QString, extra);
        QFETCH(QString, groups);

        RecordSet rs(QStringLiteral("CdsRecdis"));
        QList<db::ColumnInfo> cols;
        for (const char *name : {"CODRE", "TIPO", "EXTRA"}) {
            db::ColumnInfo c;
            c.name = c.sourceName = QLatin1String(name);
            c.type = db::FieldType::String;
            cols << c;
        }
        rs.openRows(cols, {{codre, tipo, extra}});

        const CourtChart chart = memoryChart();
        const RevenueRules rules(chart);
        const LookupRule rule = rules.lookup(key == u"F2" ? LookupKey::F2 : LookupKey::F3, rs, 0);
        QString offered = QStringLiteral("-");
        if (rule.dialog == LookupRule::Dialog::Chart) {
            const db::Filter f = chart.filter(rule.filter);
            QStringList g;
            for (const ChartEntry &e : chart.entries()) {
                if (f.matches({e.codTipo, e.numContabil, e.descContabil, e.tipo}) && !g.contains(e.codTipo))
                    g << e.codTipo;
            }
            g.sort();
            offered = g.join(u' ');
        }
        QCOMPARE(offered, groups);
        if (key == u"F2")
            QCOMPARE(rule.assignments, (QList<std::pair<QString, QString>>{{"BALCO_TCE", "NUM_CONTABIL"}}));
        else
            QCOMPARE(rule.assignments,
                     (QList<std::pair<QString, QString>>{{"GRUPO_TCE", "CODTIPO"}, {"COD_TCE", "NUM_CONTABIL"}}));
    }

    // ---- the chart index ------------------------------------------------------------------

    void chartLoadedFromTheDatabaseMatchesTheTables()
    {
        auto fx = copy();
        db::Conexao c;
        c.setDatabasePath(fx->path());
        const CourtChart chart = CourtChart::load(c);
        QCOMPARE(chart.size(), int(kAccounts.size()));
        // The kind comes from the group; the filter reads it.
        QVERIFY(chart.hasAccount(QStringLiteral("7.9.99.00.00"), chart.filter(QStringLiteral("TIPO = 'D'"))));
        QVERIFY(!chart.hasAccount(QStringLiteral("7.9.99.00.00"), chart.filter(QStringLiteral("TIPO = 'R'"))));
        // One code in several groups: each pair on its own.
        QVERIFY(chart.hasPair(QStringLiteral("205"), QStringLiteral("1.10")));
        QVERIFY(chart.hasPair(QStringLiteral("009"), QStringLiteral("1.10"), chart.filter(QStringLiteral("TIPO = 'V'"))));
        QVERIFY(!chart.hasPair(QStringLiteral("105"), QStringLiteral("1.10")));
        QCOMPARE(chart.indexOfAccount(QStringLiteral("1.10"), chart.filter(QStringLiteral("CODTIPO = 205"))),
                 chart.indexOfPair(QStringLiteral("205"), QStringLiteral("1.10")));
        QVERIFY_THROWS_EXCEPTION(Error, chart.filter(QStringLiteral("TIPO = ")));
    }

    // ---- lookup searches --------------------------------------------------------------------

    void chartSearches_data()
    {
        QTest::addColumn<int>("by");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rows"); // CODTIPO/NUM_CONTABIL of the rows, within the caller's filter TIPO = 'V'
        const int group = int(ChartSearch::Group), code = int(ChartSearch::Code), desc = int(ChartSearch::Description);
        QTest::newRow("blanks: the whole filtered chart")
            << group << "   "
            << "009/1.10 009/1.20 009/1.30 009/2.10 009/2.20 009/2.30 009/3.00 105/6.00 105/7.00 106/1.10 106/1.20 "
               "106/1.30 106/2.00 106/3.00 205/1.10 206/1.10";
        QTest::newRow("group") << group << "105" << "105/6.00 105/7.00";
        QTest::newRow("group outside the filter") << group << "101" << "";
        QTest::newRow("code begins with") << code << "1.1" << "009/1.10 106/1.10 205/1.10 206/1.10";
        QTest::newRow("blanks take part") << code << "1.10 " << "";
        QTest::newRow("description contains") << desc << "Saúde 1" << "106/1.10 106/1.20 106/1.30";
        QTest::newRow("case is kept") << desc << "SAÚDE" << "";
        QTest::newRow("a quote is text") << desc << "d'Água" << "009/1.10";
        QTest::newRow("a quote cannot add conditions") << group << "x' OR A.CODTIPO <> 'x" << "";
        QTest::newRow("nor close the literal") << desc << "%' OR '1' = '1" << "";
        QTest::newRow("a lone quote") << code << "'" << "";
    }
    void chartSearches()
    {
        QFETCH(int, by);
        QFETCH(QString, text);
        QFETCH(QString, rows);
        auto fx = copy();
        db::Conexao c;
        c.setDatabasePath(fx->path());
        RecordSet plano(QStringLiteral("CdsPlano"));
        setUpChartLookupSet(plano, &c);
        plano.setFiltered(true);
        plano.setFilter(QStringLiteral("TIPO = 'V'"));
        plano.open();
        searchChart(plano, ChartSearch(by), text);
        QStringList got;
        for (int i = 0; i < plano.recordCount(); ++i)
            got << plano.displayText(i, plano.fieldIndex(QStringLiteral("CODTIPO"))) + u'/' +
                       plano.displayText(i, plano.fieldIndex(QStringLiteral("NUM_CONTABIL")));
        QCOMPARE(got.join(u' '), rows);
        QVERIFY(plano.isFiltered());
        QCOMPARE(plano.filter(), QStringLiteral("TIPO = 'V'"));
        QVERIFY(plano.fieldIndex(QStringLiteral("DESC_TIPO")) >= 0);
    }

    void chartSearchQueryText()
    {
        QCOMPARE(chartSearchQuery(ChartSearch::Group, QStringLiteral("101")),
                 QStringLiteral("SELECT A.*,B.DESC_TIPO, B.TIPO FROM ORVEN_CONPLA A INNER JOIN ORVEN_TIPO B ON "
                                "B.CODTIPO = A.CODTIPO  WHERE A.CODTIPO = '101' ORDER BY A.CODTIPO, A.NUM_CONTABIL ASC"));
        QCOMPARE(chartSearchQuery(ChartSearch::Code, QStringLiteral("  ")),
                 QStringLiteral("SELECT A.*,B.DESC_TIPO, B.TIPO FROM ORVEN_CONPLA A INNER JOIN ORVEN_TIPO B ON "
                                "B.CODTIPO = A.CODTIPO  ORDER BY A.CODTIPO, A.NUM_CONTABIL ASC"));
    }

    void categorySearches_data()
    {
        QTest::addColumn<int>("by");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rows");
        const int cat = int(CategorySearch::Category), desc = int(CategorySearch::Description);
        QTest::newRow("empty: every category") << cat << "" << "3.1.90.11.00 3.3.90.30.00 3.3.90.39.00 4.4.90.51.00";
        QTest::newRow("begins with") << cat << "3.3" << "3.3.90.30.00 3.3.90.39.00";
        QTest::newRow("blanks around are ignored") << cat << "  3.3  " << "3.3.90.30.00 3.3.90.39.00";
        QTest::newRow("description contains") << desc << "Pessoa" << "3.3.90.39.00";
        QTest::newRow("a quote is text") << desc << "d'Água" << "4.4.90.51.00";
        QTest::newRow("a quote cannot add conditions") << desc << "x' OR ''='" << "";
    }
    void categorySearches()
    {
        QFETCH(int, by);
        QFETCH(QString, text);
        QFETCH(QString, rows);
        auto fx = copy();
        db::Conexao c;
        c.setDatabasePath(fx->path());
        RecordSet catec(QStringLiteral("CdsCatec"));
        setUpCategoryLookupSet(catec, &c);
        catec.open();
        QCOMPARE(catec.recordCount(), 4);
        searchCategories(catec, CategorySearch(by), text);
        QStringList got;
        for (int i = 0; i < catec.recordCount(); ++i)
            got << catec.displayText(i, catec.fieldIndex(QStringLiteral("CATEC")));
        QCOMPARE(got.join(u' '), rows);
    }

    // ---- entity selector ----------------------------------------------------------------------

    void entityItems()
    {
        QCOMPARE(entityItem(2, QStringLiteral("CÂMARA")), QStringLiteral("0002 - CÂMARA"));
        QCOMPARE(entityItem(12345, QStringLiteral("X")), QStringLiteral("12345 - X"));
        QCOMPARE(entityOfItem(QStringLiteral("0002 - CÂMARA")), 2);
        QCOMPARE(entityOfItem(kConsolidatedItem), 0);
        QCOMPARE(entityFilterText(2), QStringLiteral("EMPRESA = '2'"));
        QCOMPARE(entityFilterText(0), QString());
    }
};

QTEST_GUILESS_MAIN(TestRevenueClassification)
#include "tst_revenue_classification.moc"
