// Regions: shapes against pictures worked out pixel by pixel from their definitions, every combine
// mode against a boolean model, the canonical band form, hit tests, and the calls' refusals.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gdi/region.h"
#include "region_model.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using regiontest::inEllipse;
using regiontest::inPolygon;
using regiontest::PixelSet;
using regiontest::pixelsOf;
using winplat::OwnedRegion;
using winplat::gdi::DeviceRect;
using winplat::gdi::Region;

// The canonical form region.h promises: bands in order and apart, rectangles of a band sorted and
// apart, touching bands with different spans, no empty rectangle, the box around everything.
::testing::AssertionResult canonical(const Region& region) {
    const auto rects = region.rects();
    DeviceRect box{};
    for (size_t i = 0; i < rects.size(); ++i) {
        const DeviceRect& r = rects[i];
        if (r.empty()) return ::testing::AssertionFailure() << "empty rectangle " << i;
        box = i == 0 ? r
                     : DeviceRect{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                                  std::max(box.bottom, r.bottom)};
        if (i == 0) continue;
        const DeviceRect& p = rects[i - 1];
        if (p.top == r.top) {
            if (p.bottom != r.bottom) return ::testing::AssertionFailure() << "ragged band at " << i;
            if (p.right >= r.left) return ::testing::AssertionFailure() << "touching or unsorted at " << i;
        } else if (r.top < p.bottom) {
            return ::testing::AssertionFailure() << "overlapping bands at " << i;
        }
    }
    // Touching bands must differ in their spans.
    size_t first = 0;
    std::vector<std::pair<int, int>> previous;
    int previousBottom = INT32_MIN;
    while (first < rects.size()) {
        size_t end = first;
        std::vector<std::pair<int, int>> spans;
        for (; end < rects.size() && rects[end].top == rects[first].top; ++end)
            spans.emplace_back(rects[end].left, rects[end].right);
        if (rects[first].top == previousBottom && spans == previous)
            return ::testing::AssertionFailure() << "mergeable bands at row " << rects[first].top;
        previous = spans;
        previousBottom = rects[first].bottom;
        first = end;
    }
    if (!(box == region.bounds())) return ::testing::AssertionFailure() << "wrong bounds";
    const int kind = rects.empty() ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
    if (region.kind() != kind) return ::testing::AssertionFailure() << "wrong kind";
    return ::testing::AssertionSuccess();
}

PixelSet pixelsOf(const Region& region, int left, int top, int width, int height) {
    return PixelSet::of(left, top, width, height, [&](int x, int y) { return region.contains(x, y); });
}

// --- Ellipses -------------------------------------------------------------------------------------

struct Box {
    int left, top, right, bottom;
};

void PrintTo(const Box& b, std::ostream* out) {
    *out << b.left << "," << b.top << "," << b.right << "," << b.bottom;
}

class Ellipses : public ::testing::TestWithParam<Box> {};

TEST_P(Ellipses, CoverThePixelsWhoseCentresLieInside) {
    const Box b = GetParam();
    OwnedRegion region(CreateEllipticRgn(b.left, b.top, b.right, b.bottom));
    ASSERT_TRUE(region);
    // A window a few pixels larger than the box, so nothing outside it sneaks in.
    const int l = std::min(b.left, b.right) - 2, t = std::min(b.top, b.bottom) - 2;
    const int w = std::abs(b.right - b.left) + 4, h = std::abs(b.bottom - b.top) + 4;
    const PixelSet expected = PixelSet::of(l, t, w, h, [&](int x, int y) {
        return inEllipse(std::min(b.left, b.right), std::min(b.top, b.bottom), std::max(b.left, b.right),
                         std::max(b.top, b.bottom), x, y);
    });
    EXPECT_EQ(pixelsOf(region.get(), l, t, w, h), expected) << expected.picture();
    EXPECT_TRUE(canonical(Region::ellipse(DeviceRect{std::min(b.left, b.right), std::min(b.top, b.bottom),
                                                     std::max(b.left, b.right), std::max(b.top, b.bottom)})));
}

