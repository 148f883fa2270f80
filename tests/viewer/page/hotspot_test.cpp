// Hot-spot shapes: point tables on edges, ellipses and polygons, each shape checked pixel by pixel
// against the region the platform builds of it, and lists whose counts pass their bytes.
#include <gtest/gtest.h>

#include "page/hotspot_geometry.h"
#include "page_test_support.h"
#include "winplat/region.h"

namespace {

using page_test::Bytes;
using page_test::Fields;

struct Shape {
    Shape(int l, int t, int r, int b, uint8_t kind = 0, std::vector<POINT> extraPoints = {}, int16_t polygonMarker = 0,
          Bytes stored = {})
        : left(l), top(t), right(r), bottom(b), shape(kind), points(std::move(extraPoints)), marker(polygonMarker),
          link(std::move(stored)) {}
    int left, top, right, bottom;
    uint8_t shape;
    std::vector<POINT> points;  // extra data of a polygon
    int16_t marker;             // used with points
    Bytes link;                 // empty: no link
};

Bytes shapeBytes(const Shape& s) {
    Fields f;
    f.u16(s.left).u16(s.top).u16(s.right).u16(s.bottom).u8(s.shape).u8(0).u8(s.link.empty() ? 0 : 1);
    Bytes link = s.link;
    link.resize(7, 0);
    f.raw(link);
    Fields extra;
    if (!s.points.empty()) {
        extra.u16(static_cast<int>(s.points.size())).u8(0);
        for (const POINT& p : s.points) extra.u16(static_cast<int>(p.x)).u16(static_cast<int>(p.y));
    }
    f.u16(s.points.empty() ? -1 : s.marker).u16(static_cast<int>(extra.bytes.size())).raw(extra.bytes);
    return f.bytes;
}

Bytes list(const std::vector<Shape>& shapes, int count = -1) {
    Fields f;
    f.u8(0).u16(count < 0 ? static_cast<int>(shapes.size()) : count);
    for (const Shape& s : shapes) f.raw(shapeBytes(s));
    return f.bytes;
}

const Shape kRectangle{2, 3, 12, 9};
const Shape kEllipse{0, 0, 20, 10, 1};
// A square with a notch cut into its lower edge up to (10, 10).
const Shape kConcave{0, 0, 20, 20, 2, {{0, 0}, {20, 0}, {20, 20}, {10, 10}, {0, 20}}};
// Two triangles that touch at (10, 10), one left and one right.
const Shape kTouching{0, 0, 20, 20, 2, {{0, 0}, {10, 10}, {20, 0}, {20, 20}, {10, 10}, {0, 20}}};
// The same points with marker -1 are no polygon: the ellipse of the rectangle.
const Shape kMarkerless{0, 0, 20, 20, 2, {{0, 0}, {10, 10}, {20, 0}, {20, 20}, {10, 10}, {0, 20}}, -1};

struct PointCase {
    const char* what;
    const Shape* shape;
    int x, y;
    bool inside;
};

const PointCase kPoints[] = {
    {"rectangle top-left corner", &kRectangle, 2, 3, true},
    {"rectangle bottom-right corner", &kRectangle, 12, 9, true},
    {"rectangle right edge", &kRectangle, 12, 5, true},
    {"left of the rectangle", &kRectangle, 1, 5, false},
    {"right of the rectangle", &kRectangle, 13, 5, false},
    {"above the rectangle", &kRectangle, 5, 2, false},
    {"below the rectangle", &kRectangle, 5, 10, false},
    {"ellipse centre", &kEllipse, 10, 5, true},
    {"ellipse left end", &kEllipse, 0, 5, true},
    {"ellipse top", &kEllipse, 10, 0, true},
    {"ellipse right end", &kEllipse, 20, 5, true},
    {"ellipse corner of its box", &kEllipse, 1, 1, false},
    {"just inside the ellipse", &kEllipse, 3, 2, true},
    {"just outside the ellipse", &kEllipse, 2, 1, false},
    {"past the ellipse's box", &kEllipse, 21, 5, false},
    {"concave: upper part", &kConcave, 10, 5, true},
    {"concave: in the notch", &kConcave, 10, 15, false},
    {"concave: left leg", &kConcave, 2, 16, true},
    {"concave: right leg", &kConcave, 18, 16, true},
    {"touching: left triangle", &kTouching, 3, 10, true},
    {"touching: right triangle", &kTouching, 17, 10, true},
    {"touching: upper wedge", &kTouching, 10, 3, false},
    {"touching: lower wedge", &kTouching, 10, 17, false},
    {"marker -1: the upper wedge is in the ellipse", &kMarkerless, 10, 3, true},
    {"marker -1: a corner is not", &kMarkerless, 1, 1, false},
};

TEST(HotspotTest, PointTables) {
    for (const PointCase& c : kPoints) {
        SCOPED_TRACE(c.what);
        const Bytes stored = list({*c.shape});
        EXPECT_EQ(lect32::HitTestHotspots(stored, c.x, c.y), c.inside ? 0 : -1);
    }
}

TEST(HotspotTest, ThinEllipsesAndFewPoints) {
    const lect32::HotspotList thin(list({{0, 0, 0, 10, 1}, {0, 0, 1, 10, 1}}));
    EXPECT_FALSE(lect32::PointInShape(thin[0], 0, 5)) << "half-width 0";
    EXPECT_TRUE(lect32::PointInShape(thin[1], 0, 5)) << "half-width 0.5 is enough";
    const std::vector<POINT> two = {{0, 0}, {10, 10}};
    EXPECT_FALSE(lect32::PointInPolygon(two, 5, 5));
    const std::vector<POINT> triangle = {{0, 0}, {10, 0}, {0, 10}};
    EXPECT_TRUE(lect32::PointInPolygon(triangle, 2, 2));
    EXPECT_FALSE(lect32::PointInPolygon(triangle, 8, 8));
}

// What the platform's region of a shape holds, pixel by pixel, against the hit test: they may
// differ only on the outline, where the region leaves out its right and bottom edges and rounds
// its curves by its own rule.
TEST(HotspotTest, HitsMatchThePlatformsRegionOffTheOutline) {
    const int ox = 50, oy = 40;
    for (const Shape* shape : {&kRectangle, &kEllipse, &kConcave, &kTouching, &kMarkerless}) {
        SCOPED_TRACE(testing::Message() << "shape " << int(shape->shape) << " at " << shape->left << "," << shape->top
                                        << " with " << shape->points.size() << " points");
        const Bytes stored = list({*shape});
        winplat::OwnedRegion region;
        int top = 0, bottom = 0;
        const int built = lect32::BuildHotspotRegion(stored, 0, ox, oy, region, top, bottom);
        ASSERT_NE(built, 0);
        EXPECT_EQ(built, shape->shape == 2 && shape->marker != -1 ? 1 : -1);
        EXPECT_EQ(top, shape->top);
        EXPECT_EQ(bottom, shape->bottom);
        const int x0 = shape->left - 2, y0 = shape->top - 2, w = shape->right - shape->left + 5, h = shape->bottom - shape->top + 5;
        std::vector<int> hit(w * h), inRegion(w * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                hit[y * w + x] = lect32::HitTestHotspots(stored, x0 + x, y0 + y) == 0;
                inRegion[y * w + x] = PtInRegion(region.get(), ox + x0 + x, oy + y0 + y) != 0;
            }
        }
        const auto onOutline = [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    if (inRegion[ny * w + nx] != inRegion[y * w + x] || hit[ny * w + nx] != hit[y * w + x]) return true;
                }
            }
            return false;
        };
        int agreeInside = 0, differ = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (hit[y * w + x] == inRegion[y * w + x]) {
                    agreeInside += hit[y * w + x];
                    continue;
                }
                ++differ;
                EXPECT_TRUE(onOutline(x, y)) << "pixel " << x0 + x << "," << y0 + y << (hit[y * w + x] ? " hit" : " missed");
                if (shape == &kRectangle) {
                    EXPECT_TRUE(x0 + x == shape->right || y0 + y == shape->bottom) << "only the right and bottom edges";
                }
            }
        }
        EXPECT_GT(agreeInside, 2 * differ) << "the shapes agree on their inside";
    }
}

