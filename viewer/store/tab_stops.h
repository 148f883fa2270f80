// Numbered lists of 4-byte tab stops (256 in every table the reader builds) packed in one movable
// block: a 3-byte entry per list {u8 stop count, u16 offset of its stops}, then the stops of all
// entries in entry order. Stored as u16 entry count, u16 size, the block. The stop record itself
// belongs to the text engine; here a stop is 4 opaque bytes.
#ifndef LECT32_STORE_TAB_STOPS_H
#define LECT32_STORE_TAB_STOPS_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

class TabStopTable {
public:
    static constexpr uint16_t kEntries = 256;
    static constexpr uint16_t kEntrySize = 3;
    static constexpr uint16_t kStopSize = 4;
    static constexpr uint32_t kMaxBlock = 0xFFFF;

    TabStopTable() = default;
    ~TabStopTable();
    TabStopTable(const TabStopTable&) = delete;
    TabStopTable& operator=(const TabStopTable&) = delete;

    void Clear();
    int Lock();
    int Unlock();
    bool IsLocked() const { return static_cast<bool>(lock_); }
    uint16_t GetEntryCount() const { return count_; }
    uint16_t GetSize() const { return size_; }

    // n entries without stops; the block is left locked.
    int Init(uint16_t n);
    // Replaces the stops of entry 'index' by n stops of 4 bytes; 0 and unchanged when the block
    // would pass 65535 bytes or cannot grow.
    int SetStops(uint16_t index, uint8_t n, const void* stops);
    // Copies the stops (out: room for 255 x 4 bytes) and returns their number; 0 when there are
    // none or they would not lie inside the block.
    uint8_t GetStops(uint16_t index, void* out);
    uint16_t GetOffset(uint16_t index);

    // type -1: into / from the stream; another type: record (type, 0) of 'document'.
    int Save(MemWriter& writer, int type = -1, VazaziFile* document = nullptr);
    int Load(MemReader& reader, int type = -1, VazaziFile* document = nullptr);

    // Editing side: locks and hands out the block with its entry count and size.
    uint8_t* LockBlock(uint16_t* entryCount, uint16_t* size);
    // Replaces the block by a copy of the bytes, refused (0, unchanged) unless they form a table.
    int ReplaceBlock(const void* bytes, uint16_t size, uint16_t entryCount);

private:
    int LoadFrom(MemReader& reader);
    uint32_t StopsBase() const { return uint32_t{count_} * kEntrySize; }
    uint8_t* data() const { return lock_.as<uint8_t>(); }
    uint8_t* EntryAt(uint16_t index) const { return data() + uint32_t{index} * kEntrySize; }
    uint16_t OffsetAt(uint16_t index) const;
    void SetEntry(uint16_t index, uint8_t stops, uint16_t offset);
    bool ReallocLocked(uint32_t bytes);

    uint16_t count_ = 0;
    uint16_t size_ = 0;
    winplat::GlobalBlock block_;
    winplat::GlobalPin lock_;  // held while the table is locked; given back before the block goes
};

// Checks that bytes form a table of 'entryCount' entries: the stops exactly fill the block after
// the entries. Offsets are not checked: they follow from the counts and are rebuilt.
bool IsSoundTabStopBlock(const uint8_t* bytes, uint32_t size, uint16_t entryCount);

}  // namespace lect32

#endif
