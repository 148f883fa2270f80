// Damaged TIFF files: every prefix, every byte of the header and directory set to awkward values,
// and the counts and offsets of the directory entries at their extremes. Each ends in a result
// code, with no sanitizer report or hang.
#include "formats/tiff_codec.h"
#include "library_codec_test_support.h"

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

}  // namespace
