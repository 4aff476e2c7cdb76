#include "common/Error.h"
#include "packet/DataPacket.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace orven;
using namespace orven::packet;

namespace {

Field makeField(const QString &name, const QString &type, int width = 0, const QString &subtype = {})
{
    Field f;
    f.name = name;
    f.type = type;
    f.width = width;
    f.subtype = subtype;
    return f;
}

QByteArray header() { return QByteArrayLiteral("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\">"); }

// One field, one row holding `value`.
DataPacket singleValue(const Field &field, const QVariant &value)
{
    DataPacket p;
    p.root.fields.append(field);
    Row &row = p.root.appendRow();
    row.values[0] = value;
    return p;
}

// The attribute text of the first ROW of a serialized single-field packet; "<absent>" when absent.
QByteArray rowAttribute(const QByteArray &bytes, const QByteArray &name)
{
    const qsizetype row = bytes.indexOf("<ROW");
    const qsizetype end = bytes.indexOf("/>", row);
    const QByteArray tag = bytes.mid(row, end - row);
    const qsizetype at = tag.indexOf(" " + name + "=\"");
    if (at < 0)
        return "<absent>";
    const qsizetype start = at + name.size() + 3;
    return tag.mid(start, tag.indexOf('"', start) - start);
}

QString packetText(const DataPacket &p, int row, const QString &field)
{
    return p.root.value(p.root.rows.at(row), field).toString();
}

// Catalogue-like tree: top -> cadastro -> opcao -> tipo -> conta -> periodicidade -> dados.
Table catalogueMetadata()
{
    Table dados;
    dados.fields = {Field::text(QStringLiteral("properties"), 20), Field::text(QStringLiteral("value"), 20)};
    Table per;
    per.fields = {Field::text(QStringLiteral("properties"), 20), Field::nestedTable(QStringLiteral("dados"), dados)};
    Table conta;
    conta.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("value"), 20),
                    Field::text(QStringLiteral("id"), 25), Field::nestedTable(QStringLiteral("periodicidade"), per)};
    Table tipo;
    tipo.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("value"), 20),
                   Field::text(QStringLiteral("id"), 25), Field::nestedTable(QStringLiteral("conta"), conta)};
    Table opcao;
    opcao.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("id"), 25),
                    Field::nestedTable(QStringLiteral("tipo"), tipo)};
    Table cadastro;
    cadastro.fields = {Field::text(QStringLiteral("name"), 255), Field::nestedTable(QStringLiteral("opcao"), opcao)};
    Table top;
    top.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("properties"), 20),
                  Field::text(QStringLiteral("value"), 20), Field::text(QStringLiteral("version"), 3),
                  Field::text(QStringLiteral("xsi"), 41), Field::nestedTable(QStringLiteral("cadastro"), cadastro)};
    return top;
}

const QString kAccents = QStringLiteral("Aval em operações de crédito – Saúde €");

} // namespace

class TestDataPacket : public QObject {
    Q_OBJECT

private slots:
    void valueFormats_data();
    void valueFormats();
    void readValues_data();
    void readValues();
    void flatRoundTrip();
    void nestedRoundTrip();
    void copiesAreIndependent();
    void encodings_data();
    void encodings();
    void tolerantIndentedFile();
    void rowStatesAndChangeLog();
    void guaranteeExample();
    void malformed_data();
    void malformed();
    void missingFile();
    void exactBytes();
    void saveReplacesFile();
    void tableHelpers();
};

// Each type: the text written for a value, and the value read back from that text.
void TestDataPacket::valueFormats_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("subtype");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("string") << "string" << "" << QVariant(QStringLiteral("abc")) << QByteArray("abc");
    QTest::newRow("empty string") << "string" << "" << QVariant(QString(QLatin1String(""))) << QByteArray("");
    QTest::newRow("null string") << "string" << "" << QVariant() << QByteArray("<absent>");
    QTest::newRow("i4 negative") << "i4" << "" << QVariant(-12) << QByteArray("-12");
    QTest::newRow("i4 zero") << "i4" << "" << QVariant(0) << QByteArray("0");
    QTest::newRow("i8 big") << "i8" << "" << QVariant(qlonglong(9007199254740993LL)) << QByteArray("9007199254740993");
    QTest::newRow("null i4") << "i4" << "" << QVariant() << QByteArray("<absent>");
    QTest::newRow("r8 decimals") << "r8" << "" << QVariant(1234.56) << QByteArray("1234.56");
    QTest::newRow("r8 negative") << "r8" << "" << QVariant(-0.5) << QByteArray("-0.5");
    QTest::newRow("r8 integral") << "r8" << "" << QVariant(1500.0) << QByteArray("1500");
    QTest::newRow("r8 16 digits") << "r8" << "" << QVariant(1234567890.123456) << QByteArray("1234567890.123456");
    QTest::newRow("r8 exponent") << "r8" << "" << QVariant(1e20) << QByteArray("1e+20");
    QTest::newRow("r8 zero") << "r8" << "" << QVariant(0.0) << QByteArray("0");
    QTest::newRow("r8 money") << "r8" << "Money" << QVariant(99999999.99) << QByteArray("99999999.99");
    QTest::newRow("fixed") << "fixed" << "" << QVariant(123.45) << QByteArray("123.45");
    QTest::newRow("fixed large") << "fixed" << "" << QVariant(1e20) << QByteArray("100000000000000000000");
    QTest::newRow("boolean true") << "boolean" << "" << QVariant(true) << QByteArray("TRUE");
    QTest::newRow("boolean false") << "boolean" << "" << QVariant(false) << QByteArray("FALSE");
    QTest::newRow("date leap day") << "date" << "" << QVariant(QDate(2008, 2, 29)) << QByteArray("20080229");
    QTest::newRow("time ms") << "time" << "" << QVariant(QTime(14, 30, 5, 250)) << QByteArray("14:30:05250");
    QTest::newRow("time early") << "time" << "" << QVariant(QTime(0, 0, 1)) << QByteArray("00:00:01000");
    QTest::newRow("dateTime") << "dateTime" << ""
                              << QVariant(QDateTime(QDate(2008, 2, 29), QTime(14, 30, 5, 250), Qt::UTC))
                              << QByteArray("20080229T14:30:05250");
    QTest::newRow("dateTime midnight") << "dateTime" << ""
                                       << QVariant(QDateTime(QDate(2008, 2, 29), QTime(0, 0), Qt::UTC))
                                       << QByteArray("20080229");
    QTest::newRow("bin.hex") << "bin.hex" << "Binary" << QVariant(QByteArray("\x00\x01\xFE\xFF", 4))
                             << QByteArray("0001FEFF");
    QTest::newRow("memo") << "bin.hex" << "Text" << QVariant(QStringLiteral("linha")) << QByteArray("linha");
}

