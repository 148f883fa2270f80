#include "drawing/geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "drawing/angles.h"

namespace linework {
namespace {

TEST(Angles, DirectionAndNormalising) {
    EXPECT_EQ(DirectionAngle(0, 0), 0);
    EXPECT_DOUBLE_EQ(DirectionAngle(-1, 0), kPi);
    EXPECT_DOUBLE_EQ(DirectionAngle(1, -1), 7 * kPi / 4);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 2), kHalfPi);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, -2), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(DirectionAngle(-1, -1), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(NormalizeAngle(-7), -7 + kTwoPi);
    EXPECT_EQ(NormalizeAngle(6), 6);
    EXPECT_DOUBLE_EQ(NormalizeAngle(13), 13 - 2 * kTwoPi);
    // Text never reads upside down: 180 degrees turns to 0, 100 degrees stays.
    EXPECT_NEAR(TextUpAngle(-1, 0), 0, 1e-15);
    EXPECT_DOUBLE_EQ(TextUpAngle(std::cos(1.745), std::sin(1.745)), DirectionAngle(std::cos(1.745), std::sin(1.745)));
    EXPECT_DOUBLE_EQ(UserAngleToRadians(0, 180), kPi);
    EXPECT_DOUBLE_EQ(UserAngleToRadians(1, 200), kPi);
    EXPECT_EQ(UserAngleToRadians(2, 3), 3);
    EXPECT_DOUBLE_EQ(RadiansToUserAngle(1, kPi), 200);
}

TEST(IntersectLines, SlopesOnlyWhereDefined) {
    Point at;
    // A vertical second line: no division by its zero run.
    ASSERT_TRUE(IntersectLines({0, 0}, {2, 2}, {1, -5}, {1, 5}, 0, at));
    EXPECT_EQ(at, (Point{1, 1}));
    ASSERT_TRUE(IntersectLines({1, -5}, {1, 5}, {0, 0}, {2, 2}, 0, at));
    EXPECT_EQ(at, (Point{1, 1}));
    EXPECT_FALSE(IntersectLines({1, 0}, {1, 5}, {2, 0}, {2, 1}, 0, at));
    EXPECT_FALSE(IntersectLines({0, 0}, {1, 1}, {0, 1}, {1, 2}, 0, at));
    ASSERT_TRUE(IntersectLines({0, 0}, {4, 0}, {0, -2}, {4, 2}, 0, at));
    EXPECT_EQ(at, (Point{2, 0}));
}

TEST(IntersectLines, SegmentTestsIncludeTheEnds) {
    Point at;
    // Two segments that share an end point.
    EXPECT_TRUE(IntersectLines({0, 0}, {2, 2}, {2, 2}, {4, 0}, kOnFirstSegment | kOnSecondSegment, at));
    EXPECT_EQ(at, (Point{2, 2}));
    // Beyond the first segment: refused, the point written all the same.
    at = {};
    EXPECT_FALSE(IntersectLines({0, 0}, {1, 1}, {2, 0}, {2, 5}, kOnFirstSegment, at));
    EXPECT_EQ(at, (Point{2, 2}));
    EXPECT_TRUE(IntersectLines({0, 0}, {1, 1}, {2, 0}, {2, 5}, kOnSecondSegment, at));
    EXPECT_FALSE(IntersectLines({0, 0}, {3, 3}, {2, 3}, {2, 5}, kOnSecondSegment, at));
}

TEST(IntersectLineCircle, CountsAndSegmentFilter) {
    auto both = IntersectLineCircle({-5, 0}, {5, 0}, {0, 0}, 2, false);
    ASSERT_EQ(both.count, 2);
    EXPECT_EQ(both.points[0], (Point{2, 0}));
    EXPECT_EQ(both.points[1], (Point{-2, 0}));
    // The segment reaches only the left crossing: it moves to the first place.
    auto left = IntersectLineCircle({-5, 0}, {0, 0}, {0, 0}, 2, true);
    ASSERT_EQ(left.count, 1);
    EXPECT_EQ(left.points[0], (Point{-2, 0}));
    auto vertical = IntersectLineCircle({1, -5}, {1, 5}, {1, 0}, 3, false);
    ASSERT_EQ(vertical.count, 2);
    EXPECT_EQ(vertical.points[0], (Point{1, -3}));
    EXPECT_EQ(IntersectLineCircle({0, 3}, {1, 3}, {0, 0}, 2, false).count, 0);
    EXPECT_EQ(IntersectLineCircle({0, 2}, {1, 2}, {0, 0}, 2, false).count, 1);
}

TEST(IntersectCircles, TwoTangentNone) {
    auto two = IntersectCircles({0, 0}, 5, {8, 0}, 5);
    ASSERT_EQ(two.count, 2);
    EXPECT_NEAR(two.points[0].x, 4, 1e-12);
    EXPECT_NEAR(std::fabs(two.points[0].y), 3, 1e-12);
    EXPECT_NEAR(two.points[1].y, -two.points[0].y, 1e-12);
    auto tangent = IntersectCircles({0, 0}, 2, {4, 0}, 2);
    ASSERT_EQ(tangent.count, 1);
    EXPECT_NEAR(tangent.points[0].x, 2, 1e-12);
    EXPECT_EQ(IntersectCircles({0, 0}, 2, {0, 0}, 2).count, 0);
    EXPECT_EQ(IntersectCircles({0, 0}, 1, {5, 0}, 1).count, 0);
}

TEST(Sorting, SortsTheRangeOnlyAndRefusesOutsideIndexes) {
    std::array<double, 6> numbers{9, 5, NAN, 1, 3, 0};
    SortNumberArray(numbers, 1, 4);
    EXPECT_EQ(numbers[0], 9);
    EXPECT_EQ(numbers[1], 1);
    EXPECT_EQ(numbers[3], 5);
    EXPECT_TRUE(std::isnan(numbers[4]));
    EXPECT_EQ(numbers[5], 0);
    auto before = numbers;
    SortNumberArray(numbers, 0, 6);
    SortNumberArray(numbers, -1, 3);
    EXPECT_EQ(0, std::memcmp(before.data(), numbers.data(), sizeof numbers));
    std::array<Point, 3> points{{{3, 1}, {1, 3}, {2, 2}}};
    SortPoints(points, 0, 2, true);
    EXPECT_EQ(points[0], (Point{3, 1}));
    SortPoints(points, 0, 2, false);
    EXPECT_EQ(points[0], (Point{1, 3}));
    EXPECT_EQ(points[2], (Point{3, 1}));
}

TEST(Rectangles, NormalisedBySwapping) {
    IntRect rect{5, 7, 1, 2};
    NormalizeIntRect(rect);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 7);
    Box box{1, 9, 0, 3};
    NormalizeBox(box);
    EXPECT_EQ(box.x1, 0);
    EXPECT_EQ(box.y2, 9);
}

}  // namespace
}  // namespace linework
