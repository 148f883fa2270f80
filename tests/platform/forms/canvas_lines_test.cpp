// Lines on a canvas: which pixels one-pixel and wide pens light, the styled patterns, and the
// pen modes, NOT-XOR above all (rubber bands drawn twice must leave every byte as it was).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pixel_grid.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"
#include "winforms/recording_canvas.h"

namespace {

using formstest::AllBytes;
using formstest::Grid;
using formstest::RgbAt;
using winforms::Bitmap;
using winforms::PenMode;
using winforms::PenStyle;

struct LineCase {
    const char* name;
    POINT from;
    POINT to;
    std::vector<std::string> expected;
};

// One-pixel lines leave out their end point; the pixels between follow the nearest row (or column)
// to the ideal line, halves going to the smaller coordinate.
TEST(CanvasLines, OnePixelLinesLeaveOutTheEndPoint) {
    const LineCase cases[] = {
        {"horizontal", {1, 1}, {6, 1}, {"........", ".#####..", "........", "........"}},
        {"leftwards", {6, 2}, {1, 2}, {"........", "........", "..#####.", "........"}},
        {"vertical", {3, 0}, {3, 3}, {"...#....", "...#....", "...#....", "........"}},
        {"diagonal", {0, 0}, {3, 3}, {"#.......", ".#......", "..#.....", "........"}},
        {"shallow", {0, 0}, {6, 3}, {"##......", "..##....", "....##..", "........"}},
        {"shallow upwards", {0, 3}, {6, 0}, {".....#..", "...##...", ".##.....", "#......."}},
        {"one step", {4, 1}, {5, 1}, {"........", "....#...", "........", "........"}},
        {"no length", {4, 1}, {4, 1}, {"........", "........", "........", "........"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap bitmap(8, 4);
        bitmap.GetCanvas().MoveTo(c.from.x, c.from.y);
        bitmap.GetCanvas().LineTo(c.to.x, c.to.y);
        EXPECT_EQ(Grid(bitmap), c.expected);
        EXPECT_EQ(bitmap.GetCanvas().PenPos().x, c.to.x);
        EXPECT_EQ(bitmap.GetCanvas().PenPos().y, c.to.y);
    }
}

// The drawing program lengthens a thin line by one pixel so that its end shows: the pixel it asks
// for is then drawn, and the one beyond is not.
TEST(CanvasLines, ALineLengthenedByOneDrawsItsLastPixel) {
    Bitmap bitmap(24, 3);
    winforms::Canvas& canvas = bitmap.GetCanvas();
    canvas.GetPen().SetColor(RGB(0, 0, 255));
    canvas.MoveTo(10, 1);
    canvas.LineTo(21, 1);  // columns 10 through 20
    for (int x = 0; x < 24; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(RgbAt(bitmap, x, 1), x >= 10 && x <= 20 ? 0x0000FFu : 0xFFFFFFu);
    }
}

// A polyline runs its dash pattern on round the corner and leaves out only its last point.
TEST(CanvasLines, PolylineLeavesOutOnlyTheLastPoint) {
    Bitmap bitmap(6, 5);
    const POINT points[] = {{0, 0}, {4, 0}, {4, 4}};
    bitmap.GetCanvas().Polyline(points);
    EXPECT_EQ(Grid(bitmap), (std::vector<std::string>{"#####.", "....#.", "....#.", "....#.", "......"}));
}

// Wide pens cover the pixels whose centres lie closer than half the width to the segment: round
// ends reaching past both end points, and exactly 'width' rows across a horizontal line. A pixel's
// centre is taken at (x, y) for odd widths and at (x + 1/2, y + 1/2) for even ones.
TEST(CanvasLines, WidePensCoverTheirWidthWithRoundEnds) {
    struct WideCase {
        int width;
        std::vector<std::string> expected;
    };
    const WideCase cases[] = {
        {3, {"..........", ".#######..", ".#######..", ".#######..", "..........", ".........."}},
        {4, {".######...", "########..", "########..", ".######...", "..........", ".........."}},
        {5, {".#######..", "#########.", "#########.", "#########.", ".#######..", ".........."}},
    };
    for (const WideCase& c : cases) {
        SCOPED_TRACE(c.width);
        Bitmap bitmap(10, 6);
        bitmap.GetCanvas().GetPen().SetWidth(c.width);
        bitmap.GetCanvas().MoveTo(2, 2);
        bitmap.GetCanvas().LineTo(6, 2);
        EXPECT_EQ(Grid(bitmap), c.expected);
    }
}

// Styled one-pixel pens: the dash and gap lengths along a line, and the pattern running on from
// one LineTo to the next instead of starting afresh.
TEST(CanvasLines, StyledPensDrawTheirPatterns) {
    struct StyleCase {
        PenStyle style;
        std::string expected;  // the first 30 pixels of a horizontal line
    };
    const StyleCase cases[] = {
        {PenStyle::Solid, "##############################"},
        {PenStyle::Dash, "##################......######"},
        {PenStyle::Dot, "###...###...###...###...###..."},
        {PenStyle::DashDot, "#########......###......######"},
        {PenStyle::DashDotDot, "#########...###...###...######"},
        {PenStyle::Clear, ".............................."},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(winforms::NameOf(c.style));
        Bitmap whole(30, 1);
        whole.GetCanvas().GetPen().SetStyle(c.style);
        whole.GetCanvas().MoveTo(0, 0);
        whole.GetCanvas().LineTo(30, 0);
        EXPECT_EQ(Grid(whole)[0], c.expected);
        // Drawn in pieces of 7 pixels, the pattern flows on.
        Bitmap pieces(30, 1);
        pieces.GetCanvas().GetPen().SetStyle(c.style);
        pieces.GetCanvas().MoveTo(0, 0);
        for (int x = 7; x < 30; x += 7) pieces.GetCanvas().LineTo(x, 0);
        pieces.GetCanvas().LineTo(30, 0);
        EXPECT_EQ(Grid(pieces)[0], c.expected);
    }
}

// A new MoveTo starts the pattern afresh.
TEST(CanvasLines, MoveToRestartsThePattern) {
    Bitmap bitmap(12, 2);
    winforms::Canvas& canvas = bitmap.GetCanvas();
    canvas.GetPen().SetStyle(PenStyle::Dot);
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    canvas.MoveTo(4, 1);
    canvas.LineTo(12, 1);
    EXPECT_EQ(Grid(bitmap), (std::vector<std::string>{"###.........", "....###...##"}));
}

// Pen modes on a known background: each pixel of the line combines pen and destination bytes.
TEST(CanvasLines, PenModesCombinePenAndDestination) {
    const uint32_t background = 0x336699;
    const COLORREF pen = RGB(0xF0, 0x0F, 0xAA);  // 0xF00FAA as RGB
    const uint32_t p = 0xF00FAA;
    struct ModeCase {
        PenMode mode;
        uint32_t expected;
    };
    const ModeCase cases[] = {
        {PenMode::Copy, p},
        {PenMode::Xor, background ^ p},
        {PenMode::NotXor, ~(background ^ p) & 0xFFFFFF},
        {PenMode::Not, ~background & 0xFFFFFF},
        {PenMode::NotCopy, ~p & 0xFFFFFF},
        {PenMode::Merge, background | p},
        {PenMode::Mask, background & p},
        {PenMode::Black, 0},
        {PenMode::White, 0xFFFFFF},
        {PenMode::Nop, background},
        {PenMode::MaskPenNot, p & ~background & 0xFFFFFF},
        {PenMode::MergeNotPen, (background | ~p) & 0xFFFFFF},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(winforms::NameOf(c.mode));
        Bitmap bitmap(5, 1);
        winforms::Canvas& canvas = bitmap.GetCanvas();
        canvas.GetBrush().SetColor(RGB(0x33, 0x66, 0x99));
        canvas.FillRect(RECT{0, 0, 5, 1});
        canvas.GetPen().SetColor(pen);
        canvas.GetPen().SetMode(c.mode);
        canvas.MoveTo(1, 0);
        canvas.LineTo(4, 0);
        EXPECT_EQ(RgbAt(bitmap, 0, 0), background);
        for (int x = 1; x < 4; ++x) EXPECT_EQ(RgbAt(bitmap, x, 0), c.expected) << x;
        EXPECT_EQ(RgbAt(bitmap, 4, 0), background);
    }
}

// The rubber band of the drawing program: NOT-XOR lines, rectangles and dotted frames drawn twice
// over a busy picture give back every byte, whatever the pen's width or style.
TEST(CanvasLines, NotXorFiguresDrawnTwiceRestoreEveryByte) {
    struct Figure {
        const char* name;
        int width;
        PenStyle style;
        void (*draw)(winforms::Canvas&);
    };
    const Figure figures[] = {
        {"line", 1, PenStyle::Solid, [](winforms::Canvas& c) { c.MoveTo(3, 4); c.LineTo(57, 29); }},
        {"steep line", 1, PenStyle::Solid, [](winforms::Canvas& c) { c.MoveTo(50, 2); c.LineTo(41, 38); }},
        {"wide line", 5, PenStyle::Solid, [](winforms::Canvas& c) { c.MoveTo(5, 30); c.LineTo(55, 6); }},
        {"dotted line", 1, PenStyle::Dot, [](winforms::Canvas& c) { c.MoveTo(0, 20); c.LineTo(60, 21); }},
        {"rectangle", 1, PenStyle::Solid, [](winforms::Canvas& c) { c.Rectangle(8, 6, 44, 33); }},
        {"polyline", 1, PenStyle::Dash,
         [](winforms::Canvas& c) {
             const POINT p[] = {{2, 2}, {50, 10}, {20, 35}, {2, 2}};
             c.Polyline(p);
         }},
        {"cross-hair", 1, PenStyle::Solid,
         [](winforms::Canvas& c) {
             c.MoveTo(0, 17);
             c.LineTo(60, 17);
             c.MoveTo(31, 0);
             c.LineTo(31, 40);
         }},
    };
    for (const Figure& f : figures) {
        SCOPED_TRACE(f.name);
        Bitmap bitmap(60, 40);
        winforms::Canvas& canvas = bitmap.GetCanvas();
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) canvas.SetPixel(x, y, RGB(x * 4, y * 6, (x * y) & 0xFF));
        const std::vector<uint8_t> before = AllBytes(bitmap);
        canvas.GetPen().SetColor(RGB(0x12, 0xC4, 0x7E));
        canvas.GetPen().SetWidth(f.width);
        canvas.GetPen().SetStyle(f.style);
        canvas.GetPen().SetMode(PenMode::NotXor);
        canvas.GetBrush().SetStyle(winforms::BrushStyle::Clear);
        f.draw(canvas);
        EXPECT_NE(AllBytes(bitmap), before) << "the figure drew nothing";
        f.draw(canvas);
        EXPECT_EQ(AllBytes(bitmap), before);
    }
}

}  // namespace
