#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

namespace {

using pixmill::Access;
using pixmill::lockImage;
using pixmill::rowFromTop;

using ReduceTo8 = PixmillTest;
using ReduceTo16 = PixmillTest;


uint8_t index8(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    return rowFromTop(*image, y)[x];
}

uint16_t pixel16(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    const uint8_t* row = rowFromTop(*image, y);
    return static_cast<uint16_t>(row[2 * x] | (row[2 * x + 1] << 8));
}

COLORREF entry(PxlImageId id, int index) {
    const RGBQUAD& c = PXLGetBitmapInfoHeader(id)->bmiColors[index];
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

// ---- 16 bits -------------------------------------------------------------------------------

struct Case16 {
    Rgb in;
    uint16_t out;
};

TEST_F(ReduceTo16, ChannelsRoundToTheirBitsWithTheGreenCutOff) {
    const Case16 cases[] = {
        {{0, 0, 0}, 0x0000},
        {{255, 255, 255}, 0xFFFF},
        {{3, 1, 3}, 0x0000},            // all round down to 0
        {{4, 2, 4}, 0x0821},            // 1<<11 | 1<<5 | 1
        {{11, 0, 12}, 0x0802},          // red 15>>3 = 1, blue 16>>3 = 2
        {{243, 0, 0}, 0xF000},          // 247>>3 = 30
        {{244, 0, 0}, 0xF800},          // 248>>3 = 31
        {{251, 0, 0}, 0xF800},          // 255>>3 = 31
        {{252, 0, 0}, 0xF800},          // 256>>3 would be 32: held at 31
        {{0, 0, 255}, 0x001F},
        {{0, 245, 0}, 61 << 5},         // 247>>2
        {{0, 246, 0}, 62 << 5},         // 248>>2
        {{0, 247, 0}, 63 << 5},         // 249>>2 is 62, but the cut-off gives 63
        {{0, 251, 0}, 63 << 5},
        {{12, 2, 243}, 0x103E},         // 2<<11 | 1<<5 | 30
    };
    constexpr int kCount = static_cast<int>(std::size(cases));
    std::vector<Rgb> pixels;
    for (const auto& c : cases) pixels.push_back(c.in);
    const PxlImageId source = make24(kCount, 1, pixels);
    const PxlImageId result = PXLCreateImage16from24(source);
    ASSERT_NE(result, 0);
    for (int x = 0; x < kCount; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(pixel16(result, x, 0), cases[x].out);
    }
}

TEST_F(ReduceTo16, ResultIs565WithRowsInPlaceAndPaddingLeftAtFF) {
    // 3 pixels of 2 bytes: 6 bytes of pixels and 2 of padding a row.
    const PxlImageId source = make24(3, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255},  // top
                                            {0, 0, 0}, {8, 8, 8}, {255, 255, 255}});
    const PxlImageId result = PXLCreateImage16from24(source);
    ASSERT_NE(result, 0);
    const BITMAPINFOHEADER& h = PXLGetBitmapInfoHeader(result)->bmiHeader;
    EXPECT_EQ(h.biBitCount, 16);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 2);
    const std::array<uint16_t, 6> expected = {0xF800, 0x07E0, 0x001F, 0x0000, 0x0841, 0xFFFF};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(pixel16(result, x, y), expected[static_cast<size_t>(3 * y + x)]);
        pixmill::ImageLock image = lockImage(result, Access::Read);
        EXPECT_EQ(rowFromTop(*image, y)[6], 0xFF);
        EXPECT_EQ(rowFromTop(*image, y)[7], 0xFF);
    }
}

TEST_F(ReduceTo16, RefusesWhatIsNotATwentyFourBitImage) {
    const PxlImageId eight = PXLCreateImage(2, 2, 8);
    const PxlImageId thirtyTwo = PXLCreateImage(2, 2, 32);
    const PxlImageId sixteen = PXLCreateImage(2, 2, PXL_BITS_565);
    const size_t before = pixmill::liveImageCount();
    EXPECT_EQ(PXLCreateImage16from24(0), 0);
    EXPECT_EQ(PXLCreateImage16from24(999), 0);
    EXPECT_EQ(PXLCreateImage16from24(eight), 0);
    EXPECT_EQ(PXLCreateImage16from24(thirtyTwo), 0);
    EXPECT_EQ(PXLCreateImage16from24(sixteen), 0);
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

// ---- 8 bits --------------------------------------------------------------------------------

TEST_F(ReduceTo8, PureWhiteTakesTheLastEntryAndOneCellFillsAllPicks) {
    // Both pixels fall in cell (15,15,15), whose colour is (240,240,240).
    const PxlImageId source = make24(2, 1, {{255, 255, 255}, {250, 250, 250}});
    const PxlImageId result = PXLCreateImage8from24(source);
    ASSERT_NE(result, 0);
    EXPECT_EQ(PXLbpp(result), 8);
    EXPECT_EQ(index8(result, 0, 0), 255);
    EXPECT_EQ(index8(result, 1, 0), 0);
    EXPECT_EQ(entry(result, 0), RGB(240, 240, 240));
    EXPECT_EQ(entry(result, 1), RGB(240, 240, 240));
    EXPECT_EQ(entry(result, 191), RGB(240, 240, 240));
}

TEST_F(ReduceTo8, EntriesFrom192AreTheCube) {
    const PxlImageId result = PXLCreateImage8from24(make24(1, 1, {{1, 2, 3}}));
    ASSERT_NE(result, 0);
    const struct {
        int index;
        COLORREF colour;
    } cube[] = {
        {192, RGB(0, 0, 0)},   {193, RGB(0, 0, 85)},      {196, RGB(0, 85, 0)},
        {208, RGB(85, 0, 0)},  {230, RGB(170, 85, 170)},  {255, RGB(255, 255, 255)},
    };
    for (const auto& c : cube) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(entry(result, c.index), c.colour);
    }
}

