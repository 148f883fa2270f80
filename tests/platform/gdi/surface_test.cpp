// The pixel storage under every bitmap.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "gdi/surface.h"

namespace winplat::gdi {
namespace {

RGBQUAD rgb(uint8_t r, uint8_t g, uint8_t b) {
    return RGBQUAD{b, g, r, 0};
}

bool same(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

std::vector<RGBQUAD> vga() {
    return {rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
            rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
            rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
            rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255)};
}

TEST(Surface, RowsAreVisualWhateverTheStorageOrder) {
    auto bottomUp = Surface::create(3, 4, 24, false);
    auto topDown = Surface::create(3, 4, 24, true);
    ASSERT_TRUE(bottomUp && topDown);
    EXPECT_EQ(bottomUp->stride(), 12u);
    EXPECT_EQ(bottomUp->row(0), bottomUp->bits() + 3 * 12);
    EXPECT_EQ(bottomUp->row(3), bottomUp->bits());
    EXPECT_EQ(topDown->row(0), topDown->bits());
    EXPECT_EQ(topDown->row(3), topDown->bits() + 3 * 12);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(topDown->bits()) % 64, 0u) << "rows start on a cache line";
}

TEST(Surface, StrideIsPaddedToFourBytes) {
    struct Case {
        int width, bpp;
        size_t stride;
    };
    const Case cases[] = {{1, 1, 4},  {32, 1, 4},  {33, 1, 8},  {9, 4, 8},  {5, 8, 8},
                          {3, 16, 8}, {5, 24, 16}, {4, 24, 12}, {3, 32, 12}};
    for (const Case& c : cases) {
        auto surface = Surface::create(c.width, 1, c.bpp, true);
        ASSERT_TRUE(surface);
        EXPECT_EQ(surface->stride(), c.stride) << c.width << " x " << c.bpp;
    }
}

TEST(Surface, PixelsReadAndWriteAtEveryDepth) {
    struct Case {
        const char* name;
        int bpp;
        BitMasks masks;
        std::vector<RGBQUAD> colors;
        RGBQUAD written;
        uint32_t stored;
        RGBQUAD read;
    };
    const Case cases[] = {
        {"1 bit", 1, {}, {rgb(0, 0, 0), rgb(255, 255, 255)}, rgb(200, 200, 200), 1, rgb(255, 255, 255)},
        {"4 bits", 4, {}, vga(), rgb(250, 10, 10), 9, rgb(255, 0, 0)},
        {"8 bits",
         8,
         {},
         {rgb(9, 9, 9), rgb(50, 60, 70), rgb(50, 60, 70)},
         rgb(50, 60, 70),
         1,
         rgb(50, 60, 70)},
        {"16 bits 5-5-5", 16, {}, {}, rgb(255, 128, 0), 0x7E00, rgb(255, 132, 0)},
        {"16 bits 5-6-5", 16, kMasks565, {}, rgb(255, 128, 0), 0xFC00, rgb(255, 130, 0)},
        {"24 bits", 24, {}, {}, rgb(1, 2, 3), 0x010203, rgb(1, 2, 3)},
        {"32 bits", 32, {}, {}, rgb(1, 2, 3), 0x010203, rgb(1, 2, 3)},
        {"32 bits 10-10-10",
         32,
         {0x3FF00000, 0x000FFC00, 0x000003FF},
         {},
         rgb(255, 128, 0),
         0x3FF80800,
         rgb(255, 128, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto surface = Surface::create(7, 2, c.bpp, false, c.masks, c.colors);
        ASSERT_TRUE(surface);
        surface->setPixel(5, 1, c.written);
        EXPECT_EQ(surface->value(5, 1), c.stored);
        EXPECT_TRUE(same(surface->pixel(5, 1), c.read));
        // Neighbours of a packed pixel are untouched.
        EXPECT_EQ(surface->value(4, 1), 0u);
        EXPECT_EQ(surface->value(6, 1), 0u);
        EXPECT_EQ(surface->value(5, 0), 0u);
    }
}

TEST(Surface, SubBytePixelsPackFromTheHighBit) {
    auto mono = Surface::create(16, 1, 1, true, {}, {rgb(0, 0, 0), rgb(255, 255, 255)});
    mono->setValue(9, 0, 1);
    mono->setValue(0, 0, 1);
    EXPECT_EQ(mono->row(0)[0], 0x80);
    EXPECT_EQ(mono->row(0)[1], 0x40);
    mono->setValue(0, 0, 0);
    EXPECT_EQ(mono->row(0)[0], 0x00);

    auto nibbles = Surface::create(4, 1, 4, true, {}, vga());
    nibbles->setValue(2, 0, 0xA);
    nibbles->setValue(3, 0, 0x5);
    EXPECT_EQ(nibbles->row(0)[1], 0xA5);
    nibbles->setValue(2, 0, 0x1);
    EXPECT_EQ(nibbles->row(0)[1], 0x15);
}

TEST(Surface, IndicesOutsideTheTableReadAsBlack) {
    auto surface = Surface::create(2, 1, 8, true, {}, {rgb(10, 20, 30)});
    surface->setValue(1, 0, 200);
    EXPECT_TRUE(same(surface->pixel(1, 0), rgb(0, 0, 0)));
    EXPECT_TRUE(same(surface->pixel(0, 0), rgb(10, 20, 30)));
}

TEST(Surface, RefusesWhatCannotBeStored) {
    struct Case {
        const char* name;
        int width, height, bpp;
        BitMasks masks;
    };
    const Case cases[] = {
        {"7 bits", 4, 4, 7, {}},
        {"zero width", 0, 4, 8, {}},
        {"zero height", 4, 0, 8, {}},
        {"negative height", 4, -4, 8, {}},
        {"side beyond the cap", 65536, 1, 1, {}},
        {"beyond 1 GiB", 65535, 65535, 32, {}},
        {"gap in a mask", 4, 4, 16, {0xF00F, 0x00F0, 0x0F00}},
        {"overlapping masks", 4, 4, 32, {0xFF0000, 0xFFFF00, 0xFF}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Surface::create(c.width, c.height, c.bpp, true, c.masks), nullptr) << c.name;
    }
    auto cut = Surface::create(1, 1, 1, true, {}, vga());
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->colors().size(), 2u) << "a table longer than the depth allows is cut";
}

// The rule spelled out the slow way: least squared distance, first index on ties.
uint32_t exhaustive(const std::vector<RGBQUAD>& table, int r, int g, int b) {
    uint32_t best = 0;
    int bestDistance = 1 << 30;
    for (uint32_t i = 0; i < table.size(); ++i) {
        const int dr = r - table[i].rgbRed, dg = g - table[i].rgbGreen, db = b - table[i].rgbBlue;
        if (dr * dr + dg * dg + db * db < bestDistance) {
            bestDistance = dr * dr + dg * dg + db * db;
            best = i;
        }
    }
    return best;
}

TEST(ColourMatcher, AgreesWithAnExhaustiveSearchThroughTheCache) {
    std::mt19937 random(1234);
    auto channel = [&] { return static_cast<uint8_t>(random()); };
    std::vector<RGBQUAD> scattered;
    for (int i = 0; i < 256; ++i) scattered.push_back(rgb(channel(), channel(), channel()));
    scattered[77] = scattered[12];   // a duplicate: the lower index must win
    std::vector<RGBQUAD> sameGreen;  // every entry on one green level: the early stop never helps
    for (int i = 0; i < 64; ++i)
        sameGreen.push_back(rgb(static_cast<uint8_t>(i * 4), 100, static_cast<uint8_t>(255 - i * 4)));
    std::vector<RGBQUAD> coarse;  // few levels, so equal distances (ties) are common
    for (int i = 0; i < 27; ++i)
        coarse.push_back(rgb(static_cast<uint8_t>(i % 3 * 100), static_cast<uint8_t>(i / 3 % 3 * 100),
                             static_cast<uint8_t>(i / 9 * 100)));
    const std::vector<RGBQUAD> tables[] = {
        scattered, sameGreen, coarse, vga(), {rgb(0, 0, 0), rgb(255, 255, 255)}};

    for (const auto& table : tables) {
        ColourMatcher matcher(table);
        // Colours repeat and collide in the direct-mapped cache many times over.
        for (int i = 0; i < 20000; ++i) {
            const uint32_t c = random() % 4096 * 4099;
            const int r = static_cast<uint8_t>(c >> 16), g = static_cast<uint8_t>(c >> 8),
                      b = static_cast<uint8_t>(c);
            const uint32_t expected = exhaustive(table, r, g, b);
            ASSERT_EQ(matcher.find(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)),
                      expected)
                << std::hex << c;
            ASSERT_EQ(
                matcher.nearest(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)),
                expected);
        }
        for (int r = 0; r < 256; r += 50) {  // exact ties on the coarse grid's midpoints
            ASSERT_EQ(matcher.nearest(static_cast<uint8_t>(r), 50, 150), exhaustive(table, r, 50, 150)) << r;
        }
    }
    EXPECT_EQ(
        ColourMatcher(scattered).find(scattered[12].rgbRed, scattered[12].rgbGreen, scattered[12].rgbBlue),
        12u);
    // Equally far above and below in green, the lower index below: both must be seen.
    const std::vector<RGBQUAD> greenTie{rgb(100, 40, 100), rgb(100, 60, 100)};
    EXPECT_EQ(ColourMatcher(greenTie).nearest(100, 50, 100), 0u);
    EXPECT_EQ(ColourMatcher({}).nearest(1, 2, 3), 0u) << "an empty table answers 0";
}

