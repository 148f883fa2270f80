// Depth conversion without dithering, grey images, popularity palettes, progress and refusals,
// checked against the plain model in colour_model.h.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "../pixmill_fixture.h"
#include "colour_model.h"
#include "core/registry/image_registry.h"

namespace {

using namespace colour_model;

using ColourConvert = PixmillTest;

constexpr int kLeaveLast = 0x80;

PxlImageId convert(PxlImageId source, int bits, int dither, int mode, int greyFlag = 0,
                   const Palette* palette = nullptr, PxlProgressFn progress = nullptr) {
    std::vector<PALETTEENTRY> table;
    if (palette) table = entries(*palette);
    return PXLColorConvert(source, static_cast<int16_t>(bits), static_cast<int16_t>(dither),
                           static_cast<int16_t>(mode), greyFlag, palette ? table.data() : nullptr, progress);
}

// Every row's pixel bytes equal the packed indexes, so the bits after the last pixel must be 0.
void expectIndexes(PxlImageId id, const std::vector<int>& expected) {
    const int width = PXLWidth(id), height = PXLHeight(id), bits = bitsOf(id);
    for (int y = 0; y < height; ++y) {
        const std::vector<int> row(expected.begin() + y * width, expected.begin() + (y + 1) * width);
        EXPECT_EQ(pixelBytes(id, y), packRow(row, bits)) << "row " << y << " from the top";
    }
}

std::vector<Colour> shownColours(const Picture& p) {
    std::vector<Colour> out;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) out.push_back(p.shows(x, y));
    return out;
}

std::vector<uint8_t> allBytes(PxlImageId id) {
    const uint8_t* bits = PXLGetBits(id);
    return {bits, bits + static_cast<ptrdiff_t>(PXLGetScanBytes(id)) * PXLHeight(id)};
}

// ---- plain conversion between every pair of depths ---------------------------------------------

struct SourceCase {
    const char* name;
    Picture picture;
};

std::vector<SourceCase> sources() {
    // 13 pixels a row: 1- and 4-bit rows end inside a byte.
    return {
        {"1-bit", randomIndexed(1, 13, 3, 11)},
        {"4-bit", randomIndexed(4, 13, 3, 12)},
        {"8-bit", randomIndexed(8, 13, 3, 13)},
        {"24-bit", randomTrueColour(13, 3, 14)},
    };
}

// Caller palettes whose order differs from the defaults, so a conversion that ignores them shows.
Palette callerPalette(int bits) {
    if (bits == 1) return {{255, 255, 255}, {0, 0, 0}};
    return randomPalette(static_cast<size_t>(paletteSize(bits)), 100 + static_cast<uint32_t>(bits));
}

TEST_F(ColourConvert, EveryDepthPairWithDefaultAndCallerPalettes) {
    for (const SourceCase& source : sources()) {
        for (const int target : {1, 4, 8, 24}) {
            for (const bool caller : {false, true}) {
                if (target == 24 && caller) continue;
                SCOPED_TRACE(std::string(source.name) + " to " + std::to_string(target) +
                             (caller ? " with a caller palette" : " with the default palette"));
                const PxlImageId id = makeImage(source.picture);
                ASSERT_NE(id, 0);
                const Palette palette = caller ? callerPalette(target) : defaultPalette(target);
                const PxlImageId result = convert(id, target, 0, 0, 0, caller ? &palette : nullptr);
                ASSERT_NE(result, 0);
                ASSERT_EQ(bitsOf(result), target);
                EXPECT_EQ(PXLWidth(result), source.picture.width);
                EXPECT_EQ(PXLHeight(result), source.picture.height);
                if (target == 24) {
                    EXPECT_EQ(coloursOf(result), shownColours(source.picture));
                } else {
                    EXPECT_EQ(paletteOf(result, palette.size()), palette);
                    expectIndexes(result, plainIndexes(source.picture, palette, target));
                }
                EXPECT_EQ(PXLDeleteImage(result), 1);
                EXPECT_EQ(PXLDeleteImage(id), 1);
            }
        }
    }
}

TEST_F(ColourConvert, SourceIsLeftAsItWas) {
    for (const SourceCase& source : sources()) {
        SCOPED_TRACE(source.name);
        const PxlImageId id = makeImage(source.picture);
        const std::vector<uint8_t> before = allBytes(id);
        const Palette paletteBefore = paletteOf(id, static_cast<size_t>(paletteSize(source.picture.bits)));
        for (const int dither : {0, 1, 2, 3}) ASSERT_NE(convert(id, 4, dither, 1), 0);
        ASSERT_NE(convert(id, 8, 0, 0, 1), 0);
        EXPECT_EQ(allBytes(id), before);
        EXPECT_EQ(paletteOf(id, paletteBefore.size()), paletteBefore);
    }
}

