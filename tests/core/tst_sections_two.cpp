// The contracted-debt, amortised-debt, outstanding-commitment, cash,
// guarantee and credit-operation sections on a small accounting database
// whose amounts are computed by hand below, and the exact texts of their
// queries.

#include "SectionTestSupport.h"
#include "capture/CaptureDocument.h"
#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "common/Progress.h"
#include "config/Installation.h"
#include "db/Firebird.h"
#include "db/Schema.h"
#include "generation/Generator.h"
#include "generation/Section.h"
#include "generation/sections/SectionQueriesTwo.h"
#include "guarantees/GuaranteesFile.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::generation;

namespace {

const QString kConnection = QStringLiteral("tst_sections_two");

// Forwards to the database and keeps the text of every query, whichever way
// it is asked.
class RecordingSource final : public AmountSource {
public:
    explicit RecordingSource(AmountSource &inner) : m_inner(inner) {}
    QList<double> amounts(const AmountRequest &r) override
    {
        sql << r.sql;
        return m_inner.amounts(r);
    }
    QList<QVariantList> rows(const QString &text) override
    {
        sql << text;
        return m_inner.rows(text);
    }
    qint64 queryCount() const override { return sql.size(); }
    QStringList sql;

private:
    AmountSource &m_inner;
};

QString lit(const char *t) { return t ? QStringLiteral("'%1'").arg(QLatin1String(t)) : QStringLiteral("NULL"); }

// The fixture: exercise year 2008, entities 1, 7 and 12. Most cases run the
// third bimester (May and June). Amounts by hand are in the comments.
QStringList fixtureRows()
{
    QStringList s;
    s << "INSERT INTO CADCLI (CGC, CLNT1, MEXER) VALUES ('00.000.000/0001-00', 'PREFEITURA', '2008')"
      << "INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (1, 'PREFEITURA')"
      << "INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (7, 'CAMARA')"
      << "INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (12, 'INSTITUTO')";

    // The suite's chart: debt accounts and cash accounts ("3110" has a "0" as
    // fourth character and is never selected by the cash queries).
    for (const char *balco : {"341101", "342401", "342101", "342102", "342103", "342199", "342201", "311100",
                              "31110001", "31110002", "311200", "31120001", "311300", "31130001", "312100",
                              "31210001", "312200", "31220001", "311400", "31140001", "311500", "31150001", "310000"})
        s << QStringLiteral("INSERT INTO CONPLA (BALCO, NOME) VALUES ('%1', 'Conta %1')").arg(QLatin1String(balco));

    // --- Contracted debt: ledger lines (credit, debit).
    int pkdia = 0;
    auto condia = [&](const char *when, const char *balco, double credi, double debit, int empresa) {
        s << QStringLiteral("INSERT INTO CONDIA (PKDIA, DATAE, BALCO, CREDI, DEBIT, EMPRESA) VALUES "
                            "(%1, '%2', '%3', %4, %5, %6)")
                 .arg(++pkdia)
                 .arg(QLatin1String(when), QLatin1String(balco))
                 .arg(credi, 0, 'f', 2)
                 .arg(debit, 0, 'f', 2)
                 .arg(empresa);
    };
    // 1.200 (3411%): May 1000, June 500 - 200 => 1300; April 777 (bimester 2); 2007 not counted.
    condia("10.05.2008", "341101", 1000, 0, 1);
    condia("30.06.2008 14:00", "341101", 500, 200, 1);
    condia("15.05.2007", "341101", 999, 0, 1);
    condia("30.04.2008", "341101", 777, 0, 1);
    // 1.300 (3424%): 300, entity 7.
    condia("01.06.2008", "342401", 300, 0, 7);
    // 1.502 = 50, 1.504 = 60; 1.503 = 70 + (80 - 5) = 145 (entity 7: 75).
    condia("12.05.2008", "342101", 50, 0, 1);
    condia("12.05.2008", "342102", 60, 0, 1);
    condia("12.05.2008", "342103", 70, 0, 1);
    condia("20.06.2008", "342199", 80, 5, 7);
    // 1.700 (3422%): 400 (entity 1) + 100 (entity 7).
    condia("05.05.2008", "342201", 400, 0, 1);
    condia("05.05.2008", "342201", 100, 0, 7);

    // --- Expense records, commitments, liquidations, payments.
    auto desdis = [&s](int ficha, const char *balco, const char *grupo, const char *cod, int empresa, double dotac) {
        s << QStringLiteral("INSERT INTO DESDIS (FICHA, PODER, ORGAO, UNIDADE, VINGRUPO, VINCODIGO, EXTRA, BALCO, "
                            "GRUPO_TCE, COD_TCE, EMPRESA, DOTAC) VALUES (%1, '01', '001', '01', '001', '001', 'N', "
                            "%2, %3, %4, %5, %6)")
                 .arg(ficha)
                 .arg(lit(balco), lit(grupo), lit(cod))
                 .arg(empresa)
                 .arg(dotac, 0, 'f', 2);
    };
    auto despes = [&s](int pkemp, int ficha, const char *when, double v, const char *dtliq = nullptr,
                       const char *grupo = nullptr, const char *cod = nullptr, int pkempa = 0) {
        s << QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, PKEMPA, DATAE, FICHA, VADEM, DTLIQ, GRUPO_TCE, "
                            "COD_TCE, CODIF, VINGRUPO, VINCODIGO) VALUES (%1, %1, '%2', %3, '%4', %5, %6, %7, %8, "
                            "%9, 1, '001', '001')")
                 .arg(pkemp)
                 .arg(pkempa ? QStringLiteral("AN") : QStringLiteral("OR"),
                      pkempa ? QString::number(pkempa) : QStringLiteral("NULL"), QLatin1String(when))
                 .arg(ficha)
                 .arg(v, 0, 'f', 2)
                 .arg(lit(dtliq), lit(grupo), lit(cod));
    };
    int pkliq = 0, pkpag = 0, pksub = 0;
    auto liquida = [&](int pkemp, int numsub, const char *when, double v) {
        s << QStringLiteral("INSERT INTO LIQUIDA (PKLIQ, PKEMP, NUMSUB, DATAL, VALIQ) VALUES (%1, %2, %3, '%4', %5)")
                 .arg(++pkliq)
                 .arg(pkemp)
                 .arg(numsub)
                 .arg(QLatin1String(when))
                 .arg(v, 0, 'f', 2);
    };
    auto pagamento = [&](int pkemp, const char *numsub, const char *when, double v) {
        s << QStringLiteral("INSERT INTO PAGAMENTO (PKPAG, PKEMP, NUMSUB, DTPAG, VAPAG) VALUES (%1, %2, %3, '%4', %5)")
                 .arg(++pkpag)
                 .arg(pkemp)
                 .arg(QLatin1String(numsub), QLatin1String(when))
                 .arg(v, 0, 'f', 2);
    };
    auto dessub = [&](int pkemp, int numsub, const char *when, double v) {
        s << QStringLiteral("INSERT INTO DESSUB (PKSUB, PKEMP, NUMSUB, DATAE, VADEM) VALUES (%1, %2, %3, '%4', %5)")
                 .arg(++pksub)
                 .arg(pkemp)
                 .arg(numsub)
                 .arg(QLatin1String(when))
                 .arg(v, 0, 'f', 2);
    };
    auto recdis = [&s](int ficha, const char *balcoTce, const char *grupo, const char *cod, int empresa, double totor) {
        s << QStringLiteral("INSERT INTO RECDIS (FICHA, CODRE, VINGRUPO, VINCODIGO, EXTRA, BALCO_TCE, GRUPO_TCE, "
                            "COD_TCE, EMPRESA, TOTOR) VALUES (%1, 'R%1', '001', '001', 'N', %2, %3, %4, %5, %6)")
                 .arg(ficha)
                 .arg(lit(balcoTce), lit(grupo), lit(cod))
                 .arg(empresa)
                 .arg(totor, 0, 'f', 2);
    };
    int pkrec = 0;
    auto receit = [&](int ficha, const char *when, double v) {
        s << QStringLiteral("INSERT INTO RECEIT (PKREC, FICHA, DTREC, VAREC) VALUES (%1, %2, '%3', %4)")
                 .arg(++pkrec)
                 .arg(ficha)
                 .arg(QLatin1String(when))
                 .arg(v, 0, 'f', 2);
    };
    int pkorc = 0;
    auto desorc = [&](int ficha, int empresa, double v) {
        s << QStringLiteral("INSERT INTO DESORC (PKORC, FICHA, DOTAC, EMPRESA) VALUES (%1, %2, %3, %4)")
                 .arg(++pkorc)
                 .arg(ficha)
                 .arg(v, 0, 'f', 2)
                 .arg(empresa);
    };

