#pragma once

// Helpers of the section tests.

#include "capture/CaptureDocument.h"
#include "generation/Section.h"

#include <QStringList>

#include <memory>

namespace orven::test {

// The section the walk would choose for a cadastro name (none when no section handles it).
inline std::unique_ptr<generation::Section> sectionFor(const QString &cadastro)
{
    for (const generation::SectionEntry &e : generation::sectionTable())
        if (e.cadastroName == cadastro)
            return e.create();
    return {};
}

// "properties:slot=value,slot=value|..." for every period of a conta element.
inline QString periodsText(const capture::TXMLContaType &conta)
{
    QStringList periods;
    for (int i = 0; i < conta.count(); ++i) {
        const auto period = conta.item(i);
        QStringList values;
        for (int k = 0; k < period.count(); ++k)
            values << period.item(k).properties() + QLatin1Char('=') + period.item(k).value();
        periods << period.properties() + QLatin1Char(':') + values.join(QLatin1Char(','));
    }
    return periods.join(QLatin1Char('|'));
}

} // namespace orven::test
