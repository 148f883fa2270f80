// The MacPaint codec against netpbm: pbmtomacp's files load as macptopbm decodes them, and ours
// (MacBinary form) decode in macptopbm to the pixels saved.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/macpaint_codec.h"

namespace {

using namespace file_codec_test;

const Codec kMacPaint{pixmill::macPaintInfo, pixmill::macPaintLoad, pixmill::macPaintSave};

TEST(MacPaintCrossCheck, NetpbmFilesAndOursAgree) {
    REQUIRE_TOOLS("netpbm", "pbmtomacp", "macptopbm");
    TempFolder folder;
    // A 576 x 720 black-and-white picture with runs, noise and rows of one colour.
    Picture p;
    p.width = 576;
    p.height = 720;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const bool black = y < 100 ? (x / 40 + y / 25) % 2 : y < 600 ? ((x * 7 + y * 13) ^ (x * y)) % 3 == 0 : y % 2;
            p.pixels.push_back(black ? 0 : 0xFFFFFF);
        }
    }
    std::string pbm = "P4\n576 720\n";
    Bytes pbmBytes(pbm.begin(), pbm.end());
    for (int y = 0; y < p.height; ++y) {
        for (int b = 0; b < 72; ++b) {
            uint8_t v = 0;
            for (int i = 0; i < 8; ++i) v = static_cast<uint8_t>(v << 1 | (p.at(b * 8 + i, y) == 0));
            pbmBytes.push_back(v);
        }
    }
    writeFile(folder.file("s.pbm"), pbmBytes);
    ASSERT_TRUE(runTo("pbmtomacp " + quoted(folder.file("s.pbm")), folder.file("n.mac")));
    ASSERT_TRUE(runTo("macptopbm " + quoted(folder.file("n.mac")), folder.file("n.pbm")));
    const auto tool = readPnm(folder.file("n.pbm"));
    ASSERT_TRUE(tool);
    expectSamePixels(decodeWith(kMacPaint, readFile(folder.file("n.mac"))), *tool);
    expectSamePixels(decodeWith(kMacPaint, readFile(folder.file("n.mac"))), p);

    std::vector<Bytes> rows;
    for (int y = 0; y < p.height; ++y) {
        Bytes row(pbmBytes.begin() + static_cast<std::ptrdiff_t>(pbm.size()) + 72 * y,
                  pbmBytes.begin() + static_cast<std::ptrdiff_t>(pbm.size()) + 72 * (y + 1));
        for (uint8_t& b : row) b = static_cast<uint8_t>(~b);  // index 1 is white
        rows.push_back(row);
    }
    const Written w = encodeWith(kMacPaint, recordFor(576, 720, 1, {0, 0xFFFFFF}), rows, "C:\\x\\Ours.mac");
    ASSERT_EQ(w.result, 0);
    writeFile(folder.file("ours.mac"), w.bytes);
    ASSERT_TRUE(runTo("macptopbm -extraskip 128 " + quoted(folder.file("ours.mac")), folder.file("o.pbm")));
    const auto back = readPnm(folder.file("o.pbm"));
    ASSERT_TRUE(back);
    expectSamePixels(decodeWith(kMacPaint, w.bytes), *back);
    expectSamePixels(decodeWith(kMacPaint, w.bytes), p);
}

}  // namespace
