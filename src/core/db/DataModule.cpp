#include "db/DataModule.h"

#include "common/Error.h"
#include "db/ErrorTranslator.h"
#include "packet/DataPacket.h"

#include <QPointer>

namespace orven::db {

namespace {

QPointer<TDM> g_instance;

// ---- declared fields -----------------------------------------------------------

FieldDecl decl(const char *name, FieldType type, int size = 0, bool required = false)
{
    FieldDecl d;
    d.name = QString::fromLatin1(name);
    d.type = type;
    d.size = size;
    d.required = required;
    return d;
}
FieldDecl text(const char *name, int size, bool required = false)
{
    return decl(name, FieldType::String, size, required);
}
FieldDecl fixed(const char *name, int size) { return decl(name, FieldType::FixedChar, size); }
FieldDecl integer(const char *name, bool required = false) { return decl(name, FieldType::Integer, 0, required); }
FieldDecl smallint(const char *name) { return decl(name, FieldType::SmallInt); }
FieldDecl floating(const char *name) { return decl(name, FieldType::Float); }
FieldDecl timestamp(const char *name, bool required = false) { return decl(name, FieldType::DateTime, 0, required); }
FieldDecl date(const char *name) { return decl(name, FieldType::Date); }
// A blob column keeps its own kind: binary (a picture) or text (the suite
// keeps text in some of them).
FieldDecl blob(const char *name) { return decl(name, FieldType::Unknown); }
// A column declared with the accounting database's own type.
FieldDecl own(const char *name) { return decl(name, FieldType::Unknown); }

QList<FieldDecl> tipoFields()
{
    return {text("CODTIPO", 5, true), text("DESC_TIPO", 150), text("TIPO", 1, true)};
}

QList<FieldDecl> conplaFields()
{
    return {text("CODTIPO", 5, true), text("NUM_CONTABIL", 18, true), text("DESC_CONTABIL", 150)};
}

QList<FieldDecl> recdisFields()
{
    return {integer("FICHA", true),  text("CODRE", 13, true),     text("LEGIS", 60),
            text("VINGRUPO", 3, true), text("VINCODIGO", 3, true), timestamp("DTREC"),
            text("BALCO", 6),        text("TIPO", 2),             floating("TOTOR"),
            floating("ALTDO"),       floating("TOTLA"),           floating("DIFOA"),
            floating("PERCE"),       text("EXTRA", 1, true),      text("FONGRUPO", 3),
            text("FONCODIGO", 4),    integer("FONINDUSO"),        text("BALCO_TCE", 18),
            integer("EMPRESA"),      integer("CODFOR"),           date("DT_INSERIR"),
            date("DT_ALTERAR"),      text("EXP_TCE", 1),          text("GRUPO_TCE", 5),
            text("COD_TCE", 18)};
}

QList<FieldDecl> desdisFields()
{
    FieldDecl dotac = floating("DOTAC");
    dotac.displayFormat = TDM::kAmountFormat;
    return {integer("FICHA", true),   text("PODER", 2, true),     text("ORGAO", 3, true),
            text("UNIDADE", 2, true), text("FUNCAO", 2),          text("SUBFUNCAO", 3),
            text("PROGRAMA", 4),      text("PROJATIV", 4),        text("ACAO", 4),
            text("CATEGORIA", 1),     text("GRUPO", 1),           text("MODALIDADE", 2),
            text("ELEMENTO", 2),      text("DESDOBRO", 2),        text("TIPO", 2),
            text("VINGRUPO", 3, true), text("VINCODIGO", 3, true), text("BALCO", 6),
            text("INCI", 8),          dotac,                      floating("EMAED"),
            floating("ALTDO"),        floating("SATUA"),          text("TIPOORC", 1),
            text("CODLO", 9),         text("CFPRO", 21),          text("CATEC", 12),
            integer("FORIGEM"),       text("EXTRA", 1, true),     text("ESPECIAL", 1),
            text("FONGRUPO", 3),      text("FONCODIGO", 4),       integer("FONINDUSO"),
            floating("TOTRESERVA"),   floating("SALDO_RESERVA"),  text("BALCO_TCE", 18),
            text("RESTOS", 1),        integer("EMPRESA"),         integer("CODFOR"),
            text("CREDITO", 2),       date("DT_INSERIR"),         date("DT_ALTERAR"),
            text("EXP_TCE", 1),       text("GRUPO_TCE", 5),       text("COD_TCE", 18)};
}

QList<FieldDecl> empenhoFields()
{
    FieldDecl vadem = floating("VADEM");
    vadem.currency = true;
    return {integer("PKEMP", true),     integer("NEMPG", true),      text("TPEM", 2, true),
            integer("PKEMPA"),          text("EVGRUPO", 3),          text("EVCODIGO", 3),
            timestamp("DATAE", true),   integer("HISTO"),            integer("NEMPF"),
            text("DOCUM", 20),          timestamp("VENCI"),          blob("PRODU"),
            timestamp("DTPAG"),         smallint("SUBEM"),           smallint("IE"),
            text("TIPO", 2),            integer("FICHA"),            timestamp("DTLIQ"),
            smallint("FASE"),           timestamp("DTJUS"),          vadem,
            text("LICIT", 40),          text("PROC", 12),            text("CATEGORIA", 1),
            text("GRUPO", 1),           text("MODALIDADE", 2),       text("ELEMENTO", 2),
            text("DESDOBRO", 2),        text("CATEC", 12),           integer("ORDCRE"),
            text("REQUI", 8),           integer("CODIF", true),      floating("DOTAC"),
            floating("VATON"),          floating("EMAED"),           floating("SATUA"),
            floating("VAPAG"),          floating("ANULA"),           floating("NEMPV"),
            floating("DESCO"),          floating("SALDOSUB"),        timestamp("DTANULA"),
            fixed("INCORPA", 1),        floating("SUBEMPENHADO"),    floating("VALOR"),
            text("NUMLIC", 7),          text("VINGRUPO", 3, true),   text("VINCODIGO", 3, true),
            text("CODLO_ANT", 7),       text("CFPRO_ANT", 21),       text("CATEC_ANT", 12),
            integer("PKEMPR"),          text("CONTRATO", 7),         text("NUMPED", 8),
            integer("RESERVA"),         fixed("INCORPORAFOLHA", 1),  text("REFFOLHA", 7),
            integer("TRANSFENTIDADE"),  integer("CODOBRA"),          text("NUMLICMOD", 7),
            integer("CONVENIO"),        text("FRG", 3),              text("BALCO_TCE", 20),
            date("DT_ALTERAR"),         date("DT_INSERIR"),          text("GRUPO_TCE", 5),
            text("COD_TCE", 18)};
}

QList<FieldDecl> clienteFields()
{
    QList<FieldDecl> fields{text("CGC", 18, true), text("CLNT1", 35), text("CLNT2", 70), text("CLNT3", 30),
                            text("CID", 30),       text("ENDERE", 30), text("MEXER", 4)};
    static const char *const kOwnTypes[] = {
        "CADAUT",   "EMPREQ",      "PRE",          "PREN",        "DFI",         "DFIN",
        "TES",      "TESN",        "CON",          "CONN",        "ODE",         "ODEN",
        "ALM",      "ALMN",        "SEC",          "SECN",        "PES",         "PESN",
        "LAN",      "LANN",        "TIMB",         "VIEM",        "TIPIMP",      "TAFO",
        "MFIO",     "MVM",         "SEN",          "DTMOE",       "CORZER",      "NOVVEL",
        "AUTORIZN", "AUTORIZC",    "CONTABN",      "CONTABC",     "DEPEDU",      "VALIDO",
        "PRINTEMP", "RECMAT",      "FORNEC",       "PROC",        "ALTANTER",    "EST",
        "ESTADO",   "CHAVE",       "ALMOXARIFE",   "ORCAMENTO",   "EMPPADRAO",   "SUBPADRAO",
        "SEN0",     "ALMOLIC",     "ALMOEMP",      "SEN2",        "RESTO",       "RODAPE",
        "ULTEMPGERLICIT", "CPFPRE", "CPFCON",      "BLOQUEIO",    "ANULAREPNUM", "RESERVA",
        "CONTROLE_RESERVA", "DOTACAO_RESERVA", "ALMOLICBLOQ", "ALMOFICEMP", "ALMODESDOBRO", "EMPRESA",
        "BAIXA",    "ESTOQUE_SETOR", "LIQUIDACAO", "BLOQUEIOC",   "BLOQUEIOP",   "ORDIMP",
        "ORDCRE",   "ATU_CHAVE"};
    for (const char *name : kOwnTypes)
        fields.append(own(name));
    return fields;
}

QList<FieldDecl> logoFields() { return {blob("LOGO")}; }

QList<FieldDecl> catecFields()
{
    return {text("CATEGORIA", 1, true), text("GRUPO", 1, true),    text("MODALIDADE", 2, true),
            text("ELEMENTO", 2, true),  text("DESDOBRO", 2, true), text("NOME", 60, true),
            text("CATEC", 12),          text("COD_TCE", 20)};
}

QList<FieldDecl> funcaoFields() { return {text("FUNCAO", 2, true), text("NOME", 60)}; }
QList<FieldDecl> subFuncaoFields() { return {text("SUBFUNCAO", 3, true), text("NOME", 60)}; }
QList<FieldDecl> programaFields() { return {text("PROGRAMA", 4, true), text("NOME", 60)}; }
QList<FieldDecl> acaoFields() { return {text("PROJATIV", 4, true), text("ACAO", 4, true), text("NOME", 60)}; }

// ---- files -------------------------------------------------------------------------

FieldType fieldTypeOf(const packet::Field &f, int *size)
{
    *size = 0;
    const QString type = f.type.toLower();
    switch (f.kind()) {
    case packet::FieldKind::Text:
        if (type == u"bin.hex")
            return FieldType::Memo;
        *size = type == u"string.uni" ? f.width / 2 : f.width;
        return f.subtype.compare(QLatin1String("FixedChar"), Qt::CaseInsensitive) == 0 ? FieldType::FixedChar
                                                                                         : FieldType::String;
    case packet::FieldKind::Integer:
        if (type == u"i8" || type == u"ui4" || type == u"ui8")
            return FieldType::LargeInt;
        if (type == u"i1" || type == u"i2" || type == u"ui1")
            return FieldType::SmallInt;
        return FieldType::Integer;
    case packet::FieldKind::Float:
    case packet::FieldKind::Fixed:
        return FieldType::Float;
    case packet::FieldKind::Boolean:
        return FieldType::Boolean;
    case packet::FieldKind::Date:
        return FieldType::Date;
    case packet::FieldKind::Time:
        return FieldType::Time;
    case packet::FieldKind::DateTime:
        return FieldType::DateTime;
    case packet::FieldKind::Blob:
        return FieldType::Blob;
    case packet::FieldKind::Nested:
        break;
    }
    return FieldType::Unknown;
}

} // namespace

const QString TDM::kSqlEmpenho = QStringLiteral("SELECT A.* FROM DESPES A\r\n"
                                                "WHERE A.TPEM <> 'AN'\r\n"
                                                "AND A.FICHA IN (SELECT B.FICHA FROM DESDIS B\r\n"
                                                "                WHERE SUBSTRING(B.BALCO FROM 1 FOR 4) = '3211'\r\n"
                                                "                 AND B.EXTRA = 'S')\r\n"
                                                "\r\n"
                                                "ORDER BY A.NEMPG,A.FICHA ASCENDING");

void openFromDataPacket(RecordSet &set, const QString &path)
{
    const packet::Table table = packet::DataPacket::load(path).root.visible();
    QList<ColumnInfo> columns;
    QList<int> taken; // file field index of each column
    for (int i = 0; i < table.fields.size(); ++i) {
        const packet::Field &f = table.fields.at(i);
        ColumnInfo c;
        c.type = fieldTypeOf(f, &c.size);
        if (c.type == FieldType::Unknown)
            continue; // nested datasets
        c.name = f.fieldName.isEmpty() ? f.name : f.fieldName;
        c.nullable = !f.required;
        columns.append(c);
        taken.append(i);
    }
    QList<Row> rows;
    rows.reserve(table.rows.size());
    for (const packet::Row &r : table.rows) {
        Row row;
        row.reserve(taken.size());
        for (int i : taken)
            row.append(r.values.value(i));
        rows.append(row);
    }
    set.openRows(columns, rows);
}

TDM::TDM(const QString &databasePath, QObject *parent)
    : QObject(parent),
      Conexao(new db::Conexao(this)),
      CdsAux(makeSet("CdsAux", QString())),
      CdsGeral(makeSet("CdsGeral", QString())),
      CdsTipo(makeSet("CdsTipo", kSqlTipo)),
      CdsConpla(makeSet("CdsConpla", kSqlConpla)),
      CdsXml(makeSet("CdsXml", QString())),
      CdsRecdis(makeSet("CdsRecdis", kSqlRecdis)),
      CdsDesdis(makeSet("CdsDesdis", kSqlDesdis)),
      CdsEmpenho(makeSet("CdsEmpenho", kSqlEmpenho)),
      CdsCliente(makeSet("CdsCliente", kSqlCliente)),
      CdsLogo(makeSet("CdsLogo", kSqlLogo)),
      CdsLCatec(makeSet("CdsLCatec", kSqlLCatec)),
      CdsLFuncao(makeSet("CdsLFuncao", kSqlLFuncao)),
      CdsLSubFuncao(makeSet("CdsLSubFuncao", kSqlLSubFuncao)),
      CdsLPrograma(makeSet("CdsLPrograma", kSqlLPrograma)),
      CdsLAcao(makeSet("CdsLAcao", kSqlLAcao))
{
    Conexao->setObjectName(QStringLiteral("COMPRAS"));
    Conexao->setDatabasePath(databasePath);

    for (RecordSet *set : recordSets())
        set->setFieldDecls(declaredFields(set->name()));

    // Revenue records: edited in place; errors of delete, edit and post are
    // explained to the user and then go on to the caller; rows the database
    // refuses keep their edited values in the change log.
    CdsRecdis->setUpdateTable(QStringLiteral("RECDIS"));
    CdsRecdis->setRefuseInserts(true);
    CdsRecdis->onDeleteError = [](const QString &message) { ErrorTranslator::translate(message); };
    CdsRecdis->onEditError = [](const QString &message) { ErrorTranslator::translate(message); };
    CdsRecdis->onPostError = [](const QString &message) { ErrorTranslator::translate(message); };
    CdsRecdis->onReconcileError = [](RecordSet &, const Row &, const QString &) { return ReconcileAction::Correct; };

    CdsDesdis->setUpdateTable(QStringLiteral("DESDIS"));
    CdsDesdis->setRefuseInserts(true);

    // Outstanding commitments; the entity and the account come from the
    // expense record of the same FICHA, as CdsDesdis shows it (its filter
    // included), and are never written.
    CdsEmpenho->setUpdateTable(QStringLiteral("DESPES"));
    CdsEmpenho->setRefuseInserts(true);
    CdsEmpenho->addLookupField(QStringLiteral("EMPRESA"), FieldType::Integer, 0, CdsDesdis, QStringLiteral("FICHA"),
                               QStringLiteral("FICHA"), QStringLiteral("EMPRESA"));
    CdsEmpenho->addLookupField(QStringLiteral("BALCO"), FieldType::String, 18, CdsDesdis, QStringLiteral("FICHA"),
                               QStringLiteral("FICHA"), QStringLiteral("BALCO"));

    // The expense records are open from the start: this connects.
    CdsDesdis->open();

    g_instance = this;
}

TDM::~TDM()
{
    if (g_instance == this)
        g_instance = nullptr;
    for (RecordSet *set : recordSets())
        set->close();
    Conexao->close();
}

TDM *TDM::instance() { return g_instance.data(); }

RecordSet *TDM::makeSet(const char *name, const QString &sql)
{
    // Conexao is initialised before every set (declaration order).
    auto *set = new RecordSet(QString::fromLatin1(name), Conexao, this);
    set->setCommandText(sql);
    return set;
}

QList<RecordSet *> TDM::recordSets() const
{
    return {CdsAux,     CdsGeral,   CdsTipo, CdsConpla,  CdsXml,        CdsRecdis,    CdsDesdis, CdsEmpenho,
            CdsCliente, CdsLogo,    CdsLCatec, CdsLFuncao, CdsLSubFuncao, CdsLPrograma, CdsLAcao};
}

QList<FieldDecl> TDM::declaredFields(const QString &setName)
{
    using Maker = QList<FieldDecl> (*)();
    static const std::pair<const char *, Maker> kSets[] = {
        {"CdsTipo", tipoFields},         {"CdsConpla", conplaFields},       {"CdsRecdis", recdisFields},
        {"CdsDesdis", desdisFields},     {"CdsEmpenho", empenhoFields},     {"CdsCliente", clienteFields},
        {"CdsLogo", logoFields},         {"CdsLCatec", catecFields},        {"CdsLFuncao", funcaoFields},
        {"CdsLSubFuncao", subFuncaoFields}, {"CdsLPrograma", programaFields}, {"CdsLAcao", acaoFields}};
    for (const auto &[name, make] : kSets) {
        if (setName == QLatin1String(name))
            return make();
    }
    return {};
}

int TDM::SQL(const QString &statement) { return Conexao->execute(statement); }

void TDM::loadCdsXml(const QString &path)
{
    CdsXml->close();
    openFromDataPacket(*CdsXml, path);
}

bool TDM::startTransaction()
{
    if (Conexao->inTransaction())
        return false;
    Conexao->startTransaction();
    return true;
}

bool TDM::inTransaction() const { return Conexao->inTransaction(); }

void TDM::commit()
{
    if (Conexao->inTransaction())
        Conexao->commit();
}

void TDM::rollback()
{
    if (Conexao->inTransaction())
        Conexao->rollback();
}

} // namespace orven::db
