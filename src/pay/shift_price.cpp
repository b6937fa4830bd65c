#include "shift_price.h"

#include <cmath>

namespace pay {

double shiftPrice(double lowestNormPrice, bool dayOff, int shift)
{
    double price = dayOff ? lowestNormPrice * 2 : lowestNormPrice;
    if (shift == 3)
        price *= 1.2;
    else if (shift == 4)
        price *= 1.5;
    return price;
}

double roundPrice(double value) { return std::nearbyint(value * 10000.0) / 10000.0; }

QString priceText(double price) { return QString::number(roundPrice(price), 'g', 15); }

}  // namespace pay
