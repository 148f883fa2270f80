// The bitmap codec read and written through every kind of stream: header variants, depths, row
// orders, bit fields, palettes, the record it fills, stopping, and the files it writes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "bmp_test_support.h"

namespace {

using namespace bmp_test;
using pixmill::kCodecBadFormat;
using pixmill::kCodecOk;
using pixmill::kCodecReadError;
using pixmill::kCodecStopped;
using pixmill::kCodecWriteError;

constexpr Form kForms[] = {Form::File, Form::Ole, Form::Callbacks};

// A palette whose entries all differ in every channel that matters: entry i is
// red (i * 17) & 255, green 255 - i, blue (i * 5) & 255.
uint32_t paletteColour(int i) {
    return static_cast<uint32_t>((i * 17) & 255) << 16 | static_cast<uint32_t>(255 - i) << 8 |
           static_cast<uint32_t>((i * 5) & 255);
}

std::vector<uint32_t> distinctPalette(int entries) {
    std::vector<uint32_t> p;
    for (int i = 0; i < entries; ++i) p.push_back(paletteColour(i));
    return p;
}

// Packs pixel values (indexes, or 0x00RRGGBB for 24 and 32 bits) into an unpadded file row.
Bytes packRow(const std::vector<uint32_t>& values, int bits) {
    Bytes row((values.size() * static_cast<size_t>(bits) + 7) / 8, 0);
    for (size_t x = 0; x < values.size(); ++x) {
        const uint32_t v = values[x];
        if (bits < 8) {
            const size_t bit = x * static_cast<size_t>(bits);
            row[bit / 8] |= static_cast<uint8_t>(v << (8 - bits - bit % 8));
        } else if (bits == 8) {
            row[x] = static_cast<uint8_t>(v);
        } else {
            const size_t at = x * static_cast<size_t>(bits / 8);
            row[at] = static_cast<uint8_t>(v);
            row[at + 1] = static_cast<uint8_t>(v >> 8);
            row[at + 2] = static_cast<uint8_t>(v >> 16);
            if (bits == 32) row[at + 3] = 0x5A;  // the fourth byte travels unused
        }
    }
    return row;
}

// The value of pixel (x, y) in the pictures of the depth and width tables.
uint32_t patternValue(int x, int y, int bits) {
    if (bits <= 8) return static_cast<uint32_t>(x * 3 + y * 5 + 1) % (1u << bits);
    return static_cast<uint32_t>((x * 29) & 255) << 16 | static_cast<uint32_t>((y * 71) & 255) << 8 |
           static_cast<uint32_t>((x + y * 13) & 255);
}

InfoBitmap patternBitmap(int width, int height, int bits) {
    InfoBitmap b;
    b.width = width;
    b.height = height;
    b.bits = bits;
    if (bits <= 8) b.palette = distinctPalette(1 << bits);
    for (int y = 0; y < std::abs(height); ++y) {
        std::vector<uint32_t> values;
        for (int x = 0; x < width; ++x) values.push_back(patternValue(x, y, bits));
        b.rows.push_back(packRow(values, bits));
    }
    return b;
}

void expectPattern(const Decoded& d, int width, int height, int bits) {
    ASSERT_TRUE(d.ok()) << "info " << d.infoResult << " load " << d.loadResult;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t v = patternValue(x, y, bits);
            const uint32_t want = bits <= 8 ? paletteColour(static_cast<int>(v)) : v;
            ASSERT_EQ(d.rgb(x, y), want) << "pixel " << x << "," << y;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Depths, widths and row orders.

TEST(BmpLoad, EveryDepthAtWidthsOneToNineInEveryForm) {
    for (Form form : kForms) {
        for (int bits : {1, 2, 4, 8, 24, 32}) {
            for (int width = 1; width <= 9; ++width) {
                SCOPED_TRACE(std::string(formName(form)) + " bits " + std::to_string(bits) + " width " +
                             std::to_string(width));
                const Decoded d = decode(patternBitmap(width, 3, bits).build(), form);
                expectPattern(d, width, 3, bits);
                // 2-bit pixels travel as 4-bit ones; everything else at the file's depth.
                EXPECT_EQ(d.depth(), bits == 2 ? 4 : bits);
                EXPECT_EQ(d.info.bitsPerPixel, bits);
                // Bottom-up file: the bottom row arrives first.
                EXPECT_EQ(d.sink->order, (std::vector<int>{2, 1, 0}));
                EXPECT_EQ(d.ticks, 3);
            }
        }
    }
}

TEST(BmpLoad, TopDownRowsArriveTopFirstWithTheirOwnIndexes) {
    for (Form form : kForms) {
        for (int bits : {1, 8, 24}) {
            SCOPED_TRACE(std::string(formName(form)) + " bits " + std::to_string(bits));
            const Decoded d = decode(patternBitmap(5, -4, bits).build(), form);
            EXPECT_EQ(d.info.height, 4);
            expectPattern(d, 5, 4, bits);
            EXPECT_EQ(d.sink->order, (std::vector<int>{0, 1, 2, 3}));
        }
    }
}

TEST(BmpLoad, ThirteenPixelEightBitRowsAreSixteenBytesLong) {
    // The last pixel of each row differs; with 13-byte rows the second row would start three
    // bytes early and come out shifted.
    InfoBitmap b;
    b.width = 13;
    b.height = 2;
    b.bits = 8;
    b.palette = distinctPalette(256);
    b.rows = {Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 200}, Bytes{21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 201}};
    const Bytes file = b.build();
    ASSERT_EQ(file.size(), 54u + 1024 + 2 * 16);
    const Decoded d = decode(file, Form::File);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.sink->layout().stride, 16u);
    EXPECT_EQ(d.rgb(0, 0), paletteColour(1));
    EXPECT_EQ(d.rgb(12, 0), paletteColour(200));
    EXPECT_EQ(d.rgb(0, 1), paletteColour(21));
    EXPECT_EQ(d.rgb(12, 1), paletteColour(201));
}

