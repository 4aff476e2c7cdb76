// The revenue, expense, function/subfunction, deduction, education and health
// sections on a small accounting database whose amounts are computed by hand
// below, and the exact texts of their queries.

#include "SectionTestSupport.h"
#include "capture/CaptureDocument.h"
#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "common/Progress.h"
#include "db/Firebird.h"
#include "db/Schema.h"
#include "generation/Amounts.h"
#include "generation/Generator.h"
#include "generation/Section.h"
#include "generation/sections/RevenueSection.h"
#include "generation/sections/SectionQueries.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace orven;
using namespace orven::generation;

namespace {

const QString kConnection = QStringLiteral("tst_sections_one");

// Forwards to the database and keeps every request.
class RecordingSource final : public AmountSource {
public:
    explicit RecordingSource(AmountSource &inner) : m_inner(inner) {}
    QList<double> amounts(const AmountRequest &r) override
    {
        requests << r;
        return m_inner.amounts(r);
    }
    QList<QVariantList> rows(const QString &sql) override { return m_inner.rows(sql); }
    qint64 queryCount() const override { return requests.size(); }
    QList<AmountRequest> requests;

private:
    AmountSource &m_inner;
};

// The fixture: exercise year 2008, entities 1 and 7; the third bimester (May
// and June) is the one the cases run. Every timestamp at 14:00 on the last day
// of a month must count in that month; the first day of the next month in the
// next one.
QStringList fixtureRows()
{
    QStringList s;
    s << "INSERT INTO CADCLI (CGC, CLNT1, MEXER) VALUES ('00.000.000/0001-00', 'PREFEITURA', '2008')"
      << "INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (1, 'PREFEITURA')"
      << "INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (7, 'CAMARA')";

    auto recdis = [&s](int ficha, const char *balco, const char *grupo, const char *cod, int empresa, double totor) {
        s << QStringLiteral("INSERT INTO RECDIS (FICHA, CODRE, VINGRUPO, VINCODIGO, EXTRA, BALCO_TCE, GRUPO_TCE, "
                            "COD_TCE, EMPRESA, TOTOR) VALUES (%1, 'R%1', '001', '001', 'N', %2, %3, %4, %5, %6)")
                 .arg(ficha)
                 .arg(balco ? QStringLiteral("'%1'").arg(QLatin1String(balco)) : QStringLiteral("NULL"),
                      grupo ? QStringLiteral("'%1'").arg(QLatin1String(grupo)) : QStringLiteral("NULL"),
                      cod ? QStringLiteral("'%1'").arg(QLatin1String(cod)) : QStringLiteral("NULL"))
                 .arg(empresa)
                 .arg(totor, 0, 'f', 2);
    };
    int pkrec = 0, pkralt = 0;
    auto receit = [&](int ficha, const char *when, double v) {
        s << QStringLiteral("INSERT INTO RECEIT (PKREC, FICHA, DTREC, VAREC) VALUES (%1, %2, '%3', %4)")
                 .arg(++pkrec).arg(ficha).arg(QLatin1String(when)).arg(v, 0, 'f', 2);
    };
    auto recalt = [&](int ficha, const char *when, double v) {
        s << QStringLiteral("INSERT INTO RECALT (PKALT, FICHA, DATA, VALOR) VALUES (%1, %2, '%3', %4)")
                 .arg(++pkralt).arg(ficha).arg(QLatin1String(when)).arg(v, 0, 'f', 2);
    };
    auto desdis = [&s](int ficha, const char *balco, const char *grupo, const char *cod, const char *funcao,
                       const char *subfuncao, int empresa, double dotac) {
        auto lit = [](const char *t) { return t ? QStringLiteral("'%1'").arg(QLatin1String(t)) : QStringLiteral("NULL"); };
        s << QStringLiteral("INSERT INTO DESDIS (FICHA, PODER, ORGAO, UNIDADE, VINGRUPO, VINCODIGO, EXTRA, BALCO_TCE, "
                            "GRUPO_TCE, COD_TCE, FUNCAO, SUBFUNCAO, EMPRESA, DOTAC) VALUES (%1, '01', '001', '01', "
                            "'001', '001', 'N', %2, %3, %4, %5, %6, %7, %8)")
                 .arg(ficha)
                 .arg(lit(balco), lit(grupo), lit(cod), lit(funcao), lit(subfuncao))
                 .arg(empresa)
                 .arg(dotac, 0, 'f', 2);
    };
    int pkalt = 0, pkorc = 0;
    auto desalt = [&](int ficha, const char *when, double v) {
        s << QStringLiteral("INSERT INTO DESALT (PKALT, FICHA, DATA, VALOR) VALUES (%1, %2, '%3', %4)")
                 .arg(++pkalt).arg(ficha).arg(QLatin1String(when)).arg(v, 0, 'f', 2);
    };
    auto desorc = [&](int ficha, int empresa, double v) {
        s << QStringLiteral("INSERT INTO DESORC (PKORC, FICHA, DOTAC, EMPRESA) VALUES (%1, %2, %3, %4)")
                 .arg(++pkorc).arg(ficha).arg(v, 0, 'f', 2).arg(empresa);
    };
    auto despes = [&s](int pkemp, int ficha, const char *when, double v, const char *tpem = "OR") {
        s << QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, FICHA, VADEM, CODIF, VINGRUPO, "
                            "VINCODIGO) VALUES (%1, %1, '%2', '%3', %4, %5, 1, '001', '001')")
                 .arg(pkemp).arg(QLatin1String(tpem), QLatin1String(when)).arg(ficha).arg(v, 0, 'f', 2);
    };
    int pkliq = 0, pkpag = 0;
    auto liquida = [&](int pkemp, const char *when, double v) {
        s << QStringLiteral("INSERT INTO LIQUIDA (PKLIQ, PKEMP, DATAL, VALIQ) VALUES (%1, %2, '%3', %4)")
                 .arg(++pkliq).arg(pkemp).arg(QLatin1String(when)).arg(v, 0, 'f', 2);
    };
    auto pagamento = [&](int pkemp, const char *when, double v) {
        s << QStringLiteral("INSERT INTO PAGAMENTO (PKPAG, PKEMP, DTPAG, VAPAG) VALUES (%1, %2, '%3', %4)")
                 .arg(++pkpag).arg(pkemp).arg(QLatin1String(when)).arg(v, 0, 'f', 2);
    };