void TestDataPacket::valueFormats()
{
    QFETCH(QString, type);
    QFETCH(QString, subtype);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, written);

    const DataPacket p = singleValue(makeField(QStringLiteral("X"), type, 0, subtype), value);
    const QByteArray bytes = p.serialize();
    QCOMPARE(rowAttribute(bytes, "X"), written);

    const DataPacket back = DataPacket::parse(bytes, QStringLiteral("valores.xml"));
    QCOMPARE(back.root.fields.size(), 1);
    QCOMPARE(back.root.fields[0].type, type);
    QCOMPARE(back.root.fields[0].subtype, subtype);
    const QVariant read = back.root.rows.at(0).values.at(0);
    if (!value.isValid()) {
        QVERIFY2(!read.isValid(), qPrintable(read.toString()));
        return;
    }
    QCOMPARE(read.typeId(), value.typeId());
    QCOMPARE(read, value);
    // Rewriting what was read gives the same bytes.
    QCOMPARE(back.serialize(), bytes);
}

// What other writers put in attributes, and what it reads as.
void TestDataPacket::readValues_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVariant>("expected");

    const QVariant null;
    QTest::newRow("r8 exponent") << "r8" << QByteArray("1.5E+3") << QVariant(1500.0);
    QTest::newRow("r8 small exponent") << "r8" << QByteArray("2.5e-05") << QVariant(2.5e-5);
    QTest::newRow("r8 decimal comma") << "r8" << QByteArray("-2,5") << QVariant(-2.5);
    QTest::newRow("r8 blanks") << "r8" << QByteArray(" 12.5 ") << QVariant(12.5);
    QTest::newRow("r8 empty is null") << "r8" << QByteArray("") << null;
    QTest::newRow("fixed") << "fixed" << QByteArray("123.45") << QVariant(123.45);
    QTest::newRow("i4 exponent") << "i4" << QByteArray("1E3") << QVariant(1000);
    QTest::newRow("i2 blanks") << "i2" << QByteArray(" -7 ") << QVariant(-7);
    QTest::newRow("ui4 as qlonglong") << "ui4" << QByteArray("4294967295") << QVariant(qlonglong(4294967295LL));
    QTest::newRow("boolean lower") << "boolean" << QByteArray("true") << QVariant(true);
    QTest::newRow("boolean letter") << "boolean" << QByteArray("f") << QVariant(false);
    QTest::newRow("boolean empty") << "boolean" << QByteArray("") << null;
    QTest::newRow("date dashes") << "date" << QByteArray("2008-02-29") << QVariant(QDate(2008, 2, 29));
    QTest::newRow("date slashes dmy") << "date" << QByteArray("29/02/2008") << QVariant(QDate(2008, 2, 29));
    QTest::newRow("date with time") << "date" << QByteArray("2008-02-29T10:00:00") << QVariant(QDate(2008, 2, 29));
    QTest::newRow("date zeros") << "date" << QByteArray("00000000") << null;
    QTest::newRow("time plain") << "time" << QByteArray("14:30:05") << QVariant(QTime(14, 30, 5));
    QTest::newRow("time fraction") << "time" << QByteArray("14:30:05.25") << QVariant(QTime(14, 30, 5, 250));
    QTest::newRow("time platform") << "time" << QByteArray("23:59:59999") << QVariant(QTime(23, 59, 59, 999));
    QTest::newRow("dateTime date only") << "dateTime" << QByteArray("20080229")
                                        << QVariant(QDateTime(QDate(2008, 2, 29), QTime(0, 0), Qt::UTC));
    QTest::newRow("dateTime iso") << "dateTime" << QByteArray("2008-02-29T14:30:05")
                                  << QVariant(QDateTime(QDate(2008, 2, 29), QTime(14, 30, 5), Qt::UTC));
    QTest::newRow("SQLdateTime space") << "SQLdateTime" << QByteArray("2008-02-29 14:30")
                                       << QVariant(QDateTime(QDate(2008, 2, 29), QTime(14, 30), Qt::UTC));
    QTest::newRow("bin.hex base64") << "bin.hex" << QByteArray("AAH+/w==") << QVariant(QByteArray("\x00\x01\xFE\xFF", 4));
    QTest::newRow("unknown type as text") << "guid" << QByteArray(" {x} ") << QVariant(QStringLiteral(" {x} "));
}

void TestDataPacket::readValues()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, text);
    QFETCH(QVariant, expected);
    const QByteArray bytes = header() + "<METADATA><FIELDS><FIELD attrname=\"x\" fieldtype=\"" + type.toLatin1()
        + "\"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW X=\"" + text + "\"/></ROWDATA></DATAPACKET>";
    const DataPacket p = DataPacket::parse(bytes, QStringLiteral("valores.xml"));
    const QVariant read = p.root.rows.at(0).values.at(0);
    QCOMPARE(read.isValid(), expected.isValid());
    if (!expected.isValid())
        return;
    QCOMPARE(read.typeId(), expected.typeId());
    QCOMPARE(read, expected);
}