INSTANTIATE_TEST_SUITE_P(Sizes, Ellipses,
                         ::testing::Values(Box{0, 0, 1, 1}, Box{0, 0, 2, 2}, Box{0, 0, 3, 3}, Box{0, 0, 4, 4},
                                           Box{0, 0, 5, 5}, Box{3, 2, 10, 6}, Box{0, 0, 16, 16},
                                           Box{-7, -3, 13, 10}, Box{0, 0, 1, 9}, Box{0, 0, 9, 1},
                                           Box{0, 0, 2, 30}, Box{0, 0, 31, 2}, Box{0, 0, 40, 25},
                                           Box{10, 8, 2, 1} /* corners given the other way round */,
                                           Box{0, 0, 0, 5} /* no width: empty */));

TEST(Ellipse, SmallBoxesAsPictures) {
    // Hand-checked: a 4 x 4 box loses its corner pixels (their centres are 1.5 from the middle on
    // both axes, 2 * 1.5^2 > 2^2); a 6 x 3 box keeps the middle row whole.
    OwnedRegion four(CreateEllipticRgn(0, 0, 4, 4));
    EXPECT_EQ(pixelsOf(four.get(), 0, 0, 4, 4).picture(), ".##.\n####\n####\n.##.\n");
    OwnedRegion flat(CreateEllipticRgn(0, 0, 6, 3));
    EXPECT_EQ(pixelsOf(flat.get(), 0, 0, 6, 3).picture(), ".####.\n######\n.####.\n");
}

TEST(Ellipse, ATallThinEllipseIsAFewBandsNotOnePerRow) {
    const Region region = Region::ellipse(DeviceRect{0, 0, 3, 3000});
    EXPECT_TRUE(canonical(region));
    EXPECT_LT(region.rects().size(), 200u);
    EXPECT_TRUE(region.contains(1, 0));
    EXPECT_TRUE(region.contains(1, 2999));
    EXPECT_FALSE(region.contains(1, 3000));
}

// --- Polygons -------------------------------------------------------------------------------------

struct PolygonCase {
    const char* name;
    std::vector<POINT> points;
};

void PrintTo(const PolygonCase& c, std::ostream* out) {
    *out << c.name;
}

const PolygonCase kPolygons[] = {
    {"square", {{1, 1}, {6, 1}, {6, 5}, {1, 5}}},
    {"triangle", {{0, 0}, {9, 3}, {2, 8}}},
    {"thin sliver", {{0, 0}, {20, 1}, {0, 2}}},
    {"concave arrow", {{0, 4}, {6, 0}, {6, 3}, {12, 3}, {12, 5}, {6, 5}, {6, 8}}},
    {"pentagram", {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}}},
    {"bow tie", {{0, 0}, {10, 8}, {10, 0}, {0, 8}}},
    {"two loops the same way round", {{0, 0}, {8, 0}, {8, 8}, {2, 8}, {2, 2}, {10, 2}, {10, 10}, {0, 10}}},
    {"collinear and repeated points", {{0, 0}, {4, 0}, {4, 0}, {8, 0}, {8, 6}, {4, 3}, {0, 6}}},
    {"negative coordinates", {{-5, -4}, {3, -6}, {1, 5}}},
    {"steep edges", {{0, 0}, {1, 13}, {3, 13}, {2, 0}}},
    {"a line has no inside", {{0, 0}, {5, 5}, {10, 10}}},
    {"two points", {{0, 0}, {5, 5}}},
};

class Polygons : public ::testing::TestWithParam<PolygonCase> {};

void expectPolygon(const std::vector<POINT>& points, int mode) {
    int l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (const POINT& p : points) {
        l = std::min<int>(l, p.x);
        t = std::min<int>(t, p.y);
        r = std::max<int>(r, p.x);
        b = std::max<int>(b, p.y);
    }
    OwnedRegion region(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), mode));
    ASSERT_TRUE(region);
    const PixelSet expected = PixelSet::of(l - 2, t - 2, r - l + 4, b - t + 4, [&](int x, int y) {
        return inPolygon(points, mode, x, y);
    });
    EXPECT_EQ(pixelsOf(region.get(), l - 2, t - 2, r - l + 4, b - t + 4), expected)
        << (mode == WINDING ? "WINDING\n" : "ALTERNATE\n") << expected.picture();
    EXPECT_TRUE(canonical(Region::polygon(points, mode)));
}

TEST_P(Polygons, CoverThePixelsInsideByEitherFillMode) {
    expectPolygon(GetParam().points, ALTERNATE);
    expectPolygon(GetParam().points, WINDING);
}

