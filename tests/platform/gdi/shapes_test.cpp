// Lines, rectangles, brushes and single pixels.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace drawtest;
using dibtest::kBlack;
using dibtest::kWhite;

constexpr Rgb kRed = 0xFF0000;
const std::map<Rgb, char> kArt = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'R'}, {0x00FF00, 'g'}};

struct LineCase {
    const char* name;
    int x0, y0, x1, y1;
    std::vector<std::string> expected;
};

// Worked out by hand: one pixel per step of the longer axis, the nearest to the ideal line, an
// exact half going to the smaller coordinate, the end point left out.
const LineCase kLines[] = {
    {"slope one half", 0, 0, 4, 2, {"##....", "..##..", "......", "......", "......", "......"}},
    {"slope one half backwards", 4, 2, 0, 0, {".#....", "..##..", "....#.", "......", "......", "......"}},
    {"slope two", 0, 0, 2, 4, {"#.....", "#.....", ".#....", ".#....", "......", "......"}},
    {"slope three fifths", 0, 0, 5, 3, {"#.....", ".##...", "...##.", "......", "......", "......"}},
    {"rising, halves go up", 0, 2, 4, 0, {"...#..", ".##...", "#.....", "......", "......", "......"}},
    {"horizontal", 1, 1, 5, 1, {"......", ".####.", "......", "......", "......", "......"}},
    {"vertical upwards", 2, 5, 2, 1, {"......", "......", "..#...", "..#...", "..#...", "..#..."}},
    {"diagonal", 0, 5, 4, 1, {"......", "......", "...#..", "..#...", ".#....", "#....."}},
    {"a point draws nothing", 3, 3, 3, 3, {"......", "......", "......", "......", "......", "......"}},
    {"clipped by the surface", -3, -1, 9, 3, {"##....", "..###.", ".....#", "......", "......", "......"}},
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class Lines : public ::testing::TestWithParam<LineCase> {};

TEST_P(Lines, LightTheExpectedPixels) {
    const LineCase& c = GetParam();
    Canvas canvas(6, 6, 24);
    canvas.fill(kWhite);
    ASSERT_TRUE(MoveToEx(canvas.dc(), c.x0, c.y0, nullptr));
    ASSERT_TRUE(LineTo(canvas.dc(), c.x1, c.y1));
    EXPECT_EQ(canvas.art(kArt), c.expected);
    POINT at{};
    MoveToEx(canvas.dc(), 0, 0, &at);
    EXPECT_EQ(at.x, c.x1);
    EXPECT_EQ(at.y, c.y1);
}

INSTANTIATE_TEST_SUITE_P(Cases, Lines, ::testing::ValuesIn(kLines), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// Inverting each pixel of a closed polyline once: a corner drawn twice would come back white.
TEST(Lines, PolylineCornersAreDrawnOnce) {
    Canvas canvas(6, 6, 24);
    canvas.fill(kWhite);
    SetROP2(canvas.dc(), R2_NOT);
    MoveToEx(canvas.dc(), 1, 1, nullptr);
    LineTo(canvas.dc(), 4, 1);
    LineTo(canvas.dc(), 4, 4);
    LineTo(canvas.dc(), 1, 4);
    LineTo(canvas.dc(), 1, 1);
    EXPECT_EQ(canvas.art(kArt),
              (std::vector<std::string>{"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
}

// Each binary raster operation against its formula, on index values of an 8-bit surface.
TEST(Lines, BinaryRasterOperations) {
    std::vector<Rgb> table;
    for (uint32_t i = 0; i < 256; ++i) table.push_back(i << 16 | (255 - i) << 8 | 0x40);
    const uint32_t p = 0xCC;
    const uint32_t d = 0xAA;
    const std::vector<std::pair<int, uint32_t>> cases = {
        {R2_BLACK, 0},
        {R2_NOTMERGEPEN, ~(p | d)},
        {R2_MASKNOTPEN, ~p & d},
        {R2_NOTCOPYPEN, ~p},
        {R2_MASKPENNOT, p & ~d},
        {R2_NOT, ~d},
        {R2_XORPEN, p ^ d},
        {R2_NOTMASKPEN, ~(p & d)},
        {R2_MASKPEN, p & d},
        {R2_NOTXORPEN, ~(p ^ d)},
        {R2_NOP, d},
        {R2_MERGENOTPEN, ~p | d},
        {R2_COPYPEN, p},
        {R2_MERGEPENNOT, p | ~d},
        {R2_MERGEPEN, p | d},
        {R2_WHITE, 0xFF},
    };
    Canvas canvas(2, 2, 8, table);
    HPEN pen = CreatePen(PS_SOLID, 1, ref(table[p]));
    HBRUSH brush = CreateSolidBrush(ref(table[p]));
    HGDIOBJ oldPen = SelectObject(canvas.dc(), pen);
    HGDIOBJ oldBrush = SelectObject(canvas.dc(), brush);
    for (const auto& [rop2, formula] : cases) {
        SCOPED_TRACE(rop2);
        canvas.setRaw(0, 0, d);
        ASSERT_EQ(SetROP2(canvas.dc(), rop2) != 0, true);
        MoveToEx(canvas.dc(), 0, 0, nullptr);
        LineTo(canvas.dc(), 1, 0);
        EXPECT_EQ(canvas.raw(0, 0), formula & 0xFF);
        // A rectangle's fill goes through the same operation (null pen: the brush alone).
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
        canvas.setRaw(0, 1, d);
        Rectangle(canvas.dc(), 0, 1, 2, 3);
        EXPECT_EQ(canvas.raw(0, 1), formula & 0xFF) << "brush";
        SelectObject(canvas.dc(), pen);
    }
    winplat::testing::ScopedDebugAsserts off(false);  // unknown binary operations
    EXPECT_EQ(SetROP2(canvas.dc(), 0), 0);
    EXPECT_EQ(SetROP2(canvas.dc(), 17), 0);
    EXPECT_EQ(GetROP2(canvas.dc()), R2_WHITE);
    SelectObject(canvas.dc(), oldPen);
    SelectObject(canvas.dc(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(Lines, DashPatternsRunOnAndGapsFollowTheBackgroundMode) {
    Canvas canvas(30, 6, 24);
    canvas.fill(kWhite);
    HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HPEN dash = CreatePen(PS_DASH, 0, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(canvas.dc(), dot);
    SetBkMode(canvas.dc(), TRANSPARENT);
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 12, 0);
    // Two calls continue one pattern...
    MoveToEx(canvas.dc(), 0, 1, nullptr);
    LineTo(canvas.dc(), 4, 1);
    LineTo(canvas.dc(), 12, 1);
    // ...and MoveToEx starts it afresh.
    MoveToEx(canvas.dc(), 0, 2, nullptr);
    LineTo(canvas.dc(), 4, 2);
    MoveToEx(canvas.dc(), 4, 2, nullptr);
    LineTo(canvas.dc(), 12, 2);
    // Opaque gaps take the background colour.
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(255, 0, 0));
    MoveToEx(canvas.dc(), 0, 3, nullptr);
    LineTo(canvas.dc(), 12, 3);
    SelectObject(canvas.dc(), dash);
    SetBkMode(canvas.dc(), TRANSPARENT);
    MoveToEx(canvas.dc(), 0, 4, nullptr);
    LineTo(canvas.dc(), 30, 4);
    const std::vector<std::string> art = canvas.art(kArt);
    EXPECT_EQ(art[0].substr(0, 12), "###...###...");
    EXPECT_EQ(art[1].substr(0, 12), "###...###...");
    EXPECT_EQ(art[2].substr(0, 12), "###.###...##");
    EXPECT_EQ(art[3].substr(0, 12), "###RRR###RRR");
    EXPECT_EQ(art[4], "##################......######");
    SelectObject(canvas.dc(), old);
    DeleteObject(dot);
    DeleteObject(dash);
}

TEST(Lines, WidePensCoverTheirWidthWithRoundEnds) {
    Canvas canvas(12, 7, 24);
    canvas.fill(kWhite);
    HPEN three = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    HPEN two = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(canvas.dc(), three);
    MoveToEx(canvas.dc(), 2, 3, nullptr);
    LineTo(canvas.dc(), 8, 3);
    EXPECT_EQ(canvas.art(kArt),
              (std::vector<std::string>{"............", "............", ".#########..", ".#########..",
                                        ".#########..", "............", "............"}));
    canvas.fill(kWhite);
    SelectObject(canvas.dc(), two);
    MoveToEx(canvas.dc(), 2, 3, nullptr);
    LineTo(canvas.dc(), 8, 3);
    EXPECT_EQ(canvas.art(kArt),
              (std::vector<std::string>{"............", "............", ".RRRRRRRR...", ".RRRRRRRR...",
                                        "............", "............", "............"}));
    SelectObject(canvas.dc(), old);
    DeleteObject(three);
    DeleteObject(two);
}

TEST(Lines, NullPenMovesWithoutDrawing) {
    Canvas canvas(4, 4, 24);
    canvas.fill(kWhite);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    ASSERT_TRUE(LineTo(canvas.dc(), 3, 3));
    EXPECT_EQ(canvas.art(kArt), (std::vector<std::string>{"....", "....", "....", "...."}));
    POINT at{};
    MoveToEx(canvas.dc(), 0, 0, &at);
    EXPECT_EQ(at.x, 3);
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    EXPECT_FALSE(LineTo(canvas.dc(), 1 << 28, 0)) << "beyond the coordinate range";
}

struct RectCase {
    const char* name;
    std::function<void(HDC)> draw;
    std::vector<std::string> expected;
};

TEST(Rectangles, ExcludeRightAndBottomEdges) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HPEN inside = CreatePen(PS_INSIDEFRAME, 2, RGB(0, 0, 0));
    const RectCase cases[] = {
        {"pen and brush",
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".####..", ".#RR#..", ".####..", ".......", "......."}},
        {"corners given the other way round",
         [](HDC dc) { Rectangle(dc, 5, 4, 1, 1); },
         {".......", ".####..", ".#RR#..", ".####..", ".......", "......."}},
        {"null pen: the fill is a pixel smaller",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_PEN));
             Rectangle(dc, 1, 1, 5, 4);
         },
         {".......", ".RRR...", ".RRR...", ".......", ".......", "......."}},
        {"null brush: the outline alone",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_BRUSH));
             Rectangle(dc, 0, 0, 7, 6);
         },
         {"#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"}},
        {"one pixel wide",
         [](HDC dc) { Rectangle(dc, 2, 1, 3, 5); },
         {".......", "..#....", "..#....", "..#....", "..#....", "......."}},
        {"two pixels high",
         [](HDC dc) { Rectangle(dc, 1, 2, 6, 4); },
         {".......", ".......", ".#####.", ".#####.", ".......", "......."}},
        {"empty",
         [](HDC dc) { Rectangle(dc, 3, 1, 3, 5); },
         {".......", ".......", ".......", ".......", ".......", "......."}},
        {"inside frame of width 2",
         [inside](HDC dc) {
             SelectObject(dc, inside);
             Rectangle(dc, 0, 0, 7, 6);
         },
         {"#######", "#######", "##RRR##", "##RRR##", "#######", "#######"}},
        {"FillRect: the brush, no pen, the whole rectangle",
         [red](HDC dc) {
             RECT r{1, 1, 5, 4};
             FillRect(dc, &r, red);
         },
         {".......", ".RRRR..", ".RRRR..", ".RRRR..", ".......", "......."}},
        {"FillRect ignores the binary raster operation",
         [red](HDC dc) {
             SetROP2(dc, R2_NOT);
             RECT r{1, 1, 5, 4};
             FillRect(dc, &r, red);
         },
         {".......", ".RRRR..", ".RRRR..", ".RRRR..", ".......", "......."}},
        {"FillRect with right < left draws nothing",
         [red](HDC dc) {
             RECT r{5, 1, 1, 4};
             FillRect(dc, &r, red);
         },
         {".......", ".......", ".......", ".......", ".......", "......."}},
        {"clipped",
         [](HDC dc) {
             IntersectClipRect(dc, 2, 0, 7, 3);
             Rectangle(dc, 1, 1, 5, 4);
         },
         {".......", "..###..", "..RR#..", ".......", ".......", "......."}},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(7, 6, 24);
        canvas.fill(kWhite);
        SelectObject(canvas.dc(), red);
        c.draw(canvas.dc());
        EXPECT_EQ(canvas.art(kArt), c.expected);
        SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
        SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    }
    DeleteObject(red);
    DeleteObject(inside);
}