// Text values with accents, a character outside Windows-1252, every escape,
// NULL beside empty text, and a wide-text field.
void TestDataPacket::flatRoundTrip()
{
    DataPacket p;
    p.root.fields = {Field::text(QStringLiteral("Codigo"), 10, true), Field::text(QStringLiteral("Descricao"), 100),
                     makeField(QStringLiteral("Larga"), QStringLiteral("string.uni"), 40),
                     Field::floating(QStringLiteral("Valor")), Field::integer(QStringLiteral("Qtd"))};
    p.root.params.setAttribute(QStringLiteral("DEFAULT_ORDER"), QStringLiteral("1"));

    const QString tricky = QStringLiteral("a&b <c> \"d\" 'e' \\f\r\ng\th");
    const QString outside = QStringLiteral("Łódź → 😀");
    Row &r1 = p.root.appendRow();
    p.root.setValue(r1, QStringLiteral("Codigo"), QStringLiteral("1.11"));
    p.root.setValue(r1, QStringLiteral("Descricao"), kAccents);
    p.root.setValue(r1, QStringLiteral("Larga"), kAccents + outside);
    p.root.setValue(r1, QStringLiteral("Valor"), 1234.56);
    p.root.setValue(r1, QStringLiteral("Qtd"), 7);
    Row &r2 = p.root.appendRow();
    p.root.setValue(r2, QStringLiteral("Codigo"), tricky);
    p.root.setValue(r2, QStringLiteral("Descricao"), outside);
    Row &r3 = p.root.appendRow();
    p.root.setValue(r3, QStringLiteral("Codigo"), QString(QLatin1String("")));

    const QByteArray bytes = p.serialize();
    // Accents are single Windows-1252 bytes; nothing after the declaration breaks the line.
    QVERIFY(bytes.contains("opera\xE7\xF5" "es de cr\xE9" "dito \x96 Sa\xFA" "de \x80"));
    QVERIFY(!bytes.contains('\n'));
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(!bytes.contains('\t'));
    QVERIFY(bytes.contains("a&amp;b &lt;c&gt; &quot;d&quot; &apos;e&apos; &#092;f&#013;&#010;g&#009;h"));
    // Outside the code page: character references, never '?'.
    QVERIFY(bytes.contains("&#321;&#243;d&#378; &#8594; &#128512;"));
    // Wide text: every character above 0x7F as a reference.
    QVERIFY(bytes.contains("Larga=\"Aval em opera&#231;&#245;es"));
    QVERIFY(!bytes.mid(header().size()).contains('?'));

    const DataPacket back = DataPacket::parse(bytes, QStringLiteral("plano.xml"));
    QCOMPARE(back.root.rows.size(), 3);
    QCOMPARE(packetText(back, 0, QStringLiteral("Descricao")), kAccents);
    QCOMPARE(packetText(back, 0, QStringLiteral("Larga")), kAccents + outside);
    QCOMPARE(back.root.value(back.root.rows[0], QStringLiteral("Valor")), QVariant(1234.56));
    QCOMPARE(back.root.value(back.root.rows[0], QStringLiteral("Qtd")), QVariant(7));
    QCOMPARE(packetText(back, 1, QStringLiteral("Codigo")), tricky);
    QCOMPARE(packetText(back, 1, QStringLiteral("Descricao")), outside);
    // NULL stays NULL, empty text stays empty text.
    QVERIFY(!back.root.value(back.root.rows[1], QStringLiteral("Valor")).isValid());
    QVERIFY(!back.root.value(back.root.rows[2], QStringLiteral("Descricao")).isValid());
    const QVariant empty = back.root.value(back.root.rows[2], QStringLiteral("Codigo"));
    QVERIFY(empty.isValid());
    QCOMPARE(empty.toString(), QString());
    QVERIFY(bytes.contains("<ROW Codigo=\"\"/>"));
    QCOMPARE(back.root.params.attribute(QStringLiteral("default_order")), QStringLiteral("1"));
    QVERIFY(back.root.fields[0].required);
    QCOMPARE(back.serialize(), bytes);
}

