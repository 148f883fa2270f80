#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "store/block_pool.h"
#include "store/byte_buffer.h"
#include "store/lock_slots.h"
#include "store_test_support.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::ByteBuffer;
using lect32::gLockSlots;
using store_test::blockBytes;
using store_test::lockCount;
using winplat::testing::GlobalAllocFailure;
using Bytes = std::vector<uint8_t>;

Bytes read(ByteBuffer& buffer) {
    return blockBytes(buffer.GetHandle(), buffer.GetSize());
}

Bytes counting(size_t n, uint8_t from = 0) {
    Bytes out(n);
    for (size_t k = 0; k < n; ++k) out[k] = static_cast<uint8_t>(from + k);
    return out;
}

void fill(ByteBuffer& buffer, const Bytes& bytes) {
    ASSERT_EQ(buffer.Allocate(static_cast<uint16_t>(bytes.size())), 1);
    std::memcpy(buffer.GetPointer(0), bytes.data(), bytes.size());
    buffer.Unlock();
}

TEST(ByteBuffer, InsertAndDeleteOpenAndCloseGaps) {
    ByteBuffer buffer;
    ASSERT_EQ(buffer.InsertBytes(0, 3), 1);  // the first insert allocates
    std::memcpy(buffer.GetPointer(0), "ace", 3);
    buffer.Unlock();
    ASSERT_EQ(buffer.InsertBytes(1, 1), 1);
    *buffer.GetPointer(1) = 'b';
    buffer.Unlock();
    ASSERT_EQ(buffer.InsertBytes(3, 1), 1);
    *buffer.GetPointer(3) = 'd';
    buffer.Unlock();
    ASSERT_EQ(buffer.InsertBytes(5, 1), 1);
    *buffer.GetPointer(5) = 'f';
    buffer.Unlock();
    EXPECT_EQ(read(buffer), (Bytes{'a', 'b', 'c', 'd', 'e', 'f'}));
    ASSERT_EQ(buffer.DeleteBytes(1, 2), 1);
    EXPECT_EQ(read(buffer), (Bytes{'a', 'd', 'e', 'f'}));
    EXPECT_EQ(GlobalSize(buffer.GetHandle()), 4u);
    struct Case {
        bool insert;
        uint16_t position;
    };
    for (const Case c : {Case{true, 0}, Case{true, 4}, Case{false, 0}, Case{false, 4}}) {
        EXPECT_EQ(c.insert ? buffer.InsertBytes(c.position, 0) : buffer.DeleteBytes(c.position, 0), 1);
        EXPECT_EQ(read(buffer), (Bytes{'a', 'd', 'e', 'f'}));
    }
    ASSERT_EQ(buffer.DeleteBytes(0, 4), 1);
    EXPECT_EQ(buffer.GetHandle(), nullptr);
    EXPECT_EQ(buffer.GetPointer(0), nullptr);
}

TEST(ByteBuffer, RefusedGrowthAndShrinkLeaveTheBytes) {
    struct Case {
        uint16_t size;
        uint16_t insert;
        bool fits;
    };
    for (const Case c : {Case{65535, 1, false}, Case{65534, 1, true}, Case{1000, 64535, true}, Case{1000, 64536, false}}) {
        SCOPED_TRACE(c.size);
        ByteBuffer buffer;
        fill(buffer, counting(c.size));
        EXPECT_EQ(buffer.InsertBytes(c.size / 2, c.insert), c.fits ? 1 : 0);
        if (!c.fits) {
            EXPECT_EQ(read(buffer), counting(c.size));
        }
    }
    ByteBuffer buffer;
    fill(buffer, counting(50));
    GlobalAllocFailure fail(1, 10);
    EXPECT_EQ(buffer.InsertBytes(10, 5), 0);
    EXPECT_EQ(buffer.DeleteBytes(10, 5), 0);
    EXPECT_EQ(read(buffer), counting(50));
    EXPECT_EQ(buffer.DeleteBytes(0, 50), 1);  // freeing needs no memory
}

TEST(ByteBuffer, SplitOffBothWays) {
    struct Case {
        bool keepHead;
        uint16_t cut, length, room;
        Bytes split;   // the new block, unwritten room marked as ?
        size_t kept;   // bytes the buffer keeps (its first ones)
    };
    Bytes keepHeadSplit = counting(10, 40);
    const Bytes tail = counting(50, 50);
    keepHeadSplit.insert(keepHeadSplit.end(), tail.begin(), tail.end());
    for (const Case& c : {Case{true, 40, 10, 10, keepHeadSplit, 40}, Case{false, 40, 10, 10, tail, 50},
                          Case{false, 40, 10, 0, tail, 40}}) {
        SCOPED_TRACE(c.keepHead);
        ByteBuffer buffer;
        fill(buffer, counting(100));
        uint16_t newSize = 0;
        HGLOBAL split = buffer.SplitOff(c.cut, c.length, c.room, c.keepHead, newSize);
        ASSERT_NE(split, nullptr);
        EXPECT_EQ(newSize, c.split.size());
        EXPECT_EQ(GlobalSize(split), c.split.size());
        EXPECT_EQ(blockBytes(split, newSize), c.split);
        EXPECT_EQ(buffer.GetSize(), c.kept);
        const Bytes kept = read(buffer);
        EXPECT_EQ(Bytes(kept.begin(), kept.begin() + std::min<size_t>(c.kept, c.cut)), counting(std::min<size_t>(c.kept, c.cut)));
        GlobalFree(split);
    }
}

