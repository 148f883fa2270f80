// Damaged JPEG files: every prefix, every header byte set to awkward values, and fields of the
// frame and scan headers at their extremes. Each ends in a result code; the sanitizers of the test
// build catch any read or write outside a buffer.
#include "formats/jpeg_codec.h"
#include "library_codec_test_support.h"

namespace {

using namespace codec_test;

Bytes sample(int option1) {
    Source s = trueColourSource(16, 16, testColour);
    s.info.option1 = option1;
    s.info.option2 = 50;
    return saveWith(pixmill::jpegSave, s).bytes;
}

size_t markerAt(const Bytes& file, uint8_t marker) {
    for (size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == marker) return i;
    }
    return file.size();
}

TEST(JpegDamage, PrefixesAndHeaderBytesGiveResultCodes) {
    winplat::testing::DebugCapture quiet;
    for (int option1 : {0, 1}) {
        SCOPED_TRACE(option1 ? "grey" : "colour");
        const Bytes file = sample(option1);
        ASSERT_GT(file.size(), 200u);
        damageRun(pixmill::jpegInfo, pixmill::jpegLoad, file, markerAt(file, 0xDA) + 14, [](Bytes&, size_t) {});
    }
}

TEST(JpegDamage, FrameAndScanFieldsAtTheirExtremes) {
    winplat::testing::DebugCapture quiet;
    const Bytes file = sample(0);
    const size_t sof = markerAt(file, 0xC0);
    const size_t sos = markerAt(file, 0xDA);
    const size_t dqt = markerAt(file, 0xDB);
    const size_t dht = markerAt(file, 0xC4);
    ASSERT_LT(sos, file.size());
    struct Field {
        const char* name;
        size_t at;
        int bytes;
    };
    const Field fields[] = {
        {"frame length", sof + 2, 2}, {"height", sof + 5, 2},          {"width", sof + 7, 2},
        {"components", sof + 9, 1},   {"sampling", sof + 11, 1},       {"table of a component", sof + 12, 1},
        {"scan length", sos + 2, 2},  {"scan components", sos + 4, 1}, {"scan tables", sos + 6, 1},
        {"spectral end", sos + 11, 1}, {"table length", dqt + 2, 2},   {"Huffman length", dht + 2, 2},
        {"Huffman counts", dht + 5, 1},
    };
    for (const Field& f : fields) {
        for (uint32_t value : {0u, 1u, 0x7FFFu, 0xFFFFu}) {
            Bytes damaged = file;
            if (f.bytes == 2) {
                damaged.at(f.at) = static_cast<uint8_t>(value >> 8);
                damaged.at(f.at + 1) = static_cast<uint8_t>(value);
            } else {
                damaged.at(f.at) = static_cast<uint8_t>(value);
            }
            expectCleanOutcome(decodeWith(pixmill::jpegInfo, pixmill::jpegLoad, damaged),
                               std::string(f.name) + " = " + std::to_string(value));
        }
    }
}

}  // namespace
