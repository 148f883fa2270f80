// An object's attribute slots through the page: sizing, typed records with their defaults, and
// the layout a changed record asks for.
#include <functional>

#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"

namespace {

using lect32::ObjectKind;
using lect32::Slot;
using page_test::Bytes;
using page_test::Fields;
using page_test::join;
using page_test::object;
using page_test::slot;

class PageSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(t.page.InsertObject(object(0, 0, 50, 40), join({slot(1, {4, 7, 0}), slot(3, {9, 9, 9, 9})})), 0);
    }
    int16_t item() const { return t.page.GetAttributeIndex(0); }
    page_test::TestPage t;
};

TEST_F(PageSlotsTest, SizingGrowsOrCutsASlotAtItsEndAndAppendsAMissingOne) {
    struct Case {
        const char* what;
        Slot k;
        uint16_t n;
        Bytes item;
    };
    const Case cases[] = {
        {"same length", Slot::Link, 3, join({slot(1, {4, 7, 0}), slot(3, {9, 9, 9, 9})})},
        {"grown", Slot::Link, 5, join({slot(1, {4, 7, 0, 0, 0}), slot(3, {9, 9, 9, 9})})},
        {"cut", Slot::HotSpots, 1, join({slot(1, {4, 7, 0, 0, 0}), slot(3, {9})})},
        {"emptied", Slot::Link, 0, join({slot(1, {}), slot(3, {9})})},
        {"appended", Slot::Scroller, 2, join({slot(1, {}), slot(3, {9}), slot(6, {0, 0})})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(t.page.SetSlotSize(item(), c.k, c.n), 1);
        EXPECT_EQ(t.page.GetSlotLength(item(), c.k), c.n);
        EXPECT_EQ(t.page.CopyAttributes(0), c.item);
    }
    EXPECT_EQ(t.page.SetSlotSize(7, Slot::Link, 1), 0) << "no such item";
    EXPECT_EQ(t.page.SetSlotSize(-1, Slot::Link, 1), 0);
}

TEST_F(PageSlotsTest, ASlotDoesNotGrowPastWhatAnItemHolds) {
    const uint16_t room = static_cast<uint16_t>(0xFFFF - t.page.CopyAttributes(0).size() - lect32::kSlotHeader);
    EXPECT_EQ(t.page.SetSlotSize(item(), Slot::Animation, static_cast<uint16_t>(room + 1)), 0);
    EXPECT_EQ(t.page.GetSlotLength(item(), Slot::Animation), 0);
    EXPECT_EQ(t.page.SetSlotSize(item(), Slot::Animation, room), 1);
    EXPECT_EQ(t.page.CopyAttributes(0).size(), 0xFFFFu);
}

TEST_F(PageSlotsTest, LockingAMissingSlotLocksNothing) {
    EXPECT_EQ(t.page.LockSlot(item(), Slot::Scroller), nullptr);
    uint8_t* link = t.page.LockSlot(item(), Slot::Link);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link[1], 7);
    t.page.UnlockSlot(item());
}

TEST_F(PageSlotsTest, RecordsWithoutTheirSlotHaveTheirDefaults) {
    const lect32::PlacementRecord placement = t.page.GetPlacement(0);
    EXPECT_EQ(placement.mode, 0);
    EXPECT_EQ(placement.zoom, 1000);
    EXPECT_EQ(placement.enlargePicture, -1);
    const lect32::MediaRecord media = t.page.GetMedia(0);
    EXPECT_EQ(media.showControls, 1);
    const lect32::FrameRecord frame = t.page.GetFrame(0);
    EXPECT_EQ(frame.width, 50) << "a frame without its record takes the object's size";
    EXPECT_EQ(frame.height, 40);
    EXPECT_EQ(frame.background, 255);
    EXPECT_EQ(frame.marginBottom, 2);
    const lect32::ButtonRecord button = t.page.GetButton(0);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(button.pictures[s], -1);
        EXPECT_EQ(button.cache[s], -1) << "a button without its record holds no cache entry";
    }
    EXPECT_EQ(button.tail0, 1);
    EXPECT_EQ(t.page.GetScroller(0).track, 0);
}