// ---------------------------------------------------------------------------------------------
// Header variants.

// An OS/2 core-header 8-bit bitmap, 2 x 2: its palette has 256 entries of three bytes.
Bytes coreEightBit() {
    Bytes b = {
        'B', 'M',                // signature
        0x22, 0x03, 0, 0,        // file size 802 = 14 + 12 + 768 + 8
        0, 0, 0, 0,              // reserved
        0x1A, 0x03, 0, 0,        // pixels at 794 = 14 + 12 + 768
        12, 0, 0, 0,             // core header size
        2, 0,                    // width (16-bit)
        2, 0,                    // height (16-bit)
        1, 0,                    // planes
        8, 0,                    // bits per pixel
    };
    // 256 entries blue, green, red with no fourth byte: entry i = paletteColour(i).
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = paletteColour(i);
        b.push_back(static_cast<uint8_t>(c));
        b.push_back(static_cast<uint8_t>(c >> 8));
        b.push_back(static_cast<uint8_t>(c >> 16));
    }
    const Bytes pixels = {
        0, 255, 0, 0,  // bottom row: indexes 0 and 255, two padding bytes
        1, 254, 0, 0,  // top row: indexes 1 and 254
    };
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

TEST(BmpLoad, CoreHeaderPaletteHasThreeByteEntries) {
    for (Form form : kForms) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(coreEightBit(), form);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.info.width, 2);
        EXPECT_EQ(d.info.height, 2);
        EXPECT_EQ(d.info.bitsPerPixel, 8);
        // Entry 255 is the last of the 768 palette bytes: read as 4-byte entries it would not be.
        EXPECT_EQ(d.rgb(0, 0), paletteColour(1));
        EXPECT_EQ(d.rgb(1, 0), paletteColour(254));
        EXPECT_EQ(d.rgb(0, 1), paletteColour(0));
        EXPECT_EQ(d.rgb(1, 1), paletteColour(255));
    }
}

TEST(BmpLoad, CoreHeaderFileShorterThanFiftyFourBytesLoads) {
    // 1 x 1, 1 bit: 14 + 12 + 6 + 4 = 36 bytes in all.
    const Bytes b = {
        'B', 'M', 36, 0, 0, 0, 0, 0, 0, 0,
        32, 0, 0, 0,           // pixels at 32
        12, 0, 0, 0,           // core header
        1, 0, 1, 0, 1, 0, 1, 0,  // width 1, height 1, planes 1, 1 bit
        0x00, 0x00, 0xFF,      // entry 0: red
        0xFF, 0x00, 0x00,      // entry 1: blue
        0x80, 0, 0, 0,         // the pixel: index 1
    };
    const Decoded d = decode(b, Form::File);
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(d.rgb(0, 0), 0x0000FFu);
}

TEST(BmpLoad, LongHeaderPaletteStandsAfterTheWholeHeader) {
    // V4 (108) and V5 (124) headers: the palette starts at 14 + header size. Read right after
    // the first 54 bytes it would be the header's own zeros.
    for (uint32_t headerSize : {108u, 124u}) {
        for (Form form : kForms) {
            SCOPED_TRACE(std::string(formName(form)) + " header " + std::to_string(headerSize));
            InfoBitmap b = patternBitmap(7, 3, 4);
            b.headerSize = headerSize;
            const Decoded d = decode(b.build(), form);
            expectPattern(d, 7, 3, 4);
        }
    }
}

