// Animations through files: GIF frames loaded as a chain (ids, facts, titles), stopped by the
// callback or by a break request, saved again with the bits each frame needs and local tables only
// where the palette differs; failed or stopped saves keep the old file; and the transparent colour
// of a one-frame GIF rewritten in place.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>

#include "../pixmill_fixture.h"
#include "core/frames/frame_break.h"
#include "gif_test_support.h"

namespace {

using namespace gif_test;
namespace fs = std::filesystem;

class FrameFiles : public PixmillTest {
  protected:
    std::string path(const std::string& name) const { return bmp_test::windowsPath(folder_.file(name)); }
    void write(const std::string& name, const Bytes& bytes) const {
        bmp_test::writeFile(folder_.file(name), bytes);
    }
    Bytes read(const std::string& name) const { return bmp_test::readFile(folder_.file(name)); }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_.path()))
            names.insert(e.path().filename().string());
        return names;
    }
    bmp_test::TempFolder folder_;
};

// Three frames: a full screen, one placed with a delay and disposal 2, one transparent.
Bytes threeFrames(const std::vector<Bytes>& extras = {}) {
    GifFile g(8, 6, 4);
    g.loop(5).control(7, 1);
    Image a;
    a.width = 8;
    a.height = 6;
    a.pixels = pattern(8, 6, 16);
    g.image(a).control(20, 2);
    Image b;
    b.left = 2;
    b.top = 1;
    b.width = 3;
    b.height = 2;
    b.pixels = pattern(3, 2, 16, 5);
    g.image(b).control(30, 3, 4);
    Image c;
    c.width = 4;
    c.height = 4;
    c.localBits = 2;
    c.pixels = pattern(4, 4, 4, 1);
    g.image(c);
    for (const Bytes& extra : extras) g.raw(extra);
    return g.done();
}

Bytes titleBlock(const std::string& text) {
    Bytes b{0x21, 0xFF, 11};
    const std::string id = "KVATITLE4.0";
    b.insert(b.end(), id.begin(), id.end());
    const Bytes blocks = subBlocks(Bytes(text.begin(), text.end()));
    b.insert(b.end(), blocks.begin(), blocks.end());
    return b;
}

int32_t entryIndex(PxlImageId id) {
    int32_t count = 0;
    const PxlTransparencyEntry* e = PXLGetImageTransparentData(id, &count);
    return count == 1 && e[0].kind == PXL_TRANSPARENT_INDEX ? e[0].blue : -1;
}

TEST_F(FrameFiles, AThreeFrameGifLoadsAsAChain) {
    write("a.gif", threeFrames());
    const PxlImageId f = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, nullptr, 0);
    ASSERT_GT(f, 0);
    EXPECT_EQ(PXLGetImageFramesNum(f), 3);
    struct Expected {
        int width, height, left, top, delay, disposal, transparent;
    };
    const Expected expected[] = {{8, 6, 0, 0, 7, 1, -1}, {3, 2, 2, 1, 20, 2, -1}, {4, 4, 0, 0, 30, 3, 4}};
    for (int i = 0; i < 3; ++i) {
        const PxlImageId id = PXLGetImageFramesImage(f, int16_t(i));
        EXPECT_EQ(id, f + i);
        pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Read);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->firstFrame, f);
        EXPECT_EQ(frame->frameFlag, 1);
        EXPECT_EQ(frame->width(), expected[i].width);
        EXPECT_EQ(frame->left, expected[i].left);
        EXPECT_EQ(frame->top, expected[i].top);
        EXPECT_EQ(frame->delay, expected[i].delay);
        EXPECT_EQ(frame->disposal, expected[i].disposal);
        EXPECT_EQ(frame->screenWidth, 8);
        EXPECT_EQ(frame->screenHeight, 6);
        frame.release();
        EXPECT_EQ(entryIndex(id), expected[i].transparent) << i;
    }
    EXPECT_EQ(PXLGetImagesRepeatCycle(f), 5);
    PXLDeleteImage(f);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