TEST_F(ColourConvert, OddWidthFourBitRowsEndWithTheLastPixelInTheHighNibble) {
    for (const int width : {1, 3, 5}) {
        SCOPED_TRACE(width);
        Picture p = randomIndexed(4, width, 2, 40 + static_cast<uint32_t>(width));
        p.palette = windows16();
        // Reversed, every index maps to 15 - index, so a stray nibble cannot pass for a mapped one.
        const Palette reversed(p.palette.rbegin(), p.palette.rend());
        const PxlImageId result = convert(makeImage(p), 4, 0, 0, 0, &reversed);
        ASSERT_NE(result, 0);
        for (int y = 0; y < 2; ++y) {
            const uint8_t last = pixelBytes(result, y).back();
            EXPECT_EQ(last >> 4, 15 - p.index[p.at(width - 1, y)]) << "row " << y;
            EXPECT_EQ(last & 15, 0) << "row " << y;
        }
        expectIndexes(result, plainIndexes(p, reversed, 4));
    }
}

TEST_F(ColourConvert, OneBitToTrueColourWritesThePaletteBlueGreenRed) {
    Picture p{1, 3, 2, {{10, 20, 30}, {200, 150, 100}}, {1, 0, 1, 0, 0, 1}, {}, {}};
    const PxlImageId result = convert(makeImage(p), 24, 0, 0);
    ASSERT_NE(result, 0);
    ASSERT_EQ(bitsOf(result), 24);
    EXPECT_EQ(pixelBytes(result, 0), (std::vector<uint8_t>{100, 150, 200, 30, 20, 10, 100, 150, 200}));
    EXPECT_EQ(pixelBytes(result, 1), (std::vector<uint8_t>{30, 20, 10, 30, 20, 10, 100, 150, 200}));
}

TEST_F(ColourConvert, RequestedDepthsGoToTheirClass) {
    const struct {
        int bits;
        int got;
    } cases[] = {{0, 1}, {1, 1}, {2, 4}, {3, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 24}, {16, 24}, {24, 24}};
    const Picture p = randomIndexed(8, 5, 2, 7);
    const PxlImageId id = makeImage(p);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        const PxlImageId result = convert(id, c.bits, 0, 0);
        ASSERT_NE(result, 0);
        EXPECT_EQ(bitsOf(result), c.got);
        if (c.got == 24) {
            EXPECT_EQ(coloursOf(result), shownColours(p));
        } else {
            expectIndexes(result, plainIndexes(p, defaultPalette(c.got), c.got));
        }
    }
}

TEST_F(ColourConvert, ThirtyTwoBitSourcesAlwaysGivePlainTrueColour) {
    const struct {
        int bits, dither, mode, grey;
    } asks[] = {{24, 0, 0, 0}, {8, 0, 0, 0}, {8, 2, 1, 0}, {1, 1, 0x81, 0},
                {4, 3, 0, 0},  {8, 0, 0, 1}, {16, 0, 1, 0}};
    const Picture p = randomTrueColour(7, 3, 21, 32);
    const PxlImageId id = makeImage(p);
    for (const auto& a : asks) {
        SCOPED_TRACE(testing::Message()
                     << a.bits << " bits, dither " << a.dither << ", mode " << a.mode << ", grey " << a.grey);
        const PxlImageId result = convert(id, a.bits, a.dither, a.mode, a.grey);
        ASSERT_NE(result, 0);
        ASSERT_EQ(bitsOf(result), 24);
        EXPECT_EQ(coloursOf(result), p.colour);
    }
}

TEST_F(ColourConvert, TrueColourTargetsTakeNoDithering) {
    for (const SourceCase& source : sources()) {
        for (const int dither : {1, 2, 3}) {
            SCOPED_TRACE(std::string(source.name) + ", dither " + std::to_string(dither));
            const PxlImageId result = convert(makeImage(source.picture), 24, dither, 0);
            ASSERT_NE(result, 0);
            EXPECT_EQ(coloursOf(result), shownColours(source.picture));
        }
    }
}

// ---- 16-bit 5-6-5 sources ----------------------------------------------------------------------

