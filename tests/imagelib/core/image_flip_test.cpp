#include <cstring>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ImageFlip = PixmillTest;

TEST_F(ImageFlip, MirrorsEveryDepthAboutTheRightAxis) {
    const int w = 11, h = 4;  // odd: the middle column stays
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (int16_t flags : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, flags " << flags);
            const PxlImageId original = testpx::distinctPixels(bits, w, h);
            const PxlImageId id = testpx::distinctPixels(bits, w, h);
            ASSERT_EQ(PXLFlipImage(id, flags), 1);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const int sx = (flags & 1) ? w - 1 - x : x, sy = (flags & 2) ? h - 1 - y : y;
                    EXPECT_EQ(testpx::value(id, x, y), testpx::value(original, sx, sy)) << x << "," << y;
                }
            }
            ASSERT_EQ(PXLFlipImage(id, flags), 1);
            EXPECT_EQ(PXLCompareImages(id, original), 1) << "twice restores it";
            PXLDeleteImage(id);
            PXLDeleteImage(original);
        }
    }
}

TEST_F(ImageFlip, LeavesThePaddingBitsOfPackedRows) {
    // 3 pixels of 4 bits use a byte and a half; the low nibble of the second byte is padding.
    const PxlImageId id = testpx::indexed(3, 1, 4, [](int x, int) { return x + 1; });
    testpx::row(id, 0)[1] |= 0x0F;
    ASSERT_EQ(PXLFlipImage(id, PXL_FLIP_LEFT_RIGHT), 1);
    EXPECT_EQ(testpx::row(id, 0)[0], 0x32);
    EXPECT_EQ(testpx::row(id, 0)[1], 0x1F);
}

TEST_F(ImageFlip, TheMaskAndTransparencyImageFollow) {
    const PxlImageId id = testpx::distinctPixels(24, 3, 2);
    const PxlImageId mask = testpx::indexed(3, 2, 1, [](int x, int y) { return x == 0 && y == 0; });
    const PxlImageId alpha = testpx::indexed(3, 2, 8, [](int x, int y) { return 10 * y + x; });
    PXLSetImageTransparentMask(id, mask);
    PXLSetImageTransparentEx(id, alpha);
    ASSERT_EQ(PXLFlipImage(id, 3), 1);
    EXPECT_EQ(testpx::pixels(mask), (std::vector<uint32_t>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(testpx::pixels(alpha), (std::vector<uint32_t>{12, 11, 10, 2, 1, 0}));
}

TEST_F(ImageFlip, NoFlagsOrUnknownImages) {
    const PxlImageId id = testpx::distinctPixels(8, 3, 2);
    const auto before = testpx::pixels(id);
    EXPECT_EQ(PXLFlipImage(id, 0), 1);
    EXPECT_EQ(PXLFlipImage(id, 4), 1) << "only the two low flags count";
    EXPECT_EQ(testpx::pixels(id), before);
    EXPECT_EQ(PXLFlipImage(0, 1), 0);
    EXPECT_EQ(PXLFlipImage(99, 1), 0);
}

}  // namespace