    // --- Amortised debt, group 004, code 4.6.80.01.01.
    // Records with an initial budget: 600 (entity 1), 602 (entity 7); without:
    // 601 (entity 1), 603 (entity 7); 604 carries another code.
    desdis(600, nullptr, "004", "4.6.80.01.01", 1, 1000);
    desdis(601, nullptr, "004", "4.6.80.01.01", 1, 0);
    desdis(602, nullptr, "004", "4.6.80.01.01", 7, 500);
    desdis(603, nullptr, "004", "4.6.80.01.01", 7, 0);
    desdis(604, nullptr, "004", "4.6.80.01.02", 1, 100);
    // Committed (budget <> 0): 800 + 300 = 1100 (entity 1: 800, entity 7: 300).
    despes(301, 600, "10.02.2008", 800);
    despes(302, 602, "11.02.2008", 300);
    despes(303, 601, "12.02.2008", 150);
    despes(304, 603, "13.02.2008", 90);
    despes(305, 604, "14.02.2008", 55);
    // Liquidated: 600 + 100 + 150 = 850 (entity 1: 750, entity 7: 100).
    liquida(301, 0, "01.03.2008", 600);
    liquida(302, 0, "02.03.2008", 100);
    liquida(303, 0, "03.03.2008", 150);
    liquida(305, 0, "04.03.2008", 55);
    // Paid on records without budget: 120 (entity 1) + 90 (entity 7).
    pagamento(301, "0", "01.04.2008", 500);
    pagamento(303, "0", "02.04.2008", 120);
    pagamento(304, "0", "03.04.2008", 90);
    // Refinancing credit operations: budget 5000 for entity 1 only.
    recdis(800, "2.1.15.00.00", nullptr, nullptr, 1, 5000);
    recdis(801, "8.1.16.00.00", nullptr, nullptr, 7, 0);
    // Appropriations: 1000 + 500 = 1500 (entity 1: 1000, entity 7: 500).
    desorc(600, 1, 1000);
    desorc(602, 7, 500);
    desorc(604, 1, 100);

    // --- Outstanding commitments, group 01, account 1.100.100 (stored without points).
    desdis(500, "321101", nullptr, nullptr, 1, 0);
    desdis(501, "321102", nullptr, nullptr, 12, 0);
    desdis(502, "331101", nullptr, nullptr, 1, 0); // not an outstanding-commitment record
    const char *g = "01";
    const char *c = "1100100";
    despes(101, 500, "01.03.2007", 1000, "10.12.2007", g, c); // liquidated in 2007
    despes(102, 500, "01.04.2007", 500, nullptr, g, c);       // liquidated in 2007 and 2008
    despes(103, 500, "01.05.2007", 50, nullptr, g, c);        // never liquidated
    despes(104, 501, "01.06.2007", 70, "15.02.2008", g, c);   // entity 12, date on the record only
    despes(105, 502, "01.01.2007", 999, "01.01.2007", g, c);  // record outside 3211
    despes(107, 500, "01.07.2007", 200, nullptr, g, c);       // global, two sub-commitments
    despes(108, 500, "01.08.2007", 500, "01.05.2007", g, c);  // paid without sub-commitment number
    liquida(101, 0, "10.12.2007", 1000);
    liquida(102, 0, "20.11.2007", 300);
    liquida(102, 0, "01.03.2008", 200);
    liquida(103, 0, "01.06.2007", -50); // a reversal only
    liquida(105, 0, "01.01.2007", 999);
    liquida(107, 1, "15.10.2007", 100);
    liquida(107, 2, "01.02.2008", 100);
    // May: processed 100 (101) + 200 (102) + 10 (107/1) = 310;
    //      unprocessed 200 (102) + 70 (104) + 20 (107/2) = 290.
    // June: processed 40 (101, last day at 14:00).
    pagamento(101, "0", "10.05.2008", 100);
    pagamento(101, "0", "30.06.2008 14:00", 40);
    pagamento(101, "0", "12.05.2008", -30);     // reversal
    pagamento(101, "0", "15.05.2007", 77);      // another year
    pagamento(102, "0", "20.05.2008", 200);
    pagamento(103, "0", "21.05.2008", 50);
    pagamento(104, "0", "22.05.2008", 70);
    pagamento(105, "0", "23.05.2008", 999);
    pagamento(107, "1", "24.05.2008", 10);
    pagamento(107, "2", "25.05.2008", 20);
    pagamento(108, "NULL", "26.05.2008", 500);
    // Cancellations. Sub-commitments of 107: -8 in 2007, -6 in 2008.
    dessub(107, 1, "01.10.2007", 100);
    dessub(107, 2, "10.01.2008", 100);
    dessub(107, 1, "01.11.2007", -8);
    dessub(107, 2, "05.06.2008", -6);
    // May: processed 25 (201 cancels 101, liquidated 2007); unprocessed 12
    // (203 cancels 104, liquidated 2008, entity 12). June: processed 8 and
    // unprocessed 6 (202 cancels the global 107 through its sub-commitments).
    despes(201, 500, "20.05.2008", -25, nullptr, g, c, 101);
    despes(202, 500, "10.06.2008", -15, nullptr, g, c, 107);
    despes(203, 501, "15.05.2008", -12, nullptr, g, c, 104);