Picture fiveSixFive() {
    Picture p{16, 6, 3, {}, {}, {}, {}};
    p.word = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8410,  // black, white, the primaries, mid grey
              0x0821, 0x1082, 0x7BEF, 0xA554, 0x4A69, 0xE71C, 0x0001, 0x0020, 0x0800, 0x3186, 0xC618, 0x5ACB};
    return p;
}

TEST_F(ColourConvert, FiveSixFiveSourcesKeepEveryBitInTrueColour) {
    const Picture p = fiveSixFive();
    const PxlImageId result = convert(makeImage(p), 24, 0, 0);
    ASSERT_NE(result, 0);
    ASSERT_EQ(bitsOf(result), 24);
    const std::vector<Colour> got = coloursOf(result);
    for (size_t i = 0; i < p.word.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "word 0x" << std::hex << p.word[i]);
        EXPECT_EQ(got[i].r >> 3, p.word[i] >> 11);
        EXPECT_EQ(got[i].g >> 2, (p.word[i] >> 5) & 63);
        EXPECT_EQ(got[i].b >> 3, p.word[i] & 31);
    }
}

// A 16-bit picture converts as the true-colour picture it shows.
TEST_F(ColourConvert, FiveSixFiveSourcesConvertAsTheColoursTheyShow) {
    const Picture p = fiveSixFive();
    const PxlImageId sixteen = makeImage(p);
    const PxlImageId shown = convert(sixteen, 24, 0, 0);
    ASSERT_NE(shown, 0);
    const struct {
        int bits, dither, mode, grey;
    } asks[] = {{16, 0, 0, 0}, {1, 0, 0, 0}, {4, 0, 0, 0}, {8, 0, 0, 0}, {8, 0, 0, 1},   {8, 0, 1, 0},
                {1, 1, 0, 0},  {1, 2, 0, 0}, {4, 1, 0, 0}, {8, 3, 1, 0}, {4, 2, 0x81, 0}};
    for (const auto& a : asks) {
        SCOPED_TRACE(testing::Message()
                     << a.bits << " bits, dither " << a.dither << ", mode " << a.mode << ", grey " << a.grey);
        const PxlImageId fromSixteen = convert(sixteen, a.bits, a.dither, a.mode, a.grey);
        const PxlImageId fromShown = convert(shown, a.bits, a.dither, a.mode, a.grey);
        ASSERT_NE(fromSixteen, 0);
        ASSERT_NE(fromShown, 0);
        ASSERT_EQ(bitsOf(fromSixteen), bitsOf(fromShown));
        EXPECT_EQ(allBytes(fromSixteen), allBytes(fromShown));
        const size_t entries = static_cast<size_t>(paletteSize(bitsOf(fromShown)));
        EXPECT_EQ(paletteOf(fromSixteen, entries), paletteOf(fromShown, entries));
    }
}

// ---- grey ---------------------------------------------------------------------------------------

TEST_F(ColourConvert, GreyFromTrueColourWeighsThirtyFiftyNineEleven) {
    const std::vector<Colour> colours = {{255, 0, 0},    {0, 255, 0}, {0, 0, 255},     {255, 255, 255},
                                         {0, 0, 0},      {1, 1, 1},   {10, 20, 30},    {99, 99, 99},
                                         {200, 100, 50}, {3, 0, 0},   {254, 255, 255}, {128, 64, 32}};
    const Picture p{24, 4, 3, {}, {}, colours, {}};
    // Grey wins over the requested depth and dithering.
    const struct { int bits, dither; } asks[] = {{8, 0}, {1, 2}, {4, 1}, {24, 3}, {8, 3}};
    for (const auto& ask : asks) {
        SCOPED_TRACE(testing::Message() << ask.bits << " bits, dither " << ask.dither);
        const PxlImageId result = convert(makeImage(p), ask.bits, ask.dither, 0, 1);
        ASSERT_NE(result, 0);
        ASSERT_EQ(bitsOf(result), 8);
        std::vector<int> expected;
        for (const Colour& c : colours) expected.push_back(grey(c, 100));
        EXPECT_EQ(indexesOf(result), expected);
        Palette ramp;
        for (int i = 0; i < 256; ++i) ramp.push_back({i, i, i});
        EXPECT_EQ(paletteOf(result, 256), ramp);
    }
}

