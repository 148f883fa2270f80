#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"
#include "winplat/clipboard.h"
#include "winplat/memory.h"

namespace {

using ImageImport = PixmillTest;

void put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A packed 2 x 2 8-bit DIB: header, 'colors' table entries, rows of 4 bytes.
std::vector<uint8_t> packedDib8(uint32_t colors = 256, uint32_t clrUsed = 0) {
    std::vector<uint8_t> b(40 + 4 * colors + 8, 0);
    put32(b, 0, 40);      // biSize
    put32(b, 4, 2);       // biWidth
    put32(b, 8, 2);       // biHeight, bottom-up
    put16(b, 12, 1);      // biPlanes
    put16(b, 14, 8);      // biBitCount
    put32(b, 16, BI_RGB);
    put32(b, 20, 0);      // biSizeImage: left for the reader to work out
    put32(b, 32, clrUsed);
    for (uint32_t i = 0; i < colors; ++i) put32(b, 40 + 4 * i, i * 0x010101u);  // greys
    const size_t bits = 40 + 4 * colors;
    b[bits] = 1;      // bottom-left
    b[bits + 1] = 2;
    b[bits + 4] = 3;  // top-left
    b[bits + 5] = 4;
    return b;
}

HGLOBAL toGlobal(const std::vector<uint8_t>& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

TEST_F(ImageImport, PackedDibWithoutImageSizeIsReadAndTheSizeFilledIn) {
    HGLOBAL block = toGlobal(packedDib8());
    const PxlImageId id = PXLCreateImageFromGlobal(block);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLWidth(id), 2);
    EXPECT_EQ(PXLbpp(id), 8);
    EXPECT_EQ(PXLGetBits(id)[0], 1);
    EXPECT_EQ(PXLGetBits(id)[5], 4);
    EXPECT_EQ(PXLGetBitmapInfoHeader(id)->bmiColors[3].rgbRed, 3);
    const auto* data = static_cast<const uint8_t*>(GlobalLock(block));
    EXPECT_EQ(data[20], 8) << "biSizeImage written back as row size x height";
    GlobalUnlock(block);
    GlobalFree(block);
}

TEST_F(ImageImport, ShortColourTableIsHonoured) {
    HGLOBAL block = toGlobal(packedDib8(4, 4));
    const PxlImageId id = PXLCreateImageFromGlobal(block);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLGetBits(id)[0], 1) << "bits follow the four colours the header announces";
    EXPECT_EQ(PXLGetBitmapInfoHeader(id)->bmiColors[3].rgbRed, 3);
    GlobalFree(block);
}

struct Damage {
    const char* what;
    size_t offset;  // 0 with size 0: truncate instead
    uint32_t value;
    int width;
};

TEST_F(ImageImport, DamagedPackedDibsGiveZero) {
    const Damage cases[] = {
        {"biSize below a header", 0, 12, 4},
        {"biSize past the block", 0, 100000, 4},
        {"zero width", 4, 0, 4},
        {"negative width", 4, 0xFFFFFFFF, 4},
        {"huge width", 4, 100000, 4},
        {"top-down", 8, static_cast<uint32_t>(-2), 4},
        {"zero height", 8, 0, 4},
        {"two planes", 12, 2, 2},
        {"depth 7", 14, 7, 2},
        {"depth 64", 14, 64, 2},
        {"RLE8", 16, BI_RLE8, 4},
        {"bit fields on 8 bits", 16, BI_BITFIELDS, 4},
        {"colour count 100000", 32, 100000, 4},
        {"rows missing", 8, 3000, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto bytes = packedDib8();
        if (c.width == 2) {
            put16(bytes, c.offset, static_cast<uint16_t>(c.value));
        } else {
            put32(bytes, c.offset, c.value);
        }
        HGLOBAL block = toGlobal(bytes);
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(PXLCreateImageFromGlobal(block), 0);
        GlobalFree(block);
    }
    for (size_t cut : {size_t{0}, size_t{20}, size_t{39}, size_t{40 + 1024 + 7}}) {
        auto bytes = packedDib8();
        bytes.resize(cut);
        HGLOBAL block = cut ? toGlobal(bytes) : GlobalAlloc(GMEM_MOVEABLE, 0);
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(PXLCreateImageFromGlobal(block), 0) << "cut at " << cut;
        GlobalFree(block);
    }
    {
        // Planes and depth both near their 16-bit limit, whose product is past an int.
        auto bytes = packedDib8();
        put16(bytes, 12, 0xFF01);
        put16(bytes, 14, 0xFFFF);
        HGLOBAL block = toGlobal(bytes);
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(PXLCreateImageFromGlobal(block), 0) << "planes and depth past an int";
        GlobalFree(block);
    }
    EXPECT_EQ(PXLCreateImageFromGlobal(nullptr), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(ImageImport, SixteenBitPackedDibBecomesTwentyFourBits) {
    std::vector<uint8_t> b(40 + 12 + 4, 0);
    put32(b, 0, 40);
    put32(b, 4, 1);
    put32(b, 8, 1);
    put16(b, 12, 1);
    put16(b, 14, 16);
    put32(b, 16, BI_BITFIELDS);
    put32(b, 40, 0xF800);
    put32(b, 44, 0x07E0);
    put32(b, 48, 0x001F);
    put16(b, 52, 0xF800);  // pure red
    HGLOBAL block = toGlobal(b);
    const PxlImageId id = PXLCreateImageFromGlobal(block);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLbpp(id), 24);
    EXPECT_EQ(PXLGetBits(id)[2], 255);
    EXPECT_EQ(PXLGetBits(id)[1], 0);
    EXPECT_EQ(PXLGetBits(id)[0], 0);
    GlobalFree(block);
}

TEST_F(ImageImport, FromBitmapReadsDibSectionsWithTheirPalette) {
    const PxlImageId source = PXLCreateImage(3, 2, 8);
    PXLGetBits(source)[1] = 9;
    RGBQUAD odd{7, 8, 9, 0};
    PXLGetBitmapInfoHeader(source)->bmiColors[9] = odd;
    PXLFillDIBColorTable(source);
    const PxlImageId id = PXLCreateImageFromBitmap(PXLGetBitmap(source));
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLCompareImages(source, id), 1);
}

TEST_F(ImageImport, FromBitmapCapsDepthAtTwentyFour) {
    HBITMAP ddb = CreateBitmap(5, 4, 1, 32, nullptr);
    const PxlImageId id = PXLCreateImageFromBitmap(ddb);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLbpp(id), 24);
    EXPECT_EQ(PXLWidth(id), 5);
    EXPECT_EQ(PXLHeight(id), 4);
    DeleteObject(ddb);
    EXPECT_EQ(PXLCreateImageFromBitmap(nullptr), 0);
}