INSTANTIATE_TEST_SUITE_P(Shapes, Polygons, ::testing::ValuesIn(kPolygons));

TEST(Polygon, FillModesDifferWhereTheOutlineWindsTwice) {
    const std::vector<POINT> star = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    OwnedRegion alternate(CreatePolygonRgn(star.data(), 5, ALTERNATE));
    OwnedRegion winding(CreatePolygonRgn(star.data(), 5, WINDING));
    EXPECT_FALSE(PtInRegion(alternate.get(), 10, 11)) << "the middle of the star is a hole";
    EXPECT_TRUE(PtInRegion(winding.get(), 10, 11));
    EXPECT_TRUE(PtInRegion(alternate.get(), 10, 3)) << "a point of the star";
}

TEST(Polygon, EdgesFollowTheTopLeftRule) {
    // The diagonal from (0, 0) to (4, 4) passes through the centre of every pixel (y, y). In the
    // lower triangle it is a right edge, so those pixels stay out and row y is [0, y); in the
    // upper one it is a left edge, so they are in and row y is [y, 4). The bottom edge is out.
    const POINT lower[] = {{0, 0}, {4, 4}, {0, 4}};
    const POINT upper[] = {{0, 0}, {4, 0}, {4, 4}};
    OwnedRegion below(CreatePolygonRgn(lower, 3, ALTERNATE));
    OwnedRegion above(CreatePolygonRgn(upper, 3, WINDING));
    EXPECT_EQ(pixelsOf(below.get(), 0, 0, 5, 5).picture(), ".....\n#....\n##...\n###..\n.....\n");
    EXPECT_EQ(pixelsOf(above.get(), 0, 0, 5, 5).picture(), "####.\n.###.\n..##.\n...#.\n.....\n");
    OwnedRegion both(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(both.get(), below.get(), above.get(), RGN_OR), SIMPLEREGION)
        << "the two halves share no pixel and leave none out";
}

TEST(Polygon, RandomShapesMatchTheRayCastInBothModes) {
    std::mt19937 random(20240521);
    std::uniform_int_distribution<int> coordinate(-3, 24);
    std::uniform_int_distribution<int> count(3, 9);
    for (int shape = 0; shape < 60; ++shape) {
        std::vector<POINT> points(static_cast<size_t>(count(random)));
        for (POINT& p : points) p = POINT{coordinate(random), coordinate(random)};
        SCOPED_TRACE("shape " + std::to_string(shape));
        expectPolygon(points, ALTERNATE);
        expectPolygon(points, WINDING);
    }
}

// --- Round rectangles -----------------------------------------------------------------------------

TEST(RoundRect, CornersAreQuartersOfTheCornerEllipse) {
    // A 10 x 8 box with a 4 x 4 corner ellipse: each corner loses the one pixel the 4 x 4 ellipse
    // loses there; with the corner ellipse as large as the box it is that ellipse.
    OwnedRegion region(CreateRoundRectRgn(0, 0, 10, 8, 4, 4));
    EXPECT_EQ(pixelsOf(region.get(), 0, 0, 10, 8).picture(),
              ".########.\n##########\n##########\n##########\n##########\n##########\n##########\n.########.\n");
    OwnedRegion whole(CreateRoundRectRgn(2, 1, 13, 9, 11, 8));
    OwnedRegion ellipse(CreateEllipticRgn(2, 1, 13, 9));
    EXPECT_TRUE(EqualRgn(whole.get(), ellipse.get()));
    OwnedRegion square(CreateRoundRectRgn(0, 0, 5, 5, 0, 0));
    RECT box{};
    EXPECT_EQ(GetRgnBox(square.get(), &box), SIMPLEREGION) << "no rounding leaves the rectangle";
}

// --- Combining ------------------------------------------------------------------------------------

// A region of a few random rectangles in a 40 x 40 window, with its model.
std::pair<Region, PixelSet> randomRegion(std::mt19937& random) {
    std::uniform_int_distribution<int> corner(0, 36);
    std::uniform_int_distribution<int> size(1, 12);
    std::uniform_int_distribution<int> rects(1, 6);
    Region region;
    PixelSet model(-2, -2, 52, 52);
    for (int n = rects(random); n > 0; --n) {
        const int l = corner(random), t = corner(random);
        const DeviceRect r{l, t, l + size(random), t + size(random)};
        region = Region::combine(region, Region(r), winplat::gdi::RegionOp::Or);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) model.set(x, y, true);
    }
    return {region, model};
}

