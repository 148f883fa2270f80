#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"

namespace {

using ImageFill = PixmillTest;

uint8_t* rowFromTop(PxlImageId id, int y) { return PXLGetBits(id) + (PXLHeight(id) - 1 - y) * PXLGetScanBytes(id); }

void setRow(PxlImageId id, int y, const std::vector<uint8_t>& bytes) {
    std::memcpy(rowFromTop(id, y), bytes.data(), bytes.size());
}

std::vector<uint8_t> rowBytes(PxlImageId id, int y, size_t count) {
    const uint8_t* row = rowFromTop(id, y);
    return {row, row + count};
}

// A one-row mask of the given width with pixels 0, 2 and 3 set.
PxlImageId maskOf0And2And3(int width) {
    const PxlImageId mask = PXLCreateImage(width, 1, 1);
    setRow(mask, 0, {0xB0});
    return mask;
}

struct FillCase {
    const char* name;
    int bits;
    std::vector<uint8_t> before;
    COLORREF color;
    std::vector<uint8_t> after;
};

TEST_F(ImageFill, MaskedPixelsTakeTheColourInTheirDepth) {
    const FillCase cases[] = {
        {"8 bits take the low byte", 8, {9, 9, 9, 9, 9}, 0x1234AB, {0xAB, 9, 0xAB, 0xAB, 9}},
        {"4 bits take the low nibble", 4, {0x99, 0x99, 0x90}, 0x05, {0x59, 0x55, 0x90}},
        {"4 bits cut the low byte to a nibble", 4, {0x99, 0x99, 0x90}, 0x1F, {0xF9, 0xFF, 0x90}},
        {"1 bit: low byte 1 sets", 1, {0x48}, 0x01, {0xF8}},
        {"1 bit: low byte 0 clears", 1, {0xF8}, 0x00, {0x48}},
        {"1 bit: any other low byte clears", 1, {0xF8}, 0x0102, {0x48}},
        {"24 bits take B, G, R",
         24,
         std::vector<uint8_t>(15, 0x11),
         RGB(1, 2, 3),
         {3, 2, 1, 0x11, 0x11, 0x11, 3, 2, 1, 3, 2, 1, 0x11, 0x11, 0x11}},
    };
    for (const FillCase& c : cases) {
        const PxlImageId image = PXLCreateImage(5, 1, c.bits);
        setRow(image, 0, c.before);
        const PxlImageId mask = maskOf0And2And3(5);
        EXPECT_EQ(PXLImageFillByColor(image, mask, c.color), 1) << c.name;
        EXPECT_EQ(rowBytes(image, 0, c.after.size()), c.after) << c.name;
        PXLDeleteImage(image);
        PXLDeleteImage(mask);
    }
}

TEST_F(ImageFill, MaskRowsMatchImageRowsFromTheTop) {
    const PxlImageId image = PXLCreateImage(2, 3, 8);
    for (int y = 0; y < 3; ++y) setRow(image, y, {7, 7});
    const PxlImageId mask = PXLCreateImage(2, 3, 1);
    setRow(mask, 0, {0x40});  // top row, right pixel
    setRow(mask, 2, {0x80});  // bottom row, left pixel
    ASSERT_EQ(PXLImageFillByColor(image, mask, 200), 1);
    EXPECT_EQ(rowBytes(image, 0, 2), (std::vector<uint8_t>{7, 200}));
    EXPECT_EQ(rowBytes(image, 1, 2), (std::vector<uint8_t>{7, 7}));
    EXPECT_EQ(rowBytes(image, 2, 2), (std::vector<uint8_t>{200, 7}));
    // Stored bottom-up: the bottom row is the first in memory.
    EXPECT_EQ(PXLGetBits(image)[0], 200);
}

TEST_F(ImageFill, RefusesMasksOfAnotherSizeOrDepthAndLeavesThePixels) {
    const PxlImageId image = PXLCreateImage(5, 2, 8);
    setRow(image, 0, {1, 2, 3, 4, 5});
    setRow(image, 1, {6, 7, 8, 9, 10});
    const PxlImageId narrow = PXLCreateImage(4, 2, 1);
    const PxlImageId wide = PXLCreateImage(6, 2, 1);
    const PxlImageId shortMask = PXLCreateImage(5, 1, 1);
    const PxlImageId tall = PXLCreateImage(5, 3, 1);
    const PxlImageId deep = PXLCreateImage(5, 2, 8);
    for (const PxlImageId mask : {narrow, wide, shortMask, tall, deep}) {
        const int bytes = PXLGetScanBytes(mask) * PXLHeight(mask);
        std::memset(PXLGetBits(mask), 0xFF, static_cast<size_t>(bytes));
        EXPECT_EQ(PXLImageFillByColor(image, mask, 0), 0) << "mask " << mask;
    }
    EXPECT_EQ(rowBytes(image, 0, 5), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(rowBytes(image, 1, 5), (std::vector<uint8_t>{6, 7, 8, 9, 10}));
}

TEST_F(ImageFill, RefusesMissingIdsAndDepthsWithoutAFillRule) {
    const PxlImageId image = PXLCreateImage(5, 1, 8);
    const PxlImageId mask = maskOf0And2And3(5);
    EXPECT_EQ(PXLImageFillByColor(0, mask, 1), 0);
    EXPECT_EQ(PXLImageFillByColor(image, 0, 1), 0);
    EXPECT_EQ(PXLImageFillByColor(999, mask, 1), 0);
    EXPECT_EQ(PXLImageFillByColor(image, 999, 1), 0);
    EXPECT_EQ(rowBytes(image, 0, 5), (std::vector<uint8_t>(5, 0)));

    for (const int bits : {PXL_BITS_565, 32}) {
        const PxlImageId deep = PXLCreateImage(5, 1, bits);
        ASSERT_NE(deep, 0);
        ASSERT_EQ(PXLbpp(deep), bits == 32 ? 32 : 16);
        EXPECT_EQ(PXLImageFillByColor(deep, mask, RGB(255, 255, 255)), 0) << bits;
        EXPECT_EQ(rowBytes(deep, 0, 10), (std::vector<uint8_t>(10, 0))) << bits;
    }
}

TEST_F(ImageFill, AOneBitImageCanBeItsOwnMask) {
    const PxlImageId image = PXLCreateImage(10, 1, 1);
    setRow(image, 0, {0xA5, 0x40});
    ASSERT_EQ(PXLImageFillByColor(image, image, 0), 1);
    EXPECT_EQ(rowBytes(image, 0, 2), (std::vector<uint8_t>{0x00, 0x00}));
}

}  // namespace