void TestDataPacket::nestedRoundTrip()
{
    DataPacket p;
    p.root = catalogueMetadata();
    Table &top = p.root;
    Row &t = top.appendRow();
    top.setValue(t, QStringLiteral("name"), QStringLiteral("lrfcaptura"));
    top.setValue(t, QStringLiteral("version"), QStringLiteral("3.0"));
    const QStringList cadastros = {QStringLiteral("Receitas"), QStringLiteral("Obrigações Financeiras ")};
    for (const QString &cadName : cadastros) {
        Table &cads = top.child(t, QStringLiteral("cadastro"));
        Row &cad = cads.appendRow();
        cads.setValue(cad, QStringLiteral("name"), cadName);
        Table &opcoes = cads.child(cad, QStringLiteral("opcao"));
        Row &op = opcoes.appendRow();
        opcoes.setValue(op, QStringLiteral("name"), QStringLiteral("Saúde - Despesa Anulada "));
        opcoes.setValue(op, QStringLiteral("id"), QStringLiteral("movimento"));
        Table &tipos = opcoes.child(op, QStringLiteral("tipo"));
        Row &tp = tipos.appendRow();
        tipos.setValue(tp, QStringLiteral("name"), QStringLiteral("Receita Corrente").leftJustified(50));
        tipos.setValue(tp, QStringLiteral("value"), QStringLiteral("101"));
        Table &contas = tipos.child(tp, QStringLiteral("conta"));
        for (int i = 0; i < 2; ++i) {
            Row &ct = contas.appendRow();
            contas.setValue(ct, QStringLiteral("value"), QStringLiteral("1.1.12.0%1.00   ").arg(i));
            Table &pers = contas.child(ct, QStringLiteral("periodicidade"));
            Row &per = pers.appendRow();
            pers.setValue(per, QStringLiteral("properties"), QStringLiteral("1"));
            Table &dados = pers.child(per, QStringLiteral("dados"));
            Row &d = dados.appendRow();
            dados.setValue(d, QStringLiteral("properties"), QStringLiteral("valor_atualizado"));
            dados.setValue(d, QStringLiteral("value"), QStringLiteral("#VALOR"));
        }
    }
    // An opcao without tipos: no container is written.
    Table &cads = top.child(t, QStringLiteral("cadastro"));
    cads.child(cads.rows[1], QStringLiteral("opcao")).appendRow();

    const QByteArray bytes = p.serialize();
    QVERIFY(bytes.contains("<FIELD attrname=\"cadastro\" fieldtype=\"nested\"><FIELDS><FIELD attrname=\"name\""));
    QVERIFY(bytes.contains("<cadastro><ROWcadastro name=\"Receitas\"><opcao><ROWopcao "));
    QVERIFY(bytes.contains("<dados><ROWdados properties=\"valor_atualizado\" value=\"#VALOR\"/></dados>"));
    QVERIFY(bytes.contains("<ROWopcao/></opcao></ROWcadastro></cadastro></ROW></ROWDATA>"));

    const DataPacket back = DataPacket::parse(bytes, QStringLiteral("ID_ORVEN2008.XML"));
    QCOMPARE(back.serialize(), bytes);
    const Table &rt = back.root;
    QCOMPARE(rt.rows.size(), 1);
    const Table &rcads = rt.child(rt.rows[0], QStringLiteral("CADASTRO"));
    QCOMPARE(rcads.rows.size(), 2);
    QCOMPARE(rcads.text(rcads.rows[1], QStringLiteral("name")), QStringLiteral("Obrigações Financeiras "));
    QVERIFY(rcads.text(rcads.rows[1], QStringLiteral("name")) != QStringLiteral("Obrigações Financeiras"));
    const Table &rops = rcads.child(rcads.rows[0], QStringLiteral("opcao"));
    QCOMPARE(rops.text(rops.rows[0], QStringLiteral("name")), QStringLiteral("Saúde - Despesa Anulada "));
    const Table &rtipos = rops.child(rops.rows[0], QStringLiteral("tipo"));
    QCOMPARE(rtipos.text(rtipos.rows[0], QStringLiteral("name")).size(), 50);
    const Table &rcontas = rtipos.child(rtipos.rows[0], QStringLiteral("conta"));
    QCOMPARE(rcontas.rows.size(), 2);
    QCOMPARE(rcontas.text(rcontas.rows[1], QStringLiteral("value")), QStringLiteral("1.1.12.01.00   "));
    const Table &rpers = rcontas.child(rcontas.rows[1], QStringLiteral("periodicidade"));
    const Table &rdados = rpers.child(rpers.rows[0], QStringLiteral("dados"));
    QCOMPARE(rdados.rows.size(), 1);
    QCOMPARE(rdados.text(rdados.rows[0], QStringLiteral("value")), QStringLiteral("#VALOR"));
    // Child tables carry their level's metadata; a level without rows is an empty table.
    QCOMPARE(rdados.fields.size(), 2);
    const Table &rops2 = rcads.child(rcads.rows[1], QStringLiteral("opcao"));
    QCOMPARE(rops2.rows.size(), 2);
    const Table &noTipos = rops2.child(rops2.rows[1], QStringLiteral("tipo"));
    QCOMPARE(noTipos.rows.size(), 0);
    QCOMPARE(noTipos.fields.size(), 4);
    // Nested field metadata is read.
    QVERIFY(rt.fields[5].nested);
    QCOMPARE(rt.fields[5].kind(), FieldKind::Nested);
    QCOMPARE(rt.fields[5].nested->fields[1].nested->fields[2].nested->fields[3].name, QStringLiteral("conta"));
}

// Copying a table copies its nested rows: changing the copy leaves the original alone.
void TestDataPacket::copiesAreIndependent()
{
    Table cad;
    cad.fields = {Field::text(QStringLiteral("name"), 10)};
    Table top;
    top.fields = {Field::nestedTable(QStringLiteral("cadastro"), cad)};
    Row &row = top.appendRow();
    top.child(row, QStringLiteral("cadastro")).appendRow();

    Table copy = top;
    Table &copied = copy.child(copy.rows[0], QStringLiteral("cadastro"));
    copied.appendRow();
    copied.setValue(copied.rows[0], QStringLiteral("name"), QStringLiteral("x"));
    const Table &original = std::as_const(top).child(top.rows[0], QStringLiteral("cadastro"));
    QCOMPARE(original.rows.size(), 1);
    QVERIFY(!original.value(original.rows[0], QStringLiteral("name")).isValid());
    QCOMPARE(copied.rows.size(), 2);
}

