#include "store/flag_words.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store_test_support.h"
#include "winplat/testing.h"

namespace {

using Bytes = std::vector<uint8_t>;
using lect32::DwordArray;
using lect32::MemReader;
using store_test::load;
using store_test::saved;
using winplat::testing::GlobalAllocFailure;

const Bytes kTwo = {
    0x04,                    // element size
    0x02, 0x00,              // count
    0x05, 0x00, 0x00, 0x80,  // 0x80000005
    0x00, 0x01, 0x00, 0x00,  // 0x00000100
};

TEST(DwordArrayTest, SavesAndLoadsTheElementsInIndexOrder) {
    DwordArray array;
    EXPECT_EQ(array.Append(0x80000005u), 0);
    EXPECT_EQ(array.Append(0x100u), 1);
    EXPECT_EQ(saved(array), kTwo);
    DwordArray back;
    ASSERT_EQ(load(back, kTwo), 1);
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetAt(0), 0x80000005u);
    ASSERT_EQ(back.Lock(), 1);
    EXPECT_EQ(back.GetAt(1), 0x100u) << "read through the held pointer";
    back.Unlock();
    ASSERT_EQ(load(back, Bytes{4, 0, 0}), 1);
    EXPECT_EQ(back.GetCount(), 0);
}

TEST(DwordArrayTest, DamagedFormsLeaveTheArrayEmpty) {
    struct Case {
        const char* what;
        Bytes form;
    };
    for (const Case& c : {Case{"element size 1", {1, 2, 0, 5, 0, 0, 0, 0, 1, 0, 0}},
                          Case{"element size 2", {2, 2, 0, 5, 0, 0, 0, 0, 1, 0, 0}},
                          Case{"count past the bytes", {4, 3, 0, 5, 0, 0, 0, 0, 1, 0, 0}},
                          Case{"count past 65535 bytes", {4, 0x00, 0x40}},
                          Case{"cut in the count", {4, 2}},
                          Case{"nothing", {}}}) {
        DwordArray array;
        array.Append(7);
        EXPECT_EQ(load(array, c.form), 0) << c.what;
        EXPECT_EQ(array.GetCount(), 0) << c.what;
    }
    DwordArray array;
    MemReader reader;
    ASSERT_EQ(reader.LoadFromMemory(kTwo.data(), static_cast<uint32_t>(kTwo.size())), 1);
    GlobalAllocFailure failing(1);
    EXPECT_EQ(array.Load(reader), 0);
    EXPECT_EQ(array.GetCount(), 0);
}

TEST(DwordArrayTest, FilterByMaskClearsItemsWithoutTheBitsAndEverythingPastTheCount) {
    DwordArray array;
    for (uint32_t v : {0x1u, 0x2u, 0x3u, 0x0u}) array.Append(v);
    Bytes map = {1, 1, 0, 1, 9, 9, 9};
    array.FilterByMask(map.data(), 7, 0x2);
    EXPECT_EQ(map, (Bytes{0, 1, 0, 0, 0, 0, 0}));
    Bytes shorter = {5, 5};
    array.FilterByMask(shorter.data(), 2, 0x1);
    EXPECT_EQ(shorter, (Bytes{5, 0})) << "entries that pass keep their value";
}

TEST(DwordArrayTest, EditingSideMasksMapsAndRemovesBits) {
    DwordArray array;
    ASSERT_EQ(array.Allocate(4), 1);
    for (uint16_t i = 0; i < 4; ++i) EXPECT_EQ(array.GetAt(i), 0u) << "zero-filled";
    const Bytes select = {1, 0, 1, 0};
    array.ApplyMaskFromMap(select.data(), 4, 0x30);
    array.SetAt(1, 0xF1);
    const Bytes none = {0, 0, 0, 0};
    array.ApplyMaskFromMap(none.data(), 1, 0x10);
    EXPECT_EQ(array.GetAt(0), 0x20u);
    EXPECT_EQ(array.GetAt(1), 0xF1u);
    EXPECT_EQ(array.GetAt(2), 0x30u);
    Bytes map(6, 7);
    array.MapMask(map.data(), 6, 0x10);
    EXPECT_EQ(map, (Bytes{0, 1, 1, 0, 0, 0}));

    DwordArray bits;
    bits.Append(0xFFFFFFFFu);
    bits.Append(0b1011'0110u);
    bits.Append(0x80000001u);
    bits.RemoveBit(2);
    EXPECT_EQ(bits.GetAt(0), 0x7FFFFFFFu);
    EXPECT_EQ(bits.GetAt(1), 0b101'1010u) << "bits above 2 move down, bits 0-1 stay";
    EXPECT_EQ(bits.GetAt(2), 0x40000001u);
    bits.RemoveBit(31);
    EXPECT_EQ(bits.GetAt(0), 0x7FFFFFFFu);
}

TEST(DwordArrayTest, AppendStopsAt16383ElementsAndFailsCleanly) {
    DwordArray array;
    for (int i = 0; i < 16383; ++i) ASSERT_EQ(array.Append(static_cast<uint32_t>(i)), i);
    EXPECT_EQ(array.Append(1), 0xFFFF);
    EXPECT_EQ(array.GetCount(), 16383);
    const Bytes before = saved(array);
    DwordArray small;
    small.Append(1);
    {
        GlobalAllocFailure failing(1);
        EXPECT_EQ(small.Append(2), 0xFFFE);
    }
    EXPECT_EQ(small.GetCount(), 1);
    EXPECT_EQ(small.GetAt(0), 1u);
    DwordArray back;
    ASSERT_EQ(load(back, before), 1);
    EXPECT_EQ(back.GetAt(16382), 16382u);
}

}  // namespace
