#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "../pixmill_fixture.h"
#include "../scoped_wait.h"
#include "core/frames/frame_break.h"
#include "support/wait_probe.h"

namespace {

using namespace std::chrono_literals;
using pixmill::Access;
using pixmill::lockImage;
using pixmill_test::ScopedLockTimeout;
using wait_probe::WaitProbe;

class ImageRegistry : public PixmillTest {
protected:
    static PxlImageId make() { return PXLCreateImage(4, 4, 8); }
    // Links b as the next frame of a (a owns it from then on).
    static void chain(PxlImageId a, PxlImageId b) {
        auto lock = lockImage(a, Access::Write);
        lock->nextFrame.reset(b);
    }
    static bool alive(PxlImageId id) { return PXLWidth(id) != 0; }
};

TEST_F(ImageRegistry, NewImagesTakeTheSmallestFreeId) {
    EXPECT_EQ(make(), 1);
    EXPECT_EQ(make(), 2);
    EXPECT_EQ(make(), 3);
    EXPECT_EQ(PXLDeleteImage(2), 1);
    EXPECT_EQ(make(), 2) << "the gap is filled first";
    EXPECT_EQ(make(), 4);
    EXPECT_EQ(PXLDeleteImage(1), 1);
    EXPECT_EQ(make(), 1) << "id 1 comes back before the others";
    PXLDeleteImage(4);
    PXLDeleteImage(3);
    EXPECT_EQ(make(), 3) << "freeing the top ids makes them the next ones again";
}

TEST_F(ImageRegistry, DeleteOfZeroOrUnknownIdFails) {
    winplat::testing::DebugCapture capture;
    EXPECT_EQ(PXLDeleteImage(0), 0);
    EXPECT_EQ(PXLDeleteImage(77), 0);
    EXPECT_EQ(PXLDeleteImage(-5), 0);
    EXPECT_TRUE(capture.contains("PXL32: PERMISSION!!! ->>> IODelete\n"));
}

TEST_F(ImageRegistry, ASharedImageLivesUntilEveryShareIsDeleted) {
    const PxlImageId id = make();
    EXPECT_EQ(PXLCreateImageFrom(id, 1), id);
    EXPECT_EQ(PXLDeleteImage(id), 1);
    EXPECT_TRUE(alive(id));
    EXPECT_EQ(PXLDeleteImage(id), 1);
    EXPECT_FALSE(alive(id));
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(ImageRegistry, DeletingTheFirstFrameFreesTheWholeChain) {
    const PxlImageId f1 = make(), f2 = make(), f3 = make();
    chain(f1, f2);
    chain(f2, f3);
    EXPECT_EQ(PXLDeleteImage(f1), 1);
    EXPECT_FALSE(alive(f1));
    EXPECT_FALSE(alive(f2));
    EXPECT_FALSE(alive(f3));
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(ImageRegistry, AVeryLongChainIsFreedWithoutRunningTheStackOut) {
    // Records without pixels: only the chain matters here.
    std::vector<PxlImageId> frames;
    for (int i = 0; i < 30000; ++i) frames.push_back(pixmill::createImageRecord()->id);
    for (size_t i = 0; i + 1 < frames.size(); ++i) chain(frames[i], frames[i + 1]);
    EXPECT_EQ(PXLDeleteImage(frames.front()), 1);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(ImageRegistry, AnImageFreesEveryImageItOwnsAndWhatThoseOwn) {
    const PxlImageId image = make();
    const PxlImageId saved = make(), rotated = make(), transparency = make(), mask = make(), next = make();
    const PxlImageId nested = make();
    {
        auto lock = lockImage(image, Access::Write);
        lock->savedArea.reset(saved);
        lock->rotatedImage.reset(rotated);
        lock->transparencyImage.reset(transparency);
        lock->mask.reset(mask);
        lock->nextFrame.reset(next);
    }
    lockImage(mask, Access::Write)->rotatedImage.reset(nested);
    EXPECT_EQ(PXLDeleteImage(image), 1);
    for (PxlImageId id : {image, saved, rotated, transparency, mask, next, nested}) {
        EXPECT_FALSE(alive(id)) << id;
    }
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(ImageRegistry, ALinkGivesUpItsImageWhenResetOrGoneAndNotWhenHandedOn) {
    const PxlImageId a = make(), b = make(), c = make();
    {
        pixmill::OwnedImageId link(a);
        pixmill::OwnedImageId moved = std::move(link);
        EXPECT_EQ(link, 0);  // NOLINT(bugprone-use-after-move): a moved-from link holding nothing is the contract
        EXPECT_EQ(moved, a);
        moved.reset(b);
        EXPECT_FALSE(alive(a)) << "the old image goes when another is taken";
        EXPECT_TRUE(alive(b));
    }
    EXPECT_FALSE(alive(b)) << "and the last one when the link goes";
    {
        pixmill::OwnedImageId link(c);
        EXPECT_EQ(link.release(), c);
        EXPECT_EQ(link, 0);
    }
    EXPECT_TRUE(alive(c)) << "a released image is the caller's";
}

TEST_F(ImageRegistry, DeletingOneShareOfAnAnimationKeepsItsFrames) {
    const PxlImageId f1 = make(), f2 = make(), f3 = make();
    chain(f1, f2);
    chain(f2, f3);
    ASSERT_EQ(PXLCreateImageFrom(f1, 1), f1);
    EXPECT_EQ(PXLDeleteImage(f1), 1);
    EXPECT_TRUE(alive(f1));
    EXPECT_TRUE(alive(f2)) << "the other owner still plays frames 2..n";
    EXPECT_TRUE(alive(f3));
    EXPECT_EQ(lockImage(f1, Access::Read)->nextFrame, f2);
    EXPECT_EQ(PXLDeleteImage(f1), 1);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

TEST_F(ImageRegistry, ASharedTransparencyImageIsGivenUpOncePerShare) {
    const PxlImageId image = make();
    const PxlImageId transparency = PXLCreateImage(4, 4, 1);
    lockImage(image, Access::Write)->transparencyImage.reset(transparency);
    ASSERT_EQ(PXLCreateImageFrom(image, 1), image);
    PXLDeleteImage(image);
    EXPECT_TRUE(alive(transparency)) << "the remaining share still owns it";
    EXPECT_EQ(lockImage(image, Access::Read)->transparencyImage, transparency);
    PXLDeleteImage(image);
    EXPECT_FALSE(alive(transparency));
}

TEST_F(ImageRegistry, DeletingRemovesTheIdFromTheFrameBreakTable) {
    const PxlImageId id = make();
    pixmill::clearFrameBreakTable();
    ASSERT_TRUE(pixmill::addToFrameBreakTable(id));
    ASSERT_TRUE(pixmill::addToFrameBreakTable(id));
    PXLDeleteImage(id);
    for (PxlImageId slot : pixmill::frameBreakSlots()) EXPECT_EQ(slot, 0);
}

TEST_F(ImageRegistry, ReadersShareAndNestedLocksOfTheOwnerAreGrantedAtOnce) {
    const PxlImageId id = make();
    auto first = lockImage(id, Access::Read);
    auto second = lockImage(id, Access::Read);
    EXPECT_TRUE(first && second);
    auto upgraded = lockImage(id, Access::Write);
    EXPECT_TRUE(upgraded) << "the only reader may write";
    auto again = lockImage(id, Access::Write);
    EXPECT_TRUE(again);
    auto drawing = lockImage(id, Access::Draw);
    EXPECT_TRUE(drawing);
}

TEST_F(ImageRegistry, AWriterWaitsForReadersOnOtherThreadsAndNeverTakesOver) {
    const PxlImageId id = make();
    const ScopedLockTimeout brief(200ms);
    auto reader = lockImage(id, Access::Read);
    std::atomic<bool> writerGotIt{false};
    std::thread writer([&] { writerGotIt = static_cast<bool>(lockImage(id, Access::Write)); });
    writer.join();
    EXPECT_FALSE(writerGotIt) << "the reader still holds the record: the writer must fail, not take over";

    std::thread drawer([&] { writerGotIt = static_cast<bool>(lockImage(id, Access::Draw)); });
    drawer.join();
    EXPECT_TRUE(writerGotIt) << "drawing only reads, so it shares with readers";
}

TEST_F(ImageRegistry, AWaitingWriterGetsTheRecordWhenTheReaderLetsGo) {
    const PxlImageId id = make();
    const ScopedLockTimeout patient(1min);  // only the reader letting go ends the writer's wait
    auto reader = lockImage(id, Access::Read);
    WaitProbe probe;
    std::atomic<int> widthSeen{-1};
    std::thread writer([&] {
        probe.arrive();
        auto lock = lockImage(id, Access::Write);
        widthSeen = lock ? lock->width() : 0;
    });
    EXPECT_TRUE(probe.untilAsleep([&] { return widthSeen != -1; }))
        << "the writer must wait while the reader holds the record";
    EXPECT_EQ(widthSeen, -1) << "the writer must wait while the reader holds the record";
    reader.release();
    writer.join();
    EXPECT_EQ(widthSeen, 4);
}

TEST_F(ImageRegistry, DeletingABusyImageWaitsAndFailsHonestly) {
    const PxlImageId id = make();
    auto reader = lockImage(id, Access::Read);
    std::atomic<int16_t> result{-1};
    {
        const ScopedLockTimeout brief(100ms);
        winplat::testing::DebugCapture quiet;
        std::thread deleter([&] { result = PXLDeleteImage(id); });
        deleter.join();
    }
    EXPECT_EQ(result, 0) << "an image that was not released must not be reported deleted";
    EXPECT_TRUE(alive(id));

    const ScopedLockTimeout patient(1min);  // only the reader letting go ends the delete's wait
    result = -1;
    WaitProbe probe;
    std::thread deleter([&] {
        probe.arrive();
        result = PXLDeleteImage(id);
    });
    EXPECT_TRUE(probe.untilAsleep([&] { return result != -1; })) << "the delete must wait for the reader";
    EXPECT_EQ(result, -1) << "the delete must wait for the reader";
    reader.release();
    deleter.join();
    EXPECT_EQ(result, 1) << "once the reader is done the delete goes through";
    EXPECT_FALSE(alive(id));
}

TEST_F(ImageRegistry, MirroredPairLocksDoNotDeadlock) {
    const PxlImageId a = make(), b = make();
    std::atomic<int> done{0};
    auto work = [&](PxlImageId x, PxlImageId y) {
        for (int i = 0; i < 500; ++i) {
            auto [lx, ly] = pixmill::lockImages(x, Access::Write, y, Access::Read);
            if (lx && ly) ++done;
        }
    };
    std::thread t1(work, a, b), t2(work, b, a);
    t1.join();
    t2.join();
    EXPECT_EQ(done, 1000);
}

TEST_F(ImageRegistry, ThePairOfOneIdIsOneNestedLock) {
    const PxlImageId a = make();
    auto [l1, l2] = pixmill::lockImages(a, Access::Write, a, Access::Write);
    EXPECT_TRUE(l1 && l2);
    EXPECT_EQ(l1.get(), l2.get());
}

TEST_F(ImageRegistry, ClearTemporaryImagesDropsRotatedCopyAndMask) {
    const PxlImageId id = make(), rotated = make(), mask = PXLCreateImage(4, 4, 1);
    const PxlImageId transparency = PXLCreateImage(4, 4, 1), itsOwn = PXLCreateImage(4, 4, 1);
    {
        auto lock = lockImage(id, Access::Write);
        lock->rotatedImage.reset(rotated);
        lock->mask.reset(mask);
        lock->transparencyImage.reset(transparency);
    }
    lockImage(transparency, Access::Write)->transparencyImage.reset(itsOwn);
    EXPECT_EQ(PXLClearTemporaryImages(id), 1);
    EXPECT_FALSE(alive(rotated));
    EXPECT_FALSE(alive(mask));
    EXPECT_TRUE(alive(transparency));
    EXPECT_FALSE(alive(itsOwn));
    EXPECT_EQ(PXLClearTemporaryImages(0), 0);
    EXPECT_EQ(PXLClearTemporaryImages(99), 0);
}

TEST_F(ImageRegistry, DeleteAllReportsCountAndSmallestId) {
    make();
    make();
    winplat::testing::DebugCapture capture;
    pixmill::deleteAllImages();
    EXPECT_EQ(capture.text(), "PXL32: Free 2 images ! [1]\n");
    EXPECT_EQ(make(), 1) << "ids start again at 1";
}

TEST_F(ImageRegistry, ARecordHeldThroughDeleteAllLeavesTheNewOwnersOfItsLinksAlone) {
    const PxlImageId owner = make(), mask = PXLCreateImage(4, 4, 1);
    lockImage(owner, Access::Write)->mask.reset(mask);
    PxlImageId reused;
    {
        auto held = lockImage(owner, Access::Read);
        {
            winplat::testing::DebugCapture quiet;
            pixmill::deleteAllImages();
        }
        ASSERT_EQ(make(), owner);
        reused = PXLCreateImage(4, 4, 1);
        ASSERT_EQ(reused, mask);
    }  // the swept record goes with its last holder
    EXPECT_TRUE(alive(reused)) << "the swept record's link named an id that is another image's now";
    EXPECT_EQ(pixmill::liveImageCount(), 2u);
}

TEST_F(ImageRegistry, RunningOutOfIdsGivesZero) {
    for (int i = 1; i <= 32767; ++i) ASSERT_TRUE(pixmill::createImageRecord()) << i;
    EXPECT_FALSE(pixmill::createImageRecord());
    EXPECT_EQ(PXLCreateImage(1, 1, 1), 0);
    ASSERT_EQ(PXLDeleteImage(32767), 1);
    EXPECT_EQ(PXLCreateImage(1, 1, 1), 32767);
}

}  // namespace
