#include "drawing/quad_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "drawing/angles.h"
#include "drawing/entity_builders.h"
#include "drawing/entity_views.h"

namespace linework {
namespace {

const Quad kSquare = {Point{0, 0}, Point{1, 0}, Point{1, 1}, Point{0, 1}};
const Quad kTrapezoid = {Point{1, 0}, Point{5, 1}, Point{4, 4}, Point{0, 3}};
const std::vector<Point> kProbes = {{0.25, 0.5}, {0.5, 0.5}, {0, 0}, {1, 1}, {0.9, 0.1}, {2, 3}, {-1, 0.5}};

Point Mapped(const QuadTransform& transform, Point p) {
    EXPECT_TRUE(MapPointThroughQuads(transform, p));
    return p;
}

Quad Apply(const Quad& quad, auto motion) {
    Quad result;
    for (size_t i = 0; i < 4; ++i) result[i] = motion(quad[i]);
    return result;
}

TEST(QuadMapping, TheSameQuadrilateralLeavesEveryPointInPlace) {
    for (const Quad& quad : {kSquare, kTrapezoid}) {
        auto transform = SetupQuadTransform(quad, quad, 0);
        ASSERT_TRUE(transform);
        for (Point p : kProbes) {
            Point q = Mapped(*transform, p);
            EXPECT_NEAR(q.x, p.x, 1e-9);
            EXPECT_NEAR(q.y, p.y, 1e-9);
        }
    }
}

TEST(QuadMapping, RectanglesStretchEachAxisOnItsOwn) {
    const Quad target = {Point{10, 10}, Point{14, 10}, Point{14, 12}, Point{10, 12}};
    auto transform = SetupQuadTransform(kSquare, target, 0);
    ASSERT_TRUE(transform);
    for (Point p : kProbes) {
        Point q = Mapped(*transform, p);
        EXPECT_NEAR(q.x, 10 + 4 * p.x, 1e-9) << p.x << " " << p.y;
        EXPECT_NEAR(q.y, 10 + 2 * p.y, 1e-9) << p.x << " " << p.y;
    }
}

// Converging sides measure by angle: moving, turning or scaling the quadrilateral moves, turns or
// scales every point with it.
TEST(QuadMapping, ARigidMotionOrAScaleOfTheQuadrilateralCarriesThePointsAlong) {
    const double a = 0.5;
    auto turn = [a](Point p) {
        return Point{3 + p.x * std::cos(a) - p.y * std::sin(a), -2 + p.x * std::sin(a) + p.y * std::cos(a)};
    };
    auto scale = [](Point p) { return Point{2.5 * p.x, 2.5 * p.y}; };
    for (const Quad& quad : {kSquare, kTrapezoid}) {
        for (int which = 0; which < 2; ++which) {
            auto transform = SetupQuadTransform(quad, which == 0 ? Apply(quad, turn) : Apply(quad, scale), 0);
            ASSERT_TRUE(transform);
            for (Point p : kProbes) {
                Point want = which == 0 ? turn(p) : scale(p);
                Point got = Mapped(*transform, p);
                EXPECT_NEAR(got.x, want.x, 1e-9) << which << ": " << p.x << " " << p.y;
                EXPECT_NEAR(got.y, want.y, 1e-9) << which << ": " << p.x << " " << p.y;
            }
        }
    }
}

// The square onto a quadrilateral whose right side leans in: its sides 2-3 and 1-4 meet at (0, 2),
// so a point halfway across goes to the ray from there turned halfway between the sides (135
// and 90 degrees): at height 0.5 that is x = 1.5 tan 22.5 degrees.
TEST(QuadMapping, ConvergingSidesShareOutTheAngleBetweenThem) {
    const Quad target = {Point{0, 0}, Point{2, 0}, Point{1, 1}, Point{0, 1}};
    auto transform = SetupQuadTransform(kSquare, target, 0);
    ASSERT_TRUE(transform);
    Point q = Mapped(*transform, {0.5, 0.5});
    EXPECT_NEAR(q.x, 1.5 * std::tan(std::numbers::pi / 8), 1e-12);
    EXPECT_NEAR(q.y, 0.5, 1e-12);
    Point corner = Mapped(*transform, {1, 0.5});
    EXPECT_NEAR(corner.x, 1.5, 1e-12) << "the right side goes onto the leaning side";
    // And back: the angle seen from the meeting point (below it, across the apex) is folded onto
    // the sides' own lines.
    auto back = SetupQuadTransform(target, kSquare, 0);
    ASSERT_TRUE(back);
    Point middle = Mapped(*back, {1.5 * std::tan(std::numbers::pi / 8), 0.5});
    EXPECT_NEAR(middle.x, 0.5, 1e-12);
    EXPECT_NEAR(middle.y, 0.5, 1e-12);
    Point side = Mapped(*back, {1.5, 0.5});
    EXPECT_NEAR(side.x, 1, 1e-12);
}

TEST(QuadMapping, DegenerateQuadrilateralsAreRefused) {
    const Quad flat = {Point{0, 0}, Point{1, 0}, Point{2, 0}, Point{3, 0}};     // 4 on the line of 1-2
    const Quad dot = {Point{1, 1}, Point{1, 1}, Point{1, 1}, Point{1, 1}};
    EXPECT_FALSE(SetupQuadTransform(flat, kSquare, 0));
    EXPECT_FALSE(SetupQuadTransform(kSquare, flat, 0));
    EXPECT_FALSE(SetupQuadTransform(dot, kSquare, 0));
    EXPECT_FALSE(SetupQuadTransform(kSquare, dot, 0));
}

// Sides whose angle has a sine up to the tolerance count as parallel (measured by distance),
// above it as converging (measured by angle); the two measures put a point off the middle at
// different places.
TEST(QuadMapping, TheToleranceDecidesWhenSidesAreParallel) {
    const Quad leaning = {Point{0, 0}, Point{1, 0}, Point{1, 1}, Point{0, 1.1}};  // side 4-3 falls
    const double sine = std::fabs(std::sin(DirectionAngle(1, -0.1)));
    auto at = [&](double tolerance) {
        auto transform = SetupQuadTransform(leaning, kSquare, tolerance);
        EXPECT_TRUE(transform);
        EXPECT_EQ(transform->source[0].converging, tolerance < sine) << tolerance;
        return Mapped(*transform, {0.5, 0.3});
    };
    Point converging = at(std::nextafter(sine, 0.0));
    Point parallelEqual = at(sine);
    Point parallelAbove = at(std::nextafter(sine, 1.0));
    EXPECT_NE(converging.y, parallelEqual.y);
    EXPECT_EQ(parallelEqual.y, parallelAbove.y);
}

TEST(QuadMapping, AnEntityMovesEveryPointItHas) {
    const Quad target = {Point{10, 10}, Point{14, 10}, Point{14, 12}, Point{10, 12}};
    auto transform = SetupQuadTransform(kSquare, target, 0);
    ASSERT_TRUE(transform);
    const std::vector<Point> vertices = {{0, 0}, {0.5, 1}, {1, 0.25}};
    EntityRecord line = MakePolyline(vertices);
    EntityRecord text = MakeText("T", {0.5, 0.5}, {}, 2, 1);
    MapEntityThroughQuads(*transform, line);
    MapEntityThroughQuads(*transform, text);
    PolylineView view(line);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(view.Vertex(i).x, 10 + 4 * vertices[static_cast<size_t>(i)].x, 1e-9);
        EXPECT_NEAR(view.Vertex(i).y, 10 + 2 * vertices[static_cast<size_t>(i)].y, 1e-9);
    }
    EXPECT_NEAR(TextView(text).Insertion().x, 12, 1e-9);
    EXPECT_NEAR(TextView(text).Insertion().y, 11, 1e-9);
    EXPECT_EQ(TextView(text).Height(), 2) << "sizes stay";
}

}  // namespace
}  // namespace linework
