#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
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

// Runs laid back to back in a buffer, edited as an owner of items edits them: each edit names the
// end of its run. The model is the runs' bytes; the buffer must hold the same bytes in order and
// every run must lie together behind the pointer to its first byte.
class RunModel {
public:
    explicit RunModel(std::vector<Bytes> runs) : runs_(std::move(runs)) {
        const Bytes all = joined();
        fill(buffer, all);
    }

    uint16_t start(size_t run) const {
        size_t at = 0;
        for (size_t r = 0; r < run; ++r) at += runs_[r].size();
        return static_cast<uint16_t>(at);
    }
    uint16_t end(size_t run) const { return static_cast<uint16_t>(start(run) + runs_[run].size()); }
    const Bytes& run(size_t r) const { return runs_[r]; }

    int insert(size_t run, size_t offset, const Bytes& bytes) {
        const int done = buffer.InsertBytes(static_cast<uint16_t>(start(run) + offset), static_cast<uint16_t>(bytes.size()),
                                            end(run), bytes.data());
        if (done) runs_[run].insert(runs_[run].begin() + static_cast<long>(offset), bytes.begin(), bytes.end());
        return done;
    }
    int erase(size_t run, size_t offset, size_t n) {
        const int done = buffer.DeleteBytes(static_cast<uint16_t>(start(run) + offset), static_cast<uint16_t>(n), end(run));
        if (done) runs_[run].erase(runs_[run].begin() + static_cast<long>(offset), runs_[run].begin() + static_cast<long>(offset + n));
        return done;
    }

    Bytes joined() const {
        Bytes all;
        for (const Bytes& r : runs_) all.insert(all.end(), r.begin(), r.end());
        return all;
    }

    void check() {
        const Bytes all = joined();
        ASSERT_EQ(buffer.GetSize(), all.size());
        Bytes copy(all.size());
        if (!all.empty()) {
            ASSERT_EQ(buffer.CopyTo(copy.data(), 0), 1);
        }
        ASSERT_EQ(copy, all);
        for (size_t r = 0; r < runs_.size(); ++r) {
            if (runs_[r].empty()) continue;
            const uint8_t* first = buffer.GetPointer(start(r));
            ASSERT_NE(first, nullptr);
            ASSERT_EQ(Bytes(first, first + runs_[r].size()), runs_[r]) << "run " << r << " lies together";
            buffer.Unlock();
        }
        // Room is bounded: the block never holds more than 8 KB beside the bytes.
        ASSERT_LE(GlobalSize(buffer.GetHandle()), all.size() + lect32::RunRooms::kMaxTotal);
    }

    ByteBuffer buffer;

private:
    std::vector<Bytes> runs_;
};

