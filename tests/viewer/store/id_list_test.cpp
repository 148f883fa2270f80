// The saved id list: loads of hand-written stored forms, bounds of the count and of the ids.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "store/id_list.h"
#include "store_test_support.h"

namespace {

using lect32::IdList;
using store_test::Bytes;

Bytes stored(std::vector<uint16_t> words) {
    Bytes out;
    for (uint16_t w : words) {
        out.push_back(static_cast<uint8_t>(w));
        out.push_back(static_cast<uint8_t>(w >> 8));
    }
    return out;
}

TEST(IdList, CurrentIdOutsideTheListBecomesNone) {
    IdList list;
    ASSERT_EQ(store_test::load(list, stored({2, 9, 4, 5})), 1);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetCurrent(), -1);
    ASSERT_EQ(store_test::load(list, stored({2, 5, 4, 5})), 1);
    EXPECT_EQ(list.GetCurrent(), 5);
    EXPECT_EQ(store_test::saved(list), stored({2, 5, 4, 5}));
}

TEST(IdList, ContainsTellsTheFirstIdFromTheOthers) {
    IdList list;
    ASSERT_EQ(store_test::load(list, stored({3, 0xFFFF, 7, 3, 300})), 1);
    EXPECT_EQ(list.Contains(7), 2);
    EXPECT_EQ(list.Contains(3), 1);
    EXPECT_EQ(list.Contains(300), 1);
    EXPECT_EQ(list.Contains(4), 0);
    EXPECT_EQ(list.GetAt(2), 300);
}

TEST(IdList, ShortOrOversizedListsAreRefusedEmpty) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes full = stored({32767, 0xFFFF});
    full.resize(4 + 32767 * 2, 0);
    Bytes oversized = stored({32768, 0xFFFF});
    oversized.resize(4 + 32768 * 2, 0);
    Bytes oneShort = full;
    oneShort.pop_back();
    const Case refused[] = {{"head cut", stored({1})}, {"ids cut", stored({3, 0xFFFF, 1, 2})},
                            {"count past the array", oversized}, {"last id cut", oneShort}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        IdList list;
        ASSERT_EQ(store_test::load(list, stored({1, 1, 1})), 1);
        EXPECT_EQ(store_test::load(list, c.bytes), 0);
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.GetCurrent(), -1);
    }
    IdList list;
    EXPECT_EQ(store_test::load(list, full), 1);
    EXPECT_EQ(list.GetCount(), 32767);
}

// Ids read from a file that are not string numbers never index the map.
TEST(IdList, MarkInMapSkipsIdsOutsideTheStringNumbers) {
    IdList list;
    ASSERT_EQ(store_test::load(list, stored({4, 0xFFFF, 0, 32767, 0x8000, 0xFFFF})), 1);
    std::vector<uint8_t> guarded(IdList::kMapSize + 2 * 32768, 0);
    uint8_t* map = guarded.data() + 32768;
    list.MarkInMap(map);
    EXPECT_EQ(map[0], 1);
    EXPECT_EQ(map[32767], 1);
    EXPECT_EQ(std::count(guarded.begin(), guarded.end(), 1), 2);
}

}  // namespace
