#include "generation/Section.h"

#include "generation/Amounts.h"

namespace orven::generation {

QString trimmedCode(const QString &v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && v.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && v.at(e - 1).unicode() <= 0x20)
        --e;
    return v.mid(b, e - b);
}

QString SectionContext::accountCode() const { return trimmedCode(conta.value); }

QString SectionContext::entityFilter(const QString &prefix) const
{
    if (params.entity == 0)
        return {};
    return prefix + QString::number(params.entity) + QLatin1Char('\'');
}

QString SectionContext::startDate(const QString &month) const
{
    return QStringLiteral("01.") + month + QLatin1Char('.') + params.exerciseYear;
}

QString SectionContext::setPeriodEnd(const QString &month)
{
    params.periodEndDate =
        monthEndDay(month, params.exerciseYear) + QLatin1Char('.') + month + QLatin1Char('.') + params.exerciseYear;
    return params.periodEndDate;
}

capture::TXMLPeriodicidadeType SectionContext::addPeriod()
{
    auto period = contaElement.add();
    period.setProperties(conta.periodProperties);
    return period;
}

void SectionContext::addSlot(capture::TXMLPeriodicidadeType period, const QString &name, double amount)
{
    auto slot = period.add();
    slot.setProperties(name);
    slot.setValue(amountText(amount));
}

} // namespace orven::generation
