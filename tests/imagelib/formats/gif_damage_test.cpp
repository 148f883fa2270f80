// Damaged GIF files: every prefix of a two-frame file and every byte of it set to awkward values
// end in a result code or in the rows decoded so far, with no access outside a buffer; a load
// broken off through the front end leaves no image; a frame's transparent index becomes the
// loaded image's transparency entry.
#include <atomic>
#include <set>

#include "../pixmill_fixture.h"
#include "gif_test_support.h"

namespace {

using namespace gif_test;
using codec_test::CodecRun;

Bytes twoFrames() {
    Image a, b;
    a.width = 7;
    a.height = 5;
    a.pixels = pattern(7, 5, 8);
    b.left = 1;
    b.width = 4;
    b.height = 6;
    b.interlaced = true;
    b.localBits = 2;
    b.pixels = pattern(4, 6, 4, 1);
    return GifFile(9, 7, 3).loop(2).control(4, 1, 3).comment("note").image(a).control(6).image(b).done();
}

void expectOrderly(const CodecRun& r) {
    static const std::set<int16_t> failures = {2, 3};
    if (r.infoResult != 0) {
        EXPECT_TRUE(failures.count(r.infoResult)) << "info " << r.infoResult;
        return;
    }
    EXPECT_TRUE(r.loadResult == 0 || failures.count(r.loadResult)) << "load " << r.loadResult;
}

TEST(GifDamage, EveryPrefix) {
    const Bytes whole = twoFrames();
    ASSERT_TRUE(readGif(whole, 1).ok());
    for (size_t n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        for (int16_t frame : {0, 1}) expectOrderly(readGif(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)), frame));
    }
}

TEST(GifDamage, EveryByteSetToAwkwardValues) {
    const Bytes whole = twoFrames();
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t v : {uint8_t{0x00}, uint8_t{0x01}, uint8_t{0x2C}, uint8_t{0x7F}, uint8_t{0xFF}}) {
            if (whole[at] == v) continue;
            SCOPED_TRACE("byte " + std::to_string(at) + " = " + std::to_string(v));
            Bytes b = whole;
            b[at] = v;
            for (int16_t frame : {0, 1}) expectOrderly(readGif(b, frame));
        }
    }
}

// Random code streams at every minimum code size: whatever they hold, the decoder ends.
TEST(GifDamage, RandomCodeStreams) {
    uint32_t seed = 12345;
    for (int size = 2; size <= 8; ++size) {
        for (int trial = 0; trial < 40; ++trial) {
            Bytes data(static_cast<size_t>(50 + trial * 7));
            for (uint8_t& b : data) {
                seed = seed * 1103515245u + 12345u;
                b = static_cast<uint8_t>(seed >> 16);
            }
            Image im;
            im.width = 13;
            im.height = 9;
            im.minimumCodeSize = size;
            im.data = subBlocks(data, 1 + trial % 255);
            const CodecRun r = readGif(GifFile(13, 9, size).image(im).done());
            EXPECT_EQ(r.infoResult, 0);
            EXPECT_EQ(r.loadResult, 0);
        }
    }
}

class GifLoad : public PixmillTest {};

std::atomic<int> rowsSeen{0};
void breakAfterTwoRows() {
    if (++rowsSeen == 2) PXLBreakLoad();
}

TEST_F(GifLoad, TransparentIndexBecomesAnEntryAndABreakLeavesNoImage) {
    bmp_test::TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("t.gif"));
    bmp_test::writeFile(folder.file("t.gif"), twoFrames());
    const PxlImageId id = PXLLoadImage(0, path.c_str(), nullptr);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLbpp(id), 4);
    int32_t count = 0;
    const PxlTransparencyEntry* e = PXLGetImageTransparentData(id, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(e[0].kind, PXL_TRANSPARENT_INDEX);
    EXPECT_EQ(e[0].blue, 3);

    rowsSeen = 0;
    EXPECT_EQ(PXLLoadImage(0, path.c_str(), breakAfterTwoRows), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
}

}  // namespace
