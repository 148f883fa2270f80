#include "display/segment_clipping.h"

#include <gtest/gtest.h>

namespace linework {
namespace {

// The view of a 641 x 481 paint box at scale 1 from the origin: world x 0..640, y 0..480; world
// y 100 is row 380.
ClipWindow Window() { return {0, 0, 640, 480, 1, 480, 640, 480}; }

struct ClipCase {
    const char* what;
    double x1, y1, x2, y2;
    bool thin;
    std::optional<PixelSegment> expected;
};

TEST(SegmentClipping, CutsToTheWindowInFloatingPoint) {
    const ClipCase cases[] = {
        {"inside, one-pixel solid: the last pixel drawn", 10, 100, 20, 100, true, PixelSegment{10, 380, 21, 380}},
        {"inside, other pens", 10, 100, 20, 100, false, PixelSegment{10, 380, 20, 380}},
        {"far left to far right", -1e300, 100, 1e300, 100, true, PixelSegment{0, 380, 641, 380}},
        {"far right to far left", 1e300, 100, -1e300, 100, false, PixelSegment{640, 380, 0, 380}},
        {"vertical through", 5, -1e300, 5, 1e300, false, PixelSegment{5, 480, 5, 0}},
        {"vertical from inside upwards", 5, 100, 5, 1e9, false, PixelSegment{5, 380, 5, 0}},
        {"diagonal through two edges", -10, -10, 1000, 1000, false, PixelSegment{0, 480, 480, 0}},
        {"diagonal of huge extent", -1e15, -1e15, 1e15, 1e15, false, PixelSegment{0, 480, 480, 0}},
        {"falling through top and right", 610, 490, 700, 400, false, PixelSegment{620, 0, 640, 20}},
        {"one end inside keeps its pixel", 320, 240, 2000, 1080, false, PixelSegment{320, 240, 640, 80}},
        {"inside end second", 2000, 1080, 320, 240, false, PixelSegment{640, 80, 320, 240}},
        {"inside end near the far edge", 600, 100, 700, 200, false, PixelSegment{600, 380, 640, 340}},
        {"the same backwards", 700, 200, 600, 100, false, PixelSegment{640, 340, 600, 380}},
        {"inside end near the far edge, steep", 100, 470, 90, 500, false, PixelSegment{100, 10, 97, 0}},
        {"ends on the right edge", 600, 100, 640, 140, false, PixelSegment{600, 380, 640, 340}},
        {"ends on the top edge", 600, 440, 640, 480, false, PixelSegment{600, 40, 640, 0}},
        {"on the right edge", 640, 10, 640, 20, false, PixelSegment{640, 470, 640, 460}},
        {"on the left edge", 0, 10, 0, 20, false, PixelSegment{0, 470, 0, 460}},
        {"just beyond the right edge", 640.001, 10, 640.001, 20, false, std::nullopt},
        {"just beyond the left edge", -0.001, 10, -0.001, 20, false, std::nullopt},
        {"both below", 10, -1, 20, -2, false, std::nullopt},
        {"both above", 10, 481, 20, 482, false, std::nullopt},
        {"passes above the corner", -100, 400, 100, 800, false, std::nullopt},
        {"passes below the corner", 600, -100, 700, 100, false, std::nullopt},
        {"touches the top left corner only", -100, 380, 100, 580, false, std::nullopt},
    };
    for (const ClipCase& c : cases) {
        EXPECT_EQ(ClipWorldSegment(Window(), c.x1, c.y1, c.x2, c.y2, c.thin), c.expected) << c.what;
    }
}

TEST(SegmentClipping, MovesTheSecondEndOnePixelAlongTheSegment) {
    struct Case {
        PixelSegment in, out;
    };
    const Case cases[] = {
        {{10, 5, 20, 5}, {10, 5, 21, 5}},    // along a row
        {{20, 5, 10, 5}, {20, 5, 9, 5}},     // backwards
        {{4, 4, 4, 4}, {4, 4, 5, 4}},        // a dot: one pixel to the right
        {{3, 10, 3, 2}, {3, 10, 3, 1}},      // along a column
        {{0, 0, 10, 5}, {0, 0, 11, 5}},      // slope 0.5: column only
        {{0, 0, 10, 6}, {0, 0, 11, 7}},      // slope 0.6: both
        {{0, 0, 5, 10}, {0, 0, 5, 11}},      // slope 2: row only
        {{0, 0, 5, 9}, {0, 0, 6, 10}},       // slope 1.8: both
        {{0, 0, -10, -10}, {0, 0, -11, -11}},
    };
    for (const Case& c : cases) {
        PixelSegment s = c.in;
        ExtendLastPixel(s);
        EXPECT_EQ(s, c.out) << c.in.x1 << "," << c.in.y1 << " " << c.in.x2 << "," << c.in.y2;
    }
}

}  // namespace
}  // namespace linework
