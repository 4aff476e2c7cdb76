// The data module on a real database with the accounting schema: its record
// sets against the tables they read, the commitments query, the refused
// inserts, the lookups from the expense records, the revenue set's error
// handling, direct statements, transactions and file loading.

#include "FirebirdFixture.h"
#include "RecordingMessages.h"

#include "common/Error.h"
#include "config/Installation.h"
#include "db/DataModule.h"
#include "db/Schema.h"
#include "packet/DataPacket.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace orven;
using namespace orven::db;
using orven::test::FirebirdFixture;
using orven::test::RecordingMessages;

namespace {

const QString CR = QStringLiteral("\r");

QStringList sampleRows()
{
    return {
        QStringLiteral("INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (1, 'PREFEITURA MUNICIPAL')"),
        QStringLiteral("INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (2, 'CAMARA MUNICIPAL')"),
        QStringLiteral("INSERT INTO CADCLI (CGC, CLNT1, ENDERE, MEXER) VALUES "
                       "('05.000.000/0001-00', 'MUNICIPIO DE SANTA LUZIA', 'PRACA DA MATRIZ, 1', '2008')"),
        QStringLiteral("INSERT INTO LOGO (CODIGO, LOGO) VALUES (1, x'424D00')"),
        QStringLiteral("INSERT INTO TABCATEC VALUES ('3','3','90','39','00','OUTROS SERVICOS PJ','33903900', NULL)"),
        QStringLiteral("INSERT INTO TABFUNCAO VALUES ('12', 'EDUCACAO')"),
        QStringLiteral("INSERT INTO TABSUBFUNCAO VALUES ('361', 'ENSINO FUNDAMENTAL')"),
        QStringLiteral("INSERT INTO TABPROGRAMA VALUES ('0001', 'GESTAO')"),
        QStringLiteral("INSERT INTO TABACAO VALUES ('2', '0001', 'MANUTENCAO')"),
        QStringLiteral("INSERT INTO ORVEN_TIPO VALUES ('101', 'Receita Corrente', 'R')"),
        QStringLiteral("INSERT INTO ORVEN_CONPLA VALUES ('101', '1.1.12.02.00', 'IPTU')"),
        QStringLiteral("INSERT INTO RECDIS (FICHA, CODRE, LEGIS, VINGRUPO, VINCODIGO, EXTRA, EMPRESA) VALUES "
                       "(1, '1112.02.00', 'IPTU', '001', '001', 'N', 1)"),
        QStringLiteral("INSERT INTO RECDIS (FICHA, CODRE, LEGIS, VINGRUPO, VINCODIGO, EXTRA, EMPRESA) VALUES "
                       "(2, '1113.05.00', 'ISS', '001', '001', 'N', 1)"),
        // Expense records: 10 and 13 are extra-budgetary 3211 accounts, 11 is
        // not extra-budgetary, 12 has another account.
        QStringLiteral("INSERT INTO DESDIS (FICHA, PODER, ORGAO, UNIDADE, VINGRUPO, VINCODIGO, BALCO, EXTRA, EMPRESA, "
                       "DOTAC) VALUES (10, '01', '002', '01', '001', '001', '321100', 'S', 1, 1234567.5)"),
        QStringLiteral("INSERT INTO DESDIS (FICHA, PODER, ORGAO, UNIDADE, VINGRUPO, VINCODIGO, BALCO, EXTRA, EMPRESA) "
                       "VALUES (11, '01', '002', '01', '001', '001', '321100', 'N', 1)"),
        QStringLiteral("INSERT INTO DESDIS (FICHA, PODER, ORGAO, UNIDADE, VINGRUPO, VINCODIGO, BALCO, EXTRA, EMPRESA) "
                       "VALUES (12, '01', '002', '01', '001', '001', '331100', 'S', 1)"),
        QStringLiteral("INSERT INTO DESDIS (FICHA, PODER, ORGAO, UNIDADE, VINGRUPO, VINCODIGO, BALCO, EXTRA, EMPRESA) "
                       "VALUES (13, '01', '001', '01', '001', '001', '321105', 'S', 2)"),
        // Commitments (PKEMP, NEMPG, FICHA, TPEM).
        QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, CODIF, VINGRUPO, VINCODIGO, FICHA, VADEM) "
                       "VALUES (1, 5, 'OR', '2007-03-01', 1, '001', '001', 10, 100)"),
        QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, CODIF, VINGRUPO, VINCODIGO, FICHA, VADEM) "
                       "VALUES (2, 5, 'OR', '2007-03-01', 1, '001', '001', 13, 200)"),
        QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, CODIF, VINGRUPO, VINCODIGO, FICHA, VADEM) "
                       "VALUES (3, 3, 'ES', '2007-02-01', 1, '001', '001', 10, 300)"),
        QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, CODIF, VINGRUPO, VINCODIGO, FICHA, VADEM, PKEMPA) "
                       "VALUES (4, 1, 'AN', '2007-04-01', 1, '001', '001', 10, -50, 1)"),
        QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, CODIF, VINGRUPO, VINCODIGO, FICHA, VADEM) "
                       "VALUES (5, 2, 'OR', '2007-03-01', 1, '001', '001', 11, 400)"),
        QStringLiteral("INSERT INTO DESPES (PKEMP, NEMPG, TPEM, DATAE, CODIF, VINGRUPO, VINCODIGO, FICHA, VADEM) "
                       "VALUES (6, 2, 'OR', '2007-03-01', 1, '001', '001', 12, 500)"),
    };
}