// A V4 header, 32-bit bit fields, 2 x 1, whose masks say red is the low byte: the pixels are
// red, green, blue, alpha in that order, so a loader ignoring the masks swaps red and blue, and
// one that skips 12 bytes at the pixels runs out of data.
Bytes v4RgbaBitFields() {
    Bytes b = {
        'B', 'M',
        130, 0, 0, 0,            // file size 122 + 8
        0, 0, 0, 0,
        122, 0, 0, 0,            // pixels at 14 + 108
        108, 0, 0, 0,            // V4 header
        2, 0, 0, 0,              // width
        1, 0, 0, 0,              // height
        1, 0,                    // planes
        32, 0,                   // bits
        3, 0, 0, 0,              // bit fields
        8, 0, 0, 0,              // image size
        0, 0, 0, 0, 0, 0, 0, 0,  // resolution
        0, 0, 0, 0,              // colours used
        0, 0, 0, 0,              // colours important
        0xFF, 0, 0, 0,           // red mask   0x000000FF
        0, 0xFF, 0, 0,           // green mask 0x0000FF00
        0, 0, 0xFF, 0,           // blue mask  0x00FF0000
        0, 0, 0, 0xFF,           // alpha mask 0xFF000000
        0x20, 0x6E, 0x69, 0x57,  // colour space "Win "
    };
    b.resize(14 + 108, 0);  // end points and gamma
    const Bytes pixels = {
        0x10, 0x20, 0x30, 0xFF,  // red 0x10, green 0x20, blue 0x30, opaque
        0xAA, 0xBB, 0xCC, 0x00,  // red 0xAA, green 0xBB, blue 0xCC, transparent
    };
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

TEST(BmpLoad, ThirtyTwoBitFieldsFollowTheMasksInsideTheHeader) {
    const Decoded d = decode(v4RgbaBitFields(), Form::File);
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(d.depth(), 32);
    EXPECT_EQ(d.rgb(0, 0), 0x102030u);
    EXPECT_EQ(d.rgb(1, 0), 0xAABBCCu);
    // The fourth byte is the alpha channel the mask names.
    EXPECT_EQ(d.sink->rows()[0][3], 0xFF);
    EXPECT_EQ(d.sink->rows()[0][7], 0x00);
}

TEST(BmpLoad, ThirtyTwoBitFieldsWithTheUsualMasksAfterAFortyByteHeader) {
    InfoBitmap b = patternBitmap(5, 2, 32);
    b.compression = 3;
    b.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    const Decoded d = decode(b.build(), Form::File);
    expectPattern(d, 5, 2, 32);
}

// 16-bit bit fields after a 40-byte header: three pixels, one row.
Bytes sixteenBitFields(uint32_t red, uint32_t green, uint32_t blue, std::initializer_list<uint16_t> pixels) {
    Bytes b = {
        'B', 'M', 0, 0, 0, 0,    // file size, set below
        0, 0, 0, 0,
        66, 0, 0, 0,             // pixels at 14 + 40 + 12
        40, 0, 0, 0,             // info header
        3, 0, 0, 0,              // width
        1, 0, 0, 0,              // height
        1, 0, 16, 0,             // planes, bits
        3, 0, 0, 0,              // bit fields
        8, 0, 0, 0,              // image size: one 8-byte row
        0, 0, 0, 0, 0, 0, 0, 0,  // resolution
        0, 0, 0, 0, 0, 0, 0, 0,  // colours used and important
    };
    put32(b, red);
    put32(b, green);
    put32(b, blue);
    for (uint16_t p : pixels) put16(b, p);
    put16(b, 0);  // padding to 8 bytes
    set32(b, 2, static_cast<uint32_t>(b.size()));
    return b;
}

TEST(BmpLoad, SixteenBitFieldsAreWidenedByShiftingUp) {
    struct Case {
        const char* name;
        uint32_t masks[3];
        uint16_t pixels[3];
        uint32_t want[3];
    };
    const Case cases[] = {
        // 5-6-5: red = (p >> 11) << 3, green = ((p >> 5) & 63) << 2, blue = (p & 31) << 3.
        {"565", {0xF800, 0x07E0, 0x001F}, {0xFFFF, 0x8410, 0xF800}, {0xF8FCF8, 0x808080, 0xF80000}},
        // 5-5-5 in bit fields: the same shifting, five bits each.
        {"555", {0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0x0421, 0x001F}, {0xF8F8F8, 0x080808, 0x0000F8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decode(sixteenBitFields(c.masks[0], c.masks[1], c.masks[2], {c.pixels[0], c.pixels[1], c.pixels[2]}),
                                 Form::File);
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_EQ(d.info.bitsPerPixel, 16);
        EXPECT_EQ(d.depth(), 24);
        for (int x = 0; x < 3; ++x) EXPECT_EQ(d.rgb(x, 0), c.want[x]) << x;
    }
}

TEST(BmpLoad, PlainSixteenBitPixelsAreFiveFiveFiveWithLowBitsFilled) {
    // No bit fields: 5-5-5 with the top bit unused, each channel c becoming (c << 3) | 7.
    InfoBitmap b;
    b.width = 4;
    b.height = 1;
    b.bits = 16;
    b.rows = {Bytes{
        0xFF, 0x7F,  // 0x7FFF: all channels 31 -> 255
        0x00, 0x00,  // 0x0000: all channels 0 -> 7
        0x00, 0x7C,  // 0x7C00: red 31 only
        0x00, 0x80,  // 0x8000: only the unused bit
    }};
    for (Form form : kForms) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(b.build(), form);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.depth(), 24);
        EXPECT_EQ(d.rgb(0, 0), 0xFFFFFFu);
        EXPECT_EQ(d.rgb(1, 0), 0x070707u);
        EXPECT_EQ(d.rgb(2, 0), 0xFF0707u);
        EXPECT_EQ(d.rgb(3, 0), 0x070707u);
    }
}

TEST(BmpLoad, BitFieldsAreForFilesOnly) {
    const Bytes b = sixteenBitFields(0xF800, 0x07E0, 0x001F, {1, 2, 3});
    for (Form form : {Form::Ole, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(b, form);
        EXPECT_EQ(d.infoResult, kCodecOk);
        EXPECT_STREQ(d.info.detailText, "unknown compression");
        EXPECT_EQ(d.loadResult, kCodecBadFormat);
    }
}

// ---------------------------------------------------------------------------------------------
// Palettes.

TEST(BmpLoad, PaletteEntriesAreLimitedByColoursUsedAndByTheRoomBeforeThePixels) {
    struct Case {
        const char* name;
        int bits;
        uint32_t colorsUsed;
        int written;        // entries actually in the file
        int expectRead;
    };
    const Case cases[] = {
        {"colours used 3 with room for 5", 8, 3, 5, 3},
        {"colours used above 2^bits", 4, 300, 16, 16},
        {"colours used 0 means all", 4, 0, 16, 16},
        {"fewer entries than the depth before the pixels", 8, 0, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InfoBitmap b;
        b.width = 2;
        b.height = 1;
        b.bits = c.bits;
        b.colorsUsed = c.colorsUsed;
        b.palette = distinctPalette(c.written);
        b.rows = {packRow({1, 2}, c.bits)};
        const Decoded d = decode(b.build(), Form::File);
        ASSERT_TRUE(d.ok());
        for (int i = 0; i < 256; ++i) {
            const uint32_t got = uint32_t{d.info.palette[3 * i]} << 16 | uint32_t{d.info.palette[3 * i + 1]} << 8 |
                                 d.info.palette[3 * i + 2];
            // Entries not read keep what the record had: black and white at 0 and 1, zeros after.
            const uint32_t untouched = i == 1 ? 0xFFFFFFu : 0u;
            EXPECT_EQ(got, i < c.expectRead ? paletteColour(i) : untouched) << "entry " << i;
        }
        EXPECT_EQ(d.rgb(1, 0), paletteColour(2));
    }
}

TEST(BmpLoad, OneBitPaletteIsReadInEveryForm) {
    // A two-colour picture that is not black and white keeps its colours, from streams too.
    InfoBitmap b;
    b.width = 2;
    b.height = 1;
    b.bits = 1;
    b.palette = {0xFF0000, 0x0000FF};
    b.rows = {Bytes{0x40}};
    for (Form form : kForms) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(b.build(), form);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.rgb(0, 0), 0xFF0000u);
        EXPECT_EQ(d.rgb(1, 0), 0x0000FFu);
    }
}

// ---------------------------------------------------------------------------------------------
// The record the info reader fills.

TEST(BmpInfo, FillsTheRecordForEachForm) {
    InfoBitmap b = patternBitmap(9, 5, 24);
    const Bytes file = b.build();
    for (Form form : kForms) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(file, form);
        ASSERT_EQ(d.infoResult, kCodecOk);
        EXPECT_EQ(d.info.width, 9);
        EXPECT_EQ(d.info.height, 5);
        EXPECT_EQ(d.info.bitsPerPixel, 24);
        EXPECT_EQ(d.info.flags, 0);
        EXPECT_EQ(d.info.frameCount, 1);
        EXPECT_EQ(d.info.whiteIndex, 0);
        EXPECT_STREQ(d.info.detailText, "no compression");
        EXPECT_EQ(d.info.imageBytes, (9 + 7) / 8 * 24 * 5);
        if (form == Form::File) {
            EXPECT_EQ(d.info.fileSize, static_cast<int32_t>(file.size()));
            EXPECT_EQ(d.info.palette[3 * 100], 0);  // a 24-bit file leaves the palette alone
        } else {
            EXPECT_EQ(d.info.fileSize, 0);
            // Streams describe a 24-bit picture with a grey ramp.
            for (int i : {0, 100, 255}) {
                EXPECT_EQ(d.info.palette[3 * i], i);
                EXPECT_EQ(d.info.palette[3 * i + 2], i);
            }
        }
    }
}

