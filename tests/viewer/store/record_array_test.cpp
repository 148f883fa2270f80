#include <cstring>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "store/block_pool.h"
#include "store/record_array.h"
#include "store_test_support.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::RecordArray;
using lect32::WordArray;
using store_test::lockCount;
using winplat::testing::GlobalAllocFailure;
using Bytes = std::vector<uint8_t>;

Bytes contents(RecordArray& array) {
    Bytes out;
    if (!array.GetCount()) return out;
    const auto* data = static_cast<const uint8_t*>(array.LockRecord(0));
    out.assign(data, data + size_t{array.GetCount()} * array.GetRecordSize());
    array.Unlock();
    return out;
}

void fillRecord(RecordArray& array, uint16_t i, uint8_t seed) {
    auto* record = static_cast<uint8_t*>(array.LockRecord(i));
    ASSERT_NE(record, nullptr);
    for (uint16_t k = 0; k < array.GetRecordSize(); ++k) record[k] = static_cast<uint8_t>(seed + k);
    array.Unlock();
}

TEST(RecordArray, SevenByteRecordsStopBelowTheBlockLimit) {
    RecordArray array(7);
    for (uint16_t i = 0; i < 9362; ++i) ASSERT_EQ(array.Append(), i);
    EXPECT_EQ(GlobalSize(array.GetHandle()), 65534u);
    fillRecord(array, 9361, 3);
    const Bytes before = contents(array);
    EXPECT_EQ(array.Append(), lect32::kAddLimit);
    EXPECT_EQ(array.Insert(0), 0);
    EXPECT_EQ(array.GetCount(), 9362);
    EXPECT_EQ(contents(array), before);
}

// The last record that fits and the one after it, for sizes where count x size lands on or below
// 65535; Allocate gets the array to the edge without tens of thousands of appends.
TEST(RecordArray, LimitIsExactForEachRecordSize) {
    struct Case {
        uint16_t size;
        uint16_t fits;
    };
    for (const Case c : {Case{1, 65535}, Case{2, 32767}, Case{5, 13107}, Case{256, 255}, Case{65535, 1}, Case{40000, 1}}) {
        SCOPED_TRACE(c.size);
        RecordArray array(c.size);
        ASSERT_EQ(array.Allocate(static_cast<uint16_t>(c.fits - 1)), 1);
        EXPECT_EQ(array.Append(), c.fits - 1);
        EXPECT_EQ(array.Append(), lect32::kAddLimit);
        EXPECT_EQ(array.GetCount(), c.fits);
        EXPECT_EQ(array.Allocate(static_cast<uint16_t>(c.fits + 1)), c.fits == 65535 ? 1 : 0);
    }
}

TEST(RecordArray, LockRecordRefusesMissingRecordsWithoutLocking) {
    RecordArray array(4);
    EXPECT_EQ(array.LockRecord(0), nullptr);  // no block
    array.Append();
    array.Append();
    const HGLOBAL block = array.GetHandle();
    for (uint16_t bad : {uint16_t{0xFFFF}, uint16_t{2}, uint16_t{3}}) {
        EXPECT_EQ(array.LockRecord(bad), nullptr) << bad;
        EXPECT_EQ(lockCount(block), 0u) << bad;
    }
    auto* first = static_cast<uint8_t*>(array.LockRecord(0));
    auto* second = static_cast<uint8_t*>(array.LockRecord(1));
    EXPECT_EQ(second - first, 4);
    EXPECT_EQ(lockCount(block), 2u);  // locks nest
    array.Unlock();
    array.Unlock();
    EXPECT_EQ(lockCount(block), 0u);
}

TEST(RecordArray, DeletingTheOnlyRecordFreesTheBlock) {
    const size_t live = winplat::testing::liveGlobalBlocks();
    RecordArray array(3);
    ASSERT_EQ(array.Append(), 0);
    EXPECT_EQ(winplat::testing::liveGlobalBlocks(), live + 1);
    EXPECT_EQ(array.Delete(0), 1);
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetHandle(), nullptr);
    EXPECT_EQ(array.LockRecord(0), nullptr);
    EXPECT_EQ(winplat::testing::liveGlobalBlocks(), live);
    EXPECT_EQ(array.Append(), 0);  // still usable
}