// A declared type and the type of the database column it lies over.
bool compatible(FieldType declared, FieldType column)
{
    switch (declared) {
    case FieldType::Unknown:
        return true;
    case FieldType::String:
        return column == FieldType::String || column == FieldType::FixedChar;
    default:
        return declared == column;
    }
}

QString requiredMessage()
{
    return QStringLiteral("Atenção!!! ") + CR + CR + QStringLiteral("Campo de Preencimento Obrigatório!!!") + CR + CR +
           QStringLiteral("Favor Informar um Valor");
}

QVariantList column(RecordSet &set, const QString &field)
{
    QVariantList values;
    for (set.first(); !set.eof(); set.next())
        values << set.value(field);
    return values;
}

} // namespace

class TestDataModule : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void creationOpensExpenseRecords();
    void creationFailsWithTheEnginesText();
    void pathFromZuntIni();

    void recordSets_data();
    void recordSets();
    void commitmentsQuery();
    void refusedInserts_data();
    void refusedInserts();
    void commitmentLookups();

    void revenueErrors_data();
    void revenueErrors();
    void revenueDeleteErrorTranslated();
    void revenueRefusedRowIsCorrected();

    void statementsAndTransactions();
    void fileLoading();

private:
    std::unique_ptr<FirebirdFixture> copy() const
    {
        auto db = FirebirdFixture::copyOf(*m_base);
        if (!db->isValid())
            qFatal("%s", qPrintable(db->error()));
        return db;
    }

    std::unique_ptr<FirebirdFixture> m_base;
};

void TestDataModule::initTestCase()
{
    m_base = std::make_unique<FirebirdFixture>(schemaStatements() + sampleRows());
    QVERIFY2(m_base->isValid(), qPrintable(m_base->error()));
}

void TestDataModule::creationOpensExpenseRecords()
{
    const auto db = copy();
    QVERIFY(!TDM::instance());
    {
        TDM dm(db->path());
        QCOMPARE(TDM::instance(), &dm);
        QVERIFY(dm.Conexao->isOpen());
        QCOMPARE(dm.Conexao->objectName(), QStringLiteral("COMPRAS"));
        QVERIFY(dm.CdsDesdis->isActive());
        QCOMPARE(column(*dm.CdsDesdis, QStringLiteral("FICHA")), (QVariantList{10, 11, 12, 13}));
        // Only the expense records open with the module.
        for (RecordSet *set : dm.recordSets()) {
            if (set != dm.CdsDesdis)
                QVERIFY2(!set->isActive(), qPrintable(set->name()));
        }
        QCOMPARE(dm.applyErrorCount, 0);
        QVERIFY(!dm.inTransaction());
    }
    QVERIFY(!TDM::instance());
}

void TestDataModule::creationFailsWithTheEnginesText()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ARQ2008/ZUNT2008.FDB"));
    try {
        TDM dm(missing);
        QFAIL("the module was created on a missing database");
    } catch (const DatabaseError &e) {
        // The engine's own text, naming the file it could not open.
        QVERIFY2(e.message().contains(QLatin1String("ZUNT2008.FDB")), qPrintable(e.message()));
    }
    QVERIFY(!TDM::instance());
}

