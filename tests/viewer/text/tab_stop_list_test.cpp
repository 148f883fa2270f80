#include "text/tab_stop_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using lect32::TabStop;
using lect32::TabStopList;

class TabStops : public ::testing::Test {
protected:
    void TearDown() override { TabStopList::SetInterval(TabStopList::kBaseInterval); }
};

TEST_F(TabStops, DefaultStopsOnMultiplesOfTheInterval) {
    const TabStopList empty;
    const struct {
        int x, position, index;
    } cases[] = {{50, 50, 1}, {51, 100, 2}, {0, 0, 0}, {1, 50, 1}, {149, 150, 3}};
    for (const auto& c : cases) {
        TabStop out{3, 7};
        EXPECT_EQ(empty.FindNext(c.x, out), c.index) << c.x;
        EXPECT_EQ(out, (TabStop{TabStop::kLeft, static_cast<int16_t>(c.position)})) << c.x;
    }
}

TEST_F(TabStops, ExplicitStopsFirstThenDefaultsNumberedOn) {
    TabStopList list;
    list.SetStops(std::vector<TabStop>{{TabStop::kRight, 40}, {TabStop::kCentred, 120}});
    TabStop out;
    EXPECT_EQ(list.FindNext(40, out), 0);
    EXPECT_EQ(out.kind, TabStop::kRight);
    EXPECT_EQ(list.FindNext(41, out), 1);
    EXPECT_EQ(out.position, 120);
    EXPECT_EQ(list.FindNext(121, out), 3 + 2 - 3) << "ceil(121/50) + 2 stops - ceil(120/50)";
    EXPECT_EQ(out.position, 150);
}

TEST_F(TabStops, ScaleMovesStopsAndTheInterval) {
    TabStopList list;
    list.SetStops(std::vector<TabStop>{{TabStop::kLeft, 40}});
    list.Scale(150);
    EXPECT_EQ(list.GetStop(0).position, 60);
    EXPECT_EQ(TabStopList::GetInterval(), 75);
    TabStop out;
    list.FindNext(61, out);
    EXPECT_EQ(out.position, 75);
}

TEST_F(TabStops, InsertKeepsOrderRefusesDuplicatesAndTheHundredAndFirst) {
    TabStopList list;
    ASSERT_TRUE(list.Insert({TabStop::kLeft, 200}));
    ASSERT_TRUE(list.Insert({TabStop::kLeft, 100}));
    ASSERT_TRUE(list.Insert({TabStop::kRight, 100}));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetStop(0), (TabStop{TabStop::kLeft, 100}));
    for (int16_t p = 1; list.GetCount() < TabStopList::kMaxStops; ++p) ASSERT_TRUE(list.Insert({0, p}));
    EXPECT_FALSE(list.Insert({0, 1000}));
    EXPECT_EQ(list.GetCount(), 100);
    list.SetStops(std::vector<TabStop>(150));
    EXPECT_EQ(list.GetCount(), 100) << "counts from documents are bounded";
}

TEST_F(TabStops, StoredBytes) {
    const uint8_t bytes[] = {TabStop::kDecimal, 0x2C, 0x01, 0};
    const TabStop stop = TabStop::FromBytes(bytes);
    EXPECT_EQ(stop, (TabStop{TabStop::kDecimal, 300}));
    uint8_t out[4] = {9, 9, 9, 9};
    stop.ToBytes(out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), std::vector<uint8_t>(bytes, bytes + 4));
}

}  // namespace
