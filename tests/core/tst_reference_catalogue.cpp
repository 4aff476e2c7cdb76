#include "common/Error.h"
#include "demo/ReferenceCatalogue.h"
#include "demo/TabdefFiles.h"
#include "packet/DataPacket.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using namespace orven::demo;
using packet::DataPacket;
using packet::Row;
using packet::Table;

namespace {

// One tipo row of the catalogue with its position in the tree.
struct TipoRef {
    QString cadastro, opcao, opcaoId;
    const Table *table = nullptr; // the tipo level the row belongs to
    const Row *row = nullptr;
    QString text(const char *field) const { return table->text(*row, QString::fromLatin1(field)); }
    const Table &contas() const { return table->child(*row, QStringLiteral("conta")); }
};

QList<TipoRef> collectTipos(const DataPacket &p)
{
    QList<TipoRef> out;
    const Table &top = p.root;
    for (const Row &t : top.rows) {
        const Table &cads = top.child(t, QStringLiteral("cadastro"));
        for (const Row &c : cads.rows) {
            const Table &ops = cads.child(c, QStringLiteral("opcao"));
            for (const Row &o : ops.rows) {
                const Table &tipos = ops.child(o, QStringLiteral("tipo"));
                for (const Row &ti : tipos.rows) {
                    out.append({cads.text(c, QStringLiteral("name")), ops.text(o, QStringLiteral("name")),
                                ops.text(o, QStringLiteral("id")), &tipos, &ti});
                }
            }
        }
    }
    return out;
}

QString rtrim(const QString &s)
{
    int n = s.size();
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    return s.left(n);
}

// Rows of the reference table: cadastro, opcao, opcao id, tipo name (without
// its padding), tipo value, tipo id, contas, period kind, periods per conta,
// slot names as the catalogue stores them.
struct Expected {
    const char *cadastro, *opcao, *opcaoId, *tipoName, *tipoValue, *tipoId;
    int contas;
    const char *kind;
    int periods;
    const char *slotNames;
};

#define AR "valor_atualizado,valor_realizado"
#define AL "valor_atualizado,valor_liquidado"
#define INSC "valor_processado,valor_naoprocessado,valor_insuficienciaf"
#define RC "Receita Corrente (Exceto Intra-Orçamentária)"
#define RK "Receita de Capital (Exceto Intra-Orçamentária)"
#define RCI "Receita Corrente (Intra-Orçamentária)"
#define RKI "Receita de Capital (Intra-Orçamentária)"
#define DC "Despesa Corrente (Exceto Intra-Orçamentária)"
#define DK "Despesa de Capital (Exceto Intra-Orçamentária)"
#define DCI "Despesa Corrente (Intra-Orçamentária)"
#define DKI "Despesa de Capital (Intra-Orçamentária)"
#define RP "restopagarmovimento"

const Expected kTable[] = {
    {"Receitas", "Receita Realizada e Atualizada", "movimento", RC, "101", "53", 148, "1", 2, AR},
    {"Receitas", "Receita Realizada e Atualizada", "movimento", RK, "102", "54", 62, "1", 2, AR},
    {"Receitas", "Receita Realizada e Atualizada", "movimento", RCI, "108", "73", 145, "1", 2, AR},
    {"Receitas", "Receita Realizada e Atualizada", "movimento", RKI, "109", "74", 62, "1", 2, AR},
    {"Receitas", "Receita Cancelada", "movimento", RC, "101", "53", 148, "1", 2, "valor_cancelado"},
    {"Receitas", "Receita Cancelada", "movimento", RK, "102", "54", 62, "1", 2, "valor_cancelado"},
    {"Receitas", "Receita Cancelada", "movimento", RCI, "108", "73", 145, "1", 2, "valor_cancelado"},
    {"Receitas", "Receita Cancelada", "movimento", RKI, "109", "74", 62, "1", 2, "valor_cancelado"},
    {"Receitas", "Superávit Financeiro Utilizado", "movimento", "Superavit Financeiro Utilizado", "104", "55", 1, "1", 2, "valor_realizado"},
    {"Receitas", "Receita Orçamento", "orcado", RC, "101", "53", 148, "2", 6, "valor_orcado"},
    {"Receitas", "Receita Orçamento", "orcado", RK, "102", "54", 62, "2", 6, "valor_orcado"},
    {"Receitas", "Receita Orçamento", "orcado", RCI, "108", "73", 145, "2", 6, "valor_orcado"},
    {"Receitas", "Receita Orçamento", "orcado", RKI, "109", "74", 62, "2", 6, "valor_orcado"},
    {"Receitas", "Superávit Financeiro Verificado", "movimento", "Superavit Financeiro Verificado", "107", "72", 1, "0", 1, "valor_realizado"},
    {"Despesas", "Despesa Realizada", "movimento", DC, "201", "58", 79, "1", 2, "valor_empenhado,valor_liquidado,valor_realizado"},
    {"Despesas", "Despesa Realizada", "movimento", DK, "202", "59", 55, "1", 2, "valor_empenhado,valor_liquidado,valor_realizado"},
    {"Despesas", "Despesa Realizada", "movimento", DCI, "208", "75", 5, "1", 2, "valor_empenhado,valor_liquidado,valor_realizado"},
    {"Despesas", "Despesa Realizada", "movimento", DKI, "209", "76", 4, "1", 2, "valor_empenhado,valor_liquidado,valor_realizado"},
    {"Despesas", "Crédito Adicional da Despesa", "movimento", DC, "201", "58", 79, "1", 2, "valor_creditoadicion"},
    {"Despesas", "Crédito Adicional da Despesa", "movimento", DK, "202", "59", 55, "1", 2, "valor_creditoadicion"},
    {"Despesas", "Despesa Anulada", "movimento", DC, "201", "58", 79, "1", 2, "valor_cancelado,valor_anulado"},
    {"Despesas", "Despesa Anulada", "movimento", DK, "202", "59", 55, "1", 2, "valor_cancelado,valor_anulado"},
    {"Despesas", "Despesa Anulada", "movimento", DCI, "208", "75", 5, "1", 2, "valor_cancelado,valor_anulado"},
    {"Despesas", "Despesa Anulada", "movimento", DKI, "209", "76", 4, "1", 2, "valor_cancelado,valor_anulado"},
    {"Despesas", "Despesa Orçamento", "orcado", DC, "201", "58", 79, "0", 1, "valor_orcado"},
    {"Despesas", "Despesa Orçamento", "orcado", DK, "202", "59", 55, "0", 1, "valor_orcado"},
    {"Despesas", "Despesa Orçamento", "orcado", DCI, "208", "75", 5, "0", 1, "valor_orcado"},
    {"Despesas", "Despesa Orçamento", "orcado", DKI, "209", "76", 4, "0", 1, "valor_orcado"},
    {"Despesas", "Programação Financeira", "programacaofinanceira", "Administração", "#TIPO", "0", 1, "1", 1,
     "valor_mes1,valor_mes2,valor_mes3,valor_mes4,valor_mes5,valor_mes6,valor_mes7,valor_mes8,valor_mes9,valor_mes10,"
     "valor_mes11,valor_mes12"},
    {"Despesas", "De Caráter Continuado Derivada das PPP", "despesappp", "0", "0", "0", 1, "0", 1,
     "valor_exercicioanter,valor_exercicioatual,valor_exercicio01,valor_exercicio02,valor_exercicio03,"
     "valor_exercicio04,valor_exercicio05,valor_exercicio06,valor_exercicio07,valor_exercicio08,valor_exercicio09"},
    {"Despesas por Função/Subfunção", "Despesa por Função/Subfunção - Realizado", "funcaosubrealizado", "Função",
     "#CODFUNCAO", "#REALIZADOANULADO", 1, "1", 2, "valor_atualizado,valor_empenhado,valor_liquidado"},
    {"Despesas por Função/Subfunção", "Despesa por Função/Subfunção - Anulada", "funcaosubrealizado", "Função",
     "#CODFUNCAO", "#REALIZADOANULADO", 1, "1", 2, "valor_anuladoempenha,valor_anuladoliquida"},
    {"Despesas por Função/Subfunção", "Despesa por Função/Subfunção - Orçado ", "funcaosuborcado", "Função",
     "#CODFUNCAO", "0", 1, "0", 1, "valor_orcado"},
    {"Deduções", "Deduções para o Fundef Realizadas e Atualizadas", "movimento", "Deduções para o FUNDEB", "001", "62", 7, "1", 2, AR},
    {"Deduções", "Orçamento de Deduções para o FUNDEF", "orcado", "Deduções para o FUNDEB", "001", "62", 7, "0", 1, "valor_orcado"},
    {"Projeção Atuarial", "Projeção Atuarial", "projecaoatuarial", "Exercício", "Ano", "2007", 35, "0", 1,
     "valor_receitaprevide,valor_despesaprevide,valor_saldofinanceir"},
    {"Educação", "Educação - Despesa Liquidada e Atualizada", "movimento", "Despesa Educação", "205", "60", 18, "1", 2, AL},
    {"Educação", "Educação - Despesa Anulada", "movimento", "Despesa Educação", "205", "60", 18, "1", 2, "valor_anulado"},
    {"Educação", "Educação - Despesa Orçada", "orcado", "Despesa Educação", "205", "60", 18, "0", 1, "valor_orcado"},
    {"Educação", "Educação - Receita Realizada e Atualizada", "movimento", "Receita Educação", "105", "56", 2, "1", 2, AR},
    {"Educação", "Educação - Receita Cancelada", "movimento", "Receita Educação", "105", "56", 2, "1", 2, "valor_cancelado"},
    {"Educação", "Educação - Receita Orçada", "orcado", "Receita Educação", "105", "56", 2, "0", 1, "valor_orcado"},
    {"Saúde", "Saúde - Despesa Liquidada e Atualizada", "movimento", "Despesa Saúde", "206", "61", 17, "1", 2, AL},
    {"Saúde", "Saúde - Despesa Anulada ", "movimento", "Despesa Saúde", "206", "61", 17, "1", 2, "valor_anulado"},
    {"Saúde", "Saúde - Despesa Orçada", "orcado", "Despesa Saúde", "206", "61", 17, "0", 1, "valor_orcado"},
    {"Saúde", "Saúde - Receita Realizada e Atualizada", "movimento", "Receita Saúde", "106", "57", 6, "1", 2, AR},
    {"Saúde", "Saúde - Receita Cancelada", "movimento", "Receita Saúde", "106", "57", 6, "1", 2, "valor_cancelado"},
    {"Saúde", "Saúde - Receita Orçada", "orcado", "Receita Saúde", "106", "57", 6, "0", 1, "valor_orcado"},
    {"Dívidas Realizadas", "Dívidas Realizadas Realizada", "movimento", "Divida Realizada", "005", "66", 10, "2", 1, "valor_realizado"},
    {"Dívidas Amortizadas", "Dívidas Amortizadas Realizada", "movimento", "Divida Amortizada", "004", "65", 4, "2", 1, "valor_empenhado,valor_liquidado"},
    {"Dívidas Amortizadas", "Dívidas Amortizadas Crédito Adicional", "movimento", "Divida Amortizada", "004", "65", 4, "2", 1, "valor_creditoadicion"},
    {"Dívidas Amortizadas", "Dívida Amortizada - Anulada", "movimento", "Divida Amortizada", "004", "65", 4, "2", 1, "valor_cancelado,valor_anulado"},
    {"Dívidas Amortizadas", "Dívidada Amortizada - Orçada", "orcado", "Divida Amortizada", "004", "65", 4, "0", 1, "valor_orcado"},
    {"Restos à Pagar", "Restos à Pagar Realizado - Baixa", RP, "Realizado (baixa mês a mês)", "01", "28", 18, "1", 2,
     "valor_processado,valor_processadocanc,valor_naoprocessado,valor_naoprocessadoc"},
    {"Restos à Pagar", "Restos à Pagar Realizado - Baixa", RP, "Realizado (baixa mês a mês) (Intra-Orçamentário)", "10", "34", 18, "1", 2,
     "valor_processado,valor_processadocanc,valor_naoprocessado,valor_naoprocessadoc"},
    {"Restos à Pagar", "Restos à Pagar Inscritos no Final do Exercício Atual", RP, "Inscritos do Exercício Atual", "04", "30", 18, "0", 1, INSC},
    {"Restos à Pagar", "Restos à Pagar Inscritos no Final do Exercício Atual", RP, "Inscritos do Exercício Atual (Intra-Orçamentário)", "13", "36", 18, "0", 1, INSC},
    {"Restos à Pagar", "Restos à Pagar Realizado - Educação Inscrito", RP, "Educação", "06", "32", 5, "0", 1, INSC},
    {"Restos à Pagar", "Restos à Pagar Realizado - Educação Inscrito", RP, "Educação (Intra-Orçamentário)", "15", "38", 5, "0", 1, INSC},
    {"Restos à Pagar", "Restos à Pagar - Educação Cancelado", RP, "Educação Cancelado", "08", "40", 5, "1", 2, "valor_cancelado"},
    {"Restos à Pagar", "Restos à Pagar - Educação Cancelado", RP, "Educação Cancelado (Intra-Orçamentário)", "17", "42", 5, "1", 2, "valor_cancelado"},
    {"Restos à Pagar", "Restos à Pagar Realizado - Saúde Inscrito", RP, "Saúde", "07", "33", 2, "0", 1, INSC},
    {"Restos à Pagar", "Restos à Pagar Realizado - Saúde Inscrito", RP, "Saúde (Intra-Orçamentário)", "16", "39", 2, "0", 1, INSC},
    {"Restos à Pagar", "Restos à Pagar - Saúde Cancelado", RP, "Saúde Cancelado", "09", "41", 2, "1", 2, "valor_cancelado"},
    {"Restos à Pagar", "Restos à Pagar - Saúde Cancelado", RP, "Saúde Cancelado (Intra-Orçamentário)", "18", "43", 2, "1", 2, "valor_cancelado"},
    {"Restos à Pagar", "Restos à Pagar Inscritos e Processados em Exercícios Anteriores", RP, "Exercícios Anteriores", "05", "31", 25, "0", 1, "valor_processado"},
    {"Restos à Pagar", "Restos à Pagar Inscritos e Processados em Exercícios Anteriores", RP, "Exercícios Anteriores (Intra-Orçamentário)", "14", "37", 25, "0", 1, "valor_processado"},
    {"Obrigações Financeiras ", "Obrigações Financeiras", RP, "Obrigação Financeira", "02", "29", 4, "0", 1, "valor_processado"},
    {"Obrigações Financeiras ", "Obrigações Financeiras", RP, "Obrigação Financeira (Intra-Orçamentário)", "11", "35", 4, "0", 1, "valor_processado"},
    {"Disponibilidades", "Disponibilidades", "movimento", "Disponibilidade Realizado", "008", "69", 8, "2", 1, "valor_realizado"},
    {"Dívida Ativa", "Dívida Ativa - Recebimento", "movimento", "Dívida Ativa Recebimento", "007", "68", 4, "1", 2, "valor_recebimento,valor_cancelado"},
    {"Dívida Ativa", "Dívida Ativa - Inscrita do Exercício Anterior", "movimento", "Dívida Ativa Inscrita no Exercício", "006", "67", 2, "0", 1, "valor_inscritoexerci"},
    {"Incentivos Fiscais", "Incentivos Fiscais - Atualizada e Liquidada", "movimento", "Incentivo Fiscal", "002", "63", 2, "1", 2, AL},
    {"Incentivos Fiscais", "Incetivo Fiscal - Anulado ", "movimento", "Incentivo Fiscal", "002", "63", 2, "1", 2, "valor_anulado"},
    {"Incentivos Fiscais", "Orçamento de Incentivos Fiscais ", "orcado", "Incentivo Fiscal", "002", "63", 2, "0", 1, "valor_orcado"},
    {"Garantias e Contragarantias", "Garantias e Contragarantias", "movimento", "Garantia Contragarantia", "003", "64", 12, "1", 2, "valor_realizado"},
    {"Operação de Crédito", "Operação de Crédito", "movimento", "Operação de Credito Realizado (ARO)", "009", "70", 7, "2", 1, "valor_realizado"},
    {"Meta Fiscal da LDO", "Meta Fiscal da LDO", "metafiscalnominalprimario", "Tipo de Meta Fiscal", "3", "3", 1, "0", 1, "valor_nominal,valor_primario"},
};

QString u8(const char *s) { return QString::fromUtf8(s); }

// Deep comparison of two tables: fields, then rows value by value and their
// nested rows. Returns an empty text when equal, else where they differ.
QString difference(const Table &a, const Table &b, const QString &where)
{
    if (a.fields.size() != b.fields.size())
        return where + QStringLiteral(": field count");
    for (int i = 0; i < a.fields.size(); ++i) {
        const auto &fa = a.fields[i];
        const auto &fb = b.fields[i];
        if (fa.name != fb.name || fa.type != fb.type || fa.width != fb.width)
            return where + QStringLiteral(": field ") + fa.name;
    }
    if (a.rows.size() != b.rows.size())
        return where + QStringLiteral(": %1 rows against %2").arg(a.rows.size()).arg(b.rows.size());
    for (int r = 0; r < a.rows.size(); ++r) {
        for (int i = 0; i < a.fields.size(); ++i) {
            const QString name = a.fields[i].name;
            if (a.fields[i].kind() == packet::FieldKind::Nested) {
                const QString d = difference(a.child(a.rows[r], name), b.child(b.rows[r], name),
                                             where + QStringLiteral("/") + name + QStringLiteral("[") + QString::number(r) + QStringLiteral("]"));
                if (!d.isEmpty())
                    return d;
            } else if (a.text(a.rows[r], name) != b.text(b.rows[r], name)) {
                return where + QStringLiteral("[%1].%2: \"%3\" against \"%4\"")
                                   .arg(r)
                                   .arg(name, a.text(a.rows[r], name), b.text(b.rows[r], name));
            }
        }
    }
    return QString();
}

} // namespace

