#include "store/tab_stops.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/typed_record.h"
#include "store/vazazi_file.h"

namespace lect32 {

bool IsSoundTabStopBlock(const uint8_t* bytes, uint32_t size, uint16_t entryCount) {
    const uint32_t base = uint32_t{entryCount} * TabStopTable::kEntrySize;
    if (entryCount == 0 || size > TabStopTable::kMaxBlock || base > size) return false;
    uint32_t stops = 0;
    for (uint16_t i = 0; i < entryCount; ++i) stops += bytes[uint32_t{i} * TabStopTable::kEntrySize];
    return base + stops * TabStopTable::kStopSize == size;
}

TabStopTable::~TabStopTable() { Clear(); }

void TabStopTable::Clear() {
    lock_.reset();
    block_.reset();
    count_ = 0;
    size_ = 0;
}

int TabStopTable::Lock() {
    if (!lock_) lock_ = winplat::GlobalPin(block_.get());
    return lock_ ? 1 : 0;
}

int TabStopTable::Unlock() {
    lock_.reset();
    return 1;
}

uint16_t TabStopTable::OffsetAt(uint16_t index) const {
    const uint8_t* entry = EntryAt(index);
    return static_cast<uint16_t>(entry[1] | (entry[2] << 8));
}

void TabStopTable::SetEntry(uint16_t index, uint8_t stops, uint16_t offset) {
    uint8_t* entry = EntryAt(index);
    entry[0] = stops;
    entry[1] = static_cast<uint8_t>(offset);
    entry[2] = static_cast<uint8_t>(offset >> 8);
}

// Reallocation with the block unlocked so that it may move; comes back locked, also on failure.
bool TabStopTable::ReallocLocked(uint32_t bytes) {
    Unlock();
    const bool resized = GlobalReAlloc(block_.get(), bytes, GMEM_MOVEABLE) != nullptr;
    return Lock() && resized;
}

int TabStopTable::Init(uint16_t n) {
    Clear();
    const uint32_t bytes = uint32_t{n} * kEntrySize;
    if (n == 0 || bytes > kMaxBlock) return 0;
    block_.reset(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!Lock()) {
        Clear();
        return 0;
    }
    count_ = n;
    size_ = static_cast<uint16_t>(bytes);
    for (uint16_t i = 0; i < n; ++i) SetEntry(i, 0, size_);
    return 1;
}

int TabStopTable::SetStops(uint16_t index, uint8_t n, const void* stops) {
    assert(index < count_);
    assert(stops || n == 0);
    if (index >= count_ || !Lock()) return 0;
    // The offsets follow from the counts; rebuilding them first makes the moves below safe even
    // if an editor handed in stale offsets.
    uint32_t at = StopsBase();
    for (uint16_t i = 0; i < count_; ++i) {
        SetEntry(i, EntryAt(i)[0], static_cast<uint16_t>(at));
        at += uint32_t{EntryAt(i)[0]} * kStopSize;
    }
    if (at != size_) {  // only a block handed in unchecked could disagree
        Unlock();
        return 0;
    }
    const uint32_t old = EntryAt(index)[0];
    const uint32_t offset = OffsetAt(index);
    const uint32_t oldEnd = offset + old * kStopSize;
    const uint32_t newEnd = offset + uint32_t{n} * kStopSize;
    const uint32_t oldSize = size_;
    const bool last = index + 1 == count_;
    if (n > old) {
        const uint32_t newSize = oldSize + (n - old) * kStopSize;
        if (newSize > kMaxBlock || !ReallocLocked(newSize)) {
            Unlock();
            return 0;
        }
        if (!last) std::memmove(data() + newEnd, data() + oldEnd, oldSize - oldEnd);
        size_ = static_cast<uint16_t>(newSize);
    } else if (n < old) {
        const uint32_t newSize = oldSize - (old - n) * kStopSize;
        if (!last) std::memmove(data() + newEnd, data() + oldEnd, oldSize - oldEnd);
        ReallocLocked(newSize);  // a refused shrink leaves a larger block, which is harmless
        if (!lock_) return 0;
        size_ = static_cast<uint16_t>(newSize);
    }
    if (n) std::memcpy(data() + offset, stops, uint32_t{n} * kStopSize);
    SetEntry(index, n, static_cast<uint16_t>(offset));
    for (uint16_t i = index + 1; i < count_; ++i) {
        SetEntry(i, EntryAt(i)[0], static_cast<uint16_t>(OffsetAt(i) + newEnd - oldEnd));
    }
    Unlock();
    return 1;
}

uint8_t TabStopTable::GetStops(uint16_t index, void* out) {
    if (index >= count_) return 0;
    const bool wasLocked = static_cast<bool>(lock_);
    if (!Lock()) return 0;
    const uint8_t n = EntryAt(index)[0];
    const uint32_t offset = OffsetAt(index);
    const bool inside = offset >= StopsBase() && offset + uint32_t{n} * kStopSize <= size_;
    if (n && inside) std::memcpy(out, data() + offset, uint32_t{n} * kStopSize);
    if (!wasLocked) Unlock();
    return inside ? n : 0;
}

uint16_t TabStopTable::GetOffset(uint16_t index) {
    if (index >= count_) return 0;
    const bool wasLocked = static_cast<bool>(lock_);
    if (!Lock()) return 0;
    const uint16_t offset = OffsetAt(index);
    if (!wasLocked) Unlock();
    return offset;
}

int TabStopTable::Save(MemWriter& writer, int type, VazaziFile* document) {
    if (type != -1) return writeTypedRecord(document, type, [&](MemWriter& record) { return Save(record, -1); });
    writer.WriteWord(count_);
    writer.WriteWord(size_);
    if (size_) {
        const bool wasLocked = static_cast<bool>(lock_);
        if (!Lock()) return 0;
        writer.WriteBytesLong(data(), size_);
        if (!wasLocked) Unlock();
    }
    return writer.error() ? 0 : 1;
}

int TabStopTable::Load(MemReader& reader, int type, VazaziFile* document) {
    if (type != -1) {
        Clear();
        MemReader record;
        if (!document || document->ReadRecordByType(type, 0, record) != 1) return 0;
        return LoadFrom(record);
    }
    return LoadFrom(reader);
}

int TabStopTable::LoadFrom(MemReader& reader) {
    Clear();
    uint16_t count = 0, size = 0;
    if (!reader.ReadWord(count) || !reader.ReadWord(size)) return 0;
    if (count == 0 && size == 0) return 1;
    if (size > reader.remaining()) return 0;
    std::vector<uint8_t> bytes(size);
    if (size && !reader.ReadBytesLong(bytes.data(), size)) return 0;
    return ReplaceBlock(bytes.data(), size, count);
}

uint8_t* TabStopTable::LockBlock(uint16_t* entryCount, uint16_t* size) {
    if (entryCount) *entryCount = count_;
    if (size) *size = size_;
    return Lock() ? data() : nullptr;
}

int TabStopTable::ReplaceBlock(const void* bytes, uint16_t size, uint16_t entryCount) {
    const auto* in = static_cast<const uint8_t*>(bytes);
    if (!in || !IsSoundTabStopBlock(in, size, entryCount)) return 0;
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size));
    winplat::GlobalPin pin(block.get());
    if (!pin) return 0;
    std::memcpy(pin.data(), in, size);
    Clear();
    block_ = std::move(block);
    lock_ = std::move(pin);
    count_ = entryCount;
    size_ = size;
    // Stored offsets are derived data; rebuilding them keeps every later read inside the block.
    uint32_t at = StopsBase();
    for (uint16_t i = 0; i < count_; ++i) {
        SetEntry(i, EntryAt(i)[0], static_cast<uint16_t>(at));
        at += uint32_t{EntryAt(i)[0]} * kStopSize;
    }
    Unlock();
    return 1;
}

}  // namespace lect32
