// The Targa codec on files built field by field: image types, depths, row orders, colour maps,
// packets across rows, refused headers and what the writer makes.
#include <gtest/gtest.h>

#include "../pixmill_fixture.h"
#include "file_codec_test_support.h"
#include "formats/targa_codec.h"

namespace {

using namespace file_codec_test;
using bmp_test::get16;
using bmp_test::put16;

const Codec kTarga{pixmill::targaInfo, pixmill::targaLoad, pixmill::targaSave};

struct TgaFile {
    int type = 2;
    int bits = 24;
    int width = 2;
    int height = 2;
    int descriptor = 0x20;
    Bytes id;
    int mapType = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapBits = 0;
    Bytes map;   // stored entries
    Bytes data;  // pixels as stored

    Bytes build() const {
        Bytes b{static_cast<uint8_t>(id.size()), static_cast<uint8_t>(mapType), static_cast<uint8_t>(type)};
        put16(b, static_cast<uint32_t>(mapFirst));
        put16(b, static_cast<uint32_t>(mapLength));
        b.push_back(static_cast<uint8_t>(mapBits));
        put16(b, 0);
        put16(b, 0);
        put16(b, static_cast<uint32_t>(width));
        put16(b, static_cast<uint32_t>(height));
        b.push_back(static_cast<uint8_t>(bits));
        b.push_back(static_cast<uint8_t>(descriptor));
        b.insert(b.end(), id.begin(), id.end());
        b.insert(b.end(), map.begin(), map.end());
        b.insert(b.end(), data.begin(), data.end());
        return b;
    }
};

// The pixels of a decoded picture as 0x00RRGGBB, top row first.
std::vector<uint32_t> colours(const Decoded& d) {
    std::vector<uint32_t> out;
    for (int y = 0; y < d.info.height; ++y) {
        for (int x = 0; x < d.info.width; ++x) out.push_back(d.rgb(x, y));
    }
    return out;
}

TEST(TargaCodec, TypesAndDepthsDecodeToTheirColours) {
    struct Case {
        const char* name;
        TgaFile file;
        std::vector<uint32_t> want;
    };
    TgaFile bgr24;  // top-down 2 x 2
    bgr24.data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TgaFile bottomUp = bgr24;
    bottomUp.descriptor = 0;
    bottomUp.data = {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6};
    TgaFile rle24 = bgr24;  // a repeat packet over the top row and a raw one over the bottom row
    rle24.type = 10;
    rle24.data = {0x81, 1, 2, 3, 0x01, 7, 8, 9, 10, 11, 12};
    TgaFile across = bgr24;  // one raw packet of three pixels, then a repeat of one
    across.type = 10;
    across.data = {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x80, 10, 11, 12};
    TgaFile b32 = bgr24;
    b32.bits = 32;
    b32.data = {1, 2, 3, 0xFF, 4, 5, 6, 0x00, 7, 8, 9, 0x80, 10, 11, 12, 0x10};
    TgaFile b16 = bgr24;
    b16.bits = 16;
    b16.data = {0xFF, 0x7F, 0xFF, 0xFF, 0x1F, 0x00, 0x00, 0x7C};  // white, white with attribute, blue, red
    TgaFile grey;
    grey.type = 3;
    grey.bits = 8;
    grey.data = {0, 64, 128, 255};
    TgaFile greyRle = grey;  // one packet stream across the rows: 3 of 9, then 2, 7... cut by the picture end
    greyRle.type = 11;
    greyRle.data = {0x82, 9, 0x00, 7};
    TgaFile mapped;
    mapped.type = 1;
    mapped.bits = 8;
    mapped.mapType = 1;
    mapped.mapFirst = 2;
    mapped.mapLength = 2;
    mapped.mapBits = 24;
    mapped.map = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40};  // entries 2 and 3, B G R
    mapped.data = {2, 3, 3, 2};
    TgaFile mapped16 = mapped;
    mapped16.mapBits = 16;
    mapped16.map = {0x00, 0x7C, 0xE0, 0x03};  // red, green
    TgaFile mapped32 = mapped;
    mapped32.mapBits = 32;
    mapped32.map = {0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0xFF};
    TgaFile mirrored = bgr24;
    mirrored.descriptor = 0x30;
    TgaFile mono;
    mono.type = 3;
    mono.bits = 1;
    mono.width = 10;
    mono.data = {0xC0, 0x40, 0x3F, 0xC0};
    TgaFile withId = grey;
    withId.id = Bytes(7, 0xAB);

