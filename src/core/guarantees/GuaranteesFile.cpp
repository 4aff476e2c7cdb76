#include "guarantees/GuaranteesFile.h"

#include "common/Error.h"
#include "config/PathResolver.h"
#include "packet/DataPacket.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace orven::guarantees {

namespace {

QString valorField(int bimester) { return QStringLiteral("Valor") + QString::number(bimester); }

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

void sortByCode(QList<Guarantee> &rows)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Guarantee &a, const Guarantee &b) { return a.codigo < b.codigo; });
}

} // namespace

QString GuaranteesFile::defaultPath()
{
    return config::resolvePath(QStringLiteral("D")) + QLatin1String(kFileName);
}

QList<Guarantee> GuaranteesFile::defaultRows()
{
    static const char *const rows[][2] = {
        {"1.11", "Garantia (Externa) - Aval em operações de crédito"},
        {"1.12", "Garantia (Externa) - Fiança em operações de crédito"},
        {"1.13", "Garantia (Externa) - Outras garantias nos termos da LRF"},
        {"1.21", "Garantia (Interna) - Aval em operações de crédito"},
        {"1.22", "Garantia (Interna) - Fiança em operações de crédito"},
        {"1.23", "Garantia (Interna) - Outras garantias nos termos da LRF"},
        {"2.11", "Contragarantias (Externa) - Aval em operações de crédito"},
        {"2.12", "Contragarantias (Externa) - Fiança em operações de crédito"},
        {"2.13", "Contragarantias (Externa) - Outras garantias nos termos da LRF"},
        {"2.21", "Contragarantias (Interna) - Aval em operações de crédito"},
        {"2.22", "Contragarantias (Interna) - Fiança em operações de crédito"},
        {"2.23", "Contragarantias (Interna) - Outras garantias nos termos da LRF"},
    };
    QList<Guarantee> result;
    for (const auto &r : rows)
        result << Guarantee{QString::fromUtf8(r[0]), QString::fromUtf8(r[1]), {}};
    return result;
}

packet::DataPacket GuaranteesFile::toPacket(const QList<Guarantee> &rows)
{
    packet::DataPacket p;
    packet::Table &t = p.root;
    t.fields << packet::Field::text(QStringLiteral("Codigo"), kCodeWidth)
             << packet::Field::text(QStringLiteral("Descricao"), kDescriptionWidth);
    for (int b = 1; b <= kBimesters; ++b)
        t.fields << packet::Field::floating(valorField(b));
    // CdsGarantiaIndex1 on codigo: the default order and the primary key.
    t.params.setAttribute(QStringLiteral("DEFAULT_ORDER"), QStringLiteral("1"));
    t.params.setAttribute(QStringLiteral("PRIMARY_KEY"), QStringLiteral("1"));

    QList<Guarantee> sorted = rows;
    sortByCode(sorted);
    for (const Guarantee &g : sorted) {
        if (g.codigo.size() > kCodeWidth)
            throw Error(QStringLiteral("O código de garantia \"%1\" tem mais de %2 caracteres.")
                            .arg(g.codigo)
                            .arg(kCodeWidth));
        if (g.descricao.size() > kDescriptionWidth)
            throw Error(QStringLiteral("A descrição da garantia \"%1\" tem mais de %2 caracteres.")
                            .arg(g.codigo)
                            .arg(kDescriptionWidth));
        packet::Row &row = t.appendRow();
        t.setValue(row, QStringLiteral("Codigo"), g.codigo);
        t.setValue(row, QStringLiteral("Descricao"), g.descricao);
        for (int b = 1; b <= kBimesters; ++b) {
            const double v = g.valor(b);
            if (!std::isfinite(v))
                throw Error(QStringLiteral("O valor do %1º bimestre da garantia \"%2\" não é um número válido.")
                                .arg(b)
                                .arg(g.codigo));
            t.setValue(row, valorField(b), v);
        }
    }
    return p;
}

QList<Guarantee> GuaranteesFile::fromPacket(const packet::DataPacket &packet, const QString &sourceName)
{
    // The rows as the user last saw them: a file saved with pending changes
    // carries them in its change log.
    const packet::Table t = packet.root.visible();
    const auto fail = [&](const QString &what) {
        return Error(QStringLiteral("O arquivo de garantias \"%1\" está danificado: %2").arg(sourceName, what));
    };
    QStringList required{QStringLiteral("Codigo")};
    for (int b = 1; b <= kBimesters; ++b)
        required << valorField(b);
    for (const QString &name : required)
        if (t.indexOf(name) < 0)
            throw fail(QStringLiteral("falta o campo %1.").arg(name));

    QList<Guarantee> rows;
    for (const packet::Row &row : t.rows) {
        Guarantee g;
        g.codigo = t.value(row, QStringLiteral("Codigo")).toString();
        g.descricao = t.value(row, QStringLiteral("Descricao")).toString();
        for (int b = 1; b <= kBimesters; ++b) {
            const QVariant v = t.value(row, valorField(b));
            if (!v.isValid())
                continue; // an empty amount reads as 0
            bool ok = false;
            const double d = v.toDouble(&ok);
            if (!ok)
                throw fail(QStringLiteral("o valor \"%1\" do campo %2 não é um número.")
                               .arg(v.toString(), valorField(b)));
            g.setValor(b, d);
        }
        rows << g;
    }
    sortByCode(rows);
    return rows;
}

QList<Guarantee> GuaranteesFile::load(const QString &path)
{
    return fromPacket(packet::DataPacket::load(path), shown(path));
}

QList<Guarantee> GuaranteesFile::loadOrCreate(const QString &path, bool *existed)
{
    const bool exists = QFileInfo::exists(path);
    if (existed)
        *existed = exists;
    return exists ? load(path) : defaultRows();
}

void GuaranteesFile::save(const QString &path, const QList<Guarantee> &rows)
{
    // The packet is built (and checked) before anything touches the disk;
    // DataPacket::save writes a temporary file and renames it over the old one.
    toPacket(rows).save(path);
}

const Guarantee *GuaranteesFile::find(const QList<Guarantee> &rows, const QString &code)
{
    for (const Guarantee &g : rows)
        if (g.codigo == code)
            return &g;
    return nullptr;
}

} // namespace orven::guarantees
