#include "shift_price.h"

#include <gtest/gtest.h>

namespace {

TEST(ShiftPrice, DoublesOnADayOffThenRaisesShiftsThreeAndFour)
{
    const struct {
        bool dayOff;
        int shift;
        double price;
    } cases[] = {{false, 1, 10}, {false, 2, 10}, {false, 3, 12}, {false, 4, 15},
                 {true, 1, 20},  {true, 2, 20},  {true, 3, 24},  {true, 4, 30}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(pay::shiftPrice(10.00, c.dayOff, c.shift), c.price) << c.dayOff << " " << c.shift;
    EXPECT_DOUBLE_EQ(pay::shiftPrice(1.23456, false, 3), 1.23456 * 1.2);  // rounded only by the editor
}

// Four decimals, a half going to the even neighbour; statements carry a full stop.
TEST(ShiftPrice, RoundsToFourDecimalsHalvesToEven)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{1.23456, "1.2346"}, {1.48148, "1.4815"}, {0.00005, "0"}, {2.00005, "2"}, {12.5, "12.5"}};
    for (const auto& c : cases)
        EXPECT_EQ(pay::priceText(c.value), QString::fromLatin1(c.text)) << c.value;
}

}  // namespace
