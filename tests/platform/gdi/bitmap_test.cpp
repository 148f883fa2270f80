// Bitmap objects, memory DCs and selection.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "dib_helpers.h"
#include "winplat/base.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace dibtest;

HBITMAP makeSection(const DibInfo& info, void** bits = nullptr) {
    return CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(CreateDIBSection, BitsAreZeroedAndStayPutUntilDeleted) {
    const DibInfo info = makeInfo(33, -17, 24);
    void* bits = nullptr;
    HBITMAP bitmap = makeSection(info, &bits);
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(bits);
    const size_t size = strideOf(33, 24) * 17;
    EXPECT_EQ(size, 100u * 17);
    const auto* bytes = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < size; ++i) ASSERT_EQ(bytes[i], 0) << i;

    // Writes through the pointer are what the bitmap holds, and other calls do not move the bits.
    static_cast<uint8_t*>(bits)[0] = 0x12;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DibInfo out = makeInfo(33, -17, 24);
    std::vector<uint8_t> copy(size);
    ASSERT_EQ(GetDIBits(dc, bitmap, 0, 17, copy.data(), out.info(), DIB_RGB_COLORS), 17);
    EXPECT_EQ(copy[0], 0x12);
    SetDIBits(dc, bitmap, 0, 17, copy.data(), out.info(), DIB_RGB_COLORS);
    BITMAP described{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof described, &described), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(described.bmBits, bits);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(CreateDIBSection, RefusesBadHeadersWithoutTouchingMemory) {
    winplat::testing::ScopedDebugAsserts off(false);  // some headers ask for unsupported compressions
    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    const DWORD outside16[3] = {0x1F0000, 0x07E0, 0x001F};
    struct Case {
        const char* name;
        DibInfo info;
    };
    std::vector<Case> cases = {
        {"zero width", makeInfo(0, 4, 8)},
        {"negative width", makeInfo(-3, 4, 8)},
        {"zero height", makeInfo(4, 0, 8)},
        {"7 bits", makeInfo(4, 4, 7)},
        {"0 bits", makeInfo(4, 4, 0)},
        {"64 bits", makeInfo(4, 4, 64)},
        {"RLE4", makeInfo(4, 4, 4, BI_RLE4)},
        {"RLE8 at 4 bits", makeInfo(4, 4, 4, BI_RLE8)},
        {"JPEG", makeInfo(4, 4, 24, 4)},
        {"bit fields at 8 bits", makeInfo(4, 4, 8, BI_BITFIELDS, {}, masks565)},
        {"zero masks", makeInfo(4, 4, 16, BI_BITFIELDS)},
        {"mask beyond 16 bits", makeInfo(4, 4, 16, BI_BITFIELDS, {}, outside16)},
        {"side beyond the cap", makeInfo(65536, 1, 1)},
        {"height beyond the cap", makeInfo(1, -65536, 1)},
        {"more than 1 GiB", makeInfo(65535, 65535, 32)},
        {"most negative height", makeInfo(1, INT32_MIN, 8)},
        {"most negative width", makeInfo(INT32_MIN, 1, 8)},
    };
    DibInfo tooManyColours = makeInfo(4, 4, 4);
    tooManyColours.header.biClrUsed = 17;
    cases.push_back({"17 colours at 4 bits", tooManyColours});
    DibInfo shortHeader = makeInfo(4, 4, 8);
    shortHeader.header.biSize = 12;
    cases.push_back({"short header", shortHeader});
    DibInfo hugeHeader = makeInfo(4, 4, 8);
    hugeHeader.header.biSize = 0x7FFFFFFF;
    cases.push_back({"absurd header size", hugeHeader});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* bits = reinterpret_cast<void*>(1);
        SetLastError(0);
        EXPECT_EQ(makeSection(c.info, &bits), nullptr);
        EXPECT_EQ(bits, nullptr) << "the bits pointer is cleared on failure";
        EXPECT_NE(GetLastError(), 0u);
    }
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(CreateDIBSection, RefusesPaletteIndicesAndFileMappingsWithALog) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported modes
    winplat::testing::DebugCapture capture;
    const DibInfo info = makeInfo(4, 4, 8);
    void* bits = nullptr;
    EXPECT_EQ(CreateDIBSection(nullptr, info.info(), DIB_PAL_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_TRUE(capture.contains("DIB_PAL_COLORS"));
    capture.clear();
    EXPECT_EQ(CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, reinterpret_cast<HANDLE>(8), 0),
              nullptr);
    EXPECT_FALSE(capture.messages().empty());
    capture.clear();
    const DibInfo rle = makeInfo(4, 4, 8, BI_RLE8);
    EXPECT_EQ(CreateDIBSection(nullptr, rle.info(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_TRUE(capture.contains("compression 1"));
}

TEST(GetObjectA, DescribesDibSections) {
    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    struct Case {
        const char* name;
        DibInfo info;
        LONG widthBytes;
        DWORD sizeImage;
        DWORD clrUsed;
        bool bitfields;
    };
    const Case cases[] = {
        {"1 bit", makeInfo(9, 3, 1, BI_RGB, {kBlack, kWhite}), 4, 12, 2, false},
        {"4 bits, 3 colours", makeInfo(9, -3, 4, BI_RGB, {kBlack, kWhite, kRed}), 8, 24, 3, false},
        {"8 bits", makeInfo(5, 3, 8), 8, 24, 256, false},
        {"16 bits 5-6-5", makeInfo(5, -3, 16, BI_BITFIELDS, {}, masks565), 12, 36, 0, true},
        {"24 bits", makeInfo(5, 3, 24), 16, 48, 0, false},
        {"32 bits", makeInfo(5, 3, 32), 20, 60, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* bits = nullptr;
        HBITMAP bitmap = makeSection(c.info, &bits);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(DIBSECTION)));

        DIBSECTION section;
        std::memset(&section, 0xEE, sizeof section);
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof(DIBSECTION)));
        EXPECT_EQ(section.dsBm.bmType, 0);
        EXPECT_EQ(section.dsBm.bmWidth, c.info.header.biWidth);
        EXPECT_EQ(section.dsBm.bmHeight, 3) << "positive whatever the orientation";
        EXPECT_EQ(section.dsBm.bmWidthBytes, c.widthBytes);
        EXPECT_EQ(section.dsBm.bmPlanes, 1);
        EXPECT_EQ(section.dsBm.bmBitsPixel, c.info.header.biBitCount);
        EXPECT_EQ(section.dsBm.bmBits, bits);
        EXPECT_EQ(section.dsBmih.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(section.dsBmih.biHeight, c.info.header.biHeight);
        EXPECT_EQ(section.dsBmih.biCompression, c.info.header.biCompression);
        EXPECT_EQ(section.dsBmih.biSizeImage, c.sizeImage);
        EXPECT_EQ(section.dsBmih.biClrUsed, c.clrUsed);
        EXPECT_EQ(section.dsBitfields[0], c.bitfields ? 0xF800u : 0u);
        EXPECT_EQ(section.dsBitfields[1], c.bitfields ? 0x07E0u : 0u);
        EXPECT_EQ(section.dsBitfields[2], c.bitfields ? 0x001Fu : 0u);
        EXPECT_EQ(section.dshSection, nullptr);
        EXPECT_EQ(section.dsOffset, 0u);

        // A BITMAP-sized buffer gets just the BITMAP.
        BITMAP plain{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof plain, &plain), static_cast<int>(sizeof(BITMAP)));
        EXPECT_EQ(plain.bmBits, bits);
        EXPECT_EQ(GetObjectA(bitmap, sizeof plain - 1, &plain), 0);
        DeleteObject(bitmap);
    }
}

TEST(GetObjectA, DescribesDdbsWithWordAlignedRowsAndNoBits) {
    struct Case {
        int width;
        UINT bpp;
        LONG widthBytes;
    };
    const Case cases[] = {{1, 1, 2}, {16, 1, 2}, {17, 1, 4}, {33, 1, 6}, {3, 32, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.bpp);
        HBITMAP bitmap = CreateBitmap(c.width, 2, 1, c.bpp, nullptr);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
        DIBSECTION big{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof big, &big), static_cast<int>(sizeof(BITMAP)))
            << "a DDB gives a BITMAP even when a DIBSECTION would fit";
        EXPECT_EQ(big.dsBm.bmWidth, c.width);
        EXPECT_EQ(big.dsBm.bmHeight, 2);
        EXPECT_EQ(big.dsBm.bmWidthBytes, c.widthBytes);
        EXPECT_EQ(big.dsBm.bmBitsPixel, c.bpp);
        EXPECT_EQ(big.dsBm.bmPlanes, 1);
        EXPECT_EQ(big.dsBm.bmBits, nullptr);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(GetObjectA(nullptr, sizeof(BITMAP), nullptr), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP unused{};
    EXPECT_EQ(GetObjectA(dc, sizeof unused, &unused), 0) << "DCs have no object description";
    DeleteDC(dc);
}

TEST(CreateBitmap, TakesWordAlignedTopDownRows) {
    // 10 pixels wide: two bytes of bits per row, WORD-aligned without padding.
    const uint8_t bits[] = {0xC0, 0x40, 0x00, 0x80};  // row 0: pixels 0, 1, 9 white; row 1: pixel 8 white
    HBITMAP bitmap = CreateBitmap(10, 2, 1, 1, bits);
    ASSERT_TRUE(bitmap);
    DibInfo out = makeInfo(10, -2, 32);
    std::vector<uint32_t> pixels(20);
    ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 2, pixels.data(), out.info(), DIB_RGB_COLORS), 2);
    for (int i = 0; i < 20; ++i) {
        const bool white = i == 0 || i == 1 || i == 9 || i == 18;
        EXPECT_EQ(pixels[static_cast<size_t>(i)], white ? 0xFFFFFFu : 0u) << i;
    }
    DeleteObject(bitmap);
}