struct OpCase {
    const char* name;
    winplat::gdi::RegionOp op;
    bool (*keeps)(bool, bool);
};

const OpCase kOps[] = {
    {"and", winplat::gdi::RegionOp::And, [](bool a, bool b) { return a && b; }},
    {"or", winplat::gdi::RegionOp::Or, [](bool a, bool b) { return a || b; }},
    {"xor", winplat::gdi::RegionOp::Xor, [](bool a, bool b) { return a != b; }},
    {"diff", winplat::gdi::RegionOp::Diff, [](bool a, bool b) { return a && !b; }},
    {"copy", winplat::gdi::RegionOp::Copy, [](bool a, bool) { return a; }},
};

void PrintTo(const OpCase& c, std::ostream* out) {
    *out << c.name;
}

class Combine : public ::testing::TestWithParam<OpCase> {};

TEST_P(Combine, MatchesTheBooleanModelAndStaysCanonical) {
    const OpCase& c = GetParam();
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        // Named one by one: clang 14 cannot capture structured bindings in a lambda.
        const auto first = randomRegion(random);
        const auto second = randomRegion(random);
        const Region& a = first.first;
        const Region& b = second.first;
        const PixelSet& modelA = first.second;
        const PixelSet& modelB = second.second;
        const Region result = Region::combine(a, b, c.op);
        const PixelSet expected = PixelSet::of(-2, -2, 52, 52, [&](int x, int y) {
            return c.keeps(modelA.at(x, y), modelB.at(x, y));
        });
        ASSERT_EQ(pixelsOf(result, -2, -2, 52, 52), expected) << "trial " << trial << "\n" << expected.picture();
        ASSERT_TRUE(canonical(result)) << "trial " << trial;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, Combine, ::testing::ValuesIn(kOps), [](const auto& info) {
    return std::string(info.param.name);
});

TEST(Combine, ShapesCombineAsTheirPixels) {
    const Region ellipse = Region::ellipse(DeviceRect{0, 0, 30, 20});
    const std::vector<POINT> star = {{15, 0}, {22, 22}, {2, 8}, {28, 8}, {8, 22}};
    const Region polygon = Region::polygon(star, ALTERNATE);
    for (const OpCase& c : kOps) {
        const Region result = Region::combine(ellipse, polygon, c.op);
        const PixelSet expected = PixelSet::of(-1, -1, 33, 25, [&](int x, int y) {
            return c.keeps(inEllipse(0, 0, 30, 20, x, y), inPolygon(star, ALTERNATE, x, y));
        });
        EXPECT_EQ(pixelsOf(result, -1, -1, 33, 25), expected) << c.name;
        EXPECT_TRUE(canonical(result)) << c.name;
    }
}

TEST(Combine, PiecesThatMakeARectangleAreOneRectangle) {
    OwnedRegion whole(CreateRectRgn(0, 0, 10, 10));
    OwnedRegion left(CreateRectRgn(0, 0, 4, 10));
    OwnedRegion right(CreateRectRgn(4, 0, 10, 6));
    OwnedRegion rest(CreateRectRgn(10, 10, 4, 6));  // corners the other way round
    OwnedRegion result(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(result.get(), left.get(), right.get(), RGN_OR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(result.get(), result.get(), rest.get(), RGN_OR), SIMPLEREGION)
        << "the destination may be a source";
    EXPECT_TRUE(EqualRgn(result.get(), whole.get()));
    EXPECT_EQ(CombineRgn(result.get(), result.get(), whole.get(), RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(result.get(), whole.get(), nullptr, RGN_COPY), SIMPLEREGION) << "COPY takes one source";
    EXPECT_TRUE(EqualRgn(result.get(), whole.get()));
}

// --- Hit tests, boxes, offsets --------------------------------------------------------------------

TEST(HitTests, RightAndBottomEdgesAreOutside) {
    OwnedRegion region(CreateRectRgn(2, 3, 6, 8));
    EXPECT_TRUE(PtInRegion(region.get(), 2, 3));
    EXPECT_TRUE(PtInRegion(region.get(), 5, 7));
    EXPECT_FALSE(PtInRegion(region.get(), 6, 7));
    EXPECT_FALSE(PtInRegion(region.get(), 5, 8));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 3));
    EXPECT_FALSE(PtInRegion(region.get(), 2, 2));
}