TEST(BmpInfo, FileSizeIsTheWholeFileAndAnOffsetPictureLoadsLikeThePlainOne) {
    const Bytes picture = patternBitmap(6, 4, 8).build();
    const Bytes before(100, 0xEE);
    const Decoded d = decode(picture, Form::File, -1, before);
    EXPECT_EQ(d.info.fileSize, static_cast<int32_t>(before.size() + picture.size()));
    expectPattern(d, 6, 4, 8);
}

TEST(BmpInfo, AStreamIsLeftWhereItWas) {
    const Bytes picture = patternBitmap(3, 2, 8).build();
    Bytes stream(40, 0);  // the picture stands 40 bytes into the stream
    stream.insert(stream.end(), picture.begin(), picture.end());
    {
        MemoryCallbacks m;
        m.data = stream;
        m.position = 40;
        pixmill::ByteStream s(&m.callbacks);
        pixmill::PxlCodecInfo info;
        pixmill::CodecCall call{info, s};
        ASSERT_EQ(pixmill::bmpInfo(call), kCodecOk);
        EXPECT_EQ(m.position, 40);
        EXPECT_EQ(info.width, 3);
    }
    {
        OleMemory m(stream);
        m.seekTo(40);
        pixmill::ByteStream s(m.stream);
        pixmill::PxlCodecInfo info;
        pixmill::CodecCall call{info, s};
        ASSERT_EQ(pixmill::bmpInfo(call), kCodecOk);
        EXPECT_EQ(m.position(), 40);
        // And the load from there reads the picture, not the bytes before it.
        CollectingSink sink(pixmill::prepareRowTransfer(info));
        call.sink = &sink;
        ASSERT_EQ(pixmill::bmpLoad(call), kCodecOk);
        EXPECT_TRUE(sink.complete());
        EXPECT_EQ(sink.rows()[0][0], patternValue(0, 0, 8));
    }
}

