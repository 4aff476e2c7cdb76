#include "demo/DemoDatabase.h"

#include "common/Error.h"
#include "common/Progress.h"
#include "db/Firebird.h"
#include "db/Schema.h"
#include "demo/ReferenceCatalogue.h"

#include <ibase.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QUuid>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace orven::demo {

QString sizeName(DemoSize size)
{
    return size == DemoSize::Large ? QStringLiteral("large") : QStringLiteral("small");
}

bool parseSize(const QString &text, DemoSize *size)
{
    const QString t = text.trimmed().toLower();
    DemoSize s;
    if (t == u"small")
        s = DemoSize::Small;
    else if (t == u"large")
        s = DemoSize::Large;
    else
        return false;
    if (size)
        *size = s;
    return true;
}

qint64 DemoContents::total() const
{
    qint64 n = 0;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        n += it.value();
    return n;
}

namespace {

// ---------------------------------------------------------------------------
// Deterministic randomness: splitmix64, one stream per part of the data so
// that a change in one part leaves the others as they were.

class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed * 0x2545F4914F6CDD1Dull + 0x1234567ull) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // [0, 1)
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // lo..hi, both included
    int range(int lo, int hi) { return hi <= lo ? lo : lo + int(next() % quint64(hi - lo + 1)); }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    bool chance(double p) { return unit() < p; }
    template <typename T>
    const T &pick(const std::vector<T> &v) { return v[size_t(range(0, int(v.size()) - 1))]; }

private:
    quint64 m_state;
};

double cents(double v) { return std::round(v * 100.0) / 100.0; }
// Budget figures are round to the hundred reais.
double hundreds(double v) { return std::round(v / 100.0) * 100.0; }

const int kYear = kDemoYear;

QDate day(int y, int m, int d) { return QDate(y, m, d); }
QDate monthEnd(int y, int m) { return QDate(y, m, 1).addMonths(1).addDays(-1); }
// Timestamps are written as wall-clock values: UTC keeps clear of daylight-saving gaps.
QDateTime at(const QDate &d, int hour = 0, int minute = 0)
{
    return QDateTime(d, QTime(hour, minute), QTimeZone::utc());
}
// Business hours, or the suite's habit of closing the month at 14:00 on its last day.
QDateTime stamp(Rng &rng, const QDate &d)
{
    if (d == monthEnd(d.year(), d.month()) && rng.chance(0.6))
        return at(d, 14, 0);
    if (rng.chance(0.3))
        return at(d, rng.range(8, 17), rng.range(0, 59));
    return at(d);
}
// A moment of the same day as an earlier event cannot come before it.
QDateTime notBefore(const QDateTime &t, const QDateTime &earliest) { return t < earliest ? earliest : t; }
QDate clampToYear(const QDate &d, int year = kYear)
{
    const QDate last(year, 12, 31);
    return d > last ? last : d;
}

// A SQL null: an invalid variant (the driver binds NULL for it whatever the column).
QVariant null() { return QVariant(); }
QVariant orNull(const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); }

// ---------------------------------------------------------------------------
// Bulk loading: one prepared INSERT per table, executed with bound values,
// inside transactions committed every few tens of thousands of rows.

class Loader {
public:
    Loader(QSqlDatabase &db, DemoContents &contents) : m_db(db), m_contents(contents) {}

    void begin()
    {
        if (!m_db.transaction())
            throw Error(QStringLiteral("Não foi possível iniciar a transação de carga: %1").arg(m_db.lastError().text()));
        m_open = true;
        m_pending = 0;
        ++m_generation;
    }
    // Changes at every transaction: the driver ties a prepared statement to
    // the transaction it was prepared in.
    int generation() const { return m_generation; }
    void commit()
    {
        if (m_open && !m_db.commit())
            throw Error(QStringLiteral("Não foi possível gravar os dados de demonstração: %1").arg(m_db.lastError().text()));
        m_open = false;
    }
    void rollback()
    {
        if (m_open)
            m_db.rollback();
        m_open = false;
    }
    void counted(const QString &table)
    {
        m_contents.rows[table] += 1;
        if (++m_pending >= kCommitEvery) {
            commit();
            begin();
        }
    }
    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        if (!q.exec(sql))
            throw Error(QStringLiteral("Erro ao gravar os dados de demonstração:\n%1\n%2").arg(q.lastError().text(), sql.left(200)));
    }
    QSqlDatabase &db() { return m_db; }

private:
    static constexpr int kCommitEvery = 50000;
    QSqlDatabase &m_db;
    DemoContents &m_contents;
    bool m_open = false;
    int m_pending = 0;
    int m_generation = 0;
};

class Inserter {
public:
    Inserter(Loader &loader, const QString &table, const QStringList &columns)
        : m_loader(loader), m_table(table), m_columns(columns), m_query(loader.db())
    {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        m_sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        prepare();
    }

    void insert(const QVariantList &values)
    {
        Q_ASSERT(values.size() == m_columns.size());
        if (m_generation != m_loader.generation())
            prepare();
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values.at(i));
        if (!m_query.exec()) {
            QStringList shown;
            for (int i = 0; i < values.size(); ++i)
                shown << m_columns.at(i) + QLatin1Char('=') + values.at(i).toString();
            throw Error(QStringLiteral("Erro ao gravar os dados de demonstração em %1:\n%2\n%3")
                            .arg(m_table, m_query.lastError().text(), shown.join(QStringLiteral(", ")).left(400)));
        }
        m_loader.counted(m_table);
    }

private:
    void prepare()
    {
        m_query = QSqlQuery(m_loader.db());
        if (!m_query.prepare(m_sql))
            throw Error(QStringLiteral("Erro ao preparar a carga de %1:\n%2").arg(m_table, m_query.lastError().text()));
        m_generation = m_loader.generation();
    }

    Loader &m_loader;
    int m_generation = -1;
    QString m_table;
    QStringList m_columns;
    QString m_sql;
    QSqlQuery m_query;
};

QStringList columns(const char *list) { return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// Progress over the phases of the fill, in thousandths.
class Phases {
public:
    explicit Phases(Progress &progress) : m_progress(progress) { m_progress.setMaximum(1000); }
    void start(const QString &status, int from, int to)
    {
        m_from = from;
        m_to = to;
        m_progress.setStatus(status);
        m_progress.setPosition(from);
    }
    void fraction(double f)
    {
        const qint64 p = m_from + qint64(std::clamp(f, 0.0, 1.0) * (m_to - m_from));
        if (p != m_last) {
            m_last = p;
            m_progress.setPosition(p);
        }
    }
    void finish() { m_progress.setPosition(m_to); }

private:
    Progress &m_progress;
    int m_from = 0, m_to = 0;
    qint64 m_last = -1;
};

// ---------------------------------------------------------------------------
// The municipality.

struct EntityDef {
    int code;
    const char *name;
    const char *tipo; // "1" executive, "2" legislative
    const char *adm;  // "D" direct, "I" indirect administration
    const char *sigla;
    const char *cnpj;
};

const EntityDef kEntities[] = {
    {1, "PREFEITURA MUNICIPAL DE SÃO JOÃO DO ARAGUAIA", "1", "D", "PMSJA", "05.853.163/0001-30"},
    {2, "CÂMARA MUNICIPAL DE SÃO JOÃO DO ARAGUAIA", "2", "D", "CMSJA", "04.110.447/0001-80"},
    {3, "FUNDO MUNICIPAL DE SAÚDE", "1", "D", "FMS", "11.402.887/0001-55"},
    {4, "FUNDO MUNICIPAL DE EDUCAÇÃO - FUNDEB", "1", "D", "FUNDEB", "09.311.569/0001-04"},
    {5, "INSTITUTO DE PREVIDÊNCIA DOS SERVIDORES MUNICIPAIS", "1", "I", "IPSEM", "03.671.492/0001-17"},
    {7, "SERVIÇO AUTÔNOMO DE ÁGUA E ESGOTO - SAAE", "1", "I", "SAAE", "06.226.735/0001-42"},
    {12, "FUNDO MUNICIPAL DE ASSISTÊNCIA SOCIAL", "1", "D", "FMAS", "14.977.268/0001-91"},
};

QString u(const char *s) { return QString::fromUtf8(s); }
// Text cut to a column's width.
QString fit(const QString &s, int width) { return s.size() <= width ? s : s.left(width).trimmed(); }

// Resource links (vínculos) of the budget records. Group "002" code "016"
// (youth and adult education) is used by records but missing here on
// purpose: the suite lets such records exist, and the expense
// classification's "link found" test then fails for them.
struct LinkDef {
    const char *grupo, *codigo, *name;
};
const LinkDef kLinks[] = {
    {"001", "001", "Recursos Ordinários"},
    {"001", "002", "Receita de Impostos e Transferências - Educação (MDE)"},
    {"001", "003", "Receita de Impostos e Transferências - Saúde (ASPS)"},
    {"002", "010", "FUNDEB - Remuneração do Magistério (60%)"},
    {"002", "011", "FUNDEB - Outras Despesas (40%)"},
    {"002", "012", "Salário-Educação - Quota Municipal"},
    {"002", "013", "Programa Nacional de Alimentação Escolar - PNAE"},
    {"002", "014", "Programa Nacional de Apoio ao Transporte Escolar - PNATE"},
    {"002", "015", "Programa Dinheiro Direto na Escola - PDDE"},
    {"002", "020", "SUS - Bloco da Atenção Básica"},
    {"002", "021", "SUS - Bloco da Média e Alta Complexidade"},
    {"002", "022", "SUS - Bloco da Vigilância em Saúde"},
    {"002", "025", "Fundo Nacional de Assistência Social - FNAS"},
    {"003", "030", "Convênios com a União"},
    {"003", "031", "Convênios com o Estado do Pará"},
    {"004", "040", "Operações de Crédito Internas"},
    {"005", "050", "Regime Próprio de Previdência Social - RPPS"},
    {"006", "060", "Recursos Extraorçamentários - Consignações"},
    {"007", "070", "Tarifas do Serviço de Água e Esgoto"},
    {"008", "080", "CIDE e Compensações Financeiras (CFEM)"},
};

struct NamedCode {
    const char *code, *name;
};

const NamedCode kFunctions[] = {
    {"01", "Legislativa"}, {"02", "Judiciária"}, {"03", "Essencial à Justiça"}, {"04", "Administração"},
    {"05", "Defesa Nacional"}, {"06", "Segurança Pública"}, {"07", "Relações Exteriores"},
    {"08", "Assistência Social"}, {"09", "Previdência Social"}, {"10", "Saúde"}, {"11", "Trabalho"},
    {"12", "Educação"}, {"13", "Cultura"}, {"14", "Direitos da Cidadania"}, {"15", "Urbanismo"},
    {"16", "Habitação"}, {"17", "Saneamento"}, {"18", "Gestão Ambiental"}, {"19", "Ciência e Tecnologia"},
    {"20", "Agricultura"}, {"21", "Organização Agrária"}, {"22", "Indústria"}, {"23", "Comércio e Serviços"},
    {"24", "Comunicações"}, {"25", "Energia"}, {"26", "Transporte"}, {"27", "Desporto e Lazer"},
    {"28", "Encargos Especiais"}, {"99", "Reserva de Contingência"},
};

const NamedCode kSubfunctions[] = {
    {"031", "Ação Legislativa"}, {"032", "Controle Externo"}, {"061", "Ação Judiciária"},
    {"092", "Representação Judicial e Extrajudicial"}, {"121", "Planejamento e Orçamento"},
    {"122", "Administração Geral"}, {"123", "Administração Financeira"}, {"124", "Controle Interno"},
    {"126", "Tecnologia da Informação"}, {"127", "Ordenamento Territorial"},
    {"128", "Formação de Recursos Humanos"}, {"129", "Administração de Receitas"},
    {"131", "Comunicação Social"}, {"181", "Policiamento"}, {"182", "Defesa Civil"},
    {"241", "Assistência ao Idoso"}, {"242", "Assistência ao Portador de Deficiência"},
    {"243", "Assistência à Criança e ao Adolescente"}, {"244", "Assistência Comunitária"},
    {"271", "Previdência Básica"}, {"272", "Previdência do Regime Estatutário"},
    {"301", "Atenção Básica"}, {"302", "Assistência Hospitalar e Ambulatorial"},
    {"303", "Suporte Profilático e Terapêutico"}, {"304", "Vigilância Sanitária"},
    {"305", "Vigilância Epidemiológica"}, {"306", "Alimentação e Nutrição"},
    {"331", "Proteção e Benefícios ao Trabalhador"}, {"361", "Ensino Fundamental"}, {"362", "Ensino Médio"},
    {"363", "Ensino Profissional"}, {"364", "Ensino Superior"}, {"365", "Educação Infantil"},
    {"366", "Educação de Jovens e Adultos"}, {"367", "Educação Especial"},
    {"391", "Patrimônio Histórico, Artístico e Arqueológico"}, {"392", "Difusão Cultural"},
    {"422", "Direitos Individuais, Coletivos e Difusos"}, {"451", "Infra-Estrutura Urbana"},
    {"452", "Serviços Urbanos"}, {"453", "Transportes Coletivos Urbanos"}, {"482", "Habitação Urbana"},
    {"511", "Saneamento Básico Rural"}, {"512", "Saneamento Básico Urbano"},
    {"541", "Preservação e Conservação Ambiental"}, {"542", "Controle Ambiental"},
    {"606", "Extensão Rural"}, {"608", "Promoção da Produção Agropecuária"}, {"695", "Turismo"},
    {"722", "Telecomunicações"}, {"752", "Energia Elétrica"}, {"782", "Transporte Rodoviário"},
    {"812", "Desporto Comunitário"}, {"813", "Lazer"}, {"841", "Refinanciamento da Dívida Interna"},
    {"843", "Serviço da Dívida Interna"}, {"844", "Serviço da Dívida Externa"}, {"845", "Transferências"},
    {"846", "Outros Encargos Especiais"}, {"999", "Reserva de Contingência"},
};

const NamedCode kPrograms[] = {
    {"0001", "Processo Legislativo"},
    {"0002", "Gestão Administrativa"},
    {"0003", "Gestão Financeira e Tributária"},
    {"0004", "Saúde da Família - Atenção Básica"},
    {"0005", "Atenção Hospitalar e Ambulatorial"},
    {"0006", "Vigilância em Saúde"},
    {"0007", "Ensino Fundamental de Qualidade"},
    {"0008", "Educação Infantil - Primeiros Passos"},
    {"0009", "Valorização do Magistério - FUNDEB"},
    {"0010", "Transporte Escolar"},
    {"0011", "Alimentação Escolar"},
    {"0012", "Proteção Social Básica"},
    {"0013", "Previdência Municipal"},
    {"0014", "Água para Todos"},
    {"0015", "Esgotamento Sanitário"},
    {"0016", "Infraestrutura Urbana"},
    {"0017", "Cidade Limpa e Iluminada"},
    {"0018", "Cultura Viva"},
    {"0019", "Esporte e Lazer"},
    {"0020", "Agricultura Familiar"},
    {"0021", "Araguaia Sustentável"},
    {"0022", "Encargos Especiais"},
    {"0023", "Serviço da Dívida"},
    {"9999", "Reserva de Contingência"},
};

// Categories of the suite that the court's chart lacks: the automatic
// classification finds them with their last digits zeroed.
const NamedCode kExtraCategories[] = {
    {"3.3.90.30.44", "Material de Sinalização Visual e Afins"},
    {"3.3.90.39.10", "Locação de Imóveis"},
};

// The suite's chart (CONPLA): cash and banks (311x, 312x), payables and
// outstanding commitments (321x), deposits and withholdings (3236xx), the
// debts (34xx) and the budget accounts of revenue (61x) and expense (51x).
struct LedgerAccount {
    const char *balco, *name, *tipo, *natureza;
};
const LedgerAccount kLedger[] = {
    {"300000", "PASSIVO E ATIVO FINANCEIRO", "S", "D"},
    {"310000", "DISPONÍVEL", "S", "D"},
    {"311000", "DISPONÍVEL EM MOEDA NACIONAL", "S", "D"},
    {"311100", "CAIXA", "S", "D"},
    {"311101", "Caixa Geral da Prefeitura", "A", "D"},
    {"311102", "Caixa da Câmara Municipal", "A", "D"},
    {"311200", "BANCOS CONTA MOVIMENTO", "S", "D"},
    {"311201", "Bancos Conta Movimento - Prefeitura", "A", "D"},
    {"311202", "Bancos Conta Movimento - Câmara", "A", "D"},
    {"311203", "Bancos Conta Movimento - Previdência", "A", "D"},
    {"311204", "Bancos Conta Movimento - SAAE", "A", "D"},
    {"311300", "APLICAÇÕES FINANCEIRAS", "S", "D"},
    {"311301", "Aplicações Financeiras de Curto Prazo", "A", "D"},
    {"311400", "BANCOS CONTA VINCULADA", "S", "D"},
    {"311401", "Conta Vinculada - FPM", "A", "D"},
    {"311402", "Conta Vinculada - FUNDEB", "A", "D"},
    {"311403", "Conta Vinculada - Educação", "A", "D"},
    {"311404", "Conta Vinculada - Saúde", "A", "D"},
    {"311405", "Conta Vinculada - Assistência Social", "A", "D"},
    {"311406", "Conta Vinculada - Convênios", "A", "D"},
    {"311407", "Conta Vinculada - Operações de Crédito", "A", "D"},
    {"311500", "APLICAÇÕES DE RECURSOS VINCULADOS", "S", "D"},
    {"311501", "Aplicações de Recursos do FUNDEB", "A", "D"},
    {"312000", "VALORES VINCULADOS", "S", "D"},
    {"312100", "INVESTIMENTOS DO REGIME PRÓPRIO DE PREVIDÊNCIA", "S", "D"},
    {"312101", "Fundos de Renda Fixa - RPPS", "A", "D"},
    {"312200", "TÍTULOS E VALORES MOBILIÁRIOS", "S", "D"},
    {"312201", "Títulos Públicos Federais - RPPS", "A", "D"},
    {"320000", "PASSIVO FINANCEIRO", "S", "C"},
    {"321000", "OBRIGAÇÕES EM CIRCULAÇÃO", "S", "C"},
    {"321100", "RESTOS A PAGAR", "S", "C"},
    {"321101", "Restos a Pagar Processados", "A", "C"},
    {"321102", "Restos a Pagar Não Processados", "A", "C"},
    {"321200", "FORNECEDORES E CREDORES A PAGAR", "A", "C"},
    {"323600", "DEPÓSITOS E CONSIGNAÇÕES", "S", "C"},
    {"323601", "INSS Retido", "A", "C"},
    {"323602", "Consignações - Empréstimos Bancários", "A", "C"},
    {"323603", "Pensão Alimentícia", "A", "C"},
    {"323604", "Cauções e Depósitos em Garantia", "A", "C"},
    {"323607", "Restos a Pagar Cancelados - Educação (Processados)", "A", "C"},
    {"323608", "Restos a Pagar Cancelados - Educação (Não Processados)", "A", "C"},
    {"340000", "PASSIVO PERMANENTE", "S", "C"},
    {"341000", "DÍVIDA FUNDADA INTERNA", "S", "C"},
    {"341100", "DÍVIDA CONTRATUAL INTERNA", "S", "C"},
    {"341101", "Empréstimo CEF - PAC Infraestrutura Urbana", "A", "C"},
    {"341102", "Financiamento BNDES - Saneamento (SAAE)", "A", "C"},
    {"342000", "OUTRAS DÍVIDAS", "S", "C"},
    {"342100", "PARCELAMENTOS DE DÍVIDAS", "S", "C"},
    {"342101", "Parcelamento de Débitos Previdenciários - INSS", "A", "C"},
    {"342102", "Parcelamento de Débitos do FGTS", "A", "C"},
    {"342103", "Parcelamento de Débitos do PASEP", "A", "C"},
    {"342200", "DÍVIDAS DIVERSAS", "S", "C"},
    {"342201", "Dívida com a Concessionária de Energia Elétrica", "A", "C"},
    {"342400", "DÍVIDA CONTRATUAL EXTERNA", "S", "C"},
    {"342401", "Empréstimo BID - Programa de Saneamento Integrado", "A", "C"},
    {"500000", "DESPESA ORÇAMENTÁRIA", "S", "D"},
    {"511100", "Despesas Correntes", "A", "D"},
    {"512100", "Despesas de Capital", "A", "D"},
    {"519900", "Reserva de Contingência", "A", "D"},
    {"600000", "RECEITA ORÇAMENTÁRIA", "S", "C"},
    {"611100", "Receitas Correntes", "A", "C"},
    {"612100", "Receitas de Capital", "A", "C"},
    {"617100", "Receitas Correntes Intra-Orçamentárias", "A", "C"},
    {"619100", "Deduções da Receita para Formação do FUNDEB", "A", "C"},
};

// Cash and bank accounts (DESCON). TIPO: "CX" cash, "BM" free bank account,
// "BV" bank account of tied resources, "FU" FUNDEB bank account, "AP"
// investments.
struct CashAccountDef {
    int conta;
    const char *name, *balco, *tipo, *banco;
    int empresa;
};
const CashAccountDef kCashAccounts[] = {
    {1, "CAIXA GERAL DA PREFEITURA", "311101", "CX", "", 1},
    {2, "BANCO DO BRASIL - MOVIMENTO PREFEITURA", "311201", "BM", "001", 1},
    {3, "CAIXA ECONÔMICA FEDERAL - MOVIMENTO", "311201", "BM", "104", 1},
    {4, "BANCO DO BRASIL - FPM", "311401", "BV", "001", 1},
    {5, "BANCO DO BRASIL - FUNDEB 60% MAGISTÉRIO", "311402", "FU", "001", 4},
    {6, "BANCO DO BRASIL - FUNDEB 40%", "311402", "FU", "001", 4},
    {7, "BANCO DO BRASIL - SALÁRIO-EDUCAÇÃO", "311403", "BV", "001", 4},
    {8, "CAIXA ECONÔMICA FEDERAL - FMS ATENÇÃO BÁSICA", "311404", "BV", "104", 3},
    {9, "BANCO DO BRASIL - APLICAÇÃO CDB", "311301", "AP", "001", 1},
    {10, "BB RENDA FIXA PREVIDENCIÁRIO - RPPS", "312101", "AP", "001", 5},
    {11, "TÍTULOS PÚBLICOS FEDERAIS - RPPS", "312201", "AP", "001", 5},
    {12, "BANCO DO BRASIL - APLICAÇÃO FUNDEB", "311501", "AP", "001", 4},
    {13, "CAIXA DA CÂMARA MUNICIPAL", "311102", "CX", "", 2},
    {14, "BANCO DO BRASIL - CÂMARA MUNICIPAL", "311202", "BM", "001", 2},
    {15, "BANCO DA AMAZÔNIA - SAAE", "311204", "BM", "003", 7},
    {16, "BANCO DO BRASIL - FMAS", "311405", "BV", "001", 12},
    {17, "BANCO DO BRASIL - CONTA ÚNICA RPPS", "311203", "BM", "001", 5},
    {18, "BANCO DO BRASIL - MDE EDUCAÇÃO", "311403", "BV", "001", 4},
    {19, "CAIXA ECONÔMICA FEDERAL - FMS MÉDIA E ALTA COMPLEXIDADE", "311404", "BV", "104", 3},
    {20, "CAIXA ECONÔMICA FEDERAL - OPERAÇÃO DE CRÉDITO PAC", "311407", "BV", "104", 1},
    {21, "BANCO DO BRASIL - CONVÊNIOS", "311406", "BV", "001", 1},
};

// A small coat of arms (a shield in green, yellow and blue on white), as the
// 24-bit Windows bitmap the suite prints on its report headers.
QByteArray coatOfArmsBitmap()
{
    const int w = 64, h = 72;
    const int rowSize = (w * 3 + 3) & ~3;
    const int imageSize = rowSize * h;
    QByteArray bmp;
    auto le16 = [&bmp](int v) { bmp.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto le32 = [&bmp](qint64 v) {
        for (int i = 0; i < 4; ++i)
            bmp.append(char((v >> (8 * i)) & 0xff));
    };
    bmp.append("BM");
    le32(14 + 40 + imageSize);
    le32(0);
    le32(14 + 40);
    le32(40);
    le32(w);
    le32(h);
    le16(1);
    le16(24);
    le32(0);
    le32(imageSize);
    le32(2835);
    le32(2835);
    le32(0);
    le32(0);
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row; // bottom-up
        QByteArray line;
        for (int x = 0; x < w; ++x) {
            int r = 255, g = 255, b = 255;
            const double cx = x - (w - 1) / 2.0;
            // Shield: a rectangle above, a half-ellipse below.
            bool inside = false;
            if (y >= 6 && y < 40)
                inside = std::abs(cx) <= 26;
            else if (y >= 40 && y < 68)
                inside = (cx * cx) / (26.0 * 26.0) + ((y - 40) * (y - 40)) / (28.0 * 28.0) <= 1.0;
            bool border = false;
            if (inside) {
                const double ncx = std::abs(cx) + 2;
                if (y < 8 || (y < 40 && ncx > 26))
                    border = true;
                else if (y >= 40 && (ncx * ncx) / (26.0 * 26.0) + ((y + 2 - 40) * (y + 2 - 40)) / (28.0 * 28.0) > 1.0)
                    border = true;
            }
            if (inside) {
                if (border) {
                    r = 120; g = 90; b = 20;
                } else if (y >= 28 && y < 36) {
                    r = 250; g = 210; b = 30; // the river band
                } else if ((cx * cx) + (y - 18) * (y - 18) <= 64) {
                    r = 30; g = 70; b = 170; // the sky disc
                } else {
                    r = 20; g = 130; b = 60;
                }
            }
            line.append(char(b)).append(char(g)).append(char(r));
        }
        while (line.size() < rowSize)
            line.append('\0');
        bmp.append(line);
    }
    return bmp;
}


// ---------------------------------------------------------------------------
// Revenue: the records of the budget law, by entity, with the court account
// each one corresponds to (its CODRE is that code regrouped the suite's way).

enum class Season { Flat, Iptu, Ipva, Itr, Quarterly, Semester, Irregular, School, Aro, April };

const double kSeason[][12] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},                          // Flat
    {0.4, 2.6, 2.2, 1.6, 0.8, 0.6, 0.5, 0.5, 0.5, 0.5, 0.5, 0.4},    // Iptu
    {2.2, 2.0, 1.8, 0.9, 0.7, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.8},    // Ipva
    {0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.3, 0.5, 2.5, 3.0, 2.5, 1.0},    // Itr
    {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1},                          // Quarterly
    {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1},                          // Semester
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},                          // Irregular (drawn)
    {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0},                          // School
    {0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},                          // Aro
    {0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0},                          // April (and September)
};

