// GetDIBits and SetDIBits between every bitmap kind and every DIB format.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dib_helpers.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace dibtest;

struct Format {
    const char* name;
    int bpp;
    DWORD compression;
    std::array<DWORD, 3> masks;
};

const Format kFormats[] = {
    {"1", 1, BI_RGB, {}},
    {"4", 4, BI_RGB, {}},
    {"8", 8, BI_RGB, {}},
    {"16_555", 16, BI_RGB, {}},
    {"16_565", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
    {"24", 24, BI_RGB, {}},
    {"32", 32, BI_RGB, {}},
    {"32_swapped", 32, BI_BITFIELDS, {0x0000FF, 0x00FF00, 0xFF0000}},
};

constexpr int kWidth = 5;  // odd, so 1- and 4-bit rows end inside a byte and 24-bit rows need padding
constexpr int kHeight = 3;

// Source tables keep the pattern colours away from the indices a default table would give them,
// so a copied table and copied indices are told apart from a remapping.
std::vector<Rgb> sourceTable(int bpp) {
    if (bpp == 1) return {kWhite, kBlack};
    const int entries = 1 << bpp;
    std::vector<Rgb> table;
    for (int i = 0; i < entries; ++i) table.push_back(static_cast<Rgb>((i << 16) | ((255 - i) << 8) | 0x40));
    const int slots[2][4] = {{12, 3, 9, 5}, {250, 7, 130, 64}};
    const auto& at = slots[bpp == 8 ? 1 : 0];
    table[at[0]] = kBlack;
    table[at[1]] = kWhite;
    table[at[2]] = kRed;
    table[at[3]] = kBlue;
    return table;
}

std::vector<Rgb> patternColors(bool twoColours) {
    if (twoColours) return {kBlack, kWhite};
    return {kBlack, kWhite, kRed, kBlue};
}

// Every row differs from its mirror image, so a flipped copy shows.
Rgb patternAt(const std::vector<Rgb>& colors, int x, int y) {
    return colors[static_cast<size_t>(x + 2 * y + (y == 0 ? 1 : 0)) % colors.size()];
}

struct Source {
    std::string name;
    bool ddb;
    Format format;
    bool topDown;
    bool twoColours() const { return format.bpp == 1; }
};

std::vector<Source> sources() {
    std::vector<Source> list{{"mono_ddb", true, {"1", 1, BI_RGB, {}}, true},
                             {"ddb32", true, {"32", 32, BI_RGB, {}}, true}};
    for (const Format& f : kFormats) {
        list.push_back({std::string("section") + f.name + "_bottom_up", false, f, false});
        list.push_back({std::string("section") + f.name + "_top_down", false, f, true});
    }
    return list;
}

struct Target {
    std::string name;
    Format format;
    bool topDown;
};

std::vector<Target> targets() {
    std::vector<Target> list;
    for (const Format& f : kFormats) {
        list.push_back({std::string("dib") + f.name + "_bottom_up", f, false});
        list.push_back({std::string("dib") + f.name + "_top_down", f, true});
    }
    return list;
}

DibInfo infoFor(const Format& f, int width, int height, bool topDown, std::vector<Rgb> table = {}) {
    return makeInfo(width, topDown ? -height : height, f.bpp, f.compression, std::move(table),
                    f.compression == BI_BITFIELDS ? f.masks.data() : nullptr);
}

HBITMAP makeSource(const Source& source) {
    const std::vector<Rgb> colors = patternColors(source.twoColours());
    if (source.ddb && source.format.bpp == 1) {
        std::vector<uint8_t> bits(2 * kHeight, 0);  // WORD-aligned rows
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (patternAt(colors, x, y) == kWhite)
                    bits[static_cast<size_t>(y * 2 + x / 8)] |= 0x80 >> (x % 8);
            }
        }
        return CreateBitmap(kWidth, kHeight, 1, 1, bits.data());
    }
    if (source.ddb) {
        std::vector<uint8_t> bits(4 * kWidth * kHeight, 0);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const Rgb c = patternAt(colors, x, y);
                uint8_t* p = &bits[static_cast<size_t>((y * kWidth + x) * 4)];
                p[0] = static_cast<uint8_t>(c);
                p[1] = static_cast<uint8_t>(c >> 8);
                p[2] = static_cast<uint8_t>(c >> 16);
            }
        }
        return CreateBitmap(kWidth, kHeight, 1, 32, bits.data());
    }
    const DibInfo info =
        infoFor(source.format, kWidth, kHeight, source.topDown,
                source.format.bpp <= 8 ? sourceTable(source.format.bpp) : std::vector<Rgb>{});
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            writePixel(info, static_cast<uint8_t*>(bits), x, y, patternAt(colors, x, y));
    }
    return bitmap;
}

