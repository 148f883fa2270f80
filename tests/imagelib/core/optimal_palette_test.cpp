// The palette of an animation: its frames stacked on a white canvas, reduced exactly when they
// use few colours, else by popularity; the first unused entry moves to slot 0.
#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/palette/palettes.h"

namespace {

using Colour = std::tuple<int, int, int>;

class OptimalPalette : public PixmillTest {
protected:
    // Links 'next' behind 'first' as the chain's second frame (the chain then owns it).
    static void chain(PxlImageId first, PxlImageId next) {
        pixmill::ImageLock head = pixmill::lockImage(first, pixmill::Access::Write);
        head->nextFrame.reset(next);
    }
};

TEST_F(OptimalPalette, FewColoursGiveTheExactColoursWithTheFirstUnusedEntryInSlotZero) {
    const std::vector<Rgb> first = {{0, 0, 4}, {200, 0, 0}, {0, 200, 0}, {0, 0, 4}};
    const std::vector<Rgb> second = {{40, 80, 120}, {200, 0, 0}, {4, 4, 4}, {4, 4, 4}};
    const PxlImageId head = make24(2, 2, first);
    chain(head, make24(4, 1, second));
    std::vector<PALETTEENTRY> palette(256);
    ASSERT_EQ(PXLCalculateOptimPalette256(head, palette.data()), 0);

    // Canvas 4 x (1 + 2 + 1): the frames' five colours and white around them.
    std::set<Colour> expected = {{0, 0, 4}, {200, 0, 0}, {0, 200, 0}, {40, 80, 120}, {4, 4, 4}, {252, 252, 252}};
    const int used = static_cast<int>(expected.size());
    // Entry 'used' (the first unused one) went to slot 0, and slot 0's colour to 'used'.
    std::set<Colour> got;
    for (int i = 1; i <= used; ++i) got.insert({palette[i].peRed, palette[i].peGreen, palette[i].peBlue});
    EXPECT_EQ(got, expected);
    // Cells come in ascending order, so the colour of entry 'used' is the lowest one.
    EXPECT_EQ(Colour(palette[used].peRed, palette[used].peGreen, palette[used].peBlue), *expected.begin());
    const PALETTEENTRY& unused = pixmill::hardPalette()[used];
    EXPECT_EQ(Colour(palette[0].peRed, palette[0].peGreen, palette[0].peBlue),
              Colour(unused.peRed, unused.peGreen, unused.peBlue));
    PXLDeleteImage(head);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(OptimalPalette, ManyColoursFallBackToThePopularityPaletteWithTheLastEntryFree) {
    std::vector<Rgb> pixels;
    for (int i = 0; i < 300; ++i) pixels.push_back({i % 20 * 12, i / 20 * 16, 7 * (i % 3)});
    const PxlImageId head = make24(20, 15, pixels);
    chain(head, make24(2, 2, {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}}));
    std::vector<PALETTEENTRY> palette(256);
    ASSERT_EQ(PXLCalculateOptimPalette256(head, palette.data()), 0);
    // The white around the frames is the commonest colour (at 5-bit levels); the left-out last
    // entry keeps the new image's default, white, and is moved to slot 0.
    EXPECT_EQ(Colour(palette[255].peRed, palette[255].peGreen, palette[255].peBlue), Colour(248, 248, 248));
    EXPECT_EQ(Colour(palette[0].peRed, palette[0].peGreen, palette[0].peBlue), Colour(255, 255, 255));
    PXLDeleteImage(head);
}

TEST_F(OptimalPalette, BadArgumentsGiveMinusOne) {
    std::vector<PALETTEENTRY> palette(256);
    const PxlImageId id = PXLCreateImage(2, 2, 8);
    EXPECT_EQ(PXLCalculateOptimPalette256(id, nullptr), -1);
    EXPECT_EQ(PXLCalculateOptimPalette256(0, palette.data()), -1);
    EXPECT_EQ(PXLCalculateOptimPalette256(id + 7, palette.data()), -1);
}

}  // namespace