enum RevenueFlag {
    PreAccount = 1, // court account filled in advance
    ExtraZeros = 2, // CODRE carries a further ".00" group
    NoBudget = 4,   // collected without a budget forecast
};

struct RevenueDef {
    const char *court;
    const char *name;
    int empresa;
    const char *tipo;
    const char *vingrupo, *vincodigo;
    double annual;
    Season season;
    int perMonth;
    int flags;
    const char *grupo = nullptr;  // court group and source filled in advance
    const char *fonte = nullptr;
    const char *fundeb = nullptr; // court code of the FUNDEB deduction taken from it
};

const RevenueDef kRevenue[] = {
    // Prefeitura
    {"1.1.12.02.00", "IPTU - Imposto Predial e Territorial Urbano", 1, "OR", "001", "001", 1250000, Season::Iptu, 2, PreAccount},
    {"1.1.12.04.31", "IRRF sobre Rendimentos do Trabalho", 1, "OR", "001", "001", 980000, Season::Flat, 1, 0},
    {"1.1.12.08.00", "ITBI - Transmissão Inter Vivos de Bens Imóveis", 1, "OR", "001", "001", 420000, Season::Flat, 1, ExtraZeros},
    {"1.1.13.05.00", "ISSQN - Imposto sobre Serviços de Qualquer Natureza", 1, "OR", "001", "001", 2650000, Season::Flat, 2, PreAccount},
    {"1.1.21.25.00", "Taxa de Fiscalização de Localização e Funcionamento", 1, "OR", "001", "001", 185000, Season::Iptu, 1, 0},
    {"1.1.21.29.00", "Taxa de Licença para Execução de Obras", 1, "OR", "001", "001", 64000, Season::Flat, 1, 0},
    {"1.1.22.10.00", "Taxa de Coleta de Lixo", 1, "OR", "001", "001", 210000, Season::Iptu, 1, ExtraZeros},
    {"1.2.30.00.00", "Contribuição para Custeio da Iluminação Pública", 1, "OR", "001", "001", 640000, Season::Flat, 1, PreAccount},
    {"1.3.25.02.00", "Remuneração de Depósitos Bancários", 1, "OR", "001", "001", 96000, Season::Flat, 1, 0},
    {"1.7.21.01.02", "Cota-Parte do Fundo de Participação dos Municípios", 1, "OR", "001", "001", 18600000, Season::Flat, 3, PreAccount, nullptr, nullptr, "9.17.21.01.02"},
    {"1.7.21.01.05", "Cota-Parte do ITR", 1, "OR", "001", "001", 54000, Season::Itr, 1, 0, nullptr, nullptr, "9.17.21.01.05"},
    {"1.7.21.22.20", "Cota-Parte da Compensação Financeira - CFEM", 1, "OR", "008", "080", 780000, Season::Flat, 1, 0},
    {"1.7.21.36.00", "ICMS Desoneração - LC 87/96", 1, "OR", "001", "001", 168000, Season::Flat, 1, 0, nullptr, nullptr, "9.17.21.36.00"},
    {"1.7.22.01.01", "Cota-Parte do ICMS", 1, "OR", "001", "001", 11900000, Season::Flat, 4, PreAccount, nullptr, nullptr, "9.17.22.01.01"},
    {"1.7.22.01.02", "Cota-Parte do IPVA", 1, "OR", "001", "001", 1380000, Season::Ipva, 2, 0, nullptr, nullptr, "9.17.22.01.02"},
    {"1.7.22.01.04", "Cota-Parte do IPI sobre Exportação", 1, "OR", "001", "001", 212000, Season::Flat, 1, 0, nullptr, nullptr, "9.17.22.01.04"},
    {"1.7.22.01.13", "Cota-Parte da CIDE", 1, "OR", "008", "080", 86000, Season::Quarterly, 1, 0},
    {"1.7.61.99.00", "Convênios com a União - Outros", 1, "CV", "003", "030", 1150000, Season::Irregular, 1, 0},
    {"1.7.62.99.00", "Convênios com o Estado - Outros", 1, "CV", "003", "031", 620000, Season::Irregular, 1, 0},
    {"1.9.11.38.00", "Multas e Juros de Mora do IPTU", 1, "OR", "001", "001", 42000, Season::Iptu, 1, 0},
    {"1.9.31.11.00", "Receita da Dívida Ativa do IPTU", 1, "RD", "001", "001", 186000, Season::Flat, 1, 0},
    {"1.9.31.13.00", "Receita da Dívida Ativa do ISSQN", 1, "RD", "001", "001", 92000, Season::Flat, 1, 0},
    {"1.9.90.99.00", "Outras Receitas Correntes", 1, "OR", "001", "001", 38000, Season::Irregular, 1, 0},
    {"2.1.14.05.00", "Operação de Crédito CEF - PAC Infraestrutura Urbana", 1, "OC", "004", "040", 3200000, Season::Flat, 1, PreAccount, "009", "1.20"},
    {"2.1.16.00.00", "Operação de Crédito - Refinanciamento de Dívidas", 1, "OC", "004", "040", 1200000, Season::Semester, 1, PreAccount},
    {"2.1.19.00.00", "Antecipação da Receita Orçamentária - ARO", 1, "AR", "004", "040", 800000, Season::Aro, 1, NoBudget, "009", "3.00"},
    {"2.2.13.00.00", "Alienação de Veículos", 1, "OR", "001", "001", 45000, Season::Semester, 1, 0},
    {"2.4.72.99.00", "Convênio com o Estado - Pavimentação Urbana", 1, "CV", "003", "031", 950000, Season::Irregular, 1, 0},
    // Câmara Municipal
    {"1.3.25.02.00", "Remuneração de Depósitos Bancários", 2, "OR", "001", "001", 12000, Season::Flat, 1, 0},
    // Fundo Municipal de Saúde
    {"1.7.21.33.10", "SUS - Piso de Atenção Básica", 3, "SD", "002", "020", 3150000, Season::Flat, 2, PreAccount, "106", "1.10"},
    {"1.7.21.33.20", "SUS - Média e Alta Complexidade", 3, "SD", "002", "021", 2240000, Season::Flat, 1, 0},
    {"1.7.21.33.30", "SUS - Vigilância em Saúde", 3, "SD", "002", "022", 380000, Season::Flat, 1, 0},
    {"1.7.22.33.00", "Transferências do Estado - Saúde Fundo a Fundo", 3, "SD", "003", "031", 640000, Season::Flat, 1, 0, "106", "1.20"},
    {"1.7.61.01.00", "Convênio com a União - SUS", 3, "SD", "003", "030", 520000, Season::Irregular, 1, 0},
    {"1.6.00.05.00", "Serviços Hospitalares", 3, "SD", "001", "003", 110000, Season::Flat, 1, 0},
    {"1.3.25.01.00", "Remuneração de Depósitos - Recursos do SUS", 3, "SD", "002", "020", 36000, Season::Flat, 1, 0},
    {"2.4.21.01.00", "Transferência de Capital do SUS - Unidade Básica", 3, "SD", "002", "020", 450000, Season::April, 1, 0},
    // Fundo Municipal de Educação / FUNDEB
    {"1.7.24.01.00", "Transferências do FUNDEB", 4, "FU", "002", "010", 15400000, Season::Flat, 3, PreAccount, "105", "6.00"},
    {"1.7.24.02.00", "Complementação da União ao FUNDEB", 4, "FU", "002", "010", 3050000, Season::Flat, 1, 0, "105", "6.00"},
    {"1.7.21.35.01", "Salário-Educação - Quota Municipal", 4, "QE", "002", "012", 820000, Season::Flat, 1, 0},
    {"1.7.21.35.02", "PDDE - Programa Dinheiro Direto na Escola", 4, "EF", "002", "015", 96000, Season::April, 1, 0},
    {"1.7.21.35.03", "PNAE - Programa Nacional de Alimentação Escolar", 4, "ED", "002", "013", 610000, Season::School, 1, 0},
    {"1.7.21.35.04", "PNATE - Programa Nacional de Apoio ao Transporte Escolar", 4, "ED", "002", "014", 286000, Season::School, 1, 0},
    {"1.7.21.35.99", "Outras Transferências do FNDE", 4, "EI", "003", "030", 74000, Season::Irregular, 1, NoBudget},
    {"1.7.61.02.00", "Convênio com a União - Educação", 4, "EI", "003", "030", 420000, Season::Irregular, 1, 0},
    {"1.3.25.01.00", "Remuneração de Depósitos - FUNDEB", 4, "FU", "002", "010", 58000, Season::Flat, 1, 0},
    // Instituto de Previdência
    {"1.2.10.29.07", "Contribuição do Servidor Ativo ao RPPS", 5, "PR", "005", "050", 2380000, Season::Flat, 1, 0},
    {"1.2.10.29.09", "Contribuição do Servidor Inativo ao RPPS", 5, "PR", "005", "050", 96000, Season::Flat, 1, 0},
    {"1.2.10.46.00", "Compensação Previdenciária entre RGPS e RPPS", 5, "PR", "005", "050", 240000, Season::Flat, 1, 0},
    {"1.3.28.00.00", "Remuneração dos Investimentos do RPPS", 5, "PR", "005", "050", 860000, Season::Flat, 1, 0},
    {"7.2.10.29.01", "Contribuição Patronal Intra-Orçamentária ao RPPS", 5, "PR", "005", "050", 3150000, Season::Flat, 1, PreAccount},
    // SAAE
    {"1.6.00.40.00", "Tarifas de Água e Esgoto", 7, "OR", "007", "070", 4250000, Season::Flat, 3, PreAccount},
    {"1.9.11.99.00", "Multas e Juros de Mora sobre Tarifas", 7, "OR", "007", "070", 58000, Season::Flat, 1, 0},
    {"1.3.25.02.00", "Remuneração de Depósitos Bancários", 7, "OR", "007", "070", 24000, Season::Flat, 1, 0},
    {"2.1.14.03.00", "Financiamento BNDES - Saneamento", 7, "OC", "004", "040", 900000, Season::Quarterly, 1, 0},
    {"2.4.71.03.00", "Convênio FUNASA - Esgotamento Sanitário", 7, "CV", "003", "030", 1800000, Season::Irregular, 1, 0},
    // Fundo Municipal de Assistência Social
    {"1.7.21.34.00", "Transferências do FNAS", 12, "OR", "002", "025", 540000, Season::Flat, 1, 0},
    {"1.7.62.99.00", "Convênio com o Estado - Assistência Social", 12, "CV", "003", "031", 210000, Season::Irregular, 1, 0},
};

