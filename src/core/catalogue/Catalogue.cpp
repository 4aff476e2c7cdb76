#include "catalogue/Catalogue.h"

#include "common/Error.h"
#include "packet/DataPacket.h"

namespace orven::catalogue {

using packet::Row;
using packet::Table;

namespace {

template<typename F>
void forEachRow(const Table &table, F &&f)
{
    for (const Row &row : table.rows)
        f(row);
}

} // namespace

Catalogue Catalogue::load(const QString &path)
{
    return fromPacket(packet::DataPacket::load(path), path);
}

Catalogue Catalogue::fromPacket(const packet::DataPacket &packet, const QString &sourceName)
{
    const Table root = packet.root.visible();
    if (root.rows.isEmpty())
        throw Error(QStringLiteral("O catálogo %1 não tem a linha principal.").arg(sourceName));
    if (root.indexOf(QStringLiteral("cadastro")) < 0)
        throw Error(QStringLiteral("O arquivo %1 não é um catálogo de IDs (falta o nível \"cadastro\").").arg(sourceName));

    const Row &top = root.rows.first();
    Catalogue cat;
    cat.name = root.text(top, QStringLiteral("name"));
    cat.properties = root.text(top, QStringLiteral("properties"));
    cat.version = root.text(top, QStringLiteral("version"));
    cat.xsi = root.text(top, QStringLiteral("xsi"));

    const Table &cadastros = root.child(top, QStringLiteral("cadastro"));
    forEachRow(cadastros, [&](const Row &cr) {
        Cadastro cadastro;
        cadastro.name = cadastros.text(cr, QStringLiteral("name"));
        const Table &opcoes = cadastros.child(cr, QStringLiteral("opcao"));
        forEachRow(opcoes, [&](const Row &orow) {
            Opcao opcao;
            opcao.name = opcoes.text(orow, QStringLiteral("name"));
            opcao.id = opcoes.text(orow, QStringLiteral("id"));
            const Table &tipos = opcoes.child(orow, QStringLiteral("tipo"));
            forEachRow(tipos, [&](const Row &trow) {
                Tipo tipo;
                tipo.name = tipos.text(trow, QStringLiteral("name"));
                tipo.value = tipos.text(trow, QStringLiteral("value"));
                tipo.id = tipos.text(trow, QStringLiteral("id"));
                const Table &contas = tipos.child(trow, QStringLiteral("conta"));
                forEachRow(contas, [&](const Row &krow) {
                    Conta conta;
                    conta.name = contas.text(krow, QStringLiteral("name"));
                    conta.value = contas.text(krow, QStringLiteral("value"));
                    conta.id = contas.text(krow, QStringLiteral("id"));
                    const Table &periods = contas.child(krow, QStringLiteral("periodicidade"));
                    if (!periods.rows.isEmpty())
                        conta.periodProperties = periods.text(periods.rows.first(), QStringLiteral("properties"));
                    tipo.contas.append(conta);
                });
                opcao.tipos.append(tipo);
            });
            cadastro.opcoes.append(opcao);
        });
        cat.cadastros.append(cadastro);
    });
    return cat;
}

QString Catalogue::fileNameForYear(const QString &exerciseYear)
{
    return exerciseYear == QLatin1String("2007") ? QStringLiteral("ID_ORVEN.XML") : QStringLiteral("ID_ORVEN2008.XML");
}

int Catalogue::contaCount() const
{
    int n = 0;
    for (const auto &c : cadastros)
        for (const auto &o : c.opcoes)
            for (const auto &t : o.tipos)
                n += t.contas.size();
    return n;
}

} // namespace orven::catalogue