TEST_F(ColourConvert, GreyFromPaletteSourcesUsesEachEntrysLevel) {
    for (const int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        const Picture p = randomIndexed(bits, 9, 2, 300 + static_cast<uint32_t>(bits));
        const PxlImageId result = convert(makeImage(p), 8, 0, 0, 1);
        ASSERT_NE(result, 0);
        ASSERT_EQ(bitsOf(result), 8);
        std::vector<int> expected;
        for (int i : p.index) expected.push_back(grey(p.palette[static_cast<size_t>(i)], 100));
        EXPECT_EQ(indexesOf(result), expected);
    }
}

TEST_F(ColourConvert, GreyLeavingTheLastEntryOutNeverWrites255) {
    const std::vector<Colour> colours = {{255, 255, 255}, {254, 255, 255}, {253, 253, 253}, {0, 0, 0}};
    const PxlImageId result = convert(makeImage({24, 4, 1, {}, {}, colours, {}}), 8, 0, kLeaveLast, 1);
    ASSERT_NE(result, 0);
    // (30*254 + 59*255 + 11*255) / 100 = 254.7 -> 254; white would be 255.
    EXPECT_EQ(indexesOf(result), (std::vector<int>{254, 254, 253, 0}));
    const Palette palette = paletteOf(result, 256);
    EXPECT_EQ(palette[254], (Colour{254, 254, 254}));
    EXPECT_EQ(palette[255], hardPalette()[255]);  // left as the new image had it
}

// ---- popularity palettes -------------------------------------------------------------------------

// A true-colour picture whose colours occur 1, 2, 3, ... times, in an order that is neither by
// count nor by key, so ranking has to sort.
Picture byCount(const std::vector<Colour>& colours, int width) {
    Picture p{24, width, 0, {}, {}, {}, {}};
    for (size_t i = 0; i < colours.size(); ++i)
        for (size_t n = 0; n <= i; ++n) p.colour.push_back(colours[i]);
    while (p.colour.size() % static_cast<size_t>(width) != 0) p.colour.push_back(colours.back());
    Dice dice(5);
    for (size_t i = p.colour.size() - 1; i > 0; --i)
        std::swap(p.colour[i], p.colour[static_cast<size_t>(dice.below(int(i) + 1))]);
    p.height = static_cast<int>(p.colour.size()) / width;
    return p;
}

std::vector<Colour> distinctKeys(size_t count, uint32_t seed) {
    Dice dice(seed);
    std::vector<Colour> out;
    std::vector<int> keys;
    while (out.size() < count) {
        const Colour c = dice.colour();
        if (std::find(keys.begin(), keys.end(), colourKey(c)) != keys.end()) continue;
        keys.push_back(colourKey(c));
        out.push_back(c);
    }
    return out;
}

TEST_F(ColourConvert, SingleColourImageFillsWithTheLowestUnusedKeysThenWindowsColours) {
    const struct {
        Colour only;
        Colour first;               // at 5-bit levels
        std::vector<Colour> after;  // entries 1, 2, ...
        Colour last;                // entry 239
    } cases[] = {
        // 16 has bit 4 set and rounds up a level; 255 stays at level 31; 40 is level 5.
        {{16, 255, 40}, {24, 248, 40}, {{0, 0, 0}, {0, 0, 8}, {0, 0, 16}, {0, 0, 24}}, {0, 56, 112}},
        // (0,0,16) is key 3, which the fill then skips.
        {{0, 0, 16}, {0, 0, 24}, {{0, 0, 0}, {0, 0, 8}, {0, 0, 16}, {0, 0, 32}, {0, 0, 40}}, {0, 56, 120}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "colour " << testing::PrintToString(c.only));
        const Picture p{24, 3, 2, {}, {}, std::vector<Colour>(6, c.only), {}};
        const PxlImageId result = convert(makeImage(p), 8, 0, 1);
        ASSERT_NE(result, 0);
        const Palette palette = paletteOf(result, 256);
        EXPECT_EQ(palette[0], c.first);
        EXPECT_EQ(Palette(palette.begin() + 1, palette.begin() + 1 + static_cast<ptrdiff_t>(c.after.size())),
                  c.after);
        EXPECT_EQ(palette[239], c.last);
        const Palette windows = windows16();
        for (size_t i = 0; i < 16; ++i) EXPECT_EQ(palette[240 + i], windows[i]) << "entry " << 240 + i;
        EXPECT_EQ(palette, popularityPalette(p, 8, false, false));
        expectIndexes(result, plainIndexes(p, palette, 8));
    }
}

