// Frame and animation information: what is set is what is read, strings are copies both ways, a
// "|" in a title becomes "]", transparency is reported only for one palette-index entry, and the
// text block keeps its 81 field bytes beside its text.
#include <cstdlib>
#include <cstring>
#include <string>

#include "../pixmill_fixture.h"

namespace {

using FrameInfo = PixmillTest;

struct FreedInfo : PxlFramesInfo {
    FreedInfo() : PxlFramesInfo{} {}
    ~FreedInfo() {
        std::free(comment);
        std::free(title);
        if (textBlock) std::free(textBlock->text);
        std::free(textBlock);
    }
};

TEST_F(FrameInfo, SetThenGetWithCopiedStrings) {
    const PxlImageId id = PXLCreateImage(6, 4, 8);
    char comment[] = "comment";
    char title[] = "a|b|";
    char text[] = "block text";
    PxlTextBlock block{};
    for (int i = 0; i < 81; ++i) block.fields[i] = static_cast<uint8_t>(200 - i);
    block.text = text;
    PxlFramesInfo in{99, 99, -3, 7, 25, 2, PXL_FRAME_TRANSPARENT_INDEX | 17, comment, title, &block};
    ASSERT_EQ(PXLSetImageFramesInfo(id, &in), 1);
    std::strcpy(comment, "changed");  // the library holds its own copies
    std::strcpy(text, "changed!!!");

    FreedInfo out;
    ASSERT_EQ(PXLGetImageFramesInfo(id, &out), 1);
    EXPECT_EQ(out.width, 6);  // the image's own size, whatever was set
    EXPECT_EQ(out.height, 4);
    EXPECT_EQ(out.left, -3);
    EXPECT_EQ(out.top, 7);
    EXPECT_EQ(out.delay, 25);
    EXPECT_EQ(out.disposal, 2);
    EXPECT_EQ(out.transparency, PXL_FRAME_TRANSPARENT_INDEX | 17);
    ASSERT_NE(out.comment, nullptr);
    EXPECT_STREQ(out.comment, "comment");
    EXPECT_NE(out.comment, comment);
    ASSERT_NE(out.title, nullptr);
    EXPECT_STREQ(out.title, "a]b]");
    ASSERT_NE(out.textBlock, nullptr);
    EXPECT_EQ(std::memcmp(out.textBlock->fields, block.fields, 81), 0);
    EXPECT_STREQ(out.textBlock->text, "block text");

    int32_t count = 0;
    const PxlTransparencyEntry* entries = PXLGetImageTransparentData(id, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(entries[0].kind, PXL_TRANSPARENT_INDEX);
    EXPECT_EQ(entries[0].blue, 17);
    EXPECT_EQ(entries[0].red, 0);
}

TEST_F(FrameInfo, ClearingAndWhatIsKept) {
    const PxlImageId id = PXLCreateImage(2, 2, 8);
    char text[] = "kept";
    PxlTextBlock block{};
    block.text = text;
    PxlFramesInfo first{0, 0, 0, 0, 0, 0, PXL_FRAME_TRANSPARENT_INDEX | 3, nullptr, nullptr, &block};
    ASSERT_EQ(PXLSetImageFramesInfo(id, &first), 1);
    PxlTextBlock withoutText{};
    PxlFramesInfo second{0, 0, 1, 1, 5, 1, 0x2000005, nullptr, nullptr, &withoutText};
    ASSERT_EQ(PXLSetImageFramesInfo(id, &second), 1);
    FreedInfo out;
    ASSERT_EQ(PXLGetImageFramesInfo(id, &out), 1);
    EXPECT_EQ(out.transparency, 0);  // any other top byte clears
    EXPECT_EQ(out.comment, nullptr);
    EXPECT_EQ(out.title, nullptr);
    ASSERT_NE(out.textBlock, nullptr);  // a block without text leaves the old one
    EXPECT_STREQ(out.textBlock->text, "kept");
    int32_t count = -1;
    EXPECT_EQ(PXLGetImageTransparentData(id, &count), nullptr);
    EXPECT_EQ(count, 0);
}

// Only exactly one palette-index entry is a GIF frame's transparency.
TEST_F(FrameInfo, TransparencyIsReportedForOnePaletteIndexEntry) {
    const PxlImageId id = PXLCreateImage(2, 2, 8);
    PxlTransparencyEntry index{0, 0, 0x1F4, 0, PXL_TRANSPARENT_INDEX, 0, 0};
    PxlTransparencyEntry colour{1, 2, 3, 0, PXL_TRANSPARENT_COLOR, 0, 0};
    struct Case {
        std::vector<PxlTransparencyEntry> entries;
        int32_t reported;
    };
    const Case cases[] = {
        {{index}, PXL_FRAME_TRANSPARENT_INDEX | 0xF4}, {{colour}, 0}, {{index, index}, 0}, {{}, 0}};
    for (const Case& c : cases) {
        PXLSetImageTransparent(id, c.entries.data(), static_cast<int32_t>(c.entries.size()));
        FreedInfo out;
        ASSERT_EQ(PXLGetImageFramesInfo(id, &out), 1);
        EXPECT_EQ(out.transparency, c.reported) << c.entries.size();
    }
}

TEST_F(FrameInfo, AnimationInformation) {
    const PxlImageId f = PXLCreateImage(2, 2, 8), a = PXLCreateImage(2, 2, 8);
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    char text[] = "animation";
    PxlAnimateInfo in{50, 40, 77, 3, text};
    ASSERT_EQ(PXLSetAnimateInfo(f, &in), 1);
    text[0] = 'X';
    PxlAnimateInfo out{};
    ASSERT_EQ(PXLGetAnimateInfo(f, &out), 1);
    EXPECT_EQ(out.screenWidth, 50);
    EXPECT_EQ(out.screenHeight, 40);
    EXPECT_EQ(out.frameCount, 2);  // counted, not the value set
    EXPECT_EQ(out.repeatCount, 3);
    ASSERT_NE(out.text, nullptr);
    EXPECT_STREQ(out.text, "animation");
    std::free(out.text);
    EXPECT_EQ(PXLGetImagesRepeatCycle(f), 3);

    PxlAnimateInfo none{1, 1, 0, -5, nullptr};
    ASSERT_EQ(PXLSetAnimateInfo(f, &none), 1);
    ASSERT_EQ(PXLGetAnimateInfo(f, &out), 1);
    EXPECT_EQ(out.repeatCount, -1);
    EXPECT_EQ(out.text, nullptr);
}

TEST_F(FrameInfo, RefusedForNullsAndUnknownIds) {
    const PxlImageId id = PXLCreateImage(2, 2, 8);
    PxlFramesInfo info{};
    PxlAnimateInfo animate{};
    EXPECT_EQ(PXLGetImageFramesInfo(0, &info), 0);
    EXPECT_EQ(PXLGetImageFramesInfo(999, &info), 0);
    EXPECT_EQ(PXLGetImageFramesInfo(id, nullptr), 0);
    EXPECT_EQ(PXLSetImageFramesInfo(0, &info), 0);
    EXPECT_EQ(PXLSetImageFramesInfo(id, nullptr), 0);
    EXPECT_EQ(PXLGetAnimateInfo(999, &animate), 0);
    EXPECT_EQ(PXLGetAnimateInfo(id, nullptr), 0);
    EXPECT_EQ(PXLSetAnimateInfo(0, &animate), 0);
    EXPECT_EQ(PXLSetAnimateInfo(id, nullptr), 0);
}

}  // namespace
