#pragma once

#include <QString>

namespace orven::generation {

// Last day of a month ("01".."12") of a year, February by the Gregorian
// rule. Throws orven::Error for a year that is not a whole number.
QString monthEndDay(const QString &month, const QString &year);

// An amount as the capture file writes it: rounded to four decimals, then to
// two with halves of a cent away from zero; a point as decimal separator, no
// grouping, a leading minus for negative amounts ("1234.50", "0.00", "-12.30").
QString amountText(double amount);

// Bimester 1..6 to its first and second month ("01"/"02" .. "11"/"12").
QString firstMonth(int bimester);
QString secondMonth(int bimester);

} // namespace orven::generation