// Extra-budgetary records: withholdings and deposits that pass through the cash.
struct ExtraRevenueDef {
    const char *codre, *name, *balco;
    int empresa;
    double annual;
};
const ExtraRevenueDef kExtraRevenue[] = {
    {"9110.01.00", "INSS Retido de Servidores e Prestadores", "323601", 1, 1450000},
    {"9120.01.00", "Consignações - Empréstimos Bancários", "323602", 1, 860000},
    {"9120.02.00", "Pensão Alimentícia", "323603", 1, 74000},
    {"9130.01.00", "Cauções e Depósitos em Garantia", "323604", 1, 120000},
    {"9110.01.00", "INSS Retido de Servidores", "323601", 2, 160000},
    {"9110.01.00", "INSS Retido de Servidores", "323601", 3, 520000},
    {"9110.01.00", "INSS Retido de Servidores", "323601", 4, 980000},
    {"9110.01.00", "INSS Retido de Servidores", "323601", 7, 150000},
};

// Share of each transfer that forms the FUNDEB in 2008.
const double kFundebRate = 0.1833;

// The suite's revenue code for a court revenue code: its digits regrouped as
// four digits and then pairs ("1.1.12.02.00" gives "1112.02.00"), with a
// further ".00" group on request.
QString codreOf(const QString &court, bool extraZeros)
{
    QString digits = court;
    digits.remove(u'.');
    if (digits.size() % 2 == 1)
        digits += u'0';
    QString out = digits.left(4);
    for (int i = 4; i < digits.size(); i += 2)
        out += u'.' + digits.mid(i, 2);
    if (extraZeros && out.size() <= 10)
        out += QStringLiteral(".00");
    return out;
}

// The court chart as the program imports it (the excluded types left out).
const QSet<QString> &chartCodes(const QString &onlyType = QString())
{
    static const QSet<QString> excluded{QStringLiteral("002"), QStringLiteral("003"), QStringLiteral("005"),
                                        QStringLiteral("006"), QStringLiteral("007"), QStringLiteral("008"),
                                        QStringLiteral("104"), QStringLiteral("107"), QStringLiteral("204")};
    static QMap<QString, QSet<QString>> cache;
    auto it = cache.find(onlyType);
    if (it == cache.end()) {
        QSet<QString> codes;
        for (const ChartAccount &a : courtChartAccounts()) {
            const QString type = a.codtipo.trimmed();
            if (excluded.contains(type) || (!onlyType.isEmpty() && type != onlyType))
                continue;
            codes.insert(a.numContabil);
        }
        it = cache.insert(onlyType, codes);
    }
    return it.value();
}

// The search of the automatic classification: the key as it is, then with
// its digits zeroed from the end, until the chart has it.
QString searchChart(QString key, const QSet<QString> &codes)
{
    for (int p = int(key.size()) - 1; p >= 0; --p) {
        if (key.at(p) == u'.')
            continue;
        if (codes.contains(key))
            return key;
        key[p] = u'0';
    }
    return QString();
}

// Court account of a revenue record, as the automatic classification finds it.
QString revenueCourtAccount(const QString &codre)
{
    QString d = codre;
    d.remove(u'.');
    QString key = d.left(1);
    if (d.size() > 1)
        key += u'.' + d.mid(1, 1);
    for (int i = 2; i < std::min<int>(8, int(d.size())); i += 2)
        key += u'.' + d.mid(i, 2);
    return searchChart(key, chartCodes());
}

// Court group and source of a revenue record by its kind, as the automatic
// classification sets them (empty when no rule applies).
std::pair<QString, QString> revenueGroupSource(const QString &tipo, const QString &codre, double totor)
{
    static const QSet<QString> education{QStringLiteral("ED"), QStringLiteral("EF"), QStringLiteral("FU"),
                                         QStringLiteral("QE"), QStringLiteral("EI")};
    if (education.contains(tipo))
        return {QStringLiteral("105"), totor != 0 ? QStringLiteral("6.00") : QStringLiteral("7.00")};
    if (tipo == u"SD") {
        const QString c7 = codre.left(7);
        static const QMap<QString, QString> table{
            {QStringLiteral("2421.01"), QStringLiteral("1.10")}, {QStringLiteral("2471.01"), QStringLiteral("1.10")},
            {QStringLiteral("1721.33"), QStringLiteral("1.10")}, {QStringLiteral("1761.01"), QStringLiteral("1.10")},
            {QStringLiteral("1762.01"), QStringLiteral("1.20")}, {QStringLiteral("2422.01"), QStringLiteral("1.20")},
            {QStringLiteral("1722.33"), QStringLiteral("1.20")}, {QStringLiteral("2472.01"), QStringLiteral("1.20")},
            {QStringLiteral("1763.01"), QStringLiteral("1.30")}, {QStringLiteral("2123.02"), QStringLiteral("2.00")},
            {QStringLiteral("2114.02"), QStringLiteral("2.00")}};
        return {QStringLiteral("106"), table.value(c7, QStringLiteral("3.00"))};
    }
    if (tipo == u"AR")
        return {QStringLiteral("009"), QStringLiteral("3.00")};
    return {};
}

// Splits total into n parts of random weights, in cents, adding up exactly.
std::vector<double> split(Rng &rng, double total, int n, double spread = 0.6)
{
    std::vector<double> w(size_t(std::max(1, n)));
    double sum = 0;
    for (double &x : w) {
        x = 1.0 + spread * (2.0 * rng.unit() - 1.0);
        sum += x;
    }
    std::vector<double> parts(w.size());
    double used = 0;
    for (size_t i = 0; i + 1 < w.size(); ++i) {
        parts[i] = cents(total * w[i] / sum);
        used += parts[i];
    }
    parts.back() = cents(total - used);
    return parts;
}

// n different days of a month, in order.
std::vector<QDate> daysOf(Rng &rng, int month, int n)
{
    const int last = monthEnd(kYear, month).day();
    QSet<int> chosen;
    n = std::min(n, last);
    while (chosen.size() < n)
        chosen.insert(rng.range(1, last));
    std::vector<int> d(chosen.cbegin(), chosen.cend());
    std::sort(d.begin(), d.end());
    std::vector<QDate> out;
    for (int x : d)
        out.push_back(QDate(kYear, month, x));
    return out;
}


// ---------------------------------------------------------------------------
// Expense: programme units (organ, function, subfunction, programme, action)
// of each entity, each with a set of economic categories and their yearly
// appropriation.

struct ElementDef {
    const char *catec;
    double annual;
};

enum class Elements {
    PayrollAdm, CostsAdm, Finance, Legislative, HealthPayroll, HealthCosts, HealthWorks, EduFundeb60, EduFundeb40,
    EduFundamental, EduInfant, EduSalary, EduMeals, EduTransport, EduAdults, PensionBenefits, PensionAdm, Works,
    Cleaning, Agriculture, Culture, Sport, Environment, Social, WaterOperation, WaterWorks, DebtInternal,
    DebtExternal, Charges, Reserve
};

const std::vector<std::vector<ElementDef>> &elementSets()
{
    static const std::vector<std::vector<ElementDef>> sets = {
        /* PayrollAdm */ {{"3.1.90.11.00", 1450000}, {"3.1.90.13.00", 310000}, {"3.1.91.13.00", 260000},
                          {"3.1.90.04.00", 180000}, {"3.1.90.16.00", 48000}, {"3.3.90.46.00", 96000}},
        /* CostsAdm */ {{"3.3.90.14.00", 36000}, {"3.3.90.30.16", 58000}, {"3.3.90.30.01", 140000},
                        {"3.3.90.30.44", 22000}, {"3.3.90.33.00", 42000}, {"3.3.90.36.00", 88000},
                        {"3.3.90.39.43", 165000}, {"3.3.90.39.58", 46000}, {"3.3.90.39.10", 30000},
                        {"3.3.90.39.99", 240000}, {"4.4.90.52.35", 54000}, {"4.4.90.52.42", 38000},
                        {"4.4.91.39.00", 85000}},
        /* Finance */ {{"3.3.90.39.57", 120000}, {"3.3.90.35.00", 96000}, {"3.3.90.30.16", 24000},
                       {"4.4.90.52.35", 36000}},
        /* Legislative */ {{"3.1.90.11.00", 980000}, {"3.1.90.13.00", 215000}, {"3.1.91.13.00", 96000},
                           {"3.3.90.14.00", 64000}, {"3.3.90.30.16", 28000}, {"3.3.90.36.00", 45000},
                           {"3.3.90.39.99", 126000}, {"3.3.90.39.47", 38000}, {"4.4.90.52.42", 22000}},
        /* HealthPayroll */ {{"3.1.90.11.00", 2150000}, {"3.1.90.13.00", 460000}, {"3.1.91.13.00", 280000},
                             {"3.1.90.04.00", 520000}, {"3.1.90.16.00", 80000}},
        /* HealthCosts */ {{"3.3.90.30.09", 420000}, {"3.3.90.30.36", 180000}, {"3.3.90.30.10", 48000},
                           {"3.3.90.30.07", 60000}, {"3.3.90.36.00", 140000}, {"3.3.90.39.05", 220000},
                           {"3.3.90.39.99", 160000}, {"3.3.90.32.00", 70000}, {"4.4.90.52.08", 190000},
                           {"4.4.90.52.48", 140000}},
        /* HealthWorks */ {{"4.4.90.51.93", 640000}, {"4.4.90.51.01", 45000}},
        /* EduFundeb60 */ {{"3.1.90.11.00", 6200000}, {"3.1.90.13.00", 1350000}, {"3.1.91.13.00", 820000},
                           {"3.1.90.04.00", 900000}},
        /* EduFundeb40 */ {{"3.1.90.11.00", 1400000}, {"3.1.90.13.00", 300000}, {"3.3.90.30.16", 120000},
                           {"3.3.90.39.99", 680000}, {"3.3.90.30.22", 90000}, {"4.4.90.52.42", 160000}},
        /* EduFundamental */ {{"3.1.90.11.00", 1200000}, {"3.1.90.13.00", 260000}, {"3.3.90.30.16", 85000},
                              {"3.3.90.39.16", 210000}, {"3.3.90.39.99", 320000}, {"4.4.90.51.92", 950000},
                              {"4.4.90.52.42", 120000}},
        /* EduInfant */ {{"3.1.90.11.00", 640000}, {"3.1.90.13.00", 140000}, {"3.3.90.30.07", 60000},
                         {"3.3.90.30.22", 35000}, {"4.4.90.51.92", 480000}},
        /* EduSalary */ {{"3.3.90.30.16", 140000}, {"3.3.90.32.00", 180000}, {"3.3.90.39.99", 260000},
                         {"4.4.90.52.42", 110000}},
        /* EduMeals */ {{"3.3.90.30.07", 610000}, {"3.3.90.32.00", 40000}},
        /* EduTransport */ {{"3.3.90.39.99", 286000}, {"3.3.90.30.01", 60000}},
        /* EduAdults */ {{"3.1.90.04.00", 180000}, {"3.3.90.30.16", 25000}, {"3.3.90.32.00", 20000}},
        /* PensionBenefits */ {{"3.1.90.01.00", 1850000}, {"3.1.90.03.00", 460000}, {"3.1.90.05.00", 36000}},
        /* PensionAdm */ {{"3.1.90.11.00", 210000}, {"3.1.90.13.00", 46000}, {"3.3.90.35.00", 72000},
                          {"3.3.90.39.99", 58000}, {"3.3.90.30.16", 12000}},
        /* Works */ {{"4.4.90.51.91", 2400000}, {"4.4.90.51.01", 120000}, {"3.3.90.39.16", 260000},
                     {"3.3.90.30.24", 140000}, {"4.4.90.52.40", 380000}},
        /* Cleaning */ {{"3.3.90.37.00", 1150000}, {"3.3.90.30.01", 220000}, {"3.3.90.39.19", 90000},
                        {"3.3.90.39.43", 560000}},
        /* Agriculture */ {{"3.3.90.30.99", 95000}, {"3.3.90.39.99", 80000}, {"4.4.90.52.40", 260000}},
        /* Culture */ {{"3.3.90.31.00", 40000}, {"3.3.90.39.99", 180000}, {"3.3.90.36.00", 60000}},
        /* Sport */ {{"3.3.90.30.99", 45000}, {"3.3.90.39.99", 70000}, {"4.4.90.51.99", 320000}},
        /* Environment */ {{"3.3.90.30.99", 28000}, {"3.3.90.39.05", 64000}},
        /* Social */ {{"3.3.90.48.00", 380000}, {"3.3.50.43.00", 150000}, {"3.3.90.32.00", 120000},
                      {"3.1.90.11.00", 260000}, {"3.1.90.13.00", 56000}, {"3.3.90.39.99", 70000}},
        /* WaterOperation */ {{"3.1.90.11.00", 820000}, {"3.1.90.13.00", 180000}, {"3.1.91.13.00", 110000},
                              {"3.3.90.30.11", 420000}, {"3.3.90.39.43", 680000}, {"3.3.90.39.17", 140000}},
        /* WaterWorks */ {{"4.4.90.51.99", 1600000}, {"4.4.90.52.28", 340000}},
        /* DebtInternal */ {{"4.6.90.71.00", 620000}, {"3.2.90.21.00", 210000}, {"3.2.90.22.00", 36000}},
        /* DebtExternal */ {{"4.6.90.71.00", 240000}, {"3.2.90.21.00", 80000}},
        /* Charges */ {{"3.3.90.47.00", 380000}, {"3.3.90.91.00", 120000}, {"3.3.90.92.00", 90000}},
        /* Reserve */ {{"9.9.99.99.99", 850000}},
    };
    return sets;
}

