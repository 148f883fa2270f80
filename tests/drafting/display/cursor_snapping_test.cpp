#include "display/cursor_snapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/angles.h"

namespace linework {
namespace {

TEST(GridSnapTest, RoundsToTheNearestMultipleOnBothSidesOfTheOrigin) {
    struct Case {
        double value, spacing, origin, expected;
    };
    const Case cases[] = {
        {12.4, 5, 0, 10},    {12.5, 5, 0, 15},    {12.6, 5, 0, 15},   {-12.4, 5, 0, -10},
        {-12.5, 5, 0, -15},  {-12.6, 5, 0, -15},  {0.4, 1, 0, 0},     {-0.4, 1, 0, 0},
        {7.2, 5, 1, 6},      {-3.6, 5, 1, -4},    {2.0, 0.25, 0, 2},  {-1001.1, 1000, 0, -1000},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(SnapToGridAxis(c.value, c.spacing, c.origin), c.expected)
            << c.value << " spacing " << c.spacing << " origin " << c.origin;
    }
}

TEST(GridSnapTest, ASpacingOfZeroOrWorseLeavesThePointAndTurnsNothingOff) {
    for (double spacing : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(SnapToGridAxis(12.3, spacing, 0), 12.3);
        Point p{12.3, -4.7};
        EXPECT_EQ(SnapToGrid(p, {spacing, 1, {}, 0.1, 5}), GridSnap::Off) << spacing;
        EXPECT_EQ(SnapToGrid(p, {1, spacing, {}, 0.1, 5}), GridSnap::Off) << spacing;
        EXPECT_EQ(p, (Point{12.3, -4.7}));
    }
}

TEST(GridSnapTest, APitchBelowTheMinimumIsTooFineAndTheEqualPitchSnaps) {
    struct Case {
        double spacingX, spacingY, scale;
        GridSnap expected;
    };
    const Case cases[] = {
        {4, 10, 1, GridSnap::TooFine},    // 4 pixels < 5
        {10, 4, 1, GridSnap::TooFine},    // y alone is enough
        {5, 5, 1, GridSnap::Snapped},     // exactly the minimum
        {4.99, 5, 1, GridSnap::TooFine},
        {1, 1, 0.2, GridSnap::Snapped},   // 5 pixels at scale 0.2
        {1, 1, 0.21, GridSnap::TooFine},
    };
    for (const Case& c : cases) {
        Point p{12.3, -4.7};
        EXPECT_EQ(SnapToGrid(p, {c.spacingX, c.spacingY, {}, c.scale, 5}), c.expected)
            << c.spacingX << " x " << c.spacingY << " at " << c.scale;
        if (c.expected == GridSnap::TooFine) {
            EXPECT_EQ(p, (Point{12.3, -4.7}));
        }
    }
}

TEST(GridSnapTest, ARelativeGridSnapsFromItsOrigin) {
    Point p{13.9, -2.2};
    ASSERT_EQ(SnapToGrid(p, {5, 2, {1.5, 0.5}, 0.1, 5}), GridSnap::Snapped);
    EXPECT_DOUBLE_EQ(p.x, 11.5);
    EXPECT_DOUBLE_EQ(p.y, -1.5);
}

TEST(OrthoSnapTest, TheSmallerDifferenceIsReplaced) {
    struct Case {
        Point cursor, reference, expected;
    };
    const Case cases[] = {
        {{10, 3}, {0, 0}, {10, 0}},
        {{3, 10}, {0, 0}, {0, 10}},
        {{-10, 3}, {0, 0}, {-10, 0}},
        {{12, 7}, {2, 5}, {12, 5}},
        {{4, 4}, {0, 0}, {4, 0}},  // a tie stays horizontal
        {{2, -9}, {1, 1}, {1, -9}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OrthoSnap(c.cursor, c.reference), c.expected) << c.cursor.x << "," << c.cursor.y;
    }
}

TEST(AngleSnapTest, TurnsToTheNearestStepKeepingTheDistance) {
    struct Case {
        Point cursor, reference;
        double origin, step, expectedAngle;
    };
    const double d15 = kPi / 12;
    const Case cases[] = {
        {{10, 1}, {0, 0}, 0, d15, 0},                 // 5.7 degrees -> 0
        {{10, 2}, {0, 0}, 0, d15, d15},               // 11.3 degrees -> 15
        {{-1, 10}, {0, 0}, 0, kHalfPi, kHalfPi},      // 95.7 -> 90
        {{1, -10}, {0, 0}, 0, kHalfPi, 3 * kHalfPi},  // 275.7 -> 270
        {{11, 12}, {1, 2}, 0, kHalfPi / 2, kHalfPi / 2},
        {{10, 1}, {0, 0}, 0.1, 0.5, 0.1},             // from the origin of the steps
    };
    for (const Case& c : cases) {
        const Point snapped = AngleSnap(c.cursor, c.reference, c.origin, c.step);
        const double dx = c.cursor.x - c.reference.x, dy = c.cursor.y - c.reference.y;
        const double sx = snapped.x - c.reference.x, sy = snapped.y - c.reference.y;
        EXPECT_NEAR(std::hypot(sx, sy), std::hypot(dx, dy), 1e-12);
        EXPECT_NEAR(std::remainder(std::atan2(sy, sx) - c.expectedAngle, kTwoPi), 0, 1e-12)
            << c.cursor.x << "," << c.cursor.y;
    }
}

TEST(AngleSnapTest, HalfAStepExactlyStaysOnTheNearerMultipleAndJustBeyondMovesOn) {
    const double step = kHalfPi;
    // Exactly 45 degrees from the origin of the steps: not beyond half a step.
    const Point at45 = AngleSnap({1, 1}, {0, 0}, 0, step);
    EXPECT_NEAR(at45.y, 0, 1e-12);
    EXPECT_NEAR(at45.x, std::sqrt(2.0), 1e-12);
    const Point beyond = AngleSnap({1, 1.0001}, {0, 0}, 0, step);
    EXPECT_NEAR(beyond.x, 0, 1e-12);
}

TEST(AngleSnapTest, AStepOfZeroOrWorseMeansOff) {
    for (double step : {0.0, -0.5, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(AngleSnap({10, 3}, {0, 0}, 0, step), (Point{10, 3})) << step;
    }
}

TEST(AngleSnapTest, ATinyStepDoesNotTakeLong) {
    // Many thousands of steps from the origin: counted at once, close to the cursor's direction.
    const Point snapped = AngleSnap({-10, 1}, {0, 0}, 0, 1e-9);
    EXPECT_NEAR(snapped.x, -10, 1e-6);
    EXPECT_NEAR(snapped.y, 1, 1e-6);
}

}  // namespace
}  // namespace linework
