#include <climits>

#include <gtest/gtest.h>

#include "winplat/base.h"

namespace {

struct MulDivCase {
    int a, b, c, expected;
};

TEST(MulDiv, RoundsHalfAwayFromZeroAndFailsWithMinusOne) {
    const MulDivCase cases[] = {
        {10, 10, 4, 25},            // exact
        {5, 1, 2, 3},               // 2.5 -> 3
        {-5, 1, 2, -3},             // -2.5 -> -3, away from zero
        {5, -1, 2, -3},             // sign from the multiplier
        {5, 1, -2, -3},             // sign from the divisor
        {-5, -1, -2, -3},           // three negatives
        {7, 1, 3, 2},               // 2.33 -> 2
        {8, 1, 3, 3},               // 2.67 -> 3
        {-7, 1, 3, -2},             // -2.33 -> -2
        {-8, 1, 3, -3},             // -2.67 -> -3
        {1, 1, 0, -1},              // division by zero
        {0, 5, 0, -1},              // division by zero even for a zero product
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // 64-bit intermediate product
        {INT_MAX, 2, 1, -1},        // result does not fit
        {INT_MIN, 1, 1, INT_MIN},   // the most negative result still fits
        {INT_MIN, -1, 1, -1},       // its negation does not
        {-12, 96, 72, -16},         // a point size to pixels at 96 DPI
        {0, 123, -7, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
    }
}

}  // namespace