class GetDIBitsConversion : public ::testing::TestWithParam<std::tuple<Source, Target>> {};

TEST_P(GetDIBitsConversion, GivesThePatternInTheRequestedFormat) {
    const auto& [source, target] = GetParam();
    HBITMAP bitmap = makeSource(source);
    ASSERT_TRUE(bitmap);
    DibInfo out = infoFor(target.format, kWidth, kHeight, target.topDown);
    std::vector<uint8_t> bits(imageSizeOf(out), 0xCC);

    ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, kHeight, bits.data(), out.info(), DIB_RGB_COLORS), kHeight);
    EXPECT_EQ(out.header.biSizeImage, bits.size());
    const std::vector<Rgb> colors = patternColors(source.twoColours());
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb want = patternAt(colors, x, y);
            // Black and white hold only white as white; red and blue are nearer black.
            const Rgb expected = target.format.bpp == 1 ? (want == kWhite ? kWhite : kBlack) : want;
            EXPECT_EQ(readPixel(out, bits.data(), x, y), expected) << "x " << x << " y " << y;
        }
    }
    EXPECT_TRUE(DeleteObject(bitmap));
}

INSTANTIATE_TEST_SUITE_P(AllPairs, GetDIBitsConversion,
                         ::testing::Combine(::testing::ValuesIn(sources()), ::testing::ValuesIn(targets())),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_to_" + std::get<1>(info.param).name;
                         });

class SetDIBitsConversion : public ::testing::TestWithParam<Target> {};

TEST_P(SetDIBitsConversion, WritesTheColoursIntoASectionAndAMonochromeBitmap) {
    const Target& input = GetParam();
    const bool twoColours = input.format.bpp == 1;
    const std::vector<Rgb> colors = patternColors(twoColours);
    DibInfo in = infoFor(input.format, kWidth, kHeight, input.topDown,
                         input.format.bpp <= 8 ? sourceTable(input.format.bpp) : std::vector<Rgb>{});
    std::vector<uint8_t> bits(imageSizeOf(in), 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) writePixel(in, bits.data(), x, y, patternAt(colors, x, y));
    }

    const DibInfo sectionInfo = makeInfo(kWidth, kHeight, 24);
    void* sectionBits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, sectionInfo.info(), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    ASSERT_TRUE(section);
    ASSERT_EQ(SetDIBits(nullptr, section, 0, kHeight, bits.data(), in.info(), DIB_RGB_COLORS), kHeight);

    HBITMAP mono = CreateBitmap(kWidth, kHeight, 1, 1, nullptr);
    ASSERT_EQ(SetDIBits(nullptr, mono, 0, kHeight, bits.data(), in.info(), DIB_RGB_COLORS), kHeight);
    DibInfo monoOut = makeInfo(kWidth, -kHeight, 1);
    std::vector<uint8_t> monoBits(imageSizeOf(monoOut));
    ASSERT_EQ(GetDIBits(nullptr, mono, 0, kHeight, monoBits.data(), monoOut.info(), DIB_RGB_COLORS), kHeight);

    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb want = patternAt(colors, x, y);
            EXPECT_EQ(readPixel(sectionInfo, static_cast<uint8_t*>(sectionBits), x, y), want)
                << x << "," << y;
            // The inverted 1-bit input table must come out by colour, not by index.
            EXPECT_EQ(readRaw(monoOut, monoBits.data(), x, y), want == kWhite ? 1u : 0u) << x << "," << y;
        }
    }
    DeleteObject(section);
    DeleteObject(mono);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, SetDIBitsConversion, ::testing::ValuesIn(targets()),
                         [](const auto& info) { return info.param.name; });

