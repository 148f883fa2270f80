// Damaged TIFF files: every prefix, every byte of the header and directory set to awkward values,
// and the counts and offsets of the directory entries at their extremes. Each ends in a result
// code, with no sanitizer report or hang.
#include <tiffio.h>

#include "formats/tiff_codec.h"
#include "library_codec_test_support.h"
#include "support/allocation_watch.h"

namespace {

using namespace codec_test;

Bytes sample(int32_t option1, int bits) {
    Source s = trueColourSource(13, 9, testColour);
    if (bits == 1) {
        s.info.bitsPerPixel = 1;
        s.info.setPaletteEntry(1, 255, 255, 255);
        for (Bytes& row : s.rows) std::fill(row.begin(), row.end(), 0xA5);
    }
    s.info.option1 = option1;
    return saveWith(pixmill::tiffSave, s).bytes;
}

// Where the first directory starts and how many entries it has.
size_t directoryOf(const Bytes& file, size_t& entries) {
    const size_t at = bmp_test::get32(file, 4);
    entries = bmp_test::get16(file, at);
    return at;
}

TEST(TiffDamage, PrefixesAndHeaderBytesGiveResultCodes) {
    winplat::testing::DebugCapture quiet;
    struct Case {
        const char* name;
        int32_t option1;
        int bits;
    };
    for (const Case& c : {Case{"uncompressed", 1, 24}, Case{"LZW", 4, 24}, Case{"G4", 8, 1}}) {
        SCOPED_TRACE(c.name);
        const Bytes file = sample(c.option1, c.bits);
        size_t entries = 0;
        const size_t directory = directoryOf(file, entries);
        ASSERT_LT(directory, file.size());
        // The header, and the directory (written after the pixels) mutated in place.
        damageRun(pixmill::tiffInfo, pixmill::tiffLoad, file, 8, [](Bytes&, size_t) {});
        for (size_t at = directory; at < directory + 2 + 12 * entries && at < file.size(); ++at) {
            for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
                Bytes damaged = file;
                damaged[at] = value;
                expectCleanOutcome(decodeWith(pixmill::tiffInfo, pixmill::tiffLoad, damaged),
                                   "directory byte " + std::to_string(at - directory) + " = " + std::to_string(value));
            }
        }
    }
}

