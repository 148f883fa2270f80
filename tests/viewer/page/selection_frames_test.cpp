// The selection marks: exact pixels of each, and every mark drawn twice leaves every pixel as it
// was, on surfaces of 32 and 8 bits.
#include <functional>
#include <initializer_list>
#include <utility>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/selection_frames.h"
#include "picture_test_support.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"

namespace lect32 {
namespace {

using picture_test::Canvas;
using picture_test::kBlack;
using picture_test::kWhite;

struct Mark {
    const char* name;
    std::function<void(HDC)> draw;
};

std::vector<Mark> marks() {
    return {
        {"hatch", [](HDC dc) { DrawHatch(dc, 5, 6, 31, 22); }},
        {"handle", [](HDC dc) { InvertHandle(dc, 10, 10); }},
        {"sizing frame", [](HDC dc) { DrawSizingFrame(dc, 6, 5, 33, 26); }},
        {"small sizing frame", [](HDC dc) { DrawSizingFrame(dc, 8, 8, 14, 12); }},
        {"dotted frame", [](HDC dc) { DrawDottedFrame(dc, 3, 4, 30, 20); }},
        {"hatched border", [](HDC dc) { DrawHatchedBorder(dc, 8, 9, 28, 21); }},
        {"hatch off the surface", [](HDC dc) { DrawHatch(dc, -7, -3, 9, 40); }},
    };
}

TEST(SelectionFramesTest, DrawingTwiceRestoresEveryPixel) {
    for (const int bits : {32, 8}) {
        for (const Mark& mark : marks()) {
            Canvas canvas(40, 32, bits);
            canvas.fillNoise();
            const std::vector<COLORREF> before = canvas.pixels();
            mark.draw(canvas.dc());
            EXPECT_NE(canvas.pixels(), before) << mark.name << " at " << bits << " bits draws something";
            mark.draw(canvas.dc());
            EXPECT_EQ(canvas.pixels(), before) << mark.name << " at " << bits << " bits";
        }
    }
}

TEST(SelectionFramesTest, TheDeviceKeepsItsOperationPenAndBrush) {
    Canvas canvas(40, 32);
    const winplat::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 3, picture_test::kRed));
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(picture_test::kGreen));
    SelectObject(canvas.dc(), pen.get());
    SelectObject(canvas.dc(), brush.get());
    SetROP2(canvas.dc(), R2_COPYPEN);
    for (const Mark& mark : marks()) {
        mark.draw(canvas.dc());
        EXPECT_EQ(GetROP2(canvas.dc()), R2_COPYPEN) << mark.name;
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen.get()) << mark.name;
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), brush.get()) << mark.name;
    }
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

// On white, inverted pixels are black: each mark as a table ('#' inverted).
std::vector<std::string> drawn(int width, int height, const std::function<void(HDC)>& draw) {
    Canvas canvas(width, height);
    canvas.fill(kWhite);
    draw(canvas.dc());
    return canvas.rows({{kWhite, '.'}, {kBlack, '#'}});
}

TEST(SelectionFramesTest, HandleIsTheSevenBySevenSquareAroundItsPoint) {
    const std::vector<std::string> expected = {
        "..........",
        ".#######..",
        ".#######..",
        ".#######..",
        ".#######..",
        ".#######..",
        ".#######..",
        ".#######..",
        "..........",
    };
    EXPECT_EQ(drawn(10, 9, [](HDC dc) { InvertHandle(dc, 4, 4); }), expected);
}

// Lines of 45 degrees 4 pixels apart, from the left or bottom edge up to the top or right edge.
// The rectangle (1, 2)-(9, 6) holds x 1..8 and y 2..5; its first line starts max(1 mod 4, 2 mod 4)
// = 2 pixels down the left edge, the next ones 4 further each (the third meets only (8, 5)).
TEST(SelectionFramesTest, HatchLinesStartFromTheRectanglesPhase) {
    const std::vector<std::string> expected = {
        "..........",
        "..........",
        "...#...#..",
        "..#...#...",
        ".#...#....",
        "....#...#.",
        "..........",
    };
    EXPECT_EQ(drawn(10, 7, [](HDC dc) { DrawHatch(dc, 1, 2, 9, 6); }), expected);
    // At left 4, top 4 the phase is 0: the first line is the corner pixel alone.
    const std::vector<std::string> corner = drawn(10, 8, [](HDC dc) { DrawHatch(dc, 4, 4, 7, 7); });
    EXPECT_EQ(corner[4], "....#.....");
    EXPECT_EQ(corner[5], "..........");
    EXPECT_EQ(corner[6], "......#...") << "d = 4 meets the bottom right corner only";
}