TEST(ByteBuffer, FailedSplitLeavesTheBufferWhole) {
    const size_t live = winplat::testing::liveGlobalBlocks();
    for (const int failing : {1, 2}) {  // the new block, then the smaller buffer
        ByteBuffer buffer;
        fill(buffer, counting(100));
        uint16_t newSize = 7;
        GlobalAllocFailure fail(failing);
        EXPECT_EQ(buffer.SplitOff(40, 10, 10, true, newSize), nullptr);
        EXPECT_EQ(fail.failures(), 1);
        EXPECT_EQ(read(buffer), counting(100));
        EXPECT_EQ(winplat::testing::liveGlobalBlocks(), live + 1);
    }
}

TEST(ByteBuffer, ParkedBufferIsReachedWithoutLocks) {
    ByteBuffer a, b, empty;
    fill(a, counting(10));
    fill(b, counting(20, 100));
    gLockSlots.Reset();
    EXPECT_EQ(a.ParkLock(), 1);
    EXPECT_EQ(b.ParkLock(), 2);
    EXPECT_EQ(empty.ParkLock(), 3);  // parks a null pointer
    EXPECT_EQ(lockCount(a.GetHandle()), 1u);
    EXPECT_EQ(*a.GetPointer(3), 3);
    EXPECT_EQ(*b.GetParkedPointer(19), 119);
    EXPECT_EQ(a.GetPointer(0), gLockSlots.Get(1));
    a.Unlock();  // no effect while parked
    EXPECT_EQ(lockCount(a.GetHandle()), 1u);
    Bytes copy(25, 0);
    EXPECT_EQ(b.CopyTo(copy.data(), 5), 1);
    EXPECT_EQ(Bytes(copy.begin() + 5, copy.end()), counting(20, 100));
    EXPECT_EQ(empty.CopyTo(copy.data(), 0), 0);
    a.UnparkLock();
    b.UnparkLock();
    empty.UnparkLock();
    EXPECT_EQ(lockCount(a.GetHandle()), 0u);
    EXPECT_EQ(a.GetLockSlot(), 0);
}

TEST(ByteBuffer, ParkingPastTheTableIsRefused) {
    winplat::testing::DebugCapture debug;
    std::vector<std::unique_ptr<ByteBuffer>> buffers;
    gLockSlots.Reset();
    for (int k = 0; k < 64; ++k) {
        buffers.push_back(std::make_unique<ByteBuffer>());
        fill(*buffers.back(), counting(4, static_cast<uint8_t>(k)));
    }
    for (int k = 0; k < 63; ++k) ASSERT_EQ(buffers[k]->ParkLock(), k + 1);
    EXPECT_EQ(buffers[63]->ParkLock(), 0);
    EXPECT_EQ(buffers[63]->GetLockSlot(), 0);
    EXPECT_EQ(lockCount(buffers[63]->GetHandle()), 0u);
    EXPECT_EQ(*buffers[62]->GetParkedPointer(1), 63);
#ifndef NDEBUG
    EXPECT_TRUE(debug.contains("more locks parked"));
#endif
    for (auto& buffer : buffers) buffer->UnparkLock();
    gLockSlots.Reset();
    EXPECT_EQ(buffers[63]->ParkLock(), 1);  // a reset frees the slots
    buffers[63]->UnparkLock();
}

TEST(ByteBuffer, EditingAParkedBufferKeepsItsParkedPointerGood) {
    winplat::testing::DebugCapture debug;
    ByteBuffer buffer;
    fill(buffer, counting(8));
    gLockSlots.Reset();
    ASSERT_EQ(buffer.ParkLock(), 1);
    ASSERT_EQ(buffer.InsertBytes(0, 2), 1);
    ASSERT_EQ(buffer.DeleteBytes(0, 2), 1);
    EXPECT_EQ(gLockSlots.Get(1), GlobalLock(buffer.GetHandle()));
    GlobalUnlock(buffer.GetHandle());
    EXPECT_EQ(lockCount(buffer.GetHandle()), 1u);
    EXPECT_EQ(Bytes(buffer.GetParkedPointer(0), buffer.GetParkedPointer(8)), counting(8));
#ifndef NDEBUG
    EXPECT_TRUE(debug.contains("reshaped while parked"));
#endif
    buffer.UnparkLock();
    EXPECT_EQ(lockCount(buffer.GetHandle()), 0u);
}

}  // namespace
