// BlobList against a plain model: random appends, resizes, frees and deletes, some under refused
// allocations, with every item's bytes and the block size compared after each step.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "store/blob_list.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::BlobList;

// Writes a recognisable fill into item i (the list must be unlocked).
void stamp(BlobList& list, uint16_t i, uint8_t seed) {
    const uint16_t size = list.GetItemSize(i);
    uint8_t* item = list.LockItem(i);
    ASSERT_TRUE(item || size == 0);
    for (uint16_t k = 0; k < size; ++k) item[k] = static_cast<uint8_t>(seed + k);
    list.Unlock();
}

void expectSame(BlobList& list, const std::vector<std::vector<uint8_t>>& model) {
    ASSERT_EQ(list.GetCount(), model.size());
    size_t total = 2 * model.size();
    for (uint16_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(list.GetItemSize(i), model[i].size()) << "item " << i;
        total += model[i].size();
        if (model[i].empty()) continue;
        const uint8_t* item = list.LockItem(i);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(std::vector<uint8_t>(item, item + model[i].size()), model[i]) << "item " << i;
        list.Unlock();
    }
    EXPECT_EQ(list.GetTotalSize(), total);
    if (list.GetHandle()) {
        EXPECT_EQ(GlobalSize(list.GetHandle()), total);
    }
}

TEST(BlobListModel, RandomEditsAgreeWithAPlainModel) {
    std::mt19937 random(31);
    BlobList list;
    std::vector<std::vector<uint8_t>> model;
    for (int step = 0; step < 1500; ++step) {
        SCOPED_TRACE(step);
        const bool starved = random() % 8 == 0;
        winplat::testing::GlobalAllocFailure failure(starved ? 1 : 1 << 30, starved ? 1000 : 1);
        const int action = static_cast<int>(random() % 4);
        const auto seed = static_cast<uint8_t>(step);
        if (action == 0 || model.empty()) {
            const auto n = static_cast<uint16_t>(random() % 300);
            const uint16_t index = list.AppendItem(n);
            if (starved && n > 0) {
                EXPECT_EQ(index, 0xFFFE) << "no memory: nothing added";
            } else if (index < 0xFFFD) {
                model.emplace_back(n);
                if (!starved) {
                    stamp(list, index, seed);
                    for (uint16_t k = 0; k < n; ++k) model.back()[k] = static_cast<uint8_t>(seed + k);
                }
            }
        } else {
            const auto i = static_cast<uint16_t>(random() % model.size());
            if (action == 1) {
                const auto n = static_cast<uint16_t>(random() % 300);
                if (list.ResizeItem(i, n)) {
                    model[i].resize(n, 0);
                    if (!starved) {
                        stamp(list, i, seed);
                        for (uint16_t k = 0; k < n; ++k) model[i][k] = static_cast<uint8_t>(seed + k);
                    }
                } else {
                    EXPECT_TRUE(starved) << "a resize within the limit fails only without memory";
                }
            } else if (action == 2) {
                if (list.FreeItem(i)) model[i].clear();
            } else if (list.DeleteItem(i)) {
                model.erase(model.begin() + i);
            } else {
                EXPECT_TRUE(starved);
            }
        }
        expectSame(list, model);
    }
}

}  // namespace