TEST(RowConverter, SameDepthIndicesAreKeptOrRematched) {
    const std::vector<RGBQUAD> inverted{rgb(255, 255, 255), rgb(0, 0, 0)};
    const std::vector<RGBQUAD> normal{rgb(0, 0, 0), rgb(255, 255, 255)};
    const uint8_t source[1] = {0xC0};  // pixels 0, 1 index 1 (black in the inverted table)
    uint8_t kept[1] = {0};
    uint8_t rematched[1] = {0};
    RowConverter(PixelFormat{1, {}, inverted}, PixelFormat{1, {}, normal}).convert(source, kept, 4);
    RowConverter(PixelFormat{1, {}, inverted}, PixelFormat{1, {}, normal}, SameDepthIndices::Rematch)
        .convert(source, rematched, 4);
    EXPECT_EQ(kept[0], 0xC0);
    EXPECT_EQ(rematched[0], 0x30);
}

TEST(RowConverter, IdenticalDirectFormatsCopyEveryByteButDifferentMasksConvert) {
    const uint8_t source[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    uint8_t copy[8] = {};
    RowConverter(PixelFormat{32, kMasks888, {}}, PixelFormat{32, kMasks888, {}}).convert(source, copy, 2);
    EXPECT_EQ(std::vector<uint8_t>(copy, copy + 8), std::vector<uint8_t>(source, source + 8))
        << "the fourth byte survives an identical format";
    uint8_t swapped[8] = {};
    RowConverter(PixelFormat{32, kMasks888, {}}, PixelFormat{32, {0xFF, 0xFF00, 0xFF0000}, {}})
        .convert(source, swapped, 2);
    EXPECT_EQ(std::vector<uint8_t>(swapped, swapped + 8),
              (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x00, 0x77, 0x66, 0x55, 0x00}));
}

}  // namespace
}  // namespace winplat::gdi