void TestDataModule::pathFromZuntIni()
{
    // The suite's layout: <base>/ARQ<Ano>/ZUNT<Ano>.FDB, Ano and base from zunt.ini.
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/ZUNT_8/");
    QVERIFY(QDir().mkpath(base + QStringLiteral("ARQ2008")));
    const QString database = base + QStringLiteral("ARQ2008/ZUNT2008.FDB");
    QVERIFY(QFile::copy(m_base->path(), database));
    {
        QFile ini(dir.filePath(QStringLiteral("zunt.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[ZUNT]\r\nAno=2008\r\nCaminho_Base_Dados=" + base.toUtf8() + "\r\n");
    }
    config::setConfigDirOverride(dir.path());
    {
        TDM dm;
        QCOMPARE(QFileInfo(dm.Conexao->databasePath()).canonicalFilePath(), QFileInfo(database).canonicalFilePath());
        QCOMPARE(dm.CdsDesdis->recordCount(), 4);
    }
    config::setConfigDirOverride(QString());
}

void TestDataModule::recordSets_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<int>("rows");
    for (const auto &[name, rows] : {std::pair{"CdsTipo", 1}, {"CdsConpla", 1}, {"CdsRecdis", 2}, {"CdsDesdis", 4},
                                     {"CdsEmpenho", 3}, {"CdsCliente", 1}, {"CdsLogo", 1}, {"CdsLCatec", 1},
                                     {"CdsLFuncao", 1}, {"CdsLSubFuncao", 1}, {"CdsLPrograma", 1}, {"CdsLAcao", 1}})
        QTest::newRow(name) << QString::fromLatin1(name) << rows;
}

// Every set opens on the accounting schema, and each declared field is a
// column of its query with a matching type, size and requirement.
void TestDataModule::recordSets()
{
    QFETCH(QString, set);
    QFETCH(int, rows);
    const auto db = copy();
    TDM dm(db->path());
    RecordSet *rs = dm.findChild<RecordSet *>(set);
    QVERIFY(rs);
    rs->open();
    QCOMPARE(rs->recordCount(), rows);

    const QList<FieldDecl> decls = TDM::declaredFields(set);
    QVERIFY(!decls.isEmpty());
    for (const FieldDecl &d : decls) {
        const int i = rs->fieldIndex(d.name);
        QVERIFY2(i >= 0, qPrintable(d.name + QLatin1String(" missing")));
        const Field &f = rs->field(i);
        QVERIFY2(!f.lookup, qPrintable(d.name));
        QVERIFY2(!f.column.sourceName.isEmpty(), qPrintable(d.name));
        QVERIFY2(compatible(d.type, f.column.type), qPrintable(d.name));
        if (d.type != FieldType::Unknown)
            QCOMPARE(f.type, d.type);
        if (d.size > 0)
            QVERIFY2(f.size == d.size && f.column.size == d.size,
                     qPrintable(QStringLiteral("%1: %2 / %3").arg(d.name).arg(f.size).arg(f.column.size)));
        QVERIFY2(f.required == d.required, qPrintable(d.name));
        // A required field lies over a column the database requires too.
        if (d.required)
            QVERIFY2(!f.column.nullable, qPrintable(d.name));
    }
}

void TestDataModule::commitmentsQuery()
{
    const auto db = copy();
    TDM dm(db->path());
    const QString expected = QStringLiteral("SELECT A.* FROM DESPES A") + CR + QStringLiteral("\n") +
                             QStringLiteral("WHERE A.TPEM <> 'AN'") + CR + QStringLiteral("\n") +
                             QStringLiteral("AND A.FICHA IN (SELECT B.FICHA FROM DESDIS B") + CR + QStringLiteral("\n") +
                             QStringLiteral("                WHERE SUBSTRING(B.BALCO FROM 1 FOR 4) = '3211'") + CR +
                             QStringLiteral("\n") + QStringLiteral("                 AND B.EXTRA = 'S')") + CR +
                             QStringLiteral("\n") + CR + QStringLiteral("\n") +
                             QStringLiteral("ORDER BY A.NEMPG,A.FICHA ASCENDING");
    QCOMPARE(dm.CdsEmpenho->commandText(), expected);
    QCOMPARE(dm.CdsEmpenho->commandText().split(QStringLiteral("\r\n")).size(), 7);

    // Not annulments, of extra-budgetary 3211 records, by commitment number
    // and record.
    dm.CdsEmpenho->open();
    QCOMPARE(column(*dm.CdsEmpenho, QStringLiteral("PKEMP")), (QVariantList{3, 1, 2}));
    QCOMPARE(dm.CdsEmpenho->updateTable(), QStringLiteral("DESPES"));
    const Field &vadem = dm.CdsEmpenho->field(dm.CdsEmpenho->fieldIndex(QStringLiteral("VADEM")));
    QVERIFY(vadem.currency);
    dm.CdsDesdis->first();
    const Field &dotac = dm.CdsDesdis->field(dm.CdsDesdis->fieldIndex(QStringLiteral("DOTAC")));
    QCOMPARE(dotac.displayFormat, QStringLiteral("#,0.00;-#,0.00"));
}

void TestDataModule::refusedInserts_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("refused");
    QTest::newRow("revenue records") << QStringLiteral("CdsRecdis") << QStringLiteral("RECDIS") << true;
    QTest::newRow("expense records") << QStringLiteral("CdsDesdis") << QStringLiteral("DESDIS") << true;
    QTest::newRow("commitments") << QStringLiteral("CdsEmpenho") << QStringLiteral("DESPES") << true;
    // The court chart is filled by the import: rows can be added there.
    QTest::newRow("court chart types") << QStringLiteral("CdsTipo") << QStringLiteral("ORVEN_TIPO") << false;
}

