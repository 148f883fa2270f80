// What button commands act on: the nearest media window or text frame by the larger gap, and the
// scroller thumb's parts and drag.
#include <map>

#include <gtest/gtest.h>

#include "page/page.h"
#include "page/slot_records.h"
#include "page_test_support.h"

namespace lect32 {
namespace {

using page_test::join;
using page_test::object;
using page_test::slot;

class NearestObjectTest : public ::testing::Test {
protected:
    // Objects are named by their x, which tells them apart.
    void add(int16_t x, int32_t y, int16_t w, int16_t h, ObjectKind kind, bool window = false) {
        ASSERT_GE(t.page.InsertObject(object(x, y, w, h, kind)), 0);
        for (uint16_t i = 0; i < t.page.GetCount(); ++i) byX[t.page.Objects()[i].x] = static_cast<int16_t>(i);
        if (window) {
            t.page.Lock(byX[x])->window = 1;
            t.page.Unlock();
        }
    }
    int nearest(const RECT& reference, bool framesOnly, int fromX = -999) {
        const int16_t from = byX.count(fromX) ? byX[fromX] : int16_t{-1};
        const int16_t i = t.page.FindNearestObject(reference, from, framesOnly);
        return i < 0 ? -1 : t.page.Objects()[static_cast<uint16_t>(i)].x;
    }
    page_test::TestPage t;
    std::map<int, int16_t> byX;
};

TEST_F(NearestObjectTest, TheLargerGapDecidesAndTheFirstWinsATie) {
    add(30, 0, 10, 10, ObjectKind::TextFrame);           // gap 20 across
    add(1, 25, 10, 10, ObjectKind::Video, true);         // gap 15 down
    add(12, 0, 10, 10, ObjectKind::Picture);             // gap 2, but neither frame nor window
    add(21, 21, 5, 5, ObjectKind::TextFrame);            // gaps 11 and 11: 11
    const RECT reference{0, 0, 10, 10};
    EXPECT_EQ(nearest(reference, false), 21);
    add(2, 21, 5, 5, ObjectKind::TextFrame);             // gaps 0 and 11: 11, placed before x 21 on its row
    EXPECT_EQ(nearest(reference, false), 2) << "a tie goes to the first in the list";
    EXPECT_EQ(nearest(reference, true), 2);
    add(5, 5, 2, 2, ObjectKind::Sound, true);            // overlaps: 0
    EXPECT_EQ(nearest(reference, false), 5);
    EXPECT_EQ(nearest(reference, true), 2) << "text frames only";
    EXPECT_EQ(nearest({30, 0, 40, 10}, true, 30), 21) << "the object itself is not a candidate";
}

TEST_F(NearestObjectTest, NothingAtTheFarLimitCounts) {
    add(0, 0x7FFF + 10, 10, 10, ObjectKind::TextFrame);
    EXPECT_EQ(nearest({0, 0, 10, 10}, true), -1) << "a gap of 0x7FFF is not near";
    EXPECT_EQ(nearest({0, 1, 10, 11}, true), 0) << "0x7FFE is";
    EXPECT_EQ(nearest({0, 0, 10, 10}, false, 0), -1);
}

class ScrollerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const int index = t.page.InsertObject(object(0, 0, 20, 100), join({slot(5, {})}));
        ASSERT_EQ(index, 0);
        ScrollerRecord s;
        s.thumb = 30;
        s.track = 100;
        s.thumbLength = 20;
        s.textHeight = 1000;
        s.visibleHeight = 200;
        ASSERT_TRUE(t.page.SetScroller(0, s));
    }
    page_test::TestPage t;
};

TEST_F(ScrollerTest, PartsAreAboveOnAndBelowTheThumb) {
    const struct {
        int y, part;
    } cases[] = {{0, 1}, {29, 1}, {30, 2}, {49, 2}, {50, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y);
        EXPECT_EQ(t.page.ScrollerPartAt(0, 5, c.y), c.part);
    }
    EXPECT_EQ(t.page.ScrollerPartAt(0, -1, -1), 0);
    EXPECT_EQ(t.page.GetScroller(0).track, 100) << "the content height";
    EXPECT_EQ(t.page.GetScroller(0).thumbLength, 0) << "no picture: no thumb";
}

TEST_F(ScrollerTest, DraggingMovesTheThumbAndGivesTheScroll) {
    EXPECT_EQ(t.page.DragScrollerThumb(0, 10), 400);
    EXPECT_EQ(t.page.GetScroller(0).thumb, 40);
    EXPECT_EQ(t.page.DragScrollerThumb(0, 500), 800) << "held at the end of the track";
    EXPECT_EQ(t.page.GetScroller(0).thumb, 80);
    EXPECT_EQ(t.page.DragScrollerThumb(0, 5), -1) << "already there";
    ScrollerRecord full = t.page.GetScroller(0);
    full.thumbLength = full.track;
    full.thumb = 0;
    t.page.SetScroller(0, full);
    EXPECT_EQ(t.page.DragScrollerThumb(0, 5), -1) << "a thumb as long as its track cannot be dragged";
    EXPECT_EQ(t.page.GetScroller(0).thumb, 0);
}

}  // namespace
}  // namespace lect32
