#include "store/tab_stops.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "store_test_support.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using Bytes = std::vector<uint8_t>;
using lect32::MemReader;
using lect32::MemWriter;
using lect32::TabStopTable;
using lect32::VazaziFile;
using store_test::load;
using store_test::saved;
using winplat::testing::GlobalAllocFailure;

// n stops whose bytes name the stop: {tag, k, tag, k}.
Bytes stops(uint8_t tag, int n) {
    Bytes out;
    for (int k = 0; k < n; ++k) out.insert(out.end(), {tag, uint8_t(k), tag, uint8_t(k)});
    return out;
}

Bytes get(TabStopTable& table, uint16_t index) {
    Bytes out(255 * 4);
    out.resize(table.GetStops(index, out.data()) * 4u);
    return out;
}

TEST(TabStopTableTest, InitGivesEntriesWithoutStops) {
    TabStopTable table;
    ASSERT_EQ(table.Init(256), 1);
    EXPECT_TRUE(table.IsLocked());
    table.Unlock();
    EXPECT_EQ(table.GetSize(), 768);
    for (uint16_t i : {0, 5, 255}) {
        EXPECT_TRUE(get(table, i).empty());
        EXPECT_EQ(table.GetOffset(i), 768);
    }
    EXPECT_EQ(table.GetStops(256, nullptr), 0);
}

TEST(TabStopTableTest, StopsGrowAndShrinkAndMoveTheLaterEntries) {
    TabStopTable table;
    table.Init(256);
    ASSERT_EQ(table.SetStops(5, 3, stops(5, 3).data()), 1);
    EXPECT_FALSE(table.IsLocked());
    EXPECT_EQ(table.GetSize(), 780);
    EXPECT_EQ(get(table, 5), stops(5, 3));
    for (uint16_t i : {6, 100, 255}) EXPECT_EQ(table.GetOffset(i), 780);
    ASSERT_EQ(table.SetStops(6, 2, stops(6, 2).data()), 1);
    ASSERT_EQ(table.SetStops(255, 4, stops(255, 4).data()), 1) << "the last entry has no tail to move";
    EXPECT_EQ(table.GetOffset(255), 788);
    EXPECT_EQ(table.GetSize(), 804);

    ASSERT_EQ(table.SetStops(5, 1, stops(9, 1).data()), 1);
    EXPECT_EQ(get(table, 5), stops(9, 1));
    EXPECT_EQ(table.GetOffset(6), 772) << "8 bytes lower";
    EXPECT_EQ(table.GetOffset(255), 780);
    EXPECT_EQ(get(table, 6), stops(6, 2));
    EXPECT_EQ(get(table, 255), stops(255, 4));
    EXPECT_EQ(table.GetSize(), 796);
    ASSERT_EQ(table.SetStops(6, 2, stops(7, 2).data()), 1) << "same count: overwritten in place";
    EXPECT_EQ(get(table, 6), stops(7, 2));
    ASSERT_EQ(table.SetStops(0, 255, stops(1, 255).data()), 1);
    EXPECT_EQ(get(table, 0), stops(1, 255));
    EXPECT_EQ(get(table, 255), stops(255, 4));
}

TEST(TabStopTableTest, GrowthPast65535BytesIsRefusedUnchanged) {
    TabStopTable table;
    table.Init(256);
    // 768 + 63 x 255 x 4 = 65028; a 64th full entry would pass the limit.
    for (uint16_t i = 0; i < 63; ++i) ASSERT_EQ(table.SetStops(i, 255, stops(uint8_t(i), 255).data()), 1);
    ASSERT_EQ(table.SetStops(63, 126, stops(63, 126).data()), 1);
    EXPECT_EQ(table.GetSize(), 65532);
    const Bytes before = saved(table);
    EXPECT_EQ(table.SetStops(64, 1, stops(64, 1).data()), 0);
    EXPECT_EQ(saved(table), before);
    {
        GlobalAllocFailure failing(1);
        EXPECT_EQ(table.SetStops(2, 254, stops(2, 254).data()), 1) << "shrinking needs no memory";
    }
    const Bytes shrunk = saved(table);
    {
        GlobalAllocFailure failing(1);
        EXPECT_EQ(table.SetStops(2, 255, stops(2, 255).data()), 0);
    }
    EXPECT_EQ(saved(table), shrunk);
}

