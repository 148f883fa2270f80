#include "store/string_list.h"

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
using lect32::StringList;
using lect32::VazaziFile;
using store_test::load;
using store_test::saved;
using winplat::testing::GlobalAllocFailure;

uint16_t add(StringList& list, const std::string& text, int index = -1) {
    return list.AddString(text.data(), static_cast<int>(text.size()), index);
}

std::string at(StringList& list, uint16_t index) {
    char buffer[256];
    const uint16_t length = list.GetString(index, buffer);
    EXPECT_EQ(std::strlen(buffer), length) << "GetString terminates";
    return std::string(buffer, length);
}

std::vector<std::string> all(StringList& list) {
    std::vector<std::string> out;
    for (uint16_t i = 0; i < list.GetCount(); ++i) out.push_back(at(list, i));
    return out;
}

// "ab", a free slot, "c": the stored form byte by byte.
const Bytes kThreeEntries = {
    0x03, 0x00,  // count
    0x01, 0x00,  // free count
    0x09, 0x00,  // block size: 3 headers x 2 + 3 string bytes
    0x01, 0x02,  // entry 0: used, length 2
    0x00, 0x00,  // entry 1: free slot
    0x01, 0x01,  // entry 2: used, length 1
    'a',  'b',  'c',
};

TEST(StringListTest, SavesTheBlockBehindCountFreeCountAndSize) {
    StringList list;
    EXPECT_EQ(add(list, "ab"), 0);
    EXPECT_EQ(add(list, "x"), 1);
    EXPECT_EQ(add(list, "c"), 2);
    EXPECT_EQ(list.DeleteString(1, 0), 1);
    EXPECT_TRUE(list.IsChanged());
    EXPECT_EQ(saved(list), kThreeEntries);
    EXPECT_FALSE(list.IsChanged()) << "saving clears the changed flag";

    StringList back;
    ASSERT_EQ(load(back, kThreeEntries), 1);
    EXPECT_EQ(back.GetCount(), 3);
    EXPECT_EQ(back.GetFreeCount(), 1);
    EXPECT_EQ(all(back), (std::vector<std::string>{"ab", "", "c"}));
    EXPECT_EQ(back.Find("c", 1), 2) << "a free slot before an entry does not hide it";
    EXPECT_EQ(back.Find("", 0), 0xFFFF) << "free slots never match";
    EXPECT_FALSE(back.IsChanged());
}

TEST(StringListTest, InsertsBeforeAnEntryAndShiftsTheLaterOnes) {
    StringList list;
    add(list, "alpha");
    add(list, "gamma");
    EXPECT_EQ(add(list, "beta", 1), 1);
    EXPECT_EQ(add(list, "zero", 0), 0);
    EXPECT_EQ(add(list, "end", 4), 4) << "inserting at the count appends";
    EXPECT_EQ(all(list), (std::vector<std::string>{"zero", "alpha", "beta", "gamma", "end"}));
    EXPECT_EQ(list.GetSize(), 5u * 2 + 4 + 5 + 4 + 5 + 3);
    EXPECT_EQ(list.Find("gamma", 5), 3);
}

TEST(StringListTest, ALongStringIsCutTo255Bytes) {
    StringList list;
    std::string text(300, 'q');
    text[254] = 'L';
    text[255] = 'X';
    ASSERT_EQ(add(list, text), 0);
    char buffer[256];
    ASSERT_EQ(list.GetBytes(0, buffer), 255);
    EXPECT_EQ(std::string(buffer, 255), text.substr(0, 255));
    EXPECT_EQ(list.Find(text.data(), 300), 0xFFFF) << "the full length matches nothing";
    EXPECT_EQ(list.Find(text.data(), 255), 0);
}

