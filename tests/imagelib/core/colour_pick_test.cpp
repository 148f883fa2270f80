#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ColourPick = PixmillTest;

TEST_F(ColourPick, AveragesTheRectangleAtEveryDepth) {
    // A 4 x 3 picture; the colour of (x, y) is (20x, 10y, 100) at every depth, through the
    // palette below 24 bits (one entry per pixel where there are enough).
    for (int bits : {4, 8, 24}) {
        SCOPED_TRACE(bits);
        PxlImageId id;
        if (bits == 24) {
            id = testpx::truecolour(4, 3, [](int x, int y) { return RGB(20 * x, 10 * y, 100); });
        } else {
            id = testpx::indexed(4, 3, bits, [](int x, int y) { return x + 4 * y; });
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 4; ++x) PXLSetColorToPalette(id, x + 4 * y, RGB(20 * x, 10 * y, 100));
        }
        EXPECT_EQ(PXLSuckColor(id, 2, 1, 2, 1), RGB(40, 10, 100)) << "one pixel";
        EXPECT_EQ(PXLSuckColor(id, 3, 2, 0, 0), RGB(30, 10, 100)) << "the whole picture, corners reversed";
        EXPECT_EQ(PXLSuckColor(id, 1, 0, 2, 1), RGB(30, 5, 100)) << "2 x 2";
        EXPECT_EQ(PXLSuckColor(id, 2, 1, 9, 9), RGB(50, 15, 100)) << "cut to the picture";
        EXPECT_EQ(PXLSuckColor(id, 0, 0, 1, 0), RGB(10, 0, 100)) << "the sums are divided down";
    }
    // 1 bit: black and white pixels average to grey.
    const PxlImageId bilevel = testpx::indexed(4, 1, 1, [](int x, int) { return x == 0; });
    EXPECT_EQ(PXLSuckColor(bilevel, 0, 0, 3, 0), RGB(63, 63, 63));
}

TEST_F(ColourPick, NeedsACornerOnThePicture) {
    const PxlImageId id = testpx::truecolour(4, 3, [](int, int) { return RGB(1, 2, 3); });
    EXPECT_EQ(PXLSuckColor(id, -1, -1, 4, 3), -1) << "it holds the picture, but no corner lies on it";
    // Rectangles one step off each edge, level with the picture.
    EXPECT_EQ(PXLSuckColor(id, 4, 0, 9, 2), -1) << "right of the picture";
    EXPECT_EQ(PXLSuckColor(id, -3, 0, -1, 2), -1) << "left of the picture";
    EXPECT_EQ(PXLSuckColor(id, 0, -3, 3, -1), -1) << "above the picture";
    EXPECT_EQ(PXLSuckColor(id, 0, 3, 3, 5), -1) << "below the picture";
    EXPECT_EQ(PXLSuckColor(id, -1, -1, 0, 0), RGB(1, 2, 3)) << "one corner on it is enough";
    EXPECT_EQ(PXLSuckColor(0, 0, 0, 1, 1), -1);
    EXPECT_EQ(PXLSuckColor(99, 0, 0, 1, 1), -1);
}

TEST_F(ColourPick, IndexOfOnePixel) {
    for (int bits : {1, 4, 8}) {
        const PxlImageId id =
            testpx::indexed(5, 2, bits, [bits](int x, int y) { return (x + 3 * y) % (1 << bits); });
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(PXLSuckColorIndex(id, x, y), (x + 3 * y) % (1 << bits)) << bits;
        EXPECT_EQ(PXLSuckColorIndex(id, 5, 0), -1) << "x = width";
        EXPECT_EQ(PXLSuckColorIndex(id, 0, 2), -1) << "y = height";
        EXPECT_EQ(PXLSuckColorIndex(id, -1, 0), -1) << "x = -1";
        EXPECT_EQ(PXLSuckColorIndex(id, 0, -1), -1) << "y = -1";
    }
    EXPECT_EQ(PXLSuckColorIndex(PXLCreateImage(2, 2, 24), 0, 0), -1) << "no palette, no index";
    EXPECT_EQ(PXLSuckColorIndex(99, 0, 0), -1);
}

}  // namespace
