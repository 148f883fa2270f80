#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using pixmill::liveImageCount;
using ImageCrop = PixmillTest;

TEST_F(ImageCrop, CopiesTheClampedRectangleAtEveryDepth) {
    struct Rect {
        const char* what;
        int left, top, right, bottom;
        int x0, y0, x1, y1;  // what is copied, inclusive
    };
    const Rect rects[] = {
        {"inside", 3, 1, 9, 2, 3, 1, 9, 2},
        {"corners given the other way round", 9, 2, 3, 1, 3, 1, 9, 2},
        {"partly outside, reversed", 30, 2, -4, -9, 0, 0, 20, 2},
        {"one pixel", 5, 3, 5, 3, 5, 3, 5, 3},
        {"the last column", 20, 0, 25, 3, 20, 0, 20, 3},
        {"wholly left of the picture: the edge column", -5, 1, -2, 2, 0, 1, 0, 2},
        {"the last row", 2, 3, 6, 4, 2, 3, 6, 3},
        {"wholly below the picture: the edge row", 6, 9, 2, 5, 2, 3, 6, 3},
    };
    const int w = 21, h = 4;
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        const PxlImageId source = testpx::distinctPixels(bits, w, h);
        for (const Rect& r : rects) {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << r.what);
            const PxlImageId crop = PXLCropImage(source, r.left, r.top, r.right, r.bottom);
            ASSERT_NE(crop, 0);
            ASSERT_EQ(PXLWidth(crop), r.x1 - r.x0 + 1);
            ASSERT_EQ(PXLHeight(crop), r.y1 - r.y0 + 1);
            ASSERT_EQ(PXLbpp(crop), bits);
            for (int y = r.y0; y <= r.y1; ++y)
                for (int x = r.x0; x <= r.x1; ++x)
                    EXPECT_EQ(testpx::value(crop, x - r.x0, y - r.y0), testpx::value(source, x, y)) << x << "," << y;
            PXLDeleteImage(crop);
        }
        PXLDeleteImage(source);
    }
}

TEST_F(ImageCrop, PackedRowsShiftByThePixelsCutOff) {
    // 1 bit from x = 3: each byte is the source byte shifted three bits, the next one's top bits
    // after it; bits past the crop's last pixel are clear.
    const PxlImageId bits = PXLCreateImage(20, 1, 1);
    const uint8_t row[] = {0xA5, 0x3C, 0xF0};
    std::memcpy(testpx::row(bits, 0), row, 3);
    const PxlImageId crop = PXLCropImage(bits, 3, 0, 17, 0);
    ASSERT_EQ(PXLWidth(crop), 15);
    EXPECT_EQ(testpx::row(crop, 0)[0], static_cast<uint8_t>(0xA5 << 3 | 0x3C >> 5));
    EXPECT_EQ(testpx::row(crop, 0)[1], static_cast<uint8_t>((0x3C << 3 | 0xF0 >> 5) & 0xFE));
    // 4 bits from an odd column: nibbles move up by one.
    const PxlImageId nibbles = PXLCreateImage(5, 1, 4);
    const uint8_t pairs[] = {0x12, 0x34, 0x50};
    std::memcpy(testpx::row(nibbles, 0), pairs, 3);
    const PxlImageId odd = PXLCropImage(nibbles, 1, 0, 4, 0);
    EXPECT_EQ(testpx::row(odd, 0)[0], 0x23);
    EXPECT_EQ(testpx::row(odd, 0)[1], 0x45);
}

TEST_F(ImageCrop, KeepsThePaletteAndRefusesUnknownImages) {
    const PxlImageId id = testpx::distinctPixels(8, 4, 4);
    PXLSetColorToPalette(id, 200, RGB(1, 2, 3));
    const PxlImageId crop = PXLCropImage(id, 0, 0, 1, 1);
    EXPECT_EQ(PXLGetColorFromPalette(crop, 200), RGB(1, 2, 3));
    EXPECT_EQ(PXLCropImage(0, 0, 0, 1, 1), 0);
    EXPECT_EQ(PXLCropImage(99, 0, 0, 1, 1), 0);
    EXPECT_EQ(PXLCropImageEx(99, 0, 0, 1, 1, 1), 0);
}

TEST_F(ImageCrop, TheExtendedCropCarriesTransparencyWhenAsked) {
    const PxlImageId id = testpx::distinctPixels(24, 6, 4);
    const PxlTransparencyEntry entries[] = {{1, 2, 3, 4, PXL_TRANSPARENT_COLOR, 0, 0},
                                            {0, 0, 0, 0, PXL_TRANSPARENT_REGION, 5, 3}};
    PXLSetImageTransparent(id, entries, 2);
    PXLSetImageTransparentEx(id, testpx::indexed(6, 4, 8, [](int x, int y) { return 10 * y + x; }));

    const PxlImageId plain = PXLCropImageEx(id, 2, 1, 4, 2, 0);
    EXPECT_EQ(PXLIsImageTransparent(plain), 0);

    const PxlImageId crop = PXLCropImageEx(id, 2, 1, 4, 2, 1);
    int32_t count = 0;
    const PxlTransparencyEntry* copied = PXLGetImageTransparentData(crop, &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::memcmp(copied, entries, sizeof entries), 0) << "entries as they were, seeds unmoved";
    const PxlImageId part = PXLGetImageTransparentImageEx(crop);
    ASSERT_NE(part, 0);
    EXPECT_EQ(testpx::pixels(part), (std::vector<uint32_t>{12, 13, 14, 22, 23, 24}));
    PXLDeleteImage(crop);
    PXLDeleteImage(plain);
    PXLDeleteImage(id);
    EXPECT_EQ(liveImageCount(), 0u);
}

// A writer inverts a uniform picture over and over (all bytes 0x00, then all 0xFF), pausing
// between turns so that readers get their share; a crop taken meanwhile must show one state or the
// other, never a picture half inverted.
TEST_F(ImageCrop, NeverSeesAWriterHalfWay) {
    const PxlImageId id = PXLCreateImage(512, 256, 24);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop) {
            PXLInvert(id);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    int mixed = 0, failed = 0;
    for (int i = 0; i < 200; ++i) {
        const PxlImageId crop = PXLCropImage(id, 0, 0, 511, 255);
        if (crop == 0) {
            ++failed;
            continue;
        }
        const uint8_t* bits = PXLGetBits(crop);
        const size_t size = static_cast<size_t>(PXLSizeImage(crop));
        mixed += std::any_of(bits, bits + size, [first = bits[0]](uint8_t b) { return b != first; }) ? 1 : 0;
        PXLDeleteImage(crop);
    }
    stop = true;
    writer.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(mixed, 0);
}

}  // namespace
