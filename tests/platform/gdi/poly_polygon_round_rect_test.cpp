// PolyPolygon and RoundRect against pixel references worked out here from the shapes' geometry:
// a pixel is filled when its centre lies inside (for polygons: the crossings of a ray going left
// from the centre, counted by the fill mode; for round rectangles: inside the box and, in a
// corner, inside the corner ellipse). Fills go through the DC's binary raster operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "canvas.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/region.h"
#include "winplat/testing.h"

namespace {

using drawtest::Canvas;
using drawtest::ref;
using dibtest::Rgb;

constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kBlack = 0x000000;

using Ring = std::vector<POINT>;

// The winding number of the outline round the centre of pixel (x, y): the edges crossing the
// centre's row at or left of the centre, +1 running down, -1 running up (the crossing count is
// its parity). A centre on an edge is inside on the edge's right.
struct Crossings {
    int winding = 0;
    int count = 0;
};

Crossings crossingsAt(const std::vector<Ring>& rings, int x, int y) {
    const double cx = x + 0.5, cy = y + 0.5;
    Crossings c;
    for (const Ring& ring : rings) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const POINT a = ring[i], b = ring[(i + 1) % ring.size()];
            const bool down = a.y < b.y;
            const double top = down ? a.y : b.y, bottom = down ? b.y : a.y;
            if (!(top < cy && cy < bottom)) continue;
            const double atX = a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y);
            if (atX > cx) continue;
            c.winding += down ? 1 : -1;
            c.count += 1;
        }
    }
    return c;
}

bool insidePolygons(const std::vector<Ring>& rings, int mode, int x, int y) {
    const Crossings c = crossingsAt(rings, x, y);
    return mode == WINDING ? c.winding != 0 : c.count % 2 == 1;
}

std::vector<POINT> joined(const std::vector<Ring>& rings, std::vector<INT>& counts) {
    std::vector<POINT> all;
    counts.clear();
    for (const Ring& ring : rings) {
        all.insert(all.end(), ring.begin(), ring.end());
        counts.push_back(static_cast<INT>(ring.size()));
    }
    return all;
}

// Clockwise on the screen (y down) and the other way round.
Ring square(int left, int top, int right, int bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}
Ring reversed(Ring ring) { return Ring(ring.rbegin(), ring.rend()); }

struct PolyCase {
    const char* name;
    std::vector<Ring> rings;
};

const PolyCase kPolyCases[] = {
    {"a hole running with the outer ring", {square(2, 2, 22, 18), square(7, 6, 16, 13)}},
    {"a hole running against the outer ring", {square(2, 2, 22, 18), reversed(square(7, 6, 16, 13))}},
    {"two overlapping squares the same way", {square(1, 1, 14, 12), square(8, 6, 23, 19)}},
    {"two overlapping squares opposite ways", {square(1, 1, 14, 12), reversed(square(8, 6, 23, 19))}},
    {"a self-crossing star beside a triangle", {{{8, 1}, {13, 17}, {1, 6}, {15, 6}, {3, 17}}, {{16, 3}, {23, 19}, {17, 15}}}},
    {"three nested rings, the middle one reversed",
     {square(1, 1, 23, 19), reversed(square(4, 4, 20, 16)), square(8, 7, 16, 13)}},
};

class PolyPolygonFill : public ::testing::TestWithParam<std::tuple<PolyCase, int>> {};

// With the null pen only the brush's pixels change: exactly those of the reference.
TEST_P(PolyPolygonFill, FillsThePixelsTheFillModeCountsInside) {
    const auto& [c, mode] = GetParam();
    Canvas canvas(25, 21, 32);
    ASSERT_TRUE(canvas.ok());
    canvas.fill(kWhite);
    HBRUSH red = CreateSolidBrush(ref(kRed));
    SelectObject(canvas.dc(), red);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    SetPolyFillMode(canvas.dc(), mode);
    std::vector<INT> counts;
    const std::vector<POINT> all = joined(c.rings, counts);
    EXPECT_TRUE(PolyPolygon(canvas.dc(), all.data(), counts.data(), static_cast<int>(counts.size())));
    int filled = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = insidePolygons(c.rings, mode, x, y);
            filled += inside;
            EXPECT_EQ(canvas.at(x, y), inside ? kRed : kWhite) << "at (" << x << ", " << y << ")";
        }
    }
    EXPECT_GT(filled, 0);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

