#include <array>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using pixmill::Access;
using pixmill::liveImageCount;
using pixmill::lockImage;
using RotatedCopy = PixmillTest;

constexpr COLORREF kSentinel = RGB(9, 9, 9);

// A caller's bottom-up 24-bit DIB filled with the sentinel colour.
struct Dib {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> bits;
    int stride;

    Dib(int width, int height) : stride((width * 3 + 3) / 4 * 4) {
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        bits.assign(static_cast<size_t>(stride) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) set(x, y, kSentinel);
    }
    uint8_t* pixel(int x, int y) { return bits.data() + (header.biHeight - 1 - y) * stride + 3 * x; }
    void set(int x, int y, COLORREF c) {
        uint8_t* p = pixel(x, y);
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
    }
    COLORREF at(int x, int y) {
        const uint8_t* p = pixel(x, y);
        return RGB(p[2], p[1], p[0]);
    }
    int16_t blit(PxlImageId id, int width, int height) {
        return PXLStretchBltTransparent(nullptr, &header, bits.data(), 0, 0, width, height, id, 1, 0, 0, 0,
                                        0);
    }
};

bool alive(PxlImageId id) {
    return static_cast<bool>(lockImage(id, Access::Read));
}

TEST_F(RotatedCopy, IsMadeOnceForANonZeroAngleAndDroppedWhenTheAngleChanges) {
    const PxlImageId id = testpx::truecolour(5, 3, [](int x, int y) { return RGB(x, y, 1); });
    const size_t alone = liveImageCount();
    EXPECT_EQ(PXLGetImageRotateImage(id), 0) << "no rotation, nothing to make";
    EXPECT_EQ(liveImageCount(), alone);

    ASSERT_EQ(PXLSetImageRotateAngle(id, 450), 1);
    EXPECT_EQ(PXLGetImageRotateAngle(id), 90) << "kept mod 360";
    const PxlImageId copy = PXLGetImageRotateImage(id);
    ASSERT_NE(copy, 0);
    EXPECT_EQ(PXLGetImageRotateImage(id), copy) << "the second call turns nothing";
    EXPECT_EQ(PXLWidth(copy), 3);
    EXPECT_EQ(testpx::colour(copy, 2, 0), RGB(0, 0, 1)) << "the top-left pixel turned to the top-right";
    EXPECT_EQ(PXLGetImageRotateAngle(copy), 0) << "the copy is drawn as it is";

    PXLSetImageRotateAngle(id, -370);
    EXPECT_EQ(PXLGetImageRotateAngle(id), -10);
    EXPECT_FALSE(alive(copy)) << "a new angle drops the old copy";
    const PxlImageId second = PXLGetImageRotateImage(id);
    ASSERT_NE(second, 0);
    // -10 turns by a general step: the corners turned and cut to whole pixels are (0, 0), (4, 0),
    // (4, 2) and (0, 2), and the canvas is 2 pixels more each way.
    EXPECT_EQ(PXLWidth(second), 6);
    EXPECT_EQ(PXLHeight(second), 4);

    ASSERT_EQ(PXLClearTemporaryImages(id), 1);
    EXPECT_FALSE(alive(second));
    EXPECT_EQ(liveImageCount(), alone);
    PXLDeleteImage(id);
    EXPECT_EQ(liveImageCount(), 0u);

    EXPECT_EQ(PXLSetImageRotateAngle(0, 90), 0);
    EXPECT_EQ(PXLSetImageRotateAngle(99, 90), 0);
    EXPECT_EQ(PXLGetImageRotateAngle(99), 0);
    EXPECT_EQ(PXLGetImageRotateImage(99), 0);
}

TEST_F(RotatedCopy, CarriesAMaskOfTheCornersItLeavesUncovered) {
    const PxlImageId id = PXLCreateImage(20, 10, 24);
    PXLSetImageRotateAngle(id, 30);
    EXPECT_EQ(PXLGetImageRotateImageMask(id, 30), 0) << "nothing until the copy is made";
    const PxlImageId copy = PXLGetImageRotateImage(id);
    const PxlImageId corners = PXLGetImageTransparentImageEx(copy);
    ASSERT_NE(corners, 0);
    EXPECT_EQ(PXLGetImageRotateImageMask(id, 30), corners);
    ASSERT_EQ(PXLbpp(corners), 1);
    ASSERT_EQ(PXLWidth(corners), PXLWidth(copy));
    const int w = PXLWidth(corners), h = PXLHeight(corners);
    EXPECT_EQ(testpx::index(corners, 0, 0), 1);
    EXPECT_EQ(testpx::index(corners, w - 1, h - 1), 1);
    EXPECT_EQ(testpx::index(corners, w / 2, h / 2), 0) << "the picture is covered";

    // A quarter turn uncovers nothing.
    PXLSetImageRotateAngle(id, 270);
    const PxlImageId quarter = PXLGetImageTransparentImageEx(PXLGetImageRotateImage(id));
    for (uint32_t bit : testpx::pixels(quarter)) EXPECT_EQ(bit, 0u);
}

