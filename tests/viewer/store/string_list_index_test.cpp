// Find answers from an index kept beside the block; these runs drive long random sequences of
// changes and compare every answer with a plain model of the entries, so that an index left out
// of step by any operation (including failed ones and loads) shows up as a wrong lookup.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/string_list.h"
#include "store/string_pool.h"
#include "store_test_support.h"
#include "winplat/testing.h"

namespace {

using lect32::StringList;
using lect32::StringPool;
using store_test::load;
using store_test::saved;
using winplat::testing::GlobalAllocFailure;
using Bytes = std::vector<uint8_t>;
using Model = std::vector<std::optional<std::string>>;  // nullopt: a free slot

constexpr uint16_t kNotFound = StringList::kFull;

// Few words, so that equal strings in several entries are common; prefixes of each other, an
// empty one, bytes above 0x7F, an embedded zero byte and the longest allowed string.
std::vector<std::string> vocabulary() {
    return {"",
            "a",
            "ab",
            "abc",
            "b",
            "picture.gif",
            "Picture.gif",
            std::string("a\0b", 3),
            std::string("\xE8\x9A\xBE", 3),
            std::string(255, 'q'),
            std::string(254, 'q')};
}

// Never stored, but close to stored words.
std::vector<std::string> absentWords() {
    return {"abcd", "ba", "A", std::string("a\0", 2), std::string(253, 'q')};
}

uint16_t expectedFind(const Model& model, const std::string& text) {
    for (size_t j = 0; j < model.size(); ++j) {
        if (model[j] && *model[j] == text) return static_cast<uint16_t>(j);
    }
    return kNotFound;
}

void checkAgainst(StringList& list, const Model& model, bool contents) {
    ASSERT_EQ(list.GetCount(), model.size());
    ASSERT_EQ(list.GetFreeCount(), std::count(model.begin(), model.end(), std::nullopt));
    for (const auto& word : vocabulary()) {
        ASSERT_EQ(list.Find(word.data(), static_cast<int>(word.size())), expectedFind(model, word))
            << "word of length " << word.size();
    }
    for (const auto& word : absentWords()) {
        ASSERT_EQ(list.Find(word.data(), static_cast<int>(word.size())), kNotFound);
    }
    if (!contents) return;
    char buffer[256];
    for (size_t j = 0; j < model.size(); ++j) {
        const uint16_t length = list.GetBytes(static_cast<uint16_t>(j), buffer);
        ASSERT_EQ(std::string(buffer, length), model[j].value_or(std::string()));
    }
}

// Runs 'steps' random operations on 'list' and checks it against the model after each one.
void runRandom(StringList& list, uint32_t seed, int steps) {
    std::mt19937 random(seed);
    auto pick = [&](int below) { return static_cast<int>(random() % static_cast<uint32_t>(below)); };
    const auto words = vocabulary();
    auto word = [&]() -> const std::string& {
        return words[static_cast<size_t>(pick(static_cast<int>(words.size())))];
    };

    Model model;
    Bytes snapshot = saved(list);
    Model snapshotModel;
    bool pinned = false;

    for (int step = 0; step < steps; ++step) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
        const int n = static_cast<int>(model.size());
        // Keep the list small enough to check fully, and lean to growth while it is short.
        const int op = n > 120 ? 4 + pick(3) : pick(14);
        switch (op) {
            case 0:
            case 1:
            case 2: {  // append, reusing the first free slot
                const std::string& text = word();
                const auto freeSlot = std::find(model.begin(), model.end(), std::nullopt);
                const auto expected = static_cast<uint16_t>(freeSlot - model.begin());
                ASSERT_EQ(list.AddString(text.data(), static_cast<int>(text.size())), expected);
                if (freeSlot != model.end()) {
                    *freeSlot = text;
                } else {
                    model.push_back(text);
                }
                break;
            }
            case 3: {  // insert before any entry, or at the end
                const std::string& text = word();
                const int at = pick(n + 1);
                ASSERT_EQ(list.AddString(text.data(), static_cast<int>(text.size()), at), at);
                model.insert(model.begin() + at, text);
                break;
            }
            case 4:
            case 5:
            case 6: {  // delete (free slot or removal), sometimes of a free slot or past the end
                const int at = pick(n + 2);
                const int remove = pick(2);
                const bool used = at < n && model[static_cast<size_t>(at)].has_value();
                ASSERT_EQ(list.DeleteString(static_cast<uint16_t>(at), remove), used ? 1 : 0);
                if (used) {
                    if (remove) {
                        model.erase(model.begin() + at);
                    } else {
                        model[static_cast<size_t>(at)].reset();
                    }
                }
                break;
            }
            case 7:
            case 8: {  // replace, sometimes a free slot or past the end
                const std::string& text = word();
                const int at = pick(n + 1);
                const bool used = at < n && model[static_cast<size_t>(at)].has_value();
                ASSERT_EQ(
                    list.ReplaceString(static_cast<uint16_t>(at), text.data(), static_cast<int>(text.size())),
                    used ? 1 : 0);
                if (used) model[static_cast<size_t>(at)] = text;
                break;
            }
            case 9: {  // an add or replace that may find no memory must change nothing
                const std::string& text = word();
                GlobalAllocFailure failing(1, 1 << 20);
                if (pick(2) && n > 0) {
                    const int at = pick(n);
                    if (list.ReplaceString(static_cast<uint16_t>(at), text.data(),
                                           static_cast<int>(text.size())) == 1) {
                        model[static_cast<size_t>(at)] = text;
                    }
                } else {
                    const int at = pick(n + 1);
                    const uint16_t result = list.AddString(text.data(), static_cast<int>(text.size()), at);
                    if (result != StringList::kNoMemory) {
                        ASSERT_EQ(result, at);
                        model.insert(model.begin() + at, text);
                    }
                }
                break;
            }
            case 10: {  // save and load back, or go back to an earlier state
                if (pick(3) == 0) {
                    ASSERT_EQ(load(list, snapshot), 1);
                    model = snapshotModel;
                } else {
                    snapshot = saved(list);
                    snapshotModel = model;
                    ASSERT_EQ(load(list, snapshot), 1);
                }
                pinned = false;  // a load starts from an unlocked block
                break;
            }
            case 11: {  // a load that fails leaves an empty list
                Bytes broken = saved(list);
                if (broken.size() > 6) {
                    broken.pop_back();
                    EXPECT_EQ(load(list, broken), 0);
                    model.clear();
                    pinned = false;
                }
                break;
            }
            case 12:
                if (pick(8) == 0) {
                    list.Clear();
                    model.clear();
                    pinned = false;
                }
                break;
            case 13:  // the owner's locks must not matter to lookups
                if (pinned) {
                    list.UnlockPermanently();
                    pinned = false;
                } else {
                    pinned = list.LockPermanently() == 1;
                }
                break;
        }
        checkAgainst(list, model, step % 64 == 0);
        if (::testing::Test::HasFatalFailure()) return;
    }
    checkAgainst(list, model, true);
}

