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
        {0, 12345, 0},      {123, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lect32::ScaleByPercent(c.value, c.percent), c.expected) << c.value << " x " << c.percent << "%";
    }
}

// A quotient outside 16 bits is held at the nearest end instead of wrapping to the other sign.
TEST(ScaleByPercent, QuotientHeldToSixteenBits) {
    const struct {
        int16_t value, percent, expected;
    } cases[] = {
        {32766, 100, 32766},    {32767, 100, 32767},   {16384, 200, 32767},  // 32768: one past the top
        {32767, 200, 32767},    {30000, 300, 32767},   {-32768, -100, 32767},
        {-32767, 100, -32767},  {-16384, 200, -32768}, {-32768, 100, -32768},
        {-16385, 200, -32768},  // -32770: past the bottom
        {32767, -200, -32768},  {20000, 164, 32767},   {20000, 163, 32600},
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
