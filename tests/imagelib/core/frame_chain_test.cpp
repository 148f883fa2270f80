// Frame chains built with PXLAddImageFrame: head, append and insert positions, the screen size
// and first frame every member learns, refusals that would make a frame owned twice or a chain
// that reaches itself, splitting, counts, lookups and delays, and what deleting frames leaves.
#include <vector>

#include "../pixmill_fixture.h"
#include "core/registry/image_registry.h"

namespace {

using FrameChain = PixmillTest;

PxlImageId image(int width = 3, int height = 2) {
    return PXLCreateImage(width, height, 8);
}

// The ids along the chain from id, as the records link them.
std::vector<PxlImageId> links(PxlImageId id) {
    std::vector<PxlImageId> out;
    while (id != 0 && out.size() < 100) {
        out.push_back(id);
        pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Read);
        if (!frame) break;
        id = frame->nextFrame;
    }
    return out;
}

template <class Field>
int32_t field(PxlImageId id, Field ImageRecordField) {
    pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Read);
    return frame ? static_cast<int32_t>((*frame).*ImageRecordField) : -999;
}

void setScreen(PxlImageId id, int width, int height) {
    pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Write);
    frame->screenWidth = width;
    frame->screenHeight = height;
}

TEST_F(FrameChain, AddAtTheHeadAtTheEndAndBetween) {
    const PxlImageId f = image(), a = image(), b = image(), c = image(), d = image();
    setScreen(f, 40, 30);
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    EXPECT_EQ(links(f), (std::vector<PxlImageId>{f, a}));
    ASSERT_EQ(PXLAddImageFrame(f, b, 1), 1);  // after frame 0
    EXPECT_EQ(links(f), (std::vector<PxlImageId>{f, b, a}));
    ASSERT_EQ(PXLAddImageFrame(f, c, 50), 1);  // past the end: appended
    EXPECT_EQ(links(f), (std::vector<PxlImageId>{f, b, a, c}));
    ASSERT_EQ(PXLAddImageFrame(f, d, 0), 1);  // d becomes the head
    EXPECT_EQ(links(d), (std::vector<PxlImageId>{d, f, b, a, c}));
    for (PxlImageId id : links(d)) {
        EXPECT_EQ(field(id, &pixmill::ImageRecord::firstFrame), d) << id;
        EXPECT_EQ(field(id, &pixmill::ImageRecord::screenWidth), 40) << id;  // the old head's screen
        EXPECT_EQ(field(id, &pixmill::ImageRecord::screenHeight), 30) << id;
    }
    EXPECT_EQ(PXLGetImageFramesNum(d), 5);
    EXPECT_EQ(PXLGetImageFramesNum(b), 3);  // from b to the end
    PXLDeleteImage(d);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);  // the chain owned every frame
}

