// Dithered depth conversion: the ordered 8x8 matrix, Floyd-Steinberg and Burkes error diffusion,
// bilevel and colour, checked by hand on tiny pictures and against the model in colour_model.h.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "../pixmill_fixture.h"
#include "colour_model.h"

namespace {

using namespace colour_model;

using ColourDither = PixmillTest;

enum Dither { kNone = 0, kOrdered = 1, kFloydSteinberg = 2, kBurkes = 3 };

PxlImageId convert(PxlImageId source, int bits, int dither, int mode, const Palette* palette = nullptr) {
    std::vector<PALETTEENTRY> table;
    if (palette) table = entries(*palette);
    return PXLColorConvert(source, static_cast<int16_t>(bits), static_cast<int16_t>(dither),
                           static_cast<int16_t>(mode), 0, palette ? table.data() : nullptr, nullptr);
}

// The bits of a 1-bit result, or the indexes of a palette result, from the top-left.
std::vector<int> convertedIndexes(const Picture& p, int bits, int dither, int mode = 0,
                                  const Palette* palette = nullptr) {
    const PxlImageId result = convert(makeImage(p), bits, dither, mode, palette);
    EXPECT_NE(result, 0);
    if (result == 0) return {};
    EXPECT_EQ(bitsOf(result), bits);
    return indexesOf(result);
}

// A colour whose bilevel grey (30R + 59G + 11B over the divisor) is v.
Colour colourWithGrey(int v, int divisor) {
    for (int g = 0; g < 256; ++g)
        for (int r = 0; r < 256; ++r)
            if (grey({r, g, g}, divisor) == v) return {r, g, g};
    ADD_FAILURE() << "no colour has grey " << v;
    return {};
}

// A 24-bit picture of greys (g, g, g) given row by row from the top.
Picture greys(int width, const std::vector<int>& levels) {
    Picture p{24, width, static_cast<int>(levels.size()) / width, {}, {}, {}, {}};
    for (const int g : levels) p.colour.push_back({g, g, g});
    return p;
}

// ---- ordered, bilevel ------------------------------------------------------------------------------

// Over one 8x8 tile every threshold 0..63 occurs once, so a flat grey v sets v >> 2 pixels, except
// that 0..4 set none and 251..255 set all whatever the threshold.
TEST_F(ColourDither, OrderedBilevelSetsAsManyPixelsOfATileAsTheGreyAllows) {
    const struct {
        int grey;
        int set;
    } cases[] = {{0, 0},    {1, 0},    {4, 0},    {5, 1},    {8, 2},    {127, 31}, {128, 32},
                 {200, 50}, {249, 62}, {250, 62}, {251, 64}, {252, 64}, {254, 64}, {255, 64}};
    for (const int sourceBits : {24, 8}) {
        const int divisor = sourceBits == 24 ? 85 : 90;
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << sourceBits << "-bit source, grey " << c.grey);
            const Colour colour = colourWithGrey(c.grey, divisor);
            Picture p{sourceBits, 8, 8, {}, {}, {}, {}};
            if (sourceBits == 24) {
                p.colour.assign(64, colour);
            } else {
                p.palette = randomPalette(256, 3);
                p.palette[77] = colour;
                p.index.assign(64, 77);
            }
            const std::vector<int> bits = convertedIndexes(p, 1, kOrdered);
            int set = 0;
            for (int b : bits) set += b;
            EXPECT_EQ(set, c.set);
            EXPECT_EQ(bits, orderedBilevel(p));
        }
    }
}

// The threshold of a pixel is M[(x mod 8) * 8 + (y mod 8)] with y counted in storage order: the
// bottom row of the picture is row 0.
TEST_F(ColourDither, OrderedBilevelIndexesTheMatrixByColumnThenStorageRow) {
    std::vector<Colour> greys;
    for (int k = 0; k < 14; ++k) greys.push_back(colourWithGrey(6 + 17 * k, 85));
    Picture p{24, 13, 11, {}, {}, {}, {}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.colour.push_back(greys[size_t((x * 5 + y * 3) % 14)]);
    const std::vector<int> expected = orderedBilevel(p);

    // The picture tells the readings of the matrix apart.
    const auto reading = [&](bool swapped, bool fromTop) {
        std::vector<int> out;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const int row = fromTop ? y : storageRow(p, y);
                out.push_back(
                    orderedBit(bilevelGrey(p, x, y), swapped ? threshold(row, x) : threshold(x, row)));
            }
        }
        return out;
    };
    ASSERT_NE(reading(true, false), expected);
    ASSERT_NE(reading(false, true), expected);
    ASSERT_NE(reading(true, true), expected);

    EXPECT_EQ(convertedIndexes(p, 1, kOrdered), expected);
}

