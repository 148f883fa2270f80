#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "winplat/user.h"

namespace {

struct RectCase {
    RECT a;
    RECT b;
    RECT expected;
    BOOL result;
};

std::tuple<LONG, LONG, LONG, LONG> sides(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(RectanglesTest, IntersectTable) {
    const std::vector<RectCase> cases{
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, TRUE},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, FALSE},   // touching edges share no point
        {{0, 0, 10, 10}, {9, 9, 20, 20}, {9, 9, 10, 10}, TRUE},   // one pixel in common
        {{0, 0, 10, 10}, {2, 2, 2, 8}, {0, 0, 0, 0}, FALSE},      // an empty rectangle inside
        {{-5, -5, 5, 5}, {-10, 0, 0, 10}, {-5, 0, 0, 5}, TRUE},
    };
    for (const auto& c : cases) {
        RECT out{7, 7, 7, 7};
        EXPECT_EQ(IntersectRect(&out, &c.a, &c.b), c.result);
        EXPECT_EQ(sides(out), sides(c.expected));
    }
}

TEST(RectanglesTest, UnionLeavesEmptyRectanglesOut) {
    const std::vector<RectCase> cases{
        {{0, 0, 10, 10}, {20, 5, 30, 15}, {0, 0, 30, 15}, TRUE},
        {{0, 0, 10, 10}, {50, 50, 50, 60}, {0, 0, 10, 10}, TRUE},
        {{3, 3, 3, 3}, {50, 50, 40, 60}, {0, 0, 0, 0}, FALSE},
    };
    for (const auto& c : cases) {
        RECT out{};
        EXPECT_EQ(UnionRect(&out, &c.a, &c.b), c.result);
        EXPECT_EQ(sides(out), sides(c.expected));
    }
}

TEST(RectanglesTest, SubtractOnlyCutsAcrossAWholeSide) {
    const std::vector<RectCase> cases{
        {{0, 0, 10, 10}, {-1, -1, 11, 4}, {0, 4, 10, 10}, TRUE},    // the top band
        {{0, 0, 10, 10}, {0, 6, 10, 10}, {0, 0, 10, 6}, TRUE},      // the bottom band
        {{0, 0, 10, 10}, {-3, 0, 2, 10}, {2, 0, 10, 10}, TRUE},     // the left band
        {{0, 0, 10, 10}, {7, -2, 12, 12}, {0, 0, 7, 10}, TRUE},     // the right band
        {{0, 0, 10, 10}, {2, 2, 8, 8}, {0, 0, 10, 10}, TRUE},       // a hole: unchanged
        {{0, 0, 10, 10}, {0, 0, 10, 9}, {0, 9, 10, 10}, TRUE},      // one row left
        {{0, 0, 10, 10}, {-1, -1, 11, 11}, {0, 0, 0, 0}, FALSE},    // all of it
        {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 10, 10}, TRUE},   // apart
    };
    for (const auto& c : cases) {
        RECT out{};
        EXPECT_EQ(SubtractRect(&out, &c.a, &c.b), c.result);
        EXPECT_EQ(sides(out), sides(c.expected));
    }
}

TEST(RectanglesTest, PointsOnTheRightAndBottomEdgesAreOutside) {
    const RECT r{2, 3, 6, 8};
    EXPECT_TRUE(PtInRect(&r, {2, 3}));
    EXPECT_TRUE(PtInRect(&r, {5, 7}));
    EXPECT_FALSE(PtInRect(&r, {6, 7}));
    EXPECT_FALSE(PtInRect(&r, {5, 8}));
    EXPECT_FALSE(PtInRect(&r, {1, 3}));
    EXPECT_FALSE(PtInRect(nullptr, {3, 4}));
}

TEST(RectanglesTest, SettingMovingAndGrowing) {
    RECT r{};
    ASSERT_TRUE(SetRect(&r, 1, 2, 3, 4));
    ASSERT_TRUE(OffsetRect(&r, 10, -2));
    EXPECT_EQ(sides(r), sides({11, 0, 13, 2}));
    ASSERT_TRUE(InflateRect(&r, 2, -1));
    EXPECT_EQ(sides(r), sides({9, 1, 15, 1}));
    EXPECT_TRUE(IsRectEmpty(&r));
    RECT copy{};
    ASSERT_TRUE(CopyRect(&copy, &r));
    EXPECT_TRUE(EqualRect(&copy, &r));
    ASSERT_TRUE(SetRectEmpty(&copy));
    EXPECT_FALSE(EqualRect(&copy, &r));
    EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
    EXPECT_TRUE(IsRectEmpty(nullptr));
}

}  // namespace