TEST(StringListTest, DeletingKeepsASlotOrRemovesTheEntry) {
    StringList list;
    for (const char* s : {"a", "bb", "ccc", "dddd"}) add(list, s);
    EXPECT_EQ(list.DeleteString(1, 0), 1);
    EXPECT_EQ(list.GetFreeCount(), 1);
    EXPECT_EQ(list.DeleteString(1, 0), 0) << "a free slot cannot be deleted again";
    EXPECT_EQ(list.DeleteString(1, 1), 0);
    EXPECT_EQ(list.Find("dddd", 4), 3);
    EXPECT_EQ(add(list, "new"), 1) << "the free slot is reused";
    EXPECT_EQ(list.GetFreeCount(), 0);
    EXPECT_EQ(list.DeleteString(0, 1), 1);
    EXPECT_EQ(all(list), (std::vector<std::string>{"new", "ccc", "dddd"}));
    EXPECT_EQ(list.GetSize(), 3u * 2 + 3 + 3 + 4);
    EXPECT_EQ(list.DeleteString(9, 1), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.DeleteString(0, 1), 1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(saved(list), (Bytes{0, 0, 0, 0, 0, 0})) << "an emptied list saves as count 0, size 0";
    EXPECT_EQ(add(list, "again"), 0);
}

TEST(StringListTest, ReplaceGrowsAndShrinksAndMovesTheLaterStrings) {
    StringList list;
    for (const char* s : {"one", "two", "three"}) add(list, s);
    EXPECT_EQ(list.ReplaceString(1, "twenty-two", 10), 1);
    EXPECT_EQ(all(list), (std::vector<std::string>{"one", "twenty-two", "three"}));
    EXPECT_EQ(list.ReplaceString(1, "2", 1), 1);
    EXPECT_EQ(all(list), (std::vector<std::string>{"one", "2", "three"}));
    EXPECT_EQ(list.GetSize(), 3u * 2 + 3 + 1 + 5);
    EXPECT_EQ(list.ReplaceString(3, "x", 1), 0);
    list.DeleteString(0, 0);
    EXPECT_EQ(list.ReplaceString(0, "x", 1), 0) << "a free slot has nothing to replace";
    EXPECT_EQ(list.GetFreeCount(), 1);
}

TEST(StringListTest, TheBlockStopsAt262140Bytes) {
    StringList list;
    const std::string longest(255, 'w');
    // 1020 entries of 2 + 255 bytes fill the block exactly.
    for (int i = 0; i < 1020; ++i) ASSERT_EQ(add(list, longest), i);
    EXPECT_EQ(list.GetSize(), 262140u);
    const Bytes full = saved(list);
    EXPECT_EQ(add(list, ""), 0xFFFF) << "even an empty string needs a header";
    EXPECT_EQ(list.ReplaceString(0, "w", 1), 1) << "shrinking is always possible";
    EXPECT_EQ(list.ReplaceString(0, longest.data(), 255), 1);
    list.DeleteString(5, 0);
    EXPECT_EQ(add(list, longest), 5) << "a freed slot takes a string of the freed size";
    EXPECT_EQ(list.ReplaceString(5, longest.data(), 255), 1);
    EXPECT_EQ(saved(list), full);
    EXPECT_EQ(add(list, "w"), 0xFFFF);
    EXPECT_EQ(saved(list), full) << "a refused add changes nothing";
}

// Stored forms whose headers describe their blocks exactly: the largest block loads, one byte
// more is refused on its size alone.
TEST(StringListTest, StoredBlocksLoadUpTo262140Bytes) {
    struct Case {
        uint32_t size;
        int loads;
    };
    for (const Case c : {Case{262140, 1}, Case{262141, 0}}) {
        // Entries of 255 bytes, then one of the rest and a free slot: 1021 headers.
        const uint32_t strings = c.size - 2 * 1021;
        Bytes form = {0xFD, 0x03, 0x01, 0x00, 0xFF, 0xFF};
        for (int shift = 0; shift < 32; shift += 8) form.push_back(static_cast<uint8_t>(c.size >> shift));
        for (int i = 0; i < 1019; ++i) form.insert(form.end(), {0x01, 0xFF});
        form.insert(form.end(), {0x01, static_cast<uint8_t>(strings - 1019 * 255), 0x00, 0x00});
        form.resize(form.size() + strings, 'q');
        SCOPED_TRACE(c.size);
        StringList list;
        ASSERT_EQ(load(list, form), c.loads);
        if (c.loads) {
            EXPECT_EQ(saved(list), form);
        }
    }
}

TEST(StringListTest, EntryIndexesStayBelowTheFailureValues) {
    StringList list;
    for (int i = 0; i < 0xFFFD; ++i) ASSERT_EQ(add(list, ""), i);
    EXPECT_EQ(add(list, ""), 0xFFFF);
    EXPECT_EQ(list.GetCount(), 0xFFFD);
}

TEST(StringListTest, FailedAllocationsLeaveTheListAsItWas) {
    StringList empty;
    {
        GlobalAllocFailure failing(1);
        EXPECT_EQ(add(empty, "first"), 0xFFFE);
    }
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_FALSE(empty.HasBlock());

    // The block keeps room to spare, so adds succeed until one needs memory; that one must
    // leave the list exactly as it was.
    for (int insertAt : {-1, 0}) {
        StringList list;
        for (const char* s : {"a", "bb", "ccc"}) add(list, s);
        Bytes before;
        uint16_t result = 0;
        for (int i = 0; i < 1000 && result < 0xFFFD; ++i) {
            list.ClearChanged();
            before = saved(list);
            GlobalAllocFailure failing(1, 1 << 20);
            result = add(list, std::string(40, 'x'), insertAt);
        }
        EXPECT_EQ(result, 0xFFFE);
        EXPECT_EQ(saved(list), before);
        EXPECT_FALSE(list.IsChanged());
        const Bytes full = saved(list);
        std::string longer(255, 'y');
        {
            GlobalAllocFailure failing(1, 1 << 20);
            int replaced = 1;
            for (uint16_t i = 0; i < list.GetCount() && replaced; ++i) replaced = list.ReplaceString(i, longer.data(), 255);
            EXPECT_EQ(replaced, 0) << "growing needs memory too";
        }
        StringList check;
        ASSERT_EQ(load(check, full), 1);
        for (uint16_t i = 0; i < list.GetCount(); ++i) {
            const std::string now = at(list, i);
            EXPECT_TRUE(now == at(check, i) || now == longer) << "entry " << i << " is either as before or replaced";
        }
        EXPECT_EQ(at(list, static_cast<uint16_t>(list.GetCount() - 1)), at(check, static_cast<uint16_t>(list.GetCount() - 1)));
    }
}

TEST(StringListTest, OperationsEndUnlockedButAddKeepsTheOwnersLock) {
    StringList list;
    add(list, "a");
    EXPECT_FALSE(list.IsLocked());
    ASSERT_EQ(list.Lock(), 1);
    add(list, "b");
    EXPECT_TRUE(list.IsLocked()) << "AddString restores the lock it found";
    list.Find("a", 1);
    EXPECT_FALSE(list.IsLocked()) << "other operations end unlocked";
    ASSERT_EQ(list.LockPermanently(), 1);
    add(list, "c");
    list.DeleteString(0, 1);
    list.ReplaceString(0, "longer text", 11);
    EXPECT_EQ(list.Unlock(), 1);
    EXPECT_TRUE(list.IsLocked()) << "a permanent lock outlives every unlock";
    EXPECT_EQ(all(list), (std::vector<std::string>{"longer text", "c"}));
    list.UnlockPermanently();
    EXPECT_FALSE(list.IsLocked());
    StringList none;
    EXPECT_EQ(none.Lock(), 0);
}

TEST(StringListTest, BlocksFrom65535BytesSaveTheirSizeInTheLongForm) {
    const std::string longest(255, 'm');
    StringList exact;  // 255 x (2 + 255) = 65535
    for (int i = 0; i < 255; ++i) add(exact, longest);
    ASSERT_EQ(exact.GetSize(), 65535u);
    const Bytes big = saved(exact);
    ASSERT_EQ(big.size(), 6u + 4 + 65535);
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 10), (Bytes{0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));

    StringList below;  // 254 x 257 + 2 + 254 = 65534
    for (int i = 0; i < 254; ++i) add(below, longest);
    add(below, std::string(254, 'm'));
    ASSERT_EQ(below.GetSize(), 65534u);
    const Bytes small = saved(below);
    ASSERT_EQ(small.size(), 6u + 65534);
    EXPECT_EQ(Bytes(small.begin(), small.begin() + 6), (Bytes{0xFF, 0x00, 0x00, 0x00, 0xFE, 0xFF}));

    for (const Bytes* form : {&big, &small}) {
        StringList back;
        ASSERT_EQ(load(back, *form), 1);
        EXPECT_EQ(saved(back), *form);
    }
}