TEST_F(ColourDither, OrderedBilevelFromEverySourceDepth) {
    const Picture pictures[] = {randomIndexed(1, 9, 10, 1), randomIndexed(4, 9, 10, 2),
                                randomIndexed(8, 9, 10, 3), randomTrueColour(9, 10, 4)};
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.bits);
        EXPECT_EQ(convertedIndexes(p, 1, kOrdered), orderedBilevel(p));
        // The bits do not depend on the target palette.
        const Palette reversed = {{255, 255, 255}, {0, 0, 0}};
        EXPECT_EQ(convertedIndexes(p, 1, kOrdered, 0, &reversed), orderedBilevel(p));
    }
}

// ---- ordered, 8 and 4 bits -----------------------------------------------------------------------

TEST_F(ColourDither, OrderedEightBitPushesFarChannelsAwayFromTheirEntry) {
    const Palette caller = randomPalette(256, 44);
    const Picture pictures[] = {randomTrueColour(17, 9, 45), randomIndexed(8, 17, 9, 46),
                                randomIndexed(4, 17, 9, 47)};
    for (const Picture& p : pictures) {
        for (const bool withCaller : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << p.bits << "-bit source" << (withCaller ? ", caller palette" : ""));
            const Palette target = withCaller ? caller : hardPalette();
            EXPECT_EQ(convertedIndexes(p, 8, kOrdered, 0, withCaller ? &caller : nullptr),
                      ordered8(p, target));
        }
    }
}

struct Neighbours {
    int brighter, darker;
};

// For each entry: the nearest other entry (by sum of channel differences, not 0, below 300, the
// first among equals) whose channel sum is greater, and the nearest whose sum is not; itself if none.
std::vector<Neighbours> neighbours(const Palette& palette) {
    std::vector<Neighbours> out;
    for (size_t i = 0; i < palette.size(); ++i) {
        Neighbours n{int(i), int(i)};
        int brighterDistance = 300, darkerDistance = 300;
        const Colour& a = palette[i];
        for (size_t j = 0; j < palette.size(); ++j) {
            const Colour& b = palette[j];
            const int d = std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            if (j == i || d == 0) continue;
            const bool brighter = b.r + b.g + b.b > a.r + a.g + a.b;
            int& best = brighter ? brighterDistance : darkerDistance;
            if (d < best) {
                best = d;
                (brighter ? n.brighter : n.darker) = int(j);
            }
        }
        out.push_back(n);
    }
    return out;
}

// Which of the two neighbours a pixel takes is not fixed; a pixel may only ever show its own entry,
// or when its mean difference passes the threshold, the entry its neighbour's colour falls in.
TEST_F(ColourDither, OrderedFourBitMovesOnlyPixelsPastTheThresholdAndOnlyToANeighbour) {
    const Palette palettes[] = {windows16(), randomPalette(16, 61)};
    for (const Palette& target : palettes) {
        const std::vector<Neighbours> near = neighbours(target);
        for (const Picture& p : {randomTrueColour(16, 16, 62), randomIndexed(8, 16, 16, 63)}) {
            SCOPED_TRACE(p.bits);
            const std::vector<int> got = convertedIndexes(p, 4, kOrdered, 0, &target);
            ASSERT_EQ(got.size(), 256u);
            int moved = 0;
            for (int y = 0; y < p.height; ++y) {
                for (int x = 0; x < p.width; ++x) {
                    const Colour c = p.shows(x, y);
                    const int own = cellIndex(target, c);
                    const Colour& q = target[size_t(own)];
                    const int mean = (std::abs(c.b - q.b) + std::abs(c.g - q.g) + std::abs(c.r - q.r)) / 3;
                    const int i = got[p.at(x, y)];
                    if (threshold(x, storageRow(p, y)) >= (mean >> 2)) {
                        EXPECT_EQ(i, own) << "pixel " << x << "," << y;
                        continue;
                    }
                    const std::set<int> allowed = {
                        own, cellIndex(target, target[size_t(near[size_t(own)].brighter)]),
                        cellIndex(target, target[size_t(near[size_t(own)].darker)])};
                    EXPECT_TRUE(allowed.count(i)) << "pixel " << x << "," << y << " shows " << i;
                    moved += i != own;
                }
            }
            EXPECT_GT(moved, 0) << "no pixel moved to a neighbour";
        }
    }
}

