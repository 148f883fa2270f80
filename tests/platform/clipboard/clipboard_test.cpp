#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "../gdi/dib_helpers.h"
#include "winplat/clipboard.h"
#include "winplat/gdi.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using namespace dibtest;
using winplat::testing::liveGlobalBlocks;

HWND window(uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

HGLOBAL blockWith(const std::vector<uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::vector<uint8_t> contents(HGLOBAL block) {
    const auto* data = static_cast<const uint8_t*>(GlobalLock(block));
    std::vector<uint8_t> bytes(data, data + GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

// Header, 'colors' table entries (or masks), then the bits.
std::vector<uint8_t> packedDib(const DibInfo& info, size_t tableBytes, const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> bytes(sizeof(BITMAPINFOHEADER) + tableBytes);
    std::memcpy(bytes.data(), &info, bytes.size());
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    return bytes;
}

bool alive(HGDIOBJ object) {
    return GetObjectA(object, 0, nullptr) != 0;
}

class Clipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        winplat::testing::resetClipboard();
        blocksBefore_ = liveGlobalBlocks();
    }
    void TearDown() override {
        winplat::testing::resetClipboard();
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore_) << "the clipboard frees what it owns";
    }
    size_t blocksBefore_ = 0;
};

TEST_F(Clipboard, OneOwnerValueHasItOpenAtATime) {
    EXPECT_FALSE(CloseClipboard()) << "not open";
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);

    ASSERT_TRUE(OpenClipboard(window(0x10)));
    EXPECT_TRUE(OpenClipboard(window(0x10))) << "the same owner may open again";
    EXPECT_FALSE(OpenClipboard(window(0x20)));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "NULL is just another owner value";
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_TRUE(OpenClipboard(window(0x20)));
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, DataNeedsAnOpenClipboardButAvailabilityDoesNot) {
    HGLOBAL text = blockWith({'h', 'i', 0});
    EXPECT_EQ(SetClipboardData(CF_TEXT, text), nullptr) << "not open: the caller keeps the block";
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_TEXT, text), text);
    EXPECT_EQ(GetClipboardData(CF_TEXT), text);
    ASSERT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "reading needs it open";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(contents(static_cast<HGLOBAL>(GetClipboardData(CF_TEXT))), (std::vector<uint8_t>{'h', 'i', 0}));
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, OwnsWhatItIsGivenAndFreesIt) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL first = blockWith({1});
    HGLOBAL second = blockWith({2});
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    const size_t held = liveGlobalBlocks();

    ASSERT_EQ(SetClipboardData(CF_TEXT, first), first);
    ASSERT_EQ(SetClipboardData(CF_TEXT, second), second);
    EXPECT_EQ(liveGlobalBlocks(), held - 1) << "replaced data is freed";
    EXPECT_EQ(GlobalSize(first), 0u);
    EXPECT_EQ(SetClipboardData(CF_TEXT, second), second) << "setting the same handle again keeps it";
    EXPECT_EQ(GlobalSize(second), 1u);
    ASSERT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);

    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(liveGlobalBlocks(), held - 2);
    EXPECT_FALSE(alive(bitmap)) << "a CF_BITMAP is deleted";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, RefusesDataItCouldNotFree) {
    winplat::testing::ScopedDebugAsserts off(false);  // delayed rendering is not supported
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL block = blockWith({1, 2, 3});
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr) << "no delayed rendering";
    EXPECT_EQ(SetClipboardData(CF_BITMAP, block), nullptr) << "a CF_BITMAP must be a bitmap";
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(0x1234)), nullptr);
    EXPECT_EQ(SetClipboardData(0, block), nullptr);
    ASSERT_EQ(SetClipboardData(CF_TEXT, block), block);
    EXPECT_EQ(SetClipboardData(CF_DIB, block), nullptr) << "one block under two formats";
    EXPECT_EQ(GlobalSize(block), 3u);
    EXPECT_TRUE(alive(bitmap)) << "a refused handle stays the caller's";
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, ADibIsAlsoABitmap) {
    // 8 bits, 3 colours, 2 x 2 bottom-up: bottom row red, blue; top row white, black.
    const DibInfo info = makeInfo(2, 2, 8, BI_RGB, {kRed, kBlue, kWhite});
    HGLOBAL dib = blockWith(packedDib(info, 3 * sizeof(RGBQUAD), {0, 1, 0, 0, 2, 7, 0, 0}));

    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_EQ(SetClipboardData(CF_DIB, dib), dib);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap) << "made once";
    EXPECT_EQ(GetClipboardData(CF_DIB), dib) << "the DIB itself is untouched";

    BITMAP described{};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof described, &described));
    EXPECT_EQ(described.bmBitsPixel, 32);
    EXPECT_EQ(described.bmBits, nullptr) << "a DDB";
    DibInfo out = makeInfo(2, -2, 32);
    std::vector<uint32_t> pixels(4);
    ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 2, pixels.data(), out.info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{kWhite, kBlack, kRed, kBlue}))
        << "index 7 is past the table: black";

    // New data makes the old copy stale: it is freed, not handed out.
    HGLOBAL next = blockWith(packedDib(info, 3 * sizeof(RGBQUAD), {2, 2, 0, 0, 2, 2, 0, 0}));
    ASSERT_EQ(SetClipboardData(CF_DIB, next), next);
    EXPECT_FALSE(alive(bitmap));
    auto fresh = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_EQ(GetDIBits(nullptr, fresh, 0, 2, pixels.data(), out.info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(pixels, (std::vector<uint32_t>(4, kWhite)));

    ASSERT_TRUE(EmptyClipboard());
    EXPECT_FALSE(alive(fresh));
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, PackedDibsAreReadWhereTheirBitsStart) {
    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    DibInfo hinted = makeInfo(2, 1, 24);
    hinted.header.biClrUsed = 2;  // a palette hint before the bits of a 24-bit DIB
    hinted.colors[0] = quad(0x123456);
    hinted.colors[1] = quad(0x654321);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<uint32_t> pixels;  // top row, left to right
    };
    const Case cases[] = {
        {"1 bit, inverted table",
         packedDib(makeInfo(2, 1, 1, BI_RGB, {kWhite, kBlack}), 8, {0x40, 0, 0, 0}),
         {kWhite, kBlack}},
        {"16 bits, masks after the header",
         packedDib(makeInfo(2, 1, 16, BI_BITFIELDS, {}, masks565), 12, {0x00, 0xF8, 0x1F, 0x00}),
         {kRed, kBlue}},
        {"24 bits with a palette hint",
         packedDib(hinted, 8, {0xFF, 0, 0, 0, 0xFF, 0, 0, 0}),
         {kBlue, kGreen}},
    };
    ASSERT_TRUE(OpenClipboard(nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL dib = blockWith(c.bytes);
        ASSERT_EQ(SetClipboardData(CF_DIB, dib), dib);
        auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        ASSERT_TRUE(bitmap);
        DibInfo out = makeInfo(2, -1, 32);
        std::vector<uint32_t> pixels(2);
        ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 1, pixels.data(), out.info(), DIB_RGB_COLORS), 1);
        EXPECT_EQ(pixels, c.pixels);
    }
    EXPECT_TRUE(CloseClipboard());
}