TEST(BmpInfo, RefusesHeadersItCannotTrust) {
    struct Case {
        const char* name;
        void (*mutate)(Bytes&);
        int16_t fileCode;
        int16_t streamCode;
    };
    // Offsets into a 40-byte-header file: width 18, height 22, bits 28, compression 30.
    const Case cases[] = {
        {"not BM", [](Bytes& b) { b[1] = 'A'; }, kCodecBadFormat, kCodecBadFormat},
        {"width 0", [](Bytes& b) { set32(b, 18, 0); }, kCodecBadFormat, kCodecBadFormat},
        {"width 32768", [](Bytes& b) { set32(b, 18, 32768); }, kCodecBadFormat, kCodecBadFormat},
        {"negative width", [](Bytes& b) { set32(b, 18, 0xFFFFFFFE); }, kCodecBadFormat, kCodecBadFormat},
        {"height 0", [](Bytes& b) { set32(b, 22, 0); }, kCodecBadFormat, kCodecBadFormat},
        {"height 32768", [](Bytes& b) { set32(b, 22, 32768); }, kCodecBadFormat, kCodecBadFormat},
        {"height -32768", [](Bytes& b) { set32(b, 22, static_cast<uint32_t>(-32768)); }, kCodecBadFormat,
         kCodecBadFormat},
        {"height INT32_MIN", [](Bytes& b) { set32(b, 22, 0x80000000u); }, kCodecBadFormat, kCodecBadFormat},
        {"3 bits", [](Bytes& b) { set16(b, 28, 3); }, kCodecBadFormat, kCodecBadFormat},
        {"0 bits (JPEG inside)", [](Bytes& b) { set16(b, 28, 0); }, kCodecBadFormat, kCodecBadFormat},
        {"header size 20", [](Bytes& b) { set32(b, 14, 20); }, kCodecBadFormat, kCodecBadFormat},
        {"pixels inside the header", [](Bytes& b) { set32(b, 10, 40); }, kCodecBadFormat, kCodecBadFormat},
        {"header size past the pixels", [](Bytes& b) { set32(b, 14, 0xFFFFFFF0u); }, kCodecBadFormat,
         kCodecBadFormat},
        {"cut inside the header", [](Bytes& b) { b.resize(40); }, kCodecBadFormat, kCodecReadError},
        {"cut inside the palette", [](Bytes& b) { b.resize(60); }, kCodecReadError, kCodecReadError},
    };
    const Bytes good = patternBitmap(4, 2, 8).build();
    for (const Case& c : cases) {
        for (Form form : kForms) {
            SCOPED_TRACE(std::string(c.name) + " " + formName(form));
            Bytes b = good;
            c.mutate(b);
            const Decoded d = decode(b, form);
            EXPECT_EQ(d.infoResult, form == Form::File ? c.fileCode : c.streamCode);
        }
    }
}