    // --- Cash: accounts of the cash ledger (balco, type, entity).
    auto descon = [&s](int conta, const char *balco, const char *tipo, int empresa) {
        s << QStringLiteral("INSERT INTO DESCON (CONTA, BALCO, TIPO, EMPRESA) VALUES (%1, '%2', '%3', %4)")
                 .arg(conta)
                 .arg(QLatin1String(balco), QLatin1String(tipo))
                 .arg(empresa);
    };
    int pkord = 0;
    auto ordcai = [&](int conta, const char *when, double credi, double debit) {
        s << QStringLiteral("INSERT INTO ORDCAI (PKORD, CONTA, DTLAN, CREDI, DEBIT) VALUES (%1, %2, '%3', %4, %5)")
                 .arg(++pkord)
                 .arg(conta)
                 .arg(QLatin1String(when))
                 .arg(credi, 0, 'f', 2)
                 .arg(debit, 0, 'f', 2);
    };
    descon(1, "31110001", "CX", 1);
    descon(2, "31110002", "BM", 7);
    descon(3, "31120001", "BM", 1);
    descon(4, "31210001", "AP", 1);
    descon(5, "31220001", "AP", 1);
    descon(6, "31140001", "BV", 1);
    descon(7, "31150001", "FU", 1);
    descon(8, "31130001", "FU", 7);
    // 3111: to June 1000 - 200 + 50 + 300 = 1150 (entity 1: 850, entity 7:
    // 300); to February 1300; to April 1100.
    ordcai(1, "10.01.2008", 1000, 0);
    ordcai(1, "15.03.2008", 0, 200);
    ordcai(1, "30.06.2008 14:00", 50, 0);
    ordcai(1, "01.07.2008", 999, 0);  // later month
    ordcai(1, "20.05.2007", 5555, 0); // another year
    ordcai(2, "10.02.2008", 300, 0);
    ordcai(3, "10.05.2008", 400, 100); // 3112: 300
    ordcai(4, "10.04.2008", 300, 0);   // 3121: 300
    ordcai(5, "10.06.2008", 300, 0);   // 3122: 300, the same balance as 3121
    ordcai(8, "10.05.2008", 25, 0);    // 3113: 25 (FUNDEB, entity 7)
    ordcai(6, "01.06.2008", 70, 0);    // 3114: 70
    ordcai(7, "10.01.2008", 900, 100); // 3115: 800 (FUNDEB)

    // --- Credit operations, group 009: code 1.10 on 700 (entity 1) and 701
    // (entity 7); 1.20 on 702. Bimester 3: 1000 + 500 + 200 = 1700; bimester 2: 88.
    recdis(700, nullptr, "009", "1.10", 1, 0);
    recdis(701, nullptr, "009", "1.10", 7, 0);
    recdis(702, nullptr, "009", "1.20", 1, 0);
    receit(700, "10.05.2008", 1000);
    receit(700, "30.06.2008 14:00", 500);
    receit(701, "20.05.2008", 200);
    receit(700, "15.05.2007", 999);
    receit(700, "30.04.2008", 88);
    receit(702, "10.05.2008", 5);
    return s;
}

using orven::test::periodsText;
using orven::test::sectionFor;

RunParameters params(int bimester, int entity)
{
    return RunParameters::forBimester(bimester, QStringLiteral("2008"), entity, QStringLiteral("/tmp/"));
}

const QString kDebts = QStringLiteral("Dívidas Realizadas");
const QString kAmortised = QStringLiteral("Dívidas Amortizadas");
const QString kOutstanding = QStringLiteral("Restos à Pagar");
const QString kCash = QStringLiteral("Disponibilidades");
const QString kGuarantees = QStringLiteral("Garantias e Contragarantias");
const QString kCredit = QStringLiteral("Operação de Crédito");

// A catalogue with one account of the guarantee section.
catalogue::Catalogue guaranteeCatalogue()
{
    catalogue::Catalogue cat;
    cat.name = QStringLiteral("lrfcaptura");
    cat.properties = QStringLiteral("bimestre");
    cat.version = QStringLiteral("3.0");
    cat.xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
    catalogue::Conta conta{QStringLiteral("Aval em operações de crédito"), QStringLiteral("1.11   "),
                           QStringLiteral("3589"), QStringLiteral("1")};
    catalogue::Tipo tipo{QStringLiteral("Garantia Contragarantia"), QStringLiteral("003"), QStringLiteral("64"),
                         {conta}};
    catalogue::Opcao opcao{kGuarantees, QStringLiteral("movimento"), {tipo}};
    cat.cadastros << catalogue::Cadastro{kGuarantees, {opcao}};
    return cat;
}

} // namespace

