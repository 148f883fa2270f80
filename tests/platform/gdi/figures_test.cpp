// The figure calls the form library's canvas draws with (Polyline, Polygon with its fill mode,
// Ellipse, Arc, Chord, Pie) as calls of the layer: their refusals and state, here; their pixels
// against references are the form library's tests. And run-length encoded bits going into
// SetDIBits and CreateDIBitmap.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "dib_helpers.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/region.h"
#include "winplat/testing.h"

namespace {

using drawtest::Canvas;

TEST(Figures, PolyCallsNeedTwoPointsAndKeepTheCurrentPosition) {
    Canvas c(8, 4, 32);
    ASSERT_TRUE(c.ok());
    c.fill(0xFFFFFF);
    const POINT points[] = {{1, 1}, {6, 1}, {6, 3}};
    EXPECT_FALSE(Polyline(c.dc(), points, 1));
    EXPECT_FALSE(Polygon(c.dc(), points, 1));
    EXPECT_FALSE(Polyline(c.dc(), nullptr, 3));
    MoveToEx(c.dc(), 2, 3, nullptr);
    EXPECT_TRUE(Polyline(c.dc(), points, 3));
    POINT previous{};
    MoveToEx(c.dc(), 0, 0, &previous);
    EXPECT_EQ(previous.x, 2);
    EXPECT_EQ(previous.y, 3);
    // One pixel pen: every point but the last.
    EXPECT_EQ(c.art({{0xFFFFFF, '.'}, {0x000000, '#'}}),
              (std::vector<std::string>{"........", ".######.", "......#.", "........"}));
}

TEST(Figures, TheFillModeIsDcStateThatSaveDcKeeps) {
    Canvas c(4, 4, 32);
    EXPECT_EQ(GetPolyFillMode(c.dc()), ALTERNATE);
    EXPECT_EQ(SetPolyFillMode(c.dc(), WINDING), ALTERNATE);
    const int saved = SaveDC(c.dc());
    EXPECT_EQ(SetPolyFillMode(c.dc(), ALTERNATE), WINDING);
    RestoreDC(c.dc(), saved);
    EXPECT_EQ(GetPolyFillMode(c.dc()), WINDING);
    winplat::testing::ScopedDebugAsserts quiet(false);
    EXPECT_EQ(SetPolyFillMode(c.dc(), 3), 0);
    EXPECT_EQ(GetPolyFillMode(c.dc()), WINDING);
}

// A box beyond the coordinate range is refused; an empty box draws nothing but is no failure.
TEST(Figures, EllipseBoxesOutOfRangeAreRefused) {
    Canvas c(6, 6, 32);
    c.fill(0xFFFFFF);
    EXPECT_FALSE(Ellipse(c.dc(), 0, 0, 1 << 28, 4));
    EXPECT_FALSE(Arc(c.dc(), 0, 0, 4, 4, 1 << 28, 0, 0, 0));
    EXPECT_TRUE(Ellipse(c.dc(), 3, 3, 3, 5));
    EXPECT_EQ(c.at(3, 3), 0xFFFFFFu);
    // Corners given the other way round make the same ellipse.
    Canvas d(6, 6, 32);
    d.fill(0xFFFFFF);
    EXPECT_TRUE(Ellipse(c.dc(), 0, 0, 6, 6));
    EXPECT_TRUE(Ellipse(d.dc(), 6, 6, 0, 0));
    EXPECT_EQ(c.art({{0xFFFFFF, '.'}, {0x000000, '#'}}), d.art({{0xFFFFFF, '.'}, {0x000000, '#'}}));
}

// The figures draw through the DC's binary raster operation: XOR twice leaves nothing.
TEST(Figures, FiguresGoThroughTheRasterOperation) {
    Canvas c(30, 30, 24);
    c.fill(0x123456);
    const std::vector<std::string> before = c.art({{0x123456, '.'}});
    SetROP2(c.dc(), R2_XORPEN);
    for (int pass = 0; pass < 2; ++pass) {
        Ellipse(c.dc(), 2, 2, 27, 20);
        Arc(c.dc(), 1, 1, 29, 29, 30, 0, 0, 30);
        Pie(c.dc(), 4, 4, 26, 26, 30, 15, 15, 0);
        Chord(c.dc(), 4, 4, 26, 26, 0, 15, 30, 15);
        const POINT star[] = {{15, 1}, {24, 28}, {1, 10}, {29, 10}, {6, 28}};
        Polygon(c.dc(), star, 5);
        if (pass == 0) {
            EXPECT_NE(c.art({{0x123456, '.'}}), before);
        }
    }
    EXPECT_EQ(c.art({{0x123456, '.'}}), before);
}

// Run-length encoded bits of a 5 x 3 picture (the first line is the bottom row), with their
// encoded size in biSizeImage.
struct RleBits {
    DWORD compression;
    std::vector<uint8_t> codes;
};

TEST(Figures, RunLengthBitsGoIntoSetDIBits) {
    const std::vector<dibtest::Rgb> grey = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444,
                                            0x555555, 0x666666, 0x777777};
    const RleBits cases[] = {
        {BI_RLE8,
         {2, 1, 3, 2, 0, 0,  // bottom: 1 1 2 2 2, end of line
          0, 3, 5, 6, 7, 0,  // middle: 5 6 7 as they are, padded
          0, 2, 0, 1,        // delta: up one line, to the top row's column 3 after the literal
          2, 4, 0, 1}},      // top: ... 4 4, end
        {BI_RLE4,
         {5, 0x12, 0, 0,       // bottom: 1 2 1 2 1
          0, 3, 0x56, 0x70,    // middle: 5 6 7 (two bytes, a whole word)
          0, 2, 0, 1, 2, 0x44, // delta up one, then 4 4
          0, 1}},
    };
    for (const RleBits& c : cases) {
        SCOPED_TRACE(c.compression == BI_RLE8 ? "RLE8" : "RLE4");
        Canvas target(5, 3, 32);
        target.fill(0xFFFFFF);
        dibtest::DibInfo info = dibtest::makeInfo(5, 3, c.compression == BI_RLE8 ? 8 : 4, c.compression, grey);
        info.header.biSizeImage = static_cast<DWORD>(c.codes.size());
        EXPECT_EQ(SetDIBits(target.dc(), target.bitmap(), 0, 3, c.codes.data(), info.info(), DIB_RGB_COLORS), 3);
        const std::map<dibtest::Rgb, char> legend = {{0x000000, '0'}, {0x111111, '1'}, {0x222222, '2'},
                                                     {0x444444, '4'}, {0x555555, '5'}, {0x666666, '6'},
                                                     {0x777777, '7'}};
        const std::vector<std::string> expected =
            c.compression == BI_RLE8 ? std::vector<std::string>{"00044", "56700", "11222"}
                                     : std::vector<std::string>{"00044", "56700", "12121"};
        EXPECT_EQ(target.art(legend), expected);
    }
}

