#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"
#include "winplat/memory.h"

namespace {

using ImageCreate = PixmillTest;

COLORREF paletteColor(PxlImageId id, int index) {
    const RGBQUAD& c = PXLGetBitmapInfoHeader(id)->bmiColors[index];
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

struct DepthCase {
    int requested;
    int stored;
    DWORD compression;
    DWORD colorsUsed;
};

TEST_F(ImageCreate, RequestedDepthsAreNormalised) {
    const DepthCase cases[] = {
        {0, 1, BI_RGB, 2},    {1, 1, BI_RGB, 2},     {2, 4, BI_RGB, 16},          {3, 4, BI_RGB, 16},
        {4, 4, BI_RGB, 16},   {5, 8, BI_RGB, 256},   {8, 8, BI_RGB, 256},        {9, 24, BI_RGB, 0},
        {16, 24, BI_RGB, 0},  {24, 24, BI_RGB, 0},   {25, 32, BI_RGB, 0},        {32, 32, BI_RGB, 0},
        {PXL_BITS_565, 16, BI_BITFIELDS, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        const PxlImageId id = PXLCreateImage(10, 10, c.requested);
        ASSERT_NE(id, 0);
        EXPECT_EQ(PXLbpp(id), c.stored);
        const BITMAPINFOHEADER& h = PXLGetBitmapInfoHeader(id)->bmiHeader;
        EXPECT_EQ(h.biCompression, c.compression);
        EXPECT_EQ(h.biClrUsed, c.colorsUsed);
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(PXLSizeImage(id), 10 * PXLCalcScanBytes(10, c.stored));
        PXLDeleteImage(id);
    }
}

TEST_F(ImageCreate, SixteenBitImagesCarry565Masks) {
    const PxlImageId id = PXLCreateImage(3, 2, PXL_BITS_565);
    const auto* masks = reinterpret_cast<const DWORD*>(PXLGetBitmapInfoHeader(id)->bmiColors);
    EXPECT_EQ(masks[0], 0xF800u);
    EXPECT_EQ(masks[1], 0x07E0u);
    EXPECT_EQ(masks[2], 0x001Fu);
}

TEST_F(ImageCreate, DefaultPalettesFollowTheDepth) {
    const PxlImageId mono = PXLCreateImage(8, 8, 1);
    EXPECT_EQ(paletteColor(mono, 0), RGB(0, 0, 0));
    EXPECT_EQ(paletteColor(mono, 1), RGB(255, 255, 255));
    const PxlImageId four = PXLCreateImage(8, 8, 3);
    EXPECT_EQ(paletteColor(four, 1), RGB(128, 0, 0));
    EXPECT_EQ(paletteColor(four, 7), RGB(192, 192, 192));
    EXPECT_EQ(paletteColor(four, 12), RGB(0, 0, 255));
    const PxlImageId eight = PXLCreateImage(8, 8, 8);
    EXPECT_EQ(paletteColor(eight, 0), RGB(0, 0, 0));
    EXPECT_EQ(paletteColor(eight, 255), RGB(255, 255, 255));
    EXPECT_EQ(paletteColor(eight, 0x20), RGB(36, 0, 0)) << "3-3-2: one step of red";
}

TEST_F(ImageCreate, BitsStartZeroedAndMatchTheSection) {
    const PxlImageId id = PXLCreateImage(7, 5, 24);
    const uint8_t* bits = PXLGetBits(id);
    ASSERT_NE(bits, nullptr);
    for (int i = 0; i < PXLSizeImage(id); ++i) ASSERT_EQ(bits[i], 0);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(PXLGetBitmap(id), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(PXLGetScanBytes(id), 24);
}

TEST_F(ImageCreate, ScanBytes) {
    EXPECT_EQ(PXLCalcScanBytes(1, 1), 4);
    EXPECT_EQ(PXLCalcScanBytes(3, 24), 12);
    EXPECT_EQ(PXLCalcScanBytes(33, 1), 8);
    EXPECT_EQ(PXLCalcScanBytes(5, 4), 4);
    EXPECT_EQ(PXLCalcScanBytes(2, 16), 4);
}

TEST_F(ImageCreate, AbsurdSizesGiveZero) {
    const int cases[][2] = {{0, 10}, {10, 0}, {-1, 10}, {10, -5}, {32768, 1}, {1, 40000}, {32767, 32767}};
    for (const auto& c : cases) {
        EXPECT_EQ(PXLCreateImage(c[0], c[1], 32), 0) << c[0] << " x " << c[1];
    }
    EXPECT_EQ(pixmill::liveImageCount(), 0u) << "no half-made record stays behind";
}

TEST_F(ImageCreate, CopyDuplicatesPixelsPaletteEntriesAndRotation) {
    const PxlImageId id = PXLCreateImage(5, 3, 8);
    PXLGetBits(id)[2] = 200;
    PXLGetBitmapInfoHeader(id)->bmiColors[200] = RGBQUAD{1, 2, 3, 0};
    {
        auto lock = pixmill::lockImage(id, pixmill::Access::Write);
        lock->entryCount = 1;
        lock->entries[0] = PxlTransparencyEntry{1, 2, 3, 4, 0, 0, 0};
        lock->rotateAngle = 90;
        lock->comment = "not copied";
    }
    const PxlImageId copy = PXLCreateImageFrom(id, 0);
    ASSERT_NE(copy, 0);
    ASSERT_NE(copy, id);
    EXPECT_NE(PXLGetBits(copy), PXLGetBits(id));
    EXPECT_EQ(PXLCompareImages(id, copy), 1);
    auto lock = pixmill::lockImage(copy, pixmill::Access::Read);
    EXPECT_EQ(lock->entryCount, 1);
    EXPECT_EQ(lock->rotateAngle, 90);
    EXPECT_FALSE(lock->comment.has_value());
}

TEST_F(ImageCreate, CopyOf565StaysSixteenBit) {
    const PxlImageId id = PXLCreateImage(4, 4, PXL_BITS_565);
    PXLGetBits(id)[0] = 0x1F;
    const PxlImageId copy = PXLCreateImageFrom(id, 0);
    EXPECT_EQ(PXLbpp(copy), 16);
    EXPECT_EQ(PXLGetBitmapInfoHeader(copy)->bmiHeader.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(PXLCompareImages(id, copy), 1);
}

TEST_F(ImageCreate, CopyDuplicatesTheTransparencyImage) {
    const PxlImageId id = PXLCreateImage(4, 4, 8);
    const PxlImageId transparency = PXLCreateImage(4, 4, 1);
    pixmill::lockImage(id, pixmill::Access::Write)->transparencyImage.reset(transparency);
    const PxlImageId copy = PXLCreateImageFrom(id, 0);
    const PxlImageId copied = pixmill::lockImage(copy, pixmill::Access::Read)->transparencyImage;
    EXPECT_NE(copied, 0);
    EXPECT_NE(copied, transparency);
    PXLDeleteImage(copy);
    EXPECT_EQ(PXLWidth(copied), 0) << "the copy owned its own transparency image";
    EXPECT_EQ(PXLWidth(transparency), 4);
}

TEST_F(ImageCreate, AccessorsOfZeroAndUnknownIdsFail) {
    for (PxlImageId id : {PxlImageId{0}, PxlImageId{42}}) {
        EXPECT_EQ(PXLWidth(id), 0);
        EXPECT_EQ(PXLHeight(id), 0);
        EXPECT_EQ(PXLbpp(id), 0);
        EXPECT_EQ(PXLSizeImage(id), 0);
        EXPECT_EQ(PXLGetBits(id), nullptr);
        EXPECT_EQ(PXLGetBitmap(id), nullptr);
        EXPECT_EQ(PXLGetBitmapInfoHeader(id), nullptr);
        EXPECT_EQ(PXLGetScanBytes(id), 0);
        EXPECT_EQ(PXLGetGlobalBlock(id), nullptr);
        EXPECT_EQ(PXLDeleteImageDetach(id), nullptr);
        EXPECT_EQ(PXLCreateImageFrom(id, 0), 0);
        EXPECT_EQ(PXLCreateImageFrom(id, 1), 0);
        EXPECT_EQ(PXLCreateImageSeparateColor(id, PXL_PLATE_BLACK, 1), 0);
    }
}

TEST_F(ImageCreate, GlobalBlockRoundTripsThroughCreateFromGlobal) {
    const PxlImageId id = PXLCreateImage(9, 4, 4);
    uint8_t* bits = PXLGetBits(id);
    for (int i = 0; i < PXLSizeImage(id); ++i) bits[i] = static_cast<uint8_t>(i * 7);
    PXLGetBitmapInfoHeader(id)->bmiColors[3] = RGBQUAD{10, 20, 30, 0};
    HGLOBAL block = PXLGetGlobalBlock(id);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), static_cast<SIZE_T>(40 + 16 * 4 + PXLSizeImage(id)));
    const PxlImageId back = PXLCreateImageFromGlobal(block);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLCompareImages(id, back), 1);
    EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u) << "the block is unlocked again";
    GlobalFree(block);
}

TEST_F(ImageCreate, DetachHandsTheBitmapToTheCaller) {
    const PxlImageId id = PXLCreateImage(4, 4, 24);
    HBITMAP bitmap = PXLGetBitmap(id);
    EXPECT_EQ(PXLDeleteImageDetach(id), bitmap);
    EXPECT_EQ(PXLWidth(id), 0);
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm)) << "the section was not deleted";
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(ImageCreate, SeparationPlates) {
    const PxlImageId id = PXLCreateImage(4, 1, 24);
    // Pixels (left to right) red, cyan-ish, mid grey, white; bytes are blue, green, red.
    const uint8_t pixels[] = {0, 0, 255, 200, 200, 55, 128, 128, 128, 255, 255, 255};
    std::memcpy(PXLGetBits(id), pixels, sizeof pixels);
    struct Case {
        int16_t plate, keep;
        uint8_t expected[4];
    } cases[] = {
        {PXL_PLATE_CYAN, 1, {0, 145, 0, 0}},     {PXL_PLATE_MAGENTA, 1, {255, 0, 0, 0}},
        {PXL_PLATE_YELLOW, 1, {255, 0, 0, 0}},   {PXL_PLATE_BLACK, 1, {0, 55, 127, 0}},
        {PXL_PLATE_BLACK, 0, {255, 200, 128, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plate * 10 + c.keep);
        const PxlImageId plate = PXLCreateImageSeparateColor(id, c.plate, c.keep);
        ASSERT_NE(plate, 0);
        EXPECT_EQ(PXLbpp(plate), 8);
        EXPECT_EQ(paletteColor(plate, 77), RGB(77, 77, 77));
        for (int x = 0; x < 4; ++x) EXPECT_EQ(PXLGetBits(plate)[x], c.expected[x]) << "pixel " << x;
        PXLDeleteImage(plate);
    }
    EXPECT_EQ(PXLCreateImageSeparateColor(id, 1, 1), 0);
    EXPECT_EQ(PXLCreateImageSeparateColor(id, 6, 1), 0);
}

TEST_F(ImageCreate, SeparationReadsPaletteAndThirtyTwoBitSources) {
    const PxlImageId indexed = PXLCreateImage(2, 1, 1);  // black, white
    PXLGetBits(indexed)[0] = 0x40;                       // pixel 0 black, pixel 1 white
    const PxlImageId k = PXLCreateImageSeparateColor(indexed, PXL_PLATE_BLACK, 1);
    EXPECT_EQ(PXLGetBits(k)[0], 255);
    EXPECT_EQ(PXLGetBits(k)[1], 0);

    const PxlImageId wide = PXLCreateImage(1, 1, 32);
    const uint8_t pixel[] = {0, 0, 255, 0};  // red
    std::memcpy(PXLGetBits(wide), pixel, 4);
    EXPECT_EQ(PXLGetBits(PXLCreateImageSeparateColor(wide, PXL_PLATE_MAGENTA, 1))[0], 255);
}

}  // namespace