TEST(StringListIndexTest, RandomChangesKeepFindEqualToAScan) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        StringList list;
        runRandom(list, seed, 4000);
        if (HasFatalFailure()) return;
    }
}

TEST(StringListIndexTest, RandomChangesOnAPoolKeepFindEqualToAScan) {
    // Longer headers move the strings; the pool's use counts live beside the indexed fields.
    for (uint32_t seed : {11u, 12u}) {
        StringPool pool;
        pool.SetKeepCase(1);
        runRandom(pool, seed, 4000);
        if (HasFatalFailure()) return;
    }
}

TEST(StringListIndexTest, FirstEqualEntryWinsAfterEarlierOnesGo) {
    StringList list;
    for (int i = 0; i < 5; ++i) list.AddString("same", 4);
    ASSERT_EQ(list.Find("same", 4), 0);
    ASSERT_EQ(list.DeleteString(0, 0), 1);
    EXPECT_EQ(list.Find("same", 4), 1);
    ASSERT_EQ(list.DeleteString(1, 1), 1);  // the old entry 2 is now entry 1
    EXPECT_EQ(list.Find("same", 4), 1);
    ASSERT_EQ(list.ReplaceString(1, "other", 5), 1);
    EXPECT_EQ(list.Find("same", 4), 2);
    EXPECT_EQ(list.Find("other", 5), 1);
    ASSERT_EQ(list.AddString("same", 4), 0);  // back into the free slot
    EXPECT_EQ(list.Find("same", 4), 0);
    ASSERT_EQ(list.AddString("other", 5, 0), 0);
    EXPECT_EQ(list.Find("other", 5), 0);
    EXPECT_EQ(list.Find("same", 4), 1);
}

TEST(StringListIndexTest, PoolAcquireAndReleaseFollowTheIndex) {
    StringPool pool;
    char text[32];
    auto acquire = [&](const char* s) {
        std::snprintf(text, sizeof text, "%s", s);
        return pool.Acquire(text);
    };
    EXPECT_EQ(acquire("Alpha"), 0);
    EXPECT_EQ(acquire("beta"), 1);
    EXPECT_EQ(acquire("ALPHA"), 0);  // lower-cased, so found
    EXPECT_EQ(pool.GetUseCount(0), 2);
    EXPECT_EQ(pool.Release(0, 1), 1);
    EXPECT_EQ(pool.Release(0, 1), 1);  // no uses left: removed, beta moves to 0
    std::snprintf(text, sizeof text, "beta");
    EXPECT_EQ(pool.Find(text), 0);
    std::snprintf(text, sizeof text, "alpha");
    EXPECT_EQ(pool.Find(text), kNotFound);
    EXPECT_EQ(acquire("alpha"), 1);
}

}  // namespace