// An animation cut at every length loads as the frames it still holds (or not at all), and
// deleting what loaded leaves nothing behind.
TEST_F(FrameFiles, EveryPrefixOfAnAnimationLoadsSafely) {
    const Bytes whole = threeFrames({titleBlock("a|b|c")});
    int chains = 0;
    for (size_t length = 0; length < whole.size(); ++length) {
        write("cut.gif", Bytes(whole.begin(), whole.begin() + long(length)));
        const PxlImageId f = PXLLoadImageFramesOffset(path("cut.gif").c_str(), 0, nullptr, 0);
        ASSERT_GE(f, 0) << length;
        if (f > 0) {
            ++chains;
            EXPECT_LE(PXLGetImageFramesNum(f), 3) << length;
            PXLDeleteImage(f);
        }
        ASSERT_EQ(pixmill::liveImageCount(), 0u) << length;
    }
    EXPECT_GT(chains, 0);
}

TEST_F(FrameFiles, OtherFormatsLoadTheirOnePicture) {
    const PxlImageId id = PXLCreateImage(5, 4, 24);
    ASSERT_EQ(PXLSaveImage(id, path("p.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    PXLDeleteImage(id);
    const PxlImageId loaded = PXLLoadImageFramesOffset(path("p.bmp").c_str(), 0, nullptr, 0);
    ASSERT_GT(loaded, 0);
    EXPECT_EQ(PXLGetImageFramesNum(loaded), 1);
    EXPECT_EQ(PXLLoadImageFramesOffset(path("missing.gif").c_str(), 0, nullptr, 0), 0);
}

TEST_F(FrameFiles, TitlesAreSplitAtTheSeparator) {
    struct Case {
        std::string joined;
        std::vector<std::optional<std::string>> titles;
    };
    const Case cases[] = {{"a||c", {"a", std::nullopt, "c"}},
                          {"a||c|", {"a", std::nullopt, "c"}},
                          {"whole", {"whole", std::nullopt, std::nullopt}},
                          {"|b", {std::nullopt, "b", std::nullopt}}};
    for (const Case& c : cases) {
        write("t.gif", threeFrames({titleBlock(c.joined)}));
        const PxlImageId f = PXLLoadImageFramesOffset(path("t.gif").c_str(), 0, nullptr, 0);
        ASSERT_GT(f, 0);
        for (int i = 0; i < 3; ++i) {
            pixmill::ImageLock frame = pixmill::lockImage(PxlImageId(f + i), pixmill::Access::Read);
            EXPECT_EQ(frame->title, c.titles[size_t(i)]) << c.joined << " frame " << i;
        }
        PXLDeleteImage(f);
    }
}

struct Stop {
    static int at;
    static std::vector<int> seen;
    static int callback(PxlImageId, int index, intptr_t user) {
        seen.push_back(index * 100 + static_cast<int>(user));
        return index == at ? 1 : 0;
    }
};
int Stop::at = -1;
std::vector<int> Stop::seen;

TEST_F(FrameFiles, ACallbackThatStopsLeavesNothing) {
    write("a.gif", threeFrames());
    for (int at : {0, 1, 2}) {
        Stop::at = at;
        Stop::seen.clear();
        EXPECT_EQ(PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, &Stop::callback, 7), -1) << at;
        EXPECT_EQ(pixmill::liveImageCount(), 0u) << at;
        EXPECT_EQ(Stop::seen.size(), size_t(at + 1));
    }
    Stop::at = -1;
    Stop::seen.clear();
    const PxlImageId f = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, &Stop::callback, 7);
    EXPECT_GT(f, 0);
    EXPECT_EQ(Stop::seen, (std::vector<int>{7, 107, 207}));
}

std::vector<intptr_t> seenUsers;
int recordUser(PxlImageId, int, intptr_t user) {
    seenUsers.push_back(user);
    return 0;
}
// The caller's own state, reached through the caller value.
struct FrameLog {
    std::vector<int> frames;
};
int logThroughUser(PxlImageId, int index, intptr_t user) {
    reinterpret_cast<FrameLog*>(user)->frames.push_back(index);
    return 0;
}

// The caller value is pointer-sized: values beyond 32 bits, negative ones and a pointer to the
// caller's state come back to every call of a load and of a save unchanged.
TEST_F(FrameFiles, TheCallerValueReachesTheCallbackWhole) {
    write("a.gif", threeFrames());
    const PxlImageId chain = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, nullptr, 0);
    ASSERT_EQ(PXLGetImageFramesNum(chain), 3);
    auto log = std::make_unique<FrameLog>();
    const intptr_t pointer = reinterpret_cast<intptr_t>(log.get());
    std::vector<intptr_t> values{pointer, -2, INTPTR_MIN, INTPTR_MAX};
    if constexpr (sizeof(intptr_t) > 4) values.push_back(static_cast<intptr_t>(0x123456789ALL));
    for (const intptr_t user : values) {
        seenUsers.clear();
        const PxlImageId f = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, recordUser, user);
        ASSERT_GT(f, 0) << user;
        PXLDeleteImage(f);
        ASSERT_EQ(PXLSaveImageFrames(chain, path("s.gif").c_str(), PXL_FORMAT_GIF, 0, 0, recordUser, user), 1)
            << user;
        EXPECT_EQ(seenUsers, std::vector<intptr_t>(6, user)) << user;
    }
    const PxlImageId f = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, logThroughUser, pointer);
    ASSERT_GT(f, 0);
    PXLDeleteImage(f);
    ASSERT_EQ(PXLSaveImageFrames(chain, path("s.gif").c_str(), PXL_FORMAT_GIF, 0, 0, logThroughUser, pointer),
              1);
    EXPECT_EQ(log->frames, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    PXLDeleteImage(chain);
}

