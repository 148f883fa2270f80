#include "page/attribute_slots.h"

#include <gtest/gtest.h>

#include "page_test_support.h"

namespace {

using lect32::Slot;
using page_test::Bytes;
using page_test::Fields;
using page_test::join;
using page_test::slot;

struct SlotCase {
    const char* what;
    Bytes item;
    size_t whole;          // bytes of whole slots
    int hotSpotsAt = -1;   // header offset of slot 3, -1 absent
    uint16_t hotSpotsLength = 0;
};

// Slot 3 of 4 bytes after a slot 1 of 2 bytes: the list is 5 + 7 = 12 bytes.
const Bytes kTwoSlots = join({slot(1, {0xAA, 0xBB}), slot(3, {1, 2, 3, 4})});

const SlotCase kCases[] = {
    {"empty item", {}, 0},
    {"two whole slots", kTwoSlots, 12, 5, 4},
    {"a header cut after its number", join({kTwoSlots, {2}}), 12, 5, 4},
    {"a header cut inside its length", join({kTwoSlots, {2, 1}}), 12, 5, 4},
    {"a slot of length 0 at the end", join({kTwoSlots, slot(6, {})}), 15, 5, 4},
    // The second slot claims one byte more than the item holds: the list is cut before it.
    {"a length one past the item", join({slot(1, {0xAA, 0xBB}), Fields().u8(3).u16(5).u8(1).u8(2).u8(3).u8(4).bytes}), 5},
    {"a length that fits exactly", join({slot(1, {0xAA, 0xBB}), Fields().u8(3).u16(3).u8(1).u8(2).u8(3).bytes}), 11, 5, 3},
    {"a length of 0xFFFF", join({Fields().u8(3).u16(0xFFFF).u8(9).bytes}), 0},
    {"a slot after the cut is not found", join({slot(1, {0}), Fields().u8(2).u16(40).bytes, slot(3, {7})}), 4},
};

TEST(AttributeSlotsTest, WalksOnlyWholeSlotsOfTheItem) {
    for (const SlotCase& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(lect32::WholeSlotsLength(c.item), c.whole);
        const auto found = lect32::FindSlot(c.item, Slot::HotSpots);
        ASSERT_EQ(found.has_value(), c.hotSpotsAt >= 0);
        if (!found) continue;
        EXPECT_EQ(found->header, static_cast<size_t>(c.hotSpotsAt));
        EXPECT_EQ(found->length, c.hotSpotsLength);
        EXPECT_LE(found->data() + found->length, c.item.size());
    }
}

TEST(AttributeSlotsTest, TheFirstOfTwoSlotsOfANumberIsFound) {
    const Bytes item = join({slot(2, {1}), slot(2, {2, 2})});
    EXPECT_EQ(lect32::FindSlot(item, Slot::Record)->length, 1);
}

TEST(AttributeSlotsTest, AppendsWholeSlotsUpToTheLongestAnItemHolds) {
    Bytes item;
    EXPECT_TRUE(lect32::AppendSlot(item, Slot::Link, Bytes{5, 6}));
    EXPECT_EQ(item, slot(1, {5, 6}));
    const Bytes longest(lect32::kMaxSlotData, 0);
    EXPECT_TRUE(lect32::AppendSlot(item, Slot::HotSpots, longest));
    EXPECT_EQ(item.size(), 5 + 0xFFFFu);
    Bytes other;
    EXPECT_FALSE(lect32::AppendSlot(other, Slot::HotSpots, Bytes(lect32::kMaxSlotData + 1, 0)));
    EXPECT_TRUE(other.empty());
}

}  // namespace
