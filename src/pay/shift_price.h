#pragma once

#include <QString>

namespace pay {

// The price of an operation in a shift: twice the lowest norm price on a day off, then
// 1.2 times in shift 3 or 1.5 times in overtime (shift 4). Not rounded here: the record
// is rounded once, halves to even, when it is shown and written (roundPrice).
double shiftPrice(double lowestNormPrice, bool dayOff, int shift);

// Rounds to 4 decimals with halves going to the even neighbour.
double roundPrice(double value);

// A price as statements carry it: rounded to 4 decimals, a full stop whatever the locale.
QString priceText(double price);

}  // namespace pay
