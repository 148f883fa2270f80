// The recording canvas logs each drawing call as one line with the pen and brush it draws with,
// in pixel coordinates, and can draw the same onto its bitmap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixel_grid.h"
#include "winforms/recording_canvas.h"

namespace {

using winforms::BrushStyle;
using winforms::PenMode;
using winforms::PenStyle;
using winforms::RecordingCanvas;

TEST(RecordingCanvas, EachCallIsOneLineWithItsTools) {
    RecordingCanvas canvas;
    canvas.MoveTo(10, 20);
    canvas.GetPen().SetColor(RGB(255, 0, 0));
    canvas.LineTo(30, 20);
    canvas.GetPen().SetWidth(3);
    canvas.GetPen().SetStyle(PenStyle::Dot);
    canvas.GetPen().SetMode(PenMode::NotXor);
    canvas.GetBrush().SetStyle(BrushStyle::Clear);
    canvas.Rectangle(0, 0, 40, 30);
    const POINT points[] = {{1, 2}, {3, 4}, {5, 6}};
    canvas.GetPen().SetWidth(1);
    canvas.GetPen().SetStyle(PenStyle::Solid);
    canvas.GetPen().SetMode(PenMode::Copy);
    canvas.Polyline(points);
    canvas.GetBrush().SetStyle(BrushStyle::BDiagonal);
    canvas.GetBrush().SetColor(RGB(0, 0, 255));
    canvas.SetFillRule(winforms::FillRule::Winding);
    canvas.Polygon(points);
    canvas.Ellipse(2, 3, 12, 13);
    canvas.Arc(0, 0, 10, 10, 10, 5, 5, 0);
    canvas.SetPixel(7, 8, RGB(1, 2, 3));
    canvas.FillRect(RECT{1, 1, 4, 4});
    const std::vector<std::string> expected = {
        "LineTo 10,20 -> 30,20 pen 000000ff w1 solid copy",
        "Rectangle 0,0 40,30 pen 000000ff w3 dot notxor brush clear",
        "Polyline 1,2 3,4 5,6 pen 000000ff w1 solid copy",
        "Polygon 1,2 3,4 5,6 winding pen 000000ff w1 solid copy brush 00ff0000 bdiagonal",
        "Ellipse 2,3 12,13 pen 000000ff w1 solid copy brush 00ff0000 bdiagonal",
        "Arc 0,0 10,10 10,5 5,0 pen 000000ff w1 solid copy",
        "SetPixel 7,8 00030201",
        "FillRect 1,1 4,4 brush 00ff0000 bdiagonal",
    };
    EXPECT_EQ(canvas.Lines(), expected);
    EXPECT_EQ(canvas.Count("Polyline"), 1u);
    EXPECT_EQ(canvas.Count("Poly"), 0u) << "a call's name is matched whole";
    EXPECT_EQ(canvas.Count("MoveTo"), 0u) << "moves make no line";
    EXPECT_EQ(canvas.Target().Width(), 0) << "recording only: no bitmap";
}

// Lines follow the pen position: a LineTo starts where the last one ended.
TEST(RecordingCanvas, LinesStartAtThePenPosition) {
    RecordingCanvas canvas;
    canvas.MoveTo(1, 1);
    canvas.LineTo(5, 1);
    canvas.LineTo(5, 9);
    canvas.MoveTo(0, 0);
    canvas.LineTo(2, 2);
    ASSERT_EQ(canvas.Count("LineTo"), 3u);
    EXPECT_EQ(canvas.Lines()[1].substr(0, 19), "LineTo 5,1 -> 5,9 p");
    EXPECT_EQ(canvas.Lines()[2].substr(0, 19), "LineTo 0,0 -> 2,2 p");
    canvas.Clear();
    EXPECT_TRUE(canvas.Lines().empty());
}

// With a bitmap the calls draw too, exactly as a plain canvas would.
TEST(RecordingCanvas, WithABitmapItAlsoDraws) {
    RecordingCanvas canvas(8, 4);
    canvas.GetPen().SetColor(RGB(0, 0, 0));
    canvas.MoveTo(1, 1);
    canvas.LineTo(6, 1);
    canvas.SetPixel(7, 3, RGB(0, 0, 0));
    EXPECT_EQ(formstest::Grid(canvas.Target()),
              (std::vector<std::string>{"........", ".#####..", "........", ".......#"}));
    EXPECT_EQ(canvas.Lines().size(), 2u);
}

TEST(RecordingCanvas, TextLinesNameTheFont) {
    RecordingCanvas canvas;
    canvas.GetFont().SetName("Arial");
    canvas.GetFont().SetHeight(-13);
    canvas.GetFont().SetColor(RGB(0, 128, 0));
    canvas.GetBrush().SetStyle(BrushStyle::Clear);
    canvas.TextOut(5, 6, "Ahoj");
    canvas.TextRect(RECT{0, 0, 20, 10}, 1, 2, "x");
    const std::vector<std::string> expected = {
        "TextOut 5,6 \"Ahoj\" font \"Arial\" -13 00008000 brush clear",
        "TextRect 0,0 20,10 1,2 \"x\" font \"Arial\" -13 00008000 brush clear",
    };
    EXPECT_EQ(canvas.Lines(), expected);
}

}  // namespace