TEST(BmpLoad, RefusesCompressionsAndDepthsItDoesNotDecode) {
    struct Case {
        const char* name;
        int bits;
        uint32_t compression;
        int height;
    };
    const Case cases[] = {
        {"JPEG", 24, 4, 2}, {"PNG", 24, 5, 2}, {"alpha bit fields", 32, 6, 2}, {"bit fields at 24 bits", 24, 3, 2},
        {"RLE8 at 4 bits", 4, 1, 2}, {"RLE4 at 8 bits", 8, 2, 2}, {"top-down RLE8", 8, 1, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InfoBitmap b = patternBitmap(4, c.height, c.bits);
        b.compression = c.compression;
        if (c.compression == 3) b.masks = {0xFF0000, 0xFF00, 0xFF};
        const Decoded d = decode(b.build(), Form::File);
        EXPECT_EQ(d.infoResult, kCodecOk);
        EXPECT_STREQ(d.info.detailText, "unknown compression");
        EXPECT_EQ(d.loadResult, kCodecBadFormat);
        EXPECT_TRUE(d.sink->order.empty());
    }
}

TEST(BmpLoad, MissingPixelsAreAReadError) {
    Bytes b = patternBitmap(5, 4, 24).build();
    b.resize(b.size() - 1);
    for (Form form : kForms) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(b, form);
        if (form == Form::File) {
            // A file's length is known: rows it cannot hold are refused before any is read.
            EXPECT_EQ(d.infoResult, kCodecReadError);
            continue;
        }
        EXPECT_EQ(d.infoResult, kCodecOk);
        EXPECT_EQ(d.loadResult, kCodecReadError);
        EXPECT_EQ(d.sink->order.size(), 3u);  // the rows before the cut were delivered
    }
}

TEST(BmpLoad, RefusesAPictureThatNoLongerMatchesTheRecord) {
    // The front end shapes its rows after the info call; a file that changed since must not
    // hand over rows of another size.
    const Bytes small = patternBitmap(3, 2, 8).build();
    const Bytes wide = patternBitmap(300, 2, 8).build();
    MemoryCallbacks m;
    m.data = small;
    pixmill::ByteStream s(&m.callbacks);
    pixmill::PxlCodecInfo info;
    pixmill::CodecCall call{info, s};
    ASSERT_EQ(pixmill::bmpInfo(call), kCodecOk);
    CollectingSink sink(pixmill::prepareRowTransfer(info));
    call.sink = &sink;
    m.data = wide;
    EXPECT_EQ(pixmill::bmpLoad(call), kCodecBadFormat);
    EXPECT_TRUE(sink.order.empty());
}

TEST(BmpLoad, StopsAsSoonAsTheSinkSaysSo) {
    for (Form form : kForms) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(patternBitmap(4, 6, 24).build(), form, 2);
        EXPECT_EQ(d.loadResult, kCodecStopped);
        EXPECT_EQ(d.sink->order, (std::vector<int>{5, 4}));
    }
}

TEST(BmpLoad, NoStreamOrNoSinkIsRefused) {
    pixmill::PxlCodecInfo info;
    pixmill::ByteStream none;
    pixmill::CodecCall call{info, none};
    EXPECT_EQ(pixmill::bmpInfo(call), kCodecBadFormat);
    EXPECT_EQ(pixmill::bmpLoad(call), kCodecBadFormat);
    MemoryCallbacks m;
    m.data = patternBitmap(2, 2, 8).build();
    pixmill::ByteStream s(&m.callbacks);
    pixmill::CodecCall noSink{info, s};
    EXPECT_EQ(pixmill::bmpLoad(noSink), kCodecBadFormat);
}

// ---------------------------------------------------------------------------------------------
// Writing.

struct Written {
    int16_t result = -1;
    Bytes bytes;
    std::vector<int> requested;
    int ticks = 0;
};

// Saves rows (top row first, each at the image's own stride) with a record of the given depth
// and palette, through a callback stream (limit: bytes the stream takes before failing).
Written save(int width, int height, int bits, const std::vector<Bytes>& rows, const std::vector<uint32_t>& palette = {},
             size_t limit = SIZE_MAX) {
    Written w;
    pixmill::PxlCodecInfo info;
    info.width = static_cast<int16_t>(width);
    info.height = static_cast<int16_t>(height);
    info.bitsPerPixel = static_cast<int16_t>(bits);
    for (size_t i = 0; i < palette.size(); ++i) {
        info.setPaletteEntry(static_cast<int>(i), static_cast<uint8_t>(palette[i] >> 16),
                             static_cast<uint8_t>(palette[i] >> 8), static_cast<uint8_t>(palette[i]));
    }
    MemoryCallbacks m;
    m.writeLimit = limit;
    pixmill::ByteStream s(&m.callbacks);
    VectorSource source(rows);
    pixmill::CodecCall call{info, s};
    call.source = &source;
    tickCounter = &w.ticks;
    call.progress = &countTick;
    w.result = pixmill::bmpSave(call);
    tickCounter = nullptr;
    w.bytes = m.data;
    w.requested = source.requested;
    return w;
}

