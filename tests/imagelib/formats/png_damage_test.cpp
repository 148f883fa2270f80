// Damaged PNG files: every prefix, every byte of the signature and header chunk set to awkward
// values (with the header's checksum repaired, so libpng's own checks run), and chunk lengths at
// their extremes. Each ends in a result code, with no sanitizer report.
#include <zlib.h>

#include "formats/png_codec.h"
#include "library_codec_test_support.h"

namespace {

using namespace codec_test;

Bytes sample(int bits, int32_t option1) {
    Source s = trueColourSource(9, 7, testColour);
    if (bits == 4) {
        s.info.bitsPerPixel = 4;
        for (Bytes& row : s.rows) std::fill(row.begin(), row.end(), 0x12);
    }
    s.info.option1 = option1;
    return saveWith(pixmill::pngSave, s).bytes;
}

// The header chunk's checksum after a change inside it.
void repairHeaderChecksum(Bytes& png, size_t) {
    if (png.size() < 33) return;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i) png[29 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

TEST(PngDamage, PrefixesAndHeaderBytesGiveResultCodes) {
    winplat::testing::DebugCapture quiet;
    for (const auto& [bits, option1] : {std::pair{24, 0}, std::pair{4, 0x80}}) {
        SCOPED_TRACE(std::to_string(bits) + (option1 ? " interlaced" : ""));
        const Bytes file = sample(bits, option1);
        ASSERT_GT(file.size(), 60u);
        damageRun(pixmill::pngInfo, pixmill::pngLoad, file, 29, repairHeaderChecksum);
    }
}

TEST(PngDamage, ChunkLengthsAtTheirExtremes) {
    winplat::testing::DebugCapture quiet;
    const Bytes file = sample(24, 0);
    std::vector<size_t> lengths;  // where each chunk's length field stands
    for (size_t at = 8; at + 12 <= file.size();) {
        lengths.push_back(at);
        const uint32_t n = uint32_t{file[at]} << 24 | uint32_t{file[at + 1]} << 16 | uint32_t{file[at + 2]} << 8 | file[at + 3];
        at += 12 + size_t{n};
    }
    ASSERT_GE(lengths.size(), 3u);
    for (size_t at : lengths) {
        for (uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            Bytes damaged = file;
            for (int i = 0; i < 4; ++i) damaged[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
            expectCleanOutcome(decodeWith(pixmill::pngInfo, pixmill::pngLoad, damaged),
                               "length at " + std::to_string(at) + " = " + std::to_string(value));
        }
    }
}

}  // namespace
