// FLI and FLC files of the tests' encoder decoded by ffmpeg's FLIC decoder as well: every frame
// it gives, the ring frame included, shows the colours our stream shows. Two differences are
// ffmpeg's own: it widens 64-level colours by repeating their top bits (63 gives 255, where the
// stream gives 252), and it puts the last-byte word of an odd-width FLC row past the row's end,
// so the FLC pictures here have even widths. It also reads literal frames as rows padded to 4
// bytes, so those pictures have widths that need no padding.
#include "../pixmill_fixture.h"
#include "bmp_test_support.h"
#include "flic_test_support.h"
#include "support/tool_runner.h"

namespace {

using namespace flic_test;

TEST(FlicCrossCheck, FfmpegDecodesTheSameFrames) {
    REQUIRE_TOOLS("ffmpeg", "ffmpeg");
    struct Case {
        Kind kind;
        int width, height, frames;
        FirstFrame first;
        const char* name;
    };
    const Case cases[] = {{kFli, 32, 20, 8, FirstFrame::ByteRun, "a.fli"},
                          {kFlc, 34, 21, 8, FirstFrame::ByteRun, "b.flc"},
                          {kFlc, 24, 10, 5, FirstFrame::Literal, "c.flc"},
                          {kFli, 20, 9, 4, FirstFrame::Literal, "d.fli"},
                          {kFli, 17, 9, 4, FirstFrame::ByteRun, "e.fli"}};
    bmp_test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Picture> pics = pictures(c.frames, c.width, c.height, uint32_t(c.frames + c.width));
        bmp_test::writeFile(folder.file(c.name), animation(c.kind, c.width, c.height, pics, c.first));
        const std::string decoded =
            tool_runner::output("ffmpeg -v error -i " + tool_runner::quoted(folder.file(c.name)) +
                                " -f rawvideo -pix_fmt rgb24 -");
        const Bytes theirs(decoded.begin(), decoded.end());
        const size_t frameBytes = size_t(3 * c.width * c.height);
        ASSERT_GE(theirs.size(), frameBytes * size_t(c.frames))
            << "ffmpeg gave " << theirs.size() << " bytes";
        FlicStream* stream = nullptr;
        ASSERT_EQ(FLICFileOpen(&stream, bmp_test::windowsPath(folder.file(c.name)).c_str()), 0);
        for (size_t f = 0; f < theirs.size() / frameBytes; ++f) {
            ASSERT_EQ(FLICStreamGetNextFrame(stream), 0) << f;
            Bytes ours;
            for (int i = 0; i < c.width * c.height; ++i) {
                const uint8_t* rgb = stream->palette + 3 * stream->frame[i];
                for (int k = 0; k < 3; ++k)
                    ours.push_back(c.kind == kFli ? uint8_t(rgb[k] | rgb[k] >> 6) : rgb[k]);
            }
            const auto diff = std::mismatch(ours.begin(), ours.end(), theirs.begin() + long(f * frameBytes));
            EXPECT_TRUE(diff.first == ours.end())
                << "frame " << f << " byte " << (diff.first - ours.begin()) << ": ours " << int(*diff.first)
                << ", ffmpeg " << int(*diff.second);
        }
        FLICFileRelease(stream);
    }
}

}  // namespace
