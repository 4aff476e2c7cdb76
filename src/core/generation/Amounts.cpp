#include "generation/Amounts.h"

#include "common/Error.h"

#include <cmath>
#include <cstdlib>

namespace orven::generation {

QString monthEndDay(const QString &month, const QString &year)
{
    const int m = month.toInt();
    switch (m) {
    case 4: case 6: case 9: case 11:
        return QStringLiteral("30");
    case 2: {
        bool ok = false;
        const int y = year.trimmed().toInt(&ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' não é um ano válido").arg(year));
        const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
        return leap ? QStringLiteral("29") : QStringLiteral("28");
    }
    default:
        return QStringLiteral("31");
    }
}

QString amountText(double amount)
{
    // Four-decimal fixed point first, as a currency value holds it.
    const long long tenThousandths = std::llround(amount * 10000.0);
    // Then cents, halves away from zero.
    const long long sign = tenThousandths < 0 ? -1 : 1;
    const long long cents = (tenThousandths + sign * 50) / 100;
    const long long absCents = std::llabs(cents);
    QString text = QString::number(absCents / 100) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(absCents % 100, 2, 10, QLatin1Char('0'));
    if (cents < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString firstMonth(int bimester) { return QStringLiteral("%1").arg(bimester * 2 - 1, 2, 10, QLatin1Char('0')); }

QString secondMonth(int bimester) { return QStringLiteral("%1").arg(bimester * 2, 2, 10, QLatin1Char('0')); }

} // namespace orven::generation
