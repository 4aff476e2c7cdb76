#include "generation/sections/GuaranteeSection.h"

#include "common/Error.h"
#include "guarantees/GuaranteesFile.h"

#include <QFileInfo>

namespace orven::generation {

GuaranteeSection::GuaranteeSection(std::function<QString()> path) : m_path(std::move(path)) {}

void GuaranteeSection::fill(SectionContext &ctx)
{
    using guarantees::GuaranteesFile;
    const QString path = m_path ? m_path() : GuaranteesFile::defaultPath();
    double amount = 0;
    if (QFileInfo::exists(path)) {
        const int bimester = ctx.params.bimester;
        if (bimester < 1 || bimester > guarantees::kBimesters)
            throw Error(QStringLiteral("Bimestre inválido: %1.").arg(bimester));
        const QList<guarantees::Guarantee> rows = GuaranteesFile::load(path);
        if (const guarantees::Guarantee *g = GuaranteesFile::find(rows, ctx.accountCode()))
            amount = g->valor(bimester);
    }
    auto period = ctx.addPeriod();
    SectionContext::addSlot(period, QStringLiteral("valor_realizado"), amount);
}

} // namespace orven::generation
