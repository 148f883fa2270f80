// The GIF reader against independent programs: files written by gifsicle, ImageMagick, netpbm and
// giflib's gifbuild decode here frame by frame to the colours giflib's own dump (gifbuild -d)
// gives, with the delays, disposals, loop count, transparency and texts the files were made with.
// The programs run on files in a temporary folder whose names this test makes.
#include <fstream>

#include "gif_tool_support.h"

namespace {

using namespace gif_test;
using codec_test::CodecRun;
namespace fs = std::filesystem;
using gif_tools::DumpedImage;
using gif_tools::dump;
using gif_tools::have;
using gif_tools::run;

void expectFramesAsDumped(const fs::path& file) {
    const Bytes bytes = bmp_test::readFile(file);
    const std::vector<DumpedImage> images = dump(file);
    ASSERT_FALSE(images.empty()) << "gifbuild read nothing from " << file;
    for (size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const CodecRun r = readGif(bytes, static_cast<int16_t>(i));
        ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
        EXPECT_EQ(r.info.frameCount, static_cast<int16_t>(images.size()));
        ASSERT_EQ(r.info.width, images[i].width);
        ASSERT_EQ(r.info.height, images[i].height);
        int differences = 0;
        for (int y = 0; y < r.info.height; ++y) {
            for (int x = 0; x < r.info.width; ++x) {
                const uint32_t theirs = images[i].colours[static_cast<size_t>(y * r.info.width + x)];
                if (r.rgb(x, y) != theirs && ++differences <= 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": ours " << std::hex << r.rgb(x, y) << ", giflib "
                                  << theirs;
                }
            }
        }
        EXPECT_EQ(differences, 0);
    }
}

class GifCrossCheck : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TOOLS("giflib-tools", "gifbuild");
    }
    fs::path file(const std::string& name) const { return folder_.file(name); }
    std::string q(const std::string& name) const { return "'" + file(name).string() + "'"; }
    bmp_test::TempFolder folder_;
};

// The test's own encoder, checked by giflib: the crafted files of the other tests are real GIFs.
TEST_F(GifCrossCheck, TestEncoderFilesDecodeInGiflib) {
    for (WhenFull whenFull : {WhenFull::Clear, WhenFull::Keep}) {
        for (int bits : {1, 3, 8}) {
            Image im;
            im.width = 131;
            im.height = 67;
            im.localBits = bits;
            im.whenFull = whenFull;
            for (int i = 0; i < im.width * im.height; ++i) {
                im.pixels.push_back(static_cast<uint8_t>(((i * 2654435761u) >> 13) % (1u << bits)));
            }
            bmp_test::writeFile(file("ours.gif"), GifFile(131, 67, 0).image(im).done());
            expectFramesAsDumped(file("ours.gif"));
        }
    }
}

TEST_F(GifCrossCheck, GifsicleAnimations) {
    REQUIRE_TOOLS("gifsicle", "gifsicle");
    REQUIRE_TOOLS("imagemagick", "convert");
    ASSERT_TRUE(run("convert -size 23x17 gradient:red-blue -colors 7 " + q("f0.gif")));
    ASSERT_TRUE(run("convert -size 19x11 plasma:fractal -seed 3 -colors 60 " + q("f1.gif")));
    ASSERT_TRUE(run("convert -size 23x17 xc:white -fill green -draw 'circle 10,8 14,8' -colors 5 " + q("f2.gif")));
    ASSERT_TRUE(run("gifsicle --loopcount=0 --delay 5 " + q("f0.gif") + " --delay 9 --disposal=background " +
                    "--position 3,4 " + q("f1.gif") + " --delay 12 --disposal=previous -i --transparent 0 " +
                    "--comment 'made by gifsicle' " + q("f2.gif") + " -o " + q("anim.gif")));
    expectFramesAsDumped(file("anim.gif"));
    const Bytes bytes = bmp_test::readFile(file("anim.gif"));
    struct Expected {
        int16_t delay, disposal, left, top;
        bool interlaced, transparent;
    };
    const Expected expected[] = {{5, 0, 0, 0, false, false}, {9, 2, 3, 4, false, false}, {12, 3, 3, 4, true, true}};
    for (int16_t i = 0; i < 3; ++i) {
        const CodecRun r = readGif(bytes, i);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.info.frameDelay, expected[i].delay) << i;
        EXPECT_EQ(r.info.controlWord, expected[i].disposal) << i;
        EXPECT_EQ(r.info.frameLeft, expected[i].left) << i;
        EXPECT_EQ(r.info.frameTop, expected[i].top) << i;
        // After a load the flags hold the descriptor byte of the last image read.
        if (i == 2) {
            EXPECT_EQ((r.info.flags & 0x40) != 0, expected[i].interlaced);
        }
        EXPECT_EQ(r.info.transparency, expected[i].transparent ? 0x01000000u : 0xFF000000u) << i;
    }
    const CodecRun first = readGif(bytes, 0);
    EXPECT_EQ(first.info.repeatCount, 0);
    EXPECT_EQ(first.info.screenWidth, 26);  // the position widens the screen
    EXPECT_EQ(first.info.screenHeight, 21);
    EXPECT_EQ(readGif(bytes, 2).info.comment, std::optional<std::string>("made by gifsicle"));
}

TEST_F(GifCrossCheck, ImageMagickAndNetpbmFiles) {
    REQUIRE_TOOLS("imagemagick", "convert");
    ASSERT_TRUE(run("convert -size 37x23 gradient:yellow-navy -colors 200 -interlace GIF " + q("im.gif")));
    expectFramesAsDumped(file("im.gif"));
    ASSERT_TRUE(run("convert -size 41x9 plasma:fractal -seed 5 -colors 16 " + q("im16.gif")));
    expectFramesAsDumped(file("im16.gif"));
    REQUIRE_TOOLS("netpbm", "pamtogif");
    ASSERT_TRUE(run("convert -size 29x13 gradient:white-black -colors 30 ppm:- | pamtogif > " + q("pbm.gif")));
    expectFramesAsDumped(file("pbm.gif"));
}

// The library's own title and text blocks, written by giflib's gifbuild from its text form.
TEST_F(GifCrossCheck, TitleAndTextBlocksFromGifbuild) {
    const std::string record(81, 'F');
    const std::string spec =
        "screen width 2\nscreen height 1\nscreen colors 2\nscreen map\nrgb 0 0 0 is a\nrgb 255 255 255 is b\nend\n"
        "image\nimage bits 2 by 1\nab\n"
        "extension ff\nKVATEXTI4.0\n" + record + "RRRR\nsecond \nframe text\nend\n"
        "image\nimage bits 2 by 1\nba\n"
        "extension ff\nKVATITLE4.0\nfirst|second\nend\n";
    {
        std::ofstream out(file("spec.txt"));
        out << spec;
    }
    ASSERT_TRUE(run("gifbuild < " + q("spec.txt") + " > " + q("texts.gif")));
    const Bytes bytes = bmp_test::readFile(file("texts.gif"));
    const CodecRun first = readGif(bytes, 0);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.info.title, std::optional<std::string>("first|second"));
    const CodecRun second = readGif(bytes, 1);
    ASSERT_TRUE(second.ok());
    ASSERT_TRUE(second.info.textBlock.has_value());
    EXPECT_EQ(std::string(second.info.textBlock->parameters.begin(), second.info.textBlock->parameters.end()), record);
    EXPECT_EQ(second.info.textBlock->text, "second frame text");
    expectFramesAsDumped(file("texts.gif"));
}

}  // namespace
