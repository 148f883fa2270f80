// Dotted lines: where the dots fall for spacings and phases, clipping to the line's ends, and
// lines drawn twice leaving every pixel as it was.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/xor_dot_pattern.h"
#include "picture_test_support.h"

namespace lect32 {
namespace {

using picture_test::Canvas;
using picture_test::kBlack;
using picture_test::kWhite;

// The row of a horizontal line (or the column of a vertical one) on white: 'X' for a dot.
std::string line(int spacing, int verticalSpacing, int phaseX, int phaseY, bool vertical, int from, int to) {
    Canvas canvas(vertical ? 3 : 40, vertical ? 40 : 3);
    canvas.fill(kWhite);
    XorDotPattern pattern;
    EXPECT_TRUE(pattern.Create(canvas.dc(), phaseX, phaseY, spacing, verticalSpacing));
    if (vertical) pattern.DrawVertical(canvas.dc(), from, to, 1);
    else pattern.DrawHorizontal(canvas.dc(), from, to, 1);
    std::string out;
    for (int i = 0; i < 40; ++i) {
        const COLORREF c = vertical ? canvas.pixel(1, i) : canvas.pixel(i, 1);
        out += c == kBlack ? 'X' : c == kWhite ? '.' : '?';
    }
    return out;
}

struct DotCase {
    int spacing;
    int phase;
    int from, to;
    const char* row;
};

TEST(XorDotPatternTest, HorizontalDotsFollowSpacingAndPhase) {
    const DotCase cases[] = {
        {3, 0, 0, 40, "X..X..X..X..X..X..X..X..X..X..X..X..X..X"},
        {3, 1, 0, 40, "..X..X..X..X..X..X..X..X..X..X..X..X..X."},
        {3, 25, 0, 40, "..X..X..X..X..X..X..X..X..X..X..X..X..X."},  // 25 mod 24 = 1
        {3, -1, 0, 40, ".X..X..X..X..X..X..X..X..X..X..X..X..X.."},
        {4, 0, 0, 40, "X...X...X...X...X...X...X...X...X...X..."},
        {4, 34, 0, 40, "..X...X...X...X...X...X...X...X...X...X."},  // 34 mod 32 = 2
        {5, 0, 0, 40, "X....X....X....X....X....X....X.X....X.."},  // 32 is no multiple of 5
        // Ends: the first pixel of the line is drawn, the last left out, either order.
        {4, 0, 4, 12, "....X...X..............................."},
        {4, 0, 12, 4, "....X...X..............................."},
        {4, 0, 5, 13, "........X...X..........................."},
        {4, 0, 7, 7, "........................................"},
    };
    for (const DotCase& c : cases) {
        EXPECT_EQ(line(c.spacing, 3, c.phase, 0, false, c.from, c.to), c.row)
            << "spacing " << c.spacing << " phase " << c.phase << " " << c.from << ".." << c.to;
    }
}

TEST(XorDotPatternTest, VerticalDotsFollowTheirOwnSpacingAndPhase) {
    EXPECT_EQ(line(3, 3, 0, 0, true, 0, 40), "X..X..X..X..X..X..X..X..X..X..X..X..X..X");
    EXPECT_EQ(line(4, 6, 0, 0, true, 0, 40), "X.....X.....X.....X.....X.....X.....X...");
    EXPECT_EQ(line(4, 6, 0, 2, true, 3, 30), "....X.....X.....X.....X.....X...........");
}

// The vertical phase wraps in the vertical period (24) even where the horizontal one is 32: a
// phase one larger moves every dot one row up, for every phase.
TEST(XorDotPatternTest, VerticalDotsMoveWithThePhase) {
    for (const int spacing : {3, 4}) {
        for (int phase = 0; phase < 50; ++phase) {
            const std::string now = line(spacing, 3, 0, phase, true, 0, 40);
            const std::string next = line(spacing, 3, 0, phase + 1, true, 0, 40);
            EXPECT_EQ(next.substr(0, 39), now.substr(1)) << "spacing " << spacing << " phase " << phase;
        }
    }
}

TEST(XorDotPatternTest, DrawingTwiceRestoresEveryPixel) {
    for (const int bits : {32, 8}) {
        Canvas canvas(48, 40, bits);
        canvas.fillNoise();
        const std::vector<COLORREF> before = canvas.pixels();
        XorDotPattern pattern;
        ASSERT_TRUE(pattern.Create(canvas.dc(), 7, 5, 4, 3));
        for (int round = 0; round < 2; ++round) {
            pattern.DrawHorizontal(canvas.dc(), 3, 45, 4);
            pattern.DrawHorizontal(canvas.dc(), 40, -9, 30);
            pattern.DrawVertical(canvas.dc(), 2, 38, 6);
            pattern.DrawVertical(canvas.dc(), 50, 1, 44);
            if (round == 0) {
                EXPECT_NE(canvas.pixels(), before) << bits;
            }
        }
        EXPECT_EQ(canvas.pixels(), before) << bits;
    }
}

TEST(XorDotPatternTest, ReleasedPatternDrawsNothingAndCanBeMadeAgain) {
    Canvas canvas(40, 3);
    canvas.fill(kWhite);
    XorDotPattern pattern;
    ASSERT_TRUE(pattern.Create(canvas.dc(), 0, 0, 3, 3));
    EXPECT_EQ(pattern.horizontalPeriod(), 24);
    pattern.Release();
    EXPECT_FALSE(pattern.created());
    pattern.DrawHorizontal(canvas.dc(), 0, 40, 1);
    EXPECT_EQ(canvas.pixel(0, 1), kWhite);
    ASSERT_TRUE(pattern.Create(canvas.dc(), 0, 0, 4, 3));
    EXPECT_EQ(pattern.horizontalPeriod(), 32);
    pattern.DrawHorizontal(canvas.dc(), 0, 40, 1);
    EXPECT_EQ(canvas.pixel(0, 1), kBlack);
    EXPECT_EQ(canvas.pixel(3, 1), kWhite);
    EXPECT_EQ(canvas.pixel(4, 1), kBlack);
}

}  // namespace
}  // namespace lect32
