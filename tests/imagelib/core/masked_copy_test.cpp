// The masked copy and blend, several pixels at a time, give the pixel-at-a-time loops' bytes.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/transparency/masked_copy.h"

namespace {

struct Case {
    int sx, w;
};

// Starts on and off mask byte boundaries; widths below, at and past whole groups of eight.
constexpr Case kCases[] = {{0, 0},  {0, 1},  {3, 1},  {0, 7},  {1, 8},   {0, 8},    {7, 9},   {5, 15},
                           {0, 16}, {2, 17}, {8, 24}, {6, 63}, {0, 100}, {13, 101}, {9, 1031}};

// A row of random pixels with a given share of them hidden by the mask, and random alphas that
// include both ends of their range. Every buffer is exactly as long as a call may read.
struct Row {
    std::vector<uint8_t> in, mask, alpha;

    Row(int end, int density, std::mt19937& random)
        : in(3 * static_cast<size_t>(end)),
          mask((static_cast<size_t>(end) + 7) / 8),
          alpha(static_cast<size_t>(end)) {
        for (uint8_t& b : in) b = static_cast<uint8_t>(random());
        for (int x = 0; x < end; ++x) {
            if (static_cast<int>(random() % 8) < density) mask[static_cast<size_t>(x) / 8] |= 0x80 >> (x % 8);
            const unsigned pick = random() % 4;
            alpha[static_cast<size_t>(x)] = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(random());
        }
    }
};

// Calls each form on its own copy of a random destination of w pixels (exactly that long, so a
// stray write shows) and compares them.
template <class Call>
void expectSameBytes(const Call& call, std::mt19937& random) {
    for (const Case& c : kCases) {
        for (int density : {0, 1, 4, 7, 8}) {  // eighths of the pixels hidden
            SCOPED_TRACE(testing::Message()
                         << "from " << c.sx << ", " << c.w << " pixels, " << density << "/8 hidden");
            const Row row(c.sx + c.w, density, random);
            std::vector<uint8_t> expected(3 * static_cast<size_t>(c.w));
            for (uint8_t& b : expected) b = static_cast<uint8_t>(random());
            std::vector<uint8_t> actual = expected;
            call(row, c, expected.data(), actual.data());
            EXPECT_EQ(actual, expected);
        }
    }
}

TEST(MaskedCopy, GivesThePlainCopysBytesForEveryStartWidthAndMask) {
    std::mt19937 random(77);
    expectSameBytes(
        [](const Row& row, const Case& c, uint8_t* expected, uint8_t* actual) {
            pixmill::copyUnmasked24Plain(row.in.data(), row.mask.data(), c.sx, c.w, expected);
            pixmill::copyUnmasked24(row.in.data(), row.mask.data(), c.sx, c.w, actual);
        },
        random);
}

TEST(MaskedBlend, GivesThePlainBlendsBytesForEveryStartWidthMaskAndAlpha) {
    std::mt19937 random(78);
    expectSameBytes(
        [](const Row& row, const Case& c, uint8_t* expected, uint8_t* actual) {
            pixmill::blendUnmasked24Plain(row.in.data(), row.mask.data(), row.alpha.data(), c.sx, c.w,
                                          expected);
            pixmill::blendUnmasked24(row.in.data(), row.mask.data(), row.alpha.data(), c.sx, c.w, actual);
        },
        random);
}

// The blend's steps at the ends of their range: pictures of 0 and 255 over destinations of 255 and
// 0, fully and barely opaque, hidden and not, where a lane that overflowed or rounded the wrong way
// would show.
TEST(MaskedBlend, MeetsThePlainBlendAtTheEndsOfTheRange) {
    constexpr int kWidth = 48;
    std::vector<uint8_t> in(3 * kWidth), mask(kWidth / 8, 0x24), alpha(kWidth);
    std::vector<uint8_t> expected(3 * kWidth);
    for (int x = 0; x < kWidth; ++x) {
        const bool dark = (x / 2) % 2 == 0;
        for (int k = 0; k < 3; ++k) {
            in[3 * static_cast<size_t>(x) + static_cast<size_t>(k)] = dark ? 0 : 255;
            expected[3 * static_cast<size_t>(x) + static_cast<size_t>(k)] = dark ? 255 : 0;
        }
        alpha[static_cast<size_t>(x)] = x % 2 ? 254 : 0;
    }
    std::vector<uint8_t> actual = expected;
    pixmill::blendUnmasked24Plain(in.data(), mask.data(), alpha.data(), 0, kWidth, expected.data());
    pixmill::blendUnmasked24(in.data(), mask.data(), alpha.data(), 0, kWidth, actual.data());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(expected[3], 254);   // weight 1 takes 255 to 0 by -255 / 256, floored to -1
    EXPECT_EQ(expected[18], 254);  // weight 255 takes 0 to 255 by 255 * 255 / 256, floored to 254
}

}  // namespace
