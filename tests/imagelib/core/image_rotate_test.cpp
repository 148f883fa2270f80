#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"
#include "core/edit/image_rotate.h"

namespace {

using pixmill::liveImageCount;
using ImageRotate = PixmillTest;

int ticks = 0;
void countTick() {
    ++ticks;
}

// A distinct value per pixel wherever the depth allows it; 1-bit pictures get an irregular pattern.
int pattern(int bits, int x, int y) {
    switch (bits) {
        case 1:
            return (x * x + 3 * y + x * y) % 2;
        case 4:
            return (x + 5 * y) % 16;
        default:
            return (x + 5 * y + 1) % 256;
    }
}

PxlImageId fixture(int bits, int width, int height) {
    if (bits == 24) return testpx::truecolour(width, height, [](int x, int y) { return RGB(x, y, 0x80); });
    const PxlImageId id =
        testpx::indexed(width, height, bits, [bits](int x, int y) { return pattern(bits, x, y); });
    PXLSetColorToPalette(id, 1, RGB(12, 34, 56));  // the palette travels with the pixels
    return id;
}

uint32_t pixelAt(PxlImageId id, int x, int y) {
    return PXLbpp(id) == 24 ? testpx::colour(id, x, y) : static_cast<uint32_t>(testpx::index(id, x, y));
}

TEST_F(ImageRotate, QuarterTurnsPermutePixelsAtEveryDepth) {
    // Where result pixel (x, y) comes from in a w x h source; clockwise on screen.
    struct Turn {
        int angle;
        bool swapsSides;
        int (*sx)(int x, int y, int w, int h);
        int (*sy)(int x, int y, int w, int h);
    };
    const Turn turns[] = {
        {90, true, [](int, int y, int, int) { return y; }, [](int x, int, int, int h) { return h - 1 - x; }},
        {-270, true, [](int, int y, int, int) { return y; },
         [](int x, int, int, int h) { return h - 1 - x; }},
        {450, true, [](int, int y, int, int) { return y; }, [](int x, int, int, int h) { return h - 1 - x; }},
        {270, true, [](int, int y, int w, int) { return w - 1 - y; }, [](int x, int, int, int) { return x; }},
        {-90, true, [](int, int y, int w, int) { return w - 1 - y; }, [](int x, int, int, int) { return x; }},
        {180, false, [](int x, int, int w, int) { return w - 1 - x; },
         [](int, int y, int, int h) { return h - 1 - y; }},
        {-180, false, [](int x, int, int w, int) { return w - 1 - x; },
         [](int, int y, int, int h) { return h - 1 - y; }},
    };
    // Odd sides wider than a byte of 1-bit pixels, and sides over several tiles of the turn.
    for (auto [w, h] : {std::array{13, 5}, std::array{150, 67}})
        for (int bits : {1, 4, 8, 24}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            const PxlImageId source = fixture(bits, w, h);
            for (const Turn& t : turns) {
                ticks = 0;
                const PxlImageId turned = PXLRotateImage(source, t.angle, 1, countTick);
                ASSERT_NE(turned, 0) << bits << " bits, " << t.angle;
                EXPECT_EQ(ticks, h) << "once per source row";
                ASSERT_EQ(PXLWidth(turned), t.swapsSides ? h : w) << "no border";
                ASSERT_EQ(PXLHeight(turned), t.swapsSides ? w : h);
                ASSERT_EQ(PXLbpp(turned), bits);
                int wrong = 0;
                for (int y = 0; y < PXLHeight(turned); ++y)
                    for (int x = 0; x < PXLWidth(turned); ++x)
                        wrong += pixelAt(turned, x, y) != pixelAt(source, t.sx(x, y, w, h), t.sy(x, y, w, h));
                EXPECT_EQ(wrong, 0) << bits << " bits, " << t.angle;
                if (bits <= 8) {
                    EXPECT_EQ(PXLGetColorFromPalette(turned, 1), RGB(12, 34, 56));
                }
                PXLDeleteImage(turned);
            }
            PXLDeleteImage(source);
        }
}

TEST_F(ImageRotate, WholeTurnsGiveAnIndependentCopy) {
    const PxlImageId source = fixture(24, 4, 3);
    for (int angle : {0, 360, -360, 720}) {
        const PxlImageId copy = PXLRotateImage(source, angle, 1, nullptr);
        ASSERT_NE(copy, 0) << angle;
        EXPECT_NE(copy, source) << angle;
        EXPECT_EQ(testpx::pixels(copy), testpx::pixels(source)) << angle;
        testpx::setColour(copy, 0, 0, RGB(1, 1, 1));
        EXPECT_EQ(testpx::colour(source, 0, 0), RGB(0, 0, 0x80)) << "the source is untouched";
        PXLDeleteImage(copy);
    }
}

// The general turn against a reference computed here in floating point: every result pixel
// shows the source pixel under its turned-back centre, give or take one pixel for the table's
// rounding, and the background exactly where that lies off the picture.
TEST_F(ImageRotate, OtherAnglesTakeTheSourcePixelUnderEachTurnedBackPixel) {
    const int w = 21, h = 12;
    const PxlImageId source = fixture(24, w, h);
    for (int angle : {30, 45, 100, 200, 300, -30, 1}) {
        SCOPED_TRACE(angle);
        ticks = 0;
        const PxlImageId turned = PXLRotateImage(source, angle, 1, countTick);
        ASSERT_NE(turned, 0);
        const int tw = PXLWidth(turned), th = PXLHeight(turned);
        EXPECT_EQ(ticks, th) << "once per result row";
        // Step k turns by (k + 1) * 360 / 256 degrees, k = angle * 0.71111 rounded.
        const double scaled = (angle % 360) * 0.71111;
        int k = static_cast<int>(std::lround(scaled));
        if (k < 0) k += 256;
        const double phi = (k + 1) * 2 * M_PI / 256;
        const double cs = std::cos(phi), sn = std::sin(phi);
        EXPECT_NEAR(tw, std::abs(w * cs) + std::abs(h * sn) + 2, 2);
        EXPECT_NEAR(th, std::abs(w * sn) + std::abs(h * cs) + 2, 2);
        const double cx = w / 2, cy = h / 2, dcx = (tw - 1) / 2, dcy = (th - 1) / 2;
        int exact = 0, shown = 0;
        for (int j = 0; j < th; ++j) {
            for (int i = 0; i < tw; ++i) {
                const double u = cx + (i - dcx) * cs + (j - dcy) * sn;
                const double v = cy - (i - dcx) * sn + (j - dcy) * cs;
                const COLORREF got = testpx::colour(turned, i, j);
                const bool clearlyInside = u >= 1 && v >= 1 && u < w - 1 && v < h - 1;
                const bool clearlyOutside = u < -1 || v < -1 || u >= w + 1 || v >= h + 1;
                if (got == RGB(255, 255, 255)) {
                    EXPECT_FALSE(clearlyInside) << "background at " << i << "," << j;
                    continue;
                }
                ASSERT_EQ(GetBValue(got), 0x80) << i << "," << j;
                EXPECT_FALSE(clearlyOutside) << "picture at " << i << "," << j;
                const int sx = GetRValue(got), sy = GetGValue(got);
                EXPECT_LE(std::abs(sx - std::floor(u)), 1) << i << "," << j;
                EXPECT_LE(std::abs(sy - std::floor(v)), 1) << i << "," << j;
                exact += sx == std::floor(u) && sy == std::floor(v);
                ++shown;
            }
        }
        EXPECT_GE(exact, shown * 9 / 10) << "the table is close to the exact turn";
        PXLDeleteImage(turned);
    }
    PXLDeleteImage(source);
}

TEST_F(ImageRotate, AlmostWholeTurnsLeaveThePictureOnAWiderCanvas) {
    // 358 and 359 degrees turn by a whole step-256 turn: the picture unturned, 2 pixels more each
    // way; even sides keep it at the top-left, odd ones centre it.
    struct Case {
        int width, height, angle, offsetX, offsetY;
    };
    const Case cases[] = {{4, 2, 359, 0, 0}, {5, 3, 359, 1, 1}, {4, 3, 358, 0, 1}, {5, 2, -1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " by " << c.angle);
        const PxlImageId source = fixture(24, c.width, c.height);
        const PxlImageId turned = PXLRotateImage(source, c.angle, 1, nullptr);
        ASSERT_EQ(PXLWidth(turned), c.width + 2);
        ASSERT_EQ(PXLHeight(turned), c.height + 2);
        for (int y = 0; y < c.height + 2; ++y) {
            for (int x = 0; x < c.width + 2; ++x) {
                const int sx = x - c.offsetX, sy = y - c.offsetY;
                const bool onPicture = sx >= 0 && sy >= 0 && sx < c.width && sy < c.height;
                EXPECT_EQ(testpx::colour(turned, x, y), onPicture ? RGB(sx, sy, 0x80) : RGB(255, 255, 255))
                    << x << "," << y;
            }
        }
        PXLDeleteImage(turned);
        PXLDeleteImage(source);
    }
}

TEST_F(ImageRotate, TheCanvasTakesTheIndexNearestWhiteOrSetBits) {
    // Palettes all black but for one whitish entry; the picture uses another index throughout.
    struct Case {
        int bits, whiteIndex, pictureIndex, allBitsSet;
    };
    const Case cases[] = {{1, 0, 1, 1}, {4, 6, 2, 15}, {8, 77, 3, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const PxlImageId source = testpx::indexed(9, 9, c.bits, [&](int, int) { return c.pictureIndex; });
        for (int i = 0; i < (1 << c.bits); ++i) PXLSetColorToPalette(source, i, RGB(0, 0, 0));
        PXLSetColorToPalette(source, c.whiteIndex, RGB(250, 251, 252));
        const PxlImageId white = PXLRotateImage(source, 45, 1, nullptr);
        const PxlImageId set = PXLRotateImage(source, 45, 0, nullptr);
        ASSERT_NE(white, 0);
        ASSERT_NE(set, 0);
        const int w = PXLWidth(white), h = PXLHeight(white);
        for (auto [x, y] :
             {std::array{0, 0}, std::array{w - 1, 0}, std::array{0, h - 1}, std::array{w - 1, h - 1}}) {
            EXPECT_EQ(testpx::index(white, x, y), c.whiteIndex) << x << "," << y;
            EXPECT_EQ(testpx::index(set, x, y), c.allBitsSet) << x << "," << y;
        }
        EXPECT_EQ(testpx::index(white, w / 2, h / 2), c.pictureIndex);
        EXPECT_EQ(testpx::index(set, w / 2, h / 2), c.pictureIndex);
        PXLDeleteImage(white);
        PXLDeleteImage(set);
        PXLDeleteImage(source);
    }
    // A 24-bit canvas is white either way.
    const PxlImageId source = fixture(24, 9, 9);
    const PxlImageId turned = PXLRotateImage(source, 45, 0, nullptr);
    EXPECT_EQ(testpx::colour(turned, 0, 0), RGB(255, 255, 255));
}

TEST_F(ImageRotate, SixteenAndThirtyTwoBitImagesAndUnknownIdsAreRefused) {
    const PxlImageId wide = PXLCreateImage(4, 4, PXL_BITS_565);
    const PxlImageId deep = PXLCreateImage(4, 4, 32);
    const size_t before = liveImageCount();
    for (int angle : {90, 180, 30}) {
        EXPECT_EQ(PXLRotateImage(wide, angle, 1, nullptr), 0) << angle;
        EXPECT_EQ(PXLRotateImage(deep, angle, 1, nullptr), 0) << angle;
        EXPECT_EQ(PXLRotateImage(0, angle, 1, nullptr), 0) << angle;
        EXPECT_EQ(PXLRotateImage(99, angle, 1, nullptr), 0) << angle;
    }
    EXPECT_EQ(liveImageCount(), before) << "no half-made result is left";
}

TEST(RotationTable, StepsStayWithinThreeOfTheKnownValues) {
    struct Row {
        int k, s, c;
    };
    const Row rows[] = {{0, -28, 1023}, {63, -1023, -2}, {127, 1, -1023},
                        {191, 1023, 0}, {254, 25, 1023}, {255, 0, 1024}};
    for (const Row& r : rows) {
        const pixmill::RotationStep step = pixmill::rotationStep(r.k);
        EXPECT_NEAR(step.s, r.s, 3) << r.k;
        EXPECT_NEAR(step.c, r.c, 3) << r.k;
    }
}

TEST(RotationTable, AnglesMapToStepsByTheStoredRule) {
    struct Case {
        int angle, index;
    };
    const Case cases[] = {{45, 32},  {90, 64},  {1, 1},     {358, 255}, {359, 255},
                          {-1, 255}, {-2, 255}, {-45, 224}, {405, 32},  {-359, 1}};
    for (const Case& c : cases) EXPECT_EQ(pixmill::rotationIndex(c.angle), c.index) << c.angle;
}

TEST(RotationTable, FourPointsTurnClockwiseAboutTheCentre) {
    for (int angle : {30, 45, 135, 250, -60}) {
        std::array<int32_t, 8> points = {110, 50, 10, 50, 10, -40, 60, 80};
        const std::array<int32_t, 8> before = points;
        pixmill::turnFourPoints(points, 10, 50, angle);
        int k = static_cast<int>(std::lround((angle % 360) * 0.71111));
        if (k < 0) k += 256;
        const double phi = (k + 1) * 2 * M_PI / 256;
        for (int p = 0; p < 4; ++p) {
            const double dx = before[2 * p] - 10, dy = before[2 * p + 1] - 50;
            EXPECT_NEAR(points[2 * p], 10 + dx * std::cos(phi) - dy * std::sin(phi), 2.5)
                << angle << " point " << p;
            EXPECT_NEAR(points[2 * p + 1], 50 + dx * std::sin(phi) + dy * std::cos(phi), 2.5)
                << angle << " point " << p;
        }
    }
    for (int angle : {0, 90, -180, 270, 360}) {
        std::array<int32_t, 8> points = {1, 2, 3, 4, 5, 6, 7, 8};
        pixmill::turnFourPoints(points, 0, 0, angle);
        EXPECT_EQ(points, (std::array<int32_t, 8>{1, 2, 3, 4, 5, 6, 7, 8})) << angle;
    }
}

}  // namespace