    // Revenue account 1.1.12.02.00: ficha 1 (entity 1), ficha 2 (entity 7).
    //   updated budget May 100+20+200 = 320, June 100+20+30+200 = 350
    //   collected May 10+5+50 = 65, June 7-2 = 5
    recdis(1, "1.1.12.02.00", nullptr, nullptr, 1, 100);
    recalt(1, "10.05.2008", 20);
    recalt(1, "15.06.2008", 30);
    receit(1, "30.04.2008 23:00", 1000); // April
    receit(1, "01.05.2008 00:00", 10);
    receit(1, "31.05.2008 14:00", 5);
    receit(1, "01.06.2008 00:00", 7);
    receit(1, "20.06.2008 09:00", -2); // refund
    recdis(2, "1.1.12.02.00", nullptr, nullptr, 7, 200);
    receit(2, "15.05.2008 10:00", 50);
    // A negative budget.
    recdis(3, "1.9.99.99.00", nullptr, nullptr, 1, -50);

    // Deductions 9.17.12.07.00: ficha 10 (entity 1), ficha 11 (entity 7).
    recdis(10, "9.17.12.07.00", nullptr, nullptr, 1, -3000);
    recalt(10, "02.05.2008", -500);
    receit(10, "31.05.2008 14:00", -1500);
    receit(10, "01.06.2008 00:00", -100);
    recdis(11, "9.17.12.07.00", nullptr, nullptr, 7, -400);
    receit(11, "15.05.2008", -40);

    // Expense element 3.1.90.11.00: ficha 100 (entity 1, function 10,
    // subfunction 301), ficha 101 (entity 7, function 10, subfunction 302).
    desdis(100, "3.1.90.11.00", nullptr, nullptr, "10", "301", 1, 0);
    desdis(101, "3.1.90.11.00", nullptr, nullptr, "10", "302", 7, 0);
    despes(1, 100, "01.05.2008 00:00", 1000);
    despes(2, 100, "31.05.2008 14:00", 250);
    despes(3, 100, "01.06.2008 00:00", 400);
    despes(4, 100, "15.06.2008 10:00", -550, "AN"); // more annulled than committed in June
    despes(5, 101, "20.05.2008 08:00", 300);
    despes(6, 100, "30.04.2008 23:59", 9999); // April
    despes(7, 100, "15.05.2007 12:00", 777);  // a year earlier
    liquida(1, "31.05.2008 14:00", 600);
    liquida(2, "01.06.2008 00:00", 250);
    liquida(5, "10.05.2008 11:00", 300);
    liquida(7, "15.05.2007 12:00", 777);
    liquida(1, "10.06.2008 16:00", -100); // reversal
    pagamento(1, "31.05.2008 14:00", 500);
    pagamento(2, "01.06.2008 00:00", 250);
    pagamento(5, "30.06.2008 23:59:59", 300);
    pagamento(1, "01.07.2008 00:00", 100); // July
    desorc(100, 1, 5000);
    desorc(101, 7, 2000);

    // Education expense, group 205: code 1.10 on fichas 200 (entity 1) and 202
    // (entity 7); code 1.1 on ficha 201.
    desdis(200, nullptr, "205", "1.10", nullptr, nullptr, 1, 10000);
    desdis(201, nullptr, "205", "1.1", nullptr, nullptr, 1, 777);
    desdis(202, nullptr, "205", "1.10", nullptr, nullptr, 7, 3000);
    desalt(200, "31.05.2008 14:00", 1000);
    desalt(200, "01.06.2008 00:00", 500);
    despes(20, 200, "02.05.2008", 5000);
    despes(21, 202, "03.05.2008", 2000);
    despes(22, 200, "10.05.2007", 800);
    liquida(20, "31.05.2008 14:00", 1200);
    liquida(21, "15.06.2008 10:00", 700);
    liquida(22, "20.05.2007 10:00", 800); // May of an earlier year
    liquida(20, "01.06.2008 00:00", 300);
    desorc(200, 1, 9000);
    desorc(201, 1, 111);
    desorc(202, 7, 2500);
    // Education revenue, group 105, code 6.00: fichas 50 (entity 1), 51 (entity 7).
    recdis(50, nullptr, "105", "6.00", 1, 8000);
    receit(50, "31.05.2008 14:00", 800);
    receit(50, "01.06.2008 00:00", 900);
    s << "INSERT INTO RECORC (FICHA, BIMESTRE, TOTOR, EMPRESA) VALUES (50, 1, 3000, 1)"
      << "INSERT INTO RECORC (FICHA, BIMESTRE, TOTOR, EMPRESA) VALUES (50, 2, 5000, 1)";
    recdis(51, nullptr, "105", "6.00", 7, 2000);
    receit(51, "10.05.2008", 100);
    s << "INSERT INTO RECORC (FICHA, BIMESTRE, TOTOR, EMPRESA) VALUES (51, 1, 2000, 7)";

    // Health expense, group 206, code 1.11: fichas 300 (entity 1), 301 (entity 7).
    desdis(300, nullptr, "206", "1.11", nullptr, nullptr, 1, 4000);
    desdis(301, nullptr, "206", "1.11", nullptr, nullptr, 7, 600);
    desalt(300, "15.06.2008", -250);
    despes(30, 300, "05.05.2008", 1500);
    liquida(30, "30.06.2008 14:00", 1500);
    liquida(30, "01.07.2008 00:00", 99);
    desorc(300, 1, 4000);
    desorc(301, 7, 600);
    // Health revenue, group 106, code 1.10: fichas 60 (entity 1), 61 (entity 7).
    recdis(60, nullptr, "106", "1.10", 1, 6000);
    recalt(60, "20.06.2008", 600);
    receit(60, "31.05.2008 14:00", 300);
    recdis(61, nullptr, "106", "1.10", 7, 1000);
    receit(61, "30.06.2008 14:00", 50);
    return s;
}

using orven::test::periodsText;
using orven::test::sectionFor;

} // namespace