TEST_F(ColourConvert, PopularityRanksByCountThenKey) {
    // Twelve keys with counts 1..12 and two keys sharing the top count: the lower key ranks first.
    const Colour tieLow{0, 255, 0}, tieHigh{8, 0, 0};  // keys 31 << 5 and 1 << 10
    const std::vector<Colour> colours = distinctKeys(12, 77);
    for (const Colour& c : colours)
        ASSERT_TRUE(colourKey(c) != colourKey(tieLow) && colourKey(c) != colourKey(tieHigh));
    Picture p = byCount(colours, 13);
    for (int i = 0; i < 13; ++i) p.colour.push_back(tieHigh);
    for (int i = 0; i < 13; ++i) p.colour.push_back(tieLow);
    p.height += 2;
    const struct {
        int bits, dither, mode;
    } cases[] = {{8, 0, 1}, {8, 0, 0x81}, {8, 1, 1}, {8, 2, 0x81},
                 {4, 0, 1}, {4, 0, 0x81}, {4, 3, 1}, {4, 1, 0x81}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.bits << " bits, dither " << c.dither << ", mode 0x" << std::hex << c.mode);
        const bool leaveLast = (c.mode & kLeaveLast) != 0;
        const PxlImageId result = convert(makeImage(p), c.bits, c.dither, c.mode);
        ASSERT_NE(result, 0);
        const Palette expected = popularityPalette(p, c.bits, c.dither != 0, leaveLast);
        const Palette palette = paletteOf(result, static_cast<size_t>(paletteSize(c.bits)));
        ASSERT_EQ(palette[0], keyColour(colourKey(tieLow)));
        ASSERT_EQ(palette[1], keyColour(colourKey(tieHigh)));
        EXPECT_EQ(Palette(palette.begin(), palette.begin() + static_cast<ptrdiff_t>(expected.size())),
                  expected);
        if (leaveLast) {
            EXPECT_EQ(palette.back(), defaultPalette(c.bits).back());
        }
        if (c.dither == 0) expectIndexes(result, plainIndexes(p, expected, c.bits));
    }
}

TEST_F(ColourConvert, FourBitPopularityFillsWithFixedColours) {
    // Three colours only: the ranks run on into unused keys before the fixed colours.
    const Picture p = byCount({{200, 40, 40}, {40, 200, 40}, {40, 40, 200}}, 2);
    const Colour black{0, 0, 0}, dark{128, 128, 128}, light{192, 192, 192}, white{255, 255, 255};
    const Colour red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    const struct {
        int dither, mode;
        size_t ranked;
        Palette fixed;
    } cases[] = {
        {0, 1, 12, {black, dark, light, white}},
        {0, 0x81, 11, {white, black, dark, light}},
        {1, 1, 9, {black, dark, light, white, red, green, blue}},
        {2, 0x81, 8, {white, black, dark, light, white, red, green}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "dither " << c.dither << ", mode 0x" << std::hex << c.mode);
        const PxlImageId result = convert(makeImage(p), 4, c.dither, c.mode);
        ASSERT_NE(result, 0);
        const Palette palette = paletteOf(result, 16);
        EXPECT_EQ(palette[0], keyColour(colourKey({40, 40, 200})));
        EXPECT_EQ(palette[3], (Colour{0, 0, 0}));  // key 0, the lowest that never occurs
        EXPECT_EQ(palette[4], (Colour{0, 0, 8}));
        const Palette fixed(palette.begin() + static_cast<ptrdiff_t>(c.ranked),
                            palette.begin() + static_cast<ptrdiff_t>(c.ranked + c.fixed.size()));
        EXPECT_EQ(fixed, c.fixed);
        EXPECT_EQ(
            Palette(palette.begin(), palette.begin() + static_cast<ptrdiff_t>(c.ranked + c.fixed.size())),
            popularityPalette(p, 4, c.dither != 0, c.mode == 0x81));
        if (c.mode == 0x81) {
            EXPECT_EQ(palette[15], white);
        }
    }
}

TEST_F(ColourConvert, EightBitDitheredPopularityEndsWithTheCube) {
    const Picture p = byCount(distinctKeys(5, 91), 4);
    const Palette cube = cubeTable();
    for (const int mode : {1, 0x81}) {
        SCOPED_TRACE(mode);
        const int r = mode == 1 ? 0 : 1;
        const PxlImageId result = convert(makeImage(p), 8, 1, mode);
        ASSERT_NE(result, 0);
        const Palette palette = paletteOf(result, 256);
        EXPECT_EQ(Palette(palette.begin(), palette.begin() + 192 - r),
                  ranks(p, static_cast<size_t>(192 - r)));
        for (int i = 192 - r; i < 256 - r; ++i)
            EXPECT_EQ(palette[size_t(i)], cube[size_t(i)]) << "entry " << i;
        if (r == 1) {
            EXPECT_EQ(palette[191], (Colour{0, 0, 0}));
            EXPECT_EQ(palette[255], hardPalette()[255]);
        }
    }
}

