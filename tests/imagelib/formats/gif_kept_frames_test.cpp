// The frame indexes kept between loads: which ones the store keeps (whole passes over files that
// had settled, at most four, at most 32768 frames each, the one used longest ago dropped first),
// and loads of one frame per call through the library's loader that follow a kept index giving
// what loads parsing the file from its start give, for whole, rewritten, replaced and damaged files.
#include <filesystem>
#include <sstream>

#include "../pixmill_fixture.h"
#include "core/registry/library_state.h"
#include "formats/gif_kept_frames.h"
#include "formats/image_load.h"
#include "gif_test_support.h"

namespace {

using namespace gif_test;
namespace fs = std::filesystem;
using pixmill::GifFrameIndex;
using pixmill::KeptGifFrames;
using pixmill::keptGifFrames;

// The index an info pass records over the picture at the offset.
GifFrameIndex recordedIndex(const fs::path& file, int64_t offset = 0) {
    GifFrameIndex index;
    pixmill::PxlCodecInfo info;
    pixmill::ByteStream stream;
    if (!stream.openFile(bmp_test::windowsPath(file).c_str(), "rb") || !stream.seek(offset, SEEK_SET)) {
        ADD_FAILURE() << "cannot open the test file";
        return index;
    }
    pixmill::CodecCall call{info, stream};
    call.offset = offset;
    call.gifFrames = &index;
    pixmill::gifInfo(call);
    return index;
}

// A reading of the clock at which the file of the index counts as settled.
int64_t settledAt(const GifFrameIndex& index) { return index.file().changedNs + KeptGifFrames::kSettleNs; }

// One 1 x 1 frame per image block, 'frames' of them.
Bytes manyFrames(int frames) {
    Image dot;
    dot.pixels = {1};
    GifFile g(1, 1, 1);
    const size_t head = g.soFar().size();
    g.image(dot);
    const Bytes block(g.soFar().begin() + long(head), g.soFar().end());
    Bytes whole(g.soFar().begin(), g.soFar().begin() + long(head));
    whole.reserve(head + block.size() * size_t(frames) + 1);
    for (int i = 0; i < frames; ++i) whole.insert(whole.end(), block.begin(), block.end());
    whole.push_back(0x3B);
    return whole;
}

class KeptGifFramesStore : public ::testing::Test {
protected:
    fs::path put(const Bytes& bytes, const std::string& name = "a.gif") const {
        bmp_test::writeFile(folder_.file(name), bytes);
        return folder_.file(name);
    }
    bmp_test::TempFolder folder_;
    KeptGifFrames store_;
};

TEST_F(KeptGifFramesStore, AWholePassIsKeptOnlyOnceItsFileHadSettledBeforeTheLoan) {
    const GifFrameIndex index = recordedIndex(put(fourFrames()));
    ASSERT_TRUE(index.complete());
    struct Case {
        int64_t fromSettled;
        bool kept;
    };
    for (const Case c : {Case{-1, false}, Case{0, true}, Case{1, true}}) {
        SCOPED_TRACE(c.fromSettled);
        store_.clear();
        store_.giveBack("C:/a.gif", 0, index, settledAt(index) + c.fromSettled);
        EXPECT_EQ(store_.holds("C:/a.gif", 0), c.kept);
    }
}

TEST_F(KeptGifFramesStore, APassThatStoppedShortIsNotKept) {
    Image small;
    small.width = 3;
    small.height = 2;
    small.pixels = pattern(3, 2, 16);
    GifFile g(3, 2, 4);
    const size_t separator = g.soFar().size();
    Bytes cut = g.image(small).done();
    cut.resize(separator + 5);  // inside the image descriptor
    const GifFrameIndex index = recordedIndex(put(cut));
    ASSERT_FALSE(index.complete());
    store_.giveBack("C:/a.gif", 0, index, settledAt(index));
    store_.giveBack("C:/b.gif", 0, GifFrameIndex{}, KeptGifFrames::systemClock());
    EXPECT_EQ(store_.count(), 0u);
}

TEST_F(KeptGifFramesStore, AnIndexOfMoreFramesThanAFrameNumberNamesIsNotKept) {
    for (const int frames : {KeptGifFrames::kMostFrames, KeptGifFrames::kMostFrames + 1}) {
        SCOPED_TRACE(frames);
        const GifFrameIndex index = recordedIndex(put(manyFrames(frames)));
        ASSERT_EQ(index.frameCount(), frames);
        store_.clear();
        store_.giveBack("C:/a.gif", 0, index, settledAt(index));
        EXPECT_EQ(store_.holds("C:/a.gif", 0), frames <= KeptGifFrames::kMostFrames);
    }
}

// Five pictures given back in turn, one of them borrowed again on the way: the four used last
// stay, each under its own path and offset, and a taken index leaves the store.
TEST_F(KeptGifFramesStore, TheFourUsedLastAreKeptEachForItsPathAndOffset) {
    const GifFrameIndex index = recordedIndex(put(fourFrames()));
    const int64_t lentAt = settledAt(index);
    store_.giveBack("C:/a.gif", 0, index, lentAt);
    store_.giveBack("C:/a.gif", 7, index, lentAt);
    store_.giveBack("C:/b.gif", 0, index, lentAt);
    store_.giveBack("C:/c.gif", 0, index, lentAt);
    EXPECT_EQ(store_.count(), 4u);
    GifFrameIndex taken = store_.take("C:/a.gif", 0);
    EXPECT_EQ(taken.frameCount(), 4);
    EXPECT_FALSE(store_.holds("C:/a.gif", 0));
    EXPECT_EQ(store_.take("C:/a.gif", 0).frameCount(), -1) << "an index is lent to one load at a time";
    store_.giveBack("C:/a.gif", 0, std::move(taken), lentAt);
    store_.giveBack("C:/d.gif", 0, index, lentAt);
    store_.giveBack("C:/d.gif", 0, index, lentAt);
    EXPECT_EQ(store_.count(), 4u);
    EXPECT_FALSE(store_.holds("C:/a.gif", 7)) << "used longest ago";
    for (const char* path : {"C:/a.gif", "C:/b.gif", "C:/c.gif", "C:/d.gif"}) {
        EXPECT_TRUE(store_.holds(path, 0)) << path;
    }
}

// Loads through the library's loader, with the store's clock an hour ahead so that the files the
// tests have just written count as settled.
class KeptGifFramesLoad : public PixmillTest {
protected:
    static int64_t anHourAhead() { return KeptGifFrames::systemClock() + 3600'000'000'000; }

    void SetUp() override {
        PixmillTest::SetUp();
        keptGifFrames().clear();
        clock_ = keptGifFrames().setClock(&anHourAhead);
    }
    void TearDown() override {
        keptGifFrames().setClock(clock_);
        keptGifFrames().clear();
        PixmillTest::TearDown();
    }

    std::string put(const Bytes& bytes, const std::string& name = "a.gif") const {
        bmp_test::writeFile(folder_.file(name), bytes);
        return bmp_test::windowsPath(folder_.file(name));
    }

    bmp_test::TempFolder folder_;
    KeptGifFrames::Clock clock_ = nullptr;
};

struct Loaded {
    PxlImageId id = 0;
    std::string facts;
};

std::string text(const std::optional<std::string>& s) { return s ? "\"" + *s + "\"" : "none"; }

// One frame through the loader, with what the codec record and the image tell about it.
Loaded loadFrame(const std::string& path, int64_t offset, int frame) {
    pixmill::PxlCodecInfo i;
    Loaded l;
    l.id = pixmill::loadImageFromFile(path.c_str(), offset, frame, i, -3, nullptr);
    std::ostringstream o;
    o << "id " << (l.id > 0) << " detail " << i.detailText << " at " << i.frameLeft << "," << i.frameTop << " size "
      << i.width << "x" << i.height << " bits " << i.bitsPerPixel << " flags " << i.flags << " frames "
      << i.frameCount << " delay " << i.frameDelay << " repeat " << i.repeatCount << " transparency "
      << i.transparency << " screen " << i.screenWidth << "x" << i.screenHeight << " control " << i.controlWord;
    if (pixmill::ImageLock image = pixmill::lockImage(l.id, pixmill::Access::Read)) {
        o << " comment " << text(image->comment) << " title " << text(image->title) << " text "
          << text(image->animationText) << " text block " << (image->textBlock ? image->textBlock->text : "none");
    }
    l.facts = o.str();
    return l;
}

// The frame as a load that parses the file from its start gives it.
Loaded loadAfresh(const std::string& path, int64_t offset, int frame) {
    keptGifFrames().clear();
    return loadFrame(path, offset, frame);
}

void expectSame(const Loaded& got, const Loaded& expected) {
    EXPECT_EQ(got.facts, expected.facts);
    if (expected.id > 0) {
        EXPECT_EQ(PXLCompareImages(got.id, expected.id), 1);
    }
    PXLDeleteImage(got.id);
}

// Frames 0 to 'frames' - 1 loaded one call at a time in the given order next to loads parsing
// from the start; the first call leaves the index kept for the rest.
void expectSameOneByOne(const std::string& path, int64_t offset, const std::vector<int>& order) {
    std::vector<Loaded> afresh;
    for (int frame : order) afresh.push_back(loadAfresh(path, offset, frame));
    keptGifFrames().clear();
    for (size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(order[i]));
        expectSame(loadFrame(path, offset, order[i]), afresh[i]);
        EXPECT_TRUE(keptGifFrames().holds(path, offset));
        PXLDeleteImage(afresh[i].id);
    }
}

TEST_F(KeptGifFramesLoad, FramesLoadedOneByOneAreTheFramesOfOnePass) {
    Bytes file(5, 0x2C);
    const Bytes animation = fourFrames();
    file.insert(file.end(), animation.begin(), animation.end());
    const std::string path = put(file);
    expectSameOneByOne(path, 5, {0, 1, 2, 3, 4});
    expectSameOneByOne(path, 5, {4, 2, 0, 3, 1});

    keptGifFrames().clear();
    const PxlImageId first = PXLLoadImageFramesOffset(path.c_str(), 5, nullptr, 0);
    ASSERT_EQ(PXLGetImageFramesNum(first), 4);
    EXPECT_TRUE(keptGifFrames().holds(path, 5)) << "the chain load keeps its index too";
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        pixmill::PxlCodecInfo info;
        const PxlImageId alone = pixmill::loadImageFromFile(path.c_str(), 5, i, info, -3, nullptr);
        pixmill::applyCodecTransparency(alone, info.transparency);
        EXPECT_EQ(PXLCompareImages(PXLGetImageFramesImage(first, int16_t(i)), alone), 1);
        PXLDeleteImage(alone);
    }
    PXLDeleteImage(first);
}