TEST(CreateBitmap, RefusesWhatADdbCannotBe) {
    winplat::testing::ScopedDebugAsserts off(false);  // 8 and 24 bits are unsupported depths
    winplat::testing::DebugCapture capture;
    struct Case {
        const char* name;
        int width, height;
        UINT planes, bpp;
    };
    const Case cases[] = {
        {"two planes", 4, 4, 2, 1},    {"zero width", 0, 4, 1, 1},   {"zero height", 4, 0, 1, 32},
        {"negative", -4, 4, 1, 1},     {"8 bits", 4, 4, 1, 8},       {"24 bits", 4, 4, 1, 24},
        {"huge", 65535, 65535, 1, 32}, {"too wide", 65536, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CreateBitmap(c.width, c.height, c.planes, c.bpp, nullptr), nullptr);
    }
    EXPECT_TRUE(capture.contains("8 bits per pixel"));
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 0, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 65535, 65535), nullptr);
}

int depthOf(HBITMAP bitmap) {
    BITMAP info{};
    return GetObjectA(bitmap, sizeof info, &info) ? info.bmBitsPixel : -1;
}

TEST(CreateCompatibleBitmap, FollowsTheBitmapTheDcHolds) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(dc);
    HBITMAP fromFresh = CreateCompatibleBitmap(dc, 8, 8);
    EXPECT_EQ(depthOf(fromFresh), 1) << "a fresh memory DC holds a monochrome bitmap";
    HBITMAP fromScreen = CreateCompatibleBitmap(nullptr, 8, 8);
    EXPECT_EQ(depthOf(fromScreen), 32);

    HGDIOBJ stock = SelectObject(dc, fromScreen);
    ASSERT_TRUE(stock);
    EXPECT_EQ(depthOf(static_cast<HBITMAP>(stock)), 1);
    BITMAP stockInfo{};
    GetObjectA(stock, sizeof stockInfo, &stockInfo);
    EXPECT_EQ(stockInfo.bmWidth, 1);
    EXPECT_EQ(stockInfo.bmHeight, 1);
    HBITMAP fromColour = CreateCompatibleBitmap(dc, 8, 8);
    EXPECT_EQ(depthOf(fromColour), 32);

    const DibInfo info = makeInfo(4, 4, 8);
    HBITMAP section = makeSection(info);
    SelectObject(dc, section);
    HBITMAP fromSection = CreateCompatibleBitmap(dc, 8, 8);
    EXPECT_EQ(depthOf(fromSection), 32);

    SelectObject(dc, fromFresh);
    HBITMAP fromMono = CreateCompatibleBitmap(dc, 8, 8);
    EXPECT_EQ(depthOf(fromMono), 1);

    SelectObject(dc, stock);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(CreateCompatibleBitmap(dc, 8, 8), nullptr) << "a deleted DC";
    for (HBITMAP b : {fromFresh, fromScreen, fromColour, section, fromSection, fromMono})
        EXPECT_TRUE(DeleteObject(b));
}