// Two entries: entry 0 with one stop, entry 1 with none.
const Bytes kSmall = {
    0x02, 0x00,        // entry count
    0x0A, 0x00,        // size: 2 x 3 + 4
    0x01, 0x06, 0x00,  // entry 0: 1 stop at 6
    0x00, 0x0A, 0x00,  // entry 1: none, at 10
    0x11, 0x22, 0x33, 0x44,
};

TEST(TabStopTableTest, LoadsTheStoredBlockAndRebuildsStaleOffsets) {
    TabStopTable table;
    ASSERT_EQ(load(table, kSmall), 1);
    EXPECT_EQ(get(table, 0), (Bytes{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(saved(table), kSmall);
    Bytes stale = kSmall;
    stale[5] = 0x40;  // entry 0 claims its stop lies far past the block
    ASSERT_EQ(load(table, stale), 1);
    EXPECT_EQ(get(table, 0), (Bytes{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(saved(table), kSmall);
    ASSERT_EQ(load(table, Bytes{0, 0, 0, 0}), 1);
    EXPECT_EQ(table.GetEntryCount(), 0);
    EXPECT_TRUE(get(table, 0).empty());
}

TEST(TabStopTableTest, DamagedFormsAreRefused) {
    struct Case {
        const char* what;
        size_t at;
        Bytes bytes;  // over the form from 'at'; empty: cut there
    };
    for (const Case& c : {Case{"stop count past the block", 4, {0x02}},
                          Case{"stop count short of the block", 4, {0x00}},
                          Case{"size past the bytes", 2, {0x0E, 0x00}},
                          Case{"size below the entries", 2, {0x05, 0x00}},
                          Case{"entries past the size", 0, {0x10, 0x00}},
                          Case{"entries without a size", 2, {0x00, 0x00}},
                          Case{"no entries with a size", 0, {0x00, 0x00}},
                          Case{"cut in the block", 9, {}},
                          Case{"cut in the size", 3, {}}}) {
        Bytes form = kSmall;
        if (c.bytes.empty()) {
            form.resize(c.at);
        } else {
            std::copy(c.bytes.begin(), c.bytes.end(), form.begin() + c.at);
        }
        TabStopTable table;
        table.Init(256);
        EXPECT_EQ(load(table, form), 0) << c.what;
        EXPECT_EQ(table.GetEntryCount(), 0) << c.what;
        EXPECT_TRUE(get(table, 0).empty()) << c.what;
    }
}

TEST(TabStopTableTest, RoundTripsThroughARecordOfTheDocument) {
    vazazi_test::ScratchFolder scratch;
    const std::string path = scratch.windows("doc.lcn");
    TabStopTable table;
    table.Init(256);
    table.SetStops(1, 2, stops(1, 2).data());
    table.SetStops(200, 3, stops(200, 3).data());
    MemWriter unused;
    {
        VazaziFile file;
        ASSERT_EQ(file.Create(path.c_str(), 1), 0);
        ASSERT_EQ(table.Save(unused, 5, &file), 1);
    }
    VazaziFile file;
    ASSERT_EQ(file.Open(path.c_str(), false), 1);
    TabStopTable back;
    MemReader none;
    ASSERT_EQ(back.Load(none, 5, &file), 1);
    EXPECT_EQ(saved(back), saved(table));
    EXPECT_EQ(get(back, 200), stops(200, 3));
    EXPECT_EQ(back.Load(none, 6, &file), 0);
}

}  // namespace
