// One growable run of bytes in one movable block: a block of a segmented store. While its store
// is parked the block stays locked and its pointer sits in the lock-slot table.
//
// A caller that lays items back to back in the buffer names the end of the item it edits (the run
// end, before the edit). The buffer may then keep spare room right behind that item, so that the
// item's next edits move only its own tail instead of every byte after it, and small edits need
// no memory. An item's bytes stay together: GetPointer of its first byte reaches all of them, and
// the bytes an insert opens lie together. Without a run end the buffer makes no room (room made
// earlier is still used), so its bytes lie together from any offset to the next run end named.
#ifndef LECT32_STORE_BYTE_BUFFER_H
#define LECT32_STORE_BYTE_BUFFER_H

#include <cstdint>

#include "store/lock_slots.h"
#include "store/run_rooms.h"
#include "winplat/owners.h"

namespace lect32 {

class ByteBuffer {
public:
    // The run end that names no run.
    static constexpr uint32_t kNoRun = 0x10000;

    ByteBuffer() = default;
    ~ByteBuffer() { Release(); }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    void Init();
    // Frees the block; size and lock slot back to 0.
    void Release();

    uint16_t GetSize() const { return size_; }
    uint8_t GetLockSlot() const { return parked_.slot(); }
    // The block itself: the bytes with any room kept behind runs among them (CopyTo reads the
    // bytes alone).
    HGLOBAL GetHandle() const { return block_.get(); }

    // A new block of n unwritten bytes for an empty buffer: 1, or 0 without memory.
    int Allocate(uint16_t n);

    // Keeps the block locked from now on, this one and every later one, so that addresses and
    // edits cost no lock call; GetPointer's callers still pair it with Unlock, which then gives
    // nothing back. For an owner that reaches the bytes at every step (a text store).
    void KeepLocked() { held_.keep(block_.get()); }

    // Locks the block (a buffer without one parks null) and parks the pointer at the table's next
    // slot; returns that slot, or 0 when the table is full (nothing is then locked).
    uint8_t ParkLock();
    void UnparkLock();

    // Address of a byte: through the parked pointer when parked, else by locking (pair with
    // Unlock); null without a block or for an offset past the end. The bytes from there to the
    // next run end named in an edit lie together.
    uint8_t* GetPointer(uint16_t offset);
    // Through the parked pointer only.
    uint8_t* GetParkedPointer(uint16_t offset) const;
    // Unlocks unless parked or without a block.
    void Unlock();

    // Copies all bytes to destination + offset: 1, or 0 without a block or when it cannot be locked.
    int CopyTo(void* destination, uint32_t offset);

    // Opens a gap of n bytes at position, inside (or at the end of) the run ending at runEnd, and
    // copies n bytes of source into it (without a source it is left unwritten): 1 (at once for
    // n = 0), or 0 at the 64 KB limit or without memory, the buffer unchanged. A gap that fits the
    // room behind the run needs no memory.
    int InsertBytes(uint16_t position, uint16_t n, uint32_t runEnd = kNoRun, const void* source = nullptr);
    // Removes n bytes at position from the run ending at runEnd; removing all frees the block.
    // 1 (at once for n = 0), or 0 without memory, the buffer unchanged.
    int DeleteBytes(uint16_t position, uint16_t n, uint32_t runEnd = kNoRun);
    // Spare bytes kept behind the run ending at runEnd (0 when none).
    uint16_t RoomAt(uint16_t runEnd) const;

    // Moves the buffer's tail into a new block and returns it (its size in newSize); null, with
    // the buffer unchanged, when memory cannot be had.
    //  keepHead false: the new block holds the bytes from cut + length on; the buffer keeps its
    //    first cut + room bytes.
    //  keepHead true: the new block starts with room bytes into which the length bytes at cut are
    //    copied, followed by the bytes from cut + length on; the buffer keeps its first cut bytes.
    HGLOBAL SplitOff(uint16_t cut, uint16_t length, uint16_t room, bool keepHead, uint16_t& newSize);

private:
    // The pointer of a lock kept across calls (parked or held), else null.
    void* keptData() const { return parked_ ? parked_.data() : held_.data(); }
    // Runs a reshape that may move or replace the block, letting go of the kept locks around it.
    template <class Reshape>
    bool reshape(Reshape change);
    uint32_t physicalSize() const { return size_ + rooms_.total(); }
    // The run end a caller named (checked), or kNoRun.
    uint32_t namedRunEnd(uint32_t from, uint32_t runEnd) const;
    uint32_t headroomAt(uint32_t runEnd, uint16_t n) const;
    // Bytes copied in after a move, at a physical offset.
    struct Fill {
        uint32_t at;
        const void* source;  // none: nothing is copied
        uint32_t count;
    };
    // Moves physical bytes inside the block and then copies the fill in (locked for the step, or
    // through the parked pointer).
    bool moveBytes(uint32_t to, uint32_t from, uint32_t count, Fill fill = Fill{0, nullptr, 0});
    // Reshapes the block through GrowBlock or ShrinkBlock, keeping a parked buffer parked.
    bool growAt(uint32_t at, uint32_t n);
    bool shrinkAt(uint32_t at, uint32_t n);
    // Where the bytes a delete frees go: a room behind the run, a new one, or out of the block.
    bool freeIntoRoom(uint16_t position, uint16_t n, uint32_t named, RunRooms::Place place);
    // Moves every byte down over the rooms, so that the block holds the bytes alone.
    bool squeeze();

    winplat::GlobalBlock block_;
    ParkedLock parked_;  // given back before the block goes
    HeldLock held_;      // the same
    uint16_t size_ = 0;
    RunRooms rooms_;
};

}  // namespace lect32

#endif