// An image already in a chain, heading one, or the first frame itself would be owned twice or
// make the chain reach itself.
TEST_F(FrameChain, AdditionsThatWouldOwnAFrameTwiceAreRefused) {
    const PxlImageId f = image(), a = image(), b = image(), g = image(), h = image(), lone = image();
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(f, b, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(g, h, -1), 1);
    struct Case {
        PxlImageId first, added;
        int16_t position;
        const char* why;
    };
    const Case cases[] = {{f, f, -1, "the first frame itself"},
                          {f, a, -1, "already a later frame"},
                          {f, a, 0, "already in, at the head"},
                          {f, g, -1, "the head of another chain"},
                          {f, h, 1, "inside another chain"},
                          {a, lone, -1, "first is not a head"},
                          {a, lone, 0, "before a middle frame"},
                          {0, lone, -1, "id 0"},
                          {f, 0, -1, "no image"},
                          {f, 999, -1, "an unknown image"},
                          {999, lone, -1, "an unknown first frame"}};
    for (const Case& c : cases) EXPECT_EQ(PXLAddImageFrame(c.first, c.added, c.position), 0) << c.why;
    EXPECT_EQ(links(f), (std::vector<PxlImageId>{f, a, b}));
    EXPECT_EQ(links(g), (std::vector<PxlImageId>{g, h}));
    EXPECT_EQ(links(lone), (std::vector<PxlImageId>{lone}));
    PXLDeleteImage(f);
    PXLDeleteImage(g);
    PXLDeleteImage(lone);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(FrameChain, SplitMakesEveryFrameItsOwnImage) {
    const PxlImageId f = image(), a = image(), b = image();
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(f, b, -1), 1);
    const PxlImageId saved = image();
    {
        pixmill::ImageLock frame = pixmill::lockImage(a, pixmill::Access::Write);
        frame->savedArea.reset(saved);
    }
    EXPECT_EQ(PXLSplitAllImageFrame(f), 1);
    for (PxlImageId id : {f, a, b}) {
        EXPECT_EQ(links(id), std::vector<PxlImageId>{id});
        EXPECT_EQ(field(id, &pixmill::ImageRecord::firstFrame), id);
        EXPECT_EQ(field(id, &pixmill::ImageRecord::savedArea), 0);
    }
    EXPECT_EQ(pixmill::liveImageCount(), 3u);  // the saved area went
    EXPECT_EQ(PXLSplitAllImageFrame(0), 0);
    // A split frame may join a chain again.
    EXPECT_EQ(PXLAddImageFrame(b, a, -1), 1);
    PXLDeleteImage(f);
    PXLDeleteImage(b);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(FrameChain, LookupsCountsAndDelays) {
    const PxlImageId f = image(), a = image(), b = image();
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(f, b, -1), 1);
    int32_t delay = 10;
    for (PxlImageId id : {f, a, b}) {
        pixmill::ImageLock frame = pixmill::lockImage(id, pixmill::Access::Write);
        frame->delay = delay;
        delay += 5;
    }
    struct Lookup {
        int16_t index;
        PxlImageId expected;
    };
    for (const Lookup l :
         {Lookup{0, f}, Lookup{1, a}, Lookup{2, b}, Lookup{3, 0}, Lookup{40, 0}, Lookup{-1, f}}) {
        EXPECT_EQ(PXLGetImageFramesImage(f, l.index), l.expected) << l.index;
    }
    EXPECT_EQ(PXLGetImageFramesImage(0, 0), 0);
    EXPECT_EQ(PXLGetImageFramesNum(0), 0);
    EXPECT_EQ(PXLGetImageFramesNum(999), 0);
    int32_t delays[5] = {-1, -1, -1, -1, -1};
    EXPECT_EQ(PXLGetImageFramesDelay(f, delays, 5), 3);
    EXPECT_EQ(std::vector<int32_t>(delays, delays + 5), (std::vector<int32_t>{10, 15, 20, -1, -1}));
    int32_t two[2] = {};
    EXPECT_EQ(PXLGetImageFramesDelay(f, two, 2), 2);
    EXPECT_EQ(PXLGetImageFramesDelay(f, nullptr, 2), 0);
    EXPECT_EQ(PXLGetImageFramesDelay(f, two, 0), 0);
}

// Deleting a frame inside a chain frees it and the frames it owns; the frame before it must not
// keep the id, which the next new image gets.
TEST_F(FrameChain, DeletingAMiddleFrameLeavesNoLinkToItsId) {
    const PxlImageId f = image(), a = image(), b = image();
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    ASSERT_EQ(PXLAddImageFrame(f, b, -1), 1);
    EXPECT_EQ(PXLDeleteImage(a), 1);
    EXPECT_EQ(links(f), std::vector<PxlImageId>{f});
    const PxlImageId reused = image();
    EXPECT_EQ(reused, a);  // the smallest free id
    EXPECT_EQ(PXLGetImageFramesNum(f), 1);
    EXPECT_EQ(links(reused), std::vector<PxlImageId>{reused});
    PXLDeleteImage(f);
    EXPECT_EQ(pixmill::liveImageCount(), 1u);  // the new image is not f's
}

TEST_F(FrameChain, RepeatCountAndScreenSizes) {
    const PxlImageId plain = image(7, 5), f = image(7, 5), a = image(4, 4);
    setScreen(f, 20, 10);
    ASSERT_EQ(PXLAddImageFrame(f, a, -1), 1);
    EXPECT_EQ(PXLGetImagesRepeatCycle(f), -1);
    EXPECT_EQ(PXLGetImagesRepeatCycle(0), -1);
    struct Case {
        PxlImageId id;
        int16_t width, height, realWidth, realHeight;
    };
    // A frame with a next frame, or made as a frame, reports the screen; others their own size.
    for (const Case c : {Case{plain, 7, 5, 0, 0}, Case{f, 20, 10, 20, 10}, Case{a, 4, 4, 20, 10}}) {
        EXPECT_EQ(PXLWidthFrameScreen(c.id), c.width) << c.id;
        EXPECT_EQ(PXLHeightFrameScreen(c.id), c.height) << c.id;
        EXPECT_EQ(PXLWidthFrameScreenReal(c.id), c.realWidth) << c.id;
        EXPECT_EQ(PXLHeightFrameScreenReal(c.id), c.realHeight) << c.id;
    }
    {
        pixmill::ImageLock frame = pixmill::lockImage(a, pixmill::Access::Write);
        frame->frameFlag = 1;
    }
    EXPECT_EQ(PXLWidthFrameScreen(a), 20);
    EXPECT_EQ(PXLWidthFrameScreen(0), 0);
}

}  // namespace