TEST(ByteBuffer, RunEditsAtTheStartMiddleAndEndOfEachRunKeepTheRunsTogether) {
    struct Case {
        const char* what;
        size_t run;
        bool insert;
        enum { Start, Middle, End } where;
        size_t n;
    };
    const Case cases[] = {
        {"insert at the start of the first run", 0, true, Case::Start, 5},
        {"insert in the middle of a middle run", 1, true, Case::Middle, 5},
        {"insert at the end of a middle run", 1, true, Case::End, 5},
        {"insert at the end of the last run", 2, true, Case::End, 5},
        {"insert at the start of a later run", 2, true, Case::Start, 5},
        {"delete at the start of the first run", 0, false, Case::Start, 3},
        {"delete in the middle of a middle run", 1, false, Case::Middle, 3},
        {"delete at the end of a middle run", 1, false, Case::End, 3},
        {"delete a whole middle run", 1, false, Case::Start, 10},
        {"delete at the end of the last run", 2, false, Case::End, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunModel model({counting(10, 0), counting(10, 100), counting(10, 200)});
        // Twice: the second edit meets the room the first one left (or made) behind the run.
        for (int round = 0; round < 2; ++round) {
            const size_t length = model.run(c.run).size();
            const size_t n = std::min(c.n, length);
            const size_t offset = c.where == Case::Start ? 0 : c.where == Case::Middle ? length / 2 : length - (c.insert ? 0 : n);
            ASSERT_EQ(c.insert ? model.insert(c.run, offset, counting(n, 50)) : model.erase(c.run, offset, n), 1);
            model.check();
            // Every run is then edited at both ends, as an editor reaches its neighbours.
            for (size_t r = 0; r < 3; ++r) {
                ASSERT_EQ(model.insert(r, model.run(r).size(), Bytes{7}), 1);
                ASSERT_EQ(model.insert(r, 0, Bytes{8}), 1);
                model.check();
            }
        }
    }
}

// A delete leaves its bytes as room behind the run; an insert of as many needs no memory, one more
// does, and a refused growth leaves the buffer as it was.
TEST(ByteBuffer, AnInsertThatFitsTheRoomBehindItsRunNeedsNoMemory) {
    struct Case {
        uint16_t insert;
        bool fits;
    };
    for (const Case c : {Case{16, true}, Case{15, true}, Case{17, false}}) {
        SCOPED_TRACE(c.insert);
        RunModel model({counting(40, 0), counting(40, 100), counting(40, 200)});
        ASSERT_EQ(model.erase(1, 10, 16), 1);
        EXPECT_EQ(model.buffer.RoomAt(model.end(1)), 16);
        const Bytes before = model.joined();
        {
            GlobalAllocFailure fail(1, 100);
            EXPECT_EQ(model.insert(1, 20, counting(c.insert, 77)), c.fits ? 1 : 0);
        }
        if (!c.fits) {
            EXPECT_EQ(model.joined(), before);
            EXPECT_EQ(model.buffer.RoomAt(model.end(1)), 16) << "the room is as it was";
        } else {
            EXPECT_EQ(model.buffer.RoomAt(model.end(1)), 16 - c.insert);
        }
        model.check();
        // With memory the larger insert is made, and leaves room behind the run for the next one.
        if (!c.fits) {
            ASSERT_EQ(model.insert(1, 20, counting(c.insert, 77)), 1);
            model.check();
            EXPECT_GT(model.buffer.RoomAt(model.end(1)), 0);
        }
    }
}

// Deletes leave room only within the bounds a buffer keeps unused: past them the block shrinks.
TEST(ByteBuffer, RoomBehindARunIsBounded) {
    RunModel model({counting(200, 0), Bytes(3000, 5), counting(200, 100)});
    ASSERT_EQ(model.erase(1, 0, 1024), 1);
    EXPECT_EQ(model.buffer.RoomAt(model.end(1)), 1024) << "a room of the most bytes one holds";
    ASSERT_EQ(model.erase(1, 0, 1), 1);
    EXPECT_EQ(model.buffer.RoomAt(model.end(1)), 1024) << "one byte more leaves the block";
    EXPECT_EQ(GlobalSize(model.buffer.GetHandle()), model.joined().size() + 1024);
    model.check();
}

TEST(ByteBuffer, AParkedBufferIsReachedPastItsRooms) {
    RunModel model({counting(20, 0), counting(20, 100), counting(20, 200)});
    ASSERT_EQ(model.erase(0, 5, 4), 1);
    ASSERT_EQ(model.erase(1, 5, 4), 1);
    gLockSlots.Reset();
    ASSERT_EQ(model.buffer.ParkLock(), 1);
    EXPECT_EQ(*model.buffer.GetParkedPointer(model.start(2)), 200);
    EXPECT_EQ(*model.buffer.GetPointer(model.start(1) + 5), 109);
    // An edit within the room keeps the parked pointer where it was.
    void* parked = gLockSlots.Get(1);
    ASSERT_EQ(model.insert(1, 0, Bytes{1, 2}), 1);
    EXPECT_EQ(gLockSlots.Get(1), parked);
    EXPECT_EQ(*model.buffer.GetParkedPointer(model.start(2)), 200);
    model.buffer.UnparkLock();
    model.check();
}

TEST(ByteBuffer, RandomRunEditsAgainstAModel) {
    std::mt19937 random(5);
    const auto pick = [&](size_t low, size_t high) { return std::uniform_int_distribution<size_t>(low, high)(random); };
    std::vector<Bytes> runs;
    for (int r = 0; r < 40; ++r) runs.push_back(counting(pick(0, 300), static_cast<uint8_t>(r)));
    RunModel model(runs);
    for (int step = 0; step < 6000; ++step) {
        SCOPED_TRACE(step);
        const size_t r = pick(0, 39);
        const size_t length = model.run(r).size();
        const bool large = pick(0, 50) == 0;
        if (pick(0, 1) == 0 || length == 0) {
            const size_t n = large ? pick(500, 3000) : pick(1, 40);
            if (model.buffer.GetSize() + n > lect32::kMaxBlockBytes) continue;
            ASSERT_EQ(model.insert(r, pick(0, length), counting(n, static_cast<uint8_t>(step))), 1);
        } else {
            const size_t n = std::min(length, large ? pick(500, 3000) : pick(1, 40));
            ASSERT_EQ(model.erase(r, pick(0, length - n), n), 1);
        }
        if (step % 20 == 0) model.check();
        if (HasFatalFailure()) return;
    }
    model.check();
}

}  // namespace
