// The PCX codec against netpbm and ImageMagick: every variant they write loads here as they
// decode it, and our files decode in both to the pixels saved.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/pcx_codec.h"

namespace {

using namespace file_codec_test;

const Codec kPcx{pixmill::pcxInfo, pixmill::pcxLoad, pixmill::pcxSave};

TEST(PcxCrossCheck, NetpbmFilesLoadAsNetpbmDecodesThem) {
    REQUIRE_TOOLS("netpbm", "ppmtopcx", "pcxtoppm", "pnmquant", "ppmtopgm");
    TempFolder folder;
    const Picture source = sourcePicture();
    writePpm(folder.file("s.ppm"), source);
    // 1-bit files read as black and white, so the 1-bit source is black and white.
    Picture bw = source;
    for (uint32_t& v : bw.pixels) v = ((v >> 16) + (v & 0xFF)) & 0x40 ? 0xFFFFFF : 0;
    writePpm(folder.file("bw.ppm"), bw);
    ASSERT_TRUE(runTo("pnmquant 4 " + quoted(folder.file("s.ppm")), folder.file("q4.ppm")));
    ASSERT_TRUE(runTo("pnmquant 8 " + quoted(folder.file("s.ppm")), folder.file("q8.ppm")));
    ASSERT_TRUE(runTo("pnmquant 16 " + quoted(folder.file("s.ppm")), folder.file("q16.ppm")));
    ASSERT_TRUE(runTo("pnmquant 200 " + quoted(folder.file("s.ppm")), folder.file("q200.ppm")));
    struct Case {
        const char* input;
        const char* options;
        int bitsPerPlane, planes;  // what netpbm must have written
    };
    const Case cases[] = {
        {"bw.ppm", "", 1, 1},          {"q4.ppm", "", 1, 2},          {"q8.ppm", "", 1, 3},
        {"q16.ppm", "", 1, 4},         {"q16.ppm", "-planes 4", 1, 4}, {"q4.ppm", "-packed", 2, 1},
        {"q16.ppm", "-packed", 4, 1},  {"q16.ppm", "-8bit", 8, 1},     {"q200.ppm", "", 8, 1},
        {"s.ppm", "", 8, 3},           {"q16.ppm", "-24bit", 8, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " " + c.options);
        const fs::path pcx = folder.file("n.pcx");
        ASSERT_TRUE(runTo("ppmtopcx " + std::string(c.options) + " " + quoted(folder.file(c.input)), pcx));
        ASSERT_TRUE(runTo("pcxtoppm " + quoted(pcx), folder.file("n.ppm")));
        const Bytes file = readFile(pcx);
        ASSERT_GE(file.size(), 128u);
        EXPECT_EQ(file[3], c.bitsPerPlane);
        EXPECT_EQ(file[65], c.planes);
        const auto tool = readPnm(folder.file("n.ppm"));
        ASSERT_TRUE(tool);
        expectSamePixels(decodeWith(kPcx, file), *tool);
        // The same file inside a larger one.
        expectSamePixels(decodeWith(kPcx, file, Bytes(77, 0x0A)), *tool);
    }
}

TEST(PcxCrossCheck, ImageMagickFilesLoadAsImageMagickDecodesThem) {
    REQUIRE_IMAGEMAGICK();
    TempFolder folder;
    writePpm(folder.file("s.ppm"), sourcePicture());
    const char* variants[] = {"", "-colors 200 -type Palette", "-colors 2 -type Palette", "-colors 16 -type Palette"};
    for (const char* options : variants) {
        SCOPED_TRACE(options);
        const fs::path pcx = folder.file("im.pcx");
        ASSERT_TRUE(run(imageMagick() + " " + quoted(folder.file("s.ppm")) + " " + options + " pcx:" + quoted(pcx)));
        ASSERT_TRUE(run(imageMagick() + " " + quoted(pcx) + " -depth 8 ppm:" + quoted(folder.file("im.ppm"))));
        const auto tool = readPnm(folder.file("im.ppm"));
        ASSERT_TRUE(tool);
        expectSamePixels(decodeWith(kPcx, readFile(pcx)), *tool);
    }
}

TEST(PcxCrossCheck, OurFilesDecodeInBothProgramsToTheSavedPixels) {
    REQUIRE_TOOLS("netpbm", "ppmtopcx", "pcxtoppm", "pnmquant", "ppmtopgm");
    REQUIRE_IMAGEMAGICK();
    TempFolder folder;
    const Picture source = sourcePicture();
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        // The picture at this depth: indexes by position, a palette of distinct colours.
        std::vector<uint32_t> palette;
        for (int i = 0; bits <= 8 && i < (1 << bits); ++i) {
            palette.push_back(bits == 1 ? (i ? 0xFFFFFFu : 0u) : static_cast<uint32_t>(i * 0x0B1D07 + 0x203040) & 0xFFFFFF);
        }
        std::vector<Bytes> rows;
        for (int y = 0; y < source.height; ++y) {
            Bytes row(bmp_test::rowBytes(source.width, bits), 0);
            for (int x = 0; x < source.width; ++x) {
                const uint32_t v = source.at(x, y);
                const auto sx = static_cast<size_t>(x);
                if (bits == 24) {
                    row[3 * sx] = static_cast<uint8_t>(v);
                    row[3 * sx + 1] = static_cast<uint8_t>(v >> 8);
                    row[3 * sx + 2] = static_cast<uint8_t>(v >> 16);
                } else {
                    const int index = static_cast<int>(v % static_cast<uint32_t>(1 << bits));
                    if (bits == 8) row[sx] = static_cast<uint8_t>(index);
                    if (bits == 4) row[sx / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
                    if (bits == 1 && index) row[sx / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
                }
            }
            rows.push_back(row);
        }
        const Written w = encodeWith(kPcx, recordFor(source.width, source.height, bits, palette), rows);
        ASSERT_EQ(w.result, 0);
        const fs::path pcx = folder.file("ours.pcx");
        writeFile(pcx, w.bytes);
        const Decoded ours = decodeWith(kPcx, w.bytes);
        ASSERT_TRUE(runTo("pcxtoppm " + quoted(pcx), folder.file("n.ppm")));
        const auto netpbm = readPnm(folder.file("n.ppm"));
        ASSERT_TRUE(netpbm);
        expectSamePixels(ours, *netpbm);
        // ImageMagick shows the set bits of 1-bit files black whatever the header's map says,
        // where netpbm and we show them white.
        if (bits > 1) {
            ASSERT_TRUE(run(imageMagick() + " " + quoted(pcx) + " -depth 8 ppm:" + quoted(folder.file("im.ppm"))));
            const auto magick = readPnm(folder.file("im.ppm"));
            ASSERT_TRUE(magick);
            expectSamePixels(ours, *magick);
        }
        if (bits == 24) expectSamePixels(ours, source);
    }
}

}  // namespace
