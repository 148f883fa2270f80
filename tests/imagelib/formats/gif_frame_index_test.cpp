// The index of a GIF file's frames: where an info pass finds each frame's blocks, loads that use
// the index giving exactly what loads without it give (every frame of whole, cut and damaged
// animations, asked in any order), an index of a file that changed or of another offset left
// unused, and chains that take every frame from the file as it is when the frame is loaded.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "../pixmill_fixture.h"
#include "formats/gif_frame_index.h"
#include "formats/image_load.h"
#include "gif_test_support.h"

namespace {

using namespace gif_test;
namespace fs = std::filesystem;
using pixmill::GifFrameIndex;

struct FrameRun {
    int16_t infoResult = -1;
    int16_t loadResult = -1;
    pixmill::PxlCodecInfo info;
    std::optional<bmp_test::CollectingSink> sink;
    int ticks = 0;
};

// Info, back to the picture's start, then load of one frame, as the front end does.
FrameRun runFrame(const fs::path& file, int64_t offset, int16_t frame, GifFrameIndex* index) {
    FrameRun run;
    run.info.wantedFrame = frame;
    pixmill::ByteStream stream;
    if (!stream.openFile(bmp_test::windowsPath(file).c_str(), "rb") || !stream.seek(offset, SEEK_SET)) {
        ADD_FAILURE() << "cannot open the test file";
        return run;
    }
    bmp_test::tickCounter = &run.ticks;
    pixmill::CodecCall call{run.info, stream};
    call.offset = offset;
    call.progress = &bmp_test::countTick;
    call.gifFrames = index;
    run.infoResult = pixmill::gifInfo(call);
    if (run.infoResult == pixmill::kCodecOk) {
        stream.seek(offset, SEEK_SET);
        run.sink.emplace(pixmill::prepareRowTransfer(run.info));
        call.sink = &*run.sink;
        run.loadResult = pixmill::gifLoad(call);
    }
    bmp_test::tickCounter = nullptr;
    return run;
}

std::string text(const std::optional<std::string>& s) { return s ? "\"" + *s + "\"" : "none"; }

// Everything a run leaves that a caller can see, as text, so that a difference shows where.
std::string seen(const FrameRun& r) {
    std::ostringstream o;
    o << "info " << r.infoResult << " load " << r.loadResult << "\n";
    if (r.infoResult != 0) return o.str();
    const pixmill::PxlCodecInfo& i = r.info;
    o << "detail " << i.detailText << " at " << i.frameLeft << "," << i.frameTop << " size " << i.width << "x"
      << i.height << " bits " << i.bitsPerPixel << " flags " << i.flags << " white " << i.whiteIndex << "\n"
      << "file " << i.fileSize << " bytes " << i.imageBytes << " frames " << i.frameCount << " delay "
      << i.frameDelay << " repeat " << i.repeatCount << " transparency " << i.transparency << " screen "
      << i.screenWidth << "x" << i.screenHeight << " control " << i.controlWord << "\n"
      << "comment " << text(i.comment) << " title " << text(i.title) << " text " << text(i.text) << "\n";
    if (i.textBlock) {
        o << "text block " << i.textBlock->text << " |";
        for (uint8_t b : i.textBlock->parameters) o << " " << int(b);
        o << "\n";
    }
    uint64_t palette = 14695981039346656037u;  // FNV-1a
    for (uint8_t b : i.palette) palette = (palette ^ b) * 1099511628211u;
    o << "palette " << palette << "\nticks " << r.ticks << " row order";
    for (int y : r.sink->order) o << " " << y;
    for (const Bytes& row : r.sink->rows()) {
        o << "\n";
        for (uint8_t b : row) o << " " << int(b);
    }
    return o.str();
}

class GifFrameIndexTest : public ::testing::Test {
protected:
    fs::path put(const Bytes& bytes, const Bytes& prefix = {}, const std::string& name = "a.gif") const {
        Bytes whole = prefix;
        whole.insert(whole.end(), bytes.begin(), bytes.end());
        bmp_test::writeFile(folder_.file(name), whole);
        return folder_.file(name);
    }