TEST(RecordArray, InsertAndDeleteMoveTheLaterRecords) {
    struct Case {
        uint16_t at;
        Bytes expected;  // first byte of each record after inserting a record marked 9
    };
    for (const Case& c : {Case{0, {9, 1, 2, 3}}, Case{1, {1, 9, 2, 3}}, Case{3, {1, 2, 3, 9}}, Case{200, {1, 2, 3, 9}}}) {
        SCOPED_TRACE(c.at);
        RecordArray array(2);
        for (uint8_t v : {1, 2, 3}) fillRecord(array, array.Append(), v);
        ASSERT_EQ(array.Insert(c.at), 1);
        fillRecord(array, std::min<uint16_t>(c.at, 3), 9);
        Bytes firsts;
        const Bytes all = contents(array);
        for (size_t k = 0; k < all.size(); k += 2) firsts.push_back(all[k]);
        EXPECT_EQ(firsts, c.expected);
        const uint16_t marked = std::min<uint16_t>(c.at, 3);
        ASSERT_EQ(array.Delete(marked), 1);
        EXPECT_EQ(contents(array), (Bytes{1, 2, 2, 3, 3, 4}));
    }
}

TEST(RecordArray, FailedAllocationsLeaveTheArrayAsItWas) {
    RecordArray array(5);
    for (uint8_t v = 0; v < 4; ++v) fillRecord(array, array.Append(), static_cast<uint8_t>(v * 10));
    const Bytes before = contents(array);
    {
        GlobalAllocFailure fail(1, 100);
        EXPECT_EQ(array.Append(), lect32::kAddLimit);
        EXPECT_EQ(array.Insert(1), 0);
        EXPECT_EQ(array.Delete(2), 0);
        EXPECT_GE(fail.failures(), 3);
    }
    EXPECT_EQ(array.GetCount(), 4);
    EXPECT_EQ(contents(array), before);
    {
        GlobalAllocFailure fail(1);
        EXPECT_EQ(array.Allocate(10), 0);  // the one operation that drops the contents
    }
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetHandle(), nullptr);
}

TEST(RecordArray, WordsAtByteOffsets) {
    RecordArray array(7);
    EXPECT_EQ(array.FindWord(0, 0), lect32::kNoIndex);
    for (int k = 0; k < 3; ++k) array.Append();
    EXPECT_EQ(array.SetWord(0xFFFF, 0, 1), -1);
    EXPECT_EQ(array.SetWord(3, 0, 1), 0);
    for (uint16_t i = 0; i < 3; ++i) {
        ASSERT_EQ(array.SetWord(i, 5, static_cast<uint16_t>(0x1234 + i)), 1);  // odd offset, last word
        ASSERT_EQ(array.SetWord(i, 0, 0xBEEF), 1);
    }
    EXPECT_EQ(array.GetWord(1, 5), 0x1235);
    EXPECT_EQ(array.GetWord(0xFFFF, 5), 0);
    EXPECT_EQ(array.GetWord(3, 5), 0);
    EXPECT_EQ(array.FindWord(0x1236, 5), 2);
    EXPECT_EQ(array.FindWord(0xBEEF, 0), 0);
    EXPECT_EQ(array.FindWord(0x1237, 5), lect32::kNoIndex);
    const uint8_t* raw = static_cast<uint8_t*>(array.LockRecord(2));
    EXPECT_EQ(raw[5], 0x36);  // little-endian in the record
    EXPECT_EQ(raw[6], 0x12);
    array.Unlock();
}

#ifndef NDEBUG
TEST(RecordArray, BrokenContractsAreReportedAndRefused) {
    winplat::testing::DebugCapture debug;
    RecordArray array(4);
    array.Append();
    const Bytes before = contents(array);
    EXPECT_EQ(array.Delete(1), 0);
    EXPECT_TRUE(debug.contains("RecordArray::Delete"));
    EXPECT_EQ(array.SetWord(0, 3, 7), 0);  // the word would reach past the record
    EXPECT_TRUE(debug.contains("word offset"));
    EXPECT_EQ(contents(array), before);
}
#endif

