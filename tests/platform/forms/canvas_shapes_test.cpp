// Filled shapes on a canvas against references the tests work out themselves: ellipses and arcs
// from the implicit equation of the ellipse at pixel centres, polygons from counting crossings of
// a ray from each pixel centre, rectangles from their box.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pixel_grid.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace {

using formstest::Grid;
using formstest::GridOf;
using formstest::RgbAt;
using winforms::Bitmap;
using winforms::BrushStyle;
using winforms::Canvas;
using winforms::PenStyle;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kPen = 0x000000;
constexpr uint32_t kFill = 0xFF0000;  // red, as 0xRRGGBB

void UsePenAndBrush(Canvas& canvas) {
    canvas.GetPen().SetColor(RGB(0, 0, 0));
    canvas.GetBrush().SetColor(RGB(255, 0, 0));
}

// The ellipse inscribed in [left, right) x [top, bottom) covers the pixels whose centres satisfy
// ((x + 1/2 - cx) / a)^2 + ((y + 1/2 - cy) / b)^2 <= 1, in whole numbers after doubling.
struct EllipseReference {
    int64_t left, top, right, bottom;
    bool covers(int64_t x, int64_t y) const {
        const int64_t w = right - left;
        const int64_t h = bottom - top;
        if (w <= 0 || h <= 0) return false;
        const int64_t u = 2 * (x - left) + 1 - w;
        const int64_t v = 2 * (y - top) + 1 - h;
        return u * u * h * h + v * v * w * w <= w * w * h * h;
    }
    bool edge(int64_t x, int64_t y) const {
        return covers(x, y) && (!covers(x - 1, y) || !covers(x + 1, y) || !covers(x, y - 1) || !covers(x, y + 1));
    }
};

struct Box {
    int left, top, right, bottom;
};

TEST(CanvasShapes, EllipsesMatchTheImplicitEquation) {
    const Box boxes[] = {{2, 2, 22, 22}, {1, 3, 24, 12}, {3, 1, 9, 24}, {5, 5, 6, 6},
                         {4, 4, 6, 6},   {0, 0, 25, 25}, {2, 7, 20, 8}, {10, 2, 13, 20}};
    for (const Box& b : boxes) {
        SCOPED_TRACE(testing::Message() << b.left << "," << b.top << " " << b.right << "," << b.bottom);
        Bitmap bitmap(26, 26);
        UsePenAndBrush(bitmap.GetCanvas());
        bitmap.GetCanvas().Ellipse(b.left, b.top, b.right, b.bottom);
        const EllipseReference e{b.left, b.top, b.right, b.bottom};
        int mismatches = 0;
        for (int y = 0; y < 26; ++y) {
            for (int x = 0; x < 26; ++x) {
                const uint32_t expected = e.edge(x, y) ? kPen : e.covers(x, y) ? kFill : kWhite;
                if (RgbAt(bitmap, x, y) != expected && ++mismatches <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << RgbAt(bitmap, x, y)
                                  << " not " << expected;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// Without a pen the brush fills the ellipse of the box one pixel narrower and lower, as it does
// for a rectangle.
TEST(CanvasShapes, AnEllipseWithoutPenIsOnePixelSmaller) {
    Bitmap bitmap(20, 20);
    UsePenAndBrush(bitmap.GetCanvas());
    bitmap.GetCanvas().GetPen().SetStyle(PenStyle::Clear);
    bitmap.GetCanvas().Ellipse(2, 3, 17, 15);
    const EllipseReference e{2, 3, 16, 14};
    EXPECT_EQ(Grid(bitmap), GridOf(20, 20, [&](int x, int y) { return e.covers(x, y); }));
}

// The sweep of an arc runs counter-clockwise on the screen from the start ray to the end ray, both
// from the box's centre; the reference takes the angles with atan2 (y turned upwards).
TEST(CanvasShapes, ArcsKeepTheOutlineInsideTheirSweep) {
    struct ArcCase {
        const char* name;
        Box box;
        POINT start, end;
    };
    const ArcCase cases[] = {
        {"upper right quarter", {2, 2, 27, 27}, {40, 13}, {13, -20}},
        {"the long way round", {2, 2, 27, 27}, {13, -20}, {40, 13}},
        {"lower half, wide box", {1, 5, 29, 22}, {-40, 12}, {50, 14}},
        {"a narrow sliver", {3, 3, 26, 26}, {40, 9}, {40, 5}},
        {"equal rays: all of it", {3, 4, 25, 23}, {40, 1}, {40, 1}},
    };
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap bitmap(30, 30);
        UsePenAndBrush(bitmap.GetCanvas());
        bitmap.GetCanvas().Arc(c.box.left, c.box.top, c.box.right, c.box.bottom, c.start.x, c.start.y, c.end.x,
                               c.end.y);
        const EllipseReference e{c.box.left, c.box.top, c.box.right, c.box.bottom};
        const double cx = (c.box.left + c.box.right) / 2.0;
        const double cy = (c.box.top + c.box.bottom) / 2.0;
        auto angle = [&](double x, double y) { return std::atan2(cy - y, x - cx); };
        const double a0 = angle(c.start.x, c.start.y);
        double sweep = std::remainder(angle(c.end.x, c.end.y) - a0, 2 * M_PI);
        if (sweep <= 0) sweep += 2 * M_PI;
        auto inSweep = [&](int x, int y) {
            double a = std::remainder(angle(x + 0.5, y + 0.5) - a0, 2 * M_PI);
            if (a < 0) a += 2 * M_PI;
            return a <= sweep;
        };
        const auto expected = GridOf(30, 30, [&](int x, int y) { return e.edge(x, y) && inSweep(x, y); });
        EXPECT_EQ(Grid(bitmap), expected);
    }
}

// Pie fills the inside of its sweep and Chord the inside on the arc's side of the line between
// the arc's ends; neither reaches outside the ellipse.
TEST(CanvasShapes, PieAndChordFillTheirPart) {
    const Box box{2, 2, 28, 28};
    const EllipseReference e{box.left, box.top, box.right, box.bottom};
    {
        Bitmap bitmap(30, 30);
        UsePenAndBrush(bitmap.GetCanvas());
        bitmap.GetCanvas().Pie(box.left, box.top, box.right, box.bottom, 40, 15, 15, -10);  // upper right quarter
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (RgbAt(bitmap, x, y) != kFill) continue;
                EXPECT_TRUE(e.covers(x, y)) << x << "," << y;
                EXPECT_TRUE(x >= 14 && y <= 15) << x << "," << y;
            }
        }
        EXPECT_EQ(RgbAt(bitmap, 20, 10), kFill);
        EXPECT_EQ(RgbAt(bitmap, 8, 10), kWhite);
        EXPECT_EQ(RgbAt(bitmap, 20, 20), kWhite);
    }
    {
        Bitmap bitmap(30, 30);
        UsePenAndBrush(bitmap.GetCanvas());
        bitmap.GetCanvas().Chord(box.left, box.top, box.right, box.bottom, 40, 15, -10, 15);  // upper half
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (RgbAt(bitmap, x, y) != kFill) continue;
                EXPECT_TRUE(e.covers(x, y) && y < 15) << x << "," << y;
            }
        }
        EXPECT_EQ(RgbAt(bitmap, 15, 8), kFill);
        EXPECT_EQ(RgbAt(bitmap, 15, 20), kWhite);
    }
}

