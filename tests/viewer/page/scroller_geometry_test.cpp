// Scroller numbers: the thumb for a scroll position, the scroll for a thumb, the stretched thumb,
// the parts of the track, dragging, and the rows of a stretched thumb picture.
#include "page/scroller_geometry.h"

#include <gtest/gtest.h>

#include "page/slot_records.h"

namespace lect32 {
namespace {

ScrollerRecord scroller(int16_t track, int16_t thumbLength, int32_t total, int32_t visible, int32_t scroll,
                        int16_t thumb = 0) {
    ScrollerRecord s;
    s.track = track;
    s.thumbLength = thumbLength;
    s.textHeight = total;
    s.visibleHeight = visible;
    s.scroll = scroll;
    s.thumb = thumb;
    return s;
}

TEST(ScrollerGeometry, ThumbFollowsTheScrollPosition) {
    const struct {
        int32_t total, visible, scroll;
        int16_t thumb;
    } cases[] = {
        {1000, 200, 0, 0},
        {1000, 200, 400, 40},   // 400 x 80 / 800
        {1000, 200, 405, 41},   // 40.5 rounds up, as MulDiv does
        {1000, 200, 800, 80},   // at the bottom: all the room
        {1000, 200, 900, 80},   // past it: held at the room
        {1000, 999, 1, 80},     // one pixel to scroll
        {500, 500, 0, 0},       // the text fits: nothing to divide by
        {500, 500, 30, 0},
        {300, 500, 30, 0},      // shorter than its frame
        {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " " << c.visible << " " << c.scroll);
        EXPECT_EQ(ThumbPosition(scroller(100, 20, c.total, c.visible, c.scroll)), c.thumb);
    }
    EXPECT_EQ(ThumbPosition(scroller(20, 20, 1000, 200, 400)), 0) << "a thumb as long as its track";
}

TEST(ScrollerGeometry, ScrollForAThumbIsTheInverse) {
    const ScrollerRecord s = scroller(100, 20, 1000, 200, 0);
    EXPECT_EQ(ScrollForThumb(s, 0), 0);
    EXPECT_EQ(ScrollForThumb(s, 40), 400);
    EXPECT_EQ(ScrollForThumb(s, 80), 800);
    EXPECT_EQ(ScrollForThumb(scroller(20, 20, 1000, 200, 0), 0), 0) << "no room: no division";
    EXPECT_EQ(ScrollForThumb(scroller(100, 20, 500, 500, 0), 30), 0) << "nothing to scroll";
}

TEST(ScrollerGeometry, StretchedThumbIsTheVisibleShareAtLeastThePicture) {
    EXPECT_EQ(StretchedThumbLength(scroller(100, 0, 1000, 250, 0), 10), 25);
    EXPECT_EQ(StretchedThumbLength(scroller(100, 0, 1000, 50, 0), 10), 10) << "never shorter than the picture";
    EXPECT_EQ(StretchedThumbLength(scroller(100, 0, 1000, 100, 0), 10), 10) << "equal";
    EXPECT_EQ(StretchedThumbLength(scroller(100, 0, 1000, 110, 0), 10), 11);
    EXPECT_EQ(StretchedThumbLength(scroller(100, 0, 500, 800, 0), 10), 100) << "a text that fits fills the track";
    EXPECT_EQ(StretchedThumbLength(scroller(100, 0, 0, 0, 0), 10), 10) << "no text";
}

TEST(ScrollerGeometry, PartsAboveOnAndBelowTheThumb) {
    const ScrollerRecord s = scroller(100, 20, 1000, 200, 0, 30);
    const struct {
        int32_t y;
        int part;
    } cases[] = {{0, 1}, {29, 1}, {30, 2}, {49, 2}, {50, 3}, {99, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y);
        EXPECT_EQ(ScrollerPartAtY(s, c.y), c.part);
    }
}

TEST(ScrollerGeometry, DraggingStaysOnTheTrack) {
    const ScrollerRecord s = scroller(100, 20, 1000, 200, 0, 30);
    EXPECT_EQ(DraggedThumb(s, 10), 40);
    EXPECT_EQ(DraggedThumb(s, -30), 0);
    EXPECT_EQ(DraggedThumb(s, -31), 0) << "held at the top";
    EXPECT_EQ(DraggedThumb(s, 50), 80);
    EXPECT_EQ(DraggedThumb(s, 51), 80) << "held at the bottom";
    EXPECT_EQ(DraggedThumb(s, 0), -1) << "no move";
    EXPECT_EQ(DraggedThumb(scroller(100, 20, 1000, 200, 0, 0), -5), -1) << "already at the top";
    EXPECT_EQ(DraggedThumb(scroller(20, 20, 1000, 200, 0), 5), -1) << "a thumb as long as its track cannot move";
    EXPECT_EQ(DraggedThumb(scroller(20, 21, 1000, 200, 0), 5), -1);
    EXPECT_EQ(DraggedThumb(scroller(21, 20, 1000, 200, 0), 5), 1) << "one pixel of room";
}

TEST(ScrollerGeometry, StretchedPictureRows) {
    const struct {
        int height, length;
        ThumbStretch plan;
    } cases[] = {
        {9, 20, {4, 12, 4}},  // rows 0-3 copied, row 4 over 4..15, rows 5-8 to 16..19
        {10, 20, {5, 11, 4}},
        {10, 10, {5, 1, 4}},  // its own height: the middle row once
        {10, 7, {5, 0, 2}},   // shorter than the picture: no negative stretch
        {10, 3, {3, 0, 0}},
        {1, 5, {0, 5, 0}},
        {0, 5, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " -> " << c.length);
        const ThumbStretch plan = PlanThumbStretch(c.height, c.length);
        EXPECT_EQ(plan.top, c.plan.top);
        EXPECT_EQ(plan.middle, c.plan.middle);
        EXPECT_EQ(plan.bottom, c.plan.bottom);
        EXPECT_LE(plan.top + plan.middle + plan.bottom, std::max(c.length, 0));
        EXPECT_GE(plan.middle, 0);
    }
}

}  // namespace
}  // namespace lect32