void TestDataModule::refusedInserts()
{
    QFETCH(QString, set);
    QFETCH(QString, table);
    QFETCH(bool, refused);
    const auto db = copy();
    RecordingMessages messages;
    TDM dm(db->path());
    RecordSet *rs = dm.findChild<RecordSet *>(set);
    QVERIFY(rs);
    rs->open();
    const int before = rs->recordCount();
    rs->last();

    QCOMPARE(rs->append(), !refused);
    if (refused) {
        QCOMPARE(rs->state(), RecordSet::State::Browse);
        QVERIFY(!rs->insert());
        rs->next(); // moving below the last row adds nothing either
        QCOMPARE(rs->state(), RecordSet::State::Browse);
        QCOMPARE(rs->recordCount(), before);
        QCOMPARE(rs->changeCount(), 0);
        QVERIFY(messages.entries.isEmpty());
        // Rows are still edited in place.
        rs->first();
        rs->edit();
        QCOMPARE(rs->state(), RecordSet::State::Edit);
        rs->cancel();
    } else {
        QCOMPARE(rs->state(), RecordSet::State::Insert);
        rs->cancel();
    }
    QCOMPARE(rs->updateTable(), table);
}

void TestDataModule::commitmentLookups()
{
    const auto db = copy();
    TDM dm(db->path());
    RecordSet &emp = *dm.CdsEmpenho;
    emp.open();
    const int empresa = emp.fieldIndex(QStringLiteral("EMPRESA"));
    const int balco = emp.fieldIndex(QStringLiteral("BALCO"));
    QVERIFY(empresa >= 0 && balco >= 0);
    QVERIFY(emp.field(empresa).lookup && emp.field(balco).lookup);

    QCOMPARE(column(emp, QStringLiteral("EMPRESA")), (QVariantList{1, 1, 2}));
    QCOMPARE(column(emp, QStringLiteral("BALCO")),
             (QVariantList{QStringLiteral("321100"), QStringLiteral("321100"), QStringLiteral("321105")}));

    // The expense window leaves an entity filter on CdsDesdis: commitments of
    // records outside it find nothing.
    dm.CdsDesdis->setFilter(QStringLiteral("EMPRESA = 1"));
    dm.CdsDesdis->setFiltered(true);
    QCOMPARE(column(emp, QStringLiteral("EMPRESA")), (QVariantList{1, 1, QVariant()}));
    QVERIFY(emp.locate(QStringLiteral("PKEMP"), 2));
    QVERIFY(emp.isNull(QStringLiteral("BALCO")));
    QVERIFY(emp.isNull(QStringLiteral("EMPRESA")));

    dm.CdsDesdis->setFiltered(false);
    QVERIFY(emp.locate(QStringLiteral("PKEMP"), 2));
    QCOMPARE(emp.value(QStringLiteral("EMPRESA")), QVariant(2));

    // Looked-up fields are never written: a changed commitment is applied
    // without them.
    emp.edit();
    emp.setValue(QStringLiteral("GRUPO_TCE"), QStringLiteral("01"));
    QVERIFY(emp.post());
    QCOMPARE(emp.applyUpdates(-1), 0);
    QCOMPARE(dm.Conexao->selectValue(QStringLiteral("SELECT GRUPO_TCE FROM DESPES WHERE PKEMP = 2")).toString(),
             QStringLiteral("01"));
}