struct BitmapCase {
    const char* name;
    HBITMAP (*make)();
    WORD bpp;
    DWORD compression;
    DWORD clrUsed;
    std::vector<uint32_t> table;  // RGBQUADs as DWORDs, or the three masks
};

HBITMAP sectionWith(const DibInfo& info) {
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    // A distinct byte everywhere so the copied bits can be checked against the source.
    const size_t size = imageSizeOf(info);
    for (size_t i = 0; i < size; ++i) static_cast<uint8_t*>(bits)[i] = static_cast<uint8_t>(i * 7 + 1);
    return bitmap;
}

const BitmapCase kBitmapCases[] = {
    {"mono DDB",
     [] {
         const uint8_t bits[6] = {0xA0, 0, 0x40, 0, 0xE0, 0};
         return CreateBitmap(3, 3, 1, 1, bits);
     },
     1,
     BI_RGB,
     0,
     {0x000000, 0xFFFFFF}},
    {"32-bit DDB",
     [] {
         const uint32_t bits[6] = {1, 2, 3, 4, 5, 6};
         return CreateBitmap(2, 3, 1, 32, bits);
     },
     32,
     BI_RGB,
     0,
     {}},
    {"1-bit section, inverted table",
     [] {
         return sectionWith(makeInfo(9, 3, 1, BI_RGB, {kWhite, kBlack}));
     },
     1,
     BI_RGB,
     0,
     {0xFFFFFF, 0x000000}},
    {"8-bit section, 3 colours, top-down",
     [] {
         return sectionWith(makeInfo(3, -3, 8, BI_RGB, {kRed, kGreen, kBlue}));
     },
     8,
     BI_RGB,
     3,
     {0xFF0000, 0x00FF00, 0x0000FF}},
    {"16-bit 5-6-5 section",
     [] {
         const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
         return sectionWith(makeInfo(3, 2, 16, BI_BITFIELDS, {}, masks));
     },
     16,
     BI_BITFIELDS,
     0,
     {0xF800, 0x07E0, 0x001F}},
};

class ClipboardBitmapToDib : public Clipboard, public ::testing::WithParamInterface<BitmapCase> {};

