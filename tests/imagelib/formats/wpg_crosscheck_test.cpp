// The WPG writer against ImageMagick and libwpg: our 1-, 4- and 8-bit files decode in
// ImageMagick to the pixels saved, and libwpg reads them as a picture holding one bitmap.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/wpg_codec.h"

namespace {

using namespace file_codec_test;

const Codec kWpg{pixmill::wpgInfo, pixmill::wpgLoad, pixmill::wpgSave};

TEST(WpgCrossCheck, OurFilesDecodeInImageMagickAndLibwpg) {
    REQUIRE_IMAGEMAGICK();
    const bool libwpg = have("wpg2svg");
    TempFolder folder;
    const Picture source = sourcePicture(45, 19);
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        std::vector<uint32_t> palette;
        for (int i = 0; i < (1 << bits); ++i) {
            palette.push_back(bits == 1 ? (i ? 0xFFFFFFu : 0u) : static_cast<uint32_t>(i * 0x0B1D07 + 0x203040) & 0xFFFFFF);
        }
        std::vector<Bytes> rows;
        for (int y = 0; y < source.height; ++y) {
            Bytes row(bmp_test::rowBytes(source.width, bits), 0);
            for (int x = 0; x < source.width; ++x) {
                const auto index = static_cast<int>(source.at(x, y) % static_cast<uint32_t>(1 << bits));
                const auto sx = static_cast<size_t>(x);
                if (bits == 8) row[sx] = static_cast<uint8_t>(index);
                if (bits == 4) row[sx / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
                if (bits == 1 && index) row[sx / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
            rows.push_back(row);
        }
        const Written w = encodeWith(kWpg, recordFor(source.width, source.height, bits, palette), rows);
        ASSERT_EQ(w.result, 0);
        const fs::path wpg = folder.file("ours.wpg");
        writeFile(wpg, w.bytes);
        ASSERT_TRUE(run(imageMagick() + " " + quoted(wpg) + " -depth 8 ppm:" + quoted(folder.file("im.ppm"))));
        const auto magick = readPnm(folder.file("im.ppm"));
        ASSERT_TRUE(magick);
        expectSamePixels(decodeWith(kWpg, w.bytes), *magick);
        if (libwpg) {
            ASSERT_TRUE(runTo("wpg2svg " + quoted(wpg), folder.file("ours.svg")));
            const Bytes svg = readFile(folder.file("ours.svg"));
            const std::string text(svg.begin(), svg.end());
            EXPECT_NE(text.find("<image"), std::string::npos) << text.substr(0, 400);
            EXPECT_NE(text.find("data:image/"), std::string::npos) << text.substr(0, 400);
        }
    }
    if (!libwpg) GTEST_SKIP() << "libwpg's wpg2svg is not installed (tools/deps.txt lists libwpg-tools)";
}

}  // namespace
