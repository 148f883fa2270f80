#include "display/object_snap.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "drawing/entity_builders.h"

namespace linework {
namespace {

struct ObjectSnapTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    Drawing drawing;

    void SetUp() override {
        layers.Reset();
        // Newest first: the list reads point, text, dimension, insert, image, arc, circle, lines.
        const Point a[] = {{0, 0}, {10, 0}};
        PushEntity(drawing, MakePolyline(a));
        const Point b[] = {{5, -5}, {5, 5}};
        PushEntity(drawing, MakePolyline(b));
        PushEntity(drawing, MakeArc({30, 0}, {35, 0}, {35, 0}));           // circle radius 5
        PushEntity(drawing, MakeArc({50, 0}, {55, 0}, {45, 0}));           // upper half circle
        PushEntity(drawing, MakeRasterImage("PIC.BMP", {70, 10}, 9, 9, 1, 1, 0));
        PushEntity(drawing, MakeInsert(AddBlockDef(drawing, "B", {}), {80, 0}));
        const std::array<Point, 5> dim{Point{90, 0}, {90, 2}, {95, 2}, {95, 0}, {92.5, 3}};
        PushEntity(drawing, MakeDimension(dim, 5, 0, ""));
        PushEntity(drawing, MakeText("A", {100, 0}));
        const Point p[] = {{110, 0}};
        PushEntity(drawing, MakePolyline(p));
    }
};

TEST_F(ObjectSnapTest, EachModeFindsItsPoint) {
    struct Case {
        int mode;
        Point cursor;
        std::optional<Point> expected;
    };
    const Case cases[] = {
        {0, {5, 0}, std::nullopt},
        {1, {80.5, 0.5}, Point{80, 0}},     // insert
        {1, {70.5, 9.5}, Point{70, 10}},    // image's upper-left corner
        {1, {100, 0}, std::nullopt},        // a text is no insert
        {3, {8, 0.5}, Point{10, 0}},        // the nearer end of the segment
        {3, {1, 0.5}, Point{0, 0}},
        {3, {5, 4}, Point{5, 5}},
        {3, {54, 2}, Point{55, 0}},         // an arc's end
        {3, {35.5, 0}, std::nullopt},       // a circle has no ends
        {4, {5, 0}, Point{5, 0}},           // the two lines cross
        {4, {2, 0}, std::nullopt},          // one piece only
        {5, {2, 0.5}, Point{5, 0}},         // the middle of the segment
        {5, {5, -3}, Point{5, 0}},
        {7, {110.5, 0.5}, Point{110, 0}},
        {7, {10, 0}, std::nullopt},         // a line's end is no point entity
        {11, {100.5, -0.5}, Point{100, 0}}, // text
        {11, {92, 3}, Point{92.5, 3}},      // the dimension's text point
        {6, {5, 0}, std::nullopt},
        {8, {5, 0}, std::nullopt},
        {9, {5, 0}, std::nullopt},
        {10, {5, 0}, std::nullopt},
        {2, {5, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<Point> found = ObjectSnapPoint(c.mode, drawing, layers, {c.cursor, 1});
        ASSERT_EQ(found.has_value(), c.expected.has_value()) << "mode " << c.mode << " at " << c.cursor.x;
        if (found) {
            EXPECT_NEAR(found->x, c.expected->x, 1e-12) << "mode " << c.mode;
            EXPECT_NEAR(found->y, c.expected->y, 1e-12) << "mode " << c.mode;
        }
    }
}

TEST_F(ObjectSnapTest, IntersectionsOfArcsKeepToTheirSweep) {
    // A line through both halves of the arc round (50, 0): only the upper crossing is on it.
    const Point v[] = {{49, -10}, {49, 10}};
    PushEntity(drawing, MakePolyline(v));
    const std::optional<Point> upper = ObjectSnapPoint(4, drawing, layers, {{49, 4.9}, 1});
    ASSERT_TRUE(upper);
    EXPECT_NEAR(upper->y, std::sqrt(24.0), 1e-12);
    EXPECT_FALSE(ObjectSnapPoint(4, drawing, layers, {{49, -4.9}, 1}));
    // A line with the full circle round (30, 0).
    const Point h[] = {{20, 3}, {40, 3}};
    PushEntity(drawing, MakePolyline(h));
    const std::optional<Point> right = ObjectSnapPoint(4, drawing, layers, {{34, 3}, 1});
    ASSERT_TRUE(right);
    EXPECT_NEAR(right->x, 34, 1e-12);
}

TEST_F(ObjectSnapTest, ErasedAndHiddenEntitiesAreNotFound) {
    const Point p[] = {{200, 0}};
    PushEntity(drawing, MakePolyline(p, {.layer = 9}));
    EXPECT_TRUE(ObjectSnapPoint(7, drawing, layers, {{200, 0}, 1}));
    layers.SetWord(9, layers.Word(9) | layer_flag::kHidden);
    EXPECT_FALSE(ObjectSnapPoint(7, drawing, layers, {{200, 0}, 1}));
    drawing[drawing.head].SetByte(entity_field::kKindAndFlags, 0x10 | entity_flag::kErased);
    layers.SetWord(9, layers.Word(9) & ~layer_flag::kHidden);
    EXPECT_FALSE(ObjectSnapPoint(7, drawing, layers, {{200, 0}, 1}));
}

TEST_F(ObjectSnapTest, ModeTwelveGathersTheSnapPointsUnderTheBox) {
    const std::vector<Point> points = SnapPointsUnder(drawing, layers, {{5, 0}, 1});
    // Both lines pass through the box: their ends, in list order.
    EXPECT_EQ(points, (std::vector<Point>{{5, -5}, {5, 5}, {0, 0}, {10, 0}}));
    const std::vector<Point> circle = SnapPointsUnder(drawing, layers, {{25, 0}, 1});
    EXPECT_EQ(circle, (std::vector<Point>{{30, 0}, {35, 0}}));
    EXPECT_TRUE(SnapPointsUnder(drawing, layers, {{300, 300}, 1}).empty());
}

TEST(PickBoxTest, SegmentsMeetTheBoxEdgesIncluded) {
    const PickBox box{{0, 0}, 1};
    EXPECT_TRUE(box.Meets({-5, 1}, {5, 1}));     // along the top edge
    EXPECT_FALSE(box.Meets({-5, 1.001}, {5, 1.001}));
    EXPECT_TRUE(box.Meets({-3, -2}, {2, 3}));    // through the corner region
    EXPECT_FALSE(box.Meets({-3, 0}, {-1.5, 0}));  // stops short
    EXPECT_TRUE(box.Meets({0.5, 0.5}, {0.5, 0.5}));  // a point inside
    EXPECT_TRUE(box.Contains({1, -1}));
    EXPECT_FALSE(box.Contains({1.0001, 0}));
}

}  // namespace
}  // namespace linework