Bytes padded(Bytes row, uint32_t stride) {
    row.resize(stride, 0);
    return row;
}

TEST(BmpSave, OneBitFileKeepsTheImagesOwnTwoColours) {
    // A min-is-white picture (index 0 white, index 1 black), 3 x 2.
    const Written w = save(3, 2, 1, {padded({0x40}, 4), padded({0xA0}, 4)}, {0xFFFFFF, 0x000000});
    ASSERT_EQ(w.result, kCodecOk);
    const Bytes want = {
        'B', 'M',
        70, 0, 0, 0,             // file size: 62 + 2 rows of 4
        0, 0, 0, 0,
        62, 0, 0, 0,             // pixels after 14 + 40 + 8
        40, 0, 0, 0,             // info header
        3, 0, 0, 0,              // width
        2, 0, 0, 0,              // height, positive: bottom row first
        1, 0, 1, 0,              // planes, bits
        0, 0, 0, 0,              // no compression
        0, 0, 0, 0,              // image size
        0, 0, 0, 0, 0, 0, 0, 0,  // resolution
        0, 0, 0, 0, 0, 0, 0, 0,  // colours used and important
        0xFF, 0xFF, 0xFF, 0,     // entry 0: white, as the image has it
        0, 0, 0, 0,              // entry 1: black
        0xA0, 0, 0, 0,           // bottom row
        0x40, 0, 0, 0,           // top row
    };
    EXPECT_EQ(w.bytes, want);
    EXPECT_EQ(w.requested, (std::vector<int>{1, 0}));
    EXPECT_EQ(w.ticks, 2);
}

TEST(BmpSave, RedAndBluePaletteIsWrittenAsItIs) {
    const Written w = save(1, 1, 1, {padded({0x80}, 4)}, {0xFF0000, 0x0000FF});
    ASSERT_EQ(w.result, kCodecOk);
    EXPECT_EQ(Bytes(w.bytes.begin() + 54, w.bytes.begin() + 62), (Bytes{0, 0, 0xFF, 0, 0xFF, 0, 0, 0}));
}

TEST(BmpSave, HeaderFieldsFollowTheDepth) {
    struct Case {
        int sourceBits;
        int width;
        uint32_t bits, dataOffset, row;
    };
    const Case cases[] = {
        {1, 33, 1, 62, 8},   {4, 9, 4, 118, 8},     {8, 13, 8, 1078, 16},
        {24, 3, 24, 54, 12}, {16, 5, 24, 54, 16},   {32, 5, 24, 54, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sourceBits);
        const int height = 3;
        std::vector<Bytes> rows(height, Bytes(rowBytes(c.width, c.sourceBits), 0x11));
        const Written w = save(c.width, height, c.sourceBits, rows, distinctPalette(256));
        ASSERT_EQ(w.result, kCodecOk);
        EXPECT_EQ(w.bytes.size(), c.dataOffset + height * c.row);
        EXPECT_EQ(get32(w.bytes, 2), w.bytes.size());
        EXPECT_EQ(get32(w.bytes, 10), c.dataOffset);
        EXPECT_EQ(get32(w.bytes, 14), 40u);
        EXPECT_EQ(get32(w.bytes, 18), static_cast<uint32_t>(c.width));
        EXPECT_EQ(get32(w.bytes, 22), static_cast<uint32_t>(height));
        EXPECT_EQ(get16(w.bytes, 26), 1u);
        EXPECT_EQ(get16(w.bytes, 28), c.bits);
        EXPECT_EQ(get32(w.bytes, 30), 0u);
        // Row padding is zero whatever the source's padding held.
        const uint32_t used = (static_cast<uint32_t>(c.width) * c.bits + 7) / 8;
        for (int y = 0; y < height; ++y) {
            for (uint32_t i = used; i < c.row; ++i) EXPECT_EQ(w.bytes[c.dataOffset + y * c.row + i], 0) << y << ":" << i;
        }
        if (c.bits <= 8) {
            // Palette entries blue, green, red, 0 from the record.
            const uint32_t last = (1u << c.bits) - 1;
            const size_t at = 54 + 4 * last;
            EXPECT_EQ(w.bytes[at], paletteColour(static_cast<int>(last)) & 0xFF);
            EXPECT_EQ(w.bytes[at + 2], paletteColour(static_cast<int>(last)) >> 16);
            EXPECT_EQ(w.bytes[at + 3], 0);
        }
    }
}