// Two frames of different sizes, and the same two blocks the other way round: a file of the same
// length whose frames stand elsewhere.
Bytes twoFrames(bool swapped) {
    Image wide;
    wide.width = 20;
    wide.height = 3;
    wide.pixels = pattern(20, 3, 16, 4);
    Image tall;
    tall.width = 2;
    tall.height = 11;
    tall.localBits = 3;
    tall.pixels = pattern(2, 11, 8, 6);
    GifFile g(20, 11, 4);
    const size_t first = g.soFar().size();
    g.control(4, 1).image(wide);
    const size_t second = g.soFar().size();
    g.control(9, 2).image(tall);
    const Bytes& b = g.soFar();
    if (!swapped) return g.done();
    Bytes out(b.begin(), b.begin() + long(first));
    out.insert(out.end(), b.begin() + long(second), b.end());
    out.insert(out.end(), b.begin() + long(first), b.begin() + long(second));
    out.push_back(0x3B);
    return out;
}

// The file at a path whose index is kept, then changed: the loads give the frames of the file as
// it is now. The last case keeps every part of the identity that a test can set, and runs on the
// real clock: only the settling rule keeps the old index out.
TEST_F(KeptGifFramesLoad, AFileRewrittenOrReplacedAtThePathGivesItsOwnFrames) {
    const Bytes before = twoFrames(false), swapped = twoFrames(true);
    ASSERT_EQ(before.size(), swapped.size());
    Bytes longer = before;
    longer.insert(longer.end() - 1, {0x21, 0xFE, 3, 'n', 'e', 'w', 0});
    enum class Change { InPlace, InPlaceLater, InPlaceOldTime, Replaced };
    struct Case {
        const char* name;
        Change change;
        const Bytes& after;
    };
    const Case cases[] = {{"rewritten longer", Change::InPlace, longer},
                          {"the same length rewritten, a later time", Change::InPlaceLater, swapped},
                          {"another file renamed over it, the old time kept", Change::Replaced, swapped},
                          {"the same length rewritten, the old time put back", Change::InPlaceOldTime, swapped}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = put(c.after);
        const fs::path file = folder_.file("a.gif");
        std::vector<Loaded> afresh;
        for (int frame : {0, 1}) afresh.push_back(loadAfresh(path, 0, frame));
        keptGifFrames().clear();
        const bool realClock = c.change == Change::InPlaceOldTime;
        if (realClock) keptGifFrames().setClock(clock_);
        put(before);
        for (int frame : {1, 0}) PXLDeleteImage(loadFrame(path, 0, frame).id);
        if (!realClock) {
            EXPECT_TRUE(keptGifFrames().holds(path, 0));
        }
        const int64_t recorded = modifiedNs(file);
        switch (c.change) {
            case Change::InPlace:
                put(c.after);
                break;
            case Change::InPlaceLater:
                put(c.after);
                setModifiedNs(file, recorded + 2'000'000'000);
                break;
            case Change::InPlaceOldTime:
                put(c.after);
                setModifiedNs(file, recorded);
                break;
            case Change::Replaced:
                put(c.after, "b.gif");
                setModifiedNs(folder_.file("b.gif"), recorded);
                fs::rename(folder_.file("b.gif"), file);
                break;
        }
        for (int frame : {1, 0}) {
            SCOPED_TRACE(frame);
            expectSame(loadFrame(path, 0, frame), afresh[size_t(frame)]);
            PXLDeleteImage(afresh[size_t(frame)].id);
        }
        keptGifFrames().setClock(&anHourAhead);
        keptGifFrames().clear();
    }
}

// Damage that fails some loads: each frame loaded after the index is kept fails where a load
// parsing the whole file fails.
TEST_F(KeptGifFramesLoad, ADamagedFileStillGivesTheFailureValue) {
    const Bytes whole = fourFrames();
    Bytes cut = whole;
    cut.resize(whole.size() - 40);  // inside the last image's data
    Image empty;
    empty.width = 0;
    empty.pixels = {};
    Image small;
    small.width = 3;
    small.height = 2;
    small.pixels = pattern(3, 2, 16);
    const Bytes emptyFrame = GifFile(3, 2, 4).image(small).image(empty).image(small).done();
    struct Case {
        const char* name;
        const Bytes& bytes;
        std::vector<int> failing;
    };
    const Case cases[] = {{"the last image's data cut off", cut, {0, 1, 2, 3}}, {"an empty frame", emptyFrame, {1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = put(c.bytes);
        std::vector<Loaded> afresh;
        for (int frame = 0; frame < 4; ++frame) afresh.push_back(loadAfresh(path, 0, frame));
        for (int frame : c.failing) ASSERT_EQ(afresh[size_t(frame)].id, 0) << frame;
        keptGifFrames().clear();
        PXLDeleteImage(loadFrame(path, 0, 2).id);
        ASSERT_TRUE(keptGifFrames().holds(path, 0));
        for (int frame = 0; frame < 4; ++frame) {
            SCOPED_TRACE(frame);
            expectSame(loadFrame(path, 0, frame), afresh[size_t(frame)]);
            PXLDeleteImage(afresh[size_t(frame)].id);
        }
    }
}

TEST_F(KeptGifFramesLoad, ShuttingTheLibraryDownReleasesTheKeptIndexes) {
    PXLDeleteImage(loadFrame(put(fourFrames()), 0, 1).id);
    ASSERT_EQ(keptGifFrames().count(), 1u);
    {
        winplat::testing::DebugCapture quiet;
        ShutdownImageLibrary();
    }
    EXPECT_EQ(keptGifFrames().count(), 0u);
    InitImageLibrary();
}

}  // namespace
