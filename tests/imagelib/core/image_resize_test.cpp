#include <cstring>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"
#include "winplat/testing.h"

namespace {

using pixmill::liveImageCount;
using ImageResize = PixmillTest;

int ticks = 0;
void countTick() {
    ++ticks;
}

int nearestSource(int i, int from, int to) {
    return static_cast<int>((2 * int64_t{i} + 1) * from / (2 * int64_t{to}));
}

PxlImageId distinct(int bits, int width, int height) {
    if (bits == 24)
        return testpx::truecolour(width, height, [](int x, int y) { return RGB(x * 10, y * 10, 7); });
    const PxlImageId id =
        testpx::indexed(width, height, bits, [bits](int x, int y) { return (x + 3 * y) % (1 << bits); });
    PXLSetColorToPalette(id, 0, RGB(1, 2, 3));
    return id;
}

TEST_F(ImageResize, DrawnResizeTakesThePixelUnderEachCentre) {
    struct Size {
        int sw, sh, dw, dh;
    };
    const Size sizes[] = {{7, 5, 3, 2}, {4, 3, 9, 7}, {13, 4, 13, 9}, {5, 5, 2, 2}};
    for (int bits : {1, 4, 8, 24}) {
        for (const Size& s : sizes) {
            SCOPED_TRACE(testing::Message()
                         << bits << " bits, " << s.sw << "x" << s.sh << " to " << s.dw << "x" << s.dh);
            const PxlImageId source = distinct(bits, s.sw, s.sh);
            const PxlImageId result =
                PXLNewSizeImage(source, static_cast<int16_t>(s.dw), static_cast<int16_t>(s.dh), nullptr);
            ASSERT_NE(result, 0);
            ASSERT_EQ(PXLbpp(result), bits);
            if (bits <= 8) {
                EXPECT_EQ(PXLGetColorFromPalette(result, 0), RGB(1, 2, 3)) << "the palette comes along";
            }
            for (int y = 0; y < s.dh; ++y) {
                for (int x = 0; x < s.dw; ++x) {
                    const int sx = nearestSource(x, s.sw, s.dw), sy = nearestSource(y, s.sh, s.dh);
                    if (bits == 24) {
                        EXPECT_EQ(testpx::colour(result, x, y), testpx::colour(source, sx, sy))
                            << x << "," << y;
                    } else {
                        EXPECT_EQ(testpx::index(result, x, y), testpx::index(source, sx, sy))
                            << x << "," << y;
                    }
                }
            }
            PXLDeleteImage(result);
            PXLDeleteImage(source);
        }
    }
}

TEST_F(ImageResize, TheSameSizeGivesACopy) {
    for (int16_t mode : {0, 1, 2, 3}) {
        const PxlImageId source = distinct(24, 4, 3);
        const PxlImageId copy = PXLNewSizeImageEx(source, 4, 3, mode, nullptr);
        ASSERT_NE(copy, 0) << mode;
        EXPECT_NE(copy, source) << mode;
        EXPECT_EQ(testpx::pixels(copy), testpx::pixels(source)) << mode;
        PXLDeleteImage(copy);
        PXLDeleteImage(source);
    }
}

TEST_F(ImageResize, FilteredModesResampleAndNeverGiveABlankPicture) {
    // 2 x 2, black beside white: every mode makes something of it, the filters blend.
    const PxlImageId source =
        testpx::truecolour(2, 2, [](int x, int) { return x ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    struct Case {
        int16_t mode;
        std::vector<int> row;  // red of the 4 pixels of a row
    };
    const Case cases[] = {
        {PXL_RESIZE_DRAWN, {0, 0, 255, 255}},
        {PXL_RESIZE_NEAREST, {0, 0, 255, 255}},
        {PXL_RESIZE_BILINEAR, {0, 64, 191, 255}},
        {PXL_RESIZE_BOX, {0, 64, 191, 255}},  // enlarging: bilinear
    };
    for (const Case& c : cases) {
        const PxlImageId result = PXLNewSizeImageEx(source, 4, 4, c.mode, nullptr);
        ASSERT_NE(result, 0) << c.mode;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(GetRValue(testpx::colour(result, x, y)), c.row[x]) << c.mode;
        PXLDeleteImage(result);
    }
    // Reduced, alternating columns: the box averages the three each output pixel covers, the
    // others take the pixel at (bilinear) or under (nearest) the centre.
    const PxlImageId stripes =
        testpx::truecolour(6, 2, [](int x, int) { return x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    const struct {
        int16_t mode;
        int left, right;
    } reductions[] = {{PXL_RESIZE_BOX, 85, 170}, {PXL_RESIZE_BILINEAR, 255, 0}, {PXL_RESIZE_NEAREST, 255, 0}};
    for (const auto& r : reductions) {
        const PxlImageId result = PXLNewSizeImageEx(stripes, 2, 2, r.mode, nullptr);
        ASSERT_NE(result, 0) << r.mode;
        EXPECT_EQ(GetRValue(testpx::colour(result, 0, 1)), r.left) << r.mode;
        EXPECT_EQ(GetRValue(testpx::colour(result, 1, 1)), r.right) << r.mode;
        PXLDeleteImage(result);
    }
}

TEST_F(ImageResize, RefusesTinySizesUnknownModesAndFilteringPaletteImages) {
    const PxlImageId truecolour = distinct(24, 4, 4);
    const PxlImageId bytes = distinct(8, 4, 4);
    const PxlImageId nibbles = distinct(4, 4, 4);
    const PxlImageId bits = distinct(1, 4, 4);
    const size_t before = liveImageCount();
    struct Case {
        const char* what;
        PxlImageId id;
        int16_t width, height, mode;
    };
    const Case cases[] = {
        {"width 1", truecolour, 1, 4, 0},   {"height 1", truecolour, 4, 1, 0},
        {"width 0", truecolour, 0, 4, 1},   {"no image", 0, 8, 8, 0},
        {"an unknown image", 99, 8, 8, 0},  {"mode 4", truecolour, 8, 8, 4},
        {"mode -1", truecolour, 8, 8, -1},  {"bilinear 8 bits", bytes, 8, 8, 2},
        {"nearest 8 bits", bytes, 8, 8, 1}, {"box 4 bits", nibbles, 2, 2, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PXLNewSizeImageEx(c.id, c.width, c.height, c.mode, nullptr), 0) << c.what;
        EXPECT_EQ(liveImageCount(), before) << c.what;
    }
    const PxlImageId bilevel = PXLNewSizeImageEx(bits, 8, 8, 2, nullptr);
    EXPECT_NE(bilevel, 0) << "1-bit pictures take every mode";
    EXPECT_EQ(PXLbpp(bilevel), 1);
    const PxlImageId drawn = PXLNewSizeImageEx(bytes, 8, 8, 0, nullptr);
    EXPECT_NE(drawn, 0) << "palette pictures are drawn";
}

TEST_F(ImageResize, TicksHalfTheHeightBeforeAndAfterWithoutWaiting) {
    winplat::testing::VirtualClock clock;
    const uint64_t start = clock.nowMs();
    const PxlImageId source = distinct(24, 4, 4);
    for (int16_t mode : {0, 2}) {
        ticks = 0;
        const PxlImageId result = PXLNewSizeImageEx(source, 6, 9, mode, countTick);
        ASSERT_NE(result, 0);
        EXPECT_EQ(ticks, 2 * (9 / 2)) << mode;
        PXLDeleteImage(result);
    }
    EXPECT_EQ(clock.nowMs(), start) << "nothing slept";
}

TEST_F(ImageResize, RotatedPicturesDrawAsThePlaceholderButResampleTheirPixels) {
    const PxlImageId source = testpx::truecolour(4, 4, [](int, int) { return RGB(200, 0, 0); });
    PXLSetImageRotateAngle(source, 90);
    const PxlImageId drawn = PXLNewSizeImage(source, 10, 10, nullptr);
    ASSERT_NE(drawn, 0);
    int red = 0;
    for (uint32_t c : testpx::pixels(drawn)) red += c == RGB(200, 0, 0);
    EXPECT_EQ(red, 0) << "the display shows a rotated picture as the hatch";
    EXPECT_EQ(testpx::colour(drawn, 0, 0), RGB(0, 0, 0)) << "outlined";

    const PxlImageId resampled = PXLNewSizeImageEx(source, 10, 10, PXL_RESIZE_BILINEAR, nullptr);
    for (uint32_t c : testpx::pixels(resampled)) EXPECT_EQ(c, RGB(200, 0, 0));
}

}  // namespace
