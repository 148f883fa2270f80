#include "display/snap_markers.h"

#include <gtest/gtest.h>

namespace linework {
namespace {

TEST(SnapMarkersTest, TheSamePointTwiceCountsTwiceAndComesOffOneAtATime) {
    SnapMarkerList list;
    EXPECT_EQ(list.Add(5, 1, {1, 2}, false), MarkerChange::Added);
    EXPECT_EQ(list.Add(6, 1, {1, 2}, false), MarkerChange::Counted);
    ASSERT_EQ(list.Markers().size(), 1u);
    EXPECT_EQ(list.Markers()[0].count, 2);
    EXPECT_EQ(list.Markers()[0].label, 6);  // the newer label
    EXPECT_EQ(list.Add(0, 1, {1, 2}, true), MarkerChange::Counted);
    ASSERT_EQ(list.Markers().size(), 1u);
    EXPECT_EQ(list.Markers()[0].count, 1);
    EXPECT_EQ(list.Add(0, 1, {1, 2}, true), MarkerChange::Removed);
    EXPECT_TRUE(list.Markers().empty());
    EXPECT_EQ(list.Add(0, 1, {1, 2}, true), MarkerChange::None);
    EXPECT_TRUE(list.Markers().empty());
}

TEST(SnapMarkersTest, TemporaryAndKeptMarkersAtOnePointAreApart) {
    SnapMarkerList list;
    list.Add(1, 1, {3, 3}, false);
    EXPECT_EQ(list.Add(172, -1, {3, 3}, false), MarkerChange::Added);
    EXPECT_EQ(list.Add(172, -1, {3, 3}, false), MarkerChange::Counted);
    EXPECT_EQ(list.Markers().size(), 2u);
    EXPECT_EQ(list.TemporaryCount(), 1);
    list.Add(173, -1, {4, 4}, false);
    EXPECT_EQ(list.TemporaryCount(), 2);
    // Removing one of the -2 leaves -1; the next removes it.
    EXPECT_EQ(list.Add(0, -1, {3, 3}, true), MarkerChange::Counted);
    EXPECT_EQ(list.Add(0, -1, {3, 3}, true), MarkerChange::Removed);
    EXPECT_EQ(list.TemporaryCount(), 1);
    const std::vector<SnapMarker> purged = list.PurgeTemporary();
    ASSERT_EQ(purged.size(), 1u);
    EXPECT_EQ(purged[0].at, (Point{4, 4}));
    ASSERT_EQ(list.Markers().size(), 1u);
    EXPECT_EQ(list.Markers()[0].count, 1);
    EXPECT_EQ(list.TemporaryCount(), 0);
}

TEST(SnapMarkersTest, ACountOfZeroAddsNothing) {
    SnapMarkerList list;
    EXPECT_EQ(list.Add(1, 0, {0, 0}, false), MarkerChange::None);
    EXPECT_TRUE(list.Markers().empty());
}

TEST(SnapMarkersTest, TheNearestWithinTheToleranceWinsAndTheFirstInTheListWinsATie) {
    SnapMarkerList list;
    list.Add(1, 1, {10, 0}, false);   // older
    list.Add(2, 1, {-10, 0}, false);  // newer: first in the list
    list.Add(3, 1, {0, 30}, false);
    const SnapMarker* tie = list.Nearest({0, 0}, 10);
    ASSERT_NE(tie, nullptr);
    EXPECT_EQ(tie->label, 2);
    const SnapMarker* nearer = list.Nearest({1, 0}, 10);
    ASSERT_NE(nearer, nullptr);
    EXPECT_EQ(nearer->label, 1);
    // The tolerance holds in x and y apart, its bound included.
    EXPECT_NE(list.Nearest({0, 20}, 10), nullptr);
    EXPECT_EQ(list.Nearest({0, 19.99}, 10), nullptr);
    EXPECT_EQ(list.Nearest({0, 0}, 9.99), nullptr);
}

}  // namespace
}  // namespace linework