struct UnitDef {
    int empresa;
    const char *poder, *orgao, *unidade, *funcao, *subfuncao, *programa, *projativ;
    const char *name;
    const char *tipo;
    const char *vingrupo, *vincodigo;
    Elements elements;
    double scale;
    // Court group and source set in advance on the unit's records (and, for
    // the debt units, the court debt code of their amortisation).
    bool classified;
    const char *debtCode;
};

const UnitDef kUnits[] = {
    {2, "01", "001", "01", "01", "031", "0001", "2001", "Manutenção das Atividades da Câmara Municipal", "OR", "001", "001", Elements::Legislative, 1.0, false, nullptr},
    {1, "02", "002", "01", "04", "122", "0002", "2002", "Manutenção do Gabinete do Prefeito", "OR", "001", "001", Elements::PayrollAdm, 0.4, false, nullptr},
    {1, "02", "003", "01", "04", "122", "0002", "2003", "Manutenção da Secretaria de Administração", "OR", "001", "001", Elements::PayrollAdm, 1.0, false, nullptr},
    {1, "02", "003", "01", "04", "122", "0002", "2004", "Manutenção dos Serviços Administrativos", "OR", "001", "001", Elements::CostsAdm, 1.0, false, nullptr},
    {1, "02", "004", "01", "04", "123", "0003", "2005", "Gestão Financeira e Tributária", "OR", "001", "001", Elements::Finance, 1.0, false, nullptr},
    {1, "02", "005", "01", "15", "451", "0016", "1001", "Pavimentação e Drenagem de Vias Urbanas", "OR", "004", "040", Elements::Works, 1.0, false, nullptr},
    {1, "02", "005", "01", "15", "452", "0017", "2010", "Limpeza Pública e Iluminação", "OR", "001", "001", Elements::Cleaning, 1.0, false, nullptr},
    {1, "02", "006", "01", "20", "606", "0020", "2011", "Apoio à Agricultura Familiar", "OR", "001", "001", Elements::Agriculture, 1.0, false, nullptr},
    {1, "02", "007", "01", "13", "392", "0018", "2012", "Difusão Cultural e Festividades Populares", "OR", "001", "001", Elements::Culture, 1.0, false, nullptr},
    {1, "02", "007", "01", "27", "812", "0019", "1002", "Construção de Praças Esportivas", "OR", "001", "001", Elements::Sport, 1.0, false, nullptr},
    {1, "02", "006", "01", "18", "541", "0021", "2013", "Preservação Ambiental do Araguaia", "OR", "001", "001", Elements::Environment, 1.0, false, nullptr},
    {1, "02", "004", "01", "28", "843", "0023", "0001", "Amortização e Encargos da Dívida Contratual Interna", "OR", "001", "001", Elements::DebtInternal, 1.0, false, "4.6.80.01.02"},
    {1, "02", "004", "01", "28", "844", "0023", "0002", "Amortização e Encargos da Dívida Externa", "OR", "001", "001", Elements::DebtExternal, 1.0, false, "4.6.80.01.03"},
    {1, "02", "004", "01", "28", "846", "0022", "0003", "Contribuição para o PASEP e Outros Encargos", "OR", "001", "001", Elements::Charges, 1.0, false, nullptr},
    {1, "02", "004", "01", "99", "999", "9999", "9999", "Reserva de Contingência", "OR", "001", "001", Elements::Reserve, 1.0, false, nullptr},
    {3, "02", "008", "01", "10", "301", "0004", "2020", "Manutenção da Estratégia Saúde da Família", "SD", "002", "020", Elements::HealthPayroll, 1.0, true, nullptr},
    {3, "02", "008", "01", "10", "301", "0004", "2021", "Manutenção das Unidades Básicas de Saúde", "SD", "002", "020", Elements::HealthCosts, 1.0, false, nullptr},
    {3, "02", "008", "01", "10", "302", "0005", "2022", "Manutenção do Hospital Municipal", "SD", "001", "003", Elements::HealthCosts, 1.2, false, nullptr},
    {3, "02", "008", "01", "10", "302", "0005", "2023", "Pessoal do Hospital Municipal", "SD", "001", "003", Elements::HealthPayroll, 0.8, false, nullptr},
    {3, "02", "008", "01", "10", "305", "0006", "2024", "Vigilância Epidemiológica e Ambiental", "SD", "002", "022", Elements::HealthCosts, 0.3, false, nullptr},
    {3, "02", "008", "01", "10", "301", "0004", "1003", "Construção de Unidades Básicas de Saúde", "SD", "002", "020", Elements::HealthWorks, 1.0, false, nullptr},
    {4, "02", "009", "01", "12", "361", "0009", "2030", "Remuneração do Magistério - FUNDEB 60%", "FM", "002", "010", Elements::EduFundeb60, 1.0, true, nullptr},
    {4, "02", "009", "01", "12", "361", "0009", "2031", "Manutenção do Ensino Fundamental - FUNDEB 40%", "FO", "002", "011", Elements::EduFundeb40, 1.0, true, nullptr},
    {4, "02", "009", "01", "12", "361", "0007", "2032", "Manutenção do Ensino Fundamental - MDE", "EF", "001", "002", Elements::EduFundamental, 1.0, true, nullptr},
    {4, "02", "009", "01", "12", "365", "0008", "2033", "Manutenção da Educação Infantil", "EI", "001", "002", Elements::EduInfant, 1.0, false, nullptr},
    {4, "02", "009", "01", "12", "361", "0007", "2034", "Ações do Salário-Educação", "QE", "002", "012", Elements::EduSalary, 1.0, false, nullptr},
    {4, "02", "009", "01", "12", "306", "0011", "2035", "Alimentação Escolar - PNAE", "ED", "002", "013", Elements::EduMeals, 1.0, false, nullptr},
    {4, "02", "009", "01", "12", "361", "0010", "2036", "Transporte Escolar - PNATE", "ED", "002", "014", Elements::EduTransport, 1.0, false, nullptr},
    {4, "02", "009", "01", "12", "366", "0007", "2037", "Educação de Jovens e Adultos", "NV", "002", "016", Elements::EduAdults, 1.0, false, nullptr},
    {5, "02", "010", "01", "09", "272", "0013", "2040", "Pagamento de Aposentadorias e Pensões", "PR", "005", "050", Elements::PensionBenefits, 1.0, false, nullptr},
    {5, "02", "010", "01", "09", "122", "0013", "2041", "Manutenção do Instituto de Previdência", "PR", "005", "050", Elements::PensionAdm, 1.0, false, nullptr},
    {7, "02", "011", "01", "17", "512", "0014", "2050", "Operação do Sistema de Abastecimento de Água", "OR", "007", "070", Elements::WaterOperation, 1.0, false, nullptr},
    {7, "02", "011", "01", "17", "512", "0015", "1010", "Ampliação do Sistema de Esgotamento Sanitário", "OR", "003", "030", Elements::WaterWorks, 1.0, false, nullptr},
    {7, "02", "011", "01", "28", "843", "0023", "0004", "Amortização do Financiamento BNDES", "OR", "007", "070", Elements::DebtInternal, 0.5, false, "4.6.80.01.02"},
    {12, "02", "012", "01", "08", "244", "0012", "2060", "Proteção Social Básica - CRAS", "OR", "002", "025", Elements::Social, 1.0, false, nullptr},
    {12, "02", "012", "01", "08", "243", "0012", "2061", "Atendimento à Criança e ao Adolescente", "OR", "001", "001", Elements::Social, 0.4, false, nullptr},
};

// Records opened during the year by special credit, without appropriation
// in the budget law: unit (index in kUnits), category, credit and month.
struct SpecialCreditDef {
    int unit;
    const char *catec;
    double amount;
    int month;
};
const SpecialCreditDef kSpecialCredits[] = {
    {11, "4.6.90.71.00", 300000, 4},  // debt refinanced: the additional-credit amortisation
    {23, "4.4.90.51.92", 520000, 5},  // a school built with a federal agreement
    {20, "4.4.90.52.08", 180000, 3},  // health equipment
    {5, "4.4.90.51.91", 640000, 6},   // paving financed by the state agreement
};

bool isPayroll(const QString &catec) { return catec.startsWith(u"3.1.") || catec == u"3.3.90.46.00"; }

// The court account of an expense record, as the automatic classification
// finds it: records without appropriation only among the type "207".
QString expenseCourtAccount(const QString &catec, bool noAppropriation)
{
    if (catec.size() != 12)
        return QString();
    const QString found = searchChart(catec, noAppropriation ? chartCodes(QStringLiteral("207")) : chartCodes());
    if (!found.isEmpty() && catec.startsWith(u"3.1.91.13"))
        return QStringLiteral("5.1.2.1.7.01.00");
    return found;
}

// Court group and source of an expense record by the rules of the automatic
// classification (functions 10 and 12, accounts 323607/323608).
std::pair<QString, QString> expenseGroupSource(const QString &catec, const QString &funcao, const QString &subfuncao,
                                               const QString &tipo, double dotac, const QString &balco, bool linkFound)
{
    std::pair<QString, QString> r;
    const QString c9 = catec.left(9), c3 = catec.left(3);
    const auto set = [&r](const char *g, const char *c) { r = {QString::fromLatin1(g), QString::fromLatin1(c)}; };
    if (funcao == u"10") {
        if (c9 == u"3.1.90.11")
            set("206", "1.11");
        if (c9 == u"3.1.90.01")
            set("206", "1.12");
        if (c9 == u"3.1.90.03")
            set("206", "1.13");
        if (catec.startsWith(u'3') && c9 != u"3.1.90.03" && c9 != u"3.1.90.01" && c9 != u"3.1.90.11" && c3 != u"3.2")
            set("206", "1.20");
        if (c3 == u"3.2")
            set("206", "1.30");
        if (c3 == u"4.4")
            set("206", "2.10");
        if (c3 == u"4.5")
            set("206", "2.20");
        if (c3 == u"4.6")
            set("206", "2.30");
    }
    if (funcao == u"12") {
        if (subfuncao == u"361" && (tipo == u"EF" || tipo == u"ED") && linkFound)
            set("205", "1.10");
        if (subfuncao == u"365" && (tipo == u"EI" || tipo == u"ED") && linkFound)
            set("205", "1.20");
        if (subfuncao != u"361" && subfuncao != u"365" &&
            (tipo == u"EI" || tipo == u"ED" || tipo == u"EF" || tipo == u"NV") && linkFound)
            set("205", "1.30");
        if (tipo == u"FM")
            set("205", "2.10");
        if (tipo == u"FO")
            set("205", "2.20");
        if (tipo == u"QE")
            set("205", "3.00");
        if (dotac == 0)
            set("205", "4.00");
    }
    if (balco == u"323607" || balco == u"323608") {
        if (tipo == u"EF")
            set("205", "8.11");
        if (tipo == u"EI")
            set("205", "8.12");
        if (tipo == u"FM")
            set("205", "8.21");
        if (tipo == u"FO")
            set("205", "8.22");
        if (tipo == u"QE")
            set("205", "8.30");
    }
    return r;
}

// ---------------------------------------------------------------------------
// The fill, part by part.

class Filler {
public:
    Filler(QSqlDatabase &db, DemoSize size, Progress &progress)
        : m_size(size), m_loader(db, m_contents), m_phases(progress)
    {
    }

    DemoContents run()
    {
        m_loader.begin();
        try {
            m_phases.start(QStringLiteral("Tabelas de referência"), 0, 20);
            referenceTables();
            m_phases.finish();
            m_phases.start(QStringLiteral("Receitas"), 20, 120);
            revenue();
            m_phases.finish();
            m_phases.start(QStringLiteral("Despesas"), 120, 200);
            expense();
            m_phases.finish();
            m_phases.start(QStringLiteral("Empenhos, liquidações e pagamentos"), 200, 900);
            commitments();
            m_phases.finish();
            m_phases.start(QStringLiteral("Caixa e diário"), 900, 1000);
            cashBook();
            ledger();
            m_phases.finish();
            m_loader.commit();
        } catch (...) {
            m_loader.rollback();
            throw;
        }
        return m_contents;
    }

private:
    bool large() const { return m_size == DemoSize::Large; }

    void referenceTables();
    void revenue();
    void expense();

    // What the commitments need to know of an expense record.
    struct ExpenseRecord {
        int ficha = 0;
        int empresa = 0;
        QString catec, cfpro, tipo, vingrupo, vincodigo, balco;
        double budget = 0; // appropriation and its changes at the end of the year
        QDate openFrom;    // the day the record could first be committed
        int conta = 0;     // the bank account that pays it
        bool payroll = false;
        bool carried = false; // an account of outstanding commitments (3211..)
        bool processed = false;
        int unit = -1;        // index in kUnits, -1 for the records of no unit
    };
    void commitments();
    void cashBook();
    void ledger();

    struct Writers;
    struct Payment {
        QDateTime when;
        double value;
    };
    struct Liquidation {
        QDateTime when;
        double value;
        int numsub;
        std::vector<Payment> payments;
    };
    struct Commitment {
        int record = 0; // index in m_expense
        QDateTime when;
        double value = 0;
        char kind = 'O'; // 'O' ordinary, 'G' global (in parcels), 'E' estimated
        QString catec, cfpro, grupo, fonte;
        std::vector<std::pair<QDateTime, double>> parcels; // DESSUB
        std::vector<Liquidation> liquidations;
        double annulled = 0;
        QDateTime annulledWhen;
        double parcelCancelled = 0; // a negative DESSUB row on the last parcel
        int nempg = 0;
    };
    void writeCommitment(Writers &w, Commitment &c, Rng &rng);
    void plan2008(const ExpenseRecord &r, Commitment &c, Rng &rng);
    void planCarried(const ExpenseRecord &r, Commitment &c, Rng &rng, int year, int payMonth);

    int expenseAccount(int empresa, const QString &tipo, const QString &vingrupo, const QString &vincodigo,
                       const QString &catec, Rng &rng) const;

    enum LedgerKind { RevenueCurrent, RevenueCapital, RevenueIntra, Deduction, Withholding, LiquidatedCurrent, LiquidatedCapital, Paid, PaidCarried };

    struct Receipt {
        QDateTime when;
        double value;
    };
    struct Money {
        double credit = 0, debit = 0;
    };