class TestReferenceCatalogue : public QObject {
    Q_OBJECT

private:
    DataPacket m_reference;
    DataPacket m_2008;
    QList<TipoRef> m_tipos;
    QList<TipoRef> m_tipos2008;

private slots:
    void initTestCase()
    {
        m_reference = referenceCatalogue();
        m_2008 = catalogue2008();
        m_tipos = collectTipos(m_reference);
        m_tipos2008 = collectTipos(m_2008);
    }

    void topRowAndTotals()
    {
        const Table &top = m_reference.root;
        QCOMPARE(top.rows.size(), 1);
        const Row &row = top.rows.first();
        QCOMPARE(top.text(row, QStringLiteral("name")), QStringLiteral("lrfcaptura"));
        QCOMPARE(top.text(row, QStringLiteral("properties")), QStringLiteral("bimestre"));
        QCOMPARE(top.text(row, QStringLiteral("value")), QStringLiteral("1"));
        QCOMPARE(top.text(row, QStringLiteral("version")), QStringLiteral("3.0"));
        QCOMPARE(top.text(row, QStringLiteral("xsi")), QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));

        // Field names and widths of every level, nested fields last.
        const QList<std::pair<QString, int>> topFields{{u8("name"), 255}, {u8("properties"), 20}, {u8("value"), 20},
                                                       {u8("version"), 3},  {u8("xsi"), 41},         {u8("cadastro"), 0}};
        for (int i = 0; i < topFields.size(); ++i) {
            QCOMPARE(top.fields[i].name, topFields[i].first);
            if (topFields[i].second)
                QCOMPARE(top.fields[i].width, topFields[i].second);
        }
        const TipoRef &first = m_tipos.first();
        QCOMPARE(first.table->fields[0].width, 255);
        QCOMPARE(first.table->fields[1].width, 20);
        QCOMPARE(first.table->fields[2].width, 25);
        const Table &contas = first.contas();
        QStringList contaFields;
        for (const auto &f : contas.fields)
            contaFields << f.name + QStringLiteral(":") + QString::number(f.width);
        QCOMPARE(contaFields.join(u','), QStringLiteral("name:255,value:20,id:25,periodicidade:0"));