void TestDataPacket::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const QByteArray fields = "<METADATA><FIELDS><FIELD attrname=\"D\" fieldtype=\"string\" WIDTH=\"100\"/>"
                              "</FIELDS><PARAMS/></METADATA><ROWDATA><ROW D=\"";
    const QByteArray tail = "\"/></ROWDATA></DATAPACKET>";
    const QString text = QStringLiteral("Opera\u00e7\u00f5es \u2013 Sa\u00fade \u20ac");
    const QByteArray cp1252 = "Opera\xE7\xF5" "es \x96 Sa\xFA" "de \x80";
    const QByteArray utf8 = text.toUtf8();

    QTest::newRow("utf-8 declared") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DATAPACKET Version=\"2.0\">"
                                           + fields + utf8 + tail
                                    << text;
    QTest::newRow("utf-8 bom") << "\xEF\xBB\xBF<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\">" + fields + utf8
                                          + tail
                               << text;
    QTest::newRow("utf-8 bom no declaration") << "\xEF\xBB\xBF<DATAPACKET Version=\"2.0\">" + fields + utf8 + tail
                                              << text;
    QTest::newRow("windows-1252 raw") << header() + fields + cp1252 + tail << text;
    QTest::newRow("windows-1252 declared") << "<?xml version=\"1.0\" encoding=\"windows-1252\"?><DATAPACKET>" + fields
                                                  + cp1252 + tail
                                           << text;
    QTest::newRow("iso-8859-1 declared") << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><DATAPACKET>" + fields
                                                + cp1252 + tail
                                         << text;
    QTest::newRow("utf-8 declared, bytes are not") << "<?xml version=\"1.0\" encoding=\"utf-8\"?><DATAPACKET>"
                                                          + fields + cp1252 + tail
                                                   << text;
    QTest::newRow("references") << header() + fields + "Opera&#231;&#245;es &#8211; Sa&#xFA;de &#8364;" + tail
                                << text;
    QTest::newRow("surrogate pair references") << header() + fields + "Sa&#250;de &#55357;&#56832;" + tail
                                               << QStringLiteral("Saúde 😀");
    QTest::newRow("raw control characters") << header() + fields + "a\x01" "b\x1F" + tail
                                            << QStringLiteral("a\u0001b\u001F");
}

void TestDataPacket::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const DataPacket p = DataPacket::parse(bytes, QStringLiteral("texto.xml"));
    QCOMPARE(p.root.rows.size(), 1);
    QCOMPARE(packetText(p, 0, QStringLiteral("D")), expected);
}

void TestDataPacket::tolerantIndentedFile()
{
    const DataPacket p = DataPacket::load(QStringLiteral(ORVEN_TEST_DATA_DIR "/packet/indented.xml"));
    const Table &t = p.root;
    QCOMPARE(t.fields.size(), 7);
    QCOMPARE(t.fields[1].width, 20);
    QCOMPARE(t.fields[2].width, 0);
    // Link field of the nested level is dropped.
    QCOMPARE(t.fields[6].nested->fields.size(), 2);
    QCOMPARE(t.params.attribute(QStringLiteral("lcid")), QStringLiteral("1046"));
    QCOMPARE(t.params.params.size(), 1);
    QCOMPARE(t.params.params[0].value, QStringLiteral("x&y"));
    QVERIFY(t.params.params[0].roundtrip);

    QCOMPARE(t.rows.size(), 3);
    const Row &r0 = t.rows[0];
    QCOMPARE(t.text(r0, QStringLiteral("NAME")), QStringLiteral("Saúde "));
    QCOMPARE(t.value(r0, QStringLiteral("valor")), QVariant(1500.0));
    QCOMPARE(t.value(r0, QStringLiteral("Data")), QVariant(QDate(2008, 2, 29)));
    QCOMPARE(t.value(r0, QStringLiteral("Momento")).toDateTime().date(), QDate(2008, 2, 29));
    QCOMPARE(t.value(r0, QStringLiteral("Momento")).toDateTime().time(), QTime(0, 0));
    QCOMPARE(t.value(r0, QStringLiteral("Ativo")), QVariant(true));
    const Table &c0 = t.child(r0, QStringLiteral("cadastro"));
    QCOMPARE(c0.rows.size(), 2);
    QCOMPARE(c0.fields.size(), 2);
    QCOMPARE(c0.value(c0.rows[0], QStringLiteral("ordem")), QVariant(1));
    QCOMPARE(c0.text(c0.rows[1], QStringLiteral("name")), QStringLiteral("Obrigações Financeiras "));
    QVERIFY(!c0.value(c0.rows[1], QStringLiteral("ordem")).isValid()); // empty integer = NULL

    const Row &r1 = t.rows[1];
    QVERIFY(!t.value(r1, QStringLiteral("Valor")).isValid());
    QCOMPARE(t.value(r1, QStringLiteral("Ativo")), QVariant(false));
    QCOMPARE(t.child(r1, QStringLiteral("cadastro")).rows.size(), 0);

    const Row &r2 = t.rows[2];
    QCOMPARE(t.value(r2, QStringLiteral("Valor")), QVariant(-2.5));
    QCOMPARE(t.value(r2, QStringLiteral("Data")), QVariant(QDate(2008, 2, 29)));
    QCOMPARE(t.value(r2, QStringLiteral("Momento")).toDateTime().time(), QTime(14, 30, 5));
    QCOMPARE(t.child(r2, QStringLiteral("cadastro")).rows.size(), 0);

    // Rewritten the platform's way: one line, upper-case structure, unknown params kept.
    const QByteArray bytes = p.serialize();
    QVERIFY(bytes.startsWith(header() + "<METADATA><FIELDS><FIELD attrname=\"name\" fieldtype=\"string\" WIDTH=\"255\"/>"));
    QVERIFY(bytes.contains("<PARAMS LCID=\"1046\" DEFAULT_ORDER=\"2\"><PARAM Name=\"APP\" Value=\"x&amp;y\" "
                           "Roundtrip=\"True\"/></PARAMS>"));
    QVERIFY(bytes.contains("<ROWcadastro name=\"Obriga\xE7\xF5" "es Financeiras \"/>"));
    QVERIFY(!bytes.contains("link"));
    QVERIFY(!bytes.contains('\n'));
}

