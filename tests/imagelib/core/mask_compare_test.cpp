#include <cstring>

#include "../pixmill_fixture.h"

namespace {

using MaskAndCompare = PixmillTest;

// Bit x of row y (from the top) of a 1-bit image.
bool maskBit(PxlImageId mask, int x, int y) {
    const int stride = PXLGetScanBytes(mask);
    const uint8_t* row = PXLGetBits(mask) + (PXLHeight(mask) - 1 - y) * stride;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

PxlTransparencyEntry colorEntry(int r, int g, int b, int tolerance) { return {r, g, b, tolerance, 0, 0, 0}; }
PxlTransparencyEntry indexEntry(int index) { return {-1, -1, index, 0, 1, -1, -1}; }

// A 3 x 2 24-bit picture; top row red, (250,5,5), blue; bottom row black, white, red.
PxlImageId truecolorPicture() {
    const PxlImageId id = PXLCreateImage(3, 2, 24);
    uint8_t* bits = PXLGetBits(id);
    const int stride = PXLGetScanBytes(id);
    const uint8_t bottom[] = {0, 0, 0, 255, 255, 255, 0, 0, 255};
    const uint8_t top[] = {0, 0, 255, 5, 5, 250, 255, 0, 0};
    std::memcpy(bits, bottom, sizeof bottom);
    std::memcpy(bits + stride, top, sizeof top);
    return id;
}

TEST_F(MaskAndCompare, ColourEntriesMatchWithinTheTolerance) {
    const PxlImageId picture = truecolorPicture();
    const PxlTransparencyEntry exact[] = {colorEntry(255, 0, 0, 0)};
    const PxlImageId mask = PXLCreateMaskImageFrom(picture, exact, 1);
    ASSERT_NE(mask, 0);
    EXPECT_EQ(PXLbpp(mask), 1);
    EXPECT_EQ(PXLWidth(mask), 3);
    const bool expectedExact[2][3] = {{true, false, false}, {false, false, true}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(maskBit(mask, x, y), expectedExact[y][x]) << x << "," << y;

    const PxlTransparencyEntry loose[] = {colorEntry(255, 0, 0, 5), colorEntry(0, 0, 0, 0)};
    const PxlImageId both = PXLCreateMaskImageFrom(picture, loose, 2);
    const bool expectedBoth[2][3] = {{true, true, false}, {true, false, true}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(maskBit(both, x, y), expectedBoth[y][x]) << "entries add up";
}

TEST_F(MaskAndCompare, IndexEntriesMarkPaletteIndexesOnlyOnPaletteImages) {
    const PxlImageId indexed = PXLCreateImage(10, 1, 4);
    PXLGetBits(indexed)[0] = 0x5A;  // pixels 5, 10
    PXLGetBits(indexed)[1] = 0xA5;  // pixels 10, 5
    const PxlTransparencyEntry entry[] = {indexEntry(10)};
    const PxlImageId mask = PXLCreateMaskImageFrom(indexed, entry, 1);
    EXPECT_FALSE(maskBit(mask, 0, 0));
    EXPECT_TRUE(maskBit(mask, 1, 0));
    EXPECT_TRUE(maskBit(mask, 2, 0));
    EXPECT_FALSE(maskBit(mask, 3, 0));

    const PxlImageId truecolor = truecolorPicture();
    const PxlImageId none = PXLCreateMaskImageFrom(truecolor, entry, 1);
    ASSERT_NE(none, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_FALSE(maskBit(none, x, y));
}

TEST_F(MaskAndCompare, PaletteImagesMatchColoursThroughTheirPalette) {
    const PxlImageId indexed = PXLCreateImage(4, 1, 8);
    PXLGetBits(indexed)[1] = 255;  // white in the default palette
    const PxlTransparencyEntry entry[] = {colorEntry(250, 250, 250, 10)};
    const PxlImageId mask = PXLCreateMaskImageFrom(indexed, entry, 1);
    EXPECT_FALSE(maskBit(mask, 0, 0));
    EXPECT_TRUE(maskBit(mask, 1, 0));
}

TEST_F(MaskAndCompare, ThirtyTwoBitPixelsAreReadAsFourBytes) {
    const PxlImageId id = PXLCreateImage(3, 1, 32);
    const uint8_t row[] = {0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0};  // black, red, black
    std::memcpy(PXLGetBits(id), row, sizeof row);
    const PxlTransparencyEntry entry[] = {colorEntry(255, 0, 0, 0)};
    const PxlImageId mask = PXLCreateMaskImageFrom(id, entry, 1);
    EXPECT_FALSE(maskBit(mask, 0, 0));
    EXPECT_TRUE(maskBit(mask, 1, 0));
    EXPECT_FALSE(maskBit(mask, 2, 0));
}

TEST_F(MaskAndCompare, MaskRefusals) {
    const PxlImageId picture = truecolorPicture();
    const PxlTransparencyEntry entry[] = {colorEntry(0, 0, 0, 0)};
    EXPECT_EQ(PXLCreateMaskImageFrom(0, entry, 1), 0);
    EXPECT_EQ(PXLCreateMaskImageFrom(picture, nullptr, 1), 0);
    EXPECT_EQ(PXLCreateMaskImageFrom(picture, entry, 0), 0);
}

TEST_F(MaskAndCompare, CompareLooksAtEveryPixelAndThePalette) {
    const PxlImageId a = truecolorPicture();
    const PxlImageId b = truecolorPicture();
    EXPECT_EQ(PXLCompareImages(a, a), 1);
    EXPECT_EQ(PXLCompareImages(a, b), 1);
    PXLGetBits(b)[0] = 1;  // the bottom row, first byte
    EXPECT_EQ(PXLCompareImages(a, b), 0) << "the bottom row counts";
    PXLGetBits(b)[0] = 0;
    EXPECT_EQ(PXLCompareImages(a, b), 1) << "no stale result after an edit";
    PXLGetBits(b)[PXLGetScanBytes(b) - 1] = 99;  // padding at the end of a row
    EXPECT_EQ(PXLCompareImages(a, b), 1) << "row padding is not part of the picture";

    const PxlImageId p = PXLCreateImage(3, 3, 8);
    const PxlImageId q = PXLCreateImage(3, 3, 8);
    EXPECT_EQ(PXLCompareImages(p, q), 1);
    PXLGetBitmapInfoHeader(q)->bmiColors[200].rgbGreen ^= 1;
    EXPECT_EQ(PXLCompareImages(p, q), 0) << "palettes count";

    const PxlImageId narrow = PXLCreateImage(3, 3, 1);
    const PxlImageId narrow2 = PXLCreateImage(3, 3, 1);
    PXLGetBits(narrow2)[0] = 0x1F;  // bits past the third pixel
    EXPECT_EQ(PXLCompareImages(narrow, narrow2), 1);
    PXLGetBits(narrow2)[0] = 0x20;  // the third pixel
    EXPECT_EQ(PXLCompareImages(narrow, narrow2), 0);
}

TEST_F(MaskAndCompare, CompareWithAnUnknownIdLeavesTheFirstImageFree) {
    const PxlImageId a = truecolorPicture();
    EXPECT_EQ(PXLCompareImages(a, 99), 0);
    EXPECT_EQ(PXLCompareImages(99, a), 0);
    EXPECT_EQ(PXLCompareImages(a, 0), 0);
    EXPECT_TRUE(pixmill::lockImage(a, pixmill::Access::Write)) << "no read lock was left behind";
}

TEST_F(MaskAndCompare, CompareLooksAtTransparencyAndRotation) {
    const PxlImageId a = truecolorPicture();
    const PxlImageId b = truecolorPicture();
    pixmill::lockImage(a, pixmill::Access::Write)->rotateAngle = 90;
    EXPECT_EQ(PXLCompareImages(a, b), 0);
    pixmill::lockImage(b, pixmill::Access::Write)->rotateAngle = 90;
    EXPECT_EQ(PXLCompareImages(a, b), 1);

    pixmill::lockImage(a, pixmill::Access::Write)->transparencyImage.reset(PXLCreateImage(3, 2, 1));
    EXPECT_EQ(PXLCompareImages(a, b), 0);
    const PxlImageId tb = PXLCreateImage(3, 2, 1);
    pixmill::lockImage(b, pixmill::Access::Write)->transparencyImage.reset(tb);
    EXPECT_EQ(PXLCompareImages(a, b), 1);
    PXLGetBits(tb)[0] = 0x80;
    EXPECT_EQ(PXLCompareImages(a, b), 0);

    PXLGetBits(tb)[0] = 0;
    {
        auto lock = pixmill::lockImage(a, pixmill::Access::Write);
        lock->entryCount = 1;
        lock->entries[0] = {1, 2, 3, 0, 0, 0, 0};
    }
    EXPECT_EQ(PXLCompareImages(a, b), 0);
}

}  // namespace