TEST(TiffDamage, EntryCountsAndOffsetsAtTheirExtremes) {
    winplat::testing::DebugCapture quiet;
    const Bytes file = sample(4, 24);
    size_t entries = 0;
    const size_t directory = directoryOf(file, entries);
    for (size_t e = 0; e < entries; ++e) {
        const size_t entry = directory + 2 + 12 * e;
        for (size_t field : {size_t{4}, size_t{8}}) {  // count, value or offset
            for (uint32_t value : {0u, 1u, 0x7FFFu, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
                Bytes damaged = file;
                bmp_test::set32(damaged, entry + field, value);
                expectCleanOutcome(decodeWith(pixmill::tiffInfo, pixmill::tiffLoad, damaged),
                                   "tag " + std::to_string(bmp_test::get16(file, entry)) + (field == 4 ? " count " : " value ") +
                                       std::to_string(value));
            }
        }
    }
    Bytes noDirectory = file;
    bmp_test::set32(noDirectory, 4, 0xFFFFFFF0u);
    expectCleanOutcome(decodeWith(pixmill::tiffInfo, pixmill::tiffLoad, noDirectory), "directory beyond the end");
    Bytes manyEntries = file;
    bmp_test::set16(manyEntries, directory, 0xFFFF);
    expectCleanOutcome(decodeWith(pixmill::tiffInfo, pixmill::tiffLoad, manyEntries), "65535 entries");
}

// A PackBits picture of grey pixels stored as 8 samples of 16 bits (loaded as 8-bit grey, a
// sixteenth of what is stored), whose directory makes the whole picture one strip and claims
// 'byteCount' bytes for it; 'data' is what the strip really holds.
Bytes wideGreyInOneStrip(uint32_t width, uint32_t height, uint32_t byteCount, const Bytes& data) {
    constexpr uint16_t kEntries = 9;
    constexpr uint32_t kBitsAt = 8 + 2 + 12 * kEntries + 4;
    constexpr uint32_t kDataAt = kBitsAt + 2 * 8;
    Bytes b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    bmp_test::put16(b, kEntries);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        bmp_test::put16(b, tag);
        bmp_test::put16(b, type);
        bmp_test::put32(b, count);
        bmp_test::put32(b, value);
    };
    entry(256, 4, 1, width);                 // ImageWidth
    entry(257, 4, 1, height);                // ImageLength
    entry(258, 3, 8, kBitsAt);               // BitsPerSample, 8 values stored below
    entry(259, 3, 1, COMPRESSION_PACKBITS);  // Compression
    entry(262, 3, 1, PHOTOMETRIC_MINISBLACK);
    entry(273, 4, 1, kDataAt);               // StripOffsets
    entry(277, 3, 1, 8);                     // SamplesPerPixel
    entry(278, 4, 1, 0x7FFFFFFF);            // RowsPerStrip: far more than the picture has
    entry(279, 4, 1, byteCount);             // StripByteCounts
    bmp_test::put32(b, 0);                   // no next directory
    for (int i = 0; i < 8; ++i) bmp_test::put16(b, 16);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// PackBits rows of 'width' pixels of 16 bytes, row y all of the byte value(y): runs of 128.
template <class Value>
Bytes packedRows(uint32_t width, uint32_t height, Value value) {
    Bytes data;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t run = 0; run < width * 16 / 128; ++run) data.insert(data.end(), {0x81, value(y)});
    }
    return data;
}

// The loader reads what the strip holds row by row: neither the claimed rows of a strip nor its
// claimed bytes, nor the stored width of a pixel, make it ask for more than the picture it makes.
TEST(TiffDamage, HugeStripClaimsCostNoMoreThanThePicture) {
    ALLOCATION_WATCH_OR_SKIP();
    winplat::testing::DebugCapture quiet;
    const auto value = [](uint32_t y) { return static_cast<uint8_t>(y * 7 + 3); };
    struct Case {
        const char* name;
        Bytes file;
        bool loads;
    };
    const Case cases[] = {
        {"2 GB claimed, 2 bytes held", wideGreyInOneStrip(32767, 256, 0x7FFFFFFF, {0x81, 0x00}), false},
        {"the bytes it holds", wideGreyInOneStrip(1024, 64, 64 * 256, packedRows(1024, 64, value)), true},
        {"one row short", wideGreyInOneStrip(1024, 64, 63 * 256, packedRows(1024, 63, value)), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d;
        size_t largest = 0;
        {
            const allocation_watch::Watch watch;
            d = decodeWith(pixmill::tiffInfo, pixmill::tiffLoad, c.file);
            largest = watch.largestBlock();
        }
        ASSERT_EQ(d.infoResult, pixmill::kCodecOk);
        ASSERT_EQ(d.info.bitsPerPixel, 8);
        const size_t picture = size_t{d.sink->layout().stride} * static_cast<size_t>(d.info.height);
        EXPECT_LT(largest, picture) << "a block of " << largest << " bytes for a picture of " << picture;
        if (!c.loads) {
            EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
            continue;
        }
        ASSERT_TRUE(d.ok()) << d.loadResult;
        for (int y : {0, 1, 63}) {
            EXPECT_EQ(d.sink->rows()[static_cast<size_t>(y)][0], value(static_cast<uint32_t>(y))) << y;
            EXPECT_EQ(d.sink->rows()[static_cast<size_t>(y)][1023], value(static_cast<uint32_t>(y))) << y;
        }
    }
}

}  // namespace