TEST(HotspotTest, TheFirstShapeHoldingThePointWins) {
    const Bytes stored = list({{0, 0, 10, 10}, {5, 5, 20, 20, 0, {}, 0, {0, 7, 0}}, {0, 0, 30, 30, 0, {}, 0, {2, 1, 0, 2, 0, 9}}});
    EXPECT_EQ(lect32::HitTestHotspots(stored, 7, 7), 0);
    EXPECT_EQ(lect32::HitTestHotspots(stored, 15, 15), 1);
    EXPECT_EQ(lect32::HitTestHotspots(stored, 25, 25), 2);
    EXPECT_EQ(lect32::HitTestHotspots(stored, 31, 31), -1);
}

class OwnNumbers final : public lect32::LinkResolver {
public:
    uint8_t CurrentDocumentIndex() const override { return 0; }
    uint8_t ResolveLink(uint8_t, uint8_t linkNumber) const override { return static_cast<uint8_t>(linkNumber + 100); }
};

TEST(HotspotTest, TheLinkIsTheFirstLinkedShapesThatDecodes) {
    OwnNumbers resolver;
    const lect32::LinkDecoding how{lect32::LinkTarget::kMainDocumentSource, true, resolver};
    const Bytes kind15 = {15, 1, 0, 2, 0, 3, 0, 4};  // eight bytes: does not fit the shape's seven
    const Bytes stored = list({{0, 0, 10, 10},
                               {0, 0, 20, 20, 0, {}, 0, kind15},
                               {0, 0, 30, 30, 0, {}, 0, {2, 1, 0, 2, 0, 9}},
                               {0, 0, 40, 40, 0, {}, 0, {0, 7, 0}}});
    lect32::LinkTarget link;
    ASSERT_TRUE(lect32::HitTestHotspotLink(stored, 5, 5, how, link)) << "past the unlinked and the undecodable";
    EXPECT_EQ(link.kind, 2);
    EXPECT_EQ(link.a, 1);
    EXPECT_EQ(link.b, 2);
    EXPECT_EQ(link.document, 109);
    ASSERT_TRUE(lect32::HitTestHotspotLink(stored, 35, 35, how, link));
    EXPECT_EQ(link.kind, 0);
    EXPECT_EQ(link.a, 7);
    EXPECT_FALSE(lect32::HitTestHotspotLink(stored, 45, 45, how, link));
}

