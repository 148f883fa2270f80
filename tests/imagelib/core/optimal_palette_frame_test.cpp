// The optimal palette of a single image: its own palette with the free entry moved to slot 0,
// where the lightest grey the rest of the buffer lacks takes its place.
#include <cstdint>
#include <vector>

#include "../pixmill_fixture.h"
#include "colour_model.h"

namespace {

using namespace colour_model;

using OptimalPaletteOneFrame = PixmillTest;

using Buffer = std::vector<PALETTEENTRY>;

bool operator==(const PALETTEENTRY& a, const PALETTEENTRY& b) {
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue && a.peFlags == b.peFlags;
}

// What the caller's buffer held before: colours that are no greys, except a few light ones placed
// where only an image without a 256-entry palette leaves them.
Buffer callerBuffer() {
    Buffer b(256);
    for (int i = 0; i < 256; ++i) b[size_t(i)] = {BYTE(i), BYTE(255 - i), BYTE(i / 3), 0};
    b[0] = {9, 9, 9, 0};
    b[1] = {10, 20, 30, 0};
    b[20] = {255, 255, 255, 0};
    b[21] = {254, 254, 254, 0};
    b[200] = {253, 253, 253, 0};
    return b;
}

// The buffer as the call must leave it: the image's palette over the caller's entries, entries f
// and 0 swapped, then entry 0 the lightest grey missing from entries 1..255.
Buffer expected(Buffer b, const Palette& palette, int f) {
    for (size_t i = 0; i < palette.size(); ++i)
        b[i] = {BYTE(palette[i].r), BYTE(palette[i].g), BYTE(palette[i].b), 0};
    if (f == 0) return b;
    std::swap(b[0], b[size_t(f)]);
    int v = 255;
    const auto held = [&](int level) {
        for (size_t i = 1; i < 256; ++i)
            if (b[i].peRed == level && b[i].peGreen == level && b[i].peBlue == level) return true;
        return false;
    };
    while (v > 0 && held(v)) --v;
    b[0] = {BYTE(v), BYTE(v), BYTE(v), 0};
    return b;
}

void expectBuffer(const Buffer& got, const Buffer& want) {
    for (size_t i = 0; i < 256; ++i) {
        if (i == 0) {
            // The grey's fourth byte is not ours to fix.
            EXPECT_EQ(got[0].peRed, want[0].peRed);
            EXPECT_EQ(got[0].peGreen, want[0].peGreen);
            EXPECT_EQ(got[0].peBlue, want[0].peBlue);
        } else {
            EXPECT_TRUE(got[i] == want[i])
                << "entry " << i << ": " << int(got[i].peRed) << "," << int(got[i].peGreen) << ","
                << int(got[i].peBlue) << "," << int(got[i].peFlags);
        }
    }
}

void setIndexTransparency(PxlImageId id, const std::vector<PxlTransparencyEntry>& list) {
    ASSERT_EQ(PXLSetImageTransparent(id, list.data(), int32_t(list.size())), 1);
}

PxlTransparencyEntry indexEntry(int index) {
    PxlTransparencyEntry e{};
    e.kind = PXL_TRANSPARENT_INDEX;
    e.blue = index;
    return e;
}

TEST_F(OptimalPaletteOneFrame, EightBitImageWithTheHardPaletteGetsGrey254InSlotZero) {
    // Entry 238 (255,109,170) comes to slot 0 and black goes to 238; of the greys only black and
    // white remain in 1..255, so slot 0 becomes (254,254,254).
    const PxlImageId id = PXLCreateImage(4, 4, 8);
    Buffer b = callerBuffer();
    ASSERT_EQ(PXLCalculateOptimPalette256(id, b.data()), 0);
    EXPECT_EQ(b[0].peRed, 254);
    EXPECT_EQ(b[0].peGreen, 254);
    EXPECT_EQ(b[0].peBlue, 254);
    EXPECT_TRUE(b[238] == (PALETTEENTRY{0, 0, 0, 0}));
    EXPECT_TRUE(b[255] == (PALETTEENTRY{255, 255, 255, 0}));
    expectBuffer(b, expected(callerBuffer(), hardPalette(), 238));
}

TEST_F(OptimalPaletteOneFrame, FreeEntryByDepthWithoutTransparency) {
    const struct {
        const char* name;
        int bits;
        Palette palette;
        int free;
    } cases[] = {
        {"1-bit", 1, blackAndWhite(), 1},
        {"1-bit, own colours", 1, {{255, 255, 255}, {40, 50, 60}}, 1},
        {"4-bit", 4, windows16(), 15},
        {"4-bit, own colours", 4, randomPalette(16, 8), 15},
        {"8-bit, own colours", 8, randomPalette(256, 9), 238},
        // True colour copies nothing: the caller's own entries 0 and 1 are swapped.
        {"24-bit", 24, {}, 1},
        {"32-bit", 32, {}, 1},
        {"5-6-5", PXL_BITS_565, {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PxlImageId id = PXLCreateImage(3, 2, c.bits);
        ASSERT_NE(id, 0);
        if (!c.palette.empty()) {
            const auto table = entries(c.palette);
            ASSERT_EQ(PXLSetNewPalette(id, table.data(), int(table.size())), 1);
        }
        Buffer b = callerBuffer();
        ASSERT_EQ(PXLCalculateOptimPalette256(id, b.data()), 0);
        expectBuffer(b, expected(callerBuffer(), c.palette, c.free));
    }
}

TEST_F(OptimalPaletteOneFrame, GreyIsChosenAfterTheSwap) {
    // The only white sits in entry 238, which moves to slot 0 and is overwritten there: white is
    // then missing from 1..255 and becomes the grey. Black, moved to 238, stays held.
    Palette palette = randomPalette(256, 12);
    for (Colour& c : palette)
        if (c.r == c.g && c.g == c.b) c.b ^= 1;
    palette[238] = {255, 255, 255};
    palette[0] = {254, 254, 254};
    const PxlImageId id = PXLCreateImage(2, 2, 8);
    const auto table = entries(palette);
    ASSERT_EQ(PXLSetNewPalette(id, table.data(), 256), 1);
    Buffer b = callerBuffer();
    ASSERT_EQ(PXLCalculateOptimPalette256(id, b.data()), 0);
    EXPECT_EQ(b[0].peRed, 255);
    EXPECT_TRUE(b[238] == (PALETTEENTRY{254, 254, 254, 0}));
    expectBuffer(b, expected(callerBuffer(), palette, 238));

    // With 255..250 all held elsewhere the grey steps down to 249.
    for (int v = 250; v <= 255; ++v) palette[size_t(v - 240)] = {v, v, v};
    const auto steps = entries(palette);
    ASSERT_EQ(PXLSetNewPalette(id, steps.data(), 256), 1);
    b = callerBuffer();
    ASSERT_EQ(PXLCalculateOptimPalette256(id, b.data()), 0);
    EXPECT_EQ(b[0].peRed, 249);
    expectBuffer(b, expected(callerBuffer(), palette, 238));
}

TEST_F(OptimalPaletteOneFrame, PaletteIndexTransparencyIsTheFreeEntry) {
    PxlTransparencyEntry colourKind{};
    colourKind.kind = PXL_TRANSPARENT_COLOR;
    colourKind.red = 7;
    colourKind.blue = 9;  // a colour, not an index
    const struct {
        const char* name;
        int bits;
        std::vector<PxlTransparencyEntry> transparency;
        int free;
    } cases[] = {
        {"8-bit, index 7", 8, {indexEntry(7)}, 7},
        {"8-bit, index 255", 8, {indexEntry(255)}, 255},
        {"4-bit, index 3", 4, {indexEntry(3)}, 3},
        {"1-bit, index 0", 1, {indexEntry(0)}, 0},
        {"8-bit, index 0", 8, {indexEntry(0)}, 0},
        // Only the first entry counts.
        {"8-bit, colour first", 8, {colourKind, indexEntry(7)}, 238},
        {"4-bit, index 5 then 9", 4, {indexEntry(5), indexEntry(9)}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PxlImageId id = PXLCreateImage(3, 3, c.bits);
        const Palette palette = randomPalette(size_t(paletteSize(c.bits)), 30 + uint32_t(c.bits));
        const auto table = entries(palette);
        ASSERT_EQ(PXLSetNewPalette(id, table.data(), int(table.size())), 1);
        setIndexTransparency(id, c.transparency);
        Buffer b = callerBuffer();
        ASSERT_EQ(PXLCalculateOptimPalette256(id, b.data()), 0);
        expectBuffer(b, expected(callerBuffer(), palette, c.free));
        if (c.free == 0) {
            EXPECT_EQ(b[0].peRed, palette[0].r);
        }
    }
}

TEST_F(OptimalPaletteOneFrame, FailuresGiveMinusOneAndLeaveTheBuffer) {
    const PxlImageId id = PXLCreateImage(2, 2, 8);
    const PxlImageId gone = PXLCreateImage(2, 2, 8);
    ASSERT_EQ(PXLDeleteImage(gone), 1);
    EXPECT_EQ(PXLCalculateOptimPalette256(id, nullptr), -1);
    for (const PxlImageId bad : {PxlImageId(0), PxlImageId(999), gone, PxlImageId(-3)}) {
        SCOPED_TRACE(bad);
        Buffer b = callerBuffer();
        EXPECT_EQ(PXLCalculateOptimPalette256(bad, b.data()), -1);
        expectBuffer(b, callerBuffer());
        EXPECT_TRUE(b[0] == callerBuffer()[0]);
    }
}

TEST_F(OptimalPaletteOneFrame, ImageIsLeftAsItWas) {
    const PxlImageId id = makeImage(randomIndexed(8, 5, 3, 17));
    const Palette before = paletteOf(id, 256);
    const std::vector<int> pixels = indexesOf(id);
    Buffer b = callerBuffer();
    ASSERT_EQ(PXLCalculateOptimPalette256(id, b.data()), 0);
    EXPECT_EQ(paletteOf(id, 256), before);
    EXPECT_EQ(indexesOf(id), pixels);
}

}  // namespace
