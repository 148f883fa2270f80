#include "store/string_pool.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store_test_support.h"
#include "winplat/testing.h"

namespace {

using Bytes = std::vector<uint8_t>;
using lect32::StringPool;
using store_test::load;
using store_test::saved;
using winplat::testing::GlobalAllocFailure;

uint16_t acquire(StringPool& pool, std::string text) { return pool.Acquire(text.data()); }

std::string at(StringPool& pool, uint16_t index) {
    char buffer[256];
    return std::string(buffer, pool.GetBytes(index, buffer));
}

TEST(StringPoolTest, LowerCasesOnlyAsciiLettersInTheCallersBuffer) {
    StringPool pool;
    char text[] = "O\xC8" "A";  // O, C with caron (cp1250), A
    ASSERT_EQ(pool.Acquire(text), 0);
    EXPECT_STREQ(text, "o\xC8" "a");
    EXPECT_EQ(at(pool, 0), "o\xC8" "a");
    EXPECT_EQ(acquire(pool, "o\xC8" "A"), 0) << "ASCII case does not matter";
    EXPECT_EQ(acquire(pool, "o\xE8" "a"), 1) << "the small c with caron is another letter";
    char found[] = "O\xC8" "a";
    EXPECT_EQ(pool.Find(found), 0);
    char empty[] = "";
    EXPECT_EQ(pool.Find(empty), 0xFFFF);

    StringPool keeping;
    keeping.SetKeepCase(1);
    char upper[] = "ABC";
    ASSERT_EQ(keeping.Acquire(upper), 0);
    EXPECT_STREQ(upper, "ABC");
    EXPECT_EQ(acquire(keeping, "abc"), 1);
}

TEST(StringPoolTest, ReleasingTheLastUseDeletesTheEntry) {
    for (int remove : {1, 0}) {
        StringPool pool;
        ASSERT_EQ(acquire(pool, "shared"), 0);
        ASSERT_EQ(acquire(pool, "after"), 1);
        EXPECT_EQ(acquire(pool, "shared"), 0);
        EXPECT_EQ(pool.GetUseCount(0), 2);
        EXPECT_EQ(pool.Release(0, remove), 1);
        EXPECT_EQ(pool.GetUseCount(0), 1);
        EXPECT_EQ(pool.Release(0, remove), 1);
        char after[] = "after";
        if (remove) {
            EXPECT_EQ(pool.GetCount(), 1);
            EXPECT_EQ(pool.Find(after), 0) << "later indexes shift down";
        } else {
            EXPECT_EQ(pool.GetCount(), 2);
            EXPECT_EQ(pool.GetFreeCount(), 1);
            EXPECT_EQ(pool.Find(after), 1) << "found behind the free slot";
            EXPECT_EQ(pool.Release(0, remove), 0) << "nothing left to release";
        }
        EXPECT_EQ(pool.Release(7, remove), 0);
    }
}

TEST(StringPoolTest, AFreedSlotIsReusedWithItsUseCountStartingAtZero) {
    StringPool pool;
    acquire(pool, "a");
    acquire(pool, "b");
    pool.AddUses(0, 5);
    pool.DeleteString(0, 0);
    EXPECT_EQ(pool.AddString("raw", 3), 0);
    EXPECT_EQ(pool.GetUseCount(0), 0);
    pool.DeleteString(0, 0);
    EXPECT_EQ(acquire(pool, "c"), 0);
    EXPECT_EQ(pool.GetUseCount(0), 1);
}

TEST(StringPoolTest, UseCountsSaturateAndAPinnedEntryStays) {
    StringPool pool;
    acquire(pool, "x");
    EXPECT_EQ(pool.AddUses(0, 0xFFF0), 0xFFF1);
    EXPECT_EQ(pool.AddUses(0, 0x20), 0xFFFF);
    EXPECT_EQ(acquire(pool, "x"), 0);
    EXPECT_EQ(pool.GetUseCount(0), 0xFFFF);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pool.Release(0, 1), 1);
    EXPECT_EQ(pool.GetUseCount(0), 0xFFFF);
    EXPECT_EQ(pool.GetCount(), 1);
    EXPECT_EQ(pool.AddUses(3, 1), 0);
    pool.ClearUseCounts();
    EXPECT_EQ(pool.GetUseCount(0), 0);
    EXPECT_EQ(pool.Release(0, 1), 1) << "a count of 0 deletes at once";
    EXPECT_EQ(pool.GetCount(), 0);
}

TEST(StringPoolTest, ALongTextIsNotFoundAgainAndAddNewNeverMerges) {
    StringPool pool;
    const std::string text(300, 'k');
    EXPECT_EQ(acquire(pool, text), 0);
    EXPECT_EQ(acquire(pool, text), 1) << "the stored 255 bytes do not match 300";
    EXPECT_EQ(pool.AddNew("Same"), 2);
    EXPECT_EQ(pool.AddNew("Same"), 3);
    EXPECT_EQ(at(pool, 3), "Same") << "AddNew keeps the case";
    EXPECT_EQ(pool.GetUseCount(3), 1);
    EXPECT_EQ(pool.ReplaceText(3, "other"), 1);
    EXPECT_EQ(at(pool, 3), "other");
}

TEST(StringPoolTest, AFailedAddChangesNothing) {
    StringPool pool;
    for (int i = 0; i < 4; ++i) acquire(pool, "entry " + std::to_string(i));
    uint16_t result = 0;
    Bytes before;
    for (int i = 0; i < 1000 && result < 0xFFFD; ++i) {
        before = saved(pool);
        std::string text = "new " + std::to_string(i);
        GlobalAllocFailure failing(1, 1 << 20);
        result = i % 2 ? pool.AddNew(text.c_str()) : pool.Acquire(text.data());
    }
    EXPECT_EQ(result, 0xFFFE);
    EXPECT_EQ(saved(pool), before);
}

// Two entries {used, length, u16 uses}: "ab" used 3 times, a free slot, then the strings.
const Bytes kPool = {
    0x02, 0x00,              // count
    0x01, 0x00,              // free count
    0x0A, 0x00,              // size: 2 headers x 4 + 2 string bytes
    0x01, 0x02, 0x03, 0x00,  // "ab", 3 uses
    0x00, 0x00, 0x00, 0x00,  // free slot
    'a',  'b',
};

TEST(StringPoolTest, SavedFormCarriesTheUseCounts) {
    StringPool pool;
    for (int i = 0; i < 3; ++i) acquire(pool, "AB");
    acquire(pool, "gone");
    pool.Release(1, 0);
    EXPECT_EQ(saved(pool), kPool);
    StringPool back;
    ASSERT_EQ(load(back, kPool), 1);
    EXPECT_EQ(back.GetUseCount(0), 3);
    EXPECT_EQ(acquire(back, "new"), 1);
}

TEST(StringPoolTest, DamagedFormsAreRefused) {
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
    };
    for (const Case& c : {Case{"headers of four bytes past the size", 0, 0x03},
                          Case{"length past the end", 7, 0x05},
                          Case{"used byte 2", 6, 0x02},
                          Case{"size one short", 4, 0x09}}) {
        Bytes form = kPool;
        form[c.at] = c.value;
        StringPool pool;
        EXPECT_EQ(load(pool, form), 0) << c.what;
        EXPECT_EQ(pool.GetCount(), 0) << c.what;
    }
}

}  // namespace