TEST_F(ColourConvert, PaletteSourceRanksItsEntriesAndRepeatsEntryZeroAfterThem) {
    // A 1-bit source whose entry 1 is the more frequent: ranks 1, 0, then entry 0's colour.
    Picture p{1, 5, 2, {{20, 200, 20}, {250, 10, 120}}, {1, 1, 0, 1, 1, 0, 1, 1, 0, 1}, {}, {}};
    const PxlImageId result = convert(makeImage(p), 4, 0, 1);
    ASSERT_NE(result, 0);
    const Palette palette = paletteOf(result, 16);
    EXPECT_EQ(palette[0], p.palette[1]);
    for (size_t i = 1; i < 12; ++i) EXPECT_EQ(palette[i], p.palette[0]) << "entry " << i;
    EXPECT_EQ(palette, popularityPalette(p, 4, false, false));
    expectIndexes(result, std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0});

    // A 4-bit source with every entry its own count, to 8 bits.
    Picture q = randomIndexed(4, 17, 8, 8);
    q.index.clear();
    const int order[16] = {5, 0, 9, 3, 14, 7, 1, 12, 2, 10, 15, 4, 8, 6, 13, 11};  // least to most frequent
    for (int rank = 0; rank < 16; ++rank)
        for (int n = 0; n <= rank; ++n) q.index.push_back(order[rank]);
    q.index.resize(17 * 8, order[15]);
    const PxlImageId eight = convert(makeImage(q), 8, 0, 1);
    ASSERT_NE(eight, 0);
    const Palette expected = popularityPalette(q, 8, false, false);
    EXPECT_EQ(paletteOf(eight, 256)[0], q.palette[11]);
    EXPECT_EQ(paletteOf(eight, 256)[15], q.palette[5]);
    EXPECT_EQ(paletteOf(eight, 256)[16], q.palette[0]);
    EXPECT_EQ(paletteOf(eight, 256), expected);
    expectIndexes(eight, plainIndexes(q, expected, 8));
}

TEST_F(ColourConvert, BilevelPopularityTakesTheFirstBrightRankElseWhite) {
    const Colour dark1{150, 40, 90}, dark2{10, 150, 150}, bright{40, 200, 10}, dim{120, 120, 120};
    // A palette source is looked at rank by rank through all its entries, in its exact colours:
    // entry 3 (dim) is the most frequent, entry 9 the only bright one and second.
    Picture indexed{4, 4, 1, Palette(16, dark2), {3, 3, 3, 9}, {}, {}};
    indexed.palette[3] = dim;
    indexed.palette[9] = {181, 0, 0};
    const struct {
        const char* name;
        Picture picture;
        Colour second;
    } cases[] = {
        // No channel above 180 anywhere: plain black and white.
        {"dark true colour", byCount({dark1, dark2, dim}, 3), {255, 255, 255}},
        // The bright colour ranks second: it becomes entry 1 at 5-bit levels, (40, 200, 8).
        {"bright second rank", byCount({dim, bright, dark1}, 3), {40, 200, 8}},
        // Ranked third, it is not looked at for a true-colour source.
        {"bright third rank", byCount({bright, dim, dark1}, 3), {255, 255, 255}},
        {"palette source", indexed, {181, 0, 0}},
    };
    for (const auto& c : cases) {
        for (const int dither : {0, 2}) {
            SCOPED_TRACE(testing::Message() << c.name << ", dither " << dither);
            const PxlImageId result = convert(makeImage(c.picture), 1, dither, 1);
            ASSERT_NE(result, 0);
            ASSERT_EQ(bitsOf(result), 1);
            EXPECT_EQ(paletteOf(result, 2), (Palette{{0, 0, 0}, c.second}));
            EXPECT_EQ(paletteOf(result, 2), popularityPalette(c.picture, 1, dither != 0, false));
            if (dither == 0) expectIndexes(result, plainIndexes(c.picture, paletteOf(result, 2), 1));
        }
    }
}

// ---- progress ---------------------------------------------------------------------------------------

