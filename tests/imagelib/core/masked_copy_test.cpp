// The eight-at-a-time masked copy gives the pixel-at-a-time copy's bytes.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/masked_copy.h"

namespace {

struct Case {
    int sx, w;
};

// Starts on and off mask byte boundaries; widths below, at and past whole groups of eight.
constexpr Case kCases[] = {{0, 0},  {0, 1},  {3, 1},  {0, 7},  {1, 8},   {0, 8},    {7, 9},   {5, 15},
                           {0, 16}, {2, 17}, {8, 24}, {6, 63}, {0, 100}, {13, 101}, {9, 1031}};

// Every buffer is exactly as long as the call may read or write, so a stray access shows.
TEST(MaskedCopy, GivesThePlainCopysBytesForEveryStartWidthAndMask) {
    std::mt19937 random(77);
    for (const Case& c : kCases) {
        for (int density : {0, 1, 4, 7, 8}) {  // eighths of the pixels hidden
            SCOPED_TRACE(testing::Message()
                         << "from " << c.sx << ", " << c.w << " pixels, " << density << "/8 hidden");
            const int end = c.sx + c.w;
            std::vector<uint8_t> in(3 * static_cast<size_t>(end)), mask((static_cast<size_t>(end) + 7) / 8);
            for (uint8_t& b : in) b = static_cast<uint8_t>(random());
            for (int x = 0; x < end; ++x) {
                if (static_cast<int>(random() % 8) < density)
                    mask[static_cast<size_t>(x) / 8] |= 0x80 >> (x % 8);
            }
            std::vector<uint8_t> expected(3 * static_cast<size_t>(c.w));
            for (uint8_t& b : expected) b = static_cast<uint8_t>(random());
            std::vector<uint8_t> actual = expected;
            pixmill::copyUnmasked24Plain(in.data(), mask.data(), c.sx, c.w, expected.data());
            pixmill::copyUnmasked24(in.data(), mask.data(), c.sx, c.w, actual.data());
            EXPECT_EQ(actual, expected);
        }
    }
}

}  // namespace