// A break asked between frames keeps the frames so far, and its slot is freed.
TEST_F(FrameFiles, ABreakBetweenFramesGivesAShorterChain) {
    write("a.gif", threeFrames());
    pixmill::clearFrameBreakTable();
    const auto askBreak = [](PxlImageId first, int index, intptr_t) {
        if (index == 1) PXLBreakLoadImageFrames(first);
        return 0;
    };
    const PxlImageId f = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, askBreak, 0);
    ASSERT_GT(f, 0);
    EXPECT_EQ(PXLGetImageFramesNum(f), 2);
    for (PxlImageId slot : pixmill::frameBreakSlots()) EXPECT_EQ(slot, 0);
}

TEST_F(FrameFiles, BreakRequestsGoIntoTheTableWhileThereIsRoom) {
    pixmill::clearFrameBreakTable();
    EXPECT_EQ(PXLBreakLoadImageFrames(0), 0);
    EXPECT_EQ(PXLBreakLoadImageFrames(-3), 0);
    for (PxlImageId id = 1; id <= 10; ++id) EXPECT_EQ(PXLBreakLoadImageFrames(id), 1);
    EXPECT_EQ(pixmill::frameBreakSlots().back(), 1);  // the last free slot first
    EXPECT_EQ(PXLBreakLoadImageFrames(5), 1);         // already asked
    EXPECT_EQ(PXLBreakLoadImageFrames(11), 0);        // full: the request would be lost
    pixmill::clearFrameBreakTable();
}