struct Vertex {
    int64_t x, y;
};

// Whether the centre of pixel (x, y) is inside: crossings of the ray to its right, counted with
// the outline's direction for the winding rule. Doubled coordinates keep everything whole.
bool InsidePolygon(const std::vector<Vertex>& points, bool winding, int x, int y) {
    const int64_t px = 2 * int64_t{x} + 1;
    const int64_t py = 2 * int64_t{y} + 1;
    int count = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        Vertex a{2 * points[i].x, 2 * points[i].y};
        Vertex b{2 * points[(i + 1) % points.size()].x, 2 * points[(i + 1) % points.size()].y};
        int direction = 1;
        if (a.y > b.y) {
            std::swap(a, b);
            direction = -1;
        }
        if (py < a.y || py >= b.y) continue;
        // The crossing lies right of the centre: px < a.x + (py - a.y) (b.x - a.x) / (b.y - a.y).
        if ((px - a.x) * (b.y - a.y) < (py - a.y) * (b.x - a.x)) count += winding ? direction : 1;
    }
    return winding ? count != 0 : count % 2 != 0;
}

TEST(CanvasShapes, PolygonsFollowTheFillRule) {
    struct PolygonCase {
        const char* name;
        std::vector<Vertex> points;
    };
    const PolygonCase cases[] = {
        {"pentagram", {{15, 1}, {24, 28}, {1, 10}, {29, 10}, {6, 28}}},
        {"triangle", {{2, 2}, {27, 9}, {8, 26}}},
        {"doubled square", {{3, 3}, {20, 3}, {20, 20}, {3, 20}, {3, 3}, {26, 6}, {26, 26}, {6, 26}, {6, 6}, {26, 6}}},
        {"bow tie", {{2, 2}, {27, 27}, {27, 2}, {2, 27}}},
    };
    for (const PolygonCase& c : cases) {
        for (const bool winding : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (winding ? " winding" : " alternate"));
            Bitmap bitmap(30, 30);
            Canvas& canvas = bitmap.GetCanvas();
            UsePenAndBrush(canvas);
            canvas.GetPen().SetStyle(PenStyle::Clear);
            canvas.SetFillRule(winding ? winforms::FillRule::Winding : winforms::FillRule::Alternate);
            std::vector<POINT> points;
            for (const Vertex& v : c.points) points.push_back(POINT{static_cast<LONG>(v.x), static_cast<LONG>(v.y)});
            canvas.Polygon(points);
            EXPECT_EQ(Grid(bitmap), GridOf(30, 30, [&](int x, int y) { return InsidePolygon(c.points, winding, x, y); }));
        }
    }
    // The rule matters where the outline crosses itself: the pentagram's middle.
    Bitmap alternate(30, 30), winding(30, 30);
    const POINT star[] = {{15, 1}, {24, 28}, {1, 10}, {29, 10}, {6, 28}};
    for (Bitmap* b : {&alternate, &winding}) {
        UsePenAndBrush(b->GetCanvas());
        b->GetCanvas().SetFillRule(b == &winding ? winforms::FillRule::Winding : winforms::FillRule::Alternate);
        b->GetCanvas().Polygon(star);
    }
    EXPECT_EQ(RgbAt(alternate, 15, 15), kWhite);
    EXPECT_EQ(RgbAt(winding, 15, 15), kFill);
}