// The zoom is unsigned thousandths: 40000 is forty times, not a negative zoom.
TEST_F(PageSlotsTest, AZoomAbove32767IsALargeZoom) {
    lect32::PlacementRecord placement;
    placement.mode = 2;
    placement.zoom = 40000;
    ASSERT_TRUE(t.page.SetPlacement(0, placement));
    const lect32::PlacementRecord back = t.page.GetPlacement(0);
    EXPECT_EQ(back.zoom, 40000);
    EXPECT_EQ(back.Zoomed(100), 4000);
    EXPECT_EQ(t.page.CopySlot(0, Slot::Record), (Fields().u8(2).u16(40000).u8(0).u8(0).u16(-1).bytes));
    placement.zoom = 32768;
    t.page.SetPlacement(0, placement);
    EXPECT_EQ(t.page.GetPlacement(0).Zoomed(1000), 32768);
}

TEST_F(PageSlotsTest, AShortSlotIsReadOverTheDefaults) {
    t.page.SetSlotSize(item(), Slot::Record, 3);
    uint8_t* data = t.page.LockSlot(item(), Slot::Record);
    ASSERT_NE(data, nullptr);
    data[0] = 1, data[1] = 0x10, data[2] = 0x27;
    t.page.UnlockSlot(item());
    const lect32::PlacementRecord placement = t.page.GetPlacement(0);
    EXPECT_EQ(placement.mode, 1);
    EXPECT_EQ(placement.zoom, 10000);
    EXPECT_EQ(placement.enlargePicture, -1);
}

TEST_F(PageSlotsTest, APlacementOrButtonChangeLaysTheObjectOutAgain) {
    struct Case {
        const char* what;
        std::function<void(lect32::Page&)> change;
        bool relayout;
    };
    const Case cases[] = {
        {"placement mode", [](lect32::Page& p) { auto r = p.GetPlacement(0); r.mode = 1; p.SetPlacement(0, r); }, true},
        {"placement zoom", [](lect32::Page& p) { auto r = p.GetPlacement(0); r.zoom = 900; p.SetPlacement(0, r); }, true},
        {"placement free proportions", [](lect32::Page& p) { auto r = p.GetPlacement(0); r.freeProportions = 1; p.SetPlacement(0, r); }, true},
        {"enlarge source", [](lect32::Page& p) { auto r = p.GetPlacement(0); r.enlargeSource = 1; p.SetPlacement(0, r); }, false},
        {"enlarge picture", [](lect32::Page& p) { auto r = p.GetPlacement(0); r.enlargePicture = 4; p.SetPlacement(0, r); }, false},
        {"button picture", [](lect32::Page& p) { auto r = p.GetButton(0); r.pictures[2] = 5; p.SetButton(0, r); }, false},
        {"button closing byte", [](lect32::Page& p) { auto r = p.GetButton(0); r.tail1 = 1; p.SetButton(0, r); }, true},
        {"same button", [](lect32::Page& p) { p.SetButton(0, p.GetButton(0)); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        t.painter.calls.clear();
        c.change(t.page);
        EXPECT_EQ(t.painter.calls, c.relayout ? std::vector<std::string>{"layout 0"} : std::vector<std::string>{});
    }
}

TEST_F(PageSlotsTest, AMediaRecordWritesThreeOfItsFourBytes) {
    ASSERT_TRUE(t.page.SetSlot(0, Slot::Record, Bytes{9, 9, 9, 9}));
    lect32::MediaRecord media;
    media.showControls = 0;
    media.playAtOnce = 1;
    media.repeat = 1;
    media.spare = 5;
    ASSERT_TRUE(t.page.SetMedia(0, media));
    EXPECT_EQ(t.page.CopySlot(0, Slot::Record), (Bytes{0, 1, 1, 9}));
}

TEST_F(PageSlotsTest, ARecordTypesSlotChangesThroughTheObjectIndex) {
    lect32::ScrollerRecord scroller;
    scroller.thumb = 3;
    scroller.scroll = -70000;
    ASSERT_TRUE(t.page.SetScroller(0, scroller));
    EXPECT_EQ(t.page.GetSlotLength(item(), Slot::Scroller), 18);
    EXPECT_EQ(t.page.GetScroller(0).scroll, -70000);
    EXPECT_FALSE(t.page.SetScroller(5, scroller)) << "no object 5";
}

}  // namespace