    // Where the money of a record goes in or out.
    int revenueAccount(const RevenueDef &d, Rng &rng) const;
    void moveCash(int conta, const QDate &date, double credit, double debit)
    {
        Money &m = m_cashMoves[conta][date];
        m.credit += credit;
        m.debit += debit;
    }
    // Ledger summaries: by day for the large demo, by month for the small one.
    void post(int empresa, const QDate &date, LedgerKind kind, double value)
    {
        const QDate key = large() ? date : monthEnd(date.year(), date.month());
        m_ledgerMoves[std::make_tuple(empresa, key, int(kind))] += value;
    }
    void insertRevenue(Inserter &recdis, Inserter &recorc, Inserter &recalt, Inserter &receit, Rng &rng,
                       const QString &codre, const QString &name, int empresa, const QString &tipo,
                       const QString &vingrupo, const QString &vincodigo, const QString &balco, bool extra,
                       double totor, const std::vector<Receipt> &receipts, int conta, const QString &balcoTce,
                       const QString &grupo, const QString &fonte, bool withChanges);

    struct CashAccount {
        int conta;
        QString balco, tipo;
        int empresa;
    };

    DemoSize m_size;
    QMap<QString, QString> m_categories; // TABCATEC: category -> name
    QList<CashAccount> m_cash;
    std::map<int, std::map<QDate, Money>> m_cashMoves;
    std::map<std::tuple<int, QDate, int>, double> m_ledgerMoves;
    // Ledger credits of the debts taken in the year (credit-operation receipts), by account.
    std::map<QString, std::map<QDate, double>> m_debtTaken;
    int m_revenueFicha = 0, m_pkrec = 0, m_pkralt = 0;
    std::vector<ExpenseRecord> m_expense;
    std::vector<double> m_committed; // per record of m_expense
    int m_pkemp = 0, m_pksub = 0, m_pkliq = 0, m_pkpag = 0;
    DemoContents m_contents;
    Loader m_loader;
    Phases m_phases;
};

void Filler::referenceTables()
{
    {
        Inserter cadcli(m_loader, QStringLiteral("CADCLI"),
                        columns("CGC CLNT1 CLNT2 CLNT3 CID ENDERE MEXER PRE PREN CON CONN TES TESN ESTADO EST EMPRESA "
                                "CPFPRE CPFCON RODAPE DTMOE VALIDO ORCAMENTO RESTO LIQUIDACAO BLOQUEIO BLOQBANCO "
                                "BLOQNOME BLOQMSG"));
        cadcli.insert({u("05.853.163/0001-30"), u("PREF. MUN. DE SÃO JOÃO DO ARAGUAIA"),
                       u("PREFEITURA MUNICIPAL DE SÃO JOÃO DO ARAGUAIA"), u("ESTADO DO PARÁ"),
                       u("SÃO JOÃO DO ARAGUAIA"), u("PRAÇA DA MATRIZ, 100 - CENTRO"), QString::number(kYear),
                       u("JOSÉ RIBAMAR CONCEIÇÃO"), u("PREFEITO MUNICIPAL"), u("MARIA DE NAZARÉ GONÇALVES"),
                       u("CONTADORA - CRC/PA 012345/O-8"), u("ANTÔNIO CARLOS BRAGA"), u("SECRETÁRIO DE FINANÇAS"),
                       u("PA"), u("N"), 1, u("123.456.789-09"), u("987.654.321-00"),
                       u("Praça da Matriz, 100 - Centro - CEP 68518-000 - São João do Araguaia/PA"),
                       day(kYear, 1, 2), day(kYear, 12, 31), u("S"), u("S"), u("S"), u("N"), u("N"), u(""),
                       u("")});
    }
    {
        Inserter e(m_loader, QStringLiteral("TABEMPRESA"), columns("EMPRESA NOME TIPO ADM SIGLA CNPJ"));
        for (const EntityDef &d : kEntities)
            e.insert({d.code, u(d.name), u(d.tipo), u(d.adm), u(d.sigla), u(d.cnpj)});
    }
    {
        Inserter logo(m_loader, QStringLiteral("LOGO"), columns("CODIGO LOGO"));
        logo.insert({1, coatOfArmsBitmap()});
    }
    {
        Inserter links(m_loader, QStringLiteral("VINCODIGO"), columns("VINGRUPO VINCODIGO NOME"));
        for (const LinkDef &l : kLinks)
            links.insert({u(l.grupo), u(l.codigo), u(l.name)});
    }
    {
        Inserter f(m_loader, QStringLiteral("TABFUNCAO"), columns("FUNCAO NOME"));
        for (const NamedCode &c : kFunctions)
            f.insert({u(c.code), u(c.name)});
        Inserter sf(m_loader, QStringLiteral("TABSUBFUNCAO"), columns("SUBFUNCAO NOME"));
        for (const NamedCode &c : kSubfunctions)
            sf.insert({u(c.code), u(c.name)});
        Inserter pr(m_loader, QStringLiteral("TABPROGRAMA"), columns("PROGRAMA NOME"));
        for (const NamedCode &c : kPrograms)
            pr.insert({u(c.code), u(c.name)});
    }
    {
        // Economic categories: the court's expense elements and the suite's own details.
        Inserter cat(m_loader, QStringLiteral("TABCATEC"),
                     columns("CATEGORIA GRUPO MODALIDADE ELEMENTO DESDOBRO NOME CATEC"));
        QMap<QString, QString> categories;
        for (const char *tipo : {"201", "202", "208", "209"}) {
            for (const CourtAccount &a : referenceAccounts(QString::fromLatin1(tipo)))
                categories.insert(a.code, a.name);
        }
        for (const NamedCode &c : kExtraCategories)
            categories.insert(u(c.code), u(c.name));
        for (auto it = categories.cbegin(); it != categories.cend(); ++it) {
            const QString &c = it.key();
            cat.insert({c.mid(0, 1), c.mid(2, 1), c.mid(4, 2), c.mid(7, 2), c.mid(10, 2), fit(it.value(), 60), c});
        }
        m_categories = categories;
    }
    {
        Inserter chart(m_loader, QStringLiteral("CONPLA"), columns("BALCO NOME TIPO NIVEL NATUREZA"));
        for (const LedgerAccount &a : kLedger) {
            const QString balco = u(a.balco);
            int level = 6;
            while (level > 1 && balco.at(level - 1) == u'0')
                --level;
            chart.insert({balco, u(a.name), u(a.tipo), level, u(a.natureza)});
        }
        Inserter cash(m_loader, QStringLiteral("DESCON"), columns("CONTA NOME BALCO TIPO BANCO AGENCIA NUMERO EMPRESA"));
        for (const CashAccountDef &c : kCashAccounts) {
            const QString bank = u(c.banco);
            cash.insert({c.conta, u(c.name), u(c.balco), u(c.tipo), orNull(bank),
                         bank.isEmpty() ? null() : QVariant(QStringLiteral("0%1-%2").arg(3100 + c.conta).arg(c.conta % 10)),
                         bank.isEmpty() ? null() : QVariant(QStringLiteral("%1.%2-%3").arg(10 + c.conta).arg(100 + 7 * c.conta, 3, 10, QLatin1Char('0')).arg(c.conta % 9)),
                         c.empresa});
            m_cash.append({c.conta, u(c.balco), u(c.tipo), c.empresa});
        }
    }
}

int Filler::revenueAccount(const RevenueDef &d, Rng &rng) const
{
    const QString court = u(d.court);
    const QString tipo = u(d.tipo);
    switch (d.empresa) {
    case 1:
        if (court.startsWith(u"1.7.21.01"))
            return 4;
        if (court.startsWith(u"2.1.14.05"))
            return 20;
        if (tipo == u"CV")
            return 21;
        if (court.startsWith(u"1.1.2") || court.startsWith(u"1.9.11"))
            return rng.chance(0.3) ? 1 : 2;
        return rng.chance(0.6) ? 2 : 3;
    case 2:
        return 14;
    case 3:
        return court.startsWith(u"1.7.21.33.20") ? 19 : 8;
    case 4:
        if (tipo == u"FU")
            return rng.chance(0.6) ? 5 : 6;
        return tipo == u"QE" ? 7 : 18;
    case 5:
        return 17;
    case 7:
        return 15;
    default:
        return 16;
    }
}

void Filler::insertRevenue(Inserter &recdis, Inserter &recorc, Inserter &recalt, Inserter &receit, Rng &rng,
                           const QString &codre, const QString &name, int empresa, const QString &tipo,
                           const QString &vingrupo, const QString &vincodigo, const QString &balco, bool extra,
                           double totor, const std::vector<Receipt> &receipts, int conta, const QString &balcoTce,
                           const QString &grupo, const QString &fonte, bool withChanges)
{
    const int ficha = ++m_revenueFicha;
    // Re-estimates of the budget during the year.
    std::vector<std::pair<QDate, double>> changes;
    if (withChanges && totor != 0 && rng.chance(0.2)) {
        const int n = rng.range(1, 2);
        for (int i = 0; i < n; ++i) {
            const double sign = rng.chance(0.8) ? 1.0 : -1.0;
            changes.push_back({QDate(kYear, rng.range(3, 11), rng.range(1, 28)), sign * hundreds(std::abs(totor) * rng.between(0.05, 0.2))});
        }
        std::sort(changes.begin(), changes.end());
    }
    double altdo = 0;
    for (const auto &c : changes)
        altdo += c.second;
    double collected = 0;
    for (const Receipt &r : receipts)
        collected += r.value;
    collected = cents(collected);
    const double updated = totor + altdo;
    const QDate created = receipts.empty() || totor != 0 ? QDate(kYear, 1, 2) : receipts.front().when.date();

    recdis.insert({ficha, codre, fit(name, 60), vingrupo, vincodigo, at(created, 8, 0), balco, tipo, totor, altdo,
                   collected, cents(updated - collected), updated != 0 ? std::round(collected / updated * 10000.0) / 100.0 : 0.0,
                   extra ? u("S") : u("N"), vingrupo, QStringLiteral("0") + vincodigo, 0, orNull(balcoTce), empresa,
                   created, u("N"), orNull(grupo), orNull(fonte)});
    if (!extra) {
        const std::vector<double> targets = totor == 0 ? std::vector<double>(6, 0.0) : split(rng, totor, 6, 0.25);
        for (int b = 0; b < 6; ++b)
            recorc.insert({ficha, b + 1, targets[size_t(b)], empresa});
    }
    for (const auto &c : changes)
        recalt.insert({++m_pkralt, ficha, at(c.first), c.second, QStringLiteral("DEC. %1/%2").arg(m_pkralt, 3, 10, QLatin1Char('0')).arg(kYear), empresa});

    LedgerKind kind = RevenueCurrent;
    if (extra)
        kind = Withholding;
    else if (codre.startsWith(u'9'))
        kind = Deduction;
    else if (codre.startsWith(u'2'))
        kind = RevenueCapital;
    else if (codre.startsWith(u'7'))
        kind = RevenueIntra;
    const QString history = fit((kind == Deduction ? QStringLiteral("Retenção para o FUNDEB - ") : QStringLiteral("Arrecadação - ")) + name, 80);
    for (const Receipt &r : receipts) {
        const int pk = ++m_pkrec;
        receit.insert({pk, ficha, r.when, r.value, conta, QStringLiteral("GR %1").arg(pk, 7, 10, QLatin1Char('0')),
                       r.value < 0 && kind != Deduction ? QStringLiteral("Restituição - ") + fit(name, 66) : history, empresa});
        const QDate d = r.when.date();
        if (r.value >= 0)
            moveCash(conta, d, r.value, 0);
        else
            moveCash(conta, d, 0, -r.value);
        post(empresa, d, kind, std::abs(r.value));
    }
}

void Filler::revenue()
{
    Rng rng(11);
    Inserter recdis(m_loader, QStringLiteral("RECDIS"),
                    columns("FICHA CODRE LEGIS VINGRUPO VINCODIGO DTREC BALCO TIPO TOTOR ALTDO TOTLA DIFOA PERCE EXTRA "
                            "FONGRUPO FONCODIGO FONINDUSO BALCO_TCE EMPRESA DT_INSERIR EXP_TCE GRUPO_TCE COD_TCE"));
    Inserter recorc(m_loader, QStringLiteral("RECORC"), columns("FICHA BIMESTRE TOTOR EMPRESA"));
    Inserter recalt(m_loader, QStringLiteral("RECALT"), columns("PKALT FICHA DATA VALOR DECRETO EMPRESA"));
    Inserter receit(m_loader, QStringLiteral("RECEIT"), columns("PKREC FICHA DTREC VAREC CONTA DOCUM HISTO EMPRESA"));

    const int templates = int(std::size(kRevenue));
    // A big city keeps its revenue in thousands of detailed records.
    const int perTemplate = large() ? (5100 + templates - 1) / templates : 1;
    const double cityFactor = large() ? 20.0 : 1.0;

    int done = 0;
    for (const RevenueDef &d : kRevenue) {
        const QString court = u(d.court);
        const QString tipo = u(d.tipo);
        const bool noBudget = d.flags & NoBudget;
        std::map<QDate, double> fundebBase; // receipts of the base records, by day
        double fundebBudget = 0;
        for (int j = 0; j < perTemplate; ++j) {
            const double share = large() ? cityFactor / perTemplate * rng.between(0.5, 1.5) : 1.0;
            QString codre = codreOf(court, (d.flags & ExtraZeros) && !large());
            QString name = u(d.name);
            if (large()) {
                codre += QStringLiteral(".%1").arg(j + 1, 2, 10, QLatin1Char('0'));
                name = fit(name, 52) + QStringLiteral(" - D%1").arg(j + 1, 2, 10, QLatin1Char('0'));
            }
            const double totor = noBudget ? 0.0 : hundreds(d.annual * share);
            const double realised = noBudget ? d.annual * share : totor * rng.between(0.86, 1.07);

            // Monthly collections shaped by the season of the revenue.
            double weights[12];
            double wsum = 0;
            for (int m = 0; m < 12; ++m) {
                double w = kSeason[int(d.season)][m];
                if (d.season == Season::Irregular)
                    w = rng.chance(0.45) ? rng.between(0.5, 2.0) : 0.0;
                if (w > 0 && d.season != Season::Irregular)
                    w *= rng.between(0.85, 1.15);
                weights[m] = w;
                wsum += w;
            }
            if (wsum == 0) {
                weights[rng.range(0, 11)] = 1.0;
                wsum = 1.0;
            }
            std::vector<Receipt> receipts;
            const int conta = revenueAccount(d, rng);
            for (int m = 1; m <= 12; ++m) {
                if (weights[m - 1] == 0)
                    continue;
                const double monthTotal = cents(realised * weights[m - 1] / wsum);
                const int n = large() ? (d.perMonth >= 3 ? 2 : 1) : d.perMonth;
                std::vector<QDate> days;
                if (n == 3 && !large()) { // the decendial transfers
                    for (int x : {10, 20, 30})
                        days.push_back(QDate(kYear, m, std::min(x, monthEnd(kYear, m).day())));
                } else {
                    days = daysOf(rng, m, n);
                }
                const std::vector<double> parts = split(rng, monthTotal, int(days.size()), 0.4);
                for (size_t i = 0; i < days.size(); ++i)
                    receipts.push_back({stamp(rng, days[i]), parts[i]});
                // Now and then a tax is refunded.
                if (court.startsWith(u"1.1.") && rng.chance(0.04)) {
                    const QDate when = daysOf(rng, m, 1).front();
                    receipts.push_back({at(when, 10, 30), -cents(monthTotal * rng.between(0.005, 0.02))});
                }
            }
            std::sort(receipts.begin(), receipts.end(), [](const Receipt &a, const Receipt &b) { return a.when < b.when; });

            // Court codes: a few records come classified (always those the
            // first generation needs to show figures), the rest is left to
            // the classification.
            QString balcoTce;
            if ((d.flags & PreAccount) || rng.chance(0.12))
                balcoTce = revenueCourtAccount(codre);
            QString grupo = d.grupo ? u(d.grupo) : QString();
            QString fonte = d.fonte ? u(d.fonte) : QString();
            if (grupo.isEmpty() && rng.chance(0.12)) {
                const auto gs = revenueGroupSource(tipo, codre, totor);
                grupo = gs.first;
                fonte = gs.second;
            }
            const QString balco = court.startsWith(u'2') ? u("612100") : court.startsWith(u'7') ? u("617100") : u("611100");
            insertRevenue(recdis, recorc, recalt, receit, rng, codre, name, d.empresa, tipo, u(d.vingrupo),
                          u(d.vincodigo), balco, false, totor, receipts, conta, balcoTce, grupo, fonte, true);

            if (d.fundeb) {
                fundebBudget += totor;
                for (const Receipt &r : receipts)
                    fundebBase[r.when.date()] += r.value;
            }
            if (court.startsWith(u"2.1.14.05") || court.startsWith(u"2.1.14.03") || court.startsWith(u"2.1.16")) {
                const QString debt = court.startsWith(u"2.1.14.05") ? u("341101") : court.startsWith(u"2.1.14.03") ? u("341102") : u("342101");
                for (const Receipt &r : receipts)
                    m_debtTaken[debt][r.when.date()] += r.value;
            }
            ++done;
            m_phases.fraction(double(done) / (templates * perTemplate + 1));
        }

        // The deduction that forms the FUNDEB, taken from each transfer on the day it comes in.
        if (d.fundeb) {
            std::vector<Receipt> deductions;
            for (const auto &[date, value] : fundebBase) {
                const double v = -cents(value * kFundebRate);
                if (v != 0)
                    deductions.push_back({at(date, 14, 0), v});
            }
            const QString dcourt = u(d.fundeb);
            insertRevenue(recdis, recorc, recalt, receit, rng, codreOf(dcourt, false),
                          QStringLiteral("Dedução para o FUNDEB - ") + fit(u(d.name), 36), 1, u("OR"), u("002"), u("010"),
                          u("619100"), false, -hundreds(fundebBudget * kFundebRate), deductions, 4, dcourt, QString(),
                          QString(), false);
        }
    }

    // Extra-budgetary withholdings, collected every month.
    for (const ExtraRevenueDef &e : kExtraRevenue) {
        const int copies = large() ? 10 : 1;
        for (int j = 0; j < copies; ++j) {
            std::vector<Receipt> receipts;
            const double annual = e.annual * (large() ? 2.0 : 1.0) * rng.between(0.9, 1.1);
            for (int m = 1; m <= 12; ++m) {
                const QDate last = monthEnd(kYear, m);
                receipts.push_back({at(last, 14, 0), cents(annual / 12 * rng.between(0.9, 1.1))});
            }
            const int conta = e.empresa == 1 ? 2 : e.empresa == 2 ? 14 : e.empresa == 3 ? 8 : e.empresa == 4 ? 5 : 15;
            QString codre = u(e.codre);
            if (large())
                codre += QStringLiteral(".%1").arg(j + 1, 2, 10, QLatin1Char('0'));
            insertRevenue(recdis, recorc, recalt, receit, rng, codre, u(e.name), e.empresa, u("OR"), u("006"), u("060"),
                          u(e.balco), true, 0.0, receipts, conta, QString(), QString(), QString(), false);
        }
    }
}