TEST(HotspotTest, RegionsOfMissingShapesAreNotMade) {
    const Bytes stored = list({kRectangle, kConcave});
    winplat::OwnedRegion region;
    int top = -5, bottom = -5;
    EXPECT_EQ(lect32::BuildHotspotRegion(stored, 2, 0, 0, region, top, bottom), 0);
    EXPECT_FALSE(region);
    EXPECT_EQ(top, -5);
    EXPECT_EQ(lect32::BuildHotspotRegion(list({kRectangle, kConcave}, 5), 2, 0, 0, region, top, bottom), 0)
        << "a count past the bytes names no third shape";
    EXPECT_EQ(lect32::BuildHotspotRegion(stored, 1, 0, 0, region, top, bottom), 1);
    EXPECT_TRUE(region);
}

// Counts past a list's bytes: the shapes and points there are, and no more.
TEST(HotspotTest, ListsAreReadNoFurtherThanTheirBytes) {
    struct Case {
        const char* what;
        Bytes bytes;
        uint16_t shapes;
        size_t lastPoints;
    };
    Bytes manyPoints = list({kConcave});
    manyPoints[3 + 22] = 0xFF;  // the polygon's point count: 255 claimed, 5 stored
    Bytes longExtra = list({kRectangle, kConcave});
    longExtra[3 + 20] = 0xFF;  // the first shape's extra length runs past the list
    Bytes cutShort = list({kRectangle, kConcave});
    cutShort.pop_back();
    const Case cases[] = {
        {"count past the shapes", list({kRectangle, kConcave}, 0x7FFF), 2, 5},
        {"count 0xFFFF", list({kRectangle}, 0xFFFF), 1, 0},
        {"a shape cut short", cutShort, 1, 0},
        {"points past the extra data", manyPoints, 1, 5},
        {"extra data past the list", longExtra, 0, 0},
        {"only the head", Bytes{0, 1}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const lect32::HotspotList shapes(c.bytes);
        ASSERT_EQ(shapes.Count(), c.shapes);
        if (c.shapes) {
            EXPECT_EQ(shapes[static_cast<uint16_t>(c.shapes - 1)].Points().size(), c.lastPoints);
        }
        for (int y = -1; y < 22; y += 3) {
            for (int x = -1; x < 22; x += 3) lect32::HitTestHotspots(c.bytes, x, y);
        }
    }
}

TEST(HotspotTest, OldListsTakeTheCurrentForm) {
    Fields old;
    old.u16(2);
    const Bytes first = shapeBytes(kRectangle);
    const Bytes second = shapeBytes(kEllipse);
    old.raw(Bytes(first.begin(), first.begin() + 18)).raw(Bytes(second.begin(), second.begin() + 18));
    const Bytes converted = lect32::ConvertOldHotspotList(old.bytes);
    EXPECT_EQ(converted, list({kRectangle, kEllipse}));
    Bytes cut = old.bytes;
    cut.pop_back();
    EXPECT_EQ(lect32::ConvertOldHotspotList(cut), list({kRectangle})) << "the shape cut short is dropped";
    EXPECT_TRUE(lect32::ConvertOldHotspotList(Fields().u16(0).bytes).empty());
    EXPECT_TRUE(lect32::ConvertOldHotspotList(Bytes{1}).empty());
}

}  // namespace
