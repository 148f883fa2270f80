// The bounding-box pre-check of the polyline pick tests decides exactly as the segment rules do:
// polylines and boxes on a coarse grid (so that vertices often lie on a box's border) are tested
// both ways, for the window, the crossing window and the fence.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "display/pick_tests.h"
#include "drawing/entity_builders.h"

namespace linework {
namespace {

struct PickBoundsTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    Drawing drawing;
    PickSettings settings;
    PickTester tester{drawing, layers, settings};

    // The chain the segment rules see: a patterned polyline of three or more vertices closed.
    static std::vector<Point> ChainOf(std::vector<Point> vertices, bool patterned) {
        if (patterned && vertices.size() >= 3 && vertices.back() != vertices.front()) vertices.push_back(vertices.front());
        return vertices;
    }
};

TEST_F(PickBoundsTest, TheBoundsDecideAsTheSegmentRulesDo) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 8), vertexCount(1, 5), coin(0, 1);
    int passes[3] = {0, 0, 0}, fails[3] = {0, 0, 0};
    for (int round = 0; round < 4000; ++round) {
        std::vector<Point> vertices(static_cast<size_t>(vertexCount(random)));
        for (Point& p : vertices) p = {static_cast<double>(coordinate(random)), static_cast<double>(coordinate(random))};
        const bool patterned = coin(random) == 1;
        const EntityRecord entity = MakePolyline(vertices, {}, 0, patterned ? 8 : 0);
        PickRegion region;
        const Point a{static_cast<double>(coordinate(random)), static_cast<double>(coordinate(random))};
        const Point b{static_cast<double>(coordinate(random)), static_cast<double>(coordinate(random))};
        region.box = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        region.fenceA = a;
        region.fenceB = b;
        const std::vector<Point> chain = ChainOf(vertices, patterned);
        for (int rule = 0; rule < 3; ++rule) {
            region.rule = static_cast<PickRule>(rule);
            const bool expected = PickTester::ChainPasses(chain, region);
            ASSERT_EQ(tester.Passes(entity, region), expected)
                << "round " << round << " rule " << rule << " vertices " << vertices.size();
            (expected ? passes : fails)[rule] += 1;
        }
    }
    // Both answers came up often for every rule, so each side of the pre-check was exercised.
    for (int rule = 0; rule < 3; ++rule) {
        EXPECT_GT(passes[rule], 100) << rule;
        EXPECT_GT(fails[rule], 100) << rule;
    }
}

TEST_F(PickBoundsTest, EdgesOfTheBoxBelongToIt) {
    struct Case {
        std::vector<Point> vertices;
        PickRule rule;
        bool expected;
    };
    const Box box{0, 0, 10, 10};
    const std::vector<Case> cases = {
        {{{0, 0}, {10, 10}}, PickRule::Window, true},      // corner to corner
        {{{0, 0}, {10.5, 10}}, PickRule::Window, false},   // one end just out
        {{{10, 3}, {14, 3}}, PickRule::Crossing, true},    // touches the right side
        {{{10.5, 3}, {14, 3}}, PickRule::Crossing, false},
        {{{-4, 10}, {-1, 10}}, PickRule::Crossing, false}, // level with the top, left of it
        {{{5, 5}}, PickRule::Crossing, true},              // a point inside
        {{{5, 5}}, PickRule::Fence, false},                // never by the fence
    };
    for (const Case& c : cases) {
        PickRegion region;
        region.rule = c.rule;
        region.box = box;
        region.fenceA = {0, 0};
        region.fenceB = {10, 10};
        EXPECT_EQ(tester.Passes(MakePolyline(c.vertices), region), c.expected)
            << c.vertices.front().x << "," << c.vertices.front().y << " rule " << static_cast<int>(c.rule);
    }
}

TEST_F(PickBoundsTest, AVertexThatIsNoNumberIsLeftToTheSegmentRules) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The bounds of the finite vertices lie inside: the NaN vertex must still fail the window.
    const std::vector<Point> vertices{{1, 1}, {nan, 2}, {3, 3}};
    PickRegion region;
    region.rule = PickRule::Window;
    region.box = {0, 0, 10, 10};
    EXPECT_FALSE(tester.Passes(MakePolyline(vertices), region));
    EXPECT_EQ(tester.Passes(MakePolyline(vertices), region), PickTester::ChainPasses(vertices, region));
}

}  // namespace
}  // namespace linework
