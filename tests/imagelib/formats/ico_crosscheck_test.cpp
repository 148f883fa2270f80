// The icon codec against independent programs: icons made by icoutils' icotool (several sizes and
// depths in one file) and netpbm's ppmtowinicon load here as those tools decode them, and an icon
// written here reads back in ImageMagick and icotool. The programs run on files in a temporary
// folder whose names this test makes.
#include "../pixmill_fixture.h"
#include "pnm_reader.h"
#include "ico_test_support.h"
#include "support/tool_runner.h"

namespace {

using codec_test::Bytes;
using codec_test::CodecRun;
namespace fs = std::filesystem;

using tool_runner::run;

// A binary PPM with 8-bit samples as 0x00RRGGBB, top row first; empty when it is not one.
std::vector<uint32_t> readPpm(const fs::path& path, int& width, int& height) {
    const std::optional<pnm_test::Pnm> pnm = pnm_test::readPnm(path);
    if (!pnm || pnm->channels != 3 || pnm->maxval != 255) return {};
    width = pnm->width;
    height = pnm->height;
    return pnm_test::rgbPixels(*pnm);
}

class IcoCrossCheck : public PixmillTest {
protected:
    fs::path file(const std::string& name) const { return folder_.file(name); }
    std::string q(const std::string& name) const { return "'" + file(name).string() + "'"; }

    // Our decoding of an icon next to a PPM of the same picture.
    void expectSameAsPpm(const std::string& icon, const std::string& ppm) {
        int width = 0, height = 0;
        const std::vector<uint32_t> theirs = readPpm(file(ppm), width, height);
        ASSERT_FALSE(theirs.empty()) << "no PPM from the tool";
        const CodecRun r = ico_test::readIcon(bmp_test::readFile(file(icon)));
        ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
        ASSERT_EQ(r.info.width, width);
        ASSERT_EQ(r.info.height, height);
        int differences = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (r.rgb(x, y) != theirs[static_cast<size_t>(y * width + x)] && ++differences <= 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": ours " << r.rgb(x, y) << ", tool "
                                  << theirs[static_cast<size_t>(y * width + x)];
                }
            }
        }
        EXPECT_EQ(differences, 0);
    }

    bmp_test::TempFolder folder_;
};

TEST_F(IcoCrossCheck, IcotoolIconsOfSeveralSizesAndDepths) {
    REQUIRE_TOOLS("icoutils", "icotool");
    REQUIRE_TOOLS("imagemagick", "convert");
    ASSERT_TRUE(run("convert -size 16x16 xc:red -fill blue -draw 'rectangle 2,2 9,9' " + q("a.png")));
    ASSERT_TRUE(run("convert -size 32x32 gradient:yellow-navy -colors 12 " + q("b.png")));
    ASSERT_TRUE(run("convert -size 24x24 plasma:fractal -seed 2 -colors 200 " + q("c.png")));
    // The richest entry is the 8-bit one: 256 colours beat 16 whatever the size.
    ASSERT_TRUE(run("icotool -c -b 4 -o " + q("multi.ico") + " " + q("a.png") + " -b 4 " + q("b.png") + " -b 8 " +
                    q("c.png")));
    ASSERT_TRUE(run("icotool -x -i 3 -o " + q("c_out.png") + " " + q("multi.ico")));
    ASSERT_TRUE(run("convert " + q("c_out.png") + " -depth 8 ppm:" + q("c_out.ppm")));
    expectSameAsPpm("multi.ico", "c_out.ppm");

    // Among 16-colour entries the larger wins.
    ASSERT_TRUE(run("icotool -c -b 4 -o " + q("two.ico") + " " + q("a.png") + " " + q("b.png")));
    ASSERT_TRUE(run("icotool -x -i 2 -o " + q("b_out.png") + " " + q("two.ico")));
    ASSERT_TRUE(run("convert " + q("b_out.png") + " -depth 8 ppm:" + q("b_out.ppm")));
    expectSameAsPpm("two.ico", "b_out.ppm");

    // A 32-bit entry (its alpha ignored, all opaque here) loads as 24 bits.
    ASSERT_TRUE(run("icotool -c -b 32 -o " + q("deep.ico") + " " + q("c.png")));
    ASSERT_TRUE(run("icotool -x -o " + q("deep_out.png") + " " + q("deep.ico")));
    ASSERT_TRUE(run("convert " + q("deep_out.png") + " -depth 8 ppm:" + q("deep.ppm")));
    expectSameAsPpm("deep.ico", "deep.ppm");
}