INSTANTIATE_TEST_SUITE_P(Rings, PolyPolygonFill,
                         ::testing::Combine(::testing::ValuesIn(kPolyCases), ::testing::Values(ALTERNATE, WINDING)),
                         [](const auto& info) {
                             std::string name = std::get<1>(info.param) == WINDING ? "winding_" : "alternate_";
                             for (const char* p = std::get<0>(info.param).name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// The rule that decides holes, pinned on the pixel at the middle of an inner ring.
TEST(PolyPolygon, UnderWindingAHoleExistsOnlyWhereTheWindingNumbersCancel) {
    struct Row {
        bool reverseInner;
        int mode;
        Rgb middle;
    } const rows[] = {
        {false, WINDING, kRed},  {true, WINDING, kWhite},
        {false, ALTERNATE, kWhite}, {true, ALTERNATE, kWhite},
    };
    for (const Row& row : rows) {
        Canvas canvas(24, 20, 32);
        canvas.fill(kWhite);
        HBRUSH red = CreateSolidBrush(ref(kRed));
        SelectObject(canvas.dc(), red);
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
        SetPolyFillMode(canvas.dc(), row.mode);
        const Ring inner = square(8, 6, 16, 14);
        std::vector<INT> counts;
        const std::vector<POINT> all = joined({square(2, 2, 22, 18), row.reverseInner ? reversed(inner) : inner}, counts);
        PolyPolygon(canvas.dc(), all.data(), counts.data(), 2);
        EXPECT_EQ(canvas.at(12, 10), row.middle) << "reversed " << row.reverseInner << " mode " << row.mode;
        EXPECT_EQ(canvas.at(4, 4), kRed);
        SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
        DeleteObject(red);
    }
}

// Each polygon is outlined closed: the pen lies on the edge from each ring's last point back to
// its first, and nowhere in the hole.
TEST(PolyPolygon, OutlinesEveryRingClosed) {
    Canvas canvas(24, 20, 32);
    canvas.fill(kWhite);
    SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    std::vector<INT> counts;
    const std::vector<POINT> all = joined({square(2, 2, 22, 18), square(8, 6, 16, 14)}, counts);
    EXPECT_TRUE(PolyPolygon(canvas.dc(), all.data(), counts.data(), 2));
    for (int y = 3; y < 18; ++y) EXPECT_EQ(canvas.at(2, y), kBlack) << y;  // outer: (2, 18) back to (2, 2)
    for (int y = 7; y < 14; ++y) EXPECT_EQ(canvas.at(8, y), kBlack) << y;  // inner: (8, 14) back to (8, 6)
    EXPECT_EQ(canvas.at(12, 10), kWhite);
    EXPECT_EQ(canvas.at(5, 10), kWhite);
}

TEST(PolyPolygon, RefusesPolygonsOfFewerThanTwoPoints) {
    Canvas canvas(10, 10, 32);
    canvas.fill(kWhite);
    winplat::testing::ScopedDebugAsserts quiet(false);
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    const POINT points[] = {{1, 1}, {8, 1}, {8, 8}, {1, 8}, {4, 4}, {6, 6}, {2, 7}};
    struct Row {
        std::vector<INT> counts;
        bool drawn;
    } const rows[] = {
        {{4, 1}, false}, {{4, 2}, true}, {{1}, false}, {{2}, true}, {{0, 4}, false}, {{4, -3}, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PolyPolygon(canvas.dc(), points, row.counts.data(), static_cast<int>(row.counts.size())) != FALSE,
                  row.drawn)
            << row.counts.size() << " polygons, the last of " << row.counts.back();
    }
    const INT four[] = {4};
    EXPECT_FALSE(PolyPolygon(canvas.dc(), points, four, 0));
    EXPECT_FALSE(PolyPolygon(canvas.dc(), points, nullptr, 1));
    EXPECT_FALSE(PolyPolygon(canvas.dc(), nullptr, four, 1));
    const POINT far[] = {{0, 0}, {1 << 28, 0}};
    const INT two[] = {2};
    EXPECT_FALSE(PolyPolygon(canvas.dc(), far, two, 1));
}

// The destination and the brush combined as the binary raster operation says, on fills of both
// calls; the destination holds two colours so that every operation changes something.
struct MixCase {
    int rop2;
    std::function<Rgb(Rgb, Rgb)> result;  // of destination and brush
};

const MixCase kMixes[] = {
    {R2_COPYPEN, [](Rgb, Rgb b) { return b; }},
    {R2_XORPEN, [](Rgb d, Rgb b) { return d ^ b; }},
    {R2_NOTXORPEN, [](Rgb d, Rgb b) { return ~(d ^ b) & 0xFFFFFF; }},
    {R2_MASKPEN, [](Rgb d, Rgb b) { return d & b; }},
    {R2_MERGEPEN, [](Rgb d, Rgb b) { return d | b; }},
    {R2_NOT, [](Rgb d, Rgb) { return ~d & 0xFFFFFF; }},
    {R2_NOP, [](Rgb d, Rgb) { return d; }},
};

void stripes(Canvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) canvas.set(x, y, (x / 3) % 2 ? 0x3C5A96 : 0xC3A569);
}

// A round rectangle's pixels with the null pen: the box one pixel narrower and lower, its
// corners cut by the corner ellipse. Pixel (x, y) relative to the box's top left.
bool insideRoundRect(int width, int height, int cornerWidth, int cornerHeight, int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const double cw = std::min(cornerWidth, width), ch = std::min(cornerHeight, height);
    if (cw == 0 || ch == 0) return true;
    // Twice the centre's offset from the nearer corner ellipse's centre, when in a corner.
    const double cx = 2 * x + 1, cy = 2 * y + 1;
    const double u = cx < cw ? cw - cx : cx > 2 * width - cw ? cx - (2 * width - cw) : 0;
    const double v = cy < ch ? ch - cy : cy > 2 * height - ch ? cy - (2 * height - ch) : 0;
    if (u == 0 || v == 0) return true;
    return u * u * ch * ch + v * v * cw * cw <= cw * cw * ch * ch;
}

TEST(FillMix, PolyPolygonAndRoundRectFillThroughTheRasterOperation) {
    for (const MixCase& mix : kMixes) {
        for (bool round : {false, true}) {
            SCOPED_TRACE(std::string(round ? "RoundRect" : "PolyPolygon") + " rop2 " + std::to_string(mix.rop2));
            Canvas canvas(24, 20, 32);
            stripes(canvas);
            Canvas before(24, 20, 32);
            stripes(before);
            HBRUSH brush = CreateSolidBrush(ref(0x5AF00F));
            SelectObject(canvas.dc(), brush);
            SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
            SetROP2(canvas.dc(), mix.rop2);
            const std::vector<Ring> rings = {square(2, 2, 22, 18), reversed(square(8, 6, 16, 14))};
            if (round) {
                EXPECT_TRUE(RoundRect(canvas.dc(), 2, 2, 23, 19, 8, 6));
            } else {
                SetPolyFillMode(canvas.dc(), WINDING);
                std::vector<INT> counts;
                const std::vector<POINT> all = joined(rings, counts);
                EXPECT_TRUE(PolyPolygon(canvas.dc(), all.data(), counts.data(), 2));
            }
            for (int y = 0; y < 20; ++y) {
                for (int x = 0; x < 24; ++x) {
                    const bool inside = round ? insideRoundRect(20, 16, 8, 6, x - 2, y - 2)
                                              : insidePolygons(rings, WINDING, x, y);
                    const Rgb d = before.at(x, y);
                    EXPECT_EQ(canvas.at(x, y), inside ? mix.result(d, 0x5AF00F) : d) << "at " << x << ", " << y;
                }
            }
            SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
            DeleteObject(brush);
        }
    }
}

struct RoundCase {
    int left, top, right, bottom, cornerWidth, cornerHeight;
};

const RoundCase kRoundCases[] = {
    {1, 1, 23, 19, 8, 6},  {2, 3, 21, 16, 7, 5},   {0, 0, 24, 20, 24, 20}, {3, 2, 20, 18, 40, 3},
    {1, 1, 12, 9, 1, 1},   {2, 2, 22, 18, 0, 10},  {22, 18, 2, 2, 9, 9},   {4, 4, 6, 14, 6, 6},
};

// The one-pixel pen outlines the covered pixels that have an uncovered neighbour left, right,
// above or below; the brush fills the rest.
TEST(RoundRect, OutlinesAndFillsTheBoxWithQuarterEllipseCorners) {
    for (const RoundCase& c : kRoundCases) {
        SCOPED_TRACE(std::to_string(c.left) + " " + std::to_string(c.top) + " " + std::to_string(c.right) + " " +
                     std::to_string(c.bottom) + " corners " + std::to_string(c.cornerWidth) + " x " +
                     std::to_string(c.cornerHeight));
        Canvas canvas(26, 22, 32);
        canvas.fill(kWhite);
        HBRUSH red = CreateSolidBrush(ref(kRed));
        SelectObject(canvas.dc(), red);
        SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
        EXPECT_TRUE(RoundRect(canvas.dc(), c.left, c.top, c.right, c.bottom, c.cornerWidth, c.cornerHeight));
        const int left = std::min(c.left, c.right), top = std::min(c.top, c.bottom);
        const int width = std::abs(c.right - c.left), height = std::abs(c.bottom - c.top);
        auto covered = [&](int x, int y) {
            return insideRoundRect(width, height, c.cornerWidth, c.cornerHeight, x - left, y - top);
        };
        for (int y = 0; y < 22; ++y) {
            for (int x = 0; x < 26; ++x) {
                Rgb expected = kWhite;
                if (covered(x, y)) {
                    const bool edge = !covered(x - 1, y) || !covered(x + 1, y) || !covered(x, y - 1) || !covered(x, y + 1);
                    expected = edge ? kBlack : kRed;
                }
                EXPECT_EQ(canvas.at(x, y), expected) << "at (" << x << ", " << y << ")";
            }
        }
        SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
        DeleteObject(red);
    }
}

// Square corners make the rectangle, corners the size of the box the ellipse: the same pixels as
// those calls draw with the same pen and brush.
TEST(RoundRect, SquareCornersAreTheRectangleAndWholeCornersTheEllipse) {
    struct Row {
        int cornerWidth, cornerHeight;
        bool ellipse;
    } const rows[] = {{0, 0, false}, {0, 7, false}, {5, 0, false}, {19, 14, true}, {60, 60, true}};
    HBRUSH grey = CreateSolidBrush(ref(0x808080));
    for (const Row& row : rows) {
        for (int pen : {NULL_PEN, BLACK_PEN}) {
            Canvas a(22, 18, 32), b(22, 18, 32);
            for (Canvas* c : {&a, &b}) {
                c->fill(kWhite);
                SelectObject(c->dc(), grey);
                SelectObject(c->dc(), GetStockObject(pen));
            }
            RoundRect(a.dc(), 2, 2, 21, 16, row.cornerWidth, row.cornerHeight);
            if (row.ellipse) {
                Ellipse(b.dc(), 2, 2, 21, 16);
            } else {
                Rectangle(b.dc(), 2, 2, 21, 16);
            }
            const std::map<Rgb, char> legend = {{kWhite, '.'}, {kBlack, '#'}, {0x808080, 'o'}};
            EXPECT_EQ(a.art(legend), b.art(legend)) << row.cornerWidth << " x " << row.cornerHeight << " pen " << pen;
            EXPECT_EQ(a.at(10, 9), 0x808080u);
            for (Canvas* c : {&a, &b}) SelectObject(c->dc(), GetStockObject(WHITE_BRUSH));
        }
    }
    DeleteObject(grey);
}

TEST(RoundRect, BoxesBeyondTheCoordinateRangeAreRefusedAndEmptyOnesDrawNothing) {
    Canvas canvas(8, 8, 32);
    canvas.fill(kWhite);
    winplat::testing::ScopedDebugAsserts quiet(false);
    EXPECT_FALSE(RoundRect(canvas.dc(), 0, 0, 1 << 28, 4, 2, 2));
    EXPECT_TRUE(RoundRect(canvas.dc(), 3, 3, 3, 7, 2, 2));
    EXPECT_EQ(canvas.at(3, 3), kWhite);
    EXPECT_EQ(canvas.at(3, 5), kWhite);
}

}  // namespace
