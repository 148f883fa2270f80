// Random operations on a store against a plain list of strings, the store checked after each.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/text_store.h"

namespace {

using lect32::TextStore;

class StoreModel {
public:
    explicit StoreModel(uint32_t seed) : random_(seed) {}

    void Step() {
        const int op = Pick(0, 9);
        if (model_.empty() || op == 0) return AddOrInsert();
        const auto n = static_cast<uint16_t>(Pick(0, static_cast<int>(model_.size()) - 1));
        switch (op) {
            case 1: return Delete(n);
            case 2: case 3: return InsertBytes(n);
            case 4: case 5: return DeleteBytes(n);
            case 6: return Resize(n);
            case 7: return SetString(n);
            default: return AddOrInsert();
        }
    }

    void Check(bool everything) {
        ASSERT_TRUE(store_.CheckConsistency());
        ASSERT_EQ(store_.GetItemCount(), model_.size());
        if (!everything) return;
        for (uint16_t n = 0; n < model_.size(); ++n) ASSERT_EQ(store_.CopyItem(n), model_[n]) << "item " << n;
    }

    void CheckItem(uint16_t n) {
        if (n >= model_.size()) return;
        ASSERT_EQ(store_.CopyItem(n), model_[n]) << "item " << n;
    }

    uint16_t lastTouched = 0;
    uint32_t blocksSeen = 0;

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    uint32_t Total() const { return store_.GetTotalSize(); }

    // Mostly small edits, with now and then a large one so that blocks fill, move and merge.
    uint16_t EditSize() { return static_cast<uint16_t>(Pick(0, 19) == 0 ? Pick(2000, 30000) : Pick(1, 300)); }

    std::string Bytes(uint16_t size) {
        std::string s(size, '\0');
        const char fill = static_cast<char>(Pick(0, 255));
        for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>(fill + i);
        return s;
    }

    void AddOrInsert() {
        if (model_.size() > 300) return Delete(static_cast<uint16_t>(Pick(0, static_cast<int>(model_.size()) - 1)));
        const auto n = static_cast<uint16_t>(Pick(0, static_cast<int>(model_.size())));
        ASSERT_TRUE(store_.InsertItem(n));
        model_.insert(model_.begin() + n, std::string());
        lastTouched = n;
    }

    void Delete(uint16_t n) {
        ASSERT_TRUE(store_.DeleteItem(n));
        model_.erase(model_.begin() + n);
        lastTouched = n;
    }

    void InsertBytes(uint16_t n) {
        if (Total() > 350000) return DeleteBytes(n);
        std::string& item = model_[n];
        const std::string bytes = Bytes(EditSize());
        const auto offset = static_cast<uint16_t>(Pick(0, static_cast<int>(item.size())));
        const bool fits = item.size() + bytes.size() <= 0xFFFF;
        const int done = store_.InsertBytes(n, offset, bytes.data(), static_cast<uint16_t>(bytes.size()));
        if (!fits) {
            ASSERT_FALSE(done);
        }
        if (done) item.insert(offset, bytes);
        lastTouched = n;
    }

    void DeleteBytes(uint16_t n) {
        std::string& item = model_[n];
        if (item.empty()) return;
        const auto offset = static_cast<uint16_t>(Pick(0, static_cast<int>(item.size()) - 1));
        const auto count = static_cast<uint16_t>(Pick(0, static_cast<int>(item.size()) - offset));
        ASSERT_TRUE(store_.DeleteBytes(n, offset, count));
        item.erase(offset, count);
        lastTouched = n;
    }

    void Resize(uint16_t n) {
        std::string& item = model_[n];
        const auto size = static_cast<uint16_t>(std::max(0, static_cast<int>(item.size()) + Pick(-400, 400)));
        if (size > item.size() && Total() > 350000) return;
        if (!store_.SetItemLength(n, size)) return;
        // Grown bytes are unwritten: give them known values through a lock, as callers do.
        if (size > item.size()) {
            uint8_t* bytes = store_.LockItem(n);
            ASSERT_NE(bytes, nullptr);
            for (size_t i = item.size(); i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
            store_.UnlockItem(n);
            for (size_t i = item.size(); i < size; ++i) item.push_back(static_cast<char>(static_cast<uint8_t>(i * 7)));
        } else {
            item.resize(size);
        }
        lastTouched = n;
    }

    void SetString(uint16_t n) {
        const std::string bytes = Bytes(EditSize());
        if (Total() > 350000) return;
        if (store_.SetItemString(n, bytes)) model_[n] = bytes;
        lastTouched = n;
    }

    std::mt19937 random_;
    TextStore store_;
    std::vector<std::string> model_;

public:
    int Blocks() const { return store_.GetBlockCount(); }
};

TEST(TextStoreModel, HundredThousandRandomOperationsKeepTheStoreConsistent) {
    StoreModel model(20261210);
    int mostBlocks = 0;
    for (int step = 0; step < 100000; ++step) {
        model.Step();
        ASSERT_NO_FATAL_FAILURE(model.Check(step % 2000 == 0)) << "step " << step;
        ASSERT_NO_FATAL_FAILURE(model.CheckItem(model.lastTouched)) << "step " << step;
        mostBlocks = std::max(mostBlocks, model.Blocks());
    }
    model.Check(true);
    EXPECT_GE(mostBlocks, 8) << "the run should have spread the items over many blocks";
}

}  // namespace