TEST(WordArray, FindOrAppendAddsOnlyMissingValues) {
    WordArray words;
    EXPECT_EQ(words.Find(5), lect32::kNoIndex);
    EXPECT_EQ(words.FindOrAppend(5), 0);
    EXPECT_EQ(words.FindOrAppend(5), 0);
    EXPECT_EQ(words.GetCount(), 1);
    EXPECT_EQ(words.FindOrAppend(0xFFFF), 1);
    EXPECT_EQ(words.FindOrAppend(5), 0);
    EXPECT_EQ(words.GetCount(), 2);
    uint16_t* second = words.LockElement(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(*second, 0xFFFF);
    words.Unlock();
    EXPECT_EQ(words.LockElement(2), nullptr);
    {
        GlobalAllocFailure fail(1);
        EXPECT_EQ(words.AppendWord(9), lect32::kAddLimit);
    }
    EXPECT_EQ(words.GetCount(), 2);
    EXPECT_EQ(words.Find(9), lect32::kNoIndex);
}

// Random appends, inserts, deletes and word writes, some under refused allocations, checked after
// every step against a byte vector doing the same.
TEST(RecordArray, BehavesLikeAVectorUnderRandomOperations) {
    for (const uint16_t size : {uint16_t{1}, uint16_t{3}, uint16_t{8}, uint16_t{300}}) {
        SCOPED_TRACE(size);
        std::mt19937 random(size * 7919u);
        RecordArray array(size);
        std::vector<Bytes> model;
        for (int step = 0; step < 1500; ++step) {
            const int op = static_cast<int>(random() % 10);
            const bool refuse = random() % 8 == 0;
            std::unique_ptr<GlobalAllocFailure> fail;
            if (refuse) fail = std::make_unique<GlobalAllocFailure>(1, 10);
            const size_t count = model.size();
            const bool full = (count + 1) * size > 65535;
            if (op < 4) {
                const uint16_t got = array.Append();
                if (refuse || full) {
                    ASSERT_EQ(got, lect32::kAddLimit);
                } else {
                    ASSERT_EQ(got, count);
                    fail.reset();
                    const Bytes record(size, static_cast<uint8_t>(random()));
                    std::memcpy(array.LockRecord(got), record.data(), size);
                    array.Unlock();
                    model.push_back(record);
                }
            } else if (op < 7) {
                const auto at = static_cast<uint16_t>(random() % (count + 2));
                const int got = array.Insert(at);
                ASSERT_EQ(got, refuse || full ? 0 : 1);
                if (got) {
                    fail.reset();
                    const size_t place = std::min<size_t>(at, count);
                    const Bytes record(size, static_cast<uint8_t>(random()));
                    std::memcpy(array.LockRecord(static_cast<uint16_t>(place)), record.data(), size);
                    array.Unlock();
                    model.insert(model.begin() + static_cast<long>(place), record);
                }
            } else if (op < 9 && count) {
                const auto at = static_cast<uint16_t>(random() % count);
                // Deleting the last record frees the block and needs no memory.
                const bool expectDone = !refuse || count == 1;
                ASSERT_EQ(array.Delete(at), expectDone ? 1 : 0);
                if (expectDone) model.erase(model.begin() + at);
            } else if (count && size >= 2) {
                const auto at = static_cast<uint16_t>(random() % count);
                const auto offset = static_cast<uint16_t>(random() % (size - 1));
                const auto value = static_cast<uint16_t>(random());
                ASSERT_EQ(array.SetWord(at, offset, value), 1);
                model[at][offset] = static_cast<uint8_t>(value);
                model[at][offset + 1u] = static_cast<uint8_t>(value >> 8);
            }
            fail.reset();
            ASSERT_EQ(array.GetCount(), model.size());
            Bytes flat;
            for (const Bytes& record : model) flat.insert(flat.end(), record.begin(), record.end());
            ASSERT_EQ(contents(array), flat) << "step " << step;
            if (!model.empty()) {
                ASSERT_EQ(GlobalSize(array.GetHandle()), flat.size());
            }
        }
    }
}

}  // namespace