    // Every frame with one index shared by all runs, in the given order, next to runs without it.
    static void expectSameWithIndex(const fs::path& file, int64_t offset, const std::vector<int16_t>& order) {
        GifFrameIndex index;
        for (int16_t frame : order) {
            SCOPED_TRACE("frame " + std::to_string(frame));
            ASSERT_EQ(seen(runFrame(file, offset, frame, &index)),
                      seen(runFrame(file, offset, frame, nullptr)));
        }
    }
    static void expectSameWithIndex(const fs::path& file, int64_t offset = 0) {
        expectSameWithIndex(file, offset, {0, 1, 2, 3, 4, 5});
        expectSameWithIndex(file, offset, {5, 3, 1, 4, 2, 0});
    }

    static bool describes(const GifFrameIndex& index, const fs::path& file, int64_t offset) {
        pixmill::ByteStream stream;
        return stream.openFile(bmp_test::windowsPath(file).c_str(), "rb") && index.describes(stream, offset);
    }

    bmp_test::TempFolder folder_;
};

TEST_F(GifFrameIndexTest, AnInfoPassRecordsWhereEachFrameStartsAndTheValuesInForceThere) {
    Image small;
    small.width = 3;
    small.height = 2;
    small.pixels = pattern(3, 2, 4);
    Image local = small;
    local.localBits = 2;
    local.interlaced = true;
    GifFile g(6, 5, 2);
    const size_t first = g.soFar().size();
    g.loop(4).control(11, 2, 1).image(small);
    const size_t second = g.soFar().size();
    g.comment("x").raw({0xFF}).image(local);
    const size_t third = g.soFar().size();
    g.control(13, 1).image(small);
    const size_t end = g.soFar().size();
    const Bytes prefix(7, 0x55);
    const fs::path file = put(g.comment("tail").done(), prefix);

    GifFrameIndex index;
    ASSERT_EQ(runFrame(file, 7, 1, &index).infoResult, 0);
    ASSERT_TRUE(describes(index, file, 7));
    EXPECT_FALSE(describes(index, file, 0));
    ASSERT_EQ(index.frameCount(), 3);
    struct Expected {
        size_t start;
        int16_t delay, disposal;
        uint32_t transparency;
        int16_t repeat;
    };
    // The first mark stands after the global table, before the loop count is read.
    const Expected expected[] = {{first, 0, 0, pixmill::kNoTransparency, -1},
                                 {second, 11, 2, pixmill::kIndexTransparency + 0x10000, 4},
                                 {third, 11, 2, pixmill::kIndexTransparency + 0x10000, 4},
                                 {end, 13, 1, pixmill::kNoTransparency, 4}};
    for (int i = 0; i <= 3; ++i) {
        SCOPED_TRACE(i);
        const GifFrameIndex::Mark& m = index.mark(i);
        EXPECT_EQ(m.start, int64_t(prefix.size() + expected[i].start));
        EXPECT_EQ(m.delay, expected[i].delay);
        EXPECT_EQ(m.disposal, expected[i].disposal);
        EXPECT_EQ(m.transparency, expected[i].transparency);
        EXPECT_EQ(m.repeatCount, expected[i].repeat);
    }
    EXPECT_EQ(index.lastPacked(), 0);
    EXPECT_FALSE(index.lastDataBroken());
}

TEST_F(GifFrameIndexTest, EveryFrameOfAWholeAnimationLoadsAsWithoutTheIndex) {
    const Bytes prefix(5, 0x2C);
    const fs::path file = put(fourFrames(), prefix);
    expectSameWithIndex(file, 5);
    GifFrameIndex index;
    ASSERT_TRUE(runFrame(file, 5, 2, &index).sink->complete());
    EXPECT_TRUE(describes(index, file, 5));
    EXPECT_EQ(index.frameCount(), 4);
}

// Cut anywhere, the frames before the cut must fail or load as they did: an image whose data
// breaks off fails the loads of the frames before it.
TEST_F(GifFrameIndexTest, EveryPrefixLoadsAsWithoutTheIndex) {
    const Bytes whole = fourFrames();
    for (size_t length = 13; length < whole.size(); ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        expectSameWithIndex(put(Bytes(whole.begin(), whole.begin() + long(length))));
        if (HasFatalFailure()) return;
    }
}

TEST_F(GifFrameIndexTest, EveryByteSetToAwkwardValuesLoadsAsWithoutTheIndex) {
    const Bytes whole = fourFrames();
    for (size_t at = 6; at < whole.size(); ++at) {
        for (uint8_t v : {uint8_t{0x00}, uint8_t{0x2C}, uint8_t{0x21}, uint8_t{0xFF}}) {
            if (whole[at] == v) continue;
            SCOPED_TRACE("byte " + std::to_string(at) + " = " + std::to_string(v));
            Bytes b = whole;
            b[at] = v;
            expectSameWithIndex(put(b), 0, {0, 1, 2, 3, 4});
            if (HasFatalFailure()) return;
        }
    }
}

// Two animations whose frames stand at different places, in the same file one after the other.
TEST_F(GifFrameIndexTest, AnIndexOfAnotherOffsetIsNotUsed) {
    const Bytes first = fourFrames();
    Image wide;
    wide.width = 30;
    wide.height = 2;
    wide.pixels = pattern(30, 2, 16, 3);
    const Bytes second = GifFile(30, 2, 4).image(wide).control(3).image(wide).done();
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    const fs::path file = put(both);
    const int64_t secondAt = int64_t(first.size());
    GifFrameIndex index;
    ASSERT_EQ(runFrame(file, 0, 0, &index).infoResult, 0);
    for (int16_t frame : {1, 0, 2}) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(seen(runFrame(file, secondAt, frame, &index)),
                  seen(runFrame(file, secondAt, frame, nullptr)));
    }
    EXPECT_TRUE(describes(index, file, secondAt));
}

