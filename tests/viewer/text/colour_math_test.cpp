#include "text/colour_math.h"

#include <gtest/gtest.h>

namespace {

TEST(ScaleByPercent, SixteenBitOperandsTruncatedTowardZero) {
    const struct {
        int16_t value, percent, expected;
    } cases[] = {
        {200, 50, 100},     {7, 50, 3},         // 3.5 truncated
        {-7, 50, -3},                           // toward zero, not down
        {1000, 150, 1500},  {-1000, -150, 1500},
        {32767, 200, -2},   // 65534 kept to 16 bits
        {30000, 300, 24464},  // the 32-bit product is not cut; 90000 is, to 16 bits
        {0, 12345, 0},      {123, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lect32::ScaleByPercent(c.value, c.percent), c.expected) << c.value << " x " << c.percent << "%";
    }
}

TEST(ColourParts, SplitsRedGreenFromBlue) {
    const auto parts = lect32::ColourParts(RGB(0x12, 0x34, 0x56) | 0xAB000000u);
    EXPECT_EQ(parts.redGreen, 0x3412);
    EXPECT_EQ(parts.blue, 0x56) << "the top byte is not part of the colour";
}

}  // namespace