struct RectHit {
    RECT rect;
    bool in;
};

TEST(HitTests, RectInRegionNeedsOneSharedPixel) {
    // A ring: [0, 10) squared without [3, 7) squared.
    OwnedRegion outer(CreateRectRgn(0, 0, 10, 10));
    OwnedRegion hole(CreateRectRgn(3, 3, 7, 7));
    ASSERT_EQ(CombineRgn(outer.get(), outer.get(), hole.get(), RGN_DIFF), COMPLEXREGION);
    const RectHit cases[] = {
        {{3, 3, 7, 7}, false},   {{2, 3, 7, 7}, true},     {{3, 3, 8, 7}, true},  {{4, 4, 5, 5}, false},
        {{10, 0, 12, 5}, false}, {{9, 0, 12, 5}, true},    {{-5, -5, 0, 0}, false}, {{-5, -5, 1, 1}, true},
        {{7, 7, 3, 3}, false} /* given the other way round */, {{5, 5, 5, 9}, false} /* empty */,
    };
    for (const RectHit& c : cases) {
        EXPECT_EQ(RectInRegion(outer.get(), &c.rect) != FALSE, c.in)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    }
}

TEST(Boxes, GetRgnBoxGivesTheBoundsAndTheKind) {
    OwnedRegion region(CreateEllipticRgn(4, 2, 12, 7));
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}), (std::vector<LONG>{4, 2, 12, 7}));
    ASSERT_TRUE(SetRectRgn(region.get(), 9, 9, 1, 3));
    EXPECT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}), (std::vector<LONG>{1, 3, 9, 9}));
    ASSERT_TRUE(SetRectRgn(region.get(), 5, 5, 5, 9));
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}), (std::vector<LONG>{0, 0, 0, 0}));
}