// An index recorded from one file, then the file changed in each of the ways an identity tells:
// every frame still loads as the file now holds it.
TEST_F(GifFrameIndexTest, AnIndexOfAFileThatChangedIsNotUsed) {
    const Bytes before = fourFrames();
    // The same bytes with the first two frames' blocks swapped: the same size, other positions.
    Bytes swapped;
    {
        GifFrameIndex index;
        const fs::path file = put(before);
        ASSERT_EQ(runFrame(file, 0, 0, &index).infoResult, 0);
        const auto at = [&](int i) { return before.begin() + long(index.mark(i).start); };
        swapped.assign(before.begin(), at(0));
        swapped.insert(swapped.end(), at(1), at(2));
        swapped.insert(swapped.end(), at(0), at(1));
        swapped.insert(swapped.end(), at(2), before.end());
        ASSERT_EQ(swapped.size(), before.size());
        ASSERT_NE(index.mark(1).start - index.mark(0).start, index.mark(2).start - index.mark(1).start);
    }
    Bytes longer = before;
    longer.insert(longer.begin() + 13 + 48, {0x21, 0xFE, 3, 'n', 'e', 'w', 0});

    enum class Change { Rewritten, SameSizeLater, ReplacedWithTheOldTime };
    struct Case {
        const char* name;
        Change change;
        const Bytes& after;
    };
    const Case cases[] = {{"rewritten longer", Change::Rewritten, longer},
                          {"same size, later time", Change::SameSizeLater, swapped},
                          {"replaced, the old time kept", Change::ReplacedWithTheOldTime, swapped}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = put(before);
        GifFrameIndex index;
        ASSERT_EQ(runFrame(file, 0, 3, &index).infoResult, 0);
        const int64_t recorded = modifiedNs(file);
        switch (c.change) {
            case Change::Rewritten:
                put(c.after);
                break;
            case Change::SameSizeLater:
                put(c.after);
                setModifiedNs(file, recorded + 2'000'000'000);
                break;
            case Change::ReplacedWithTheOldTime:
                put(c.after, {}, "b.gif");
                setModifiedNs(folder_.file("b.gif"), recorded);
                fs::rename(folder_.file("b.gif"), file);
                break;
        }
        EXPECT_FALSE(describes(index, file, 0));
        for (int16_t frame : {1, 0, 2, 3}) {
            SCOPED_TRACE(frame);
            EXPECT_EQ(seen(runFrame(file, 0, frame, &index)), seen(runFrame(file, 0, frame, nullptr)));
        }
        EXPECT_TRUE(describes(index, file, 0));
    }
}

class GifFrameChain : public PixmillTest {
protected:
    std::string path(const std::string& name) const { return bmp_test::windowsPath(folder_.file(name)); }
    bmp_test::TempFolder folder_;
};

struct FrameFacts {
    int width, height, left, top, delay, disposal;
    std::optional<std::string> title, comment;
    bool operator==(const FrameFacts&) const = default;
};

FrameFacts factsOf(PxlImageId id) {
    pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Read);
    if (!frame) return {};
    return {frame->width(), frame->height(), frame->left, frame->top, frame->delay, frame->disposal,
            frame->title,   frame->comment};
}

