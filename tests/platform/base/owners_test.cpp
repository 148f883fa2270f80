#include "winplat/owners.h"

#include <gtest/gtest.h>

#include "winplat/testing.h"

namespace {

HBITMAP makeBitmap() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

TEST(Owners, GlobalBlockFreesOnEveryWayOutAndHandsOnWhenReleased) {
    const size_t before = winplat::testing::liveGlobalBlocks();
    {
        winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, 16));
        ASSERT_TRUE(block);
        EXPECT_EQ(winplat::testing::liveGlobalBlocks(), before + 1);
        block.reset(GlobalAlloc(GMEM_MOVEABLE, 8));  // the first goes at once
        EXPECT_EQ(winplat::testing::liveGlobalBlocks(), before + 1);
        winplat::GlobalBlock moved = std::move(block);
        EXPECT_FALSE(block);
        EXPECT_EQ(GlobalSize(moved.get()), 8u);
    }
    EXPECT_EQ(winplat::testing::liveGlobalBlocks(), before);

    HGLOBAL kept;
    {
        winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, 4));
        kept = block.release();
    }
    EXPECT_EQ(winplat::testing::liveGlobalBlocks(), before + 1);
    EXPECT_EQ(GlobalFree(kept), nullptr);
}

TEST(Owners, GlobalPinHoldsOneLockForItsScope) {
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, 16));
    {
        winplat::GlobalPin pin(block.get());
        ASSERT_TRUE(pin);
        EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 1u);
        pin.as<uint8_t>()[15] = 0x5A;
    }
    EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
    winplat::GlobalPin again(block.get());
    EXPECT_EQ(again.as<uint8_t>()[15], 0x5A);

    winplat::GlobalPin none(nullptr);  // a missing block pins nothing and unlocks nothing
    EXPECT_FALSE(none);
}

TEST(Owners, GlobalPinMovesItsLockAndHandsItOnAndBack) {
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, 16));
    const auto locks = [&] { return GlobalFlags(block.get()) & GMEM_LOCKCOUNT; };
    winplat::GlobalPin kept;
    EXPECT_FALSE(kept);
    {
        winplat::GlobalPin pin(block.get());
        void* const data = pin.data();
        kept = std::move(pin);  // the lock goes with the pin, not with the scope
        EXPECT_FALSE(pin);
        EXPECT_EQ(kept.data(), data);
    }
    EXPECT_EQ(locks(), 1u);
    winplat::GlobalPin second(block.get());
    kept = std::move(second);  // the replaced lock is given back, the moved one kept
    EXPECT_EQ(locks(), 1u);

    void* const handed = kept.release();  // a caller holds the lock now
    EXPECT_FALSE(kept);
    EXPECT_NE(handed, nullptr);
    EXPECT_EQ(locks(), 1u);
    {
        winplat::GlobalPin back = winplat::GlobalPin::adopt(block.get(), handed);
        EXPECT_EQ(back.data(), handed);
        EXPECT_EQ(locks(), 1u);  // taking over locks nothing more
    }
    EXPECT_EQ(locks(), 0u);

    winplat::GlobalPin early(block.get());
    early.reset();
    EXPECT_EQ(locks(), 0u);
    early.reset();  // a second reset unlocks nothing
    EXPECT_EQ(locks(), 0u);
    EXPECT_FALSE(winplat::GlobalPin::adopt(nullptr));
}

TEST(Owners, SelectionPutsBackWhatItReplacedBeforeTheObjectIsDeleted) {
    winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    HBITMAP raw;
    {
        winplat::OwnedBitmap bitmap(makeBitmap());
        raw = bitmap.get();
        winplat::Selection selected(dc.get(), bitmap.get());
        ASSERT_TRUE(selected);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        // Declared after the bitmap, the selection ends first, so the bitmap can be deleted.
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
    EXPECT_FALSE(DeleteObject(raw));  // already deleted by its owner
}

TEST(Owners, ARefusedSelectionRestoresNothing) {
    winplat::MemoryDc first(CreateCompatibleDC(nullptr));
    winplat::MemoryDc second(CreateCompatibleDC(nullptr));
    winplat::OwnedBitmap bitmap(makeBitmap());
    winplat::Selection held(first.get(), bitmap.get());
    const HGDIOBJ before = GetCurrentObject(second.get(), OBJ_BITMAP);
    {
        winplat::Selection refused(second.get(), bitmap.get());  // already selected elsewhere
        EXPECT_FALSE(refused);
    }
    EXPECT_EQ(GetCurrentObject(second.get(), OBJ_BITMAP), before);
    EXPECT_EQ(GetCurrentObject(first.get(), OBJ_BITMAP), bitmap.get());
}

TEST(Owners, DrawDibSessionClosesOnScopeEndAndHandsOnWhenReleased) {
    HDRAWDIB closed;
    {
        const winplat::DrawDibSession session(DrawDibOpen());
        ASSERT_TRUE(session);
        closed = session.get();
        EXPECT_TRUE(DrawDibEnd(closed)) << "open while the owner lives";
    }
    EXPECT_FALSE(DrawDibEnd(closed)) << "closed by its owner";

    HDRAWDIB kept;
    {
        winplat::DrawDibSession session(DrawDibOpen());
        kept = session.release();
    }
    EXPECT_TRUE(DrawDibClose(kept)) << "a released session is the caller's to close";
}

TEST(Owners, SavedDcRestoresTheStateOnScopeEnd) {
    winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    SetTextColor(dc.get(), RGB(1, 2, 3));
    {
        winplat::SavedDc saved(dc.get());
        ASSERT_TRUE(saved);
        SetTextColor(dc.get(), RGB(200, 0, 0));
        EXPECT_EQ(GetTextColor(dc.get()), RGB(200, 0, 0));
    }
    EXPECT_EQ(GetTextColor(dc.get()), RGB(1, 2, 3));
}

TEST(Owners, OpenedClipboardIsOpenForItsScopeOnly) {
    winplat::testing::resetClipboard();
    {
        winplat::OpenedClipboard clipboard(nullptr);
        ASSERT_TRUE(clipboard);
        EXPECT_TRUE(EmptyClipboard());  // only while open
    }
    EXPECT_FALSE(EmptyClipboard());
    winplat::testing::resetClipboard();
}

}  // namespace