TEST(Offsets, MoveEveryPixel) {
    OwnedRegion region(CreateEllipticRgn(0, 0, 9, 7));
    OwnedRegion moved(CreateEllipticRgn(-3, 5, 6, 12));
    EXPECT_EQ(OffsetRgn(region.get(), -3, 5), COMPLEXREGION);
    EXPECT_TRUE(EqualRgn(region.get(), moved.get()));
    OwnedRegion empty(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(OffsetRgn(empty.get(), 1 << 30, 0), NULLREGION) << "an empty region goes nowhere";
}

// --- Bounds and refusals --------------------------------------------------------------------------

TEST(Bounds, CoordinatesStopAt2To27) {
    winplat::testing::DebugCapture capture;
    constexpr int kEdge = 1 << 27;
    OwnedRegion edge(CreateRectRgn(-kEdge, 0, kEdge, 1));
    EXPECT_TRUE(edge);
    EXPECT_FALSE(OwnedRegion(CreateRectRgn(0, 0, kEdge + 1, 1)));
    EXPECT_FALSE(OwnedRegion(CreateRectRgn(-kEdge - 1, 0, 0, 1)));
    EXPECT_TRUE(capture.contains("coordinates beyond 2^27"));
    OwnedRegion small(CreateRectRgn(0, 0, 4, 4));
    EXPECT_EQ(OffsetRgn(small.get(), kEdge - 4, 0), SIMPLEREGION);
    EXPECT_EQ(OffsetRgn(small.get(), 1, 0), ERROR) << "its right edge would pass 2^27";
    RECT box{};
    GetRgnBox(small.get(), &box);
    EXPECT_EQ(box.right, kEdge) << "a refused offset leaves the region where it was";
}

TEST(Bounds, ScannedShapesStopAt2To20Rows) {
    winplat::testing::DebugCapture capture;
    constexpr int kRows = 1 << 20;
    OwnedRegion tallest(CreateEllipticRgn(0, 0, 1, kRows));
    EXPECT_TRUE(tallest);
    EXPECT_TRUE(PtInRegion(tallest.get(), 0, kRows - 1));
    EXPECT_FALSE(OwnedRegion(CreateEllipticRgn(0, 0, 1, kRows + 1)));
    EXPECT_FALSE(OwnedRegion(CreateRoundRectRgn(0, -1, 1, kRows, 1, 1)));
    const POINT tall[] = {{0, 0}, {1, kRows + 1}, {0, kRows + 1}};
    EXPECT_FALSE(OwnedRegion(CreatePolygonRgn(tall, 3, ALTERNATE)));
    const POINT fits[] = {{0, 0}, {1, kRows}, {0, kRows}};
    EXPECT_TRUE(OwnedRegion(CreatePolygonRgn(fits, 3, ALTERNATE)));
    EXPECT_TRUE(capture.contains("taller than 2^20 rows"));
}

TEST(Refusals, StaleAndMistypedHandlesSayWhy) {
    winplat::testing::DebugCapture capture;
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    ASSERT_TRUE(region);
    EXPECT_EQ(GetObjectType(region), DWORD{OBJ_REGION});
    ASSERT_TRUE(DeleteObject(region));
    EXPECT_EQ(GetObjectType(region), 0u);
    EXPECT_FALSE(DeleteObject(region)) << "deleted twice";
    OwnedRegion live(CreateRectRgn(0, 0, 5, 5));
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const auto notARegion = reinterpret_cast<HRGN>(brush);
    RECT box{};
    struct Call {
        const char* name;
        bool refused;
    };
    const Call calls[] = {
        {"PtInRegion", PtInRegion(region, 1, 1) == FALSE},
        {"GetRgnBox", GetRgnBox(region, &box) == ERROR},
        {"OffsetRgn", OffsetRgn(notARegion, 1, 1) == ERROR},
        {"CombineRgn dest", CombineRgn(region, live.get(), live.get(), RGN_OR) == ERROR},
        {"CombineRgn source", CombineRgn(live.get(), live.get(), notARegion, RGN_AND) == ERROR},
        {"EqualRgn", EqualRgn(live.get(), region) == ERROR},
        {"SetRectRgn", SetRectRgn(notARegion, 0, 0, 1, 1) == FALSE},
    };
    for (const Call& c : calls) {
        EXPECT_TRUE(c.refused) << c.name;
    }
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_TRUE(capture.contains("not a live region handle"));
    EXPECT_EQ(GetObjectType(brush), DWORD{OBJ_BRUSH}) << "the brush was left alone";
    EXPECT_TRUE(PtInRegion(live.get(), 1, 1)) << "and so was the live region";
    DeleteObject(brush);
}

TEST(Refusals, UnknownModesAndMissingArguments) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported modes
    OwnedRegion a(CreateRectRgn(0, 0, 5, 5));
    EXPECT_EQ(CombineRgn(a.get(), a.get(), a.get(), 0), ERROR);
    EXPECT_EQ(CombineRgn(a.get(), a.get(), a.get(), 6), ERROR);
    const POINT points[] = {{0, 0}, {5, 0}, {0, 5}};
    EXPECT_FALSE(OwnedRegion(CreatePolygonRgn(points, 3, 3)));
    EXPECT_FALSE(OwnedRegion(CreatePolygonRgn(nullptr, 3, ALTERNATE)));
    EXPECT_FALSE(OwnedRegion(CreatePolygonRgn(points, -1, ALTERNATE)));
    EXPECT_FALSE(OwnedRegion(CreateRectRgnIndirect(nullptr)));
    EXPECT_EQ(GetRgnBox(a.get(), nullptr), ERROR);
    EXPECT_FALSE(RectInRegion(a.get(), nullptr));
}

TEST(Objects, GetObjectTypeNamesEveryKind) {
    HDC memory = CreateCompatibleDC(nullptr);
    HDC metafile = winplat::testing::createMetafileDc();
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetObjectType(memory), DWORD{OBJ_MEMDC});
    EXPECT_EQ(GetObjectType(metafile), DWORD{OBJ_METADC});
    EXPECT_EQ(GetObjectType(screen), DWORD{OBJ_DC});
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), DWORD{OBJ_PEN});
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), DWORD{OBJ_BRUSH});
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_PALETTE)), DWORD{OBJ_PAL});
    EXPECT_EQ(GetObjectType(GetCurrentObject(memory, OBJ_FONT)), DWORD{OBJ_FONT});
    EXPECT_EQ(GetObjectType(GetCurrentObject(memory, OBJ_BITMAP)), DWORD{OBJ_BITMAP});
    EXPECT_EQ(GetObjectType(nullptr), 0u);
    ReleaseDC(nullptr, screen);
    DeleteDC(metafile);
    DeleteDC(memory);
    EXPECT_EQ(GetObjectType(memory), 0u) << "a deleted DC";
}

}  // namespace