// Pixels that already show a palette colour lying on its own cell's corner carry no difference,
// so no threshold moves them.
TEST_F(ColourDither, OrderedFourBitLeavesPaletteColoursAlone) {
    Picture p{4, 16, 9, windows16(), {}, {}, {}};
    for (size_t i = 0; i < 16; ++i) ASSERT_EQ(cellIndex(p.palette, p.palette[i]), int(i));
    for (int i = 0; i < 16 * 9; ++i) p.index.push_back((i * 7) % 16);
    EXPECT_EQ(convertedIndexes(p, 4, kOrdered), p.index);
}

// ---- error diffusion, bilevel -----------------------------------------------------------------------

// Rows are worked in storage order, bottom row first. The first row is dithered once against a
// copy of itself before it is dithered for real from that copy. Shares use arithmetic shifts and
// are clamped to 0..255 one by one; shares that leave the picture are dropped.
//
// Picture (24-bit greys g, bilevel grey 100g/85):   top    0   0  68   ->   0   0  80
//                                                   bottom 0 204  85   ->   0 240 100
TEST_F(ColourDither, FloydSteinbergByHand) {
    const Picture p = greys(3, {0, 0, 68,  //
                                0, 204, 85});
    // Warm-up on the bottom row 0 240 100 against its copy:
    //   x0: 0 -> 0, e 0.  x1: 240 -> 1, e -15: x2 100-7=93; copy 0-3->0, 240-5=235, 100-1=99.
    //   x2: 93 -> 0, e 93: copy x1 235+17=252, x2 99+29=128.     The row starts as 0 252 128.
    // Bottom row against the top row 0 0 80:
    //   x0: 0 -> 0.  x1: 252 -> 1, e -3: x2 128-2=126; top 0-1->0, 0-1->0, 80-1=79.
    //   x2: 126 -> 0, e 126: top x1 0+23=23, x2 79+39=118.      Bits 0 1 0; top is 0 23 118.
    // Top row: x0 0 -> 0.  x1: 23 -> 0, e 23: x2 118+10=128.  x2: 128 -> 1.    Bits 0 0 1.
    const std::vector<int> expected = {0, 0, 1, 0, 1, 0};
    EXPECT_EQ(diffusedBilevel(p, kFloydSteinberg), expected);
    EXPECT_EQ(convertedIndexes(p, 1, kFloydSteinberg), expected);
}

// Picture:  top 0 0 68 -> 0 0 80;  bottom 85 85 102 -> 100 100 120.
TEST_F(ColourDither, BurkesByHand) {
    const Picture p = greys(3, {0, 0, 68,  //
                                85, 85, 102});
    // Warm-up on 100 100 120:
    //   x0: 100 -> 0, e 100: x1 +25=125, x2 +12=132; copy x0 +25=125, x1 +12=112, x2 +6=126.
    //   x1: 125 -> 0, e 125: x2 +31=163; copy x0 +15=140, x1 +31=143, x2 +15=141.
    //   x2: 163 -> 1, e -92: copy x0 -6=134, x1 -12=131, x2 -23=118.   The row starts as 134 131 118.
    // Bottom row against 0 0 80:
    //   x0: 134 -> 1, e -121: x1 -31=100, x2 -16=102; top x0 0-31->0, x1 0-16->0, x2 80-8=72.
    //   x1: 100 -> 0, e 100: x2 +25=127; top x0 0+12=12 (not -19), x1 +25=25, x2 +12=84.
    //   x2: 127 -> 0, e 127: top x0 +7=19, x1 +15=40, x2 +31=115.   Bits 1 0 0; top is 19 40 115.
    // Top row: x0 19 -> 0, e 19: x1 +4=44, x2 +2=117.  x1 44 -> 0, e 44: x2 +11=128.  x2 128 -> 1.
    const std::vector<int> expected = {0, 0, 1, 1, 0, 0};
    EXPECT_EQ(diffusedBilevel(p, kBurkes), expected);
    EXPECT_EQ(convertedIndexes(p, 1, kBurkes), expected);
}