// A polygon's outline goes round every vertex once, the closing edge included: with XOR a corner
// drawn twice would vanish.
TEST(CanvasShapes, APolygonOutlineDrawsEveryVertexOnce) {
    Bitmap bitmap(12, 12);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.GetPen().SetMode(winforms::PenMode::Xor);
    canvas.GetPen().SetColor(RGB(255, 255, 255));
    canvas.GetBrush().SetStyle(BrushStyle::Clear);
    const POINT square[] = {{2, 2}, {9, 2}, {9, 9}, {2, 9}};
    canvas.Polygon(square);
    EXPECT_EQ(Grid(bitmap), GridOf(12, 12, [](int x, int y) {
                  const bool onX = (x == 2 || x == 9) && y >= 2 && y <= 9;
                  const bool onY = (y == 2 || y == 9) && x >= 2 && x <= 9;
                  return onX || onY;
              }));
}

TEST(CanvasShapes, RectanglesLeaveOutTheRightAndBottomEdge) {
    Bitmap bitmap(10, 8);
    UsePenAndBrush(bitmap.GetCanvas());
    bitmap.GetCanvas().Rectangle(1, 1, 8, 6);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inBox = x >= 1 && x < 8 && y >= 1 && y < 6;
            const bool border = inBox && (x == 1 || x == 7 || y == 1 || y == 5);
            EXPECT_EQ(RgbAt(bitmap, x, y), border ? kPen : inBox ? kFill : kWhite) << x << "," << y;
        }
    }
}

TEST(CanvasShapes, FillRectAndFrameRectUseTheBrushAlone) {
    Bitmap bitmap(10, 8);
    Canvas& canvas = bitmap.GetCanvas();
    UsePenAndBrush(canvas);
    canvas.GetPen().SetMode(winforms::PenMode::Xor);  // FillRect copies whatever the pen mode
    canvas.FillRect(RECT{1, 1, 5, 4});
    canvas.GetBrush().SetColor(RGB(0, 0, 255));
    canvas.FrameRect(RECT{5, 3, 9, 8});
    EXPECT_EQ(Grid(bitmap), (std::vector<std::string>{"..........", ".####.....", ".####.....", ".########.",
                                                       ".....#..#.", ".....#..#.", ".....#..#.", ".....####."}));
    EXPECT_EQ(RgbAt(bitmap, 2, 2), kFill);
    EXPECT_EQ(RgbAt(bitmap, 6, 7), 0x0000FFu);
    EXPECT_EQ(RgbAt(bitmap, 6, 5), kWhite);
}

// The clip rectangle keeps drawing inside it, and an empty one lifts it.
TEST(CanvasShapes, TheClipRectangleBoundsDrawing) {
    Bitmap bitmap(12, 6);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetClipRect(RECT{3, 1, 8, 5});
    const RECT clip = canvas.ClipRect();
    EXPECT_EQ(clip.left, 3);
    EXPECT_EQ(clip.top, 1);
    EXPECT_EQ(clip.right, 8);
    EXPECT_EQ(clip.bottom, 5);
    canvas.GetBrush().SetColor(RGB(0, 0, 0));
    canvas.FillRect(RECT{0, 0, 12, 6});
    EXPECT_EQ(Grid(bitmap), GridOf(12, 6, [](int x, int y) { return x >= 3 && x < 8 && y >= 1 && y < 5; }));
    canvas.SetClipRect(RECT{0, 0, 0, 0});
    canvas.FillRect(RECT{0, 0, 12, 6});
    EXPECT_EQ(Grid(bitmap), GridOf(12, 6, [](int, int) { return true; }));
}

}  // namespace