HBITMAP makeSection(const DibInfo& info, void** bits) {
    return CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(GetDIBits, SameDepthIndexedSourceGivesItsIndicesAndTable) {
    for (int bpp : {1, 4, 8}) {
        SCOPED_TRACE(bpp);
        const std::vector<Rgb> table = sourceTable(bpp);
        const DibInfo info = makeInfo(kWidth, kHeight, bpp, BI_RGB, table);
        void* bits = nullptr;
        HBITMAP bitmap = makeSection(info, &bits);
        ASSERT_TRUE(bitmap);
        for (int x = 0; x < kWidth; ++x)
            writePixel(info, static_cast<uint8_t*>(bits), x, 0, x % 2 ? kWhite : kBlack);

        DibInfo out = makeInfo(kWidth, kHeight, bpp);
        std::vector<uint8_t> outBits(imageSizeOf(out));
        ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, kHeight, outBits.data(), out.info(), DIB_RGB_COLORS),
                  kHeight);
        for (size_t i = 0; i < table.size(); ++i) ASSERT_EQ(rgbOf(out.colors[i]), table[i]) << i;
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(readRaw(out, outBits.data(), x, 0), readRaw(info, static_cast<uint8_t*>(bits), x, 0));
        }
        DeleteObject(bitmap);
    }
}

TEST(GetDIBits, IndexedTargetsGetTheDefaultTablesAndNearestIndices) {
    const DibInfo info = makeInfo(4, 1, 24);
    void* bits = nullptr;
    HBITMAP bitmap = makeSection(info, &bits);
    const Rgb pixels[4] = {0x336699, kRed, 0x7F7F7F, 0x0A0A0A};
    for (int x = 0; x < 4; ++x) writePixel(info, static_cast<uint8_t*>(bits), x, 0, pixels[x]);

    struct Case {
        int bpp;
        std::vector<std::pair<int, Rgb>> tableEntries;
        uint32_t indices[4];
    };
    const Case cases[] = {
        {1, {{0, kBlack}, {1, kWhite}}, {0, 0, 0, 0}},  // 7F7F7F is just nearer black
        {4,
         {{0, 0x000000},
          {1, 0x800000},
          {2, 0x008000},
          {3, 0x808000},
          {4, 0x000080},
          {5, 0x800080},
          {6, 0x008080},
          {7, 0xC0C0C0},
          {8, 0x808080},
          {9, 0xFF0000},
          {10, 0x00FF00},
          {11, 0xFFFF00},
          {12, 0x0000FF},
          {13, 0xFF00FF},
          {14, 0x00FFFF},
          {15, 0xFFFFFF}},
         {6, 9, 8, 0}},
        // 8 bits: the VGA colours, the 6x6x6 cube from 16, greys from 232 ((0x33,0x66,0x99) is cube 1,2,3);
        // 7F7F7F is as near VGA 808080 (8) as grey 808080 (244), and the lower index wins.
        {8,
         {{9, kRed}, {16, kBlack}, {67, 0x336699}, {231, kWhite}, {232, 0x080808}, {255, 0xEEEEEE}},
         {67, 9, 8, 232}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpp);
        DibInfo out = makeInfo(4, 1, c.bpp);
        std::vector<uint8_t> outBits(imageSizeOf(out));
        ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 1, outBits.data(), out.info(), DIB_RGB_COLORS), 1);
        for (const auto& [index, rgb] : c.tableEntries) EXPECT_EQ(rgbOf(out.colors[index]), rgb) << index;
        for (int x = 0; x < 4; ++x) EXPECT_EQ(readRaw(out, outBits.data(), x, 0), c.indices[x]) << x;
    }
    DeleteObject(bitmap);
}

