// Text, bitmaps and copies on a canvas: the brush behind text fills exactly the text's cell, text
// in a rectangle stays inside it, and bitmaps are drawn whole, stretched, through the copy mode or
// with their transparent colour left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixel_grid.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"
#include "winplat/testing.h"

namespace {

using formstest::Grid;
using formstest::GridOf;
using formstest::RgbAt;
using winforms::Bitmap;
using winforms::BrushStyle;
using winforms::Canvas;

// The smallest box holding every pixel that is not white; empty when none is.
RECT Marked(const Bitmap& bitmap) {
    RECT box{bitmap.Width(), bitmap.Height(), 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (RgbAt(bitmap, x, y) == 0xFFFFFF) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

class CanvasText : public testing::Test {
protected:
    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
};

// Over a solid brush the text's whole cell takes the brush colour, glyphs in the font colour; the
// pen position moves to the end of the text.
TEST_F(CanvasText, TextOverASolidBrushFillsItsCell) {
    Bitmap bitmap(80, 30);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.GetFont().SetHeight(-20);
    canvas.GetFont().SetColor(RGB(0, 0, 255));
    canvas.GetBrush().SetColor(RGB(255, 255, 0));
    const SIZE extent = canvas.TextExtent("Hm");
    ASSERT_GT(extent.cx, 0);
    ASSERT_GT(extent.cy, 0);
    canvas.TextOut(5, 4, "Hm");
    const RECT box = Marked(bitmap);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.right, 5 + extent.cx);
    EXPECT_EQ(box.bottom, 4 + extent.cy);
    EXPECT_EQ(canvas.PenPos().x, 5 + extent.cx);
    EXPECT_EQ(canvas.PenPos().y, 4);
    int glyph = 0, brush = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            glyph += RgbAt(bitmap, x, y) == 0x0000FF;
            brush += RgbAt(bitmap, x, y) == 0xFFFF00;
        }
    }
    EXPECT_GT(glyph, 0);
    EXPECT_GT(brush, 0);
    EXPECT_EQ(glyph + brush, extent.cx * extent.cy);
}

// Over a clear brush only the glyphs are drawn.
TEST_F(CanvasText, TextOverAClearBrushDrawsOnlyGlyphs) {
    Bitmap bitmap(80, 30);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.GetFont().SetHeight(-20);
    canvas.GetBrush().SetStyle(BrushStyle::Clear);
    canvas.TextOut(5, 4, "Hm");
    const SIZE extent = canvas.TextExtent("Hm");
    int marked = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            const uint32_t c = RgbAt(bitmap, x, y);
            EXPECT_TRUE(c == 0xFFFFFF || c == 0x000000) << x << "," << y;
            marked += c == 0;
        }
    }
    EXPECT_GT(marked, 0);
    EXPECT_LT(marked, extent.cx * extent.cy);
}

// Widths add up over the characters, and the height is the cell's whatever the text.
TEST_F(CanvasText, ExtentsAddUp) {
    Bitmap bitmap(4, 4);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.GetFont().SetHeight(-20);
    EXPECT_EQ(canvas.TextWidth("mmi"), 2 * canvas.TextWidth("m") + canvas.TextWidth("i"));
    EXPECT_GT(canvas.TextWidth("m"), canvas.TextWidth("i"));
    EXPECT_EQ(canvas.TextHeight("m"), canvas.TextHeight("i"));
    EXPECT_EQ(canvas.TextWidth(""), 0);
    // A larger font measures larger.
    const int small = canvas.TextWidth("m");
    canvas.GetFont().SetSize(30);
    EXPECT_GT(canvas.TextWidth("m"), small);
}

// TextRect keeps everything inside its rectangle, the brush filling the rectangle first.
TEST_F(CanvasText, TextRectStaysInsideItsRectangle) {
    Bitmap bitmap(60, 30);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.GetFont().SetHeight(-24);
    canvas.GetBrush().SetColor(RGB(0, 255, 0));
    const RECT rect{10, 8, 30, 20};
    canvas.TextRect(rect, 4, 2, "MWMWMW");
    EXPECT_EQ(Grid(bitmap), GridOf(60, 30, [&](int x, int y) {
                  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
              }));
    int glyph = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) glyph += RgbAt(bitmap, x, y) == 0x000000;
    EXPECT_GT(glyph, 0);
}

// A picture of four coloured quarters, 4 x 4.
Bitmap Quarters() {
    Bitmap b(4, 4);
    Canvas& c = b.GetCanvas();
    const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255)};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) c.SetPixel(x, y, colours[(y / 2) * 2 + x / 2]);
    return b;
}

TEST(CanvasBitmaps, DrawAndStretchDrawPlaceEveryPixel) {
    const Bitmap picture = Quarters();
    Bitmap target(12, 10);
    target.GetCanvas().Draw(1, 2, picture);
    target.GetCanvas().StretchDraw(RECT{5, 1, 13, 9}, picture);  // twice the size, cut at the right edge
    const uint32_t q[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF};
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            uint32_t expected = 0xFFFFFF;
            if (x >= 1 && x < 5 && y >= 2 && y < 6) expected = q[((y - 2) / 2) * 2 + (x - 1) / 2];
            if (x >= 5 && y >= 1 && y < 9) expected = q[((y - 1) / 4) * 2 + (x - 5) / 4];
            EXPECT_EQ(RgbAt(target, x, y), expected) << x << "," << y;
        }
    }
}