void TestDataPacket::rowStatesAndChangeLog()
{
    // Row 1 inserted, rows 2/3 original and new image of a modification, row 4 deleted,
    // row 5 unchanged; the nested level has an inserted and a deleted row.
    const QByteArray bytes =
        header()
        + "<METADATA><FIELDS><FIELD attrname=\"Codigo\" fieldtype=\"string\" WIDTH=\"10\"/>"
          "<FIELD attrname=\"Valor\" fieldtype=\"r8\"/>"
          "<FIELD attrname=\"itens\" fieldtype=\"nested\"><FIELDS><FIELD attrname=\"n\" fieldtype=\"i4\"/>"
          "<FIELD attrname=\"lnk\" fieldtype=\"i4\" hidden=\"true\" linkfield=\"true\"/></FIELDS>"
          "<PARAMS CHANGE_LOG=\"1 0 4 2 0 2\"/></FIELD></FIELDS>"
          "<PARAMS CHANGE_LOG=\"1 0 4 3 2 8 4 0 2\" DEFAULT_ORDER=\"1\"/></METADATA><ROWDATA>"
          "<ROW RowState=\"4\" Codigo=\"N\" Valor=\"1\"/>"
          "<ROW RowState=\"1\" Codigo=\"M\" Valor=\"2\"/>"
          "<ROW RowState=\"8\" Codigo=\"M\" Valor=\"3\"/>"
          "<ROW RowState=\"2\" Codigo=\"D\" Valor=\"4\"/>"
          "<ROW RowState=\"64\" Codigo=\"U\" Valor=\"5\"><itens><ROWitens RowState=\"4\" n=\"1\" lnk=\"5\"/>"
          "<ROWitens RowState=\"2\" n=\"2\" lnk=\"5\"/><ROWitens n=\"3\"/></itens></ROW>"
          "</ROWDATA></DATAPACKET>";
    const DataPacket p = DataPacket::parse(bytes, QStringLiteral("garantia.xml"));
    const Table &t = p.root;
    QCOMPARE(t.rows.size(), 5);
    QList<int> states;
    for (const Row &r : t.rows)
        states << r.rowState;
    QCOMPARE(states, (QList<int>{4, 1, 8, 2, 64}));
    QCOMPARE(t.params.attribute(QStringLiteral("CHANGE_LOG")), QStringLiteral("1 0 4 3 2 8 4 0 2"));
    QCOMPARE(t.child(t.rows[4], QStringLiteral("itens")).rows.size(), 3);

    // Rewriting keeps states and change logs; RowState comes first.
    const QByteArray again = p.serialize();
    QVERIFY(again.contains("<ROW RowState=\"8\" Codigo=\"M\" Valor=\"3\"/>"));
    QVERIFY(again.contains("<PARAMS CHANGE_LOG=\"1 0 4 3 2 8 4 0 2\" DEFAULT_ORDER=\"1\"/>"));
    QVERIFY(again.contains("<PARAMS CHANGE_LOG=\"1 0 4 2 0 2\"/></FIELD>"));
    QVERIFY(again.contains("<ROWitens RowState=\"4\" n=\"1\"/>"));

    const Table v = t.visible();
    QStringList codes;
    QList<double> values;
    for (const Row &r : v.rows) {
        QCOMPARE(r.rowState, 0);
        codes << v.text(r, QStringLiteral("Codigo"));
        values << v.value(r, QStringLiteral("Valor")).toDouble();
    }
    QCOMPARE(codes, (QStringList{"N", "M", "U"}));
    QCOMPARE(values, (QList<double>{1, 3, 5}));
    const Table &items = v.child(v.rows[2], QStringLiteral("itens"));
    QCOMPARE(items.rows.size(), 2);
    QCOMPARE(items.value(items.rows[0], QStringLiteral("n")), QVariant(1));
    QCOMPARE(items.rows[0].rowState, 0);
    QCOMPARE(items.value(items.rows[1], QStringLiteral("n")), QVariant(3));

    // The merged data written again: no states, no change logs.
    DataPacket merged;
    merged.root = v;
    const QByteArray clean = merged.serialize();
    QVERIFY(!clean.contains("RowState"));
    QVERIFY(!clean.contains("CHANGE_LOG"));
    QVERIFY(clean.contains("<PARAMS DEFAULT_ORDER=\"1\"/>"));
    QCOMPARE(DataPacket::parse(clean, QStringLiteral("x")).root.rows.size(), 3);
    // The original is untouched.
    QCOMPARE(t.rows.size(), 5);
    QCOMPARE(t.rows[0].rowState, 4);
}

void TestDataPacket::guaranteeExample()
{
    QByteArray bytes = header()
        + "<METADATA><FIELDS>\n<FIELD attrname=\"Codigo\" fieldtype=\"string\" WIDTH=\"10\"/>\n"
          "<FIELD attrname=\"Descricao\" fieldtype=\"string\" WIDTH=\"100\"/>\n";
    for (int i = 1; i <= 6; ++i)
        bytes += "<FIELD attrname=\"Valor" + QByteArray::number(i) + "\" fieldtype=\"r8\"/>";
    bytes += "\n</FIELDS><PARAMS DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\"/></METADATA><ROWDATA>\n"
             "<ROW Codigo=\"1.11\" Descricao=\"Garantia (Externa) - Aval em opera&#231;&#245;es de cr&#233;dito\"\n"
             "     Valor1=\"1500\" Valor2=\"1234.56\" Valor3=\"0\" Valor4=\"-0.5\" Valor5=\"0\" Valor6=\"0\"/>\n"
             "</ROWDATA></DATAPACKET>";
    const DataPacket p = DataPacket::parse(bytes, QStringLiteral("ORVEN_Garantia.xml"));
    const Table &t = p.root;
    QCOMPARE(t.fields.size(), 8);
    QCOMPARE(t.rows.size(), 1);
    const Row &r = t.rows[0];
    QCOMPARE(t.text(r, QStringLiteral("codigo")), QStringLiteral("1.11"));
    QCOMPARE(t.text(r, QStringLiteral("Descricao")),
             QStringLiteral("Garantia (Externa) - Aval em operações de crédito"));
    const QList<double> expected = {1500, 1234.56, 0, -0.5, 0, 0};
    for (int i = 1; i <= 6; ++i) {
        const QVariant v = t.value(r, QStringLiteral("VALOR%1").arg(i));
        QCOMPARE(v.typeId(), QMetaType::Double);
        QCOMPARE(v.toDouble(), expected[i - 1]);
    }
    const QByteArray out = p.serialize();
    QVERIFY(out.contains("<PARAMS DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\"/>"));
    QVERIFY(out.contains("<ROW Codigo=\"1.11\" Descricao=\"Garantia (Externa) - Aval em opera\xE7\xF5" "es de cr\xE9"
                         "dito\" Valor1=\"1500\" Valor2=\"1234.56\" Valor3=\"0\" Valor4=\"-0.5\" Valor5=\"0\" "
                         "Valor6=\"0\"/>"));
}

