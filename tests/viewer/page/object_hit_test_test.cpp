// Which object the mouse is on: the near box, the inside, the current object's eight handles with
// their tolerance, and the top object first.
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"

namespace lect32 {
namespace {

using page_test::object;

class ObjectHitTest : public ::testing::Test {
protected:
    void SetUp() override {
        PageObject a = object(20, 20, 40, 30);
        a.z = 0;
        PageObject b = object(100, 20, 40, 30);
        b.z = 1;
        PageObject top = object(110, 30, 10, 10);
        top.z = 2;
        PageObject copied = object(115, 45, 10, 10);
        copied.z = 3;
        for (const PageObject& o : {a, b, top, copied}) ASSERT_GE(t.page.InsertObject(o), 0);
        for (uint16_t i = 0; i < t.page.GetCount(); ++i) index[t.page.Objects()[i].x] = static_cast<int16_t>(i);
        // The copied flag is the page's own: set on the placed object, as a copy from another page sets it.
        t.page.Lock(index[115])->copied = 1;
        t.page.Unlock();
    }
    // The object hit, named by its x (-1: none), and the part.
    std::pair<int, int> hit(int32_t x, int32_t y) {
        int part = -7;
        const int16_t i = t.page.HitTestObject(x, y, part);
        return {i < 0 ? -1 : t.page.Objects()[static_cast<uint16_t>(i)].x, part};
    }
    page_test::TestPage t;
    std::map<int, int16_t> index;
};

TEST_F(ObjectHitTest, TheCurrentObjectsHandlesReachPastItsEdges) {
    t.page.SetCurrentObject(index[20]);
    const struct {
        int32_t x, y;
        int object, part;
    } cases[] = {
        {16, 20, -1, 0},  // left of the top-left handle's reach
        {17, 20, 20, 2},  // its first column
        {23, 23, 20, 2},  // its last column and row
        {24, 20, 20, 1},  // past it: the inside
        {20, 49, 20, 4},  // bottom-left
        {59, 49, 20, 6},  // bottom-right at width - 1, height - 1
        {59, 20, 20, 8},  // top-right
        {62, 20, 20, 8},
        {63, 20, -1, 0},  // past the near box
        {59, 52, 20, 6},
        {59, 53, -1, 0},
        {39, 20, 20, 9},  // the middles at (size - 1) / 2
        {59, 34, 20, 7},
        {39, 49, 20, 5},
        {20, 34, 20, 3},
        {40, 35, 20, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        EXPECT_EQ(hit(c.x, c.y), std::make_pair(c.object, c.part));
    }
}

TEST_F(ObjectHitTest, AnObjectThatIsNotCurrentIsHitOnlyInside) {
    t.page.SetCurrentObject(index[20]);
    EXPECT_EQ(hit(97, 20), std::make_pair(-1, 0)) << "left of an object that is not current";
    EXPECT_EQ(hit(99, 20), std::make_pair(-1, 0));
    EXPECT_EQ(hit(100, 20), std::make_pair(100, 1));
    EXPECT_EQ(hit(139, 49), std::make_pair(100, 1));
    EXPECT_EQ(hit(140, 49), std::make_pair(-1, 0));
    EXPECT_EQ(hit(139, 50), std::make_pair(-1, 0));
    t.page.SetCurrentObject(index[100]);
    EXPECT_EQ(hit(97, 20), std::make_pair(100, 2)) << "the same click on the current object's handle";
    EXPECT_EQ(hit(96, 20), std::make_pair(-1, 0));
}

TEST_F(ObjectHitTest, TheTopObjectWinsAndCopiedObjectsLieUnderTheOthers) {
    EXPECT_EQ(hit(112, 32), std::make_pair(110, 1)) << "over the object under it";
    EXPECT_EQ(hit(117, 47), std::make_pair(100, 1)) << "a copied object lies under the others";
    EXPECT_EQ(hit(117, 52), std::make_pair(115, 1)) << "where only the copied one is";
    EXPECT_EQ(hit(105, 25), std::make_pair(100, 1));
}

}  // namespace
}  // namespace lect32