// A transparent bitmap leaves the pixels of its transparent colour (by default its bottom-left
// pixel's) alone, and draws the others whatever lies below.
TEST(CanvasBitmaps, TransparentBitmapsLeaveTheirTransparentColourOut) {
    Bitmap sprite(3, 3);
    Canvas& s = sprite.GetCanvas();
    s.GetBrush().SetColor(RGB(0, 255, 0));
    s.FillRect(RECT{0, 0, 3, 3});
    s.SetPixel(1, 1, RGB(255, 0, 0));
    s.SetPixel(2, 0, RGB(0, 0, 0));
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentColor(), RGB(0, 255, 0));
    Bitmap target(5, 5);
    Canvas& t = target.GetCanvas();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) t.SetPixel(x, y, RGB(10 * x, 20 * y, 99));
    t.Draw(1, 1, sprite);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            uint32_t expected = static_cast<uint32_t>((10 * x) << 16 | (20 * y) << 8 | 99);
            if (x == 2 && y == 2) expected = 0xFF0000;
            if (x == 3 && y == 1) expected = 0x000000;
            EXPECT_EQ(RgbAt(target, x, y), expected) << x << "," << y;
        }
    }
    // Not transparent: the whole sprite is copied.
    sprite.SetTransparent(false);
    t.Draw(1, 1, sprite);
    EXPECT_EQ(RgbAt(target, 1, 1), 0x00FF00u);
}

// CopyRect goes through the copy mode: SRCINVERT twice gives the destination back.
TEST(CanvasBitmaps, CopyRectUsesTheCopyMode) {
    const Bitmap picture = Quarters();
    Bitmap target(6, 6);
    Canvas& t = target.GetCanvas();
    t.GetBrush().SetColor(RGB(0x20, 0x40, 0x60));
    t.FillRect(RECT{0, 0, 6, 6});
    const std::vector<uint8_t> before = formstest::AllBytes(target);
    t.SetCopyMode(SRCINVERT);
    t.CopyRect(RECT{1, 1, 5, 5}, const_cast<Bitmap&>(picture).GetCanvas(), RECT{0, 0, 4, 4});
    EXPECT_EQ(RgbAt(target, 1, 1), 0x204060u ^ 0xFF0000u);
    EXPECT_EQ(RgbAt(target, 0, 0), 0x204060u);
    t.CopyRect(RECT{1, 1, 5, 5}, const_cast<Bitmap&>(picture).GetCanvas(), RECT{0, 0, 4, 4});
    EXPECT_EQ(formstest::AllBytes(target), before);
}

// Changing a pen while the DC holds its old object, and changing formats, keeps drawing right.
TEST(CanvasBitmaps, ToolsAndFormatsChangeBetweenDrawings) {
    Bitmap bitmap(6, 2);
    Canvas& c = bitmap.GetCanvas();
    for (int i = 0; i < 6; ++i) {
        c.GetPen().SetColor(RGB(40 * i, 0, 0));
        c.MoveTo(i, 0);
        c.LineTo(i, 1);
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(RgbAt(bitmap, i, 0), static_cast<uint32_t>(40 * i) << 16) << i;
    // Width, style and brush changes after a first drawing take effect at the next one.
    Bitmap tools(9, 9);
    Canvas& t = tools.GetCanvas();
    t.MoveTo(0, 0);
    t.LineTo(1, 0);
    t.GetPen().SetWidth(5);
    t.MoveTo(4, 4);
    t.LineTo(5, 4);
    t.GetPen().SetStyle(winforms::PenStyle::Clear);
    t.GetBrush().SetColor(RGB(0, 0, 255));
    t.Rectangle(7, 7, 9, 9);
    EXPECT_EQ(formstest::Grid(tools, 0xFFFFFF),
              (std::vector<std::string>{"#........", ".........", "...####..", "..######.", "..######.",
                                        "..######.", "...####..", ".......#.", "........."}));
    ASSERT_TRUE(bitmap.SetFormat(winforms::PixelFormat::Bits1));
    ASSERT_TRUE(bitmap.SetFormat(winforms::PixelFormat::Bits24));
    EXPECT_EQ(RgbAt(bitmap, 0, 0), 0x000000u);
    EXPECT_EQ(RgbAt(bitmap, 5, 1), 0xFFFFFFu);
    ASSERT_TRUE(bitmap.SetSize(8, 3));  // grows: the old pixels stay, the new ones are white
    EXPECT_EQ(RgbAt(bitmap, 0, 0), 0x000000u);
    EXPECT_EQ(RgbAt(bitmap, 7, 2), 0xFFFFFFu);
    c.GetPen().SetColor(RGB(0, 0, 255));
    c.MoveTo(7, 0);
    c.LineTo(7, 3);
    EXPECT_EQ(RgbAt(bitmap, 7, 2), 0x0000FFu);
}

}  // namespace