TEST_F(ReduceTo8, PicksGoByCountThenByLowerCell) {
    // Cells: A (16,32,48) = 0x123 and B (0,0,8) -> level 1 blue = 0x001, twice each; D (7,7,7) ->
    // 0x000 and C (200,100,50) -> levels 13,6,3 = 0xD63, once each.
    const Rgb a{16, 32, 48}, b{0, 0, 8}, c{200, 100, 50}, d{7, 7, 7};
    const PxlImageId result = PXLCreateImage8from24(make24(3, 2, {a, b, c, a, b, d}));
    ASSERT_NE(result, 0);
    EXPECT_EQ(entry(result, 0), RGB(0, 0, 16));
    EXPECT_EQ(entry(result, 1), RGB(16, 32, 48));
    EXPECT_EQ(entry(result, 2), RGB(0, 0, 0));
    EXPECT_EQ(entry(result, 3), RGB(208, 96, 48));
    EXPECT_EQ(entry(result, 4), RGB(208, 96, 48));    // fewer than 192 cells: the last pick repeats
    EXPECT_EQ(entry(result, 191), RGB(208, 96, 48));
    const uint8_t expected[2][3] = {{1, 0, 3}, {1, 0, 2}};  // black goes to entry 2, not cube 192
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(index8(result, x, y), expected[y][x]) << x << "," << y;
}

TEST_F(ReduceTo8, UnpickedCellsTakeTheNearestEntryBySumOfDifferences) {
    // P (160,160,128) and Q (176,128,128) twice each rank first; 190 cells (0, 16g, 16b) with
    // g = 0..11 fill entries 2..191; X (128,128,128) and Y (80,160,240) are left out.
    // X: Q is 48 away by sum of differences (P 64), though P is nearer by squares (2048 < 2304).
    // Y: the cube's (85,170,255) is 30 away; the nearest pick, P, 192.
    const Rgb p{160, 160, 128}, q{176, 128, 128}, x{128, 128, 128}, y{80, 160, 240};
    std::vector<Rgb> pixels = {p, p, q, q, x, y};
    for (int cell = 0; cell < 190; ++cell) pixels.push_back({0, 16 * (cell >> 4), 16 * (cell & 15)});
    ASSERT_EQ(pixels.size(), 196u);
    const PxlImageId result = PXLCreateImage8from24(make24(14, 14, pixels));
    ASSERT_NE(result, 0);
    EXPECT_EQ(entry(result, 0), RGB(160, 160, 128));
    EXPECT_EQ(entry(result, 1), RGB(176, 128, 128));
    EXPECT_EQ(entry(result, 2), RGB(0, 0, 0));
    EXPECT_EQ(entry(result, 191), RGB(0, 176, 208));
    EXPECT_EQ(index8(result, 0, 0), 0);
    EXPECT_EQ(index8(result, 2, 0), 1);
    EXPECT_EQ(index8(result, 4, 0), 1);                   // X
    EXPECT_EQ(index8(result, 5, 0), 192 + 16 + 8 + 3);    // Y: cube (1, 2, 3)
    EXPECT_EQ(index8(result, 6, 0), 2);                   // (0,0,0)
    EXPECT_EQ(index8(result, 13, 13), 191);               // the last pixel, cell (0,11,13)
}

TEST_F(ReduceTo8, RefusesWhatIsNotATwentyFourBitImage) {
    const PxlImageId four = PXLCreateImage(2, 2, 4);
    const PxlImageId thirtyTwo = PXLCreateImage(2, 2, 32);
    const PxlImageId sixteen = PXLCreateImage(2, 2, PXL_BITS_565);
    const size_t before = pixmill::liveImageCount();
    EXPECT_EQ(PXLCreateImage8from24(0), 0);
    EXPECT_EQ(PXLCreateImage8from24(999), 0);
    EXPECT_EQ(PXLCreateImage8from24(four), 0);
    EXPECT_EQ(PXLCreateImage8from24(thirtyTwo), 0);
    EXPECT_EQ(PXLCreateImage8from24(sixteen), 0);
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

TEST_F(ReduceTo8, SourceIsLeftAsItWas) {
    const PxlImageId source = make24(2, 1, {{255, 255, 255}, {10, 20, 30}});
    ASSERT_NE(PXLCreateImage8from24(source), 0);
    ASSERT_NE(PXLCreateImage16from24(source), 0);
    pixmill::ImageLock image = lockImage(source, Access::Read);
    const uint8_t* row = rowFromTop(*image, 0);
    const std::array<uint8_t, 6> expected = {255, 255, 255, 30, 20, 10};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(row[i], expected[i]) << i;
}

}  // namespace
