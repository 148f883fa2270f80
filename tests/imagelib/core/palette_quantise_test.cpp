#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

namespace {

using pixmill::Access;
using pixmill::lockImage;
using pixmill::rowFromTop;

using PaletteQuantise = PixmillTest;


// A palette image of the depth whose indices are given row by row from the top.
PxlImageId makeIndexed(int width, int height, int bits, const std::vector<int>& indices) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    pixmill::ImageLock image = lockImage(id, Access::Write);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            const int v = indices[static_cast<size_t>(y * width + x)];
            if (bits == 8) row[x] = static_cast<uint8_t>(v);
            else if (bits == 4) row[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
            else if (v) pixmill::setMaskBit(row, x);
        }
    }
    return id;
}

void setEntry(PxlImageId id, int index, Rgb c, int reserved = 0) {
    pixmill::ImageLock image = lockImage(id, Access::Write);
    image->colors()[index] = RGBQUAD{static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r),
                                     static_cast<uint8_t>(reserved)};
}

RGBQUAD entryOf(PxlImageId id, int index) { return PXLGetBitmapInfoHeader(id)->bmiColors[index]; }

void expectEntry(PxlImageId id, int index, Rgb c) {
    const RGBQUAD q = entryOf(id, index);
    EXPECT_EQ(q.rgbRed, c.r) << "entry " << index;
    EXPECT_EQ(q.rgbGreen, c.g) << "entry " << index;
    EXPECT_EQ(q.rgbBlue, c.b) << "entry " << index;
}

uint8_t index8(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    return rowFromTop(*image, y)[x];
}

void setIndexTransparent(PxlImageId id, int index) {
    PxlTransparencyEntry entry{};
    entry.kind = PXL_TRANSPARENT_INDEX;
    entry.blue = index;
    ASSERT_EQ(PXLSetImageTransparent(id, &entry, 1), 1);
}

// ---- copying a palette ----------------------------------------------------------------------

TEST_F(PaletteQuantise, CopiesTheSmallerPaletteWithAllFourBytes) {
    const PxlImageId source = PXLCreateImage(2, 2, 8);
    const PxlImageId target = PXLCreateImage(2, 2, 1);
    setEntry(source, 0, {10, 20, 30}, 7);
    setEntry(source, 1, {40, 50, 60}, 9);
    setEntry(source, 2, {70, 80, 90});
    ASSERT_EQ(PXLSetNewColorPaletteFrom(target, source), 1);
    expectEntry(target, 0, {10, 20, 30});
    expectEntry(target, 1, {40, 50, 60});
    EXPECT_EQ(entryOf(target, 0).rgbReserved, 7);
    EXPECT_EQ(entryOf(target, 1).rgbReserved, 9);

    // The other way only two entries come over; entry 2 of the larger palette stays.
    setEntry(target, 0, {1, 2, 3});
    ASSERT_EQ(PXLSetNewColorPaletteFrom(source, target), 1);
    expectEntry(source, 0, {1, 2, 3});
    expectEntry(source, 2, {70, 80, 90});
}

TEST_F(PaletteQuantise, PaletteCopyRefusesTrueColourAndUnknownIds) {
    const PxlImageId palette = PXLCreateImage(2, 2, 8);
    const PxlImageId rgb = PXLCreateImage(2, 2, 24);
    setEntry(palette, 0, {5, 6, 7});
    EXPECT_EQ(PXLSetNewColorPaletteFrom(palette, rgb), 0);
    EXPECT_EQ(PXLSetNewColorPaletteFrom(rgb, palette), 0);
    EXPECT_EQ(PXLSetNewColorPaletteFrom(palette, 0), 0);
    EXPECT_EQ(PXLSetNewColorPaletteFrom(0, palette), 0);
    EXPECT_EQ(PXLSetNewColorPaletteFrom(palette, 999), 0);
    expectEntry(palette, 0, {5, 6, 7});
}

// ---- exact 24 -> 8 --------------------------------------------------------------------------

