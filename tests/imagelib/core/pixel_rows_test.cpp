// The row conversions the library and its codecs share: 2-bit pixels unpacked to 4-bit ones and
// 16-bit pixels widened by the library's rule; and the image bytes a codec's record reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/rows/pixel_rows.h"
#include "formats/codec.h"

namespace {

TEST(PixelRows, TwoBitPixelsBecomeFourBitOnesWithAnOddLastPixelAlone) {
    // Pixels 3 2 1 0 | 1 2 3 (and one left over bit pair that is not a pixel).
    const uint8_t in[] = {0b11100100, 0b01101111};
    uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    pixmill::unpackTwoBitRow(in, 7, out);
    EXPECT_EQ(out[0], 0x32);
    EXPECT_EQ(out[1], 0x10);
    EXPECT_EQ(out[2], 0x12);
    EXPECT_EQ(out[3], 0x30);  // the eighth pair is past the width: the low nibble stays 0
}

TEST(PixelRows, SixteenBitPixelsWidenWithTheLowBitsSet) {
    struct Case {
        uint16_t pixel;
        bool is565;
        uint8_t blue, green, red;
    };
    const Case cases[] = {
        {0x0000, true, 7, 3, 7},        // black is not 0: the rule sets the low bits
        {0xFFFF, true, 255, 255, 255},  // full scale stays 255
        {0x001F, true, 255, 3, 7},
        {0x07E0, true, 7, 255, 7},      // six bits of green
        {0xF800, true, 7, 3, 255},
        {0x7FFF, false, 255, 255, 255},
        {0x03E0, false, 7, 255, 7},     // five bits of green
        {0x7C00, false, 7, 7, 255},
        {0x8000, false, 7, 7, 7},       // the top bit of 5-5-5 is no colour
        {0x0421, false, 15, 15, 15},    // one step of each channel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixel);
        const pixmill::WidePixel p = pixmill::widenPixel16(c.pixel, c.is565);
        EXPECT_EQ(p.blue, c.blue);
        EXPECT_EQ(p.green, c.green);
        EXPECT_EQ(p.red, c.red);
        const uint8_t row[2] = {static_cast<uint8_t>(c.pixel), static_cast<uint8_t>(c.pixel >> 8)};
        uint8_t bgr[3] = {};
        pixmill::widenRow16(row, 1, c.is565, bgr);
        EXPECT_EQ(bgr[0], c.blue);
        EXPECT_EQ(bgr[1], c.green);
        EXPECT_EQ(bgr[2], c.red);
    }
}

TEST(ReportedImageBytes, AlignedRowsOrTheOlderFormatsByteColumns) {
    using pixmill::ImageBytesRule;
    struct Case {
        int width, height, bits;
        ImageBytesRule rule;
        int32_t expected;
    };
    const Case cases[] = {
        {9, 2, 1, ImageBytesRule::AlignedRows, 8},         // rows rounded up to 4 bytes
        {9, 2, 1, ImageBytesRule::LegacyByteColumns, 4},   // two byte columns a row
        {3, 1, 24, ImageBytesRule::AlignedRows, 12},
        {3, 1, 24, ImageBytesRule::LegacyByteColumns, 24},  // one byte column times the depth
        {2, 5, 2, ImageBytesRule::AlignedRows, 20},
        {16384, 32767, 32, ImageBytesRule::AlignedRows, 2147418112},
        {16384, 32768, 32, ImageBytesRule::AlignedRows, 0},  // 2^31: over the field, left to the front end
        {32767, 32767, 32, ImageBytesRule::LegacyByteColumns, 0},
        {-4, 3, 8, ImageBytesRule::AlignedRows, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.bits);
        EXPECT_EQ(pixmill::reportedImageBytes(c.width, c.height, c.bits, c.rule), c.expected);
    }
    EXPECT_EQ(pixmill::imageByteCount(16384, 32768, 32, ImageBytesRule::AlignedRows), uint64_t{1} << 31);
}

}  // namespace
