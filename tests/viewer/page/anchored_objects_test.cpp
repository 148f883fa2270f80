// Objects anchored to marks in the text, and free objects kept off page breaks.
#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"

namespace {

using lect32::PageObject;
using page_test::object;

PageObject anchored(int32_t y, uint16_t id, uint8_t anchoring = 2, int16_t height = 10) {
    PageObject o = object(0, y, 10, height);
    o.anchorId = id;
    o.anchoring = anchoring;
    return o;
}

std::vector<int32_t> ys(const lect32::Page& page) {
    std::vector<int32_t> out;
    for (const PageObject& o : page.Objects()) out.push_back(o.y);
    return out;
}

class AnchoredObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.page.InsertObject(object(0, 0, 10, 10));
        t.page.InsertObject(anchored(20, 7));
        t.page.InsertObject(object(0, 40, 10, 10));
        t.page.InsertObject(anchored(60, 8, 3));
        t.page.InsertObject(anchored(80, 0));  // anchoring without an id: stays free
    }
    static constexpr int32_t kParked = PageObject::kParkedY;
    page_test::TestPage t;
};

TEST_F(AnchoredObjectsTest, DetachedObjectsWaitParkedAtTheEndAndComeBack) {
    EXPECT_EQ(t.page.DetachAnchoredObjects(), 2);
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{0, 40, 80, kParked, kParked}));
    EXPECT_EQ(t.page.Object(3).savedY, 20);
    EXPECT_EQ(t.page.Object(4).savedY, 60);
    // Detaching again keeps the saved places.
    EXPECT_EQ(t.page.DetachAnchoredObjects(), 2);
    EXPECT_EQ(t.page.Object(3).savedY, 20);
    t.page.PlaceAnchoredObjects();
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{0, 20, 40, 60, 80}));
}

TEST_F(AnchoredObjectsTest, MovingToAMarkTakesTheOffsetOnlyWhenItIsSmallerThanTheObject) {
    struct Case {
        const char* what;
        uint16_t id;
        uint8_t anchoring;
        int32_t y;
        int32_t offset;
        std::vector<int32_t> ys;
    };
    const Case cases[] = {
        {"with the offset", 7, 2, 100, 9, {0, 40, 60, 80, 109}},
        {"an offset as large as the object", 7, 2, 100, 10, {0, 40, 60, 80, 100}},
        {"the other anchoring is left", 7, 3, 100, 0, {0, 20, 40, 60, 80}},
        {"anchoring 3", 8, 3, 5, 1, {0, 6, 20, 40, 80}},
        {"no such anchor", 9, 2, 5, 1, {0, 20, 40, 60, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage fresh;
        for (const PageObject& o : t.page.Objects()) fresh.page.InsertObject(o);
        fresh.page.MoveAnchoredObjects(c.id, c.y, c.offset, c.anchoring);
        EXPECT_EQ(ys(fresh.page), c.ys);
    }
}

TEST_F(AnchoredObjectsTest, ShiftingMovesAnchoredObjectsAndParkedOnesOnlyWhenAsked) {
    t.page.ShiftAnchoredObjects(5, false);
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{0, 25, 40, 65, 80}));
    t.page.DetachAnchoredObjects();
    t.page.ShiftAnchoredObjects(5, false);
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{0, 40, 80, kParked, kParked}));
    t.page.ShiftAnchoredObjects(5, true);
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{0, 30, 40, 70, 80}));
}

TEST_F(AnchoredObjectsTest, FindsAndSetsAnchors) {
    EXPECT_EQ(t.page.FindAnchoredObject(7, false), 1);
    EXPECT_EQ(t.page.FindAnchoredObject(7, true), lect32::Page::kNone);
    EXPECT_EQ(t.page.FindAnchoredObject(8, true), 3);
    EXPECT_EQ(t.page.FindAnchoredObject(9, false), lect32::Page::kNone);
    t.page.SetAnchor(0, 9);
    EXPECT_EQ(t.page.FindAnchoredObject(9, false), 0);
    t.page.SetAnchor(0, -1);
    EXPECT_EQ(t.page.Object(0).anchoring, 0);
    EXPECT_EQ(t.page.FindAnchoredObject(9, false), lect32::Page::kNone);
}

TEST(PageBreaksTest, FreeObjectsMoveToTheSideOfTheBreakWhereMoreOfThemLies) {
    struct Case {
        const char* what;
        int32_t y;
        int16_t height;
        uint8_t anchoring;
        int32_t expected;
    };
    // Breaks at 100, 250, 400, ...
    const Case cases[] = {
        {"mostly above the break: ends at it", 80, 30, 0, 70},
        {"mostly below: starts at it", 95, 30, 0, 100},
        {"half and half: starts at it", 90, 20, 0, 100},
        {"touching the break from above", 70, 30, 0, 70},
        {"starting at the break", 100, 30, 0, 100},
        {"above the first break", 10, 30, 0, 10},
        {"a later break", 235, 20, 0, 230},
        {"an anchored object is left", 80, 30, 2, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        PageObject o = object(0, c.y, 10, c.height);
        o.anchoring = c.anchoring;
        o.anchorId = 1;
        t.page.InsertObject(o);
        t.page.AvoidPageBreaks(100, 150);
        EXPECT_EQ(t.page.Object(0).y, c.expected);
    }
}

TEST(PageBreaksTest, MovedObjectsAreResortedAndEachMovesOnce) {
    page_test::TestPage t;
    t.page.InsertObject(object(0, 95, 10, 30));   // moves down to 100
    t.page.InsertObject(object(5, 97, 10, 4));    // mostly above 100: up to 96
    t.page.InsertObject(object(0, 99, 10, 2));    // half and half: down to 100
    t.page.AvoidPageBreaks(100, 0);
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{95, 97, 99})) << "no page height: nothing moves";
    t.page.AvoidPageBreaks(100, 150);
    EXPECT_EQ(ys(t.page), (std::vector<int32_t>{96, 100, 100}));
    EXPECT_EQ(t.page.Object(0).x, 5);
}

}  // namespace