TEST_F(PaletteQuantise, ExactReductionNumbersCellsAndForcesExactColours) {
    // (4,8,12) and (5,9,13) share the cell (1,2,3); white lies in cell (63,63,63).
    const PxlImageId source = make24(2, 2, {{0, 0, 0}, {255, 255, 255}, {4, 8, 12}, {5, 9, 13}});
    int32_t count = -5;
    const PxlImageId result = PXLColorConvert24to8(source, RGB(255, 255, 255), RGB(10, 10, 10), RGB(0, 0, 0), &count);
    ASSERT_NE(result, 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(PXLGetBitmapInfoHeader(result)->bmiHeader.biBitCount, 8);
    EXPECT_EQ(index8(result, 0, 0), 0);
    EXPECT_EQ(index8(result, 1, 0), 2);
    EXPECT_EQ(index8(result, 0, 1), 1);
    EXPECT_EQ(index8(result, 1, 1), 1);
    expectEntry(result, 0, {0, 0, 0});
    expectEntry(result, 1, {4, 8, 12});
    expectEntry(result, 2, {255, 255, 255});  // forced from (252,252,252)
    expectEntry(result, 255, {10, 10, 10});   // an absent cell maps to 255
    EXPECT_EQ(entryOf(result, 2).rgbReserved, 0);
    EXPECT_EQ(entryOf(result, 3).rgbReserved, 255);
    EXPECT_EQ(entryOf(result, 254).rgbReserved, 255);
}

TEST_F(PaletteQuantise, ExactReductionOfThreeHundredColoursCountsThemAll) {
    // Colour i lies in cell i (green i/64, blue i%64 at 6 bits); pixels run in reverse so that
    // numbering must follow cell order, not pixel order.
    std::vector<Rgb> pixels;
    for (int x = 0; x < 300; ++x) {
        const int i = 299 - x;
        pixels.push_back({0, (i / 64) * 4, (i % 64) * 4});
    }
    const PxlImageId source = make24(300, 1, pixels);
    int32_t count = 0;
    const PxlImageId result = PXLColorConvert24to8(source, 0, 0, 0, &count);
    ASSERT_NE(result, 0);
    EXPECT_EQ(count, 300);
    for (int x = 0; x < 300; ++x) {
        const int i = 299 - x;
        EXPECT_EQ(index8(result, x, 0), i < 254 ? i : 1) << "colour " << i;
    }
    expectEntry(result, 253, {0, 12, 244});
    EXPECT_EQ(entryOf(result, 253).rgbReserved, 0);
    EXPECT_EQ(entryOf(result, 254).rgbReserved, 255);
}

TEST_F(PaletteQuantise, ExactReductionRefusesOtherDepths) {
    const PxlImageId source = PXLCreateImage(2, 2, 8);
    int32_t count = 9;
    EXPECT_EQ(PXLColorConvert24to8(source, 0, 0, 0, &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(PXLColorConvert24to8(0, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(PXLColorConvert24to8(77, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
}

// ---- moving an image onto a new palette ---------------------------------------------------

// Old entries 0..4 and a new palette whose entries from 5 on are white.
struct Remap {
    PxlImageId image;
    std::array<PALETTEENTRY, 256> palette;
};

Remap makeRemapCase() {
    Remap c{makeIndexed(5, 1, 8, {0, 1, 2, 3, 4}), {}};
    const Rgb old[] = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {9, 9, 9}, {200, 200, 200}};
    for (int i = 0; i < 5; ++i) setEntry(c.image, i, old[i]);
    for (auto& e : c.palette) e = PALETTEENTRY{255, 255, 255, 3};
    c.palette[0] = {10, 20, 30, 0};
    c.palette[1] = {0, 0, 255, 0};
    c.palette[2] = {255, 0, 0, 0};
    c.palette[3] = {0, 0, 0, 0};
    c.palette[4] = {8, 8, 8, 0};
    return c;
}

std::vector<int> row8(PxlImageId id, int width) {
    std::vector<int> v;
    for (int x = 0; x < width; ++x) v.push_back(index8(id, x, 0));
    return v;
}

TEST_F(PaletteQuantise, RemapMovesEachOldEntryToItsBitDroppedMatch) {
    Remap c = makeRemapCase();
    ASSERT_EQ(PXLConvertImageOnNewPalette(c.image, c.palette.data(), 0), 1);
    // (9,9,9) meets (8,8,8) after one bit of each channel; (200,200,200) first meets white
    // after six bits of each, at its lowest index 5. The kept index 0 takes nobody.
    EXPECT_EQ(row8(c.image, 5), (std::vector<int>{3, 2, 1, 4, 5}));
    expectEntry(c.image, 0, {10, 20, 30});
    expectEntry(c.image, 200, {255, 255, 255});
    EXPECT_EQ(entryOf(c.image, 200).rgbReserved, 0);
    int32_t count = 0;
    const PxlTransparencyEntry* t = PXLGetImageTransparentData(c.image, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(t[0].kind, PXL_TRANSPARENT_INDEX);
    EXPECT_EQ(t[0].blue, 0);
}

TEST_F(PaletteQuantise, RemapSendsTheOldTransparentEntryToTheKeptIndex) {
    Remap c = makeRemapCase();
    setIndexTransparent(c.image, 1);
    ASSERT_EQ(PXLConvertImageOnNewPalette(c.image, c.palette.data(), 0), 1);
    EXPECT_EQ(row8(c.image, 5), (std::vector<int>{3, 0, 1, 4, 5}));
}

TEST_F(PaletteQuantise, RemapWithoutKeptIndexMatchesEveryEntryAndClearsTransparency) {
    Remap c = makeRemapCase();
    setIndexTransparent(c.image, 1);
    ASSERT_EQ(PXLConvertImageOnNewPalette(c.image, c.palette.data(), -1), 1);
    // Entry 0 (10,20,30) takes part now but matches none of the old colours first.
    EXPECT_EQ(row8(c.image, 5), (std::vector<int>{3, 2, 1, 4, 5}));
    int32_t count = 5;
    PXLGetImageTransparentData(c.image, &count);
    EXPECT_EQ(count, 0);
}

TEST_F(PaletteQuantise, RemapRefusesOtherDepthsAndBadArguments) {
    Remap c = makeRemapCase();
    const PxlImageId four = makeIndexed(2, 1, 4, {1, 2});
    EXPECT_EQ(PXLConvertImageOnNewPalette(four, c.palette.data(), 0), 0);
    EXPECT_EQ(PXLConvertImageOnNewPalette(c.image, nullptr, 0), 0);
    EXPECT_EQ(PXLConvertImageOnNewPalette(0, c.palette.data(), 0), 0);
    EXPECT_EQ(PXLConvertImageOnNewPalette(55, c.palette.data(), 0), 0);
    EXPECT_EQ(row8(c.image, 5), (std::vector<int>{0, 1, 2, 3, 4}));
    expectEntry(c.image, 1, {255, 0, 0});
}

// ---- translation table -----------------------------------------------------------------------

// A BITMAPINFO with exactly 'colors' table entries, so any read past them is caught.
std::vector<uint8_t> makeInfo(int bits, uint32_t clrUsed, const std::vector<Rgb>& colors) {
    std::vector<uint8_t> buffer(sizeof(BITMAPINFOHEADER) + colors.size() * sizeof(RGBQUAD));
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = 1;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(bits);
    header.biClrUsed = clrUsed;
    std::memcpy(buffer.data(), &header, sizeof(header));
    for (size_t i = 0; i < colors.size(); ++i) {
        const RGBQUAD q{static_cast<uint8_t>(colors[i].b), static_cast<uint8_t>(colors[i].g), static_cast<uint8_t>(colors[i].r), 0};
        std::memcpy(buffer.data() + sizeof(BITMAPINFOHEADER) + i * sizeof(RGBQUAD), &q, sizeof(q));
    }
    return buffer;
}

const BITMAPINFO* asInfo(const std::vector<uint8_t>& buffer) { return reinterpret_cast<const BITMAPINFO*>(buffer.data()); }

TEST_F(PaletteQuantise, TranslationTableMatchesIntoTheFirstPalette) {
    // A holds white twice; positions beyond its two entries count as black.
    const auto a = makeInfo(1, 0, {{255, 255, 255}, {255, 255, 255}});
    // A 4-bit header with only three table entries, bounded by its colour count.
    const auto b = makeInfo(4, 3, {{255, 254, 255}, {0, 0, 0}, {255, 255, 255}});
    std::array<int32_t, 256> table;
    table.fill(77);
    ASSERT_EQ(PXLConvertPaletteTable(asInfo(a), asInfo(b), table.data()), 1);
    EXPECT_EQ(table[0], 0);  // after one green bit, the lower white
    EXPECT_EQ(table[1], 2);  // black first met beyond A's entries
    EXPECT_EQ(table[2], 0);
    for (int i = 3; i < 256; ++i) EXPECT_EQ(table[i], 0) << i;
}

TEST_F(PaletteQuantise, TranslationTableDropsRedBeforeGreen) {
    // (1,1,0) is one green bit from A's entry 0 and one red bit from entry 1: red goes first.
    // (0,0,1) needs a bit of blue, which goes only after red and green lost theirs, and then
    // every entry matches, so the lowest position wins.
    const auto a = makeInfo(1, 0, {{1, 0, 0}, {0, 1, 0}});
    const auto b = makeInfo(1, 0, {{1, 1, 0}, {0, 0, 1}});
    std::array<int32_t, 256> table{};
    ASSERT_EQ(PXLConvertPaletteTable(asInfo(a), asInfo(b), table.data()), 1);
    EXPECT_EQ(table[0], 1);
    EXPECT_EQ(table[1], 0);
}

TEST_F(PaletteQuantise, TranslationTableRefusesTrueColourAndNulls) {
    const auto a = makeInfo(1, 0, {{0, 0, 0}, {255, 255, 255}});
    const auto rgb = makeInfo(24, 0, {});
    std::array<int32_t, 256> table{};
    EXPECT_EQ(PXLConvertPaletteTable(asInfo(a), asInfo(rgb), table.data()), 0);
    EXPECT_EQ(PXLConvertPaletteTable(asInfo(rgb), asInfo(a), table.data()), 0);
    EXPECT_EQ(PXLConvertPaletteTable(nullptr, asInfo(a), table.data()), 0);
    EXPECT_EQ(PXLConvertPaletteTable(asInfo(a), nullptr, table.data()), 0);
    EXPECT_EQ(PXLConvertPaletteTable(asInfo(a), asInfo(a), nullptr), 0);
}

// ---- palette reduction -----------------------------------------------------------------------

std::array<PALETTEENTRY, 256> greys() {
    std::array<PALETTEENTRY, 256> p{};
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        p[static_cast<size_t>(i)] = PALETTEENTRY{v, v, v, v};
    }
    return p;
}

TEST_F(PaletteQuantise, ReductionDropsTheLaterOfAnEqualPair) {
    auto p = greys();
    p[200] = PALETTEENTRY{10, 10, 10, 99};
    ASSERT_EQ(PXLReducePalette256(p.data(), 256), 1);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(p[static_cast<size_t>(i)].peRed, i);
    for (int i = 200; i < 255; ++i) {
        EXPECT_EQ(p[static_cast<size_t>(i)].peGreen, i + 1);
        EXPECT_EQ(p[static_cast<size_t>(i)].peFlags, i + 1);
    }
    EXPECT_EQ(p[255].peRed, 0);
    EXPECT_EQ(p[255].peFlags, 0);
}

TEST_F(PaletteQuantise, ReductionOfDistinctGreysMergesAfterOneBitOfEachChannel) {
    // Grey 2k and 2k+1 first agree when every channel lost its lowest bit; entry 1 goes first.
    auto p = greys();
    ASSERT_EQ(PXLReducePalette256(p.data(), 1000), 1);  // clamped to 256
    EXPECT_EQ(p[0].peRed, 0);
    for (int i = 1; i < 255; ++i) EXPECT_EQ(p[static_cast<size_t>(i)].peRed, i + 1);
    EXPECT_EQ(p[255].peRed, 0);
}

TEST_F(PaletteQuantise, ReductionWithTinyCountEndsWithEntryZeroEverywhere) {
    auto p = greys();
    p[0] = PALETTEENTRY{1, 2, 3, 4};
    ASSERT_EQ(PXLReducePalette256(p.data(), 0), 1);  // clamped to 2: one entry stays
    for (const PALETTEENTRY& e : p) {
        EXPECT_EQ(e.peRed, 1);
        EXPECT_EQ(e.peBlue, 3);
        EXPECT_EQ(e.peFlags, 4);
    }
    EXPECT_EQ(PXLReducePalette256(nullptr, 256), 0);
}

// ---- histogram ---------------------------------------------------------------------------------

uint32_t countAt(const std::array<uint8_t, 1792>& rows, int i) {
    const uint8_t* r = &rows[static_cast<size_t>(i * 7)];
    return r[0] | (r[1] << 8) | (r[2] << 16) | (static_cast<uint32_t>(r[3]) << 24);
}

TEST_F(PaletteQuantise, HistogramOfFourBitImageLeavesOutTheTransparentIndex) {
    const PxlImageId id = makeIndexed(3, 2, 4, {3, 1, 3, 0, 3, 15});
    setEntry(id, 15, {11, 22, 33});
    setIndexTransparent(id, 3);
    std::array<uint8_t, 1792> rows;
    rows.fill(0xAA);
    ASSERT_EQ(PXLGenerateHistogramIndexImage(id, rows.data(), 1), 16);
    EXPECT_EQ(countAt(rows, 0), 1u);
    EXPECT_EQ(countAt(rows, 1), 1u);
    EXPECT_EQ(countAt(rows, 3), 0u);
    EXPECT_EQ(countAt(rows, 15), 1u);
    EXPECT_EQ(rows[15 * 7 + 4], 11);
    EXPECT_EQ(rows[15 * 7 + 5], 22);
    EXPECT_EQ(rows[15 * 7 + 6], 33);
    for (size_t i = 16 * 7; i < rows.size(); ++i) EXPECT_EQ(rows[i], 0) << i;

    ASSERT_EQ(PXLGenerateHistogramIndexImage(id, rows.data(), 0), 16);
    EXPECT_EQ(countAt(rows, 3), 3u);
}

TEST_F(PaletteQuantise, HistogramIgnoresColourKindTransparency) {
    const PxlImageId id = makeIndexed(2, 1, 8, {0, 0});
    PxlTransparencyEntry entry{};
    entry.kind = PXL_TRANSPARENT_COLOR;  // blue 0 must not be read as an index
    ASSERT_EQ(PXLSetImageTransparent(id, &entry, 1), 1);
    std::array<uint8_t, 1792> rows{};
    ASSERT_EQ(PXLGenerateHistogramIndexImage(id, rows.data(), 1), 256);
    EXPECT_EQ(countAt(rows, 0), 2u);
}

TEST_F(PaletteQuantise, HistogramCountsOneAndEightBitRows) {
    std::vector<int> bits(9, 0);
    bits[0] = 1;
    bits[8] = 1;  // the second byte of the row
    const PxlImageId one = makeIndexed(9, 1, 1, bits);
    std::array<uint8_t, 1792> rows{};
    ASSERT_EQ(PXLGenerateHistogramIndexImage(one, rows.data(), 0), 2);
    EXPECT_EQ(countAt(rows, 0), 7u);
    EXPECT_EQ(countAt(rows, 1), 2u);
    EXPECT_EQ(rows[7 + 4], 255);  // white entry 1

    const PxlImageId eight = makeIndexed(300, 1, 8, std::vector<int>(300, 7));
    ASSERT_EQ(PXLGenerateHistogramIndexImage(eight, rows.data(), 0), 256);
    EXPECT_EQ(rows[7 * 7], 0x2C);  // 300 little-endian
    EXPECT_EQ(rows[7 * 7 + 1], 0x01);
    EXPECT_EQ(countAt(rows, 0), 0u);
}

TEST_F(PaletteQuantise, HistogramRefusesTrueColourAndBadArguments) {
    const PxlImageId rgb = PXLCreateImage(2, 2, 24);
    const PxlImageId eight = PXLCreateImage(2, 2, 8);
    std::array<uint8_t, 1792> rows{};
    EXPECT_EQ(PXLGenerateHistogramIndexImage(rgb, rows.data(), 0), 0);
    EXPECT_EQ(PXLGenerateHistogramIndexImage(eight, nullptr, 0), 0);
    EXPECT_EQ(PXLGenerateHistogramIndexImage(0, rows.data(), 0), 0);
    EXPECT_EQ(PXLGenerateHistogramIndexImage(31, rows.data(), 0), 0);
}

}  // namespace