void TestDataModule::revenueErrors_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message"); // expected translated message; empty: the general one
    QTest::newRow("post without a required value") << QStringLiteral("post") << requiredMessage();
    QTest::newRow("edit of a closed set") << QStringLiteral("edit") << QString();
}

// The user sees the translated message, then the error goes on to the
// code that started the operation.
void TestDataModule::revenueErrors()
{
    QFETCH(QString, operation);
    QFETCH(QString, message);
    const auto db = copy();
    TDM dm(db->path());
    RecordSet &rec = *dm.CdsRecdis;
    RecordingMessages messages;

    QString caught;
    try {
        if (operation == QLatin1String("post")) {
            rec.open();
            rec.edit();
            rec.setValue(QStringLiteral("VINGRUPO"), QString());
            rec.post();
        } else {
            rec.edit();
        }
    } catch (const Error &e) {
        caught = e.message();
    }
    QVERIFY2(!caught.isEmpty(), "the error did not reach the caller");
    if (message.isEmpty())
        message = QStringLiteral("Ocorreram Problemas...") + CR + caught;
    QCOMPARE(messages.texts(), QStringList{message});
    QCOMPARE(messages.entries.first().caption, QStringLiteral("Erro"));
    if (operation == QLatin1String("post")) {
        QCOMPARE(caught, QStringLiteral("Field 'VINGRUPO' must have a value"));
        QCOMPARE(rec.state(), RecordSet::State::Edit); // the row stays in editing
    }
}

// Deleting in memory hardly fails; when it does, its error is translated too.
void TestDataModule::revenueDeleteErrorTranslated()
{
    const auto db = copy();
    TDM dm(db->path());
    QVERIFY(dm.CdsRecdis->onDeleteError);
    QVERIFY(!dm.CdsDesdis->onDeleteError && !dm.CdsEmpenho->onPostError);
    RecordingMessages messages;
    dm.CdsRecdis->onDeleteError(QStringLiteral("violation of FOREIGN KEY constraint \"FK_RECEIT_RECDIS\" on table \"RECEIT\""));
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().first().endsWith(QLatin1String(" Erro de chave estrangeira:\"FK_RECEIT_RECDIS\"")));
}

// A row the database refuses while applying stays in the change log with
// its edited values, counted, without a message.
void TestDataModule::revenueRefusedRowIsCorrected()
{
    const auto db = copy();
    TDM dm(db->path());
    RecordSet &rec = *dm.CdsRecdis;
    rec.open();
    RecordingMessages messages;
    QVERIFY(rec.locate(QStringLiteral("FICHA"), 2));
    rec.edit();
    rec.setValue(QStringLiteral("EMPRESA"), 99); // no such entity: FK_RECDIS_TABEMPRESA
    rec.setValue(QStringLiteral("BALCO_TCE"), QStringLiteral("1.1.13.05.00"));
    QVERIFY(rec.post());
    QVERIFY(rec.locate(QStringLiteral("FICHA"), 1));
    rec.edit();
    rec.setValue(QStringLiteral("BALCO_TCE"), QStringLiteral("1.1.12.02.00"));
    QVERIFY(rec.post());

    QCOMPARE(rec.applyUpdates(-1), 1);
    QVERIFY(messages.entries.isEmpty());
    QCOMPARE(rec.changeCount(), 1);
    QVERIFY(rec.locate(QStringLiteral("FICHA"), 2));
    QCOMPARE(rec.value(QStringLiteral("EMPRESA")), QVariant(99));
    QCOMPARE(rec.value(QStringLiteral("BALCO_TCE")), QVariant(QStringLiteral("1.1.13.05.00")));
    QCOMPARE(dm.Conexao->selectValue(QStringLiteral("SELECT BALCO_TCE FROM RECDIS WHERE FICHA = 1")).toString(),
             QStringLiteral("1.1.12.02.00"));
    QVERIFY(dm.Conexao->selectValue(QStringLiteral("SELECT BALCO_TCE FROM RECDIS WHERE FICHA = 2")).isNull());
}

