#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "core/palette/palettes.h"
#include "pixmill/pixmill.h"

namespace {

struct Rgb {
    int red, green, blue;
};

void expectEntry(const PALETTEENTRY& e, Rgb want) {
    EXPECT_EQ(e.peRed, want.red);
    EXPECT_EQ(e.peGreen, want.green);
    EXPECT_EQ(e.peBlue, want.blue);
    EXPECT_EQ(e.peFlags, 0);
}

struct Indexed {
    int index;
    Rgb rgb;
};

TEST(FixedPalettes, HardPaletteSpreadsThreeThreeTwoBits) {
    const Indexed cases[] = {
        {0, {0, 0, 0}},         {1, {0, 0, 85}},    {3, {0, 0, 255}},
        {4, {0, 36, 0}},        {32, {36, 0, 0}},   {109, {109, 109, 85}},
        {146, {145, 145, 170}}, {224, {255, 0, 0}}, {255, {255, 255, 255}},
    };
    for (const Indexed& c : cases) {
        SCOPED_TRACE(c.index);
        expectEntry(PXLGetHardPalette()[c.index], c.rgb);
    }
}

TEST(FixedPalettes, FinePaletteMatchesItsTable) {
    const Indexed cases[] = {
        {0, {0xFF, 0xFF, 0xFF}},   {14, {0x1F, 0x1F, 0x1F}},  {15, {0, 0, 0}},
        {16, {0xDD, 0xDD, 0xFD}},  {31, {0x05, 0x05, 0x60}},  {128, {0xFD, 0xF7, 0xDD}},
        {200, {0xF4, 0x33, 0xA3}}, {255, {0x2B, 0x05, 0x60}},
    };
    for (const Indexed& c : cases) {
        SCOPED_TRACE(c.index);
        expectEntry(PXLGetFinePalette()[c.index], c.rgb);
    }
}

constexpr Rgb kWindows16[16] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

TEST(FixedPalettes, Windows16PaletteIsTheSystemColours) {
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        expectEntry(PXLGetWindows16Palette()[i], kWindows16[i]);
    }
}

