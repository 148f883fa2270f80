// The shadow halftone: ANDed inside the rectangle only, on a grid anchored at the device's
// origin, its rows one pixel higher for an odd vertical origin.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/shadow.h"
#include "picture_test_support.h"

namespace lect32 {
namespace {

using picture_test::Canvas;
using picture_test::kBlack;
using picture_test::kRed;
using picture_test::kWhite;

// The program's halftone is a checkerboard: black where x + y is even in the picture.
TEST(ShadowTest, DarkensEveryOtherPixelInsideTheRectangle) {
    for (const int originY : {0, 1, 2, -3}) {
        Canvas canvas(40, 24);
        canvas.fill(kWhite);
        const RECT band{3, 2, 37, 21};  // crosses the tiles' edges at x 16, 32 and y 16
        ASSERT_TRUE(DrawShadow(canvas.dc(), band, 5, originY));
        const int shift = originY & 1;  // rows one higher: picture row = device row + 1
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inside = x >= band.left && x < band.right && y >= band.top && y < band.bottom;
                const bool dark = inside && (x + y + shift) % 2 == 0;
                ASSERT_EQ(canvas.pixel(x, y), dark ? kBlack : kWhite) << x << "," << y << " origin " << originY;
            }
        }
    }
}

// ANDing keeps what is under the light pixels and blackens the rest: a red band stays red
// between its black dots.
TEST(ShadowTest, KeepsTheColoursUnderItsLightPixels) {
    Canvas canvas(8, 4);
    canvas.fill(kRed);
    ASSERT_TRUE(DrawShadow(canvas.dc(), {0, 0, 8, 4}, 0, 0));
    EXPECT_EQ(canvas.rows({{kRed, 'r'}, {kBlack, 'X'}}), std::vector<std::string>({"XrXrXrXr", "rXrXrXrX", "XrXrXrXr", "rXrXrXrX"}));
}

}  // namespace
}  // namespace lect32