        const Table &cads = top.child(row, QStringLiteral("cadastro"));
        QStringList cadNames;
        int opcoes = 0;
        for (const Row &c : cads.rows) {
            cadNames << cads.text(c, QStringLiteral("name"));
            opcoes += cads.child(c, QStringLiteral("opcao")).rows.size();
        }
        QCOMPARE(cadNames,
                 QStringList({u8("Receitas"), u8("Despesas"), u8("Despesas por Função/Subfunção"), u8("Deduções"),
                              u8("Projeção Atuarial"), u8("Educação"), u8("Saúde"), u8("Dívidas Realizadas"),
                              u8("Dívidas Amortizadas"), u8("Restos à Pagar"), u8("Obrigações Financeiras "),
                              u8("Disponibilidades"), u8("Dívida Ativa"), u8("Incentivos Fiscais"),
                              u8("Garantias e Contragarantias"), u8("Operação de Crédito"), u8("Meta Fiscal da LDO")}));
        QCOMPARE(opcoes, 51);
        QCOMPARE(m_tipos.size(), 78);
        int contaTotal = 0;
        for (const TipoRef &t : m_tipos)
            contaTotal += t.contas().rows.size();
        QCOMPARE(contaTotal, 2223);
        QCOMPARE(int(std::size(kTable)), 78);
    }

    void tipoRows_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kTable)); ++i) {
            const QByteArray tag = QByteArray::number(i + 1) + ' ' + kTable[i].opcao + " / " + kTable[i].tipoValue;
            QTest::newRow(tag.constData()) << i;
        }
    }

    void tipoRows()
    {
        QFETCH(int, index);
        QVERIFY(index < m_tipos.size());
        const Expected &e = kTable[index];
        const TipoRef &t = m_tipos[index];
        QCOMPARE(t.cadastro, u8(e.cadastro));
        QCOMPARE(t.opcao, u8(e.opcao));
        QCOMPARE(t.opcaoId, u8(e.opcaoId));
        QCOMPARE(rtrim(t.text("name")), u8(e.tipoName));
        QCOMPARE(t.text("value"), u8(e.tipoValue));
        QCOMPARE(t.text("id"), u8(e.tipoId));

        const Table &contas = t.contas();
        QCOMPARE(contas.rows.size(), e.contas);
        const QStringList slotNames = u8(e.slotNames).split(u',');
        for (const Row &conta : contas.rows) {
            const Table &periods = contas.child(conta, QStringLiteral("periodicidade"));
            QCOMPARE(periods.rows.size(), e.periods);
            for (const Row &p : periods.rows) {
                QCOMPARE(periods.text(p, QStringLiteral("properties")), u8(e.kind));
                const Table &dados = periods.child(p, QStringLiteral("dados"));
                QStringList names;
                for (const Row &d : dados.rows) {
                    names << dados.text(d, QStringLiteral("properties"));
                    QCOMPARE(dados.text(d, QStringLiteral("value")), QStringLiteral("#VALOR"));
                }
                QCOMPARE(names, slotNames);
            }
        }
    }

    void tipoNamePadding()
    {
        // The revenue and expense tipos carry names padded to 50 characters;
        // the others are written as they are.
        const QSet<QString> padded{u8("101"), u8("102"), u8("108"), u8("109"),
                                   u8("201"), u8("202"), u8("208"), u8("209")};
        int paddedRows = 0;
        for (const TipoRef &t : m_tipos) {
            const QString name = t.text("name");
            if (padded.contains(t.text("value"))) {
                QCOMPARE(name.size(), kPaddedTipoNameWidth);
                QVERIFY2(name.endsWith(u' '), qPrintable(name));
                ++paddedRows;
            } else {
                QCOMPARE(name, rtrim(name));
            }
        }
        QCOMPARE(paddedRows, 12 + 14);
    }

    void contaCodes_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("pattern");
        const auto row = [](const char *tipo, const char *pattern) {
            QTest::newRow(tipo) << u8(tipo) << u8(pattern);
        };
        row("101", R"(^1\.\d\.\d\d\.\d\d\.\d\d$)");
        row("102", R"(^2\.\d\.\d\d\.\d\d\.\d\d$)");
        row("108", R"(^7\.\d\.\d\d\.\d\d\.\d\d$)");
        row("109", R"(^8\.\d\.\d\d\.\d\d\.\d\d$)");
        row("104", R"(^2\.000\.000$)");
        row("107", R"(^2\.000\.000$)");
        row("201", R"(^3\.\d\.(?!91)\d\d\.\d\d\.\d\d$)");
        row("202", R"(^(4\.\d\.(?!91)\d\d\.\d\d\.\d\d|9\.9\.99\.99\.99)$)");
        row("208", R"(^3\.\d\.91\.\d\d\.\d\d$)");
        row("209", R"(^4\.\d\.91\.\d\d\.\d\d$)");
        row("#TIPO", R"(^#ENTIDADE$)");
        row("0", R"(^#DESCRICAO$)");
        row("#CODFUNCAO", R"(^#CODSUBFUNCAO$)");
        row("001", R"(^9\.17\.\d\d\.\d\d\.\d\d$)");
        row("Ano", R"(^Ano$)");
        row("205", R"(^\d\.\d\d$)");
        row("105", R"(^\d\.\d\d$)");
        row("206", R"(^\d\.\d\d$)");
        row("106", R"(^\d\.\d\d$)");
        row("005", R"(^1\.\d\d\d$)");
        row("004", R"(^4\.6\.80\.01\.\d\d$)");
        for (const char *t : {"01", "04", "05"})
            row(t, R"(^[123]\.\d00\.\d00$)");
        for (const char *t : {"10", "13", "14"})
            row(t, R"(^[678]\.\d00\.\d00$)");
        for (const char *t : {"06", "15", "08", "17", "07", "16", "09", "18", "02", "11"})
            row(t, R"(^\d\.\d\d$)");
        row("008", R"(^1\.\d00$)");
        row("007", R"(^\d\.\d00$)");
        row("006", R"(^\d\.000$)");
        row("002", R"(^\d\.0$)");
        row("003", R"(^[12]\.[12][123]$)");
        row("009", R"(^\d\.\d0$)");
        row("3", R"(^9\.1\.0\.0\.0\.00\.00$)");
    }

    void contaCodes()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, pattern);
        const QRegularExpression re(pattern);
        QVERIFY(re.isValid());
        int seen = 0;
        for (const TipoRef &t : m_tipos) {
            if (t.text("value") != tipo)
                continue;
            const Table &contas = t.contas();
            QSet<QString> codes;
            for (const Row &c : contas.rows) {
                const QString raw = contas.text(c, QStringLiteral("value"));
                const QString code = raw.trimmed();
                QVERIFY2(re.match(code).hasMatch(), qPrintable(code));
                if (code.at(0).isDigit()) {
                    // Court codes are padded with blanks to 15 characters.
                    QCOMPARE(raw.size(), kAccountCodeWidth);
                    QCOMPARE(raw.left(code.size()), code);
                    QVERIFY2(!codes.contains(code), qPrintable(code));
                    codes.insert(code);
                } else {
                    QCOMPARE(raw, code); // markers are kept as they are
                }
                QVERIFY(!contas.text(c, QStringLiteral("name")).trimmed().isEmpty());
            }
            ++seen;
        }
        QVERIFY(seen > 0);
        // The plain-form list matches the catalogue rows.
        const QList<CourtAccount> accounts = referenceAccounts(tipo);
        QVERIFY(!accounts.isEmpty());
        for (const CourtAccount &a : accounts)
            QVERIFY2(re.match(a.code).hasMatch(), qPrintable(a.code));
    }

    void sameAccountsUnderEveryOpcao()
    {
        // A tipo's account list is the same wherever the tipo stands, and it
        // is what referenceAccounts gives.
        QHash<QString, QStringList> firstSeen;
        for (const TipoRef &t : m_tipos) {
            const Table &contas = t.contas();
            QStringList rows;
            for (const Row &c : contas.rows) {
                rows << contas.text(c, QStringLiteral("name")) + QStringLiteral("|") + contas.text(c, QStringLiteral("value")).trimmed() +
                            QStringLiteral("|") + contas.text(c, QStringLiteral("id"));
            }
            const QString value = t.text("value");
            if (firstSeen.contains(value)) {
                QCOMPARE(rows, firstSeen.value(value));
            } else {
                firstSeen.insert(value, rows);
                QStringList expected;
                for (const CourtAccount &a : referenceAccounts(value))
                    expected << a.name + QStringLiteral("|") + a.code + QStringLiteral("|") + a.id;
                QCOMPARE(rows, expected);
            }
        }
        QCOMPARE(firstSeen.size(), catalogueTipoValues().size());
        QVERIFY(referenceAccounts(QStringLiteral("999")).isEmpty());
        QVERIFY(referenceAccounts(QStringLiteral(" 101")).isEmpty());
    }

    void accountIdsAreUnique()
    {
        // Distinct court accounts carry distinct ids across the whole catalogue.
        QHash<QString, QString> owner;
        for (const QString &tipo : catalogueTipoValues()) {
            for (const CourtAccount &a : referenceAccounts(tipo)) {
                if (!a.code.at(0).isDigit())
                    continue;
                const QString key = tipo + QStringLiteral("|") + a.code;
                QVERIFY2(!owner.contains(a.id) || owner.value(a.id) == key,
                         qPrintable(a.id + QStringLiteral(" ") + key + QStringLiteral(" ") + owner.value(a.id)));
                owner.insert(a.id, key);
            }
        }
    }

    void courtExamples_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("id");
        const auto row = [](const char *tag, const char *tipo, const char *name, const char *code, const char *id) {
            QTest::newRow(tag) << u8(tipo) << u8(name) << u8(code) << u8(id);
        };
        row("IPTU", "101", "Imposto sobre a Propriedade Predial e Territorial Urbana - IPTU", "1.1.12.02.00", "3099");
        row("credit education", "102", "Operações de Crédito Internas - Programas de Educação", "2.1.14.01.00", "3292");
        row("surplus", "104", "Superávit Financeiro do Exercício Anterior Utilizado", "2.000.000", "3368");
        row("employer", "201", "Obrigações Patronais", "3.1.20.13.00", "3381");
        row("reserve", "202", "Reserva de Contingência", "9.9.99.99.99", "3529");
        row("ITCMD", "001", "Dedução de Receita para a Formação do FUNDEB - ITCMD", "9.17.12.07.00", "3578");
        row("fundamental", "205", "Despesa com Ensino Fundamental", "1.10", "3531");
        row("union", "106", "Da União para o Município", "1.10", "3372");
        row("securities debt", "005", "Dívida Mobiliária", "1.100", "3613");
        row("cash", "008", "Caixa", "1.100", "3633");
        row("aval", "003", "Aval em operações de crédito", "1.11", "3589");
        row("amortised", "004", "Dívida mobiliária", "4.6.80.01.01", "3607");
        row("personnel", "01", "Pessoal e Encargos Sociais", "1.100.100", "637");
        row("first year", "Ano", "Exercício", "Ano", "2007");
        row("last year", "Ano", "Exercício", "Ano", "2041");
        row("fiscal target", "3", "Meta de Resultado Fixado nos Anexos de Metas Fiscais da LDO", "9.1.0.0.0.00.00", "3");
        row("education revenue", "105", "Outras Receitas Vinculadas à Educação", "6.00", "3370");
        row("active health", "206", "Pessoal ativo", "1.11", "3550");
        row("refinancing securities", "102", "Para Refinanciamento da Dívida Mobiliária", "2.1.15.00.00", "3298");
        row("refinancing others", "102", "Para Refinanciamento de Outras Dívidas", "2.1.16.00.00", "3299");
    }

    void courtExamples()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(QString, id);
        bool found = false;
        for (const CourtAccount &a : referenceAccounts(tipo)) {
            if (a.code == code && a.id == id) {
                QCOMPARE(a.name, name);
                found = true;
            }
        }
        QVERIFY2(found, qPrintable(tipo + QStringLiteral(" ") + code));
    }

    void codesTheSectionsRecognise()
    {
        const auto codes = [](const char *tipo) {
            QStringList out;
            for (const CourtAccount &a : referenceAccounts(u8(tipo)))
                out << a.code;
            return out;
        };
        // Contracted debt: each account code has its own amount rule.
        QCOMPARE(codes("005"), QStringList({u8("1.100"), u8("1.200"), u8("1.300"), u8("1.400"), u8("1.501"),
                                            u8("1.502"), u8("1.503"), u8("1.504"), u8("1.600"), u8("1.700")}));
        // Guarantees: the codes of the guarantees file.
        QCOMPARE(codes("003"), QStringList({u8("1.11"), u8("1.12"), u8("1.13"), u8("1.21"), u8("1.22"), u8("1.23"),
                                            u8("2.11"), u8("2.12"), u8("2.13"), u8("2.21"), u8("2.22"), u8("2.23")}));
        // Credit operations: the sources the revenue classification gives group 009.
        QCOMPARE(codes("009"), QStringList({u8("1.10"), u8("1.20"), u8("1.30"), u8("2.10"), u8("2.20"), u8("2.30"),
                                            u8("3.00")}));
        // Education and health revenue: the sources of groups 105 and 106.
        QCOMPARE(codes("105"), QStringList({u8("6.00"), u8("7.00")}));
        for (const char *source : {"1.10", "1.20", "1.30", "2.00", "3.00"})
            QVERIFY(codes("106").contains(u8(source)));
        // Outstanding commitments: without their points the codes are the
        // sources the commitment classification writes.
        QSet<QString> direct, intra;
        for (int d = 1; d <= 6; ++d) {
            const QString g = QString::number(d);
            direct << u8("2") + g + u8("00000") << u8("1100") + g + u8("00") << u8("1200") + g + u8("00");
            intra << u8("7") + g + u8("00000") << u8("6100") + g + u8("00") << u8("6200") + g + u8("00");
        }
        QSet<QString> compact01, compact10;
        for (QString c : codes("01"))
            compact01 << c.remove(u'.');
        for (QString c : codes("10"))
            compact10 << c.remove(u'.');
        QCOMPARE(compact01, direct);
        QCOMPARE(compact10, intra);
        // The refinancing credit-operation accounts of the amortised-debt
        // additional-credit check exist, current and intra-budgetary.
        QVERIFY(codes("102").contains(u8("2.1.15.00.00")) && codes("102").contains(u8("2.1.16.00.00")));
        QVERIFY(codes("109").contains(u8("8.1.15.00.00")) && codes("109").contains(u8("8.1.16.00.00")));
    }

    void edition2008Ids_data()
    {
        QTest::addColumn<QString>("cadastro");
        QTest::addColumn<QString>("opcao");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("id2008");
        const auto row = [](const char *cad, const char *op, const char *tipo, const char *id) {
            QTest::newRow((QByteArray(op) + " / " + tipo).constData()) << u8(cad) << u8(op) << u8(tipo) << u8(id);
        };
        row("Educação", "Educação - Despesa Liquidada e Atualizada", "205", "35");
        row("Educação", "Educação - Despesa Anulada", "205", "35");
        row("Educação", "Educação - Despesa Orçada", "205", "35");
        row("Educação", "Educação - Receita Realizada e Atualizada", "105", "29");
        row("Educação", "Educação - Receita Cancelada", "105", "29");
        row("Educação", "Educação - Receita Orçada", "105", "29");
        row("Saúde", "Saúde - Despesa Liquidada e Atualizada", "206", "36");
        row("Saúde", "Saúde - Despesa Anulada ", "206", "36");
        row("Saúde", "Saúde - Despesa Orçada", "206", "36");
        row("Saúde", "Saúde - Receita Realizada e Atualizada", "106", "30");
        row("Saúde", "Saúde - Receita Cancelada", "106", "30");
        row("Saúde", "Saúde - Receita Orçada", "106", "30");
        row("Dívidas Amortizadas", "Dívidas Amortizadas Realizada", "004", "41");
        row("Dívidas Amortizadas", "Dívidas Amortizadas Crédito Adicional", "004", "47");
        row("Dívidas Amortizadas", "Dívida Amortizada - Anulada", "004", "65");
        row("Dívidas Amortizadas", "Dívidada Amortizada - Orçada", "004", "65");
        row("Restos à Pagar", "Restos à Pagar Realizado - Baixa", "01", "10");
        row("Restos à Pagar", "Restos à Pagar Realizado - Baixa", "10", "19");
        row("Receitas", "Receita Realizada e Atualizada", "101", "53");
        row("Despesas", "Despesa Realizada", "201", "58");
        row("Projeção Atuarial", "Projeção Atuarial", "Ano", "2007");
    }

    void edition2008Ids()
    {
        QFETCH(QString, cadastro);
        QFETCH(QString, opcao);
        QFETCH(QString, tipo);
        QFETCH(QString, id2008);
        int found = 0;
        for (const TipoRef &t : m_tipos2008) {
            if (t.cadastro == cadastro && t.opcao == opcao && t.text("value") == tipo) {
                QCOMPARE(t.text("id"), id2008);
                ++found;
            }
        }
        QCOMPARE(found, 1);
    }

    void edition2008RecognisedIdsAreUnambiguous()
    {
        // Each id a section looks for is carried only by the tipos of that
        // section, so that no other cadastro picks it up by accident and no
        // tipo of the section carries a foreign one.
        const QHash<QString, QString> owners{{u8("35"), u8("Educação")},    {u8("29"), u8("Educação")},
                                             {u8("36"), u8("Saúde")},       {u8("30"), u8("Saúde")},
                                             {u8("41"), u8("Dívidas Amortizadas")},
                                             {u8("47"), u8("Dívidas Amortizadas")},
                                             {u8("10"), u8("Restos à Pagar")}, {u8("19"), u8("Restos à Pagar")}};
        for (const TipoRef &t : m_tipos2008) {
            const QString id = t.text("id");
            if (owners.contains(id))
                QVERIFY2(owners.value(id) == t.cadastro, qPrintable(t.cadastro + QStringLiteral(" ") + t.opcao + QStringLiteral(" ") + id));
        }
        // In the reference edition the same sections find none of their ids.
        for (const TipoRef &t : m_tipos) {
            const QString id = t.text("id");
            if (t.cadastro == u"Educação" || t.cadastro == u"Saúde" || t.cadastro == u"Dívidas Amortizadas")
                QVERIFY(!owners.contains(id));
            if (t.cadastro == u"Restos à Pagar")
                QVERIFY(id != u"10" && id != u"19");
        }
    }

    void edition2008CashIds()
    {
        const auto cashIds = [](const QList<TipoRef> &tipos) {
            QStringList ids;
            for (const TipoRef &t : tipos) {
                if (t.cadastro != u"Disponibilidades")
                    continue;
                for (const Row &c : t.contas().rows)
                    ids << t.contas().text(c, QStringLiteral("id"));
            }
            return ids;
        };
        QCOMPARE(cashIds(m_tipos2008), QStringList({u8("1269"), u8("1271"), u8("1273"), u8("1274"), u8("1275"),
                                                    u8("1276"), u8("1277"), u8("1278")}));
        QCOMPARE(cashIds(m_tipos), QStringList({u8("3633"), u8("3635"), u8("3637"), u8("3638"), u8("3639"),
                                                u8("3640"), u8("3641"), u8("3642")}));
    }

    void edition2008SameTreeOtherwise()
    {
        // Both editions have the same rows; only tipo ids and the cash
        // account ids differ.
        QCOMPARE(m_tipos2008.size(), m_tipos.size());
        int tipoIdChanges = 0;
        for (int i = 0; i < m_tipos.size(); ++i) {
            const TipoRef &a = m_tipos[i];
            const TipoRef &b = m_tipos2008[i];
            QCOMPARE(b.cadastro, a.cadastro);
            QCOMPARE(b.opcao, a.opcao);
            QCOMPARE(b.opcaoId, a.opcaoId);
            QCOMPARE(b.text("name"), a.text("name"));
            QCOMPARE(b.text("value"), a.text("value"));
            if (b.text("id") != a.text("id"))
                ++tipoIdChanges;
            const Table &ca = a.contas();
            const Table &cb = b.contas();
            QCOMPARE(cb.rows.size(), ca.rows.size());
            for (int r = 0; r < ca.rows.size(); ++r) {
                QCOMPARE(cb.text(cb.rows[r], QStringLiteral("name")), ca.text(ca.rows[r], QStringLiteral("name")));
                QCOMPARE(cb.text(cb.rows[r], QStringLiteral("value")), ca.text(ca.rows[r], QStringLiteral("value")));
                if (a.cadastro != u"Disponibilidades")
                    QCOMPARE(cb.text(cb.rows[r], QStringLiteral("id")), ca.text(ca.rows[r], QStringLiteral("id")));
                const QString d = difference(ca.child(ca.rows[r], QStringLiteral("periodicidade")),
                                             cb.child(cb.rows[r], QStringLiteral("periodicidade")), a.opcao);
                QVERIFY2(d.isEmpty(), qPrintable(d));
            }
        }
        // 6 education, 6 health, 2 amortised debt, 16 commitment and obligation tipos.
        QCOMPARE(tipoIdChanges, 6 + 6 + 2 + 16);
    }

    void filesRoundTrip()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString folder = tmp.filePath(QStringLiteral("TABDEF"));
        writeTabdefFiles(folder);
        const QDir dir(folder);
        QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, QStringList({u8("ID_ORVEN.XML"), u8("ID_ORVEN2008.XML"), u8("ORVENCONPLA.XML"),
                                     u8("ORVENTIPO.XML")}));
        QVERIFY(!dir.exists(QStringLiteral("Vrs_plano_orven.xml")));

        const QList<std::pair<QString, DataPacket>> expected{{u8("ID_ORVEN.XML"), m_reference},
                                                              {u8("ID_ORVEN2008.XML"), m_2008},
                                                              {u8("ORVENTIPO.XML"), chartTypesPacket()},
                                                              {u8("ORVENCONPLA.XML"), chartAccountsPacket()}};
        for (const auto &[name, packet] : expected) {
            const DataPacket loaded = DataPacket::load(dir.filePath(name));
            const QString d = difference(packet.root, loaded.root.visible(), name);
            QVERIFY2(d.isEmpty(), qPrintable(d));
        }

        // The loaded catalogue keeps blanks and accents.
        const QList<TipoRef> loaded = collectTipos(DataPacket::load(dir.filePath(QStringLiteral("ID_ORVEN.XML"))));
        QCOMPARE(loaded.size(), 78);
        bool sawBlank = false;
        for (const TipoRef &t : loaded)
            sawBlank |= t.opcao == u8("Saúde - Despesa Anulada ") && t.cadastro == u8("Saúde");
        QVERIFY(sawBlank);
        QCOMPARE(loaded.first().contas().text(loaded.first().contas().rows[4], QStringLiteral("value")),
                 u8("1.1.12.02.00   "));

        // Writing again over existing files replaces them.
        writeTabdefFiles(folder);
        QCOMPARE(dir.entryList(QDir::Files).size(), 4);
    }

    void filesUnwritableFolder()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString blocker = tmp.filePath(QStringLiteral("TABDEF"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY_THROWS_EXCEPTION(orven::Error, writeTabdefFiles(blocker));
        QVERIFY_THROWS_EXCEPTION(orven::Error, writeTabdefFiles(blocker + QStringLiteral("/SUB")));
    }

    void chartOddities()
    {
        const QList<ChartType> types = courtChartTypes();
        const QList<ChartAccount> accounts = courtChartAccounts();
        const QStringList excluded{u8("002"), u8("003"), u8("005"), u8("006"), u8("007"),
                                   u8("008"), u8("104"), u8("107"), u8("204")};

        QSet<QString> typeCodes, kinds;
        int blankCoded = 0;
        for (const ChartType &t : types) {
            QVERIFY2(!typeCodes.contains(t.codtipo.trimmed()), qPrintable(t.codtipo)); // the table refuses repeats
            typeCodes.insert(t.codtipo.trimmed());
            kinds.insert(t.kind);
            QVERIFY(t.codtipo.size() <= 5);
            QVERIFY(t.description.size() <= 150);
            if (t.codtipo != t.codtipo.trimmed()) {
                QCOMPARE(t.codtipo, u8(" 101 "));
                ++blankCoded;
            }
        }
        QCOMPARE(blankCoded, 1);
        QCOMPARE(kinds, QSet<QString>({u8("R"), u8("D"), u8("V"), u8("P")}));
        for (const QString &e : excluded)
            QVERIFY2(typeCodes.contains(e), qPrintable(e));

        // Every account belongs to a type; exactly one (type, code) pair is
        // listed twice, with two descriptions; one account row carries its
        // type with blanks, and that account appears once only.
        QHash<QString, QStringList> descriptions;
        QSet<QString> excludedWithAccounts;
        int blankRows = 0;
        for (const ChartAccount &a : accounts) {
            QVERIFY2(typeCodes.contains(a.codtipo.trimmed()), qPrintable(a.codtipo));
            QVERIFY(a.codtipo.size() <= 5);
            QVERIFY2(a.numContabil.size() <= 18, qPrintable(a.numContabil));
            QVERIFY(a.description.size() <= 150);
            if (excluded.contains(a.codtipo))
                excludedWithAccounts.insert(a.codtipo);
            if (a.codtipo != a.codtipo.trimmed())
                ++blankRows;
            descriptions[a.codtipo.trimmed() + QStringLiteral("|") + a.numContabil] << a.description;
        }
        QCOMPARE(blankRows, 1);
        QCOMPARE(excludedWithAccounts.size(), excluded.size());
        QStringList repeated;
        for (auto it = descriptions.cbegin(); it != descriptions.cend(); ++it) {
            if (it.value().size() > 1)
                repeated << it.key();
        }
        QCOMPARE(repeated, QStringList({u8("101|1.1.12.02.00")}));
        const QStringList iptu = descriptions.value(u8("101|1.1.12.02.00"));
        QCOMPARE(iptu.first(), u8("Imposto sobre a Propriedade Predial e Territorial Urbana - IPTU"));
        QVERIFY(iptu.at(1) != iptu.first());
        // The file row with the blanks is matched exactly by the import, so
        // its account must not also stand in the file without them.
        for (const ChartAccount &a : accounts) {
            if (a.codtipo == u8(" 101 "))
                QCOMPARE(descriptions.value(u8("101|") + a.numContabil).size(), 1);
        }

        // The packets hold the same rows, in file order.
        const DataPacket typesFile = chartTypesPacket();
        const DataPacket accountsFile = chartAccountsPacket();
        QCOMPARE(typesFile.root.rows.size(), types.size());
        QCOMPARE(accountsFile.root.rows.size(), accounts.size());
        QStringList fieldNames;
        for (const auto &f : typesFile.root.fields)
            fieldNames << f.name;
        for (const auto &f : accountsFile.root.fields)
            fieldNames << f.name;
        QCOMPARE(fieldNames.join(u','), QStringLiteral("CODTIPO,DESCRICAO,TIPO,CODTIPO,NUM_CONTABIL,DESC_CONTABIL"));
        QCOMPARE(typesFile.root.text(typesFile.root.rows[11], QStringLiteral("CODTIPO")), u8(" 101 "));
    }

    void chartMatchesCatalogue_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("compact");
        const auto row = [](const char *tipo, const char *kind, bool compact) {
            QTest::newRow(tipo) << u8(tipo) << u8(kind) << compact;
        };
        for (const char *t : {"101", "102", "108", "109", "001"})
            row(t, "R", false);
        for (const char *t : {"201", "202", "208", "209"})
            row(t, "D", false);
        for (const char *t : {"105", "106", "205", "206", "009", "004"})
            row(t, "V", false);
        row("01", "P", true);
        row("10", "P", true);
    }

    void chartMatchesCatalogue()
    {
        // Every account of the catalogue tipos that the classification fills
        // is offered by the chart under the same type, so that the codes the
        // accountant picks are the codes the generation looks for.
        QFETCH(QString, tipo);
        QFETCH(QString, kind);
        QFETCH(bool, compact);
        QString typeKind;
        for (const ChartType &t : courtChartTypes()) {
            if (t.codtipo.trimmed() == tipo)
                typeKind = t.kind;
        }
        QCOMPARE(typeKind, kind);
        QSet<QString> chart;
        for (const ChartAccount &a : courtChartAccounts()) {
            if (a.codtipo.trimmed() == tipo)
                chart.insert(a.numContabil);
        }
        const QList<CourtAccount> accounts = referenceAccounts(tipo);
        QVERIFY(!accounts.isEmpty());
        for (const CourtAccount &a : accounts) {
            QString code = a.code;
            if (compact)
                code.remove(u'.');
            QVERIFY2(chart.contains(code), qPrintable(tipo + QStringLiteral(" ") + code));
        }
        QCOMPARE(chart.size(), accounts.size());
    }

    void chartHoldsClassificationTargets_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("sources");
        const auto row = [](const char *group, const char *sources) {
            QTest::newRow(group) << u8(group) << u8(sources).split(u',');
        };
        // The (group, source) pairs the automatic classification writes.
        row("105", "6.00,7.00");
        row("106", "1.10,1.20,1.30,2.00,3.00");
        row("009", "1.10,1.20,1.30,2.10,2.20,2.30,3.00");
        row("206", "1.11,1.12,1.13,1.20,1.30,2.10,2.20,2.30");
        row("205", "1.10,1.20,1.30,2.10,2.20,3.00,4.00,8.11,8.12,8.21,8.22,8.30");
        row("01", "2100000,2600000,1100100,1100600,1200100,1200600");
        row("10", "7100000,7600000,6100100,6100600,6200100,6200600");
        // The court account the expense classification gives intra-budgetary
        // employer contributions, accepted for categories of group 208.
        row("203", "5.1.2.1.7.01.00");
        // Records without an initial appropriation are searched in group 207.
        row("207", "3.1.90.11.00,3.3.90.39.00,4.4.90.52.00");
    }

    void chartHoldsClassificationTargets()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, sources);
        QSet<QString> chart;
        for (const ChartAccount &a : courtChartAccounts()) {
            if (a.codtipo.trimmed() == group)
                chart.insert(a.numContabil);
        }
        for (const QString &s : sources)
            QVERIFY2(chart.contains(s), qPrintable(group + QStringLiteral(" ") + s));
    }
};

QTEST_GUILESS_MAIN(TestReferenceCatalogue)
#include "tst_reference_catalogue.moc"