std::atomic<int> progressCalls{0};
void countProgress() {
    ++progressCalls;
}

TEST_F(ColourConvert, ProgressRunsOncePerRow) {
    const struct {
        int bits, dither, mode, grey;
    } asks[] = {{24, 0, 0, 0}, {8, 0, 0, 0}, {8, 0, 1, 0}, {8, 2, 1, 0}, {4, 1, 0x81, 0},
                {1, 3, 1, 0},  {1, 1, 0, 0}, {8, 0, 0, 1}, {4, 0, 1, 0}, {1, 0, 1, 0}};
    for (const SourceCase& source : sources()) {
        for (const int height : {1, 4, 5}) {
            Picture p = source.picture;
            p.height = height;
            p.index.resize(static_cast<size_t>(p.width * height), 0);
            p.colour.resize(static_cast<size_t>(p.width * height), Colour{1, 2, 3});
            const PxlImageId id = makeImage(p);
            for (const auto& a : asks) {
                SCOPED_TRACE(testing::Message()
                             << source.name << ", " << height << " rows, " << a.bits << " bits, dither "
                             << a.dither << ", mode " << a.mode << ", grey " << a.grey);
                progressCalls = 0;
                ASSERT_NE(convert(id, a.bits, a.dither, a.mode, a.grey, nullptr, countProgress), 0);
                EXPECT_EQ(progressCalls.load(), height);
            }
        }
    }
}

// ---- refusals -----------------------------------------------------------------------------------------

TEST_F(ColourConvert, RefusesBadIdsModesDitherTypesAndDeepTargets) {
    const PxlImageId eight = makeImage(randomIndexed(8, 4, 3, 3));
    const PxlImageId rgb = makeImage(randomTrueColour(4, 3, 4));
    const PxlImageId deleted = PXLCreateImage(2, 2, 24);
    ASSERT_EQ(PXLDeleteImage(deleted), 1);
    const Palette palette = randomPalette(256, 5);
    const struct {
        const char* name;
        PxlImageId id;
        int bits, dither, mode;
    } cases[] = {
        {"id 0", 0, 8, 0, 0},
        {"unknown id", 999, 8, 0, 0},
        {"deleted id", deleted, 24, 0, 0},
        {"palette mode 2", rgb, 8, 0, 2},
        {"palette mode 2 from a palette source", eight, 4, 0, 2},
        {"palette mode 0x82", rgb, 4, 1, 0x82},
        {"palette mode 127", eight, 1, 0, 127},
        {"dither type 4", rgb, 8, 4, 0},
        {"dither type 4 from a palette source", eight, 1, 4, 1},
        {"dither type 200", rgb, 4, 200, 0},
        {"32 bits", rgb, 32, 0, 0},
        {"25 bits", eight, 25, 0, 0},
        {"5-6-5", rgb, PXL_BITS_565, 0, 0},
        {"5-6-5 from a palette source", eight, PXL_BITS_565, 0, 0},
    };
    const std::vector<uint8_t> eightBefore = allBytes(eight), rgbBefore = allBytes(rgb);
    const size_t before = pixmill::liveImageCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(convert(c.id, c.bits, c.dither, c.mode), 0);
        EXPECT_EQ(convert(c.id, c.bits, c.dither, c.mode, 0, &palette), 0);
        EXPECT_EQ(pixmill::liveImageCount(), before);
    }
    EXPECT_EQ(allBytes(eight), eightBefore);
    EXPECT_EQ(allBytes(rgb), rgbBefore);
}

