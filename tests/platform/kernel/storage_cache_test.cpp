#include "kernel/storage_cache.h"

#include <cstddef>
#include <vector>

#include <gtest/gtest.h>

namespace {

using winplat::StorageCache;

TEST(StorageCache, RoundsSizesUpToTheirClass) {
    struct Case {
        size_t bytes;
        size_t rounded;
    };
    const Case cases[] = {
        {0, 16},         {1, 16},         {16, 16},        {17, 20},        {20, 20},
        {21, 24},        {32, 32},        {33, 40},        {65535, 65536},  {65536, 65536},
        {65537, 81920},  {262140, 262144}, {StorageCache::kLargest, StorageCache::kLargest},
        {StorageCache::kLargest + 1, StorageCache::kLargest + 1},
    };
    for (const Case& c : cases) EXPECT_EQ(StorageCache::roundedSize(c.bytes), c.rounded) << c.bytes;
}

// Every size fits its class, wastes less than a quarter of itself, and a class's size is its own
// class, so a piece given back under its rounded size lands where it came from.
TEST(StorageCache, ClassesHoldTheirSizesWithLittleWaste) {
    size_t previous = 0;
    for (size_t bytes = 1; bytes <= StorageCache::kLargest; bytes += bytes < 4096 ? 1 : 61) {
        const size_t rounded = StorageCache::roundedSize(bytes);
        ASSERT_GE(rounded, bytes);
        ASSERT_GE(rounded, previous) << bytes;
        if (bytes > StorageCache::kSmallest) {
            ASSERT_LT(rounded - bytes, bytes / 4) << bytes;
        }
        ASSERT_EQ(StorageCache::roundedSize(rounded), rounded) << bytes;
        previous = rounded;
    }
}

TEST(StorageCache, FreedStorageServesTheNextTakeOfItsClass) {
    StorageCache cache(1 << 20);
    std::byte* piece = cache.take(100);
    ASSERT_TRUE(piece);
    cache.give(piece, 100);
    EXPECT_EQ(cache.keptBytes(), 112u) << "kept at its class's size";

    std::byte* other = cache.take(113);  // the next class up
    EXPECT_NE(other, piece);
    EXPECT_EQ(cache.keptBytes(), 112u);
    EXPECT_EQ(cache.take(97), piece) << "any size of the class takes the kept piece";
    EXPECT_EQ(cache.keptBytes(), 0u);
    std::byte* again = cache.take(100);
    EXPECT_NE(again, piece) << "a piece is handed out once";
    cache.give(other, 113);
    cache.give(piece, 97);
    cache.give(again, 100);
    cache.give(nullptr, 100);
    EXPECT_EQ(cache.keptBytes(), 2 * 112u + 128u);
}

TEST(StorageCache, AClassKeepsAtMostItsDepth) {
    StorageCache cache(1 << 20);
    std::vector<std::byte*> pieces;
    for (size_t k = 0; k <= StorageCache::kDepth; ++k) pieces.push_back(cache.take(64));
    for (size_t k = 0; k < StorageCache::kDepth; ++k) cache.give(pieces[k], 64);
    EXPECT_EQ(cache.keptBytes(), 64 * StorageCache::kDepth) << "a full class";
    cache.give(pieces.back(), 64);
    EXPECT_EQ(cache.keptBytes(), 64 * StorageCache::kDepth) << "one past the depth is freed";
    cache.give(cache.take(80), 80);
    EXPECT_EQ(cache.keptBytes(), 64 * StorageCache::kDepth + 80) << "other classes keep their own";
}

TEST(StorageCache, KeptBytesStayWithinTheBudget) {
    for (const size_t budget : {size_t{3 * 112}, size_t{3 * 112 - 1}}) {
        SCOPED_TRACE(budget);
        StorageCache cache(budget);
        std::byte* pieces[4] = {cache.take(112), cache.take(112), cache.take(112), cache.take(112)};
        for (std::byte* piece : pieces) cache.give(piece, 112);
        EXPECT_EQ(cache.keptBytes(), budget == 3 * 112 ? 3 * 112u : 2 * 112u);
        cache.give(cache.take(16), 16);
        EXPECT_EQ(cache.keptBytes(), budget == 3 * 112 ? 3 * 112u : 2 * 112u + 16);
    }
}

TEST(StorageCache, StoragePastTheLargestClassIsNeverKept) {
    StorageCache cache(size_t{64} << 20);
    const size_t large = StorageCache::kLargest + 1;
    cache.give(cache.take(large), large);
    EXPECT_EQ(cache.keptBytes(), 0u);
    cache.give(cache.take(StorageCache::kLargest), StorageCache::kLargest);
    EXPECT_EQ(cache.keptBytes(), StorageCache::kLargest) << "the largest class itself is kept";
}

}  // namespace
