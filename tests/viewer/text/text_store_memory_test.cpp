// Every store operation that moves items, run with each of its allocations failing in turn:
// the store either did the whole operation or is exactly as it was, and stays consistent.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "text/text_store.h"
#include "winplat/testing.h"

namespace {

using lect32::TextStore;

std::string Pattern(size_t item, size_t size) { return std::string(size, static_cast<char>('A' + item % 26)); }

void Build(TextStore& store, const std::vector<size_t>& sizes) {
    for (size_t size : sizes) {
        const uint16_t n = store.AddItem();
        ASSERT_TRUE(store.SetItemString(n, Pattern(n, size)));
    }
}

std::vector<std::string> Contents(TextStore& store) {
    std::vector<std::string> items;
    for (uint16_t n = 0; n < store.GetItemCount(); ++n) items.push_back(store.CopyItem(n));
    return items;
}

struct Scenario {
    const char* name;
    std::vector<size_t> sizes;
    std::function<void(TextStore&)> prepare;
    std::function<int(TextStore&)> operation;
};

TEST(TextStoreMemory, EachFailedAllocationLeavesTheStoreAsItWas) {
    const auto grow = [](uint16_t n, size_t size) {
        return [n, size](TextStore& s) { return s.SetItemString(n, Pattern(n, size)); };
    };
    const Scenario scenarios[] = {
        {"to the next block", {62000, 3000, 60000}, nullptr, grow(1, 3600)},
        {"a new block after", {62000, 3000, 63000}, nullptr, grow(1, 3600)},
        {"to the previous block", {62000, 3000, 60000},
         [](TextStore& s) { s.SetItemString(1, Pattern(1, 3600)); s.SetItemString(0, Pattern(0, 20000)); }, grow(1, 5600)},
        {"a new block before", {62000, 3000, 60000}, [](TextStore& s) { s.SetItemString(1, Pattern(1, 3600)); },
         grow(1, 5600)},
        {"split, the item stays", {30000, 1000, 30000}, nullptr, grow(1, 6000)},
        {"split, the item moves", {30000, 1000, 20000}, nullptr, grow(1, 20000)},
        {"insert into a moving item", {30000, 1000, 20000}, nullptr,
         [](TextStore& s) { return s.InsertBytes(1, 500, std::string(19000, 'B').data(), 19000); }},
        {"merge on shrinking", {40000, 40000}, nullptr, grow(1, 20000)},
        {"an emptied block", {40000, 40000, 0}, nullptr, [](TextStore& s) { return s.DeleteBytes(1, 0, 40000); }},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        bool completed = false;
        for (int first = 1; !completed && first < 50; ++first) {
            TextStore store;
            Build(store, scenario.sizes);
            if (scenario.prepare) scenario.prepare(store);
            const auto before = Contents(store);
            const int blocksBefore = store.GetBlockCount();
            int result = 0;
            int failures = 0;
            {
                winplat::testing::DebugCapture quiet;
                winplat::testing::GlobalAllocFailure failure(first);
                result = scenario.operation(store);
                failures = failure.failures();
            }
            ASSERT_TRUE(store.CheckConsistency()) << "allocation " << first;
            if (!result) {
                EXPECT_EQ(Contents(store), before) << "allocation " << first;
                EXPECT_EQ(store.GetBlockCount(), blocksBefore) << "allocation " << first;
            }
            completed = failures == 0;
        }
        EXPECT_TRUE(completed) << "the operation needs fewer than 50 allocations";
    }
}

}  // namespace