TEST_F(IcoCrossCheck, NetpbmIconsWithMasks) {
    REQUIRE_TOOLS("netpbm", "ppmtowinicon");
    REQUIRE_TOOLS("imagemagick", "convert");
    ASSERT_TRUE(run("convert -size 16x16 xc:navy -fill yellow -draw 'rectangle 3,3 12,9' -depth 8 ppm:" + q("p.ppm")));
    // The mask picture: white (opaque) in the top-left quarter; ppmtowinicon sets the AND bit
    // (transparent) where it is black.
    ASSERT_TRUE(run("convert -size 16x16 xc:black -fill white -draw 'rectangle 0,0 7,7' -depth 8 pgm:" + q("m.pgm")));
    ASSERT_TRUE(run("ppmtowinicon -andpgms " + q("p.ppm") + " " + q("m.pgm") + " > " + q("w.ico")));
    const CodecRun r = ico_test::readIcon(bmp_test::readFile(file("w.ico")));
    ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
    ASSERT_EQ(r.info.width, 16);
    // Under the mask the pixels are the palette entry nearest white; elsewhere the picture.
    int width = 0, height = 0;
    const std::vector<uint32_t> picture = readPpm(file("p.ppm"), width, height);
    ASSERT_EQ(picture.size(), 256u);
    uint32_t nearestWhite = 0;
    int best = INT32_MAX;
    for (int i = 0; i < (1 << r.info.bitsPerPixel) && r.info.bitsPerPixel <= 8; ++i) {
        const auto& p = r.info.palette;
        const int d = (255 - p[3 * i]) * (255 - p[3 * i]) + (255 - p[3 * i + 1]) * (255 - p[3 * i + 1]) +
                      (255 - p[3 * i + 2]) * (255 - p[3 * i + 2]);
        if (d < best) {
            best = d;
            nearestWhite = uint32_t{p[3 * i]} << 16 | uint32_t{p[3 * i + 1]} << 8 | p[3 * i + 2];
        }
    }
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const uint32_t expected = x < 8 && y < 8 ? picture[static_cast<size_t>(y * 16 + x)] : nearestWhite;
            EXPECT_EQ(r.rgb(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(IcoCrossCheck, WrittenIconsReadInImageMagickAndIcotool) {
    REQUIRE_TOOLS("imagemagick", "convert");
    REQUIRE_TOOLS("icoutils", "icotool");
    for (int bits : {4, 8, 24}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = make24(13, 11, std::vector<Rgb>(143, Rgb{0, 0, 0}));
        uint8_t* data = PXLGetBits(id);
        for (int i = 0; i < PXLSizeImage(id); ++i) data[i] = static_cast<uint8_t>((i * 37) & 0xF0);
        const PxlImageId saved = bits == 24 ? id : PXLColorConvert(id, static_cast<int16_t>(bits), 0, 1, 0, nullptr, nullptr);
        ASSERT_NE(saved, 0);
        const std::string icon = bmp_test::windowsPath(file("ours.ico"));
        ASSERT_EQ(PXLSaveImage(saved, icon.c_str(), PXL_FORMAT_ICO, 0, 0, nullptr), 1);
        ASSERT_TRUE(run("icotool -l " + q("ours.ico")));
        ASSERT_TRUE(run("convert " + q("ours.ico") + " -depth 8 ppm:" + q("ours.ppm")));
        expectSameAsPpm("ours.ico", "ours.ppm");
    }
}

}  // namespace
