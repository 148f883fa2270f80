// The (y, x) order of a page's objects and their paint and hit orders.
#include <numeric>

#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"

namespace {

using lect32::PageObject;
using page_test::object;

using Order = std::vector<uint16_t>;

PageObject withZ(int16_t x, int32_t y, int16_t z, uint8_t copied = 0) {
    PageObject o = object(x, y, 10, 10);
    o.z = z;
    o.copied = copied;
    return o;
}

void setZ(lect32::Page& page, uint16_t i, int16_t z, uint8_t copied = 0) {
    PageObject o = page.Object(i);
    o.z = z;
    o.copied = copied;
    page.SetObject(i, o);
}

TEST(PageOrderTest, InsertionKeepsYThenXAndPutsALaterEqualObjectFirst) {
    page_test::TestPage t;
    const struct {
        int16_t x;
        int32_t y;
        int expectedAt;
    } inserts[] = {{5, 10, 0}, {5, 20, 1}, {1, 10, 0}, {5, 10, 1}, {9, 10, 3}, {0, -3, 0}};
    for (const auto& in : inserts) {
        PageObject o = object(in.x, in.y, 1, 1);
        o.anchorId = static_cast<uint16_t>(t.page.GetCount());  // marks the insertion
        EXPECT_EQ(t.page.InsertObject(o), in.expectedAt);
    }
    const std::vector<std::pair<int32_t, int16_t>> keys = {{-3, 0}, {10, 1}, {10, 5}, {10, 5}, {10, 9}, {20, 5}};
    for (uint16_t i = 0; i < t.page.GetCount(); ++i) {
        EXPECT_EQ(std::make_pair(t.page.Object(i).y, t.page.Object(i).x), keys[i]) << i;
    }
    EXPECT_EQ(t.page.Object(2).anchorId, 3) << "of two objects at (10, 5) the one inserted later comes first";
    EXPECT_EQ(t.page.Object(3).anchorId, 0);
}

TEST(PageOrderTest, PaintAndHitOrdersPutCopiedObjectsUnderTheOthers) {
    page_test::TestPage t;
    // Array order by y: z 2, 0 copied, 1, 0, 1 copied, 1.
    const PageObject objects[] = {withZ(0, 0, 2), withZ(0, 1, 0, 1), withZ(0, 2, 1), withZ(0, 3, 0),
                                  withZ(0, 4, 1, 1), withZ(0, 5, 1)};
    for (const PageObject& o : objects) t.page.InsertObject(o);
    for (uint16_t i = 0; i < 6; ++i) setZ(t.page, i, objects[i].z, objects[i].copied);
    EXPECT_EQ(t.page.BuildOrder(false), (Order{1, 4, 3, 2, 5, 0})) << "copied first; equal z keep array order";
    EXPECT_EQ(t.page.BuildOrder(true), (Order{0, 2, 5, 3, 4, 1})) << "others first, topmost first";
    EXPECT_EQ(t.page.CountCopied(), 2);
    t.page.Renumber();
    const std::vector<int16_t> z = {5, 0, 3, 2, 1, 4};
    for (uint16_t i = 0; i < 6; ++i) EXPECT_EQ(t.page.Object(i).z, z[i]) << i;
}

// Keys whose bytes differ in either half and in sign.
TEST(PageOrderTest, OrdersSortZAcrossItsWholeRange) {
    page_test::TestPage t;
    const int16_t zs[] = {256, -1, 255, -300, 1, 32767, -32768, 255};
    for (int16_t i = 0; i < 8; ++i) t.page.InsertObject(object(0, i, 1, 1));
    for (uint16_t i = 0; i < 8; ++i) setZ(t.page, i, zs[i]);
    EXPECT_EQ(t.page.BuildOrder(false), (Order{6, 3, 1, 4, 2, 7, 0, 5}));
    EXPECT_EQ(t.page.BuildOrder(true), (Order{5, 0, 2, 7, 4, 1, 3, 6}));
}

// Every one of 300 objects is in both orders, in z order; none is dropped after 255.
TEST(PageOrderTest, ThreeHundredObjectsAreAllPaintedAndHit) {
    page_test::TestPage t;
    for (int i = 0; i < 300; ++i) t.page.InsertObject(object(0, i, 5, 5));
    for (uint16_t i = 0; i < 300; ++i) setZ(t.page, i, static_cast<int16_t>(299 - i));
    Order bottomFirst(300);
    std::iota(bottomFirst.rbegin(), bottomFirst.rend(), uint16_t{0});
    EXPECT_EQ(t.page.BuildOrder(false), bottomFirst);
    Order topFirst(300);
    std::iota(topFirst.begin(), topFirst.end(), uint16_t{0});
    EXPECT_EQ(t.page.BuildOrder(true), topFirst);
    t.page.Renumber();
    EXPECT_EQ(t.page.Object(0).z, 299);
    EXPECT_EQ(t.page.Object(299).z, 0);
}

TEST(PageOrderTest, APaintPositionShiftsTheObjectsBetween) {
    struct Case {
        const char* what;
        uint16_t object;
        int16_t position;
        std::vector<int16_t> z;  // of objects 0..4 afterwards
    };
    // Objects 0 and 1 are copied (z 0, 1); 2, 3, 4 have z 2, 3, 4.
    const Case cases[] = {
        {"raised", 2, 4, {0, 1, 4, 2, 3}},
        {"lowered", 4, 2, {0, 1, 3, 4, 2}},
        {"lowered among the copied ones", 4, 0, {0, 1, 3, 4, 2}},
        {"a copied one lowered", 1, 0, {1, 0, 2, 3, 4}},
        {"a copied one raised", 0, 3, {3, 0, 1, 2, 4}},
        {"past the top", 2, 90, {0, 1, 4, 2, 3}},
        {"in place", 3, 3, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        for (int16_t i = 0; i < 5; ++i) t.page.InsertObject(withZ(0, i, i));
        for (uint16_t i = 0; i < 5; ++i) setZ(t.page, i, static_cast<int16_t>(i), i < 2);
        t.page.SetPaintPosition(c.object, c.position);
        for (uint16_t i = 0; i < 5; ++i) EXPECT_EQ(t.page.Object(i).z, c.z[i]) << i;
        EXPECT_EQ(t.painter.calls, std::vector<std::string>{"invalidate " + std::to_string(c.object)});
    }
}

TEST(PageOrderTest, AMovedObjectIsResortedAmongTheOthers) {
    page_test::TestPage t;
    for (int32_t y : {0, 10, 20, 30}) t.page.InsertObject(object(5, y, 1, 1));
    PageObject o = t.page.Object(0);
    o.y = 20;
    t.page.SetObject(0, o);
    EXPECT_EQ(t.page.ResortObject(0), 1) << "before the object at (20, 5)";
    o = t.page.Object(3);
    o.y = -1;
    t.page.SetObject(3, o);
    EXPECT_EQ(t.page.ResortObject(3), 0);
    const std::vector<int32_t> ys = {-1, 10, 20, 20};
    for (uint16_t i = 0; i < 4; ++i) EXPECT_EQ(t.page.Object(i).y, ys[i]);
}

TEST(PageOrderTest, InsertedObjectsAreNeitherPreparedNorCopied) {
    page_test::TestPage t;
    PageObject o = object(0, 0, 1, 1);
    o.prepared = 1;
    o.copied = 1;
    ASSERT_EQ(t.page.InsertObject(o), 0);
    EXPECT_EQ(t.page.Object(0).prepared, 0);
    EXPECT_EQ(t.page.Object(0).copied, 0);
}

// While the records are locked they stay where they are: no object is added or removed.
TEST(PageOrderTest, LockedRecordsRefuseNewObjects) {
    page_test::TestPage t;
    t.page.InsertObject(object(0, 0, 1, 1));
    lect32::PageObject* first = t.page.Lock(-1);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(t.page.Lock(0), nullptr);
    t.page.Unlock();
    EXPECT_EQ(t.page.InsertObject(object(0, 5, 1, 1)), lect32::Page::kNone);
    t.page.Unlock();
    EXPECT_EQ(t.page.InsertObject(object(0, 5, 1, 1)), 1);
    EXPECT_EQ(t.page.Lock(2), nullptr) << "no record 2: nothing locked";
    EXPECT_EQ(t.page.InsertObject(object(0, 6, 1, 1)), 2);
}

}  // namespace