// A target too large to make (over 2 GB of 24-bit rows from a 1-bit picture of 91 MB) gives 0.
TEST_F(ColourConvert, TargetThatCannotBeMadeGivesZeroAndLeavesNothing) {
    const PxlImageId huge = PXLCreateImage(27000, 27000, 1);
    if (huge == 0) GTEST_SKIP() << "this machine cannot hold the 91 MB source picture";
    const size_t before = pixmill::liveImageCount();
    EXPECT_EQ(convert(huge, 24, 0, 0), 0);
    EXPECT_EQ(convert(huge, 16, 0, 0), 0);
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

// ---- properties -----------------------------------------------------------------------------------------

// Palettes whose colours lie further apart than a colour cell, so that each colour's cell finds it.
Palette spreadPalette(size_t count, uint32_t seed) {
    Dice dice(seed);
    Palette p;
    while (p.size() < count) {
        const Colour c{dice.below(9) * 31, dice.below(9) * 31, dice.below(6) * 51};
        if (std::find(p.begin(), p.end(), c) == p.end()) p.push_back(c);
    }
    return p;
}

TEST_F(ColourConvert, PaletteImagesSurviveTrueColourAndBack) {
    for (const int bits : {1, 4, 8}) {
        for (const bool ownColours : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << bits << " bits, " << (ownColours ? "spread palette" : "default palette"));
            Picture p = randomIndexed(bits, 21, 6, 500 + static_cast<uint32_t>(bits));
            p.palette = ownColours ? spreadPalette(p.palette.size(), 600 + static_cast<uint32_t>(bits))
                                   : defaultPalette(bits);
            const PxlImageId source = makeImage(p);
            const PxlImageId rgb = convert(source, 24, 0, 0);
            ASSERT_NE(rgb, 0);
            const PxlImageId back = convert(rgb, bits, 0, 0, 0, &p.palette);
            ASSERT_NE(back, 0);
            ASSERT_EQ(bitsOf(back), bits);
            EXPECT_EQ(indexesOf(back), p.index);
            EXPECT_EQ(allBytes(back), allBytes(source));
        }
    }
}

TEST_F(ColourConvert, LeavingTheLastEntryOutKeepsItsDefaultAndNoPixelUsesIt) {
    // Extremes included: white is where the default last entry sits.
    Picture p = randomTrueColour(19, 9, 808);
    p.colour[0] = {255, 255, 255};
    p.colour[1] = {0, 0, 0};
    p.colour[20] = {250, 250, 250};
    const Palette caller = randomPalette(256, 909);
    for (const int bits : {4, 8}) {
        for (const int mode : {0, 1}) {
            for (const bool withCaller : {false, true}) {
                if (mode == 1 && withCaller) continue;
                for (const int dither : {0, 1, 2, 3}) {
                    SCOPED_TRACE(testing::Message()
                                 << bits << " bits, mode " << mode << (withCaller ? " caller" : "")
                                 << ", dither " << dither);
                    const PxlImageId result = convert(makeImage(p), bits, dither, mode | kLeaveLast, 0,
                                                      withCaller ? &caller : nullptr);
                    ASSERT_NE(result, 0);
                    const int last = paletteSize(bits) - 1;
                    for (const int i : indexesOf(result)) ASSERT_LT(i, last);
                    EXPECT_EQ(paletteOf(result, size_t(last) + 1).back(), defaultPalette(bits).back());
                    if (withCaller) {
                        EXPECT_EQ(paletteOf(result, size_t(last)),
                                  Palette(caller.begin(), caller.begin() + last));
                    }
                }
            }
        }
    }
}

TEST_F(ColourConvert, OneBitTargetsKeepBothEntriesWhenTheLastIsLeftOut) {
    const Picture p = randomTrueColour(11, 2, 31);
    const Palette caller = {{250, 0, 0}, {0, 0, 250}};
    const PxlImageId result = convert(makeImage(p), 1, 0, kLeaveLast, 0, &caller);
    ASSERT_NE(result, 0);
    EXPECT_EQ(paletteOf(result, 2), caller);
    expectIndexes(result, plainIndexes(p, caller, 1));
}

// Two conversions at once must each give what they give alone.
TEST_F(ColourConvert, ConcurrentConversionsDoNotShareState) {
    // Each job has its own source, so no job waits for another's image.
    const Picture a = randomTrueColour(23, 17, 71);
    const Picture b = randomIndexed(8, 23, 17, 72);
    const struct {
        PxlImageId id;
        int bits, dither, mode;
    } jobs[] = {{makeImage(a), 1, 1, 0},
                {makeImage(b), 4, 2, 1},
                {makeImage(a), 4, 1, 0x81},
                {makeImage(b), 8, 3, 0}};
    std::vector<std::vector<uint8_t>> alone;
    for (const auto& j : jobs) {
        const PxlImageId r = convert(j.id, j.bits, j.dither, j.mode);
        ASSERT_NE(r, 0);
        alone.push_back(allBytes(r));
        PXLDeleteImage(r);
    }
    std::atomic<int> mismatches{0}, failures{0};
    std::vector<std::thread> threads;
    for (size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 15; ++round) {
                const auto& j = jobs[t];
                const PxlImageId r = convert(j.id, j.bits, j.dither, j.mode);
                if (r == 0) {
                    ++failures;
                    continue;
                }
                if (allBytes(r) != alone[t]) ++mismatches;
                PXLDeleteImage(r);
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