TEST(Selection, ABitmapLivesInOneDcAtATime) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    HBITMAP other = CreateBitmap(4, 4, 1, 32, nullptr);

    HGDIOBJ stock = SelectObject(first, bitmap);
    ASSERT_TRUE(stock);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr) << "already selected into the first DC";
    EXPECT_EQ(SelectObject(first, bitmap), bitmap) << "selecting it again where it is changes nothing";
    EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap cannot be deleted";

    EXPECT_EQ(SelectObject(first, other), bitmap) << "the replaced bitmap comes back";
    EXPECT_EQ(SelectObject(second, bitmap), stock) << "free again once replaced";
    EXPECT_EQ(SelectObject(second, stock), bitmap);
    EXPECT_EQ(SelectObject(first, stock), other) << "the stock bitmap may sit in any number of DCs";

    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap)) << "deleted twice";
    EXPECT_EQ(SelectObject(first, bitmap), nullptr) << "a deleted bitmap";
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(other), other), nullptr) << "not a DC";
    EXPECT_TRUE(DeleteObject(stock)) << "deleting a stock object succeeds and does nothing";
    EXPECT_EQ(depthOf(static_cast<HBITMAP>(stock)), 1);

    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_FALSE(DeleteDC(second));
    EXPECT_TRUE(DeleteObject(other));
}

TEST(Selection, DeletingTheDcReleasesItsBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    SelectObject(dc, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(dc));
    HDC next = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(SelectObject(next, bitmap)) << "free to be selected elsewhere";
    DeleteDC(next);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(bitmap)), nullptr) << "not a DC";
}

TEST(DibColorTable, ReadsAndWritesTheSelectedSectionsTableWithClamping) {
    const DibInfo info = makeInfo(4, 4, 4, BI_RGB, {kBlack, kWhite, kRed, kGreen, kBlue});
    HBITMAP section = makeSection(info);
    HDC dc = CreateCompatibleDC(nullptr);
    RGBQUAD colors[8]{};
    EXPECT_EQ(GetDIBColorTable(dc, 0, 8, colors), 0u) << "the stock bitmap has no DIB colour table";
    HGDIOBJ stock = SelectObject(dc, section);

    struct Case {
        UINT start, count, expected;
    };
    const Case cases[] = {{0, 5, 5}, {0, 8, 5},          {3, 8, 2},         {4, 1, 1},
                          {5, 1, 0}, {0xFFFFFFFF, 1, 0}, {2, 0xFFFFFFFF, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " + " << c.count);
        std::memset(colors, 0xEE, sizeof colors);
        ASSERT_EQ(GetDIBColorTable(dc, c.start, c.count, colors), c.expected);
        for (UINT i = 0; i < c.expected; ++i) EXPECT_EQ(colors[i].rgbRed, info.colors[c.start + i].rgbRed);
        EXPECT_EQ(colors[c.expected].rgbRed, 0xEE) << "nothing past the copied entries";
    }

    const RGBQUAD yellow[3] = {quad(0xFFFF00), quad(0xFFFF00), quad(0xFFFF00)};
    EXPECT_EQ(SetDIBColorTable(dc, 3, 3, yellow), 2u) << "the table has 5 entries";
    ASSERT_EQ(GetDIBColorTable(dc, 0, 5, colors), 5u);
    EXPECT_EQ(rgbOf(colors[2]), kRed);
    EXPECT_EQ(rgbOf(colors[3]), 0xFFFF00u);
    EXPECT_EQ(rgbOf(colors[4]), 0xFFFF00u);

    // The new table is what the pixels mean from now on.
    DIBSECTION described{};
    GetObjectA(section, sizeof described, &described);
    // Pixel 0 of the first stored row (the bottom one) takes index 3; GetDIBits gives the bottom row first.
    static_cast<uint8_t*>(described.dsBm.bmBits)[0] = 0x30;
    DibInfo out = makeInfo(4, 4, 32);
    std::vector<uint32_t> pixels(16);
    ASSERT_EQ(GetDIBits(dc, section, 0, 4, pixels.data(), out.info(), DIB_RGB_COLORS), 4);
    EXPECT_EQ(pixels[0], 0xFFFF00u);

    HBITMAP deep = makeSection(makeInfo(4, 4, 24));
    SelectObject(dc, deep);
    EXPECT_EQ(GetDIBColorTable(dc, 0, 1, colors), 0u) << "no table above 8 bits";
    EXPECT_EQ(SetDIBColorTable(dc, 0, 1, colors), 0u);
    HBITMAP ddb = CreateBitmap(4, 4, 1, 1, nullptr);
    SelectObject(dc, ddb);
    EXPECT_EQ(GetDIBColorTable(dc, 0, 1, colors), 0u) << "a DDB is not a DIB section";
    EXPECT_EQ(GetDIBColorTable(nullptr, 0, 1, colors), 0u);
    SelectObject(dc, stock);
    DeleteDC(dc);
    for (HBITMAP b : {section, deep, ddb}) DeleteObject(b);
}

