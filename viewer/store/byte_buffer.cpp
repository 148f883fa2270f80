#include "store/byte_buffer.h"

#include <algorithm>
#include <cstring>

#include "store/block_pool.h"
#include "store/lock_slots.h"

namespace lect32 {

namespace {

// Room made behind a run that outgrew its own, so that a run edited again and again moves the
// bytes after it once rather than on every edit.
constexpr uint32_t kHeadroom = 64;
// The block's bytes and the room kept between them.
constexpr uint32_t kMaxPhysical = kMaxBlockBytes + RunRooms::kMaxTotal;

}  // namespace

void ByteBuffer::Init() { Release(); }

void ByteBuffer::Release() {
    parked_.unpark();
    held_.suspend();
    block_.reset();
    size_ = 0;
    rooms_.clear();
}

int ByteBuffer::Allocate(uint16_t n) {
    if (block_) {
        ReportContractBreach("ByteBuffer::Allocate on a buffer that has a block");
        return 0;
    }
    if (n == 0) return 0;
    block_.reset(GlobalAlloc(GMEM_MOVEABLE, n));
    if (!block_) return 0;
    size_ = n;
    rooms_.clear();
    held_.resume(block_.get());
    return 1;
}

uint8_t ByteBuffer::ParkLock() { return parked_.park(block_.get(), "ByteBuffer parked twice"); }

void ByteBuffer::UnparkLock() { parked_.unpark(); }

uint8_t* ByteBuffer::GetPointer(uint16_t offset) {
    if (!block_) return nullptr;
    if (offset > size_) {
        ReportContractBreach("ByteBuffer pointer past the end of its block");
        return nullptr;
    }
    if (parked_) return GetParkedPointer(offset);
    auto* data = static_cast<uint8_t*>(held_ ? held_.data() : LockForCaller(block_.get()));
    return data ? data + rooms_.after(offset) : nullptr;
}

uint8_t* ByteBuffer::GetParkedPointer(uint16_t offset) const {
    auto* data = static_cast<uint8_t*>(parked_.data());
    if (!data || offset > size_) {
        ReportContractBreach("ByteBuffer parked pointer asked of a buffer that is not parked");
        return nullptr;
    }
    return data + rooms_.after(offset);
}

void ByteBuffer::Unlock() {
    if (block_ && !parked_ && !held_) UnlockForCaller(block_.get());
}

int ByteBuffer::CopyTo(void* destination, uint32_t offset) {
    const winplat::GlobalPin pin(block_.get());
    if (!pin) return 0;
    auto* to = static_cast<uint8_t*>(destination) + offset;
    const auto* from = pin.as<const uint8_t>();
    uint32_t logical = 0;
    uint32_t physical = 0;
    for (int i = 0; i < rooms_.count(); ++i) {
        const uint32_t run = rooms_[i].at - logical;
        std::memcpy(to + logical, from + physical, run);
        logical = rooms_[i].at;
        physical += run + rooms_[i].length;
    }
    std::memcpy(to + logical, from + physical, size_ - logical);
    return 1;
}

uint16_t ByteBuffer::RoomAt(uint16_t runEnd) const {
    const int i = rooms_.find(runEnd);
    return i < rooms_.count() ? rooms_[i].length : 0;
}

uint32_t ByteBuffer::namedRunEnd(uint32_t from, uint32_t runEnd) const {
    if (runEnd != kNoRun && (runEnd < from || runEnd > size_)) {
        ReportContractBreach("ByteBuffer run end outside the buffer");
        return kNoRun;
    }
    return runEnd;
}

// Room is made only behind a named run and within the bounds of what a buffer keeps unused.
uint32_t ByteBuffer::headroomAt(uint32_t runEnd, uint16_t n) const {
    if (runEnd == kNoRun) return 0;
    const int existing = rooms_.find(runEnd);
    const uint32_t had = existing < rooms_.count() ? rooms_[existing].length : 0;
    const uint32_t extra = std::min(kHeadroom, RunRooms::kMaxRoom - std::min(had, RunRooms::kMaxRoom));
    if (extra == 0 || !rooms_.mayAdd(extra, existing == rooms_.count())) return 0;
    return physicalSize() + n + extra <= kMaxPhysical ? extra : 0;
}

bool ByteBuffer::moveBytes(uint32_t to, uint32_t from, uint32_t count, Fill fill) {
    if ((count == 0 || to == from) && !fill.source) return true;
    const BlockBytes bytes(block_.get(), keptData());
    if (!bytes) return false;
    std::memmove(bytes.get() + to, bytes.get() + from, count);
    if (fill.source) std::memcpy(bytes.get() + fill.at, fill.source, fill.count);
    return true;
}

template <class Reshape>
bool ByteBuffer::reshape(Reshape change) {
    return ReshapeKeptBlock(parked_, held_, block_, "ByteBuffer reshaped while parked", change);
}

bool ByteBuffer::growAt(uint32_t at, uint32_t n) {
    return reshape([&] { return GrowBlock(block_, physicalSize(), at, n, kMaxPhysical); });
}

bool ByteBuffer::shrinkAt(uint32_t at, uint32_t n) {
    return reshape([&] { return ShrinkBlock(block_.get(), physicalSize(), at, n); });
}

// The gap comes from the first room behind position (one at position when the insert appends to
// the run ending there): from the run's own room when it is big enough, which moves only the
// run's tail; otherwise from a farther room or the block's end, leaving headroom behind the run.
int ByteBuffer::InsertBytes(uint16_t position, uint16_t n, uint32_t runEnd, const void* source) {
    if (n == 0) return 1;
    if (position > size_) {
        ReportContractBreach("ByteBuffer::InsertBytes past the end");
        return 0;
    }
    if (uint32_t{size_} > kMaxBlockBytes - n) return 0;
    const uint32_t named = namedRunEnd(position, runEnd);
    const uint32_t end = named == kNoRun ? size_ : named;
    const RunRooms::Place place = rooms_.place(position, position == end);
    const int k = place.index;
    const bool hasRoom = k < rooms_.count();
    const bool ownRoom = hasRoom && rooms_[k].at <= end && rooms_[k].length >= n;
    uint32_t extra = ownRoom ? 0 : headroomAt(named, n);
    const uint32_t at = position + place.roomBytes;
    const bool fromRoom = hasRoom && rooms_[k].length >= n + extra;
    const Fill fill{at, source, n};
    if (fromRoom) {
        const uint32_t roomStart = rooms_[k].at + place.roomBytes;
        if (!moveBytes(at + n + extra, at, roomStart - at, extra ? Fill{at, nullptr, 0} : fill)) return 0;
    } else if (!growAt(at, n + extra)) {
        if (extra == 0 || !growAt(at, n)) return 0;
        extra = 0;
    }
    // The run's tail moves down to the inserted bytes; the extra bytes become the run's room.
    if (extra || !fromRoom) moveBytes(at + n, at + n + extra, extra ? end - position : 0, fill);
    rooms_.shiftFrom(k, n);
    if (fromRoom) rooms_.shrink(k, n + extra);
    if (extra) rooms_.add(end + n, extra);
    size_ = static_cast<uint16_t>(size_ + n);
    return 1;
}

// The freed bytes join the room behind the run, make one there, join a farther room, or leave
// the block, in that order of preference. The bytes from the deleted ones to the room move down.
bool ByteBuffer::freeIntoRoom(uint16_t position, uint16_t n, uint32_t named, RunRooms::Place place) {
    const uint32_t end = named == kNoRun ? size_ : named;
    const int k = place.index;
    const bool hasRoom = k < rooms_.count();
    const bool roomFits = hasRoom && rooms_[k].length + n <= RunRooms::kMaxRoom && rooms_.mayAdd(n, false);
    const bool behindRun = hasRoom && rooms_[k].at <= end;
    bool newRoom = false;
    if (behindRun) {
        if (!roomFits) return false;
    } else if (named != kNoRun && rooms_.mayAdd(n, true)) {
        newRoom = true;
    } else if (!roomFits) {
        return false;
    }
    const uint32_t to = newRoom ? end : rooms_[k].at;  // the room's position before the delete
    const uint32_t from = position + place.roomBytes;
    if (!moveBytes(from, from + n, to - position - n)) return false;
    rooms_.shiftFrom(k, -static_cast<int>(n));
    if (newRoom) {
        rooms_.add(to - n, n);  // merged with a room at position when the run was emptied
    } else {
        rooms_.grow(k, n);
        rooms_.mergeAt(k - 1);
    }
    return true;
}

int ByteBuffer::DeleteBytes(uint16_t position, uint16_t n, uint32_t runEnd) {
    if (n == 0) return 1;
    if (uint32_t{position} + n > size_) {
        ReportContractBreach("ByteBuffer::DeleteBytes past the end");
        return 0;
    }
    const bool parked = static_cast<bool>(parked_);
    if (n == size_) {
        if (parked) {
            ReportContractBreach("ByteBuffer emptied while parked");
            parked_.emptied();
        }
        held_.suspend();
        block_.reset();
        size_ = 0;
        rooms_.clear();
        return 1;
    }
    const uint32_t named = namedRunEnd(uint32_t{position} + n, runEnd);
    RunRooms::Place place = rooms_.place(position, false);
    // Bytes of several runs with room between them are put back together first.
    if (place.index < rooms_.count() && rooms_[place.index].at < position + n) {
        if (!squeeze()) return 0;
        place = rooms_.place(position, false);
    }
    if (!freeIntoRoom(position, n, named, place)) {
        if (!shrinkAt(position + place.roomBytes, n)) return 0;
        rooms_.shiftFrom(place.index, -static_cast<int>(n));
        rooms_.mergeAt(place.index - 1);
    }
    size_ = static_cast<uint16_t>(size_ - n);
    return 1;
}

bool ByteBuffer::squeeze() {
    if (rooms_.count() == 0) return true;
    {
        const winplat::GlobalPin pin(block_.get());
        if (!pin) return false;
        auto* data = pin.as<uint8_t>();
        uint32_t logical = 0;
        uint32_t physical = 0;
        for (int i = 0; i < rooms_.count(); ++i) {
            const uint32_t run = rooms_[i].at - logical;
            std::memmove(data + logical, data + physical, run);
            logical = rooms_[i].at;
            physical += run + rooms_[i].length;
        }
        std::memmove(data + logical, data + physical, size_ - logical);
    }
    rooms_.clear();
    GlobalReAlloc(block_.get(), size_, 0);  // only gives memory back; a refusal keeps a longer block
    return true;
}

HGLOBAL ByteBuffer::SplitOff(uint16_t cut, uint16_t length, uint16_t room, bool keepHead, uint16_t& newSize) {
    newSize = 0;
    const uint32_t tail = uint32_t{cut} + length;
    if (!block_ || tail > size_ || (keepHead && length > room)) {
        ReportContractBreach("ByteBuffer::SplitOff outside the buffer");
        return nullptr;
    }
    if (parked_) {
        // The caller must unpark first: the old block goes away under the parked pointer.
        ReportContractBreach("ByteBuffer split while parked");
        return nullptr;
    }
    if (!squeeze()) return nullptr;
    const uint32_t rest = size_ - tail;
    const uint32_t splitSize = keepHead ? room + rest : rest;
    const uint32_t keptSize = keepHead ? cut : uint32_t{cut} + room;
    if (splitSize == 0 || splitSize > kMaxBlockBytes || keptSize > kMaxBlockBytes) return nullptr;
    winplat::GlobalBlock split(GlobalAlloc(GMEM_MOVEABLE, splitSize));
    {
        const winplat::GlobalPin from(block_.get());
        const winplat::GlobalPin to(split.get());
        if (!from || !to) return nullptr;
        const auto* data = from.as<const uint8_t>();
        if (keepHead) {
            std::memcpy(to.as<uint8_t>(), data + cut, length);
            std::memcpy(to.as<uint8_t>() + room, data + tail, rest);
        } else {
            std::memcpy(to.as<uint8_t>(), data + tail, rest);
        }
    }
    // The buffer keeps its head (a keepHead split at 0 keeps nothing).
    const bool kept = reshape([&] {
        if (keptSize == 0) {
            block_.reset();
            return true;
        }
        const uint32_t copied = keptSize < size_ ? keptSize : size_;
        return RebuildBlock(block_, keptSize, {{0, 0, copied}});
    });
    if (!kept) return nullptr;
    size_ = static_cast<uint16_t>(keptSize);
    newSize = static_cast<uint16_t>(splitSize);
    return split.release();
}

}  // namespace lect32