TEST(BmpSave, SixteenAndThirtyTwoBitImagesBecomeTwentyFourBitRows) {
    // 5-6-5 pixels widened with the library's rule: (c << 3) | 7 for 5 bits, (c << 2) | 3 for 6.
    const Written w16 = save(3, 1, 16, {Bytes{0xFF, 0xFF, 0x00, 0x00, 0x1F, 0xF8, 0, 0}});
    ASSERT_EQ(w16.result, kCodecOk);
    EXPECT_EQ(Bytes(w16.bytes.begin() + 54, w16.bytes.end()),
              (Bytes{0xFF, 0xFF, 0xFF,  // 0xFFFF: white
                     0x07, 0x03, 0x07,  // 0x0000
                     0xFF, 0x03, 0xFF,  // 0xF81F: red and blue full
                     0, 0, 0}));        // padding to 12
    // Blue, green, red, x: the fourth byte is dropped.
    const Written w32 = save(2, 1, 32, {Bytes{1, 2, 3, 99, 4, 5, 6, 99}});
    ASSERT_EQ(w32.result, kCodecOk);
    EXPECT_EQ(Bytes(w32.bytes.begin() + 54, w32.bytes.end()), (Bytes{1, 2, 3, 4, 5, 6, 0, 0}));
}

TEST(BmpSave, AFailedWriteIsAWriteError) {
    const std::vector<Bytes> rows(4, Bytes(12, 7));
    EXPECT_EQ(save(4, 4, 24, rows, {}, 20).result, kCodecWriteError);        // inside the header
    EXPECT_EQ(save(4, 4, 24, rows, {}, 54 + 12 * 2).result, kCodecWriteError);  // at the third row
    EXPECT_EQ(save(4, 4, 24, rows, {}, 54 + 12 * 4).result, kCodecOk);
}

TEST(BmpSave, AFullDiskIsAWriteError) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    pixmill::PxlCodecInfo info;
    info.width = 2;
    info.height = 2;
    info.bitsPerPixel = 24;
    pixmill::ByteStream s;
    ASSERT_TRUE(s.openFile("C:/dev/full", "wb"));
    VectorSource source({Bytes(8, 1), Bytes(8, 2)});
    pixmill::CodecCall call{info, s};
    call.source = &source;
    // A small file fits in the stream's buffer; the error must show before the codec returns.
    EXPECT_EQ(pixmill::bmpSave(call), kCodecWriteError);
}

TEST(BmpSave, RefusesAnEmptyPictureOrAMissingSource) {
    EXPECT_EQ(save(0, 3, 24, {}).result, kCodecBadFormat);
    EXPECT_EQ(save(3, 0, 24, {}).result, kCodecBadFormat);
    pixmill::PxlCodecInfo info;
    info.width = info.height = 1;
    info.bitsPerPixel = 24;
    MemoryCallbacks m;
    pixmill::ByteStream s(&m.callbacks);
    pixmill::CodecCall call{info, s};
    EXPECT_EQ(pixmill::bmpSave(call), kCodecBadFormat);
    EXPECT_TRUE(m.data.empty());
}

TEST(BmpSave, WhatIsWrittenReadsBackTheSameInEveryForm) {
    for (int bits : {1, 4, 8, 24}) {
        for (int width = 1; width <= 9; ++width) {
            const InfoBitmap picture = patternBitmap(width, 3, bits);
            std::vector<Bytes> rows;
            for (const Bytes& r : picture.rows) rows.push_back(padded(r, rowBytes(width, bits)));
            const Written w = save(width, 3, bits, rows, picture.palette);
            ASSERT_EQ(w.result, kCodecOk);
            for (Form form : kForms) {
                SCOPED_TRACE(std::string(formName(form)) + " bits " + std::to_string(bits) + " width " +
                             std::to_string(width));
                expectPattern(decode(w.bytes, form), width, 3, bits);
            }
        }
    }
}

TEST(BmpSave, WritesToAnOleStreamAtItsPosition) {
    OleMemory m(Bytes(10, 0xCC));
    m.seekTo(10);
    pixmill::PxlCodecInfo info;
    info.width = 2;
    info.height = 1;
    info.bitsPerPixel = 24;
    pixmill::ByteStream s(m.stream);
    VectorSource source({Bytes{1, 2, 3, 4, 5, 6, 0, 0}});
    pixmill::CodecCall call{info, s};
    call.source = &source;
    ASSERT_EQ(pixmill::bmpSave(call), kCodecOk);
    const Bytes all = m.contents();
    ASSERT_EQ(all.size(), 10u + 54 + 8);
    EXPECT_EQ(all[9], 0xCC);
    EXPECT_EQ(all[10], 'B');
    EXPECT_EQ(Bytes(all.begin() + 64, all.end()), (Bytes{1, 2, 3, 4, 5, 6, 0, 0}));
}

}  // namespace