TEST(Rectangles, XorTwiceRestores) {
    Canvas canvas(8, 8, 32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) canvas.set(x, y, static_cast<Rgb>(0x10203 * (x + 8 * y)));
    std::vector<uint32_t> before;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) before.push_back(canvas.raw(x, y));
    HBRUSH brush = CreateSolidBrush(RGB(0x5A, 0xA5, 0x3C));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xFF, 0x00, 0x81));
    SelectObject(canvas.dc(), brush);
    SelectObject(canvas.dc(), pen);
    SetROP2(canvas.dc(), R2_XORPEN);
    Rectangle(canvas.dc(), 1, 1, 7, 6);
    EXPECT_EQ(canvas.raw(1, 1), before[9] ^ 0xFF0081u) << "pen";
    EXPECT_EQ(canvas.raw(2, 2), before[18] ^ 0x5AA53Cu) << "brush";
    Rectangle(canvas.dc(), 1, 1, 7, 6);
    std::vector<uint32_t> after;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) after.push_back(canvas.raw(x, y));
    EXPECT_EQ(after, before);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(brush);
    DeleteObject(pen);
}

struct HatchCase {
    int style;
    std::vector<std::string> rows;
};

// Hatch lines run through device row 0, column 0, and the diagonals through (0, 0) and (7, 0).
const HatchCase kHatches[] = {
    {HS_HORIZONTAL,
     {"########", "........", "........", "........", "........", "........", "........", "........"}},
    {HS_VERTICAL,
     {"#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#......."}},
    {HS_FDIAGONAL,
     {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
    {HS_BDIAGONAL,
     {".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......", "#......."}},
    {HS_CROSS,
     {"########", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#......."}},
    {HS_DIAGCROSS,
     {"#......#", ".#....#.", "..#..#..", "...##...", "...##...", "..#..#..", ".#....#.", "#......#"}},
};

TEST(HatchBrushes, TileTheirPatternFromTheDeviceOrigin) {
    for (const HatchCase& c : kHatches) {
        SCOPED_TRACE(c.style);
        HBRUSH hatch = CreateHatchBrush(c.style, RGB(0, 0, 0));
        ASSERT_TRUE(hatch);
        Canvas canvas(20, 19, 24);
        canvas.fill(0x00FF00);
        // Opaque: the gaps take the background colour. The rectangle starts off the pattern's grid.
        const RECT area{3, 2, 19, 18};
        ASSERT_TRUE(FillRect(canvas.dc(), &area, hatch));
        for (int y = 0; y < 19; ++y) {
            for (int x = 0; x < 20; ++x) {
                const bool inArea = x >= 3 && x < 19 && y >= 2 && y < 18;
                const Rgb want = !inArea ? 0x00FF00 : c.rows[y % 8][x % 8] == '#' ? kBlack : kWhite;
                ASSERT_EQ(canvas.at(x, y), want) << x << "," << y;
            }
        }
        // Transparent: the gaps keep what was there.
        canvas.fill(0x00FF00);
        SetBkMode(canvas.dc(), TRANSPARENT);
        SelectObject(canvas.dc(), hatch);
        ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 8, 8, PATCOPY));
        std::vector<std::string> expected;
        for (const std::string& row : c.rows) {
            std::string line;
            for (char ch : row) line += ch == '#' ? '#' : 'g';
            expected.push_back(line);
        }
        std::vector<std::string> got = canvas.art(kArt);
        got.resize(8);
        for (std::string& row : got) row.resize(8);
        EXPECT_EQ(got, expected);
        SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
        DeleteObject(hatch);
    }
    winplat::testing::ScopedDebugAsserts off(false);  // an unknown hatch style
    EXPECT_EQ(CreateHatchBrush(6, RGB(0, 0, 0)), nullptr);
}

TEST(PatternBrushes, MonochromePatternsTakeTheDcColours) {
    const uint8_t rows[4] = {0x80, 0, 0x40, 0};  // 2 x 2: "10", "01"
    HBITMAP bits = CreateBitmap(2, 2, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(bits);
    DeleteObject(bits);  // the brush keeps its own copy
    Canvas canvas(4, 3, 24);
    SetTextColor(canvas.dc(), RGB(255, 0, 0));
    SetBkColor(canvas.dc(), RGB(255, 255, 255));
    const RECT all{0, 0, 4, 3};
    ASSERT_TRUE(FillRect(canvas.dc(), &all, brush));
    EXPECT_EQ(canvas.art(kArt), (std::vector<std::string>{".R.R", "R.R.", ".R.R"}));
    DeleteObject(brush);
}

TEST(Pixels, SetPixelStoresTheNearestColourAndSaysWhichGetPixelReads) {
    Canvas rgb(3, 3, 24);
    EXPECT_EQ(SetPixel(rgb.dc(), 1, 1, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(rgb.at(1, 1), 0x010203u);
    EXPECT_EQ(GetPixel(rgb.dc(), 1, 1), RGB(1, 2, 3));

    Canvas indexed(2, 2, 8, {0x000000, 0x808080, 0xFFFFFF});
    EXPECT_EQ(SetPixel(indexed.dc(), 0, 0, RGB(100, 100, 100)), RGB(128, 128, 128));
    EXPECT_EQ(indexed.raw(0, 0), 1u);

    Canvas high(2, 2, 16);  // 5-5-5: channels keep their top five bits, widened on the way out
    EXPECT_EQ(SetPixel(high.dc(), 0, 0, RGB(255, 7, 128)), RGB(255, 0, 132));
    EXPECT_EQ(high.raw(0, 0), 0x7C10u);
    EXPECT_EQ(GetPixel(high.dc(), 0, 0), RGB(255, 0, 132));

    HDC mono = CreateCompatibleDC(nullptr);  // the stock 1 x 1 monochrome bitmap
    EXPECT_EQ(SetPixel(mono, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(mono, 0, 0, RGB(0, 0, 0)), RGB(0, 0, 0));
    DeleteDC(mono);
}

TEST(Pixels, OutsideTheSurfaceOrTheClipIsInvalid) {
    Canvas canvas(4, 4, 24);
    canvas.fill(kWhite);
    for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{4, 0}, std::pair{0, 4}}) {
        EXPECT_EQ(SetPixel(canvas.dc(), x, y, RGB(0, 0, 0)), CLR_INVALID) << x << "," << y;
        EXPECT_EQ(GetPixel(canvas.dc(), x, y), CLR_INVALID) << x << "," << y;
    }
    IntersectClipRect(canvas.dc(), 1, 1, 3, 3);
    EXPECT_EQ(SetPixel(canvas.dc(), 0, 0, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(canvas.at(0, 0), kWhite);
    EXPECT_EQ(GetPixel(canvas.dc(), 3, 3), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas.dc(), 2, 2, RGB(0, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(SetPixel(nullptr, 0, 0, RGB(0, 0, 0)), CLR_INVALID);
}

}  // namespace