int Filler::expenseAccount(int empresa, const QString &tipo, const QString &vingrupo, const QString &vincodigo,
                           const QString &catec, Rng &rng) const
{
    const bool travel = catec.startsWith(u"3.3.90.14");
    switch (empresa) {
    case 1:
        if (vingrupo == u"004")
            return 20;
        if (vingrupo == u"003")
            return 21;
        if (travel)
            return 1;
        return rng.chance(0.6) ? 2 : 3;
    case 2:
        return travel ? 13 : 14;
    case 3:
        return vincodigo == u"021" || vincodigo == u"003" ? 19 : 8;
    case 4:
        if (tipo == u"FM")
            return 5;
        if (tipo == u"FO")
            return 6;
        return tipo == u"QE" ? 7 : 18;
    case 5:
        return 17;
    case 7:
        return 15;
    default:
        return 16;
    }
}

void Filler::expense()
{
    Rng rng(12);
    const QSet<QString> links = [] {
        QSet<QString> set;
        for (const LinkDef &l : kLinks)
            set.insert(QString::fromLatin1(l.grupo) + u'/' + QString::fromLatin1(l.codigo));
        return set;
    }();

    int baseRecords = 0;
    for (const UnitDef &unit : kUnits)
        baseRecords += int(elementSets()[size_t(unit.elements)].size());
    // A big city: the same programme structure repeated over its regional units.
    const int copies = large() ? (5000 + baseRecords - 1) / baseRecords + 1 : 1;
    const double cityFactor = large() ? 20.0 / copies : 1.0;

    Inserter acao(m_loader, QStringLiteral("TABACAO"), columns("PROJATIV ACAO NOME"));
    for (int k = 1; k <= copies; ++k) {
        for (const UnitDef &unit : kUnits) {
            QString name = u(unit.name);
            if (k > 1)
                name = fit(name, 46) + QStringLiteral(" - Regional %1").arg(k, 2, 10, QLatin1Char('0'));
            acao.insert({u(unit.projativ), QStringLiteral("%1").arg(k, 4, 10, QLatin1Char('0')), name});
        }
    }

    Inserter desdis(m_loader, QStringLiteral("DESDIS"),
                    columns("FICHA PODER ORGAO UNIDADE FUNCAO SUBFUNCAO PROGRAMA PROJATIV ACAO CATEGORIA GRUPO MODALIDADE "
                            "ELEMENTO DESDOBRO TIPO VINGRUPO VINCODIGO BALCO DOTAC EMAED ALTDO SATUA TIPOORC CODLO CFPRO "
                            "CATEC EXTRA ESPECIAL FONGRUPO FONCODIGO FONINDUSO TOTRESERVA SALDO_RESERVA BALCO_TCE RESTOS "
                            "EMPRESA CREDITO DT_INSERIR EXP_TCE GRUPO_TCE COD_TCE"));
    Inserter desorc(m_loader, QStringLiteral("DESORC"), columns("PKORC FICHA DATA DOTAC LEI EMPRESA"));
    Inserter desalt(m_loader, QStringLiteral("DESALT"), columns("PKALT FICHA DATA TIPO VALOR DECRETO EMPRESA"));
    int ficha = 0, pkorc = 0, pkalt = 0;

    struct Change {
        QDate date;
        QString tipo;
        double value;
    };
    // One budget record of a unit.
    const auto budgetRecord = [&](int unitIndex, int k, const QString &catec, double annual, int specialMonth) {
        const UnitDef &unit = kUnits[size_t(unitIndex)];
        ExpenseRecord r;
        r.ficha = ++ficha;
        r.empresa = unit.empresa;
        r.catec = catec;
        r.tipo = u(unit.tipo);
        r.vingrupo = u(unit.vingrupo);
        r.vincodigo = u(unit.vincodigo);
        r.unit = unitIndex;
        const QString acaoCode = QStringLiteral("%1").arg(k, 4, 10, QLatin1Char('0'));
        const QString unidade = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        r.cfpro = u(unit.funcao) + u'.' + u(unit.subfuncao) + u'.' + u(unit.programa) + u'.' + u(unit.projativ) + u'.' + acaoCode;
        const QString codlo = u(unit.poder) + u'.' + u(unit.orgao) + u'.' + unidade;
        const bool reserve = catec.startsWith(u'9');
        const bool capital = catec.startsWith(u'4');
        r.balco = reserve ? u("519900") : capital ? u("512100") : u("511100");
        r.payroll = isPayroll(catec);

        // Appropriation, and its changes by decree during the year.
        const bool special = specialMonth > 0 || (large() && k > 1 && !reserve && rng.chance(0.03));
        const int creditMonth = specialMonth > 0 ? specialMonth : rng.range(3, 9);
        double dotac = special ? 0.0 : std::max(100.0, hundreds(annual * unit.scale * cityFactor * rng.between(0.7, 1.3)));
        std::vector<Change> changes;
        if (special) {
            const double credit = hundreds(annual * (specialMonth > 0 ? 1.0 : unit.scale * cityFactor * rng.between(0.3, 0.8)));
            changes.push_back({QDate(kYear, creditMonth, rng.range(1, 20)), u("ES"), credit});
        } else if (reserve) {
            for (int m : {3, 6, 9})
                changes.push_back({QDate(kYear, m, rng.range(5, 25)), u("RE"), -hundreds(dotac * rng.between(0.08, 0.2))});
        } else {
            if (rng.chance(0.25))
                changes.push_back({QDate(kYear, rng.range(3, 11), rng.range(1, 28)), u("SU"), hundreds(dotac * rng.between(0.05, 0.3))});
            if (rng.chance(0.15))
                changes.push_back({QDate(kYear, rng.range(4, 11), rng.range(1, 28)), u("RE"), -hundreds(dotac * rng.between(0.05, 0.2))});
        }
        double altdo = 0;
        for (const Change &c : changes)
            altdo += c.value;
        r.budget = dotac + altdo;
        r.openFrom = special ? changes.front().date : QDate(kYear, 1, 2);
        r.conta = expenseAccount(r.empresa, r.tipo, r.vingrupo, r.vincodigo, catec, rng);

        // Court codes given in advance: the records the first generation
        // needs, and a sprinkling of others.
        const bool firstCopy = k == 1;
        QString balcoTce;
        const bool forcedAccount = firstCopy && (unit.classified || unitIndex == 2 || unitIndex == 5 ||
                                                 (unitIndex == 3 && catec.startsWith(u"4.4.91")));
        if (!reserve && (forcedAccount || rng.chance(0.18))) {
            balcoTce = expenseCourtAccount(catec, dotac == 0);
            // Intra-budget contributions are classified by hand under their own type.
            if (forcedAccount && catec.startsWith(u"3.1.91.13"))
                balcoTce = catec;
        }
        std::pair<QString, QString> gs;
        if (unit.debtCode && catec.startsWith(u"4.6")) {
            gs = {u("004"), u(unit.debtCode)};
        } else {
            const auto rule = expenseGroupSource(catec, u(unit.funcao), u(unit.subfuncao), r.tipo, dotac, r.balco,
                                                 links.contains(r.vingrupo + u'/' + r.vincodigo));
            if (!rule.first.isEmpty() && ((firstCopy && (unit.classified || specialMonth > 0)) || rng.chance(0.15)))
                gs = rule;
        }

        desdis.insert({r.ficha, u(unit.poder), u(unit.orgao), unidade, u(unit.funcao), u(unit.subfuncao), u(unit.programa),
                       u(unit.projativ), acaoCode, catec.mid(0, 1), catec.mid(2, 1), catec.mid(4, 2), catec.mid(7, 2),
                       catec.mid(10, 2), r.tipo, r.vingrupo, r.vincodigo, r.balco, dotac, 0.0, altdo, r.budget,
                       special ? u("E") : u("O"), codlo, r.cfpro, catec, u("N"), special ? u("S") : u("N"), r.vingrupo,
                       QStringLiteral("0") + r.vincodigo, 0, 0.0, 0.0, orNull(balcoTce), u("N"), r.empresa,
                       special ? u("ES") : QString(), at(r.openFrom).date(), u("N"), orNull(gs.first), orNull(gs.second)});
        if (dotac != 0)
            desorc.insert({++pkorc, r.ficha, QDate(kYear, 1, 1), dotac, QStringLiteral("LOA 1.187/%1").arg(kYear - 1), r.empresa});
        for (const Change &c : changes)
            desalt.insert({++pkalt, r.ficha, at(c.date), c.tipo, c.value,
                           QStringLiteral("DEC. %1/%2").arg(pkalt, 3, 10, QLatin1Char('0')).arg(kYear), r.empresa});
        if (!reserve)
            m_expense.push_back(r);
    };

    const int total = copies * baseRecords;
    int done = 0;
    for (int k = 1; k <= copies; ++k) {
        for (int ui = 0; ui < int(std::size(kUnits)); ++ui) {
            for (const ElementDef &e : elementSets()[size_t(kUnits[size_t(ui)].elements)]) {
                budgetRecord(ui, k, u(e.catec), e.annual, 0);
                m_phases.fraction(double(++done) / total);
            }
        }
        if (k == 1) {
            for (const SpecialCreditDef &sc : kSpecialCredits)
                budgetRecord(sc.unit, 1, u(sc.catec), sc.amount, sc.month);
        }
    }

    // Records of no budget: the accounts of the outstanding commitments of
    // each entity (processed and not processed), deposits and withholdings,
    // and the cancelled outstanding commitments of education.
    const auto accountRecord = [&](int empresa, const QString &balco, const QString &tipo, bool carried,
                                   bool processed, const QString &grupo, const QString &fonte) {
        ExpenseRecord r;
        r.ficha = ++ficha;
        r.empresa = empresa;
        r.tipo = tipo;
        r.vingrupo = u("001");
        r.vincodigo = u("001");
        r.balco = balco;
        r.carried = carried;
        r.processed = processed;
        r.openFrom = QDate(kYear, 1, 2);
        r.conta = expenseAccount(empresa, tipo, r.vingrupo, r.vincodigo, QString(), rng);
        const char *orgao = empresa == 2 ? "001" : empresa == 3 ? "008" : empresa == 4 ? "009" : empresa == 5 ? "010"
                          : empresa == 7 ? "011" : empresa == 12 ? "012" : "003";
        const QString poder = empresa == 2 ? u("01") : u("02");
        desdis.insert({r.ficha, poder, u(orgao), u("01"), null(), null(), null(), null(), null(), null(), null(), null(),
                       null(), null(), tipo, r.vingrupo, r.vincodigo, balco, 0.0, 0.0, 0.0, 0.0, u("O"),
                       poder + u'.' + u(orgao) + QStringLiteral(".01"), null(), null(), u("S"), u("N"), r.vingrupo,
                       QStringLiteral("0") + r.vincodigo, 0, 0.0, 0.0, null(), carried ? u("S") : u("N"), empresa,
                       null(), QDate(kYear, 1, 2), u("N"), orNull(grupo), orNull(fonte)});
        if (carried)
            m_expense.push_back(r);
    };
    for (const EntityDef &e : kEntities) {
        const QString tipo = e.code == 3 ? u("SD") : e.code == 4 ? u("EF") : u("OR");
        accountRecord(e.code, u("321101"), tipo, true, true, QString(), QString());
        accountRecord(e.code, u("321102"), tipo, true, false, QString(), QString());
    }
    for (const char *balco : {"323601", "323602", "323603", "323604"})
        accountRecord(1, u(balco), u("OR"), false, false, QString(), QString());
    for (int empresa : {2, 3, 4, 7})
        accountRecord(empresa, u("323601"), u("OR"), false, false, QString(), QString());
    accountRecord(4, u("323607"), u("FM"), false, false, u("205"), u("8.21"));
    accountRecord(4, u("323607"), u("EF"), false, false, QString(), QString());
    accountRecord(4, u("323608"), u("EI"), false, false, QString(), QString());
    accountRecord(4, u("323608"), u("FO"), false, false, QString(), QString());
    accountRecord(4, u("323608"), u("QE"), false, false, QString(), QString());
}

// How the commitment's history is filled in, by its kind.
const char *const kModalities[] = {"Pregão Presencial", "Convite", "Tomada de Preços", "Dispensa de Licitação",
                                   "Inexigibilidade", "Concorrência"};

// Court group and source of an outstanding commitment by its category and
// its entity, as the automatic classification chooses them.
std::pair<QString, QString> carriedGroupSource(const QString &catec, const QString &entityTipo, const QString &entityAdm)
{
    const QString d = catec.mid(2, 1);
    if (d.isEmpty() || d < u"1" || d > u"6")
        return {};
    if (catec.mid(4, 2) != u"91") {
        if (entityTipo == u"2")
            return {u("01"), u'2' + d + u("00000")};
        return {u("01"), (entityAdm == u"D" ? u("1100") : u("1200")) + d + u("00")};
    }
    if (entityTipo == u"2")
        return {u("10"), u'7' + d + u("00000")};
    return {u("10"), (entityAdm == u"D" ? u("6100") : u("6200")) + d + u("00")};
}

const EntityDef &entityOf(int code)
{
    for (const EntityDef &e : kEntities)
        if (e.code == code)
            return e;
    return kEntities[0];
}

struct Filler::Writers {
    Inserter despes, dessub, liquida, pagamento;
    explicit Writers(Loader &l)
        : despes(l, QStringLiteral("DESPES"),
                 columns("PKEMP NEMPG TPEM PKEMPA EVGRUPO EVCODIGO DATAE HISTO DOCUM VENCI PRODU DTPAG SUBEM IE TIPO FICHA "
                         "DTLIQ FASE VADEM LICIT PROC CATEGORIA GRUPO MODALIDADE ELEMENTO DESDOBRO CATEC CODIF DOTAC VAPAG "
                         "ANULA DTANULA INCORPA SUBEMPENHADO SALDOSUB NUMLIC VINGRUPO VINCODIGO CODLO_ANT CFPRO_ANT "
                         "CATEC_ANT INCORPORAFOLHA DT_INSERIR GRUPO_TCE COD_TCE")),
          dessub(l, QStringLiteral("DESSUB"), columns("PKSUB PKEMP NUMSUB DATAE VADEM VENCI DOCUM")),
          liquida(l, QStringLiteral("LIQUIDA"), columns("PKLIQ PKEMP NUMSUB DATAL VALIQ DOCUM HISTO")),
          pagamento(l, QStringLiteral("PAGAMENTO"), columns("PKPAG PKEMP NUMSUB PKLIQ DTPAG VAPAG CONTA CHEQUE"))
    {
    }
};