TEST(Figures, RunLengthBitsWithoutTheirSizeOrTopDownAreRefused) {
    Canvas target(4, 2, 32);
    const std::vector<uint8_t> codes = {4, 1, 0, 0, 4, 2, 0, 1};
    dibtest::DibInfo info = dibtest::makeInfo(4, 2, 8, BI_RLE8, {0x000000, 0xFF0000, 0x00FF00});
    info.header.biSizeImage = 0;
    EXPECT_EQ(SetDIBits(target.dc(), target.bitmap(), 0, 2, codes.data(), info.info(), DIB_RGB_COLORS), 0);
    info.header.biSizeImage = static_cast<DWORD>(codes.size());
    info.header.biHeight = -2;
    EXPECT_EQ(SetDIBits(target.dc(), target.bitmap(), 0, 2, codes.data(), info.info(), DIB_RGB_COLORS), 0);
    // A literal that claims more bytes than the size holds stops there.
    info.header.biHeight = 2;
    const std::vector<uint8_t> cut = {0, 200, 1, 2};
    info.header.biSizeImage = static_cast<DWORD>(cut.size());
    EXPECT_EQ(SetDIBits(target.dc(), target.bitmap(), 0, 2, cut.data(), info.info(), DIB_RGB_COLORS), 2);
}

TEST(Figures, CreateDIBitmapExpandsRunLengthBits) {
    const std::vector<uint8_t> codes = {3, 1, 0, 0, 3, 2, 0, 1};
    dibtest::DibInfo info = dibtest::makeInfo(3, 2, 8, BI_RLE8, {0x000000, 0xFF0000, 0x0000FF});
    info.header.biSizeImage = static_cast<DWORD>(codes.size());
    HBITMAP bitmap = CreateDIBitmap(nullptr, &info.header, CBM_INIT, codes.data(), info.info(), DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));  // bottom row: index 1
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));  // top row: index 2
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

}  // namespace