TEST(StringListTest, AnEmptySavedFormLoadsWithoutABlock) {
    StringList list;
    add(list, "old");
    ASSERT_EQ(load(list, Bytes{0, 0, 0, 0, 0, 0}), 1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(list.HasBlock());
    EXPECT_EQ(list.Find("old", 3), 0xFFFF);
}

TEST(StringListTest, TheFreeCountIsTakenFromTheHeaders) {
    Bytes form = kThreeEntries;
    form[2] = 7;  // a stale free count
    StringList list;
    ASSERT_EQ(load(list, form), 1);
    EXPECT_EQ(list.GetFreeCount(), 1);
    EXPECT_EQ(add(list, "z"), 1);
}

struct Mutation {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;  // written over the form from 'at'; empty: cut the form at 'at'
};

class StringListDamageTest : public ::testing::TestWithParam<Mutation> {};

TEST_P(StringListDamageTest, IsRefusedAndLeavesTheListEmpty) {
    const Mutation& m = GetParam();
    Bytes form = kThreeEntries;
    if (m.bytes.empty()) {
        form.resize(m.at);
    } else {
        std::copy(m.bytes.begin(), m.bytes.end(), form.begin() + m.at);
    }
    StringList list;
    add(list, "previous");
    EXPECT_EQ(load(list, form), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(list.HasBlock());
    EXPECT_EQ(list.Find("ab", 2), 0xFFFF);
}

INSTANTIATE_TEST_SUITE_P(
    StoredForms, StringListDamageTest,
    ::testing::Values(Mutation{"count past the block", 0, {0x05, 0x00}},
                      Mutation{"count of headers larger than the size", 0, {0xFF, 0x7F}},
                      Mutation{"size larger than the bytes that follow", 4, {0x0A, 0x00}},
                      Mutation{"size smaller than headers and strings", 4, {0x08, 0x00}},
                      Mutation{"long size past the limit", 4, {0xFF, 0xFF, 0xFD, 0xFF, 0x03, 0x00}},
                      Mutation{"length past the end", 7, {0xC8}},
                      Mutation{"lengths one short of the size", 7, {0x01}},
                      Mutation{"used byte neither 0 nor 1", 6, {0x02}},
                      Mutation{"free slot with a length", 9, {0x01}},
                      Mutation{"cut inside the block", 10, {}},
                      Mutation{"cut inside the size", 5, {}},
                      Mutation{"nothing at all", 0, {}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(StringListTest, LoadingFailsCleanlyWhenTheBlockCannotBeHad) {
    StringList list;
    MemReader reader;
    ASSERT_EQ(reader.LoadFromMemory(kThreeEntries.data(), static_cast<uint32_t>(kThreeEntries.size())), 1);
    GlobalAllocFailure failing(1, 10);
    EXPECT_EQ(list.Load(reader), 0);
    EXPECT_EQ(failing.failures(), 1);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(StringListTest, RoundTripsThroughARecordOfTheDocument) {
    vazazi_test::ScratchFolder scratch;
    const std::string path = scratch.windows("doc.lcn");
    StringList list;
    for (const char* s : {"pictures\\", "Žluťoučký", "notes"}) add(list, s);
    list.DeleteString(2, 0);
    MemWriter unused;
    EXPECT_EQ(list.Save(unused, 3, nullptr), 0) << "no open document";
    {
        VazaziFile file;
        ASSERT_EQ(file.Create(path.c_str(), 1), 0);
        ASSERT_EQ(list.Save(unused, 3, &file), 1);
    }
    VazaziFile file;
    ASSERT_EQ(file.Open(path.c_str(), false), 1);
    StringList back;
    MemReader none;
    ASSERT_EQ(back.Load(none, 3, &file), 1);
    EXPECT_EQ(saved(back), saved(list));
    EXPECT_EQ(back.Load(none, 4, &file), 0) << "a record that is not there";
    EXPECT_EQ(back.GetCount(), 0);
}

}  // namespace