TEST(CreateDIBitmap, ConvertsTheDibIntoADdbOfTheDcsKind) {
    const DibInfo info = makeInfo(3, 2, 8, BI_RGB, {kBlack, kWhite, 0x808080, kRed});
    const uint8_t bits[8] = {0, 1, 2, 0, 3, 3, 1, 0};  // bottom-up: the bottom row first
    HDC dc = CreateCompatibleDC(nullptr);

    HBITMAP colour = CreateDIBitmap(nullptr, &info.header, CBM_INIT, bits, info.info(), DIB_RGB_COLORS);
    HBITMAP mono = CreateDIBitmap(dc, &info.header, CBM_INIT, bits, info.info(), DIB_RGB_COLORS);
    HBITMAP blank = CreateDIBitmap(nullptr, &info.header, 0, nullptr, nullptr, DIB_RGB_COLORS);
    ASSERT_TRUE(colour && mono && blank);
    EXPECT_EQ(depthOf(colour), 32);
    EXPECT_EQ(depthOf(mono), 1);
    EXPECT_EQ(depthOf(blank), 32);

    DibInfo out = makeInfo(3, -2, 32);
    std::vector<uint32_t> pixels(6);
    ASSERT_EQ(GetDIBits(nullptr, colour, 0, 2, pixels.data(), out.info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFF0000, 0xFF0000, 0xFFFFFF, 0, 0xFFFFFF, 0x808080}));
    ASSERT_EQ(GetDIBits(nullptr, mono, 0, 2, pixels.data(), out.info(), DIB_RGB_COLORS), 2);
    // 808080 is nearer white (3 * 127^2) than black (3 * 128^2).
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0, 0, 0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF}));
    for (HBITMAP b : {colour, mono, blank}) DeleteObject(b);
    DeleteDC(dc);
}

TEST(CreateDIBitmap, RefusesWhatItCannotRead) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported modes
    winplat::testing::DebugCapture capture;
    // Run-length encoded bits are read only with their encoded size; other compressions not at all.
    const DibInfo rle = makeInfo(4, 4, 8, BI_RLE8);
    const uint8_t bits[64] = {};
    EXPECT_EQ(CreateDIBitmap(nullptr, &rle.header, CBM_INIT, bits, rle.info(), DIB_RGB_COLORS), nullptr);
    EXPECT_TRUE(capture.contains("run-length encoded bits without their size"));
    const DibInfo jpeg = makeInfo(4, 4, 24, 4);
    EXPECT_EQ(CreateDIBitmap(nullptr, &jpeg.header, CBM_INIT, bits, jpeg.info(), DIB_RGB_COLORS), nullptr);
    EXPECT_TRUE(capture.contains("compression 4"));
    const DibInfo info = makeInfo(4, 4, 8);
    EXPECT_EQ(CreateDIBitmap(nullptr, &info.header, CBM_INIT, bits, info.info(), DIB_PAL_COLORS), nullptr);
    EXPECT_TRUE(capture.contains("DIB_PAL_COLORS"));
    EXPECT_EQ(CreateDIBitmap(nullptr, &info.header, CBM_INIT, nullptr, info.info(), DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(CreateDIBitmap(nullptr, nullptr, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
    const DibInfo huge = makeInfo(65535, 65535, 8);
    EXPECT_EQ(CreateDIBitmap(nullptr, &huge.header, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
    const DibInfo flat = makeInfo(4, 0, 8);
    EXPECT_EQ(CreateDIBitmap(nullptr, &flat.header, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
}

}  // namespace