class TestSectionsTwo : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<SqlAmountSource> m_source;

    struct Filled {
        QString periods;
        QStringList sql;
    };

    // Runs the section of `cadastro` for one account, as the walk does.
    Filled fill(const QString &cadastro, const QString &opcaoName, const QString &kind, const QString &tipoValue,
                const QString &tipoId, const QString &contaValue, const QString &contaId, int bimester, int entity,
                const QString &periodProperties)
    {
        catalogue::Conta conta{QStringLiteral("Conta"), contaValue, contaId, periodProperties};
        catalogue::Tipo tipo{QStringLiteral("Tipo"), tipoValue, tipoId, {conta}};
        catalogue::Opcao opcao{opcaoName, kind, {tipo}};
        catalogue::Cadastro cad{cadastro, {opcao}};
        capture::CaptureDocument doc;
        auto contaElement = doc.sistema().add().add().add().add();
        RecordingSource db(*m_source);
        RunParameters p = params(bimester, entity);
        SectionContext ctx{p, cad, cad.opcoes[0], cad.opcoes[0].tipos[0], cad.opcoes[0].tipos[0].contas[0],
                           contaElement, db, [] {}};
        auto section = sectionFor(cadastro);
        if (!section)
            throw Error(QStringLiteral("sem seção para ") + cadastro);
        section->fill(ctx);
        return {periodsText(contaElement), db.sql};
    }

    // Points the configuration at a temporary installation whose data folder
    // ("D") exists; returns that folder.
    QString installation(QTemporaryDir &dir)
    {
        const QString root = dir.path() + QStringLiteral("/ZUNT_8/");
        QDir().mkpath(root + QStringLiteral("ARQ2008"));
        QFile ini(dir.filePath(QStringLiteral("zunt.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return {};
        ini.write(QStringLiteral("[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados=%1\r\n").arg(root).toLocal8Bit());
        ini.close();
        config::setConfigDirOverride(dir.path());
        return root + QStringLiteral("ARQ2008/");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("ZUNT2008.FDB"));
        firebird::createDatabase(m_path);
        QSqlDatabase db = firebird::addConnection(kConnection, m_path);
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        db::createSchema(db);
        // The suite has payments without a sub-commitment number.
        QStringList statements{QStringLiteral("ALTER TABLE PAGAMENTO ALTER NUMSUB DROP NOT NULL")};
        statements << fixtureRows();
        for (const QString &statement : statements) {
            QSqlQuery q(db);
            QVERIFY2(q.exec(statement), qPrintable(q.lastError().text() + "\n" + statement));
        }
        m_source = std::make_unique<SqlAmountSource>(db);
    }

    void cleanupTestCase()
    {
        config::setConfigDirOverride(QString());
        m_source.reset();
        QSqlDatabase::database(kConnection, false).close();
        QSqlDatabase::removeDatabase(kConnection);
    }

    void registeredInWalkOrder()
    {
        QStringList names;
        for (const SectionEntry &e : sectionTable())
            names << e.cadastroName;
        const QStringList mine{kDebts, kAmortised, kOutstanding, kCash, kGuarantees, kCredit};
        const qsizetype first = names.indexOf(kDebts);
        QVERIFY(first >= 0);
        QCOMPARE(names.mid(first, mine.size()), mine);
        QVERIFY(!sectionFor(QStringLiteral("Obrigações Financeiras ")));
        QVERIFY(!sectionFor(QStringLiteral("Dívida Ativa")));
    }

    // Every branch of every section against the fixture. `queries` counts the
    // queries sent for the account; `condition` is a text every query that
    // carries an entity condition must contain.
    void fillsAccounts_data()
    {
        QTest::addColumn<QString>("cadastro");
        QTest::addColumn<QString>("opcao");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("tipoValue");
        QTest::addColumn<QString>("tipoId");
        QTest::addColumn<QString>("conta");
        QTest::addColumn<QString>("contaId");
        QTest::addColumn<int>("bimester");
        QTest::addColumn<int>("entity");
        QTest::addColumn<QString>("props");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("queries");

        const QString mov = QStringLiteral("movimento");
        const QString orc = QStringLiteral("orcado");

        // Contracted debt: the ten codes.
        const QString realizada = QStringLiteral("Dívidas Realizadas Realizada");
        auto debt = [&](const char *tag, const char *code, int bimester, int entity, const char *amount, int queries) {
            QTest::newRow(tag) << kDebts << realizada << mov << "005" << "66" << QString::fromLatin1(code) + "  "
                               << "3613" << bimester << entity << "2"
                               << QStringLiteral("2:valor_realizado=%1").arg(QLatin1String(amount)) << queries;
        };
        debt("divida 1.100 zero", "1.100", 3, 0, "0.00", 0);
        debt("divida 1.200", "1.200", 3, 0, "1300.00", 1);
        debt("divida 1.200 bimestre 2", "1.200", 2, 0, "777.00", 1);
        debt("divida 1.200 entidade 7", "1.200", 3, 7, "0.00", 1);
        debt("divida 1.300", "1.300", 3, 0, "300.00", 1);
        debt("divida 1.400 zero", "1.400", 3, 0, "0.00", 0);
        debt("divida 1.501 zero", "1.501", 3, 0, "0.00", 0);
        debt("divida 1.502", "1.502", 3, 0, "50.00", 1);
        debt("divida 1.503 sem 342101 e 342102", "1.503", 3, 0, "145.00", 1);
        debt("divida 1.503 entidade 7", "1.503", 3, 7, "75.00", 1);
        debt("divida 1.504", "1.504", 3, 0, "60.00", 1);
        debt("divida 1.600 zero", "1.600", 3, 0, "0.00", 0);
        debt("divida 1.700", "1.700", 3, 0, "500.00", 1);
        debt("divida 1.700 entidade 7", "1.700", 3, 7, "100.00", 1);
        debt("divida codigo desconhecido", "1.800", 3, 0, "0.00", 0);

        // Amortised debt: the three branches.
        const QString amortizada = QStringLiteral("Dívidas Amortizadas Realizada");
        const QString code = QStringLiteral("4.6.80.01.01 ");
        auto amortised = [&](const char *tag, const QString &opcao, const QString &kind, const char *tipoId,
                             int bimester, int entity, const QString &expected, int queries) {
            QTest::newRow(tag) << kAmortised << opcao << kind << " 004 " << tipoId << code << "3607" << bimester
                               << entity << "2" << expected << queries;
        };
        amortised("amortizada realizada", amortizada, mov, "41", 3, 0,
                  "2:valor_empenhado=1100.00,valor_liquidado=850.00", 2);
        amortised("amortizada realizada bimestre 6", amortizada, mov, "41", 6, 0,
                  "2:valor_empenhado=1100.00,valor_liquidado=850.00", 2);
        amortised("amortizada realizada entidade 1", amortizada, mov, "41", 3, 1,
                  "2:valor_empenhado=800.00,valor_liquidado=750.00", 2);
        amortised("amortizada realizada entidade 7", amortizada, mov, "41", 3, 7,
                  "2:valor_empenhado=300.00,valor_liquidado=100.00", 2);
        amortised("amortizada anulada tipo 41", QStringLiteral("Dívida Amortizada - Anulada"), mov, "41", 3, 0,
                  "2:valor_empenhado=1100.00,valor_liquidado=850.00", 2);
        amortised("amortizada anulada tipo 65", QStringLiteral("Dívida Amortizada - Anulada"), mov, "65", 3, 0, "",
                  0);
        amortised("credito adicional", QStringLiteral("Dívidas Amortizadas Crédito Adicional"), mov, "47", 3, 0,
                  "2:valor_creditoadicional=210.00", 2);
        amortised("credito adicional entidade 1", QStringLiteral("Dívidas Amortizadas Crédito Adicional"), mov, "47",
                  3, 1, "2:valor_creditoadicional=120.00", 2);
        amortised("credito adicional sem orcamento de refinanciamento",
                  QStringLiteral("Dívidas Amortizadas Crédito Adicional"), mov, "47", 3, 7,
                  "2:valor_creditoadicional=0.00", 2);
        amortised("orcado e credito adicional", QStringLiteral("Dívidada Amortizada - Orçada"), orc, "47", 3, 0,
                  "2:valor_creditoadicional=210.00|2:valor_orcado=1500.00", 3);
        amortised("orcado", QStringLiteral("Dívidada Amortizada - Orçada"), orc, "65", 3, 0, "2:valor_orcado=1500.00",
                  1);
        amortised("orcado entidade 7", QStringLiteral("Dívidada Amortizada - Orçada"), orc, "65", 3, 7,
                  "2:valor_orcado=500.00", 1);
        amortised("orcado tipo 41", QStringLiteral("Dívidada Amortizada - Orçada"), orc, "41", 3, 0,
                  "2:valor_orcado=1500.00", 1);

        // Outstanding commitments.
        const QString baixa = QStringLiteral("Restos à Pagar Realizado - Baixa");
        const QString rp = QStringLiteral("restopagarmovimento");
        auto outstanding = [&](const char *tag, const char *tipoId, const QString &kind, int bimester, int entity,
                               const QString &expected, int queries) {
            QTest::newRow(tag) << kOutstanding << baixa << kind << "01" << tipoId << "1.100.100  " << "637"
                               << bimester << entity << "1" << expected << queries;
        };
        auto four = [](const char *p, const char *pc, const char *n, const char *nc) {
            return QStringLiteral("1:valor_processado=%1,valor_processadocancelado=%2,valor_naoprocessado=%3,"
                                  "valor_naoprocessadocancelado=%4")
                .arg(QLatin1String(p), QLatin1String(pc), QLatin1String(n), QLatin1String(nc));
        };
        // Queries, May: processed paid 1 + lookups 1+1+2+2+1+2 (the row without
        // sub-commitment number needs none) + cancelled 2 = 12, unprocessed
        // paid 1 + lookups 2+1+2+2+2+1 + cancelled 2 = 13; June: processed
        // 1+1+2 = 4, unprocessed 1+2+2 = 5.
        outstanding("restos consolidado", "10", rp, 3, 0,
                    four("310.00", "25.00", "290.00", "12.00") + "|" + four("40.00", "8.00", "0.00", "6.00"), 34);
        outstanding("restos tipo 19", "19", rp, 3, 0,
                    four("310.00", "25.00", "290.00", "12.00") + "|" + four("40.00", "8.00", "0.00", "6.00"), 34);
        outstanding("restos entidade 1", "10", rp, 3, 1,
                    four("310.00", "25.00", "220.00", "0.00") + "|" + four("40.00", "8.00", "0.00", "6.00"), 30);
        outstanding("restos entidade 12", "10", rp, 3, 12,
                    four("0.00", "0.00", "70.00", "12.00") + "|" + four("0.00", "0.00", "0.00", "0.00"), 16);
        outstanding("restos sem pagamentos", "10", rp, 1, 0,
                    four("0.00", "0.00", "0.00", "0.00") + "|" + four("0.00", "0.00", "0.00", "0.00"), 12);
        outstanding("restos tipo 28", "28", rp, 3, 0, "", 0);
        outstanding("restos outra especie", "10", mov, 3, 0, "", 0);

        // Cash.
        auto cash = [&](const char *tag, const char *id, int bimester, int entity, const char *amount, int queries) {
            QTest::newRow(tag) << kCash << kCash << mov << "008" << "69" << "1.100" << QString::fromLatin1(id)
                               << bimester << entity << "2"
                               << QStringLiteral("2:valor_realizado=%1").arg(QLatin1String(amount)) << queries;
        };
        cash("caixa 1269 ate junho", "1269", 3, 0, "1150.00", 1);
        cash("caixa 1269 ate fevereiro", "1269", 1, 0, "1300.00", 1);
        cash("caixa 1269 ate abril", "1269", 2, 0, "1100.00", 1);
        cash("caixa 1269 entidade 1", "1269", 3, 1, "850.00", 1);
        cash("caixa 1269 entidade 7", "1269", 3, 7, "300.00", 1);
        cash("caixa 1271", "1271", 3, 0, "300.00", 1);
        cash("caixa 1273 fundeb", "1273", 3, 0, "825.00", 1);
        cash("caixa 1273 fundeb entidade 7", "1273", 3, 7, "25.00", 1);
        cash("caixa 1274 saldos iguais", "1274", 3, 0, "625.00", 1);
        cash("caixa 1275", "1275", 3, 0, "70.00", 1);
        cash("caixa 1275 ate abril", "1275", 2, 0, "0.00", 1);
        cash("caixa 1276", "1276", 3, 0, "800.00", 1);
        cash("caixa 1277", "1277", 3, 0, "0.00", 1);
        cash("caixa 1278", "1278", 3, 0, "0.00", 1);
        cash("caixa id desconhecido", "3633", 3, 0, "0.00", 0);

        // Credit operations: never an entity condition.
        auto credit = [&](const char *tag, const char *code, int bimester, int entity, const char *amount) {
            QTest::newRow(tag) << kCredit << kCredit << mov << " 009" << "70" << QString::fromLatin1(code) + " "
                               << "3650" << bimester << entity << "2"
                               << QStringLiteral("2:valor_realizado=%1").arg(QLatin1String(amount)) << 1;
        };
        credit("credito bimestre 3", "1.10", 3, 0, "1700.00");
        credit("credito bimestre 3 entidade 7", "1.10", 3, 7, "1700.00");
        credit("credito bimestre 2", "1.10", 2, 0, "88.00");
        credit("credito outro codigo", "1.20", 3, 0, "5.00");
        credit("credito sem receitas", "1.30", 3, 0, "0.00");
    }

    void fillsAccounts()
    {
        QFETCH(QString, cadastro);
        QFETCH(QString, opcao);
        QFETCH(QString, kind);
        QFETCH(QString, tipoValue);
        QFETCH(QString, tipoId);
        QFETCH(QString, conta);
        QFETCH(QString, contaId);
        QFETCH(int, bimester);
        QFETCH(int, entity);
        QFETCH(QString, props);
        QFETCH(QString, expected);
        QFETCH(int, queries);

        const Filled f = fill(cadastro, opcao, kind, tipoValue, tipoId, conta, contaId, bimester, entity, props);
        QCOMPARE(f.periods, expected);
        QCOMPARE(f.sql.size(), queries);
        // The entity condition: in every amounts query of an entity run (the
        // credit operations and the commitment lookups excepted), in none of a
        // consolidated run.
        for (const QString &sql : f.sql) {
            const bool lookup = sql.startsWith(QLatin1String("SELECT * FROM"));
            const bool entityCondition = sql.contains(QLatin1String("EMPRESA = '"));
            if (entity == 0 || lookup || cadastro == kCredit)
                QVERIFY2(!entityCondition, qPrintable(sql));
            else
                QVERIFY2(sql.contains(QStringLiteral("EMPRESA = '%1'").arg(entity)), qPrintable(sql));
        }
    }

    // The refinancing check decides the additional-credit query: without a
    // budget on those revenue accounts the query is made to return nothing.
    void refinancingCheckDecidesCredit()
    {
        const QString opcao = QStringLiteral("Dívidas Amortizadas Crédito Adicional");
        const Filled without = fill(kAmortised, opcao, QStringLiteral("movimento"), QStringLiteral("004"),
                                    QStringLiteral("47"), QStringLiteral("4.6.80.01.01"), QStringLiteral("1"), 3, 7,
                                    QStringLiteral("2"));
        QCOMPARE(without.sql.size(), 2);
        QVERIFY(without.sql[0].contains(QLatin1String("AS CREDITO FROM RECDIS")));
        QVERIFY(without.sql[0].endsWith(QLatin1String(" AND RECDIS.EMPRESA = '7'")));
        QVERIFY(without.sql[1].contains(QLatin1String("AND C.DOTAC = 0  AND A.FICHA = -1   AND C.EMPRESA = '7'")));

        const Filled with = fill(kAmortised, opcao, QStringLiteral("movimento"), QStringLiteral("004"),
                                 QStringLiteral("47"), QStringLiteral("4.6.80.01.01"), QStringLiteral("1"), 3, 1,
                                 QStringLiteral("2"));
        QVERIFY(!with.sql[1].contains(QLatin1String("A.FICHA = -1")));
    }

    // Guarantees: 0.00 before any file; after saving, the amount of the run's
    // bimester of the row with the account's code.
    void guarantees_data()
    {
        QTest::addColumn<QString>("conta");
        QTest::addColumn<int>("bimester");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("1.11 bimestre 3") << "1.11" << 3 << "1:valor_realizado=0.00" << "1:valor_realizado=1234.50";
        QTest::newRow("1.11 com brancos") << "1.11    " << 3 << "1:valor_realizado=0.00"
                                          << "1:valor_realizado=1234.50";
        QTest::newRow("1.11 bimestre 2") << "1.11" << 2 << "1:valor_realizado=0.00" << "1:valor_realizado=7.00";
        QTest::newRow("2.23 negativo") << "2.23" << 3 << "1:valor_realizado=0.00" << "1:valor_realizado=-0.50";
        QTest::newRow("2.23 bimestre 6") << "2.23" << 6 << "1:valor_realizado=0.00"
                                         << "1:valor_realizado=1000000.01";
        QTest::newRow("codigo sem linha") << "3.11" << 3 << "1:valor_realizado=0.00" << "1:valor_realizado=0.00";
    }

    void guarantees()
    {
        QFETCH(QString, conta);
        QFETCH(int, bimester);
        QFETCH(QString, before);
        QFETCH(QString, after);

        QTemporaryDir dir;
        const QString data = installation(dir);
        QVERIFY(!data.isEmpty());
        QCOMPARE(guarantees::GuaranteesFile::defaultPath(), data + QStringLiteral("ORVEN_Garantia.xml"));

        const QString opcao = kGuarantees;
        auto run = [&] {
            return fill(kGuarantees, opcao, QStringLiteral("movimento"), QStringLiteral("003"), QStringLiteral("64"),
                        conta, QStringLiteral("3589"), bimester, 7, QStringLiteral("1"));
        };
        const Filled empty = run();
        QCOMPARE(empty.periods, before);
        QCOMPARE(empty.sql.size(), 0);

        QList<guarantees::Guarantee> rows = guarantees::GuaranteesFile::defaultRows();
        rows[0].setValor(3, 1234.5);
        rows[0].setValor(2, 7);
        rows[11].setValor(3, -0.5);
        rows[11].setValor(6, 1000000.01);
        guarantees::GuaranteesFile::save(guarantees::GuaranteesFile::defaultPath(), rows);
        QCOMPARE(run().periods, after);
        config::setConfigDirOverride(QString());
    }

    // A guarantees file that cannot be read ends the run with an error and no
    // capture file; a missing one lets it write zeros.
    void damagedGuaranteesFileFailsTheRun()
    {
        QTemporaryDir dir;
        const QString data = installation(dir);
        QVERIFY(!data.isEmpty());
        const QString target = dir.path() + QStringLiteral("/saida/");
        QVERIFY(QDir().mkpath(target));
        RunParameters p = RunParameters::forBimester(3, QStringLiteral("2008"), 0, target);
        CancelFlag flag;
        NullProgress progress;

        {
            Generator g(*m_source, flag, progress);
            QCOMPARE(g.run(p, guaranteeCatalogue()), Generator::Outcome::Written);
            QFile written(g.outputPath(p));
            QVERIFY(written.open(QIODevice::ReadOnly));
            QVERIFY(written.readAll().contains("<dados properties=\"valor_realizado\" value=\"0.00\""));
            written.close();
            QVERIFY(QFile::remove(g.outputPath(p)));
        }

        QFile file(data + QStringLiteral("ORVEN_Garantia.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIE");
        file.close();
        Generator g(*m_source, flag, progress);
        QVERIFY_THROWS_EXCEPTION(Error, g.run(p, guaranteeCatalogue()));
        QVERIFY(!QFile::exists(g.outputPath(p)));
        config::setConfigDirOverride(QString());
    }

    // The texts sent to the database, compared with the texts of the
    // suite's queries. The mends: an entity condition names the alias that the
    // query gives its table ("DESDIS" -> "B" or "C"), and the cash query keeps
    // one row per four-character account group.
    void queryTexts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        using namespace queries;
        const RunParameters p0 = params(3, 0);
        const RunParameters p7 = params(3, 7);
        const RunParameters p12 = params(3, 12);

        // Contracted debt.
        QString condition;
        QVERIFY(contractedDebtCondition(QStringLiteral("1.503"), &condition));
        QTest::newRow("divida 1.503 entidade 7")
            << contractedDebtQuery(p7, condition)
            << "select coalesce(sum(credi)-sum(debit),0) as valor from condia where extract(month from datae) in "
               "('05','06') and extract(year from datae) = (select mexer from cadcli) and balco like '3421%' and "
               "balco not in ('342101','342102')  AND EMPRESA = '7'";
        const char *const conditions[][2] = {
            {"1.200", "and balco like '3411%' "}, {"1.300", "and balco like '3424%' "},
            {"1.502", "and balco = '342101' "},   {"1.504", "and balco = '342102' "},
            {"1.700", "and balco like '3422%' "}, {"1.100", ""},
            {"1.400", ""},                        {"1.501", ""},
            {"1.600", ""},
        };
        for (const auto &row : conditions) {
            QVERIFY(contractedDebtCondition(QLatin1String(row[0]), &condition));
            QTest::addRow("condicao %s", row[0]) << condition << QString::fromLatin1(row[1]);
        }
        QVERIFY(!contractedDebtCondition(QStringLiteral("1.800"), &condition));
        QVERIFY(!contractedDebtCondition(QStringLiteral("1.20"), &condition));
        QVERIFY(contractedDebtCondition(QStringLiteral("1.200"), &condition));
        QTest::newRow("divida 1.200 consolidado")
            << contractedDebtQuery(p0, condition)
            << "select coalesce(sum(credi)-sum(debit),0) as valor from condia where extract(month from datae) in "
               "('05','06') and extract(year from datae) = (select mexer from cadcli) and balco like '3411%' ";

        // Amortised debt.
        const QString g = QStringLiteral("004"), c = QStringLiteral("4.6.80.01.01");
        QTest::newRow("amortizada empenhado entidade 7")
            << amortisedCommittedQuery(p7, g, c)
            << "SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO FROM DESPES A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
               "WHERE B.GRUPO_TCE = '004' AND B.COD_TCE = '4.6.80.01.01' AND B.DOTAC <> 0  AND B.EMPRESA = '7'";
        QTest::newRow("amortizada empenhado consolidado")
            << amortisedCommittedQuery(p0, g, c)
            << "SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO FROM DESPES A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
               "WHERE B.GRUPO_TCE = '004' AND B.COD_TCE = '4.6.80.01.01' AND B.DOTAC <> 0 ";
        QTest::newRow("amortizada liquidado entidade 7")
            << amortisedLiquidatedQuery(p7, g, c)
            << "SELECT COALESCE(SUM(A.VADEM),0) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESPES B ON B.PKEMP = A.PKEMP "
               "INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE C.GRUPO_TCE = '004' AND C.COD_TCE = '4.6.80.01.01'  "
               "AND C.EMPRESA = '7'";
        QTest::newRow("verificacao de credito entidade 7")
            << additionalCreditCheckQuery(p7)
            << "SELECT COALESCE(SUM(TOTOR),0) AS CREDITO FROM RECDIS WHERE BALCO_TCE IN "
               "('2.1.15.00.00','2.1.16.00.00','8.1.15.00.00','8.1.16.00.00')  AND RECDIS.EMPRESA = '7'";
        QTest::newRow("credito adicional sem credito entidade 7")
            << additionalCreditQuery(p7, g, c, additionalCreditCondition(0))
            << "SELECT COALESCE(SUM(A.VAPAG),0) AS valor_creditoadicional FROM VIEWVAPAG A INNER JOIN DESPES B ON "
               "B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE C.GRUPO_TCE = '004' AND C.COD_TCE = "
               "'4.6.80.01.01' AND C.DOTAC = 0  AND A.FICHA = -1   AND C.EMPRESA = '7'";
        QTest::newRow("credito adicional com credito consolidado")
            << additionalCreditQuery(p0, g, c, additionalCreditCondition(5000))
            << "SELECT COALESCE(SUM(A.VAPAG),0) AS valor_creditoadicional FROM VIEWVAPAG A INNER JOIN DESPES B ON "
               "B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE C.GRUPO_TCE = '004' AND C.COD_TCE = "
               "'4.6.80.01.01' AND C.DOTAC = 0  ";
        QTest::newRow("amortizada orcado entidade 7")
            << amortisedBudgetQuery(p7, g, c)
            << "SELECT COALESCE(SUM(DESORC.DOTAC),0) AS VALOR_ORCADO FROM DESORC INNER JOIN DESDIS C ON C.FICHA = "
               "DESORC.FICHA WHERE C.GRUPO_TCE = '004' AND C.COD_TCE = '4.6.80.01.01'  AND DESORC.EMPRESA = '7'";

        // Outstanding commitments.
        const QString rg = compactCode(QStringLiteral(" 01 ")), rc = compactCode(QStringLiteral("1.100.100  "));
        QTest::newRow("codigos compactos") << rg + QLatin1Char('/') + rc << QStringLiteral("01/1100100");
        QTest::newRow("restos pago processado entidade 12")
            << outstandingPaidQuery(p12, Kind::Processed, rg, rc, QStringLiteral("05"))
            << "SELECT A.PKEMP,A.NUMSUB,COALESCE(SUM(A.VAPAG),0) AS PROCESSADO_PAGO FROM VIEWVAPAG A INNER JOIN "
               "DESPES B ON B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE EXTRACT(MONTH FROM "
               "A.DTPAG) = '05' AND A.VAPAG > 0 AND EXTRACT(YEAR FROM A.DTPAG) = (SELECT MEXER FROM CADCLI) AND "
               "SUBSTRING(C.BALCO FROM 1 FOR 4) = '3211' AND B.GRUPO_TCE = '01' AND B.COD_TCE = '1100100'  AND "
               "C.EMPRESA = '12' GROUP BY A.PKEMP,A.NUMSUB";
        QTest::newRow("restos pago nao processado consolidado")
            << outstandingPaidQuery(p0, Kind::Unprocessed, rg, rc, QStringLiteral("06"))
            << "SELECT A.PKEMP,A.NUMSUB,COALESCE(SUM(A.VAPAG),0) AS NAO_PROCESSADO_PAGO FROM VIEWVAPAG A INNER JOIN "
               "DESPES B ON B.PKEMP = A.PKEMP INNER JOIN DESDIS C ON C.FICHA = B.FICHA WHERE EXTRACT(MONTH FROM "
               "A.DTPAG) = '06' AND A.VAPAG > 0 AND EXTRACT(YEAR FROM A.DTPAG) = (SELECT MEXER FROM CADCLI) AND "
               "SUBSTRING(C.BALCO FROM 1 FOR 4) = '3211' AND B.GRUPO_TCE = '01' AND B.COD_TCE = '1100100'  GROUP BY "
               "A.PKEMP,A.NUMSUB";
        QTest::newRow("liquidacao anterior")
            << liquidationLookup(Kind::Processed, QStringLiteral("101"), QStringLiteral("0"))
            << "SELECT * FROM VIEWLIQ WHERE PKEMP = '101' AND NUMSUB = '0' AND VADEM > 0 AND EXTRACT(YEAR FROM DATAE) "
               "< (SELECT MEXER FROM CADCLI)";
        QTest::newRow("liquidacao do exercicio")
            << liquidationLookup(Kind::Unprocessed, QStringLiteral("107"), QStringLiteral("2"))
            << "SELECT * FROM VIEWLIQ WHERE PKEMP = '107' AND NUMSUB = '2' AND VADEM > 0 AND EXTRACT(YEAR FROM DATAE) "
               "= (SELECT MEXER FROM CADCLI)";
        QTest::newRow("empenho anterior")
            << commitmentLookup(Kind::Processed, QStringLiteral("104"))
            << "SELECT * FROM DESPES WHERE PKEMP = '104' AND VADEM > 0 AND EXTRACT(YEAR FROM DTLIQ) < (SELECT MEXER "
               "FROM CADCLI)";
        QTest::newRow("empenho do exercicio")
            << commitmentLookup(Kind::Unprocessed, QStringLiteral("104"))
            << "SELECT * FROM DESPES WHERE PKEMP = '104' AND VADEM > 0 AND EXTRACT(YEAR FROM DTLIQ) = (SELECT MEXER "
               "FROM CADCLI)";
        QTest::newRow("cancelado processado subempenho entidade 12")
            << cancelledBySubQuery(p12, Kind::Processed, rg, rc, QStringLiteral("05"))
            << "SELECT COALESCE(SUM((B.VADEM * -1)),0) AS PROCESSADO_CANCELADO FROM DESPES A INNER JOIN DESSUB B ON "
               "B.PKEMP = A.PKEMPA INNER JOIN DESDIS C ON C.FICHA = A.FICHA WHERE A.VADEM < 0 AND B.VADEM < 0 AND "
               "EXTRACT(YEAR FROM B.DATAE) < (SELECT MEXER FROM CADCLI) AND A.DTLIQ IS NULL AND EXTRACT(MONTH FROM "
               "A.DATAE) = '05' AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) AND SUBSTRING(C.BALCO "
               "FROM 1 FOR 4) = '3211' AND A.GRUPO_TCE = '01' AND A.COD_TCE = '1100100'  AND C.EMPRESA = '12' ";
        QTest::newRow("cancelado processado empenho consolidado")
            << cancelledByCommitmentQuery(p0, Kind::Processed, rg, rc, QStringLiteral("05"))
            << "SELECT COALESCE(SUM((A.VADEM * -1)), 0) AS PROCESSADO_CANCELADO FROM DESPES A INNER JOIN DESPES B ON "
               "B.PKEMP = A.PKEMPA AND B.DTLIQ IS NOT NULL INNER JOIN DESDIS C ON C.FICHA = A.FICHA WHERE A.VADEM < 0 "
               "AND EXTRACT(YEAR FROM B.DTLIQ) < (SELECT MEXER FROM CADCLI) AND EXTRACT(MONTH FROM A.DATAE) = '05' "
               "AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) AND SUBSTRING(C.BALCO FROM 1 FOR 4) = "
               "'3211' AND B.GRUPO_TCE = '01' AND B.COD_TCE = '1100100'  ";
        QTest::newRow("cancelado nao processado subempenho consolidado")
            << cancelledBySubQuery(p0, Kind::Unprocessed, rg, rc, QStringLiteral("06"))
            << "SELECT COALESCE(SUM((B.VADEM * -1)),0) AS NAO_PROCESSADO_CANCELADO FROM DESPES A INNER JOIN DESSUB B "
               "ON B.PKEMP = A.PKEMPA INNER JOIN DESDIS C ON C.FICHA = A.FICHA WHERE A.VADEM < 0 AND B.VADEM < 0 AND "
               "EXTRACT(YEAR FROM B.DATAE) = (SELECT MEXER FROM CADCLI) AND A.DTLIQ IS NULL AND EXTRACT(MONTH FROM "
               "A.DATAE) = '06' AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) AND SUBSTRING(C.BALCO "
               "FROM 1 FOR 4) = '3211' AND A.GRUPO_TCE = '01' AND A.COD_TCE = '1100100'  ";
        QTest::newRow("cancelado nao processado empenho entidade 7")
            << cancelledByCommitmentQuery(p7, Kind::Unprocessed, rg, rc, QStringLiteral("06"))
            << "SELECT COALESCE(SUM((A.VADEM * -1)), 0) AS NAO_PROCESSADO_CANCELADO FROM DESPES A INNER JOIN DESPES B "
               "ON B.PKEMP = A.PKEMPA AND B.DTLIQ IS NOT NULL INNER JOIN DESDIS C ON C.FICHA = A.FICHA WHERE A.VADEM "
               "< 0 AND EXTRACT(YEAR FROM B.DTLIQ) = (SELECT MEXER FROM CADCLI) AND EXTRACT(MONTH FROM A.DATAE) = "
               "'06' AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) AND SUBSTRING(C.BALCO FROM 1 FOR 4) "
               "= '3211' AND B.GRUPO_TCE = '01' AND B.COD_TCE = '1100100'  AND C.EMPRESA = '7' ";

        // Cash: the suite's text with the group column added after "distinct".
        const QString head = QStringLiteral(
            "select distinct  (SELECT Cast(sum(b.credi) as DOUBLE PRECISION)-   cast(sum(b.debit) as DOUBLE "
            "PRECISION) from ordcai B   INNER JOIN DESCON ON DESCON.CONTA=B.CONTA   WHERE EXTRACT(MONTH FROM "
            "B.DTLAN)<= '");
        const QString where = QStringLiteral("FROM CONPLA A WHERE SUBSTRING(A.BALCO FROM 4 FOR 1)<>'0' ");
        auto mended = [](QString text) {
            text.replace(QLatin1String("select distinct  ("),
                         QLatin1String("select distinct SUBSTRING(A.BALCO FROM 1 FOR 4) AS GRUPO,  ("));
            text.replace(QLatin1String("select DISTINCT  ("),
                         QLatin1String("select DISTINCT SUBSTRING(A.BALCO FROM 1 FOR 4) AS GRUPO,  ("));
            return text;
        };
        const QString body = QStringLiteral("06' ") +
                             QStringLiteral("  AND EXTRACT(YEAR FROM B.DTLAN) = (SELECT MEXER FROM CADCLI) ");
        const QString like = QStringLiteral("  AND DESCON.BALCO LIKE SUBSTRING(A.BALCO FROM 1 FOR 4)||'%' ");
        const QString close = QStringLiteral(") as SALDO ");
        QTest::newRow("caixa 1269 consolidado")
            << cashBalanceQuery(p0, QStringLiteral("1269"))
            << mended(head + body + like + close +
                      "FROM CONPLA A WHERE SUBSTRING(A.BALCO FROM 4 FOR 1)<>'0' AND (A.BALCO LIKE '311100%') ");
        QTest::newRow("caixa 1271 entidade 7")
            << cashBalanceQuery(p7, QStringLiteral("1271"))
            << mended(head + body + like + " AND DESCON.EMPRESA = '7' " + close +
                      "FROM CONPLA A WHERE SUBSTRING(A.BALCO FROM 4 FOR 1)<>'0' AND (A.BALCO LIKE '311200%') ");
        QString fundebHead = head;
        fundebHead.replace(QLatin1String("select distinct"), QLatin1String("select DISTINCT"));
        QTest::newRow("caixa 1273 entidade 7")
            << cashBalanceQuery(p7, QStringLiteral("1273"))
            << mended(fundebHead + body + "  AND DESCON.TIPO = 'FU' " + like + " AND DESCON.EMPRESA = '7' " + close +
                      where);
        QTest::newRow("caixa 1274")
            << cashBalanceQuery(p0, QStringLiteral("1274"))
            << mended(head + body + like + close + where +
                      "AND A.BALCO LIKE '311300%' OR A.BALCO LIKE '312100%' OR A.BALCO LIKE '312200%' ");
        QTest::newRow("caixa 1275")
            << cashBalanceQuery(p0, QStringLiteral("1275"))
            << mended(head + body + like + close + where + "AND (A.BALCO LIKE '311400%') ");
        QTest::newRow("caixa 1276")
            << cashBalanceQuery(p0, QStringLiteral("1276"))
            << mended(head + body + like + close + where + "AND (A.BALCO LIKE '311500%') ");
        QTest::newRow("caixa 1277")
            << cashBalanceQuery(p0, QStringLiteral("1277"))
            << mended(head + body + like + close + where + "AND (A.BALCO = '-1') ");
        QTest::newRow("caixa 1278")
            << cashBalanceQuery(p0, QStringLiteral("1278"))
            << mended(head + body + like + close + where + "AND (A.BALCO = '-1') ");
        QTest::newRow("caixa id desconhecido") << cashBalanceQuery(p0, QStringLiteral("3633")) << QString();

        // Credit operations.
        QTest::newRow("operacao de credito entidade 7")
            << creditOperationQuery(p7, QStringLiteral("009"), QStringLiteral("1.10"))
            << "SELECT COALESCE(SUM(A.VAREC),0) AS VALOR FROM RECEIT A INNER JOIN RECDIS B ON B.FICHA = A.FICHA WHERE "
               "EXTRACT(MONTH FROM A.DTREC) IN ('05','06') AND EXTRACT(YEAR FROM A.DTREC) = (SELECT MEXER FROM "
               "CADCLI) AND B.GRUPO_TCE = '009' AND B.COD_TCE = '1.10' ";
    }

    void queryTexts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_GUILESS_MAIN(TestSectionsTwo)
#include "tst_sections_two.moc"