TEST_F(ImageImport, AttachAdoptsTheSectionAndDeletesItWithTheImage) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[16];
    } info{};
    info.h = {sizeof(BITMAPINFOHEADER), 6, 3, 1, 4, BI_RGB, 0, 0, 0, 16, 0};
    info.colors[5] = {50, 60, 70, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const PxlImageId id = PXLCreateImageAttach(section);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLGetBits(id), bits);
    EXPECT_EQ(PXLGetBitmap(id), section);
    EXPECT_EQ(PXLbpp(id), 4);
    EXPECT_EQ(PXLGetBitmapInfoHeader(id)->bmiColors[5].rgbGreen, 60);
    PXLDeleteImage(id);
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(section, sizeof bm, &bm), 0) << "the image deleted the section it owned";
}

TEST_F(ImageImport, AttachKeeps565Masks) {
    const PxlImageId source = PXLCreateImage(2, 2, PXL_BITS_565);
    HBITMAP section = PXLDeleteImageDetach(source);
    const PxlImageId id = PXLCreateImageAttach(section);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLbpp(id), 16);
    const auto* masks = reinterpret_cast<const DWORD*>(PXLGetBitmapInfoHeader(id)->bmiColors);
    EXPECT_EQ(masks[0], 0xF800u);
    EXPECT_EQ(masks[1], 0x07E0u);
}

TEST_F(ImageImport, AttachRefusesWhatIsNoDibSection) {
    HBITMAP ddb = CreateBitmap(2, 2, 1, 1, nullptr);
    EXPECT_EQ(PXLCreateImageAttach(ddb), 0);
    DeleteObject(ddb);
    EXPECT_EQ(PXLCreateImageAttach(nullptr), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

class ClipboardImages : public PixmillTest {
protected:
    void SetUp() override {
        PixmillTest::SetUp();
        winplat::testing::resetClipboard();
    }
    void TearDown() override {
        winplat::testing::resetClipboard();
        PixmillTest::TearDown();
    }
};

TEST_F(ClipboardImages, DibRoundTrip) {
    const PxlImageId id = PXLCreateImage(4, 3, 8);
    PXLGetBits(id)[3] = 17;
    ASSERT_EQ(PXLCopyImageToClipboard(nullptr, id, CF_DIB, 1), 1);
    const PxlImageId back = PXLCreateImageFromClipboard(nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLCompareImages(id, back), 1);
}

TEST_F(ClipboardImages, BitmapRoundTripKeepsTheImage) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    PXLGetBits(id)[0] = 200;
    ASSERT_EQ(PXLCopyImageToClipboard(nullptr, id, CF_BITMAP, 1), 1);
    EXPECT_EQ(PXLWidth(id), 4) << "the clipboard got a copy";
    const PxlImageId back = PXLCreateImageFromClipboard(nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLCompareImages(id, back), 1);
}

TEST_F(ClipboardImages, RefusalsAndEmptyClipboard) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    EXPECT_EQ(PXLCopyImageToClipboard(nullptr, 0, CF_DIB, 1), 0);
    EXPECT_EQ(PXLCopyImageToClipboard(nullptr, id, CF_TEXT, 1), 0);
    EXPECT_EQ(PXLCreateImageFromClipboard(nullptr), 0) << "nothing on the clipboard";

    HWND other = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    ASSERT_TRUE(OpenClipboard(other));
    EXPECT_EQ(PXLCopyImageToClipboard(nullptr, id, CF_DIB, 1), 0) << "someone else holds the clipboard";
    EXPECT_EQ(PXLCreateImageFromClipboard(nullptr), 0);
    CloseClipboard();
}

TEST_F(ClipboardImages, ThirtyTwoBitPicturesArriveAsTwentyFourBits) {
    const PxlImageId id = PXLCreateImage(2, 2, 32);
    uint8_t* bits = PXLGetBits(id);
    for (int i = 0; i < 16; ++i) bits[i] = static_cast<uint8_t>(10 * i + 1);
    ASSERT_EQ(PXLCopyImageToClipboard(nullptr, id, CF_DIB, 1), 1);
    const size_t before = pixmill::liveImageCount();
    const PxlImageId back = PXLCreateImageFromClipboard(nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(pixmill::liveImageCount(), before + 1) << "the 32-bit import is not left behind";
    ASSERT_EQ(PXLbpp(back), 24);
    const uint8_t* converted = PXLGetBits(back);
    const int stride = PXLGetScanBytes(back);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(converted[y * stride + 3 * x + c], bits[y * 8 + 4 * x + c]);
}

}  // namespace