// The row of a table with the spans given inverted.
std::string spans(int width, std::initializer_list<std::pair<int, int>> inverted) {
    std::string row(static_cast<size_t>(width), '.');
    for (const auto& [from, to] : inverted)
        for (int x = from; x <= to; ++x) row[static_cast<size_t>(x)] = '#';
    return row;
}

// Handles of 7 pixels at the corners and the middles; a side runs from 5 past one handle's centre
// to 4 before the next, one free pixel on either side of each handle.
TEST(SelectionFramesTest, SizingFrameBreaksItsSidesAroundTheHandles) {
    const std::vector<std::string> frame = drawn(50, 36, [](HDC dc) { DrawSizingFrame(dc, 4, 4, 44, 30); });
    // Middles at x 24 and y 17.
    EXPECT_EQ(frame[4], spans(50, {{1, 7}, {9, 19}, {21, 27}, {29, 39}, {41, 47}})) << "top side";
    EXPECT_EQ(frame[30], frame[4]) << "bottom side";
    EXPECT_EQ(frame[1], spans(50, {{1, 7}, {21, 27}, {41, 47}})) << "the handles' first row";
    EXPECT_EQ(frame[0], spans(50, {}));
    EXPECT_EQ(frame[8], spans(50, {})) << "a free row below the corner handles";
    EXPECT_EQ(frame[12], spans(50, {{4, 4}, {44, 44}})) << "left and right sides";
    std::string leftColumn;
    for (const std::string& row : frame) leftColumn += row[4];
    EXPECT_EQ(leftColumn, spans(36, {{1, 7}, {9, 12}, {14, 20}, {22, 25}, {27, 33}}))
        << "left side: handles at y 4, 17, 30";
}

TEST(SelectionFramesTest, HatchedBorderLiesOutsideTheRectangle) {
    const std::vector<std::string> border = drawn(40, 36, [](HDC dc) { DrawHatchedBorder(dc, 8, 9, 28, 21); });
    int outside = 0;
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (border[y][x] != '#') continue;
            EXPECT_FALSE(x >= 8 && x <= 28 && y >= 9 && y <= 21) << "inside at " << x << "," << y;
            EXPECT_TRUE(x >= 4 && x <= 32 && y >= 5 && y <= 25) << "beyond the bands at " << x << "," << y;
            ++outside;
        }
    }
    EXPECT_GT(outside, 40);
    // Each band is hatched: a pixel in each.
    const auto bandHas = [&](int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (border[y][x] == '#') return true;
        return false;
    };
    EXPECT_TRUE(bandHas(4, 5, 33, 9)) << "top";
    EXPECT_TRUE(bandHas(4, 9, 8, 22)) << "left";
    EXPECT_TRUE(bandHas(29, 9, 33, 22)) << "right";
    EXPECT_TRUE(bandHas(4, 22, 32, 26)) << "bottom";
}

TEST(SelectionFramesTest, DottedFrameOutlinesTheRectangle) {
    const std::vector<std::string> frame = drawn(40, 30, [](HDC dc) { DrawDottedFrame(dc, 3, 4, 30, 20); });
    int dots = 0, gaps = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool onOutline = ((y == 4 || y == 19) && x >= 3 && x <= 29) || ((x == 3 || x == 29) && y >= 4 && y <= 19);
            if (frame[y][x] == '#') {
                EXPECT_TRUE(onOutline) << x << "," << y;
                ++dots;
            } else if (onOutline) {
                ++gaps;
            }
        }
    }
    EXPECT_GT(dots, 20);
    EXPECT_GT(gaps, 20) << "dotted, not solid";
}

}  // namespace
}  // namespace lect32