// Liquidations and payments of a commitment of the year.
void Filler::plan2008(const ExpenseRecord &r, Commitment &c, Rng &rng)
{
    const QDate d = c.when.date();
    const QDate last(kYear, 12, 31);
    if (!r.payroll && rng.chance(0.06)) {
        const double fraction = rng.chance(0.3) ? 1.0 : rng.between(0.1, 0.6);
        c.annulled = cents(c.value * fraction);
        c.annulledWhen = stamp(rng, clampToYear(d.addDays(rng.range(3, 45))));
    }
    double liquidable = cents(c.value - c.annulled);
    // Late commitments are often still waiting at the end of the year.
    if (d > QDate(kYear, 11, 20) && rng.chance(0.5))
        liquidable = cents(liquidable * rng.between(0.0, 0.7));
    if (liquidable <= 0)
        return;

    const auto pay = [&](Liquidation &l) {
        if (r.payroll) { // the payroll is paid the day it is liquidated
            l.payments.push_back({l.when, l.value});
            return;
        }
        if (rng.chance(0.04))
            return;
        const QDate p = l.when.date().addDays(rng.range(0, 20));
        if (p > last)
            return;
        const QDateTime first = notBefore(stamp(rng, p), l.when);
        if (rng.chance(0.1)) {
            const QDate p2 = p.addDays(rng.range(5, 15));
            if (p2 <= last) {
                const double part = cents(l.value * rng.between(0.3, 0.7));
                l.payments.push_back({first, part});
                l.payments.push_back({stamp(rng, p2), cents(l.value - part)});
                return;
            }
        }
        l.payments.push_back({first, l.value});
    };

    if (r.payroll) {
        // A big city pays its payroll by the fortnight.
        const QDate end = monthEnd(kYear, d.month());
        if (large()) {
            const double first = cents(liquidable * rng.between(0.4, 0.5));
            Liquidation a{notBefore(at(QDate(kYear, d.month(), 15), 14, 0), c.when), first, 0, {}};
            pay(a);
            c.liquidations.push_back(a);
            Liquidation b{at(end, 14, 0), cents(liquidable - first), 0, {}};
            pay(b);
            c.liquidations.push_back(b);
            return;
        }
        Liquidation l{at(end, 14, 0), liquidable, 0, {}};
        pay(l);
        c.liquidations.push_back(l);
        return;
    }
    if (c.kind == 'G') {
        const int n = large() ? rng.range(3, 8) : rng.range(2, 6);
        const std::vector<double> parts = split(rng, liquidable, n, 0.3);
        for (int j = 0; j < n; ++j) {
            const QDate pd = d.addDays((large() ? 20 : 30) * j);
            if (pd > last)
                break;
            c.parcels.push_back({j == 0 ? c.when : at(pd), parts[size_t(j)]});
            const QDate ld = pd.addDays(rng.range(0, 15));
            if (ld > last)
                continue;
            Liquidation l{notBefore(stamp(rng, ld), c.when), parts[size_t(j)], j + 1, {}};
            pay(l);
            c.liquidations.push_back(l);
        }
        return;
    }
    int n = c.kind == 'O' ? (rng.chance(0.7) ? 1 : 2) : rng.range(1, 3);
    if (large())
        n = c.kind == 'O' ? rng.range(1, 3) : rng.range(2, 4);
    const std::vector<double> parts = split(rng, liquidable, n, 0.4);
    QDate ld = d;
    for (int j = 0; j < n; ++j) {
        ld = ld.addDays(j == 0 ? rng.range(3, 40) : rng.range(10, 40));
        if (ld > last)
            break;
        Liquidation l{stamp(rng, ld), parts[size_t(j)], 0, {}};
        pay(l);
        c.liquidations.push_back(l);
    }
}

// An outstanding commitment of an earlier year: committed (and, when
// processed, liquidated) in that year, paid in the exercise year, month
// payMonth first when given.
void Filler::planCarried(const ExpenseRecord &r, Commitment &c, Rng &rng, int year, int payMonth)
{
    const QDate d = c.when.date();
    const QDate yearEnd(year, 12, 31);
    const QDate last(kYear, 12, 31);
    // Some are cancelled in the exercise year: a processed one for part of
    // what was left to pay, an unprocessed one for what was never liquidated.
    const bool cancel = payMonth == 0 && rng.chance(0.1);
    const double cancelled = cancel && !r.processed ? rng.between(0.2, 1.0) : 0.0;
    const int parcelCount = c.kind == 'G' ? rng.range(2, 4) : 1;
    const std::vector<double> parts = split(rng, c.value, parcelCount, 0.3);
    for (int j = 0; j < parcelCount; ++j) {
        const int numsub = c.kind == 'G' ? j + 1 : 0;
        if (c.kind == 'G')
            c.parcels.push_back({j == 0 ? c.when : at(std::min(d.addDays(20 * j), yearEnd)), parts[size_t(j)]});
        if (cancelled >= 1.0)
            continue;
        Liquidation l;
        l.value = cents(parts[size_t(j)] * (1.0 - cancelled));
        l.numsub = numsub;
        // Payments in the exercise year, the first in payMonth (or a month of its own).
        const int firstMonth = payMonth > 0 ? payMonth : rng.range(1, 12);
        if (r.processed) {
            l.when = notBefore(stamp(rng, std::min(d.addDays(rng.range(10, 60)), yearEnd)), c.when);
        } else {
            const int lm = payMonth > 0 ? payMonth : std::max(1, firstMonth - rng.range(0, 2));
            l.when = stamp(rng, QDate(kYear, lm, rng.range(1, 10)));
        }
        // Part of a processed one was paid before the year ended.
        double toPay = l.value;
        if (r.processed && payMonth == 0 && rng.chance(0.2)) {
            const double part = cents(l.value * rng.between(0.2, 0.5));
            l.payments.push_back({notBefore(stamp(rng, std::min(l.when.date().addDays(rng.range(5, 40)), yearEnd)), l.when), part});
            toPay = cents(l.value - part);
        }
        const bool unpaid = payMonth == 0 && rng.chance(0.15);
        if (!unpaid) {
            const bool liquidatedNow = l.when.date().year() == kYear;
            const int month = std::max(firstMonth, liquidatedNow ? l.when.date().month() : 1);
            const QDateTime p1 = notBefore(stamp(rng, QDate(kYear, month, rng.range(12, 28))), l.when);
            if (payMonth > 0 && payMonth <= 6) {
                // Paid in two halves, six months apart.
                const double half = cents(toPay * rng.between(0.4, 0.6));
                l.payments.push_back({p1, half});
                l.payments.push_back({stamp(rng, QDate(kYear, payMonth + 6, rng.range(12, 28))), cents(toPay - half)});
            } else if (payMonth == 0 && rng.chance(0.35)) {
                const double first = cents(toPay * rng.between(0.3, 0.8));
                l.payments.push_back({p1, first});
                const QDate p2 = p1.date().addDays(rng.range(20, 120));
                if (p2 <= last)
                    l.payments.push_back({stamp(rng, p2), cents(toPay - first)});
            } else {
                l.payments.push_back({p1, toPay});
            }
        }
        c.liquidations.push_back(l);
    }
    if (!cancel)
        return;
    if (r.processed) {
        double paid = 0;
        for (const Liquidation &l : c.liquidations)
            for (const Payment &p : l.payments)
                paid += p.value;
        const double rest = cents(c.value - paid);
        if (rest <= 0)
            return;
        c.annulled = cents(rest * rng.between(0.3, 1.0));
    } else {
        double liquidated = 0;
        for (const Liquidation &l : c.liquidations)
            liquidated += l.value;
        c.annulled = cents(c.value - liquidated);
        if (c.annulled <= 0)
            return;
        if (c.kind == 'G')
            c.parcelCancelled = std::min(c.annulled, c.parcels.back().second);
    }
    c.annulledWhen = stamp(rng, QDate(kYear, rng.range(2, 12), rng.range(1, 28)));
}

void Filler::writeCommitment(Writers &w, Commitment &c, Rng &rng)
{
    const ExpenseRecord &r = m_expense[size_t(c.record)];
    const int pkemp = ++m_pkemp;
    const bool carried = r.carried;
    double liquidated = 0, paid = 0, parcels = 0;
    QDateTime firstLiq, lastPay;
    for (const Liquidation &l : c.liquidations) {
        liquidated += l.value;
        if (!firstLiq.isValid() || l.when < firstLiq)
            firstLiq = l.when;
        for (const Payment &p : l.payments) {
            paid += p.value;
            if (!lastPay.isValid() || p.when > lastPay)
                lastPay = p.when;
        }
    }
    for (const auto &p : c.parcels)
        parcels += p.second;
    const double net = cents(c.value - c.annulled);
    const int fase = liquidated == 0 ? 1 : cents(paid) >= net ? 3 : 2;
    const QString year = QString::number(c.when.date().year());
    const QString docum = QStringLiteral("NE %1/%2").arg(c.nempg, 6, 10, QLatin1Char('0')).arg(year);
    const QString process = QStringLiteral("%1/%2").arg(rng.range(1, 4800), 4, 10, QLatin1Char('0')).arg(year);
    const bool payroll = isPayroll(c.catec);
    const QString licit = payroll ? u("Não se aplica") : u(kModalities[rng.range(0, int(std::size(kModalities)) - 1)]);
    const int codif = payroll ? 1 : rng.range(2, large() ? 9000 : 180);
    QVariant produ;
    if (!large() || pkemp % 10 == 0) {
        const QString what = m_categories.value(c.catec, u("Despesa"));
        const QString text = QStringLiteral("Empenho referente a %1, conforme processo %2 (%3).")
                                 .arg(what.toLower(), process, licit);
        produ = text; // the engine turns the text blob into the column's character set
    }
    const QString catec = c.catec;
    const QVariant cat = catec.isEmpty() ? null() : QVariant(catec.mid(0, 1));
    const QVariant grp = catec.isEmpty() ? null() : QVariant(catec.mid(2, 1));
    const QVariant mod = catec.isEmpty() ? null() : QVariant(catec.mid(4, 2));
    const QVariant ele = catec.isEmpty() ? null() : QVariant(catec.mid(7, 2));
    const QVariant des = catec.isEmpty() ? null() : QVariant(catec.mid(10, 2));
    const QString ev = c.kind == 'G' ? u("002") : c.kind == 'E' ? u("003") : u("001");
    const QString tpem = c.kind == 'G' ? u("GL") : c.kind == 'E' ? u("ES") : u("OR");
    const QVariant codloAnt = carried ? QVariant(c.cfpro.isEmpty() ? QString() : QStringLiteral("02%1").arg(r.empresa, 3, 10, QLatin1Char('0')) + u("01")) : null();

    w.despes.insert({pkemp, c.nempg, tpem, null(), u("001"), ev, c.when, rng.range(1, 60), docum,
                     at(c.when.date().addDays(30)), produ, lastPay.isValid() ? QVariant(lastPay) : null(),
                     c.kind == 'G' ? 1 : 0, 0, r.tipo, r.ficha, firstLiq.isValid() ? QVariant(firstLiq) : null(), fase,
                     c.value, licit, process, cat, grp, mod, ele, des, orNull(catec), codif,
                     carried ? null() : QVariant(r.budget), cents(paid), c.annulled,
                     c.annulledWhen.isValid() ? QVariant(c.annulledWhen) : null(), u("N"), cents(parcels),
                     c.kind == 'G' ? QVariant(cents(net - parcels)) : QVariant(0.0),
                     payroll ? null() : QVariant(QStringLiteral("%1/%2").arg(rng.range(1, 999), 3, 10, QLatin1Char('0')).arg(year.right(2))),
                     r.vingrupo, r.vincodigo, codloAnt, carried ? orNull(c.cfpro) : null(),
                     carried ? orNull(catec) : null(), payroll ? u("S") : u("N"), c.when.date(), orNull(c.grupo),
                     orNull(c.fonte)});
    if (c.annulled > 0) {
        w.despes.insert({++m_pkemp, c.nempg, u("AN"), pkemp, u("001"), u("004"), c.annulledWhen, rng.range(1, 60),
                         QStringLiteral("NA %1/%2").arg(c.nempg, 6, 10, QLatin1Char('0')).arg(kYear), null(), null(),
                         null(), 0, 0, r.tipo, r.ficha, null(), 1, -c.annulled, licit, process, cat, grp, mod, ele, des,
                         orNull(catec), codif, carried ? null() : QVariant(r.budget), 0.0, 0.0, null(), u("N"), 0.0, 0.0,
                         null(), r.vingrupo, r.vincodigo, null(), null(), null(), u("N"), c.annulledWhen.date(),
                         null(), null()});
    }
    int numsub = 0;
    for (const auto &p : c.parcels) {
        ++numsub;
        w.dessub.insert({++m_pksub, pkemp, numsub, p.first, p.second, at(p.first.date().addDays(30)),
                         QStringLiteral("SE %1/%2").arg(c.nempg, 6, 10, QLatin1Char('0')).arg(numsub)});
    }
    if (c.parcelCancelled > 0 && numsub > 0)
        w.dessub.insert({++m_pksub, pkemp, numsub, c.annulledWhen, -c.parcelCancelled, null(),
                         QStringLiteral("CANC. SE %1/%2").arg(c.nempg, 6, 10, QLatin1Char('0')).arg(numsub)});

    const bool capital = catec.startsWith(u'4');
    for (const Liquidation &l : c.liquidations) {
        const int pkliq = ++m_pkliq;
        w.liquida.insert({pkliq, pkemp, l.numsub, l.when, l.value, QStringLiteral("NF %1").arg(rng.range(1, 999999), 6, 10, QLatin1Char('0')),
                          null()});
        if (l.when.date().year() == kYear && !carried)
            post(r.empresa, l.when.date(), capital ? LiquidatedCapital : LiquidatedCurrent, l.value);
        for (const Payment &p : l.payments) {
            const int pkpag = ++m_pkpag;
            w.pagamento.insert({pkpag, pkemp, l.numsub, pkliq, p.when, p.value, r.conta,
                                rng.chance(0.3) ? QVariant(QStringLiteral("CH %1").arg(850000 + pkpag)) : null()});
            if (p.when.date().year() != kYear)
                continue; // paid in an earlier year: in that year's books
            moveCash(r.conta, p.when.date(), 0, p.value);
            post(r.empresa, p.when.date(), carried ? PaidCarried : Paid, p.value);
        }
    }
    m_committed[size_t(c.record)] += net;
}