// A chain of frames of three depths saved and loaded again: pixels, placement, timing, disposal,
// transparency, titles, comment, loop count and animation text.
TEST_F(FrameFiles, SavedChainsLoadBackAsTheyWere) {
    const PxlImageId f = PXLCreateImage(6, 4, 8), b = PXLCreateImage(3, 3, 4);
    const PxlImageId c = make24(2, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}});
    {
        pixmill::ImageLock frame = pixmill::lockImage(f, pixmill::Access::Write);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) pixmill::rowFromTop(*frame, y)[x] = uint8_t(x * 40 + y);
        frame->screenWidth = 9;
        frame->screenHeight = 7;
        frame->repeatCount = 0;
        frame->animationText = "the animation";
        frame->comment = "first";
        frame->title = "one";
    }
    ASSERT_EQ(PXLAddImageFrame(f, b, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(f, c, -1), 1);
    char third[] = "three";
    PxlFramesInfo info{0, 0, 5, 3, 40, 2, 0, nullptr, third, nullptr};
    PXLSetImageFramesInfo(c, &info);
    PxlFramesInfo second{0, 0, 1, 2, 15, 3, PXL_FRAME_TRANSPARENT_INDEX | 9, nullptr, nullptr, nullptr};
    PXLSetImageFramesInfo(b, &second);
    {
        pixmill::ImageLock frame = pixmill::lockImage(b, pixmill::Access::Write);
        for (int y = 0; y < 3; ++y) {
            pixmill::rowFromTop(*frame, y)[0] = uint8_t(0x9A + y);
            pixmill::rowFromTop(*frame, y)[1] = 0x90;
        }
    }
    ASSERT_EQ(PXLSaveImageFrames(f, path("s.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(files(), std::set<std::string>{"s.gif"});

    const PxlImageId g = PXLLoadImageFramesOffset(path("s.gif").c_str(), 0, nullptr, 0);
    ASSERT_GT(g, 0);
    ASSERT_EQ(PXLGetImageFramesNum(g), 3);
    EXPECT_EQ(PXLGetImagesRepeatCycle(g), 0);
    EXPECT_EQ(PXLWidthFrameScreen(g), 9);
    const PxlImageId originals[] = {f, b, c};
    for (int i = 0; i < 3; ++i) {
        const PxlImageId id = PXLGetImageFramesImage(g, int16_t(i));
        PxlFramesInfo want{}, got{};
        PXLGetImageFramesInfo(originals[i], &want);
        PXLGetImageFramesInfo(id, &got);
        EXPECT_EQ(got.width, want.width) << i;
        EXPECT_EQ(got.height, want.height) << i;
        EXPECT_EQ(got.left, want.left) << i;
        EXPECT_EQ(got.top, want.top) << i;
        EXPECT_EQ(got.delay, want.delay) << i;
        EXPECT_EQ(got.disposal, want.disposal) << i;
        EXPECT_EQ(got.transparency, want.transparency) << i;
        EXPECT_EQ(std::string(got.title ? got.title : "-"), std::string(want.title ? want.title : "-")) << i;
        EXPECT_EQ(std::string(got.comment ? got.comment : "-"),
                  std::string(want.comment ? want.comment : "-"))
            << i;
        for (char* s : {got.title, got.comment, want.title, want.comment}) std::free(s);
        // A true-colour frame is saved through the 8-bit copy the depth converter makes of it.
        const PxlImageId expected = i == 2 ? PXLColorConvert(c, 8, 2, 1, 0, nullptr, nullptr) : originals[i];
        {
            pixmill::ImageLock a = pixmill::lockImage(expected, pixmill::Access::Read);
            pixmill::ImageLock o = pixmill::lockImage(id, pixmill::Access::Read);
            std::vector<uint8_t> rowA(size_t(3 * a->width())), rowO(size_t(3 * o->width()));
            for (int y = 0; y < want.height; ++y) {
                pixmill::readRowRgb(*a, y, rowA.data());
                pixmill::readRowRgb(*o, y, rowO.data());
                EXPECT_EQ(rowO, rowA) << "frame " << i << " row " << y;
            }
        }
        if (expected != originals[i]) PXLDeleteImage(expected);
    }
    PxlAnimateInfo animate{};
    PXLGetAnimateInfo(g, &animate);
    EXPECT_STREQ(animate.text, "the animation");
    std::free(animate.text);
}

// With flags 0x400 each frame's table holds the colours it uses; frames whose palette is the first
// frame's share its table.
TEST_F(FrameFiles, BitsPerFrameAndLocalTablesWhereThePaletteDiffers) {
    const PxlImageId f = PXLCreateImage(4, 1, 8), same = PXLCreateImage(4, 1, 8),
                     other = PXLCreateImage(4, 1, 8);
    const uint8_t firstRow[] = {0, 1, 2, 1}, sameRow[] = {5, 0, 0, 0}, otherRow[] = {0, 1, 0, 1};
    for (auto [id, row] : {std::pair{f, firstRow}, std::pair{same, sameRow}, std::pair{other, otherRow}}) {
        pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Write);
        std::copy_n(row, 4, pixmill::rowFromTop(*frame, 0));
    }
    PXLSetColorToPalette(other, 1, RGB(1, 2, 3));
    ASSERT_EQ(PXLAddImageFrame(f, same, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(f, other, -1), 1);
    ASSERT_EQ(PXLSaveImageFrames(f, path("b.gif").c_str(), PXL_FORMAT_GIF, 0x400, 0, nullptr, 0), 1);
    std::vector<PxlGifBlockEntry> blocks(size_t(PXLGetGifDetails(path("b.gif").c_str(), nullptr)));
    PXLGetGifDetails(path("b.gif").c_str(), blocks.data());
    std::vector<std::pair<int, int>> tables;  // kind, bits
    for (const PxlGifBlockEntry& e : blocks)
        if (e.kind == PXL_GIF_BLOCK_GLOBAL_TABLE || e.kind == PXL_GIF_BLOCK_LOCAL_TABLE)
            tables.push_back({e.kind, e.value});
    // The global table holds the 6 colours of the first two frames (3 bits); the third frame
    // uses 2 entries of a palette of its own (1 bit).
    EXPECT_EQ(tables, (std::vector<std::pair<int, int>>{{PXL_GIF_BLOCK_GLOBAL_TABLE, 3},
                                                        {PXL_GIF_BLOCK_LOCAL_TABLE, 1}}));
    const PxlImageId g = PXLLoadImageFramesOffset(path("b.gif").c_str(), 0, nullptr, 0);
    ASSERT_EQ(PXLGetImageFramesNum(g), 3);
    EXPECT_EQ(PXLGetColorFromPalette(PXLGetImageFramesImage(g, 2), 1), RGB(1, 2, 3));
    EXPECT_EQ(PXLGetColorFromPalette(PXLGetImageFramesImage(g, 1), 5), PXLGetColorFromPalette(same, 5));
}

int stopAtOne(PxlImageId, int index, intptr_t) {
    return index == 1 ? 1 : 0;
}

TEST_F(FrameFiles, StoppedOrFailedSavesKeepTheOldFile) {
    write("keep.gif", threeFrames());
    const Bytes before = read("keep.gif");
    const PxlImageId f = PXLCreateImage(4, 4, 8), b = PXLCreateImage(4, 4, 8);
    ASSERT_EQ(PXLAddImageFrame(f, b, -1), 1);
    EXPECT_EQ(PXLSaveImageFrames(f, path("keep.gif").c_str(), PXL_FORMAT_GIF, 0, 0, stopAtOne, 0), -1);
    EXPECT_EQ(read("keep.gif"), before);
    // A single true-colour image is no GIF the writer can make.
    const PxlImageId deep = PXLCreateImage(4, 4, 24);
    EXPECT_EQ(PXLSaveImage(deep, path("keep.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr), 0);
    EXPECT_EQ(PXLSaveImageFrames(deep, path("keep.gif").c_str(), PXL_FORMAT_JPEG + 1000, 0, 0, nullptr, 0),
              0);
    EXPECT_EQ(read("keep.gif"), before);
    EXPECT_EQ(files(), std::set<std::string>{"keep.gif"});
    EXPECT_EQ(PXLSaveImageFrames(0, path("keep.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr, 0), 0);
    // Other formats without 0x200 write the one image.
    EXPECT_EQ(PXLSaveImageFrames(f, path("one.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(PXLGetFormatFile(path("one.bmp").c_str()), PXL_FORMAT_BMP);
}

// A single save of a palette image: the rows are read at the image's own depth.
TEST_F(FrameFiles, SingleSavesOfEveryPaletteDepth) {
    for (int bits : {1, 4, 8}) {
        const PxlImageId id = PXLCreateImage(13, 3, bits);
        {
            pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < image->infoHeader().biWidth * bits / 8; ++x)
                    pixmill::rowFromTop(*image, y)[x] = uint8_t(x * 37 + y * 11);
        }
        const PxlTransparencyEntry entry{0, 0, 1, 0, PXL_TRANSPARENT_INDEX, 0, 0};
        PXLSetImageTransparent(id, &entry, 1);
        ASSERT_EQ(PXLSaveImage(id, path("one.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr), 1) << bits;
        const PxlImageId loaded = PXLLoadImage(0, path("one.gif").c_str(), nullptr);
        ASSERT_GT(loaded, 0);
        EXPECT_EQ(PXLCompareImages(id, loaded), 1) << bits;
        EXPECT_EQ(entryIndex(loaded), 1);
    }
}

TEST_F(FrameFiles, TransparentColourRewrittenInPlace) {
    GifFile g(5, 3, 4);
    Image im;
    im.width = 5;
    im.height = 3;
    im.pixels = pattern(5, 3, 16);
    write("one.gif", g.image(im).done());
    const PxlImageId original = PXLLoadImage(0, path("one.gif").c_str(), nullptr);
    ASSERT_EQ(PXLSetImageTransparentOrig(path("one.gif").c_str(), 3, 2, 0), 1);
    EXPECT_EQ(files(), std::set<std::string>{"one.gif"});
    PxlImageId id = PXLLoadImage(0, path("one.gif").c_str(), nullptr);
    EXPECT_EQ(entryIndex(id), im.pixels[2 * 5 + 3]);
    int32_t entries = 0;
    PXLSetImageTransparent(original, PXLGetImageTransparentData(id, &entries), 1);
    EXPECT_EQ(PXLCompareImages(id, original), 1);  // the pixels and palette stay
    PXLDeleteImage(id);
    ASSERT_EQ(PXLSetImageTransparentOrig(path("one.gif").c_str(), 0, 0, 1), 1);
    id = PXLLoadImage(0, path("one.gif").c_str(), nullptr);
    EXPECT_EQ(entryIndex(id), -1);
    int32_t count = -1;
    PXLGetImageTransparentData(id, &count);
    EXPECT_EQ(count, 0);
}

TEST_F(FrameFiles, TransparentColourRefusalsLeaveTheFileAlone) {
    write("anim.gif", threeFrames());
    const PxlImageId png = PXLCreateImage(4, 4, 8);
    ASSERT_EQ(PXLSaveImage(png, path("p.png").c_str(), PXL_FORMAT_PNG, 0, 0, nullptr), 1);
    GifFile g(5, 3, 4);
    Image im;
    im.width = 5;
    im.height = 3;
    im.pixels = pattern(5, 3, 16);
    write("one.gif", g.image(im).done());
    struct Case {
        std::string file;
        int x, y;
    };
    const Case cases[] = {{"anim.gif", 0, 0}, {"p.png", 0, 0},    {"one.gif", 5, 0},
                          {"one.gif", 0, 3},  {"one.gif", -1, 0}, {"missing.gif", 0, 0}};
    for (const Case& c : cases) {
        const Bytes before = fs::exists(folder_.file(c.file)) ? read(c.file) : Bytes{};
        EXPECT_EQ(PXLSetImageTransparentOrig(path(c.file).c_str(), c.x, c.y, 0), 0) << c.file << " " << c.x;
        if (!before.empty()) {
            EXPECT_EQ(read(c.file), before) << c.file;
        }
    }
    EXPECT_EQ(files(), (std::set<std::string>{"anim.gif", "p.png", "one.gif"}));
    EXPECT_EQ(PXLSetImageTransparentOrig(nullptr, 0, 0, 0), 0);
}

}  // namespace