void TestDataPacket::malformed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("detail"); // a piece of the message telling what is wrong

    DataPacket good;
    good.root = catalogueMetadata();
    Row &row = good.root.appendRow();
    good.root.setValue(row, QStringLiteral("name"), QStringLiteral("lrfcaptura"));
    for (int i = 0; i < 20; ++i) {
        Table &c = good.root.child(row, QStringLiteral("cadastro"));
        c.setValue(c.appendRow(), QStringLiteral("name"), QStringLiteral("Seção %1").arg(i));
    }
    const QByteArray whole = good.serialize();

    QTest::newRow("truncated in the middle") << whole.left(whole.size() / 2) << "incompleto";
    QTest::newRow("truncated after a tag") << whole.left(whole.indexOf("</ROWDATA>")) << "incompleto";
    QTest::newRow("not xml") << QByteArray("Codigo;Descricao\n1.11;Aval\n") << "não é um arquivo XML";
    QTest::newRow("empty file") << QByteArray() << "vazio";
    QTest::newRow("wrong root") << QByteArray("<?xml version=\"1.0\"?><lrfcaptura bimestre=\"1\"/>")
                                << "<lrfcaptura>";
    QTest::newRow("no metadata") << QByteArray("<DATAPACKET Version=\"2.0\"><ROWDATA/></DATAPACKET>") << "METADATA";
    QTest::newRow("no fields") << QByteArray("<DATAPACKET><METADATA><PARAMS/></METADATA></DATAPACKET>") << "FIELDS";
    QTest::newRow("garbage bytes") << QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR\xFF\xD8\xFF\x00\x01", 24)
                                   << "XML";
    QTest::newRow("unterminated attribute")
        << header() + "<METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"string\"/></FIELDS></METADATA>"
                      "<ROWDATA><ROW A=\"1/><ROW A=\"2\"/></ROWDATA></DATAPACKET>"
        << "mal formado";
    QTest::newRow("mismatched end tag")
        << header() + "\n<METADATA><FIELDS></FIELDS></METADATA>\n<ROWDATA></ROWDAT></DATAPACKET>" << "linha 3";
    QTest::newRow("field without name")
        << header() + "<METADATA><FIELDS><FIELD fieldtype=\"string\"/></FIELDS></METADATA></DATAPACKET>" << "attrname";
    QTest::newRow("bad number")
        << header() + "<METADATA><FIELDS><FIELD attrname=\"Valor1\" fieldtype=\"r8\"/></FIELDS></METADATA>"
                      "<ROWDATA><ROW Valor1=\"12x\"/></ROWDATA></DATAPACKET>"
        << "Valor1";
    QByteArray deep = header() + "<METADATA><FIELDS>";
    for (int i = 0; i < 100; ++i)
        deep += "<FIELD attrname=\"n\" fieldtype=\"nested\"><FIELDS>";
    for (int i = 0; i < 100; ++i)
        deep += "</FIELDS></FIELD>";
    deep += "</FIELDS></METADATA></DATAPACKET>";
    QTest::newRow("nested too deep") << deep << "níveis";
    QTest::newRow("bad date")
        << header() + "<METADATA><FIELDS><FIELD attrname=\"Dia\" fieldtype=\"date\"/></FIELDS></METADATA>"
                      "<ROWDATA><ROW Dia=\"20080230\"/></ROWDATA></DATAPACKET>"
        << "20080230";
}

void TestDataPacket::malformed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ORVEN_Garantia.xml"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    try {
        DataPacket::load(path);
        QFAIL("no error for a malformed file");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        QVERIFY2(e.message().contains(detail), qPrintable(e.message()));
    }
}

void TestDataPacket::missingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vrs_plano_orven.xml"));
    try {
        DataPacket::load(path);
        QFAIL("no error for a missing file");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("não encontrado")), qPrintable(e.message()));
    }
    try {
        DataPacket::load(dir.path());
        QFAIL("no error for a folder");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(dir.path())), qPrintable(e.message()));
    }
}

