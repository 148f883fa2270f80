// The WPG codec: the record walk with its length forms, colour maps, row packing with row
// repeats and runs cut at the row end, 2-bit pictures, refusals and what the writer makes.
#include <gtest/gtest.h>

#include "../pixmill_fixture.h"
#include "file_codec_test_support.h"
#include "formats/wpg_codec.h"

namespace {

using namespace file_codec_test;
using bmp_test::get16;
using bmp_test::put16;

const Codec kWpg{pixmill::wpgInfo, pixmill::wpgLoad, pixmill::wpgSave};

Bytes header() { return {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 0x16, 1, 0, 0, 0, 0, 0}; }

// A record with the length form that fits (or the long form when asked).
Bytes record(uint8_t type, const Bytes& data, bool longForm = false) {
    Bytes r{type};
    if (longForm || data.size() >= 0x8000) {
        r.push_back(0xFF);
        put16(r, static_cast<uint32_t>(data.size() >> 16) | 0x8000);
        put16(r, static_cast<uint32_t>(data.size() & 0xFFFF));
    } else if (data.size() >= 255) {
        r.push_back(0xFF);
        put16(r, static_cast<uint32_t>(data.size()));
    } else {
        r.push_back(static_cast<uint8_t>(data.size()));
    }
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

Bytes bitmap(int width, int height, int bits, const Bytes& rows, bool longForm = false) {
    Bytes d;
    put16(d, static_cast<uint32_t>(width));
    put16(d, static_cast<uint32_t>(height));
    put16(d, static_cast<uint32_t>(bits));
    put16(d, 75);
    put16(d, 75);
    d.insert(d.end(), rows.begin(), rows.end());
    return record(0x0B, d, longForm);
}

Bytes colourMap(int first, const std::vector<uint32_t>& entries) {
    Bytes d;
    put16(d, static_cast<uint32_t>(first));
    put16(d, static_cast<uint32_t>(entries.size()));
    for (uint32_t c : entries) d.insert(d.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    return record(0x0E, d);
}

Bytes file(std::initializer_list<Bytes> records) {
    Bytes f = header();
    for (const Bytes& r : records) f.insert(f.end(), r.begin(), r.end());
    return f;
}

const Bytes kEnd = {0x10, 0x00};

Bytes rowBytes(const Decoded& d, int y, size_t count) {
    const Bytes& r = d.sink->rows()[static_cast<size_t>(y)];
    return Bytes(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(count));
}

TEST(WpgCodec, RowControlsUnpack) {
    // 8-bit, 4 wide, 6 rows.
    const Bytes rows = {
        0x03, 1, 2, 3, 0x81, 4,  // literal of three, run of one
        0x84, 9,                 // run of four
        0x00, 0x03,              // three copies of the previous row (rows 2, 3, 4)
        0x80, 0x04,              // four bytes 0xFF
    };
    const Decoded d = decodeWith(kWpg, file({record(0x0F, {1, 0, 4, 0, 6, 0}), bitmap(4, 6, 8, rows), kEnd}));
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(rowBytes(d, 0, 4), (Bytes{1, 2, 3, 4}));
    for (int y = 1; y <= 4; ++y) EXPECT_EQ(rowBytes(d, y, 4), Bytes(4, 9)) << y;
    EXPECT_EQ(rowBytes(d, 5, 4), Bytes(4, 0xFF));
    EXPECT_STREQ(d.info.detailText, "RLE compression");
}

TEST(WpgCodec, RunsAndLiteralsAreCutAtTheRowEnd) {
    const Bytes rows = {
        0x86, 7,           // a run of six into a row of four: the rest is dropped
        0x06, 1, 2, 3, 4, 5, 6,  // a literal of six: its last two bytes are dropped
        0x80, 0x09,        // nine 0xFF bytes into four
    };
    const Decoded d = decodeWith(kWpg, file({bitmap(4, 3, 8, rows), kEnd}));
    ASSERT_TRUE(d.ok()) << d.loadResult;
    EXPECT_EQ(rowBytes(d, 0, 4), Bytes(4, 7));
    EXPECT_EQ(rowBytes(d, 1, 4), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(rowBytes(d, 2, 4), Bytes(4, 0xFF));
}

TEST(WpgCodec, LengthFormsAndColourMapsAreWalked) {
    // An unknown record in the long form (65538 bytes), a colour map from index 254 with entries
    // past 256, then the bitmap in the long form.
    Bytes big{0x22, 0xFF, 0x01, 0x80, 0x02, 0x00};
    big.insert(big.end(), 65538, 0xAB);
    const Decoded d = decodeWith(kWpg, file({big, colourMap(254, {0x112233, 0x445566, 0x778899}),
                                             colourMap(3, {0xABCDEF}), bitmap(2, 1, 8, {0x02, 3, 254}, true), kEnd}));
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(d.rgb(0, 0), 0xABCDEFu);
    EXPECT_EQ(d.rgb(1, 0), 0x112233u);
    EXPECT_EQ(d.info.palette[3 * 255], 0x44);
}

TEST(WpgCodec, TwoBitPicturesArriveAsFourBits) {
    // 5 pixels 0 1 2 3 2: two bytes of 2-bit pixels.
    const Decoded d = decodeWith(kWpg, file({bitmap(5, 1, 2, {0x02, 0x1B, 0x80}), kEnd}));
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(d.info.bitsPerPixel, 2);
    EXPECT_EQ(d.depth(), 4);
    EXPECT_EQ(rowBytes(d, 0, 3), (Bytes{0x01, 0x23, 0x20}));
}

TEST(WpgCodec, FilesWithoutABitmapOrAnEndAreRefused) {
    const Bytes rows = {0x82, 1};
    struct Case {
        const char* name;
        Bytes file;
    };
    Bytes badMagic = file({bitmap(2, 1, 8, rows), kEnd});
    badMagic[1] = 'X';
    const Case cases[] = {
        {"no end record", file({bitmap(2, 1, 8, rows)})},
        {"no bitmap", file({colourMap(0, {1}), kEnd})},
        {"only the second bitmap form", file({record(0x14, Bytes(40, 0)), kEnd})},
        {"bad magic", badMagic},
        {"24 bits", file({bitmap(2, 1, 24, rows), kEnd})},
        {"no width", file({bitmap(0, 1, 8, rows), kEnd})},
        {"bitmap record shorter than its fields", file({record(0x0B, {2, 0, 1, 0}), kEnd})},
        {"record longer than the file", file({bitmap(2, 1, 8, rows), Bytes{0x0E, 0xFF, 0xFF, 0x7F}, kEnd})},
        {"first record past the end", [] {
             Bytes f = file({kEnd});
             f[4] = 0xF0;
             return f;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeWith(kWpg, c.file).infoResult, pixmill::kCodecBadFormat);
    }
    EXPECT_EQ(decodeWith(kWpg, file({bitmap(4, 2, 8, {0x84, 1}), kEnd})).loadResult, pixmill::kCodecReadError);
}

TEST(WpgCodec, WrittenFilesHoldTheRecordsAndReadBack) {
    struct Case {
        int bits;
        size_t mapRecord;  // bytes of the colour-map record
        size_t rowBytes;
    };
    const int width = 203, height = 4;
    const Case cases[] = {{1, 2 + 52, 26}, {4, 2 + 52, 102}, {8, 4 + 772, 203}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        std::vector<uint32_t> palette;
        for (int i = 0; i < (1 << c.bits); ++i) palette.push_back(static_cast<uint32_t>(i * 0x010305) & 0xFFFFFF);
        std::vector<Bytes> rows;
        for (int y = 0; y < height; ++y) {
            Bytes row(bmp_test::rowBytes(width, c.bits), 0);
            for (size_t i = 0; i < c.rowBytes; ++i) row[i] = static_cast<uint8_t>(i < 150 ? y * 3 : i * 7);
            rows.push_back(row);
        }
        const Written w = encodeWith(kWpg, recordFor(width, height, c.bits, palette), rows);
        ASSERT_EQ(w.result, 0);
        const Bytes& b = w.bytes;
        EXPECT_EQ(Bytes(b.begin(), b.begin() + 16), header());
        EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 20), (Bytes{0x0F, 6, 1, 0}));
        EXPECT_EQ(get16(b, 20), static_cast<uint32_t>(width));
        const size_t map = 24;
        EXPECT_EQ(b[map], 0x0E);
        const size_t bitmapAt = map + c.mapRecord;
        ASSERT_GT(b.size(), bitmapAt + 16);
        EXPECT_EQ(b[bitmapAt], 0x0B);
        EXPECT_EQ(b[bitmapAt + 1], 0xFF);
        const uint32_t length = (get16(b, bitmapAt + 2) & 0x7FFF) << 16 | get16(b, bitmapAt + 4);
        EXPECT_EQ(bitmapAt + 6 + length + 2, b.size());
        EXPECT_EQ(Bytes(b.end() - 2, b.end()), kEnd);
        EXPECT_EQ(get16(b, bitmapAt + 10), static_cast<uint32_t>(c.bits));
        const Decoded d = decodeWith(kWpg, b);
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        for (int y = 0; y < height; ++y) EXPECT_EQ(rowBytes(d, y, c.rowBytes), Bytes(rows[static_cast<size_t>(y)].begin(), rows[static_cast<size_t>(y)].begin() + static_cast<std::ptrdiff_t>(c.rowBytes))) << y;
        if (c.bits > 1) {
            for (int i = 0; i < (1 << c.bits); ++i) EXPECT_EQ(d.info.palette[3 * i + 2], palette[static_cast<size_t>(i)] & 0xFF);
        }
    }
}

class WpgSave : public PixmillTest {};

TEST_F(WpgSave, TrueColourImagesAreWrittenAsEightBits) {
    TempFolder folder;
    const std::string path = windowsPath(folder.file("colour.wpg"));
    std::vector<Rgb> pixels;
    const Rgb colours[] = {{255, 0, 0}, {0, 128, 255}, {20, 200, 20}, {255, 255, 255}};
    for (int i = 0; i < 6 * 4; ++i) pixels.push_back(colours[(i / 3) % 4]);
    const PxlImageId id = make24(6, 4, pixels);
    ASSERT_EQ(PXLSaveImage(id, path.c_str(), PXL_FORMAT_WPG, 0, 0, nullptr), 1);
    const Bytes b = readFile(folder.file("colour.wpg"));
    ASSERT_GT(b.size(), 24u + 776u + 16u);
    EXPECT_EQ(get16(b, 24u + 776u + 10u), 8u);
    const PxlImageId back = PXLLoadImage(0, path.c_str(), nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLbpp(back), 8);
    pixmill::ImageLock image = pixmill::lockImage(back, pixmill::Access::Read);
    ASSERT_TRUE(image);
    std::vector<uint8_t> row(18);
    for (int y = 0; y < 4; ++y) {
        pixmill::readRowRgb(*image, y, row.data());
        for (int x = 0; x < 6; ++x) {
            const Rgb& want = pixels[static_cast<size_t>(y * 6 + x)];
            // The popularity palette keeps each colour to within its low bits.
            EXPECT_NEAR(row[3 * static_cast<size_t>(x)], want.r, 8) << x << "," << y;
            EXPECT_NEAR(row[3 * static_cast<size_t>(x) + 1], want.g, 8) << x << "," << y;
            EXPECT_NEAR(row[3 * static_cast<size_t>(x) + 2], want.b, 8) << x << "," << y;
        }
    }
    image.release();
    PXLDeleteImage(id);
    PXLDeleteImage(back);
}

}  // namespace