void Filler::commitments()
{
    Writers w(m_loader);
    m_committed.assign(m_expense.size(), 0.0);

    // The categories and functional codes each entity had in earlier years.
    std::map<int, std::vector<std::pair<QString, QString>>> pastCategories, pastIntra;
    std::map<int, std::pair<int, int>> carriedRecords; // entity -> (processed, not processed) record indexes
    for (int i = 0; i < int(m_expense.size()); ++i) {
        const ExpenseRecord &r = m_expense[size_t(i)];
        if (r.carried) {
            auto &pair = carriedRecords[r.empresa];
            (r.processed ? pair.first : pair.second) = i;
        } else if (r.cfpro.endsWith(u".0001") && r.catec.size() == 12) {
            (r.catec.mid(4, 2) == u"91" ? pastIntra : pastCategories)[r.empresa].push_back({r.catec, r.cfpro});
        }
    }

    // Outstanding commitments first: they are the oldest.
    Rng rr(14);
    std::vector<Commitment> carried;
    const auto carriedOne = [&](int empresa, bool processed, int payMonth, bool intra, bool classify) {
        const auto it = carriedRecords.find(empresa);
        if (it == carriedRecords.end())
            return;
        Commitment c;
        c.record = processed ? it->second.first : it->second.second;
        const auto &pool = intra && !pastIntra[empresa].empty() ? pastIntra[empresa] : pastCategories[empresa];
        if (pool.empty())
            return;
        const auto &choice = pool[size_t(rr.range(0, int(pool.size()) - 1))];
        c.catec = choice.first;
        c.cfpro = choice.second;
        const int year = rr.chance(0.75) ? kYear - 1 : kYear - 2;
        c.when = stamp(rr, QDate(year, rr.range(2, 12), rr.range(1, 28)));
        c.value = cents(std::exp(rr.between(std::log(800.0), std::log(120000.0))));
        c.kind = rr.chance(0.2) ? 'G' : 'O';
        planCarried(m_expense[size_t(c.record)], c, rr, year, payMonth);
        if (classify) {
            const EntityDef &e = entityOf(empresa);
            const auto gs = carriedGroupSource(c.catec, u(e.tipo), u(e.adm));
            c.grupo = gs.first;
            c.fonte = gs.second;
        }
        c.nempg = rr.range(1, 4800);
        carried.push_back(c);
    };
    // Paid in every month of the year (each in two halves six months apart),
    // processed and not, classified: the outstanding-commitments section has
    // figures in every month.
    for (int m = 1; m <= 6; ++m) {
        carriedOne(1, true, m, false, true);
        carriedOne(1, false, m, false, true);
        carriedOne(1, true, m, true, true);
        if (m % 2 == 1)
            carriedOne(2, m % 4 == 1, m, false, true);
    }
    const int perRecord = large() ? 700 : 6;
    for (const EntityDef &e : kEntities) {
        for (bool processed : {true, false}) {
            const int n = large() ? perRecord : rr.range(perRecord - 1, perRecord + 2);
            for (int i = 0; i < n; ++i)
                carriedOne(e.code, processed, 0, rr.chance(0.1), rr.chance(0.2));
        }
    }
    std::sort(carried.begin(), carried.end(), [](const Commitment &a, const Commitment &b) { return a.when < b.when; });

    // The commitments of the year, planned first so that they can be numbered in date order.
    Rng rng(13);
    const double target = large() ? 190000 : 700;
    std::vector<double> weight(m_expense.size(), 0.0);
    double wsum = 0;
    for (size_t i = 0; i < m_expense.size(); ++i) {
        const ExpenseRecord &r = m_expense[i];
        if (r.carried || r.budget <= 0)
            continue;
        const bool keep = r.payroll || (r.unit >= 0 && (kUnits[size_t(r.unit)].classified || kUnits[size_t(r.unit)].debtCode));
        if (!keep && rng.chance(0.05))
            continue; // appropriations nobody used
        weight[i] = std::sqrt(r.budget) * (r.payroll ? 1.5 : 1.0);
        wsum += weight[i];
    }
    struct Plan {
        int record;
        QDate date;
        double value;
        char kind;
    };
    std::vector<Plan> plans;
    plans.reserve(size_t(target * 1.1));
    for (size_t i = 0; i < m_expense.size(); ++i) {
        if (weight[i] == 0)
            continue;
        const ExpenseRecord &r = m_expense[i];
        int n = std::max(1, int(std::lround(weight[i] * target / wsum)));
        if (r.payroll)
            n = std::max(n, 12);
        const double total = r.budget * (r.payroll ? rng.between(0.85, 0.98) : rng.between(0.6, 0.95));
        const std::vector<double> values = split(rng, total, n, 0.5);
        for (int j = 0; j < n; ++j) {
            QDate d;
            if (r.payroll) {
                const int from = r.openFrom.month();
                d = QDate(kYear, from + j * (13 - from) / n, rng.range(1, 5));
            } else {
                const int span = int(r.openFrom.daysTo(QDate(kYear, 12, 20)));
                d = r.openFrom.addDays(rng.range(0, std::max(0, span)));
            }
            if (d < r.openFrom)
                d = r.openFrom;
            const double v = rng.unit();
            const char kind = r.payroll ? 'E' : v < 0.6 ? 'O' : v < 0.85 ? 'G' : 'E';
            plans.push_back({int(i), d, values[size_t(j)], kind});
        }
    }
    std::stable_sort(plans.begin(), plans.end(), [](const Plan &a, const Plan &b) { return a.date < b.date; });

    const double steps = double(carried.size() + plans.size()) + 1;
    double done = 0;
    for (Commitment &c : carried) {
        Rng crng(0x9E37ull + quint64(m_pkemp) * 7919ull);
        writeCommitment(w, c, crng);
        m_phases.fraction(++done / steps);
    }
    std::map<int, int> numbers; // commitment numbers run per entity
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan &p = plans[i];
        const ExpenseRecord &r = m_expense[size_t(p.record)];
        Rng crng(0xC0FFEEull + quint64(i) * 104729ull);
        Commitment c;
        c.record = p.record;
        c.value = cents(p.value);
        c.kind = p.kind;
        c.catec = r.catec;
        c.when = r.payroll ? at(p.date) : stamp(crng, p.date);
        c.nempg = ++numbers[r.empresa];
        plan2008(r, c, crng);
        writeCommitment(w, c, crng);
        if ((i & 255) == 0)
            m_phases.fraction((done + double(i)) / steps);
    }

    // What each record has committed, and what is left of its appropriation.
    QSqlQuery update(m_loader.db());
    if (!update.prepare(QStringLiteral("UPDATE DESDIS SET EMAED = ?, SATUA = ? WHERE FICHA = ?")))
        throw Error(QStringLiteral("Erro ao preparar a atualização das fichas de despesa:\n%1").arg(update.lastError().text()));
    for (size_t i = 0; i < m_expense.size(); ++i) {
        const ExpenseRecord &r = m_expense[i];
        if (r.carried)
            continue;
        update.bindValue(0, cents(m_committed[i]));
        update.bindValue(1, cents(r.budget - m_committed[i]));
        update.bindValue(2, r.ficha);
        if (!update.exec())
            throw Error(QStringLiteral("Erro ao atualizar a ficha de despesa %1:\n%2").arg(r.ficha).arg(update.lastError().text()));
    }
}

// The cash book: the day's receipts (credits) and payments (debits) of every
// cash and bank account, the monthly investments, and each account's balance
// brought from the previous year, enough to keep it from going negative.
void Filler::cashBook()
{
    Rng rng(15);
    const double factor = large() ? 20.0 : 1.0;
    for (int m = 1; m <= 12; ++m) {
        const QDate d = QDate(kYear, m, std::min(25, monthEnd(kYear, m).day()));
        const auto transfer = [&](int from, int to, double amount) {
            const double v = cents(amount * factor * rng.between(0.8, 1.2));
            moveCash(from, d, 0, v);
            moveCash(to, d, v, 0);
        };
        transfer(2, 9, 200000);
        transfer(17, 10, 150000);
        transfer(17, 11, 80000);
        transfer(5, 12, 60000);
        // The cash of the day goes to the bank at the end of the month.
        double till = 0;
        const auto &cash = m_cashMoves[1];
        for (auto it = cash.lower_bound(QDate(kYear, m, 1)); it != cash.end() && it->first.month() == m && it->first.year() == kYear; ++it)
            till += it->second.credit;
        if (till > 0) {
            const double v = cents(till * 0.8);
            moveCash(1, monthEnd(kYear, m), 0, v);
            moveCash(2, monthEnd(kYear, m), v, 0);
        }
    }

    Inserter ordcai(m_loader, QStringLiteral("ORDCAI"), columns("PKORD CONTA DTLAN CREDI DEBIT HISTO DOCUM EMPRESA"));
    std::map<int, int> entityOfAccount;
    for (const CashAccount &c : m_cash)
        entityOfAccount[c.conta] = c.empresa;
    int pk = 0;
    for (const CashAccount &account : m_cash) {
        const auto &moves = m_cashMoves[account.conta];
        double balance = 0, lowest = 0, inflow = 0;
        for (const auto &[date, money] : moves) {
            balance += money.credit - money.debit;
            lowest = std::min(lowest, balance);
            inflow += money.credit;
        }
        const double opening = hundreds(-lowest + std::max(5000.0 * factor, inflow * rng.between(0.04, 0.12)));
        int boletim = 0;
        ordcai.insert({++pk, account.conta, at(QDate(kYear, 1, 2), 8, 0), opening, 0.0,
                       u("Saldo do exercício anterior"), QStringLiteral("BOLETIM 000"), account.empresa});
        for (const auto &[date, money] : moves) {
            ++boletim;
            const QString doc = QStringLiteral("BOLETIM %1").arg(boletim, 3, 10, QLatin1Char('0'));
            const QDateTime when = date == monthEnd(date.year(), date.month()) ? at(date, 14, 0) : at(date, 17, 30);
            if (money.credit != 0)
                ordcai.insert({++pk, account.conta, when, cents(money.credit), 0.0, u("Entradas do dia"), doc, account.empresa});
            if (money.debit != 0)
                ordcai.insert({++pk, account.conta, when, 0.0, cents(money.debit), u("Saídas do dia"), doc, account.empresa});
        }
        m_phases.fraction(0.5 * double(account.conta) / double(m_cash.size()));
    }
}

// The ledger (CONDIA): the period's revenue, deductions, withholdings,
// liquidations and payments of each entity as double entries, and the
// movement of the debts: new borrowing, restatements and amortisation.
void Filler::ledger()
{
    Rng rng(16);
    const double factor = large() ? 20.0 : 1.0;
    Inserter condia(m_loader, QStringLiteral("CONDIA"), columns("PKDIA LOTE DATAE BALCO DEBIT CREDI HISTO DOCUM EMPRESA"));
    int pk = 0, lote = 0;
    const auto entry = [&](int empresa, const QDateTime &when, const QString &debit, const QString &credit, double value,
                           const QString &history) {
        const double v = cents(value);
        if (v == 0)
            return;
        ++lote;
        const QString doc = QStringLiteral("LOTE %1").arg(lote, 6, 10, QLatin1Char('0'));
        condia.insert({++pk, lote, when, debit, v, 0.0, fit(history, 100), doc, empresa});
        condia.insert({++pk, lote, when, credit, 0.0, v, fit(history, 100), doc, empresa});
    };
    const auto bank = [](int empresa) {
        switch (empresa) {
        case 2: return u("311202");
        case 3: return u("311404");
        case 4: return u("311402");
        case 5: return u("311203");
        case 7: return u("311204");
        case 12: return u("311405");
        default: return u("311201");
        }
    };
    for (const auto &[key, value] : m_ledgerMoves) {
        const auto &[empresa, date, kind] = key;
        const QDateTime when = at(date, 18, 0);
        switch (LedgerKind(kind)) {
        case RevenueCurrent: entry(empresa, when, bank(empresa), u("611100"), value, u("Receita corrente arrecadada")); break;
        case RevenueCapital: entry(empresa, when, bank(empresa), u("612100"), value, u("Receita de capital arrecadada")); break;
        case RevenueIntra: entry(empresa, when, bank(empresa), u("617100"), value, u("Receita intra-orçamentária arrecadada")); break;
        case Deduction: entry(empresa, when, u("619100"), bank(empresa), value, u("Dedução da receita para formação do FUNDEB")); break;
        case Withholding: entry(empresa, when, bank(empresa), u("323601"), value, u("Retenções e consignações")); break;
        case LiquidatedCurrent: entry(empresa, when, u("511100"), u("321200"), value, u("Despesa corrente liquidada")); break;
        case LiquidatedCapital: entry(empresa, when, u("512100"), u("321200"), value, u("Despesa de capital liquidada")); break;
        case Paid: entry(empresa, when, u("321200"), bank(empresa), value, u("Pagamento de despesas")); break;
        case PaidCarried: entry(empresa, when, u("321101"), bank(empresa), value, u("Pagamento de restos a pagar")); break;
        }
    }
    m_phases.fraction(0.8);

    // The debts, month by month.
    for (const auto &[balco, days] : m_debtTaken) {
        const int empresa = balco == u"341102" ? 7 : 1;
        for (const auto &[date, value] : days)
            entry(empresa, at(date, 14, 0), empresa == 7 ? u("311204") : u("311407"), balco, value,
                  u("Liberação de recursos de operação de crédito"));
    }
    for (int m = 1; m <= 12; ++m) {
        const QDateTime close = at(monthEnd(kYear, m), 14, 0);
        const QDateTime mid = at(QDate(kYear, m, 15), 10, 0);
        const auto amort = [&](int empresa, const char *debt, double v, const char *history) {
            entry(empresa, mid, u(debt), empresa == 7 ? u("311204") : u("311201"), v * factor * rng.between(0.95, 1.05), u(history));
        };
        const auto restate = [&](int empresa, const char *debt, double v, const char *history) {
            entry(empresa, close, u("511100"), u(debt), v * factor * rng.between(0.8, 1.2), u(history));
        };
        amort(1, "341101", 38000, "Amortização do empréstimo CEF/PAC");
        amort(7, "341102", 18000, "Amortização do financiamento BNDES");
        restate(7, "341102", 2500, "Atualização do financiamento BNDES");
        restate(1, "342101", 9000, "Atualização monetária (SELIC) do parcelamento do INSS");
        amort(1, "342101", 28000, "Parcela do parcelamento de débitos previdenciários");
        restate(1, "342102", 1500, "Atualização do parcelamento do FGTS");
        amort(1, "342102", 6000, "Parcela do parcelamento do FGTS");
        restate(1, "342103", 2000, "Atualização do parcelamento do PASEP");
        amort(1, "342103", 7000, "Parcela do parcelamento do PASEP");
        restate(1, "342201", 1200, "Juros sobre a dívida com a concessionária de energia");
        amort(1, "342201", 12000, "Parcela da dívida com a concessionária de energia");
        restate(1, "342401", rng.between(10000, 60000), "Variação cambial do empréstimo BID");
        if (m == 6 || m == 12)
            amort(1, "342401", 120000, "Amortização semestral do empréstimo BID");
        if (m == 3)
            restate(1, "342101", 1850000, "Parcelamento de débitos previdenciários - Lei 11.196/05");
        if (m == 7)
            restate(1, "342201", 380000, "Confissão de dívida com a concessionária de energia elétrica");
    }
}

// Forced writes make the engine wait for the disk at every commit, which is
// what a database in daily use wants and what a bulk load does not: the load
// runs with them off and they are switched back on at the end.
void setForcedWrites(const QString &path, bool on)
{
    ISC_STATUS_ARRAY status{};
    isc_db_handle handle = 0;
    const QByteArray file = path.toLocal8Bit();
    const QByteArray user(firebird::kUser);
    const QByteArray password(firebird::kPassword);
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    dpb.append(char(isc_dpb_user_name)).append(char(user.size())).append(user);
    dpb.append(char(isc_dpb_password)).append(char(password.size())).append(password);
    dpb.append(char(isc_dpb_force_write)).append(char(1)).append(char(on ? 1 : 0));
    if (isc_attach_database(status, 0, file.constData(), &handle, short(dpb.size()), dpb.constData())) {
        char buffer[512];
        const ISC_STATUS *p = status;
        fb_interpret(buffer, sizeof buffer, &p);
        throw Error(QStringLiteral("Não foi possível abrir o banco de dados %1:\n%2").arg(path, QString::fromLocal8Bit(buffer)));
    }
    isc_detach_database(status, &handle);
}

} // namespace

DemoContents fillDemoDatabase(QSqlDatabase &db, DemoSize size, Progress &progress)
{
    Filler filler(db, size, progress);
    return filler.run();
}

DemoContents createDemoDatabase(const QString &path, DemoSize size, Progress &progress)
{
    if (QFileInfo::exists(path))
        throw Error(QStringLiteral("O banco de dados %1 já existe.").arg(path));
    firebird::createDatabase(path);

    const QString name = QStringLiteral("orven-demo-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const auto closeConnection = [&name] {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    };
    DemoContents contents;
    try {
        setForcedWrites(path, false);
        {
            QSqlDatabase db = firebird::addConnection(name, path);
            if (!db.open())
                throw Error(QStringLiteral("Não foi possível abrir o banco de dados %1:\n%2").arg(path, db.lastError().text()));
            progress.setStatus(QStringLiteral("Estrutura do banco de dados"));
            db::createSchema(db, true);
            contents = fillDemoDatabase(db, size, progress);
            progress.setStatus(QStringLiteral("Índices"));
            db::createIndexes(db);
            db.close();
        }
        closeConnection();
        setForcedWrites(path, true);
    } catch (...) {
        closeConnection();
        // A half-made database is no demo: take it away.
        try {
            firebird::dropDatabase(path);
        } catch (const Error &) {
            QFile::remove(path);
        }
        throw;
    }
    return contents;
}

} // namespace orven::demo
