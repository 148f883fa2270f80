// The Targa codec against netpbm and ImageMagick: their files (colour-mapped, true colour,
// grey, run-length or not, either row order) load as they decode them, and ours decode in both.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/targa_codec.h"

namespace {

using namespace file_codec_test;

const Codec kTarga{pixmill::targaInfo, pixmill::targaLoad, pixmill::targaSave};

struct Made {
    int type;  // image type the tool must have written
    bool topFirst;
};

void expectMade(const Bytes& file, const Made& m) {
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(file[2], m.type);
    EXPECT_EQ((file[17] & 0x20) != 0, m.topFirst);
}

TEST(TargaCrossCheck, NetpbmFilesLoadAsNetpbmDecodesThem) {
    REQUIRE_TOOLS("netpbm", "pamtotga", "tgatoppm", "pnmquant", "ppmtopgm");
    TempFolder folder;
    writePpm(folder.file("s.ppm"), sourcePicture());
    ASSERT_TRUE(runTo("pnmquant 100 " + quoted(folder.file("s.ppm")), folder.file("q.ppm")));
    ASSERT_TRUE(runTo("ppmtopgm " + quoted(folder.file("s.ppm")), folder.file("g.pgm")));
    struct Case {
        const char* input;
        const char* options;
        Made made;
    };
    const Case cases[] = {
        {"q.ppm", "-cmap", {9, false}},  {"q.ppm", "-cmap -norle", {1, false}},
        {"s.ppm", "-rgb", {10, false}},  {"s.ppm", "-rgb -norle", {2, false}},
        {"g.pgm", "-mono", {11, false}}, {"g.pgm", "-mono -norle", {3, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " " + c.options);
        const fs::path tga = folder.file("n.tga");
        ASSERT_TRUE(runTo("pamtotga " + std::string(c.options) + " " + quoted(folder.file(c.input)), tga));
        ASSERT_TRUE(runTo("tgatoppm " + quoted(tga), folder.file("n.ppm")));
        const Bytes file = readFile(tga);
        expectMade(file, c.made);
        const auto tool = readPnm(folder.file("n.ppm"));
        ASSERT_TRUE(tool);
        expectSamePixels(decodeWith(kTarga, file), *tool);
        expectSamePixels(decodeWith(kTarga, file, Bytes(1000, 0)), *tool);
    }
}

TEST(TargaCrossCheck, ImageMagickFilesLoadAsImageMagickDecodesThem) {
    REQUIRE_IMAGEMAGICK();
    TempFolder folder;
    writePpm(folder.file("s.ppm"), sourcePicture());
    struct Case {
        const char* options;
        Made made;
    };
    const Case cases[] = {
        {"", {2, false}},
        {"-compress RLE", {10, false}},
        {"-colors 120 -type Palette", {1, false}},
        {"-colors 120 -type Palette -compress RLE", {9, false}},
        {"-colorspace Gray -type Grayscale", {3, false}},
        {"-colorspace Gray -type Grayscale -compress RLE", {11, false}},
        {"-alpha set -channel A -evaluate set 50% +channel", {2, false}},
        {"-orient TopLeft", {2, true}},
        {"-orient TopLeft -compress RLE", {10, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const fs::path tga = folder.file("im.tga");
        ASSERT_TRUE(run(imageMagick() + " " + quoted(folder.file("s.ppm")) + " " + c.options + " tga:" + quoted(tga)));
        // ImageMagick keeps the rows as stored and the row order as a tag; -auto-orient applies it.
        ASSERT_TRUE(run(imageMagick() + " " + quoted(tga) + " -auto-orient -alpha off -depth 8 ppm:" +
                        quoted(folder.file("im.ppm"))));
        const Bytes file = readFile(tga);
        expectMade(file, c.made);
        const auto tool = readPnm(folder.file("im.ppm"));
        ASSERT_TRUE(tool);
        expectSamePixels(decodeWith(kTarga, file), *tool);
    }
}

TEST(TargaCrossCheck, OurFilesDecodeInBothProgramsToTheSavedPixels) {
    REQUIRE_TOOLS("netpbm", "pamtotga", "tgatoppm", "pnmquant", "ppmtopgm");
    REQUIRE_IMAGEMAGICK();
    TempFolder folder;
    const Picture source = sourcePicture();
    for (int bits : {4, 8, 24}) {
        SCOPED_TRACE(bits);
        std::vector<uint32_t> palette;
        for (int i = 0; bits <= 8 && i < (1 << bits); ++i) palette.push_back(static_cast<uint32_t>(i * 0x0B1D07 + 0x203040) & 0xFFFFFF);
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
                } else if (bits == 8) {
                    row[sx] = static_cast<uint8_t>(v);
                } else {
                    row[sx / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
                }
            }
            rows.push_back(row);
        }
        const Written w = encodeWith(kTarga, recordFor(source.width, source.height, bits, palette), rows);
        ASSERT_EQ(w.result, 0);
        const fs::path tga = folder.file("ours.tga");
        writeFile(tga, w.bytes);
        const Decoded ours = decodeWith(kTarga, w.bytes);
        ASSERT_TRUE(runTo("tgatoppm " + quoted(tga), folder.file("n.ppm")));
        const auto netpbm = readPnm(folder.file("n.ppm"));
        ASSERT_TRUE(netpbm);
        expectSamePixels(ours, *netpbm);
        ASSERT_TRUE(run(imageMagick() + " " + quoted(tga) + " -auto-orient -depth 8 ppm:" + quoted(folder.file("im.ppm"))));
        const auto magick = readPnm(folder.file("im.ppm"));
        ASSERT_TRUE(magick);
        expectSamePixels(ours, *magick);
        if (bits == 24) expectSamePixels(ours, source);
    }
}

}  // namespace