    const Case cases[] = {
        {"24 bits top-down", bgr24, {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
        {"24 bits bottom-up", bottomUp, {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
        {"24 bits in packets", rle24, {0x030201, 0x030201, 0x090807, 0x0C0B0A}},
        {"type-10 packets running across the row end", across, {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
        {"32 bits, alpha dropped", b32, {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
        {"16 bits", b16, {0xF8F8F8, 0xF8F8F8, 0x0000F8, 0xF80000}},
        {"8-bit grey with the ramp", grey, {0x000000, 0x404040, 0x808080, 0xFFFFFF}},
        {"8-bit grey packets across rows", greyRle, {0x090909, 0x090909, 0x090909, 0x070707}},
        {"colour map from index 2", mapped, {0x102030, 0x405060, 0x405060, 0x102030}},
        {"16-bit colour map", mapped16, {0xF80000, 0x00F800, 0x00F800, 0xF80000}},
        {"32-bit colour map", mapped32, {0x102030, 0x405060, 0x405060, 0x102030}},
        {"right to left", mirrored, {0x060504, 0x030201, 0x0C0B0A, 0x090807}},
        {"identification field skipped", withId, {0x000000, 0x404040, 0x808080, 0xFFFFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decodeWith(kTarga, c.file.build());
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_EQ(colours(d), c.want);
    }
    {
        SCOPED_TRACE("1 bit");
        const Decoded d = decodeWith(kTarga, mono.build());
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.info.bitsPerPixel, 1);
        EXPECT_EQ(Bytes(d.sink->rows()[0].begin(), d.sink->rows()[0].begin() + 2), (Bytes{0xC0, 0x40}));
        EXPECT_EQ(d.rgb(0, 0), 0xFFFFFFu);
        EXPECT_EQ(d.rgb(2, 0), 0x000000u);
    }
}

TEST(TargaCodec, InfoTellsRowOrderCompressionAndDepth) {
    TgaFile f;
    f.data = Bytes(12, 1);
    struct Case {
        int type;
        int bits;
        int descriptor;
        int depth;
        int flags;
        const char* detail;
    };
    const Case cases[] = {
        {2, 24, 0x20, 24, 0, "no compression"},
        {2, 24, 0x00, 24, pixmill::kFlagNotScalable, "no compression"},
        {10, 32, 0x28, 24, 0, "RLC compression"},
        {3, 8, 0x00, 8, pixmill::kFlagNotScalable, "no compression"},
        {9, 8, 0x20, 8, 0, "RLC compression"},
        {2, 15, 0x20, 24, 0, "no compression"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "/" << c.bits << "/" << c.descriptor);
        f.type = c.type;
        f.bits = c.bits;
        f.descriptor = c.descriptor;
        const Decoded d = decodeWith(kTarga, f.build(), {}, -1, true);
        ASSERT_EQ(d.infoResult, 0);
        EXPECT_EQ(d.info.bitsPerPixel, c.depth);
        EXPECT_EQ(d.info.flags, c.flags);
        EXPECT_STREQ(d.info.detailText, c.detail);
    }
}

TEST(TargaCodec, UnreadableHeadersAreRefused) {
    struct Case {
        const char* name;
        int type, bits, width, height;
    };
    const Case cases[] = {
        {"type 4", 4, 24, 2, 2},
        {"type 0 (no picture)", 0, 24, 2, 2},
        {"type 32", 32, 24, 2, 2},
        {"12 bits", 2, 12, 2, 2},
        {"no width", 2, 24, 0, 2},
        {"no height", 2, 24, 2, 0},
        {"wider than any picture", 2, 24, 40000, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TgaFile f;
        f.type = c.type;
        f.bits = c.bits;
        f.width = c.width;
        f.height = c.height;
        f.data = Bytes(64, 0);
        EXPECT_EQ(decodeWith(kTarga, f.build()).infoResult, pixmill::kCodecBadFormat);
    }
    EXPECT_EQ(decodeWith(kTarga, Bytes(17, 0)).infoResult, pixmill::kCodecBadFormat);
}

TEST(TargaCodec, DataStartAfterTheWholeColourMap) {
    // Entries from index 250 on, 10 of them: indices 250-255 are kept, and the pixels start after
    // all ten, whatever the first index.
    TgaFile f;
    f.type = 1;
    f.bits = 8;
    f.width = 2;
    f.height = 1;
    f.mapType = 1;
    f.mapFirst = 250;
    f.mapLength = 10;
    f.mapBits = 24;
    for (int i = 0; i < 10; ++i) f.map.insert(f.map.end(), {static_cast<uint8_t>(i), 0, 0});
    f.data = {250, 255};
    const Decoded d = decodeWith(kTarga, f.build());
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(colours(d), (std::vector<uint32_t>{0x000000, 0x000005}));
    EXPECT_EQ(d.sink->rows()[0][0], 250);
    EXPECT_EQ(d.sink->rows()[0][1], 255);
}

TEST(TargaCodec, TruncatedPixelsGiveAReadErrorAndAStopIsAStop) {
    TgaFile f;
    f.height = 4;
    f.data = Bytes(3 * 2 * 4 - 1, 9);
    // The file's length shows the pixels cannot all be there: refused before an image is made.
    EXPECT_EQ(decodeWith(kTarga, f.build()).infoResult, pixmill::kCodecReadError);
    f.data.push_back(9);
    const Decoded d = decodeWith(kTarga, f.build(), {}, 2);
    EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
    EXPECT_EQ(d.sink->order.size(), 2u);
    TgaFile rle16 = f;  // run-length colour-mapped pictures are read at 1 and 8 bits only
    rle16.type = 9;
    rle16.bits = 16;
    EXPECT_EQ(decodeWith(kTarga, rle16.build()).loadResult, pixmill::kCodecReadError);
}

TEST(TargaCodec, APictureInsideAnotherFileLoadsAtItsOffset) {
    TgaFile f;
    f.data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const Decoded d = decodeWith(kTarga, f.build(), Bytes(1000, 0xEE));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(colours(d), (std::vector<uint32_t>{0x030201, 0x060504, 0x090807, 0x0C0B0A}));
}

TEST(TargaCodec, WriterHeadersAndRowsFollowTheDepth) {
    struct Case {
        int bits;
        int mapType, type, mapLength, mapBits, fileBits;
        size_t rowBytes;
    };
    const int width = 13, height = 3;
    const Case cases[] = {{1, 0, 3, 0, 0, 1, 2}, {4, 1, 1, 256, 24, 8, 13}, {8, 1, 1, 256, 24, 8, 13},
                          {24, 0, 2, 0, 0, 24, 39}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        std::vector<uint32_t> palette;
        for (int i = 0; i < 256; ++i) palette.push_back(static_cast<uint32_t>(i) << 16 | static_cast<uint32_t>(255 - i));
        std::vector<Bytes> rows;
        for (int y = 0; y < height; ++y) {
            Bytes row(bmp_test::rowBytes(width, c.bits), 0);
            for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 29 + static_cast<size_t>(y) * 7);
            rows.push_back(row);
        }
        const Written w = encodeWith(kTarga, recordFor(width, height, c.bits, palette), rows);
        ASSERT_EQ(w.result, 0);
        const Bytes& b = w.bytes;
        ASSERT_GE(b.size(), 18u);
        EXPECT_EQ(b[0], 0);
        EXPECT_EQ(b[1], c.mapType);
        EXPECT_EQ(b[2], c.type);
        EXPECT_EQ(get16(b, 5), static_cast<uint32_t>(c.mapLength));
        EXPECT_EQ(b[7], c.mapBits);
        EXPECT_EQ(get16(b, 12), static_cast<uint32_t>(width));
        EXPECT_EQ(b[16], c.fileBits);
        EXPECT_EQ(b[17], 0x20);
        const size_t mapBytes = static_cast<size_t>(c.mapLength) * 3;
        ASSERT_EQ(b.size(), 18 + mapBytes + c.rowBytes * height);
        if (mapBytes) {  // entry 7 as blue, green, red
            EXPECT_EQ(Bytes(b.begin() + 18 + 3 * 7, b.begin() + 18 + 3 * 8), (Bytes{248, 0, 7}));
        }
        const Decoded d = decodeWith(kTarga, b);
        ASSERT_TRUE(d.ok());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Bytes& r = rows[static_cast<size_t>(y)];
                int index = 0;
                if (c.bits == 1) index = (r[x / 8] >> (7 - x % 8)) & 1;
                if (c.bits == 4) index = (r[x / 2] >> (x % 2 ? 0 : 4)) & 15;
                if (c.bits == 8) index = r[static_cast<size_t>(x)];
                const uint32_t want = c.bits == 24 ? uint32_t{r[3 * x + 2]} << 16 | uint32_t{r[3 * x + 1]} << 8 | r[3 * x]
                                      : c.bits == 1 ? (index ? 0xFFFFFFu : 0u)
                                                    : palette[static_cast<size_t>(index)];
                EXPECT_EQ(d.rgb(x, y), want) << x << "," << y;
            }
        }
    }
}

}  // namespace