TEST(GetDIBits, SixteenBitPackingTruncatesEachChannel) {
    const DibInfo info = makeInfo(3, 1, 24);
    void* bits = nullptr;
    HBITMAP bitmap = makeSection(info, &bits);
    const Rgb pixels[3] = {0xFF8000, 0x0804FF, 0x00FF00};
    for (int x = 0; x < 3; ++x) writePixel(info, static_cast<uint8_t*>(bits), x, 0, pixels[x]);

    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    struct Case {
        const char* name;
        DibInfo out;
        uint32_t expected[3];
    };
    const Case cases[] = {
        {"555", makeInfo(3, 1, 16), {0x7E00, 0x041F, 0x03E0}},
        {"565", makeInfo(3, 1, 16, BI_BITFIELDS, {}, masks565), {0xFC00, 0x083F, 0x07E0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibInfo out = c.out;
        std::vector<uint8_t> outBits(imageSizeOf(out));
        ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 1, outBits.data(), out.info(), DIB_RGB_COLORS), 1);
        for (int x = 0; x < 3; ++x) EXPECT_EQ(readRaw(out, outBits.data(), x, 0), c.expected[x]) << x;
    }
    DeleteObject(bitmap);
}

TEST(SetDIBits, SixteenBitChannelsWidenByRepeatingTheirBits) {
    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    struct Case {
        const char* name;
        DibInfo in;
        uint16_t raw;
        Rgb expected;
    };
    const Case cases[] = {
        {"555 mid", makeInfo(1, 1, 16), 0x4210, 0x848484},
        {"555 full", makeInfo(1, 1, 16), 0x7FFF, kWhite},
        {"565 mid", makeInfo(1, 1, 16, BI_BITFIELDS, {}, masks565), 0x8410, 0x848284},
        {"565 green full", makeInfo(1, 1, 16, BI_BITFIELDS, {}, masks565), 0x07E0, kGreen},
    };
    const DibInfo sectionInfo = makeInfo(1, 1, 32);
    void* bits = nullptr;
    HBITMAP section = makeSection(sectionInfo, &bits);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint8_t in[4] = {static_cast<uint8_t>(c.raw), static_cast<uint8_t>(c.raw >> 8), 0, 0};
        ASSERT_EQ(SetDIBits(nullptr, section, 0, 1, in, c.in.info(), DIB_RGB_COLORS), 1);
        EXPECT_EQ(readRaw(sectionInfo, static_cast<uint8_t*>(bits), 0, 0), c.expected);
    }
    DeleteObject(section);
}

TEST(GetDIBits, StartAndLinesCountInDibRowOrder) {
    // One grey level per visual row, so each copied row tells where it came from.
    const DibInfo info = makeInfo(1, -4, 32);
    void* bits = nullptr;
    HBITMAP bitmap = makeSection(info, &bits);
    for (int y = 0; y < 4; ++y)
        writePixel(info, static_cast<uint8_t*>(bits), 0, y, static_cast<Rgb>(0x101010 * (y + 1)));

    struct Case {
        bool topDown;
        UINT start;
        UINT lines;
        int copied;
        std::vector<int> visualRows;  // in buffer order
    };
    const Case cases[] = {
        {false, 0, 1, 1, {3}},  // scan line 0 of a bottom-up DIB is the bottom row
        {false, 1, 2, 2, {2, 1}}, {true, 0, 1, 1, {0}}, {true, 2, 9, 2, {2, 3}},  // clamped at the last line
        {false, 4, 1, 0, {}},                                                     // past the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "topDown " << c.topDown << " start " << c.start << " lines " << c.lines);
        DibInfo out = makeInfo(1, c.topDown ? -4 : 4, 32);
        std::vector<uint32_t> rows(c.lines, 0xDEADBEEF);
        ASSERT_EQ(GetDIBits(nullptr, bitmap, c.start, c.lines, rows.data(), out.info(), DIB_RGB_COLORS),
                  c.copied);
        for (size_t i = 0; i < c.visualRows.size(); ++i) {
            EXPECT_EQ(rows[i] & 0xFFFFFF, 0x101010u * static_cast<uint32_t>(c.visualRows[i] + 1)) << i;
        }
        for (size_t i = c.visualRows.size(); i < rows.size(); ++i) EXPECT_EQ(rows[i], 0xDEADBEEFu) << i;
    }
    DeleteObject(bitmap);
}