// Each frame of the chain has its own facts and is the picture a load of that frame alone gives.
TEST_F(GifFrameChain, EveryFrameIsTheOneALoadOfItAloneGives) {
    bmp_test::writeFile(folder_.file("a.gif"), fourFrames());
    const PxlImageId first = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, nullptr, 0);
    ASSERT_GT(first, 0);
    ASSERT_EQ(PXLGetImageFramesNum(first), 4);
    const FrameFacts expected[] = {{12, 9, 0, 0, 5, 1, "a", "first"},
                                 {5, 6, 3, 2, 7, 2, "b", std::nullopt},
                                 {7, 3, 1, 0, 7, 2, std::nullopt, "between"},
                                 {4, 4, 0, 4, 9, 3, "d", std::nullopt}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const PxlImageId frame = PXLGetImageFramesImage(first, int16_t(i));
        EXPECT_EQ(factsOf(frame), expected[i]);
        pixmill::PxlCodecInfo info;
        const PxlImageId alone = pixmill::loadImageFromFile(path("a.gif").c_str(), 0, i, info, -3, nullptr);
        ASSERT_GT(alone, 0);
        pixmill::applyCodecTransparency(alone, info.transparency);
        EXPECT_EQ(PXLCompareImages(frame, alone), 1);
        PXLDeleteImage(alone);
    }
    PXLDeleteImage(first);
}

// A callback that rewrites the file after the first frame: the later frames come from the new file.
struct Rewrite {
    static fs::path file;
    static Bytes with;
    static int callback(PxlImageId, int index, intptr_t) {
        if (index == 0) bmp_test::writeFile(file, with);
        return 0;
    }
};
fs::path Rewrite::file;
Bytes Rewrite::with;

TEST_F(GifFrameChain, AFileRewrittenBetweenFramesGivesTheNewFramesAfterIt) {
    Image wide;
    wide.width = 20;
    wide.height = 3;
    wide.pixels = pattern(20, 3, 16, 4);
    Image tall = wide;
    tall.width = 2;
    tall.height = 11;
    tall.pixels = pattern(2, 11, 16, 6);
    Rewrite::file = folder_.file("a.gif");
    Rewrite::with = GifFile(20, 11, 4).image(tall).control(4).image(wide).image(tall).image(wide).done();
    bmp_test::writeFile(Rewrite::file, fourFrames());
    const PxlImageId first = PXLLoadImageFramesOffset(path("a.gif").c_str(), 0, &Rewrite::callback, 0);
    ASSERT_GT(first, 0);
    ASSERT_EQ(PXLGetImageFramesNum(first), 4);
    const int sizes[4][2] = {{12, 9}, {20, 3}, {2, 11}, {20, 3}};
    for (int i = 0; i < 4; ++i) {
        const FrameFacts f = factsOf(PXLGetImageFramesImage(first, int16_t(i)));
        EXPECT_EQ(f.width, sizes[i][0]) << i;
        EXPECT_EQ(f.height, sizes[i][1]) << i;
    }
    PXLDeleteImage(first);
}

}  // namespace
