#include "display/line_types.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace linework {
namespace {

std::vector<double> Lengths(const DashPattern& pattern) {
    return {pattern.lengths.begin(), pattern.lengths.begin() + pattern.count};
}

TEST(LineTypes, PatternsGrowWithThePenWidth) {
    struct Case {
        int type, width, scale;
        bool printing;
        std::vector<double> lengths;
    };
    const Case cases[] = {
        {2, 1, -1, false, {10, 8}},
        {2, 3, -1, false, {22, 17}},  // 10 * 3^0.7071 = 21.7, 8 * 3^0.7071 = 17.4
        {2, 2, -1, false, {16, 13}},
        {3, 3, -1, false, {2, 9}},    // dots stay
        {3, 11, -1, false, {2, 22}},  // the gap is exactly twice the width
        {3, 12, -1, false, {2, 24}},  // 23 is raised to twice the width
        {4, 1, -1, false, {10, 4, 2, 4}},
        {4, 3, -1, false, {22, 9, 2, 9}},
        {5, 1, -1, false, {10, 4, 2, 4, 2, 4}},
        {2, 3, 1, false, {30, 24}},  // a scale of 1 or more multiplies by the width
        {3, 3, 2, false, {2, 12}},
        {2, 1, -3, true, {22, 17}},  // printing: at least the scale's magnitude as the width
        {2, 1, -3, false, {10, 8}},
        {1, 3, -1, false, {}},
        {6, 3, -1, false, {}},
        {7, 3, -1, false, {}},
        {8, 1, -1, false, {}},
        {9, 1, -1, false, {}},
        {0, 1, -1, false, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lengths(BuildDashPattern(c.type, c.width, c.scale, c.printing)), c.lengths)
            << "type " << c.type << " width " << c.width << " scale " << c.scale;
    }
}

TEST(LineTypes, PenStylesOfLineTypes) {
    for (int type = 0; type <= 6; ++type) EXPECT_EQ(LineTypeToPenStyle(type), type);
    for (int type : {-1, 7, 8, 255}) EXPECT_EQ(LineTypeToPenStyle(type), 1) << type;
    EXPECT_EQ(SystemPenStyle(2), winforms::PenStyle::Dash);
    EXPECT_EQ(SystemPenStyle(5), winforms::PenStyle::DashDotDot);
    EXPECT_EQ(SystemPenStyle(7), winforms::PenStyle::Solid);
    EXPECT_EQ(SystemPenStyle(1), winforms::PenStyle::Solid);
}

using Pieces = std::vector<std::pair<double, double>>;

Pieces Walk(DashState& state, double length) {
    Pieces pieces;
    WalkDashes(state, length, [&](double from, double to) { pieces.emplace_back(from, to); });
    return pieces;
}

TEST(LineTypes, ThePatternRunsOnAcrossSegments) {
    DashState state;
    state.pattern = BuildDashPattern(2, 1, -1, false);  // 10 on, 8 off
    EXPECT_EQ(Walk(state, 15), (Pieces{{0, 10}}));
    EXPECT_EQ(state.index, 1);
    EXPECT_EQ(state.remainder, 3);  // 5 of the gap spent
    EXPECT_EQ(Walk(state, 20), (Pieces{{3, 13}}));
    EXPECT_EQ(state.index, 1);
    EXPECT_EQ(state.remainder, 1);
    // A remainder longer than the segment is spent in part.
    EXPECT_EQ(Walk(state, 0.5), Pieces{});
    EXPECT_EQ(state.remainder, 0.5);
    // One exactly as long as the segment ends its element: the next element waits whole.
    EXPECT_EQ(Walk(state, 0.5), Pieces{});
    EXPECT_EQ(state.index, 0);
    EXPECT_EQ(state.remainder, 10);
    EXPECT_EQ(Walk(state, 12), (Pieces{{0, 10}}));
    EXPECT_EQ(Walk(state, 0), Pieces{});
    EXPECT_EQ(state.remainder, 6);
}

TEST(LineTypes, AnEmptyPatternDrawsTheWholeSegment) {
    DashState state;
    EXPECT_EQ(Walk(state, 7.5), (Pieces{{0, 7.5}}));
}

}  // namespace
}  // namespace linework