TEST_F(RotatedCopy, AnUnrotatedImageKeepsOneTurnedCopyPerAngle) {
    const PxlImageId mask = testpx::indexed(4, 2, 1, [](int x, int y) { return x == 3 && y == 0; });
    const size_t alone = liveImageCount();
    const PxlImageId turned = PXLGetImageRotateImageMask(mask, 90);
    ASSERT_NE(turned, 0);
    EXPECT_EQ(PXLGetImageRotateImageMask(mask, 90), turned);
    EXPECT_EQ(PXLGetImageRotateImageMask(mask, -270), turned) << "the same turn";
    EXPECT_EQ(testpx::pixels(turned), (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, 1}));
    const PxlImageId other = PXLGetImageRotateImageMask(mask, 180);
    EXPECT_EQ(testpx::pixels(other), (std::vector<uint32_t>{0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_FALSE(alive(turned)) << "one turned copy at a time";
    EXPECT_EQ(liveImageCount(), alone + 1);
    EXPECT_EQ(PXLGetImageRotateImageMask(mask, 0), 0) << "nothing to turn";
    EXPECT_EQ(PXLGetImageRotateImageMask(99, 90), 0);
}

TEST_F(RotatedCopy, MirroringAnImageMakesItsRotatedCopyAgain) {
    const PxlImageId id = testpx::truecolour(5, 3, [](int x, int y) { return RGB(x, y, 1); });
    PXLSetImageRotateAngle(id, 90);
    ASSERT_NE(PXLGetImageRotateImage(id), 0);
    ASSERT_EQ(PXLFlipImage(id, PXL_FLIP_LEFT_RIGHT), 1);
    const PxlImageId copy = PXLGetImageRotateImage(id);
    const PxlImageId expected = PXLRotateImage(id, 90, 1, nullptr);
    EXPECT_EQ(testpx::pixels(copy), testpx::pixels(expected)) << "the mirrored picture, turned";
}

// Colour-key and palette-index transparency of a rotated picture are turned with it: keyed pixels
// stay undrawn, as do the corners the turn uncovers.
TEST_F(RotatedCopy, RotatedPicturesDrawThroughTheirTurnedTransparency) {
    struct Case {
        const char* what;
        int bits;
        PxlTransparencyEntry entry;
    };
    const Case cases[] = {
        {"colour key on 24 bits", 24, {200, 0, 0, 10, PXL_TRANSPARENT_COLOR, 0, 0}},
        {"colour key on 8 bits", 8, {200, 0, 0, 10, PXL_TRANSPARENT_COLOR, 0, 0}},
        {"palette index", 8, {0, 0, 7, 0, PXL_TRANSPARENT_INDEX, 0, 0}},
    };
    const COLORREF key = RGB(200, 0, 0), plain = RGB(0, 90, 0);
    for (const Case& c : cases) {
        for (int angle : {90, 30, -150}) {
            SCOPED_TRACE(testing::Message() << c.what << " at " << angle);
            // 15 x 15, the keyed colour in a 5 x 5 block at the centre.
            const auto keyed = [](int x, int y) { return x >= 5 && x < 10 && y >= 5 && y < 10; };
            PxlImageId id;
            if (c.bits == 24) {
                id = testpx::truecolour(15, 15, [&](int x, int y) { return keyed(x, y) ? key : plain; });
            } else {
                id = testpx::indexed(15, 15, 8, [&](int x, int y) { return keyed(x, y) ? 7 : 3; });
                PXLSetColorToPalette(id, 7, key);
                PXLSetColorToPalette(id, 3, plain);
            }
            PXLSetImageTransparent(id, &c.entry, 1);
            PXLSetImageRotateAngle(id, angle);
            const PxlImageId copy = PXLGetImageRotateImage(id);
            ASSERT_NE(copy, 0);
            const int w = PXLWidth(copy), h = PXLHeight(copy);
            Dib dest(w, h);
            ASSERT_EQ(dest.blit(id, w, h), 1);
            int drawn = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const COLORREF got = dest.at(x, y);
                    EXPECT_NE(got, key) << "a keyed pixel was drawn at " << x << "," << y;
                    EXPECT_TRUE(got == kSentinel || got == plain) << x << "," << y;
                    drawn += got == plain;
                }
            }
            EXPECT_EQ(dest.at(w / 2, h / 2), kSentinel) << "the keyed centre";
            EXPECT_EQ(dest.at(w / 2 + 5, h / 2), plain) << "the picture beside it";
            // A quarter turn moves every pixel; other turns take the nearest, about as many.
            if (angle % 90 == 0) {
                EXPECT_EQ(drawn, 15 * 15 - 25);
            }
            EXPECT_NEAR(drawn, 15 * 15 - 25, 20);
            if (angle % 90 != 0) {
                EXPECT_EQ(dest.at(0, 0), kSentinel) << "an uncovered corner";
            }
            PXLDeleteImage(id);
        }
    }
    EXPECT_EQ(liveImageCount(), 0u);
}

TEST_F(RotatedCopy, ScaledRotatedPicturesShowTheirPixelsNotAPlaceholder) {
    // 3 x 2 turned by 90 is 2 x 3; drawn at twice that, every turned pixel covers 2 x 2.
    const std::array<COLORREF, 6> colours = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                                             RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)};
    const PxlImageId id =
        testpx::truecolour(3, 2, [&](int x, int y) { return colours[static_cast<size_t>(3 * y + x)]; });
    const PxlTransparencyEntry none = {1, 2, 3, 0, PXL_TRANSPARENT_COLOR, 0, 0};  // a colour it lacks
    PXLSetImageTransparent(id, &none, 1);
    PXLSetImageRotateAngle(id, 90);
    const PxlImageId mask = PXLGetImageTransparentImage(id);
    EXPECT_EQ(PXLGetImageRotateAngle(lockImage(id, Access::Read)->mask), 0) << "the stored mask is unturned";
    EXPECT_EQ(PXLGetImageRotateAngle(mask), 0) << "and so is the turned one";
    PXLDeleteImage(mask);
    Dib dest(4, 6);
    ASSERT_EQ(dest.blit(id, 4, 6), 1);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dest.at(x, y), colours[static_cast<size_t>(3 * (1 - x / 2) + y / 2)]) << x << "," << y;
}

}  // namespace