class TestSectionsOne : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<SqlAmountSource> m_source;

    struct Filled {
        QString periods;
        QList<AmountRequest> requests;
    };

    // Runs the section of `cadastro` for one account, as the walk does.
    Filled fill(const QString &cadastro, const QString &opcaoName, const QString &kind, const QString &tipoValue,
                const QString &tipoId, const QString &contaValue, int entity, const QString &periodProperties)
    {
        catalogue::Conta conta{QStringLiteral("Conta"), contaValue, QStringLiteral("1"), periodProperties};
        catalogue::Tipo tipo{QStringLiteral("Tipo"), tipoValue, tipoId, {conta}};
        catalogue::Opcao opcao{opcaoName, kind, {tipo}};
        catalogue::Cadastro cad{cadastro, {opcao}};
        capture::CaptureDocument doc;
        auto contaElement = doc.sistema().add().add().add().add();
        RecordingSource db(*m_source);
        auto params = RunParameters::forBimester(3, QStringLiteral("2008"), entity, m_dir.path() + "/");
        SectionContext ctx{params, cad, cad.opcoes[0], cad.opcoes[0].tipos[0], cad.opcoes[0].tipos[0].contas[0],
                           contaElement, db, [] {}};
        auto section = sectionFor(cadastro);
        if (!section)
            throw Error(QStringLiteral("sem seção para ") + cadastro);
        section->fill(ctx);
        return {periodsText(contaElement), db.requests};
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
        for (const QString &statement : fixtureRows()) {
            QSqlQuery q(db);
            QVERIFY2(q.exec(statement), qPrintable(q.lastError().text() + "\n" + statement));
        }
        m_source = std::make_unique<SqlAmountSource>(db);
    }

    void cleanupTestCase()
    {
        m_source.reset();
        QSqlDatabase::database(kConnection, false).close();
        QSqlDatabase::removeDatabase(kConnection);
    }

    // Every branch of every section against the fixture. `queryEnd` is how
    // every query of the account ends: "' " without an entity, the section's
    // entity condition otherwise.
    void fillsAccounts_data()
    {
        QTest::addColumn<QString>("cadastro");
        QTest::addColumn<QString>("opcao");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("tipoValue");
        QTest::addColumn<QString>("tipoId");
        QTest::addColumn<QString>("conta");
        QTest::addColumn<int>("entity");
        QTest::addColumn<QString>("props");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("queries");
        QTest::addColumn<QString>("queryEnd");

        const QString none = QStringLiteral("' ");
        const QString rec = QStringLiteral("Receitas");
        const QString realizada = QStringLiteral("Receita Realizada e Atualizada");
        const QString mov = QStringLiteral("movimento");
        const QString orc = QStringLiteral("orcado");
        const QString iptu = QStringLiteral("1.1.12.02.00   ");

        // Revenue.
        QTest::newRow("receita movimento consolidado")
            << rec << realizada << mov << "101" << "53" << iptu << 0 << "1"
            << "1:valor_atualizado=320.00,valor_realizado=65.00|1:valor_atualizado=350.00,valor_realizado=5.00" << 2
            << none;
        QTest::newRow("receita movimento entidade 1")
            << rec << realizada << mov << "101" << "53" << iptu << 1 << "1"
            << "1:valor_atualizado=120.00,valor_realizado=15.00|1:valor_atualizado=150.00,valor_realizado=5.00" << 2
            << " and b.empresa = '1'";
        QTest::newRow("receita movimento entidade 7")
            << rec << realizada << mov << "101" << "53" << iptu << 7 << "1"
            << "1:valor_atualizado=200.00,valor_realizado=50.00|1:valor_atualizado=200.00,valor_realizado=0.00" << 2
            << " and b.empresa = '7'";
        QTest::newRow("receita cancelada como a realizada")
            << rec << "Receita Cancelada" << mov << "101" << "53" << iptu << 7 << "1"
            << "1:valor_atualizado=200.00,valor_realizado=50.00|1:valor_atualizado=200.00,valor_realizado=0.00" << 2
            << " and b.empresa = '7'";
        QTest::newRow("receita sem registros")
            << rec << realizada << mov << "101" << "53" << "1.1.12.08.00" << 0 << "1"
            << "1:valor_atualizado=0.00,valor_realizado=0.00|1:valor_atualizado=0.00,valor_realizado=0.00" << 2
            << none;
        QTest::newRow("superavit verificado periodos 0")
            << rec << "Superávit Financeiro Verificado" << mov << "107" << "72" << "2.000.000" << 0 << "0"
            << "0:valor_atualizado=0.00,valor_realizado=0.00|0:valor_atualizado=0.00,valor_realizado=0.00" << 2
            << none;
        QTest::newRow("receita orcamento consolidado")
            << rec << "Receita Orçamento" << orc << "101" << "53" << iptu << 0 << "2"
            << "2:valor_orcado=50.00|2:valor_orcado=50.00|2:valor_orcado=50.00|2:valor_orcado=50.00|"
               "2:valor_orcado=50.00|2:valor_orcado=50.00"
            << 1 << none;
        QTest::newRow("receita orcamento 100 dividido")
            << rec << "Receita Orçamento" << orc << "101" << "53" << iptu << 1 << "2"
            << "2:valor_orcado=16.65|2:valor_orcado=16.67|2:valor_orcado=16.67|2:valor_orcado=16.67|"
               "2:valor_orcado=16.67|2:valor_orcado=16.67"
            << 1 << " and b.empresa = '1'";
        QTest::newRow("receita orcamento 200 dividido")
            << rec << "Receita Orçamento" << orc << "101" << "53" << iptu << 7 << "2"
            << "2:valor_orcado=33.35|2:valor_orcado=33.33|2:valor_orcado=33.33|2:valor_orcado=33.33|"
               "2:valor_orcado=33.33|2:valor_orcado=33.33"
            << 1 << " and b.empresa = '7'";
        QTest::newRow("receita orcamento negativo")
            << rec << "Receita Orçamento" << orc << "101" << "53" << "1.9.99.99.00" << 0 << "2"
            << "2:valor_orcado=0.00|2:valor_orcado=0.00|2:valor_orcado=0.00|2:valor_orcado=0.00|"
               "2:valor_orcado=0.00|2:valor_orcado=0.00"
            << 1 << none;
        QTest::newRow("receita outra especie") << rec << "Outra" << "restopagarmovimento" << "101" << "53" << iptu
                                               << 0 << "1" << "" << 0 << none;

        // Expense.
        const QString des = QStringLiteral("Despesas");
        const QString elemento = QStringLiteral("3.1.90.11.00 ");
        QTest::newRow("despesa movimento consolidado")
            << des << "Despesa Realizada" << mov << "201" << "58" << elemento << 0 << "1"
            << "1:valor_empenhado=1550.00,valor_liquidado=900.00,valor_realizado=500.00|"
               "1:valor_empenhado=-150.00,valor_liquidado=150.00,valor_realizado=550.00"
            << 6 << none;
        QTest::newRow("despesa anulada como a realizada")
            << des << "Despesa Anulada" << mov << "201" << "58" << elemento << 1 << "1"
            << "1:valor_empenhado=1250.00,valor_liquidado=600.00,valor_realizado=500.00|"
               "1:valor_empenhado=-150.00,valor_liquidado=150.00,valor_realizado=250.00"
            << 6 << " and b.empresa = '1'";
        QTest::newRow("despesa movimento entidade 7")
            << des << "Despesa Realizada" << mov << "201" << "58" << elemento << 7 << "1"
            << "1:valor_empenhado=300.00,valor_liquidado=300.00,valor_realizado=0.00|"
               "1:valor_empenhado=0.00,valor_liquidado=0.00,valor_realizado=300.00"
            << 6 << " and b.empresa = '7'";
        QTest::newRow("despesa sem registros")
            << des << "Crédito Adicional da Despesa" << mov << "201" << "58" << "3.3.90.39.00" << 0 << "1"
            << "1:valor_empenhado=0.00,valor_liquidado=0.00,valor_realizado=0.00|"
               "1:valor_empenhado=0.00,valor_liquidado=0.00,valor_realizado=0.00"
            << 6 << none;
        QTest::newRow("despesa orcamento consolidado") << des << "Despesa Orçamento" << orc << "201" << "58"
                                                       << elemento << 0 << "0" << "0:valor_orcado=7000.00" << 1 << none;
        QTest::newRow("despesa orcamento entidade 7")
            << des << "Despesa Orçamento" << orc << "201" << "58" << elemento << 7 << "0" << "0:valor_orcado=2000.00"
            << 1 << " and b.empresa = '7'";
        QTest::newRow("programacao financeira") << des << "Programação Financeira" << "programacaofinanceira"
                                                << "#TIPO" << "0" << "#ENTIDADE" << 7 << "1" << "" << 0 << none;
        QTest::newRow("despesa ppp") << des << "De Caráter Continuado Derivada das PPP" << "despesappp" << "0"
                                     << "0" << "#DESCRICAO" << 0 << "0" << "" << 0 << none;

        // Function/subfunction: May and June together.
        const QString fun = QStringLiteral("Despesas por Função/Subfunção");
        const QString funReal = QStringLiteral("Despesa por Função/Subfunção - Realizado");
        const QString funKind = QStringLiteral("funcaosubrealizado");
        QTest::newRow("funcao 10 subfuncao 301")
            << fun << funReal << funKind << "10" << "#REALIZADOANULADO" << "301  " << 0 << "1"
            << "1:valor_empenhado=1100.00,valor_liquidado=750.00,valor_realizado=750.00" << 3 << none;
        QTest::newRow("funcao 10 subfuncao 301 entidade 7")
            << fun << funReal << funKind << "10" << "#REALIZADOANULADO" << "301" << 7 << "1"
            << "1:valor_empenhado=0.00,valor_liquidado=0.00,valor_realizado=0.00" << 3 << " and b.empresa = '7'";
        QTest::newRow("funcao 10 subfuncao 302 entidade 7")
            << fun << funReal << funKind << "10" << "#REALIZADOANULADO" << "302" << 7 << "1"
            << "1:valor_empenhado=300.00,valor_liquidado=300.00,valor_realizado=300.00" << 3
            << " and b.empresa = '7'";
        QTest::newRow("funcao marcadores")
            << fun << funReal << funKind << "#CODFUNCAO" << "#REALIZADOANULADO" << "#CODSUBFUNCAO" << 0 << "1"
            << "1:valor_empenhado=0.00,valor_liquidado=0.00,valor_realizado=0.00" << 0 << none;
        QTest::newRow("funcao anulada") << fun << "Despesa por Função/Subfunção - Anulada" << funKind << "10"
                                        << "#REALIZADOANULADO" << "301" << 0 << "1" << "" << 0 << none;
        QTest::newRow("funcao orcado") << fun << "Despesa por Função/Subfunção - Orçado " << "funcaosuborcado"
                                       << "10" << "0" << "301" << 0 << "0" << "" << 0 << none;

        // FUNDEB deductions: negated.
        const QString ded = QStringLiteral("Deduções");
        const QString dedMov = QStringLiteral("Deduções para o Fundef Realizadas e Atualizadas");
        const QString dedOrc = QStringLiteral("Orçamento de Deduções para o FUNDEF");
        const QString itcmd = QStringLiteral("9.17.12.07.00");
        QTest::newRow("deducao movimento consolidado")
            << ded << dedMov << mov << "001" << "62" << itcmd << 0 << "1"
            << "1:valor_atualizado=3900.00,valor_realizado=1540.00|1:valor_atualizado=3900.00,valor_realizado=100.00"
            << 2 << none;
        QTest::newRow("deducao movimento entidade 1")
            << ded << dedMov << mov << "001" << "62" << itcmd << 1 << "1"
            << "1:valor_atualizado=3500.00,valor_realizado=1500.00|1:valor_atualizado=3500.00,valor_realizado=100.00"
            << 2 << " and b.empresa = '1'";
        QTest::newRow("deducao sem registros")
            << ded << dedMov << mov << "001" << "62" << "9.17.12.99.00" << 0 << "1"
            << "1:valor_atualizado=0.00,valor_realizado=0.00|1:valor_atualizado=0.00,valor_realizado=0.00" << 2
            << none;
        QTest::newRow("deducao orcamento consolidado")
            << ded << dedOrc << orc << "001" << "62" << itcmd << 0 << "0" << "0:valor_orcado=3400.00" << 1 << none;
        QTest::newRow("deducao orcamento entidade 7") << ded << dedOrc << orc << "001" << "62" << itcmd << 7 << "0"
                                                      << "0:valor_orcado=400.00" << 1 << " and b.empresa = '7'";

        // Education.
        const QString edu = QStringLiteral("Educação");
        const QString eduDes = QStringLiteral("Educação - Despesa Liquidada e Atualizada");
        QTest::newRow("educacao despesa consolidado")
            << edu << eduDes << mov << "205" << "35" << "1.10" << 0 << "1"
            << "1:valor_atualizado=14000.00,valor_liquidado=1200.00|1:valor_atualizado=14500.00,valor_liquidado=1000.00"
            << 4 << none;
        QTest::newRow("educacao despesa anulada entidade 7")
            << edu << "Educação - Despesa Anulada" << mov << "205" << "35" << "1.10" << 7 << "1"
            << "1:valor_atualizado=3000.00,valor_liquidado=0.00|1:valor_atualizado=3000.00,valor_liquidado=700.00"
            << 4 << " and B.empresa = '7'";
        QTest::newRow("educacao despesa codigo 1.1")
            << edu << eduDes << mov << " 205 " << "35" << "1.1" << 0 << "1"
            << "1:valor_atualizado=777.00,valor_liquidado=0.00|1:valor_atualizado=777.00,valor_liquidado=0.00" << 4
            << none;
        QTest::newRow("educacao despesa sem registros")
            << edu << eduDes << mov << "205" << "35" << "9.99" << 0 << "1"
            << "1:valor_atualizado=0.00,valor_liquidado=0.00|1:valor_atualizado=0.00,valor_liquidado=0.00" << 4
            << none;
        QTest::newRow("educacao despesa orcada consolidado") << edu << "Educação - Despesa Orçada" << orc << "205"
                                                             << "35" << "1.10" << 0 << "0"
                                                             << "0:valor_orcado=11500.00" << 1 << none;
        QTest::newRow("educacao despesa orcada entidade 7")
            << edu << "Educação - Despesa Orçada" << orc << "205" << "35" << "1.10" << 7 << "0"
            << "0:valor_orcado=2500.00" << 1 << " AND DESORC.EMPRESA = '7'";
        QTest::newRow("educacao despesa orcada sem registros") << edu << "Educação - Despesa Orçada" << orc << "205"
                                                               << "35" << "9.99" << 0 << "0"
                                                               << "0:valor_orcado=0.00" << 1 << none;
        QTest::newRow("educacao receita consolidado")
            << edu << "Educação - Receita Realizada e Atualizada" << mov << "105" << "29" << "6.00" << 0 << "1"
            << "1:valor_atualizado=10000.00,valor_realizado=900.00|1:valor_atualizado=10000.00,valor_realizado=900.00"
            << 2 << none;
        QTest::newRow("educacao receita cancelada entidade 7")
            << edu << "Educação - Receita Cancelada" << mov << "105" << "29" << "6.00" << 7 << "1"
            << "1:valor_atualizado=2000.00,valor_realizado=100.00|1:valor_atualizado=2000.00,valor_realizado=0.00"
            << 2 << " and b.empresa = '7'";
        QTest::newRow("educacao receita orcada consolidado") << edu << "Educação - Receita Orçada" << orc << "105"
                                                             << "29" << "6.00" << 0 << "0"
                                                             << "0:valor_orcado=10000.00" << 1 << none;
        QTest::newRow("educacao receita orcada entidade 1")
            << edu << "Educação - Receita Orçada" << orc << "105" << "29" << "6.00" << 1 << "0"
            << "0:valor_orcado=8000.00" << 1 << " and A.empresa = '1'";
        QTest::newRow("educacao ids do catalogo de referencia")
            << edu << eduDes << mov << "205" << "60" << "1.10" << 0 << "1" << "" << 0 << none;
        QTest::newRow("educacao outra especie")
            << edu << eduDes << "restopagarmovimento" << "205" << "35" << "1.10" << 0 << "1" << "" << 0 << none;

        // Health.
        const QString sau = QStringLiteral("Saúde");
        const QString sauDes = QStringLiteral("Saúde - Despesa Liquidada e Atualizada");
        QTest::newRow("saude despesa consolidado")
            << sau << sauDes << mov << "206" << "36" << "1.11" << 0 << "1"
            << "1:valor_atualizado=4600.00,valor_liquidado=0.00|1:valor_atualizado=4350.00,valor_liquidado=1500.00"
            << 4 << none;
        QTest::newRow("saude despesa anulada entidade 7")
            << sau << "Saúde - Despesa Anulada " << mov << "206" << "36" << "1.11" << 7 << "1"
            << "1:valor_atualizado=600.00,valor_liquidado=0.00|1:valor_atualizado=600.00,valor_liquidado=0.00" << 4
            << " and B.empresa = '7'";
        QTest::newRow("saude despesa orcada entidade 1")
            << sau << "Saúde - Despesa Orçada" << orc << "206" << "36" << "1.11" << 1 << "0"
            << "0:valor_orcado=4000.00" << 1 << " and DESORC.EMPRESA = '1'";
        QTest::newRow("saude despesa orcada consolidado") << sau << "Saúde - Despesa Orçada" << orc << "206" << "36"
                                                         << "1.11" << 0 << "0" << "0:valor_orcado=4600.00" << 1
                                                         << none;
        QTest::newRow("saude receita consolidado")
            << sau << "Saúde - Receita Realizada e Atualizada" << mov << "106" << "30" << "1.10" << 0 << "1"
            << "1:valor_atualizado=7000.00,valor_realizado=300.00|1:valor_atualizado=7600.00,valor_realizado=50.00"
            << 2 << none;
        QTest::newRow("saude receita cancelada entidade 7")
            << sau << "Saúde - Receita Cancelada" << mov << "106" << "30" << "1.10" << 7 << "1"
            << "1:valor_atualizado=1000.00,valor_realizado=0.00|1:valor_atualizado=1000.00,valor_realizado=50.00"
            << 2 << " AND B.EMPRESA = '7'";
        QTest::newRow("saude receita orcada consolidado") << sau << "Saúde - Receita Orçada" << orc << "106" << "30"
                                                          << "1.10" << 0 << "0" << "0:valor_orcado=7000.00" << 1
                                                          << none;
        QTest::newRow("saude receita orcada entidade 7")
            << sau << "Saúde - Receita Orçada" << orc << "106" << "30" << "1.10" << 7 << "0"
            << "0:valor_orcado=1000.00" << 1 << " AND b.EMPRESA = '7'";
        QTest::newRow("saude receita sem registros")
            << sau << "Saúde - Receita Realizada e Atualizada" << mov << "106" << "30" << "9.99" << 0 << "1"
            << "1:valor_atualizado=0.00,valor_realizado=0.00|1:valor_atualizado=0.00,valor_realizado=0.00" << 2
            << none;
        QTest::newRow("saude ids do catalogo de referencia")
            << sau << sauDes << mov << "206" << "61" << "1.11" << 0 << "1" << "" << 0 << none;
    }

    void fillsAccounts()
    {
        QFETCH(QString, cadastro);
        QFETCH(QString, opcao);
        QFETCH(QString, kind);
        QFETCH(QString, tipoValue);
        QFETCH(QString, tipoId);
        QFETCH(QString, conta);
        QFETCH(int, entity);
        QFETCH(QString, props);
        QFETCH(QString, expected);
        QFETCH(int, queries);
        QFETCH(QString, queryEnd);

        Filled f;
        try {
            f = fill(cadastro, opcao, kind, tipoValue, tipoId, conta, entity, props);
        } catch (const Error &e) {
            QFAIL(qPrintable(e.message()));
        }
        QCOMPARE(f.periods, expected);
        QCOMPARE(f.requests.size(), queries);
        for (const AmountRequest &r : f.requests) {
            QVERIFY2(r.sql.endsWith(queryEnd), qPrintable(r.sql));
            QCOMPARE(r.entity, entity);
            QVERIFY(!r.section.isEmpty() && !r.measure.isEmpty() && !r.account.isEmpty());
        }
    }

    // The query texts, with the entity condition naming the table's alias
    // and the end of the month compared by its date part.
    void queryTexts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        auto params = [](int entity, const char *year = "2008") {
            auto p = RunParameters::forBimester(3, QLatin1String(year), entity, QString());
            return p;
        };
        const auto p0 = params(0);
        const auto p7 = params(7);

        struct Case {
            const char *name;
            std::function<QString(const RunParameters &)> build;
            QString text;       // without an entity
            QString condition;  // appended for entity 7
        };
        const QList<Case> cases = {
            {"receita mes", [](const RunParameters &p) {
                 return sql::revenueQuery(p, "1.1.12.02.00", "05", "31.05.2008", "orcada_atual"); },
             "select coalesce(sum(a.orcada_atual),0) as atualizada, coalesce(sum(a.mes),0) as realizada from "
             "receita_nivel ('01.05.2008','31.05.2008') A inner join recdis b on b.ficha = a.ficha where "
             "b.balco_tce = '1.1.12.02.00' ",
             " and b.empresa = '7'"},
            {"receita orcamento", [](const RunParameters &p) {
                 return sql::revenueQuery(p, "1.1.12.02.00", "05", "30.06.2008", "orcada_inicial"); },
             "select coalesce(sum(a.orcada_inicial),0) as atualizada, coalesce(sum(a.mes),0) as realizada from "
             "receita_nivel ('01.05.2008','30.06.2008') A inner join recdis b on b.ficha = a.ficha where "
             "b.balco_tce = '1.1.12.02.00' ",
             " and b.empresa = '7'"},
            {"despesa empenhado", [](const RunParameters &p) {
                 return sql::expenseCommittedQuery(p, "3.1.90.11.00", "05", "31.05.2008"); },
             "SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO FROM DESPES A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
             "WHERE B.BALCO_TCE = '3.1.90.11.00' AND A.DATAE >= '01.05.2008' AND CAST(A.DATAE AS DATE) <= "
             "'31.05.2008' ",
             " and b.empresa = '7'"},
            {"despesa liquidado", [](const RunParameters &p) {
                 return sql::expenseLiquidatedQuery(p, "3.1.90.11.00", "05", "31.05.2008"); },
             "SELECT COALESCE(SUM(A.VADEM),0) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
             "WHERE B.BALCO_TCE = '3.1.90.11.00' AND A.DATAE >= '01.05.2008' AND CAST(A.DATAE AS DATE) <= "
             "'31.05.2008' ",
             " and b.empresa = '7'"},
            {"despesa realizado", [](const RunParameters &p) {
                 return sql::expensePaidQuery(p, "3.1.90.11.00", "05", "31.05.2008"); },
             "SELECT COALESCE(SUM(A.VAPAG),0) AS REALIZADO FROM VIEWVAPAG A INNER JOIN DESDIS B ON B.FICHA = "
             "A.FICHA WHERE B.BALCO_TCE = '3.1.90.11.00' AND A.DTPAG >= '01.05.2008' AND CAST(A.DTPAG AS DATE) <= "
             "'31.05.2008' ",
             " and b.empresa = '7'"},
            {"despesa orcada", [](const RunParameters &p) { return sql::expenseBudgetQuery(p, "3.1.90.11.00"); },
             "SELECT COALESCE(SUM(A.DOTAC),0) AS ORCADA FROM DESORC A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
             "WHERE B.BALCO_TCE = '3.1.90.11.00' ",
             " and b.empresa = '7'"},
            {"funcao empenhado", [](const RunParameters &p) {
                 return sql::functionCommittedQuery(p, "10", "301", "05", "30.06.2008"); },
             "SELECT COALESCE(SUM(A.VADEM),0) AS EMPENHADO FROM DESPES A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
             "WHERE B.FUNCAO = '10' AND B.SUBFUNCAO = '301' AND A.DATAE >= '01.05.2008' AND CAST(A.DATAE AS DATE) "
             "<= '30.06.2008' ",
             " and b.empresa = '7'"},
            {"funcao liquidado", [](const RunParameters &p) {
                 return sql::functionLiquidatedQuery(p, "10", "301", "05", "30.06.2008"); },
             "SELECT COALESCE(SUM(A.VADEM),0) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESDIS B ON B.FICHA = A.FICHA "
             "WHERE B.FUNCAO = '10' AND B.SUBFUNCAO = '301' AND A.DATAE >= '01.05.2008' AND CAST(A.DATAE AS DATE) "
             "<= '30.06.2008' ",
             " and b.empresa = '7'"},
            {"funcao realizado", [](const RunParameters &p) {
                 return sql::functionPaidQuery(p, "10", "301", "05", "30.06.2008"); },
             "SELECT COALESCE(SUM(A.VAPAG),0) AS REALIZADO FROM VIEWVAPAG A INNER JOIN DESDIS B ON B.FICHA = "
             "A.FICHA WHERE B.FUNCAO = '10' AND B.SUBFUNCAO = '301' AND A.DTPAG >= '01.05.2008' AND CAST(A.DTPAG "
             "AS DATE) <= '30.06.2008' ",
             " and b.empresa = '7'"},
            {"deducao mes", [](const RunParameters &p) {
                 return sql::deductionMonthQuery(p, "9.17.12.07.00", "05", "31.05.2008"); },
             "select coalesce(sum(a.orcada_atual),0) * -1 as atualizada, coalesce(sum(a.mes),0) * -1 as realizada "
             "from receita_nivel ('01.05.2008','31.05.2008') A inner join recdis b on b.ficha = a.ficha where "
             "b.balco_tce = '9.17.12.07.00' ",
             " and b.empresa = '7'"},
            {"deducao orcamento do exercicio", [](const RunParameters &p) {
                 return sql::deductionBudgetQuery(p, "9.17.12.07.00"); },
             "select coalesce(sum(a.orcada_inicial),0) * -1 as atualizada, coalesce(sum(a.mes),0) as realizada "
             "from receita_nivel ('01.01.2008','31.12.2008') A inner join recdis b on b.ficha = a.ficha where "
             "b.balco_tce = '9.17.12.07.00' ",
             " and b.empresa = '7'"},
            {"educacao atualizado", [](const RunParameters &p) {
                 return sql::educationUpdatedQuery(p, "205", "1.10", "05", "31.05.2008"); },
             "SELECT SUM(A.DOTAC) + SUM(A.ALTDO) AS ATUALIZADO FROM DESPESA_NIVEL('01.05.2008','31.05.2008') A "
             "INNER JOIN DESDIS B ON B.FICHA = A.FICHA WHERE B.GRUPO_TCE = '205' AND B.COD_TCE = '1.10' ",
             " and B.empresa = '7'"},
            {"educacao liquidado", [](const RunParameters &p) {
                 return sql::educationLiquidatedQuery(p, "205", "1.10", "05"); },
             "SELECT SUM(A.VADEM) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESDIS B ON B.FICHA = A.FICHA WHERE "
             "EXTRACT(MONTH FROM A.DATAE) = '05' AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) AND "
             "B.GRUPO_TCE = '205' AND B.COD_TCE = '1.10' ",
             " and B.empresa = '7'"},
            {"educacao orcado", [](const RunParameters &p) { return sql::educationBudgetQuery(p, "205", "1.10"); },
             "SELECT SUM(DESORC.DOTAC) AS ORCADO FROM DESORC INNER JOIN DESDIS B ON B.FICHA = DESORC.FICHA WHERE "
             "B.GRUPO_TCE = '205' AND B.COD_TCE = '1.10' ",
             " AND DESORC.EMPRESA = '7'"},
            {"educacao receita", [](const RunParameters &p) {
                 return sql::educationRevenueQuery(p, "105", "6.00", "05", "31.05.2008"); },
             "select coalesce(sum(a.orcada_atual),0) as atualizada, coalesce(sum(a.mes),0) as realizada from "
             "receita_nivel ('01.05.2008','31.05.2008') A inner join recdis b on b.ficha = a.ficha WHERE "
             "B.GRUPO_TCE = '105' AND B.COD_TCE = '6.00' ",
             " and b.empresa = '7'"},
            {"educacao receita orcada", [](const RunParameters &p) {
                 return sql::educationRevenueBudgetQuery(p, "105", "6.00"); },
             "SELECT COALESCE(SUM(A.TOTOR),0) AS ORCADA FROM RECORC A INNER JOIN RECDIS B ON B.FICHA = A.FICHA "
             "WHERE B.GRUPO_TCE = '105' AND B.COD_TCE = '6.00' ",
             " and A.empresa = '7'"},
            {"saude atualizado", [](const RunParameters &p) {
                 return sql::healthUpdatedQuery(p, "206", "1.11", "06", "30.06.2008"); },
             "SELECT SUM(A.DOTAC) + SUM(A.ALTDO) AS ATUALIZADO FROM DESPESA_NIVEL('01.06.2008','30.06.2008') A "
             "INNER JOIN DESDIS B ON B.FICHA = A.FICHA WHERE B.GRUPO_TCE = '206' AND B.COD_TCE = '1.11' ",
             " and B.empresa = '7'"},
            {"saude liquidado", [](const RunParameters &p) {
                 return sql::healthLiquidatedQuery(p, "206", "1.11", "06"); },
             "SELECT SUM(A.VADEM) AS LIQUIDADO FROM VIEWLIQ A INNER JOIN DESDIS B ON B.FICHA = A.FICHA WHERE "
             "EXTRACT(MONTH FROM A.DATAE) = '06' AND EXTRACT(YEAR FROM A.DATAE) = (SELECT MEXER FROM CADCLI) AND "
             "B.GRUPO_TCE = '206' AND B.COD_TCE = '1.11' ",
             " and B.empresa = '7'"},
            {"saude orcado", [](const RunParameters &p) { return sql::healthBudgetQuery(p, "206", "1.11"); },
             "SELECT SUM(DESORC.DOTAC) AS ORCADO FROM DESORC INNER JOIN DESDIS B ON B.FICHA = DESORC.FICHA WHERE "
             "B.GRUPO_TCE = '206' AND B.COD_TCE = '1.11' ",
             " and DESORC.EMPRESA = '7'"},
            {"saude receita", [](const RunParameters &p) {
                 return sql::healthRevenueQuery(p, "106", "1.10", "06", "30.06.2008"); },
             "select coalesce(sum(a.orcada_atual),0) as atualizada, coalesce(sum(a.mes),0) as realizada from "
             "receita_nivel ('01.06.2008','30.06.2008') A inner join recdis b on b.ficha = a.ficha WHERE "
             "B.GRUPO_TCE = '106' AND B.COD_TCE = '1.10' ",
             " AND B.EMPRESA = '7'"},
            {"saude receita orcada", [](const RunParameters &p) {
                 return sql::healthRevenueBudgetQuery(p, "106", "1.10"); },
             "select coalesce(sum(a.orcada_inicial),0) as orcada from receita_nivel ('01.01.2008','31.12.2008') A "
             "inner join recdis b on b.ficha = a.ficha WHERE B.GRUPO_TCE = '106' AND B.COD_TCE = '1.10' ",
             " AND b.EMPRESA = '7'"},
        };
        for (const Case &c : cases) {
            QTest::newRow(qPrintable(QStringLiteral("%1 consolidado").arg(QLatin1String(c.name))))
                << c.build(p0) << c.text;
            QTest::newRow(qPrintable(QStringLiteral("%1 entidade 7").arg(QLatin1String(c.name))))
                << c.build(p7) << c.text + c.condition;
        }
        // The yearly budgets follow the exercise year.
        QTest::newRow("deducao orcamento 2007")
            << sql::deductionBudgetQuery(params(0, "2007"), "9.17.12.07.00")
            << "select coalesce(sum(a.orcada_inicial),0) * -1 as atualizada, coalesce(sum(a.mes),0) as realizada "
               "from receita_nivel ('01.01.2007','31.12.2007') A inner join recdis b on b.ficha = a.ficha where "
               "b.balco_tce = '9.17.12.07.00' ";
        QTest::newRow("saude receita orcada 2009")
            << sql::healthRevenueBudgetQuery(params(12, "2009"), "106", "1.10")
            << "select coalesce(sum(a.orcada_inicial),0) as orcada from receita_nivel ('01.01.2009','31.12.2009') A "
               "inner join recdis b on b.ficha = a.ficha WHERE B.GRUPO_TCE = '106' AND B.COD_TCE = '1.10' "
               " AND b.EMPRESA = '12'";
    }

    void queryTexts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    // Why the entity conditions name the aliases: the engine refuses the
    // table's name once the query has aliased it.
    void tableNameAfterAliasIsRefused()
    {
        AmountRequest r;
        r.sql = sql::revenueQuery(RunParameters::forBimester(3, "2008", 0, {}), "1.1.12.02.00", "05", "31.05.2008",
                                  "orcada_atual") +
                " and recdis.empresa = '7'";
        r.columns = {QStringLiteral("atualizada")};
        QVERIFY_THROWS_EXCEPTION(Error, m_source->amounts(r));
    }

    void budgetSplit_data()
    {
        QTest::addColumn<double>("total");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("others");

        QTest::newRow("100") << 100.0 << "16.65" << "16.67";
        QTest::newRow("300") << 300.0 << "50.00" << "50.00";
        QTest::newRow("200") << 200.0 << "33.35" << "33.33";
        QTest::newRow("0.05") << 0.05 << "0.00" << "0.01";
        QTest::newRow("1000000") << 1000000.0 << "166666.65" << "166666.67";
        QTest::newRow("zero") << 0.0 << "0.00" << "0.00";
        QTest::newRow("negativo") << -100.0 << "0.00" << "0.00";
    }

    void budgetSplit()
    {
        QFETCH(double, total);
        QFETCH(QString, first);
        QFETCH(QString, others);
        const QList<double> split = RevenueSection::budgetSplit(total);
        QCOMPARE(split.size(), 6);
        QCOMPARE(amountText(split.at(0)), first);
        qint64 cents = std::llround(split.at(0) * 100);
        for (int i = 1; i < 6; ++i) {
            QCOMPARE(amountText(split.at(i)), others);
            cents += std::llround(split.at(i) * 100);
        }
        // The six add up to the budget (or to nothing for no budget).
        QCOMPARE(cents, total > 0 ? std::llround(total * 100) : 0);
    }

    // The revenue section ends the run at once when a cancel is pending.
    void revenueSectionPollsOnEntry()
    {
        catalogue::Conta conta{QStringLiteral("IPTU"), QStringLiteral("1.1.12.02.00"), QStringLiteral("1"),
                               QStringLiteral("1")};
        catalogue::Tipo tipo{QStringLiteral("Tipo"), QStringLiteral("101"), QStringLiteral("53"), {conta}};
        catalogue::Opcao opcao{QStringLiteral("Receita Realizada e Atualizada"), QStringLiteral("movimento"), {tipo}};
        catalogue::Cadastro cad{QStringLiteral("Receitas"), {opcao}};
        capture::CaptureDocument doc;
        auto contaElement = doc.sistema().add().add().add().add();
        RecordingSource db(*m_source);
        auto params = RunParameters::forBimester(3, QStringLiteral("2008"), 0, QString());
        SectionContext ctx{params, cad, cad.opcoes[0], cad.opcoes[0].tipos[0], cad.opcoes[0].tipos[0].contas[0],
                           contaElement, db, [] { throw RunCancelled{}; }};
        RevenueSection section;
        QVERIFY_THROWS_EXCEPTION(RunCancelled, section.fill(ctx));
        QCOMPARE(contaElement.count(), 0);
        QCOMPARE(db.requests.size(), 0);
    }

    // The walk finds the sections by the cadastro names, in the table's order.
    void sectionTableNamesTheSections()
    {
        QStringList names;
        for (const SectionEntry &e : sectionTable())
            names << e.cadastroName;
        const QStringList ours = {QStringLiteral("Receitas"), QStringLiteral("Despesas"),
                                  QStringLiteral("Despesas por Função/Subfunção"), QStringLiteral("Deduções"),
                                  QStringLiteral("Educação"), QStringLiteral("Saúde")};
        QCOMPARE(names.mid(0, ours.size()), ours);
        for (const SectionEntry &e : sectionTable())
            QVERIFY(e.create() != nullptr);
    }

    // A whole run through the generator with the real section table: the
    // file carries the amounts of the fixture for the chosen entity.
    void generatorRunWritesTheAmounts()
    {
        catalogue::Catalogue cat;
        cat.name = QStringLiteral("lrfcaptura");
        cat.properties = QStringLiteral("bimestre");
        cat.version = QStringLiteral("3.0");
        cat.xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
        auto one = [](const char *cadastro, const char *opcao, const char *kind, const char *tipoValue,
                      const char *tipoId, const char *conta, const char *props) {
            catalogue::Conta c{QStringLiteral("Conta"), QString::fromUtf8(conta), QStringLiteral("9"),
                               QString::fromUtf8(props)};
            catalogue::Tipo t{QStringLiteral("Tipo"), QString::fromUtf8(tipoValue), QString::fromUtf8(tipoId), {c}};
            catalogue::Opcao o{QString::fromUtf8(opcao), QString::fromUtf8(kind), {t}};
            return catalogue::Cadastro{QString::fromUtf8(cadastro), {o}};
        };
        cat.cadastros = {
            one("Receitas", "Receita Realizada e Atualizada", "movimento", "101", "53", "1.1.12.02.00   ", "1"),
            one("Despesas", "Despesa Orçamento", "orcado", "201", "58", "3.1.90.11.00", "0"),
            one("Deduções", "Orçamento de Deduções para o FUNDEF", "orcado", "001", "62", "9.17.12.07.00", "0"),
            one("Saúde", "Saúde - Receita Orçada", "orcado", "106", "30", "1.10", "0"),
            one("Dívida Ativa", "Dívida Ativa - Recebimento", "movimento", "007", "68", "1.100", "1"),
        };
        QTemporaryDir out;
        RecordingSource db(*m_source);
        CancelFlag flag;
        NullProgress progress;
        Generator g(db, flag, progress);
        auto params = RunParameters::forBimester(3, QStringLiteral("2008"), 7, out.path() + "/");
        QCOMPARE(g.run(params, cat), Generator::Outcome::Written);
        QFile f(out.filePath(QStringLiteral("lrfcapturacontas.xml")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(f.readAll());
        QCOMPARE(text.count(QStringLiteral("<dados properties=\"valor_atualizado\" value=\"200.00\" />")), 2);
        QCOMPARE(text.count(QStringLiteral("<dados properties=\"valor_realizado\" value=\"50.00\" />")), 1);
        QCOMPARE(text.count(QStringLiteral("<dados properties=\"valor_orcado\" value=\"2000.00\" />")), 1);
        QCOMPARE(text.count(QStringLiteral("<dados properties=\"valor_orcado\" value=\"400.00\" />")), 1);
        QCOMPARE(text.count(QStringLiteral("<dados properties=\"valor_orcado\" value=\"1000.00\" />")), 1);
        QVERIFY(text.contains(QStringLiteral("<conta name=\"Conta\" value=\"1.100\" id=\"9\" />")));
        QCOMPARE(db.requests.size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestSectionsOne)
#include "tst_sections_one.moc"