void TestDataModule::statementsAndTransactions()
{
    const auto db = copy();
    TDM dm(db->path());
    Conexao other; // another workstation
    other.setDatabasePath(db->path());
    const QString name = QStringLiteral("SELECT NOME FROM TABEMPRESA WHERE EMPRESA = 2");

    // Outside a transaction a statement commits on its own.
    QCOMPARE(dm.SQL(QStringLiteral("UPDATE TABEMPRESA SET NOME = 'CAMARA' WHERE EMPRESA = 2")), 1);
    QCOMPARE(other.selectValue(name).toString(), QStringLiteral("CAMARA"));
    QCOMPARE(dm.SQL(QStringLiteral("DELETE FROM ORVEN_CONPLA")), 1);

    // A transaction is started only when none is active.
    QVERIFY(dm.startTransaction());
    QVERIFY(dm.inTransaction());
    const quint64 id = dm.Conexao->transactionId();
    QVERIFY(!dm.startTransaction());
    QCOMPARE(dm.Conexao->transactionId(), id);
    dm.SQL(QStringLiteral("UPDATE TABEMPRESA SET NOME = 'CAMARA DE VEREADORES' WHERE EMPRESA = 2"));
    dm.rollback();
    QVERIFY(!dm.inTransaction());
    QCOMPARE(other.selectValue(name).toString(), QStringLiteral("CAMARA"));

    QVERIFY(dm.startTransaction());
    dm.SQL(QStringLiteral("UPDATE TABEMPRESA SET NOME = 'CAMARA DE VEREADORES' WHERE EMPRESA = 2"));
    dm.commit();
    QCOMPARE(other.selectValue(name).toString(), QStringLiteral("CAMARA DE VEREADORES"));

    // Ending with none active does nothing.
    dm.commit();
    dm.rollback();
    QVERIFY(!dm.inTransaction());

    // A failing statement brings the engine's text.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, dm.SQL(QStringLiteral("DELETE FROM NO_SUCH_TABLE")));
}

void TestDataModule::fileLoading()
{
    const auto db = copy();
    TDM dm(db->path());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ORVENTIPO.XML"));

    packet::DataPacket file;
    file.root.fields = {packet::Field::text(QStringLiteral("CODTIPO"), 5),
                        packet::Field::text(QStringLiteral("DESCRICAO"), 150),
                        packet::Field::integer(QStringLiteral("ORDEM")), packet::Field::floating(QStringLiteral("PESO"))};
    for (const auto &[code, description, order, weight] :
         {std::tuple{" 101 ", "Receita Corrente (Exceto Intra-Orçamentária)", 1, 0.5},
          {"102", "Receita de Capital", 2, 1.25}}) {
        packet::Row &row = file.root.appendRow();
        file.root.setValue(row, QStringLiteral("CODTIPO"), QString::fromUtf8(code));
        file.root.setValue(row, QStringLiteral("DESCRICAO"), QString::fromUtf8(description));
        file.root.setValue(row, QStringLiteral("ORDEM"), order);
        file.root.setValue(row, QStringLiteral("PESO"), weight);
    }
    file.save(path);

    dm.loadCdsXml(path);
    RecordSet &xml = *dm.CdsXml;
    QCOMPARE(xml.fieldNames(), (QStringList{"CODTIPO", "DESCRICAO", "ORDEM", "PESO"}));
    QCOMPARE(xml.field(0).type, FieldType::String);
    QCOMPARE(xml.field(0).size, 5);
    QCOMPARE(xml.field(2).type, FieldType::Integer);
    QCOMPARE(xml.field(3).type, FieldType::Float);
    QCOMPARE(column(xml, QStringLiteral("CODTIPO")), (QVariantList{QStringLiteral(" 101 "), QStringLiteral("102")}));
    QCOMPARE(column(xml, QStringLiteral("DESCRICAO")).first().toString(),
             QStringLiteral("Receita Corrente (Exceto Intra-Orçamentária)"));
    QCOMPARE(column(xml, QStringLiteral("ORDEM")), (QVariantList{1, 2}));
    QCOMPARE(column(xml, QStringLiteral("PESO")), (QVariantList{0.5, 1.25}));

    // Loading again replaces the rows; a missing file names itself.
    try {
        dm.loadCdsXml(dir.filePath(QStringLiteral("ORVENCONPLA.XML")));
        QFAIL("a missing file loaded");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QLatin1String("ORVENCONPLA.XML")), qPrintable(e.message()));
    }
    QVERIFY(!xml.isActive());
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