TEST(FixedPalettes, DefaultColourTablesAreWrittenBlueFirst) {
    struct Case {
        int bits;
        int size;
        const PALETTEENTRY* source;
    };
    const Case cases[] = {{1, 2, pixmill::blackWhitePalette()},
                          {4, 16, PXLGetWindows16Palette()},
                          {8, 256, PXLGetHardPalette()},
                          {24, 0, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        std::array<RGBQUAD, 257> table;
        table.fill(RGBQUAD{7, 7, 7, 7});
        pixmill::writeDefaultPalette(table.data(), c.bits);
        for (int i = 0; i < c.size; ++i) {
            EXPECT_EQ(table[i].rgbRed, c.source[i].peRed);
            EXPECT_EQ(table[i].rgbGreen, c.source[i].peGreen);
            EXPECT_EQ(table[i].rgbBlue, c.source[i].peBlue);
            EXPECT_EQ(table[i].rgbReserved, 0);
        }
        EXPECT_EQ(table[c.size].rgbRed, 7) << "wrote past the palette";
    }
}

// An image deleted at the end of the test.
class Image {
  public:
    Image(int width, int height, int bits) : id_(PXLCreateImage(width, height, bits)) {}
    ~Image() { PXLDeleteImage(id_); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    PxlImageId id() const { return id_; }

  private:
    PxlImageId id_;
};

// The colour table of the image's DIB section, as drawing sees it.
std::vector<RGBQUAD> sectionColors(PxlImageId id, int count) {
    std::vector<RGBQUAD> colors(count);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, PXLGetBitmap(id));
    EXPECT_NE(previous, nullptr);
    EXPECT_EQ(GetDIBColorTable(dc, 0, count, colors.data()), static_cast<UINT>(count));
    SelectObject(dc, previous);
    DeleteDC(dc);
    return colors;
}

constexpr PxlImageId kUnknownId = 4321;

TEST(PaletteAccessors, NewImagesCarryTheDefaultOfTheirDepth) {
    Image mono(3, 3, 1), sixteen(3, 3, 4), hard(3, 3, 8);
    EXPECT_EQ(PXLGetColorFromPalette(mono.id(), 1), static_cast<int32_t>(RGB(255, 255, 255)));
    EXPECT_EQ(PXLGetColorFromPalette(sixteen.id(), 1), static_cast<int32_t>(RGB(128, 0, 0)));
    EXPECT_EQ(PXLGetColorFromPalette(sixteen.id(), 7), static_cast<int32_t>(RGB(192, 192, 192)));
    EXPECT_EQ(PXLGetColorFromPalette(hard.id(), 224), static_cast<int32_t>(RGB(255, 0, 0)));
}

TEST(PaletteAccessors, ColourIndexFindsTheLowerOfTwoEqualEntries) {
    Image image(4, 4, 8);
    const COLORREF colour = RGB(1, 2, 3);
    EXPECT_EQ(PXLGetColorIndexFromPalette(image.id(), colour), -1);
    ASSERT_EQ(PXLSetColorToPalette(image.id(), 200, colour), 1);
    ASSERT_EQ(PXLSetColorToPalette(image.id(), 10, colour), 1);
    EXPECT_EQ(PXLGetColorIndexFromPalette(image.id(), colour), 10);
    // Every channel counts: a colour one step off in blue is not found.
    EXPECT_EQ(PXLGetColorIndexFromPalette(image.id(), RGB(1, 2, 4)), -1);
    EXPECT_EQ(PXLGetColorIndexFromPalette(image.id(), RGB(255, 255, 255)), 255);
}

TEST(PaletteAccessors, ImagesWithoutPaletteAndBadIdsGiveFailure) {
    Image trueColour(4, 4, 24);
    const PALETTEENTRY entries[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    for (PxlImageId id : {trueColour.id(), PxlImageId{0}, kUnknownId}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(PXLGetColorIndexFromPalette(id, RGB(0, 0, 0)), -1);
        EXPECT_EQ(PXLGetColorFromPalette(id, 0), -1);
        EXPECT_EQ(PXLSetColorToPalette(id, 0, RGB(1, 1, 1)), 0);
        EXPECT_EQ(PXLSetNewPalette(id, entries, 2), 0);
    }
}

TEST(PaletteAccessors, IndexOutsideThePaletteChangesNothing) {
    Image image(4, 4, 4);
    for (int index : {-1, 16, 255}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(PXLSetColorToPalette(image.id(), index, RGB(9, 9, 9)), 0);
        EXPECT_EQ(PXLGetColorFromPalette(image.id(), index), -1);
    }
    for (int i = 0; i < 16; ++i) {
        const Rgb& w = kWindows16[i];
        EXPECT_EQ(PXLGetColorFromPalette(image.id(), i), static_cast<int32_t>(RGB(w.red, w.green, w.blue)));
    }
    EXPECT_EQ(PXLSetColorToPalette(image.id(), 15, RGB(10, 20, 30)), 1);
    EXPECT_EQ(PXLGetColorFromPalette(image.id(), 15), static_cast<int32_t>(RGB(10, 20, 30)));
}

TEST(PaletteAccessors, SetNewPaletteWritesAtMostThePaletteSize) {
    std::vector<PALETTEENTRY> entries(300);
    for (int i = 0; i < 300; ++i)
        entries[i] =
            PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(i + 1), static_cast<BYTE>(i + 2), 0xCC};

    Image full(4, 4, 4);
    EXPECT_EQ(PXLSetNewPalette(full.id(), entries.data(), 300), 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(PXLGetColorFromPalette(full.id(), i), static_cast<int32_t>(RGB(i, i + 1, i + 2)));
    // The flags byte of the entries is not copied, and drawing sees the new colours at once.
    const auto section = sectionColors(full.id(), 16);
    EXPECT_EQ(section[5].rgbRed, 5);
    EXPECT_EQ(section[5].rgbGreen, 6);
    EXPECT_EQ(section[5].rgbBlue, 7);
    EXPECT_EQ(section[5].rgbReserved, 0);

    Image partial(4, 4, 4);
    EXPECT_EQ(PXLSetNewPalette(partial.id(), entries.data(), 4), 1);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        const Rgb want = i < 4 ? Rgb{i, i + 1, i + 2} : kWindows16[i];
        EXPECT_EQ(PXLGetColorFromPalette(partial.id(), i),
                  static_cast<int32_t>(RGB(want.red, want.green, want.blue)));
    }
}

TEST(PaletteAccessors, FillDibColorTableCopiesAnEntryChangedAlone) {
    Image image(4, 4, 8);
    ASSERT_EQ(PXLSetColorToPalette(image.id(), 3, RGB(11, 22, 33)), 1);
    // Setting one entry leaves the section's table alone until the caller refreshes it.
    EXPECT_EQ(sectionColors(image.id(), 256)[3].rgbRed, PXLGetHardPalette()[3].peRed);
    EXPECT_EQ(PXLFillDIBColorTable(image.id()), 1);
    const auto section = sectionColors(image.id(), 256);
    EXPECT_EQ(section[3].rgbRed, 11);
    EXPECT_EQ(section[3].rgbGreen, 22);
    EXPECT_EQ(section[3].rgbBlue, 33);
    EXPECT_EQ(section[255].rgbRed, 255);
}

TEST(PaletteAccessors, FillDibColorTableResults) {
    Image trueColour(4, 4, 24);
    EXPECT_EQ(PXLFillDIBColorTable(trueColour.id()), 1);
    EXPECT_EQ(PXLFillDIBColorTable(0), 0);
    EXPECT_EQ(PXLFillDIBColorTable(kUnknownId), 0);
}

// Sets every byte of the image's rows, padding included.
void fillBits(PxlImageId id, uint8_t value) {
    std::memset(PXLGetBits(id), value, static_cast<size_t>(PXLGetScanBytes(id)) * PXLHeight(id));
}

TEST(ColourCount, AllWhiteMonochromeUsesOnlyIndexOne) {
    Image image(13, 5, 1);
    fillBits(image.id(), 0xFF);
    std::array<int32_t, 256> counts;
    counts.fill(-7);
    EXPECT_EQ(PXLNumColorUsed(image.id(), counts.data()), 1);
    // The row padding beyond the 13th pixel is not counted.
    EXPECT_EQ(counts[1], 65);
    for (int i = 0; i < 256; ++i) {
        if (i != 1) {
            EXPECT_EQ(counts[i], 0) << i;
        }
    }
}

TEST(ColourCount, ReadsPixelsInTheirBitOrder) {
    {
        Image image(3, 1, 4);
        // High nibble first: pixels 2, 10, 5; the low nibble of the last byte is padding.
        uint8_t* row = PXLGetBits(image.id());
        row[0] = 0x2A;
        row[1] = 0x5F;
        std::array<int32_t, 256> counts{};
        EXPECT_EQ(PXLNumColorUsed(image.id(), counts.data()), 3);
        EXPECT_EQ(counts[2], 1);
        EXPECT_EQ(counts[10], 1);
        EXPECT_EQ(counts[5], 1);
        EXPECT_EQ(counts[15], 0);
    }
    {
        Image image(10, 1, 1);
        uint8_t* row = PXLGetBits(image.id());
        row[0] = 0x80;  // first pixel set
        row[1] = 0x40;  // tenth pixel set; the bits after it are padding
        row[1] |= 0x3F;
        std::array<int32_t, 256> counts{};
        EXPECT_EQ(PXLNumColorUsed(image.id(), counts.data()), 2);
        EXPECT_EQ(counts[1], 2);
        EXPECT_EQ(counts[0], 8);
    }
    {
        Image image(3, 2, 8);
        uint8_t* bits = PXLGetBits(image.id());
        const int stride = PXLGetScanBytes(image.id());
        bits[0] = 7;
        bits[1] = 7;
        bits[2] = 200;
        bits[3] = 99;  // padding
        bits[stride] = 7;
        bits[stride + 1] = 0;
        bits[stride + 2] = 255;
        std::array<int32_t, 256> counts{};
        EXPECT_EQ(PXLNumColorUsed(image.id(), counts.data()), 4);
        EXPECT_EQ(counts[7], 3);
        EXPECT_EQ(counts[200], 1);
        EXPECT_EQ(counts[0], 1);
        EXPECT_EQ(counts[255], 1);
        EXPECT_EQ(counts[99], 0);
    }
}

TEST(ColourCount, FailureStillClearsTheTable) {
    Image trueColour(2, 2, 24);
    for (PxlImageId id : {trueColour.id(), PxlImageId{0}, kUnknownId}) {
        SCOPED_TRACE(id);
        std::array<int32_t, 256> counts;
        counts.fill(5);
        EXPECT_EQ(PXLNumColorUsed(id, counts.data()), 0);
        for (int32_t n : counts) EXPECT_EQ(n, 0);
    }
}

}  // namespace