TEST(SetDIBits, WritesOnlyTheGivenLines) {
    const DibInfo info = makeInfo(1, -3, 32);
    void* bits = nullptr;
    HBITMAP bitmap = makeSection(info, &bits);
    const DibInfo in = makeInfo(1, 3, 32);  // bottom-up: scan line 1 is the middle row
    const uint32_t line = 0x00ABCDEF;
    ASSERT_EQ(SetDIBits(nullptr, bitmap, 1, 1, &line, in.info(), DIB_RGB_COLORS), 1);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    EXPECT_EQ(pixels[0], 0u);
    EXPECT_EQ(pixels[1], line);
    EXPECT_EQ(pixels[2], 0u);
    DeleteObject(bitmap);
}

TEST(GetDIBits, ALargerRequestIsFilledWhereTheBitmapIs) {
    HBITMAP bitmap = makeSource({"s", false, {"32", 32, BI_RGB, {}}, true});
    DibInfo out = makeInfo(kWidth + 3, -(kHeight + 1), 32);
    std::vector<uint8_t> bits(imageSizeOf(out), 0xAB);
    ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, kHeight + 1, bits.data(), out.info(), DIB_RGB_COLORS), kHeight);
    const std::vector<Rgb> colors = patternColors(false);
    for (int y = 0; y < kHeight + 1; ++y) {
        for (int x = 0; x < kWidth + 3; ++x) {
            if (x < kWidth && y < kHeight) {
                EXPECT_EQ(readPixel(out, bits.data(), x, y), patternAt(colors, x, y));
            } else {
                EXPECT_EQ(readRaw(out, bits.data(), x, y), 0xABABABABu) << "outside the bitmap is left alone";
            }
        }
    }
    DeleteObject(bitmap);
}