void TestDataPacket::exactBytes()
{
    DataPacket p;
    Field code = Field::text(QStringLiteral("Nome_Completo"), 20, true);
    code.fieldName = QStringLiteral("Nome Completo");
    code.readOnly = true;
    code.subtype = QStringLiteral("FixedChar");
    Field value = makeField(QStringLiteral("Preco"), QStringLiteral("fixed"), 15);
    value.decimals = 2;
    Table sub;
    sub.fields = {Field::integer(QStringLiteral("n"))};
    p.root.fields = {code, value, Field::floating(QStringLiteral("Valor")), Field::nestedTable(QStringLiteral("itens"), sub)};
    p.root.params.params.append({QStringLiteral("APP"), QStringLiteral("1"), QStringLiteral("i4"), true});
    Row &r = p.root.appendRow();
    p.root.setValue(r, QStringLiteral("nome_completo"), QStringLiteral("Ação"));
    p.root.setValue(r, QStringLiteral("Preco"), QStringLiteral("10.5"));
    p.root.setValue(r, QStringLiteral("Valor"), QStringLiteral("0"));
    p.root.child(r, QStringLiteral("itens")).setValue(p.root.child(r, QStringLiteral("itens")).appendRow(),
                                                       QStringLiteral("n"), 3);
    r.rowState = RowInserted;

    const QByteArray expected =
        "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD fieldname=\"Nome Completo\" attrname=\"Nome_Completo\" fieldtype=\"string\" readonly=\"true\" "
        "required=\"true\" SUBTYPE=\"FixedChar\" WIDTH=\"20\"/>"
        "<FIELD attrname=\"Preco\" fieldtype=\"fixed\" DECIMALS=\"2\" WIDTH=\"15\"/>"
        "<FIELD attrname=\"Valor\" fieldtype=\"r8\"/>"
        "<FIELD attrname=\"itens\" fieldtype=\"nested\"><FIELDS><FIELD attrname=\"n\" fieldtype=\"i4\"/></FIELDS>"
        "<PARAMS/></FIELD></FIELDS><PARAMS><PARAM Name=\"APP\" Value=\"1\" Type=\"i4\" Roundtrip=\"True\"/></PARAMS>"
        "</METADATA><ROWDATA><ROW RowState=\"4\" Nome_Completo=\"A\xE7\xE3o\" Preco=\"10.5\" Valor=\"0\">"
        "<itens><ROWitens n=\"3\"/></itens></ROW></ROWDATA></DATAPACKET>";
    QCOMPARE(p.serialize(), expected);

    DataPacket empty;
    empty.root.fields = {Field::integer(QStringLiteral("versao"))};
    QCOMPARE(empty.serialize(),
             QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                        "<FIELD attrname=\"versao\" fieldtype=\"i4\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
                        "</ROWDATA></DATAPACKET>"));
}

void TestDataPacket::saveReplacesFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vrs_plano_orven.xml"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content that is longer than the new packet, much longer, really much longer than it........"
                  "..........................................................................................."
                  "...........................................................................................");
    }
    DataPacket p;
    p.root.fields = {Field::integer(QStringLiteral("versao"))};
    p.root.setValue(p.root.appendRow(), QStringLiteral("versao"), 2);
    p.save(path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), p.serialize());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Vrs_plano_orven.xml")});
    const DataPacket back = DataPacket::load(path);
    QCOMPARE(back.root.value(back.root.rows[0], QStringLiteral("VERSAO")), QVariant(2));

    const QString bad = dir.filePath(QStringLiteral("sem_pasta/ORVEN_Garantia.xml"));
    try {
        p.save(bad);
        QFAIL("no error when the folder is missing");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(bad)), qPrintable(e.message()));
    }

    // A value its field cannot hold: nothing is written, the old file stays.
    DataPacket wrong = p;
    wrong.root.rows[0].values[0] = QStringLiteral("dois");
    try {
        wrong.save(path);
        QFAIL("no error for a value the field cannot hold");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("dois")), qPrintable(e.message()));
    }
    QCOMPARE(DataPacket::load(path).root.rows[0].values[0], QVariant(2));
}

void TestDataPacket::tableHelpers()
{
    Table t;
    t.fields = {Field::text(QStringLiteral("Codigo"), 10), Field::floating(QStringLiteral("Valor1")),
                makeField(QStringLiteral("Dia"), QStringLiteral("date")),
                makeField(QStringLiteral("Ok"), QStringLiteral("boolean"))};
    QCOMPARE(t.indexOf(QStringLiteral("VALOR1")), 1);
    QCOMPARE(t.indexOf(QStringLiteral("Valor2")), -1);
    Row &r = t.appendRow();
    QCOMPARE(r.values.size(), 4);
    // Text given to typed fields is converted as the file would be read.
    t.setValue(r, QStringLiteral("valor1"), QStringLiteral("0"));
    QCOMPARE(r.values[1].typeId(), QMetaType::Double);
    t.setValue(r, QStringLiteral("Dia"), QStringLiteral("2008-02-29"));
    QCOMPARE(r.values[2], QVariant(QDate(2008, 2, 29)));
    t.setValue(r, QStringLiteral("Ok"), QStringLiteral("T"));
    QCOMPARE(r.values[3], QVariant(true));
    QCOMPARE(t.text(r, QStringLiteral("Dia")), QStringLiteral("20080229"));
    QCOMPARE(t.text(r, QStringLiteral("Valor1")), QStringLiteral("0"));
    QCOMPARE(t.text(r, QStringLiteral("Codigo")), QString());
    t.setValue(r, QStringLiteral("Valor1"), QVariant());
    QVERIFY(!t.value(r, QStringLiteral("Valor1")).isValid());
    QVERIFY_THROWS_EXCEPTION(Error, t.setValue(r, QStringLiteral("Valor1"), QStringLiteral("abc")));
    QVERIFY_THROWS_EXCEPTION(Error, t.setValue(r, QStringLiteral("Valor9"), 1));
    QVERIFY_THROWS_EXCEPTION(Error, t.child(r, QStringLiteral("Codigo")));
    QCOMPARE(std::as_const(t).child(r, QStringLiteral("nada")).rows.size(), 0);

    QCOMPARE(Field::text(QStringLiteral("a"), 5).kind(), FieldKind::Text);
    QCOMPARE(makeField(QStringLiteral("a"), QStringLiteral("UI4")).kind(), FieldKind::Integer);
    QCOMPARE(makeField(QStringLiteral("a"), QStringLiteral("SQLdateTime")).kind(), FieldKind::DateTime);
    QCOMPARE(makeField(QStringLiteral("a"), QStringLiteral("fixedFMT")).kind(), FieldKind::Fixed);
    QCOMPARE(makeField(QStringLiteral("a"), QStringLiteral("bin.hex"), 0, QStringLiteral("Graphics")).kind(),
             FieldKind::Blob);

    const Table meta = t.metadata();
    QCOMPARE(meta.fields.size(), 4);
    QCOMPARE(meta.rows.size(), 0);
}

QTEST_GUILESS_MAIN(TestDataPacket)
#include "tst_datapacket.moc"