TEST_F(ColourDither, BilevelDiffusionFollowsTheModelFromEverySourceDepth) {
    const Picture pictures[] = {randomTrueColour(14, 9, 81), randomIndexed(8, 14, 9, 82),
                                randomIndexed(4, 14, 9, 83), randomIndexed(1, 14, 9, 84),
                                randomTrueColour(1, 5, 85),  randomTrueColour(5, 1, 86)};
    for (const Picture& p : pictures) {
        for (const int dither : {kFloydSteinberg, kBurkes}) {
            SCOPED_TRACE(testing::Message()
                         << p.bits << "-bit " << p.width << "x" << p.height << ", dither " << dither);
            EXPECT_EQ(convertedIndexes(p, 1, dither), diffusedBilevel(p, dither));
        }
    }
}

// ---- error diffusion, colour -------------------------------------------------------------------------

// Palettes whose every colour is the lowest corner of its own cell: a pixel's entry and the entry of
// the colour it stands for then agree, and the whole result follows from the diffusion rules.
Palette cornerPalette(size_t count, uint32_t seed) {
    Dice dice(seed);
    Palette p;
    while (p.size() < count) {
        const Colour c{8 * dice.below(32), 8 * dice.below(32), 16 * dice.below(16)};
        if (std::find(p.begin(), p.end(), c) == p.end()) p.push_back(c);
    }
    return p;
}

TEST_F(ColourDither, ColourDiffusionFollowsTheModel) {
    for (const int bits : {4, 8}) {
        const Palette target = cornerPalette(size_t(paletteSize(bits)), 90 + uint32_t(bits));
        for (size_t i = 0; i < target.size(); ++i) ASSERT_EQ(cellIndex(target, target[i]), int(i));
        const Picture pictures[] = {randomTrueColour(15, 8, 91), randomIndexed(8, 15, 8, 92),
                                    randomIndexed(4, 15, 8, 93)};
        for (const Picture& p : pictures) {
            for (const int dither : {kFloydSteinberg, kBurkes}) {
                SCOPED_TRACE(testing::Message()
                             << p.bits << "-bit source to " << bits << " bits, dither " << dither);
                EXPECT_EQ(convertedIndexes(p, bits, dither, 0, &target), diffusedColour(p, target, dither));
            }
        }
    }
}

// A picture made only of palette colours that sit on their own cell corners has nothing to spread.
TEST_F(ColourDither, DiffusionKeepsExactPaletteColours) {
    for (const int bits : {4, 8}) {
        const Palette target = cornerPalette(size_t(paletteSize(bits)), 70 + uint32_t(bits));
        Picture p{24, 11, 7, {}, {}, {}, {}};
        Dice dice(71);
        std::vector<int> expected;
        for (int i = 0; i < 77; ++i) {
            expected.push_back(dice.below(paletteSize(bits)));
            p.colour.push_back(target[size_t(expected.back())]);
        }
        for (const int dither : {kOrdered, kFloydSteinberg, kBurkes}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, dither " << dither);
            EXPECT_EQ(convertedIndexes(p, bits, dither, 0, &target), expected);
        }
    }
}

// Dithering keeps the palette it was asked for and makes a picture, not a blank.
TEST_F(ColourDither, DitheringKeepsTheDefaultAndPopularityPalettes) {
    const Picture p = randomTrueColour(19, 13, 55);
    for (const int bits : {4, 8}) {
        for (const int mode : {0, 1}) {
            for (const int dither : {kOrdered, kFloydSteinberg, kBurkes}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, mode " << mode << ", dither " << dither);
                const PxlImageId result = convert(makeImage(p), bits, dither, mode);
                ASSERT_NE(result, 0);
                const Palette palette = paletteOf(result, size_t(paletteSize(bits)));
                if (mode == 0) {
                    EXPECT_EQ(palette, defaultPalette(bits));
                } else {
                    EXPECT_EQ(palette, popularityPalette(p, bits, true, false));
                }
                const std::vector<int> indexes = indexesOf(result);
                EXPECT_GT(std::set<int>(indexes.begin(), indexes.end()).size(), 4u);
            }
        }
    }
}

}  // namespace