TEST(SetDIBits, ANarrowDibLeavesTheRestOfASharedByte) {
    HBITMAP mono = CreateBitmap(16, 1, 1, 1, std::vector<uint8_t>{0xFF, 0xFF}.data());
    const DibInfo in = makeInfo(5, 1, 1, BI_RGB, {kBlack, kWhite});
    const uint8_t row[4] = {0x00, 0, 0, 0};
    ASSERT_EQ(SetDIBits(nullptr, mono, 0, 1, row, in.info(), DIB_RGB_COLORS), 1);
    DibInfo out = makeInfo(16, 1, 1);
    uint8_t bits[4] = {};
    ASSERT_EQ(GetDIBits(nullptr, mono, 0, 1, bits, out.info(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(bits[0], 0x07) << "pixels 5-7 keep their white";
    EXPECT_EQ(bits[1], 0xFF);
    DeleteObject(mono);
}

TEST(GetDIBits, AWiderSubByteRequestKeepsTheCallersBitsPastTheBitmap) {
    HBITMAP bitmap = CreateBitmap(3, 1, 1, 32, std::vector<uint32_t>(3, kWhite).data());
    for (int bpp : {1, 4}) {
        SCOPED_TRACE(bpp);
        DibInfo out = makeInfo(8, 1, bpp);
        uint8_t bits[4] = {0xAA, 0xAA, 0xAA, 0xAA};
        ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 1, bits, out.info(), DIB_RGB_COLORS), 1);
        const std::vector<uint8_t> expected =
            bpp == 1 ? std::vector<uint8_t>{0xEA, 0xAA} : std::vector<uint8_t>{0xFF, 0xFA};
        EXPECT_EQ(std::vector<uint8_t>(bits, bits + 2), expected);
    }
    DeleteObject(bitmap);
}

TEST(GetDIBits, NullBitsDescribeTheBitmapOrTheRequest) {
    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    const DibInfo sectionInfo = makeInfo(7, -5, 16, BI_BITFIELDS, {}, masks565);
    HBITMAP section = makeSection(sectionInfo, nullptr);
    ASSERT_TRUE(section);

    // A request that ends with the header must not get a colour table written past it.
    struct {
        BITMAPINFOHEADER header;
        uint32_t guard;
    } own{};
    own.header.biSize = sizeof(BITMAPINFOHEADER);
    own.guard = 0x5A5A5A5A;
    EXPECT_NE(GetDIBits(nullptr, section, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&own), DIB_RGB_COLORS),
              0);
    EXPECT_EQ(own.header.biWidth, 7);
    EXPECT_EQ(own.header.biHeight, -5);
    EXPECT_EQ(own.header.biPlanes, 1);
    EXPECT_EQ(own.header.biBitCount, 16);
    EXPECT_EQ(own.header.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(own.header.biSizeImage, 16u * 5);
    EXPECT_EQ(own.guard, 0x5A5A5A5Au);

    DibInfo request = makeInfo(7, 5, 4);
    EXPECT_NE(GetDIBits(nullptr, section, 0, 5, nullptr, request.info(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(request.header.biSizeImage, 4u * 5);
    EXPECT_EQ(rgbOf(request.colors[9]), kRed) << "the VGA table comes with an indexed request";

    DibInfo bitfields = makeInfo(7, 5, 16, BI_BITFIELDS);
    EXPECT_NE(GetDIBits(nullptr, section, 0, 5, nullptr, bitfields.info(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(bitfields.masks()[0], 0xF800u) << "empty masks are filled with 5-6-5";
    EXPECT_EQ(bitfields.masks()[1], 0x07E0u);
    EXPECT_EQ(bitfields.masks()[2], 0x001Fu);

    DibInfo ddbOwn = makeInfo(0, 0, 0);
    HBITMAP mono = CreateBitmap(9, 2, 1, 1, nullptr);
    EXPECT_NE(GetDIBits(nullptr, mono, 0, 0, nullptr, ddbOwn.info(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(ddbOwn.header.biBitCount, 1);
    EXPECT_EQ(ddbOwn.header.biHeight, 2) << "DDBs describe themselves bottom-up";
    EXPECT_EQ(ddbOwn.header.biCompression, static_cast<DWORD>(BI_RGB));
    DeleteObject(mono);
    DeleteObject(section);
}

TEST(GetDIBits, RefusesBadRequests) {
    winplat::testing::ScopedDebugAsserts off(false);  // some requests are unsupported modes
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    std::vector<uint8_t> bits(4 * 4 * 4);
    const DWORD overlapping[3] = {0xFF00, 0x0FF0, 0x000F};
    const DWORD gapped[3] = {0xF00F, 0x0FF0, 0x0000};
    struct Case {
        const char* name;
        DibInfo info;
    };
    const Case cases[] = {
        {"zero width", makeInfo(0, 4, 32)},
        {"negative width", makeInfo(-4, 4, 32)},
        {"zero height", makeInfo(4, 0, 32)},
        {"7 bits", makeInfo(4, 4, 7)},
        {"RLE8", makeInfo(4, 4, 8, BI_RLE8)},
        {"bit fields at 24 bits", makeInfo(4, 4, 24, BI_BITFIELDS)},
        {"overlapping masks", makeInfo(4, 4, 16, BI_BITFIELDS, {}, overlapping)},
        {"masks with gaps", makeInfo(4, 4, 16, BI_BITFIELDS, {}, gapped)},
        {"huge", makeInfo(65535, 65535, 32)},
        {"too wide", makeInfo(70000, 1, 1)},
        {"most negative height", makeInfo(4, INT32_MIN, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibInfo info = c.info;
        EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 4, bits.data(), info.info(), DIB_RGB_COLORS), 0);
        EXPECT_EQ(SetDIBits(nullptr, bitmap, 0, 4, bits.data(), info.info(), DIB_RGB_COLORS), 0);
    }
    DibInfo good = makeInfo(4, 4, 32);
    DibInfo shortHeader = good;
    shortHeader.header.biSize = 12;
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 4, bits.data(), shortHeader.info(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 4, bits.data(), good.info(), DIB_PAL_COLORS), 0);
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 4, bits.data(), nullptr, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBits(nullptr, bitmap, 0, 4, nullptr, good.info(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(
        GetDIBits(reinterpret_cast<HDC>(bitmap), bitmap, 0, 4, bits.data(), good.info(), DIB_RGB_COLORS), 0)
        << "a DC argument must be a DC";
    DeleteObject(bitmap);
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 4, bits.data(), good.info(), DIB_RGB_COLORS), 0) << "deleted";
}

}  // namespace