TEST_P(ClipboardBitmapToDib, GivesAPackedDibOfTheBitmapsOwnFormat) {
    const BitmapCase& c = GetParam();
    HBITMAP bitmap = c.make();
    ASSERT_TRUE(bitmap);
    // What the bitmap holds, bottom-up in its own format, to compare with.
    DibInfo own = makeInfo(0, 0, 0);
    own.header.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_TRUE(GetDIBits(nullptr, bitmap, 0, 0, nullptr, own.info(), DIB_RGB_COLORS));
    own.header.biHeight = std::abs(own.header.biHeight);
    std::vector<uint8_t> expectedBits(imageSizeOf(own));
    ASSERT_EQ(
        GetDIBits(nullptr, bitmap, 0, own.header.biHeight, expectedBits.data(), own.info(), DIB_RGB_COLORS),
        own.header.biHeight);

    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    auto dib = static_cast<HGLOBAL>(GetClipboardData(CF_DIB));
    ASSERT_TRUE(dib);
    EXPECT_EQ(GetClipboardData(CF_DIB), dib) << "made once";

    const std::vector<uint8_t> bytes = contents(dib);
    BITMAPINFOHEADER header;
    ASSERT_GE(bytes.size(), sizeof header);
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, own.header.biWidth);
    EXPECT_EQ(header.biHeight, own.header.biHeight) << "bottom-up";
    EXPECT_EQ(header.biBitCount, c.bpp);
    EXPECT_EQ(header.biCompression, c.compression);
    EXPECT_EQ(header.biClrUsed, c.clrUsed);
    const size_t tableBytes = c.table.size() * 4;
    ASSERT_EQ(bytes.size(), sizeof header + tableBytes + expectedBits.size());
    std::vector<uint32_t> table(c.table.size());
    if (tableBytes) std::memcpy(table.data(), bytes.data() + sizeof header, tableBytes);
    EXPECT_EQ(table, c.table);
    EXPECT_EQ(
        std::vector<uint8_t>(bytes.begin() + static_cast<long>(sizeof header + tableBytes), bytes.end()),
        expectedBits);

    ASSERT_TRUE(EmptyClipboard());
    EXPECT_FALSE(alive(bitmap));
    EXPECT_TRUE(CloseClipboard());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ClipboardBitmapToDib, ::testing::ValuesIn(kBitmapCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

TEST_F(Clipboard, DamagedPackedDibsGiveNoBitmap) {
    const DibInfo good = makeInfo(4, 4, 8);
    const std::vector<uint8_t> goodBits(16, 1);
    auto build = [&](auto change) {
        DibInfo info = good;
        std::vector<uint8_t> bytes = packedDib(info, 256 * sizeof(RGBQUAD), goodBits);
        change(bytes);
        return bytes;
    };
    auto header = [](std::vector<uint8_t>& bytes) {
        return reinterpret_cast<BITMAPINFOHEADER*>(bytes.data());
    };
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"shorter than a header", std::vector<uint8_t>(20, 0)},
        {"bits one byte short", build([](std::vector<uint8_t>& b) { b.pop_back(); })},
        {"colour table cut off",
         build([](std::vector<uint8_t>& b) { b.resize(sizeof(BITMAPINFOHEADER) + 100); })},
        {"header size beyond the block", build([&](std::vector<uint8_t>& b) { header(b)->biSize = 5000; })},
        {"header size absurd", build([&](std::vector<uint8_t>& b) { header(b)->biSize = 0xFFFFFFF0; })},
        {"zero width", build([&](std::vector<uint8_t>& b) { header(b)->biWidth = 0; })},
        {"huge height", build([&](std::vector<uint8_t>& b) { header(b)->biHeight = 0x7FFFFFFF; })},
        {"huge but capped size", build([&](std::vector<uint8_t>& b) {
             header(b)->biWidth = 60000;
             header(b)->biHeight = 60000;
         })},
        {"too many colours", build([&](std::vector<uint8_t>& b) { header(b)->biClrUsed = 0x40000000; })},
        {"7 bits", build([&](std::vector<uint8_t>& b) { header(b)->biBitCount = 7; })},
        {"RLE8", build([&](std::vector<uint8_t>& b) { header(b)->biCompression = BI_RLE8; })},
        {"masks past the end", packedDib(makeInfo(1, 1, 16, BI_BITFIELDS, {}, masks), 0, {})},
    };
    ASSERT_TRUE(OpenClipboard(nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL dib = blockWith(c.bytes);
        ASSERT_EQ(SetClipboardData(CF_DIB, dib), dib);
        EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    }
    HGLOBAL intact = blockWith(build([](std::vector<uint8_t>&) {}));
    ASSERT_EQ(SetClipboardData(CF_DIB, intact), intact);
    EXPECT_TRUE(GetClipboardData(CF_BITMAP)) << "the same DIB undamaged makes a bitmap";
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, ResetEmptiesAndClosesWhoeverHasIt) {
    ASSERT_TRUE(OpenClipboard(window(0x10)));
    HGLOBAL block = blockWith({1});
    SetClipboardData(CF_TEXT, block);
    winplat::testing::resetClipboard();
    EXPECT_EQ(GlobalSize(block), 0u) << "freed";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(OpenClipboard(window(0x20)));
    EXPECT_TRUE(CloseClipboard());
}

}  // namespace
